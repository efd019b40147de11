#include "FileDropTarget.h"

#include <shellapi.h>

CFileDropTarget::CFileDropTarget(LONG* pnRefs, IFileDropSink* pSink)
    : m_pnRefs(pnRefs), m_pSink(pSink), m_formats{CF_HDROP, PrivateFormat()}, m_pData(NULL) {}

CLIPFORMAT CFileDropTarget::PrivateFormat() { return (CLIPFORMAT)::RegisterClipboardFormatA("CFSTR__Vx_FilePath"); }

STDMETHODIMP CFileDropTarget::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
    *ppv = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = NULL;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CFileDropTarget::AddRef() { return (ULONG)::InterlockedIncrement(m_pnRefs); }
STDMETHODIMP_(ULONG) CFileDropTarget::Release() { return (ULONG)::InterlockedDecrement(m_pnRefs); }

STDMETHODIMP CFileDropTarget::DragEnter(IDataObject* pData, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) {
  if (m_pData) m_pData->Release();
  m_pData = pData;
  if (m_pData) m_pData->AddRef();
  return DragOver(grfKeyState, pt, pdwEffect);
}

STDMETHODIMP CFileDropTarget::DragOver(DWORD, POINTL, DWORD* pdwEffect) {
  if (!pdwEffect) return E_INVALIDARG;
  *pdwEffect = DROPEFFECT_NONE;
  if (!m_pData || (m_pSink && !m_pSink->IsDropAllowed())) return S_OK;
  for (CLIPFORMAT cf : m_formats) {
    FORMATETC fe = {cf, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    if (m_pData->QueryGetData(&fe) == S_OK) {
      *pdwEffect = DROPEFFECT_COPY;
      break;
    }
  }
  return S_OK;
}

STDMETHODIMP CFileDropTarget::DragLeave() {
  if (m_pData) m_pData->Release();
  m_pData = NULL;
  return S_OK;
}

STDMETHODIMP CFileDropTarget::Drop(IDataObject* pData, DWORD, POINTL, DWORD* pdwEffect) {
  DragLeave();
  DWORD effect = pData && m_pSink && m_pSink->IsDropAllowed() ? m_pSink->OnFileDrop(pData) : DROPEFFECT_NONE;
  if (pdwEffect) *pdwEffect = effect;
  return S_OK;
}

namespace filedrop {

BOOL GetGlobal(IDataObject* pData, CLIPFORMAT cf, STGMEDIUM* pMedium) {
  FORMATETC fe = {cf, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  *pMedium = STGMEDIUM();
  if (!pData || FAILED(pData->GetData(&fe, pMedium))) return FALSE;
  if (pMedium->tymed != TYMED_HGLOBAL || !pMedium->hGlobal) {
    ::ReleaseStgMedium(pMedium);
    return FALSE;
  }
  return TRUE;
}

std::vector<std::string> DroppedFiles(HGLOBAL hDrop) {
  std::vector<std::string> out;
  if (!hDrop) return out;
  UINT n = ::DragQueryFileA((HDROP)hDrop, 0xFFFFFFFF, NULL, 0);
  for (UINT i = 0; i < n; ++i) {
    UINT len = ::DragQueryFileA((HDROP)hDrop, i, NULL, 0);
    std::string path(len + 1, '\0');
    path.resize(::DragQueryFileA((HDROP)hDrop, i, &path[0], len + 1));
    out.push_back(path);
  }
  return out;
}

std::string DroppedPath(HGLOBAL hBlock) {
  if (!hBlock) return std::string();
  SIZE_T size = ::GlobalSize(hBlock);
  const char* p = static_cast<const char*>(::GlobalLock(hBlock));
  if (!p) return std::string();
  size_t n = 0;
  while (n < size && p[n]) ++n;
  std::string path(p, n);
  ::GlobalUnlock(hBlock);
  return path;
}

}  // namespace filedrop
