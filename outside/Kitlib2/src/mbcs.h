// Double-byte aware helpers for 8-bit path texts in the ANSI code page.
// A trail byte may be 0x5C ('\\') or a letter: every scan here steps over whole characters.
#pragma once
#include <string>

namespace kitlib {

bool IsLeadByte(unsigned char c);

// Position of the last '\\' or '/' that is a character of its own, or npos.
size_t LastSeparator(const std::string& s);

// Removes every trailing separator character (never a trail byte).
void TrimTrailingSeparators(std::string& s);

// Removes separators at the start.
void TrimLeadingSeparators(std::string& s);

// Upper-cases single-byte ASCII letters only; double-byte characters stay as they are.
std::string UpperAscii(const std::string& s);

// Normalised copy for comparing paths: ASCII letters upper-cased, '/' made '\\',
// and every double-byte character case-folded the way the file system compares names.
std::string NormalisePathText(const std::string& s);

// Folder part of a path (root keeps its backslash: "C:\\"), name part, extension (".jpg", or "").
std::string DirectoryOf(const std::string& path);
std::string FileNameOf(const std::string& path);
std::string ExtensionOf(const std::string& path);

bool EqualNoCase(const std::string& a, const std::string& b);

}  // namespace kitlib
