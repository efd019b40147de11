// The similar-image commands over the real search library and photo database, and
// handing a card track to the music-card program.
#include <gtest/gtest.h>

#include <VxPixWrapper.h>
#include <VxResourceIds.h>
#include <shlwapi.h>

#include "MainWndMessages.h"
#include "SimilarImages.h"
#include "ctl_fixture.h"
#include "files.h"

namespace {

std::string ResString(UINT id) {
  CString s;
  CResourceLoader().LoadStringA(id, s);
  return (LPCSTR)s;
}

// The text of a string after its last "%s" or "%d" (what a box shows beside the value).
std::string Tail(UINT id) {
  std::string s = ResString(id);
  size_t at = std::max(s.rfind("%s") == std::string::npos ? 0 : s.rfind("%s") + 2,
                       s.rfind("%d") == std::string::npos ? 0 : s.rfind("%d") + 2);
  return s.substr(at);
}

void SelectOnly(BrowserHost& h, const std::vector<std::string>& names) {
  h.pView->UnSelectAll(TRUE);
  h.browser()->SelectAll(0);
  for (const std::string& n : names)
    for (CThumbnail* p : h.pView->m_items)
      if (lstrcmpiA(PathFindFileNameA(p->GetFilePath()), n.c_str()) == 0)
        h.pView->SelectItem(p->GetUniqueID(VXID_SLOT_VIEW), TRUE);
  ASSERT_EQ((int)names.size(), h.browser()->GetSelectCount());
}

// A scratch folder of fixture copies (name, fixture), shown in the browser.
std::string ShownFolder(BrowserHost& h, const char* sub, const std::vector<std::pair<const char*, const char*>>& files) {
  std::string d = ctltest::Scratch(sub);
  for (auto& f : files) ctltest::Copy(f.second, d + "\\" + f.first);
  h.ShowFolder(d);
  return d;
}

}  // namespace

// Three selected files of which the movie is refused: the refusal names it, then one
// message counts the two registered pictures; both pictures are in the index.
TEST(SimilarImages, RegisterReportsEachOutcome) {
  BrowserHost h;
  std::string d = ShownFolder(h, "similar_reg", {{"a.jpg", "plain.jpg"}, {"b.jpg", "rose.jpg"}, {"c.mp4", "movie.mp4"}});
  SelectOnly(h, {"a.jpg", "c.mp4", "b.jpg"});

  std::vector<std::string> seen;
  {
    BoxAnswers answers({IDOK, IDOK});
    // Through the command, as the menu sends it.
    CSendCommandObject cmd(ID_SIMILAR_REGISTER);
    h.trans()->OnUpdate(nullptr, VXHINT_COMMAND, &cmd);
    ctltest::Pump();
    seen = answers.Seen();
  }
  ASSERT_EQ(2u, seen.size());
  EXPECT_NE(std::string::npos, seen[0].find(d + "\\c.mp4"));
  EXPECT_NE(std::string::npos, seen[0].find(Tail(IDS_BROWSER_SIMILAR_REFUSED)));
  EXPECT_NE(std::string::npos, seen[1].find(ResString(IDS_BROWSER_SIMILAR_SEARCH)));
  EXPECT_NE(std::string::npos, seen[1].find(" 2 "));
  EXPECT_NE(std::string::npos, seen[1].find(Tail(IDS_BROWSER_SIMILAR_DONE_N)));
  EXPECT_TRUE(PSWIsIndexed((d + "\\a.jpg").c_str()));
  EXPECT_TRUE(PSWIsIndexed((d + "\\b.jpg").c_str()));
  EXPECT_FALSE(PSWIsIndexed((d + "\\c.mp4").c_str()));

  // One picture again: the single message names it.
  SelectOnly(h, {"a.jpg"});
  {
    BoxAnswers again({IDOK});
    EXPECT_EQ(S_OK, RegisterSimilarImages(h.browser()->GetSelectList(), h.trans()));
    ctltest::Pump();
    ASSERT_EQ(1u, again.Count());
    EXPECT_NE(std::string::npos, again.Seen()[0].find(d + "\\a.jpg"));
  }

  // Nothing selected: nothing to register, nothing shown.
  CThumbnailList none;
  BoxAnswers quiet({});
  EXPECT_EQ(E_INVALIDARG, RegisterSimilarImages(none, h.trans()));
  EXPECT_EQ(0u, quiet.Count());
}

