// CVxGUITrans: window messages, the WM_COPYDATA intake and its queue, replies and errors.
#include <Kitlib2/CopyData.h>
#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>
#include <OwnMessages.h>
#include <VxResourceIds.h>

#include "MovieCtrl.h"
#include "SlideShowController.h"
#include "SoundCheckProcess.h"
#include "TransInternal.h"
#include "ZoomWndController.h"

BOOL CVxGUITrans::OnTransfer(CWnd* pView, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT dummy = 0;
  if (!pResult) pResult = &dummy;
  *pResult = 0;
  // A pointer that only a sender of this process may bring (OwnMessages.h): refused here.
  if (ownmsg::IsForeign(message, wParam, lParam)) {
    *pResult = E_FAIL;
    return TRUE;
  }
  if (message == WM_INITDIALOG) SetWindow(pView);
  if (!pView || !m_pView) return FALSE;
  if ((pView->GetSafeHwnd() != NULL) != (m_pView->GetSafeHwnd() != NULL)) return FALSE;

  const VXTRANSMSGS& ids = TransMsgs();
  if (message >= WM_APPMSG_FIRST && message <= 1622) {
    m_pRelay->message = message;
    m_pRelay->wParam = wParam;
    m_pRelay->lParam = lParam;
    return OnVxMsgNotify((WPARAM)m_pRelay, lParam, pResult);
  }
  switch (message) {
    case WM_CHANGECBCHAIN: return OnChangeCbChain(wParam, lParam, pResult);
    case WM_COPYDATA: return OnCopyData(wParam, lParam, pResult);
    case WM_CLOSE: return OnClose(wParam, lParam, pResult);
    case WM_DRAWCLIPBOARD: return OnDrawClipboard(wParam, lParam, pResult);
    case WM_DESTROY: {
      BOOL b = OnDestroy(wParam, lParam, pResult);
      m_pView = NULL;
      return b;
    }
    case WM_ERASEBKGND: return OnEraseBkGnd(wParam, lParam, pResult);
    case WM_VSCROLL: return OnVScroll(wParam, lParam, pResult);
    case WM_INITDIALOG: return OnInitDialog(wParam, lParam, pResult);
    case WM_NOTIFY: return OnNotifyMsg(wParam, lParam, pResult);
    case WM_LBUTTONDOWN: return OnLButtonDown(wParam, lParam, pResult);
    case WM_LBUTTONDBLCLK: return OnLButtonDblClk(wParam, lParam, pResult);
    case WM_RBUTTONUP: return OnRButtonUp(wParam, lParam, pResult);
    case WM_BROWSER_EXPORT_REQUEST: return OnExportWndMessage(wParam, lParam, pResult);
    case WM_RELAYED_MESSAGE: return OnVxMsgNotify(wParam, lParam, pResult);
    case WM_BROWSER_SORT: return OnBrowserSortMsg(wParam, lParam, pResult);
    case WM_BROWSER_MASK: return OnBrowserMaskMsg(wParam, lParam, pResult);
    case WM_BROWSER_RELOAD: return OnBrowserReloadMsg(wParam, lParam, pResult);
    case WM_BROWSER_CHANGE_MODE: return OnBrowserChangeModeMsg(wParam, lParam, pResult);
    case WM_BROWSER_ACTION: return OnBrowserActionMsg(wParam, lParam, pResult);
    case WM_SLIDESHOW_EXISTS: return OnNotifySlidshowExist(wParam, lParam, pResult);
    case WM_BROWSER_FILE_INFO: return OnPropertySDMeloDeckFileInfo(wParam, lParam, pResult);
    case WM_BROWSER_THUMB_SIZE: return OnBrowserThumbChgMsg(wParam, lParam, pResult);
  }
  if (message == ids.uOutProjectTask) return OnOutProjectTask(wParam, lParam, pResult);
  if (message == ids.uPicturesDecoded) return OnPicturesDecoded(wParam, lParam, pResult);
  if (message == ids.uDragDropKey) return OnDropThumbnail(wParam, lParam, pResult);
  if (message == ids.uErrorDisplay) return OnErrorDisp(wParam, lParam, pResult);
  if (message == ids.uDelayCopyData) return OnDelayCopyData(wParam, lParam, pResult);
  if (message == ids.uZoomModeWnd) return OnZoomWndMsg(wParam, lParam, pResult);
  if (message == ids.uSlideShowWnd) return OnSlideShowWndMsg(wParam, lParam, pResult);
  if (message == ids.uQuickTimeNotify) return OnQuickTimeNotify(wParam, lParam, pResult);
  return FALSE;
}


