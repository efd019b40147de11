// The decoder: a few long-lived worker threads make the pictures of the decode list, the
// window [start, start + count) first, and call the caller back per item, one call at a time.
// The pixels kept stay under the library's budget: items victims from the window give theirs
// up, and the rest of the list is decoded only while there is room.
#include "internal.h"

#include <algorithm>

using namespace vxg;

namespace {

// One DecodeStart: where its results go. Workers that took an item under it keep it alive
// (users) until that item is done, so that a stopped run outlives its last decode.
struct Run {
  bool stop = false;
  int inCallback = 0;
  int users = 0;
  int workers = 1;                // how many of the pool's workers this run uses
  CRITICAL_SECTION callbackLock;  // callers get one call at a time
  Run() { InitializeCriticalSection(&callbackLock); }
  ~Run() { DeleteCriticalSection(&callbackLock); }
  SIZE size{160, 160};
  VXDECODECALLBACK callback = nullptr;
  void* context = nullptr;
};

struct Entry {
  CThumbnail* item;
  uint64_t serial;
};

// All under the process-wide lock.
Run* g_run = nullptr;
std::vector<Run*> g_ended;  // stopped, still used by a worker or a callback
thread_local bool t_worker = false;
thread_local const Run* t_callbackOf = nullptr;  // the run whose callback this thread is in
std::vector<Entry> g_list;
int g_start = 0;
int g_count = 0;
size_t g_cursor = 0;
// The budget was reached outside the window: the rest waits until the window or the list
// changes (else it would decode and give up pictures in turn).
bool g_restFull = false;  // how victims the rest of the list (outside the window) is known done

// Idle workers sleep here with the process-wide lock. A condition variable rather than an
// event: under Wine every event call is a round trip to the server, which the date pass's
// file calls wait for, and items arrive one by one during that pass. Every wake is counted,
// so that a worker that found nothing just before a wake does not sleep through it.
CONDITION_VARIABLE g_wakeCv = CONDITION_VARIABLE_INIT;
std::atomic<unsigned> g_wakes{0};

int g_workers = 0;  // 0: by the processors

int WorkerCount() {
  if (g_workers > 0) return g_workers;
  // The processors this process may run on, not the machine's: one is left to the
  // user-interface thread.
  DWORD_PTR mine = 0, system = 0;
  int n = 0;
  if (GetProcessAffinityMask(GetCurrentProcess(), &mine, &system)) {
    for (; mine; mine &= mine - 1) ++n;
  } else {
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    n = int(si.dwNumberOfProcessors);
  }
  n -= 1;
  return n < 1 ? 1 : n > 4 ? 4 : n;
}

void Wake() {
  ++g_wakes;
  WakeAllConditionVariable(&g_wakeCv);
}

// Deletes stopped runs no worker uses any more.
void ReapLocked() {
  for (size_t i = g_ended.size(); i-- > 0;) {
    Run* r = g_ended[i];
    if (r->users == 0 && r->inCallback == 0) {
      delete r;
      g_ended.erase(g_ended.begin() + i);
    }
  }
}

bool NeedsDecode(const ThumbImpl* p, SIZE want) {
  if (p->decodeState != kDecoded) return true;
  if (p->complete) return false;
  return p->decodedBox.cx < want.cx || p->decodedBox.cy < want.cy;
}

bool Candidate(size_t i, SIZE want) {
  const Entry& e = g_list[i];
  return IsAliveLocked(e.item, e.serial) && !Impl(e.item)->decoding && NeedsDecode(Impl(e.item), want);
}

// The window of the list, clamped.
void WindowLocked(size_t* ws, size_t* we) {
  const size_t n = g_list.size();
  *ws = size_t(std::min<long long>(std::max(g_start, 0), (long long)n));
  *we = g_count > 0 ? std::min(n, *ws + size_t(g_count)) : *ws;
}

// Outside the window only while the pixels leave room; the window always.
bool RoomForRest() { return PixelBytes() < PixelBudget() / 10 * 9; }

// The next item to decode, under the lock.
CThumbnail* PickLocked(SIZE want) {
  const size_t n = g_list.size();
  size_t ws, we;
  WindowLocked(&ws, &we);
  for (size_t i = ws; i < we; ++i)
    if (Candidate(i, want)) return g_list[i].item;
  if (g_restFull || !RoomForRest()) return nullptr;
  // The rest: from the window's end to the list's end, then from the list's start.
  const size_t after = n - we, total = after + ws;
  for (; g_cursor < total; ++g_cursor) {
    size_t i = g_cursor < after ? we + g_cursor : g_cursor - after;
    if (Candidate(i, want) && !Impl(g_list[i].item)->givenUp) return g_list[i].item;
  }
  return nullptr;
}

// Frees pixels of the items farthest from the window so that incoming more bytes fit
// (PixelVictims); the bytes freed.
long long KeepUnderBudget(long long incoming = 0, const ThumbImpl* self = nullptr) {
  if (PixelBytes() + incoming <= PixelBudget()) return 0;
  std::vector<CThumbnail*> victims;
  {
    Guard lock;
    size_t ws, we;
    WindowLocked(&ws, &we);
    std::vector<PixelHolder> holders;
    std::vector<CThumbnail*> items;
    for (size_t i = 0; i < g_list.size(); ++i) {
      if (i >= ws && i < we) continue;
      const Entry& e = g_list[i];
      if (!IsAliveLocked(e.item, e.serial)) continue;
      const ThumbImpl* p = Impl(e.item);
      if (p == self || p->decoding || p->pixelBytes == 0) continue;
      holders.push_back(PixelHolder{i < ws ? ws - i : i - we + 1, p->pixelBytes.load()});
      items.push_back(e.item);
    }
    for (size_t k : PixelVictims(holders, PixelBytes(), incoming, PixelBudget())) {
      victims.push_back(items[k]);
      ++Impl(items[k])->pins;
    }
    if (!victims.empty()) g_restFull = true;
  }
  long long freed = 0;
  for (CThumbnail* v : victims) {
    long long bytes = Impl(v)->pixelBytes;
    if (Impl(v)->DropForBudget()) freed += bytes;
  }
  Guard lock;
  for (CThumbnail* v : victims) --Impl(v)->pins;
  return freed;
}

// Decodes one item picked under run, stores its picture and hands it back unless the run
// stopped meanwhile. The item is marked decoding and pinned by the caller.
void DecodeItem(Run* run, CThumbnail* item, DecodeJob& job, uint64_t serial, unsigned gen) {
  ThumbImpl* p = Impl(item);
  EnterCriticalSection(&p->cs);
  job.path = p->path;
  job.wantExif = !p->exifLoaded;
  p->TakeHead(&job);
  std::unique_ptr<ShownFacts> shown = ShownFactsOf(p, job);
  LeaveCriticalSection(&p->cs);
  {
    Guard lock;
    --p->pins;
  }

  DecodeResult r;
  HRESULT hr = job.path.empty() ? E_FAIL : DecodeForJob(job, &r);
  bool complete = r.complete;
  if (SUCCEEDED(hr) && r.fromThumbBytes && shown) {
    shown->thumb = std::move(job.thumb);
    NoteShown(std::move(shown));
  }

  {
    Guard lock;
    if (!IsAliveLocked(item, serial)) return;  // gone meanwhile
    if (p->imageGen != gen) {                  // changed meanwhile
      p->decoding = false;
      return;
    }
    ++p->pins;
  }
  if (SUCCEEDED(hr)) p->StoreResult(std::move(r));
  KeepUnderBudget();
  bool deliver = false;
  {
    Guard lock;
    // Only now may another worker pick the item: it is marked decoded in the same step.
    p->decoding = false;
    if (p->imageGen == gen) {
      // A file that can't be decoded at all counts as done too: it is not tried again
      // until its picture is cleared.
      p->decodeState = kDecoded;
      p->decodedBox = SIZE{job.cx, job.cy};
      p->complete = complete || FAILED(hr);
    }
    if (!run->stop && SUCCEEDED(hr)) {
      ++run->inCallback;
      deliver = true;
    } else {
      --p->pins;
    }
  }
  if (deliver) {
    EnterCriticalSection(&run->callbackLock);
    bool stopped;
    {
      Guard lock;
      stopped = run->stop;
    }
    t_callbackOf = run;
    if (!stopped) run->callback(item, run->context);
    t_callbackOf = nullptr;
    LeaveCriticalSection(&run->callbackLock);
    Guard lock;
    --run->inCallback;
    --p->pins;
  }
}

// The workers: started when a run first needs them and kept across runs, so that a run
// costs no thread start and no COM start-up (the imaging engine keeps its factory per
// thread). They go when neither a run nor a page is left (EndWorkers). Under the lock.
struct Pool {
  std::vector<HANDLE> threads;  // the current workers, by number
  std::vector<HANDLE> leaving;  // let go, not yet seen ended
  unsigned gen = 0;             // a worker of an earlier generation ends
};
Pool g_pool;
int g_pages = 0;  // pages alive
int g_holds = 0;  // HoldDecodeThreads

struct WorkerStart {
  int index;
  unsigned gen;
};

void WorkerLoop(const WorkerStart& me) {
  imaging::ComScope com;
  for (;;) {
    DecodeJob job;
    CThumbnail* item = nullptr;
    Run* run = nullptr;
    uint64_t serial = 0;
    unsigned gen = 0, wakes = 0;
    {
      Guard lock;
      if (g_pool.gen != me.gen) return;
      wakes = g_wakes;
      if (g_run && me.index < g_run->workers) run = g_run;
      if (!run) {
        if (g_wakes == wakes) SleepUnderLock(&g_wakeCv, INFINITE);
        continue;
      }
      ++run->users;
      item = PickLocked(run->size);
      if (item) {
        ThumbImpl* p = Impl(item);
        p->decoding = true;
        p->givenUp = false;
        serial = p->serial;
        gen = p->imageGen;
        job.kind = p->kind;
        job.folderImageType = p->folderImageType;
        job.cx = run->size.cx;
        job.cy = run->size.cy;
        ++p->pins;  // the path is copied under the item's lock
      }
    }
    if (item) {
      DecodeItem(run, item, job, serial, gen);
    } else {
      // Pictures composed for the views count too: an idle decoder keeps the budget.
      KeepUnderBudget();
      // What the date pass read goes to the database meanwhile.
      WriteShown(&run->stop);
    }
    Guard lock;
    if (!item && !run->stop && g_wakes == wakes) SleepUnderLock(&g_wakeCv, 200);
    --run->users;
    if (run->stop) ReapLocked();
  }
}

DWORD WINAPI WorkerThread(LPVOID param) {
  WorkerStart me = *static_cast<WorkerStart*>(param);
  delete static_cast<WorkerStart*>(param);
  t_worker = true;
  WorkerLoop(me);
  // The reference taken when the worker started kept the library loaded while it ran.
  FreeLibraryAndExitThread(LibraryModule(), 0);
  return 0;
}

// Starts workers until there are n; false when there are none.
bool EnsureWorkersLocked(int n) {
  for (size_t i = g_pool.leaving.size(); i-- > 0;) {
    if (WaitForSingleObject(g_pool.leaving[i], 0) != WAIT_OBJECT_0) continue;
    CloseHandle(g_pool.leaving[i]);
    g_pool.leaving.erase(g_pool.leaving.begin() + i);
  }
  while (int(g_pool.threads.size()) < n) {
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&g_pool), &self)) break;
    auto* start = new WorkerStart{int(g_pool.threads.size()), g_pool.gen};
    HANDLE h = CreateThread(NULL, 0, WorkerThread, start, CREATE_SUSPENDED, NULL);
    if (!h) {
      delete start;
      FreeLibrary(self);
      break;
    }
    // Below the user-interface thread, so that painting keeps up while pictures are made.
    SetThreadPriority(h, THREAD_PRIORITY_BELOW_NORMAL);
    ResumeThread(h);
    g_pool.threads.push_back(h);
  }
  return !g_pool.threads.empty();
}

