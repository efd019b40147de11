// The sound of audio files packet by packet: a demuxer reading through the caller's byte
// source and a decoder to 16-bit PCM.
#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "decoder.h"

namespace moviekit {

namespace {

const int kIoBuffer = 32 * 1024;

class AudioDemuxerImpl : public AudioDemuxer {
 public:
  explicit AudioDemuxerImpl(ByteSource* source) : source_(source) {}
  ~AudioDemuxerImpl() override {
    av_packet_free(&packet_);
    avformat_close_input(&format_);
    if (io_) av_freep(&io_->buffer);
    avio_context_free(&io_);
  }

  HRESULT Open(const char* codec) {
    av_log_set_level(AV_LOG_QUIET);
    const AVCodecDescriptor* wanted = avcodec_descriptor_get_by_name(codec);
    if (!wanted) return E_INVALIDARG;
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBuffer));
    if (!buffer) return E_OUTOFMEMORY;
    io_ = avio_alloc_context(buffer, kIoBuffer, 0, this, &Read, nullptr, &SeekIo);
    if (!io_) {
      av_free(buffer);
      return E_OUTOFMEMORY;
    }
    format_ = avformat_alloc_context();
    packet_ = av_packet_alloc();
    if (!format_ || !packet_) return E_OUTOFMEMORY;
    format_->pb = io_;
    format_->probesize = 1 << 20;
    if (avformat_open_input(&format_, nullptr, nullptr, nullptr) < 0) return kErrorFormat;
    // A movie is refused before its streams are probed (the graph offers us every file).
    if (HasPicture()) return kErrorFormat;
    if (avformat_find_stream_info(format_, nullptr) < 0 || HasPicture()) return kErrorFormat;
    for (unsigned i = 0; i < format_->nb_streams; ++i) {
      const AVCodecParameters* par = format_->streams[i]->codecpar;
      if (par->codec_type == AVMEDIA_TYPE_AUDIO && par->codec_id == wanted->id) {
        index_ = int(i);
        break;
      }
    }
    if (index_ < 0) return kErrorFormat;
    const AVStream* st = format_->streams[index_];
    const AVCodecParameters* par = st->codecpar;
    if (par->sample_rate <= 0 || par->sample_rate > 192000 || par->ch_layout.nb_channels <= 0 ||
        par->ch_layout.nb_channels > 8 || par->extradata_size > kMaxAudioConfig)
      return kErrorFormat;
    lstrcpynA(facts_.container, format_->iformat->name, sizeof facts_.container);
    lstrcpynA(facts_.codec, codec, sizeof facts_.codec);
    facts_.sampleRate = par->sample_rate;
    facts_.channels = par->ch_layout.nb_channels;
    if (par->extradata_size > 0) memcpy(facts_.config, par->extradata, size_t(par->extradata_size));
    facts_.configSize = par->extradata_size;
    if (st->start_time != AV_NOPTS_VALUE) start_ = st->start_time;
    if (st->duration != AV_NOPTS_VALUE && st->duration > 0)
      facts_.durationSeconds = st->duration * av_q2d(st->time_base);
    else if (format_->duration != AV_NOPTS_VALUE && format_->duration > 0)
      facts_.durationSeconds = format_->duration / double(AV_TIME_BASE);
    return S_OK;
  }

  const AudioStreamFacts& Facts() const override { return facts_; }

  HRESULT NextPacket(AudioPacket* out) override {
    if (!out) return E_POINTER;
    *out = AudioPacket();
    for (;;) {
      av_packet_unref(packet_);
      const int err = av_read_frame(format_, packet_);
      if (err == AVERROR_EOF) return S_FALSE;
      if (err < 0) return kErrorFormat;
      if (packet_->stream_index != index_ || packet_->size <= 0) continue;
      out->data = packet_->data;
      out->size = packet_->size;
      if (packet_->pts != AV_NOPTS_VALUE)
        out->seconds = std::max(0.0, (packet_->pts - start_) * av_q2d(format_->streams[index_]->time_base));
      return S_OK;
    }
  }

