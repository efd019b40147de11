// Walking a JPEG's marker segments (never its entropy-coded data).
#include <cstring>
#include <functional>

#include "internal.h"

namespace imaging {
namespace detail {

namespace {
bool IsSof(uint8_t m) { return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC; }
}  // namespace

bool WalkJpegSegments(const ByteSource& src, const std::function<bool(uint8_t, uint64_t, uint64_t)>& segment) {
  uint8_t b[4];
  if (!src.Read(0, b, 2) || b[0] != 0xFF || b[1] != 0xD8) return false;
  uint64_t pos = 2;
  for (int guard = 0; guard < 100000; ++guard) {
    if (!src.Read(pos, b, 2) || b[0] != 0xFF) return true;
    // Fill bytes: any number of 0xFF before the marker code.
    while (b[1] == 0xFF) {
      ++pos;
      if (!src.Read(pos, b, 2)) return true;
    }
    uint8_t m = b[1];
    if (m == 0xD9 || m == 0xDA) return true;  // EOI, or SOS: the headers end
    if (m == 0x01 || (m >= 0xD0 && m <= 0xD7)) {
      pos += 2;
      continue;
    }
    if (!src.Read(pos + 2, b, 2)) return true;
    uint32_t len = uint32_t(b[0]) << 8 | b[1];
    if (len < 2) return true;
    uint64_t end = pos + 2 + len;
    if (end > src.Size() || !segment(m, pos, end)) return true;
    pos = end;
  }
  return true;
}

bool ScanJpeg(const ByteSource& src, JpegLayout* layout) {
  *layout = JpegLayout();
  bool frame = false;  // the first frame header was read
  return WalkJpegSegments(src, [&](uint8_t m, uint64_t pos, uint64_t end) {
    uint8_t b[6];
    const uint64_t body = pos + 4;
    const uint64_t len = end - pos - 2;
    if (m == 0xE0 && layout->insertPos == pos) {
      layout->insertPos = end;  // a new APP1 goes after the JFIF APP0
    } else if (m == 0xE1 && !layout->hasExif && len >= 2 + 6 + 8) {
      if (src.Read(body, b, 6) && memcmp(b, "Exif\0\0", 6) == 0) {
        layout->hasExif = true;
        layout->app1Pos = pos;
        layout->app1End = end;
        layout->tiffPos = body + 6;
        layout->tiffSize = uint32_t(len - 2 - 6);
      }
    } else if (IsSof(m) && !frame && len >= 8) {
      if (src.Read(body, b, 6)) {
        layout->height = b[1] << 8 | b[2];
        layout->width = b[3] << 8 | b[4];
        layout->components = b[5];
        frame = layout->width > 0 && layout->height > 0;
      }
    }
    return true;
  });
}

bool ReplaceJpegExif(const ByteSource& jpeg, const JpegLayout& layout, const std::vector<uint8_t>& tiff,
                     std::vector<uint8_t>* out) {
  size_t segment = 2 + 6 + tiff.size();
  if (segment > 0xFFFF) return false;
  uint64_t cut = layout.hasExif ? layout.app1Pos : layout.insertPos;
  uint64_t resume = layout.hasExif ? layout.app1End : layout.insertPos;
  out->clear();
  out->reserve(size_t(jpeg.Size() - (resume - cut)) + segment + 2);
  if (!AppendRange(jpeg, 0, cut, out)) return false;
  const uint8_t head[] = {0xFF, 0xE1, uint8_t(segment >> 8), uint8_t(segment), 'E', 'x', 'i', 'f', 0, 0};
  out->insert(out->end(), head, head + sizeof head);
  out->insert(out->end(), tiff.begin(), tiff.end());
  return AppendRange(jpeg, resume, jpeg.Size() - resume, out);
}

}  // namespace detail
}  // namespace imaging
