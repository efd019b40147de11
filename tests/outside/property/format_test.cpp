// How values read as texts.
#include <gtest/gtest.h>

#include "format.h"

using namespace vxprop;

TEST(PropertyFormat, FileSizeText) {
  struct Case {
    uint64_t bytes;
    const char* text;
  };
  const Case cases[] = {
      {0, "0 バイト (0 バイト)"},
      {512, "512 バイト (512 バイト)"},
      {1023, "1,023 バイト (1,023 バイト)"},
      {1024, "1.00 KB (1,024 バイト)"},          // exact sizes stay exact
      {1535, "1.49 KB (1,535 バイト)"},          // cut, not rounded
      {1048575, "1023.99 KB (1,048,575 バイト)"},  // never "1024.00 KB"
      {1048576, "1.00 MB (1,048,576 バイト)"},
      {3221225472ull, "3.00 GB (3,221,225,472 バイト)"},
      {5368709120ull + 1, "5.00 GB (5,368,709,121 バイト)"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatFileSize(c.bytes), c.text) << c.bytes;
}

TEST(PropertyFormat, CameraValues) {
  EXPECT_EQ(FormatExposure({1, 250}), "1/250 秒");
  EXPECT_EQ(FormatExposure({10, 2500}), "1/250 秒");
  EXPECT_EQ(FormatExposure({1, 2}), "0.5 秒");
  EXPECT_EQ(FormatExposure({2, 1}), "2 秒");
  EXPECT_EQ(FormatExposure({1, 0}), "");
  EXPECT_EQ(FormatAperture({56, 10}), "F5.6");
  EXPECT_EQ(FormatAperture({8, 1}), "F8.0");
  EXPECT_EQ(FormatFocalLength({350, 10}), "35 mm");
  EXPECT_EQ(FormatFocalLength({45, 10}), "4.5 mm");
  EXPECT_EQ(FormatFlash(0x01), "発光");
  EXPECT_EQ(FormatFlash(0x10), "発光禁止");
  EXPECT_EQ(FormatFlash(0x18), "非発光");
  EXPECT_EQ(SceneName(3u, 2u), "夜景");
  EXPECT_EQ(SceneName(0u, 8u), "風景");
  EXPECT_EQ(SceneName(std::nullopt, 2u), "");
  EXPECT_EQ(FormatDuration(3725.9), "1:02:05");
  EXPECT_EQ(FormatDuration(0), "");
  EXPECT_EQ(FormatBitRate(17000000), "17.0 Mbps");
  EXPECT_EQ(FormatBitRate(850000), "850 kbps");
  EXPECT_EQ(FormatSize(640, 480), "640 × 480");
}

TEST(PropertyFormat, GpsTextsCarryTheSignOnTheFirstNonZeroPart) {
  struct Case {
    double degrees;
    const char* text;
  };
  const Case cases[] = {
      {35.6586, "35/39/31"},  {-33.8568, "-33/51/24"}, {-0.1246, "0/-7/29"},
      {-0.004, "0/0/-14"},    {-0.0001, "0/0/0"},      {10.99999, "11/0/0"},  // seconds carry over
      {-179.99999, "-180/0/0"},
  };
  for (const Case& c : cases) EXPECT_EQ(GpsDmsText(c.degrees), c.text) << c.degrees;
}
