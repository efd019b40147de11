// FixShotDate.dll: dates set and shifted, read back; the rest of the Exif kept; Cancel
// changes nothing.
#include <gtest/gtest.h>

#include <FixShotDate/FixShotDate.h>
#include <ICGBrowser.h>
#include <Kitlib2/Kitlib2.h>
#include <dialogwatch.h>
#include <library.h>
#include <profileroot.h>

#include "fixtures.h"

using imaging::ExifDateTime;
using imgtest::ReadAll;
using imgtest::ScratchCopy;

namespace {

typedef int(WINAPI* PFN_TOOL_LIST)(CGFileInfoList* pList);

struct Library {
  testsupport::LoadedLibrary dll{"FixShotDate.dll"};
  PFN_TOOL_LIST fix = dll.Export<PFN_TOOL_LIST>("FixShotDate");
};

void Append(CGFileInfoList* list, const std::string& path) {
  CGFILEINFO info;
  info.path = path.c_str();
  list->AddTail(info);
}

ExifDateTime Date(const char* text) { return *ExifDateTime::Parse(text); }

std::string Tag(const std::string& path, std::optional<ExifDateTime> (imaging::Exif::*get)() const) {
  imaging::Exif e;
  if (!e.Load(path.c_str())) return "unreadable";
  auto d = (e.*get)();
  return d ? d->ToString() : "none";
}
std::string Original(const std::string& p) { return Tag(p, &imaging::Exif::DateTimeOriginal); }
std::string Digitized(const std::string& p) { return Tag(p, &imaging::Exif::DateTimeDigitized); }
std::string Modified(const std::string& p) { return Tag(p, &imaging::Exif::DateTime); }

}  // namespace

TEST(FixShotDate, NewDates) {
  fixshotdate::Plan set;
  set.date = Date("2001:02:03 04:05:06");
  const struct {
    const char* old;
    bool shift;
    int64_t seconds;
    const char* result;  // "" none
  } cases[] = {
      {"2024:02:28 23:30:00", true, 3600, "2024:02:29 00:30:00"},  // into a leap day
      {"2023:12:31 20:00:00", true, 9 * 3600, "2024:01:01 05:00:00"},
      {"2024:03:01 00:10:00", true, -20 * 60, "2024:02:29 23:50:00"},
      {"2024:05:06 07:08:09", true, -365LL * 86400, "2023:05:07 07:08:09"},
      {"9999:12:31 23:59:00", true, 120, ""},  // past the last year Exif writes
      {"1601:01:01 00:00:30", true, -60, ""},
      {"2024:05:06 07:08:09", false, 0, "2001:02:03 04:05:06"},
  };
  for (const auto& c : cases) {
    fixshotdate::Plan plan = set;
    plan.shift = c.shift;
    plan.shiftSeconds = c.seconds;
    auto got = fixshotdate::NewDate(Date(c.old), plan);
    EXPECT_EQ(got ? got->ToString() : "", c.result) << c.old << " " << c.seconds;
  }
}

