// A read-only COM stream over bytes it owns, for the decoders that want an IStream.
// Wine's HGLOBAL stream lets a seek go past its end and then reads a negative length
// (a TIFF whose first directory lies past the end of the file ended the process); here
// every read stops at the end.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "internal.h"

namespace imaging {
namespace detail {

namespace {

class ByteStream final : public IStream {
 public:
  ByteStream(std::shared_ptr<const std::vector<uint8_t>> bytes, uint64_t pos) : bytes_(std::move(bytes)), pos_(pos) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ISequentialStream) || IsEqualIID(riid, IID_IStream)) {
      *ppv = static_cast<IStream*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return ULONG(n);
  }

  HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override {
    if (pcbRead) *pcbRead = 0;
    if (!pv && cb) return STG_E_INVALIDPOINTER;
    const uint64_t size = bytes_->size();
    ULONG n = pos_ >= size ? 0 : ULONG(std::min<uint64_t>(cb, size - pos_));
    if (n) memcpy(pv, bytes_->data() + pos_, n);
    pos_ += n;
    if (pcbRead) *pcbRead = n;
    return n == cb ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG* pcbWritten) override {
    if (pcbWritten) *pcbWritten = 0;
    return STG_E_ACCESSDENIED;
  }
  // Any position at or past the start, the end included and beyond it (reads there give
  // nothing); none before the start.
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPos) override {
    int64_t base;
    switch (origin) {
      case STREAM_SEEK_SET: base = 0; break;
      case STREAM_SEEK_CUR: base = int64_t(pos_); break;
      case STREAM_SEEK_END: base = int64_t(bytes_->size()); break;
      default: return STG_E_INVALIDFUNCTION;
    }
    int64_t to = 0;
    if (__builtin_add_overflow(base, move.QuadPart, &to) || to < 0) return STG_E_INVALIDFUNCTION;
    pos_ = uint64_t(to);
    if (newPos) newPos->QuadPart = pos_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
  HRESULT STDMETHODCALLTYPE CopyTo(IStream* to, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                                   ULARGE_INTEGER* pcbWritten) override {
    if (pcbRead) pcbRead->QuadPart = 0;
    if (pcbWritten) pcbWritten->QuadPart = 0;
    if (!to) return STG_E_INVALIDPOINTER;
    const uint64_t size = bytes_->size();
    uint64_t n = pos_ >= size ? 0 : std::min<uint64_t>(cb.QuadPart, size - pos_);
    uint64_t written = 0;
    HRESULT hr = S_OK;
    while (written < n && SUCCEEDED(hr)) {
      ULONG chunk = ULONG(std::min<uint64_t>(n - written, 1u << 20)), done = 0;
      hr = to->Write(bytes_->data() + pos_ + written, chunk, &done);
      written += done;
      if (SUCCEEDED(hr) && done != chunk) hr = STG_E_MEDIUMFULL;
    }
    pos_ += written;
    if (pcbRead) pcbRead->QuadPart = written;
    if (pcbWritten) pcbWritten->QuadPart = written;
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* st, DWORD) override {
    if (!st) return STG_E_INVALIDPOINTER;
    memset(st, 0, sizeof *st);
    st->type = STGTY_STREAM;
    st->cbSize.QuadPart = bytes_->size();
    st->grfMode = STGM_READ;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IStream** out) override {
    if (!out) return STG_E_INVALIDPOINTER;
    *out = new (std::nothrow) ByteStream(bytes_, pos_);
    return *out ? S_OK : E_OUTOFMEMORY;
  }

 private:
  ~ByteStream() = default;
  LONG refs_ = 1;
  std::shared_ptr<const std::vector<uint8_t>> bytes_;
  uint64_t pos_;
};

}  // namespace

HRESULT MakeByteStream(std::vector<uint8_t> bytes, IStream** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  std::shared_ptr<const std::vector<uint8_t>> shared;
  try {
    shared = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  *out = new (std::nothrow) ByteStream(std::move(shared), 0);
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace detail
}  // namespace imaging
