// The thumbnail library's plain decisions: kinds, folder previews, sort strings, quality
// classes, turns, print orders, music headers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "internal.h"

using namespace vxg;

namespace {

// ---- Kinds ---------------------------------------------------------------------------
struct KindCase {
  const char* ext;
  UINT kind;
  bool apiMovie;  // played through the movie-playback API back end
  bool avchd;
  bool raw;
};

TEST(KindRules, ExtensionsGiveTheKindsCallersTest) {
  const KindCase cases[] = {
      {".jpg", VXTYPE_JPEG, false, false, false},     {"JPEG", VXTYPE_JPEG, false, false, false},
      {".Tmb", VXTYPE_JPEG, false, false, false},     {".png", VXTYPE_BITMAP, false, false, false},
      {".gif", VXTYPE_BITMAP, false, false, false},   {".tiff", VXTYPE_TIFF, false, false, false},
      {".NEF", VXTYPE_RAW, false, false, true},       {".dng", VXTYPE_DNG, false, false, true},
      {".mov", VXTYPE_MOVIE_QT, true, false, false},  {".3gp", VXTYPE_MOVIE_3GP, true, false, false},
      {".mp4", VXTYPE_MOVIE_MP4, false, false, false}, {".avi", VXTYPE_MOVIE_OTHER, false, false, false},
      {".MTS", VXTYPE_AVCHD, false, true, false},     {".m2ts", VXTYPE_AVCHD, false, true, false},
      {".cont", VXTYPE_AVCHD, false, true, false},    {".flv", VXTYPE_MOVIE_UNPLAYABLE, false, false, false},
      {".mp3", VXTYPE_SOUND, false, false, false},    {".lnk", VXTYPE_SHORTCUT, false, false, false},
      {".txt", VXTYPE_OTHER, false, false, false},    {"", VXTYPE_OTHER, false, false, false},
  };
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.ext);
    UINT k = KindFromExtension(c.ext);
    EXPECT_EQ(c.kind, k);
    EXPECT_EQ(c.apiMovie, KindHas(k, 0x1008) || KindHas(k, 0x1030));
    EXPECT_EQ(c.avchd, KindHas(k, 0x1040));
    EXPECT_EQ(c.raw, KindHas(k, 0x288) || KindHas(k, 0x282));
  }
  // A movie of no playable kind is exactly the movie bit; folder shortcuts are 8208.
  EXPECT_EQ(0x1000u, KindFromExtension(".webm"));
  EXPECT_EQ(8208u, UINT(VXTYPE_FOLDER_SHORTCUT));
}

TEST(KindRules, StillFiltersSeparateTheStillKinds) {
  // filter mask -> which of JPEG, other bitmap, TIFF, RAW, movie pass
  struct {
    UINT mask;
    bool jpeg, bitmap, tiff, raw, movie;
  } cases[] = {
      {0x210, true, false, false, false, false}, {0x220, false, true, false, false, false},
      {0x240, false, false, true, false, false}, {0x200, true, true, true, true, false},
      {0x1000, false, false, false, false, true}, {0, true, true, true, true, true},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.mask);
    EXPECT_EQ(c.jpeg, KindHas(VXTYPE_JPEG, c.mask));
    EXPECT_EQ(c.bitmap, KindHas(VXTYPE_BITMAP, c.mask));
    EXPECT_EQ(c.tiff, KindHas(VXTYPE_TIFF, c.mask));
    EXPECT_EQ(c.raw, KindHas(VXTYPE_RAW, c.mask));
    EXPECT_EQ(c.movie, KindHas(VXTYPE_MOVIE_MP4, c.mask));
  }
}

