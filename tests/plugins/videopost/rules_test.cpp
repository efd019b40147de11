// The upload's checks and companion files on real files, through the real content
// library: the limits, the first-frame thumbnail, unique names and the ".cont" files.
#include <initguid.h>

#include <ClipFacts.h>
#include <MovieHeaderReader.h>
#include <UploadRules.h>
#include <VxContFile.h>
#include <VxResourceIds.h>
#include <gtest/gtest.h>
#include <textkit/path.h>

#include <algorithm>
#include <regex>

#include "files.h"
#include "moviefile.h"
#include "tempfolder.h"

using moviefile::Clip;

namespace {

class Upload : public testing::Test {
 protected:
  void SetUp() override { dir = testsupport::NewTempFolder("glimora-upload") + "\\"; }
  void TearDown() override { testsupport::RemoveTree(dir.substr(0, dir.size() - 1)); }
  std::string Make(const std::string& name, const std::string& bytes) {
    EXPECT_TRUE(testsupport::WriteWholeFile(dir + name, bytes));
    return dir + name;
  }
  std::string MakeClip(const std::string& name, const Clip& c) { return Make(name, c.Build()); }
  bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
  std::string dir;
};

Clip Minutes(double minutes, const char* codec = "jpeg") {
  Clip c;
  c.codec = codec;
  c.sampleCount = (uint32_t)(minutes * 60 * 30);
  c.duration = c.sampleCount;  // 30 frames a second at time scale 30
  return c;
}

// Makes the file `bytes` long without writing them (sparse where the file system can).
void Grow(const std::string& path, LONGLONG bytes) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  LARGE_INTEGER at;
  at.QuadPart = bytes;
  EXPECT_TRUE(SetFilePointerEx(h, at, NULL, FILE_BEGIN) && SetEndOfFile(h));
  CloseHandle(h);
}

TEST_F(Upload, ChecksTheListAgainstTheLimits) {
  // Another kind the support test takes: it passes and is left out of the upload.
  std::string jpg = Make("other.avi", "RIFF not decoded by the check");
  std::string shortClip = MakeClip("short.mov", Minutes(9));
  std::string longClip = MakeClip("long.mov", Minutes(11));
  std::string longOther = MakeClip("other.mov", Minutes(11, "avc1"));
  std::string huge = MakeClip("huge.mov", Minutes(9));
  Grow(huge, 2100000000LL);
  // A fine time scale: 11 minutes in microseconds, whose product overflows 64 bits.
  Clip fine = Minutes(11);
  fine.timeScale = 1000000;
  fine.duration = 660000000;
  std::string fineClip = MakeClip("fine.mov", fine);
  Clip noDuration = Minutes(11);
  noDuration.duration = 0;
  std::string zero = MakeClip("zero.mov", noDuration);
  std::string missing = dir + "gone.mov";

  struct Case {
    const char* what;
    int type;
    std::vector<std::string> paths;
    HRESULT hr;
    UINT message;
  } cases[] = {
      {"another kind and a short clip", 0, {jpg, shortClip}, S_OK, 0},
      {"another type", 1, {shortClip}, E_INVALIDARG, 0},
      {"nothing", 0, {}, E_INVALIDARG, IDS_EXPORT_NOT_SELECTED},
      {"eleven", 0, std::vector<std::string>(11, jpg), E_INVALIDARG, IDS_EXPORT_UPLOAD_TOO_MANY},
      {"ten", 0, {jpg, jpg, jpg, jpg, jpg, jpg, jpg, jpg, jpg, shortClip}, S_OK, 0},
      {"no clip", 0, {jpg, jpg}, E_INVALIDARG, IDS_UPLOAD_NO_CLIP},
      {"11 min Motion-JPEG", 0, {jpg, longClip}, E_INVALIDARG, IDS_UPLOAD_NOT_ACCEPTED},
      {"11 min other codec", 0, {longOther}, S_OK, 0},
      {"9 min, 2,100,000,000 bytes", 0, {huge}, E_INVALIDARG, IDS_UPLOAD_NOT_ACCEPTED},
      {"11 min at a fine time scale", 0, {fineClip}, E_INVALIDARG, IDS_UPLOAD_NOT_ACCEPTED},
      {"a media duration of 0", 0, {zero}, S_OK, 0},
      {"a missing file", 0, {missing}, E_INVALIDARG, IDS_UPLOAD_NOT_ACCEPTED},
  };
  for (const Case& c : cases) {
    UINT message = 12345;
    EXPECT_EQ(c.hr, upload::CheckUploadFiles(&message, c.type, c.paths)) << c.what;
    EXPECT_EQ(c.message, message) << c.what;
  }
}

