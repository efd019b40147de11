// Decoding: formats, probes, orientation, fitting, the thumbnail path, broken files.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <thread>

#include <files.h>
#include <fuzz.h>

#include "fixtures.h"
#include "imaging/com.h"
#include "imaging/decode.h"
#include "imaging/exif.h"
#include "imaging/output.h"
#include "imaging/transform.h"
#include "internal.h"

using namespace imaging;
using imgtest::Fixture;

namespace {

// Colour classes for the solid-colour fixtures (JPEG leaves a little noise).
char ColourOf(uint32_t argb) {
  int r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  auto hi = [](int v) { return v > 180; };
  auto lo = [](int v) { return v < 75; };
  if (hi(r) && lo(g) && lo(b)) return 'R';
  if (lo(r) && hi(g) && lo(b)) return 'G';
  if (lo(r) && lo(g) && hi(b)) return 'B';
  if (hi(r) && hi(g) && hi(b)) return 'W';
  return '?';
}

// Corners, clockwise from the top left, 4 pixels in.
std::string Corners(const Dib& d) {
  int w = d.Width() - 5, h = d.Height() - 5;
  return {ColourOf(d.Pixel(4, 4)), ColourOf(d.Pixel(w, 4)), ColourOf(d.Pixel(w, h)), ColourOf(d.Pixel(4, h))};
}

}  // namespace

TEST(Decode, FormatsAndProbes) {
  const struct {
    const char* file;
    ImageFormat format;
    int w, h;
  } cases[] = {
      {"plain.jpg", ImageFormat::Jpeg, 320, 240}, {"image.png", ImageFormat::Png, 200, 150},
      {"alpha.png", ImageFormat::Png, 48, 32},    {"image.bmp", ImageFormat::Bmp, 64, 40},
      {"image.gif", ImageFormat::Gif, 48, 32},    {"image.ico", ImageFormat::Ico, 48, 48},
      {"exif.tif", ImageFormat::Tiff, 96, 64},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    ImageInfo info;
    ASSERT_EQ(ProbeImage(Fixture(c.file).c_str(), &info), S_OK);
    EXPECT_EQ(info.format, c.format);
    EXPECT_EQ(info.width, c.w);
    EXPECT_EQ(info.height, c.h);
    DecodeOptions opt;
    opt.applyOrientation = false;
    Dib d;
    DecodeReport rep;
    ASSERT_EQ(DecodeFile(Fixture(c.file).c_str(), opt, &d, &rep), S_OK);
    EXPECT_EQ(d.Width(), c.w);
    EXPECT_EQ(d.Height(), c.h);
    EXPECT_EQ(d.BitCount(), 24);
    EXPECT_FALSE(d.TopDown());
    EXPECT_EQ(rep.info.format, c.format);
    EXPECT_EQ(FormatFromExtension(c.file), c.format);
    EXPECT_EQ(DetectFileFormat(Fixture(c.file).c_str()), c.format);
  }
  ImageInfo info;
  ASSERT_EQ(ProbeImage(Fixture("exif_full.jpg").c_str(), &info), S_OK);
  EXPECT_EQ(info.orientation, 6);
  EXPECT_TRUE(info.hasThumbnail);
  EXPECT_EQ(info.bitCount, 24);
  EXPECT_EQ(info.DisplayWidth(), 480);
  EXPECT_STREQ(FormatName(info.format), "JPEG");
}

TEST(Decode, FormatFromTheFirstBytes) {
  const struct {
    std::string head;
    ImageFormat format;
  } cases[] = {
      {std::string("\xFF\xD8\xFF\xE1", 4), ImageFormat::Jpeg},
      {std::string("\x89PNG\r\n\x1A\n", 8), ImageFormat::Png},
      {std::string("BM") + std::string(12, '\0'), ImageFormat::Bmp},  // the file header is enough
      {std::string("II*\0", 4), ImageFormat::Tiff},
      {std::string("MM\0*", 4), ImageFormat::Tiff},
      {"GIF89a", ImageFormat::Gif},
      {std::string("\0\0\1\0\1\0", 6), ImageFormat::Ico},
      {"BM", ImageFormat::Unknown},  // too short for a bitmap header
      {"hello world", ImageFormat::Unknown},
      {"", ImageFormat::Unknown},
  };
  for (const auto& c : cases) EXPECT_EQ(DetectFormat(c.head.data(), c.head.size()), c.format) << c.head;
  EXPECT_EQ(DetectFileFormat(Fixture("tone.mp3").c_str()), ImageFormat::Unknown);
  EXPECT_EQ(DetectFileFormat(Fixture("missing.jpg").c_str()), ImageFormat::Unknown);
  EXPECT_EQ(DetectFileFormat(nullptr), ImageFormat::Unknown);
}

