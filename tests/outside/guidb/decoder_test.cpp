// The decoder: real pictures, callbacks on its own thread for every item, the order the
// window asks for, a prompt and final stop, items destroyed while it works.
#include <algorithm>
#include <VxGUIDB.h>
#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <set>
#include <vector>

#include "guidb_fixtures.h"

using namespace guidbtest;

namespace {

struct Calls {
  std::mutex m;
  std::vector<CThumbnail*> items;
  std::set<DWORD> threads;
  bool deadItem = false;
  size_t Count() {
    std::lock_guard<std::mutex> g(m);
    return items.size();
  }
};

void OnDecoded(CThumbnail* t, void* ctx) {
  Calls* c = static_cast<Calls*>(ctx);
  std::lock_guard<std::mutex> g(c->m);
  if (!CThumbnail::CheckThumbnailPointer(t)) c->deadItem = true;
  c->items.push_back(t);
  c->threads.insert(GetCurrentThreadId());
}

bool WaitFor(Calls& c, size_t n, DWORD ms) {
  DWORD start = GetTickCount();
  while (c.Count() < n) {
    if (GetTickCount() - start > ms) return false;
    Sleep(5);
  }
  return true;
}

std::vector<CThumbnail*> Items(CThumbnailPage& p) {
  std::vector<CThumbnail*> v;
  for (int i = 0; i < p.GetCount(); ++i) v.push_back(p.GetAt(i));
  return v;
}

// Six pictures without a thumbnail, each slow enough to decode that a stop can come
// while one is in hand; the scratch folder they are in.
std::string SlowPictures(const char* folder) {
  std::string d = ScratchDir(folder);
  char name[32];
  for (int i = 0; i < 6; ++i) {
    snprintf(name, sizeof(name), "\\big%d.jpg", i);
    CopyFixture("big_nothumb.jpg", d + name);
  }
  return d;
}

// count copies of one picture in a scratch folder of their own, scanned onto page.
std::vector<CThumbnail*> CopiesOnAPage(const char* folder, int count, CThumbnailPage* page) {
  std::string d = ScratchDir(folder);
  char name[32];
  for (int i = 0; i < count; ++i) {
    snprintf(name, sizeof(name), "\\p%02d.jpg", i);
    CopyFixture("plain.jpg", d + name);
  }
  if (page->Add(d.c_str(), FALSE, nullptr, 0) != 0) return {};
  return Items(*page);
}

// Reads a composed thumbnail's pixel (x, y from the top-left) as RGB.
COLORREF PixelAt(const BITMAPINFOHEADER* bih, int x, int y) {
  const BYTE* bits = reinterpret_cast<const BYTE*>(bih) + bih->biSize;
  int stride = ((bih->biWidth * 3) + 3) & ~3;
  int row = bih->biHeight > 0 ? bih->biHeight - 1 - y : y;
  const BYTE* p = bits + row * stride + x * 3;
  return RGB(p[2], p[1], p[0]);
}

bool IsWhite(COLORREF c) { return GetRValue(c) > 245 && GetGValue(c) > 245 && GetBValue(c) > 245; }

class Decoder : public testing::Test {
 protected:
  void TearDown() override {
    CThumbnailPage::DecodeStop();
    CThumbnailPage::ClearDecodeThumbnailList();
    CThumbnailPage::SetDecodeStartPos(0);
    CThumbnailPage::SetDecodeCount(0);
  }
};

TEST_F(Decoder, EveryItemOnceOnTheDecoderThread) {
  std::string d = ScratchDir("every");
  CopyFixture("exif_full.jpg", d + "\\a.jpg");
  CopyFixture("exif_nothumb.jpg", d + "\\b.jpg");
  CopyFixture("plain.jpg", d + "\\c.jpg");
  CopyFixture("image.png", d + "\\d.png");
  CopyFixture("image.gif", d + "\\e.gif");
  CopyFixture("exif.tif", d + "\\f.tif");
  CopyFixture("tone.mp3", d + "\\g.mp3");
  testsupport::WriteWholeFile(d + "\\h.txt", "text");
  CopyFixture("not_image.jpg", d + "\\i.jpg");
  CreateDirectoryA((d + "\\j").c_str(), nullptr);
  CopyFixture("plain.jpg", d + "\\j\\inside.jpg");
  CThumbnailPage page(VXPAGE_FOLDER, 1);
  ASSERT_EQ(0, page.Add(d.c_str(), TRUE, nullptr, 0));
  ASSERT_EQ(10, page.GetCount());

  Calls calls;
  CThumbnailPage::SetDecodeTumbnailList(Items(page));
  CThumbnailPage::SetDecodeThreadCount(3);
  ASSERT_EQ(S_OK, CThumbnailPage::DecodeStart(CSize(160, 160), OnDecoded, &calls));
  CThumbnailPage::SetDecodeThreadCount(0);
  EXPECT_TRUE(CThumbnailPage::IsDecoding());
  ASSERT_TRUE(WaitFor(calls, 10, 30000));
  Sleep(50);
  CThumbnailPage::DecodeStop();
  EXPECT_FALSE(CThumbnailPage::IsDecoding());

  EXPECT_EQ(10u, calls.items.size());
  EXPECT_EQ(10u, std::set<CThumbnail*>(calls.items.begin(), calls.items.end()).size());
  // Decoder threads only (up to the three asked for), never the caller's.
  ASSERT_GE(calls.threads.size(), 1u);
  EXPECT_LE(calls.threads.size(), 3u);
  EXPECT_EQ(0u, calls.threads.count(GetCurrentThreadId()));
  EXPECT_FALSE(calls.deadItem);

  const std::map<std::string, int> types = {
      {"a.jpg", VXIMAGE_PICTURE}, {"b.jpg", VXIMAGE_PICTURE}, {"c.jpg", VXIMAGE_PICTURE}, {"d.png", VXIMAGE_BITMAP},
      {"e.gif", VXIMAGE_BITMAP},  {"f.tif", VXIMAGE_PICTURE}, {"g.mp3", VXIMAGE_ICON},    {"h.txt", VXIMAGE_ICON},
      {"i.jpg", VXIMAGE_ICON},    {"j", VXIMAGE_FOLDER}};
  for (CThumbnail* t : Items(page)) {
    std::string name = (LPCSTR)t->GetFileName();
    SCOPED_TRACE(name);
    EXPECT_TRUE(t->IsDecoded());
    EXPECT_EQ(types.at(name), t->GetDecodeImageType());
    t->ThreadLock();
    BITMAPINFOHEADER* bih = t->GetThumbnail(160, 160);
    ASSERT_NE(nullptr, bih);
    EXPECT_EQ(160, bih->biWidth);
    EXPECT_EQ(160, abs(bih->biHeight));
    EXPECT_EQ(24, bih->biBitCount);
    t->ThreadUnlock();
  }
}

TEST_F(Decoder, TheWindowComesFirstThenTheRest) {
  CThumbnailPage page(VXPAGE_FOLDER, 1);
  std::vector<CThumbnail*> items = CopiesOnAPage("window", 30, &page);
  ASSERT_EQ(size_t(30), items.size());
  CThumbnailPage::ClearDecodeThumbnailList();
  for (CThumbnail* t : items) CThumbnailPage::SetDecodeTumbnail(t);
  EXPECT_EQ(30, CThumbnailPage::GetDecodeListSize());
  CThumbnailPage::SetDecodeStartPos(20);
  CThumbnailPage::SetDecodeCount(5);
  Calls calls;
  // One thread: the order of the callbacks is the order of the work.
  CThumbnailPage::SetDecodeThreadCount(1);
  ASSERT_EQ(S_OK, CThumbnailPage::DecodeStart(CSize(80, 80), OnDecoded, &calls));
  CThumbnailPage::SetDecodeThreadCount(0);
  ASSERT_TRUE(WaitFor(calls, 30, 30000));
  CThumbnailPage::DecodeStop();
  std::vector<int> order;
  for (CThumbnail* t : calls.items) order.push_back(page.IndexOf(t));
  std::vector<int> want;
  for (int i = 20; i < 30; ++i) want.push_back(i);  // the window, then on from its end
  for (int i = 0; i < 20; ++i) want.push_back(i);   // then from the list's start
  EXPECT_EQ(want, order);
}

TEST_F(Decoder, AppendedItemsWakeTheDecoder) {
  std::string d = ScratchDir("append");
  CopyFixture("plain.jpg", d + "\\1.jpg");
  CopyFixture("image.png", d + "\\2.png");
  CThumbnailPage page(VXPAGE_FOLDER, 1);
  ASSERT_EQ(0, page.Add(d.c_str(), FALSE, nullptr, 0));
  Calls calls;
  CThumbnailPage::ClearDecodeThumbnailList();
  ASSERT_EQ(S_OK, CThumbnailPage::DecodeStart(CSize(80, 80), OnDecoded, &calls));
  Sleep(50);
  EXPECT_EQ(0u, calls.Count());
  CThumbnailPage::SetDecodeTumbnail(page.GetAt(1));
  ASSERT_TRUE(WaitFor(calls, 1, 10000));
  EXPECT_EQ(page.GetAt(1), calls.items[0]);
  // A picture dropped (its file changed) is made again.
  page.GetAt(1)->ClearImage(TRUE);
  ASSERT_TRUE(WaitFor(calls, 2, 10000));
  EXPECT_EQ(page.GetAt(1), calls.items[1]);
}

TEST_F(Decoder, AStoppedPageLeavesTheDecodeList) {
  std::string d = ScratchDir("forget");
  CopyFixture("plain.jpg", d + "\\1.jpg");
  CopyFixture("image.png", d + "\\2.png");
  CThumbnailPage a(VXPAGE_FOLDER, 1), b(VXPAGE_FOLDER, 2);
  ASSERT_EQ(0, a.Add(d.c_str(), FALSE, nullptr, 0));
  ASSERT_EQ(0, b.Add(d.c_str(), FALSE, nullptr, 0));
  std::vector<CThumbnail*> both = Items(a);
  for (CThumbnail* t : Items(b)) both.push_back(t);
  CThumbnailPage::SetDecodeTumbnailList(both);
  EXPECT_EQ(4, CThumbnailPage::GetDecodeListSize());
  a.Stop();
  EXPECT_EQ(2, CThumbnailPage::GetDecodeListSize());
  Calls calls;
  ASSERT_EQ(S_OK, CThumbnailPage::DecodeStart(CSize(80, 80), OnDecoded, &calls));
  ASSERT_TRUE(WaitFor(calls, 2, 10000));
  for (CThumbnail* t : calls.items) EXPECT_EQ(&b, t->GetPage());
}

TEST_F(Decoder, StopIsPromptAndFinal) {
  std::string d = SlowPictures("stop");
  CThumbnailPage page(VXPAGE_FOLDER, 1);
  ASSERT_EQ(0, page.Add(d.c_str(), FALSE, nullptr, 0));
  Calls calls;
  CThumbnailPage::SetDecodeTumbnailList(Items(page));
  CThumbnailPage::SetDecodeThreadCount(3);
  LARGE_INTEGER f, started, a, b;
  QueryPerformanceFrequency(&f);
  auto msSince = [&](const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    return double(to.QuadPart - from.QuadPart) * 1000.0 / double(f.QuadPart);
  };
  QueryPerformanceCounter(&started);
  ASSERT_EQ(S_OK, CThumbnailPage::DecodeStart(CSize(160, 160), OnDecoded, &calls));
  CThumbnailPage::SetDecodeThreadCount(0);
  ASSERT_TRUE(WaitFor(calls, 1, 30000));
  // The decoder is now in the middle of the next big picture. What one big decode took
  // in this run is the yardstick: a loaded machine slows the stop and the decodes alike.
  QueryPerformanceCounter(&a);
  double oneDecode = msSince(started, a);
  EXPECT_EQ(S_OK, CThumbnailPage::DecodeStop());
  QueryPerformanceCounter(&b);
  double ms = msSince(a, b);
  EXPECT_LT(ms, std::max(50.0, oneDecode / 2)) << "DecodeStop waited for a decode (one took " << oneDecode << " ms)";
  size_t atStop = calls.Count();
  // The abandoned decode finishes in the background and stores its picture, silently.
  CThumbnail* second = page.GetAt(1);
  DWORD start = GetTickCount();
  while (!second->IsDecoded() && GetTickCount() - start < 15000) Sleep(10);
  Sleep(100);
  EXPECT_EQ(atStop, calls.Count());

  // Starting again goes on with what is left; nothing is decoded twice.
  ASSERT_EQ(S_OK, CThumbnailPage::DecodeStart(CSize(160, 160), OnDecoded, &calls));
  DWORD t0 = GetTickCount();
  while (GetTickCount() - t0 < 60000) {
    bool all = true;
    for (CThumbnail* t : Items(page)) all = all && t->IsDecoded();
    if (all) break;
    Sleep(20);
  }
  CThumbnailPage::DecodeStop();
  for (CThumbnail* t : Items(page)) EXPECT_TRUE(t->IsDecoded());
  std::set<CThumbnail*> distinct(calls.items.begin(), calls.items.end());
  EXPECT_EQ(calls.items.size(), distinct.size());
  // A full decode of a big picture scales it into the box, keeping its shape.
  CThumbnail* first = page.GetAt(0);
  first->ThreadLock();
  BITMAPINFOHEADER* bih = first->GetThumbnail(160, 160);
  ASSERT_NE(nullptr, bih);
  EXPECT_TRUE(IsWhite(PixelAt(bih, 80, 2)));     // 4:3 picture: bands above and below
  EXPECT_FALSE(IsWhite(PixelAt(bih, 2, 80)));
  first->ThreadUnlock();
  int cx, cy;
  EXPECT_TRUE(first->GetOriginalImageSize(&cx, &cy));
  EXPECT_EQ(4000, cx);
  EXPECT_EQ(3000, cy);
}

TEST_F(Decoder, ItemsDestroyedWhileDecoding) {
  std::string d = ScratchDir("destroy");
  char name[32];
  for (int i = 0; i < 40; ++i) {
    snprintf(name, sizeof(name), "\\d%02d.jpg", i);
    CopyFixture(i % 2 ? "exif_nothumb.jpg" : "exif_full.jpg", d + name);
  }
  Calls calls;
  {
    CThumbnailPage page(VXPAGE_FOLDER, 1);
    ASSERT_EQ(0, page.Add(d.c_str(), FALSE, nullptr, 0));
    CThumbnailPage::SetDecodeTumbnailList(Items(page));
    ASSERT_EQ(S_OK, CThumbnailPage::DecodeStart(CSize(160, 160), OnDecoded, &calls));
    ASSERT_TRUE(WaitFor(calls, 3, 30000));
    for (int i = page.GetCount() - 1; i >= 20; --i) page.Remove(page.GetAt(i));
  }  // the rest go with the page while the decoder runs
  Sleep(200);
  size_t n = calls.Count();
  Sleep(200);
  EXPECT_EQ(n, calls.Count());  // nothing left to decode
  EXPECT_LT(n, 40u);
  EXPECT_FALSE(calls.deadItem);
  CThumbnailPage::DecodeStop();
}

// The workers' life: kept from one run to the next, quiet once a run is stopped, gone with
// the last page.
struct ThreadsSeen {
  std::mutex m;
  std::vector<CThumbnail*> items;
  std::map<DWORD, HANDLE> threads;  // opened while they ran, so that their end shows
  ~ThreadsSeen() {
    for (auto& t : threads) CloseHandle(t.second);
  }
  size_t Count() {
    std::lock_guard<std::mutex> g(m);
    return items.size();
  }
  std::set<DWORD> Ids() {
    std::lock_guard<std::mutex> g(m);
    std::set<DWORD> ids;
    for (auto& t : threads) ids.insert(t.first);
    return ids;
  }
};

void OnDecodedSeen(CThumbnail* t, void* ctx) {
  ThreadsSeen* s = static_cast<ThreadsSeen*>(ctx);
  std::lock_guard<std::mutex> g(s->m);
  s->items.push_back(t);
  DWORD id = GetCurrentThreadId();
  if (!s->threads.count(id)) s->threads[id] = OpenThread(SYNCHRONIZE, FALSE, id);
}

bool WaitForSeen(ThreadsSeen& s, size_t n, DWORD ms) {
  DWORD start = GetTickCount();
  while (s.Count() < n) {
    if (GetTickCount() - start > ms) return false;
    Sleep(5);
  }
  return true;
}

bool AllDecoded(CThumbnailPage& page, DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    bool all = true;
    for (CThumbnail* t : Items(page)) all = all && t->IsDecoded();
    if (all) return true;
    if (GetTickCount() - start > ms) return false;
    Sleep(10);
  }
}

