// The conversion tool without windows: its setting and the converted copy of one file.
#pragma once
#include <windows.h>

#include <string>

#include <imaging/decode.h>

namespace convertkind {

// "Tool1\ConvertKind".
extern const char kSection[];

// The kinds, numbered as the toolbar's "Single" value numbers them.
enum Kind { KIND_JPEG = 1, KIND_BMP = 2, KIND_PNG = 3, KIND_TIFF = 4 };
// "Kind"; out of range it reads as JPEG.
int ReadKind();
void WriteKind(int kind);
imaging::ImageFormat FormatOfKind(int kind);

// Writes the picture in the kind into a free copy "<name><ext>" beside it (JPEG with
// the source's Exif). S_FALSE, writing nothing, when the file has that kind already.
// output: the file written.
HRESULT ConvertFile(const std::string& path, int kind, std::string* output);

}  // namespace convertkind
