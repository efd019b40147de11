#include "MainApp.h"

#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>
#include <RecordGate.h>
#include <RecordGateEx.h>
#include <TickCache.h>
#include <VxDocument.h>
#include <VxPixWrapper.h>
#include <VxResourceIds.h>
#include <cardwatch/Programs.h>
#include <shlobj.h>

#include "CommandLine.h"
#include "MainFrame.h"
#include "Marlo2View.h"
#include "MainWndMessages.h"
#include "ui/ProgramFolder.h"
#include "ProcessUtil.h"
#include "SingleInstance.h"
#include "SplashWnd.h"
#include "ToolList.h"
#include "ui/AboutDlg.h"

BEGIN_MESSAGE_MAP(CMainApp, CWinApp)
  ON_COMMAND(ID_APP_ABOUT, &CMainApp::OnAppAbout)
  ON_COMMAND(ID_FILE_PRINT_SETUP, &CWinApp::OnFilePrintSetup)
  ON_COMMAND(ID_APP_EXIT, &CWinApp::OnAppExit)  // the main frame's close, with its checks
END_MESSAGE_MAP()

CMainApp::CMainApp()
    : m_hResourceDll(NULL),
      m_hInstanceMutex(NULL),
      m_pProbes(&SystemStartupProbes()),
      m_hFirstMutex(NULL),
      m_hSecondMutex(NULL),
      m_bOleStarted(FALSE),
      m_bDatabaseOpened(FALSE),
      m_bMarksOpened(FALSE),
      m_bSimilarOpened(FALSE),
      m_dwDatabaseDamagesTold(0) {}

CMainApp::~CMainApp() { DeleteOwnedObjects(); }

// ---- Start-up ---------------------------------------------------------------------------------

BOOL CMainApp::InitInstance() {
  CMTLSetLocale();

  m_hResourceDll = LoadProgramLibrary("VxResource.dll");
  if (!m_hResourceDll) {
    ::MessageBoxA(NULL, "There is no VxResource.dll.", m_pszAppName, MB_OK | MB_ICONHAND);
    return FALSE;
  }
  AfxSetResourceHandle(m_hResourceDll);

  ResetProfileOnNewInstall();

  AfxEnableControlContainer();
  m_bOleStarted = AfxOleInit();
  if (COleMessageFilter* pFilter = AfxOleGetMessageFilter()) {
    pFilter->EnableBusyDialog(FALSE);
    pFilter->EnableNotRespondingDialog(FALSE);
  }

  // Message boxes carry the product's title; the common library's name stands in for a
  // missing profile value.
  CString strTitle = CMGetProfileString("ProductInfo", "WindowTitle", "");
  if (strTitle.IsEmpty()) strTitle = CMTLGetAppName();
  free(const_cast<char*>(m_pszAppName));
  m_pszAppName = _strdup(strTitle);

  if (!CheckSingleInstance()) {
    BringMainWindowForward(cardwatch::FindMainProgramWindow());
    return FALSE;
  }

  CSplashWnd::EnableSplashScreen(TRUE);
  CSplashWnd::ShowSplashScreen(NULL);

  StartupRefusal refusal;
  if (FindEnvironmentRefusal(*m_pProbes, CMTLGetExeDir(), &refusal) != STARTUP_PASSED) {
    ShowStartupRefusal(refusal);
    return FALSE;
  }
  PrepareEditorSettings();
  RunFirstStartSequence();
  if (FindAccountRefusal(*m_pProbes, &refusal) != STARTUP_PASSED) {
    ShowStartupRefusal(refusal);
    return FALSE;
  }
  EnsureVideoCodecDefaults();

  m_bDatabaseOpened = TRUE;
  HRESULT hrDatabase = VxDBWInitDatabase();
  VXDBHEALTH health;
  CString strNotice;
  UINT nBoxType = MB_OK;
  if (SUCCEEDED(VxDBGetHealth(&health))) {
    m_dwDatabaseDamagesTold = health.dwDamageCount;
    if (FindDatabaseNotice(hrDatabase, health, &strNotice, &nBoxType)) {
      CSplashWnd::HideSplashScreen();
      AfxMessageBox(strNotice, nBoxType);
    }
  }
  m_bMarksOpened = TRUE;
  Mark_Init();
  if (CMGetProfileInt("dotSeek", "Flag", 0)) {
    m_bSimilarOpened = TRUE;
    PSWInitDatabase();
    if (CMGetProfileInt("SearchResult", "DelLastMem", 0)) VxDBWxDeleteSearchResult(3);
  }

  Enable3dControls();
  AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CVxDocument), RUNTIME_CLASS(CMainFrame),
                                        RUNTIME_CLASS(CMarlo2View)));
  ReadCommandLine(__argc, __argv);

  OnFileNew();
  CMainFrame* pFrame = dynamic_cast<CMainFrame*>(m_pMainWnd);
  if (!pFrame) return FALSE;

  pFrame->ShowWindow(SW_SHOW);
  pFrame->SetForegroundWindow();
  pFrame->UpdateWindow();
  ::SetPropA(pFrame->m_hWnd, MAINWND_PROPERTY, reinterpret_cast<HANDLE>(1));
  pFrame->m_bNormalStart = TRUE;

  if (HasAutoImportSwitch(::GetCommandLineA())) {
    pFrame->m_bNormalStart = FALSE;
    pFrame->SetTimer(MAINFRAME_TIMER_AUTO_IMPORT, 2000, NULL);
  }
  return TRUE;
}

