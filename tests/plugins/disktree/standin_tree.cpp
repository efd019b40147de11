// A stand-in for the folder pane's multi-selection tree: the operations the plug-in calls
// by slot, over the item's selected state, so the plug-in can be driven without the pane.
#include <FolderTreePlugin.h>

BEGIN_MESSAGE_MAP(CCheckTreeCtrl, CTreeCtrl)
END_MESSAGE_MAP()

CCheckTreeCtrl::CCheckTreeCtrl()
    : m_bMultiSelect(1),
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
  for (HTREEITEM i = GetFirstSelectedItem(); i; i = GetNextSelectedItem(i)) ++n;
  return n;
}

HTREEITEM CCheckTreeCtrl::GetFirstSelectedItem() {
  for (HTREEITEM i = GetRootItem(); i; i = GetNextVisibleItem(i))
    if (IsSelected(i)) return i;
  return NULL;
}

HTREEITEM CCheckTreeCtrl::GetNextSelectedItem(HTREEITEM hItem) {
  for (HTREEITEM i = GetNextVisibleItem(hItem); i; i = GetNextVisibleItem(i))
    if (IsSelected(i)) return i;
  return NULL;
}

HTREEITEM CCheckTreeCtrl::GetPrevSelectedItem(HTREEITEM hItem) {
  for (HTREEITEM i = GetNextItem(hItem, TVGN_PREVIOUSVISIBLE); i; i = GetNextItem(i, TVGN_PREVIOUSVISIBLE))
    if (IsSelected(i)) return i;
  return NULL;
}

BOOL CCheckTreeCtrl::SelectAll(BOOL bSelect) { return SelectAllExcept(bSelect, NULL); }

BOOL CCheckTreeCtrl::SelectAllExcept(BOOL bSelect, HTREEITEM hExcept) {
  for (HTREEITEM i = GetRootItem(); i; i = GetNextVisibleItem(i))
    if (i != hExcept) SetItemState(i, bSelect ? TVIS_SELECTED : 0, TVIS_SELECTED);
  return TRUE;
}

BOOL CCheckTreeCtrl::ClearFocus() { return TRUE; }

BOOL CCheckTreeCtrl::SelectOnly(HTREEITEM hItem) {
  HTREEITEM old = GetSelectedItem();
  Select(hItem, TVGN_CARET);
  if (old) SetItemState(old, TVIS_SELECTED, TVIS_SELECTED);
  return TRUE;
}

int CCheckTreeCtrl::IsSelected(HTREEITEM hItem) { return (GetItemState(hItem, TVIS_SELECTED) & TVIS_SELECTED) != 0; }
