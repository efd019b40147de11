#include "DragDrop.h"

#include <VxGUIDB.h>
#include <shlobj.h>

#include <cstring>

#include "DragDropRules.h"

const VXDRAGFORMATS& DragFormats() {
  static const VXDRAGFORMATS f = {
      (CLIPFORMAT)::RegisterClipboardFormatA("CFSTR_BROWSER_FOLDERPATH"),
      (CLIPFORMAT)::RegisterClipboardFormatA(CFSTR_SHELLIDLIST),
      (CLIPFORMAT)::RegisterClipboardFormatA(CFSTR_FILECONTENTS),
      (CLIPFORMAT)::RegisterClipboardFormatA("Norvane Depth Viewer Clipboard format"),
  };
  return f;
}

namespace {

// The bytes into the caller's block (grown when need be) or a new one.
HRESULT PutBytes(const std::string& bytes, HGLOBAL* phGlobal) {
  HGLOBAL h = *phGlobal;
  if (h) {
    if (::GlobalSize(h) < bytes.size()) {
      HGLOBAL grown = ::GlobalReAlloc(h, bytes.size(), GMEM_MOVEABLE | GMEM_SHARE);
      if (!grown) return E_OUTOFMEMORY;
      h = grown;
    }
  } else {
    h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, bytes.size());
    if (!h) return E_OUTOFMEMORY;
  }
  void* p = ::GlobalLock(h);
  if (!p) {
    DWORD err = ::GetLastError();
    if (h != *phGlobal) ::GlobalFree(h);
    return HRESULT_FROM_WIN32(err ? err : ERROR_NOT_ENOUGH_MEMORY);
  }
  memcpy(p, bytes.data(), bytes.size());
  ::GlobalUnlock(h);
  *phGlobal = h;
  return S_OK;
}

}  // namespace

// ---- Data source ----------------------------------------------------------------------------

CBrowserDataSource::CBrowserDataSource(const std::vector<std::string>& files, const std::vector<std::string>& folders)
    : m_files(files), m_folders(folders) {}

void CBrowserDataSource::OfferFormats() {
  DelayRenderData(CF_HDROP);
  DelayRenderData(DragFormats().cfFolderPath);
  DelayRenderData(DragFormats().cfIDList);
}

BOOL CBrowserDataSource::OnRenderGlobalData(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal) {
  for (auto render : {&CBrowserDataSource::RenderFolderPath, &CBrowserDataSource::RenderHDrop,
                      &CBrowserDataSource::RenderIDList}) {
    HRESULT hr = (this->*render)(lpFormatEtc, phGlobal);
    if (hr != E_INVALIDARG) return SUCCEEDED(hr);
  }
  return FALSE;
}

HRESULT CBrowserDataSource::RenderFolderPath(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal) {
  if (!lpFormatEtc || lpFormatEtc->cfFormat != DragFormats().cfFolderPath) return E_INVALIDARG;
  return PutBytes(dragdrop::FolderPathBytes(m_folders), phGlobal);
}

HRESULT CBrowserDataSource::RenderHDrop(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal) {
  if (!lpFormatEtc || lpFormatEtc->cfFormat != CF_HDROP) return E_INVALIDARG;
  POINT pt = {0, 0};
  ::GetCursorPos(&pt);
  return PutBytes(dragdrop::HDropBytes(m_files, pt), phGlobal);
}

