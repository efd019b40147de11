// The slide-show collection dialog over a real scenario model, its pictures and temporary
// images: the fill and preparation, drops through its drop target, removal and clean-up,
// saves, and what it tells its owner.
#include <gtest/gtest.h>

#include <Kitlib2/Profile.h>
#include <MainWndMessages.h>
#include <SlideShowController.h>
#include <VxResourceIds.h>

#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

#include <files.h>
#include <profileroot.h>
#include <tempfolder.h>
#include <testmain.h>

#include "SlideCollectDlg.h"
#include "dialogtest.h"
#include "SlideImagePreparer.h"
#include "SlideShowScenario.h"
#include "slidepictures.h"
#include "ui/ResourceDialog.h"
#include "uikit.h"

namespace {

testmain::StartUp ole([] { return AfxOleInit() != FALSE; }, [] { AfxOleTerm(); });

const char kSection[] = "DepthViewer\\FullScreen";

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The toolbar's side of the protocol: what the dialog sends and posts.
class Owner : public CWnd {
 public:
  struct Got {
    UINT msg;
    WPARAM w;
    LPARAM l;
  };
  std::vector<Got> got;
  std::function<void()> onSettings;
  int Count(UINT msg, WPARAM w) const {
    int n = 0;
    for (const Got& g : got) n += g.msg == msg && (msg != WM_COMMAND || LOWORD(g.w) == w);
    return n;
  }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM w, LPARAM l) override {
    if (msg == WM_COMMAND || msg == WM_TOOLBAR_SLIDE_COLLECT) {
      got.push_back(Got{msg, w, l});
      if (msg == WM_COMMAND && LOWORD(w) == ID_SLIDE_SETTINGS && onSettings) onSettings();
      return 0;
    }
    return CWnd::WindowProc(msg, w, l);
  }
};

class TestCollectDlg : public CSlideCollectDlg {
 public:
  std::string target;
  CString ChooseTarget() override { return target.c_str(); }
};

using dialogtest::HDrop;

HGLOBAL Block(const std::string& text) {
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
  memcpy(::GlobalLock(h), text.c_str(), text.size());
  ::GlobalUnlock(h);
  return h;
}

// Every text of a message box, whole.
std::string BoxText(HWND hBox) {
  std::string out;
  for (HWND h = ::GetWindow(hBox, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
    std::string text(::GetWindowTextLengthA(h) + 1, '\0');
    text.resize(::GetWindowTextA(h, &text[0], (int)text.size()));
    out += text + "|";
  }
  return out;
}

// Answers the next message box with a button and keeps its text.
struct BoxAnswer {
  std::string text;
  std::unique_ptr<uikit::DialogDriver> driver;
  explicit BoxAnswer(int button) {
    driver.reset(new uikit::DialogDriver([this, button](HWND h) {
      text = BoxText(h);
      uikit::Press(h, button);
    }));
  }
  int Ran() const { return driver->Ran(); }
};

std::string Text(UINT id) { return (LPCSTR)LoadResourceText(id); }

class SlideCollect : public testing::Test {
 protected:
  void SetUp() override {
    root.reset(new testsupport::ScopedProfileRoot("slidecollect"));
    folder = testsupport::NewTempFolder("glimora-collect");
    temp = SlideTempFolder();
    testsupport::RemoveTree(temp.substr(0, temp.size() - 1));
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_POPUP, CRect(0, 0, 10, 10), NULL, 0));
  }
  void TearDown() override {
    if (dlg && dlg->IsCreated()) {
      BoxAnswer no(IDNO);  // unsaved work: not kept
      dlg.reset();
    }
    dlg.reset();
    owner.DestroyWindow();
    testsupport::RemoveTree(folder);
    testsupport::RemoveTree(temp.substr(0, temp.size() - 1));
  }
  std::string Path(const std::string& name) const { return folder + "\\" + name; }
  // Without preparation at opening: quality 0, no effect.
  void NoPreparation() {
    CMWriteProfileInt(kSection, "SlideQuality", 0);
    model.SetShowInfo(0, 3000, 1, 0);
  }
  void Open(int items) {
    dlg.reset(new TestCollectDlg);
    ASSERT_EQ(dlg->Create(&owner, &model, TRUE), 1);
    ASSERT_TRUE(
        uikit::WaitUntil([&] { return dlg->GetList().GetItemCount() == items && dlg->IsWindowEnabled(); }, 8000));
    uikit::PumpPending();
  }
  bool Enabled(int id) { return ::IsWindowEnabled(::GetDlgItem(dlg->m_hWnd, id)) != FALSE; }
  void ClickItem(int i) {
    CImageListCtrl& list = dlg->GetList();
    CPoint pt = list.GetItemRect(i).CenterPoint();
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  }
  std::vector<std::string> Items() {
    std::vector<std::string> out;
    for (int i = 0; i < dlg->GetList().GetItemCount(); ++i) out.push_back((LPCSTR)dlg->GetList().GetItemText(i));
    return out;
  }
  std::vector<SlideTempImage> Temps() {
    std::vector<SlideTempImage> t;
    model.GetTempImages(&t);
    return t;
  }
  std::string TempOf(const std::string& source) {
    for (const SlideTempImage& t : Temps())
      if (t.source == source) return t.temp;
    return std::string();
  }

  std::unique_ptr<testsupport::ScopedProfileRoot> root;
  std::string folder, temp;
  Owner owner;
  CSlideShowScenario model;
  std::unique_ptr<TestCollectDlg> dlg;
};

}  // namespace

