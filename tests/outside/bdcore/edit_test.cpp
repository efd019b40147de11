// Deleting scenes from AVCHD trees written as a camera writes them: the playlists left
// behind name only clips that are there, and a deletion that cannot finish changes nothing.
// Then the card editor on a card in drive E:.
#include <VxBDCore.h>
#include <VxBDDisc.h>
#include <VxBDEdit.h>
#include <card.h>
#include <files.h>
#include <gtest/gtest.h>
#include <tempfolder.h>

#include <map>

namespace {

const char* const kBdmv = "\\PRIVATE\\AVCHD\\BDMV";

std::string Name(int clip) {
  char n[8];
  snprintf(n, sizeof n, "%05d", clip);
  return n;
}

// A card's tree: titles of clips, each clip's stream recorded on the given day of November.
std::string MakeCard(const char* tag, const std::vector<std::vector<int>>& titles, const std::map<int, int>& days) {
  std::string base = testsupport::NewTempFolder(tag);
  testsupport::MakeFolders(base + "\\PRIVATE\\AVCHD");
  std::vector<VxBDSampleTitle> sample;
  for (const auto& t : titles) {
    VxBDSampleTitle s{{}, 0x0103, 0xAB12};
    for (int c : t) s.clips.push_back(Name(c));
    sample.push_back(s);
  }
  EXPECT_TRUE(VxBDWriteTree(base + kBdmv, sample, true, false));
  for (const auto& cd : days) {
    std::string stream = base + kBdmv + "\\STREAM\\" + Name(cd.first) + ".MTS";
    testsupport::WriteWholeFile(stream, std::string(100 + cd.first, 'S'));
    testsupport::SetLocalWriteTime(stream, 2026, 11, cd.second, 10 + cd.first);
  }
  return base;
}

bool Exists(const std::string& p) { return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Every playlist of the tree by name, with the clips it names ("x" when it does not read).
std::map<std::string, std::string> Playlists(const std::string& base) {
  std::map<std::string, std::string> out;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((base + kBdmv + "\\PLAYLIST\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::string bytes = testsupport::ReadWholeFile(base + kBdmv + "\\PLAYLIST\\" + fd.cFileName);
    std::vector<std::string> clips;
    WORD maker = 0, model = 0;
    std::string text = "x";
    if (VxBDParsePlaylist(std::vector<uint8_t>(bytes.begin(), bytes.end()), &clips, &maker, &model) &&
        maker == 0x0103 && model == 0xAB12) {
      text.clear();
      for (const std::string& c : clips) text += (text.empty() ? "" : ",") + c.substr(3);
    }
    out[fd.cFileName] = text;
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return out;
}

// The clips whose stream and clip information are there.
std::string Clips(const std::string& base) {
  std::string text;
  for (int c = 0; c < 10; ++c) {
    bool stream = Exists(base + kBdmv + "\\STREAM\\" + Name(c) + ".MTS");
    bool info = Exists(base + kBdmv + "\\CLIPINF\\" + Name(c) + ".CPI");
    if (stream != info) return "half of " + Name(c);
    if (stream) text += (text.empty() ? "" : ",") + std::to_string(c);
  }
  return text;
}

}  // namespace

TEST(BDCoreEdit, DeletingClipsKeepsThePlaylistsWhole) {
  struct Case {
    const char* what;
    std::vector<int> clips;
    std::map<std::string, std::string> playlists;
    std::string left;
  } cases[] = {
      {"one clip of a title of two",
       {1},
       {{"00000.MPL", "00"}, {"00001.MPL", "02"}, {"00002.MPL", "03,04,05"}},
       "0,2,3,4,5"},
      {"a title's only clip: the playlist goes", {2}, {{"00000.MPL", "00,01"}, {"00002.MPL", "03,04,05"}}, "0,1,3,4,5"},
      {"clips of three titles", {0, 1, 4}, {{"00001.MPL", "02"}, {"00002.MPL", "03,05"}}, "2,3,5"},
      {"a clip no playlist names",
       {7},
       {{"00000.MPL", "00,01"}, {"00001.MPL", "02"}, {"00002.MPL", "03,04,05"}},
       "0,1,2,3,4,5"},
      {"every clip", {0, 1, 2, 3, 4, 5}, {}, ""},
  };
  for (const Case& c : cases) {
    std::string base = MakeCard("bdedit", {{0, 1}, {2}, {3, 4, 5}}, {{0, 1}, {1, 1}, {2, 2}, {3, 3}, {4, 3}, {5, 3}});
    ASSERT_EQ(VxBDDeleteClips(base.c_str(), 0, c.clips), 0) << c.what;
    EXPECT_EQ(Playlists(base), c.playlists) << c.what;
    EXPECT_EQ(Clips(base), c.left) << c.what;
    // Nothing set aside or half-written is left behind.
    std::vector<VxBDSceneRef> scenes;
    ASSERT_TRUE(VxBDTreeScenes(base.c_str(), 0, 0, &scenes));
    EXPECT_FALSE(Exists(base + kBdmv + "\\PLAYLIST\\00000.MPL.new")) << c.what;
    testsupport::RemoveTree(base);
  }
}

TEST(BDCoreEdit, ADeletionThatCannotFinishChangesNothing) {
  std::string base = MakeCard("bdedit_fail", {{0, 1}, {2}}, {{0, 1}, {1, 1}, {2, 2}});
  const auto before = Playlists(base);
  // A playlist that does not read: what it names is unknown.
  testsupport::WriteWholeFile(base + kBdmv + "\\PLAYLIST\\00009.MPL", "MPLS0100cut");
  EXPECT_EQ(VxBDDeleteClips(base.c_str(), 0, {1}), VXBD_E_BAD_PLAYLIST);
  EXPECT_EQ(Clips(base), "0,1,2");
  DeleteFileA((base + kBdmv + "\\PLAYLIST\\00009.MPL").c_str());
  EXPECT_EQ(Playlists(base), before);

  // A stream in use by another reader: neither it nor the other clip asked for goes, and the
  // playlists stay as they were.
  HANDLE busy = CreateFileA((base + kBdmv + "\\STREAM\\00002.MTS").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(busy, INVALID_HANDLE_VALUE);
  EXPECT_LT(VxBDDeleteClips(base.c_str(), 0, {0, 2}), 0);
  CloseHandle(busy);
  EXPECT_EQ(Clips(base), "0,1,2");
  EXPECT_EQ(Playlists(base), before);
  EXPECT_FALSE(Exists(base + kBdmv + "\\STREAM\\00000.MTS.del"));
  EXPECT_FALSE(Exists(base + kBdmv + "\\PLAYLIST\\00000.MPL.new"));
  // Once let go, it goes.
  EXPECT_EQ(VxBDDeleteClips(base.c_str(), 0, {0, 2}), 0);
  EXPECT_EQ(Clips(base), "1");
  EXPECT_EQ(Playlists(base), (std::map<std::string, std::string>{{"00000.MPL", "01"}}));
  testsupport::RemoveTree(base);
}

TEST(BDCoreEdit, ClipNumbersAndDays) {
  EXPECT_EQ(VxBDClipNumber("00012.MTS"), 12);
  EXPECT_EQ(VxBDClipNumber("99999.m2ts"), 99999);
  for (const char* bad : {"0001.MTS", "00012", "0001A.MTS", "", "000123.MTS"})
    EXPECT_EQ(VxBDClipNumber(bad), -1) << bad;
  std::string base = MakeCard("bdedit_days", {{0, 1, 2}}, {{0, 5}, {1, 5}, {2, 7}});
  std::vector<VxBDSceneRef> scenes;
  ASSERT_TRUE(VxBDTreeScenes(base.c_str(), 0, 20261105, &scenes));
  ASSERT_EQ(scenes.size(), 2u);
  EXPECT_EQ(scenes[1].clip, 1);
  ASSERT_TRUE(VxBDTreeScenes(base.c_str(), 0, 0, &scenes));
  EXPECT_EQ(scenes.size(), 3u);
  EXPECT_FALSE(VxBDTreeScenes(base.c_str(), 1, 0, &scenes));  // no "AVCHD\BDMV" tree
  testsupport::RemoveTree(base);
}

// The editor on the card drive: state, counts, deletion by reference, protection, and the
// last group of movies with and without pictures beside them.
TEST(BDCoreEdit, TheCardInDriveE) {
  std::string base = MakeCard("bdedit_card", {{0, 1}, {2}, {3}}, {{0, 1}, {1, 1}, {2, 2}, {3, 3}});
  testsupport::MakeFolders(base + "\\DCIM\\100NORVA");
  testsupport::MakeFolders(base + "\\DCIM\\.hidden");
  ASSERT_EQ(testsupport::InsertCard('E', testsupport::UnixPathOf(base)), 0u);
  IVxBDCoreObject* object = GetVxBDCoreObject();
  IVxBDDiscEdit* edit = object->GetDiscEdit();
  ASSERT_NE(edit, nullptr);
  const int e = 'E' - 'A';
  const DWORD group = VxBDMakeGroup(e, 0);
  DWORD state[2] = {9, 9};
  ASSERT_EQ(edit->GetDriveState(e, state), 0);
  EXPECT_EQ(state[0], (DWORD)VXBD_STATE_CARD);
  EXPECT_EQ(state[1], 0u);
  EXPECT_EQ(edit->GetDriveState('Y' - 'A', state), VXBD_E_NODEVICE);
  long n = -1;
  ASSERT_EQ(edit->GetGroupCount(group, &n), 0);
  EXPECT_EQ(n, 4);  // three days and one picture folder
  ASSERT_EQ(edit->GetItemCount(group, 20261101, &n), 0);
  EXPECT_EQ(n, 2);
  ASSERT_EQ(edit->GetItemCount(group, 0, &n), 0);
  EXPECT_EQ(n, 4);
  EXPECT_EQ(edit->GetItemCount(VxBDMakeGroup('C' - 'A', 0), 0, &n), VXBD_E_NODEVICE);

  // One scene by its day and clip; the follow-up reports the change's result.
  ASSERT_EQ(edit->DeleteItem(group, 20261101, 1), 0);
  long result = -1;
  EXPECT_EQ(edit->Wait(-1, &result), 0);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(Clips(base), "0,2,3");
  EXPECT_LT(edit->DeleteItem(group, 20261101, 1), 0);  // gone already
  EXPECT_LT(edit->DeleteItem(group, 20261102, 0), 0);  // clip 0 is not of that day
  EXPECT_EQ(Clips(base), "0,2,3");

  // A write-protected tree: the state says so and nothing goes.
  const std::string playlist = base + kBdmv + "\\PLAYLIST\\00001.MPL";
  SetFileAttributesA(playlist.c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_EQ(edit->GetDriveState(e, state), 0);
  EXPECT_EQ(state[1], (DWORD)VXBD_STATE_PROTECTED);
  EXPECT_LT(edit->DeleteGroup(group, 20261102), 0);
  EXPECT_EQ(edit->Wait(-1, &result), 0);
  EXPECT_LT(result, 0);
  EXPECT_EQ(Clips(base), "0,2,3");
  SetFileAttributesA(playlist.c_str(), FILE_ATTRIBUTE_NORMAL);

  // A day as a whole.
  ASSERT_EQ(edit->DeleteGroup(group, 20261102), 0);
  EXPECT_EQ(Clips(base), "0,3");

  // The last group: with pictures on the card the movies go scene by scene...
  int medium = -1;
  EXPECT_EQ(edit->RequestMedium(2, L"E:\\", 1, &medium), 0);
  EXPECT_EQ(edit->ReleaseMedium(medium), 0);
  EXPECT_EQ(edit->RequestMedium(1, L"E:\\", 1, &medium), VXBD_S_LAST_GROUP);
  EXPECT_EQ(edit->UseMedium(medium), VXBD_E_MOVIES_ONLY);  // the picture folder is empty
  testsupport::WriteWholeFile(base + "\\DCIM\\100NORVA\\NVDC0001.JPG", "jpeg");
  EXPECT_EQ(edit->UseMedium(medium), 0);
  // ...without them the card's movies are cleared at once; only a kept handle does it.
  int plain = -1;
  EXPECT_EQ(edit->RequestMedium(3, L"E:\\", 1, &plain), 0);
  EXPECT_EQ(edit->ClearMedium(plain), E_HANDLE);
  EXPECT_EQ(Clips(base), "0,3");
  EXPECT_EQ(edit->ClearMedium(medium), 0);
  EXPECT_EQ(Clips(base), "");
  EXPECT_TRUE(Playlists(base).empty());
  EXPECT_TRUE(Exists(base + kBdmv + "\\INDEX.BDM"));
  EXPECT_EQ(edit->ReleaseMedium(medium), E_HANDLE);  // the clearing released it
  EXPECT_EQ(edit->ReleaseMedium(plain), 0);

  object->Release();
  testsupport::RemoveCard('E');
  if (!testsupport::DefaultCardDir().empty()) testsupport::InsertCard('E', testsupport::DefaultCardDir());
  testsupport::RemoveTree(base);
}
