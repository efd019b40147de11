// The DCs of windows: CPaintDC, CClientDC, CWindowDC. They reach the window handle through
// _AfxHwndOf, so this family needs nothing of the window classes' declarations.
#include <fw/gdi.h>

IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CPaintDC::CPaintDC(CWnd* pWnd) : m_ps(), m_hWnd(_AfxHwndOf(pWnd)) { Attach(::BeginPaint(m_hWnd, &m_ps)); }

CPaintDC::~CPaintDC() {
  if (m_hDC == NULL) return;
  ::EndPaint(m_hWnd, &m_ps);
  Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(_AfxHwndOf(pWnd)) { Attach(::GetDC(m_hWnd)); }

CClientDC::~CClientDC() {
  if (m_hDC != NULL) ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(_AfxHwndOf(pWnd)) { Attach(::GetWindowDC(m_hWnd)); }

CWindowDC::~CWindowDC() {
  if (m_hDC != NULL) ::ReleaseDC(m_hWnd, Detach());
}

int CDC::ExcludeUpdateRgn(CWnd* pWnd) { return ::ExcludeUpdateRgn(m_hDC, _AfxHwndOf(pWnd)); }
