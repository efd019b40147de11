#include "ScenarioClient.h"

#include <cstring>
#include <new>

// ---- CSignalKitLoader -------------------------------------------------------------------

CSignalKitLoader::CSignalKitLoader() : m_hModule(NULL), m_hScenario(NULL) {
  m_hModule = ::LoadLibraryExA("SignalKit.dll", NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}

CSignalKitLoader::~CSignalKitLoader() {
  if (m_hModule) ::FreeLibrary(m_hModule);
}

FARPROC CSignalKitLoader::Export(LPCSTR pszName) const {
  return m_hModule ? ::GetProcAddress(m_hModule, pszName) : NULL;
}

// Each call looks its export up by name: no library, E_HANDLE; no export, E_NOINTERFACE.
#define SNR_CALL(name, ...)                                             \
  do {                                                                  \
    if (!m_hModule) return E_HANDLE;                                    \
    PFN_##name pfn = reinterpret_cast<PFN_##name>(Export(#name));      \
    if (!pfn) return E_NOINTERFACE;                                     \
    return pfn(__VA_ARGS__);                                            \
  } while (0)

HRESULT CSignalKitLoader::Open(LPCWSTR pszPath, int nMode, void* pParam) {
  if (!m_hModule) return E_HANDLE;
  PFN_Snr_Open pfn = reinterpret_cast<PFN_Snr_Open>(Export("Snr_Open"));
  if (!pfn) return E_NOINTERFACE;
  return pfn(pszPath, nMode, &m_hScenario, pParam);
}

HRESULT CSignalKitLoader::Close() {
  if (!m_hModule) return E_HANDLE;
  PFN_Snr_Close pfn = reinterpret_cast<PFN_Snr_Close>(Export("Snr_Close"));
  if (!pfn) return E_NOINTERFACE;
  HRESULT hr = pfn(m_hScenario);
  if (hr == S_OK) m_hScenario = NULL;
  return hr;
}

HRESULT CSignalKitLoader::GetInfoScenario(SNRINFO* pInfo) { SNR_CALL(Snr_GetInfoScenario, m_hScenario, pInfo); }
HRESULT CSignalKitLoader::SetInfoScenario(const SNRINFO* pInfo) { SNR_CALL(Snr_SetInfoScenario, m_hScenario, pInfo); }
HRESULT CSignalKitLoader::GetDataTimeType(WORD wDataKind, WORD* pwUnit) {
  SNR_CALL(Snr_GetDataTimeType, m_hScenario, wDataKind, pwUnit);
}
HRESULT CSignalKitLoader::SetDataTimeType(WORD wDataKind, WORD wUnit) {
  SNR_CALL(Snr_SetDataTimeType, m_hScenario, wDataKind, wUnit);
}
HRESULT CSignalKitLoader::GetDataOption(WORD wDataKind, int* pnOption) {
  SNR_CALL(Snr_GetDataOption, m_hScenario, wDataKind, pnOption);
}
HRESULT CSignalKitLoader::SetDataOption(WORD wDataKind, int nOption) {
  SNR_CALL(Snr_SetDataOption, m_hScenario, wDataKind, nOption);
}
HRESULT CSignalKitLoader::GetDataArray(WORD wDataKind, SNRELEMENTREF* pRefs, int* pnCount) {
  SNR_CALL(Snr_GetDataArray, m_hScenario, wDataKind, pRefs, 0, pnCount);
}
HRESULT CSignalKitLoader::AssignDataArray(WORD wDataKind, const SNRELEMENTREF* pRefs, int nCount) {
  SNR_CALL(Snr_AssignDataArray, m_hScenario, wDataKind, pRefs, nCount);
}

// ---- CScenarioDataArray -----------------------------------------------------------------

CScenarioDataArray::CScenarioDataArray(CSignalKitLoader* pLoader, WORD wDataKind, void* pParam)
    : m_pLoader(pLoader), m_wDataKind(wDataKind), m_pParam(pParam) {}

CScenarioDataArray::~CScenarioDataArray() { FreeWideCopies(); }

HRESULT CScenarioDataArray::AllocateRefs(int n) {
  FreeWideCopies();
  try {
    m_wide.assign(n, SNRELEMENTREF());
    for (SNRELEMENTREF& ref : m_wide) {
      ref.cbElement = sizeof(SNRELEMENT);
      ref.pElement = new SNRELEMENT();
    }
  } catch (const std::bad_alloc&) {
    FreeWideCopies();
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT CScenarioDataArray::MakeWideCopies(const ScenarioItemRef* pRefs, int n) {
  FreeWideCopies();
  try {
    m_wide.assign(n, SNRELEMENTREF());
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  for (int i = 0; i < n; ++i) {
    if (!IsOwnKind(pRefs[i].nKind) || !pRefs[i].pItem) return E_NOTIMPL;
    HRESULT hr = MakeWideElement(*pRefs[i].pItem, &m_wide[i].pElement);
    if (FAILED(hr)) return hr;
    m_wide[i].lKind = pRefs[i].nKind;
    m_wide[i].cbElement = sizeof(SNRELEMENT);
    m_wide[i].lReserved = pRefs[i].nReserved;
  }
  return S_OK;
}

void CScenarioDataArray::FreeWideCopies() {
  for (SNRELEMENTREF& ref : m_wide) FreeWideElement(ref.pElement);
  m_wide.clear();
}

HRESULT CScenarioDataArray::CopyBack(ScenarioItemRef* pRefs, int n, int* pnCopied) {
  int nCopied = 0;
  for (const SNRELEMENTREF& ref : m_wide) {
    if (nCopied >= n) break;
    if (!TakesEveryKind() && !IsOwnKind(ref.lKind)) continue;
    ScenarioItemRef& out = pRefs[nCopied++];
    out.nKind = ref.lKind;
    out.nReserved = ref.lReserved;
    if (out.pItem && ref.pElement) CopyElementBack(*ref.pElement, out.pItem);
  }
  *pnCopied = nCopied;
  return S_OK;
}

HRESULT CScenarioDataArray::MakeWideElement(const ScenarioItem& item, SNRELEMENT** ppElement) {
  SNRELEMENT* p = new (std::nothrow) SNRELEMENT();
  if (!p) return E_OUTOFMEMORY;
  p->llStart = item.llStart;
  p->llEnd = item.llEnd;
  char szPath[SNR_PATH_UNITS];
  memcpy(szPath, item.szPath, sizeof(szPath));
  szPath[SNR_PATH_UNITS - 1] = '\0';
  ::MultiByteToWideChar(CP_ACP, 0, szPath, -1, p->szPath, SNR_PATH_UNITS);
  p->szPath[SNR_PATH_UNITS - 1] = L'\0';
  p->llSize = item.llSize;
  p->ftWrite = item.ftWrite;
  p->lExtra = item.nExtra;
  *ppElement = p;
  return S_OK;
}

void CScenarioDataArray::FreeWideElement(SNRELEMENT* pElement) { delete pElement; }

void CScenarioDataArray::CopyElementBack(const SNRELEMENT& element, ScenarioItem* pItem) {
  pItem->llStart = element.llStart;
  pItem->llEnd = element.llEnd;
  WCHAR szPath[SNR_PATH_UNITS];
  memcpy(szPath, element.szPath, sizeof(szPath));
  szPath[SNR_PATH_UNITS - 1] = L'\0';
  if (!::WideCharToMultiByte(CP_ACP, 0, szPath, -1, pItem->szPath, SNR_PATH_UNITS, NULL, NULL))
    pItem->szPath[0] = '\0';
  pItem->szPath[SNR_PATH_UNITS - 1] = '\0';
  pItem->llSize = element.llSize;
  pItem->ftWrite = element.ftWrite;
  pItem->nExtra = element.lExtra;
}

int CScenarioDataArray::CountOwnKind() const {
  int n = 0;
  for (const SNRELEMENTREF& ref : m_wide)
    if (IsOwnKind(ref.lKind)) ++n;
  return n;
}

// Every element of the array, of any kind, into the wide references.
HRESULT CScenarioDataArray::FetchAll() {
  int nAll = 0;
  if (FAILED(m_pLoader->GetDataArray(m_wDataKind, NULL, &nAll))) return E_FAIL;
  HRESULT hr = AllocateRefs(nAll);
  if (FAILED(hr)) return hr;
  int nFilled = nAll;
  if (nAll > 0 && FAILED(m_pLoader->GetDataArray(m_wDataKind, m_wide.data(), &nFilled))) {
    FreeWideCopies();
    return E_FAIL;
  }
  // Only what the library filled is walked.
  while ((int)m_wide.size() > nFilled && !m_wide.empty()) {
    FreeWideElement(m_wide.back().pElement);
    m_wide.pop_back();
  }
  return S_OK;
}

HRESULT CScenarioDataArray::Count(int* pnCount) {
  if (TakesEveryKind()) return SUCCEEDED(m_pLoader->GetDataArray(m_wDataKind, NULL, pnCount)) ? S_OK : E_FAIL;
  HRESULT hr = FetchAll();
  if (FAILED(hr)) return hr;
  *pnCount = CountOwnKind();
  FreeWideCopies();
  return S_OK;
}

HRESULT CScenarioDataArray::Fetch(ScenarioItemRef* pRefs, int* pnCount) {
  HRESULT hr = FetchAll();
  if (FAILED(hr)) return hr;
  hr = CopyBack(pRefs, *pnCount, pnCount);
  FreeWideCopies();
  return hr;
}

HRESULT CScenarioDataArray::Assign(const ScenarioItemRef* pRefs, int nCount, WORD wUnit, int nOption) {
  HRESULT hr = MakeWideCopies(pRefs, nCount);
  if (SUCCEEDED(hr)) hr = m_pLoader->AssignDataArray(m_wDataKind, m_wide.data(), nCount);
  if (SUCCEEDED(hr)) hr = m_pLoader->SetDataTimeType(m_wDataKind, wUnit);
  if (SUCCEEDED(hr)) hr = m_pLoader->SetDataOption(m_wDataKind, nOption);
  FreeWideCopies();
  return hr;
}

// ---- CScenarioSession -------------------------------------------------------------------

CScenarioSession::CScenarioSession() : m_pLoader(NULL), m_bInfoSet(FALSE), m_info(), m_pParam(NULL) {
  m_pLoader = new (std::nothrow) CSignalKitLoader;
}

CScenarioSession::~CScenarioSession() { delete m_pLoader; }

HRESULT CScenarioSession::Open(LPCSTR pszPath, bool bWrite) {
  if (!m_pLoader) return E_HANDLE;
  m_info = ScenarioInfo();
  m_bInfoSet = FALSE;
  WCHAR szPath[MAX_PATH] = L"";
  LPCWSTR pszWide = NULL;
  if (pszPath && *pszPath && ::MultiByteToWideChar(CP_ACP, 0, pszPath, -1, szPath, MAX_PATH)) pszWide = szPath;
  HRESULT hr;
  if (bWrite) {
    hr = m_pLoader->Open(pszWide, SNR_OPEN_CREATE, NULL);
    if (FAILED(hr)) hr = m_pLoader->Open(pszWide, SNR_OPEN_REPLACE, NULL);
  } else {
    hr = m_pLoader->Open(pszWide, SNR_OPEN_READ, NULL);
  }
  if (SUCCEEDED(hr)) m_pParam = NULL;
  return hr;
}

HRESULT CScenarioSession::OpenForWrite(LPCSTR pszPath) { return Open(pszPath, true); }
HRESULT CScenarioSession::OpenForRead(LPCSTR pszPath) { return Open(pszPath, false); }

HRESULT CScenarioSession::Close() { return m_pLoader ? m_pLoader->Close() : E_HANDLE; }

HRESULT CScenarioSession::ReadInfo(ScenarioInfo* pInfo) {
  if (!pInfo) return E_INVALIDARG;
  *pInfo = ScenarioInfo();
  if (!m_pLoader) return E_HANDLE;
  SNRINFO info = {};
  info.cbSize = sizeof(SNRINFO);
  HRESULT hr = m_pLoader->GetInfoScenario(&info);
  if (FAILED(hr)) return hr;
  if (info.wOne != 1) return SNR_E_BAD_INFO;
  pInfo->wTimeUnit = info.wTimeUnit;
  pInfo->nInterval = (int)(DWORD)(info.llInterval & 0xFFFFFFFF);
  pInfo->nKind = info.lEffect;
  int nOption = 0;
  if (SUCCEEDED(m_pLoader->GetDataOption(SNR_DATA_PICTURES, &nOption)) && (nOption & 1)) pInfo->nRepeat = 1;
  return S_OK;
}

HRESULT CScenarioSession::WriteInfo(const ScenarioInfo* pInfo) {
  if (!pInfo) return E_INVALIDARG;
  if (pInfo->nInterval < 0 || pInfo->nKind < 1 || pInfo->nKind > 5 || pInfo->wTimeUnit < SNR_TIME_SECONDS ||
      pInfo->wTimeUnit > SNR_TIME_MILLISECONDS)
    return E_NOTIMPL;
  if (!m_pLoader) return E_HANDLE;
  SNRINFO info = {};
  info.cbSize = sizeof(SNRINFO);
  info.wTimeUnit = pInfo->wTimeUnit;
  info.llInterval = (LONGLONG)pInfo->nInterval;
  info.wOne = 1;
  info.lEffect = pInfo->nKind;
  HRESULT hr = m_pLoader->SetInfoScenario(&info);
  if (FAILED(hr)) return hr;
  m_info = *pInfo;
  m_bInfoSet = TRUE;
  return S_OK;
}

HRESULT CScenarioSession::GetArray(WORD wDataKind, ScenarioItemRef* pRefs, int* pnCount) {
  if (!pnCount) return E_INVALIDARG;
  if (!m_pLoader) return E_HANDLE;
  CScenarioPictureArray pictures(m_pLoader, m_pParam);
  CScenarioAudioArray audio(m_pLoader, m_pParam);
  CScenarioDataArray& array = wDataKind == SNR_DATA_PICTURES ? static_cast<CScenarioDataArray&>(pictures) : audio;
  if (!pRefs) return array.Count(pnCount);
  if (*pnCount < 1) return E_INVALIDARG;
  return array.Fetch(pRefs, pnCount);
}

HRESULT CScenarioSession::GetPictureArray(ScenarioItemRef* pRefs, int* pnCount) {
  return GetArray(SNR_DATA_PICTURES, pRefs, pnCount);
}
HRESULT CScenarioSession::GetAudioArray(ScenarioItemRef* pRefs, int* pnCount) {
  return GetArray(SNR_DATA_AUDIO, pRefs, pnCount);
}

HRESULT CScenarioSession::AssignArray(WORD wDataKind, const ScenarioItemRef* pRefs, int nCount, int nOption) {
  if (!m_bInfoSet) return SNR_E_NO_INFO;
  if (!pRefs && nCount > 0) return E_INVALIDARG;
  if (nCount < 0) return E_INVALIDARG;
  if (!m_pLoader) return E_HANDLE;
  CScenarioPictureArray pictures(m_pLoader, m_pParam);
  CScenarioAudioArray audio(m_pLoader, m_pParam);
  CScenarioDataArray& array = wDataKind == SNR_DATA_PICTURES ? static_cast<CScenarioDataArray&>(pictures) : audio;
  return array.Assign(pRefs, nCount, m_info.wTimeUnit, nOption);
}

HRESULT CScenarioSession::AssignPictureArray(const ScenarioItemRef* pRefs, int nCount) {
  return AssignArray(SNR_DATA_PICTURES, pRefs, nCount, m_info.nRepeat == 1 ? 1 : 0);
}
HRESULT CScenarioSession::AssignAudioArray(const ScenarioItemRef* pRefs, int nCount) {
  return AssignArray(SNR_DATA_AUDIO, pRefs, nCount, 1);
}
