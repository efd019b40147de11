// The outside-program manager's timers: the program monitor and the card watcher's start.
#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>

#include "ExternalToolManager.h"
#include "MainFrame.h"
#include "MainWndMessages.h"

namespace {

const UINT kMonitorFirstMs = 150;
const UINT kMonitorMs = 500;
const UINT kCardWatchStartMs = 500;
const DWORD kCardWatchIntervalMs = 5000;
// A program whose window is gone gets this long to end before its handle is closed.
const int kEndWaitTries = 10;

struct BlockingSearch {
  const CExternalToolManager* pManager;
  HWND hFound;
};

BOOL BelongsToSystem(const CExternalToolManager* pManager, HWND hWnd) {
  if (hWnd == pManager->GetMainWnd()) return TRUE;
  for (int i = 0; i < pManager->GetToolCount(); ++i)
    if (pManager->GetToolWindow(i) == hWnd) return TRUE;
  return FALSE;
}

BOOL CALLBACK MatchBlockingWindow(HWND hWnd, LPARAM lParam) {
  BlockingSearch* pSearch = reinterpret_cast<BlockingSearch*>(lParam);
  if (!::IsWindowEnabled(hWnd) || !::IsWindowVisible(hWnd)) return TRUE;
  BOOL bModal = (::GetWindowLongA(hWnd, GWL_STYLE) & DS_MODALFRAME) ||
                (::GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  if (!bModal) return TRUE;
  // Up the parents, or without a parent the owners, to a window of the system.
  for (HWND h = hWnd; h;) {
    HWND hUp = ::GetParent(h);
    if (!hUp) hUp = ::GetWindow(h, GW_OWNER);
    if (!hUp) break;
    if (BelongsToSystem(pSearch->pManager, hUp)) {
      pSearch->hFound = hWnd;
      return FALSE;
    }
    h = hUp;
  }
  return TRUE;
}

}  // namespace

HWND CExternalToolManager::FindBlockingWindow() const {
  BlockingSearch search = {this, NULL};
  ::EnumWindows(&MatchBlockingWindow, reinterpret_cast<LPARAM>(&search));
  return search.hFound;
}

CString CExternalToolManager::ProgramNameOfWindow(HWND hWnd) const {
  DWORD dwPid = 0;
  ::GetWindowThreadProcessId(hWnd, &dwPid);
  for (int i = 0; dwPid && i < GetToolCount(); ++i) {
    const CToolProcess* pTool = GetTool(i);
    DWORD dwEntryPid = pTool->m_process.dwProcessId;
    if (!dwEntryPid && pTool->m_hWnd) ::GetWindowThreadProcessId(pTool->m_hWnd, &dwEntryPid);
    if (dwEntryPid != dwPid || pTool->m_strPath.IsEmpty()) continue;
    return pTool->m_strName.IsEmpty() ? CMTLGetFileName(pTool->m_strPath) : pTool->m_strName;
  }
  char szCaption[256] = "";
  ::GetWindowTextA(hWnd, szCaption, sizeof(szCaption));
  return szCaption;
}

void CExternalToolManager::StartTimers() {
  ::SetTimer(m_hMainWnd, TOOLTIMER_MONITOR, kMonitorFirstMs, NULL);
  ::SetTimer(m_hMainWnd, TOOLTIMER_CARD_WATCH, kCardWatchStartMs, NULL);
}

void CExternalToolManager::OnTimer(HWND hWnd, UINT_PTR nIDEvent) {
  if (nIDEvent == TOOLTIMER_MONITOR) {
    MonitorTools(hWnd);
  } else if (nIDEvent == TOOLTIMER_CARD_WATCH) {
    ::KillTimer(m_hMainWnd, TOOLTIMER_CARD_WATCH);
    m_cardWatcher.Start(m_hMainWnd, kCardWatchIntervalMs, m_pfnShowsCardFolder, m_pCardFolderContext);
  }
}

void CExternalToolManager::MonitorTools(HWND hTimerWnd) {
  ::KillTimer(m_hMainWnd, TOOLTIMER_MONITOR);
  HWND hForeground = ::GetForegroundWindow();
  if (hForeground && BelongsToSystem(this, hForeground)) UpdateState();

  // The main window's enabling follows the programs that need it.
  if (!FindBlockingWindow()) {
    if (CMGetProfileInt("VxExport", "MailModal", 0) == 1) {
      ::EnableWindow(m_hMainWnd, FALSE);
    } else if (CMGetProfileInt("ExeState", "ForceDisableMainWindow", 0) == 1) {
      ::EnableWindow(m_hMainWnd, FALSE);
    } else if (CMGetProfileInt("ExeState", "PageSmith_Created", 1) != 0 || m_nState != TOOLSTATE_PAGE_TOOL) {
      // Not under a dialog of ours (one not shown yet is not found above): its loop
      // keeps the main window disabled until it ends.
      if (!::IsWindowEnabled(m_hMainWnd) && !m_nRequestedState && AfxGetModalLoopDepth() == 0) {
        ::EnableWindow(m_hMainWnd, TRUE);
        if (m_nState != TOOLSTATE_SLIDESHOW && CMGetProfileInt("ExeState", "SlideShow_Created", 1) == 0)
          BringMainForward();
      }
    } else if (!::IsWindowVisible(m_hMainWnd) && !m_progress.m_hWnd) {
      ShowProgressDialog(IDS_SHELL_NOTICE_CLOSING);
    }
  }

  // The editor and the page tool take the main window's place.
  if ((CMGetProfileInt("ExeState", "PageSmith_Created", 1) == 1 && m_nState == TOOLSTATE_PAGE_TOOL) ||
      m_nState == TOOLSTATE_EDITOR) {
    if (::IsWindowVisible(m_hMainWnd)) ::ShowWindow(m_hMainWnd, SW_HIDE);
    if (!m_bWorkSaved) {
      ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &m_rcSavedWork, 0);
      m_nSavedShow = ::IsIconic(m_hMainWnd) ? SW_SHOWMINIMIZED : ::IsZoomed(m_hMainWnd) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
      m_bWorkSaved = TRUE;
      m_bNudgeSize = FALSE;
    }
  }
  if (m_nState == TOOLSTATE_SLIDESHOW) {
    if (HWND hExport = GetToolWindow(TOOL_EXPORT_PANE)) ::EnableWindow(hExport, FALSE);
  }

