// A folder pane over the test plug-ins of a folder, in a main window of the test's own
// that keeps the folder changes it receives.
#pragma once
#include <MainWndMessages.h>

#include <string>
#include <vector>

#include "FView_Folder.h"
#include "tempfolder.h"

namespace {

// The main window as the pane sees it: it keeps the folder changes.
class CMainStandIn : public CWnd {
 public:
  std::vector<std::string> m_changes;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COPYDATA) {
      const COPYDATASTRUCT* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (cds->dwData == CDID_CHANGE_FOLDER && cds->cbData % 4 == 0 && cds->cbData > 0)
        m_changes.push_back((const char*)cds->lpData);
      return TRUE;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// A folder pane over the plug-ins of a folder, in a main window of the test's own.
struct PaneOver {
  CMainStandIn main;
  CFView_Folder* pane = nullptr;
  CWnd* pOldMain = AfxGetApp()->m_pMainWnd;
  explicit PaneOver(const std::string& folder) {
    main.CreateEx(0, "STATIC", "main", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, 200, 502, nullptr, nullptr);
    AfxGetApp()->m_pMainWnd = &main;
    CFView_Folder::SetPluginFolder(folder.c_str());
    pane = new CFView_Folder;
    if (pane->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 502), &main, 1, NULL)) {
      pane->OnInitialUpdate();
    } else {
      pane = nullptr;
    }
    CFView_Folder::SetPluginFolder(NULL);
  }
  void DestroyPane() {
    if (pane) pane->DestroyWindow();  // a view deletes itself
    pane = nullptr;
  }
  ~PaneOver() {
    DestroyPane();
    AfxGetApp()->m_pMainWnd = pOldMain;
    main.DestroyWindow();
  }
};

// A scratch folder with the test plug-in's item folders (item0..item6) that the plug-ins
// loaded from now on build their items over; removed at the end.
struct ItemFolders {
  std::string dir;
  explicit ItemFolders(const char* tag) : dir(testsupport::NewTempFolder(tag)) {
    for (int k = 0; k <= 6; ++k) ::CreateDirectoryA((dir + "\\item" + std::to_string(k)).c_str(), NULL);
    ::SetEnvironmentVariableA("TESTPLUGIN_ROOT", dir.c_str());
  }
  ~ItemFolders() { testsupport::RemoveTree(dir); }
};

// The calls a test plug-in received since the last time, "Name;" each.
inline std::string TakePluginCalls(const CTreePluginEntry* p) {
  char sz[4096] = "";
  ((int (*)(char*, int))::GetProcAddress(p->m_hModule, "TestPluginCalls"))(sz, sizeof sz);
  ((void (*)())::GetProcAddress(p->m_hModule, "TestPluginClearCalls"))();
  return sz;
}

}  // namespace
