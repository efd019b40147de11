// File deletion through the controller: the roads by folder kind, the questions each one
// asks, and what the disk, the model, the database and the marks hold afterwards.
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>
#include <RecordGate.h>
#include <TickCache.h>
#include <VxBDDisc.h>
#include <VxBDEdit.h>
#include <VxResourceIds.h>
#include <card.h>
#include <shlwapi.h>

#include <set>

#include "MainWndMessages.h"
#include "cardnodes.h"
#include "ctl_fixture.h"
#include "files.h"
#include "pump.h"

namespace {

std::string ResString(UINT id) {
  CString s;
  CResourceLoader().LoadStringA(id, s);
  return (LPCSTR)s;
}

// Marks set by a test, taken off at its end (other tests count every marked file).
struct Marks {
  std::vector<std::string> paths;
  void Set(const std::string& p) {
    ASSERT_EQ(S_OK, Mark_SetCheck(p.c_str(), 1));
    paths.push_back(p);
  }
  ~Marks() {
    for (const std::string& p : paths) Mark_SetCheck(p.c_str(), 0);
  }
};

// A scratch folder of marked pictures, enrolled in the database when asked.
std::string MarkedPictures(Marks& marks, const char* sub, const std::vector<const char*>& names, bool enroll) {
  std::string d = ctltest::Scratch(sub);
  for (const char* n : names) {
    std::string p = d + "\\" + n;
    ctltest::Copy("plain.jpg", p);
    if (enroll) { EXPECT_EQ(S_OK, VxDBWEnrollFile(p.c_str(), 0)); }
    marks.Set(p);
  }
  return d;
}

bool Exists(const std::string& p) { return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A content file of the maker (the device tables know "Norvane" with its "NV-HD" models).
std::string ContText(const char* members, const char* maker) {
  return std::string("[Content]\r\nFormat=1\r\nMembers=") + members + "\r\nMaker=" + maker + "\r\nModel=NV-HD100\r\n";
}

void SelectByName(BrowserHost& h, const std::vector<std::string>& names) {
  for (CThumbnail* p : h.pView->m_items)
    for (const std::string& n : names)
      if (lstrcmpiA(PathFindFileNameA(p->GetFilePath()), n.c_str()) == 0)
        h.pView->SelectItem(p->GetUniqueID(VXID_SLOT_VIEW), TRUE);
}

// The selection becomes exactly these items.
void SelectOnly(BrowserHost& h, const std::vector<std::string>& names) {
  h.pView->UnSelectAll(TRUE);
  h.browser()->SelectAll(0);
  SelectByName(h, names);
}

long Delete(BrowserHost& h) {
  long r = h.trans()->DeleteSelectFiles();
  ctltest::Pump();
  return r;
}

// The deletion shows one box with the string, answered with the id, and ends refused.
void RefusedWithOneBox(BrowserHost& h, int answer, UINT stringId) {
  BoxAnswers answers({answer});
  EXPECT_EQ(Delete(h), 995);
  ASSERT_EQ(answers.Count(), 1u);
  EXPECT_NE(answers.Seen()[0].find(ResString(stringId)), std::string::npos);
}

}  // namespace

// An ordinary folder: one file asks the browser's own question, which decides; several
// files or a folder are left to the shell's confirmation. Afterwards the model, the
// database and the marks follow what the shell really removed.
TEST(Deletion, OrdinaryFolderOneFileTwoFilesAndAFolder) {
  BrowserHost h;
  Marks marks;
  std::string d = ctltest::Scratch("del_plain");
  for (const char* n : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) ctltest::Copy("plain.jpg", d + "\\" + n);
  testsupport::MakeFolders(d + "\\sub");
  ctltest::Copy("plain.jpg", d + "\\sub\\in.jpg");
  for (const char* n : {"a.jpg", "b.jpg"}) {
    ASSERT_EQ(S_OK, VxDBWEnrollFile((d + "\\" + n).c_str(), 0));
    marks.Set(d + "\\" + n);
  }
  h.ShowFolder(d);
  ASSERT_EQ(h.pView->m_items.size(), 5u);
  const std::string question = ResString(IDS_BROWSER_DELETE_CAPTION);

  // "Keep" deletes nothing but the command ends normally.
  SelectByName(h, {"a.jpg"});
  {
    BoxAnswers answers({IDC_DELETE_NO});
    EXPECT_EQ(Delete(h), 0);
    ASSERT_EQ(answers.Count(), 1u);
    EXPECT_EQ(answers.Seen()[0].find("[own]" + question + "|"), 0u) << answers.Seen()[0];
    EXPECT_NE(answers.Seen()[0].find("a.jpg"), std::string::npos);
  }
  EXPECT_TRUE(Exists(d + "\\a.jpg"));
  EXPECT_EQ(h.pView->m_items.size(), 5u);

  // "Delete": the file goes to the recycle bin without another question; its record and
  // its mark go with it, the status bar's mark count is renewed.
  SelectOnly(h, {"a.jpg"});
  h.Forget();
  {
    BoxAnswers answers({IDC_DELETE_YES});
    EXPECT_EQ(Delete(h), 0);
    EXPECT_EQ(answers.Count(), 1u);
  }
  EXPECT_FALSE(Exists(d + "\\a.jpg"));
  EXPECT_NE(S_OK, VxDBWIsEnrolled((d + "\\a.jpg").c_str()));
  int state = -1;
  Mark_GetCheck((d + "\\a.jpg").c_str(), &state);
  EXPECT_EQ(state, 0);
  EXPECT_EQ(h.pView->m_items.size(), 4u);
  EXPECT_FALSE(h.Seen(WM_STATUS_MARK_COUNT).empty());

  // Two files: no browser dialog, the shell's confirmation; answering no keeps both.
  SelectByName(h, {"b.jpg", "c.jpg"});
  {
    BoxAnswers answers({IDNO});
    // The shell reports a No as cancelled or as aborted: both end without a deletion.
    long r = Delete(h);
    EXPECT_TRUE(r == 0 || r == 995) << r;
    ASSERT_EQ(answers.Count(), 1u);
    EXPECT_NE(answers.Seen()[0].find("[own]"), 0u);
  }
  EXPECT_TRUE(Exists(d + "\\b.jpg"));
  EXPECT_TRUE(Exists(d + "\\c.jpg"));
  EXPECT_EQ(S_OK, VxDBWIsEnrolled((d + "\\b.jpg").c_str()));
  Mark_GetCheck((d + "\\b.jpg").c_str(), &state);
  EXPECT_EQ(state, 1);
  EXPECT_EQ(h.pView->m_items.size(), 4u);

  // Yes: both go, and a folder in the selection makes the trees refresh.
  SelectOnly(h, {"b.jpg", "c.jpg", "sub"});
  h.Forget();
  {
    BoxAnswers answers({IDYES});
    EXPECT_EQ(Delete(h), 0);
    EXPECT_EQ(answers.Count(), 1u);
  }
  EXPECT_FALSE(Exists(d + "\\b.jpg"));
  EXPECT_FALSE(Exists(d + "\\sub"));
  EXPECT_TRUE(Exists(d + "\\d.jpg"));
  EXPECT_NE(S_OK, VxDBWIsEnrolled((d + "\\b.jpg").c_str()));
  EXPECT_EQ(h.pView->Names(), (std::vector<std::string>{"d.jpg"}));
  EXPECT_FALSE(h.Seen(WM_REFRESH_FOLDERS).empty());
}

// A content file takes its companions along after the notice; one of a maker the device
// tables don't know is refused before anything is asked or deleted.
TEST(Deletion, ContentFilesCompanionsAndUnsupportedMakers) {
  BrowserHost h;
  std::string d = ctltest::Scratch("del_cont");
  ASSERT_TRUE(testsupport::WriteWholeFile(d + "\\00001.cont", ContText("00001.MTS|00001.tmb|..\\outside.jpg", "Norvane")));
  ASSERT_TRUE(testsupport::WriteWholeFile(d + "\\00002.cont", ContText("00002.MTS", "Otherco")));
  for (const char* n : {"00001.MTS", "00001.tmb", "00002.MTS"}) ctltest::Copy("movie.mpg", d + "\\" + n);
  ctltest::Copy("plain.jpg", d + "\\..\\outside.jpg");
  h.ShowFolder(d);

  SelectByName(h, {"00002.cont"});
  RefusedWithOneBox(h, IDOK, IDS_BROWSER_CONT_UNSUPPORTED);
  EXPECT_TRUE(Exists(d + "\\00002.cont"));
  EXPECT_TRUE(Exists(d + "\\00002.MTS"));

  // Cancel in the companion notice: nothing goes.
  SelectOnly(h, {"00001.cont"});
  RefusedWithOneBox(h, IDCANCEL, IDS_BROWSER_COMPANIONS);
  EXPECT_TRUE(Exists(d + "\\00001.cont"));

  // OK, then the shell's confirmation (three paths): the clip goes whole; a member name
  // that leads out of the folder is not followed.
  SelectOnly(h, {"00001.cont"});
  {
    BoxAnswers answers({IDOK, IDYES});
    EXPECT_EQ(Delete(h), 0);
    EXPECT_EQ(answers.Count(), 2u);
  }
  for (const char* n : {"00001.cont", "00001.MTS", "00001.tmb"}) EXPECT_FALSE(Exists(d + "\\" + n)) << n;
  EXPECT_TRUE(Exists(d + "\\..\\outside.jpg"));
  EXPECT_TRUE(Exists(d + "\\00002.cont"));
}

// Folder kinds: print orders and disc nodes delete nothing and ask nothing; a
// classification folder asks, then only the classification entries go: the files, their
// records and their marks stay.
TEST(Deletion, FolderKinds) {
  BrowserHost h;
  Marks marks;
  std::string d = MarkedPictures(marks, "del_kinds", {"k1.jpg", "k2.jpg"}, true);
  h.ShowFolder(d);
  CBrowserStatus& status = h.browser()->GetBrowserStatus();
  for (FOLDER_TYPE code : {FOLDER_TYPE_SDCARD_PRINTORDER, FOLDER_TYPE_SDCARD_DISC, FOLDER_TYPE_SDCARD_AUDIO}) {
    status.SetCode(code);
    SelectByName(h, {"k1.jpg"});
    CStringList list;
    BoxAnswers answers({IDC_DELETE_YES});
    EXPECT_EQ(h.trans()->DeleteSelectFiles(list, 0), 1) << code;
    ctltest::Pump();
    EXPECT_EQ(answers.Count(), 0u) << code;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_TRUE(Exists(d + "\\k1.jpg"));
  }

  status.SetCode(FOLDER_TYPE_CLASSIFY);
  SelectByName(h, {"k1.jpg", "k2.jpg"});
  {
    BoxAnswers answers({IDNO});
    EXPECT_EQ(Delete(h), 0);
    EXPECT_EQ(answers.Count(), 1u);
  }
  EXPECT_EQ(h.pView->m_items.size(), 2u);
  SelectOnly(h, {"k1.jpg", "k2.jpg"});
  h.Forget();
  {
    BoxAnswers answers({IDYES});
    EXPECT_EQ(Delete(h), 0);
    ASSERT_EQ(answers.Count(), 1u);
    EXPECT_NE(answers.Seen()[0].find("2"), std::string::npos);
  }
  int state = -1;
  for (const char* n : {"k1.jpg", "k2.jpg"}) {
    std::string p = d + "\\" + n;
    EXPECT_TRUE(Exists(p)) << n;
    EXPECT_EQ(S_OK, VxDBWIsEnrolled(p.c_str())) << n;
    Mark_GetCheck(p.c_str(), &state);
    EXPECT_EQ(state, 1) << n;
  }
  EXPECT_EQ(h.pView->m_items.size(), 0u);
  EXPECT_FALSE(h.Seen(WM_REFRESH_FOLDERS).empty());
}

// A favourite folder warns first and then deletes as an ordinary folder does; the faces
// kind of classification folder asks its own question and, answered no, changes nothing.
TEST(Deletion, FavouriteFolderWarningAndTheFacesClassification) {
  BrowserHost h;
  Marks marks;
  std::string d = MarkedPictures(marks, "del_fav", {"f1.jpg", "f2.jpg"}, true);
  h.ShowFolder(d);
  CBrowserStatus& status = h.browser()->GetBrowserStatus();
  status.SetCode(FOLDER_TYPE_FAVORITE);
  CString warning;
  CResourceLoader loader;
  loader.LoadFormatString(warning, IDS_BROWSER_FAVORITE_WARNING, (LPCSTR)loader.LoadStringA(IDS_BROWSER_FAVORITES));
  SelectOnly(h, {"f1.jpg"});
  {
    BoxAnswers answers({IDOK, IDC_DELETE_NO});
    EXPECT_EQ(Delete(h), 0);
    std::vector<std::string> seen = answers.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_NE(seen[0].find(std::string(warning)), std::string::npos) << seen[0];
    EXPECT_EQ(seen[1].rfind("[own]", 0), 0u) << seen[1];
  }
  EXPECT_TRUE(Exists(d + "\\f1.jpg"));
  SelectOnly(h, {"f1.jpg"});
  {
    BoxAnswers answers({IDOK, IDC_DELETE_YES});
    EXPECT_EQ(Delete(h), 0);
    EXPECT_EQ(answers.Count(), 2u);
  }
  EXPECT_FALSE(Exists(d + "\\f1.jpg"));

  status.SetCode(FOLDER_TYPE_CLASSIFY);
  CMWriteProfileInt("VxFolder\\FolderInfo", "Classify", 8);
  SelectOnly(h, {"f2.jpg"});
  {
    BoxAnswers answers({IDNO});
    EXPECT_EQ(Delete(h), 0);
    std::vector<std::string> seen = answers.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].find(ResString(IDS_BROWSER_CLASSIFY_DELETE_FACES)), std::string::npos) << seen[0];
    EXPECT_EQ(seen[0].find("f2.jpg"), std::string::npos) << seen[0];
  }
  CMWriteProfileInt("VxFolder\\FolderInfo", "Classify", -1);
  EXPECT_TRUE(Exists(d + "\\f2.jpg"));
  EXPECT_EQ(S_OK, VxDBWIsEnrolled((d + "\\f2.jpg").c_str()));
  EXPECT_EQ(h.pView->Names(), (std::vector<std::string>{"f2.jpg"}));
}

