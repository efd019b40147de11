// What CThumbnail reads from its file: Exif data, picture size, recording time, music
// information, keywords.
#include "internal.h"

#include <RecordGate.h>

#include <cstdio>

namespace vxg {

namespace {
void ExifToRecord(const imaging::Exif& ex, VXEXIFDATA* d) {
  memset(d, 0, sizeof(*d));
  lstrcpynA(d->szMaker, ex.Make().c_str(), sizeof(d->szMaker));
  lstrcpynA(d->szModel, ex.Model().c_str(), sizeof(d->szModel));
  d->nOrientation = ex.Orientation();
  if (auto dt = ex.DateTimeOriginal()) {
    d->bHasDate = TRUE;
    d->stDateTimeOriginal = dt->ToSystemTime();
  } else if (auto dd = ex.DateTimeDigitized()) {
    d->bHasDate = TRUE;
    d->stDateTimeOriginal = dd->ToSystemTime();
  }
  if (auto px = ex.PixelDimensions()) {
    d->nWidth = px->cx;
    d->nHeight = px->cy;
  } else if (auto im = ex.ImageDimensions()) {
    d->nWidth = im->cx;
    d->nHeight = im->cy;
  }
  if (auto r = ex.ExposureTime()) d->dExposureTime = r->Value();
  if (auto r = ex.FNumber()) d->dFNumber = r->Value();
  if (auto r = ex.FocalLength()) d->dFocalLength = r->Value();
  if (auto v = ex.Iso()) d->nIso = int(*v);
  d->nFlash = ex.Flash() ? int(*ex.Flash()) : -1;
  if (auto g = ex.Gps()) {
    if (g->latitude && g->longitude) {
      d->bHasGps = TRUE;
      d->dLatitude = g->latitude->decimal;
      d->dLongitude = g->longitude->decimal;
    }
  }
  d->bHasThumbnail = ex.HasThumbnail();
  // The title: ImageDescription (UTF-8 in practice, else the ANSI code page), else an
  // ASCII or Unicode UserComment.
  std::string title;
  if (auto t = ex.Text(imaging::ExifIfd::Ifd0, imaging::tag::kImageDescription)) title = *t;
  if (title.empty()) {
    if (auto c = ex.UserComment()) title = c->text;
  }
  if (!textkit::IsValidUtf8(title)) title = textkit::AnsiToUtf8(title);
  lstrcpynA(d->szTitle, title.c_str(), sizeof(d->szTitle));
}

}  // namespace

bool HasExifKind(UINT kind) {
  return KindHas(kind, VXTYPE_JPEG) || KindHas(kind, VXTYPE_TIFF) || (kind & VXKIND_RAW);
}

bool ExifRecordOf(const imaging::Exif& ex, VXEXIFDATA* d) {
  if (!ex.Valid()) return false;
  ExifToRecord(ex, d);
  return true;
}

ULONGLONG ExifRecTime(const imaging::Exif& ex) {
  auto dt = ex.DateTimeOriginal();
  if (!dt) dt = ex.DateTimeDigitized();
  if (!dt) return 0;
  SYSTEMTIME st = dt->ToSystemTime();
  FILETIME ft;
  return SystemTimeToFileTime(&st, &ft) ? FtToU64(ft) : 0;
}

ULONGLONG ReadContentRecTime(const std::string& path, UINT kind) {
  CountFileRead();
  if (kind & (VXKIND_STILL)) {
    if (!HasExifKind(kind)) return 0;
    imaging::Exif ex;
    return ex.Load(path.c_str()) ? ExifRecTime(ex) : 0;
  }
  if (KindHas(kind, VXTYPE_MOVIE_QT) || KindHas(kind, VXTYPE_MOVIE_MP4) || KindHas(kind, VXTYPE_MOVIE_3GP)) {
    // The movie header's UTC time, wherever the header sits in the file.
    imaging::MovieHeader movie;
    FILETIME utc, local;
    if (FAILED(imaging::ProbeMovie(path.c_str(), &movie)) || !movie.created ||
        !SystemTimeToFileTime(&*movie.created, &utc))
      return 0;
    return FileTimeToLocalFileTime(&utc, &local) ? FtToU64(local) : FtToU64(utc);
  }
  return 0;
}

}  // namespace vxg

using namespace vxg;

void ThumbImpl::EnsureRecTime() {
  if (recState == 0) self->UpdateRecTime();
}

