// CIconView: grouped layout, scroll sizes, grouped sorting and scrolling into view.
#include "IconView.h"

#include "TransInternal.h"

#include <algorithm>
#include <unordered_map>

using iconview::kNoItem;

namespace {
// The measuring item's whole size at the current thumbnail size.
CSize MeasuredItem() {
  CIconViewItem measure;
  CRect whole;
  measure.GetBoundsRect(whole);
  return whole.Size();
}
}  // namespace

void CIconView::SetItemPos(int column, int row, DWORD id) { m_model.SetCell(column, row, id); }

void CIconView::SetItemPosition(CRect* pNext) {
  ++m_nLayouts;
  CRect client;
  GetClientRect(&client);
  CRect window;
  GetWindowRect(&window);
  CSize item = MeasuredItem();
  CBrowserDocument* doc = GetBrowserDocument();

  iconview::LayoutInput in;
  in.clientWidth = client.Width();
  in.clientHeight = client.Height();
  in.hasVScroll = window.Width() != client.Width();
  in.vscrollWidth = ::GetSystemMetrics(SM_CXVSCROLL);
  in.left = m_nLeftMargin;
  in.top = m_nTopMargin;
  in.hgap = m_nHGap;
  in.vgap = m_nVGap;
  in.itemW = item.cx;
  in.itemH = item.cy;

  m_headers.Rebuild(doc);
  std::unordered_map<const CThumbnailPage*, int> groupOf;
  for (int i = 0; i < m_headers.GetCount(); ++i) groupOf.emplace(m_headers.GetAt(i).m_pGroup, i);
  in.groupCount = m_headers.GetCount();
  in.itemGroups.reserve(m_model.Order().size());
  for (DWORD id : m_model.Order()) {
    CThumbnail* t = GetThumbnail(id);
    auto it = t ? groupOf.find(t->GetPage()) : groupOf.end();
    in.itemGroups.push_back(it == groupOf.end() ? -1 : it->second);
  }
  iconview::LayoutResult r = iconview::LayOutGroups(in);

  m_model.ClearCells();
  for (size_t i = 0; i < r.items.size(); ++i) {
    DWORD id = m_model.Order()[i];
    if (CThumbnailItem* each = FindItem(id)) {
      each->m_x = r.items[i].x;
      each->m_y = r.items[i].y;
    }
    SetItemPos(r.items[i].column, r.items[i].row, id);
  }
  m_headerRecords.clear();
  for (size_t g = 0; g < r.headers.size() && int(g) < m_headers.GetCount(); ++g) {
    m_headers.GetAt(int(g)).m_rect = r.headers[g];
    m_headerRecords.push_back(HeaderRecord{r.headers[g], m_headers.GetAt(int(g)).m_pGroup});
  }
  m_key = iconview::LayoutKey{client.Width(), client.Height(), GetItemCount(), in.groupCount};
  m_bHasKey = true;
  if (pNext) *pNext = r.next;
  m_nDecodeCount = r.decodeCount;
  m_nTotalHeight = r.totalHeight;
}

void CIconView::Arrange(BOOL bForce) {
  if (!GetSafeHwnd()) return;
  CRect client;
  GetClientRect(&client);
  CBrowserDocument* doc = GetBrowserDocument();
  int groups = doc ? int(doc->GetPageList().GetCount()) : 0;
  iconview::LayoutKey key{client.Width(), client.Height(), GetItemCount(), groups};
  if (!bForce && m_bHasKey && !iconview::GroupedKeysDiffer(key, m_key)) return;
  if (groups == 0) {
    m_headers.Clear();
    m_headerRecords.clear();
    // No folder shown (one that could not be read): the bar of the last one goes.
    if (GetStyle() & WS_VSCROLL) SetScrollSizes(MM_TEXT, CSize(0, 0));
    return;
  }
  UINT mode = doc->GetViewMode();
  if (mode == 8 || mode == 4) {
    AdjustScrollSizes(0);
    m_headers.Clear();
    m_headerRecords.clear();
    return;
  }
  CRect next;
  SetItemPosition(&next);
  int total = m_nTotalHeight;
  AdjustScrollSizes(total);
  Invalidate(TRUE);
  CSize item = MeasuredItem();
  if (item.cx > 0 && item.cy > 0) CThumbnailPage::SetDecodeCount((client.Width() / item.cx) * (client.Height() / item.cy + 2));
}

bool CIconView::BarShows(int total, int clientHeight) const {
  if (!(GetStyle() & WS_VSCROLL)) return total <= clientHeight;
  SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE};
  return ::GetScrollInfo(m_hWnd, SB_VERT, &si) && si.nMin == 0 && si.nMax == total - 1 &&
         si.nPage == UINT(clientHeight);
}

