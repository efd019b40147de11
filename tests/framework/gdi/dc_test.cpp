// CDC: drawing into a DIB section and reading the pixels back; object selection; handle maps.
#include <gtest/gtest.h>

#include <thread>

#include "canvas.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 128, 0);

TEST(DcDraw, FillSolidRectFillsExactlyTheRectangleInBothForms) {
  Canvas c(20, 20);
  c.dc.FillSolidRect(2, 3, 5, 4, kRed);
  CRect r(10, 10, 15, 12);
  c.dc.FillSolidRect(&r, kBlue);
  EXPECT_EQ(c.Count(RECT{2, 3, 7, 7}, kRed), 20);
  EXPECT_EQ(c.Count(kRed), 20);
  EXPECT_EQ(c.Count(r, kBlue), 10);
  EXPECT_EQ(c.Count(kBlue), 10);
  // The fill goes through the background colour, which callers then find set.
  EXPECT_EQ(c.dc.GetBkColor(), kBlue);
}

TEST(DcDraw, Draw3dRectFramesTopLeftAndBottomRightInTheirColours) {
  Canvas c(12, 12);
  c.dc.Draw3dRect(CRect(2, 2, 10, 9), kRed, kBlue);
  EXPECT_EQ(c.Count(RECT{2, 2, 9, 3}, kRed), 7);   // top, but the corner the other colour takes
  EXPECT_EQ(c.Count(RECT{2, 2, 3, 8}, kRed), 6);   // left
  EXPECT_EQ(c.Count(RECT{9, 2, 10, 9}, kBlue), 7);  // right
  EXPECT_EQ(c.Count(RECT{2, 8, 10, 9}, kBlue), 8);  // bottom
  EXPECT_EQ(c.Count(RECT{3, 3, 9, 8}, kWhite), 6 * 5);
  EXPECT_EQ(c.Count(kRed) + c.Count(kBlue), 7 + 6 - 1 + 7 + 8 - 1);
}

TEST(DcDraw, RectangleUsesPenForFrameAndBrushForInside) {
  Canvas c(20, 20);
  CPen pen(PS_SOLID, 1, kRed);
  CBrush brush(kBlue);
  CPen* pOldPen = c.dc.SelectObject(&pen);
  CBrush* pOldBrush = c.dc.SelectObject(&brush);
  ASSERT_NE(pOldPen, nullptr);
  ASSERT_NE(pOldBrush, nullptr);
  // A fresh DC holds the stock black pen and white brush.
  EXPECT_EQ(pOldPen->GetSafeHandle(), ::GetStockObject(BLACK_PEN));
  EXPECT_EQ(pOldBrush->GetSafeHandle(), ::GetStockObject(WHITE_BRUSH));
  c.dc.Rectangle(2, 2, 10, 8);
  EXPECT_EQ(c.At(2, 2), kRed);
  EXPECT_EQ(c.At(9, 7), kRed);
  EXPECT_EQ(c.At(5, 5), kBlue);
  EXPECT_EQ(c.At(10, 8), kWhite);
  EXPECT_EQ(c.Count(RECT{3, 3, 9, 7}, kBlue), 6 * 4);
  // Putting the old objects back hands out the objects of ours that were selected.
  EXPECT_EQ(c.dc.SelectObject(pOldPen), &pen);
  EXPECT_EQ(c.dc.SelectObject(pOldBrush), &brush);
}

TEST(DcDraw, LinesShapesAndPixels) {
  Canvas c(20, 20);
  CPen pen(PS_SOLID, 1, kGreen);
  CPen* pOld = c.dc.SelectObject(&pen);
  c.dc.MoveTo(1, 1);
  CPoint prev = c.dc.MoveTo(1, 5);
  EXPECT_EQ(prev.x, 1);
  EXPECT_EQ(prev.y, 1);
  c.dc.LineTo(6, 5);
  EXPECT_EQ(c.dc.GetCurrentPosition().x, 6);
  EXPECT_EQ(c.Count(RECT{1, 5, 6, 6}, kGreen), 5);
  EXPECT_EQ(c.At(6, 5), kWhite);  // the end point is not drawn
  POINT tri[] = {{10, 10}, {18, 10}, {14, 18}};
  CBrush brush(kRed);
  CBrush* pOldBrush = c.dc.SelectObject(&brush);
  c.dc.Polygon(tri, 3);
  EXPECT_EQ(c.At(14, 13), kRed);
  c.dc.SelectObject(pOldBrush);
  c.dc.SetPixel(0, 19, kBlue);
  EXPECT_EQ(c.dc.GetPixel(0, 19), kBlue);
  c.dc.SelectObject(pOld);
}

