// The import dialog and its progress windows driven by messages from a second thread, on
// a card made in a scratch folder and put into drive E:. The copy is held at a chosen
// phase of a chosen file through the engine's phase observer, so stop and cancel land
// during or between files without timing. Each window is photographed for a look by eye.
#include <CardImportDlg.h>
#include <CardRules.h>
#include <CopyProgressDlg.h>
#include <Kitlib2/Profile.h>
#include <RecordGate.h>
#include <DiscNodes.h>
#include <VerifiedCopy.h>
#include <VxBDCore.h>
#include <VxBDDisc.h>
#include <VxDatabase.h>
#include <VxResourceIds.h>
#include <card.h>
#include <dialogwatch.h>
#include <files.h>
#include <otherwindows.h>
#include <gtest/gtest.h>
#include <picture.h>
#include <profileroot.h>
#include <pump.h>
#include <sqliterows.h>
#include <tempfolder.h>
#include <testmain.h>
#include <Kitlib2/CMDIB.h>

#include "cardresources.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <thread>

#include "importdata.h"

using importtest::Pattern;
using namespace cardtree;

namespace {

using cardtest::Resources;

bool Exists(const std::string& p) { return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A card in a scratch folder in drive E:, the prefix's own card back afterwards; a
// photo database and a destination of the test's own.
struct Fixture {
  Resources res;
  testsupport::ScopedProfileRoot profile{"cardtree-import"};
  std::string root = testsupport::NewTempFolder("import-dialog");
  std::string card = root + "\\card";
  std::string dest = root + "\\dest";
  bool inserted = false;
  Fixture() {
    CreateDirectoryA((root + "\\db").c_str(), nullptr);
    VxDBSetFolder((root + "\\db").c_str());
    CreateDirectoryA(card.c_str(), nullptr);
    CreateDirectoryA(dest.c_str(), nullptr);
    CMWriteProfileString("CardTree", "BackupFolder", dest.c_str());
    CMWriteProfileString("CardTree", "CardDrive", "E:\\");
    CMWriteProfileInt("CardTree", "BackupMode", 0);
  }
  void Put(const std::string& rel, const std::string& content) { testsupport::WriteWholeFile(card + "\\" + rel, content); }
  void Insert() { inserted = testsupport::InsertCard('E', testsupport::UnixPathOf(card)) == 0; }
  ~Fixture() {
    SetCopyPhaseObserver(nullptr);
    testsupport::RemoveCard('E');
    if (!testsupport::DefaultCardDir().empty()) testsupport::InsertCard('E', testsupport::DefaultCardDir());
    VxDBClose(-1);
    testsupport::RemoveTree(root);
  }
};

// Holds the copy at one phase of one card file (by name) until released. Several files
// are under way at once: the other files' steps go on meanwhile, except opening a source,
// which waits while a file before it is held at its opening.
struct CopyHold {
  static CopyHold* current;
  CopyPhase phase;
  std::string name;
  HANDLE reached = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  CopyHold(CopyPhase p, const char* fileName) : phase(p), name(fileName) {
    current = this;
    SetCopyPhaseObserver(&Observe);
  }
  ~CopyHold() {
    SetEvent(release);
    SetCopyPhaseObserver(nullptr);
    current = nullptr;
    CloseHandle(reached);
    CloseHandle(release);
  }
  static void Observe(CopyPhase p, const std::string& source) {
    CopyHold* h = current;
    if (!h || p != h->phase || FileNameOf(source) != h->name) return;
    SetEvent(h->reached);
    WaitForSingleObject(h->release, 20000);
  }
  bool Reached(DWORD ms = 10000) const { return WaitForSingleObject(reached, ms) == WAIT_OBJECT_0; }
  void Release() { SetEvent(release); }
};
CopyHold* CopyHold::current = nullptr;

// Answers every message box of this process while it lives (Yes where there is one, else
// OK) and keeps their texts.
struct BoxAnswerer {
  std::vector<HWND> skip;
  // Told each text before its box is answered (on the answerer's thread).
  std::function<void(const std::string&)> seen;
  std::mutex lock;
  std::vector<std::string> texts;
  std::atomic<bool> stop{false};
  std::thread t;
  explicit BoxAnswerer(std::vector<HWND> skipped = {}, std::function<void(const std::string&)> onText = nullptr)
      : skip(std::move(skipped)), seen(std::move(onText)) {
    t = std::thread([this] { Run(); });
  }
  ~BoxAnswerer() {
    stop = true;
    t.join();
  }
  static BOOL CALLBACK Collect(HWND child, LPARAM text) {
    char cls[32] = "", buffer[1024] = "";
    GetClassNameA(child, cls, sizeof cls);
    if (!lstrcmpiA(cls, "Static") && GetWindowTextA(child, buffer, sizeof buffer))
      *reinterpret_cast<std::string*>(text) += buffer;
    return TRUE;
  }
  void Run() {
    std::set<HWND> answered;
    while (!stop) {
      for (HWND box : testsupport::WindowsOf(GetCurrentProcessId(), "#32770")) {
        if (answered.count(box)) continue;
        if (std::find(skip.begin(), skip.end(), box) != skip.end()) continue;
        const bool yes = GetDlgItem(box, IDYES) != nullptr;
        if (!yes && !GetDlgItem(box, IDOK)) continue;  // a progress window
        std::string text;
        EnumChildWindows(box, &Collect, reinterpret_cast<LPARAM>(&text));
        {
          std::lock_guard<std::mutex> hold(lock);
          texts.push_back(text);
        }
        if (seen) seen(text);
        answered.insert(box);
        PostMessageA(box, WM_COMMAND, yes ? IDYES : IDOK, 0);
      }
      Sleep(20);
    }
  }
  std::vector<std::string> Texts() {
    std::lock_guard<std::mutex> hold(lock);
    return texts;
  }
};

// The disc core as the tree holds it while a test's dialog is open: its integrator is the
// one the dialog asks for the disc's titles.
struct DiscCoreInUse {
  IVxBDCoreObject* object = GetVxBDCoreObject();
  DiscCoreInUse() { SetIntegrator(object->GetIntegrator()); }
  ~DiscCoreInUse() {
    SetIntegrator(nullptr);
    object->ClearDriveSelection();
    object->Release();
  }
};

bool Checked(HWND list, int i) {
  return (ListView_GetItemState(list, i, LVIS_OVERLAYMASK) & LVIS_OVERLAYMASK) != INDEXTOOVERLAYMASK(1);
}

std::string ItemPath(HWND list, int i) {
  char text[MAX_PATH] = "";
  ListView_GetItemText(list, i, 1, text, sizeof text);
  return text;
}

// A plan of n files from the card to the destination root.
CopyPlan PlanOf(Fixture& f, int n, size_t size) {
  CopyPlan plan;
  for (int i = 1; i <= n; ++i) {
    char name[32];
    snprintf(name, sizeof name, "ABCD%04d.JPG", i);
    f.Put(std::string("DCIM\\100AAAAA\\") + name, Pattern(size, i));
    plan.Add(f.card + "\\DCIM\\100AAAAA\\" + name, f.dest + "\\" + name);
  }
  return plan;
}

}  // namespace

TEST(CardImportDialog, OpensWithTheProfileListsTheCardInOrderAndTogglesDetails) {
  Fixture f;
  f.Put("DCIM\\100AAAAA\\EFGH0001.JPG", Pattern(500, 1));
  f.Put("DCIM\\101AAAAA\\ABCD0002.JPG", Pattern(600, 2));
  f.Put("DCIM\\101AAAAA\\ABCD0010.JPG", Pattern(700, 3));
  f.Put("DCIM\\101AAAAA\\MEMO.TXT", "memo");
  f.Insert();
  ASSERT_TRUE(f.inserted);
  CMWriteProfileInt("CardTree", "BackupMode", 3);
  CMWriteProfileInt("CardTree", "FileNameMode", 0);
  CMWriteProfileInt("CardTree", "CopyMode", 2);

  CCardImportDlg dlg;
  std::vector<std::string> paths;
  bool checkedAll = true, nameByTimeEnabled = true, keepChecked = false, ruleChecked = false, detailsHidden = false,
       detailsShown = false;
  int rulePosition = -1;
  std::string destination, captionHidden, captionShown;
  testsupport::DialogWatch watch(
      nullptr, [&](HWND box) { return box == dlg.GetSafeHwnd() && IsWindowVisible(box) && dlg.ScanDone(); },
      [&](HWND box) {
        HWND list = GetDlgItem(box, IDC_IMPORT_LIST);
        for (int i = 0; i < ListView_GetItemCount(list); ++i) {
          paths.push_back(ItemPath(list, i));
          checkedAll = checkedAll && Checked(list, i);
        }
        nameByTimeEnabled = IsWindowEnabled(GetDlgItem(box, IDC_IMPORT_NAME_BY_TIME)) != FALSE;
        keepChecked = IsDlgButtonChecked(box, IDC_IMPORT_NAME_KEEP) == BST_CHECKED;
        ruleChecked = IsDlgButtonChecked(box, IDC_IMPORT_COPY_RULE) == BST_CHECKED;
        rulePosition = static_cast<int>(SendDlgItemMessageA(box, IDC_IMPORT_RULE_LIST, CB_GETCURSEL, 0, 0));
        char text[MAX_PATH] = "";
        GetDlgItemTextA(box, IDC_IMPORT_DESTINATION, text, sizeof text);
        destination = text;
        detailsHidden = !IsWindowVisible(GetDlgItem(box, IDC_IMPORT_CLASSIFY_DATE));
        GetDlgItemTextA(box, IDC_IMPORT_DETAILS, text, sizeof text);
        captionHidden = text;
        testsupport::Picture(box).Save("card_import_details_hidden");
        SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDC_IMPORT_DETAILS, BN_CLICKED), (LPARAM)GetDlgItem(box, IDC_IMPORT_DETAILS));
        detailsShown = IsWindowVisible(GetDlgItem(box, IDC_IMPORT_CLASSIFY_DATE)) != FALSE;
        GetDlgItemTextA(box, IDC_IMPORT_DETAILS, text, sizeof text);
        captionShown = text;
        testsupport::Picture(box).Save("card_import_details_shown");
        PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
      },
      20000);
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  ASSERT_TRUE(watch.Acted());
  // The higher folder first, its objects by descending number, then its other files.
  EXPECT_EQ(paths, (std::vector<std::string>{"E:\\DCIM\\101AAAAA\\ABCD0010.JPG", "E:\\DCIM\\101AAAAA\\ABCD0002.JPG",
                                             "E:\\DCIM\\101AAAAA\\MEMO.TXT", "E:\\DCIM\\100AAAAA\\EFGH0001.JPG"}));
  EXPECT_TRUE(checkedAll);
  // Today's folder names nothing by time: the card's names, whatever was stored.
  EXPECT_FALSE(nameByTimeEnabled);
  EXPECT_TRUE(keepChecked);
  EXPECT_TRUE(ruleChecked);
  EXPECT_EQ(rulePosition, 1);
  EXPECT_EQ(destination, f.dest);
  EXPECT_TRUE(detailsHidden);
  EXPECT_TRUE(detailsShown);
  EXPECT_EQ(captionHidden.substr(captionHidden.size() - 2), ">>");
  EXPECT_EQ(captionShown.substr(0, 2), "<<");
  EXPECT_EQ(std::string(dlg.GetDestination()), "");
  EXPECT_EQ(CMGetProfileInt("CardTree", "Show", -1), 0);
}

