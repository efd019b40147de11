// The image picker over a photo database and folders of the test's own: the names and
// their pictures, thumbnails with check boxes and the preview, a browsed folder, what OK
// files and asks, and the screenshot.
#include <Kitlib2/Kitlib2.h>
#include <VxDatabase.h>
#include <VxResourceIds.h>
#include <gtest/gtest.h>
#include <imaging/dib.h>
#include <imaging/encode.h>

#include <files.h>
#include <picture.h>
#include <profileroot.h>
#include <tempfolder.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ImagePickerDlg.h"
#include "ImagePickerRules.h"
#include "ui/ResourceDialog.h"
#include "uikit.h"

namespace {

// A picture of one colour: the preview shows which one is selected.
bool MakePicture(const std::string& path, COLORREF color) {
  testsupport::MakeFolders(path.substr(0, path.rfind('\\')));
  imaging::Dib dib;
  if (!dib.Create(320, 240, 24)) return false;
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) {
      uint8_t* p = dib.Row(y) + x * 3;
      p[0] = GetBValue(color), p[1] = GetGValue(color), p[2] = GetRValue(color);
    }
  return imaging::SaveJpeg(dib, path.c_str(), 95) == S_OK;
}

std::string Text(UINT id) { return (LPCSTR)LoadResourceText(id); }

// The picker with the folder browser and the questions answered by the test.
class TestPicker : public CImagePickerDlg {
 public:
  std::vector<std::string> browsedFrom;  // start folders the browser was asked with
  std::string folder;                    // the browser's answer; empty: cancelled
  std::vector<std::string> asked;
  int answer = IDNO;

 protected:
  BOOL BrowseFolder(CString* pFolder, LPCSTR lpszStart) override {
    browsedFrom.push_back(lpszStart);
    if (folder.empty()) return FALSE;
    *pFolder = folder.c_str();
    return TRUE;
  }
  int Ask(const CString& text) override {
    asked.push_back((LPCSTR)text);
    return answer;
  }
};

class ImagePicker : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(VxDBSetFolder((root + "\\db").c_str()), S_OK);
    db = GetDBFileObject();
    ASSERT_NE(db, nullptr);
    CMWriteProfileString("CardTree", "BackupFolder", (root + "\\backup\\").c_str());
  }
  void TearDown() override {
    if (db) db->Release();
    VxDBClose(-1);
    VxDBSetFolder(NULL);
    testsupport::RemoveTree(root);
  }
  std::string Path(const std::string& name) const { return root + "\\" + name; }
  void File(const std::string& name, const std::string& path) {
    VXDBRECORD r;
    ASSERT_TRUE(imagepicker::PickedRecord(name, path, &r));
    ASSERT_TRUE(SUCCEEDED(db->AddRecord(r, VXDB_KIND_PICKED, NULL)));
  }
  std::vector<std::string> Files(const std::string& name) {
    CStringList list;
    int n = 0;
    db->GetFiles(name.c_str(), 1, &list, &n);
    std::vector<std::string> v;
    for (POSITION pos = list.GetHeadPosition(); pos;) v.push_back((LPCSTR)list.GetNext(pos));
    std::sort(v.begin(), v.end());
    return v;
  }
  static std::vector<std::string> Entries(HWND dlg, int id) {
    std::vector<std::string> v;
    HWND combo = ::GetDlgItem(dlg, id);
    for (int i = 0; i < (int)::SendMessageA(combo, CB_GETCOUNT, 0, 0); ++i) {
      char sz[300] = "";
      ::SendMessageA(combo, CB_GETLBTEXT, i, (LPARAM)sz);
      v.push_back(sz);
    }
    return v;
  }
  static std::vector<std::string> Listed(TestPicker& dlg) {
    std::vector<std::string> v;
    for (int i = 0; i < dlg.GetList().GetItemCount(); ++i) v.push_back((LPCSTR)dlg.GetList().GetItemText(i, 1));
    return v;
  }
  // Selects the item and clicks its check box, as the mouse would.
  static void Tick(TestPicker& dlg, int item) {
    CThumbListCtrl& list = dlg.GetList();
    list.SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    POINT pt;
    list.GetItemPosition(item, &pt);
    NMITEMACTIVATE nm = {};
    nm.hdr.hwndFrom = list.m_hWnd;
    nm.hdr.idFrom = IDC_PICKER_LIST;
    nm.hdr.code = NM_CLICK;
    nm.iItem = item;
    nm.ptAction = POINT{pt.x + 15, pt.y + 10};
    dlg.SendMessage(WM_NOTIFY, IDC_PICKER_LIST, (LPARAM)&nm);
  }
  static void ChooseSource(HWND dlg, int index) {
    ::SendDlgItemMessageA(dlg, IDC_PICKER_SOURCE, CB_SETCURSEL, index, 0);
    ::SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_PICKER_SOURCE, CBN_SELCHANGE),
                   (LPARAM)::GetDlgItem(dlg, IDC_PICKER_SOURCE));
  }
  static void SetName(HWND dlg, const std::string& name) { ::SetDlgItemTextA(dlg, IDC_PICKER_NAME, name.c_str()); }
  static bool OkEnabled(HWND dlg) { return ::IsWindowEnabled(::GetDlgItem(dlg, IDC_PICKER_OK)) != FALSE; }
  // The preview's pixels near a colour.
  static int PreviewPixels(HWND dlg, COLORREF color) {
    testsupport::Picture shot(dlg, testsupport::Picture::kClient);
    const RECT preview = {CImagePickerDlg::kPreviewOrigin.x, CImagePickerDlg::kPreviewOrigin.y,
                          CImagePickerDlg::kPreviewOrigin.x + CImagePickerDlg::kPreviewWidth,
                          CImagePickerDlg::kPreviewOrigin.y + CImagePickerDlg::kPreviewHeight};
    return shot.CountNear(preview, color, 24);
  }

  testsupport::ScopedProfileRoot profile{"picker"};
  std::string root = testsupport::NewTempFolder("glimora-picker");
  IVxDBFile* db = nullptr;
  const COLORREF red = RGB(220, 30, 30), green = RGB(30, 200, 40), blue = RGB(30, 40, 220);
};