// A search needs exactly one picture; one that ran asks the main window to refresh its
// folder trees, naming the browser window.
TEST(SimilarImages, SearchNeedsOnePicture) {
  BrowserHost h;
  ShownFolder(h, "similar_find", {{"a.jpg", "plain.jpg"}, {"b.jpg", "plain.jpg"}, {"c.mp4", "movie.mp4"}});
  BoxAnswers quiet({});

  SelectOnly(h, {"a.jpg", "b.jpg"});
  h.Forget();
  EXPECT_EQ(1, SearchSimilarImages(h.browser()->GetSelectList(), h.hManager, h.view()));
  SelectOnly(h, {"c.mp4"});
  EXPECT_EQ(E_INVALIDARG, SearchSimilarImages(h.browser()->GetSelectList(), h.hManager, h.view()));
  ctltest::Pump();
  EXPECT_TRUE(h.Seen(WM_REFRESH_FOLDERS).empty());

  SelectOnly(h, {"a.jpg"});
  CSendCommandObject cmd(ID_SIMILAR_SEARCH);
  h.trans()->OnUpdate(nullptr, VXHINT_COMMAND, &cmd);
  ctltest::Pump();
  std::vector<SeenMessage> refresh = h.Seen(WM_REFRESH_FOLDERS);
  ASSERT_EQ(1u, refresh.size());
  EXPECT_EQ((WPARAM)h.view(), refresh[0].wParam);
  EXPECT_EQ(0, refresh[0].lParam);
  EXPECT_EQ(0u, quiet.Count());
}

namespace {
const char kMelodeckKey[] = "SOFTWARE\\QRD\\SD-MelodeckV4.1\\Settings";
struct MelodeckKey {
  ~MelodeckKey() { RegDeleteKeyA(HKEY_CURRENT_USER, kMelodeckKey); }
  void Set(const std::string& folder) {
    HKEY k = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kMelodeckKey, 0, nullptr, 0, KEY_WRITE, nullptr, &k,
                                             nullptr));
    RegSetValueExA(k, "QRD_Program_Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   (DWORD)folder.size() + 1);
    RegCloseKey(k);
  }
};
}  // namespace

// A card track: without the program, "could not open"; with it, the card is not a
// protected card here, so the road ends with that message, also when the page's group
// folder is gone. Other files have no track.
TEST(CardMusic, ProgramMissingThenCardNotProtected) {
  BrowserHost h;
  MelodeckKey key;
  RegDeleteKeyA(HKEY_CURRENT_USER, kMelodeckKey);
  std::string area = ctltest::Scratch("melodeck\\SD_Audio");
  ctltest::Copy("tone.mp3", area + "\\01.mp3");
  CThumbnailPage page(VXPAGE_FOLDER, 0);
  ASSERT_EQ(S_OK, page.Add_SDAudio(area.c_str()));
  ASSERT_EQ(1, page.GetCount());
  CThumbnail* track = page.GetAt(0);
  ASSERT_TRUE(track->HasKind(VXKIND_CARDTRACK | VXKIND_SUB_1));

  {
    BoxAnswers answers({IDOK});
    EXPECT_EQ(E_PENDING, PlayTrackWithMelodeck(track, h.trans()));
    ASSERT_EQ(1u, answers.Count());
    EXPECT_NE(std::string::npos, answers.Seen()[0].find(ResString(IDS_BROWSER_OPEN_FAILED)));
    EXPECT_EQ("", std::string(GetMelodeckExePath()));
  }

  std::string program = ctltest::Scratch("melodeck_prog");
  ASSERT_TRUE(testsupport::WriteWholeFile(program + "\\SD-Melodeck.exe", "MZ"));
  key.Set(program);
  EXPECT_EQ(program + "\\SD-Melodeck.exe", std::string(GetMelodeckExePath()));
  {
    BoxAnswers answers({IDOK});
    EXPECT_EQ(E_PENDING, PlayTrackWithMelodeck(track, h.trans()));
    ASSERT_EQ(1u, answers.Count());
    EXPECT_NE(std::string::npos, answers.Seen()[0].find(ResString(IDS_BROWSER_NOT_PROTECTED_CARD)));
  }

  // A page that names a group folder which is gone: the page's first track stands for it,
  // and the road goes on to the card's test as before.
  page.SetGroupInfo(CThumbnailGroupInfo(1, (ctltest::Scratch("melodeck_gone") + "\\nowhere\\").c_str()));
  ASSERT_FALSE(page.GetGroupInfo().IsFolder());
  {
    BoxAnswers answers({IDOK});
    EXPECT_EQ(E_PENDING, PlayTrackWithMelodeck(track, h.trans()));
    ASSERT_EQ(1u, answers.Count());
    EXPECT_NE(std::string::npos, answers.Seen()[0].find(ResString(IDS_BROWSER_NOT_PROTECTED_CARD)));
  }

  std::string d = ctltest::Scratch("melodeck_pic");
  ctltest::Copy("plain.jpg", d + "\\a.jpg");
  CThumbnail picture((d + "\\a.jpg").c_str());
  BoxAnswers quiet({});
  EXPECT_EQ(E_INVALIDARG, PlayTrackWithMelodeck(&picture, h.trans()));
  EXPECT_EQ(E_INVALIDARG, PlayTrackWithMelodeck(nullptr, h.trans()));
  EXPECT_EQ(0u, quiet.Count());
}
