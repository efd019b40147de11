#include "test_support.h"

#include <gtest/gtest.h>

#include "card.h"
#include "files.h"
#include "tempfolder.h"

#include <vector>

TestFolder::TestFolder(const std::string& name)
    : m_rel("testdata\\autorun\\" + name + "-" + std::to_string(GetCurrentProcessId())) {
  testsupport::RemoveTree(Win());
  testsupport::MakeFolders(Win());
}

TestFolder::~TestFolder() { testsupport::RemoveTree(Win()); }

std::string TestFolder::Win(const std::string& rel) const {
  return ProgramFolder() + "\\" + m_rel + (rel.empty() ? "" : "\\" + rel);
}

std::string TestFolder::Unix(const std::string& rel) const {
  std::string path = std::string(AUTORUN_TEST_BIN_DIR) + "/" + m_rel + (rel.empty() ? "" : "/" + rel);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

void TestFolder::MakeDirs(std::initializer_list<const char*> rels) const {
  for (const char* rel : rels) testsupport::MakeFolders(Win(rel));
}

void TestFolder::MakeFile(const std::string& rel, const std::string& text) const {
  testsupport::WriteWholeFile(Win(rel), text);
}

ScopedCard::ScopedCard(char letter, const std::string& unixDir) : m_letter(letter) { Insert(unixDir); }

ScopedCard::~ScopedCard() {
  if ((m_letter | 0x20) == 'e' && !testsupport::DefaultCardDir().empty())
    Insert(testsupport::DefaultCardDir());
  else
    Remove();
}

// A card that did not go in or out fails the test here, with the helper's error, instead
// of as a wait for the program to notice it.
void ScopedCard::Insert(const std::string& unixDir) {
  EXPECT_EQ(testsupport::InsertCard(m_letter, unixDir), 0u) << "card insert into " << m_letter << ": failed";
}

void ScopedCard::Remove() {
  EXPECT_EQ(testsupport::RemoveCard(m_letter), 0u) << "card removal from " << m_letter << ": failed";
}

bool CopyProgram(const std::string& name, const std::string& target) {
  return CopyFileA((ProgramFolder() + "\\" + name).c_str(), target.c_str(), FALSE) != 0;
}
