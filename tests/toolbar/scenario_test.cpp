// Slide-show scenarios: slide sizes, the ".snr" layout against bad files, saving and
// loading through SignalKit.dll, and the temporary images of the preparer.
#include <gtest/gtest.h>

#include <Kitlib2/Profile.h>
#include <SignalKit/SnrFormat.h>

#include <cstring>

#include <xxhash.h>
#include <string>
#include <vector>

#include <files.h>
#include <profileroot.h>
#include <program.h>
#include <tempfolder.h>

#include "ScenarioClient.h"
#include "SlideImagePreparer.h"
#include "SlideShowScenario.h"
#include "slidepictures.h"

namespace {

using slidetest::WriteBmp;

snr::Element Element(LONG lKind, const wchar_t* pszPath) {
  snr::Element e = {};
  e.lKind = lKind;
  wcsncpy(e.data.szPath, pszPath, SNR_PATH_UNITS - 1);
  return e;
}

class ScenarioFiles : public testing::Test {
 protected:
  void SetUp() override { m_folder = testsupport::NewTempFolder("glimora-snr"); }
  void TearDown() override { testsupport::RemoveTree(m_folder); }
  std::string Path(const std::string& name) const { return m_folder + "\\" + name; }
  // A file of our layout, made without the library's checks.
  void WriteScenario(const std::string& name, const snr::Scenario& s) {
    ASSERT_TRUE(testsupport::WriteWholeFile(Path(name), snr::Serialize(s)));
  }
  std::string m_folder;
};

}  // namespace

TEST(SlideSizes, TargetsKeepTheShape) {
  struct Case {
    int w, h, quality, cxScreen, cyScreen, cx, cy;
  } cases[] = {
      {1000, 1000, 1, 1920, 1080, 1000, 1000},  // a million pixels stays
      {1001, 1000, 1, 1920, 1080, 960, 960},    // wider box than picture: width follows the height's scale
      {4000, 3000, 1, 1920, 1080, 1280, 960},
      {2000, 3000, 1, 1920, 1080, 853, 1280},   // upright: width cut, no evenness rule
      {3000, 2000, 0, 1024, 768, 1280, 854},    // small screen: the 1280 box; 853 is odd, so 854
      {3000, 2000, 0, 1920, 1200, 1920, 1280},  // the 1920 x 1440 target (3:4 of the width), width rules
      {1920, 1200, 0, 1920, 1200, 1920, 1200},  // fits the screen
      {0, 0, 1, 1920, 1080, 0, 0},              // unknown size stays unknown
  };
  for (const Case& c : cases) {
    SIZE s = slideshow::TargetSize(c.w, c.h, c.quality, c.cxScreen, c.cyScreen);
    EXPECT_EQ(s.cx, c.cx) << c.w << "x" << c.h << " q" << c.quality;
    EXPECT_EQ(s.cy, c.cy) << c.w << "x" << c.h << " q" << c.quality;
  }
}

TEST(SlideSizes, EffectMusic) {
  EXPECT_STREQ(slideshow::EffectMusicFile(1, 0), "NATURAL.mp3");
  EXPECT_STREQ(slideshow::EffectMusicFile(1, 1), "SLOW.mp3");
  EXPECT_STREQ(slideshow::EffectMusicFile(1, 2), "SWING.mp3");
  EXPECT_STREQ(slideshow::EffectMusicFile(1, 3), "URBAN.mp3");
  EXPECT_STREQ(slideshow::EffectMusicFile(1, 9), "NATURAL.mp3");
  EXPECT_STREQ(slideshow::EffectMusicFile(0, 2), "NATURAL.mp3");  // plain slides
}

