// The shooting-date fix: every listed picture's date set to one date and time, or shifted
// by the same amount (a camera clock set wrong), in its Exif date tags.
#pragma once
#include <windows.h>

#include <imaging/exif.h>

#include <optional>
#include <string>
#include <vector>

namespace fixshotdate {

// The dialog's controls.
enum : WORD {
  kFilesId = 1001,
  kSetId = 1002,
  kDateId = 1003,
  kShiftId = 1004,
  kDaysId = 1005,
  kHoursId = 1006,
  kMinutesId = 1007,
  kSecondsId = 1008,
  kAllTagsId = 1009,
};

// "Tool1\FixShotDate": "Mode" (0 set, 1 shift), "Days", "Hours", "Minutes", "Seconds" (the
// last shift), "AllTags" (1: the digitized and modified dates follow). Out of range: 0.
struct Settings {
  int mode = 0;
  int days = 0, hours = 0, minutes = 0, seconds = 0;
  bool allTags = true;
};
Settings LoadSettings();
void SaveSettings(const Settings& settings);

struct Plan {
  bool shift = false;
  imaging::ExifDateTime date;  // when setting
  int64_t shiftSeconds = 0;    // when shifting
  bool allTags = true;
};
// The shift of the settings in seconds.
int64_t ShiftSeconds(const Settings& settings);

// The new date of a picture shot at old; none when it would leave the years 1601 to 9999.
std::optional<imaging::ExifDateTime> NewDate(const imaging::ExifDateTime& old, const Plan& plan);

// One picture: its date tags rewritten (DateTimeOriginal, and with allTags the digitized
// and modified dates; a picture without DateTimeOriginal gets the tag its date came from).
// The file is written through a temporary file. S_OK, or why not.
HRESULT FixFile(const std::string& path, const Plan& plan);

struct RunResult {
  int changed = 0;
  int failed = 0;
  std::string first;  // the first changed file
};
RunResult FixFiles(const std::vector<std::string>& paths, const Plan& plan);

}  // namespace fixshotdate