HRESULT CBrowserDataSource::RenderIDList(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal) {
  if (!lpFormatEtc || lpFormatEtc->cfFormat != DragFormats().cfIDList) return E_INVALIDARG;
  IMalloc* pMalloc = NULL;
  IShellFolder* pDesktop = NULL;
  if (FAILED(::SHGetMalloc(&pMalloc)) || FAILED(::SHGetDesktopFolder(&pDesktop))) {
    if (pMalloc) pMalloc->Release();
    return E_FAIL;
  }
  LPITEMIDLIST parent = NULL;
  ::SHGetSpecialFolderLocation(NULL, CSIDL_DESKTOP, &parent);
  std::vector<LPITEMIDLIST> items;
  for (const std::string& path : m_files) {
    WCHAR wide[521] = L"";
    if (!::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, 521)) continue;
    LPITEMIDLIST pidl = NULL;
    if (SUCCEEDED(pDesktop->ParseDisplayName(NULL, NULL, wide, NULL, &pidl, NULL)) && pidl) items.push_back(pidl);
  }
  // CIDA: the count, the offsets of the parent and of each item, then the lists.
  auto sizeOf = [](LPCITEMIDLIST p) {
    UINT n = sizeof(USHORT);
    for (const BYTE* b = reinterpret_cast<const BYTE*>(p); p && *reinterpret_cast<const USHORT*>(b);) {
      USHORT cb = *reinterpret_cast<const USHORT*>(b);
      n += cb;
      b += cb;
    }
    return n;
  };
  std::string bytes(sizeof(UINT) * (items.size() + 2), '\0');
  UINT count = UINT(items.size());
  memcpy(&bytes[0], &count, sizeof(UINT));
  auto append = [&](size_t slot, LPCITEMIDLIST p) {
    UINT offset = UINT(bytes.size());
    memcpy(&bytes[sizeof(UINT) * (slot + 1)], &offset, sizeof(UINT));
    if (p)
      bytes.append(reinterpret_cast<const char*>(p), sizeOf(p));
    else
      bytes.append(sizeof(USHORT), '\0');
  };
  append(0, parent);
  for (size_t i = 0; i < items.size(); ++i) append(i + 1, items[i]);
  for (LPITEMIDLIST p : items) pMalloc->Free(p);
  if (parent) pMalloc->Free(parent);
  pDesktop->Release();
  pMalloc->Release();
  return PutBytes(bytes, phGlobal);
}

// ---- Drag source ------------------------------------------------------------------------------

CDropSource::CDropSource()
    : m_nState(kIdle), m_ptLast(0, 0), m_hSource(NULL), m_hotSpot(0, 0), m_imageSize(0, 0), m_pDragData(NULL),
      m_bImageShown(FALSE) {}

CDropSource::~CDropSource() { EndDragImage(); }

HRESULT CDropSource::CreateDragImage(CThumbnail* pItem, void* pDragData, SIZE size, POINT hotSpot, POINT start) {
  if (m_nState != kArmed) return S_OK;
  if (!pItem || size.cx <= 0 || size.cy <= 0) return E_FAIL;
  pItem->SetDecodeSize(size);
  pItem->ThreadLock();
  BITMAPINFOHEADER* bih = pItem->GetThumbnail(size.cx, size.cy);
  pItem->ThreadUnlock();
  if (!bih) {
    pItem->DecodeThumbnail();
  }
  pItem->ThreadLock();
  bih = pItem->GetThumbnail(size.cx, size.cy);
  HBITMAP hbm = NULL;
  if (bih) {
    HDC hdc = ::GetDC(NULL);
    hbm = ::CreateDIBitmap(hdc, bih, CBM_INIT, reinterpret_cast<const BYTE*>(bih) + bih->biSize,
                           reinterpret_cast<BITMAPINFO*>(bih), DIB_RGB_COLORS);
    ::ReleaseDC(NULL, hdc);
  }
  pItem->ThreadUnlock();
  if (!hbm) return E_FAIL;
  CBitmap bitmap;
  bitmap.Attach(hbm);
  m_image.DeleteImageList();
  if (!m_image.Create(size.cx, size.cy, ILC_MASK | ILC_COLORDDB, 1, 1) || m_image.Add(&bitmap, RGB(0, 0, 0)) < 0)
    return E_FAIL;
  m_image.BeginDrag(0, CPoint(hotSpot));
  CImageList::DragEnter(CWnd::GetDesktopWindow(), CPoint(start));
  m_nState = kShown;
  m_bImageShown = TRUE;
  m_pDragData = pDragData;
  m_hotSpot = hotSpot;
  m_imageSize = size;
  m_ptLast = start;
  return S_OK;
}

