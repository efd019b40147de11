#include "RenameRules.h"

#include <textkit/path.h>
#include <textkit/text.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace renamerules {

std::string NumberPart(const NumberPattern& pattern, int k) {
  long long number = (long long)pattern.start + (long long)pattern.step * k;
  std::string digits = std::to_string(number);
  int zeros = pattern.length - (int)digits.size();
  std::string padded = (zeros > 0 ? std::string(zeros, '0') : std::string()) + digits;
  if (pattern.position == 0 && pattern.after.empty()) return padded + pattern.before;
  return pattern.before + padded + pattern.after;
}

std::string NewName(const std::string& base, const NumberPattern& pattern, int k) {
  std::string number = NumberPart(pattern, k);
  return pattern.position == 0 ? number + base : base + number;
}

std::vector<std::string> DecorationItems(const std::string& noneText, const std::string& list) {
  std::vector<std::string> items{noneText};
  if (list.empty()) return items;
  for (const std::string& part : textkit::Split(list, '\\')) items.push_back(part);
  return items;
}

void SplitDecoration(const std::string& item, int index, std::string* before, std::string* after) {
  before->clear();
  after->clear();
  if (index <= 0) return;
  size_t blank = textkit::Find(item, ' ');
  if (blank == std::string::npos) {
    *after = item;
    return;
  }
  *before = item.substr(0, blank);
  *after = item.substr(blank + 1);
}

PathParts SplitPath(const std::string& path) {
  PathParts parts;
  size_t name = textkit::NameOffset(path);
  parts.folder = path.substr(0, name);
  std::string file = path.substr(name);
  size_t dot = textkit::FindLast(file, '.');
  if (dot == std::string::npos) {
    parts.title = file;
  } else {
    parts.title = file.substr(0, dot);
    parts.extension = file.substr(dot);
  }
  return parts;
}

int NameRoom(const std::string& path) {
  PathParts parts = SplitPath(path);
  return 250 - (int)(parts.folder.size() + parts.extension.size());
}

bool CutBaseName(std::string* text, int limit) {
  if (limit < 0 || text->size() <= (size_t)limit) return false;
  // A double-byte character that starts at the last kept byte stays whole.
  size_t keep = textkit::WholeCharPrefix(text->c_str(), text->size(), (size_t)limit);
  if (keep < (size_t)limit) keep = (size_t)limit + 1;
  if (keep >= text->size()) return false;
  text->resize(keep);
  return true;
}

bool RemoveForbidden(std::string* text) {
  static const char kForbidden[] = "\\/:*?\"<>|";
  std::string kept;
  bool removed = false;
  const std::string& s = *text;
  textkit::ForEachChar(s, [&](size_t i, size_t n) {
    if (n == 1 && s[i] && strchr(kForbidden, s[i])) {
      removed = true;
      return;
    }
    kept.append(s, i, n);
  });
  if (removed) *text = kept;
  return removed;
}

namespace {
int ReadNumber(const std::string& typed) {
  // ES_NUMBER keeps letters out of typing, not out of pasting: read the leading digits.
  long long value = 0;
  size_t i = 0;
  bool negative = false;
  if (i < typed.size() && typed[i] == '-') negative = true, ++i;
  for (; i < typed.size() && typed[i] >= '0' && typed[i] <= '9'; ++i) {
    value = value * 10 + (typed[i] - '0');
    if (value > 1000000000LL) value = 1000000000LL;
  }
  return (int)(negative ? -value : value);
}
}  // namespace

FieldValue ClampStart(const std::string& typed) {
  int v = ReadNumber(typed);
  if (v > 1000 || v < 0) return {1000, true};
  return {v, false};
}

FieldValue ClampLength(const std::string& typed) {
  int v = ReadNumber(typed);
  if (v <= 0) return {1, true};
  if (v > 9) return {9, true};
  return {v, false};
}

FieldValue ClampStep(const std::string& typed) {
  int v = ReadNumber(typed);
  if (v <= 0) return {1, true};
  if (v > 1000) return {1000, true};
  return {v, false};
}

PreviewRow ClassifyPreview(const std::string& newFileName, const std::string* foundName, bool foundIsListed) {
  if (!foundName) return PreviewRow::NewName;
  // Found under another spelling: a short name or a case variant stands in the way.
  if (*foundName != newFileName) return PreviewRow::Clash;
  return foundIsListed ? PreviewRow::NewName : PreviewRow::Foreign;
}

std::string TemporaryPath(const std::string& oldPath, int run, int j) {
  PathParts parts = SplitPath(oldPath);
  char name[48];
  snprintf(name, sizeof name, "renameerror%05d-%d", run, j);
  return parts.folder + name + parts.extension;
}

std::string RunPattern(const std::string& folder, int run) {
  char name[32];
  snprintf(name, sizeof name, "renameerror%05d-*", run);
  return folder + name;
}

int ChooseRunNumber(const std::vector<std::string>& folders, const std::function<bool(const std::string&)>& anyExists) {
  for (int run = 1; run < 100000; ++run) {
    bool taken = false;
    for (const std::string& folder : folders) {
      if (anyExists(RunPattern(folder, run))) {
        taken = true;
        break;
      }
    }
    if (!taken) return run;
  }
  return 100000;
}

bool IsAcceptableNewName(const std::string& newName, const std::string& extension) {
  if (newName.find_first_not_of('.') == std::string::npos) return false;
  return textkit::IsValidFileName(newName + extension);
}

ContAction ContActionFor(int contName) {
  switch (contName) {
    case 1:
      return ContAction::RenameAndTitle;
    case 4096:
      return ContAction::KeepNameSetTitle;
    default:
      return ContAction::Rename;
  }
}

bool ReadOnlyNeedsQuestion(ReadOnlyAnswer remembered) {
  return remembered != ReadOnlyAnswer::YesToAll && remembered != ReadOnlyAnswer::NoToAll;
}

bool ReadOnlyGoesOn(ReadOnlyAnswer answer) { return answer == ReadOnlyAnswer::Yes || answer == ReadOnlyAnswer::YesToAll; }

}  // namespace renamerules