TEST(KindRules, FolderPreviewTypes) {
  struct {
    UINT kind, mask;
    bool match;
  } cases[] = {
      {VXTYPE_JPEG, VXFOLDERIMAGE_DEFAULT, true},  {VXTYPE_MOVIE_MP4, VXFOLDERIMAGE_DEFAULT, true},
      {VXTYPE_SOUND, VXFOLDERIMAGE_DEFAULT, false}, {VXTYPE_BITMAP, 0x210, false},
      {VXTYPE_JPEG, 0x210, true},                  {VXTYPE_AVCHD, 0x1000, true},
      {VXTYPE_JPEG, 0x1000, false},                {VXTYPE_OTHER, 0, true},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.kind << " / " << c.mask);
    EXPECT_EQ(c.match, MatchesFolderImageType(c.kind, c.mask));
  }
}

// ---- Sort strings ----------------------------------------------------------------------
struct Named {
  const char* label;
  SortFacts facts;
};

// Orders entries as the views do: lstrcmp, reversed for a descending sort.
std::vector<std::string> Order(std::vector<Named> items, const char* keys, bool ascending) {
  std::vector<std::pair<std::string, std::string>> v;
  for (auto& n : items) v.emplace_back(BuildSortString(keys, ascending, n.facts), n.label);
  std::stable_sort(v.begin(), v.end(), [&](const auto& a, const auto& b) {
    return ascending ? lstrcmpA(a.first.c_str(), b.first.c_str()) < 0 : lstrcmpA(b.first.c_str(), a.first.c_str()) < 0;
  });
  std::vector<std::string> out;
  for (auto& p : v) out.push_back(p.second);
  return out;
}

SortFacts File(const char* name, ULONGLONG size = 0, const char* ext = "") {
  SortFacts f;
  f.name = name;
  f.size = size;
  f.ext = ext;
  return f;
}

TEST(SortStrings, OrdersTheViewsGet) {
  SortFacts folder = File("zeta");
  folder.folder = true;
  SortFacts late = File("late.jpg"), early = File("early.jpg"), same = File("same.jpg");
  late.recTime = 0x01D0000000000000ULL;
  early.recTime = 0x01C0000000000000ULL;
  same.recTime = 0x01C0000000000000ULL;
  SortFacts marked = File("m.jpg"), fav = File("f.jpg"), plain = File("p.jpg");
  marked.marked = true;
  fav.favourite = true;
  SortFacts t9 = File("t9"), t10 = File("t10");
  t9.track = 9;
  t10.track = 10;
  struct {
    std::vector<Named> items;
    const char* keys;
    bool ascending;
    std::vector<std::string> want;
  } cases[] = {
      {{{"b", File("b.jpg")}, {"A", File("A.jpg")}, {"dir", folder}}, "f", true, {"dir", "A", "b"}},
      {{{"b", File("b.jpg")}, {"A", File("A.jpg")}, {"dir", folder}}, "f", false, {"dir", "b", "A"}},
      {{{"big", File("a", 10)}, {"small", File("z", 2)}, {"big2", File("b", 10)}}, "zf", true, {"small", "big", "big2"}},
      {{{"big", File("a", 10)}, {"small", File("z", 2)}}, "zf", false, {"big", "small"}},
      {{{"jpg", File("a", 0, ".jpg")}, {"jpeg", File("b", 0, ".JPEG")}, {"png", File("a", 0, ".png")}},
       "ef",
       true,
       {"jpeg", "jpg", "png"}},
      {{{"late", late}, {"early", early}, {"same", same}}, "tf", true, {"early", "same", "late"}},
      {{{"plain", plain}, {"fav", fav}, {"marked", marked}}, "c", true, {"marked", "fav", "plain"}},
      {{{"t10", t10}, {"t9", t9}}, "mf", true, {"t9", "t10"}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.keys << (c.ascending ? " up" : " down"));
    EXPECT_EQ(c.want, Order(c.items, c.keys, c.ascending));
  }
}

TEST(SortStrings, OriginalSourceSortsAsGiven) {
  SortFacts a = File("x"), b = File("y");
  a.original = "00000002";
  b.original = "00000001";
  EXPECT_EQ((std::vector<std::string>{"b", "a"}), Order({{"a", a}, {"b", b}}, "o", true));
}

