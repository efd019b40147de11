#include "FolderWalk.h"

#include <shlobj.h>
#include <textkit/path.h>
#include <textkit/text.h>

#include "DiskTreeRules.h"

namespace disktree {

namespace {

bool Stopped(const volatile LONG* stop) { return stop && *stop != 0; }

void Select(WalkTree& tree, HTREEITEM item, bool add) {
  if (add)
    tree.AddToSelection(item);
  else
    tree.SelectAlone(item);
}

std::string LastPart(const std::string& path) {
  std::string p = path;
  textkit::TrimTrailingSeparators(p);
  return textkit::FileNameOf(p);
}

// Descends from item through components[from..] matching each child by name; the last
// component's item is the result. Returns the outcome; *found gets the item.
template <class Name>
int Descend(WalkTree& tree, HTREEITEM item, const std::vector<std::string>& components, size_t from,
            const volatile LONG* stop, Name name, HTREEITEM* found) {
  for (size_t i = from; i < components.size(); ++i) {
    tree.Expand(item);
    HTREEITEM child = tree.FirstChild(item);
    for (;;) {
      if (Stopped(stop)) return kWalkStopped;
      if (!child) return kWalkNotFound;
      if (name(child) == components[i]) break;
      child = tree.NextSibling(child);
    }
    item = child;
  }
  *found = item;
  return kWalkFound;
}

}  // namespace

int SelectDrivePath(WalkTree& tree, const std::string& path, bool addToSelection, const volatile LONG* stop) {
  std::vector<std::string> components = DriveWalkComponents(path);
  if (components.empty() || components.size() > kMaxWalkComponents) return kWalkNotFound;
  HTREEITEM root = tree.Root();
  if (!root) return kWalkNotFound;
  tree.Expand(root);
  // The drives sit below the virtual top-level folders (the computer), from the first one on.
  HTREEITEM top = tree.FirstChild(root);
  while (top && (tree.Attributes(top) & SFGAO_FILESYSTEM)) {
    if (Stopped(stop)) return kWalkStopped;
    top = tree.NextSibling(top);
  }
  HTREEITEM drive = nullptr;
  for (; top && !drive; top = tree.NextSibling(top)) {
    tree.Expand(top);
    for (HTREEITEM c = tree.FirstChild(top); c; c = tree.NextSibling(c)) {
      if (Stopped(stop)) return kWalkStopped;
      if (DriveItemMatches(tree.Text(c), components[0])) {
        drive = c;
        break;
      }
    }
  }
  if (!drive) return kWalkNotFound;
  HTREEITEM found = nullptr;
  int outcome = Descend(
      tree, drive, components, 1, stop, [&](HTREEITEM c) { return textkit::FoldCase(LastPart(tree.ParsingPath(c))); },
      &found);
  if (outcome != kWalkFound) return outcome;
  if (components.size() == 1) tree.Expand(found);
  Select(tree, found, addToSelection);
  return kWalkFound;
}

int SelectShellPath(WalkTree& tree, const std::string& path, bool addToSelection, const volatile LONG* stop,
                    const std::string& networkName) {
  std::string p = path;
  if (!p.empty() && p[0] == '\\') p = networkName + p.substr(1);
  p = textkit::WithTrailingSeparator(textkit::WithoutTrailingSeparator(p));
  std::vector<std::string> components = ShellPathComponents(p);
  if (components.empty() || components.size() > kMaxWalkComponents) return kWalkNotFound;

  HTREEITEM top = tree.Caret() ? tree.Caret() : tree.Root();
  while (top && tree.Parent(top)) top = tree.Parent(top);
  if (!top) return kWalkNotFound;
  tree.Expand(top);
  auto matches = [&](HTREEITEM item) {
    std::string text = tree.Text(item);
    return textkit::EqualNoCase(text, path) || textkit::EqualNoCase(text, components[0]);
  };
  HTREEITEM start = nullptr;
  if (matches(top)) start = top;
  for (HTREEITEM c = tree.FirstChild(top); c && !start; c = tree.NextSibling(c)) {
    if (Stopped(stop)) return kWalkStopped;
    if (matches(c)) start = c;
  }
  for (HTREEITEM c = tree.FirstChild(top); c && !start; c = tree.NextSibling(c)) {
    tree.Expand(c);
    for (HTREEITEM g = tree.FirstChild(c); g && !start; g = tree.NextSibling(g)) {
      if (Stopped(stop)) return kWalkStopped;
      if (matches(g)) start = g;
    }
  }
  if (!start) return kWalkNotFound;
  tree.Expand(start);
  for (std::string& c : components) c = textkit::FoldCase(c);
  HTREEITEM found = nullptr;
  int outcome = Descend(
      tree, start, components, 1, stop, [&](HTREEITEM c) { return textkit::FoldCase(tree.Text(c)); }, &found);
  if (outcome != kWalkFound) return outcome;
  Select(tree, found, addToSelection);
  return kWalkFound;
}

int SelectPathNow(WalkTree& tree, const std::string& path) {
  std::vector<std::string> components = DriveWalkComponents(path);
  if (components.empty() || components.size() > kMaxWalkComponents) return 0;
  HTREEITEM root = tree.Root();
  if (!root) return 0;
  tree.Expand(root);
  tree.MakeCaret(root);
  HTREEITEM top = tree.FirstChild(root);
  while (top && (tree.Attributes(top) & SFGAO_FILESYSTEM)) top = tree.NextSibling(top);
  const std::string label = components[0];
  HTREEITEM drive = nullptr;
  for (; top && !drive; top = tree.NextSibling(top)) {
    tree.Expand(top);
    tree.MakeCaret(top);
    for (HTREEITEM c = tree.FirstChild(top); c && !drive; c = tree.NextSibling(c)) {
      std::string text = textkit::FoldCase(tree.Text(c));
      if (text == label || (text.size() >= 4 && text.compare(text.size() - 4, 4, label.substr(label.size() - 4)) == 0))
        drive = c;
    }
  }
  if (!drive) return 0;
  HTREEITEM item = drive;
  for (size_t i = 1; i < components.size(); ++i) {
    tree.Expand(item);
    tree.MakeCaret(item);
    HTREEITEM child = tree.FirstChild(item);
    while (child && textkit::FoldCase(LastPart(tree.ParsingPath(child))) != components[i])
      child = tree.NextSibling(child);
    if (!child) return 0;
    item = child;
  }
  tree.MakeCaret(item);
  return 1;
}

SelectionRun RunSelection(WalkTree& tree, const std::string& text, const volatile LONG* stop,
                          const std::string& networkName) {
  SelectionRun run;
  bool add = false;
  for (const std::string& entry : textkit::Split(text, '|')) {
    if (entry == kDesktopEntry) {
      HTREEITEM root = tree.Root();
      if (root) Select(tree, root, add);
      continue;
    }
    const bool drive =
        entry.size() >= 2 && entry[1] == ':' && !textkit::IsLeadByte(static_cast<unsigned char>(entry[0]));
    run.outcome =
        drive ? SelectDrivePath(tree, entry, add, stop) : SelectShellPath(tree, entry, add, stop, networkName);
    if (run.outcome != kWalkFound) break;
    add = true;
  }
  run.postOpenFolder = run.outcome != kWalkStopped;
  run.writeBack = run.outcome == kWalkFound;
  return run;
}

}  // namespace disktree
