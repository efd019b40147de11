// The history's decisions: which item stands for a stored one after a refresh, and how
// entries are pushed.
#include <gtest/gtest.h>

#include "FolderHistoryRules.h"

namespace {

using folderhistory::Item;

TEST(FolderHistory, ResolvingStoredItems) {
  int a, b, c;
  std::vector<Item> now = {{&a, "C:\\A", 0}, {&b, "C:\\B", 0}, {&c, "C:\\表", 2}};
  struct {
    Item stored;
    const void* want;
  } cases[] = {
      {{&a, "C:\\A", 0}, &a},        // still there
      {{&a, "C:\\B", 0}, &b},        // the handle names another item now: found by path
      {{&b, "C:\\表", 2}, &c},       // a double-byte path
      {{&c, "C:\\表", 0}, nullptr},  // another kind
      {{&a, "C:\\Gone", 0}, nullptr},
  };
  for (auto& t : cases) EXPECT_EQ(folderhistory::Resolve(t.stored, now), t.want) << t.stored.path;
}

TEST(FolderHistory, Pushing) {
  folderhistory::History h;
  EXPECT_FALSE(h.CanBack());
  h.Push({"T", {{nullptr, "C:\\A", 0}}});
  h.Push({"T", {{nullptr, "C:\\A", 0}}});  // the same again: once
  EXPECT_EQ(h.Count(), 1);
  h.Push({"T", {}});  // recorded while a worker ran
  h.Push({"T", {{nullptr, "C:\\B", 0}}});
  EXPECT_EQ(h.Count(), 3);
  EXPECT_TRUE(h.CanBack());
  h.SetPosition(0);
  EXPECT_TRUE(h.CanForward());
  h.Push({"T", {{nullptr, "C:\\C", 0}}});  // drops what was ahead
  EXPECT_EQ(h.Count(), 2);
  EXPECT_EQ(h.At(1).items[0].path, "C:\\C");
}

}  // namespace
