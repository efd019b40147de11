#include "guidb_fixtures.h"

#include <VxDatabase.h>
#include <VxGUIDB.h>
#include <gtest/gtest.h>

namespace guidbtest {

namespace {
std::string g_scratch;

class Cleanup : public testing::Environment {
 public:
  void TearDown() override {
    VxGUIDBFinalize();
    if (!g_scratch.empty()) RemoveTree(g_scratch);
  }
};
testing::Environment* const kCleanup = testing::AddGlobalTestEnvironment(new Cleanup);
bool g_storesOpen = false;
}  // namespace

std::string ScratchDir(const char* sub) {
  if (g_scratch.empty()) g_scratch = testsupport::NewTempFolder("glimora-guidb");
  if (!sub) return g_scratch;
  std::string d = g_scratch + "\\" + sub;
  RemoveTree(d);
  CreateDirectoryA(d.c_str(), nullptr);
  return d;
}

bool CopyFixture(const char* fixture, const std::string& to) {
  return CopyFileA(Fixture(fixture).c_str(), to.c_str(), FALSE) != FALSE;
}

bool SetWriteTime(const std::string& path, int year, int month, int day, int hour, int minute) {
  SYSTEMTIME st = {};
  st.wYear = WORD(year);
  st.wMonth = WORD(month);
  st.wDay = WORD(day);
  st.wHour = WORD(hour);
  st.wMinute = WORD(minute);
  FILETIME local, utc;
  if (!SystemTimeToFileTime(&st, &local) || !LocalFileTimeToFileTime(&local, &utc)) return false;
  HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  BOOL ok = SetFileTime(h, nullptr, nullptr, &utc);
  CloseHandle(h);
  return ok != FALSE;
}

void UsePrivateStores() {
  if (g_storesOpen) return;
  std::string db = ScratchDir("db");
  VxDBSetFolder(db.c_str());
  ASSERT_EQ(S_OK, VxGUIDBInitialize());
  g_storesOpen = true;
}

}  // namespace guidbtest