TEST(DcSelect, EveryFamilyReturnsThePreviousObjectOfItsType) {
  Canvas c(8, 8);
  CBitmap bmp1, bmp2;
  bmp1.CreateCompatibleBitmap(&c.dc, 4, 4);
  bmp2.CreateCompatibleBitmap(&c.dc, 4, 4);
  CDC mem;
  ASSERT_TRUE(mem.CreateCompatibleDC(&c.dc));
  CBitmap* pDefault = mem.SelectObject(&bmp1);
  ASSERT_NE(pDefault, nullptr);
  EXPECT_TRUE(pDefault->IsKindOf(RUNTIME_CLASS(CBitmap)));
  EXPECT_EQ(mem.SelectObject(&bmp2), &bmp1);
  EXPECT_EQ(mem.GetCurrentBitmap(), &bmp2);

  CFont font;
  font.CreatePointFont(90, "MS UI Gothic");
  CFont* pOldFont = mem.SelectObject(&font);
  EXPECT_EQ(mem.GetCurrentFont(), &font);
  EXPECT_EQ(mem.SelectObject(pOldFont), &font);

  // The generic forms give wrappers of the right class, so the usual casts hold.
  CGdiObject* pStock = mem.SelectStockObject(DEFAULT_GUI_FONT);
  ASSERT_NE(pStock, nullptr);
  EXPECT_TRUE(pStock->IsKindOf(RUNTIME_CLASS(CFont)));
  CGdiObject* pGui = mem.SelectObject(static_cast<CGdiObject*>(pStock));
  EXPECT_TRUE(pGui->IsKindOf(RUNTIME_CLASS(CFont)));
  EXPECT_EQ(pGui->GetSafeHandle(), ::GetStockObject(DEFAULT_GUI_FONT));

  // A region selects the clip region and answers its kind.
  CRgn rgn;
  rgn.CreateRectRgn(0, 0, 2, 2);
  EXPECT_EQ(mem.SelectObject(&rgn), SIMPLEREGION);
  EXPECT_EQ(mem.SelectObject(static_cast<CGdiObject*>(&rgn)), nullptr);
  mem.SelectObject(pDefault);
}

TEST(DcMaps, FromHandleFindsTheOwnerOrMakesOneTemporaryPerThread) {
  EXPECT_EQ(CDC::FromHandle(nullptr), nullptr);
  EXPECT_EQ(CGdiObject::FromHandle(nullptr), nullptr);

  Canvas c(4, 4);
  EXPECT_EQ(CDC::FromHandle(c.dc.m_hDC), &c.dc);
  EXPECT_EQ(CBitmap::FromHandle((HBITMAP)c.m_bitmap.m_hObject), &c.m_bitmap);

  HDC hScreen = ::GetDC(nullptr);
  CDC* pTemp = CDC::FromHandle(hScreen);
  ASSERT_NE(pTemp, nullptr);
  EXPECT_EQ(CDC::FromHandle(hScreen), pTemp);
  EXPECT_EQ(pTemp->m_hAttribDC, hScreen);
  CDC* pOther = nullptr;
  std::thread([&] {
    pOther = CDC::FromHandle(hScreen);
    CDC::DeleteTempMap();
  }).join();
  EXPECT_NE(pOther, pTemp);
  EXPECT_EQ(pTemp->GetSafeHdc(), hScreen);  // another thread's clean-up left ours alone

  // The clean-up only lets go of the wrapper: the DC stays usable.
  CDC::DeleteTempMap();
  EXPECT_GT(::GetDeviceCaps(hScreen, HORZRES), 0);
  EXPECT_EQ(CDC::FromHandle(hScreen)->GetSafeHdc(), hScreen);
  CDC::DeleteTempMap();
  ::ReleaseDC(nullptr, hScreen);

  // Drawing objects likewise, typed by the handle's kind.
  HGDIOBJ hPen = ::GetStockObject(BLACK_PEN);
  CPen* pPen = CPen::FromHandle((HPEN)hPen);
  EXPECT_EQ(CGdiObject::FromHandle(hPen), pPen);
  EXPECT_TRUE(CGdiObject::FromHandle(::GetStockObject(WHITE_BRUSH))->IsKindOf(RUNTIME_CLASS(CBrush)));
  CGdiObject::DeleteTempMap();
  EXPECT_EQ(::GetObjectType(hPen), (DWORD)OBJ_PEN);
}