void ThumbImpl::EnsureInfo() {
  EnterCriticalSection(&cs);
  bool needSize = !sizeLoaded, needExif = !exifLoaded;
  std::string p = path;
  UINT k = kind;
  LeaveCriticalSection(&cs);
  if (p.empty() || (!needSize && !needExif)) return;
  bool still = (k & VXKIND_STILL) && !(k & VXKIND_SHORTCUT);
  bool exifKind = still && HasExifKind(k);
  // One read of the headers gives both the size and the metadata.
  imaging::ImageInfo info;
  imaging::Exif metadata;
  bool read = still && (needSize || (needExif && exifKind));
  if (read) CountFileRead();
  bool probed = read && SUCCEEDED(imaging::ProbeImage(p.c_str(), &info, &metadata));
  EnterCriticalSection(&cs);
  if (read && exifKind && recState == 0) {
    if (ULONGLONG t = ExifRecTime(metadata)) recTime = t;
    recState = 1;
  }
  LeaveCriticalSection(&cs);
  if (read || !(k & VXKIND_MOVIE)) {
    StoreProbe(probed, info, metadata, exifKind, false);
    return;
  }
  // A movie's size comes with its first frame.
  EnterCriticalSection(&cs);
  exifLoaded = true;
  LeaveCriticalSection(&cs);
}

void ThumbImpl::StoreProbe(bool probed, const imaging::ImageInfo& info, const imaging::Exif& metadata, bool exifKind,
                           bool keepThumbnail) {
  VXEXIFDATA ex;
  bool hasExif = exifKind && ExifRecordOf(metadata, &ex);
  EnterCriticalSection(&cs);
  if (!sizeLoaded) {
    origWidth = probed ? info.DisplayWidth() : 0;
    origHeight = probed ? info.DisplayHeight() : 0;
    bpp = probed ? info.bitCount : 0;
    sizeLoaded = true;
  }
  if (!exifLoaded) {
    if (hasExif) exif.reset(new VXEXIFDATA(ex));
    exifLoaded = true;
  }
  headThumb.clear();
  if (keepThumbnail && probed && metadata.HasThumbnail() && metadata.Thumbnail().size() <= kHeadThumbMax) {
    headThumb = metadata.Thumbnail();
    headInfo = info;
  }
  LeaveCriticalSection(&cs);
}

namespace {
// The files of the calling thread's head pass, waiting to be closed (none: no pass).
thread_local std::vector<HANDLE>* t_passFiles = nullptr;
// More than this many at once go to be closed during the pass (a very large folder).
const size_t kPassFilesMax = 4096;

DWORD WINAPI CloseFiles(void* param) {
  std::vector<HANDLE>* files = static_cast<std::vector<HANDLE>*>(param);
  for (HANDLE h : *files) CloseHandle(h);
  delete files;
  return 0;
}

void HandOverForClosing(std::vector<HANDLE>* files) {
  if (files->empty() || !QueueUserWorkItem(CloseFiles, files, WT_EXECUTEDEFAULT)) CloseFiles(files);
}
}  // namespace

void CThumbnail::BeginHeadPass() {
  if (!t_passFiles) t_passFiles = new std::vector<HANDLE>;
}

void CThumbnail::EndHeadPass() {
  std::vector<HANDLE>* files = t_passFiles;
  t_passFiles = nullptr;
  if (files) HandOverForClosing(files);
}

ULONGLONG ThumbImpl::ReadHead() {
  imaging::ImageInfo info;
  imaging::Exif metadata;
  HANDLE kept = NULL;
  CountFileRead();
  bool probed = SUCCEEDED(imaging::ProbeImage(path.c_str(), &info, &metadata, t_passFiles ? &kept : nullptr));
  if (kept) {
    t_passFiles->push_back(kept);
    if (t_passFiles->size() >= kPassFilesMax) {
      HandOverForClosing(t_passFiles);
      t_passFiles = new std::vector<HANDLE>;
    }
  }
  StoreProbe(probed, info, metadata, true, true);
  return ExifRecTime(metadata);
}

void ThumbImpl::TakeHead(DecodeJob* job) {
  job->thumb.swap(headThumb);
  job->info = headInfo;
  std::vector<uint8_t>().swap(headThumb);
  // Facts taken from the database: the thumbnail is there too, while the file is unchanged.
  if (job->thumb.empty() && keptFacts) {
    job->kept = true;
    job->size = size;
    job->writeTime = FtToU64(ftWrite);
  }
}

// ---- Recording time --------------------------------------------------------------------
BOOL CThumbnail::GetRecDate(SYSTEMTIME* pst) {
  if (!pst || m_p->path.empty()) return FALSE;
  FILETIME ft = U64ToFt(GetRecTime());
  return FileTimeToSystemTime(&ft, pst);
}

