// CVxGUITrans: the folder model — physical, virtual and AVCHD folders, single files,
// sub-folders, selection of all or nothing, progress and decoding.
#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>
#include <VxBDCore.h>
#include <VxProperty.h>
#include <VxResourceIds.h>

#include "TransInternal.h"
#include "ZoomWndController.h"

CProgressReporter* g_pTransProgress = NULL;
CTransFindCallback g_transFindCallback;

CProgressReporter::CProgressReporter(CVxGUITrans* pOwner, int nExpected, int nBase, int nRange)
    : m_pOwner(pOwner), m_nBase(nBase), m_nRange(nRange), m_nDone(0), m_nExpected(nExpected), m_nLastSent(-1) {}

void CProgressReporter::Step() {
  ++m_nDone;
  int percent = TransProgressPercent(m_nBase, m_nRange, m_nDone, m_nExpected);
  if (percent == m_nLastSent) return;
  m_nLastSent = percent;
  if (m_pOwner && m_pOwner->GetManager())
    ::SendNotifyMessageA(m_pOwner->GetManager(), WM_STATUS_PROGRESS, 0, percent);
}

// Keeps the reporter current for a scan's life.
struct CurrentReporter {
  explicit CurrentReporter(CProgressReporter* p) { g_pTransProgress = p; }
  ~CurrentReporter() { g_pTransProgress = NULL; }
};

CThumbnailPage* CVxGUITrans::FindPageByKey(const CThumbnailGroupInfo& key) const {
  CBrowserDocument* pDoc = GetBrowserDocument();
  return pDoc ? pDoc->GetPageList().FindByGroup(key) : NULL;
}
CThumbnailPage* CVxGUITrans::FindPageByName(LPCSTR pszName) const {
  CBrowserDocument* pDoc = GetBrowserDocument();
  return pDoc ? pDoc->GetPageList().FindByName(pszName) : NULL;
}

void CVxGUITrans::RecountFiles() {
  CBusyScope::CountFilteredFiles(this);
  CBusyScope::NotifyFileCount(this);
}

void CVxGUITrans::ResetFolder() {
  Thread_Stop();
  CBusyScope busy(this);
  CBusyScope::SetFileCount(0);
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return;
  if (IsZoomMode() && m_pZoom) {
    CString shown = m_pZoom->GetCurrentPath();
    if (!shown.IsEmpty() && ::GetFileAttributesA(shown) == INVALID_FILE_ATTRIBUTES) m_pZoom->Close();
  }
  pDoc->SelectAll(0, m_pView);
  if (IVxItemView* pItems = GetItemView()) pItems->DeleteAllItems();
  CThumbnailPageList& pages = pDoc->GetPageList();
  for (POSITION pos = pages.GetHeadPosition(); pos;) {
    POSITION at = pos;
    CThumbnailPage* pPage = pages.GetNext(pos);
    if (pPage && pPage->GetType() == VXPAGE_CALENDAR) {
      for (int i = pPage->GetCount() - 1; i >= 0; --i) {
        CThumbnail* p = pPage->GetAt(i);
        if (p && !p->IsValidPath()) pPage->Remove(p);
      }
      continue;
    }
    pages.RemoveAt(at);
    delete pPage;
  }
  pDoc->ClearSelect();
  // Painted when this thread is next idle: a change of folder fills the view first.
  if (GetSafeHwnd()) ::InvalidateRect(GetSafeHwnd(), NULL, FALSE);
}

BOOL CVxGUITrans::OnChangeFolder_CreateFolders(CCopyDataDispatcher* pCommand, BOOL) {
  if (!pCommand || !pCommand->IsValid()) return FALSE;
  switch (pCommand->GetFolderType()) {
    case 1: return CreatePhysicalFolder(pCommand);
    case 2: return CreateVirtualFolder(pCommand, TRUE);
    case 3: return CreateAVCHDImageFolder(pCommand);
  }
  return FALSE;  // the view stays empty
}

// ---- Physical folders ------------------------------------------------------------------------