  BOOL bChanged = FALSE;
  int nVisibleIndex = -1;
  DWORD dwVisible = 0;
  for (int i = 0; i < GetToolCount(); ++i) {
    CToolProcess* pTool = m_tools[i];
    if (!pTool->m_hWnd || !::IsWindow(pTool->m_hWnd)) continue;
    DWORD dwStyle = (DWORD)::GetWindowLongA(pTool->m_hWnd, GWL_STYLE);
    if ((dwStyle ^ pTool->m_dwLastStyle) & WS_VISIBLE) {
      nVisibleIndex = i;
      dwVisible = dwStyle & WS_VISIBLE;
      bChanged = TRUE;
    }
    pTool->m_dwLastStyle = dwStyle;
  }

  for (int i = 0; i < GetToolCount(); ++i) {
    CToolProcess* pTool = m_tools[i];
    if (!pTool->IsTracked() || !pTool->m_hWnd || ::IsWindow(pTool->m_hWnd)) continue;
    OnToolWindowGone(i);
    bChanged = TRUE;
  }
  for (int i = 0; i < GetToolCount(); ++i) {
    CToolProcess* pTool = m_tools[i];
    if (pTool->IsTracked() && pTool->m_process.hProcess &&
        ::WaitForSingleObject(pTool->m_process.hProcess, 0) == WAIT_OBJECT_0) {
      pTool->Untrack();
      bChanged = TRUE;
    }
  }

  if (bChanged) {
    UpdateState();
    if (nVisibleIndex >= 0) {
      ::SendMessageA(hTimerWnd, WM_TOOL_VISIBILITY_CHANGED, (WPARAM)nVisibleIndex, dwVisible ? 0x10000000 : 0);
      ::SendMessageA(m_hMainWnd, WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE, 0);
    }
  }
  if (::IsWindow(m_hMainWnd)) ::SetTimer(m_hMainWnd, TOOLTIMER_MONITOR, kMonitorMs, NULL);
}