TEST_F(Decoder, AStoppedRunHandsNothingBackAndTheNextGoesOnOnTheSameWorker) {
  std::string d = SlowPictures("rerun");
  CThumbnailPage page(VXPAGE_FOLDER, 1);
  ASSERT_EQ(0, page.Add(d.c_str(), FALSE, nullptr, 0));
  const std::vector<CThumbnail*> all = Items(page);
  ASSERT_EQ(6u, all.size());
  // The first run gets half of the pictures, so that the second has work left however far
  // the first got before its stop.
  CThumbnailPage::SetDecodeTumbnailList(std::vector<CThumbnail*>(all.begin(), all.begin() + 3));
  CThumbnailPage::SetDecodeThreadCount(1);
  ThreadsSeen first, second;
  ASSERT_EQ(S_OK, CThumbnailPage::DecodeStart(CSize(160, 160), OnDecodedSeen, &first));
  ASSERT_TRUE(WaitForSeen(first, 1, 30000));
  // Stopped, mostly while the worker is in the middle of the next picture; started again
  // at once with every picture.
  EXPECT_EQ(S_OK, CThumbnailPage::DecodeStop());
  const size_t atStop = first.Count();
  CThumbnailPage::SetDecodeTumbnailList(all);
  ASSERT_EQ(S_OK, CThumbnailPage::DecodeStart(CSize(160, 160), OnDecodedSeen, &second));
  CThumbnailPage::SetDecodeThreadCount(0);
  ASSERT_TRUE(AllDecoded(page, 60000));
  CThumbnailPage::DecodeStop();

  EXPECT_EQ(atStop, first.Count());  // the picture in hand at the stop came back to nobody
  std::set<CThumbnail*> once(first.items.begin(), first.items.end());
  for (CThumbnail* t : second.items) EXPECT_TRUE(once.insert(t).second) << "handed back twice";
  EXPECT_GE(once.size() + 1, size_t(page.GetCount()));
  // One worker served both runs: no thread was started for the second.
  ASSERT_EQ(1u, first.Ids().size());
  EXPECT_EQ(first.Ids(), second.Ids());
}

