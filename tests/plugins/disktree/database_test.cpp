// The photo database after the disk tree's folder commands: a drop, a paste, a move that
// stops part-way, a rename and a deletion each take the registered files' entries and
// their check marks along, read back from the database afterwards.
#include <DiskTreeRules.h>
#include <FolderTreePlugin.h>
#include <RecordGate.h>
#include <RecordGateEx.h>
#include <TickCache.h>
#include <VxResourceIds.h>
#include <files.h>
#include <gtest/gtest.h>
#include <profileroot.h>
#include <tempfolder.h>
#include <testmain.h>

#include "host.h"

using disktreetest::Answering;
using disktreetest::DropBlock;
using disktreetest::EmptyTheClipboard;
using disktreetest::Host;

static testmain::StartUp ole([] { return AfxOleInit() != FALSE; }, [] { AfxOleTerm(); });

namespace {

// A folder tree of registered, check-marked pictures with its own database, and the
// plug-in's tree opened on it.
struct Library {
  testsupport::ScopedProfileRoot profile{"disktree-db"};
  std::string root = testsupport::NewTempFolder("dtdb");
  std::string db = testsupport::NewTempFolder("dtdb-db");
  Host host;

  Library() {
    VxDBWExitDatabase(-1);
    VxDBSetFolder(db.c_str());
    VxDBWInitDatabase();
    for (const char* f : {"\\photos\\a.jpg", "\\photos\\2024\\b.jpg", "\\loose.jpg", "\\other\\c.jpg"})
      Register(root + f);
    testsupport::MakeFolders(root + "\\target");
  }
  ~Library() {
    VxDBWExitDatabase(-1);
    VxDBSetFolder(nullptr);
    testsupport::RemoveTree(root);
    testsupport::RemoveTree(db);
  }
  void Register(const std::string& path) {
    testsupport::WriteWholeFile(path, "jpg");
    EXPECT_EQ(VxDBWEnrollFile(path.c_str(), 0), S_OK) << path;
    EXPECT_EQ(Mark_SetCheck(path.c_str(), 1), S_OK) << path;
  }
  bool Start() { return host.Open({root + "\\other", root + "\\target", root + "\\photos"}); }
  HRESULT DropOn(const std::string& folder, const std::vector<std::string>& paths, DWORD effect) {
    HTREEITEM item = host.Item(folder);
    if (!item) return E_INVALIDARG;
    host.tree.EnsureVisible(item);
    CRect rc;
    host.tree.GetItemRect(item, &rc, TRUE);
    HGLOBAL block = DropBlock(paths);
    HRESULT hr = host.Get<PFN_PLUGIN_Drop>("Drop")(&host.tree, block, effect, rc.CenterPoint().x, rc.CenterPoint().y);
    GlobalFree(block);
    return hr;
  }
  int Command(UINT id) {
    for (int index = 0; index < 16; ++index)
      if (disktree::ContextCommandOfIndex(index) == id)
        return host.Get<PFN_PLUGIN_FolderMenu>("FolderMenu")(&host.tree, index);
    ADD_FAILURE() << "no folder menu index runs " << id;
    return -1;
  }
};

// What the database holds of a path: "registered+marked", "registered", "marked" or "none".
std::string Entries(const std::string& path) {
  const bool registered = VxDBWIsEnrolled(path.c_str()) == S_OK;
  int mark = 0;
  const bool marked = Mark_GetCheck(path.c_str(), &mark) == S_OK && mark == 1;
  return registered && marked ? "registered+marked" : registered ? "registered" : marked ? "marked" : "none";
}

struct Expected {
  const char* path;  // below the library's root
  const char* entries;
};

void ExpectEntries(const std::string& root, std::initializer_list<Expected> table) {
  for (const Expected& e : table) EXPECT_EQ(Entries(root + e.path), e.entries) << e.path;
}

}  // namespace

