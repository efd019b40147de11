// Perceptual hash for similar-picture search: the DCT hash of the picture's
// 32 x 32 grey image (the 8 x 8 lowest frequencies compared with their median).
// Copies that were resized, recompressed or lightly retouched land a few bits
// apart; unrelated pictures about 32 bits apart.
#pragma once

#include <windows.h>

#include <cstdint>

#include "imaging/dib.h"

namespace imaging {

uint64_t PerceptualHash(const Dib& image);
// Decodes the file small (embedded thumbnail when present) and hashes it upright.
HRESULT PerceptualHashFile(const char* path, uint64_t* hash);
// Number of differing bits, 0..64.
int HashDistance(uint64_t a, uint64_t b);

}  // namespace imaging
