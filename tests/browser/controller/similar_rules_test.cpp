// The decisions of the similar-image commands and of the music-card program.
#include <gtest/gtest.h>

#include <VxGUIDB/VxGUIDBDefs.h>
#include <VxResourceIds.h>

#include "SimilarRules.h"

TEST(SimilarRules, CallbackRecordsEachOutcome) {
  VXSIMILARREPORT r;
  const HRESULT refused = (HRESULT)0x80000001L;
  struct {
    const char* path;
    HRESULT hr;
  } calls[] = {{"C:\\a.jpg", S_OK},      {"C:\\b.jpg", S_FALSE},         {"C:\\c.mp4", refused},
               {"C:\\d.jpg", E_FAIL},     {"C:\\e.jpg", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)}};
  for (auto& c : calls) EXPECT_EQ(1, SimilarRecordResult(&r, c.path, c.hr)) << c.path;
  EXPECT_EQ(2, r.nRegistered);
  EXPECT_STREQ("C:\\b.jpg", r.strRegistered);
  EXPECT_EQ(1, r.nRefused);
  EXPECT_STREQ("C:\\c.mp4", r.strRefused);
  EXPECT_EQ(2, r.nFailed);
  EXPECT_STREQ("C:\\e.jpg", r.strFailed);
  // Without a path or a record the registration stops, nothing counted.
  EXPECT_EQ(0, SimilarRecordResult(&r, nullptr, S_OK));
  EXPECT_EQ(0, SimilarRecordResult(nullptr, "C:\\a.jpg", S_OK));
  EXPECT_EQ(2, r.nRegistered);
}

TEST(SimilarRules, ReportMessagesInOrder) {
  struct Case {
    int registered, refused, failed;
    std::vector<UINT> ids;
  } cases[] = {
      {0, 0, 0, {}},
      {2, 1, 0, {IDS_BROWSER_SIMILAR_REFUSED, IDS_BROWSER_SIMILAR_DONE_N}},
      {1, 3, 2, {IDS_BROWSER_SIMILAR_REFUSED_N, IDS_BROWSER_SIMILAR_FAILED_N, IDS_BROWSER_SIMILAR_DONE}},
      {0, 0, 1, {IDS_BROWSER_SIMILAR_FAILED}},
  };
  for (const Case& c : cases) {
    VXSIMILARREPORT r;
    r.nRegistered = c.registered;
    r.strRegistered = "C:\\ok.jpg";
    r.nRefused = c.refused;
    r.strRefused = "C:\\no.mp4";
    r.nFailed = c.failed;
    r.strFailed = "C:\\bad.jpg";
    std::vector<VXSIMILARMESSAGE> m = SimilarReportMessages(r);
    ASSERT_EQ(c.ids.size(), m.size()) << c.registered << "/" << c.refused << "/" << c.failed;
    for (size_t i = 0; i < m.size(); ++i) {
      EXPECT_EQ(c.ids[i], m[i].nStringID);
      UINT want = m[i].nStringID == IDS_BROWSER_SIMILAR_FAILED || m[i].nStringID == IDS_BROWSER_SIMILAR_FAILED_N
                      ? MB_ICONERROR
                  : m[i].nStringID == IDS_BROWSER_SIMILAR_DONE || m[i].nStringID == IDS_BROWSER_SIMILAR_DONE_N
                      ? MB_ICONINFORMATION
                      : MB_ICONEXCLAMATION;
      EXPECT_EQ(want, m[i].nStyle) << m[i].nStringID;
    }
  }
}

TEST(SimilarRules, MessageTexts) {
  struct {
    VXSIMILARMESSAGE msg;
    const char* format;
    const char* want;
  } cases[] = {
      {{IDS_BROWSER_SIMILAR_REFUSED, 0, "C:\\a%d.mp4", 0}, "%s: no", "C:\\a%d.mp4: no"},
      {{IDS_BROWSER_SIMILAR_FAILED_N, 0, "", 3}, "%d failed", "3 failed"},
      // The index name comes first; a path holding "%s" stays as it is.
      {{IDS_BROWSER_SIMILAR_DONE, 0, "C:\\x%s.jpg", 0}, "[%s] %s", "[Index] C:\\x%s.jpg"},
      {{IDS_BROWSER_SIMILAR_DONE_N, 0, "", 12}, "[%s] %d files", "[Index] 12 files"},
  };
  for (auto& c : cases) EXPECT_STREQ(c.want, SimilarMessageText(c.msg, c.format, "Index")) << c.format;
}

TEST(SimilarRules, SearchGate) {
  struct {
    int selected;
    BOOL thumb;
    UINT kind;
    HRESULT want;
  } cases[] = {{0, FALSE, 0, 1},
               {2, TRUE, VXKIND_STILL, 1},
               {1, FALSE, VXKIND_STILL, E_INVALIDARG},
               {1, TRUE, VXKIND_MOVIE, E_INVALIDARG},
               {1, TRUE, VXKIND_STILL | VXKIND_SUB_10, S_OK}};
  for (auto& c : cases) EXPECT_EQ(c.want, SimilarSearchGate(c.selected, c.thumb, c.kind)) << c.selected << " " << c.kind;
}

TEST(MelodeckRules, ProgramPathAndCommandLine) {
  EXPECT_STREQ("", MelodeckExePath(""));
  EXPECT_STREQ("", MelodeckExePath(nullptr));
  EXPECT_STREQ("C:\\QRD\\SD-Melodeck.exe", MelodeckExePath("C:\\QRD"));

  const DWORD track = (7u << 16) | 3u;
  struct {
    const char* path;
    UINT kind;
    const char* want;
  } cases[] = {
      // An audio-area track with a sub-track plays as audio with its sub-track number.
      {"F:\\SD_Audio\\a.mp3", VXKIND_CARDTRACK | VXKIND_SUB_1 | VXKIND_SUB_2, "-play -div F -tk 3 -tkf 7 -type audio"},
      // A voice recording: voice, sub-track 0 even when the record holds one.
      {"g:\\SD_Voice\\v.wav", VXKIND_CARDTRACK, "-play -div g -tk 3 -tkf 0 -type voice"},
      {"F:\\SD_Audio\\a.mp3", VXKIND_CARDTRACK | VXKIND_SUB_1, "-play -div F -tk 3 -tkf 0 -type audio"},
      {"\\\\server\\share\\a.mp3", VXKIND_CARDTRACK | VXKIND_SUB_1, ""},
  };
  for (auto& c : cases) EXPECT_STREQ(c.want, MelodeckCommandLine(c.path, track, c.kind)) << c.path;

  struct {
    const char* path;
    int drive;
  } drives[] = {{"A:\\x", 1}, {"z:\\", 26}, {"\\\\srv\\x", 0}, {"", 0}, {nullptr, 0}, {"1:\\x", 0}};
  for (auto& d : drives) EXPECT_EQ(d.drive, MelodeckDriveNumber(d.path)) << (d.path ? d.path : "(null)");
}
