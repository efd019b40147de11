// CCMDIB: the image object on the shared imaging engine. The picture is an
// imaging::Dib; metadata comes from the engine's Exif reader and movie probe.
#include <Kitlib2/CMDIB.h>

#include <imaging/imaging.h>
#include <imaging/movieprobe.h>
#include <textkit/text.h>

#include <cstring>
#include <ctime>

namespace {

using imaging::Dib;

bool FileExists(LPCSTR path) { return path && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

HRESULT MissingFile() { return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND); }
const HRESULT kUnsupportedType = HRESULT_FROM_WIN32(ERROR_UNSUPPORTED_TYPE);  // 0x8007065E

SYSTEMTIME UtcToLocal(const SYSTEMTIME& utc) {
  SYSTEMTIME local = utc;
  if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) local = utc;
  return local;
}

SYSTEMTIME FileTimeToLocal(const FILETIME& ft) {
  SYSTEMTIME utc = {};
  FileTimeToSystemTime(&ft, &utc);
  return UtcToLocal(utc);
}

// Seconds since 1970 of a local time, -1 when it doesn't fit 32 bits.
long LocalToTime32(const SYSTEMTIME& st) {
  struct tm t = {};
  t.tm_year = st.wYear - 1900;
  t.tm_mon = st.wMonth - 1;
  t.tm_mday = st.wDay;
  t.tm_hour = st.wHour;
  t.tm_min = st.wMinute;
  t.tm_sec = st.wSecond;
  t.tm_isdst = -1;
  time_t v = mktime(&t);
  return (v < 0 || v > 0x7FFFFFFF) ? -1 : static_cast<long>(v);
}

long FileTimeToTime32(const FILETIME& ft) {
  ULARGE_INTEGER u = {{ft.dwLowDateTime, ft.dwHighDateTime}};
  if (u.QuadPart == 0) return -1;
  const unsigned long long k1601To1970 = 11644473600ull;
  unsigned long long secs = u.QuadPart / 10000000ull;
  if (secs < k1601To1970 || secs - k1601To1970 > 0x7FFFFFFFull) return -1;
  return static_cast<long>(secs - k1601To1970);
}

// The capture time as local time: Exif original or digitized date, else a movie's
// recording time.
bool CaptureTime(LPCSTR path, SYSTEMTIME* out) {
  imaging::Exif exif;
  if (exif.Load(path)) {
    auto d = exif.DateTimeOriginal();
    if (!d) d = exif.DateTimeDigitized();
    if (d) {
      *out = d->ToSystemTime();
      return true;
    }
  }
  imaging::MovieHeader movie;
  if (SUCCEEDED(imaging::ProbeMovie(path, &movie)) && movie.created) {
    *out = UtcToLocal(*movie.created);
    return true;
  }
  return false;
}

void CopyText(char* dst, size_t size, const std::string& s) {
  size_t n = std::min(size - 1, s.size());
  memcpy(dst, s.data(), n);
  dst[n] = '\0';
}

}  // namespace

struct CCMDIB::Impl {
  Dib dib;
  std::vector<uint8_t> exif;  // the source JPEG's Exif block, for saving with it
  int exifOrientation = 0;    // the orientation the pixels still need (0/1: upright)

  // Takes a decoded picture; a JPEG's Exif block is kept for saving with it.
  void Adopt(Dib&& decoded, const imaging::DecodeReport& report, const imaging::Exif& source) {
    dib = std::move(decoded);
    exif.clear();
    exifOrientation = report.orientationApplied ? 1 : report.info.orientation;
    if (report.info.format == imaging::ImageFormat::Jpeg && source.Valid()) exif = source.Block();
  }
};

CCMDIB::CCMDIB() : m_pImpl(new Impl) {}
CCMDIB::CCMDIB(const CCMDIB& other) : m_pImpl(new Impl(*other.m_pImpl)) {}
CCMDIB& CCMDIB::operator=(const CCMDIB& other) {
  if (this != &other) *m_pImpl = *other.m_pImpl;
  return *this;
}
CCMDIB::~CCMDIB() { delete m_pImpl; }

