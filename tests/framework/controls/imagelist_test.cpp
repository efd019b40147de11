// Image lists: images from the resource library with a mask colour, icons, replacing and
// removing, counts, overlays, owned copies of the shell's system list, drag images.
#include <gtest/gtest.h>

#include "ctltest.h"

using namespace ctltest;

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);

// A 32-bit DIB-section DC for drawing images and reading pixels back.
struct Paper {
  CDC dc;
  CBitmap bitmap;
  DWORD* bits = nullptr;
  int cx;
  CBitmap* pOld = nullptr;
  Paper(int w, int h) : cx(w) {
    void* p = nullptr;
    bitmap.CreateDIBSection(w, h, 32, &p);
    bits = (DWORD*)p;
    dc.CreateCompatibleDC(nullptr);
    pOld = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, w, h, kWhite);
  }
  ~Paper() { dc.SelectObject(pOld); }
  COLORREF At(int x, int y) {
    ::GdiFlush();
    DWORD v = bits[y * cx + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
};

HICON MakeIcon(COLORREF clr) {
  CImageList list;
  list.Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1);
  CBitmap bm;
  CClientDC screen(nullptr);
  bm.CreateCompatibleBitmap(&screen, 16, 16);
  CDC dc;
  dc.CreateCompatibleDC(&screen);
  CBitmap* pOld = dc.SelectObject(&bm);
  dc.FillSolidRect(0, 0, 16, 16, clr);
  dc.SelectObject(pOld);
  list.Add(&bm, kMagenta);
  return list.ExtractIcon(0);
}

}  // namespace

TEST(ImageList, StripFromTheResourceLibraryIsCutAndMasked) {
  ResourceScope scope;
  CImageList list;
  ASSERT_TRUE(list.Create(IDB_ICONS, 16, 4, kMagenta));
  EXPECT_EQ(3, list.GetImageCount());
  int cx = 0, cy = 0;
  ASSERT_TRUE(list.GetIconSize(&cx, &cy));
  EXPECT_EQ(16, cx);
  EXPECT_EQ(16, cy);

  Paper paper(48, 16);
  for (int i = 0; i < 3; ++i) list.Draw(&paper.dc, i, CPoint(16 * i, 0), ILD_TRANSPARENT);
  // Centres show the images' colours; the magenta borders let the paper through.
  EXPECT_EQ(RGB(255, 0, 0), paper.At(8, 8));
  EXPECT_EQ(RGB(0, 128, 0), paper.At(24, 8));
  EXPECT_EQ(RGB(0, 0, 255), paper.At(40, 8));
  EXPECT_EQ(kWhite, paper.At(1, 1));
  EXPECT_EQ(kWhite, paper.At(33, 14));

  // A second Create on a list that holds one fails and keeps the first.
  HIMAGELIST h = list.GetSafeHandle();
  EXPECT_FALSE(list.Create(16, 16, ILC_COLOR24, 0, 1));
  EXPECT_EQ(h, list.GetSafeHandle());
}

TEST(ImageList, AddReplaceRemoveAndCounts) {
  CImageList list;
  ASSERT_TRUE(list.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 512));
  HICON red = MakeIcon(RGB(255, 0, 0));
  HICON blue = MakeIcon(RGB(0, 0, 255));
  EXPECT_EQ(0, list.Add(red));
  EXPECT_EQ(1, list.Add(red));
  EXPECT_EQ(2, list.Add(red));
  // The card tree's way: exactly two images, then image 1 replaced.
  EXPECT_TRUE(list.SetImageCount(2));
  EXPECT_EQ(2, list.GetImageCount());
  EXPECT_EQ(1, list.Replace(1, blue));
  // Grown again for a slot far ahead, as the disk tree does at index 1000.
  EXPECT_TRUE(list.SetImageCount(1001));
  EXPECT_EQ(1000, list.Replace(1000, blue));
  EXPECT_EQ(1001, list.GetImageCount());

  Paper paper(16, 16);
  list.Draw(&paper.dc, 1, CPoint(0, 0), ILD_NORMAL);
  EXPECT_EQ(RGB(0, 0, 255), paper.At(8, 8));

  // Removing from the last down to a kept head, as the thumbnail list clears itself.
  for (int i = list.GetImageCount() - 1; i >= 1; --i) EXPECT_TRUE(list.Remove(i));
  EXPECT_EQ(1, list.GetImageCount());
  IMAGEINFO info = {};
  ASSERT_TRUE(list.GetImageInfo(0, &info));
  EXPECT_EQ(16, info.rcImage.right - info.rcImage.left);
  HICON extracted = list.ExtractIcon(0);
  EXPECT_NE(nullptr, extracted);
  ::DestroyIcon(extracted);
  EXPECT_TRUE(list.Remove(-1));
  EXPECT_EQ(0, list.GetImageCount());
  ::DestroyIcon(red);
  ::DestroyIcon(blue);
}

