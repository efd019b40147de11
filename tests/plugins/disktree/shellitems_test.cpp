// Identifier lists and names through the prefix's real shell.
#include <ShellItems.h>
#include <files.h>
#include <gtest/gtest.h>
#include <tempfolder.h>
#include <textkit/text.h>

using namespace disktree;

namespace {

struct Com {
  Com() { CoInitialize(nullptr); }
  ~Com() { CoUninitialize(); }
};

ItemIdList Parse(IShellFolder* desktop, const std::string& path) {
  ItemIdList pidl;
  std::wstring w = textkit::AnsiToWide(path);
  desktop->ParseDisplayName(nullptr, nullptr, &w[0], nullptr, pidl.Out(), nullptr);
  return pidl;
}

}  // namespace

TEST(ShellItems, ListsAreMeasuredJoinedAndCut) {
  Com com;
  std::string root = testsupport::NewTempFolder("items");
  testsupport::MakeFolders(root + "\\a\\\x95\x5C");
  IShellFolder* desktop = nullptr;
  ASSERT_EQ(SHGetDesktopFolder(&desktop), S_OK);

  ItemIdList deep = Parse(desktop, root + "\\a\\\x95\x5C");
  ASSERT_TRUE(deep.Get());
  EXPECT_EQ(ItemIdListSize(nullptr), 0u);
  USHORT end = 0;
  EXPECT_EQ(ItemIdListSize(reinterpret_cast<LPCITEMIDLIST>(&end)), 2u);

  // The first item alone is a list of its own.
  ItemIdList first(CopyFirstItemId(deep.Get()));
  ASSERT_TRUE(first.Get());
  EXPECT_EQ(ItemIdListSize(first.Get()), deep.Get()->mkid.cb + 2u);
  EXPECT_EQ(NextItemId(first.Get())->mkid.cb, 0);

  // A null first list joins to a copy of the second; two lists to their items in order.
  ItemIdList copy(JoinItemIdLists(nullptr, deep.Get()));
  ASSERT_TRUE(copy.Get());
  EXPECT_EQ(ItemIdListSize(copy.Get()), ItemIdListSize(deep.Get()));
  EXPECT_EQ(memcmp(copy.Get(), deep.Get(), ItemIdListSize(deep.Get())), 0);
  ItemIdList rest(JoinItemIdLists(nullptr, NextItemId(deep.Get())));
  ItemIdList joined(JoinItemIdLists(first.Get(), rest.Get()));
  EXPECT_EQ(memcmp(joined.Get(), deep.Get(), ItemIdListSize(deep.Get())), 0);

  // The parsing name of a file-system folder is its whole path, a Japanese name included.
  std::string name;
  ASSERT_TRUE(GetDisplayNameText(desktop, deep.Get(), SHGDN_FORPARSING, &name));
  EXPECT_TRUE(textkit::EqualNoCase(name, root + "\\a\\\x95\x5C")) << name;
  EXPECT_FALSE(GetDisplayNameText(nullptr, deep.Get(), SHGDN_FORPARSING, &name));

  std::string desktopPath = GetDesktopPath();
  EXPECT_NE(GetFileAttributesA(desktopPath.c_str()), INVALID_FILE_ATTRIBUTES) << desktopPath;
  desktop->Release();
  testsupport::RemoveTree(root);
}
