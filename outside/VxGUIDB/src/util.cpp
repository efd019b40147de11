// Small helpers of the library: the process-wide lock, waits that keep sent messages
// flowing, the library's folders, shortcuts.
#include "internal.h"

#include <shlobj.h>

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
bool SleepUnderLock(CONDITION_VARIABLE* cv, DWORD ms) { return SleepConditionVariableCS(cv, &TheLock().cs, ms) != FALSE; }

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
  return p.substr(0, textkit::NameOffset(p));
}

std::string ProgramFolder() { return FolderOfModule(NULL); }

HMODULE LibraryModule() {
  // The module that holds this code (the DLL, or a test program linking the sources).
  return reinterpret_cast<HMODULE>(&__ImageBase);
}

std::string LibraryFolder() { return FolderOfModule(LibraryModule()); }

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
    std::wstring w = textkit::AnsiToWide(lnk);
    if (SUCCEEDED(file->Load(w.c_str(), STGM_READ))) {
      wchar_t buf[MAX_PATH * 2] = {0};
      if (link->GetPath(buf, MAX_PATH * 2, NULL, SLGP_RAWPATH) == S_OK && buf[0]) {
        wchar_t expanded[MAX_PATH * 2];
        DWORD n = ExpandEnvironmentStringsW(buf, expanded, MAX_PATH * 2);
        *target = textkit::WideToAnsi(n && n <= MAX_PATH * 2 ? expanded : buf);
        ok = !target->empty();
      }
    }
    file->Release();
  }
  link->Release();
  return ok;
}

}  // namespace vxg
