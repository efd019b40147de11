#include "ToolLibraries.h"

int CallListTool(LPCSTR lpszPath, LPCSTR lpszExport, CGFileInfoList* pList, DWORD* pdwError) {
  *pdwError = 0;
  HMODULE hModule = ::LoadLibraryA(lpszPath);
  if (!hModule) {
    *pdwError = ::GetLastError();
    return -1;
  }
  PFN_TOOL_LIST pfn = (PFN_TOOL_LIST)::GetProcAddress(hModule, lpszExport);
  if (!pfn) {
    *pdwError = ::GetLastError();
    ::FreeLibrary(hModule);
    return -1;
  }
  int nResult = pfn(pList);
  ::FreeLibrary(hModule);
  return nResult;
}