// ---- Small numbers ----------------------------------------------------------------------
TEST(SmallRules, QualityTurnsAndFailures) {
  EXPECT_EQ(1, JpegQualityClass(8000000, 6000, 4000));
  EXPECT_EQ(2, JpegQualityClass(4000000, 6000, 4000));
  EXPECT_EQ(3, JpegQualityClass(1000000, 6000, 4000));
  EXPECT_EQ(0, JpegQualityClass(1000, 0, 0));
  EXPECT_EQ(4, MovieQualityClass(1080));
  EXPECT_EQ(5, MovieQualityClass(720));
  EXPECT_EQ(6, MovieQualityClass(480));
  EXPECT_EQ(7, MovieQualityClass(240));
  EXPECT_EQ(0, MovieQualityClass(0));

  const int turns[][2] = {{9000, 90}, {-9000, 270}, {18000, 180}, {36000, 0}, {-27000, 90}, {0, 0}, {4500, -1}, {100, -1}};
  for (auto& t : turns) EXPECT_EQ(t[1], QuarterTurnDegrees(t[0])) << t[0];

  EXPECT_EQ(19, WriteFailureCode(HRESULT_FROM_WIN32(ERROR_WRITE_PROTECT)));
  EXPECT_EQ(39, WriteFailureCode(HRESULT_FROM_WIN32(ERROR_DISK_FULL)));
  EXPECT_EQ(39, WriteFailureCode(HRESULT_FROM_WIN32(ERROR_HANDLE_DISK_FULL)));
  EXPECT_EQ(29, WriteFailureCode(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)));
  EXPECT_EQ(29, WriteFailureCode(E_FAIL));
  EXPECT_EQ(0, WriteFailureCode(S_OK));
}

std::set<std::string> g_taken;
bool Taken(const std::string& p) { return g_taken.count(p) != 0; }

TEST(SmallRules, TurnedCopiesGetFreeNames) {
  g_taken = {};
  EXPECT_EQ("C:\\p\\pic_r.jpg", RotatedCopyName("C:\\p\\pic.jpg", Taken));
  g_taken = {"C:\\p\\pic_r.jpg", "C:\\p\\pic_r2.jpg"};
  EXPECT_EQ("C:\\p\\pic_r3.jpg", RotatedCopyName("C:\\p\\pic.jpg", Taken));
  g_taken = {};
  EXPECT_EQ("C:\\p.d\\noext_r", RotatedCopyName("C:\\p.d\\noext", Taken));
}

// ---- Music and movie headers ---------------------------------------------------------------
void Put32BE(std::vector<uint8_t>& v, uint32_t x) {
  for (int s = 24; s >= 0; s -= 8) v.push_back(uint8_t(x >> s));
}
void Put32LE(std::vector<uint8_t>& v, uint32_t x) {
  for (int s = 0; s <= 24; s += 8) v.push_back(uint8_t(x >> s));
}
void PutStr(std::vector<uint8_t>& v, const char* s) { v.insert(v.end(), s, s + strlen(s)); }

std::vector<uint8_t> Id3Frame(const char* id, const std::vector<uint8_t>& body) {
  std::vector<uint8_t> f;
  PutStr(f, id);
  Put32BE(f, uint32_t(body.size()));
  f.push_back(0);
  f.push_back(0);
  f.insert(f.end(), body.begin(), body.end());
  return f;
}