BOOL CVxGUITrans::OnVxMsgNotify(WPARAM wParam, LPARAM, LRESULT* pResult) {
  const VXRELAYRECORD* pRec = reinterpret_cast<const VXRELAYRECORD*>(wParam);
  if (!pRec) return FALSE;
  switch (pRec->message) {
    case WM_RELAYED_MESSAGE:
    case WM_EXPORT_BUSY:
    case CDID_CHANGE_FOLDER:
    case CDID_ADD_FILES:
    case 1554:
    case 1555:
    case WM_EXPORT_FINISHED:
    case 1625: return TRUE;
    case WM_REFRESH_FOLDERS: return OnRenewal(pRec->wParam, pRec->lParam, pResult);
    case WM_BROWSER_PUBLISH_COUNTS: return OnBrowserQuerySelectCount(pRec->wParam, pRec->lParam, pResult);
    case WM_BROWSER_MUSIC_STOP: return OnBrowserMusicStopMsg(pRec->wParam, pRec->lParam, pResult);
    case WM_BROWSER_NEXT_THUMBNAIL: return OnNextThumbnail(pRec->wParam, pRec->lParam, pResult);
    case WM_BROWSER_EXPORT_REQUEST: return OnExportWndMessage(pRec->wParam, pRec->lParam, pResult);
    case WM_BROWSER_SORT: return OnBrowserSortMsg(pRec->wParam, pRec->lParam, pResult);
    case WM_BROWSER_MASK: return OnBrowserMaskMsg(pRec->wParam, pRec->lParam, pResult);
    case WM_BROWSER_RELOAD: return OnBrowserReloadMsg(pRec->wParam, pRec->lParam, pResult);
    case WM_BROWSER_CHANGE_MODE: return OnBrowserChangeModeMsg(pRec->wParam, pRec->lParam, pResult);
    case WM_BROWSER_ACTION: return OnBrowserActionMsg(pRec->wParam, pRec->lParam, pResult);
  }
  return FALSE;
}

// ---- WM_COPYDATA intake -------------------------------------------------------------------

BOOL CVxGUITrans::QueueCopyData(const COPYDATASTRUCT* pcds) {
  SIZE_T cb = TransQueuedBlockSize(pcds->cbData);
  if (!cb) return FALSE;
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, cb);
  if (!h) return FALSE;
  BYTE* p = static_cast<BYTE*>(::GlobalLock(h));
  if (!p) {
    ::GlobalFree(h);
    return FALSE;
  }
  VXQUEUEDHEAD head = {(DWORD)pcds->dwData, pcds->cbData, (DWORD)(ULONG_PTR)pcds->lpData};
  memcpy(p, &head, sizeof(head));
  memcpy(p + VXQUEUED_HEADER, pcds->lpData, pcds->cbData);
  p[VXQUEUED_HEADER + pcds->cbData] = 0;
  ::GlobalUnlock(h);
  try {
    m_queue.AddTail(h);
  } catch (...) {
    ::GlobalFree(h);
    return FALSE;
  }
  ++m_nQueueCount;
  return TRUE;
}

BOOL CVxGUITrans::HasWaitingFolderChange() const {
  for (POSITION pos = m_queue.GetHeadPosition(); pos;) {
    HGLOBAL h = m_queue.GetNext(pos);
    const VXQUEUEDHEAD* p = static_cast<const VXQUEUEDHEAD*>(::GlobalLock(h));
    BOOL b = p && p->dwCode == CDID_CHANGE_FOLDER;
    if (p) ::GlobalUnlock(h);
    if (b) return TRUE;
  }
  return FALSE;
}

HGLOBAL CVxGUITrans::TakeQueuedCommand() {
  if (m_queue.IsEmpty()) return NULL;
  HGLOBAL h = m_queue.RemoveHead();
  --m_nQueueCount;
  return h;
}

void CVxGUITrans::FreeQueuedCommands() {
  while (HGLOBAL h = TakeQueuedCommand()) ::GlobalFree(h);
  m_nQueueCount = 0;
}

BOOL CVxGUITrans::OnCopyData(WPARAM, LPARAM lParam, LRESULT* pResult) {
  *pResult = 0;
  const COPYDATASTRUCT* pcds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (!pcds || !pcds->lpData || !TransIsQueuedCode(pcds->dwData)) return FALSE;
  // A large block may have come in shared memory: read it in whichever form it came.
  COPYDATASTRUCT block;
  LRESULT refused = CMTLOpenCopyData(pcds, &block);
  if (refused) {
    *pResult = refused;
    return TRUE;
  }
  if (pcds->dwData == CDID_CHANGE_FOLDER) {
    if (HWND hBase = GetBaseViewWindow()) ::SendMessageA(hBase, WM_BROWSER_BEFORE_FOLDER_CHANGE, (WPARAM)GetSafeHwnd(), 0);
  }
  BOOL bQueued = QueueCopyData(&block);
  CMTLCloseCopyData(&block);
  if (!bQueued) return FALSE;  // out of memory: the command is dropped
  *pResult = 1;
  if (GetSafeHwnd())
    ::PostMessageA(GetSafeHwnd(), TransMsgs().uDelayCopyData, WM_COPYDATA, 0);
  else
    OnDelayCopyData(WM_COPYDATA, 0, pResult);
  return TRUE;
}