// Whatever the bytes, a parse either gives a whole scenario or refuses; never a read past them.
TEST(SnrFormat, BadFilesAreRefused) {
  snr::Scenario s;
  s.info.wOne = 1;
  s.info.lEffect = 2;
  s.Get(SNR_DATA_PICTURES).elements.push_back(Element(SNR_KIND_PICTURE, L"C:\\a.jpg"));
  std::string good = snr::Serialize(s);
  snr::Scenario out;
  ASSERT_EQ(snr::Parse(good.data(), good.size(), &out), S_OK);
  ASSERT_EQ(out.arrays.size(), 1u);
  EXPECT_STREQ(out.arrays[0].elements[0].data.szPath, L"C:\\a.jpg");

  const HRESULT kBad = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
  for (size_t n : {size_t(0), size_t(4), size_t(60), good.size() - 9, good.size() - 1})
    EXPECT_EQ(snr::Parse(good.data(), n, &out), kBad) << "cut at " << n;
  std::string longer = good + "x";
  EXPECT_EQ(snr::Parse(longer.data(), longer.size(), &out), kBad);
  std::string flipped = good;
  flipped[100] ^= 1;
  EXPECT_EQ(snr::Parse(flipped.data(), flipped.size(), &out), kBad);  // checksum
  std::string garbage(2000, '\x5a');
  EXPECT_EQ(snr::Parse(garbage.data(), garbage.size(), &out), kBad);

  // Forged fields behind a correct checksum.
  auto reseal = [](std::string bytes) {
    size_t body = bytes.size() - 8;
    UINT64 h = XXH64(bytes.data(), body, 0);
    memcpy(&bytes[body], &h, 8);
    return bytes;
  };
  EXPECT_EQ(snr::Parse(reseal(good).data(), good.size(), &out), S_OK);
  std::string v2 = good;
  v2[4] = 2;
  v2 = reseal(v2);
  EXPECT_EQ(snr::Parse(v2.data(), v2.size(), &out), HRESULT_FROM_WIN32(ERROR_UNSUPPORTED_TYPE));
  const size_t kCount = 8 + sizeof(SNRINFO) + 8;  // the first array's element count
  std::string forged = good;
  UINT32 nHuge = 100000;
  memcpy(&forged[kCount], &nHuge, 4);
  forged = reseal(forged);
  EXPECT_EQ(snr::Parse(forged.data(), forged.size(), &out), kBad);
  std::string kind = good;
  kind[kCount - 8] = 7;  // data kind 7
  kind = reseal(kind);
  EXPECT_EQ(snr::Parse(kind.data(), kind.size(), &out), kBad);
  std::string unterminated = good;
  for (size_t i = 0; i < SNR_PATH_UNITS * 2; ++i) unterminated[kCount + 4 + 4 + 16 + i] = 'A';
  unterminated = reseal(unterminated);
  EXPECT_EQ(snr::Parse(unterminated.data(), unterminated.size(), &out), kBad);
}

TEST_F(ScenarioFiles, SavedScenarioLoadsBackWhole) {
  WriteBmp(Path("a.bmp"), 40, 30);
  WriteBmp(Path("b.bmp"), 20, 50);
  CSlideShowScenario saved;
  std::vector<SlidePicture> pictures = {{Path("a.bmp"), 40, 30}, {Path("b.bmp"), 20, 50}, {Path("gone.bmp"), 7, 7}};
  std::vector<std::string> audio = {Path("song.mp3")};
  ASSERT_EQ(saved.SetPictures(&pictures), 1);
  ASSERT_EQ(saved.SetAudio(&audio), 1);
  ASSERT_EQ(saved.SetShowInfo(2, 4000, 1, 2), 1);
  std::string file = Path("show.snr");
  ASSERT_EQ(saved.SaveFile(file.c_str()), 1);
  // Saving again replaces the file (the first writing mode refuses an existing one).
  ASSERT_EQ(saved.SaveFile(file.c_str()), 1);

  CSlideShowScenario loaded;
  EXPECT_EQ(loaded.IsPristine(), 1);
  ASSERT_EQ(loaded.SetFileName(file.c_str()), 1);
  ASSERT_EQ(loaded.LoadPictures(), 1);
  ASSERT_EQ(loaded.LoadAudio(), 1);
  ASSERT_EQ(loaded.LoadInfo(), 1);
  EXPECT_EQ(loaded.IsPristine(), 0);
  std::vector<SlidePicture> back;
  loaded.GetPictures(&back);
  ASSERT_EQ(back.size(), 3u);
  EXPECT_EQ(back[0].path, Path("a.bmp"));
  EXPECT_EQ(back[0].width, 40);
  EXPECT_EQ(back[1].height, 50);
  EXPECT_EQ(back[2].width, 0);  // gone: its size is unknown
  std::vector<std::string> audioBack;
  loaded.GetAudio(&audioBack);
  EXPECT_EQ(audioBack, audio);
  int kind = -1, interval = -1, repeat = -1, audioKind = -1;
  ASSERT_EQ(loaded.GetShowInfo(&kind, &interval, &repeat, &audioKind), 1);
  EXPECT_EQ(kind, 2);
  EXPECT_EQ(interval, 4000);
  EXPECT_EQ(repeat, 1);
  EXPECT_EQ(audioKind, 2);

  // Times and file facts as stored.
  CScenarioSession session;
  ASSERT_EQ(session.OpenForRead(file.c_str()), S_OK);
  ScenarioItem items[3] = {};
  ScenarioItemRef refs[3];
  for (int i = 0; i < 3; ++i) refs[i] = ScenarioItemRef{SNR_KIND_PICTURE, (int)sizeof(ScenarioItem), &items[i], 0};
  int n = 3;
  ASSERT_EQ(session.GetPictureArray(refs, &n), S_OK);
  ASSERT_EQ(n, 3);
  EXPECT_EQ(items[1].llStart, 4000);
  EXPECT_EQ(items[1].llEnd, 7999);
  EXPECT_GT(items[0].llSize, 0);
  EXPECT_EQ(items[2].llSize, 0);
  EXPECT_EQ(session.Close(), S_OK);
}

