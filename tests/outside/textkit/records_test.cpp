// The "|" texts: every code's layout, and the one policy for texts that do not fit.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include <cputime.h>

#include "textkit/records.h"

namespace {

using textkit::ReadRecordText;
using textkit::RecordStatus;

textkit::RecordText Read(const std::string& s) { return ReadRecordText(s.data(), s.size()); }

std::vector<std::string> Paths(const textkit::RecordText& t) {
  std::vector<std::string> v;
  for (const auto& e : t.entries) v.push_back(e.path);
  return v;
}

TEST(RecordText, EveryCodesLayout) {
  struct {
    const char* name;
    std::string text;
    int source;
    const char* sourceName;
    int type;
    std::vector<std::string> paths;
    std::vector<int> groups;
    std::vector<std::string> folderNames;
  } cases[] = {
      // 1534 from the folder pane: one and two folders, no selection
      {"one folder", "2|ディスク|1|C:\\Photos\\||", 2, "ディスク", 1, {"C:\\Photos\\"}, {0}, {}},
      {"two folders", "1|Disk|1|C:\\A\\||D:\\B\\||", 1, "Disk", 1, {"C:\\A\\", "D:\\B\\"}, {0, 0}, {}},
      {"no selection", "1|Disk|1|||", 1, "Disk", 1, {""}, {0}, {}},
      {"explorer", "3|Explorer|1|C:\\x\\||", 3, "Explorer", 1, {"C:\\x\\"}, {0}, {}},
      // a folder group (names bare), print orders (names quoted)
      {"folder group", "1|Disk,2005,Jan,1,Feb,2|2|C:\\a.jpg|1||C:\\b.jpg|2||", 1, "Disk", 2,
       {"C:\\a.jpg", "C:\\b.jpg"}, {1, 2}, {"Jan", "Feb"}},
      {"print order", "2|Card,\"Order\",\"Job, one\",1|2|E:\\p.jpg|1||", 2, "Card", 2, {"E:\\p.jpg"}, {1},
       {"Job, one"}},
      {"group without children", "1|Disk,Solo|2||1||", 1, "Disk", 2, {""}, {1}, {"Solo"}},
      // a music folder: the item itself is the one group, the type follows a comma
      {"music", "4|Music,\"17\",1|,2|C:\\m\\a.mp3|1||C:\\m\\b.mp3|1||", 4, "Music", 2,
       {"C:\\m\\a.mp3", "C:\\m\\b.mp3"}, {1, 1}, {"17"}},
      {"disc node", "2|Card|3|E:\\PRIVATE\\x\\1\\y\\2\\Scene||", 2, "Card", 3,
       {"E:\\PRIVATE\\x\\1\\y\\2\\Scene"}, {0}, {}},
      // texts that stop early
      {"type and nothing", "|Category|1|", 0, "Category", 1, {}, {}, {}},
      {"header only", "1|Category", 1, "Category", 0, {}, {}, {}},
      // 1536 added files, 1537 an update, 1538 a rotation
      {"added files", "0|Explorer|1|C:\\n.jpg||", 0, "Explorer", 1, {"C:\\n.jpg"}, {0}, {}},
      {"updated file", "0|A|2|C:\\u.jpg||", 0, "A", 2, {"C:\\u.jpg"}, {0}, {"A"}},
      {"rotation", "0|-90|1|C:\\r.jpg||", 0, "-90", 1, {"C:\\r.jpg"}, {0}, {}},
      // 1626 file lists: records of path, state and a reserved field
      {"file list", "0|0|0|C:\\f.jpg|1|0||C:\\g.jpg|5|0||", 0, "0", 0, {"C:\\f.jpg", "C:\\g.jpg"}, {0, 0}, {}},
      // trail bytes equal to "|" ("ポ" = 83 7C) and "\" ("表" = 95 5C) stay in their characters
      {"shift-jis", "1|Disk|1|C:\\ポスト\\||C:\\表||", 1, "Disk", 1, {"C:\\ポスト\\", "C:\\表"}, {0, 0}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    textkit::RecordText t = Read(c.text);
    ASSERT_TRUE(t.ok()) << textkit::StatusText(t.status);
    EXPECT_EQ(t.text, c.text);
    EXPECT_EQ(t.sourceNumber, c.source);
    EXPECT_EQ(t.sourceName, c.sourceName);
    EXPECT_EQ(t.folderType, c.type);
    EXPECT_EQ(Paths(t), c.paths);
    for (size_t i = 0; i < c.groups.size(); ++i) EXPECT_EQ(t.entries[i].groupNumber, c.groups[i]) << i;
    std::vector<std::string> names;
    for (const auto& n : t.names) names.push_back(n.name);
    EXPECT_EQ(names, c.folderNames);
  }
}

TEST(RecordText, FieldsOfTheParticularCodes) {
  EXPECT_EQ(Read("0|540|1|C:\\r.jpg||").angle, 540);
  auto list = Read("0|4|0|C:\\f.jpg|5|7||");
  ASSERT_EQ(list.entries.size(), 1u);
  EXPECT_EQ(list.entries[0].state, 5);
  EXPECT_EQ(list.entries[0].reserved, 7);
  EXPECT_EQ(list.entries[0].group, "7");
  auto group = Read("1|Disk,Item,A,3,B,5|2|p|2||");
  ASSERT_EQ(group.names.size(), 2u);
  EXPECT_EQ(group.names[0].colour, 3);
  EXPECT_EQ(group.names[1].colour, 5);
  EXPECT_EQ(group.header, "Disk,Item,A,3,B,5");
  EXPECT_EQ(group.fields.size(), 7u);
}

// The one policy: strict. A text that does not fit is refused whole, with a reason.
TEST(RecordText, TextsThatDoNotFitAreRefusedWhole) {
  struct {
    const char* name;
    std::string text;
    size_t length;  // 0: the text's size
    RecordStatus status;
  } cases[] = {
      {"cut inside a path", "1|Disk|1|C:\\Fo", 0, RecordStatus::Truncated},
      {"cut before the closing field", "1|Disk|1|C:\\A\\|", 0, RecordStatus::Truncated},
      {"second entry cut", "1|Disk|1|C:\\A\\||D:\\B", 0, RecordStatus::Truncated},
      {"cut inside a group", "1|Disk,A,1|2|C:\\a.jpg|1", 0, RecordStatus::Truncated},
      {"cut after a group", "1|Disk,A,1|2|C:\\a.jpg|1|", 0, RecordStatus::Truncated},
      {"source only", "12", 0, RecordStatus::Truncated},
      {"a field missing", "0|0|0|C:\\f.jpg|1||", 0, RecordStatus::BadLayout},
      {"an extra field", "1|Disk|1|C:\\A\\|x||", 0, RecordStatus::BadLayout},
      {"an extra field in a list", "0|0|0|C:\\f.jpg|1|0|9||", 0, RecordStatus::BadLayout},
      {"file records under a folder type", "0|Disk|1|C:\\f.jpg|1|0||", 0, RecordStatus::BadLayout},
      {"source no number", "abc|Disk|1|C:\\||", 0, RecordStatus::BadNumber},
      {"source with a tail", "1x|Disk|1|C:\\||", 0, RecordStatus::BadNumber},
      {"source overflows", "99999999999|Disk|1|C:\\||", 0, RecordStatus::BadNumber},
      {"state no number", "0|0|0|C:\\f.jpg|sel|0||", 0, RecordStatus::BadNumber},
      {"group no number", "1|Disk,A,1|2|C:\\a.jpg|one||", 0, RecordStatus::BadNumber},
      {"type no number", "1|Disk|one|C:\\||", 0, RecordStatus::BadType},
      {"unclosed quote", "1|Disk,\"open|2|C:\\a.jpg|1||", 0, RecordStatus::BadHeader},
      {"double-byte cut at the end", "1|Disk|1|C:\\\x83", 0, RecordStatus::BadText},
      // 83 7C is "ポ": the first "|" belongs to it, and the entry is cut
      {"lead byte before the separator", "1|Disk|1|C:\\\x83||", 0, RecordStatus::Truncated},
      {"no trail byte", "1|Disk|1|C:\\\x83\x20||", 0, RecordStatus::BadText},
      {"length cuts the text", "1|Disk|1|C:\\A\\||", 12, RecordStatus::Truncated},
      {"length cuts a character", "1|Disk|1|C:\\表||", 13, RecordStatus::BadText},
      {"empty", "", 0, RecordStatus::Empty},
      {"zeros only", std::string(4, '\0'), 4, RecordStatus::Empty},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    textkit::RecordText t = ReadRecordText(c.text.data(), c.length ? c.length : c.text.size());
    EXPECT_EQ(t.status, c.status) << textkit::StatusText(t.status);
    // A refused text carries nothing a caller could take for data.
    EXPECT_TRUE(t.entries.empty());
    EXPECT_TRUE(t.names.empty());
    EXPECT_TRUE(t.text.empty());
    EXPECT_EQ(t.sourceName, "");
    EXPECT_EQ(t.folderType, 0);
  }
  EXPECT_EQ(ReadRecordText(nullptr, 20).status, RecordStatus::Empty);
}

// Long comma lists: every comma is looked for once from where the last was found, never
// from the start of the text again, and a list of more groups than any sender makes is
// refused before it is taken apart; so is a text of more fields.
TEST(RecordText, LongListsAnswerAtOnce) {
  std::string most = "表";  // the most groups a header may name, each "ポ" (its trail byte is "|")
  for (size_t i = 0; i < textkit::kMaxGroupNames; ++i) most += ",ポ,1";
  struct {
    const char* name;
    std::string text;
    RecordStatus status;
    size_t names;
    double maxMs;
  } cases[] = {
      {"most groups", "1|" + most + "|2|", RecordStatus::Ok, textkit::kMaxGroupNames, 100},
      {"one group more", "1|" + most + ",ポ,1|2|", RecordStatus::BadHeader, 0, 100},
      {"200,000 commas", "1|" + std::string(200000, ',') + "|2|", RecordStatus::BadHeader, 0, 100},
      {"largest text of commas", "1|" + std::string(textkit::kMaxRecordText - 8, ',') + "|2|", RecordStatus::BadHeader,
       0, 3000},
      {"largest text of bars", "0|A|1|" + std::string(textkit::kMaxRecordText - 8, '|'), RecordStatus::TooLarge, 0,
       3000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    textkit::RecordText t;
    double ms = testsupport::CpuMillisOf([&] { t = Read(c.text); });
    EXPECT_EQ(t.status, c.status) << textkit::StatusText(t.status);
    EXPECT_EQ(t.names.size(), c.names);
    EXPECT_LT(ms, c.maxMs);
  }
}

TEST(RecordText, TheTextEndsAtTheLengthOrTheFirstNul) {
  // Senders pad with zeros; whatever follows the first NUL is not read.
  std::string padded("1|Disk|1|C:\\A\\||\0\0\0", 19);
  EXPECT_EQ(Read(padded).text, "1|Disk|1|C:\\A\\||");
  std::string garbage("1|Disk|1|C:\\A\\||\0xyz|", 21);
  EXPECT_TRUE(Read(garbage).ok());
  std::string cutByNul("1|Disk|1|C:\\A\0\\||", 17);
  EXPECT_EQ(Read(cutByNul).status, RecordStatus::Truncated);

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
    EXPECT_EQ(ReadRecordText(reinterpret_cast<const char*>(at), t.size()).ok(), t == texts[0]) << t;
  }
  // Too long: refused before a byte is read.
  EXPECT_EQ(ReadRecordText(reinterpret_cast<const char*>(pages), textkit::kMaxRecordText + 1).status,
            RecordStatus::TooLarge);
  VirtualFree(pages, 0, MEM_RELEASE);
}

TEST(RecordText, WritesWhatItReads) {
  std::string text = textkit::WriteRecordText(2, "ディスク", 1, {"C:\\ポ\\", "D:\\表"});
  EXPECT_EQ(text, "2|ディスク|1|C:\\ポ\\||D:\\表||");
  auto t = Read(text);
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(Paths(t), (std::vector<std::string>{"C:\\ポ\\", "D:\\表"}));
}

TEST(ProgramRequest, SplitsFourFieldsAndKeepsTheRest) {
  struct {
    const char* name;
    std::string text;
    RecordStatus status;
    const char* program;
    int number;
    const char* data;
  } cases[] = {
      {"editor", "A|VxEdit.exe|4|0|0|0|C:\\x.jpg|1|0||", RecordStatus::Ok, "VxEdit.exe", 4, "0|0|0|C:\\x.jpg|1|0||"},
      {"trail byte |", "A|ポ.exe|1|", RecordStatus::Ok, "ポ.exe", 1, ""},
      {"empty number", "A|P||d", RecordStatus::Ok, "P", 0, "d"},
      {"three fields", "A|B|1", RecordStatus::Truncated, "", 0, ""},
      {"two fields", "A|B", RecordStatus::Truncated, "", 0, ""},
      {"number no number", "A|B|x|d", RecordStatus::BadNumber, "", 0, ""},
      {"broken double-byte", "A|\x83", RecordStatus::BadText, "", 0, ""},
      {"empty", "", RecordStatus::Empty, "", 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    textkit::ProgramRequest r;
    r.program = "untouched";
    EXPECT_EQ(textkit::ReadProgramRequest(c.text.data(), c.text.size() + 1, &r), c.status);
    if (c.status == RecordStatus::Ok) {
      EXPECT_EQ(r.status, "A");
      EXPECT_EQ(r.program, c.program);
      EXPECT_EQ(r.number, c.number);
      EXPECT_EQ(r.data, c.data);
    } else {
      EXPECT_EQ(r.program, "untouched");  // a refused request fills nothing
    }
  }
}

}  // namespace