// The one-opening probe answers what the three separate readings answer, broken files included.
namespace {

void ExpectSameExif(const Exif& a, const Exif& b) {
  EXPECT_EQ(a.Valid(), b.Valid());
  EXPECT_EQ(a.Block(), b.Block());
  EXPECT_EQ(a.TiffPosition(), b.TiffPosition());
  EXPECT_EQ(a.Thumbnail(), b.Thumbnail());
  for (int i = 0; i < int(ExifIfd::Count); ++i) {
    const auto &x = a.Entries(ExifIfd(i)), &y = b.Entries(ExifIfd(i));
    ASSERT_EQ(x.size(), y.size()) << "ifd " << i;
    for (size_t k = 0; k < x.size(); ++k) {
      EXPECT_EQ(x[k].tag, y[k].tag);
      EXPECT_EQ(x[k].data, y[k].data);
    }
  }
  EXPECT_EQ(a.MakerNoteEntries().size(), b.MakerNoteEntries().size());
}

}  // namespace

TEST(Decode, OneOpeningProbesAsTheSeparateReadings) {
  auto same = ExpectSameExif;
  for (const char* file : {"exif_le.jpg", "exif_full.jpg", "exif_south_west.jpg", "plain.jpg", "exif.tif", "image.png",
                           "image.ico", "cut_exif.jpg", "cut_scan.jpg", "bad_offsets.jpg", "not_image.jpg", "tone.mp3",
                           "missing.jpg"}) {
    SCOPED_TRACE(file);
    const std::string path = Fixture(file);
    FileProbe one;
    ProbeImageFile(path.c_str(), &one);
    const ImageFormat format = DetectFileFormat(path.c_str());
    EXPECT_EQ(one.format, format);
    if (format == ImageFormat::Unknown) continue;
    ImageInfo info;
    EXPECT_EQ(one.probe, ProbeImage(path.c_str(), &info));
    EXPECT_EQ(one.info.format, info.format);
    EXPECT_EQ(one.info.width, info.width);
    EXPECT_EQ(one.info.height, info.height);
    EXPECT_EQ(one.info.bitCount, info.bitCount);
    EXPECT_EQ(one.info.orientation, info.orientation);
    EXPECT_EQ(one.info.hasThumbnail, info.hasThumbnail);
    Exif exif;
    const bool hasExif = (format == ImageFormat::Jpeg || format == ImageFormat::Tiff) && exif.Load(path.c_str());
    EXPECT_EQ(one.hasExif, hasExif);
    same(one.exif, exif);
  }
  FileProbe none;
  ProbeImageFile(nullptr, &none);
  EXPECT_EQ(none.format, ImageFormat::Unknown);
}

// A probe of a file's first bytes tells what probing the file tells, or declines; given the
// whole file it always tells.
TEST(Decode, HeadProbesAsTheFileOrDeclines) {
  for (const char* file : {"exif_le.jpg", "exif_full.jpg", "exif_south_west.jpg", "people.jpg", "plain.jpg",
                           "big_nothumb.jpg", "exif.tif", "image.png", "image.bmp", "image.gif", "image.ico",
                           "cut_exif.jpg", "cut_scan.jpg", "bad_offsets.jpg", "not_image.jpg", "tone.mp3"}) {
    const std::string path = Fixture(file);
    const std::string bytes = testsupport::ReadWholeFile(path);
    ASSERT_FALSE(bytes.empty()) << file;
    FileProbe whole;
    ProbeImageFile(path.c_str(), &whole);
    int told = 0;
    for (size_t cut : {bytes.size(), size_t(8192), size_t(1500), size_t(300), size_t(12), size_t(0)}) {
      if (cut > bytes.size()) continue;
      SCOPED_TRACE(std::string(file) + " head " + std::to_string(cut));
      FileProbe head;
      if (!ProbeImageHead(bytes.data(), cut, bytes.size(), &head)) {
        EXPECT_NE(cut, bytes.size());
        EXPECT_EQ(head.format, ImageFormat::Unknown);
        continue;
      }
      ++told;
      EXPECT_EQ(head.format, whole.format);
      EXPECT_EQ(head.probe, whole.probe);
      EXPECT_EQ(head.info.width, whole.info.width);
      EXPECT_EQ(head.info.height, whole.info.height);
      EXPECT_EQ(head.info.bitCount, whole.info.bitCount);
      EXPECT_EQ(head.info.orientation, whole.info.orientation);
      EXPECT_EQ(head.info.hasThumbnail, whole.info.hasThumbnail);
      EXPECT_EQ(head.hasExif, whole.hasExif);
      ExpectSameExif(head.exif, whole.exif);
    }
    EXPECT_GE(told, 1) << file;
  }
  // The headers of a picture lie past a short head: no answer rather than a wrong one.
  const std::string full = testsupport::ReadWholeFile(Fixture("exif_full.jpg"));
  FileProbe cut;
  EXPECT_FALSE(ProbeImageHead(full.data(), 300, full.size(), &cut));
}

