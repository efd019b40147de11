// New folders, the foreign-content check and the colours that follow a rename, on real
// folders of C: and a profile root of the test's own.
#include <FolderOps.h>
#include <Kitlib2/Profile.h>
#include <VxContFile.h>
#include <files.h>
#include <dropop/FolderNameList.h>
#include <gtest/gtest.h>
#include <profileroot.h>
#include <tempfolder.h>

using namespace disktree;

namespace {

void WriteContent(const std::string& path, const char* maker, const char* model) {
  vxcont::ContentInfo info;
  info.members = {"00001.MTS"};
  info.maker = maker;
  info.model = model;
  testsupport::MakeFolders(path.substr(0, path.rfind('\\')));
  ASSERT_EQ(vxcont::WriteContentFile(path.c_str(), info), S_OK);
}

}  // namespace

TEST(NewFolderOnDisk, TakenNamesAreSkippedOtherFailuresEndAtOnce) {
  std::string root = testsupport::NewTempFolder("newfolder");
  NewFolderOutcome a = MakeNewFolder(root + "\\\\", "New");
  ASSERT_EQ(a.result, S_OK);
  EXPECT_EQ(a.path, root + "\\New");
  testsupport::WriteWholeFile(root + "\\New (2)", "a file holds the second name");
  NewFolderOutcome b = MakeNewFolder(root, "New");
  ASSERT_EQ(b.result, S_OK);
  EXPECT_EQ(b.path, root + "\\New (3)");
  // A parent that is not there: one try, its own error, nothing made.
  NewFolderOutcome c = MakeNewFolder(root + "\\gone", "New");
  EXPECT_EQ(c.result, E_FAIL);
  EXPECT_EQ(c.error, (DWORD)ERROR_PATH_NOT_FOUND);
  EXPECT_TRUE(c.path.empty());
  // A name the path limit refuses is never cut to another folder's name.
  NewFolderOutcome d = MakeNewFolder(root, std::string(300 - root.size(), 'n'));
  EXPECT_EQ(d.result, E_FAIL);
  testsupport::RemoveTree(root);
}

TEST(ForeignContent, EveryFolderAndEveryDepthIsLookedAt) {
  std::string root = testsupport::NewTempFolder("foreign");
  WriteContent(root + "\\ours\\00001.cont", "Norvane", "NV-HD100");
  testsupport::WriteWholeFile(root + "\\plain\\notes.cont", "not a content file");
  WriteContent(root + "\\theirs\\deep\\er\\00002.cont", "Otherco", "X1");
  EXPECT_FALSE(HasForeignContent(root + "\\ours"));
  EXPECT_FALSE(HasForeignContent(root + "\\plain"));
  EXPECT_TRUE(HasForeignContent(root + "\\theirs"));
  EXPECT_EQ(FirstForeignFolder({root + "\\ours", root + "\\theirs"}), 1);
  EXPECT_EQ(FirstForeignFolder({root + "\\ours", root + "\\plain"}), -1);
  testsupport::RemoveTree(root);
}

TEST(FolderColours, ARenameTakesTheFolderAndItsDescendantsAlong) {
  testsupport::ScopedProfileRoot profile("colours");
  StoreFolderColour("C:\\old", RGB(1, 2, 3), false);
  StoreFolderColour("C:\\old\\sub\\\x95\x5C", RGB(4, 5, 6), false);
  StoreFolderColour("C:\\older", RGB(7, 8, 9), false);
  MoveFolderColours("C:\\old", "C:\\\x90\x56");
  EXPECT_EQ(ReadFolderColour("C:\\old"), -1);
  EXPECT_EQ(ReadFolderColour("C:\\\x90\x56"), (LONG)RGB(1, 2, 3));
  EXPECT_EQ(ReadFolderColour("C:\\\x90\x56\\sub\\\x95\x5C"), (LONG)RGB(4, 5, 6));
  EXPECT_EQ(ReadFolderColour("C:\\older"), (LONG)RGB(7, 8, 9));
  StoreFolderColour("C:\\older", 0, true);
  EXPECT_EQ(ReadFolderColour("C:\\older"), -1);
  EXPECT_EQ(ReadFolderColour(""), -1);

  ResetChangedFolders("C:\\a");
  ResetChangedFolders("C:\\b");
  EXPECT_EQ(CMGetProfileInt(dropop::kFolderNameSection, "NumOfFolder", 0), 1);
  EXPECT_EQ(std::string(CMGetProfileString(dropop::kFolderNameSection, "0001")), "C:\\b");
  // Counts the profile may hold that no list of ours has: the reset ends at once.
  for (int count : {2000000000, -5}) {
    CMWriteProfileInt(dropop::kFolderNameSection, "NumOfFolder", count);
    const DWORD start = GetTickCount();
    ResetChangedFolders("C:\\c");
    EXPECT_LT(GetTickCount() - start, 60000u) << count;
    EXPECT_EQ(CMGetProfileInt(dropop::kFolderNameSection, "NumOfFolder", 0), 1) << count;
    EXPECT_EQ(std::string(CMGetProfileString(dropop::kFolderNameSection, "0001")), "C:\\c") << count;
  }
}
