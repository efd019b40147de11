// Metadata besides the pixels (metadata.h): read from JPEG segments, TIFF directories and
// PNG chunks; put into JPEG segments and PNG chunks (TIFF: tiff_write.cpp).
#include <algorithm>
#include <cstring>

#include "imaging/exif.h"
#include "imaging/metadata.h"
#include "internal.h"

namespace imaging {

using detail::Get16;
using detail::Get32;

namespace {

const char kExifSig[] = "Exif\0";                                      // and one more NUL: 6 bytes
const char kXmpSig[] = "http://ns.adobe.com/xap/1.0/";                 // and its NUL: 29 bytes
const char kXmpExtensionSig[] = "http://ns.adobe.com/xmp/extension/";  // and its NUL
const char kPhotoshopSig[] = "Photoshop 3.0";                          // and its NUL: 14 bytes
const char kXmpKeyword[] = "XML:com.adobe.xmp";
const uint8_t kPngSig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr uint16_t kTagXmp = 700, kTagIptc = 33723, kTagPhotoshop = 34377;
constexpr uint16_t kIptcResource = 0x0404;
constexpr size_t kMaxSegmentBody = 0xFFFF - 2;

// Whether the bytes at pos of src begin with sig and its NUL (n bytes in all).
bool HasSignature(const ByteSource& src, uint64_t pos, uint64_t end, const char* sig, size_t n) {
  std::vector<uint8_t> head(n);
  return end >= pos + n && src.Read(pos, head.data(), n) && memcmp(head.data(), sig, n) == 0;
}

// The IPTC block of a Photoshop resource stream: its resource 0x0404, or nothing.
std::vector<uint8_t> IptcOfResources(const std::vector<uint8_t>& irb) {
  size_t at = 0;
  while (at + 12 <= irb.size() && memcmp(&irb[at], "8BIM", 4) == 0) {
    const uint16_t id = Get16(&irb[at + 4], true);
    size_t name = 1 + irb[at + 6];  // a Pascal string padded to an even length
    name += name % 2;
    size_t sizeAt = at + 6 + name;
    if (sizeAt + 4 > irb.size()) break;
    const uint32_t size = Get32(&irb[sizeAt], true);
    const size_t data = sizeAt + 4;
    if (size > irb.size() - data) break;
    if (id == kIptcResource) return std::vector<uint8_t>(irb.begin() + long(data), irb.begin() + long(data + size));
    at = data + size + size % 2;
  }
  return {};
}

// The bytes of the datasets of an IPTC block that read (padding after them left out).
std::vector<uint8_t> WholeDatasets(const std::vector<uint8_t>& iptc) {
  size_t at = 0;
  for (;;) {
    if (at + 5 > iptc.size() || iptc[at] != 0x1C) break;
    uint32_t n = Get16(&iptc[at + 3], true);
    size_t head = 5;
    if (n & 0x8000) {  // an extended dataset: the length's length, then the length
      size_t k = n & 0x7FFF;
      if (k == 0 || k > 4 || at + 5 + k > iptc.size()) break;
      n = 0;
      for (size_t i = 0; i < k; ++i) n = n << 8 | iptc[at + 5 + i];
      head += k;
    }
    if (n > iptc.size() - at - head) break;
    at += head + n;
  }
  return std::vector<uint8_t>(iptc.begin(), iptc.begin() + long(at));
}

// ---- JPEG ----------------------------------------------------------------------------------

void ReadJpeg(const ByteSource& src, PictureMetadata* out) {
  std::vector<uint8_t> irb;
  detail::WalkJpegSegments(src, [&](uint8_t m, uint64_t pos, uint64_t end) {
    const uint64_t body = pos + 4;
    auto take = [&](uint64_t from, std::vector<uint8_t>* to) { return detail::AppendRange(src, from, end - from, to); };
    if (m == 0xE1 && out->exif.empty() && HasSignature(src, body, end, kExifSig, 6)) {
      std::vector<uint8_t> block;
      Exif check;
      if (take(body + 6, &block) && check.ParseTiff(block.data(), block.size())) out->exif.swap(block);
    } else if (m == 0xE1 && out->xmp.empty() && HasSignature(src, body, end, kXmpSig, sizeof kXmpSig)) {
      if (!take(body + sizeof kXmpSig, &out->xmp)) out->xmp.clear();
    } else if (m == 0xED && HasSignature(src, body, end, kPhotoshopSig, sizeof kPhotoshopSig)) {
      // A resource stream longer than a segment goes on in the next.
      take(body + sizeof kPhotoshopSig, &irb);
    }
    return true;
  });
  out->iptc = WholeDatasets(IptcOfResources(irb));
}

std::vector<uint8_t> Segment(uint8_t marker, const char* sig, size_t sigSize, const uint8_t* data, size_t size) {
  const size_t length = 2 + sigSize + size;
  std::vector<uint8_t> s = {0xFF, marker, uint8_t(length >> 8), uint8_t(length)};
  s.insert(s.end(), sig, sig + sigSize);
  s.insert(s.end(), data, data + size);
  return s;
}

// ---- PNG -----------------------------------------------------------------------------------

uint32_t Crc32(const uint8_t* p, size_t n, uint32_t crc = 0) {
  static uint32_t table[256];
  static bool made = [] {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[i] = c;
    }
    return true;
  }();
  (void)made;
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

struct PngChunk {
  uint64_t pos;   // the length field
  uint64_t data;  // the data
  uint32_t size;
  char type[5];
};

// The chunks up to IEND; false when the data is no PNG or a chunk runs past its end.
bool PngChunks(const ByteSource& src, std::vector<PngChunk>* chunks) {
  uint8_t b[8];
  if (!src.Read(0, b, 8) || memcmp(b, kPngSig, 8) != 0) return false;
  uint64_t pos = 8;
  for (int guard = 0; guard < 100000; ++guard) {
    if (!src.Read(pos, b, 8)) return false;
    PngChunk c = {pos, pos + 8, Get32(b, true), {}};
    memcpy(c.type, b + 4, 4);
    if (c.size > 0x7FFFFFFFu || c.data + c.size + 4 > src.Size()) return false;
    chunks->push_back(c);
    if (memcmp(c.type, "IEND", 4) == 0) return true;
    pos = c.data + c.size + 4;
  }
  return false;
}

void ReadPng(const ByteSource& src, PictureMetadata* out) {
  std::vector<PngChunk> chunks;
  PngChunks(src, &chunks);  // what reads before a break still counts
  for (const PngChunk& c : chunks) {
    std::vector<uint8_t> data;
    if (memcmp(c.type, "eXIf", 4) == 0 && out->exif.empty()) {
      Exif check;
      if (detail::AppendRange(src, c.data, c.size, &data) && check.ParseTiff(data.data(), data.size()))
        out->exif.swap(data);
    } else if (memcmp(c.type, "iTXt", 4) == 0 && out->xmp.empty() && c.size > sizeof kXmpKeyword + 4) {
      if (!detail::AppendRange(src, c.data, c.size, &data) || memcmp(data.data(), kXmpKeyword, sizeof kXmpKeyword))
        continue;
      // keyword NUL, compressed 0, method, language NUL, translated keyword NUL, text
      size_t at = sizeof kXmpKeyword;
      if (data[at] != 0) continue;  // compressed: not read
      at += 2;
      for (int field = 0; field < 2 && at < data.size(); ++field) {
        const uint8_t* nul = static_cast<const uint8_t*>(memchr(&data[at], 0, data.size() - at));
        at = nul ? size_t(nul - data.data()) + 1 : data.size() + 1;
      }
      if (at <= data.size()) out->xmp.assign(data.begin() + long(at), data.end());
    }
  }
}

std::vector<uint8_t> Chunk(const char* type, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> c(8);
  detail::Put32(c.data(), uint32_t(data.size()), true);
  memcpy(&c[4], type, 4);
  c.insert(c.end(), data.begin(), data.end());
  uint8_t crc[4];
  detail::Put32(crc, Crc32(c.data() + 4, c.size() - 4), true);
  c.insert(c.end(), crc, crc + 4);
  return c;
}

// ---- TIFF ----------------------------------------------------------------------------------

void ReadTiff(const ByteSource& src, PictureMetadata* out) {
  Exif exif;
  if (!exif.LoadFrom(src)) return;
  detail::TiffLayout layout;
  layout.bigEndian = exif.BigEndian();
  // The descriptive tags, with the orientation and resolution a JPEG's IFD0 holds too.
  layout.ifd0 = detail::FieldsOf(exif.Entries(ExifIfd::Ifd0), [](uint16_t t) {
    return detail::DescribesPicture(t) || t == tag::kOrientation || t == 282 || t == 283 || t == 296;
  });
  auto all = [](uint16_t t) { return t != tag::kInteropIfd; };
  layout.exif = detail::FieldsOf(exif.Entries(ExifIfd::Exif), all);
  layout.gps = detail::FieldsOf(exif.Entries(ExifIfd::Gps), all);
  layout.interop = detail::FieldsOf(exif.Entries(ExifIfd::Interop), all);
  out->exif = detail::WriteTiff(layout);
  if (const ExifEntry* e = exif.Find(ExifIfd::Ifd0, kTagXmp)) out->xmp = e->data;
  if (const ExifEntry* e = exif.Find(ExifIfd::Ifd0, kTagIptc)) out->iptc = WholeDatasets(e->data);
  if (const ExifEntry* e = exif.Find(ExifIfd::Ifd0, kTagPhotoshop); e && out->iptc.empty())
    out->iptc = WholeDatasets(IptcOfResources(e->data));
}

}  // namespace

namespace detail {

PictureMetadata ReadMetadata(const ByteSource& src) {
  PictureMetadata m;
  uint8_t head[16] = {};
  const size_t got = size_t(std::min<uint64_t>(src.Size(), sizeof head));
  if (!src.Read(0, head, got)) return m;
  switch (DetectFormat(head, got)) {
    case ImageFormat::Jpeg: ReadJpeg(src, &m); break;
    case ImageFormat::Tiff: ReadTiff(src, &m); break;
    case ImageFormat::Png: ReadPng(src, &m); break;
    default: break;
  }
  return m;
}

}  // namespace detail

PictureMetadata ReadPictureMetadata(const void* data, size_t size) {
  if (!data) return PictureMetadata();
  return detail::ReadMetadata(MemorySource(data, size));
}

PictureMetadata ReadPictureMetadataFile(const char* path) {
  detail::FileReader file;
  if (FAILED(file.Open(path))) return PictureMetadata();
  return detail::ReadMetadata(file);
}

std::vector<IptcDataset> ReadIptcDatasets(const std::vector<uint8_t>& iptc) {
  std::vector<IptcDataset> out;
  const std::vector<uint8_t> whole = WholeDatasets(iptc);
  for (size_t at = 0; at < whole.size();) {
    IptcDataset d;
    d.record = whole[at + 1];
    d.dataset = whole[at + 2];
    uint32_t n = Get16(&whole[at + 3], true);
    size_t head = 5;
    if (n & 0x8000) {
      const size_t k = n & 0x7FFF;
      n = 0;
      for (size_t i = 0; i < k; ++i) n = n << 8 | whole[at + 5 + i];
      head += k;
    }
    d.data.assign(whole.begin() + long(at + head), whole.begin() + long(at + head + n));
    out.push_back(std::move(d));
    at += head + n;
  }
  return out;
}

std::vector<uint8_t> UprightXmp(const std::vector<uint8_t>& xmp) {
  std::vector<uint8_t> out = xmp;
  static const char kName[] = "tiff:Orientation";
  const size_t n = sizeof kName - 1;
  for (size_t at = 0; at + n < out.size(); ++at) {
    if (memcmp(&out[at], kName, n) != 0) continue;
    // An attribute (tiff:Orientation="6") or an element (<tiff:Orientation>6<...).
    size_t v = at + n;
    while (v < out.size() && (out[v] == ' ' || out[v] == '=' || out[v] == '"' || out[v] == '\'' || out[v] == '>')) ++v;
    size_t end = v;
    while (end < out.size() && out[end] >= '0' && out[end] <= '9') ++end;
    if (end == v || end - v > 3) continue;
    out.erase(out.begin() + long(v), out.begin() + long(end));
    out.insert(out.begin() + long(v), '1');
    at = v;
  }
  return out;
}

bool PutJpegMetadata(std::vector<uint8_t>* jpeg, const PictureMetadata& m) {
  MemorySource src(jpeg->data(), jpeg->size());
  detail::JpegLayout layout;
  if (!detail::ScanJpeg(src, &layout)) return false;
  // The segments the metadata replaces.
  std::vector<std::pair<uint64_t, uint64_t>> drop;
  detail::WalkJpegSegments(src, [&](uint8_t marker, uint64_t pos, uint64_t end) {
    const uint64_t body = pos + 4;
    if ((marker == 0xE1 &&
         (HasSignature(src, body, end, kExifSig, 6) || HasSignature(src, body, end, kXmpSig, sizeof kXmpSig) ||
          HasSignature(src, body, end, kXmpExtensionSig, sizeof kXmpExtensionSig))) ||
        (marker == 0xED && HasSignature(src, body, end, kPhotoshopSig, sizeof kPhotoshopSig)))
      drop.push_back({pos, end});
    return true;
  });
  std::vector<uint8_t> added;
  auto add = [&added](const std::vector<uint8_t>& s) { added.insert(added.end(), s.begin(), s.end()); };
  if (!m.exif.empty() && m.exif.size() + 6 <= kMaxSegmentBody) {
    static const char kSig[6] = {'E', 'x', 'i', 'f', 0, 0};
    add(Segment(0xE1, kSig, 6, m.exif.data(), m.exif.size()));
  }
  if (!m.xmp.empty() && m.xmp.size() + sizeof kXmpSig <= kMaxSegmentBody)
    add(Segment(0xE1, kXmpSig, sizeof kXmpSig, m.xmp.data(), m.xmp.size()));
  if (!m.iptc.empty()) {
    std::vector<uint8_t> irb = {'8', 'B', 'I', 'M', uint8_t(kIptcResource >> 8), uint8_t(kIptcResource), 0, 0,
                                0,   0,   0,   0};
    detail::Put32(&irb[8], uint32_t(m.iptc.size()), true);
    irb.insert(irb.end(), m.iptc.begin(), m.iptc.end());
    if (irb.size() % 2) irb.push_back(0);
    const size_t chunk = kMaxSegmentBody - sizeof kPhotoshopSig;
    for (size_t at = 0; at < irb.size(); at += chunk)
      add(Segment(0xED, kPhotoshopSig, sizeof kPhotoshopSig, irb.data() + at, std::min(chunk, irb.size() - at)));
  }
  std::vector<uint8_t> out;
  out.reserve(jpeg->size() + added.size());
  uint64_t at = 0;
  auto copyTo = [&](uint64_t to) {
    // What lies between at and to, less the dropped segments.
    for (const auto& d : drop) {
      if (d.second <= at || d.first >= to) continue;
      if (d.first > at) out.insert(out.end(), jpeg->begin() + long(at), jpeg->begin() + long(d.first));
      at = d.second;
    }
    if (to > at) out.insert(out.end(), jpeg->begin() + long(at), jpeg->begin() + long(to));
    at = std::max(at, to);
  };
  copyTo(layout.insertPos);
  out.insert(out.end(), added.begin(), added.end());
  copyTo(jpeg->size());
  jpeg->swap(out);
  return true;
}

bool PutPngMetadata(std::vector<uint8_t>* png, const PictureMetadata& m) {
  MemorySource src(png->data(), png->size());
  std::vector<PngChunk> chunks;
  if (!PngChunks(src, &chunks) || chunks.empty() || memcmp(chunks[0].type, "IHDR", 4) != 0) return false;
  std::vector<uint8_t> out(png->begin(), png->begin() + 8);
  for (const PngChunk& c : chunks) {
    const uint64_t end = c.data + c.size + 4;
    bool replaced = memcmp(c.type, "eXIf", 4) == 0;
    if (memcmp(c.type, "iTXt", 4) == 0 && c.size >= sizeof kXmpKeyword &&
        memcmp(png->data() + c.data, kXmpKeyword, sizeof kXmpKeyword) == 0)
      replaced = true;
    if (!replaced) out.insert(out.end(), png->begin() + long(c.pos), png->begin() + long(end));
    if (&c != &chunks[0]) continue;
    // Right after the header: eXIf must come before the image data.
    if (!m.exif.empty()) {
      std::vector<uint8_t> c2 = Chunk("eXIf", m.exif);
      out.insert(out.end(), c2.begin(), c2.end());
    }
    if (!m.xmp.empty()) {
      std::vector<uint8_t> text(kXmpKeyword, kXmpKeyword + sizeof kXmpKeyword);
      const uint8_t rest[] = {0, 0, 0, 0};  // not compressed, method 0, no language, no translation
      text.insert(text.end(), rest, rest + 4);
      text.insert(text.end(), m.xmp.begin(), m.xmp.end());
      std::vector<uint8_t> c2 = Chunk("iTXt", text);
      out.insert(out.end(), c2.begin(), c2.end());
    }
  }
  png->swap(out);
  return true;
}

}  // namespace imaging