TEST(CardImportDialog, OptionBoxesAndListCommands) {
  Fixture f;
  f.Put("DCIM\\100AAAAA\\ABCD0001.JPG", Pattern(500, 1));
  f.Put("DCIM\\100AAAAA\\ABCD0002.JPG", Pattern(500, 2));
  f.Insert();
  ASSERT_TRUE(f.inserted);
  CCardImportDlg dlg;
  struct Seen {
    int mode = -1, copyMode = -1;
    bool folderNameEnabled = false, nameByTimeEnabled = true, othersCleared = false, ruleEnabled = false;
  } named, daily, rule, all;
  int uncheckedAfterNone = 0, checkedAfterAll = 0;
  testsupport::DialogWatch watch(
      nullptr, [&](HWND box) { return box == dlg.GetSafeHwnd() && IsWindowVisible(box) && dlg.ScanDone(); },
      [&](HWND box) {
        // A click as the button leaves it: an auto box already toggled, a plain radio not.
        auto click = [box](int id, int check = -1) {
          if (check >= 0) CheckDlgButton(box, id, check ? BST_CHECKED : BST_UNCHECKED);
          SendMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(box, id));
        };
        auto look = [&](Seen* s) {
          s->mode = dlg.m_nBackupMode;
          s->copyMode = dlg.m_nCopyMode;
          s->folderNameEnabled = IsWindowEnabled(GetDlgItem(box, IDC_IMPORT_FOLDER_NAME)) != FALSE;
          s->nameByTimeEnabled = IsWindowEnabled(GetDlgItem(box, IDC_IMPORT_NAME_BY_TIME)) != FALSE;
          s->othersCleared = !IsDlgButtonChecked(box, IDC_IMPORT_MONTHLY) && !IsDlgButtonChecked(box, IDC_IMPORT_TODAY);
          s->ruleEnabled = IsWindowEnabled(GetDlgItem(box, IDC_IMPORT_RULE_LIST)) != FALSE;
        };
        click(IDC_IMPORT_TODAY, 1);
        click(IDC_IMPORT_NAMED, 1);
        look(&named);
        click(IDC_IMPORT_DAILY, 1);
        look(&daily);
        click(IDC_IMPORT_COPY_RULE);
        SendDlgItemMessageA(box, IDC_IMPORT_RULE_LIST, CB_SETCURSEL, 2, 0);
        SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDC_IMPORT_RULE_LIST, CBN_SELCHANGE),
                     (LPARAM)GetDlgItem(box, IDC_IMPORT_RULE_LIST));
        look(&rule);
        click(IDC_IMPORT_COPY_ALL);
        look(&all);
        HWND list = GetDlgItem(box, IDC_IMPORT_LIST);
        click(IDC_IMPORT_UNCHECK_ALL);
        for (int i = 0; i < ListView_GetItemCount(list); ++i) uncheckedAfterNone += !Checked(list, i);
        click(IDC_IMPORT_CHECK_ALL);
        for (int i = 0; i < ListView_GetItemCount(list); ++i) checkedAfterAll += Checked(list, i);
        // A double-click on an ordinary file is no disc title: nothing happens.
        SendMessageA(box, WM_IMPORT_ITEM_OPEN, 0, 0);
        SendMessageA(box, WM_IMPORT_ITEM_OPEN, 1, 0);
        PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
      },
      20000);
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  ASSERT_TRUE(watch.Acted());
  EXPECT_EQ(named.mode, 4);
  EXPECT_TRUE(named.folderNameEnabled);
  EXPECT_FALSE(named.nameByTimeEnabled);
  EXPECT_TRUE(named.othersCleared);
  EXPECT_EQ(daily.mode, 2);
  EXPECT_FALSE(daily.folderNameEnabled);
  EXPECT_TRUE(daily.nameByTimeEnabled);
  EXPECT_EQ(rule.copyMode, 1);  // position 2
  EXPECT_TRUE(rule.ruleEnabled);
  EXPECT_EQ(all.copyMode, 0);
  EXPECT_FALSE(all.ruleEnabled);
  EXPECT_EQ(uncheckedAfterNone, 2);
  EXPECT_EQ(checkedAfterAll, 2);
}

