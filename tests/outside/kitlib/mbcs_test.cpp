// Path texts in code page 932: trail bytes that look like "\\", "|" or letters.
#include <gtest/gtest.h>

#include "mbcs.h"

namespace {

using kitlib::DirectoryOf;
using kitlib::ExtensionOf;
using kitlib::FileNameOf;
using kitlib::NormalisePathText;

// "表" = 95 5C, "ソ" = 83 5C, "ヂ" = 83 61, "ａ" = 82 81, "Ａ" = 82 60,
// "α" = 83 BF, "Α" = 83 9F, "ф" = 84 86, "Ф" = 84 55, "ｱ" = B1.
struct NormCase {
  const char* in;
  const char* out;
};

TEST(MbcsToMbcs, FoldsLikeTheFileSystemAndNeverTouchesTrailBytes) {
  const NormCase cases[] = {
      {"c:/photos/img_0001.jpg", "C:\\PHOTOS\\IMG_0001.JPG"},
      {"C:\\\x95\x5C\\a.jpg", "C:\\\x95\x5C\\A.JPG"},          // 表: its 5C stays, no extra separator
      {"d:\\\x83\x61\x83\x5C", "D:\\\x83\x61\x83\x5C"},         // ヂソ: trail 'a' is not upper-cased
      {"\x82\x81\x82\x60", "\x82\x60\x82\x60"},                  // ａＡ -> ＡＡ (full width stays full width)
      {"\x83\xBF\x84\x86", "\x83\x9F\x84\x55"},                  // αф -> ΑФ
      {"\xB1/x", "\xB1\\X"},                                     // half-width katakana kept
      {"", ""},
      {"\x83", "\x83"},                                          // a lone lead byte at the end is kept
  };
  for (const NormCase& c : cases) EXPECT_EQ(NormalisePathText(c.in), c.out) << c.in;
}

TEST(MbcsToMbcs, BothSidesOfAComparisonMeet) {
  EXPECT_EQ(NormalisePathText("e:/dcim/\x82\x81\x95\x5C"), NormalisePathText("E:\\DCIM\\\x82\x60\x95\x5C"));
  EXPECT_NE(NormalisePathText("\x82\x60.jpg"), NormalisePathText("A.jpg"));  // full and half width are two names
}

struct PathCase {
  const char* path;
  const char* dir;
  const char* name;
  const char* ext;
};

TEST(PathParts, SplitAtRealSeparatorsOnly) {
  const PathCase cases[] = {
      {"C:\\A\\b.jpg", "C:\\A", "b.jpg", ".jpg"},
      {"C:\\b.jpg", "C:\\", "b.jpg", ".jpg"},
      {"C:\\\x95\x5C", "C:\\", "\x95\x5C", ""},                    // C:\表
      {"C:\\\x95\x5C\\x.tar.gz", "C:\\\x95\x5C", "x.tar.gz", ".gz"},
      {"C:\\A\\", "C:\\A", "", ""},
      {"name.JPG", "", "name.JPG", ".JPG"},
      {"C:x.jpg", "C:", "x.jpg", ".jpg"},
      {"C:\\dir.d\\noext", "C:\\dir.d", "noext", ""},
      {"E:/DCIM/100ABCDE/A.JPG", "E:/DCIM/100ABCDE", "A.JPG", ".JPG"},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(DirectoryOf(c.path), c.dir) << c.path;
    EXPECT_EQ(FileNameOf(c.path), c.name) << c.path;
    EXPECT_EQ(ExtensionOf(c.path), c.ext) << c.path;
  }
}

TEST(PathParts, TrailingSeparatorsGoButTrailBytesStay) {
  std::string s = "C:\\\x95\x5C\\\\";
  kitlib::TrimTrailingSeparators(s);
  EXPECT_EQ(s, "C:\\\x95\x5C");
  kitlib::TrimTrailingSeparators(s);
  EXPECT_EQ(s, "C:\\\x95\x5C");
  std::string root = "\\\\";
  kitlib::TrimTrailingSeparators(root);
  EXPECT_EQ(root, "");
}

}  // namespace
