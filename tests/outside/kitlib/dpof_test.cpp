// Print-order files: reading the jobs' pictures and taking one picture out.
#include <gtest/gtest.h>

#include "dpof_core.h"

namespace {

using kitlibex::DpofImages;
using kitlibex::DpofRemoveImage;

const char kMrk[] =
    "[HDR]\r\n"
    "GEN REV = 01.10\r\n"
    "GEN CRT = \"NORVANE NV-D500\" -01.00\r\n"
    "GEN DTM = 2026:03:14:09:12:05\r\n"
    "\r\n"
    "[JOB]\r\n"
    "PRT PID = 001\r\n"
    "PRT TYP = STD\r\n"
    "PRT QTY = 001\r\n"
    "IMG FMT = EXIF2 -J\r\n"
    "<IMG SRC = \"../DCIM/100ABCDE/ABCD0001.JPG\">\r\n"
    "\r\n"
    "[JOB]\r\n"
    "PRT PID = 002\r\n"
    "PRT TYP = STD\r\n"
    "PRT QTY = 002\r\n"
    "IMG FMT = EXIF2 -J\r\n"
    "<img src=\"../DCIM/101ABCDE/ABCD0002.JPG\">\r\n"
    "\r\n"
    "[JOB]\r\n"
    "PRT PID = 003\r\n"
    "PRT TYP = IDX\r\n"
    "<IMG SRC = \"../DCIM/100ABCDE/ABCD0001.JPG\">\r\n"
    "<IMG SRC = \"../DCIM/100ABCDE/ABCD0003.JPG\">\r\n";

TEST(Dpof, JobsNameTheirPicturesOnTheDrive) {
  auto images = DpofImages(kMrk, "E:");
  ASSERT_EQ(images.size(), 4u);
  EXPECT_EQ(images[0], "E:\\DCIM\\100ABCDE\\ABCD0001.JPG");
  EXPECT_EQ(images[1], "E:\\DCIM\\101ABCDE\\ABCD0002.JPG");
  EXPECT_EQ(images[3], "E:\\DCIM\\100ABCDE\\ABCD0003.JPG");
  EXPECT_TRUE(DpofImages("[HDR]\nGEN REV = 01.10\n<IMG SRC = \"../DCIM/X.JPG\">\n", "E:").empty());  // not in a job
  EXPECT_TRUE(DpofImages("", "E:").empty());
}

TEST(Dpof, SourcesResolveAgainstTheMiscFolder) {
  EXPECT_EQ(kitlibex::ResolveDpofSource("E:", "../DCIM/100A/B.JPG"), "E:\\DCIM\\100A\\B.JPG");
  EXPECT_EQ(kitlibex::ResolveDpofSource("E:\\", "/DCIM/B.JPG"), "E:\\DCIM\\B.JPG");
  EXPECT_EQ(kitlibex::ResolveDpofSource("E:", "./B.JPG"), "E:\\MISC\\B.JPG");
  EXPECT_EQ(kitlibex::ResolveDpofSource("E:", "../../../B.JPG"), "E:\\B.JPG");  // never above the root
  EXPECT_EQ(kitlibex::DpofFilePath("E:", "AUTPLAY3"), "E:\\MISC\\AUTPLAY3.MRK");
}

// Picture paths that would leave the card or name no file: the entry is dropped, the
// rest of the order is read.
TEST(Dpof, UnsafePicturePathsAreDropped) {
  struct Case {
    std::string src;
    const char* kept;  // the resolved path, or nullptr when the entry is dropped
  };
  const Case cases[] = {
      {"../DCIM/100A/B.JPG", "E:\\DCIM\\100A\\B.JPG"},
      {"../DCIM/\x95\\.JPG", "E:\\DCIM\\\x95\\.JPG"},  // a trail byte 0x5C is no separator
      {"C:/Windows/win.ini", nullptr},                         // a drive colon
      {"../DCIM/A:B.JPG", nullptr},
      {std::string("../DCIM/B.JPG\0.txt", 18), nullptr},      // a NUL cuts the path
      {"../DCIM/B\x01.JPG", nullptr},                          // control characters
      {"../DCIM/B\t.JPG", nullptr},
      {"../.../B.JPG", nullptr},                               // parts of dots and blanks
      {"../DCIM/. ./B.JPG", nullptr},
      {"../DCIM/CON", nullptr},                                // device names
      {"../DCIM/con.jpg", nullptr},
      {"../COM1/B.JPG", nullptr},
      {"../DCIM/LPT9 .JPG", nullptr},
      {"../DCIM/B.JPG.", nullptr},                             // Windows would drop the dot
      {"../DCIM/*.JPG", nullptr},
      {"../..", nullptr},                                      // no name at all
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.src);
    std::string mrk = "[JOB]\r\n<IMG SRC = \"" + c.src + "\">\r\n[JOB]\r\n<IMG SRC = \"../DCIM/OK.JPG\">\r\n";
    std::vector<std::string> want;
    if (c.kept) want.push_back(c.kept);
    want.push_back("E:\\DCIM\\OK.JPG");
    EXPECT_EQ(DpofImages(mrk, "E:"), want);
  }
}

TEST(Dpof, RemovingAPictureDropsItsJobsAndKeepsTheRest) {
  std::string mrk = kMrk;
  EXPECT_EQ(DpofRemoveImage(mrk, "E:", "e:\\dcim\\100abcde\\abcd0001.jpg"), 2);
  auto images = DpofImages(mrk, "E:");
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[0], "E:\\DCIM\\101ABCDE\\ABCD0002.JPG");
  EXPECT_EQ(images[1], "E:\\DCIM\\100ABCDE\\ABCD0003.JPG");
  // The first job went whole, the index job kept its other picture and its header lines.
  EXPECT_EQ(mrk.find("PRT PID = 001"), std::string::npos);
  EXPECT_NE(mrk.find("PRT PID = 003"), std::string::npos);
  EXPECT_NE(mrk.find("[HDR]\r\nGEN REV = 01.10\r\n"), std::string::npos);
  EXPECT_EQ(mrk.find("\n\n"), std::string::npos);  // line ends stay CR LF

  std::string before = mrk;
  EXPECT_EQ(DpofRemoveImage(mrk, "E:", "E:\\DCIM\\100ABCDE\\NOTTHERE.JPG"), 0);
  EXPECT_EQ(mrk, before);
  EXPECT_EQ(DpofRemoveImage(mrk, "E:", "E:\\DCIM\\101ABCDE\\ABCD0002.JPG"), 1);
  EXPECT_EQ(DpofRemoveImage(mrk, "E:", "E:\\DCIM\\100ABCDE\\ABCD0003.JPG"), 1);
  EXPECT_TRUE(DpofImages(mrk, "E:").empty());
  EXPECT_EQ(mrk.find("[JOB]"), std::string::npos);
  EXPECT_NE(mrk.find("[HDR]"), std::string::npos);
}

}  // namespace
