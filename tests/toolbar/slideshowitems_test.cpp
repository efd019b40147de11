// The records a slide show starts with: crop rectangles, prepared images, and the
// authored collection's settings as the toolbar hands them to the frame.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "FView_Toolbar.h"
#include "SlideShowItems.h"

namespace {
slideshow::SlideTail Tail(const tagSLD_V_TYPE& slide) {
  slideshow::SlideTail t;
  memcpy(&t, slide.tail, sizeof(t));
  return t;
}
}  // namespace

TEST(SlideShowItems, CropFollowsTheFocusCellOnlyUpright) {
  struct Case {
    int w, h, orientation, focus, column, columns, row, rows;
    RECT expected;
  } cases[] = {
      {1200, 900, 1, 1, 1, 3, 0, 3, {400, 0, 800, 300}},
      {1000, 900, 1, 2, 2, 3, 2, 3, {666, 600, 999, 900}},   // the right and bottom cells
      {1000, 900, 1, 1, 3, 3, 3, 3, {1000, 900, 1000, 900}}, // past the edge: clamped to W and H
      {1200, 900, 6, 1, 1, 3, 0, 3, {0, 0, 900, 1200}},      // turned: the whole picture, sides exchanged
      {1200, 900, 8, 0, 0, 1, 0, 1, {0, 0, 900, 1200}},
      {1200, 900, 1, 0, 1, 3, 1, 3, {0, 0, 1200, 900}},      // no focus reported
      {1200, 900, 1, 1, 0, 0, 0, 0, {0, 0, 1200, 900}},      // no grid: never a division by zero
  };
  for (const Case& c : cases) {
    RECT rc = slideshow::CropRect(c.w, c.h, c.orientation, c.focus, c.column, c.columns, c.row, c.rows);
    EXPECT_EQ(rc.left, c.expected.left) << c.orientation << "/" << c.column;
    EXPECT_EQ(rc.top, c.expected.top) << c.orientation << "/" << c.row;
    EXPECT_EQ(rc.right, c.expected.right) << c.orientation << "/" << c.column;
    EXPECT_EQ(rc.bottom, c.expected.bottom) << c.orientation << "/" << c.row;
  }
}

TEST(SlideShowItems, PreparedImageGivesPathAndSize) {
  std::vector<SlideTempImage> prepared = {{640, 480, "C:\\Pics\\A.JPG", "C:\\t\\tmp00001.bmp"},
                                          {320, 240, "C:\\pics\\b.jpg", ""}};
  slideshow::PictureFacts upright = {1, 0, 0, 1, 0, 1};
  tagSLD_V_TYPE a = slideshow::MakeSlide({"C:\\pics\\a.jpg", 4000, 3000}, prepared, upright);
  EXPECT_STREQ(a.szPath, "C:\\pics\\a.jpg");
  EXPECT_STREQ(a.szPath2, "C:\\t\\tmp00001.bmp");
  EXPECT_EQ(Tail(a).width, 640);
  EXPECT_EQ(Tail(a).right, 640);
  EXPECT_EQ(Tail(a).orientation, 1);
  EXPECT_EQ(Tail(a).value, 0);
  // Not written: the picture's own size, no prepared path.
  tagSLD_V_TYPE b = slideshow::MakeSlide({"C:\\pics\\b.jpg", 800, 600}, prepared, upright);
  EXPECT_STREQ(b.szPath2, "");
  EXPECT_EQ(Tail(b).width, 800);
  EXPECT_EQ(Tail(b).bottom, 600);
  tagSLD_A_TYPE s = slideshow::MakeSound("C:\\m\\NATURAL.mp3");
  EXPECT_STREQ(s.szPath, "C:\\m\\NATURAL.mp3");
}

// The collection being authored: its settings as they are, and a record per picture in
// its order (the files need not exist; their facts are then the defaults).
TEST(SlideShowItems, TheAuthoredCollection) {
  CFView_Toolbar pane;
  CSlideShowScenario& model = pane.GetScenario();
  std::vector<SlidePicture> pictures = {{"C:\\gone\\1.jpg", 100, 80}, {"C:\\gone\\2.jpg", 60, 90}};
  std::vector<std::string> audio = {"C:\\gone\\own.mp3"};
  model.SetPictures(&pictures);
  model.SetAudio(&audio);
  model.SetShowInfo(0, 4000, 0, 2);
  model.SetQuality(2);
  SLD_QUALITY quality = SLD_QUALITY_0;
  SLD_TYPE kind = SLD_TYPE_0;
  std::vector<tagSLD_V_TYPE> slides;
  std::vector<tagSLD_A_TYPE> sounds;
  int interval = -1, repeat = -1;
  ASSERT_EQ(pane.BuildSlideShowItems(TRUE, &quality, &kind, &slides, &sounds, &interval, &repeat), 0);
  EXPECT_EQ((int)quality, 2);
  EXPECT_EQ((int)kind, 0);
  EXPECT_EQ(interval, 4000);
  EXPECT_EQ(repeat, 0);
  ASSERT_EQ(slides.size(), 2u);
  EXPECT_STREQ(slides[1].szPath, "C:\\gone\\2.jpg");
  EXPECT_EQ(Tail(slides[1]).height, 90);
  ASSERT_EQ(sounds.size(), 1u);
  EXPECT_STREQ(sounds[0].szPath, "C:\\gone\\own.mp3");

  // Kinds and qualities outside what a show knows come out as 0; no audio kind, no music.
  model.SetShowInfo(7, 3000, 1, 0);
  model.SetQuality(5);
  sounds.clear();
  ASSERT_EQ(pane.BuildSlideShowItems(TRUE, &quality, &kind, NULL, &sounds, &interval, &repeat), 0);
  EXPECT_EQ((int)quality, 0);
  EXPECT_EQ((int)kind, 0);
  EXPECT_TRUE(sounds.empty());
}