TEST(Decode, TransparencyBlendsOrStays) {
  DecodeOptions opt;
  Dib d;
  ASSERT_EQ(DecodeFile(Fixture("alpha.png").c_str(), opt, &d), S_OK);
  EXPECT_EQ(d.Pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);  // transparent corner over white
  opt.background = RGB(0, 0, 0);
  ASSERT_EQ(DecodeFile(Fixture("alpha.png").c_str(), opt, &d), S_OK);
  EXPECT_EQ(d.Pixel(0, 0) & 0xFFFFFF, 0u);
  opt.bitCount = 32;
  ASSERT_EQ(DecodeFile(Fixture("alpha.png").c_str(), opt, &d), S_OK);
  EXPECT_TRUE(d.HasAlpha());
  EXPECT_EQ(d.Pixel(0, 0) >> 24, 0u);
  EXPECT_EQ(d.Pixel(24, 16) >> 24, 0xFFu);
  // An opaque JPEG at 32 bits has no alpha to speak of.
  ASSERT_EQ(DecodeFile(Fixture("plain.jpg").c_str(), opt, &d), S_OK);
  EXPECT_FALSE(d.HasAlpha());
  EXPECT_EQ(d.Pixel(5, 5) >> 24, 0xFFu);
}

TEST(Decode, OrientationTurnsThePicture) {
  const std::string path = Fixture("quadrants.jpg");  // stored red, lime / blue, white; orientation 6
  DecodeOptions opt;
  Dib d;
  DecodeReport rep;
  opt.applyOrientation = false;
  ASSERT_EQ(DecodeFile(path.c_str(), opt, &d, &rep), S_OK);
  EXPECT_EQ(d.Width(), 320);
  EXPECT_EQ(Corners(d), "RGWB");
  EXPECT_FALSE(rep.orientationApplied);
  for (bool topDown : {false, true}) {
    opt.applyOrientation = true;
    opt.topDown = topDown;
    ASSERT_EQ(DecodeFile(path.c_str(), opt, &d, &rep), S_OK);
    EXPECT_EQ(d.TopDown(), topDown);
    EXPECT_EQ(d.Width(), 240);
    EXPECT_EQ(d.Height(), 320);
    EXPECT_EQ(Corners(d), "BRGW");
    EXPECT_TRUE(rep.orientationApplied);
    EXPECT_EQ(rep.info.orientation, 6);
  }
  // The embedded thumbnail turns the same way.
  ASSERT_EQ(DecodeThumbnail(path.c_str(), 60, 80, &d, &rep), S_OK);
  EXPECT_TRUE(rep.fromThumbnail);
  EXPECT_EQ(d.Width(), 60);
  EXPECT_EQ(d.Height(), 80);
  EXPECT_EQ(Corners(d), "BRGW");
}

TEST(Decode, ScaledDecodeFitsTheBox) {
  const struct {
    const char* file;
    int boxW, boxH, w, h;
  } cases[] = {
      {"exif_nothumb.jpg", 100, 100, 100, 75},  {"exif_nothumb.jpg", 50, 200, 50, 38},
      {"exif_nothumb.jpg", 1000, 1000, 640, 480},  // never enlarged
      {"exif_full.jpg", 100, 100, 75, 100},     // orientation 6: shown 480 x 640
      {"exif_full.jpg", 160, 120, 90, 120},     {"image.ico", 20, 20, 20, 20},
      {"image.png", 1, 1, 1, 1},
      {"exif_nothumb.jpg", 0, 120, 160, 120},   // a free side
      {"exif_full.jpg", 0, 100, 75, 100},
  };
  for (const auto& c : cases)
    for (auto source : {DecodeOptions::Source::Full, DecodeOptions::Source::Thumbnail}) {
      SCOPED_TRACE(std::string(c.file) + " " + std::to_string(c.boxW) + "x" + std::to_string(c.boxH));
      DecodeOptions opt;
      opt.maxWidth = c.boxW;
      opt.maxHeight = c.boxH;
      opt.source = source;
      Dib d;
      ASSERT_EQ(DecodeFile(Fixture(c.file).c_str(), opt, &d), S_OK);
      EXPECT_EQ(d.Width(), c.w);
      EXPECT_EQ(d.Height(), c.h);
    }
}

