#include "thumblist/ThumbListCtrl.h"

#include <VxResourceIds.h>

IMPLEMENT_DYNAMIC(CThumbListCtrl, CListCtrl)

BEGIN_MESSAGE_MAP(CThumbListCtrl, CListCtrl)
  ON_WM_CREATE()
  ON_NOTIFY_REFLECT(NM_CLICK, &CThumbListCtrl::OnItemClick)
  ON_NOTIFY_REFLECT(NM_DBLCLK, &CThumbListCtrl::OnItemDblClk)
END_MESSAGE_MAP()

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

// Every deliverable has the resource library loaded by this name.
HBITMAP LoadResourceBitmap(UINT id) {
  HMODULE res = GetModuleHandleA("VxResource.dll");
  return res ? static_cast<HBITMAP>(LoadImageA(res, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))
             : nullptr;
}

}  // namespace

CThumbListCtrl::CThumbListCtrl(int nCheckMode)
    : m_nCheckMode(nCheckMode),
      m_crBackground(kBackground),
      m_hCheckWnd(NULL),
      m_nCheckMessage(0),
      m_hOpenWnd(NULL),
      m_nOpenMessage(0) {}

CThumbListCtrl::~CThumbListCtrl() {}

void CThumbListCtrl::SetCheckNotify(HWND hWnd, UINT nMessage) {
  m_hCheckWnd = hWnd;
  m_nCheckMessage = nMessage;
}

void CThumbListCtrl::SetOpenNotify(HWND hWnd, UINT nMessage) {
  m_hOpenWnd = hWnd;
  m_nOpenMessage = nMessage;
}

BOOL CThumbListCtrl::SetCheck(int nItem, BOOL bOn) {
  if (!m_nCheckMode) return FALSE;
  return SetItemState(nItem, INDEXTOOVERLAYMASK(bOn ? 2 : 1), LVIS_OVERLAYMASK);
}

void CThumbListCtrl::SetAllChecks(BOOL bOn) {
  if (!m_nCheckMode) return;
  const int n = GetItemCount();
  for (int i = 0; i < n; ++i) SetCheck(i, bOn);
  if (m_hCheckWnd && ::IsWindow(m_hCheckWnd)) ::SendMessageA(m_hCheckWnd, m_nCheckMessage, (WPARAM)-1, bOn);
}

void CThumbListCtrl::ClearItems() {
  DeleteAllItems();
  if (m_images.GetSafeHandle())
    for (int i = m_images.GetImageCount() - 1; i >= kFixedImages; --i) m_images.Remove(i);
}

void CThumbListCtrl::ResetItems(int nCount) {
  SendMessage(WM_SETREDRAW, 0);
  ClearItems();
  if (nCount < 0) {
    int columns = 0, rows = 0;
    GetGridSize(&columns, &rows);
    nCount = columns * rows;
  }
  for (int i = 0; i < nCount; ++i) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = i;
    item.pszText = const_cast<LPSTR>("");
    item.iImage = 3;
    InsertItem(&item);
  }
  ArrangeItems();
  SendMessage(WM_SETREDRAW, 1);
}