BOOL CVxGUITrans::RunCommand(UINT nCode, const char* pszText, DWORD dwLength) {
  switch (nCode) {
    case CDID_CHANGE_FOLDER: return OnChangeFolder(pszText, dwLength);
    case CDID_ADD_FILES: return OnAddFiles(pszText, dwLength);
    case CDID_UPDATE_FILES: return OnUpdateFiles(pszText, dwLength);
    case CDID_ROTATION_FILES: return OnRotationFiles(pszText, dwLength);
  }
  return FALSE;
}

BOOL CVxGUITrans::OnDelayCopyData(WPARAM, LPARAM, LRESULT* pResult) {
  *pResult = 0;
  LONG n = ::InterlockedIncrement(&m_pBusy->lCount);
  if (n > 1) {
    // A replay runs further down the stack and a nested loop dispatched this one: wait.
    if (CWnd* pMain = AfxGetMainWnd()) ::PostMessageA(pMain->GetSafeHwnd(), WM_MOUSEMOVE, 0, 0);
    if (m_pBusy->bRepost) {
      // Only a change of folder that a newer one replaces is dropped; notices stay.
      CArray<DWORD, DWORD> codes;
      CArray<HGLOBAL, HGLOBAL> blocks;
      for (POSITION pos = m_queue.GetHeadPosition(); pos;) {
        HGLOBAL h = m_queue.GetNext(pos);
        const VXQUEUEDHEAD* p = static_cast<const VXQUEUEDHEAD*>(::GlobalLock(h));
        codes.Add(p ? p->dwCode : 0);
        if (p) ::GlobalUnlock(h);
        blocks.Add(h);
      }
      int drop = TransSupersededCommand(codes.GetData(), (int)codes.GetSize());
      if (drop >= 0) {
        POSITION pos = m_queue.Find(blocks[drop]);
        if (pos) {
          m_queue.RemoveAt(pos);
          --m_nQueueCount;
          ::GlobalFree(blocks[drop]);
        }
      }
    }
    m_pBusy->bRepost = TRUE;
    ::InterlockedDecrement(&m_pBusy->lCount);
    return FALSE;
  }
  {
    CWaitCursor wait;
    if (HGLOBAL h = TakeQueuedCommand()) {
      BYTE* p = static_cast<BYTE*>(::GlobalLock(h));
      if (p) {
        VXQUEUEDHEAD head;
        memcpy(&head, p, sizeof(head));
        RunCommand(head.dwCode, reinterpret_cast<const char*>(p + VXQUEUED_HEADER), head.dwLength);
        ::GlobalUnlock(h);
      }
      ::GlobalFree(h);
    }
    // Replays that a nested loop took are owed to the commands still waiting.
    if (m_pBusy->bRepost || !m_queue.IsEmpty()) {
      if (GetSafeHwnd()) ::PostMessageA(GetSafeHwnd(), TransMsgs().uDelayCopyData, 0, 0);
      m_pBusy->bRepost = FALSE;
    }
  }
  ::InterlockedDecrement(&m_pBusy->lCount);
  *pResult = 1;
  return TRUE;
}

// ---- The queued commands ------------------------------------------------------------------

void CVxGUITrans::SendToAllViews(LPARAM lHint, CObject* pHint) {
  if (CVxDocument* pDoc = GetDocument()) pDoc->UpdateAllViews(m_pView, lHint, pHint);
}

