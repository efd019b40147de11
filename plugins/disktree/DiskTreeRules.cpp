#include "DiskTreeRules.h"

#include <VxResourceIds.h>
#include <shlobj.h>
#include <textkit/path.h>
#include <textkit/text.h>

#include <cstdio>

namespace disktree {

namespace {

// Whether needle starts at a character start of hay (folded texts of the same rule).
bool ContainsAtCharStart(const std::string& hay, const std::string& needle) {
  if (needle.empty()) return true;
  bool found = false;
  textkit::ForEachChar(hay, [&](size_t at, size_t) {
    if (!found && hay.compare(at, needle.size(), needle) == 0) found = true;
  });
  return found;
}

std::string StripTrailingSeparators(std::string s) {
  textkit::TrimTrailingSeparators(s);
  return s;
}

}  // namespace

bool IsDriveRoot(const std::string& path) { return path.size() == 3 && path[1] == ':'; }

size_t CharCount(const std::string& text) {
  size_t n = 0;
  textkit::ForEachChar(text, [&](size_t, size_t) { ++n; });
  return n;
}

bool SkipChild(const ChildFacts& c, bool excludeRemovable) {
  const ULONG a = c.attributes | SFGAO_HASSUBFOLDER;
  if (a == 0xB0000104) return true;
  if (!(a & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR))) return true;
  if (a & (SFGAO_GHOSTED | SFGAO_HIDDEN | SFGAO_LINK)) return true;
  // A root, the desktop directory and an unreadable path count as a folder.
  const bool trusted = IsDriveRoot(c.path) || c.desktopDirectory || c.fileAttributes == INVALID_FILE_ATTRIBUTES;
  if (!trusted && (c.fileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))) return true;
  if (excludeRemovable && c.removableDrive) return true;
  if (!(a & SFGAO_FOLDER)) return true;
  return !trusted ? !(c.fileAttributes & FILE_ATTRIBUTE_DIRECTORY) : false;
}

std::string DriveRootOfLabel(const std::string& label) {
  size_t at = label.find(":)");
  while (at != std::string::npos && at < 2) at = label.find(":)", at + 1);
  if (at == std::string::npos) return std::string();
  return label.substr(at - 1, 2) + "\\";
}

std::string ClassIdOfParsingPath(const std::string& path) {
  if (path.compare(0, 2, "::") == 0) return path.substr(path.rfind(':') + 1);
  return std::string();
}

NameRefusal CheckNewName(const std::string& itemPath, std::string* name) {
  if (name->empty()) return NameRefusal::Empty;
  std::string n = textkit::Trim(*name);
  while (!n.empty() && (n.back() == '.' || n.back() == ' ')) n.pop_back();
  if (n.empty()) return NameRefusal::NothingLeft;
  switch (textkit::CheckFileName(n)) {
    case textkit::NameFault::None: break;
    case textkit::NameFault::Empty:
    case textkit::NameFault::DotsAndBlanks:
    case textkit::NameFault::TrailingDotOrBlank: return NameRefusal::NothingLeft;
    case textkit::NameFault::ReservedDevice: return NameRefusal::Reserved;
    default: return NameRefusal::BadCharacter;
  }
  std::string folder = textkit::FolderPartOf(itemPath);
  if (CharCount(folder + n) > kMaxRenamedPath) return NameRefusal::TooLong;
  *name = n;
  return NameRefusal::None;
}

UINT RefusalString(NameRefusal refusal) {
  switch (refusal) {
    case NameRefusal::NothingLeft: return IDS_DISKTREE_NAME_EMPTY;
    case NameRefusal::BadCharacter: return IDS_DISKTREE_NAME_BAD_CHARS;
    case NameRefusal::TooLong: return IDS_DISKTREE_NAME_TOO_LONG;
    default: return 0;  // none, or a device name: the system's own text
  }
}

ULONG EditMask(const std::vector<MenuItemFacts>& items) {
  ULONG mask = SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANDELETE;
  for (const MenuItemFacts& f : items) {
    mask &= (f.shellAttributes & (SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANDELETE)) | 4;
    if (f.systemOrUnreadable || f.driveRoot) mask |= 4;
  }
  return mask;
}

