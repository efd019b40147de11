// The card import's plain decisions: names, dates in every locale order, targets against
// files already there, and plans over cards made in scratch folders.
#include <ImportDialogRules.h>
#include <ImportPlan.h>
#include <ImportRun.h>
#include <VerifiedCopy.h>
#include <files.h>
#include <gtest/gtest.h>
#include <tempfolder.h>

#include <map>

using namespace cardtree;

namespace {

bool Exists(const std::string& p) { return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Settings with fixed dates: every file is taken on the day its name's table gives (or
// 2009-07-15 10:20:30), with Exif.
ImportSettings FixedSettings(std::map<std::string, std::string> dates = {}) {
  ImportSettings s;
  s.today = "20261210";
  s.readDate = [dates](const std::string& path, CaptureDate* d) {
    auto it = dates.find(FileNameOf(path));
    std::string v = it == dates.end() ? "20090715102030" : it->second;
    if (v.empty()) return false;
    d->date = v.substr(0, 8);
    d->time = v.substr(8);
    d->hasExif = true;
    return true;
  };
  return s;
}

struct Scratch {
  std::string root = testsupport::NewTempFolder("import-plan");
  ~Scratch() { testsupport::RemoveTree(root); }
  std::string Put(const std::string& rel, const std::string& data = "x") {
    std::string p = root + "\\" + rel;
    testsupport::WriteWholeFile(p, data);
    return p;
  }
};

std::vector<std::string> Relative(const std::vector<std::string>& paths, const std::string& root) {
  std::vector<std::string> out;
  for (const std::string& p : paths) out.push_back(p.compare(0, root.size(), root) == 0 ? p.substr(root.size() + 1) : p);
  return out;
}

}  // namespace

TEST(ImportNames, Tests) {
  struct Case {
    const char* name;
    int dcf, sdMovie;
  } cases[] = {{"ABCD0001", 1, 0}, {"ab_d9999", 1, 0}, {"ABCD0000", 0, 0}, {"ABCD001", 0, 0},  {"ABCD00001", 0, 0},
               {"AB-D0001", 0, 0}, {"ABCD00A1", 0, 0}, {"MOL001", 0, 1},   {"mol010", 0, 1},   {"MOL000", 0, 0},
               {"MOV001", 0, 0},   {"MOL01", 0, 0},    {"", 0, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(IsDcfObjectName(c.name), c.dcf) << c.name;
    EXPECT_EQ(IsSdVideoMovieName(c.name), c.sdMovie) << c.name;
  }
  struct Ext {
    const char *name, *with, *without;
  } exts[] = {{"A.JPG", ".JPG", "JPG"}, {"A.b.c", ".c", "c"}, {".hidden", "", ""}, {"NOEXT", "", ""},
              {"E:\\x.y\\NOEXT", "", ""}, {"E:\\d\\a.Dng", ".Dng", "Dng"}};
  for (const Ext& e : exts) {
    EXPECT_EQ(GetExtension(e.name, 1), e.with) << e.name;
    EXPECT_EQ(GetExtension(e.name, 0), e.without) << e.name;
  }
  for (const char* s : {"a.jpg", "B.MOV", "c.Tif", "d.raw", "e.DNG"}) EXPECT_TRUE(HasSupportedExtension(s)) << s;
  for (const char* s : {"a.txt", "b.jpeg", "JPG", "c.ASF"}) EXPECT_FALSE(HasSupportedExtension(s)) << s;
}

TEST(ImportNames, PathsSplitAtTheirLastSeparator) {
  // "\x95\x5c" is one double-byte character whose second byte is that of "\".
  struct Case {
    std::string path, folder, name;
  } cases[] = {{"C:\\d\\A.JPG", "C:\\d", "A.JPG"},
               {"C:\\d\\\x95\x5c.JPG", "C:\\d", "\x95\x5c.JPG"},
               {"C:\\d\\\x95\x5c", "C:\\d", "\x95\x5c"},
               {"C:\\\x95\x5c\\A.JPG", "C:\\\x95\x5c", "A.JPG"},
               {"C:/d/a.jpg", "C:/d", "a.jpg"},
               {"A.JPG", "", "A.JPG"},
               {"E:x.jpg", "", "x.jpg"}};
  for (const Case& c : cases) {
    EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
    EXPECT_EQ(FileNameOf(c.path), c.name) << c.path;
  }
}

TEST(ImportNames, TheRunsBookKnowsTakenNamesInAnyLetterCase) {
  FolderNameBook book;
  EXPECT_FALSE(book.Knows("C:\\dest"));
  EXPECT_FALSE(book.Taken("C:\\dest\\A.JPG"));
  book.Learn("C:\\Dest", {"A.JPG", "b.jpg", "\x95\x5c.JPG", "Sub"});
  EXPECT_TRUE(book.Knows("c:\\DEST"));
  book.Take("C:\\dest\\NEW(1).JPG");
  struct Case {
    std::string path;
    bool taken;
  } cases[] = {{"C:\\dest\\A.JPG", true},         {"c:\\DEST\\a.jpg", true},  {"C:\\dest\\B.JPG", true},
               {"C:\\dest\\sub", true},           {"C:\\dest\\new(1).jpg", true},
               {"C:\\dest\\\x95\x5c.jpg", true}, {"C:\\dest\\C.JPG", false}, {"C:\\dest\\NEW.JPG", false},
               // Another folder, known or not, holds other names.
               {"C:\\dest\\sub\\A.JPG", false},  {"C:\\other\\A.JPG", false}};
  for (const Case& c : cases) EXPECT_EQ(book.Taken(c.path), c.taken) << c.path;
}

TEST(ImportNames, CopyNumbers) {
  struct Case {
    const char* name;
    const char* plain;
    int n;
  } cases[] = {{"A(3).JPG", "A.JPG", 3},     {"A.JPG", "A.JPG", 0},           {"A(12)", "A", 12},
               {"A(x).JPG", "A(x).JPG", 0},   {"(3).JPG", "(3).JPG", 0},       {"A().JPG", "A().JPG", 0},
               {"A(1)(2).JPG", "A(1).JPG", 2}, {"A(03).JPG", "A(03).JPG", 0}, {"A(9999).JPG", "A.JPG", 9999}};
  for (const Case& c : cases) {
    int n = -1;
    EXPECT_EQ(SplitCopyNumber(c.name, &n), c.plain) << c.name;
    EXPECT_EQ(n, c.n) << c.name;
    if (c.n) {
      EXPECT_EQ(WithCopyNumber(SplitCopyNumber(c.name, &n), c.n), c.name);
    }
  }
  EXPECT_EQ(WithCopyNumber("C:\\d.x\\NAME", 2), "C:\\d.x\\NAME(2)");
  EXPECT_EQ(WithCopyNumber("C:\\d\\A.JPG", 0), "C:\\d\\A.JPG");
}

TEST(ImportNames, FolderNameIsOneFolder) {
  struct Case {
    std::string name;
    int ok;
  } cases[] = {{"Trip", 1},      {"  Trip", 1},     {"2009 Summer", 1}, {"", 0},          {"   ", 0},
               {"a\\b", 0},      {"..", 0},         {".", 0},           {"C:", 0},        {"a/b", 0},
               {"a*", 0},        {"a?", 0},         {"\"a\"", 0},       {"a|b", 0},       {"<a>", 0},
               {"dot.", 0},      {"\x95\x5c", 1},   {std::string(259, 'a'), 1}, {std::string(260, 'a'), 0}};
  for (const Case& c : cases) EXPECT_EQ(IsValidFolderName(c.name), c.ok) << c.name;
}

TEST(ImportDates, FoldersAndNamesInEveryOrder) {
  struct Case {
    int backupMode;
    const char* order;
    const char* folder;
  } cases[] = {{2, "0", "07152009"}, {2, "1", "15072009"}, {2, "2", "20090715"},
               {1, "0", "072009"},   {1, "1", "072009"},   {1, "2", "200907"}};
  for (const Case& c : cases) {
    std::string date = c.backupMode == 1 ? "200907" : "20090715";
    EXPECT_EQ(FormatDateFolder(date, c.backupMode, c.order), c.folder) << c.backupMode << c.order;
  }
  // Positions of hour, minute and second in a formatted time give the name's order.
  struct Order {
    int h, m, s, code;
    const char* name;
  } orders[] = {{0, 3, 6, 6, "102030"}, {6, 3, 0, 1, "302010"}, {3, 6, 0, 2, "301020"},
                {6, 0, 3, 3, "203010"}, {3, 0, 6, 4, "201030"}, {0, 6, 3, 5, "103020"}};
  for (const Order& o : orders) {
    EXPECT_EQ(TimeOrderCode(o.h, o.m, o.s), o.code);
    EXPECT_EQ(FormatTimeName("102030", o.code), o.name) << o.code;
  }

  // Taken on the 15th at 10:20:30, day-month-year, hours first: month and year for the
  // folder, day and time for the name.
  ImportSettings s = FixedSettings();
  CaptureDate d{"20090715", "102030", true};
  s.dateOrder = "1";
  s.backupMode = 1;
  s.fileNameMode = 0;
  EXPECT_EQ(DateFolderName(s, &d), "072009");
  EXPECT_EQ(TimeFileName(s, &d), "15102030");
  s.backupMode = 2;
  s.dateOrder = "0";
  EXPECT_EQ(DateFolderName(s, &d), "07152009");
  EXPECT_EQ(TimeFileName(s, &d), "102030");
  s.backupMode = 3;
  EXPECT_EQ(DateFolderName(s, &d), "20261210");
  EXPECT_EQ(TimeFileName(s, &d), "");
  s.backupMode = 4;
  s.folderName = " Trip";
  EXPECT_EQ(DateFolderName(s, &d), "Trip");
  s.backupMode = 0;
  EXPECT_EQ(DateFolderName(s, &d), "");
  s.backupMode = 2;
  EXPECT_EQ(DateFolderName(s, nullptr), "");
  s.fileNameMode = 1;
  EXPECT_EQ(TimeFileName(s, &d), "");
}

TEST(ImportDates, SettingsOutOfRangeFallBack) {
  ImportSettings s = FixedSettings();
  s.backupMode = 7;
  s.fileNameMode = -1;
  s.copyMode = 9;
  s.timeOrder = 0;
  ClampImportSettings(&s);
  EXPECT_EQ(s.backupMode, 2);
  EXPECT_EQ(s.fileNameMode, 1);
  EXPECT_EQ(s.copyMode, 3);
  EXPECT_EQ(s.timeOrder, 6);
  s.backupMode = 4;
  s.folderName = "..\\..\\Windows";
  ClampImportSettings(&s);
  EXPECT_EQ(s.backupMode, 2) << "a folder name leading out of the destination is never used";
}

TEST(ImportDates, CaptureDateOfAFileWithoutExif) {
  Scratch sc;
  std::string f = sc.Put("plain.txt");
  ASSERT_TRUE(testsupport::SetLocalWriteTime(f, 2010, 3, 4, 5));
  CaptureDate d;
  ASSERT_TRUE(ReadCaptureDate(f, &d));
  EXPECT_FALSE(d.hasExif);
  EXPECT_EQ(d.date, "20100304");
  EXPECT_EQ(d.time.substr(0, 2), "05");
  EXPECT_FALSE(ReadCaptureDate(sc.root + "\\missing.jpg", &d));
}

TEST(ImportTargets, NeverOntoAnotherFile) {
  Scratch sc;
  std::string src = sc.Put("card\\A.JPG", "new picture");
  std::string dest = sc.root + "\\dest";
  CopyPlan plan;
  std::string t;
  // Free: the wanted name.
  EXPECT_EQ(UniqueTarget(src, dest + "\\A.JPG", plan, &t), TargetAnswer::kUse);
  EXPECT_EQ(t, dest + "\\A.JPG");
  // A different file of that name and size: the first free number.
  sc.Put("dest\\A.JPG", "old picture");
  EXPECT_EQ(UniqueTarget(src, dest + "\\A.JPG", plan, &t), TargetAnswer::kUse);
  EXPECT_EQ(t, dest + "\\A(1).JPG");
  sc.Put("dest\\A(1).JPG", "other");
  EXPECT_EQ(UniqueTarget(src, dest + "\\A.JPG", plan, &t), TargetAnswer::kUse);
  EXPECT_EQ(t, dest + "\\A(2).JPG");
  // Already planned in this run (any case): passed over like a file.
  plan.Add("E:\\x", dest + "\\a(2).jpg");
  EXPECT_EQ(UniqueTarget(src, dest + "\\A.JPG", plan, &t), TargetAnswer::kUse);
  EXPECT_EQ(t, dest + "\\A(3).JPG");
  // The same content under a numbered name: already there, whatever the times say.
  sc.Put("dest\\A(3).JPG", "new picture");
  EXPECT_EQ(UniqueTarget(src, dest + "\\A.JPG", plan, &t), TargetAnswer::kPresent);
  EXPECT_EQ(t, dest + "\\A(3).JPG");
  // Every number taken: no target at all rather than an overwrite.
  CopyPlan full;
  full.Add("E:\\y", dest + "\\B.JPG");
  for (int n = 1; n <= kMaxCopyNumber; ++n) full.Add("E:\\y", WithCopyNumber(dest + "\\B.JPG", n));
  EXPECT_EQ(UniqueTarget(src, dest + "\\B.JPG", full, &t), TargetAnswer::kNoFreeNumber);
  EXPECT_EQ(t, "");
}

TEST(ImportScan, ListingOrder) {
  Scratch sc;
  for (const char* f : {"DCIM\\100AAAAA\\ABCD0002.JPG", "DCIM\\100AAAAA\\ABCD0010.JPG", "DCIM\\100AAAAA\\MEMO.TXT",
                        "DCIM\\100AAAAA\\ABCD0000.JPG", "DCIM\\101AAAAA\\EFGH0001.JPG", "DCIM\\101AAAAA\\EFGH0001.DNG",
                        "DCIM\\MISC\\x.dat", "SD_VIDEO\\PRL001\\MOL001.ASF", "SD_VIDEO\\PRL001\\MGR_INFO",
                        "IM01ABCD\\ABCD0003.JPG", "IMXX\\skip.jpg", "PRIVATE\\AU\\DF\\D_PA\\song.m4a"})
    sc.Put(f);
  ImportSettings s = FixedSettings();
  std::vector<std::string> got = Relative(ListCardSources(sc.root, s), sc.root);
  std::vector<std::string> want = {"DCIM\\MISC\\x.dat", "DCIM\\101AAAAA\\EFGH0001.JPG", "DCIM\\101AAAAA\\EFGH0001.DNG",
                                   "DCIM\\100AAAAA\\ABCD0010.JPG", "DCIM\\100AAAAA\\ABCD0002.JPG",
                                   "DCIM\\100AAAAA\\MEMO.TXT", "DCIM\\100AAAAA\\ABCD0000.JPG"};
  // Members of one object and other files keep the file system's order.
  auto sorted = [](std::vector<std::string> v) {
    std::sort(v.begin() + 1, v.begin() + 3);
    std::sort(v.begin() + 5, v.begin() + 7);
    return v;
  };
  EXPECT_EQ(sorted(got), sorted(want));

  s.treeType = 0x1 | 0x100 | 0x2000000;
  got = Relative(ListCardSources(sc.root, s), sc.root);
  ASSERT_EQ(got.size(), want.size() + 4);
  EXPECT_EQ(got[7], "IM01ABCD\\ABCD0003.JPG");
  EXPECT_EQ(got[8], "SD_VIDEO\\PRL001\\MOL001.ASF");
  EXPECT_EQ(got[9], "SD_VIDEO\\PRL001\\MGR_INFO");
  EXPECT_EQ(got[10], "PRIVATE\\AU\\DF\\D_PA\\song.m4a");

  // The backup and listing take only pictures and movies.
  s.headless = 1;
  for (const std::string& p : ListCardSources(sc.root, s)) EXPECT_TRUE(HasSupportedExtension(p)) << p;
  EXPECT_FALSE(Exists(sc.root + "\\dest"));
}

TEST(ImportPlans, DateFoldersNamesAndFilters) {
  Scratch sc;
  std::string card = sc.root + "\\card", dest = sc.root + "\\dest";
  sc.Put("card\\DCIM\\100AAAAA\\ABCD0001.JPG", "a");
  sc.Put("card\\DCIM\\100AAAAA\\ABCD0001.DNG", "b");
  sc.Put("card\\DCIM\\100AAAAA\\ABCD0002.JPG", "c");
  sc.Put("card\\DCIM\\100AAAAA\\MEMO.TXT", "d");
  sc.Put("card\\IM01ABCD\\ABCD0003.JPG", "e");
  sc.Put("card\\SD_VIDEO\\PRL001\\MOL001.ASF", "f");
  sc.Put("card\\SD_VIDEO\\PRL001\\MGR_INFO", "g");

  struct Case {
    int backupMode, fileNameMode;
    const char* dcf1;   // ABCD0001.JPG's target
    const char* memo;   // MEMO.TXT's
    const char* movie;  // MOL001.ASF's
  } cases[] = {
      {0, 1, "ABCD0001.JPG", "MEMO.TXT", "MOL001.ASF"},
      {2, 1, "20090715\\ABCD0001.JPG", "MEMO.TXT", "20090715\\MOL001.ASF"},
      {2, 0, "20090715\\102030.JPG", "MEMO.TXT", "20090715\\102030.ASF"},
      {1, 0, "200907\\15102030.JPG", "MEMO.TXT", "200907\\15102030.ASF"},
      {3, 1, "20261210\\ABCD0001.JPG", "MEMO.TXT", "20090715\\MOL001.ASF"},
      {4, 1, "Trip\\ABCD0001.JPG", "MEMO.TXT", "20090715\\MOL001.ASF"},
  };
  for (const Case& c : cases) {
    ImportSettings s = FixedSettings({{"ABCD0002.JPG", ""}});
    s.backupMode = c.backupMode;
    s.fileNameMode = c.fileNameMode;
    s.folderName = "Trip";
    s.treeType = 0x1 | 0x100;
    CopyPlan plan;
    PlanCardCopy(card, dest, s, &plan);
    std::map<std::string, std::string> t;
    for (size_t i = 0; i < plan.sources.size(); ++i)
      t[FileNameOf(plan.sources[i])] = plan.targets[i].substr(dest.size() + 1);
    SCOPED_TRACE(c.backupMode * 10 + c.fileNameMode);
    EXPECT_EQ(plan.sources.size(), 7u);
    EXPECT_EQ(t["ABCD0001.JPG"], c.dcf1);
    EXPECT_EQ(t["ABCD0001.DNG"], GetExtension(c.dcf1, 0) == "JPG"
                                     ? std::string(c.dcf1).substr(0, strlen(c.dcf1) - 3) + "DNG"
                                     : "");
    EXPECT_EQ(t["MEMO.TXT"], c.memo);
    EXPECT_EQ(t["MOL001.ASF"], c.movie);
    EXPECT_EQ(t["MGR_INFO"], "MGR_INFO");
    // Without a capture date the object stays at the root in the dated modes.
    EXPECT_EQ(t["ABCD0002.JPG"], c.backupMode == 3 ? "20261210\\ABCD0002.JPG"
                                 : c.backupMode == 4 ? "Trip\\ABCD0002.JPG"
                                                     : "ABCD0002.JPG");
  }
  EXPECT_FALSE(Exists(dest)) << "planning creates no folder";

  // Only checked files, in every walker.
  ImportSettings s = FixedSettings();
  s.treeType = 0x1 | 0x100;
  CopyPlan plan;
  plan.checked = {UpperPath(card + "\\DCIM\\100AAAAA\\ABCD0002.JPG"), UpperPath(card + "\\SD_VIDEO\\PRL001\\MGR_INFO")};
  PlanCardCopy(card, dest, s, &plan);
  std::vector<std::string> names;
  for (const std::string& p : plan.sources) names.push_back(FileNameOf(p));
  EXPECT_EQ(names, (std::vector<std::string>{"ABCD0002.JPG", "MGR_INFO"}));

  // Only supported extensions below CopySupport 0.
  s.copySupport = -1;
  plan.checked.clear();
  PlanCardCopy(card, dest, s, &plan);
  for (const std::string& p : plan.sources) EXPECT_TRUE(HasSupportedExtension(p)) << p;
}

TEST(ImportPlans, CollisionsAgainstTheDestinationAndTheRun) {
  Scratch sc;
  std::string card = sc.root + "\\card", dest = sc.root + "\\dest";
  sc.Put("card\\DCIM\\100AAAAA\\ABCD0001.JPG", "jpg one");
  sc.Put("card\\DCIM\\100AAAAA\\ABCD0001.DNG", "dng one");
  sc.Put("card\\DCIM\\101AAAAA\\ABCD0001.JPG", "jpg two");
  sc.Put("card\\DCIM\\101AAAAA\\MEMO.TXT", "memo");
  sc.Put("dest\\ABCD0001.JPG", "someone else's");
  sc.Put("dest\\MEMO.TXT", "memo");  // identical: already there
  sc.Put("dest\\abcd0001.dng", "someone else's raw");  // the same name in other letters

  for (int dcfObject : {0, 1}) {
    ImportSettings s = FixedSettings();
    s.backupMode = 0;
    s.dcfObject = dcfObject;
    CopyPlan plan;
    PlanCardCopy(card, dest, s, &plan);
    std::map<std::string, std::string> t;
    for (size_t i = 0; i < plan.sources.size(); ++i)
      t[plan.sources[i].substr(card.size() + 6)] = FileNameOf(plan.targets[i]);
    SCOPED_TRACE(dcfObject);
    // Folder 101 comes first: its JPEG takes the first free number.
    EXPECT_EQ(t["101AAAAA\\ABCD0001.JPG"], "ABCD0001(1).JPG");
    EXPECT_EQ(t["100AAAAA\\ABCD0001.JPG"], "ABCD0001(2).JPG");
    // One suffix for the object's members, or each its own.
    EXPECT_EQ(t["100AAAAA\\ABCD0001.DNG"], dcfObject ? "ABCD0001(2).DNG" : "ABCD0001(1).DNG");
    EXPECT_EQ(t.count("101AAAAA\\MEMO.TXT"), 0u);
    ASSERT_EQ(plan.presentSources.size(), 1u);
    EXPECT_EQ(plan.presentTargets[0], dest + "\\MEMO.TXT");
    EXPECT_EQ(plan.renamed, 3u);
  }
}

// Each entry of the duplicate rule list does what its text says, and none copies onto a
// file that is there: "no copy of the same file" (position 0), "no copy of a file of the
// same name" (1), "copy under another name" (2), and "copy every file" beside the list.
// The card has a file identical to one at the destination, one of a taken name with other
// content (and a raw member of its object), and one of a free name.
TEST(ImportPlans, EachDuplicateRuleDoesWhatItsTextSays) {
  struct Entry {
    const char* text;
    int position;  // in the list; -1 the "copy every file" button
    // The outcome of ABCD0001.JPG, ABCD0002.JPG, ABCD0002.DNG, ABCD0003.JPG: the copy's
    // name, "present" (identical there, not copied) or "kept" (not copied, stays).
    const char* outcome[2][4];  // objects apart, one suffix per object
  } entries[] = {
      {"same file",
       0,
       {{"present", "ABCD0002(1).JPG", "ABCD0002.DNG", "ABCD0003.JPG"},
        {"present", "ABCD0002(1).JPG", "ABCD0002(1).DNG", "ABCD0003.JPG"}}},
      {"same name",
       1,
       {{"present", "kept", "ABCD0002.DNG", "ABCD0003.JPG"}, {"present", "kept", "ABCD0002.DNG", "ABCD0003.JPG"}}},
      {"another name",
       2,
       {{"ABCD0001(1).JPG", "ABCD0002(1).JPG", "ABCD0002.DNG", "ABCD0003.JPG"},
        {"ABCD0001(1).JPG", "ABCD0002(1).JPG", "ABCD0002(1).DNG", "ABCD0003.JPG"}}},
      {"every file",
       -1,
       {{"present", "ABCD0002(1).JPG", "ABCD0002.DNG", "ABCD0003.JPG"},
        {"present", "ABCD0002(1).JPG", "ABCD0002(1).DNG", "ABCD0003.JPG"}}},
  };
  const char* const names[4] = {"ABCD0001.JPG", "ABCD0002.JPG", "ABCD0002.DNG", "ABCD0003.JPG"};
  for (const Entry& e : entries)
    for (int dcfObject : {0, 1}) {
      SCOPED_TRACE(std::string(e.text) + (dcfObject ? ", one suffix per object" : ""));
      Scratch sc;
      const std::string card = sc.root + "\\card", dest = sc.root + "\\dest";
      for (const char* n : names) sc.Put(std::string("card\\DCIM\\100AAAAA\\") + n, std::string("card's ") + n);
      sc.Put("dest\\ABCD0001.JPG", "card's ABCD0001.JPG");
      sc.Put("dest\\ABCD0002.JPG", "another picture");
      ImportSettings s = FixedSettings();
      s.backupMode = 0;
      s.dcfObject = dcfObject;
      s.copyMode = e.position < 0 ? 0 : CopyModeFromRulePosition(e.position, 3);
      CopyPlan plan;
      PlanCardCopy(card, dest, s, &plan);
      if (s.copyMode == 0) ResolveCollisions(dest, &plan);
      CopyOutcome out;
      ASSERT_EQ(RunCopyPlan(&plan, &out), 0u);
      std::map<std::string, std::string> got;
      for (size_t i = 0; i < out.copiedSources.size(); ++i)
        got[FileNameOf(out.copiedSources[i])] = FileNameOf(out.copiedTargets[i]);
      for (const std::string& p : plan.presentSources) got[FileNameOf(p)] = "present";
      for (const std::string& p : plan.keptSources) got[FileNameOf(p)] = "kept";
      for (int k = 0; k < 4; ++k) EXPECT_EQ(got[names[k]], e.outcome[dcfObject][k]) << names[k];
      // What was at the destination is as it was.
      EXPECT_EQ(testsupport::ReadWholeFile(dest + "\\ABCD0001.JPG"), "card's ABCD0001.JPG");
      EXPECT_EQ(testsupport::ReadWholeFile(dest + "\\ABCD0002.JPG"), "another picture");
      // The clean-up takes what was copied or present, never a kept file.
      DeleteImportedSources(out, plan);
      for (int k = 0; k < 4; ++k)
        EXPECT_EQ(Exists(card + "\\DCIM\\100AAAAA\\" + names[k]), std::string(e.outcome[dcfObject][k]) == "kept")
            << names[k];
    }
}

TEST(ImportPlans, CopyModeZeroFindsIdenticalFilesAnywhereBelow) {
  Scratch sc;
  std::string card = sc.root + "\\card", dest = sc.root + "\\dest";
  sc.Put("card\\DCIM\\100AAAAA\\ABCD0001.JPG", "one");
  sc.Put("card\\DCIM\\100AAAAA\\ABCD0002.JPG", "two");
  sc.Put("card\\DCIM\\100AAAAA\\ABCD0003.JPG", "three");
  sc.Put("dest\\2009\\ABCD0001(2).JPG", "one");    // the same, renamed in another folder
  sc.Put("dest\\2010\\ABCD0002.JPG", "TWO");       // same name and size, other content
  sc.Put("dest\\2010\\~gimport-00000001-0.tmp", "three");
  ImportSettings s = FixedSettings();
  s.backupMode = 0;
  CopyPlan plan;
  PlanCardCopy(card, dest, s, &plan);
  ASSERT_EQ(plan.sources.size(), 3u);
  EXPECT_EQ(ResolveCollisions(dest, &plan), 1u);
  ASSERT_EQ(plan.presentTargets.size(), 1u);
  EXPECT_EQ(plan.presentTargets[0], dest + "\\2009\\ABCD0001(2).JPG");
  std::vector<std::string> names;
  for (const std::string& p : plan.sources) names.push_back(FileNameOf(p));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"ABCD0002.JPG", "ABCD0003.JPG"}));
  EXPECT_TRUE(plan.IsPlanned(dest + "\\ABCD0002.JPG"));
}
