// Registration, search, persistence and the list dialog of the similar-image search.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <KitlibEx/KitlibEx.h>
#include <RecordGate.h>
#include <RecordGateEx.h>
#include <VxDatabase.h>
#include <shlwapi.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <dialogwatch.h>
#include <profileroot.h>

#include "VxPixWrapper.h"
#include "fixtures.h"
#include "imaging/decode.h"
#include "imaging/encode.h"
#include "imaging/transform.h"
#include "similar.h"

using imgtest::Fixture;

namespace {

const char kChildVar[] = "GLIMORA_PSW_CHILD";
const char kProfileVar[] = "GLIMORA_PROFILE_ROOT";

std::string g_dbDir, g_pics;

std::string Pic(const char* name) { return g_pics + "\\" + name; }

// The photo database of this program lives in the scratch folder (or, in the restarted
// child, in the folder the parent names).
class PixEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    char buf[1024];
    if (GetEnvironmentVariableA(kChildVar, buf, sizeof buf)) {
      std::string v = buf;
      g_dbDir = v.substr(0, v.find('|'));
      g_pics = v.substr(v.find('|') + 1);
    } else {
      g_dbDir = imgtest::ScratchDir() + "\\db";
      g_pics = imgtest::ScratchDir() + "\\pics";
      CreateDirectoryA(g_dbDir.c_str(), nullptr);
      CreateDirectoryA(g_pics.c_str(), nullptr);
    }
    // The search profile goes below a registry root of this run (the child keeps its parent's).
    if (!GetEnvironmentVariableA(kProfileVar, nullptr, 0)) profile_.reset(new testsupport::ScopedProfileRoot("psw"));
    ASSERT_EQ(VxDBSetFolder(g_dbDir.c_str()), S_OK);
    ASSERT_EQ(PSWInitDatabase(), S_OK);
  }
  void TearDown() override {
    PSWExitDatabase();
    VxDBWExitDatabase(-1);
    profile_.reset();
  }

 private:
  std::unique_ptr<testsupport::ScopedProfileRoot> profile_;
};

bool IsChild() { return GetEnvironmentVariableA(kChildVar, nullptr, 0) != 0; }

STRINGLIST* ListOf(const std::vector<std::string>& paths) {
  STRINGLIST* list = nullptr;
  STRINGLIST** tail = &list;
  for (const std::string& p : paths) tail = &StringListAppend(tail, p.c_str(), 0)->pNext;
  return list;
}

std::vector<std::pair<std::string, int>> Items(const STRINGLIST* list) {
  std::vector<std::pair<std::string, int>> out;
  for (; list; list = list->pNext) out.emplace_back(list->pszText, static_cast<int>(list->nData));
  return out;
}

struct Report {
  std::vector<std::pair<std::string, HRESULT>> calls;
  int stopAfter = -1;  // answer 0 after this many calls
};

int CALLBACK Record(LPCSTR path, HRESULT hr, void* ctx) {
  auto* r = static_cast<Report*>(ctx);
  r->calls.emplace_back(path ? path : "", hr);
  return r->stopAfter >= 0 && static_cast<int>(r->calls.size()) >= r->stopAfter ? 0 : 1;
}

// A resized, recompressed copy of a fixture.
void MakeResizedCopy(const char* fixture, const std::string& to) {
  imaging::Dib full, half;
  ASSERT_EQ(imaging::DecodeFile(Fixture(fixture).c_str(), imaging::DecodeOptions(), &full), S_OK);
  ASSERT_TRUE(imaging::Resize(full, full.Width() / 2, full.Height() / 2, &half));
  ASSERT_EQ(imaging::SaveJpeg(half, to.c_str(), 70), S_OK);
}

