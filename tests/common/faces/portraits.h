// Pictures of faces made from the portrait fixture, for the tests of everything that finds
// faces: the portrait itself, and several copies of it side by side in one JPEG.
#pragma once
#include <imaging/decode.h>
#include <imaging/dib.h>
#include <imaging/encode.h>
#include <program.h>

#include <cstring>
#include <string>

namespace portraits {

// The fixture's path, or "" when set-up did not fetch it or the cascade is missing (the
// tests fail then: a missing fixture is no reason to skip).
inline std::string Portrait() {
  const std::string fixture = testsupport::Fixture("astronaut.png");
  if (GetFileAttributesA(fixture.c_str()) == INVALID_FILE_ATTRIBUTES ||
      GetFileAttributesA((testsupport::ProgramFolder() + "\\FaceCascade.dat").c_str()) == INVALID_FILE_ATTRIBUTES)
    return std::string();
  return fixture;
}

// copies of the portrait's head and shoulders (320 x 384 pixels each) side by side, saved
// as a JPEG at path: false when that failed.
inline bool SideBySide(const std::string& path, int copies) {
  imaging::Dib one;
  imaging::DecodeOptions options;
  if (imaging::DecodeFile(Portrait().c_str(), options, &one) != S_OK || one.Width() < 416 || one.Height() < 384)
    return false;
  const int x0 = 96, w = 320, h = 384;
  imaging::Dib row;
  if (!row.Create(w * copies, h, 24)) return false;
  for (int y = 0; y < h; ++y)
    for (int c = 0; c < copies; ++c) memcpy(row.Row(y) + (size_t)c * w * 3, one.Row(y) + x0 * 3, (size_t)w * 3);
  return imaging::SaveJpeg(row, path.c_str(), 92) == S_OK;
}

}  // namespace portraits
