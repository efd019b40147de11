// An extension library loaded at run time: a run-time class derived from another
// module's class, and resources reached through the extension chain.
#include "testshapes.h"

class CTestCircle : public CTestShape {
  DECLARE_DYNCREATE(CTestCircle)
 public:
  int Sides() const override { return 1; }
};
IMPLEMENT_DYNCREATE(CTestCircle, CTestShape)

static AFX_EXTENSION_MODULE g_extension = {};

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
  if (dwReason == DLL_PROCESS_ATTACH) {
    if (!AfxInitExtensionModule(g_extension, hInstance)) return FALSE;
    new CDynLinkLibrary(g_extension);
  } else if (dwReason == DLL_PROCESS_DETACH) {
    AfxTermExtensionModule(g_extension);
  }
  return TRUE;
}
