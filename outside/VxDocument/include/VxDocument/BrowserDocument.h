// CBrowserDocument: what the browser shows and what the user chose in it — the thumbnail
// pages of the shown folder, the selection (in selection order), marks, counts, the
// browsing state, the clipboard object and a few values the views share.
//
// Threads: the user-interface thread only.
//
// Notices. Calls that take a sender view tell the other views of the CVxDocument:
//   selection changes   VXHINT_SELECTION (1), no object; the main window gets 1860
//   SetFilterType       VXHINT_FILTER (2);  SetSortType VXHINT_SORT (4)
//   SetViewMode         VXHINT_VIEWMODE (3), when the mode changes
//   SetCalendarFolder   VXHINT_CALENDAR (6) with CSendCommandObject(VXCMD_CALENDAR_FOLDER),
//                       in the calendar modes
// Mark changes send 1861 to the main window. Status-bar messages are posted once until
// the main window takes them.
#pragma once

#include <VxDocument/BrowserStatus.h>
#include <VxGUIDB.h>

class CVxDocument;
class CExploreClipboardObject;
struct BrowserDocImpl;

typedef CList<CThumbnail*, CThumbnail*> CThumbnailList;

// The pages of the shown folder, in creation order. The document deletes the pages it
// still holds when it ends; whoever removes a page from the list deletes it.
class CThumbnailPageList : public CList<CThumbnailPage*, CThumbnailPage*> {
 public:
  CThumbnailPageList() : CList<CThumbnailPage*, CThumbnailPage*>(10) {}

  void AddPage(CThumbnailPage* pPage) { AddTail(pPage); }
  CThumbnailPage* GetPageAt(int nIndex) const {
    POSITION pos = FindIndex(nIndex);
    return pos ? GetAt(pos) : NULL;
  }
  // Takes the page out of the list (and deletes it with bDelete); FALSE when not there.
  BOOL RemovePage(CThumbnailPage* pPage, BOOL bDelete) {
    POSITION pos = Find(pPage);
    if (!pos) return FALSE;
    RemoveAt(pos);
    if (bDelete) delete pPage;
    return TRUE;
  }
  // The page with this group key; null when none.
  CThumbnailPage* FindByGroup(const CThumbnailGroupInfo& info) const {
    for (POSITION pos = GetHeadPosition(); pos;) {
      CThumbnailPage* p = GetNext(pos);
      if (p && p->GetGroupInfo() == info) return p;
    }
    return NULL;
  }
  // The page without key text named so (exact comparison); null when none.
  CThumbnailPage* FindByName(LPCSTR pszName) const {
    for (POSITION pos = GetHeadPosition(); pos;) {
      CThumbnailPage* p = GetNext(pos);
      if (p && p->GetGroupInfo().GetText().IsEmpty() && p->GetName() == (pszName ? pszName : "")) return p;
    }
    return NULL;
  }
  // The calendar page (type VXPAGE_CALENDAR); null when none.
  CThumbnailPage* GetCalendarPage() const {
    for (POSITION pos = GetHeadPosition(); pos;) {
      CThumbnailPage* p = GetNext(pos);
      if (p && p->GetType() == VXPAGE_CALENDAR) return p;
    }
    return NULL;
  }
};

class VXDOC_API CBrowserDocument {
 public:
  explicit CBrowserDocument(CVxDocument* pOwner = NULL);
  ~CBrowserDocument();
  CBrowserDocument(const CBrowserDocument&) = delete;
  CBrowserDocument& operator=(const CBrowserDocument&) = delete;

  CVxDocument* GetOwner() const;

  // ---- Selection --------------------------------------------------------------------
  // Items that were destroyed meanwhile drop out of the selection by themselves.
  // TRUE when the selection changed.
  BOOL SelectItem(CThumbnail* pThumbnail, CView* pSender = NULL);
  BOOL UnSelectItem(CThumbnail* pThumbnail, CView* pSender = NULL);
  // 0: nothing selected. Otherwise every item shown is selected: the items of the
  // folder's pages (the calendar page in the calendar modes) that pass the filter type
  // and are listed; sub-folder entries always pass.
  void SelectAll(int bSelect, CView* pSender = NULL);
  // The items shown become selected exactly when they were not; the scope, when given,
  // replaces "the items shown" (the day calendar passes its day).
  void SelectReverse(CView* pSender = NULL);
  void SelectReverse(CView* pSender, const CThumbnailList& scope);
  // Empties the selection without telling the views.
  void ClearSelect();
  int GetSelectCount() const;
  CThumbnail* GetLastSelectedItem() const;  // null when nothing is selected
  // Empties the list, then fills it with the selected items' paths in selection order;
  // the number.
  int GetSelectFilePath(CStringList& list) const;
  // The selected items in selection order.
  const CThumbnailList& GetSelectList() const;

