// The folder pane's plug-in title button.
#include "ImageCheckButton.h"

#include <Kitlib2/CMDIB.h>

#include "TreePluginManager.h"

namespace titlebutton {

ClickPlan PlanClick(bool entryActive, bool inIconColumn, bool treeCreated, bool doubleClick) {
  ClickPlan plan = {false, false, false};
  if (doubleClick || entryActive) return plan;
  plan.makeActive = true;
  // The icon column only opens a tree that was never made; elsewhere the bar always does.
  plan.makeCurrent = !inIconColumn || !treeCreated;
  plan.notifyPane = true;
  return plan;
}

COLORREF TitleColor(bool disabled, bool selected, bool focused, bool highlight) {
  if (disabled) return RGB(195, 241, 248);
  if (selected || focused) return RGB(0, 0, 0);
  if (highlight) return RGB(31, 96, 122);
  return RGB(255, 255, 255);
}

}  // namespace titlebutton

IMPLEMENT_DYNAMIC(CImageCheckButton, CBitmapButtonEx2)

BEGIN_MESSAGE_MAP(CImageCheckButton, CBitmapButtonEx2)
  // the plug-in's tree
  ON_CONTROL_REFLECT_EX(BN_CLICKED, &CImageCheckButton::OnClicked)
  ON_CONTROL_REFLECT_EX(BN_DOUBLECLICKED, &CImageCheckButton::OnDoubleClicked)
  // mouse and focus
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_RBUTTONUP()
  ON_WM_SETFOCUS()
END_MESSAGE_MAP()

CImageCheckButton::CImageCheckButton()
    : m_pManager(nullptr), m_pEntry(nullptr), m_nIndex(-1), m_hFocusBefore(nullptr), m_bSelected(FALSE) {}

void CImageCheckButton::SetPluginEntry(CTreePluginManager* pManager, CTreePluginEntry* pEntry, int nIndex) {
  m_pManager = pManager;
  m_pEntry = pEntry;
  m_nIndex = nIndex;
}

BOOL CImageCheckButton::SetStateBitmap(UINT nBitmapID, BOOL bSelected) {
  m_bSelected = bSelected;
  if (!ReplaceNormalBitmap(nBitmapID)) return FALSE;
  if (m_hWnd) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  return TRUE;
}

// ----- the plug-in's tree -----

bool CImageCheckButton::CursorInIconColumn() const {
  CWnd* pPane = GetParent();
  if (!pPane) return false;
  CPoint pt;
  ::GetCursorPos(&pt);
  ScreenToClient(&pt);
  CRect column;
  pPane->GetClientRect(&column);
  column.right = column.left + titlebutton::kIconColumn;
  return column.PtInRect(pt) != FALSE;
}

void CImageCheckButton::Choose(bool doubleClick) {
  CWnd* pPane = GetParent();
  if (!pPane) return;
  int nVisible = 0, nActive = 0;
  if (m_pManager) m_pManager->CountEntries(&nVisible, &nActive);
  bool active = m_pManager && m_pManager->IsActive(m_pEntry);
  bool created = m_pManager && m_pManager->IsTreeCreated(m_pEntry);
  titlebutton::ClickPlan plan = titlebutton::PlanClick(active, CursorInIconColumn(), created, doubleClick);
  if (plan.makeActive && m_pManager) m_pManager->SetActive(m_pEntry, TRUE);
  if (plan.makeCurrent && m_pManager) m_pManager->SetCurrent(m_pEntry, this);
  if (plan.notifyPane) pPane->SendMessage(WM_PARENTNOTIFY, TITLEBUTTON_NOTIFY_CHOSEN, (LPARAM)m_pEntry);
  CRect rc;
  pPane->GetClientRect(&rc);
  pPane->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.Width(), rc.Height()));
  FocusTree();
}

// The entry's tree when it is active, else the first active and enabled entry's.
void CImageCheckButton::FocusTree() {
  if (!m_pManager) return;
  CTreePluginEntry* pTarget = m_pManager->IsActive(m_pEntry) ? m_pEntry : nullptr;
  for (CTreePluginEntry* p = nullptr; !pTarget;) {
    if (FAILED(m_pManager->GetNextEntry(&p)) || !p) break;
    if (m_pManager->IsActive(p) && m_pManager->IsShown(p)) pTarget = p;
  }
  CWnd* pTree = nullptr;
  if (pTarget && SUCCEEDED(m_pManager->GetTreeWnd(pTarget, &pTree)) && pTree && pTree->GetSafeHwnd())
    pTree->SetFocus();
}

