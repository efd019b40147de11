// The folder model through the controller: physical folders with missing or repeated
// paths, virtual folders, AVCHD scenes, sort and filter, and the group reload.
#include <gtest/gtest.h>

#include <algorithm>

#include <Kitlib2/Kitlib2.h>
#include <VxBDCore.h>
#include <VxBDDisc.h>
#include <VxBDEdit.h>
#include <VxProperty.h>
#include <VxResourceIds.h>
#include <card.h>

#include "MainWndMessages.h"
#include "cardnodes.h"
#include "ctl_fixture.h"
#include "files.h"
#include "pump.h"

namespace {

std::string Folder(const char* sub, const std::vector<std::pair<const char*, const char*>>& files) {
  std::string d = ctltest::Scratch(sub);
  for (auto& f : files) ctltest::Copy(f.second, d + "\\" + f.first);
  return d;
}

std::vector<std::string> PageKeys(CBrowserDocument* pDoc) {
  std::vector<std::string> keys;
  const CThumbnailPageList& pages = pDoc->GetPageList();
  for (POSITION pos = pages.GetHeadPosition(); pos;) {
    CThumbnailPage* p = pages.GetNext(pos);
    keys.push_back(std::string((LPCSTR)p->GetName()) + "=" + (LPCSTR)p->GetGroupInfo().GetText());
  }
  return keys;
}

}  // namespace

TEST(FolderModel, MissingAndRepeatedPathsOfAPhysicalCommand) {
  BrowserHost h;
  std::string a = Folder("phys_a", {{"a1.jpg", "plain.jpg"}, {"a2.jpg", "plain.jpg"}});
  std::string b = Folder("phys_b", {{"b1.jpg", "plain.jpg"}});
  // The second path is missing: only the first is listed.
  EXPECT_EQ(h.SendCopy(CDID_CHANGE_FOLDER, "0|Explorer|1|" + a + "\\||" + a + "\\gone\\||"), 1);
  h.RunQueue();
  ASSERT_EQ(h.trans()->GetFolderList().GetCount(), 1);
  EXPECT_EQ(h.pView->m_items.size(), 2u);
  // The same folder twice (once without its backslash): one page.
  EXPECT_EQ(h.SendCopy(CDID_CHANGE_FOLDER, "0|Explorer|1|" + a + "\\||" + a + "||" + b + "\\||"), 1);
  h.RunQueue();
  EXPECT_EQ(PageKeys(h.browser()), (std::vector<std::string>{"Explorer=" + a + "\\", "Explorer=" + b + "\\"}));
  EXPECT_EQ(h.pView->m_items.size(), 3u);
  EXPECT_EQ(h.trans()->GetFolderList().GetCount(), 2);
}

TEST(FolderModel, VirtualFolderFilesFollowTheirGroups) {
  BrowserHost h;
  std::string a = Folder("virt", {{"v1.jpg", "plain.jpg"}, {"v2.jpg", "plain.jpg"}, {"v3.jpg", "plain.jpg"},
                                   {"v4.jpg", "plain.jpg"}});
  // Groups A and B; group numbers 0 and -3 file under the first name; 9 names no group.
  std::string text = "2|Title,Item,A,1,B,2|2|" + a + "\\v1.jpg|2||" + a + "\\v2.jpg|0||" + a + "\\v3.jpg|-3||" + a +
                     "\\v4.jpg|9||";
  EXPECT_EQ(h.SendCopy(CDID_CHANGE_FOLDER, text), 1);
  h.RunQueue();
  CBrowserDocument* pDoc = h.browser();
  ASSERT_EQ(PageKeys(pDoc), (std::vector<std::string>{"A=", "B="}));
  EXPECT_EQ(pDoc->GetPageList().GetPageAt(0)->GetCount(), 2);
  EXPECT_EQ(pDoc->GetPageList().GetPageAt(1)->GetCount(), 1);
  EXPECT_TRUE(pDoc->GetPageList().GetPageAt(0)->IsVirtualFolder());
  EXPECT_EQ(h.pView->m_items.size(), 3u);
  EXPECT_EQ(h.trans()->GetFolderList().GetCount(), 0);
}

