// Helpers of the launcher's tests: folders the card drive can be pointed at, cards in
// drives, and waiting with short polls (the profile root is the shared test helper's).
#pragma once
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>

#include <files.h>
#include <profileroot.h>
#include <program.h>
#include <pump.h>

// A folder below the program folder's testdata, removed with everything in it at the end.
// Windows sees it as C:\glimora-bin\..., Wine's mount manager needs the Linux path.
class TestFolder {
 public:
  explicit TestFolder(const std::string& name);
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  std::string Win(const std::string& rel = std::string()) const;
  std::string Unix(const std::string& rel = std::string()) const;
  // Folders ("DCIM\\100ABCDE") and empty files relative to the folder.
  void MakeDirs(std::initializer_list<const char*> rels) const;
  void MakeFile(const std::string& rel, const std::string& text = std::string()) const;

 private:
  std::string m_rel;  // below testdata, with "\\"
};

// A card in drive `letter` whose medium is the folder; at the end the drive is taken out,
// or, for the prefix's own card drive E:, given its usual medium back.
class ScopedCard {
 public:
  ScopedCard(char letter, const std::string& unixDir);
  ~ScopedCard();
  ScopedCard(const ScopedCard&) = delete;
  ScopedCard& operator=(const ScopedCard&) = delete;
  void Insert(const std::string& unixDir);
  void Remove();

 private:
  char m_letter;
};

// Polls (dispatching this thread's messages) until the condition holds.
using testsupport::WaitUntil;

// The folder of the running test program (C:\glimora-bin).
using testsupport::ProgramFolder;

// Copies a program of the program folder; FALSE when it fails.
bool CopyProgram(const std::string& name, const std::string& target);
