// The WM_COPYDATA texts: every code's layout, and texts that are empty, cut short,
// malformed or too long.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doc_fixtures.h"

namespace {

struct Expected {
  const char* name;
  std::string text;
  int source;
  const char* sourceName;
  int type;
  std::vector<std::string> paths;
  std::vector<int> groups;
  std::vector<std::string> folderNames;
};

std::vector<std::string> Paths(const CCopyDataDispatcher& d) {
  std::vector<std::string> v;
  for (int i = 0; i < d.GetCount(); ++i) v.push_back(d.GetPath(i));
  return v;
}

}  // namespace

TEST(CopyData, EveryCodesLayout) {
  const Expected cases[] = {
      // 1534 from the folder pane: one and two folders, no selection
      {"one folder", "2|ディスク|1|C:\\Photos\\||", 2, "ディスク", 1, {"C:\\Photos\\"}, {0}, {}},
      {"two folders", "1|Disk|1|C:\\A\\||D:\\B\\||", 1, "Disk", 1, {"C:\\A\\", "D:\\B\\"}, {0, 0}, {}},
      {"no selection", "1|Disk|1|||", 1, "Disk", 1, {""}, {0}, {}},
      // the toolbar and the browser's own reports
      {"explorer", "3|Explorer|1|C:\\x\\||", 3, "Explorer", 1, {"C:\\x\\"}, {0}, {}},
      // a folder group (names bare), print orders (names quoted), classification
      {"folder group", "1|Disk,2005,Jan,1,Feb,2|2|C:\\a.jpg|1||C:\\b.jpg|2||", 1, "Disk", 2,
       {"C:\\a.jpg", "C:\\b.jpg"}, {1, 2}, {"Jan", "Feb"}},
      {"print order", "2|Card,\"Order\",\"Job, one\",1|2|E:\\p.jpg|1||", 2, "Card", 2, {"E:\\p.jpg"}, {1},
       {"Job, one"}},
      {"group without children", "1|Disk,Solo|2||1||", 1, "Disk", 2, {""}, {1}, {"Solo"}},
      // a music folder: the item itself is the one group, the type follows a comma
      {"music", "4|Music,\"17\",1|,2|C:\\m\\a.mp3|1||C:\\m\\b.mp3|1||", 4, "Music", 2,
       {"C:\\m\\a.mp3", "C:\\m\\b.mp3"}, {1, 1}, {"17"}},
      // a dated disc node: AVCHD images
      {"disc node", "2|Card|3|E:\\PRIVATE\\x\\1\\y\\2\\Scene||", 2, "Card", 3,
       {"E:\\PRIVATE\\x\\1\\y\\2\\Scene"}, {0}, {}},
      // texts that stop early: the face classification's clearing texts
      {"type and nothing", "|Category|1|", 0, "Category", 1, {}, {}, {}},
      {"header only", "1|Category", 1, "Category", 0, {}, {}, {}},
      // 1536 added files, 1537 the export host's update, 1538 a rotation
      {"added files", "0|Explorer|1|C:\\n.jpg||", 0, "Explorer", 1, {"C:\\n.jpg"}, {0}, {}},
      {"updated file", "0|A|2|C:\\u.jpg||", 0, "A", 2, {"C:\\u.jpg"}, {0}, {"A"}},
      {"rotation", "0|-90|1|C:\\r.jpg||", 0, "-90", 1, {"C:\\r.jpg"}, {0}, {}},
      // 1626 file lists: records of path, state and a reserved field
      {"file list", "0|0|0|C:\\f.jpg|1|0||C:\\g.jpg|5|0||", 0, "0", 0, {"C:\\f.jpg", "C:\\g.jpg"}, {0, 0}, {}},
      // a Shift-JIS trail byte equal to "|" stays inside its character ("ポ" is 83 7C)
      {"shift-jis", "1|Disk|1|C:\\ポスト\\||", 1, "Disk", 1, {"C:\\ポスト\\"}, {0}, {}},
  };
  for (const Expected& c : cases) {
    CCopyDataDispatcher d(c.text.data(), (DWORD)c.text.size());
    ASSERT_TRUE(d.IsValid()) << c.name << ": " << CCopyDataDispatcher::StatusText(d.GetStatus());
    EXPECT_EQ(d.GetResult(), S_OK) << c.name;
    EXPECT_EQ(d.GetSourceNumber(), c.source) << c.name;
    EXPECT_STREQ(d.GetSourceName(), c.sourceName) << c.name;
    EXPECT_EQ(d.GetFolderType(), c.type) << c.name;
    EXPECT_EQ(Paths(d), c.paths) << c.name;
    for (int i = 0; i < (int)c.groups.size(); ++i) EXPECT_EQ(d.GetGroupNumber(i), c.groups[i]) << c.name << " " << i;
    CStringList names;
    EXPECT_EQ(d.GetFolderNameList(&names), (int)c.folderNames.size()) << c.name;
    std::vector<std::string> got;
    for (POSITION pos = names.GetHeadPosition(); pos;) got.push_back((LPCSTR)names.GetNext(pos));
    EXPECT_EQ(got, c.folderNames) << c.name;
  }
}