  // ---- Marks (the check marks of the thumbnail library, kept across runs) ------------
  // on nonzero marks, 0 unmarks; items that can't be marked (folders, card tracks) are
  // left alone (S_FALSE).
  HRESULT SetMark(CThumbnail* pThumbnail, int on);
  // Marks or unmarks every selected item that can be marked; the number changed.
  int SetMarkSelectedAll(int on);
  // Clears every mark: of the items shown and of the whole mark store.
  void ClearMark();
  // The number of marked files in the mark store (every folder).
  int GetMarkCount() const;

  // ---- Content -----------------------------------------------------------------------
  CThumbnailPageList& GetPageList();
  const CThumbnailPageList& GetPageList() const;
  // The pages but the calendar page.
  int GetFolderCount() const;
  // Files of the folder's pages that pass the filter type (folder entries don't count);
  // in the calendar modes the calendar page's files; in the music and audio modes every
  // file of the pages.
  int GetFileCount() const;
  // The item of that path (without regard to case) in the folder's pages; null when not shown.
  CThumbnail* GetThumbnail(LPCSTR pszPath) const;
  // Deletes every page (the calendar page too) and empties the selection.
  void DeleteAllPages();

  // Whether scans list sub-folders (profile DepthViewer\FolderVisible, written on change).
  BOOL IsSubFolderVisible() const;
  void SubFolderVisible(int bVisible);
  // The size pictures are decoded at in the current view mode (CViewMode::GetThumbnailSize).
  CSize GetDecodeImageSize() const;
  // Asks the views to rebuild the calendar from the shown folder (calendar modes only).
  void SetCalendarFolder(CView* pSender);
  // Renews the main window's view of the folder: nMode 1 refreshes the folder trees and
  // the browser (message 1540 with lParam nParam), 0 reloads the browser only (1656).
  // FALSE without a main window.
  BOOL RenewalBrowser(int nMode, int nParam);
  // The screen point of the last context menu; (-1, -1) when emptied.
  void SetContextMenuPosition(CPoint pt);
  CPoint GetContextMenuPosition() const;
  void EmptyContextMenuPosition();

  // ---- State ------------------------------------------------------------------------
  BROWSE_VIEW_MODE GetViewMode() const;
  void SetViewMode(BROWSE_VIEW_MODE mode, CView* pSender = NULL);
  void SetViewMode(UINT nBrowseFlag, CView* pSender = NULL) { SetViewMode(static_cast<BROWSE_VIEW_MODE>(nBrowseFlag), pSender); }
  void SetViewStatus(BROWSE_VIEW_ST status, CView* pSender = NULL);
  void ClearViewStatus(BROWSE_VIEW_ST status, CView* pSender = NULL);
  UINT GetViewStatus() const;
  const CBrowserStatus::CFolderType& GetFolderType() const;
  UINT GetFolderTypeFlag() const;  // the code's flag: 256, 512, 1024, 2048, 4096, 8192 or 0
  UINT GetFilterType() const;      // the filter's type mask
  void SetFilterType(UINT nMask, CView* pSender = NULL);
  UINT GetSortType() const;
  void SetSortType(UINT nSortID, CView* pSender = NULL);
  // Slide-show mode: the view-status bit BROWSE_ST_SLIDESHOW.
  void SetSlideShowMode(bool bOn);
  BOOL IsSlideShowMode() const;
  CBrowserStatus& GetBrowserStatus();
  const CBrowserStatus& GetBrowserStatus() const;

  // ---- Shared values ----------------------------------------------------------------
  // The document's clipboard object (never null).
  CExploreClipboardObject* GetClipboardObject() const;
  // The movie controller the browser made (kept, not owned).
  void SetMoviePlayer(void* pPlayer);
  void* GetMoviePlayer() const;
  // The unique id of the item the enlarged view shows (VXID_NONE when none).
  void SetFocusItemID(DWORD dwID);
  DWORD GetFocusItemID() const;

  // Writes the settings that outlive the program (view mode, thumbnail size, sort,
  // filter) to the profile; the document does it when it ends.
  void SaveSettings() const;

 private:
  void NotifyViews(CView* pSender, LPARAM lHint, CObject* pHint);
  void PostToMainWindow(UINT message);
  BOOL PruneSelection() const;
  BrowserDocImpl* m_p;
};