// Runs the list dialog; once it shows rows, `act` gets the dialog and its list on a
// second thread (as a user would), and the dialog is closed.
template <class F>
int DriveListDialog(F act) {
  testsupport::DialogWatch user(
      "類似画像検索の登録フォルダ",
      [](HWND dlg) {
        HWND list = GetDlgItem(dlg, 1001);
        return list && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0;
      },
      [act](HWND dlg) {
        act(dlg, GetDlgItem(dlg, 1001));
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
      });
  int r = PSWOpenRegListDlg(nullptr);
  user.Stop();
  return r;
}

}  // namespace

// Registration of the test pictures happens once; the tests below build on it in order.
class SimilarSearch : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (IsChild()) return;
    CopyFileA(Fixture("rose.jpg").c_str(), Pic("rose.jpg").c_str(), FALSE);
    CopyFileA(Fixture("wizard.jpg").c_str(), Pic("wizard.jpg").c_str(), FALSE);
    CopyFileA(Fixture("exif_full.jpg").c_str(), Pic("exif_full.jpg").c_str(), FALSE);
    CopyFileA(Fixture("image.png").c_str(), Pic("image.png").c_str(), FALSE);
    MakeResizedCopy("rose.jpg", Pic("rose_small.jpg"));
    imgtest::WriteAll(Pic("notes.txt"), {'h', 'i'});
  }
};

TEST_F(SimilarSearch, RegistrationReportsEachFile) {
  for (const char* p : {"rose.jpg", "rose_small.jpg", "wizard.jpg"}) EXPECT_FALSE(PSWIsIndexed(Pic(p).c_str()));

  struct Case {
    std::string path;
    HRESULT hr;
  };
  const Case cases[] = {
      {Pic("rose.jpg"), S_OK},
      {Pic("rose_small.jpg"), S_OK},
      {Pic("wizard.jpg"), S_OK},
      {Pic("image.png"), S_OK},
      {Pic("notes.txt"), PSW_E_REFUSED},        // not a picture
      {g_pics, PSW_E_REFUSED},                  // a folder
      {Pic("missing.jpg"), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
      {"", E_INVALIDARG},
      {Pic("rose.jpg"), S_FALSE},               // the second time in one list
  };
  std::vector<std::string> paths;
  for (const Case& c : cases) paths.push_back(c.path);
  STRINGLIST* list = ListOf(paths);
  Report report;
  EXPECT_EQ(PSWRegistImageList(list, Record, &report), S_FALSE);  // some were not taken
  FreeStringList(list);
  ASSERT_EQ(report.calls.size(), std::size(cases));
  for (size_t i = 0; i < report.calls.size(); ++i) {
    EXPECT_EQ(report.calls[i].first, cases[i].path);
    EXPECT_EQ(report.calls[i].second, cases[i].hr) << cases[i].path;
  }
  for (const char* p : {"rose.jpg", "rose_small.jpg", "wizard.jpg", "image.png"}) EXPECT_TRUE(PSWIsIndexed(Pic(p).c_str())) << p;
  EXPECT_FALSE(PSWIsIndexed(Pic("notes.txt").c_str()));
  EXPECT_FALSE(PSWIsIndexed(nullptr));
  EXPECT_EQ(PSWRegistImageList(nullptr, Record, &report), E_INVALIDARG);
}

TEST_F(SimilarSearch, TheCallbackCanStop) {
  STRINGLIST* list = ListOf({Pic("exif_full.jpg"), Pic("notes.txt"), Pic("wizard.jpg")});
  Report report;
  report.stopAfter = 1;
  EXPECT_EQ(PSWRegistImageList(list, Record, &report), HRESULT_FROM_WIN32(ERROR_CANCELLED));
  ASSERT_EQ(report.calls.size(), 1u);
  EXPECT_TRUE(PSWIsIndexed(Pic("exif_full.jpg").c_str()));

  // Without a callback every file is handled.
  EXPECT_EQ(PSWRegistImageList(list, nullptr, nullptr), S_FALSE);
  FreeStringList(list);
}

TEST_F(SimilarSearch, TheResizedCopyComesBeforeTheUnrelatedPicture) {
  // Everything within 64 bits: the full order by distance.
  std::string query = "Similar,\"" + Pic("rose.jpg") + "\",64";
  STRINGLIST* all = nullptr;
  ASSERT_EQ(PSWGetSimilarImageList(query.c_str(), &all), S_OK);
  auto items = Items(all);
  FreeStringList(all);
  auto at = [&](const char* name) {
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i].first == Pic(name)) return static_cast<int>(i);
    return -1;
  };
  ASSERT_EQ(at("rose.jpg"), 0);
  EXPECT_EQ(items[0].second, 0);
  ASSERT_EQ(at("rose_small.jpg"), 1);
  EXPECT_LE(items[1].second, PSW_DEFAULT_DISTANCE);
  EXPECT_GT(at("wizard.jpg"), at("rose_small.jpg"));
  for (size_t i = 1; i < items.size(); ++i) EXPECT_LE(items[i - 1].second, items[i].second);

  // The search itself keeps to the default distance.
  STRINGLIST* found = nullptr;
  ASSERT_EQ(PSWGetSimilarImageEx(Pic("rose.jpg").c_str(), &found), S_OK);
  items = Items(found);
  FreeStringList(found);
  ASSERT_GE(items.size(), 2u);
  EXPECT_EQ(items[0].first, Pic("rose.jpg"));
  EXPECT_EQ(items[1].first, Pic("rose_small.jpg"));
  for (const auto& i : items) EXPECT_LE(i.second, PSW_DEFAULT_DISTANCE) << i.first;
}

