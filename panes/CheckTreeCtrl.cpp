// The multi-selection tree base: the selection operations plug-ins call by slot. Visible
// items are the walk from the first root by TVGN_NEXTVISIBLE: items inside collapsed
// parents are never counted, found or changed.
#include <FolderTreePlugin.h>
#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>

#include <vector>

#include "ui/ResourceDialog.h"

BEGIN_MESSAGE_MAP(CCheckTreeCtrl, CTreeCtrl)
  ON_WM_LBUTTONDOWN()
  ON_WM_KILLFOCUS()
  ON_WM_KEYDOWN()
  ON_WM_KEYUP()
END_MESSAGE_MAP()

CCheckTreeCtrl::CCheckTreeCtrl()
    : m_bMultiSelect(0),
      m_bNotify(0),
      m_bStateClick(0),
      m_hAnchor(NULL),
      m_bClickFocus(FALSE),
      m_bCtrlHeld(FALSE),
      m_bShiftHeld(FALSE),
      m_nSilent(0) {}

void CCheckTreeCtrl::EnableStateClick(int nFlag) { m_bStateClick = nFlag; }

UINT CCheckTreeCtrl::GetSelectedCount() {
  UINT n = 0;
  for (HTREEITEM h = GetFirstSelectedItem(); h; h = GetNextSelectedItem(h)) ++n;
  return n;
}

HTREEITEM CCheckTreeCtrl::GetFirstSelectedItem() {
  for (HTREEITEM h = GetRootItem(); h; h = GetNextVisibleItem(h))
    if (IsSelected(h)) return h;
  return NULL;
}

HTREEITEM CCheckTreeCtrl::GetNextSelectedItem(HTREEITEM hItem) {
  for (HTREEITEM h = hItem ? GetNextVisibleItem(hItem) : NULL; h; h = GetNextVisibleItem(h))
    if (IsSelected(h)) return h;
  return NULL;
}

HTREEITEM CCheckTreeCtrl::GetPrevSelectedItem(HTREEITEM hItem) {
  for (HTREEITEM h = hItem ? GetPrevVisibleItem(hItem) : NULL; h; h = GetPrevVisibleItem(h))
    if (IsSelected(h)) return h;
  return NULL;
}

BOOL CCheckTreeCtrl::SelectAll(BOOL bSelect) {
  for (HTREEITEM h = GetRootItem(); h; h = GetNextVisibleItem(h))
    if ((IsSelected(h) != 0) != (bSelect != 0)) SetItemState(h, bSelect ? TVIS_SELECTED : 0, TVIS_SELECTED);
  return 0;
}

BOOL CCheckTreeCtrl::SelectAllExcept(BOOL bSelect, HTREEITEM hExcept) {
  for (HTREEITEM h = GetRootItem(); h; h = GetNextVisibleItem(h)) {
    if (h == hExcept) continue;
    if ((IsSelected(h) != 0) != (bSelect != 0))
      SetItemState(h, bSelect ? TVIS_SELECTED : 0, TVIS_SELECTED | TVIS_FOCUSED);
  }
  return 0;
}

BOOL CCheckTreeCtrl::ClearFocus() {
  for (HTREEITEM h = GetRootItem(); h; h = GetNextVisibleItem(h)) SetItemState(h, 0, TVIS_FOCUSED);
  return 0;
}

BOOL CCheckTreeCtrl::SelectOnly(HTREEITEM hItem) {
  HTREEITEM hOld = GetSelectedItem();
  ++m_nSilent;
  SelectItem(NULL);
  --m_nSilent;
  if (hOld) SetItemState(hOld, TVIS_SELECTED, TVIS_SELECTED);
  UpdateWindow();
  SetItemState(hItem, TVIS_SELECTED, TVIS_SELECTED);
  return SelectItem(hItem);
}

void CCheckTreeCtrl::MoveCaretKeeping(HTREEITEM hItem) {
  HTREEITEM hOld = GetSelectedItem();
  ++m_nSilent;
  SelectItem(NULL);
  --m_nSilent;
  if (hOld) SetItemState(hOld, TVIS_SELECTED, TVIS_SELECTED);
  if (hItem) SetItemState(hItem, TVIS_SELECTED, TVIS_SELECTED);
  MoveCaret(hOld, hItem);
}

