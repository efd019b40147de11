#include "FolderThread.h"

#include <winternl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

#include <textkit/text.h>

#include "ShellItems.h"

// ntdll's, not declared by the platform headers.
extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE file, HANDLE event, PVOID apc, PVOID apcContext,
                                               PIO_STATUS_BLOCK io, PVOID buffer, ULONG length,
                                               FILE_INFORMATION_CLASS type, BOOLEAN single, PUNICODE_STRING mask,
                                               BOOLEAN restart);

namespace disktree {

namespace {

void DispatchWaiting() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

const char kAnchor = 0;  // an address inside this module

}  // namespace

HMODULE ThisModuleReferenced() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, &kAnchor, &module);
  return module;
}

namespace {

// Whether a listing holds a directory other than . and ..; each call of the listing is a
// server request under Wine. A local file system fills the buffer as far as entries fit, so
// a call that leaves room for the longest possible entry has given the whole listing.
bool ListedSubdirectory(HANDLE directory, bool fillsBuffer) {
  alignas(8) char buffer[4096];
  const size_t longest = (offsetof(FILE_DIRECTORY_INFORMATION, FileName) + 255 * sizeof(WCHAR) + 7) & ~size_t(7);
  IO_STATUS_BLOCK io = {};
  for (BOOLEAN restart = TRUE;; restart = FALSE) {
    NTSTATUS status = NtQueryDirectoryFile(directory, nullptr, nullptr, nullptr, &io, buffer, sizeof buffer,
                                           FileDirectoryInformation, FALSE, nullptr, restart);
    if (status < 0 || io.Information == 0) return false;  // STATUS_NO_MORE_FILES too
    for (char* at = buffer;;) {
      const auto* entry = reinterpret_cast<const FILE_DIRECTORY_INFORMATION*>(at);
      const ULONG chars = entry->FileNameLength / sizeof(WCHAR);
      const bool dots = (chars == 1 && entry->FileName[0] == L'.') ||
                        (chars == 2 && entry->FileName[0] == L'.' && entry->FileName[1] == L'.');
      if ((entry->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !dots) return true;
      if (!entry->NextEntryOffset) break;
      at += entry->NextEntryOffset;
    }
    if (fillsBuffer && sizeof buffer - io.Information >= longest) return false;
  }
}

bool HasSubdirectoryIn(HANDLE parent, const std::wstring& name, bool fillsBuffer) {
  if (name.empty() || name.size() * sizeof(WCHAR) > 0xFFFE) return false;
  UNICODE_STRING text;
  text.Buffer = const_cast<PWSTR>(name.c_str());
  text.Length = text.MaximumLength = static_cast<USHORT>(name.size() * sizeof(WCHAR));
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, parent, nullptr);
  HANDLE directory = nullptr;
  IO_STATUS_BLOCK io = {};
  if (NtOpenFile(&directory, FILE_LIST_DIRECTORY | SYNCHRONIZE, &attributes, &io,
                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                 FILE_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_FOR_BACKUP_INTENT) < 0)
    return false;
  const bool found = ListedSubdirectory(directory, fillsBuffer);
  NtClose(directory);
  return found;
}

}  // namespace

bool HasSubdirectory(const std::string& folder) {
  WIN32_FIND_DATAA fd;
  HANDLE h =
      FindFirstFileExA((folder + "\\*").c_str(), FindExInfoStandard, &fd, FindExSearchLimitToDirectories, nullptr, 0);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool found = false;
  do {
    found = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && strcmp(fd.cFileName, ".") != 0 &&
            strcmp(fd.cFileName, "..") != 0;
  } while (!found && FindNextFileA(h, &fd));
  FindClose(h);
  return found;
}

// Shared by the owner and the thread; the last of the two to let go deletes it.
struct FolderThread::Run {
  std::function<unsigned(const volatile LONG*)> body;
  volatile LONG stop = 0;
  LONG refs = 2;
  HMODULE module = nullptr;
  void Release() {
    if (InterlockedDecrement(&refs) == 0) delete this;
  }
};

DWORD WINAPI FolderThread::Proc(LPVOID param) {
  Run* run = static_cast<Run*>(param);
  CoInitialize(nullptr);
  DWORD result = run->body(&run->stop);
  CoUninitialize();
  HMODULE module = run->module;
  run->Release();
  if (module) FreeLibraryAndExitThread(module, result);
  return result;
}

FolderThread::~FolderThread() {
  if (m_run) {
    InterlockedExchange(&m_run->stop, 1);
    m_run->Release();
  }
  if (m_thread) CloseHandle(m_thread);
}