TEST_F(Upload, ReadsTheClipsFacts) {
  Clip c = Minutes(1);
  c.creation = 3797403630u;  // 2024-05-01 10:20:30 since 1904
  CMovieClipFacts facts;
  ASSERT_TRUE(ReadMovieClipFacts(MakeClip("a.mov", c).c_str(), &facts));
  SYSTEMTIME t;
  ASSERT_TRUE(ReadMovieRecordTime(facts, &t));
  EXPECT_EQ(2024, t.wYear);
  EXPECT_EQ(5, t.wMonth);
  EXPECT_EQ(1, t.wDay);
  EXPECT_EQ(10, t.wHour);
  EXPECT_EQ(20, t.wMinute);
  EXPECT_EQ(30, t.wSecond);
  LONGLONG duration = 0;
  ASSERT_TRUE(ReadMovieDuration(facts, &duration));
  EXPECT_EQ(600000000LL, duration);

  // The private atom's time wins over the movie header's (local time: the day stays).
  c.privateTime = true;
  c.privateValue = 3797409600u;  // 2024-05-01 12:00:00
  ASSERT_TRUE(ReadMovieClipFacts(MakeClip("b.mov", c).c_str(), &facts));
  ASSERT_TRUE(ReadMovieRecordTime(facts, &t));
  EXPECT_EQ(2024, t.wYear);
  EXPECT_EQ(1, t.wDay);

  // No time at all: an all-zero time, still read.
  c = Minutes(1);
  ASSERT_TRUE(ReadMovieClipFacts(MakeClip("c.mov", c).c_str(), &facts));
  ASSERT_TRUE(ReadMovieRecordTime(facts, &t));
  EXPECT_EQ(0, t.wYear);

  // A file without a movie atom has no recording time.
  ASSERT_TRUE(ReadMovieClipFacts(Make("d.mov", std::string("\0\0\0\x10"
                                                           "free"
                                                           "12345678",
                                                           16))
                                     .c_str(),
                                 &facts));
  EXPECT_FALSE(ReadMovieRecordTime(facts, &t));
}

// An uploader that ended before it reported: only a clean end leaves the run a success.
TEST(UploaderEnd, OnlyACleanEndIsNoFailure) {
  const struct {
    DWORD code;
    HRESULT hr;
  } cases[] = {{0, S_OK}, {1, E_FAIL}, {0xC0000005, (HRESULT)0xC0000005}, {0x80004005, (HRESULT)0x80004005}};
  for (const auto& c : cases) EXPECT_EQ(c.hr, upload::UploaderEndResult(c.code)) << c.code;
}

TEST_F(Upload, RefusesBrokenAtoms) {
  std::string good = Clip().Build();
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"size 1 (64-bit)", std::string("\0\0\0\x01"
                                      "ftyp",
                                      8) +
                              std::string(16, '\0')},
      {"size below 8", std::string("\0\0\0\x04"
                                   "ftyp",
                                   8) +
                           good},
      {"a child past its parent",
       [&] {
         std::string b = good;
         size_t moov = b.find("moov");
         b[moov + 4 + 2] = 0x10;  // mvhd's size grows past moov
         return b;
       }()},
      {"truncated", good.substr(0, good.find("moov") + 40)},
  };
  for (const Case& c : cases) {
    CMovieClipFacts facts;
    EXPECT_FALSE(ReadMovieClipFacts(Make("broken.mov", c.bytes).c_str(), &facts)) << c.what;
  }
}

