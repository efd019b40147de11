// CDC: device contexts, their handle map, and the drawing members that are more than one call.
#include <fw/gdi.h>

#include <cstring>
#include <utility>
#include <vector>

#include "handlemap.h"

IMPLEMENT_DYNCREATE(CDC, CObject)

void FwTempAttach(CDC* p, void* h) { p->m_hDC = p->m_hAttribDC = static_cast<HDC>(h); }
void FwTempDetach(CDC* p) { p->m_hDC = p->m_hAttribDC = NULL; }

CDC::~CDC() {
  if (m_hDC != NULL) ::DeleteDC(Detach());
}

CDC* PASCAL CDC::FromHandle(HDC hDC) { return fwmap::FromHandle<CDC>(fwmap::kDC, hDC); }

void PASCAL CDC::DeleteTempMap() { fwmap::DeleteTemporaries(fwmap::kDC); }

BOOL CDC::Attach(HDC hDC) {
  if (!fwmap::AttachOwner(fwmap::kDC, m_hDC, hDC, this)) return FALSE;
  m_hAttribDC = m_hDC;
  return TRUE;
}

HDC CDC::Detach() {
  m_hAttribDC = NULL;
  return fwmap::DetachOwner(fwmap::kDC, m_hDC, this);
}

BOOL CDC::DeleteDC() {
  if (m_hDC == NULL) return FALSE;
  return ::DeleteDC(Detach());
}

// --- Selection

CPen* CDC::SelectObject(CPen* pPen) {
  return CPen::FromHandle((HPEN)::SelectObject(m_hDC, pPen->GetSafeHandle()));
}

CBrush* CDC::SelectObject(CBrush* pBrush) {
  return CBrush::FromHandle((HBRUSH)::SelectObject(m_hDC, pBrush->GetSafeHandle()));
}

CFont* CDC::SelectObject(CFont* pFont) {
  return CFont::FromHandle((HFONT)::SelectObject(m_hDC, pFont->GetSafeHandle()));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
  return CBitmap::FromHandle((HBITMAP)::SelectObject(m_hDC, pBitmap->GetSafeHandle()));
}

int CDC::SelectObject(CRgn* pRgn) {
  return (int)(INT_PTR)::SelectObject(m_hDC, pRgn->GetSafeHandle());
}

// Selecting a region answers its kind, not a previous object: there is none to return.
CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
  HGDIOBJ hObject = pObject->GetSafeHandle();
  if (hObject == NULL) return NULL;
  HGDIOBJ hOld = ::SelectObject(m_hDC, hObject);
  if (::GetObjectType(hObject) == OBJ_REGION) return NULL;
  return CGdiObject::FromHandle(hOld);
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }

CGdiObject* CDC::SelectStockObject(int nIndex) {
  HGDIOBJ hObject = ::GetStockObject(nIndex);
  if (hObject == NULL) return NULL;
  return CGdiObject::FromHandle(::SelectObject(m_hDC, hObject));
}

CPalette* CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground) {
  return CPalette::FromHandle(::SelectPalette(m_hDC, (HPALETTE)pPalette->GetSafeHandle(), bForceBackground));
}

CBrush* PASCAL CDC::GetHalftoneBrush() {
  struct HalftoneBrush {
    CBrush brush;
    HalftoneBrush() {
      WORD pattern[8];
      for (int i = 0; i < 8; i++) pattern[i] = (WORD)(0x5555 << (i & 1));
      HBITMAP hBitmap = ::CreateBitmap(8, 8, 1, 1, pattern);
      brush.Attach(::CreatePatternBrush(hBitmap));
      ::DeleteObject(hBitmap);
    }
  };
  static HalftoneBrush s_halftone;
  return &s_halftone.brush;
}

// --- Attributes and coordinates: Win32 answers through an out-parameter.

namespace {

template <class T, class... Args, class... Given>
T Out(BOOL(WINAPI* pfn)(HDC, Args...), HDC hDC, Given... given) {
  T result = {};
  pfn(hDC, given..., &result);
  return result;
}

}  // namespace