FolderMenuGrey GreyFolderMenu(const FolderMenuState& s) {
  FolderMenuGrey g;
  const bool several = s.selectedCount > 1;
  const bool folderLike = (s.caretAttributes & SFGAO_FILESYSTEM) && (s.caretAttributes & SFGAO_HASPROPSHEET);
  g.grey[0] = several || !folderLike;
  g.grey[1] = several || !s.caretRenamable;
  const ULONG mask = EditMask(s.selected);
  const bool refused = (mask & 4) != 0;
  g.grey[3] = refused || !(mask & SFGAO_CANMOVE);
  g.grey[4] = refused || !(mask & SFGAO_CANCOPY);
  g.grey[5] = refused || !(mask & SFGAO_CANDELETE);
  g.grey[6] = several || !folderLike || (!s.clipboardHasFiles && (!s.editOpen || !s.clipboardHasText));
  g.grey[8] = !s.favouritesKey || s.caretDriveRoot || !s.caretAttributesReadable;
  if (s.caretVetoed)
    for (bool& b : g.grey) b = true;
  return g;
}

std::string SelectionText(const std::vector<SelectedItem>& items) {
  std::string text;
  bool first = true;
  for (const SelectedItem& i : items) {
    if (!i.root && !i.path) continue;
    if (!first) text += "|";
    text += i.root ? std::string(kDesktopEntry) : *i.path;
    first = false;
  }
  return text;
}

std::vector<std::string> DriveWalkComponents(const std::string& path) {
  std::vector<std::string> out;
  if (path.size() < 2 || path[1] != ':' || textkit::IsLeadByte(static_cast<unsigned char>(path[0]))) return out;
  std::string rest = path.substr(2);
  out.push_back(textkit::FoldCase(" (" + path.substr(0, 2) + ")"));
  for (const std::string& part : textkit::Split(rest, '\\'))
    if (!part.empty()) out.push_back(textkit::FoldCase(part));
  return out;
}

std::vector<std::string> ShellPathComponents(const std::string& path) {
  std::vector<std::string> parts = textkit::Split(path, '\\');
  parts.pop_back();  // the text after the last separator
  std::vector<std::string> out;
  for (std::string& p : parts)
    if (!p.empty()) out.push_back(std::move(p));
  return out;
}

bool DriveItemMatches(const std::string& itemText, const std::string& driveLabel) {
  const std::string text = textkit::FoldCase(itemText), label = textkit::FoldCase(driveLabel);
  if (text == label) return true;
  size_t colon = textkit::Find(label, ':');
  if (colon == std::string::npos || colon == 0) return false;
  return ContainsAtCharStart(text, label.substr(colon - 1, 2));
}

std::string NewFolderName(const std::string& base, int n) {
  return n <= 1 ? base : base + " (" + std::to_string(n) + ")";
}

UINT NewFolderErrorString(DWORD error) {
  switch (error) {
    case ERROR_ACCESS_DENIED: return IDS_DISKTREE_ACCESS_DENIED;
    case ERROR_WRITE_PROTECT: return IDS_DISKTREE_WRITE_PROTECTED;
    case ERROR_NOT_READY: return IDS_DISKTREE_NOT_READY;
    case ERROR_DISK_FULL: return IDS_DISKTREE_DISK_FULL;
    default: return 0;
  }
}

bool IsInsideAny(const std::string& target, const std::vector<std::string>& sources) {
  const std::string t = textkit::FoldCase(textkit::WithTrailingSeparator(target));
  for (const std::string& s : sources) {
    const std::string f = textkit::FoldCase(textkit::WithTrailingSeparator(s));
    if (t.compare(0, f.size(), f) == 0) return true;
  }
  return false;
}

DWORD DragEffect(const std::string& target, const std::vector<std::string>& sources, DWORD keyState) {
  if (sources.empty() || target.empty() || IsInsideAny(target, sources)) return DROPEFFECT_NONE;
  DWORD effect = DROPEFFECT_MOVE;
  const std::string drive = textkit::FoldCase(target.substr(0, 1));
  for (const std::string& s : sources)
    if (textkit::FoldCase(s.substr(0, 1)) != drive) effect = DROPEFFECT_COPY;
  if (keyState & MK_CONTROL) effect = DROPEFFECT_COPY;
  if (keyState & MK_SHIFT) effect = DROPEFFECT_MOVE;
  return effect;
}

void TintPixels(uint8_t* pixels, size_t count, COLORREF colour) {
  const double k = 0.00392156862745098;
  for (size_t i = 0; i < count; ++i) {
    uint8_t* p = pixels + i * 4;
    const double l = p[0] * k * 0.114 + p[1] * k * 0.587 + p[2] * k * 0.299;
    p[0] = static_cast<uint8_t>(GetBValue(colour) * l);
    p[1] = static_cast<uint8_t>(GetGValue(colour) * l);
    p[2] = static_cast<uint8_t>(GetRValue(colour) * l);
  }
}

