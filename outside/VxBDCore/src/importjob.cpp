#include <VxBDDisc.h>

#include <safecopy/SafeCopy.h>
#include <textkit/text.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <new>
#include <thread>
#include <vector>

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The clip's thumbnail: its part's picture at 160 pixels wide (or 120 high), as the
// integrator paints it.
std::vector<BYTE> PartThumbnail(IVxBDIntegrator* core, int hList, int nTitle, int nPart, const VxBDPart& part) {
  int w = 160, h = 120;
  if (part.width > 0 && part.height > 0) {
    if (part.width * 3 >= part.height * 4)
      h = std::max(1, 160 * part.height / part.width);
    else
      w = std::max(1, 120 * part.width / part.height);
  }
  const int stride = (w * 3 + 3) & ~3;
  std::vector<BYTE> dib(sizeof(BITMAPINFOHEADER) + static_cast<size_t>(stride) * h);
  auto* bih = reinterpret_cast<BITMAPINFOHEADER*>(dib.data());
  bih->biSize = sizeof(BITMAPINFOHEADER);
  bih->biWidth = w;
  bih->biHeight = h;
  bih->biPlanes = 1;
  bih->biBitCount = 24;
  bih->biSizeImage = static_cast<DWORD>(stride) * h;
  if (core->GetPartThumbnail(hList, nTitle, nPart, bih) < 0) return {};
  return dib;
}

class ImportJob final : public IVxBDImportJob {
 public:
  ImportJob(IVxBDIntegrator* core, VxBDTitleLookup lookup) : core_(core), lookup_(std::move(lookup)) {}

  long QueryInterface(REFIID, void** ppv) override {
    if (ppv) *ppv = NULL;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++ref_; }
  ULONG Release() override {
    const LONG n = --ref_;
    if (n == 0) delete this;
    return n;
  }
  long Reset() override {
    if (Running()) return E_ACCESSDENIED;
    Join();
    SetSinkRef(nullptr);
    hList_ = nTitle_ = -1;
    folder_.clear();
    result_ = 0;
    progress_ = 0;
    stop_ = 0;
    return 0;
  }
  long SetSink(IVxBDClipSink* sink) override {
    if (Running()) return E_ACCESSDENIED;
    SetSinkRef(sink);
    return 0;
  }
  long SetItem(int hList, int nTitle, LPCWSTR pszFolder, int) override {
    if (Running()) return E_ACCESSDENIED;
    if (!pszFolder || !*pszFolder) return E_POINTER;
    VxBDTitle title;
    if (!lookup_(hList, nTitle, &title)) return E_INVALIDARG;
    std::string folder = textkit::WideToAnsi(pszFolder);
    while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    if (folder.empty() || folder.size() >= MAX_PATH) return E_INVALIDARG;
    hList_ = hList;
    nTitle_ = nTitle;
    title_ = title;
    folder_ = folder;
    return 0;
  }
  long Start() override {
    if (Running()) return E_ACCESSDENIED;
    if (folder_.empty() || !sink_) return E_UNEXPECTED;
    Join();
    result_ = 0;
    progress_ = 0;
    stop_ = 0;
    done_ = 0;
    thread_ = std::thread([this] {
      result_ = Work();
      done_ = 1;
    });
    return 0;
  }
  long Abort() override {
    stop_ = 1;
    return 0;
  }
  long GetProgress(double* p) override {
    if (!p) return E_POINTER;
    *p = progress_.load();
    return 0;
  }
  long Wait(int ms, long* pResult) override {
    if (pResult) *pResult = 0;
    if (!thread_.joinable()) {
      if (pResult) *pResult = result_;
      return 0;
    }
    const DWORD until = GetTickCount() + static_cast<DWORD>(ms < 0 ? 0 : ms);
    while (!done_) {
      if (ms >= 0 && static_cast<LONG>(GetTickCount() - until) >= 0) return VXBD_WAIT_RUNNING;
      Sleep(ms >= 0 && ms < 10 ? ms : 10);
    }
    Join();
    if (pResult) *pResult = result_;
    return 0;
  }

 private:
  ~ImportJob() {
    stop_ = 1;
    Join();
    SetSinkRef(nullptr);
  }
  bool Running() const { return thread_.joinable() && !done_; }
  void Join() {
    if (thread_.joinable()) thread_.join();
  }
  void SetSinkRef(IVxBDClipSink* sink) {
    // The caller added the reference this job keeps.
    if (sink_) sink_->Release();
    sink_ = sink;
  }

