// One row of a column list: cells, hit tests, mouse notices and drawing.
#include "ListRowCtrl.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CListRowCtrl, CSkinCtrlWnd)

BEGIN_MESSAGE_MAP(CListRowCtrl, CSkinCtrlWnd)
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_RBUTTONDOWN()
  ON_WM_RBUTTONUP()
  ON_WM_TIMER()
  ON_WM_ENABLE()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {
const RECT kEmpty = {0, 0, 0, 0};
}

CListRowCtrl::CListRowCtrl()
    : m_bChecked(FALSE),
      m_pCheckList(nullptr),
      m_nCheckCell(-1),
      m_rcCheck(kEmpty),
      m_pStatusList(nullptr),
      m_nStatusCell(0),
      m_rcStatus(kEmpty),
      m_nFirstFrame(0),
      m_nLastFrame(0),
      m_nFrame(-1),
      m_bGrid(FALSE),
      m_crGrid(0),
      m_pFont(nullptr),
      m_pIconList(nullptr),
      m_nCurrentLook(0),
      m_bCurrentKeepsBack(FALSE),
      m_bForcedPressed(FALSE),
      m_bCheckEnabled(TRUE),
      m_bCellHitTest(TRUE),
      m_nContentWidth(0),
      m_bMouseEnabled(TRUE) {
  const COLORREF blue = RGB(100, 100, 255);
  const COLORREF pairs[kLooks][2] = {
      {RGB(255, 255, 255), 0}, {blue, 0}, {blue, 0}, {RGB(255, 255, 255), 0}, {blue, 0}};
  for (int i = 0; i < kLooks; i++) m_colors[i][0] = pairs[i][0], m_colors[i][1] = pairs[i][1];
}

// The image lists are the list window's; only the font is ours.
CListRowCtrl::~CListRowCtrl() { delete m_pFont; }

CSkinCtrlWnd* CListRowCtrl::Clone(CWnd* pParent, UINT nID) {
  CListRowCtrl* p = new CListRowCtrl;
  CloneTo(p, pParent, nID);
  if (!p->GetSafeHwnd()) {
    delete p;
    return nullptr;
  }
  return p;
}

void CListRowCtrl::CloneTo(CListRowCtrl* pTarget, CWnd* pParent, UINT nID) {
  if (!pTarget) return;
  pTarget->SetTopWindowCheck(m_bTopWindowCheck);
  CSkinCtrlWnd::CloneTo(pTarget, pParent, nID);
  pTarget->m_cells = m_cells;
  pTarget->m_supplied = m_supplied;
  pTarget->m_nContentWidth = m_nContentWidth;
  for (int i = 0; i < kLooks; i++) pTarget->m_colors[i][0] = m_colors[i][0], pTarget->m_colors[i][1] = m_colors[i][1];
  pTarget->m_bGrid = m_bGrid;
  pTarget->m_crGrid = m_crGrid;
  if (m_pFont) pTarget->SetFont(m_pFont);
  pTarget->m_pIconList = m_pIconList;
  pTarget->m_order = m_order;
  pTarget->m_bChecked = m_bChecked;
  pTarget->m_pCheckList = m_pCheckList;
  pTarget->m_nCheckCell = m_nCheckCell;
  pTarget->m_rcCheck = m_rcCheck;
  pTarget->m_pStatusList = m_pStatusList;
  pTarget->m_nStatusCell = m_nStatusCell;
  pTarget->m_rcStatus = m_rcStatus;
  pTarget->m_nFirstFrame = m_nFirstFrame;
  pTarget->m_nLastFrame = m_nLastFrame;
  pTarget->m_nFrame = m_nFrame;
  pTarget->m_bCheckEnabled = m_bCheckEnabled;
  pTarget->m_bCellHitTest = m_bCellHitTest;
  pTarget->m_bMouseEnabled = m_bMouseEnabled;
}

void CListRowCtrl::InvalidateCheck() {
  if (GetSafeHwnd()) InvalidateRect(&m_rcCheck, FALSE);
}

