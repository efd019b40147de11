// The card import's decisions, callable without windows: which card files an import
// takes and in what order, and where each one lands (date folder, name, "(n)" suffix,
// or nothing because an identical file is already there).
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace cardtree {

// ---- names -------------------------------------------------------------------------------
// Four letters, digits or "_" and a four-digit number other than 0000 ("ABCD0001").
int IsDcfObjectName(const std::string& baseName);
// "MOL001": M, O, L (any case) and a number other than 000.
int IsSdVideoMovieName(const std::string& baseName);
// The text after the last "." ("" when no "." follows the first character).
std::string GetExtension(const std::string& name, int withDot);
// The name without folder and the path's folder without its last "\".
std::string FileNameOf(const std::string& path);
std::string FolderOf(const std::string& path);
std::string BaseNameOf(const std::string& name);  // without extension
// The JPEG that dates a DCF object: the object itself for a ".JPG", else the first
// "????<number>.JPG" of its folder; "" for other names or when there is none.
std::string FindCompanionJpeg(const std::string& path);
// .JPG .MOV .TIF .RAW .DNG in any case.
int HasSupportedExtension(const std::string& name);
// "A(3).JPG" -> "A.JPG" and 3; without a "(n)" before the extension, the name and 0.
std::string SplitCopyNumber(const std::string& name, int* number);
// "X.JPG", 2 -> "X(2).JPG"; 0 keeps the path.
std::string WithCopyNumber(const std::string& path, int number);
// A name the destination takes as exactly one folder: no separators, no "." or "..",
// none of the characters the file system refuses, shorter than 260.
int IsValidFolderName(const std::string& name);
// A name as the file system compares names: any letter case, double-byte characters whole.
std::wstring NameKey(const std::string& name);
// The names a run has seen in its target folders: each folder listed once, then kept up to
// date by the run's own renames. A name known to be free saves asking the disk (under Wine
// a missing name costs a read of the whole folder); creating without replacing stays the
// judge, as another program may take a name meanwhile.
class FolderNameBook {
 public:
  bool Knows(const std::string& folder) const;
  void Learn(const std::string& folder, const std::vector<std::string>& names);
  // Whether the path's name is taken in its folder; false when the folder is not known.
  bool Taken(const std::string& path) const;
  void Take(const std::string& path);

 private:
  std::map<std::wstring, std::set<std::wstring>> m_folders;
};
// The NUL-separated text of a list (each entry ended by NUL) and back.
std::string JoinNulList(const std::vector<std::string>& entries);
std::vector<std::string> SplitNulList(const std::string& text);

// ---- dates ------------------------------------------------------------------------------
// YYYYMMDD (or YYYYMM with backup mode 1) in the locale's order ("0" month first,
// "1" day first, else unchanged).
std::string FormatDateFolder(const std::string& date, int backupMode, const std::string& order);
// The order of hour, minute and second (positions in a formatted time) as a code 1 to 6.
int TimeOrderCode(int hourPos, int minutePos, int secondPos);
// The code of the system's time format (6 when it cannot be found).
int SystemTimeOrderCode();
// HHMMSS rearranged for a code (6 unchanged).
std::string FormatTimeName(const std::string& time, int code);

// Capture date YYYYMMDD and time HHMMSS of a file: its Exif date, else its last-write time
// (local); hasExif tells which. False when neither can be read.
struct CaptureDate {
  std::string date, time;
  bool hasExif = false;
};
bool ReadCaptureDate(const std::string& path, CaptureDate* out);

// ---- settings of one import --------------------------------------------------------------
struct ImportSettings {
  int backupMode = 2;    // 0 none, 1 month, 2 day, 3 today, 4 folderName
  int fileNameMode = 1;  // 0 capture time, else the card's name
  int copyMode = 3;      // the duplicate rule (see UniqueTarget); no rule replaces a file
  std::string folderName;
  unsigned treeType = 0;
  int dcfObject = 0;     // 1: one suffix for all files of an object
  int copySupport = 0;   // below 0: only supported extensions
  int headless = 0;      // the backup and listing: only supported extensions
  std::string dateOrder = "2";
  int timeOrder = 6;
  std::string today;     // YYYYMMDD of the import day
  int dryRun = 0;        // create no folder
  // The dater and the card-folder test; tests replace them.
  std::function<bool(const std::string&, CaptureDate*)> readDate = ReadCaptureDate;
  std::function<int(const std::string&)> isCardFolder;  // 1 yes, 0 no; default KitlibEx
  // Asked before each entry of a card folder the walk lists: true ends that folder's walk
  // at once (the folders around it go on, asking again). None: the walk goes to its end.
  std::function<bool()> stop;
};
// Today's date as a folder name (YYYYMMDD).
std::string LocaleTodayFolderName();
// The settings with today's date and the locale's orders filled in.
ImportSettings LocaleImportSettings();
// Modes out of range fall back to their defaults.
void ClampImportSettings(ImportSettings* s);

// The date folder of a file by backup mode ("" = the destination root) and the file name
// that replaces the card's ("" = keep it), both from the file's capture date.
std::string DateFolderName(const ImportSettings& s, const CaptureDate* date);
std::string TimeFileName(const ImportSettings& s, const CaptureDate* date);

// ---- identical files ---------------------------------------------------------------------
// Same size and same content.
bool SameFileContent(const std::string& a, const std::string& b);

// ---- the card's volume ---------------------------------------------------------------------
// A volume as the clean-up recognises a card: its serial number and label.
struct VolumeId {
  bool known = false;
  DWORD serial = 0;
  std::string label;
  // Two known volumes alike; an unknown one is like none.
  bool Same(const VolumeId& o) const { return known && o.known && serial == o.serial && label == o.label; }
};
// The volume of a path's drive ("E:\..."); unknown when it can't be read (no medium).
VolumeId ReadVolumeId(const std::string& path);
// The upper-case drive letter of a path ("e:\x" -> 'E'), 0 for a path without one.
char DriveLetterOf(const std::string& path);

// What the card's clean-up did: how many files (or titles) it deleted and why the others
// stayed.
// kDiffers: the card file and its copy differ now, with nothing kept to tell which changed.
enum class KeptBecause { kOtherVolume, kChangedOnCard, kCopyChanged, kDiffers, kReadOnly, kNotDeleted, kCount };
struct CleanUpTally {
  size_t deleted = 0;
  size_t kept[static_cast<size_t>(KeptBecause::kCount)] = {};
  void Keep(KeptBecause why) { ++kept[static_cast<size_t>(why)]; }
  size_t Kept(KeptBecause why) const { return kept[static_cast<size_t>(why)]; }
  size_t KeptCount() const;
  void Add(const CleanUpTally& other);
};

// ---- the plan ----------------------------------------------------------------------------
struct CopyPlan {
  std::vector<std::string> sources, targets;          // pair i copies sources[i] to targets[i]
  std::vector<std::string> presentSources, presentTargets;  // identical file already there
  std::vector<std::string> failedSources;             // no free "(n)" left
  std::vector<std::string> keptSources, keptTargets;  // a file of that name already there, not copied
  std::set<std::string> checked;                      // upper-cased card paths; empty = all
  size_t renamed = 0;                                 // targets given a "(n)"
  std::map<char, VolumeId> volumes;                   // of each card planned, by drive letter
  int copyMode = 3;                                   // the duplicate rule the plan follows

  void Add(const std::string& source, const std::string& target, bool renamedTarget = false);
  bool IsPlanned(const std::string& target) const;  // any letter case
  void Clear();
  void ClearPairs();  // the pairs to copy alone

 private:
  std::set<std::string> m_planned;  // upper-cased targets
};
// The upper-cased form the checked set holds.
std::string UpperPath(std::string path);

enum class TargetAnswer { kUse, kPresent, kNoFreeNumber, kNameTaken };
// Where source goes when `wanted` is asked for: the wanted name while no file holds it and
// no planned target takes it; a planned one moves to the first free "(n)", n from `first`
// to 9999. A file already there is never replaced; the plan's duplicate rule says what
// happens instead:
//   3 (and 0), "no copy of the same file": identical content answers kPresent (the existing
//     path in *target), a different file moves to the first free "(n)";
//   2, "no copy of a file of the same name": identical content kPresent, a different file
//     under the wanted name kNameTaken (the file stays on the card uncopied; a "(n)" given
//     for a planned name goes on to the next);
//   1, "copy under another name": always the first free "(n)", identical or not.
// A book that knows the folder answers which names are taken instead of the disk.
TargetAnswer UniqueTarget(const std::string& source, const std::string& wanted, const CopyPlan& plan,
                          std::string* target, int first = 1, const FolderNameBook* known = nullptr);

// The files an import would take from the card at root ("E:\"), in listing order (DCIM
// folders by descending number, objects by descending number, then other files).
std::vector<std::string> ListCardSources(const std::string& cardRoot, const ImportSettings& s);
// The plan for a destination folder; only checked sources when plan->checked is set.
// With append the plan keeps what it holds (several cards into one folder). The card's
// volume is noted for the clean-up, and the plan takes the settings' duplicate rule.
void PlanCardCopy(const std::string& cardRoot, const std::string& destination, const ImportSettings& s,
                  CopyPlan* plan, bool append = false);

// CopyMode 0: a planned file whose identical copy lies anywhere under the destination
// (under its card name or a "(n)" of it) moves to the present pairs. Answers how many.
size_t ResolveCollisions(const std::string& destination, CopyPlan* plan);

}  // namespace cardtree
