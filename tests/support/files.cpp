#include "files.h"

#include <windows.h>

namespace testsupport {

std::string ProgramDir() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path, n);
  return s.substr(0, s.find_last_of('\\') + 1);
}

std::string FixturePath(const char* name) { return ProgramDir() + "testdata\\" + name; }

void DeleteTree(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = dir + "\\" + name;
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        DeleteTree(full);
      else
        DeleteFileA(full.c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
}

}  // namespace testsupport
