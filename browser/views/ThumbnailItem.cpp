#include "ThumbnailItem.h"

#include <shlwapi.h>

#include <VxResourceIds.h>

IMPLEMENT_DYNAMIC(CThumbnailItem, CObject)
IMPLEMENT_DYNAMIC(CIconViewItem, CThumbnailItem)

namespace {
struct LabelState {
  COLORREF text;
  COLORREF back;
  int mode;
};

CSize g_cell(160, 120);
int g_labelHeight = -1;
LabelState g_states[3] = {{RGB(255, 255, 255), RGB(122, 142, 156), TRANSPARENT},
                          {RGB(255, 255, 255), RGB(255, 146, 18), TRANSPARENT},
                          {RGB(255, 255, 255), RGB(255, 214, 87), TRANSPARENT}};
COLORREF g_placeholder = RGB(255, 255, 255);
BOOL g_focus = FALSE;

const UINT kItemBitmapIds[] = {IDB_BADGE_MOVIE,   IDB_THUMB_BACK_160, IDB_THUMB_BACK_80, IDB_CHECK_ON,
                               IDB_CHECK_OFF,     IDB_BADGE_FAVORITE, IDB_BADGE_TEXT,    IDB_BADGE_RAW,
                               IDB_BADGE_AVCHD,   IDB_BADGE_AVCHD_EDITED, IDB_THUMB_BACK_30, IDB_THUMB_BACK_80,
                               IDB_THUMB_BACK_160, IDB_THUMB_BACK_223, IDB_THUMB_BACK_303};

bool EndsWithNoCase(const CString& s, const char* tail) {
  int n = lstrlenA(tail);
  return s.GetLength() >= n && lstrcmpiA(LPCSTR(s) + s.GetLength() - n, tail) == 0;
}

// A copy of 24-bit rows with every colour byte halfway to the placeholder colour.
bool DimBits(const BITMAPINFOHEADER* bih, std::vector<BYTE>* out) {
  if (bih->biBitCount != 24) return false;
  size_t stride = ((size_t(bih->biWidth) * 3 + 3) & ~size_t(3));
  size_t size = stride * size_t(bih->biHeight < 0 ? -bih->biHeight : bih->biHeight);
  const BYTE* src = reinterpret_cast<const BYTE*>(bih) + bih->biSize;
  try {
    out->assign(src, src + size);
  } catch (...) {
    return false;
  }
  for (BYTE& b : *out) b = BYTE((b + 255) / 2);
  return true;
}
}  // namespace

// ---- Shared state --------------------------------------------------------------------------
void CThumbnailItem::SetThumbnailSize(CSize size) { g_cell = size; }
CSize CThumbnailItem::GetThumbnailSize() { return g_cell; }

