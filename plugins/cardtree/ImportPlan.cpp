#include "ImportPlan.h"

#include <KitlibEx/KitlibEx.h>
#include <textkit/path.h>
#include <Kitlib2/CMDIB.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "CardRules.h"
#include "VerifiedCopy.h"

namespace cardtree {
namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return s;
}

bool IsDirectory(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Whether a file or folder holds the path's name: from the book when it knows the folder.
bool Exists(const std::string& path, const FolderNameBook* known) {
  return known && known->Knows(FolderOf(path)) ? known->Taken(path) : Exists(path);
}

struct Entry {
  std::string name;
  bool folder;
};
// The folder's entries in the file system's order, without "." entries and our own
// unfinished copies. error, when given, tells why there are none (0 when listed). A stop
// asked before each entry ends the listing there.
std::vector<Entry> Entries(const std::string& folder, DWORD* error = nullptr,
                           const std::function<bool()>& stop = nullptr) {
  std::vector<Entry> out;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (error) *error = h == INVALID_HANDLE_VALUE ? GetLastError() : 0;
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    if (stop && stop()) break;
    std::string n = fd.cFileName;
    if (n == "." || n == "..") continue;
    bool dir = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!dir && IsCopyTemporaryName(n)) continue;
    out.push_back({n, dir});
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return out;
}

// A destination folder's names, listed once while planning; a folder not there yet has none.
// One that can't be listed stays unknown: each of its names is asked of the disk.
void LearnFolder(const std::string& folder, FolderNameBook* known) {
  if (known->Knows(folder)) return;
  DWORD error = 0;
  std::vector<std::string> names;
  for (const Entry& e : Entries(folder, &error)) names.push_back(e.name);
  if (!error || error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND) known->Learn(folder, names);
}

int FolderNumber(const std::string& name) { return atoi(name.substr(0, 3).c_str()); }
int ObjectNumber(const std::string& name) {
  std::string base = BaseNameOf(name);
  return atoi(base.substr(base.size() - 4).c_str());
}

bool IsDigits(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}
bool IsNameChar(char c) { return isalnum(static_cast<unsigned char>(c)) || c == '_'; }

bool ValidDate(const SYSTEMTIME& t) {
  return t.wYear >= 1 && t.wYear <= 9999 && t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 && t.wDay <= 31;
}

// One file the walk takes: how its destination is found.
enum class Dating { kNone, kGroup, kIm, kMovie };
struct Item {
  std::string source;
  Dating dating = Dating::kNone;
  int group = -1;  // members of one DCF object share it
};

struct Walker {
  const ImportSettings& s;
  std::vector<Item> items;
  int groups = 0;

  int IsCardFolder(const std::string& path) const {
    return s.isCardFolder ? s.isCardFolder(path) : CMTLxIsCardFolder(path.c_str());
  }
  // A card folder's entries, as far as the settings' stop lets the walk go.
  std::vector<Entry> Listed(const std::string& folder) const { return Entries(folder, nullptr, s.stop); }

  // A numbered picture folder: its objects from the highest number down, then its other
  // files. Sub-folders are not entered.
  void DcfFolder(const std::string& folder) {
    std::vector<Entry> entries = Listed(folder);
    std::map<int, std::vector<std::string>, std::greater<int>> objects;
    std::vector<std::string> others;
    for (const Entry& e : entries) {
      if (e.folder) continue;
      if (IsDcfObjectName(BaseNameOf(e.name)))
        objects[ObjectNumber(e.name)].push_back(e.name);
      else
        others.push_back(e.name);
    }
    for (auto& o : objects) {
      int g = groups++;
      for (const std::string& n : o.second) items.push_back({folder + "\\" + n, Dating::kGroup, g});
    }
    for (const std::string& n : others) items.push_back({folder + "\\" + n});
  }