BOOL CVxGUITrans::OnChangeFolder(const char* pszText, DWORD dwLength) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return FALSE;
  if (IsCalendarMode()) {
    SendToAllViews(VXHINT_DISABLE, NULL);
    CCopyDataDispatcher cmd(pszText, dwLength);
    BOOL b = OnChangeFolder_Create(&cmd, FALSE);
    SendToAllViews(VXHINT_ENABLE, NULL);
    return b ? TRUE : TRUE;
  }
  if (GetSafeHwnd()) ::PostMessageA(GetSafeHwnd(), TransMsgs().uOutProjectTask, 3, 2);
  CThumbnail::UpdateFavoriteDataBase();
  // Begin events.
  CMWriteProfileInt(VXDOC_SECTION, "ChangeFolder", 1);
  ToolbarEnable(FALSE);
  pDoc->SetViewStatus(BROWSE_ST_CHGFOLDER, m_pView);
  SendToAllViews(VXHINT_DISABLE, NULL);

  CCopyDataDispatcher cmd(pszText, dwLength);
  int nSource = cmd.GetSourceNumber();
  if (cmd.IsValid() && nSource != g_nTransPrevSource) {
    if (nSource == 4) {
      m_nSavedViewMode = pDoc->GetViewMode();
      CSendCommandObject o(ID_VIEWMODE_MUSIC);
      SendToAllViews(VXHINT_COMMAND, &o);
    } else if (g_nTransPrevSource == 4) {
      UINT id = m_nSavedViewMode == BROWSE_VIEW_SMALLICON ? ID_VIEWMODE_SMALL_ICONS
                : m_nSavedViewMode == BROWSE_VIEW_FOCUS   ? ID_VIEWMODE_FOCUS
                                                          : ID_VIEWMODE_LARGE_ICONS;
      CSendCommandObject o(id);
      SendToAllViews(VXHINT_COMMAND, &o);
    }
    g_nTransPrevSource = nSource;
  }
  BOOL bResult = OnChangeFolder_Create(&cmd, TRUE);
  if (IsCardAudioVoiceFolder() && !IsEnableReportMode()) OnModeChange(CGVIEW_AUDIOLIST);

  // End events.
  // The steps below each take a while over thousands of items: answer between them.
  AnswerSentMessages();
  FocusMode_RefreshSelectItem();
  // The new folder is painted as the change returns, not here in one more step of it.
  if (GetSafeHwnd()) ::InvalidateRect(GetSafeHwnd(), NULL, FALSE);
  AnswerSentMessages();
  RecountFiles();
  AnswerSentMessages();
  if ((pDoc = GetBrowserDocument()) != NULL) pDoc->ClearViewStatus(BROWSE_ST_CHGFOLDER, m_pView);
  ExportEnable();
  ToolbarEnable(TRUE);
  SendToAllViews(VXHINT_ENABLE, NULL);
  if (m_hManager) ::SendMessageA(m_hManager, 0x0362, AFX_IDS_IDLEMESSAGE, 0);
  CMWriteProfileInt(VXDOC_SECTION, "ChangeFolder", 0);

  if (m_hManager) ::SendMessageA(m_hManager, WM_STATUS_MARK_COUNT, 0, 0);
  if (!(m_pSlideShowFlag && *m_pSlideShowFlag == 1) && GetSafeHwnd())
    ::PostMessageA(GetSafeHwnd(), TransMsgs().uOutProjectTask, 3, 0x10002);
  return bResult;
}

BOOL CVxGUITrans::OnChangeFolder_Create(CCopyDataDispatcher* pCommand, BOOL bSort) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return FALSE;
  // The decoder's threads serve the new folder as they served the old one.
  struct DecoderHold {
    DecoderHold() { CThumbnailPage::HoldDecodeThreads(TRUE); }
    ~DecoderHold() { CThumbnailPage::HoldDecodeThreads(FALSE); }
  } hold;
  ResetFolder();
  m_folderList.RemoveAll();
  pDoc->GetBrowserStatus().InterpretDispatcher(pCommand, GetDocument(), m_pView);
  IVxItemView* pItems = GetItemView();
  if (pItems) {
    pItems->SetItemsShown(FALSE);
    pItems->EnableDrawing(FALSE);
  }
  BOOL b = OnChangeFolder_CreateFolders(pCommand, bSort);
  BOOL bDecoding = b && bSort && SortOnFolderChanging(GetSortType(), TRUE);
  AnswerSentMessages();
  if ((pItems = GetItemView()) != NULL) {
    // The items left were not laid out (a change cut short, or not sorted): the bar, which
    // the view keeps through a change of folder, follows them now.
    if (!bDecoding) pItems->Arrange(FALSE);
    pItems->SetItemsShown(TRUE);
    pItems->EnableDrawing(TRUE);
  }
  if (b && !bDecoding) DecodeThread_Start(TRUE);
  return b;
}

BOOL CVxGUITrans::OnAddFiles(const char* pszText, DWORD dwLength) {
  CCopyDataDispatcher cmd(pszText, dwLength);
  if (!cmd.IsValid()) return FALSE;
  BOOL bLast = FALSE, bAny = FALSE;
  for (int i = 0; i < cmd.GetCount(); ++i) {
    LPCSTR path = cmd.GetPath(i);
    if (!TransIsCommandPath(path)) continue;
    bLast = AddFile(path, cmd.GetSourceNumber(), cmd.GetSourceName());
    bAny = bAny || bLast;
  }
  if (bAny) Sort(GetSortType(), TRUE);
  return bAny ? bLast : FALSE;
}

BOOL CVxGUITrans::OnUpdateFiles(const char* pszText, DWORD dwLength) {
  CCopyDataDispatcher cmd(pszText, dwLength);
  if (!cmd.IsValid()) return FALSE;
  BOOL bLast = FALSE, bTaken = FALSE;
  for (int i = 0; i < cmd.GetCount(); ++i) {
    LPCSTR path = cmd.GetPath(i);
    if (!path || !*path) continue;
    bTaken = TRUE;
    bLast = UpdateFile(path, 0);
  }
  if (bTaken) RecountFiles();
  return bTaken ? bLast : FALSE;
}

