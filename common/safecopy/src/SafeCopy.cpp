#include "safecopy/SafeCopy.h"

#include <xxhash.h>

#include "textkit/path.h"

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

namespace safecopy {
namespace {

// Blocks that stay in the processor's cache between reading, hashing and writing: under
// Wine the import copied about half again as fast with 256 KB as with 4 MB blocks, which
// passed through memory three times.
constexpr DWORD kBlock = 256 << 10;
// Unbuffered reads take buffers and sizes in whole sectors: a page covers every sector
// size in use, and a block is a whole number of pages.
constexpr size_t kAlign = 4096;
static_assert(kBlock % kAlign == 0, "blocks of whole sectors");
constexpr size_t kWritePiece = 64 << 10;
const char kTempPrefix[] = "~gimport-";
const char kTempSuffix[] = ".tmp";

struct Handle {
  HANDLE h;
  explicit Handle(HANDLE handle) : h(handle) {}
  ~Handle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  bool Ok() const { return h != INVALID_HANDLE_VALUE; }
  void Close() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    h = INVALID_HANDLE_VALUE;
  }
};

std::string FolderOfPath(const std::string& path) {
  size_t p = textkit::LastSeparator(path);
  return p == std::string::npos ? "." : path.substr(0, p);
}

void Finish(XXH3_state_t* st, uint64_t size, FileDigest* d) {
  XXH128_hash_t h = XXH3_128bits_digest(st);
  d->size = size;
  d->low = h.low64;
  d->high = h.high64;
}

// A block buffer from a small pool: a fresh allocation per file cost more than the copy's
// hashing (zeroed and faulted in again each time). Aligned for the unbuffered read-back.
class Buffer {
 public:
  Buffer() {
    std::lock_guard<std::mutex> hold(lock_);
    if (!free_.empty()) {
      data = free_.back();
      free_.pop_back();
    } else {
      data = static_cast<char*>(_aligned_malloc(kBlock, kAlign));
      if (!data) throw std::bad_alloc();
    }
  }
  ~Buffer() {
    std::lock_guard<std::mutex> hold(lock_);
    if (free_.size() < kKept)
      free_.push_back(data);
    else
      _aligned_free(data);
  }
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;
  char* data;

 private:
  static constexpr size_t kKept = 8;
  static std::mutex lock_;
  static std::vector<char*> free_;
};
std::mutex Buffer::lock_;
std::vector<char*> Buffer::free_;

// Hashes an open file to its end.
DWORD HashOpenFile(HANDLE h, char* buf, FileDigest* d) {
  std::unique_ptr<XXH3_state_t, XXH_errorcode (*)(XXH3_state_t*)> st(XXH3_createState(), XXH3_freeState);
  XXH3_128bits_reset(st.get());
  uint64_t total = 0;
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(h, buf, kBlock, &got, NULL)) return GetLastError();
    if (got == 0) break;
    XXH3_128bits_update(st.get(), buf, got);
    total += got;
  }
  Finish(st.get(), total, d);
  return 0;
}

// A name no other file of the folder has: the process and a count keep two imports apart.
std::string TemporaryIn(const std::string& folder) {
  static std::atomic<unsigned> counter{0};
  char name[64];
  snprintf(name, sizeof name, "%s%08lx-%u%s", kTempPrefix, GetCurrentProcessId(), counter++, kTempSuffix);
  return folder + "\\" + name;
}

// Hashes what reached the medium: through a handle of its own, past the system's cache
// where the file system takes unbuffered reads (they need the aligned buffer and whole
// blocks, which the last, short read may be), else through the cache. The writer flushed.
DWORD ReadBack(const std::string& path, FileDigest* d) {
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  DWORD error = 0;
  for (DWORD flags : {DWORD(FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN), DWORD(FILE_FLAG_SEQUENTIAL_SCAN)}) {
    Handle h(CreateFileA(path.c_str(), GENERIC_READ, share, NULL, OPEN_EXISTING, flags, NULL));
    if (!h.Ok()) {
      error = GetLastError();
      if (error == ERROR_INVALID_PARAMETER || error == ERROR_NOT_SUPPORTED) continue;
      return error;
    }
    Buffer buf;
    error = HashOpenFile(h.h, buf.data, d);
    // A file system that opened unbuffered but refuses its reads is read through the cache.
    if (error != ERROR_INVALID_PARAMETER && error != ERROR_NOT_SUPPORTED) return error;
  }
  return error;
}