  // DCIM and the audio folders: picture folders in descending number order, other
  // sub-folders walked the same way, files taken as they are.
  void DcimFolder(const std::string& folder) {
    std::vector<Entry> entries = Listed(folder);
    std::vector<std::string> pictures;
    for (const Entry& e : entries) {
      std::string path = folder + "\\" + e.name;
      if (!e.folder) {
        items.push_back({path});
      } else if (IsCardFolder(path)) {
        DcimFolder(path);
      } else {
        pictures.push_back(e.name);
      }
    }
    std::stable_sort(pictures.begin(), pictures.end(),
                     [](const std::string& a, const std::string& b) { return FolderNumber(a) > FolderNumber(b); });
    for (const std::string& p : pictures) DcfFolder(folder + "\\" + p);
  }

  void ImFolder(const std::string& folder, bool dated) {
    for (const Entry& e : Listed(folder)) {
      std::string path = folder + "\\" + e.name;
      if (e.folder) {
        if (e.name[0] != '.') ImFolder(path, false);
      } else {
        items.push_back({path, dated ? Dating::kIm : Dating::kNone});
      }
    }
  }

  void ImFolders(const std::string& root) {
    for (const Entry& e : Listed(root)) {
      if (!e.folder || e.name.size() != 8 || Upper(e.name.substr(0, 2)) != "IM") continue;
      int n = atoi(e.name.substr(2, 2).c_str());
      if (!IsDigits(e.name.substr(2, 2)) || n < 1 || n > 99) continue;
      if (!std::all_of(e.name.begin() + 4, e.name.end(), IsNameChar)) continue;
      ImFolder(root + e.name, true);
    }
  }

  // Whether a folder directly under SD_VIDEO is a programme folder (the test reads the
  // name at its place under a drive root).
  static bool IsProgramme(const std::string& name) {
    return IsSdVideoProgramFolder(("X:\\SD_VIDEO\\" + name).c_str()) != 0;
  }
  static bool IsMovie(const std::string& name) {
    return IsSdVideoMovieName(BaseNameOf(name)) && Upper(GetExtension(name, 1)) == ".ASF";
  }

  // Everything of the SD-Video tree but the programme folders' movies.
  void SdVideoRest(const std::string& folder, bool programme) {
    for (const Entry& e : Listed(folder)) {
      std::string path = folder + "\\" + e.name;
      if (e.folder)
        SdVideoRest(path, folder.size() > 9 && Upper(FileNameOf(folder)) == "SD_VIDEO" && IsProgramme(e.name));
      else if (!(programme && IsMovie(e.name)))
        items.push_back({path});
    }
  }

  void SdVideo(const std::string& root) {
    std::string sd = root + "SD_VIDEO";
    if (!IsDirectory(sd)) return;
    for (const Entry& e : Listed(sd)) {
      if (!e.folder || !IsProgramme(e.name)) continue;
      std::string path = sd + "\\" + e.name;
      for (const Entry& f : Listed(path))
        if (!f.folder && IsMovie(f.name)) items.push_back({path + "\\" + f.name, Dating::kMovie});
    }
    SdVideoRest(sd, false);
  }

  void Card(std::string root) {
    if (!root.empty() && root.back() != '\\') root += '\\';
    if (IsDirectory(root + "DCIM")) DcimFolder(root + "DCIM");
    if (s.treeType & 0x1) ImFolders(root);
    if (s.treeType & 0x100) SdVideo(root);
    if (s.treeType & 0x2000000)
      for (const char* f : {"PRIVATE\\AU\\DF\\D_PA", "PRIVATE\\AU\\DF\\D_GR", "PRIVATE\\AU\\DF\\D_MA",
                            "PRIVATE\\AU\\DF\\D_US", "PRIVATE\\AU_INOUT", "MOBILE\\AU\\DF\\D_PA",
                            "MOBILE\\AU\\DF\\D_GR", "MOBILE\\AU\\DF\\D_MA", "MOBILE\\AU\\DF\\D_US", "MOBILE\\AU_INOUT"})
        if (IsDirectory(root + f)) DcimFolder(root + f);
  }

  bool Takes(const Item& it, const std::set<std::string>& checked) const {
    if ((s.copySupport < 0 || s.headless) && !HasSupportedExtension(it.source)) return false;
    return checked.empty() || checked.count(Upper(it.source)) != 0;
  }
};

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

bool IsPlanned(const CopyPlan& plan, const std::string& path) { return plan.IsPlanned(path); }

void AddPair(CopyPlan* plan, const std::string& source, const std::string& target, bool renamed) {
  plan->Add(source, target, renamed);
}

