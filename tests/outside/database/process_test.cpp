// The database across processes: a writer killed mid-batch, two writers at once, marks
// seen by a second process, and the speed of a large batch.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include <program.h>

#include "dbtest.h"

using dbtest::DbTest;
using dbtest::ImportList;
using dbtest::PathOf;
using dbtest::RegisterLikeImport;

namespace {

// This program again, as a child doing one of the jobs below.
HANDLE Spawn(const std::string& args) {
  return testsupport::StartProgram("\"" + testsupport::ProgramPath() + "\" " + args);
}

DWORD WaitExit(HANDLE h) { return testsupport::WaitForExit(h, 60000); }

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }


}  // namespace

// ---- Child processes ------------------------------------------------------------------------

// Commits a batch of 200 files, then registers forever inside a new batch, which
// commits by itself now and then; signals once that batch has committed some.
int DbChildWriter(const char* dir, const char* eventName) {
  VxDBSetFolder(dir);
  if (FAILED(VxDBWInitDatabase())) return 3;
  VxDBWBeginBatch();
  for (int i = 0; i < 200; ++i) RegisterLikeImport(PathOf("D:\\Pictures\\2010_05_01", i), i);
  VxDBWEndBatch();
  HANDLE ev = OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName);
  VxDBWBeginBatch();
  DWORD start = GetTickCount();
  for (int i = 200;; ++i) {
    METADATA* list = ImportList(i);
    VxDBWRegisterFile(PathOf("D:\\Pictures\\pending", i).c_str(), list);
    VxDBWxFreeRegisterList(&list);
    if (i % 16 == 0) Sleep(1);  // a slower writer keeps the log small
    if (ev && GetTickCount() - start > 1200) {
      SetEvent(ev);
      CloseHandle(ev);
      ev = nullptr;
    }
  }
}

// Registers n files under its own folder, each call a transaction of its own.
int DbChildConcurrent(const char* dir, const char* prefix, int n) {
  VxDBSetFolder(dir);
  if (FAILED(VxDBWInitDatabase())) return 3;
  for (int i = 0; i < n; ++i) {
    METADATA* list = ImportList(i);
    HRESULT hr = VxDBWRegisterFile(PathOf(prefix, i).c_str(), list);
    VxDBWxFreeRegisterList(&list);
    if (FAILED(hr)) return 4;
  }
  VxDBWExitDatabase(-1);
  return 0;
}

// Reports the marks it finds as its exit code: count * 10 + state of the first.
int DbChildMarks(const char* dir) {
  VxDBSetFolder(dir);
  Mark_Init();
  int count = 0, state = 0;
  Mark_GetCheckCount(&count);
  STRINGLIST* all = nullptr;
  Mark_GetAllCheck(&all);
  if (all) Mark_GetCheck(all->pszText, &state);
  FreeStringList(all);
  Mark_Exit();
  return count * 10 + state;
}

// ---- Tests -------------------------------------------------------------------------------------

TEST_F(DbTest, KilledWriterLosesNoCommittedFile) {
  VxDBWExitDatabase(-1);  // the child owns the writes; we only read afterwards
  std::string ev = "GlimoraDbWriter" + std::to_string(GetCurrentProcessId());
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, ev.c_str());
  HANDLE child = Spawn("--db-writer " + Quoted(dir_) + " " + ev);
  ASSERT_NE(child, nullptr);
  ASSERT_EQ(WaitForSingleObject(event, 60000), WAIT_OBJECT_0) << "the writer never got far";
  // Another writer gets its turn while the batch runs.
  ASSERT_EQ(VxDBWInitDatabase(), S_OK);
  EXPECT_EQ(VxDBWEnrollFile("C:\\meanwhile.jpg", 0), S_OK);
  VxDBWExitDatabase(-1);
  TerminateProcess(child, 9);
  WaitExit(child);
  CloseHandle(event);
  ASSERT_EQ(VxDBWInitDatabase(), S_OK);
  for (int i = 0; i < 200; i += 37) {
    METADATA* list = nullptr;
    ASSERT_EQ(VxDBWReadFile(PathOf("d:\\pictures\\2010_05_01", i).c_str(), &list), S_OK) << i;
    EXPECT_STREQ(MetaGetValue(list, VXDB_REC_MODEL, VXDB_FLD_MODEL), "NV-10");
    FreeMetaDataList(list);
  }
  EXPECT_EQ(dbtest::Search("Path,D:\\Pictures\\2010_05_01").size(), 200u);
  // The later batch had committed part of its files, each of them whole.
  int files = 0, models = 0;
  VxDBGetFileCount(&files);
  VxDBWGetReadTableDataCount(VXDB_REC_MODEL, &models);
  EXPECT_GT(files, 201);
  EXPECT_EQ(files, models + 1);  // all but the second writer's file
  METADATA* list = nullptr;
  ASSERT_EQ(VxDBWReadFile(PathOf("D:\\Pictures\\pending", 200).c_str(), &list), S_OK);
  EXPECT_STREQ(MetaGetValue(list, VXDB_REC_KEYWORDS, VXDB_FLD_KEYWORDS), "山");
  FreeMetaDataList(list);
  char dbFile[MAX_PATH];
  ASSERT_EQ(VxDBGetFile(dbFile, MAX_PATH), S_OK);
  EXPECT_NE(GetFileAttributesA(dbFile), INVALID_FILE_ATTRIBUTES);
}