void CListRowCtrl::InvalidateBorders() {
  if (!GetSafeHwnd()) return;
  CRect rc;
  GetClientRect(&rc);
  CRect top(rc.left, rc.top, rc.right, rc.top + 1), bottom(rc.left, rc.bottom - 1, rc.right, rc.bottom);
  InvalidateRect(&top, FALSE);
  InvalidateRect(&bottom, FALSE);
}

void CListRowCtrl::Paint() {
  if (!GetSafeHwnd()) return;
  Invalidate(FALSE);
  UpdateWindow();
}

void CListRowCtrl::SetColumnOrder(const std::vector<int>& order) {
  m_order = order;
  if (GetSafeHwnd()) Invalidate(FALSE);
}

void CListRowCtrl::SetFont(CFont* pFont) {
  CFont* pCopy = CopyFont(pFont);
  if (!pCopy) return;
  delete m_pFont;
  m_pFont = pCopy;
  if (GetSafeHwnd()) SendMessage(WM_SETFONT, (WPARAM)m_pFont->GetSafeHandle(), TRUE);
}

int CListRowCtrl::HitTestCell(int x, int y) const {
  std::vector<int> widths;
  for (const CListRowCell& c : m_cells) widths.push_back(c.width);
  CRect rc(0, 0, 0, 0);
  if (GetSafeHwnd()) GetClientRect(&rc);
  return musiclist::HitTestCell(widths, m_ptOrigin.x, rc.Height(), CPoint(x, y), m_bCellHitTest != FALSE);
}

RECT* CListRowCtrl::GetCellRect(RECT* pOut, int cell) const {
  if (!pOut) return pOut;
  CRect rc(0, 0, 0, 0);
  if (GetSafeHwnd()) GetWindowRect(&rc);
  int left = rc.left - m_ptOrigin.x;
  for (int i = 0; i < cell && i < (int)m_cells.size(); i++) left += m_cells[i].width;
  int width = cell >= 0 && cell < (int)m_cells.size() ? m_cells[cell].width : 0;
  *pOut = CRect(left, rc.top, left + width, rc.bottom);
  return pOut;
}

CString CListRowCtrl::GetCellText(int cell) const {
  return cell >= 0 && cell < (int)m_cells.size() ? m_cells[cell].text : CString();
}

int CListRowCtrl::GetCellTextWidth(int cell) const {
  return cell >= 0 && cell < (int)m_cells.size() ? m_cells[cell].measured : -1;
}

void CListRowCtrl::SetColors(int look, COLORREF background, COLORREF text) {
  if (look < 0 || look >= kLooks) return;
  m_colors[look][0] = background;
  m_colors[look][1] = text;
}

void CListRowCtrl::StartStatusAnimation(int first, int last) {
  m_nFirstFrame = first;
  m_nLastFrame = last;
  if (GetSafeHwnd()) SetTimer(kStatusTimer, kStatusTimerMs, nullptr);
}

void CListRowCtrl::SetStatusFrame(int frame, BOOL bStop) {
  m_nFrame = frame;
  if (bStop && GetSafeHwnd()) KillTimer(kStatusTimer);
  if (GetSafeHwnd()) Invalidate(FALSE);
}

// ----- Mouse -----

void CListRowCtrl::Tell(UINT message, WPARAM wParam) {
  if (m_hNotify) ::SendNotifyMessage(m_hNotify, message, wParam, (LPARAM)m_hWnd);
}

void CListRowCtrl::OnLButtonDown(UINT nFlags, CPoint pt) {
  if (CWnd* pParent = GetParent()) pParent->SetFocus();
  if (!m_bMouseEnabled) return;
  int cell = HitTestCell(pt.x, pt.y);
  if (cell >= 0) Tell(UWM_ROW_CELLDOWN, cell);
  if (InCheck(pt)) {
    if (m_bCheckEnabled) {
      m_bChecked = !m_bChecked;
      InvalidateCheck();
    }
    Tell(UWM_ROW_CHECKCLICK, m_bChecked);
    return;
  }
  CSkinCtrlWnd::OnLButtonDown(nFlags, pt);
}

