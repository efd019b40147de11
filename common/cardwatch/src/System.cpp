// The parts of the card watch that ask the common libraries and the profile.
#include <cardwatch/AutoRunRule.h>
#include <cardwatch/CardMedia.h>
#include <cardwatch/CardScan.h>
#include <cardwatch/Programs.h>

#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>

namespace cardwatch {
namespace {

// A card reader without a medium would otherwise ask the user to insert a disk.
class CCriticalErrorsOff {
 public:
  CCriticalErrorsOff() : m_uOld(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~CCriticalErrorsOff() { SetErrorMode(m_uOld); }

 private:
  UINT m_uOld;
};

char UpperLetter(char ch) { return (ch >= 'a' && ch <= 'z') ? (char)(ch - 'a' + 'A') : ch; }

}  // namespace

// ---- Media probes --------------------------------------------------------------------

BOOL CSystemMediaProbes::PathPatternExists(LPCSTR lpszPattern) {
  CCriticalErrorsOff quiet;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(lpszPattern, &fd);
  if (h == INVALID_HANDLE_VALUE) return FALSE;
  FindClose(h);
  return TRUE;
}

void CSystemMediaProbes::ListFolders(LPCSTR lpszPattern, std::vector<CString>& names) {
  CCriticalErrorsOff quiet;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(lpszPattern, &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && fd.cFileName[0] != '.') names.push_back(fd.cFileName);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
}

int CSystemMediaProbes::IsCardFolder(LPCSTR lpszPath) { return CMTLxIsCardFolder(lpszPath); }

// ---- The real machine ----------------------------------------------------------------

CSystemCardScanEnv::CSystemCardScanEnv() : m_nCdromWatched(-1) {}

DWORD CSystemCardScanEnv::GetLogicalDrives() { return ::GetLogicalDrives(); }

char CSystemCardScanEnv::GetWindowsDriveLetter() {
  char dir[MAX_PATH] = "";
  GetWindowsDirectoryA(dir, MAX_PATH);
  return dir[0];
}

UINT CSystemCardScanEnv::GetDriveType(char chDrive) { return ::GetDriveTypeA(DriveRoot(chDrive)); }

BOOL CSystemCardScanEnv::IsRootNotReady(char chDrive) {
  CCriticalErrorsOff quiet;
  return GetFileAttributesA(DriveRoot(chDrive)) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_NOT_READY;
}

BOOL CSystemCardScanEnv::IsCdromWatched() {
  if (m_nCdromWatched < 0) m_nCdromWatched = CMTLIsWin2000(5, 1, -1) ? 0 : 1;
  return m_nCdromWatched;
}

BOOL CSystemCardScanEnv::IsSecuritySDCardDrive(int nDrive) { return CMTLxIsSecuritySDCardDrive(nDrive) != 0; }

DWORD CSystemCardScanEnv::GetTreeType() {
  return (DWORD)CMGetProfileInt("CardTree\\Settings", "TreeType", 0, CMPROFILE_PROGRAM);
}

BOOL CSystemCardScanEnv::IsMusicCardProgramRunning() {
  return CMGetProfileInt("common", "SDMelodeckExecution", 0, CMPROFILE_PROGRAM) != 0;
}

void CSystemCardScanEnv::WriteCardDrive(char chDrive) {
  const char text[2] = {UpperLetter(chDrive), 0};
  CMWriteProfileString("CardTree", "CardDrive", text, CMPROFILE_PROGRAM);
}

BOOL CSystemCardScanEnv::HasCardMedia(DWORD dwTreeType, char chDrive, UINT nDriveType) {
  return cardwatch::HasCardMedia(dwTreeType, chDrive, nDriveType, m_media);
}

// ---- Programs ------------------------------------------------------------------------

CString GetMainProgramMutexName() {
  return CMGetProfileString("Settings", "Mutex", kDefaultMainProgramMutex, CMPROFILE_PROGRAM);
}

BOOL IsMainProgramRunning() { return IsMainProgramRunning(GetMainProgramMutexName(), CMTLIsWin98(-1, -1, -1)); }

BOOL IsCardViewerRunning() { return IsCardViewerRunning(CMTLIsWin98(-1, -1, -1)); }

CString FindCardViewerPathIn(HKEY hHive, LPCSTR lpszKeyPath) {
  std::vector<CString> paths;
  ListAppPathPrograms(hHive, lpszKeyPath, kCardViewerAppPathPrefix, 0, paths);
#ifdef _WIN64
  // A 32-bit installer registers its program in the 32-bit view.
  ListAppPathPrograms(hHive, lpszKeyPath, kCardViewerAppPathPrefix, KEY_WOW64_32KEY, paths);
#endif
  std::vector<CardViewerCandidate> candidates;
  for (const CString& path : paths) candidates.push_back({path, CMTLInspectFile(path)});
  return ChooseCardViewerPath(candidates);
}

CString FindCardViewerPath() { return FindCardViewerPathIn(HKEY_LOCAL_MACHINE, kAppPathsKey); }

BOOL StartCardViewer(DWORD dwMask) {
  CString path = FindCardViewerPath();
  return StartProgram(path, BuildCardViewerCommandLine(path, dwMask));
}

// ---- The real profile and programs ---------------------------------------------------

CSystemAutoRunEnv::CSystemAutoRunEnv(LPCSTR lpszProgramFolder) : m_strProgramFolder(lpszProgramFolder) {}

BOOL CSystemAutoRunEnv::IsAutoRunEndRequested() {
  return CMGetProfileInt("Settings", "AutoRunEnd", 0, CMPROFILE_COMMON) == 1;
}

BOOL CSystemAutoRunEnv::IsCheckDisabled() {
  return CMGetProfileInt("Common", "AutoRunCheckDisable", 0, CMPROFILE_PROGRAM) != 0;
}

int ReadAutoRunMode() { return CMGetProfileInt("Settings", "AutoRun", AUTORUN_WATCH_ONLY, CMPROFILE_COMMON); }

BOOL WriteAutoRunMode(int nMode) { return CMWriteProfileInt("Settings", "AutoRun", nMode, 0, CMPROFILE_COMMON); }

int CSystemAutoRunEnv::GetAutoRunMode() { return ReadAutoRunMode(); }

BOOL CSystemAutoRunEnv::IsMainProgramRunning() { return cardwatch::IsMainProgramRunning(); }
BOOL CSystemAutoRunEnv::IsCardViewerRunning() { return cardwatch::IsCardViewerRunning(); }
HWND CSystemAutoRunEnv::FindMainProgramWindow() { return cardwatch::FindMainProgramWindow(); }
HWND CSystemAutoRunEnv::FindCardViewerWindow() { return cardwatch::FindCardViewerWindow(); }
CString CSystemAutoRunEnv::FindCardViewerPath() { return cardwatch::FindCardViewerPath(); }
BOOL CSystemAutoRunEnv::StartMainProgram(DWORD dwMask) {
  return cardwatch::StartMainProgram(m_strProgramFolder, dwMask);
}
BOOL CSystemAutoRunEnv::CloseMainProgram() { return cardwatch::CloseMainProgram(); }
BOOL CSystemAutoRunEnv::StartCardViewer(DWORD dwMask) { return cardwatch::StartCardViewer(dwMask); }
BOOL CSystemAutoRunEnv::CloseCardViewer() { return cardwatch::CloseCardViewer(); }
BOOL CSystemAutoRunEnv::NotifyCardViewer(WPARAM wEvent) { return cardwatch::NotifyCardViewer(wEvent); }

}  // namespace cardwatch
