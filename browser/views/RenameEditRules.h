// The rename edit box's decisions, without windows: the text it opens with, which typed
// characters it takes, how long the text may grow, and the name it commits.
#pragma once
#include <fw/fw.h>

#include <string>

namespace renameedit {

// The characters no file name holds; the box refuses them as typed.
constexpr const char kForbidden[] = "\\?/><:\"|*";

// The text the box opens with: the display name without its extension, except for a
// content file (".cont", any case) and the "." entry, which keep their whole name.
std::string InitialText(const std::string& displayName, const std::string& extension);

// The extension added back to the typed text: the file's own, except for a content file.
std::string CommitName(const std::string& text, const std::string& extension);

// A typed character (one byte of WM_CHAR): refused when it is a forbidden character that
// does not follow a double-byte lead byte, or a "." typed into an empty box.
bool RefusesChar(unsigned char prevByte, unsigned char ch, bool boxEmpty);

// The text after the edit control took a character: refused when it begins with "." or
// holds a forbidden character (read as double-byte text, so that the second byte of a
// character such as U+8868 is no backslash).
bool RefusesText(const std::string& text);

// How many bytes the box takes so that the new path stays within 256 characters: 256 minus
// the path's length plus the length of the name without its extension. 0 or less leaves no
// room for any name: the rename is refused rather than left without a limit.
int TextLimit(int pathLength, int bareNameLength);

}  // namespace renameedit
