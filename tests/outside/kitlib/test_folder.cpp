#include "test_folder.h"

#include <windows.h>

#include <tempfolder.h>

#include <vector>

TestFolder::TestFolder(const char* name) : path_(testsupport::NewTempFolder(name)) {}

TestFolder::~TestFolder() { testsupport::RemoveTree(path_); }

void TestFolder::Write(const std::string& rel, const std::string& data) const {
  std::string full = *this / rel;
  for (size_t i = path_.size() + 1; i < full.size(); ++i)
    if (full[i] == '\\') CreateDirectoryA(full.substr(0, i).c_str(), nullptr);
  HANDLE f = CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD w = 0;
  WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &w, nullptr);
  CloseHandle(f);
}

std::string TestFolder::Read(const std::string& rel) const {
  HANDLE f = CreateFileA((*this / rel).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return std::string();
  std::vector<char> buf(1 << 20);
  DWORD got = 0;
  ReadFile(f, buf.data(), static_cast<DWORD>(buf.size()), &got, nullptr);
  CloseHandle(f);
  return std::string(buf.data(), got);
}

bool TestFolder::Exists(const std::string& rel) const {
  return GetFileAttributesA((*this / rel).c_str()) != INVALID_FILE_ATTRIBUTES;
}
