// The application object, program start-up and DLL application objects.
#include <fw/fw.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include <textkit/path.h>
#include <textkit/text.h>
#include "threadstate.h"

namespace {

CWinApp* g_pApp = nullptr;  // the program's application object

std::mutex g_dllAppLock;
std::map<HINSTANCE, CWinApp*>& DllApps() {
  static std::map<HINSTANCE, CWinApp*> apps;
  return apps;
}

HINSTANCE ModuleOfAddress(const void* p) {
  HMODULE hm = nullptr;
  ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCSTR>(p), &hm);
  return hm;
}

void ReplaceString(LPCSTR& psz, LPCSTR pszNew) {
  free(const_cast<LPSTR>(psz));
  psz = pszNew ? _strdup(pszNew) : nullptr;
}

// Names the application after AFX_IDS_APP_TITLE or its module file, unless the program did.
void SetDefaultNames(CWinApp* pApp, HINSTANCE hModule) {
  char path[MAX_PATH] = "";
  ::GetModuleFileNameA(hModule, path, MAX_PATH);
  CString title = textkit::TitleOf(path).c_str();
  if (!pApp->m_pszExeName) ReplaceString(pApp->m_pszExeName, title);
  if (!pApp->m_pszAppName) {
    CString name;
    char buf[256];
    if (::LoadStringA(AfxGetResourceHandle(), AFX_IDS_APP_TITLE, buf, sizeof(buf)) > 0) name = buf;
    ReplaceString(pApp->m_pszAppName, name.IsEmpty() ? (LPCSTR)title : (LPCSTR)name);
  }
  if (!pApp->m_pszProfileName) {
    CString ini = CString(pApp->m_pszExeName) + ".INI";
    ReplaceString(pApp->m_pszProfileName, ini);
  }
}

}  // namespace

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR lpszAppName)
    : m_pszAppName(nullptr), m_hInstance(nullptr), m_hPrevInstance(nullptr), m_lpCmdLine(nullptr),
      m_nCmdShow(SW_SHOWNORMAL), m_pszExeName(nullptr), m_pszHelpFilePath(nullptr), m_pszProfileName(nullptr),
      m_pszRegistryKey(nullptr), m_hDevMode(nullptr), m_hDevNames(nullptr), m_nWaitCursorCount(0),
      m_hcurWaitCursorRestore(nullptr), m_nNumPreviewPages(0) {
  if (lpszAppName) m_pszAppName = _strdup(lpszAppName);
  // The module whose code constructs the object owns it: the program's object becomes
  // AfxGetApp(), a DLL's object stays with that DLL.
  HINSTANCE hOwner = ModuleOfAddress(__builtin_return_address(0));
  if (hOwner == ::GetModuleHandleA(nullptr) || !hOwner) {
    g_pApp = this;
  } else {
    std::lock_guard<std::mutex> lock(g_dllAppLock);
    DllApps()[hOwner] = this;
    m_hInstance = hOwner;
  }
}

CWinApp::~CWinApp() {
  for (POSITION pos = m_templateList.GetHeadPosition(); pos;)
    delete static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
  m_templateList.RemoveAll();
  if (m_hDevMode) ::GlobalFree(m_hDevMode);
  if (m_hDevNames) ::GlobalFree(m_hDevNames);
  {
    std::lock_guard<std::mutex> lock(g_dllAppLock);
    for (auto it = DllApps().begin(); it != DllApps().end(); ++it) {
      if (it->second == this) {
        DllApps().erase(it);
        break;
      }
    }
  }
  if (g_pApp == this) g_pApp = nullptr;
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  if (pState->m_pCurrentWinThread == this) pState->m_pCurrentWinThread = nullptr;
  ReplaceString(m_pszAppName, nullptr);
  ReplaceString(m_pszExeName, nullptr);
  ReplaceString(m_pszHelpFilePath, nullptr);
  ReplaceString(m_pszProfileName, nullptr);
  ReplaceString(m_pszRegistryKey, nullptr);
  // The object is not a running thread: its handle is the main thread's duplicate.
}

CWinApp* AFXAPI AfxGetApp() { return g_pApp; }

CWinApp* AFXAPI AfxGetModuleApp(HINSTANCE hModule) {
  std::lock_guard<std::mutex> lock(g_dllAppLock);
  auto it = DllApps().find(hModule);
  return it == DllApps().end() ? nullptr : it->second;
}

CWinApp* AFXAPI AfxGetCurrentApp() {
  CWinApp* pApp = AfxGetModuleApp(AfxGetModuleState()->m_hCurrentInstanceHandle);
  return pApp ? pApp : AfxGetApp();
}

