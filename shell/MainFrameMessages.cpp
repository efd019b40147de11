// The main frame's window procedure and private messages: application messages are
// relayed to the outside-program manager; the panes, the browser and outside programs
// talk to the frame through the messages handled here.
#include <Kitlib2/Kitlib2.h>
#include <TickCache.h>
#include <VxDocument.h>
#include <VxResourceIds.h>

#include <BrowserSubView.h>
#include <DynamicSplitterWnd.h>

#include "FView_Export.h"
#include "FView_Folder.h"
#include "FView_Toolbar.h"
#include "MainFrame.h"
#include "MainWndMessages.h"
#include "OwnMessages.h"

#ifndef WM_WTSSESSION_CHANGE
#define WM_WTSSESSION_CHANGE 0x02B1
#endif

namespace {

const char kZoomWindowName[] = "6D1F3A27-94C0-4B58-A1E6-3C7B20F95D84";
const UINT kExportTextDelayMs = 500;
const int kViewTypeMusicList = 12;
const int kViewTypeKeepStrip = 14;

// TRUE while the zoom window is open: a window of this thread by that name. FindWindow
// would take another program's window of the name (a second copy's) for ours.
BOOL IsZoomWindowOpen() {
  BOOL bOpen = FALSE;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hWnd, LPARAM lParam) -> BOOL {
        char szName[64] = "";
        if (!::GetWindowTextA(hWnd, szName, sizeof(szName)) || lstrcmpA(szName, kZoomWindowName) != 0) return TRUE;
        *reinterpret_cast<BOOL*>(lParam) = TRUE;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&bOpen));
  return bOpen;
}

// Writes a query's answer where wParam points (the window procedure let only our own
// senders' pointers through).
LRESULT AnswerQuery(WPARAM wParam, BOOL bAnswer) {
  if (BOOL* pbAnswer = reinterpret_cast<BOOL*>(wParam)) *pbAnswer = bAnswer;
  return 0;
}

LRESULT SendText(HWND hTo, HWND hFrom, ULONG_PTR dwCode, const CString& strText) {
  LRESULT lResult = 0;
  CMTLSendCopyDataText(hTo, hFrom, dwCode, strText, CMTL_COPYDATA_TIMEOUT, &lResult);
  return lResult;
}

}  // namespace

// ---- The window procedure -------------------------------------------------------------------

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // A pointer that only a sender of this process may bring (OwnMessages.h).
  if (ownmsg::IsForeign(message, wParam, lParam)) return 0;
  LRESULT lResult = 0;
  if (HandleEarlyMessage(message, wParam, lParam, &lResult)) return lResult;
  return CFrameWnd::WindowProc(message, wParam, lParam);
}

