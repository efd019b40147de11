// CMenu: building and editing menus, item states and strings, loading from a resource
// library, and menus shared with a second module.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "gdi_res.h"
#include "menu_peer.h"
#include "res_scope.h"

namespace {

// "id:text" of every item, "|"-separated; separators are "0:", sub-menus "-1:text".
std::string Items(const CMenu& menu) {
  std::string out;
  for (int i = 0; i < menu.GetMenuItemCount(); i++) {
    CString text;
    menu.GetMenuString(i, text, MF_BYPOSITION);
    if (i) out += "|";
    out += std::to_string((int)menu.GetMenuItemID(i)) + ":" + (LPCSTR)text;
  }
  return out;
}

TEST(MenuTable, InsertModifyDeleteAndRemove) {
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  struct Step {
    const char* what;
    std::function<BOOL(CMenu&)> op;
    BOOL ok;
    const char* items;
  } steps[] = {
      {"append", [](CMenu& m) { return m.AppendMenu(MF_STRING, 10, "コピー") && m.AppendMenu(MF_STRING, 11, "切り取り") &&
                                        m.AppendMenu(MF_STRING, 12, "貼り付け"); },
       TRUE, "10:コピー|11:切り取り|12:貼り付け"},
      {"insert separator by position", [](CMenu& m) { return m.InsertMenu(1, MF_BYPOSITION | MF_SEPARATOR); }, TRUE,
       "10:コピー|0:|11:切り取り|12:貼り付け"},
      {"insert before a command", [](CMenu& m) { return m.InsertMenu(12, MF_BYCOMMAND | MF_STRING, 13, "削除"); }, TRUE,
       "10:コピー|0:|11:切り取り|13:削除|12:貼り付け"},
      {"modify id and text", [](CMenu& m) { return m.ModifyMenu(11, MF_BYCOMMAND | MF_STRING, 14, "移動"); }, TRUE,
       "10:コピー|0:|14:移動|13:削除|12:貼り付け"},
      {"modify by position", [](CMenu& m) { return m.ModifyMenu(4, MF_BYPOSITION | MF_STRING, 12, "表示"); }, TRUE,
       "10:コピー|0:|14:移動|13:削除|12:表示"},
      {"delete by position", [](CMenu& m) { return m.DeleteMenu(1, MF_BYPOSITION); }, TRUE,
       "10:コピー|14:移動|13:削除|12:表示"},
      {"remove by command", [](CMenu& m) { return m.RemoveMenu(13, MF_BYCOMMAND); }, TRUE, "10:コピー|14:移動|12:表示"},
      {"delete a missing command", [](CMenu& m) { return m.DeleteMenu(99, MF_BYCOMMAND); }, FALSE,
       "10:コピー|14:移動|12:表示"},
      {"append a sub-menu", [](CMenu& m) {
         CMenu sub;
         sub.CreatePopupMenu();
         sub.AppendMenu(MF_STRING, 20, "サブ");
         return m.AppendMenu(MF_POPUP, (UINT_PTR)sub.Detach(), "その他");
       },
       TRUE, "10:コピー|14:移動|12:表示|-1:その他"},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(!!s.op(menu), !!s.ok) << s.what;
    EXPECT_EQ(Items(menu), s.items) << s.what;
  }
  CMenu* pSub = menu.GetSubMenu(3);
  ASSERT_NE(pSub, nullptr);
  EXPECT_EQ(Items(*pSub), "20:サブ");
  EXPECT_EQ(menu.GetSubMenu(0), nullptr);
}

TEST(MenuStates, EnableCheckRadioAndDefault) {
  CMenu menu;
  menu.CreatePopupMenu();
  for (UINT id = 10; id <= 12; id++) menu.AppendMenu(MF_STRING, id, "項目");

  EXPECT_EQ(menu.EnableMenuItem(10, MF_BYCOMMAND | MF_GRAYED), (UINT)MF_ENABLED);
  EXPECT_EQ(menu.EnableMenuItem(10, MF_BYCOMMAND | MF_ENABLED), (UINT)MF_GRAYED);
  menu.EnableMenuItem(0, MF_BYPOSITION | MF_DISABLED);
  EXPECT_TRUE(menu.GetMenuState(10, MF_BYCOMMAND) & MF_DISABLED);
  EXPECT_EQ(menu.EnableMenuItem(99, MF_BYCOMMAND | MF_GRAYED), (UINT)-1);

  EXPECT_EQ(menu.CheckMenuItem(11, MF_BYCOMMAND | MF_CHECKED), (UINT)MF_UNCHECKED);
  EXPECT_TRUE(menu.GetMenuState(11, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_EQ(menu.CheckMenuItem(11, MF_BYCOMMAND | MF_UNCHECKED), (UINT)MF_CHECKED);

  ASSERT_TRUE(menu.CheckMenuRadioItem(10, 12, 12, MF_BYCOMMAND));
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STATE | MIIM_FTYPE;
  ASSERT_TRUE(menu.GetMenuItemInfo(12, &info));
  EXPECT_TRUE(info.fState & MFS_CHECKED);
  EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
  EXPECT_FALSE(menu.GetMenuState(10, MF_BYCOMMAND) & MF_CHECKED);
  ASSERT_TRUE(menu.CheckMenuRadioItem(0, 2, 0, MF_BYPOSITION));
  EXPECT_FALSE(menu.GetMenuState(12, MF_BYCOMMAND) & MF_CHECKED);

  ASSERT_TRUE(menu.SetDefaultItem(11));
  EXPECT_EQ(menu.GetDefaultItem(GMDI_USEDISABLED), 11u);
  EXPECT_TRUE(menu.GetMenuState(11, MF_BYCOMMAND) & MF_DEFAULT);
  ASSERT_TRUE(menu.SetDefaultItem(2, TRUE));
  EXPECT_EQ(menu.GetDefaultItem(GMDI_USEDISABLED, TRUE), 2u);

  char text[] = "新しい名前";
  info.fMask = MIIM_STRING;
  info.dwTypeData = text;
  ASSERT_TRUE(menu.SetMenuItemInfo(1, &info, TRUE));
  CString s;
  EXPECT_EQ(menu.GetMenuString(11, s, MF_BYCOMMAND), (int)strlen(text));
  EXPECT_EQ(s, text);
}

TEST(MenuStrings, LongJapaneseTextComesBackWhole) {
  CString longText;
  for (int i = 0; i < 300; i++) longText += "表";  // 600 bytes, every trail byte a backslash
  CMenu menu;
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, 1, longText);
  CString s;
  EXPECT_EQ(menu.GetMenuString(1, s, MF_BYCOMMAND), 600);
  EXPECT_EQ(s, longText);
  // The buffer form gives what fits with its NUL, never half a character.
  menu.AppendMenu(MF_STRING, 2, "abcdefgh");
  struct Case {
    UINT id;
    int max;
    int length;
  } cases[] = {{1, 1, 0}, {1, 5, 4}, {1, 6, 4}, {1, 7, 6}, {2, 5, 4}, {2, 9, 8}, {2, 100, 8}};
  for (const Case& k : cases) {
    char buf[128];
    memset(buf, 'x', sizeof(buf));
    EXPECT_EQ(menu.GetMenuString(k.id, buf, k.max, MF_BYCOMMAND), k.length) << k.id << " " << k.max;
    EXPECT_EQ(buf[k.length], '\0');
    EXPECT_EQ(std::string(buf, k.length), std::string(k.id == 1 ? (LPCSTR)longText : "abcdefgh", k.length));
    EXPECT_EQ(buf[k.max], 'x');
  }
  EXPECT_EQ(menu.GetMenuString(7, s, MF_BYCOMMAND), 0);
  EXPECT_TRUE(s.IsEmpty());
}

TEST(MenuResources, LoadsFromTheCurrentResourceHandle) {
  CMenu none;
  EXPECT_FALSE(none.LoadMenu(IDR_TEST_MENU));
  ResourceScope res;
  ASSERT_NE(res.Handle(), nullptr);
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
  EXPECT_EQ(Items(menu), "-1:ファイル(&F)|-1:表示(&V)");
  CMenu* pFile = menu.GetSubMenu(0);
  ASSERT_NE(pFile, nullptr);
  EXPECT_EQ(Items(*pFile), "1001:開く(&O)...|0:|1002:閉じる(&C)");
  EXPECT_TRUE(pFile->GetMenuState(ID_TEST_FILE_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
  CMenu* pView = menu.GetSubMenu(1);
  EXPECT_TRUE(pView->GetMenuState(ID_VIEW_LIST, MF_BYCOMMAND) & MF_CHECKED);

  // Sub-menus are temporary wrappers: the same one until the idle clean-up, which lets go
  // of the wrapper but not of the menu.
  EXPECT_EQ(menu.GetSubMenu(0), pFile);
  HMENU hFile = pFile->GetSafeHmenu();
  CMenu::DeleteTempMap();
  EXPECT_TRUE(::IsMenu(hFile));
  EXPECT_EQ(menu.GetSubMenu(0)->GetSafeHmenu(), hFile);
  // A sub-menu someone attached is found as that object.
  CMenu owner;
  owner.Attach(hFile);
  EXPECT_EQ(menu.GetSubMenu(0), &owner);
  owner.Detach();
  CMenu::DeleteTempMap();
}

TEST(MenuResources, LoadsAlongTheExtensionChain) {
  ChainScope chain;
  ASSERT_NE(chain.Handle(), nullptr);
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
  EXPECT_EQ(menu.GetMenuItemCount(), 2);
}

TEST(MenuModules, MadeHereFilledThereDestroyedHere) {
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  menu.AppendMenu(MF_STRING, 1, "最初");
  ASSERT_TRUE(PeerFillMenu(&menu));
  EXPECT_EQ(Items(menu), "1:最初|2001:ほかのモジュールの項目|0:|-1:サブメニュー");
  CMenu* pSub = menu.GetSubMenu(3);
  ASSERT_NE(pSub, nullptr);
  EXPECT_TRUE(pSub->GetMenuState(2101, MF_BYCOMMAND) & MF_GRAYED);
  // One handle map for every module.
  EXPECT_EQ(PeerFromHandle(menu.m_hMenu), &menu);

  HMENU hMenu = menu.m_hMenu, hSub = pSub->m_hMenu;
  CMenu::DeleteTempMap();
  EXPECT_TRUE(menu.DestroyMenu());
  EXPECT_FALSE(::IsMenu(hMenu));
  EXPECT_FALSE(::IsMenu(hSub));
  EXPECT_FALSE(menu.DestroyMenu());

  CMenu* pTheirs = PeerNewMenu();
  ASSERT_NE(pTheirs, nullptr);
  HMENU hTheirs = pTheirs->GetSafeHmenu();
  EXPECT_EQ(Items(*pTheirs), "2201:新しいメニュー");
  delete pTheirs;
  EXPECT_FALSE(::IsMenu(hTheirs));

  // The host makes an empty object; the other module loads into it from the resources.
  ResourceScope res;
  CMenu loaded;
  ASSERT_TRUE(PeerLoadMenu(&loaded));
  EXPECT_EQ(loaded.GetMenuItemCount(), 2);
  HMENU hLoaded = loaded.Detach();
  EXPECT_EQ(PeerFromHandle(hLoaded), CMenu::FromHandle(hLoaded)) << "a temporary of this thread";
  ::DestroyMenu(hLoaded);
  CMenu::DeleteTempMap();
}

}  // namespace
