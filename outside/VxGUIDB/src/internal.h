// Inside VxGUIDB: the item's data, the process-wide lock and registry, small helpers.
#pragma once

#include <atomic>

#include <VxGUIDB.h>
#include <fw/fw.h>

#include <imaging/imaging.h>
#include <textkit/textkit.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace moviekit {
struct MusicFacts;
}

namespace vxg {

// ---- The process-wide lock -----------------------------------------------------------
// Guards the registry of live items, every item's decode status and pins, and the
// decoder's state. Never wait for anything while holding it. Lock order: this lock
// first, then an item's own lock.
void Lock();
void Unlock();
// Sleeps on cv with the lock (held once by the caller) released meanwhile; false on time-out.
// Under Wine this waits in the process, without the server.
bool SleepUnderLock(CONDITION_VARIABLE* cv, DWORD ms);
struct Guard {
  Guard() { Lock(); }
  ~Guard() { Unlock(); }
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;
};

// ---- Decode status of an item (under the process-wide lock) --------------------------
enum DecodeState { kNotDecoded, kDecoded };

// ---- What a decode produces ----------------------------------------------------------
struct DecodeJob {
  std::string path;
  UINT kind = 0;
  UINT folderImageType = VXFOLDERIMAGE_DEFAULT;
  int cx = 160, cy = 160;
  bool wantExif = true;  // read the Exif data too (when the item has none yet)
  // The embedded thumbnail's bytes and the header facts read with them by the date pass:
  // the picture is made from them without opening the file again.
  std::vector<uint8_t> thumb;
  imaging::ImageInfo info;
  // The item's facts came from the photo database: its thumbnail's bytes are fetched from
  // there (while the file still has this size and last-write time).
  bool kept = false;
  ULONGLONG size = 0, writeTime = 0;
};

struct DecodeResult {
  imaging::Dib dib;
  int imageType = VXIMAGE_NONE;
  bool complete = false;  // dib is the whole picture at full size
  int origWidth = 0, origHeight = 0, bpp = 0;
  bool hasExif = false;
  VXEXIFDATA exif{};
  // The recording time the decode read from the content (0: the content has none), when
  // recRead; saves reading the file again for it.
  bool recRead = false;
  ULONGLONG recTime = 0;
  bool fromThumbBytes = false;  // made from the job's thumbnail bytes (or the kept ones)
};

// Whether a kind of file carries Exif data (JPEG, TIFF, RAW pictures).
bool HasExifKind(UINT kind);
// The Exif record of parsed metadata; false when it holds none.
bool ExifRecordOf(const imaging::Exif& ex, VXEXIFDATA* d);
// The recording time in parsed metadata (original, else digitised) as a 64-bit file time;
// 0 when it has none.
ULONGLONG ExifRecTime(const imaging::Exif& ex);

// Makes an item's picture (any thread; COM must be usable on it).
HRESULT DecodeForJob(const DecodeJob& job, DecodeResult* out);

// The pixels every item keeps, in bytes, and the budget the decoder holds them to.
long long PixelBytes();
void AddPixelBytes(long long delta);
long long PixelBudget();
// Takes bytes from the ledger when they fit (PixelLedger::TryTake).
bool TakePixelBytes(long long bytes);
// Wakes the decoder to give pictures up (no lock taken: callable under an item's lock).
void DecoderOverBudget();
// Makes room for bytes more pixels and takes them from the ledger, before a picture is
// stored: pictures of the decode list farthest from its window give theirs up (never
// self's). Only when nothing more can go (the window's own pictures fill the budget) are
// the bytes taken over the budget. Callable under one item's lock, not the process-wide one.
void ReservePixels(long long bytes, const ::ThumbImpl* self);

// ---- Helpers -------------------------------------------------------------------------
// Text and paths: the text kit (textkit::).
// Whether a file or folder is there / a folder is there.
bool PathExists(const std::string& path);
bool IsFolderPath(const std::string& path);
// The folder holding the running program, with a trailing backslash.
std::string ProgramFolder();
// The folder holding this library, with a trailing backslash.
std::string LibraryFolder();
HMODULE LibraryModule();
// Copies s into buf (nSize bytes with the terminator); false when it doesn't fit.
BOOL CopyOut(const std::string& s, LPSTR buf, UINT nSize);
// FILETIME <-> 64-bit.
inline ULONGLONG FtToU64(const FILETIME& ft) { return (ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime; }
inline FILETIME U64ToFt(ULONGLONG v) {
  FILETIME ft;
  ft.dwLowDateTime = DWORD(v);
  ft.dwHighDateTime = DWORD(v >> 32);
  return ft;
}
// A shortcut's target path; false when it can't be resolved.
bool ResolveShortcut(const std::string& lnk, std::string* target);

// ---- Plain decisions (tested directly) -----------------------------------------------
// The pixel bytes the items keep, held to a budget at every moment: a picture's bytes are
// taken from the ledger before the picture is stored, and only when they fit.
class PixelLedger {
 public:
  explicit PixelLedger(long long budget) : budget_(budget) {}
  long long Used() const { return used_.load(); }
  long long Budget() const { return budget_.load(); }
  void SetBudget(long long budget) { budget_ = budget; }
  // Takes bytes when they fit the budget (bytes of 0 or less always do); false: unchanged.
  bool TryTake(long long bytes);
  // Takes (or gives back, negative) bytes whether they fit or not.
  void Change(long long bytes) { used_ += bytes; }

 private:
  std::atomic<long long> used_{0};
  std::atomic<long long> budget_;
};
// A picture that could give its pixels up: how far it lies from the decode window, and
// its bytes.
struct PixelHolder {
  size_t distance;
  long long bytes;
};
// Which holders give their pixels up so that `incoming` more bytes fit: none while
// used + incoming stays within the budget, else the farthest first until the total is a
// fifth below the budget (so that this is not done for every picture). Indexes into
// holders, in the order to drop; fewer than needed when all of them are not enough.
std::vector<size_t> PixelVictims(const std::vector<PixelHolder>& holders, long long used, long long incoming,
                                 long long budget);

// The kind word of a file by its extension (with or without the dot); folders aren't
// asked here.
UINT KindFromExtension(const std::string& ext);
int FileKindOf(UINT kind);
// A file matches a folder preview type: all its bits but still/movie, and one of its
// still/movie bits when it has any.
bool MatchesFolderImageType(UINT kind, UINT mask);
// Whether a kind word carries all bits of a filter mask.
inline bool KindHas(UINT kind, UINT mask) { return (kind & mask) == mask; }

// The facts a sort string is made of (only those of the letters asked are filled).
struct SortFacts {
  bool folder = false;
  ULONGLONG recTime = 0;
  ULONGLONG writeTime = 0;
  ULONGLONG size = 0;
  std::string ext;
  std::string name;
  std::string model;
  ULONGLONG pixels = 0;
  bool marked = false;
  bool favourite = false;
  DWORD track = 0;
  std::string original;
};
std::string BuildSortString(const char* keys, bool ascending, const SortFacts& f);

// Recording time from the file's content (Exif date of a picture, creation time of an
// MP4/QuickTime movie) as a local 64-bit file time; 0 when the file has none.
ULONGLONG ReadContentRecTime(const std::string& path, UINT kind);
// Picture quality class of a JPEG (1 fine, 2 normal, 3 economy) from bytes per pixel;
// of a movie (4..7) from its frame height.
int JpegQualityClass(ULONGLONG fileSize, int width, int height);
int MovieQualityClass(int frameHeight);

// Whether a file of this kind has its date read from its head (the date pass's one read),
// which also gives its Exif data, size and embedded thumbnail.
bool HeadGivesRecTime(UINT kind);
// The embedded thumbnail's bytes the date pass keeps for the decode, at most (a large
// folder waiting for its decodes stays small).
const size_t kHeadThumbMax = 12 * 1024;
// What the photo database kept of a file the browser showed before.
struct KeptFacts {
  ULONGLONG size = 0, writeTime = 0;  // the file's size and last write when read
  ULONGLONG recTime = 0;              // local file time
  int width = 0, height = 0;          // the picture as shown
  DWORD thumbBytes = 0;               // the embedded thumbnail kept (0: none)
  bool exif = false;                  // a sound Exif record came with it
};
// Whether the kept facts stand for the file as its folder lists it now, so that it need not
// be opened for its date, size, Exif data and thumbnail: a picture read by its head, the
// same size and last-write time, a date, a picture size, a thumbnail no larger than the
// date pass keeps, and its Exif record.
bool KeptFactsServe(const KeptFacts& kept, UINT kind, ULONGLONG size, ULONGLONG writeTime);

// Music facts of a sound file.
struct MusicFacts {
  std::string title, artist, album, genre, year, track;
  std::string format;  // "MP3", "WAV", ...
  DWORD durationMs = 0;
  int bitrateKbps = 0;
  int sampleRate = 0;
  int channels = 0;
  int bitsPerSample = 0;
};
// Reads them through the movie kit's demuxers; false, with only the format (the
// extension's), for a file it cannot read.
bool ReadMusicFile(const std::string& path, const std::string& ext, MusicFacts* out);
// The kit's facts as the music information shows them: texts in the ANSI code page,
// figures within their fields, the format named by the codec or the extension.
void MusicFactsFromKit(const moviekit::MusicFacts& kit, const std::string& ext, MusicFacts* out);
// A tag's text in the ANSI code page. Text the tag reader took as Latin-1 (every character
// below U+0100) that makes double-byte characters of code page 932 is taken as such: Japanese
// tags in Latin-1 fields hold Shift-JIS bytes. Bytes that are no UTF-8 are ANSI already.
std::string MusicTagText(const std::string& tag);
// The texts of the music information from the facts.
void FillAudioTrackInfo(const MusicFacts& f, const std::string& fallbackTitle, CAudioTrackInfo* info);
std::string FormatPlayingTime(DWORD ms);

// Angle in hundredths of a degree -> clockwise degrees 0, 90, 180, 270; -1 when the
// angle is not a multiple of a quarter turn.
int QuarterTurnDegrees(int angle);
// The name a turned copy gets: "dir\name_r.ext", or "_r2", "_r3" … when taken.
std::string RotatedCopyName(const std::string& path, bool (*exists)(const std::string&));
// Result code of a failed write.
int WriteFailureCode(HRESULT hr);

}  // namespace vxg

// ---- The item's data -------------------------------------------------------------------
struct ThumbImpl {
  CThumbnail* self = nullptr;
  uint64_t serial = 0;
  mutable CRITICAL_SECTION cs;  // ThreadLock

