// What a movie file's container says about it, read from its headers only (no
// decoding, no DirectShow): MP4 and QuickTime, AVI, ASF/WMV and MPEG program or
// elementary streams. Every read is bounds-checked; a broken file gives a
// failure, never a read past the end.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace imaging {

struct MovieHeader {
  std::string container;  // "MP4", "QuickTime", "AVI", "ASF", "MPEG"
  std::string codec;      // the video codec: a four-character code ("avc1", "MJPG", "WMV2")
                          // or "MPEG-1" / "MPEG-2"; empty when the headers don't say
  int width = 0;          // frame size of the video stream
  int height = 0;
  double durationSeconds = 0;
  std::optional<SYSTEMTIME> created;  // UTC recording time (MP4/QuickTime "mvhd"), when set
  // MP4/QuickTime: the video track's media clock ("mdhd" version 0) and its time-to-sample
  // table ("stts"); 0 when the track or the box is missing.
  uint32_t videoTimeScale = 0;
  uint32_t videoDuration = 0;
  uint32_t firstSampleCount = 0;  // the sample count of the first "stts" entry
  uint64_t sampleTotal = 0;       // the sum of the entries' sample counts
  bool panorama = false;          // a track handled as QuickTime VR or a panorama
  bool wideBoxes = false;         // a box with a 64-bit size at the top or in "moov"
};

// S_OK with at least the container filled; a movie without a video stream has a
// zero size. HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) for a missing file,
// WINCODEC_ERR_UNKNOWNIMAGEFORMAT for a file of none of these kinds.
HRESULT ProbeMovie(const char* path, MovieHeader* out);
// The same for a file's bytes already in memory.
HRESULT ProbeMovieBytes(const void* data, size_t size, MovieHeader* out);

}  // namespace imaging
