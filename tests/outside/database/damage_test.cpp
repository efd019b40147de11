// A damaged database file: what opening or a call that meets the damage makes of it, what
// the user is told about, and that no earlier set-aside copy is ever overwritten.
#include <windows.h>

#include <files.h>
#include <program.h>
#include <sqlite3.h>
#include <textkit/text.h>

#include "dbtest.h"

namespace {

constexpr int kFiles = 400;

std::string ReadAll(const std::string& path) { return testsupport::ReadWholeFile(path); }

VXDBHEALTH Health() {
  VXDBHEALTH h = {};
  VxDBGetHealth(&h);
  return h;
}

uint32_t Word(const std::string& bytes, size_t at) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + at;
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// The result of a one-text statement on a closed database file, read by this program's own
// SQLite as a file that nothing changes (so that it leaves no log behind).
std::string Answer(const std::string& file, const char* sql) {
  std::string uri = "file:" + textkit::AnsiToUtf8(file) + "?immutable=1";
  for (char& c : uri) c = c == '\\' ? '/' : c;
  sqlite3* db = nullptr;
  std::string text = "(no answer)";
  sqlite3_stmt* st = nullptr;
  if (sqlite3_open_v2(uri.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
    text = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
  sqlite3_finalize(st);
  sqlite3_close(db);
  return text;
}

// A garbage page in the middle of the file, the header whole: the middle leaf of the
// files table, whose root page points at its leaves.
std::string WithGarbageLeaf(const std::string& file, std::string bytes) {
  const size_t page = (uint8_t(bytes[16]) << 8) | uint8_t(bytes[17]);
  const size_t root = std::stoul(Answer(file, "SELECT rootpage FROM sqlite_schema WHERE name = 'files'"));
  const size_t at = (root - 1) * page;
  EXPECT_EQ(bytes[at], 0x05) << "the files table has more than one page";
  const size_t cells = (uint8_t(bytes[at + 3]) << 8) | uint8_t(bytes[at + 4]);
  const size_t middle = at + 12 + 2 * (cells / 2);  // the cell pointers follow the 12-byte page header
  const size_t cell = (uint8_t(bytes[middle]) << 8) | uint8_t(bytes[middle + 1]);
  const size_t leaf = Word(bytes, at + cell);
  EXPECT_GT(leaf, 1u);
  EXPECT_LT(leaf * page, bytes.size());
  for (size_t i = 0; i < page; ++i) bytes[(leaf - 1) * page + i] = static_cast<char>("garbage!"[i % 8]);
  return bytes;
}

// Reads every registered file's row; how many could be read.
int Readable() {
  int found = 0;
  BOOL favourite = FALSE;
  for (int i = 0; i < kFiles; ++i)
    found += VxDBWGetFavorite(dbtest::PathOf("D:\\Pictures", i).c_str(), &favourite) == S_OK;
  return found;
}

// The database file after registering kFiles files, closed (its log folded in).
class DamagedDb : public ::testing::Test {
 protected:
  void SetUp() override {
    VxDBWExitDatabase(-1);
    dir_ = dbtest::NewTempFolder("damage");
    ASSERT_EQ(VxDBSetFolder(dir_.c_str()), S_OK);
    char file[MAX_PATH];
    ASSERT_EQ(VxDBGetFile(file, MAX_PATH), S_OK);
    file_ = file;
    ASSERT_EQ(VxDBWInitDatabase(), S_OK);
    VxDBWBeginBatch();
    for (int i = 0; i < kFiles; ++i) dbtest::RegisterLikeImport(dbtest::PathOf("D:\\Pictures", i), i);
    VxDBWEndBatch();
    VxDBWExitDatabase(-1);
    sound_ = ReadAll(file_);
    ASSERT_GT(sound_.size(), 64u * 1024);
  }
  void TearDown() override {
    VxDBWExitDatabase(-1);
    VxDBSetFolder(nullptr);
    dbtest::RemoveTree(dir_);
  }
  void Damage(const std::string& bytes) {
    ASSERT_TRUE(testsupport::WriteWholeFile(file_, bytes));
    // A new folder setting forgets what the last open found, as a new process would.
    VxDBSetFolder(nullptr);
    VxDBSetFolder(dir_.c_str());
  }
  std::string Aside(int n) const {
    return dir_ + (n == 1 ? "\\VxDatabase.damaged.db" : "\\VxDatabase.damaged-" + std::to_string(n) + ".db");
  }
  std::string dir_, file_, sound_;
};

enum class Cut { None, ToFirstPage, InHalf, ByOneByte };

enum class Left { None, Some, All };  // of the registered files, carried over

struct Harm {
  const char* what;
  const char* garbage;  // written over the header (nullptr: none)
  Cut cut;
  Left left;
};

const Harm kHarms[] = {
    // Every data page is whole: SQLite's recovery reads them all without the header.
    {"garbage over the header", "garbage garbage garbage!", Cut::None, Left::All},
    {"cut to its first page", nullptr, Cut::ToFirstPage, Left::None},
    {"cut in half", nullptr, Cut::InHalf, Left::Some},
    {"cut by one byte (no longer whole pages)", nullptr, Cut::ByOneByte, Left::Some},
};

std::string Harmed(std::string bytes, const Harm& h) {
  if (h.garbage) bytes.replace(0, strlen(h.garbage), h.garbage);
  size_t keep = h.cut == Cut::ToFirstPage ? 4096
                : h.cut == Cut::InHalf    ? bytes.size() / 2
                : h.cut == Cut::ByOneByte ? bytes.size() - 1
                                          : bytes.size();
  bytes.resize(keep);
  return bytes;
}

}  // namespace

TEST_F(DamagedDb, IsKeptAsideAndWhatCanBeReadIsCarriedOver) {
  for (const Harm& h : kHarms) {
    SCOPED_TRACE(h.what);
    std::string bytes = Harmed(sound_, h);
    Damage(bytes);

    ASSERT_EQ(VxDBWInitDatabase(), S_OK);
    VXDBHEALTH health = Health();
    EXPECT_EQ(health.dwState, (DWORD)VXDB_HEALTH_RENEWED);
    EXPECT_EQ(std::string(health.szFile), file_);
    // Each damage gets its own copy, byte for byte what was found.
    int n = static_cast<int>(&h - kHarms) + 1;
    EXPECT_EQ(std::string(health.szAside), Aside(n));
    EXPECT_TRUE(ReadAll(Aside(n)) == bytes);

    int count = -1;
    EXPECT_EQ(VxDBGetFileCount(&count), S_OK);
    EXPECT_EQ(count, (int)health.dwSalvagedFiles);
    switch (h.left) {
      case Left::None: EXPECT_EQ(count, 0); break;
      case Left::Some:
        EXPECT_GT(count, 0);
        EXPECT_LE(count, kFiles);
        break;
      case Left::All:
        EXPECT_EQ(count, kFiles);
        EXPECT_EQ(Readable(), kFiles);
        break;
    }
    // The new file takes writes as any other.
    EXPECT_EQ(VxDBWEnrollFile("C:\\after.jpg", 0), S_OK);
    EXPECT_EQ(VxDBWIsEnrolled("C:\\after.jpg"), S_OK);
    VxDBWExitDatabase(-1);
  }
  // The first copy is still what the first damage left.
  EXPECT_TRUE(ReadAll(Aside(1)) == Harmed(sound_, kHarms[0]));
}

TEST_F(DamagedDb, ThatCannotBeMovedIsReadOnlyOrUnavailable) {
  // Another program holds the file open (no sharing for delete): it cannot be moved aside.
  std::string cut = sound_.substr(0, sound_.size() - 1);
  Damage(cut);
  HANDLE held =
      CreateFileA(file_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ASSERT_EQ(VxDBWInitDatabase(), S_OK);
  EXPECT_EQ(Health().dwState, (DWORD)VXDB_HEALTH_READONLY);
  EXPECT_EQ(VxDBWIsEnrolled(dbtest::PathOf("D:\\Pictures", 0).c_str()), S_OK);
  EXPECT_EQ(VxDBWEnrollFile("C:\\after.jpg", 0), E_FAIL);
  VxDBWExitDatabase(-1);
  // Reopened in the same session it stays read-only, and the file is untouched.
  EXPECT_EQ(VxDBWIsEnrolled(dbtest::PathOf("D:\\Pictures", 1).c_str()), S_OK);
  EXPECT_EQ(Health().dwState, (DWORD)VXDB_HEALTH_READONLY);
  VxDBWExitDatabase(-1);
  EXPECT_TRUE(ReadAll(file_) == cut);
  CloseHandle(held);

  // Nothing readable and not movable: no database, every call fails cleanly.
  std::string garbage = sound_;
  garbage.replace(0, 16, "0123456789abcdef");
  Damage(garbage);
  held =
      CreateFileA(file_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(VxDBWInitDatabase(), E_FAIL);
  EXPECT_EQ(Health().dwState, (DWORD)VXDB_HEALTH_UNAVAILABLE);
  EXPECT_EQ(VxDBWIsEnrolled("C:\\a.jpg"), E_FAIL);
  CloseHandle(held);
  EXPECT_TRUE(ReadAll(file_) == garbage);
}

// A garbage page with the header whole opens as any file (checking every page at every
// start would cost too much); the first call that meets it fails, the file is checked,
// set aside and what can be read carried over, and the calls after it, the open batch
// among them, go on in the new file. The batch's writes not yet committed when the damage
// was met are lost: SQLite refuses to commit a transaction that met a damaged page.
TEST_F(DamagedDb, AGarbagePageMetByACallIsSetAsideAndTheBatchGoesOn) {
  const DWORD damagesBefore = Health().dwDamageCount;
  Damage(WithGarbageLeaf(file_, sound_));
  ASSERT_EQ(VxDBWInitDatabase(), S_OK);
  EXPECT_EQ(Health().dwState, (DWORD)VXDB_HEALTH_SOUND);

  ASSERT_EQ(VxDBWBeginBatch(), S_OK);
  for (int i = 0; i < 5; ++i) ASSERT_EQ(VxDBWEnrollFile(dbtest::PathOf("C:\\batch", i).c_str(), 0), S_OK);
  const int readable = Readable();
  for (int i = 5; i < 10; ++i) ASSERT_EQ(VxDBWEnrollFile(dbtest::PathOf("C:\\batch", i).c_str(), 0), S_OK);
  EXPECT_EQ(VxDBWEndBatch(), S_OK);

  VXDBHEALTH health = Health();
  EXPECT_EQ(health.dwState, (DWORD)VXDB_HEALTH_RENEWED);
  EXPECT_EQ(health.dwDamageCount, damagesBefore + 1);
  EXPECT_EQ(std::string(health.szAside), Aside(1));
  // The rows of the garbage page are lost, the rest carried over.
  EXPECT_GT((int)health.dwSalvagedFiles, kFiles / 2);
  EXPECT_LT((int)health.dwSalvagedFiles, kFiles);
  EXPECT_LT(readable, kFiles);
  EXPECT_EQ(Readable(), (int)health.dwSalvagedFiles);
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(VxDBWIsEnrolled(dbtest::PathOf("C:\\batch", i).c_str()), i < 5 ? VXDB_E_NOTFOUND : S_OK) << i;
  VxDBWExitDatabase(-1);
  EXPECT_EQ(Answer(file_, "PRAGMA quick_check"), "ok");
  EXPECT_NE(Answer(Aside(1), "PRAGMA quick_check"), "ok");
}

// This program as a process that opens the database, reads it and never closes it.
int DbChildHolder(const char* dir, const char* eventName) {
  VxDBSetFolder(dir);
  int count = 0;
  if (FAILED(VxDBWInitDatabase()) || FAILED(VxDBGetFileCount(&count))) return 3;
  HANDLE ev = OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName);
  if (!ev) return 4;
  SetEvent(ev);
  Sleep(INFINITE);
  return 0;
}

// After a process ended without closing the file (its log is left), opening checks every
// page: a sound file opens as it was, a garbage page is set aside at once.
TEST_F(DamagedDb, AfterAnUncleanEndOpeningChecksEveryPage) {
  const struct {
    const char* what;
    bool garbage;
  } cases[] = {{"sound", false}, {"a garbage page", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string ev = "GlimoraDbHolder" + std::to_string(GetCurrentProcessId());
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, ev.c_str());
    HANDLE child =
        testsupport::StartProgram("\"" + testsupport::ProgramPath() + "\" --db-holder \"" + dir_ + "\" " + ev);
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(WaitForSingleObject(event, 60000), WAIT_OBJECT_0) << "the holder never opened the database";
    TerminateProcess(child, 9);
    testsupport::WaitForExit(child, 60000);
    CloseHandle(event);
    ASSERT_NE(GetFileAttributesA((file_ + "-wal").c_str()), INVALID_FILE_ATTRIBUTES);
    if (c.garbage) Damage(WithGarbageLeaf(file_, sound_));

    ASSERT_EQ(VxDBWInitDatabase(), S_OK);
    VXDBHEALTH health = Health();
    if (!c.garbage) {
      EXPECT_EQ(health.dwState, (DWORD)VXDB_HEALTH_SOUND);
      EXPECT_EQ(Readable(), kFiles);
    } else {
      EXPECT_EQ(health.dwState, (DWORD)VXDB_HEALTH_RENEWED);
      EXPECT_EQ(std::string(health.szAside), Aside(1));
      EXPECT_GT((int)health.dwSalvagedFiles, kFiles / 2);
      EXPECT_LT((int)health.dwSalvagedFiles, kFiles);
      EXPECT_EQ(Readable(), (int)health.dwSalvagedFiles);
    }
    VxDBWExitDatabase(-1);
  }
}
