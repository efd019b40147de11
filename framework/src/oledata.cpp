// OLE data transfer: COleDataObject, COleDataSource with its IDataObject, the clipboard.
#include <fw/ole.h>

#include <cstring>
#include <vector>

#include "oleutil.h"

IMPLEMENT_DYNAMIC(COleDataSource, CCmdTarget)

void AFXAPI AfxFillFormatEtc(LPFORMATETC lpFormatEtc, CLIPFORMAT cfFormat, DWORD tymed) {
  lpFormatEtc->cfFormat = cfFormat;
  lpFormatEtc->ptd = NULL;
  lpFormatEtc->dwAspect = DVASPECT_CONTENT;
  lpFormatEtc->lindex = -1;
  lpFormatEtc->tymed = tymed;
}

namespace fwole {

HGLOBAL CopyGlobal(HGLOBAL hSource, HGLOBAL hDest) {
  SIZE_T cb = ::GlobalSize(hSource);
  if (hDest == NULL) {
    hDest = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, cb ? cb : 1);
    if (hDest == NULL) return NULL;
  } else if (::GlobalSize(hDest) < cb) {
    return NULL;
  }
  void* pSrc = ::GlobalLock(hSource);
  void* pDst = ::GlobalLock(hDest);
  if (pSrc && pDst && cb) memcpy(pDst, pSrc, cb);
  if (pDst) ::GlobalUnlock(hDest);
  if (pSrc) ::GlobalUnlock(hSource);
  return (pSrc || cb == 0) && pDst ? hDest : NULL;
}

HGLOBAL StreamToGlobal(IStream* pStream) {
  LARGE_INTEGER zero = {};
  pStream->Seek(zero, STREAM_SEEK_SET, NULL);
  std::vector<char> data;
  char buffer[4096];
  ULONG cbRead = 0;
  while (SUCCEEDED(pStream->Read(buffer, sizeof(buffer), &cbRead)) && cbRead > 0) {
    data.insert(data.end(), buffer, buffer + cbRead);
  }
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, data.empty() ? 1 : data.size());
  if (h == NULL) return NULL;
  if (!data.empty()) {
    void* p = ::GlobalLock(h);
    memcpy(p, data.data(), data.size());
    ::GlobalUnlock(h);
  }
  return h;
}

// A copy of a medium for a receiver that frees it; FALSE for media that can't be copied.
BOOL CopyMedium(CLIPFORMAT cf, const STGMEDIUM& src, STGMEDIUM* pDest) {
  STGMEDIUM dest = {};
  dest.tymed = src.tymed;
  switch (src.tymed) {
    case TYMED_HGLOBAL:
      dest.hGlobal = CopyGlobal(src.hGlobal, NULL);
      if (!dest.hGlobal) return FALSE;
      break;
    case TYMED_GDI:
    case TYMED_MFPICT:
    case TYMED_ENHMF:
      dest.hGlobal = (HGLOBAL)::OleDuplicateData(src.hGlobal, cf, 0);
      if (!dest.hGlobal) return FALSE;
      break;
    case TYMED_ISTREAM:
    case TYMED_ISTORAGE:
      dest.pstm = src.pstm;
      if (dest.pstm) dest.pstm->AddRef();
      break;
    case TYMED_FILE: {
      size_t cch = src.lpszFileName ? wcslen(src.lpszFileName) + 1 : 0;
      dest.lpszFileName = (LPOLESTR)::CoTaskMemAlloc(cch * sizeof(WCHAR));
      if (!dest.lpszFileName) return FALSE;
      memcpy(dest.lpszFileName, src.lpszFileName, cch * sizeof(WCHAR));
      break;
    }
    default:
      return FALSE;
  }
  *pDest = dest;
  return TRUE;
}

}  // namespace fwole

// ===== COleDataObject =====

COleDataObject::COleDataObject() : m_lpDataObject(NULL), m_lpEnumerator(NULL), m_bAutoRelease(TRUE), m_bClipboard(FALSE) {}

COleDataObject::~COleDataObject() { Release(); }

void COleDataObject::Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease) {
  Release();
  m_lpDataObject = lpDataObject;
  m_bAutoRelease = bAutoRelease;
}

