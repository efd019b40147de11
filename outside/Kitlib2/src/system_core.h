// System, disk and file queries of the common library, in plain C++.
#pragma once
#include <windows.h>

#include <string>

namespace kitlib {

std::string LoadResourceString(HINSTANCE module, UINT id);

// The running system's version (RtlGetVersion: not subject to compatibility shims).
struct SystemVersion {
  DWORD platform;  // VER_PLATFORM_WIN32_NT or VER_PLATFORM_WIN32_WINDOWS
  DWORD major, minor, build;
};
SystemVersion GetSystemVersion();

// Whether v is of the given family and matches major/minor/build (-1 = any).
bool VersionMatches(const SystemVersion& v, bool ntFamily, int major, int minor, int build);

// Free bytes for the caller on the drive of any path (file, folder, root, "C:").
ULONGLONG FreeDiskBytes(const std::string& path);

struct FreeResources {
  int system, gdi, user;
};
FreeResources GetFreeResources();

// "a.b.c.d" from the module's fixed file version; "" without a version resource.
std::string FileVersionText(const std::string& path);

// Pixels that two 32-bit buffers may take in half of the given free memory, capped.
DWORD MaxDecodePixels(ULONGLONG availablePhysicalBytes);

// Whether a program opens documents of the path's extension.
bool HasOpenAssociation(const std::string& path);

// Number of "*.vcp" files in a folder.
int CountCodecPlugins(const std::string& folder);

}  // namespace kitlib

namespace kitlib {

// Dispatches messages waiting for the windows (and their children); at most `limit`.
int PumpWindowMessages(HWND a, HWND b, int limit);

}  // namespace kitlib

namespace kitlib {

// The module this code is linked into (a DLL of ours, or a test program).
HINSTANCE ThisModule();

}  // namespace kitlib
