// SignalKit.dll: opens, reads and writes slide-show scenario files (see SnrFormat.h).
// A handle is an open scenario held in memory; a file opened for writing is written at
// Close, whole, to a temporary name beside it and then moved into place.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "SignalKit/SnrFormat.h"

namespace {

struct OpenScenario {
  std::wstring path;
  int nMode;
  snr::Scenario scenario;
};

std::mutex g_lock;
std::set<OpenScenario*>& Handles() {
  static std::set<OpenScenario*> handles;
  return handles;
}

// Only handles this library gave out and not yet closed are taken.
OpenScenario* Lookup(HSNR h) {
  std::lock_guard<std::mutex> lock(g_lock);
  auto it = Handles().find(static_cast<OpenScenario*>(h));
  return it == Handles().end() ? nullptr : *it;
}

HRESULT LastError() {
  DWORD dw = ::GetLastError();
  return dw ? HRESULT_FROM_WIN32(dw) : E_FAIL;
}

HRESULT ReadWhole(const std::wstring& path, std::string* pOut) {
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, NULL, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, NULL);
  if (h == INVALID_HANDLE_VALUE) return LastError();
  LARGE_INTEGER size = {};
  HRESULT hr = S_OK;
  // A scenario of the largest sensible size is far below this.
  if (!::GetFileSizeEx(h, &size) || size.QuadPart > 256LL * 1024 * 1024) {
    hr = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
  } else {
    pOut->resize((size_t)size.QuadPart);
    DWORD nRead = 0;
    if (!pOut->empty() && (!::ReadFile(h, &(*pOut)[0], (DWORD)pOut->size(), &nRead, NULL) || nRead != pOut->size()))
      hr = HRESULT_FROM_WIN32(ERROR_READ_FAULT);
  }
  ::CloseHandle(h);
  return hr;
}

HRESULT WriteWhole(const std::wstring& path, const std::string& bytes, bool bReplace) {
  size_t slash = path.find_last_of(L"\\/");
  std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash);
  wchar_t temp[MAX_PATH];
  if (!::GetTempFileNameW(folder.c_str(), L"snr", 0, temp)) return LastError();
  HANDLE h = ::CreateFileW(temp, GENERIC_WRITE, 0, NULL, TRUNCATE_EXISTING, FILE_ATTRIBUTE_HIDDEN, NULL);
  if (h == INVALID_HANDLE_VALUE) {
    HRESULT hr = LastError();
    ::DeleteFileW(temp);
    return hr;
  }
  DWORD nWritten = 0;
  BOOL bOk = ::WriteFile(h, bytes.data(), (DWORD)bytes.size(), &nWritten, NULL) && nWritten == bytes.size() &&
             ::FlushFileBuffers(h);
  HRESULT hr = bOk ? S_OK : LastError();
  ::CloseHandle(h);
  if (SUCCEEDED(hr)) {
    DWORD dwFlags = MOVEFILE_WRITE_THROUGH | (bReplace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!::MoveFileExW(temp, path.c_str(), dwFlags)) hr = LastError();
  }
  if (FAILED(hr)) {
    ::DeleteFileW(temp);
    return hr;
  }
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return S_OK;
}

bool Writable(const OpenScenario* p) { return p->nMode != SNR_OPEN_READ; }

}  // namespace

