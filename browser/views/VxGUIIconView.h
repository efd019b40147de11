// CVxGUIIconView: the grid view of thumbnail items under the icon view. It stores the
// items by unique id, keeps their display order, cells, selection and focus (the model of
// IconViewRules.h), runs mouse and key selection and the rubber band, and reports to its
// owner with list-view notifications sent to its own window.
//
// Split over files by concern:
//   VxGUIIconView.cpp       item store, selection calls, layout, scrolling into view
//   VxGUIIconViewInput.cpp  mouse, keys, rubber band, notifications
//   VxGUIIconViewPaint.cpp  painting, back buffer, focus rectangle, scrolling messages
#pragma once
#include <fw/fw.h>
#include <VxDocument.h>

#include <unordered_map>

#include "AutoScrollView.h"
#include "IconViewRules.h"
#include "ItemViewLink.h"
#include "RenameEdit.h"
#include "ThumbnailItem.h"

// Control id of the view's list-view notifications.
#define VXICONVIEW_CTRL_ID 48656

class VXGUITRANS_API CVxGUIIconView : public CAutoScrollView,
                                      public IVxItemView,
                                      protected iconview::ISelectionSink {
  DECLARE_DYNCREATE(CVxGUIIconView)
 public:
  CVxGUIIconView();
  ~CVxGUIIconView() override;

  // ---- Item interface of the controller ----
  HRESULT AddItem(CThumbnail* pThumbnail) override;
  void RemoveItem(CThumbnail* pThumbnail) override;
  HRESULT RemoveItemById(DWORD id);
  void DeleteAllItems() override;
  int GetItemCount() const override { return int(m_items.size()); }
  CThumbnailItem* FindItem(DWORD id) const;
  CThumbnail* GetThumbnail(DWORD id) const override;
  void CollectThumbnail(CList<CThumbnail*, CThumbnail*>& list, int flags) override;
  CThumbnailItem* ItemAtCell(int column, int row) const;
  BOOL CellOfItem(DWORD id, int& column, int& row) const;
  HRESULT SelectItem(DWORD id, BOOL bSelect) override;
  void Select(DWORD id, BOOL bSelect, BOOL bRedraw) override;
  void UnSelectAll(BOOL bRedraw) override;
  void SelectItems_End() override {}
  HRESULT SelectRange(DWORD target, BOOL bCtrl, BOOL bShift);
  int GetSelectedCount() const;
  POSITION GetFirstSelectedItemPosition() const;
  DWORD GetNextSelectedItem(POSITION& pos) const;
  void SetFocusItem(DWORD id);
  DWORD GetFocusItem() const override { return m_model.Focus(); }
  DWORD GetAnchorItem() const { return m_model.Anchor(); }
  void SetSelectMode(int mode);
  BOOL SetItemState(DWORD id, UINT state, UINT mask);
  void SetCut(DWORD id, BOOL bCut) override;
  BOOL GetItemStateBits(DWORD id, int* pMarked) const;
  virtual void SetItemCheck(DWORD id, BOOL bCheck);
  virtual void CheckItems(DWORD id);
  DWORD GetNextItem(DWORD id, int flags) const;
  BOOL GetItemRect(DWORD id, CRect& rc, int code);
  void EditLabel(DWORD id) override;
  // The item whose label is under edit (-1 when none): drawn without its label.
  DWORD GetRenameTarget() const { return m_rename.GetTargetID(); }
  CRenameEdit& GetRenameEdit() { return m_rename; }
  BOOL EnsureVisible(DWORD id, BOOL bPartialOK) override;
  void RedrawItem(DWORD id) override;
  void RedrawPicture(DWORD id) override { InvalidateItem(id); }
  void SetThumbnailSize(CSize size) override;
  DWORD ItemAtPoint(CPoint pt, int* pPart);
  DWORD NearestItem(CPoint pt);
  void SortItems(PFNVXITEMCOMPARE pfnCompare, LPARAM data) override;
  void Arrange(BOOL bForce) override;
  virtual void UpdateScrollPage();
  virtual CThumbnailItem* AllockItem(CThumbnail* pThumbnail);
  void ClearLayoutKey() { m_bHasKey = false; }
  const std::vector<DWORD>& GetDisplayList() const { return m_model.Order(); }
  const std::vector<DWORD>& GetSelectionList() const { return m_model.Selection(); }

  // ---- State the controller switches ----
  void SetItemsShown(BOOL b) override { m_bItemsShown = b; }
  void EnableDrawing(BOOL b) override { m_bDrawEnabled = b; }
  void SetPicturesShown(BOOL b) override { m_bPicturesShown = b; }
  BOOL IsPicturesShown() const { return m_bPicturesShown; }
  void SetItemIdSlot(int slot) { m_nIdSlot = slot; }
  int GetItemIdSlot() const { return m_nIdSlot; }

  CBrowserDocument* GetBrowserDocument() const;
  void OnInitialUpdate() override;
  BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE) override;
  void OnDragSelect(int x, int y, BOOL bBeforeScroll) override;

 protected:
  void OnDraw(CDC* pDC) override;
  // The picture of a changed selection is repainted (CIconView: grown by its frame).
  virtual void InvalidateSelection(DWORD id);

  // Selection sink of the model.
  void OnSelect(DWORD id, bool select, bool redraw) override;
  void OnUnselectAll(bool redraw) override;
  void OnSelectRunEnd() override { SelectItems_End(); }
  void OnFocus(DWORD oldId, DWORD newId) override;
  void OnEnsureVisible(DWORD id) override { EnsureVisible(id, FALSE); }
  std::string NameOf(DWORD id) override;

  LRESULT Notify(int code, DWORD id, CPoint ptScreen, UINT oldState = 0xFFFFFFFF, UINT newState = 0xFFFFFFFF);
  UINT ItemStateBits(DWORD id) const;
  void InvalidateItem(DWORD id, int part = 0, int grow = 0);
  CPoint DocPoint(CPoint client) const;

  // Rubber band.
  void BandBegin(CPoint client, BOOL bCtrl);
  void BandMove(CPoint client);
  void BandEnd();
  void BandErase();
  void BandDraw();
  void ResetClickTracking();
  void Press(UINT nFlags, CPoint point, bool bLeft);
  void ReleaseRule(UINT nFlags, CPoint point, BOOL bRight);

  // Focus rectangle.
  void EraseFocusRect();
  void DrawFocusFrame();

  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnPaint();
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg LRESULT OnRedrawItemRange(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  iconview::CIconItemModel m_model;
  std::unordered_map<DWORD, CThumbnailItem*> m_items;
  int m_nLeftMargin = 10, m_nTopMargin = 10, m_nHGap = 10, m_nVGap = 10;
  int m_nIdSlot = 0;
  BOOL m_bItemsShown = TRUE;
  BOOL m_bDrawEnabled = TRUE;
  BOOL m_bPicturesShown = TRUE;
  BOOL m_bScrolling = FALSE;
  BOOL m_bIgnoreNextRelease = FALSE;
  // The layout key of the last arrangement.
  iconview::LayoutKey m_key;
  bool m_bHasKey = false;
  // Back buffer at the client size, or up to a scroll bar's width larger (BackBufferServes).
  CBitmap m_backBuffer;
  CSize m_backSize{0, 0};
  static int BarWidth();
  CBrush m_brBack;
  // Focus rectangle last drawn (client coordinates), empty when none.
  CRect m_rcFocus;
  BOOL m_bFocusAllowed = TRUE;
  // Click tracking.
  struct Click {
    CPoint pt{0, 0};
    int part = 0;
    DWORD id = iconview::kNoItem;
    BOOL dragStarted = FALSE;
    bool Active() const { return part != iconview::kPartItem && id != iconview::kNoItem; }
  } m_click;
  CRenameEdit m_rename;
  // Rubber band: anchor in document coordinates, band in client coordinates.
  struct Band {
    bool exists = false;
    bool active = false;
    bool ctrl = false;
    CPoint anchor{0, 0};
    CRect rect;
    CRect drawn;
    bool drawnShown = false;
  } m_band;
};