// One file to a wanted target through the collision rule.
void PlanOne(CopyPlan* plan, const std::string& source, const std::string& wanted, FolderNameBook* known) {
  LearnFolder(FolderOf(wanted), known);
  std::string target;
  switch (UniqueTarget(source, wanted, *plan, &target, 1, known)) {
    case TargetAnswer::kUse:
      AddPair(plan, source, target, target != wanted);
      break;
    case TargetAnswer::kPresent:
      plan->presentSources.push_back(source);
      plan->presentTargets.push_back(target);
      break;
    case TargetAnswer::kNoFreeNumber:
      plan->failedSources.push_back(source);
      break;
    case TargetAnswer::kNameTaken:
      plan->keptSources.push_back(source);
      plan->keptTargets.push_back(target);
      break;
  }
}

}  // namespace

// ---- names -------------------------------------------------------------------------------

int IsDcfObjectName(const std::string& b) {
  if (b.size() != 8) return 0;
  for (int i = 0; i < 4; ++i)
    if (!IsNameChar(b[i])) return 0;
  std::string num = b.substr(4);
  return IsDigits(num) && num != "0000" ? 1 : 0;
}

int IsSdVideoMovieName(const std::string& b) {
  if (b.size() != 6) return 0;
  std::string head = Upper(b.substr(0, 3)), num = b.substr(3);
  return head == "MOL" && IsDigits(num) && num != "000" ? 1 : 0;
}

std::string GetExtension(const std::string& name, int withDot) {
  std::string file = FileNameOf(name);
  size_t dot = file.rfind('.');
  if (dot == std::string::npos || dot == 0) return "";
  return file.substr(withDot ? dot : dot + 1);
}

std::string FileNameOf(const std::string& path) {
  return textkit::FileNameOf(path);
}

std::string FolderOf(const std::string& path) {
  size_t p = textkit::LastSeparator(path);
  return p == std::string::npos ? "" : path.substr(0, p);
}

std::string BaseNameOf(const std::string& name) {
  std::string file = FileNameOf(name);
  size_t dot = file.rfind('.');
  return dot == std::string::npos || dot == 0 ? file : file.substr(0, dot);
}

std::string FindCompanionJpeg(const std::string& path) {
  std::string base = BaseNameOf(path);
  if (!IsDcfObjectName(base)) return "";
  if (Upper(GetExtension(path, 1)) == ".JPG") return path;
  std::string folder = FolderOf(path);
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(Join(folder, "????" + base.substr(4) + ".JPG").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return "";
  std::string found;
  do {
    // The pattern's "?" also matches shorter names: only a whole object name counts.
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsDcfObjectName(BaseNameOf(fd.cFileName)) &&
        Upper(GetExtension(fd.cFileName, 1)) == ".JPG") {
      found = Join(folder, fd.cFileName);
      break;
    }
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return found;
}

int HasSupportedExtension(const std::string& name) {
  std::string e = Upper(GetExtension(name, 1));
  return e == ".JPG" || e == ".MOV" || e == ".TIF" || e == ".RAW" || e == ".DNG";
}

std::string SplitCopyNumber(const std::string& name, int* number) {
  *number = 0;
  std::string ext = GetExtension(name, 1);
  std::string stem = name.substr(0, name.size() - ext.size());
  if (stem.size() < 3 || stem.back() != ')') return name;
  size_t open = stem.rfind('(');
  if (open == std::string::npos || open == 0) return name;
  std::string digits = stem.substr(open + 1, stem.size() - open - 2);
  if (!IsDigits(digits) || digits.size() > 5 || digits[0] == '0') return name;
  *number = atoi(digits.c_str());
  return stem.substr(0, open) + ext;
}

std::string WithCopyNumber(const std::string& path, int number) {
  if (number <= 0) return path;
  std::string ext = GetExtension(path, 1);
  char n[16];
  snprintf(n, sizeof n, "(%d)", number);
  return path.substr(0, path.size() - ext.size()) + n + ext;
}

std::wstring NameKey(const std::string& name) {
  int n = MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), NULL, 0);
  std::wstring key(n > 0 ? n : 0, L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), &key[0], n);
  if (!key.empty()) CharUpperBuffW(&key[0], static_cast<DWORD>(key.size()));
  return key;
}