TEST(DcMaps, DetachAndAttachMoveOwnership) {
  CBrush brush(kRed);
  HBRUSH h = (HBRUSH)brush.Detach();
  EXPECT_EQ(brush.GetSafeHandle(), nullptr);
  CBrush* pTemp = CBrush::FromHandle(h);
  EXPECT_NE(pTemp, &brush);
  {
    CBrush owner;
    ASSERT_TRUE(owner.Attach(h));
    EXPECT_EQ(CBrush::FromHandle(h), &owner);
  }  // the owner deletes the brush
  EXPECT_EQ(::GetObjectType(h), 0u);
  CGdiObject::DeleteTempMap();

  // Making a second object in the same wrapper leaves the first one unowned.
  CPen pen(PS_SOLID, 1, kRed);
  HPEN hFirst = (HPEN)pen.GetSafeHandle();
  pen.CreatePen(PS_SOLID, 1, kBlue);
  EXPECT_NE(CPen::FromHandle(hFirst), &pen);
  EXPECT_EQ(CPen::FromHandle((HPEN)pen.GetSafeHandle()), &pen);
  CGdiObject::DeleteTempMap();
  ::DeleteObject(hFirst);
  CBrush* pNull = nullptr;
  EXPECT_EQ(pNull->GetSafeHandle(), nullptr);
  EXPECT_FALSE(brush.DeleteObject());
}

TEST(DcClip, ClipRegionsAndRectanglesLimitFills) {
  Canvas c(20, 20);
  CRgn rgn;
  rgn.CreateRectRgn(5, 5, 10, 10);
  EXPECT_EQ(c.dc.SelectClipRgn(&rgn), SIMPLEREGION);
  CRect box;
  EXPECT_EQ(c.dc.GetClipBox(&box), SIMPLEREGION);
  EXPECT_EQ(box, CRect(5, 5, 10, 10));
  c.dc.ExcludeClipRect(5, 5, 7, 10);
  c.dc.FillSolidRect(0, 0, 20, 20, kRed);
  EXPECT_EQ(c.Count(kRed), 3 * 5);
  EXPECT_EQ(c.Count(RECT{7, 5, 10, 10}, kRed), 15);

  c.dc.SelectClipRgn(nullptr);
  c.dc.IntersectClipRect(CRect(0, 0, 2, 3));
  c.dc.FillSolidRect(0, 0, 20, 20, kBlue);
  EXPECT_EQ(c.Count(kBlue), 6);
  c.dc.SelectClipRgn(nullptr);

  // An elliptic region: the corners of its box stay untouched.
  CRgn ellipse;
  ellipse.CreateEllipticRgn(0, 0, 20, 20);
  c.dc.SelectClipRgn(&ellipse);
  c.dc.FillSolidRect(0, 0, 20, 20, kGreen);
  EXPECT_EQ(c.At(10, 10), kGreen);
  EXPECT_NE(c.At(19, 19), kGreen);
}

TEST(DcState, RestoreDcBringsBackObjectsClipAndColours) {
  Canvas c(10, 10);
  HGDIOBJ hPen0 = c.dc.GetCurrentPen()->GetSafeHandle();
  HGDIOBJ hFont0 = c.dc.GetCurrentFont()->GetSafeHandle();
  int nSaved = c.dc.SaveDC();
  ASSERT_NE(nSaved, 0);
  CPen pen(PS_DASH, 1, kRed);
  CFont font;
  font.CreatePointFont(120, "MS UI Gothic");
  c.dc.SelectObject(&pen);
  c.dc.SelectObject(&font);
  c.dc.SetTextColor(kBlue);
  c.dc.IntersectClipRect(0, 0, 1, 1);
  c.dc.SetMapMode(MM_LOMETRIC);
  EXPECT_TRUE(c.dc.RestoreDC(nSaved));
  EXPECT_EQ(c.dc.GetCurrentPen()->GetSafeHandle(), hPen0);
  EXPECT_EQ(c.dc.GetCurrentFont()->GetSafeHandle(), hFont0);
  EXPECT_NE(c.dc.GetTextColor(), kBlue);
  EXPECT_EQ(c.dc.GetMapMode(), MM_TEXT);
  CRect box;
  c.dc.GetClipBox(&box);
  EXPECT_EQ(box, CRect(0, 0, 10, 10));
}

