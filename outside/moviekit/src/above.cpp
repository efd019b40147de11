#include "above.h"

#include <delayimp.h>

#include <string>

#include "textkit/path.h"

namespace movietools {

HRESULT LoadKitAbove() {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string folder = textkit::FolderOf(textkit::FolderOf(exe));
  if (GetFileAttributesA(textkit::Join(folder, "moviekit.dll").c_str()) == INVALID_FILE_ATTRIBUTES)
    return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
  SetDllDirectoryA(folder.c_str());
  return __HrLoadAllImportsForDll("moviekit.dll");
}

}  // namespace movietools
