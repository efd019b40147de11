// The date stamp: a picture's shooting date drawn into a corner of a copy of it.
#pragma once
#include <windows.h>

#include <imaging/dib.h>
#include <imaging/exif.h>

#include <optional>
#include <string>

namespace stampday {

// Results of StampDayTimeImage. The toolbar names the first three groups (memory, a
// protected target, a full disk); the others it reports with the source's path.
enum : unsigned long {
  kDone = 0,
  kNoMemory = 0x80070008UL,
  kWriteProtected = 0x80070013UL,
  kTargetReadOnly = 0x8200000EUL,  // the output's place may not be written (access denied)
  kDiskFull = 0x80070070UL,
  kUndated = 0x82000002UL,      // no shooting date in the source
  kUnsupported = 0x82000004UL,  // a source or an output kind the stamp does not take
  kNotWritten = 0x82000006UL,   // any other failure to read the source or write the copy
  kSameFile = 0x82000007UL,     // the output would replace the source
  kExists = 0x82000008UL,       // a file of the output's name exists (never replaced)
};

// Where the date goes (the name prompt's option value).
enum Corner { kLowerRight = 0, kLowerLeft = 1, kUpperRight = 2, kUpperLeft = 3 };

// "Tool1\StampDay": "Format" (0 "2024/05/06", 1 "'24 5 6", 2 "2024/05/06 07:08"),
// "Color" (0x00BBGGRR), "Quality" (JPEG, 1..100); out-of-range values give the defaults.
struct Settings {
  int format = 0;
  COLORREF color = RGB(255, 150, 40);
  int quality = 95;
};
Settings LoadSettings();

// The date a picture was taken (Exif::ShotDate); none without one.
std::optional<imaging::ExifDateTime> ShotDateOf(const char* path);
std::string DateText(const imaging::ExifDateTime& when, int format);

// The rectangle a text of this size takes in the corner, a margin from the edges.
RECT StampRect(int width, int height, SIZE text, int corner);
// Draws text into the picture (GDI on a DIB section, antialiased, with a dark edge);
// false when the picture is empty or GDI fails.
bool DrawStamp(imaging::Dib* picture, const std::string& text, int corner, COLORREF color);

// A failure to write the output as a result above.
unsigned long ResultOfWrite(HRESULT hr);
// The whole job: the source's date drawn into a copy written to output (JPEG with the
// source's Exif, PNG, BMP or TIFF by the output's extension) through the checked
// temporary file of imaging::PlaceOutputFile; an existing output is never replaced.
unsigned long StampFile(const char* source, const char* output, int corner, const Settings& settings);

}  // namespace stampday