// Pruning keeps what is still there; the marks of kept files stay.
TEST(Deletion, PruningAndMarksOfKeptFiles) {
  BrowserHost h;
  Marks marks;
  std::string d = MarkedPictures(marks, "del_prune", {"p1.jpg", "p2.jpg"}, false);
  h.ShowFolder(d);
  SelectByName(h, {"p1.jpg", "p2.jpg"});
  // Deleted behind the browser's back. The decoder is stopped first: a file deleted while a
  // reader has it open keeps its name until the reader lets go.
  CThumbnailPage::DecodeStop();
  ASSERT_TRUE(DeleteFileA((d + "\\p1.jpg").c_str()));
  CStringList list;
  list.AddTail((d + "\\p1.jpg").c_str());
  list.AddTail((d + "\\p2.jpg").c_str());
  EXPECT_EQ(CVxGUITrans::CheckDeletePathList(list), 0);
  ASSERT_EQ(list.GetCount(), 1);
  EXPECT_STREQ(list.GetHead(), (d + "\\p1.jpg").c_str());
  h.trans()->UnmarkDeleted(list);
  int state = -1;
  Mark_GetCheck((d + "\\p1.jpg").c_str(), &state);
  EXPECT_EQ(state, 0);
  Mark_GetCheck((d + "\\p2.jpg").c_str(), &state);
  EXPECT_EQ(state, 1);
}