void CListRowCtrl::OnLButtonUp(UINT nFlags, CPoint pt) {
  if (!m_bMouseEnabled) return;
  int cell = HitTestCell(pt.x, pt.y);
  if (cell >= 0) Tell(UWM_LIST_LBUTTONUP, cell);
  CSkinCtrlWnd::OnLButtonUp(nFlags, pt);
}

void CListRowCtrl::OnLButtonDblClk(UINT nFlags, CPoint pt) {
  if (!m_bMouseEnabled || InCheck(pt)) return;
  CSkinCtrlWnd::OnLButtonDblClk(nFlags, pt);
}

void CListRowCtrl::OnRButtonDown(UINT nFlags, CPoint pt) {
  if (!m_bMouseEnabled) return;
  int cell = HitTestCell(pt.x, pt.y);
  if (cell >= 0) Tell(UWM_ROW_CELLRDOWN, cell);
  Default();
}

void CListRowCtrl::OnRButtonUp(UINT nFlags, CPoint pt) {
  if (!m_bMouseEnabled) return;
  int cell = HitTestCell(pt.x, pt.y);
  if (cell >= 0) Tell(UWM_ROW_CELLRUP, cell);
  CSkinCtrlWnd::OnRButtonUp(nFlags, pt);
}

void CListRowCtrl::OnTimer(UINT_PTR id) {
  if (id != kStatusTimer) {
    Default();
    return;
  }
  m_nFrame = m_nFrame + 1 > m_nLastFrame ? m_nFirstFrame : m_nFrame + 1;
  Invalidate(FALSE);
}

void CListRowCtrl::OnEnable(BOOL bEnable) {
  m_bMouseEnabled = bEnable;
  CSkinCtrlWnd::OnEnable(bEnable);
}

// ----- Drawing -----

int CListRowCtrl::DrawCellExtra(CDC*, int, int, int) { return 0; }

namespace {

CSize ImageSize(CImageList* pList) {
  int cx = 0, cy = 0;
  if (pList && pList->GetSafeHandle()) ImageList_GetIconSize(pList->GetSafeHandle(), &cx, &cy);
  return CSize(cx, cy);
}

bool HasImage(CImageList* pList, int index) {
  return pList && pList->GetSafeHandle() && index >= 0 && index < pList->GetImageCount();
}

void DrawImage(CDC* pDC, CImageList* pList, int index, int x, int y, int cx, int cy) {
  IMAGELISTDRAWPARAMS p = {};
  p.cbSize = sizeof(p);
  p.himl = pList->GetSafeHandle();
  p.i = index;
  p.hdcDst = pDC->GetSafeHdc();
  p.x = x, p.y = y, p.cx = cx, p.cy = cy;
  p.rgbBk = CLR_DEFAULT;
  p.rgbFg = CLR_DEFAULT;
  p.fStyle = ILD_NORMAL;
  p.dwRop = SRCCOPY;
  ImageList_DrawIndirect(&p);
}

}  // namespace

