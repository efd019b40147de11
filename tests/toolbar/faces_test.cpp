// The face registration dialog and the person entry editor on the portrait fixture, with a
// photo database and a face database of the test's own: what the dialog finds, draws and
// hands over, what it refuses, and the editor's person stored, reopened and deleted.
#include <FaceIdentifier.h>
#include <Kitlib2/CMDIB.h>
#include <Kitlib2/Kitlib2.h>
#include <Kitlib2/OwnMessage.h>
#include <Kitlib2/ProgressBar.h>
#include <MainWndMessages.h>
#include <VxDatabase.h>
#include <VxResourceIds.h>
#include <gtest/gtest.h>

#include <files.h>
#include <profileroot.h>
#include <tempfolder.h>
#include <testmain.h>

#include <functional>
#include <string>
#include <vector>

#include "../common/faces/portraits.h"
#include "EntryEditDlg.h"
#include "EntryEditRules.h"
#include "FaceClassifyRunner.h"
#include "FaceRegisterDlg.h"
#include "dialogtest.h"
#include "ui/ResourceDialog.h"
#include "uikit.h"

namespace {

testmain::StartUp ole([] { return AfxOleInit() != FALSE; }, [] { AfxOleTerm(); });

// The owner's side: the faces handed over and the closes heard.
class Owner : public CWnd {
 public:
  struct Pick {
    std::string path;
    RECT rc;
  };
  std::vector<Pick> picks;
  int closed = 0, editorClosed = 0;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM w, LPARAM l) override {
    if (msg == WM_FACE_REGISTER_FACE) {
      const FACEPICK* p = reinterpret_cast<const FACEPICK*>(w);
      picks.push_back(Pick{(LPCSTR)p->strPath, p->rcFace});
      return 0;
    }
    if (msg == WM_FACE_REGISTER_CLOSED) ++closed;
    if (msg == WM_TOOLBAR_CLOSE_EDITOR) ++editorClosed;
    return CWnd::WindowProc(msg, w, l);
  }
};