BOOL CVxGUITrans::OnRotationFiles(const char* pszText, DWORD dwLength) {
  CCopyDataDispatcher cmd(pszText, dwLength);
  if (!cmd.IsValid()) return TRUE;
  if (TransReduceAngle(cmd.GetAngle()) == 0) return TRUE;
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return TRUE;
  for (int i = 0; i < cmd.GetCount(); ++i) {
    LPCSTR path = cmd.GetPath(i);
    if (!path || !*path) continue;
    ForEachPageItem(pDoc, true, [&](CThumbnail* p) {
      if (*p == path) p->ClearImage();
      return true;
    });
  }
  return TRUE;
}

// ---- Replies ------------------------------------------------------------------------------

BOOL CVxGUITrans::SendCopyData(UINT nCode, const char* pszText) {
  if (!pszText || !*pszText) return FALSE;
  size_t n = strlen(pszText);
  if (!GetSafeHwnd() || !m_hManager) return FALSE;
  DWORD cb = TransCopyDataBufferSize(n);
  char* buf = static_cast<char*>(calloc(cb, 1));
  if (!buf) return FALSE;
  memcpy(buf, pszText, n);
  // A long file list travels as the platform lets it between processes.
  CMTLSendCopyData(m_hManager, GetSafeHwnd(), nCode, buf, TransCopyDataSendSize(n), CMTL_COPYDATA_TIMEOUT);
  free(buf);
  return TRUE;
}

void CVxGUITrans::AppendFileRecords(CString& out, const CStringList* pPaths, CList<CThumbnail*, CThumbnail*>* pItems,
                                    int nDigitOverride) const {
  if (pPaths) {
    for (POSITION pos = pPaths->GetHeadPosition(); pos;)
      TransAppendExportRecord(out, pPaths->GetNext(pos), (nDigitOverride & 1) != 0, (nDigitOverride & 4) != 0);
  }
  if (pItems) {
    for (POSITION pos = pItems->GetHeadPosition(); pos;) {
      CThumbnail* p = pItems->GetNext(pos);
      if (!IsItemShown(p)) continue;
      TransAppendExportRecord(out, p->GetFilePath(), p->IsSelect(), p->GetMarkStatus() != 0);
    }
  }
}

BOOL CVxGUITrans::OnExportWndMessage(WPARAM, LPARAM lParam, LRESULT* pResult) {
  *pResult = 0;
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!m_pView) return FALSE;
  CWaitCursor wait;
  long lFlags = (long)lParam;
  CString text = TransExportHeader(lFlags);
  if (pDoc) {
    VXLISTBRANCH branch = TransListBranch(lFlags, FALSE);
    if (branch == VXLIST_MARKED) {
      CStringList paths;
      CThumbnail::GetAllCheckedImage(paths);
      CPathSort::Sort(paths, GetSortType());
      AppendFileRecords(text, &paths, NULL, 4);
    } else {
      CList<CThumbnail*, CThumbnail*> items;
      if (branch == VXLIST_SELECTED) {
        const CThumbnailList& sel = pDoc->GetSelectList();
        for (POSITION pos = sel.GetHeadPosition(); pos;) items.AddTail(sel.GetNext(pos));
      } else {
        CollectShown(items);
      }
      AppendFileRecords(text, NULL, &items, 0);
    }
  }
  SendCopyData(CDID_EXPORT_FILES, text);
  *pResult = 1;
  return TRUE;
}

// ---- Browser messages ----------------------------------------------------------------------

BOOL CVxGUITrans::OnBrowserSortMsg(WPARAM, LPARAM lParam, LRESULT* pResult) {
  *pResult = 0;
  UINT id = (UINT)lParam;
  if (!TransIsSortCommandID(id)) return TRUE;
  Thread_Suspend();
  Sort(id, TRUE);
  Thread_Resume();
  RecountFiles();
  if (GetSafeHwnd()) ::InvalidateRect(GetSafeHwnd(), NULL, TRUE);
  SendToAllViews(VXHINT_SELECTION, NULL);
  return TRUE;
}

BOOL CVxGUITrans::OnBrowserMaskMsg(WPARAM, LPARAM lParam, LRESULT* pResult) {
  *pResult = 0;
  if (lParam < 0 || lParam > 6) return TRUE;
  OnFilter((UINT)lParam, TRUE);
  RecountFiles();
  SendToAllViews(VXHINT_COMMAND, NULL);
  return TRUE;
}

BOOL CVxGUITrans::OnBrowserReloadMsg(WPARAM, LPARAM, LRESULT* pResult) {
  // lParam may be a block of the sender's: the sender owns and frees it.
  *pResult = 0;
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc || m_pBusy->lCount != 0) return TRUE;
  if (pDoc->GetFolderType().IsSDCardFolder() || pDoc->GetFolderTypeFlag() == FOLDER_TYPE_CLASSIFY) return TRUE;
  if (IsZoomMode() || IsCalendarMode()) return TRUE;
  ReloadAllGroups();
  RecountFiles();
  MSG msg;
  while (::PeekMessageA(&msg, NULL, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) {
  }
  return TRUE;
}

