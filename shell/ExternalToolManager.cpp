// The outside-program manager: its list, its state, and starting programs.
#include "ExternalToolManager.h"
#include "ShellActions.h"

#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>
#include <foreground/Foreground.h>

#include "FramePlacement.h"
#include "ProcessUtil.h"
#include "StartupChecks.h"

// ---- CToolProcess -----------------------------------------------------------------------

CToolProcess::CToolProcess() : m_nLocation(0), m_nFlags(0), m_hWnd(NULL), m_dwLastStyle(0), m_dwState(INITIAL_STATE) {
  ZeroMemory(&m_startup, sizeof(m_startup));
  m_startup.cb = sizeof(m_startup);
  ZeroMemory(&m_process, sizeof(m_process));
}

CToolProcess::~CToolProcess() { Untrack(); }

void CToolProcess::Untrack() {
  if (m_process.hThread) ::CloseHandle(m_process.hThread);
  if (m_process.hProcess) ::CloseHandle(m_process.hProcess);
  ZeroMemory(&m_process, sizeof(m_process));
  m_dwState &= ~(DWORD)TRACKED;
}

// ---- Plain rules ------------------------------------------------------------------------

int ToolStateFromWindows(DWORD dwWindowBits) {
  switch (dwWindowBits) {
    case 0x2F: return TOOLSTATE_SLIDESHOW;  // panes and the slide-show player
    case 0x4F: return TOOLSTATE_PAGE_TOOL;  // panes and the page tool
    case 0x8F: return TOOLSTATE_IDLE;       // panes and the browser's own entry
    case 0x9F: return TOOLSTATE_EDITOR;     // ... and the image editor
    default: return 0;
  }
}

namespace {

CString ToolProgramPath(LPCSTR lpszPath, LPCSTR lpszProgramFolder) {
  CString strPath = lpszPath ? lpszPath : "";
  if (strPath.GetLength() >= 2 && strPath[1] == ':') return strPath;
  CString strProgram;
  strProgram.Format("%s\\%s", lpszProgramFolder, (LPCSTR)strPath);
  return strProgram;
}

CString ToolArguments(HWND hMainWnd, LPCSTR lpszArgument) {
  CString strArguments;
  strArguments.Format("-w%08X %s", (unsigned)(UINT_PTR)hMainWnd, lpszArgument ? lpszArgument : "");
  return strArguments;
}

}  // namespace

void BuildToolCommandLine(LPCSTR lpszPath, LPCSTR lpszProgramFolder, HWND hMainWnd, LPCSTR lpszArgument,
                          CString* pstrProgram, CString* pstrCommandLine) {
  *pstrProgram = ToolProgramPath(lpszPath, lpszProgramFolder);
  *pstrCommandLine = QuotedCommandLine(*pstrProgram, ToolArguments(hMainWnd, lpszArgument));
}

// ---- The list ---------------------------------------------------------------------------

CExternalToolManager::CExternalToolManager()
    : m_nState(TOOLSTATE_IDLE),
      m_nRequestedState(0),
      m_bForcedClose(FALSE),
      m_pfnDisplayFit(&IsDisplayFitWhileRunning),
      m_hMainWnd(NULL),
      m_bPlacementSaved(FALSE),
      m_bWorkSaved(FALSE),
      m_nSavedShow(SW_SHOWNORMAL),
      m_bNudgeSize(FALSE),
      m_hRequester(NULL),
      m_nBusy(0),
      m_pfnShowsCardFolder(NULL),
      m_pCardFolderContext(NULL) {
  ZeroMemory(&m_savedPlacement, sizeof(m_savedPlacement));
  m_savedPlacement.length = sizeof(m_savedPlacement);
}

CExternalToolManager::~CExternalToolManager() {
  m_cardWatcher.Stop();
  for (INT_PTR i = 0; i < m_tools.GetSize(); ++i) delete m_tools[i];
  m_tools.RemoveAll();
}

void CExternalToolManager::LoadToolList() {
  for (INT_PTR i = 0; i < m_tools.GetSize(); ++i) delete m_tools[i];
  m_tools.RemoveAll();
  for (int n = 0;; ++n) {
    ToolEntrySettings settings;
    BOOL bHasPath = ReadToolEntry(n, &settings);
    // The panes are entries whatever the profile says; programs end the list at a gap.
    if (!bHasPath && n >= TOOL_PANE_COUNT) break;
    CToolProcess* pTool = new CToolProcess;
    pTool->m_strPath = settings.strPath.Left(MAX_PATH - 1);
    pTool->m_strName = settings.strName.Left(MAX_PATH - 1);
    pTool->m_nLocation = settings.nLocation;
    pTool->m_nFlags = settings.nFlags;
    m_tools.Add(pTool);
  }
}

