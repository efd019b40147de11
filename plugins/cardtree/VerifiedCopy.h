// The card import's copies: the one verified copy routine (safecopy) under the import's
// names, and the threaded copy that runs it while a dialog keeps its messages going.
#pragma once
#include <safecopy/SafeCopy.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace cardtree {

using safecopy::BeginCopyVerified;
using safecopy::CheckCopyVerified;
using safecopy::CopyFileVerified;
using safecopy::CopyPhase;
using safecopy::DigestFile;
using safecopy::DigestOpenFile;
using safecopy::FileDigest;
using safecopy::FileStamp;
using safecopy::FinishCopyVerified;
using safecopy::IsCopyTemporaryName;
using safecopy::kMaxCopyNumber;
using safecopy::MakeFolderPath;
using safecopy::OpenCopySource;
using safecopy::PendingCopy;
using safecopy::PlaceCopyVerified;
using safecopy::RemoveCopyTemporaries;
using safecopy::SetCopyPhaseObserver;
using safecopy::StampOfOpenFile;
using safecopy::WriteCopyVerified;
using safecopy::WriteFileVerified;

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