BOOL CVxGUITrans::OnBrowserChangeModeMsg(WPARAM, LPARAM lParam, LRESULT* pResult) {
  *pResult = 0;
  if (m_pView) {
    if (CFrameWnd* pFrame = m_pView->GetParentFrame()) pFrame->SetActiveView(m_pView);
  }
  OnModeChange((UINT)lParam);
  return TRUE;
}

BOOL CVxGUITrans::OnBrowserActionMsg(WPARAM, LPARAM lParam, LRESULT* pResult) {
  *pResult = 0;
  if (!m_pView) return TRUE;
  switch (lParam) {
    case VXACTION_ROTATE_LEFT: SelItemRotation(-9000); break;
    case VXACTION_ROTATE_RIGHT: SelItemRotation(9000); break;
    case VXACTION_RENAME: RenameSelectFile(); break;
    case VXACTION_DELETE: DeleteSelectFiles(); break;
  }
  return TRUE;
}

BOOL CVxGUITrans::OnBrowserThumbChgMsg(WPARAM, LPARAM lParam, LRESULT* pResult) {
  *pResult = 0;
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc || lParam < 0 || lParam > 4) return TRUE;
  pDoc->GetBrowserStatus().SetThumbMode((int)lParam);
  OnModeChange(CGVIEW_LARGEICON);
  return TRUE;
}

BOOL CVxGUITrans::OnBrowserQuerySelectCount(WPARAM, LPARAM, LRESULT* pResult) {
  unsigned n = 0;
  QuerySelectCount(QUERYSELECT_0, &n);
  CMWriteProfileInt(VXDOC_SECTION, "SelectFileCount", (int)n);
  CMWriteProfileInt(VXDOC_SECTION, "CenterSelectFileCount", 0);
  CMWriteProfileInt(VXDOC_SECTION, "FocusFileCount", 0);
  QueryMarkCount(QUERYMARK_1, &n);
  CMWriteProfileInt(VXDOC_SECTION, "MarkFileCount", (int)n);
  QueryMarkCount(QUERYMARK_0, &n);
  CMWriteProfileInt(VXDOC_SECTION, "AllMarkFileCount", (int)n);
  *pResult = 0;
  return TRUE;
}

BOOL CVxGUITrans::OnBrowserMusicStopMsg(WPARAM, LPARAM, LRESULT* pResult) {
  if (HWND hBase = GetBaseViewWindow()) ::SendMessageA(hBase, WM_BROWSER_MUSIC_STOP, 0, 0);
  *pResult = 0;
  return TRUE;
}

BOOL CVxGUITrans::OnNextThumbnail(WPARAM, LPARAM lParam, LRESULT* pResult) {
  *pResult = 0;
  IVxItemView* pItems = GetItemView();
  DWORD id = (DWORD)lParam;
  if (!pItems || !pItems->GetThumbnail(id)) return TRUE;  // no such item: ignored
  pItems->SelectItem(id, TRUE);
  pItems->EnsureVisible(id, FALSE);
  return TRUE;
}

BOOL CVxGUITrans::OnRenewal(WPARAM, LPARAM, LRESULT* pResult) {
  *pResult = 0;
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return TRUE;
  if (CThumbnail* pLast = pDoc->GetLastSelectedItem()) {
    if (m_pSelectKeeper) {
      m_pSelectKeeper->strFile = pLast->GetFilePath();
      m_pSelectKeeper->strPage = pLast->GetPage() ? pLast->GetPage()->GetName() : CString();
    }
  }
  CThumbnail::UpdateFavoriteDataBase();
  ForEachPageItem(pDoc, true, [](CThumbnail* p) {
    p->MyFavoriteRenewal();
    return true;
  });
  if (GetSafeHwnd()) ::InvalidateRect(GetSafeHwnd(), NULL, FALSE);
  return TRUE;
}

BOOL CVxGUITrans::OnZoomWndMsg(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  *pResult = 0;
  if (!m_pZoom) return TRUE;
  CBrowserDocument* pDoc = GetBrowserDocument();
  CThumbnail* pCur = m_pZoom->m_items.GetCurrentItem();
  switch (LOWORD(wParam)) {
    case 15: return OnZoomWndMsgOnDestroy(wParam, lParam, pResult);
    case 17: *pResult = pCur ? pCur->GetMarkStatus() : 0; break;
    case 18:
      if (pDoc && pCur) pDoc->SetMark(pCur, lParam >= 1 ? 1 : 0);
      break;
    case 19: *pResult = m_pZoom->HasPrevGroup(); break;
    case 20: *pResult = m_pZoom->HasPrevItem(); break;
    case 21: *pResult = m_pZoom->HasNextItem(); break;
    case 22: *pResult = m_pZoom->HasNextGroup(); break;
    case 33: m_pZoom->ShowPrevGroup(); break;
    case 34: m_pZoom->ShowPrevItem(); break;
    case 35: m_pZoom->ShowNextItem(); break;
    case 36: m_pZoom->ShowNextGroup(); break;
    case 37: m_pZoom->ShowFirst(); break;
  }
  return TRUE;
}

