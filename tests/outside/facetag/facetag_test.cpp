// Faces through libfacetag's exports and the card import's face identifier: the portrait
// fixture's face found and its person named again from a second crop, none in a
// landscape, the database file's refusals, and the grey conversion.
#include <FaceIdentifier.h>
#include <files.h>
#include <gtest/gtest.h>
#include <imaging/decode.h>
#include <imaging/transform.h>
#include <libfacetag.h>
#include <program.h>
#include <tempfolder.h>

#include <cmath>

#include "../../common/faces/portraits.h"
#include "facetag_core.h"

namespace {

// A 640 x 480 bottom-up 24-bit picture: the source region (sx, sy, side) of the portrait
// scaled to 480 x 480 in the middle of a grey field.
std::vector<BYTE> Picture(const imaging::Dib& src, int sx, int sy, int side) {
  std::vector<BYTE> dib(sizeof(BITMAPINFOHEADER) + 640 * 3 * 480, 0x80);
  auto* bih = reinterpret_cast<BITMAPINFOHEADER*>(dib.data());
  *bih = {sizeof(BITMAPINFOHEADER), 640, 480, 1, 24, BI_RGB, 640 * 3 * 480, 0, 0, 0, 0};
  imaging::Dib crop;
  EXPECT_TRUE(crop.Create(side, side, 24));
  for (int y = 0; y < side; ++y) memcpy(crop.Row(y), src.Row(sy + y) + sx * 3, side * 3);
  imaging::Dib scaled;
  EXPECT_TRUE(imaging::Resize(crop, 480, 480, &scaled));
  BYTE* bits = dib.data() + sizeof(BITMAPINFOHEADER);
  for (int y = 0; y < 480; ++y) memcpy(bits + (size_t)(479 - y) * 1920 + 80 * 3, scaled.Row(y), 480 * 3);
  return dib;
}

// Hills and sky: smooth shading with a little texture, no face anywhere.
std::vector<BYTE> Landscape() {
  std::vector<BYTE> dib(sizeof(BITMAPINFOHEADER) + 640 * 3 * 480);
  auto* bih = reinterpret_cast<BITMAPINFOHEADER*>(dib.data());
  *bih = {sizeof(BITMAPINFOHEADER), 640, 480, 1, 24, BI_RGB, 640 * 3 * 480, 0, 0, 0, 0};
  BYTE* bits = dib.data() + sizeof(BITMAPINFOHEADER);
  unsigned seed = 7;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      seed = seed * 1103515245 + 12345;
      const bool ground = y > 300 + (int)(40 * sin(x / 60.0));
      BYTE* p = bits + (size_t)(479 - y) * 1920 + x * 3;
      const int n = (seed >> 16) % 12;
      p[0] = (BYTE)(ground ? 40 + n : 230 - y / 4);
      p[1] = (BYTE)(ground ? 120 + n + y / 8 : 180 - y / 6);
      p[2] = (BYTE)(ground ? 60 + n : 120);
    }
  return dib;
}

// A darker or noisier copy of a 24-bit picture made by Picture: each channel value v in 0..1
// becomes v^gamma * gain, plus Gaussian noise of sigma levels, and a share of the values
// turned to black or white; the noise is the same on every run.
std::vector<BYTE> Varied(std::vector<BYTE> dib, double gamma, double gain, double sigma, double speckles,
                         unsigned seed) {
  unsigned state = seed;
  auto uniform = [&state] {
    state = state * 1103515245u + 12345u;
    return ((state >> 8) & 0xFFFFFF) / 16777216.0;
  };
  for (size_t i = sizeof(BITMAPINFOHEADER); i < dib.size(); ++i) {
    double v = std::pow(dib[i] / 255.0, gamma) * gain * 255;
    if (sigma > 0) v += sigma * std::sqrt(-2 * std::log(uniform() + 1e-9)) * std::cos(6.283185307 * uniform());
    if (speckles > 0 && uniform() < speckles) v = uniform() < 0.5 ? 0 : 255;
    dib[i] = (BYTE)std::lround(std::min(255.0, std::max(0.0, v)));
  }
  return dib;
}

