// CVxGUITrans: group reload and view reset.
#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>

#include "TransInternal.h"

// The last folder name of a group's folder path ("...\SD_Voice\" -> "SD_Voice").
static CString LastFolderName(const CString& folder) {
  CString s = folder;
  while (!s.IsEmpty() && s[s.GetLength() - 1] == '\\') s = s.Left(s.GetLength() - 1);
  int cut = s.ReverseFind('\\');
  return cut >= 0 ? s.Mid(cut + 1) : s;
}

void CVxGUITrans::ReloadAllGroups(BOOL bRefreshTrees) {
  if (::InterlockedCompareExchange(&m_lReloadBusy, 1, 0) != 0) return;
  CBrowserDocument* pDoc = GetBrowserDocument();
  IVxItemView* pItems = GetItemView();
  // Without a folder shown there is nothing to reload.
  if (!pDoc || pDoc->GetPageList().IsEmpty()) {
    ::InterlockedExchange(&m_lReloadBusy, 0);
    return;
  }
  ToolbarEnable(FALSE);
  MovieCtrl_Unload();
  {
    CBusyScope busy(this);
    CThumbnailPageList& pages = pDoc->GetPageList();
    ForEachPageItem(pDoc, true, [](CThumbnail* p) {
      p->IsValidPath();
      return true;
    });
    if (bRefreshTrees && m_hManager) ::SendMessageA(m_hManager, WM_REFRESH_FOLDERS, (WPARAM)m_hManager, 1);
    pDoc->SelectAll(0, m_pView);
    CWaitCursor wait;
    if (pItems) {
      pItems->DeleteAllItems();
      pItems->SetItemsShown(FALSE);
      pItems->EnableDrawing(FALSE);
    }
    int expected = 0;
    for (POSITION pos = pages.GetHeadPosition(); pos;) {
      CThumbnailPage* pPage = pages.GetNext(pos);
      const CThumbnailGroupInfo& g = pPage->GetGroupInfo();
      expected += (g.IsValid() && g.IsFolder()) ? CalcFileCount(g.GetText(), NULL) : 1;
    }
    CProgressReporter reporter(this, expected);
    g_pTransProgress = &reporter;
    g_transFindCallback.m_pOwner = this;
    for (POSITION pos = pages.GetHeadPosition(); pos;) {
      CThumbnailPage* pPage = pages.GetNext(pos);
      const CThumbnailGroupInfo g = pPage->GetGroupInfo();
      if (!g.IsValid() || !g.IsFolder()) {
        pPage->RemoveAllInvalidThumbnail();
        for (int i = 0; i < pPage->GetCount(); ++i) {
          CThumbnail* p = pPage->GetAt(i);
          if (p && pItems && IsShownUnder(p, pDoc->GetFilterType())) pItems->AddItem(p);
        }
        continue;
      }
      pPage->RemoveAll();
      CString name = LastFolderName(g.GetText());
      if (!IsEnableReportMode() && g.GetGroup() == 4 &&
          (name.CompareNoCase("SD_Audio") == 0 || name.CompareNoCase("SD_Voice") == 0))
        pPage->Add_SDAudio(g.GetText(), &g_transFindCallback);
      else
        pPage->Add(g.GetText(), pDoc->IsSubFolderVisible(), &g_transFindCallback, 0);
    }
    g_pTransProgress = NULL;
    Sort(GetSortType(), TRUE);

    if (CMGetProfileInt(VXDOC_SECTION, "SelectFlag", 0) == 1) {
      CString want = CMGetProfileString(VXDOC_SECTION, "SelectFilePath", "");
      if (!want.IsEmpty() && pItems && pItems->GetItemCount() > 0) {
        CList<CThumbnail*, CThumbnail*> shown;
        pItems->CollectThumbnail(shown, -1);
        for (POSITION pos = shown.GetHeadPosition(); pos;) {
          CThumbnail* p = shown.GetNext(pos);
          if (p->GetFilePath().CompareNoCase(want) == 0) {
            pItems->Select(p->GetUniqueID(VXID_SLOT_VIEW), TRUE, FALSE);
            break;
          }
        }
      }
      CMWriteProfileInt(VXDOC_SECTION, "SelectFlag", 0);
    }
  }
  if (m_hManager) ::SendMessageA(m_hManager, WM_STATUS_MARK_COUNT, 0, 0);
  FocusMode_RefreshSelectItem();
  ToolbarEnable(TRUE);
  if ((pItems = GetItemView()) != NULL) {
    pItems->SetItemsShown(TRUE);
    pItems->EnableDrawing(TRUE);
  }
  if (GetSafeHwnd()) {
    ::InvalidateRect(GetSafeHwnd(), NULL, TRUE);
    ::UpdateWindow(GetSafeHwnd());
  }
  DecodeThread_Start(TRUE);
  ::InterlockedExchange(&m_lReloadBusy, 0);
}

int CVxGUITrans::ResetView() {
  CBrowserDocument* pDoc = GetBrowserDocument();
  IVxItemView* pItems = GetItemView();
  if (!pDoc) return 0;
  UINT mask = pDoc->GetFilterType();
  pDoc->SelectAll(0, m_pView);
  if (pItems) pItems->DeleteAllItems();
  CThumbnailPage::ClearDecodeThumbnailList();
  ForEachPageItem(pDoc, false, [&](CThumbnail* p) {
    if (IsShownUnder(p, mask)) {
      if (pItems) pItems->AddItem(p);
      CThumbnailPage::SetDecodeTumbnail(p);
    }
    return true;
  });
  Sort(GetSortType(), TRUE);
  if (GetSafeHwnd()) ::InvalidateRect(GetSafeHwnd(), NULL, TRUE);
  return 0;
}
