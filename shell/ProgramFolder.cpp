#include "ProgramFolder.h"

#include <Kitlib2/Kitlib2.h>

CString ProgramFolderPath(LPCSTR lpszName) {
  CString strPath = CMTLGetExeDir();
  strPath += "\\";
  strPath += lpszName;
  return strPath;
}

HMODULE LoadProgramLibrary(LPCSTR lpszName) {
  return ::LoadLibraryExA(ProgramFolderPath(lpszName), NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}
