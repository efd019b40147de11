#include "ownmessage_core.h"

#include <algorithm>
#include <vector>

namespace kitlib {

namespace {

struct Sent {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

struct Posted {
  HWND window;
  UINT message;
  void* record;
  RecordFree free;
};

// One lock for both lists: they are short (the sends under way, the posts not handled yet).
SRWLOCK g_lock = SRWLOCK_INIT;
std::vector<Sent>& Sends() {
  static std::vector<Sent>* p = new std::vector<Sent>();  // never destroyed: senders may outlive statics
  return *p;
}
std::vector<Posted>& Posts() {
  static std::vector<Posted>* p = new std::vector<Posted>();
  return *p;
}

struct Exclusive {
  Exclusive() { AcquireSRWLockExclusive(&g_lock); }
  ~Exclusive() { ReleaseSRWLockExclusive(&g_lock); }
};

}  // namespace

OwnSend::OwnSend(UINT message, WPARAM wParam, LPARAM lParam) : m_message(message), m_wParam(wParam), m_lParam(lParam) {
  Exclusive lock;
  Sends().push_back({message, wParam, lParam});
}

OwnSend::~OwnSend() {
  Exclusive lock;
  std::vector<Sent>& v = Sends();
  // The latest of equal ones: sends nest.
  for (size_t i = v.size(); i-- > 0;) {
    if (v[i].message == m_message && v[i].wParam == m_wParam && v[i].lParam == m_lParam) {
      v.erase(v.begin() + (std::ptrdiff_t)i);
      break;
    }
  }
}

bool IsOwnSend(UINT message, WPARAM wParam, LPARAM lParam) {
  Exclusive lock;
  const std::vector<Sent>& v = Sends();
  return std::any_of(v.begin(), v.end(),
                     [&](const Sent& s) { return s.message == message && s.wParam == wParam && s.lParam == lParam; });
}

bool PostRecord(HWND window, UINT message, void* record, LPARAM lParam, RecordFree free) {
  if (!record) return false;
  {
    Exclusive lock;
    Posts().push_back({window, message, record, free});
  }
  if (PostMessageA(window, message, reinterpret_cast<WPARAM>(record), lParam)) return true;
  Exclusive lock;
  std::vector<Posted>& v = Posts();
  v.erase(std::remove_if(v.begin(), v.end(), [record](const Posted& p) { return p.record == record; }), v.end());
  return false;
}

void* TakeRecord(HWND window, UINT message, WPARAM wParam) {
  if (!wParam) return nullptr;
  Exclusive lock;
  std::vector<Posted>& v = Posts();
  for (auto it = v.begin(); it != v.end(); ++it) {
    if (it->window == window && it->message == message && reinterpret_cast<WPARAM>(it->record) == wParam) {
      void* record = it->record;
      v.erase(it);
      return record;
    }
  }
  return nullptr;
}

void DropRecords(HWND window) {
  std::vector<Posted> gone;
  {
    Exclusive lock;
    std::vector<Posted>& v = Posts();
    auto split = std::stable_partition(v.begin(), v.end(), [window](const Posted& p) { return p.window != window; });
    gone.assign(split, v.end());
    v.erase(split, v.end());
  }
  for (const Posted& p : gone)
    if (p.free) p.free(p.record);
}

size_t WaitingRecords(HWND window) {
  Exclusive lock;
  const std::vector<Posted>& v = Posts();
  if (!window) return v.size();
  return (size_t)std::count_if(v.begin(), v.end(), [window](const Posted& p) { return p.window == window; });
}

}  // namespace kitlib
