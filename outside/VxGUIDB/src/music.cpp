// Music information of a sound file: its facts through the movie kit's demuxers (headers and
// tags of MP3, WAV, MP4/M4A/M4B, ADTS AAC and ASF/WMA), made into the texts the music list
// shows.
#include "internal.h"

#include <moviekit/moviekit.h>

#include <cstdio>
#include <cstring>

namespace vxg {

namespace {

std::string TrimText(std::string s) {
  size_t nul = s.find('\0');
  if (nul != std::string::npos) s.resize(nul);
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// Whether bytes hold at least one double-byte character of code page 932 (a lead byte and
// a trail byte 0x40-0x7E or 0x80-0xFC).
bool HasDoubleByte(const std::string& s) {
  for (size_t i = 0; i + 1 < s.size(); ++i) {
    const unsigned char lead = s[i], trail = s[i + 1];
    if (textkit::IsLeadByte(lead) && ((trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC)))
      return true;
  }
  return false;
}

}  // namespace

std::string MusicTagText(const std::string& tag) {
  std::string s = TrimText(tag);
  std::wstring w;
  if (!textkit::TryUtf8ToWide(s, &w)) return s;  // bytes as the file holds them: ANSI
  bool narrow = false;
  for (wchar_t c : w) {
    if (c > 0xFF) return textkit::Utf8ToAnsi(s);
    if (c >= 0x80) narrow = true;
  }
  if (narrow) {
    std::string bytes(w.begin(), w.end());
    std::wstring check;
    if (HasDoubleByte(bytes) && textkit::TryAnsiToWide(bytes, &check)) return bytes;
  }
  return textkit::Utf8ToAnsi(s);
}

void MusicFactsFromKit(const moviekit::MusicFacts& kit, const std::string& ext, MusicFacts* out) {
  MusicFacts f;
  const std::string codec = kit.codec, container = kit.container;
  if (container == "mp3" && (codec == "mp1" || codec == "mp2" || codec == "mp3"))
    f.format = textkit::FoldCase(codec);
  else if (container == "wav")
    f.format = "WAV";
  else if (ext.size() > 1)
    f.format = textkit::FoldCase(ext.substr(1));
  else
    f.format = textkit::FoldCase(codec);
  // A playing time the list cannot hold (about 49 days) is no playing time.
  const double ms = kit.durationSeconds * 1000.0;
  f.durationMs = ms >= 0 && ms < 4294967295.0 ? DWORD(ms + 0.5) : 0;
  f.bitrateKbps = kit.bitRate > 0 && kit.bitRate < 2000000000LL ? int((kit.bitRate + 500) / 1000) : 0;
  f.sampleRate = kit.sampleRate > 0 ? kit.sampleRate : 0;
  f.channels = kit.channels > 0 ? kit.channels : 0;
  f.bitsPerSample = kit.bitsPerSample > 0 ? kit.bitsPerSample : 0;
  f.title = MusicTagText(kit.title);
  f.artist = MusicTagText(kit.artist);
  f.album = MusicTagText(kit.album);
  f.genre = MusicTagText(kit.genre);
  f.year = MusicTagText(kit.date);
  if (f.year.size() > 4) f.year.resize(4);  // "2010-05-01" -> "2010"
  f.track = MusicTagText(kit.track);
  *out = f;
}

bool ReadMusicFile(const std::string& path, const std::string& ext, MusicFacts* out) {
  moviekit::MusicFacts kit;
  if (SUCCEEDED(moviekit::ReadMusicFacts(path.c_str(), &kit))) {
    MusicFactsFromKit(kit, ext, out);
    return true;
  }
  *out = MusicFacts();
  if (ext.size() > 1) out->format = textkit::FoldCase(ext.substr(1));
  return false;
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