TEST(DcCoords, OriginsAndConversions) {
  Canvas c(10, 10);
  EXPECT_EQ(c.dc.SetViewportOrg(3, 4), CPoint(0, 0));
  EXPECT_EQ(c.dc.OffsetViewportOrg(1, 1), CPoint(3, 4));
  EXPECT_EQ(c.dc.GetViewportOrg(), CPoint(4, 5));
  CPoint pt(1, 1);
  c.dc.LPtoDP(&pt);
  EXPECT_EQ(pt, CPoint(5, 6));
  c.dc.DPtoLP(&pt);
  EXPECT_EQ(pt, CPoint(1, 1));
  // A size is not moved by the origin.
  CSize size(2, 3);
  c.dc.LPtoDP(&size);
  EXPECT_EQ(size, CSize(2, 3));
  c.dc.FillSolidRect(0, 0, 1, 1, kRed);
  EXPECT_EQ(c.At(4, 5), kRed);
  EXPECT_EQ(c.dc.SetWindowOrg(1, 0), CPoint(0, 0));
  EXPECT_EQ(c.dc.GetWindowOrg(), CPoint(1, 0));
  c.dc.SetMapMode(MM_LOMETRIC);  // 0.1 mm, y up
  CSize mm(100, 100);
  c.dc.LPtoDP(&mm);
  EXPECT_GT(mm.cx, 0);
  EXPECT_LT(mm.cy, 0);
}

// Inverting the frame twice in the same place leaves nothing; moving it equals drawing
// the new frame alone.
TEST(DcDragRect, DrawMoveAndEraseTheTrackerFrame) {
  const SIZE thick = {2, 2};
  CBrush white(kWhite);  // PATINVERT with white turns white to black and back
  Canvas c(40, 40);
  CRect r1(5, 5, 20, 20), r2(8, 9, 30, 25);
  c.dc.DrawDragRect(&r1, thick, nullptr, thick, &white);
  EXPECT_EQ(c.At(5, 5), RGB(0, 0, 0));
  EXPECT_EQ(c.At(6, 19), RGB(0, 0, 0));
  EXPECT_EQ(c.At(7, 7), kWhite);
  EXPECT_EQ(c.Count(RECT{0, 0, 40, 40}, RGB(0, 0, 0)), 15 * 15 - 11 * 11);

  c.dc.DrawDragRect(&r2, thick, &r1, thick, &white);
  Canvas expected(40, 40);
  expected.dc.DrawDragRect(&r2, thick, nullptr, thick, &white);
  EXPECT_TRUE(c.SameAs(expected));

  c.dc.DrawDragRect(&r2, thick, &r2, thick, &white);
  EXPECT_TRUE(c.SameAs(expected));
  c.dc.DrawDragRect(&r2, thick, nullptr, thick, &white);
  EXPECT_EQ(c.Count(kWhite), 40 * 40);

  // The caller's clip region limits the drawing and is still in place afterwards, as is
  // the selected brush.
  c.dc.IntersectClipRect(0, 0, 7, 7);
  CBrush* pBrush = c.dc.GetCurrentBrush();
  c.dc.DrawDragRect(&r1, thick, nullptr, thick, &white);
  EXPECT_EQ(c.Count(RGB(0, 0, 0)), 2 * 2);  // the frame's corner inside (0, 0, 7, 7)
  c.dc.IntersectClipRect(0, 0, 3, 3);
  c.dc.DrawDragRect(&r1, thick, nullptr, thick);
  CRect box;
  c.dc.GetClipBox(&box);
  EXPECT_EQ(box, CRect(0, 0, 3, 3));
  EXPECT_EQ(c.dc.GetCurrentBrush(), pBrush);
}

TEST(DcDragRect, HalftoneBrushIsOneSharedCheckerboard) {
  CBrush* p = CDC::GetHalftoneBrush();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(CDC::GetHalftoneBrush(), p);
  Canvas c(8, 8);
  c.dc.SetTextColor(RGB(0, 0, 0));
  c.dc.SetBkColor(kWhite);
  CBrush* pOld = c.dc.SelectObject(p);
  c.dc.PatBlt(0, 0, 8, 8, PATCOPY);
  c.dc.SelectObject(pOld);
  EXPECT_EQ(c.Count(kWhite), 32);
  for (int y = 0; y < 8; y++)
    for (int x = 0; x + 1 < 8; x++) EXPECT_NE(c.At(x, y), c.At(x + 1, y)) << x << "," << y;
}

