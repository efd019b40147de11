// Pixel transforms and fit arithmetic.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "imaging/exif.h"
#include "imaging/transform.h"

using namespace imaging;

namespace {

// A w x h picture whose pixel (x, y) has the colour 0xFF00xxyy (x, y < 256).
Dib Numbered(int w, int h, int bits, bool topDown) {
  Dib d;
  d.Create(w, h, bits, topDown);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) d.SetPixel(x, y, 0xFF000000u | uint32_t(x) << 8 | uint32_t(y));
  return d;
}

// Where source pixel (x, y) went: its colour searched in the result.
POINT Find(const Dib& d, int x, int y) {
  uint32_t want = uint32_t(x) << 8 | uint32_t(y);
  for (int j = 0; j < d.Height(); ++j)
    for (int i = 0; i < d.Width(); ++i)
      if ((d.Pixel(i, j) & 0xFFFFFF) == want) return {i, j};
  return {-1, -1};
}

}  // namespace

TEST(Transform, FitArithmetic) {
  const struct {
    int w, h, boxW, boxH;
    bool enlarge;
    int fitW, fitH;
  } cases[] = {
      {640, 480, 160, 160, false, 160, 120}, {480, 640, 160, 160, false, 120, 160},
      {6000, 4000, 160, 120, false, 160, 107}, {100, 50, 400, 400, false, 100, 50},
      {100, 50, 400, 400, true, 400, 200},   {1, 1000, 100, 100, false, 1, 100},
      {1000, 1, 100, 100, false, 100, 1},    {3, 2, 2, 2, false, 2, 1},
      {0, 10, 10, 10, false, 0, 0},          {10, 10, 0, 10, false, 0, 0},
      {-5, 10, 10, 10, false, 0, 0},         {32767, 32767, 1, 1, false, 1, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " in " << c.boxW << "x" << c.boxH);
    SIZE s = FitSize(c.w, c.h, c.boxW, c.boxH, c.enlarge);
    EXPECT_EQ(s.cx, c.fitW);
    EXPECT_EQ(s.cy, c.fitH);
    RECT box = {10, 20, 10 + c.boxW, 20 + c.boxH};
    RECT r = FitRect(c.w, c.h, box, c.enlarge);
    EXPECT_EQ(r.right - r.left, c.fitW);
    EXPECT_EQ(r.bottom - r.top, c.fitH);
    if (c.fitW > 0) {  // centred: the margins differ by at most one pixel
      EXPECT_LE(std::abs((r.left - box.left) - (box.right - r.right)), 1);
      EXPECT_LE(std::abs((r.top - box.top) - (box.bottom - r.bottom)), 1);
    }
  }
}

TEST(Transform, RotationsAndFlipsMovePixels) {
  // Source 4 x 3. Where the top-left (0,0) and top-right (3,0) pixels land.
  const struct {
    int orientation;
    int w, h;
    POINT topLeft, topRight;
  } cases[] = {
      {1, 4, 3, {0, 0}, {3, 0}}, {2, 4, 3, {3, 0}, {0, 0}}, {3, 4, 3, {3, 2}, {0, 2}},
      {4, 4, 3, {0, 2}, {3, 2}}, {5, 3, 4, {0, 0}, {0, 3}}, {6, 3, 4, {2, 0}, {2, 3}},
      {7, 3, 4, {2, 3}, {2, 0}}, {8, 3, 4, {0, 3}, {0, 0}},
  };
  for (int bits : {24, 32})
    for (bool topDown : {false, true})
      for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "orientation " << c.orientation << " bits " << bits << " topDown "
                                        << topDown);
        Dib src = Numbered(4, 3, bits, topDown), out;
        ASSERT_TRUE(ApplyOrientation(src, c.orientation, &out));
        EXPECT_EQ(out.Width(), c.w);
        EXPECT_EQ(out.Height(), c.h);
        EXPECT_EQ(out.TopDown(), topDown);
        POINT a = Find(out, 0, 0), b = Find(out, 3, 0);
        EXPECT_EQ(a.x, c.topLeft.x);
        EXPECT_EQ(a.y, c.topLeft.y);
        EXPECT_EQ(b.x, c.topRight.x);
        EXPECT_EQ(b.y, c.topRight.y);
      }
  // Rotate and Flip are the same turns; a turn in place works too.
  Dib d = Numbered(4, 3, 24, false);
  ASSERT_TRUE(Rotate(d, 90, &d));
  EXPECT_EQ(Find(d, 0, 0).x, 2);
  ASSERT_TRUE(Rotate(d, -90, &d));
  EXPECT_EQ(Find(d, 0, 0).x, 0);
  ASSERT_TRUE(Flip(d, true, false, &d));
  EXPECT_EQ(Find(d, 0, 0).x, 3);
  ASSERT_TRUE(Rotate(d, 180, &d));
  EXPECT_EQ(Find(d, 0, 0).y, 2);
}

