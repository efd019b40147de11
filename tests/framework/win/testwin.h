// Helpers of the window tests: the resource library and the test application (pumping
// and the log are the shared kit's).
#pragma once
#include <fw/fw.h>

#include "testkit.h"

#include <functional>
#include <string>
#include <vector>

#include "win_res.h"

namespace fwtest {

// The test resource library (templates, strings, menus), loaded once.
HINSTANCE ResourceDll();

// Makes the resource library the current resource handle for a scope.
class ResourceScope : public ResourceHandleScope {
 public:
  ResourceScope() : ResourceHandleScope(ResourceDll()) {}
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