// The search for content files of unknown makers goes into sub-folders but not through
// links, which may lead back up the tree.
TEST(Deletion, UnsupportedContentSearchBelowFolders) {
  BrowserHost h;
  std::string d = ctltest::Scratch("del_search");
  testsupport::MakeFolders(d + "\\a\\b");
  ASSERT_TRUE(testsupport::WriteWholeFile(d + "\\a\\ok.cont", ContText("x.MTS", "Norvane")));
  EXPECT_EQ(h.trans()->IsExistNotSupportContFile(d.c_str()), 0);
  EXPECT_EQ(h.trans()->IsExistNotSupportContFile((d + "\\a\\ok.cont").c_str()), 0);
  ASSERT_TRUE(testsupport::WriteWholeFile(d + "\\a\\b\\bad.cont", ContText("x.MTS", "Otherco")));
  EXPECT_EQ(h.trans()->IsExistNotSupportContFile(d.c_str()), 1);
  EXPECT_EQ(h.trans()->IsExistNotSupportContFile((d + "\\a\\b\\bad.cont").c_str()), 1);
  EXPECT_EQ(h.trans()->IsExistNotSupportContFile(nullptr), 0);
  // A link back to the top: the search ends.
  ASSERT_TRUE(DeleteFileA((d + "\\a\\b\\bad.cont").c_str()));
  if (CreateSymbolicLinkA((d + "\\a\\loop").c_str(), d.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY)) {
    EXPECT_EQ(h.trans()->IsExistNotSupportContFile(d.c_str()), 0);
  }
}

