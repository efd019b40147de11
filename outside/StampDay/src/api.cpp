// StampDay.dll: the exports the toolbar's date imprint binds.
#include <windows.h>

#include <Kitlib2/Kitlib2.h>
#include <imaging/com.h>
#include <tooldll/tooldll.h>

#include "StampDay/StampDay.h"

// Nonzero for a picture that has a shooting date.
extern "C" __declspec(dllexport) int WINAPI IsDateTime(LPCSTR lpszPath) {
  return stampday::ShotDateOf(lpszPath) ? 1 : 0;
}

// 0 when the copy with the date was written, else one of the results of StampDay.h.
extern "C" __declspec(dllexport) int WINAPI StampDayTimeImage(LPCSTR lpszSource, LPCSTR lpszOutput, int nOption) {
  imaging::ComScope com;
  unsigned long result = stampday::StampFile(lpszSource, lpszOutput, nOption, stampday::LoadSettings());
  if (result == stampday::kDone && CMGetProfileString("Tool1", "FirstPath", "").IsEmpty())
    tooldll::WriteFirstPath(lpszOutput);
  return int(result);
}
