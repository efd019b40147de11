// A folder seen before: what the date pass read of its pictures (date, size, Exif data and
// the embedded thumbnail's bytes) is kept in the photo database, and taken from there when
// the folder is shown again, for the files that did not change since.
#include "internal.h"

#include <VxDatabase.h>

#include <cstring>
#include <deque>

using namespace vxg;

namespace {

std::atomic<LONG> g_fileReads{0};

// Facts waiting for the database, under their own lock (never the process-wide one: the
// write takes the database's).
CRITICAL_SECTION* ShownLock() {
  static CRITICAL_SECTION* cs = [] {
    static CRITICAL_SECTION c;
    InitializeCriticalSection(&c);
    return &c;
  }();
  return cs;
}
std::deque<std::unique_ptr<ShownFacts>> g_shown;
size_t g_shownBytes = 0;
// More than this waiting is dropped: those files are read again next time.
const size_t kShownBytesMax = 16u << 20;
// Rows per transaction.
const size_t kShownPart = 64;

// Texts of a record from the database end within their fields.
void Terminate(VXEXIFDATA* e) {
  e->szMaker[sizeof e->szMaker - 1] = '\0';
  e->szModel[sizeof e->szModel - 1] = '\0';
  e->szTitle[sizeof e->szTitle - 1] = '\0';
}

struct FolderItems {
  std::map<std::string, std::pair<ThumbImpl*, BOOL*>> byName;  // folded name: item, its answer
  int used = 0;
};

BOOL CALLBACK TakeRow(const VXDBSEENFILE* row, void* context) {
  FolderItems* f = static_cast<FolderItems*>(context);
  auto it = f->byName.find(textkit::FoldCase(row->pszPath ? row->pszPath : ""));
  if (it == f->byName.end()) return TRUE;
  ThumbImpl* p = it->second.first;
  KeptFacts kept;
  kept.size = row->qwSize;
  kept.writeTime = row->qwWriteTime;
  kept.recTime = row->qwRecTime;
  kept.width = row->nWidth;
  kept.height = row->nHeight;
  kept.thumbBytes = row->cbThumb;
  // The record as kept: its trailing zeros left out.
  kept.exif = row->cbFacts > 0 && row->cbFacts <= sizeof(VXEXIFDATA) && row->pFacts;
  if (!KeptFactsServe(kept, p->kind, p->size, FtToU64(p->ftWrite))) return TRUE;
  std::unique_ptr<VXEXIFDATA> exif(new VXEXIFDATA{});
  memcpy(exif.get(), row->pFacts, row->cbFacts);
  Terminate(exif.get());
  imaging::ImageInfo info;
  info.format = imaging::ImageFormat::Jpeg;
  info.width = row->nWidth;
  info.height = row->nHeight;
  info.bitCount = row->nBitCount;
  info.orientation = row->nOrientation >= 0 && row->nOrientation <= 8 ? row->nOrientation : 0;
  info.hasThumbnail = true;
  EnterCriticalSection(&p->cs);
  p->recTime = row->qwRecTime;
  p->recState = 1;
  p->origWidth = info.DisplayWidth();
  p->origHeight = info.DisplayHeight();
  p->bpp = info.bitCount;
  p->sizeLoaded = true;
  p->exif = std::move(exif);
  p->exifLoaded = true;
  p->headInfo = info;
  p->keptFacts = true;
  LeaveCriticalSection(&p->cs);
  if (it->second.second) *it->second.second = TRUE;
  ++f->used;
  return TRUE;
}

}  // namespace

namespace vxg {

void CountFileRead() { ++g_fileReads; }

std::unique_ptr<ShownFacts> ShownFactsOf(const ThumbImpl* p, const DecodeJob& job) {
  if (job.thumb.empty() || job.kept || p->keptFacts || p->recState != 1 || !p->exif || !HeadGivesRecTime(p->kind))
    return nullptr;
  std::unique_ptr<ShownFacts> f(new ShownFacts);
  f->path = p->path;
  f->size = p->size;
  f->writeTime = FtToU64(p->ftWrite);
  f->recTime = p->recTime;
  f->info = job.info;
  f->exif = *p->exif;
  return f;
}

void NoteShown(std::unique_ptr<ShownFacts> facts) {
  if (!facts) return;
  size_t bytes = facts->thumb.size() + sizeof(ShownFacts);
  EnterCriticalSection(ShownLock());
  if (g_shownBytes + bytes <= kShownBytesMax) {
    g_shownBytes += bytes;
    g_shown.push_back(std::move(facts));
  }
  LeaveCriticalSection(ShownLock());
}

void WriteShown(const volatile bool* stop) {
  for (;;) {
    if (stop && *stop) return;
    std::vector<std::unique_ptr<ShownFacts>> part;
    EnterCriticalSection(ShownLock());
    while (!g_shown.empty() && part.size() < kShownPart) {
      g_shownBytes -= g_shown.front()->thumb.size() + sizeof(ShownFacts);
      part.push_back(std::move(g_shown.front()));
      g_shown.pop_front();
    }
    LeaveCriticalSection(ShownLock());
    if (part.empty()) return;
    std::vector<VXDBSEENFILE> rows(part.size());
    for (size_t i = 0; i < part.size(); ++i) {
      const ShownFacts& f = *part[i];
      VXDBSEENFILE& r = rows[i];
      r = VXDBSEENFILE{};
      r.pszPath = f.path.c_str();
      r.qwSize = f.size;
      r.qwWriteTime = f.writeTime;
      r.qwRecTime = f.recTime;
      r.nWidth = f.info.width;
      r.nHeight = f.info.height;
      r.nBitCount = f.info.bitCount;
      r.nOrientation = f.info.orientation;
      r.nFormat = int(f.info.format);
      r.pThumb = f.thumb.data();
      r.cbThumb = DWORD(f.thumb.size());
      r.pFacts = reinterpret_cast<const BYTE*>(&f.exif);
      r.cbFacts = sizeof(VXEXIFDATA);
    }
    // A part the database refuses is dropped: those files are read again next time.
    VxDBPutSeenFiles(rows.data(), int(rows.size()));
  }
}

bool KeptThumbnail(const DecodeJob& job, std::vector<uint8_t>* out) {
  BYTE* data = nullptr;
  DWORD n = 0;
  if (FAILED(VxDBGetSeenThumbnail(job.path.c_str(), job.size, job.writeTime, &data, &n)) || !data) return false;
  out->assign(data, data + n);
  VxDBFreeBuffer(data);
  return true;
}

}  // namespace vxg

int CThumbnail::UseKeptFacts(CThumbnail* const* ppItems, int nCount, BOOL* pbUsed) {
  // The items by folder: one read of the database per folder.
  std::map<std::string, FolderItems> folders;
  for (int i = 0; ppItems && i < nCount; ++i) {
    if (pbUsed) pbUsed[i] = FALSE;
    ThumbImpl* p = ppItems[i] ? Impl(ppItems[i]) : nullptr;
    if (!p || p->folder || !HeadGivesRecTime(p->kind) || p->path.empty()) continue;
    folders[p->path.substr(0, p->nameOffset)].byName[textkit::FoldCase(p->path.substr(p->nameOffset))] =
        std::make_pair(p, pbUsed ? pbUsed + i : nullptr);
  }
  int used = 0;
  for (auto& f : folders) {
    VxDBReadSeenFolder(f.first.c_str(), TakeRow, &f.second);
    used += f.second.used;
  }
  return used;
}

void CThumbnail::WriteShownFacts() { WriteShown(nullptr); }

LONG CThumbnail::GetFileReadCount() { return g_fileReads; }