// The thumbnail from what a probe read is the picture the file's own path makes: turned
// (orientation 6), bars cut (exif_le), fitted, never enlarged.
TEST(Decode, ProbedThumbnailIsTheFilesThumbnail) {
  struct {
    const char* file;
    int box;
  } cases[] = {{"exif_full.jpg", 160}, {"exif_full.jpg", 64}, {"exif_le.jpg", 300}, {"exif_le.jpg", 100}};
  for (auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + std::to_string(c.box));
    ImageInfo info;
    Exif exif;
    ASSERT_EQ(ProbeImage(Fixture(c.file).c_str(), &info, &exif), S_OK);
    ASSERT_TRUE(exif.HasThumbnail());
    Dib probed, file;
    ASSERT_EQ(DecodeProbedThumbnail(info, exif.Thumbnail(), c.box, c.box, &probed), S_OK);
    ASSERT_EQ(DecodeThumbnail(Fixture(c.file).c_str(), c.box, c.box, &file), S_OK);
    ASSERT_EQ(probed.Width(), file.Width());
    ASSERT_EQ(probed.Height(), file.Height());
    ASSERT_EQ(probed.BitCount(), 24);
    for (int y = 0; y < file.Height(); y += 7)
      for (int x = 0; x < file.Width(); x += 7) ASSERT_EQ(probed.Pixel(x, y), file.Pixel(x, y)) << x << "," << y;
  }
  // Bytes that are no JPEG, none, or a box of nothing: the caller decodes the file.
  ImageInfo info;
  Exif exif;
  ASSERT_EQ(ProbeImage(Fixture("exif_full.jpg").c_str(), &info, &exif), S_OK);
  std::vector<uint8_t> cut(exif.Thumbnail().begin(), exif.Thumbnail().begin() + 20);
  Dib d;
  EXPECT_FAILED(DecodeProbedThumbnail(info, cut, 160, 160, &d));
  EXPECT_FAILED(DecodeProbedThumbnail(info, std::vector<uint8_t>(), 160, 160, &d));
  EXPECT_EQ(DecodeProbedThumbnail(info, exif.Thumbnail(), 0, 160, &d), E_INVALIDARG);
}

TEST(Decode, ThumbnailPathAndFallback) {
  Dib d;
  DecodeReport rep;
  ASSERT_EQ(DecodeThumbnail(Fixture("exif_full.jpg").c_str(), 160, 160, &d, &rep), S_OK);
  EXPECT_TRUE(rep.fromThumbnail);
  EXPECT_EQ(rep.info.width, 640);  // the full picture's size all the same
  EXPECT_EQ(rep.info.height, 480);
  EXPECT_EQ(d.Width(), 120);
  EXPECT_EQ(d.Height(), 160);

  ASSERT_EQ(DecodeThumbnail(Fixture("exif_nothumb.jpg").c_str(), 160, 160, &d, &rep), S_OK);
  EXPECT_FALSE(rep.fromThumbnail);
  EXPECT_EQ(d.Width(), 160);
  EXPECT_EQ(d.Height(), 120);

  // 3:2 picture whose 160 x 120 thumbnail is padded with black bars: they are cut.
  ASSERT_EQ(DecodeThumbnail(Fixture("exif_le.jpg").c_str(), 300, 300, &d, &rep), S_OK);
  EXPECT_TRUE(rep.fromThumbnail);
  EXPECT_EQ(d.Width(), 160);
  EXPECT_NEAR(d.Height(), 107, 1);
  EXPECT_GT((d.Pixel(d.Width() / 2, 1) >> 8 & 0xFF) + (d.Pixel(d.Width() / 2, 1) >> 16 & 0xFF), 100u);

  // Too small for the box: the full picture is decoded instead.
  DecodeOptions opt;
  opt.maxWidth = 320;
  opt.maxHeight = 320;
  opt.source = DecodeOptions::Source::ThumbnailIfLarge;
  ASSERT_EQ(DecodeFile(Fixture("exif_full.jpg").c_str(), opt, &d, &rep), S_OK);
  EXPECT_FALSE(rep.fromThumbnail);
  EXPECT_EQ(d.Height(), 320);
  opt.maxWidth = opt.maxHeight = 100;
  ASSERT_EQ(DecodeFile(Fixture("exif_full.jpg").c_str(), opt, &d, &rep), S_OK);
  EXPECT_TRUE(rep.fromThumbnail);

  // Thumbnail offsets past the end: the full picture.
  ASSERT_EQ(DecodeThumbnail(Fixture("bad_offsets.jpg").c_str(), 64, 64, &d, &rep), S_OK);
  EXPECT_FALSE(rep.fromThumbnail);
  EXPECT_EQ(d.Height(), 64);
}

