// CVxGUIIconView: item store, selection calls, layout and scrolling into view.
#include "VxGUIIconView.h"

#include <VxResourceIds.h>

#include <algorithm>

IMPLEMENT_DYNCREATE(CVxGUIIconView, CAutoScrollView)

using iconview::kNoItem;

CVxGUIIconView::CVxGUIIconView() : m_model(this) {
  m_items.reserve(10000);
  m_model.SetVersionCode(iconview::VersionCode());
}

CVxGUIIconView::~CVxGUIIconView() {
  for (auto& e : m_items) delete e.second;
  m_items.clear();
}

CBrowserDocument* CVxGUIIconView::GetBrowserDocument() const {
  CVxDocument* doc = dynamic_cast<CVxDocument*>(m_pDocument);
  return doc ? doc->GetBrowser() : NULL;
}

void CVxGUIIconView::OnInitialUpdate() {
  SetScrollSizes(MM_TEXT, CSize(0, 0));
  CAutoScrollView::OnInitialUpdate();
}

// ---- Items ------------------------------------------------------------------------------------
CThumbnailItem* CVxGUIIconView::AllockItem(CThumbnail* pThumbnail) {
  try {
    return new CThumbnailItem(pThumbnail);
  } catch (...) {
    return NULL;
  }
}

HRESULT CVxGUIIconView::AddItem(CThumbnail* pThumbnail) {
  if (!pThumbnail) return E_POINTER;
  CThumbnailItem* item = AllockItem(pThumbnail);
  if (!item) return E_OUTOFMEMORY;
  DWORD id = CThumbnail::IssueUniqueID();
  pThumbnail->SetUniqueID(id, m_nIdSlot);
  m_items[id] = item;
  m_model.Append(id);
  m_bHasKey = false;
  return S_OK;
}

void CVxGUIIconView::RemoveItem(CThumbnail* pThumbnail) {
  if (pThumbnail) RemoveItemById(pThumbnail->GetUniqueID(m_nIdSlot));
}

HRESULT CVxGUIIconView::RemoveItemById(DWORD id) {
  auto it = m_items.find(id);
  if (it == m_items.end()) return E_INVALIDARG;
  CThumbnail* pThumbnail = it->second->GetThumbnail();
  delete it->second;
  m_items.erase(it);
  m_model.Remove(id);
  if (pThumbnail) pThumbnail->SetUniqueID(kNoItem, m_nIdSlot);
  m_bHasKey = false;
  return S_OK;
}

void CVxGUIIconView::CollectThumbnail(CList<CThumbnail*, CThumbnail*>& list, int flags) {
  for (DWORD id : m_model.Order()) {
    CThumbnailItem* item = FindItem(id);
    if (!item || !item->GetThumbnail()) continue;
    if (flags != -1) {
      if ((flags & 2) && !m_model.IsSelected(id)) continue;
      if ((flags & 4) && !item->IsCut()) continue;
    }
    list.AddTail(item->GetThumbnail());
  }
}

void CVxGUIIconView::DeleteAllItems() {
  for (auto& e : m_items) delete e.second;
  m_items.clear();
  m_model.Clear();
  m_bHasKey = false;
  if (GetSafeHwnd()) SendMessage(WM_VSCROLL, SB_TOP, 0);
}

CThumbnailItem* CVxGUIIconView::FindItem(DWORD id) const {
  auto it = m_items.find(id);
  return it == m_items.end() ? NULL : it->second;
}

CThumbnail* CVxGUIIconView::GetThumbnail(DWORD id) const {
  CThumbnailItem* item = FindItem(id);
  return item ? item->GetThumbnail() : NULL;
}

CThumbnailItem* CVxGUIIconView::ItemAtCell(int column, int row) const { return FindItem(m_model.ItemAtCell(column, row)); }

BOOL CVxGUIIconView::CellOfItem(DWORD id, int& column, int& row) const { return m_model.CellOf(id, &column, &row); }

// ---- Selection ----------------------------------------------------------------------------------
HRESULT CVxGUIIconView::SelectItem(DWORD id, BOOL bSelect) {
  if (!FindItem(id)) return E_INVALIDARG;
  return m_model.SelectItem(id, bSelect != FALSE);
}

