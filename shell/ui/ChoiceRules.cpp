// The choice and input dialogs' decisions.
#include "ChoiceRules.h"

#include <VxResourceIds.h>

namespace choice {

TargetPlan PlanTarget(int kind, unsigned selected, unsigned marked) {
  TargetPlan p = {};
  p.showDialog = true;
  p.result = -1;
  p.markedDisabled = marked == 0;
  switch (kind) {
    case 0:
      p.showShown = true;
      p.groupHeight = 95;
      break;
    case 1:
      if (marked && selected) {
        p.groupHeight = 65;
        break;
      }
      p.showDialog = false;
      p.result = selected ? 1 : marked ? 5 : -1;
      return p;
    case 2:
      if (!marked && !selected) {
        p.showDialog = false;
        p.result = -2;
        return p;
      }
      p.showShown = true;
      p.shownDisabled = true;
      p.groupHeight = 95;
      break;
    case 3:
      p.showShown = true;
      p.showCheck = true;
      p.checkDisabled = marked != 0;
      p.groupHeight = 180;
      break;
    default:
      p.showDialog = false;
      return p;
  }
  p.initial = marked ? IDC_TARGET_MARKED : p.showShown ? IDC_TARGET_SHOWN : IDC_TARGET_MARKED;
  return p;
}

int TargetResult(const TargetChecks& c) {
  if (c.selected) return 1;
  if (c.marked) return 5;
  if (c.shown) return c.selectedOnly ? 6 : 0;
  if (c.all) return 2;
  return -1;
}

namespace {
bool HasAny(const CString& text, const CString& chars) { return !chars.IsEmpty() && text.FindOneOf(chars) >= 0; }
bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
}  // namespace

bool IsAcceptablePath(const CString& path, const CString& invalidChars) {
  // Absolute: a drive, a colon and a backslash; a relative "C:folder" or "folder" would
  // be taken from whatever the current folder happens to be.
  if (path.GetLength() < 3 || !IsDriveLetter(path[0]) || path[1] != ':' || path[2] != '\\') return false;
  if (path.Find("\\\\") >= 0) return false;
  return !HasAny(path.Mid(3), invalidChars);
}

std::vector<CString> Completions(const CString& text, const CString& invalidChars, const FileSystem& fs) {
  std::vector<CString> out;
  if (text.IsEmpty()) return fs.drives();
  out.push_back(text);
  if (text.GetLength() == 1 && IsDriveLetter(text[0])) {
    CString root = text + ":\\";
    if (fs.driveSearchable(root)) out.push_back(root);
    return out;
  }
  if (text.GetLength() == 2 && IsDriveLetter(text[0]) && text[1] == ':') {
    CString root = text + "\\";
    for (const CString& name : fs.folders(root)) out.push_back(root + name);
    return out;
  }
  int firstSlash = text.Find('\\');
  if (text[0] == '\\' || text.Find("\\\\") >= 0 || (firstSlash >= 0 && HasAny(text.Mid(firstSlash + 1), invalidChars)))
    return out;
  int last = text.ReverseFind('\\');
  if (last < 0) return out;
  CString parent = text.Left(last + 1);
  CString typed = text.Mid(last + 1);
  for (const CString& name : fs.folders(parent))
    if (typed.IsEmpty() || name.Left(typed.GetLength()).CompareNoCase(typed) == 0) out.push_back(parent + name);
  return out;
}

FileSystem RealFileSystem() {
  FileSystem fs;
  fs.drives = [] {
    std::vector<CString> drives;
    DWORD mask = ::GetLogicalDrives();
    for (int i = 0; i < 26; i++)
      if (mask & (1u << i)) drives.push_back(CString((char)('A' + i)) + ":\\");
    return drives;
  };
  fs.driveSearchable = [](const CString& root) {
    UINT type = ::GetDriveTypeA(root);
    return type != DRIVE_UNKNOWN && type != DRIVE_NO_ROOT_DIR;
  };
  fs.folders = [](const CString& folder) {
    std::vector<CString> names;
    WIN32_FIND_DATAA fd;
    CString pattern = folder;
    if (pattern.Right(1) != "\\") pattern += "\\";
    HANDLE h = ::FindFirstFileA(pattern + "*", &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (fd.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)) continue;
      if (lstrcmpA(fd.cFileName, ".") == 0 || lstrcmpA(fd.cFileName, "..") == 0) continue;
      names.push_back(fd.cFileName);
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
    return names;
  };
  return fs;
}

}  // namespace choice
