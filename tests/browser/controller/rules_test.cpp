// The controller's decisions without windows: command intake and queue collapse, the texts
// it writes, list branches, sort order, angles, AVCHD paths and the command table.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include <VxResourceIds.h>

#include "MainWndMessages.h"
#include "TransRules.h"

TEST(TransRules, OnlyTheFourQueuedCodesAreTaken) {
  for (ULONG_PTR code : {1534u, 1536u, 1537u, 1538u}) EXPECT_TRUE(TransIsQueuedCode(code)) << code;
  const ULONG_PTR refused[] = {0, 1533, 1535, 1539, 1565, 1626, (ULONG_PTR)0x100000000ull + 1534};
  for (ULONG_PTR code : refused)
    EXPECT_FALSE(TransIsQueuedCode(code)) << code;
}

TEST(TransRules, QueuedBlockSizeNeverWraps) {
  EXPECT_EQ(TransQueuedBlockSize(0), 13u);
  EXPECT_EQ(TransQueuedBlockSize(100), 113u);
  EXPECT_EQ(TransQueuedBlockSize(0xFFFFFFFFu), 0u);
  EXPECT_EQ(TransQueuedBlockSize(0xFFFFFFFFu - 12), 0u);
}

// Which waiting command a nested replay drops: only a folder change that a newer folder
// change replaces; add, update and rotation notices are never dropped.
TEST(TransRules, NestedReplayDropsOnlySupersededFolderChanges) {
  struct {
    std::vector<DWORD> queue;
    int drop;
  } cases[] = {
      {{}, -1},
      {{1534}, -1},                   // the newest change waits
      {{1534, 1534}, 0},              // the older change goes
      {{1534, 1534, 1534}, 0},        // oldest first, one per nested arrival
      {{1536, 1534}, -1},             // a notice before the only change stays
      {{1536, 1534, 1534}, 1},        // the notice stays, the older change goes
      {{1534, 1537, 1534}, 0},        // the change before the notice is superseded
      {{1537, 1538, 1536}, -1},       // notices only
      {{1534, 1538}, -1},             // a notice after the change does not replace it
  };
  for (auto& c : cases) {
    int got = TransSupersededCommand(c.queue.data(), (int)c.queue.size());
    EXPECT_EQ(got, c.drop) << "queue of " << c.queue.size();
  }
  EXPECT_EQ(TransSupersededCommand(nullptr, 3), -1);
}

TEST(TransRules, CommandPathsMustBeAbsoluteAndShort) {
  std::string long259 = "C:\\" + std::string(256, 'a');
  std::string long260 = long259 + "b";
  struct {
    const char* path;
    bool ok;
  } cases[] = {
      {"C:\\Pictures\\", true}, {"e:\\DCIM", true},     {"\\\\server\\share", true},
      {"", false},              {"Pictures\\a", false}, {"C:Pictures", false},
      {"\\Pictures", false},    {"\\\\\\x", false},     {"1:\\x", false},
      {long259.c_str(), true},  {long260.c_str(), false},
  };
  for (auto& c : cases) EXPECT_EQ(!!TransIsCommandPath(c.path), c.ok) << c.path;
  EXPECT_FALSE(TransIsCommandPath(nullptr));
}

TEST(TransRules, ChangeFolderTextHasOneFinalBackslash) {
  // Byte for byte, with and without the final backslash, and a folder whose last
  // double-byte character ends in the backslash byte (0x5C trail byte of "表").
  const std::string dbcs = "C:\\\x95\x5C";
  struct {
    std::string folder;
    std::string text;
  } cases[] = {
      {"C:\\Pictures", "0|Explorer|1|C:\\Pictures\\||"},
      {"C:\\Pictures\\", "0|Explorer|1|C:\\Pictures\\||"},
      {"C:\\", "0|Explorer|1|C:\\||"},
      {dbcs, "0|Explorer|1|" + dbcs + "\\||"},
      {dbcs + "\\", "0|Explorer|1|" + dbcs + "\\||"},
  };
  for (auto& c : cases) {
    CString s = TransChangeFolderText(0, "Explorer", 1, c.folder.c_str());
    EXPECT_EQ(std::string((LPCSTR)s), c.text);
  }
  EXPECT_EQ(std::string((LPCSTR)TransChangeFolderText(3, "Card", 1, "E:\\DCIM")), "3|Card|1|E:\\DCIM\\||");
}