void CVxGUIIconView::Select(DWORD id, BOOL bSelect, BOOL bRedraw) { m_model.Select(id, bSelect != FALSE, bRedraw != FALSE); }
void CVxGUIIconView::UnSelectAll(BOOL bRedraw) { m_model.UnSelectAll(bRedraw != FALSE); }
HRESULT CVxGUIIconView::SelectRange(DWORD target, BOOL bCtrl, BOOL bShift) {
  return m_model.SelectRange(target, bCtrl != FALSE, bShift != FALSE);
}

void CVxGUIIconView::OnSelect(DWORD id, bool select, bool redraw) {
  CThumbnail* t = GetThumbnail(id);
  CBrowserDocument* doc = GetBrowserDocument();
  if (t && doc) {
    if (select)
      doc->SelectItem(t, this);
    else
      doc->UnSelectItem(t, this);
  } else if (t) {
    t->SetSelect(select);
  }
  if (redraw) InvalidateSelection(id);
}

void CVxGUIIconView::OnUnselectAll(bool redraw) {
  CBrowserDocument* doc = GetBrowserDocument();
  if (doc) {
    if (doc->GetSelectCount() != 0) doc->SelectAll(FALSE, this);
  } else {
    for (auto& e : m_items)
      if (e.second->GetThumbnail()) e.second->GetThumbnail()->SetSelect(FALSE);
  }
  if (redraw && GetSafeHwnd()) Invalidate();
}

void CVxGUIIconView::InvalidateSelection(DWORD id) { InvalidateItem(id); }

int CVxGUIIconView::GetSelectedCount() const {
  CBrowserDocument* doc = GetBrowserDocument();
  return doc ? doc->GetSelectCount() : int(m_model.Selection().size());
}

POSITION CVxGUIIconView::GetFirstSelectedItemPosition() const {
  return m_model.Selection().empty() ? NULL : reinterpret_cast<POSITION>(size_t(1));
}

DWORD CVxGUIIconView::GetNextSelectedItem(POSITION& pos) const {
  size_t i = reinterpret_cast<size_t>(pos);
  const auto& sel = m_model.Selection();
  if (i == 0 || i > sel.size()) {
    pos = NULL;
    return kNoItem;
  }
  DWORD id = sel[i - 1];
  pos = i < sel.size() ? reinterpret_cast<POSITION>(i + 1) : NULL;
  return id;
}

void CVxGUIIconView::SetFocusItem(DWORD id) { m_model.SetFocusItem(id); }

void CVxGUIIconView::OnFocus(DWORD oldId, DWORD newId) {
  if (!GetSafeHwnd()) return;
  EraseFocusRect();
  InvalidateItem(oldId, 2, 1);
  InvalidateItem(newId, 2, 1);
}

void CVxGUIIconView::SetSelectMode(int mode) { m_model.SetSingleMode(mode == 1); }

BOOL CVxGUIIconView::SetItemState(DWORD id, UINT state, UINT mask) {
  if (!FindItem(id)) return FALSE;
  if (mask & LVIS_CUT) SetCut(id, (state & LVIS_CUT) != 0);
  if (mask & LVIS_SELECTED) SelectItem(id, (state & LVIS_SELECTED) == (mask & LVIS_SELECTED));
  return TRUE;
}

void CVxGUIIconView::SetCut(DWORD id, BOOL bCut) {
  CThumbnailItem* item = FindItem(id);
  if (!item || !item->IsCut() == !bCut) return;
  item->SetCut(bCut);
  InvalidateItem(id);
}

BOOL CVxGUIIconView::GetItemStateBits(DWORD id, int* pMarked) const {
  CThumbnailItem* item = FindItem(id);
  if (!item) return FALSE;
  if (pMarked) *pMarked = item->IsMarked() ? 1 : 0;
  return m_model.IsSelected(id);
}

UINT CVxGUIIconView::ItemStateBits(DWORD id) const {
  CThumbnailItem* item = FindItem(id);
  if (!item) return 0;
  UINT state = 0x1000;
  if (m_model.IsSelected(id)) state |= LVIS_SELECTED;
  if (item->IsMarked()) state = (state & ~0xF000u) | 0x3000;
  if (id == m_model.Focus()) state |= LVIS_FOCUSED;
  return state;
}