// ---- The picture ---------------------------------------------------------------------

namespace {

imaging::DecodeOptions LoadOptions(int flags) {
  imaging::DecodeOptions o;
  o.applyOrientation = (flags & CMDIB_LOAD_UPRIGHT) != 0;
  o.source = (flags & CMDIB_LOAD_THUMBNAIL) ? imaging::DecodeOptions::Source::Thumbnail
                                              : imaging::DecodeOptions::Source::Full;
  return o;
}

}  // namespace

long CCMDIB::Load(LPCSTR lpszPath, int nFlags) { return LoadFit(lpszPath, SIZE{0, 0}, nFlags); }

long CCMDIB::LoadFit(LPCSTR lpszPath, SIZE szBox, int nFlags) {
  if (!lpszPath || !*lpszPath || szBox.cx < 0 || szBox.cy < 0) return E_INVALIDARG;
  if (!FileExists(lpszPath)) return MissingFile();
  Dib dib;
  imaging::DecodeReport report;
  imaging::DecodeOptions options = LoadOptions(nFlags);
  options.maxWidth = szBox.cx;
  options.maxHeight = szBox.cy;
  HRESULT hr = imaging::DecodeFile(lpszPath, options, &dib, &report);
  if (SUCCEEDED(hr)) {
    imaging::Exif exif;
    exif.Load(lpszPath);
    m_pImpl->Adopt(std::move(dib), report, exif);
    return 0;
  }
  // Not a picture: a movie stands for itself with one of its frames.
  imaging::MovieHeader movie;
  if (SUCCEEDED(imaging::ProbeMovie(lpszPath, &movie)) &&
      SUCCEEDED(imaging::GrabMovieFrame(lpszPath, 0, 0, &dib))) {
    m_pImpl->dib = std::move(dib);
    m_pImpl->exif.clear();
    m_pImpl->exifOrientation = 0;
    return 1;
  }
  return hr;
}

long CCMDIB::LoadMemory(const void* pData, size_t nSize, int nFlags) {
  if (!pData || nSize == 0) return E_INVALIDARG;
  Dib dib;
  imaging::DecodeReport report;
  HRESULT hr = imaging::DecodeMemory(pData, nSize, LoadOptions(nFlags), &dib, &report);
  if (FAILED(hr)) return hr;
  imaging::Exif exif;
  exif.LoadMemory(pData, nSize);
  m_pImpl->Adopt(std::move(dib), report, exif);
  return 0;
}

BOOL CCMDIB::Create(int nWidth, int nHeight, int nBitCount) {
  Dib dib;
  if (!dib.Create(nWidth, nHeight, nBitCount == 32 ? 32 : 24)) return FALSE;
  m_pImpl->dib = std::move(dib);
  m_pImpl->exif.clear();
  m_pImpl->exifOrientation = 0;
  return TRUE;
}

BOOL CCMDIB::SetDIB(const BITMAPINFO* pInfo, const void* pBits) {
  if (!pInfo) return FALSE;
  Dib dib;
  int bits = pInfo->bmiHeader.biBitCount == 32 ? 32 : 24;
  if (!dib.Assign(pInfo, pBits, bits)) return FALSE;
  if (dib.TopDown()) dib.SetTopDown(false);
  m_pImpl->dib = std::move(dib);
  m_pImpl->exif.clear();
  m_pImpl->exifOrientation = 0;
  return TRUE;
}

BOOL CCMDIB::SetBitmap(HBITMAP hBitmap) {
  Dib dib;
  if (!hBitmap || !dib.FromBitmap(hBitmap, 24)) return FALSE;
  if (dib.TopDown()) dib.SetTopDown(false);
  m_pImpl->dib = std::move(dib);
  m_pImpl->exif.clear();
  m_pImpl->exifOrientation = 0;
  return TRUE;
}

void CCMDIB::Empty() {
  m_pImpl->dib.Clear();
  m_pImpl->exif.clear();
  m_pImpl->exifOrientation = 0;
}