TEST(FixShotDate, FilesSetAndShiftedKeepTheRest) {
  const std::string full = ScratchCopy("exif_full.jpg", "fix_full.jpg");
  const std::string only = ScratchCopy("exif_full.jpg", "fix_only.jpg");
  const std::string digitized = ScratchCopy("exif_digitized.jpg", "fix_digitized.jpg");
  const std::string plain = ScratchCopy("plain.jpg", "fix_plain.jpg");
  const std::vector<uint8_t> plainBytes = ReadAll(plain);

  fixshotdate::Plan shift;
  shift.shift = true;
  shift.shiftSeconds = -(2 * 3600 + 30 * 60);
  fixshotdate::RunResult r = fixshotdate::FixFiles({full, digitized, plain}, shift);
  EXPECT_EQ(r.changed, 2);
  EXPECT_EQ(r.failed, 1);
  EXPECT_EQ(r.first, full);
  EXPECT_EQ(Original(full), "2026:03:14 06:42:05");
  EXPECT_EQ(Digitized(full), "2026:03:14 06:42:05");
  EXPECT_EQ(Modified(full), "2026:03:14 06:42:05");
  EXPECT_EQ(Original(digitized), "none");  // a date is only rewritten where it stands
  EXPECT_EQ(Digitized(digitized), "2025:01:02 00:34:05");
  EXPECT_EQ(ReadAll(plain), plainBytes);

  fixshotdate::Plan set;
  set.date = Date("2020:10:20 10:20:30");
  set.allTags = false;
  r = fixshotdate::FixFiles({only}, set);
  EXPECT_EQ(r.changed, 1);
  EXPECT_EQ(Original(only), "2020:10:20 10:20:30");
  EXPECT_EQ(Digitized(only), "2026:03:14 09:12:05");  // left as it was
  EXPECT_EQ(Modified(only), "2026:03:14 09:12:05");

  imaging::Exif before, after;
  ASSERT_TRUE(before.Load(testsupport::Fixture("exif_full.jpg").c_str()));
  ASSERT_TRUE(after.Load(full.c_str()));
  EXPECT_EQ(after.Model(), before.Model());
  EXPECT_EQ(after.Thumbnail(), before.Thumbnail());
  ASSERT_TRUE(after.Gps() && after.Gps()->latitude);
  EXPECT_DOUBLE_EQ(after.Gps()->latitude->decimal, before.Gps()->latitude->decimal);
}

TEST(FixShotDate, DialogShiftsAndCancelKeepsTheFiles) {
  testsupport::ScopedProfileRoot profile("fixshotdate");
  Library lib;
  ASSERT_TRUE(lib.fix);
  const char kCaption[] = "撮影日時の修正";
  auto ready = [](HWND box) { return GetDlgItem(box, fixshotdate::kShiftId) != NULL; };
  const std::string a = ScratchCopy("exif_full.jpg", "dlg_a.jpg"), b = ScratchCopy("exif_nothumb.jpg", "dlg_b.jpg");
  CGFileInfoList list;
  Append(&list, a);
  Append(&list, b);
  const std::vector<uint8_t> aBytes = ReadAll(a), bBytes = ReadAll(b);
  {
    std::string shown;
    testsupport::DialogWatch watch(kCaption, ready, [&](HWND box) {
      char text[64];
      GetDlgItemTextA(box, fixshotdate::kDateId, text, sizeof text);
      shown = text;
      PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(lib.fix(&list), 2);
    EXPECT_TRUE(watch.Acted());
    EXPECT_EQ(shown, "2026:03:14 09:12:05");  // the first picture's date to start from
  }
  EXPECT_EQ(ReadAll(a), aBytes);
  EXPECT_EQ(ReadAll(b), bBytes);

  CMWriteProfileString("Tool1", "FirstPath", "");
  {
    testsupport::DialogWatch watch(kCaption, ready, [](HWND box) {
      CheckRadioButton(box, fixshotdate::kSetId, fixshotdate::kShiftId, fixshotdate::kShiftId);
      SetDlgItemTextA(box, fixshotdate::kDaysId, "1");
      SetDlgItemTextA(box, fixshotdate::kHoursId, " -2 ");
      SetDlgItemTextA(box, fixshotdate::kMinutesId, "");
      SetDlgItemTextA(box, fixshotdate::kSecondsId, "5");
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(lib.fix(&list), 1);
    EXPECT_TRUE(watch.Acted());
  }
  EXPECT_EQ(Original(a), "2026:03:15 07:12:10");
  EXPECT_EQ(Original(b), "2026:01:01 22:00:03");
  EXPECT_EQ(std::string(CMGetProfileString("Tool1", "FirstPath", "")), a);
  // The shift is kept for the next time.
  EXPECT_EQ(CMGetProfileInt("Tool1\\FixShotDate", "Mode", 0), 1);
  EXPECT_EQ(CMGetProfileInt("Tool1\\FixShotDate", "Hours", 0), -2);

  CGFileInfoList empty;
  EXPECT_EQ(lib.fix(&empty), 0);
}