void CVxGUIIconView::SetItemCheck(DWORD id, BOOL bCheck) {
  CThumbnailItem* item = FindItem(id);
  if (!item || !item->GetThumbnail() || !item->IsMarked() == !bCheck) return;
  if (CBrowserDocument* doc = GetBrowserDocument())
    doc->SetMark(item->GetThumbnail(), bCheck);
  else
    item->GetThumbnail()->SetMarkStatus(bCheck ? 1 : 0);
  InvalidateItem(id, 3);
  Notify(LVN_ITEMCHANGED, id, CPoint(0, 0), bCheck ? 0 : 0x2000, bCheck ? 0x2000 : 0);
}

void CVxGUIIconView::CheckItems(DWORD id) {
  CThumbnailItem* item = FindItem(id);
  if (!item) return;
  BOOL mark = !item->IsMarked();
  if (!m_model.IsSelected(id)) {
    SetItemCheck(id, mark);
    return;
  }
  std::vector<DWORD> sel = m_model.Selection();
  for (DWORD s : sel) SetItemCheck(s, mark);
}

DWORD CVxGUIIconView::GetNextItem(DWORD id, int flags) const {
  std::unordered_set<DWORD> cut;
  if (flags & iconview::kNextCut)
    for (auto& e : m_items)
      if (e.second->IsCut()) cut.insert(e.first);
  return m_model.NextItem(id, flags, cut);
}

BOOL CVxGUIIconView::GetItemRect(DWORD id, CRect& rc, int code) {
  CThumbnailItem* item = FindItem(id);
  if (!item || code < 0 || code > 2) return FALSE;
  return item->GetPartRect(rc, code);
}

void CVxGUIIconView::EditLabel(DWORD id) {
  CThumbnailItem* item = FindItem(id);
  if (!item) return;
  if (m_model.Selection().size() > 1) {
    UnSelectAll(TRUE);
    SelectItem(id, TRUE);
  }
  SetFocusItem(id);
  if (m_rename.GetSafeHwnd()) m_rename.SendMessage(WM_CHAR, VK_ESCAPE, 0);
  CBrowserDocument* doc = GetBrowserDocument();
  if (doc && doc->GetFolderType().IsSDCardFolder()) return;
  SetFocus();
  CString name = item->GetThumbnail()->GetFileName();
  NMLVDISPINFOA info = {};
  info.hdr.hwndFrom = GetSafeHwnd();
  info.hdr.idFrom = VXICONVIEW_CTRL_ID;
  info.hdr.code = LVN_BEGINLABELEDITA;
  info.item.mask = LVIF_TEXT | LVIF_PARAM;
  info.item.iItem = int(id);
  info.item.pszText = const_cast<LPSTR>(LPCSTR(name));
  info.item.lParam = reinterpret_cast<LPARAM>(item->GetThumbnail());
  if (SendMessage(WM_NOTIFY, VXICONVIEW_CTRL_ID, reinterpret_cast<LPARAM>(&info)) != 0) return;
  EraseFocusRect();
  item = FindItem(id);  // the owner's answer may have reloaded the items
  if (!item || m_rename.Begin(item, this)) {
    // The item is drawn again without its label: the box is narrower than the label.
    if (item) {
      CRect rc, label;
      item->GetBoundsRect(rc);
      item->GetLabelRect(label);
      rc.UnionRect(rc, label);
      rc.OffsetRect(-GetScrollPositionRaw());
      InvalidateRect(&rc, FALSE);
    }
    return;
  }
  // The path leaves no room for a name (or the box could not be made): the edit that
  // began ends without a name, refused as the controller refuses a name.
  info.hdr.code = LVN_ENDLABELEDITA;
  info.item.pszText = NULL;
  SendMessage(WM_NOTIFY, VXICONVIEW_CTRL_ID, reinterpret_cast<LPARAM>(&info));
  static const UINT uError = ::RegisterWindowMessageA("VX3D_ERROR_DISPLAY");
  PostMessage(uError, IDS_BROWSER_RENAME_FAILED, MB_ICONERROR);
}