ULONGLONG CThumbnail::GetRecTime() {
  m_p->EnsureRecTime();
  return m_p->recTime;
}

HRESULT CThumbnail::UpdateRecTime() {
  if (m_p->path.empty()) return E_FAIL;
  // A JPEG's head gives its date, size, Exif data and thumbnail in one read.
  UINT k = m_p->kind;
  bool head = KindHas(k, VXTYPE_JPEG) && !(k & (VXKIND_SHORTCUT | VXKIND_RAW));
  ULONGLONG t = head ? m_p->ReadHead() : ReadContentRecTime(m_p->path, k);
  if (t == 0) {
    FILETIME local;
    t = FileTimeToLocalFileTime(&m_p->ftWrite, &local) ? FtToU64(local) : FtToU64(m_p->ftWrite);
  }
  m_p->recTime = t;
  m_p->recState = 1;
  return S_OK;
}

// ---- Picture facts ---------------------------------------------------------------------
BOOL CThumbnail::GetOriginalImageSize(int* pcx, int* pcy) {
  m_p->EnsureInfo();
  ThreadLock();
  int w = m_p->origWidth, h = m_p->origHeight;
  ThreadUnlock();
  if (pcx) *pcx = w;
  if (pcy) *pcy = h;
  return w > 0 && h > 0;
}

int CThumbnail::GetBpp() {
  m_p->EnsureInfo();
  return m_p->bpp;
}

const VXEXIFDATA* CThumbnail::GetExifData() {
  m_p->EnsureInfo();
  ThreadLock();
  const VXEXIFDATA* d = m_p->exif.get();
  ThreadUnlock();
  return d;
}

int CThumbnail::GetQualityFlag() {
  UINT k = m_p->kind;
  if (k & (VXKIND_SHORTCUT | VXKIND_FOLDER)) return 0;
  int w = 0, h = 0;
  if (KindHas(k, VXTYPE_JPEG)) {
    GetOriginalImageSize(&w, &h);
    return JpegQualityClass(m_p->size, w, h);
  }
  if (k & VXKIND_MOVIE) {
    ThreadLock();
    h = m_p->origHeight;
    ThreadUnlock();
    return MovieQualityClass(h);
  }
  return 0;
}

BOOL CThumbnail::GetKeywords(LPSTR pszBuf, UINT nSize) {
  if (pszBuf && nSize) pszBuf[0] = '\0';
  if (m_p->path.empty()) return FALSE;
  METADATA* list = NULL;
  BOOL ok = FALSE;
  if (SUCCEEDED(VxDBWReadFile(m_p->path.c_str(), &list)) && list) {
    LPCSTR v = MetaGetValue(list, VXDB_REC_KEYWORDS, VXDB_FLD_KEYWORDS);
    if (v && *v) ok = CopyOut(v, pszBuf, nSize);
  }
  FreeMetaDataList(list);
  return ok;
}

BOOL CThumbnail::GetComment(LPSTR pszBuf, UINT nSize) {
  if (pszBuf && nSize) pszBuf[0] = '\0';
  const VXEXIFDATA* d = GetExifData();
  if (!d || !d->szTitle[0]) return FALSE;
  return CopyOut(textkit::Utf8ToAnsi(d->szTitle), pszBuf, nSize);
}

// ---- Music -----------------------------------------------------------------------------
const CAudioTrackInfo* CThumbnail::GetMusicInfo(int) {
  UINT k = m_p->kind;
  if (!(k & (VXKIND_SOUND | VXKIND_CARDTRACK)) || m_p->path.empty()) return nullptr;
  ThreadLock();
  bool loaded = m_p->musicLoaded;
  ThreadUnlock();
  if (!loaded) {
    MusicFacts f;
    std::string name = m_p->path.substr(m_p->nameOffset);
    std::string ext = textkit::ExtensionOf(name);
    ReadMusicFile(m_p->path, ext, &f);
    std::unique_ptr<CAudioTrackInfo> info(new CAudioTrackInfo);
    FillAudioTrackInfo(f, name.substr(0, name.size() - ext.size()), info.get());
    if (m_p->track) {
      info->m_dwKind = VXFILE_CARDTRACK;
      info->m_strLock = (m_p->track->dwFlags & 1) ? "ロック" : "";
    }
    ThreadLock();
    if (!m_p->musicLoaded) {
      m_p->music = std::move(info);
      m_p->musicLoaded = true;
    }
    ThreadUnlock();
  }
  return m_p->music.get();
}

const VXAUDIOTRACK* CThumbnail::GetAudioTrackRecord() const { return m_p->track.get(); }
