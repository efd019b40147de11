// A test option panel, built in variants by compile definitions. The panel notes the
// commands it receives in the profile (TestPanel\<title>, Command).
#include <Kitlib2/Kitlib2.h>

#include <cstring>

#include "ExportPluginApi.h"
#include "MainWndMessages.h"

#ifndef PSE_TITLE
#define PSE_TITLE "Panel"
#endif

#define EXPORT extern "C" __declspec(dllexport)

namespace {
class CTestPanel : public CWnd {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_OPTION_PANEL_INVALID) {
#ifdef PSE_REFUSE
      return 1;
#else
      return 0;
#endif
    }
    if (message == WM_COMMAND) {
      CMWriteProfileInt("TestPanel\\" PSE_TITLE, "Command", (int)LOWORD(wParam));
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
  void PostNcDestroy() override { delete this; }
};
}  // namespace

EXPORT CWnd* CreatePanel(COptionsDlg* pParent) {
#ifdef PSE_NULL
  return NULL;
#endif
#ifdef PSE_THROW
  throw 5;
#endif
  CTestPanel* p = new CTestPanel;
  if (!p->CreateEx(0, AfxRegisterWndClass(0), PSE_TITLE, WS_CHILD, CRect(0, 0, 10, 10), (CWnd*)pParent, 0)) {
    delete p;
    return NULL;
  }
  return p;
}

EXPORT long GetTitle(char* pszBuffer) {
#ifdef PSE_LONG_TITLE
  memset(pszBuffer, 'T', 1000);  // unterminated within the first 1000 bytes
  return 0;
#else
  strcpy(pszBuffer, PSE_TITLE);
  return 0;
#endif
}