// The delete command and the browser's action 3 both reach the deletion.
TEST(Deletion, CommandAndActionMessage) {
  BrowserHost h;
  std::string d = ctltest::Scratch("del_cmd");
  for (const char* n : {"c1.jpg", "c2.jpg"}) ctltest::Copy("plain.jpg", d + "\\" + n);
  h.ShowFolder(d);
  SelectByName(h, {"c1.jpg"});
  {
    BoxAnswers answers({IDC_DELETE_YES});
    CSendCommandObject cmd(ID_FILE_DELETE);
    h.pDoc->UpdateAllViews(nullptr, VXHINT_COMMAND, &cmd);
    ctltest::Pump();
    EXPECT_EQ(answers.Count(), 1u);
  }
  EXPECT_FALSE(Exists(d + "\\c1.jpg"));
  SelectByName(h, {"c2.jpg"});
  {
    BoxAnswers answers({IDC_DELETE_YES});
    SendMessageA(h.view(), WM_BROWSER_ACTION, 0, VXACTION_DELETE);
    ctltest::Pump();
    EXPECT_EQ(answers.Count(), 1u);
  }
  EXPECT_FALSE(Exists(d + "\\c2.jpg"));
  EXPECT_TRUE(h.pView->m_items.empty());
}

namespace {

// A card (in drive E: unless told) with a camera's tree: clips 0 and 1 (one title) and 2 recorded on the
// 1st of November, clip 3 on the 2nd; a picture in DCIM.
struct MovieCard {
  char letter;
  std::string folder = ctltest::Scratch("del_card");
  std::string bdmv = folder + "\\PRIVATE\\AVCHD\\BDMV";
  explicit MovieCard(char drive = 'E') : letter(drive) {
    testsupport::MakeFolders(folder + "\\PRIVATE\\AVCHD");
    EXPECT_TRUE(VxBDWriteTree(
        bdmv, {{{"00000", "00001"}, 0x0103, 0xAB12}, {{"00002"}, 0x0103, 0xAB12}, {{"00003"}, 0x0103, 0xAB12}}, true,
        false));
    for (int c = 0; c < 4; ++c) {
      std::string stream = Stream(c);
      ctltest::Copy("movie.mpg", stream);
      testsupport::SetLocalWriteTime(stream, 2026, 11, c < 3 ? 1 : 2, 10 + c);
    }
    testsupport::WriteWholeFile(folder + "\\DCIM\\100NORVA\\NVDC0001.JPG", "jpeg");
    inserted = testsupport::InsertCard(letter, testsupport::UnixPathOf(folder)) == 0;
  }
  ~MovieCard() {
    testsupport::RemoveCard(letter);
    if (letter == 'E' && !testsupport::DefaultCardDir().empty())
      testsupport::InsertCard('E', testsupport::DefaultCardDir());
  }
  std::string Stream(int clip) const { return bdmv + "\\STREAM\\0000" + std::to_string(clip) + ".MTS"; }
  std::string Card(int clip) const {
    return std::string(1, letter) + ":\\PRIVATE\\AVCHD\\BDMV\\STREAM\\0000" + std::to_string(clip) + ".MTS";
  }
  // The clips every playlist names, joined.
  std::string Named() const {
    std::string all;
    for (int t = 0; t < 3; ++t) {
      std::string bytes = testsupport::ReadWholeFile(bdmv + "\\PLAYLIST\\0000" + std::to_string(t) + ".MPL");
      std::vector<std::string> clips;
      WORD maker, model;
      if (bytes.empty()) continue;
      if (!VxBDParsePlaylist(std::vector<uint8_t>(bytes.begin(), bytes.end()), &clips, &maker, &model)) return "bad";
      for (const std::string& c : clips) all += c.substr(4);
    }
    return all;
  }
  bool inserted = false;
};

// The scenes of the card tree's date nodes, as a card's movie folder.
void ShowTitles(BrowserHost& h, const std::vector<std::string>& paths) {
  EXPECT_EQ(h.SendCopy(CDID_CHANGE_FOLDER, ctltest::DateNodesChange(paths)), 1);
  h.RunQueue();
  h.browser()->GetBrowserStatus().SetCode(FOLDER_TYPE_SDCARD_AVCHD);
}

// Runs the delete command; the texts of the boxes it showed.
std::vector<std::string> DeleteWith(BrowserHost& h, std::vector<int> ids) {
  BoxAnswers answers(ids);
  EXPECT_EQ(Delete(h), 0);
  return answers.Seen();
}

bool Shows(const std::string& box, UINT id) { return box.find(ResString(id)) != std::string::npos; }

// Deletes the scenes, answering yes to the question and to the group question that follows.
void DeleteWithAGroup(BrowserHost& h, const std::vector<std::string>& names) {
  SelectOnly(h, names);
  std::vector<std::string> boxes = DeleteWith(h, {IDYES, IDYES});
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(Shows(boxes[1], IDS_BROWSER_DISC_DELETE_GROUP)) << boxes[1];
}

// A protected card (its playlist read-only): deleting scene 1 shows the notice, nothing goes.
void ProtectedCardRefuses(BrowserHost& h, const MovieCard& card) {
  const std::string playlist = card.bdmv + "\\PLAYLIST\\00000.MPL";
  SetFileAttributesA(playlist.c_str(), FILE_ATTRIBUTE_READONLY);
  SelectOnly(h, {"00001.MTS"});
  std::vector<std::string> boxes = DeleteWith(h, {IDOK});
  SetFileAttributesA(playlist.c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(Shows(boxes[0], IDS_BROWSER_DISC_PROTECTED)) << boxes[0];
  EXPECT_TRUE(Exists(card.Card(1)));
}

}  // namespace

// A card's scenes go through the disc-movie core: a protected card refuses, one scene goes
// alone, a day whose scenes are all selected goes whole, and the last movies of a card
// without pictures are cleared after their own question. The playlists never name a clip
// that went, and the model, the marks and the folder trees follow. The scenes are those of
// the card tree's date nodes, by the paths the tree gives them.
TEST(Deletion, CardScenesThroughTheDiscCore) {
  MovieCard card;
  ASSERT_TRUE(card.inserted);
  ctltest::CardTreeNodes tree;
  std::vector<std::string> titles = tree.Titles();
  ASSERT_EQ(titles.size(), 3u);
  BrowserHost h;
  Marks marks;
  ShowTitles(h, {titles[0], titles[1]});  // the two titles of the 1st
  ASSERT_EQ(h.pView->Names(), (std::vector<std::string>{"00000.MTS", "00001.MTS", "00002.MTS"}));
  DWORD ref[4];
  h.pView->m_items[1]->GetDiscRef(ref);
  EXPECT_EQ(ref[0], (DWORD)VXBD_REF_CARD);
  EXPECT_EQ(ref[1], VxBDMakeGroup('E' - 'A', 0));
  EXPECT_EQ(ref[2], 20261101u);
  EXPECT_EQ(ref[3], 1u);
  // A scene's stream keeps its name: the playlists name it.
  {
    BoxAnswers answers({IDOK});
    EXPECT_EQ(h.trans()->RenameThumbnail(h.pView->m_items[1], "renamed.MTS"), 0);
  }
  EXPECT_TRUE(Exists(card.Card(1)));

  // Protected: the notice, nothing goes.
  ProtectedCardRefuses(h, card);

  // No to the question: nothing goes.
  SelectOnly(h, {"00001.MTS"});
  std::vector<std::string> boxes = DeleteWith(h, {IDNO});
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(Shows(boxes[0], IDS_BROWSER_DISC_DELETE)) << boxes[0];
  EXPECT_TRUE(Exists(card.Card(1)));

  // One scene of three: it goes alone, with its mark; its title keeps the other clip.
  marks.Set(card.Card(1));
  SelectOnly(h, {"00001.MTS"});
  h.Forget();
  boxes = DeleteWith(h, {IDYES});
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_FALSE(Exists(card.Card(1)));
  EXPECT_FALSE(Exists(card.bdmv + "\\CLIPINF\\00001.CPI"));
  EXPECT_EQ(card.Named(), "023");
  EXPECT_EQ(h.pView->Names(), (std::vector<std::string>{"00000.MTS", "00002.MTS"}));
  int state = -1;
  Mark_GetCheck(card.Card(1).c_str(), &state);
  EXPECT_EQ(state, 0);
  EXPECT_FALSE(h.Seen(WM_REFRESH_FOLDERS).empty());

  // The whole day: the group question, then both go; the other day stays.
  DeleteWithAGroup(h, {"00000.MTS", "00002.MTS"});
  EXPECT_FALSE(Exists(card.Card(0)));
  EXPECT_FALSE(Exists(card.Card(2)));
  EXPECT_TRUE(Exists(card.Card(3)));
  EXPECT_EQ(card.Named(), "3");
  EXPECT_TRUE(h.pView->m_items.empty());

  // The last movies of a card without pictures: their own question; No keeps them, Yes
  // clears the card's movies.
  DeleteFileA((card.folder + "\\DCIM\\100NORVA\\NVDC0001.JPG").c_str());
  tree.Renew();
  titles = tree.Titles();
  ASSERT_EQ(titles.size(), 1u);
  ShowTitles(h, titles);
  ASSERT_EQ(h.pView->Names(), (std::vector<std::string>{"00003.MTS"}));
  SelectOnly(h, {"00003.MTS"});
  boxes = DeleteWith(h, {IDYES, IDNO});
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(Shows(boxes[1], IDS_BROWSER_DISC_DELETE_LAST)) << boxes[1];
  EXPECT_TRUE(Exists(card.Card(3)));
  SelectOnly(h, {"00003.MTS"});
  boxes = DeleteWith(h, {IDYES, IDYES});
  EXPECT_EQ(boxes.size(), 2u);
  EXPECT_FALSE(Exists(card.Card(3)));
  EXPECT_EQ(card.Named(), "");
  EXPECT_TRUE(Exists(card.bdmv + "\\INDEX.BDM"));
  EXPECT_TRUE(h.pView->m_items.empty());
}

// The core is asked about the drive the scenes are on, by its letter: a protected card in
// another drive refuses them, and once open lets them go.
TEST(Deletion, TheCardsDriveByItsLetter) {
  MovieCard card('F');
  ASSERT_TRUE(card.inserted);
  ctltest::CardTreeNodes tree;
  std::vector<std::string> titles = tree.Titles('F');
  ASSERT_EQ(titles.size(), 3u);
  BrowserHost h;
  ShowTitles(h, {titles[0]});
  ASSERT_EQ(h.pView->Names(), (std::vector<std::string>{"00000.MTS", "00001.MTS"}));
  DWORD ref[4];
  h.pView->m_items[1]->GetDiscRef(ref);
  EXPECT_EQ(ref[1], VxBDMakeGroup('F' - 'A', 0));

  ProtectedCardRefuses(h, card);
  SelectOnly(h, {"00001.MTS"});
  std::vector<std::string> boxes = DeleteWith(h, {IDYES});
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_FALSE(Exists(card.Card(1)));
  EXPECT_TRUE(Exists(card.Card(0)));
}

// A group goes whole only when all its scenes are selected: a selection as large as a
// group's count does not take that group's other scenes along.
TEST(Deletion, CardSceneGroupsOnlyWhenWhollySelected) {
  MovieCard card;
  ASSERT_TRUE(card.inserted);
  ASSERT_EQ(VxBDDeleteClips(card.folder.c_str(), 0, {2}), 0);  // the 1st keeps clips 0 and 1
  ctltest::CardTreeNodes tree;
  BrowserHost h;
  ShowTitles(h, tree.Titles());
  ASSERT_EQ(h.pView->m_items.size(), 3u);
  // Two selected, as many as the 1st has: its clip 0 goes alone; the 2nd, wholly selected,
  // goes as a group after its question.
  DeleteWithAGroup(h, {"00000.MTS", "00003.MTS"});
  EXPECT_FALSE(Exists(card.Card(0)));
  EXPECT_FALSE(Exists(card.Card(3)));
  EXPECT_TRUE(Exists(card.Card(1)));
  EXPECT_EQ(card.Named(), "1");
  EXPECT_EQ(h.pView->Names(), (std::vector<std::string>{"00001.MTS"}));
}

// After a day goes whole the other selected scenes still go; the card's last scene, with a
// picture beside it, goes alone without the clearing question.
TEST(Deletion, CardScenesAfterAWholeDay) {
  MovieCard card;
  ASSERT_TRUE(card.inserted);
  ASSERT_EQ(VxBDDeleteClips(card.folder.c_str(), 0, {1, 2}), 0);  // one scene a day
  ctltest::CardTreeNodes tree;
  BrowserHost h;
  ShowTitles(h, tree.Titles());
  ASSERT_EQ(h.pView->Names(), (std::vector<std::string>{"00000.MTS", "00003.MTS"}));
  DeleteWithAGroup(h, {"00000.MTS", "00003.MTS"});
  EXPECT_FALSE(Exists(card.Card(0)));
  EXPECT_FALSE(Exists(card.Card(3)));
  EXPECT_EQ(card.Named(), "");
  EXPECT_TRUE(h.pView->m_items.empty());
}
