// Music facts through libavformat: the demuxers of the sound files the program plays read
// the headers and tags; a deadline (the interrupt callback, checked at every read) and a
// bounded probe keep a damaged or slow file from holding the caller.
#include "music.h"

#include <cmath>
#include <cstring>
#include <string>

#include "decoder.h"
#include "textkit/text.h"

namespace moviekit {

namespace {

int PastDeadline(void* opaque) { return GetTickCount64() >= *static_cast<const ULONGLONG*>(opaque) ? 1 : 0; }

// A tag of the file, else of its sound stream (some demuxers keep them there).
const char* Tag(const AVFormatContext* f, const AVStream* s, const char* key) {
  const AVDictionaryEntry* e = av_dict_get(f->metadata, key, nullptr, 0);
  if ((!e || !*e->value) && s) e = av_dict_get(s->metadata, key, nullptr, 0);
  return e ? e->value : "";
}

// Figures of a damaged header come out as anything: only positive ones within reason stay.
long long SaneBitRate(int64_t v) { return v > 0 && v <= 1000000000 ? v : 0; }
int SanePositive(int v, int most) { return v > 0 && v <= most ? v : 0; }

}  // namespace

void CopyTagText(char* to, size_t size, const char* text) {
  if (!to || size == 0) return;
  std::string s = text ? text : "";
  if (s.size() >= size) {
    size_t n = 0;
    if (textkit::IsValidUtf8(s)) {
      n = size - 1;
      while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;  // not inside a character
    } else {
      for (size_t len; n < s.size() && n + (len = textkit::CharLength(s.data() + n, s.size() - n)) < size;) n += len;
    }
    s.resize(n);
  }
  memcpy(to, s.c_str(), s.size() + 1);
}

HRESULT ReadMusicFactsWithin(const char* ansiPath, DWORD millis, MusicFacts* out) {
  if (!out) return E_POINTER;
  *out = MusicFacts();
  if (!ansiPath || !*ansiPath) return E_INVALIDARG;
  av_log_set_level(AV_LOG_QUIET);
  DWORD attrs = GetFileAttributesA(ansiPath);
  if (attrs == INVALID_FILE_ATTRIBUTES) return HRESULT_FROM_WIN32(GetLastError());
  if (attrs & FILE_ATTRIBUTE_DIRECTORY) return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
  ULONGLONG deadline = GetTickCount64() + millis;
  AVFormatContext* f = avformat_alloc_context();
  if (!f) return E_OUTOFMEMORY;
  f->interrupt_callback.callback = PastDeadline;
  f->interrupt_callback.opaque = &deadline;
  f->probesize = 1 << 20;
  f->max_analyze_duration = 10 * int64_t(AV_TIME_BASE);
  f->skip_estimate_duration_from_pts = 1;  // never a walk to the file's end
  // The file protocol takes UTF-8 names on Windows; a failed open frees the context.
  int err = avformat_open_input(&f, textkit::AnsiToUtf8(ansiPath).c_str(), nullptr, nullptr);
  if (err < 0) return err == AVERROR_EXIT ? kErrorFormat : FromAv(err);
  err = avformat_find_stream_info(f, nullptr);
  const int index = err < 0 ? -1 : av_find_best_stream(f, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  if (index < 0 || PastDeadline(&deadline)) {
    avformat_close_input(&f);
    return kErrorFormat;
  }
  const AVStream* s = f->streams[index];
  const AVCodecParameters* par = s->codecpar;
  lstrcpynA(out->container, f->iformat && f->iformat->name ? f->iformat->name : "", sizeof out->container);
  lstrcpynA(out->codec, avcodec_get_name(par->codec_id), sizeof out->codec);
  double seconds = 0;
  if (f->duration != AV_NOPTS_VALUE && f->duration > 0)
    seconds = f->duration / double(AV_TIME_BASE);
  else if (s->duration != AV_NOPTS_VALUE && s->duration > 0)
    seconds = s->duration * av_q2d(s->time_base);
  out->durationSeconds = std::isfinite(seconds) && seconds > 0 ? seconds : 0;
  // The stream's own rate (what it was made at), else the file's size over its time.
  out->bitRate = SaneBitRate(par->bit_rate);
  if (!out->bitRate) out->bitRate = SaneBitRate(f->bit_rate);
  out->sampleRate = SanePositive(par->sample_rate, 10000000);
  out->channels = SanePositive(par->ch_layout.nb_channels, 255);
  out->bitsPerSample = SanePositive(par->bits_per_coded_sample, 64);
  const struct {
    char* to;
    const char* key;
  } tags[] = {{out->title, "title"}, {out->artist, "artist"}, {out->album, "album"},
              {out->genre, "genre"}, {out->date, "date"},     {out->track, "track"}};
  for (const auto& t : tags) CopyTagText(t.to, kMaxTagText, Tag(f, s, t.key));
  avformat_close_input(&f);
  return S_OK;
}

}  // namespace moviekit
