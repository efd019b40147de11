#include "ModuleLoader.h"

#include <textkit/path.h>

#include <string>

HRESULT ResultFromError(DWORD error) {
  return error == 0 ? S_OK : (HRESULT)(0x80070000u | (error & 0xFFFF));
}

HRESULT CModuleLoader::LoadRelative(LPCSTR name, HMODULE module) {
  if (m_module) return 1;
  if (!name) return E_POINTER;
  char self[MAX_PATH * 2] = {};
  DWORD n = GetModuleFileNameA(module, self, MAX_PATH * 2);
  if (n == 0) return ResultFromError(GetLastError());
  std::string path = textkit::FolderPartOf(self) + name;
  if (path.size() >= 520) return HRESULT_FROM_WIN32(ERROR_BUFFER_OVERFLOW);
  return Load(path.c_str());
}

HRESULT CModuleLoader::Load(LPCSTR path) {
  if (m_module) return 1;
  if (!path) return E_POINTER;
  m_module = LoadLibraryA(path);
  return m_module ? S_OK : ResultFromError(GetLastError());
}

HRESULT CModuleLoader::GetProc(LPCSTR name, FARPROC* proc) {
  if (!proc) return E_POINTER;
  *proc = m_module ? GetProcAddress(m_module, name) : NULL;
  if (*proc) return S_OK;
  return m_module ? ResultFromError(GetLastError()) : E_UNEXPECTED;
}

void CModuleLoader::Free() {
  if (m_module) FreeLibrary(m_module);
  m_module = NULL;
}

HMODULE CModuleLoader::OwnModule() {
  HMODULE module = NULL;
  static const char anchor = 0;  // any address inside this module
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, &anchor,
                     &module);
  return module;
}
