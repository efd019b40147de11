// Double clicks in the real icon view over a folder the browser was told to show: a
// sub-folder is entered (the view shows it and the main window hears of it byte for byte),
// a sub-folder that cannot be read says why and leaves the folder shown, a file that is no
// picture goes to the shell (its message when the shell can't), a picture opens the focus
// mode; GotoFolder and GotoSubFolder directly.
#include <gtest/gtest.h>

#include <IconView.h>
#include <MainWndMessages.h>
#include <VxGUITrans.h>
#include <VxResourceIds.h>
#include <pump.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "iconview_host.h"

namespace {

// The main window stand-in: the folder changes the browser reports, as sent.
class CChangeRecorder : public CWnd {
 public:
  std::vector<std::string> changes;  // the bytes of each 1534

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COPYDATA) {
      const COPYDATASTRUCT* p = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (p && p->dwData == CDID_CHANGE_FOLDER)
        changes.push_back(std::string(static_cast<const char*>(p->lpData), p->cbData));
      return 1;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// The icon view with its controller in a frame, the browser shown a folder as the folder
// pane shows one, sub-folders listed.
struct BrowserOverFolder {
  CChangeRecorder main;
  CWnd* oldMain = nullptr;
  CVxDocument* pDoc = nullptr;
  testsupport::CViewFrame* pFrame = nullptr;
  CIconView* view = nullptr;
  CVxGUITrans* trans = nullptr;
  BOOL oldSubFolders = FALSE;

  explicit BrowserOverFolder(const std::string& folder) {
    main.CreateEx(0, "STATIC", "main", WS_POPUP, CRect(0, 0, 10, 10), NULL, 0);
    oldMain = AfxGetThread()->m_pMainWnd;
    AfxGetThread()->m_pMainWnd = &main;
    pDoc = DYNAMIC_DOWNCAST(CVxDocument, RUNTIME_CLASS(CVxDocument)->CreateObject());
    pDoc->OnNewDocument();
    oldSubFolders = pDoc->GetBrowser()->IsSubFolderVisible();
    pDoc->GetBrowser()->SubFolderVisible(TRUE);
    pFrame = testsupport::CreateViewFrame(pDoc, RUNTIME_CLASS(CIconView), "dblclick", WS_POPUP | WS_VISIBLE,
                                          CRect(0, 0, 800, 600));
    if (!pFrame) return;
    view = static_cast<CIconView*>(pFrame->GetView());
    view->OnInitialUpdate();
    trans = view->GetController();
    Show(folder);
  }
  ~BrowserOverFolder() {
    CThumbnailPage::DecodeStop();
    if (trans) trans->OnModeChange(CGVIEW_LARGEICON);
    if (pDoc) pDoc->GetBrowser()->SubFolderVisible(oldSubFolders);
    if (pFrame) pFrame->DestroyWindow();
    AfxGetThread()->m_pMainWnd = oldMain;
    main.DestroyWindow();
    uikit::PumpPending();
  }
  void Show(const std::string& folder) {
    std::string text = "0|Explorer|1|" + folder + "\\||";
    COPYDATASTRUCT cds = {CDID_CHANGE_FOLDER, (DWORD)text.size() + 1, (void*)text.c_str()};
    view->SendMessage(WM_COPYDATA, (WPARAM)main.GetSafeHwnd(), (LPARAM)&cds);
    testsupport::WaitUntil([&] { return trans->GetQueuedCommandCount() == 0; }, 10000);
    uikit::PumpPending();
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (DWORD id : view->GetDisplayList()) names.push_back((LPCSTR)view->GetThumbnail(id)->GetFileName());
    return names;
  }
  DWORD IdOf(const char* name) const {
    for (DWORD id : view->GetDisplayList())
      if (view->GetThumbnail(id)->GetFileName().CompareNoCase(name) == 0) return id;
    return VXID_NONE;
  }
  // A user's double click on the item's picture: the first click selects it.
  void DoubleClick(const char* name) {
    DWORD id = IdOf(name);
    ASSERT_NE(id, VXID_NONE) << name;
    CRect rc;
    view->GetItemRect(id, rc, 1);
    fwtest::DoubleClickMouse(*view, rc.CenterPoint() - view->GetScrollPositionRaw());
    uikit::PumpPending();
  }
};

std::string SystemText(DWORD code) {
  char text[512] = "";
  ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, code, 0, text, sizeof(text), NULL);
  return text;
}

bool Exists(const std::string& p) { return ::GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A file kind of the test's own whose "open" verb makes a file beside the one opened.
const char kOpenKind[] = ".glimoraopen";
const char kOpenClass[] = "Glimora.OpenTest";
struct OpenVerb {
  OpenVerb() {
    SetDefault(kOpenKind, "Glimora.OpenTest");
    SetDefault((std::string(kOpenClass) + "\\shell\\open\\command").c_str(), "cmd.exe /c type nul > \"%1.opened\"");
  }
  ~OpenVerb() {
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kOpenKind);
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kOpenClass);
  }
  static void SetDefault(const char* key, const char* value) {
    HKEY h = NULL;
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, NULL, 0, KEY_WRITE, NULL, &h, NULL) != ERROR_SUCCESS) return;
    ::RegSetValueExA(h, NULL, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), (DWORD)strlen(value) + 1);
    ::RegCloseKey(h);
  }
};

