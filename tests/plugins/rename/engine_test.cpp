// The rename run on real files: two passes, read-only questions, leftovers of earlier
// runs, ".cont" groups through the real content library, and the database told of moves.
#include <RenameEngine.h>
#include <gtest/gtest.h>
#include <textkit/path.h>
#include <windows.h>

#include <map>

#include "files.h"
#include "tempfolder.h"

using namespace renameengine;
using renamerules::ReadOnlyAnswer;

namespace {

class TestHost : public Host {
 public:
  std::vector<ReadOnlyAnswer> answers;  // given in turn
  std::vector<std::string> asked;
  std::vector<bool> askedMany;
  std::vector<std::pair<std::string, std::string>> moves;
  int contName = 0;
  int steps = 0;

  ReadOnlyAnswer AskReadOnly(const std::string& oldName, const std::string&, bool many) override {
    asked.push_back(oldName);
    askedMany.push_back(many);
    ReadOnlyAnswer a = answers.empty() ? ReadOnlyAnswer::No : answers.front();
    if (!answers.empty()) answers.erase(answers.begin());
    return a;
  }
  void Step() override { ++steps; }
  void Moved(const std::string& from, const std::string& to) override { moves.push_back({from, to}); }
  int ContNameSetting() override { return contName; }
  std::string ClipFactsPath() override {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    return textkit::FolderPartOf(exe) + "Core\\ScoreHall\\ClipFacts.dll";
  }
  std::string SkipText() override { return "<skip>"; }
};

class RenameRun : public testing::Test {
 protected:
  void SetUp() override { dir = testsupport::NewTempFolder("glimora-rename") + "\\"; }
  void TearDown() override { testsupport::RemoveTree(dir.substr(0, dir.size() - 1)); }
  void Make(const std::string& name, const std::string& content) {
    ASSERT_TRUE(testsupport::WriteWholeFile(dir + name, content));
  }
  std::string Read(const std::string& name) { return testsupport::ReadWholeFile(dir + name); }
  bool Exists(const std::string& name) { return GetFileAttributesA((dir + name).c_str()) != INVALID_FILE_ATTRIBUTES; }
  Item At(const std::string& name, const std::string& newName) { return Item{dir + name, newName}; }
  std::string dir;
  TestHost host;
};

std::string Cont(const std::string& members, const std::string& title) {
  return "[Content]\r\nFormat=1\r\nMembers=" + members + "\r\nTitle=" + title + "\r\n";
}

}  // namespace

TEST_F(RenameRun, TwoFilesSwapNames) {
  Make("A.jpg", "a");
  Make("B.jpg", "b");
  Result r = renameengine::Run({At("A.jpg", "B"), At("B.jpg", "A")}, host);
  EXPECT_EQ(r.successes, 2);
  EXPECT_EQ(r.failures, 0);
  EXPECT_EQ(Read("A.jpg"), "b");
  EXPECT_EQ(Read("B.jpg"), "a");
  // The database follows each of the four moves, the last ones to the final names.
  ASSERT_EQ(host.moves.size(), 4u);
  EXPECT_EQ(host.moves[2].second, dir + "B.jpg");
  EXPECT_EQ(host.moves[3].second, dir + "A.jpg");
  EXPECT_EQ(host.steps, 4);
}

TEST_F(RenameRun, UnchangedAndSkippedNamesAreNotMoved) {
  Make("Same.jpg", "s");
  Make("Skip.jpg", "k");
  Result r = renameengine::Run({At("Same.jpg", "SAME"), At("Skip.jpg", "<SKIP>")}, host);
  EXPECT_EQ(r.successes, 0);
  EXPECT_EQ(r.failures, 0);
  EXPECT_TRUE(host.moves.empty());
  EXPECT_EQ(Read("Same.jpg"), "s");
}

