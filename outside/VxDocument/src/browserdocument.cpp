// The browser document: selection, marks, content and the settings it keeps.
#include <VxDocument/BrowserDocument.h>
#include <VxDocument/Clipboard.h>
#include <VxDocument/CommandObject.h>
#include <VxDocument/Document.h>

#include <Kitlib2/Profile.h>
#include <TickCache.h>

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace {

bool IsAlive(const CThumbnail* p) { return p && CThumbnail::CheckThumbnailPointer(p); }

// The selection in selection order, with an index so that a selection of thousands of
// items is changed one item at a time without scanning it.
class Selection {
 public:
  const CThumbnailList& List() const { return m_list; }
  int Count() const { return (int)m_list.GetCount(); }
  // Our items carry the select flag; an entry without it names an item that went and
  // whose address came back for another one.
  bool Contains(CThumbnail* p) const { return m_index.count(p) && p->IsSelect(); }
  void Add(CThumbnail* p) {
    Remove(p);
    m_index[p] = m_list.AddTail(p);
  }
  bool Remove(CThumbnail* p) {
    auto it = m_index.find(p);
    if (it == m_index.end()) return false;
    m_list.RemoveAt(it->second);
    m_index.erase(it);
    return true;
  }
  void Clear() {
    m_list.RemoveAll();
    m_index.clear();
  }
  // Drops entries of items that went.
  void Prune() {
    for (POSITION pos = m_list.GetHeadPosition(); pos;) {
      POSITION cur = pos;
      CThumbnail* p = m_list.GetNext(pos);
      if (!IsAlive(p) || !p->IsSelect()) {
        m_list.RemoveAt(cur);
        m_index.erase(p);
      }
    }
  }
  CThumbnail* Last() {
    while (!m_list.IsEmpty()) {
      CThumbnail* p = m_list.GetTail();
      if (IsAlive(p) && p->IsSelect()) return p;
      m_index.erase(p);
      m_list.RemoveTail();
    }
    return nullptr;
  }

 private:
  CThumbnailList m_list{10};
  std::unordered_map<CThumbnail*, POSITION> m_index;
};

}  // namespace

struct BrowserDocImpl {
  CVxDocument* owner = nullptr;
  CThumbnailPageList pages;
  Selection selection;
  CBrowserStatus status;
  BOOL subFolders = TRUE;
  CPoint menuPoint{-1, -1};
  CExploreClipboardObject clipboard;
  void* moviePlayer = nullptr;
  DWORD focusItem = VXID_NONE;
};

namespace {

// Profile keys of the settings the document keeps (section DepthViewer).
const char kKeyMode[] = "Mode";            // view code, read by the frame, toolbar and dialogs
const char kKeyBrowseMode[] = "BrowseMode";  // the document's own flag, to restore small vs. large icons
const char kKeyThumbSize[] = "ThumbSize";
const char kKeySort[] = "SortType";
const char kKeyFilter[] = "FilterType";
const char kKeyFolders[] = "FolderVisible";

// Whether the views show the item under the mask (sub-folder entries always).
bool IsShown(CThumbnail* p, UINT mask) {
  if (p->IsFolder()) return true;
  return p->HasKind(mask) && p->IsListed();
}

// "Mode" is what other programs read: the view code, with both icon sizes as 1 (thumbnails).
void WriteModeSetting(UINT mode) {
  UINT code = CBrowserViewMode::ToCgViewID(mode);
  if (code == CGVIEW_LARGEICON) code = CGVIEW_SMALLICON;
  CMWriteProfileInt(VXDOC_SECTION, kKeyMode, (int)code);
  CMWriteProfileInt(VXDOC_SECTION, kKeyBrowseMode, (int)mode);
}

}  // namespace

