// The movie header reader on made movies and on hand-built headers with broken fields.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MovieHeaderReader.h"
#include "files.h"
#include "tempfolder.h"

namespace {

typedef std::vector<uint8_t> Bytes;

void Put32(Bytes* b, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) b->push_back((uint8_t)(v >> s));
}
Bytes Box(const char* type, const Bytes& body, int sizeOverride = -1) {
  Bytes b;
  Put32(&b, sizeOverride >= 0 ? (uint32_t)sizeOverride : (uint32_t)(body.size() + 8));
  b.insert(b.end(), type, type + 4);
  b.insert(b.end(), body.begin(), body.end());
  return b;
}
Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes b;
  for (const Bytes& p : parts) b.insert(b.end(), p.begin(), p.end());
  return b;
}
Bytes Zeros(size_t n) { return Bytes(n, 0); }

struct Movie {
  uint32_t timeScale = 30, duration = 300;
  std::vector<std::pair<uint32_t, uint32_t>> stts = {{300, 1}};
  uint32_t sttsCount = 0xFFFFFFFF;  // the entries' number unless set
  const char* codec = "jpeg";
  const char* handler = "vide";
  int mdatSize = -1;  // 1: the box's size as a 64-bit one
  Bytes Build() const {
    Bytes mdhd = Zeros(12);
    Put32(&mdhd, timeScale);
    Put32(&mdhd, duration);
    Put32(&mdhd, 0);
    Bytes hdlr = Zeros(8);
    hdlr.insert(hdlr.end(), handler, handler + 4);
    hdlr.resize(24, 0);
    Bytes stsd = Zeros(4);
    Put32(&stsd, 1);
    Bytes desc = Zeros(4);
    desc.insert(desc.end(), codec, codec + 4);
    desc.resize(78, 0);
    desc[0] = 0;
    desc[3] = 86;  // the description's own size
    stsd.insert(stsd.end(), desc.begin(), desc.end());
    Bytes tts = Zeros(4);
    Put32(&tts, sttsCount == 0xFFFFFFFF ? (uint32_t)stts.size() : sttsCount);
    for (auto& e : stts) {
      Put32(&tts, e.first);
      Put32(&tts, e.second);
    }
    Bytes stbl = Box("stbl", Cat({Box("stsd", stsd), Box("stts", tts)}));
    Bytes minf = Box("minf", Cat({Box("vmhd", Zeros(12)), stbl}));
    Bytes mdia = Box("mdia", Cat({Box("mdhd", mdhd), Box("hdlr", hdlr), minf}));
    Bytes tkhd = Zeros(76);
    Put32(&tkhd, 16 << 16);
    Put32(&tkhd, 16 << 16);
    Bytes moov = Box("moov", Cat({Box("mvhd", Zeros(100)), Box("trak", Cat({Box("tkhd", tkhd), mdia}))}));
    Bytes ftyp = Box("ftyp", {'q', 't', ' ', ' ', 0, 0, 2, 0});
    Bytes mdat = Box("mdat", Zeros(16));
    if (mdatSize == 1) {  // a 64-bit size: 1, the type, then the size itself
      mdat = Box("mdat", Zeros(16), 1);
      mdat[15] = 24;
    }
    return Cat({ftyp, moov, mdat});
  }
};

std::string Write(const std::string& dir, const char* name, const Bytes& b) {
  std::string path = dir + "\\" + name;
  EXPECT_TRUE(testsupport::WriteWholeFile(path, std::string(b.begin(), b.end())));
  return path;
}

struct Read {
  int ok;
  UINT num, den, flag;
};
Read ReadAll(const std::string& path) {
  Read r;
  r.ok = ReadMovieInfo(path.c_str(), &r.num, &r.den);
  r.flag = ReadMovieFlag(path.c_str());
  return r;
}

TEST(MovieHeader, MadeMotionJpegMovies) {
  struct {
    const char* file;
    double seconds;
  } cases[] = {{"mjpeg_10.mov", 10}, {"mjpeg_600.mov", 600}, {"mjpeg_601.mov", 601}};
  for (auto& c : cases) {
    Read r = ReadAll(std::string("testdata\\") + c.file);
    ASSERT_EQ(1, r.ok) << c.file;
    EXPECT_NEAR(c.seconds, (double)r.den * r.flag / r.num, 0.01) << c.file;
  }
  // Another codec is not read.
  Read mp4 = ReadAll("testdata\\movie.mp4");
  EXPECT_EQ(0, mp4.ok);
  EXPECT_EQ(0u, mp4.num);
  EXPECT_EQ(0u, mp4.flag);
}