// Names of the database and their pictures that still exist; nothing ticked at first; the
// selected picture in the preview; OK files the ticked ones under the chosen name.
TEST_F(ImagePicker, PicturesOfANameAreRefiledUnderAnother) {
  ASSERT_TRUE(MakePicture(Path("a.jpg"), red));
  ASSERT_TRUE(MakePicture(Path("b.jpg"), green));
  ASSERT_TRUE(MakePicture(Path("c.jpg"), blue));
  File("Alice", Path("a.jpg"));
  File("Alice", Path("gone.jpg"));
  File("Alice", Path("b.jpg"));
  File("Bob", Path("c.jpg"));
  File(Text(IDS_PICKER_UNSORTED), Path("c.jpg"));

  TestPicker dlg;
  uikit::DialogDriver driver([&](HWND h) {
    EXPECT_EQ(Entries(h, IDC_PICKER_SOURCE),
              (std::vector<std::string>{"Alice", "Bob", Text(IDS_PICKER_UNSORTED), Text(IDS_PICKER_CHOOSE_FOLDER)}));
    EXPECT_EQ(Entries(h, IDC_PICKER_NAME), (std::vector<std::string>{"Alice", "Bob", Text(IDS_PICKER_UNFILE)}));
    EXPECT_EQ(Listed(dlg), (std::vector<std::string>{Path("a.jpg"), Path("b.jpg")}));
    EXPECT_EQ(std::string((LPCSTR)dlg.GetList().GetItemText(1, 0)), "b.jpg");
    EXPECT_TRUE(dlg.HasFiles());
    EXPECT_FALSE(OkEnabled(h)) << "nothing ticked";
    EXPECT_GT(PreviewPixels(h, red), 280 * 200) << "the first picture, selected";

    Tick(dlg, 1);
    EXPECT_TRUE(OkEnabled(h));
    EXPECT_GT(PreviewPixels(h, green), 280 * 200) << "the ticked one, selected";
    Tick(dlg, 1);
    EXPECT_FALSE(OkEnabled(h)) << "ticked off again";
    Tick(dlg, 1);

    // Enter does not file; the name field keeps 63 bytes.
    ::SendMessageA(h, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(::IsWindowVisible(h));
    HWND edit = ::GetWindow(::GetDlgItem(h, IDC_PICKER_NAME), GW_CHILD);
    ::SetWindowTextA(edit, "");
    for (int i = 0; i < 64; ++i) ::SendMessageA(edit, WM_CHAR, 'n', 0);
    EXPECT_EQ(::GetWindowTextLengthA(edit), (int)imagepicker::kNameBytes);

    testsupport::Picture(h).Save("toolbar-image-picker");
    SetName(h, "Bob");
    uikit::Press(h, IDC_PICKER_OK);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(driver.Ran(), 1);
  EXPECT_TRUE(dlg.asked.empty());
  EXPECT_EQ(Files("Alice"), (std::vector<std::string>{Path("a.jpg"), Path("gone.jpg")}));
  EXPECT_EQ(Files("Bob"), (std::vector<std::string>{Path("b.jpg"), Path("c.jpg")}));
}

// A browsed folder lists its pictures, not the refused kinds nor its sub-folders; OK files
// the ticked ones under a new name. A folder of refused kinds leaves the list and the
// preview empty; a cancelled browser goes back to the first name.
TEST_F(ImagePicker, FolderPicturesAreFiledUnderANewName) {
  const std::string folder = Path("cam"), odd = Path("odd");
  ASSERT_TRUE(MakePicture(folder + "\\x.jpg", red));
  ASSERT_TRUE(MakePicture(folder + "\\y.JPG", green));
  ASSERT_TRUE(MakePicture(folder + "\\sub\\s.jpg", blue));
  for (const char* name : {"\\z.gif", "\\w.png", "\\v.tmb"}) ASSERT_TRUE(MakePicture(folder + name, blue));
  ASSERT_TRUE(MakePicture(odd + "\\only.gif", blue));
  ASSERT_TRUE(MakePicture(odd + "\\only.png", blue));
  ASSERT_TRUE(MakePicture(Path("a.jpg"), red));
  File("Alice", Path("a.jpg"));

  TestPicker dlg;
  uikit::DialogDriver driver([&](HWND h) {
    const int chooseFolder = 2;  // Alice, unsorted, choose a folder
    dlg.folder = odd;
    ChooseSource(h, chooseFolder);
    EXPECT_EQ(dlg.GetList().GetItemCount(), 0);
    EXPECT_FALSE(dlg.HasFiles());
    EXPECT_EQ(PreviewPixels(h, RGB(195, 211, 215)), 280 * 210) << "no preview";

    dlg.folder.clear();
    ChooseSource(h, chooseFolder);
    EXPECT_EQ(::SendDlgItemMessageA(h, IDC_PICKER_SOURCE, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(Listed(dlg), (std::vector<std::string>{Path("a.jpg")}));

    dlg.folder = folder;
    ChooseSource(h, chooseFolder);
    std::vector<std::string> listed = Listed(dlg);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{folder + "\\x.jpg", folder + "\\y.JPG"}));
    Tick(dlg, 0);
    Tick(dlg, 1);
    SetName(h, "Carol");
    uikit::Press(h, IDC_PICKER_OK);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(driver.Ran(), 1);
  // The browser starts in the card copies' folder.
  ASSERT_EQ(dlg.browsedFrom.size(), 3u);
  EXPECT_EQ(dlg.browsedFrom[0], root + "\\backup\\");
  EXPECT_EQ(Files("Carol"), (std::vector<std::string>{folder + "\\x.jpg", folder + "\\y.JPG"}));
  EXPECT_EQ(Files("Alice"), (std::vector<std::string>{Path("a.jpg")}));
}

// Taking pictures out of their name asks first, with the path of one or the count of
// several; No leaves everything as it was. With nothing ticked nothing is asked.
TEST_F(ImagePicker, TakingPicturesOutAsksFirst) {
  for (const char* n : {"p1.jpg", "p2.jpg", "p3.jpg"}) {
    ASSERT_TRUE(MakePicture(Path(n), green));
    File("Alice", Path(n));
  }
  TestPicker dlg;
  uikit::DialogDriver driver([&](HWND h) {
    SetName(h, Text(IDS_PICKER_UNFILE));
    Tick(dlg, 1);
    uikit::Press(h, IDC_PICKER_OK);
    ASSERT_EQ(dlg.asked.size(), 1u);
    EXPECT_NE(dlg.asked[0].find(Path("p2.jpg")), std::string::npos) << dlg.asked[0];
    EXPECT_TRUE(::IsWindowVisible(h)) << "No keeps the dialog";
    EXPECT_TRUE(OkEnabled(h)) << "and the ticks";

    Tick(dlg, 0);
    Tick(dlg, 2);
    dlg.answer = IDYES;
    uikit::Press(h, IDC_PICKER_OK);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  ASSERT_EQ(dlg.asked.size(), 2u);
  CString three;
  three.Format(IDS_BROWSER_CLASSIFY_DELETE_N, 3);
  EXPECT_EQ(dlg.asked[1], (LPCSTR)three);
  EXPECT_TRUE(Files("Alice").empty());
  EXPECT_TRUE(Files(Text(IDS_PICKER_UNFILE)).empty()) << "the entry is no name to file under";

  // Nothing ticked: nothing asked, nothing changed, and the dialog ends with OK.
  File("Alice", Path("p1.jpg"));
  TestPicker again;
  uikit::DialogDriver second([&](HWND h) {
    SetName(h, Text(IDS_PICKER_UNFILE));
    ::SendMessageA(h, WM_COMMAND, IDC_PICKER_OK, 0);
  });
  EXPECT_EQ(again.DoModal(), IDOK);
  EXPECT_TRUE(again.asked.empty());
  EXPECT_EQ(Files("Alice"), (std::vector<std::string>{Path("p1.jpg")}));

  // Cancel writes nothing.
  TestPicker cancelled;
  uikit::DialogDriver third([&](HWND h) {
    Tick(cancelled, 0);
    SetName(h, "Dave");
    uikit::Press(h, IDC_PICKER_CANCEL);
  });
  EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
  EXPECT_TRUE(Files("Dave").empty());
}

}  // namespace

namespace {

// An item whose picture could not be made keeps its placeholder, and the next item still
// shows its own picture.
TEST_F(ImagePicker, ThumbnailsStayWithTheirItemsWhenOneFails) {
  ASSERT_TRUE(MakePicture(Path("a.jpg"), red));
  ASSERT_TRUE(MakePicture(Path("b.jpg"), green));
  File("Alice", Path("a.jpg"));
  File("Alice", Path("b.jpg"));
  TestPicker dlg;
  uikit::DialogDriver driver([&](HWND h) {
    CThumbListCtrl& list = dlg.GetList();
    list.ResetItems(2);
    HBITMAP bitmap = NULL;
    ASSERT_EQ(dlg.LoadThumbnailBitmap(Path("b.jpg").c_str(), 80, 60, &bitmap), S_OK);
    EXPECT_EQ(list.SetThumbnail(0, NULL, 0, 0, "a.jpg"), 0);  // no picture for the first
    EXPECT_EQ(list.SetThumbnail(1, bitmap, 0, 0, "b.jpg"), 1);
    ::DeleteObject(bitmap);
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = 1;
    ASSERT_TRUE(list.GetItem(&item));
    ASSERT_LT(item.iImage, list.Images().GetImageCount());
    // The green picture in the item's cell.
    HDC screen = ::GetDC(NULL);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP cell = ::CreateCompatibleBitmap(screen, 80, 60);
    ::ReleaseDC(NULL, screen);
    HGDIOBJ old = ::SelectObject(mem, cell);
    ::ImageList_Draw(list.Images().GetSafeHandle(), item.iImage, mem, 0, 0, ILD_NORMAL);
    const COLORREF middle = ::GetPixel(mem, 40, 30);
    ::SelectObject(mem, old);
    ::DeleteObject(cell);
    ::DeleteDC(mem);
    EXPECT_LT(GetRValue(middle), 80);
    EXPECT_GT(GetGValue(middle), 150);
    item.iItem = 0;
    ASSERT_TRUE(list.GetItem(&item));
    EXPECT_EQ(item.iImage, 3) << "the placeholder";
    uikit::Press(h, IDC_PICKER_CANCEL);
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

}  // namespace