// Shrinking in HALFTONE mode averages what each destination pixel covers; colour-on-colour
// keeps single source pixels.
TEST(DcStretch, HalftoneAveragesWhereColourOnColourPicks) {
  Canvas checker(8, 8), ramp(8, 8);
  for (int y = 0; y < 8; y++)
    for (int x = 0; x < 8; x++) {
      checker.dc.SetPixelV(x, y, ((x + y) & 1) ? RGB(0, 0, 0) : kWhite);
      ramp.dc.SetPixelV(x, y, RGB(x * 32, x * 32, x * 32));
    }
  struct Case {
    int mode;
    Canvas* src;
    COLORREF left, right;  // CLR_INVALID: any single source pixel
  } cases[] = {
      {HALFTONE, &checker, RGB(128, 128, 128), RGB(128, 128, 128)},
      {HALFTONE, &ramp, RGB(48, 48, 48), RGB(176, 176, 176)},
      {COLORONCOLOR, &checker, CLR_INVALID, CLR_INVALID},
      {COLORONCOLOR, &ramp, CLR_INVALID, CLR_INVALID},
  };
  for (const Case& k : cases) {
    Canvas dst(2, 2, kRed);
    EXPECT_NE(dst.dc.SetStretchBltMode(k.mode), 0);
    dst.dc.SetBrushOrg(0, 0);
    EXPECT_EQ(dst.dc.GetStretchBltMode(), k.mode);
    ASSERT_TRUE(dst.dc.StretchBlt(0, 0, 2, 2, &k.src->dc, 0, 0, 8, 8, SRCCOPY));
    for (int x = 0; x < 2; x++) {
      COLORREF want = x ? k.right : k.left;
      COLORREF got = dst.At(x, 1);
      if (want != CLR_INVALID) {
        EXPECT_EQ(got, want) << "mode " << k.mode << " x " << x;
      } else {
        bool fromSource = false;
        for (int sx = 0; sx < 8; sx++) fromSource |= got == k.src->At(sx, 0) || got == k.src->At(sx, 1);
        EXPECT_TRUE(fromSource) << "mode " << k.mode << " gave " << std::hex << got;
      }
    }
  }
}

TEST(DcStretch, HalftoneKeepsFlatColoursAndTheDestinationClip) {
  Canvas src(80, 60, kBlue);
  Canvas dst(60, 40);
  dst.dc.SetStretchBltMode(HALFTONE);
  dst.dc.SetBrushOrg(0, 0);
  dst.dc.IntersectClipRect(0, 0, 30, 40);
  ASSERT_TRUE(dst.dc.StretchBlt(4, 4, 56, 32, &src.dc, 0, 0, 80, 60, SRCCOPY));
  EXPECT_EQ(dst.Count(RECT{4, 4, 30, 36}, kBlue), 26 * 32);
  EXPECT_EQ(dst.Count(kBlue), 26 * 32);  // nothing beyond the clip or the box
  // Enlarging and same-size copies are Win32's own.
  Canvas big(16, 16);
  big.dc.SetStretchBltMode(HALFTONE);
  ASSERT_TRUE(big.dc.StretchBlt(0, 0, 16, 16, &src.dc, 0, 0, 8, 8, SRCCOPY));
  EXPECT_EQ(big.Count(kBlue), 16 * 16);
  Canvas copy(8, 8);
  copy.dc.BitBlt(0, 0, 8, 8, &src.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(copy.Count(kBlue), 64);
}

TEST(DcFrames, EdgesFocusAndInversion) {
  Canvas c(20, 20);
  CRect r(2, 2, 18, 18);
  EXPECT_TRUE(c.dc.DrawEdge(&r, EDGE_RAISED, BF_RECT | BF_ADJUST));
  EXPECT_EQ(r, CRect(4, 4, 16, 16));  // BF_ADJUST shrinks by the edge
  EXPECT_EQ(c.At(10, 10), kWhite);
  EXPECT_NE(c.At(17, 17), kWhite);
  c.dc.InvertRect(CRect(0, 0, 1, 1));
  EXPECT_EQ(c.At(0, 0), RGB(0, 0, 0));
  CBrush red(kRed);
  c.dc.FrameRect(CRect(5, 5, 10, 10), &red);
  EXPECT_EQ(c.Count(RECT{5, 5, 10, 10}, kRed), 16);
  c.dc.FillRect(CRect(6, 6, 9, 9), &red);
  EXPECT_EQ(c.Count(RECT{5, 5, 10, 10}, kRed), 25);
  CRect check(0, 0, 16, 16);
  Canvas ctl(16, 16);
  EXPECT_TRUE(ctl.dc.DrawFrameControl(&check, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED));
  EXPECT_LT(ctl.Count(kWhite), 16 * 16);
}

TEST(DcScreen, NullWindowDcsAreTheScreen) {
  CClientDC client(nullptr);
  CWindowDC window(nullptr);
  ASSERT_NE(client.GetSafeHdc(), nullptr);
  ASSERT_NE(window.GetSafeHdc(), nullptr);
  EXPECT_EQ(client.GetDeviceCaps(HORZRES), ::GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(CDC::FromHandle(client.m_hDC), &client);
}

}  // namespace
