// DiskTree.psp loaded as the folder pane loads it: its exports by name.
#include <VxResourceIds.h>
#include <gtest/gtest.h>
#include <profileroot.h>
#include <windows.h>

#include <string>

namespace {

struct Plugin {
  HMODULE module = LoadLibraryA("DiskTree.psp");
  ~Plugin() {
    if (module) FreeLibrary(module);
  }
  template <class F>
  F Get(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }
};

std::string ResourceText(UINT id) {
  HMODULE res = GetModuleHandleA("VxResource.dll");
  char text[512] = {};
  LoadStringA(res, id, text, sizeof text);
  return text;
}

}  // namespace

TEST(DiskTreeExports, TitlesPriorityHeightAndPermissions) {
  testsupport::ScopedProfileRoot profile("disktree-exports");
  Plugin p;
  ASSERT_TRUE(p.module) << GetLastError();
  typedef HRESULT (*Text)(char*, int);
  typedef HRESULT (*Title)(int, char*, int, void*);
  typedef HRESULT (*Tip)(int, char*, int);
  typedef HRESULT (*IntOut)(int*);
  typedef HRESULT (*IntIn)(int);
  typedef HRESULT (*None)();

  char buffer[260] = {};
  ASSERT_EQ(p.Get<Text>("GetPluginTitle")(buffer, sizeof buffer), S_OK);
  EXPECT_EQ(std::string(buffer), ResourceText(IDS_DISKTREE_PLUGIN_TITLE));
  EXPECT_FALSE(std::string(buffer).empty());
  INT_PTR extra = 77;
  ASSERT_EQ(p.Get<Title>("GetTitle")(0, buffer, sizeof buffer, &extra), S_OK);
  EXPECT_EQ(std::string(buffer), ResourceText(IDS_TREE_TITLE_DISK));
  EXPECT_EQ(extra, 0);
  // Cut to the buffer, never inside a double-byte character.
  char small[4] = {};
  ASSERT_EQ(p.Get<Tip>("GetToolTips")(0, small, sizeof small), S_OK);
  EXPECT_EQ(std::string(small), ResourceText(IDS_DISKTREE_TOOLTIP).substr(0, 2));

  int value = 0;
  ASSERT_EQ(p.Get<IntOut>("GetPriority")(&value), S_OK);
  EXPECT_EQ(value, 2);
  ASSERT_EQ(p.Get<IntOut>("GetTreeHeight")(&value), S_OK);
  EXPECT_EQ(value, -1);
  ASSERT_EQ(p.Get<IntIn>("SetTreeHeight")(321), S_OK);
  ASSERT_EQ(p.Get<IntOut>("GetTreeHeight")(&value), S_OK);
  EXPECT_EQ(value, 321);
  EXPECT_EQ(p.Get<None>("IsDragAndDrop")(), S_OK);
  EXPECT_EQ(p.Get<None>("IsMultiSelectTreeItem")(), S_OK);
}