BOOL CMainFrame::HandleEarlyMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  BOOL bRelay = FALSE;
  switch (message) {
    case WM_SHOW_EXPLORER_FOLDER:
      if (IsWindowEnabled() && !IsZoomWindowOpen() && !m_bCalendarFold) {
        KillTimer(MAINFRAME_TIMER_CARD);
        SendToolbarCommand(ID_TB_FOLDER_TREE, TRUE);
        SetTimer(MAINFRAME_TIMER_CARD, 1000, NULL);
      }
      return FALSE;
    case WM_EXPORT_TEXT_REQUEST:
      ::Sleep(kExportTextDelayMs);
      SendText(reinterpret_cast<HWND>(wParam), m_hWnd, CDID_EXPORT_TEXT, m_strExportText);
      return FALSE;
    case WM_BROWSER_EXPORT_REQUEST: {
      CFView_Toolbar* pToolbar = GetToolbarPane();
      CString strList;
      if (pToolbar && pToolbar->TakePendingFileListText(strList)) {
        SendText(reinterpret_cast<HWND>(wParam), m_hWnd, CDID_EXPORT_FILES, strList);
        *pResult = 0;
        return TRUE;
      }
      bRelay = TRUE;
      break;
    }
    case WM_EXPORT_FINISHED: {
      // The export host's report goes to the pane that ran the export.
      CWnd* pExport = GetExportPane();
      if (pExport && reinterpret_cast<HWND>(wParam) == pExport->m_hWnd) {
        pExport->SendMessage(WM_EXPORT_FINISHED, wParam, lParam);
        *pResult = 0;
        return TRUE;
      }
      bRelay = TRUE;
      break;
    }
    case WM_FOLDER_TYPE_QUERY:
      if (CFView_Folder* pFolder = GetFolderPane()) {
        *pResult = pFolder->SendMessage(WM_FOLDER_TYPE_QUERY, wParam, lParam);
        return TRUE;
      }
      bRelay = TRUE;
      break;
    case WM_WTSSESSION_CHANGE:
      if (wParam == 2) KillTimer(MAINFRAME_TIMER_CARD);       // console disconnected
      if (wParam == 1) SetTimer(MAINFRAME_TIMER_CARD, 1000, NULL);  // connected again
      bRelay = TRUE;
      break;
    case WM_STATUS_SELECT_COUNT:
    case WM_STATUS_MARK_COUNT:
    case WM_STATUS_PROGRESS:
    case WM_STATUS_FILE_COUNT:
      if (m_wndStatusBar.m_hWnd) m_wndStatusBar.SendMessage(message, wParam, lParam);
      return FALSE;
    case WM_COPYDATA: {
      // What came by shared memory is read from there; what is too large is refused.
      COPYDATASTRUCT block;
      LRESULT status = CMTLOpenCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam), &block);
      if (status != 0) {
        *pResult = status;
        return TRUE;
      }
      CWnd* pExport = GetExportPane();
      if (block.dwData == CDID_EXPORT_TEXT && pExport && reinterpret_cast<HWND>(wParam) == pExport->m_hWnd) {
        m_strExportText = CopyDataText(&block);
        CMTLCloseCopyData(&block);
        return FALSE;
      }
      *pResult = RelayRecorded(message, wParam, reinterpret_cast<LPARAM>(&block));
      CMTLCloseCopyData(&block);
      return TRUE;
    }
    case WM_DISPLAYCHANGE:
      bRelay = TRUE;
      break;
    default:
      bRelay = message >= WM_APPMSG_FIRST && message <= WM_APPMSG_LAST;
      break;
  }
  if (!bRelay) return FALSE;
  *pResult = RelayRecorded(message, wParam, lParam);
  return TRUE;
}

LRESULT CMainFrame::RelayRecorded(UINT message, WPARAM wParam, LPARAM lParam) {
  // Handed to the handler directly: no window message carries it.
  RelayRecord* pRecord = new RelayRecord{message, wParam, lParam};
  return CFrameWnd::WindowProc(WM_RELAYED_MESSAGE, reinterpret_cast<WPARAM>(pRecord), lParam);
}

LRESULT CMainFrame::OnRelayedMessage(WPARAM wParam, LPARAM) {
  RelayRecord* pRecord = reinterpret_cast<RelayRecord*>(wParam);
  if (!pRecord) return 0;
  LRESULT lResult = m_toolManager.OnRequest(*pRecord);
  delete pRecord;
  return lResult;
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F5 &&
      (CMGetProfileInt("VxFolder\\FolderInfo", "Renewaling", 0) == 1 || CMGetProfileInt("DepthViewer", "Busy", 0) == 1))
    return TRUE;
  return CFrameWnd::PreTranslateMessage(pMsg);
}

// ---- Private messages -----------------------------------------------------------------------

LRESULT CMainFrame::OnChildWindowCreated(WPARAM wParam, LPARAM lParam) {
  HWND hWnd = reinterpret_cast<HWND>(wParam);
  if (!::IsWindow(hWnd)) return 1;
  int nIndex = (lParam >= 0 && lParam <= INT_MAX) ? (int)lParam : -1;
  HRESULT hr = m_toolManager.SetToolWindow(nIndex, hWnd);
  if (SUCCEEDED(hr) && nIndex == TOOL_SLIDESHOW) SetTimer(MAINFRAME_TIMER_SLIDE_PLACEMENT, 500, NULL);
  return hr;
}

