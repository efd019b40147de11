// Pixel blocks of thumbnail size and up, cut from regions of about 4 MB that each hold
// blocks of one size. Mapping or unmapping pages is a system call that flushes every
// processor's page tables (under Wine also a walk of the process's mappings, which grows with
// them): one call per thumbnail made a folder of 10,000 cost twice as much per file as one
// of 100. Here a region is mapped once for dozens of blocks and unmapped only when all of
// its blocks are free. Free blocks wait for the next picture of their size, up to
// kIdleMax bytes in all; beyond it whole empty regions go back first, and a free block of
// a region still in use gives up its pages only when no empty region is left.
#include <windows.h>

#include <cstdint>
#include <iterator>
#include <map>
#include <new>
#include <vector>

#include "imaging/dib.h"

namespace imaging {
namespace detail {

namespace {

constexpr size_t kPage = 4096, kGranule = 64 * 1024;
constexpr size_t kRegionBytes = 4 << 20;  // a region's size, about
constexpr size_t kBlockMax = 4 << 20;     // larger blocks (whole photos) are mapped alone
constexpr size_t kIdleMax = 32 << 20;     // bytes of free blocks kept mapped

struct Region {
  uint8_t* base = nullptr;
  size_t bytes = 0;  // reserved
  size_t blockBytes = 0;
  uint32_t blocks = 0;
  uint32_t used = 0;
  std::vector<uint32_t> ready;  // free, pages mapped
  std::vector<uint32_t> bare;   // free, pages given back
  uint8_t* At(uint32_t i) const { return base + size_t(i) * blockBytes; }
};

struct Pool {
  SRWLOCK lock = SRWLOCK_INIT;
  std::map<uintptr_t, Region*> byBase;
  std::vector<std::vector<Region*>> bySize = std::vector<std::vector<Region*>>(kBlockMax / kPage + 1);
  size_t idle = 0;  // bytes kept for no picture: free blocks' mapped pages, empty regions whole
  size_t empty = 0;  // regions with no block in use
  size_t reserved = 0;
};

Pool& ThePool() {
  static Pool* pool = new Pool;  // never destroyed: blocks may be given back at exit
  return *pool;
}

class Locked {
 public:
  explicit Locked(Pool& p) : p_(p) { AcquireSRWLockExclusive(&p_.lock); }
  ~Locked() { ReleaseSRWLockExclusive(&p_.lock); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  Pool& p_;
};

size_t PagesOf(size_t bytes) { return (bytes + kPage - 1) / kPage; }

// What the region adds to the pool's idle bytes: an empty region counts whole, since it
// stays reserved for nothing.
size_t IdleOf(const Region* r) { return (r->ready.size() + (r->used ? 0 : r->bare.size())) * r->blockBytes; }

// A free block of the region, its pages mapped; nullptr when mapping failed.
uint8_t* TakeFrom(Pool& pool, Region* r) {
  const size_t idleBefore = IdleOf(r);
  uint32_t i;
  if (!r->ready.empty()) {
    i = r->ready.back();
    r->ready.pop_back();
  } else {
    i = r->bare.back();
    if (!VirtualAlloc(r->At(i), r->blockBytes, MEM_COMMIT, PAGE_READWRITE)) return nullptr;
    r->bare.pop_back();
  }
  if (r->used++ == 0) --pool.empty;
  pool.idle = pool.idle - idleBefore + IdleOf(r);
  return r->At(i);
}

// Unlinks an empty region from the pool; the caller unmaps it.
void Unlink(Pool& pool, Region* r) {
  auto& same = pool.bySize[r->blockBytes / kPage];
  for (size_t k = 0; k < same.size(); ++k)
    if (same[k] == r) {
      same.erase(same.begin() + k);
      break;
    }
  pool.byBase.erase(uintptr_t(r->base));
  pool.idle -= IdleOf(r);
  pool.reserved -= r->bytes;
  --pool.empty;
}

Region* AnEmptyRegion(Pool& pool) {
  if (pool.empty == 0) return nullptr;
  for (auto& [base, r] : pool.byBase)
    if (r->used == 0) return r;
  return nullptr;
}

void Unmap(Region* r) {
  VirtualFree(r->base, 0, MEM_RELEASE);
  delete r;
}

// A new region for blocks of blockBytes, linked with one block taken; nullptr when memory
// runs out.
uint8_t* NewRegion(Pool& pool, size_t blockBytes) {
  const size_t blocks = blockBytes >= kRegionBytes ? 1 : kRegionBytes / blockBytes;
  const size_t bytes = (blocks * blockBytes + kGranule - 1) / kGranule * kGranule;
  void* base = VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (!base) return nullptr;
  Region* r = new (std::nothrow) Region;
  bool linked = false;
  if (r) {
    r->base = static_cast<uint8_t*>(base);
    r->bytes = bytes;
    r->blockBytes = blockBytes;
    r->blocks = uint32_t(blocks);
    r->used = 1;
    Locked lock(pool);
    try {
      // Room for every free block now, so that giving one back never allocates.
      r->ready.reserve(blocks);
      r->bare.reserve(blocks);
      for (uint32_t i = r->blocks; i-- > 1;) r->ready.push_back(i);
      pool.bySize[blockBytes / kPage].push_back(r);
      try {
        pool.byBase.emplace(uintptr_t(base), r);
        linked = true;
      } catch (const std::bad_alloc&) {
        pool.bySize[blockBytes / kPage].pop_back();
      }
    } catch (const std::bad_alloc&) {
    }
    if (linked) {
      pool.idle += (blocks - 1) * blockBytes;
      pool.reserved += bytes;
    }
  }
  if (!linked) {
    delete r;
    VirtualFree(base, 0, MEM_RELEASE);
    return nullptr;
  }
  std::vector<Region*> gone;
  // Keeping the new region's free blocks may take the pool over its bound.
  {
    Locked lock(pool);
    while (pool.idle > kIdleMax) {
      Region* e = AnEmptyRegion(pool);
      if (!e) break;
      Unlink(pool, e);
      gone.push_back(e);
    }
  }
  for (Region* e : gone) Unmap(e);
  return r->base;
}

}  // namespace

void* TakePagedBlock(size_t bytes) {
  const size_t blockBytes = PagesOf(bytes ? bytes : 1) * kPage;
  if (blockBytes > kBlockMax) return VirtualAlloc(nullptr, blockBytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  Pool& pool = ThePool();
  {
    Locked lock(pool);
    const auto& same = pool.bySize[blockBytes / kPage];
    // The oldest regions first, so that long-lived blocks gather in few regions and the
    // others empty.
    for (Region* r : same)
      if (!r->ready.empty()) return TakeFrom(pool, r);
    for (Region* r : same)
      if (!r->bare.empty())
        if (uint8_t* p = TakeFrom(pool, r)) return p;
  }
  return NewRegion(pool, blockBytes);
}

void GivePagedBlock(void* block, size_t bytes) {
  if (!block) return;
  const size_t blockBytes = PagesOf(bytes ? bytes : 1) * kPage;
  if (blockBytes > kBlockMax) {
    VirtualFree(block, 0, MEM_RELEASE);
    return;
  }
  Pool& pool = ThePool();
  Region* gone[4];  // unmapped after the lock (giving back never allocates)
  size_t nGone = 0;
  {
    Locked lock(pool);
    auto it = pool.byBase.upper_bound(uintptr_t(block));
    Region* r = it == pool.byBase.begin() ? nullptr : std::prev(it)->second;
    if (!r || static_cast<uint8_t*>(block) >= r->base + r->bytes) return;  // not ours
    const uint32_t i = uint32_t((static_cast<uint8_t*>(block) - r->base) / r->blockBytes);
    const size_t idleBefore = IdleOf(r);
    r->ready.push_back(i);
    const bool inUse = --r->used > 0;
    if (!inUse) ++pool.empty;
    pool.idle = pool.idle - idleBefore + IdleOf(r);
    while (pool.idle > kIdleMax) {
      Region* e = AnEmptyRegion(pool);
      if (!e) break;
      Unlink(pool, e);
      if (nGone < 4)
        gone[nGone++] = e;
      else
        Unmap(e);
    }
    if (pool.idle > kIdleMax && inUse && VirtualFree(block, r->blockBytes, MEM_DECOMMIT)) {
      r->ready.pop_back();
      r->bare.push_back(i);
      pool.idle -= r->blockBytes;
    }
  }
  for (size_t k = 0; k < nGone; ++k) Unmap(gone[k]);
}

PagedBlockFigures PagedBlocksNow() {
  Pool& pool = ThePool();
  Locked lock(pool);
  return PagedBlockFigures{pool.reserved, pool.idle, pool.byBase.size()};
}

}  // namespace detail
}  // namespace imaging
