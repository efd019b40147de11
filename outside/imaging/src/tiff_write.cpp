// Writing TIFF directories: Exif blocks made of a TIFF's tags, and the tools' TIFF files
// with the metadata of their source.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <new>

#include "imaging/encode.h"
#include "imaging/exif.h"
#include "imaging/metadata.h"
#include "internal.h"

namespace imaging {
namespace detail {

namespace {

constexpr uint16_t kTagXmp = 700, kTagIptc = 33723;

struct Dir {
  std::vector<TiffField>* fields;
  uint32_t pos = 0;
};

uint32_t Even(uint64_t n) { return uint32_t(n + n % 2); }

TiffField Numbers(uint16_t tag, uint16_t type, std::initializer_list<uint32_t> values, bool be) {
  TiffField f;
  f.tag = tag;
  f.type = type;
  // SHORTs take two bytes each; LONGs four, and a RATIONAL two of them.
  const size_t each = type == kTypeShort ? 2 : 4;
  f.value.resize(values.size() * each);
  f.count = uint32_t(f.value.size() / ExifTypeSize(type));
  size_t at = 0;
  for (uint32_t v : values) {
    if (each == 2)
      Put16(&f.value[at], uint16_t(v), be);
    else
      Put32(&f.value[at], v, be);
    at += each;
  }
  return f;
}

TiffField Short(uint16_t tag, uint32_t v, bool be) { return Numbers(tag, kTypeShort, {v}, be); }
TiffField Long(uint16_t tag, uint32_t v, bool be) { return Numbers(tag, kTypeLong, {v}, be); }

// The field of a tag in a list, or null.
const TiffField* FieldOf(const std::vector<TiffField>& fields, uint16_t tag) {
  for (const TiffField& f : fields)
    if (f.tag == tag) return &f;
  return nullptr;
}

void Replace(std::vector<TiffField>* fields, TiffField f) {
  fields->erase(std::remove_if(fields->begin(), fields->end(), [&](const TiffField& x) { return x.tag == f.tag; }),
                fields->end());
  fields->push_back(std::move(f));
}

}  // namespace

bool DescribesPicture(uint16_t tag) {
  // The layout on disk (size, samples, compression, strips and tiles, orientation,
  // resolution, colour maps, pages, old JPEG, YCbCr), the blocks kept apart (XMP, IPTC,
  // Photoshop's resources and layers) and the pointers to directories; ascending.
  // clang-format off
  static const uint16_t kNot[] = {
      254, 255, 256, 257, 258, 259, 262, 263, 264, 265, 266, 273, 274, 277, 278, 279, 280, 281, 282, 283,
      284, 288, 289, 290, 291, 292, 293, 296, 297, 317, 320, 321, 322, 323, 324, 325, 330, 332, 333, 334,
      336, 337, 338, 339, 340, 341, 347, 512, 513, 514, 515, 517, 518, 519, 520, 521, 529, 530, 531, 532,
      kTagXmp, kTagIptc, 34377, tag::kExifIfd, tag::kGpsIfd, 37724, tag::kInteropIfd};
  // clang-format on
  return !std::binary_search(std::begin(kNot), std::end(kNot), tag);
}

std::vector<TiffField> FieldsOf(const std::vector<ExifEntry>& entries, bool (*keep)(uint16_t tag)) {
  std::vector<TiffField> out;
  for (const ExifEntry& e : entries)
    if (keep(e.tag) && ExifTypeSize(e.type) && e.data.size() == size_t(e.count) * ExifTypeSize(e.type))
      out.push_back(TiffField{e.tag, e.type, e.count, e.data});
  return out;
}

std::vector<uint8_t> WriteTiff(TiffLayout t) {
  const bool be = t.bigEndian;
  // The pointers, and the strip's place, as fields whose values are filled in below.
  if (!t.interop.empty()) Replace(&t.exif, Long(tag::kInteropIfd, 0, be));
  if (!t.exif.empty()) Replace(&t.ifd0, Long(tag::kExifIfd, 0, be));
  if (!t.gps.empty()) Replace(&t.ifd0, Long(tag::kGpsIfd, 0, be));
  if (!t.strip.empty()) {
    Replace(&t.ifd0, Long(273, 0, be));
    Replace(&t.ifd0, Long(279, uint32_t(t.strip.size()), be));
  }
  if (t.ifd0.empty()) return {};
  Dir dirs[] = {{&t.ifd0}, {&t.exif}, {&t.interop}, {&t.gps}};
  uint64_t at = 8;
  for (Dir& d : dirs) {
    if (d.fields->empty()) continue;
    std::stable_sort(d.fields->begin(), d.fields->end(),
                     [](const TiffField& a, const TiffField& b) { return a.tag < b.tag; });
    d.fields->erase(std::unique(d.fields->begin(), d.fields->end(),
                                [](const TiffField& a, const TiffField& b) { return a.tag == b.tag; }),
                    d.fields->end());
    d.pos = Even(at);
    at = d.pos + 2 + 12 * uint64_t(d.fields->size()) + 4;
    for (const TiffField& f : *d.fields)
      if (f.value.size() > 4) at = Even(at) + f.value.size();
  }
  const uint64_t stripPos = Even(at);
  const uint64_t total = stripPos + t.strip.size();
  if (total > 0xFFFFFFFFull) return {};
  auto set = [&](std::vector<TiffField>* fields, uint16_t tag, uint32_t value) {
    for (TiffField& f : *fields)
      if (f.tag == tag) Put32(f.value.data(), value, be);
  };
  set(&t.ifd0, tag::kExifIfd, dirs[1].pos);
  set(&t.exif, tag::kInteropIfd, dirs[2].pos);
  set(&t.ifd0, tag::kGpsIfd, dirs[3].pos);
  set(&t.ifd0, 273, uint32_t(stripPos));

  std::vector<uint8_t> out(size_t(total), 0);
  out[0] = out[1] = be ? 'M' : 'I';
  Put16(&out[2], 42, be);
  Put32(&out[4], dirs[0].pos, be);
  for (const Dir& d : dirs) {
    if (d.fields->empty()) continue;
    uint8_t* p = &out[d.pos];
    Put16(p, uint16_t(d.fields->size()), be);
    uint64_t values = d.pos + 2 + 12 * uint64_t(d.fields->size()) + 4;
    for (size_t i = 0; i < d.fields->size(); ++i) {
      const TiffField& f = (*d.fields)[i];
      uint8_t* e = p + 2 + 12 * i;
      Put16(e, f.tag, be);
      Put16(e + 2, f.type, be);
      Put32(e + 4, f.count, be);
      if (f.value.size() <= 4) {
        if (!f.value.empty()) memcpy(e + 8, f.value.data(), f.value.size());
      } else {
        values = Even(values);
        Put32(e + 8, uint32_t(values), be);
        memcpy(&out[size_t(values)], f.value.data(), f.value.size());
        values += f.value.size();
      }
    }
    // No next directory: the file is one picture.
  }
  if (!t.strip.empty()) memcpy(&out[size_t(stripPos)], t.strip.data(), t.strip.size());
  return out;
}

}  // namespace detail

using detail::TiffField;

HRESULT EncodeTiff(const Dib& src, std::vector<uint8_t>* out, const PictureMetadata* metadata) {
  if (src.Empty() || !out) return E_INVALIDARG;
  const bool alpha = src.HasAlpha() && src.BitCount() == 32;
  const int w = src.Width(), h = src.Height(), samples = alpha ? 4 : 3, from = src.BytesPerPixel();
  Exif exif;
  const bool hasExif =
      metadata && !metadata->exif.empty() && exif.ParseTiff(metadata->exif.data(), metadata->exif.size());
  detail::TiffLayout t;
  const bool be = t.bigEndian = hasExif && exif.BigEndian();
  try {
    // One strip of R, G, B (and A) from the top row down.
    t.strip.resize(size_t(w) * h * samples);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  uint8_t* p = t.strip.data();
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = src.Row(y);
    for (int x = 0; x < w; ++x, row += from) {
      *p++ = row[2];
      *p++ = row[1];
      *p++ = row[0];
      if (alpha) *p++ = row[3];
    }
  }
  if (hasExif) {
    t.ifd0 = detail::FieldsOf(exif.Entries(ExifIfd::Ifd0), [](uint16_t tag) {
      return detail::DescribesPicture(tag) || tag == 282 || tag == 283 || tag == 296;
    });
    t.exif = detail::FieldsOf(exif.Entries(ExifIfd::Exif), [](uint16_t tag) { return tag != tag::kInteropIfd; });
    t.gps = detail::FieldsOf(exif.Entries(ExifIfd::Gps), [](uint16_t) { return true; });
    t.interop = detail::FieldsOf(exif.Entries(ExifIfd::Interop), [](uint16_t) { return true; });
    // The Exif's own record of the size is the picture's now.
    for (uint16_t tag : {tag::kPixelXDimension, tag::kPixelYDimension})
      if (detail::FieldOf(t.exif, tag))
        detail::Replace(&t.exif, detail::Long(tag, uint32_t(tag == tag::kPixelXDimension ? w : h), be));
  }
  if (!detail::FieldOf(t.ifd0, 282) || !detail::FieldOf(t.ifd0, 283)) {
    // 96 dots an inch, as the screen the picture was made on.
    for (uint16_t tag : {uint16_t(282), uint16_t(283)})
      detail::Replace(&t.ifd0, detail::Numbers(tag, kTypeRational, {96, 1}, be));
    detail::Replace(&t.ifd0, detail::Short(296, 2, be));
  }
  for (TiffField f : {detail::Long(256, uint32_t(w), be), detail::Long(257, uint32_t(h), be), detail::Short(259, 1, be),
                      detail::Short(262, 2, be), detail::Short(274, 1, be), detail::Short(277, uint32_t(samples), be),
                      detail::Long(278, uint32_t(h), be), detail::Short(284, 1, be)})
    detail::Replace(&t.ifd0, f);
  detail::Replace(&t.ifd0, alpha ? detail::Numbers(258, kTypeShort, {8, 8, 8, 8}, be)
                                 : detail::Numbers(258, kTypeShort, {8, 8, 8}, be));
  if (alpha) detail::Replace(&t.ifd0, detail::Short(338, 2, be));  // straight alpha
  if (metadata && !metadata->xmp.empty())
    detail::Replace(&t.ifd0, TiffField{700, kTypeByte, uint32_t(metadata->xmp.size()), metadata->xmp});
  if (metadata && !metadata->iptc.empty()) {
    // As LONGs, the way the other writers store it: the bytes padded to a multiple of four.
    std::vector<uint8_t> iptc = metadata->iptc;
    iptc.resize((iptc.size() + 3) / 4 * 4, 0);
    detail::Replace(&t.ifd0, TiffField{33723, kTypeLong, uint32_t(iptc.size() / 4), iptc});
  }
  std::vector<uint8_t> bytes = detail::WriteTiff(std::move(t));
  if (bytes.empty()) return E_OUTOFMEMORY;
  out->swap(bytes);
  return S_OK;
}

}  // namespace imaging
