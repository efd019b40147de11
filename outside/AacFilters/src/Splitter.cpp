// The AAC splitter: reads an MP4 or ADTS file through the source's IAsyncReader with the
// movie kit's demuxer and pushes its AAC frames from a thread of its own while it runs.
#include <process.h>

#include <algorithm>
#include <new>

#include <moviekit/moviekit.h>

#include "AacFilters.h"
#include "AacRules.h"
#include "Filters.h"
#include "filterkit.h"

namespace aacfilters {

namespace {

const long kPacketBuffers = 16;
const long kPacketBufferSize = 16 * 1024;  // an AAC frame is at most 6144 bits a channel

// The source's reader as the demuxer's bytes.
class AsyncBytes final : public moviekit::ByteSource {
 public:
  explicit AsyncBytes(IAsyncReader* reader) : reader_(reader) {
    LONGLONG available = 0;
    if (FAILED(reader_->Length(&total_, &available))) total_ = -1;
  }
  HRESULT ReadAt(LONGLONG offset, LONG size, BYTE* out, LONG* got) override {
    *got = 0;
    if (total_ >= 0) {
      if (offset >= total_) return S_OK;
      if (total_ - offset < size) size = LONG(total_ - offset);
    }
    if (size <= 0) return S_OK;
    const HRESULT hr = reader_->SyncRead(offset, size, out);
    if (hr != S_OK) return FAILED(hr) ? hr : S_OK;  // S_FALSE: fewer bytes than asked, count unknown
    *got = size;
    return S_OK;
  }
  LONGLONG Size() override { return total_; }

 private:
  IAsyncReader* reader_;
  LONGLONG total_ = -1;
};

class SplitterFilter;

class SplitterInput : public Pin {
 public:
  SplitterInput(Filter* filter) : Pin(filter, L"Input", PINDIR_INPUT) {}
  ~SplitterInput() override { Close(); }
  moviekit::AudioDemuxer* Demuxer() const { return demuxer_; }

 protected:
  HRESULT CheckType(const AM_MEDIA_TYPE* mt) override { return IsStreamType(*mt) ? S_OK : S_FALSE; }
  // The file is read at connection: what is not AAC sound alone is refused here.
  HRESULT OnConnected(IPin* peer) override {
    HRESULT hr = peer->QueryInterface(IID_IAsyncReader, reinterpret_cast<void**>(&reader_));
    if (FAILED(hr)) return VFW_E_NO_TRANSPORT;
    bytes_ = new (std::nothrow) AsyncBytes(reader_);
    hr = bytes_ ? moviekit::OpenAudioDemuxer(bytes_, "aac", &demuxer_) : E_OUTOFMEMORY;
    if (FAILED(hr)) {
      Close();
      return VFW_E_TYPE_NOT_ACCEPTED;
    }
    return S_OK;
  }
  void OnDisconnected() override { Close(); }

 private:
  void Close();

  IAsyncReader* reader_ = nullptr;
  AsyncBytes* bytes_ = nullptr;
  moviekit::AudioDemuxer* demuxer_ = nullptr;
};

void SplitterInput::Close() {
  if (demuxer_) demuxer_->Release();
  demuxer_ = nullptr;
  delete bytes_;
  bytes_ = nullptr;
  if (reader_) reader_->Release();
  reader_ = nullptr;
}

// The splitter's output is where the graph seeks: the renderer asks the decoder's output,
// which asks here.
class SplitterOutput : public OutputPin, public IMediaSeeking {
 public:
  SplitterOutput(Filter* filter, SplitterFilter* owner, SplitterInput* input)
      : OutputPin(filter, L"Output", kPacketBuffers, kPacketBufferSize),
        owner_(owner),
        input_(input) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (ppv && riid == IID_IMediaSeeking) {
      *ppv = static_cast<IMediaSeeking*>(this);
      AddRef();
      return S_OK;
    }
    return Pin::QueryInterface(riid, ppv);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return Pin::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return Pin::Release(); }

