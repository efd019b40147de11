#include "ImportDialogRules.h"

#include <VxResourceIds.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "ImportPlan.h"

namespace cardtree {

int CopyModeFromRulePosition(int position, int copyMode) {
  switch (position) {
    case 0: return 3;
    case 1: return 2;
    case 2: return 1;
    default: return copyMode;
  }
}

int RulePositionFromCopyMode(int copyMode) {
  switch (copyMode) {
    case 2: return 1;
    case 1: return 2;
    default: return 0;
  }
}

FolderBoxState FolderBoxesForMode(int backupMode, int fileNameMode) {
  const bool dated = backupMode == 1 || backupMode == 2;
  return {backupMode, dated ? fileNameMode : 1, dated, backupMode == 4};
}

FolderBoxState ClickFolderBox(FolderBox box, bool checked, int fileNameMode) {
  return FolderBoxesForMode(checked ? static_cast<int>(box) : 0, fileNameMode);
}

int FolderBoxOfMode(int backupMode) {
  switch (backupMode) {
    case 1: return IDC_IMPORT_MONTHLY;
    case 2: return IDC_IMPORT_DAILY;
    case 3: return IDC_IMPORT_TODAY;
    case 4: return IDC_IMPORT_NAMED;
    default: return 0;
  }
}

int ImportControlEnabling(int id, bool enable, bool withDriveAndClose, int backupMode, int copyMode,
                          bool datedFolderChecked) {
  switch (id) {
    case IDC_IMPORT_DRIVE:
    case IDCANCEL:
      return withDriveAndClose ? enable : -1;
    case IDC_IMPORT_FOLDER_NAME:
      return enable && backupMode == 4;
    case IDC_IMPORT_RULE_LIST:
      return enable && copyMode != 0;
    case IDC_IMPORT_NAME_BY_TIME:
      return enable && datedFolderChecked;
    case IDC_IMPORT_DESTINATION:
    case IDC_IMPORT_BROWSE:
    case IDC_IMPORT_DETAILS:
    case IDC_IMPORT_TODAY:
    case IDC_IMPORT_MONTHLY:
    case IDC_IMPORT_DAILY:
    case IDC_IMPORT_NAMED:
    case IDC_IMPORT_COPY_ALL:
    case IDC_IMPORT_COPY_RULE:
    case IDC_IMPORT_NAME_KEEP:
    case IDC_IMPORT_CLASSIFY_DATE:
    case IDC_IMPORT_CLASSIFY_MODEL:
    case IDC_IMPORT_CLASSIFY_SCENE:
    case IDC_IMPORT_CLASSIFY_FOLDER:
    case IDC_IMPORT_CLASSIFY_FACE:
    case IDC_IMPORT_CLASSIFY_PERSONAL:
    case IDC_IMPORT_KEYWORD:
    case IDC_IMPORT_CHECK_ALL:
    case IDC_IMPORT_UNCHECK_ALL:
    case IDOK:
      return enable;
    default:
      return -1;
  }
}

std::string DetailsCaption(const std::string& caption, bool detailsShown) {
  std::string core = caption;
  size_t first = core.find_first_not_of("< ");
  core = first == std::string::npos ? std::string() : core.substr(first);
  size_t last = core.find_last_not_of("> ");
  core = last == std::string::npos ? std::string() : core.substr(0, last + 1);
  return detailsShown ? "<< " + core : core + " >>";
}

void CollectKeywords(const std::string& value, const std::string& unknownKey, const std::string& unknownText,
                     std::vector<std::string>* list) {
  size_t start = 0;
  while (start <= value.size()) {
    size_t bar = value.find('|', start);
    if (bar == std::string::npos) bar = value.size();
    std::string piece = value.substr(start, bar - start);
    if (!piece.empty()) {
      if (!unknownKey.empty() && piece == unknownKey) piece = unknownText;
      if (std::find(list->begin(), list->end(), piece) == list->end()) list->push_back(piece);
    }
    start = bar + 1;
  }
}

StartRefusal CheckImportStart(size_t checkedCount, const std::string& keyword, const std::string& forbidden,
                              const std::string& destination, int backupMode, const std::string& folderName) {
  if (checkedCount == 0) return StartRefusal::kNothingChecked;
  // Double-byte characters hold trail bytes that look like ASCII; walk by character.
  for (size_t i = 0; i < keyword.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(keyword[i]);
    if (IsDBCSLeadByteEx(932, c) && i + 1 < keyword.size()) {
      ++i;
      continue;
    }
    if (forbidden.find(static_cast<char>(c)) != std::string::npos) return StartRefusal::kKeywordCharacters;
  }
  if (keyword.size() >= 65) return StartRefusal::kKeywordTooLong;
  if (destination.size() >= 260 || destination.size() < 2 || destination[1] != ':')
    return StartRefusal::kBadDestination;
  if (backupMode == 4 && !IsValidFolderName(folderName)) return StartRefusal::kBadFolderName;
  return StartRefusal::kNone;
}

std::string TrimDestination(const std::string& text, bool backslashes) {
  std::string s = text;
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
  if (!backslashes) return s;
  while (s.size() > 3 && s.back() == '\\') {
    // The last "\" may be the trail byte of a double-byte character.
    size_t i = 0;
    bool trail = false;
    while (i < s.size()) {
      if (IsDBCSLeadByteEx(932, static_cast<unsigned char>(s[i])) && i + 1 < s.size()) {
        trail = i + 1 == s.size() - 1;
        i += 2;
      } else {
        trail = false;
        ++i;
      }
    }
    if (trail) break;
    s.pop_back();
  }
  return s;
}

bool EnoughSpaceForImport(uint64_t freeBytes, uint64_t neededBytes) {
  return freeBytes >= neededBytes + kImportSpaceMargin;
}

int InitialDrivePosition(const std::string& storedDrive, const std::vector<char>& listed) {
  const char want = storedDrive.empty() ? (listed.empty() ? 0 : listed[0]) : storedDrive[0];
  for (size_t i = 0; i < listed.size(); ++i)
    if (toupper(static_cast<unsigned char>(listed[i])) == toupper(static_cast<unsigned char>(want)))
      return static_cast<int>(i);
  return 0;
}

int ListingPercent(int shown, int listed) {
  if (shown <= 0 || listed <= 0) return -1;
  return static_cast<int>(static_cast<long long>(shown) * 100 / listed);
}

std::string SizeNumberText(uint64_t size, int* unit) {
  double value = static_cast<double>(size);
  int i = 0;
  while (value >= 1024 && i < 4) {
    value /= 1024;
    ++i;
  }
  char text[64];
  snprintf(text, sizeof text, "%f", value);
  std::string s = std::string(text).substr(0, 4);
  const size_t point = s.find('.');
  if (point == 3) s = s.substr(0, 3);
  else if (i == 0 && point != std::string::npos) s = s.substr(0, point);
  if (unit) *unit = i;
  return s;
}

CopyDialogResult CopyResultOf(DWORD runError, bool cancelPressed, bool fileAbandoned) {
  if (runError == 0) return kCopyAll;
  if (cancelPressed && !fileAbandoned) return kCopyCancelled;
  return kCopyStopped;
}

DeletionOffer ImportDeletionOffer(int deletePass, bool filesListed, size_t copied, size_t present, bool copyFailed,
                                  size_t discImported, bool discRecordable) {
  DeletionOffer o;
  if (deletePass == 1) return o;
  o.files = filesListed && (copied + present) > 0 && !copyFailed;
  o.disc = discImported > 0 && discRecordable;
  return o;
}

std::vector<char> ImportDriveLetters(const std::vector<char>& cardDrives, const std::vector<char>& discDrives) {
  std::vector<char> letters;
  for (const std::vector<char>* from : {&cardDrives, &discDrives})
    for (char c : *from)
      if (isalpha(static_cast<unsigned char>(c)))
        letters.push_back(static_cast<char>(toupper(static_cast<unsigned char>(c))));
  std::sort(letters.begin(), letters.end());
  letters.erase(std::unique(letters.begin(), letters.end()), letters.end());
  return letters;
}

std::vector<std::pair<UINT, size_t>> KeptOnCardLines(const CleanUpTally& tally) {
  static const std::pair<KeptBecause, UINT> kLines[] = {
      {KeptBecause::kOtherVolume, IDS_IMPORT_KEPT_OTHER_CARD},
      {KeptBecause::kChangedOnCard, IDS_IMPORT_KEPT_CHANGED},
      {KeptBecause::kCopyChanged, IDS_IMPORT_KEPT_COPY_CHANGED},
      {KeptBecause::kDiffers, IDS_IMPORT_KEPT_DIFFERS},
      {KeptBecause::kReadOnly, IDS_IMPORT_KEPT_READ_ONLY},
      {KeptBecause::kNotDeleted, IDS_IMPORT_KEPT_NOT_DELETED},
  };
  std::vector<std::pair<UINT, size_t>> lines;
  for (const auto& l : kLines)
    if (tally.Kept(l.first)) lines.push_back({l.second, tally.Kept(l.first)});
  return lines;
}

}  // namespace cardtree
