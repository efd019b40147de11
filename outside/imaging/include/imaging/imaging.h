// The imaging engine of the outside libraries (namespace imaging).
//
// Thread safety: every free function may be called from any thread at the same
// time; they share no mutable state. COM is initialised per call when the
// thread has not done so (hold a ComScope on busy threads). A Dib or Exif object
// belongs to one thread at a time.
#pragma once

#include "imaging/com.h"
#include "imaging/decode.h"
#include "imaging/dib.h"
#include "imaging/encode.h"
#include "imaging/exif.h"
#include "imaging/metadata.h"
#include "imaging/movie.h"
#include "imaging/movieprobe.h"
#include "imaging/output.h"
#include "imaging/phash.h"
#include "imaging/shellicon.h"
#include "imaging/transform.h"