BOOL CCMDIB::IsEmpty() const { return m_pImpl->dib.Empty(); }
int CCMDIB::GetWidth() const { return m_pImpl->dib.Empty() ? 0 : m_pImpl->dib.Width(); }
int CCMDIB::GetHeight() const { return m_pImpl->dib.Empty() ? 0 : m_pImpl->dib.Height(); }
int CCMDIB::GetBitCount() const { return m_pImpl->dib.Empty() ? 0 : m_pImpl->dib.BitCount(); }

SIZE CCMDIB::GetDimensions() const {
  SIZE s = {GetWidth(), GetHeight()};
  return s;
}

LPBITMAPINFO CCMDIB::GetBitmapInfoAddress() { return m_pImpl->dib.Empty() ? nullptr : m_pImpl->dib.Info(); }
LPBYTE CCMDIB::GetBitsAddress() { return m_pImpl->dib.Empty() ? nullptr : m_pImpl->dib.Bits(); }
DWORD CCMDIB::GetBitsSize() const { return static_cast<DWORD>(m_pImpl->dib.Empty() ? 0 : m_pImpl->dib.BitsSize()); }

// ---- Drawing -----------------------------------------------------------------------

HBITMAP CCMDIB::CreateBitmap(HDC hDC) const { return m_pImpl->dib.Empty() ? nullptr : m_pImpl->dib.CreateBitmap(hDC); }

BOOL CCMDIB::Draw(HDC hDC, int x, int y) const {
  RECT r = {x, y, x + GetWidth(), y + GetHeight()};
  return Draw(hDC, r);
}

BOOL CCMDIB::Draw(HDC hDC, const RECT& rcDest) const {
  return !m_pImpl->dib.Empty() && hDC && m_pImpl->dib.Draw(hDC, rcDest);
}

BOOL CCMDIB::DrawFit(HDC hDC, const RECT& rcBox, BOOL bEnlarge) const {
  if (m_pImpl->dib.Empty()) return FALSE;
  return Draw(hDC, FitRect(GetDimensions(), rcBox, bEnlarge));
}

long CCMDIB::DrawFile(HDC hDC, const RECT& rcDest, LPCSTR lpszPath) {
  if (!hDC || !lpszPath) return E_INVALIDARG;
  return imaging::DrawPictureFile(hDC, rcDest, lpszPath, false);
}

RECT CCMDIB::FitRect(SIZE szPicture, const RECT& rcBox, BOOL bEnlarge) {
  return imaging::FitRect(szPicture.cx, szPicture.cy, rcBox, bEnlarge != FALSE);
}

// ---- Filters -----------------------------------------------------------------------

namespace {

// Resizes by mode into out (which may be src).
HRESULT ResizeByMode(const Dib& src, SIZE target, int mode, Dib* out) {
  if (src.Empty()) return E_UNEXPECTED;
  if (target.cx <= 0 || target.cy <= 0) return E_INVALIDARG;
  const bool white = (mode & CMDIB_RESIZE_WHITE) != 0;
  const bool canvas = (mode & CMDIB_RESIZE_CANVAS) != 0;
  const bool fit = (mode & CMDIB_RESIZE_FIT) != 0;
  if (!white && !canvas && !fit) {
    return imaging::Resize(src, target.cx, target.cy, out) ? S_OK : E_OUTOFMEMORY;
  }
  SIZE size = imaging::FitSize(src.Width(), src.Height(), target.cx, target.cy, !white);
  Dib scaled;
  if (size.cx == src.Width() && size.cy == src.Height()) {
    scaled = src;
  } else if (!imaging::Resize(src, size.cx, size.cy, &scaled)) {
    return E_OUTOFMEMORY;
  }
  if (!white && !canvas) {
    *out = std::move(scaled);
    return S_OK;
  }
  Dib cell;
  if (!cell.Create(target.cx, target.cy, src.BitCount())) return E_OUTOFMEMORY;
  cell.Fill(white ? 0xFFFFFFFFu : 0xFF000000u);
  int x0 = (target.cx - scaled.Width()) / 2, y0 = (target.cy - scaled.Height()) / 2;
  size_t bpp = static_cast<size_t>(scaled.BytesPerPixel());
  for (int y = 0; y < scaled.Height(); ++y)
    memcpy(cell.Row(y0 + y) + x0 * bpp, scaled.Row(y), scaled.Width() * bpp);
  *out = std::move(cell);
  return S_OK;
}

}  // namespace

