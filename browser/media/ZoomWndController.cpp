#include "ZoomWndController.h"

#include <VxGUIDB.h>

CZoomItemList::CZoomItemList() : m_nGroup(-1), m_nItem(-1) {}

void CZoomItemList::AddGroup(const CList<CThumbnail*, CThumbnail*>& list) {
  std::vector<CThumbnail*> g;
  for (POSITION pos = list.GetHeadPosition(); pos;) {
    CThumbnail* p = list.GetNext(pos);
    if (p) g.push_back(p);
  }
  if (g.empty()) return;
  m_groups.push_back(g);
  if (m_nGroup < 0) m_nGroup = m_nItem = 0;
}

void CZoomItemList::Clear() {
  m_groups.clear();
  m_nGroup = m_nItem = -1;
}

BOOL CZoomItemList::SetCurrent(const CThumbnail* pItem) {
  for (size_t g = 0; g < m_groups.size(); ++g)
    for (size_t i = 0; i < m_groups[g].size(); ++i)
      if (m_groups[g][i] == pItem) {
        m_nGroup = (int)g;
        m_nItem = (int)i;
        return TRUE;
      }
  return FALSE;
}

CThumbnail* CZoomItemList::GetCurrentItem() const {
  if (m_nGroup < 0 || m_nGroup >= (int)m_groups.size()) return NULL;
  return m_groups[m_nGroup][m_nItem];
}

bool CZoomItemList::HasPrevGroup() const { return m_nGroup > 0; }
bool CZoomItemList::HasPrevItem() const { return m_nGroup > 0 || m_nItem > 0; }
bool CZoomItemList::HasNextGroup() const { return m_nGroup >= 0 && m_nGroup + 1 < (int)m_groups.size(); }
bool CZoomItemList::HasNextItem() const {
  return m_nGroup >= 0 && (m_nItem + 1 < (int)m_groups[m_nGroup].size() || HasNextGroup());
}

void CZoomItemList::MovePrevGroup() {
  if (!HasPrevGroup()) return;
  --m_nGroup;
  m_nItem = 0;
}
void CZoomItemList::MovePrevItem() {
  if (m_nItem > 0) {
    --m_nItem;
  } else if (HasPrevGroup()) {
    --m_nGroup;
    m_nItem = (int)m_groups[m_nGroup].size() - 1;
  }
}
void CZoomItemList::MoveNextItem() {
  if (m_nGroup < 0) return;
  if (m_nItem + 1 < (int)m_groups[m_nGroup].size()) {
    ++m_nItem;
  } else if (HasNextGroup()) {
    ++m_nGroup;
    m_nItem = 0;
  }
}
void CZoomItemList::MoveNextGroup() {
  if (!HasNextGroup()) return;
  ++m_nGroup;
  m_nItem = 0;
}
void CZoomItemList::MoveFirst() {
  if (!m_groups.empty()) m_nGroup = m_nItem = 0;
}

CZoomWndController::CZoomWndController() : m_hWnd(NULL), m_hBackground(NULL) {}
CZoomWndController::~CZoomWndController() { Destroy(); }

void CZoomWndController::AddItem(const CList<CThumbnail*, CThumbnail*>& list) { m_items.AddGroup(list); }

int CZoomWndController::Open(CThumbnail* pItem, CWnd*, HBITMAP hBackground, void*) {
  if (m_hBackground && m_hBackground != hBackground) ::DeleteObject(m_hBackground);
  m_hBackground = hBackground;
  if (!pItem || !CThumbnail::CheckThumbnailPointer(pItem) || !pItem->IsValidPath()) {
    m_items.Clear();
    return 0;
  }
  m_items.SetCurrent(pItem);
  return 0;  // no zoom window in this build
}

void CZoomWndController::Close() {
  if (m_hWnd && ::IsWindow(m_hWnd)) ::SendMessageA(m_hWnd, WM_CLOSE, 0, 0);
}

void CZoomWndController::Destroy() {
  if (m_hBackground) ::DeleteObject(m_hBackground);
  m_hBackground = NULL;
  m_hWnd = NULL;
  m_items.Clear();
}

CString CZoomWndController::GetCurrentPath() const {
  if (!m_hWnd) return CString();
  CThumbnail* p = m_items.GetCurrentItem();
  return p ? p->GetFilePath() : CString();
}