TEST(CopyData, FieldsOfTheParticularCodes) {
  std::string rot = "0|540|1|C:\\r.jpg||";
  CCopyDataDispatcher r(rot.data(), (DWORD)rot.size());
  EXPECT_EQ(r.GetAngle(), 540);
  std::string list = "0|4|0|C:\\f.jpg|5|0||";
  CCopyDataDispatcher l(list.data(), (DWORD)list.size());
  EXPECT_EQ(l.GetFileState(0), 5);
  EXPECT_STREQ(l.GetGroupText(0), "0");
  std::string group = "1|Disk,Item,A,3,B,5|2|p|2||";
  CCopyDataDispatcher g(group.data(), (DWORD)group.size());
  EXPECT_EQ(g.GetFolderColor(0), 3);
  EXPECT_EQ(g.GetFolderColor(1), 5);
  EXPECT_STREQ(g.GetHeader(), "Disk,Item,A,3,B,5");
  EXPECT_EQ(g.GetFieldCount(), 7);
  EXPECT_STREQ(g.GetField(3), "p");
  EXPECT_STREQ(g.GetField(99), "");
  EXPECT_STREQ(g.GetPath(-1), "");
}

TEST(CopyData, TheLengthIsAuthoritative) {
  // Senders pad with zeros up to a multiple of 4; the text ends at the first NUL.
  std::string padded("1|Disk|1|C:\\A\\||\0\0\0", 19);
  CCopyDataDispatcher p(padded.data(), (DWORD)padded.size());
  ASSERT_TRUE(p.IsValid());
  EXPECT_STREQ(p.GetText(), "1|Disk|1|C:\\A\\||");
  // A length shorter than the text cuts it: the path is incomplete.
  std::string text = "1|Disk|1|C:\\A\\||";
  CCopyDataDispatcher cut(text.data(), 12);
  EXPECT_EQ(cut.GetStatus(), VXCD_TRUNCATED);

  // A text without a terminator that ends at the last byte of readable memory: nothing
  // past the length is read.
  SYSTEM_INFO si;
  GetSystemInfo(&si);
  BYTE* pages = static_cast<BYTE*>(VirtualAlloc(nullptr, si.dwPageSize * 2, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(pages, nullptr);
  DWORD old;
  ASSERT_TRUE(VirtualProtect(pages + si.dwPageSize, si.dwPageSize, PAGE_NOACCESS, &old));
  const std::string texts[] = {"0|Explorer|1|C:\\edge\\||", "0|Explorer|1|C:\\ed", "0|Explorer|1|C:\\ポ"};
  for (const std::string& t : texts) {
    BYTE* at = pages + si.dwPageSize - t.size();
    memcpy(at, t.data(), t.size());
    CCopyDataDispatcher d(reinterpret_cast<const char*>(at), (DWORD)t.size());
    EXPECT_EQ(d.IsValid(), t == texts[0]) << t;
  }
  // Too long: refused before a byte is read.
  CCopyDataDispatcher huge(reinterpret_cast<const char*>(pages), VXCOPYDATA_MAX_LENGTH + 1);
  EXPECT_EQ(huge.GetStatus(), VXCD_TOO_LARGE);
  EXPECT_EQ(huge.GetResult(), HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE));
  VirtualFree(pages, 0, MEM_RELEASE);
}

TEST(CopyData, BadTextsFailClearly) {
  struct Bad {
    const char* text;
    DWORD length;  // 0: the text's length
    VXCOPYDATA_STATUS status;
  } cases[] = {
      {"", 0, VXCD_EMPTY},
      {"\0\0\0\0", 4, VXCD_EMPTY},
      {"12", 0, VXCD_TRUNCATED},
      {"abc|Disk|1|C:\\||", 0, VXCD_BAD_NUMBER},
      {"1x|Disk|1|C:\\||", 0, VXCD_BAD_NUMBER},
      {"99999999999|Disk|1|C:\\||", 0, VXCD_BAD_NUMBER},
      {"1|Disk|one|C:\\||", 0, VXCD_BAD_TYPE},
      {"1|Disk|1|C:\\Fo", 0, VXCD_TRUNCATED},
      {"1|Disk|1|C:\\A\\|", 0, VXCD_TRUNCATED},
      {"1|Disk|1|C:\\A\\||D:\\B", 0, VXCD_TRUNCATED},
      {"1|Disk,A,1|2|C:\\a.jpg|1", 0, VXCD_TRUNCATED},
      {"1|Disk,A,1|2|C:\\a.jpg|1|", 0, VXCD_TRUNCATED},
      {"1|Disk|1|C:\\A\\|x||", 0, VXCD_BAD_LAYOUT},
      {"1|Disk,A,1|2|C:\\a.jpg|one||", 0, VXCD_BAD_NUMBER},
      {"1|Disk,\"open|2|C:\\a.jpg|1||", 0, VXCD_BAD_HEADER},
  };
  for (const Bad& c : cases) {
    DWORD len = c.length ? c.length : (DWORD)strlen(c.text);
    CCopyDataDispatcher d(c.text, len);
    EXPECT_FALSE(d.IsValid()) << c.text;
    EXPECT_EQ(d.GetStatus(), c.status) << c.text << ": " << CCopyDataDispatcher::StatusText(d.GetStatus());
    EXPECT_NE(d.GetResult(), S_OK) << c.text;
    // An invalid text answers as an empty one.
    EXPECT_EQ(d.GetCount(), 0) << c.text;
    EXPECT_EQ(d.GetFolderType(), 0) << c.text;
    EXPECT_STREQ(d.GetSourceName(), "") << c.text;
    CStringList names;
    EXPECT_EQ(d.GetFolderNameList(&names), 0) << c.text;
  }
  CCopyDataDispatcher none(nullptr, 20);
  EXPECT_EQ(none.GetStatus(), VXCD_EMPTY);
  EXPECT_EQ(none.GetResult(), E_INVALIDARG);
}
