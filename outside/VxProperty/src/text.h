// Text helpers of the property reader: encodings and small formatting pieces.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace vxprop {

// Strict UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(const std::string& s);
bool IsAscii(const std::string& s);
// UTF-8 / UTF-16 to the ANSI code page; characters it lacks become "?".
std::string Utf8ToAnsi(const std::string& s);
std::string WideToAnsi(const std::wstring& s);
std::string AnsiToUtf8(const std::string& s);
// Text of unknown origin (Exif ASCII fields, content files): UTF-8 when it is valid
// UTF-8 with non-ASCII characters, else taken as ANSI already.
std::string GuessToAnsi(const std::string& s);

std::string Trim(const std::string& s);
// The name after the last separator and the folder up to and including it, aware of
// code-page-932 trail bytes that look like "\".
std::string FileNameOf(const std::string& path);
std::string FolderOf(const std::string& path);
bool EqualNoCase(const std::string& a, const std::string& b);
bool EndsWithNoCase(const std::string& s, const char* suffix);

// "1,234,567".
std::string GroupDigits(uint64_t n);
// "YYYY/MM/DD HH:MM:SS".
std::string FormatDateTime(const SYSTEMTIME& t);
// Long date and time in the system's formats, "%s %s".
std::string FormatLongDateTime(const SYSTEMTIME& t);

}  // namespace vxprop