// How long the end of the last page waits for a worker still in the middle of a file.
const DWORD kWorkerJoinMs = 5000;

// Lets every worker go (each ends after the item in hand) and waits up to ms for them;
// never waits on a worker's own thread. The caller does not hold the lock.
void EndWorkers(DWORD ms) {
  std::vector<HANDLE> going;
  {
    Guard lock;
    if (g_pool.threads.empty()) return;
    ++g_pool.gen;
    going.swap(g_pool.threads);
    Wake();
  }
  if (t_worker) ms = 0;
  const DWORD start = GetTickCount();
  std::vector<HANDLE> left;
  for (HANDLE h : going) {
    DWORD spent = GetTickCount() - start;
    if (FwWaitAnsweringSent(h, spent < ms ? ms - spent : 0) == WAIT_OBJECT_0)
      CloseHandle(h);
    else
      left.push_back(h);
  }
  Guard lock;
  g_pool.leaving.insert(g_pool.leaving.end(), left.begin(), left.end());
}

// At the library's end no worker runs any more (the process ended them, or none was left
// holding the library); their handles go.
struct PoolEnd {
  ~PoolEnd() {
    for (HANDLE h : g_pool.threads) CloseHandle(h);
    for (HANDLE h : g_pool.leaving) CloseHandle(h);
  }
} g_poolEnd;

