#include "AutoScrollView.h"

#include "IconViewRules.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CAutoScrollView, CScrollView)

CAutoScrollView::CAutoScrollView() {}
CAutoScrollView::~CAutoScrollView() {}

namespace {
bool IsCloseRequest(const MSG& msg) {
  switch (msg.message) {
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUIT:
    case WM_NCDESTROY: return true;
    case WM_NCLBUTTONDOWN: return msg.wParam == HTCLOSE;
    case WM_SYSCOMMAND: return (msg.wParam & 0xFFF0) == SC_CLOSE;
    default: return false;
  }
}

int Limit(const CWnd* w, int bar) {
  SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE};
  if (!::GetScrollInfo(w->GetSafeHwnd(), bar, &si)) return 0;
  int limit = si.nMax - int(si.nPage ? si.nPage - 1 : 0) - si.nMin;
  return limit > 0 ? limit : 0;
}
}  // namespace

void CAutoScrollView::TrackDrag(UINT nEndMessage) {
  if (!m_bAutoScrollEnabled || m_bAutoScrolling) return;
  bool vbar = (GetStyle() & WS_VSCROLL) || (m_wndScrollBar.GetSafeHwnd() && m_wndScrollBar.IsWindowEnabled());
  if (!vbar) return;
  int limitX = Limit(this, SB_HORZ), limitY = Limit(this, SB_VERT);
  if (limitX == 0 && limitY == 0) return;
  int mapMode;
  SIZE total, page, line;
  GetDeviceScrollSizes(mapMode, total, page, line);
  if (!(GetAsyncKeyState(VK_LBUTTON) & 0x8000) && !(GetAsyncKeyState(VK_RBUTTON) & 0x8000)) return;
  if (GetCapture() != this) SetCapture();

  bool scrolled = false;
  CPoint cursor;
  MSG msg = {};
  while (msg.message != nEndMessage) {
    if (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK ||
        msg.message == WM_RBUTTONDBLCLK)
      break;
    bool took = ::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE) != FALSE;
    if (took) {
      if (IsCloseRequest(msg)) {
        ::PostMessageA(msg.hwnd, msg.message, msg.wParam, msg.lParam);
        break;
      }
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
      if (!::IsWindow(GetSafeHwnd())) return;
    } else {
      ::Sleep(10);
    }
    CPoint pos = GetScrollPositionRaw();
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    CRect client;
    GetClientRect(&client);
    int dy = iconview::AutoScrollStep(cursor.y, client.bottom, line.cy ? line.cy : 1, page.cy ? page.cy : 1, pos.y <= 0,
                                      pos.y >= limitY);
    int dx = 0;
    if (dy == 0)
      dx = iconview::AutoScrollStep(cursor.x, client.right, line.cx ? line.cx : 1, page.cx ? page.cx : 1, pos.x <= 0,
                                    pos.x >= limitX);
    if (dx == 0 && dy == 0) {
      m_bAutoScrolling = FALSE;
      scrolled = false;
    } else {
      m_bAutoScrolling = TRUE;
      scrolled = true;
      OnDragSelect(cursor.x, cursor.y, TRUE);
      ScrollToPositionRaw(pos.x + dx, pos.y + dy);
      OnDragSelect(cursor.x, cursor.y, FALSE);
    }
    if (took && !(msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)) {
      MSG mouse;
      if (::PeekMessageA(&mouse, NULL, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
        msg = mouse;
        ::DispatchMessageA(&mouse);
        if (!::IsWindow(GetSafeHwnd())) return;
      }
    }
  }
  if (GetCapture() == this) ::ReleaseCapture();
  if (scrolled) OnAutoScrollEnd(cursor);
  m_bAutoScrolling = FALSE;
}

BOOL CAutoScrollView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll) {
  CPoint pos = GetScrollPositionRaw();
  DWORD style = GetStyle();
  int x = pos.x, y = pos.y;
  if (style & WS_HSCROLL) x = std::max(0, std::min(int(pos.x + sizeScroll.cx), Limit(this, SB_HORZ)));
  if (style & WS_VSCROLL) y = std::max(0, std::min(int(pos.y + sizeScroll.cy), Limit(this, SB_VERT)));
  if (x == pos.x && y == pos.y) return FALSE;
  if (!bDoScroll) return TRUE;
  ScrollWindow(pos.x - x, pos.y - y);
  if (x != pos.x) SetScrollPos(SB_HORZ, x);
  if (y != pos.y) SetScrollPos(SB_VERT, y);
  if (m_dVertScale > 0) {
    Invalidate();
    UpdateWindow();
  }
  return TRUE;
}

void CAutoScrollView::ScrollToPositionRaw(int x, int y) {
  CPoint pos = GetScrollPositionRaw();
  x = std::max(0, std::min(x, Limit(this, SB_HORZ)));
  y = std::max(0, std::min(y, Limit(this, SB_VERT)));
  if (x == pos.x && y == pos.y) return;
  SetScrollPos(SB_HORZ, x);
  SetScrollPos(SB_VERT, y);
  ScrollWindow(pos.x - x, pos.y - y);
  if (m_dVertScale > 0) {
    Invalidate();
    UpdateWindow();
  }
}

CPoint CAutoScrollView::GetScrollPositionRaw() const {
  CPoint pt;
  SCROLLINFO si = {sizeof(si), SIF_POS};
  pt.x = ::GetScrollInfo(GetSafeHwnd(), SB_HORZ, &si) ? si.nPos : 0;
  si.nPos = 0;
  pt.y = ::GetScrollInfo(GetSafeHwnd(), SB_VERT, &si) ? si.nPos : 0;
  return pt;
}
