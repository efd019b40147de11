// What the plug-in's files share: the resource library, the one manager, the export mark.
#pragma once
#include <windows.h>

#include <string>

namespace disktree {

HINSTANCE ResourceModule();
void SetResourceModule(HINSTANCE resources);
// A string of the resource library ("" when it has none).
std::string ResourceString(UINT id);

// The module-wide tree manager, made at attach and gone at detach.
void CreateManager();
void DestroyManager();

}  // namespace disktree