bool FolderThread::Start(std::function<unsigned(const volatile LONG* stop)> body) {
  if (!Stop()) return false;
  Run* run = new Run;
  run->body = std::move(body);
  run->module = ThisModuleReferenced();
  HANDLE thread = CreateThread(nullptr, 0, &FolderThread::Proc, run, 0, nullptr);
  if (!thread) {
    if (run->module) FreeLibrary(run->module);
    delete run;
    return false;
  }
  m_thread = thread;
  m_run = run;
  return true;
}

bool FolderThread::Stop(DWORD timeoutMs) {
  if (!m_thread) return true;
  const DWORD deadline = GetTickCount() + timeoutMs;
  InterlockedExchange(&m_run->stop, 1);
  // Messages the thread sends to this one (a walk finishing a step in the tree) are
  // answered as they come: the thread would otherwise stand still until the next slice.
  DWORD sliceEnd = GetTickCount() + 500;
  for (;;) {
    const DWORD now = GetTickCount();
    const DWORD left = static_cast<LONG>(sliceEnd - now) > 0 ? sliceEnd - now : 0;
    const DWORD wait = MsgWaitForMultipleObjects(1, &m_thread, FALSE, left, QS_SENDMESSAGE);
    if (wait == WAIT_OBJECT_0) break;
    if (wait == WAIT_OBJECT_0 + 1) {
      MSG msg;
      PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
      continue;
    }
    if (wait != WAIT_TIMEOUT) Sleep(10);  // never a busy loop
    DispatchWaiting();
    if (static_cast<LONG>(GetTickCount() - deadline) >= 0) return false;
    sliceEnd = GetTickCount() + 500;
  }
  CloseHandle(m_thread);
  m_thread = nullptr;
  m_run->Release();
  m_run = nullptr;
  return true;
}

bool FolderThread::IsRunning() const { return ExitCode() == STILL_ACTIVE; }

DWORD FolderThread::ExitCode() const {
  DWORD code = 0;
  if (!m_thread || !GetExitCodeThread(m_thread, &code)) return 0;
  return code;
}

// The worker keeps its current level's directory open while probes of that level wait, so
// each child is opened by its name alone: under Wine a full path costs its resolution again.
struct SubfolderProbe::Level {
  std::wstring path;
  HANDLE handle = INVALID_HANDLE_VALUE;
  bool local = false;  // on a drive of this machine, whose listings fill the buffer
  void Close() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
    path.clear();
  }
  bool HasSubdirectory(const std::string& folder) {
    std::wstring wide;
    const size_t cut = textkit::TryAnsiToWide(folder, &wide) ? wide.find_last_of(L'\\') : std::wstring::npos;
    if (cut == std::wstring::npos || cut < 2 || cut + 1 == wide.size()) return disktree::HasSubdirectory(folder);
    const std::wstring parent = wide.substr(0, cut == 2 ? 3 : cut);  // C:\ keeps its separator
    if (handle == INVALID_HANDLE_VALUE || parent != path) {
      Close();
      handle = CreateFileW(parent.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
      if (handle == INVALID_HANDLE_VALUE) return disktree::HasSubdirectory(folder);
      path = parent;
      const UINT type = parent[1] == L':' ? GetDriveTypeW(parent.substr(0, 2).append(L"\\").c_str()) : DRIVE_REMOTE;
      local = type == DRIVE_FIXED || type == DRIVE_REMOVABLE || type == DRIVE_CDROM || type == DRIVE_RAMDISK;
    }
    return HasSubdirectoryIn(handle, wide.substr(cut + 1), local);
  }
};

struct SubfolderProbe::Entry {
  Answer answer = kPending;
  DWORD since = 0;  // queued at, or taken by a worker at
  bool started = false;
};

namespace {

DWORD Later(DWORD a, DWORD b) { return static_cast<LONG>(a - b) > 0 ? a : b; }

}  // namespace