void CDropSource::EndDragImage() {
  if ((m_nState == kShown || m_nState == kEnding) && m_image.GetSafeHandle()) {
    CImageList::DragShowNolock(FALSE);
    CImageList::EndDrag();
    CImageList::DragLeave(CWnd::GetDesktopWindow());
    m_image.DeleteImageList();
  }
  m_nState = kIdle;
  m_bImageShown = FALSE;
  m_ptLast = CPoint(0, 0);
  m_hotSpot = CPoint(0, 0);
}

SCODE CDropSource::GiveFeedback(DROPEFFECT dropEffect) {
  CPoint pt;
  ::GetCursorPos(&pt);
  bool inside = false;
  for (INT_PTR i = 0; i < m_noDrop.GetSize() && !inside; ++i) inside = ::PtInRect(&m_noDrop[i], pt) != FALSE;
  bool over = false, allOver = false;
  if (m_hSource) {
    HWND under = ::WindowFromPoint(pt);
    over = under == m_hSource || ::IsChild(m_hSource, under);
    POINT outline[8];
    dragdrop::OutlinePoints(pt, m_hotSpot, m_imageSize, outline);
    allOver = true;
    for (const POINT& o : outline) {
      HWND h = ::WindowFromPoint(o);
      allOver = allOver && (h == m_hSource || ::IsChild(m_hSource, h));
    }
  }
  const bool hasImage = m_nState == kShown && m_image.GetSafeHandle();
  switch (dragdrop::FeedbackOf(inside, m_hSource != NULL, over, allOver)) {
    case dragdrop::Feedback::NoDropShown:
    case dragdrop::Feedback::NoDropHidden: {
      const BOOL show = dragdrop::FeedbackOf(inside, m_hSource != NULL, over, allOver) == dragdrop::Feedback::NoDropShown;
      if (hasImage) {
        CImageList::DragMove(pt);
        CImageList::DragShowNolock(show);
      }
      m_bImageShown = hasImage && show;
      ::SetCursor(::LoadCursor(NULL, IDC_NO));
      m_ptLast = pt;
      return S_OK;
    }
    case dragdrop::Feedback::Default: break;
  }
  if (hasImage) {
    CImageList::DragMove(pt);
    CImageList::DragShowNolock(FALSE);
  }
  m_bImageShown = FALSE;
  HCURSOR arrow = ::LoadCursor(NULL, IDC_ARROW);
  if (pt != m_ptLast || ::GetCursor() != arrow) ::SetCursor(arrow);
  m_ptLast = pt;
  return COleDropSource::GiveFeedback(dropEffect);
}

// ---- Drop target ------------------------------------------------------------------------------

CDropTarget::CDropTarget() : m_enterEffect(DROPEFFECT_MOVE), m_bDropEnabled(FALSE), m_bFromBrowser(FALSE) {
  const VXDRAGFORMATS& f = DragFormats();
  m_formats[0] = f.cfFileContents;
  m_formats[1] = f.cfPrivate;
  m_formats[2] = f.cfIDList;
  m_formats[3] = f.cfFolderPath;
}

DROPEFFECT CDropTarget::OnDragEnter(CWnd*, COleDataObject* pDataObject, DWORD dwKeyState, CPoint) {
  bool accepted = false;
  for (CLIPFORMAT cf : m_formats)
    if (!accepted && pDataObject && pDataObject->IsDataAvailable(cf)) accepted = true;
  m_enterEffect = dragdrop::EnterEffect(accepted, dwKeyState);
  return m_enterEffect;
}

DROPEFFECT CDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) { return m_enterEffect; }

BOOL CDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT, CPoint point) {
  if (!m_bDropEnabled) return FALSE;
  HGLOBAL hData = pDataObject ? pDataObject->GetGlobalData(DragFormats().cfPrivate) : NULL;
  if (pWnd && pWnd->GetSafeHwnd()) {
    static const UINT uDropKey = ::RegisterWindowMessageA("VX3D_DRAGDROP_KEY");
    ::SendMessageA(pWnd->GetSafeHwnd(), uDropKey, MAKELONG(point.x, point.y), (LPARAM)hData);
  }
  // The block is a copy of the drag's own: the window has read it once the call returns.
  if (hData) ::GlobalFree(hData);
  return TRUE;
}
