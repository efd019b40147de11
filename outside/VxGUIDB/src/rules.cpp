// Plain decisions of the library: kinds by extension, folder preview matching, sort
// strings, quality classes, turn angles, names of turned copies, write failure codes.
#include "internal.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace vxg {

namespace {
struct ExtKind {
  const char* ext;
  UINT kind;
};
const ExtKind kExtKinds[] = {
    {".JPG", VXTYPE_JPEG},  {".JPEG", VXTYPE_JPEG}, {".JPE", VXTYPE_JPEG},  {".JFIF", VXTYPE_JPEG},
    {".TMB", VXTYPE_JPEG},  // a content's thumbnail is a JPEG
    {".TIF", VXTYPE_TIFF},  {".TIFF", VXTYPE_TIFF},
    {".PNG", VXTYPE_BITMAP}, {".BMP", VXTYPE_BITMAP}, {".DIB", VXTYPE_BITMAP}, {".GIF", VXTYPE_BITMAP},
    {".ICO", VXTYPE_BITMAP},
    {".DNG", VXTYPE_DNG},
    {".NEF", VXTYPE_RAW},   {".NRW", VXTYPE_RAW},   {".CR2", VXTYPE_RAW},   {".CR3", VXTYPE_RAW},
    {".CRW", VXTYPE_RAW},   {".ORF", VXTYPE_RAW},   {".ARW", VXTYPE_RAW},   {".SRF", VXTYPE_RAW},
    {".SR2", VXTYPE_RAW},   {".RW2", VXTYPE_RAW},   {".RAW", VXTYPE_RAW},   {".PEF", VXTYPE_RAW},
    {".RAF", VXTYPE_RAW},   {".X3F", VXTYPE_RAW},   {".ERF", VXTYPE_RAW},   {".KDC", VXTYPE_RAW},
    {".MRW", VXTYPE_RAW},   {".3FR", VXTYPE_RAW},   {".SRW", VXTYPE_RAW},
    {".MOV", VXTYPE_MOVIE_QT}, {".QT", VXTYPE_MOVIE_QT},
    {".3GP", VXTYPE_MOVIE_3GP}, {".3G2", VXTYPE_MOVIE_3GP},
    {".MP4", VXTYPE_MOVIE_MP4}, {".M4V", VXTYPE_MOVIE_MP4},
    {".AVI", VXTYPE_MOVIE_OTHER}, {".WMV", VXTYPE_MOVIE_OTHER}, {".ASF", VXTYPE_MOVIE_OTHER},
    {".MPG", VXTYPE_MOVIE_OTHER}, {".MPEG", VXTYPE_MOVIE_OTHER}, {".MPE", VXTYPE_MOVIE_OTHER},
    {".M1V", VXTYPE_MOVIE_OTHER}, {".M2V", VXTYPE_MOVIE_OTHER}, {".VOB", VXTYPE_MOVIE_OTHER},
    {".MOD", VXTYPE_MOVIE_OTHER}, {".TOD", VXTYPE_MOVIE_OTHER}, {".MKV", VXTYPE_MOVIE_OTHER},
    {".DIVX", VXTYPE_MOVIE_OTHER},
    {".MTS", VXTYPE_AVCHD}, {".M2TS", VXTYPE_AVCHD}, {".M2T", VXTYPE_AVCHD}, {".CONT", VXTYPE_AVCHD},
    {".FLV", VXTYPE_MOVIE_UNPLAYABLE}, {".WEBM", VXTYPE_MOVIE_UNPLAYABLE}, {".OGV", VXTYPE_MOVIE_UNPLAYABLE},
    {".RM", VXTYPE_MOVIE_UNPLAYABLE}, {".RMVB", VXTYPE_MOVIE_UNPLAYABLE},
    {".MP3", VXTYPE_SOUND}, {".WAV", VXTYPE_SOUND}, {".WMA", VXTYPE_SOUND}, {".M4A", VXTYPE_SOUND},
    {".AAC", VXTYPE_SOUND}, {".OGG", VXTYPE_SOUND}, {".FLAC", VXTYPE_SOUND}, {".MID", VXTYPE_SOUND},
    {".MIDI", VXTYPE_SOUND}, {".AIF", VXTYPE_SOUND}, {".AIFF", VXTYPE_SOUND},
    {".LNK", VXTYPE_SHORTCUT},
};
}  // namespace

UINT KindFromExtension(const std::string& extIn) {
  if (extIn.empty()) return VXTYPE_OTHER;
  std::string ext = textkit::FoldCase(extIn[0] == '.' ? extIn : "." + extIn);
  for (const ExtKind& e : kExtKinds)
    if (ext == e.ext) return e.kind;
  return VXTYPE_OTHER;
}

int FileKindOf(UINT kind) {
  if (kind & VXKIND_CARDTRACK) return VXFILE_CARDTRACK;
  if (kind & VXKIND_FOLDER) return VXFILE_FOLDER;
  if (kind & VXKIND_SHORTCUT) return VXFILE_SHORTCUT;
  if (kind & VXKIND_STILL) return VXFILE_STILL;
  if (kind & VXKIND_MOVIE) return VXFILE_MOVIE;
  if (kind & VXKIND_SOUND) return VXFILE_SOUND;
  return VXFILE_OTHER;
}