TEST_F(Decoder, NoWorkerOutlivesTheLastPageAndANewPageGetsThemAgain) {
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ThreadsSeen seen;
    {
      CThumbnailPage page(VXPAGE_FOLDER, 1);
      std::vector<CThumbnail*> items = CopiesOnAPage(round ? "lastpage2" : "lastpage1", 8, &page);
      ASSERT_EQ(8u, items.size());
      CThumbnailPage::SetDecodeTumbnailList(items);
      CThumbnailPage::SetDecodeThreadCount(2);
      ASSERT_EQ(S_OK, CThumbnailPage::DecodeStart(CSize(80, 80), OnDecodedSeen, &seen));
      CThumbnailPage::SetDecodeThreadCount(0);
      ASSERT_TRUE(WaitForSeen(seen, 8, 30000));
      CThumbnailPage::DecodeStop();
      // A page left: the workers stay for the next run.
      std::lock_guard<std::mutex> g(seen.m);
      for (auto& t : seen.threads) EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(t.second, 0));
    }
    // The last page gone with no run: its end waited for every worker to end.
    std::lock_guard<std::mutex> g(seen.m);
    ASSERT_FALSE(seen.threads.empty());
    for (auto& t : seen.threads) EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(t.second, 0)) << t.first;
  }
}

