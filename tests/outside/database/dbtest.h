// Helpers of the photo database tests: a fresh database folder per test, files on disk,
// and lists turned into vectors.
#pragma once

#include <RecordGate.h>
#include <RecordGateEx.h>
#include <TickCache.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dbtest {

// A new empty folder under the temporary folder (its name holds Japanese characters).
std::string NewTempFolder(const char* tag);
void RemoveTree(const std::string& folder);
// Creates a file with some bytes (and its folders).
void Touch(const std::string& path, const std::string& content = "x");

std::vector<std::string> Texts(const STRINGLIST* list);
// Takes the list's texts and frees it.
std::vector<std::string> TakeTexts(STRINGLIST* list);
std::vector<std::string> Search(const char* query, HRESULT* hr = nullptr);

// A registration list with one record of each kind the import writes.
METADATA* FullList(long shot, const char* keywords, const char* maker, const char* model, const char* scene,
                   const char* folderName, const char* folderPath, const char* city);

// The registration list of the import for file number i, the import's calls for one
// file (one registration with the size and times its copy read, the list freed), and the path of file number i below a
// folder.
METADATA* ImportList(int i);
HRESULT RegisterLikeImport(const std::string& path, int i);
std::string PathOf(const char* prefix, int i);

// Every test gets its own database file, opened as the program opens it.
class DbTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string dir_;   // the database's folder
  std::string data_;  // a folder for files on disk
};

}  // namespace dbtest
