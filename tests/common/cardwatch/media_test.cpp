// The media test against card layouts on disk, and the scan of the prefix's card drive.
#include <cardwatch/CardScan.h>
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>

#include <vector>

#include "test_support.h"

using namespace cardwatch;

namespace {

// The real probes with the card's root "E:" moved to a test folder; the card-folder test
// still sees the card's own path.
class RedirectedProbes : public CSystemMediaProbes {
 public:
  explicit RedirectedProbes(const std::string& root) : m_root(root) {}
  BOOL PathPatternExists(LPCSTR p) override { return CSystemMediaProbes::PathPatternExists(Move(p).c_str()); }
  void ListFolders(LPCSTR p, std::vector<CString>& names) override {
    CSystemMediaProbes::ListFolders(Move(p).c_str(), names);
  }

 private:
  std::string Move(LPCSTR p) const { return m_root + std::string(p).substr(2); }
  std::string m_root;
};

}  // namespace

TEST(CardMedia, LayoutTable) {
  struct Row {
    const char* name;
    std::vector<const char*> dirs;
    std::vector<const char*> files;
    DWORD treeType;
    UINT driveType;
    BOOL media;
  };
  const DWORD kAll = CARDMEDIA_IM_FOLDERS | CARDMEDIA_SD_VIDEO | CARDMEDIA_SD_AUDIO | CARDMEDIA_SD_VOICE |
                     CARDMEDIA_AUDIO_PLAYER;
  const Row rows[] = {
      {"empty card", {}, {}, kAll, DRIVE_REMOVABLE, FALSE},
      {"DCIM with a DCF folder", {"DCIM\\100ABCDE"}, {}, 0, DRIVE_REMOVABLE, TRUE},
      {"DCIM with a DCF folder among others", {"DCIM\\MISC", "DCIM\\101_PANA"}, {}, 0, DRIVE_REMOVABLE, TRUE},
      {"DCIM with only non-DCF folders", {"DCIM\\MISC", "DCIM\\CANONMSC", "DCIM\\99ABCDEF"}, {}, kAll,
       DRIVE_REMOVABLE, FALSE},
      {"empty DCIM", {"DCIM"}, {}, kAll, DRIVE_REMOVABLE, FALSE},
      {"DCF name as a file", {"DCIM"}, {"DCIM\\100ABCDE"}, kAll, DRIVE_REMOVABLE, FALSE},
      {"DCF folder on a CD-ROM", {"DCIM\\100ABCDE"}, {}, kAll, DRIVE_CDROM, FALSE},
      {"AVCHD", {"PRIVATE\\AVCHD\\BDMV\\STREAM"}, {}, 0, DRIVE_REMOVABLE, TRUE},
      {"empty AVCHD\\BDMV", {"PRIVATE\\AVCHD\\BDMV"}, {}, 0, DRIVE_REMOVABLE, TRUE},
      {"AVCHD without BDMV", {"PRIVATE\\AVCHD"}, {}, kAll, DRIVE_REMOVABLE, FALSE},
      {"IM folder, kind off", {"IM01ABCD"}, {}, kAll & ~CARDMEDIA_IM_FOLDERS, DRIVE_REMOVABLE, FALSE},
      {"IM folder, kind on", {"IM01ABCD"}, {}, CARDMEDIA_IM_FOLDERS, DRIVE_REMOVABLE, TRUE},
      {"IM-like folder that is no card folder", {"IMAGES"}, {}, CARDMEDIA_IM_FOLDERS, DRIVE_REMOVABLE, FALSE},
      {"SD_VIDEO, kind off", {"SD_VIDEO\\PRG001"}, {}, kAll & ~CARDMEDIA_SD_VIDEO, DRIVE_REMOVABLE, FALSE},
      {"SD_VIDEO, kind on", {"SD_VIDEO"}, {}, CARDMEDIA_SD_VIDEO, DRIVE_REMOVABLE, TRUE},
      {"SD_AUDIO, kind off", {"SD_AUDIO"}, {}, kAll & ~CARDMEDIA_SD_AUDIO, DRIVE_REMOVABLE, FALSE},
      {"SD_AUDIO, kind on", {"SD_AUDIO"}, {}, CARDMEDIA_SD_AUDIO, DRIVE_REMOVABLE, TRUE},
      {"SD_VOICE, kind off", {"SD_VOICE"}, {}, kAll & ~CARDMEDIA_SD_VOICE, DRIVE_REMOVABLE, FALSE},
      {"SD_VOICE, kind on", {"SD_VOICE"}, {}, CARDMEDIA_SD_VOICE, DRIVE_REMOVABLE, TRUE},
      {"D_PA, kind on", {"PRIVATE\\AU\\DF\\D_PA"}, {}, CARDMEDIA_AUDIO_PLAYER, DRIVE_REMOVABLE, TRUE},
      {"D_MA, kind on", {"PRIVATE\\AU\\DF\\D_MA"}, {}, CARDMEDIA_AUDIO_PLAYER, DRIVE_REMOVABLE, TRUE},
      {"D_PA, kind off", {"PRIVATE\\AU\\DF\\D_PA"}, {}, kAll & ~CARDMEDIA_AUDIO_PLAYER, DRIVE_REMOVABLE, FALSE},
      {"other audio folder", {"PRIVATE\\AU\\DF\\D_GR"}, {}, kAll, DRIVE_REMOVABLE, FALSE},
      {"SD_VIDEO on a CD-ROM", {"SD_VIDEO"}, {}, kAll, DRIVE_CDROM, FALSE},
      {"BDMV on a removable drive", {"BDMV"}, {}, 0, DRIVE_REMOVABLE, TRUE},
      {"BDMV on a CD-ROM", {"BDMV"}, {}, 0, DRIVE_CDROM, TRUE},
      {"BDMV on a RAM disk", {"BDMV"}, {}, 0, DRIVE_RAMDISK, TRUE},
      {"BDMV as a file", {}, {"BDMV"}, kAll, DRIVE_REMOVABLE, FALSE},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    TestFolder card("media");
    for (const char* d : r.dirs) card.MakeDirs({d});
    for (const char* f : r.files) card.MakeFile(f);
    RedirectedProbes probes(card.Win());
    EXPECT_EQ(r.media, HasCardMedia(r.treeType, 'E', r.driveType, probes));
  }
}

