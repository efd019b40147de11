// A second module that works on menus the test program owns (fw_menu_peer.dll).
#pragma once
#include <fw/fw.h>

#ifdef MENU_PEER_BUILD
#define MENU_PEER_API extern "C" __declspec(dllexport)
#else
#define MENU_PEER_API extern "C" __declspec(dllimport)
#endif

// Appends a command, a separator and a sub-menu made here to the caller's menu.
MENU_PEER_API BOOL PeerFillMenu(CMenu* pMenu);
// Loads the test menu into the caller's object along the resource chain.
MENU_PEER_API BOOL PeerLoadMenu(CMenu* pMenu);
// A menu object made here, for the caller to delete.
MENU_PEER_API CMenu* PeerNewMenu();
// What FromHandle answers in this module.
MENU_PEER_API CMenu* PeerFromHandle(HMENU hMenu);