bool MatchesFolderImageType(UINT kind, UINT mask) {
  const UINT classBits = VXKIND_STILL | VXKIND_MOVIE;
  UINT cls = mask & classBits;
  UINT rest = mask & ~classBits;
  if (cls && !(kind & cls)) return false;
  return KindHas(kind, rest);
}

std::string BuildSortString(const char* keys, bool ascending, const SortFacts& f) {
  // Folder entries first whichever way the strings are compared.
  std::string s(1, f.folder ? (ascending ? '0' : '2') : '1');
  char buf[40];
  for (const char* k = keys; k && *k; ++k) {
    switch (*k) {
      case 't':
        snprintf(buf, sizeof(buf), "%016llX", (unsigned long long)f.recTime);
        s += buf;
        break;
      case 'd':
        snprintf(buf, sizeof(buf), "%016llX", (unsigned long long)f.writeTime);
        s += buf;
        break;
      case 'z':
        snprintf(buf, sizeof(buf), "%016llX", (unsigned long long)f.size);
        s += buf;
        break;
      case 'b':
        snprintf(buf, sizeof(buf), "%016llX", (unsigned long long)f.pixels);
        s += buf;
        break;
      case 'm':
        snprintf(buf, sizeof(buf), "%08lX", (unsigned long)f.track);
        s += buf;
        break;
      case 'e': {  // fixed width, so that a later key still lines up
        std::string e = textkit::CutToBytes(textkit::FoldCase(f.ext), 8);
        e.resize(8, ' ');
        s += e;
        break;
      }
      case 'a': {
        std::string m = textkit::CutToBytes(textkit::FoldCase(f.model), 32);
        m.resize(32, ' ');
        s += m;
        break;
      }
      case 'c':
        s += f.marked ? '0' : '1';
        s += f.favourite ? '0' : '1';
        break;
      case 'f':
        s += f.name;
        break;
      case 'o':
        s += f.original;
        break;
      default:
        break;
    }
  }
  return s;
}

int JpegQualityClass(ULONGLONG fileSize, int width, int height) {
  if (width <= 0 || height <= 0 || fileSize == 0) return 0;
  double bpp = double(fileSize) / (double(width) * double(height));
  if (bpp >= 0.3) return 1;
  if (bpp >= 0.15) return 2;
  return 3;
}

int MovieQualityClass(int frameHeight) {
  if (frameHeight <= 0) return 0;
  if (frameHeight >= 1080) return 4;
  if (frameHeight >= 720) return 5;
  if (frameHeight >= 360) return 6;
  return 7;
}

int QuarterTurnDegrees(int angle) {
  if (angle % 9000 != 0) return -1;
  int q = (angle / 9000) % 4;
  if (q < 0) q += 4;
  return q * 90;
}

std::string RotatedCopyName(const std::string& path, bool (*exists)(const std::string&)) {
  size_t nameOff = textkit::NameOffset(path);
  std::string ext = textkit::ExtensionOf(path.substr(nameOff));
  std::string base = path.substr(0, path.size() - ext.size());
  for (int i = 1; i < 10000; ++i) {
    std::string candidate = base + (i == 1 ? std::string("_r") : "_r" + std::to_string(i)) + ext;
    if (!exists || !exists(candidate)) return candidate;
  }
  return std::string();
}

int WriteFailureCode(HRESULT hr) {
  if (SUCCEEDED(hr)) return 0;
  if (hr == HRESULT_FROM_WIN32(ERROR_WRITE_PROTECT)) return ERROR_WRITE_PROTECT;  // 19
  if (hr == HRESULT_FROM_WIN32(ERROR_DISK_FULL) || hr == HRESULT_FROM_WIN32(ERROR_HANDLE_DISK_FULL))
    return ERROR_HANDLE_DISK_FULL;  // 39
  return ERROR_WRITE_FAULT;          // 29
}

// ---- Pixel budget ----------------------------------------------------------------------
bool PixelLedger::TryTake(long long bytes) {
  if (bytes <= 0) {
    used_ += bytes;
    return true;
  }
  long long now = used_.load();
  while (now + bytes <= budget_.load())
    if (used_.compare_exchange_weak(now, now + bytes)) return true;
  return false;
}

std::vector<size_t> PixelVictims(const std::vector<PixelHolder>& holders, long long used, long long incoming,
                                 long long budget) {
  std::vector<size_t> order;
  if (used + incoming <= budget) return order;
  for (size_t i = 0; i < holders.size(); ++i)
    if (holders[i].bytes > 0) order.push_back(i);
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return holders[a].distance > holders[b].distance; });
  const long long excess = used + incoming - budget / 10 * 8;
  long long freed = 0;
  size_t k = 0;
  while (k < order.size() && freed < excess) freed += holders[order[k++]].bytes;
  order.resize(k);
  return order;
}

bool HeadGivesRecTime(UINT kind) { return KindHas(kind, VXTYPE_JPEG) && !(kind & (VXKIND_SHORTCUT | VXKIND_RAW)); }

bool KeptFactsServe(const KeptFacts& kept, UINT kind, ULONGLONG size, ULONGLONG writeTime) {
  if (!HeadGivesRecTime(kind) || kept.size != size || kept.writeTime != writeTime) return false;
  if (kept.recTime == 0 || kept.width <= 0 || kept.height <= 0 || !kept.exif) return false;
  return kept.thumbBytes > 0 && kept.thumbBytes <= kHeadThumbMax;
}

}  // namespace vxg