BOOL CMainApp::CheckSingleInstance() {
  InstanceResult result = TakeInstanceMutexes(SystemInstanceMutexProbes(), cardwatch::GetMainProgramMutexName(),
                                              &m_hFirstMutex, &m_hInstanceMutex, &m_hSecondMutex);
  switch (result) {
    case INSTANCE_TAKEN:
      return TRUE;
    case INSTANCE_CLIP_EDITOR:
      AfxMessageBox(IDS_SHELL_CLIP_EDITOR_RUNNING);
      return FALSE;
    case INSTANCE_OTHER_NOTIFY:
      AfxMessageBox(IDS_SHELL_ALREADY_RUNNING, MB_OK | MB_ICONHAND | MB_SYSTEMMODAL);
      return FALSE;
    default:
      return FALSE;
  }
}

int CMainApp::ReleaseInstanceMutex() {
  if (!m_hInstanceMutex) return 0;
  if (::CloseHandle(m_hInstanceMutex)) m_hInstanceMutex = NULL;
  return 1;
}

int CMainApp::RetakeInstanceMutex() {
  if (m_hInstanceMutex) return 1;
  m_hInstanceMutex = ::CreateMutexA(NULL, TRUE, cardwatch::InstanceMutexName(CLIP_EDITOR_MUTEX, FALSE));
  return m_hInstanceMutex ? 1 : 0;
}

void CMainApp::ReadCommandLine(int argc, const char* const* argv) {
  CommandLineArgs args = ParseCommandLine(argc, argv);
  m_strAutoPlayDrive = args.strAutoPlayDrive;
  m_strStartPath = args.strStartPath;
}

BOOL CMainApp::ResetProfileOnNewInstall() {
  // The installer's count lives beside the program root ("...\VxCommon" in HKLM).
  CString strRoot = CMGetKeyPosition();
  int nSlash = strRoot.ReverseFind('\\');
  if (nSlash <= 0) return FALSE;
  CString strParent = strRoot.Left(nSlash);
  CString strChild = strRoot.Mid(nSlash + 1);

  DWORD dwCount = 0, cb = sizeof(dwCount);
  if (::RegGetValueA(HKEY_LOCAL_MACHINE, strParent + "\\VxCommon", "InstallGmrCount", RRF_RT_REG_DWORD, NULL,
                     &dwCount, &cb) != ERROR_SUCCESS)
    return FALSE;
  if ((int)dwCount == CMGetProfileInt("Common", "InstallGmrCount", 0)) return TRUE;

  HKEY hKey;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, strParent, 0, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS) return FALSE;
  ::RegDeleteTreeA(hKey, strChild);
  ::RegCloseKey(hKey);
  CMCopyProfileHklmToHkcu();
  CMWriteProfileInt("Common", "InstallGmrCount", (int)dwCount);
  return TRUE;
}

void WriteEditorSettings(LPCSTR lpszProgramFolder) {
  CString strFolder = lpszProgramFolder;
  CMWriteProfileString("VxEdit\\DataDir", "TexDir", strFolder + "\\texture\\");
  CMWriteProfileString("VxEdit\\DataDir", "LayDir", strFolder + "\\LayDef\\");
  char szPictures[MAX_PATH] = "";
  if (SUCCEEDED(::SHGetFolderPathA(NULL, CSIDL_COMMON_PICTURES, NULL, SHGFP_TYPE_CURRENT, szPictures))) {
    CString strPictures = szPictures;
    if (strPictures.Right(1) != "\\") strPictures += "\\";
    CMWriteProfileString("VxEdit\\DataDir", "PhotoDir", strPictures);
  }
  CMWriteProfileString("VxEdit\\DataDir", "TxtstyDir", strFolder + "\\TextAttr\\");
}

