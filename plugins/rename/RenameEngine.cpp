#include "RenameEngine.h"

#include <textkit/path.h>
#include <textkit/text.h>
#include <windows.h>

#include "ContRename.h"

namespace renameengine {

using namespace renamerules;

namespace {

bool AnyExists(const std::string& pattern) {
  WIN32_FIND_DATAA data;
  HANDLE h = ::FindFirstFileA(pattern.c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return false;
  ::FindClose(h);
  return true;
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

struct Names {
  std::string oldPath, finalPath, tempPath, newName, newFileName, extension;
};

Names NamesOf(const Item& item, int run, int j) {
  PathParts parts = SplitPath(item.oldPath);
  Names n;
  n.oldPath = item.oldPath;
  n.newName = item.newName;
  n.extension = parts.extension;
  n.newFileName = item.newName + parts.extension;
  n.finalPath = parts.folder + n.newFileName;
  n.tempPath = TemporaryPath(item.oldPath, run, j);
  return n;
}

// The final move of one file; false when its final name was not reached.
bool FinalMove(const Names& n, Host& host) {
  MovedFn moved = [&host](const std::string& from, const std::string& to) { host.Moved(from, to); };
  if (!textkit::EqualNoCase(textkit::ExtensionOf(n.oldPath), ".cont")) {
    if (::MoveFileA(n.tempPath.c_str(), n.finalPath.c_str())) {
      host.Moved(n.tempPath, n.finalPath);
      return true;
    }
    // Back under its old name, and the database with it.
    if (::MoveFileA(n.tempPath.c_str(), n.oldPath.c_str())) host.Moved(n.tempPath, n.oldPath);
    return false;
  }
  std::string dll = host.ClipFactsPath();
  switch (ContActionFor(host.ContNameSetting())) {
    case ContAction::Rename:
    case ContAction::RenameAndTitle: {
      bool ok = ContentRename(dll, n.tempPath, n.finalPath, n.oldPath, false, moved);
      if (!ok) {
        ContentRename(dll, n.finalPath, n.oldPath, n.oldPath, true, moved);
      } else if (ContActionFor(host.ContNameSetting()) == ContAction::RenameAndTitle) {
        SetStoredTitle(dll, n.finalPath, n.finalPath);
      }
      return ok;
    }
    case ContAction::KeepNameSetTitle:
      if (!::MoveFileA(n.tempPath.c_str(), n.oldPath.c_str()) && !::MoveFileA(n.tempPath.c_str(), n.oldPath.c_str()))
        return false;
      host.Moved(n.tempPath, n.oldPath);
      return SetStoredTitle(dll, n.oldPath, n.finalPath);
  }
  return false;
}

}  // namespace

Result Run(const std::vector<Item>& items, Host& host) {
  Result result;
  std::vector<std::string> folders;
  for (const Item& item : items) {
    std::string folder = SplitPath(item.oldPath).folder;
    bool known = false;
    for (const std::string& f : folders) known = known || textkit::EqualNoCase(f, folder);
    if (!known) folders.push_back(folder);
  }
  // Free in every folder of the list, so no leftover of an earlier run is taken for ours.
  int run = ChooseRunNumber(folders, AnyExists);
  std::string skip = host.SkipText();
  bool many = items.size() > 1;
  ReadOnlyAnswer remembered = ReadOnlyAnswer::None;
  std::vector<bool> moved(items.size(), false);

  for (size_t j = 0; j < items.size(); ++j) {
    host.Pump();
    Names n = NamesOf(items[j], run, (int)j);
    DWORD attributes = ::GetFileAttributesA(n.oldPath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
      ReadOnlyAnswer answer = remembered;
      if (ReadOnlyNeedsQuestion(remembered)) {
        answer = host.AskReadOnly(textkit::FileNameOf(n.oldPath), n.newFileName, many);
        remembered = answer;
      }
      if (!ReadOnlyGoesOn(answer)) continue;
    }
    // The skip text stands in the new-name column, never in a path.
    if (textkit::EqualNoCase(n.finalPath, n.oldPath) || (!skip.empty() && textkit::EqualNoCase(n.newName, skip)))
      continue;
    // A name that would leave the folder, name a stream or a device is refused untouched.
    if (!IsAcceptableNewName(n.newName, n.extension)) {
      ++result.failures;
      host.Step();
      continue;
    }
    if (::MoveFileA(n.oldPath.c_str(), n.tempPath.c_str())) {
      ++result.successes;
      moved[j] = true;
      host.Moved(n.oldPath, n.tempPath);
    } else {
      ++result.failures;
    }
    host.Step();
  }

  for (size_t j = 0; j < items.size(); ++j) {
    host.Pump();
    // Only what this run moved: a stranger's file of the same temporary name stays put.
    if (!moved[j]) continue;
    Names n = NamesOf(items[j], run, (int)j);
    if (!FinalMove(n, host)) ++result.failures;
    if (Exists(n.tempPath)) result.leftTemporary.push_back(n.tempPath);
    host.Step();
  }
  return result;
}

}  // namespace renameengine
