// The folder pane's sections: shares, the leftover, shrinking from the lowest open tree,
// never below the least height, never negative; the splitter's limits.
#include <gtest/gtest.h>

#include "FolderLayoutRules.h"

namespace {

using folderlayout::Layout;
using folderlayout::Section;

std::vector<int> Heights(int clientHeight, std::vector<Section> s) {
  std::vector<int> h;
  for (auto& p : Layout(clientHeight, s)) h.push_back(p.treeHeight);
  return h;
}

TEST(FolderLayout, Sections) {
  struct {
    int height;
    std::vector<Section> sections;
    std::vector<int> want;
  } cases[] = {
      {402, {{true, -1}, {true, -1}}, {181, 181}},        // 400 - 2*19 shared
      {402, {{true, -1}, {false, -1}}, {362, 0}},         // a closed section is its title row
      {402, {{true, 100}, {true, 100}}, {100, 262}},      // the last open tree takes the rest
      {302, {{true, 200}, {true, 200}}, {200, 62}},       // the lowest gives up first
      {202, {{true, 200}, {true, 200}, {true, 200}}, {63, 40, 40}},  // lowest first, none below 40
      {102, {{true, 200}, {true, 200}, {true, 200}}, {40, 40, 40}},
      {10, {{true, -1}, {true, -1}}, {40, 40}},           // smaller than the title rows
      {402, {{false, -1}, {false, 50}}, {0, 0}},
      {402, {{true, -5}}, {381}},                         // below -1 counts as none
  };
  for (auto& c : cases) EXPECT_EQ(Heights(c.height, c.sections), c.want) << c.height;
  auto placed = Layout(402, {{true, 100}, {false, -1}, {true, -1}});
  EXPECT_EQ(placed[0].top, 1);
  EXPECT_EQ(placed[1].top, 1 + 19 + 100);
  EXPECT_EQ(placed[2].top, placed[1].bottom);
  EXPECT_EQ(placed[2].bottom, 401);
  for (auto& p : Layout(0, {{true, -1}})) EXPECT_GE(p.bottom, p.top);
}

TEST(FolderLayout, SplitterLimits) {
  int up = 0, low = 0;
  EXPECT_TRUE(folderlayout::DragHeights(20, 400, 19, 200, &up, &low));
  EXPECT_EQ(up, 181);
  EXPECT_EQ(low, 181);
  EXPECT_FALSE(folderlayout::DragHeights(20, 400, 19, 60, &up, &low));   // upper at 40
  EXPECT_FALSE(folderlayout::DragHeights(20, 400, 19, 341, &up, &low));  // lower at 40
}

}  // namespace
