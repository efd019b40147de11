// Helpers of the window tests: message pumping with timeouts, the test application.
#pragma once
#include <fw/fw.h>

#include <functional>
#include <string>
#include <vector>

#include "win_res.h"

namespace fwtest {

// Runs every waiting message through the framework's pre-translation and dispatch.
void PumpPending();
// Pumps until done() holds or timeoutMs passed; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000);
// Removes a WM_QUIT that a destroyed main window left in the queue.
void DropQuit();

// What handlers saw, in order.
extern std::vector<std::string> g_log;
void Log(const std::string& s);
std::string Joined();  // the log joined with "|", then cleared

// The test resource library (templates, strings, menus), loaded once.
HINSTANCE ResourceDll();

// Makes the resource library the current resource handle for a scope.
class ResourceScope {
 public:
  ResourceScope();
  ~ResourceScope();

 private:
  HINSTANCE m_hOld;
};

}  // namespace fwtest

// The test program's application object; commands it handles are logged.
class CTestApp : public CWinApp {
 public:
  CTestApp();
  afx_msg void OnAppCommand();
  afx_msg void OnSharedCommand();
  afx_msg void OnUpdateApp(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()
};
extern CTestApp theApp;
