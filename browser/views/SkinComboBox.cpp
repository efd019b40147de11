// The strip's skinned drop-down lists.
#include "SkinComboBox.h"

#include <VxResourceIds.h>

#include "GuiFont.h"

namespace {
const UINT kHoverTimer = 1;
const COLORREF kBack = RGB(3, 37, 56);
const COLORREF kDisabledText = RGB(5, 43, 62);
const COLORREF kFocusText = RGB(0, 200, 200);
}  // namespace

IMPLEMENT_DYNAMIC(CSkinComboBox, CComboBox)

BEGIN_MESSAGE_MAP(CSkinComboBox, CComboBox)
  // drawing
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_CTLCOLOR_REFLECT()
  // state
  ON_WM_SHOWWINDOW()
  ON_WM_ENABLE()
  ON_WM_TIMER()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CSkinComboBox::CSkinComboBox() : m_nState(skincombo::kNormal), m_bFontMade(false) {}
CSkinComboBox::~CSkinComboBox() {}

BOOL CSkinComboBox::CreateSkinned(const RECT& rect, CWnd* pParent, UINT nID) {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_VSCROLL | CBS_DROPDOWNLIST |
                CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
  if (!Create(style, rect, pParent, nID)) return FALSE;
  m_bmFace.LoadBitmap(IDB_COMBO_FACE);
  static const UINT arrows[4] = {IDB_COMBO_ARROW, IDB_COMBO_ARROW_HOT, IDB_COMBO_ARROW_PRESSED,
                                 IDB_COMBO_ARROW_DISABLED};
  for (int i = 0; i < 4; i++) m_bmArrow[i].LoadBitmap(arrows[i]);
  if (m_bmFace.GetSafeHandle()) m_brFace.CreatePatternBrush(&m_bmFace);
  m_brBack.CreateSolidBrush(kBack);
  SetItemHeight(-1, 14);
  SetItemHeight(0, skincombo::kItemHeight);
  if (IsWindowVisible()) {
    EnsureFont();
    SetTimer(kHoverTimer, 100, nullptr);
  }
  return TRUE;
}

// The list's font: the GUI font at the height the resource library names; Arial with the
// ANSI set when the GUI font is not a Far-East one.
void CSkinComboBox::EnsureFont() {
  if (m_bFontMade) return;
  m_bFontMade = true;
  LOGFONTA lf = {};
  ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
  CString height;
  if (height.LoadString(IDS_UI_FONT_HEIGHT) && atoi(height) != 0) lf.lfHeight = atoi(height);
  if (lf.lfCharSet == ANSI_CHARSET || !VxIsKnownCharset(lf.lfCharSet)) {
    lf.lfCharSet = ANSI_CHARSET;
    lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
  }
  if (m_font.CreateFontIndirect(&lf)) SetFont(&m_font, FALSE);
}

// ----- drawing -----

BOOL CSkinComboBox::OnEraseBkgnd(CDC*) { return TRUE; }

void CSkinComboBox::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  CRect face(rc.left, rc.top, std::max(rc.left, rc.right - skincombo::kArrowWidth), rc.bottom);
  if (m_brFace.GetSafeHandle()) {
    dc.SetBrushOrg(0, 0);
    dc.FillRect(face, &m_brFace);
  } else {
    dc.FillSolidRect(face, kBack);
  }
  CString text;
  GetWindowText(text);
  CFont* pOld = dc.SelectObject(m_font.GetSafeHandle() ? &m_font : GetFont());
  dc.SetBkColor(kBack);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(IsWindowEnabled() ? RGB(255, 255, 255) : kDisabledText);
  CRect rcText = face;
  rcText.left += 4;
  dc.DrawText(text, rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (pOld) dc.SelectObject(pOld);
  CBitmap& arrow = m_bmArrow[m_nState >= 0 && m_nState < 4 ? m_nState : 0];
  if (arrow.GetSafeHandle()) {
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    CBitmap* pOldBmp = mem.SelectObject(&arrow);
    BITMAP bm = {};
    arrow.GetBitmap(&bm);
    CRect rcArrow(face.right, rc.top, rc.right, rc.bottom);
    dc.StretchBlt(rcArrow.left, rcArrow.top, rcArrow.Width(), rcArrow.Height(), &mem, 0, 0, bm.bmWidth, bm.bmHeight,
                  SRCCOPY);
    mem.SelectObject(pOldBmp);
  }
}