class Faces : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(portraits::Ready());
    ASSERT_EQ(VxDBSetFolder(root.c_str()), S_OK);
    // The dialog takes no ".png": the portrait's head as a JPEG.
    ASSERT_TRUE(portraits::SideBySide(portrait, 1));
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_POPUP, CRect(0, 0, 10, 10), NULL, 0));
  }
  void TearDown() override {
    if (owner.m_hWnd) owner.DestroyWindow();
    VxDBClose(-1);
    VxDBSetFolder(NULL);
    testsupport::RemoveTree(root);
  }
  std::string Path(const std::string& name) const { return root + "\\" + name; }
  std::string FaceDb() const { return Path("faces.ftd"); }
  static void AddFiles(CGFileInfoList* pFiles, const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
      CGFILEINFO info;
      info.path = path.c_str();
      pFiles->AddTail(info);
    }
  }
  // The photo database with "Hana", whose face is the portrait's in the face database FaceDb().
  void RegisterHana(IVxDBFile** ppFile) {
    IVxDBFile* file = *ppFile = GetDBFileObject();
    ASSERT_NE(file, nullptr);
    const char* name = "Hana";
    const std::string db = FaceDb();
    VXDBRECORD r = {};
    strcpy(r.szName, name);
    strcpy(r.szPath, portrait.c_str());
    int added = 0;
    ASSERT_EQ(file->AddRecord(r, VXDB_KIND_REGISTER, &added), S_OK);
    int person = -1;
    ASSERT_EQ(file->GetPersonId(name, &person), S_OK);
    CFaceIdentifier id;
    CCMDIB picture;
    ASSERT_EQ(id.LoadDb(db), S_OK);
    ASSERT_EQ(picture.ResizeAndRotate(portrait.c_str(), SIZE{640, 480}, CMDIB_RESIZE_CANVAS), 0);
    ASSERT_EQ(id.SetImage(&picture.GetBitmapInfoAddress()->bmiHeader, picture.GetBitsAddress()), S_OK);
    ASSERT_EQ(id.SetCurrentFace(0), S_OK);
    ASSERT_GT(id.StoreRecord(-1, person), 0);
  }
  // The names of the people the photo database holds.
  static std::vector<std::string> FiledNames() {
    std::vector<std::string> filed;
    IVxDBFile* file = GetDBFileObject();
    if (!file) {
      ADD_FAILURE() << "no photo database";
      return filed;
    }
    CStringList names;
    int count = 0;
    file->GetNames(&names, &count, 0);
    for (POSITION pos = names.GetHeadPosition(); pos;) filed.push_back((LPCSTR)names.GetNext(pos));
    file->Release();
    return filed;
  }
  // The registration dialog's picture area as the user sees it.
  static int Pixels(HWND h, COLORREF color) {
    testsupport::Picture shot(h, testsupport::Picture::kClient);
    const RECT area = {entryedit::kPictureLeft, entryedit::kPictureTop,
                       entryedit::kPictureLeft + entryedit::kPictureWidth,
                       entryedit::kPictureTop + entryedit::kPictureHeight};
    return shot.Count(area, color);
  }
  static void Click(HWND h, POINT pt) { ::SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y)); }
  static POINT Middle(const RECT& face) {
    const RECT r = entryedit::OnScreen(face);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  // Clicks face `index` of the open dialog, lets `look` see it, keeps its picture as `shot`
  // and presses OK: the face handed over is the one clicked.
  void PickFace(
      CFaceRegisterDlg& dlg, int index, const char* shot, const std::function<void()>& look = [] {}) {
    Click(dlg.m_hWnd, Middle(dlg.GetFaceRect(index)));
    EXPECT_EQ(dlg.GetSelectedFace(), index);
    uikit::PumpPending();
    look();
    EXPECT_FALSE(testsupport::Picture(dlg.m_hWnd).Save(shot).empty());
    uikit::Press(dlg.m_hWnd, IDOK);
    ASSERT_EQ(owner.picks.size(), 1u);
    const RECT picked = dlg.GetFaceRect(index);
    EXPECT_TRUE(EqualRect(&owner.picks[0].rc, &picked));
  }

  testsupport::ScopedProfileRoot profile{"faces"};
  std::string root = testsupport::NewTempFolder("glimora-faces-ui");
  std::string portrait = Path("portrait.jpg");
  Owner owner;
};

}  // namespace

TEST_F(Faces, RegistrationFramesThePortraitAndHandsTheFaceOver) {
  CFaceIdentifier id;
  ASSERT_EQ(id.LoadDb(Path("faces.ftd")), S_OK);
  CFaceRegisterDlg* dlg = new CFaceRegisterDlg(&owner);
  ASSERT_EQ(dlg->Open(&owner, &id, portrait.c_str()), 1);
  ASSERT_TRUE(dlg->HasPicture());
  ASSERT_EQ(dlg->GetFaceCount(), 1);
  const RECT face = dlg->GetFaceRect(0);
  // Opening again changes nothing.
  EXPECT_EQ(dlg->Open(&owner, &id, Path("other.jpg").c_str()), 1);
  EXPECT_EQ(dlg->GetFaceCount(), 1);

  uikit::PumpPending();
  EXPECT_GT(Pixels(dlg->m_hWnd, RGB(255, 0, 0)), 100);  // the selected face's frame and crosses
  EXPECT_FALSE(testsupport::Picture(dlg->m_hWnd).Save("face-register").empty());

  // A click outside every face keeps the selection.
  Click(dlg->m_hWnd, POINT{5, 5});
  EXPECT_EQ(dlg->GetSelectedFace(), 0);
  uikit::Press(dlg->m_hWnd, IDOK);
  ASSERT_EQ(owner.picks.size(), 1u);
  EXPECT_EQ(owner.picks[0].path, portrait);
  EXPECT_TRUE(EqualRect(&owner.picks[0].rc, &face));
  uikit::WaitUntil([&] { return owner.closed == 1; }, 2000);
  EXPECT_EQ(owner.closed, 1);
  EXPECT_FALSE(dlg->IsOpen());
  delete dlg;
}

