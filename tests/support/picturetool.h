// A picture tool library of the program folder as the toolbar binds it: loaded by its
// full path, its one export int WINAPI <Tool>(path, 520-byte output, first) called per file.
#pragma once
#include <windows.h>

#include <string>

#include "program.h"

namespace testsupport {

class PictureToolLibrary {
 public:
  typedef int(WINAPI* Export)(LPCSTR, LPSTR, int);
  PictureToolLibrary(const char* file, const char* exportName)
      : module_(LoadLibraryA((ProgramFolder() + "\\" + file).c_str())),
        export_(module_ ? reinterpret_cast<Export>(GetProcAddress(module_, exportName)) : nullptr) {}
  ~PictureToolLibrary() {
    if (module_) FreeLibrary(module_);
  }
  PictureToolLibrary(const PictureToolLibrary&) = delete;
  PictureToolLibrary& operator=(const PictureToolLibrary&) = delete;

  bool Bound() const { return export_ != nullptr; }
  // The export's answer; output (optional) gets what it wrote into the buffer.
  int Call(const std::string& path, int first, std::string* output = nullptr) {
    char buffer[520];
    memset(buffer, 'x', sizeof buffer);
    buffer[sizeof buffer - 1] = 0;
    int result = export_(path.c_str(), buffer, first);
    if (output) *output = buffer;
    return result;
  }

 private:
  HMODULE module_;
  Export export_;
};

}  // namespace testsupport
