#include "ProgramFolder.h"

#include <Kitlib2/Kitlib2.h>

CString ProgramFolderPath(LPCSTR lpszName) {
  CString strPath = CMTLGetExeDir();
  strPath += "\\";
  strPath += lpszName;
  return strPath;
}

BOOL ProgramFileExists(LPCSTR lpszName) {
  return ::GetFileAttributesA(ProgramFolderPath(lpszName)) != INVALID_FILE_ATTRIBUTES;
}

HMODULE LoadProgramLibrary(LPCSTR lpszName) {
  return ::LoadLibraryExA(ProgramFolderPath(lpszName), NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE LoadSystemLibrary(LPCSTR lpszName) {
  char szFolder[MAX_PATH] = "";
  UINT n = ::GetSystemDirectoryA(szFolder, sizeof(szFolder));
  if (n == 0 || n >= sizeof(szFolder)) return NULL;
  CString strPath = szFolder;
  strPath += "\\";
  strPath += lpszName;
  return ::LoadLibraryExA(strPath, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}