TEST(Transform, ResizeAveragesInsteadOfSampling) {
  // A one-pixel checkerboard shrinks to grey, not to black or white.
  Dib board;
  ASSERT_TRUE(board.Create(64, 64, 24));
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) board.SetPixel(x, y, (x + y) % 2 ? 0xFFFFFFFF : 0xFF000000);
  Dib small;
  ASSERT_TRUE(Resize(board, 8, 8, &small));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_NEAR(int(small.Pixel(x, y) & 0xFF), 128, 2);
  // Flat colours stay exact both ways; odd ratios too.
  Dib flat;
  ASSERT_TRUE(flat.Create(37, 23, 32));
  flat.Fill(0xFF336699);
  for (SIZE s : {SIZE{5, 3}, SIZE{100, 61}, SIZE{37, 1}, SIZE{1, 1}}) {
    Dib r;
    ASSERT_TRUE(Resize(flat, s.cx, s.cy, &r));
    EXPECT_EQ(r.Width(), s.cx);
    EXPECT_EQ(r.Pixel(r.Width() - 1, r.Height() - 1) & 0xFFFFFF, 0x336699u);
  }
  // Enlarging interpolates between neighbours.
  Dib two;
  ASSERT_TRUE(two.Create(2, 1, 24));
  two.SetPixel(0, 0, 0xFF000000);
  two.SetPixel(1, 0, 0xFFFFFFFF);
  Dib wide;
  ASSERT_TRUE(Resize(two, 8, 1, &wide));
  for (int x = 1; x < 8; ++x) EXPECT_GE(wide.Pixel(x, 0) & 0xFF, wide.Pixel(x - 1, 0) & 0xFF);
  EXPECT_LT(wide.Pixel(0, 0) & 0xFF, 10u);
  EXPECT_GT(wide.Pixel(7, 0) & 0xFF, 245u);
  EXPECT_FALSE(Resize(two, 0, 5, &wide));
  EXPECT_FALSE(Resize(Dib(), 5, 5, &wide));
}