int CVxGUITrans::CalcFileCount(CString strFolder, CProgressReporter* pCounter) {
  if (!TransIsCommandPath(strFolder) || !IsValidPath(strFolder)) return 0;
  CString pattern = TransWithBackslash(strFolder) + "*.*";
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA(pattern, &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  int n = 0;
  do {
    if (CThumbnail::IsFile(fd)) {
      if ((++n & 255) == 0) AnswerSentMessages();  // a large folder: stay answerable
      if (pCounter) pCounter->Step();
    }
  } while (::FindNextFileA(h, &fd));
  ::FindClose(h);
  return IsContinueChangeFolder() ? n : 0;
}

// Each folder is listed once: the listing gives the progress its count and the view its
// items (a second listing only for the count took a tenth of a folder seen before's opening).
BOOL CVxGUITrans::CreatePhysicalFolder(CCopyDataDispatcher* pCommand) {
  std::vector<FolderListing> listings;
  int count = 0;
  if (!CreatePhysicalFolder_List(pCommand, &listings, &count)) return FALSE;
  CProgressReporter reporter(this, count);
  CurrentReporter current(&reporter);
  BOOL b = CreatePhysicalFolder_AddFolders(pCommand, listings);
  CBusyScope busy(this);
  return b;
}

BOOL CVxGUITrans::CreatePhysicalFolder_List(CCopyDataDispatcher* pCommand, std::vector<FolderListing>* pListings,
                                            int* pnCount) {
  CBusyScope busy(this);
  int total = 0;
  for (int i = 0; i < pCommand->GetCount(); ++i) {
    LPCSTR raw = pCommand->GetPath(i);
    if (!TransIsCommandPath(raw)) continue;  // relative, empty or too long: not a folder
    FolderListing listing;
    listing.path = TransWithBackslash(raw);
    if (!IsValidPath(listing.path)) continue;
    if (IsCardAudioVoiceFolder() && !IsEnableReportMode()) {
      total += CalcFileCount(listing.path, NULL);  // the card's voice folder is read its own way
    } else {
      total += ListForAdding(&listing);
    }
    pListings->push_back(std::move(listing));
    if (!IsContinueChangeFolder()) return FALSE;
  }
  *pnCount = total;
  return TRUE;
}

BOOL CVxGUITrans::CreatePhysicalFolder_AddFolders(CCopyDataDispatcher* pCommand,
                                                  const std::vector<FolderListing>& listings) {
  m_folderList.RemoveAll();
  BOOL bAny = FALSE;
  for (size_t i = 0; i < listings.size() && IsContinueChangeFolder(); ++i) {
    const FolderListing& listing = listings[i];
    g_transFindCallback.m_pOwner = this;
    if (AddFolder(listing.path, pCommand->GetSourceNumber(), pCommand->GetSourceName(), TRUE, &g_transFindCallback,
                  listing.listed ? &listing : NULL)) {
      m_folderList.AddTail(listing.path);
      bAny = TRUE;
    }
  }
  if (!IsContinueChangeFolder()) {
    g_pTransProgress = NULL;
    if (m_hManager) ::SendNotifyMessageA(m_hManager, WM_STATUS_PROGRESS, 0, -1);
    return FALSE;
  }
  return bAny || pCommand->GetCount() == 0;
}

long CVxGUITrans::ListFolderAnswering(LPCSTR pszPath, std::vector<WIN32_FIND_DATAA>* pEntries) {
  // A folder of many thousand files takes a good part of a second to list and sort by name:
  // that runs on a thread of its own while this one answers what other threads send.
  CBrowserDocument* pDoc = GetBrowserDocument();
  const BOOL bSubFolders = pDoc && pDoc->IsSubFolderVisible();
  long r = 0;
  TransRunOnThreads(
      1, 1, [&](size_t) { r = CThumbnailPage::ListFolder(pszPath, bSubFolders, pEntries); },
      [] {
        AnswerSentMessages();
        return true;  // the listing can't be cut short: it is waited for, answering
      });
  return r;
}

int CVxGUITrans::ListForAdding(FolderListing* pListing) {
  pListing->listed = true;
  pListing->result = ListFolderAnswering(pListing->path, &pListing->entries);
  int files = 0;
  for (const WIN32_FIND_DATAA& fd : pListing->entries) files += CThumbnail::IsFile(fd) ? 1 : 0;
  return files;
}

BOOL CVxGUITrans::AddFolder(LPCSTR pszPath, int nGroup, LPCSTR pszName, BOOL bCheckCancel,
                            IThumbnailPage_AddFolderCallback* pCallback, const FolderListing* pListed) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc || !pszPath || !*pszPath) return FALSE;
  CThumbnailGroupInfo key(nGroup + 1, TransWithBackslash(pszPath));
  if (FindPageByKey(key)) return FALSE;
  CThumbnailPageList& pages = pDoc->GetPageList();
  CThumbnailPage* pPage = new CThumbnailPage(VXPAGE_FOLDER, (int)pages.GetCount() + 1);
  pages.AddPage(pPage);
  pPage->SetGroupInfo(key);
  pPage->SetName(pszName);
  long r;
  if (IsCardAudioVoiceFolder() && !IsEnableReportMode()) {
    r = pPage->Add_SDAudio(pszPath, pCallback);
  } else {
    // The items come into the view here, in pieces between pumps.
    std::vector<WIN32_FIND_DATAA> entries;
    r = pListed ? pListed->result : ListFolderAnswering(pszPath, &entries);
    if (r == 0 && bCheckCancel && !IsContinueChangeFolder()) return FALSE;
    if (r == 0) r = pPage->AddListed(pszPath, pListed ? pListed->entries : entries, pCallback);
  }
  if (r != 0) return FALSE;
  return !(bCheckCancel && !IsContinueChangeFolder());
}

