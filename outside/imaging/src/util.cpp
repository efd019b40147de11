// COM scope, file reading and replacing writes.
#include <algorithm>
#include <cstring>

#include "imaging/com.h"
#include "imaging/encode.h"
#include "internal.h"

namespace imaging {

namespace {
// ComScopes open on this thread, and the WIC factory they share: creating one costs a
// round trip through COM each time, and a decoder thread asks for thousands.
thread_local int t_comDepth = 0;
thread_local IWICImagingFactory* t_wicFactory = nullptr;
}  // namespace

ComScope::ComScope() {
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  owned_ = SUCCEEDED(hr);  // S_OK or S_FALSE: one CoUninitialize owed
  ok_ = owned_ || hr == RPC_E_CHANGED_MODE;
  if (ok_) ++t_comDepth;
}

ComScope::~ComScope() {
  // The shared factory goes before the thread's last CoUninitialize.
  if (ok_ && --t_comDepth == 0 && t_wicFactory) {
    t_wicFactory->Release();
    t_wicFactory = nullptr;
  }
  if (owned_) CoUninitialize();
}

bool MemorySource::Read(uint64_t pos, void* dst, size_t n) const {
  if (pos > size_ || n > size_ - pos) return false;
  if (n) memcpy(dst, data_ + pos, n);
  return true;
}

namespace detail {

HRESULT HrFromLastError() {
  DWORD e = GetLastError();
  return e ? HRESULT_FROM_WIN32(e) : E_FAIL;
}

FileReader::~FileReader() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

HRESULT FileReader::Open(const char* path, size_t headBytes) {
  if (!path || !*path) return E_INVALIDARG;
  file_ = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr);
  if (file_ == INVALID_HANDLE_VALUE) return HrFromLastError();
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file_, &size)) return HrFromLastError();
  size_ = uint64_t(size.QuadPart);
  size_t want = size_t(std::min<uint64_t>(size_, headBytes));
  if (want) {
    head_.resize(want);
    DWORD got = 0;
    if (!ReadFile(file_, head_.data(), DWORD(want), &got, nullptr)) got = 0;
    head_.resize(got);  // a short read leaves the rest to Read
    filePos_ = got;
  }
  return S_OK;
}

bool FileReader::Read(uint64_t pos, void* dst, size_t n) const {
  if (file_ == INVALID_HANDLE_VALUE || pos > size_ || n > size_ - pos) return false;
  uint8_t* p = static_cast<uint8_t*>(dst);
  if (pos < head_.size()) {
    size_t inHead = size_t(std::min<uint64_t>(n, head_.size() - pos));
    memcpy(p, head_.data() + pos, inHead);
    p += inHead;
    pos += inHead;
    n -= inHead;
  }
  if (n && pos != filePos_) {
    LARGE_INTEGER at;
    at.QuadPart = LONGLONG(pos);
    if (!SetFilePointerEx(file_, at, nullptr, FILE_BEGIN)) return false;
    filePos_ = pos;
  }
  while (n) {
    DWORD chunk = n > (1u << 30) ? (1u << 30) : DWORD(n), got = 0;
    if (!ReadFile(file_, p, chunk, &got, nullptr) || got == 0) {
      filePos_ = UINT64_MAX;  // unknown: seek before the next read
      return false;
    }
    p += got;
    filePos_ += got;
    n -= got;
  }
  return true;
}

bool SubSource::Read(uint64_t pos, void* dst, size_t n) const {
  if (pos > size_ || n > size_ - pos) return false;
  return parent_.Read(base_ + pos, dst, n);
}

HRESULT ReadWholeFile(const char* path, std::vector<uint8_t>* out, uint64_t maxSize) {
  FileReader f;
  HRESULT hr = f.Open(path, 0);
  if (FAILED(hr)) return hr;
  if (f.Size() > maxSize) return E_OUTOFMEMORY;
  try {
    out->resize(size_t(f.Size()));
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return f.Read(0, out->data(), out->size()) ? S_OK : E_FAIL;
}

bool AppendRange(const ByteSource& src, uint64_t pos, uint64_t n, std::vector<uint8_t>* out) {
  if (pos > src.Size() || n > src.Size() - pos) return false;
  size_t at = out->size();
  out->resize(at + size_t(n));
  return src.Read(pos, out->data() + at, size_t(n));
}

HRESULT CreateWicFactory(ComPtr<IWICImagingFactory>* factory) {
  if (t_comDepth == 0)
    return CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                            factory->PutVoid());
  if (!t_wicFactory) {
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(&t_wicFactory));
    if (FAILED(hr)) {
      t_wicFactory = nullptr;
      return hr;
    }
  }
  t_wicFactory->AddRef();
  factory->Attach(t_wicFactory);
  return S_OK;
}

HRESULT WriteAndFlush(const char* path, const void* data, size_t size, DWORD attributes) {
  HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
  if (f == INVALID_HANDLE_VALUE) return HrFromLastError();
  const uint8_t* p = static_cast<const uint8_t*>(data);
  size_t left = size;
  bool ok = true;
  while (ok && left) {
    DWORD chunk = left > (1u << 30) ? (1u << 30) : DWORD(left), done = 0;
    ok = WriteFile(f, p, chunk, &done, nullptr) && done == chunk;
    p += done;
    left -= done;
  }
  // On the medium before it replaces the old file: a card may be pulled right after.
  if (ok) ok = FlushFileBuffers(f) != FALSE;
  HRESULT hr = ok ? S_OK : HrFromLastError();
  CloseHandle(f);
  return hr;
}

}  // namespace detail

HRESULT WriteFileReplacing(const char* path, const void* data, size_t size) {
  if (!path || !*path || (!data && size)) return E_INVALIDARG;
  std::string dir = textkit::FolderPartOf(path);
  if (dir.empty()) dir = ".";
  char temp[MAX_PATH];
  if (!GetTempFileNameA(dir.c_str(), "gim", 0, temp)) return detail::HrFromLastError();
  HRESULT hr = detail::WriteAndFlush(temp, data, size, FILE_ATTRIBUTE_NORMAL);
  if (SUCCEEDED(hr) &&
      !MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH))
    hr = detail::HrFromLastError();
  if (FAILED(hr)) DeleteFileA(temp);
  return hr;
}

}  // namespace imaging
