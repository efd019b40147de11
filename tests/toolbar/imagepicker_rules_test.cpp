// The image picker's decisions by tables: the combos' entries, the files a folder lists,
// what OK asks and how each ticked picture is filed, and the record of a picked picture.
#include <VxDatabase.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ImagePickerRules.h"

using namespace imagepicker;

namespace {
const std::string kUnsorted = "(Unsorted)", kFolder = "Choose a folder...", kUnfile = "(Take out)";
}

TEST(ImagePickerRules, CombosListTheDatabaseNamesThenTheirOwnEntries) {
  // Empty names go; the fixed entries are not listed twice, whatever their case.
  const std::vector<std::string> names = {"Alice", "", "(UNSORTED)", "choose a folder...", "Bob", "(take out)"};
  EXPECT_EQ(SourceEntries(names, kUnsorted, kFolder),
            (std::vector<std::string>{"Alice", "Bob", "(take out)", kUnsorted, kFolder}));
  EXPECT_EQ(NameEntries(names, kUnsorted, kUnfile),
            (std::vector<std::string>{"Alice", "choose a folder...", "Bob", "(take out)", kUnfile}));
  EXPECT_EQ(SourceEntries({}, kUnsorted, kFolder), (std::vector<std::string>{kUnsorted, kFolder}));
  EXPECT_EQ(NameEntries({}, kUnsorted, kUnfile), (std::vector<std::string>{kUnfile}));
}

TEST(ImagePickerRules, FolderListsPicturesButNotTheRefusedKinds) {
  struct Row {
    const char* path;
    bool engineReads;
    bool listed;
  } rows[] = {
      {"C:\\p\\a.jpg", true, true},      {"C:\\p\\a.JPG", true, true},     {"C:\\p\\a.gif", true, false},
      {"C:\\p\\a.PNG", true, false},     {"C:\\p\\a.mov", true, false},    {"C:\\p\\a.tmb", true, false},
      {"C:\\p\\a.Tmb", false, false},    {"C:\\p\\a.ped", true, false},    {"C:\\p\\a.raw", false, true},
      {"C:\\p\\a.DNG", false, true},     {"C:\\p\\a.txt", false, false},   {"C:\\p.tmb\\a.jpg", true, true},
      {"C:\\p\\noext", true, true},
  };
  for (const Row& r : rows) EXPECT_EQ(Listed(r.path, r.engineReads), r.listed) << r.path;
}

TEST(ImagePickerRules, OkAsksOnlyWhenPicturesLeaveTheirName) {
  struct Row {
    const char* name;
    size_t ticked;
    Question q;
  } rows[] = {
      {"(Take out)", 0, kAskNothing}, {"(take OUT)", 1, kAskPath}, {"(Take out)", 3, kAskCount},
      {"Alice", 1, kAskNothing},      {"Alice", 3, kAskNothing},
  };
  for (const Row& r : rows) EXPECT_EQ(QuestionFor(r.name, kUnfile, r.ticked), r.q) << r.name << " " << r.ticked;

  EXPECT_EQ(FilingFor(kFolder, "Carol", kFolder, kUnfile), kRegister);
  EXPECT_EQ(FilingFor("Alice", "Carol", kFolder, kUnfile), kRefile);
  EXPECT_EQ(FilingFor("Alice", kUnfile, kFolder, kUnfile), kLeave);
  // Pictures of a folder belong to no name: nothing to take them out of.
  EXPECT_EQ(FilingFor(kFolder, kUnfile, kFolder, kUnfile), kSkip);
}

TEST(ImagePickerRules, PickedRecordHoldsTheNameBeforeThePath) {
  VXDBRECORD r;
  memset(&r, 0x5A, sizeof r);
  const std::string name63(63, 'n'), path = "C:\\pictures\\a.jpg";
  ASSERT_TRUE(PickedRecord(name63, path, &r));
  const char* bytes = reinterpret_cast<const char*>(&r);
  EXPECT_EQ(std::string(bytes), name63);  // ends at byte 63
  EXPECT_EQ(std::string(bytes + 64), path);
  EXPECT_EQ(r.nFaceCount, 0);
  EXPECT_EQ(r.pTemplate, nullptr);

  // A 64-byte name would run into the path; a path must leave room for its terminator.
  memset(&r, 0x5A, sizeof r);
  EXPECT_FALSE(PickedRecord(std::string(64, 'n'), path, &r));
  EXPECT_FALSE(PickedRecord("Alice", std::string(520, 'p'), &r));
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x5A) << "a refused record is left as it was";
  EXPECT_TRUE(PickedRecord("Alice", std::string(519, 'p'), &r));
}
