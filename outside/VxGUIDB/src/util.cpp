// Small helpers of the library: the process-wide lock, waits that keep sent messages
// flowing, text and path utilities.
#include "internal.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>

namespace vxg {

namespace {
struct LockHolder {
  CRITICAL_SECTION cs;
  LockHolder() { InitializeCriticalSection(&cs); }
  ~LockHolder() { DeleteCriticalSection(&cs); }
};
LockHolder& TheLock() {
  static LockHolder holder;
  return holder;
}
}  // namespace

void Lock() { EnterCriticalSection(&TheLock().cs); }
void Unlock() { LeaveCriticalSection(&TheLock().cs); }

DWORD WaitPumping(HANDLE h, DWORD ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    DWORD left = INFINITE;
    if (ms != INFINITE) {
      DWORD elapsed = GetTickCount() - start;
      left = elapsed >= ms ? 0 : ms - elapsed;
    }
    DWORD n = h ? 1 : 0;
    DWORD r = MsgWaitForMultipleObjectsEx(n, h ? &h : NULL, left, QS_SENDMESSAGE, 0);
    if (r == WAIT_OBJECT_0 + n) {
      // Handles the messages other threads sent us, then waits on.
      MSG msg;
      PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
      if (left == 0) return WAIT_TIMEOUT;
      continue;
    }
    return r;
  }
}

std::string FoldCase(const std::string& s) {
  std::string out(s);
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = (unsigned char)out[i];
    if (IsDBCSLeadByteEx(932, c) && i + 1 < out.size()) {
      ++i;
      continue;
    }
    if (c >= 'a' && c <= 'z') out[i] = char(c - 'a' + 'A');
  }
  return out;
}

bool PathEquals(const char* a, const char* b) {
  if (!a || !b) return false;
  return FoldCase(a) == FoldCase(b);
}

size_t NameOffset(const std::string& path) {
  size_t off = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = (unsigned char)path[i];
    if (IsDBCSLeadByteEx(932, c) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (c == '\\' || c == '/' || (c == ':' && i == 1)) off = i + 1;
  }
  return off;
}

std::string ExtensionOf(const std::string& name) {
  size_t dot = std::string::npos;
  for (size_t i = 0; i < name.size(); ++i) {
    unsigned char c = (unsigned char)name[i];
    if (IsDBCSLeadByteEx(932, c) && i + 1 < name.size()) {
      ++i;
      continue;
    }
    if (c == '.') dot = i;
    if (c == '\\' || c == '/') dot = std::string::npos;
  }
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

namespace {
// Calls fn(offset, length) for each character of s, double-byte characters whole.
template <class F>
void ForEachChar(const std::string& s, F fn) {
  for (size_t i = 0; i < s.size();) {
    size_t len = (IsDBCSLeadByteEx(932, (unsigned char)s[i]) && i + 1 < s.size()) ? 2 : 1;
    fn(i, len);
    i += len;
  }
}
}  // namespace

bool EndsWithBackslash(const std::string& path) {
  bool last = false;
  ForEachChar(path, [&](size_t i, size_t len) { last = len == 1 && path[i] == '\\'; });
  return last;
}

std::string TrimTrailingBackslashes(const std::string& path) {
  size_t keep = 0;  // end of the last character that is no backslash
  ForEachChar(path, [&](size_t i, size_t len) {
    if (len == 2 || path[i] != '\\') keep = i + len;
  });
  return path.substr(0, std::max(keep, std::min(path.size(), size_t(3))));
}

std::string WithBackslash(const std::string& path) { return EndsWithBackslash(path) ? path : path + "\\"; }

bool HasCharOf(const std::string& path, const char* set) {
  bool found = false;
  ForEachChar(path, [&](size_t i, size_t len) { found = found || (len == 1 && path[i] && strchr(set, path[i])); });
  return found;
}

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFolderPath(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

static std::string FolderOfModule(HMODULE h) {
  char buf[MAX_PATH * 2];
  DWORD n = GetModuleFileNameA(h, buf, sizeof(buf));
  if (n == 0 || n >= sizeof(buf)) return std::string();
  std::string p(buf, n);
  return p.substr(0, NameOffset(p));
}

std::string ProgramFolder() { return FolderOfModule(NULL); }

HMODULE LibraryModule() {
  // The module that holds this code (the DLL, or a test program linking the sources).
  return reinterpret_cast<HMODULE>(&__ImageBase);
}

std::string LibraryFolder() { return FolderOfModule(LibraryModule()); }

std::wstring ToWide(const std::string& s, UINT cp) {
  if (s.empty()) return std::wstring();
  int n = MultiByteToWideChar(cp, 0, s.data(), (int)s.size(), NULL, 0);
  std::wstring w(n > 0 ? n : 0, L'\0');
  if (n > 0) MultiByteToWideChar(cp, 0, s.data(), (int)s.size(), &w[0], n);
  return w;
}

std::string FromWide(const std::wstring& w, UINT cp) {
  if (w.empty()) return std::string();
  int n = WideCharToMultiByte(cp, 0, w.data(), (int)w.size(), NULL, 0, NULL, NULL);
  std::string s(n > 0 ? n : 0, '\0');
  if (n > 0) WideCharToMultiByte(cp, 0, w.data(), (int)w.size(), &s[0], n, NULL, NULL);
  return s;
}

std::string Utf8ToAnsi(const std::string& s) { return FromWide(ToWide(s, CP_UTF8), CP_ACP); }
std::string AnsiToUtf8(const std::string& s) { return FromWide(ToWide(s, CP_ACP), CP_UTF8); }

bool IsValidUtf8(const std::string& s) {
  return s.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, s.data(), (int)s.size(), NULL, 0) > 0;
}

BOOL CopyOut(const std::string& s, LPSTR buf, UINT nSize) {
  if (!buf || nSize == 0) return FALSE;
  if (s.size() + 1 > nSize) {
    buf[0] = '\0';
    return FALSE;
  }
  memcpy(buf, s.c_str(), s.size() + 1);
  return TRUE;
}

bool ResolveShortcut(const std::string& lnk, std::string* target) {
  imaging::ComScope com;
  IShellLinkW* link = NULL;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW, (void**)&link)))
    return false;
  bool ok = false;
  IPersistFile* file = NULL;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file))) {
    std::wstring w = ToWide(lnk);
    if (SUCCEEDED(file->Load(w.c_str(), STGM_READ))) {
      wchar_t buf[MAX_PATH * 2] = {0};
      if (link->GetPath(buf, MAX_PATH * 2, NULL, SLGP_RAWPATH) == S_OK && buf[0]) {
        wchar_t expanded[MAX_PATH * 2];
        DWORD n = ExpandEnvironmentStringsW(buf, expanded, MAX_PATH * 2);
        *target = FromWide(n && n <= MAX_PATH * 2 ? expanded : buf);
        ok = !target->empty();
      }
    }
    file->Release();
  }
  link->Release();
  return ok;
}

}  // namespace vxg
