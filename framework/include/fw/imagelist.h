// CImageList: an image-list handle with its common-control calls.
//
// A CImageList that made, loaded or attached a list owns it: the destructor destroys it.
// FromHandle gives the owner when there is one, else a temporary wrapper of the calling
// thread (freed at its idle clean-up). A list that the system owns (the shell's image
// list) must never be owned: take a copy with Create(CImageList*) instead.
//
// Drag images: one per process, as the common controls keep it; BeginDrag makes it from
// an image of this list, the static members move, show and end it.
#pragma once
#include <fw/gdi.h>

class FW_API CImageList : public CObject {
  DECLARE_DYNCREATE(CImageList)
 public:
  HIMAGELIST m_hImageList;

  CImageList() : m_hImageList(NULL) {}
  ~CImageList() override;

  operator HIMAGELIST() const { return _FwIsNull(this) ? NULL : m_hImageList; }
  HIMAGELIST GetSafeHandle() const { return _FwIsNull(this) ? NULL : m_hImageList; }

  static CImageList* PASCAL FromHandle(HIMAGELIST hImageList);
  static CImageList* PASCAL FromHandlePermanent(HIMAGELIST hImageList);
  static void PASCAL DeleteTempMap();
  BOOL Attach(HIMAGELIST hImageList);
  HIMAGELIST Detach();

  // --- Making and destroying (each fails when the object already holds a list)
  BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
  // A strip bitmap from the resource chain, cut into images cx wide (masked by crMask
  // unless it is CLR_NONE).
  BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
  BOOL Create(LPCSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask);
  // One image made of image nImage2 of the second list drawn over nImage1 of the first at (dx, dy).
  BOOL Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2, int dx, int dy);
  // An owned copy of another list (the system's image list, say): images, masks, overlays.
  BOOL Create(CImageList* pImageList);
  BOOL DeleteImageList();  // FALSE when there is none

  // --- Images
  int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
  // Grows (with empty images) or shrinks the list.
  BOOL SetImageCount(UINT uNewCount) { return ImageList_SetImageCount(m_hImageList, uNewCount); }
  // The index of the new image, -1 on failure. A mask colour makes that colour transparent.
  int Add(CBitmap* pbmImage, CBitmap* pbmMask);
  int Add(CBitmap* pbmImage, COLORREF crMask);
  int Add(HICON hIcon) { return ImageList_AddIcon(m_hImageList, hIcon); }
  BOOL Remove(int nImage) { return ImageList_Remove(m_hImageList, nImage); }  // -1: all
  BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask);
  // Index of the replaced image; -1 adds the icon at the end.
  int Replace(int nImage, HICON hIcon) { return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon); }
  BOOL Copy(int iDst, int iSrc, UINT uFlags = ILCF_MOVE) {
    return ImageList_Copy(m_hImageList, iDst, m_hImageList, iSrc, uFlags);
  }
  // The caller destroys the icon.
  HICON ExtractIcon(int nImage) { return ImageList_ExtractIcon(NULL, m_hImageList, nImage); }
  BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const {
    return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
  }
  BOOL GetIconSize(int* cx, int* cy) const { return ImageList_GetIconSize(m_hImageList, cx, cy); }
  COLORREF SetBkColor(COLORREF cr) { return ImageList_SetBkColor(m_hImageList, cr); }
  COLORREF GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }
  // Overlay nOverlay (1..15, the INDEXTOOVERLAYMASK number) shows image nImage.
  BOOL SetOverlayImage(int nImage, int nOverlay) { return ImageList_SetOverlayImage(m_hImageList, nImage, nOverlay); }

  // --- Drawing (nStyle: ILD_*, INDEXTOOVERLAYMASK for an overlay)
  BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle) {
    return ImageList_Draw(m_hImageList, nImage, pDC->GetSafeHdc(), pt.x, pt.y, nStyle);
  }
  BOOL DrawEx(CDC* pDC, int nImage, POINT pt, SIZE sz, COLORREF clrBk, COLORREF clrFg, UINT nStyle) {
    return ImageList_DrawEx(m_hImageList, nImage, pDC->GetSafeHdc(), pt.x, pt.y, sz.cx, sz.cy, clrBk, clrFg, nStyle);
  }
  // himl and cbSize are filled in when left 0.
  BOOL DrawIndirect(IMAGELISTDRAWPARAMS* pimldp);
  BOOL DrawIndirect(CDC* pDC, int nImage, POINT pt, SIZE sz, POINT ptOrigin, UINT fStyle = ILD_NORMAL,
                    DWORD dwRop = SRCCOPY, COLORREF rgbBack = CLR_DEFAULT, COLORREF rgbFore = CLR_DEFAULT,
                    DWORD fState = ILS_NORMAL, DWORD Frame = 0, COLORREF crEffect = CLR_DEFAULT);

  // --- Drag image (coordinates of DragEnter/DragMove: relative to the locked window's
  // top-left corner, window rectangle not client area; the desktop's are screen points)
  BOOL BeginDrag(int nImage, CPoint ptHotSpot) {
    return ImageList_BeginDrag(m_hImageList, nImage, ptHotSpot.x, ptHotSpot.y);
  }
  static void PASCAL EndDrag() { ImageList_EndDrag(); }
  static BOOL PASCAL DragEnter(CWnd* pWndLock, CPoint point) {
    return ImageList_DragEnter(_AfxHwndOf(pWndLock), point.x, point.y);
  }
  static BOOL PASCAL DragLeave(CWnd* pWndLock) { return ImageList_DragLeave(_AfxHwndOf(pWndLock)); }
  static BOOL PASCAL DragMove(CPoint pt) { return ImageList_DragMove(pt.x, pt.y); }
  static BOOL PASCAL DragShowNolock(BOOL bShow) { return ImageList_DragShowNolock(bShow); }
  BOOL SetDragCursorImage(int nDrag, CPoint ptHotSpot) {
    return ImageList_SetDragCursorImage(m_hImageList, nDrag, ptHotSpot.x, ptHotSpot.y);
  }
  // The current drag image (a temporary wrapper), its position and hot spot.
  static CImageList* PASCAL GetDragImage(LPPOINT lpPoint, LPPOINT lpPointHotSpot) {
    return FromHandle(ImageList_GetDragImage(lpPoint, lpPointHotSpot));
  }

 private:
  CImageList(const CImageList&) = delete;
  void operator=(const CImageList&) = delete;
};

// A list a control made and handed over (a drag image): a new CImageList that owns h,
// for the caller to delete; null when h is NULL.
FW_API CImageList* AFXAPI AfxNewImageList(HIMAGELIST h);
