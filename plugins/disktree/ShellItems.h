// Item identifier lists in the shell allocator's memory, display names as whole texts, the
// desktop directory, and the shared-folder overlay icon.
#pragma once
#include <shlobj.h>
#include <windows.h>

#include <string>

namespace disktree {

LPITEMIDLIST NextItemId(LPCITEMIDLIST pidl);
// Bytes of the list with its end marker; 0 for none.
UINT ItemIdListSize(LPCITEMIDLIST pidl);
// Zeroed memory of the shell allocator, or null.
LPITEMIDLIST AllocItemIdMemory(UINT bytes);
// first's items then second's (first may be null); null on failure. Freed with CoTaskMemFree.
LPITEMIDLIST JoinItemIdLists(LPCITEMIDLIST first, LPCITEMIDLIST second);
// A one-item list of the first item of pidl.
LPITEMIDLIST CopyFirstItemId(LPCITEMIDLIST pidl);
// The display name with the flags (SHGDN_*), whole; false when the folder gives none or a
// name the ANSI code page cannot hold (a "?" would name another item).
bool GetDisplayNameText(IShellFolder* folder, LPCITEMIDLIST relative, DWORD flags, std::string* text);
// The desktop's file-system path; "" when the shell has none.
std::string GetDesktopPath();
// The icon that marks shared folders: the shell's large icon 28 (owned by the caller).
HICON LoadSharedOverlayIcon();

// A list owned by the shell allocator, freed at scope end.
class ItemIdList {
 public:
  ItemIdList() = default;
  explicit ItemIdList(LPITEMIDLIST p) : m_p(p) {}
  ItemIdList(const ItemIdList&) = delete;
  ItemIdList& operator=(const ItemIdList&) = delete;
  ItemIdList(ItemIdList&& o) noexcept : m_p(o.m_p) { o.m_p = nullptr; }
  ItemIdList& operator=(ItemIdList&& o) noexcept {
    if (this != &o) {
      Reset();
      m_p = o.m_p;
      o.m_p = nullptr;
    }
    return *this;
  }
  ~ItemIdList() { Reset(); }
  void Reset(LPITEMIDLIST p = nullptr) {
    if (m_p) CoTaskMemFree(m_p);
    m_p = p;
  }
  LPITEMIDLIST Get() const { return m_p; }
  LPITEMIDLIST* Out() {
    Reset();
    return &m_p;
  }
  LPITEMIDLIST Release() {
    LPITEMIDLIST p = m_p;
    m_p = nullptr;
    return p;
  }

 private:
  LPITEMIDLIST m_p = nullptr;
};

}  // namespace disktree
