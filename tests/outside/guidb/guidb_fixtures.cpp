#include "guidb_fixtures.h"

#include <VxDatabase.h>
#include <VxGUIDB.h>
#include <gtest/gtest.h>

#include <fstream>

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

std::string ProgramDir() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path, n);
  return s.substr(0, s.find_last_of('\\') + 1);
}

void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = dir + "\\" + name;
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(full);
      else
        DeleteFileA(full.c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
}

std::string Fixture(const char* name) { return ProgramDir() + "testdata\\" + name; }

std::string ScratchDir(const char* sub) {
  if (g_scratch.empty()) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    g_scratch = std::string(temp) + "glimora-guidb-" + std::to_string(GetCurrentProcessId());
    RemoveTree(g_scratch);
    CreateDirectoryA(g_scratch.c_str(), nullptr);
  }
  if (!sub) return g_scratch;
  std::string d = g_scratch + "\\" + sub;
  RemoveTree(d);
  CreateDirectoryA(d.c_str(), nullptr);
  return d;
}

bool CopyFixture(const char* fixture, const std::string& to) {
  return CopyFileA(Fixture(fixture).c_str(), to.c_str(), FALSE) != FALSE;
}

bool WriteText(const std::string& path, const std::string& text) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f << text;
  return bool(f);
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