TEST(MovieHeader, HandBuiltHeaders) {
  std::string dir = testsupport::NewTempFolder("movieheader");
  Movie ten;
  Read r = ReadAll(Write(dir, "ten.mov", ten.Build()));
  EXPECT_EQ(1, r.ok);
  EXPECT_EQ(900u, r.num);  // 30 frames a second at time scale 30
  EXPECT_EQ(30u, r.den);
  EXPECT_EQ(300u, r.flag);

  Movie hour;  // one hour at a fine time scale
  hour.timeScale = 90000;
  hour.duration = 90000u * 3600u;
  hour.stts = {{108000, 3000}};
  r = ReadAll(Write(dir, "hour.mov", hour.Build()));
  EXPECT_EQ(1, r.ok);
  EXPECT_EQ(108000u, r.flag);
  EXPECT_NEAR(3600.0, (double)r.den * r.flag / r.num, 0.01);

  struct {
    const char* name;
    Movie movie;
    int ok;
    UINT flag;
  } cases[] = {
      {"zero scale",
       [] {
         Movie m;
         m.timeScale = 0;
         return m;
       }(),
       0, 300},
      {"zero duration",
       [] {
         Movie m;
         m.duration = 0;
         return m;
       }(),
       0, 300},
      {"no samples",
       [] {
         Movie m;
         m.stts = {{0, 1}};
         return m;
       }(),
       0, 0},
      {"count past the box",
       [] {
         Movie m;
         m.sttsCount = 0x7FFFFFFF;
         return m;
       }(),
       1, 300},
      {"two entries",
       [] {
         Movie m;
         m.stts = {{100, 1}, {200, 1}};
         return m;
       }(),
       1, 100},
      {"avc",
       [] {
         Movie m;
         m.codec = "avc1";
         return m;
       }(),
       0, 0},
      {"mjpa",
       [] {
         Movie m;
         m.codec = "mjpa";
         return m;
       }(),
       1, 300},
      {"panorama",
       [] {
         Movie m;
         m.handler = "qtvr";
         return m;
       }(),
       0, 0},
      {"wide mdat",
       [] {
         Movie m;
         m.mdatSize = 1;
         return m;
       }(),
       0, 0},
  };
  for (auto& c : cases) {
    Read x = ReadAll(Write(dir, "case.mov", c.movie.Build()));
    EXPECT_EQ(c.ok, x.ok) << c.name;
    EXPECT_EQ(c.flag, x.flag) << c.name;
    if (!x.ok) { EXPECT_EQ(0u, x.num + x.den) << c.name; }
  }
  testsupport::RemoveTree(dir);
}

// Cut anywhere, or with a box size of 0 to 7 written over any box header: never a crash
// and never a read past the file (the answer is whatever the remaining boxes say).
TEST(MovieHeader, BrokenFilesEndTheWalk) {
  std::string dir = testsupport::NewTempFolder("movieheader-cut");
  Bytes whole = Movie().Build();
  for (size_t n = 0; n < whole.size(); n += 3) {
    Bytes cut(whole.begin(), whole.begin() + n);
    Read r = ReadAll(Write(dir, "cut.mov", cut));
    if (n < whole.size() - 24) { EXPECT_EQ(0, r.ok) << n; }
  }
  const char* types[] = {"moov", "trak", "mdia", "minf", "stbl", "stts", "mdhd"};
  for (const char* t : types) {
    size_t at = std::string(whole.begin(), whole.end()).find(t) - 4;
    for (uint32_t size : {0u, 1u, 2u, 7u, 0xFFFFFFF0u}) {
      Bytes b = whole;
      for (int k = 0; k < 4; ++k) b[at + k] = (uint8_t)(size >> (24 - 8 * k));
      ReadAll(Write(dir, "bad.mov", b));
    }
  }
  UINT a = 5, d = 5;
  EXPECT_EQ(0, ReadMovieInfo((dir + "\\missing.mov").c_str(), &a, &d));
  EXPECT_EQ(0u, a + d);
  EXPECT_EQ(0, ReadMovieInfo("testdata\\mjpeg_10.mov", NULL, &d));
  EXPECT_EQ(0u, ReadMovieFlag(NULL));
  testsupport::RemoveTree(dir);
}

}  // namespace