LRESULT CMainFrame::OnCardChanged(WPARAM wParam, LPARAM) {
  // Drive numbers from 0 = A to 25 = Z; others name no drive.
  if (wParam <= (WPARAM)('Z' - 'A')) Mark_DelAllCheckInDrive('A' + (int)wParam);
  return 0;
}

LRESULT CMainFrame::OnViewModeChanged(WPARAM wParam, LPARAM) {
  int nType = (int)wParam;
  if (m_pBrowserSplitter && m_pBrowserSplitter->m_hWnd) {
    if (nType == kViewTypeMusicList) {
      if (CBrowserSubView* pStrip = GetSubView()) m_pBrowserSplitter->HideRow(pStrip);
    } else if (nType != kViewTypeKeepStrip) {
      m_pBrowserSplitter->ShowRow();
    }
  }
  if (CFView_Toolbar* pToolbar = GetToolbarPane())
    pToolbar->SendMessage(WM_VIEW_MODE_CHANGED, wParam, (LPARAM)m_hWnd);
  return 0;
}

LRESULT CMainFrame::OnSettingsChanged(WPARAM, LPARAM) {
  if (CVxDocument* pDoc = GetVxDocument()) {
    CSendCommandObject hint(ID_MUSIC_DISPLAY_CHANGED);
    pDoc->UpdateAllViews(NULL, 0, &hint);
  }
  return 0;
}

LRESULT CMainFrame::OnCloseSlideCollect(WPARAM, LPARAM) {
  ReleaseToolbarSlideCollect();
  return 0;
}

LRESULT CMainFrame::OnSetSlideShowMode(WPARAM wParam, LPARAM) {
  m_nSlideShowMode = (int)wParam;
  return 0;
}

LRESULT CMainFrame::OnQuerySlideCollect(WPARAM wParam, LPARAM) { return AnswerQuery(wParam, IsSlideCollectActive()); }

LRESULT CMainFrame::OnQueryEntryEditor(WPARAM wParam, LPARAM) { return AnswerQuery(wParam, IsEntryEditorActive()); }

LRESULT CMainFrame::OnTreeFolderDeleted(WPARAM wParam, LPARAM lParam) {
  CFView_Folder* pFolder = GetFolderPane();
  if (!pFolder) return E_FAIL;
  if (wParam) pFolder->RenewalTrees();
  if ((int)lParam > 0) pFolder->ReopenSelection(FALSE);
  CBrowserDocument* pBrowser = GetBrowserDocument();
  if (m_wndStatusBar.m_hWnd)
    m_wndStatusBar.SendMessage(WM_STATUS_FILE_COUNT, 0, pBrowser ? pBrowser->GetFileCount() : 0);
  return 0;
}

// ---- Calendar fold ----------------------------------------------------------------------------

LRESULT CMainFrame::OnCalendarFold(WPARAM wParam, LPARAM) {
  UINT nCommand = (UINT)wParam;
  BOOL bCalendar = nCommand == ID_VIEWMODE_MONTH || nCommand == ID_VIEWMODE_DAY;
  if (!m_bCalendarActive) {
    if (!bCalendar) return 0;
    int nCur, nMin;
    m_wndFolderSplitter.GetColumnInfo(0, nCur, nMin);
    m_bFolderShownBefore = m_wndFolderSplitter.HasLeftButton() && nCur > 0;
    SaveSplitterSizes();
    if (m_bFolderShownBefore) m_wndFolderSplitter.ToggleCollapse();
    m_wndFolderSplitter.SetFixed(TRUE);
    m_wndFolderSplitter.SetCalendarFold(TRUE);
    m_bCalendarFold = TRUE;
    m_bCalendarActive = TRUE;
    return 0;
  }
  if (bCalendar || nCommand == ID_VIEWMODE_ZOOM || nCommand == ID_VIEWMODE_SLIDESHOW) return 0;
  if (m_bFolderShownBefore) m_wndFolderSplitter.ToggleCollapse();
  m_wndFolderSplitter.SetFixed(FALSE);
  m_wndFolderSplitter.SetCalendarFold(FALSE);
  m_bCalendarFold = FALSE;
  m_bCalendarActive = FALSE;
  return 0;
}