long CCMDIB::ResizeFilter(SIZE szTarget, CCMDIB* pOut, int nMode) {
  CCMDIB* out = pOut ? pOut : this;
  Dib result;
  HRESULT hr = ResizeByMode(m_pImpl->dib, szTarget, nMode, &result);
  if (FAILED(hr)) return hr;
  if (out != this) {
    out->m_pImpl->exif = m_pImpl->exif;
    out->m_pImpl->exifOrientation = m_pImpl->exifOrientation;
  }
  out->m_pImpl->dib = std::move(result);
  return 0;
}

long CCMDIB::ResizeAndRotate(LPCSTR lpszPath, SIZE szTarget, int nMode) {
  if (!lpszPath) return E_INVALIDARG;
  if (szTarget.cx <= 0 || szTarget.cy <= 0) return E_INVALIDARG;
  if (!FileExists(lpszPath)) return MissingFile();
  imaging::DecodeOptions o;
  o.applyOrientation = true;
  o.source = imaging::DecodeOptions::Source::ThumbnailIfLarge;
  if (nMode & (CMDIB_RESIZE_FIT | CMDIB_RESIZE_CANVAS | CMDIB_RESIZE_WHITE)) {
    // Fitting modes never need more pixels than the box: let the decoder scale.
    o.maxWidth = szTarget.cx;
    o.maxHeight = szTarget.cy;
  }
  Dib dib;
  HRESULT hr = imaging::DecodeFile(lpszPath, o, &dib);
  if (FAILED(hr)) return hr;
  Dib result;
  hr = ResizeByMode(dib, szTarget, nMode, &result);
  if (FAILED(hr)) return hr;
  m_pImpl->dib = std::move(result);
  m_pImpl->exif.clear();
  imaging::Exif exif;
  if (exif.Load(lpszPath) && exif.FromJpeg()) m_pImpl->exif = exif.Block();
  m_pImpl->exifOrientation = 1;
  return 0;
}

long CCMDIB::RecolorFilter(int nBitCount, CCMDIB* pOut) {
  if (m_pImpl->dib.Empty()) return E_UNEXPECTED;
  if (nBitCount != 24 && nBitCount != 32) return E_INVALIDARG;
  CCMDIB* out = pOut ? pOut : this;
  Dib result;
  if (!imaging::ConvertBitCount(m_pImpl->dib, nBitCount, &result)) return E_OUTOFMEMORY;
  if (out != this) *out->m_pImpl = *m_pImpl;
  out->m_pImpl->dib = std::move(result);
  return 0;
}

long CCMDIB::RotationFilter(int nDegreesClockwise, CCMDIB* pOut) {
  if (m_pImpl->dib.Empty()) return E_UNEXPECTED;
  if (nDegreesClockwise % 90 != 0) return E_INVALIDARG;
  CCMDIB* out = pOut ? pOut : this;
  Dib result;
  if (!imaging::Rotate(m_pImpl->dib, nDegreesClockwise, &result)) return E_OUTOFMEMORY;
  out->m_pImpl->dib = std::move(result);
  out->m_pImpl->exif.clear();  // the stored orientation no longer describes the pixels
  out->m_pImpl->exifOrientation = 0;
  return 0;
}

long CCMDIB::RotationFilter2(int nOrientation, CCMDIB* pOut) {
  if (m_pImpl->dib.Empty()) return E_UNEXPECTED;
  if (nOrientation < 1 || nOrientation > 8) return E_INVALIDARG;
  CCMDIB* out = pOut ? pOut : this;
  Dib result;
  if (!imaging::ApplyOrientation(m_pImpl->dib, nOrientation, &result)) return E_OUTOFMEMORY;
  if (out != this) out->m_pImpl->exif = m_pImpl->exif;
  // Turned by the file's own orientation: the pixels are upright now.
  bool matches = m_pImpl->exifOrientation == nOrientation || nOrientation == 1;
  out->m_pImpl->exifOrientation = matches ? 1 : 0;
  if (!matches) out->m_pImpl->exif.clear();
  out->m_pImpl->dib = std::move(result);
  return 0;
}

