// CThumbnail's picture: decoding (shared with the decoder thread), the lock, and the
// pictures composed at the sizes the views ask for.
#include "internal.h"

namespace vxg {

namespace {
COLORREF g_backColor = RGB(255, 255, 255);

// The shell's icon of a file at an icon size that suits the box.
HRESULT KindIcon(const std::string& path, int cx, int cy, DecodeResult* out) {
  int s = cx < cy ? cx : cy;
  s = s >= 64 ? 48 : s >= 32 ? 32 : (s > 0 ? s : 32);
  HRESULT hr = imaging::ShellIcon(path.c_str(), s, s, &out->dib, 24, g_backColor);
  out->imageType = VXIMAGE_ICON;
  out->complete = true;
  return hr;
}

// A picture file (or a shortcut's picture target).
HRESULT DecodeStill(const std::string& path, UINT kind, const DecodeJob& job, DecodeResult* out) {
  int type = (kind & VXKIND_RAW) ? VXIMAGE_RAW : KindHas(kind, VXTYPE_BITMAP) ? VXIMAGE_BITMAP : VXIMAGE_PICTURE;
  // The thumbnail the date pass read, or the one the database kept: its metadata is the
  // item's already.
  std::vector<uint8_t> kept;
  const std::vector<uint8_t>& thumb = job.thumb.empty() && job.kept && KeptThumbnail(job, &kept) ? kept : job.thumb;
  if (!thumb.empty() && SUCCEEDED(imaging::DecodeProbedThumbnail(job.info, thumb, job.cx, job.cy, &out->dib))) {
    out->imageType = type;
    out->origWidth = job.info.DisplayWidth();
    out->origHeight = job.info.DisplayHeight();
    out->bpp = job.info.bitCount;
    out->fromThumbBytes = true;
    return S_OK;
  }
  imaging::DecodeReport rep;
  CountFileRead();
  HRESULT hr = imaging::DecodeThumbnail(path.c_str(), job.cx, job.cy, &out->dib, &rep);
  if (SUCCEEDED(hr)) {
    out->imageType = type;
    out->origWidth = rep.info.DisplayWidth();
    out->origHeight = rep.info.DisplayHeight();
    out->bpp = rep.info.bitCount;
    out->complete = !rep.fromThumbnail && out->dib.Width() >= out->origWidth && out->dib.Height() >= out->origHeight;
  } else {
    HRESULT icon = KindIcon(path, job.cx, job.cy, out);
    if (type == VXIMAGE_RAW) out->imageType = VXIMAGE_RAW;  // still a RAW picture for the developer
    if (FAILED(icon)) return hr;
  }
  // The metadata the decode read on its way: the file is not opened again for it.
  if (HasExifKind(kind)) {
    if (job.wantExif) out->hasExif = ExifRecordOf(rep.exif, &out->exif);
    out->recRead = true;
    out->recTime = ExifRecTime(rep.exif);
  }
  return S_OK;
}

// A movie: the content's own thumbnail (".tmb" beside it) when there is one, else a
// frame when the imaging engine gives one in time (AVCHD scenes too), else the kind icon.
HRESULT DecodeMovie(const std::string& path, UINT kind, const DecodeJob& job, DecodeResult* out) {
  size_t off = textkit::NameOffset(path);
  std::string ext = textkit::ExtensionOf(path.substr(off));
  std::string tmb = path.substr(0, path.size() - ext.size()) + ".tmb";
  if (PathExists(tmb)) {
    imaging::DecodeReport rep;
    if (SUCCEEDED(imaging::DecodeThumbnail(tmb.c_str(), job.cx, job.cy, &out->dib, &rep))) {
      out->imageType = VXIMAGE_MOVIE;
      return S_OK;
    }
  }
  // AVCHD scenes are streams the imaging engine reads; a ".cont" only names its streams.
  bool content = textkit::EqualNoCase(ext, ".cont");
  if (kind != VXTYPE_MOVIE_UNPLAYABLE && !content) {
    imaging::MovieInfo info;
    if (SUCCEEDED(imaging::GrabMovieFrame(path.c_str(), job.cx, job.cy, &out->dib, &info, 4000))) {
      out->imageType = VXIMAGE_MOVIE;
      out->origWidth = info.width;
      out->origHeight = info.height;
      out->bpp = 24;
      return S_OK;
    }
  }
  return KindIcon(path, job.cx, job.cy, out);
}

// A folder's preview: the first picture inside it that matches the preview type.
HRESULT DecodeFolder(const std::string& path, const DecodeJob& job, DecodeResult* out) {
  std::string folder = textkit::WithTrailingSeparator(path);
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    int looked = 0;
    std::vector<std::string> candidates;
    do {
      if (!CThumbnail::IsFile(fd)) continue;
      UINT k = KindFromExtension(textkit::ExtensionOf(fd.cFileName));
      if ((k & VXKIND_STILL) && !(k & VXKIND_RAW) && MatchesFolderImageType(k, job.folderImageType))
        candidates.push_back(fd.cFileName);
    } while (++looked < 400 && FindNextFileA(h, &fd));
    FindClose(h);
    std::sort(candidates.begin(), candidates.end(),
              [](const std::string& a, const std::string& b) { return textkit::FoldCase(a) < textkit::FoldCase(b); });
    for (const std::string& name : candidates) {
      if (SUCCEEDED(imaging::DecodeThumbnail((folder + name).c_str(), job.cx, job.cy, &out->dib))) {
        out->imageType = VXIMAGE_FOLDER;
        return S_OK;
      }
    }
  }
  return KindIcon(path, job.cx, job.cy, out);
}

}  // namespace