TEST(DiskTreeDatabase, ADropAndAPasteThatMoveTakeTheEntriesAlong) {
  Library lib;
  ASSERT_TRUE(lib.Start());
  // A folder and a file dropped with the move effect.
  ASSERT_EQ(lib.DropOn(lib.root + "\\target", {lib.root + "\\photos", lib.root + "\\loose.jpg"}, DROPEFFECT_MOVE),
            S_OK);
  ExpectEntries(lib.root, {{"\\target\\photos\\a.jpg", "registered+marked"},
                           {"\\target\\photos\\2024\\b.jpg", "registered+marked"},
                           {"\\target\\loose.jpg", "registered+marked"},
                           {"\\photos\\a.jpg", "none"},
                           {"\\photos\\2024\\b.jpg", "none"},
                           {"\\loose.jpg", "none"}});

  // Cut, then paste into the target.
  ASSERT_TRUE(lib.host.SelectOnly(lib.root + "\\other"));
  ASSERT_EQ(lib.Command(ID_DISKTREE_CTX_CUT), 0);
  ASSERT_TRUE(lib.host.SelectOnly(lib.root + "\\target"));
  lib.Command(ID_DISKTREE_CTX_PASTE);
  EmptyTheClipboard();
  ASSERT_NE(GetFileAttributesA((lib.root + "\\target\\other\\c.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
  ExpectEntries(lib.root, {{"\\target\\other\\c.jpg", "registered+marked"}, {"\\other\\c.jpg", "none"}});
}

// The shell stops a move at a source it cannot move (as at the user's cancel): what moved
// before takes its entries along, what stayed keeps them.
TEST(DiskTreeDatabase, AMoveStoppedPartWayTakesAlongWhatMoved) {
  Library lib;
  ASSERT_TRUE(lib.Start());
  const std::string held = lib.root + "\\loose.jpg";
  HANDLE h = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(lib.DropOn(lib.root + "\\target", {lib.root + "\\photos", held}, DROPEFFECT_MOVE), E_FAIL);
  CloseHandle(h);
  ASSERT_NE(GetFileAttributesA((lib.root + "\\target\\photos\\a.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
  ASSERT_NE(GetFileAttributesA(held.c_str()), INVALID_FILE_ATTRIBUTES);
  ExpectEntries(lib.root, {{"\\target\\photos\\a.jpg", "registered+marked"},
                           {"\\target\\photos\\2024\\b.jpg", "registered+marked"},
                           {"\\photos\\a.jpg", "none"},
                           {"\\loose.jpg", "registered+marked"},
                           {"\\target\\loose.jpg", "none"}});
}

TEST(DiskTreeDatabase, ARenameTakesTheEntriesAlong) {
  Library lib;
  ASSERT_TRUE(lib.Start());
  auto rename = lib.host.Get<PFN_PLUGIN_RenameTreeItem>("RenameTreeItem");
  char name[] = "\x8E\xCA\x90\x5E";  // 写真, whose second trail byte is '^'
  ASSERT_EQ(rename(&lib.host.tree, lib.host.Item(lib.root + "\\photos"), name), S_OK);
  ExpectEntries(lib.root, {{"\\\x8E\xCA\x90\x5E\\a.jpg", "registered+marked"},
                           {"\\\x8E\xCA\x90\x5E\\2024\\b.jpg", "registered+marked"},
                           {"\\photos\\a.jpg", "none"}});
  // Only the letter case: the entries take the new spelling.
  char upper[] = "OTHER";
  ASSERT_EQ(rename(&lib.host.tree, lib.host.Item(lib.root + "\\other"), upper), S_OK);
  STRINGLIST* list = nullptr;
  ASSERT_EQ(VxDBWxSearch(("Path," + lib.root + "\\OTHER").c_str(), &list), S_OK);
  ASSERT_TRUE(list);
  EXPECT_STREQ(list->pszText, (lib.root + "\\OTHER\\c.jpg").c_str());
  FreeStringList(list);
}

TEST(DiskTreeDatabase, ADeletionTakesTheEntriesAwayAndAnsweringNoKeepsThem) {
  Library lib;
  ASSERT_TRUE(lib.Start());
  ASSERT_TRUE(lib.host.SelectOnly(lib.root + "\\photos"));
  // The trash's confirmation answered No: nothing goes, the entries stay.
  Answering(IDNO, [&] { lib.Command(ID_DISKTREE_CTX_DELETE); });
  ASSERT_NE(GetFileAttributesA((lib.root + "\\photos").c_str()), INVALID_FILE_ATTRIBUTES);
  ExpectEntries(lib.root, {{"\\photos\\a.jpg", "registered+marked"}, {"\\photos\\2024\\b.jpg", "registered+marked"}});

  ASSERT_TRUE(lib.host.SelectOnly(lib.root + "\\photos"));
  Answering(IDYES, [&] { lib.Command(ID_DISKTREE_CTX_DELETE); });
  ASSERT_EQ(GetFileAttributesA((lib.root + "\\photos").c_str()), INVALID_FILE_ATTRIBUTES);
  ExpectEntries(lib.root, {{"\\photos\\a.jpg", "none"},
                           {"\\photos\\2024\\b.jpg", "none"},
                           {"\\loose.jpg", "registered+marked"},
                           {"\\other\\c.jpg", "registered+marked"}});
}