TEST_F(Faces, RegistrationPicksTheClickedFace) {
  const std::string pair = Path("pair.jpg");
  ASSERT_TRUE(portraits::SideBySide(pair, 2));
  CFaceIdentifier id;
  ASSERT_EQ(id.LoadDb(Path("faces.ftd")), S_OK);
  CFaceRegisterDlg dlg(&owner);
  ASSERT_EQ(dlg.Open(&owner, &id, pair.c_str()), 1);
  ASSERT_EQ(dlg.GetFaceCount(), 2);
  PickFace(dlg, 1, "face-register-two", [&] {
    // One face framed red, the other in the other faces' colour.
    EXPECT_GT(Pixels(dlg.m_hWnd, RGB(255, 0, 0)), 100);
    EXPECT_GT(Pixels(dlg.m_hWnd, RGB(255, 193, 59)), 50);
  });
}

// A crowd of twelve: the first ten faces left to right are framed and can be picked.
TEST_F(Faces, RegistrationFramesTheFirstTenOfACrowd) {
  const std::string crowd = Path("crowd.jpg");
  ASSERT_TRUE(portraits::Crowd(crowd, 4, 3));
  CMWriteProfileInt("VxClassify", "FaceWidth", 40, 0, CMPROFILE_COMMON);
  CFaceIdentifier id;
  ASSERT_EQ(id.LoadDb(Path("faces.ftd")), S_OK);
  CFaceRegisterDlg dlg(&owner);
  ASSERT_EQ(dlg.Open(&owner, &id, crowd.c_str()), 1);
  ASSERT_EQ(dlg.GetFaceCount(), 10);
  PickFace(dlg, 9, "face-register-crowd");
}

TEST_F(Faces, RegistrationRefusals) {
  CFaceIdentifier id;
  ASSERT_EQ(id.LoadDb(Path("faces.ftd")), S_OK);
  EXPECT_EQ(CFaceRegisterDlg(&owner).Open(&owner, NULL, ""), 0);

  const std::string png = Path("face.png");
  ASSERT_TRUE(::CopyFileA(portraits::Portrait().c_str(), png.c_str(), FALSE));
  CFaceRegisterDlg dlg(&owner);
  ASSERT_EQ(dlg.Open(&owner, &id, ""), 1);
  {
    dialogtest::Boxes boxes({IDOK});
    EXPECT_EQ(dlg.AcceptFile(png.c_str()), E_FAIL);
    EXPECT_TRUE(boxes.Said(0, LoadResourceText(IDS_SHELL_EDITOR_UNSUPPORTED_FILE)));
  }
  EXPECT_FALSE(dlg.HasPicture());
  uikit::PumpPending();
  EXPECT_EQ(Pixels(dlg.m_hWnd, RGB(255, 255, 255)), entryedit::kPictureWidth * entryedit::kPictureHeight);
  {
    dialogtest::Boxes boxes({IDOK});
    // A camera's raw file is taken by its name, and then found missing.
    EXPECT_EQ(dlg.AcceptFile(Path("missing.raw").c_str()), E_FAIL);
    EXPECT_TRUE(boxes.Said(0, LoadResourceText(IDS_FACE_PICTURE_MISSING)));
  }
  // OK without a picture: told, and the dialog stays.
  {
    dialogtest::Boxes boxes({IDOK});
    uikit::Press(dlg.m_hWnd, IDOK);
    EXPECT_TRUE(boxes.Said(0, LoadResourceText(IDS_FACE_NOT_FOUND)));
  }
  EXPECT_TRUE(dlg.IsOpen());
  EXPECT_TRUE(owner.picks.empty());

  // Drops: a ".png" is refused and nothing is drawn; a picture without faces is taken and
  // can be confirmed with an empty rectangle.
  IDropTarget* target = dlg.GetDropTarget();
  {
    COleDataSource files;
    files.CacheGlobalData(CF_HDROP, dialogtest::HDrop({png}));
    dialogtest::Boxes boxes({IDOK});
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->Drop(files.GetIDataObject(FALSE), 0, POINTL{0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, (DWORD)DROPEFFECT_COPY);
    EXPECT_TRUE(boxes.Said(0, LoadResourceText(IDS_SHELL_EDITOR_UNSUPPORTED_FILE)));
    EXPECT_FALSE(dlg.HasPicture());
  }
  const std::string plain = Path("plain.jpg");
  {
    imaging::Dib grey;
    ASSERT_TRUE(grey.Create(640, 480, 24));
    for (int y = 0; y < 480; ++y) memset(grey.Row(y), 0x80, 640 * 3);
    ASSERT_EQ(imaging::SaveJpeg(grey, plain.c_str(), 90), S_OK);
    COleDataSource files;
    files.CacheGlobalData(CF_HDROP, dialogtest::HDrop({plain}));
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->Drop(files.GetIDataObject(FALSE), 0, POINTL{0, 0}, &effect), S_OK);
  }
  EXPECT_TRUE(dlg.HasPicture());
  EXPECT_EQ(dlg.GetFaceCount(), 0);
  uikit::Press(dlg.m_hWnd, IDOK);
  ASSERT_EQ(owner.picks.size(), 1u);
  EXPECT_EQ(owner.picks[0].path, plain);
  EXPECT_TRUE(IsRectEmpty(&owner.picks[0].rc));
}