// A change of folder lets the old pages go before the new ones come: held, the workers
// stay through it and serve the new page; the hold's release with no page left ends them.
TEST_F(Decoder, HeldWorkersOutliveTheirPagesUntilReleased) {
  ThreadsSeen before, after;
  CThumbnailPage::HoldDecodeThreads(TRUE);
  {
    CThumbnailPage page(VXPAGE_FOLDER, 1);
    std::vector<CThumbnail*> items = CopiesOnAPage("held1", 4, &page);
    ASSERT_EQ(4u, items.size());
    CThumbnailPage::SetDecodeTumbnailList(items);
    CThumbnailPage::SetDecodeThreadCount(1);
    ASSERT_EQ(S_OK, CThumbnailPage::DecodeStart(CSize(80, 80), OnDecodedSeen, &before));
    ASSERT_TRUE(WaitForSeen(before, 4, 30000));
    CThumbnailPage::DecodeStop();
  }
  {
    std::lock_guard<std::mutex> g(before.m);
    ASSERT_EQ(1u, before.threads.size());
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(before.threads.begin()->second, 0)) << "ended with its page";
  }
  {
    CThumbnailPage page(VXPAGE_FOLDER, 1);
    std::vector<CThumbnail*> items = CopiesOnAPage("held2", 4, &page);
    CThumbnailPage::SetDecodeTumbnailList(items);
    ASSERT_EQ(S_OK, CThumbnailPage::DecodeStart(CSize(80, 80), OnDecodedSeen, &after));
    CThumbnailPage::SetDecodeThreadCount(0);
    ASSERT_TRUE(WaitForSeen(after, 4, 30000));
    CThumbnailPage::DecodeStop();
    EXPECT_EQ(before.Ids(), after.Ids());  // no thread started for the new page
  }
  // Still held: the second page's end left the worker too; the release ends it.
  std::lock_guard<std::mutex> g(before.m);
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(before.threads.begin()->second, 0));
  CThumbnailPage::HoldDecodeThreads(FALSE);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(before.threads.begin()->second, 0));
}