CToolProcess* CExternalToolManager::GetTool(int nIndex) const {
  return nIndex >= 0 && nIndex < m_tools.GetSize() ? m_tools[nIndex] : NULL;
}

HRESULT CExternalToolManager::SetToolWindow(int nIndex, HWND hWnd) {
  CToolProcess* pTool = GetTool(nIndex);
  if (!pTool) return E_FAIL;
  pTool->m_hWnd = hWnd;
  if (nIndex == TOOL_SLIDESHOW && m_progress.m_hWnd) m_progress.RedrawWindow();
  return S_OK;
}

HWND CExternalToolManager::GetToolWindow(int nIndex) const {
  CToolProcess* pTool = GetTool(nIndex);
  return pTool ? pTool->m_hWnd : NULL;
}

void CExternalToolManager::UpdateState() {
  DWORD dwBits = 0;
  for (int i = 0; i < GetToolCount() && i < 32; ++i)
    if (m_tools[i]->m_hWnd) dwBits |= 1u << i;
  int nState = ToolStateFromWindows(dwBits);
  if (nState) m_nState = nState;
  if (m_nRequestedState && m_nState == m_nRequestedState) m_nRequestedState = 0;
}

// ---- Starting programs ------------------------------------------------------------------

HRESULT CExternalToolManager::Launch(int nIndex, LPCSTR lpszArgument) {
  CToolProcess* pTool = GetTool(nIndex);
  if (!pTool) return E_FAIL;
  if (nIndex < TOOL_PANE_COUNT) return S_OK;
  pTool->Untrack();
  CString strProgram = ToolProgramPath(pTool->m_strPath, CMTLGetExeDir());
  if (!StartProgram(strProgram, ToolArguments(m_hMainWnd, lpszArgument), CMTLGetDirectory(strProgram), FALSE,
                    &pTool->m_process, &pTool->m_startup))
    return (HRESULT)(0x80070000 | (::GetLastError() & 0xFFFF));
  pTool->m_dwState |= CToolProcess::TRACKED;
  return S_OK;
}

