// Music information from a sound file's bytes: ID3 tags and MPEG audio frames of MP3,
// the RIFF chunks of WAV. Every read is bounds-checked against the bytes given.
#include "internal.h"

#include <cstdio>
#include <cstring>

namespace vxg {

namespace {

uint32_t BE32(const uint8_t* p) { return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3]; }
uint32_t LE32(const uint8_t* p) { return (uint32_t(p[3]) << 24) | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0]; }
uint16_t LE16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t SyncSafe(const uint8_t* p) {
  return (uint32_t(p[0] & 0x7F) << 21) | (uint32_t(p[1] & 0x7F) << 14) | (uint32_t(p[2] & 0x7F) << 7) | (p[3] & 0x7F);
}

std::string TrimText(std::string s) {
  while (!s.empty() && (s.back() == '\0' || s.back() == ' ')) s.pop_back();
  size_t nul = s.find('\0');
  if (nul != std::string::npos) s.resize(nul);
  return s;
}

// An ID3v2 text frame's value in the ANSI code page.
std::string Id3Text(const uint8_t* p, size_t n) {
  if (n == 0) return std::string();
  uint8_t enc = p[0];
  ++p, --n;
  switch (enc) {
    case 0:  // Latin-1 by the standard; Japanese tags are often code page 932
      return TrimText(std::string(reinterpret_cast<const char*>(p), n));
    case 3: return TrimText(textkit::Utf8ToAnsi(std::string(reinterpret_cast<const char*>(p), n)));
    case 1:
    case 2: {
      bool bigEndian = enc == 2;
      if (n >= 2 && ((p[0] == 0xFE && p[1] == 0xFF) || (p[0] == 0xFF && p[1] == 0xFE))) {
        bigEndian = p[0] == 0xFE;
        p += 2, n -= 2;
      }
      std::wstring w;
      for (size_t i = 0; i + 1 < n; i += 2) {
        wchar_t c = bigEndian ? wchar_t((p[i] << 8) | p[i + 1]) : wchar_t(p[i] | (p[i + 1] << 8));
        if (c == 0) break;
        w += c;
      }
      return TrimText(textkit::WideToAnsi(w));
    }
    default:
      return std::string();
  }
}

void ReadId3v2(const uint8_t* d, size_t size, MusicFacts* f, size_t* tagEnd) {
  *tagEnd = 0;
  if (size < 10 || memcmp(d, "ID3", 3) != 0) return;
  int ver = d[3];
  uint8_t flags = d[5];
  size_t total = 10 + SyncSafe(d + 6) + ((flags & 0x10) ? 10 : 0);
  *tagEnd = total;
  size_t end = total < size ? total : size;
  size_t pos = 10;
  if ((flags & 0x40) && ver >= 3 && pos + 4 <= end) {  // extended header
    size_t ext = ver == 4 ? SyncSafe(d + pos) : BE32(d + pos) + 4;
    pos += ext;
  }
  const size_t idLen = ver == 2 ? 3 : 4;
  const size_t hdrLen = ver == 2 ? 6 : 10;
  while (pos + hdrLen <= end) {
    const uint8_t* h = d + pos;
    if (h[0] == 0) break;  // padding
    size_t len;
    if (ver == 2)
      len = (size_t(h[3]) << 16) | (size_t(h[4]) << 8) | h[5];
    else if (ver == 4)
      len = SyncSafe(h + 4);
    else
      len = BE32(h + 4);
    if (len > end - pos - hdrLen) break;
    std::string id(reinterpret_cast<const char*>(h), idLen);
    const uint8_t* body = h + hdrLen;
    std::string* target = nullptr;
    if (id == "TIT2" || id == "TT2") target = &f->title;
    else if (id == "TPE1" || id == "TP1") target = &f->artist;
    else if (id == "TALB" || id == "TAL") target = &f->album;
    else if (id == "TCON" || id == "TCO") target = &f->genre;
    else if (id == "TYER" || id == "TYE" || id == "TDRC") target = &f->year;
    else if (id == "TRCK" || id == "TRK") target = &f->track;
    if (target && target->empty()) *target = Id3Text(body, len);
    pos += hdrLen + len;
  }
  if (f->year.size() > 4) f->year.resize(4);  // "2010-05-01" -> "2010"
  // "(17)" style genres stay as they are: the number is what the file says.
}

void ReadId3v1(const uint8_t* t, size_t n, MusicFacts* f) {
  if (n < 128) return;
  const uint8_t* d = t + n - 128;
  if (memcmp(d, "TAG", 3) != 0) return;
  auto field = [&](size_t off, size_t len) { return TrimText(std::string(reinterpret_cast<const char*>(d + off), len)); };
  if (f->title.empty()) f->title = field(3, 30);
  if (f->artist.empty()) f->artist = field(33, 30);
  if (f->album.empty()) f->album = field(63, 30);
  if (f->year.empty()) f->year = field(93, 4);
  if (f->track.empty() && d[125] == 0 && d[126] != 0) f->track = std::to_string(d[126]);
}

