// Helpers of the launcher's tests: a profile root of their own, folders the card drive
// can be pointed at, cards in drives, and waiting with short polls.
#pragma once
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>

// The profile functions read and write below HKCU\Software\GlimoraTest\autorun-<pid>-<n>
// while it lives (GLIMORA_PROFILE_ROOT, inherited by programs the test starts).
class ScopedProfileRoot {
 public:
  ScopedProfileRoot();
  ~ScopedProfileRoot();
  ScopedProfileRoot(const ScopedProfileRoot&) = delete;
  ScopedProfileRoot& operator=(const ScopedProfileRoot&) = delete;

 private:
  std::string m_root;
};

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

// Polls every 20 ms (dispatching this thread's messages) until the condition holds.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// The whole file, "" when it cannot be read.
std::string ReadTextFile(const std::string& path);

// The folder of the running test program (C:\glimora-bin).
std::string ProgramFolder();

// Copies a program of the program folder; FALSE when it fails.
bool CopyProgram(const std::string& name, const std::string& target);