TEST(CardImportDialog, StartCopiesTheCheckedFilesRegistersThemAndCleansUpTheCard) {
  Fixture f;
  f.Put("DCIM\\100AAAAA\\ABCD0001.JPG", Pattern(3000, 1));
  f.Put("DCIM\\100AAAAA\\ABCD0002.JPG", Pattern(4000, 2));
  f.Put("DCIM\\100AAAAA\\ABCD0003.JPG", Pattern(5000, 3));
  f.Insert();
  ASSERT_TRUE(f.inserted);
  // ABCD0001 is there already; a different ABCD0002 takes the plain name.
  testsupport::WriteWholeFile(f.dest + "\\ABCD0001.JPG", Pattern(3000, 1));
  testsupport::WriteWholeFile(f.dest + "\\ABCD0002.JPG", "another picture");
  CMWriteProfileString("CardTree", "BackupFolder", f.dest.c_str());

  CCardImportDlg dlg;
  std::unique_ptr<BoxAnswerer> answers;
  testsupport::DialogWatch watch(
      nullptr, [&](HWND box) { return box == dlg.GetSafeHwnd() && IsWindowVisible(box) && dlg.ScanDone(); },
      [&](HWND box) {
        answers.reset(new BoxAnswerer({box}));
        HWND list = GetDlgItem(box, IDC_IMPORT_LIST);
        // ABCD0003 stays on the card.
        for (int i = 0; i < ListView_GetItemCount(list); ++i)
          if (ItemPath(list, i).find("ABCD0003") != std::string::npos)
            ListView_SetItemState(list, i, INDEXTOOVERLAYMASK(1), LVIS_OVERLAYMASK);
        SetDlgItemTextA(box, IDC_IMPORT_KEYWORD, "trip");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      },
      20000);
  EXPECT_EQ(dlg.DoModal(), IDOK);
  ASSERT_TRUE(watch.Acted());
  std::vector<std::string> texts = answers ? answers->Texts() : std::vector<std::string>();
  answers.reset();
  EXPECT_EQ(std::string(dlg.GetDestination()), f.dest);
  // The summary, then the two questions, both answered Yes.
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_NE(texts[0].find(ResourceString(IDS_IMPORT_DONE)), std::string::npos) << texts[0];
  EXPECT_EQ(texts[1], ResourceString(IDS_IMPORT_DELETE_QUESTION));
  EXPECT_EQ(texts[2], ResourceString(IDS_IMPORT_DELETE_AGAIN));
  // ABCD0002 copied beside the different file, registered with the keyword; the
  // identical ABCD0001 left as it was.
  EXPECT_EQ(testsupport::ReadWholeFile(f.dest + "\\ABCD0002(1).JPG"), Pattern(4000, 2));
  EXPECT_EQ(testsupport::ReadWholeFile(f.dest + "\\ABCD0002.JPG"), "another picture");
  EXPECT_FALSE(Exists(f.dest + "\\ABCD0003.JPG"));
  EXPECT_EQ(VxDBWIsEnrolled((f.dest + "\\ABCD0002(1).JPG").c_str()), S_OK);
  EXPECT_EQ(VxDBWIsEnrolled((f.dest + "\\ABCD0001.JPG").c_str()), S_OK);
  // The card keeps only the unchecked file.
  EXPECT_FALSE(Exists(f.card + "\\DCIM\\100AAAAA\\ABCD0001.JPG"));
  EXPECT_FALSE(Exists(f.card + "\\DCIM\\100AAAAA\\ABCD0002.JPG"));
  EXPECT_TRUE(Exists(f.card + "\\DCIM\\100AAAAA\\ABCD0003.JPG"));
  EXPECT_EQ(CMGetProfileString("CardTree", "BackupFolder", ""), CString(f.dest.c_str()));
  EXPECT_EQ(CMGetProfileInt("CardTree", "CopyMode", -1), 0);
}