namespace {

std::string Text(HWND h, int id) {
  char buf[260] = "";
  ::GetDlgItemTextA(h, id, buf, sizeof buf);
  return buf;
}
void Notify(HWND h, int id, int code) {
  ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(id, code), (LPARAM)::GetDlgItem(h, id));
}
int Count(HWND h, int id) { return (int)::SendDlgItemMessageA(h, id, CB_GETCOUNT, 0, 0); }
// What the registration dialog hands over for the picture's first face.
void Pick(CEntryEditDlg* ed, const std::string& path) {
  FACEPICK pick = {path.c_str(), {}, {}, {}};
  CFaceIdentifier id;
  CCMDIB picture;
  if (id.LoadDb(std::string()) == S_OK &&
      picture.ResizeAndRotate(path.c_str(), SIZE{640, 480}, CMDIB_RESIZE_CANVAS) == 0 &&
      id.SetImage(&picture.GetBitmapInfoAddress()->bmiHeader, picture.GetBitsAddress()) == S_OK &&
      id.SetCurrentFace(0) == S_OK)
    id.GetFaceInfo(&pick.rcFace, &pick.pt1, &pick.pt2);
  CMTLSendOwnMessage(ed->GetSafeHwnd(), WM_FACE_REGISTER_FACE, (WPARAM)&pick, 0);
}
// How many files the photo database files under the person's name; -1 when it is closed.
int FilesOf(const char* name) {
  IVxDBFile* file = GetDBFileObject();
  if (!file) return -1;
  CStringList paths;
  int person = -1;
  const int n = file->GetFiles(name, 0, &paths, &person);
  file->Release();
  return n;
}

}  // namespace

