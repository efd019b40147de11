// IVxItemView: what the browser controller asks of the icon view's item store. The icon
// view (CVxGUIIconView) implements it; the controller finds it on the host view with a
// run-time cast, so tests can stand a small view of their own in its place.
//
// Items are addressed by their unique id (CThumbnail::GetUniqueID(1)); VXID_NONE names
// none. Ids that are not in the view change nothing.
#pragma once
#include <fw/fw.h>

class CThumbnail;
class CThumbnailPage;

// Comparison of two thumbnails for SortItems: negative puts the first before the second.
typedef int(CALLBACK* PFNVXITEMCOMPARE)(CThumbnail* p1, CThumbnail* p2, LPARAM lData);

class IVxItemView {
 public:
  // ---- Store ------------------------------------------------------------------------
  virtual HRESULT AddItem(CThumbnail* pThumbnail) = 0;      // E_OUTOFMEMORY when it can't
  virtual void RemoveItem(CThumbnail* pThumbnail) = 0;
  virtual void DeleteAllItems() = 0;
  virtual int GetItemCount() const = 0;
  virtual CThumbnail* GetThumbnail(DWORD dwID) const = 0;
  // Appends the thumbnails in display order: nFlags -1 all; bit 2 selected only, bit 4
  // cut only.
  virtual void CollectThumbnail(CList<CThumbnail*, CThumbnail*>& list, int nFlags) = 0;
  // Orders every group's items with the comparison (ties keep their order).
  virtual void SortItems(PFNVXITEMCOMPARE pfnCompare, LPARAM lData) = 0;
  virtual void Arrange(BOOL bForce) = 0;

  // ---- Selection, focus, marks --------------------------------------------------------
  virtual HRESULT SelectItem(DWORD dwID, BOOL bSelect) = 0;
  // Changes one item's selection (document included) without moving focus or anchor.
  virtual void Select(DWORD dwID, BOOL bSelect, BOOL bRedraw) = 0;
  virtual void UnSelectAll(BOOL bRedraw) = 0;
  virtual void SelectItems_End() = 0;
  virtual DWORD GetFocusItem() const = 0;                 // VXID_NONE when none
  virtual BOOL EnsureVisible(DWORD dwID, BOOL bPartialOK) = 0;
  virtual void SetCut(DWORD dwID, BOOL bCut) = 0;
  virtual void RedrawItem(DWORD dwID) = 0;
  // The item's picture came: its cell is drawn again when it is in sight.
  virtual void RedrawPicture(DWORD dwID) = 0;

  // ---- Drawing ------------------------------------------------------------------------
  virtual void SetThumbnailSize(CSize size) = 0;
  // Items shown and drawing enabled: the controller switches both off while it opens a
  // folder or reloads the groups.
  virtual void SetItemsShown(BOOL bShown) = 0;
  virtual void EnableDrawing(BOOL bEnable) = 0;
  // 0 while a folder being opened is sorted: items are drawn with their edges only.
  virtual void SetPicturesShown(BOOL bShown) = 0;

  // ---- Renaming, paste and drag (stores without them answer none) --------------------
  // Opens the rename box over the item's label.
  virtual void EditLabel(DWORD) {}
  // The page of the group whose area holds the point (document coordinates).
  virtual CThumbnailPage* GroupPageAt(CPoint) { return NULL; }
  // The scroll position: document minus client coordinates.
  virtual CPoint GetItemScroll() const { return CPoint(0, 0); }
  // The item's picture rectangle in document coordinates.
  virtual BOOL GetItemIconRect(DWORD, CRect&) { return FALSE; }

 protected:
  ~IVxItemView() {}
};