void CListRowCtrl::OnDraw(CDC* pDC) {
  int state = GetState();
  if (!pDC || !skinctrl::ValidState(state)) return;
  int look;
  if (state == skinctrl::kNormal || state == skinctrl::kDisabled)
    look = state == skinctrl::kNormal ? kLookNormal : kLookDisabled;
  else if (state == skinctrl::kPressed)
    look = kLookPressed;
  else if (state == skinctrl::kHover)
    look = kLookHover;
  else
    return;
  COLORREF back = m_colors[look][0], text = m_colors[look][1];
  if (m_bForcedPressed) back = m_colors[kLookPressed][0], text = m_colors[kLookPressed][1];
  if (m_nCurrentLook) {
    if (!m_bCurrentKeepsBack) back = m_colors[kLookCurrent][0];
    text = m_colors[kLookCurrent][1];
  }
  CRect client;
  GetClientRect(&client);
  int height = std::max(client.Height(), 1);
  int width = std::max({m_nContentWidth, client.Width() + (int)m_ptOrigin.x, 1});
  CDC mem;
  mem.CreateCompatibleDC(pDC);
  CBitmap bmp;
  bmp.CreateCompatibleBitmap(pDC, width, height);
  CBitmap* pOld = mem.SelectObject(&bmp);
  mem.FillSolidRect(0, 0, width, height, back);
  CFont* pOldFont = m_pFont ? mem.SelectObject(m_pFont) : nullptr;
  mem.SetBkMode(TRANSPARENT);
  mem.SetTextColor(text);
  int left = 0;
  for (int i = 0; i < (int)m_cells.size(); i++) {
    CListRowCell& cell = m_cells[i];
    int p = left;
    int checkW = 0, iconW = 0, statusW = 0;
    if (m_nCheckCell == i && m_pCheckList && m_pCheckList->GetSafeHandle()) {
      int base = 0;
      if (m_pCheckList->GetImageCount() == 8) base = look == kLookPressed ? 2 : look == kLookHover ? 4 : 0;
      CSize s = ImageSize(m_pCheckList);
      int room = std::min((int)s.cx + 5, cell.width);
      int y = std::max(0, (height - (int)s.cy) / 2);
      if (room - 5 > 0) DrawImage(&mem, m_pCheckList, base + (m_bChecked ? 1 : 0), p + 5, y, room - 5, s.cy);
      m_rcCheck = CRect(p + 5 - m_ptOrigin.x, y, p + room - m_ptOrigin.x, y + s.cy);
      checkW = room;
      p += room;
    }
    if (HasImage(m_pIconList, cell.icon)) {
      CSize s = ImageSize(m_pIconList);
      int w = std::min((int)s.cx + 5, cell.width - checkW) - 5;
      if (w > 0) DrawImage(&mem, m_pIconList, cell.icon, p + 5, std::max(0, (height - (int)s.cy) / 2), w, s.cy);
      iconW = s.cx + 5;
      p += iconW;
    }
    if (m_nStatusCell == i && m_nFrame != -1 && HasImage(m_pStatusList, m_nFrame)) {
      CSize s = ImageSize(m_pStatusList);
      int w = std::max(std::min((int)s.cx + 5, left + cell.width - p) - 5, 0);
      int y = std::max(0, (height - (int)s.cy) / 2);
      if (w > 0) DrawImage(&mem, m_pStatusList, m_nFrame, p + 5, y, w, s.cy);
      m_rcStatus = CRect(p + 5 - m_ptOrigin.x, y, p + 5 + w - m_ptOrigin.x, y + s.cy);
      statusW = s.cx + 5;
      p += statusW;
    }
    int extra = DrawCellExtra(&mem, i, p + 5, height);
    p += extra;
    int right = left + cell.width;
    if (cell.format & DT_RIGHT) right = std::max(right - 5, p + 5);
    CRect rc(p + 5, 0, right, height);
    if (rc.right > rc.left)
      mem.DrawText(cell.text, &rc, cell.format | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_WORD_ELLIPSIS);
    int textW = cell.text.IsEmpty() ? 0 : mem.GetTextExtent(cell.text).cx;
    cell.measured = textW + ((cell.format & DT_RIGHT) ? 5 : 0) + iconW + statusW + checkW + extra + 8;
    if (m_bGrid) mem.FillSolidRect(left + cell.width - 1, 0, 1, height, m_crGrid);
    left += cell.width;
  }
  if (pOldFont) mem.SelectObject(pOldFont);
  pDC->BitBlt(0, 0, client.Width(), client.Height(), &mem, m_ptOrigin.x, 0, SRCCOPY);
  mem.SelectObject(pOld);
}
