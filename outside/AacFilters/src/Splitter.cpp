// The AAC splitter: reads an MP4 or ADTS file through the source's IAsyncReader with the
// movie kit's demuxer and pushes its AAC frames from a thread of its own while it runs.
#include <process.h>

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

class SplitterOutput : public OutputPin {
 public:
  SplitterOutput(Filter* filter, SplitterInput* input)
      : OutputPin(filter, L"Output", kPacketBuffers, kPacketBufferSize), input_(input) {}

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

 private:
  SplitterInput* input_;
};

class SplitterFilter : public Filter {
 public:
  SplitterFilter() : Filter(CLSID_KTAACSplitter), input_(this), output_(this, &input_) {}
  ~SplitterFilter() override { StopThread(); }
  int PinCount() override { return 2; }
  Pin* PinAt(int index) override { return index == 0 ? static_cast<Pin*>(&input_) : &output_; }

 protected:
  // Paused from stopped: the stream starts again from its beginning on a thread that
  // pushes until the end, a refusal downstream, or Stop.
  HRESULT OnStateChange(FILTER_STATE from, FILTER_STATE to) override {
    if (from == State_Stopped && to != State_Stopped) {
      if (!input_.Demuxer() || !output_.IsConnected()) return S_OK;  // nothing to push
      HRESULT hr = output_.Active();
      if (FAILED(hr)) return hr;
      input_.Demuxer()->Seek(0);
      stop_ = FALSE;
      thread_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Push, this, 0, nullptr));
      if (!thread_) {
        output_.Inactive();
        return E_OUTOFMEMORY;
      }
    } else if (to == State_Stopped) {
      StopThread();
    }
    return S_OK;
  }

 private:
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
    bool first = true;
    while (!stop_) {
      moviekit::AudioPacket packet;
      HRESULT hr = d->NextPacket(&packet);
      if (hr == S_FALSE) break;
      if (FAILED(hr)) {
        // A file spoilt midway: what came before has played; the end is told as usual.
        break;
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
      if (packet.seconds >= 0) {
        REFERENCE_TIME start = REFERENCE_TIME(packet.seconds * 1e7 + 0.5), end = start + 1;
        sample->SetTime(&start, &end);
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
};

}  // namespace

IBaseFilter* CreateSplitter() { return new (std::nothrow) SplitterFilter; }

}  // namespace aacfilters
