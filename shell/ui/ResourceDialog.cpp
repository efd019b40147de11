#include "ResourceDialog.h"

#include "ProgramFolder.h"

// ---- CResourceDialog ------------------------------------------------------------------

CResourceDialog::CResourceDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd) {}

INT_PTR CResourceDialog::DoModal() {
  // Only the current resource module: the program's own modules carry no templates, and
  // a template of the same id elsewhere in the chain must not stand in for a missing one.
  HINSTANCE hInst = AfxGetResourceHandle();
  LPCSTR lpszName = m_lpszTemplateName;
  HRSRC hResource = lpszName ? ::FindResourceA(hInst, lpszName, RT_DIALOG) : NULL;
  HGLOBAL hTemplate = hResource ? ::LoadResource(hInst, hResource) : NULL;
  LPCDLGTEMPLATE lpTemplate = hTemplate ? static_cast<LPCDLGTEMPLATE>(::LockResource(hTemplate)) : NULL;
  if (!lpTemplate) return -1;
  // The framework's modal sequence on the template found here.
  m_lpszTemplateName = NULL;
  m_lpDialogTemplate = lpTemplate;
  INT_PTR nResult = CDialog::DoModal();
  m_lpDialogTemplate = NULL;
  m_lpszTemplateName = lpszName;
  return nResult;
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

CString LoadResourceText(UINT nID) {
  CResourceSwitcher res;
  CString s;
  s.LoadString(nID);
  return s;
}