TEST_F(DbTest, TwoProcessesWriteAtOnce) {
  HANDLE a = Spawn("--db-concurrent " + Quoted(dir_) + " C:\\one 200");
  HANDLE b = Spawn("--db-concurrent " + Quoted(dir_) + " C:\\two 200");
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  // This process reads while they write.
  for (int i = 0; i < 20; ++i) {
    int n = 0;
    EXPECT_EQ(VxDBGetFileCount(&n), S_OK);
    Sleep(20);
  }
  EXPECT_EQ(WaitExit(a), 0u);
  EXPECT_EQ(WaitExit(b), 0u);
  EXPECT_EQ(dbtest::Search("Path,C:\\one").size(), 200u);
  EXPECT_EQ(dbtest::Search("Path,C:\\two").size(), 200u);
}

TEST_F(DbTest, MarksSurviveARestart) {
  std::string a = data_ + "\\a.jpg", b = data_ + "\\B.JPG", e = "E:\\DCIM\\100NV\\C.JPG";
  EXPECT_EQ(Mark_Init(), S_OK);
  EXPECT_EQ(Mark_SetCheck(b.c_str(), 2), S_OK);
  EXPECT_EQ(Mark_SetCheck(a.c_str(), 1), S_OK);
  EXPECT_EQ(Mark_SetCheck(e.c_str(), 1), S_OK);
  EXPECT_EQ(Mark_SetCheck(b.c_str(), 3), S_OK);  // marked again: keeps its place
  EXPECT_EQ(Mark_Exit(), S_OK);
  VxDBWExitDatabase(-1);

  // Another process sees the three marks, the first one with state 3.
  EXPECT_EQ(WaitExit(Spawn("--db-marks " + Quoted(dir_))), 33u);

  int state = -1;
  EXPECT_EQ(Mark_GetCheck((data_ + "\\b.jpg").c_str(), &state), S_OK);
  EXPECT_EQ(state, 3);
  EXPECT_EQ(Mark_MoveCheck(a.c_str(), (data_ + "\\moved.jpg").c_str()), S_OK);
  EXPECT_EQ(Mark_GetCheck(a.c_str(), &state), S_FALSE);
  EXPECT_EQ(state, 0);
  EXPECT_EQ(Mark_CopyCheck(b.c_str(), (data_ + "\\copy.jpg").c_str()), S_OK);
  EXPECT_EQ(Mark_MoveCheck(a.c_str(), b.c_str()), S_FALSE);  // no mark to carry
  int count = 0;
  EXPECT_EQ(Mark_GetCheckCount(&count), S_OK);
  EXPECT_EQ(count, 4);

  // The card goes: its marks go; the disk's stay.
  EXPECT_EQ(Mark_DelAllCheckInDrive('e'), S_OK);
  EXPECT_EQ(Mark_GetCheck(e.c_str(), &state), S_FALSE);
  EXPECT_EQ(Mark_DelAllCheckInDrive(4), S_FALSE);  // drive number 4 is E: too
  EXPECT_EQ(Mark_DelAllCheckInDrive('#'), E_INVALIDARG);
  EXPECT_EQ(Mark_MoveFolder(data_.c_str(), (data_ + "x").c_str()), S_OK);
  EXPECT_EQ(Mark_GetCheck((data_ + "x\\moved.jpg").c_str(), &state), S_OK);
  EXPECT_EQ(Mark_DelAllCheckInFolder((data_ + "x").c_str()), S_OK);
  EXPECT_EQ(Mark_GetCheckCount(&count), S_OK);
  EXPECT_EQ(count, 0);
  Mark_SetCheck(a.c_str(), 1);
  EXPECT_EQ(Mark_DeleteAll(), S_OK);
  EXPECT_EQ(Mark_GetCheckCount(&count), S_OK);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(Mark_SetCheck(nullptr, 1), E_INVALIDARG);
  EXPECT_EQ(Mark_GetCheck(a.c_str(), nullptr), E_INVALIDARG);
}

