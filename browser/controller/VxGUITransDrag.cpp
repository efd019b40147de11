// CVxGUITrans: dragging the selection out of the browser, and the rename command.
#include <VxProperty.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "ClipboardRules.h"
#include "DragDrop.h"
#include "DragDropRules.h"
#include "TransInternal.h"

#define VXCTRL_REPORT 0xF0F0

BOOL CVxGUITrans::RenameSelectFile() {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc || pDoc->GetFolderType().IsFileOperationRefused()) return FALSE;
  CThumbnail* pLast = pDoc->GetLastSelectedItem();
  if (!pLast) return FALSE;
  if (m_pReportCtrl && m_pReportCtrl->GetSafeHwnd() && m_pReportCtrl->IsWindowVisible()) {
    m_pReportCtrl->SendMessage(LVM_EDITLABELA, pLast->GetUniqueID(VXID_SLOT_LIST), 0);
    return TRUE;
  }
  if (IVxItemView* pItems = GetItemView()) pItems->EditLabel(pLast->GetUniqueID(VXID_SLOT_VIEW));
  return TRUE;
}

void CVxGUITrans::SetDragRect() {
  if (!m_pDropSource) return;
  m_pDropSource->m_noDrop.RemoveAll();
  HWND h = GetSafeHwnd();
  if (h && ::IsWindowVisible(h)) {
    RECT rc;
    ::GetWindowRect(h, &rc);
    m_pDropSource->m_noDrop.Add(rc);
  }
}

void CVxGUITrans::OnHandleDrag_ObtainSelectList(CStringList* pFiles, CStringList* pFolders) {
  IVxItemView* pItems = GetItemView();
  if (!pItems || !pFiles || !pFolders) return;
  CList<CThumbnail*, CThumbnail*> selected;
  pItems->CollectThumbnail(selected, 2);
  DragListsOf(selected, pFiles, pFolders);
}

void CVxGUITrans::DragListsOf(const CList<CThumbnail*, CThumbnail*>& selected, CStringList* pFiles,
                              CStringList* pFolders) {
  if (!pFiles || !pFolders) return;
  std::vector<VXDRAGENTRY> entries;
  for (POSITION pos = selected.GetHeadPosition(); pos;) {
    CThumbnail* p = selected.GetNext(pos);
    VXDRAGENTRY e;
    e.path = (LPCSTR)p->GetFilePath();
    e.folder = p->IsFolder() != FALSE;
    if (e.path.empty()) continue;
    if (!e.folder && lstrcmpiA(::PathFindExtensionA(e.path.c_str()), ".cont") == 0) {
      if (HPRPROPERTY h = PrInitGetPropertyString(e.path.c_str(), 0)) {
        if (LPCSTR members = PrGetPropertyString(h, PRID_MEMBERS)) e.members = members;
        PrExitGetPropertyString(h);
      }
    }
    entries.push_back(e);
  }
  std::vector<std::string> files, folders;
  ClipDragLists(entries, &files, &folders);
  for (const std::string& f : files) pFiles->AddTail(f.c_str());
  for (const std::string& f : folders) pFolders->AddTail(f.c_str());
}

void CVxGUITrans::OnHandleDrag_HotSpot(POINT& hotSpot, CThumbnail* pItem, const POINT& cursor) {
  const BOOL bReport = m_pReportCtrl && m_pReportCtrl->GetSafeHwnd() && m_pReportCtrl->IsWindowVisible();
  IVxItemView* pItems = GetItemView();
  CRect icon;
  if (bReport || !pItems || !pItem || !pItems->GetItemIconRect(pItem->GetUniqueID(VXID_SLOT_VIEW), icon)) {
    hotSpot = POINT{0, 0};
    return;
  }
  POINT client = cursor;
  if (GetSafeHwnd()) ::ScreenToClient(GetSafeHwnd(), &client);
  CBrowserDocument* pDoc = GetBrowserDocument();
  const int sizeClass = pDoc ? pDoc->GetBrowserStatus().GetThumbMode() : 0;
  hotSpot = dragdrop::HotSpot(false, client, icon, pItems->GetItemScroll(), sizeClass);
}