// A person with a birthday and the portrait's face: stored in both databases, shown again
// when reopened, and gone from both when the last face is deleted.
TEST_F(Faces, EditorStoresReopensAndDeletesAPerson) {
  const std::string db = Path("faces.ftd");
  CEntryEditDlg* ed = new CEntryEditDlg;
  ed->SetFaceDbPath(db.c_str());
  ASSERT_EQ(ed->Open(&owner), 1);
  HWND h = ed->m_hWnd;
  EXPECT_EQ(Text(h, IDC_ENTRY_NAMES), "");
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(h, IDC_ENTRY_YEAR)));

  // The add-face button opens the registration dialog; its close deletes it.
  uikit::Press(h, IDC_ENTRY_ADD_FACE);
  ASSERT_NE(ed->GetRegisterDlg(), nullptr);
  EXPECT_TRUE(ed->GetRegisterDlg()->IsOpen());
  uikit::Press(ed->GetRegisterDlg()->m_hWnd, IDCANCEL);
  uikit::WaitUntil([&] { return ed->GetRegisterDlg() == nullptr; }, 2000);
  EXPECT_EQ(ed->GetRegisterDlg(), nullptr);

  ::SetDlgItemTextA(h, IDC_ENTRY_NAMES, "Hana");
  uikit::Press(h, IDC_ENTRY_BIRTHDAY);
  ::SetDlgItemTextA(h, IDC_ENTRY_YEAR, "2000");
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(h, IDC_ENTRY_MONTH)));
  Notify(h, IDC_ENTRY_MONTH, CBN_DROPDOWN);
  EXPECT_EQ(Count(h, IDC_ENTRY_MONTH), 12);
  ::SendDlgItemMessageA(h, IDC_ENTRY_MONTH, CB_SETCURSEL, 1, 0);
  Notify(h, IDC_ENTRY_MONTH, CBN_SELCHANGE);
  EXPECT_EQ(Count(h, IDC_ENTRY_DAY), 29);  // February of 2000
  ::SendDlgItemMessageA(h, IDC_ENTRY_DAY, CB_SETCURSEL, 28, 0);
  Pick(ed, portrait);
  Pick(ed, portrait);  // the same picture again: nothing new
  EXPECT_EQ(ed->GetShownFaces().size(), 1u);
  uikit::PumpPending();
  EXPECT_FALSE(testsupport::Picture(h).Save("entry-editor").empty());
  {
    dialogtest::Boxes boxes({IDOK});
    uikit::Press(h, IDOK);
    EXPECT_TRUE(boxes.Said(0, LoadResourceText(IDS_ENTRY_SAVED)));
  }
  EXPECT_FALSE(ed->IsShown());
  uikit::WaitUntil([&] { return owner.editorClosed == 1; }, 2000);
  EXPECT_EQ(owner.editorClosed, 1);
  delete ed;

  IVxDBFile* file = GetDBFileObject();
  ASSERT_NE(file, nullptr);
  CStringList paths;
  int person = -1;
  EXPECT_EQ(file->GetFiles("Hana", 0, &paths, &person), 1);
  EXPECT_GT(person, 0);
  int y = 0, m = 0, d = 0;
  ASSERT_EQ(file->GetBirthday("Hana", &y, &m, &d), S_OK);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20000229);
  // The face database names the person from the portrait.
  auto resembles = [&] {
    CFaceIdentifier id;
    CCMDIB picture;
    short candidates[5] = {}, scores[5] = {};
    return id.LoadDb(db) == S_OK &&
           picture.ResizeAndRotate(portrait.c_str(), SIZE{640, 480}, CMDIB_RESIZE_CANVAS) == 0 &&
           id.SetImage(&picture.GetBitmapInfoAddress()->bmiHeader, picture.GetBitsAddress()) == S_OK &&
           id.SetCurrentFace(0) == S_OK && id.VerifyImage(candidates, scores, sizeof candidates) == S_OK &&
           candidates[0] == person;
  };
  EXPECT_TRUE(resembles());

  // Reopened: the person's face and birthday.
  ed = new CEntryEditDlg;
  ed->SetFaceDbPath(db.c_str());
  ASSERT_EQ(ed->Open(&owner), 1);
  h = ed->m_hWnd;
  ASSERT_NE(::SendDlgItemMessageA(h, IDC_ENTRY_NAMES, CB_SELECTSTRING, (WPARAM)-1, (LPARAM) "Hana"), CB_ERR);
  Notify(h, IDC_ENTRY_NAMES, CBN_SELCHANGE);
  ASSERT_EQ(ed->GetShownFaces().size(), 1u);
  EXPECT_EQ(std::string((LPCSTR)ed->GetShownFaces()[0]), portrait);
  EXPECT_EQ(::IsDlgButtonChecked(h, IDC_ENTRY_BIRTHDAY), (UINT)BST_CHECKED);
  EXPECT_EQ(Text(h, IDC_ENTRY_YEAR), "2000");
  EXPECT_EQ(Text(h, IDC_ENTRY_DAY), "29");

  // The last face deleted: the person leaves both databases.
  LVITEMA item = {};
  item.stateMask = item.state = LVIS_SELECTED;
  ::SendDlgItemMessageA(h, IDC_ENTRY_FACES, LVM_SETITEMSTATE, 0, (LPARAM)&item);
  {
    dialogtest::Boxes boxes({IDOK});
    uikit::Press(h, IDC_ENTRY_DELETE_FACE);
    EXPECT_EQ(boxes.Ran(), 1);
  }
  EXPECT_TRUE(ed->GetShownFaces().empty());
  paths.RemoveAll();
  EXPECT_EQ(file->GetFiles("Hana", 0, &paths, &person), 0);
  int id = 9999;
  file->GetPersonId("Hana", &id);
  EXPECT_EQ(id, 9999);
  EXPECT_FALSE(resembles());
  uikit::Press(h, IDCANCEL);
  delete ed;
  file->Release();
}