TEST_F(ScenarioFiles, EmptyShowAndRefusedSaves) {
  CSlideShowScenario model;
  std::string file = Path("empty.snr");
  EXPECT_EQ(model.SaveFile(file.c_str()), 1);
  CSlideShowScenario loaded;
  loaded.SetFileName(file.c_str());
  EXPECT_EQ(loaded.LoadPictures(), 1);
  EXPECT_EQ(loaded.LoadAudio(), 1);
  EXPECT_EQ(loaded.LoadInfo(), 1);

  // A path a scenario can't hold whole: nothing is written, rather than a file naming
  // pictures that do not exist.
  std::string longName = Path(std::string(240, 'p') + ".jpg");
  std::vector<SlidePicture> pictures = {{longName, 10, 10}};
  model.SetPictures(&pictures);
  std::string refused = Path("long.snr");
  EXPECT_EQ(model.SaveFile(refused.c_str()), 0);
  EXPECT_EQ(::GetFileAttributesA(refused.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(model.SaveFile(NULL), 0);
  EXPECT_EQ(loaded.SetFileName(""), 1);
  EXPECT_EQ(loaded.LoadInfo(), 0);

  // Kinds outside 1 to 5 and units outside 1 to 2 are refused before the library is asked.
  CScenarioSession session;
  ScenarioInfo badKind = {SNR_TIME_MILLISECONDS, 1000, 0, 1}, badUnit = {3, 1000, 2, 1};
  EXPECT_EQ(session.WriteInfo(&badKind), E_NOTIMPL);
  EXPECT_EQ(session.WriteInfo(&badUnit), E_NOTIMPL);
  EXPECT_EQ(session.AssignPictureArray(NULL, 0), SNR_E_NO_INFO);
}

TEST_F(ScenarioFiles, StoredInformationAndMixedArrays) {
  struct Case {
    WORD unit;
    LONGLONG interval;
    WORD one;
    LONG effect;
    int loads, kind, ms;
  } cases[] = {
      {SNR_TIME_SECONDS, 5, 1, 1, 1, 0, 5000},
      {SNR_TIME_MILLISECONDS, 4000, 1, 5, 1, 4, 4000},
      {SNR_TIME_MILLISECONDS, 4000, 1, 0, 0, 0, 0},
      {SNR_TIME_MILLISECONDS, 4000, 1, 6, 0, 0, 0},
      {SNR_TIME_MILLISECONDS, 4000, 2, 2, 0, 0, 0},  // a record the client refuses
  };
  for (const Case& c : cases) {
    snr::Scenario s;
    s.info.wTimeUnit = c.unit;
    s.info.llInterval = c.interval;
    s.info.wOne = c.one;
    s.info.lEffect = c.effect;
    WriteScenario("info.snr", s);
    CSlideShowScenario model;
    model.SetFileName(Path("info.snr").c_str());
    EXPECT_EQ(model.LoadInfo(), c.loads) << c.effect;
    int kind = -1, interval = -1, repeat = -1;
    model.GetShowInfo(&kind, &interval, &repeat, NULL);
    if (c.loads) {
      EXPECT_EQ(kind, c.kind);
      EXPECT_EQ(interval, c.ms);
    }
  }

  // A picture array holding audio elements too gives only the pictures.
  snr::Scenario s;
  s.info.wOne = 1;
  s.info.lEffect = 1;
  snr::DataArray& a = s.Get(SNR_DATA_PICTURES);
  a.elements = {Element(SNR_KIND_AUDIO, L"C:\\x.mp3"), Element(SNR_KIND_PICTURE, L"C:\\p.jpg"),
                Element(SNR_KIND_AUDIO, L"C:\\y.mp3")};
  WriteScenario("mixed.snr", s);
  CScenarioSession session;
  ASSERT_EQ(session.OpenForRead(Path("mixed.snr").c_str()), S_OK);
  int n = 0;
  ASSERT_EQ(session.GetPictureArray(NULL, &n), S_OK);
  EXPECT_EQ(n, 1);
  ScenarioItem item = {};
  ScenarioItemRef ref = {SNR_KIND_PICTURE, (int)sizeof(ScenarioItem), &item, 0};
  n = 1;
  ASSERT_EQ(session.GetPictureArray(&ref, &n), S_OK);
  EXPECT_STREQ(item.szPath, "C:\\p.jpg");
  session.Close();

  // Missing and garbage files fail the load step.
  ASSERT_TRUE(testsupport::WriteWholeFile(Path("garbage.snr"), std::string(700, 'g')));
  for (const char* name : {"missing.snr", "garbage.snr"}) {
    CSlideShowScenario model;
    model.SetFileName(Path(name).c_str());
    EXPECT_EQ(model.LoadPictures(), 0) << name;
    EXPECT_EQ(model.LoadInfo(), 0) << name;
  }
}

TEST_F(ScenarioFiles, ProfileDefaultsAndTheShowsSettings) {
  testsupport::ScopedProfileRoot root("scenario");
  CMWriteProfileString("DepthViewer\\FullScreen", "AudioPath", "C:\\Music\\NATURAL.mp3", CMPROFILE_COMMON);
  CSlideShowScenario model;
  EXPECT_EQ(model.GetMusicFolder(), "C:\\Music\\");
  std::vector<std::string> audio;
  model.GetProfileAudio(&audio);
  EXPECT_EQ(audio, std::vector<std::string>{"C:\\Music\\NATURAL.mp3"});
  int kind = -1, interval = -1, repeat = -1, audioKind = -1;
  model.GetProfileInfo(&kind, &interval, &repeat, &audioKind);
  EXPECT_EQ(kind, 1);
  EXPECT_EQ(interval, 3000);
  EXPECT_EQ(repeat, 1);
  EXPECT_EQ(audioKind, 1);

  CMWriteProfileInt("DepthViewer\\FullScreen", "EffectMode", 2);
  CMWriteProfileInt("DepthViewer\\FullScreen", "AudioMode", 1);
  CMWriteProfileString("DepthViewer\\FullScreen", "AudioPath", "D:\\own.wav");
  audio.clear();
  model.GetProfileAudio(&audio);
  EXPECT_EQ(audio, std::vector<std::string>{"D:\\own.wav"});
  model.GetProfileInfo(&kind, NULL, NULL, &audioKind);
  EXPECT_EQ(kind, 3);
  EXPECT_EQ(audioKind, 2);
  CMWriteProfileInt("DepthViewer\\FullScreen", "Audio", 0);
  audio.clear();
  model.GetProfileAudio(&audio);
  EXPECT_TRUE(audio.empty());
  model.GetProfileInfo(NULL, NULL, NULL, &audioKind);
  EXPECT_EQ(audioKind, 0);
}

TEST_F(ScenarioFiles, PreparerNumbersWritesAndSkips) {
  std::string folder = m_folder + "\\slides\\";
  testsupport::MakeFolders(folder);
  ASSERT_TRUE(testsupport::WriteWholeFile(folder + "tmp00001.bmp", "taken"));
  ASSERT_TRUE(testsupport::WriteWholeFile(folder + "tmp00002.bmp", "taken"));
  WriteBmp(Path("a.bmp"), 64, 48);
  WriteBmp(Path("b.bmp"), 48, 64);
  std::vector<SlideTempImage> entries = {
      {64, 48, Path("a.bmp"), ""},
      {0, 0, Path("a.bmp"), "kept"},      // size unknown: skipped, path untouched
      {10, 10, Path("gone.bmp"), ""},     // can't load: consumes no number
      {24, 32, Path("b.bmp"), ""},
  };
  CSlideImagePreparer preparer(NULL);
  EXPECT_EQ(preparer.SetParams("", &entries, 2, 0), E_INVALIDARG);
  EXPECT_EQ(preparer.SetParams(folder.c_str(), &entries, 3, 0), E_INVALIDARG);
  ASSERT_EQ(preparer.SetParams(folder.c_str(), &entries, 2, 0), S_OK);
  CSlideImagePreparer::ConvertAll(&preparer);
  EXPECT_EQ(entries[0].temp, folder + "tmp00003.bmp");
  EXPECT_EQ(entries[1].temp, "kept");
  EXPECT_EQ(entries[2].temp, "");
  EXPECT_EQ(entries[3].temp, folder + "tmp00004.bmp");
  SIZE size = {};
  ASSERT_EQ(CSlideShowScenario::ReadImageSize(entries[3].temp.c_str(), &size), S_OK);
  EXPECT_EQ(size.cx, 24);
  EXPECT_EQ(size.cy, 32);

  // Cancelled before the first picture: none is written.
  std::vector<SlideTempImage> more = {{64, 48, Path("a.bmp"), ""}};
  CSlideImagePreparer cancelled(NULL);
  cancelled.SetParams(folder.c_str(), &more, 2, 0);
  cancelled.m_bCancel = 1;
  CSlideImagePreparer::ConvertAll(&cancelled);
  EXPECT_EQ(more[0].temp, "");
}

// The installation's music: every effect's tune is an MP3 in the Music folder beside the
// program, and the profile's audio list names it there.
TEST(EffectMusic, EveryEffectHasItsTuneBesideTheProgram) {
  testsupport::ScopedProfileRoot root("effect-music");
  const std::string folder = testsupport::ProgramFolder() + "\\Music\\";
  CMWriteProfileString("DepthViewer\\FullScreen", "AudioPath", (folder + "NATURAL.mp3").c_str(), CMPROFILE_COMMON);
  const char* const tunes[] = {"NATURAL.mp3", "SLOW.mp3", "SWING.mp3", "URBAN.mp3"};
  for (int mode = 0; mode < 4; ++mode) {
    CMWriteProfileInt("DepthViewer\\FullScreen", "EffectMode", mode);
    CSlideShowScenario model;
    std::vector<std::string> audio;
    model.GetProfileAudio(&audio);
    ASSERT_EQ(audio, std::vector<std::string>{folder + tunes[mode]});
    const std::string bytes = testsupport::ReadWholeFile(audio[0]);
    // Several seconds of sound: an MPEG audio layer III frame first, after an ID3 tag if any.
    EXPECT_GT(bytes.size(), 100000u) << tunes[mode];
    size_t at = 0;
    if (bytes.compare(0, 3, "ID3") == 0 && bytes.size() >= 10)
      at = 10 + (((BYTE)bytes[6] << 21) | ((BYTE)bytes[7] << 14) | ((BYTE)bytes[8] << 7) | (BYTE)bytes[9]);
    ASSERT_GE(bytes.size(), at + 4) << tunes[mode];
    EXPECT_EQ((BYTE)bytes[at], 0xFF) << tunes[mode];
    EXPECT_EQ((BYTE)bytes[at + 1] & 0xE6, 0xE2) << tunes[mode];  // frame sync, layer III
  }
}
