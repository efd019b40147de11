// Folder-change texts: requests of selections, framing, padding, group names and the
// reading of received texts (bounded, malformed ones refused).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include <textkit/records.h>

#include "FolderTextRules.h"

namespace {

using foldertext::SelectedItem;

TEST(FolderText, Requests) {
  SelectedItem a{true, 0, "C:\\A", ""}, b{true, 0, "D:\\B\\\\\\", ""}, none{false, 0, "", ""};
  SelectedItem disc{true, 6, "E:\\x", "|3|E:\\x||"}, odd{true, 9, "C:\\表", ""};
  struct {
    std::vector<SelectedItem> items;
    const char* want;
  } cases[] = {
      {{}, "|1|||"},
      {{a}, "|1|C:\\A\\||"},
      {{a, b}, "|1|C:\\A\\||D:\\B\\||"},  // trailing backslashes: exactly one
      {{none}, "||1|||"},
      {{a, disc}, "|3|E:\\x||"},
      {{odd}, "|1|C:\\表\\||"},  // a kind outside 0..6 is a folder; 表's trail byte is a backslash
  };
  for (auto& c : cases) EXPECT_EQ(foldertext::BuildRequest(c.items), c.want);
  EXPECT_EQ(foldertext::FrameChange(2, "Disk", "|1|C:\\A\\||"), "2|Disk|1|C:\\A\\||");
}

TEST(FolderText, Padding) {
  struct {
    std::string text;
    size_t cb;
  } cases[] = {{"1234567", 12}, {"123456", 8}, {"", 4}, {"abc", 8}};
  for (auto& c : cases) {
    std::vector<char> b = foldertext::PaddedBlock(c.text);
    EXPECT_EQ(b.size(), c.cb) << c.text;
    EXPECT_EQ(std::string(b.data()), c.text);
    for (size_t i = c.text.size(); i < b.size(); ++i) EXPECT_EQ(b[i], 0);
  }
}

TEST(FolderText, GroupNames) {
  EXPECT_EQ(foldertext::GroupName("Plain"), "Plain");
  EXPECT_EQ(foldertext::GroupName("A,B"), "\"A,B\"");
  EXPECT_EQ(foldertext::GroupName("say \"hi\"|x"), "say _hi__x");
  EXPECT_EQ(foldertext::GroupName("ポ表"), "ポ表");  // trail bytes of "|" and "\" stay
}

TEST(FolderText, GroupTexts) {
  std::vector<foldertext::Group> groups;
  for (int i = 1; i <= 8; ++i) groups.push_back({"g" + std::to_string(i), {"C:\\f" + std::to_string(i) + ".jpg"}});
  std::string text = foldertext::GroupText("Top", groups, false);
  EXPECT_EQ(text.substr(0, text.find('|')), ",Top,g1,1,g2,2,g3,3,g4,4,g5,5,g6,6,g7,1,g8,2");
  EXPECT_NE(text.find("C:\\f8.jpg|8||"), std::string::npos);  // group numbers do not wrap
  EXPECT_EQ(foldertext::GroupText("Top", {{"A", {}}}, false), ",Top,A,1|2||1||");
  // Names with a comma, a quote or a bar: the pane's text reads back with the one reader.
  std::string framed = foldertext::FrameChange(
      2, "Tree", foldertext::GroupText("A,B", {{"C|D", {"C:\\x.jpg"}}, {"E\"F", {"C:\\y.jpg"}}}, false));
  textkit::RecordText r = textkit::ReadRecordText(framed.c_str(), framed.size() + 1);
  ASSERT_TRUE(r.ok()) << framed << " " << textkit::StatusText(r.status);
  EXPECT_EQ(r.folderType, 2);
  ASSERT_EQ(r.entries.size(), 2u);
  EXPECT_EQ(r.entries[1].groupNumber, 2);
  ASSERT_EQ(r.names.size(), 2u);
  EXPECT_EQ(r.names[0].name, "C_D");
  EXPECT_EQ(r.names[1].name, "E_F");
  EXPECT_EQ(r.names[1].colour, 2);
  std::string quoted = foldertext::GroupText("P", {{"Q", {}}}, true);
  EXPECT_EQ(quoted, ",\"P\",\"Q\",1|2||1||");
}

TEST(FolderText, ReadingReceivedTexts) {
  struct {
    const char* text;
    bool nul;  // sent with its NUL
    bool ok;
    int tree, kind;
    const char* title;
    const char* payload;
  } cases[] = {
      {"2|Disk|1|C:\\A\\||D:\\B\\||", true, true, 2, 1, "Disk", "C:\\A\\"},
      {"1|Cat|2|x|1||", true, true, 1, 2, "Cat", "x|1||"},
      {"1|Card|3|E:\\p\\||", true, true, 1, 3, "Card", "E:\\p\\"},
      {"1|Card|3||", true, true, 1, 3, "Card", ""},  // never before the payload
      {"1|Card|3|", true, true, 1, 3, "Card", ""},
      {"2|ポ|1|C:\\表\\||", true, true, 2, 1, "ポ", "C:\\表\\"},
      {"2|Disk|1|C:\\A\\||", false, false, 0, 0, "", ""},  // no NUL within cbData
      {"2|Disk", true, false, 0, 0, "", ""},               // two fields
      {"x|Disk|1|", true, false, 0, 0, "", ""},            // no number
      {"", false, false, 0, 0, "", ""},
  };
  for (auto& c : cases) {
    foldertext::ReceivedChange r = foldertext::ReadChange(c.text, strlen(c.text) + (c.nul ? 1 : 0));
    EXPECT_EQ(r.ok, c.ok) << c.text;
    if (!c.ok) continue;
    EXPECT_EQ(r.treeNumber, c.tree);
    EXPECT_EQ(r.kind, c.kind);
    EXPECT_EQ(r.title, c.title);
    EXPECT_EQ(r.payload, c.payload) << c.text;
  }
  EXPECT_FALSE(foldertext::ReadChange(nullptr, 8).ok);
}

}  // namespace

