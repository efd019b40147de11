#include "cutrules.h"

#include <cmath>

#include "textkit/text.h"

namespace moviekit {

namespace {

// Time stamps of the containers round to their clocks (90 kHz, the track's scale).
const double kSlack = 1e-3;

double KeyAtOrBefore(const std::vector<double>& keys, double t) {
  double found = keys.front();
  for (double k : keys)
    if (k <= t + kSlack) found = k;
  return found;
}

}  // namespace

CutPlan PlanCut(const std::vector<double>& keys, double duration, double from, double to) {
  CutPlan plan;
  if (keys.empty() || std::isnan(from) || std::isnan(to)) return plan;
  if (duration > 0 && from >= duration - kSlack) return plan;
  plan.fromKey = KeyAtOrBefore(keys, from < 0 ? 0 : from);
  bool toEnd = to <= 0 || (duration > 0 && to >= duration - kSlack);
  if (!toEnd) {
    plan.toKey = KeyAtOrBefore(keys, to);
    if (plan.toKey <= plan.fromKey + kSlack) return plan;
  }
  plan.valid = true;
  return plan;
}

const char* MuxerFor(const std::string& demuxer, const std::string& targetExtension) {
  static const struct {
    const char* extension;
    const char* muxer;
  } kByExtension[] = {{".mts", "mpegts"}, {".m2ts", "mpegts"}, {".ts", "mpegts"}, {".mp4", "mp4"},
                      {".m4v", "mp4"},    {".mov", "mov"},     {".qt", "mov"},    {".avi", "avi"},
                      {".mpg", "vob"},    {".mpeg", "vob"},    {".mod", "vob"},   {".vob", "vob"}};
  std::string ext = textkit::LowerAscii(targetExtension);
  for (const auto& row : kByExtension)
    if (ext == row.extension) return row.muxer;
  static const struct {
    const char* demuxer;
    const char* muxer;
  } kByDemuxer[] = {{"mpegts", "mpegts"}, {"mov,mp4,m4a,3gp,3g2,mj2", "mov"}, {"avi", "avi"}, {"mpeg", "vob"}};
  for (const auto& row : kByDemuxer)
    if (demuxer == row.demuxer) return row.muxer;
  return nullptr;
}

int TsPacketSize(const unsigned char* head, size_t size) {
  for (int packet : {188, 192}) {
    size_t sync = packet == 192 ? 4 : 0;
    bool all = size >= sync + 2 * size_t(packet) + 1;
    for (int i = 0; all && i < 3; ++i) all = head[sync + size_t(i) * packet] == 0x47;
    if (all) return packet;
  }
  return 0;
}

}  // namespace moviekit
