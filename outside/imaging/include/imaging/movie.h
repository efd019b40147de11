// A still frame of a movie: through the movie kit (MP4, MOV, AVI, MPEG, MPEG-TS), else
// through DirectShow (source, decoder, sample grabber, null renderer) for what the kit
// cannot read. Under Wine 8 each DirectShow graph that decodes leaves about 1.5 MB behind,
// hence the kit first. The work runs on its own thread and the caller waits at most
// timeoutMs: a decoder that hangs costs the caller the timeout, never more (the abandoned
// thread ends on its own and frees what it holds).
#pragma once

#include <windows.h>

#include "imaging/dib.h"

namespace imaging {

struct MovieInfo {
  int width = 0;            // the video's frame size
  int height = 0;
  double durationSeconds = 0;
};

// The frame at `atSeconds` (negative: a third into the movie, at most 10 s),
// fitted into maxWidth x maxHeight (0 x 0: full size). S_OK;
// HRESULT_FROM_WIN32(ERROR_TIMEOUT) when the time ran out; VFW_E_* or
// E_FAIL when the file can't be played. Callers draw a kind icon on failure.
HRESULT GrabMovieFrame(const char* path, int maxWidth, int maxHeight, Dib* out, MovieInfo* info = nullptr,
                       DWORD timeoutMs = 5000, double atSeconds = -1, int bitCount = 24);

}  // namespace imaging
