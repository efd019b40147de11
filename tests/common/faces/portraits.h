// Pictures of faces made from the portrait fixture, for the tests of everything that finds
// faces: the portrait itself, several copies of it side by side in one JPEG, and a crowd.
#pragma once
#include <imaging/decode.h>
#include <imaging/dib.h>
#include <imaging/encode.h>
#include <imaging/transform.h>
#include <gtest/gtest.h>
#include <program.h>

#include <cstring>
#include <string>

namespace portraits {

inline std::string Portrait() { return testsupport::Fixture("astronaut.png"); }

// The portrait (the fixture step copies it) and the face cascade (the build puts it beside
// the programs) are there: a face test without them fails, naming what is missing.
inline ::testing::AssertionResult Ready() {
  const std::string cascade = testsupport::ProgramFolder() + "\\FaceCascade.dat";
  for (const std::string& path : {Portrait(), cascade})
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
      return ::testing::AssertionFailure()
             << path << " is missing (tools/setup.sh fetches it, the build puts it in place)";
  return ::testing::AssertionSuccess();
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

// A crowd: cols x rows copies of the portrait's head (a 352-pixel square, each made 160
// pixels square) in a 640 x 480 JPEG at path; faces of about 48 pixels, found with a
// smallest face width of 40. False when that failed.
inline bool Crowd(const std::string& path, int cols, int rows) {
  imaging::Dib one, head, cell;
  imaging::DecodeOptions options;
  if (imaging::DecodeFile(Portrait().c_str(), options, &one) != S_OK || one.Width() < 432 || one.Height() < 352 ||
      cols * 160 > 640 || rows * 160 > 480 || !head.Create(352, 352, 24))
    return false;
  for (int y = 0; y < 352; ++y) memcpy(head.Row(y), one.Row(y) + 80 * 3, 352 * 3);
  imaging::Dib crowd;
  if (!imaging::Resize(head, 160, 160, &cell) || !crowd.Create(640, 480, 24)) return false;
  for (int y = 0; y < 480; ++y) memset(crowd.Row(y), 0x80, 640 * 3);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c)
      for (int y = 0; y < 160; ++y) memcpy(crowd.Row(r * 160 + y) + (size_t)c * 160 * 3, cell.Row(y), 160 * 3);
  return imaging::SaveJpeg(crowd, path.c_str(), 92) == S_OK;
}

}  // namespace portraits
