// The property-page plug-in of the focus-information tests, built in variants: a page
// whose dialog shows what it was handed (the path, the AVCHD scene values, the map
// request), with the priority its variant names; or a library without page exports.
#include <fw/fw.h>

#include "test_prp.h"

#define PRP_EXPORT extern "C" __declspec(dllexport)
#ifndef PRP_TITLE
#define PRP_TITLE "Page"
#endif

namespace {
HMODULE g_self = NULL;

class CTestPage : public CDialog {
 public:
  CTestPage() : CDialog(IDD_TESTPRP_PAGE) {}

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    SetWindowText(PRP_TITLE);  // the tab's text
    return TRUE;
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == 1853) {  // the map request, relayed by the view
      ::SetDlgItemTextA(m_hWnd, IDC_TESTPRP_MAP, "map");
      return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
  }
};
}  // namespace

BOOL WINAPI DllMain(HINSTANCE h, DWORD dwReason, LPVOID) {
  if (dwReason == DLL_PROCESS_ATTACH) g_self = h;
  return TRUE;
}

#ifndef PRP_NO_EXPORTS
#ifdef PRP_PRIORITY
PRP_EXPORT int WINAPI GetPriority() { return PRP_PRIORITY; }
#endif

PRP_EXPORT BOOL WINAPI IsSupported() {
#ifdef PRP_UNSUPPORTED
  return FALSE;
#else
  return TRUE;
#endif
}

PRP_EXPORT void* WINAPI CreateNewPage() {
  // The page's template is this library's: it stays the resource module while the page is made.
  AfxSetResourceHandle(g_self);
  return new CTestPage;
}

PRP_EXPORT void WINAPI SetInfo(void* pPage, DWORD_PTR dwValue) {
  CWnd* p = static_cast<CWnd*>(pPage);
  if (p && p->GetSafeHwnd()) SetDlgItemTextA(p->GetSafeHwnd(), IDC_TESTPRP_PATH, reinterpret_cast<LPCSTR>(dwValue));
}

PRP_EXPORT void WINAPI SetThumInfo(void* pPage, int a, int b, int c) {
  CWnd* p = static_cast<CWnd*>(pPage);
  char text[64];
  wsprintfA(text, "%d %d %d", a, b, c);
  if (p && p->GetSafeHwnd()) SetDlgItemTextA(p->GetSafeHwnd(), IDC_TESTPRP_SCENE, text);
}
#else
PRP_EXPORT int WINAPI SomethingElse() { return 1; }
#endif
