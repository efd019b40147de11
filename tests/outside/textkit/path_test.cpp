// Path parts at real separators only ("表" = 95 5C ends in the byte of "\"), and the file
// names Windows refuses.
#include <gtest/gtest.h>

#include <string>

#include "textkit/path.h"

namespace {

TEST(PathParts, SplitAtRealSeparatorsOnly) {
  struct {
    const char* path;
    const char* folder;  // FolderOf
    const char* part;    // FolderPartOf
    const char* name;
    const char* ext;
    const char* title;
  } cases[] = {
      {"C:\\A\\b.jpg", "C:\\A", "C:\\A\\", "b.jpg", ".jpg", "b"},
      {"C:\\b.jpg", "C:\\", "C:\\", "b.jpg", ".jpg", "b"},
      {"C:\\表", "C:\\", "C:\\", "表", "", "表"},
      {"C:\\表\\x.tar.gz", "C:\\表", "C:\\表\\", "x.tar.gz", ".gz", "x.tar"},
      {"C:\\A\\", "C:\\A", "C:\\A\\", "", "", ""},
      {"name.JPG", "", "", "name.JPG", ".JPG", "name"},
      {"C:x.jpg", "C:", "C:", "x.jpg", ".jpg", "x"},
      {"C:\\dir.d\\noext", "C:\\dir.d", "C:\\dir.d\\", "noext", "", "noext"},
      {"E:/DCIM/100ABCDE/A.JPG", "E:/DCIM/100ABCDE", "E:/DCIM/100ABCDE/", "A.JPG", ".JPG", "A"},
      {"\\x", "\\", "\\", "x", "", "x"},
      {"C:\\.profile", "C:\\", "C:\\", ".profile", ".profile", ".profile"},
      {"ソ.jpg", "", "", "ソ.jpg", ".jpg", "ソ"},  // "ソ" = 83 5C
      {"", "", "", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(textkit::FolderOf(c.path), c.folder);
    EXPECT_EQ(textkit::FolderPartOf(c.path), c.part);
    EXPECT_EQ(textkit::FileNameOf(c.path), c.name);
    EXPECT_EQ(textkit::ExtensionOf(c.path), c.ext);
    EXPECT_EQ(textkit::TitleOf(c.path), c.title);
  }
}

TEST(PathParts, TrailingSeparatorsGoButTrailBytesStay) {
  struct {
    const char* path;
    bool endsWithSeparator;
    const char* without;  // WithoutTrailingSeparator: a root keeps its own
    const char* trimmed;  // TrimTrailingSeparators: all of them
    const char* with;
  } cases[] = {
      {"C:\\写真\\資料表", false, "C:\\写真\\資料表", "C:\\写真\\資料表", "C:\\写真\\資料表\\"},
      {"C:\\写真\\資料表\\", true, "C:\\写真\\資料表", "C:\\写真\\資料表", "C:\\写真\\資料表\\"},
      {"C:\\写真\\資料表\\\\", true, "C:\\写真\\資料表", "C:\\写真\\資料表", "C:\\写真\\資料表\\\\"},
      {"ab\\", true, "ab", "ab", "ab\\"},
      {"C:\\a/", true, "C:\\a", "C:\\a", "C:\\a/"},
      {"C:\\", true, "C:\\", "C:", "C:\\"},
      {"C:\\\\", true, "C:\\", "C:", "C:\\\\"},
      {"\\\\", true, "\\", "", "\\\\"},
      {"C:", false, "C:", "C:", "C:\\"},
      {"", false, "", "", "\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(textkit::EndsWithSeparator(c.path), c.endsWithSeparator);
    EXPECT_EQ(textkit::WithoutTrailingSeparator(c.path), c.without);
    std::string s = c.path;
    textkit::TrimTrailingSeparators(s);
    EXPECT_EQ(s, c.trimmed);
    EXPECT_EQ(textkit::WithTrailingSeparator(c.path), c.with);
  }
  std::string lead = "\\\\/表";
  textkit::TrimLeadingSeparators(lead);
  EXPECT_EQ(lead, "表");
}

TEST(PathParts, JoinsWithOneSeparator) {
  struct {
    const char* folder;
    const char* name;
    const char* joined;
  } cases[] = {
      {"C:\\A", "b.jpg", "C:\\A\\b.jpg"},
      {"C:\\A\\", "b.jpg", "C:\\A\\b.jpg"},
      {"C:\\A\\\\", "b", "C:\\A\\b"},
      {"C:\\A\\", "\\b.jpg", "C:\\A\\b.jpg"},
      {"C:\\表", "b", "C:\\表\\b"},
      {"C:", "b", "C:\\b"},
      {"\\", "b", "\\b"},
      {"", "b", "b"},
      {"C:\\A", "", "C:\\A"},
  };
  for (const auto& c : cases) EXPECT_EQ(textkit::Join(c.folder, c.name), c.joined) << c.folder << " + " << c.name;
}

TEST(FileNames, RefusesWhatWindowsRefuses) {
  using F = textkit::NameFault;
  struct {
    std::string name;
    F fault;
  } cases[] = {
      {"IMG_0001.JPG", F::None},
      {"写真 表.jpg", F::None},
      {"ポ.jpg", F::None},  // a trail byte "|" is no "|"
      {".hidden", F::None},
      {"CONSOLE.txt", F::None},
      {"COM0", F::None},
      {"LPT10", F::None},
      {"", F::Empty},
      {".", F::DotsAndBlanks},
      {"..", F::DotsAndBlanks},
      {" . ", F::DotsAndBlanks},
      {"con", F::ReservedDevice},
      {"CON.txt", F::ReservedDevice},
      {"Nul.tar.gz", F::ReservedDevice},
      {"aux ", F::ReservedDevice},
      {"prn .jpg", F::ReservedDevice},
      {"com1", F::ReservedDevice},
      {"LPT9.jpg", F::ReservedDevice},
      {"a\\b", F::ForbiddenCharacter},
      {"a/b", F::ForbiddenCharacter},
      {"a:b", F::ForbiddenCharacter},
      {"a*", F::ForbiddenCharacter},
      {"a?", F::ForbiddenCharacter},
      {"\"a\"", F::ForbiddenCharacter},
      {"<a>", F::ForbiddenCharacter},
      {"a|b", F::ForbiddenCharacter},
      {"a\tb", F::ControlCharacter},
      {std::string("a\x1F"), F::ControlCharacter},
      {"name.", F::TrailingDotOrBlank},
      {"name ", F::TrailingDotOrBlank},
      {"ab\x83", F::BadText},
  };
  for (const auto& c : cases) EXPECT_EQ(textkit::CheckFileName(c.name), c.fault) << c.name;
  EXPECT_TRUE(textkit::IsValidFileName("a.jpg"));
  EXPECT_FALSE(textkit::IsValidFileName("a:b"));
}

}  // namespace
