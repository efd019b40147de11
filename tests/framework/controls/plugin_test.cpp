// A plug-in loaded at run time works on the host's tree control (and calls the host
// class's own operation), its image list, its menu and a data object of a drop.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "ctltest.h"
#include "plugin_api.h"

using namespace ctltest;

void CHostTree::EnableStateClick(int nFlag) { m_nStateClick = nFlag; }

UINT CHostTree::GetSelectedCount() {
  UINT n = 0;
  for (HTREEITEM h = GetRootItem(); h; h = GetNextVisibleItem(h)) n += GetItemState(h, TVIS_SELECTED) != 0;
  return n;
}

namespace {

// The host's data for a drop: a file drop list and the folder-path format.
HGLOBAL MakeDropFiles(const std::vector<std::string>& paths) {
  size_t cb = sizeof(DROPFILES) + 1;
  for (const auto& p : paths) cb += p.size() + 1;
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, cb);
  DROPFILES* df = (DROPFILES*)::GlobalLock(h);
  df->pFiles = sizeof(DROPFILES);
  char* out = (char*)(df + 1);
  for (const auto& p : paths) {
    memcpy(out, p.c_str(), p.size() + 1);
    out += p.size() + 1;
  }
  ::GlobalUnlock(h);
  return h;
}

}  // namespace

class PluginTest : public testing::Test {
 protected:
  void SetUp() override {
    hPlugin = AfxLoadLibrary("fw_ctl_plugin.tsp");
    ASSERT_NE(nullptr, hPlugin);
    ASSERT_TRUE(host.Make(300, 300));
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_SHOWSELALWAYS, CRect(0, 0, 280, 280), &host, 1));
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 4));
    tree.SetImageList(&images, TVSIL_NORMAL);
  }
  void TearDown() override {
    tree.DestroyWindow();  // the plug-in's item records go before the plug-in
    if (hPlugin) AfxFreeLibrary(hPlugin);
  }
  template <class T>
  T Export(const char* name) {
    return (T)::GetProcAddress(hPlugin, name);
  }
  HINSTANCE hPlugin = nullptr;
  CHostTree tree;
  CImageList images;
  CHostWnd host;
};

TEST_F(PluginTest, FillsTheHostsTreeAndImageList) {
  PFN_FILLTREE pfn = Export<PFN_FILLTREE>("FillTree");
  ASSERT_NE(nullptr, pfn);
  EXPECT_EQ(E_INVALIDARG, pfn(nullptr, nullptr, nullptr));  // the host's probe call
  ASSERT_EQ(S_OK, pfn(&tree, tree.GetImageList(TVSIL_NORMAL), TVI_ROOT));
  EXPECT_EQ(1, tree.m_nStateClick);
  EXPECT_EQ(2, images.GetImageCount());
  HTREEITEM hCard = tree.GetRootItem();
  ASSERT_NE(nullptr, hCard);
  EXPECT_STREQ("メモリーカード", tree.GetItemText(hCard));
  int nImage = 0, nSelected = 0;
  tree.GetItemImage(hCard, nImage, nSelected);
  EXPECT_EQ(1, nImage);
  HTREEITEM hFolder = tree.GetChildItem(hCard);
  ASSERT_NE(nullptr, hFolder);
  EXPECT_EQ(hFolder, tree.GetSelectedItem());
  EXPECT_EQ(20, *(int*)tree.GetItemData(hFolder));
  EXPECT_EQ((UINT)TVIS_EXPANDED, tree.GetItemState(hCard, TVIS_EXPANDED));
}

TEST_F(PluginTest, FillsTheHostsMenu) {
  PFN_FILLMENU pfn = Export<PFN_FILLMENU>("FillMenu");
  ASSERT_NE(nullptr, pfn);
  CMenu menu;
  ASSERT_TRUE(menu.CreateMenu());
  ASSERT_EQ(S_OK, pfn(&tree, &menu));
  CMenu* pSub = menu.GetSubMenu(0);
  ASSERT_NE(nullptr, pSub);
  ASSERT_EQ(3, pSub->GetMenuItemCount());
  // The host reads the item states by position.
  EXPECT_FALSE(pSub->GetMenuState(0, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_TRUE(pSub->GetMenuState(1, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_EQ((UINT)PLUGIN_FIRST_COMMAND + 2, pSub->GetMenuItemID(2));
  CString text;
  pSub->GetMenuString(1, text, MF_BYPOSITION);
  EXPECT_STREQ("名前の変更", text);
}

TEST_F(PluginTest, ReadsTheDropsDataObject) {
  PFN_READDROP pfn = Export<PFN_READDROP>("ReadDrop");
  ASSERT_NE(nullptr, pfn);
  COleDataSource source;
  source.CacheGlobalData(CF_HDROP, MakeDropFiles({"C:\\写真\\IMG_0001.JPG", "C:\\写真\\IMG_0002.JPG"}));
  COleDataObject data;
  data.Attach(source.GetIDataObject(TRUE));
  char path[MAX_PATH] = "";
  int bFolders = -1;
  ASSERT_EQ(S_OK, pfn(&data, path, sizeof(path), &bFolders));
  EXPECT_STREQ("C:\\写真\\IMG_0001.JPG", path);
  EXPECT_EQ(0, bFolders);
  data.Release();
}
