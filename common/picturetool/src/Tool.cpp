#include "picturetool/Tool.h"

#include <Kitlib2/Kitlib2.h>
#include <pluginkit/PluginKit.h>

namespace picturetool {

namespace {
const char kSection[] = "Tool1";
const char kFirstPath[] = "FirstPath";
const char kInThisModule = 0;  // an address inside this module, to find the module by

HINSTANCE Resources() {
  static HINSTANCE module = NULL;
  if (module) return module;
  module = ::GetModuleHandleA("VxResource.dll");
  if (!module) {
    HMODULE self = NULL;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         &kInThisModule, &self);
    module = pluginkit::LoadResourceBeside(self);
  }
  return module;
}
}  // namespace

std::string Text(UINT id) {
  HINSTANCE module = Resources();
  return module ? std::string((LPCSTR)CMTLLoadString(module, id)) : std::string();
}

std::vector<std::string> Paths(const CGFileInfoList* list) {
  std::vector<std::string> paths;
  if (!list) return paths;
  for (POSITION pos = list->GetHeadPosition(); pos;) {
    const CGFILEINFO& info = list->GetNext(pos);
    if (!info.path.IsEmpty()) paths.push_back((LPCSTR)info.path);
  }
  return paths;
}

std::string FirstPath() { return (LPCSTR)CMGetProfileString(kSection, kFirstPath, ""); }

void ClearFirstPath() { WriteFirstPath(""); }

void WriteFirstPath(const std::string& path) { CMWriteProfileString(kSection, kFirstPath, path.c_str()); }

void WriteFirstOutput(const std::string& path) {
  if (!path.empty() && FirstPath().empty()) WriteFirstPath(path);
}

HWND OwnerWindow(HWND given) {
  if (given && ::IsWindow(given)) return given;
  return ::GetActiveWindow();
}

}  // namespace picturetool
