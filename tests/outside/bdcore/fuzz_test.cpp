// Fuzz drivers of the disc readers (seeded, bounded; GLIMORA_FUZZ_SEED and _ROUNDS for longer
// runs): mutated playlists and clip information in memory, and trees whose files are
// mutated on disk. Nothing may crash or hang; what is read must be in range.
#include <VxBDDisc.h>
#include <VxBDEdit.h>
#include <files.h>
#include <fuzz.h>
#include <gtest/gtest.h>
#include <tempfolder.h>

#include <cstring>
#include <set>
#include <utility>

namespace {

// The picture sizes a clip's information may give.
bool KnownSize(int w, int h) {
  static const std::set<std::pair<int, int>> kSizes = {{720, 480}, {720, 576}, {1920, 1080}, {1280, 720}};
  return kSizes.count({w, h}) != 0;
}

bool FiveDigits(const std::string& clip) {
  return clip.size() == 5 && clip.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

TEST(Fuzz, PlaylistsAndClipInformation) {
  const std::vector<std::vector<uint8_t>> playlists = {
      VxBDMakePlaylist({"00000", "00001", "00002"}, 0x0103, 0xAB12),
      VxBDMakePlayItems({{"00004", 45000, 900000}, {"00005", 0, 0}}, 0x0103, 0x0412),
  };
  const std::vector<std::vector<uint8_t>> clipInfos = {VxBDMakeClipInfo(4, 4), VxBDMakeClipInfo(2, 3),
                                                       VxBDMakeClipInfo(5, 6)};
  const uint32_t seed = testsupport::FuzzSeed();
  testsupport::Mutator m(seed);
  for (int round = 0, n = testsupport::FuzzRounds(5000); round < n; ++round) {
    SCOPED_TRACE(testing::Message() << "seed " << seed << " round " << round);
    if (m.Next(2)) {
      std::vector<uint8_t> bytes = m.Mutate(playlists[m.Next(uint32_t(playlists.size()))]);
      std::vector<VxBDPlayItem> items;
      WORD maker = 1, model = 1;
      if (!VxBDParsePlayItems(bytes, &items, &maker, &model)) continue;
      // Each item takes at least its length field and eleven bytes of the list.
      EXPECT_LE(items.size() * 11, bytes.size());
      for (const VxBDPlayItem& item : items) EXPECT_TRUE(FiveDigits(item.clip)) << item.clip;
    } else {
      std::vector<uint8_t> bytes = m.Mutate(clipInfos[m.Next(uint32_t(clipInfos.size()))]);
      int w = -1, h = -1, tv = -1;
      if (VxBDParseClipInfo(bytes, &w, &h, &tv)) {
        EXPECT_TRUE(KnownSize(w, h)) << w << "x" << h;
        EXPECT_TRUE(tv == 0 || tv == 1) << tv;
      } else {
        EXPECT_EQ(w, 0);
        EXPECT_EQ(h, 0);
      }
    }
  }
}

// Card (.MPL, .CPI) and disc (.mpls, .clpi) trees read whole after one of their files is
// mutated: a title whose playlist does not read is left out, a clip whose information does
// not read has no size.
TEST(Fuzz, TreesOfMutatedFiles) {
  const std::string root = testsupport::NewTempFolder("glimora-bdfuzz");
  struct Tree {
    std::string bdmv, playlist, clipInfo;
  } trees[] = {{root + "\\card", "\\PLAYLIST\\00000.MPL", "\\CLIPINF\\00001.CPI"},
               {root + "\\disc", "\\PLAYLIST\\00000.mpls", "\\CLIPINF\\00001.clpi"}};
  const std::vector<VxBDSampleTitle> titles = {{{"00000", "00001"}, 0x0103, 0x0412}, {{"00002"}, 0x0103, 0x0412}};
  for (const Tree& t : trees) {
    ASSERT_TRUE(VxBDWriteTree(t.bdmv, titles, true, &t == &trees[1]));
    testsupport::WriteWholeFile(t.bdmv + "\\STREAM\\00001.MTS", std::string(1880, 'G'));
  }
  const uint32_t seed = testsupport::FuzzSeed();
  testsupport::Mutator m(seed);
  for (int round = 0, n = testsupport::FuzzRounds(300); round < n; ++round) {
    SCOPED_TRACE(testing::Message() << "seed " << seed << " round " << round);
    const Tree& t = trees[m.Next(2)];
    const bool playlist = m.Next(2) != 0;
    const std::string file = t.bdmv + (playlist ? t.playlist : t.clipInfo);
    std::vector<uint8_t> sample =
        playlist ? VxBDMakePlaylist(titles[0].clips, titles[0].makerId, titles[0].modelCode) : VxBDMakeClipInfo(4, 4);
    std::vector<uint8_t> bytes = m.Mutate(sample);
    ASSERT_TRUE(testsupport::WriteWholeFile(file, std::string(bytes.begin(), bytes.end())));
    std::vector<VxBDTitle> read = VxBDReadTitles(t.bdmv);
    EXPECT_GE(read.size(), 1u);  // the other title reads whatever this file holds
    EXPECT_LE(read.size(), 2u);
    for (const VxBDTitle& title : read)
      for (const VxBDPart& part : title.parts) {
        EXPECT_TRUE(FiveDigits(part.clip)) << part.clip;
        EXPECT_TRUE((part.width == 0 && part.height == 0) || KnownSize(part.width, part.height));
      }
    VxBDTitle first;
    long hr = VxBDReadTitle(t.bdmv, 0, &first);
    EXPECT_TRUE(hr == 0 || hr == VXBD_E_BAD_PLAYLIST) << hr;
    std::vector<VxBDPlayPart> parts;
    if (hr == 0) VxBDTitlePlayParts(first, 0, &parts);
    // The sample again for the next round.
    ASSERT_TRUE(testsupport::WriteWholeFile(file, std::string(sample.begin(), sample.end())));
  }
  testsupport::RemoveTree(root);
}