// MPEG audio frame header facts.
struct MpegFrame {
  int version = 0;  // 1, 2, 25 (2.5)
  int layer = 0;
  int bitrate = 0;  // kbps
  int sampleRate = 0;
  int channels = 0;
  int samplesPerFrame = 0;
  size_t length = 0;
};

bool ParseFrameHeader(const uint8_t* p, MpegFrame* fr) {
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
  int verBits = (p[1] >> 3) & 3, layerBits = (p[1] >> 1) & 3;
  int brIdx = (p[2] >> 4) & 15, srIdx = (p[2] >> 2) & 3, pad = (p[2] >> 1) & 1;
  if (verBits == 1 || layerBits == 0 || brIdx == 0 || brIdx == 15 || srIdx == 3) return false;
  static const int kRates[3] = {44100, 48000, 32000};
  static const int kBr[2][3][15] = {
      {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
       {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
       {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
      {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
       {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
       {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}};
  fr->version = verBits == 3 ? 1 : verBits == 2 ? 2 : 25;
  fr->layer = 4 - layerBits;
  int v = fr->version == 1 ? 0 : 1;
  fr->bitrate = kBr[v][fr->layer - 1][brIdx];
  fr->sampleRate = kRates[srIdx] / (fr->version == 1 ? 1 : fr->version == 2 ? 2 : 4);
  fr->channels = ((p[3] >> 6) & 3) == 3 ? 1 : 2;
  if (fr->layer == 1)
    fr->samplesPerFrame = 384;
  else if (fr->layer == 3 && fr->version != 1)
    fr->samplesPerFrame = 576;
  else
    fr->samplesPerFrame = 1152;
  if (fr->layer == 1)
    fr->length = size_t((12 * fr->bitrate * 1000 / fr->sampleRate + pad) * 4);
  else
    fr->length = size_t(fr->samplesPerFrame / 8 * fr->bitrate * 1000 / fr->sampleRate + pad);
  return fr->length > 4;
}

void ReadMp3(const uint8_t* d, size_t size, size_t start, uint64_t fileSize, bool hasId3v1, MusicFacts* f) {
  f->format = "MP3";
  // Audio ends where the ID3v1 tag begins: bytes of the tag are never taken for a frame.
  const uint64_t audioEnd = hasId3v1 && fileSize >= 128 ? fileSize - 128 : fileSize;
  if (audioEnd < size) size = size_t(audioEnd);
  // The first frame header that the next frame confirms.
  size_t pos = start;
  MpegFrame fr;
  bool found = false;
  for (; pos + 4 <= size; ++pos) {
    if (!ParseFrameHeader(d + pos, &fr)) continue;
    MpegFrame next;
    if (pos + fr.length + 4 <= size && !ParseFrameHeader(d + pos + fr.length, &next)) continue;
    found = true;
    break;
  }
  if (!found) return;
  f->sampleRate = fr.sampleRate;
  f->channels = fr.channels;
  if (fr.layer != 3) f->format = fr.layer == 2 ? "MP2" : "MP1";
  // A Xing/Info or VBRI header gives the frame count of a variable bit rate file.
  uint32_t frames = 0;
  size_t side = fr.version == 1 ? (fr.channels == 1 ? 17 : 32) : (fr.channels == 1 ? 9 : 17);
  size_t x = pos + 4 + side;
  if (x + 12 <= size && (memcmp(d + x, "Xing", 4) == 0 || memcmp(d + x, "Info", 4) == 0)) {
    uint32_t fl = BE32(d + x + 4);
    if (fl & 1) frames = BE32(d + x + 8);
  } else if (pos + 36 + 18 <= size && memcmp(d + pos + 36, "VBRI", 4) == 0) {
    frames = BE32(d + pos + 36 + 14);
  }
  uint64_t audioBytes = audioEnd > pos ? audioEnd - pos : 0;
  if (frames) {
    uint64_t ms = uint64_t(frames) * fr.samplesPerFrame * 1000 / fr.sampleRate;
    f->durationMs = DWORD(ms);
    f->bitrateKbps = ms ? int(audioBytes * 8 / ms) : fr.bitrate;
  } else {
    f->bitrateKbps = fr.bitrate;
    f->durationMs = fr.bitrate ? DWORD(audioBytes * 8 / fr.bitrate) : 0;  // bits / kbps = ms
  }
}

void ReadWav(const uint8_t* d, size_t size, uint64_t fileSize, MusicFacts* f) {
  if (size < 12 || memcmp(d, "RIFF", 4) != 0 || memcmp(d + 8, "WAVE", 4) != 0) return;
  f->format = "WAV";
  uint32_t byteRate = 0;
  uint64_t dataBytes = 0;
  size_t pos = 12;
  while (pos + 8 <= size) {
    uint32_t len = LE32(d + pos + 4);
    const uint8_t* body = d + pos + 8;
    size_t avail = size - pos - 8;
    if (memcmp(d + pos, "fmt ", 4) == 0 && avail >= 16) {
      f->channels = LE16(body + 2);
      f->sampleRate = int(LE32(body + 4));
      byteRate = LE32(body + 8);
      f->bitsPerSample = LE16(body + 14);
    } else if (memcmp(d + pos, "data", 4) == 0) {
      dataBytes = len;
      if (fileSize && dataBytes > fileSize - pos - 8) dataBytes = fileSize - pos - 8;
      break;  // the data may lie beyond what we read; nothing after it matters
    } else if (memcmp(d + pos, "LIST", 4) == 0 && avail >= 4 && memcmp(body, "INFO", 4) == 0) {
      size_t lp = 4, lend = len < avail ? len : avail;
      while (lp + 8 <= lend) {
        uint32_t sl = LE32(body + lp + 4);
        if (sl > lend - lp - 8) break;
        std::string v = TrimText(std::string(reinterpret_cast<const char*>(body + lp + 8), sl));
        if (memcmp(body + lp, "INAM", 4) == 0) f->title = v;
        else if (memcmp(body + lp, "IART", 4) == 0) f->artist = v;
        else if (memcmp(body + lp, "IPRD", 4) == 0) f->album = v;
        else if (memcmp(body + lp, "IGNR", 4) == 0) f->genre = v;
        else if (memcmp(body + lp, "ICRD", 4) == 0) f->year = v.substr(0, 4);
        lp += 8 + sl + (sl & 1);
      }
    }
    pos += 8 + size_t(len) + (len & 1);
  }
  if (byteRate) {
    f->durationMs = DWORD(dataBytes * 1000 / byteRate);
    f->bitrateKbps = int(uint64_t(byteRate) * 8 / 1000);
  }
}

}  // namespace

bool ParseMusic(const uint8_t* head, size_t headSize, const uint8_t* tail, size_t tailSize, uint64_t fileSize,
                const std::string& ext, MusicFacts* out) {
  MusicFacts f;
  std::string e = textkit::FoldCase(ext);
  size_t tagEnd = 0;
  ReadId3v2(head, headSize, &f, &tagEnd);
  bool v1 = tail && tailSize >= 128 && memcmp(tail + tailSize - 128, "TAG", 3) == 0;
  if (v1) ReadId3v1(tail, tailSize, &f);
  if (e == ".WAV") {
    ReadWav(head, headSize, fileSize, &f);
  } else if (e == ".MP3" || e == ".MP2" || (tagEnd && e.empty())) {
    ReadMp3(head, headSize, tagEnd < headSize ? tagEnd : headSize, fileSize, v1, &f);
  } else if (!e.empty()) {
    f.format = e.substr(1);
  }
  *out = f;
  return !f.format.empty();
}

std::string FormatPlayingTime(DWORD ms) {
  DWORD s = ms / 1000;
  char buf[32];
  if (s >= 3600)
    snprintf(buf, sizeof(buf), "%lu:%02lu:%02lu", (unsigned long)(s / 3600), (unsigned long)(s / 60 % 60),
             (unsigned long)(s % 60));
  else
    snprintf(buf, sizeof(buf), "%lu:%02lu", (unsigned long)(s / 60), (unsigned long)(s % 60));
  return buf;
}

void FillAudioTrackInfo(const MusicFacts& f, const std::string& fallbackTitle, CAudioTrackInfo* info) {
  info->m_strTitle = (f.title.empty() ? fallbackTitle : f.title).c_str();
  std::string format = f.format;
  char buf[64];
  if (f.format == "WAV" && f.sampleRate) {
    snprintf(buf, sizeof(buf), " %.1fkHz %dbit", f.sampleRate / 1000.0, f.bitsPerSample);
    format += buf;
  } else if (f.bitrateKbps) {
    snprintf(buf, sizeof(buf), " %dkbps", f.bitrateKbps);
    format += buf;
  }
  info->m_strFormat = format.c_str();
  info->m_dwDurationMs = f.durationMs;
  info->m_strTime = f.durationMs ? FormatPlayingTime(f.durationMs).c_str() : "";
  snprintf(buf, sizeof(buf), "%010lu", (unsigned long)f.durationMs);
  info->m_strTimeSort = buf;
  info->m_strArtist = f.artist.c_str();
  info->m_strAlbum = f.album.c_str();
  info->m_strGenre = f.genre.c_str();
  info->m_strYear = f.year.c_str();
  info->m_strTrack = f.track.c_str();
  if (f.bitrateKbps) {
    snprintf(buf, sizeof(buf), "%d kbps", f.bitrateKbps);
    info->m_strBitRate = buf;
  }
  if (f.sampleRate) {
    snprintf(buf, sizeof(buf), "%d Hz", f.sampleRate);
    info->m_strSampleRate = buf;
  }
}

}  // namespace vxg
