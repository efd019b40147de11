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