BOOL CVxGUITrans::OnZoomWndMsgOnDestroy(WPARAM, LPARAM, LRESULT* pResult) {
  *pResult = 0;
  if (!m_pZoom) return TRUE;
  CThumbnail* pShown = m_pZoom->m_items.GetCurrentItem();
  m_pZoom->Destroy();
  SendToAllViews(VXHINT_VIEWMODE, NULL);
  if (IVxItemView* pItems = GetItemView()) {
    pItems->UnSelectAll(TRUE);
    if (pShown && CThumbnail::CheckThumbnailPointer(pShown)) {
      DWORD id = pShown->GetUniqueID(VXID_SLOT_VIEW);
      pItems->SelectItem(id, TRUE);
      pItems->EnsureVisible(id, FALSE);
    }
  }
  delete m_pZoom;
  m_pZoom = NULL;
  return TRUE;
}

BOOL CVxGUITrans::OnSlideShowWndMsg(WPARAM wParam, LPARAM, LRESULT* pResult) {
  *pResult = 0;
  if (!m_pSlideShow || LOWORD(wParam) != 15) return TRUE;
  m_pSlideShow->Finish();
  SendToAllViews(VXHINT_VIEWMODE, NULL);
  if (IVxItemView* pItems = GetItemView()) pItems->UnSelectAll(TRUE);
  if (CBrowserDocument* pDoc = GetBrowserDocument()) pDoc->SetSlideShowMode(false);
  delete m_pSlideShow;
  m_pSlideShow = NULL;
  if (m_hManager) ::SendMessageA(m_hManager, WM_SET_SLIDESHOW_MODE, 0, (LPARAM)this);
  return TRUE;
}

BOOL CVxGUITrans::OnQuickTimeNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  *pResult = 0;
  if (!m_pSoundCheck) return TRUE;
  if (wParam == (WPARAM)0xFFFFFFFF) {
    *pResult = m_pSoundCheck->SetAvailable(wParam, lParam);
  } else if (m_pSoundCheck->IsWaiting()) {
    if (m_pSoundCheck->OnResult(wParam, lParam) == 0)
      GuardedMessageBoxId(GetSafeHwnd(), IDS_BROWSER_MOVIE_FAILED, MB_ICONERROR);
  }
  return TRUE;
}

BOOL CVxGUITrans::OnOutProjectTask(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  *pResult = 0;
  if (wParam != 3 || !m_pPanes) return TRUE;
  if (HWND h = m_pPanes->GetPane((int)(lParam & 0xFFFF))) ::EnableWindow(h, (lParam >> 16) != 0);
  return TRUE;
}

BOOL CVxGUITrans::OnNotifySlidshowExist(WPARAM wParam, LPARAM, LRESULT* pResult) {
  if (m_pSlideShowFlag) *m_pSlideShowFlag = (int)wParam;
  *pResult = 0;
  return TRUE;
}

BOOL CVxGUITrans::OnPropertySDMeloDeckFileInfo(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  *pResult = E_FAIL;
  if (int* pOut = reinterpret_cast<int*>(wParam)) *pOut = 0;
  if (CMapStringToString* pMap = reinterpret_cast<CMapStringToString*>(lParam)) pMap->RemoveAll();
  *pResult = 0;
  return TRUE;
}

BOOL CVxGUITrans::OnDropThumbnail(WPARAM, LPARAM, LRESULT* pResult) {
  *pResult = 0;
  return TRUE;
}

BOOL CVxGUITrans::OnClose(WPARAM, LPARAM, LRESULT* pResult) {
  *pResult = 0;
  Thread_Stop();
  CString lock;
  lock.Format("%s\\%s.lock", (LPCSTR)TransProgramFolder(), "NORVANE_MARLO_PROCESS_MANAGEMENT");
  HANDLE h = ::CreateFileA(lock, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                           OPEN_EXISTING, 0, NULL);
  if (h == INVALID_HANDLE_VALUE) return FALSE;
  ::CloseHandle(h);
  if (GetSafeHwnd()) ::ShowWindow(GetSafeHwnd(), SW_HIDE);
  return TRUE;
}

