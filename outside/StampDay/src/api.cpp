// StampDay.dll: the exports the toolbar's date imprint binds.
#include <windows.h>

#include <imaging/com.h>
#include <picturetool/Tool.h>

#include "StampDay/StampDay.h"

// Nonzero for a picture that has a shooting date.
extern "C" __declspec(dllexport) int WINAPI IsDateTime(LPCSTR lpszPath) {
  return stampday::ShotDateOf(lpszPath) ? 1 : 0;
}

// 0 when the copy with the date was written, else one of the results of StampDay.h.
extern "C" __declspec(dllexport) int WINAPI StampDayTimeImage(LPCSTR lpszSource, LPCSTR lpszOutput, int nOption) {
  imaging::ComScope com;
  unsigned long result = stampday::StampFile(lpszSource, lpszOutput, nOption, stampday::LoadSettings());
  if (result == stampday::kDone && lpszOutput) picturetool::WriteFirstOutput(lpszOutput);
  return int(result);
}