CBrowserDocument::CBrowserDocument(CVxDocument* pOwner) : m_p(new BrowserDocImpl) {
  m_p->owner = pOwner;
  CBrowserStatus& st = m_p->status;
  // Settings of the last run; a start shows the thumbnails, never a mode that needs a
  // folder of its own kind.
  UINT mode = (UINT)CMGetProfileInt(VXDOC_SECTION, kKeyBrowseMode, BROWSE_VIEW_LARGEICON);
  st.SetMode(CBrowserViewMode::IsThumbnailSideFlag(mode) ? (BROWSE_VIEW_MODE)mode : BROWSE_VIEW_LARGEICON);
  st.SetThumbMode(CMGetProfileInt(VXDOC_SECTION, kKeyThumbSize, 2));
  int sort = CMGetProfileInt(VXDOC_SECTION, kKeySort, 11);
  st.SetSortID(sort >= 10 && sort <= 30 ? (UINT)sort : 11);
  UINT mask = (UINT)CMGetProfileInt(VXDOC_SECTION, kKeyFilter, 0);
  st.SetThumbnailFilterID(CBrowserStatus::FilterIDOfMask(mask) >= 0 ? mask : 0);
  m_p->subFolders = CMGetProfileInt(VXDOC_SECTION, kKeyFolders, 1) != 0;
}

CBrowserDocument::~CBrowserDocument() {
  DeleteAllPages();
  delete m_p;
}

CVxDocument* CBrowserDocument::GetOwner() const { return m_p->owner; }

void CBrowserDocument::NotifyViews(CView* pSender, LPARAM lHint, CObject* pHint) {
  if (m_p->owner) m_p->owner->UpdateAllViews(pSender, lHint, pHint);
}

// One waiting status-bar message is enough: the main window reads the counts when it
// takes it.
void CBrowserDocument::PostToMainWindow(UINT message) {
  CWnd* pMain = AfxGetMainWnd();
  HWND hMain = pMain ? pMain->GetSafeHwnd() : NULL;
  if (!hMain) return;
  MSG msg;
  if (::PeekMessageA(&msg, hMain, message, message, PM_NOREMOVE)) return;
  ::PostMessageA(hMain, message, 0, 0);
}

// Drops items destroyed since they were selected.
BOOL CBrowserDocument::PruneSelection() const {
  int before = m_p->selection.Count();
  m_p->selection.Prune();
  return m_p->selection.Count() != before;
}

// ---- Selection ------------------------------------------------------------------------

namespace {

// The items the views show: the calendar page in the calendar modes, else the folder's
// pages; under the filter mask, listed items only.
template <class F>
void ForEachShown(const CThumbnailPageList& pages, const CBrowserStatus& st, F fn) {
  CThumbnailPage* pCalendar = st.IsCalendarMode() ? pages.GetCalendarPage() : nullptr;
  UINT mask = (st.IsMusicMode() || st.IsAudioMode()) ? 0 : st.GetThumbnailFilterID();
  for (POSITION pos = pages.GetHeadPosition(); pos;) {
    CThumbnailPage* page = pages.GetNext(pos);
    if (!page) continue;
    if (pCalendar ? page != pCalendar : page->GetType() == VXPAGE_CALENDAR) continue;
    for (int i = 0; i < page->GetCount(); ++i) {
      CThumbnail* p = page->GetAt(i);
      if (p && IsShown(p, mask)) fn(p);
    }
  }
}

}  // namespace

BOOL CBrowserDocument::SelectItem(CThumbnail* p, CView* pSender) {
  if (!IsAlive(p)) return FALSE;
  if (m_p->selection.Contains(p)) return FALSE;
  m_p->selection.Add(p);
  p->SetSelect(TRUE);
  NotifyViews(pSender, VXHINT_SELECTION, nullptr);
  PostToMainWindow(VXDOC_WM_STATUS_SELECT_COUNT);
  return TRUE;
}

BOOL CBrowserDocument::UnSelectItem(CThumbnail* p, CView* pSender) {
  if (!IsAlive(p)) {
    m_p->selection.Remove(p);  // an item that went leaves without a word
    return FALSE;
  }
  if (!m_p->selection.Contains(p)) return FALSE;
  m_p->selection.Remove(p);
  p->SetSelect(FALSE);
  NotifyViews(pSender, VXHINT_SELECTION, nullptr);
  PostToMainWindow(VXDOC_WM_STATUS_SELECT_COUNT);
  return TRUE;
}

namespace {

// Empties the selection, clearing the flags of the items that are still there.
void ClearSelection(Selection& sel) {
  sel.Prune();
  for (POSITION pos = sel.List().GetHeadPosition(); pos;) sel.List().GetNext(pos)->SetSelect(FALSE);
  sel.Clear();
}

}  // namespace