void CExternalToolManager::PlaceProgram(int nIndex) {
  CToolProcess* pTool = GetTool(nIndex);
  if (!pTool || !::IsWindow(m_hMainWnd)) return;
  STARTUPINFOA& si = pTool->m_startup;
  ZeroMemory(&si, sizeof(si));
  si.cb = sizeof(si);
  CRect rcMain;
  ::GetWindowRect(m_hMainWnd, &rcMain);
  if (nIndex == TOOL_SLIDESHOW) {
    CRect rcWork, rcFrame, rcStrip;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    PlaceSlideStrip(rcMain, rcWork, ::IsZoomed(m_hMainWnd), &rcFrame, &rcStrip);
    if (rcFrame != rcMain)
      ::SetWindowPos(m_hMainWnd, NULL, rcFrame.left, rcFrame.top, rcFrame.Width(), rcFrame.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    si.dwFlags = STARTF_USEPOSITION | STARTF_USESIZE;
    si.dwX = rcStrip.left;
    si.dwY = rcStrip.top;
    si.dwXSize = rcStrip.Width();
    si.dwYSize = rcStrip.Height();
    return;
  }
  WINDOWPLACEMENT wp = {};
  wp.length = sizeof(wp);
  ::GetWindowPlacement(m_hMainWnd, &wp);
  si.dwFlags = STARTF_USEPOSITION | STARTF_USESIZE | STARTF_USESHOWWINDOW;
  si.dwX = rcMain.left;
  si.dwY = rcMain.top;
  si.dwXSize = rcMain.Width();
  si.dwYSize = rcMain.Height();
  si.wShowWindow = (WORD)ShowCommandForMainState(::IsIconic(m_hMainWnd), ::IsZoomed(m_hMainWnd),
                                                 wp.showCmd == SW_SHOWNORMAL);
}

void CExternalToolManager::ShowProgressDialog(UINT nText) {
  if (!m_progress.m_hWnd && !m_progress.CreateModeless(CWnd::FromHandle(m_hMainWnd))) return;
  CString strText;
  strText.LoadString(nText);
  m_progress.SetText(strText);
  m_progress.CenterWindow();
  m_progress.ShowWindow(SW_SHOW);
  m_progress.UpdateWindow();
}

void CExternalToolManager::CloseProgressDialog() {
  if (m_progress.m_hWnd) m_progress.DestroyWindow();
}

HRESULT CExternalToolManager::OpenTool(int nType, LPCSTR lpszText) {
  switch (nType) {
    case OPENTOOL_CLOSE: {
      int nEntry = (m_nState == TOOLSTATE_EDITOR || m_nState == TOOLSTATE_SLIDESHOW) ? TOOL_IMAGE_EDITOR
                   : m_nState == TOOLSTATE_PAGE_TOOL                                 ? TOOL_PAGE_TOOL
                                                                                     : -1;
      if (nEntry < 0) return E_FAIL;
      // Another program's window: a hung one does not hold this thread.
      if (HWND hWnd = GetToolWindow(nEntry))
        ::SendMessageTimeoutA(hWnd, WM_CLOSE, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, CMTL_COPYDATA_TIMEOUT, NULL);
      return S_OK;
    }
    case OPENTOOL_EDITOR_FILE: {
      if (m_nState != TOOLSTATE_IDLE || !GetTool(TOOL_IMAGE_EDITOR) ||
          SystemStartupProbes().IsMutexPresent(EDITOR_MUTEX_NAME))
        return E_FAIL;
      CMWriteProfileString("VxEdit\\IPC", "FileSaved", "");
      PlaceProgram(TOOL_IMAGE_EDITOR);
      if (SUCCEEDED(Launch(TOOL_IMAGE_EDITOR, lpszText))) {
        ::EnableWindow(m_hMainWnd, FALSE);
        m_nRequestedState = TOOLSTATE_EDITOR;
      }
      return S_OK;
    }
    case OPENTOOL_SLIDESHOW: {
      if (m_nState != TOOLSTATE_IDLE || !GetTool(TOOL_SLIDESHOW)) {
        CloseProgressDialog();
        return E_FAIL;
      }
      PlaceProgram(TOOL_SLIDESHOW);
      CMWriteProfileInt("ExeState", "SlideShow_Created", 0);
      CMWriteProfileInt("ExeState", "SlideShowNotClose", 0);
      CString strArgument = "/sdg ";
      strArgument += lpszText ? lpszText : "";
      HRESULT hr = Launch(TOOL_SLIDESHOW, strArgument);
      if (FAILED(hr)) CloseProgressDialog();
      return hr;
    }
    case OPENTOOL_EDITOR:
      if (m_nState != TOOLSTATE_IDLE) return E_FAIL;
      return Launch(TOOL_IMAGE_EDITOR, "");
    case OPENTOOL_PAGE_TOOL: {
      if (m_nState != TOOLSTATE_IDLE || !GetTool(TOOL_PAGE_TOOL)) return E_FAIL;
      PlaceProgram(TOOL_PAGE_TOOL);
      HRESULT hr = Launch(TOOL_PAGE_TOOL, lpszText);
      if (SUCCEEDED(hr)) {
        ::EnableWindow(m_hMainWnd, FALSE);
        m_nRequestedState = TOOLSTATE_PAGE_TOOL;
        m_cardWatcher.Suspend();
      }
      return hr;
    }
    default:
      return E_INVALIDARG;
  }
}

// ---- Placement --------------------------------------------------------------------------

void CExternalToolManager::SaveMainPlacement() {
  HWND hPlayer = GetToolWindow(TOOL_SLIDESHOW);
  if (!hPlayer || !::IsWindow(hPlayer) || ::IsIconic(m_hMainWnd)) return;
  m_savedPlacement.length = sizeof(m_savedPlacement);
  if (::GetWindowPlacement(m_hMainWnd, &m_savedPlacement)) m_bPlacementSaved = TRUE;
  CRect rcMain, rcWork, rcFrame, rcStrip;
  ::GetWindowRect(m_hMainWnd, &rcMain);
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
  PlaceSlideStrip(rcMain, rcWork, ::IsZoomed(m_hMainWnd), &rcFrame, &rcStrip);
  if (rcFrame != rcMain)
    ::SetWindowPos(m_hMainWnd, NULL, rcFrame.left, rcFrame.top, rcFrame.Width(), rcFrame.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CExternalToolManager::GetSlidePlacement(WINDOWPLACEMENT* pPlacement) const {
  HWND hPlayer = GetToolWindow(TOOL_SLIDESHOW);
  if (!hPlayer || !::IsWindow(hPlayer) || !m_bPlacementSaved) return FALSE;
  *pPlacement = m_savedPlacement;
  return TRUE;
}

void CExternalToolManager::BringMainForward() { foreground::BringToFront(m_hMainWnd); }