TEST(TransRules, CopyDataSizesPadAndRoundDown) {
  struct {
    size_t len;
    DWORD buffer, send;
  } cases[] = {{0, 5, 4}, {1, 6, 4}, {3, 8, 8}, {11, 16, 16}, {12, 17, 16}, {23, 28, 28}};
  for (auto& c : cases) {
    EXPECT_EQ(TransCopyDataBufferSize(c.len), c.buffer) << c.len;
    EXPECT_EQ(TransCopyDataSendSize(c.len), c.send) << c.len;
    EXPECT_GT(c.send, c.len);  // the text's last byte and its terminator travel
  }
}

TEST(TransRules, FileListBranchesByFlags) {
  struct {
    long flags;
    BOOL allowAll;
    VXLISTBRANCH branch;
  } cases[] = {
      {(long)0x80000000, TRUE, VXLIST_SELECTED}, {(long)0xA0000000, TRUE, VXLIST_SELECTED},
      {0x20000000, TRUE, VXLIST_MARKED},         {0x20000001, TRUE, VXLIST_MARKED},
      {1, TRUE, VXLIST_ALL},                     {1, FALSE, VXLIST_SHOWN},
      {0, TRUE, VXLIST_SHOWN},                   {0x40000000, TRUE, VXLIST_SHOWN},
      {3, TRUE, VXLIST_SHOWN},
  };
  for (auto& c : cases) EXPECT_EQ(TransListBranch(c.flags, c.allowAll), c.branch) << std::hex << c.flags;
}

TEST(TransRules, ExportReplyTextByteForByte) {
  CString s = TransExportHeader((long)0xE0000001);
  TransAppendExportRecord(s, "C:\\a.jpg", TRUE, FALSE);
  TransAppendExportRecord(s, "C:\\b.jpg", FALSE, FALSE);
  TransAppendExportRecord(s, "C:\\c.jpg", TRUE, TRUE);
  TransAppendExportRecord(s, "C:\\d.jpg", FALSE, TRUE);
  EXPECT_EQ(std::string((LPCSTR)s),
            "0|536870913|0|C:\\a.jpg|1|0||C:\\b.jpg|0|0||C:\\c.jpg|5|0||C:\\d.jpg|4|0||");
  CString cut;
  std::string longPath(600, 'x');
  TransAppendExportRecord(cut, longPath.c_str(), FALSE, FALSE);
  EXPECT_EQ(std::string((LPCSTR)cut), std::string(519, 'x') + "|0|0||");
}

TEST(TransRules, UnknownSystemCodesShowTheirNumber) {
  EXPECT_EQ(std::string((LPCSTR)TransUnknownErrorText(0x1234)), "Error 0x00001234");
  EXPECT_EQ(std::string((LPCSTR)TransUnknownErrorText(0x7FFFFFFF)), "Error 0x7FFFFFFF");
}

// The sort strings are compared byte by byte: Shift-JIS names sort by their codes, where
// lstrcmp would collate them by the locale.
TEST(TransRules, SortComparisonIsByteOrder) {
  const char* katakana = "1\x83\x41";  // ア (0x8341)
  const char* hiragana = "1\x82\xA0";  // あ (0x82A0)
  const char* latin = "1z";
  EXPECT_LT(TransCompareSortStrings(latin, hiragana, 11), 0);
  EXPECT_LT(TransCompareSortStrings(hiragana, katakana, 11), 0);
  EXPECT_GT(TransCompareSortStrings(hiragana, katakana, 12), 0);
  EXPECT_EQ(TransCompareSortStrings("1abc", "1abc", 12), 0);
  EXPECT_LT(TransCompareSortStrings(nullptr, "1", 11), 0);  // missing counts as empty
  EXPECT_EQ(TransCompareSortStrings(nullptr, "", 11), 0);
  EXPECT_LT(TransCompareSortStrings("1B", "1a", 19), 0);     // case is a byte too
}

