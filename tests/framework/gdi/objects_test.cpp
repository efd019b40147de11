// Drawing objects: bitmaps from a resource library, bitmap bits, pattern brushes, regions.
// The OBM_* ids of the system bitmaps.
#define OEMRESOURCE
#include <gtest/gtest.h>

#include "canvas.h"
#include "gdi_res.h"
#include "res_scope.h"

namespace {

TEST(Bitmap, LoadsFromTheCurrentResourceHandle) {
  CBitmap missing;
  EXPECT_FALSE(missing.LoadBitmap(IDB_GDI_TEST));  // not in the program itself
  ResourceScope res;
  ASSERT_NE(res.Handle(), nullptr);
  CBitmap bmp;
  ASSERT_TRUE(bmp.LoadBitmap(IDB_GDI_TEST));
  BITMAP bm = {};
  ASSERT_GT(bmp.GetBitmap(&bm), 0);
  EXPECT_EQ(bm.bmWidth, 4);
  EXPECT_EQ(bm.bmHeight, 3);

  // The pixels the build wrote into the BMP: red, green, blue, white over black.
  Canvas c(4, 3);
  CDC mem;
  mem.CreateCompatibleDC(&c.dc);
  CBitmap* pOld = mem.SelectObject(&bmp);
  c.dc.BitBlt(0, 0, 4, 3, &mem, 0, 0, SRCCOPY);
  mem.SelectObject(pOld);
  EXPECT_EQ(c.At(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(c.At(1, 0), RGB(0, 255, 0));
  EXPECT_EQ(c.At(2, 0), RGB(0, 0, 255));
  EXPECT_EQ(c.At(3, 0), RGB(255, 255, 255));
  EXPECT_EQ(c.Count(RECT{0, 1, 4, 3}, RGB(0, 0, 0)), 8);

  CBitmap byName;
  EXPECT_FALSE(byName.LoadBitmap("NO_SUCH_BITMAP"));
  EXPECT_EQ(byName.GetSafeHandle(), nullptr);
}

// An extension library in the resource chain is searched when the current resource
// handle lacks the bitmap.
TEST(Bitmap, LoadsAlongTheExtensionChain) {
  {
    ChainScope chain;
    ASSERT_NE(chain.Handle(), nullptr);
    CBitmap bmp;
    ASSERT_TRUE(bmp.LoadBitmap(IDB_GDI_TEST));
    BITMAP bm = {};
    bmp.GetBitmap(&bm);
    EXPECT_EQ(bm.bmWidth, 4);
  }
  CBitmap unlinked;
  EXPECT_FALSE(unlinked.LoadBitmap(IDB_GDI_TEST));
}

TEST(Bitmap, OemAndMadeBitmaps) {
  CBitmap check;
  ASSERT_TRUE(check.LoadOEMBitmap(OBM_CHECK));
  BITMAP bm = {};
  check.GetBitmap(&bm);
  EXPECT_GT(bm.bmWidth, 0);

  // A monochrome bitmap's bits go in and come out unchanged.
  const BYTE bits[4] = {0xA5, 0x00, 0x5A, 0x00};  // two rows of 8 pixels, word aligned
  CBitmap mono;
  ASSERT_TRUE(mono.CreateBitmap(8, 2, 1, 1, nullptr));
  EXPECT_EQ(mono.SetBitmapBits(sizeof(bits), bits), sizeof(bits));
  BYTE back[4] = {};
  EXPECT_EQ(mono.GetBitmapBits(sizeof(back), back), sizeof(back));
  EXPECT_EQ(back[0], 0xA5);
  EXPECT_EQ(back[2], 0x5A);

  EXPECT_EQ(mono.SetBitmapDimension(100, 50), CSize(0, 0));
  EXPECT_EQ(mono.GetBitmapDimension(), CSize(100, 50));

  BITMAP desc = {0, 3, 2, 4, 1, 1, nullptr};
  CBitmap indirect;
  ASSERT_TRUE(indirect.CreateBitmapIndirect(&desc));
  indirect.GetBitmap(&bm);
  EXPECT_EQ(bm.bmWidth, 3);
  EXPECT_EQ(bm.bmHeight, 2);
}

TEST(Brush, PatternSolidHatchAndSystemColourBrushes) {
  // A 2 x 2 pattern of red and blue from a 32-bit bitmap tiles the fill.
  Canvas pattern(2, 2, RGB(255, 0, 0));
  pattern.dc.SetPixelV(1, 0, RGB(0, 0, 255));
  pattern.dc.SetPixelV(0, 1, RGB(0, 0, 255));
  CBrush brush;
  ASSERT_TRUE(brush.CreatePatternBrush(&pattern.m_bitmap));
  Canvas c(6, 6);
  c.dc.FillRect(CRect(0, 0, 6, 6), &brush);
  EXPECT_EQ(c.Count(RGB(255, 0, 0)), 18);
  EXPECT_EQ(c.Count(RGB(0, 0, 255)), 18);
  EXPECT_NE(c.At(0, 0), c.At(1, 0));

  CBrush sys;
  ASSERT_TRUE(sys.CreateSysColorBrush(COLOR_BTNFACE));
  LOGBRUSH lb = {};
  sys.GetLogBrush(&lb);
  EXPECT_EQ(lb.lbColor, ::GetSysColor(COLOR_BTNFACE));
  EXPECT_TRUE(sys.DeleteObject());  // ours to delete

  CBrush hatch(HS_CROSS, RGB(0, 255, 0));
  hatch.GetLogBrush(&lb);
  EXPECT_EQ(lb.lbStyle, (UINT)BS_HATCHED);
  EXPECT_EQ(lb.lbHatch, (ULONG_PTR)HS_CROSS);
}

TEST(Region, CombineTestAndMove) {
  CRgn a, b, both;
  ASSERT_TRUE(a.CreateRectRgn(0, 0, 10, 10));
  ASSERT_TRUE(b.CreateRectRgnIndirect(CRect(5, 5, 15, 15)));
  ASSERT_TRUE(both.CreateRectRgn(0, 0, 0, 0));
  struct Case {
    int mode;
    int kind;
    POINT in, out;
  } cases[] = {
      {RGN_AND, SIMPLEREGION, {7, 7}, {2, 2}},
      {RGN_OR, COMPLEXREGION, {2, 2}, {2, 12}},
      {RGN_DIFF, COMPLEXREGION, {2, 2}, {7, 7}},
      {RGN_XOR, COMPLEXREGION, {12, 12}, {7, 7}},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(both.CombineRgn(&a, &b, k.mode), k.kind) << k.mode;
    EXPECT_TRUE(both.PtInRegion(k.in)) << k.mode;
    EXPECT_FALSE(both.PtInRegion(k.out.x, k.out.y)) << k.mode;
  }
  CRect box;
  EXPECT_EQ(both.GetRgnBox(&box), COMPLEXREGION);
  EXPECT_EQ(box, CRect(0, 0, 15, 15));
  both.OffsetRgn(CPoint(100, 0));
  both.GetRgnBox(&box);
  EXPECT_EQ(box.left, 100);
  both.SetRectRgn(CRect(1, 2, 3, 4));
  both.GetRgnBox(&box);
  EXPECT_EQ(box, CRect(1, 2, 3, 4));
  CRgn copy;
  copy.CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(copy.CopyRgn(&both), SIMPLEREGION);
  EXPECT_TRUE(copy.EqualRgn(&both));
  EXPECT_TRUE(copy.RectInRegion(CRect(0, 0, 2, 3)));

  CRgn round;
  ASSERT_TRUE(round.CreateRoundRectRgn(0, 0, 20, 20, 10, 10));
  EXPECT_TRUE(round.PtInRegion(10, 10));
  EXPECT_FALSE(round.PtInRegion(0, 0));
}

TEST(Palette, HalftonePalette) {
  Canvas c(2, 2);
  CPalette pal;
  ASSERT_TRUE(pal.CreateHalftonePalette(&c.dc));
  EXPECT_GT(pal.GetEntryCount(), 16);
  CPalette* pOld = c.dc.SelectPalette(&pal, FALSE);
  ASSERT_NE(pOld, nullptr);
  EXPECT_EQ(c.dc.GetCurrentPalette(), &pal);
  c.dc.SelectPalette(pOld, FALSE);
}

}  // namespace