CPoint CDC::GetBrushOrg() const { return Out<POINT>(::GetBrushOrgEx, m_hDC); }
CPoint CDC::SetBrushOrg(int x, int y) { return Out<POINT>(::SetBrushOrgEx, m_hDC, x, y); }
CPoint CDC::GetViewportOrg() const { return Out<POINT>(::GetViewportOrgEx, m_hAttribDC); }
CPoint CDC::SetViewportOrg(int x, int y) { return Out<POINT>(::SetViewportOrgEx, m_hDC, x, y); }
CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight) { return Out<POINT>(::OffsetViewportOrgEx, m_hDC, nWidth, nHeight); }
CSize CDC::GetViewportExt() const { return Out<SIZE>(::GetViewportExtEx, m_hAttribDC); }
CSize CDC::SetViewportExt(int cx, int cy) { return Out<SIZE>(::SetViewportExtEx, m_hDC, cx, cy); }
CPoint CDC::GetWindowOrg() const { return Out<POINT>(::GetWindowOrgEx, m_hAttribDC); }
CPoint CDC::SetWindowOrg(int x, int y) { return Out<POINT>(::SetWindowOrgEx, m_hDC, x, y); }
CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight) { return Out<POINT>(::OffsetWindowOrgEx, m_hDC, nWidth, nHeight); }
CSize CDC::GetWindowExt() const { return Out<SIZE>(::GetWindowExtEx, m_hAttribDC); }
CSize CDC::SetWindowExt(int cx, int cy) { return Out<SIZE>(::SetWindowExtEx, m_hDC, cx, cy); }

// A size is the distance between two points: convert both ends.
void CDC::LPtoDP(LPSIZE lpSize) const {
  POINT pts[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
  ::LPtoDP(m_hAttribDC, pts, 2);
  lpSize->cx = pts[1].x - pts[0].x;
  lpSize->cy = pts[1].y - pts[0].y;
}

void CDC::DPtoLP(LPSIZE lpSize) const {
  POINT pts[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
  ::DPtoLP(m_hAttribDC, pts, 2);
  lpSize->cx = pts[1].x - pts[0].x;
  lpSize->cy = pts[1].y - pts[0].y;
}

// --- Lines

CPoint CDC::GetCurrentPosition() const { return Out<POINT>(::GetCurrentPositionEx, m_hAttribDC); }
CPoint CDC::MoveTo(int x, int y) { return Out<POINT>(::MoveToEx, m_hDC, x, y); }

// --- Filling

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
  ::SetBkColor(m_hDC, clr);
  ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, NULL, 0, NULL);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
  RECT rect = {x, y, x + cx, y + cy};
  FillSolidRect(&rect, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, clrTopLeft,
             clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
  FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
  FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
  FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}

// --- Frames

namespace {

// The frame of a logical rectangle, size thick, as a region in device units (clip regions
// are); the whole rectangle when it is thinner than twice the frame.
void MakeFrameRegion(const CDC* pDC, CRgn& rgn, LPCRECT lpRect, SIZE size) {
  RECT outer = *lpRect;
  pDC->LPtoDP(&outer);
  pDC->LPtoDP(&size);
  if (outer.left > outer.right) std::swap(outer.left, outer.right);
  if (outer.top > outer.bottom) std::swap(outer.top, outer.bottom);
  size.cx = abs(size.cx);
  size.cy = abs(size.cy);
  RECT inner = {outer.left + size.cx, outer.top + size.cy, outer.right - size.cx, outer.bottom - size.cy};
  rgn.CreateRectRgnIndirect(&outer);
  if (inner.left < inner.right && inner.top < inner.bottom) {
    CRgn rgnInner;
    rgnInner.CreateRectRgnIndirect(&inner);
    rgn.CombineRgn(&rgn, &rgnInner, RGN_DIFF);
  }
}

void InvertRegion(CDC* pDC, CRgn* pRgn, CBrush* pBrush) {
  int nSaved = pDC->SaveDC();
  pDC->SelectClipRgn(pRgn, RGN_AND);  // within the caller's own clipping
  RECT box;
  pDC->GetClipBox(&box);
  CBrush* pOld = pDC->SelectObject(pBrush);
  pDC->PatBlt(box.left, box.top, box.right - box.left, box.bottom - box.top, PATINVERT);
  pDC->SelectObject(pOld);
  pDC->RestoreDC(nSaved);
}

}  // namespace

void CDC::DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast, CBrush* pBrush,
                       CBrush* pBrushLast) {
  if (pBrush == NULL) pBrush = GetHalftoneBrush();
  if (pBrushLast == NULL) pBrushLast = pBrush;

  CRgn rgnNew;
  MakeFrameRegion(this, rgnNew, lpRect, size);
  if (lpRectLast != NULL) {
    CRgn rgnLast;
    MakeFrameRegion(this, rgnLast, lpRectLast, sizeLast);
    if (pBrushLast->GetSafeHandle() == pBrush->GetSafeHandle()) {
      // Same brush: one inversion of the symmetric difference draws the new frame and
      // erases the old one without flicker where they overlap.
      rgnNew.CombineRgn(&rgnNew, &rgnLast, RGN_XOR);
    } else {
      InvertRegion(this, &rgnLast, pBrushLast);
    }
  }
  InvertRegion(this, &rgnNew, pBrush);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush) {
  return ::DrawStateA(m_hDC, hBrush, NULL, (LPARAM)hBitmap, 0, pt.x, pt.y, size.cx, size.cy, nFlags | DST_BITMAP);
}