  // Every part in turn: its stream copied under a free base name, then its companion
  // files through the sink. A failure or stop removes every file of the title.
  long Work() {
    std::vector<std::string> made;
    long r = CopyTitle(&made);
    if (r == 0 && stop_) r = HRESULT_FROM_WIN32(ERROR_CANCELLED);
    if (r != 0)
      for (auto it = made.rbegin(); it != made.rend(); ++it) {
        SetFileAttributesA(it->c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(it->c_str());
      }
    else
      progress_ = 100.0;
    return r;
  }

  long CopyTitle(std::vector<std::string>* made) {
    if (DWORD e = safecopy::MakeFolderPath(folder_)) return HRESULT_FROM_WIN32(e);
    safecopy::RemoveCopyTemporaries(folder_);
    const size_t parts = title_.parts.size();
    for (size_t p = 0; p < parts; ++p) {
      if (stop_) return HRESULT_FROM_WIN32(ERROR_CANCELLED);
      const VxBDPart& part = title_.parts[p];
      if (part.streamPath.empty()) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
      const std::string name = part.streamName;
      const size_t dot = name.find_last_of('.');
      const std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
      const std::string base = VxBDFreeClipBase(folder_, name.substr(0, dot), ext);
      if (base.empty()) return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
      const std::string target = folder_ + "\\" + base + ext;
      DWORD e = safecopy::CopyFileVerified(part.streamPath, target, &stop_, nullptr);
      if (e) return HRESULT_FROM_WIN32(e);
      made->push_back(target);
      // Only what the sink says it wrote is ours to remove: a commit that failed removed its
      // own files, and a name someone took meanwhile stays theirs.
      if (long r = WriteCompanions(static_cast<int>(p), part, target, made)) return r;
      progress_ = 100.0 * static_cast<double>(p + 1) / static_cast<double>(parts);
    }
    return 0;
  }

  long WriteCompanions(int nPart, const VxBDPart& part, const std::string& stream, std::vector<std::string>* made) {
    HRESULT hr = sink_->Begin();
    if (FAILED(hr)) return hr;
    VXBDCLIPSOURCES src = {};
    const std::wstring path = textkit::AnsiToWide(stream);
    src.nFiles = 1;
    src.apszFiles[0] = path.c_str();
    src.wMakerCode = title_.makerId;
    src.wModelCode = title_.modelCode;
    src.wStillValue = static_cast<WORD>(part.tvSystem);
    src.stRecorded = part.recorded;
    if (FAILED(hr = sink_->SetSourceFiles(&src))) return hr;
    VXBDCLIPINFO info = {};
    info.stRecorded = part.recorded;
    info.nWidth = part.width;
    info.nHeight = part.height;
    info.nTvSystem = part.tvSystem;
    info.nFrameRate = part.tvSystem ? 25000 : 29970;
    info.nAspect = part.width * 3 > part.height * 4 ? 1 : 0;
    if (FAILED(hr = sink_->SetClipInfo(&info))) return hr;
    VXBDSTREAMINFO streams = {1, 0x1B, 0x81, 2, 48000};  // H.264 video, AC-3 sound
    if (FAILED(hr = sink_->SetStreamInfo(&streams))) return hr;
    const WORD maker[2] = {title_.makerId, title_.modelCode};
    if (FAILED(hr = sink_->SetPrivateData(0x10000100, maker, sizeof maker))) return hr;
    std::vector<BYTE> dib = PartThumbnail(core_, hList_, nTitle_, nPart, part);
    if (dib.empty()) return E_FAIL;
    if (FAILED(hr = sink_->SetThumbnail(reinterpret_cast<const BITMAPINFOHEADER*>(dib.data())))) return hr;
    VXBDSTILLTIME when = {part.recorded.wYear,
                          static_cast<BYTE>(part.recorded.wMonth),
                          static_cast<BYTE>(part.recorded.wDay),
                          static_cast<BYTE>(part.recorded.wHour),
                          static_cast<BYTE>(part.recorded.wMinute),
                          static_cast<BYTE>(part.recorded.wSecond),
                          0};
    if (FAILED(hr = sink_->SetStillTime(&when, 0, 0))) return hr;
    int files = 0;
    if (FAILED(hr = sink_->Commit(&files))) return hr;
    std::vector<std::wstring> names(files > 0 && files <= 8 ? files : 0, std::wstring(MAX_PATH, L'\0'));
    std::vector<LPWSTR> slots;
    for (std::wstring& n : names) slots.push_back(&n[0]);
    if (!slots.empty() && SUCCEEDED(sink_->GetFileNames(slots.data(), static_cast<int>(slots.size()))))
      for (LPWSTR n : slots) made->push_back(textkit::WideToAnsi(n));
    return 0;
  }

  IVxBDIntegrator* core_;
  VxBDTitleLookup lookup_;
  std::atomic<LONG> ref_{1};
  IVxBDClipSink* sink_ = nullptr;
  int hList_ = -1, nTitle_ = -1;
  VxBDTitle title_;
  std::string folder_;
  std::thread thread_;
  std::atomic<int> stop_{0}, done_{0};
  std::atomic<double> progress_{0};
  long result_ = 0;
};

}  // namespace

std::string VxBDFreeClipBase(const std::string& folder, const std::string& base, const std::string& streamExt) {
  for (int n = 1; n <= safecopy::kMaxCopyNumber; ++n) {
    const std::string b = VxBDClipBaseName(base, n);
    bool free = true;
    for (const std::string& ext : {streamExt, std::string(".cont"), std::string(".tmb"), std::string(".iis")})
      free = free && !Exists(folder + "\\" + b + ext);
    if (free) return b;
  }
  return std::string();
}

IVxBDImportJob* VxBDNewImportJob(IVxBDIntegrator* integrator, VxBDTitleLookup lookup) {
  return new (std::nothrow) ImportJob(integrator, std::move(lookup));
}
