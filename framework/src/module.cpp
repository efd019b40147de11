// Module state, resource handles and the chain of extension libraries.
#include <fw/module.h>
#include <fw/string.h>
#include <fw/app.h>

#include <textkit/path.h>
#include <textkit/text.h>
#include "threadstate.h"

namespace {

// The chain is read by every resource look-up and changed by DllMain of extension
// libraries (under the loader lock), so a slim reader/writer lock guards it.
SRWLOCK g_chainLock = SRWLOCK_INIT;
CDynLinkLibrary* g_pFirstDLL = nullptr;

// A thread's current module state when it is not the program's.
thread_local AFX_MODULE_STATE* t_pModuleState = nullptr;

bool HasString(HINSTANCE h, UINT nID) {
  LPWSTR p = nullptr;
  // A buffer size of 0 gives a pointer into the resource: no copy, no length limit.
  return h && ::LoadStringW(h, nID, reinterpret_cast<LPWSTR>(&p), 0) > 0;
}

// Walks the current resource handle and then the chain until found(h) holds.
template <class F>
HINSTANCE FindAlongChain(F found) {
  HINSTANCE hCurrent = AfxGetResourceHandle();
  if (found(hCurrent)) return hCurrent;
  AcquireSRWLockShared(&g_chainLock);
  HINSTANCE hFound = nullptr;
  for (int pass = 0; pass < 2 && !hFound; ++pass) {
    for (CDynLinkLibrary* p = g_pFirstDLL; p && !hFound; p = p->m_pNextDLL) {
      if ((p->m_bSystem != FALSE) == (pass == 1) && p->m_hResource != hCurrent && found(p->m_hResource))
        hFound = p->m_hResource;
    }
  }
  ReleaseSRWLockShared(&g_chainLock);
  return hFound;
}

}  // namespace

AFX_MODULE_STATE::AFX_MODULE_STATE(BOOL bDLL, HINSTANCE hInstance)
    : m_bDLL(bDLL), m_hCurrentInstanceHandle(hInstance), m_hCurrentResourceHandle(nullptr),
      m_lpszCurrentAppName(nullptr) {}

AFX_MODULE_STATE::~AFX_MODULE_STATE() {}

AFX_MODULE_STATE* AFXAPI AfxGetAppModuleState() {
  static AFX_MODULE_STATE state(FALSE, ::GetModuleHandleA(nullptr));
  return &state;
}

AFX_MODULE_STATE* AFXAPI AfxGetModuleState() {
  return t_pModuleState ? t_pModuleState : AfxGetAppModuleState();
}

AFX_MODULE_STATE* AFXAPI AfxSetModuleState(AFX_MODULE_STATE* pNewState) {
  AFX_MODULE_STATE* pPrev = t_pModuleState;
  t_pModuleState = pNewState;
  return pPrev;
}

HINSTANCE AFXAPI AfxGetInstanceHandle() { return AfxGetModuleState()->m_hCurrentInstanceHandle; }

HINSTANCE AFXAPI AfxGetResourceHandle() {
  AFX_MODULE_STATE* p = AfxGetModuleState();
  return p->m_hCurrentResourceHandle ? p->m_hCurrentResourceHandle : p->m_hCurrentInstanceHandle;
}

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource) {
  AfxGetModuleState()->m_hCurrentResourceHandle = hInstResource;
}

HINSTANCE AFXAPI AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType) {
  HINSTANCE h = FindAlongChain([&](HINSTANCE m) { return m && ::FindResourceA(m, lpszName, lpszType); });
  return h ? h : AfxGetResourceHandle();
}

HINSTANCE AFXAPI AfxFindStringResourceHandle(UINT nID) {
  return FindAlongChain([&](HINSTANCE m) { return HasString(m, nID); });
}

int AFXAPI AfxLoadString(UINT nID, LPSTR lpszBuf, UINT nMaxBuf) {
  if (!lpszBuf || nMaxBuf == 0) return 0;
  lpszBuf[0] = '\0';
  HINSTANCE h = AfxFindStringResourceHandle(nID);
  return h ? ::LoadStringA(h, nID, lpszBuf, (int)nMaxBuf) : 0;
}

HINSTANCE AFXAPI AfxLoadLibrary(LPCSTR lpszModuleName) { return ::LoadLibraryA(lpszModuleName); }

BOOL AFXAPI AfxFreeLibrary(HINSTANCE hInstLib) { return hInstLib ? ::FreeLibrary(hInstLib) : FALSE; }

int AFXAPI AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp) {
  AfxModalLoopScope modal;
  if (!(nType & MB_ICONMASK)) {
    // A box without an icon gets the usual one: a warning for notices, a question for choices.
    UINT kind = nType & MB_TYPEMASK;
    if (kind == MB_OK || kind == MB_OKCANCEL) nType |= MB_ICONEXCLAMATION;
    if (kind == MB_YESNO || kind == MB_YESNOCANCEL) nType |= MB_ICONQUESTION;
  }
  // The application object shows it when there is one (its name is the caption).
  if (CWinApp* pApp = AfxGetCurrentApp()) return pApp->DoMessageBox(lpszText ? lpszText : "", nType, nIDHelp);
  CString caption;
  LPCSTR pszCaption = AfxGetModuleState()->m_lpszCurrentAppName;
  if (!pszCaption) pszCaption = AfxGetAppModuleState()->m_lpszCurrentAppName;
  if (!pszCaption) {
    // The program file's title, as the application object would name itself.
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    caption = textkit::TitleOf(path).c_str();
    pszCaption = caption;
  }
  HWND hOwner = ::GetActiveWindow();
  return ::MessageBoxA(hOwner, lpszText ? lpszText : "", pszCaption, nType);
}

int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  CString text;
  text.LoadString(nIDPrompt);
  return AfxMessageBox(text, nType, nIDHelp == (UINT)-1 ? nIDPrompt : nIDHelp);
}

BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule) {
  if (!hModule) return FALSE;
  if (state.bInitialized) return TRUE;
  state.hModule = hModule;
  state.hResource = hModule;
  state.bInitialized = TRUE;
  return TRUE;
}

void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL) {
  if (!state.bInitialized) return;
  for (;;) {
    CDynLinkLibrary* pVictim = nullptr;
    AcquireSRWLockShared(&g_chainLock);
    for (CDynLinkLibrary* p = g_pFirstDLL; p && !pVictim; p = p->m_pNextDLL) {
      if (p->m_hModule == state.hModule) pVictim = p;
    }
    ReleaseSRWLockShared(&g_chainLock);
    if (!pVictim) break;
    delete pVictim;  // unlinks itself
  }
  state.bInitialized = FALSE;
}

IMPLEMENT_DYNAMIC(CDynLinkLibrary, CObject)

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_bSystem(bSystem), m_pNextDLL(nullptr) {
  Link();
}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource)
    : m_hModule(hModule), m_hResource(hResource), m_bSystem(FALSE), m_pNextDLL(nullptr) {
  Link();
}

void CDynLinkLibrary::Link() {
  AcquireSRWLockExclusive(&g_chainLock);
  m_pNextDLL = g_pFirstDLL;
  g_pFirstDLL = this;
  ReleaseSRWLockExclusive(&g_chainLock);
}

CDynLinkLibrary::~CDynLinkLibrary() {
  AcquireSRWLockExclusive(&g_chainLock);
  for (CDynLinkLibrary** pp = &g_pFirstDLL; *pp; pp = &(*pp)->m_pNextDLL) {
    if (*pp == this) {
      *pp = m_pNextDLL;
      break;
    }
  }
  ReleaseSRWLockExclusive(&g_chainLock);
}
