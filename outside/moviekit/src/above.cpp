#include "above.h"

#include <delayimp.h>

#include <string>

#include "textkit/path.h"

// The delay-import descriptor of moviekit.dll that dlltool made (named after its file).
extern "C" const ImgDelayDescr __DELAY_IMPORT_DESCRIPTOR_moviekit_delayed_a;
// The loader's helper in the C runtime (delayimp.h does not declare it).
extern "C" FARPROC WINAPI __delayLoadHelper2(PCImgDelayDescr descriptor, FARPROC* entry);

namespace movietools {

HRESULT LoadKitAbove() {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string folder = textkit::FolderOf(textkit::FolderOf(exe));
  if (GetFileAttributesA(textkit::Join(folder, "moviekit.dll").c_str()) == INVALID_FILE_ATTRIBUTES)
    return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
  SetDllDirectoryA(folder.c_str());
  // Every entry of the import table bound through the loader's helper, as a first call
  // would bind it (the linker leaves the image's delay-import directory empty, so
  // __HrLoadAllImportsForDll finds nothing to bind).
  const ImgDelayDescr& kit = __DELAY_IMPORT_DESCRIPTOR_moviekit_delayed_a;
  BYTE* image = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  FARPROC* iat = reinterpret_cast<FARPROC*>(image + kit.rvaIAT);
  const IMAGE_THUNK_DATA* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(image + kit.rvaINT);
  for (size_t i = 0; names[i].u1.AddressOfData; ++i)
    if (!__delayLoadHelper2(&kit, &iat[i])) return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
  return S_OK;
}

}  // namespace movietools
