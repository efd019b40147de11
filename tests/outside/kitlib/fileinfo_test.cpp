// The file-list texts of WM_COPYDATA, as the panes and the browser write them.
#include <gtest/gtest.h>

#include <cstring>

#include "fileinfo_core.h"

namespace {

using kitlib::ParseFileListText;

kitlib::FileListText Parse(const char* s) { return ParseFileListText(s, strlen(s) + 1); }

TEST(FileListText, FolderChangeOfTwoFolders) {
  auto t = Parse("2|Disk|1|C:\\A\\||D:\\B\\||");
  EXPECT_EQ(t.sourceNumber, "2");
  EXPECT_EQ(t.sourceName, "Disk");
  EXPECT_EQ(t.folderType, "1");
  ASSERT_EQ(t.records.size(), 2u);
  EXPECT_EQ(t.records[0].path, "C:\\A\\");
  EXPECT_EQ(t.records[1].path, "D:\\B\\");
}

TEST(FileListText, BrowserReplyCarriesSelectionAndMarks) {
  auto t = Parse("0|0|0|E:\\a.jpg|1|0||E:\\b.jpg|4|0||E:\\c.jpg|5|0||E:\\d.jpg|0|0||");
  ASSERT_EQ(t.records.size(), 4u);
  EXPECT_EQ(t.records[0].flags, 1);
  EXPECT_EQ(t.records[1].flags, 4);
  EXPECT_EQ(t.records[2].flags, 5);
  EXPECT_EQ(t.records[3].flags, 0);
}

TEST(FileListText, GroupTextWithQuotedHeader) {
  auto t = Parse("3|Cards,\"Order\",\"Job 1\",1|2|E:\\DCIM\\100ABCDE\\A.JPG|1||E:\\B.JPG|2||");
  EXPECT_EQ(t.folderType, "2");
  ASSERT_EQ(t.records.size(), 2u);
  EXPECT_EQ(t.records[1].flags, 2);
}

TEST(FileListText, EmptySelectionAndBrokenTexts) {
  EXPECT_TRUE(Parse("1|Disk|1|||").records.empty());
  EXPECT_TRUE(Parse("").records.empty());
  EXPECT_TRUE(Parse("only|two").records.empty());
  // No NUL within the given length: the parser stops at the length.
  const char raw[] = {'0', '|', '0', '|', '0', '|', 'X', ':', '\\', 'f'};
  auto t = ParseFileListText(raw, sizeof(raw));
  ASSERT_EQ(t.records.size(), 1u);
  EXPECT_EQ(t.records[0].path, "X:\\f");
  EXPECT_TRUE(ParseFileListText(nullptr, 100).records.empty());
}

TEST(FileListText, TrailBytesThatLookLikeTheSeparator) {
  // "ポ" = 83 7C: its trail byte is "|".
  auto t = Parse("0|0|0|C:\\\x83\x7C\\a.jpg|1|0||C:\\\x95\x5C.jpg|0|0||");
  ASSERT_EQ(t.records.size(), 2u);
  EXPECT_EQ(t.records[0].path, "C:\\\x83\x7C\\a.jpg");
  EXPECT_EQ(t.records[0].flags, 1);
  EXPECT_EQ(t.records[1].path, "C:\\\x95\x5C.jpg");
}

TEST(ProgramRequest, SplitsFourFieldsAndKeepsTheRest) {
  kitlib::ProgramRequest r;
  const char text[] = "A|VxEdit.exe|4|0|0|0|C:\\x.jpg|1|0||";
  ASSERT_TRUE(kitlib::ParseProgramRequest(text, sizeof(text), &r));
  EXPECT_EQ(r.status, "A");
  EXPECT_EQ(r.program, "VxEdit.exe");
  EXPECT_EQ(r.number, 4);
  EXPECT_EQ(r.data, "0|0|0|C:\\x.jpg|1|0||");
  EXPECT_FALSE(kitlib::ParseProgramRequest("A|B", 4, &r));
  const char sjis[] = "A|\x83\x7C.exe|1|";  // "ポ.exe"
  ASSERT_TRUE(kitlib::ParseProgramRequest(sjis, sizeof(sjis), &r));
  EXPECT_EQ(r.program, "\x83\x7C.exe");
  EXPECT_EQ(r.data, "");
}

}  // namespace