std::atomic<WriteFault> g_fault{nullptr};
// The bytes of a block that reach the file: all of them, unless a test's fault says less.
DWORD BytesToDisk(const std::string& file, uint64_t offset, char* bytes, DWORD size) {
  if (WriteFault f = g_fault.load()) f(file, offset, bytes, &size);
  return size;
}

// An unfinished copy goes (a hidden file can't be deleted on every file system).
void RemoveTemporary(const std::string& temp) {
  SetFileAttributesA(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(temp.c_str());
}

// A verified temporary takes its name, without replacing a file that appeared meanwhile;
// after a failure (error non-zero) or a refused rename the temporary goes. Done through
// its open handle (closed in any case), which saves opening it twice more by name.
// times, when given, are the source's: the copy keeps its creation and last-write times,
// and times->copyWritten is told the last-write time the copy's file system kept.
DWORD PlaceOpenTemporary(HANDLE out, const std::string& temp, const std::string& target, DWORD error,
                         FileStamp* times = nullptr) {
  if (!error) {
    FILE_BASIC_INFO basic = {};
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    if (times) {
      basic.CreationTime.LowPart = times->created.dwLowDateTime;
      basic.CreationTime.HighPart = static_cast<LONG>(times->created.dwHighDateTime);
      basic.LastWriteTime.LowPart = times->written.dwLowDateTime;
      basic.LastWriteTime.HighPart = static_cast<LONG>(times->written.dwHighDateTime);
    }
    char full[MAX_PATH * 4];
    DWORD n = GetFullPathNameA(target.c_str(), sizeof full, full, NULL);
    // "\??\": the rename takes a path of the object manager's, which also has no length limit.
    const std::string path = std::string("\\??\\") + (n && n < sizeof full ? full : target.c_str());
    int wide = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, NULL, 0);
    std::vector<char> bytes(sizeof(FILE_RENAME_INFO) + (wide > 0 ? wide : 0) * sizeof(WCHAR));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(bytes.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = NULL;
    rename->FileNameLength = wide > 0 ? (wide - 1) * sizeof(WCHAR) : 0;
    if (wide <= 0 || !MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, rename->FileName, wide))
      error = GetLastError();
    else if (!SetFileInformationByHandle(out, FileBasicInfo, &basic, sizeof basic) ||
             (times && !GetFileTime(out, nullptr, nullptr, &times->copyWritten)) ||
             !SetFileInformationByHandle(out, FileRenameInfo, rename, static_cast<DWORD>(bytes.size())))
      error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS) error = ERROR_FILE_EXISTS;
  }
  CloseHandle(out);
  if (error) RemoveTemporary(temp);
  return error;
}

std::atomic<void (*)(CopyPhase, const std::string&)> g_observer{nullptr};
void Tell(CopyPhase phase, const std::string& source) {
  if (auto o = g_observer.load()) o(phase, source);
}

}  // namespace

void SetCopyPhaseObserver(void (*observer)(CopyPhase, const std::string&)) { g_observer = observer; }

void SetWriteFault(WriteFault fault) { g_fault = fault; }

DWORD DigestOpenFile(HANDLE file, FileDigest* digest) {
  Buffer buf;
  return HashOpenFile(file, buf.data, digest);
}

bool StampOfOpenFile(HANDLE file, FileStamp* stamp) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(file, &info)) return false;
  stamp->size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  stamp->created = info.ftCreationTime;
  stamp->written = info.ftLastWriteTime;
  return true;
}

bool DigestFile(const std::string& path, FileDigest* digest) {
  Handle f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                       NULL));
  if (!f.Ok()) return false;
  DWORD e = DigestOpenFile(f.h, digest);
  if (e) SetLastError(e);
  return e == 0;
}

bool IsCopyTemporaryName(const std::string& name) {
  size_t p = strlen(kTempPrefix), s = strlen(kTempSuffix);
  return name.size() > p + s && _strnicmp(name.c_str(), kTempPrefix, p) == 0 &&
         _stricmp(name.c_str() + name.size() - s, kTempSuffix) == 0;
}