TEST(CardImportDialog, CardTakenOutDuringTheCopyStopsWithTheFileAndOffersNoDeletion) {
  Fixture f;
  for (int i = 1; i <= 3; ++i) {
    char name[64];
    snprintf(name, sizeof name, "DCIM\\100AAAAA\\ABCD%04d.JPG", i);
    f.Put(name, Pattern(4000, i));
  }
  f.Insert();
  ASSERT_TRUE(f.inserted);
  // Files are listed by descending number: ABCD0003 is copied first. The card goes just
  // before the next file is opened (the files open in that order).
  CopyHold hold(CopyPhase::kOpening, "ABCD0002.JPG");
  std::thread remover([&] {
    if (hold.Reached(30000)) testsupport::RemoveCard('E');
    hold.Release();
  });
  CCardImportDlg dlg;
  std::unique_ptr<BoxAnswerer> answers;
  testsupport::DialogWatch watch(
      nullptr, [&](HWND box) { return box == dlg.GetSafeHwnd() && IsWindowVisible(box) && dlg.ScanDone(); },
      [&](HWND box) {
        answers.reset(new BoxAnswerer({box}));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      },
      20000);
  // The run ends with its messages; the dialog then closes for the card that is gone.
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  remover.join();
  ASSERT_TRUE(watch.Acted());
  std::vector<std::string> texts = answers ? answers->Texts() : std::vector<std::string>();
  answers.reset();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_NE(texts[0].find("E:\\DCIM\\100AAAAA\\ABCD0002.JPG"), std::string::npos) << texts[0];
  EXPECT_NE(texts[1].find(ResourceString(IDS_IMPORT_FAILED)), std::string::npos) << texts[1];
  // What was copied stays, registered; the card keeps every file.
  EXPECT_EQ(testsupport::ReadWholeFile(f.dest + "\\ABCD0003.JPG"), Pattern(4000, 3));
  EXPECT_EQ(VxDBWIsEnrolled((f.dest + "\\ABCD0003.JPG").c_str()), S_OK);
  EXPECT_FALSE(Exists(f.dest + "\\ABCD0002.JPG"));
  for (int i = 1; i <= 3; ++i) {
    char name[64];
    snprintf(name, sizeof name, "\\DCIM\\100AAAAA\\ABCD%04d.JPG", i);
    EXPECT_TRUE(Exists(f.card + name)) << name;
  }
  EXPECT_EQ(std::string(dlg.GetDestination()), "");
}

// Every file below a folder with the given extension, by name.
std::vector<std::string> FilesNamed(const std::string& folder, const std::string& ext) {
  std::vector<std::string> out;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      for (const std::string& f : FilesNamed(folder + "\\" + name, ext)) out.push_back(f);
    } else if (name.size() > ext.size() && _stricmp(name.c_str() + name.size() - ext.size(), ext.c_str()) == 0) {
      out.push_back(name);
    }
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  std::sort(out.begin(), out.end());
  return out;
}