TEST(Decode, BrokenInputsFail) {
  Dib d;
  DecodeOptions opt;
  EXPECT_EQ(DecodeFile(Fixture("no_such_file.jpg").c_str(), opt, &d), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_FAILED(DecodeFile(Fixture("not_image.jpg").c_str(), opt, &d));
  EXPECT_FAILED(DecodeFile(Fixture("cut_exif.jpg").c_str(), opt, &d));
  EXPECT_FAILED(DecodeFile(Fixture("tone.mp3").c_str(), opt, &d));
  EXPECT_FAILED(DecodeFile("", opt, &d));
  opt.bitCount = 16;
  EXPECT_EQ(DecodeFile(Fixture("plain.jpg").c_str(), opt, &d), E_INVALIDARG);
  ImageInfo info;
  EXPECT_FAILED(ProbeImage(Fixture("cut_exif.jpg").c_str(), &info));
  EXPECT_FAILED(ProbeImage(Fixture("not_image.jpg").c_str(), &info));

  // A scan cut short decodes or fails, and never crashes; Wine fills the rest.
  DecodeOptions ok;
  HRESULT hr = DecodeFile(Fixture("cut_scan.jpg").c_str(), ok, &d);
  if (SUCCEEDED(hr)) {
    EXPECT_EQ(d.Width(), 480);
  }

  // Every prefix of a real JPEG in memory.
  std::vector<uint8_t> jpeg = imgtest::ReadAll(Fixture("exif_south_west.jpg"));
  ASSERT_GT(jpeg.size(), 1000u);
  for (size_t n = 1; n < jpeg.size(); n += jpeg.size() / 40) {
    Dib part;
    DecodeOptions t;
    t.source = DecodeOptions::Source::Thumbnail;
    t.maxWidth = t.maxHeight = 64;
    hr = DecodeMemory(jpeg.data(), n, t, &part);
    if (SUCCEEDED(hr)) {
      EXPECT_LE(part.Width(), 64);
    }
  }
}

// A TIFF whose first directory lies past its end: the decoders seek there and read on. Every
// road that reads a file (probe, whole picture, thumbnail, the tools' load, GDI+ after WIC)
// fails cleanly, the bytes in memory too.
TEST(Decode, ATiffThatPointsPastItsEndFailsOnEveryRoad) {
  const std::string path = Fixture("ifd_past_end.tif");
  const std::vector<uint8_t> bytes = imgtest::ReadAll(path);
  ASSERT_EQ(bytes.size(), 16u);
  Dib d;
  DecodeOptions opt;
  EXPECT_FAILED(DecodeFile(path.c_str(), opt, &d));
  EXPECT_FAILED(DecodeThumbnail(path.c_str(), 160, 120, &d));
  EXPECT_FAILED(DecodeMemory(bytes.data(), bytes.size(), opt, &d));
  ImageInfo info;
  EXPECT_FAILED(ProbeImage(path.c_str(), &info));
  FileProbe probe;
  ProbeImageFile(path.c_str(), &probe);
  EXPECT_FAILED(probe.probe);
  OutputPicture keep;
  EXPECT_FAILED(LoadForOutput(path.c_str(), &d, &keep));
  EXPECT_TRUE(d.Empty());
}

// The stream the decoders read a file through: a seek may go anywhere from the start on,
// the end and past it included; a read there gives nothing, never bytes from beyond.
TEST(Decode, TheFileStreamStopsAtItsEnd) {
  detail::ComPtr<IStream> stream;
  ASSERT_EQ(detail::MakeByteStream({1, 2, 3, 4, 5}, stream.Put()), S_OK);
  auto seek = [&](LONGLONG move, DWORD origin) {
    LARGE_INTEGER m;
    m.QuadPart = move;
    ULARGE_INTEGER at = {};
    HRESULT hr = stream->Seek(m, origin, &at);
    return SUCCEEDED(hr) ? LONGLONG(at.QuadPart) : -1;
  };
  uint8_t buf[8] = {};
  ULONG got = 99;
  EXPECT_EQ(seek(65536, STREAM_SEEK_SET), 65536);
  EXPECT_EQ(stream->Read(buf, 8, &got), S_FALSE);
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(seek(-2, STREAM_SEEK_END), 3);
  EXPECT_EQ(stream->Read(buf, 8, &got), S_FALSE);
  EXPECT_EQ(got, 2u);
  EXPECT_EQ(buf[0], 4);
  EXPECT_EQ(buf[1], 5);
  EXPECT_EQ(seek(-1, STREAM_SEEK_SET), -1);         // before the start
  EXPECT_EQ(seek(1, STREAM_SEEK_CUR), 6);           // where the failed seek left it: 5
  EXPECT_EQ(seek(LLONG_MAX, STREAM_SEEK_CUR), -1);  // no wrap-around
  STATSTG st = {};
  ASSERT_EQ(stream->Stat(&st, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(st.cbSize.QuadPart, 5u);
  EXPECT_EQ(stream->Write(buf, 1, &got), STG_E_ACCESSDENIED);
  detail::ComPtr<IStream> copy;
  ASSERT_EQ(stream->Clone(copy.Put()), S_OK);
  LARGE_INTEGER zero = {};
  copy->Seek(zero, STREAM_SEEK_SET, nullptr);
  EXPECT_EQ(copy->Read(buf, 5, &got), S_OK);
  EXPECT_EQ(got, 5u);
}

TEST(Decode, ManyThreadsAtOnce) {
  const char* files[] = {"exif_full.jpg", "exif_nothumb.jpg", "image.png", "quadrants.jpg", "image.gif"};
  std::vector<std::thread> threads;
  std::vector<int> failures(4, 0);
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      ComScope com;  // a worker holding COM for its life, as the thumbnail decoder does
      for (int round = 0; round < 5; ++round)
        for (const char* f : files) {
          Dib d;
          if (FAILED(DecodeThumbnail(Fixture(f).c_str(), 96, 96, &d)) || d.Width() > 96 || d.Height() > 96)
            ++failures[size_t(t)];
        }
    });
  for (auto& t : threads) t.join();
  for (int f : failures) EXPECT_EQ(f, 0);
}

TEST(Decode, DrawPictureFileFitsAndCentres) {
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = 200;
  bi.bmiHeader.biHeight = -100;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_TRUE(section);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, section);
  RECT all = {0, 0, 200, 100};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  // plain.jpg is 320 x 240 of #336699: fitted to 133 x 100, centred with black at the sides.
  EXPECT_EQ(DrawPictureFile(dc, all, Fixture("plain.jpg").c_str()), S_OK);
  GdiFlush();
  auto px = [&](int x, int y) { return static_cast<uint32_t*>(bits)[y * 200 + x] & 0xFFFFFF; };
  EXPECT_EQ(px(5, 50), 0u);
  EXPECT_EQ(px(195, 50), 0u);
  EXPECT_NEAR(int(px(100, 50) & 0xFF), 0x99, 6);
  EXPECT_NEAR(int(px(36, 2) >> 16), 0x33, 6);
  EXPECT_FAILED(DrawPictureFile(dc, all, Fixture("not_image.jpg").c_str()));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(section);
}