BOOL CVxGUITrans::OnDestroy(WPARAM, LPARAM, LRESULT* pResult) {
  *pResult = 0;
  Thread_Stop();
  if (IVxItemView* pItems = GetItemView()) {
    pItems->SetItemsShown(FALSE);
    pItems->EnableDrawing(FALSE);
  }
  delete m_pPanes;
  m_pPanes = NULL;
  delete m_pAudioScope;
  m_pAudioScope = NULL;
  if (IsFocusMode() || IsZoomMode() || IsCalendarMode()) SetViewModeFlag(BROWSE_VIEW_LARGEICON, TRUE);
  SetExecuteState(FALSE);
  ResetFolder();
  if (CBrowserDocument* pDoc = GetBrowserDocument()) {
    CExploreClipboardObject* pClip = pDoc->GetClipboardObject();
    if (pClip->IsViewer(GetSafeHwnd())) pClip->ResetViewer();
  }
  FreeQueuedCommands();
  return FALSE;
}

BOOL CVxGUITrans::OnInitDialog(WPARAM, LPARAM, LRESULT* pResult) {
  *pResult = 0;
  Initialize();
  return FALSE;
}

BOOL CVxGUITrans::OnEraseBkGnd(WPARAM, LPARAM, LRESULT* pResult) {
  *pResult = 0;
  return FALSE;
}

BOOL CVxGUITrans::OnSize(WPARAM, LPARAM lParam, LRESULT* pResult) {
  *pResult = 0;
  if (m_pReportCtrl && m_pReportCtrl->GetSafeHwnd())
    m_pReportCtrl->MoveWindow(0, 0, LOWORD(lParam), HIWORD(lParam));
  return FALSE;
}

BOOL CVxGUITrans::OnMouseWheel(WPARAM, LPARAM, LRESULT* pResult) {
  *pResult = 0;
  return m_pReportCtrl && m_pReportCtrl->GetSafeHwnd() && m_pReportCtrl->IsWindowVisible();
}

BOOL CVxGUITrans::OnVScroll(WPARAM, LPARAM, LRESULT* pResult) {
  *pResult = 0;
  return FALSE;
}
BOOL CVxGUITrans::OnLButtonDown(WPARAM, LPARAM, LRESULT* pResult) {
  *pResult = 0;
  return FALSE;
}
BOOL CVxGUITrans::OnLButtonDblClk(WPARAM, LPARAM, LRESULT* pResult) {
  *pResult = 0;
  return FALSE;
}
BOOL CVxGUITrans::OnRButtonUp(WPARAM, LPARAM, LRESULT* pResult) {
  *pResult = 0;
  return FALSE;
}

BOOL CVxGUITrans::OnDrawClipboard(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  *pResult = 0;
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return TRUE;
  CExploreClipboardObject* pClip = pDoc->GetClipboardObject();
  if (!pClip->IsViewer(GetSafeHwnd())) return FALSE;
  if (pClip->OnDrawClipboard(wParam, lParam)) {
    BOOL bGone = FALSE;
    ForEachPageItem(pDoc, false, [&](CThumbnail* p) {
      bGone = p->IsCut() && !p->IsValidPath();
      return !bGone;
    });
    if (bGone) ReloadAllGroups();
    ClearClipBoard(FALSE, TRUE);
    pClip->ResetViewer();
    if (GetSafeHwnd()) ::InvalidateRect(GetSafeHwnd(), NULL, FALSE);
  }
  return TRUE;
}

BOOL CVxGUITrans::OnChangeCbChain(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  *pResult = 0;
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc || !pDoc->GetClipboardObject()->IsViewer(GetSafeHwnd())) return FALSE;
  pDoc->GetClipboardObject()->OnChangeCbChain(wParam, lParam);
  return TRUE;
}

// ---- Errors ---------------------------------------------------------------------------------

void CVxGUITrans::PostErrorMessage(UINT nCode, LONG lStyle) {
  HWND h = GetSafeHwnd();
  if (!h) return;
  // The calendars and the music list hide the host view: the user sees the browser while
  // any view of its document is shown.
  BOOL bShown = ::IsWindowVisible(h);
  if (CDocument* pDoc = GetDocument())
    for (POSITION pos = pDoc->GetFirstViewPosition(); pos && !bShown;)
      if (CView* pView = pDoc->GetNextView(pos)) bShown = pView->GetSafeHwnd() && pView->IsWindowVisible();
  if (!bShown) return;
  MSG msg;
  UINT id = TransMsgs().uErrorDisplay;
  if (::PeekMessageA(&msg, h, id, id, PM_NOREMOVE)) return;
  ::PostMessageA(h, id, nCode, lStyle);
}

BOOL CVxGUITrans::OnErrorDisp(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  *pResult = 0;
  if (m_bErrorBoxOpen) return TRUE;
  DWORD code = (DWORD)wParam;
  m_bErrorBoxOpen = TRUE;
  if (code < 0x80000000u) {
    *pResult = GuardedMessageBoxId(GetSafeHwnd(), code, (UINT)lParam);
  } else {
    // A code without text shows its number instead.
    *pResult = SystemErrorBox(GetSafeHwnd(), code & 0x7FFFFFFFu);
  }
  m_bErrorBoxOpen = FALSE;
  return TRUE;
}