// Stops the current run; the caller holds the lock. Waits for a running callback unless
// called from that callback.
void StopLocked() {
  Run* run = g_run;
  if (!run) return;
  g_run = nullptr;
  run->stop = true;
  Wake();
  if (t_callbackOf != run) {
    while (run->inCallback > 0) {
      Unlock();
      FwWaitAnsweringSent(NULL, 1);
      Lock();
    }
  }
  g_ended.push_back(run);
  ReapLocked();
}

void ResetCursorLocked() {
  g_cursor = 0;
  g_restFull = false;
}

}  // namespace

namespace vxg {
void DecoderOverBudget() { Wake(); }

void ReservePixels(long long bytes, const ThumbImpl* self) {
  for (int tries = 0; tries < 3; ++tries) {
    if (TakePixelBytes(bytes)) return;
    if (KeepUnderBudget(bytes, self) <= 0) break;
  }
  AddPixelBytes(bytes);
  DecoderOverBudget();
}

void DecoderForgetPage(const CThumbnailPage* page) {
  Guard lock;
  g_list.erase(std::remove_if(g_list.begin(), g_list.end(),
                              [page](const Entry& e) {
                                return IsAliveLocked(e.item, e.serial) && Impl(e.item)->page == page;
                              }),
               g_list.end());
  ResetCursorLocked();
}

void DecoderPageOpened() {
  Guard lock;
  ++g_pages;
}

void DecoderPageClosed() {
  bool end;
  {
    Guard lock;
    end = --g_pages == 0 && !g_run && g_holds == 0;
  }
  if (end) EndWorkers(kWorkerJoinMs);
}

void DecoderItemCleared() {
  ResetCursorLocked();
  if (g_run) Wake();
}
}  // namespace vxg

