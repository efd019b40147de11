#include "mp4info.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "text.h"

namespace vxprop {

namespace {

constexpr uint64_t kMaxMoovBytes = 32ull << 20;
// Seconds from 1904-01-01 (the boxes' epoch) to 1970-01-01.
constexpr int64_t kEpoch1904 = 2082844800;

uint32_t Be32(const uint8_t* p) { return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3]; }
uint64_t Be64(const uint8_t* p) { return (uint64_t(Be32(p)) << 32) | Be32(p + 4); }

// Calls f(type, body, bodySize) for each box inside [data, data + size).
template <class F>
void ForEachBox(const uint8_t* data, size_t size, F f) {
  size_t pos = 0;
  while (size - pos >= 8) {
    uint64_t boxSize = Be32(data + pos);
    size_t header = 8;
    if (boxSize == 1) {
      if (size - pos < 16) return;
      boxSize = Be64(data + pos + 8);
      header = 16;
    } else if (boxSize == 0) {
      boxSize = size - pos;
    }
    if (boxSize < header || boxSize > size - pos) return;
    char type[5] = {};
    memcpy(type, data + pos + 4, 4);
    f(type, data + pos + header, static_cast<size_t>(boxSize - header));
    pos += static_cast<size_t>(boxSize);
  }
}

void ReadMvhd(const uint8_t* p, size_t n, MovieFacts* out) {
  if (n < 4) return;
  int version = p[0];
  uint64_t created = 0, timescale = 0, duration = 0;
  if (version == 1 && n >= 4 + 28) {
    created = Be64(p + 4);
    timescale = Be32(p + 20);
    duration = Be64(p + 24);
  } else if (version == 0 && n >= 4 + 16) {
    created = Be32(p + 4);
    timescale = Be32(p + 12);
    duration = Be32(p + 16);
  } else {
    return;
  }
  // 0 is what muxers write when they know no time.
  if (created) out->creationUnix = static_cast<int64_t>(created) - kEpoch1904;
  if (timescale && duration != 0xFFFFFFFFu && duration != ~0ull) out->durationSeconds = double(duration) / double(timescale);
}

void ReadTkhd(const uint8_t* p, size_t n, MovieFacts* out) {
  if (out->width > 0 || n < 4) return;
  size_t at = p[0] == 1 ? 4 + 32 + 52 : 4 + 20 + 52;  // times and ids, then reserved, layer, ..., matrix
  if (n < at + 8) return;
  int w = static_cast<int>(Be32(p + at) >> 16), h = static_cast<int>(Be32(p + at + 4) >> 16);
  if (w > 0 && h > 0) {
    out->width = w;
    out->height = h;
  }
}

}  // namespace

bool ParseMovieBox(const uint8_t* data, size_t size, MovieFacts* out) {
  MovieFacts facts;
  bool any = false;
  ForEachBox(data, size, [&](const char* type, const uint8_t* body, size_t n) {
    if (!strcmp(type, "mvhd")) {
      ReadMvhd(body, n, &facts);
      any = true;
    } else if (!strcmp(type, "trak")) {
      ForEachBox(body, n, [&](const char* t, const uint8_t* b, size_t m) {
        if (!strcmp(t, "tkhd")) ReadTkhd(b, m, &facts);
      });
    }
  });
  if (any) *out = facts;
  return any;
}

bool ReadMovieFacts(const char* path, MovieFacts* out) {
  HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER fileSize{};
  GetFileSizeEx(h, &fileSize);
  uint64_t total = static_cast<uint64_t>(fileSize.QuadPart), pos = 0;
  bool ok = false;
  for (int boxes = 0; boxes < 4096 && total - pos >= 8; ++boxes) {
    uint8_t head[16];
    DWORD got = 0;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(pos);
    if (!SetFilePointerEx(h, at, nullptr, FILE_BEGIN) || !ReadFile(h, head, 16, &got, nullptr) || got < 8) break;
    uint64_t boxSize = Be32(head);
    uint64_t header = 8;
    if (boxSize == 1) {
      if (got < 16) break;
      boxSize = Be64(head + 8);
      header = 16;
    } else if (boxSize == 0) {
      boxSize = total - pos;
    }
    if (boxSize < header || boxSize > total - pos) break;
    if (!memcmp(head + 4, "moov", 4)) {
      uint64_t bodySize = boxSize - header;
      if (bodySize > kMaxMoovBytes) break;
      std::vector<uint8_t> body(static_cast<size_t>(bodySize));
      at.QuadPart = static_cast<LONGLONG>(pos + header);
      if (SetFilePointerEx(h, at, nullptr, FILE_BEGIN) &&
          (body.empty() || (ReadFile(h, body.data(), static_cast<DWORD>(body.size()), &got, nullptr) &&
                            got == body.size())))
        ok = ParseMovieBox(body.data(), body.size(), out);
      break;
    }
    pos += boxSize;
  }
  CloseHandle(h);
  return ok;
}

bool IsMovieBoxPath(const char* path) {
  if (!path) return false;
  for (const char* ext : {".mp4", ".m4v", ".mov", ".3gp", ".3g2", ".qt"})
    if (EndsWithNoCase(path, ext)) return true;
  return false;
}

}  // namespace vxprop