  STDMETHODIMP GetCapabilities(DWORD* pCapabilities) override {
    if (!pCapabilities) return E_POINTER;
    *pCapabilities = kSourceSeekingCaps;
    return S_OK;
  }
  STDMETHODIMP CheckCapabilities(DWORD* pCapabilities) override {
    if (!pCapabilities) return E_POINTER;
    const DWORD asked = *pCapabilities;
    *pCapabilities &= kSourceSeekingCaps;
    return *pCapabilities == asked ? S_OK : *pCapabilities ? S_FALSE : E_FAIL;
  }
  STDMETHODIMP IsFormatSupported(const GUID* pFormat) override {
    if (!pFormat) return E_POINTER;
    return *pFormat == TIME_FORMAT_MEDIA_TIME ? S_OK : S_FALSE;
  }
  STDMETHODIMP QueryPreferredFormat(GUID* pFormat) override { return GetTimeFormat(pFormat); }
  STDMETHODIMP GetTimeFormat(GUID* pFormat) override {
    if (!pFormat) return E_POINTER;
    *pFormat = TIME_FORMAT_MEDIA_TIME;
    return S_OK;
  }
  STDMETHODIMP IsUsingTimeFormat(const GUID* pFormat) override { return IsFormatSupported(pFormat); }
  STDMETHODIMP SetTimeFormat(const GUID* pFormat) override {
    if (!pFormat) return E_POINTER;
    return *pFormat == TIME_FORMAT_MEDIA_TIME ? S_OK : E_INVALIDARG;
  }
  STDMETHODIMP GetDuration(LONGLONG* pDuration) override;
  STDMETHODIMP GetStopPosition(LONGLONG* pStop) override;
  STDMETHODIMP GetCurrentPosition(LONGLONG* pCurrent) override { return E_NOTIMPL; }
  STDMETHODIMP ConvertTimeFormat(LONGLONG* pTarget, const GUID* pTargetFormat, LONGLONG Source,
                                 const GUID* pSourceFormat) override {
    if (!pTarget) return E_POINTER;
    const bool media = (!pTargetFormat || *pTargetFormat == TIME_FORMAT_MEDIA_TIME) &&
                       (!pSourceFormat || *pSourceFormat == TIME_FORMAT_MEDIA_TIME);
    if (!media) return E_INVALIDARG;
    *pTarget = Source;
    return S_OK;
  }
  STDMETHODIMP SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop, DWORD dwStopFlags) override;
  STDMETHODIMP GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) override;
  STDMETHODIMP GetAvailable(LONGLONG* pEarliest, LONGLONG* pLatest) override;
  STDMETHODIMP SetRate(double dRate) override { return dRate == 1.0 ? S_OK : E_NOTIMPL; }
  STDMETHODIMP GetRate(double* pdRate) override {
    if (!pdRate) return E_POINTER;
    *pdRate = 1.0;
    return S_OK;
  }
  STDMETHODIMP GetPreroll(LONGLONG* pllPreroll) override {
    if (!pllPreroll) return E_POINTER;
    *pllPreroll = 0;
    return S_OK;
  }

 protected:
  HRESULT CheckType(const AM_MEDIA_TYPE* mt) override {
    AM_MEDIA_TYPE own = {};
    if (!ProposedType(0, &own)) return S_FALSE;
    const bool same = mt->majortype == own.majortype && mt->subtype == own.subtype &&
                      mt->formattype == own.formattype && mt->cbFormat == own.cbFormat &&
                      memcmp(mt->pbFormat, own.pbFormat, own.cbFormat) == 0;
    FreeMediaType(&own);
    return same ? S_OK : S_FALSE;
  }
  // One type, known once the input has read the file.
  bool ProposedType(int index, AM_MEDIA_TYPE* mt) override {
    const moviekit::AudioDemuxer* d = input_->Demuxer();
    if (index != 0 || !d) return false;
    const moviekit::AudioStreamFacts& f = d->Facts();
    const WORD tag = f.configSize > 0 ? kWaveFormatRawAac : kWaveFormatAdtsAac;
    return SUCCEEDED(MakeAacType(tag, f.sampleRate, f.channels, f.config, f.configSize, mt));
  }
  HRESULT OnConnected(IPin* peer) override;

 private:
  SplitterFilter* owner_;
  SplitterInput* input_;
};

