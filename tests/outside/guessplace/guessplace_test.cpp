// GuessPlace.dll: each picture without GPS gets the position of the GPS picture of its
// folder nearest in time, within 30 minutes; pictures with GPS and other folders' pictures
// are left alone.
#include <gtest/gtest.h>

#include <GuessPlace/GuessPlace.h>
#include <ICGBrowser.h>
#include <Kitlib2/Kitlib2.h>
#include <dialogwatch.h>
#include <imaging/exif.h>
#include <library.h>
#include <otherwindows.h>
#include <profileroot.h>

#include "fixtures.h"

using imgtest::ReadAll;
using imgtest::ScratchDir;

namespace {

typedef long(WINAPI* PFN_GUESS_OPEN)(int nMode, CWnd* pPane, CGFileInfoList* pList);

struct Library {
  testsupport::LoadedLibrary dll{"GuessPlace.dll"};
  PFN_GUESS_OPEN open = dll.Export<PFN_GUESS_OPEN>("OpenWindow");
  PFN_GUESS_OPEN openDrop = dll.Export<PFN_GUESS_OPEN>("OpenDropWindow");
};

// A copy of a fixture in folder, shot at when (every date tag), or undated when null.
std::string Shot(const std::string& folder, const char* fixture, const char* name, const char* when) {
  std::string path = folder + "\\" + name;
  EXPECT_TRUE(CopyFileA(testsupport::Fixture(fixture).c_str(), path.c_str(), FALSE)) << path;
  if (when) {
    EXPECT_EQ(imaging::WriteDateTime(path.c_str(), *imaging::ExifDateTime::Parse(when),
                                     imaging::kDateOriginal | imaging::kDateDigitized | imaging::kDateModified),
              S_OK);
  }
  return path;
}

// A fresh folder of pictures: two GPS pictures (Tokyo at 10:00, Sydney at 11:00) and
// pictures without GPS around them; a GPS picture in a sub-folder that must not count.
struct Place {
  std::string dir = ScratchDir() + "\\" + std::to_string(GetTickCount()) + "_" + std::to_string(++count);
  std::string tokyo, sydney;
  static int count;
  Place() {
    CreateDirectoryA(dir.c_str(), nullptr);
    CreateDirectoryA((dir + "\\other").c_str(), nullptr);
    tokyo = Shot(dir, "exif_full.jpg", "gps_tokyo.jpg", "2024:05:01 10:00:00");
    sydney = Shot(dir, "exif_south_west.jpg", "gps_sydney.jpg", "2024:05:01 11:00:00");
    Shot(dir + "\\other", "exif_full.jpg", "gps_elsewhere.jpg", "2024:05:01 12:00:00");
    Shot(dir, "exif_nothumb.jpg", "a_near_tokyo.jpg", "2024:05:01 10:20:00");
    Shot(dir, "exif_nothumb.jpg", "b_near_sydney.jpg", "2024:05:01 10:45:00");
    Shot(dir, "exif_nothumb.jpg", "c_between.jpg", "2024:05:01 10:30:00");
    Shot(dir, "exif_nothumb.jpg", "d_far.jpg", "2024:05:01 12:00:01");
    Shot(dir, "exif_nothumb.jpg", "e_day_before.jpg", "2024:04:30 10:00:00");
    Shot(dir, "plain.jpg", "f_undated.jpg", nullptr);
  }
  std::string operator[](const char* name) const { return dir + "\\" + name; }
};
int Place::count = 0;

std::optional<imaging::GpsInfo> GpsOf(const std::string& path) {
  imaging::Exif e;
  if (!e.Load(path.c_str())) return std::nullopt;
  return e.Gps();
}

// A message box of ours with this caption is up (a dialog without the window's list).
bool ReportShown(const char* caption) {
  for (HWND w : testsupport::WindowsOf(GetCurrentProcessId(), "#32770")) {
    char text[256] = "";
    GetWindowTextA(w, text, sizeof text);
    if (!lstrcmpA(text, caption) && !GetDlgItem(w, guessplace::kListId)) return true;
  }
  return false;
}

}  // namespace

TEST(GuessPlace, NearestGpsPictureOfTheFolderWithinHalfAnHour) {
  Place place;
  std::vector<guessplace::Proposal> got = guessplace::Propose({place.dir});
  const struct {
    const char* name;
    const char* from;  // "" none
    int64_t gap;
  } expected[] = {
      {"a_near_tokyo.jpg", "gps_tokyo.jpg", 20 * 60},
      {"b_near_sydney.jpg", "gps_sydney.jpg", 15 * 60},
      {"c_between.jpg", "gps_tokyo.jpg", 30 * 60},  // a tie at the limit: the earlier one
      {"d_far.jpg", "", 0},                         // an hour and a second from Sydney
      {"e_day_before.jpg", "", 0},
  };
  ASSERT_EQ(got.size(), std::size(expected));  // no GPS picture, no undated one
  for (size_t i = 0; i < got.size(); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(got[i].path, place[expected[i].name]);
    EXPECT_EQ(got[i].found, *expected[i].from != 0);
    if (got[i].found) {
      EXPECT_EQ(got[i].from, place[expected[i].from]);
      EXPECT_EQ(got[i].gapSeconds, expected[i].gap);
    }
  }
  // Named files: only those; a picture with GPS among them proposes nothing.
  got = guessplace::Propose({place["d_far.jpg"], place["gps_tokyo.jpg"], place["a_near_tokyo.jpg"]});
  ASSERT_EQ(got.size(), 2u);
  EXPECT_FALSE(got[0].found);
  EXPECT_EQ(got[1].from, place["gps_tokyo.jpg"]);
}