TEST(SlideCollectRules, DropKindsAndTheMissingFilesText) {
  struct Case {
    const char* path;
    slideshow::DropKind kind;
  } cases[] = {
      {"C:\\a.JPG", slideshow::kDropPicture},  {"C:\\a.jpe", slideshow::kDropPicture},
      {"C:\\a.jpeg", slideshow::kDropPicture}, {"C:\\a.Tif", slideshow::kDropPicture},
      {"C:\\a.tiff", slideshow::kDropPicture}, {"C:\\a.bmp", slideshow::kDropPicture},
      {"C:\\a.MP3", slideshow::kDropAudio},    {"C:\\a.wav", slideshow::kDropAudio},
      {"C:\\a.m4a", slideshow::kDropAudio},    {"C:\\a.wma", slideshow::kDropAudio},
      {"C:\\a.png", slideshow::kDropOther},    {"C:\\a.gif", slideshow::kDropOther},
      {"C:\\a.mov", slideshow::kDropOther},    {"C:\\folder", slideshow::kDropOther},
      {"C:\\a.jpg\\b", slideshow::kDropOther},  // a folder named like a picture
  };
  for (const Case& c : cases) EXPECT_EQ(slideshow::DroppedFileKind(c.path), c.kind) << c.path;

  std::vector<std::string> missing;
  for (int i = 0; i < 11; ++i) missing.push_back("C:\\m" + std::to_string(i) + ".jpg");
  std::string text = slideshow::MissingFilesText("Gone:", missing);
  EXPECT_EQ(text.find("Gone:\n\nC:\\m0.jpg\nC:\\m1.jpg"), 0u);
  EXPECT_NE(text.find("C:\\m9.jpg\n..."), std::string::npos);
  EXPECT_EQ(text.find("m10"), std::string::npos);
  missing.resize(10);
  text = slideshow::MissingFilesText("Gone:", missing);
  EXPECT_EQ(text.substr(text.size() - 10), "\nC:\\m9.jpg");  // ten: no "..."
}