const long long kDefaultPixelBudget = 192LL * 1024 * 1024;
PixelLedger& Ledger() {
  static PixelLedger ledger(kDefaultPixelBudget);
  return ledger;
}

COLORREF ThumbBackColor() { return g_backColor; }

HRESULT DecodeForJob(const DecodeJob& job, DecodeResult* out) {
  if (job.path.empty()) return E_INVALIDARG;
  UINT kind = job.kind;
  std::string path = job.path;
  if (kind & VXKIND_FOLDER) return DecodeFolder(path, job, out);
  if (kind & VXKIND_SHORTCUT) {
    std::string target;
    if ((kind & VXKIND_SUB_1) && ResolveShortcut(path, &target)) {
      if (kind & VXKIND_STILL) {
        HRESULT hr = DecodeStill(target, kind & ~(VXKIND_SHORTCUT | VXKIND_SUB_1), job, out);
        out->recRead = false;  // the shortcut's own time stays its file's
        return hr;
      }
    }
    return KindIcon(path, job.cx, job.cy, out);
  }
  if (kind & VXKIND_STILL) return DecodeStill(path, kind, job, out);
  if (kind & VXKIND_MOVIE) return DecodeMovie(path, kind, job, out);
  return KindIcon(path, job.cx, job.cy, out);
}

long long PixelBytes() { return Ledger().Used(); }
void AddPixelBytes(long long delta) { Ledger().Change(delta); }
long long PixelBudget() { return Ledger().Budget(); }
bool TakePixelBytes(long long bytes) { return Ledger().TryTake(bytes); }

}  // namespace vxg

using namespace vxg;

void CThumbnailPage::SetPixelBudget(ULONGLONG bytes) { Ledger().SetBudget(bytes ? (long long)bytes : kDefaultPixelBudget); }
ULONGLONG CThumbnailPage::GetPixelBytes() { return ULONGLONG(PixelBytes()); }

void ThumbImpl::RecountPixels(long long reserved) {
  long long n = (long long)image.BitsSize();
  for (auto& c : composed) n += (long long)c.dib.BitsSize();
  AddPixelBytes(n - reserved - pixelBytes.exchange(n));
  if (n > 0 && PixelBytes() > PixelBudget()) DecoderOverBudget();
}

// The decode status forgets the picture (under the process-wide lock): it is decoded again,
// at once, or, when given up for the budget, once the decode window comes back to it.
void ThumbImpl::ForgetDecodedLocked(bool forBudget) {
  ++imageGen;
  givenUp = forBudget;
  decodeState = kNotDecoded;
  decodedBox = SIZE{0, 0};
  complete = false;
}

// Frees the picture and those composed from it (under cs).
void ThumbImpl::ClearPictures() {
  image.Clear();
  imageType = VXIMAGE_NONE;
  for (auto& c : composed) {
    c.dib.Clear();
    c.cx = c.cy = 0;
  }
  RecountPixels();
}