TEST(CardImportDialog, ADiscTitleIsListedWithItsBadgeImportedWithCompanionsAndDeleted) {
  Fixture f;
  f.Put("DCIM\\100AAAAA\\ABCD0001.JPG", Pattern(3000, 1));
  const std::string bdmv = f.card + "\\PRIVATE\\AVCHD\\BDMV";
  testsupport::MakeFolders(f.card + "\\PRIVATE\\AVCHD");
  ASSERT_TRUE(VxBDWriteTree(bdmv, {VxBDSampleTitle{{"00001", "00002"}, 0x0103, 0xAB12}}, true, false));
  // Recorded on a day long past, which neither the label nor the copies may lose; the
  // import files into today's folder.
  std::vector<std::string> streams;
  for (const char* clip : {"00001", "00002"}) {
    streams.push_back(bdmv + "\\STREAM\\" + clip + ".MTS");
    testsupport::WriteWholeFile(streams.back(), Pattern(200000, clip[4]));
    ASSERT_TRUE(testsupport::SetLocalWriteTime(streams.back(), 2025, 3, 14, 10));
  }
  const std::string& stream = streams[0];
  WIN32_FILE_ATTRIBUTE_DATA onCard = {};
  GetFileAttributesExA(stream.c_str(), GetFileExInfoStandard, &onCard);
  CMWriteProfileInt("CardTree", "BackupMode", 3);
  f.Insert();
  ASSERT_TRUE(f.inserted);
  std::unique_ptr<DiscCoreInUse> core(new DiscCoreInUse);
  CMWriteProfileInt("CardTree", "InitDlg", 1);

  CCardImportDlg dlg;
  std::unique_ptr<BoxAnswerer> answers;
  int items = 0;
  LPARAM titleData = 0;
  std::string titleLabel;
  testsupport::DialogWatch watch(
      nullptr, [&](HWND box) { return box == dlg.GetSafeHwnd() && IsWindowVisible(box) && dlg.ScanDone(); },
      [&](HWND box) {
        HWND list = GetDlgItem(box, IDC_IMPORT_LIST);
        items = ListView_GetItemCount(list);
        LVITEMA item = {};
        char text[128] = "";
        item.mask = LVIF_PARAM | LVIF_TEXT;
        item.iItem = 1;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ListView_GetItem(list, &item);
        titleData = item.lParam;
        titleLabel = text;
        testsupport::Picture(box).Save("card_import_disc_item");
        answers.reset(new BoxAnswerer({box}));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      },
      20000);
  EXPECT_EQ(dlg.DoModal(), IDOK);
  ASSERT_TRUE(watch.Acted());
  std::vector<std::string> texts = answers ? answers->Texts() : std::vector<std::string>();
  answers.reset();
  core.reset();

  // The file first, then the title: a picture of its own with the title's kind, labelled
  // with its recording date and the number of its parts.
  EXPECT_EQ(items, 2);
  EXPECT_EQ(titleData, 1);
  EXPECT_EQ(titleLabel, "2025_03_14\n" + ResourceFormat(IDS_IMPORT_TITLE_PARTS, 2));
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_NE(texts[0].find(ResourceString(IDS_IMPORT_DONE)), std::string::npos) << texts[0];
  // The streams and their three companions each, and the picture; the title gone from the
  // card with the picture.
  EXPECT_EQ(FilesNamed(f.dest, ".MTS"), (std::vector<std::string>{"00001.MTS", "00002.MTS"}));
  for (const char* ext : {".cont", ".tmb", ".iis"}) EXPECT_EQ(FilesNamed(f.dest, ext).size(), 2u) << ext;
  EXPECT_EQ(FilesNamed(f.dest, ".JPG"), (std::vector<std::string>{"ABCD0001.JPG"}));
  for (const std::string& s : streams) EXPECT_FALSE(Exists(s));
  EXPECT_FALSE(Exists(f.card + "\\DCIM\\100AAAAA\\ABCD0001.JPG"));
  // The copies keep the day of the recording, and the database knows when each clip was shot.
  const std::string today = f.dest + "\\" + LocaleTodayFolderName();
  WIN32_FILE_ATTRIBUTE_DATA copied = {};
  GetFileAttributesExA((today + "\\00001.MTS").c_str(), GetFileExInfoStandard, &copied);
  EXPECT_EQ(CompareFileTime(&copied.ftLastWriteTime, &onCard.ftLastWriteTime), 0);
  const SYSTEMTIME recorded = {2025, 3, 0, 14, 10, 0, 0, 0};
  VxDBClose(-1);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2((f.root + "\\db\\VxDatabase.db").c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db,
                     "SELECT f.name, f.shot_time, (SELECT group_concat(k.keyword, '|') FROM keywords k"
                     " WHERE k.file_id = f.id) FROM files f WHERE f.name LIKE '%.cont' ORDER BY f.name",
                     -1, &st, nullptr);
  const std::string shot = std::to_string(CCMDIB::LocalTimeToTime32(recorded));
  EXPECT_EQ(testsupport::StatementRows(st), "00001.cont|" + shot + "|NULL|\n00002.cont|" + shot + "|NULL|\n");
  sqlite3_finalize(st);
  sqlite3_close(db);
}

// The user exchanges the card while the clean-up's question is open, for one whose files
// have the same names, and answers yes: nothing of the second card goes, and the user is
// told how many files stayed and why.
TEST(CardImportDialog, ACardExchangedWhileTheCleanUpAsksLosesNothing) {
  Fixture f;
  const std::string other = f.root + "\\other";
  for (int i = 1; i <= 3; ++i) {
    char name[64];
    snprintf(name, sizeof name, "DCIM\\100AAAAA\\ABCD%04d.JPG", i);
    f.Put(name, Pattern(4000, i));
    testsupport::WriteWholeFile(other + "\\" + name, Pattern(4000, 10 + i));
  }
  f.Insert();
  ASSERT_TRUE(f.inserted);
  CCardImportDlg dlg;
  std::unique_ptr<BoxAnswerer> answers;
  const std::string question = ResourceString(IDS_IMPORT_DELETE_QUESTION);
  std::atomic<bool> exchanged{false};
  testsupport::DialogWatch watch(
      nullptr, [&](HWND box) { return box == dlg.GetSafeHwnd() && IsWindowVisible(box) && dlg.ScanDone(); },
      [&](HWND box) {
        answers.reset(new BoxAnswerer({box}, [&](const std::string& text) {
          if (text == question)
            exchanged = testsupport::InsertCard('E', testsupport::UnixPathOf(other), "MEMCARD", 0x0BADCAFE) == 0;
        }));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      },
      20000);
  EXPECT_EQ(dlg.DoModal(), IDOK);
  ASSERT_TRUE(watch.Acted());
  std::vector<std::string> texts = answers ? answers->Texts() : std::vector<std::string>();
  answers.reset();
  ASSERT_TRUE(exchanged);
  // The summary, the two questions, then what stayed on the card.
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[1], question);
  EXPECT_EQ(texts[3], ResourceString(IDS_IMPORT_KEPT_HEAD) + "\n\n" + ResourceFormat(IDS_IMPORT_KEPT_OTHER_CARD, 3));
  for (int i = 1; i <= 3; ++i) {
    char name[64];
    snprintf(name, sizeof name, "\\DCIM\\100AAAAA\\ABCD%04d.JPG", i);
    EXPECT_EQ(testsupport::ReadWholeFile(other + name), Pattern(4000, 10 + i)) << name;
    EXPECT_EQ(testsupport::ReadWholeFile(f.card + name), Pattern(4000, i)) << name;
    EXPECT_EQ(testsupport::ReadWholeFile(f.dest + std::string(name).substr(14)), Pattern(4000, i)) << name;
  }
}

