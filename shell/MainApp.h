// CMainApp: the main program's application object. It loads the resource library,
// refuses a second instance, checks the machine, opens the photo database and the mark
// cache, registers the document template and creates the main frame; at exit it closes
// what it opened, in order.
#pragma once
#include <fw/fw.h>

#include "CloseWatchdog.h"
#include "StartupChecks.h"

class CMainApp : public CWinApp {
 public:
  CMainApp();
  ~CMainApp() override;

  BOOL InitInstance() override;
  int ExitInstance() override;

  // Takes the instance mutexes; FALSE (after telling the user when it is this start's
  // turn) when another instance or the movie-clip program runs.
  BOOL CheckSingleInstance();
  // Closes the instance mutex: 0 when there was none, 1 otherwise.
  int ReleaseInstanceMutex();
  // Takes the instance mutex again after a release that led nowhere: 1 when taken.
  int RetakeInstanceMutex();
  // Reads "/AutoPlay" or "-AutoPlay" with a drive and the start path.
  void ReadCommandLine(int argc, const char* const* argv);

  // Start-up steps between the checks (each also usable on its own).
  BOOL ResetProfileOnNewInstall();
  BOOL PrepareEditorSettings();
  BOOL RunFirstStartSequence();
  static void EnsureVideoCodecDefaults();

  // The main window is being destroyed: from now on the process ends whatever loop runs.
  void OnMainWindowGone();
  // The program's end once its frame has kept what it keeps: the databases closed and
  // the clipboard left with data of its own, then the process ended without tearing its
  // windows and libraries down. Does not return.
  void EndWithoutTeardown();
  // Tells the user of a damaged photo database met since the last notice (the main
  // frame asks every second).
  void ShowLaterDatabaseNotice();

  HINSTANCE m_hResourceDll;
  CString m_strAutoPlayDrive;
  CString m_strStartPath;
  HANDLE m_hInstanceMutex;
  CObList m_ownedObjects;  // heap objects deleted at exit (the relay hub refills it)

  // The environment probes the checks ask (tests put their own in).
  const StartupProbes* m_pProbes;

 protected:
  afx_msg void OnAppAbout();
  DECLARE_MESSAGE_MAP()

 private:
  void DeleteOwnedObjects();
  void CloseDatabases();

  HANDLE m_hFirstMutex;   // the instance mutex itself, open for the life of the process
  HANDLE m_hSecondMutex;  // held while this second start tells the user
  // What InitInstance opened, so that ExitInstance closes exactly that.
  BOOL m_bOleStarted;
  BOOL m_bDatabaseOpened;
  BOOL m_bMarksOpened;
  BOOL m_bSimilarOpened;
  DWORD m_dwDatabaseDamagesTold;
  CCloseWatchdog m_closeWatchdog;
};

// The image editor's folders (profile VxEdit\DataDir) for a program folder; the pictures
// folder is the system's shared one.
void WriteEditorSettings(LPCSTR lpszProgramFolder);

inline CMainApp* GetMainApp() { return static_cast<CMainApp*>(AfxGetApp()); }