// Several files' marks read together answer as the files read one by one, also inside an
// open batch, which goes on afterwards.
TEST_F(DbTest, MarksReadTogetherAnswerAsOneByOne) {
  const std::string a = data_ + "\\a.jpg", b = data_ + "\\B.JPG", jp = data_ + "\\写真.jpg";
  ASSERT_EQ(Mark_SetCheck(a.c_str(), 1), S_OK);
  ASSERT_EQ(Mark_SetCheck(b.c_str(), 3), S_OK);
  ASSERT_EQ(Mark_SetCheck(jp.c_str(), 2), S_OK);
  const std::string upper = data_ + "\\A.JPG", none = data_ + "\\none.jpg", lowerB = data_ + "\\b.jpg";
  const LPCSTR paths[] = {a.c_str(), upper.c_str(), none.c_str(), lowerB.c_str(), jp.c_str(), "relative.jpg", "", nullptr};
  const int n = int(sizeof(paths) / sizeof(paths[0]));
  auto oneByOne = [&](int* expect) {
    for (int i = 0; i < n; ++i) {
      int state = -7;
      expect[i] = SUCCEEDED(Mark_GetCheck(paths[i], &state)) ? state : -1;
    }
  };
  int expect[n], got[n];
  oneByOne(expect);
  EXPECT_EQ(expect[0], 1);
  EXPECT_EQ(expect[1], 1);
  EXPECT_EQ(expect[2], 0);
  EXPECT_EQ(expect[3], 3);
  EXPECT_EQ(expect[4], 2);
  EXPECT_EQ(expect[7], -1);
  ASSERT_EQ(Mark_GetChecks(paths, n, got), S_OK);
  for (int i = 0; i < n; ++i) EXPECT_EQ(got[i], expect[i]) << "path " << i;

  // Inside a batch: the batch's own write is seen, and the batch still holds its writes.
  ASSERT_EQ(VxDBBeginBatch(), S_OK);
  ASSERT_EQ(Mark_SetCheck(none.c_str(), 5), S_OK);
  oneByOne(expect);
  EXPECT_EQ(expect[2], 5);
  ASSERT_EQ(Mark_GetChecks(paths, n, got), S_OK);
  for (int i = 0; i < n; ++i) EXPECT_EQ(got[i], expect[i]) << "in the batch, path " << i;
  ASSERT_EQ(Mark_SetCheck(a.c_str(), 0), S_OK);
  ASSERT_EQ(VxDBEndBatch(), S_OK);
  int state = -1;
  EXPECT_EQ(Mark_GetCheck(none.c_str(), &state), S_OK);
  EXPECT_EQ(state, 5);
  EXPECT_EQ(Mark_GetCheck(a.c_str(), &state), S_FALSE);

  EXPECT_EQ(Mark_GetChecks(paths, 0, nullptr), S_OK);
  EXPECT_EQ(Mark_GetChecks(nullptr, 1, got), E_INVALIDARG);
  EXPECT_EQ(Mark_GetChecks(paths, 1, nullptr), E_INVALIDARG);
  EXPECT_EQ(Mark_GetChecks(paths, -1, got), E_INVALIDARG);
}