// A disc in a disc drive, whose titles the tree shows, is in the drive list beside the card
// and is imported from there: its titles copied, nothing offered for deletion.
TEST(CardImportDialog, ADiscInADiscDriveIsListedAndImported) {
  Fixture f;
  f.Put("DCIM\\100AAAAA\\ABCD0001.JPG", Pattern(3000, 1));
  f.Insert();
  ASSERT_TRUE(f.inserted);
  const std::string disc = f.root + "\\disc";
  testsupport::MakeFolders(disc + "\\BDMV");
  ASSERT_TRUE(VxBDWriteTree(disc + "\\BDMV", {VxBDSampleTitle{{"00000"}, 0x0103, 0xAB12}}, true, true));
  testsupport::WriteWholeFile(disc + "\\BDMV\\STREAM\\00000.m2ts", Pattern(100000, 9));
  ASSERT_EQ(testsupport::InsertDisc('D', testsupport::UnixPathOf(disc)), 0u);
  struct DiscOut {
    ~DiscOut() { testsupport::RemoveDisc('D'); }
  } discOut;
  std::unique_ptr<DiscCoreInUse> core(new DiscCoreInUse);
  CMWriteProfileInt("CardTree", "InitDlg", 1);
  CMWriteProfileString("CardTree", "CardDrive", "D:\\");

  CCardImportDlg dlg;
  std::unique_ptr<BoxAnswerer> answers;
  std::string drives;
  int items = 0;
  testsupport::DialogWatch watch(
      nullptr, [&](HWND box) { return box == dlg.GetSafeHwnd() && IsWindowVisible(box) && dlg.ScanDone(); },
      [&](HWND box) {
        HWND list = GetDlgItem(box, IDC_IMPORT_DRIVE);
        const int count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
          char text[8] = "";
          SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
          drives += text;
        }
        items = ListView_GetItemCount(GetDlgItem(box, IDC_IMPORT_LIST));
        answers.reset(new BoxAnswerer({box}));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      },
      20000);
  EXPECT_EQ(dlg.DoModal(), IDOK);
  ASSERT_TRUE(watch.Acted());
  std::vector<std::string> texts = answers ? answers->Texts() : std::vector<std::string>();
  answers.reset();
  core.reset();
  EXPECT_EQ(drives, "DE");
  EXPECT_EQ(items, 1);  // the disc's title
  // The summary alone: a disc is not cleaned up.
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find(ResourceString(IDS_IMPORT_DONE)), std::string::npos) << texts[0];
  EXPECT_EQ(FilesNamed(f.dest, ".m2ts"), (std::vector<std::string>{"00000.m2ts"}));
  EXPECT_EQ(FilesNamed(f.dest, ".cont").size(), 1u);
  EXPECT_TRUE(Exists(disc + "\\BDMV\\STREAM\\00000.m2ts"));
  EXPECT_TRUE(Exists(f.card + "\\DCIM\\100AAAAA\\ABCD0001.JPG"));
}

TEST(CardImportDialog, CardTakenOutWhileOpenClosesTheDialog) {
  Fixture f;
  f.Put("DCIM\\100AAAAA\\ABCD0001.JPG", Pattern(500, 1));
  f.Insert();
  ASSERT_TRUE(f.inserted);
  CCardImportDlg dlg;
  testsupport::DialogWatch watch(
      nullptr, [&](HWND box) { return box == dlg.GetSafeHwnd() && IsWindowVisible(box) && dlg.ScanDone(); },
      [&](HWND) { testsupport::RemoveCard('E'); }, 20000);
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_TRUE(watch.Acted());
}

