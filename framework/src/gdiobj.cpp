// Drawing objects: CGdiObject and its handle map, CPen, CBrush, CFont, CBitmap, CPalette, CRgn.
#include <fw/gdi.h>
#include <fw/module.h>

#include "handlemap.h"

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

// Temporary wrappers hold the handle without owning it.
void FwTempAttach(CGdiObject* p, void* h) { p->m_hObject = static_cast<HGDIOBJ>(h); }
void FwTempDetach(CGdiObject* p) { p->m_hObject = NULL; }

CGdiObject::~CGdiObject() { DeleteObject(); }

BOOL CGdiObject::Attach(HGDIOBJ hObject) { return fwmap::AttachOwner(fwmap::kGdiObject, m_hObject, hObject, this); }
HGDIOBJ CGdiObject::Detach() { return fwmap::DetachOwner(fwmap::kGdiObject, m_hObject, this); }

BOOL CGdiObject::DeleteObject() {
  if (m_hObject == NULL) return FALSE;
  return ::DeleteObject(Detach());
}

// The wrapper's class follows the handle's kind, so that the usual casts of the result
// ((CFont*)pDC->SelectStockObject(...)) are casts to what the object really is.
CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ hObject) {
  if (hObject == NULL) return NULL;
  if (CObject* p = fwmap::LookupPermanent(fwmap::kGdiObject, hObject, RUNTIME_CLASS(CGdiObject))) {
    return static_cast<CGdiObject*>(p);
  }
  switch (::GetObjectType(hObject)) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
      return fwmap::FromHandle<CPen>(fwmap::kGdiObject, hObject);
    case OBJ_BRUSH:
      return fwmap::FromHandle<CBrush>(fwmap::kGdiObject, hObject);
    case OBJ_FONT:
      return fwmap::FromHandle<CFont>(fwmap::kGdiObject, hObject);
    case OBJ_BITMAP:
      return fwmap::FromHandle<CBitmap>(fwmap::kGdiObject, hObject);
    case OBJ_PAL:
      return fwmap::FromHandle<CPalette>(fwmap::kGdiObject, hObject);
    case OBJ_REGION:
      return fwmap::FromHandle<CRgn>(fwmap::kGdiObject, hObject);
    default:
      return fwmap::FromHandle<CGdiObject>(fwmap::kGdiObject, hObject);
  }
}

void PASCAL CGdiObject::DeleteTempMap() { fwmap::DeleteTemporaries(fwmap::kGdiObject); }

CPen* PASCAL CPen::FromHandle(HPEN hPen) { return fwmap::FromHandle<CPen>(fwmap::kGdiObject, hPen); }
CBrush* PASCAL CBrush::FromHandle(HBRUSH hBrush) { return fwmap::FromHandle<CBrush>(fwmap::kGdiObject, hBrush); }
CFont* PASCAL CFont::FromHandle(HFONT hFont) { return fwmap::FromHandle<CFont>(fwmap::kGdiObject, hFont); }
CBitmap* PASCAL CBitmap::FromHandle(HBITMAP hBitmap) {
  return fwmap::FromHandle<CBitmap>(fwmap::kGdiObject, hBitmap);
}
CPalette* PASCAL CPalette::FromHandle(HPALETTE hPalette) {
  return fwmap::FromHandle<CPalette>(fwmap::kGdiObject, hPalette);
}
CRgn* PASCAL CRgn::FromHandle(HRGN hRgn) { return fwmap::FromHandle<CRgn>(fwmap::kGdiObject, hRgn); }

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) {
  return Attach(::CreatePatternBrush((HBITMAP)pBitmap->GetSafeHandle()));
}

// --- CFont

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC) {
  LOGFONTA lf = {};
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfHeight = nPointSize;
  if (lpszFaceName) lstrcpynA(lf.lfFaceName, lpszFaceName, LF_FACESIZE);
  return CreatePointFontIndirect(&lf, pDC);
}

// lfHeight arrives in tenths of a point and becomes a character height in pDC's logical units.
BOOL CFont::CreatePointFontIndirect(const LOGFONTA* lpLogFont, CDC* pDC) {
  HDC hDC = pDC ? pDC->m_hAttribDC : NULL;
  HDC hScreen = hDC ? NULL : ::GetDC(NULL);
  HDC hMeasure = hDC ? hDC : hScreen;
  LOGFONTA lf = *lpLogFont;
  POINT pt = {0, ::MulDiv(::GetDeviceCaps(hMeasure, LOGPIXELSY), lf.lfHeight, 720)};
  POINT ptOrg = {0, 0};
  ::DPtoLP(hMeasure, &pt, 1);
  ::DPtoLP(hMeasure, &ptOrg, 1);
  lf.lfHeight = -abs(pt.y - ptOrg.y);
  if (hScreen) ::ReleaseDC(NULL, hScreen);
  return CreateFontIndirect(&lf);
}

// --- CBitmap

BOOL CBitmap::LoadBitmap(LPCSTR lpszResourceName) {
  HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, (LPCSTR)RT_BITMAP);
  return Attach(::LoadBitmapA(hInst, lpszResourceName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
  return Attach(::CreateCompatibleBitmap(pDC->GetSafeHdc(), nWidth, nHeight));
}

BOOL CBitmap::CreateDIBSection(const BITMAPINFO* pbmi, UINT iUsage, void** ppvBits, CDC* pDC) {
  void* pvBits = NULL;
  HBITMAP hBitmap = ::CreateDIBSection(pDC->GetSafeHdc(), pbmi, iUsage, &pvBits, NULL, 0);
  if (ppvBits) *ppvBits = hBitmap ? pvBits : NULL;
  return Attach(hBitmap);
}

BOOL CBitmap::CreateDIBSection(int nWidth, int nHeight, UINT nBitCount, void** ppvBits) {
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = nWidth;
  bmi.bmiHeader.biHeight = -nHeight;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = (WORD)nBitCount;
  bmi.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(&bmi, DIB_RGB_COLORS, ppvBits);
}

CSize CBitmap::SetBitmapDimension(int nWidth, int nHeight) {
  SIZE size = {0, 0};
  ::SetBitmapDimensionEx((HBITMAP)m_hObject, nWidth, nHeight, &size);
  return size;
}

CSize CBitmap::GetBitmapDimension() const {
  SIZE size = {0, 0};
  ::GetBitmapDimensionEx((HBITMAP)m_hObject, &size);
  return size;
}

// --- CPalette

BOOL CPalette::CreateHalftonePalette(CDC* pDC) { return Attach(::CreateHalftonePalette(pDC->GetSafeHdc())); }

int CPalette::GetEntryCount() const {
  WORD nEntries = 0;
  ::GetObjectA(m_hObject, sizeof(WORD), &nEntries);
  return nEntries;
}
