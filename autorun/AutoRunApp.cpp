#include "AutoRunApp.h"

#include "AboutDialog.h"
#include "MainFrame.h"

#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>
#include <cardwatch/Programs.h>
#include <cardwatch/StartupChecks.h>

namespace {

const char kInstanceMutex[] = "Norvane Glimora TaskApp Instance";

// The frame's style: an overlapped window with a title, never shown.
const DWORD kFrameStyle = 0xCF8000;

void ShowStartupMessage(const CString& text, int nTitleKind, UINT nType) {
  MessageBoxA(NULL, text, CMTLGetAppVersionName(nTitleKind), nType);
}

}  // namespace

BEGIN_MESSAGE_MAP(CAutoRunApp, CWinApp)
  ON_COMMAND(ID_APP_ABOUT, &CAutoRunApp::OnAppAbout)
END_MESSAGE_MAP()

CAutoRunApp::CAutoRunApp() : m_hResourceDll(NULL), m_hInstanceMutex(NULL) {}

BOOL CAutoRunApp::LoadResourceLibrary() {
  // By its full path: a bare name would let the search path find another file of that name.
  CString path = cardwatch::GetModuleFolder() + "\\VxResource.dll";
  m_hResourceDll = LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!m_hResourceDll) {
    MessageBoxA(NULL, "There is no VxResource.dll.", AfxGetAppName(), MB_ICONERROR);
    return FALSE;
  }
  AfxSetResourceHandle(m_hResourceDll);
  return TRUE;
}

BOOL CAutoRunApp::TakeInstanceMutex() {
  m_hInstanceMutex = CreateMutexA(NULL, TRUE, kInstanceMutex);
  const DWORD dwError = GetLastError();
  if (dwError == ERROR_ALREADY_EXISTS || (!m_hInstanceMutex && dwError == ERROR_ACCESS_DENIED)) {
    ShowStartupMessage(CString(MAKEINTRESOURCEA(IDS_AUTORUN_ALREADY_RUNNING)), 1, MB_ICONHAND | MB_SYSTEMMODAL);
    if (m_hInstanceMutex) CloseHandle(m_hInstanceMutex);
    m_hInstanceMutex = NULL;
    return FALSE;
  }
  return TRUE;
}

BOOL CAutoRunApp::CheckEnvironment() {
  CString text;
  if (!cardwatch::CheckDataAccessVersion()) {
    text.Format(IDS_SHELL_MDAC_TOO_OLD, 2.5);
    text += CString(MAKEINTRESOURCEA(IDS_SHELL_MDAC_INSTALL));
    ShowStartupMessage(text, 0, MB_ICONEXCLAMATION);
    return FALSE;
  }
  if (!cardwatch::CheckClockYear()) {
    ShowStartupMessage(CString(MAKEINTRESOURCEA(IDS_SHELL_BAD_CLOCK_YEAR)), 0, MB_ICONEXCLAMATION);
    return FALSE;
  }
  if (!cardwatch::CheckFreeDiskSpace(CMTLGetExeDir())) {
    text.Format(IDS_SHELL_LOW_DISK_SPACE, 200);
    ShowStartupMessage(text, 0, MB_ICONEXCLAMATION);
    return FALSE;
  }
  // Only an administrator's session runs the launcher; others end without a word.
  return SUCCEEDED(cardwatch::CheckAdministrator());
}

BOOL CAutoRunApp::InitInstance() {
  AfxEnableControlContainer();
  SetRegistryKey("Local AppWizard-Generated Applications");
  LoadStdProfileSettings(4);
  CMTLSetLocale();

  if (!LoadResourceLibrary() || !TakeInstanceMutex() || !CheckEnvironment()) return FALSE;

  CMainFrame* pFrame = new CMainFrame;
  m_pMainWnd = pFrame;
  if (!pFrame->LoadFrame(IDR_MAINFRAME, kFrameStyle)) {
    m_pMainWnd = NULL;
    return FALSE;
  }
  return TRUE;
}

int CAutoRunApp::ExitInstance() {
  if (m_hInstanceMutex) {
    ReleaseMutex(m_hInstanceMutex);
    CloseHandle(m_hInstanceMutex);
    m_hInstanceMutex = NULL;
  }
  if (m_hResourceDll) {
    AfxSetResourceHandle(AfxGetInstanceHandle());
    FreeLibrary(m_hResourceDll);
    m_hResourceDll = NULL;
  }
  return CWinApp::ExitInstance();
}

void CAutoRunApp::OnAppAbout() {
  CAboutDialog dlg(m_pMainWnd);
  dlg.DoModal();
}
