// The items of the icon view: one per file, with its cell position and its thumbnail.
// CThumbnailItem is the plain item; CIconViewItem the framed one the icon view shows,
// with bitmap check boxes and badges. Rectangles and the hit test come from the view's
// window-free rules; the items add drawing and the shared drawing state.
#pragma once
#include <fw/fw.h>
#include <VxGUIDB.h>

#include "IconViewRules.h"
#include "VxGUITransApi.h"

// Draw flags.
enum {
  kDrawThumbnail = 0x01,
  kDrawLabel = 0x02,
  kDrawEdge = 0x04,
  kDrawCheck = 0x08,
  kDrawFocus = 0x10,
  kDrawFavoriteDPOF = 0x20,
  kDrawFavoriteDB = 0x40,
};

class VXGUITRANS_API CThumbnailItem : public CObject {
  DECLARE_DYNAMIC(CThumbnailItem)
 public:
  explicit CThumbnailItem(CThumbnail* pThumbnail = NULL);
  ~CThumbnailItem() override;

  // ---- Shared by every item and view ----
  static void SetThumbnailSize(CSize size);  // FALSE-free: the caller compares
  static CSize GetThumbnailSize();
  static int GetLabelTextHeight();
  // Label colours of state 0 (normal), 1 (selected, focused view), 2 (selected, view
  // without focus); mask bit 1 text, 2 background, 4 mode.
  static void SetLabelColor(COLORREF text, COLORREF back, int mode, int state, int mask);
  static void SetPlaceholderColor(COLORREF color);
  static void SetViewHasFocus(BOOL bFocus);
  static BOOL ViewHasFocus();
  static CBitmapResourceContainer& ItemBitmaps();

  // ---- The item ----
  int m_x = 0, m_y = 0;
  CThumbnail* GetThumbnail() const { return m_pThumbnail; }
  DWORD GetUniqueID(int nSlot) const;
  CString GetDisplayName() const;
  BOOL IsSelected() const;
  BOOL IsCut() const;
  void SetCut(BOOL bCut);
  BOOL IsMarked() const;
  BOOL IsParentEntry() const;  // the "." entry
  void ClearLabelCache();
  BOOL GetPartRect(CRect& rc, int nPart);

  virtual HRESULT DrawThumbnail(CDC* pDC);
  virtual HRESULT DrawLabel(CDC* pDC);
  virtual HRESULT DrawFrame(CDC* pDC);
  virtual HRESULT DrawEdge(CDC* pDC);
  virtual HRESULT DrawCheck(CDC* pDC);
  virtual void GetCheckRect(CRect& rc);
  virtual void GetIconRect(CRect& rc);
  virtual void GetLabelRect(CRect& rc);
  virtual void GetBoundsRect(CRect& rc);
  virtual int GetLabelOffset() const { return 3; }
  virtual HRESULT Draw(CDC* pDC, UINT nFlags);
  virtual int HitTest(CPoint pt);

 protected:
  virtual bool IsIconItem() const { return false; }
  iconview::ItemGeometry Geometry(bool bText = false);
  void FillLabelCache(CDC* pDC);

  CThumbnail* m_pThumbnail;
  BOOL m_bFrameDrawn = FALSE;
  CString m_strLabel;
  CSize m_sizeText{0, 0};
  bool m_bLabelCached = false;
};

class VXGUITRANS_API CIconViewItem : public CThumbnailItem {
  DECLARE_DYNAMIC(CIconViewItem)
 public:
  explicit CIconViewItem(CThumbnail* pThumbnail = NULL);
  ~CIconViewItem() override;

  HRESULT DrawThumbnail(CDC* pDC) override;
  HRESULT DrawFrame(CDC* pDC) override;
  HRESULT DrawEdge(CDC* pDC) override;
  HRESULT DrawCheck(CDC* pDC) override;
  void GetCheckRect(CRect& rc) override;
  void GetIconRect(CRect& rc) override;
  int GetLabelOffset() const override { return 5; }
  HRESULT Draw(CDC* pDC, UINT nFlags) override;
  // The badges along the picture's bottom (movie, favourite, text), right to left.
  HRESULT DrawBadges(CDC* pDC, UINT nFlags);

 protected:
  bool IsIconItem() const override { return true; }
};

// Item bitmap indexes.
enum {
  kBmpMovie = 0, kBmpBack160 = 1, kBmpBack80 = 2, kBmpCheckOn = 3, kBmpCheckOff = 4, kBmpFavorite = 5,
  kBmpText = 6, kBmpRaw = 7, kBmpAvchd = 8, kBmpAvchdEdited = 9, kBmpBackFirst = 10
};