// The per-item step of every scan: progress, a pump that lets a newer command cut the scan
// short, and the item into the view. Items are added on the user-interface thread only.
long CVxGUITrans::FileFindCallBack(CThumbnail* pItem, CVxGUITrans* pOwner) {
  BOOL bUiThread = ::GetCurrentThreadId() == TransMainThreadId();
  if (!bUiThread) ::Sleep(0);
  if (g_pTransProgress) g_pTransProgress->Step();
  if (!bUiThread) return 0;
  long pump = ScanPumpDue() ? PumpMessages(ScanPumpFilter, pOwner) : 0;
  if (pump < 0 || (pOwner && !pOwner->IsContinueChangeFolder())) {
    if (pOwner)
      if (IVxItemView* pItems = pOwner->GetItemView()) pItems->DeleteAllItems();
    return ERROR_CANCELLED;
  }
  if (!pOwner || !pItem) return 0;
  CBrowserDocument* pDoc = pOwner->GetBrowserDocument();
  UINT mask = pDoc ? pDoc->GetFilterType() : 0;
  if (!IsShownUnder(pItem, mask)) return 0;
  if (IVxItemView* pItems = pOwner->GetItemView()) pItems->AddItem(pItem);
  return 0;
}

// ---- Virtual folders ---------------------------------------------------------------------------

BOOL CVxGUITrans::CreateVirtualFolder(CCopyDataDispatcher* pCommand, BOOL bPump) {
  CStringList names;
  pCommand->GetFolderNameList(&names);
  BOOL b = CreateVirtualFolder_AddFolder(pCommand, names) && CreateVirtualFolder_AddFiles(pCommand, names, bPump);
  m_folderList.RemoveAll();
  return b && IsContinueChangeFolder();
}

BOOL CVxGUITrans::CreateVirtualFolder_AddFolder(CCopyDataDispatcher* pCommand, const CStringList& names) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return FALSE;
  CThumbnailPageList& pages = pDoc->GetPageList();
  for (POSITION pos = names.GetHeadPosition(); pos && IsContinueChangeFolder();) {
    CString name = names.GetNext(pos);
    if (FindPageByName(name)) continue;
    INT_PTR before = pages.GetCount();
    CThumbnailPage* pPage = new CThumbnailPage(VXPAGE_VIRTUAL, (int)before + 1);
    pPage->SetGroupInfo(CThumbnailGroupInfo(pCommand->GetSourceNumber() + 1, NULL));
    pPage->SetName(name);
    pages.AddPage(pPage);
    if (pages.GetCount() != before + 1) AfxThrowMemoryException();
  }
  return IsContinueChangeFolder();
}

