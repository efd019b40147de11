// The drive scan and the auto-run rule against tables of drives and settings.
#include "fake_envs.h"

#include <gtest/gtest.h>
#include <wtsapi32.h>

using namespace cardwatch;

namespace {

const DWORD kE = 1u << 4, kF = 1u << 5;

FakeDrive Card(UINT type = DRIVE_REMOVABLE) {
  FakeDrive d;
  d.nType = type;
  d.bMedia = true;
  return d;
}

}  // namespace

// One new drive after an empty first scan: what counts as a new card.
TEST(CardScan, NewDriveTable) {
  struct Row {
    const char* name;
    char letter;
    FakeDrive drive;
    char windows;
    BOOL cdromWatched;
    int result;
    const char* cardDrive;
  };
  FakeDrive notReady = Card();
  notReady.bNotReady = true;
  FakeDrive slot;
  slot.bSecuritySlot = true;
  const Row rows[] = {
      {"removable with media", 'E', Card(), 'C', TRUE, CARDSCAN_INSERTED, "E"},
      {"removable without media", 'E', FakeDrive(), 'C', TRUE, CARDSCAN_NOTHING, ""},
      {"protected-card slot", 'E', slot, 'C', TRUE, CARDSCAN_INSERTED, ""},
      {"RAM disk", 'E', Card(DRIVE_RAMDISK), 'C', TRUE, CARDSCAN_INSERTED, "E"},
      {"CD-ROM watched", 'E', Card(DRIVE_CDROM), 'C', TRUE, CARDSCAN_INSERTED, "E"},
      {"CD-ROM not watched", 'E', Card(DRIVE_CDROM), 'C', FALSE, CARDSCAN_NOTHING, ""},
      {"fixed disk", 'E', Card(DRIVE_FIXED), 'C', TRUE, CARDSCAN_NOTHING, ""},
      {"network drive", 'E', Card(DRIVE_REMOTE), 'C', TRUE, CARDSCAN_NOTHING, ""},
      {"not ready", 'E', notReady, 'C', TRUE, CARDSCAN_NOTHING, ""},
      {"the Windows drive", 'E', Card(), 'E', TRUE, CARDSCAN_NOTHING, ""},
      {"the Windows drive in lower case", 'E', Card(), 'e', TRUE, CARDSCAN_NOTHING, ""},
      {"drive Z", 'Z', Card(), 'C', TRUE, CARDSCAN_INSERTED, "Z"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    FakeScanEnv env;
    env.Insert('C', FakeDrive{DRIVE_FIXED});
    env.chWindows = r.windows;
    env.bCdromWatched = r.cdromWatched;
    CCardScanner scanner;
    DWORD mask = 0x1234;
    EXPECT_EQ(CARDSCAN_NOTHING, scanner.ScanCardDrives(env, mask));
    env.Insert(r.letter, r.drive);
    EXPECT_EQ(r.result, scanner.ScanCardDrives(env, mask));
    EXPECT_EQ(r.result == CARDSCAN_NOTHING ? 0x1234u : 1u << (r.letter - 'A'), mask);
    EXPECT_EQ(r.cardDrive, env.cardDrive);
  }
}

TEST(CardScan, TwoCardsInOneTickGiveOneEventWithBothDrives) {
  FakeScanEnv env;
  CCardScanner scanner;
  DWORD mask = 0;
  scanner.ScanCardDrives(env, mask);
  env.Insert('E', Card());
  env.Insert('F', Card());
  EXPECT_EQ(CARDSCAN_INSERTED, scanner.ScanCardDrives(env, mask));
  EXPECT_EQ(kE | kF, mask);
}

// Drive letters past Z do not exist: high bits of the logical-drive mask are ignored.
TEST(CardScan, IgnoresMaskBitsPastZ) {
  struct HighBits : FakeScanEnv {
    DWORD GetLogicalDrives() override { return FakeScanEnv::GetLogicalDrives() | 0xFC000000u; }
  } env;
  CCardScanner scanner(FALSE);
  DWORD mask = 0;
  EXPECT_EQ(CARDSCAN_NOTHING, scanner.ScanCardDrives(env, mask));
  EXPECT_TRUE(env.mediaTests.empty());
}

TEST(CardScan, CardPresentAtStartIsOnlyRecordedUntilReinserted) {
  FakeScanEnv env;
  env.Insert('E', Card());
  CCardScanner scanner;
  DWORD mask = 0;
  EXPECT_EQ(CARDSCAN_NOTHING, scanner.ScanCardDrives(env, mask));
  EXPECT_TRUE(scanner.IsCardFlagged(4));
  EXPECT_EQ("E", env.cardDrive);
  EXPECT_EQ(CARDSCAN_NOTHING, scanner.ScanCardDrives(env, mask));

  env.Remove('E');
  EXPECT_EQ(CARDSCAN_REMOVED, scanner.ScanCardDrives(env, mask));
  EXPECT_EQ(kE, mask);
  EXPECT_FALSE(scanner.IsCardFlagged(4));
  env.Insert('E', Card());
  EXPECT_EQ(CARDSCAN_INSERTED, scanner.ScanCardDrives(env, mask));
  EXPECT_EQ(kE, mask);
}

TEST(CardScan, QuietFirstScanIsOptional) {
  FakeScanEnv env;
  env.Insert('E', Card());
  CCardScanner scanner(FALSE);
  DWORD mask = 0;
  EXPECT_EQ(CARDSCAN_INSERTED, scanner.ScanCardDrives(env, mask));
  EXPECT_EQ(kE, mask);
}

TEST(CardScan, FlaggedDriveIsNotProbedAgain) {
  FakeScanEnv env;
  CCardScanner scanner;
  DWORD mask = 0;
  scanner.ScanCardDrives(env, mask);
  env.Insert('E', Card());
  for (int i = 0; i < 3; ++i) scanner.ScanCardDrives(env, mask);
  EXPECT_EQ(1, env.mediaTests['E']);

  // A drive without media is probed on every scan until media appear.
  env.Insert('F', FakeDrive());
  for (int i = 0; i < 3; ++i) scanner.ScanCardDrives(env, mask);
  EXPECT_EQ(3, env.mediaTests['F']);
}

TEST(CardScan, NotReadyDriveCountsAsRemoved) {
  FakeScanEnv env;
  CCardScanner scanner;
  DWORD mask = 0;
  scanner.ScanCardDrives(env, mask);
  env.Insert('E', Card());
  scanner.ScanCardDrives(env, mask);
  env.drives['E'].bNotReady = true;
  EXPECT_EQ(CARDSCAN_REMOVED, scanner.ScanCardDrives(env, mask));
  EXPECT_EQ(kE, mask);
}

TEST(CardScan, RemovalWhileMusicCardProgramRunsIsNotReported) {
  FakeScanEnv env;
  CCardScanner scanner;
  DWORD mask = 0;
  scanner.ScanCardDrives(env, mask);
  env.Insert('E', Card());
  scanner.ScanCardDrives(env, mask);

  env.bMusicCard = TRUE;
  env.Remove('E');
  mask = 0x99;
  EXPECT_EQ(CARDSCAN_NOTHING, scanner.ScanCardDrives(env, mask));
  EXPECT_EQ(0x99u, mask);
  EXPECT_TRUE(scanner.IsCardFlagged(4));
  // Back in the slot: still the known card, not a new one.
  env.Insert('E', Card());
  EXPECT_EQ(CARDSCAN_NOTHING, scanner.ScanCardDrives(env, mask));

  env.Remove('E');
  env.bMusicCard = FALSE;
  EXPECT_EQ(CARDSCAN_REMOVED, scanner.ScanCardDrives(env, mask));
}

TEST(CardScan, DriveThatBecomesUnwatchedLosesItsFlagSilently) {
  FakeScanEnv env;
  CCardScanner scanner;
  DWORD mask = 0;
  scanner.ScanCardDrives(env, mask);
  env.Insert('E', Card());
  scanner.ScanCardDrives(env, mask);
  env.drives['E'].nType = DRIVE_FIXED;
  EXPECT_EQ(CARDSCAN_NOTHING, scanner.ScanCardDrives(env, mask));
  EXPECT_FALSE(scanner.IsCardFlagged(4));
}

// A tick after an empty first tick: the event, the mode and the running programs decide.
TEST(AutoRunTick, RuleTable) {
  enum Event { kInsert, kRemove, kNone };
  struct Row {
    const char* name;
    int mode;
    Event event;
    BOOL mainRunning, viewerRunning;
    std::vector<std::string> calls;
  };
  const Row rows[] = {
      {"mode 0: new card starts the main program", 0, kInsert, FALSE, FALSE, {"start-main:10"}},
      {"mode 0: main program already runs", 0, kInsert, TRUE, FALSE, {}},
      {"mode 0: card viewer runs", 0, kInsert, FALSE, TRUE, {}},
      {"mode 0: removal", 0, kRemove, FALSE, FALSE, {}},
      {"mode 0: nothing happened", 0, kNone, FALSE, FALSE, {}},
      {"mode 1: new card starts the viewer", 1, kInsert, FALSE, FALSE, {"start-viewer:10"}},
      {"mode 1: running viewer is told of the card", 1, kInsert, FALSE, TRUE, {"notify:1"}},
      {"mode 1: running viewer is told of the removal", 1, kRemove, FALSE, TRUE, {"notify:2"}},
      {"mode 1: removal without viewer", 1, kRemove, FALSE, FALSE, {}},
      {"mode 1: main program runs", 1, kInsert, TRUE, FALSE, {}},
      {"mode 3: only watches", 3, kInsert, FALSE, FALSE, {}},
      {"mode 2: only watches", 2, kInsert, FALSE, FALSE, {}},
      {"mode -1: only watches", -1, kInsert, FALSE, FALSE, {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    FakeScanEnv scanEnv;
    FakeAutoRunEnv env;
    env.nMode = r.mode;
    env.bMainRunning = r.mainRunning;
    env.bViewerRunning = r.viewerRunning;
    if (r.event == kRemove) scanEnv.Insert('E', Card());
    CCardScanner scanner;
    DWORD mask = 0;
    EXPECT_EQ(AUTORUN_TICK_CONTINUE, RunAutoRunTick(env, scanner, scanEnv, mask));
    if (r.event == kInsert) scanEnv.Insert('E', Card());
    if (r.event == kRemove) scanEnv.Remove('E');
    EXPECT_EQ(AUTORUN_TICK_CONTINUE, RunAutoRunTick(env, scanner, scanEnv, mask));
    EXPECT_EQ(r.calls, env.calls);
    // The card drive is recorded whatever the mode.
    EXPECT_EQ(r.event == kNone ? "" : "E", scanEnv.cardDrive);
  }
}

TEST(AutoRunTick, CheckDisableSkipsTheScanUntilCleared) {
  FakeScanEnv scanEnv;
  FakeAutoRunEnv env;
  env.nMode = AUTORUN_MAIN_PROGRAM;
  CCardScanner scanner;
  DWORD mask = 0;
  RunAutoRunTick(env, scanner, scanEnv, mask);

  env.bCheckDisabled = TRUE;
  scanEnv.Insert('E', Card());
  RunAutoRunTick(env, scanner, scanEnv, mask);
  RunAutoRunTick(env, scanner, scanEnv, mask);
  EXPECT_TRUE(scanEnv.mediaTests.empty());
  EXPECT_TRUE(env.calls.empty());

  env.bCheckDisabled = FALSE;
  RunAutoRunTick(env, scanner, scanEnv, mask);
  EXPECT_EQ(std::vector<std::string>{"start-main:10"}, env.calls);
}

TEST(AutoRunTick, CheckDisableAtStartPostponesTheQuietFirstScan) {
  FakeScanEnv scanEnv;
  FakeAutoRunEnv env;
  env.nMode = AUTORUN_MAIN_PROGRAM;
  env.bCheckDisabled = TRUE;
  scanEnv.Insert('E', Card());
  CCardScanner scanner;
  DWORD mask = 0;
  RunAutoRunTick(env, scanner, scanEnv, mask);
  env.bCheckDisabled = FALSE;
  RunAutoRunTick(env, scanner, scanEnv, mask);
  EXPECT_TRUE(env.calls.empty());
  EXPECT_TRUE(scanner.IsCardFlagged(4));
}

TEST(AutoRunTick, EndRequestEndsBeforeScanning) {
  FakeScanEnv scanEnv;
  FakeAutoRunEnv env;
  env.bEnd = TRUE;
  CCardScanner scanner;
  DWORD mask = 0;
  EXPECT_EQ(AUTORUN_TICK_END, RunAutoRunTick(env, scanner, scanEnv, mask));
  EXPECT_TRUE(scanner.IsFirstScanPending());
}

TEST(AutoRunTick, MaskIsKeptByTicksWithoutEvent) {
  FakeScanEnv scanEnv;
  FakeAutoRunEnv env;
  CCardScanner scanner;
  DWORD mask = 0;
  RunAutoRunTick(env, scanner, scanEnv, mask);
  scanEnv.Insert('F', Card());
  RunAutoRunTick(env, scanner, scanEnv, mask);
  RunAutoRunTick(env, scanner, scanEnv, mask);
  EXPECT_EQ(kF, mask);
}

TEST(WatchTimer, PowerAndSessionNotices) {
  struct Row {
    WPARAM w;
    WatchTimerAction power, session;
  };
  const Row rows[] = {
      {PBT_APMQUERYSUSPEND, WATCH_TIMER_STOP, WATCH_TIMER_KEEP},        // 0
      {WTS_CONSOLE_CONNECT, WATCH_TIMER_KEEP, WATCH_TIMER_START},       // 1
      {PBT_APMQUERYSUSPENDFAILED, WATCH_TIMER_START, WATCH_TIMER_STOP}, // 2 (console disconnect)
      {3, WATCH_TIMER_KEEP, WATCH_TIMER_KEEP},
      {PBT_APMSUSPEND, WATCH_TIMER_STOP, WATCH_TIMER_KEEP},             // 4
      {PBT_APMRESUMECRITICAL, WATCH_TIMER_KEEP, WATCH_TIMER_KEEP},      // 6
      {PBT_APMRESUMESUSPEND, WATCH_TIMER_START, WATCH_TIMER_KEEP},      // 7
      {PBT_APMPOWERSTATUSCHANGE, WATCH_TIMER_KEEP, WATCH_TIMER_KEEP},   // 10
      {PBT_APMRESUMEAUTOMATIC, WATCH_TIMER_START, WATCH_TIMER_KEEP},    // 18
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.w);
    EXPECT_EQ(r.power, PowerEventTimerAction(r.w));
    EXPECT_EQ(r.session, SessionEventTimerAction(r.w));
  }
}
