// Handle maps of the wrappers: see handlemap.h.
#include "handlemap.h"

#include <map>
#include <mutex>
#include <tuple>
#include <utility>
#include <vector>

namespace fwmap {
namespace {

typedef std::pair<int, void*> PermanentKey;

std::mutex& PermanentLock() {
  static std::mutex m;
  return m;
}

std::map<PermanentKey, CObject*>& Permanent() {
  static std::map<PermanentKey, CObject*> map;
  return map;
}

struct TempEntry {
  CObject* pObject;
  ReleaseFn release;
};
typedef std::tuple<int, void*, CRuntimeClass*> TempKey;
typedef std::map<TempKey, TempEntry> TempMap;

void ReleaseAll(TempMap& map, int kind) {
  // Releasing may run code that makes new wrappers: take the entries out first.
  std::vector<TempEntry> doomed;
  for (auto it = map.begin(); it != map.end();) {
    if (kind < 0 || std::get<0>(it->first) == kind) {
      doomed.push_back(it->second);
      it = map.erase(it);
    } else {
      ++it;
    }
  }
  for (const TempEntry& e : doomed) e.release(e.pObject);
}

// Each thread's map hangs off a fiber-local slot whose callback frees it when the
// thread ends, whoever started the thread.
void WINAPI FreeThreadMap(void* data) {
  TempMap* map = static_cast<TempMap*>(data);
  if (!map) return;
  ReleaseAll(*map, -1);
  delete map;
}

struct ThreadSlot {
  DWORD index;
  ThreadSlot() : index(::FlsAlloc(&FreeThreadMap)) {}
  ~ThreadSlot() {
    if (index != FLS_OUT_OF_INDEXES) ::FlsFree(index);
  }
};

ThreadSlot& Slot() {
  static ThreadSlot slot;
  return slot;
}

TempMap* ThreadMap(bool create) {
  DWORD index = Slot().index;
  if (index == FLS_OUT_OF_INDEXES) return nullptr;
  TempMap* map = static_cast<TempMap*>(::FlsGetValue(index));
  if (!map && create) {
    map = new TempMap;
    ::FlsSetValue(index, map);
  }
  return map;
}

}  // namespace

void AddPermanent(Kind kind, void* h, CObject* p) {
  if (!h) return;
  std::lock_guard<std::mutex> lock(PermanentLock());
  Permanent()[PermanentKey(kind, h)] = p;
}

void RemovePermanent(Kind kind, void* h, CObject* p) {
  if (!h) return;
  std::lock_guard<std::mutex> lock(PermanentLock());
  auto& map = Permanent();
  auto it = map.find(PermanentKey(kind, h));
  if (it != map.end() && it->second == p) map.erase(it);
}

CObject* LookupPermanent(Kind kind, void* h, CRuntimeClass* pClass) {
  std::lock_guard<std::mutex> lock(PermanentLock());
  auto& map = Permanent();
  auto it = map.find(PermanentKey(kind, h));
  if (it == map.end() || !it->second->IsKindOf(pClass)) return nullptr;
  return it->second;
}

CObject* LookupTemporary(Kind kind, void* h, CRuntimeClass* pClass, MakeFn make, ReleaseFn release) {
  TempMap* map = ThreadMap(true);
  if (!map) return nullptr;
  TempKey key(kind, h, pClass);
  auto it = map->find(key);
  if (it != map->end()) return it->second.pObject;
  CObject* p = make(h);
  (*map)[key] = TempEntry{p, release};
  return p;
}

void DeleteTemporaries(Kind kind) {
  if (TempMap* map = ThreadMap(false)) ReleaseAll(*map, kind);
}

}  // namespace fwmap
