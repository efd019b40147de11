// Finding, starting and closing the main program and the maker's card viewer.
#pragma once
#include <fw/fw.h>

#include "cardwatch/WindowProperty.h"

#include <vector>

namespace cardwatch {

// The window property that marks the main program's main window (value 1).
extern const char kMainWindowProperty[];        // " 7kirra:vo "
// The window property of the card viewer's window.
extern const char kCardViewerWindowProperty[];  // " 6d2b8e47 "
// The main program's instance mutex when the profile value Settings\Mutex is absent.
extern const char kDefaultMainProgramMutex[];   // "Norvane Marlo Application Mutex"
// The card viewer's instance mutex.
extern const char kCardViewerMutex[];           // "Norvane SD Glance LE Instance"
// The main program's file in the launcher's folder.
extern const char kMainProgramFile[];           // "Marlo5.exe"
// Sub-keys of "App Paths" that name card viewer installations begin with this.
extern const char kCardViewerAppPathPrefix[];   // "MarloLE"
extern const char kAppPathsKey[];               // "Software\Microsoft\Windows\CurrentVersion\App Paths"

// Posted to the card viewer's window: wParam 1 a new card, 2 a card went away; lParam 0.
#define WM_CARD_EVENT 2071

// ---- Mutexes -------------------------------------------------------------------------

// The kernel object name of an instance mutex: "Global\" + name except on Windows 98.
CString InstanceMutexName(LPCSTR lpszName, BOOL bWin98);
// TRUE when a mutex of that (full) name exists; it is opened and closed at once.
BOOL IsMutexPresent(LPCSTR lpszFullName);

// The main program runs when its mutex exists and the card viewer's does not.
BOOL IsMainProgramRunning(LPCSTR lpszMutexName, BOOL bWin98);
BOOL IsCardViewerRunning(BOOL bWin98);
// The same with the mutex name from the profile and the system's version.
BOOL IsMainProgramRunning();
BOOL IsCardViewerRunning();
// Settings\Mutex, or kDefaultMainProgramMutex.
CString GetMainProgramMutexName();

// ---- Windows -------------------------------------------------------------------------

HWND FindMainProgramWindow();
HWND FindCardViewerWindow();

// ---- Command lines -------------------------------------------------------------------

// For each set bit i from 0 to 25 the letter 'a' + i followed by ":" ("e:f:").
CString DriveMaskToLetters(DWORD dwMask);
// The program path as the first token of a command line: in double quotes, so that a
// path with spaces cannot be read as another program with arguments.
CString QuoteProgramPath(LPCSTR lpszPath);
// "<path>" and " -AutoImport" when the drive mask is not 0.
CString BuildMainProgramCommandLine(LPCSTR lpszProgramPath, DWORD dwMask);
// "<path>" -AutoImport/<letters>
CString BuildCardViewerCommandLine(LPCSTR lpszViewerPath, DWORD dwMask);

// The folder of the running program, without a trailing backslash.
CString GetModuleFolder(HMODULE hModule = NULL);
// <folder>\Marlo5.exe
CString GetMainProgramPath(LPCSTR lpszFolder);

// ---- Starting and closing ------------------------------------------------------------

// Starts the program (its path also given as the application name, so that nothing else
// is run), shown, in its own folder; both handles are closed at once. FALSE when it
// could not be started (an empty path included).
BOOL StartProgram(LPCSTR lpszProgramPath, LPCSTR lpszCommandLine);
// The main program of the folder, with " -AutoImport" when the mask is not 0.
BOOL StartMainProgram(LPCSTR lpszFolder, DWORD dwMask);
// The card viewer of FindCardViewerPath, given the new drives.
BOOL StartCardViewer(DWORD dwMask);
// WM_CLOSE posted to the program's window; FALSE when none was found.
BOOL CloseMainProgram();
BOOL CloseCardViewer();
// WM_CARD_EVENT posted to the card viewer's window; FALSE when none was found.
BOOL NotifyCardViewer(WPARAM wEvent);

// ---- The card viewer's installation --------------------------------------------------

// Compares two file version texts ("a.b.c.d") part by part as numbers; a missing part
// counts as 0 and an empty text (no version resource) below every version.
// Negative, 0 or positive like strcmp.
int CompareVersionTexts(LPCSTR lpszA, LPCSTR lpszB);

struct CardViewerCandidate {
  CString strPath;
  CString strVersion;  // the file's version text, "" without one
};
// The path of the newest candidate; the first on a tie; "" for none.
CString ChooseCardViewerPath(const std::vector<CardViewerCandidate>& candidates);

// The default values (program paths) of the sub-keys of hive\keyPath whose names begin
// with the prefix (case-insensitive), in key order, each path added to the list once;
// surrounding quotes are taken off and an expandable value's variables filled in.
// samView may select a registry view (KEY_WOW64_32KEY, KEY_WOW64_64KEY) or be 0.
// A value that cannot be read ends the list.
void ListAppPathPrograms(HKEY hHive, LPCSTR lpszKeyPath, LPCSTR lpszPrefix, REGSAM samView,
                         std::vector<CString>& paths);

// The newest card viewer registered below hive\keyPath (both registry views), with the
// versions the common library reads from the files; "" when none is registered.
CString FindCardViewerPathIn(HKEY hHive, LPCSTR lpszKeyPath);
// The installed card viewer (HKEY_LOCAL_MACHINE\...\App Paths\MarloLE...); "" when none.
CString FindCardViewerPath();

}  // namespace cardwatch
