#include "pluginkit/PluginKit.h"

#include <textkit/path.h>
#include <textkit/text.h>

#include <cstring>

namespace pluginkit {

HINSTANCE LoadResourceBeside(HINSTANCE self) {
  char path[MAX_PATH * 2] = {};
  DWORD n = ::GetModuleFileNameA(self, path, sizeof path);
  if (n == 0 || n >= sizeof path) return nullptr;
  return ::LoadLibraryA(textkit::Join(textkit::FolderOf(path), "VxResource.dll").c_str());
}

void CopyText(const std::string& text, char* buffer, int size) {
  if (!buffer || size <= 0) return;
  std::string cut = textkit::CutToBytes(text, static_cast<size_t>(size - 1));
  memcpy(buffer, cut.c_str(), cut.size() + 1);
}

namespace {
bool IsCommittedWith(const void* p, size_t n, DWORD access) {
  MEMORY_BASIC_INFORMATION mbi;
  if (!p || ::VirtualQuery(p, &mbi, sizeof mbi) != sizeof mbi) return false;
  if (mbi.State != MEM_COMMIT || !(mbi.Protect & access) || (mbi.Protect & PAGE_GUARD)) return false;
  return static_cast<const char*>(p) + n <= static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize;
}
}  // namespace

bool IsReadableHere(const void* p, size_t n) {
  return IsCommittedWith(p, n, PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                                   PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY);
}

bool IsWritableHere(void* p, size_t n) {
  return IsCommittedWith(p, n, PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY);
}

}  // namespace pluginkit
