// The folder pane's history: entries of a tree's title and its selected items, each kept
// with its path and kind beside its handle, because after a refresh a handle may name
// another item or none. Plain code, so a table test reaches it without windows.
#pragma once
#include <string>
#include <vector>

namespace folderhistory {

struct Item {
  const void* handle = nullptr;
  std::string path;
  int kind = 0;
};

struct Entry {
  std::string title;
  std::vector<Item> items;  // empty: recorded while the plug-in's worker ran
};

// The item that stands for a stored one now: its handle while it still carries the
// stored path and kind, else the first item with that path and kind, else null.
const void* Resolve(const Item& stored, const std::vector<Item>& now);

class History {
 public:
  // Drops the entries after the position and appends the entry unless it equals the last
  // one; the position becomes the last entry.
  void Push(const Entry& entry);
  // Drops the entries after the position.
  void Truncate() {
    if (m_pos + 1 < (int)m_entries.size()) m_entries.resize(m_pos < 0 ? 0 : m_pos + 1);
  }
  bool CanBack() const { return m_pos > 0; }
  bool CanForward() const { return m_pos >= 0 && m_pos + 1 < (int)m_entries.size(); }
  int Position() const { return m_pos; }
  void SetPosition(int pos) { m_pos = pos; }
  int Count() const { return (int)m_entries.size(); }
  const Entry& At(int i) const { return m_entries[i]; }

 private:
  std::vector<Entry> m_entries;
  int m_pos = -1;
};

bool operator==(const Entry& a, const Entry& b);

}  // namespace folderhistory