LPDATAOBJECT COleDataObject::Detach() {
  if (m_lpEnumerator) m_lpEnumerator->Release();
  m_lpEnumerator = NULL;
  LPDATAOBJECT p = m_lpDataObject;
  m_lpDataObject = NULL;
  m_bClipboard = FALSE;
  return p;
}

void COleDataObject::Release() {
  BOOL bRelease = m_bAutoRelease;
  LPDATAOBJECT p = Detach();
  if (p && bRelease) p->Release();
  m_bAutoRelease = TRUE;
}

BOOL COleDataObject::AttachClipboard() {
  Release();
  LPDATAOBJECT p = NULL;
  if (FAILED(::OleGetClipboard(&p)) || p == NULL) return FALSE;
  Attach(p, TRUE);
  m_bClipboard = TRUE;
  return TRUE;
}

LPDATAOBJECT COleDataObject::GetIDataObject(BOOL bAddRef) {
  if (m_lpDataObject && bAddRef) m_lpDataObject->AddRef();
  return m_lpDataObject;
}

void COleDataObject::BeginEnumFormats() {
  if (m_lpEnumerator) m_lpEnumerator->Release();
  m_lpEnumerator = NULL;
  if (m_lpDataObject) m_lpDataObject->EnumFormatEtc(DATADIR_GET, &m_lpEnumerator);
}

BOOL COleDataObject::GetNextFormat(LPFORMATETC lpFormatEtc) {
  if (!m_lpEnumerator) return FALSE;
  ULONG n = 0;
  if (m_lpEnumerator->Next(1, lpFormatEtc, &n) != S_OK || n != 1) return FALSE;
  // Target devices are not used here; free the copy the enumerator made.
  if (lpFormatEtc->ptd) ::CoTaskMemFree(lpFormatEtc->ptd);
  lpFormatEtc->ptd = NULL;
  return TRUE;
}

static FORMATETC RequestFor(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc, DWORD tymed) {
  FORMATETC fmt;
  if (lpFormatEtc) {
    fmt = *lpFormatEtc;
    fmt.cfFormat = cfFormat;
  } else {
    AfxFillFormatEtc(&fmt, cfFormat, tymed);
  }
  return fmt;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
  if (!m_lpDataObject) return FALSE;
  FORMATETC fmt = RequestFor(cfFormat, lpFormatEtc, fwole::kTymedAll);
  return m_lpDataObject->QueryGetData(&fmt) == S_OK;
}

BOOL COleDataObject::GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc) {
  if (!m_lpDataObject) return FALSE;
  FORMATETC fmt = RequestFor(cfFormat, lpFormatEtc, fwole::kTymedAll);
  memset(lpStgMedium, 0, sizeof(*lpStgMedium));
  return m_lpDataObject->GetData(&fmt, lpStgMedium) == S_OK;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
  if (!m_lpDataObject) return NULL;
  FORMATETC fmt = RequestFor(cfFormat, lpFormatEtc, TYMED_HGLOBAL | TYMED_ISTREAM);
  STGMEDIUM medium = {};
  if (m_lpDataObject->GetData(&fmt, &medium) != S_OK) return NULL;
  HGLOBAL h = NULL;
  if (medium.tymed == TYMED_HGLOBAL) {
    if (medium.pUnkForRelease == NULL) return medium.hGlobal;  // ours now
    h = fwole::CopyGlobal(medium.hGlobal, NULL);
  } else if (medium.tymed == TYMED_ISTREAM && medium.pstm) {
    h = fwole::StreamToGlobal(medium.pstm);
  }
  ::ReleaseStgMedium(&medium);
  return h;
}

// ===== COleDataSource: the cache =====

struct COleDataSource::CacheEntry {
  FORMATETC fmt;      // ptd is never kept
  STGMEDIUM medium;   // TYMED_NULL while the entry is rendered on request
  BOOL bDelay;
};

struct COleDataSource::Cache {
  std::vector<CacheEntry> entries;
};