TEST_F(SimilarSearch, TheLastSearchIsMemorised) {
  ASSERT_EQ(PSWGetSimilarImageEx(Pic("wizard.jpg").c_str(), nullptr), S_OK);
  ASSERT_EQ(PSWGetSimilarImageEx(Pic("rose_small.jpg").c_str(), nullptr), S_OK);
  STRINGLIST* sets = nullptr;
  ASSERT_EQ(VxDBWxGetSearchResultList(VXDB_RESULT_SIMILAR, &sets), S_OK);
  ASSERT_EQ(StringListCount(sets), 1);
  EXPECT_STREQ(sets->pszText, "類似画像: rose_small.jpg");
  int id = static_cast<int>(sets->nData);
  FreeStringList(sets);
  STRINGLIST* paths = nullptr;
  ASSERT_EQ(VxDBWxGetSearchResult(id, &paths), S_OK);
  auto items = Items(paths);
  FreeStringList(paths);
  ASSERT_GE(items.size(), 2u);
  EXPECT_EQ(items[0].first, Pic("rose_small.jpg"));
  EXPECT_EQ(items[1].first, Pic("rose.jpg"));

  // The folder trees find the search in the profile and run its query again.
  int type = 0, value = 0;
  CString name, query;
  ASSERT_EQ(CMTLxGetSearchProfile(&type, &name, &query, &value), PSW_PROFILE_TYPE);
  EXPECT_STREQ(name.GetString(), "類似画像: rose_small.jpg");
  EXPECT_EQ(value, id);
  STRINGLIST* again = nullptr;
  ASSERT_EQ(PSWGetSimilarImageList(query.GetString(), &again), S_OK);
  EXPECT_EQ(Items(again), items);
  FreeStringList(again);
}

