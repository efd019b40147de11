// GDI wrappers: device contexts (CDC and the window DCs) and drawing objects
// (CPen, CBrush, CFont, CBitmap, CPalette, CRgn on CGdiObject).
//
// A wrapper that made or attached a handle owns it: the destructor deletes it. FromHandle
// returns the owning wrapper when there is one, else a temporary wrapper that belongs to
// the calling thread and lives until that thread's idle clean-up (DeleteTempMap) or its
// end; never keep such a pointer across messages.
#pragma once
#include <fw/object.h>
#include <fw/string.h>
#include <fw/geometry.h>

// <windowsx.h> makes CopyRgn a two-argument macro, which would break CRgn::CopyRgn.
#undef CopyRgn

class CWnd;
class CDC;
class CBitmap;

// GetSafeHandle and friends may be called through a null pointer, as callers expect; the
// empty asm keeps the optimiser from assuming that `this` is never null.
inline bool _FwIsNull(const void* p) {
  __asm__("" : "+r"(p));
  return p == nullptr;
}

// The window handle of a CWnd (NULL for a null pointer); lets the DC classes take a CWnd*
// without the window classes' declarations.
FW_API HWND AFXAPI _AfxHwndOf(const CWnd* pWnd);

class FW_API CGdiObject : public CObject {
  DECLARE_DYNCREATE(CGdiObject)
 public:
  HGDIOBJ m_hObject;

  CGdiObject() : m_hObject(NULL) {}
  ~CGdiObject() override;

  operator HGDIOBJ() const { return _FwIsNull(this) ? NULL : m_hObject; }
  HGDIOBJ GetSafeHandle() const { return _FwIsNull(this) ? NULL : m_hObject; }

  static CGdiObject* PASCAL FromHandle(HGDIOBJ hObject);
  // Frees this thread's temporary wrappers of drawing objects (at idle).
  static void PASCAL DeleteTempMap();

  BOOL Attach(HGDIOBJ hObject);
  HGDIOBJ Detach();
  BOOL DeleteObject();  // deletes the handle; FALSE when there is none

  int GetObject(int nCount, LPVOID lpObject) const { return ::GetObjectA(m_hObject, nCount, lpObject); }
  UINT GetObjectType() const { return (UINT)::GetObjectType(m_hObject); }
  BOOL CreateStockObject(int nIndex) { return Attach(::GetStockObject(nIndex)); }
  BOOL UnrealizeObject() { return ::UnrealizeObject(m_hObject); }

  BOOL operator==(const CGdiObject& obj) const { return obj.m_hObject == m_hObject; }
  BOOL operator!=(const CGdiObject& obj) const { return obj.m_hObject != m_hObject; }
};

class FW_API CPen : public CGdiObject {
  DECLARE_DYNAMIC(CPen)
 public:
  CPen() {}
  CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }
  CPen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount = 0, const DWORD* lpStyle = NULL) {
    CreatePen(nPenStyle, nWidth, pLogBrush, nStyleCount, lpStyle);
  }
  static CPen* PASCAL FromHandle(HPEN hPen);

  operator HPEN() const { return (HPEN)GetSafeHandle(); }
  BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor) { return Attach(::CreatePen(nPenStyle, nWidth, crColor)); }
  BOOL CreatePen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount = 0, const DWORD* lpStyle = NULL) {
    return Attach(::ExtCreatePen(nPenStyle, nWidth, pLogBrush, nStyleCount, lpStyle));
  }
  BOOL CreatePenIndirect(LPLOGPEN lpLogPen) { return Attach(::CreatePenIndirect(lpLogPen)); }
  int GetLogPen(LOGPEN* pLogPen) const { return GetObject(sizeof(LOGPEN), pLogPen); }
  int GetExtLogPen(EXTLOGPEN* pLogPen) const { return GetObject(sizeof(EXTLOGPEN), pLogPen); }
};

