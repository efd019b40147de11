// The import dialog's decisions, callable without windows: how its option controls map to
// the settings, which controls are enabled, what Start refuses, what the listing and the
// summary show and when the card may be cleaned up.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ImportPlan.h"

namespace cardtree {

// ---- options ------------------------------------------------------------------------
// The duplicate list's positions 0, 1, 2 stand for CopyMode 3, 2, 1; another position
// leaves the mode as it is.
int CopyModeFromRulePosition(int position, int copyMode);
// The list position that shows a mode (CopyMode 0 shows position 0).
int RulePositionFromCopyMode(int copyMode);

// The four folder boxes, in the order of BackupMode 1 to 4.
enum FolderBox { kMonthlyBox = 1, kDailyBox, kTodayBox, kNamedBox };
// What a click on a folder box leaves: the mode, the naming mode, whether the naming
// radios and the folder-name edit are enabled. Only the monthly and daily folders have
// capture dates to name files by; the other modes keep the card's names.
struct FolderBoxState {
  int backupMode;
  int fileNameMode;
  bool namingEnabled;
  bool folderNameEnabled;
};
FolderBoxState ClickFolderBox(FolderBox box, bool checked, int fileNameMode);
// The same for a mode read from the profile (the dialog opening).
FolderBoxState FolderBoxesForMode(int backupMode, int fileNameMode);
// Which box shows a mode (0 for none).
int FolderBoxOfMode(int backupMode);

// Whether a control follows an enable or disable of the dialog's controls: 1 enable, 0
// disable, -1 leave it. `withDriveAndClose` takes the drive list and Close along.
int ImportControlEnabling(int id, bool enable, bool withDriveAndClose, int backupMode, int copyMode,
                          bool datedFolderChecked);

// The details button's caption after a toggle: "<< Details" while shown, "Details >>"
// while hidden, whatever the caption held before.
std::string DetailsCaption(const std::string& caption, bool detailsShown);

// ---- keywords -----------------------------------------------------------------------
// Adds the pieces of a "|"-separated keyword value that the list lacks; a piece equal to
// `unknownKey` is shown as `unknownText`; empty pieces are dropped.
void CollectKeywords(const std::string& value, const std::string& unknownKey, const std::string& unknownText,
                     std::vector<std::string>* list);

// ---- Start ----------------------------------------------------------------------------
enum class StartRefusal { kNone, kNothingChecked, kKeywordCharacters, kKeywordTooLong, kBadDestination, kBadFolderName };
// The checks before anything is written: something checked, a keyword without the
// forbidden characters and shorter than 65, a destination "X:..." shorter than 260, and
// with BackupMode 4 a folder name that is one folder.
StartRefusal CheckImportStart(size_t checkedCount, const std::string& keyword, const std::string& forbidden,
                              const std::string& destination, int backupMode, const std::string& folderName);
// Trailing blanks off; trailing "\" off too with `backslashes` (not the trail byte of a
// double-byte character, nor the root's "X:\").
std::string TrimDestination(const std::string& text, bool backslashes);

// The free space an import needs: its files and a margin of 100 MiB.
constexpr uint64_t kImportSpaceMargin = 104857600;
bool EnoughSpaceForImport(uint64_t freeBytes, uint64_t neededBytes);

// The drive list: the card drives and the disc core's drives whose titles the tree shows,
// each letter once (upper case), in letter order.
std::vector<char> ImportDriveLetters(const std::vector<char>& cardDrives, const std::vector<char>& discDrives);

// The drive list's position at start: the stored drive's letter, else the first drive
// found; 0 when neither is in the list.
int InitialDrivePosition(const std::string& storedDrive, const std::vector<char>& listed);

// ---- listing ----------------------------------------------------------------------------
// The listing's percent (shown of listed); -1 while nothing is known.
int ListingPercent(int shown, int listed);

// ---- copy ----------------------------------------------------------------------------
// The size as "%s" for the unit's string (0 bytes … 4 TB): at most four characters of
// the value, no decimals for bytes.
std::string SizeNumberText(uint64_t size, int* unit);

// How the copy dialog ended: 1 every file copied, 2 cancelled between files, 3 stopped
// (after its file), failed, or cancelled during a file.
enum CopyDialogResult { kCopyAll = 1, kCopyCancelled = 2, kCopyStopped = 3 };
CopyDialogResult CopyResultOf(DWORD runError, bool cancelPressed, bool fileAbandoned);
// Copied files are registered after results 1 and 3, not after 2.
inline bool RegistersAfter(int copyResult) { return copyResult == kCopyAll || copyResult == kCopyStopped; }

// Which deletions the run may offer once the summary is shown. Files: listed ones and
// something copied or already present, and the copy ended without a failure; disc items:
// imported ones on a recordable card.
struct DeletionOffer {
  bool files = false, disc = false;
  bool Any() const { return files || disc; }
};
DeletionOffer ImportDeletionOffer(int deletePass, bool filesListed, size_t copied, size_t present, bool copyFailed,
                                  size_t discImported, bool discRecordable);

// What the user is told after the clean-up: one line (string id, count) for each reason
// that kept something on the card, after the heading IDS_IMPORT_KEPT_HEAD; none when
// everything went.
std::vector<std::pair<UINT, size_t>> KeptOnCardLines(const CleanUpTally& tally);

}  // namespace cardtree
