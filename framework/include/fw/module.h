// Module state and resources: which module's resources a call uses, and the chain of
// extension libraries that resource look-ups walk.
//
// Every module (EXE or DLL) has one AFX_MODULE_STATE. The program's own state lives in
// the framework DLL (AfxGetAppModuleState) and is current unless a thread switched to
// another one with AFX_MANAGE_STATE (AfxGetStaticModuleState gives the calling module's).
// Extension libraries don't get a state of their own: they register their resources in
// the process-wide chain with CDynLinkLibrary.
#pragma once
#include <fw/object.h>

class CDynLinkLibrary;

struct FW_API AFX_MODULE_STATE {
  AFX_MODULE_STATE(BOOL bDLL, HINSTANCE hInstance);
  ~AFX_MODULE_STATE();

  BOOL m_bDLL;                          // FALSE only for the program's own state
  HINSTANCE m_hCurrentInstanceHandle;   // the module itself
  HINSTANCE m_hCurrentResourceHandle;   // where its resources come from (NULL: itself)
  LPCSTR m_lpszCurrentAppName;          // message-box caption; NULL: the program file's title
  // The application object, thread and window state extend this record.

  AFX_MODULE_STATE(const AFX_MODULE_STATE&) = delete;
  void operator=(const AFX_MODULE_STATE&) = delete;
};

FW_API AFX_MODULE_STATE* AFXAPI AfxGetAppModuleState();
FW_API AFX_MODULE_STATE* AFXAPI AfxGetModuleState();
// Makes p current on this thread (NULL: the program's); returns the one it replaces.
FW_API AFX_MODULE_STATE* AFXAPI AfxSetModuleState(AFX_MODULE_STATE* pNewState);

// The calling module's own state: inline on purpose, so each module gets its own record.
extern "C" IMAGE_DOS_HEADER __ImageBase;
inline AFX_MODULE_STATE* AfxGetStaticModuleState() {
  HINSTANCE self = reinterpret_cast<HINSTANCE>(&__ImageBase);
  if (self == ::GetModuleHandleA(NULL)) return AfxGetAppModuleState();
  static AFX_MODULE_STATE state(TRUE, self);
  return &state;
}

// Switches the current module state for a scope (exports of regular DLLs start with it).
class FW_API AFX_MAINTAIN_STATE {
 public:
  explicit AFX_MAINTAIN_STATE(AFX_MODULE_STATE* pNewState) : m_pPrevModuleState(AfxSetModuleState(pNewState)) {}
  ~AFX_MAINTAIN_STATE() { AfxSetModuleState(m_pPrevModuleState); }

 private:
  AFX_MODULE_STATE* m_pPrevModuleState;
  AFX_MAINTAIN_STATE(const AFX_MAINTAIN_STATE&) = delete;
  void operator=(const AFX_MAINTAIN_STATE&) = delete;
};
#define AFX_MANAGE_STATE(p) AFX_MAINTAIN_STATE _afxModuleStateKeeper(p)

// The current module's instance and resource handles.
FW_API HINSTANCE AFXAPI AfxGetInstanceHandle();
FW_API HINSTANCE AFXAPI AfxGetResourceHandle();
FW_API void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);

// The module that holds a resource: the current resource handle first, then the extension
// libraries (most recently registered first); the current resource handle when none has it.
FW_API HINSTANCE AFXAPI AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
// The same for one string of a string table; NULL when no module has it (or it is empty).
FW_API HINSTANCE AFXAPI AfxFindStringResourceHandle(UINT nID);
// Loads a string along the chain into a buffer; returns its length (0: not found).
FW_API int AFXAPI AfxLoadString(UINT nID, LPSTR lpszBuf, UINT nMaxBuf = 256);

FW_API HINSTANCE AFXAPI AfxLoadLibrary(LPCSTR lpszModuleName);
FW_API BOOL AFXAPI AfxFreeLibrary(HINSTANCE hInstLib);

// A message box owned by the active window, captioned with the application's name;
// works before any window of the program exists.
FW_API int AFXAPI AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
FW_API int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);

// Extension libraries: a static record filled in DllMain, and one CDynLinkLibrary that
// puts the library into the resource chain.
struct AFX_EXTENSION_MODULE {
  BOOL bInitialized;
  HMODULE hModule;
  HMODULE hResource;
  CRuntimeClass* pFirstSharedClass;
  void* pFirstSharedFactory;
};

FW_API BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
// Takes the library's CDynLinkLibrary objects out of the chain and deletes them
// (call from DLL_PROCESS_DETACH).
FW_API void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

class FW_API CDynLinkLibrary : public CObject {
  DECLARE_DYNAMIC(CDynLinkLibrary)
 public:
  explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
  CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource);
  ~CDynLinkLibrary() override;

  HMODULE m_hModule;
  HMODULE m_hResource;
  BOOL m_bSystem;  // searched after all the others
  CDynLinkLibrary* m_pNextDLL;

 private:
  void Link();
};
