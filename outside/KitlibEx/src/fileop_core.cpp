#include "fileop_core.h"

#include <shellapi.h>

#include <cstring>
#include <set>

#include <textkit/textkit.h>

namespace kitlibex {

namespace {

const char kCopySuffix[] = " - コピー";

void SplitName(const std::string& name, bool isFolder, std::string* stem, std::string* ext) {
  *ext = isFolder ? std::string() : textkit::ExtensionOf(name);
  *stem = name.substr(0, name.size() - ext->size());
  if (stem->empty()) {  // ".profile": the whole name is the stem
    *stem = name;
    ext->clear();
  }
}

std::string Key(const std::string& path) { return textkit::FoldCase(path); }

// `inner` lies at or below `outer`.
bool IsSameOrBelow(const std::string& inner, const std::string& outer) {
  std::string a = Key(inner), b = Key(outer);
  if (a == b) return true;
  return a.size() > b.size() && a.compare(0, b.size(), b) == 0 && a[b.size()] == '\\';
}

}  // namespace

DWORD DiskAttributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

std::vector<std::string> SplitMultiString(const char* list, size_t maxItems) {
  std::vector<std::string> items;
  if (!list) return items;
  for (const char* p = list; *p && items.size() < maxItems; p += strlen(p) + 1) items.push_back(p);
  return items;
}

std::string JoinMultiString(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& s : items) {
    out += s;
    out += '\0';
  }
  out += '\0';
  return out;
}

PlanError PlanCopyMove(UINT func, const std::vector<std::string>& sources, const std::vector<std::string>& targets,
                       bool multiDest, const AttributeProbe& probe, std::vector<PlannedMove>* plan) {
  plan->clear();
  if (sources.empty()) return PlanError::NoSource;
  if (targets.empty() || targets[0].empty()) return PlanError::NoTarget;
  // One full target per source; a single target that is an existing folder stays a folder.
  bool perFile = multiDest && targets.size() == sources.size();
  if (perFile && sources.size() == 1) {
    DWORD t = probe(targets[0]);
    perFile = t == INVALID_FILE_ATTRIBUTES || !(t & FILE_ATTRIBUTE_DIRECTORY);
  }
  std::set<std::string> planned;  // normalised targets taken by this plan
  for (size_t i = 0; i < sources.size(); ++i) {
    std::string src = sources[i];
    textkit::TrimTrailingSeparators(src);
    DWORD attr = probe(src);
    if (attr == INVALID_FILE_ATTRIBUTES) return PlanError::NoSource;
    bool isFolder = (attr & FILE_ATTRIBUTE_DIRECTORY) != 0;
    std::string wanted = perFile ? targets[i] : textkit::Join(targets[0], textkit::FileNameOf(src));
    textkit::TrimTrailingSeparators(wanted);
    std::string folder = textkit::FolderOf(wanted);
    if (isFolder && IsSameOrBelow(folder, src)) return PlanError::IntoItself;

    PlannedMove m;
    m.source = src;
    bool ontoItself = Key(wanted) == Key(src);
    if (ontoItself && func == FO_MOVE) {
      m.target = src;
      m.noOp = true;
      planned.insert(Key(src));
      plan->push_back(m);
      continue;
    }
    std::string stem, ext;
    SplitName(textkit::FileNameOf(wanted), isFolder, &stem, &ext);
    if (ontoItself) stem += kCopySuffix;
    std::string candidate = ontoItself ? textkit::Join(folder, stem + ext) : wanted;
    for (int n = 2; n < 100000; ++n) {
      bool taken = planned.count(Key(candidate)) != 0 || probe(candidate) != INVALID_FILE_ATTRIBUTES;
      if (!taken) break;
      candidate = textkit::Join(folder, stem + " (" + std::to_string(n) + ")" + ext);
    }
    m.target = candidate;
    planned.insert(Key(candidate));
    plan->push_back(m);
  }
  return PlanError::None;
}

FILEOP_FLAGS ShellFlagsForPlan(FILEOP_FLAGS callerFlags) {
  const FILEOP_FLAGS kept = FOF_SILENT | FOF_ALLOWUNDO | FOF_SIMPLEPROGRESS | FOF_NOERRORUI | FOF_NOCOPYSECURITYATTRIBS;
  return static_cast<FILEOP_FLAGS>((callerFlags & kept) | FOF_MULTIDESTFILES | FOF_NOCONFIRMATION |
                                   FOF_NOCONFIRMMKDIR);
}

}  // namespace kitlibex