// A date node of the card tree shows its title's scenes: one page named by the date, each
// scene with the list, title and image it came from, a disc item of the card's tree.
TEST(FolderModel, AVCHDScenesOfACardTree) {
  std::string card = ctltest::Scratch("card");
  std::string bdmv = card + "\\AVCHD\\BDMV";
  testsupport::MakeFolders(bdmv);
  ASSERT_TRUE(VxBDWriteTree(bdmv, {{{"00001", "00000"}, 0x0103, 0xAB12}}, true, false));
  for (const char* clip : {"00000", "00001"}) {
    std::string stream = bdmv + "\\STREAM\\" + clip + ".MTS";
    ctltest::Copy("movie.mpg", stream);
    testsupport::SetLocalWriteTime(stream, 2026, 11, 1, 10);
  }
  ASSERT_EQ(testsupport::InsertCard('E', testsupport::UnixPathOf(card)), 0u);
  {
    ctltest::CardTreeNodes tree;
    std::vector<std::string> titles = tree.Titles();
    ASSERT_EQ(titles.size(), 1u);
    BrowserHost h;
    EXPECT_EQ(h.SendCopy(CDID_CHANGE_FOLDER, ctltest::DateNodesChange(titles)), 1);
    h.RunQueue();
    ASSERT_EQ(PageKeys(h.browser()), (std::vector<std::string>{"2026/11/01=2026/11/01"}));
    ASSERT_EQ(h.pView->Names(), (std::vector<std::string>{"00000.MTS", "00001.MTS"}));
    int first = -1, second = -1, image = -1;
    // 00000 is the title's second part.
    EXPECT_TRUE(h.pView->m_items[0]->GetAVCHDInfo(&first, &second, &image));
    const std::string& path = titles[0];
    EXPECT_NE(path.find("\\" + std::to_string(first) + "\\"), std::string::npos) << path;  // the list
    EXPECT_EQ(second, 0);
    EXPECT_EQ(image, 1);
    DWORD ref[4];
    h.pView->m_items[0]->GetDiscRef(ref);
    EXPECT_TRUE(h.pView->m_items[0]->IsDiscContent());
    EXPECT_EQ(ref[1], VxBDMakeGroup('E' - 'A', 1));
    // A title the list does not hold fails and shows nothing.
    std::string gone = path;
    size_t date = gone.rfind('\\'), title = gone.rfind('\\', date - 1);
    gone.replace(title + 1, date - title - 1, "7");
    EXPECT_EQ(h.SendCopy(CDID_CHANGE_FOLDER, ctltest::DateNodesChange({gone})), 1);
    h.RunQueue();
    EXPECT_EQ(h.pView->m_items.size(), 0u);
  }
  testsupport::RemoveCard('E');
  if (!testsupport::DefaultCardDir().empty()) testsupport::InsertCard('E', testsupport::DefaultCardDir());
}

