#include "MovieHeaderReader.h"

#include <imaging/movieprobe.h>

#include <cmath>
#include <string>

namespace {

// The headers of a Motion-JPEG QuickTime or MP4 movie the panes accept; false for any
// other file.
bool ReadMotionJpegHeader(LPCSTR lpszPath, imaging::MovieHeader* pHeader) {
  if (!lpszPath || FAILED(imaging::ProbeMovie(lpszPath, pHeader))) return false;
  if (pHeader->container != "MP4" && pHeader->container != "QuickTime") return false;
  // 64-bit sizes and panorama tracks are not movies of the cameras.
  if (pHeader->wideBoxes || pHeader->panorama) return false;
  return pHeader->codec == "jpeg" || pHeader->codec == "mjpa";
}

}  // namespace

UINT ReadMovieFlag(LPCSTR lpszPath) {
  imaging::MovieHeader header;
  if (!ReadMotionJpegHeader(lpszPath, &header)) return 0;
  return header.firstSampleCount;
}

int ReadMovieInfo(LPCSTR lpszPath, UINT* pnNumerator, UINT* pnDenominator) {
  if (pnNumerator) *pnNumerator = 0;
  if (pnDenominator) *pnDenominator = 0;
  if (!pnNumerator || !pnDenominator) return 0;
  imaging::MovieHeader header;
  if (!ReadMotionJpegHeader(lpszPath, &header)) return 0;
  if (header.sampleTotal == 0 || header.videoTimeScale == 0 || header.videoDuration == 0) return 0;
  long double rate = (long double)header.videoTimeScale * header.sampleTotal / header.videoDuration;
  long double numerator = std::floor(rate * header.videoTimeScale);
  // A rate that does not fit is no movie of a camera: refused rather than cut.
  if (numerator < 1 || numerator > 4294967295.0L) return 0;
  *pnNumerator = (UINT)numerator;
  *pnDenominator = header.videoTimeScale;
  return 1;
}
