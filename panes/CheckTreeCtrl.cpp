// The multi-selection tree base: the selection operations plug-ins call by slot. Visible
// items are the walk from the first root by TVGN_NEXTVISIBLE: items inside collapsed
// parents are never counted, found or changed.
#include <FolderTreePlugin.h>

CCheckTreeCtrl::CCheckTreeCtrl()
    : m_bMultiSelect(0),
      m_bNotify(0),
      m_bStateClick(0),
      m_hAnchor(NULL),
      m_bClickFocus(FALSE),
      m_bCtrlHeld(FALSE),
      m_bShiftHeld(FALSE) {}

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
  SelectItem(NULL);
  if (hOld) SetItemState(hOld, TVIS_SELECTED, TVIS_SELECTED);
  UpdateWindow();
  SetItemState(hItem, TVIS_SELECTED, TVIS_SELECTED);
  return SelectItem(hItem);
}

int CCheckTreeCtrl::IsSelected(HTREEITEM hItem) {
  return hItem ? (int)(GetItemState(hItem, TVIS_SELECTED) & TVIS_SELECTED) : 0;
}
