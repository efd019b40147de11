// The walks that select saved folders in the disk tree, over a small view of the tree so
// that the folder thread, the synchronous walk and the tests share them.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace disktree {

// What a walk needs of the host tree; every call is carried out by the tree's own thread.
class WalkTree {
 public:
  virtual ~WalkTree() {}
  virtual HTREEITEM Root() = 0;
  virtual HTREEITEM Caret() = 0;
  virtual HTREEITEM Parent(HTREEITEM item) = 0;
  virtual HTREEITEM FirstChild(HTREEITEM item) = 0;
  virtual HTREEITEM NextSibling(HTREEITEM item) = 0;
  virtual void Expand(HTREEITEM item) = 0;
  virtual std::string Text(HTREEITEM item) = 0;
  virtual ULONG Attributes(HTREEITEM item) = 0;
  // The item's parsing path ("" when it has none).
  virtual std::string ParsingPath(HTREEITEM item) = 0;
  // Clear every other item's selection and make item the caret.
  virtual void SelectAlone(HTREEITEM item) = 0;
  // Add item to the selection as the caret, keeping the others.
  virtual void AddToSelection(HTREEITEM item) = 0;
  // Make item the caret without touching the multi-selection (the synchronous walk).
  virtual void MakeCaret(HTREEITEM item) = 0;
};

enum WalkOutcome { kWalkFound = 0, kWalkNotFound = 1, kWalkStopped = 2 };
// A walk splits its path into at most this many components; more is no folder.
constexpr size_t kMaxWalkComponents = 260;

int SelectDrivePath(WalkTree& tree, const std::string& path, bool addToSelection, const volatile LONG* stop);
// networkName: the display name of the shell's network folder, put in front of "\\server".
int SelectShellPath(WalkTree& tree, const std::string& path, bool addToSelection, const volatile LONG* stop,
                    const std::string& networkName);
// The synchronous walk: 1 found (made the caret), 0 not.
int SelectPathNow(WalkTree& tree, const std::string& path);

// The whole selection text ("|"-separated entries) walked in order.
struct SelectionRun {
  int outcome = kWalkFound;
  bool postOpenFolder = false;  // tell the tree to open what got selected
  bool writeBack = false;       // store the text again as the saved selection
};
SelectionRun RunSelection(WalkTree& tree, const std::string& text, const volatile LONG* stop,
                          const std::string& networkName);

}  // namespace disktree
