// The reader, and the one-call facts and frame of a movie and facts of music.
#include <memory>
#include <new>

#include "decoder.h"
#include "music.h"

namespace moviekit {

namespace {

class ReaderImpl : public Reader {
 public:
  Decoder decoder;
  const MovieFacts& Facts() const override { return decoder.Facts(); }
  HRESULT Seek(double seconds) override { return decoder.Seek(seconds); }
  HRESULT NextFrame(int maxWidth, int maxHeight, Frame* out) override {
    if (!out) return E_POINTER;
    *out = Frame();
    double t = 0;
    switch (decoder.Decode(&t)) {
      case Decoded::Picture: break;
      case Decoded::End: return S_FALSE;
      default: return decoder.LastError();
    }
    HRESULT hr = decoder.PictureToFrame(maxWidth, maxHeight, out);
    if (SUCCEEDED(hr)) out->seconds = t;
    return hr;
  }
  void Release() override { delete this; }
};

}  // namespace

void FreeFrame(Frame* frame) {
  if (!frame) return;
  if (frame->bits) HeapFree(GetProcessHeap(), 0, frame->bits);
  *frame = Frame();
}

HRESULT OpenReader(const char* path, Reader** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  auto* reader = new (std::nothrow) ReaderImpl;
  if (!reader) return E_OUTOFMEMORY;
  HRESULT hr = reader->decoder.Open(path, false);
  if (FAILED(hr)) {
    reader->Release();
    return hr;
  }
  *out = reader;
  return S_OK;
}

HRESULT ReadFacts(const char* path, MovieFacts* out) {
  if (!out) return E_POINTER;
  *out = MovieFacts();
  Decoder decoder;
  HRESULT hr = decoder.Open(path, false);
  // Sound alone is a movie file too as far as its facts go.
  if (SUCCEEDED(hr) || (hr == kErrorNoVideo && decoder.Facts().hasAudio)) {
    *out = decoder.Facts();
    return S_OK;
  }
  return hr;
}

HRESULT ReadMusicFacts(const char* path, MusicFacts* out) { return ReadMusicFactsWithin(path, kMusicFactsMillis, out); }

HRESULT ReadFrame(const char* path, double seconds, int maxWidth, int maxHeight, Frame* out) {
  if (!out) return E_POINTER;
  *out = Frame();
  Reader* reader = nullptr;
  HRESULT hr = OpenReader(path, &reader);
  if (FAILED(hr)) return hr;
  if (seconds > 0) hr = reader->Seek(seconds);
  if (SUCCEEDED(hr)) hr = reader->NextFrame(maxWidth, maxHeight, out);
  // A time past the end, or a stream cut before its first whole picture.
  if (hr == S_FALSE) hr = kErrorDecode;
  reader->Release();
  return hr;
}

HBITMAP ReadPicture(const char* path, double seconds, int maxWidth, int maxHeight) {
  Frame f;
  if (FAILED(ReadFrame(path, seconds, maxWidth, maxHeight, &f))) return nullptr;
  BITMAPINFO info = {};
  info.bmiHeader = f.header;
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, &f.header, CBM_INIT, f.bits, &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  FreeFrame(&f);
  return bitmap;
}

}  // namespace moviekit
