// The AAC decoder: AAC frames in, 16-bit PCM out through the movie kit's decoder, on the
// thread that delivers the frames.
#include <algorithm>
#include <new>

#include <moviekit/moviekit.h>

#include "AacFilters.h"
#include "AacRules.h"
#include "Filters.h"
#include "filterkit.h"

namespace aacfilters {

namespace {

const long kPcmBuffers = 8;
const long kPcmBufferSize = 32 * 1024;  // a frame of 2048 stereo samples is 8 KB
const int kMaxBadFrames = 32;           // in a row: the stream is not AAC after all

class DecoderFilter;

class DecoderInput : public MemInputPin {
 public:
  explicit DecoderInput(DecoderFilter* filter);
  STDMETHODIMP Receive(IMediaSample* pSample) override;
  STDMETHODIMP EndOfStream() override;
  STDMETHODIMP BeginFlush() override;
  STDMETHODIMP EndFlush() override;
  STDMETHODIMP NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) override;

 protected:
  HRESULT CheckType(const AM_MEDIA_TYPE* mt) override {
    return ReadAacType(*mt, nullptr, nullptr, nullptr, nullptr) ? S_OK : S_FALSE;
  }
  HRESULT OnConnected(IPin* peer) override;
  void OnDisconnected() override;

 private:
  DecoderFilter* owner_;
};

class DecoderOutput : public PassThroughOutputPin {
 public:
  DecoderOutput(Filter* filter, DecoderInput* input)
      : PassThroughOutputPin(filter, L"XForm Out", kPcmBuffers, kPcmBufferSize, input), input_(input) {}

 protected:
  HRESULT CheckType(const AM_MEDIA_TYPE* mt) override {
    int rate = 0, channels = 0;
    if (!input_->IsConnected() || !ReadAacType(input_->Type(), &rate, &channels, nullptr, nullptr)) return S_FALSE;
    return IsPcmType(*mt, rate, std::min(channels, 2)) ? S_OK : S_FALSE;
  }
  // PCM of the input's rate, once the input is connected.
  bool ProposedType(int index, AM_MEDIA_TYPE* mt) override {
    int rate = 0, channels = 0;
    if (index != 0 || !input_->IsConnected() || !ReadAacType(input_->Type(), &rate, &channels, nullptr, nullptr))
      return false;
    return SUCCEEDED(MakePcmType(rate, std::min(channels, 2), mt));
  }

 private:
  DecoderInput* input_;
};

class DecoderFilter : public Filter {
 public:
  DecoderFilter() : Filter(CLSID_KTAACDecoder), input_(this), output_(this, &input_) {
    InitializeCriticalSection(&stream_);
  }
  ~DecoderFilter() override {
    CloseDecoder();
    DeleteCriticalSection(&stream_);
  }
  int PinCount() override { return 2; }
  Pin* PinAt(int index) override { return index == 0 ? static_cast<Pin*>(&input_) : &output_; }

  HRESULT OpenDecoder() {
    int rate = 0, channels = 0, configSize = 0;
    const BYTE* config = nullptr;
    if (!ReadAacType(input_.Type(), &rate, &channels, &config, &configSize)) return VFW_E_TYPE_NOT_ACCEPTED;
    CloseDecoder();
    HRESULT hr = moviekit::CreateAudioDecoder("aac", rate, channels, config, configSize, &decoder_);
    rate_ = rate;
    return FAILED(hr) ? VFW_E_TYPE_NOT_ACCEPTED : S_OK;
  }
  void CloseDecoder() {
    if (decoder_) decoder_->Release();
    decoder_ = nullptr;
  }

  HRESULT Receive(IMediaSample* sample) {
    if (!sample) return E_POINTER;
    if (State() == State_Stopped) return VFW_E_WRONG_STATE;
    if (flushing_) return S_FALSE;
    if (!decoder_ || !output_.IsConnected()) return VFW_E_NOT_CONNECTED;
    EnterCriticalSection(&stream_);
    HRESULT hr = Decode(sample);
    LeaveCriticalSection(&stream_);
    return hr;
  }

  HRESULT EndOfStream() {
    if (State() == State_Stopped) return VFW_E_WRONG_STATE;
    return flushing_ ? S_FALSE : output_.DeliverEndOfStream();
  }
  HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    return output_.IsConnected() ? output_.DeliverNewSegment(start, stop, rate) : S_OK;
  }
  HRESULT BeginFlush() {
    flushing_ = TRUE;
    return output_.DeliverBeginFlush();
  }
  HRESULT EndFlush() {
    EnterCriticalSection(&stream_);
    if (decoder_) decoder_->Flush();
    timed_ = false;
    LeaveCriticalSection(&stream_);
    flushing_ = FALSE;
    return output_.DeliverEndFlush();
  }

