#include "FolderHistoryRules.h"

namespace folderhistory {

const void* Resolve(const Item& stored, const std::vector<Item>& now) {
  for (const Item& i : now)
    if (i.handle == stored.handle && i.path == stored.path && i.kind == stored.kind) return i.handle;
  for (const Item& i : now)
    if (i.path == stored.path && i.kind == stored.kind) return i.handle;
  return nullptr;
}

bool operator==(const Entry& a, const Entry& b) {
  if (a.title != b.title || a.items.size() != b.items.size()) return false;
  for (size_t i = 0; i < a.items.size(); ++i)
    if (a.items[i].path != b.items[i].path || a.items[i].kind != b.items[i].kind) return false;
  return true;
}

void History::Push(const Entry& entry) {
  if (m_pos + 1 < (int)m_entries.size()) m_entries.resize(m_pos + 1);
  // Entries recorded while a worker ran stay, to be skipped by back and forward.
  if (entry.items.empty() || m_entries.empty() || !(m_entries.back() == entry)) m_entries.push_back(entry);
  m_pos = (int)m_entries.size() - 1;
}

}  // namespace folderhistory
