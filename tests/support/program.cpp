#include "program.h"

#include <windows.h>

namespace testsupport {

std::string ProgramPath() {
  char path[MAX_PATH] = "";
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, n < MAX_PATH ? n : 0);
}

std::string ProgramFolder() {
  std::string s = ProgramPath();
  size_t slash = s.rfind('\\');
  return slash == std::string::npos ? std::string() : s.substr(0, slash);
}

std::string Fixture(const std::string& name) { return ProgramFolder() + "\\testdata\\" + name; }

}  // namespace testsupport