// Without a count set, the decoders follow the processors this process may run on (one
// left to the window's thread, at most four), not the machine's.
TEST(DecoderCount, FollowsTheProcessorsThisProcessMayUse) {
  DWORD_PTR mine = 0, system = 0;
  ASSERT_TRUE(GetProcessAffinityMask(GetCurrentProcess(), &mine, &system));
  CThumbnailPage::SetDecodeThreadCount(0);
  struct {
    int processors, decoders;
  } cases[] = {{1, 1}, {2, 1}, {3, 2}, {5, 4}, {6, 4}};
  for (const auto& c : cases) {
    // The lowest processors the system has, as many as the case asks.
    DWORD_PTR mask = 0;
    int n = 0;
    for (DWORD_PTR bit = 1; bit && n < c.processors; bit <<= 1)
      if (system & bit) mask |= bit, ++n;
    if (n < c.processors) continue;  // a smaller machine
    ASSERT_TRUE(SetProcessAffinityMask(GetCurrentProcess(), mask)) << c.processors;
    EXPECT_EQ(c.decoders, CThumbnailPage::GetDecodeThreadCount()) << c.processors << " processors";
  }
  SetProcessAffinityMask(GetCurrentProcess(), mine);
  CThumbnailPage::SetDecodeThreadCount(2);
  EXPECT_EQ(2, CThumbnailPage::GetDecodeThreadCount());
  CThumbnailPage::SetDecodeThreadCount(0);
}