bool ThumbImpl::DropForBudget() {
  // Never waits for the item: the caller may hold another item's lock (a view composing).
  if (!TryEnterCriticalSection(&cs)) return false;
  {
    Guard lock;
    if (decoding) {
      LeaveCriticalSection(&cs);
      return false;
    }
    ForgetDecodedLocked(true);
  }
  ClearPictures();
  LeaveCriticalSection(&cs);
  return true;
}

// ---- ThumbImpl -------------------------------------------------------------------------
// Forgets the pictures; the decoder looks at the whole list again.
void ThumbImpl::DropPictures() {
  {
    Guard lock;
    ForgetDecodedLocked(false);
    DecoderItemCleared();
  }
  EnterCriticalSection(&cs);
  ClearPictures();
  LeaveCriticalSection(&cs);
}

void ThumbImpl::DropImage(bool all) {
  DropPictures();
  EnterCriticalSection(&cs);
  std::vector<uint8_t>().swap(headThumb);
  if (all) {
    exifLoaded = false;
    exif.reset();
    sizeLoaded = false;
    origWidth = origHeight = bpp = 0;
    musicLoaded = false;
    music.reset();
  }
  LeaveCriticalSection(&cs);
}

void ThumbImpl::StoreResult(DecodeResult&& r) {
  // Room first: the new picture's bytes are the ledger's before the picture is kept.
  const long long incoming = (long long)r.dib.BitsSize();
  ReservePixels(incoming, this);
  EnterCriticalSection(&cs);
  image = std::move(r.dib);
  imageType = r.imageType;
  for (auto& c : composed) {
    c.dib.Clear();
    c.cx = c.cy = 0;
  }
  if (!sizeLoaded && r.origWidth > 0) {
    origWidth = r.origWidth;
    origHeight = r.origHeight;
    bpp = r.bpp;
    sizeLoaded = true;
  }
  if (!exifLoaded && r.hasExif) {
    exif.reset(new VXEXIFDATA(r.exif));
    exifLoaded = true;
  }
  if (recState == 0 && r.recRead) {
    if (r.recTime) recTime = r.recTime;  // else the file time stays
    recState = 1;
  }
  RecountPixels(incoming);
  LeaveCriticalSection(&cs);
}

// ---- Decoding --------------------------------------------------------------------------------
void CThumbnail::SetDecodeSize(int cx, int cy) {
  if (cx <= 0 || cy <= 0) return;
  m_p->decodeSize = SIZE{cx, cy};
}

SIZE CThumbnail::GetDecodeSize() const { return m_p->decodeSize; }

HRESULT CThumbnail::DecodeThumbnail(VXDECODEABORTPROC pfnGoOn, void* pContext) {
  if (m_p->path.empty()) return E_FAIL;
  if (pfnGoOn && !pfnGoOn(pContext)) return E_ABORT;
  DecodeJob job;
  unsigned gen;
  {
    Guard lock;
    SIZE want = m_p->decodeSize;
    if (m_p->decodeState == kDecoded &&
        (m_p->complete || (m_p->decodedBox.cx >= want.cx && m_p->decodedBox.cy >= want.cy)))
      return S_OK;
    gen = m_p->imageGen;
  }
  EnterCriticalSection(&m_p->cs);
  job.path = m_p->path;
  job.kind = m_p->kind;
  job.folderImageType = m_p->folderImageType;
  job.cx = m_p->decodeSize.cx;
  job.cy = m_p->decodeSize.cy;
  job.wantExif = !m_p->exifLoaded;
  m_p->TakeHead(&job);
  LeaveCriticalSection(&m_p->cs);

  imaging::ComScope com;
  DecodeResult r;
  HRESULT hr = DecodeForJob(job, &r);
  if (FAILED(hr)) return hr;
  bool complete = r.complete;
  {
    Guard lock;
    if (m_p->imageGen != gen) return S_OK;  // cleared meanwhile: the next decode is current
  }
  m_p->StoreResult(std::move(r));
  Guard lock;
  if (m_p->imageGen == gen) {
    m_p->decodeState = kDecoded;
    m_p->decodedBox = SIZE{job.cx, job.cy};
    m_p->complete = complete;
  }
  return S_OK;
}