// An MP3: ID3v2.3 (UTF-16 title, Latin-1 artist), a Xing frame counting 1000 frames.
std::vector<uint8_t> MakeMp3() {
  std::vector<uint8_t> title = {1, 0xFF, 0xFE};
  for (wchar_t c : std::wstring(L"\u591C\u660E\u3051")) {  // 夜明け
    title.push_back(uint8_t(c & 0xFF));
    title.push_back(uint8_t(c >> 8));
  }
  std::vector<uint8_t> artist = {0};
  PutStr(artist, "Norvane");
  std::vector<uint8_t> frames;
  for (auto& f : {Id3Frame("TIT2", title), Id3Frame("TPE1", artist)}) frames.insert(frames.end(), f.begin(), f.end());
  std::vector<uint8_t> d = {'I', 'D', '3', 3, 0, 0};
  uint32_t n = uint32_t(frames.size());
  d.push_back(uint8_t((n >> 21) & 0x7F));
  d.push_back(uint8_t((n >> 14) & 0x7F));
  d.push_back(uint8_t((n >> 7) & 0x7F));
  d.push_back(uint8_t(n & 0x7F));
  d.insert(d.end(), frames.begin(), frames.end());
  for (int k = 0; k < 3; ++k) {  // MPEG-1 layer III, 128 kbps, 44.1 kHz, stereo: 417-byte frames
    size_t start = d.size();
    d.insert(d.end(), {0xFF, 0xFB, 0x90, 0x00});
    d.resize(start + 417, 0);
    if (k == 0) {
      std::vector<uint8_t> x;
      PutStr(x, "Xing");
      Put32BE(x, 1);
      Put32BE(x, 1000);
      std::copy(x.begin(), x.end(), d.begin() + start + 4 + 32);
    }
  }
  return d;
}

std::vector<uint8_t> MakeWav() {
  std::vector<uint8_t> d;
  PutStr(d, "RIFF");
  Put32LE(d, 0);
  PutStr(d, "WAVE");
  PutStr(d, "fmt ");
  Put32LE(d, 16);
  d.insert(d.end(), {1, 0, 2, 0});
  Put32LE(d, 44100);
  Put32LE(d, 176400);
  d.insert(d.end(), {4, 0, 16, 0});
  PutStr(d, "LIST");
  Put32LE(d, 4 + 8 + 6);
  PutStr(d, "INFO");
  PutStr(d, "INAM");
  Put32LE(d, 6);
  PutStr(d, "Title");
  d.push_back(0);
  PutStr(d, "data");
  Put32LE(d, 176400 * 2);
  d.resize(d.size() + 64, 0);
  return d;
}

TEST(MusicFactsTest, TagsAndPlayingTimes) {
  std::vector<uint8_t> mp3 = MakeMp3();
  MusicFacts f;
  ASSERT_TRUE(ParseMusic(mp3.data(), mp3.size(), nullptr, 0, mp3.size(), ".MP3", &f));
  EXPECT_EQ("MP3", f.format);
  EXPECT_EQ(textkit::WideToAnsi(L"\u591C\u660E\u3051"), f.title);
  EXPECT_EQ("Norvane", f.artist);
  EXPECT_EQ(44100, f.sampleRate);
  EXPECT_EQ(26122u, f.durationMs);  // 1000 frames x 1152 samples / 44100 Hz

  std::vector<uint8_t> wav = MakeWav();
  ASSERT_TRUE(ParseMusic(wav.data(), wav.size(), nullptr, 0, wav.size() - 64 + 176400 * 2, ".wav", &f));
  EXPECT_EQ("WAV", f.format);
  EXPECT_EQ("Title", f.title);
  EXPECT_EQ(16, f.bitsPerSample);
  EXPECT_EQ(2000u, f.durationMs);

  // ID3v1 at the end of a file without version 2 tags.
  std::vector<uint8_t> tail(128, 0);
  memcpy(tail.data(), "TAGOld title", 12);
  tail[125] = 0;
  tail[126] = 7;
  ASSERT_TRUE(ParseMusic(mp3.data() + 10, 0, tail.data(), tail.size(), 5000, ".mp3", &f));
  EXPECT_EQ("Old title", f.title);
  EXPECT_EQ("7", f.track);

  CAudioTrackInfo info;
  MusicFacts g;
  g.format = "MP3";
  g.bitrateKbps = 128;
  g.durationMs = 61500;
  FillAudioTrackInfo(g, "file", &info);
  EXPECT_STREQ("file", info.GetTitle());
  EXPECT_STREQ("MP3 128kbps", info.GetFormatText());
  EXPECT_STREQ("1:01", info.GetTimeText());
  EXPECT_STREQ("0000061500", info.GetTimeSortText());
  EXPECT_EQ("1:02:03", FormatPlayingTime(3723000));
}

