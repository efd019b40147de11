// Messages whose parameters point into this process. Another program can post or send any
// number with any values to our windows; what only this process can do is mark its own
// sends while they run and keep a list of the records it posts. The receivers ask here.
#pragma once
#include <windows.h>

namespace kitlib {

// Marks a send of this process for as long as it lives; the receiver may be on another
// thread of it, and may pass the message on to another of our windows as it came.
class OwnSend {
 public:
  OwnSend(UINT message, WPARAM wParam, LPARAM lParam);
  ~OwnSend();
  OwnSend(const OwnSend&) = delete;
  OwnSend& operator=(const OwnSend&) = delete;

 private:
  UINT m_message;
  WPARAM m_wParam;
  LPARAM m_lParam;
};

// True while a send of exactly these values, marked by OwnSend, is under way.
bool IsOwnSend(UINT message, WPARAM wParam, LPARAM lParam);

// A heap record posted as wParam: listed before the post (the receiver may run at once on
// another thread), unlisted again when the post fails. False then, and the caller still
// owns the record; otherwise the receiver does, through TakeRecord.
typedef void (*RecordFree)(void* record);
bool PostRecord(HWND window, UINT message, void* record, LPARAM lParam, RecordFree free);
// The record when wParam is one posted to window with message and not taken yet (the
// caller frees it); null for anything else, which the receiver must not touch.
void* TakeRecord(HWND window, UINT message, WPARAM wParam);
// Frees the records posted to window that it never took: its window is going.
void DropRecords(HWND window);
// How many records wait for window (null: for all windows).
size_t WaitingRecords(HWND window);

}  // namespace kitlib