namespace {

COleDataSource* g_pClipboardSource = NULL;

// A format enumerator over a copy of the offered formats.
class CFormatEnum : public IEnumFORMATETC {
 public:
  CFormatEnum(const std::vector<FORMATETC>& formats, size_t pos) : m_ref(1), m_formats(formats), m_pos(pos) {}
  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IEnumFORMATETC) {
      *ppv = static_cast<IEnumFORMATETC*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = NULL;
    return E_NOINTERFACE;
  }
  STDMETHOD_(ULONG, AddRef)() override { return (ULONG)InterlockedIncrement(&m_ref); }
  STDMETHOD_(ULONG, Release)() override {
    LONG n = InterlockedDecrement(&m_ref);
    if (n == 0) delete this;
    return (ULONG)n;
  }
  STDMETHOD(Next)(ULONG celt, FORMATETC* rgelt, ULONG* pceltFetched) override {
    ULONG n = 0;
    while (n < celt && m_pos < m_formats.size()) rgelt[n++] = m_formats[m_pos++];
    if (pceltFetched) *pceltFetched = n;
    return n == celt ? S_OK : S_FALSE;
  }
  STDMETHOD(Skip)(ULONG celt) override {
    m_pos += celt;
    if (m_pos <= m_formats.size()) return S_OK;
    m_pos = m_formats.size();
    return S_FALSE;
  }
  STDMETHOD(Reset)() override {
    m_pos = 0;
    return S_OK;
  }
  STDMETHOD(Clone)(IEnumFORMATETC** ppenum) override {
    *ppenum = new CFormatEnum(m_formats, m_pos);
    return S_OK;
  }

 private:
  virtual ~CFormatEnum() {}
  LONG m_ref;
  std::vector<FORMATETC> m_formats;
  size_t m_pos;
};

bool SameSlot(const FORMATETC& a, const FORMATETC& b) {
  return a.cfFormat == b.cfFormat && a.dwAspect == b.dwAspect && a.lindex == b.lindex && (a.tymed & b.tymed) != 0;
}

}  // namespace

COleDataSource::COleDataSource() : m_pCache(new Cache), m_dwRef(1) { m_xDataObject.m_pThis = this; }

COleDataSource::~COleDataSource() {
  // Deleted while still on the clipboard (not the way it should go): take it off, and
  // keep the clipboard's release from deleting it a second time.
  m_dwRef = 0x40000000;
  if (g_pClipboardSource == this) g_pClipboardSource = NULL;
  if (::OleIsCurrentClipboard(&m_xDataObject) == S_OK) ::OleSetClipboard(NULL);
  Empty();
  delete m_pCache;
}

DWORD COleDataSource::InternalAddRef() { return (DWORD)InterlockedIncrement(&m_dwRef); }

DWORD COleDataSource::InternalRelease() {
  LONG n = InterlockedDecrement(&m_dwRef);
  if (n == 0) OnFinalRelease();
  return (DWORD)n;
}

void COleDataSource::OnFinalRelease() { delete this; }

LPDATAOBJECT COleDataSource::GetIDataObject(BOOL bAddRef) {
  if (bAddRef) InternalAddRef();
  return &m_xDataObject;
}

void COleDataSource::Empty() {
  for (CacheEntry& e : m_pCache->entries) {
    if (!e.bDelay) ::ReleaseStgMedium(&e.medium);
  }
  m_pCache->entries.clear();
}

COleDataSource::CacheEntry* COleDataSource::AddEntry(LPFORMATETC lpFormatEtc) {
  FORMATETC fmt = *lpFormatEtc;
  fmt.ptd = NULL;
  for (CacheEntry& e : m_pCache->entries) {
    if (SameSlot(e.fmt, fmt)) {
      if (!e.bDelay) ::ReleaseStgMedium(&e.medium);
      e.fmt = fmt;
      memset(&e.medium, 0, sizeof(e.medium));
      return &e;
    }
  }
  CacheEntry e = {};
  e.fmt = fmt;
  m_pCache->entries.push_back(e);
  return &m_pCache->entries.back();
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc) {
  STGMEDIUM medium = {};
  medium.tymed = TYMED_HGLOBAL;
  medium.hGlobal = hGlobal;
  FORMATETC fmt = RequestFor(cfFormat, lpFormatEtc, TYMED_HGLOBAL);
  fmt.tymed = TYMED_HGLOBAL;
  CacheData(cfFormat, &medium, &fmt);
}

