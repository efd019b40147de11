// The decoder: one thread at a time makes the pictures of the decode list, the window
// [start, start + count) first, and calls the caller back per item.
#include "internal.h"

#include <algorithm>

using namespace vxg;

namespace {

struct Run {
  HANDLE thread = NULL;
  DWORD threadId = 0;
  bool stop = false;
  bool inCallback = false;
  bool finished = false;
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
std::vector<Run*> g_abandoned;
std::vector<Entry> g_list;
int g_start = 0;
int g_count = 0;
size_t g_cursor = 0;  // how far the rest of the list (outside the window) is known done

HANDLE WakeEvent() {
  static HANDLE h = CreateEventA(NULL, FALSE, FALSE, NULL);
  return h;
}

void Wake() { SetEvent(WakeEvent()); }

// Reaps threads of earlier runs that have ended.
void ReapLocked() {
  for (size_t i = g_abandoned.size(); i-- > 0;) {
    Run* r = g_abandoned[i];
    if (r->finished) {
      CloseHandle(r->thread);
      delete r;
      g_abandoned.erase(g_abandoned.begin() + i);
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
  return IsAliveLocked(e.item, e.serial) && NeedsDecode(Impl(e.item), want);
}

// The next item to decode, under the lock.
CThumbnail* PickLocked(SIZE want) {
  const size_t n = g_list.size();
  size_t ws = size_t(std::min<long long>(std::max(g_start, 0), (long long)n));
  size_t we = g_count > 0 ? std::min(n, ws + size_t(g_count)) : ws;
  for (size_t i = ws; i < we; ++i)
    if (Candidate(i, want)) return g_list[i].item;
  // The rest: from the window's end to the list's end, then from the list's start.
  const size_t after = n - we, total = after + ws;
  for (; g_cursor < total; ++g_cursor) {
    size_t i = g_cursor < after ? we + g_cursor : g_cursor - after;
    if (Candidate(i, want)) return g_list[i].item;
  }
  return nullptr;
}

DWORD WINAPI DecodeThread(LPVOID param) {
  Run* run = static_cast<Run*>(param);
  imaging::ComScope com;
  for (;;) {
    DecodeJob job;
    CThumbnail* item = nullptr;
    uint64_t serial = 0;
    unsigned gen = 0;
    {
      Guard lock;
      if (run->stop) break;
      item = PickLocked(run->size);
      if (item) {
        ThumbImpl* p = Impl(item);
        serial = p->serial;
        gen = p->imageGen;
        job.kind = p->kind;
        job.folderImageType = p->folderImageType;
        job.cx = run->size.cx;
        job.cy = run->size.cy;
        ++p->pins;  // the path is copied under the item's lock below
      }
    }
    if (!item) {
      WaitForSingleObject(WakeEvent(), 200);
      continue;
    }
    ThumbImpl* p = Impl(item);
    EnterCriticalSection(&p->cs);
    job.path = p->path;
    job.wantExif = !p->exifLoaded;
    LeaveCriticalSection(&p->cs);
    {
      Guard lock;
      --p->pins;
    }

    DecodeResult r;
    HRESULT hr = job.path.empty() ? E_FAIL : DecodeForJob(job, &r);
    bool complete = r.complete;

    bool deliver = false;
    {
      Guard lock;
      if (!IsAliveLocked(item, serial) || p->imageGen != gen) continue;  // gone or changed meanwhile
      ++p->pins;
    }
    if (SUCCEEDED(hr)) p->StoreResult(std::move(r));
    {
      Guard lock;
      if (p->imageGen == gen) {
        // A file that can't be decoded at all counts as done too: it is not tried again
        // until its picture is cleared.
        p->decodeState = kDecoded;
        p->decodedBox = SIZE{job.cx, job.cy};
        p->complete = complete || FAILED(hr);
      }
      if (!run->stop && SUCCEEDED(hr)) {
        run->inCallback = true;
        deliver = true;
      } else {
        --p->pins;
      }
    }
    if (deliver) {
      run->callback(item, run->context);
      Guard lock;
      run->inCallback = false;
      --p->pins;
    }
  }
  Guard lock;
  run->finished = true;
  return 0;
}

// Stops the current run; the caller holds the lock. Waits for a running callback unless
// called from the decoder thread itself.
void StopLocked() {
  Run* run = g_run;
  if (!run) return;
  g_run = nullptr;
  run->stop = true;
  Wake();
  if (run->threadId != GetCurrentThreadId()) {
    while (run->inCallback) {
      Unlock();
      WaitPumping(NULL, 1);
      Lock();
    }
  }
  g_abandoned.push_back(run);
  ReapLocked();
}

void ResetCursorLocked() { g_cursor = 0; }

}  // namespace

namespace vxg {
void DecoderForgetPage(const CThumbnailPage* page) {
  Guard lock;
  g_list.erase(std::remove_if(g_list.begin(), g_list.end(),
                              [page](const Entry& e) {
                                return IsAliveLocked(e.item, e.serial) && Impl(e.item)->page == page;
                              }),
               g_list.end());
  ResetCursorLocked();
}

void DecoderItemCleared() {
  ResetCursorLocked();
  if (g_run) Wake();
}
}  // namespace vxg

HRESULT CThumbnailPage::DecodeStart(CSize size, VXDECODECALLBACK pfnCallback, void* pContext) {
  if (!pfnCallback || size.cx <= 0 || size.cy <= 0) return E_INVALIDARG;
  Guard lock;
  StopLocked();
  Run* run = new Run;
  run->size = SIZE{size.cx, size.cy};
  run->callback = pfnCallback;
  run->context = pContext;
  run->thread = CreateThread(NULL, 0, DecodeThread, run, CREATE_SUSPENDED, &run->threadId);
  if (!run->thread) {
    delete run;
    return HRESULT_FROM_WIN32(GetLastError());
  }
  // Below the user-interface thread, so that painting keeps up while pictures are made.
  SetThreadPriority(run->thread, THREAD_PRIORITY_BELOW_NORMAL);
  g_run = run;
  ResetCursorLocked();
  ResumeThread(run->thread);
  return S_OK;
}

HRESULT CThumbnailPage::DecodeStop() {
  Guard lock;
  if (!g_run) {
    ReapLocked();
    return S_FALSE;
  }
  StopLocked();
  return S_OK;
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
  g_list.push_back(Entry{pThumbnail, Impl(pThumbnail)->serial});
  ResetCursorLocked();
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
