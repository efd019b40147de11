// The outside-program manager's close: everything it started goes with the main window.
#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>

#include <vector>

#include "ExternalToolManager.h"
#include "ui/ProgramFolder.h"

namespace {

const int kBusyWaitTries = 60;      // x 10 ms for a relay under way
const int kCloseTries = 20;         // WM_CLOSE every 200 ms, then termination
const DWORD kCloseTryMs = 200;

void PumpWaitingMessages() {
  MSG msg;
  for (int n = 0; n < 200 && ::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE); ++n) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage((int)msg.wParam);
      return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

}  // namespace

void CExternalToolManager::CloseAll(DWORD dwRoundMs, int nRounds) {
  if (::IsWindow(m_hMainWnd)) {
    ::EnableWindow(m_hMainWnd, FALSE);
    ::KillTimer(m_hMainWnd, TOOLTIMER_MONITOR);
  }
  // The watcher sends to the main window: it must be gone before the window is.
  m_cardWatcher.Stop();

  CString strLock;
  strLock.Format("%s\\%s.lock", (LPCSTR)CMTLGetExeDir(), "NORVANE_MARLO_PROCESS_MANAGEMENT");
  ::DeleteFileA(strLock);

  std::vector<HANDLE> processes;
  static const int kClosed[] = {TOOL_IMAGE_EDITOR, TOOL_SLIDESHOW, TOOL_PAGE_TOOL};
  for (int nIndex : kClosed) {
    CToolProcess* pTool = GetTool(nIndex);
    if (!pTool) continue;
    if (pTool->m_hWnd && ::IsWindow(pTool->m_hWnd)) {
      DWORD_PTR dwResult;
      ::SendMessageTimeoutA(pTool->m_hWnd, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 1000, &dwResult);
    }
    if (pTool->IsTracked() && pTool->m_process.hProcess) processes.push_back(pTool->m_process.hProcess);
  }

  for (int n = 0; n < kBusyWaitTries && m_nBusy; ++n) ::Sleep(10);

  // The notice only when there are programs to wait for; the main window goes first, as
  // the program's end is under way.
  if (!processes.empty()) {
    if (::IsWindow(m_hMainWnd)) ::ShowWindow(m_hMainWnd, SW_HIDE);
    ShowProgressDialog(IDS_SHELL_NOTICE_CLOSING);
  }

  if (!m_bForcedClose) {
    if (HMODULE hOrder = LoadProgramLibrary("ExpOrderUI.peu")) {
      typedef long(WINAPI * UpdateDpofFn)();
      if (UpdateDpofFn pfn = reinterpret_cast<UpdateDpofFn>(::GetProcAddress(hOrder, "UpdateDPOF"))) pfn();
      ::FreeLibrary(hOrder);
    }
  }

  if (!processes.empty()) {
    BOOL bAllEnded = FALSE;
    for (int nRound = 0; nRound < nRounds && !bAllEnded; ++nRound) {
      if (m_progress.m_hWnd) m_progress.UpdateWindow();
      PumpWaitingMessages();
      for (int i = 0; i < GetToolCount(); ++i) {
        CToolProcess* pTool = m_tools[i];
        if (pTool->IsTracked() && pTool->m_process.hProcess &&
            ::WaitForSingleObject(pTool->m_process.hProcess, 0) == WAIT_OBJECT_0)
          pTool->Untrack();
      }
      bAllEnded = ::WaitForMultipleObjects((DWORD)processes.size(), processes.data(), TRUE, dwRoundMs) !=
                  WAIT_TIMEOUT;
    }
    if (bAllEnded) {
      for (int i = 0; i < GetToolCount(); ++i) m_tools[i]->Untrack();
    } else {
      // Still there: asked again, then ended by force.
      for (int i = TOOL_PANE_COUNT; i < GetToolCount(); ++i) {
        CToolProcess* pTool = m_tools[i];
        if (!pTool->m_hWnd || !::IsWindow(pTool->m_hWnd)) continue;
        BOOL bEnded = FALSE;
        for (int n = 0; n < kCloseTries && !bEnded; ++n) {
          ::PostMessageA(pTool->m_hWnd, WM_CLOSE, 0, 0);
          PumpWaitingMessages();
          bEnded = pTool->m_process.hProcess
                       ? ::WaitForSingleObject(pTool->m_process.hProcess, kCloseTryMs) == WAIT_OBJECT_0
                       : (::Sleep(kCloseTryMs), !::IsWindow(pTool->m_hWnd));
        }
        if (!bEnded && pTool->m_process.hProcess) ::TerminateProcess(pTool->m_process.hProcess, 1);
        pTool->Untrack();
      }
    }
  }
  CloseProgressDialog();
}