void CBrowserDocument::SelectAll(int bSelect, CView* pSender) {
  Selection& sel = m_p->selection;
  ClearSelection(sel);
  // Everything shown, in page order; nothing hidden stays selected.
  if (bSelect) {
    ForEachShown(m_p->pages, m_p->status, [&](CThumbnail* p) {
      if (sel.Contains(p)) return;
      p->SetSelect(TRUE);
      sel.Add(p);
    });
  }
  NotifyViews(pSender, VXHINT_SELECTION, nullptr);
  PostToMainWindow(VXDOC_WM_STATUS_SELECT_COUNT);
}

void CBrowserDocument::SelectReverse(CView* pSender) {
  CThumbnailList shown(10);
  ForEachShown(m_p->pages, m_p->status, [&](CThumbnail* p) { shown.AddTail(p); });
  SelectReverse(pSender, shown);
}

void CBrowserDocument::SelectReverse(CView* pSender, const CThumbnailList& scope) {
  Selection& sel = m_p->selection;
  sel.Prune();
  std::unordered_set<CThumbnail*> had;
  for (POSITION pos = sel.List().GetHeadPosition(); pos;) had.insert(sel.List().GetNext(pos));
  ClearSelection(sel);  // items outside the scope end unselected too
  for (POSITION pos = scope.GetHeadPosition(); pos;) {
    CThumbnail* p = scope.GetNext(pos);
    if (!IsAlive(p) || had.count(p) || sel.Contains(p)) continue;
    p->SetSelect(TRUE);
    sel.Add(p);
  }
  NotifyViews(pSender, VXHINT_SELECTION, nullptr);
  PostToMainWindow(VXDOC_WM_STATUS_SELECT_COUNT);
}

void CBrowserDocument::ClearSelect() {
  ClearSelection(m_p->selection);
  PostToMainWindow(VXDOC_WM_STATUS_SELECT_COUNT);
}

int CBrowserDocument::GetSelectCount() const {
  PruneSelection();
  return m_p->selection.Count();
}

CThumbnail* CBrowserDocument::GetLastSelectedItem() const { return m_p->selection.Last(); }

int CBrowserDocument::GetSelectFilePath(CStringList& list) const {
  PruneSelection();
  list.RemoveAll();
  const CThumbnailList& sel = m_p->selection.List();
  for (POSITION pos = sel.GetHeadPosition(); pos;) {
    CString path = sel.GetNext(pos)->GetFilePath();
    if (!path.IsEmpty()) list.AddTail(path);
  }
  return (int)list.GetCount();
}

const CThumbnailList& CBrowserDocument::GetSelectList() const {
  PruneSelection();
  return m_p->selection.List();
}

// ---- Marks ------------------------------------------------------------------------------

HRESULT CBrowserDocument::SetMark(CThumbnail* p, int on) {
  if (!IsAlive(p)) return E_POINTER;
  if (!p->IsCheckable()) return S_FALSE;
  HRESULT hr = p->SetMarkStatus(on ? 1 : 0);
  PostToMainWindow(VXDOC_WM_STATUS_MARK_COUNT);
  return hr;
}

int CBrowserDocument::SetMarkSelectedAll(int on) {
  PruneSelection();
  int want = on ? 1 : 0, changed = 0;
  const CThumbnailList& sel = m_p->selection.List();
  for (POSITION pos = sel.GetHeadPosition(); pos;) {
    CThumbnail* p = sel.GetNext(pos);
    if (!p->IsCheckable() || (p->GetMarkStatus(0) != 0) == (want != 0)) continue;
    if (SUCCEEDED(p->SetMarkStatus(want))) ++changed;
  }
  if (changed) PostToMainWindow(VXDOC_WM_STATUS_MARK_COUNT);
  return changed;
}

namespace {

std::string UpperPath(LPCSTR psz) {
  std::string s = psz ? psz : "";
  if (!s.empty()) ::CharUpperBuffA(&s[0], (DWORD)s.size());
  return s;
}

}  // namespace