TEST_F(Faces, EditorCancelWritesNothingAndCutsNames) {
  const std::string db = Path("faces.ftd");
  CEntryEditDlg ed;
  ed.SetFaceDbPath(db.c_str());
  ASSERT_EQ(ed.Open(&owner), 1);
  const HWND h = ed.m_hWnd;
  // 31 bytes and a double-byte character on bytes 32 and 33: 31 bytes stay.
  const std::string longName = std::string(31, 'k') + "\x88\x9F";
  ::SetDlgItemTextA(h, IDC_ENTRY_NAMES, longName.c_str());
  Notify(h, IDC_ENTRY_NAMES, CBN_EDITUPDATE);
  EXPECT_EQ(Text(h, IDC_ENTRY_NAMES), std::string(31, 'k'));
  // A letter in the year is removed (and told once).
  uikit::Press(h, IDC_ENTRY_BIRTHDAY);
  {
    dialogtest::Boxes boxes({IDOK});
    ::SetDlgItemTextA(h, IDC_ENTRY_YEAR, "19x");
    EXPECT_TRUE(boxes.Said(0, LoadResourceText(IDS_ENTRY_YEAR_DIGITS)));
  }
  EXPECT_EQ(Text(h, IDC_ENTRY_YEAR), "19");
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(h, IDC_ENTRY_MONTH)));
  Pick(&ed, portrait);
  ASSERT_EQ(ed.GetShownFaces().size(), 1u);
  uikit::Press(h, IDCANCEL);
  EXPECT_FALSE(ed.IsShown());
  EXPECT_TRUE(FiledNames().empty());
  EXPECT_EQ(::GetFileAttributesA(db.c_str()), INVALID_FILE_ATTRIBUTES);
}

// A face database file that cannot be written: the editor says so, never "registered",
// stays open with the face, and neither database files the person.
TEST_F(Faces, EditorSaysSoWhenTheFaceDatabaseCannotBeSaved) {
  testsupport::WriteWholeFile(Path("blocked"), "a file where the folder would go");
  const std::string db = Path("blocked\\faces.ftd");
  CEntryEditDlg* ed = new CEntryEditDlg;
  ed->SetFaceDbPath(db.c_str());
  ASSERT_EQ(ed->Open(&owner), 1);
  HWND h = ed->m_hWnd;
  ::SetDlgItemTextA(h, IDC_ENTRY_NAMES, "Hana");
  Pick(ed, portrait);
  ASSERT_EQ(ed->GetShownFaces().size(), 1u);
  {
    dialogtest::Boxes boxes({IDOK, IDOK});
    uikit::Press(h, IDOK);
    EXPECT_EQ(boxes.Ran(), 1);
    CString notSaved;
    notSaved.Format(IDS_FACE_DB_NOT_SAVED, db.c_str());
    EXPECT_TRUE(boxes.Said(0, notSaved));
    EXPECT_FALSE(boxes.Said(0, LoadResourceText(IDS_ENTRY_SAVED)));
  }
  EXPECT_TRUE(ed->IsShown());
  EXPECT_EQ(ed->GetShownFaces().size(), 1u);
  uikit::Press(h, IDCANCEL);
  delete ed;
  EXPECT_EQ(FilesOf("Hana"), 0);
  EXPECT_EQ(::GetFileAttributesA(db.c_str()), INVALID_FILE_ATTRIBUTES);
}

