// What the panes read of a QuickTime or MP4 movie before they hand it on: the video
// track's rate and the sample count of its timing table, for Motion-JPEG movies only.
// Headers only, every read bounds-checked: a broken file answers 0.
#pragma once
#include <windows.h>

// The sample count of the first time-to-sample entry of a Motion-JPEG video track; 0 on
// every failure.
UINT ReadMovieFlag(LPCSTR lpszPath);
// 1 with the frame rate as *pnNumerator / *pnDenominator (the denominator is the video
// media's time scale), 0 on failure; both outs are 0 first. The movie's length in
// seconds is *pnDenominator x ReadMovieFlag / *pnNumerator.
int ReadMovieInfo(LPCSTR lpszPath, UINT* pnNumerator, UINT* pnDenominator);

// What the upload plug-in reads of a clip beyond the two entry points above. The atoms
// are walked again, every child inside its parent and every field inside its atom: a
// size that reaches past either refuses the file.
struct CMovieClipFacts {
  BOOL bMotionJpeg;   // the first sample description is "jpeg" or "mjpa"
  char szFormat[5];   // that description's format
  BOOL bHasMovie;     // a "moov" atom was found
  UINT nCreation;     // seconds since 1904 (the private atom's value when it holds one)
  BOOL bPrivateTime;  // nCreation came from the "mvml" atom
  UINT nTimeScale;    // the video media's "mdhd"
  UINT nMediaDuration;
  UINT nFirstSampleCount;
  ULONGLONG nSampleTotal;
  ULONGLONG nFileSize;
  // The video sample table: offsets and sizes of its atoms, 0 when missing.
  ULONGLONG stsc, stsz, stco;
  UINT stscSize, stszSize, stcoSize;
};

// TRUE with the facts filled when the file's atoms are sound (any video format).
BOOL ReadMovieClipFacts(LPCSTR lpszPath, CMovieClipFacts* pFacts);
// The recording time as local time; FALSE without a "moov" atom. A zero or impossible
// value gives an all-zero time and TRUE.
BOOL ReadMovieRecordTime(const CMovieClipFacts& facts, SYSTEMTIME* pTime);
// The duration in 100-nanosecond units (Motion-JPEG only); FALSE when the movie gives none.
BOOL ReadMovieDuration(const CMovieClipFacts& facts, LONGLONG* pDuration);
// The same in nanoseconds, computed without overflow; FALSE when there is none.
BOOL ReadMovieDurationNs(const CMovieClipFacts& facts, ULONGLONG* pNs);
// Where sample i lies in the file; FALSE when the tables don't say or the sample reaches
// past the file's end.
BOOL LocateMovieSample(LPCSTR lpszPath, const CMovieClipFacts& facts, UINT nSample, ULONGLONG* pOffset, UINT* pSize);
