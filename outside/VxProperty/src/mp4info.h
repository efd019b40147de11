// The header boxes of MP4/MOV movies: creation time, length and frame size, read
// without decoding (bounded walk over the box tree; a broken file gives no values).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace vxprop {

struct MovieFacts {
  std::optional<int64_t> creationUnix;  // seconds since 1970, UTC; none when unset (0)
  double durationSeconds = 0;
  int width = 0;   // of the first track with a picture
  int height = 0;
};

// The movie's "moov" box body (without its 8-byte header).
bool ParseMovieBox(const uint8_t* data, size_t size, MovieFacts* out);
// Finds "moov" among the file's top-level boxes (at the start or the end).
bool ReadMovieFacts(const char* path, MovieFacts* out);
// Extensions of the files worth looking into: .mp4 .m4v .mov .3gp .3g2 .qt.
bool IsMovieBoxPath(const char* path);

}  // namespace vxprop