void CVxGUITrans::OnHandleDrag(NMLISTVIEW* pNotify) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc || IsAudioInfoMode() || IsAudioListMode() || pDoc->GetSelectCount() == 0) return;
  if (pDoc->GetFolderType().IsFileOperationRefused() || pDoc->GetViewStatus() == BROWSE_ST_SLIDESHOW) return;
  CThumbnail* pLast = pDoc->GetLastSelectedItem();
  if (!pLast || !m_pDropSource || !m_pDropTarget) return;
  if (GetSafeHwnd()) ::UpdateWindow(GetSafeHwnd());
  POINT cursor = {0, 0};
  if (pNotify) {
    cursor = pNotify->ptAction;
    if (pNotify->hdr.idFrom == VXCTRL_REPORT) ::ClientToScreen(pNotify->hdr.hwndFrom, &cursor);
  } else {
    ::GetCursorPos(&cursor);
  }
  SetDragRect();

  CThumbnail* pItem = pNotify ? ItemOfNotice(&pNotify->hdr, pNotify->iItem, pNotify->lParam) : NULL;
  if (!pItem || !CThumbnail::CheckThumbnailPointer(pItem)) pItem = pLast;
  CStringList files, folders;
  if (!pItem->IsSelect()) {
    // An item outside the selection is dragged alone.
    CString path = pItem->GetFilePath();
    files.AddTail(path);
    if (pItem->IsFolder()) {
      folders.AddTail(path);
    } else {
      int cut = path.ReverseFind('\\');
      folders.AddTail(cut >= 0 ? path.Left(cut + 1) : path);
    }
  } else {
    OnHandleDrag_ObtainSelectList(&files, &folders);
  }
  std::vector<std::string> fileList, folderList;
  for (POSITION pos = files.GetHeadPosition(); pos;) fileList.push_back((LPCSTR)files.GetNext(pos));
  for (POSITION pos = folders.GetHeadPosition(); pos;) folderList.push_back((LPCSTR)folders.GetNext(pos));
  if (fileList.empty()) return;

  CBrowserDataSource source(fileList, folderList);
  source.OfferFormats();
  if (m_pView && m_pView->GetSafeHwnd()) m_pView->DragAcceptFiles(TRUE);

  POINT hot = {0, 0};
  OnHandleDrag_HotSpot(hot, pItem, cursor);
  m_pDropSource->m_hSource = GetSafeHwnd();
  m_pDropSource->m_nState = CDropSource::kArmed;
  CSize size = pDoc->GetDecodeImageSize();
  // Without a picture the drag goes on with the system's cursors alone.
  m_pDropSource->CreateDragImage(pItem, &source, size, hot, cursor);
  m_pDropTarget->m_bFromBrowser = TRUE;
  pDoc->SetViewStatus(BROWSE_ST_DRAGGING, m_pView);
  const DROPEFFECT effect =
      source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, NULL, m_pDropSource);
  pDoc->ClearViewStatus(BROWSE_ST_DRAGGING, m_pView);
  m_pDropTarget->m_bFromBrowser = FALSE;

  if (m_pView && m_pView->GetSafeHwnd()) m_pView->DragAcceptFiles(FALSE);
  m_pDropSource->EndDragImage();
  m_pDropSource->m_hSource = NULL;

  if (effect == DROPEFFECT_COPY) {
    if (m_pReportCtrl && m_pReportCtrl->GetSafeHwnd()) m_pReportCtrl->Invalidate(FALSE);
    return;
  }
  if (effect == DROPEFFECT_NONE || effect == DROPEFFECT_MOVE) {
    // A shell target may move the files itself and answer none: what left goes from view.
    CWaitCursor wait;
    for (const std::string& f : fileList) {
      if (::GetFileAttributesA(f.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
      ReloadAllGroups();
      break;
    }
  }
}
