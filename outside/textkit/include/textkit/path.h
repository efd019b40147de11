// Parts of 8-bit paths in the ANSI code page: a trail byte 0x5C is never a separator.
// Separators are "\" and "/"; a drive's colon ("C:name") ends the folder part too.
#pragma once

#include <string>

namespace textkit {

inline bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Offset of the last separator that is a character of its own, or npos.
size_t LastSeparator(const std::string& path);
// Offset where the name starts: after the last separator or a drive's colon.
size_t NameOffset(const std::string& path);

// The folder of a path without its trailing separator, except that a root keeps it:
// "C:\a\b.jpg" -> "C:\a", "C:\b.jpg" -> "C:\", "\b" -> "\", "C:b" -> "C:", "b" -> "".
std::string FolderOf(const std::string& path);
// Everything before the name, separator included: "C:\a\b.jpg" -> "C:\a\", "b" -> "".
std::string FolderPartOf(const std::string& path);
// "b.jpg" of "C:\a\b.jpg"; "" for a path that ends with a separator.
std::string FileNameOf(const std::string& path);
// The name's extension with its dot (".jpg"), or "" when the name has no dot.
std::string ExtensionOf(const std::string& path);
// The name without its extension ("b" of "C:\a\b.jpg"); a name that starts with its only
// dot (".profile") is kept whole.
std::string TitleOf(const std::string& path);

// folder + "\" + name, with one separator between ("C:" + "b" -> "C:\b"); an empty folder
// gives the name, an empty name the folder.
std::string Join(const std::string& folder, const std::string& name);

bool EndsWithSeparator(const std::string& path);
// The path with one trailing "\" (added when it ends with no separator).
std::string WithTrailingSeparator(const std::string& path);
// The path without trailing separators; a root keeps its own ("C:\", "\").
std::string WithoutTrailingSeparator(const std::string& path);
// Removes every trailing (leading) separator, roots' too.
void TrimTrailingSeparators(std::string& path);
void TrimLeadingSeparators(std::string& path);

// ---- names Windows refuses ----------------------------------------------------------------

enum class NameFault {
  None,
  Empty,
  DotsAndBlanks,       // only dots and blanks ("", ".", "..", " . ")
  ReservedDevice,      // CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, with or without extension
  ForbiddenCharacter,  // \ / : * ? " < > |
  ControlCharacter,    // a byte below 0x20
  TrailingDotOrBlank,  // Windows drops them, so the name written is not the one asked for
  BadText,             // a double-byte character cut or not of the code page
};

// The first fault that makes name (one name, no folder) unusable as a file name.
NameFault CheckFileName(const std::string& name);
inline bool IsValidFileName(const std::string& name) { return CheckFileName(name) == NameFault::None; }

}  // namespace textkit