// A disc's title in drive D: shows its parts, each addressed by its playlist and play item
// (the disc player plays the title from there), each with the properties the movie kit
// reads of its stream through the core.
TEST(FolderModel, PartsOfADiscTitle) {
  std::string disc = ctltest::Scratch("disc");
  const std::string bdmv = disc + "\\BDMV";
  testsupport::MakeFolders(bdmv);
  ASSERT_TRUE(VxBDWriteTree(bdmv, {{{"00004", "00002"}, 0x0103, 0xAB12}}, true, true));
  for (const char* clip : {"00002", "00004"}) ctltest::Copy("colours.m2ts", bdmv + "\\STREAM\\" + clip + ".m2ts");
  ASSERT_EQ(testsupport::InsertDisc('D', testsupport::UnixPathOf(disc)), 0u);
  {
    IVxBDCoreObject* core = GetVxBDCoreObject();
    IVxBDIntegrator* discs = core->GetIntegrator();
    int session = -1, list = -1;
    ASSERT_EQ(discs->OpenDisc('D' - 'A', L"D:\\", VXBD_OPEN_READ, &session), 0);
    ASSERT_EQ(discs->OpenTitleList(session, VXBD_TITLE_LIST_ALL, &list), 0);
    BrowserHost h;
    const std::string path = "D:\\" + std::to_string(session) + "\\" + std::to_string(list) + "\\3\\0\\2026/10/03";
    EXPECT_EQ(h.SendCopy(CDID_CHANGE_FOLDER, ctltest::DateNodesChange({path})), 1);
    h.RunQueue();
    ASSERT_EQ(h.pView->Names(), (std::vector<std::string>{"00002.m2ts", "00004.m2ts"}));
    for (int i = 0; i < 2; ++i) {
      SCOPED_TRACE(i);
      CThumbnail* item = h.pView->m_items[i];
      DWORD ref[4];
      item->GetDiscRef(ref);
      EXPECT_TRUE(item->IsDiscContent());
      EXPECT_EQ(ref[0], (DWORD)VXBD_REF_DISC);
      EXPECT_EQ(ref[1], VxBDMakeGroup('D' - 'A', VXBD_TREE_DISC));
      EXPECT_EQ(ref[2], 0u);            // playlist 00000
      EXPECT_EQ(ref[3], DWORD(1 - i));  // 00004 is the first play item
      int first = -1, second = -1, image = -1;
      ASSERT_TRUE(item->GetAVCHDInfo(&first, &second, &image));
      HPRPROPERTY props = PrInitGetAVCHDPropertyString(first, second, image);
      ASSERT_TRUE(props);
      EXPECT_STREQ(PrGetPropertyString(props, PRID_IMAGE_SIZE), "320 × 240");
      EXPECT_STREQ(PrGetPropertyString(props, PRID_DURATION), "0:00:02");
      PrExitGetPropertyString(props);
    }
    core->ClearDriveSelection();
    core->Release();
  }
  testsupport::RemoveDisc('D');
}

// Names sort by their bytes: a Shift-JIS katakana name after a hiragana one after Latin.
TEST(SortFilter, SortIdsOrderAndFilterMasksShow) {
  BrowserHost h;
  const char* hira = "\x82\xA0.jpg";  // あ
  const char* kata = "\x83\x41.jpg";  // ア
  std::string a = Folder("sort", {{kata, "plain.jpg"}, {"b.jpg", "plain.jpg"}, {hira, "plain.jpg"},
                                   {"m.mp4", "movie.mp4"}});
  h.ShowFolder(a);
  ASSERT_EQ(h.pView->m_items.size(), 4u);
  auto sortBy = [&](LPARAM id) {
    SendMessageA(h.view(), WM_BROWSER_SORT, 0, id);
    return h.pView->Names();
  };
  EXPECT_EQ(sortBy(19), (std::vector<std::string>{"b.jpg", "m.mp4", hira, kata}));
  EXPECT_EQ(sortBy(20), (std::vector<std::string>{kata, hira, "m.mp4", "b.jpg"}));
  EXPECT_EQ(h.trans()->GetSortType(), 20u);
  // Ids the command does not take change neither order nor the stored sort.
  EXPECT_EQ(sortBy(28), (std::vector<std::string>{kata, hira, "m.mp4", "b.jpg"}));
  EXPECT_EQ(sortBy(10), (std::vector<std::string>{kata, hira, "m.mp4", "b.jpg"}));
  EXPECT_EQ(h.trans()->GetSortType(), 20u);

  SendMessageA(h.view(), WM_BROWSER_MASK, 0, 4);  // movies
  EXPECT_EQ(h.pView->Names(), (std::vector<std::string>{"m.mp4"}));
  EXPECT_EQ(h.trans()->GetFilterType(), 0x1000u);
  SendMessageA(h.view(), WM_BROWSER_MASK, 0, 7);  // no such filter
  SendMessageA(h.view(), WM_BROWSER_MASK, 0, 5);  // ignored
  EXPECT_EQ(h.trans()->GetFilterType(), 0x1000u);
  EXPECT_EQ(h.pView->Names(), (std::vector<std::string>{"m.mp4"}));
  SendMessageA(h.view(), WM_BROWSER_MASK, 0, 0);  // JPEG pictures, still sorted
  EXPECT_EQ(h.pView->Names(), (std::vector<std::string>{kata, hira, "b.jpg"}));
  SendMessageA(h.view(), WM_BROWSER_MASK, 0, 6);
  EXPECT_EQ(h.pView->m_items.size(), 4u);
  SendMessageA(h.view(), WM_BROWSER_SORT, 0, 11);
}

