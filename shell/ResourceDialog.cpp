#include "ResourceDialog.h"

#include "ProgramFolder.h"

// ---- CResourceDialog ------------------------------------------------------------------

CResourceDialog::CResourceDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd) {}

INT_PTR CResourceDialog::DoModal() {
  // Only the current resource module: the program's own modules carry no templates, and
  // a template of the same id elsewhere in the chain must not stand in for a missing one.
  HINSTANCE hInst = AfxGetResourceHandle();
  HRSRC hResource = m_lpszTemplateName ? ::FindResourceA(hInst, m_lpszTemplateName, RT_DIALOG) : NULL;
  HGLOBAL hTemplate = hResource ? ::LoadResource(hInst, hResource) : NULL;
  LPCDLGTEMPLATE lpTemplate = hTemplate ? static_cast<LPCDLGTEMPLATE>(::LockResource(hTemplate)) : NULL;
  if (!lpTemplate) return -1;

  HWND hWndParent = PreModal();
  AfxUnhookWindowCreate();
  BOOL bEnableParent = FALSE;
  if (hWndParent && hWndParent != ::GetDesktopWindow() && ::IsWindowEnabled(hWndParent)) {
    ::EnableWindow(hWndParent, FALSE);
    bEnableParent = TRUE;
  }
  try {
    m_nModalResult = -1;
    if (CreateDlgIndirect(lpTemplate, CWnd::FromHandle(hWndParent), hInst)) {
      if (m_nFlags & WF_CONTINUEMODAL) {
        DWORD dwFlags = MLF_SHOWONIDLE;
        if (GetStyle() & DS_NOIDLEMSG) dwFlags |= MLF_NOIDLEMSG;
        RunModalLoop(dwFlags);
      }
      if (m_hWnd)
        SetWindowPos(NULL, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
  } catch (CException* e) {
    e->Delete();
    m_nModalResult = -1;
  } catch (...) {
    m_nModalResult = -1;
  }
  if (bEnableParent) ::EnableWindow(hWndParent, TRUE);
  if (hWndParent && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(hWndParent);
  DestroyWindow();
  PostModal();
  return m_nModalResult;
}

// ---- CResourceSwitcher ----------------------------------------------------------------

namespace {
HINSTANCE g_hSwitchLibrary = NULL;  // loaded by the first switcher, kept for the process
int g_nSwitchers = 0;               // switchers alive
HINSTANCE g_hSavedResource = NULL;  // the handle the active switch replaced
}  // namespace

CResourceSwitcher::CResourceSwitcher(LPCSTR lpszLibrary) : m_bSwitched(FALSE) {
  if (!g_hSwitchLibrary) {
    // Loaded at most once for the process: a library already there is taken as it is.
    g_hSwitchLibrary = ::GetModuleHandleA(ProgramFolderPath(lpszLibrary));
    if (!g_hSwitchLibrary) g_hSwitchLibrary = LoadProgramLibrary(lpszLibrary);
  }
  ++g_nSwitchers;
  if (g_hSavedResource || !g_hSwitchLibrary) return;
  HINSTANCE hCurrent = AfxGetResourceHandle();
  if (hCurrent == g_hSwitchLibrary) return;  // already current: nothing to undo later
  g_hSavedResource = hCurrent;
  AfxSetResourceHandle(g_hSwitchLibrary);
  m_bSwitched = TRUE;
}

CResourceSwitcher::~CResourceSwitcher() {
  --g_nSwitchers;
  if (m_bSwitched) {
    if (AfxGetResourceHandle() != g_hSavedResource) AfxSetResourceHandle(g_hSavedResource);
    g_hSavedResource = NULL;
  }
  if (g_nSwitchers == 0) g_hSwitchLibrary = NULL;  // the library itself stays loaded
}

HINSTANCE CResourceSwitcher::GetLibrary() { return g_hSwitchLibrary; }