int CThumbListCtrl::AddFramedImage(HBITMAP hBitmap, int nKind) {
  if (!hBitmap || !m_images.GetSafeHandle()) return 0;
  HDC screen = ::GetDC(NULL);
  HDC src = ::CreateCompatibleDC(screen), cell = ::CreateCompatibleDC(screen), frame = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, kPictureWidth, kPictureHeight);
  ::ReleaseDC(NULL, screen);
  int result = 0;
  HGDIOBJ oldSrc = nullptr, oldCell = nullptr;
  if (src && cell && frame && bitmap && (oldSrc = ::SelectObject(src, hBitmap)) && (oldCell = ::SelectObject(cell, bitmap))) {
    RECT rc = {0, 0, kPictureWidth, kPictureHeight};
    HBRUSH brush = ::CreateSolidBrush(m_crBackground);
    ::FillRect(cell, &rc, brush);
    ::DeleteObject(brush);
    bool ok = true;
    if (nKind == 2 || nKind == 4) {
      // Wide pictures sit in the frame's 16:9 window.
      HBITMAP wide = LoadResourceBitmap(IDB_THUMB_WIDE_FRAME);
      HGDIOBJ oldFrame = wide ? ::SelectObject(frame, wide) : nullptr;
      ok = oldFrame != nullptr;
      if (ok) {
        ::BitBlt(cell, 0, 0, kPictureWidth, kPictureHeight, frame, 0, 0, SRCCOPY);
        ::SelectObject(frame, oldFrame);
        ::SetStretchBltMode(cell, HALFTONE);
        ::SetBrushOrgEx(cell, 0, 0, nullptr);
        ::StretchBlt(cell, 4, 11, 56, 32, src, 0, 0, kPictureWidth, kPictureHeight, SRCCOPY);
      }
      if (wide) ::DeleteObject(wide);
    } else {
      ::BitBlt(cell, 0, 0, kPictureWidth, kPictureHeight, src, 0, 0, SRCCOPY);
    }
    ::SelectObject(cell, oldCell);
    oldCell = nullptr;
    if (ok) result = ImageList_AddMasked(m_images.GetSafeHandle(), bitmap, m_crBackground) >= 0 ? 1 : 0;
  }
  if (oldSrc) ::SelectObject(src, oldSrc);
  if (oldCell) ::SelectObject(cell, oldCell);
  if (bitmap) ::DeleteObject(bitmap);
  if (src) ::DeleteDC(src);
  if (cell) ::DeleteDC(cell);
  if (frame) ::DeleteDC(frame);
  return result;
}

int CThumbListCtrl::SetThumbnail(int nItem, HBITMAP hBitmap, int nKind, int nFlag, LPCSTR lpszCaption) {
  if (!AddFramedImage(hBitmap, nKind)) return 0;
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  item.iItem = nItem;
  item.pszText = const_cast<LPSTR>(lpszCaption ? lpszCaption : "");
  // The picture just appended: an earlier item whose picture failed has none.
  item.iImage = m_images.GetImageCount() - 1;
  item.lParam = static_cast<LPARAM>(static_cast<DWORD>(nKind) | (nFlag ? 0x80000000u : 0u));
  SetItem(&item);
  return 1;
}

size_t CThumbListCtrl::PackedDibBitsSize(const BITMAPINFOHEADER& h) {
  if (h.biSize != sizeof(BITMAPINFOHEADER) || h.biPlanes != 1 || h.biCompression != BI_RGB) return 0;
  if (h.biBitCount != 16 && h.biBitCount != 24 && h.biBitCount != 32) return 0;  // no colour table follows
  const long long w = h.biWidth, rows = h.biHeight < 0 ? -static_cast<long long>(h.biHeight) : h.biHeight;
  if (w <= 0 || rows <= 0 || w > 32768 || rows > 32768) return 0;
  const long long stride = ((w * h.biBitCount + 31) / 32) * 4;
  return static_cast<size_t>(stride * rows);
}

int CThumbListCtrl::SetThumbnailFromDib(int nItem, const void* pDib, int nKind, int nFlag, LPCSTR lpszCaption,
                                        size_t cbDib) {
  if (!pDib) return 0;
  const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(pDib);
  const size_t bits = PackedDibBitsSize(*header);
  // The header's own image size must agree with the picture it describes (0 copies nothing).
  if (!bits || (header->biSizeImage != 0 && header->biSizeImage != bits)) return 0;
  if (cbDib && cbDib < sizeof(BITMAPINFOHEADER) + (header->biSizeImage ? bits : 0)) return 0;
  void* pBits = nullptr;
  HBITMAP section = ::CreateDIBSection(NULL, reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS, &pBits,
                                       NULL, 0);
  if (!section) return 0;
  if (pBits && header->biSizeImage) memcpy(pBits, header + 1, bits);
  int result = SetThumbnail(nItem, section, nKind, nFlag, lpszCaption);
  ::DeleteObject(section);
  return result;
}

void CThumbListCtrl::GetGridSize(int* pColumns, int* pRows) {
  CRect rc;
  GetClientRect(&rc);
  if (pColumns) *pColumns = rc.Width() / kCellWidth;
  if (pRows) *pRows = rc.Height() / kCellHeight;
}

