// The thumbnail library's plain decisions: kinds, folder previews, sort strings, quality
// classes, turns, print orders, music information.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

#include <moviekit/moviekit.h>

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

// ---- Music information ----------------------------------------------------------------
// Tag texts as the demuxers give them (UTF-8; a WAV's INFO bytes as they are) in the ANSI
// code page.
TEST(MusicTagText, TagsComeOutInTheAnsiCodePage) {
  const std::string sjis = textkit::WideToAnsi(L"\u591C\u660E\u3051");  // "夜明け"
  // Its bytes as a Latin-1 reading makes them: one character below U+0100 per byte.
  std::wstring latin;
  for (unsigned char c : sjis) latin += wchar_t(c);
  const struct {
    std::string tag, ansi;
  } cases[] = {
      {"Title  ", "Title"},
      {std::string("Ti\0tle", 6), "Ti"},
      {textkit::WideToUtf8(L"\u591C\u660E\u3051"), sjis},  // UTF-8 (ID3v2.4, MP4, ASF, UTF-16 frames)
      {textkit::WideToUtf8(latin), sjis},                  // Shift-JIS in a Latin-1 field
      {sjis, sjis},                                        // raw bytes (WAV INFO)
      {textkit::WideToUtf8(L"Caf\u00E9"), textkit::WideToAnsi(L"Caf\u00E9")},  // Latin-1 proper
      {textkit::WideToUtf8(L"\u00DCber"), textkit::WideToAnsi(L"\u00DCber")},  // no double-byte pair: Latin-1
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.ansi, MusicTagText(c.tag)) << c.tag;
}

// The kit's figures come into the music information's fields in range, whatever the file
// stated; the format is named by the codec (MPEG audio), the container (WAV) or the extension.
TEST(MusicFactsFromKit, FiguresStayInRangeAndTheFormatIsNamed) {
  struct Case {
    const char* container;
    const char* codec;
    const char* ext;
    double seconds;
    long long bitRate;
    int sampleRate;
    const char* format;
    DWORD ms;
    int kbps;
    int rate;
  } cases[] = {
      {"mp3", "mp3", ".mp3", 61.5, 128000, 44100, "MP3", 61500, 128, 44100},
      {"mp3", "mp2", ".mp3", 1.0, 192000, 48000, "MP2", 1000, 192, 48000},
      {"wav", "pcm_s16le", ".WAV", 2.0, 1411200, 44100, "WAV", 2000, 1411, 44100},
      {"mov,mp4,m4a,3gp,3g2,mj2", "aac", ".m4a", 6.0, 96000, 44100, "M4A", 6000, 96, 44100},
      {"asf", "wmav2", ".wma", 6.0, 64000, 44100, "WMA", 6000, 64, 44100},
      {"aac", "aac", "", 1.0, 64000, 48000, "AAC", 1000, 64, 48000},
      // Beyond what the fields hold, or negative: nothing rather than a wrong figure.
      {"wav", "pcm_u8", ".wav", 5e6, 5000000000LL, -1, "WAV", 0, 0, 0},
      {"mp3", "mp3", ".mp3", -3.0, -128000, 0, "MP3", 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    moviekit::MusicFacts kit;
    lstrcpynA(kit.container, c.container, sizeof kit.container);
    lstrcpynA(kit.codec, c.codec, sizeof kit.codec);
    kit.durationSeconds = c.seconds;
    kit.bitRate = c.bitRate;
    kit.sampleRate = c.sampleRate;
    MusicFacts f;
    MusicFactsFromKit(kit, c.ext, &f);
    EXPECT_EQ(c.format, f.format);
    EXPECT_EQ(c.ms, f.durationMs);
    EXPECT_EQ(c.kbps, f.bitrateKbps);
    EXPECT_EQ(c.rate, f.sampleRate);
  }
  moviekit::MusicFacts kit;
  lstrcpynA(kit.date, "2010-05-01", sizeof kit.date);
  MusicFacts f;
  MusicFactsFromKit(kit, ".mp3", &f);
  EXPECT_EQ("2010", f.year);
}

TEST(MusicFactsTest, TheListsTexts) {
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
  g.format = "WAV";
  g.sampleRate = 44100;
  g.bitsPerSample = 16;
  FillAudioTrackInfo(g, "file", &info);
  EXPECT_STREQ("WAV 44.1kHz 16bit", info.GetFormatText());
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

// Which files of a folder seen before may take their facts and thumbnail from the database.
TEST(KeptFacts, ServeOnlyTheFileAsItWasRead) {
  KeptFacts kept;
  kept.size = 5000;
  kept.writeTime = 777;
  kept.recTime = 123;
  kept.width = 640;
  kept.height = 480;
  kept.thumbBytes = 4000;
  kept.exif = true;
  auto with = [&](void (*change)(KeptFacts&)) {
    KeptFacts k = kept;
    change(k);
    return k;
  };
  const struct {
    const char* what;
    KeptFacts facts;
    UINT kind;
    ULONGLONG size, time;
    bool serves;
  } cases[] = {
      {"unchanged JPEG", kept, VXTYPE_JPEG, 5000, 777, true},
      {"other size", kept, VXTYPE_JPEG, 5001, 777, false},
      {"other last write", kept, VXTYPE_JPEG, 5000, 778, false},
      {"a shortcut", kept, VXTYPE_JPEG | VXKIND_SHORTCUT, 5000, 777, false},
      {"a PNG", kept, VXTYPE_BITMAP, 5000, 777, false},
      {"a movie", kept, VXTYPE_MOVIE_MP4, 5000, 777, false},
      {"no date", with([](KeptFacts& k) { k.recTime = 0; }), VXTYPE_JPEG, 5000, 777, false},
      {"no picture size", with([](KeptFacts& k) { k.height = 0; }), VXTYPE_JPEG, 5000, 777, false},
      {"no thumbnail", with([](KeptFacts& k) { k.thumbBytes = 0; }), VXTYPE_JPEG, 5000, 777, false},
      {"thumbnail over the date pass's limit", with([](KeptFacts& k) { k.thumbBytes = kHeadThumbMax + 1; }),
       VXTYPE_JPEG, 5000, 777, false},
      {"no Exif record", with([](KeptFacts& k) { k.exif = false; }), VXTYPE_JPEG, 5000, 777, false},
  };
  for (const auto& c : cases) EXPECT_EQ(KeptFactsServe(c.facts, c.kind, c.size, c.time), c.serves) << c.what;
}