class FW_API CBrush : public CGdiObject {
  DECLARE_DYNAMIC(CBrush)
 public:
  CBrush() {}
  explicit CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }
  CBrush(int nIndex, COLORREF crColor) { CreateHatchBrush(nIndex, crColor); }
  explicit CBrush(CBitmap* pBitmap) { CreatePatternBrush(pBitmap); }
  static CBrush* PASCAL FromHandle(HBRUSH hBrush);

  operator HBRUSH() const { return (HBRUSH)GetSafeHandle(); }
  BOOL CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }
  BOOL CreateHatchBrush(int nIndex, COLORREF crColor) { return Attach(::CreateHatchBrush(nIndex, crColor)); }
  BOOL CreateBrushIndirect(const LOGBRUSH* lpLogBrush) { return Attach(::CreateBrushIndirect(lpLogBrush)); }
  // The brush copies the bitmap: the bitmap may be deleted afterwards.
  BOOL CreatePatternBrush(CBitmap* pBitmap);
  BOOL CreateDIBPatternBrush(const void* lpPackedDIB, UINT nUsage) {
    return Attach(::CreateDIBPatternBrushPt(lpPackedDIB, nUsage));
  }
  // A brush of its own in the colour (the system's shared brushes must not be deleted).
  BOOL CreateSysColorBrush(int nIndex) { return Attach(::CreateSolidBrush(::GetSysColor(nIndex))); }
  int GetLogBrush(LOGBRUSH* pLogBrush) const { return GetObject(sizeof(LOGBRUSH), pLogBrush); }
};

class FW_API CFont : public CGdiObject {
  DECLARE_DYNAMIC(CFont)
 public:
  CFont() {}
  static CFont* PASCAL FromHandle(HFONT hFont);

  operator HFONT() const { return (HFONT)GetSafeHandle(); }
  BOOL CreateFontIndirect(const LOGFONTA* lpLogFont) { return Attach(::CreateFontIndirectA(lpLogFont)); }
  BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                  BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                  BYTE nQuality, BYTE nPitchAndFamily, LPCSTR lpszFacename) {
    return Attach(::CreateFontA(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline, cStrikeOut,
                                nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily, lpszFacename));
  }
  // Sizes in tenths of a point, converted for pDC (the screen when NULL).
  BOOL CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC = NULL);
  BOOL CreatePointFontIndirect(const LOGFONTA* lpLogFont, CDC* pDC = NULL);
  int GetLogFont(LOGFONTA* pLogFont) const { return GetObject(sizeof(LOGFONTA), pLogFont); }
};

class FW_API CBitmap : public CGdiObject {
  DECLARE_DYNAMIC(CBitmap)
 public:
  CBitmap() {}
  static CBitmap* PASCAL FromHandle(HBITMAP hBitmap);

  operator HBITMAP() const { return (HBITMAP)GetSafeHandle(); }
  // From the module that holds the bitmap along the resource chain (AfxFindResourceHandle).
  BOOL LoadBitmap(LPCSTR lpszResourceName);
  BOOL LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEA(nIDResource)); }
  BOOL LoadOEMBitmap(UINT nIDBitmap) { return Attach(::LoadBitmapA(NULL, MAKEINTRESOURCEA(nIDBitmap))); }

  BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) {
    return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
  }
  BOOL CreateBitmapIndirect(LPBITMAP lpBitmap) { return Attach(::CreateBitmapIndirect(lpBitmap)); }
  BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
  BOOL CreateDiscardableBitmap(CDC* pDC, int nWidth, int nHeight) { return CreateCompatibleBitmap(pDC, nWidth, nHeight); }
  // A DIB section; *ppvBits (optional) receives its pixels. pDC matters only for DIB_PAL_COLORS.
  BOOL CreateDIBSection(const BITMAPINFO* pbmi, UINT iUsage = DIB_RGB_COLORS, void** ppvBits = NULL, CDC* pDC = NULL);
  // A top-down DIB section without colour table (16, 24 or 32 bits): row 0 comes first.
  BOOL CreateDIBSection(int nWidth, int nHeight, UINT nBitCount, void** ppvBits = NULL);

  int GetBitmap(BITMAP* pBitMap) const { return GetObject(sizeof(BITMAP), pBitMap); }
  DWORD SetBitmapBits(DWORD dwCount, const void* lpBits) { return ::SetBitmapBits((HBITMAP)m_hObject, dwCount, lpBits); }
  DWORD GetBitmapBits(DWORD dwCount, LPVOID lpBits) const { return ::GetBitmapBits((HBITMAP)m_hObject, dwCount, lpBits); }
  CSize SetBitmapDimension(int nWidth, int nHeight);
  CSize GetBitmapDimension() const;
};