TEST(TransRules, SortCommandIdsAndFolderPreviews) {
  for (UINT id = 0; id < 40; ++id)
    EXPECT_EQ(!!TransIsSortCommandID(id), (id >= 11 && id <= 27) || id == 29) << id;
  EXPECT_EQ(TransFolderPreviewType(0), 0x1200u);
  EXPECT_EQ(TransFolderPreviewType(0x210), 0x210u);
  EXPECT_EQ(TransFolderPreviewType(0x1000), 0x1000u);
}

TEST(TransRules, RotationAnglesReduce) {
  struct {
    int in, out;
  } cases[] = {{0, 0}, {90, 90}, {-90, 90}, {180, 180}, {270, -90}, {360, 0}, {540, 180}, {-450, 90},
               {181, -179}, {INT_MIN, 128}};
  for (auto& c : cases) EXPECT_EQ(TransReduceAngle(c.in), c.out) << c.in;
}

TEST(TransRules, AVCHDPathsSplitFromTheirEnd) {
  struct {
    const char* path;
    bool ok;
    const char* base;
    int first, second;
    const char* page;
  } cases[] = {
      {"E:\\12\\34\\0\\5\\2008/01/02", true, "E:\\", 34, 5, "2008/01/02"},  // a date node's
      {"E:\\AVCHD\\0\\DAY\\2\\2026-11-22", true, "E:\\", 0, 2, "2026-11-22"},
      {"E:\\AVCHD\\0\\DAY\\2\\2026-11-22\\", true, "E:\\", 0, 2, "2026-11-22"},
      {"D:\\cards\\x\\AVCHD\\1\\DAY\\10\\All", true, "D:\\cards\\x\\", 1, 10, "All"},
      {"E:\\AVCHD\\a\\DAY\\2\\page", false, "", 0, 0, ""},
      {"E:\\AVCHD\\0\\DAY\\-2\\page", false, "", 0, 0, ""},
      {"AVCHD\\0\\DAY\\2\\page", false, "", 0, 0, ""},
      {"", false, "", 0, 0, ""},
  };
  for (auto& c : cases) {
    CString base, page;
    int first = -1, second = -1;
    ASSERT_EQ(!!TransSplitAVCHDPath(c.path, &base, &first, &second, &page), c.ok) << c.path;
    if (!c.ok) continue;
    EXPECT_EQ(std::string((LPCSTR)base), c.base);
    EXPECT_EQ(first, c.first);
    EXPECT_EQ(second, c.second);
    EXPECT_EQ(std::string((LPCSTR)page), c.page);
  }
}

