// A library a test loads by name, freed when the test is done; its exports by name.
#pragma once
#include <windows.h>

namespace testsupport {

class LoadedLibrary {
 public:
  explicit LoadedLibrary(const char* file) : module_(LoadLibraryA(file)) {}
  ~LoadedLibrary() {
    if (module_) FreeLibrary(module_);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  // The export as a function of type F; null when the library or the export is missing.
  template <class F>
  F Export(const char* name) const {
    return module_ ? reinterpret_cast<F>(GetProcAddress(module_, name)) : nullptr;
  }

 private:
  HMODULE module_;
};

}  // namespace testsupport