LRESULT CVxGUIIconView::Notify(int code, DWORD id, CPoint ptScreen, UINT oldState, UINT newState) {
  if (!GetSafeHwnd()) return 0;
  NMLISTVIEW nm = {};
  nm.hdr.hwndFrom = GetSafeHwnd();
  nm.hdr.idFrom = VXICONVIEW_CTRL_ID;
  nm.hdr.code = UINT(code);
  nm.iItem = int(id);
  nm.uChanged = LVIF_STATE;
  nm.ptAction = ptScreen;
  nm.lParam = reinterpret_cast<LPARAM>(GetThumbnail(id));
  UINT state = ItemStateBits(id);
  nm.uNewState = newState != 0xFFFFFFFF ? newState : state;
  nm.uOldState = oldState != 0xFFFFFFFF ? oldState : state;
  return SendMessage(WM_NOTIFY, VXICONVIEW_CTRL_ID, reinterpret_cast<LPARAM>(&nm));
}

std::string CVxGUIIconView::NameOf(DWORD id) {
  CThumbnailItem* item = FindItem(id);
  return item ? std::string(LPCSTR(item->GetDisplayName())) : std::string();
}

void CVxGUIIconView::RedrawItem(DWORD id) {
  CThumbnailItem* item = FindItem(id);
  if (!item) return;
  item->ClearLabelCache();
  InvalidateItem(id);
}

void CVxGUIIconView::SetThumbnailSize(CSize size) {
  if (size == CThumbnailItem::GetThumbnailSize()) return;
  CThumbnailItem::SetThumbnailSize(size);
  for (auto& e : m_items) e.second->ClearLabelCache();
  m_bHasKey = false;
  if (GetSafeHwnd()) Invalidate(TRUE);
}

CPoint CVxGUIIconView::DocPoint(CPoint client) const { return client + GetScrollPositionRaw(); }

DWORD CVxGUIIconView::ItemAtPoint(CPoint pt, int* pPart) {
  CPoint doc = DocPoint(pt);
  for (DWORD id : m_model.Order()) {
    CThumbnailItem* item = FindItem(id);
    int part = item ? item->HitTest(doc) : -1;
    if (part != iconview::kPartNone && part != iconview::kPartItem) {
      if (pPart) *pPart = part;
      return id;
    }
  }
  if (pPart) *pPart = 0;
  return kNoItem;
}

DWORD CVxGUIIconView::NearestItem(CPoint pt) {
  Arrange(FALSE);
  CRect client;
  GetClientRect(&client);
  CPoint scroll = GetScrollPositionRaw();
  client.OffsetRect(scroll);
  CPoint doc = pt + scroll;
  DWORD best = kNoItem;
  int bestRowDist = INT_MAX, bestRow = -1;
  for (int row = 0; row < m_model.Rows(); ++row) {
    CThumbnailItem* first = FindItem(m_model.ItemAtCell(0, row));
    if (!first) continue;
    CRect pic;
    first->GetIconRect(pic);
    if (pic.top < client.top || pic.bottom > client.bottom) continue;
    int d = std::min(abs(pic.top - doc.y), abs(pic.bottom - doc.y));
    if (d < bestRowDist) bestRowDist = d, bestRow = row;
  }
  if (bestRow < 0) return kNoItem;
  int bestDist = INT_MAX;
  for (int col = 0; col < m_model.Columns(); ++col) {
    DWORD id = m_model.ItemAtCell(col, bestRow);
    CThumbnailItem* item = FindItem(id);
    if (!item) continue;
    CRect pic;
    item->GetIconRect(pic);
    if (pic.left < client.left || pic.right > client.right) continue;
    int d = std::min(abs(pic.left - doc.x), abs(pic.right - doc.x));
    if (d < bestDist) bestDist = d, best = id;
  }
  return best;
}

void CVxGUIIconView::InvalidateItem(DWORD id, int part, int grow) {
  CThumbnailItem* item = FindItem(id);
  if (!item || !GetSafeHwnd()) return;
  CRect rc;
  item->GetPartRect(rc, part);
  rc.InflateRect(grow, grow);
  rc.OffsetRect(-GetScrollPositionRaw());
  // Out of sight there is nothing to draw (and each invalidation is a call to the system).
  CRect client;
  GetClientRect(&client);
  if (rc.IntersectRect(&rc, &client)) InvalidateRect(&rc, FALSE);
}