TEST(CopyProgress, StopAndCancelDuringAndBetweenFiles) {
  struct Case {
    const char* name;
    CopyPhase phase;
    const char* file;
    int button;  // pressed while the copy is held and the dialog shows the file
    int result;
    size_t copied;
  } cases[] = {
      // The files after the third, read meanwhile, are dropped.
      {"stop during the third", CopyPhase::kReading, "ABCD0003.JPG", IDC_COPY_STOP, 3, 3},
      {"cancel during the third", CopyPhase::kReading, "ABCD0003.JPG", IDC_COPY_CANCEL, 3, 2},
      // The third, read meanwhile, is abandoned: a stop that leaves the copied two registered.
      {"cancel after the second", CopyPhase::kRenamed, "ABCD0002.JPG", IDC_COPY_CANCEL, 3, 2},
  };
  for (const Case& c : cases) {
    Fixture f;
    CopyPlan plan = PlanOf(f, 5, 300000);
    CopyHold hold(c.phase, c.file);
    CCopyProgressDlg dlg(nullptr, &plan);
    std::string fileLine;
    testsupport::DialogWatch watch(
        nullptr, [&](HWND box) { return box == dlg.GetSafeHwnd() && IsWindowVisible(box) && hold.Reached(0); },
        [&](HWND box) {
          testsupport::WaitUntil([&] {
            char text[MAX_PATH] = "";
            GetDlgItemTextA(box, IDC_COPY_FILE, text, sizeof text);
            fileLine = text;
            return fileLine.find(c.phase == CopyPhase::kReading ? "ABCD0003" : "ABCD0002") != std::string::npos;
          });
          if (c.button == IDC_COPY_STOP) {
            EXPECT_TRUE(IsWindowVisible(GetDlgItem(box, IDC_COPY_ANIMATION)));  // the library's clip plays
            testsupport::Picture(box).Save("card_copy_progress");
          }
          SendMessageA(box, WM_COMMAND, MAKEWPARAM(c.button, BN_CLICKED), (LPARAM)GetDlgItem(box, c.button));
          hold.Release();
        },
        20000);
    EXPECT_EQ(dlg.DoModal(), c.result) << c.name;
    EXPECT_TRUE(watch.Acted()) << c.name;
    EXPECT_EQ(dlg.Outcome().copiedTargets.size(), c.copied) << c.name;
    EXPECT_NE(fileLine.find(" "), std::string::npos) << c.name;  // name and size
    // What was copied is whole; nothing else and no temporary is left.
    for (int i = 1; i <= 5; ++i) {
      char name[32];
      snprintf(name, sizeof name, "\\ABCD%04d.JPG", i);
      if (static_cast<size_t>(i) <= c.copied)
        EXPECT_EQ(testsupport::ReadWholeFile(f.dest + name), Pattern(300000, i)) << c.name << name;
      else
        EXPECT_FALSE(Exists(f.dest + name)) << c.name << name;
      EXPECT_TRUE(Exists(f.card + "\\DCIM\\100AAAAA" + name));
    }
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((f.dest + "\\*").c_str(), &fd);
    int entries = 0;
    if (h != INVALID_HANDLE_VALUE) {
      do entries += fd.cFileName[0] != '.';
      while (FindNextFileA(h, &fd));
      FindClose(h);
    }
    EXPECT_EQ(entries, static_cast<int>(c.copied)) << c.name;
  }
}

TEST(CopyProgress, EmptyListAndTheCardTakenOutBetweenFiles) {
  Resources res;
  CopyPlan none;
  CCopyProgressDlg empty(nullptr, &none);
  EXPECT_EQ(empty.DoModal(), 1);
  EXPECT_EQ(empty.CopiedCount(), 0);

  Fixture f;
  CopyPlan plan;
  for (int i = 1; i <= 3; ++i) {
    char name[32];
    snprintf(name, sizeof name, "ABCD%04d.JPG", i);
    f.Put(std::string("DCIM\\100AAAAA\\") + name, Pattern(2000, i));
  }
  f.Insert();
  ASSERT_TRUE(f.inserted);
  for (int i = 1; i <= 3; ++i) {
    char name[32];
    snprintf(name, sizeof name, "ABCD%04d.JPG", i);
    plan.Add(std::string("E:\\DCIM\\100AAAAA\\") + name, f.dest + "\\" + name);
  }
  // The card goes just before the second file is opened.
  CopyHold hold(CopyPhase::kOpening, "ABCD0002.JPG");
  BoxAnswerer answers;
  CCopyProgressDlg dlg(nullptr, &plan);
  std::thread remover([&] {
    if (hold.Reached(20000)) testsupport::RemoveCard('E');
    hold.Release();
  });
  EXPECT_EQ(dlg.DoModal(), 3);
  remover.join();
  EXPECT_EQ(dlg.CopiedCount(), 1);
  // The message names the file that failed.
  testsupport::WaitUntil([&] { return !answers.Texts().empty(); });
  std::vector<std::string> texts = answers.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find("E:\\DCIM\\100AAAAA\\ABCD0002.JPG"), std::string::npos) << texts[0];
  EXPECT_EQ(testsupport::ReadWholeFile(f.dest + "\\ABCD0001.JPG"), Pattern(2000, 1));
  EXPECT_FALSE(Exists(f.dest + "\\ABCD0002.JPG"));
}

TEST(CardBackupProgress, CancelLetsTheRunningFileFinish) {
  Fixture f;
  CopyPlan plan = PlanOf(f, 4, 200000);
  CopyHold hold(CopyPhase::kReading, "ABCD0002.JPG");
  CCardBackupProgressDlg dlg(nullptr, &plan, "");
  testsupport::DialogWatch watch(
      nullptr, [&](HWND box) { return box == dlg.GetSafeHwnd() && IsWindowVisible(box) && hold.Reached(0); },
      [&](HWND box) {
        // The library's clip plays while the files go.
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(box, IDC_BACKUP_ANIMATION)));
        RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        testsupport::Picture(box).Save("card_backup_progress");
        // The clip's white is keyed out: its corner shows the dialog's gradient.
        RECT clip;
        GetWindowRect(GetDlgItem(box, IDC_BACKUP_ANIMATION), &clip);
        MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&clip), 2);
        HBITMAP back = static_cast<HBITMAP>(
            LoadImageA(ResourceModule(), MAKEINTRESOURCEA(IDB_BACKUP_BACKGROUND), IMAGE_BITMAP, 0, 0, 0));
        ASSERT_TRUE(back);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, back);
        testsupport::Picture client(box, testsupport::Picture::kClient);
        for (POINT at : {POINT{clip.left + 1, clip.top + 1}, POINT{clip.right - 2, clip.bottom - 2}}) {
          const COLORREF want = GetPixel(dc, at.x, at.y);
          EXPECT_NE(want, RGB(255, 255, 255));
          // Within a step of each channel: the brush's bitmap may round a channel.
          const COLORREF got = client.At(at);
          for (int shift : {0, 8, 16})
            EXPECT_LE(abs(static_cast<int>((got >> shift) & 0xFF) - static_cast<int>((want >> shift) & 0xFF)), 2)
                << at.x << "," << at.y << " " << std::hex << got << " " << want;
        }
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(back);
        // The running file is the one shown: the run has come to the second.
        EXPECT_TRUE(testsupport::WaitUntil([&] { return dlg.ShownFile() == 2; }));
        SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDC_COPY_CANCEL, BN_CLICKED), 0);
        hold.Release();
      },
      20000);
  EXPECT_EQ(dlg.DoModal(), 2);
  EXPECT_TRUE(watch.Acted());
  EXPECT_EQ(dlg.State(), 2);
  EXPECT_EQ(dlg.Outcome().copiedTargets.size(), 2u);
  EXPECT_EQ(testsupport::ReadWholeFile(f.dest + "\\ABCD0002.JPG"), Pattern(200000, 2));
  EXPECT_FALSE(Exists(f.dest + "\\ABCD0003.JPG"));
}