HRESULT CThumbnailPage::DecodeStart(CSize size, VXDECODECALLBACK pfnCallback, void* pContext) {
  if (!pfnCallback || size.cx <= 0 || size.cy <= 0) return E_INVALIDARG;
  // Favourites are read afresh once per run.
  ForgetFavouriteSnapshots();
  Guard lock;
  StopLocked();
  const int workers = WorkerCount();
  if (!EnsureWorkersLocked(workers)) return HRESULT_FROM_WIN32(GetLastError());
  Run* run = new Run;
  run->size = SIZE{size.cx, size.cy};
  run->callback = pfnCallback;
  run->context = pContext;
  run->workers = workers;
  g_run = run;
  ResetCursorLocked();
  Wake();
  return S_OK;
}

HRESULT CThumbnailPage::DecodeStop() {
  bool end;
  {
    Guard lock;
    if (!g_run) {
      ReapLocked();
      return S_FALSE;
    }
    StopLocked();
    end = g_pages == 0 && g_holds == 0;
  }
  if (end) EndWorkers(kWorkerJoinMs);
  return S_OK;
}

void CThumbnailPage::HoldDecodeThreads(BOOL bHold) {
  bool end;
  {
    Guard lock;
    if (bHold) {
      ++g_holds;
      return;
    }
    if (g_holds > 0) --g_holds;
    end = g_holds == 0 && g_pages == 0 && !g_run;
  }
  if (end) EndWorkers(kWorkerJoinMs);
}

void CThumbnailPage::SetDecodeThreadCount(int nThreads) {
  Guard lock;
  g_workers = nThreads < 0 ? 0 : nThreads > 16 ? 16 : nThreads;
}

int CThumbnailPage::GetDecodeThreadCount() {
  Guard lock;
  return WorkerCount();
}

BOOL CThumbnailPage::IsDecoding() {
  Guard lock;
  return g_run != nullptr;
}

void CThumbnailPage::SetDecodeCount(int nCount) {
  Guard lock;
  if (g_count == nCount) return;
  g_count = nCount;
  ResetCursorLocked();
  Wake();
}

void CThumbnailPage::SetDecodeStartPos(int nPos) {
  Guard lock;
  if (g_start == nPos) return;
  g_start = nPos;
  ResetCursorLocked();
  Wake();
}

void CThumbnailPage::SetDecodeTumbnail(CThumbnail* pThumbnail) {
  if (!pThumbnail) return;
  Guard lock;
  if (!IsAliveLocked(pThumbnail, 0)) return;
  // Items arrive one by one while a folder's heads are read: the rest's search goes on
  // from the new item rather than from the start (which made the whole run quadratic).
  size_t ws, we;
  WindowLocked(&ws, &we);
  const size_t at = g_list.size() >= we ? g_list.size() - we : 0;
  g_list.push_back(Entry{pThumbnail, Impl(pThumbnail)->serial});
  g_cursor = std::min(g_cursor, at);
  Wake();
}

void CThumbnailPage::SetDecodeTumbnailList(CThumbnail* const* ppItems, int nCount) {
  Guard lock;
  g_list.clear();
  for (int i = 0; ppItems && i < nCount; ++i)
    if (ppItems[i] && IsAliveLocked(ppItems[i], 0)) g_list.push_back(Entry{ppItems[i], Impl(ppItems[i])->serial});
  ResetCursorLocked();
  Wake();
}

void CThumbnailPage::SetDecodeTumbnailList(const std::list<CThumbnail*>& items) {
  std::vector<CThumbnail*> v(items.begin(), items.end());
  SetDecodeTumbnailList(v);
}

void CThumbnailPage::SetDecodeTumbnailList(const std::vector<CThumbnail*>& items) {
  SetDecodeTumbnailList(items.data(), int(items.size()));
}

void CThumbnailPage::ClearDecodeThumbnailList() {
  Guard lock;
  g_list.clear();
  ResetCursorLocked();
}

int CThumbnailPage::GetDecodeListSize() {
  Guard lock;
  return int(g_list.size());
}
