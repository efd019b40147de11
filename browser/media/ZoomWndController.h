// CZoomWndController: the full-screen zoom window (CVxZoomWnd) over a two-level list of
// items (groups of thumbnails). The window asks its owner to move; the owner calls the
// Show* operations here, which move in the list and show the new item in the window.
#pragma once
#include <fw/fw.h>

#include <vector>

#include "VxGUITransApi.h"

class CThumbnail;
class CMovieCtrl;
class CVxZoomWnd;

class VXGUITRANS_API CZoomItemList {
 public:
  CZoomItemList();
  void AddGroup(const CList<CThumbnail*, CThumbnail*>& list);
  void Clear();
  BOOL IsEmpty() const { return m_groups.empty(); }
  // Makes the item current; FALSE when it is not in the list.
  BOOL SetCurrent(const CThumbnail* pItem);
  CThumbnail* GetCurrentItem() const;
  bool HasPrevGroup() const;
  // Item steps stay in the current group: at a group's last item there is no next item
  // (the window greys its button, and a movie that ends there goes on to nothing); the
  // group steps cross. So the item and group buttons never do the same thing.
  bool HasPrevItem() const;
  bool HasNextItem() const;
  bool HasNextGroup() const;
  void MovePrevGroup();
  // Past the group's end, the next group's first item (the previous group's last).
  void MovePrevItem();
  void MoveNextItem();
  void MoveNextGroup();
  void MoveFirst();

 private:
  std::vector<std::vector<CThumbnail*>> m_groups;
  int m_nGroup;
  int m_nItem;
};

class VXGUITRANS_API CZoomWndController {
 public:
  CZoomWndController();
  virtual ~CZoomWndController();

  void AddItem(const CList<CThumbnail*, CThumbnail*>& list);
  // Opens the window on the item, full screen; FALSE (and an empty list) for an invalid
  // path, an item outside the list or a window that cannot be made.
  int Open(CThumbnail* pItem, CWnd* pOwner, HBITMAP hBackground, CMovieCtrl* pMovie);
  // Shows another item in the open window.
  int Show(CThumbnail* pItem);
  HRESULT PlayMovie(CThumbnail* pItem, BOOL bStart);
  BOOL Close();
  void Destroy();
  CString GetCurrentPath() const;
  void SendKey(UINT nKey);
  bool HasPrevGroup() const { return m_items.HasPrevGroup(); }
  bool HasPrevItem() const { return m_items.HasPrevItem(); }
  bool HasNextItem() const { return m_items.HasNextItem(); }
  bool HasNextGroup() const { return m_items.HasNextGroup(); }
  BOOL ShowPrevGroup();
  BOOL ShowPrevItem();
  BOOL ShowNextItem();
  BOOL ShowNextGroup();
  BOOL ShowFirst();
  HWND GetWindow() const;
  CVxZoomWnd* GetZoomWnd() const { return m_pWnd; }

  CZoomItemList m_items;

 private:
  HBITMAP m_hBackground;
  CVxZoomWnd* m_pWnd;
  CMovieCtrl* m_pMovie;
};