void CIconView::AdjustScrollSizes(int totalHeight) {
  CRect client;
  GetClientRect(&client);
  CBrowserDocument* doc = GetBrowserDocument();
  int decodeHeight = doc ? doc->GetDecodeImageSize().cy : CThumbnailItem::GetThumbnailSize().cy;
  int mode = doc ? int(doc->GetViewMode()) : 1;
  iconview::ScrollSizes s = iconview::ComputeScrollSizes(totalHeight, client.Height(), decodeHeight, mode, iconview::VersionCode());
  m_dVertScale = s.scale;
  const CSize total(0, s.total), page(0, std::max(1, s.page)), line(0, std::max(1, s.line));
  // The same sizes again (the same items laid out anew, as after a sort) leave the bar as it
  // is: the calls below would change nothing in the end but repaint it on the way.
  if (m_nMapMode == MM_TEXT && total == m_totalDev && page == m_pageDev && line == m_lineDev &&
      BarShows(s.total, client.Height()))
    return;
  // The range shows the bar of a view that had none. The WM_SIZE that follows judges the bar
  // by the scroll sizes, so they are the new ones already (by the old ones it would hide the
  // bar again and size the view twice more), and it lays the view out anew for the narrower
  // client: then the sizes that layout set stand.
  m_totalLog = m_totalDev = total;
  m_pageDev = page;
  m_lineDev = line;
  const unsigned layouts = m_nLayouts;
  // The bar gets its final range and page at once, as the scroll view will judge them: the
  // WM_SIZE of its coming then finds it set and does not draw it once more.
  SCROLLINFO bar = {sizeof(bar), SIF_RANGE | SIF_PAGE, 0, std::max(0, s.total - 1), UINT(std::max(0, int(client.Height())))};
  ::SetScrollInfo(m_hWnd, SB_VERT, &bar, FALSE);
  if (m_nLayouts != layouts) return;
  SetScrollSizes(MM_TEXT, total, page, line);
}

BOOL CIconView::Sort(CThumbnailPage* pPage, PFNVXITEMCOMPARE pfnCompare, LPARAM data, std::vector<DWORD>* pOut) {
  CBrowserDocument* doc = GetBrowserDocument();
  UINT mask = doc ? doc->GetFilterType() : 0;
  std::vector<CThumbnail*> group;
  try {
    // The page's own order is the start, so that equal keys keep it.
    for (int i = 0; i < pPage->GetCount(); ++i) {
      CThumbnail* t = pPage->GetAt(i);
      CThumbnailItem* item = t ? FindItem(t->GetUniqueID(m_nIdSlot)) : NULL;
      if (!item || item->GetThumbnail() != t) continue;
      if ((t->GetKindFlags() & mask) == mask || t->IsFolder() || item->IsParentEntry()) group.push_back(t);
    }
    if (pfnCompare) {
      // Thousands of items take a while to sort: that runs on a thread of its own while
      // this one answers what other threads send (the comparison reads the items' keys
      // only). A few hundred sort faster than a thread starts.
      const size_t kSortOnThreadFrom = 2000;
      bool failed = false;
      TransRunOnThreads(
          1, group.size() >= kSortOnThreadFrom ? 1 : 0,
          [&](size_t) {
            try {
              std::stable_sort(group.begin(), group.end(),
                               [&](CThumbnail* a, CThumbnail* b) { return pfnCompare(a, b, data) < 0; });
            } catch (...) {
              failed = true;
            }
          },
          [] {
            AnswerSentMessages();
            return true;  // a sort can't be cut short: it is waited for, answering
          });
      if (failed) return FALSE;
    }
    for (CThumbnail* t : group) pOut->push_back(t->GetUniqueID(m_nIdSlot));
  } catch (...) {
    return FALSE;
  }
  return TRUE;
}

void CIconView::SortItems(PFNVXITEMCOMPARE pfnCompare, LPARAM data) {
  CBrowserDocument* doc = GetBrowserDocument();
  if (!doc) return CVxGUIIconView::SortItems(pfnCompare, data);
  std::vector<DWORD> order;
  const CThumbnailPageList& pages = doc->GetPageList();
  for (POSITION pos = pages.GetHeadPosition(); pos;)
    if (!Sort(pages.GetNext(pos), pfnCompare, data, &order)) return;
  m_model.SetOrder(order);
  ClearLayoutKey();
  Arrange(FALSE);
}

DWORD CIconView::FindFirstImageItem() const {
  for (DWORD id : m_model.Order()) {
    CThumbnail* t = GetThumbnail(id);
    if (t && (t->GetKindFlags() & (VXKIND_STILL | VXKIND_MOVIE))) return id;
  }
  return kNoItem;
}

DWORD CIconView::GetTopIndex() { return NearestItem(CPoint(0, 0)); }

CThumbnailPage* CIconView::GroupPageAt(CPoint docPoint) {
  for (size_t i = 0; i < m_headerRecords.size(); ++i) {
    // The margin above the first bar belongs to the first group.
    const LONG top = i == 0 ? LONG_MIN : m_headerRecords[i].rect.top;
    const LONG bottom = i + 1 < m_headerRecords.size() ? m_headerRecords[i + 1].rect.top : LONG_MAX;
    if (docPoint.y >= top && docPoint.y < bottom) return m_headerRecords[i].group;
  }
  return NULL;
}