LPCSTR AFXAPI AfxGetAppName() {
  CWinApp* pApp = AfxGetCurrentApp();
  if (pApp && pApp->m_pszAppName) return pApp->m_pszAppName;
  LPCSTR psz = AfxGetModuleState()->m_lpszCurrentAppName;
  return psz ? psz : "";
}

BOOL AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_DATE_CLASSES};
  ::InitCommonControlsEx(&icc);
  AFX_MODULE_STATE* pModuleState = AfxGetAppModuleState();
  pModuleState->m_hCurrentInstanceHandle = hInstance;
  CWinApp* pApp = AfxGetApp();
  if (pApp) {
    pApp->m_hInstance = hInstance;
    pApp->m_hPrevInstance = hPrevInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    pApp->m_nThreadID = ::GetCurrentThreadId();
    if (!pApp->m_hThread)
      ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(), &pApp->m_hThread, 0,
                        FALSE, DUPLICATE_SAME_ACCESS);
    SetDefaultNames(pApp, hInstance);
    AfxGetThreadState()->m_pCurrentWinThread = pApp;
  }
  return TRUE;
}

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  int nReturnCode = -1;
  CWinApp* pApp = AfxGetApp();
  if (!pApp || !AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow)) return nReturnCode;
  if (!pApp->InitApplication()) {
    AfxWinTerm();
    return nReturnCode;
  }
  if (!pApp->InitInstance()) {
    // The program's clean-up runs whatever went wrong.
    if (pApp->m_pMainWnd && pApp->m_pMainWnd->m_hWnd) pApp->m_pMainWnd->DestroyWindow();
    nReturnCode = pApp->ExitInstance();
  } else {
    nReturnCode = pApp->Run();
  }
  AfxWinTerm();
  return nReturnCode;
}

void AFXAPI AfxWinTerm() {
  AfxDeleteTempMaps();
  AfxOleTerm();
}

// Every program linked with the framework gets this WinMain unless it writes its own.
extern "C" __declspec(dllexport) int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine,
                                                    int nCmdShow) {
  return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}

BOOL AFXAPI AfxDllInitInstance(HINSTANCE hModule, DWORD dwReason, AFX_MODULE_STATE* pModuleState) {
  CWinApp* pApp = AfxGetModuleApp(hModule);
  if (!pApp) return TRUE;
  AFX_MANAGE_STATE(pModuleState);
  if (dwReason == DLL_PROCESS_ATTACH) {
    pApp->m_hInstance = hModule;
    SetDefaultNames(pApp, hModule);
    return pApp->InitInstance();
  }
  if (dwReason == DLL_PROCESS_DETACH) pApp->ExitInstance();
  return TRUE;
}

// ----- the application's life -----

BOOL CWinApp::InitApplication() { return TRUE; }

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() {
  if (this != g_pApp) return 0;
  return (int)AfxGetThreadState()->m_msgCur.wParam;
}

int CWinApp::Run() {
  // Nothing would ever end the loop without a main window.
  if (!m_pMainWnd) ::PostQuitMessage(0);
  return CWinThread::Run();
}

BOOL CWinApp::OnIdle(LONG lCount) { return CWinThread::OnIdle(lCount); }

int CWinApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT) {
  HWND hWndTop = nullptr;
  HWND hWnd = CWnd::GetSafeOwner_(nullptr, &hWndTop);
  if (hWnd != hWndTop && hWnd) ::EnableWindow(hWnd, TRUE);
  int nResult = ::MessageBoxA(hWnd, lpszPrompt, m_pszAppName ? m_pszAppName : "", nType);
  if (hWndTop) ::EnableWindow(hWndTop, TRUE);
  return nResult;
}

void CWinApp::DoWaitCursor(int nCode) {
  m_nWaitCursorCount += nCode;
  if (m_nWaitCursorCount > 0) {
    HCURSOR hcurPrev = ::SetCursor(::LoadCursorA(nullptr, (LPCSTR)IDC_WAIT));
    if (nCode > 0 && m_nWaitCursorCount == 1) m_hcurWaitCursorRestore = hcurPrev;
  } else {
    m_nWaitCursorCount = 0;
    ::SetCursor(m_hcurWaitCursorRestore ? m_hcurWaitCursorRestore : ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
  }
}

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd) {
  CWnd* pMainWnd = AfxGetMainWnd();
  ::WinHelpA(pMainWnd->GetSafeHwnd(), m_pszHelpFilePath, nCmd, dwData);
}

// ----- resources -----

