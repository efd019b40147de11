#include "test_folder.h"

#include <windows.h>

#include <files.h>
#include <tempfolder.h>

TestFolder::TestFolder(const char* name) : path_(testsupport::NewTempFolder(name)) {}

TestFolder::~TestFolder() { testsupport::RemoveTree(path_); }

void TestFolder::Write(const std::string& rel, const std::string& data) const {
  testsupport::WriteWholeFile(*this / rel, data);
}

std::string TestFolder::Read(const std::string& rel) const { return testsupport::ReadWholeFile(*this / rel); }

bool TestFolder::Exists(const std::string& rel) const {
  return GetFileAttributesA((*this / rel).c_str()) != INVALID_FILE_ATTRIBUTES;
}