bool FolderNameBook::Knows(const std::string& folder) const { return m_folders.count(NameKey(folder)) != 0; }

void FolderNameBook::Learn(const std::string& folder, const std::vector<std::string>& names) {
  std::set<std::wstring>& known = m_folders[NameKey(folder)];
  for (const std::string& n : names) known.insert(NameKey(n));
}

bool FolderNameBook::Taken(const std::string& path) const {
  auto f = m_folders.find(NameKey(FolderOf(path)));
  return f != m_folders.end() && f->second.count(NameKey(FileNameOf(path))) != 0;
}

void FolderNameBook::Take(const std::string& path) {
  auto f = m_folders.find(NameKey(FolderOf(path)));
  if (f != m_folders.end()) f->second.insert(NameKey(FileNameOf(path)));
}

int IsValidFolderName(const std::string& text) {
  size_t start = text.find_first_not_of(' ');
  if (start == std::string::npos) return 0;
  std::string name = text.substr(start);
  if (name.size() >= 260 || name == "." || name == "..") return 0;
  if (name.back() == ' ' || name.back() == '.') return 0;  // the file system drops them
  for (size_t i = 0; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (IsDBCSLeadByte(c) && i + 1 < name.size()) {
      ++i;  // a trail byte may be "\" and is no separator
      continue;
    }
    if (c < 32 || strchr("\\/:*?\"<>|", c)) return 0;
  }
  return 1;
}

std::string JoinNulList(const std::vector<std::string>& entries) {
  std::string out;
  for (const std::string& e : entries) {
    out += e;
    out += '\0';
  }
  return out;
}

std::vector<std::string> SplitNulList(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\0', start);
    if (end == std::string::npos) end = text.size();
    if (end == start) break;  // the closing NUL of a double-NUL list
    out.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

// ---- dates ------------------------------------------------------------------------------

std::string FormatDateFolder(const std::string& date, int backupMode, const std::string& order) {
  if (backupMode == 1) {
    if (date.size() < 6) return date;
    std::string ym = date.substr(0, 6);
    return order == "0" || order == "1" ? ym.substr(4, 2) + ym.substr(0, 4) : ym;
  }
  if (date.size() < 8) return date;
  std::string y = date.substr(0, 4), m = date.substr(4, 2), d = date.substr(6, 2);
  if (order == "0") return m + d + y;
  if (order == "1") return d + m + y;
  return date.substr(0, 8);
}

int TimeOrderCode(int h, int m, int s) {
  if (m < h) return h < s ? 4 : (s < m ? 1 : 3);
  return s < h ? 2 : (m < s ? 6 : 5);
}

int SystemTimeOrderCode() {
  SYSTEMTIME probe;
  GetLocalTime(&probe);
  probe.wMilliseconds = 0;
  int pos[3];
  const WORD probes[3][3] = {{1, 2, 2}, {2, 1, 2}, {2, 2, 1}};
  for (int i = 0; i < 3; ++i) {
    probe.wHour = probes[i][0];
    probe.wMinute = probes[i][1];
    probe.wSecond = probes[i][2];
    char text[64] = "";
    if (!GetTimeFormatA(LOCALE_SYSTEM_DEFAULT, TIME_NOTIMEMARKER, &probe, NULL, text, sizeof text)) return 6;
    const char* one = strchr(text, '1');
    if (!one) return 6;
    pos[i] = static_cast<int>(one - text);
  }
  return TimeOrderCode(pos[0], pos[1], pos[2]);
}

std::string FormatTimeName(const std::string& t, int code) {
  if (t.size() < 6) return t;
  std::string h = t.substr(0, 2), m = t.substr(2, 2), s = t.substr(4, 2);
  switch (code) {
    case 1: return s + m + h;
    case 2: return s + h + m;
    case 3: return m + s + h;
    case 4: return m + h + s;
    case 5: return h + s + m;
    default: return h + m + s;
  }
}

bool ReadCaptureDate(const std::string& path, CaptureDate* out) {
  SYSTEMTIME t = {};
  out->hasExif = CCMDIB::GetDateTimeOriginal(path.c_str(), &t) >= 0 && ValidDate(t);
  if (!out->hasExif) {
    WIN32_FILE_ATTRIBUTE_DATA a;
    FILETIME local;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a) ||
        !FileTimeToLocalFileTime(&a.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &t) || !ValidDate(t))
      return false;
  }
  char d[16], tm[16];
  snprintf(d, sizeof d, "%04u%02u%02u", t.wYear, t.wMonth, t.wDay);
  snprintf(tm, sizeof tm, "%02u%02u%02u", t.wHour, t.wMinute, t.wSecond);
  out->date = d;
  out->time = tm;
  return true;
}