TEST(GuessPlace, PositionsWrittenIntoTheChosenPictures) {
  Place place;
  const std::vector<uint8_t> tokyoBytes = ReadAll(place.tokyo), farBytes = ReadAll(place["d_far.jpg"]);
  std::vector<guessplace::Proposal> proposals = guessplace::Propose({place.dir});
  guessplace::WriteResult r = guessplace::WriteProposals(proposals, {});
  EXPECT_EQ(r.written, 3);
  EXPECT_EQ(r.failed, 0);
  EXPECT_EQ(r.first, place["a_near_tokyo.jpg"]);
  const struct {
    const char* name;
    double latitude, longitude;
  } cases[] = {
      {"a_near_tokyo.jpg", 35.6586, 139.7454},
      {"b_near_sydney.jpg", -33.8568, -151.2153},
      {"c_between.jpg", 35.6586, 139.7454},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto gps = GpsOf(place[c.name]);
    ASSERT_TRUE(gps && gps->latitude && gps->longitude);
    EXPECT_NEAR(gps->latitude->decimal, c.latitude, 1e-6);
    EXPECT_NEAR(gps->longitude->decimal, c.longitude, 1e-6);
    imaging::Exif e;
    ASSERT_TRUE(e.Load(place[c.name].c_str()));
    EXPECT_EQ(e.Model(), "NV-S20");  // the rest of the Exif stays
    EXPECT_EQ(e.DateTimeOriginal()->ToString().substr(0, 10), "2024:05:01");
  }
  EXPECT_FALSE(GpsOf(place["d_far.jpg"]));
  EXPECT_EQ(ReadAll(place["d_far.jpg"]), farBytes);
  EXPECT_EQ(ReadAll(place.tokyo), tokyoBytes);
  // Once written, nothing is proposed for them again.
  for (const guessplace::Proposal& p : guessplace::Propose({place.dir})) EXPECT_FALSE(p.found) << p.path;
}

TEST(GuessPlace, WindowWritesOnConfirmationOnly) {
  testsupport::ScopedProfileRoot profile("guessplace");
  Library lib;
  ASSERT_TRUE(lib.open && lib.openDrop);
  Place place;
  const char kCaption[] = "撮影場所の推定";
  auto isWindow = [](HWND box) { return GetDlgItem(box, guessplace::kListId) != NULL; };
  CGFileInfoList dropped;
  for (const char* name : {"a_near_tokyo.jpg", "d_far.jpg"}) {
    CGFILEINFO info;
    info.path = place[name].c_str();
    dropped.AddTail(info);
  }
  const std::vector<uint8_t> nearBytes = ReadAll(place["a_near_tokyo.jpg"]);
  {
    int rows = -1, chosen = -1;
    testsupport::DialogWatch watch(kCaption, isWindow, [&](HWND box) {
      rows = int(SendDlgItemMessageA(box, guessplace::kListId, LB_GETCOUNT, 0, 0));
      chosen = int(SendDlgItemMessageA(box, guessplace::kListId, LB_GETSELCOUNT, 0, 0));
      PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(lib.openDrop(0, nullptr, &dropped), 0);
    EXPECT_TRUE(watch.Acted());
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(chosen, 1);  // the one with a proposal
  }
  EXPECT_EQ(ReadAll(place["a_near_tokyo.jpg"]), nearBytes);

  CMWriteProfileString("Tool1", "FirstPath", "");
  {
    // Write, acknowledge the report, close once the report is gone.
    testsupport::DialogWatch report(
        kCaption, [](HWND box) { return GetDlgItem(box, guessplace::kListId) == NULL; },
        [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); }, 10000);
    testsupport::DialogWatch watch(kCaption, isWindow,
                                   [](HWND box) { PostMessageA(box, WM_COMMAND, guessplace::kWriteId, 0); });
    testsupport::DialogWatch closer(
        kCaption, [&](HWND box) { return report.Acted() && isWindow(box) && !ReportShown(kCaption); },
        [](HWND box) { PostMessageA(box, WM_COMMAND, IDCANCEL, 0); }, 10000);
    EXPECT_EQ(lib.openDrop(0, nullptr, &dropped), 0);
    EXPECT_TRUE(report.Acted());
  }
  auto gps = GpsOf(place["a_near_tokyo.jpg"]);
  ASSERT_TRUE(gps && gps->latitude);
  EXPECT_NEAR(gps->latitude->decimal, 35.6586, 1e-6);
  EXPECT_FALSE(GpsOf(place["d_far.jpg"]));
  EXPECT_EQ(std::string(CMGetProfileString("Tool1", "FirstPath", "")), place["a_near_tokyo.jpg"]);

  // Without files: the folder last read.
  CMWriteProfileString("Tool1\\GuessPlace", "Folder", place.dir.c_str());
  {
    std::string folder;
    int rows = -1;
    testsupport::DialogWatch watch(kCaption, isWindow, [&](HWND box) {
      char text[MAX_PATH];
      GetDlgItemTextA(box, guessplace::kFolderId, text, sizeof text);
      folder = text;
      rows = int(SendDlgItemMessageA(box, guessplace::kListId, LB_GETCOUNT, 0, 0));
      PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(lib.open(0, nullptr, nullptr), 0);
    EXPECT_EQ(folder, place.dir);
    EXPECT_EQ(rows, 4);  // a_near_tokyo has its position now; the other four are listed
  }
}