TEST(ImageList, OverlayImagesDrawOverTheBase) {
  ResourceScope scope;
  CImageList list;
  ASSERT_TRUE(list.Create(IDB_ICONS, 16, 4, kMagenta));
  EXPECT_EQ(CLR_NONE, list.SetBkColor(RGB(1, 2, 3)));
  EXPECT_EQ(RGB(1, 2, 3), list.GetBkColor());
  list.SetBkColor(CLR_NONE);
  // Overlay 1 shows image 2 (blue); drawn over image 0 (red) its centre is blue and the
  // overlay's transparent border keeps the base's colour where the base has one.
  ASSERT_TRUE(list.SetOverlayImage(2, 1));
  Paper paper(16, 16);
  list.Draw(&paper.dc, 0, CPoint(0, 0), ILD_TRANSPARENT | INDEXTOOVERLAYMASK(1));
  EXPECT_EQ(RGB(0, 0, 255), paper.At(8, 8));
  EXPECT_EQ(kWhite, paper.At(1, 1));
  Paper plain(16, 16);
  list.Draw(&plain.dc, 0, CPoint(0, 0), ILD_TRANSPARENT);
  EXPECT_EQ(RGB(255, 0, 0), plain.At(8, 8));
}

TEST(ImageList, DrawIndirectDrawsAPartOfAnImage) {
  ResourceScope scope;
  CImageList list;
  ASSERT_TRUE(list.Create(IDB_ICONS, 16, 4, kMagenta));
  Paper paper(16, 16);
  // Only the image's top-left 8 x 8 (its magenta border and part of the centre).
  ASSERT_TRUE(list.DrawIndirect(&paper.dc, 0, CPoint(0, 0), CSize(8, 8), CPoint(0, 0), ILD_TRANSPARENT));
  EXPECT_EQ(RGB(255, 0, 0), paper.At(6, 6));
  EXPECT_EQ(kWhite, paper.At(12, 12));
}

TEST(ImageList, OwnedCopyOfTheSystemImageList) {
  char windows[MAX_PATH] = "";
  ::GetWindowsDirectoryA(windows, sizeof(windows));
  char root[4] = {windows[0], ':', '\\', 0};
  SHFILEINFOA sfi = {};
  HIMAGELIST hSystem = (HIMAGELIST)::SHGetFileInfoA(root, 0, &sfi, sizeof(sfi), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  ASSERT_NE(nullptr, hSystem);
  int nSystem = ImageList_GetImageCount(hSystem);
  ASSERT_GT(nSystem, 0);
  {
    // A temporary wrapper of the system's list never owns it.
    CImageList* pSystem = CImageList::FromHandle(hSystem);
    ASSERT_NE(nullptr, pSystem);
    EXPECT_EQ(nullptr, CImageList::FromHandlePermanent(hSystem));
    CImageList copy;
    ASSERT_TRUE(copy.Create(pSystem));
    EXPECT_NE(hSystem, copy.GetSafeHandle());
    EXPECT_EQ(nSystem, copy.GetImageCount());
    copy.SetBkColor(CLR_NONE);
    EXPECT_EQ(&copy, CImageList::FromHandle(copy.GetSafeHandle()));
    // Growing the copy leaves the system's list alone.
    copy.SetImageCount(nSystem + 5);
    EXPECT_EQ(nSystem, ImageList_GetImageCount(hSystem));
    CImageList::DeleteTempMap();
  }
  // The copy is gone, the system's list is not.
  EXPECT_EQ(nSystem, ImageList_GetImageCount(hSystem));
}

TEST(ImageList, AttachDetachAndTheHandleMap) {
  HIMAGELIST h = ImageList_Create(8, 8, ILC_COLOR24, 0, 1);
  CImageList* pOwner = new CImageList;
  ASSERT_TRUE(pOwner->Attach(h));
  EXPECT_EQ(pOwner, CImageList::FromHandle(h));
  EXPECT_EQ(pOwner, CImageList::FromHandlePermanent(h));
  EXPECT_EQ(h, pOwner->Detach());
  EXPECT_EQ(nullptr, CImageList::FromHandlePermanent(h));
  delete pOwner;  // owns nothing now
  EXPECT_EQ(0, ImageList_GetImageCount(h));  // still a valid list
  CImageList* pNew = AfxNewImageList(h);
  ASSERT_NE(nullptr, pNew);
  EXPECT_EQ(pNew, CImageList::FromHandle(h));
  delete pNew;  // destroys it
  EXPECT_EQ(nullptr, AfxNewImageList(nullptr));
  const CImageList* pNull = nullptr;
  EXPECT_EQ(nullptr, pNull->GetSafeHandle());
}

TEST(ImageList, DragImageFollowsAndEnds) {
  ResourceScope scope;
  CImageList list;
  ASSERT_TRUE(list.Create(IDB_ICONS, 16, 4, kMagenta));
  CWnd* pDesktop = CWnd::GetDesktopWindow();
  ASSERT_TRUE(list.BeginDrag(1, CPoint(4, 5)));
  EXPECT_TRUE(CImageList::DragEnter(pDesktop, CPoint(100, 100)));
  EXPECT_TRUE(CImageList::DragMove(CPoint(120, 130)));
  EXPECT_TRUE(CImageList::DragShowNolock(FALSE));
  EXPECT_TRUE(CImageList::DragShowNolock(TRUE));
  POINT pt = {}, hot = {};
  CImageList* pDrag = CImageList::GetDragImage(&pt, &hot);
  ASSERT_NE(nullptr, pDrag);
  EXPECT_EQ(120, pt.x);
  EXPECT_EQ(130, pt.y);
  EXPECT_EQ(4, hot.x);
  EXPECT_EQ(5, hot.y);
  EXPECT_TRUE(CImageList::DragLeave(pDesktop));
  CImageList::EndDrag();
  EXPECT_EQ(nullptr, CImageList::GetDragImage(&pt, &hot));
  CImageList::DeleteTempMap();
}