std::string LocaleTodayFolderName() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char today[16];
  snprintf(today, sizeof today, "%d%02d%02d", now.wYear, now.wMonth, now.wDay);
  return today;
}

ImportSettings LocaleImportSettings() {
  ImportSettings s;
  char order[8] = "";
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDATE, order, sizeof order)) s.dateOrder = order;
  s.timeOrder = SystemTimeOrderCode();
  s.today = LocaleTodayFolderName();
  return s;
}

void ClampImportSettings(ImportSettings* s) {
  if (s->backupMode < 0 || s->backupMode > 4) s->backupMode = 2;
  if (s->fileNameMode < 0 || s->fileNameMode > 1) s->fileNameMode = 1;
  if (s->copyMode < 0 || s->copyMode > 3) s->copyMode = 3;
  if (s->backupMode == 4 && !IsValidFolderName(s->folderName)) s->backupMode = 2;
  if (s->timeOrder < 1 || s->timeOrder > 6) s->timeOrder = 6;
}

std::string DateFolderName(const ImportSettings& s, const CaptureDate* d) {
  switch (s.backupMode) {
    case 1: return d ? FormatDateFolder(d->date.substr(0, 6), 1, s.dateOrder) : "";
    case 2: return d ? FormatDateFolder(d->date, 2, s.dateOrder) : "";
    case 3: return s.today;
    case 4: return s.folderName.substr(std::min(s.folderName.find_first_not_of(' '), s.folderName.size()));
    default: return "";
  }
}

std::string TimeFileName(const ImportSettings& s, const CaptureDate* d) {
  if (s.fileNameMode != 0 || !d) return "";
  if (s.backupMode == 1) return d->date.substr(6, 2) + FormatTimeName(d->time, s.timeOrder);
  if (s.backupMode == 2) return FormatTimeName(d->time, s.timeOrder);
  return "";
}

// ---- the card's volume ---------------------------------------------------------------------

char DriveLetterOf(const std::string& path) {
  if (path.size() < 2 || path[1] != ':' || !isalpha(static_cast<unsigned char>(path[0]))) return 0;
  return static_cast<char>(toupper(static_cast<unsigned char>(path[0])));
}

VolumeId ReadVolumeId(const std::string& path) {
  VolumeId v;
  const char drive = DriveLetterOf(path);
  if (!drive) return v;
  const char root[] = {drive, ':', '\\', 0};
  char label[MAX_PATH + 1] = "";
  // No error box for a drive without its medium.
  const UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS);
  v.known = GetVolumeInformationA(root, label, sizeof label, &v.serial, nullptr, nullptr, nullptr, 0) != FALSE;
  SetErrorMode(mode);
  if (v.known) v.label = label;
  return v;
}

size_t CleanUpTally::KeptCount() const {
  size_t n = 0;
  for (size_t k : kept) n += k;
  return n;
}

void CleanUpTally::Add(const CleanUpTally& other) {
  deleted += other.deleted;
  for (size_t i = 0; i < static_cast<size_t>(KeptBecause::kCount); ++i) kept[i] += other.kept[i];
}

// ---- identical files ---------------------------------------------------------------------

bool SameFileContent(const std::string& a, const std::string& b) {
  FileDigest da, db;
  if (!DigestFile(a, &da) || !DigestFile(b, &db)) return false;
  return da == db;
}

// ---- the plan ----------------------------------------------------------------------------

std::string UpperPath(std::string path) { return Upper(std::move(path)); }

