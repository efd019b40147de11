#include "test_support.h"

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
    testsupport::InsertCard(m_letter, testsupport::DefaultCardDir());
  else
    Remove();
}

void ScopedCard::Insert(const std::string& unixDir) { testsupport::InsertCard(m_letter, unixDir); }

void ScopedCard::Remove() { testsupport::RemoveCard(m_letter); }

bool CopyProgram(const std::string& name, const std::string& target) {
  return CopyFileA((ProgramFolder() + "\\" + name).c_str(), target.c_str(), FALSE) != 0;
}
