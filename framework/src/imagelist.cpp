// CImageList: handle map, creation, copies and indirect drawing.
#include <fw/imagelist.h>
#include <fw/module.h>

#include "handlemap.h"

IMPLEMENT_DYNCREATE(CImageList, CObject)

void FwTempAttach(CImageList* p, void* h) { p->m_hImageList = static_cast<HIMAGELIST>(h); }
void FwTempDetach(CImageList* p) { p->m_hImageList = NULL; }

CImageList::~CImageList() { DeleteImageList(); }

CImageList* PASCAL CImageList::FromHandle(HIMAGELIST hImageList) {
  return fwmap::FromHandle<CImageList>(fwmap::kImageList, hImageList);
}

CImageList* PASCAL CImageList::FromHandlePermanent(HIMAGELIST hImageList) {
  return static_cast<CImageList*>(fwmap::LookupPermanent(fwmap::kImageList, hImageList, RUNTIME_CLASS(CImageList)));
}

void PASCAL CImageList::DeleteTempMap() { fwmap::DeleteTemporaries(fwmap::kImageList); }

CImageList* AFXAPI AfxNewImageList(HIMAGELIST h) {
  if (h == NULL) return NULL;
  CImageList* p = new CImageList;
  p->Attach(h);
  return p;
}

BOOL CImageList::Attach(HIMAGELIST hImageList) {
  if (m_hImageList != NULL) return FALSE;
  return fwmap::AttachOwner(fwmap::kImageList, m_hImageList, hImageList, this);
}

HIMAGELIST CImageList::Detach() { return fwmap::DetachOwner(fwmap::kImageList, m_hImageList, this); }

BOOL CImageList::DeleteImageList() {
  if (m_hImageList == NULL) return FALSE;
  return ImageList_Destroy(Detach());
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
  return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Create(LPCSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask) {
  HINSTANCE hInst = AfxFindResourceHandle(lpszBitmapID, (LPCSTR)RT_BITMAP);
  return Attach(ImageList_LoadImageA(hInst, lpszBitmapID, cx, nGrow, crMask, IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
  return Create(MAKEINTRESOURCEA(nBitmapID), cx, nGrow, crMask);
}

BOOL CImageList::Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2, int dx, int dy) {
  return Attach(ImageList_Merge(imagelist1.m_hImageList, nImage1, imagelist2.m_hImageList, nImage2, dx, dy));
}

BOOL CImageList::Create(CImageList* pImageList) {
  HIMAGELIST hSource = pImageList->GetSafeHandle();
  if (hSource == NULL) return FALSE;
  return Attach(ImageList_Duplicate(hSource));
}

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask) {
  return ImageList_Add(m_hImageList, (HBITMAP)pbmImage->GetSafeHandle(), (HBITMAP)pbmMask->GetSafeHandle());
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask) {
  return ImageList_AddMasked(m_hImageList, (HBITMAP)pbmImage->GetSafeHandle(), crMask);
}

BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask) {
  return ImageList_Replace(m_hImageList, nImage, (HBITMAP)pbmImage->GetSafeHandle(),
                           (HBITMAP)pbmMask->GetSafeHandle());
}

BOOL CImageList::DrawIndirect(IMAGELISTDRAWPARAMS* pimldp) {
  if (pimldp->cbSize == 0) pimldp->cbSize = sizeof(IMAGELISTDRAWPARAMS);
  if (pimldp->himl == NULL) pimldp->himl = m_hImageList;
  return ImageList_DrawIndirect(pimldp);
}

BOOL CImageList::DrawIndirect(CDC* pDC, int nImage, POINT pt, SIZE sz, POINT ptOrigin, UINT fStyle, DWORD dwRop,
                              COLORREF rgbBack, COLORREF rgbFore, DWORD fState, DWORD Frame, COLORREF crEffect) {
  IMAGELISTDRAWPARAMS p = {};
  p.cbSize = sizeof(p);
  p.himl = m_hImageList;
  p.i = nImage;
  p.hdcDst = pDC->GetSafeHdc();
  p.x = pt.x;
  p.y = pt.y;
  p.cx = sz.cx;
  p.cy = sz.cy;
  p.xBitmap = ptOrigin.x;
  p.yBitmap = ptOrigin.y;
  p.rgbBk = rgbBack;
  p.rgbFg = rgbFore;
  p.fStyle = fStyle;
  p.dwRop = dwRop;
  p.fState = fState;
  p.Frame = Frame;
  p.crEffect = crEffect;
  return ImageList_DrawIndirect(&p);
}