TEST(SortFilter, CommandHintsRouteToSortFilterAndSelection) {
  BrowserHost h;
  std::string a = Folder("hints", {{"c.jpg", "plain.jpg"}, {"a.jpg", "plain.jpg"}, {"b.jpg", "plain.jpg"}});
  h.ShowFolder(a);
  CSendCommandObject nameDesc(ID_SORT_NAME_DESC);
  h.pDoc->UpdateAllViews(nullptr, VXHINT_COMMAND, &nameDesc);
  EXPECT_EQ(h.pView->Names(), (std::vector<std::string>{"c.jpg", "b.jpg", "a.jpg"}));
  CSendCommandObject all(ID_EDIT_SELECT_ALL_FILES);
  h.pDoc->UpdateAllViews(nullptr, VXHINT_COMMAND, &all);
  EXPECT_EQ(h.browser()->GetSelectCount(), 3);
  CSendCommandObject none(ID_EDIT_UNSELECT_ALL);
  h.pDoc->UpdateAllViews(nullptr, VXHINT_COMMAND, &none);
  EXPECT_EQ(h.browser()->GetSelectCount(), 0);
  h.pView->SelectItem(h.pView->m_items[0]->GetUniqueID(VXID_SLOT_VIEW), TRUE);
  CSendCommandObject reverse(ID_EDIT_INVERT_SELECTION);
  h.pDoc->UpdateAllViews(nullptr, VXHINT_COMMAND, &reverse);
  EXPECT_EQ(h.browser()->GetSelectCount(), 2);
  EXPECT_FALSE(h.pView->m_items[0]->IsSelect());
  // A hint without a command object does nothing, whatever its number.
  h.pDoc->UpdateAllViews(nullptr, VXHINT_COMMAND, nullptr);
  h.pDoc->UpdateAllViews(nullptr, ID_EDIT_SELECT_ALL_FILES, nullptr);
  EXPECT_EQ(h.browser()->GetSelectCount(), 2);
  CSendCommandObject nameAsc(ID_SORT_NAME_ASC);
  h.pDoc->UpdateAllViews(nullptr, VXHINT_COMMAND, &nameAsc);
  CSendCommandObject shotAsc(ID_SORT_SHOT_ASC);
  h.pDoc->UpdateAllViews(nullptr, VXHINT_COMMAND, &shotAsc);
}

// A reload keeps the order, finds files that came meanwhile and selects the file the
// tools asked for; SelectFlag is reset either way.
TEST(Reload, KeepsOrderAndSelectsTheAskedFile) {
  BrowserHost h;
  std::string a = Folder("reload2", {{"c.jpg", "plain.jpg"}, {"a.jpg", "plain.jpg"}});
  h.ShowFolder(a);
  SendMessageA(h.view(), WM_BROWSER_SORT, 0, 20);
  ctltest::Copy("plain.jpg", a + "\\b.jpg");
  CMWriteProfileInt(VXDOC_SECTION, "SelectFlag", 1);
  CMWriteProfileString(VXDOC_SECTION, "SelectFilePath", (a + "\\B.JPG").c_str());
  SendMessageA(h.view(), WM_BROWSER_RELOAD, 0, 0);
  EXPECT_EQ(h.pView->Names(), (std::vector<std::string>{"c.jpg", "b.jpg", "a.jpg"}));
  ASSERT_EQ(h.browser()->GetSelectCount(), 1);
  EXPECT_EQ(std::string((LPCSTR)h.browser()->GetLastSelectedItem()->GetFileName()), "b.jpg");
  EXPECT_EQ(CMGetProfileInt(VXDOC_SECTION, "SelectFlag", -1), 0);
  // A path that is not shown selects nothing and still clears the flag.
  CMWriteProfileInt(VXDOC_SECTION, "SelectFlag", 1);
  CMWriteProfileString(VXDOC_SECTION, "SelectFilePath", "C:\\nowhere\\x.jpg");
  SendMessageA(h.view(), WM_BROWSER_RELOAD, 0, 0);
  EXPECT_EQ(h.browser()->GetSelectCount(), 0);
  EXPECT_EQ(CMGetProfileInt(VXDOC_SECTION, "SelectFlag", -1), 0);
  SendMessageA(h.view(), WM_BROWSER_SORT, 0, 11);
}