long CCMDIB::FlipFilter(BOOL bHorizontal, BOOL bVertical, CCMDIB* pOut) {
  if (m_pImpl->dib.Empty()) return E_UNEXPECTED;
  CCMDIB* out = pOut ? pOut : this;
  Dib result;
  if (!imaging::Flip(m_pImpl->dib, bHorizontal != FALSE, bVertical != FALSE, &result)) return E_OUTOFMEMORY;
  out->m_pImpl->dib = std::move(result);
  out->m_pImpl->exif.clear();
  out->m_pImpl->exifOrientation = 0;
  return 0;
}

long CCMDIB::TrimFilter(const RECT& rcTrim, CCMDIB* pOut) {
  if (m_pImpl->dib.Empty()) return E_UNEXPECTED;
  CCMDIB* out = pOut ? pOut : this;
  Dib result;
  if (!imaging::Crop(m_pImpl->dib, rcTrim, &result)) return E_INVALIDARG;
  if (out != this) {
    out->m_pImpl->exif = m_pImpl->exif;
    out->m_pImpl->exifOrientation = m_pImpl->exifOrientation;
  }
  out->m_pImpl->dib = std::move(result);
  return 0;
}

// ---- Saving ------------------------------------------------------------------------

long CCMDIB::Save(LPCSTR lpszPath, int nFormat, int nQuality, const void*) {
  if (!lpszPath || !*lpszPath) return E_INVALIDARG;
  if (m_pImpl->dib.Empty()) return E_UNEXPECTED;
  int quality = nQuality <= 0 ? 85 : std::min(nQuality, 100);
  switch (nFormat) {
    case CMDIB_SAVE_JPEG:
      return imaging::SaveJpeg(m_pImpl->dib, lpszPath, quality);
    case CMDIB_SAVE_JPEG_FINE:
      return imaging::SaveJpeg(m_pImpl->dib, lpszPath, std::max(quality, 95));
    case CMDIB_SAVE_JPEG_KEEPEXIF: {
      // The Exif goes along only while it still describes the pixels (upright ones).
      std::vector<uint8_t> block;
      if (!m_pImpl->exif.empty() && m_pImpl->exifOrientation <= 1)
        block = imaging::MakeUprightExif(m_pImpl->exif, 1, GetWidth(), GetHeight());
      return imaging::SaveJpeg(m_pImpl->dib, lpszPath, quality, block.empty() ? nullptr : &block);
    }
    case CMDIB_SAVE_BMP:
      return imaging::SaveBmp(m_pImpl->dib, lpszPath);
    case CMDIB_SAVE_PNG:
      return imaging::SavePng(m_pImpl->dib, lpszPath);
    default:
      return E_INVALIDARG;
  }
}

long CCMDIB::SaveJPEG(LPCSTR lpszPath, int nQuality) { return Save(lpszPath, CMDIB_SAVE_JPEG, nQuality); }
long CCMDIB::SaveBMP(LPCSTR lpszPath) { return Save(lpszPath, CMDIB_SAVE_BMP); }

long CCMDIB::GetIconFromFile(LPCSTR lpszPath, int cx, int cy, CCMDIB* pOut) {
  if (!lpszPath || cx <= 0 || cy <= 0) return E_INVALIDARG;
  CCMDIB* out = pOut ? pOut : this;
  Dib icon;
  HRESULT hr = imaging::ShellIcon(lpszPath, cx, cy, &icon, 24, RGB(255, 255, 255));
  if (FAILED(hr)) return hr;
  if (icon.TopDown()) icon.SetTopDown(false);
  out->m_pImpl->dib = std::move(icon);
  out->m_pImpl->exif.clear();
  out->m_pImpl->exifOrientation = 0;
  return 0;
}

// ---- Files and their metadata --------------------------------------------------------

