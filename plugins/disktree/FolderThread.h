// The folder thread's life: one at a time, a stop flag it reads, a stop that keeps the
// caller's window served; and the few workers that ask whether folders have sub-folders,
// each answering many items.
#pragma once
#include <shlobj.h>
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace disktree {

// This library's handle with one reference taken: a thread that holds it ends with
// FreeLibraryAndExitThread, so the library is never unloaded under it.
HMODULE ThisModuleReferenced();
// Whether a file-system folder holds a folder; Wine's shell claims sub-folders for every
// folder, so its answer alone would leave every expand button in place.
bool HasSubdirectory(const std::string& folder);

class FolderThread {
 public:
  FolderThread() = default;
  FolderThread(const FolderThread&) = delete;
  FolderThread& operator=(const FolderThread&) = delete;
  // A thread still running after a stop ran out of time is left to end on its own: it
  // holds a reference on this library, so the library outlives it.
  ~FolderThread();

  // Stops a previous thread, clears the stop flag and runs body on a new thread; waits
  // until the thread runs. False (and no thread) when none could be started.
  bool Start(std::function<unsigned(const volatile LONG* stop)> body);
  // True when no thread is left; false when it did not end by the deadline. Messages sent
  // to the calling thread are answered at once, the others dispatched between 500 ms waits.
  bool Stop(DWORD timeoutMs = 30000);
  bool IsRunning() const;
  // The ended thread's result, or STILL_ACTIVE.
  DWORD ExitCode() const;

 private:
  struct Run;
  static DWORD WINAPI Proc(LPVOID param);
  HANDLE m_thread = nullptr;
  Run* m_run = nullptr;
};

// Answers "does this folder have sub-folders?" for many items on a small fixed number of
// worker threads sharing one queue, answered in the order asked. Each probe holds its own
// reference on the parent folder and its own copy of the item id, and has its own answer,
// so a late answer never speaks for another item. Workers start with the probes and end
// when idle or told to stop; they share the queue with its owner and hold the library
// meanwhile, so that neither a stop, the owner's end nor the library's unloading ever
// waits for a probe the shell is slow to answer.
class SubfolderProbe {
 public:
  enum Answer { kPending, kHasSubfolders, kNoSubfolders, kUnknown };
  SubfolderProbe();
  ~SubfolderProbe();
  // Queues a probe; 0 when it cannot be queued. plainFolder, when given, is the path of a
  // plain file-system directory, which is asked on the disk alone.
  unsigned Submit(IShellFolder* parent, LPCITEMIDLIST relative, const std::string& plainFolder = std::string());
  // The answer once it is there, waiting at most timeoutMs; kPending when it is not.
  // heldMs, when given, gets how long a pending probe has been held up: since a worker took
  // it, or while it is queued, since the queue last moved (a long queue that moves is no
  // hold-up of its own).
  Answer Wait(unsigned ticket, DWORD timeoutMs, DWORD* heldMs = nullptr);
  // The answer if it is there, without waiting (a wait of 0 still sleeps under this
  // runtime); kPending when it is not.
  Answer Poll(unsigned ticket, DWORD* heldMs = nullptr);
  // Forgets a probe (its late answer is dropped).
  void Cancel(unsigned ticket);
  // Drops every probe and tells the workers to end, without waiting for them: a worker in
  // the middle of a probe ends after it. Later probes get new workers.
  void Stop();
  // Workers of this probe not yet ended, stopped ones included (tests).
  int Running();

 private:
  // Under Wine each probe is four round trips to the single-threaded server; a second
  // worker keeps it busy while the first is between requests.
  static const int kMaxWorkers = 2;
  struct Level;
  struct Entry;
  struct Queue;
  struct Start;
  static DWORD WINAPI Proc(LPVOID param);
  static void Work(const std::shared_ptr<Queue>& queue);
  std::shared_ptr<Queue> Current();
  // Guards the swap of m_queue (a stop) against the callers on other threads.
  std::mutex m_swap;
  std::shared_ptr<Queue> m_queue;
  // Workers started and not yet done, of every queue; shared with them.
  std::shared_ptr<std::atomic<int>> m_alive;
};

// The expand button a probe gives its folder. An answer decides it; a probe held up longer
// than boundMs, or one without an answer, leaves the button ("maybe"): opening the folder
// decides then. Only a probe that is still moving is waited for.
enum ProbeButton { kButtonWait, kButtonShown, kButtonHidden };
ProbeButton ButtonFromProbe(SubfolderProbe::Answer answer, DWORD heldMs, DWORD boundMs);
// Waits for a probe's button while it is not held up beyond boundMs, at most waitMs in all
// (INFINITE: until it is decided); kButtonWait only when waitMs ran out first. A probe
// decided without its answer is forgotten.
ProbeButton AwaitButton(SubfolderProbe& probe, unsigned ticket, DWORD boundMs, DWORD waitMs);

}  // namespace disktree
