#include "MovieHeaderReader.h"

#include <imaging/movieprobe.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

// The headers of a Motion-JPEG QuickTime or MP4 movie the panes accept; false for any
// other file.
bool ReadMotionJpegHeader(LPCSTR lpszPath, imaging::MovieHeader* pHeader) {
  if (!lpszPath || FAILED(imaging::ProbeMovie(lpszPath, pHeader))) return false;
  if (pHeader->container != "MP4" && pHeader->container != "QuickTime") return false;
  // 64-bit sizes and panorama tracks are not movies of the cameras.
  if (pHeader->wideBoxes || pHeader->panorama) return false;
  return pHeader->codec == "jpeg" || pHeader->codec == "mjpa";
}

}  // namespace

UINT ReadMovieFlag(LPCSTR lpszPath) {
  imaging::MovieHeader header;
  if (!ReadMotionJpegHeader(lpszPath, &header)) return 0;
  return header.firstSampleCount;
}

int ReadMovieInfo(LPCSTR lpszPath, UINT* pnNumerator, UINT* pnDenominator) {
  if (pnNumerator) *pnNumerator = 0;
  if (pnDenominator) *pnDenominator = 0;
  if (!pnNumerator || !pnDenominator) return 0;
  imaging::MovieHeader header;
  if (!ReadMotionJpegHeader(lpszPath, &header)) return 0;
  if (header.sampleTotal == 0 || header.videoTimeScale == 0 || header.videoDuration == 0) return 0;
  long double rate = (long double)header.videoTimeScale * header.sampleTotal / header.videoDuration;
  long double numerator = std::floor(rate * header.videoTimeScale);
  // A rate that does not fit is no movie of a camera: refused rather than cut.
  if (numerator < 1 || numerator > 4294967295.0L) return 0;
  *pnNumerator = (UINT)numerator;
  *pnDenominator = header.videoTimeScale;
  return 1;
}