void CBrowserDocument::ClearMark() {
  // The items shown keep their own copy of the mark: those of marked files are cleared
  // one by one, then the store at once.
  STRINGLIST* pMarked = nullptr;
  bool bKnown = SUCCEEDED(Mark_GetAllCheck(&pMarked));
  std::unordered_set<std::string> marked;
  for (STRINGLIST* p = pMarked; p; p = p->pNext) marked.insert(UpperPath(p->pszText));
  FreeStringList(pMarked);
  for (POSITION pos = m_p->pages.GetHeadPosition(); pos;) {
    CThumbnailPage* page = m_p->pages.GetNext(pos);
    for (int i = 0; page && i < page->GetCount(); ++i) {
      CThumbnail* p = page->GetAt(i);
      if (!p || !p->IsCheckable()) continue;
      bool bMarked = bKnown ? marked.count(UpperPath(p->GetFilePath())) != 0 : p->GetMarkStatus(0) != 0;
      if (bMarked) p->SetMarkStatus(0);
    }
  }
  Mark_DeleteAll();
  PostToMainWindow(VXDOC_WM_STATUS_MARK_COUNT);
}

int CBrowserDocument::GetMarkCount() const {
  int n = 0;
  if (SUCCEEDED(Mark_GetCheckCount(&n))) return n;
  // Without the store: the marked items shown.
  n = 0;
  for (POSITION pos = m_p->pages.GetHeadPosition(); pos;) {
    CThumbnailPage* page = m_p->pages.GetNext(pos);
    if (!page || page->GetType() == VXPAGE_CALENDAR) continue;
    for (int i = 0; i < page->GetCount(); ++i) {
      CThumbnail* p = page->GetAt(i);
      if (p && p->IsCheckable() && p->GetMarkStatus(0)) ++n;
    }
  }
  return n;
}

// ---- Content -----------------------------------------------------------------------------

CThumbnailPageList& CBrowserDocument::GetPageList() { return m_p->pages; }
const CThumbnailPageList& CBrowserDocument::GetPageList() const { return m_p->pages; }

int CBrowserDocument::GetFolderCount() const {
  int n = 0;
  for (POSITION pos = m_p->pages.GetHeadPosition(); pos;) {
    CThumbnailPage* page = m_p->pages.GetNext(pos);
    if (page && page->GetType() != VXPAGE_CALENDAR) ++n;
  }
  return n;
}

int CBrowserDocument::GetFileCount() const {
  const CBrowserStatus& st = m_p->status;
  if (st.IsCalendarMode()) {
    CThumbnailPage* pCalendar = m_p->pages.GetCalendarPage();
    if (pCalendar) return pCalendar->Size(0);
  }
  UINT mask = (st.IsMusicMode() || st.IsAudioMode()) ? 0 : st.GetThumbnailFilterID();
  int n = 0;
  for (POSITION pos = m_p->pages.GetHeadPosition(); pos;) {
    CThumbnailPage* page = m_p->pages.GetNext(pos);
    if (!page || page->GetType() == VXPAGE_CALENDAR) continue;
    for (int i = 0; i < page->GetCount(); ++i) {
      CThumbnail* p = page->GetAt(i);
      if (p && !p->IsFolder() && IsShown(p, mask)) ++n;
    }
  }
  return n;
}

CThumbnail* CBrowserDocument::GetThumbnail(LPCSTR pszPath) const {
  if (!pszPath || !*pszPath) return nullptr;
  for (POSITION pos = m_p->pages.GetHeadPosition(); pos;) {
    CThumbnailPage* page = m_p->pages.GetNext(pos);
    if (!page || page->GetType() == VXPAGE_CALENDAR) continue;
    if (CThumbnail* p = page->Find(pszPath)) return p;
  }
  return nullptr;
}

void CBrowserDocument::DeleteAllPages() {
  ClearSelect();
  while (!m_p->pages.IsEmpty()) delete m_p->pages.RemoveHead();
}

BOOL CBrowserDocument::IsSubFolderVisible() const { return m_p->subFolders; }

void CBrowserDocument::SubFolderVisible(int bVisible) {
  m_p->subFolders = bVisible != 0;
  CMWriteProfileInt(VXDOC_SECTION, kKeyFolders, m_p->subFolders ? 1 : 0);
}

CSize CBrowserDocument::GetDecodeImageSize() const {
  int s = m_p->status.GetThumbnailSize();
  return CSize(s, s);
}

void CBrowserDocument::SetCalendarFolder(CView* pSender) {
  if (!m_p->status.IsCalendarMode()) return;
  CSendCommandObject notice(VXCMD_CALENDAR_FOLDER, pSender);
  NotifyViews(pSender, VXHINT_CALENDAR, &notice);
}