// A virtual group keeps its files that are there and loses those that went.
TEST(Reload, VirtualGroupsDropOnlyGoneFiles) {
  BrowserHost h;
  std::string a = Folder("reload_virt", {{"v1.jpg", "plain.jpg"}, {"v2.jpg", "plain.jpg"}});
  h.SendCopy(CDID_CHANGE_FOLDER, "2|Title,Item,A,1|2|" + a + "\\v1.jpg|1||" + a + "\\v2.jpg|1||");
  h.RunQueue();
  ASSERT_EQ(h.pView->m_items.size(), 2u);
  // A decoder or the head pass's closing may still hold the file: its deletion takes it
  // away only when they let go, and until then the name is still there.
  CThumbnailPage::DecodeStop();
  std::string gone = a + "\\v2.jpg";
  ASSERT_TRUE(testsupport::WaitUntil(
      [&] {
        DeleteFileA(gone.c_str());
        return GetFileAttributesA(gone.c_str()) == INVALID_FILE_ATTRIBUTES;
      },
      5000));
  h.trans()->ReloadAllGroups();
  EXPECT_EQ(h.pView->Names(), (std::vector<std::string>{"v1.jpg"}));
}

// Broken files are shown with the others: nothing of the scan fails on them.
TEST(FolderModel, BrokenFilesAreListed) {
  BrowserHost h;
  std::string a = Folder("broken", {{"cut.jpg", "cut_scan.jpg"}, {"bad.jpg", "bad_offsets.jpg"},
                                     {"not.jpg", "not_image.jpg"}, {"ok.jpg", "plain.jpg"}});
  testsupport::WriteWholeFile(a + "\\empty.jpg", "");
  h.ShowFolder(a);
  EXPECT_EQ(h.pView->m_items.size(), 5u);
  for (CThumbnail* p : h.pView->m_items) EXPECT_EQ(p->DecodeThumbnail(), S_OK) << (LPCSTR)p->GetFileName();
}

// A rotation notice drops the decoded picture of the files it names, unless its angle
// comes to no turn at all.
TEST(FolderModel, RotationNoticeRedecodesTurnedFiles) {
  BrowserHost h;
  std::string a = Folder("rotate", {{"r.jpg", "plain.jpg"}});
  h.ShowFolder(a);
  ASSERT_EQ(h.pView->m_items.size(), 1u);
  CThumbnail* p = h.pView->m_items[0];
  CThumbnailPage::DecodeStop();
  struct {
    const char* angle;
    bool cleared;
  } cases[] = {{"360", false}, {"0", false}, {"-720", false}, {"540", true}, {"90", true}, {"-90", true}};
  for (auto& c : cases) {
    ASSERT_EQ(p->DecodeThumbnail(), S_OK);
    ASSERT_TRUE(p->IsDecoded());
    EXPECT_EQ(h.SendCopy(CDID_ROTATION_FILES, std::string("0|") + c.angle + "|1|" + a + "\\R.JPG||"), 1);
    h.RunQueue();
    CThumbnailPage::DecodeStop();
    EXPECT_EQ(!p->IsDecoded(), c.cleared) << c.angle;
  }
}

// A folder seen before opens from what the photo database kept of it: in a later session
// (a new document and view) the unchanged files are not opened at all, neither for their
// dates nor for their pictures; a file whose size or last-write time changed is read again,
// and a removed one is not shown.
static bool AllDecoded(BrowserHost& h) {
  return testsupport::WaitUntil(
      [&] {
        ctltest::Pump();
        for (CThumbnail* p : h.pView->m_items)
          if (!p->IsDecoded()) return false;
        return true;
      },
      10000);
}

