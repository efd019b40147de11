// Folders put on the real clipboard, read back through the plain clipboard once flushed.
#include <FolderClipboard.h>
#include <dropop/DropRules.h>
#include <files.h>
#include <fw/fw.h>
#include <fw/ole.h>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <tempfolder.h>
#include <testmain.h>

using namespace disktree;

static testmain::StartUp ole([] { return AfxOleInit() != FALSE; }, [] { AfxOleTerm(); });

namespace {

std::string ClipboardBytes(const char* format) {
  UINT cf = format == nullptr ? CF_HDROP : RegisterClipboardFormatA(format);
  std::string bytes;
  if (!OpenClipboard(nullptr)) return bytes;
  if (HANDLE h = GetClipboardData(cf)) {
    bytes.assign(static_cast<const char*>(GlobalLock(h)), GlobalSize(h));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return bytes;
}

}  // namespace

TEST(FolderClipboard, ThreeFoldersInAllThreeFormats) {
  std::string root = testsupport::NewTempFolder("clip");
  std::vector<std::string> folders{root + "\\a", root + "\\b", root + "\\\x95\x5C"};
  for (const std::string& f : folders) testsupport::MakeFolders(f);
  volatile bool busy = false;
  ASSERT_TRUE(PutFoldersOnClipboard(folders, DROPEFFECT_MOVE, &busy));
  EXPECT_FALSE(busy);

  std::string drop = ClipboardBytes(nullptr);
  std::vector<std::string> paths;
  ASSERT_EQ(dropop::ReadDropBlock(drop.data(), drop.size(), &paths), dropop::DropListFault::None);
  EXPECT_EQ(paths, folders);

  std::string ids = ClipboardBytes(CFSTR_SHELLIDLIST);
  ASSERT_GE(ids.size(), 5 * sizeof(UINT));
  const CIDA* cida = reinterpret_cast<const CIDA*>(ids.data());
  EXPECT_EQ(cida->cidl, 3u);
  // Each entry names its folder again.
  for (UINT i = 0; i < 3; ++i) {
    char path[MAX_PATH * 2] = {};
    ASSERT_TRUE(SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(ids.data() + cida->aoffset[i + 1]), path));
    EXPECT_STREQ(path, folders[i].c_str());
  }
  std::string effect = ClipboardBytes(CFSTR_PREFERREDDROPEFFECT);
  ASSERT_GE(effect.size(), 4u);
  EXPECT_EQ(dropop::PreferredEffect(effect.data(), effect.size()), (DWORD)DROPEFFECT_MOVE);
  EXPECT_EQ(ClipboardDropEffect(), (DWORD)DROPEFFECT_MOVE);

  ASSERT_TRUE(PutFoldersOnClipboard({folders[0]}, DROPEFFECT_COPY, nullptr));
  EXPECT_EQ(ClipboardDropEffect(), (DWORD)DROPEFFECT_COPY);
  testsupport::RemoveTree(root);
}

TEST(FolderClipboard, TheIdListArrayLayout) {
  std::string block = IdListArrayBlock({std::string("\x04\x00\x41\x42\x00\x00", 6), std::string("\x00\x00", 2)});
  const UINT* w = reinterpret_cast<const UINT*>(block.data());
  EXPECT_EQ(w[0], 2u);
  EXPECT_EQ(w[1], 16u);  // the desktop's empty list right after the offsets
  EXPECT_EQ(w[2], 18u);
  EXPECT_EQ(w[3], 24u);
  EXPECT_EQ(block.size(), 26u);
}
