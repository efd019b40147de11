// The bytes of a browser drag's formats, the drop target's effect, and where the drag
// image may be shown.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>

#include "DragDropRules.h"

using namespace dragdrop;

TEST(DragDropRules, HDropOfThreeFiles) {
  std::string b = HDropBytes({"C:\\a\\1.jpg", "C:\\a\\\x95\x5C.jpg", "D:\\m.mts"}, POINT{12, 34});
  ASSERT_GE(b.size(), sizeof(DROPFILES));
  DROPFILES head;
  memcpy(&head, b.data(), sizeof(head));
  EXPECT_EQ(head.pFiles, 20u);
  EXPECT_EQ(head.pt.x, 12);
  EXPECT_EQ(head.pt.y, 34);
  EXPECT_TRUE(head.fNC);
  EXPECT_FALSE(head.fWide);
  EXPECT_EQ(b.substr(20), std::string("C:\\a\\1.jpg\0C:\\a\\\x95\x5C.jpg\0D:\\m.mts\0\0", 33));
  // An empty list is still a whole block: the header and one NUL.
  EXPECT_EQ(HDropBytes({}, POINT{0, 0}).size(), 21u);
}

TEST(DragDropRules, FolderPaths) {
  EXPECT_EQ(FolderPathBytes({}), std::string(1, '\0'));
  EXPECT_EQ(FolderPathBytes({"C:\\a\\", "C:\\b\\"}), std::string("C:\\a\\\0C:\\b\\\0\0", 13));
}

TEST(DragDropRules, EnterEffect) {
  EXPECT_EQ(EnterEffect(false, MK_CONTROL), DWORD(DROPEFFECT_NONE));
  EXPECT_EQ(EnterEffect(true, MK_CONTROL | MK_LBUTTON), DWORD(DROPEFFECT_COPY));
  EXPECT_EQ(EnterEffect(true, MK_LBUTTON), DWORD(DROPEFFECT_MOVE));
  EXPECT_EQ(EnterEffect(true, MK_SHIFT), DWORD(DROPEFFECT_MOVE));
}

TEST(DragDropRules, OutlineAndFeedback) {
  POINT pts[8];
  OutlinePoints(POINT{100, 100}, POINT{10, 20}, SIZE{60, 40}, pts);
  EXPECT_EQ(pts[0].x, 90);
  EXPECT_EQ(pts[0].y, 80);
  EXPECT_EQ(pts[4].x, 150);
  EXPECT_EQ(pts[4].y, 120);
  EXPECT_EQ(pts[1].x, 120);
  EXPECT_EQ(pts[7].y, 100);
  struct {
    bool inside, source, over, all;
    Feedback f;
  } cases[] = {
      {true, true, true, true, Feedback::NoDropShown},
      {true, true, true, false, Feedback::NoDropHidden},  // part of the image would leave
      {true, false, false, false, Feedback::NoDropHidden},
      {true, true, false, true, Feedback::Default},        // over another window
      {false, true, true, true, Feedback::Default},
  };
  for (const auto& c : cases) EXPECT_EQ(FeedbackOf(c.inside, c.source, c.over, c.all), c.f);
}

TEST(DragDropRules, HotSpot) {
  RECT icon = {100, 300, 260, 460};
  POINT p = HotSpot(false, POINT{150, 120}, icon, POINT{0, 200}, 4);
  EXPECT_EQ(p.x, 150 - 100 - 8);
  EXPECT_EQ(p.y, 120 - 100 - 8);
  p = HotSpot(false, POINT{150, 120}, icon, POINT{0, 200}, 2);
  EXPECT_EQ(p.x, 45);
  p = HotSpot(true, POINT{150, 120}, icon, POINT{0, 200}, 4);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
}
