// The decisions of the stream-copy cut, plain functions the tests call without a movie.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace moviekit {

// Where a cut of [from, to) starts and ends, on key frames (seconds from the movie's start).
struct CutPlan {
  bool valid = false;
  double fromKey = 0;
  double toKey = -1;  // < 0: to the end
};

// Both ends go back to the key frame at or before them, so parts cut at one time join
// without gap or overlap; to <= 0, or at or past `duration` (0: unknown), runs to the end.
// Invalid: no key frames, not-a-number times, a start at or past the end, or nothing left
// between the ends.
CutPlan PlanCut(const std::vector<double>& keys, double duration, double from, double to);

// The muxer writing the source's container again: by the target's extension first
// (".mts" and ".m2ts" are MPEG-TS), else by the demuxer's name; null when none of ours does.
const char* MuxerFor(const std::string& demuxer, const std::string& targetExtension);

// The packet size of an MPEG-TS stream from its first bytes: 188, 192 (AVCHD's time-stamped
// packets) or 0 when neither pattern holds over three packets.
int TsPacketSize(const unsigned char* head, size_t size);

}  // namespace moviekit