int RemoveCopyTemporaries(const std::string& folder, std::vector<std::string>* others) {
  int removed = 0;
  WIN32_FIND_DATAA fd;
  const std::string pattern = others ? "*" : std::string(kTempPrefix) + "*" + kTempSuffix;
  HANDLE h = FindFirstFileA((folder + "\\" + pattern).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    const bool temporary = !(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsCopyTemporaryName(fd.cFileName);
    if (!temporary) {
      if (others && strcmp(fd.cFileName, ".") && strcmp(fd.cFileName, "..")) others->push_back(fd.cFileName);
      continue;
    }
    std::string path = folder + "\\" + fd.cFileName;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileA(path.c_str())) ++removed;
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return removed;
}

DWORD MakeFolderPath(const std::string& folder) {
  std::string path = folder;
  while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  DWORD a = GetFileAttributesA(path.c_str());
  if (a != INVALID_FILE_ATTRIBUTES) return (a & FILE_ATTRIBUTE_DIRECTORY) ? 0 : ERROR_ALREADY_EXISTS;
  std::string parent = FolderOfPath(path);
  if (parent != path && parent.size() >= 2 && !(parent.size() == 2 && parent[1] == ':')) {
    DWORD e = MakeFolderPath(parent);
    if (e) return e;
  }
  if (CreateDirectoryA(path.c_str(), NULL)) return 0;
  DWORD e = GetLastError();
  return e == ERROR_ALREADY_EXISTS ? 0 : e;
}

PendingCopy::~PendingCopy() { Discard(); }

void PendingCopy::Discard() {
  if (in_ != INVALID_HANDLE_VALUE) CloseHandle(in_);
  in_ = INVALID_HANDLE_VALUE;
  if (out_ != INVALID_HANDLE_VALUE) CloseHandle(out_);
  out_ = INVALID_HANDLE_VALUE;
  checked_ = false;
  if (!temp_.empty()) RemoveTemporary(temp_);
  temp_.clear();
}

DWORD OpenCopySource(const std::string& source, const std::string& target, bool checkTarget, PendingCopy* pending) {
  pending->Discard();
  pending->source_ = source;
  pending->target_ = target;
  pending->head_.clear();
  Tell(CopyPhase::kOpening, source);
  pending->stamp_ = FileStamp();
  Handle in(
      CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, NULL));
  if (!in.Ok() || !StampOfOpenFile(in.h, &pending->stamp_)) return GetLastError();
  if (checkTarget && GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES) return ERROR_FILE_EXISTS;
  pending->in_ = in.h;
  in.h = INVALID_HANDLE_VALUE;
  return 0;
}

DWORD WriteCopyVerified(PendingCopy* pending, const std::atomic<int>* stop) {
  if (pending->in_ == INVALID_HANDLE_VALUE || pending->out_ != INVALID_HANDLE_VALUE) return ERROR_INVALID_PARAMETER;
  Handle in(pending->in_);
  pending->in_ = INVALID_HANDLE_VALUE;
  const std::string temp = TemporaryIn(FolderOfPath(pending->target_));
  // Others may read it (the read-back's own handle among them), never change it.
  HANDLE out = CreateFileA(temp.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ, NULL, CREATE_NEW,
                           FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_SEQUENTIAL_SCAN, NULL);
  if (out == INVALID_HANDLE_VALUE) return GetLastError();
  // From here the pending copy owns the temporary: any failure below removes it.
  pending->out_ = out;
  pending->temp_ = temp;

  DWORD error = 0;
  Buffer buf;
  {
    std::unique_ptr<XXH3_state_t, XXH_errorcode (*)(XXH3_state_t*)> st(XXH3_createState(), XXH3_freeState);
    XXH3_128bits_reset(st.get());
    uint64_t total = 0;
    while (!error) {
      if (stop && *stop) {
        error = ERROR_CANCELLED;
        break;
      }
      DWORD got = 0, put = 0;
      if (!ReadFile(in.h, buf.data, kBlock, &got, NULL)) {
        error = GetLastError();
        break;
      }
      if (got == 0) break;
      XXH3_128bits_update(st.get(), buf.data, got);
      total += got;
      if (total == got) pending->head_.assign(buf.data, std::min<size_t>(got, pending->keepHead_));
      const DWORD toDisk = BytesToDisk(pending->source_, total - got, buf.data, got);
      if (!WriteFile(out, buf.data, toDisk, &put, NULL))
        error = GetLastError();
      else if (put != toDisk)
        error = ERROR_DISK_FULL;
      if (!error && total == got) Tell(CopyPhase::kReading, pending->source_);
    }
    Finish(st.get(), total, &pending->read_);
  }
  in.Close();
  // What was read must be the file measured before: a shrinking or growing source fails.
  if (!error && pending->read_.size != pending->stamp_.size) error = ERROR_FILE_INVALID;
  if (error) {
    pending->Discard();
    return error;
  }
  Tell(CopyPhase::kWritten, pending->source_);
  return 0;
}

