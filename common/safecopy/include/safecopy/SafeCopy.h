// The one way our programs write a file that must not be lost: into a hidden temporary of
// the target folder while hashing what was read, flushed, read back and compared, and only
// then renamed to its name, never onto an existing file. A failure or stop leaves the
// source untouched and no partial file behind; a killed process leaves at most a
// temporary, which the next import into that folder removes.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace safecopy {


// The highest "(n)" a target may get.
constexpr int kMaxCopyNumber = 9999;

struct FileDigest {
  uint64_t size = 0;
  uint64_t low = 0, high = 0;  // 128-bit xxHash (XXH3) of the content
  bool operator==(const FileDigest& o) const { return size == o.size && low == o.low && high == o.high; }
  bool operator!=(const FileDigest& o) const { return !(*this == o); }
};
// Reads the whole file; false (last error set) when it cannot be read.
bool DigestFile(const std::string& path, FileDigest* digest);
// The same from an open file's current position to its end: 0 or the read's error.
DWORD DigestOpenFile(HANDLE file, FileDigest* digest);

// What a copy found of its source when it opened it: the size it read, its creation and
// last-write times (the copy gets them); once the copy is placed, also the last-write time
// the copy's file system keeps (the source's, to what that file system can hold).
struct FileStamp {
  uint64_t size = 0;
  FILETIME created = {}, written = {};
  FILETIME copyWritten = {};
};
// The same of an open file; false (last error set) when it cannot be read.
bool StampOfOpenFile(HANDLE file, FileStamp* stamp);

// Whether a file name is one of our unfinished copies.
bool IsCopyTemporaryName(const std::string& name);
// Deletes the unfinished copies in a folder; answers how many went. others, when given,
// receives the names of the folder's other entries (one listing for both).
int RemoveCopyTemporaries(const std::string& folder, std::vector<std::string>* others = nullptr);
// Creates every missing level of a folder path; a Win32 error code, 0 when it exists.
DWORD MakeFolderPath(const std::string& folder);

// Where a copy is: about to open its source, after its first block is written, written but
// not flushed, verified but not renamed, renamed. An observer (tests) may watch every copy
// of the process; it is told the copy's source and runs on the thread doing that step.
enum class CopyPhase { kOpening = 0, kReading, kWritten, kVerified, kRenamed };
void SetCopyPhaseObserver(void (*observer)(CopyPhase, const std::string& source));

// A medium that fails silently, for tests: told each block on its way to a temporary (the
// copy's source, or the target of a write from memory; its offset), the fault may change
// its bytes or lower *size, the bytes that reach the file, while the copy believes the
// whole block written. Only the read-back can then tell.
using WriteFault = void (*)(const std::string& file, uint64_t offset, char* bytes, DWORD* size);
void SetWriteFault(WriteFault fault);

// Copies source to target as above; the copy takes the source's creation and last-write
// times. The read-back goes through a handle of its own that bypasses the system's cache
// where the file system allows it, so that it reads what reached the medium. 0 on success
// (digest filled with the source's content, stamp with what was found of the source),
// else a Win32 error: ERROR_FILE_EXISTS when target exists (nothing written),
// ERROR_CANCELLED when *stop became non-zero, ERROR_DISK_FULL, ERROR_FILE_INVALID when
// the source changed size while read, ERROR_CRC when the read-back differs, or whatever
// the file system answered.
DWORD CopyFileVerified(const std::string& source, const std::string& target, const std::atomic<int>* stop,
                       FileDigest* digest, FileStamp* stamp = nullptr);

// The same copy in steps, so that several files can be under way at once while their
// starts and renames keep an order: Open measures and opens the source; Write writes the
// hidden temporary while hashing what it reads and checks the source's size (Begin is Open
// and Write); Check flushes, reads back and compares; Place renames a checked copy (Finish
// is Check and Place). Open and Write answer CopyFileVerified's errors up to the flush
// (nothing left behind); Check and Place the rest. Open with checkTarget false leaves the
// target's existence to the rename (a caller that knows the folder's names saves a look-up,
// which under Wine reads the whole folder for a missing name). A pending copy dropped or
// discarded unfinished removes its temporary. One thread at a time uses a pending copy.
class PendingCopy {
 public:
  PendingCopy() = default;
  ~PendingCopy();
  PendingCopy(const PendingCopy&) = delete;
  PendingCopy& operator=(const PendingCopy&) = delete;
  void Discard();
  const std::string& Target() const { return target_; }
  // Keeps the first bytes Begin reads (at most one block, 256 KB), so that a reader of the
  // file's headers needs no opening of its own. Head() holds them after Begin.
  void KeepHead(size_t bytes) { keepHead_ = bytes; }
  const std::string& Head() const { return head_; }
  // What Open found of the source.
  const FileStamp& Stamp() const { return stamp_; }

 private:
  friend DWORD OpenCopySource(const std::string&, const std::string&, bool, PendingCopy*);
  friend DWORD WriteCopyVerified(PendingCopy*, const std::atomic<int>*);
  friend DWORD CheckCopyVerified(PendingCopy*, const std::atomic<int>*);
  friend DWORD PlaceCopyVerified(PendingCopy*, const std::atomic<int>*, FileDigest*);
  HANDLE in_ = INVALID_HANDLE_VALUE, out_ = INVALID_HANDLE_VALUE;
  FileStamp stamp_;
  std::string source_, temp_, target_;
  size_t keepHead_ = 0;
  std::string head_;
  FileDigest read_;
  bool checked_ = false;
};
DWORD OpenCopySource(const std::string& source, const std::string& target, bool checkTarget, PendingCopy* pending);
DWORD WriteCopyVerified(PendingCopy* pending, const std::atomic<int>* stop);
DWORD BeginCopyVerified(const std::string& source, const std::string& target, const std::atomic<int>* stop,
                        PendingCopy* pending);
DWORD CheckCopyVerified(PendingCopy* pending, const std::atomic<int>* stop);
DWORD PlaceCopyVerified(PendingCopy* pending, const std::atomic<int>* stop, FileDigest* digest);
DWORD FinishCopyVerified(PendingCopy* pending, const std::atomic<int>* stop, FileDigest* digest);

// The same for bytes in memory: a new file holding exactly them, verified as above.
// ERROR_FILE_EXISTS when target exists (nothing written).
DWORD WriteFileVerified(const std::string& target, const void* bytes, size_t size);

}  // namespace safecopy