  // File (changed on the owner thread, under cs).
  std::string path;
  size_t nameOffset = 0;
  UINT kind = 0;
  int fileKind = VXFILE_OTHER;
  UINT listFlags = 0;
  bool folder = false;
  ULONGLONG size = 0;
  FILETIME ftWrite{}, ftCreate{};
  DWORD attributes = 0;

  // Recording time: local 64-bit file time; state 0 from the file time, 1 from content.
  ULONGLONG recTime = 0;
  int recState = 0;
  // Its facts came from the photo database: so does its thumbnail.
  bool keptFacts = false;

  // Browser state.
  DWORD ids[2] = {VXID_NONE, VXID_NONE};
  bool select = false;
  bool cut = false;
  int mark = 0;
  bool markKnown = false;
  CThumbnailPage* page = nullptr;

  // Decoding: the item's own box; status under the process-wide lock.
  SIZE decodeSize{160, 160};
  int decodeState = vxg::kNotDecoded;
  SIZE decodedBox{0, 0};
  bool complete = false;
  unsigned imageGen = 0;
  int pins = 0;
  // Given up for the pixel budget: decoded again only when the decode window reaches it.
  bool givenUp = false;
  bool decoding = false;  // a decoder thread works on it

  // The picture (under cs).
  imaging::Dib image;
  int imageType = VXIMAGE_NONE;
  struct Composed {
    int cx = 0, cy = 0;
    imaging::Dib dib;
  } composed[2];
  int nextComposed = 0;
  // Bytes of pixels the item keeps (image and composed pictures); counted into the
  // library's total (PixelBytes), which the decoder keeps under its budget.
  std::atomic<long long> pixelBytes{0};
  // After a change of the pictures; the caller holds cs. reserved: the bytes taken from the
  // ledger for the change beforehand (ReservePixels).
  void RecountPixels(long long reserved = 0);