// Opening prepares the pictures; removing one deletes exactly its image; closing deletes
// the model's own images and nothing else, then the folder once it is empty.
TEST_F(SlideCollect, PreparesRemovesAndCleansUpOnlyItsOwnImages) {
  slidetest::WriteBmp(Path("a.bmp"), 64, 48);
  slidetest::WriteBmp(Path("b.bmp"), 48, 64);
  std::vector<SlidePicture> pictures = {{Path("a.bmp"), 64, 48}, {Path("b.bmp"), 48, 64}, {Path("gone.bmp"), 10, 10}};
  model.SetPictures(&pictures);
  Open(3);
  EXPECT_EQ(Items(), (std::vector<std::string>{Path("a.bmp"), Path("b.bmp"), Path("gone.bmp")}));
  std::string tempA = TempOf(Path("a.bmp")), tempB = TempOf(Path("b.bmp"));
  ASSERT_EQ(Temps().size(), 2u);
  EXPECT_EQ(tempA.compare(0, temp.size(), temp), 0);
  EXPECT_TRUE(Exists(tempA));
  EXPECT_TRUE(Exists(tempB));
  EXPECT_FALSE(Enabled(IDC_SLIDE_COLLECT_REMOVE));
  EXPECT_TRUE(Enabled(IDC_SLIDE_COLLECT_SAVE));
  EXPECT_TRUE(Enabled(IDC_SLIDE_COLLECT_START));
  EXPECT_FALSE(testsupport::Picture(dlg->m_hWnd).Save("slideshow-collect").empty());

  ClickItem(1);
  EXPECT_TRUE(Enabled(IDC_SLIDE_COLLECT_REMOVE));
  uikit::Press(dlg->m_hWnd, IDC_SLIDE_COLLECT_REMOVE);
  EXPECT_EQ(Items(), (std::vector<std::string>{Path("a.bmp"), Path("gone.bmp")}));
  EXPECT_FALSE(Exists(tempB));
  EXPECT_TRUE(Exists(tempA));
  EXPECT_EQ(Temps().size(), 1u);
  EXPECT_FALSE(Enabled(IDC_SLIDE_COLLECT_REMOVE));

  // A foreign file in the folder, and an entry that names a file elsewhere.
  ASSERT_TRUE(testsupport::WriteWholeFile(temp + "foreign.txt", "not ours"));
  ASSERT_TRUE(testsupport::WriteWholeFile(Path("outside.bmp"), "not in the folder"));
  std::vector<SlideTempImage> temps = Temps();
  temps.push_back(SlideTempImage{10, 10, Path("c.bmp"), Path("outside.bmp")});
  model.SetTempImages(&temps);

  BoxAnswer no(IDNO);
  uikit::Press(dlg->m_hWnd, IDC_SLIDE_COLLECT_CLOSE);
  EXPECT_EQ(no.Ran(), 1);
  EXPECT_NE(no.text.find(Text(IDS_SLIDE_ASK_SAVE).substr(0, 20)), std::string::npos);
  EXPECT_EQ(dlg->IsCreated(), 0);
  EXPECT_FALSE(Exists(tempA));
  EXPECT_TRUE(Exists(temp + "foreign.txt"));
  EXPECT_TRUE(Exists(Path("outside.bmp")));
  EXPECT_TRUE(Temps().empty());
  uikit::PumpPending();
  ASSERT_EQ(owner.Count(WM_TOOLBAR_SLIDE_COLLECT, 0), 1);
  EXPECT_EQ(owner.got.back().l, (LPARAM)CSlideCollectDlg::kCloseUnsaved);

  // Without the foreign file, closing (the window's close this time) removes the folder.
  ::DeleteFileA((temp + "foreign.txt").c_str());
  Open(3);
  EXPECT_EQ(Temps().size(), 2u);
  BoxAnswer again(IDNO);
  dlg->SendMessage(WM_CLOSE);
  EXPECT_EQ(again.Ran(), 1);
  EXPECT_FALSE(Exists(temp));
}

