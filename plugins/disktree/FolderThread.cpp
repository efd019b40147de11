#include "FolderThread.h"

#include <cstring>
#include <string>

#include "ShellItems.h"

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

struct ProbeStart {
  SubfolderProbe* probe;
  HMODULE module;
};

}  // namespace

HMODULE ThisModuleReferenced() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, &kAnchor, &module);
  return module;
}

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
  for (;;) {
    DWORD wait = WaitForSingleObject(m_thread, 500);
    if (wait == WAIT_OBJECT_0) break;
    DispatchWaiting();
    if (static_cast<LONG>(GetTickCount() - deadline) >= 0) return false;
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

SubfolderProbe::SubfolderProbe() {}

void SubfolderProbe::Stop() {
  HANDLE worker = nullptr;
  {
    std::lock_guard<std::mutex> hold(m_lock);
    m_quit = true;
    worker = m_worker;
    m_worker = nullptr;
  }
  m_changed.notify_all();
  if (worker) {
    WaitForSingleObject(worker, 10000);
    CloseHandle(worker);
  }
  std::lock_guard<std::mutex> hold(m_lock);
  m_quit = false;
}

SubfolderProbe::~SubfolderProbe() {
  std::unique_lock<std::mutex> hold(m_lock);
  if (m_worker) CloseHandle(m_worker);
  m_quit = true;
  m_changed.notify_all();
  // The worker says it is done before it ends; it needs nothing of the loader for that.
  m_changed.wait_for(hold, std::chrono::seconds(10), [&] { return !m_running; });
  for (Job& j : m_jobs) {
    j.folder->Release();
    CoTaskMemFree(j.relative);
  }
}

unsigned SubfolderProbe::Submit(IShellFolder* parent, LPCITEMIDLIST relative, const std::string& plainFolder) {
  if (!parent || !relative) return 0;
  LPITEMIDLIST copy = JoinItemIdLists(nullptr, relative);
  if (!copy) return 0;
  parent->AddRef();
  unsigned ticket;
  {
    std::lock_guard<std::mutex> hold(m_lock);
    ticket = m_next++;
    if (m_next == 0) m_next = 1;
    m_answers[ticket] = kPending;
    m_jobs.push_back({ticket, parent, copy, plainFolder});
    if (!m_running) {
      HMODULE module = ThisModuleReferenced();
      HANDLE h = CreateThread(nullptr, 0, &SubfolderProbe::Proc, new ProbeStart{this, module}, 0, nullptr);
      if (h) {
        m_running = true;
        if (m_worker) CloseHandle(m_worker);
        m_worker = h;
      } else if (module) {
        FreeLibrary(module);
      }
    }
  }
  m_changed.notify_all();
  return ticket;
}

DWORD WINAPI SubfolderProbe::Proc(LPVOID param) {
  ProbeStart start = *static_cast<ProbeStart*>(param);
  delete static_cast<ProbeStart*>(param);
  start.probe->Work();
  if (start.module) FreeLibraryAndExitThread(start.module, 0);
  return 0;
}

SubfolderProbe::Answer SubfolderProbe::Wait(unsigned ticket, DWORD timeoutMs) {
  std::unique_lock<std::mutex> hold(m_lock);
  auto answered = [&] {
    auto it = m_answers.find(ticket);
    return it == m_answers.end() || it->second != kPending;
  };
  m_changed.wait_for(hold, std::chrono::milliseconds(timeoutMs), answered);
  auto it = m_answers.find(ticket);
  if (it == m_answers.end()) return kUnknown;
  Answer a = it->second;
  if (a != kPending) m_answers.erase(it);
  return a;
}

SubfolderProbe::Answer SubfolderProbe::Poll(unsigned ticket) {
  std::lock_guard<std::mutex> hold(m_lock);
  auto it = m_answers.find(ticket);
  if (it == m_answers.end()) return kUnknown;
  Answer a = it->second;
  if (a != kPending) m_answers.erase(it);
  return a;
}

void SubfolderProbe::Cancel(unsigned ticket) {
  std::lock_guard<std::mutex> hold(m_lock);
  m_answers.erase(ticket);
}

void SubfolderProbe::Work() {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  for (;;) {
    Job job;
    {
      std::unique_lock<std::mutex> hold(m_lock);
      if (!m_changed.wait_for(hold, std::chrono::seconds(2), [&] { return m_quit || !m_jobs.empty(); }) || m_quit) {
        m_running = false;
        m_changed.notify_all();
        break;
      }
      job = m_jobs.front();
      m_jobs.pop_front();
      if (!m_answers.count(job.ticket)) {  // cancelled before its turn
        hold.unlock();
        job.folder->Release();
        CoTaskMemFree(job.relative);
        continue;
      }
    }
    Answer a;
    if (!job.plainFolder.empty()) {
      // A plain directory: only the disk can tell, and the shell would ask it the same.
      a = HasSubdirectory(job.plainFolder) ? kHasSubfolders : kNoSubfolders;
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
      std::lock_guard<std::mutex> hold(m_lock);
      auto it = m_answers.find(job.ticket);
      if (it != m_answers.end()) it->second = a;
    }
    m_changed.notify_all();
  }
  CoUninitialize();
}

}  // namespace disktree