BOOL CVxGUITrans::CreateVirtualFolder_AddFiles(CCopyDataDispatcher* pCommand, const CStringList& names, BOOL bPump) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return FALSE;
  int count = pCommand->GetCount();
  int lastPercent = -1;
  BOOL bCardFolder = IsCardAudioVoiceFolder() && !IsEnableReportMode();
  for (int i = 0; i < count && IsContinueChangeFolder(); ++i) {
    if (bPump) {
      long pump = ScanPumpDue() ? PumpMessages(ScanPumpFilter, this) : 0;
      if (pump < 0) {
        if (IVxItemView* pItems = GetItemView()) pItems->DeleteAllItems();
        return FALSE;
      }
    }
    LPCSTR path = pCommand->GetPath(i);
    int idx = TransVirtualGroupIndex(pCommand->GetGroupNumber(i));
    POSITION np = names.FindIndex(idx);
    CThumbnailPage* pPage = np ? FindPageByName(names.GetAt(np)) : NULL;
    if (pPage && TransIsCommandPath(path)) {
      CString pageName = pPage->GetName();
      CThumbnail* pNew = NULL;
      long r;
      if (!IsEnableReportMode() &&
          (pageName.CompareNoCase(GetCardAudioAreaName()) == 0 || pageName.CompareNoCase(GetCardVoiceAreaName()) == 0))
        r = pPage->Add_SDAudio(path, NULL, &pNew);
      else
        r = pPage->Add(path, 1, &pNew);
      if (r != 0) {
        if (pPage->GetCount() == 0) pDoc->GetPageList().RemovePage(pPage, TRUE);
      } else if (pNew) {
        if (IsShownUnder(pNew, pDoc->GetFilterType()))
          if (IVxItemView* pItems = GetItemView()) pItems->AddItem(pNew);
        if ((pDoc->GetFolderTypeFlag() & 0x1000) || bCardFolder) pNew->SetOriginalSortSource("00000000");
      }
    }
    int percent = TransProgressPercent(0, 100, i + 1, count);
    if (percent != lastPercent) {
      lastPercent = percent;
      if (m_hManager) ::SendNotifyMessageA(m_hManager, WM_STATUS_PROGRESS, 0, percent);
    }
  }
  return IsContinueChangeFolder();
}

// ---- AVCHD image folders ---------------------------------------------------------------------

BOOL CVxGUITrans::CreateAVCHDImageFolder(CCopyDataDispatcher* pCommand) {
  // The scenes' properties are read through the disc-movie core, which holds the title
  // lists they come from: the property reader asks it for a scene's stream.
  static const bool resolving = SUCCEEDED(::PrSetAVCHDSceneResolver(VxBDResolveScene, NULL));
  (void)resolving;
  IVxBDCoreObject* pCore = GetVxBDCoreObject();
  if (!pCore) return FALSE;
  IVxBDImageList* pList = pCore->GetImageList();
  if (!pList) {
    pCore->Release();
    return FALSE;
  }
  long last = 0;
  for (int i = 0; i < pCommand->GetCount() && last == 0; ++i) {
    CString base, page;
    int first = 0, second = 0;
    if (!TransSplitAVCHDPath(pCommand->GetPath(i), &base, &first, &second, &page)) {
      last = E_INVALIDARG;
      break;
    }
    long n = pList->GetImageCount(base, first, second);
    if (n < 0) {
      last = n;
      break;
    }
    for (long k = 0; k < n; ++k) {
      VXBDIMAGEINFO info;
      WCHAR wpath[MAX_PATH];
      last = pList->GetImageInfo(base, first, second, k, &info);
      if (last == 0) last = pList->GetImagePath(base, first, second, k, wpath, MAX_PATH);
      if (last != 0) break;
      char path[MAX_PATH];
      if (!::WideCharToMultiByte(CP_ACP, 0, wpath, -1, path, MAX_PATH, NULL, NULL)) {
        last = E_FAIL;
        break;
      }
      g_transFindCallback.m_pOwner = this;
      if (!AddFolderAVCHD(path, pCommand->GetSourceNumber(), page, TRUE, &g_transFindCallback, first, second, (int)k)) {
        last = IsContinueChangeFolder() ? 0 : E_ABORT;
        if (last) break;
        continue;
      }
      // A scene of a card's movie tree is a disc item: the core deletes it by this reference;
      // a part of a disc's title plays its title through the core's player.
      DWORD ref[4];
      CThumbnailPage* pPage = FindPageByKey(CThumbnailGroupInfo(pCommand->GetSourceNumber() + 1, page));
      CThumbnail* pItem = pPage ? pPage->Find(path) : NULL;
      if (pItem && TransDiscRefOf(base, info.nTree, info.nPlaylist, info.nPart, info.stRecorded, path, ref)) pItem->SetDiscRef(ref);
    }
  }
  pCore->Release();
  return last == 0;
}

