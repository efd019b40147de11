// The marks of this process's own messages: sends under way and posted records.
#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

#include "ownmessage_core.h"

namespace {

using kitlib::IsOwnSend;
using kitlib::OwnSend;

const UINT kMessage = WM_APP + 77;

TEST(OwnSend, MarksExactlyItsValuesWhileItRuns) {
  int target = 0;
  const WPARAM w = reinterpret_cast<WPARAM>(&target);
  EXPECT_FALSE(IsOwnSend(kMessage, w, 0));
  {
    OwnSend outer(kMessage, w, 0);
    EXPECT_TRUE(IsOwnSend(kMessage, w, 0));
    EXPECT_FALSE(IsOwnSend(kMessage + 1, w, 0));  // another message
    EXPECT_FALSE(IsOwnSend(kMessage, w + 1, 0));  // another value
    EXPECT_FALSE(IsOwnSend(kMessage, w, 1));
    {
      OwnSend inner(kMessage, w, 0);  // the same again, nested
    }
    EXPECT_TRUE(IsOwnSend(kMessage, w, 0)) << "the outer send still runs";
    // Seen from another thread of the process too: the receiver may run there.
    bool seen = false;
    std::thread([&] { seen = IsOwnSend(kMessage, w, 0); }).join();
    EXPECT_TRUE(seen);
  }
  EXPECT_FALSE(IsOwnSend(kMessage, w, 0));
}

int g_freed = 0;
void CountFree(void* p) {
  ++g_freed;
  delete static_cast<int*>(p);
}

HWND NewWindow() {
  return CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TEST(PostedRecord, TakenOnceByItsWindowAndMessageOnly) {
  HWND a = NewWindow(), b = NewWindow();
  ASSERT_TRUE(a && b);
  int* record = new int(5);
  const WPARAM w = reinterpret_cast<WPARAM>(record);
  ASSERT_TRUE(kitlib::PostRecord(a, kMessage, record, 9, CountFree));
  EXPECT_EQ(kitlib::TakeRecord(b, kMessage, w), nullptr);      // another window
  EXPECT_EQ(kitlib::TakeRecord(a, kMessage + 1, w), nullptr);  // another message
  EXPECT_EQ(kitlib::TakeRecord(a, kMessage, w + 4), nullptr);  // another value
  EXPECT_EQ(kitlib::TakeRecord(a, kMessage, 0), nullptr);
  EXPECT_EQ(kitlib::TakeRecord(a, kMessage, w), record);
  EXPECT_EQ(kitlib::TakeRecord(a, kMessage, w), nullptr) << "a record is taken once";
  delete record;
  MSG msg;
  while (PeekMessageA(&msg, a, 0, 0, PM_REMOVE)) {
  }
  DestroyWindow(a);
  DestroyWindow(b);
}

TEST(PostedRecord, AFailedPostLeavesTheRecordToTheCallerAndAGoneWindowsRecordsAreFreed) {
  HWND gone = NewWindow();
  DestroyWindow(gone);
  int* kept = new int(1);
  EXPECT_FALSE(kitlib::PostRecord(gone, kMessage, kept, 0, CountFree));
  EXPECT_EQ(kitlib::WaitingRecords(gone), 0u);
  delete kept;

  HWND w = NewWindow();
  g_freed = 0;
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(kitlib::PostRecord(w, kMessage, new int(i), 0, CountFree));
  EXPECT_EQ(kitlib::WaitingRecords(w), 3u);
  kitlib::DropRecords(w);
  EXPECT_EQ(g_freed, 3);
  EXPECT_EQ(kitlib::WaitingRecords(w), 0u);
  DestroyWindow(w);
}

}  // namespace