void CSkinComboBox::MeasureItem(LPMEASUREITEMSTRUCT lpmis) { lpmis->itemHeight = skincombo::kItemHeight; }

void CSkinComboBox::DrawItem(LPDRAWITEMSTRUCT lpdis) {
  if (lpdis->itemID == (UINT)-1) return;
  CDC* pDC = CDC::FromHandle(lpdis->hDC);
  CRect rc(lpdis->rcItem);
  pDC->FillSolidRect(rc, kBack);
  CString text;
  GetLBText((int)lpdis->itemID, text);
  COLORREF color = RGB(255, 255, 255);
  if (lpdis->itemState & ODS_DISABLED)
    color = kDisabledText;
  else if (lpdis->itemState & (ODS_FOCUS | ODS_SELECTED))
    color = kFocusText;
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(color);
  CRect rcText = rc;
  rcText.left += 1;
  pDC->DrawText(text, rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (lpdis->itemState & ODS_FOCUS) pDC->DrawFocusRect(rc);
}

HBRUSH CSkinComboBox::CtlColor(CDC* pDC, UINT) {
  pDC->SetTextColor(RGB(255, 255, 255));
  pDC->SetBkColor(kBack);
  return (HBRUSH)m_brBack.GetSafeHandle();
}

// ----- state -----

bool CSkinComboBox::OnArrow(CPoint pt) const {
  CRect rc;
  GetClientRect(&rc);
  rc.left = rc.right - skincombo::kArrowWidth;
  return rc.PtInRect(pt) != FALSE;
}

bool CSkinComboBox::CursorOnArrow() const {
  CPoint pt;
  ::GetCursorPos(&pt);
  ScreenToClient(&pt);
  return OnArrow(pt);
}

void CSkinComboBox::SetState(int state) {
  if (m_nState == state) return;
  m_nState = state;
  Invalidate(FALSE);
}

void CSkinComboBox::OnShowWindow(BOOL bShow, UINT nStatus) {
  CComboBox::OnShowWindow(bShow, nStatus);
  if (bShow) {
    EnsureFont();
    SetTimer(kHoverTimer, 100, nullptr);
  } else {
    KillTimer(kHoverTimer);
  }
}

void CSkinComboBox::OnEnable(BOOL bEnable) {
  CComboBox::OnEnable(bEnable);
  SetState(skincombo::StateAfterEnable(bEnable != FALSE, CursorOnArrow()));
}

void CSkinComboBox::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kHoverTimer) {
    CComboBox::OnTimer(nIDEvent);
    return;
  }
  SetState(skincombo::StateAfterTimer(CursorOnArrow(), m_nState));
}

void CSkinComboBox::OnLButtonDown(UINT nFlags, CPoint pt) {
  CComboBox::OnLButtonDown(nFlags, pt);
  SetState(skincombo::StateAfterPress(OnArrow(pt), GetDroppedState() != FALSE, m_nState));
}

void CSkinComboBox::OnLButtonUp(UINT nFlags, CPoint pt) {
  CComboBox::OnLButtonUp(nFlags, pt);
  SetState(skincombo::StateAfterRelease(OnArrow(pt)));
}

void CSkinComboBox::OnMouseMove(UINT nFlags, CPoint pt) {
  CComboBox::OnMouseMove(nFlags, pt);
  SetState(skincombo::StateAfterMove(OnArrow(pt), m_nState));
}
