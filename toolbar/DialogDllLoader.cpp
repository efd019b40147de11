#include "DialogDllLoader.h"

#include <string.h>

HRESULT HResultFromError(DWORD dwError) {
  return (LONG)dwError > 0 ? (HRESULT)(0x80070000u | (dwError & 0xFFFF)) : (HRESULT)dwError;
}

BOOL CModuleHolder::Free() {
  if (!m_hModule) return 0;
  BOOL b = ::FreeLibrary(m_hModule);
  m_hModule = NULL;
  return b;
}

HRESULT CDialogDllLoader::Load(LPCSTR lpszFile) {
  if (m_hModule) return 1;
  m_hModule = ::LoadLibraryA(lpszFile);
  return m_hModule ? 0 : HResultFromError(::GetLastError());
}

HRESULT CDialogDllLoader::LoadBeside(LPCSTR lpszFile, HMODULE hModule) {
  char szPath[MAX_PATH] = "";
  DWORD n = ::GetModuleFileNameA(hModule, szPath, MAX_PATH);
  if (!n || n >= MAX_PATH) return HResultFromError(::GetLastError());
  char* pSlash = strrchr(szPath, '\\');
  size_t nFolder = pSlash ? (size_t)(pSlash - szPath) + 1 : 0;
  if (nFolder + strlen(lpszFile) >= 2 * MAX_PATH) return (HRESULT)0x8007006F;
  char szFull[2 * MAX_PATH];
  memcpy(szFull, szPath, nFolder);
  strcpy(szFull + nFolder, lpszFile);
  return Load(szFull);
}

HRESULT CDialogDllLoader::GetProc(LPCSTR lpszName, FARPROC* ppfn) {
  *ppfn = NULL;
  *ppfn = m_hModule ? ::GetProcAddress(m_hModule, lpszName) : NULL;
  if (*ppfn) return 0;
  DWORD dwError = ::GetLastError();
  return HResultFromError(dwError ? dwError : ERROR_PROC_NOT_FOUND);
}

HRESULT CDialogDllLoader::Bind(LPCSTR lpszFile, HMODULE hModule) {
  HRESULT hr = LoadBeside(lpszFile, hModule);
  if (hr < 0) return hr;
  FARPROC pfn[3] = {};
  static const char* const kNames[3] = {"Initialize", "Uninitialize", "DoModal"};
  for (int i = 0; i < 3; ++i) {
    hr = GetProc(kNames[i], &pfn[i]);
    if (hr != 0) {
      Unbind();
      return hr;
    }
  }
  m_pfnInitialize = (PFN_INITIALIZE)pfn[0];
  m_pfnUninitialize = (PFN_UNINITIALIZE)pfn[1];
  m_pfnDoModal = (PFN_DOMODAL)pfn[2];
  return 0;
}

void CDialogDllLoader::Unbind() {
  Free();
  m_pfnInitialize = NULL;
  m_pfnUninitialize = NULL;
  m_pfnDoModal = NULL;
}