BOOL CCMDIB::IsSupported(LPCSTR lpszPath) {
  if (!FileExists(lpszPath)) return FALSE;
  imaging::ImageInfo info;
  if (SUCCEEDED(imaging::ProbeImage(lpszPath, &info)) && info.format != imaging::ImageFormat::Unknown) return TRUE;
  imaging::MovieHeader movie;
  return SUCCEEDED(imaging::ProbeMovie(lpszPath, &movie)) && movie.width > 0 && movie.height > 0;
}

long CCMDIB::GetInfo(LPCSTR lpszPath, LPBITMAPINFOHEADER pHeader, CString* pstrCodec) {
  if (!lpszPath || !pHeader) return E_INVALIDARG;
  if (!FileExists(lpszPath)) return MissingFile();
  memset(pHeader, 0, sizeof(*pHeader));
  pHeader->biSize = sizeof(BITMAPINFOHEADER);
  pHeader->biPlanes = 1;
  imaging::ImageInfo info;
  if (SUCCEEDED(imaging::ProbeImage(lpszPath, &info)) && info.format != imaging::ImageFormat::Unknown) {
    pHeader->biWidth = info.width;
    pHeader->biHeight = info.height;
    pHeader->biBitCount = static_cast<WORD>(info.bitCount ? info.bitCount : 24);
    pHeader->biCompression = BI_RGB;
    if (pstrCodec) *pstrCodec = imaging::FormatName(info.format);
    return 0;
  }
  imaging::MovieHeader movie;
  if (SUCCEEDED(imaging::ProbeMovie(lpszPath, &movie)) && movie.width > 0 && movie.height > 0) {
    pHeader->biWidth = movie.width;
    pHeader->biHeight = movie.height;
    pHeader->biBitCount = 24;
    const std::string& c = movie.codec;
    pHeader->biCompression = c.size() == 4 ? MAKEFOURCC(c[0], c[1], c[2], c[3]) : BI_RGB;
    if (pstrCodec) *pstrCodec = CString(c.empty() ? movie.container.c_str() : c.c_str());
    return 0;
  }
  return kUnsupportedType;
}

long CCMDIB::GetInfo(LPCSTR lpszPath, void* pBuffer, UINT nSize, CString* pstrCodec) {
  if (!pBuffer || nSize < sizeof(BITMAPINFOHEADER)) return E_INVALIDARG;
  return GetInfo(lpszPath, static_cast<LPBITMAPINFOHEADER>(pBuffer), pstrCodec);
}

long CCMDIB::IsExif(LPCSTR lpszPath, BOOL* pbExif) {
  if (pbExif) *pbExif = FALSE;
  if (!FileExists(lpszPath)) return MissingFile();
  imaging::Exif exif;
  if (pbExif) *pbExif = exif.Load(lpszPath);
  return 0;
}

long CCMDIB::GetExif(LPCSTR lpszPath, CMEXIFINFO* pInfo) {
  if (!pInfo) return E_INVALIDARG;
  memset(pInfo, 0, sizeof(*pInfo));
  pInfo->nFlash = pInfo->nWhiteBalance = pInfo->nExposureProgram = pInfo->nSceneCaptureType = -1;
  if (!FileExists(lpszPath)) return MissingFile();
  imaging::Exif exif;
  if (!exif.Load(lpszPath)) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
  CopyText(pInfo->szMake, sizeof(pInfo->szMake), exif.Make());
  CopyText(pInfo->szModel, sizeof(pInfo->szModel), exif.Model());
  if (auto d = exif.DateTimeOriginal()) {
    pInfo->bHasDateTimeOriginal = TRUE;
    pInfo->stDateTimeOriginal = d->ToSystemTime();
  }
  pInfo->nOrientation = exif.Orientation();
  if (auto s = exif.PixelDimensions()) {
    pInfo->nPixelWidth = s->cx;
    pInfo->nPixelHeight = s->cy;
  }
  if (auto r = exif.ExposureTime()) pInfo->dExposureTime = r->Value();
  if (auto r = exif.FNumber()) pInfo->dFNumber = r->Value();
  if (auto r = exif.FocalLength()) pInfo->dFocalLength = r->Value();
  if (auto v = exif.Iso()) pInfo->nIsoSpeed = static_cast<int>(*v);
  if (auto v = exif.Flash()) pInfo->nFlash = static_cast<int>(*v);
  if (auto v = exif.WhiteBalance()) pInfo->nWhiteBalance = static_cast<int>(*v);
  if (auto v = exif.ExposureProgram()) pInfo->nExposureProgram = static_cast<int>(*v);
  if (auto v = exif.SceneCaptureType()) pInfo->nSceneCaptureType = static_cast<int>(*v);
  if (auto g = exif.Gps()) {
    if (g->latitude && g->longitude) {
      pInfo->bHasGps = TRUE;
      pInfo->dLatitude = g->latitude->decimal;
      pInfo->dLongitude = g->longitude->decimal;
    }
    if (g->altitudeMetres) {
      pInfo->bHasAltitude = TRUE;
      pInfo->dAltitude = *g->altitudeMetres;
    }
  }
  pInfo->bHasThumbnail = exif.HasThumbnail();
  pInfo->bHasPrintIm = exif.HasPrintIm();
  std::string text;
  if (auto c = exif.UserComment()) text = c->text;
  if (text.empty()) {
    if (auto d = exif.Text(imaging::ExifIfd::Ifd0, imaging::tag::kImageDescription)) text = *d;
  }
  CopyText(pInfo->szTextUtf8, sizeof(pInfo->szTextUtf8), text);
  return 0;
}

