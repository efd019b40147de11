#include <initguid.h>

#include <ClipFacts.h>
#include <ScenePlayer.h>
#include <VxContFile.h>
#include <textkit/path.h>

#include <new>
#include <string.h>
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

bool IsStreamName(const std::string& name) {
  const char* dot = strrchr(name.c_str(), '.');
  return dot && (lstrcmpiA(dot, ".mts") == 0 || lstrcmpiA(dot, ".m2ts") == 0);
}
bool IsPlainFile(const std::string& path) {
  const DWORD a = ::GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

class ClipFacts : public IClipFacts, public IClipFactsEdit, public IClipFactsScene {
 public:
  // IUnknown (one for both interfaces)
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = NULL;
    if (riid == IID_IUnknown || riid == IID_IClipFacts)
      *ppv = static_cast<IClipFacts*>(this);
    else if (riid == IID_IClipFactsEdit)
      *ppv = static_cast<IClipFactsEdit*>(this);
    else if (riid == IID_IClipFactsScene)
      *ppv = static_cast<IClipFactsScene*>(this);
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

  HRESULT STDMETHODCALLTYPE OpenScene(LPCWSTR pszPath) override {
    m_bScene = false;
    if (!pszPath || !*pszPath) return E_INVALIDARG;
    std::string path = ToAnsi(pszPath);
    if (path.empty() || path.size() >= MAX_PATH) return E_INVALIDARG;
    std::string stream;
    if (IsStreamName(path)) {
      if (IsPlainFile(path)) stream = path;
    } else {
      HRESULT hr = Open(pszPath);
      if (FAILED(hr)) return hr;
      const size_t slash = path.find_last_of('\\');
      const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
      for (const std::string& m : m_info.members)
        if (IsStreamName(m) && m.find_first_of("\\/:") == std::string::npos && IsPlainFile(folder + m)) {
          stream = folder + m;
          break;
        }
    }
    if (stream.empty()) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    m_scene = CLIPFACTSSCENE();
    m_scene.cbSize = sizeof(m_scene);
    ToWide(stream, m_scene.szStream, MAX_PATH);
    m_bScene = true;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reserved7() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved8() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved9() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved10() override { return E_NOTIMPL; }
  const CLIPFACTSSCENE* STDMETHODCALLTYPE GetSceneRecord() override { return m_bScene ? &m_scene : NULL; }
  HRESULT STDMETHODCALLTYPE GetStreamPath(LPWSTR pszPath, int cch) override {
    if (!pszPath || cch <= 0) return E_POINTER;
    if (!m_bScene) return E_UNEXPECTED;
    if (lstrlenW(m_scene.szStream) >= cch) return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    lstrcpyW(pszPath, m_scene.szStream);
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

  HRESULT STDMETHODCALLTYPE SaveAs(LPCWSTR pszPath) override {
    std::string path = ToAnsi(pszPath);
    if (path.empty() || path.size() >= MAX_PATH) return E_INVALIDARG;
    if ((int)m_info.items.size() != m_itemCount) return E_UNEXPECTED;  // fewer added than announced
    return vxcont::WriteContentFile(path.c_str(), m_info);
  }
  HRESULT STDMETHODCALLTYPE SetOption(DWORD dwOption) override {
    m_info.options = dwOption;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetClipInfo(const CLIPFACTS_CLIPINFO* p) override {
    if (!p) return E_POINTER;
    m_info.recordTime.reset();
    if (p->stRecordTime.wYear) m_info.recordTime = p->stRecordTime;
    m_info.durationSeconds = p->llDuration > 0 ? p->llDuration / 1e7 : 0;
    m_info.totalSize.reset();
    if (p->llFileSize > 0) m_info.totalSize = (uint64_t)p->llFileSize;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetBaseFolder(LPCWSTR pszFolder) override {
    std::vector<std::string> one = vxcont::SplitPaths(ToAnsi(pszFolder));
    if (one.size() != 1) return E_INVALIDARG;
    m_info.baseFolder = one[0];
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetItemCount(int nCount) override {
    if (nCount < 0 || nCount > 1000) return E_INVALIDARG;
    m_itemCount = nCount;
    m_info.items.clear();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE AddItem(const CLIPFACTS_ITEM* p) override {
    if (!p || !p->pszPath) return E_POINTER;
    if ((int)m_info.items.size() >= m_itemCount) return E_FAIL;
    std::vector<std::string> one = vxcont::SplitPaths(ToAnsi(p->pszPath));
    if (one.size() != 1) return E_INVALIDARG;
    m_info.items.push_back(one[0]);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetThumbnailCount(int nCount) override {
    if (nCount < 0 || nCount > 1000) return E_INVALIDARG;
    m_info.thumbnails.assign(nCount, std::string());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetThumbnail(int nIndex, const CLIPFACTS_THUMBNAIL* p) override {
    if (!p || !p->pszPath) return E_POINTER;
    if (nIndex < 0 || nIndex >= (int)m_info.thumbnails.size()) return E_INVALIDARG;
    std::vector<std::string> one = vxcont::SplitPaths(ToAnsi(p->pszPath));
    if (one.size() != 1) return E_INVALIDARG;
    m_info.thumbnails[nIndex] = one[0];
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Finish() override {
    m_info = vxcont::ContentInfo();
    m_itemCount = 0;
    return S_OK;
  }

  virtual ~ClipFacts() {}

 private:
  LONG m_ref = 1;
  bool m_bOpen = false;
  bool m_bScene = false;
  CLIPFACTSSCENE m_scene = {};
  std::string m_path;
  vxcont::ContentInfo m_info;
  int m_itemCount = 0;
};

}  // namespace

HRESULT WINAPI DllCreateInstance(REFCLSID rclsid, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = NULL;
  if (rclsid != CLSID_ClipFacts && rclsid != CLSID_ClipFactsWriter) return CLASS_E_CLASSNOTAVAILABLE;
  ClipFacts* p = new (std::nothrow) ClipFacts();
  if (!p) return E_OUTOFMEMORY;
  HRESULT hr = p->QueryInterface(riid, ppv);
  p->Release();
  return hr;
}