TEST(Transform, TransparentPixelsDoNotDarkenEdges) {
  // Transparent black beside opaque white: shrunk, the colour stays white.
  Dib d;
  ASSERT_TRUE(d.Create(4, 1, 32));
  d.SetHasAlpha(true);
  d.SetPixel(0, 0, 0x00000000);
  d.SetPixel(1, 0, 0x00000000);
  d.SetPixel(2, 0, 0xFFFFFFFF);
  d.SetPixel(3, 0, 0xFFFFFFFF);
  Dib r;
  ASSERT_TRUE(Resize(d, 3, 1, &r));
  uint32_t mid = r.Pixel(1, 0);
  EXPECT_NEAR(int(mid >> 24), 128, 3);
  EXPECT_GT(mid & 0xFF, 250u);
  // Blended over a background when going to 24 bits.
  Dib flat;
  ASSERT_TRUE(ConvertBitCount(d, 24, &flat, RGB(255, 0, 0)));
  EXPECT_EQ(flat.Pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(flat.Pixel(3, 0), 0xFFFFFFFFu);
  ASSERT_TRUE(ConvertBitCount(flat, 32, &flat));
  EXPECT_EQ(flat.BitCount(), 32);
  EXPECT_FALSE(flat.HasAlpha());
}

TEST(Transform, CropClipsToThePicture) {
  Dib d = Numbered(10, 8, 24, false), c;
  ASSERT_TRUE(Crop(d, RECT{2, 3, 6, 5}, &c));
  EXPECT_EQ(c.Width(), 4);
  EXPECT_EQ(c.Height(), 2);
  EXPECT_EQ(c.Pixel(0, 0) & 0xFFFF, 0x0203u);
  ASSERT_TRUE(Crop(d, RECT{-5, -5, 3, 100}, &c));
  EXPECT_EQ(c.Width(), 3);
  EXPECT_EQ(c.Height(), 8);
  EXPECT_FALSE(Crop(d, RECT{20, 0, 30, 5}, &c));
  EXPECT_FALSE(Crop(d, RECT{5, 5, 5, 6}, &c));
  ASSERT_TRUE(CropToAspect(d, 1, 1, &c));
  EXPECT_EQ(c.Width(), 8);
  EXPECT_EQ(c.Pixel(0, 0) & 0xFFFF, 0x0100u);
}

// Thumbnail-size pictures and up reuse the pages of pictures freed before: a new picture
// still starts blank, whatever the last one of its size left there, from any thread.
TEST(Dib, NewPicturesStartBlankOnReusedPages) {
  for (int side : {160, 800}) {  // a thumbnail's pages and a view's
    for (int round = 0; round < 3; ++round) {
      std::vector<Dib> pictures(8);
      for (Dib& d : pictures) {
        ASSERT_TRUE(d.Create(side, side * 3 / 4, 24));
        for (size_t i = 0; i < d.BitsSize(); ++i)
          ASSERT_EQ(d.Bits()[i], 0) << "side " << side << ", round " << round << ", byte " << i;
        memset(d.Bits(), 0xA5, d.BitsSize());
      }
    }
  }
  // Blocks taken and given back on other threads at once.
  std::vector<std::thread> threads;
  std::atomic<int> dirty{0};
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&dirty] {
      for (int k = 0; k < 200; ++k) {
        Dib d;
        if (!d.Create(160, 120, 24)) ++dirty;
        for (size_t i = 0; i < d.BitsSize(); i += 97)
          if (d.Bits()[i]) ++dirty;
        memset(d.Bits(), 0x5A, d.BitsSize());
      }
    });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(dirty, 0);
}

// A folder's thumbnails freed go back to the system, but for a bounded reserve kept for the
// next pictures; thumbnails kept here and there among freed ones hold their pixels, and the
// pages given back under them serve new pictures again.
TEST(Dib, FreedThumbnailPagesGoBackButForABoundedReserve) {
  const size_t kIdleBound = 32u << 20, kRegion = 4u << 20;
  const detail::PagedBlockFigures before = detail::PagedBlocksNow();
  std::vector<Dib> pictures(1200);  // about 70 MB of thumbnails, twice the reserve
  for (size_t k = 0; k < pictures.size(); ++k) {
    ASSERT_TRUE(pictures[k].Create(160, 120, 24)) << k;
    memset(pictures[k].Bits(), int(k % 251) + 1, pictures[k].BitsSize());
  }
  EXPECT_GT(detail::PagedBlocksNow().reserved, before.reserved + 60u * (1 << 20));
  std::vector<const uint8_t*> pixels;
  for (const Dib& d : pictures) pixels.push_back(d.Bits());

  // Every 25th kept, the rest freed.
  for (size_t k = 0; k < pictures.size(); ++k)
    if (k % 25) pictures[k].Clear();
  detail::PagedBlockFigures scattered = detail::PagedBlocksNow();
  EXPECT_LE(scattered.idle, kIdleBound);
  for (size_t k = 0; k < pictures.size(); k += 25)
    for (size_t i = 0; i < pictures[k].BitsSize(); i += 101)
      ASSERT_EQ(pictures[k].Bits()[i], uint8_t(k % 251) + 1) << "picture " << k << ", byte " << i;

  // New pictures among the kept ones: blank, on the pages given back.
  std::vector<Dib> again(1000);
  for (size_t k = 0; k < again.size(); ++k) {
    ASSERT_TRUE(again[k].Create(160, 120, 24)) << k;
    for (size_t i = 0; i < again[k].BitsSize(); i += 97) ASSERT_EQ(again[k].Bits()[i], 0) << k << ", byte " << i;
    memset(again[k].Bits(), 0x3C, again[k].BitsSize());
  }
  EXPECT_LE(detail::PagedBlocksNow().reserved, scattered.reserved + kRegion * 4);

  // The folder left: what stays reserved is the bounded reserve; the pages of the other
  // pictures are the system's again.
  again.clear();
  pictures.clear();
  const detail::PagedBlockFigures after = detail::PagedBlocksNow();
  EXPECT_LE(after.idle, kIdleBound);
  EXPECT_LE(after.reserved, before.reserved + kIdleBound + kRegion);
  size_t stillMapped = 0;
  for (const uint8_t* p : pixels) {
    MEMORY_BASIC_INFORMATION mbi{};
    ASSERT_NE(VirtualQuery(p, &mbi, sizeof mbi), 0u);
    if (mbi.State == MEM_COMMIT) stillMapped += 160 * 120 * 3;
  }
  EXPECT_LE(stillMapped, kIdleBound + kRegion);
}