void CopyPlan::Add(const std::string& source, const std::string& target, bool renamedTarget) {
  sources.push_back(source);
  targets.push_back(target);
  m_planned.insert(Upper(target));
  if (renamedTarget) ++renamed;
}

bool CopyPlan::IsPlanned(const std::string& target) const { return m_planned.count(Upper(target)) != 0; }

void CopyPlan::Clear() {
  ClearPairs();
  presentSources.clear();
  presentTargets.clear();
  failedSources.clear();
  keptSources.clear();
  keptTargets.clear();
  volumes.clear();
  renamed = 0;
}

void CopyPlan::ClearPairs() {
  sources.clear();
  targets.clear();
  m_planned.clear();
}

TargetAnswer UniqueTarget(const std::string& source, const std::string& wanted, const CopyPlan& plan,
                          std::string* target, int first, const FolderNameBook* known) {
  for (int n = 0; n <= kMaxCopyNumber; n = n == 0 ? std::max(first, 1) : n + 1) {
    std::string candidate = WithCopyNumber(wanted, n);
    if (IsPlanned(plan, candidate)) continue;
    if (Exists(candidate, known)) {
      if (plan.copyMode == 1 || IsDirectory(candidate)) continue;
      if (SameFileContent(source, candidate)) {
        *target = candidate;
        return TargetAnswer::kPresent;
      }
      if (plan.copyMode == 2 && n == 0) {
        *target = candidate;
        return TargetAnswer::kNameTaken;
      }
      continue;
    }
    *target = candidate;
    return TargetAnswer::kUse;
  }
  target->clear();
  return TargetAnswer::kNoFreeNumber;
}

std::vector<std::string> ListCardSources(const std::string& cardRoot, const ImportSettings& s) {
  Walker w{s, {}, 0};
  w.Card(cardRoot);
  std::vector<std::string> out;
  std::set<std::string> all;
  for (const Item& it : w.items)
    if (w.Takes(it, all)) out.push_back(it.source);
  return out;
}

