// Movie container headers: box, chunk and object walks with every size checked.
#include "imaging/movieprobe.h"

#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "internal.h"

namespace imaging {

namespace {

using detail::FileReader;

uint32_t Be32(const uint8_t* p) { return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3]; }
uint16_t Be16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
uint64_t Be64(const uint8_t* p) { return (uint64_t(Be32(p)) << 32) | Be32(p + 4); }
uint32_t Le32(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }
uint64_t Le64(const uint8_t* p) { return uint64_t(Le32(p)) | (uint64_t(Le32(p + 4)) << 32); }

std::string FourCC(const uint8_t* p) {
  std::string s(reinterpret_cast<const char*>(p), 4);
  for (char c : s)
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) return std::string();
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// ---- MP4 / QuickTime: boxes ----------------------------------------------------

struct Box {
  uint64_t start = 0, content = 0, end = 0;
  char type[5] = {};
  bool wide = false;  // its size was a 64-bit one
};

// The box at pos inside [pos, limit); false when it doesn't fit.
bool ReadBox(const ByteSource& f, uint64_t pos, uint64_t limit, Box* b) {
  uint8_t h[16];
  if (pos + 8 > limit || !f.Read(pos, h, 8)) return false;
  uint64_t size = Be32(h);
  uint64_t header = 8;
  if (size == 1) {
    if (pos + 16 > limit || !f.Read(pos + 8, h + 8, 8)) return false;
    size = Be64(h + 8);
    header = 16;
  } else if (size == 0) {
    size = limit - pos;  // to the end of the enclosing space
  }
  if (size < header || pos + size > limit) return false;
  b->start = pos;
  b->content = pos + header;
  b->end = pos + size;
  b->wide = header == 16;
  memcpy(b->type, h + 4, 4);
  return true;
}

// The first child of type inside the box's content (after `skip` bytes).
bool FindChild(const ByteSource& f, const Box& parent, const char* type, Box* out, uint64_t skip = 0) {
  uint64_t pos = parent.content + skip;
  for (int n = 0; n < 4096 && pos < parent.end; ++n) {
    Box b;
    if (!ReadBox(f, pos, parent.end, &b)) return false;
    if (memcmp(b.type, type, 4) == 0) {
      *out = b;
      return true;
    }
    pos = b.end;
  }
  return false;
}

SYSTEMTIME From1904(uint64_t seconds) {
  // 1904-01-01 to 1601-01-01 in seconds: FILETIME counts 100 ns from 1601.
  const uint64_t k1601To1904 = 9561628800ull;
  ULARGE_INTEGER u;
  u.QuadPart = (seconds + k1601To1904) * 10000000ull;
  FILETIME ft = {u.LowPart, u.HighPart};
  SYSTEMTIME st = {};
  FileTimeToSystemTime(&ft, &st);
  return st;
}

void ReadVideoTrack(const ByteSource& f, const Box& trak, MovieHeader* out) {
  Box mdia, hdlr, minf, stbl, stsd;
  if (!FindChild(f, trak, "mdia", &mdia) || !FindChild(f, mdia, "hdlr", &hdlr)) return;
  uint8_t h[12];
  if (hdlr.end - hdlr.content < 12 || !f.Read(hdlr.content, h, 12) || memcmp(h + 8, "vide", 4) != 0) return;
  Box tkhd;
  if (FindChild(f, trak, "tkhd", &tkhd)) {
    uint8_t v = 0;
    if (f.Read(tkhd.content, &v, 1)) {
      uint64_t at = tkhd.content + (v == 1 ? 88 : 76);
      uint8_t wh[8];
      if (at + 8 <= tkhd.end && f.Read(at, wh, 8)) {
        out->width = static_cast<int>(Be32(wh) >> 16);
        out->height = static_cast<int>(Be32(wh + 4) >> 16);
      }
    }
  }
  Box mdhd;
  if (FindChild(f, mdia, "mdhd", &mdhd)) {
    uint8_t m[20];
    if (mdhd.content + 20 <= mdhd.end && f.Read(mdhd.content, m, 20) && m[0] == 0) {
      out->videoTimeScale = Be32(m + 12);
      out->videoDuration = Be32(m + 16);
    }
  }
  Box stts;
  if (FindChild(f, mdia, "minf", &minf) && FindChild(f, minf, "stbl", &stbl) && FindChild(f, stbl, "stts", &stts)) {
    uint8_t head[8];
    if (stts.content + 8 <= stts.end && f.Read(stts.content, head, 8) && head[0] == 0) {
      // Only the entries that lie inside the box count, whatever the count says.
      uint64_t count = std::min<uint64_t>(Be32(head + 4), (stts.end - stts.content - 8) / 8);
      uint8_t e[8];
      for (uint64_t i = 0; i < count && f.Read(stts.content + 8 + 8 * i, e, 8); ++i) {
        if (i == 0) out->firstSampleCount = Be32(e);
        out->sampleTotal += Be32(e);
      }
    }
  }
  if (FindChild(f, mdia, "minf", &minf) && FindChild(f, minf, "stbl", &stbl) && FindChild(f, stbl, "stsd", &stsd)) {
    uint8_t e[36];
    if (stsd.content + 8 + 36 <= stsd.end && f.Read(stsd.content + 8, e, 36)) {
      out->codec = FourCC(e + 4);
      int w = Be16(e + 32), hgt = Be16(e + 34);
      if (w > 0 && hgt > 0) {  // the coded size when the track header has none
        if (out->width == 0) out->width = w;
        if (out->height == 0) out->height = hgt;
      }
    }
  }
}

bool ProbeIsoMedia(const ByteSource& f, MovieHeader* out) {
  uint64_t size = f.Size();
  Box first;
  if (!ReadBox(f, 0, size, &first)) return false;
  static const char* kTopTypes[] = {"ftyp", "moov", "mdat", "wide", "free", "skip", "pnot"};
  bool known = false;
  for (const char* t : kTopTypes) known = known || memcmp(first.type, t, 4) == 0;
  if (!known) return false;
  out->container = "MP4";
  uint64_t pos = 0;
  for (int n = 0; n < 4096 && pos < size; ++n) {
    Box b;
    if (!ReadBox(f, pos, size, &b)) break;
    out->wideBoxes = out->wideBoxes || b.wide;
    if (memcmp(b.type, "ftyp", 4) == 0) {
      uint8_t brand[4];
      if (b.end - b.content >= 4 && f.Read(b.content, brand, 4) && memcmp(brand, "qt  ", 4) == 0)
        out->container = "QuickTime";
    } else if (memcmp(b.type, "moov", 4) == 0) {
      Box mvhd;
      if (FindChild(f, b, "mvhd", &mvhd)) {
        uint8_t m[32];
        uint8_t v = 0;
        if (f.Read(mvhd.content, &v, 1)) {
          // A zero time is what muxers write when they know none; all ones is an unknown length.
          if (v == 1 && mvhd.content + 32 <= mvhd.end && f.Read(mvhd.content, m, 32)) {
            uint64_t created = Be64(m + 4), length = Be64(m + 24);
            uint32_t scale = Be32(m + 20);
            if (created) out->created = From1904(created);
            if (scale && length != ~0ull) out->durationSeconds = double(length) / scale;
          } else if (v == 0 && mvhd.content + 20 <= mvhd.end && f.Read(mvhd.content, m, 20)) {
            uint32_t created = Be32(m + 4), scale = Be32(m + 12), length = Be32(m + 16);
            if (created) out->created = From1904(created);
            if (scale && length != 0xFFFFFFFFu) out->durationSeconds = double(length) / scale;
          }
        }
      }
      uint64_t p = b.content;
      for (int k = 0; k < 256 && p < b.end && out->width == 0; ++k) {
        Box t;
        if (!ReadBox(f, p, b.end, &t)) break;
        out->wideBoxes = out->wideBoxes || t.wide;
        if (memcmp(t.type, "trak", 4) == 0) {
          Box mdia, hdlr;
          uint8_t h[12];
          if (FindChild(f, t, "mdia", &mdia) && FindChild(f, mdia, "hdlr", &hdlr) && hdlr.end - hdlr.content >= 12 &&
              f.Read(hdlr.content, h, 12))
            out->panorama = out->panorama || memcmp(h + 8, "qtvr", 4) == 0 || memcmp(h + 8, "pano", 4) == 0 ||
                            memcmp(h + 8, "STpn", 4) == 0;
          ReadVideoTrack(f, t, out);
        }
        p = t.end;
      }
    }
    pos = b.end;
  }
  return true;
}

// ---- AVI: RIFF chunks ------------------------------------------------------------

bool ProbeAvi(const ByteSource& f, MovieHeader* out) {
  uint8_t h[12];
  if (!f.Read(0, h, 12) || memcmp(h, "RIFF", 4) != 0 || memcmp(h + 8, "AVI ", 4) != 0) return false;
  out->container = "AVI";
  uint64_t end = std::min<uint64_t>(f.Size(), 8ull + Le32(h + 4));
  // hdrl comes first: walk its chunks, entering the stream lists.
  uint64_t pos = 12;
  uint64_t listEnd = end;
  for (int n = 0; n < 512 && pos + 8 <= listEnd; ++n) {
    uint8_t c[12];
    if (!f.Read(pos, c, 8)) break;
    uint64_t size = Le32(c + 4);
    uint64_t next = pos + 8 + size + (size & 1);
    if (memcmp(c, "LIST", 4) == 0) {
      if (!f.Read(pos + 8, c + 8, 4)) break;
      if (memcmp(c + 8, "hdrl", 4) == 0 || memcmp(c + 8, "strl", 4) == 0) {
        if (memcmp(c + 8, "hdrl", 4) == 0) listEnd = std::min(end, pos + 8 + size);
        pos += 12;  // into the list
        continue;
      }
      if (memcmp(c + 8, "movi", 4) == 0) break;
    } else if (memcmp(c, "avih", 4) == 0 && size >= 40) {
      uint8_t a[40];
      if (f.Read(pos + 8, a, 40)) {
        uint32_t usPerFrame = Le32(a), frames = Le32(a + 16);
        out->durationSeconds = double(usPerFrame) * frames / 1e6;
        out->width = static_cast<int>(Le32(a + 32));
        out->height = static_cast<int>(Le32(a + 36));
      }
    } else if (memcmp(c, "strh", 4) == 0 && size >= 8) {
      uint8_t s[8];
      if (f.Read(pos + 8, s, 8) && memcmp(s, "vids", 4) == 0 && out->codec.empty()) out->codec = FourCC(s + 4);
    } else if (memcmp(c, "strf", 4) == 0 && size >= 20 && out->codec.empty()) {
      uint8_t b[20];
      if (f.Read(pos + 8, b, 20)) out->codec = FourCC(b + 16);
    }
    if (next <= pos) break;
    pos = next;
  }
  return true;
}

// ---- ASF: GUID objects -----------------------------------------------------------

const uint8_t kAsfHeader[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11, 0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
const uint8_t kAsfFileProps[16] = {0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11, 0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
const uint8_t kAsfStreamProps[16] = {0x91, 0x07, 0xDC, 0xB7, 0xB7, 0xA9, 0xCF, 0x11, 0x8E, 0xE6, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
const uint8_t kAsfVideo[16] = {0xC0, 0xEF, 0x19, 0xBC, 0x4D, 0x5B, 0xCF, 0x11, 0xA8, 0xFD, 0x00, 0x80, 0x5F, 0x5C, 0x44, 0x2B};

bool ProbeAsf(const ByteSource& f, MovieHeader* out) {
  uint8_t h[30];
  if (!f.Read(0, h, 30) || memcmp(h, kAsfHeader, 16) != 0) return false;
  out->container = "ASF";
  uint64_t end = std::min<uint64_t>(f.Size(), Le64(h + 16));
  uint64_t pos = 30;
  for (int n = 0; n < 256 && pos + 24 <= end; ++n) {
    uint8_t o[24];
    if (!f.Read(pos, o, 24)) break;
    uint64_t size = Le64(o + 16);
    if (size < 24 || pos + size > end) break;
    if (memcmp(o, kAsfFileProps, 16) == 0 && size >= 24 + 64) {
      uint8_t p[64];
      if (f.Read(pos + 24, p, 64)) {
        double play = double(Le64(p + 40)) / 1e7, preroll = double(Le64(p + 56)) / 1e3;
        out->durationSeconds = play > preroll ? play - preroll : play;
      }
    } else if (memcmp(o, kAsfStreamProps, 16) == 0 && size >= 24 + 54 + 11 + 40) {
      uint8_t s[54 + 11 + 40];
      if (f.Read(pos + 24, s, sizeof(s)) && memcmp(s, kAsfVideo, 16) == 0 && out->width == 0) {
        const uint8_t* v = s + 54;  // type-specific data: width, height, flags, size, then the bitmap header
        out->width = static_cast<int>(Le32(v));
        out->height = static_cast<int>(Le32(v + 4));
        out->codec = FourCC(v + 11 + 16);
      }
    }
    pos += size;
  }
  return true;
}

// ---- MPEG program and elementary streams: the sequence header -------------------

bool ProbeMpeg(const ByteSource& f, MovieHeader* out) {
  uint8_t h[4];
  if (!f.Read(0, h, 4) || h[0] != 0 || h[1] != 0 || h[2] != 1 || (h[3] != 0xBA && h[3] != 0xB3)) return false;
  out->container = "MPEG";
  const size_t window = static_cast<size_t>(std::min<uint64_t>(f.Size(), 1u << 20));
  std::vector<uint8_t> buf(window);
  if (!f.Read(0, buf.data(), window)) return true;
  for (size_t i = 0; i + 8 <= window; ++i) {
    if (buf[i] != 0 || buf[i + 1] != 0 || buf[i + 2] != 1 || buf[i + 3] != 0xB3) continue;
    out->width = (buf[i + 4] << 4) | (buf[i + 5] >> 4);
    out->height = ((buf[i + 5] & 0x0F) << 8) | buf[i + 6];
    out->codec = "MPEG-1";
    for (size_t j = i + 8; j + 4 <= window && j < i + 4096; ++j)
      if (buf[j] == 0 && buf[j + 1] == 0 && buf[j + 2] == 1 && buf[j + 3] == 0xB5) {
        out->codec = "MPEG-2";
        break;
      }
    break;
  }
  return true;
}

// No container stores a frame side longer than this; AVI and ASF keep sizes in
// 32 bits, where 2^31 and more would come back negative.
constexpr int kMaxFrameSide = 65535;

HRESULT Probe(const ByteSource& f, MovieHeader* out) {
  *out = MovieHeader();
  if (ProbeAvi(f, out) || ProbeAsf(f, out) || ProbeMpeg(f, out) || ProbeIsoMedia(f, out)) {
    if (out->width >= 0 && out->height >= 0 && out->width <= kMaxFrameSide && out->height <= kMaxFrameSide &&
        out->durationSeconds >= 0)
      return S_OK;
    *out = MovieHeader();
    return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
  }
  *out = MovieHeader();
  return WINCODEC_ERR_UNKNOWNIMAGEFORMAT;
}

}  // namespace

HRESULT ProbeMovie(const char* path, MovieHeader* out) {
  if (!path || !out) return E_INVALIDARG;
  *out = MovieHeader();
  FileReader f;
  HRESULT hr = f.Open(path);
  if (FAILED(hr)) return hr;
  return Probe(f, out);
}

HRESULT ProbeMovieBytes(const void* data, size_t size, MovieHeader* out) {
  if ((!data && size) || !out) return E_INVALIDARG;
  return Probe(MemorySource(data, size), out);
}

}  // namespace imaging