// A scene's disc reference: only a drive's own tree; the drive letter upper-cased before it
// becomes a drive number; a card's scene by its day and clip, a disc title's part (the
// disc's own tree, -1) by its playlist and play item, whatever its stream is called.
TEST(TransRules, DiscReferenceOfAScene) {
  const SYSTEMTIME day = {2026, 11, 0, 22, 10, 0, 0, 0};
  struct {
    const char* base;
    int tree, playlist, part;
    const char* stream;
    bool ok;
    DWORD kind, group, item, clip;
  } cases[] = {
      {"E:\\", 0, 0, 0, "E:\\PRIVATE\\AVCHD\\BDMV\\STREAM\\00012.MTS", true, 1, 4, 20261122, 12},
      {"e:\\", 1, 0, 0, "e:\\AVCHD\\BDMV\\STREAM\\00003.MTS", true, 1, 4 | 0x100, 20261122, 3},
      {"D:\\cards\\x\\", 0, 0, 0, "D:\\cards\\x\\PRIVATE\\AVCHD\\BDMV\\STREAM\\00001.MTS", false, 0, 0, 0, 0},
      {"E:\\", 0, 0, 0, "E:\\PRIVATE\\AVCHD\\BDMV\\STREAM\\clip.MTS", false, 0, 0, 0, 0},
      {"E:\\", 2, 0, 0, "E:\\PRIVATE\\AVCHD\\BDMV\\STREAM\\00001.MTS", false, 0, 0, 0, 0},
      {"d:\\", -1, 3, 1, "D:\\BDMV\\STREAM\\00001.m2ts", true, 2, 3 | 0x200, 3, 1},
      {"D:\\", -1, 0, 0, "D:\\BDMV\\STREAM\\clip.m2ts", true, 2, 3 | 0x200, 0, 0},
      {"D:\\", -1, -1, 0, "D:\\BDMV\\STREAM\\00001.m2ts", false, 0, 0, 0, 0},
      {"D:\\", -1, 100000, 0, "D:\\BDMV\\STREAM\\00001.m2ts", false, 0, 0, 0, 0},
      {"D:\\", -1, 1, -1, "D:\\BDMV\\STREAM\\00001.m2ts", false, 0, 0, 0, 0},
      {"D:\\x\\", -1, 1, 0, "D:\\x\\BDMV\\STREAM\\00001.m2ts", false, 0, 0, 0, 0},
      {"1:\\", 0, 0, 0, "1:\\PRIVATE\\AVCHD\\BDMV\\STREAM\\00001.MTS", false, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    DWORD ref[4] = {};
    ASSERT_EQ(!!TransDiscRefOf(c.base, c.tree, c.playlist, c.part, day, c.stream, ref), c.ok) << c.stream;
    if (!c.ok) continue;
    EXPECT_EQ(ref[0], c.kind);
    EXPECT_EQ(ref[1], c.group) << c.stream;
    EXPECT_EQ(ref[2], c.item) << c.stream;
    EXPECT_EQ(ref[3], c.clip) << c.stream;
  }
}

TEST(TransRules, FolderModelSmallRules) {
  EXPECT_EQ(TransVirtualGroupIndex(-5), 0);
  EXPECT_EQ(TransVirtualGroupIndex(0), 0);
  EXPECT_EQ(TransVirtualGroupIndex(1), 0);
  EXPECT_EQ(TransVirtualGroupIndex(3), 2);
  // 100 files give at most 100 changes of the percentage.
  int changes = 0, last = -1;
  for (int done = 1; done <= 100; ++done) {
    int p = TransProgressPercent(0, 100, done, 100);
    if (p != last) ++changes, last = p;
  }
  EXPECT_EQ(changes, 100);
  EXPECT_EQ(TransProgressPercent(0, 100, 5, 0), 0);
  EXPECT_TRUE(TransPassesFilter(0x210, 0x210, FALSE));
  EXPECT_FALSE(TransPassesFilter(0x1010, 0x210, FALSE));
  EXPECT_TRUE(TransPassesFilter(0x0800, 0x210, TRUE));  // sub-folders always pass
  EXPECT_TRUE(TransPassesFilter(0x4000, 0, FALSE));
  EXPECT_TRUE(TransIsListedFlags(0));
  EXPECT_FALSE(TransIsListedFlags(1));
  EXPECT_TRUE(TransIsListedFlags(3));
  struct {
    BOOL cal, large;
    int mode, cell;
  } cells[] = {{TRUE, FALSE, 0, 160}, {FALSE, TRUE, 0, 30},  {FALSE, TRUE, 3, 223},
               {FALSE, TRUE, 4, 303}, {FALSE, TRUE, 5, 160}, {FALSE, FALSE, 4, 80}};
  for (auto& c : cells) EXPECT_EQ(TransThumbnailCell(c.cal, c.large, c.mode), c.cell);
}

TEST(TransRules, CommandTableRoutesByResourceName) {
  struct {
    UINT id;
    VXCMDACTION action;
    BOOL notInCalendar;
  } cases[] = {
      {ID_ROTATE_RIGHT, VXCA_ROTATE_RIGHT, FALSE}, {ID_FILE_DELETE, VXCA_DELETE, FALSE},
      {ID_FILE_RENAME, VXCA_RENAME, TRUE},         {ID_EDIT_SELECT_ALL_FILES, VXCA_SELECT_ALL, TRUE},
      {ID_VIEW_REFRESH, VXCA_RELOAD, TRUE},        {ID_EDIT_COPY, VXCA_COPY, TRUE},
      {ID_EDIT_PASTE, VXCA_PASTE, FALSE},          {ID_VIEWMODE_LARGE_ICONS, VXCA_VIEWMODE, FALSE},
      {ID_VIEWMODE_LAST, VXCA_VIEWMODE, FALSE},    {ID_SORT_SIMILARITY, VXCA_SORT, FALSE},
      {ID_SORT_VOICE_NUMBER, VXCA_SORT, FALSE},    {ID_FILTER_PHOTOS, VXCA_FILTER, FALSE},
      {ID_FILTER_AUDIO_ALL, VXCA_FILTER, FALSE},
  };
  for (auto& c : cases) {
    const VXCMDROUTE* r = TransFindCommand(c.id);
    ASSERT_NE(r, nullptr) << c.id;
    EXPECT_EQ(r->action, c.action) << c.id;
    EXPECT_EQ(r->bNotInCalendar, c.notInCalendar) << c.id;
  }
  for (UINT id : {29560u, 29588u, 29589u, 29590u, 29596u, 29102u, 0u}) EXPECT_EQ(TransFindCommand(id), nullptr) << id;
}

// The map command: the selection first, then the map component; in focus mode a folded
// enlarged view sends the browser back to its thumbnails instead.
TEST(TransRules, MapCommandSteps) {
  struct {
    BOOL selected, map, focus;
    int enlarged;
    VXMAPSTEP want;
  } cases[] = {
      {FALSE, TRUE, TRUE, 200, VXMAP_NO_SELECTION}, {TRUE, FALSE, TRUE, 0, VXMAP_NOTHING},
      {TRUE, TRUE, TRUE, -1, VXMAP_NOTHING},        {TRUE, TRUE, TRUE, 0, VXMAP_KEPT_MODE},
      {TRUE, TRUE, TRUE, 270, VXMAP_SHOW},          {TRUE, TRUE, FALSE, 0, VXMAP_SHOW},
      {TRUE, TRUE, FALSE, -1, VXMAP_SHOW},
  };
  for (auto& c : cases)
    EXPECT_EQ(TransMapStep(c.selected, c.map, c.focus, c.enlarged), c.want)
        << c.selected << c.map << c.focus << " " << c.enlarged;
}

TEST(TransRules, RunOnThreadsDoesEachPieceOnceAndStopsWhenAsked) {
  for (size_t threads : {size_t(0), size_t(1), size_t(4)})
    for (size_t count : {size_t(0), size_t(1), size_t(3), size_t(1000)}) {
      std::vector<std::atomic<int>> runs(count);
      int asked = 0;
      EXPECT_TRUE(TransRunOnThreads(count, threads, [&](size_t i) { ++runs[i]; }, [&] { return ++asked > 0; }))
          << count;
      for (size_t i = 0; i < count; ++i) EXPECT_EQ(1, runs[i].load()) << count << " piece " << i;
      EXPECT_GE(asked, 1) << count;
    }
  // One thread takes the pieces in order, no thread at all on the calling thread after the
  // meanwhile work; that runs once, on the calling thread, also when there are no pieces.
  for (size_t threads : {size_t(0), size_t(1)})
    for (size_t count : {size_t(0), size_t(100)}) {
      std::vector<size_t> order;
      std::vector<DWORD> meanwhile, workers;
      EXPECT_TRUE(TransRunOnThreads(
          count, threads,
          [&](size_t i) {
            order.push_back(i);
            workers.push_back(::GetCurrentThreadId());
          },
          [] { return true; }, [&] { meanwhile.push_back(::GetCurrentThreadId()); }));
      ASSERT_EQ(order.size(), count);
      for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order[i], i);
      EXPECT_EQ(meanwhile, std::vector<DWORD>{::GetCurrentThreadId()}) << count;
      if (threads == 0)
        for (DWORD w : workers) EXPECT_EQ(w, ::GetCurrentThreadId());
    }
  // Stopped on the third question: no piece twice, the rest never started, false answered,
  // and nothing runs after the call returns.
  for (size_t threads : {size_t(0), size_t(1), size_t(4)}) {
    const size_t count = 2000;
    std::vector<std::atomic<int>> runs(count);
    int asked = 0;
    EXPECT_FALSE(TransRunOnThreads(
        count, threads, [&](size_t i) { ++runs[i], ::Sleep(1); }, [&] { return ++asked < 3; }));
    int started = 0;
    for (auto& r : runs) {
      EXPECT_LE(r.load(), 1);
      started += r.load();
    }
    EXPECT_LT(started, int(count)) << threads;
    ::Sleep(20);
    int later = 0;
    for (auto& r : runs) later += r.load();
    EXPECT_EQ(started, later) << threads;
  }
}
