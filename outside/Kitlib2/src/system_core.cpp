#include "system_core.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include <textkit/textkit.h>

namespace kitlib {

std::string LoadResourceString(HINSTANCE module, UINT id) {
  // LoadStringA truncates silently: grow until the text fits with room to spare.
  for (int size = 256; size <= 65536; size *= 4) {
    std::vector<char> buf(size);
    int n = LoadStringA(module, id, buf.data(), size);
    if (n <= 0) return std::string();
    if (n < size - 2) return std::string(buf.data(), n);
  }
  return std::string();
}

SystemVersion GetSystemVersion() {
  SystemVersion v = {VER_PLATFORM_WIN32_NT, 0, 0, 0};
  typedef LONG(WINAPI * RtlGetVersionFn)(OSVERSIONINFOW*);
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  auto fn = ntdll ? reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
                  : nullptr;
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  if (fn && fn(&info) == 0) {
    v.platform = info.dwPlatformId;
    v.major = info.dwMajorVersion;
    v.minor = info.dwMinorVersion;
    v.build = info.dwBuildNumber;
  }
  return v;
}

bool VersionMatches(const SystemVersion& v, bool ntFamily, int major, int minor, int build) {
  bool nt = v.platform == VER_PLATFORM_WIN32_NT;
  if (nt != ntFamily) return false;
  if (major != -1 && static_cast<DWORD>(major) != v.major) return false;
  if (minor != -1 && static_cast<DWORD>(minor) != v.minor) return false;
  if (build != -1 && static_cast<DWORD>(build) != (v.build & 0xFFFF)) return false;
  return true;
}

ULONGLONG FreeDiskBytes(const std::string& path) {
  if (path.empty()) return 0;
  std::string p = path;
  if (p.size() == 2 && p[1] == ':') p += '\\';
  // A file, or a folder that does not exist yet: ask for the nearest existing folder.
  for (int depth = 0; depth < 64 && !p.empty(); ++depth) {
    DWORD attr = GetFileAttributesA(p.c_str());
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY)) {
      std::string dir = textkit::WithTrailingSeparator(p);
      ULARGE_INTEGER avail = {}, total = {}, free = {};
      if (!GetDiskFreeSpaceExA(dir.c_str(), &avail, &total, &free)) return 0;
      return avail.QuadPart;
    }
    std::string parent = textkit::FolderOf(p);
    if (parent.empty() || parent == p) break;
    p = parent;
  }
  return 0;
}

FreeResources GetFreeResources() {
  FreeResources r = {100, 100, 100};
  MEMORYSTATUSEX ms = {};
  ms.dwLength = sizeof(ms);
  if (GlobalMemoryStatusEx(&ms) && ms.ullTotalPageFile > 0)
    r.system = static_cast<int>(ms.ullAvailPageFile * 100 / ms.ullTotalPageFile);
  const DWORD quota = 10000;  // the system's default per-process GDI and USER object quota
  DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  r.gdi = 100 - static_cast<int>(std::min(gdi, quota) * 100 / quota);
  r.user = 100 - static_cast<int>(std::min(user, quota) * 100 / quota);
  return r;
}

std::string FileVersionText(const std::string& path) {
  // The version resource is read from the file mapped as data: only the pages it lies on
  // are touched. GetFileVersionInfo reads the whole file under Wine, seconds for the
  // program folder's large libraries on a busy machine (the About box lists them all).
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return std::string();
  std::vector<BYTE> data;
  if (HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(VS_VERSION_INFO), MAKEINTRESOURCEA(16))) {
    HGLOBAL block = LoadResource(module, res);
    const void* bytes = block ? LockResource(block) : nullptr;
    DWORD size = SizeofResource(module, res);
    // Twice the size: VerQueryValue may use the room behind the block.
    if (bytes && size) {
      data.assign(static_cast<const BYTE*>(bytes), static_cast<const BYTE*>(bytes) + size);
      data.resize(size * 2);
    }
  }
  FreeLibrary(module);
  if (data.empty()) return std::string();
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &len) || !fixed || len < sizeof(*fixed) ||
      fixed->dwSignature != VS_FFI_SIGNATURE)
    return std::string();
  char buf[64];
  wsprintfA(buf, "%u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
            HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
  return buf;
}

DWORD MaxDecodePixels(ULONGLONG availablePhysicalBytes) {
  const ULONGLONG cap = 400000000ull;
  ULONGLONG pixels = availablePhysicalBytes / 2 / 8;
  return static_cast<DWORD>(std::min(pixels, cap));
}

bool HasOpenAssociation(const std::string& path) {
  std::string ext = textkit::ExtensionOf(path);
  if (ext.empty()) return false;
  char exe[MAX_PATH * 2] = {};
  DWORD len = sizeof(exe);
  HRESULT hr = AssocQueryStringA(ASSOCF_NOTRUNCATE, ASSOCSTR_EXECUTABLE, ext.c_str(), "open", exe, &len);
  return SUCCEEDED(hr) && exe[0] != '\0';
}

int CountCodecPlugins(const std::string& folder) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*.vcp").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  int n = 0;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return n;
}

}  // namespace kitlib

namespace kitlib {

int PumpWindowMessages(HWND a, HWND b, int limit) {
  int handled = 0;
  for (HWND h : {a, b}) {
    if (!h || !IsWindow(h)) continue;
    char cls[16] = {};
    GetClassNameA(h, cls, sizeof(cls));
    bool dialog = strcmp(cls, "#32770") == 0;
    MSG m;
    while (handled < limit && PeekMessageA(&m, h, 0, 0, PM_REMOVE)) {
      ++handled;
      if (dialog && IsDialogMessageA(h, &m)) continue;
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
  }
  return handled;
}

}  // namespace kitlib

namespace kitlib {

HINSTANCE ThisModule() {
  static const char anchor = 0;
  HMODULE m = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, &anchor, &m);
  return m;
}

}  // namespace kitlib