BOOL CVxGUITrans::AddFolderAVCHD(LPCSTR pszPath, int nGroup, LPCSTR pszName, BOOL bCheckCancel,
                                 IThumbnailPage_AddFolderCallback* pCallback, int nFirst, int nSecond, int nImage) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc || !pszPath || !*pszPath) return FALSE;
  CThumbnailGroupInfo key(nGroup + 1, pszName);
  CThumbnailPage* pPage = FindPageByKey(key);
  if (!pPage) {
    CThumbnailPageList& pages = pDoc->GetPageList();
    pPage = new CThumbnailPage(VXPAGE_FOLDER, (int)pages.GetCount() + 1);
    pages.AddPage(pPage);
    pPage->SetGroupInfo(key);
    pPage->SetName(pszName);
  }
  long r = pPage->AddAVCHD(pszPath, pDoc->IsSubFolderVisible(), pCallback, 0, nFirst, nSecond, nImage);
  if (r != 0) return FALSE;
  return !(bCheckCancel && !IsContinueChangeFolder());
}

// ---- Sub-folders ---------------------------------------------------------------------------

long CVxGUITrans::GotoSubFolder(CThumbnail* pItem) {
  if (!pItem) return ERROR_INVALID_PARAMETER;
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return ERROR_INVALID_PARAMETER;
  CThumbnail* pTarget = pItem;
  if (!(pItem->IsFolder() && pItem->GetKindFlags() != VXTYPE_FOLDER_SHORTCUT)) {
    char link[520];
    BOOL bFolder = FALSE;
    if (FAILED(pItem->GetLinkedFilePath(link, sizeof(link), &bFolder)) || !bFolder) return ERROR_INVALID_PARAMETER;
    pTarget = pDoc->GetThumbnail(link);
    if (!pTarget) return ERROR_INVALID_PARAMETER;
  }
  long r = GotoSubFolder(pTarget->GetPage(), pTarget);
  // The main window heard of the move (1534); the trees are not asked to refresh, or one that
  // did not follow (the card's section over a folder shown from outside) sends its own back.
  if (!IsCalendarMode()) ReloadAllGroups(FALSE);
  if (GetSafeHwnd()) ::RedrawWindow(GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
  DecodeThread_Start(TRUE);
  return r;
}

long CVxGUITrans::GotoSubFolder(CThumbnailPage* pPage, CThumbnail* pItem) {
  if (!pPage || !pItem) return ERROR_INVALID_PARAMETER;
  Thread_Stop();
  CWaitCursor wait;
  CString path = pItem->GetFilePath();
  CString name = pPage->GetName();
  CThumbnailGroupInfo key = pPage->GetGroupInfo();
  long out = 0;
  long r = GotoFolder(key, name, path, &out);
  if (r == 0) FocusMode_RefreshSelectItem();
  return r;
}

long CVxGUITrans::GotoFolder(const CThumbnailGroupInfo& key, LPCSTR pszName, LPCSTR pszPath, long* pOut) {
  if (!pOut) return ERROR_INVALID_PARAMETER;
  ::SetLastError(0);
  CString pattern = TransWithBackslash(pszPath) + "*.*";
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA(pattern, &fd);
  if (h == INVALID_HANDLE_VALUE) {
    DWORD err = ::GetLastError();
    if (err != ERROR_FILE_NOT_FOUND) {
      SystemErrorBox(GetSafeHwnd(), err);
      return (long)err;
    }
  } else {
    ::FindClose(h);
  }
  ResetFolder();
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (IsContinueChangeFolder() == 1) {
    CMWriteProfileInt(VXDOC_SECTION, "ChangeFolder", 0);
    for (int pass = 0; pass < 2 && pDoc; ++pass) {
      const CThumbnailPageList& pages = pDoc->GetPageList();
      for (POSITION pos = pages.GetHeadPosition(); pos;)
        if (CThumbnailPage* p = pages.GetNext(pos)) p->Stop();
    }
  }
  CMWriteProfileInt(VXDOC_SECTION, "ChangeFolder", 1);
  FolderListing listing;
  listing.path = TransWithBackslash(pszPath);
  int count = ListForAdding(&listing);
  BOOL bAdded;
  {
    CProgressReporter reporter(this, count);
    CurrentReporter current(&reporter);
    g_transFindCallback.m_pOwner = NULL;
    bAdded = AddFolder(pszPath, key.GetGroup() - 1, pszName, FALSE, &g_transFindCallback, &listing);
  }
  CMWriteProfileInt(VXDOC_SECTION, "ChangeFolder", 0);
  if (!bAdded || ResetView() < 0) return 1;
  m_folderList.RemoveAll();
  m_folderList.AddTail(TransWithBackslash(pszPath));
  SendCopyData(CDID_CHANGE_FOLDER, TransChangeFolderText(key.GetGroup() - 1, pszName, 1, pszPath));
  if (m_pView)
    if (CFrameWnd* pFrame = m_pView->GetParentFrame()) pFrame->SetActiveView(m_pView);
  RecountFiles();
  *pOut = 0;
  return 0;
}

// ---- Single files -------------------------------------------------------------------------

BOOL CVxGUITrans::AddFile(LPCSTR pszPath, int nGroup, LPCSTR) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc || !pszPath || !*pszPath) return FALSE;
  CThumbnailPageList& pages = pDoc->GetPageList();
  CThumbnailPage* pFirst = pages.GetPageAt(0);
  if (!pFirst || pFirst->GetGroupInfo().GetText().IsEmpty() || !IsValidPath(pszPath)) return FALSE;
  CThumbnail* pItem = new CThumbnail();
  if (FAILED(pItem->SetPath(pszPath))) {
    delete pItem;
    return FALSE;
  }
  CString path(pszPath);
  int cut = path.ReverseFind('\\');
  CString folder = cut >= 0 ? path.Left(cut + 1) : CString();
  CThumbnailGroupInfo key(nGroup + 1, folder);
  CThumbnailPage* pPage = FindPageByKey(key);
  if (!pPage) {
    pPage = new CThumbnailPage(VXPAGE_VIRTUAL, (int)pages.GetCount() + 1);
    pPage->SetGroupInfo(key);
    pages.AddPage(pPage);
  }
  if (pPage->Find(pszPath)) {
    delete pItem;
    return FALSE;
  }
  if (pPage->Add(pItem) != 0) {
    delete pItem;
    return FALSE;
  }
  if (IsShownUnder(pItem, pDoc->GetFilterType()))
    if (IVxItemView* pItems = GetItemView()) pItems->AddItem(pItem);
  return TRUE;
}