void COleDataSource::CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc) {
  FORMATETC fmt = RequestFor(cfFormat, lpFormatEtc, lpStgMedium->tymed);
  fmt.tymed = lpStgMedium->tymed;
  CacheEntry* e = AddEntry(&fmt);
  e->medium = *lpStgMedium;
  e->bDelay = FALSE;
}

void COleDataSource::DelayRenderData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
  FORMATETC fmt = RequestFor(cfFormat, lpFormatEtc, TYMED_HGLOBAL);
  CacheEntry* e = AddEntry(&fmt);
  e->bDelay = TRUE;
}

HRESULT COleDataSource::FindEntry(LPFORMATETC lpFormatEtc, CacheEntry** ppEntry) {
  HRESULT hr = DV_E_FORMATETC;
  for (CacheEntry& e : m_pCache->entries) {
    if (e.fmt.cfFormat != lpFormatEtc->cfFormat) continue;
    if (e.fmt.dwAspect != lpFormatEtc->dwAspect) {
      hr = DV_E_DVASPECT;
      continue;
    }
    if (e.fmt.lindex != -1 && e.fmt.lindex != lpFormatEtc->lindex) {
      hr = DV_E_LINDEX;
      continue;
    }
    if ((e.fmt.tymed & lpFormatEtc->tymed) == 0) {
      hr = DV_E_TYMED;
      continue;
    }
    *ppEntry = &e;
    return S_OK;
  }
  *ppEntry = NULL;
  return hr;
}

HRESULT COleDataSource::GetDataInto(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium, BOOL bHere) {
  CacheEntry* e = NULL;
  HRESULT hr = FindEntry(lpFormatEtc, &e);
  if (hr != S_OK) return hr;
  if (e->bDelay) {
    FORMATETC fmt = *lpFormatEtc;
    fmt.tymed &= e->fmt.tymed;
    if (bHere) {
      if ((fmt.tymed & lpStgMedium->tymed) == 0) return DV_E_TYMED;
      fmt.tymed = lpStgMedium->tymed;
    } else {
      memset(lpStgMedium, 0, sizeof(*lpStgMedium));
    }
    return OnRenderData(&fmt, lpStgMedium) ? S_OK : DV_E_FORMATETC;
  }
  if (!bHere) return fwole::CopyMedium(e->fmt.cfFormat, e->medium, lpStgMedium) ? S_OK : E_OUTOFMEMORY;
  if (lpStgMedium->tymed != TYMED_HGLOBAL || e->medium.tymed != TYMED_HGLOBAL) return DV_E_TYMED;
  return fwole::CopyGlobal(e->medium.hGlobal, lpStgMedium->hGlobal) ? S_OK : STG_E_MEDIUMFULL;
}

BOOL COleDataSource::OnRenderGlobalData(LPFORMATETC, HGLOBAL*) { return FALSE; }

BOOL COleDataSource::OnRenderData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium) {
  BOOL bHere = lpStgMedium->tymed != TYMED_NULL;
  if ((lpFormatEtc->tymed & TYMED_HGLOBAL) && (!bHere || lpStgMedium->tymed == TYMED_HGLOBAL)) {
    HGLOBAL hGiven = bHere ? lpStgMedium->hGlobal : NULL;
    HGLOBAL h = hGiven;
    FORMATETC fmt = *lpFormatEtc;
    fmt.tymed = TYMED_HGLOBAL;
    if (!OnRenderGlobalData(&fmt, &h) || h == NULL) return FALSE;
    if (hGiven && h != hGiven) {
      // The renderer made a block of its own: the caller's block must take it.
      HGLOBAL hCopied = fwole::CopyGlobal(h, hGiven);
      ::GlobalFree(h);
      if (!hCopied) return FALSE;
      h = hGiven;
    }
    lpStgMedium->tymed = TYMED_HGLOBAL;
    lpStgMedium->hGlobal = h;
    if (!bHere) lpStgMedium->pUnkForRelease = NULL;
    return TRUE;
  }
  if ((lpFormatEtc->tymed & TYMED_ISTREAM) && (!bHere || lpStgMedium->tymed == TYMED_ISTREAM)) {
    HGLOBAL h = NULL;
    FORMATETC fmt = *lpFormatEtc;
    fmt.tymed = TYMED_HGLOBAL;
    if (!OnRenderGlobalData(&fmt, &h) || h == NULL) return FALSE;
    if (bHere) {
      void* p = ::GlobalLock(h);
      HRESULT hr = lpStgMedium->pstm->Write(p, (ULONG)::GlobalSize(h), NULL);
      ::GlobalUnlock(h);
      ::GlobalFree(h);
      return SUCCEEDED(hr);
    }
    IStream* pStream = NULL;
    if (FAILED(::CreateStreamOnHGlobal(h, TRUE, &pStream))) {
      ::GlobalFree(h);
      return FALSE;
    }
    lpStgMedium->tymed = TYMED_ISTREAM;
    lpStgMedium->pstm = pStream;
    lpStgMedium->pUnkForRelease = NULL;
    return TRUE;
  }
  return FALSE;
}