class SplitterFilter : public Filter {
 public:
  SplitterFilter() : Filter(CLSID_KTAACSplitter), input_(this), output_(this, this, &input_) {
    InitializeCriticalSection(&positionsLock_);
  }
  ~SplitterFilter() override {
    StopThread();
    DeleteCriticalSection(&positionsLock_);
  }
  int PinCount() override { return 2; }
  Pin* PinAt(int index) override { return index == 0 ? static_cast<Pin*>(&input_) : &output_; }

  // A new stream: the whole of it.
  void ResetPositions() {
    const moviekit::AudioDemuxer* d = input_.Demuxer();
    EnterCriticalSection(&positionsLock_);
    positions_ = StreamPositions();
    positions_.duration = d ? REFERENCE_TIME(d->Facts().durationSeconds * 1e7 + 0.5) : 0;
    positions_.stop = positions_.duration;
    LeaveCriticalSection(&positionsLock_);
  }
  // Under a lock of their own: the renderer asks for the stop position from our stream
  // thread (at the end of the stream) while Stop holds the filter's lock waiting for it.
  StreamPositions Positions() {
    EnterCriticalSection(&positionsLock_);
    const StreamPositions p = positions_;
    LeaveCriticalSection(&positionsLock_);
    return p;
  }
  // While the stream runs a new start flushes what is under way downstream and pushes on
  // from there as a new segment; a new stop ends the stream there.
  HRESULT SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) {
    EnterCriticalSection(Lock());
    bool moved = false;
    EnterCriticalSection(&positionsLock_);
    HRESULT hr = input_.Demuxer() ? positions_.Apply(current, currentFlags, stop, stopFlags, &moved) : VFW_E_NOT_CONNECTED;
    const REFERENCE_TIME newStop = positions_.stop;
    LeaveCriticalSection(&positionsLock_);
    if (SUCCEEDED(hr)) {
      streamStop_ = newStop;
      if (moved && thread_) {
        output_.DeliverBeginFlush();
        StopThread();
        output_.DeliverEndFlush();
        hr = StartThread();
      }
    }
    LeaveCriticalSection(Lock());
    return hr;
  }

 protected:
  // Paused from stopped: the stream starts again from the start position on a thread that
  // pushes until the end, the stop position, a refusal downstream, or Stop.
  HRESULT OnStateChange(FILTER_STATE from, FILTER_STATE to) override {
    if (from == State_Stopped && to != State_Stopped) {
      if (!input_.Demuxer() || !output_.IsConnected()) return S_OK;  // nothing to push
      return StartThread();
    }
    if (to == State_Stopped) StopThread();
    return S_OK;
  }

 private:
  // Under the filter's lock, with no thread running.
  HRESULT StartThread() {
    HRESULT hr = output_.Active();
    if (FAILED(hr)) return hr;
    const StreamPositions p = Positions();
    streamStart_ = p.start;
    streamStop_ = p.stop;
    if (FAILED(input_.Demuxer()->Seek(streamStart_ / 1e7))) input_.Demuxer()->Seek(0);
    output_.DeliverNewSegment(p.start, p.stop, 1.0);
    stop_ = FALSE;
    thread_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Push, this, 0, nullptr));
    if (!thread_) {
      output_.Inactive();
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }

  void StopThread() {
    InterlockedExchange(&stop_, TRUE);
    output_.Inactive();  // a thread waiting for a buffer is let go
    if (thread_) {
      WaitForSingleObject(thread_, INFINITE);
      CloseHandle(thread_);
      thread_ = nullptr;
    }
  }

  static unsigned __stdcall Push(void* param) {
    static_cast<SplitterFilter*>(param)->PushAll();
    return 0;
  }

  void PushAll() {
    moviekit::AudioDemuxer* d = input_.Demuxer();
    // An AAC frame is 1024 samples: frames that end before the start are not sent.
    const REFERENCE_TIME frame = REFERENCE_TIME(1024 * 1e7 / std::max(d->Facts().sampleRate, 1));
    bool first = true;
    while (!stop_) {
      moviekit::AudioPacket packet;
      HRESULT hr = d->NextPacket(&packet);
      if (hr == S_FALSE) break;
      if (FAILED(hr)) {
        // A file spoilt midway: what came before has played; the end is told as usual.
        break;
      }
      REFERENCE_TIME start = -1;
      if (packet.seconds >= 0) {
        start = REFERENCE_TIME(packet.seconds * 1e7 + 0.5);
        if (start + frame <= streamStart_) continue;
        if (streamStop_ > 0 && start >= streamStop_) break;  // 0: a stream of unknown length
      }
      IMediaSample* sample = nullptr;
      if (FAILED(output_.GetBuffer(&sample))) return;  // decommitted: we are stopping
      if (packet.size > sample->GetSize()) {
        sample->Release();
        continue;  // no AAC frame is this big
      }
      BYTE* data = nullptr;
      sample->GetPointer(&data);
      memcpy(data, packet.data, size_t(packet.size));
      sample->SetActualDataLength(packet.size);
      if (start >= 0) {
        // Times run from the segment's start.
        REFERENCE_TIME t0 = start - streamStart_, t1 = t0 + 1;
        sample->SetTime(&t0, &t1);
      }
      sample->SetSyncPoint(TRUE);
      sample->SetDiscontinuity(first ? TRUE : FALSE);
      first = false;
      hr = output_.Deliver(sample);
      sample->Release();
      if (hr != S_OK) return;  // refused downstream (stopped, flushing or failed)
    }
    if (!stop_) output_.DeliverEndOfStream();
  }

  SplitterInput input_;
  SplitterOutput output_;
  HANDLE thread_ = nullptr;
  volatile LONG stop_ = FALSE;
  CRITICAL_SECTION positionsLock_;
  StreamPositions positions_;
  REFERENCE_TIME streamStart_ = 0;             // of the running segment
  volatile REFERENCE_TIME streamStop_ = 0;     // moved while it runs
};

