// The rename run: every listed file moves to a temporary name in its own folder, then
// every file this run moved goes on to its final name, so that files can swap names.
// A ".cont" file brings its member files and its stored title along (ContRename.h).
// Windowless: the dialog hands in a host for the question, the progress and the pump.
#pragma once

#include <string>
#include <vector>

#include "RenameRules.h"

namespace renameengine {

struct Item {
  std::string oldPath;
  std::string newName;  // without extension: the preview list's column 1
};

class Host {
 public:
  virtual ~Host() {}
  // Between files, so that windows keep painting.
  virtual void Pump() {}
  // The read-only question for a file (names only, no folders); many: the list holds
  // more than one file, so the answers for all files are offered.
  virtual renamerules::ReadOnlyAnswer AskReadOnly(const std::string& oldName, const std::string& newName,
                                                  bool many) = 0;
  // One move attempt done.
  virtual void Step() {}
  // A file moved on disk: the photo database follows.
  virtual void Moved(const std::string& from, const std::string& to) = 0;
  // The ".cont" handling setting ("ContName").
  virtual int ContNameSetting() { return 0; }
  // The content-information library's full path.
  virtual std::string ClipFactsPath() = 0;
  // A final name that means "leave this file" (the tool's skip text).
  virtual std::string SkipText() { return std::string(); }
};

struct Result {
  int successes = 0;  // files moved to their temporary name
  int failures = 0;   // moves that failed in either pass, and refused names
  // Files that stay under a temporary name (their put-back failed too).
  std::vector<std::string> leftTemporary;
};

Result Run(const std::vector<Item>& items, Host& host);

}  // namespace renameengine
