// The decisions of the marked files' copy and move.
#include <gtest/gtest.h>

#include "MarkRules.h"

#include <VxResourceIds.h>
#include <shellapi.h>

TEST(MarkRules, WorkListKeepsTheMarkedOrderWithMembersAndLeavesCardStreamsOut) {
  auto members = [](const std::string& cont) -> std::vector<std::string> {
    if (cont == "D:\\v\\00001.cont") return {"D:\\v\\00001.MTS", "D:\\v\\00001.tmb"};
    return {};
  };
  auto fixed = [](const std::string& p) { return p[0] != 'E'; };
  struct {
    std::vector<std::string> marked, work;
    BOOL excluded;
  } cases[] = {
      // A content file's members come right after it, before the next marked file.
      {{"D:\\v\\00001.cont", "D:\\p\\a.jpg"},
       {"D:\\v\\00001.cont", "D:\\v\\00001.MTS", "D:\\v\\00001.tmb", "D:\\p\\a.jpg"},
       FALSE},
      // Streams are left out off the fixed drives only, whatever the case of the extension.
      {{"E:\\AVCHD\\00002.MTS", "D:\\p\\a.jpg", "E:\\x.m2ts", "D:\\s.MtS"}, {"D:\\p\\a.jpg", "D:\\s.MtS"}, TRUE},
      {{"E:\\00002.mts"}, {}, TRUE},
      // A content file without members, a picture on the card.
      {{"D:\\w\\empty.CONT", "E:\\DCIM\\b.jpg"}, {"D:\\w\\empty.CONT", "E:\\DCIM\\b.jpg"}, FALSE},
  };
  for (auto& c : cases) {
    BOOL excluded = 2;
    EXPECT_EQ(c.work, MarkWorkList(c.marked, members, fixed, &excluded)) << c.marked[0];
    EXPECT_EQ(c.excluded, excluded) << c.marked[0];
  }
}

TEST(MarkRules, OneTargetFolder) {
  // The members add sources: one target per source would pair them with nothing.
  EXPECT_EQ(0u, MarkOperationFlags() & FOF_MULTIDESTFILES);
  EXPECT_EQ((UINT)(FOF_ALLOWUNDO | FOF_WANTMAPPINGHANDLE), MarkOperationFlags());
  EXPECT_EQ("F:\\", MarkDestination("F:"));
  EXPECT_EQ("F:\\x", MarkDestination("F:\\x"));
  EXPECT_EQ((UINT)IDS_BROWSER_MARK_MOVE_TITLE, MarkBrowseTitle(FO_MOVE));
  EXPECT_EQ((UINT)IDS_BROWSER_MARK_COPY_TITLE, MarkBrowseTitle(FO_COPY));
}
