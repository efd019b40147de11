// CDialogDllLoader: a settings-dialog library beside the program, bound by its three
// exports (Initialize, Uninitialize, DoModal) and freed with the loader. Results are
// HRESULT-style: 0 success, else the last Windows error as an HRESULT.
#pragma once
#include <windows.h>

// Holds one module and frees it when destroyed.
class CModuleHolder {
 public:
  CModuleHolder() : m_hModule(NULL) {}
  ~CModuleHolder() { Free(); }
  CModuleHolder(const CModuleHolder&) = delete;
  CModuleHolder& operator=(const CModuleHolder&) = delete;
  // FreeLibrary's result; 0 when nothing was held.
  BOOL Free();
  HMODULE GetModule() const { return m_hModule; }

 protected:
  HMODULE m_hModule;
};

class CWnd;

class CDialogDllLoader : public CModuleHolder {
 public:
  typedef void(WINAPI* PFN_INITIALIZE)(HMODULE hResources);
  typedef void(WINAPI* PFN_UNINITIALIZE)();
  typedef int(WINAPI* PFN_DOMODAL)(CWnd* pParent, int nKind, int nArg1, int nArg2);

  CDialogDllLoader() : m_pfnInitialize(NULL), m_pfnUninitialize(NULL), m_pfnDoModal(NULL) {}
  ~CDialogDllLoader() { Unbind(); }

  // 1 when a module is already held (nothing loaded); else 0 or the error.
  HRESULT Load(LPCSTR lpszFile);
  // The file in the folder of hModule's file (null: the program itself).
  HRESULT LoadBeside(LPCSTR lpszFile, HMODULE hModule);
  HRESULT GetProc(LPCSTR lpszName, FARPROC* ppfn);
  // LoadBeside and the three exports; the first failure frees the module.
  HRESULT Bind(LPCSTR lpszFile, HMODULE hModule);
  void Unbind();

  PFN_INITIALIZE m_pfnInitialize;
  PFN_UNINITIALIZE m_pfnUninitialize;
  PFN_DOMODAL m_pfnDoModal;
};

// The last error as an HRESULT (0x80070000 | low word for a positive error).
HRESULT HResultFromError(DWORD dwError);