BOOL CBrowserDocument::RenewalBrowser(int nMode, int nParam) {
  CWnd* pMain = AfxGetMainWnd();
  HWND hMain = pMain ? pMain->GetSafeHwnd() : NULL;
  if (!hMain) return FALSE;
  if (nMode == 1) return ::PostMessageA(hMain, VXDOC_WM_REFRESH_FOLDERS, (WPARAM)hMain, nParam);
  return ::PostMessageA(hMain, VXDOC_WM_BROWSER_RELOAD, (WPARAM)hMain, 0);
}

void CBrowserDocument::SetContextMenuPosition(CPoint pt) { m_p->menuPoint = pt; }
CPoint CBrowserDocument::GetContextMenuPosition() const { return m_p->menuPoint; }
void CBrowserDocument::EmptyContextMenuPosition() { m_p->menuPoint = CPoint(-1, -1); }

// ---- State --------------------------------------------------------------------------------

BROWSE_VIEW_MODE CBrowserDocument::GetViewMode() const { return m_p->status.GetMode(); }

void CBrowserDocument::SetViewMode(BROWSE_VIEW_MODE mode, CView* pSender) {
  if (mode == m_p->status.GetMode()) return;
  m_p->status.SetMode(mode);
  WriteModeSetting(mode);
  NotifyViews(pSender, VXHINT_VIEWMODE, nullptr);
}

void CBrowserDocument::SetViewStatus(BROWSE_VIEW_ST status, CView*) { m_p->status.AddStatus(status); }
void CBrowserDocument::ClearViewStatus(BROWSE_VIEW_ST status, CView*) { m_p->status.RemoveStatus(status); }
UINT CBrowserDocument::GetViewStatus() const { return m_p->status.GetStatus(); }

const CBrowserStatus::CFolderType& CBrowserDocument::GetFolderType() const { return m_p->status; }
UINT CBrowserDocument::GetFolderTypeFlag() const { return m_p->status.GetFlag(); }

UINT CBrowserDocument::GetFilterType() const { return m_p->status.GetThumbnailFilterID(); }

void CBrowserDocument::SetFilterType(UINT nMask, CView* pSender) {
  m_p->status.SetThumbnailFilterID(nMask);
  NotifyViews(pSender, VXHINT_FILTER, nullptr);
}

UINT CBrowserDocument::GetSortType() const { return m_p->status.GetSortID(); }

void CBrowserDocument::SetSortType(UINT nSortID, CView* pSender) {
  m_p->status.SetSortID(nSortID);
  NotifyViews(pSender, VXHINT_SORT, nullptr);
}

void CBrowserDocument::SetSlideShowMode(bool bOn) {
  if (bOn)
    m_p->status.AddStatus(BROWSE_ST_SLIDESHOW);
  else
    m_p->status.RemoveStatus(BROWSE_ST_SLIDESHOW);
}

BOOL CBrowserDocument::IsSlideShowMode() const { return m_p->status.IsSlideShow(); }

CBrowserStatus& CBrowserDocument::GetBrowserStatus() { return m_p->status; }
const CBrowserStatus& CBrowserDocument::GetBrowserStatus() const { return m_p->status; }

// ---- Shared values ---------------------------------------------------------------------------

CExploreClipboardObject* CBrowserDocument::GetClipboardObject() const { return &m_p->clipboard; }
void CBrowserDocument::SetMoviePlayer(void* pPlayer) { m_p->moviePlayer = pPlayer; }
void* CBrowserDocument::GetMoviePlayer() const { return m_p->moviePlayer; }
void CBrowserDocument::SetFocusItemID(DWORD dwID) { m_p->focusItem = dwID; }
DWORD CBrowserDocument::GetFocusItemID() const { return m_p->focusItem; }

void CBrowserDocument::SaveSettings() const {
  const CBrowserStatus& st = m_p->status;
  UINT mode = st.IsThumbnailSideMode() ? st.GetMode() : st.GetLastThumbnailMode();
  WriteModeSetting(mode);
  CMWriteProfileInt(VXDOC_SECTION, kKeyThumbSize, st.GetThumbMode());
  CMWriteProfileInt(VXDOC_SECTION, kKeySort, (int)st.GetSortID());
  CMWriteProfileInt(VXDOC_SECTION, kKeyFilter, (int)st.GetThumbnailFilterID());
}
