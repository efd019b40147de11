// Pictures for the slide-show tests.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <files.h>

#include <string>

namespace slidetest {

// A 24-bit bottom-up bitmap of w x h, grey.
inline void WriteBmp(const std::string& path, int w, int h) {
  int stride = (w * 3 + 3) & ~3;
  BITMAPFILEHEADER fh = {};
  BITMAPINFOHEADER ih = {};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(ih);
  fh.bfSize = fh.bfOffBits + stride * h;
  ih.biSize = sizeof(ih);
  ih.biWidth = w;
  ih.biHeight = h;
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  std::string data(reinterpret_cast<char*>(&fh), sizeof(fh));
  data.append(reinterpret_cast<char*>(&ih), sizeof(ih));
  data.append((size_t)stride * h, '\x80');
  ASSERT_TRUE(testsupport::WriteWholeFile(path, data));
}

}  // namespace slidetest