// Leaving the third tree lets the core's drive go; entering it refreshes; other moves nothing.
TEST(FolderText, CardTreeSwitches) {
  using foldertext::CardTreeSwitch;
  struct {
    int previous, next;
    CardTreeSwitch expected;
  } cases[] = {{3, 1, CardTreeSwitch::Leave}, {3, 0, CardTreeSwitch::Leave}, {1, 3, CardTreeSwitch::Enter},
               {0, 3, CardTreeSwitch::Enter}, {3, 3, CardTreeSwitch::None},  {1, 2, CardTreeSwitch::None},
               {2, 4, CardTreeSwitch::None}};
  for (auto& c : cases)
    EXPECT_EQ(foldertext::CardTreeSwitchOf(c.previous, c.next), c.expected) << c.previous << "->" << c.next;
}

// A saved search's result file is forgotten only when it is missing from a folder that is
// there on a drive that is there: a card taken out keeps its files' marks and keywords.
TEST(FolderText, GoneResults) {
  struct {
    const char* path;
    bool drive, folder, file;
    bool gone;
  } cases[] = {
      {"C:\\p\\a.jpg", true, true, false, true},
      {"C:\\p\\a.jpg", true, true, true, false},
      {"E:\\DCIM\\a.jpg", false, false, false, false},  // the card is out
      {"E:\\DCIM\\a.jpg", true, false, false, false},   // its folder went as a whole
      {"\\\\srv\\share\\a.jpg", false, false, false, false},
      {"", true, true, false, false},
  };
  for (auto& c : cases) {
    foldertext::FileProbe probe;
    probe.drivePresent = [&](const std::string&) { return c.drive; };
    probe.folderExists = [&](const std::string&) { return c.folder; };
    probe.fileExists = [&](const std::string&) { return c.file; };
    EXPECT_EQ(foldertext::IsGoneResult(c.path, probe), c.gone) << c.path << c.drive << c.folder << c.file;
  }
  // The real disk: a drive letter the prefix lacks is never present.
  foldertext::FileProbe real = foldertext::RealFiles();
  EXPECT_TRUE(real.drivePresent("C:\\nothing\\a.jpg"));
  DWORD drives = ::GetLogicalDrives();
  for (char c = 'Z'; c > 'F'; --c)
    if (!(drives & (1u << (c - 'A')))) {
      EXPECT_FALSE(real.drivePresent(std::string(1, c) + ":\\a.jpg"));
      break;
    }
}

TEST(FolderText, QueriesAndSelections) {
  EXPECT_EQ(foldertext::WidenedQueries("Keywords,a|%|Date,2010"),
            (std::vector<std::string>{"Keywords,a|%|Date,2010", "Keywords,a|%|%|Date,2010",
                                      "Keywords,a|%|%|%|%|Date,2010", "Keywords,a|%|%|%|%|%|%|%|%|Date,2010",
                                      "Keywords,a|%|%|%|%|%|%|%|%|%|%|%|%|%|%|%|%|Date,2010"}));
  EXPECT_EQ(foldertext::WidenedQueries("ポ|%").size(), 5u);
  EXPECT_EQ(foldertext::WidenedQueries("ポ|%")[1], "ポ|%|%");  // ポ's trail byte is no bar
  EXPECT_EQ(foldertext::KeywordOf("Date,2010|Keywords,trip"), "trip");
  EXPECT_EQ(foldertext::KeywordOf("Keywords,\"a|b\""), "a|b");
  EXPECT_EQ(foldertext::KeywordOf("Scene,x"), "");
  std::string drive, job;
  ASSERT_TRUE(foldertext::PrintOrderJob("E:\\MISC\\AUTPRINT.MRK", &drive, &job));
  EXPECT_EQ(drive + "|" + job, "E:|AUTPRINT");
  EXPECT_FALSE(foldertext::PrintOrderJob("\\MISC\\AUTPRINT.MRK", &drive, &job));
  // What tells a request from the last one.
  EXPECT_EQ(foldertext::ComparableSelection("|1|C:\\A\\||D:\\B\\||"), "C:\\A\\|D:\\B\\");
  EXPECT_EQ(foldertext::ComparableSelection("|1|||"), "");
  EXPECT_EQ(foldertext::ComparableSelection("|1|C:\\表\\||"), "C:\\表\\");
  EXPECT_EQ(foldertext::ComparableSelection("|3|E:\\x||"), "|3|E:\\x||");
}
