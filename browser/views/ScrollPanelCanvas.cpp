// The scroll panel's canvas and drop target.
#include "ScrollPanelCanvas.h"

#include "ScrollPanelWnd.h"

DROPEFFECT CScrollPanelDropTarget::OnDragEnter(CWnd*, COleDataObject* pData, DWORD dwKeyState, CPoint pt) {
  return m_pPanel ? m_pPanel->OnDragEnter(pData, dwKeyState, pt) : DROPEFFECT_NONE;
}
DROPEFFECT CScrollPanelDropTarget::OnDragOver(CWnd*, COleDataObject* pData, DWORD dwKeyState, CPoint pt) {
  return m_pPanel ? m_pPanel->OnDragOver(pData, dwKeyState, pt) : DROPEFFECT_NONE;
}
BOOL CScrollPanelDropTarget::OnDrop(CWnd*, COleDataObject* pData, DROPEFFECT effect, CPoint pt) {
  return m_pPanel ? m_pPanel->OnDrop(pData, effect, pt) : DROPEFFECT_NONE;
}
void CScrollPanelDropTarget::OnDragLeave(CWnd*) {
  if (m_pPanel) m_pPanel->OnDragLeave();
}
DROPEFFECT CScrollPanelDropTarget::OnDragScroll(CWnd*, DWORD dwKeyState, CPoint pt) {
  return m_pPanel ? m_pPanel->OnDragScroll(dwKeyState, pt) : DROPEFFECT_NONE;
}

BEGIN_MESSAGE_MAP(CScrollPanelCanvas, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_RBUTTONDOWN()
  ON_WM_MOUSEWHEEL()
  ON_WM_SETFOCUS()
  ON_MESSAGE(0x1296, &CScrollPanelCanvas::OnPanelMessage)
END_MESSAGE_MAP()

CScrollPanelCanvas::CScrollPanelCanvas()
    : m_pPanel(nullptr), m_crBack(0x080000), m_pfnPaint(nullptr), m_pPaintContext(nullptr) {}

CScrollPanelCanvas::~CScrollPanelCanvas() {
  m_dropTarget.Revoke();
  if (GetSafeHwnd()) DestroyWindow();
}

BOOL CScrollPanelCanvas::Create(CScrollPanelWnd* pPanel, const RECT& rc, UINT nID) {
  m_pPanel = pPanel;
  if (!CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW)), "",
                WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rc, pPanel, nID))
    return FALSE;
  m_dropTarget.SetPanel(pPanel);
  m_dropTarget.Register(this);  // without OLE the panel simply takes no drops
  return TRUE;
}

void CScrollPanelCanvas::SetBackground(HBITMAP hBitmap) {
  m_bmBack.DeleteObject();
  if (hBitmap) m_bmBack.Attach((HBITMAP)::CopyImage(hBitmap, IMAGE_BITMAP, 0, 0, 0));
}

void CScrollPanelCanvas::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  if (m_pfnPaint && m_pfnPaint(&rc, &dc, m_pPaintContext)) return;
  if (m_bmBack.GetSafeHandle()) {
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    CBitmap* pOld = mem.SelectObject(&m_bmBack);
    BITMAP bm;
    m_bmBack.GetBitmap(&bm);
    dc.BitBlt(0, 0, bm.bmWidth, bm.bmHeight, &mem, 0, 0, SRCCOPY);
    mem.SelectObject(pOld);
  } else {
    dc.FillSolidRect(&rc, m_crBack);
  }
}

void CScrollPanelCanvas::PassOn(UINT message, UINT nFlags, CPoint pt) {
  if (!m_pPanel || !m_pPanel->GetSafeHwnd()) {
    Default();
    return;
  }
  MapWindowPoints(m_pPanel, &pt, 1);
  m_pPanel->SendMessage(message, nFlags, MAKELPARAM(pt.x, pt.y));
}

void CScrollPanelCanvas::OnMouseMove(UINT nFlags, CPoint pt) { PassOn(WM_MOUSEMOVE, nFlags, pt); }
void CScrollPanelCanvas::OnLButtonDown(UINT nFlags, CPoint pt) { PassOn(WM_LBUTTONDOWN, nFlags, pt); }
void CScrollPanelCanvas::OnLButtonUp(UINT nFlags, CPoint pt) { PassOn(WM_LBUTTONUP, nFlags, pt); }
// A right press beside the items is the panel's (the music list clears its selection).
void CScrollPanelCanvas::OnRButtonDown(UINT nFlags, CPoint pt) { PassOn(WM_RBUTTONDOWN, nFlags, pt); }

BOOL CScrollPanelCanvas::OnMouseWheel(UINT nFlags, short delta, CPoint pt) {
  if (m_pPanel && m_pPanel->GetSafeHwnd())
    m_pPanel->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(nFlags, (WORD)delta), MAKELPARAM(pt.x, pt.y));
  return TRUE;
}

void CScrollPanelCanvas::OnSetFocus(CWnd*) {
  if (m_pPanel && m_pPanel->GetSafeHwnd()) m_pPanel->SetFocus();
}

LRESULT CScrollPanelCanvas::OnPanelMessage(WPARAM wParam, LPARAM lParam) {
  if (m_pPanel && m_pPanel->GetSafeHwnd()) m_pPanel->SendMessage(0x1296, wParam, lParam);
  return 0;
}