BOOL COleDataSource::OnSetData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium, BOOL bRelease) {
  if (lpStgMedium->tymed != TYMED_HGLOBAL) return FALSE;
  STGMEDIUM medium = *lpStgMedium;
  if (!bRelease) {
    medium.hGlobal = fwole::CopyGlobal(lpStgMedium->hGlobal, NULL);
    medium.pUnkForRelease = NULL;
    if (!medium.hGlobal) return FALSE;
  }
  CacheData(lpFormatEtc->cfFormat, &medium, lpFormatEtc);
  return TRUE;
}

// ===== COleDataSource: clipboard and dragging =====

BOOL COleDataSource::SetClipboard() {
  HRESULT hr = ::OleSetClipboard(&m_xDataObject);
  if (SUCCEEDED(hr)) g_pClipboardSource = this;
  // The clipboard holds its own reference (or, on failure, nobody wants the source).
  InternalRelease();
  return SUCCEEDED(hr);
}

COleDataSource* PASCAL COleDataSource::GetClipboardOwner() {
  COleDataSource* p = g_pClipboardSource;
  if (p && ::OleIsCurrentClipboard(&p->m_xDataObject) == S_OK) return p;
  return NULL;
}

// Renders every format the source offers as a global block, takes the source off the
// clipboard and puts the blocks there as plain clipboard data. (Wine's OleFlushClipboard
// loses the data: its clipboard window closes the clipboard under it.)
void PASCAL COleDataSource::FlushClipboard() {
  COleDataSource* p = GetClipboardOwner();
  if (!p) return;
  std::vector<std::pair<CLIPFORMAT, HGLOBAL>> blocks;
  for (size_t i = 0; i < p->m_pCache->entries.size(); ++i) {
    FORMATETC fmt = p->m_pCache->entries[i].fmt;
    if (!(fmt.tymed & TYMED_HGLOBAL) || fmt.dwAspect != DVASPECT_CONTENT || fmt.lindex != -1) continue;
    fmt.tymed = TYMED_HGLOBAL;
    STGMEDIUM medium = {};
    if (p->GetDataInto(&fmt, &medium, FALSE) != S_OK) continue;
    HGLOBAL h = medium.tymed == TYMED_HGLOBAL ? fwole::CopyGlobal(medium.hGlobal, NULL) : NULL;
    ::ReleaseStgMedium(&medium);
    if (h) blocks.push_back(std::make_pair(fmt.cfFormat, h));
  }
  p->InternalAddRef();  // alive until the blocks are out
  ::OleSetClipboard(NULL);
  BOOL bOpen = ::OpenClipboard(NULL);
  if (bOpen) ::EmptyClipboard();
  for (auto& b : blocks) {
    if (!bOpen || !::SetClipboardData(b.first, b.second)) ::GlobalFree(b.second);
  }
  if (bOpen) ::CloseClipboard();
  p->InternalRelease();
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects, LPCRECT lpRectStartDrag, COleDropSource* pDropSource) {
  COleDropSource defaultSource;
  if (pDropSource == NULL) pDropSource = &defaultSource;
  pDropSource->PrepareButtons();
  pDropSource->m_rectStartDrag.SetRectEmpty();
  if (lpRectStartDrag) {
    pDropSource->m_rectStartDrag = *lpRectStartDrag;
    if (!pDropSource->OnBeginDrag(CWnd::GetFocus())) return DROPEFFECT_NONE;
  }
  pDropSource->m_bDragStarted = TRUE;
  DWORD dwEffect = DROPEFFECT_NONE;
  HRESULT hr = ::DoDragDrop(&m_xDataObject, &pDropSource->m_xDropSource, dwEffects, &dwEffect);
  pDropSource->m_bDragStarted = FALSE;
  return hr == DRAGDROP_S_DROP ? dwEffect : DROPEFFECT_NONE;
}

