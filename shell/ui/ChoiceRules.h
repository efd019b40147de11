// The choice and input dialogs' decisions, without windows: what the target choice shows
// for a request, what its answer is, which paths the path input accepts and which
// completions it offers.
#pragma once
#include <fw/fw.h>

#include <functional>
#include <vector>

namespace choice {

// The target choice for a kind of request and the counts of the browser.
struct TargetPlan {
  bool showDialog;
  int result;           // the answer when no dialog is shown
  bool showShown;       // option 1039 (the files of the view)
  bool shownDisabled;
  bool showCheck;       // check box 1112 (selected files only)
  bool checkDisabled;
  int groupHeight;
  UINT initial;         // the option checked at first
  bool markedDisabled;  // option 2000 without marks
};
TargetPlan PlanTarget(int kind, unsigned selected, unsigned marked);

// The answer of OK from the checked controls.
struct TargetChecks {
  bool selected;      // 1040
  bool marked;        // 2000
  bool shown;         // 1039
  bool selectedOnly;  // 1112
  bool all;           // 13014
};
int TargetResult(const TargetChecks& checks);

// A path the path input accepts: absolute ("X:\..."), no doubled "\", none of the
// invalid characters after the drive. Whether the folder exists is asked separately.
bool IsAcceptablePath(const CString& path, const CString& invalidChars);

// What the completion list needs of the file system.
struct FileSystem {
  std::function<std::vector<CString>()> drives;                       // "C:\", "E:\" ...
  std::function<bool(const CString& root)> driveSearchable;           // "C:\"
  std::function<std::vector<CString>(const CString& folder)> folders;  // visible sub-folder names
};
// The list for a typed text: the text itself first, then its completions.
std::vector<CString> Completions(const CString& text, const CString& invalidChars, const FileSystem& fs);
FileSystem RealFileSystem();

}  // namespace choice