TEST(DecodeNow, EmbeddedThumbnailsAndDecodedPictures) {
  struct {
    const char* file;
    int type;
    bool portrait;  // shown upright taller than wide
  } cases[] = {
      {"exif_full.jpg", VXIMAGE_PICTURE, true},    // embedded thumbnail, orientation 6 applied
      {"exif_nothumb.jpg", VXIMAGE_PICTURE, false},  // decoded and scaled down
      {"exif_south_west.jpg", VXIMAGE_PICTURE, true},
      {"image.png", VXIMAGE_BITMAP, false},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.file);
    CThumbnail t(Fixture(c.file).c_str());
    EXPECT_FALSE(t.IsDecoded());
    t.ThreadLock();
    EXPECT_EQ(nullptr, t.GetThumbnail(160, 160));
    t.ThreadUnlock();
    EXPECT_EQ(E_PENDING, t.ScaleImage(120, 90, 120, 90));
    t.SetDecodeSize(160, 160);
    ASSERT_EQ(S_OK, t.DecodeThumbnail());
    EXPECT_EQ(c.type, t.GetDecodeImageType());
    t.ThreadLock();
    BITMAPINFOHEADER* bih = t.GetThumbnail(160, 160);
    ASSERT_NE(nullptr, bih);
    EXPECT_EQ(c.portrait, IsWhite(PixelAt(bih, 2, 80)));
    EXPECT_EQ(c.portrait, !IsWhite(PixelAt(bih, 80, 2)));
    BITMAPINFOHEADER* small = t.GetThumbnail(80, 60);
    ASSERT_NE(nullptr, small);
    EXPECT_EQ(80, small->biWidth);
    EXPECT_EQ(60, abs(small->biHeight));
    t.ThreadUnlock();
    EXPECT_EQ(S_OK, t.ScaleImage(120, 90, 120, 90));
    t.ClearImage();
    EXPECT_FALSE(t.IsDecoded());
    EXPECT_EQ(VXIMAGE_NONE, t.GetDecodeImageType());
  }
  // A caller can stop the decode before it starts.
  CThumbnail t(Fixture("plain.jpg").c_str());
  EXPECT_EQ(E_ABORT, t.DecodeThumbnail([](void*) { return 0; }, nullptr));
  EXPECT_FALSE(t.IsDecoded());
}

