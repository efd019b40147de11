// The stream-copy cut: a part of a movie into a new file of the same container, the
// packets copied as they are (no decoding, no loss), and the key frames it can cut at.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/opt.h>
}

#include "cutrules.h"
#include "decoder.h"
#include "textkit/path.h"
#include "textkit/text.h"

namespace moviekit {

namespace {

const double kSlack = 1e-3;

struct Input {
  AVFormatContext* format = nullptr;
  int video = -1;
  double start = 0;
  ~Input() { avformat_close_input(&format); }

  HRESULT Open(const char* path) {
    HRESULT hr = OpenMovieFile(path, &format);
    if (FAILED(hr)) return hr;
    video = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video < 0) return kErrorNoVideo;
    start = StartSeconds(format, video);
    return S_OK;
  }
  double Seconds(int64_t t, int stream) const {
    if (t == AV_NOPTS_VALUE) return NAN;
    return t * av_q2d(format->streams[stream]->time_base) - start;
  }
  // A packet's time: its presentation time, else its decoding time (AVI gives only that).
  double Seconds(const AVPacket* p) const {
    return Seconds(p->pts != AV_NOPTS_VALUE ? p->pts : p->dts, p->stream_index);
  }
  double Duration() const { return format->duration > 0 ? format->duration / double(AV_TIME_BASE) : 0; }
};

struct Packet {
  AVPacket* p = av_packet_alloc();
  ~Packet() { av_packet_free(&p); }
};

// The times of the picture stream's key frames, ascending.
HRESULT ScanKeyFrames(Input& in, std::vector<double>* keys) {
  Packet packet;
  if (!packet.p) return E_OUTOFMEMORY;
  while (av_read_frame(in.format, packet.p) >= 0) {
    if (packet.p->stream_index == in.video && (packet.p->flags & AV_PKT_FLAG_KEY)) {
      double t = in.Seconds(packet.p);
      if (!std::isnan(t)) keys->push_back(t);
    }
    av_packet_unref(packet.p);
  }
  // Containers hand packets over in decoding order; key frames are shown in time order.
  std::sort(keys->begin(), keys->end());
  return keys->empty() ? kErrorDecode : S_OK;
}

int PacketSizeOf(const char* path) {
  unsigned char head[600] = {};
  DWORD got = 0;
  HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 0;
  ReadFile(h, head, sizeof head, &got, nullptr);
  CloseHandle(h);
  return TsPacketSize(head, got);
}

// The file being written: deleted unless it was moved into place.
struct TempFile {
  std::string path;
  ~TempFile() {
    if (!path.empty()) DeleteFileA(path.c_str());
  }
};

struct Output {
  AVFormatContext* format = nullptr;
  ~Output() {
    if (format && format->pb) avio_closep(&format->pb);
    avformat_free_context(format);
  }
};

}  // namespace

HRESULT ReadKeyFrames(const char* path, double* times, int capacity, int* count) {
  if (!count || (capacity > 0 && !times)) return E_POINTER;
  *count = 0;
  Input in;
  HRESULT hr = in.Open(path);
  if (FAILED(hr)) return hr;
  std::vector<double> keys;
  hr = ScanKeyFrames(in, &keys);
  if (FAILED(hr)) return hr;
  *count = int(keys.size());
  for (int i = 0; i < capacity && i < int(keys.size()); ++i) times[i] = keys[i];
  return S_OK;
}