// What the owner and the workers share; the last of them to let go frees it.
struct SubfolderProbe::Queue {
  struct Job {
    unsigned ticket;
    IShellFolder* folder;
    LPITEMIDLIST relative;
    std::string plainFolder;
  };
  std::mutex lock;
  std::condition_variable changed;
  std::deque<Job> jobs;
  std::map<unsigned, Entry> answers;
  DWORD moved = GetTickCount();  // a probe last taken or answered
  unsigned next = 1;
  bool quit = false;
  int running = 0;  // workers started and not yet done
  int idle = 0;     // of those, the ones waiting for a probe
  std::shared_ptr<std::atomic<int>> alive;
  // Under the lock.
  void DropJobs() {
    for (Job& j : jobs) {
      j.folder->Release();
      CoTaskMemFree(j.relative);
    }
    jobs.clear();
  }
  ~Queue() { DropJobs(); }
  // Under the lock.
  DWORD Held(const Entry& e) const {
    const DWORD now = GetTickCount();
    return now - (e.started ? e.since : Later(e.since, moved));
  }
  // Under the lock: the answer, taken once there; kUnknown for a probe forgotten.
  Answer Take(unsigned ticket, DWORD* heldMs) {
    if (heldMs) *heldMs = 0;
    auto it = answers.find(ticket);
    if (it == answers.end()) return kUnknown;
    const Answer a = it->second.answer;
    if (a != kPending)
      answers.erase(it);
    else if (heldMs)
      *heldMs = Held(it->second);
    return a;
  }
};

struct SubfolderProbe::Start {
  std::shared_ptr<Queue> queue;
  HMODULE module;
};

SubfolderProbe::SubfolderProbe() : m_queue(std::make_shared<Queue>()), m_alive(std::make_shared<std::atomic<int>>(0)) {
  m_queue->alive = m_alive;
}

std::shared_ptr<SubfolderProbe::Queue> SubfolderProbe::Current() {
  std::lock_guard<std::mutex> hold(m_swap);
  return m_queue;
}

void SubfolderProbe::Stop() {
  auto fresh = std::make_shared<Queue>();
  fresh->alive = m_alive;
  std::shared_ptr<Queue> old;
  {
    std::lock_guard<std::mutex> hold(m_swap);
    old = m_queue;
    m_queue = fresh;
  }
  {
    std::lock_guard<std::mutex> hold(old->lock);
    old->quit = true;
    old->answers.clear();
    old->DropJobs();
  }
  old->changed.notify_all();
}

SubfolderProbe::~SubfolderProbe() { Stop(); }

int SubfolderProbe::Running() { return m_alive->load(); }

unsigned SubfolderProbe::Submit(IShellFolder* parent, LPCITEMIDLIST relative, const std::string& plainFolder) {
  if (!parent || !relative) return 0;
  LPITEMIDLIST copy = JoinItemIdLists(nullptr, relative);
  if (!copy) return 0;
  parent->AddRef();
  std::shared_ptr<Queue> queue = Current();
  unsigned ticket;
  {
    std::lock_guard<std::mutex> hold(queue->lock);
    ticket = queue->next++;
    if (queue->next == 0) queue->next = 1;
    Entry& entry = queue->answers[ticket];
    entry.since = GetTickCount();
    queue->jobs.push_back({ticket, parent, copy, plainFolder});
    // A few workers share a long queue: each waits on the server for much of a probe.
    if (queue->running < kMaxWorkers && queue->jobs.size() > static_cast<size_t>(queue->idle)) {
      HMODULE module = ThisModuleReferenced();
      auto* start = new Start{queue, module};
      ++*m_alive;
      HANDLE h = CreateThread(nullptr, 0, &SubfolderProbe::Proc, start, 0, nullptr);
      if (h) {
        ++queue->running;
        CloseHandle(h);
      } else {
        --*m_alive;
        delete start;
        if (module) FreeLibrary(module);
      }
    }
  }
  queue->changed.notify_all();  // the callers waiting for answers wait on it too
  return ticket;
}

DWORD WINAPI SubfolderProbe::Proc(LPVOID param) {
  auto* start = static_cast<Start*>(param);
  const HMODULE module = start->module;
  {
    std::shared_ptr<Queue> queue = std::move(start->queue);
    delete start;
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    Work(queue);
    std::shared_ptr<std::atomic<int>> alive = queue->alive;
    queue.reset();  // the last folders it held are let go while COM is still up
    CoUninitialize();
    --*alive;
  }
  if (module) FreeLibraryAndExitThread(module, 0);
  return 0;
}

SubfolderProbe::Answer SubfolderProbe::Wait(unsigned ticket, DWORD timeoutMs, DWORD* heldMs) {
  std::shared_ptr<Queue> queue = Current();
  std::unique_lock<std::mutex> hold(queue->lock);
  auto answered = [&] {
    auto it = queue->answers.find(ticket);
    return it == queue->answers.end() || it->second.answer != kPending;
  };
  queue->changed.wait_for(hold, std::chrono::milliseconds(timeoutMs), answered);
  return queue->Take(ticket, heldMs);
}