// The system's own answers on the prefix's removable drive, with the profile's settings:
// the drive starts with a card without camera media, known to the scanner.
class CardScanOnDrive : public ::testing::Test {
 protected:
  void SetUp() override {
    m_empty.MakeDirs({"MISC"});
    EXPECT_EQ(CARDSCAN_NOTHING, Scan());
  }
  int Scan() { return m_scanner.ScanCardDrives(m_env, m_mask); }

  testsupport::ScopedProfileRoot m_profile{"autorun"};
  TestFolder m_empty{"scan-empty"};
  TestFolder m_card{"scan-card"};
  ScopedCard m_drive{'e', m_empty.Unix()};
  CSystemCardScanEnv m_env;
  CCardScanner m_scanner;
  DWORD m_mask = 0;
};

TEST_F(CardScanOnDrive, InsertAndRemoveACard) {
  EXPECT_EQ(DRIVE_REMOVABLE, m_env.GetDriveType('e'));
  EXPECT_EQ(CARDSCAN_NOTHING, Scan());

  m_card.MakeDirs({"DCIM\\100ABCDE"});
  m_drive.Insert(m_card.Unix());
  EXPECT_EQ(CARDSCAN_INSERTED, Scan());
  EXPECT_EQ(1u << 4, m_mask);
  EXPECT_STREQ("E", CMGetProfileString("CardTree", "CardDrive", "", CMPROFILE_PROGRAM));

  m_drive.Remove();
  EXPECT_EQ(CARDSCAN_REMOVED, Scan());
  EXPECT_EQ(1u << 4, m_mask);
}

TEST_F(CardScanOnDrive, MediaKindsComeFromTheProfile) {
  m_card.MakeDirs({"SD_VIDEO\\PRG001"});
  m_drive.Insert(m_card.Unix());
  EXPECT_EQ(CARDSCAN_NOTHING, Scan());
  CMWriteProfileInt("CardTree\\Settings", "TreeType", CARDMEDIA_SD_VIDEO, 0, CMPROFILE_PROGRAM);
  EXPECT_EQ(CARDSCAN_INSERTED, Scan());
}