HICON CWinApp::LoadIcon(LPCSTR lpszResourceName) const {
  return ::LoadIconA(AfxFindResourceHandle(lpszResourceName, RT_GROUP_ICON), lpszResourceName);
}
HICON CWinApp::LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCEA(nIDResource)); }
HICON CWinApp::LoadStandardIcon(LPCSTR lpszIconName) const { return ::LoadIconA(nullptr, lpszIconName); }
HICON CWinApp::LoadOEMIcon(UINT nIDIcon) const { return ::LoadIconA(nullptr, MAKEINTRESOURCEA(nIDIcon)); }
HCURSOR CWinApp::LoadCursor(LPCSTR lpszResourceName) const {
  return ::LoadCursorA(AfxFindResourceHandle(lpszResourceName, RT_GROUP_CURSOR), lpszResourceName);
}
HCURSOR CWinApp::LoadCursor(UINT nIDResource) const { return LoadCursor(MAKEINTRESOURCEA(nIDResource)); }
HCURSOR CWinApp::LoadStandardCursor(LPCSTR lpszCursorName) const { return ::LoadCursorA(nullptr, lpszCursorName); }
HCURSOR CWinApp::LoadOEMCursor(UINT nIDCursor) const { return ::LoadCursorA(nullptr, MAKEINTRESOURCEA(nIDCursor)); }

// ----- profile -----

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey) {
  ReplaceString(m_pszRegistryKey, lpszRegistryKey);
  ReplaceString(m_pszProfileName, m_pszAppName ? m_pszAppName : "");
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey) {
  CString key;
  key.LoadString(nIDRegistryKey);
  SetRegistryKey(key);
}

void CWinApp::LoadStdProfileSettings(UINT) {
  m_nNumPreviewPages = GetProfileInt("Settings", "PreviewPages", 0);
}

HKEY CWinApp::GetAppRegistryKey() {
  if (!m_pszRegistryKey || !m_pszProfileName) return nullptr;
  HKEY hSoftKey = nullptr, hCompanyKey = nullptr, hAppKey = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_WRITE | KEY_READ, &hSoftKey) == ERROR_SUCCESS) {
    DWORD dw;
    if (::RegCreateKeyExA(hSoftKey, m_pszRegistryKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ,
                          nullptr, &hCompanyKey, &dw) == ERROR_SUCCESS) {
      ::RegCreateKeyExA(hCompanyKey, m_pszProfileName, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ,
                        nullptr, &hAppKey, &dw);
      ::RegCloseKey(hCompanyKey);
    }
    ::RegCloseKey(hSoftKey);
  }
  return hAppKey;
}

HKEY CWinApp::GetSectionKey(LPCSTR lpszSection) {
  HKEY hAppKey = GetAppRegistryKey();
  if (!hAppKey) return nullptr;
  HKEY hSectionKey = nullptr;
  DWORD dw;
  ::RegCreateKeyExA(hAppKey, lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ, nullptr,
                    &hSectionKey, &dw);
  ::RegCloseKey(hAppKey);
  return hSectionKey;
}

UINT CWinApp::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault) {
  if (!m_pszRegistryKey) return ::GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, m_pszProfileName);
  HKEY hSecKey = GetSectionKey(lpszSection);
  if (!hSecKey) return (UINT)nDefault;
  DWORD dwValue = 0, dwType = 0, dwCount = sizeof(DWORD);
  LONG lResult = ::RegQueryValueExA(hSecKey, lpszEntry, nullptr, &dwType, (LPBYTE)&dwValue, &dwCount);
  ::RegCloseKey(hSecKey);
  return (lResult == ERROR_SUCCESS && dwType == REG_DWORD) ? (UINT)dwValue : (UINT)nDefault;
}

