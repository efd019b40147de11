#include "RenameEditRules.h"

#include <textkit/path.h>
#include <textkit/text.h>

namespace renameedit {

namespace {
bool IsContentExtension(const std::string& ext) { return textkit::EqualNoCase(ext, ".cont"); }
}  // namespace

std::string InitialText(const std::string& displayName, const std::string& extension) {
  if (displayName == "." || IsContentExtension(extension) || extension.empty()) return displayName;
  if (displayName.size() >= extension.size() &&
      textkit::EqualNoCase(displayName.substr(displayName.size() - extension.size()), extension))
    return displayName.substr(0, displayName.size() - extension.size());
  return displayName;
}

std::string CommitName(const std::string& text, const std::string& extension) {
  return IsContentExtension(extension) ? text : text + extension;
}

bool RefusesChar(unsigned char prevByte, unsigned char ch, bool boxEmpty) {
  if (ch && strchr(kForbidden, ch) && !textkit::IsLeadByte(prevByte)) return true;
  return boxEmpty && ch == '.';
}

bool RefusesText(const std::string& text) {
  if (!text.empty() && text[0] == '.') return true;
  return textkit::HasCharOf(text, kForbidden);
}

int TextLimit(int pathLength, int bareNameLength) { return 256 - pathLength + bareNameLength; }

}  // namespace renameedit