std::string MakeFolder() {
  std::string folder = FixtureFolder("dblclick", {"plain.jpg"});
  ::CreateDirectoryA((folder + "\\sub").c_str(), NULL);
  ::CopyFileA(testsupport::Fixture("rose.jpg").c_str(), (folder + "\\sub\\rose.jpg").c_str(), FALSE);
  testsupport::WriteWholeFile(folder + "\\notes.glimoraopen", "notes");
  testsupport::WriteWholeFile(folder + "\\data.glimoranothing", "data");
  return folder;
}

}  // namespace

// A sub-folder: the view shows its files and the main window gets the browser's folder
// change, padded as the browser sends its texts.
TEST(DoubleClick, ASubFolderIsEntered) {
  std::string folder = MakeFolder();
  BrowserOverFolder b(folder);
  ASSERT_NE(b.trans, nullptr);
  ASSERT_NE(b.IdOf("sub"), VXID_NONE);
  b.main.changes.clear();
  b.DoubleClick("sub");
  EXPECT_EQ(b.Names(), std::vector<std::string>{"rose.jpg"});
  ASSERT_EQ(b.main.changes.size(), 1u);
  std::string text = "0|Explorer|1|" + folder + "\\sub\\||";
  std::string want = text + std::string(4, '\0');
  want.resize((text.size() + 5) & ~size_t(3));
  EXPECT_EQ(b.main.changes[0], want);
}

// A double click with Ctrl held opens the item under the cursor, not the selection's last
// item: the first click takes "sub" out of the selection and leaves the picture last.
TEST(DoubleClick, TheItemUnderTheCursorOpensWhateverWasSelectedLast) {
  std::string folder = MakeFolder();
  BrowserOverFolder b(folder);
  ASSERT_NE(b.trans, nullptr);
  auto at = [&](const char* name) {
    CRect rc;
    b.view->GetItemRect(b.IdOf(name), rc, 1);
    CPoint pt = rc.CenterPoint() - b.view->GetScrollPositionRaw();
    return MAKELPARAM(pt.x, pt.y);
  };
  auto ctrlClick = [&](const char* name) {
    b.view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, at(name));
    b.view->SendMessage(WM_LBUTTONUP, MK_CONTROL, at(name));
  };
  ctrlClick("sub");
  ctrlClick("plain.jpg");
  ctrlClick("sub");
  b.view->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON | MK_CONTROL, at("sub"));
  b.view->SendMessage(WM_LBUTTONUP, MK_CONTROL, at("sub"));
  uikit::PumpPending();
  EXPECT_FALSE(b.trans->IsFocusMode());
  EXPECT_EQ(b.Names(), std::vector<std::string>{"rose.jpg"});
}

// A sub-folder that cannot be listed (here a file took its place after the folder was
// shown): the system's text for the error, and the folder shown stays as it was.
TEST(DoubleClick, AnUnreadableSubFolderSaysWhyAndTheFolderStays) {
  std::string folder = MakeFolder();
  BrowserOverFolder b(folder);
  ASSERT_NE(b.trans, nullptr);
  ASSERT_NE(b.IdOf("sub"), VXID_NONE);
  testsupport::RemoveTree(folder + "\\sub");
  ASSERT_TRUE(testsupport::WriteWholeFile(folder + "\\sub", "no folder"));
  b.main.changes.clear();
  std::string box = MessageBoxOf([&] { b.DoubleClick("sub"); });
  ::SetLastError(0);
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((folder + "\\sub\\*.*").c_str(), &fd);
  DWORD err = ::GetLastError();
  if (h != INVALID_HANDLE_VALUE) ::FindClose(h);
  ASSERT_NE(err, 0u);
  EXPECT_EQ(box, SystemText(err));
  // Still the folder: its picture is shown, the sub-folder's is not, and no change went out.
  std::vector<std::string> after = b.Names();
  EXPECT_NE(std::find(after.begin(), after.end(), "plain.jpg"), after.end());
  EXPECT_EQ(std::find(after.begin(), after.end(), "rose.jpg"), after.end());
  EXPECT_TRUE(b.main.changes.empty());
}

// A file that is no picture goes to the shell's "open"; when the shell has nothing for it,
// the browser's message says so. A picture opens the focus mode.
TEST(DoubleClick, OtherFilesGoToTheShellAndAPictureOpensTheFocusMode) {
  OpenVerb verb;
  std::string folder = MakeFolder();
  BrowserOverFolder b(folder);
  ASSERT_NE(b.trans, nullptr);
  EXPECT_EQ(MessageBoxOf([&] { b.DoubleClick("notes.glimoraopen"); }), "");
  EXPECT_TRUE(testsupport::WaitUntil([&] { return Exists(folder + "\\notes.glimoraopen.opened"); }, 20000));

  CString failed = CResourceLoader().LoadStringA(IDS_BROWSER_OPEN_FAILED);
  EXPECT_EQ(MessageBoxOf([&] { b.DoubleClick("data.glimoranothing"); }), std::string(failed));
  EXPECT_TRUE(b.trans->IsLargeIconMode());

  b.DoubleClick("plain.jpg");
  EXPECT_TRUE(b.trans->IsFocusMode());
  CThumbnail* last = b.pDoc->GetBrowser()->GetLastSelectedItem();
  ASSERT_NE(last, nullptr);
  EXPECT_STREQ(last->GetFileName(), "plain.jpg");
}