BOOL CDC::DrawState(CPoint pt, CSize size, CBitmap* pBitmap, UINT nFlags, CBrush* pBrush) {
  return DrawState(pt, size, (HBITMAP)pBitmap->GetSafeHandle(), nFlags, (HBRUSH)pBrush->GetSafeHandle());
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, CBrush* pBrush) {
  return ::DrawStateA(m_hDC, (HBRUSH)pBrush->GetSafeHandle(), NULL, (LPARAM)hIcon, 0, pt.x, pt.y, size.cx, size.cy,
                      nFlags | DST_ICON);
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCSTR lpszText, UINT nFlags, BOOL bPrefixText, int nTextLen,
                    CBrush* pBrush) {
  return ::DrawStateA(m_hDC, (HBRUSH)pBrush->GetSafeHandle(), NULL, (LPARAM)lpszText, (WPARAM)nTextLen, pt.x, pt.y,
                      size.cx, size.cy, nFlags | (bPrefixText ? DST_PREFIXTEXT : DST_TEXT));
}

// --- Bitmaps

namespace {

// A 32-bit top-down DIB section selected into a memory DC of its own.
class Surface32 {
 public:
  Surface32(int cx, int cy) : m_cx(cx) {
    void* pvBits = NULL;
    if (m_bitmap.CreateDIBSection(cx, cy, 32, &pvBits) && m_dc.CreateCompatibleDC(NULL)) {
      m_pBits = static_cast<BYTE*>(pvBits);
      m_pOld = m_dc.SelectObject(&m_bitmap);
    }
  }
  ~Surface32() {
    if (m_pOld) m_dc.SelectObject(m_pOld);
  }
  bool Ok() const { return m_pBits != NULL; }
  HDC Dc() const { return m_dc.m_hDC; }
  BYTE* Pixel(int x, int y) const { return m_pBits + ((size_t)y * m_cx + x) * 4; }

