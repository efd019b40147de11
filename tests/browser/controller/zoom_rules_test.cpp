// The decisions of a zoom request: which items are refused with which message, and how the
// shown items fall into the zoom window's groups.
#include <gtest/gtest.h>

#include <VxGUIDB/VxGUIDBDefs.h>
#include <VxResourceIds.h>

#include "ZoomRules.h"

TEST(ZoomRules, Refusals) {
  const DWORD mov = VXKIND_MOVIE | VXKIND_SUB_8, mp4 = VXKIND_MOVIE | VXKIND_SUB_10,
              other = VXKIND_MOVIE | VXKIND_SUB_20, both = VXKIND_MOVIE | VXKIND_SUB_10 | VXKIND_SUB_20;
  struct {
    BOOL item;
    DWORD kind;
    BOOL backEnd;
    UINT refusal;
  } cases[] = {
      {FALSE, VXKIND_STILL, TRUE, IDS_BROWSER_ZOOM_NO_ITEM},
      {TRUE, VXKIND_STILL | VXKIND_SUB_10, FALSE, 0},
      {TRUE, VXKIND_FOLDER, TRUE, IDS_BROWSER_ZOOM_FAILED},
      {TRUE, VXKIND_SOUND, TRUE, IDS_BROWSER_ZOOM_FAILED},
      {TRUE, mp4, FALSE, 0},  // shown without the movie back end
      {TRUE, other, FALSE, 0},
      {TRUE, mov, FALSE, IDS_MOVIE_NEEDS_PLAYER},
      {TRUE, mov, TRUE, 0},
      {TRUE, both, FALSE, IDS_MOVIE_NEEDS_PLAYER},
      {TRUE, both, TRUE, 0},
  };
  for (auto& c : cases) EXPECT_EQ(c.refusal, ZoomRefusal(c.item, c.kind, c.backEnd)) << std::hex << c.kind;
}

TEST(ZoomRules, GroupsFollowThePagesOfTheShownItems) {
  int a, b;
  using Groups = std::vector<std::vector<size_t>>;
  // An item that can't be zoomed joins no group and does not split its page's run; a page
  // met again later starts a group of its own; pages without zoomable items give none.
  EXPECT_EQ((Groups{{0, 2}, {3}, {5}}),
            ZoomGroups({&a, &a, &a, &b, &b, &a}, {true, false, true, true, false, true}));
  EXPECT_EQ((Groups{{1}}), ZoomGroups({&a, &b, &b}, {false, true, false}));
  EXPECT_EQ(Groups{}, ZoomGroups({&a, &b}, {false, false}));
  EXPECT_EQ(Groups{}, ZoomGroups({}, {}));
}