  HRESULT Seek(double seconds) override {
    const AVStream* st = format_->streams[index_];
    const int64_t ts = start_ + int64_t(std::max(0.0, seconds) / av_q2d(st->time_base));
    if (av_seek_frame(format_, index_, ts, AVSEEK_FLAG_BACKWARD) >= 0) return S_OK;
    // Streams without an index (ADTS) go back to their first byte.
    if (seconds <= 0 && avformat_seek_file(format_, index_, INT64_MIN, 0, 0, AVSEEK_FLAG_BYTE) >= 0) return S_OK;
    return E_FAIL;
  }

  void Release() override { delete this; }

 private:
  // A picture stream other than a song's cover.
  bool HasPicture() const {
    for (unsigned i = 0; i < format_->nb_streams; ++i) {
      const AVStream* st = format_->streams[i];
      if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !(st->disposition & AV_DISPOSITION_ATTACHED_PIC))
        return true;
    }
    return false;
  }

  static int Read(void* opaque, uint8_t* buf, int size) {
    auto* self = static_cast<AudioDemuxerImpl*>(opaque);
    LONG got = 0;
    if (FAILED(self->source_->ReadAt(self->position_, size, buf, &got)) && got <= 0) return AVERROR(EIO);
    if (got <= 0) return AVERROR_EOF;
    got = std::min<LONG>(got, size);
    self->position_ += got;
    return got;
  }

  static int64_t SeekIo(void* opaque, int64_t offset, int whence) {
    auto* self = static_cast<AudioDemuxerImpl*>(opaque);
    const int64_t size = self->source_->Size();
    if (whence & AVSEEK_SIZE) return size >= 0 ? size : AVERROR(ENOSYS);
    int64_t to = offset;
    switch (whence & ~AVSEEK_FORCE) {
      case SEEK_SET: break;
      case SEEK_CUR: to = self->position_ + offset; break;
      case SEEK_END:
        if (size < 0) return AVERROR(ENOSYS);
        to = size + offset;
        break;
      default: return AVERROR(EINVAL);
    }
    if (to < 0) return AVERROR(EINVAL);
    self->position_ = to;
    return to;
  }

  ByteSource* source_;
  int64_t position_ = 0;
  AVIOContext* io_ = nullptr;
  AVFormatContext* format_ = nullptr;
  AVPacket* packet_ = nullptr;
  int index_ = -1;
  int64_t start_ = 0;
  AudioStreamFacts facts_;
};

class AudioDecoderImpl : public AudioDecoder {
 public:
  ~AudioDecoderImpl() override {
    swr_free(&swr_);
    av_channel_layout_uninit(&swrLayout_);
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    avcodec_free_context(&ctx_);
  }

  HRESULT Open(const char* codecName, int rate, int channels, const BYTE* config, int configSize) {
    av_log_set_level(AV_LOG_QUIET);
    if (rate <= 0 || rate > 192000 || channels <= 0 || channels > 8 || configSize < 0 ||
        configSize > kMaxAudioConfig || (configSize > 0 && !config))
      return E_INVALIDARG;
    const AVCodec* codec = avcodec_find_decoder_by_name(codecName);
    if (!codec) return kErrorDecode;
    ctx_ = avcodec_alloc_context3(codec);
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    if (!ctx_ || !frame_ || !packet_) return E_OUTOFMEMORY;
    ctx_->sample_rate = rate;
    av_channel_layout_default(&ctx_->ch_layout, channels);
    if (configSize > 0) {
      ctx_->extradata = static_cast<uint8_t*>(av_mallocz(size_t(configSize) + AV_INPUT_BUFFER_PADDING_SIZE));
      if (!ctx_->extradata) return E_OUTOFMEMORY;
      memcpy(ctx_->extradata, config, size_t(configSize));
      ctx_->extradata_size = configSize;
    }
    if (avcodec_open2(ctx_, codec, nullptr) < 0) return kErrorDecode;
    rate_ = rate;
    channels_ = std::min(channels, 2);
    return S_OK;
  }

  int SampleRate() const override { return rate_; }
  int Channels() const override { return channels_; }