long CCMDIB::GetTime(LPCSTR lpszPath, int* pYear, int* pMonth, int* pDay, SYSTEMTIME* pTime) {
  if (pYear) *pYear = -1;
  if (pMonth) *pMonth = 0;
  if (pDay) *pDay = 0;
  if (pTime) memset(pTime, 0, sizeof(*pTime));
  if (!FileExists(lpszPath)) return MissingFile();
  SYSTEMTIME st;
  if (!CaptureTime(lpszPath, &st)) return 1;
  if (pYear) *pYear = st.wYear;
  if (pMonth) *pMonth = st.wMonth;
  if (pDay) *pDay = st.wDay;
  if (pTime) *pTime = st;
  return 0;
}

long CCMDIB::GetTime(LPCSTR lpszPath, long* pCapture, long* pAccess, long* pCreation, void*) {
  if (pCapture) *pCapture = -1;
  if (pAccess) *pAccess = -1;
  if (pCreation) *pCreation = -1;
  WIN32_FILE_ATTRIBUTE_DATA fad;
  if (!lpszPath || !GetFileAttributesExA(lpszPath, GetFileExInfoStandard, &fad)) return MissingFile();
  if (pAccess) *pAccess = FileTimeToTime32(fad.ftLastAccessTime);
  if (pCreation) *pCreation = FileTimeToTime32(fad.ftCreationTime);
  SYSTEMTIME st;
  if (!CaptureTime(lpszPath, &st)) return 1;
  long t = LocalToTime32(st);
  if (pCapture) *pCapture = t;
  return t == -1 ? 1 : 0;
}

long CCMDIB::LocalTimeToTime32(const SYSTEMTIME& local) { return LocalToTime32(local); }
long CCMDIB::FileTimeToTime32(const FILETIME& time) { return ::FileTimeToTime32(time); }

long CCMDIB::GetDateTimeOriginal(LPCSTR lpszPath, SYSTEMTIME* pTime) {
  if (pTime) memset(pTime, 0, sizeof(*pTime));
  if (!FileExists(lpszPath)) return MissingFile();
  imaging::Exif exif;
  if (!exif.Load(lpszPath)) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
  if (auto d = exif.DateTimeOriginal()) {
    if (pTime) *pTime = d->ToSystemTime();
    return 0;
  }
  auto other = exif.DateTimeDigitized();
  if (!other) other = exif.DateTime();
  if (other) {
    if (pTime) *pTime = other->ToSystemTime();
    return 1;
  }
  return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
}

SYSTEMTIME CCMDIB::GetUpdateTime(LPCSTR lpszPath) {
  SYSTEMTIME st = {};
  WIN32_FILE_ATTRIBUTE_DATA fad;
  if (lpszPath && GetFileAttributesExA(lpszPath, GetFileExInfoStandard, &fad)) st = FileTimeToLocal(fad.ftLastWriteTime);
  return st;
}

