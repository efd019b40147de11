// The records a slide show is started with: one per picture (its path, the prepared
// image, the toolbar's value, the size, the crop rectangle and the Exif orientation) and
// one per music file.
#pragma once
#include <ICGBrowser.h>

#include <string>
#include <vector>

#include "SlideShowScenario.h"

namespace slideshow {

// The ints of a picture record after its two paths.
struct SlideTail {
  int value;  // the toolbar's value: the interval for plain slides, else 0
  int width, height;
  int left, top, right, bottom;  // the crop rectangle
  int orientation;                // the Exif orientation code, 1 when unknown
};
static_assert(sizeof(SlideTail) <= sizeof(((tagSLD_V_TYPE*)0)->tail), "tail of a slide record");

// The crop rectangle of a w x h picture: the camera's focus cell (column of columns, row
// of rows) when it reported one (focus >= 1) and the picture is upright as stored
// (orientation 1); else the whole picture, with w and h exchanged for orientations 6 and 8.
RECT CropRect(int w, int h, int orientation, int focus, int column, int columns, int row, int rows);

// What one picture needs to become a record: its facts as read from the file.
struct PictureFacts {
  int orientation;  // 1 when unknown
  int focus, column, columns, row, rows;
};

// The record of a picture; the prepared entry with the same path (without regard to
// case) gives the prepared path and the size when it was written.
tagSLD_V_TYPE MakeSlide(const SlidePicture& picture, const std::vector<SlideTempImage>& prepared,
                        const PictureFacts& facts);
tagSLD_A_TYPE MakeSound(const std::string& path);

// The orientation and focus of a picture file through the image and property readers.
PictureFacts ReadPictureFacts(const std::string& path);

}  // namespace slideshow