TEST_F(RenameRun, ReadOnlyQuestions) {
  struct Case {
    const char* what;
    int files;
    std::vector<ReadOnlyAnswer> answers;
    size_t questions;
    int renamed;
  } cases[] = {
      {"one file, no", 1, {ReadOnlyAnswer::No}, 1, 0},
      {"one file, yes", 1, {ReadOnlyAnswer::Yes}, 1, 1},
      {"yes to all", 3, {ReadOnlyAnswer::YesToAll}, 1, 3},
      {"no to all", 3, {ReadOnlyAnswer::NoToAll}, 1, 0},
      {"each asked", 3, {ReadOnlyAnswer::Yes, ReadOnlyAnswer::No, ReadOnlyAnswer::Yes}, 3, 2},
  };
  for (const Case& c : cases) {
    TestHost h;
    h.answers = c.answers;
    std::vector<Item> items;
    for (int i = 0; i < c.files; ++i) {
      std::string name = "ro" + std::to_string(i) + ".jpg";
      Make(name, name);
      SetFileAttributesA((dir + name).c_str(), FILE_ATTRIBUTE_READONLY);
      items.push_back(At(name, "new" + std::to_string(i)));
    }
    Result r = renameengine::Run(items, h);
    EXPECT_EQ(h.asked.size(), c.questions) << c.what;
    EXPECT_EQ(r.successes, c.renamed) << c.what;
    EXPECT_EQ(r.failures, 0) << c.what;  // a file kept by "no" is no failure
    for (bool many : h.askedMany) EXPECT_EQ(many, c.files > 1) << c.what;
    for (int i = 0; i < c.files; ++i) {
      std::string now = Exists("new" + std::to_string(i) + ".jpg") ? "new" : "ro";
      SetFileAttributesA((dir + now + std::to_string(i) + ".jpg").c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA((dir + now + std::to_string(i) + ".jpg").c_str());
    }
  }
}

TEST_F(RenameRun, LeftoverOfAnInterruptedRunIsLeftAlone) {
  // An earlier run's leftover has the temporary name run 1 would give the first file.
  Make("A.jpg", "mine");
  Make("renameerror00001-0.jpg", "someone else's");
  Result r = renameengine::Run({At("A.jpg", "B")}, host);
  EXPECT_EQ(r.failures, 0);
  EXPECT_EQ(Read("B.jpg"), "mine");
  EXPECT_EQ(Read("renameerror00001-0.jpg"), "someone else's");
  EXPECT_FALSE(Exists("A.jpg"));
}

TEST_F(RenameRun, NamesLeavingTheFolderAreRefusedUntouched) {
  CreateDirectoryA((dir + "sub").c_str(), nullptr);
  Make("sub\\a.jpg", "a");
  Make("sub\\b.jpg", "b");
  Make("sub\\c.jpg", "c");
  Result r = renameengine::Run({Item{dir + "sub\\a.jpg", "..\\x"}, Item{dir + "sub\\b.jpg", "a:b"}, Item{dir + "sub\\c.jpg", ".."}},
                 host);
  EXPECT_EQ(r.successes, 0);
  EXPECT_EQ(r.failures, 3);
  EXPECT_EQ(Read("sub\\a.jpg"), "a");
  EXPECT_EQ(Read("sub\\b.jpg"), "b");
  EXPECT_FALSE(Exists("x.jpg"));
  EXPECT_TRUE(host.moves.empty());
}

TEST_F(RenameRun, FailedFinalMoveGoesBackUnderItsOldName) {
  Make("A.jpg", "a");
  // The final name is held open by another file without sharing.
  Make("C.jpg", "c");
  Make("B.jpg", "b");
  Result r = renameengine::Run({At("A.jpg", "C"), At("B.jpg", "D")}, host);
  EXPECT_EQ(r.successes, 2);
  EXPECT_EQ(r.failures, 1);
  EXPECT_EQ(Read("A.jpg"), "a");
  EXPECT_EQ(Read("C.jpg"), "c");
  EXPECT_EQ(Read("D.jpg"), "b");
  EXPECT_TRUE(r.leftTemporary.empty());
  // The database was taken back too.
  EXPECT_EQ(host.moves[2].second, dir + "A.jpg");
}

TEST_F(RenameRun, ContentFilesByTheSetting) {
  struct Case {
    int setting;
    const char* contAfter;
    const char* membersAfter;
    const char* titleAfter;
  } cases[] = {
      {0, "IMGA.cont", "IMGA.m2ts|IMGA.tmb", "Old"},
      {1, "IMGA.cont", "IMGA.m2ts|IMGA.tmb", "IMGA"},
      {4096, "clip.cont", "clip.m2ts|clip.tmb", "IMGA"},
      {77, "IMGA.cont", "IMGA.m2ts|IMGA.tmb", "Old"},  // unknown: as 0
  };
  for (const Case& c : cases) {
    TestHost h;
    h.contName = c.setting;
    Make("clip.cont", Cont("clip.m2ts|clip.tmb", "Old"));
    Make("clip.m2ts", "movie");
    Make("clip.tmb", "thumb");
    Result r = renameengine::Run({At("clip.cont", "IMGA")}, h);
    EXPECT_EQ(r.failures, 0) << c.setting;
    std::string cont = Read(c.contAfter);
    EXPECT_NE(cont.find(std::string("Members=") + c.membersAfter), std::string::npos) << c.setting << cont;
    EXPECT_NE(cont.find(std::string("Title=") + c.titleAfter), std::string::npos) << c.setting << cont;
    std::string base = std::string(c.contAfter).substr(0, 4);
    EXPECT_EQ(Read(base + ".m2ts"), "movie") << c.setting;
    EXPECT_EQ(Read(base + ".tmb"), "thumb") << c.setting;
    for (const char* n : {".cont", ".m2ts", ".tmb"}) {
      DeleteFileA((dir + "clip" + n).c_str());
      DeleteFileA((dir + "IMGA" + n).c_str());
    }
  }
}

TEST_F(RenameRun, ContentMemberThatCannotMoveIsRecovered) {
  Make("clip.cont", Cont("clip.m2ts|clip.tmb", "Old"));
  Make("clip.m2ts", "movie");
  Make("clip.tmb", "thumb");
  // The second member's new name is taken, so the group goes back to its old names.
  Make("IMGA.tmb", "taken");
  Result r = renameengine::Run({At("clip.cont", "IMGA")}, host);
  EXPECT_EQ(r.failures, 1);
  EXPECT_TRUE(r.leftTemporary.empty());
  EXPECT_NE(Read("clip.cont").find("Members=clip.m2ts|clip.tmb"), std::string::npos);
  EXPECT_EQ(Read("clip.m2ts"), "movie");
  EXPECT_EQ(Read("clip.tmb"), "thumb");
  EXPECT_EQ(Read("IMGA.tmb"), "taken");
  EXPECT_FALSE(Exists("IMGA.cont"));
}

TEST_F(RenameRun, ContentMembersNamingOtherFoldersAreNeverMoved) {
  CreateDirectoryA((dir + "sub").c_str(), nullptr);
  Make("outside.m2ts", "not a member");
  Make("sub\\clip.cont", Cont("..\\outside.m2ts|clip.tmb|a:b.m2ts", "Old"));
  Make("sub\\clip.tmb", "thumb");
  Result r = renameengine::Run({Item{dir + "sub\\clip.cont", "IMGA"}}, host);
  EXPECT_EQ(r.failures, 0);
  EXPECT_EQ(Read("sub\\IMGA.tmb"), "thumb");
  EXPECT_EQ(Read("outside.m2ts"), "not a member");
  EXPECT_FALSE(Exists("IMGA.m2ts"));
  EXPECT_FALSE(Exists("sub\\IMGA.m2ts"));
}

TEST_F(RenameRun, ContentLibraryMissingNamesTheFileLeftBehind) {
  struct NoLibrary : TestHost {
    std::string ClipFactsPath() override { return "C:\\nowhere\\ClipFacts.dll"; }
  } h;
  Make("clip.cont", Cont("clip.m2ts", "Old"));
  Make("clip.m2ts", "movie");
  Result r = renameengine::Run({At("clip.cont", "IMGA")}, h);
  EXPECT_EQ(r.successes, 1);
  EXPECT_EQ(r.failures, 1);
  // The content file itself moved before the library was needed; its members did not.
  EXPECT_EQ(Read("clip.m2ts"), "movie");
  EXPECT_TRUE(Exists("IMGA.cont") || Exists("clip.cont"));
  EXPECT_TRUE(r.leftTemporary.empty());
}
