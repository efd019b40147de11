// CMenu: a menu handle with its Win32 calls.
//
// A CMenu that made, loaded or attached a menu owns it: the destructor destroys it.
// FromHandle and GetSubMenu return the owning CMenu when there is one, else a temporary
// wrapper of the calling thread that lives until its idle clean-up (DeleteTempMap).
// The code lives in the framework DLL, so a menu made by one module may be filled by a
// second one and destroyed by the first.
#pragma once
#include <fw/gdi.h>

class FW_API CMenu : public CObject {
  DECLARE_DYNCREATE(CMenu)
 public:
  HMENU m_hMenu;

  CMenu() : m_hMenu(NULL) {}
  ~CMenu() override;  // DestroyMenu

  operator HMENU() const { return _FwIsNull(this) ? NULL : m_hMenu; }
  HMENU GetSafeHmenu() const { return _FwIsNull(this) ? NULL : m_hMenu; }

  static CMenu* PASCAL FromHandle(HMENU hMenu);
  // Frees this thread's temporary menu wrappers (at idle).
  static void PASCAL DeleteTempMap();

  BOOL Attach(HMENU hMenu);
  HMENU Detach();

  BOOL CreateMenu() { return Attach(::CreateMenu()); }
  BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
  // From the module that holds the menu along the resource chain (AfxFindResourceHandle).
  BOOL LoadMenu(LPCSTR lpszResourceName);
  BOOL LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCEA(nIDResource)); }
  BOOL LoadMenuIndirect(const void* lpMenuTemplate) { return Attach(::LoadMenuIndirectA(lpMenuTemplate)); }
  BOOL DestroyMenu();  // FALSE when there is no menu

  // --- Items
  BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR lpszNewItem = NULL) {
    return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
  }
  BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp) {
    return ::AppendMenuA(m_hMenu, nFlags | MF_BITMAP, nIDNewItem, (LPCSTR)pBmp->GetSafeHandle());
  }
  BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR lpszNewItem = NULL) {
    return ::InsertMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
  }
  BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp) {
    return ::InsertMenuA(m_hMenu, nPosition, nFlags | MF_BITMAP, nIDNewItem, (LPCSTR)pBmp->GetSafeHandle());
  }
  BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR lpszNewItem = NULL) {
    return ::ModifyMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
  }
  BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp) {
    return ::ModifyMenuA(m_hMenu, nPosition, nFlags | MF_BITMAP, nIDNewItem, (LPCSTR)pBmp->GetSafeHandle());
  }
  // DeleteMenu destroys a sub-menu at the position; RemoveMenu leaves it to the caller.
  BOOL DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }
  BOOL RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }
  BOOL InsertMenuItem(UINT uItem, LPMENUITEMINFOA lpMenuItemInfo, BOOL fByPos = FALSE) {
    return ::InsertMenuItemA(m_hMenu, uItem, fByPos, lpMenuItemInfo);
  }

  // --- States and queries
  UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable) { return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable); }
  UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck) { return (UINT)::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck); }
  BOOL CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags) {
    return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
  }
  BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE) { return ::SetMenuDefaultItem(m_hMenu, uItem, fByPos); }
  UINT GetDefaultItem(UINT gmdiFlags, BOOL fByPos = FALSE) const {
    return ::GetMenuDefaultItem(m_hMenu, fByPos, gmdiFlags);
  }
  int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
  UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }  // (UINT)-1 for a sub-menu
  UINT GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
  // The text (any length), or what fits into nMaxCount bytes with the NUL, cut before a
  // double-byte character rather than through it. Both return the length they give.
  int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
  int GetMenuString(UINT nIDItem, LPSTR lpString, int nMaxCount, UINT nFlags) const;
  BOOL GetMenuItemInfo(UINT uItem, LPMENUITEMINFOA lpMenuItemInfo, BOOL fByPos = FALSE) const {
    return ::GetMenuItemInfoA(m_hMenu, uItem, fByPos, lpMenuItemInfo);
  }
  BOOL SetMenuItemInfo(UINT uItem, LPMENUITEMINFOA lpMenuItemInfo, BOOL fByPos = FALSE) {
    return ::SetMenuItemInfoA(m_hMenu, uItem, fByPos, lpMenuItemInfo);
  }
  BOOL SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const CBitmap* pBmpUnchecked, const CBitmap* pBmpChecked) {
    return ::SetMenuItemBitmaps(m_hMenu, nPosition, nFlags, (HBITMAP)pBmpUnchecked->GetSafeHandle(),
                                (HBITMAP)pBmpChecked->GetSafeHandle());
  }
  CMenu* GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }

  // --- Showing: the owner window (pWnd) receives the menu's messages; with
  // TPM_RETURNCMD the result is the chosen command (0 when the menu was dismissed).
  BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = NULL);
  BOOL TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm);

  // Owner-drawn items (the window classes route WM_DRAWITEM/WM_MEASUREITEM of menus here).
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);

  BOOL operator==(const CMenu& menu) const { return menu.m_hMenu == m_hMenu; }
  BOOL operator!=(const CMenu& menu) const { return menu.m_hMenu != m_hMenu; }
};
