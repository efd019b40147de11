#include "EntryEditRules.h"

#include <VxResourceIds.h>
#include <textkit/text.h>

#include <algorithm>
#include <cstring>

namespace entryedit {

std::string CutName(const std::string& name) { return textkit::CutToBytes(name, kNameBytes); }

std::string NameOfEntry(const std::string& entry, const std::string& firstEntry) {
  return entry == firstEntry ? std::string() : entry;
}

bool IsValidName(const std::string& name) {
  size_t i = 0;
  while (i < name.size() && (name[i] == ' ' || name[i] == '\t' || name[i] == '\r' || name[i] == '\n')) ++i;
  return !textkit::HasCharOf(name.substr(i), "/*?\"|<>");
}

int DaysInMonth(int year, int month) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 31;
  if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) return 29;
  return days[month - 1];
}

int YearOf(const std::string& text) {
  if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
  const int year = atoi(text.c_str());
  return year >= kFirstYear && year <= kLastYear ? year : 0;
}

std::string DigitsOnly(const std::string& text, bool* bad) {
  const size_t cut = text.find_first_not_of("0123456789");
  if (bad) *bad = cut != std::string::npos;
  return cut == std::string::npos ? text : text.substr(0, cut);
}

RECT ThumbnailSource(const RECT& face) {
  RECT r = {std::max(0L, face.left - kThumbMargin), std::max(0L, face.top - kThumbMargin),
            std::min(639L, face.right + kThumbMargin), std::min(479L, face.bottom + kThumbMargin)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

namespace {

bool SameNoCase(const std::string& a, const std::string& b) { return _stricmp(a.c_str(), b.c_str()) == 0; }

// The checks a name passes before it is used: 816 or 817, else 0.
UINT CheckName(const std::string& name, const std::string& firstEntry) {
  if (!IsValidName(name)) return IDS_ENTRY_NAME_INVALID;
  if (name.empty() || SameNoCase(name, firstEntry)) return IDS_ENTRY_NAME_EMPTY;
  return 0;
}

}  // namespace

SaveDecision CheckSave(const SaveCheck& c) {
  SaveDecision d;
  if (c.shown.empty()) return d;
  if (c.birthday && (!YearOf(c.year) || c.month.empty() || c.day.empty())) {
    d.message = IDS_ENTRY_BIRTHDAY_INCOMPLETE;
    return d;
  }
  if ((d.message = CheckName(c.name, c.firstEntry)) != 0) return d;
  if (!c.nameListed && c.listedNames >= kMaxNames) {
    d.message = IDS_ENTRY_TOO_MANY;
    return d;
  }
  for (const std::string& path : c.shown) {
    const bool stored = std::any_of(c.stored.begin(), c.stored.end(), [&](const std::string& s) { return SameNoCase(s, path); });
    d.isNew.push_back(!stored);
    if (!stored) ++d.newCount;
  }
  if (d.newCount + (int)c.stored.size() > kMaxFaces) d.message = IDS_ENTRY_TOO_MANY;
  return d;
}

UINT CheckAddName(const std::string& name, const std::vector<std::string>& names) {
  if (!IsValidName(name)) return IDS_ENTRY_NAME_INVALID;
  if (name.empty()) return IDS_ENTRY_NAME_EMPTY;
  if (std::find(names.begin(), names.end(), name) != names.end()) return IDS_ENTRY_NAME_EXISTS;
  return 0;
}

UINT CheckDeleteName(const std::string& name, const std::string& firstEntry) { return CheckName(name, firstEntry); }

bool AcceptsPicture(const std::string& path, bool engineReads) {
  const char* dot = strrchr(path.c_str(), '.');
  const char* slash = strrchr(path.c_str(), '\\');
  const std::string ext = dot && (!slash || dot > slash) ? dot : "";
  for (const char* refused : {".ped", ".gif", ".png", ".mov"})
    if (SameNoCase(ext, refused)) return false;
  return engineReads || SameNoCase(ext, ".raw") || SameNoCase(ext, ".dng");
}

RECT OnScreen(const RECT& f) {
  return RECT{kPictureLeft + f.left / 2, kPictureTop + f.top / 2, kPictureLeft + f.right / 2, kPictureTop + f.bottom / 2};
}

int FaceAt(const std::vector<RECT>& faces, POINT pt) {
  for (size_t i = 0; i < faces.size(); ++i) {
    const RECT r = OnScreen(faces[i]);
    if (pt.x > r.left && pt.x < r.right && pt.y > r.top && pt.y < r.bottom) return (int)i;
  }
  return -1;
}

}  // namespace entryedit