// The names combo's first entry is a grey hint over an empty name, never its text: a name
// typed where the user clicks is the name filed, also after the first entry was chosen again.
TEST_F(Faces, EditorNameHintIsNeverPartOfTheName) {
  CEntryEditDlg ed;
  ed.SetFaceDbPath(Path("faces.ftd").c_str());
  ASSERT_EQ(ed.Open(&owner), 1);
  const HWND h = ed.m_hWnd;
  COMBOBOXINFO info = {sizeof info};
  ASSERT_TRUE(::GetComboBoxInfo(::GetDlgItem(h, IDC_ENTRY_NAMES), &info));
  const HWND edit = info.hwndItem;
  char first[64] = "";
  ::SendDlgItemMessageA(h, IDC_ENTRY_NAMES, CB_GETLBTEXT, 0, (LPARAM)first);
  EXPECT_STREQ(first, LoadResourceText(IDS_ENTRY_FIRST_NAME));
  auto hintPixels = [edit] {
    ::UpdateWindow(edit);
    testsupport::Picture shot(edit, testsupport::Picture::kClient);
    return shot.Count(RECT{0, 0, shot.Width(), shot.Height()}, ::GetSysColor(COLOR_GRAYTEXT));
  };
  auto typeAt = [edit](const char* text) {
    RECT rc;
    ::GetClientRect(edit, &rc);
    const LPARAM middle = MAKELPARAM(rc.right / 2, rc.bottom / 2);
    ::SendMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    ::SendMessageA(edit, WM_LBUTTONUP, 0, middle);
    for (const char* c = text; *c; ++c) ::SendMessageA(edit, WM_CHAR, (BYTE)*c, 1);
    uikit::PumpPending();
  };
  uikit::PumpPending();
  EXPECT_EQ(Text(h, IDC_ENTRY_NAMES), "");
  EXPECT_GT(hintPixels(), 0);
  typeAt("Taro");
  EXPECT_EQ(Text(h, IDC_ENTRY_NAMES), "Taro");
  EXPECT_EQ(hintPixels(), 0);
  // The name emptied again shows the hint; choosing the first entry leaves the name empty.
  ::SendMessageA(edit, EM_SETSEL, 0, -1);
  ::SendMessageA(edit, WM_CLEAR, 0, 0);
  EXPECT_GT(hintPixels(), 0);
  typeAt("Jiro");
  ::SendDlgItemMessageA(h, IDC_ENTRY_NAMES, CB_SETCURSEL, 0, 0);
  Notify(h, IDC_ENTRY_NAMES, CBN_SELCHANGE);
  uikit::PumpPending();
  EXPECT_EQ(Text(h, IDC_ENTRY_NAMES), "");
  typeAt("Jiro");
  Pick(&ed, portrait);
  {
    dialogtest::Boxes boxes({IDOK});
    uikit::Press(h, IDOK);
    EXPECT_TRUE(boxes.Said(0, LoadResourceText(IDS_ENTRY_SAVED)));
  }
  EXPECT_EQ(FiledNames(), std::vector<std::string>{"Jiro"});
}

namespace {

// The progress window's side: the percentages posted to it.
class ProgressWnd : public CWnd {
 public:
  std::vector<int> percents;
  std::vector<std::string> texts;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM w, LPARAM l) override {
    if (msg == WM_CMTL_PROGRESS) {
      char text[1024] = "";
      CMTLTakeProgressText(m_hWnd, w, text, sizeof(text));
      percents.push_back((int)l);
      texts.push_back(text);
      return 0;
    }
    return CWnd::WindowProc(msg, w, l);
  }
};

}  // namespace