TEST(SeenFolder, UnchangedFilesComeFromTheDatabase) {
  std::string d = Folder("seen", {{"a.jpg", "exif_full.jpg"},
                                  {"b.jpg", "exif_le.jpg"},
                                  {"c.jpg", "all_tags.jpg"},
                                  {"d.jpg", "exif_full.jpg"}});
  auto allDecoded = AllDecoded;
  ULONGLONG dateOfA = 0;
  {
    BrowserHost first;
    first.ShowFolder(d);
    ASSERT_EQ(first.pView->m_items.size(), 4u);
    ASSERT_TRUE(allDecoded(first));
    for (CThumbnail* p : first.pView->m_items)
      if (std::string((LPCSTR)p->GetFileName()) == "a.jpg") dateOfA = p->GetRecTime();
    CThumbnail::WriteShownFacts();
  }
  ASSERT_NE(dateOfA, 0u);

  // b grows under its old last-write time, c keeps its size under another one, d goes.
  const std::string b = d + "\\b.jpg";
  WIN32_FILE_ATTRIBUTE_DATA was;
  ASSERT_TRUE(GetFileAttributesExA(b.c_str(), GetFileExInfoStandard, &was));
  ASSERT_TRUE(testsupport::WriteWholeFile(b, testsupport::ReadWholeFile(b) + std::string(16, '\0')));
  HANDLE hb = CreateFileA(b.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  ASSERT_NE(hb, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(SetFileTime(hb, NULL, NULL, &was.ftLastWriteTime));
  CloseHandle(hb);
  ASSERT_TRUE(testsupport::SetLocalWriteTime(d + "\\c.jpg", 2020, 5, 6));
  ASSERT_TRUE(DeleteFileA((d + "\\d.jpg").c_str()));

  BrowserHost later;
  LONG before = CThumbnail::GetFileReadCount();
  later.ShowFolder(d);
  std::vector<std::string> names = later.pView->Names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg"}));
  // The dates that order the first screen: read from b and c alone.
  EXPECT_EQ(CThumbnail::GetFileReadCount() - before, 2);
  ASSERT_TRUE(allDecoded(later));
  // a's picture came from the kept thumbnail; b's and c's from the heads just read.
  EXPECT_EQ(CThumbnail::GetFileReadCount() - before, 2);
  for (CThumbnail* p : later.pView->m_items) {
    std::string name = (LPCSTR)p->GetFileName();
    if (name == "a.jpg") {
      EXPECT_EQ(p->GetRecTime(), dateOfA);
    }
    int w = 0, hgt = 0;
    EXPECT_TRUE(p->GetOriginalImageSize(&w, &hgt)) << name;
    EXPECT_NE(p->GetExifData(), nullptr) << name;
  }
  EXPECT_EQ(CThumbnail::GetFileReadCount() - before, 2);
}

// Every file unchanged: none is opened, yet the items come in the order the first session
// sorted them and every picture is drawn; a file added since is the only one read.
TEST(SeenFolder, AllUnchangedOpenNoFileAndKeepTheOrder) {
  std::string d = Folder("seenall", {{"a.jpg", "all_tags.jpg"}, {"b.jpg", "exif_le.jpg"}, {"c.jpg", "exif_full.jpg"}});
  std::vector<std::string> order;
  {
    BrowserHost first;
    first.ShowFolder(d);
    ASSERT_TRUE(AllDecoded(first));
    order = first.pView->Names();
    CThumbnail::WriteShownFacts();
  }
  ASSERT_EQ(order.size(), 3u);
  {
    BrowserHost later;
    LONG before = CThumbnail::GetFileReadCount();
    later.ShowFolder(d);
    EXPECT_EQ(later.pView->Names(), order);
    EXPECT_TRUE(AllDecoded(later));
    EXPECT_EQ(CThumbnail::GetFileReadCount() - before, 0);
    CThumbnail::WriteShownFacts();
  }
  ctltest::Copy("exif_le.jpg", d + "\\e.jpg");
  BrowserHost again;
  LONG before = CThumbnail::GetFileReadCount();
  again.ShowFolder(d);
  EXPECT_EQ(again.pView->Names().size(), 4u);
  EXPECT_TRUE(AllDecoded(again));
  EXPECT_EQ(CThumbnail::GetFileReadCount() - before, 1);
}