TEST_F(SimilarSearch, ReferencesThatAreNotRegisteredOrGone) {
  // An unregistered reference is hashed from its file and is not among the results.
  std::string copy = Pic("rose_copy.jpg");
  CopyFileA(Pic("rose.jpg").c_str(), copy.c_str(), FALSE);
  STRINGLIST* found = nullptr;
  ASSERT_EQ(PSWGetSimilarImageEx(copy.c_str(), &found), S_OK);
  auto items = Items(found);
  FreeStringList(found);
  ASSERT_GE(items.size(), 1u);
  EXPECT_EQ(items[0].first, Pic("rose.jpg"));
  EXPECT_EQ(items[0].second, 0);
  for (const auto& i : items) EXPECT_NE(i.first, copy);

  EXPECT_EQ(PSWGetSimilarImageEx(Pic("never.jpg").c_str(), &found), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(PSWGetSimilarImageEx(Pic("notes.txt").c_str(), &found), PSW_E_REFUSED);
  EXPECT_EQ(PSWGetSimilarImageEx(nullptr, &found), E_INVALIDARG);
  EXPECT_EQ(found, nullptr);

  // A registered picture that was deleted: its stored hash still serves as reference,
  // and it leaves the search.
  std::string gone = Pic("gone.jpg");
  CopyFileA(Pic("wizard.jpg").c_str(), gone.c_str(), FALSE);
  STRINGLIST* one = ListOf({gone});
  ASSERT_EQ(PSWRegistImageList(one, nullptr, nullptr), S_OK);
  FreeStringList(one);
  DeleteFileA(gone.c_str());
  ASSERT_EQ(PSWGetSimilarImageEx(gone.c_str(), &found), S_OK);
  items = Items(found);
  FreeStringList(found);
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(items[0].first, Pic("wizard.jpg"));
  EXPECT_FALSE(PSWIsIndexed(gone.c_str()));
}

TEST_F(SimilarSearch, QueryTexts) {
  struct Case {
    const char* text;
    bool ok;
    const char* path;
    bool hash;
    int distance;
  };
  const Case cases[] = {
      {"Similar,C:\\a.jpg", true, "C:\\a.jpg", false, PSW_DEFAULT_DISTANCE},
      {"similar,\"C:\\a,b.jpg\",12", true, "C:\\a,b.jpg", false, 12},
      {"Similar,\"C:\\say \"\"hi\"\".jpg\"", true, "C:\\say \"hi\".jpg", false, PSW_DEFAULT_DISTANCE},
      {"Similar,0x00FF00FF00FF00FF,3", true, "", true, 3},
      {"Similar,0x00FF00FF00FF00FF,3,\"C:\\r,1.jpg\"", true, "C:\\r,1.jpg", true, 3},  // where the reference goes
      {"Similar,C:\\a.jpg,3,C:\\b.jpg", false, "", false, 0},  // a third value only after a hash
      {"Similar,0x00FF00FF00FF00FF,3,", false, "", false, 0},
      {"C:\\bare path.jpg", true, "C:\\bare path.jpg", false, PSW_DEFAULT_DISTANCE},
      {"Similar,C:\\a,b.jpg", false, "", false, 0},   // a comma needs quotes
      {"Similar,\"C:\\open.jpg", false, "", false, 0},  // quote never closed
      {"Similar,C:\\a.jpg,65", false, "", false, 0},
      {"Similar,", false, "", false, 0},
      {"", false, "", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    psw::SimilarQuery q;
    ASSERT_EQ(psw::ParseQuery(c.text, &q), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(q.path, c.path);
    EXPECT_EQ(q.hash.has_value(), c.hash);
    EXPECT_EQ(q.distance, c.distance);
  }
  psw::SimilarQuery q;
  ASSERT_TRUE(psw::ParseQuery(psw::MakeQuery(0x0123456789ABCDEFull, 7), &q));
  EXPECT_EQ(*q.hash, 0x0123456789ABCDEFull);
  EXPECT_EQ(q.distance, 7);
  ASSERT_TRUE(psw::ParseQuery(psw::MakeQuery(42, 5, "C:\\say \"hi\", x.jpg"), &q));
  EXPECT_EQ(q.path, "C:\\say \"hi\", x.jpg");
  EXPECT_EQ(*q.hash, 42u);

  STRINGLIST* list = nullptr;
  EXPECT_EQ(PSWGetSimilarImageList("Similar,\"broken", &list), E_INVALIDARG);
  EXPECT_EQ(PSWGetSimilarImageList("Similar,0x0000000000000000,0", &list), VXDB_E_NOTFOUND);
  EXPECT_EQ(list, nullptr);
}

TEST_F(SimilarSearch, FoldersOfTheRegisteredPictures) {
  auto groups = psw::GroupByFolder({"C:\\b\\1.jpg", "C:\\A\\2.jpg", "c:\\a\\3.jpg", "C:\\b\\sub\\4.jpg"});
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_EQ(groups[0].folder, "C:\\A\\");
  EXPECT_EQ(groups[0].count, 2);
  EXPECT_EQ(groups[1].folder, "C:\\b\\");
  EXPECT_EQ(groups[2].folder, "C:\\b\\sub\\");

  // The dialog lists them: one folder here.
  std::atomic<int> rows{-1};
  EXPECT_EQ(DriveListDialog([&rows](HWND, HWND list) {
              rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
            }),
            IDOK);
  EXPECT_EQ(rows, 1);
}

TEST_F(SimilarSearch, TheIndexSurvivesARestart) {
  VxDBWExitDatabase(-1);
  std::string value = g_dbDir + "|" + g_pics;
  SetEnvironmentVariableA(kChildVar, value.c_str());
  HANDLE child = testsupport::StartProgram("\"" + testsupport::ProgramPath() +
                                           "\" --gtest_also_run_disabled_tests --gtest_filter=DISABLED_AfterRestart.*");
  SetEnvironmentVariableA(kChildVar, nullptr);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(testsupport::WaitForExit(child, 60000), 0u) << "the restarted program did not find the index";
  EXPECT_NE(GetFileAttributesA(Pic("restart.ok").c_str()), INVALID_FILE_ATTRIBUTES) << "the child's check did not run";
  EXPECT_EQ(PSWInitDatabase(), S_OK);
}

TEST_F(SimilarSearch, TheDialogTakesAFolderOutOfTheSearch) {
  ASSERT_TRUE(PSWIsIndexed(Pic("rose.jpg").c_str()));
  std::atomic<int> rowsAfter{-1};
  EXPECT_EQ(DriveListDialog([&rowsAfter](HWND dlg, HWND list) {
              LVITEMA item{};
              item.stateMask = item.state = LVIS_SELECTED;
              SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
              SendMessageA(dlg, WM_COMMAND, 1002, 0);  // "検索から外す"
              rowsAfter = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
            }),
            IDOK);
  EXPECT_EQ(rowsAfter, 0);
  EXPECT_FALSE(PSWIsIndexed(Pic("rose.jpg").c_str()));
  EXPECT_FALSE(PSWIsIndexed(Pic("wizard.jpg").c_str()));
}

// The half of SimilarSearch.TheIndexSurvivesARestart that runs in the restarted program
// (disabled: not a test of its own).
TEST(DISABLED_AfterRestart, TheIndexAndTheLastResultAreThere) {
  ASSERT_TRUE(IsChild()) << "runs in the program SimilarSearch.TheIndexSurvivesARestart restarts";
  EXPECT_TRUE(PSWIsIndexed(Pic("rose.jpg").c_str()));
  EXPECT_TRUE(PSWIsIndexed(Pic("rose_small.jpg").c_str()));
  EXPECT_FALSE(PSWIsIndexed(Pic("notes.txt").c_str()));
  STRINGLIST* found = nullptr;
  ASSERT_EQ(PSWGetSimilarImageList(("Similar," + Pic("rose.jpg")).c_str(), &found), S_OK);
  auto items = Items(found);
  FreeStringList(found);
  ASSERT_GE(items.size(), 2u);
  EXPECT_EQ(items[1].first, Pic("rose_small.jpg"));
  STRINGLIST* sets = nullptr;
  ASSERT_EQ(VxDBWxGetSearchResultList(VXDB_RESULT_SIMILAR, &sets), S_OK);
  EXPECT_EQ(StringListCount(sets), 1);
  FreeStringList(sets);
  if (!HasFailure()) imgtest::WriteAll(Pic("restart.ok"), {'1'});
}

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::AddGlobalTestEnvironment(new PixEnvironment);
  return RUN_ALL_TESTS();
}
