// The parts of a disc title as thumbnails: the composition of one thumbnail, the thumbnail
// list's packed pictures (a header that claims more than its picture is refused), and the
// item dialog on a core double.
#include <CardItemDlg.h>
#include <CardRules.h>
#include <VxResourceIds.h>
#include <dialogwatch.h>
#include <gtest/gtest.h>
#include <picture.h>
#include <pump.h>
#include <testmain.h>
#include <thumblist/ThumbListCtrl.h>

#include <cstring>
#include <vector>

using namespace cardtree;

namespace {

const int kStride = 240;

COLORREF Pixel(const std::vector<BYTE>& thumb, int x, int rowFromBottom) {
  const BYTE* p = thumb.data() + sizeof(BITMAPINFOHEADER) + rowFromBottom * kStride + x * 3;
  return RGB(p[2], p[1], p[0]);
}

std::vector<BYTE> Packed(int w, int h, BYTE value, DWORD sizeImage) {
  const int stride = (w * 3 + 3) & ~3;
  std::vector<BYTE> dib(sizeof(BITMAPINFOHEADER) + stride * h, value);
  BITMAPINFOHEADER header = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, sizeImage};
  memcpy(dib.data(), &header, sizeof header);
  return dib;
}

// Parts of one title: an upright one, a wide one, one without a size.
class PartsCore : public IVxBDIntegrator {
 public:
  struct Size {
    int w, h;
  };
  std::vector<Size> parts = {{1080, 1920}, {1920, 1080}, {0, 0}};
  long ValidateSession(int) override { return 0; }
  long TestSessionAgain(int) override { return 0; }
  long GetDeviceCount(int, int*) override { return E_FAIL; }
  long LockDevice(int) override { return E_FAIL; }
  long ReleaseDevice(int) override { return E_FAIL; }
  long OpenDisc(int, LPCWSTR, int, int*) override { return E_FAIL; }
  long CloseSession(int) override { return 0; }
  long GetDeviceInfo(int, void*) override { return E_FAIL; }
  long GetMediumType(int, void*) override { return E_FAIL; }
  long IsDeviceBusy(int) override { return 0; }
  long GetMediumFlags(int, void*) override { return E_FAIL; }
  long GetSessionDescriptor(int, void*) override { return E_FAIL; }
  long OpenTitleList(int, DWORD, int*) override { return E_FAIL; }
  long CloseTitleList(int) override { return 0; }
  long GetTitleListInfo(int, void*) override { return E_FAIL; }
  long CreateImportJob(void**) override { return E_FAIL; }
  long GetTitleInfo(int, int, void* r) override {
    static_cast<VXBDTITLEINFO*>(r)->nParts = static_cast<LONG>(parts.size());
    return 0;
  }
  long DeleteTitle(int, int) override { return E_FAIL; }
  long GetPartRecord(int, int, int, void*) override { return 0; }
  long GetPartThumbnail(int, int, int, void* dib) override {
    auto* h = static_cast<BITMAPINFOHEADER*>(dib);
    memset(h + 1, 0x40, h->biSizeImage);  // dark grey, exactly the header's size
    return 0;
  }
  long RefreshDevices() override { return 0; }
  long BeginRefresh(int*) override { return 0; }
  long EndRefresh() override { return 0; }
  long Wait(int, long*) override { return 0; }
  long GetPartName(int, int, int, int, LPWSTR, int*) override { return E_FAIL; }
  long GetPartInfo(int, int, int p, void* r) override {
    auto* info = static_cast<VXBDPARTINFO*>(r);
    info->nWidth = parts[p].w;
    info->nHeight = parts[p].h;
    return 0;
  }
};

}  // namespace