 private:
  int m_cx;
  CBitmap m_bitmap;
  CDC m_dc;
  CBitmap* m_pOld = NULL;
  BYTE* m_pBits = NULL;
};

// Source pixels [first, last) that destination pixel i of n covers out of a source of m.
void Span(int i, int n, int m, int& first, int& last) {
  first = (int)((long long)i * m / n);
  last = std::max(first + 1, (int)(((long long)(i + 1) * m + n - 1) / n));
}

bool PlainUnits(HDC hDC) { return ::GetMapMode(hDC) == MM_TEXT && ::GetGraphicsMode(hDC) == GM_COMPATIBLE; }

// Box-filtered shrink through two 32-bit surfaces; false when it can't be done this way
// (then Win32's own stretch runs).
bool HalftoneShrink(HDC hDest, int x, int y, int cx, int cy, HDC hSrc, int xSrc, int ySrc, int cxSrc, int cySrc) {
  const long long kMaxSourcePixels = 4096LL * 4096;
  if ((long long)cxSrc * cySrc > kMaxSourcePixels) return false;
  if (!PlainUnits(hDest) || !PlainUnits(hSrc)) return false;
  Surface32 src(cxSrc, cySrc), dst(cx, cy);
  if (!src.Ok() || !dst.Ok()) return false;
  if (!::BitBlt(src.Dc(), 0, 0, cxSrc, cySrc, hSrc, xSrc, ySrc, SRCCOPY)) return false;
  ::GdiFlush();
  for (int dy = 0; dy < cy; dy++) {
    int sy0, sy1;
    Span(dy, cy, cySrc, sy0, sy1);
    for (int dx = 0; dx < cx; dx++) {
      int sx0, sx1;
      Span(dx, cx, cxSrc, sx0, sx1);
      unsigned sum[4] = {0, 0, 0, 0};
      for (int sy = sy0; sy < sy1; sy++) {
        const BYTE* p = src.Pixel(sx0, sy);
        for (int sx = sx0; sx < sx1; sx++, p += 4) {
          for (int c = 0; c < 4; c++) sum[c] += p[c];
        }
      }
      unsigned count = (unsigned)((sx1 - sx0) * (sy1 - sy0));
      BYTE* q = dst.Pixel(dx, dy);
      for (int c = 0; c < 4; c++) q[c] = (BYTE)((sum[c] + count / 2) / count);
    }
  }
  return ::BitBlt(hDest, x, y, cx, cy, dst.Dc(), 0, 0, SRCCOPY) != FALSE;
}

}  // namespace

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, DWORD dwRop) {
  HDC hSrc = pSrcDC->GetSafeHdc();
  bool shrinking = nWidth > 0 && nHeight > 0 && nSrcWidth > 0 && nSrcHeight > 0 &&
                   (nSrcWidth > nWidth || nSrcHeight > nHeight);
  if (shrinking && hSrc != NULL && dwRop == SRCCOPY && ::GetStretchBltMode(m_hDC) == HALFTONE &&
      HalftoneShrink(m_hDC, x, y, nWidth, nHeight, hSrc, xSrc, ySrc, nSrcWidth, nSrcHeight)) {
    return TRUE;
  }
  return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, hSrc, xSrc, ySrc, nSrcWidth, nSrcHeight, dwRop);
}

// --- Text

int CDC::DrawText(LPCSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
  return ::DrawTextA(m_hDC, const_cast<LPSTR>(lpszString), nCount, lpRect, nFormat);
}

namespace {

// Room Win32 may add when it shortens text in place (the ellipsis), plus the NUL.
const int kModifyRoom = 4 + 1;

}  // namespace

int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
  int nLength = str.GetLength();
  if (!(nFormat & DT_MODIFYSTRING)) return DrawText((LPCSTR)str, nLength, lpRect, nFormat);
  // Draws from a copy: the caller's string is const.
  std::vector<char> buffer((LPCSTR)str, (LPCSTR)str + nLength);
  buffer.resize(nLength + kModifyRoom, '\0');
  return ::DrawTextA(m_hDC, buffer.data(), nLength, lpRect, nFormat);
}

int CDC::DrawText(CString& str, LPRECT lpRect, UINT nFormat) {
  int nLength = str.GetLength();
  if (!(nFormat & DT_MODIFYSTRING)) return DrawText((LPCSTR)str, nLength, lpRect, nFormat);
  LPSTR p = str.GetBuffer(nLength + kModifyRoom);
  memset(p + nLength, 0, kModifyRoom);
  int nResult = ::DrawTextA(m_hDC, p, nLength, lpRect, nFormat);
  p[nLength + kModifyRoom - 1] = '\0';
  str.ReleaseBuffer();
  return nResult;
}

CSize CDC::GetTextExtent(LPCSTR lpszString, int nCount) const {
  return Out<SIZE>(::GetTextExtentPoint32A, m_hAttribDC, lpszString, nCount);
}

CSize CDC::GetOutputTextExtent(LPCSTR lpszString, int nCount) const {
  return Out<SIZE>(::GetTextExtentPoint32A, m_hDC, lpszString, nCount);
}

CSize CDC::GetTabbedTextExtent(LPCSTR lpszString, int nCount, int nTabPositions, LPINT lpnTabStopPositions) const {
  DWORD dw = ::GetTabbedTextExtentA(m_hAttribDC, lpszString, nCount, nTabPositions, lpnTabStopPositions);
  return CSize(LOWORD(dw), HIWORD(dw));
}

int CDC::GetTextFace(CString& rString) const {
  int nResult = ::GetTextFaceA(m_hAttribDC, LF_FACESIZE, rString.GetBuffer(LF_FACESIZE));
  rString.ReleaseBuffer();
  return nResult;
}
