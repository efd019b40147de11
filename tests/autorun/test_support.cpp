#include "test_support.h"

#include "card.h"
#include "tempfolder.h"

#include <vector>

namespace {

void MakeDirPath(const std::string& path) {
  for (size_t i = 3; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
  }
}

}  // namespace

ScopedProfileRoot::ScopedProfileRoot() {
  static int counter = 0;
  m_root = "Software\\GlimoraTest\\autorun-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
  SetEnvironmentVariableA("GLIMORA_PROFILE_ROOT", m_root.c_str());
}

ScopedProfileRoot::~ScopedProfileRoot() {
  SetEnvironmentVariableA("GLIMORA_PROFILE_ROOT", nullptr);
  RegDeleteTreeA(HKEY_CURRENT_USER, m_root.c_str());
}

TestFolder::TestFolder(const std::string& name)
    : m_rel("testdata\\autorun\\" + name + "-" + std::to_string(GetCurrentProcessId())) {
  testsupport::RemoveTree(Win());
  MakeDirPath(Win());
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
  for (const char* rel : rels) MakeDirPath(Win(rel));
}

void TestFolder::MakeFile(const std::string& rel, const std::string& text) const {
  std::string path = Win(rel);
  MakeDirPath(path.substr(0, path.rfind('\\')));
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written;
  WriteFile(h, text.data(), (DWORD)text.size(), &written, nullptr);
  CloseHandle(h);
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

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    Sleep(20);
  }
}

std::string ReadTextFile(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::string();
  std::string text;
  char buf[4096];
  DWORD got;
  while (ReadFile(h, buf, sizeof(buf), &got, nullptr) && got) text.append(buf, got);
  CloseHandle(h);
  return text;
}

std::string ProgramFolder() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s = path;
  return s.substr(0, s.rfind('\\'));
}

bool CopyProgram(const std::string& name, const std::string& target) {
  return CopyFileA((ProgramFolder() + "\\" + name).c_str(), target.c_str(), FALSE) != 0;
}