TEST(CardItemThumbs, PicturesCentredAndTheBadgeInTheCorner) {
  PartsCore core;
  std::vector<BYTE> badge = Packed(10, 8, 0x00, 10 * 3 * 8 + 0);  // black, stride 32
  std::vector<BYTE> thumb;
  // Upright 1080 x 1920: 33 x 60, centred across.
  ASSERT_EQ(PartThumbnail(&core, 0, 0, 0, reinterpret_cast<BITMAPINFOHEADER*>(badge.data()), badge.size(), &thumb), 0);
  EXPECT_EQ(Pixel(thumb, 0, 30), RGB(255, 255, 255));
  EXPECT_EQ(Pixel(thumb, (80 - 33) / 2, 30), RGB(0x40, 0x40, 0x40));
  EXPECT_EQ(Pixel(thumb, (80 - 33) / 2 + 33, 30), RGB(255, 255, 255));
  // The badge: right edge 2 pixels in, bottom on the third row.
  EXPECT_EQ(Pixel(thumb, 77, 2), RGB(0, 0, 0));
  EXPECT_EQ(Pixel(thumb, 68, 9), RGB(0, 0, 0));
  EXPECT_EQ(Pixel(thumb, 78, 2), RGB(255, 255, 255));
  EXPECT_EQ(Pixel(thumb, 77, 1), RGB(255, 255, 255));
  // Wide 1920 x 1080: 80 x 45, centred up and down.
  ASSERT_EQ(PartThumbnail(&core, 0, 0, 1, nullptr, 0, &thumb), 0);
  EXPECT_EQ(Pixel(thumb, 40, (60 - 45) / 2 - 1), RGB(255, 255, 255));
  EXPECT_EQ(Pixel(thumb, 40, (60 - 45) / 2), RGB(0x40, 0x40, 0x40));
  // No size: white, with the badge.
  ASSERT_EQ(PartThumbnail(&core, 0, 0, 2, reinterpret_cast<BITMAPINFOHEADER*>(badge.data()), badge.size(), &thumb), 0);
  EXPECT_EQ(Pixel(thumb, 40, 30), RGB(255, 255, 255));
  EXPECT_EQ(Pixel(thumb, 77, 2), RGB(0, 0, 0));
}

TEST(ThumbList, PackedPicturesOnlyOfTheirOwnSize) {
  CWnd frame;
  frame.CreateEx(0, AfxRegisterWndClass(0), "list", WS_POPUP, CRect(0, 0, 445, 95), nullptr, 0);
  CThumbListCtrl list(1);
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_ICON, CRect(0, 0, 445, 95), &frame, 1));
  ASSERT_EQ(list.Images().GetImageCount(), 4);
  // As many placeholders as the client holds: three columns by one row.
  CRect client;
  list.GetClientRect(&client);
  list.ResetItems(-1);
  EXPECT_EQ(list.GetItemCount(), (client.Width() / 126) * (client.Height() / 95));
  list.ResetItems(2);
  struct Case {
    DWORD sizeImage;
    size_t cut;  // bytes taken off the end of the block
    int want;
  } cases[] = {
      {240 * 60, 0, 1},          // as the picture says
      {0, 0, 1},                 // no size: nothing copied
      {240 * 60 + 4096, 0, 0},   // claims more than the picture
      {240 * 60 - 1, 0, 0},      // or less
      {240 * 60, 100, 0},        // a block shorter than its picture
  };
  for (const Case& c : cases) {
    std::vector<BYTE> dib = Packed(80, 60, 0x40, c.sizeImage);
    EXPECT_EQ(list.AddPackedDib(0, dib.data(), 0, 1, "part", dib.size() - c.cut), c.want) << c.sizeImage;
  }
  std::vector<BYTE> odd = Packed(80, 60, 0x40, 240 * 60);
  reinterpret_cast<BITMAPINFOHEADER*>(odd.data())->biBitCount = 8;  // a colour table would follow
  EXPECT_EQ(list.AddPackedDib(0, odd.data(), 0, 0, "", odd.size()), 0);
  EXPECT_EQ(list.GetItemData(0), 0x80000000u);
  EXPECT_GT(list.Images().GetImageCount(), 4);
  list.ClearImages();
  EXPECT_EQ(list.GetItemCount(), 0);
  EXPECT_EQ(list.Images().GetImageCount(), 4);
  // Without check mode nothing is checked.
  CThumbListCtrl plain(0);
  ASSERT_TRUE(plain.Create(WS_CHILD | LVS_ICON, CRect(0, 0, 200, 95), &frame, 2));
  plain.ResetItems(1);
  EXPECT_FALSE(plain.SetCheck(0, TRUE));
  EXPECT_TRUE(list.SetCheck(0, TRUE) || list.GetItemCount() == 0);
  frame.DestroyWindow();
}

TEST(CardItemDialog, ShowsOneThumbnailPerPart) {
  SetResourceModule(LoadLibraryA("VxResource.dll"));
  PartsCore core;
  int items = -1;
  testsupport::DialogWatch watch(nullptr, [](HWND box) { return GetDlgItem(box, IDC_CARD_ITEM_LIST) != nullptr; },
                                 [&](HWND box) {
                                   items = (int)SendMessageA(GetDlgItem(box, IDC_CARD_ITEM_LIST), LVM_GETITEMCOUNT, 0, 0);
                                   testsupport::Picture(box).Save("card_item_parts");
                                   PostMessageA(box, WM_COMMAND, IDOK, 0);
                                 });
  CCardItemDlg dlg;
  dlg.m_pCore = &core;
  dlg.m_nSession = 1;
  dlg.m_nList = 2;
  dlg.m_nItem = 0;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(items, 3);
  SetResourceModule(nullptr);
}
