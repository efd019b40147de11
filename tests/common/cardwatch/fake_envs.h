// Table-driven stand-ins for the machine, the profile and the programs that the card
// watch asks: each test sets the drives and settings it needs.
#pragma once
#include <cardwatch/AutoRunRule.h>

#include <map>
#include <string>
#include <vector>

struct FakeDrive {
  UINT nType = DRIVE_REMOVABLE;
  bool bNotReady = false;
  bool bSecuritySlot = false;
  bool bMedia = false;
};

class FakeScanEnv : public cardwatch::CCardScanEnv {
 public:
  std::map<char, FakeDrive> drives;  // upper-case letters; absent letters are not in the mask
  char chWindows = 'C';
  BOOL bCdromWatched = TRUE;
  DWORD dwTreeType = 0;
  BOOL bMusicCard = FALSE;
  std::string cardDrive;              // last CardTree\CardDrive written
  std::map<char, int> mediaTests;     // how often each drive's media was probed

  void Insert(char ch, FakeDrive d = FakeDrive()) { drives[ch] = d; }
  void Remove(char ch) { drives.erase(ch); }

  DWORD GetLogicalDrives() override {
    DWORD m = 0;
    for (const auto& d : drives) m |= 1u << (d.first - 'A');
    return m;
  }
  char GetWindowsDriveLetter() override { return chWindows; }
  UINT GetDriveType(char ch) override { return drives.count(ch) ? drives[ch].nType : DRIVE_NO_ROOT_DIR; }
  BOOL IsRootNotReady(char ch) override { return drives.count(ch) && drives[ch].bNotReady; }
  BOOL IsCdromWatched() override { return bCdromWatched; }
  BOOL IsSecuritySDCardDrive(int n) override {
    char ch = (char)('A' + n - 1);
    return drives.count(ch) && drives[ch].bSecuritySlot;
  }
  DWORD GetTreeType() override { return dwTreeType; }
  BOOL IsMusicCardProgramRunning() override { return bMusicCard; }
  void WriteCardDrive(char ch) override { cardDrive = std::string(1, ch); }
  BOOL HasCardMedia(DWORD, char ch, UINT) override {
    ++mediaTests[ch];
    return drives.count(ch) && drives[ch].bMedia;
  }
};

class FakeAutoRunEnv : public cardwatch::CAutoRunEnv {
 public:
  BOOL bEnd = FALSE;
  BOOL bCheckDisabled = FALSE;
  int nMode = cardwatch::AUTORUN_WATCH_ONLY;
  BOOL bMainRunning = FALSE;
  BOOL bViewerRunning = FALSE;
  HWND hMainWnd = NULL;
  HWND hViewerWnd = NULL;
  std::string viewerPath;
  std::vector<std::string> calls;  // "start-main:<mask>", "notify:<event>", ...

  BOOL IsAutoRunEndRequested() override { return bEnd; }
  BOOL IsCheckDisabled() override { return bCheckDisabled; }
  int GetAutoRunMode() override { return nMode; }
  BOOL IsMainProgramRunning() override { return bMainRunning; }
  BOOL IsCardViewerRunning() override { return bViewerRunning; }
  HWND FindMainProgramWindow() override { return hMainWnd; }
  HWND FindCardViewerWindow() override { return hViewerWnd; }
  CString FindCardViewerPath() override { return viewerPath.c_str(); }
  BOOL StartMainProgram(DWORD m) override { return Log("start-main", m); }
  BOOL CloseMainProgram() override { return Log("close-main", 0); }
  BOOL StartCardViewer(DWORD m) override { return Log("start-viewer", m); }
  BOOL CloseCardViewer() override { return Log("close-viewer", 0); }
  BOOL NotifyCardViewer(WPARAM e) override { return Log("notify", (DWORD)e); }

 private:
  BOOL Log(const char* what, DWORD value) {
    char buf[64];
    wsprintfA(buf, "%s:%lx", what, value);
    calls.push_back(buf);
    return TRUE;
  }
};