void CThumbListCtrl::ArrangeItems() {
  int columns = 0;
  GetGridSize(&columns, nullptr);
  if (columns < 1) columns = 1;
  const int n = GetItemCount();
  for (int j = 0; j < n; ++j) {
    POINT pt = {(j % columns) * kCellWidth + kFirstColumnX, (j / columns) * kCellHeight};
    SetItemPosition32(j, pt);
  }
}

int CThumbListCtrl::BuildImageList() {
  if (m_images.GetSafeHandle()) m_images.DeleteImageList();
  if (!m_images.Create(kPictureWidth, kPictureHeight, ILC_COLOR24 | ILC_MASK, 0, 512)) return -1;
  for (UINT id : {IDB_THUMB_UNCHECKED, IDB_THUMB_CHECKED, IDB_THUMB_MARK}) {
    HBITMAP b = LoadResourceBitmap(id);
    if (!b) return -1;
    int index = ImageList_AddMasked(m_images.GetSafeHandle(), b, kMagenta);
    ::DeleteObject(b);
    if (index < 0) return -1;
    ImageList_SetOverlayImage(m_images.GetSafeHandle(), index, index + 1);
  }
  // The placeholder is composed like any picture; without it image 3 is absent.
  if (HBITMAP empty = LoadResourceBitmap(IDB_THUMB_EMPTY)) {
    AddFramedImage(empty, 0);
    ::DeleteObject(empty);
  }
  return 0;
}

int CThumbListCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CListCtrl::OnCreate(lpCreateStruct) == -1) return -1;
  if (BuildImageList() != 0) return -1;
  SetImageList(&m_images, LVSIL_NORMAL);
  SetIconSpacing(kCellWidth, kCellHeight);
  SetBkColor(m_crBackground);
  SetTextBkColor(m_crBackground);
  SetTextColor(RGB(255, 255, 255));
  return 0;
}

int CThumbListCtrl::InitControl() {
  if (BuildImageList() != 0) return -1;
  SetImageList(&m_images, LVSIL_NORMAL);
  SetImageList(&m_images, LVSIL_SMALL);
  SetIconSpacing(kCellWidth, kCellHeight);
  SetBkColor(m_crBackground);
  SetTextBkColor(m_crBackground);
  SetTextColor(RGB(96, 96, 96));
  LVCOLUMNA column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.cx = 100;
  column.pszText = const_cast<LPSTR>("main");
  InsertColumn(0, &column);
  column.pszText = const_cast<LPSTR>("fullpath");
  InsertColumn(1, &column);
  return 0;
}

BOOL CThumbListCtrl::HitsCheckBox(int nItem, POINT pt) {
  POINT pos = {};
  if (!GetItemPosition(nItem, &pos)) return FALSE;
  pos.y -= GetScrollPos(SB_VERT);
  return pt.x >= pos.x + 7 && pt.x < pos.x + 23 && pt.y >= pos.y + 2 && pt.y < pos.y + 18;
}

void CThumbListCtrl::OnItemClick(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  if (!m_nCheckMode) return;
  const int item = GetNextItem(-1, LVNI_SELECTED);
  if (item < 0) return;
  const POINT pt = reinterpret_cast<NMITEMACTIVATE*>(pNMHDR)->ptAction;
  if (!HitsCheckBox(item, pt)) return;
  const bool checked = (GetItemState(item, LVIS_OVERLAYMASK) & LVIS_OVERLAYMASK) == INDEXTOOVERLAYMASK(1);
  SetItemState(item, INDEXTOOVERLAYMASK(checked ? 2 : 1), LVIS_OVERLAYMASK);
  if (m_hCheckWnd && ::IsWindow(m_hCheckWnd)) ::SendMessageA(m_hCheckWnd, m_nCheckMessage, item, checked ? 1 : 0);
}

void CThumbListCtrl::OnItemDblClk(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  if (!m_nCheckMode) return;
  const int item = GetNextItem(-1, LVNI_SELECTED);
  if (item < 0 || GetItemData(item) == 0) return;
  if (HitsCheckBox(item, reinterpret_cast<NMITEMACTIVATE*>(pNMHDR)->ptAction)) return;
  if (m_hOpenWnd && ::IsWindow(m_hOpenWnd)) ::SendMessageA(m_hOpenWnd, m_nOpenMessage, item, 0);
}
