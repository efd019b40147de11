// The import dialog's decisions by tables: option mapping, enabling, Start's refusals,
// the listing's keywords and percent, size texts, the copy dialog's result and the offer
// to clean up the card.
#include <ImportDialogRules.h>
#include <VxResourceIds.h>
#include <gtest/gtest.h>

using namespace cardtree;

TEST(ImportDialogRules, DuplicateRuleAndFolderBoxes) {
  // Positions 0, 1, 2 are CopyMode 3, 2, 1; a position out of the list keeps the mode;
  // each mode shows at its position again.
  struct {
    int position, before, after;
  } rules[] = {{0, 0, 3}, {1, 3, 2}, {2, 3, 1}, {-1, 2, 2}, {3, 1, 1}};
  for (const auto& r : rules) {
    EXPECT_EQ(CopyModeFromRulePosition(r.position, r.before), r.after) << r.position;
    if (r.position >= 0 && r.position <= 2) {
      EXPECT_EQ(RulePositionFromCopyMode(r.after), r.position);
    }
  }
  EXPECT_EQ(RulePositionFromCopyMode(0), 0);

  // Only the monthly and daily folders may name files by capture time; unchecking any box
  // is mode 0, which keeps the card's names.
  struct {
    FolderBox box;
    bool checked;
    int nameMode, mode, wantName;
    bool naming, folderName;
  } boxes[] = {
      {kMonthlyBox, true, 0, 1, 0, true, false},  {kDailyBox, true, 0, 2, 0, true, false},
      {kTodayBox, true, 0, 3, 1, false, false},   {kNamedBox, true, 0, 4, 1, false, true},
      {kDailyBox, false, 0, 0, 1, false, false},  {kNamedBox, false, 0, 0, 1, false, false},
  };
  for (const auto& b : boxes) {
    FolderBoxState s = ClickFolderBox(b.box, b.checked, b.nameMode);
    EXPECT_EQ(s.backupMode, b.mode) << b.box << b.checked;
    EXPECT_EQ(s.fileNameMode, b.wantName) << b.box << b.checked;
    EXPECT_EQ(s.namingEnabled, b.naming) << b.box << b.checked;
    EXPECT_EQ(s.folderNameEnabled, b.folderName) << b.box << b.checked;
  }
  // A stored mode 0, 3 or 4 shows the card's names whatever was stored.
  for (int mode : {0, 3, 4}) EXPECT_EQ(FolderBoxesForMode(mode, 0).fileNameMode, 1) << mode;
  EXPECT_EQ(FolderBoxOfMode(3), IDC_IMPORT_TODAY);
  EXPECT_EQ(FolderBoxOfMode(0), 0);
}

