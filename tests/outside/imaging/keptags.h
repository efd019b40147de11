// Whether a picture tool's output kept its source's metadata: each block compared as the
// output's format holds it (metadata.h), for the imaging tests and every tool's tests.
#pragma once

#include <string>

namespace imgtest {

// "" when the output carries every block of the source that its format holds: the Exif's
// descriptive IFD0 tags, its Exif directory (the pixel size aside) and its GPS directory
// the same, the orientation 1; the XMP the same but for an orientation of 1; the IPTC
// datasets the same (PNG: none, BMP: nothing at all). Otherwise what was lost.
std::string LostTags(const std::string& source, const std::string& output);

}  // namespace imgtest