// GotoSubFolder refuses what is no folder of the view (87); GotoFolder enters a folder by
// path and refuses an unreadable one with its error, the model unchanged.
TEST(DoubleClick, GotoFolderAndGotoSubFolder) {
  std::string folder = MakeFolder();
  BrowserOverFolder b(folder);
  ASSERT_NE(b.trans, nullptr);
  CThumbnail* picture = b.view->GetThumbnail(b.IdOf("plain.jpg"));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(b.trans->GotoSubFolder(picture), (long)ERROR_INVALID_PARAMETER);
  EXPECT_EQ(b.trans->GotoSubFolder(nullptr), (long)ERROR_INVALID_PARAMETER);
  EXPECT_EQ(b.trans->GotoSubFolder(nullptr, picture), (long)ERROR_INVALID_PARAMETER);

  CThumbnail* sub = b.view->GetThumbnail(b.IdOf("sub"));
  ASSERT_NE(sub, nullptr);
  CThumbnailGroupInfo key = sub->GetPage()->GetGroupInfo();
  CString name = sub->GetPage()->GetName();
  std::vector<std::string> before = b.Names();
  testsupport::WriteWholeFile(folder + "\\plainfile", "x");
  long out = -1;
  long r = 0;
  std::string box = MessageBoxOf([&] { r = b.trans->GotoFolder(key, name, (folder + "\\plainfile").c_str(), &out); });
  EXPECT_NE(r, 0);
  EXPECT_FALSE(box.empty());
  EXPECT_EQ(out, -1);
  EXPECT_EQ(b.Names(), before);
  EXPECT_EQ(b.trans->GotoFolder(key, name, (folder + "\\sub").c_str(), nullptr), (long)ERROR_INVALID_PARAMETER);

  b.main.changes.clear();
  EXPECT_EQ(b.trans->GotoFolder(key, name, (folder + "\\sub").c_str(), &out), 0);
  EXPECT_EQ(out, 0);
  EXPECT_EQ(b.Names(), std::vector<std::string>{"rose.jpg"});
  ASSERT_EQ(b.main.changes.size(), 1u);
  EXPECT_EQ(b.main.changes[0].substr(0, b.main.changes[0].find('\0')),
            std::to_string(key.GetGroup() - 1) + "|" + (LPCSTR)name + "|1|" + folder + "\\sub\\||");
}

// A change of folder keeps the view's bar until the new folder is laid out: whatever was
// shown before, the bar then fits the folder shown, and the items in sight are painted.
TEST(FolderChange, TheBarAndThePaintFitEachFolderShown) {
  auto folderOf = [](const char* name, int files) {
    std::string folder = testsupport::NewTempFolder(name);
    for (int i = 0; i < files; ++i)
      ::CopyFileA(testsupport::Fixture("plain.jpg").c_str(), (folder + "\\p" + std::to_string(i) + ".jpg").c_str(),
                  FALSE);
    return folder;
  };
  const std::string many = folderOf("change-many", 60), fewer = folderOf("change-fewer", 30),
                    empty = folderOf("change-empty", 0), gone = empty + "\\gone";
  BrowserOverFolder b(many);
  ASSERT_NE(b.view, nullptr);
  struct Step {
    const char* what;
    std::string folder;
    int items;
    bool bar;
  } steps[] = {
      {"many", many, 60, true},
      {"from many to fewer", fewer, 30, true},
      {"to an empty folder", empty, 0, false},
      {"back to many", many, 60, true},
      {"to a folder that is gone", gone, 0, false},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    b.Show(step.folder);
    ASSERT_EQ(b.view->GetItemCount(), step.items);
    CRect client;
    b.view->GetClientRect(&client);
    EXPECT_FALSE(::GetUpdateRect(b.view->m_hWnd, NULL, FALSE));
    EXPECT_EQ((b.view->GetStyle() & WS_VSCROLL) != 0, step.bar);
    if (step.bar) {
      SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS};
      ASSERT_TRUE(::GetScrollInfo(b.view->m_hWnd, SB_VERT, &si));
      EXPECT_EQ(si.nMin, 0);
      EXPECT_EQ(si.nMax, b.view->GetTotalSize().cy - 1);
      EXPECT_EQ(si.nPage, UINT(client.Height()));
      EXPECT_EQ(si.nPos, 0);
      // The rows in sight were drawn: the paint hands the decoder the ones it showed.
      EXPECT_GT(b.view->GetDecodeCount(), 0);
    }
  }
  for (const std::string& f : {many, fewer, empty}) testsupport::RemoveTree(f);
}
