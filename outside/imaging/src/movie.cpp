// Movie frames through the movie kit; what it cannot read (ASF, WMV) through a DirectShow
// graph with a sample grabber, on a worker thread the caller waits for with a timeout.
#include "imaging/movie.h"

#include <dshow.h>
#include <qedit.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "imaging/com.h"
#include "imaging/transform.h"
#include "internal.h"
#include "moviekit/moviekit.h"
#include "textkit/path.h"
#include "textkit/text.h"

namespace imaging {

using detail::ComPtr;

namespace {

// qedit's sample grabber and null renderer (not in the MinGW import libraries).
const CLSID kClsidSampleGrabber = {0xC1F400A0, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
const CLSID kClsidNullRenderer = {0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};

// Shared by the caller and the worker; the last one to let go frees it.
struct GrabJob {
  std::string path;
  double atSeconds = -1;
  DWORD timeoutMs = 0;
  HANDLE done = nullptr;
  HRESULT hr = E_FAIL;
  Dib frame;
  MovieInfo info;
  ~GrabJob() {
    if (done) CloseHandle(done);
  }
};

HRESULT FreeMediaType(AM_MEDIA_TYPE* mt) {
  if (mt->cbFormat) CoTaskMemFree(mt->pbFormat);
  if (mt->pUnk) mt->pUnk->Release();
  mt->pbFormat = nullptr;
  mt->cbFormat = 0;
  mt->pUnk = nullptr;
  return S_OK;
}

// The first pin of a direction that is still free.
HRESULT FreePin(IBaseFilter* filter, PIN_DIRECTION direction, ComPtr<IPin>* out) {
  ComPtr<IEnumPins> pins;
  HRESULT hr = filter->EnumPins(pins.Put());
  if (FAILED(hr)) return hr;
  ComPtr<IPin> pin;
  while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
    PIN_DIRECTION d;
    ComPtr<IPin> peer;
    pin->ConnectedTo(peer.Put());
    if (SUCCEEDED(pin->QueryDirection(&d)) && d == direction && !peer) {
      out->Attach(pin.Get());
      pin.Get()->AddRef();
      return S_OK;
    }
  }
  return VFW_E_NOT_FOUND;
}

HRESULT Grab(GrabJob* job) {
  ComPtr<IGraphBuilder> graph;
  ComPtr<IBaseFilter> grabberFilter, nullRenderer, source;
  ComPtr<ISampleGrabber> grabber;
  HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.PutVoid());
  if (SUCCEEDED(hr))
    hr = CoCreateInstance(kClsidSampleGrabber, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                          grabberFilter.PutVoid());
  if (SUCCEEDED(hr)) hr = grabberFilter->QueryInterface(IID_ISampleGrabber, grabber.PutVoid());
  if (SUCCEEDED(hr))
    hr = CoCreateInstance(kClsidNullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                          nullRenderer.PutVoid());
  if (FAILED(hr)) return hr;
  AM_MEDIA_TYPE want = {};
  want.majortype = MEDIATYPE_Video;
  want.subtype = MEDIASUBTYPE_RGB24;
  want.formattype = FORMAT_VideoInfo;
  hr = grabber->SetMediaType(&want);
  if (SUCCEEDED(hr)) hr = graph->AddFilter(grabberFilter.Get(), L"Grabber");
  if (SUCCEEDED(hr)) hr = graph->AddFilter(nullRenderer.Get(), L"Null");
  std::wstring path = textkit::AnsiToWide(job->path);
  if (SUCCEEDED(hr)) hr = graph->AddSourceFilter(path.c_str(), L"Source", source.Put());
  if (FAILED(hr)) return hr;
  // The first output of the source that reaches the grabber (decoders come in between).
  ComPtr<IPin> grabberIn, grabberOut, rendererIn;
  hr = FreePin(grabberFilter.Get(), PINDIR_INPUT, &grabberIn);
  if (FAILED(hr)) return hr;
  bool connected = false;
  {
    ComPtr<IEnumPins> pins;
    hr = source->EnumPins(pins.Put());
    if (FAILED(hr)) return hr;
    ComPtr<IPin> pin;
    while (!connected && pins->Next(1, pin.Put(), nullptr) == S_OK) {
      PIN_DIRECTION d;
      if (SUCCEEDED(pin->QueryDirection(&d)) && d == PINDIR_OUTPUT)
        connected = SUCCEEDED(graph->Connect(pin.Get(), grabberIn.Get()));
    }
  }
  if (!connected) return VFW_E_CANNOT_RENDER;
  hr = FreePin(grabberFilter.Get(), PINDIR_OUTPUT, &grabberOut);
  if (SUCCEEDED(hr)) hr = FreePin(nullRenderer.Get(), PINDIR_INPUT, &rendererIn);
  if (SUCCEEDED(hr)) hr = graph->Connect(grabberOut.Get(), rendererIn.Get());
  if (FAILED(hr)) return hr;