BOOL CVxGUITrans::UpdateFile(LPCSTR pszPath, UINT nKindBits) {
  if (!pszPath || !*pszPath) return FALSE;
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return TRUE;
  ForEachPageItem(pDoc, true, [&](CThumbnail* p) {
    if (*p == pszPath && p->HasKind(nKindBits)) p->ClearImage(TRUE);
    return true;
  });
  return TRUE;
}

BOOL CVxGUITrans::DeleteItems(CStringList& list, BOOL bDatabase) {
  if (list.IsEmpty()) return FALSE;
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return FALSE;
  BeginUpdate();
  pDoc->SelectAll(0, m_pView);
  IVxItemView* pItems = GetItemView();
  if (pItems) pItems->UnSelectAll(FALSE);
  for (POSITION pos = list.GetHeadPosition(); pos;) {
    CString path = list.GetNext(pos);
    CThumbnail* p = pDoc->GetThumbnail(path);
    if (!p) continue;
    if (pItems) pItems->RemoveItem(p);
    if (CThumbnailPage* pPage = p->GetPage()) pPage->Remove(p);
  }
  EndUpdate();
  if (pItems) pItems->Arrange(TRUE);
  if (bDatabase) DeleteRecords(list);
  return FALSE;
}

BOOL CVxGUITrans::CreateSelectFileList(int, CStringList& list, UINT nKindBits, int* pnCount) {
  list.RemoveAll();
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return FALSE;
  const CThumbnailList& sel = pDoc->GetSelectList();
  for (POSITION pos = sel.GetHeadPosition(); pos;) {
    CThumbnail* p = sel.GetNext(pos);
    if (!p || !p->HasKind(nKindBits)) continue;
    CString path = p->GetFilePath();
    list.AddTail(path);
    p->Cut(false);
  }
  if (GetSafeHwnd()) ::InvalidateRect(GetSafeHwnd(), NULL, FALSE);
  return TRUE;
}

