#include "decoder.h"

#include <algorithm>
#include <cstring>

#include "textkit/text.h"

namespace moviekit {

HRESULT FromAv(int err) {
  if (err == AVERROR(ENOENT)) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  if (err == AVERROR(EACCES)) return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
  if (err == AVERROR(ENOMEM)) return E_OUTOFMEMORY;
  return kErrorFormat;
}

HRESULT OpenMovieFile(const char* ansiPath, AVFormatContext** out) {
  if (!ansiPath || !*ansiPath) return E_INVALIDARG;
  // Damaged streams are everyday input: their complaints go nowhere.
  av_log_set_level(AV_LOG_QUIET);
  DWORD attrs = GetFileAttributesA(ansiPath);
  if (attrs == INVALID_FILE_ATTRIBUTES) return HRESULT_FROM_WIN32(GetLastError());
  if (attrs & FILE_ATTRIBUTE_DIRECTORY) return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
  // The file protocol takes UTF-8 names on Windows.
  std::string utf8 = textkit::AnsiToUtf8(ansiPath);
  int err = avformat_open_input(out, utf8.c_str(), nullptr, nullptr);
  if (err < 0) return FromAv(err);
  (*out)->probesize = 5 << 20;
  err = avformat_find_stream_info(*out, nullptr);
  return err < 0 ? FromAv(err) : S_OK;
}

double StartSeconds(const AVFormatContext* format, int index) {
  const AVStream* s = format->streams[index];
  if (s->start_time != AV_NOPTS_VALUE) return s->start_time * av_q2d(s->time_base);
  if (format->start_time != AV_NOPTS_VALUE) return format->start_time / double(AV_TIME_BASE);
  return 0;
}

namespace {

void CopyName(char* to, size_t size, const char* name) {
  if (!name) name = "";
  lstrcpynA(to, name, int(size));
}

}  // namespace

SIZE FitInto(int w, int h, int maxW, int maxH) {
  SIZE s = {w, h};
  if (maxW <= 0 || maxH <= 0 || w <= 0 || h <= 0 || (w <= maxW && h <= maxH)) return s;
  if (int64_t(w) * maxH > int64_t(h) * maxW) {
    s.cx = maxW;
    s.cy = std::max<int>(1, int(int64_t(h) * maxW / w));
  } else {
    s.cy = maxH;
    s.cx = std::max<int>(1, int(int64_t(w) * maxH / h));
  }
  return s;
}

Decoder::~Decoder() {
  sws_freeContext(sws_);
  swr_free(&swr_);
  av_packet_free(&packet_);
  av_frame_free(&picture_);
  av_frame_free(&work_);
  avcodec_free_context(&video_);
  avcodec_free_context(&audio_);
  avformat_close_input(&format_);
}

HRESULT Decoder::Open(const char* ansiPath, bool withSound, bool soundAlone) {
  HRESULT opened = OpenMovieFile(ansiPath, &format_);
  if (FAILED(opened)) return opened;
  CopyName(facts_.container, sizeof facts_.container, format_->iformat ? format_->iformat->name : "");
  if (format_->duration != AV_NOPTS_VALUE && format_->duration > 0)
    facts_.durationSeconds = format_->duration / double(AV_TIME_BASE);
  facts_.streamCount = int(format_->nb_streams);
  for (unsigned i = 0; i < format_->nb_streams && i < unsigned(kMaxStreams); ++i) {
    const AVCodecParameters* par = format_->streams[i]->codecpar;
    StreamFacts& s = facts_.streams[i];
    CopyName(s.codec, sizeof s.codec, avcodec_get_name(par->codec_id));
    if (par->codec_type == AVMEDIA_TYPE_VIDEO) {
      s.kind = StreamKind::Video;
      s.width = par->width;
      s.height = par->height;
      AVRational r = format_->streams[i]->avg_frame_rate;
      if (!r.num || !r.den) r = format_->streams[i]->r_frame_rate;
      if (r.num && r.den) s.frameRate = av_q2d(r);
    } else if (par->codec_type == AVMEDIA_TYPE_AUDIO) {
      s.kind = StreamKind::Audio;
      s.sampleRate = par->sample_rate;
      s.channels = par->ch_layout.nb_channels;
    }
  }
  videoIndex_ = av_find_best_stream(format_, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  int audio = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, videoIndex_, nullptr, 0);
  facts_.hasAudio = audio >= 0;

  auto openCodec = [&](int index, AVCodecContext** ctx) -> HRESULT {
    const AVCodec* codec = avcodec_find_decoder(format_->streams[index]->codecpar->codec_id);
    if (!codec) return kErrorDecode;
    *ctx = avcodec_alloc_context3(codec);
    if (!*ctx) return E_OUTOFMEMORY;
    if (avcodec_parameters_to_context(*ctx, format_->streams[index]->codecpar) < 0) return kErrorDecode;
    (*ctx)->pkt_timebase = format_->streams[index]->time_base;
    if (avcodec_open2(*ctx, codec, nullptr) < 0) return kErrorDecode;
    return S_OK;
  };
  if (videoIndex_ < 0) {
    if (!soundAlone || audio < 0) return kErrorNoVideo;
    // Sound alone: its decoder is the whole of the file.
    start_ = StartSeconds(format_, audio);
    facts_.startSeconds = start_;
    audioIndex_ = audio;
    HRESULT hr = openCodec(audio, &audio_);
    if (FAILED(hr)) {
      avcodec_free_context(&audio_);
      audioIndex_ = -1;
      return hr;
    }
    videoDone_ = true;
  } else {
    const AVStream* vs = format_->streams[videoIndex_];
    start_ = StartSeconds(format_, videoIndex_);
    facts_.startSeconds = start_;
    facts_.hasVideo = true;
    facts_.width = vs->codecpar->width;
    facts_.height = vs->codecpar->height;
    if (videoIndex_ < kMaxStreams) facts_.frameRate = facts_.streams[videoIndex_].frameRate;
    if (facts_.width <= 0 || facts_.height <= 0 || facts_.width > kMaxFrameSide || facts_.height > kMaxFrameSide)
      return kErrorFrameSize;
    HRESULT hr = openCodec(videoIndex_, &video_);
    if (FAILED(hr)) return hr;
    if (withSound && audio >= 0) {
      audioIndex_ = audio;
      if (FAILED(openCodec(audio, &audio_))) {
        avcodec_free_context(&audio_);  // a movie whose sound fails still shows its picture
        audioIndex_ = -1;
      }
    }
  }
  picture_ = av_frame_alloc();
  work_ = av_frame_alloc();
  packet_ = av_packet_alloc();
  if (!picture_ || !work_ || !packet_) return E_OUTOFMEMORY;
  return S_OK;
}

double Decoder::Seconds(int64_t pts, AVRational base) const {
  if (pts == AV_NOPTS_VALUE) return -1;
  return pts * av_q2d(base) - start_;
}

// Takes one frame out of a decoder: Picture/Sound, or End when it wants more input.
Decoded Decoder::Drain(AVCodecContext* ctx, double* seconds) {
  bool isVideo = ctx == video_;
  for (;;) {
    int err = avcodec_receive_frame(ctx, work_);
    if (err == AVERROR(EAGAIN)) return Decoded::End;
    if (err == AVERROR_EOF) {
      (isVideo ? videoDone_ : audioDone_) = true;
      return Decoded::End;
    }
    if (err < 0) {
      error_ = kErrorDecode;
      return Decoded::Failed;
    }
    int index = isVideo ? videoIndex_ : audioIndex_;
    double t = Seconds(work_->best_effort_timestamp, format_->streams[index]->time_base);
    if (isVideo) {
      if (skipBefore_ >= 0 && t >= 0 && t + 1e-4 < skipBefore_) {
        av_frame_unref(work_);
        continue;
      }
      skipBefore_ = -1;
      av_frame_unref(picture_);
      av_frame_move_ref(picture_, work_);
      *seconds = std::max(0.0, t);
      return Decoded::Picture;
    }
    // Sound: 16-bit stereo at the player's rate.
    if (!swr_) {
      AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
      if (swr_alloc_set_opts2(&swr_, &stereo, AV_SAMPLE_FMT_S16, SoundRate(), &ctx->ch_layout, ctx->sample_fmt,
                              ctx->sample_rate, 0, nullptr) < 0 ||
          swr_init(swr_) < 0) {
        av_frame_unref(work_);
        return Decoded::End;
      }
    }
    int out = int(av_rescale_rnd(swr_get_delay(swr_, ctx->sample_rate) + work_->nb_samples, SoundRate(),
                                 ctx->sample_rate, AV_ROUND_UP));
    sound_.resize(size_t(out) * 4);
    uint8_t* dst = reinterpret_cast<uint8_t*>(&sound_[0]);
    int got = swr_convert(swr_, &dst, out, const_cast<const uint8_t**>(work_->extended_data), work_->nb_samples);
    av_frame_unref(work_);
    if (got <= 0) continue;
    sound_.resize(size_t(got) * 4);
    if (skipBefore_ >= 0 && t + got / double(SoundRate()) < skipBefore_) continue;
    if (!video_) skipBefore_ = -1;
    *seconds = t;
    return Decoded::Sound;
  }
}

Decoded Decoder::Decode(double* seconds) {
  if (held_) {
    held_ = false;
    *seconds = heldSeconds_;
    return Decoded::Picture;
  }
  for (;;) {
    Decoded d = video_ ? Drain(video_, seconds) : Decoded::End;
    if (d != Decoded::End) return d;
    if (audio_) {
      d = Drain(audio_, seconds);
      if (d != Decoded::End) return d;
    }
    if (videoDone_ && (!audio_ || audioDone_)) return Decoded::End;
    if (flushing_) {
      // Both decoders have had their flush; a stream that ends early is done.
      videoDone_ = true;
      audioDone_ = true;
      continue;
    }
    int err = av_read_frame(format_, packet_);
    if (err < 0) {
      flushing_ = true;
      if (audio_) avcodec_send_packet(audio_, nullptr);
      if (!video_) continue;
      avcodec_send_packet(video_, nullptr);
      Decoded v = Drain(video_, seconds);
      if (v != Decoded::End) return v;
      continue;
    }
    AVCodecContext* ctx =
        packet_->stream_index == videoIndex_ ? video_ : (packet_->stream_index == audioIndex_ ? audio_ : nullptr);
    if (ctx) {
      err = avcodec_send_packet(ctx, packet_);
      // A damaged packet is skipped; the decoder resumes at the next good picture.
      (void)err;
    }
    av_packet_unref(packet_);
  }
}

HRESULT Decoder::SeekSound(double seconds) {
  // Sound decodes from any packet: back to one at or before the time, the blocks before it dropped.
  const AVStream* as = format_->streams[audioIndex_];
  // (A seek by bytes to 0 would read a WAV's header as sound.)
  int err = av_seek_frame(format_, audioIndex_, int64_t((seconds + start_) / av_q2d(as->time_base)),
                          AVSEEK_FLAG_BACKWARD);
  if (err < 0) err = av_seek_frame(format_, audioIndex_, INT64_MIN, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY);
  if (err < 0) return kErrorFormat;
  avcodec_flush_buffers(audio_);
  if (swr_) swr_free(&swr_);
  flushing_ = audioDone_ = held_ = false;
  videoDone_ = true;
  skipBefore_ = seconds > 0 ? seconds : -1;
  return S_OK;
}

HRESULT Decoder::Seek(double seconds) {
  if (!format_ || (!video_ && !audio_)) return E_UNEXPECTED;
  if (seconds < 0) seconds = 0;
  if (!video_) return SeekSound(seconds);
  const AVStream* vs = format_->streams[videoIndex_];
  // Back to a key picture before the time, then decoding forward to it. The container's
  // search may land after the time (MPEG-TS searches by bytes): further back then, at
  // last from the file's start.
  static const double kMargins[] = {0, 1, 4, 16, -1};
  HRESULT hr = kErrorFormat;
  int64_t lastTarget = INT64_MIN;
  for (double margin : kMargins) {
    int err;
    // A time within the margin of the start is the start: where the container can go to a
    // byte, straight there, rather than a search by bytes (MPEG-TS) that lands after it and
    // then decodes up to the next key picture, seconds on.
    const bool bytes = format_->iformat && !(format_->iformat->flags & AVFMT_NO_BYTE_SEEK);
    if (margin >= 0 && seconds - margin <= 0 && bytes) margin = -1;
    if (margin >= 0) {
      int64_t target = int64_t((std::max(0.0, seconds - margin) + start_) / av_q2d(vs->time_base));
      if (target == lastTarget) continue;  // the same search again finds the same place
      lastTarget = target;
      err = av_seek_frame(format_, videoIndex_, target, AVSEEK_FLAG_BACKWARD);
      if (err < 0) continue;
    } else {
      err = av_seek_frame(format_, -1, 0, AVSEEK_FLAG_BYTE);
      if (err < 0) err = av_seek_frame(format_, videoIndex_, INT64_MIN, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY);
      if (err < 0) return kErrorFormat;
    }
    avcodec_flush_buffers(video_);
    if (audio_) avcodec_flush_buffers(audio_);
    if (swr_) swr_free(&swr_);
    flushing_ = videoDone_ = audioDone_ = held_ = false;
    skipBefore_ = -1;
    double first = 0;
    Decoded d;
    do d = Decode(&first);
    while (d == Decoded::Sound);
    if (d == Decoded::Failed) hr = error_;
    if (d != Decoded::Picture) {
      // Nothing from here: past the end, or no key picture before it.
      if (margin < 0) return d == Decoded::End ? S_OK : hr;  // the next Decode says End
      continue;
    }
    if (first > seconds + 1e-4 && margin >= 0) continue;
    if (first + 1e-4 >= seconds) {
      held_ = true;  // the very picture asked for
      heldSeconds_ = first;
    } else {
      skipBefore_ = seconds;
    }
    return S_OK;
  }
  return hr;
}

HRESULT Decoder::PictureToFrame(int maxWidth, int maxHeight, Frame* out) {
  if (!out) return E_POINTER;
  *out = Frame();
  if (!picture_ || !picture_->data[0]) return E_UNEXPECTED;
  int w = picture_->width, h = picture_->height;
  if (w <= 0 || h <= 0 || w > kMaxFrameSide || h > kMaxFrameSide) return kErrorFrameSize;
  SIZE fit = FitInto(w, h, maxWidth, maxHeight);
  sws_ = sws_getCachedContext(sws_, w, h, AVPixelFormat(picture_->format), fit.cx, fit.cy, AV_PIX_FMT_BGR24,
                              SWS_BICUBIC, nullptr, nullptr, nullptr);
  if (!sws_) return kErrorDecode;
  int stride = ((fit.cx * 3) + 3) & ~3;
  // swscale's vector code writes whole blocks of pixels: a row may run past its width, and
  // the top row is the last in memory, so the buffer ends with room for that.
  const size_t kSlack = 256;
  BYTE* bits = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, size_t(stride) * fit.cy + kSlack));
  if (!bits) return E_OUTOFMEMORY;
  // Bottom-up: start at the last row and step backwards.
  uint8_t* dst[4] = {bits + size_t(stride) * (fit.cy - 1), nullptr, nullptr, nullptr};
  int dstStride[4] = {-stride, 0, 0, 0};
  if (sws_scale(sws_, picture_->data, picture_->linesize, 0, h, dst, dstStride) != fit.cy) {
    HeapFree(GetProcessHeap(), 0, bits);
    return kErrorDecode;
  }
  out->header.biSize = sizeof(BITMAPINFOHEADER);
  out->header.biWidth = fit.cx;
  out->header.biHeight = fit.cy;
  out->header.biPlanes = 1;
  out->header.biBitCount = 24;
  out->header.biCompression = BI_RGB;
  out->header.biSizeImage = DWORD(stride) * fit.cy;
  out->bits = bits;
  return S_OK;
}

}  // namespace moviekit