extern "C" {

__declspec(dllexport) HRESULT WINAPI Snr_Open(LPCWSTR pszPath, int nMode, HSNR* phScenario, void* pParam) {
  if (!phScenario) return E_POINTER;
  *phScenario = NULL;
  if (!pszPath || !*pszPath) return E_INVALIDARG;
  if (nMode != SNR_OPEN_READ && nMode != SNR_OPEN_CREATE && nMode != SNR_OPEN_REPLACE) return E_INVALIDARG;
  std::unique_ptr<OpenScenario> p(new (std::nothrow) OpenScenario);
  if (!p) return E_OUTOFMEMORY;
  p->path = pszPath;
  p->nMode = nMode;
  DWORD dwAttributes = ::GetFileAttributesW(pszPath);
  if (nMode == SNR_OPEN_READ) {
    std::string bytes;
    HRESULT hr = ReadWhole(p->path, &bytes);
    if (FAILED(hr)) return hr;
    hr = snr::Parse(bytes.data(), bytes.size(), &p->scenario);
    if (FAILED(hr)) return hr;
  } else if (dwAttributes != INVALID_FILE_ATTRIBUTES) {
    if (nMode == SNR_OPEN_CREATE) return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
    if (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
  }
  std::lock_guard<std::mutex> lock(g_lock);
  Handles().insert(p.get());
  *phScenario = p.release();
  return S_OK;
}

__declspec(dllexport) HRESULT WINAPI Snr_Close(HSNR hScenario) {
  OpenScenario* p = Lookup(hScenario);
  if (!p) return E_HANDLE;
  HRESULT hr = S_OK;
  if (Writable(p)) hr = WriteWhole(p->path, snr::Serialize(p->scenario), p->nMode == SNR_OPEN_REPLACE);
  {
    std::lock_guard<std::mutex> lock(g_lock);
    Handles().erase(p);
  }
  delete p;
  return hr;
}

__declspec(dllexport) HRESULT WINAPI Snr_GetInfoScenario(HSNR hScenario, SNRINFO* pInfo) {
  OpenScenario* p = Lookup(hScenario);
  if (!p) return E_HANDLE;
  if (!pInfo || pInfo->cbSize != sizeof(SNRINFO)) return E_INVALIDARG;
  *pInfo = p->scenario.info;
  return S_OK;
}

__declspec(dllexport) HRESULT WINAPI Snr_SetInfoScenario(HSNR hScenario, const SNRINFO* pInfo) {
  OpenScenario* p = Lookup(hScenario);
  if (!p) return E_HANDLE;
  if (!Writable(p)) return E_ACCESSDENIED;
  if (!pInfo || pInfo->cbSize != sizeof(SNRINFO)) return E_INVALIDARG;
  p->scenario.info = *pInfo;
  return S_OK;
}

__declspec(dllexport) HRESULT WINAPI Snr_GetDataTimeType(HSNR hScenario, WORD wDataKind, WORD* pwUnit) {
  OpenScenario* p = Lookup(hScenario);
  if (!p) return E_HANDLE;
  if (!pwUnit || !snr::IsDataKind(wDataKind)) return E_INVALIDARG;
  const snr::DataArray* a = p->scenario.Find(wDataKind);
  *pwUnit = a ? a->wTimeUnit : (WORD)SNR_TIME_MILLISECONDS;
  return S_OK;
}

__declspec(dllexport) HRESULT WINAPI Snr_SetDataTimeType(HSNR hScenario, WORD wDataKind, WORD wUnit) {
  OpenScenario* p = Lookup(hScenario);
  if (!p) return E_HANDLE;
  if (!Writable(p)) return E_ACCESSDENIED;
  if (!snr::IsDataKind(wDataKind) || (wUnit != SNR_TIME_SECONDS && wUnit != SNR_TIME_MILLISECONDS)) return E_INVALIDARG;
  p->scenario.Get(wDataKind).wTimeUnit = wUnit;
  return S_OK;
}

__declspec(dllexport) HRESULT WINAPI Snr_GetDataOption(HSNR hScenario, WORD wDataKind, int* pnOption) {
  OpenScenario* p = Lookup(hScenario);
  if (!p) return E_HANDLE;
  if (!pnOption || !snr::IsDataKind(wDataKind)) return E_INVALIDARG;
  const snr::DataArray* a = p->scenario.Find(wDataKind);
  *pnOption = a ? a->nOption : 0;
  return S_OK;
}

__declspec(dllexport) HRESULT WINAPI Snr_SetDataOption(HSNR hScenario, WORD wDataKind, int nOption) {
  OpenScenario* p = Lookup(hScenario);
  if (!p) return E_HANDLE;
  if (!Writable(p)) return E_ACCESSDENIED;
  if (!snr::IsDataKind(wDataKind)) return E_INVALIDARG;
  p->scenario.Get(wDataKind).nOption = nOption;
  return S_OK;
}

// Without references: the element count. With them: up to *pnCount elements, each into
// its reference's element (when the reference has room for one), and the count filled.
__declspec(dllexport) HRESULT WINAPI Snr_GetDataArray(HSNR hScenario, WORD wDataKind, SNRELEMENTREF* pRefs,
                                                     int nReserved, int* pnCount) {
  OpenScenario* p = Lookup(hScenario);
  if (!p) return E_HANDLE;
  if (!pnCount || !snr::IsDataKind(wDataKind)) return E_INVALIDARG;
  const snr::DataArray* a = p->scenario.Find(wDataKind);
  int nHave = a ? (int)a->elements.size() : 0;
  if (!pRefs) {
    *pnCount = nHave;
    return S_OK;
  }
  if (*pnCount < 0) return E_INVALIDARG;
  int n = std::min(*pnCount, nHave);
  for (int i = 0; i < n; ++i) {
    const snr::Element& e = a->elements[i];
    pRefs[i].lKind = e.lKind;
    if (pRefs[i].pElement && pRefs[i].cbElement >= (LONG)sizeof(SNRELEMENT)) *pRefs[i].pElement = e.data;
  }
  *pnCount = n;
  return S_OK;
}

__declspec(dllexport) HRESULT WINAPI Snr_AssignDataArray(HSNR hScenario, WORD wDataKind, const SNRELEMENTREF* pRefs,
                                                        int nCount) {
  OpenScenario* p = Lookup(hScenario);
  if (!p) return E_HANDLE;
  if (!Writable(p)) return E_ACCESSDENIED;
  if (!snr::IsDataKind(wDataKind) || nCount < 0 || (nCount > 0 && !pRefs)) return E_INVALIDARG;
  std::vector<snr::Element> elements;
  for (int i = 0; i < nCount; ++i) {
    if (!pRefs[i].pElement || pRefs[i].cbElement < (LONG)sizeof(SNRELEMENT)) return E_INVALIDARG;
    snr::Element e;
    e.lKind = pRefs[i].lKind;
    e.data = *pRefs[i].pElement;
    e.data.szPath[SNR_PATH_UNITS - 1] = L'\0';
    elements.push_back(e);
  }
  p->scenario.Get(wDataKind).elements = std::move(elements);
  return S_OK;
}

}  // extern "C"