void CExternalToolManager::OnToolWindowGone(int nIndex) {
  CToolProcess* pTool = m_tools[nIndex];
  if (pTool->m_nFlags & TOOL_FLAG_CLOSES_MAIN) {
    if (!CMGetProfileInt("Common", "DontCheckStartupProcess", 0)) {
      CloseAll();
      ::PostMessageA(m_hMainWnd, WM_CLOSE, 0, 0);
      return;
    }
  } else if (pTool->m_process.hProcess) {
    for (int n = 0; n < kEndWaitTries; ++n) {
      if (::WaitForSingleObject(pTool->m_process.hProcess, 200) == WAIT_OBJECT_0) break;
      ::Sleep(100);
    }
  }

  if (nIndex == TOOL_IMAGE_EDITOR) {
    CString strSaved = CMGetProfileString("VxEdit\\IPC", "FileSaved", "");
    if (!strSaved.IsEmpty()) {
      // The copy is ours: the receivers read it during the sends and never free it.
      HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, strSaved.GetLength() + 1);
      if (hText) {
        if (char* p = static_cast<char*>(::GlobalLock(hText))) {
          memcpy(p, (LPCSTR)strSaved, strSaved.GetLength() + 1);
          ::GlobalUnlock(hText);
        }
        ::SendMessageA(m_hMainWnd, WM_REFRESH_FOLDERS, (WPARAM)m_hMainWnd, (LPARAM)hText);
        ::SendMessageA(m_hMainWnd, WM_BROWSER_RELOAD, (WPARAM)m_hMainWnd, (LPARAM)hText);
        ::GlobalFree(hText);
      }
    }
  }
  if (nIndex == TOOL_IMAGE_EDITOR || nIndex == TOOL_PAGE_TOOL) {
    if (m_progress.m_hWnd) m_progress.RedrawWindow();
    if (m_bWorkSaved && !::IsWindowVisible(m_hMainWnd)) {
      CRect rcWork;
      ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
      if (rcWork == m_rcSavedWork) {
        ::ShowWindow(m_hMainWnd, SW_SHOW);
      } else {
        ::ShowWindow(m_hMainWnd, SW_SHOWMINIMIZED);
        ::ShowWindow(m_hMainWnd, m_nSavedShow == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_RESTORE);
      }
      m_bWorkSaved = FALSE;
      if (m_bNudgeSize) {
        CRect rc;
        ::GetWindowRect(m_hMainWnd, &rc);
        ::SetWindowPos(m_hMainWnd, NULL, 0, 0, rc.Width() + 1, rc.Height(), SWP_NOMOVE | SWP_NOZORDER);
        ::SetWindowPos(m_hMainWnd, NULL, 0, 0, rc.Width(), rc.Height(), SWP_NOMOVE | SWP_NOZORDER);
      }
    }
    BringMainForward();
    ::ShowWindow(m_hMainWnd, SW_SHOW);
    CloseProgressDialog();
    m_cardWatcher.Resume();
  }
  if (nIndex == TOOL_SLIDESHOW && CMGetProfileInt("ExeState", "SlideShow_Created", 0) == 1) {
    if (m_bPlacementSaved) ::SetWindowPlacement(m_hMainWnd, &m_savedPlacement);
    if (CMainFrame* pFrame = dynamic_cast<CMainFrame*>(CWnd::FromHandlePermanent(m_hMainWnd))) pFrame->LoadSplitterSizes();
    CMWriteProfileInt("ExeState", "SlideShow_Created", 0);
  }
  if (nIndex == TOOL_SLIDESHOW || nIndex == TOOL_PAGE_TOOL) {
    if (HWND hExport = GetToolWindow(TOOL_EXPORT_PANE)) ::EnableWindow(hExport, TRUE);
  }
  pTool->m_hWnd = NULL;
  pTool->Untrack();
}
