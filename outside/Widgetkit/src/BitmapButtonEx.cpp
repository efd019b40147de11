// Image buttons.
#include <Widgetkit/BitmapButtonEx.h>

WidgetkitFace WidgetkitChooseFace(UINT nItemState, BOOL bHover, BOOL bChecked, BOOL bHasSelected, BOOL bHasHot,
                                  BOOL bHasDisabled) {
  if ((nItemState & ODS_SELECTED) && bHasSelected) return WKFACE_SELECTED;
  if ((nItemState & ODS_DISABLED) && bHasDisabled) return WKFACE_DISABLED;
  if ((bHover || bChecked) && bHasHot) return WKFACE_HOT;
  return WKFACE_NORMAL;
}

// ----- CBitmapButtonEx -----

IMPLEMENT_DYNAMIC(CBitmapButtonEx, CBitmapButton)

BEGIN_MESSAGE_MAP(CBitmapButtonEx, CBitmapButton)
  ON_WM_MOUSEMOVE()
  ON_MESSAGE(WM_MOUSELEAVE, &CBitmapButtonEx::OnMouseLeave)
END_MESSAGE_MAP()

CBitmapButtonEx::CBitmapButtonEx() : m_bHover(FALSE), m_bTracking(FALSE), m_bHighlight(FALSE) {}
CBitmapButtonEx::~CBitmapButtonEx() {}

BOOL CBitmapButtonEx::SetToolTipText(LPCSTR lpszText, BOOL bActivate) {
  if (!m_hWnd || !lpszText) return FALSE;
  if (!m_toolTip.GetSafeHwnd()) {
    if (!m_toolTip.Create(this, TTS_ALWAYSTIP)) return FALSE;
    m_toolTip.AddTool(this, lpszText);
  } else {
    m_toolTip.UpdateTipText(lpszText, this);
  }
  m_toolTip.Activate(bActivate);
  return TRUE;
}

BOOL CBitmapButtonEx::SetToolTipText(UINT nIDText, BOOL bActivate) {
  CString text;
  if (!text.LoadString(nIDText)) return FALSE;
  return SetToolTipText(text, bActivate);
}

void CBitmapButtonEx::ActivateToolTip(BOOL bActivate) {
  if (m_toolTip.GetSafeHwnd()) m_toolTip.Activate(bActivate);
}

void CBitmapButtonEx::PopToolTip() {
  if (m_toolTip.GetSafeHwnd()) m_toolTip.SendMessage(TTM_POP);
}

BOOL CBitmapButtonEx::PreTranslateMessage(MSG* pMsg) {
  if (m_toolTip.GetSafeHwnd() && pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST)
    m_toolTip.RelayEvent(pMsg);
  return CBitmapButton::PreTranslateMessage(pMsg);
}

void CBitmapButtonEx::SetHover(BOOL bHover) {
  if (m_bHover == bHover) return;
  m_bHover = bHover;
  if (m_hWnd) Invalidate(FALSE);
}

void CBitmapButtonEx::OnMouseMove(UINT nFlags, CPoint point) {
  if (!m_bTracking) {
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
    m_bTracking = ::TrackMouseEvent(&tme);
  }
  SetHover(TRUE);
  CBitmapButton::OnMouseMove(nFlags, point);
}

LRESULT CBitmapButtonEx::OnMouseLeave(WPARAM, LPARAM) {
  m_bTracking = FALSE;
  SetHover(FALSE);
  return 0;
}

CBitmap* CBitmapButtonEx::GetFaceBitmap(UINT nItemState) {
  BOOL bChecked = FALSE;
  if (CBitmapButtonEx2* pCheck = DYNAMIC_DOWNCAST(CBitmapButtonEx2, this))
    bChecked = pCheck->IsCheckStyle() && pCheck->IsChecked();
  switch (WidgetkitChooseFace(nItemState, m_bHover, bChecked, m_bitmapSel.GetSafeHandle() != NULL,
                              m_bitmapFocus.GetSafeHandle() != NULL, m_bitmapDisabled.GetSafeHandle() != NULL)) {
    case WKFACE_SELECTED:
      return &m_bitmapSel;
    case WKFACE_DISABLED:
      return &m_bitmapDisabled;
    case WKFACE_HOT:
      return &m_bitmapFocus;
    default:
      return m_bitmap.GetSafeHandle() ? &m_bitmap : nullptr;
  }
}

// The face stretched over the whole button.
void CBitmapButtonEx::DrawItem(LPDRAWITEMSTRUCT lpdis) {
  CDC* pDC = CDC::FromHandle(lpdis->hDC);
  CRect rc(lpdis->rcItem);
  CBitmap* pFace = GetFaceBitmap(lpdis->itemState);
  if (!pFace) {
    pDC->FillSolidRect(rc, ::GetSysColor(COLOR_BTNFACE));
    return;
  }
  BITMAP bm = {};
  pFace->GetBitmap(&bm);
  CDC mem;
  mem.CreateCompatibleDC(pDC);
  CBitmap* pOld = mem.SelectObject(pFace);
  pDC->StretchBlt(rc.left, rc.top, rc.Width(), rc.Height(), &mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  mem.SelectObject(pOld);
}

// ----- CBitmapButtonEx2 -----

IMPLEMENT_DYNAMIC(CBitmapButtonEx2, CBitmapButtonEx)

CBitmapButtonEx2::CBitmapButtonEx2() : m_bCheckStyle(FALSE), m_bChecked(FALSE) {}

BOOL CBitmapButtonEx2::ReplaceNormalBitmap(UINT nIDBitmap) {
  CBitmap replacement;
  if (!replacement.LoadBitmap(nIDBitmap)) return FALSE;
  m_bitmap.DeleteObject();
  m_bitmap.Attach(replacement.Detach());
  return TRUE;
}

void CBitmapButtonEx2::SetChecked(BOOL bChecked) {
  if (m_bChecked == bChecked) return;
  m_bChecked = bChecked;
  if (m_hWnd) Invalidate(FALSE);
}

IMPLEMENT_DYNAMIC(CBitmapButtonEx21, CBitmapButtonEx)
IMPLEMENT_DYNAMIC(CBitmapButtonEX3, CBitmapButtonEx)

BEGIN_MESSAGE_MAP(CBitmapButtonEX3, CBitmapButtonEx)
  ON_WM_DROPFILES()
END_MESSAGE_MAP()

CBitmapButtonEX3::CBitmapButtonEX3() : m_pCommandOwner(NULL), m_nCommand(0), m_clrExtra(CLR_NONE) {}

void CBitmapButtonEX3::SetOwnerCommand(CWnd* pOwner, UINT nCommand) {
  m_pCommandOwner = pOwner;
  m_nCommand = nCommand;
}

void CBitmapButtonEX3::SetAcceptFiles(BOOL bAccept) {
  if (m_hWnd) ::DragAcceptFiles(m_hWnd, bAccept);
}

void CBitmapButtonEX3::OnDropFiles(HDROP hDrop) {
  if (!m_pCommandOwner || !m_pCommandOwner->m_hWnd) {
    ::DragFinish(hDrop);
    return;
  }
  // The owner reads and releases the drop; then the command takes the files it kept.
  m_pCommandOwner->SendMessage(WM_DROPFILES, (WPARAM)hDrop, 0);
  if (m_nCommand) m_pCommandOwner->SendMessage(WM_COMMAND, m_nCommand, 0);
}