SubfolderProbe::Answer SubfolderProbe::Poll(unsigned ticket, DWORD* heldMs) {
  std::shared_ptr<Queue> queue = Current();
  std::lock_guard<std::mutex> hold(queue->lock);
  return queue->Take(ticket, heldMs);
}

void SubfolderProbe::Cancel(unsigned ticket) {
  std::shared_ptr<Queue> queue = Current();
  std::lock_guard<std::mutex> hold(queue->lock);
  queue->answers.erase(ticket);
}

void SubfolderProbe::Work(const std::shared_ptr<Queue>& queue) {
  Level level;
  for (;;) {
    Queue::Job job;
    {
      std::unique_lock<std::mutex> hold(queue->lock);
      if (queue->jobs.empty() && level.handle != INVALID_HANDLE_VALUE) {
        // Nothing left of the level: its directory is not held open while idle.
        hold.unlock();
        level.Close();
        hold.lock();
      }
      ++queue->idle;
      const bool woken =
          queue->changed.wait_for(hold, std::chrono::seconds(2), [&] { return queue->quit || !queue->jobs.empty(); });
      --queue->idle;
      if (!woken || queue->quit) {
        --queue->running;
        queue->changed.notify_all();
        break;
      }
      job = queue->jobs.front();
      queue->jobs.pop_front();
      auto entry = queue->answers.find(job.ticket);
      if (entry == queue->answers.end()) {  // cancelled before its turn
        hold.unlock();
        job.folder->Release();
        CoTaskMemFree(job.relative);
        continue;
      }
      entry->second.started = true;
      entry->second.since = queue->moved = GetTickCount();
    }
    Answer a;
    if (!job.plainFolder.empty()) {
      // A plain directory: only the disk can tell, and the shell would ask it the same.
      a = level.HasSubdirectory(job.plainFolder) ? kHasSubfolders : kNoSubfolders;
    } else {
      SFGAOF attributes = SFGAO_HASSUBFOLDER;
      LPCITEMIDLIST item = job.relative;
      HRESULT hr = job.folder->GetAttributesOf(1, &item, &attributes);
      a = FAILED(hr) ? kUnknown : (attributes & SFGAO_HASSUBFOLDER) ? kHasSubfolders : kNoSubfolders;
    }
    std::string path;
    if (job.plainFolder.empty() && a == kHasSubfolders &&
        GetDisplayNameText(job.folder, job.relative, SHGDN_FORPARSING, &path)) {
      DWORD attr = GetFileAttributesA(path.c_str());
      if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY) && !HasSubdirectory(path))
        a = kNoSubfolders;
    }
    job.folder->Release();
    CoTaskMemFree(job.relative);
    {
      std::lock_guard<std::mutex> hold(queue->lock);
      auto it = queue->answers.find(job.ticket);
      if (it != queue->answers.end()) it->second.answer = a;
      queue->moved = GetTickCount();
    }
    queue->changed.notify_all();
  }
  level.Close();
}

ProbeButton ButtonFromProbe(SubfolderProbe::Answer answer, DWORD heldMs, DWORD boundMs) {
  switch (answer) {
    case SubfolderProbe::kHasSubfolders:
      return kButtonShown;
    case SubfolderProbe::kNoSubfolders:
      return kButtonHidden;
    case SubfolderProbe::kPending:
      return heldMs < boundMs ? kButtonWait : kButtonShown;
    default:
      return kButtonShown;
  }
}

ProbeButton AwaitButton(SubfolderProbe& probe, unsigned ticket, DWORD boundMs, DWORD waitMs) {
  const DWORD start = GetTickCount();
  DWORD held = 0;
  SubfolderProbe::Answer a = probe.Poll(ticket, &held);
  for (;;) {
    const ProbeButton button = ButtonFromProbe(a, held, boundMs);
    if (button != kButtonWait) {
      if (a == SubfolderProbe::kPending) probe.Cancel(ticket);  // a late answer changes nothing
      return button;
    }
    const DWORD spent = GetTickCount() - start;
    if (waitMs != INFINITE && spent >= waitMs) return kButtonWait;
    // Until the probe's own bound would pass: the answer usually comes first.
    DWORD step = boundMs - held;
    if (waitMs != INFINITE) step = std::min(step, waitMs - spent);
    a = probe.Wait(ticket, std::max<DWORD>(step, 1), &held);
  }
}

}  // namespace disktree