  HRESULT Decode(const BYTE* data, int size, const BYTE** pcm, int* bytes) override {
    if (!data || size <= 0 || !pcm || !bytes) return E_POINTER;
    *pcm = nullptr;
    *bytes = 0;
    pcm_.clear();
    // The codec reads a little past the packet's end: give it padded room.
    padded_.assign(reinterpret_cast<const char*>(data), size_t(size));
    padded_.append(AV_INPUT_BUFFER_PADDING_SIZE, '\0');
    av_packet_unref(packet_);
    packet_->data = reinterpret_cast<uint8_t*>(&padded_[0]);
    packet_->size = size;
    if (avcodec_send_packet(ctx_, packet_) < 0) return kErrorDecode;
    for (;;) {
      const int err = avcodec_receive_frame(ctx_, frame_);
      if (err == AVERROR(EAGAIN) || err == AVERROR_EOF) break;
      if (err < 0) return kErrorDecode;
      HRESULT hr = Convert();
      av_frame_unref(frame_);
      if (FAILED(hr)) return hr;
    }
    *pcm = reinterpret_cast<const BYTE*>(pcm_.data());
    *bytes = int(pcm_.size());
    return S_OK;
  }

  void Flush() override {
    avcodec_flush_buffers(ctx_);
    swr_free(&swr_);
  }

  void Release() override { delete this; }

 private:
  // The frame as 16-bit PCM at the stream's rate; a stream whose layout changes midway
  // (ADTS may) gets a converter for its new layout.
  HRESULT Convert() {
    // The output's rate is fixed by the connection: a frame at another rate is resampled.
    const int inRate = frame_->sample_rate > 0 ? frame_->sample_rate : rate_;
    if (!swr_ || inRate != swrRate_ || av_channel_layout_compare(&frame_->ch_layout, &swrLayout_) != 0 ||
        frame_->format != swrFormat_) {
      swr_free(&swr_);
      AVChannelLayout out;
      av_channel_layout_default(&out, channels_);
      if (swr_alloc_set_opts2(&swr_, &out, AV_SAMPLE_FMT_S16, rate_, &frame_->ch_layout,
                              AVSampleFormat(frame_->format), inRate, 0, nullptr) < 0 ||
          swr_init(swr_) < 0)
        return kErrorDecode;
      swrRate_ = inRate;
      av_channel_layout_uninit(&swrLayout_);
      av_channel_layout_copy(&swrLayout_, &frame_->ch_layout);
      swrFormat_ = frame_->format;
    }
    const int frameBytes = 2 * channels_;
    const int room =
        int(av_rescale_rnd(swr_get_delay(swr_, inRate) + frame_->nb_samples, rate_, inRate, AV_ROUND_UP));
    const size_t at = pcm_.size();
    pcm_.resize(at + size_t(room) * frameBytes);
    uint8_t* dst = reinterpret_cast<uint8_t*>(&pcm_[at]);
    const int got = swr_convert(swr_, &dst, room, const_cast<const uint8_t**>(frame_->extended_data),
                                frame_->nb_samples);
    if (got < 0) return kErrorDecode;
    pcm_.resize(at + size_t(got) * frameBytes);
    return S_OK;
  }

  AVCodecContext* ctx_ = nullptr;
  AVFrame* frame_ = nullptr;
  AVPacket* packet_ = nullptr;
  SwrContext* swr_ = nullptr;
  int swrRate_ = 0;
  int swrFormat_ = -1;
  AVChannelLayout swrLayout_ = {};
  int rate_ = 0;
  int channels_ = 0;
  std::string padded_;
  std::string pcm_;
};

}  // namespace

HRESULT OpenAudioDemuxer(ByteSource* source, const char* codec, AudioDemuxer** out) {
  if (!source || !codec || !out) return E_POINTER;
  *out = nullptr;
  auto* d = new (std::nothrow) AudioDemuxerImpl(source);
  if (!d) return E_OUTOFMEMORY;
  HRESULT hr = d->Open(codec);
  if (FAILED(hr)) {
    d->Release();
    return hr;
  }
  *out = d;
  return S_OK;
}

HRESULT CreateAudioDecoder(const char* codec, int sampleRate, int channels, const BYTE* config, int configSize,
                           AudioDecoder** out) {
  if (!codec || !out) return E_POINTER;
  *out = nullptr;
  auto* d = new (std::nothrow) AudioDecoderImpl;
  if (!d) return E_OUTOFMEMORY;
  HRESULT hr = d->Open(codec, sampleRate, channels, config, configSize);
  if (FAILED(hr)) {
    d->Release();
    return hr;
  }
  *out = d;
  return S_OK;
}

}  // namespace moviekit