// ---- Ordering and layout ---------------------------------------------------------------------
void CVxGUIIconView::SortItems(PFNVXITEMCOMPARE pfnCompare, LPARAM data) {
  if (!pfnCompare) return;
  std::vector<DWORD> order = m_model.Order();
  std::stable_sort(order.begin(), order.end(), [&](DWORD a, DWORD b) {
    return pfnCompare(GetThumbnail(a), GetThumbnail(b), data) < 0;
  });
  m_model.SetOrder(order);
  m_bHasKey = false;
  Arrange(FALSE);
  if (!m_model.Selection().empty()) EnsureVisible(m_model.Selection().front(), FALSE);
}

void CVxGUIIconView::Arrange(BOOL bForce) {
  if (!GetSafeHwnd()) return;
  CRect client;
  GetClientRect(&client);
  iconview::LayoutKey key{client.Width(), client.Height(), GetItemCount(), 0};
  if (!bForce && m_bHasKey && !iconview::BaseKeysDiffer(key, m_key)) return;
  CSize cell = CThumbnailItem::GetThumbnailSize();
  iconview::LayoutInput in;
  in.clientWidth = client.Width();
  in.clientHeight = client.Height();
  in.hasVScroll = TRUE;
  in.left = m_nLeftMargin;
  in.top = m_nTopMargin;
  in.hgap = m_nHGap;
  in.vgap = m_nVGap;
  in.itemW = cell.cx;
  in.itemH = cell.cy + CThumbnailItem::GetLabelTextHeight();
  in.groupCount = 1;
  in.headers = false;
  in.itemGroups.assign(m_model.Order().size(), 0);
  iconview::LayoutResult r = iconview::LayOutGroups(in);
  m_model.ClearCells();
  for (size_t i = 0; i < r.items.size(); ++i) {
    DWORD id = m_model.Order()[i];
    CThumbnailItem* item = FindItem(id);
    item->m_x = r.items[i].x;
    item->m_y = r.items[i].y;
    m_model.SetCell(r.items[i].column, r.items[i].row, id);
  }
  SetScrollSizes(MM_TEXT, CSize(0, r.totalHeight));
  m_key = key;
  m_bHasKey = true;
}

void CVxGUIIconView::UpdateScrollPage() {
  CRect client;
  GetClientRect(&client);
  m_pageDev.cy = client.Height();
  UpdateBars();
}

BOOL CVxGUIIconView::EnsureVisible(DWORD id, BOOL bPartialOK) {
  CThumbnailItem* item = FindItem(id);
  if (!item) return FALSE;
  if (!GetSafeHwnd()) return TRUE;
  CRect rc, view;
  item->GetBoundsRect(rc);
  GetClientRect(&view);
  CPoint scroll = GetScrollPositionRaw();
  if (iconview::VersionCode() < 5 && m_dVertScale > 0) scroll.y = int(scroll.y * m_dVertScale);
  view.OffsetRect(scroll);
  CRect both;
  if (both.IntersectRect(&rc, &view) && both == rc) return TRUE;
  int y = scroll.y, x = scroll.x;
  if (rc.top < view.top || rc.bottom > view.bottom) {
    if (rc.CenterPoint().y >= view.CenterPoint().y) {
      y += rc.bottom - view.bottom;
    } else {
      y += rc.top - view.top;
      if (y <= rc.Height()) y = 0;  // near the top: all the way, headers included
    }
  }
  if (rc.left < view.left || rc.right > view.right)
    x += rc.CenterPoint().x >= view.CenterPoint().x ? rc.right - view.right : rc.left - view.left;
  EraseFocusRect();
  if (iconview::VersionCode() < 5 && m_dVertScale > 0) y = int(y / m_dVertScale);
  ScrollToPositionRaw(x, y);
  DrawFocusFrame();
  if (m_dVertScale > 0) Invalidate();
  UpdateWindow();
  return TRUE;
}