// A TIFF whose first directory lies past its end (the decoder seeks there and reads on):
// the item shows its kind's icon, and the process goes on.
TEST(DecodeNow, ATiffThatPointsPastItsEndShowsItsIcon) {
  CThumbnail t(Fixture("ifd_past_end.tif").c_str());
  t.SetDecodeSize(160, 160);
  EXPECT_EQ(S_OK, t.DecodeThumbnail());
  EXPECT_EQ(VXIMAGE_ICON, t.GetDecodeImageType());
}

TEST(DecodeNow, MoviesFoldersAndFilters) {
  CThumbnail movie(Fixture("movie.mp4").c_str());
  DWORD start = GetTickCount();
  ASSERT_EQ(S_OK, movie.DecodeThumbnail());
  EXPECT_LT(GetTickCount() - start, 8000u);
  EXPECT_EQ(VXIMAGE_MOVIE, movie.GetDecodeImageType());
  int cx, cy;
  EXPECT_TRUE(movie.GetOriginalImageSize(&cx, &cy));
  EXPECT_EQ(640, cx);
  // An AVCHD scene without a ".tmb" shows a frame of its own (red for its first second).
  std::string scene = ScratchDir("scene") + "\\00000.MTS";
  CopyFixture("colours.mts", scene);
  CThumbnail avchd(scene.c_str());
  ASSERT_EQ(S_OK, avchd.DecodeThumbnail());
  EXPECT_EQ(VXIMAGE_MOVIE, avchd.GetDecodeImageType());
  EXPECT_TRUE(avchd.GetOriginalImageSize(&cx, &cy));
  EXPECT_EQ(320, cx);
  EXPECT_EQ(240, cy);
  avchd.ThreadLock();
  BITMAPINFOHEADER* bih = avchd.GetThumbnail(160, 120);
  ASSERT_NE(nullptr, bih);
  COLORREF middle = PixelAt(bih, 80, 60);
  EXPECT_GT(GetRValue(middle), 200);
  EXPECT_LT(GetBValue(middle), 60);
  avchd.ThreadUnlock();

  std::string d = ScratchDir("previews");
  CreateDirectoryA((d + "\\pics").c_str(), nullptr);
  CreateDirectoryA((d + "\\empty").c_str(), nullptr);
  CopyFixture("plain.jpg", d + "\\pics\\p.jpg");
  CThumbnail pics((d + "\\pics").c_str()), empty((d + "\\empty").c_str());
  ASSERT_EQ(S_OK, pics.DecodeThumbnail());
  EXPECT_EQ(VXIMAGE_FOLDER, pics.GetDecodeImageType());
  ASSERT_EQ(S_OK, empty.DecodeThumbnail());
  EXPECT_EQ(VXIMAGE_ICON, empty.GetDecodeImageType());
  // Only movies may preview the folder now: it shows its icon.
  pics.SetFolderImageType(VXKIND_MOVIE);
  EXPECT_FALSE(pics.IsDecoded());
  ASSERT_EQ(S_OK, pics.DecodeThumbnail());
  EXPECT_EQ(VXIMAGE_ICON, pics.GetDecodeImageType());
}

}  // namespace

TEST_F(Decoder, PixelsStayUnderTheBudgetFarthestGoFirst) {
  CThumbnailPage page(VXPAGE_FOLDER, 1);
  std::vector<CThumbnail*> items = CopiesOnAPage("budget", 40, &page);
  ASSERT_EQ(size_t(40), items.size());
  // One picture at 160 x 160 is 76,800 bytes; room for about ten of them.
  const ULONGLONG budget = 10 * 160 * 160 * 3;
  const ULONGLONG before = CThumbnailPage::GetPixelBytes();
  CThumbnailPage::SetPixelBudget(before + budget);
  CThumbnailPage::SetDecodeTumbnailList(items);
  CThumbnailPage::SetDecodeStartPos(0);
  CThumbnailPage::SetDecodeCount(4);
  Calls calls;
  ASSERT_EQ(S_OK, CThumbnailPage::DecodeStart(CSize(160, 160), OnDecoded, &calls));
  ASSERT_TRUE(WaitFor(calls, 4, 30000));
  Sleep(500);  // the rest goes on while there is room, then stops
  EXPECT_LE(CThumbnailPage::GetPixelBytes(), before + budget);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(items[i]->IsDecoded()) << i;
  EXPECT_FALSE(items[39]->IsDecoded());
  // The window moves to the end: its pictures are made, the farthest (the start) go.
  CThumbnailPage::SetDecodeStartPos(32);
  CThumbnailPage::SetDecodeCount(8);
  // Several threads finish the window's pictures in any order, and a woken decoder
  // thread gives up the farthest pictures afterwards: wait for both (bounded).
  auto settled = [&] {
    for (int i = 32; i < 40; ++i)
      if (!items[i]->IsDecoded()) return false;
    return !items[0]->IsDecoded() && CThumbnailPage::GetPixelBytes() <= before + budget;
  };
  DWORD start = GetTickCount();
  while (!settled() && GetTickCount() - start < 30000) Sleep(20);
  CThumbnailPage::DecodeStop();
  for (int i = 32; i < 40; ++i) EXPECT_TRUE(items[i]->IsDecoded()) << i;
  EXPECT_FALSE(items[0]->IsDecoded());
  EXPECT_LE(CThumbnailPage::GetPixelBytes(), before + budget);
  CThumbnailPage::SetPixelBudget(0);
}