  AM_MEDIA_TYPE mt = {};
  hr = grabber->GetConnectedMediaType(&mt);
  if (FAILED(hr)) return hr;
  BITMAPINFOHEADER header = {};
  if (mt.formattype == FORMAT_VideoInfo && mt.pbFormat && mt.cbFormat >= sizeof(VIDEOINFOHEADER))
    header = reinterpret_cast<VIDEOINFOHEADER*>(mt.pbFormat)->bmiHeader;
  FreeMediaType(&mt);
  if (header.biWidth <= 0 || header.biHeight == 0 || header.biBitCount != 24) return VFW_E_INVALIDMEDIATYPE;
  job->info.width = header.biWidth;
  job->info.height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  grabber->SetBufferSamples(TRUE);
  grabber->SetOneShot(FALSE);

  ComPtr<IMediaSeeking> seeking;
  ComPtr<IMediaControl> control;
  if (SUCCEEDED(graph->QueryInterface(IID_IMediaSeeking, seeking.PutVoid()))) {
    LONGLONG duration = 0;
    if (SUCCEEDED(seeking->GetDuration(&duration)) && duration > 0) job->info.durationSeconds = duration / 1e7;
    double at = job->atSeconds;
    if (at < 0) at = std::min(job->info.durationSeconds / 3, 10.0);
    LONGLONG pos = LONGLONG(at * 1e7);
    if (pos > 0) seeking->SetPositions(&pos, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
  }
  hr = graph->QueryInterface(IID_IMediaControl, control.PutVoid());
  if (FAILED(hr)) return hr;
  // Paused, the renderer holds the first frame at the position: the grabber keeps a copy.
  hr = control->Pause();
  OAFilterState state = State_Stopped;
  if (SUCCEEDED(hr)) hr = control->GetState(LONG(job->timeoutMs), &state);
  if (hr == VFW_S_STATE_INTERMEDIATE || hr == S_FALSE) hr = HRESULT_FROM_WIN32(ERROR_TIMEOUT);
  if (SUCCEEDED(hr)) {
    long size = 0;
    hr = grabber->GetCurrentBuffer(&size, nullptr);
    if (SUCCEEDED(hr) && size > 0) {
      std::vector<uint8_t> bits(size_t(size) + 4);
      hr = grabber->GetCurrentBuffer(&size, reinterpret_cast<long*>(bits.data()));
      int stride = ((header.biWidth * 24 + 31) / 32) * 4;
      if (SUCCEEDED(hr) && size_t(size) >= size_t(stride) * job->info.height) {
        header.biCompression = BI_RGB;
        header.biSizeImage = 0;
        BITMAPINFO info = {};
        info.bmiHeader = header;
        if (!job->frame.Assign(&info, bits.data(), 24)) hr = E_OUTOFMEMORY;
      } else if (SUCCEEDED(hr)) {
        hr = VFW_E_BUFFER_UNDERFLOW;
      }
    } else if (SUCCEEDED(hr)) {
      hr = VFW_E_WRONG_STATE;
    }
  }
  control->Stop();
  return hr;
}

// MPEG-TS (AVCHD scenes, disc streams): Wine's DirectShow fails on them, so the kit reads them first.
bool IsTransportStream(const char* path) {
  static const char* const kinds[] = {".mts", ".m2ts", ".m2t", ".ts", ".tod"};
  std::string ext = textkit::ExtensionOf(path);
  for (const char* k : kinds)
    if (textkit::EqualNoCase(ext, k)) return true;
  return false;
}

HRESULT GrabWithMovieKit(const char* path, double atSeconds, Dib* out, MovieInfo* info) {
  moviekit::MovieFacts facts;
  HRESULT hr = moviekit::ReadFacts(path, &facts);
  if (FAILED(hr)) return hr;
  if (!facts.hasVideo) return VFW_E_CANNOT_RENDER;
  double at = atSeconds >= 0 ? atSeconds : std::min(facts.durationSeconds / 3, 10.0);
  moviekit::Frame frame;
  hr = moviekit::ReadFrame(path, at, 0, 0, &frame);
  // A time the stream cannot reach (cut short): its first picture then.
  if (FAILED(hr) && at > 0) hr = moviekit::ReadFrame(path, 0, 0, 0, &frame);
  if (FAILED(hr)) return hr;
  BITMAPINFO bmi = {};
  bmi.bmiHeader = frame.header;
  bool ok = out->Assign(&bmi, frame.bits, 24);
  moviekit::FreeFrame(&frame);
  if (!ok) return E_OUTOFMEMORY;
  info->width = facts.width;
  info->height = facts.height;
  info->durationSeconds = facts.durationSeconds;
  return S_OK;
}

// The kit first: under Wine every DirectShow graph that decodes leaves about 1.5 MB behind
// after all of its objects are released. DirectShow reads what the kit cannot (ASF, WMV);
// MPEG-TS it fails on.
void Worker(std::shared_ptr<GrabJob> job) {
  job->hr = GrabWithMovieKit(job->path.c_str(), job->atSeconds, &job->frame, &job->info);
  if (FAILED(job->hr) && !IsTransportStream(job->path.c_str())) {
    ComScope com;
    job->hr = com.Ok() ? Grab(job.get()) : CO_E_NOTINITIALIZED;
  }
  SetEvent(job->done);
}

HRESULT GrabOnWorker(const char* path, double atSeconds, DWORD timeoutMs, Dib* out, MovieInfo* info) {
  auto job = std::make_shared<GrabJob>();
  job->path = path;
  job->atSeconds = atSeconds;
  job->timeoutMs = timeoutMs;
  job->done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!job->done) return detail::HrFromLastError();
  try {
    std::thread(Worker, job).detach();
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  if (WaitForSingleObject(job->done, timeoutMs) != WAIT_OBJECT_0) return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
  if (FAILED(job->hr)) return job->hr;
  *out = std::move(job->frame);
  *info = job->info;
  return S_OK;
}

}  // namespace

HRESULT GrabMovieFrame(const char* path, int maxWidth, int maxHeight, Dib* out, MovieInfo* info, DWORD timeoutMs,
                       double atSeconds, int bitCount) {
  if (!path || !*path || !out || maxWidth < 0 || maxHeight < 0 || (bitCount != 24 && bitCount != 32))
    return E_INVALIDARG;
  if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return detail::HrFromLastError();
  Dib frame;
  MovieInfo found;
  HRESULT hr = GrabOnWorker(path, atSeconds, timeoutMs, &frame, &found);
  if (FAILED(hr)) return hr;
  if (maxWidth > 0 && maxHeight > 0) {
    SIZE fit = FitSize(frame.Width(), frame.Height(), maxWidth, maxHeight);
    if ((fit.cx != frame.Width() || fit.cy != frame.Height()) && !Resize(frame, fit.cx, fit.cy, &frame))
      return E_OUTOFMEMORY;
  }
  if (!ConvertBitCount(frame, bitCount, &frame)) return E_OUTOFMEMORY;
  if (info) *info = found;
  *out = std::move(frame);
  return S_OK;
}

}  // namespace imaging
