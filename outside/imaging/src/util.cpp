// COM scope, file reading and replacing writes.
#include <cstring>

#include "imaging/com.h"
#include "imaging/encode.h"
#include "internal.h"

namespace imaging {

ComScope::ComScope() {
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  owned_ = SUCCEEDED(hr);  // S_OK or S_FALSE: one CoUninitialize owed
  ok_ = owned_ || hr == RPC_E_CHANGED_MODE;
}

ComScope::~ComScope() {
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

HRESULT FileReader::Open(const char* path) {
  if (!path || !*path) return E_INVALIDARG;
  file_ = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr);
  if (file_ == INVALID_HANDLE_VALUE) return HrFromLastError();
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file_, &size)) return HrFromLastError();
  size_ = uint64_t(size.QuadPart);
  return S_OK;
}

bool FileReader::Read(uint64_t pos, void* dst, size_t n) const {
  if (file_ == INVALID_HANDLE_VALUE || pos > size_ || n > size_ - pos) return false;
  uint8_t* p = static_cast<uint8_t*>(dst);
  while (n) {
    OVERLAPPED ov = {};
    ov.Offset = DWORD(pos);
    ov.OffsetHigh = DWORD(pos >> 32);
    DWORD chunk = n > (1u << 30) ? (1u << 30) : DWORD(n), got = 0;
    if (!ReadFile(file_, p, chunk, &got, &ov) || got == 0) return false;
    p += got;
    pos += got;
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
  HRESULT hr = f.Open(path);
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
  return CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                          factory->PutVoid());
}

}  // namespace detail

HRESULT WriteFileReplacing(const char* path, const void* data, size_t size) {
  if (!path || !*path || (!data && size)) return E_INVALIDARG;
  std::string dir = textkit::FolderPartOf(path);
  if (dir.empty()) dir = ".";
  char temp[MAX_PATH];
  if (!GetTempFileNameA(dir.c_str(), "gim", 0, temp)) return detail::HrFromLastError();
  HANDLE f = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) {
    HRESULT hr = detail::HrFromLastError();
    DeleteFileA(temp);
    return hr;
  }
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
  HRESULT hr = ok ? S_OK : detail::HrFromLastError();
  CloseHandle(f);
  if (SUCCEEDED(hr) &&
      !MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH))
    hr = detail::HrFromLastError();
  if (FAILED(hr)) DeleteFileA(temp);
  return hr;
}

}  // namespace imaging