class FW_API CPalette : public CGdiObject {
  DECLARE_DYNAMIC(CPalette)
 public:
  CPalette() {}
  static CPalette* PASCAL FromHandle(HPALETTE hPalette);

  operator HPALETTE() const { return (HPALETTE)GetSafeHandle(); }
  BOOL CreatePalette(LPLOGPALETTE lpLogPalette) { return Attach(::CreatePalette(lpLogPalette)); }
  BOOL CreateHalftonePalette(CDC* pDC);
  int GetEntryCount() const;
  UINT GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors) const {
    return ::GetPaletteEntries((HPALETTE)m_hObject, nStartIndex, nNumEntries, lpPaletteColors);
  }
  UINT SetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors) {
    return ::SetPaletteEntries((HPALETTE)m_hObject, nStartIndex, nNumEntries, lpPaletteColors);
  }
  UINT GetNearestPaletteIndex(COLORREF crColor) const { return ::GetNearestPaletteIndex((HPALETTE)m_hObject, crColor); }
  BOOL ResizePalette(UINT nNumEntries) { return ::ResizePalette((HPALETTE)m_hObject, nNumEntries); }
  void AnimatePalette(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors) {
    ::AnimatePalette((HPALETTE)m_hObject, nStartIndex, nNumEntries, lpPaletteColors);
  }
};

class FW_API CRgn : public CGdiObject {
  DECLARE_DYNAMIC(CRgn)
 public:
  CRgn() {}
  static CRgn* PASCAL FromHandle(HRGN hRgn);