int TintSlot(int currentImage, int imageCount) {
  if (currentImage >= kFirstTintSlot) return currentImage;
  return imageCount > kFirstTintSlot ? imageCount : kFirstTintSlot;
}

std::optional<std::string> MovedColourKey(const std::string& key, const std::string& oldPath,
                                          const std::string& newPath) {
  const std::string k = StripTrailingSeparators(key), o = StripTrailingSeparators(oldPath);
  if (o.empty() || k.size() < o.size()) return std::nullopt;
  const std::string head = k.substr(0, o.size());
  if (!textkit::EqualNoCase(head, o)) return std::nullopt;
  // The head must end at a character boundary and a separator must follow it.
  if (textkit::WholeCharPrefix(k.data(), k.size(), o.size()) != o.size()) return std::nullopt;
  if (k.size() == o.size()) return StripTrailingSeparators(newPath);
  if (k[o.size()] != '\\') return std::nullopt;
  return StripTrailingSeparators(newPath) + k.substr(o.size());
}

namespace {

struct CommandRow {
  int index;       // folder-menu position, -1 for none
  UINT contextId;  // context-menu command
  DWORD followUp;  // when the body succeeded
};
const CommandRow kCommands[] = {
    {0, ID_DISKTREE_CTX_NEW_FOLDER, kRefreshOtherTrees | kOpenCaret | kEditLabel},
    {1, ID_DISKTREE_CTX_RENAME, kEditLabel},
    {3, ID_DISKTREE_CTX_CUT, 0},
    {4, ID_DISKTREE_CTX_COPY, 0},
    {5, ID_DISKTREE_CTX_DELETE, kRefreshOtherTrees | kOpenCaret},
    {6, ID_DISKTREE_CTX_PASTE, kRefreshOtherTrees | kReloadBrowser},
    {7, ID_DISKTREE_CTX_PROPERTIES, 0},
    {8, ID_DISKTREE_CTX_FAVORITE, kRefreshOtherTrees},
    {-1, ID_DISKTREE_CTX_COLOR, kRefreshOtherTrees},
};

}  // namespace

DWORD FolderMenuFollowUp(int index, HRESULT bodyResult) {
  if (bodyResult != S_OK) return 0;
  for (const CommandRow& r : kCommands)
    if (r.index >= 0 && r.index == index) return r.followUp;
  return 0;
}

DWORD ContextMenuFollowUp(UINT id, HRESULT bodyResult) {
  if (bodyResult != S_OK) return 0;
  for (const CommandRow& r : kCommands)
    if (r.contextId == id) return r.followUp;
  return 0;
}

UINT ContextCommandOfIndex(int index) {
  for (const CommandRow& r : kCommands)
    if (r.index >= 0 && r.index == index) return r.contextId;
  return 0;
}

bool SameFolder(const std::string& a, const std::string& b) {
  auto cut = [](std::string s) {
    if (!s.empty() && s.back() == '\\' && textkit::FindLast(s, '\\') == s.size() - 1) s.pop_back();
    return s;
  };
  return !a.empty() && textkit::EqualNoCase(cut(a), cut(b));
}

std::string ShortSize(long long bytes, int* unit) {
  double x = static_cast<double>(bytes);
  int u = 0;
  while (x >= 1024 && u < 4) {
    x *= 1.0 / 1024;
    ++u;
  }
  char buf[64];
  snprintf(buf, sizeof buf, "%f", x);
  std::string s = std::string(buf).substr(0, 4);
  if (s.size() > 3 && s[3] == '.') {
    s.resize(3);
  } else if (u == 0) {
    size_t dot = s.find('.');
    if (dot != std::string::npos) s.resize(dot);
  }
  *unit = u;
  return s;
}

std::string CutLocaleFraction(const std::string& formatted, int fractionDigits, const std::string& decimalSeparator) {
  std::string s = formatted;
  if (fractionDigits > 0) {
    size_t cut = static_cast<size_t>(fractionDigits) + decimalSeparator.size();
    s = cut >= s.size() ? std::string() : s.substr(0, s.size() - cut);
  }
  return s.empty() ? "0" : s;
}

RECT StandardColourButtonRect(const RECT& ok, const RECT& cancel, const RECT& custom) {
  RECT r;
  r.left = cancel.left + (cancel.right - ok.right);
  r.top = cancel.top;
  r.right = custom.right;
  r.bottom = cancel.bottom;
  return r;
}

ButtonFont StandardColourButtonFont(const std::string& charsetName) {
  if (textkit::EqualNoCase(charsetName, "SHIFTJIS_CHARSET")) return {SHIFTJIS_CHARSET, -12};
  return {ANSI_CHARSET, -10};
}

}  // namespace disktree