TEST_F(SlideCollect, DropsFromTheFileManagerAndTheMusicView) {
  NoPreparation();
  model.SetShowInfo(3, 5000, 0, 1);
  slidetest::WriteBmp(Path("a.bmp"), 64, 48);
  slidetest::WriteBmp(Path("c.bmp"), 32, 32);
  ASSERT_TRUE(testsupport::WriteWholeFile(Path("song.mp3"), "ID3"));
  Open(0);
  EXPECT_FALSE(Enabled(IDC_SLIDE_COLLECT_SAVE));
  EXPECT_FALSE(Enabled(IDC_SLIDE_COLLECT_START));
  IDropTarget* target = dlg->GetDropTarget();

  // Three files where the second is a song: the first joins, the song is refused, the
  // third is not looked at.
  COleDataSource files;
  files.CacheGlobalData(CF_HDROP, HDrop({Path("a.bmp"), Path("song.mp3"), Path("c.bmp")}));
  IDataObject* data = files.GetIDataObject(FALSE);
  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  EXPECT_EQ(target->DragEnter(data, 0, POINTL{0, 0}, &effect), S_OK);
  EXPECT_EQ(effect, (DWORD)DROPEFFECT_COPY);
  {
    BoxAnswer ok(IDOK);
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->Drop(data, 0, POINTL{0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, (DWORD)DROPEFFECT_COPY);
    EXPECT_EQ(ok.Ran(), 1);
    EXPECT_NE(ok.text.find(Text(IDS_SLIDE_AUDIO_REFUSED)), std::string::npos);
  }
  EXPECT_EQ(Items(), std::vector<std::string>{Path("a.bmp")});
  EXPECT_EQ(dlg->GetList().GetItemSize(0).cx, 64);
  EXPECT_TRUE(Exists(TempOf(Path("a.bmp"))));  // prepared like the others
  EXPECT_TRUE(Enabled(IDC_SLIDE_COLLECT_START));

  // Files it can't use: each refused with its path, nothing added.
  ::CreateDirectoryA(Path("sub.jpg").c_str(), NULL);
  slidetest::WriteBmp(Path("p.png"), 8, 8);
  for (const std::string& path : {std::string("E:\\DCIM\\100NRV\\p.jpg"), std::string("\\\\server\\share\\p.jpg"),
                                  Path("p.png"), Path("sub.jpg"), Path("missing.jpg")}) {
    BoxAnswer ok(IDOK);
    EXPECT_EQ(dlg->AddDroppedFile(path.c_str(), FALSE), 0) << path;
    EXPECT_EQ(ok.Ran(), 1) << path;
    EXPECT_NE(ok.text.find(path), std::string::npos) << path;
  }
  EXPECT_EQ(dlg->GetList().GetItemCount(), 1);
  {
    BoxAnswer none(IDOK);
    EXPECT_EQ(dlg->AddDroppedFile("C:", FALSE), 0);
    EXPECT_EQ(dlg->AddDroppedFile(NULL, FALSE), 0);
    EXPECT_EQ(none.Ran(), 0);
  }

  // The same song dragged from the music view becomes the show's audio, silently.
  COleDataSource song;
  song.CacheGlobalData(CFileDropTarget::PrivateFormat(), Block(Path("song.mp3")));
  {
    BoxAnswer none(IDOK);
    effect = DROPEFFECT_COPY;
    target->Drop(song.GetIDataObject(FALSE), 0, POINTL{0, 0}, &effect);
    EXPECT_EQ(effect, (DWORD)DROPEFFECT_COPY);
    EXPECT_EQ(none.Ran(), 0);
  }
  EXPECT_EQ(dlg->GetAudioPath(), Path("song.mp3"));
  char label[MAX_PATH] = "";
  ::GetDlgItemTextA(dlg->m_hWnd, IDC_SLIDE_COLLECT_AUDIO, label, MAX_PATH);
  EXPECT_EQ(std::string(label), Path("song.mp3"));
  std::vector<std::string> audio;
  model.GetAudio(&audio);
  EXPECT_EQ(audio, std::vector<std::string>{Path("song.mp3")});
  int kind = -1, interval = -1, repeat = -1, audioKind = -1;
  model.GetShowInfo(&kind, &interval, &repeat, &audioKind);
  EXPECT_EQ(kind, 3);
  EXPECT_EQ(interval, 5000);
  EXPECT_EQ(repeat, 0);
  EXPECT_EQ(audioKind, 2);

  // What it offers: the two formats; anything else is no drop.
  COleDataSource text;
  text.CacheGlobalData(CF_TEXT, Block("hello"));
  effect = DROPEFFECT_COPY;
  target->DragEnter(text.GetIDataObject(FALSE), 0, POINTL{0, 0}, &effect);
  EXPECT_EQ(effect, (DWORD)DROPEFFECT_NONE);
  target->DragLeave();
  effect = DROPEFFECT_COPY;
  target->Drop(text.GetIDataObject(FALSE), 0, POINTL{0, 0}, &effect);
  EXPECT_EQ(effect, (DWORD)DROPEFFECT_NONE);
  void* p = &effect;
  EXPECT_EQ(target->QueryInterface(IID_IDataObject, &p), E_NOINTERFACE);
  EXPECT_EQ(p, nullptr);
  ASSERT_EQ(target->QueryInterface(IID_IDropTarget, &p), S_OK);
  EXPECT_EQ(p, (void*)target);
  target->Release();

  // Pictures dragged in from another image list are prepared when the drop is over.
  CImageListCtrl other;
  ASSERT_TRUE(other.Create(WS_CHILD, CRect(0, 0, 200, 200), &owner, 1));
  other.AddItem(Path("c.bmp").c_str(), SIZE{32, 32});
  other.SetSelected(0, TRUE);
  other.DropSelectedInto(&dlg->GetList(), 0);
  EXPECT_EQ(Items(), (std::vector<std::string>{Path("c.bmp"), Path("a.bmp")}));
  EXPECT_TRUE(Exists(TempOf(Path("c.bmp"))));
  EXPECT_EQ(Temps().size(), 2u);

  // A full list: the file manager's drop is told why, the music view's is not.
  while (dlg->GetList().GetItemCount() < CImageListCtrl::kMaxItems) dlg->GetList().AddItem("C:\\x.jpg", SIZE{1, 1});
  {
    BoxAnswer ok(IDOK);
    EXPECT_EQ(dlg->AddDroppedFile(Path("a.bmp").c_str(), FALSE), 0);
    EXPECT_EQ(ok.Ran(), 1);
    EXPECT_NE(ok.text.find(Text(IDS_SLIDE_TOO_MANY)), std::string::npos);
  }
  {
    BoxAnswer none(IDOK);
    EXPECT_EQ(dlg->AddDroppedFile(Path("a.bmp").c_str(), TRUE), 0);
    EXPECT_EQ(none.Ran(), 0);
  }
  EXPECT_EQ(dlg->GetList().GetItemCount(), (int)CImageListCtrl::kMaxItems);
}

TEST_F(SlideCollect, SavesWhatExistsAndRefusesWhatCannotBeSaved) {
  NoPreparation();
  ASSERT_TRUE(testsupport::WriteWholeFile(Path("song.mp3"), "ID3"));
  std::vector<std::string> audio = {Path("song.mp3")};
  model.SetAudio(&audio);
  std::vector<SlidePicture> pictures;
  for (int i = 0; i < 12; ++i) {
    std::string name = Path("p" + std::to_string(i + 10) + ".bmp");
    slidetest::WriteBmp(name, 16, 12);
    pictures.push_back(SlidePicture{name, 16, 12});
  }
  model.SetPictures(&pictures);
  Open(12);
  EXPECT_EQ(dlg->GetAudioPath(), Path("song.mp3"));
  for (int i = 1; i < 12; ++i) ::DeleteFileA(pictures[i].path.c_str());

  // Eleven of twelve gone: ten of them are named, then "...", and the one left is saved.
  dlg->target = Path("show.snr");
  {
    BoxAnswer ok(IDOK);
    uikit::Press(dlg->m_hWnd, IDC_SLIDE_COLLECT_SAVE);
    EXPECT_EQ(ok.Ran(), 1);
    EXPECT_NE(ok.text.find(pictures[10].path), std::string::npos);
    EXPECT_EQ(ok.text.find(pictures[11].path), std::string::npos);
    EXPECT_NE(ok.text.find("..."), std::string::npos);
  }
  EXPECT_EQ(dlg->IsSaved(), 1);
  EXPECT_EQ(dlg->GetCloseReason(), (int)CSlideCollectDlg::kCloseSaved);
  CSlideShowScenario back;
  back.SetFileName(Path("show.snr").c_str());
  ASSERT_EQ(back.LoadPictures(), 1);
  ASSERT_EQ(back.LoadAudio(), 1);
  std::vector<SlidePicture> saved;
  back.GetPictures(&saved);
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0].path, pictures[0].path);
  std::vector<std::string> savedAudio;
  back.GetAudio(&savedAudio);
  EXPECT_EQ(savedAudio, audio);
  std::vector<SlidePicture> kept;
  model.GetPictures(&kept);
  EXPECT_EQ(kept.size(), 12u);  // the model keeps the list as it was

  // Saved once: closing asks nothing, even after a change.
  slidetest::WriteBmp(Path("late.bmp"), 8, 8);
  dlg->AddDroppedFile(Path("late.bmp").c_str(), FALSE);
  {
    BoxAnswer none(IDYES);
    EXPECT_EQ(dlg->AskSave(), 1);
    EXPECT_EQ(none.Ran(), 0);
  }

  // Nothing left to save: the refusal, no file.
  ::DeleteFileA(pictures[0].path.c_str());
  ::DeleteFileA(Path("late.bmp").c_str());
  dlg->target = Path("none.snr");
  {
    BoxAnswer ok(IDOK);
    EXPECT_EQ(dlg->Save(), 0);
    EXPECT_EQ(ok.Ran(), 1);
    EXPECT_NE(ok.text.find(Text(IDS_SLIDE_SAVE_FAILED)), std::string::npos);
  }
  EXPECT_FALSE(Exists(Path("none.snr")));
  dlg.reset();

  // A path too long for the scenario's field: refused, nothing written, and a file that
  // was there before stays as it was.
  std::string longName = Path(std::string(258 - folder.size() - 1 - 4, 'L') + ".bmp");
  ASSERT_EQ(longName.size(), 258u);
  slidetest::WriteBmp(longName, 8, 8);
  pictures = {SlidePicture{longName, 8, 8}};
  model.SetPictures(&pictures);
  Open(1);
  ASSERT_TRUE(testsupport::WriteWholeFile(Path("old.snr"), "old"));
  for (const char* name : {"old.snr", "new.snr"}) {
    dlg->target = Path(name);
    BoxAnswer ok(IDOK);
    EXPECT_EQ(dlg->Save(), 0) << name;
    EXPECT_EQ(ok.Ran(), 1) << name;
    EXPECT_NE(ok.text.find(Text(IDS_SLIDE_SAVE_FAILED)), std::string::npos) << name;
  }
  EXPECT_EQ(testsupport::ReadWholeFile(Path("old.snr")), "old");
  EXPECT_FALSE(Exists(Path("new.snr")));
}

