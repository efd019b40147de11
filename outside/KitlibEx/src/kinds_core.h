// The support tests by file kind: decisions only, see <KitlibEx/Kinds.h> for the tables.
#pragma once
#include <windows.h>

#include <string>

namespace kitlibex {

// The kind bit of a path by its extension; 0 for an unknown kind.
DWORD KindOfPath(const std::string& path);

// The kind mask a filter argument stands for (a filter number or a mask itself).
// `any` is set for filter 0, which takes every file.
DWORD MaskOfFilter(DWORD filter, bool* any);

// Information flags of a kind bit (without the file's attributes).
DWORD InfoOfKind(DWORD kind);

// Decision of a support test: the kind of the path against the filter. `attributes`
// is the file's attributes, or INVALID_FILE_ATTRIBUTES when the file is not looked at
// (name-only test) or missing (`mustExist`).
bool IsSupported(const std::string& path, DWORD filter, DWORD attributes, bool mustExist, DWORD* info);

// Kinds that may be moved with the file operations: every media kind, companions excepted.
bool IsMovableKind(DWORD kind);

// The accepted kinds of a filter as text ("JPEG, TIFF, BMP"); "" for filter 0 and unknown filters.
std::string SupportText(DWORD filter);

}  // namespace kitlibex
