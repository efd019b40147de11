// The WM_COPYDATA texts through the document library's face over the record reader: its
// accessors, and how a refused text answers. The layouts and the policy are tested with
// the reader (tests/outside/textkit).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doc_fixtures.h"

namespace {

std::vector<std::string> Paths(const CCopyDataDispatcher& d) {
  std::vector<std::string> v;
  for (int i = 0; i < d.GetCount(); ++i) v.push_back(d.GetPath(i));
  return v;
}

std::vector<std::string> FolderNames(const CCopyDataDispatcher& d) {
  CStringList names;
  int n = d.GetFolderNameList(&names);
  std::vector<std::string> got;
  for (POSITION pos = names.GetHeadPosition(); pos;) got.push_back((LPCSTR)names.GetNext(pos));
  EXPECT_EQ(n, (int)got.size());
  return got;
}

}  // namespace

TEST(CopyData, AccessorsAnswerFromTheText) {
  std::string group = "1|Disk,Item,A,3,B,5|2|C:\\ポ.jpg|1||p|2||";
  CCopyDataDispatcher g(group.data(), (DWORD)group.size());
  ASSERT_TRUE(g.IsValid());
  EXPECT_EQ(g.GetResult(), S_OK);
  EXPECT_STREQ(g.GetText(), group.c_str());
  EXPECT_EQ(g.GetSourceNumber(), 1);
  EXPECT_STREQ(g.GetSourceName(), "Disk");
  EXPECT_STREQ(g.GetHeader(), "Disk,Item,A,3,B,5");
  EXPECT_EQ(g.GetFolderType(), 2);
  EXPECT_EQ(Paths(g), (std::vector<std::string>{"C:\\ポ.jpg", "p"}));
  EXPECT_EQ(g.GetGroupNumber(1), 2);
  EXPECT_STREQ(g.GetGroupText(1), "2");
  EXPECT_EQ(FolderNames(g), (std::vector<std::string>{"A", "B"}));
  EXPECT_STREQ(g.GetFolderName(1), "B");
  EXPECT_EQ(g.GetFolderColor(0), 3);
  EXPECT_EQ(g.GetFolderColor(1), 5);
  EXPECT_EQ(g.GetFieldCount(), 10);
  EXPECT_STREQ(g.GetField(3), "C:\\ポ.jpg");
  EXPECT_STREQ(g.GetField(99), "");
  EXPECT_STREQ(g.GetPath(-1), "");
  CStringList paths;
  EXPECT_EQ(g.GetPathList(&paths), 2);

  std::string rot = "0|540|1|C:\\r.jpg||";
  EXPECT_EQ(CCopyDataDispatcher(rot.data(), (DWORD)rot.size()).GetAngle(), 540);
  std::string list = "0|4|0|C:\\f.jpg|5|0||";
  CCopyDataDispatcher l(list.data(), (DWORD)list.size());
  EXPECT_EQ(l.GetFileState(0), 5);
  EXPECT_STREQ(l.GetGroupText(0), "0");
}

TEST(CopyData, ARefusedTextAnswersAsAnEmptyOneAndSaysWhy) {
  struct Bad {
    const char* text;
    DWORD length;  // 0: the text's length
    VXCOPYDATA_STATUS status;
    HRESULT result;
  } cases[] = {
      {"1|Disk|1|C:\\Fo", 0, VXCD_TRUNCATED, HRESULT_FROM_WIN32(ERROR_INVALID_DATA)},
      {"1|Disk|1|C:\\A\\|x||", 0, VXCD_BAD_LAYOUT, HRESULT_FROM_WIN32(ERROR_INVALID_DATA)},
      {"1|Disk|one|C:\\||", 0, VXCD_BAD_TYPE, HRESULT_FROM_WIN32(ERROR_INVALID_DATA)},
      {"1|Disk|1|C:\\\x83", 0, VXCD_BAD_TEXT, HRESULT_FROM_WIN32(ERROR_INVALID_DATA)},
      {"\0\0\0\0", 4, VXCD_EMPTY, E_INVALIDARG},
  };
  for (const Bad& c : cases) {
    DWORD len = c.length ? c.length : (DWORD)strlen(c.text);
    CCopyDataDispatcher d(c.text, len);
    EXPECT_FALSE(d.IsValid()) << c.text;
    EXPECT_EQ(d.GetStatus(), c.status) << c.text << ": " << CCopyDataDispatcher::StatusText(d.GetStatus());
    EXPECT_EQ(d.GetResult(), c.result) << c.text;
    EXPECT_STRNE(CCopyDataDispatcher::StatusText(d.GetStatus()), "unknown");
    EXPECT_EQ(d.GetCount(), 0) << c.text;
    EXPECT_EQ(d.GetFolderType(), 0) << c.text;
    EXPECT_STREQ(d.GetSourceName(), "") << c.text;
    EXPECT_STREQ(d.GetText(), "") << c.text;
    EXPECT_TRUE(FolderNames(d).empty()) << c.text;
  }
  CCopyDataDispatcher huge("x", VXCOPYDATA_MAX_LENGTH + 1);  // refused before a byte is read
  EXPECT_EQ(huge.GetResult(), HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE));
}