TEST_F(SlideCollect, StartSettingsAndAudioGoThroughTheOwner) {
  NoPreparation();
  slidetest::WriteBmp(Path("a.bmp"), 64, 48);
  slidetest::WriteBmp(Path("b.bmp"), 48, 64);
  std::vector<SlidePicture> pictures = {{Path("a.bmp"), 64, 48}, {Path("b.bmp"), 48, 64}};
  model.SetPictures(&pictures);
  Open(2);

  // Settings: sent, and the label shows the model's audio as the settings left it.
  std::vector<std::string> chosen = {Path("chosen.mp3")};
  owner.onSettings = [&] { model.SetAudio(&chosen); };
  uikit::Press(dlg->m_hWnd, IDC_SLIDE_COLLECT_SETTINGS);
  ASSERT_EQ(owner.Count(WM_COMMAND, ID_SLIDE_SETTINGS), 1);
  EXPECT_EQ(owner.got.back().l, (LPARAM)dlg->m_hWnd);
  EXPECT_EQ(dlg->GetAudioPath(), Path("chosen.mp3"));
  // The label's tooltip asks for its text: the audio path.
  NMTTDISPINFOA tip = {};
  tip.hdr.idFrom = IDC_SLIDE_COLLECT_TIP;
  tip.hdr.code = TTN_GETDISPINFOA;
  dlg->SendMessage(WM_NOTIFY, 0, (LPARAM)&tip);
  ASSERT_NE(tip.lpszText, nullptr);
  EXPECT_EQ(std::string(tip.lpszText), Path("chosen.mp3"));
  std::vector<std::string> none;
  owner.onSettings = [&] { model.SetAudio(&none); };
  dlg->SendMessage(WM_COMMAND, IDC_SLIDE_COLLECT_LIST);
  EXPECT_EQ(owner.Count(WM_COMMAND, ID_SLIDE_SETTINGS), 2);
  EXPECT_EQ(dlg->GetAudioPath(), "");

  // The audio file went missing: the label empties and the model keeps one empty entry.
  model.SetAudio(&chosen);
  dlg->RefreshAudio();  // the label was empty: the model's audio is shown
  EXPECT_EQ(dlg->GetAudioPath(), Path("chosen.mp3"));
  dlg->RefreshAudio();  // chosen.mp3 does not exist
  EXPECT_EQ(dlg->GetAudioPath(), "");
  std::vector<std::string> audio;
  model.GetAudio(&audio);
  EXPECT_EQ(audio, std::vector<std::string>{""});

  // Start: the list's order goes into the model, then the owner is told (posted).
  dlg->GetList().SetSelected(1, TRUE);
  dlg->GetList().MoveSelected(0);
  uikit::Press(dlg->m_hWnd, IDC_SLIDE_COLLECT_START);
  std::vector<SlidePicture> now;
  model.GetPictures(&now);
  ASSERT_EQ(now.size(), 2u);
  EXPECT_EQ(now[0].path, Path("b.bmp"));
  EXPECT_EQ(now[0].width, 48);
  uikit::PumpPending();
  EXPECT_EQ(owner.Count(WM_COMMAND, ID_SLIDE_START), 1);
}

// The fill stops at a full list and says why once.
TEST_F(SlideCollect, FillStopsAtAFullList) {
  NoPreparation();
  std::vector<SlidePicture> pictures;
  for (int i = 0; i <= CImageListCtrl::kMaxItems; ++i) pictures.push_back(SlidePicture{"C:\\none\\p.jpg", 1, 1});
  model.SetPictures(&pictures);
  dlg.reset(new TestCollectDlg);
  ASSERT_EQ(dlg->Create(&owner, &model, TRUE), 1);
  BoxAnswer ok(IDOK);  // the fill waits for the first pump
  ASSERT_TRUE(uikit::WaitUntil([&] { return ok.Ran() == 1 && dlg->IsWindowEnabled(); }, 30000));
  uikit::PumpPending();
  EXPECT_NE(ok.text.find(Text(IDS_SLIDE_TOO_MANY)), std::string::npos);
  EXPECT_EQ(dlg->GetList().GetItemCount(), (int)CImageListCtrl::kMaxItems);
}