// The budget holds at every moment: a picture decoded on the caller's thread, and a
// picture composed for a view, find room before they are kept (with no decoder running
// to trim afterwards), the farthest from the window giving theirs up.
TEST_F(Decoder, PicturesFindRoomBeforeTheyAreKept) {
  CThumbnailPage page(VXPAGE_FOLDER, 1);
  std::vector<CThumbnail*> items = CopiesOnAPage("room", 12, &page);
  ASSERT_EQ(size_t(12), items.size());
  CThumbnailPage::SetDecodeTumbnailList(items);
  CThumbnailPage::SetDecodeStartPos(0);
  CThumbnailPage::SetDecodeCount(2);
  const ULONGLONG before = CThumbnailPage::GetPixelBytes();
  ASSERT_EQ(S_OK, items[0]->DecodeThumbnail());
  const ULONGLONG one = CThumbnailPage::GetPixelBytes() - before;
  ASSERT_GT(one, 0u);
  const ULONGLONG budget = before + 5 * one + one / 2;
  CThumbnailPage::SetPixelBudget(budget);
  for (size_t i = 1; i < items.size(); ++i) {
    ASSERT_EQ(S_OK, items[i]->DecodeThumbnail()) << i;
    EXPECT_LE(CThumbnailPage::GetPixelBytes(), budget) << i;
  }
  // The window's pictures stayed; the newest is there; some far ones went.
  EXPECT_TRUE(items[0]->IsDecoded());
  EXPECT_TRUE(items[1]->IsDecoded());
  EXPECT_TRUE(items[11]->IsDecoded());
  int kept = 0;
  for (CThumbnail* t : items) kept += t->IsDecoded() ? 1 : 0;
  EXPECT_LT(kept, 12);
  // A composed picture counts too: composing one more for the window's first item.
  items[0]->ThreadLock();
  EXPECT_NE(nullptr, items[0]->GetThumbnail(200, 200));
  items[0]->ThreadUnlock();
  EXPECT_LE(CThumbnailPage::GetPixelBytes(), budget);
  CThumbnailPage::ClearDecodeThumbnailList();
  CThumbnailPage::SetPixelBudget(0);
}

// One decode gives the picture, its Exif record and its recording time: with the file
// gone afterwards, the item still answers from what the decode read.
TEST(DecodeNow, OneReadServesTheExifRecordAndTheDate) {
  std::string d = ScratchDir("readonce");
  std::string path = d + "\\once.jpg";
  ASSERT_TRUE(CopyFixture("exif_full.jpg", path));
  CThumbnail t(path.c_str());
  t.SetDecodeSize(160, 160);
  ASSERT_EQ(S_OK, t.DecodeThumbnail());
  ASSERT_TRUE(DeleteFileA(path.c_str()));
  const VXEXIFDATA* ex = t.GetExifData();
  ASSERT_NE(nullptr, ex);
  EXPECT_STREQ("NV-D500", ex->szModel);
  EXPECT_TRUE(ex->bHasThumbnail);
  SYSTEMTIME st;
  ASSERT_TRUE(t.GetRecDate(&st));
  EXPECT_EQ(2026, st.wYear);
  EXPECT_EQ(14, st.wDay);
  EXPECT_EQ(9, st.wHour);
  EXPECT_EQ(12, st.wMinute);
}
