#include <initguid.h>

#include <ClipFacts.h>
#include <ScenePlayer.h>
#include <VxContFile.h>
#include <safecopy/SafeCopy.h>
#include <textkit/path.h>
#include <textkit/text.h>

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

std::wstring Wide(const std::string& s) {
  int n = ::MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, NULL, 0);
  if (n <= 0) return std::wstring();
  std::wstring w(n, L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, &w[0], n);
  w.resize(n - 1);
  return w;
}

// A stream or a companion record as the object holds it.
struct Entry {
  DWORD kind = 0;
  uint64_t size = 0;
  FILETIME lastWrite = {};
  std::string name;
};

bool IsCompanionName(const std::string& name) {
  std::string ext = textkit::ExtensionOf(name);
  return textkit::EqualNoCase(ext, ".tmb") || textkit::EqualNoCase(ext, ".iis");
}

constexpr int kMaxEntries = 1000;

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
    m_rewrite = true;
    SplitEntries();
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
    p->nMemberCount = (int)(m_streams.size() + m_records.size());
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetMember(int nIndex, LPWSTR pszName, int cch) override {
    if (!m_bOpen) return E_UNEXPECTED;
    if (!pszName || cch <= 0) return E_POINTER;
    const int streams = (int)m_streams.size();
    if (nIndex < 0 || nIndex >= streams + (int)m_records.size()) return E_INVALIDARG;
    ToWide(nIndex < streams ? m_streams[nIndex].name : m_records[nIndex - streams].name, pszName, cch);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetStreamCount(int* pn) override { return Count(m_streams, pn); }
  HRESULT STDMETHODCALLTYPE GetStream(int i, CLIPFACTS_ENTRY* p) override { return Get(m_streams, i, p); }
  HRESULT STDMETHODCALLTYPE GetRecordCount(int* pn) override { return Count(m_records, pn); }
  HRESULT STDMETHODCALLTYPE GetRecord(int i, CLIPFACTS_ENTRY* p) override { return Get(m_records, i, p); }

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
    std::vector<Entry> streams = m_streams, records = m_records;
    int changed = 0;
    for (std::vector<Entry>* list : {&streams, &records})
      for (Entry& e : *list) {
        size_t dot = e.name.find('.');
        std::string base = e.name.substr(0, dot);
        if (lstrcmpiA(base.c_str(), oldBase.c_str()) != 0) continue;
        std::string name = newBase + (dot == std::string::npos ? std::string() : e.name.substr(dot));
        if (!textkit::IsValidFileName(name)) return E_INVALIDARG;
        e.name = name;
        ++changed;
      }
    m_streams = streams;
    m_records = records;
    if (pnChanged) *pnChanged = changed;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Save() override {
    if (!m_bOpen) return E_UNEXPECTED;
    return Commit();
  }

  HRESULT STDMETHODCALLTYPE SaveAs(LPCWSTR pszPath) override {
    std::string path = ToAnsi(pszPath);
    if (path.empty() || path.size() >= MAX_PATH) return E_INVALIDARG;
    if ((int)m_info.items.size() != m_itemCount) return E_UNEXPECTED;  // fewer added than announced
    JoinEntries();
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
    WCHAR maker[129] = {};
    memcpy(maker, p->szMaker, sizeof p->szMaker);
    if (maker[0]) m_info.maker = ToAnsi(maker);
    // The model record: grade code, NUL, model name, NUL, ...
    WCHAR record[129] = {};
    memcpy(record, p->szModelRecord, sizeof p->szModelRecord);
    const size_t grade = wcsnlen(record, 128);
    if (grade < 127 && record[grade + 1]) m_info.model = ToAnsi(record + grade + 1);
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
    m_streams.clear();
    m_records.clear();
    m_path.clear();
    m_bOpen = false;
    m_rewrite = false;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE SetOutputPath(LPCWSTR pszPath) override {
    std::vector<std::string> one = vxcont::SplitPaths(ToAnsi(pszPath));
    if (one.size() != 1 || !vxcont::IsContentPath(one[0].c_str())) return E_INVALIDARG;
    m_path = one[0];
    m_rewrite = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetOutputPath(LPWSTR pszPath, int cch) override {
    if (!pszPath || cch <= 0) return E_POINTER;
    if (m_path.empty()) return E_UNEXPECTED;
    std::wstring w = Wide(m_path);
    if ((int)w.size() >= cch) return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    lstrcpyW(pszPath, w.c_str());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetStreamCount(int n) override { return Resize(&m_streams, n); }
  HRESULT STDMETHODCALLTYPE SetStream(int i, const CLIPFACTS_ENTRY* p) override { return Put(&m_streams, i, p); }
  HRESULT STDMETHODCALLTYPE SetRecordCount(int n) override { return Resize(&m_records, n); }
  HRESULT STDMETHODCALLTYPE SetRecord(int i, const CLIPFACTS_ENTRY* p) override { return Put(&m_records, i, p); }
  HRESULT STDMETHODCALLTYPE SetPrivateData(const CLIPFACTS_PRIVATE* p) override {
    if (!p) return E_POINTER;
    if (p->cbData > vxcont::kMaxMakerData) return E_INVALIDARG;
    m_info.makerDataTag = p->dwTag;
    m_info.makerData.assign(reinterpret_cast<const char*>(p->data), p->cbData);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Commit() override {
    if (m_path.empty()) return E_UNEXPECTED;
    for (const std::vector<Entry>* list : {&m_streams, &m_records})
      for (const Entry& e : *list)
        if (e.name.empty()) return E_UNEXPECTED;
    JoinEntries();
    // The file that was opened is rewritten in place; a new one never lands on another file.
    if (m_rewrite) return vxcont::WriteContentFile(m_path.c_str(), m_info);
    std::string text = vxcont::SerializeContent(m_info);
    DWORD e = safecopy::WriteFileVerified(m_path, text.data(), text.size());
    return e ? HRESULT_FROM_WIN32(e) : S_OK;
  }

  virtual ~ClipFacts() {}

 private:
  // The members as streams (the first ones, or those that are not companions) and records.
  void SplitEntries() {
    m_streams.clear();
    m_records.clear();
    const size_t n = m_info.members.size();
    for (size_t i = 0; i < n; ++i) {
      Entry e;
      e.name = m_info.members[i];
      if (i < m_info.memberFacts.size()) {
        e.size = m_info.memberFacts[i].size;
        e.lastWrite = m_info.memberFacts[i].lastWrite;
      }
      const bool stream = m_info.streams >= 0 ? (int)i < m_info.streams : !IsCompanionName(e.name);
      if (!stream) e.kind = textkit::EqualNoCase(textkit::ExtensionOf(e.name), ".iis") ? CLIPFACTS_RECORD_STILL : 0;
      (stream ? m_streams : m_records).push_back(e);
    }
  }
  void JoinEntries() {
    m_info.members.clear();
    m_info.memberFacts.clear();
    for (const std::vector<Entry>* list : {&m_streams, &m_records})
      for (const Entry& e : *list) {
        m_info.members.push_back(e.name);
        vxcont::ContentInfo::MemberFacts f;
        f.size = e.size;
        f.lastWrite = e.lastWrite;
        m_info.memberFacts.push_back(f);
      }
    m_info.streams = m_info.members.empty() ? -1 : (int)m_streams.size();
    // Entries read from a file that had no sizes and times keep having none.
    bool known = false;
    for (const vxcont::ContentInfo::MemberFacts& f : m_info.memberFacts)
      known = known || f.size || f.lastWrite.dwLowDateTime || f.lastWrite.dwHighDateTime;
    if (!known) m_info.memberFacts.clear();
  }
  static HRESULT Count(const std::vector<Entry>& list, int* pn) {
    if (!pn) return E_POINTER;
    *pn = (int)list.size();
    return S_OK;
  }
  static HRESULT Get(const std::vector<Entry>& list, int i, CLIPFACTS_ENTRY* p) {
    if (!p) return E_POINTER;
    if (i < 0 || i >= (int)list.size()) return E_INVALIDARG;
    ZeroMemory(p, sizeof *p);
    p->dwKind = list[i].kind;
    p->ullSize = list[i].size;
    p->ftLastWrite = list[i].lastWrite;
    ToWide(list[i].name, p->szName, MAX_PATH);
    return S_OK;
  }
  static HRESULT Resize(std::vector<Entry>* list, int n) {
    if (n < 0 || n > kMaxEntries) return E_INVALIDARG;
    list->resize(n);
    return S_OK;
  }
  static HRESULT Put(std::vector<Entry>* list, int i, const CLIPFACTS_ENTRY* p) {
    if (!p) return E_POINTER;
    if (i < 0 || i >= (int)list->size()) return E_INVALIDARG;
    WCHAR name[MAX_PATH + 1] = {};
    memcpy(name, p->szName, sizeof p->szName);
    std::string a = ToAnsi(name);
    // An entry names a file beside the content file, never one elsewhere.
    if (!textkit::IsValidFileName(a)) return E_INVALIDARG;
    Entry& e = (*list)[i];
    e.kind = p->dwKind;
    e.size = p->ullSize;
    e.lastWrite = p->ftLastWrite;
    e.name = a;
    return S_OK;
  }

  bool m_rewrite = false;  // Commit rewrites the file that was opened
  std::vector<Entry> m_streams, m_records;
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
