#include <VxContFile.h>
#include <dropop/DropRules.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>

using namespace dropop;

namespace {

// A DROPFILES block: header, then the list bytes as given (the caller ends it).
std::string Block(const std::string& list, bool wide, DWORD offset = sizeof(DROPFILES)) {
  std::string b(sizeof(DROPFILES), '\0');
  DROPFILES h = {};
  h.pFiles = offset;
  h.fWide = wide;
  memcpy(&b[0], &h, sizeof h);
  return b + list;
}

std::string Wide(const std::wstring& w) {
  return std::string(reinterpret_cast<const char*>(w.data()), w.size() * sizeof(wchar_t));
}

}  // namespace

TEST(DropBlock, ReadsWholePathsOrRefusesTheBlock) {
  const std::string longPath = "C:\\" + std::string(257, 'a');  // 260 characters
  struct Case {
    const char* what;
    std::string block;
    DropListFault fault;
    std::vector<std::string> paths;
  } cases[] = {
      {"two ANSI paths", Block(std::string("C:\\a\0C:\\b\0\0", 11), false), DropListFault::None, {"C:\\a", "C:\\b"}},
      {"Japanese ANSI path with trail byte 0x5C",
       Block(std::string("C:\\\x95\x5C\0\0", 7), false),
       DropListFault::None,
       {"C:\\\x95\x5C"}},
      {"wide Japanese path",
       Block(Wide(std::wstring(L"C:\\\x8868\x30DD\0\0", 7)), true),
       DropListFault::None,
       {"C:\\\x95\x5C\x83\x7C"}},
      {"wide name the code page cannot hold",
       Block(Wide(std::wstring(L"C:\\caf\x00E9\0\0", 8)), true),
       DropListFault::NotRepresentable,
       {}},
      {"offset past the block", Block(std::string("C:\\a\0\0", 6), false, 400), DropListFault::OffsetOutside, {}},
      {"offset inside the header", Block(std::string("C:\\a\0\0", 6), false, 4), DropListFault::OffsetOutside, {}},
      {"list without its end", Block("C:\\abc", false), DropListFault::Unterminated, {}},
      {"list without its second NUL", Block(std::string("C:\\a\0", 5), false), DropListFault::Unterminated, {}},
      {"wide list cut in a character", Block(Wide(L"C:\\a").substr(0, 7), true), DropListFault::Unterminated, {}},
      {"no path", Block(std::string("\0\0", 2), false), DropListFault::Empty, {}},
      {"header only", std::string(10, '\0'), DropListFault::Missing, {}},
      {"path of 260 characters", Block(longPath + std::string("\0\0", 2), false), DropListFault::PathTooLong, {}},
      {"path of 259 characters",
       Block(longPath.substr(1) + std::string("\0\0", 2), false),
       DropListFault::None,
       {longPath.substr(1)}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> paths{"stale"};
    EXPECT_EQ(ReadDropBlock(c.block.data(), c.block.size(), &paths), c.fault) << c.what;
    EXPECT_EQ(paths, c.paths) << c.what;
  }
  std::vector<std::string> none;
  EXPECT_EQ(ReadDropBlock(nullptr, 100, &none), DropListFault::Missing);
}

TEST(DropBlock, TargetFolderOperationAndPreferredEffect) {
  EXPECT_EQ(DropTargetFolder("E:\\DCIM\\\\"), "E:\\DCIM");
  EXPECT_EQ(DropTargetFolder("E:\\DCIM"), "E:\\DCIM");
  EXPECT_EQ(DropTargetFolder("E:\\"), "E:\\");  // not "E:", which names E:'s current folder
  EXPECT_EQ(FileOperationFor(DROPEFFECT_MOVE), (UINT)FO_MOVE);
  EXPECT_EQ(FileOperationFor(DROPEFFECT_COPY), (UINT)FO_COPY);
  EXPECT_EQ(FileOperationFor(DROPEFFECT_COPY | DROPEFFECT_MOVE), (UINT)FO_COPY);
  const DWORD move = DROPEFFECT_MOVE;
  EXPECT_EQ(PreferredEffect(&move, 4), (DWORD)DROPEFFECT_MOVE);
  EXPECT_EQ(PreferredEffect(&move, 3), (DWORD)DROPEFFECT_COPY);
  EXPECT_EQ(PreferredEffect(nullptr, 4), (DWORD)DROPEFFECT_COPY);
  EXPECT_FALSE(NeedsWaitWindow(99));
  EXPECT_TRUE(NeedsWaitWindow(100));
}

TEST(ContentRepair, MembersFollowTheNewNameOrStayAlone) {
  struct Case {
    const char* contPath;
    std::vector<std::string> members, expected;
    ContentRepair plan;
  } cases[] = {
      {"C:\\d\\Copy of 00001.cont",
       {"00001.MTS", "00001.tmb"},
       {"Copy of 00001.MTS", "Copy of 00001.tmb"},
       ContentRepair::Rename},
      {"C:\\d\\00001 (2).cont", {"00001.MTS", "00001.iis"}, {"00001 (2).MTS", "00001 (2).iis"}, ContentRepair::Rename},
      {"C:\\d\\00001.cont", {"00001.MTS"}, {"00001.MTS"}, ContentRepair::Unchanged},
      {"C:\\d\\00001.cont", {"00001.mts"}, {"00001.mts"}, ContentRepair::Unchanged},
      // The stream's name is not inside the new name: no frame, nothing renamed.
      {"C:\\d\\holiday.cont", {"00001.MTS"}, {"00001.MTS"}, ContentRepair::LeaveAlone},
      {"C:\\d\\x.cont", {}, {}, ContentRepair::NoMembers},
      // Members that name a place outside the folder: the file stays as it came.
      {"C:\\d\\00001 (2).cont", {"00001.MTS", "..\\00001.iis"}, {"00001.MTS", "..\\00001.iis"},
       ContentRepair::LeaveAlone},
      {"C:\\d\\00001 (2).cont", {"00001.MTS", "sub/00001.tmb"}, {"00001.MTS", "sub/00001.tmb"},
       ContentRepair::LeaveAlone},
      {"C:\\d\\00001 (2).cont", {"C:00001.MTS"}, {"C:00001.MTS"}, ContentRepair::LeaveAlone},
      {"C:\\d\\00001 (2).cont", {".."}, {".."}, ContentRepair::LeaveAlone},
      // A double-byte name whose second byte is a backslash's is no separator.
      {"C:\\d\\\x95\x5C (2).cont", {"\x95\x5C.MTS"}, {"\x95\x5C (2).MTS"}, ContentRepair::Rename},
  };
  for (const Case& c : cases) {
    vxcont::ContentInfo info;
    info.members = c.members;
    EXPECT_EQ(RepairMembers(&info, c.contPath), c.plan) << c.contPath;
    EXPECT_EQ(info.members, c.expected) << c.contPath;
  }
}

TEST(DropBlock, AMadeBlockReadsBackWhole) {
  std::vector<std::string> paths{"C:\\a", "E:\\\x95\x5C", "C:\\b c"};
  std::string block = MakeDropBlock(paths);
  std::vector<std::string> back;
  ASSERT_EQ(ReadDropBlock(block.data(), block.size(), &back), DropListFault::None);
  EXPECT_EQ(back, paths);
}