BOOL CThumbnail::IsDecoded() const {
  Guard lock;
  return m_p->decodeState == kDecoded;
}

int CThumbnail::GetDecodeImageType() const {
  EnterCriticalSection(&m_p->cs);
  int t = m_p->imageType;
  LeaveCriticalSection(&m_p->cs);
  return t;
}

void CThumbnail::ThreadLock() const { EnterCriticalSection(&m_p->cs); }
void CThumbnail::ThreadUnlock() const { LeaveCriticalSection(&m_p->cs); }

void CThumbnail::SetThumbnailBackColor(COLORREF color) { g_backColor = color; }

BITMAPINFOHEADER* CThumbnail::GetThumbnail(int cx, int cy) {
  if (cx <= 0 || cy <= 0) return nullptr;
  EnterCriticalSection(&m_p->cs);
  BITMAPINFOHEADER* result = nullptr;
  if (!m_p->image.Empty()) {
    for (auto& c : m_p->composed)
      if (c.cx == cx && c.cy == cy && !c.dib.Empty()) result = &c.dib.Info()->bmiHeader;
    if (!result) {
      ThumbImpl::Composed& slot = m_p->composed[m_p->nextComposed];
      m_p->nextComposed = (m_p->nextComposed + 1) % 2;
      slot.cx = slot.cy = 0;
      // The slot's old picture goes first, then the new one's bytes are made room for.
      slot.dib.Clear();
      m_p->RecountPixels();
      const long long incoming = (long long)imaging::Dib::BitsSizeOf(cx, cy, 24);
      ReservePixels(incoming, m_p);
      if (!slot.dib.Create(cx, cy, 24)) {
        m_p->RecountPixels(incoming);
      } else {
        COLORREF bg = g_backColor;
        slot.dib.Fill(0xFF000000u | (GetRValue(bg) << 16) | (GetGValue(bg) << 8) | GetBValue(bg));
        const imaging::Dib& src = m_p->image;
        // A picture reduced from a larger original may be enlarged until it is decoded
        // again at the bigger size; icons and small originals keep their size.
        bool enlarge = !m_p->complete && m_p->imageType != VXIMAGE_ICON;
        SIZE fit = imaging::FitSize(src.Width(), src.Height(), cx, cy, enlarge);
        imaging::Dib scaled;
        const imaging::Dib* from = &src;
        if ((fit.cx != src.Width() || fit.cy != src.Height()) && imaging::Resize(src, fit.cx, fit.cy, &scaled))
          from = &scaled;
        imaging::Dib rgb;
        if (from->BitCount() != 24 && imaging::ConvertBitCount(*from, 24, &rgb, bg)) from = &rgb;
        int w = from->Width() < cx ? from->Width() : cx;
        int h = from->Height() < cy ? from->Height() : cy;
        int x0 = (cx - w) / 2, y0 = (cy - h) / 2;
        if (from->BitCount() == 24) {
          for (int y = 0; y < h; ++y)
            memcpy(slot.dib.Row(y0 + y) + x0 * 3, from->Row(y), size_t(w) * 3);
        }
        slot.cx = cx;
        slot.cy = cy;
        m_p->RecountPixels(incoming);
        result = &slot.dib.Info()->bmiHeader;
      }
    }
  }
  LeaveCriticalSection(&m_p->cs);
  return result;
}

HRESULT CThumbnail::ScaleImage(int cxMax, int cyMax, int cx, int cy) {
  if (cx <= 0 || cy <= 0) return E_INVALIDARG;
  ThreadLock();
  BITMAPINFOHEADER* bih = GetThumbnail(cx, cy);
  ThreadUnlock();
  return bih ? S_OK : E_PENDING;
}

void CThumbnail::ClearImage(BOOL bAll) { m_p->DropImage(bAll != FALSE); }

void CThumbnail::ClearImageInfo() {
  EnterCriticalSection(&m_p->cs);
  m_p->exifLoaded = false;
  m_p->exif.reset();
  std::vector<uint8_t>().swap(m_p->headThumb);
  m_p->sizeLoaded = false;
  m_p->origWidth = m_p->origHeight = m_p->bpp = 0;
  m_p->musicLoaded = false;
  m_p->music.reset();
  m_p->strings.clear();
  LeaveCriticalSection(&m_p->cs);
}
