#include "ToolItemListWnd.h"

#include <VxResourceIds.h>

#include "MainWndMessages.h"
#include "ToolbarRules.h"

namespace {
const int kRowHeight = 29;
}

BEGIN_MESSAGE_MAP(CToolItemListWnd, CWnd)
  ON_WM_PAINT()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_ACTIVATE()
END_MESSAGE_MAP()

CToolItemListWnd::CToolItemListWnd()
    : m_pOwner(NULL),
      m_nBaseId(0),
      m_nHover(-1),
      m_clrText(RGB(0, 0, 0)),
      m_clrHover(RGB(0, 0, 0)),
      m_clrFrame(RGB(0, 0, 0)),
      m_nIndent(20) {}

CToolItemListWnd::~CToolItemListWnd() {
  if (m_hWnd) DestroyWindow();
}

BOOL CToolItemListWnd::ReportsBySelectMessage(int nBaseId) {
  return nBaseId == ID_TB_PPC_LIST || nBaseId == ID_TB_TREE_LIST || nBaseId == ID_TB_PLUGIN_LIST;
}

BOOL CToolItemListWnd::Create(CWnd* pOwner, int nBaseId) {
  m_pOwner = pOwner;
  m_nBaseId = nBaseId;
  LPCSTR lpszClass = AfxRegisterWndClass(CS_DROPSHADOW, ::LoadCursor(NULL, IDC_ARROW));
  return CreateEx(WS_EX_TOOLWINDOW, lpszClass, "", WS_POPUP | WS_BORDER, 0, 0, toolbarrules::kListWidth, kRowHeight,
                  pOwner ? pOwner->m_hWnd : NULL, NULL);
}

void CToolItemListWnd::AddItem(int nCommand, LPCSTR lpszText) {
  m_items.push_back({nCommand, lpszText, TOOLLIST_ITEM_NORMAL});
}

void CToolItemListWnd::SetItemState(int nCommand, int nState) {
  for (Item& item : m_items)
    if (item.command == nCommand) item.state = nState;
  if (m_hWnd) Invalidate();
}

void CToolItemListWnd::SetColors(COLORREF clrText, COLORREF clrHover, COLORREF clrFrame, int nIndent) {
  m_clrText = clrText;
  m_clrHover = clrHover;
  m_clrFrame = clrFrame;
  m_nIndent = nIndent;
}

void CToolItemListWnd::ShowAt(POINT ptClient) {
  CPoint pt(ptClient);
  if (m_pOwner) m_pOwner->ClientToScreen(&pt);
  int nRows = m_items.empty() ? 1 : (int)m_items.size();
  CRect rc(0, 0, toolbarrules::kListWidth, nRows * kRowHeight);
  ::AdjustWindowRectEx(&rc, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOOLWINDOW);
  m_nHover = -1;
  SetWindowPos(&wndTopMost, pt.x, pt.y, rc.Width(), rc.Height(), SWP_SHOWWINDOW);
  SetActiveWindow();
  Invalidate();
}

int CToolItemListWnd::HitTest(CPoint pt) const {
  if (pt.x < 0 || pt.x >= toolbarrules::kListWidth || pt.y < 0) return -1;
  int n = pt.y / kRowHeight;
  return n < (int)m_items.size() ? n : -1;
}

void CToolItemListWnd::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  dc.FillSolidRect(&rcClient, RGB(236, 242, 246));
  CFont* pOldFont = dc.SelectObject(CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT)));
  dc.SetBkMode(TRANSPARENT);
  for (size_t i = 0; i < m_items.size(); ++i) {
    CRect rc(0, (int)i * kRowHeight, rcClient.right, (int)(i + 1) * kRowHeight);
    const Item& item = m_items[i];
    BOOL bHover = (int)i == m_nHover && item.state != TOOLLIST_ITEM_DISABLED;
    if (bHover) dc.FillSolidRect(&rc, RGB(196, 222, 240));
    dc.SetTextColor(item.state == TOOLLIST_ITEM_DISABLED ? ::GetSysColor(COLOR_GRAYTEXT)
                                                         : (bHover ? m_clrHover : m_clrText));
    CRect rcText(rc);
    rcText.left += m_nIndent;
    dc.DrawText(item.text, &rcText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    CRect rcLine(rc.left + 2, rc.bottom - 1, rc.right - 2, rc.bottom);
    dc.FillSolidRect(&rcLine, m_clrFrame);
  }
  dc.SelectObject(pOldFont);
}

void CToolItemListWnd::OnMouseMove(UINT, CPoint point) {
  int n = HitTest(point);
  if (n != m_nHover) {
    m_nHover = n;
    Invalidate();
  }
}

void CToolItemListWnd::OnLButtonUp(UINT, CPoint point) { Choose(HitTest(point)); }

void CToolItemListWnd::Choose(int nIndex) {
  if (nIndex < 0 || nIndex >= (int)m_items.size() || m_items[nIndex].state == TOOLLIST_ITEM_DISABLED) return;
  int nCommand = m_items[nIndex].command;
  ShowWindow(SW_HIDE);
  if (!m_pOwner || !m_pOwner->m_hWnd) return;
  // Posted: the command may open modal windows, and the list is done with its click.
  if (ReportsBySelectMessage(m_nBaseId))
    m_pOwner->PostMessage(WM_TOOL_LIST_SELECT, m_nBaseId, nCommand);
  else
    m_pOwner->PostMessage(WM_COMMAND, nCommand, 0);
}

void CToolItemListWnd::OnActivate(UINT nState, CWnd*, BOOL) {
  if (nState == WA_INACTIVE && IsWindowVisible()) ShowWindow(SW_HIDE);
}