struct Scratch {
  std::string root = testsupport::NewTempFolder("glimora-faces");
  ~Scratch() { testsupport::RemoveTree(root); }
};

}  // namespace

TEST(Faces, GreyConversion) {
  struct Case {
    BYTE b, g, r, y;
  } cases[] = {{255, 255, 255, 255}, {0, 0, 0, 0}, {255, 0, 0, 29}, {0, 255, 0, 149}, {0, 0, 255, 77}};
  for (int bits : {24, 32})
    for (const Case& c : cases) {
      // Wider than 640: each row is read at the picture's own stride.
      const int w = 700, h = 481, bpp = bits / 8, stride = (w * bpp + 3) & ~3;
      std::vector<BYTE> dib(sizeof(BITMAPINFOHEADER) + (size_t)stride * h, 0);
      auto* bih = reinterpret_cast<BITMAPINFOHEADER*>(dib.data());
      *bih = {sizeof(BITMAPINFOHEADER), w, h, 1, (WORD)bits, BI_RGB, 0, 0, 0, 0, 0};
      BYTE* px = dib.data() + sizeof(BITMAPINFOHEADER);
      // The top row of the picture is the last stored one; paint it and one column below.
      for (int x = 0; x < w; ++x) memcpy(px + (size_t)(h - 1) * stride + x * bpp, &c, 3);
      for (int y = 0; y < h; ++y) memcpy(px + (size_t)y * stride + 639 * bpp, &c, 3);
      std::vector<uint8_t> grey = CFaceIdentifier::GreyImage(bih);
      ASSERT_EQ(grey.size(), 640u * 480u);
      EXPECT_EQ(grey[0], c.y) << bits;
      EXPECT_EQ(grey[639], c.y);
      EXPECT_EQ(grey[479 * 640 + 639], c.y);
      EXPECT_EQ(grey[479 * 640 + 638], 0);
    }
  // Pictures of another kind.
  std::vector<BYTE> small(sizeof(BITMAPINFOHEADER));
  auto* bih = reinterpret_cast<BITMAPINFOHEADER*>(small.data());
  *bih = {sizeof(BITMAPINFOHEADER), 639, 480, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  EXPECT_TRUE(CFaceIdentifier::GreyImage(bih).empty());
  bih->biWidth = 640;
  bih->biBitCount = 8;
  EXPECT_TRUE(CFaceIdentifier::GreyImage(bih).empty());
  EXPECT_TRUE(CFaceIdentifier::GreyImage(nullptr).empty());
  CFaceIdentifier id;
  EXPECT_EQ(id.SetImage(nullptr), E_INVALIDARG);
}

TEST(Faces, DatabaseFiles) {
  Scratch sc;
  const int size = FTAG_GetDbSize(FTAG_MAX_PERSONS);
  ASSERT_GT(size, 0);
  std::vector<char> good(size);
  std::vector<char> work(FTAG_GetWorkSize() * 4 + 4);
  ASSERT_EQ(FTAG_InitDb(good.data(), work.data(), FTAG_MAX_PERSONS), 0);
  std::vector<char> flipped = good;
  flipped[100] ^= 1;  // the records no longer match their checksum
  struct Case {
    const char* name;
    std::string bytes;
    HRESULT load;
  } cases[] = {
      {"none", "", S_OK},  // no file at all: empty
      {"good", std::string(good.begin(), good.end()), S_OK},
      {"short", std::string(good.begin(), good.begin() + size / 2), S_OK},
      {"garbage", std::string(size, 'x'), S_OK},
      {"flipped", std::string(flipped.begin(), flipped.end()), S_OK},
  };
  for (const Case& c : cases) {
    const std::string path = sc.root + "\\" + c.name + ".ftd";
    if (!c.bytes.empty()) testsupport::WriteWholeFile(path, c.bytes);
    CFaceIdentifier id;
    EXPECT_EQ(id.LoadDb(path), c.load) << c.name;
    // This copy only reads: the file is as it was.
    if (!c.bytes.empty()) { EXPECT_EQ(testsupport::ReadWholeFile(path), c.bytes) << c.name; }
  }
  EXPECT_FALSE(facetag::CheckDb(reinterpret_cast<const uint8_t*>(flipped.data())));
  // A file held open by another: it exists but cannot be read.
  const std::string held = sc.root + "\\held.ftd";
  testsupport::WriteWholeFile(held, std::string(good.begin(), good.end()));
  HANDLE h = CreateFileA(held.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CFaceIdentifier id;
  EXPECT_EQ(id.LoadDb(held), E_FAIL);
  CloseHandle(h);
}

// The portrait's face is found; stored under a person, the person is named again from a
// second crop of the picture; a landscape has no face.
TEST(Faces, PortraitPersonFromASecondCrop) {
  ASSERT_TRUE(portraits::Ready());
  const std::string fixture = portraits::Portrait();
  imaging::Dib portrait;
  imaging::DecodeOptions options;
  ASSERT_EQ(imaging::DecodeFile(fixture.c_str(), options, &portrait), S_OK);
  ASSERT_EQ(portrait.Width(), 512);

  Scratch sc;
  CFaceIdentifier id;
  ASSERT_EQ(id.LoadDb(sc.root + "\\faces.ftd"), S_OK);
  std::vector<BYTE> whole = Picture(portrait, 0, 0, 512);
  ASSERT_EQ(id.SetImage(reinterpret_cast<BITMAPINFOHEADER*>(whole.data())), S_OK);
  WORD count = 0;
  ASSERT_EQ(id.GetNumberOfFace(&count), S_OK);
  ASSERT_EQ(count, 1);
  ASSERT_EQ(id.SetCurrentFace(0), S_OK);
  EXPECT_EQ(id.SetCurrentFace(1), E_FAIL);
  FTAG_FEATURE feature;
  ASSERT_EQ(FTAG_GetFeature(&feature), 0);
  // The face sits in the upper middle of the portrait (shown at 80..560 x 0..480).
  EXPECT_GT(feature.rcFace.left, 200);
  EXPECT_LT(feature.rcFace.right, 440);
  EXPECT_LT(feature.rcFace.bottom, 260);
  short candidates[5], values[5];
  EXPECT_EQ(id.VerifyImage(candidates, values, 10), E_FAIL);  // nobody registered yet
  const int record = FTAG_StoreRecord(-1, 7);
  EXPECT_GT(record, 0);

  // The same face from a closer crop: person 7, above the level.
  std::vector<BYTE> closer = Picture(portrait, 64, 0, 448);
  ASSERT_EQ(id.SetImage(reinterpret_cast<BITMAPINFOHEADER*>(closer.data())), S_OK);
  ASSERT_EQ(id.GetNumberOfFace(&count), S_OK);
  ASSERT_EQ(count, 1);
  ASSERT_EQ(id.SetCurrentFace(0), S_OK);
  ASSERT_EQ(id.VerifyImage(candidates, values, 10), S_OK);
  EXPECT_EQ(candidates[0], 7);
  EXPECT_GE(values[0], 50);
  std::vector<char> tmpl(id.GetTemplateSize());
  EXPECT_EQ(id.GetTemplate(tmpl.data()), S_OK);

  // A landscape has no face.
  std::vector<BYTE> land = Landscape();
  ASSERT_EQ(id.SetImage(reinterpret_cast<BITMAPINFOHEADER*>(land.data())), S_OK);
  ASSERT_EQ(id.GetNumberOfFace(&count), S_OK);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(id.SetCurrentFace(0), E_FAIL);
  EXPECT_EQ(id.GetTemplate(tmpl.data()), E_FAIL);
  EXPECT_EQ(FTAG_StoreRecord(-1, 7), -1);
}

// Darker and noisier copies of the portrait hold its one face and nothing on the background
// (the search once found one or two faces more in such copies).
TEST(Faces, DarkAndNoisyPortraitsHoldOneFace) {
  ASSERT_TRUE(portraits::Ready());
  imaging::Dib portrait;
  ASSERT_EQ(imaging::DecodeFile(portraits::Portrait().c_str(), imaging::DecodeOptions(), &portrait), S_OK);
  const std::vector<BYTE> whole = Picture(portrait, 0, 0, 512);
  struct Case {
    const char* name;
    double gamma, gain, sigma, speckles;
  } cases[] = {
      {"as it is", 1, 1, 0, 0},
      {"dim", 1, 0.5, 0, 0},
      {"dark", 1, 0.25, 0, 0},
      {"dark shadows", 2, 1, 0, 0},
      {"darker shadows", 3, 1, 0, 0},
      {"grainy", 1, 1, 10, 0},
      {"noisy", 1, 1, 20, 0},
      {"very noisy", 1, 1, 30, 0},
      {"speckled", 1, 1, 0, 0.02},
      {"dark and grainy", 1, 0.35, 10, 0},
      {"dark and noisy", 1, 0.35, 20, 0},
  };
  Scratch sc;
  CFaceIdentifier id;
  ASSERT_EQ(id.LoadDb(sc.root + "\\faces.ftd"), S_OK);
  for (const Case& c : cases)
    for (unsigned seed : {1u, 2u, 3u}) {
      if (c.sigma == 0 && c.speckles == 0 && seed > 1) continue;
      std::vector<BYTE> picture = Varied(whole, c.gamma, c.gain, c.sigma, c.speckles, seed);
      ASSERT_EQ(id.SetImage(reinterpret_cast<BITMAPINFOHEADER*>(picture.data())), S_OK);
      WORD count = 0;
      ASSERT_EQ(id.GetNumberOfFace(&count), S_OK);
      EXPECT_EQ(count, 1) << c.name << " " << seed;
      if (count != 1) continue;
      ASSERT_EQ(id.SetCurrentFace(0), S_OK);
      FTAG_FEATURE feature;
      ASSERT_EQ(FTAG_GetFeature(&feature), 0);
      EXPECT_GT(feature.rcFace.left, 200) << c.name;
      EXPECT_LT(feature.rcFace.right, 440) << c.name;
      EXPECT_LT(feature.rcFace.bottom, 260) << c.name;
    }
}

TEST(Faces, AFullPersonAndGroupedHits) {
  std::vector<uint8_t> db(facetag::DbSize(1));
  ASSERT_TRUE(facetag::InitDb(db.data(), 1));
  std::vector<uint8_t> t(FTAG_TEMPLATE_BYTES, 9);
  for (int i = 0; i < FTAG_FACES_PER_PERSON; ++i) EXPECT_EQ(facetag::StoreRecord(db.data(), -1, 3, t), i + 1);
  EXPECT_EQ(facetag::StoreRecord(db.data(), -1, 3, t), -1);
  const auto best = facetag::Candidates(db.data(), t);
  ASSERT_EQ(best.size(), 1u);
  EXPECT_EQ(best[0], std::make_pair(3, 100));
  // Three hits are noise; four of one place are a face, averaged.
  std::vector<facetag::FaceRect> hits = {{100, 100, 50, 50}, {102, 101, 50, 50}, {98, 99, 52, 52}};
  EXPECT_TRUE(facetag::Group(hits, 3, 0.2).empty());
  hits.push_back({100, 100, 48, 48});
  hits.push_back({400, 10, 50, 50});
  const auto faces = facetag::Group(hits, 3, 0.2);
  ASSERT_EQ(faces.size(), 1u);
  EXPECT_EQ(faces[0].x, 100);
}