BOOL CMainApp::PrepareEditorSettings() {
  CString strFolder = CMTLGetExeDir();
  WriteEditorSettings(strFolder);
  PROCESS_INFORMATION pi;
  if (StartProgram(strFolder + "\\apprunner.exe", "", NULL, FALSE, &pi)) {
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
  }
  return TRUE;
}

BOOL CMainApp::RunFirstStartSequence() {
  CMWriteProfileInt("Common", "PromotionPID", 0);
  if (CMGetProfileInt("Common", "First", 1) != 1) return TRUE;
  CMWriteProfileInt("Common", "First", 0);
  for (int i = 0;; ++i) {
    ToolEntrySettings entry;
    if (!ReadToolEntry(i, &entry)) break;
    if (entry.nFlags & TOOL_FLAG_FIRST_START) CMWriteProfileInt(ToolEntrySection(i), "Status", 1);
  }

  CString strFolder = CMTLGetExeDir();
  CString strProgram = strFolder + "\\" + CMGetProfileString("Common", "Promotion", "Manual\\Showcase.exe");
  PROCESS_INFORMATION pi;
  if (StartProgram(strProgram, "", strFolder, TRUE, &pi)) {
    ::WaitForInputIdle(pi.hProcess, PROGRAM_IDLE_WAIT_MS);
    CMWriteProfileInt("Common", "PromotionPID", (int)pi.dwProcessId);
    if (HWND hWnd = FindProcessWindow(pi.dwProcessId, PROCESS_WINDOW_WAIT_MS))
      ::SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
  }
  return TRUE;
}

void CMainApp::EnsureVideoCodecDefaults() {
  HKEY hKey;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Scrunch\\Video", 0, NULL, 0, KEY_READ | KEY_WRITE,
                        NULL, &hKey, NULL) != ERROR_SUCCESS)
    return;
  static const struct {
    LPCSTR name;
    DWORD value;
  } kDefaults[] = {{"Resolution", 1152000}, {"BitRate", 256}};
  for (const auto& d : kDefaults) {
    if (::RegQueryValueExA(hKey, d.name, NULL, NULL, NULL, NULL) == ERROR_SUCCESS) continue;
    ::RegSetValueExA(hKey, d.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&d.value), sizeof(d.value));
  }
  ::RegCloseKey(hKey);
}

// ---- Shut-down --------------------------------------------------------------------------------

void CMainApp::OnMainWindowGone() { m_closeWatchdog.Start(::GetCurrentThreadId()); }

void CMainApp::ShowLaterDatabaseNotice() {
  VXDBHEALTH health;
  CString strNotice;
  UINT nBoxType = MB_OK;
  if (!m_bDatabaseOpened || FAILED(VxDBGetHealth(&health)) ||
      !FindLaterDatabaseNotice(m_dwDatabaseDamagesTold, health, &strNotice, &nBoxType))
    return;
  // Counted as told before the box shows: the timers go on under it.
  m_dwDatabaseDamagesTold = health.dwDamageCount;
  AfxMessageBox(strNotice, nBoxType);
}

void CMainApp::CloseDatabases() {
  if (m_bMarksOpened) Mark_Exit();
  if (m_bDatabaseOpened) VxDBWExitDatabase(-1);
  if (m_bSimilarOpened) {
    CMTLxWriteSearchProfile(0, "", "", 0);
    PSWExitDatabase();
  }
  m_bMarksOpened = m_bDatabaseOpened = m_bSimilarOpened = FALSE;
}

void CMainApp::EndWithoutTeardown() {
  // Data put on the clipboard to be rendered on request would go with the process.
  COleDataSource::FlushClipboard();
  CloseDatabases();
  ReleaseInstanceMutex();
  // The workers still running keep nothing: the database's writes are committed or
  // rolled back by its log.
  ::TerminateProcess(::GetCurrentProcess(), 0);
}

int CMainApp::ExitInstance() {
  m_closeWatchdog.ExitBegan();
  CloseDatabases();
  DeleteOwnedObjects();
  ReleaseInstanceMutex();
  if (m_hResourceDll) {
    AfxSetResourceHandle(AfxGetInstanceHandle());
    ::FreeLibrary(m_hResourceDll);
    m_hResourceDll = NULL;
  }
  return CWinApp::ExitInstance();
}

void CMainApp::DeleteOwnedObjects() {
  while (!m_ownedObjects.IsEmpty()) delete m_ownedObjects.RemoveHead();
}

// ---- Commands ---------------------------------------------------------------------------------

void CMainApp::OnAppAbout() {
  CAboutDlg dlg(m_pMainWnd);
  dlg.DoModal();
}