void CCheckTreeCtrl::MoveCaret(HTREEITEM hOld, HTREEITEM hNew) {
  // The control's own notice would be one of the program's; the parent hears the user's.
  ++m_nSilent;
  SelectItem(hNew);
  --m_nSilent;
  if (hNew) SetItemState(hNew, TVIS_FOCUSED, TVIS_FOCUSED);
  SendSelNotify(TVN_SELCHANGED, hOld, hNew);
}

BOOL CCheckTreeCtrl::SendSelNotify(UINT nCode, HTREEITEM hOld, HTREEITEM hNew) {
  NMTREEVIEWA nm = {};
  nm.hdr.hwndFrom = m_hWnd;
  nm.hdr.idFrom = GetDlgCtrlID();
  nm.hdr.code = nCode;
  nm.action = TVC_BYMOUSE;
  nm.itemOld.mask = nm.itemNew.mask = TVIF_HANDLE | TVIF_PARAM;
  nm.itemOld.hItem = hOld;
  nm.itemOld.lParam = hOld ? (LPARAM)GetItemData(hOld) : 0;
  nm.itemNew.hItem = hNew;
  nm.itemNew.lParam = hNew ? (LPARAM)GetItemData(hNew) : 0;
  CWnd* pParent = GetParent();
  return pParent ? (BOOL)pParent->SendMessage(WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm) : FALSE;
}

void CCheckTreeCtrl::LimitNotice() {
  CString strText;
  {
    CResourceSwitcher res;
    strText.LoadString(IDS_TREE_SELECT_LIMIT);
  }
  ::MessageBoxA(m_hWnd, strText, CMTLGetAppName(), MB_OK | MB_ICONSTOP);
}

void CCheckTreeCtrl::ClickItem(HTREEITEM hItem, UINT nFlags) {
  if (!hItem) return;
  HTREEITEM hCaret = GetSelectedItem();
  if (nFlags & MK_CONTROL) {
    if (IsSelected(hItem)) {
      if (GetSelectedCount() <= 1) return;  // the only selection stays
      HTREEITEM hNew = GetPrevSelectedItem(hItem);
      if (!hNew) hNew = GetNextSelectedItem(hItem);
      SendSelNotify(TVN_SELCHANGING, hCaret, hNew);
      SetItemState(hItem, 0, TVIS_SELECTED | TVIS_FOCUSED);
      if (hCaret != hItem) {
        ++m_nSilent;
        SelectItem(NULL);
        --m_nSilent;
        if (hCaret) SetItemState(hCaret, TVIS_SELECTED, TVIS_SELECTED);
        SetItemState(hItem, 0, TVIS_SELECTED);
      }
      MoveCaret(hCaret, hNew);
    } else if (GetSelectedCount() >= CHECKTREE_SELECTION_LIMIT) {
      LimitNotice();
      return;
    } else {
      if (SendSelNotify(TVN_SELCHANGING, hCaret, hItem)) return;
      SelectDropTarget(NULL);
      MoveCaretKeeping(hItem);
    }
    SetFocus();
    return;
  }
  if ((nFlags & MK_SHIFT) && hCaret) {
    // The range in visible order between the caret and the item, both included.
    std::vector<HTREEITEM> range;
    bool inside = false;
    for (HTREEITEM h = GetRootItem(); h; h = GetNextVisibleItem(h)) {
      bool end = h == hCaret || h == hItem;
      if (end && !inside) {
        inside = true;
        range.push_back(h);
        if (hCaret == hItem) break;
        continue;
      }
      if (inside) range.push_back(h);
      if (end && inside) break;
    }
    if (range.size() > CHECKTREE_SELECTION_LIMIT) {
      LimitNotice();
      return;
    }
    for (HTREEITEM h : range)
      if (SendSelNotify(TVN_SELCHANGING, hCaret, h)) return;
    ++m_nSilent;
    SelectItem(NULL);
    SelectAllExcept(FALSE, NULL);
    --m_nSilent;
    for (HTREEITEM h : range) SetItemState(h, TVIS_SELECTED, TVIS_SELECTED);
    MoveCaret(hCaret, hItem);
    SetFocus();
    return;
  }
  if (SendSelNotify(TVN_SELCHANGING, hCaret, hItem)) {
    SetFocus();
    return;
  }
  SelectDropTarget(NULL);
  SelectAllExcept(FALSE, hItem);
  SetItemState(hItem, TVIS_SELECTED, TVIS_SELECTED);
  MoveCaret(hCaret, hItem);
  SetFocus();
}

void CCheckTreeCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
  UINT uHit = 0;
  HTREEITEM hItem = HitTest(point, &uHit);
  if (!m_bMultiSelect || !hItem) {
    if (!m_bMultiSelect && hItem) {
      m_hAnchor = GetSelectedItem();
      SelectDropTarget(hItem);
      SelectAllExcept(FALSE, hItem);
      SetItemState(hItem, TVIS_SELECTED, TVIS_SELECTED);
      SelectDropTarget(NULL);
    }
    CTreeCtrl::OnLButtonDown(nFlags, point);
    return;
  }
  m_hAnchor = GetSelectedItem();
  if (uHit & (TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT)) {
    m_bClickFocus = TRUE;
    SetFocus();
    return;
  }
  if (uHit & TVHT_ONITEMBUTTON) {
    if (GetItemState(hItem, TVIS_EXPANDED) & TVIS_EXPANDED) SelectAllExcept(FALSE, GetSelectedItem());
    CTreeCtrl::OnLButtonDown(nFlags, point);
    return;
  }
  CPoint ptScreen = point;
  ClientToScreen(&ptScreen);
  if (::DragDetect(m_hWnd, ptScreen)) {
    NMTREEVIEWA nm = {};
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = GetDlgCtrlID();
    nm.hdr.code = TVN_BEGINDRAG;
    nm.action = TVC_BYMOUSE;
    nm.itemNew.mask = TVIF_HANDLE | TVIF_PARAM;
    nm.itemNew.hItem = hItem;
    nm.itemNew.lParam = (LPARAM)GetItemData(hItem);
    nm.ptDrag = point;
    if (CWnd* pParent = GetParent()) pParent->SendMessage(WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
    return;
  }
  ClickItem(hItem, nFlags);
}

void CCheckTreeCtrl::OnKillFocus(CWnd* pNewWnd) {
  CTreeCtrl::OnKillFocus(pNewWnd);
  m_bClickFocus = FALSE;
}

void CCheckTreeCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  m_bCtrlHeld = ::GetKeyState(VK_CONTROL) < 0;
  m_bShiftHeld = ::GetKeyState(VK_SHIFT) < 0;
  HTREEITEM hCaret = GetSelectedItem(), hTarget = NULL;
  if (hCaret) {
    bool expanded = (GetItemState(hCaret, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    if (nChar == VK_LEFT && !expanded) hTarget = GetParentItem(hCaret);
    if (nChar == VK_UP) hTarget = GetPrevVisibleItem(hCaret);
    if (nChar == VK_RIGHT && expanded) hTarget = GetChildItem(hCaret);
    if (nChar == VK_DOWN) hTarget = GetNextVisibleItem(hCaret);
  }
  std::vector<HTREEITEM> before;
  if (!m_bCtrlHeld && hTarget) {
    for (HTREEITEM h = GetRootItem(); h; h = GetNextVisibleItem(h))
      if (IsSelected(h)) before.push_back(h);
    m_hAnchor = hCaret;
    SelectAllExcept(FALSE, hTarget);
    SetItemState(hTarget, TVIS_SELECTED, TVIS_SELECTED);
  }
  CTreeCtrl::OnKeyDown(nChar, nRepCnt, nFlags);
  if (hTarget && !m_bCtrlHeld && ::IsWindow(m_hWnd) && GetSelectedItem() == hCaret && hCaret != hTarget) {
    // The move was vetoed: the selection is put back as it was, without a mark on the
    // target the caret never reached.
    SelectAllExcept(FALSE, NULL);
    for (HTREEITEM h : before) SetItemState(h, TVIS_SELECTED, TVIS_SELECTED);
  }
}

void CCheckTreeCtrl::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
  m_bCtrlHeld = m_bShiftHeld = FALSE;
  CTreeCtrl::OnKeyUp(nChar, nRepCnt, nFlags);
}

int CCheckTreeCtrl::IsSelected(HTREEITEM hItem) {
  return hItem ? (int)(GetItemState(hItem, TVIS_SELECTED) & TVIS_SELECTED) : 0;
}
