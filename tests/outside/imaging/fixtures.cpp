#include "fixtures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace imgtest {

namespace {
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
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(full);
      else
        DeleteFileA(full.c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
}
// The scratch folder goes when the program ends.
class ScratchCleanup : public testing::Environment {
 public:
  void TearDown() override;
};
testing::Environment* const kCleanup = testing::AddGlobalTestEnvironment(new ScratchCleanup);
std::string scratch;
}  // namespace

void ScratchCleanup::TearDown() {
  if (!scratch.empty()) RemoveTree(scratch);
}

std::string Fixture(const char* name) { return ProgramDir() + "testdata\\" + name; }

std::string ScratchDir() {
  std::string& dir = scratch;
  if (dir.empty()) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    dir = std::string(temp) + "glimora-imaging-" + std::to_string(GetCurrentProcessId());
    RemoveTree(dir);
    CreateDirectoryA(dir.c_str(), nullptr);
  }
  return dir;
}

std::string ScratchCopy(const char* fixture, const char* name) {
  std::string to = ScratchDir() + "\\" + name;
  CopyFileA(Fixture(fixture).c_str(), to.c_str(), FALSE);
  return to;
}

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

bool WriteAll(const std::string& path, const std::vector<uint8_t>& data) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
  return bool(f);
}

}  // namespace imgtest
