#include <initguid.h>

#include <ClipFacts.h>
#include <VxContFile.h>
#include <textkit/path.h>

#include <new>
#include <string>

namespace {

std::string ToAnsi(LPCWSTR psz) {
  if (!psz) return std::string();
  int n = ::WideCharToMultiByte(CP_ACP, 0, psz, -1, NULL, 0, NULL, NULL);
  if (n <= 0) return std::string();
  std::string s(n, '\0');
  ::WideCharToMultiByte(CP_ACP, 0, psz, -1, &s[0], n, NULL, NULL);
  s.resize(n - 1);
  return s;
}

void ToWide(const std::string& s, LPWSTR pszOut, int cch) {
  if (cch <= 0) return;
  if (!::MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, pszOut, cch)) pszOut[0] = 0;
  pszOut[cch - 1] = 0;
}

class ClipFacts : public IClipFacts, public IClipFactsEdit {
 public:
  // IUnknown (one for both interfaces)
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = NULL;
    if (riid == IID_IUnknown || riid == IID_IClipFacts)
      *ppv = static_cast<IClipFacts*>(this);
    else if (riid == IID_IClipFactsEdit)
      *ppv = static_cast<IClipFactsEdit*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return (ULONG)::InterlockedIncrement(&m_ref); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG n = ::InterlockedDecrement(&m_ref);
    if (n == 0) delete this;
    return (ULONG)n;
  }

  HRESULT STDMETHODCALLTYPE Open(LPCWSTR pszPath) override {
    m_bOpen = false;
    if (!pszPath || !*pszPath) return E_INVALIDARG;
    std::string path = ToAnsi(pszPath);
    if (path.empty() || path.size() >= MAX_PATH) return E_INVALIDARG;
    if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    vxcont::ContentInfo info;
    if (!vxcont::ReadContentFile(path.c_str(), &info)) return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    m_info = info;
    m_path = path;
    m_bOpen = true;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetInfo(CLIPFACTSINFO* p) override {
    if (!m_bOpen) return E_UNEXPECTED;
    if (!p || p->cbSize != sizeof(CLIPFACTSINFO)) return E_POINTER;
    ToWide(m_info.title, p->szTitle, 256);
    ToWide(m_info.maker, p->szMaker, 64);
    ToWide(m_info.model, p->szModel, 64);
    p->bHasRecordTime = m_info.recordTime.has_value();
    if (m_info.recordTime) p->stRecordTime = *m_info.recordTime;
    p->dDurationSeconds = m_info.durationSeconds;
    p->nMemberCount = (int)m_info.members.size();
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetMember(int nIndex, LPWSTR pszName, int cch) override {
    if (!m_bOpen) return E_UNEXPECTED;
    if (!pszName || cch <= 0) return E_POINTER;
    if (nIndex < 0 || nIndex >= (int)m_info.members.size()) return E_INVALIDARG;
    ToWide(m_info.members[nIndex], pszName, cch);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE SetTitle(LPCWSTR pszTitle) override {
    if (!m_bOpen) return E_UNEXPECTED;
    if (!pszTitle || lstrlenW(pszTitle) > 255) return E_INVALIDARG;
    std::string t = ToAnsi(pszTitle);
    // A title is one line of the file.
    if (t.find_first_of("\r\n") != std::string::npos) return E_INVALIDARG;
    m_info.title = t;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE RenameEntries(LPCWSTR pszOldBase, LPCWSTR pszNewBase, int* pnChanged) override {
    if (pnChanged) *pnChanged = 0;
    if (!m_bOpen) return E_UNEXPECTED;
    std::string oldBase = ToAnsi(pszOldBase), newBase = ToAnsi(pszNewBase);
    if (oldBase.empty() || newBase.empty()) return E_INVALIDARG;
    std::vector<std::string> renamed = m_info.members;
    int changed = 0;
    for (std::string& m : renamed) {
      size_t dot = m.find('.');
      std::string base = m.substr(0, dot);
      if (lstrcmpiA(base.c_str(), oldBase.c_str()) != 0) continue;
      std::string name = newBase + (dot == std::string::npos ? std::string() : m.substr(dot));
      if (!textkit::IsValidFileName(name)) return E_INVALIDARG;
      m = name;
      ++changed;
    }
    m_info.members = renamed;
    if (pnChanged) *pnChanged = changed;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Save() override {
    if (!m_bOpen) return E_UNEXPECTED;
    return vxcont::WriteContentFile(m_path.c_str(), m_info);
  }

  virtual ~ClipFacts() {}

 private:
  LONG m_ref = 1;
  bool m_bOpen = false;
  std::string m_path;
  vxcont::ContentInfo m_info;
};

}  // namespace

HRESULT WINAPI DllCreateInstance(REFCLSID rclsid, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = NULL;
  if (rclsid != CLSID_ClipFacts) return CLASS_E_CLASSNOTAVAILABLE;
  ClipFacts* p = new (std::nothrow) ClipFacts();
  if (!p) return E_OUTOFMEMORY;
  HRESULT hr = p->QueryInterface(riid, ppv);
  p->Release();
  return hr;
}