// A registered person's face is found again in a second picture; a ".gif" is skipped
// silently but counts for the percentages; a cancelled run still commits and ends at 100.
TEST_F(Faces, ClassificationFilesIdentifiedFaces) {
  const std::string db = FaceDb();
  IVxDBFile* file = nullptr;
  ASSERT_NO_FATAL_FAILURE(RegisterHana(&file));
  int added = 0;
  const std::string second = Path("second.jpg"), gif = Path("skip.gif");
  ASSERT_TRUE(portraits::SideBySide(second, 1));
  ASSERT_TRUE(::CopyFileA(second.c_str(), gif.c_str(), FALSE));

  ProgressWnd progress;
  ASSERT_TRUE(progress.CreateEx(0, AfxRegisterWndClass(0), "progress", WS_POPUP, CRect(0, 0, 10, 10), NULL, 0));
  CGFileInfoList files(10);
  AddFiles(&files, {gif, second});
  CFaceClassifyRunner runner(&owner);
  runner.SetFaceDbPath(db.c_str());
  ASSERT_EQ(runner.Init(0x80000000, &files), S_OK);
  CFaceClassifyRunner::Data data;
  data.pRunner = &runner;
  data.m_hWnd = progress.m_hWnd;
  EXPECT_EQ(CFaceClassifyRunner::Worker(&data), 1);
  uikit::PumpPending();
  EXPECT_EQ(runner.GetRegisteredCount(), 1);
  EXPECT_EQ(progress.percents, (std::vector<int>{100, 100}));  // the second of two files, then the end
  ASSERT_FALSE(progress.texts.empty());
  EXPECT_NE(progress.texts[0].find("second.jpg"), std::string::npos);
  CStringList paths;
  EXPECT_EQ(file->GetFiles("Hana", 1, &paths, &added), 1);
  ASSERT_EQ(paths.GetCount(), 1);
  EXPECT_EQ(std::string((LPCSTR)paths.GetHead()), second);

  // Cancelled before the first file: nothing classified, the end still reported.
  progress.percents.clear();
  data.m_bCancel = 1;
  EXPECT_EQ(CFaceClassifyRunner::Worker(&data), 1);
  uikit::PumpPending();
  EXPECT_EQ(progress.percents, (std::vector<int>{100}));
  {
    dialogtest::Boxes boxes({IDOK});
    runner.Finish();
    CString count;
    count.Format(LoadResourceText(IDS_CLASSIFY_COUNT), 1);
    EXPECT_TRUE(boxes.Said(0, count));
  }
  progress.DestroyWindow();
  file->Release();
}

namespace {

// The Exif block (the APP1 segment) of one JPEG put into another right after its start.
bool CopyExif(const std::string& from, const std::string& to) {
  std::string src = testsupport::ReadWholeFile(from), dst = testsupport::ReadWholeFile(to);
  if (src.size() < 4 || dst.size() < 4 || (BYTE)dst[0] != 0xFF || (BYTE)dst[1] != 0xD8) return false;
  for (size_t at = 2; at + 4 <= src.size() && (BYTE)src[at] == 0xFF;) {
    const size_t length = ((BYTE)src[at + 2] << 8) | (BYTE)src[at + 3];
    if ((BYTE)src[at + 1] == 0xE1) {
      dst.insert(2, src, at, length + 2);
      testsupport::WriteWholeFile(to, dst);
      return true;
    }
    at += length + 2;
  }
  return false;
}

}  // namespace

// A picture whose camera tagged two persons and in which one registered face is found
// gives three records: the face's person and both tagged names.
TEST_F(Faces, ClassificationFilesTaggedNamesBesideTheFace) {
  const std::string db = FaceDb();
  IVxDBFile* file = nullptr;
  ASSERT_NO_FATAL_FAILURE(RegisterHana(&file));
  const std::string tagged = Path("tagged.jpg");
  ASSERT_TRUE(portraits::SideBySide(tagged, 1));
  ASSERT_TRUE(CopyExif(testsupport::Fixture("people.jpg"), tagged));  // 花子 and Taro

  CGFileInfoList files(10);
  AddFiles(&files, {tagged});
  CFaceClassifyRunner runner(&owner);
  runner.SetFaceDbPath(db.c_str());
  ASSERT_EQ(runner.Init(0x80000000, &files), S_OK);
  CFaceClassifyRunner::Data data;
  data.pRunner = &runner;
  EXPECT_EQ(CFaceClassifyRunner::Worker(&data), 1);
  uikit::PumpPending();
  EXPECT_EQ(runner.GetRegisteredCount(), 3);
  for (const char* name : {"Hana", "Taro", "\x89\xd4\x8e\x71" /* 花子 */}) {
    CStringList paths;
    int count = 0;
    EXPECT_EQ(file->GetFiles(name, 1, &paths, &count), 1) << name;
    if (!paths.IsEmpty()) {
      EXPECT_EQ(std::string((LPCSTR)paths.GetHead()), tagged) << name;
    }
  }
  file->Release();
}
