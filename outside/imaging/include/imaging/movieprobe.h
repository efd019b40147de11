// What a movie file's container says about it, read from its headers only (no
// decoding, no DirectShow): MP4 and QuickTime, AVI, ASF/WMV and MPEG program or
// elementary streams. Every read is bounds-checked; a broken file gives a
// failure, never a read past the end.
#pragma once

#include <windows.h>

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
};

// S_OK with at least the container filled; a movie without a video stream has a
// zero size. HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) for a missing file,
// WINCODEC_ERR_UNKNOWNIMAGEFORMAT for a file of none of these kinds.
HRESULT ProbeMovie(const char* path, MovieHeader* out);

}  // namespace imaging
