// The still information and the still-file writer behind DllCreateInstance.
#include <initguid.h>

#include <StillFileIo.h>
#include <safecopy/SafeCopy.h>
#include <textkit/text.h>

#include <atomic>
#include <new>

namespace {

std::string Ansi(LPCWSTR w) { return w ? textkit::WideToAnsi(w) : std::string(); }

template <class Iface, const IID* Iid>
class Object : public Iface {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = NULL;
    if (riid != IID_IUnknown && riid != *Iid) return E_NOINTERFACE;
    *ppv = static_cast<Iface*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return (ULONG)++m_ref; }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG n = --m_ref;
    if (n == 0) delete this;
    return (ULONG)n;
  }
  virtual ~Object() {}

 private:
  std::atomic<LONG> m_ref{1};
};

class StillInfo : public Object<IStillInfo, &IID_IStillInfo> {
 public:
  HRESULT STDMETHODCALLTYPE Start(const STILLRECORD* p) override {
    if (!p) return E_POINTER;
    if (!stillfile::IsStartRecord(*p)) return E_INVALIDARG;
    m_records.assign(1, *p);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetRecord(int i, STILLRECORD* p) override {
    if (!p) return E_POINTER;
    if (i < 0 || i >= (int)m_records.size()) return E_INVALIDARG;
    *p = m_records[i];
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetRecord(int i, const STILLRECORD* p) override {
    if (!p) return E_POINTER;
    if (m_records.empty()) return E_UNEXPECTED;
    if (i < 0 || i > (int)m_records.size()) return E_INVALIDARG;
    // The first record stays a start record.
    if (i == 0 && !stillfile::IsStartRecord(*p)) return E_INVALIDARG;
    if (i == (int)m_records.size()) {
      if (m_records.size() >= STILL_MAX_RECORDS) return E_OUTOFMEMORY;
      m_records.push_back(*p);
    } else {
      m_records[i] = *p;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCount(int* pn) override {
    if (!pn) return E_POINTER;
    *pn = (int)m_records.size();
    return S_OK;
  }

 private:
  std::vector<STILLRECORD> m_records;
};

class StillFileWriter : public Object<IStillFileWriter, &IID_IStillFileWriter> {
 public:
  HRESULT STDMETHODCALLTYPE Write(LPCWSTR pszPath, IStillInfo* pInfo) override {
    if (!pszPath || !pInfo) return E_POINTER;
    std::string path = Ansi(pszPath);
    if (path.empty() || path.size() >= MAX_PATH) return E_INVALIDARG;
    int n = 0;
    if (FAILED(pInfo->GetCount(&n)) || n <= 0) return E_UNEXPECTED;
    std::vector<STILLRECORD> records(n);
    for (int i = 0; i < n; ++i)
      if (HRESULT hr = pInfo->GetRecord(i, &records[i]); FAILED(hr)) return hr;
    std::string bytes = stillfile::Serialize(records);
    DWORD e = safecopy::WriteFileVerified(path, bytes.data(), bytes.size());
    return e ? HRESULT_FROM_WIN32(e) : S_OK;
  }
  HRESULT STDMETHODCALLTYPE Read(LPCWSTR pszPath, IStillInfo* pInfo) override {
    if (!pszPath || !pInfo) return E_POINTER;
    HANDLE h = CreateFileA(Ansi(pszPath).c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE) return HRESULT_FROM_WIN32(GetLastError());
    std::string bytes((STILL_MAX_RECORDS + 2) * sizeof(STILLRECORD), '\0');
    DWORD got = 0;
    BOOL ok = ReadFile(h, &bytes[0], (DWORD)bytes.size(), &got, NULL);
    CloseHandle(h);
    if (!ok) return HRESULT_FROM_WIN32(GetLastError());
    bytes.resize(got);
    std::vector<STILLRECORD> records;
    if (!stillfile::Parse(bytes, &records)) return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    HRESULT hr = pInfo->Start(&records[0]);
    for (size_t i = 1; i < records.size() && SUCCEEDED(hr); ++i) hr = pInfo->SetRecord((int)i, &records[i]);
    return hr;
  }
};

}  // namespace

HRESULT WINAPI DllCreateInstance(REFCLSID rclsid, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = NULL;
  IUnknown* p = nullptr;
  if (rclsid == CLSID_StillInfo)
    p = new (std::nothrow) StillInfo();
  else if (rclsid == CLSID_StillFileWriter)
    p = new (std::nothrow) StillFileWriter();
  else
    return CLASS_E_CLASSNOTAVAILABLE;
  if (!p) return E_OUTOFMEMORY;
  HRESULT hr = p->QueryInterface(riid, ppv);
  p->Release();
  return hr;
}