  operator HRGN() const { return (HRGN)GetSafeHandle(); }
  BOOL CreateRectRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateRectRgn(x1, y1, x2, y2)); }
  BOOL CreateRectRgnIndirect(LPCRECT lpRect) { return Attach(::CreateRectRgnIndirect(lpRect)); }
  BOOL CreateEllipticRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateEllipticRgn(x1, y1, x2, y2)); }
  BOOL CreateEllipticRgnIndirect(LPCRECT lpRect) { return Attach(::CreateEllipticRgnIndirect(lpRect)); }
  BOOL CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode) {
    return Attach(::CreatePolygonRgn(lpPoints, nCount, nMode));
  }
  BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3) {
    return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
  }
  BOOL CreateFromData(const XFORM* lpXForm, int nCount, const RGNDATA* pRgnData) {
    return Attach(::ExtCreateRegion(lpXForm, nCount, pRgnData));
  }

  // Region results: ERROR, NULLREGION, SIMPLEREGION, COMPLEXREGION.
  int CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode) {
    return ::CombineRgn((HRGN)m_hObject, (HRGN)pRgn1->GetSafeHandle(), (HRGN)pRgn2->GetSafeHandle(), nCombineMode);
  }
  int CopyRgn(const CRgn* pRgnSrc) { return ::CombineRgn((HRGN)m_hObject, (HRGN)pRgnSrc->GetSafeHandle(), NULL, RGN_COPY); }
  BOOL EqualRgn(const CRgn* pRgn) const { return ::EqualRgn((HRGN)m_hObject, (HRGN)pRgn->GetSafeHandle()); }
  void SetRectRgn(int x1, int y1, int x2, int y2) { ::SetRectRgn((HRGN)m_hObject, x1, y1, x2, y2); }
  void SetRectRgn(LPCRECT lpRect) { ::SetRectRgn((HRGN)m_hObject, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
  int OffsetRgn(int x, int y) { return ::OffsetRgn((HRGN)m_hObject, x, y); }
  int OffsetRgn(POINT point) { return ::OffsetRgn((HRGN)m_hObject, point.x, point.y); }
  int GetRgnBox(LPRECT lpRect) const { return ::GetRgnBox((HRGN)m_hObject, lpRect); }
  BOOL PtInRegion(int x, int y) const { return ::PtInRegion((HRGN)m_hObject, x, y); }
  BOOL PtInRegion(POINT point) const { return ::PtInRegion((HRGN)m_hObject, point.x, point.y); }
  BOOL RectInRegion(LPCRECT lpRect) const { return ::RectInRegion((HRGN)m_hObject, lpRect); }
  int GetRegionData(LPRGNDATA lpRgnData, int nCount) const {
    return (int)::GetRegionData((HRGN)m_hObject, nCount, lpRgnData);
  }
};

// A device context. m_hDC takes the output and m_hAttribDC answers queries; both are the
// same handle here.
class FW_API CDC : public CObject {
  DECLARE_DYNCREATE(CDC)
 public:
  HDC m_hDC;
  HDC m_hAttribDC;

  CDC() : m_hDC(NULL), m_hAttribDC(NULL) {}
  ~CDC() override;  // deletes the DC it holds (DeleteDC)

  operator HDC() const { return _FwIsNull(this) ? NULL : m_hDC; }
  HDC GetSafeHdc() const { return _FwIsNull(this) ? NULL : m_hDC; }

  static CDC* PASCAL FromHandle(HDC hDC);
  // Frees this thread's temporary DC wrappers (at idle).
  static void PASCAL DeleteTempMap();

  BOOL Attach(HDC hDC);
  HDC Detach();

  BOOL CreateDC(LPCSTR lpszDriverName, LPCSTR lpszDeviceName, LPCSTR lpszOutput, const void* lpInitData) {
    return Attach(::CreateDCA(lpszDriverName, lpszDeviceName, lpszOutput, (const DEVMODEA*)lpInitData));
  }
  BOOL CreateIC(LPCSTR lpszDriverName, LPCSTR lpszDeviceName, LPCSTR lpszOutput, const void* lpInitData) {
    return Attach(::CreateICA(lpszDriverName, lpszDeviceName, lpszOutput, (const DEVMODEA*)lpInitData));
  }
  // Compatible with pDC, or with the screen when pDC is NULL.
  BOOL CreateCompatibleDC(CDC* pDC) { return Attach(::CreateCompatibleDC(pDC->GetSafeHdc())); }
  BOOL DeleteDC();

  int SaveDC() { return ::SaveDC(m_hDC); }
  BOOL RestoreDC(int nSavedDC) { return ::RestoreDC(m_hDC, nSavedDC); }
  int GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hAttribDC, nIndex); }

  // --- Selecting objects: each returns the object it replaces (a temporary wrapper
  // unless some wrapper owns that handle).
  CPen* SelectObject(CPen* pPen);
  CBrush* SelectObject(CBrush* pBrush);
  CFont* SelectObject(CFont* pFont);
  CBitmap* SelectObject(CBitmap* pBitmap);
  int SelectObject(CRgn* pRgn);  // the clip region's kind (SIMPLEREGION ...)
  CGdiObject* SelectObject(CGdiObject* pObject);
  HGDIOBJ SelectObject(HGDIOBJ hObject);
  CGdiObject* SelectStockObject(int nIndex);
  CPalette* SelectPalette(CPalette* pPalette, BOOL bForceBackground);
  UINT RealizePalette() { return ::RealizePalette(m_hDC); }

  CPen* GetCurrentPen() const { return CPen::FromHandle((HPEN)::GetCurrentObject(m_hDC, OBJ_PEN)); }
  CBrush* GetCurrentBrush() const { return CBrush::FromHandle((HBRUSH)::GetCurrentObject(m_hDC, OBJ_BRUSH)); }
  CFont* GetCurrentFont() const { return CFont::FromHandle((HFONT)::GetCurrentObject(m_hDC, OBJ_FONT)); }
  CBitmap* GetCurrentBitmap() const { return CBitmap::FromHandle((HBITMAP)::GetCurrentObject(m_hDC, OBJ_BITMAP)); }
  CPalette* GetCurrentPalette() const { return CPalette::FromHandle((HPALETTE)::GetCurrentObject(m_hDC, OBJ_PAL)); }

  // A process-wide 50 % grey checkerboard for drag feedback (never delete it).
  static CBrush* PASCAL GetHalftoneBrush();

  // --- Attributes
  COLORREF GetBkColor() const { return ::GetBkColor(m_hAttribDC); }
  COLORREF SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor); }
  int GetBkMode() const { return ::GetBkMode(m_hAttribDC); }
  int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
  COLORREF GetTextColor() const { return ::GetTextColor(m_hAttribDC); }
  COLORREF SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
  int GetROP2() const { return ::GetROP2(m_hAttribDC); }
  int SetROP2(int nDrawMode) { return ::SetROP2(m_hDC, nDrawMode); }
  int GetStretchBltMode() const { return ::GetStretchBltMode(m_hAttribDC); }
  // HALFTONE needs the brush origin set again afterwards (SetBrushOrg), as Win32 asks.
  int SetStretchBltMode(int nStretchMode) { return ::SetStretchBltMode(m_hDC, nStretchMode); }
  int GetPolyFillMode() const { return ::GetPolyFillMode(m_hAttribDC); }
  int SetPolyFillMode(int nPolyFillMode) { return ::SetPolyFillMode(m_hDC, nPolyFillMode); }
  UINT GetTextAlign() const { return ::GetTextAlign(m_hAttribDC); }
  UINT SetTextAlign(UINT nFlags) { return ::SetTextAlign(m_hDC, nFlags); }
  int SetTextCharacterExtra(int nCharExtra) { return ::SetTextCharacterExtra(m_hDC, nCharExtra); }
  COLORREF GetNearestColor(COLORREF crColor) const { return ::GetNearestColor(m_hAttribDC, crColor); }
  CPoint GetBrushOrg() const;
  CPoint SetBrushOrg(int x, int y);
  CPoint SetBrushOrg(POINT point) { return SetBrushOrg(point.x, point.y); }

  // --- Coordinates
  int GetMapMode() const { return ::GetMapMode(m_hAttribDC); }
  int SetMapMode(int nMapMode) { return ::SetMapMode(m_hDC, nMapMode); }
  CPoint GetViewportOrg() const;
  CPoint SetViewportOrg(int x, int y);
  CPoint SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }
  CPoint OffsetViewportOrg(int nWidth, int nHeight);
  CSize GetViewportExt() const;
  CSize SetViewportExt(int cx, int cy);
  CSize SetViewportExt(SIZE size) { return SetViewportExt(size.cx, size.cy); }
  CPoint GetWindowOrg() const;
  CPoint SetWindowOrg(int x, int y);
  CPoint SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }
  CPoint OffsetWindowOrg(int nWidth, int nHeight);
  CSize GetWindowExt() const;
  CSize SetWindowExt(int cx, int cy);
  CSize SetWindowExt(SIZE size) { return SetWindowExt(size.cx, size.cy); }
  void LPtoDP(LPPOINT lpPoints, int nCount = 1) const { ::LPtoDP(m_hAttribDC, lpPoints, nCount); }
  void LPtoDP(LPRECT lpRect) const { ::LPtoDP(m_hAttribDC, (LPPOINT)lpRect, 2); }
  void LPtoDP(LPSIZE lpSize) const;
  void DPtoLP(LPPOINT lpPoints, int nCount = 1) const { ::DPtoLP(m_hAttribDC, lpPoints, nCount); }
  void DPtoLP(LPRECT lpRect) const { ::DPtoLP(m_hAttribDC, (LPPOINT)lpRect, 2); }
  void DPtoLP(LPSIZE lpSize) const;

  // --- Clipping (regions are in device units)
  int GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }
  int SelectClipRgn(CRgn* pRgn) { return ::SelectClipRgn(m_hDC, (HRGN)pRgn->GetSafeHandle()); }
  int SelectClipRgn(CRgn* pRgn, int nMode) { return ::ExtSelectClipRgn(m_hDC, (HRGN)pRgn->GetSafeHandle(), nMode); }
  int ExcludeClipRect(int x1, int y1, int x2, int y2) { return ::ExcludeClipRect(m_hDC, x1, y1, x2, y2); }
  int ExcludeClipRect(LPCRECT lpRect) { return ExcludeClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
  int IntersectClipRect(int x1, int y1, int x2, int y2) { return ::IntersectClipRect(m_hDC, x1, y1, x2, y2); }
  int IntersectClipRect(LPCRECT lpRect) {
    return IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
  }
  int OffsetClipRgn(int x, int y) { return ::OffsetClipRgn(m_hDC, x, y); }
  int ExcludeUpdateRgn(CWnd* pWnd);
  BOOL PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
  BOOL PtVisible(POINT point) const { return ::PtVisible(m_hDC, point.x, point.y); }
  BOOL RectVisible(LPCRECT lpRect) const { return ::RectVisible(m_hDC, lpRect); }

  // --- Lines and shapes
  CPoint GetCurrentPosition() const;
  CPoint MoveTo(int x, int y);  // returns the previous position
  CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
  BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
  BOOL LineTo(POINT point) { return ::LineTo(m_hDC, point.x, point.y); }
  BOOL Polyline(const POINT* lpPoints, int nCount) { return ::Polyline(m_hDC, lpPoints, nCount); }
  BOOL Polygon(const POINT* lpPoints, int nCount) { return ::Polygon(m_hDC, lpPoints, nCount); }
  BOOL PolyPolygon(const POINT* lpPoints, const INT* lpPolyCounts, int nCount) {
    return ::PolyPolygon(m_hDC, lpPoints, lpPolyCounts, nCount);
  }
  BOOL Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    return ::Arc(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
  }
  BOOL Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }
  BOOL Rectangle(LPCRECT lpRect) { return ::Rectangle(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
  BOOL RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) { return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3); }
  BOOL RoundRect(LPCRECT lpRect, POINT point) {
    return ::RoundRect(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom, point.x, point.y);
  }
  BOOL Ellipse(int x1, int y1, int x2, int y2) { return ::Ellipse(m_hDC, x1, y1, x2, y2); }
  BOOL Ellipse(LPCRECT lpRect) { return ::Ellipse(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }

  // --- Filling
  void FillRect(LPCRECT lpRect, CBrush* pBrush) { ::FillRect(m_hDC, lpRect, (HBRUSH)pBrush->GetSafeHandle()); }
  void FrameRect(LPCRECT lpRect, CBrush* pBrush) { ::FrameRect(m_hDC, lpRect, (HBRUSH)pBrush->GetSafeHandle()); }
  void InvertRect(LPCRECT lpRect) { ::InvertRect(m_hDC, lpRect); }
  // Fills through the background colour, which stays set to clr afterwards.
  void FillSolidRect(LPCRECT lpRect, COLORREF clr);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
  void Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
  void Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight);
  BOOL FillRgn(CRgn* pRgn, CBrush* pBrush) {
    return ::FillRgn(m_hDC, (HRGN)pRgn->GetSafeHandle(), (HBRUSH)pBrush->GetSafeHandle());
  }
  BOOL FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight) {
    return ::FrameRgn(m_hDC, (HRGN)pRgn->GetSafeHandle(), (HBRUSH)pBrush->GetSafeHandle(), nWidth, nHeight);
  }
  BOOL InvertRgn(CRgn* pRgn) { return ::InvertRgn(m_hDC, (HRGN)pRgn->GetSafeHandle()); }
  BOOL PaintRgn(CRgn* pRgn) { return ::PaintRgn(m_hDC, (HRGN)pRgn->GetSafeHandle()); }

  // --- Frames and controls
  BOOL DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) { return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags); }
  BOOL DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState) {
    return ::DrawFrameControl(m_hDC, lpRect, nType, nState);
  }
  void DrawFocusRect(LPCRECT lpRect) { ::DrawFocusRect(m_hDC, lpRect); }
  // Inverts the frame of lpRect (thickness size) and removes the one drawn last time
  // (lpRectLast, may be NULL) in one step; brushes default to the halftone brush.
  void DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast, CBrush* pBrush = NULL,
                    CBrush* pBrushLast = NULL);
  BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
  BOOL DrawIcon(POINT point, HICON hIcon) { return ::DrawIcon(m_hDC, point.x, point.y, hIcon); }
  BOOL DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush = NULL);
  BOOL DrawState(CPoint pt, CSize size, CBitmap* pBitmap, UINT nFlags, CBrush* pBrush = NULL);
  BOOL DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, CBrush* pBrush = NULL);
  BOOL DrawState(CPoint pt, CSize size, LPCSTR lpszText, UINT nFlags, BOOL bPrefixText = TRUE, int nTextLen = 0,
                 CBrush* pBrush = NULL);

  // --- Bitmaps
  BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) { return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop); }
  BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) {
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC->GetSafeHdc(), xSrc, ySrc, dwRop);
  }
  // In HALFTONE mode a shrinking copy averages the source pixels each destination pixel
  // covers, as Windows does (Wine only samples them).
  BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                  int nSrcHeight, DWORD dwRop);
  BOOL TransparentBlt(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc,
                      int nSrcWidth, int nSrcHeight, UINT clrTransparent) {
    return ::GdiTransparentBlt(m_hDC, xDest, yDest, nDestWidth, nDestHeight, pSrcDC->GetSafeHdc(), xSrc, ySrc,
                               nSrcWidth, nSrcHeight, clrTransparent);
  }
  BOOL AlphaBlend(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc,
                  int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend) {
    return ::GdiAlphaBlend(m_hDC, xDest, yDest, nDestWidth, nDestHeight, pSrcDC->GetSafeHdc(), xSrc, ySrc, nSrcWidth,
                           nSrcHeight, blend);
  }
  COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
  COLORREF GetPixel(POINT point) const { return ::GetPixel(m_hDC, point.x, point.y); }
  COLORREF SetPixel(int x, int y, COLORREF crColor) { return ::SetPixel(m_hDC, x, y, crColor); }
  COLORREF SetPixel(POINT point, COLORREF crColor) { return ::SetPixel(m_hDC, point.x, point.y, crColor); }
  BOOL SetPixelV(int x, int y, COLORREF crColor) { return ::SetPixelV(m_hDC, x, y, crColor); }

  // --- Text
  BOOL TextOut(int x, int y, LPCSTR lpszString, int nCount) { return ::TextOutA(m_hDC, x, y, lpszString, nCount); }
  BOOL TextOut(int x, int y, const CString& str) { return TextOut(x, y, (LPCSTR)str, str.GetLength()); }
  BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCSTR lpszString, UINT nCount, LPINT lpDxWidths) {
    return ::ExtTextOutA(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
  }
  BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str, LPINT lpDxWidths) {
    return ExtTextOut(x, y, nOptions, lpRect, (LPCSTR)str, (UINT)str.GetLength(), lpDxWidths);
  }
  // With DT_MODIFYSTRING, Win32 writes the shortened text back into lpszString (a buffer
  // with room for four more characters). The CString forms are safe: a non-const string
  // receives the shortened text, a const one is left as it is.
  int DrawText(LPCSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat);
  int DrawText(const CString& str, LPRECT lpRect, UINT nFormat);
  int DrawText(CString& str, LPRECT lpRect, UINT nFormat);
  int DrawTextEx(LPSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat, LPDRAWTEXTPARAMS lpDTParams) {
    return ::DrawTextExA(m_hDC, lpszString, nCount, lpRect, nFormat, lpDTParams);
  }
  CSize GetTextExtent(LPCSTR lpszString, int nCount) const;
  CSize GetTextExtent(const CString& str) const { return GetTextExtent((LPCSTR)str, str.GetLength()); }
  CSize GetOutputTextExtent(LPCSTR lpszString, int nCount) const;
  CSize GetOutputTextExtent(const CString& str) const { return GetOutputTextExtent((LPCSTR)str, str.GetLength()); }
  CSize GetTabbedTextExtent(LPCSTR lpszString, int nCount, int nTabPositions, LPINT lpnTabStopPositions) const;
  BOOL GetTextMetrics(LPTEXTMETRICA lpMetrics) const { return ::GetTextMetricsA(m_hAttribDC, lpMetrics); }
  int GetTextFace(int nCount, LPSTR lpszFacename) const { return ::GetTextFaceA(m_hAttribDC, nCount, lpszFacename); }
  int GetTextFace(CString& rString) const;
  BOOL GetCharWidth(UINT nFirstChar, UINT nLastChar, LPINT lpBuffer) const {
    return ::GetCharWidthA(m_hAttribDC, nFirstChar, nLastChar, lpBuffer);
  }
};

// The DC of a WM_PAINT: BeginPaint on construction, EndPaint on destruction.
class FW_API CPaintDC : public CDC {
  DECLARE_DYNAMIC(CPaintDC)
 public:
  explicit CPaintDC(CWnd* pWnd);
  ~CPaintDC() override;

  PAINTSTRUCT m_ps;

 protected:
  HWND m_hWnd;
};

// A window's client-area DC (GetDC / ReleaseDC); NULL window: the screen.
class FW_API CClientDC : public CDC {
  DECLARE_DYNAMIC(CClientDC)
 public:
  explicit CClientDC(CWnd* pWnd);
  ~CClientDC() override;

 protected:
  HWND m_hWnd;
};

// A window's whole-window DC (GetWindowDC / ReleaseDC); NULL window: the screen.
class FW_API CWindowDC : public CDC {
  DECLARE_DYNAMIC(CWindowDC)
 public:
  explicit CWindowDC(CWnd* pWnd);
  ~CWindowDC() override;

 protected:
  HWND m_hWnd;
};