HRESULT SplitterOutput::OnConnected(IPin* peer) {
  const HRESULT hr = OutputPin::OnConnected(peer);
  if (SUCCEEDED(hr)) owner_->ResetPositions();
  return hr;
}

STDMETHODIMP SplitterOutput::GetDuration(LONGLONG* pDuration) {
  if (!pDuration) return E_POINTER;
  *pDuration = owner_->Positions().duration;
  return S_OK;
}

STDMETHODIMP SplitterOutput::GetStopPosition(LONGLONG* pStop) {
  if (!pStop) return E_POINTER;
  *pStop = owner_->Positions().stop;
  return S_OK;
}

STDMETHODIMP SplitterOutput::GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) {
  const StreamPositions p = owner_->Positions();
  if (pCurrent) *pCurrent = p.start;
  if (pStop) *pStop = p.stop;
  return S_OK;
}

STDMETHODIMP SplitterOutput::GetAvailable(LONGLONG* pEarliest, LONGLONG* pLatest) {
  if (pEarliest) *pEarliest = 0;
  if (pLatest) *pLatest = owner_->Positions().duration;
  return S_OK;
}

STDMETHODIMP SplitterOutput::SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop,
                                          DWORD dwStopFlags) {
  return owner_->SetPositions(pCurrent, dwCurrentFlags, pStop, dwStopFlags);
}

}  // namespace

IBaseFilter* CreateSplitter() { return new (std::nothrow) SplitterFilter; }

}  // namespace aacfilters