void PlanCardCopy(const std::string& cardRoot, const std::string& destination, const ImportSettings& s,
                  CopyPlan* plan, bool append) {
  if (!append) plan->Clear();
  plan->copyMode = s.copyMode;
  if (const char drive = DriveLetterOf(cardRoot)) plan->volumes[drive] = ReadVolumeId(cardRoot);
  Walker w{s, {}, 0};
  w.Card(cardRoot);
  // Each destination folder is listed once (under Wine asking for a missing name reads the
  // whole folder).
  FolderNameBook known;

  for (size_t i = 0; i < w.items.size();) {
    const Item& it = w.items[i];
    if (it.dating == Dating::kGroup) {
      // The object's members: dated by the RAW or Exif member (the last one wins).
      size_t end = i;
      while (end < w.items.size() && w.items[end].group == it.group) ++end;
      CaptureDate date, d;
      bool dated = false;
      // Only the dated modes name folders or files by the capture date.
      const bool needsDate = s.backupMode == 1 || s.backupMode == 2;
      for (size_t k = i; k < end && needsDate; ++k) {
        std::string e = Upper(GetExtension(w.items[k].source, 1));
        if (s.readDate(w.items[k].source, &d) && (d.hasExif || e == ".RAW" || e == ".DNG")) {
          date = d;
          dated = true;
        }
      }
      std::string folder = Join(destination, DateFolderName(s, dated ? &date : nullptr));
      std::string newName = dated ? TimeFileName(s, &date) : "";
      std::vector<std::pair<std::string, std::string>> members;  // source, wanted target
      for (size_t k = i; k < end; ++k) {
        if (!w.Takes(w.items[k], plan->checked)) continue;
        const std::string& src = w.items[k].source;
        std::string name = newName.empty() ? FileNameOf(src) : newName + GetExtension(src, 1);
        members.push_back({src, Join(folder, name)});
      }
      if (s.dcfObject == 1 && members.size() > 1) {
        // One number for the whole object: the first at which each member's name is free
        // or, as the duplicate rule allows, already holds that member's identical copy (or
        // under rule 2 any file of the member's own name, which then stays uncopied).
        const int mode = plan->copyMode;
        auto fits = [&](const std::string& source, const std::string& c, int n) {
          LearnFolder(FolderOf(c), &known);
          if (IsPlanned(*plan, c)) return false;
          if (!Exists(c, &known)) return true;
          if (IsDirectory(c) || mode == 1) return false;
          return (mode == 2 && n == 0) || SameFileContent(source, c);
        };
        int n = 0;
        for (; n <= kMaxCopyNumber; ++n) {
          bool all = true;
          for (auto& m : members) {
            if (!fits(m.first, WithCopyNumber(m.second, n), n)) {
              all = false;
              break;
            }
          }
          if (all) break;
        }
        for (auto& m : members) {
          std::string c = WithCopyNumber(m.second, n);
          if (n > kMaxCopyNumber) {
            plan->failedSources.push_back(m.first);
          } else if (!Exists(c, &known)) {
            AddPair(plan, m.first, c, n > 0);
          } else if (mode == 2 && n == 0 && !SameFileContent(m.first, c)) {
            plan->keptSources.push_back(m.first);
            plan->keptTargets.push_back(c);
          } else {
            plan->presentSources.push_back(m.first);
            plan->presentTargets.push_back(c);
          }
        }
      } else {
        for (auto& m : members) PlanOne(plan, m.first, m.second, &known);
      }
      i = end;
      continue;
    }
    ++i;
    if (!w.Takes(it, plan->checked)) continue;
    std::string name = FileNameOf(it.source), folder = destination;
    if ((it.dating == Dating::kIm || it.dating == Dating::kMovie) && s.backupMode != 0) {
      // IM objects are dated by their JPEG; SD-Video movies by themselves. Any dated mode
      // files them under their capture day (month in mode 1).
      std::string dateSource = it.source;
      bool object = true;
      if (it.dating == Dating::kIm) {
        object = IsDcfObjectName(BaseNameOf(name)) != 0;
        std::string jpeg = FindCompanionJpeg(it.source);
        if (!jpeg.empty()) dateSource = jpeg;
      }
      CaptureDate d;
      if (object && s.readDate(dateSource, &d)) {
        std::string time = FormatTimeName(d.time, s.timeOrder), date = d.date;
        if (s.backupMode == 1) {
          time = d.date.substr(6, 2) + time;
          date = d.date.substr(0, 6);
        }
        folder = Join(destination, FormatDateFolder(date, s.backupMode == 1 ? 1 : 2, s.dateOrder));
        if (s.fileNameMode == 0) name = time + GetExtension(name, 1);
      }
    }
    PlanOne(plan, it.source, Join(folder, name), &known);
  }
}

namespace {
// Every file below a folder (hidden ones and our temporaries left out), by upper-cased
// name without its "(n)".
void IndexTree(const std::string& folder, std::multimap<std::string, std::string>* index) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    std::string n = fd.cFileName;
    if (n == "." || n == ".." || (fd.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)) continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      IndexTree(folder + "\\" + n, index);
    } else if (!IsCopyTemporaryName(n)) {
      int number = 0;
      index->insert({Upper(SplitCopyNumber(n, &number)), folder + "\\" + n});
    }
  } while (FindNextFileA(h, &fd));
  FindClose(h);
}

uint64_t SizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA a;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a)) return ~0ULL;
  return (static_cast<uint64_t>(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
}
}  // namespace

size_t ResolveCollisions(const std::string& destination, CopyPlan* plan) {
  std::multimap<std::string, std::string> index;
  IndexTree(destination, &index);
  CopyPlan kept = *plan;
  kept.ClearPairs();
  size_t moved = 0;
  for (size_t i = 0; i < plan->sources.size(); ++i) {
    const std::string& src = plan->sources[i];
    std::string found;
    uint64_t size = SizeOf(src);
    auto range = index.equal_range(Upper(FileNameOf(src)));
    for (auto it = range.first; it != range.second && found.empty(); ++it)
      if (SizeOf(it->second) == size && SameFileContent(src, it->second)) found = it->second;
    if (found.empty()) {
      kept.Add(src, plan->targets[i]);
    } else {
      kept.presentSources.push_back(src);
      kept.presentTargets.push_back(found);
      ++moved;
    }
  }
  *plan = kept;
  return moved;
}

}  // namespace cardtree