// A close of the program's main window and a quit, posted while a file is being copied,
// wait until the copy or backup dialog has ended: the copy completes, then they come in
// their order.
TEST(CopyProgress, TheProgramWaitsForTheCopyToEndBeforeItCloses) {
  struct MainWnd : CWnd {
    std::vector<std::string> log;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message != WM_CLOSE) return CWnd::WindowProc(message, wParam, lParam);
      log.push_back("main close");
      return 0;
    }
  };
  const struct {
    const char* name;
    std::function<INT_PTR(CopyPlan*)> run;
  } cases[] = {
      {"copy", [](CopyPlan* plan) { return CCopyProgressDlg(nullptr, plan).DoModal(); }},
      {"backup", [](CopyPlan* plan) { return CCardBackupProgressDlg(nullptr, plan, "").DoModal(); }},
  };
  for (const auto& c : cases) {
    Fixture f;
    CopyPlan plan = PlanOf(f, 3, 200000);
    MainWnd main;
    ASSERT_TRUE(
        main.CreateEx(0, AfxRegisterWndClass(0), "main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100), nullptr, 0));
    const HWND mainWnd = main.GetSafeHwnd();
    const DWORD self = GetCurrentThreadId();
    CopyHold hold(CopyPhase::kReading, "ABCD0002.JPG");
    // Posted before the copy goes on, so the dialog's loop meets them before the run's end.
    std::thread closer([&] {
      if (hold.Reached(20000)) {
        PostMessageA(mainWnd, WM_CLOSE, 0, 0);
        PostThreadMessageA(self, WM_QUIT, 7, 0);
      }
      hold.Release();
    });
    EXPECT_EQ(c.run(&plan), 1) << c.name;
    closer.join();
    EXPECT_EQ(main.log, std::vector<std::string>{}) << c.name;
    for (const char* name : {"\\ABCD0001.JPG", "\\ABCD0002.JPG", "\\ABCD0003.JPG"})
      EXPECT_TRUE(Exists(f.dest + name)) << c.name << name;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT)
        main.log.push_back("quit " + std::to_string(msg.wParam));
      else
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(main.log, (std::vector<std::string>{"main close", "quit 7"})) << c.name;
    main.DestroyWindow();
  }
}

TEST(RegisterProgress, ShowsEntriesAndAsksItsOwnerToStop) {
  Resources res;
  CWnd owner;
  owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0);
  CRegisterProgressDlg dlg(&owner, 3);
  ASSERT_TRUE(dlg.Create(&owner));
  dlg.Start();
  EXPECT_FALSE(owner.IsWindowEnabled());
  dlg.AddEntry("00001.MTS", "STREAM", "20261210", 0);
  dlg.AddEntry("00002.MTS", "STREAM", "20261210", 1);
  dlg.ShowEntry(0);
  dlg.SetPos(1);
  testsupport::PumpPending();
  char text[MAX_PATH] = "";
  GetDlgItemTextA(dlg.GetSafeHwnd(), IDC_REGISTER_FILE, text, sizeof text);
  EXPECT_EQ(std::string(text), "00001.MTS");
  EXPECT_EQ(dlg.CurrentIndex(), 0);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(dlg.GetSafeHwnd(), IDC_REGISTER_ANIMATION)));
  testsupport::Picture(dlg.GetSafeHwnd()).Save("card_register_progress");
  dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_REGISTER_CANCEL, BN_CLICKED), 0);
  MSG msg;
  EXPECT_TRUE(testsupport::WaitUntil(
      [&] { return PeekMessageA(&msg, owner.GetSafeHwnd(), WM_IMPORT_DISC_CANCEL, WM_IMPORT_DISC_CANCEL, PM_REMOVE) != 0; }));
  dlg.Finish();
  EXPECT_TRUE(owner.IsWindowEnabled());
  EXPECT_FALSE(dlg.IsWindowVisible());
  dlg.DestroyWindow();
  owner.DestroyWindow();
}

TEST(CaptureDate, DngWithoutExifAndJpegWithout) {
  Fixture f;
  const std::string dng = f.root + "\\A.DNG", jpg = f.root + "\\B.JPG";
  testsupport::WriteWholeFile(dng, "not a real raw");
  testsupport::WriteWholeFile(jpg, "no exif here");
  std::string date, time;
  EXPECT_EQ(GetCaptureDateText(dng.c_str(), &date, &time, 1), 1);
  EXPECT_EQ(date.size(), 8u);
  EXPECT_EQ(time.size(), 6u);
  EXPECT_EQ(GetCaptureDateText(jpg.c_str(), &date, &time, 1), 0);
  EXPECT_EQ(GetCaptureDateText(jpg.c_str(), &date, &time, 0), 1);
  EXPECT_EQ(GetCaptureDateText((f.root + "\\gone.JPG").c_str(), &date, &time, 0), 0);
}
