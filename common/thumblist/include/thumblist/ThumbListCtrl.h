// The thumbnail list: a list control in icon mode whose items show an 80 x 60 picture of
// the control's own image list, a check box drawn as an overlay and a caption, with the
// file's path in a hidden second column. The toolbar's image picker and the card plug-in
// each compile this one source.
#pragma once
#include <fw/fw.h>

class CThumbListCtrl : public CListCtrl {
  DECLARE_DYNAMIC(CThumbListCtrl)

 public:
  enum {
    kCellWidth = 126,
    kCellHeight = 95,
    kFirstColumnX = 18,
    kPictureWidth = 80,
    kPictureHeight = 60,
    kFixedImages = 4,  // unchecked, checked, third overlay, placeholder
  };
  static const COLORREF kBackground = RGB(195, 211, 215);

  explicit CThumbListCtrl(int nCheckMode = 0);
  ~CThumbListCtrl() override;

  void SetCheckNotify(HWND hWnd, UINT nMessage);
  void SetOpenNotify(HWND hWnd, UINT nMessage);
  BOOL SetCheck(int nItem, BOOL bOn);
  void SetAllChecks(BOOL bOn);
  // Every item goes, and every image but the four fixed ones.
  void ClearItems();
  void ClearImages() { ClearItems(); }
  void ResetItems(int nCount);
  // The item shows the picture framed (appended to the image list); 0 when it could not be
  // made, the item left as it was.
  int SetThumbnail(int nItem, HBITMAP hBitmap, int nKind, int nFlag, LPCSTR lpszCaption);
  // A 40-byte header followed by the bits. The bits copied are what width, height and bit
  // count give; a header whose image size says otherwise, or a picture larger than cbDib
  // (when known), is refused.
  int SetThumbnailFromDib(int nItem, const void* pDib, int nKind, int nFlag, LPCSTR lpszCaption, size_t cbDib = 0);
  int AddPackedDib(int nItem, const void* pDib, int nState, int nFlag, LPCSTR lpszLabel, size_t cbDib = 0) {
    return SetThumbnailFromDib(nItem, pDib, nState, nFlag, lpszLabel, cbDib);
  }
  void GetGridSize(int* pColumns, int* pRows);
  void ArrangeItems();
  int InitControl();
  CImageList& Images() { return m_images; }

  // The bytes of the bits a header describes; 0 for a header this control does not take.
  static size_t PackedDibBitsSize(const BITMAPINFOHEADER& header);

 protected:
  int BuildImageList();
  int AddFramedImage(HBITMAP hBitmap, int nKind);
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnItemClick(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnItemDblClk(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

  int m_nCheckMode;
  COLORREF m_crBackground;
  CImageList m_images;
  HWND m_hCheckWnd;
  UINT m_nCheckMessage;
  HWND m_hOpenWnd;
  UINT m_nOpenMessage;

 private:
  BOOL HitsCheckBox(int nItem, POINT pt);
};
