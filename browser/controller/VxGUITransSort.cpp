// CVxGUITrans: sort, filter and view state.
#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>

#include "TransInternal.h"

#include <vector>

LPCSTR CVxGUITrans::GetSortChar(UINT nSortID, bool& bAscending) {
  static char s_szKeys[8];
  bAscending = (nSortID & 1) != 0;
  if (nSortID == 10) {
    SetSortType(nSortID);
    return NULL;
  }
  if (nSortID < 11 || nSortID > 30) return NULL;
  SetSortType(nSortID);
  BOOL bCardAudio = IsCardAudioVoiceFolder() && !IsEnableReportMode();
  CString keys = VxSortKeyString(nSortID, bCardAudio, &bAscending);
  lstrcpynA(s_szKeys, keys, sizeof(s_szKeys));
  return s_szKeys;
}

static int CALLBACK CompareBySortString(CThumbnail* p1, CThumbnail* p2, LPARAM lSortID) {
  return TransCompareSortStrings(p1 ? p1->GetSortString() : NULL, p2 ? p2->GetSortString() : NULL, (UINT)lSortID);
}

void CVxGUITrans::Sort(UINT nSortID, BOOL) {
  Thread_Stop();
  if (SortShownItems(nSortID)) Thread_Resume();
}

BOOL CVxGUITrans::SortShownItems(UINT nSortID) {
  CWaitCursor wait;
  bool bAscending = true;
  LPCSTR keys = GetSortChar(nSortID, bAscending);
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!keys || !pDoc) return FALSE;
  const CThumbnailPageList& pages = pDoc->GetPageList();
  for (POSITION pos = pages.GetHeadPosition(); pos;)
    if (CThumbnailPage* p = pages.GetNext(pos)) p->CreateSortString(keys, bAscending);
  IVxItemView* pItems = GetItemView();
  if (!pItems) return FALSE;
  AnswerSentMessages();  // the keys of thousands of items took a while
  pItems->SortItems(CompareBySortString, nSortID);
  // The details list follows the new order: row = list ID.
  if (m_pReportCtrl && m_pReportCtrl->GetSafeHwnd()) {
    m_pReportCtrl->RebuildIDs();
    if (IsReportVisible()) m_pReportCtrl->StartWorker();
  }
  DWORD focus = pItems->GetFocusItem();
  if (!IsReportVisible() && focus != VXID_NONE && pItems->GetThumbnail(focus)) pItems->EnsureVisible(focus, FALSE);
  return TRUE;
}

BOOL CVxGUITrans::SortOnFolderChanging(UINT nSortID, BOOL) {
  Thread_Stop();
  IVxItemView* pItems = GetItemView();
  CBrowserDocument* pDoc = GetBrowserDocument();
  std::vector<CThumbnail*> items;
  ForEachPageItem(pDoc, false, [&](CThumbnail* p) {
    items.push_back(p);
    return true;
  });
  // A folder seen before: what its unchanged files gave last time comes from the photo
  // database, and only the others are read.
  std::vector<BOOL> kept(items.size());
  if (!items.empty() && CThumbnail::UseKeptFacts(items.data(), int(items.size()), kept.data()) > 0) {
    size_t n = 0;
    for (size_t i = 0; i < items.size(); ++i)
      if (!kept[i]) items[n++] = items[i];
    items.resize(n);
  }
  // Each file's head gives its date, and keeps the embedded thumbnail's bytes for the
  // decoder. The heads are read on this thread, one after the other: under Wine every open
  // and close is a round trip to the server, and reading on threads of their own, which
  // queue there, was measured slower than this thread alone.
  // Between files this thread answers what other threads send (a newer change of folder is
  // only queued, and ends this one). The files are closed afterwards, on another thread.
  struct HeadPass {
    HeadPass() { CThumbnail::BeginHeadPass(); }
    ~HeadPass() { CThumbnail::EndHeadPass(); }
  };
  // Nothing to read (every file seen before and unchanged): the view is laid out once, by
  // the sort, and the decoder starts on the sorted items.
  if (items.empty()) {
    BOOL bSorted = SortShownItems(nSortID);
    AnswerSentMessages();
    if (bSorted) DecodeThread_Start(TRUE);
    return bSorted;
  }
  bool bCancelled;
  {
    HeadPass pass;
    bCancelled = !TransRunOnThreads(
        items.size(), 0, [&](size_t i) { items[i]->UpdateRecTime(); },
        [this] {
          AnswerSentMessages();
          return IsContinueChangeFolder() && !HasWaitingFolderChange();
        },
        [&] {
          // First the view arranges itself (the layout takes no dates), and the decoder's
          // threads are made ready, to be given the items once they are sorted (a decoder at
          // work beside the date pass only slows it). Over thousands of items each step takes
          // a while: answer between them.
          if (pItems) {
            pItems->Arrange(FALSE);
            AnswerSentMessages();
            pItems->SetPicturesShown(FALSE);
          }
          CThumbnailPage::ClearDecodeThumbnailList();
          AnswerSentMessages();
          DecodeThread_Start(FALSE);
        });
  }
  BOOL bSorted = !bCancelled && SortShownItems(nSortID);
  AnswerSentMessages();
  if (pItems) pItems->SetPicturesShown(TRUE);
  if (!bSorted) return FALSE;
  // The pictures of the first screen come first.
  DecodeThread_ShownList();
  return TRUE;
}