namespace {

// Positioned, bounds-checked reads of one movie file.
class AtomFile {
 public:
  explicit AtomFile(LPCSTR lpszPath) {
    m_h = ::CreateFileA(lpszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    LARGE_INTEGER size;
    if (m_h != INVALID_HANDLE_VALUE && ::GetFileSizeEx(m_h, &size)) m_size = (ULONGLONG)size.QuadPart;
  }
  ~AtomFile() {
    if (m_h != INVALID_HANDLE_VALUE) ::CloseHandle(m_h);
  }
  bool IsOpen() const { return m_h != INVALID_HANDLE_VALUE; }
  ULONGLONG Size() const { return m_size; }
  bool Read(ULONGLONG offset, void* p, DWORD n) const {
    if (offset > m_size || n > m_size - offset) return false;
    LARGE_INTEGER at;
    at.QuadPart = (LONGLONG)offset;
    DWORD got = 0;
    return ::SetFilePointerEx(m_h, at, NULL, FILE_BEGIN) && ::ReadFile(m_h, p, n, &got, NULL) && got == n;
  }
  bool U32(ULONGLONG offset, UINT* v) const {
    BYTE b[4];
    if (!Read(offset, b, 4)) return false;
    *v = ((UINT)b[0] << 24) | ((UINT)b[1] << 16) | ((UINT)b[2] << 8) | b[3];
    return true;
  }
  bool Type(ULONGLONG offset, char* t) const { return Read(offset, t, 4); }

 private:
  HANDLE m_h = INVALID_HANDLE_VALUE;
  ULONGLONG m_size = 0;
};

struct Atom {
  ULONGLONG offset;
  ULONGLONG size;
  char type[4];
  bool Is(const char* t) const { return memcmp(type, t, 4) == 0; }
};

// The children of [begin, end) in order; false at a child that is not sound (64-bit or
// below-header sizes, a child past its parent). A size 0 runs to the end only at the top.
template <typename F>
bool WalkAtoms(const AtomFile& f, ULONGLONG begin, ULONGLONG end, bool top, F&& onChild) {
  for (ULONGLONG off = begin; off + 8 <= end;) {
    Atom a;
    UINT size = 0;
    if (!f.U32(off, &size) || !f.Type(off + 4, a.type)) return false;
    a.offset = off;
    a.size = (size == 0 && top) ? end - off : size;
    if (size == 1 || a.size < 8 || a.size > end - off) return false;
    if (!onChild(a)) return false;
    off += a.size;
  }
  return true;
}

// A field inside its atom.
bool Field32(const AtomFile& f, const Atom& a, ULONGLONG at, UINT* v) {
  return at + 4 <= a.size && f.U32(a.offset + at, v);
}
bool VersionZero(const AtomFile& f, const Atom& a) {
  BYTE v = 1;
  return a.size > 8 && f.Read(a.offset + 8, &v, 1) && v == 0;
}

const BYTE kUuidTail[12] = {0xA8, 0x8C, 0x11, 0xD4, 0x81, 0x97, 0x00, 0x90, 0x27, 0x08, 0x77, 0x03};

bool ReadSampleTable(const AtomFile& f, const Atom& stbl, CMovieClipFacts* p) {
  return WalkAtoms(f, stbl.offset + 8, stbl.offset + stbl.size, false, [&](const Atom& a) {
    if (a.Is("stsd")) {
      if (!VersionZero(f, a)) return false;
      if (a.size >= 24 && f.Read(a.offset + 20, p->szFormat, 4)) {
        p->szFormat[4] = 0;
        p->bMotionJpeg = !memcmp(p->szFormat, "jpeg", 4) || !memcmp(p->szFormat, "mjpa", 4);
      }
    } else if (a.Is("stts")) {
      if (!VersionZero(f, a)) return true;  // no sample count, not a broken file
      UINT n = 0;
      if (!Field32(f, a, 12, &n)) return true;
      Field32(f, a, 16, &p->nFirstSampleCount);
      for (UINT i = 0; i < n && 16 + 8ull * i + 4 <= a.size; ++i) {
        UINT c = 0;
        if (!Field32(f, a, 16 + 8ull * i, &c)) break;
        p->nSampleTotal += c;
      }
    } else if (a.Is("stsc")) {
      p->stsc = a.offset, p->stscSize = (UINT)a.size;
    } else if (a.Is("stsz")) {
      p->stsz = a.offset, p->stszSize = (UINT)a.size;
    } else if (a.Is("stco")) {
      p->stco = a.offset, p->stcoSize = (UINT)a.size;
    }
    return true;
  });
}

// One "mdia": its media header and, when its "minf" is the video's, the sample table.
bool ReadMedia(const AtomFile& f, const Atom& mdia, CMovieClipFacts* p, bool* pVideo) {
  Atom mdhd = {0, 0, {0}}, minf = {0, 0, {0}};
  bool ok = WalkAtoms(f, mdia.offset + 8, mdia.offset + mdia.size, false, [&](const Atom& a) {
    if (a.Is("mdhd")) mdhd = a;
    if (a.Is("minf")) minf = a;
    if (a.Is("hdlr")) {
      char sub[4];
      if (a.size >= 20 && f.Read(a.offset + 16, sub, 4) &&
          (!memcmp(sub, "qtvr", 4) || !memcmp(sub, "pano", 4) || !memcmp(sub, "STpn", 4)))
        return false;
    }
    return true;
  });
  if (!ok || !minf.size || *pVideo) return ok;
  char first[4];
  if (minf.size < 16 || !f.Read(minf.offset + 12, first, 4) || memcmp(first, "vmhd", 4)) return true;
  *pVideo = true;
  if (mdhd.size && VersionZero(f, mdhd)) {
    Field32(f, mdhd, 20, &p->nTimeScale);
    Field32(f, mdhd, 24, &p->nMediaDuration);
  }
  return WalkAtoms(f, minf.offset + 8, minf.offset + minf.size, false,
                   [&](const Atom& a) { return !a.Is("stbl") || ReadSampleTable(f, a, p); });
}

}  // namespace

BOOL ReadMovieClipFacts(LPCSTR lpszPath, CMovieClipFacts* p) {
  if (!lpszPath || !p) return FALSE;
  *p = CMovieClipFacts();
  AtomFile f(lpszPath);
  if (!f.IsOpen()) return FALSE;
  p->nFileSize = f.Size();
  Atom moov = {0, 0, {0}};
  bool havePrivate = false;
  UINT privateFlag = 1, privateTime = 0;
  bool ok = WalkAtoms(f, 0, f.Size(), true, [&](const Atom& a) {
    if (a.Is("moov")) moov = a;
    if (a.Is("uuid") && a.size >= 24) {
      BYTE ext[16];
      if (f.Read(a.offset + 8, ext, 16) && !memcmp(ext, "mvml", 4) && !memcmp(ext + 4, kUuidTail, 12)) {
        havePrivate = Field32(f, a, 24, &privateFlag) && Field32(f, a, 32, &privateTime);
      }
    }
    return true;
  });
  if (!ok) return FALSE;
  if (!moov.size) return TRUE;
  p->bHasMovie = TRUE;
  bool video = false;
  ok = WalkAtoms(f, moov.offset + 8, moov.offset + moov.size, false, [&](const Atom& a) {
    if (a.Is("mvhd")) {
      if (!VersionZero(f, a)) return false;
      Field32(f, a, 12, &p->nCreation);
    } else if (a.Is("trak")) {
      return WalkAtoms(f, a.offset + 8, a.offset + a.size, false,
                       [&](const Atom& c) { return !c.Is("mdia") || ReadMedia(f, c, p, &video); });
    }
    return true;
  });
  if (!ok) return FALSE;
  if (havePrivate && privateFlag == 0) {
    p->nCreation = privateTime;
    p->bPrivateTime = TRUE;
  }
  return TRUE;
}

BOOL ReadMovieRecordTime(const CMovieClipFacts& facts, SYSTEMTIME* pTime) {
  if (!pTime) return FALSE;
  ZeroMemory(pTime, sizeof *pTime);
  if (!facts.bHasMovie) return FALSE;
  if (!facts.nCreation) return TRUE;
  SYSTEMTIME base = {1904, 1, 5, 1, 0, 0, 0, 0};
  FILETIME ft;
  ::SystemTimeToFileTime(&base, &ft);
  ULONGLONG t = ((ULONGLONG)ft.dwHighDateTime << 32 | ft.dwLowDateTime) + facts.nCreation * 10000000ull;
  if (facts.bPrivateTime || !memcmp(facts.szFormat, "mp4v", 4)) {
    // The zone's offset as the local clock showed it at noon of 1970-01-01.
    SYSTEMTIME noon = {1970, 1, 4, 1, 12, 0, 0, 0}, local;
    FILETIME fu, fl;
    if (::SystemTimeToTzSpecificLocalTime(NULL, &noon, &local) && ::SystemTimeToFileTime(&noon, &fu) &&
        ::SystemTimeToFileTime(&local, &fl)) {
      LONGLONG u = (LONGLONG)((ULONGLONG)fu.dwHighDateTime << 32 | fu.dwLowDateTime);
      LONGLONG l = (LONGLONG)((ULONGLONG)fl.dwHighDateTime << 32 | fl.dwLowDateTime);
      t += (ULONGLONG)(l - u);
    }
  }
  ft.dwLowDateTime = (DWORD)t;
  ft.dwHighDateTime = (DWORD)(t >> 32);
  SYSTEMTIME st;
  if (::FileTimeToSystemTime(&ft, &st)) *pTime = st;
  return TRUE;
}

namespace {

// R = N x T x T / D, truncated; 0 when there is none.
ULONGLONG RateDivisor(const CMovieClipFacts& f) {
  if (!f.bMotionJpeg || !f.nMediaDuration || !f.nTimeScale || !f.nSampleTotal) return 0;
  long double r = (long double)f.nSampleTotal * f.nTimeScale * f.nTimeScale / f.nMediaDuration;
  if (r >= 18446744073709551615.0L) return ~0ull;
  return (ULONGLONG)r;
}

BOOL DurationIn(const CMovieClipFacts& f, ULONGLONG unitsPerSecond, ULONGLONG* pOut) {
  ULONGLONG r = RateDivisor(f);
  if (!r) return FALSE;
  unsigned __int128 v = (unsigned __int128)f.nFirstSampleCount * f.nTimeScale * unitsPerSecond / r;
  if (v > 0x7FFFFFFFFFFFFFFFull) return FALSE;
  *pOut = (ULONGLONG)v;
  return TRUE;
}

}  // namespace

BOOL ReadMovieDuration(const CMovieClipFacts& facts, LONGLONG* pDuration) {
  ULONGLONG v = 0;
  if (!pDuration || !DurationIn(facts, 10000000ull, &v)) return FALSE;
  *pDuration = (LONGLONG)v;
  return TRUE;
}

BOOL ReadMovieDurationNs(const CMovieClipFacts& facts, ULONGLONG* pNs) {
  return pNs && DurationIn(facts, 1000000000ull, pNs);
}

BOOL LocateMovieSample(LPCSTR lpszPath, const CMovieClipFacts& facts, UINT nSample, ULONGLONG* pOffset, UINT* pSize) {
  if (!lpszPath || !pOffset || !pSize || !facts.stsc || !facts.stsz || !facts.stco) return FALSE;
  AtomFile f(lpszPath);
  if (!f.IsOpen()) return FALSE;
  Atom stsc = {facts.stsc, facts.stscSize, {0}}, stsz = {facts.stsz, facts.stszSize, {0}},
       stco = {facts.stco, facts.stcoSize, {0}};
  if (!VersionZero(f, stsz) || !VersionZero(f, stco)) return FALSE;
  UINT k = 0, uniform = 0, chunks = 0;
  if (!Field32(f, stsc, 20, &k) || !k || !Field32(f, stsz, 12, &uniform) || !Field32(f, stco, 12, &chunks))
    return FALSE;
  UINT chunk = nSample / k;
  if (chunk >= chunks) return FALSE;
  ULONGLONG within = 0;
  UINT size = uniform;
  if (!uniform) {
    UINT count = 0;
    if (!Field32(f, stsz, 16, &count) || nSample >= count) return FALSE;
    for (UINT s = chunk * k; s < nSample; ++s) {
      UINT one = 0;
      if (!Field32(f, stsz, 20 + 4ull * s, &one)) return FALSE;
      within += one;
    }
    if (!Field32(f, stsz, 20 + 4ull * nSample, &size)) return FALSE;
  }
  UINT chunkOffset = 0;
  if (!Field32(f, stco, 16 + 4ull * chunk, &chunkOffset)) return FALSE;
  ULONGLONG offset = (ULONGLONG)chunkOffset + within;
  if (!size || offset > f.Size() || size > f.Size() - offset) return FALSE;
  *pOffset = offset;
  *pSize = size;
  return TRUE;
}