HRESULT CutMovie(const char* source, const char* target, double fromSeconds, double toSeconds) {
  if (!source || !*source || !target || !*target) return E_INVALIDARG;
  if (GetFileAttributesA(target) != INVALID_FILE_ATTRIBUTES) return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
  std::vector<double> keys;
  double duration = 0;
  {
    Input scan;
    HRESULT hr = scan.Open(source);
    if (SUCCEEDED(hr)) hr = ScanKeyFrames(scan, &keys);
    if (FAILED(hr)) return hr;
    duration = scan.Duration();
  }
  CutPlan plan = PlanCut(keys, duration, fromSeconds, toSeconds);
  if (!plan.valid) return E_INVALIDARG;
  // The first picture is shown at the part's 0; pictures decoded ahead of it get negative
  // decoding times, which the muxers keep (an edit list) or shift as their container needs.
  double offset = plan.fromKey;

  Input in;
  HRESULT hr = in.Open(source);
  if (FAILED(hr)) return hr;
  const char* muxer = MuxerFor(in.format->iformat->name, textkit::ExtensionOf(target));
  if (!muxer) return kErrorFormat;

  // A name of our own beside the target, so a half-written part never stands under its name.
  std::string folder = textkit::FolderOf(target);
  char temp[MAX_PATH] = {};
  if (!GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "cut", 0, temp))
    return HRESULT_FROM_WIN32(GetLastError());
  TempFile file{temp};

  Output out;
  if (avformat_alloc_output_context2(&out.format, nullptr, muxer, nullptr) < 0 || !out.format) return kErrorFormat;
  std::vector<int> map(in.format->nb_streams, -1);
  std::vector<bool> done(in.format->nb_streams, true);
  for (unsigned i = 0; i < in.format->nb_streams; ++i) {
    const AVStream* from = in.format->streams[i];
    AVMediaType type = from->codecpar->codec_type;
    // Pictures and sound; data streams of the camera's own are not carried over.
    if (type != AVMEDIA_TYPE_VIDEO && type != AVMEDIA_TYPE_AUDIO) continue;
    AVStream* to = avformat_new_stream(out.format, nullptr);
    if (!to || avcodec_parameters_copy(to->codecpar, from->codecpar) < 0) return E_OUTOFMEMORY;
    to->codecpar->codec_tag = 0;  // the muxer picks its own tag for the codec
    to->time_base = from->time_base;
    map[i] = to->index;
    done[i] = false;
  }
  if (std::string(muxer) == "mpegts")
    av_opt_set_int(out.format->priv_data, "mpegts_m2ts_mode", PacketSizeOf(source) == 192 ? 1 : 0, 0);
  if (avio_open(&out.format->pb, textkit::AnsiToUtf8(temp).c_str(), AVIO_FLAG_WRITE) < 0)
    return HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
  if (avformat_write_header(out.format, nullptr) < 0) return kErrorFormat;

  Packet packet;
  if (!packet.p) return E_OUTOFMEMORY;
  bool started = false;
  long pictures = 0;
  int error = 0;
  auto allDone = [&] {
    for (bool d : done)
      if (!d) return false;
    return true;
  };
  while (!allDone() && av_read_frame(in.format, packet.p) >= 0) {
    AVPacket* p = packet.p;
    int i = p->stream_index;
    double t = in.Seconds(p);
    bool keep = false;
    if (i < int(map.size()) && map[i] >= 0 && !done[i]) {
      bool ended = plan.toKey >= 0 && !std::isnan(t) && t >= plan.toKey - kSlack;
      if (i == in.video) {
        bool key = (p->flags & AV_PKT_FLAG_KEY) != 0;
        if (!started) started = key && std::fabs(t - plan.fromKey) < kSlack;
        if (started && key && ended)
          done[i] = true;
        else
          // Pictures shown before the first one lean on the part before: they stay there.
          keep = started && !(t < plan.fromKey - kSlack);
      } else if (ended) {
        done[i] = true;
      } else {
        keep = !std::isnan(t) && t >= plan.fromKey - kSlack;
      }
    }
    if (keep) {
      AVStream* from = in.format->streams[i];
      int64_t shift = llround((offset + in.start) / av_q2d(from->time_base));
      if (p->pts != AV_NOPTS_VALUE) p->pts -= shift;
      if (p->dts != AV_NOPTS_VALUE) p->dts -= shift;
      p->stream_index = map[i];
      p->pos = -1;
      av_packet_rescale_ts(p, from->time_base, out.format->streams[map[i]]->time_base);
      if (i == in.video) ++pictures;
      error = av_interleaved_write_frame(out.format, p);
      if (error < 0) break;
    }
    av_packet_unref(p);
  }
  av_packet_unref(packet.p);
  if (error < 0) return HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
  if (av_write_trailer(out.format) < 0) return HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
  if (avio_closep(&out.format->pb) < 0) return HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
  if (!pictures) return kErrorDecode;
  // Into place, never over a file that came meanwhile.
  if (!MoveFileExA(temp, target, MOVEFILE_WRITE_THROUGH)) return HRESULT_FROM_WIN32(GetLastError());
  file.path.clear();
  return S_OK;
}

}  // namespace moviekit
