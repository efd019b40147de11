// CZoomWndController: the full-screen zoom window over a two-level list of items (groups
// of thumbnails). The zoom window itself is not part of this build: Open keeps the list and
// the current item but opens no window and answers 0. The list and its navigation are
// real, so the browser's zoom queries answer from it.
#pragma once
#include <fw/fw.h>

#include <vector>

#include "VxGUITransApi.h"

class CThumbnail;

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
  bool HasPrevItem() const;
  bool HasNextItem() const;
  bool HasNextGroup() const;
  void MovePrevGroup();
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
  // Nonzero when the window opened; this build has no zoom window, so 0. An invalid path
  // clears the item list.
  int Open(CThumbnail* pItem, CWnd* pOwner, HBITMAP hBackground, void* pValue);
  void Close();
  void Destroy();
  CString GetCurrentPath() const;
  bool HasPrevGroup() const { return m_items.HasPrevGroup(); }
  bool HasPrevItem() const { return m_items.HasPrevItem(); }
  bool HasNextItem() const { return m_items.HasNextItem(); }
  bool HasNextGroup() const { return m_items.HasNextGroup(); }
  void ShowPrevGroup() { m_items.MovePrevGroup(); }
  void ShowPrevItem() { m_items.MovePrevItem(); }
  void ShowNextItem() { m_items.MoveNextItem(); }
  void ShowNextGroup() { m_items.MoveNextGroup(); }
  void ShowFirst() { m_items.MoveFirst(); }
  HWND GetWindow() const { return m_hWnd; }

  CZoomItemList m_items;

 private:
  HWND m_hWnd;
  HBITMAP m_hBackground;
};