void CVxGUITrans::SelectAllThumbnail() {
  CBrowserDocument* pDoc = GetBrowserDocument();
  IVxItemView* pItems = GetItemView();
  if (!pDoc || !pItems) return;
  if (CFrameWnd* pFrame = m_pView->GetParentFrame()) pFrame->SetActiveView(m_pView);
  BeginUpdate();
  CList<CThumbnail*, CThumbnail*> shown;
  pItems->CollectThumbnail(shown, -1);
  for (POSITION pos = shown.GetHeadPosition(); pos;) {
    CThumbnail* p = shown.GetNext(pos);
    pItems->Select(p->GetUniqueID(VXID_SLOT_VIEW), TRUE, FALSE);
  }
  pItems->SelectItems_End();
  EndUpdate();
}

void CVxGUITrans::UnSelectAllThumbnail() {
  CBrowserDocument* pDoc = GetBrowserDocument();
  IVxItemView* pItems = GetItemView();
  if (!pDoc) return;
  if (m_pView && m_pView->GetSafeHwnd()) m_pView->SetFocus();
  BeginUpdate();
  if (pItems) pItems->UnSelectAll(TRUE);
  pDoc->SelectAll(0, m_pView);
  EndUpdate();
}

void CVxGUITrans::UnCutAll() {
  IVxItemView* pItems = GetItemView();
  if (!pItems) return;
  CList<CThumbnail*, CThumbnail*> cut;
  pItems->CollectThumbnail(cut, 4);
  for (POSITION pos = cut.GetHeadPosition(); pos;) pItems->SetCut(cut.GetNext(pos)->GetUniqueID(VXID_SLOT_VIEW), FALSE);
}

// ---- Decoding --------------------------------------------------------------------------------

// Runs on the decoder's thread: reads the item's favourite state and asks the user-interface
// thread to redraw it. Nothing of the view is touched here.
static void DecodeCallback(CThumbnail* pItem, void* pContext) {
  CVxGUITrans* pThis = static_cast<CVxGUITrans*>(pContext);
  if (!pItem || !pThis) return;
  // The favourite state is the item's: written under its lock, as the picture is.
  pItem->ThreadLock();
  pItem->MyFavoriteExtract(0);
  if (pThis->IsDPOFFavouriteWanted(pItem->GetPage())) pItem->MyFavoriteExtract(1);
  pItem->ThreadUnlock();
  pThis->PictureDecoded(pItem->GetUniqueID(VXID_SLOT_VIEW));
}