DWORD BeginCopyVerified(const std::string& source, const std::string& target, const std::atomic<int>* stop,
                        PendingCopy* pending) {
  DWORD error = OpenCopySource(source, target, true, pending);
  if (!error) error = WriteCopyVerified(pending, stop);
  if (error) pending->Discard();
  return error;
}

DWORD CheckCopyVerified(PendingCopy* pending, const std::atomic<int>* stop) {
  if (pending->temp_.empty() || pending->out_ == INVALID_HANDLE_VALUE) return ERROR_INVALID_PARAMETER;
  DWORD error = 0;
  FileDigest written;
  if (!FlushFileBuffers(pending->out_)) error = GetLastError();
  if (!error) error = ReadBack(pending->temp_, &written);
  if (!error && written != pending->read_) error = ERROR_CRC;
  if (!error && stop && *stop) error = ERROR_CANCELLED;
  if (error) {
    pending->Discard();
    return error;
  }
  pending->checked_ = true;
  Tell(CopyPhase::kVerified, pending->source_);
  return 0;
}

DWORD PlaceCopyVerified(PendingCopy* pending, const std::atomic<int>* stop, FileDigest* digest) {
  if (!pending->checked_ || pending->out_ == INVALID_HANDLE_VALUE) return ERROR_INVALID_PARAMETER;
  pending->checked_ = false;
  const std::string temp = pending->temp_;
  const HANDLE out = pending->out_;
  pending->temp_.clear();
  pending->out_ = INVALID_HANDLE_VALUE;
  DWORD error = PlaceOpenTemporary(out, temp, pending->target_, stop && *stop ? ERROR_CANCELLED : 0, &pending->stamp_);
  if (error) return error;
  Tell(CopyPhase::kRenamed, pending->source_);
  if (digest) *digest = pending->read_;
  return 0;
}

DWORD FinishCopyVerified(PendingCopy* pending, const std::atomic<int>* stop, FileDigest* digest) {
  DWORD error = CheckCopyVerified(pending, stop);
  return error ? error : PlaceCopyVerified(pending, stop, digest);
}

DWORD CopyFileVerified(const std::string& source, const std::string& target, const std::atomic<int>* stop,
                       FileDigest* digest, FileStamp* stamp) {
  PendingCopy pending;
  DWORD error = BeginCopyVerified(source, target, stop, &pending);
  if (!error) error = FinishCopyVerified(&pending, stop, digest);
  if (!error && stamp) *stamp = pending.Stamp();
  return error;
}

DWORD WriteFileVerified(const std::string& target, const void* bytes, size_t size) {
  if (!bytes && size) return ERROR_INVALID_PARAMETER;
  if (GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES) return ERROR_FILE_EXISTS;
  std::string temp = TemporaryIn(FolderOfPath(target));
  Handle out(CreateFileA(temp.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ, NULL, CREATE_NEW,
                         FILE_ATTRIBUTE_HIDDEN, NULL));
  if (!out.Ok()) return GetLastError();
  DWORD error = 0;
  FileDigest expected, written;
  {
    std::unique_ptr<XXH3_state_t, XXH_errorcode (*)(XXH3_state_t*)> st(XXH3_createState(), XXH3_freeState);
    XXH3_128bits_reset(st.get());
    XXH3_128bits_update(st.get(), bytes, size);
    Finish(st.get(), size, &expected);
  }
  // Pieces of at most 64 KB: the largest write every file system takes in one call.
  const char* p = static_cast<const char*>(bytes);
  for (size_t done = 0; !error && done < size;) {
    DWORD piece = static_cast<DWORD>(size - done < kWritePiece ? size - done : kWritePiece), put = 0;
    DWORD toDisk = piece;
    if (g_fault.load()) {
      // The fault works on a copy: the caller's bytes are not ours to change.
      std::vector<char> faulty(p + done, p + done + piece);
      toDisk = BytesToDisk(target, done, faulty.data(), piece);
      if (!WriteFile(out.h, faulty.data(), toDisk, &put, NULL)) error = GetLastError();
    } else if (!WriteFile(out.h, p + done, piece, &put, NULL)) {
      error = GetLastError();
    }
    if (!error && put != toDisk) error = ERROR_DISK_FULL;
    done += piece;
  }
  if (!error && !FlushFileBuffers(out.h)) error = GetLastError();
  if (!error) error = ReadBack(temp, &written);
  if (!error && written != expected) error = ERROR_CRC;
  const HANDLE h = out.h;
  out.h = INVALID_HANDLE_VALUE;
  return PlaceOpenTemporary(h, temp, target, error);
}

}  // namespace safecopy