int CVxGUITrans::OnFilter(UINT nFilterID, BOOL) {
  UINT mask = 0;
  if (!CBrowserStatus::MaskOfFilterID((int)nFilterID, &mask)) return 0;
  SetFilterType(mask);
  CBrowserDocument* pDoc = GetBrowserDocument();
  ForEachPageItem(pDoc, false, [&](CThumbnail* p) {
    if (p->IsFolder()) {
      p->ClearImage(TRUE);
      p->ClearImageInfo();
      p->SetFolderImageType(TransFolderPreviewType(mask));
    }
    return true;
  });
  if (ResetView() >= 0) FocusMode_RefreshSelectItem();
  return 0;
}

void CVxGUITrans::SetSortType(UINT nSortID) {
  if (CBrowserDocument* pDoc = GetBrowserDocument()) pDoc->SetSortType(nSortID, m_pView);
}
UINT CVxGUITrans::GetSortType() const {
  CBrowserDocument* pDoc = GetBrowserDocument();
  return pDoc ? pDoc->GetBrowserStatus().GetSortID() : 11;
}
void CVxGUITrans::SetFilterType(UINT nMask) {
  if (CBrowserDocument* pDoc = GetBrowserDocument()) pDoc->SetFilterType(nMask, m_pView);
}
UINT CVxGUITrans::GetFilterType() const {
  CBrowserDocument* pDoc = GetBrowserDocument();
  return pDoc ? pDoc->GetBrowserStatus().GetThumbnailFilterID() : 0;
}

void CVxGUITrans::SetViewModeFlag(UINT nBrowseFlag, BOOL) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return;
  CThumbnail::SetSDAudioImageSizeFlag(pDoc->GetViewMode() == BROWSE_VIEW_AUDIOLIST ? 1 : 0);
  pDoc->SetViewMode(nBrowseFlag, m_pView);
  UINT code = pDoc->GetFolderType().GetCode();
  if (IsAudioMode()) {
    delete m_pExportLock;
    m_pExportLock = new CExportPaneLock(this);
  } else if (code != FOLDER_TYPE_SDCARD_PRINTORDER && code != FOLDER_TYPE_SDCARD_DISC) {
    delete m_pExportLock;
    m_pExportLock = NULL;
  }
}

void CVxGUITrans::SetExecuteState(BOOL bCreated) {
  CMarloRegManager reg(EXESTATE_SECTION, KEY_READ | KEY_WRITE);
  reg.SetInt(EXESTATE_BROWSER_CREATED, bCreated == 1 ? 1 : 0);
}

void CVxGUITrans::ReverseSelectThumbnail() {
  CBrowserDocument* pDoc = GetBrowserDocument();
  IVxItemView* pItems = GetItemView();
  if (!pDoc || !pItems) return;
  if (CFrameWnd* pFrame = m_pView->GetParentFrame()) pFrame->SetActiveView(m_pView);
  ++m_nSelectEcho;
  CList<CThumbnail*, CThumbnail*> shown;
  pItems->CollectThumbnail(shown, -1);
  for (POSITION pos = shown.GetHeadPosition(); pos;) {
    CThumbnail* p = shown.GetNext(pos);
    pItems->Select(p->GetUniqueID(VXID_SLOT_VIEW), !p->IsSelect(), FALSE);
  }
  if (m_nSelectEcho > 0) --m_nSelectEcho;
  if (GetSafeHwnd()) ::InvalidateRect(GetSafeHwnd(), NULL, TRUE);
}