// The decode hands up the metadata it read, the same as a reader of its own gives, so
// that nobody opens the file again for it; a probe does the same.
TEST(Decode, ReportCarriesTheMetadata) {
  const char* files[] = {"exif_full.jpg", "exif_le.jpg", "exif.tif", "plain.jpg", "image.png"};
  for (const char* f : files) {
    SCOPED_TRACE(f);
    Exif own;
    bool has = own.Load(Fixture(f).c_str());
    Dib d;
    DecodeReport rep;
    ASSERT_EQ(DecodeThumbnail(Fixture(f).c_str(), 96, 96, &d, &rep), S_OK);
    ImageInfo info;
    Exif probed;
    ASSERT_EQ(ProbeImage(Fixture(f).c_str(), &info, &probed), S_OK);
    for (const Exif* e : {&rep.exif, &probed}) {
      EXPECT_EQ(e->Valid(), has);
      EXPECT_EQ(e->Model(), own.Model());
      EXPECT_EQ(e->Orientation(), own.Orientation());
      EXPECT_EQ(e->DateTimeOriginal().has_value(), own.DateTimeOriginal().has_value());
      EXPECT_EQ(e->Thumbnail(), own.Thumbnail());
      EXPECT_EQ(e->TiffPosition(), own.TiffPosition());
    }
  }
  // A picture whose pixels can't be had (its frame header claims no components) still
  // reports its headers.
  std::vector<uint8_t> jpeg = imgtest::ReadAll(Fixture("exif_nothumb.jpg"));
  size_t sof = 0;
  for (size_t i = 2; i + 10 < jpeg.size() && !sof; ++i)
    if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) sof = i;
  ASSERT_NE(sof, 0u);
  jpeg[sof + 9] = 0;
  std::string broken = imgtest::ScratchDir() + "\\no_pixels.jpg";
  ASSERT_TRUE(imgtest::WriteAll(broken, jpeg));
  Dib d;
  DecodeReport rep;
  EXPECT_FAILED(DecodeFile(broken.c_str(), DecodeOptions(), &d, &rep));
  EXPECT_EQ(rep.exif.Model(), "NV-S20");
  EXPECT_EQ(rep.info.width, 640);
}