TEST_F(Upload, CutsTheFirstFrame) {
  Clip good;
  std::string tmb = dir + "a.tmb";
  ASSERT_EQ(S_OK, upload::ExtractFirstFrame(MakeClip("a.mov", good), tmb));
  EXPECT_EQ(good.frame, testsupport::ReadWholeFile(tmb));

  Clip pastEnd;
  pastEnd.sampleSizeOverride = 100000000;
  Clip offsetPastEnd;
  offsetPastEnd.chunkOffsetDelta = 1000;
  Clip noOffsets;
  noOffsets.withChunkOffsets = false;
  Clip other;
  other.codec = "avc1";
  Clip zeroSize;
  zeroSize.sampleSizeOverride = 0;
  struct Case {
    const char* what;
    Clip clip;
  } cases[] = {
      {"a sample reaching past the end", pastEnd},
      {"a chunk past the end", offsetPastEnd},
      {"no chunk offsets", noOffsets},
      {"not Motion-JPEG", other},
      {"an empty sample", zeroSize},
  };
  for (const Case& c : cases) {
    std::string out = dir + "x.tmb";
    EXPECT_EQ(E_FAIL, upload::ExtractFirstFrame(MakeClip("x.mov", c.clip), out)) << c.what;
    EXPECT_FALSE(Exists(out)) << c.what;
  }
}

TEST_F(Upload, MakesUniqueNames) {
  std::string folder = dir.substr(0, dir.size() - 1), out;
  ASSERT_EQ(S_OK, upload::MakeUniqueTempName(folder.c_str(), "clip", ".cont", &out, nullptr, false));
  EXPECT_EQ(dir + "clip.cont", out);
  Make("clip.cont", "taken");
  ASSERT_EQ(S_OK, upload::MakeUniqueTempName(folder.c_str(), "clip", "cont", &out, nullptr, false));
  EXPECT_TRUE(std::regex_match(out, std::regex(".*\\\\clip_[0-9A-F]{4}\\.cont"))) << out;
  // Forced: the first candidate counts as taken although it is free.
  ASSERT_EQ(S_OK, upload::MakeUniqueTempName(folder.c_str(), "free", ".tmb", &out, nullptr, true));
  EXPECT_NE(dir + "free.tmb", out);
  std::vector<std::string> avoid = {dir + "AVOID.tmb"};
  ASSERT_EQ(S_OK, upload::MakeUniqueTempName(folder.c_str(), "avoid", ".tmb", &out, &avoid, false));
  EXPECT_NE(dir + "avoid.tmb", out);

  struct Case {
    const char* what;
    const char* base;
    HRESULT hr;
    std::string name;  // expected name, "" for any
  } cases[] = {
      {"only forbidden characters", "\\/:*?\"<>|", S_OK, "Unknown.cont"},
      {"forbidden characters dropped", "a:b*c", S_OK, "abc.cont"},
      {"double-byte name kept whole", "\x95\x5C\x8E\xA6", S_OK, "\x95\x5C\x8E\xA6.cont"},
      {"a byte that starts no character",
       "a\x80"
       "b",
       E_INVALIDARG, ""},
      {"a lead byte at the end", "a\x95", E_INVALIDARG, ""},
  };
  for (const Case& c : cases) {
    out.clear();
    EXPECT_EQ(c.hr, upload::MakeUniqueTempName(folder.c_str(), c.base, ".cont", &out, nullptr, false)) << c.what;
    if (!c.name.empty()) { EXPECT_EQ(dir + c.name, out) << c.what; }
  }
  // 300 characters are cut to fit a path.
  ASSERT_EQ(S_OK,
            upload::MakeUniqueTempName(folder.c_str(), std::string(300, 'n').c_str(), ".cont", &out, nullptr, false));
  EXPECT_LE(out.size(), 259u);
  // Every name taken: no name rather than the last one tried, which someone holds.
  std::vector<std::string> all = {dir + "full.tmb"};
  for (int n = 0; n <= 0xFFFF; ++n) {
    char tail[8];
    snprintf(tail, sizeof tail, "_%04X", n);
    all.push_back(dir + "full" + tail + ".tmb");
  }
  EXPECT_EQ(E_FAIL, upload::MakeUniqueTempName(folder.c_str(), "full", ".tmb", &out, &all, false));
  // One name left free, of a tail the random numbers never give (they give even ones): it
  // is found, not reported as none.
  all.erase(std::find(all.begin(), all.end(), dir + "full_0001.tmb"));
  ASSERT_EQ(S_OK, upload::MakeUniqueTempName(folder.c_str(), "full", ".tmb", &out, &all, false));
  EXPECT_EQ(dir + "full_0001.tmb", out);
  EXPECT_EQ(E_POINTER, upload::MakeUniqueTempName(nullptr, "a", ".x", &out, nullptr, false));
  EXPECT_EQ(E_INVALIDARG, upload::MakeUniqueTempName((dir + "none").c_str(), "a", ".x", &out, nullptr, false));
}

