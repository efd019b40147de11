// Fuzz drivers of the property reader: content-information texts in memory, and
// property sets opened on damaged pictures, movies and content files (seeded,
// bounded). Nothing may crash; what the reader keeps must follow its own rules.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include <files.h>
#include <fuzz.h>
#include <textkit/path.h>

#include "VxContFile.h"
#include "VxProperty.h"
#include "fixtures.h"

using imgtest::Fixture;
using imgtest::ScratchDir;

namespace {

const char kCont[] =
    "\xEF\xBB\xBF[Content]\r\nFormat=1\r\nMembers=00001.MTS|00001.tmb|00001.iis\r\nTitle="
    "\xE9\x81\x8B\xE5\x8B\x95\xE4\xBC\x9A\r\n"
    "Maker=Norvane\r\nModel=NV-HD100\r\nMakerCode=NV0103AB12\r\nModelCode=0412\r\n"
    "RecordTime=2024/05/01 10:20:30\r\nDuration=83.5\r\nRecMode=HA\r\nBitRate=17000000\r\n"
    "Exposure=1/60\r\nEdited=1\r\nTotalSize=123456789\r\n";

// A member name the reader promises never to keep: one Windows refuses.
bool Forbidden(const std::string& name) { return !textkit::IsValidFileName(name); }

// The first field in which two records differ ("" when none does).
std::string FirstDifference(const vxcont::ContentInfo& a, const vxcont::ContentInfo& b) {
  auto time = [](const std::optional<SYSTEMTIME>& t) {
    return t ? std::to_string(t->wYear) + "/" + std::to_string(t->wMonth) + "/" + std::to_string(t->wDay) + " " +
                   std::to_string(t->wHour) + ":" + std::to_string(t->wMinute) + ":" + std::to_string(t->wSecond)
             : std::string("none");
  };
  auto facts = [](const std::vector<vxcont::ContentInfo::MemberFacts>& v) {
    std::string s;
    for (const auto& f : v)
      s += std::to_string(f.size) + ":" + std::to_string(f.lastWrite.dwHighDateTime) + "." +
           std::to_string(f.lastWrite.dwLowDateTime) + ",";
    return s;
  };
  const struct {
    const char* name;
    bool same;
  } fields[] = {
      {"format", a.format == b.format},
      {"members", a.members == b.members},
      {"title", a.title == b.title},
      {"maker", a.maker == b.maker},
      {"model", a.model == b.model},
      {"makerCode", a.makerCode == b.makerCode},
      {"modelCode", a.modelCode == b.modelCode},
      {"recordTime", time(a.recordTime) == time(b.recordTime)},
      {"duration", std::abs(a.durationSeconds - b.durationSeconds) < 0.001},
      {"bitRate", a.bitRate == b.bitRate},
      {"totalSize", a.totalSize == b.totalSize},
      {"recMode", a.recMode == b.recMode},
      {"exposure", a.exposure == b.exposure},
      {"edited", a.edited == b.edited},
      {"baseFolder", a.baseFolder == b.baseFolder},
      {"items", a.items == b.items},
      {"thumbnails", a.thumbnails == b.thumbnails},
      {"options", a.options == b.options},
      {"streams", a.streams == b.streams},
      {"memberFacts", facts(a.memberFacts) == facts(b.memberFacts)},
      {"makerData", a.makerDataTag == b.makerDataTag && a.makerData == b.makerData},
  };
  for (const auto& f : fields)
    if (!f.same) return f.name;
  return "";
}

}  // namespace

