// The one way the card import writes a file: into a hidden temporary of the target
// folder while hashing what was read from the card, flushed, read back and compared, and
// only then renamed to its name, never onto an existing file. A failure or stop leaves
// the source untouched and no partial file behind; a killed process leaves at most a
// temporary, which the next import into that folder removes.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace cardtree {

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

// Whether a file name is one of our unfinished copies.
bool IsCopyTemporaryName(const std::string& name);
// Deletes the unfinished copies in a folder; answers how many went.
int RemoveCopyTemporaries(const std::string& folder);
// Creates every missing level of a folder path; a Win32 error code, 0 when it exists.
DWORD MakeFolderPath(const std::string& folder);

// Where a copy is: after its first block is written, written but not flushed, verified but
// not renamed, renamed. An observer (the kill tests) may watch every copy of the process.
enum class CopyPhase { kReading = 1, kWritten, kVerified, kRenamed };
void SetCopyPhaseObserver(void (*observer)(CopyPhase));

// Copies source to target as above. 0 on success (digest filled with the source's
// content), else a Win32 error: ERROR_FILE_EXISTS when target exists (nothing written),
// ERROR_CANCELLED when *stop became non-zero, ERROR_DISK_FULL, ERROR_FILE_INVALID when
// the source changed size while read, ERROR_CRC when the read-back differs, or whatever
// the file system answered.
DWORD CopyFileVerified(const std::string& source, const std::string& target, const std::atomic<int>* stop,
                       FileDigest* digest);

// Copies (or moves: copy, then the source's read-only flag cleared and the source deleted)
// one file on a worker thread while the calling thread keeps dispatching its messages.
class CThreadedFileCopy {
 public:
  CThreadedFileCopy(LPCSTR source, LPCSTR target, int move, int spare = 0);
  // Waits for the worker: the object may only go when the thread has ended.
  ~CThreadedFileCopy();
  // Starts the worker and pumps messages until it is done or abandoned. Non-zero on
  // success; after Abandon the result so far (0).
  int Run();
  // Asks the worker to stop at its next block; Run returns at once. The worker removes its
  // temporary; the destructor waits for it.
  void Abandon() { m_abandoned = 1; }
  bool IsAbandoned() const { return m_abandoned != 0; }
  bool IsDone() const { return m_done != 0; }
  int Result() const { return m_result; }
  DWORD LastError() const { return m_lastError; }
  const FileDigest& Digest() const { return m_digest; }

 private:
  void Work();
  std::string m_source, m_target;
  int m_move;
  std::atomic<int> m_done{0}, m_abandoned{0};
  int m_result = 0;
  DWORD m_lastError = 0;
  FileDigest m_digest;
  std::thread m_thread;
};

}  // namespace cardtree