void CVxGUITrans::PictureDecoded(DWORD dwID) {
  if (m_pDecoded->Add(dwID))
    if (HWND h = GetSafeHwnd()) ::PostMessageA(h, TransMsgs().uPicturesDecoded, 0, 0);
}

BOOL CVxGUITrans::OnPicturesDecoded(WPARAM, LPARAM, LRESULT* pResult) {
  *pResult = 0;
  std::vector<DWORD> ids = m_pDecoded->Take();
  if (IVxItemView* pItems = GetItemView())
    for (DWORD id : ids) pItems->RedrawPicture(id);
  // Painted now: while the decoder keeps posting, a waiting paint would come last.
  if (GetSafeHwnd()) ::UpdateWindow(GetSafeHwnd());
  return TRUE;
}

BOOL CVxGUITrans::IsDPOFFavouriteWanted(CThumbnailPage* pPage) const {
  int drive = PageDriveIndex(pPage);
  return m_bDPOFFavourite && drive >= 0 && (m_dwDPOFDrives >> drive & 1);
}

void CVxGUITrans::DecodeThread_Start(BOOL bWithList) {
  // Read here, on the user-interface thread, for the decoder's callback (with no run going).
  CThumbnailPage::DecodeStop();
  CBrowserDocument* pDocNow = GetBrowserDocument();
  m_bDPOFFavourite = IsMyFavoriteDPOF() && pDocNow && pDocNow->GetFolderType().IsExplorerFolder();
  m_dwDPOFDrives = 0;
  if (m_bDPOFFavourite) {
    const CThumbnailPageList& pages = pDocNow->GetPageList();
    for (POSITION pos = pages.GetHeadPosition(); pos;) {
      CThumbnailPage* pPage = pages.GetNext(pos);
      int drive = PageDriveIndex(pPage);
      if (drive >= 0 && !(m_dwDPOFDrives >> drive & 1) && IsRemovableDrive(pPage)) m_dwDPOFDrives |= 1u << drive;
    }
  }
  if (bWithList) DecodeThread_AddtionalList();
  if (GetSafeHwnd()) ::InvalidateRect(GetSafeHwnd(), NULL, FALSE);
  CBrowserDocument* pDoc = GetBrowserDocument();
  int cell = pDoc ? TransThumbnailCell(IsCalendarMode(), IsLargeIconMode(), pDoc->GetBrowserStatus().GetThumbMode()) : 80;
  CThumbnailPage::DecodeStart(CSize(cell, cell), DecodeCallback, this);
}

void CVxGUITrans::DecodeThread_AddtionalList() {
  Thread_Stop();
  DecodeThread_ShownList();
}

// The decode list becomes the shown items in display order, from the top; a running decoder
// goes on with it.
void CVxGUITrans::DecodeThread_ShownList() {
  CThumbnailPage::ClearDecodeThumbnailList();
  IVxItemView* pItems = GetItemView();
  if (!pItems) return;
  CList<CThumbnail*, CThumbnail*> shown;
  pItems->CollectThumbnail(shown, -1);
  CThumbnailPage::SetDecodeTumbnailList(shown);
  CThumbnailPage::SetDecodeStartPos(0);
}

void CVxGUITrans::Thread_Stop() { CThumbnailPage::DecodeStop(); }
void CVxGUITrans::Thread_Suspend() { CThumbnailPage::DecodeStop(); }
void CVxGUITrans::Thread_Resume() {
  CBrowserDocument* pDoc = GetBrowserDocument();
  int cell = pDoc ? TransThumbnailCell(IsCalendarMode(), IsLargeIconMode(), pDoc->GetBrowserStatus().GetThumbMode()) : 80;
  CThumbnailPage::DecodeStart(CSize(cell, cell), DecodeCallback, this);
}
