// A damaged database file: what opening makes of it, what the user is told about, and
// that no earlier set-aside copy is ever overwritten.
#include <windows.h>

#include <files.h>

#include "dbtest.h"

namespace {

constexpr int kFiles = 400;

std::string ReadAll(const std::string& path) { return testsupport::ReadWholeFile(path); }

VXDBHEALTH Health() {
  VXDBHEALTH h = {};
  VxDBGetHealth(&h);
  return h;
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

struct Harm {
  const char* what;
  const char* garbage;  // written over the header (nullptr: none)
  Cut cut;
  bool rowsLeft;  // some registered files can still be read
};

const Harm kHarms[] = {
    {"garbage over the header", "garbage garbage garbage!", Cut::None, false},
    {"cut to its first page", nullptr, Cut::ToFirstPage, false},
    {"cut in half", nullptr, Cut::InHalf, true},
    {"cut by one byte (no longer whole pages)", nullptr, Cut::ByOneByte, true},
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
    if (h.rowsLeft) {
      EXPECT_GT(count, 0);
      EXPECT_LE(count, kFiles);
    } else {
      EXPECT_EQ(count, 0);
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