BOOL CImageCheckButton::OnClicked() {
  Choose(false);
  return FALSE;
}

BOOL CImageCheckButton::OnDoubleClicked() {
  Choose(true);
  return FALSE;
}

// ----- mouse and focus -----

void CImageCheckButton::OnLButtonDown(UINT nFlags, CPoint point) {
  m_hFocusBefore = ::GetFocus();
  CBitmapButtonEx2::OnLButtonDown(nFlags, point);
}

void CImageCheckButton::OnLButtonUp(UINT nFlags, CPoint point) {
  CBitmapButtonEx2::OnLButtonUp(nFlags, point);
  CRect rc;
  GetClientRect(&rc);
  // Released elsewhere: nothing was chosen, the focus goes back where it was.
  if (!rc.PtInRect(point) && m_hFocusBefore && ::IsWindow(m_hFocusBefore)) ::SetFocus(m_hFocusBefore);
}

void CImageCheckButton::OnRButtonUp(UINT nFlags, CPoint point) { CBitmapButtonEx2::OnRButtonUp(nFlags, point); }

void CImageCheckButton::OnSetFocus(CWnd* pOldWnd) {
  CBitmapButtonEx2::OnSetFocus(pOldWnd);
  if (CWnd* pPane = GetParent()) pPane->SendMessage(WM_TREE_FOCUS_CHANGED, 1, 0);
}

// ----- drawing -----

void CImageCheckButton::DrawItem(LPDRAWITEMSTRUCT lpdis) {
  CDC* pDC = CDC::FromHandle(lpdis->hDC);
  CRect rc(lpdis->rcItem);
  bool disabled = (lpdis->itemState & ODS_DISABLED) != 0;
  bool selected = (lpdis->itemState & ODS_SELECTED) != 0;
  if (CBitmap* pFace = GetFaceBitmap(lpdis->itemState)) {
    BITMAP bm = {};
    pFace->GetBitmap(&bm);
    CDC mem;
    mem.CreateCompatibleDC(pDC);
    CBitmap* pOld = mem.SelectObject(pFace);
    // The left end as it is, the rest of the face stretched over the remaining width.
    int left = std::min<int>(titlebutton::kIconColumn, bm.bmWidth);
    pDC->BitBlt(rc.left, rc.top, left, rc.Height(), &mem, 0, 0, SRCCOPY);
    pDC->StretchBlt(rc.left + left, rc.top, rc.Width() - left, rc.Height(), &mem, left, 0, bm.bmWidth - left,
                    bm.bmHeight, SRCCOPY);
    mem.SelectObject(pOld);
  } else {
    pDC->FillSolidRect(rc, ::GetSysColor(COLOR_BTNFACE));
  }
  // The plug-in's icon, fitted into the left column.
  if (m_pEntry && !m_pEntry->m_strImage.IsEmpty()) {
    CRect rcIcon(rc.left + 2, rc.top + 1, rc.left + titlebutton::kIconColumn - 2, rc.bottom - 1);
    CCMDIB::DrawFile(pDC->m_hDC, rcIcon, m_pEntry->m_strImage);
  }
  CString title;
  GetWindowText(title);
  CFont* pOldFont = pDC->SelectObject(GetFont());
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(titlebutton::TitleColor(disabled, selected || m_bSelected, (lpdis->itemState & ODS_FOCUS) != 0,
                                            IsHighlight() != FALSE));
  CRect rcText(rc.left + titlebutton::kTextLeft, rc.top + (selected ? 1 : 0), rc.right, rc.bottom + (selected ? 1 : 0));
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
  if (disabled) {
    // Embossed as the system draws disabled text.
    CRect shadow = rcText;
    shadow.OffsetRect(1, 1);
    COLORREF color = pDC->SetTextColor(::GetSysColor(COLOR_3DHILIGHT));
    pDC->DrawText(title, shadow, format);
    pDC->SetTextColor(color);
  }
  pDC->DrawText(title, rcText, format);
  if (pOldFont) pDC->SelectObject(pOldFont);
}
