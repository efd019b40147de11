#include "FixShotDate/FixShotDate.h"

#include <Kitlib2/Kitlib2.h>

namespace fixshotdate {

namespace {
const char kSection[] = "Tool1\\FixShotDate";

// A value in [-limit, limit], else 0.
int Bounded(const char* key, int limit) {
  int v = CMGetProfileInt(kSection, key, 0);
  return v >= -limit && v <= limit ? v : 0;
}
}  // namespace

Settings LoadSettings() {
  Settings s;
  s.mode = CMGetProfileInt(kSection, "Mode", 0) == 1 ? 1 : 0;
  s.days = Bounded("Days", 36500);
  s.hours = Bounded("Hours", 100000);
  s.minutes = Bounded("Minutes", 1000000);
  s.seconds = Bounded("Seconds", 10000000);
  s.allTags = CMGetProfileInt(kSection, "AllTags", 1) != 0;
  return s;
}

void SaveSettings(const Settings& s) {
  CMWriteProfileInt(kSection, "Mode", s.mode);
  CMWriteProfileInt(kSection, "Days", s.days);
  CMWriteProfileInt(kSection, "Hours", s.hours);
  CMWriteProfileInt(kSection, "Minutes", s.minutes);
  CMWriteProfileInt(kSection, "Seconds", s.seconds);
  CMWriteProfileInt(kSection, "AllTags", s.allTags ? 1 : 0);
}

int64_t ShiftSeconds(const Settings& s) {
  return int64_t(s.days) * 86400 + int64_t(s.hours) * 3600 + int64_t(s.minutes) * 60 + s.seconds;
}

std::optional<imaging::ExifDateTime> NewDate(const imaging::ExifDateTime& old, const Plan& plan) {
  if (!plan.shift) return plan.date.Seconds() ? std::optional<imaging::ExifDateTime>(plan.date) : std::nullopt;
  return old.Shifted(plan.shiftSeconds);
}

HRESULT FixFile(const std::string& path, const Plan& plan) {
  imaging::Exif exif;
  if (!exif.Load(path.c_str())) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
  auto old = exif.ShotDate();
  if (!old) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
  auto when = NewDate(*old, plan);
  if (!when) return E_INVALIDARG;
  unsigned tags = imaging::kDateOriginal;
  if (plan.allTags)
    tags |= imaging::kDateDigitized | imaging::kDateModified;
  else if (!exif.DateTimeOriginal())
    tags |= exif.DateTimeDigitized() ? imaging::kDateDigitized : imaging::kDateModified;
  return imaging::WriteDateTime(path.c_str(), *when, tags);
}

RunResult FixFiles(const std::vector<std::string>& paths, const Plan& plan) {
  RunResult r;
  for (const std::string& path : paths) {
    if (SUCCEEDED(FixFile(path, plan))) {
      if (!r.changed++) r.first = path;
    } else {
      ++r.failed;
    }
  }
  return r;
}

}  // namespace fixshotdate
