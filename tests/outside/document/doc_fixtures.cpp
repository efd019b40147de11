#include "doc_fixtures.h"

#include <VxDatabase.h>
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <memory>

#include "files.h"
#include "profileroot.h"
#include "program.h"
#include "pump.h"
#include "tempfolder.h"

namespace doctest {

namespace {

std::string g_scratch;
std::unique_ptr<testsupport::ScopedProfileRoot> g_root;

std::string ScratchRoot() {
  if (g_scratch.empty()) g_scratch = testsupport::NewTempFolder("glimora-vxdoc");
  return g_scratch;
}

// The program's own profile root and photo database, set before any test runs.
class PrivateStores : public testing::Environment {
 public:
  void SetUp() override {
    g_root.reset(new testsupport::ScopedProfileRoot("vxdoc"));
    std::string db = ScratchDir("db");
    VxDBSetFolder(db.c_str());
  }
  void TearDown() override {
    VxDBClose(-1);  // so that its files can go
    g_root.reset();
    if (!g_scratch.empty()) testsupport::RemoveTree(g_scratch);
  }
};
testing::Environment* const kStores = testing::AddGlobalTestEnvironment(new PrivateStores);

}  // namespace

std::string Fixture(const char* name) { return testsupport::Fixture(name); }

std::string ScratchDir(const char* sub) {
  std::string d = ScratchRoot() + "\\" + sub;
  testsupport::RemoveTree(d);
  CreateDirectoryA(d.c_str(), nullptr);
  return d;
}

bool CopyFixture(const char* fixture, const std::string& to) {
  return CopyFileA(Fixture(fixture).c_str(), to.c_str(), FALSE) != FALSE;
}

bool WriteText(const std::string& path, const std::string& text) { return testsupport::WriteWholeFile(path, text); }

std::string ProfileRoot() { return g_root->key() + "\\Marlo5"; }

void WriteProfileString(const char* section, const char* key, const char* value) {
  std::string path = ProfileRoot() + "\\" + section;
  SHSetValueA(HKEY_CURRENT_USER, path.c_str(), key, REG_SZ, value, (DWORD)strlen(value) + 1);
}

void WriteProfileInt(const char* section, const char* key, int value) {
  std::string path = ProfileRoot() + "\\" + section;
  DWORD v = (DWORD)value;
  SHSetValueA(HKEY_CURRENT_USER, path.c_str(), key, REG_DWORD, &v, sizeof(v));
}

void RemoveProfileSection(const char* section) {
  SHDeleteKeyA(HKEY_CURRENT_USER, (ProfileRoot() + "\\" + section).c_str());
}

}  // namespace doctest

IMPLEMENT_DYNCREATE(CRecordingView, CView)

void CRecordingView::OnUpdate(CView*, LPARAM lHint, CObject* pHint) {
  doctest::SeenHint s = {lHint, false, 0, 0, nullptr};
  if (pHint && pHint->IsKindOf(RUNTIME_CLASS(CSendCommandObject))) {
    CSendCommandObject* pCommand = static_cast<CSendCommandObject*>(pHint);
    s.command = true;
    s.id = pCommand->GetID();
    s.value = pCommand->GetValue();
    s.param = pCommand->GetParam();
  }
  m_seen.push_back(s);
}