int CThumbnailItem::GetLabelTextHeight() {
  if (g_labelHeight < 0) {
    HDC hdc = ::GetDC(NULL);
    HGDIOBJ old = ::SelectObject(hdc, ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE sz = {0, 0};
    ::GetTextExtentPoint32A(hdc, "aaa", 3, &sz);
    ::SelectObject(hdc, old);
    ::ReleaseDC(NULL, hdc);
    g_labelHeight = sz.cy;
  }
  return g_labelHeight;
}

void CThumbnailItem::SetLabelColor(COLORREF text, COLORREF back, int mode, int state, int mask) {
  if (state < 0 || state > 2) return;
  if (mask & 1) g_states[state].text = text;
  if (mask & 2) g_states[state].back = back;
  if (mask & 4) g_states[state].mode = mode;
}

void CThumbnailItem::SetPlaceholderColor(COLORREF color) { g_placeholder = color; }
void CThumbnailItem::SetViewHasFocus(BOOL bFocus) { g_focus = bFocus; }
BOOL CThumbnailItem::ViewHasFocus() { return g_focus; }

CBitmapResourceContainer& CThumbnailItem::ItemBitmaps() {
  static CBitmapResourceContainer bitmaps;
  if (bitmaps.IsEmpty()) bitmaps.Load(kItemBitmapIds, int(sizeof(kItemBitmapIds) / sizeof(kItemBitmapIds[0])));
  return bitmaps;
}

// ---- The item --------------------------------------------------------------------------------
CThumbnailItem::CThumbnailItem(CThumbnail* pThumbnail) : m_pThumbnail(pThumbnail) {}
CThumbnailItem::~CThumbnailItem() {}

DWORD CThumbnailItem::GetUniqueID(int nSlot) const {
  return m_pThumbnail ? m_pThumbnail->GetUniqueID(nSlot) : iconview::kNoItem;
}
CString CThumbnailItem::GetDisplayName() const { return m_pThumbnail ? m_pThumbnail->GetDisplayName() : CString(); }
BOOL CThumbnailItem::IsSelected() const { return m_pThumbnail && m_pThumbnail->IsSelect(); }
BOOL CThumbnailItem::IsCut() const { return m_pThumbnail && m_pThumbnail->IsCut(); }
void CThumbnailItem::SetCut(BOOL bCut) {
  if (m_pThumbnail) m_pThumbnail->Cut(bCut != FALSE);
}
BOOL CThumbnailItem::IsMarked() const { return m_pThumbnail && m_pThumbnail->GetMarkStatus(0) != 0; }
BOOL CThumbnailItem::IsParentEntry() const { return m_pThumbnail && m_pThumbnail->GetFileName() == "."; }

void CThumbnailItem::ClearLabelCache() {
  m_bLabelCached = false;
  m_strLabel.Empty();
  m_sizeText = CSize(0, 0);
}

void CThumbnailItem::FillLabelCache(CDC* pDC) {
  if (m_bLabelCached) return;
  CString name = GetDisplayName();
  if (name.GetLength() > 520) name = name.Left(520);
  char buf[MAX_PATH * 2 + 4];
  lstrcpynA(buf, name, sizeof(buf));
  HDC hdc = pDC ? pDC->GetSafeHdc() : ::GetDC(NULL);
  HGDIOBJ old = pDC ? NULL : ::SelectObject(hdc, ::GetStockObject(DEFAULT_GUI_FONT));
  ::PathCompactPathA(hdc, buf, UINT(g_cell.cx + (IsIconItem() ? 2 * iconview::FrameMargin(iconview::SizeClass(g_cell.cx)) : 0)));
  SIZE sz = {0, 0};
  ::GetTextExtentPoint32A(hdc, buf, lstrlenA(buf), &sz);
  if (!pDC) {
    ::SelectObject(hdc, old);
    ::ReleaseDC(NULL, hdc);
  }
  m_strLabel = buf;
  m_sizeText = sz;
  m_bLabelCached = true;
}

iconview::ItemGeometry CThumbnailItem::Geometry(bool bText) {
  iconview::ItemGeometry g;
  g.x = m_x;
  g.y = m_y;
  g.cellW = g_cell.cx;
  g.cellH = g_cell.cy;
  g.labelHeight = GetLabelTextHeight();
  g.iconItem = IsIconItem();
  g.hasCheck = m_pThumbnail && !IsParentEntry();
  if (g.iconItem && g.hasCheck) g.check = ItemBitmaps().GetSize(IsMarked() ? kBmpCheckOn : kBmpCheckOff);
  // Only the hit test needs the measured text; rectangles don't.
  if (bText && m_pThumbnail) FillLabelCache(NULL);
  g.text = m_sizeText;
  return g;
}

void CThumbnailItem::GetIconRect(CRect& rc) { rc = iconview::ComputeItemRects(Geometry()).picture; }
void CThumbnailItem::GetLabelRect(CRect& rc) { rc = iconview::ComputeItemRects(Geometry()).label; }
void CThumbnailItem::GetCheckRect(CRect& rc) { rc = iconview::ComputeItemRects(Geometry()).check; }
void CThumbnailItem::GetBoundsRect(CRect& rc) { rc = iconview::ComputeItemRects(Geometry()).bounds; }
void CIconViewItem::GetIconRect(CRect& rc) { CThumbnailItem::GetIconRect(rc); }
void CIconViewItem::GetCheckRect(CRect& rc) { CThumbnailItem::GetCheckRect(rc); }

BOOL CThumbnailItem::GetPartRect(CRect& rc, int nPart) {
  switch (nPart) {
    case 0: GetBoundsRect(rc); return TRUE;
    case 1: GetIconRect(rc); return TRUE;
    case 2: GetLabelRect(rc); return TRUE;
    case 3: GetCheckRect(rc); return TRUE;
    default: rc.SetRectEmpty(); return FALSE;
  }
}

int CThumbnailItem::HitTest(CPoint pt) {
  // Most items of a large folder are far from the point: no text measuring for them.
  int reach = 2 * iconview::FrameMargin(iconview::SizeClass(g_cell.cx)) + 8 + GetLabelTextHeight();
  if (pt.x < m_x - reach || pt.y < m_y - reach || pt.x > m_x + g_cell.cx + reach || pt.y > m_y + g_cell.cy + reach)
    return iconview::kPartNone;
  return iconview::HitTest(Geometry(true), pt);
}

HRESULT CThumbnailItem::Draw(CDC* pDC, UINT nFlags) {
  if (nFlags & kDrawThumbnail) DrawThumbnail(pDC);
  if (nFlags & kDrawEdge) {
    DrawEdge(pDC);
    DrawFrame(pDC);
  }
  if (nFlags & kDrawCheck) DrawCheck(pDC);
  if (nFlags & kDrawLabel) DrawLabel(pDC);
  return S_OK;
}

HRESULT CThumbnailItem::DrawThumbnail(CDC* pDC) {
  if (!m_pThumbnail) return E_POINTER;
  CRect pic;
  GetIconRect(pic);
  m_pThumbnail->ThreadLock();
  BITMAPINFOHEADER* bih = m_pThumbnail->GetThumbnail(g_cell.cx, g_cell.cy);
  if (!bih) {
    m_pThumbnail->ThreadUnlock();
    pDC->FillSolidRect(pic, g_placeholder);
    return E_PENDING;
  }
  std::vector<BYTE> dim;
  const void* bits = reinterpret_cast<const BYTE*>(bih) + bih->biSize;
  if (IsCut() && DimBits(bih, &dim)) bits = dim.data();
  BITMAPINFOHEADER copy = *bih;
  m_pThumbnail->ThreadUnlock();
  HBITMAP hbm = ::CreateDIBitmap(pDC->GetSafeHdc(), &copy, CBM_INIT, bits, reinterpret_cast<BITMAPINFO*>(&copy),
                                 DIB_RGB_COLORS);
  if (!hbm) return HRESULT_FROM_WIN32(GetLastError());
  HDC mem = ::CreateCompatibleDC(pDC->GetSafeHdc());
  if (!mem) {
    ::DeleteObject(hbm);
    return E_FAIL;
  }
  HGDIOBJ old = ::SelectObject(mem, hbm);
  ::BitBlt(pDC->GetSafeHdc(), m_x, m_y, g_cell.cx, g_cell.cy, mem, 0, 0, SRCCOPY);
  ::SelectObject(mem, old);
  ::DeleteDC(mem);
  ::DeleteObject(hbm);
  return S_OK;
}

HRESULT CThumbnailItem::DrawEdge(CDC* pDC) {
  CRect pic;
  GetIconRect(pic);
  return ::DrawEdge(pDC->GetSafeHdc(), &pic, EDGE_RAISED, BF_RECT | BF_SOFT | BF_ADJUST) ? S_OK : E_FAIL;
}

HRESULT CThumbnailItem::DrawFrame(CDC* pDC) {
  if (!IsSelected() && !m_bFrameDrawn) return S_OK;
  CRect pic;
  GetIconRect(pic);
  COLORREF color = IsSelected() ? g_states[1].back : g_states[0].back;
  for (int d = 3; d <= 4; ++d) {
    CRect rc = pic;
    rc.InflateRect(d, d);
    CBrush br(color);
    pDC->FrameRect(&rc, &br);
  }
  m_bFrameDrawn = IsSelected();
  return S_OK;
}

HRESULT CThumbnailItem::DrawCheck(CDC* pDC) {
  if (!m_pThumbnail || IsParentEntry()) return S_OK;
  CRect rc;
  GetCheckRect(rc);
  if (rc.IsRectEmpty()) return S_OK;
  UINT state = DFCS_BUTTONCHECK | (IsMarked() ? DFCS_CHECKED : 0);
  return ::DrawFrameControl(pDC->GetSafeHdc(), &rc, DFC_BUTTON, state) ? S_OK : HRESULT_FROM_WIN32(GetLastError());
}

HRESULT CThumbnailItem::DrawLabel(CDC* pDC) {
  int state = IsSelected() ? (g_focus ? 1 : 2) : 0;
  const LabelState& ls = g_states[state];
  FillLabelCache(pDC);
  CRect rc;
  GetLabelRect(rc);
  COLORREF oldText = pDC->SetTextColor(ls.text);
  COLORREF oldBack = pDC->SetBkColor(ls.back);
  int oldMode = pDC->SetBkMode(ls.mode);
  pDC->TextOut(rc.left + (rc.Width() - m_sizeText.cx) / 2, rc.top + (rc.Height() - m_sizeText.cy) / 2, m_strLabel);
  pDC->SetTextColor(oldText);
  pDC->SetBkColor(oldBack);
  pDC->SetBkMode(oldMode);
  return S_OK;
}

// ---- The icon view's item -----------------------------------------------------------------
CIconViewItem::CIconViewItem(CThumbnail* pThumbnail) : CThumbnailItem(pThumbnail) { ItemBitmaps(); }
CIconViewItem::~CIconViewItem() {}

HRESULT CIconViewItem::Draw(CDC* pDC, UINT nFlags) {
  HRESULT hr = S_OK;
  if (nFlags & kDrawEdge) hr |= DrawEdge(pDC);
  if (nFlags & kDrawThumbnail) {
    HRESULT pic = DrawThumbnail(pDC);
    hr |= pic;
    if (SUCCEEDED(pic)) hr |= DrawBadges(pDC, nFlags);
  }
  if (nFlags & kDrawEdge) hr |= DrawFrame(pDC);
  if (nFlags & kDrawCheck) hr |= DrawCheck(pDC);
  if (nFlags & kDrawLabel) hr |= DrawLabel(pDC);
  if (nFlags & kDrawFocus) {
    CRect rc;
    GetLabelRect(rc);
    int shrink = (rc.Width() - m_sizeText.cx) / 2;
    if (shrink > 0) rc.DeflateRect(shrink, 0);
    rc.InflateRect(1, 1);
    pDC->DrawFocusRect(&rc);
  }
  return hr;
}

HRESULT CIconViewItem::DrawThumbnail(CDC* pDC) {
  if (!m_pThumbnail) return E_POINTER;
  CRect pic;
  GetIconRect(pic);
  int margin = iconview::FrameMargin(iconview::SizeClass(g_cell.cx));
  HRESULT hr = S_OK;
  m_pThumbnail->ThreadLock();
  BITMAPINFOHEADER* bih = m_pThumbnail->GetThumbnail(g_cell.cx, g_cell.cy);
  if (!bih) {
    m_pThumbnail->ThreadUnlock();
    return E_POINTER;
  }
  std::vector<BYTE> dim;
  const void* bits = reinterpret_cast<const BYTE*>(bih) + bih->biSize;
  if (IsCut()) {
    if (!DimBits(bih, &dim)) {
      m_pThumbnail->ThreadUnlock();
      return E_OUTOFMEMORY;
    }
    bits = dim.data();
  }
  if (!::SetDIBitsToDevice(pDC->GetSafeHdc(), pic.left + margin, pic.top + margin, g_cell.cx, g_cell.cy, 0, 0, 0,
                           UINT(bih->biHeight < 0 ? -bih->biHeight : bih->biHeight), bits,
                           reinterpret_cast<BITMAPINFO*>(bih), DIB_RGB_COLORS))
    hr = HRESULT_FROM_WIN32(GetLastError());
  m_pThumbnail->ThreadUnlock();
  return hr;
}

HRESULT CIconViewItem::DrawBadges(CDC* pDC, UINT nFlags) {
  if (!m_pThumbnail) return S_OK;
  CBitmapResourceContainer& bmps = ItemBitmaps();
  CRect pic;
  GetIconRect(pic);
  int inset = int(pic.Width() * 0.1);
  const int startX = pic.right - inset, bottom = pic.bottom - inset;
  int left = startX;
  auto put = [&](int index, bool movie) {
    SIZE sz = bmps.GetSize(index);
    int x = movie ? startX - sz.cx : left - 3 - sz.cx;
    bmps.Draw(pDC->GetSafeHdc(), index, x, bottom - sz.cy);
    left = x;
  };
  UINT kind = m_pThumbnail->GetKindFlags();
  if (kind & VXKIND_MOVIE) {
    if (!(kind & VXKIND_SUB_40)) {
      put(kBmpMovie, true);
    } else {
      CString name = m_pThumbnail->GetFileName();
      // The view draws a memory-card folder with the card's favourites only.
      bool card = (nFlags & (kDrawFavoriteDB | kDrawFavoriteDPOF)) == kDrawFavoriteDPOF;
      if ((EndsWithNoCase(name, ".m2ts") || EndsWithNoCase(name, ".mts")) && !card) {
        m_pThumbnail->SetHDFileName(name);
        return S_OK;
      }
      put(m_pThumbnail->GetHDEditFlag() == 1 ? kBmpAvchdEdited : kBmpAvchd, true);
    }
  }
  if ((kind & VXTYPE_RAW) == VXTYPE_RAW || (kind & VXTYPE_DNG) == VXTYPE_DNG) put(kBmpRaw, false);
  if (((nFlags & kDrawFavoriteDB) && m_pThumbnail->IsMyFavoriteFromDB()) ||
      ((nFlags & kDrawFavoriteDPOF) && m_pThumbnail->IsMyFavoriteFromDPOFFile()))
    put(kBmpFavorite, false);
  if (const VXEXIFDATA* exif = m_pThumbnail->GetExifData())
    if (exif->szTitle[0]) put(kBmpText, false);
  return S_OK;
}

HRESULT CIconViewItem::DrawEdge(CDC* pDC) {
  int index = kBmpBackFirst + iconview::SizeClass(g_cell.cx) - 2;
  CRect pic;
  GetIconRect(pic);
  return ItemBitmaps().Draw(pDC->GetSafeHdc(), index, pic.left - 4, pic.top - 4) ? S_OK : E_FAIL;
}

HRESULT CIconViewItem::DrawFrame(CDC* pDC) {
  if (!IsSelected()) return S_OK;
  CRect pic;
  GetIconRect(pic);
  CBrush br(g_states[g_focus ? 1 : 2].back);
  for (int d = 2; d <= 3; ++d) {
    CRect rc = pic;
    rc.InflateRect(d, d);
    pDC->FrameRect(&rc, &br);
  }
  return S_OK;
}

HRESULT CIconViewItem::DrawCheck(CDC* pDC) {
  if (!m_pThumbnail || IsParentEntry()) return S_OK;
  CRect rc;
  GetCheckRect(rc);
  return ItemBitmaps().Draw(pDC->GetSafeHdc(), IsMarked() ? kBmpCheckOn : kBmpCheckOff, rc.left, rc.top) ? S_OK : E_FAIL;
}