  // What was read from the file (under cs).
  bool exifLoaded = false;
  std::unique_ptr<VXEXIFDATA> exif;
  bool sizeLoaded = false;
  int origWidth = 0, origHeight = 0, bpp = 0;
  bool musicLoaded = false;
  std::unique_ptr<CAudioTrackInfo> music;
  std::unique_ptr<VXAUDIOTRACK> track;
  std::map<UINT, std::string> strings;

  std::string originalSort;
  std::string sortString;
  bool favDB = false;
  bool favDPOF = false;
  UINT folderImageType = VXFOLDERIMAGE_DEFAULT;
  bool hasAVCHD = false;
  int avchd[3] = {0, 0, 0};
  DWORD disc[4] = {0, 0, 0, 0};
  int hdEdit = 0;
  std::string hdName;

  // Fills the file facts from a directory entry of folder (with trailing backslash).
  void InitFromFind(const std::string& folder, const WIN32_FIND_DATAA& fd);
  // Re-reads size, times and attributes from the disk; false when the file is gone.
  bool RefreshFileFacts();
  void SetKindFromPath();
  // Reads the recording time from the content once.
  void EnsureRecTime();
  // Drops the picture (under cs) and bumps the generation (takes both locks itself).
  void DropImage(bool all);
  // Stores a decode result (takes cs); status fields are the caller's.
  void StoreResult(vxg::DecodeResult&& r);
  // Drops the pictures to keep the library under its pixel budget: decoded again when the
  // decode window comes back to the item.
  // False when the item is busy (a decoder works on it, or another thread holds its lock).
  bool DropForBudget();
  void DropPictures();
  void ForgetDecodedLocked(bool forBudget);
  void ClearPictures();
  // Loads the Exif data and picture size when not yet read (takes cs).
  void EnsureInfo();
  // Keeps what a probe of the file's headers gave (takes cs): the picture size and Exif data
  // when not yet known, and with keepThumbnail the embedded thumbnail's bytes for the decode.
  void StoreProbe(bool probed, const imaging::ImageInfo& info, const imaging::Exif& metadata, bool exifKind,
                  bool keepThumbnail);
  // One read of a picture's head: the recording time it answers (0: none), the size, the
  // Exif data and the embedded thumbnail's bytes kept as StoreProbe keeps them.
  ULONGLONG ReadHead();
  // Hands the kept thumbnail bytes to a decode job (caller holds cs): they serve once.
  void TakeHead(vxg::DecodeJob* job);

