// A library loaded by path, freed with its owner: the card import's outside objects come
// from libraries beside the plug-in.
#pragma once
#include <windows.h>

class CModuleLoader {
 public:
  CModuleLoader() {}
  ~CModuleLoader() { Free(); }
  CModuleLoader(const CModuleLoader&) = delete;
  CModuleLoader& operator=(const CModuleLoader&) = delete;

  // name in the folder of module (null: the running program). 1 when already loaded, 0
  // when loaded, 0x8007006F for a path of 520 bytes or more, else the system's error.
  HRESULT LoadRelative(LPCSTR name, HMODULE module);
  HRESULT Load(LPCSTR path);
  HRESULT GetProc(LPCSTR name, FARPROC* proc);
  void Free();
  HMODULE Handle() const { return m_module; }

  // The module holding this code (the plug-in, or a test program that links it).
  static HMODULE OwnModule();

 private:
  HMODULE m_module = NULL;
};

// A Win32 error as a result code (0 stays 0).
HRESULT ResultFromError(DWORD error);