TEST(Dib, LayoutAndConversions) {
  Dib d;
  EXPECT_FALSE(d.Create(0, 5, 24));
  EXPECT_FALSE(d.Create(5, 5, 16));
  EXPECT_FALSE(d.Create(40000, 5, 24));
  ASSERT_TRUE(d.Create(3, 2, 24));
  EXPECT_EQ(d.Stride(), 12);  // 9 bytes rounded up to a DWORD
  EXPECT_EQ(d.PackedSize(), sizeof(BITMAPINFOHEADER) + 24);
  EXPECT_EQ(d.Header()->biHeight, 2);
  d.SetPixel(0, 0, 0xFF112233);
  EXPECT_EQ(d.Bits()[12], 0x33);  // bottom-up: the top row is stored second
  d.SetTopDown(true);
  EXPECT_EQ(d.Header()->biHeight, -2);
  EXPECT_EQ(d.Bits()[0], 0x33);
  EXPECT_EQ(d.Pixel(0, 0), 0xFF112233u);

  // An 8-bit palette DIB comes in through GDI.
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD colours[2];
    uint8_t bits[2][4];
  } pal = {};
  pal.h.biSize = sizeof(BITMAPINFOHEADER);
  pal.h.biWidth = 2;
  pal.h.biHeight = 2;
  pal.h.biPlanes = 1;
  pal.h.biBitCount = 8;
  pal.h.biClrUsed = 2;
  pal.colours[1] = RGBQUAD{0x30, 0x20, 0x10, 0};
  pal.bits[0][0] = 1;  // bottom row, left pixel
  Dib from;
  ASSERT_TRUE(from.Assign(&pal, sizeof pal, 32));
  EXPECT_EQ(from.BitCount(), 32);
  EXPECT_EQ(from.Pixel(0, 1) & 0xFFFFFF, 0x102030u);
  EXPECT_EQ(from.Pixel(1, 1) & 0xFFFFFF, 0u);
  // A header claiming more than the block holds is refused before any row is read.
  {
    auto bad = pal;
    bad.h.biHeight = 3000;
    Dib none;
    EXPECT_FALSE(none.Assign(&bad, sizeof bad, 24));
    bad = pal;
    bad.h.biClrUsed = 200;
    EXPECT_FALSE(none.Assign(&bad, sizeof bad, 24));
    EXPECT_FALSE(none.Assign(&pal, sizeof pal - 1, 24));
    EXPECT_FALSE(none.Assign(&pal, sizeof(BITMAPINFOHEADER) - 1, 24));
    EXPECT_TRUE(none.Empty());
  }

  // Through a GDI bitmap and back.
  HBITMAP bm = from.CreateBitmap();
  ASSERT_TRUE(bm);
  Dib back;
  ASSERT_TRUE(back.FromBitmap(bm, 24));
  DeleteObject(bm);
  EXPECT_EQ(back.Pixel(0, 1) & 0xFFFFFF, 0x102030u);
}
