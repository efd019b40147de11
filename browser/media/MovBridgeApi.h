// CMovBridgeApi: the movie controller's back end for the movie kinds once played with
// QuickTime, over the bridge library MovBridge.dll (loaded by full path from the program
// folder). Each call binds its export by name; a missing library or export makes that call
// report failure (0 or FALSE) and change nothing. The wrapper keeps the state the library
// does not report.
#pragma once
#include <fw/fw.h>

#include "VxGUITransApi.h"

class VXGUITRANS_API CMovBridgeApi {
 public:
  enum { kDisabled = -1, kIdle = 0, kStopped = 1, kPaused = 2, kPlaying = 3 };
  // The library beside the program (LibraryPath), or the one named.
  explicit CMovBridgeApi(LPCSTR pszLibraryPath = NULL);
  // The bridge library's full path; tests name a missing one to see the refusals (null:
  // the one beside the program again).
  static CString LibraryPath();
  static void SetLibraryPath(LPCSTR pszPath);
  virtual ~CMovBridgeApi();
  CMovBridgeApi(const CMovBridgeApi&) = delete;
  CMovBridgeApi& operator=(const CMovBridgeApi&) = delete;

  BOOL Initialize();
  BOOL Finalize();
  void SetEnabled(BOOL bEnabled);
  BOOL IsLoaded() const { return m_hModule != NULL; }
  BOOL IsUsable() const { return m_hModule && m_bEnabled; }
  BOOL IsOpen() const { return IsUsable() && m_pMovie; }
  void SetNotifyMessage(HWND hWnd, UINT uMessage, WPARAM w, LPARAM l);
  void SetLoop(BOOL bLoop);
  void SetParamFlag(BOOL bFlag) { m_bParam = bFlag; }
  BOOL Open(const CString& strPath, int l, int t, int r, int b, CWnd* pParent);
  void Close();
  void Play();
  void Pause();
  void Stop();
  int GetState();
  BOOL IsPlayingNow();
  void SetWindowPos(int l, int t, int w, int h, BOOL bFlag);
  LONG GetDuration();
  LONG GetCurrent();
  void SetCurrent(LONG ms);
  void BeginFullScreen();
  void EndFullScreen();
  BOOL IsFullScreen();
  void GetVideoSize(int* pWidth, int* pHeight);
  DWORD GetQuickTimeVersion();
  BOOL IsBmpExporter();
  HWND GetMovieWnd() const;
  HWND GetNotifyWnd() const { return m_hNotify; }
  UINT GetNotifyMessage() const { return m_uMessage; }

 private:
  FARPROC Bind(LPCSTR pszName) const;
  void CallMovie(LPCSTR pszName);

  BOOL m_bInitialized;
  HWND m_hNotify;
  UINT m_uMessage;
  WPARAM m_wWord;
  LPARAM m_lWord;
  BOOL m_bVideo, m_bLoop, m_bParam;
  int m_nState;
  CString m_strPath;
  BOOL m_bEnabled;
  HMODULE m_hModule;
  void* m_pMovie;
};