int CCMDIB::GetOrientationInfo(LPCSTR lpszPath, int* pnOrientation, int) {
  if (pnOrientation) *pnOrientation = 0;
  if (!FileExists(lpszPath)) return static_cast<int>(MissingFile());
  imaging::Exif exif;
  int o = exif.Load(lpszPath) ? exif.Orientation() : 0;
  if (pnOrientation) *pnOrientation = o;
  return o;
}

long CCMDIB::GetPimInfo(LPCSTR lpszPath) {
  if (!FileExists(lpszPath)) return MissingFile();
  imaging::Exif exif;
  if (!exif.Load(lpszPath)) return 0;
  long bits = CMDIB_PIM_EXIF;
  if (exif.HasThumbnail()) bits |= CMDIB_PIM_THUMBNAIL;
  if (exif.HasPrintIm()) bits |= CMDIB_PIM_PRINTIM;
  return bits;
}

namespace {

// The Norvane maker note of a file, or a failure code.
HRESULT LoadMakerNote(LPCSTR path, LPCSTR maker, imaging::Exif* exif) {
  if (!maker || lstrcmpiA(maker, "Norvane") != 0) return E_INVALIDARG;  // the only maker-note format we read
  if (!FileExists(path)) return MissingFile();
  if (!exif->Load(path) || !exif->HasNorvaneMakerNote()) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
  return S_OK;
}

}  // namespace

long CCMDIB::GetExifMakerValue(LPCSTR lpszPath, LPCSTR lpszMaker, UINT nTag, void* pValue, UINT nSize,
                               UINT* pnRead) {
  if (pnRead) *pnRead = 0;
  imaging::Exif exif;
  HRESULT hr = LoadMakerNote(lpszPath, lpszMaker, &exif);
  if (FAILED(hr)) return hr;
  const imaging::ExifEntry* e = exif.FindMakerNote(static_cast<uint16_t>(nTag));
  if (!e) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
  UINT written = 0;
  uint8_t* out = static_cast<uint8_t*>(pValue);
  if (e->type == imaging::kTypeAscii || e->type == imaging::kTypeUndefined) {
    written = static_cast<UINT>(std::min<size_t>(e->data.size(), out ? nSize : 0));
    if (written) memcpy(out, e->data.data(), written);
  } else if (auto values = exif.MakerNoteValues(static_cast<uint16_t>(nTag))) {
    for (int64_t v : *values) {
      if (!out || written + 4 > nSize) break;
      int32_t v32 = static_cast<int32_t>(v);
      memcpy(out + written, &v32, 4);
      written += 4;
    }
  }
  if (pnRead) *pnRead = written;
  return 0;
}

long CCMDIB::GetMakerNoteValue(LPCSTR lpszPath, LPCSTR lpszMaker, const CWordArray& tags, CDWordArray& values) {
  values.RemoveAll();
  imaging::Exif exif;
  HRESULT hr = LoadMakerNote(lpszPath, lpszMaker, &exif);
  if (FAILED(hr)) return hr;
  for (INT_PTR i = 0; i < tags.GetSize(); ++i) {
    auto v = exif.MakerNoteValues(tags[i]);
    if (!v || v->empty()) break;
    values.Add(static_cast<DWORD>(v->front()));
  }
  return static_cast<long>(values.GetSize());
}

long CCMDIB::UTF8toSJIS(LPCSTR lpszUtf8, LPSTR lpszOut, int nOutSize) {
  if (!lpszUtf8 || !lpszOut || nOutSize <= 0) return E_INVALIDARG;
  lpszOut[0] = '\0';
  if (!*lpszUtf8) return 0;
  std::string ansi;
  if (!textkit::TryUtf8ToAnsi(lpszUtf8, &ansi)) return HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION);
  if (ansi.size() + 1 > size_t(nOutSize)) return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
  memcpy(lpszOut, ansi.c_str(), ansi.size() + 1);
  return 0;
}