class Companions : public Upload {
 protected:
  void SetUp() override {
    Upload::SetUp();
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    lib = LoadLibraryA((textkit::FolderPartOf(exe) + "Core\\ScoreHall\\ClipFacts.dll").c_str());
    ASSERT_TRUE(lib);
    auto create = (PFNCLIPFACTSCREATE)GetProcAddress(lib, "DllCreateInstance");
    ASSERT_EQ(S_OK, create(CLSID_ClipFactsWriter, IID_IClipFactsEdit, (void**)&writer));
    temp = testsupport::NewTempFolder("glimora-upload-temp");
  }
  void TearDown() override {
    if (writer) writer->Release();
    if (lib) FreeLibrary(lib);
    testsupport::RemoveTree(temp);
    Upload::TearDown();
  }
  HMODULE lib = NULL;
  IClipFactsEdit* writer = NULL;
  std::string temp;
};

TEST_F(Companions, WritesEachClipAndTheList) {
  Clip c = Minutes(2);
  c.creation = 3797403630u;
  testsupport::MakeFolders(dir + "one");
  testsupport::MakeFolders(dir + "two");
  std::string a = MakeClip("one\\clip.mov", c), b = MakeClip("two\\clip.mov", c);
  std::string scene = Make("00001.cont", "[Content]\r\nFormat=1\r\nMembers=00001.m2ts\r\n");
  Make("00001.m2ts", "stream");
  std::string photo = Make("skip.avi", "RIFF");

  upload::CompanionWriter w(writer, temp);
  ASSERT_EQ(S_OK, w.WriteAll({a, b, scene, photo}));
  ASSERT_EQ(2u, w.Thumbnails().size());
  ASSERT_EQ(3u, w.Companions().size());
  EXPECT_EQ(temp + "\\clip.cont", w.Companions()[0]);
  EXPECT_TRUE(std::regex_match(w.Companions()[1], std::regex(".*\\\\clip_[0-9A-F]{4}\\.cont")));
  EXPECT_EQ(temp + "\\skip.cont", w.ListPath());  // named after the last path
  EXPECT_EQ(c.frame, testsupport::ReadWholeFile(w.Thumbnails()[0]));

  vxcont::ContentInfo clip;
  ASSERT_TRUE(vxcont::ReadContentFile(w.Companions()[0].c_str(), &clip));
  EXPECT_EQ(std::vector<std::string>{a}, clip.items);
  EXPECT_EQ(dir + "one", clip.baseFolder);
  EXPECT_EQ(std::vector<std::string>{w.Thumbnails()[0]}, clip.thumbnails);
  ASSERT_TRUE(clip.recordTime.has_value());
  EXPECT_EQ(2024, clip.recordTime->wYear);
  EXPECT_DOUBLE_EQ(120.0, clip.durationSeconds);
  EXPECT_EQ((uint64_t)c.Build().size(), clip.totalSize.value_or(0));
  EXPECT_EQ((uint32_t)CLIPFACTS_OPTION_UPLOAD, clip.options);

  vxcont::ContentInfo list;
  ASSERT_TRUE(vxcont::ReadContentFile(w.ListPath().c_str(), &list));
  EXPECT_EQ((std::vector<std::string>{w.Companions()[0], w.Companions()[1], scene}), list.items);
}

TEST_F(Companions, AStreamlessSceneOrAnUncutClipFailsTheRun) {
  std::string scene = Make("00002.cont", "[Content]\r\nFormat=1\r\nMembers=00002.m2ts\r\n");
  upload::CompanionWriter w(writer, temp);
  EXPECT_EQ(E_FAIL, w.WriteAll({scene}));
  EXPECT_TRUE(w.Companions().empty());

  Clip broken;
  broken.sampleSizeOverride = 100000000;
  upload::CompanionWriter w2(writer, temp);
  EXPECT_EQ(E_FAIL, w2.WriteAll({MakeClip("broken.mov", broken)}));
  EXPECT_TRUE(w2.Thumbnails().empty());
  EXPECT_TRUE(w2.Companions().empty());
}

}  // namespace