TEST(MusicFactsTest, BrokenHeadersGiveNoValuesAndNoCrash) {
  std::vector<uint8_t> mp3 = MakeMp3();
  for (size_t cut : {0u, 3u, 10u, 20u, 40u, 60u, 100u}) {
    MusicFacts f;
    ParseMusic(mp3.data(), std::min(cut, mp3.size()), nullptr, 0, 1 << 20, ".mp3", &f);
  }
  std::vector<uint8_t> bad = mp3;
  bad[10 + 4] = 0x7F;  // a frame claiming more bytes than the tag holds
  MusicFacts f;
  ParseMusic(bad.data(), bad.size(), nullptr, 0, bad.size(), ".mp3", &f);
  std::vector<uint8_t> wav = MakeWav();
  wav[16] = 0xFF;  // fmt chunk length past the end
  ParseMusic(wav.data(), wav.size(), nullptr, 0, wav.size(), ".wav", &f);

  // A short file without audio frames whose ID3v1 title holds frame-like bytes: no playing
  // time (not one counted from before the file's start).
  std::vector<uint8_t> small(300, 0);
  std::vector<uint8_t> tag(128, 0);
  memcpy(tag.data(), "TAG", 3);
  const uint8_t frameLike[] = {0xFF, 0xFB, 0x90, 0x00};
  memcpy(tag.data() + 3, frameLike, sizeof(frameLike));
  small.insert(small.end(), tag.begin(), tag.end());
  MusicFacts g;
  ParseMusic(small.data(), small.size(), tag.data(), tag.size(), small.size(), ".mp3", &g);
  EXPECT_EQ(0u, g.durationMs);
  EXPECT_EQ(0, g.bitrateKbps);
}

// ---- Pixel budget ----------------------------------------------------------------------
// The ledger never goes over its budget by a take: a picture is kept only after its bytes
// were taken.
TEST(PixelBudget, TheLedgerTakesOnlyWhatFits) {
  PixelLedger ledger(100);
  EXPECT_TRUE(ledger.TryTake(60));
  EXPECT_TRUE(ledger.TryTake(40));  // exactly the budget
  EXPECT_FALSE(ledger.TryTake(1));
  EXPECT_EQ(100, ledger.Used());
  EXPECT_TRUE(ledger.TryTake(-30));  // giving back always fits
  EXPECT_FALSE(ledger.TryTake(31));
  EXPECT_EQ(70, ledger.Used());
  ledger.SetBudget(50);  // a smaller budget: nothing more fits until pictures go
  EXPECT_FALSE(ledger.TryTake(1));
  ledger.Change(-25);
  EXPECT_TRUE(ledger.TryTake(5));
  EXPECT_EQ(50, ledger.Used());
}

TEST(PixelBudget, TheFarthestGiveUpTheirsUntilTheNewPictureFits) {
  // Distances from the window and bytes; the budget is 100, a fifth below it is 80.
  const std::vector<PixelHolder> holders = {{1, 10}, {5, 10}, {3, 10}, {9, 10}, {7, 0}, {5, 10}};
  struct Case {
    const char* what;
    long long used, incoming;
    std::vector<size_t> victims;
  };
  const Case cases[] = {
      {"room left", 50, 10, {}},
      {"exactly full", 90, 10, {}},
      // 95 + 10 - 80 = 25 to free: the three farthest; equal distances in list order, and
      // a holder of no bytes is never picked.
      {"over", 95, 10, {3, 1, 5}},
      {"far over: everything there is", 100, 100, {3, 1, 5, 2, 0}},
      {"already over, nothing new", 101, 0, {3, 1, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.victims, PixelVictims(holders, c.used, c.incoming, 100));
  }
  EXPECT_TRUE(PixelVictims({}, 200, 10, 100).empty());
}

}  // namespace
