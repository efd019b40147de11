#include "SplashWnd.h"

#include <Kitlib2/Kitlib2.h>

BOOL CSplashWnd::c_bShowSplashWnd = FALSE;
CSplashWnd* CSplashWnd::c_pSplashWnd = NULL;

// A splash still there when the process ends is deleted with it.
struct SplashCleanup {
  ~SplashCleanup() {
    if (CSplashWnd::c_pSplashWnd && !CSplashWnd::c_pSplashWnd->m_hWnd) delete CSplashWnd::c_pSplashWnd;
    CSplashWnd::c_pSplashWnd = NULL;
  }
};
static SplashCleanup g_splashCleanup;

BEGIN_MESSAGE_MAP(CSplashWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_PAINT()
END_MESSAGE_MAP()

CSplashWnd::CSplashWnd() {}

CSplashWnd::~CSplashWnd() {
  if (c_pSplashWnd == this) c_pSplashWnd = NULL;
}

void CSplashWnd::EnableSplashScreen(BOOL bEnable) { c_bShowSplashWnd = bEnable; }

CString CSplashWnd::GetSplashPath() {
  CString strPath = CMTLGetExeDir();
  strPath += "\\";
  strPath += CMGetProfileString("ProductInfo", "Splash", "Image\\Splash10.bmp");
  return strPath;
}

void CSplashWnd::ShowSplashScreen(CWnd* pParentWnd) {
  if (!c_bShowSplashWnd || c_pSplashWnd) return;
  c_pSplashWnd = new CSplashWnd;
  if (!c_pSplashWnd->Create(pParentWnd)) {
    // No picture, or no window: start-up goes on without a splash. A window that was
    // made and then refused has deleted itself already (the destructor clears the pointer).
    delete c_pSplashWnd;
    return;
  }
  c_pSplashWnd->UpdateWindow();
}

void CSplashWnd::HideSplashScreen() {
  if (c_pSplashWnd && c_pSplashWnd->m_hWnd) c_pSplashWnd->DestroyWindow();
  CWnd* pMain = AfxGetMainWnd();
  if (pMain && pMain->m_hWnd) pMain->UpdateWindow();
}

BOOL CSplashWnd::Create(CWnd* pParentWnd) {
  if (m_image.Load(GetSplashPath()) < 0 || m_image.IsEmpty()) return FALSE;
  LPCSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW));
  return CreateEx(0, lpszClass, NULL, WS_POPUP | WS_VISIBLE, 0, 0, m_image.GetWidth(), m_image.GetHeight(),
                  pParentWnd ? pParentWnd->GetSafeHwnd() : NULL, NULL);
}

int CSplashWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  CenterWindow(CWnd::GetDesktopWindow());
  return 0;
}

void CSplashWnd::OnPaint() {
  CPaintDC dc(this);
  m_image.Draw(dc.GetSafeHdc(), 0, 0);
}

void CSplashWnd::PostNcDestroy() { delete this; }