 protected:
  HRESULT OnStateChange(FILTER_STATE from, FILTER_STATE to) override {
    if (from == State_Stopped) {
      timed_ = false;
      badFrames_ = 0;
      if (decoder_) decoder_->Flush();
      return output_.Active();
    }
    if (to == State_Stopped) {
      output_.Inactive();  // a delivery waiting for a buffer returns
      EnterCriticalSection(&stream_);  // and the one decoding ends
      LeaveCriticalSection(&stream_);
    }
    return S_OK;
  }

 private:
  HRESULT Decode(IMediaSample* sample) {
    BYTE* data = nullptr;
    const long size = sample->GetActualDataLength();
    if (FAILED(sample->GetPointer(&data)) || size <= 0) return S_OK;
    REFERENCE_TIME start = 0, end = 0;
    const bool hasTime = SUCCEEDED(sample->GetTime(&start, &end));
    if (sample->IsDiscontinuity() == S_OK) {
      decoder_->Flush();
      timed_ = false;
    }
    if (!timed_) {
      base_ = hasTime ? start : 0;
      frames_ = 0;
      timed_ = true;
    }
    const BYTE* pcm = nullptr;
    int bytes = 0;
    if (FAILED(decoder_->Decode(data, int(size), &pcm, &bytes))) {
      // A damaged frame is skipped; a stream of nothing else is given up.
      if (++badFrames_ < kMaxBadFrames) return S_OK;
      Notify(EC_ERRORABORT, VFW_E_INVALID_FILE_FORMAT, 0);
      return VFW_E_INVALID_FILE_FORMAT;
    }
    badFrames_ = 0;
    const int frameBytes = 2 * decoder_->Channels();
    bool discontinuity = frames_ == 0;
    while (bytes > 0) {
      IMediaSample* out = nullptr;
      HRESULT hr = output_.GetBuffer(&out);
      if (FAILED(hr)) return hr;
      BYTE* dst = nullptr;
      out->GetPointer(&dst);
      const int chunk = std::min<int>(bytes, out->GetSize() / frameBytes * frameBytes);
      memcpy(dst, pcm, size_t(chunk));
      out->SetActualDataLength(chunk);
      REFERENCE_TIME t0 = FramesToTime(base_, frames_, rate_);
      frames_ += chunk / frameBytes;
      REFERENCE_TIME t1 = FramesToTime(base_, frames_, rate_);
      out->SetTime(&t0, &t1);
      out->SetSyncPoint(TRUE);
      out->SetDiscontinuity(discontinuity ? TRUE : FALSE);
      discontinuity = false;
      hr = output_.Deliver(out);
      out->Release();
      if (hr != S_OK) return hr;
      pcm += chunk;
      bytes -= chunk;
    }
    return S_OK;
  }

  DecoderInput input_;
  DecoderOutput output_;
  CRITICAL_SECTION stream_;  // held while a frame is decoded and delivered
  moviekit::AudioDecoder* decoder_ = nullptr;
  int rate_ = 0;
  volatile LONG flushing_ = FALSE;
  bool timed_ = false;
  REFERENCE_TIME base_ = 0;
  LONGLONG frames_ = 0;
  int badFrames_ = 0;
};

DecoderInput::DecoderInput(DecoderFilter* filter) : MemInputPin(filter, L"XForm In"), owner_(filter) {}
STDMETHODIMP DecoderInput::Receive(IMediaSample* pSample) { return owner_->Receive(pSample); }
STDMETHODIMP DecoderInput::EndOfStream() { return owner_->EndOfStream(); }
STDMETHODIMP DecoderInput::BeginFlush() { return owner_->BeginFlush(); }
STDMETHODIMP DecoderInput::EndFlush() { return owner_->EndFlush(); }
STDMETHODIMP DecoderInput::NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) {
  return owner_->NewSegment(tStart, tStop, dRate);
}
HRESULT DecoderInput::OnConnected(IPin* peer) { return owner_->OpenDecoder(); }
void DecoderInput::OnDisconnected() { owner_->CloseDecoder(); }

}  // namespace

IBaseFilter* CreateDecoder() { return new (std::nothrow) DecoderFilter; }

}  // namespace aacfilters
