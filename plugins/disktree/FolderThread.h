// The folder thread's life: one at a time, a stop flag it reads, a stop that keeps the
// caller's window served; and the few workers that ask whether folders have sub-folders,
// each answering many items.
#pragma once
#include <shlobj.h>
#include <windows.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace disktree {

// This library's handle with one reference taken: a thread that holds it ends with
// FreeLibraryAndExitThread, so the library is never unloaded under it.
HMODULE ThisModuleReferenced();
// Closes and drops the handles of the threads that have ended.
void CloseEndedThreads(std::vector<HANDLE>* threads);
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
  // True when no thread is left; false when it did not end by the deadline. Waiting
  // messages of the calling thread are dispatched between the 500 ms waits.
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
// when idle, holding the library meanwhile, so that the library's unloading never has to
// wait for them.
class SubfolderProbe {
 public:
  enum Answer { kPending, kHasSubfolders, kNoSubfolders, kUnknown };
  SubfolderProbe();
  ~SubfolderProbe();
  // Queues a probe; 0 when it cannot be queued. plainFolder, when given, is the path of a
  // plain file-system directory, which is asked on the disk alone.
  unsigned Submit(IShellFolder* parent, LPCITEMIDLIST relative, const std::string& plainFolder = std::string());
  // The answer once it is there, waiting at most timeoutMs; kPending when it is not.
  Answer Wait(unsigned ticket, DWORD timeoutMs);
  // The answer if it is there, without waiting (a wait of 0 still sleeps under this
  // runtime); kPending when it is not.
  Answer Poll(unsigned ticket);
  // Forgets a probe (its late answer is dropped).
  void Cancel(unsigned ticket);
  // Ends the worker and waits for it (never from the library's unloading: the worker
  // holds the library, and its end may unload it).
  void Stop();

 private:
  // Under Wine each probe is four round trips to the single-threaded server; a second
  // worker keeps it busy while the first is between requests.
  static const int kMaxWorkers = 2;
  struct Level;
  struct Job {
    unsigned ticket;
    IShellFolder* folder;
    LPITEMIDLIST relative;
    std::string plainFolder;
  };
  static DWORD WINAPI Proc(LPVOID param);
  void Work();
  std::mutex m_lock;
  std::condition_variable m_changed;
  std::deque<Job> m_jobs;
  std::map<unsigned, Answer> m_answers;
  unsigned m_next = 1;
  bool m_quit = false;
  int m_running = 0;  // workers started and not yet done
  int m_idle = 0;     // of those, the ones waiting for a probe
  std::vector<HANDLE> m_workers;
};

}  // namespace disktree
