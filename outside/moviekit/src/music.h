// The music facts of a sound file through the demuxer, bounded in time: what ReadMusicFacts
// does, with the deadline and the cutting of tag texts open to the tests.
#pragma once

#include <cstddef>

#include "moviekit/moviekit.h"

namespace moviekit {

// ReadMusicFacts with a deadline of `millis` from now.
HRESULT ReadMusicFactsWithin(const char* ansiPath, DWORD millis, MusicFacts* out);

// Copies a tag's text into `size` bytes with its terminator, cut on a character boundary:
// of UTF-8 when it is UTF-8, else of code page 932.
void CopyTagText(char* to, size_t size, const char* text);

}  // namespace moviekit