// Headers that lie past the part of a file read at once, or across its end: the
// results are those of the same bytes in memory.
TEST(Decode, HeadersBeyondTheFirstRead) {
  const std::vector<uint8_t> original = imgtest::ReadAll(Fixture("exif_full.jpg"));
  ASSERT_GT(original.size(), 4000u);
  Exif inMemory;
  ASSERT_TRUE(inMemory.LoadMemory(original.data(), original.size()));
  // APP2 padding before the rest of the file puts the Exif block before, across
  // and after the 64 KB mark.
  const size_t kMark = 64 * 1024;
  const size_t pads[] = {0, kMark - 2000, kMark - 600, kMark - 20, kMark + 100};
  for (size_t pad : pads) {
    SCOPED_TRACE(pad);
    std::vector<uint8_t> file = {0xFF, 0xD8};
    for (size_t left = pad; left > 0;) {
      size_t seg = std::min<size_t>(left, 60000);
      if (left - seg > 0 && left - seg < 8) seg -= 8;  // room for one more segment
      size_t body = seg - 4;
      file.insert(file.end(), {0xFF, 0xE2, uint8_t((body + 2) >> 8), uint8_t((body + 2) & 0xFF)});
      file.insert(file.end(), body, uint8_t(0x5A));
      left -= seg;
    }
    size_t shift = file.size() - 2;
    file.insert(file.end(), original.begin() + 2, original.end());
    std::string path = imgtest::ScratchDir() + "\\padded.jpg";
    ASSERT_TRUE(imgtest::WriteAll(path, file));

    Exif exif;
    ASSERT_TRUE(exif.Load(path.c_str()));
    EXPECT_EQ(exif.Model(), "NV-D500");
    EXPECT_EQ(exif.Thumbnail(), inMemory.Thumbnail());
    EXPECT_EQ(exif.TiffPosition(), inMemory.TiffPosition() + shift);
    ImageInfo info;
    ASSERT_EQ(ProbeImage(path.c_str(), &info), S_OK);
    EXPECT_EQ(info.width, 640);
    EXPECT_EQ(info.orientation, 6);
    Dib d;
    DecodeReport rep;
    ASSERT_EQ(DecodeThumbnail(path.c_str(), 160, 160, &d, &rep), S_OK);
    EXPECT_TRUE(rep.fromThumbnail);
    EXPECT_EQ(d.Height(), 160);
    DecodeOptions full;
    ASSERT_EQ(DecodeFile(path.c_str(), full, &d), S_OK);
    EXPECT_EQ(d.Width(), 480);  // turned upright
  }
}

