// What the tree plug-ins' entries share, and the checks of pointers that arrive from
// outside (a message of another program, a plug-in's argument) before they are used.
#pragma once
#include <windows.h>

#include <string>

namespace pluginkit {

// The resource library VxResource.dll from the folder of the module self (the program
// folder); null when it is not there.
HINSTANCE LoadResourceBeside(HINSTANCE self);
// text into a caller's buffer of size bytes, cut without splitting a double-byte character.
void CopyText(const std::string& text, char* buffer, int size);

// p names n bytes of committed memory of this process that can be read (written).
bool IsReadableHere(const void* p, size_t n);
bool IsWritableHere(void* p, size_t n);

}  // namespace pluginkit