  // The embedded thumbnail's bytes from ReadHead until the first decode (under cs); kept only
  // up to kHeadThumbMax bytes.
  static const size_t kHeadThumbMax = vxg::kHeadThumbMax;
  std::vector<uint8_t> headThumb;
  imaging::ImageInfo headInfo;
};

struct PageImpl;
// The library's way into the classes' data.
struct VxgAccess {
  static ThumbImpl* Of(const CThumbnail* t) { return t->m_p; }
  static PageImpl* Of(const CThumbnailPage* p) { return p->m_p; }
};

namespace vxg {
inline ThumbImpl* Impl(const CThumbnail* t) { return VxgAccess::Of(t); }
inline PageImpl* Impl(const CThumbnailPage* p) { return VxgAccess::Of(p); }

// Registry of live items (under the process-wide lock).
void RegisterItem(ThumbImpl* p);
void UnregisterItem(ThumbImpl* p);  // waits for the item's pins to go
bool IsAliveLocked(const CThumbnail* item, uint64_t serial);
// The decoder leaves the items of a page alone (takes the lock).
void DecoderForgetPage(const CThumbnailPage* page);
// Pages alive: the decoder's workers go when the last page and the run are gone.
void DecoderPageOpened();
void DecoderPageClosed();
// The decoder is told that an item's picture was dropped (under the lock).
void DecoderItemCleared();
// Detaches an item from its page without deleting it (the item is being destroyed).
void PageDetach(CThumbnailPage* page, CThumbnail* item);
// Drops the folders' favourite snapshots: the next question reads the database again.
void ForgetFavouriteSnapshots();

// What the date pass read of a picture, for the photo database (seen.cpp).
struct ShownFacts {
  std::string path;
  ULONGLONG size = 0, writeTime = 0, recTime = 0;
  imaging::ImageInfo info;
  VXEXIFDATA exif{};
  std::vector<uint8_t> thumb;
};
// The facts of the item a decode job was made for, when the item's date and Exif data came
// from its head (the caller holds the item's cs and has the job's thumbnail bytes); null else.
std::unique_ptr<ShownFacts> ShownFactsOf(const ThumbImpl* p, const DecodeJob& job);
// Queues them for the database (dropped when too much waits).
void NoteShown(std::unique_ptr<ShownFacts> facts);
// Writes what waits, in parts, until done or *stop (null: never stops).
void WriteShown(const volatile bool* stop);
// The kept thumbnail of a job whose facts came from the database.
bool KeptThumbnail(const DecodeJob& job, std::vector<uint8_t>* out);
void CountFileRead();
// The background colour of composed thumbnails.
COLORREF ThumbBackColor();
}  // namespace vxg