BOOL CWinApp::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue) {
  if (!m_pszRegistryKey) {
    char sz[16];
    wsprintfA(sz, "%d", nValue);
    return ::WritePrivateProfileStringA(lpszSection, lpszEntry, sz, m_pszProfileName);
  }
  HKEY hSecKey = GetSectionKey(lpszSection);
  if (!hSecKey) return FALSE;
  DWORD dwValue = (DWORD)nValue;
  LONG lResult = ::RegSetValueExA(hSecKey, lpszEntry, 0, REG_DWORD, (const BYTE*)&dwValue, sizeof(dwValue));
  ::RegCloseKey(hSecKey);
  return lResult == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault) {
  if (!lpszDefault) lpszDefault = "";
  if (!m_pszRegistryKey) {
    char sz[4096];
    ::GetPrivateProfileStringA(lpszSection, lpszEntry, lpszDefault, sz, sizeof(sz), m_pszProfileName);
    return CString(sz);
  }
  HKEY hSecKey = GetSectionKey(lpszSection);
  if (!hSecKey) return CString(lpszDefault);
  CString strValue;
  DWORD dwType = 0, dwCount = 0;
  LONG lResult = ::RegQueryValueExA(hSecKey, lpszEntry, nullptr, &dwType, nullptr, &dwCount);
  if (lResult == ERROR_SUCCESS && dwType == REG_SZ) {
    lResult = ::RegQueryValueExA(hSecKey, lpszEntry, nullptr, &dwType, (LPBYTE)strValue.GetBuffer((int)dwCount + 1),
                                 &dwCount);
    strValue.ReleaseBuffer();
  }
  ::RegCloseKey(hSecKey);
  return (lResult == ERROR_SUCCESS && dwType == REG_SZ) ? strValue : CString(lpszDefault);
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue) {
  if (!m_pszRegistryKey) return ::WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
  if (!lpszEntry) {
    // No entry: the whole section goes.
    HKEY hAppKey = GetAppRegistryKey();
    if (!hAppKey) return FALSE;
    LONG lResult = ::RegDeleteKeyA(hAppKey, lpszSection);
    ::RegCloseKey(hAppKey);
    return lResult == ERROR_SUCCESS;
  }
  HKEY hSecKey = GetSectionKey(lpszSection);
  if (!hSecKey) return FALSE;
  LONG lResult = lpszValue ? ::RegSetValueExA(hSecKey, lpszEntry, 0, REG_SZ, (const BYTE*)lpszValue,
                                              (DWORD)strlen(lpszValue) + 1)
                           : ::RegDeleteValueA(hSecKey, lpszEntry);
  ::RegCloseKey(hSecKey);
  return lResult == ERROR_SUCCESS;
}

BOOL CWinApp::GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE* ppData, UINT* pBytes) {
  *ppData = nullptr;
  *pBytes = 0;
  HKEY hSecKey = m_pszRegistryKey ? GetSectionKey(lpszSection) : nullptr;
  if (!hSecKey) return FALSE;
  DWORD dwType = 0, dwCount = 0;
  LONG lResult = ::RegQueryValueExA(hSecKey, lpszEntry, nullptr, &dwType, nullptr, &dwCount);
  if (lResult == ERROR_SUCCESS && dwType == REG_BINARY) {
    *ppData = new BYTE[dwCount ? dwCount : 1];
    lResult = ::RegQueryValueExA(hSecKey, lpszEntry, nullptr, &dwType, *ppData, &dwCount);
    *pBytes = dwCount;
  }
  ::RegCloseKey(hSecKey);
  if (lResult != ERROR_SUCCESS || dwType != REG_BINARY) {
    delete[] * ppData;
    *ppData = nullptr;
    *pBytes = 0;
    return FALSE;
  }
  return TRUE;
}

BOOL CWinApp::WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE pData, UINT nBytes) {
  HKEY hSecKey = m_pszRegistryKey ? GetSectionKey(lpszSection) : nullptr;
  if (!hSecKey) return FALSE;
  LONG lResult = ::RegSetValueExA(hSecKey, lpszEntry, 0, REG_BINARY, pData, nBytes);
  ::RegCloseKey(hSecKey);
  return lResult == ERROR_SUCCESS;
}

// ----- printing -----

void CWinApp::OnFilePrintSetup() {
  PRINTDLGA pd = {};
  pd.lStructSize = sizeof(pd);
  pd.hwndOwner = AfxGetMainWnd()->GetSafeHwnd();
  pd.hDevMode = m_hDevMode;
  pd.hDevNames = m_hDevNames;
  pd.Flags = PD_PRINTSETUP;
  if (::PrintDlgA(&pd)) {
    m_hDevMode = pd.hDevMode;
    m_hDevNames = pd.hDevNames;
  }
}

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLGA* pPrintDlg) {
  if (!m_hDevNames) {
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof(pd);
    pd.Flags = PD_RETURNDEFAULT;
    if (::PrintDlgA(&pd)) {
      m_hDevMode = pd.hDevMode;
      m_hDevNames = pd.hDevNames;
    }
  }
  pPrintDlg->hDevMode = m_hDevMode;
  pPrintDlg->hDevNames = m_hDevNames;
  return m_hDevNames != nullptr;
}

void CWinApp::OnAppExit() {
  if (m_pMainWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::OnHelp() { WinHelp(0, HELP_INDEX); }

// ----- OLE -----

namespace {
thread_local BOOL t_bOleInit = FALSE;
}

BOOL AFXAPI AfxOleInit() {
  if (t_bOleInit) return TRUE;
  HRESULT hr = ::OleInitialize(nullptr);
  if (FAILED(hr)) return FALSE;
  t_bOleInit = TRUE;
  return TRUE;
}

void AFXAPI AfxOleTerm(BOOL) {
  if (!t_bOleInit) return;
  t_bOleInit = FALSE;
  ::OleUninitialize();
}

void AFXAPI AfxEnableControlContainer() {}

