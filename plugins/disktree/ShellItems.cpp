#include "ShellItems.h"

#include <shellapi.h>
#include <textkit/text.h>

#include <cstring>

namespace disktree {

LPITEMIDLIST NextItemId(LPCITEMIDLIST pidl) {
  return reinterpret_cast<LPITEMIDLIST>(reinterpret_cast<BYTE*>(const_cast<LPITEMIDLIST>(pidl)) + pidl->mkid.cb);
}

UINT ItemIdListSize(LPCITEMIDLIST pidl) {
  if (!pidl) return 0;
  UINT size = sizeof(USHORT);
  for (LPCITEMIDLIST p = pidl; p->mkid.cb; p = NextItemId(p)) size += p->mkid.cb;
  return size;
}

LPITEMIDLIST AllocItemIdMemory(UINT bytes) {
  void* p = CoTaskMemAlloc(bytes);
  if (p) memset(p, 0, bytes);
  return static_cast<LPITEMIDLIST>(p);
}

LPITEMIDLIST JoinItemIdLists(LPCITEMIDLIST first, LPCITEMIDLIST second) {
  if (!second) return nullptr;
  const UINT head = first ? ItemIdListSize(first) - sizeof(USHORT) : 0;
  const UINT tail = ItemIdListSize(second);
  LPITEMIDLIST out = AllocItemIdMemory(head + tail);
  if (!out) return nullptr;
  if (head) memcpy(out, first, head);
  memcpy(reinterpret_cast<BYTE*>(out) + head, second, tail);
  return out;
}

LPITEMIDLIST CopyFirstItemId(LPCITEMIDLIST pidl) {
  if (!pidl) return nullptr;
  const UINT cb = pidl->mkid.cb;
  LPITEMIDLIST out = AllocItemIdMemory(cb + sizeof(USHORT));
  if (out) memcpy(out, pidl, cb);
  return out;
}

bool GetDisplayNameText(IShellFolder* folder, LPCITEMIDLIST relative, DWORD flags, std::string* text) {
  text->clear();
  if (!folder) return false;
  STRRET sr = {};
  if (FAILED(folder->GetDisplayNameOf(relative, flags, &sr))) return false;
  switch (sr.uType) {
    case STRRET_WSTR: {
      bool ok = sr.pOleStr && textkit::TryWideToAnsi(sr.pOleStr, text);
      CoTaskMemFree(sr.pOleStr);
      return ok;
    }
    case STRRET_OFFSET:
      *text = reinterpret_cast<const char*>(relative) + sr.uOffset;
      return true;
    case STRRET_CSTR:
      *text = sr.cStr;
      return true;
    default:
      return false;
  }
}

std::string GetDesktopPath() {
  ItemIdList pidl;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, pidl.Out())) || !pidl.Get()) return std::string();
  char path[MAX_PATH * 2] = {};
  if (!SHGetPathFromIDListA(pidl.Get(), path)) return std::string();
  return path;
}

HICON LoadSharedOverlayIcon() {
  HICON large = nullptr;
  return ExtractIconExA("shell32.dll", 28, &large, nullptr, 1) == 1 ? large : nullptr;
}

}  // namespace disktree