TEST(ImportDialogRules, WhichControlsFollowEnabling) {
  struct {
    int id;
    bool enable, withDrive;
    int backupMode, copyMode;
    bool dated;
    int want;
  } cases[] = {
      {IDC_IMPORT_DRIVE, false, false, 2, 0, true, -1},  // the scan leaves the drive list
      {IDCANCEL, false, true, 2, 0, true, 0},             // the run takes Close too
      {IDOK, false, false, 2, 0, true, 0},
      {IDC_IMPORT_FOLDER_NAME, true, false, 3, 0, false, 0},
      {IDC_IMPORT_FOLDER_NAME, true, false, 4, 0, false, 1},
      {IDC_IMPORT_RULE_LIST, true, false, 2, 0, true, 0},
      {IDC_IMPORT_RULE_LIST, true, false, 2, 2, true, 1},
      {IDC_IMPORT_RULE_LIST, false, false, 2, 2, true, 0},
      {IDC_IMPORT_NAME_BY_TIME, true, false, 3, 0, false, 0},
      {IDC_IMPORT_NAME_BY_TIME, true, false, 2, 0, true, 1},
      {IDC_IMPORT_STATUS, true, true, 2, 0, true, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ImportControlEnabling(c.id, c.enable, c.withDrive, c.backupMode, c.copyMode, c.dated), c.want) << c.id;
}

TEST(ImportDialogRules, DetailsCaptionAndKeywords) {
  EXPECT_EQ(DetailsCaption("<< 詳細", false), "詳細 >>");
  EXPECT_EQ(DetailsCaption("詳細 >>", true), "<< 詳細");
  EXPECT_EQ(DetailsCaption("<<<  詳細  >>>", false), "詳細 >>");

  // Pieces of "|"-separated values: each once, no empty one, the unknown key shown as
  // its text.
  std::vector<std::string> list = {"夏"};
  CollectKeywords("海|夏||海", "Unknown", "不明", &list);
  CollectKeywords("|Unknown|山|", "Unknown", "不明", &list);
  CollectKeywords("", "Unknown", "不明", &list);
  EXPECT_EQ(list, (std::vector<std::string>{"夏", "海", "不明", "山"}));
}

TEST(ImportDialogRules, StartRefusesBeforeAnythingIsWritten) {
  const std::string forbidden = "|\\/:*?\"<>";
  const std::string ok = "C:\\Pictures";
  struct {
    size_t checked;
    std::string keyword, destination;
    int backupMode;
    std::string folderName;
    StartRefusal want;
  } cases[] = {
      {0, "", ok, 2, "", StartRefusal::kNothingChecked},
      {3, "a|b", ok, 2, "", StartRefusal::kKeywordCharacters},
      // "表" ends in the byte of "\": a double-byte character is no forbidden one.
      {3, "表", ok, 2, "", StartRefusal::kNone},
      {3, std::string(65, 'k'), ok, 2, "", StartRefusal::kKeywordTooLong},
      {3, std::string(64, 'k'), ok, 2, "", StartRefusal::kNone},
      {3, "", "Pictures", 2, "", StartRefusal::kBadDestination},
      {3, "", "C:\\" + std::string(257, 'd'), 2, "", StartRefusal::kBadDestination},
      {3, "", ok, 4, "..", StartRefusal::kBadFolderName},
      {3, "", ok, 4, "a\\b", StartRefusal::kBadFolderName},
      {3, "", ok, 4, "Trip", StartRefusal::kNone},
      {3, "", ok, 2, "..", StartRefusal::kNone},  // the name counts only in mode 4
  };
  for (const auto& c : cases)
    EXPECT_EQ(CheckImportStart(c.checked, c.keyword, forbidden, c.destination, c.backupMode, c.folderName), c.want)
        << c.keyword << " " << c.destination << " " << c.folderName;

  EXPECT_EQ(TrimDestination("C:\\Pictures\\\\  ", false), "C:\\Pictures\\\\");
  EXPECT_EQ(TrimDestination("C:\\Pictures\\\\  ", true), "C:\\Pictures");
  EXPECT_EQ(TrimDestination("C:\\", true), "C:\\");
  EXPECT_EQ(TrimDestination("C:\\表", true), "C:\\表");  // its trail byte stays

  // The margin applies even when nothing needs room.
  EXPECT_FALSE(EnoughSpaceForImport(80ull << 20, 0));
  EXPECT_TRUE(EnoughSpaceForImport(kImportSpaceMargin, 0));
  EXPECT_FALSE(EnoughSpaceForImport(kImportSpaceMargin + 10, 11));


  const std::vector<char> drives = {'E', 'F'};
  EXPECT_EQ(InitialDrivePosition("F:\\", drives), 1);
  EXPECT_EQ(InitialDrivePosition("f:\\", drives), 1);
  EXPECT_EQ(InitialDrivePosition("G:\\", drives), 0);  // not a card drive any more
  EXPECT_EQ(InitialDrivePosition("", drives), 0);
}

TEST(ImportDialogRules, ListingPercentAndSizeTexts) {
  EXPECT_EQ(ListingPercent(0, 10), -1);
  EXPECT_EQ(ListingPercent(3, 0), -1);
  EXPECT_EQ(ListingPercent(1, 3), 33);
  EXPECT_EQ(ListingPercent(10000, 10000), 100);

  struct {
    uint64_t size;
    std::string text;
    int unit;
  } sizes[] = {
      {0, "0", 0},         {1023, "1023", 0},           {1024, "1.00", 1},     {1536, "1.50", 1},
      {1048575, "1023", 1}, {2ull << 30, "2.00", 3},     {123456789, "117", 2}, {5ull << 40, "5.00", 4},
      {1ull << 52, "4096", 4},  // beyond TB stays in TB
  };
  for (const auto& s : sizes) {
    int unit = -1;
    EXPECT_EQ(SizeNumberText(s.size, &unit), s.text) << s.size;
    EXPECT_EQ(unit, s.unit) << s.size;
  }
}

TEST(ImportDialogRules, CopyResultAndCleanUpOffer) {
  EXPECT_EQ(CopyResultOf(0, false, false), kCopyAll);
  EXPECT_EQ(CopyResultOf(0, true, false), kCopyAll);  // cancel after the last file
  EXPECT_EQ(CopyResultOf(ERROR_CANCELLED, true, false), kCopyCancelled);
  EXPECT_EQ(CopyResultOf(ERROR_CANCELLED, true, true), kCopyStopped);
  EXPECT_EQ(CopyResultOf(ERROR_CANCELLED, false, false), kCopyStopped);  // the stop button
  EXPECT_EQ(CopyResultOf(ERROR_NOT_READY, false, false), kCopyStopped);
  EXPECT_FALSE(RegistersAfter(kCopyCancelled));

  struct {
    int deletePass;
    bool listed;
    size_t copied, present;
    bool failed;
    size_t disc;
    bool recordable;
    bool files, discs;
  } offers[] = {
      {0, true, 3, 0, false, 0, false, true, false},
      {0, true, 0, 2, false, 0, false, true, false},   // only files already there
      {0, true, 0, 0, false, 0, false, false, false},
      {0, true, 2, 0, true, 0, false, false, false},   // a failed copy offers nothing
      {1, true, 3, 0, false, 1, true, false, false},   // DeletePass never asks
      {0, false, 0, 0, false, 2, true, false, true},
      {0, false, 0, 0, false, 2, false, false, false},
  };
  for (const auto& o : offers) {
    DeletionOffer d = ImportDeletionOffer(o.deletePass, o.listed, o.copied, o.present, o.failed, o.disc, o.recordable);
    EXPECT_EQ(d.files, o.files) << o.copied << o.present << o.failed;
    EXPECT_EQ(d.disc, o.discs) << o.disc;
  }
}

// After the clean-up the user reads one line for each reason that kept something on the
// card, in a fixed order, and none when everything went.
TEST(ImportDialogRules, WhatTheCleanUpLeftIsToldByReason) {
  using Lines = std::vector<std::pair<UINT, size_t>>;
  struct {
    std::vector<std::pair<KeptBecause, size_t>> kept;
    Lines lines;
  } cases[] = {
      {{}, {}},
      {{{KeptBecause::kOtherVolume, 57}}, {{IDS_IMPORT_KEPT_OTHER_CARD, 57}}},
      {{{KeptBecause::kNotDeleted, 1}, {KeptBecause::kChangedOnCard, 2}, {KeptBecause::kReadOnly, 3}},
       {{IDS_IMPORT_KEPT_CHANGED, 2}, {IDS_IMPORT_KEPT_READ_ONLY, 3}, {IDS_IMPORT_KEPT_NOT_DELETED, 1}}},
      {{{KeptBecause::kCopyChanged, 4}, {KeptBecause::kCopyChanged, 1}}, {{IDS_IMPORT_KEPT_COPY_CHANGED, 5}}},
  };
  for (const auto& c : cases) {
    CleanUpTally tally;
    tally.deleted = 9;
    for (const auto& k : c.kept)
      for (size_t i = 0; i < k.second; ++i) tally.Keep(k.first);
    EXPECT_EQ(KeptOnCardLines(tally), c.lines);
  }
}

// The drive list holds the card drives and the disc core's drives, each once.
TEST(ImportDialogRules, TheDriveListTakesTheDiscDrivesToo) {
  struct {
    std::vector<char> cards, discs, list;
  } cases[] = {
      {{'E'}, {}, {'E'}},
      {{}, {'F'}, {'F'}},
      {{'G', 'E'}, {'F', 'e'}, {'E', 'F', 'G'}},
      {{}, {}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ImportDriveLetters(c.cards, c.discs), c.list);
}
