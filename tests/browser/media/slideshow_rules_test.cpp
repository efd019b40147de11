// The slide-show controller's decisions: the lists it shows and the prepared pictures its
// clean-up may delete, against hostile lists.
#include <gtest/gtest.h>

#include <set>

#include "SlideShowRules.h"

namespace {

tagSLD_V_TYPE Slide(const char* path, const char* prepared, BYTE mark = 0) {
  tagSLD_V_TYPE s = {};
  lstrcpynA(s.szPath, path, MAX_PATH);
  lstrcpynA(s.szPath2, prepared, MAX_PATH);
  s.tail[0] = mark;
  s.tail[31] = mark;
  return s;
}

TEST(SlideShowRules, ListsKeepWhatExists) {
  const std::set<std::string> files = {"C:\\p\\a.jpg", "C:\\t\\b.bmp", "C:\\p\\c.jpg", "C:\\m\\x.mp3"};
  auto exists = [&](const char* p) { return files.count(p) > 0; };
  const std::vector<tagSLD_V_TYPE> slides = {
      Slide("C:\\p\\a.jpg", "C:\\t\\a.bmp", 1),  // prepared picture missing: the file
      Slide("C:\\p\\b.jpg", "C:\\t\\b.bmp", 2),  // file gone, prepared picture there
      Slide("C:\\p\\gone.jpg", "", 3),           // neither: dropped
      Slide("C:\\p\\c.jpg", "", 4),
  };
  std::vector<tagSLD_V_TYPE> shown = SlideShowList(slides, exists);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_STREQ(shown[0].szPath, "C:\\p\\a.jpg");
  EXPECT_STREQ(shown[1].szPath, "C:\\t\\b.bmp");
  EXPECT_STREQ(shown[2].szPath, "C:\\p\\c.jpg");
  for (const tagSLD_V_TYPE& s : shown) EXPECT_EQ(s.szPath2[0], 0);
  EXPECT_EQ(shown[1].tail[0], 2);
  EXPECT_EQ(shown[1].tail[31], 2);
  EXPECT_TRUE(SlideShowList({Slide("C:\\no.jpg", "C:\\no.bmp")}, exists).empty());

  std::vector<tagSLD_A_TYPE> music(3);
  lstrcpyA(music[0].szPath, "C:\\m\\gone.mp3");
  lstrcpyA(music[1].szPath, "C:\\m\\x.mp3");
  std::vector<tagSLD_A_TYPE> played = SlideMusicList(music, exists);
  ASSERT_EQ(played.size(), 1u);
  EXPECT_STREQ(played[0].szPath, "C:\\m\\x.mp3");
}

TEST(SlideShowRules, CleanUpDeletesOnlyItsOwnPreparedFiles) {
  const std::string folder = "C:\\users\\u\\Temp\\vxSlideShow";
  struct Case {
    const char* prepared;
    bool deleted;
  } cases[] = {
      {"C:\\users\\u\\Temp\\vxSlideShow\\0001.bmp", true},
      {"c:\\USERS\\u\\temp\\VXSLIDESHOW\\0002.bmp", true},  // any case
      {"C:\\x.bmp", false},                                  // the old clean-up emptied C: here
      {"C:\\users\\u\\Temp\\vxSlideShow", false},            // the folder itself
      {"C:\\users\\u\\Temp\\vxSlideShow\\", false},
      {"C:\\users\\u\\Temp\\vxSlideShow\\sub\\3.bmp", false},  // nothing below it
      {"C:\\users\\u\\Temp\\vxSlideShow\\..\\keep.txt", false},
      {"C:\\users\\u\\Temp\\vxSlideShowX\\4.bmp", false},  // a neighbour sharing the prefix
      {"C:\\users\\u\\Temp\\vxSlideShow\\5.bmp:stream", false},
      {"", false},
  };
  for (const Case& c : cases) {
    std::vector<std::string> del = SlidePreparedToDelete({Slide("C:\\p\\a.jpg", c.prepared)}, folder);
    EXPECT_EQ(del.size(), c.deleted ? 1u : 0u) << c.prepared;
  }
  // The same file twice is deleted once.
  const auto twice = SlidePreparedToDelete(
      {Slide("a", "C:\\users\\u\\Temp\\vxSlideShow\\1.bmp"), Slide("b", "C:\\users\\u\\Temp\\vxSlideShow\\1.bmp")},
      folder);
  EXPECT_EQ(twice.size(), 1u);
  EXPECT_TRUE(SlidePreparedToDelete({Slide("a", "C:\\x.bmp")}, "").empty());
}

}  // namespace
