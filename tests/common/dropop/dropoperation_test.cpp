// Real copies and moves on temporary folders of C: through the verified file operation.
#include <VxContFile.h>
#include <dropop/CardFileOperation.h>
#include <files.h>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <tempfolder.h>

namespace {

bool Exists(const std::string& p) { return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

struct DropFolders : ::testing::Test {
  std::string root = testsupport::NewTempFolder("drop");
  std::string src = root + "\\src", dst = root + "\\dst";
  void SetUp() override {
    testsupport::WriteWholeFile(src + "\\a.txt", "a");
    testsupport::WriteWholeFile(src + "\\sub\\b.txt", "b");
    testsupport::MakeFolders(dst);
  }
  void TearDown() override { testsupport::RemoveTree(root); }
};

}  // namespace

TEST_F(DropFolders, CopyAndMoveReachTheFolderAndNameCollisionsGetNewNames) {
  CCardFileOperation op;
  ASSERT_EQ(op.DropPaths((dst + "\\\\").c_str(), {src}, DROPEFFECT_COPY), 1);
  EXPECT_TRUE(Exists(dst + "\\src\\sub\\b.txt"));
  EXPECT_TRUE(Exists(src + "\\a.txt"));
  // The same again: the copy gets a name of its own, nothing is overwritten.
  ASSERT_EQ(op.DropPaths(dst.c_str(), {src}, DROPEFFECT_COPY), 1);
  EXPECT_TRUE(Exists(dst + "\\src (2)\\a.txt"));
  ASSERT_EQ(op.DropPaths(dst.c_str(), {src + "\\a.txt"}, DROPEFFECT_MOVE), 1);
  EXPECT_TRUE(Exists(dst + "\\a.txt"));
  EXPECT_FALSE(Exists(src + "\\a.txt"));
}

// One target is a folder, also once it has gone: a single file never takes its name.
TEST_F(DropFolders, OneFileIntoAFolderThatWentAwayStaysAFolderEntry) {
  CCardFileOperation op;
  const std::string gone = dst + "\\gone";
  std::vector<std::string> written;
  op.DropPaths(gone.c_str(), {src + "\\a.txt"}, DROPEFFECT_COPY, &written);
  EXPECT_FALSE(Exists(gone) && !(GetFileAttributesA(gone.c_str()) & FILE_ATTRIBUTE_DIRECTORY));
  for (const std::string& w : written) EXPECT_STRCASEEQ(w.c_str(), (gone + "\\a.txt").c_str());
}

TEST_F(DropFolders, RefusedDropsTouchNothingAndFailuresAreReported) {
  CCardFileOperation op;
  // Onto the folder itself or below it.
  EXPECT_EQ(op.DropPaths(src.c_str(), {src}, DROPEFFECT_MOVE), 0);
  EXPECT_EQ(op.DropPaths((src + "\\sub").c_str(), {src}, DROPEFFECT_COPY), 0);
  EXPECT_TRUE(Exists(src + "\\sub\\b.txt"));
  EXPECT_FALSE(Exists(src + "\\sub\\src"));
  // A source that is gone: the operation fails and says so.
  EXPECT_EQ(op.DropPaths(dst.c_str(), {root + "\\missing"}, DROPEFFECT_COPY), 0);
  // A block whose list runs past its end.
  std::string block(sizeof(DROPFILES), '\0');
  reinterpret_cast<DROPFILES*>(&block[0])->pFiles = sizeof(DROPFILES);
  block += (src + "\\a.txt");
  EXPECT_EQ(op.Drop(dst.c_str(), block.data(), block.size(), DROPEFFECT_COPY), 0);
  EXPECT_EQ(op.LastFault(), dropop::DropListFault::Unterminated);
  EXPECT_FALSE(Exists(dst + "\\a.txt"));
}

TEST_F(DropFolders, ContentFileArrivingRenamedTakesItsMembersAlong) {
  vxcont::ContentInfo info;
  info.members = {"00001.MTS", "00001.tmb"};
  ASSERT_EQ(vxcont::WriteContentFile((src + "\\00001.cont").c_str(), info), S_OK);
  ASSERT_EQ(vxcont::WriteContentFile((dst + "\\00001.cont").c_str(), info), S_OK);
  testsupport::WriteWholeFile(src + "\\other.cont", "not a content file");
  testsupport::WriteWholeFile(dst + "\\other.cont", "taken");

  CCardFileOperation op;
  ASSERT_EQ(op.DropPaths(dst.c_str(), {src + "\\00001.cont", src + "\\other.cont"}, DROPEFFECT_COPY), 1);
  vxcont::ContentInfo copied, kept;
  ASSERT_TRUE(vxcont::ReadContentFile((dst + "\\00001 (2).cont").c_str(), &copied));
  EXPECT_EQ(copied.members, (std::vector<std::string>{"00001 (2).MTS", "00001 (2).tmb"}));
  ASSERT_TRUE(vxcont::ReadContentFile((dst + "\\00001.cont").c_str(), &kept));
  EXPECT_EQ(kept.members, info.members);
  EXPECT_EQ(testsupport::ReadWholeFile(dst + "\\other (2).cont"), "not a content file");
}