TEST(Fuzz, ContentTexts) {
  const std::string samples[] = {
      kCont, std::string(kCont + 3), "Members=a.MTS|b.tmb\nFormat=1\n",
      // A code-page file with the upload's values and the members' facts.
      "Format=1\r\nMembers=\x83\x7C.MTS|\x95\x5C.tmb\r\nTitle=\x89\x5E\x93\xAE\r\nBaseFolder=C:\\\x83\x7C\r\n"
      "Items=C:\\a.mov|\\\\srv\\b.mov\r\nThumbnails=C:\\t.tmb\r\nOptions=01000000\r\nStreams=1\r\n"
      "MemberSizes=123|45\r\nMemberTimes=01DA9B7F3C2E1A00|01DA9B7F3C2E1A01\r\nMakerData=00000001:0A0B0C\r\n"};
  const uint32_t seed = testsupport::FuzzSeed();
  testsupport::Mutator m(seed);
  for (int round = 0, n = testsupport::FuzzRounds(3000); round < n; ++round) {
    std::string text = m.Mutate(samples[m.Next(sizeof samples / sizeof samples[0])]);
    SCOPED_TRACE(testing::Message() << "seed " << seed << " round " << round);
    vxcont::ContentInfo info;
    if (!vxcont::ParseContent(text, &info)) continue;
    for (const std::string& name : info.members) EXPECT_FALSE(Forbidden(name)) << name;
    // What is written again reads as it was read: every member byte for byte, every value.
    vxcont::ContentInfo again;
    ASSERT_TRUE(vxcont::ParseContent(vxcont::SerializeContent(info), &again));
    EXPECT_EQ(FirstDifference(info, again), "");
  }
}

TEST(Fuzz, PropertySetsOfDamagedFiles) {
  struct Sample {
    const char* name;
    std::string bytes;
  };
  auto head = [](const char* fixture) {
    std::string b = testsupport::ReadWholeFile(Fixture(fixture));
    EXPECT_FALSE(b.empty()) << fixture;
    return b.substr(0, 64 * 1024);
  };
  const Sample samples[] = {{"f.jpg", head("exif_full.jpg")}, {"f.jpg", head("people.jpg")},
                            {"f.tif", head("exif.tif")},      {"f.mp4", head("movie.mp4")},
                            {"f.avi", head("movie.avi")},     {"f.cont", kCont}};
  const DWORD kIds[] = {
      PRID_MAKER,        PRID_MODEL,      PRID_SHOT_DATE,      PRID_EXPOSURE,    PRID_APERTURE,   PRID_ISO,
      PRID_FOCAL_LENGTH, PRID_FLASH,      PRID_WHITE_BALANCE,  PRID_FILE_KIND,   PRID_IMAGE_SIZE, PRID_SHOT_MODE,
      PRID_FILE_SIZE,    PRID_WRITE_TIME, PRID_MEMBERS,        PRID_MAKER_CODE,  PRID_MODEL_CODE, PRID_DURATION,
      PRID_REC_MODE,     PRID_BIT_RATE,   PRID_MOVIE_EXPOSURE, PRID_SCENE_OTHER, PRID_CAPTION,    PRID_SCENE,
      PRID_SCENE_MODE,   PRID_LIGHTING,   PRID_FACES};
  const uint32_t seed = testsupport::FuzzSeed();
  testsupport::Mutator m(seed);
  for (int round = 0, n = testsupport::FuzzRounds(400); round < n; ++round) {
    const Sample& s = samples[m.Next(sizeof samples / sizeof samples[0])];
    std::string path = ScratchDir() + "\\fuzz_" + s.name;
    SCOPED_TRACE(testing::Message() << "seed " << seed << " round " << round << " " << s.name);
    ASSERT_TRUE(testsupport::WriteWholeFile(path, m.Mutate(s.bytes)));
    HPRPROPERTY h = PrInitGetPropertyString(path.c_str(), 0);
    ASSERT_TRUE(h);
    for (DWORD id : kIds) {
      LPCSTR text = PrGetPropertyString(h, id);
      ASSERT_NE(text, nullptr) << id;
      EXPECT_LT(strlen(text), 4096u) << id;
    }
    SYSTEMTIME t;
    PrGetPropertySysTime(h, PRID_SHOT_DATE, &t);
    PrGetAVCHDRecTime(h, &t);
    int edited = 0, c = 0, cs = 0, r = 0, rs = 0;
    PrGetAVCHDEdit(h, &edited);
    PRPERSONS persons;
    PrGetPersonsStruct(h, &persons);
    PrGetFocusPoints(h, &c, &cs, &r, &rs);
    EXPECT_EQ(PrExitGetPropertyString(h), S_OK);
    char lat[64], lon[64], alt[64];
    PrGetGpsData(path.c_str(), lat, lon, alt);
  }
}