// ===== COleDataSource: IDataObject =====

#define FW_DATA_THIS COleDataSource* pThis = m_pThis

STDMETHODIMP COleDataSource::XDataObject::QueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IUnknown || riid == IID_IDataObject) {
    *ppv = static_cast<IDataObject*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = NULL;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) COleDataSource::XDataObject::AddRef() { return m_pThis->InternalAddRef(); }
STDMETHODIMP_(ULONG) COleDataSource::XDataObject::Release() { return m_pThis->InternalRelease(); }

STDMETHODIMP COleDataSource::XDataObject::GetData(LPFORMATETC pformatetcIn, LPSTGMEDIUM pmedium) {
  if (!pformatetcIn || !pmedium) return E_INVALIDARG;
  FW_DATA_THIS;
  return pThis->GetDataInto(pformatetcIn, pmedium, FALSE);
}

STDMETHODIMP COleDataSource::XDataObject::GetDataHere(LPFORMATETC pformatetc, LPSTGMEDIUM pmedium) {
  if (!pformatetc || !pmedium) return E_INVALIDARG;
  FW_DATA_THIS;
  return pThis->GetDataInto(pformatetc, pmedium, TRUE);
}

STDMETHODIMP COleDataSource::XDataObject::QueryGetData(LPFORMATETC pformatetc) {
  if (!pformatetc) return E_INVALIDARG;
  FW_DATA_THIS;
  CacheEntry* e = NULL;
  return pThis->FindEntry(pformatetc, &e);
}

STDMETHODIMP COleDataSource::XDataObject::GetCanonicalFormatEtc(LPFORMATETC pformatectIn,
                                                                  LPFORMATETC pformatetcOut) {
  if (!pformatetcOut) return E_INVALIDARG;
  if (pformatectIn) *pformatetcOut = *pformatectIn;
  pformatetcOut->ptd = NULL;
  return DATA_S_SAMEFORMATETC;
}

STDMETHODIMP COleDataSource::XDataObject::SetData(LPFORMATETC pformatetc, LPSTGMEDIUM pmedium, BOOL fRelease) {
  if (!pformatetc || !pmedium) return E_INVALIDARG;
  FW_DATA_THIS;
  return pThis->OnSetData(pformatetc, pmedium, fRelease) ? S_OK : E_NOTIMPL;
}

STDMETHODIMP COleDataSource::XDataObject::EnumFormatEtc(DWORD dwDirection, LPENUMFORMATETC* ppenumFormatEtc) {
  if (!ppenumFormatEtc) return E_INVALIDARG;
  *ppenumFormatEtc = NULL;
  if (dwDirection != DATADIR_GET) return E_NOTIMPL;
  FW_DATA_THIS;
  std::vector<FORMATETC> formats;
  for (const CacheEntry& e : pThis->m_pCache->entries) formats.push_back(e.fmt);
  *ppenumFormatEtc = new CFormatEnum(formats, 0);
  return S_OK;
}

STDMETHODIMP COleDataSource::XDataObject::DAdvise(LPFORMATETC, DWORD, LPADVISESINK, DWORD*) {
  return OLE_E_ADVISENOTSUPPORTED;
}
STDMETHODIMP COleDataSource::XDataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }
STDMETHODIMP COleDataSource::XDataObject::EnumDAdvise(LPENUMSTATDATA*) { return OLE_E_ADVISENOTSUPPORTED; }