// An icon whose second image disagrees with its directory entry took Wine's
// decoder down; it must fail before the decoder sees it, whichever way in.
TEST(Decode, IconEntriesMustAgreeWithTheirImages) {
  using testsupport::Le32;
  const std::vector<uint8_t> icon = imgtest::ReadAll(Fixture("image.ico"));
  // Three 32-bit images of 16, 32 and 48 pixels; the second's header sits at 0x49E.
  ASSERT_GT(icon.size(), 0x49Eu + 40);
  ASSERT_EQ(icon[6 + 16], 32);
  const size_t header = 0x49E, entry = 6 + 16;
  const struct {
    const char* what;
    testsupport::ByteChange change;
  } kCases[] = {
      {"width differs", {header + 4, Le32(64)}},
      {"width far larger", {header + 4, Le32(1024)}},
      {"height not twice the entry's", {header + 8, Le32(32)}},
      {"height negative", {header + 8, Le32(uint32_t(-64))}},
      {"height far larger (crashed the decoder)", {header + 8, Le32(0x40000000)}},
      {"header size zero", {header, Le32(0)}},
      {"rows larger than the entry", {entry + 8, Le32(200)}},
      {"image past the end", {entry + 12, Le32(0x7FFFFF00)}},
  };
  std::string path = imgtest::ScratchDir() + "\\damaged.ico";
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> bad = testsupport::WithChanges(icon, {c.change});
    Dib d;
    EXPECT_FAILED(DecodeMemory(bad.data(), bad.size(), DecodeOptions(), &d));
    ASSERT_TRUE(imgtest::WriteAll(path, bad));
    EXPECT_FAILED(DecodeFile(path.c_str(), DecodeOptions(), &d));
    EXPECT_FAILED(DecodeThumbnail(path.c_str(), 96, 96, &d));
    ImageInfo info;
    EXPECT_FAILED(ProbeImage(path.c_str(), &info));
  }
  Dib d;
  ASSERT_EQ(DecodeMemory(icon.data(), icon.size(), DecodeOptions(), &d), S_OK);
  EXPECT_EQ(d.Width(), 48);
}

// A picture cut short fails to decode and leaves no handle on the file: it can be
// opened alone and deleted at once.
TEST(Decode, FailedDecodeLeavesTheFileFree) {
  for (const char* fixture : {"image.bmp", "exif.tif"}) {
    SCOPED_TRACE(fixture);
    std::vector<uint8_t> bytes = imgtest::ReadAll(Fixture(fixture));
    bytes.resize(bytes.size() / 3);
    std::string path = imgtest::ScratchDir() + "\\cut_" + fixture;
    ASSERT_TRUE(imgtest::WriteAll(path, bytes));
    Dib d;
    DecodeFile(path.c_str(), DecodeOptions(), &d);  // fails, or fills what is missing
    DecodeThumbnail(path.c_str(), 64, 64, &d);
    HANDLE alone = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(alone, INVALID_HANDLE_VALUE) << "still open: " << GetLastError();
    if (alone != INVALID_HANDLE_VALUE) CloseHandle(alone);
    EXPECT_TRUE(DeleteFileA(path.c_str())) << GetLastError();
  }
}

// A JPEG wanted in a box is decoded at a reduced DCT scale: the result is the fitted
// size, upright, with its colours where they belong; a header claiming 65535 x 65535 is
// refused before any pixel is decoded.
TEST(Decode, JpegInABoxAtReducedScale) {
  const struct {
    const char* file;
    int boxW, boxH, w, h;
    const char* corners;
  } cases[] = {
      {"quadrants.jpg", 120, 160, 120, 160, "BRGW"},  // orientation 6: the box turns with it
      {"quadrants.jpg", 60, 80, 60, 80, "BRGW"},
      {"big_nothumb.jpg", 1280, 1024, 1280, 960, nullptr},
      {"big_nothumb.jpg", 160, 160, 160, 120, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + std::to_string(c.boxW));
    DecodeOptions opt;
    opt.maxWidth = c.boxW;
    opt.maxHeight = c.boxH;
    Dib d;
    DecodeReport rep;
    ASSERT_EQ(DecodeFile(Fixture(c.file).c_str(), opt, &d, &rep), S_OK);
    EXPECT_FALSE(rep.fromThumbnail);
    EXPECT_EQ(d.Width(), c.w);
    EXPECT_EQ(d.Height(), c.h);
    if (c.corners) { EXPECT_EQ(Corners(d), c.corners); }
  }

  std::vector<uint8_t> jpeg = imgtest::ReadAll(Fixture("plain.jpg"));
  size_t sof = 0;
  for (size_t i = 2; i + 9 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      sof = i;
      break;
    }
  ASSERT_NE(sof, 0u);
  DecodeOptions opt;
  opt.maxWidth = 1280;
  opt.maxHeight = 1024;
  // 65500 is the decoder's largest side: the claim itself is refused. Beyond it the
  // decoder refuses the header.
  for (uint8_t low : {0xDC, 0xFF}) {
    for (size_t k : {5, 7}) jpeg[sof + k] = 0xFF, jpeg[sof + k + 1] = low;
    Dib d;
    HRESULT hr = DecodeMemory(jpeg.data(), jpeg.size(), opt, &d);
    EXPECT_FAILED(hr);
    if (low == 0xDC) { EXPECT_EQ(hr, WINCODEC_ERR_IMAGESIZEOUTOFRANGE); }
    EXPECT_TRUE(d.Empty());
  }
}
