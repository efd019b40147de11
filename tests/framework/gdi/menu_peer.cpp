// The peer module of the menu tests: fills, loads and makes menus for the test program.
#include "menu_peer.h"

#include "gdi_res.h"

BOOL PeerFillMenu(CMenu* pMenu) {
  if (pMenu == nullptr) return FALSE;
  pMenu->AppendMenu(MF_STRING, 2001, "ほかのモジュールの項目");
  pMenu->AppendMenu(MF_SEPARATOR);
  CMenu sub;
  if (!sub.CreatePopupMenu()) return FALSE;
  sub.AppendMenu(MF_STRING | MF_GRAYED, 2101, "サブ項目");
  // The parent menu takes the sub-menu over: detach so our object doesn't destroy it.
  return pMenu->AppendMenu(MF_POPUP, (UINT_PTR)sub.Detach(), "サブメニュー");
}

BOOL PeerLoadMenu(CMenu* pMenu) { return pMenu != nullptr && pMenu->LoadMenu(IDR_TEST_MENU); }

CMenu* PeerNewMenu() {
  CMenu* p = new CMenu;
  p->CreatePopupMenu();
  p->AppendMenu(MF_STRING, 2201, "新しいメニュー");
  return p;
}

CMenu* PeerFromHandle(HMENU hMenu) { return CMenu::FromHandle(hMenu); }
