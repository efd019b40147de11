// The drive scan and the auto-run rule against tables of drives and settings.
#include "fake_envs.h"

#include <gtest/gtest.h>
#include <wtsapi32.h>

#include "cardwatch/BackupFolder.h"

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
TEST(CardScanTable, NewDrive) {
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

// A scanner whose quiet first scan is done, over drives the test changes.
class CardScan : public ::testing::Test {
 protected:
  void SetUp() override { Scan(); }
  int Scan() { return m_scanner.ScanCardDrives(m_env, m_mask); }
  // A card in E: that the scanner already knows.
  void KnownCardInE() {
    m_env.Insert('E', Card());
    Scan();
    ASSERT_TRUE(m_scanner.IsCardFlagged(4));
  }

  FakeScanEnv m_env;
  CCardScanner m_scanner;
  DWORD m_mask = 0;
};

TEST_F(CardScan, TwoCardsInOneTickGiveOneEventWithBothDrives) {
  m_env.Insert('E', Card());
  m_env.Insert('F', Card());
  EXPECT_EQ(CARDSCAN_INSERTED, Scan());
  EXPECT_EQ(kE | kF, m_mask);
}

// Drive letters past Z do not exist: high bits of the logical-drive mask are ignored.
TEST(CardScanMask, IgnoresMaskBitsPastZ) {
  struct HighBits : FakeScanEnv {
    DWORD GetLogicalDrives() override { return FakeScanEnv::GetLogicalDrives() | 0xFC000000u; }
  } env;
  CCardScanner scanner(FALSE);
  DWORD mask = 0;
  EXPECT_EQ(CARDSCAN_NOTHING, scanner.ScanCardDrives(env, mask));
  EXPECT_TRUE(env.mediaTests.empty());
}

TEST(CardScanFirst, CardPresentAtStartIsOnlyRecordedUntilReinserted) {
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

  // The main program's watch reports at once.
  CCardScanner reporting(FALSE);
  EXPECT_EQ(CARDSCAN_INSERTED, reporting.ScanCardDrives(env, mask));
}

TEST_F(CardScan, FlaggedDriveIsNotProbedAgain) {
  KnownCardInE();
  for (int i = 0; i < 3; ++i) Scan();
  EXPECT_EQ(1, m_env.mediaTests['E']);

  // A drive without media is probed on every scan until media appear.
  m_env.Insert('F', FakeDrive());
  for (int i = 0; i < 3; ++i) Scan();
  EXPECT_EQ(3, m_env.mediaTests['F']);
}

TEST_F(CardScan, NotReadyDriveCountsAsRemoved) {
  KnownCardInE();
  m_env.drives['E'].bNotReady = true;
  EXPECT_EQ(CARDSCAN_REMOVED, Scan());
  EXPECT_EQ(kE, m_mask);
}

TEST_F(CardScan, RemovalWhileMusicCardProgramRunsIsNotReported) {
  KnownCardInE();
  m_env.bMusicCard = TRUE;
  m_env.Remove('E');
  m_mask = 0x99;
  EXPECT_EQ(CARDSCAN_NOTHING, Scan());
  EXPECT_EQ(0x99u, m_mask);
  EXPECT_TRUE(m_scanner.IsCardFlagged(4));
  // Back in the slot: still the known card, not a new one.
  m_env.Insert('E', Card());
  EXPECT_EQ(CARDSCAN_NOTHING, Scan());

  m_env.Remove('E');
  m_env.bMusicCard = FALSE;
  EXPECT_EQ(CARDSCAN_REMOVED, Scan());
}

TEST_F(CardScan, DriveThatBecomesUnwatchedLosesItsFlagSilently) {
  KnownCardInE();
  m_env.drives['E'].nType = DRIVE_FIXED;
  EXPECT_EQ(CARDSCAN_NOTHING, Scan());
  EXPECT_FALSE(m_scanner.IsCardFlagged(4));
}

// The launcher's watch: ticks over drives and settings the test changes.
struct WatchBench {
  AutoRunTickResult Tick() { return RunAutoRunTick(m_env, m_scanner, m_scanEnv, m_mask); }

  FakeScanEnv m_scanEnv;
  FakeAutoRunEnv m_env;
  CCardScanner m_scanner;
  DWORD m_mask = 0;
};

class AutoRunTick : public ::testing::Test, public WatchBench {};

// A tick after an empty first tick: the event, the mode and the running programs decide.
TEST(AutoRunTickTable, Rule) {
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
    WatchBench t;
    t.m_env.nMode = r.mode;
    t.m_env.bMainRunning = r.mainRunning;
    t.m_env.bViewerRunning = r.viewerRunning;
    if (r.event == kRemove) t.m_scanEnv.Insert('E', Card());
    EXPECT_EQ(AUTORUN_TICK_CONTINUE, t.Tick());
    if (r.event == kInsert) t.m_scanEnv.Insert('E', Card());
    if (r.event == kRemove) t.m_scanEnv.Remove('E');
    EXPECT_EQ(AUTORUN_TICK_CONTINUE, t.Tick());
    EXPECT_EQ(r.calls, t.m_env.calls);
    // The card drive is recorded whatever the mode.
    EXPECT_EQ(r.event == kNone ? "" : "E", t.m_scanEnv.cardDrive);
  }
}

TEST_F(AutoRunTick, CheckDisableSkipsTheScanUntilCleared) {
  m_env.nMode = AUTORUN_MAIN_PROGRAM;
  Tick();
  m_env.bCheckDisabled = TRUE;
  m_scanEnv.Insert('E', Card());
  Tick();
  Tick();
  EXPECT_TRUE(m_scanEnv.mediaTests.empty());
  EXPECT_TRUE(m_env.calls.empty());

  m_env.bCheckDisabled = FALSE;
  Tick();
  EXPECT_EQ(std::vector<std::string>{"start-main:10"}, m_env.calls);
}

TEST_F(AutoRunTick, CheckDisableAtStartPostponesTheQuietFirstScan) {
  m_env.nMode = AUTORUN_MAIN_PROGRAM;
  m_env.bCheckDisabled = TRUE;
  m_scanEnv.Insert('E', Card());
  Tick();
  m_env.bCheckDisabled = FALSE;
  Tick();
  EXPECT_TRUE(m_env.calls.empty());
  EXPECT_TRUE(m_scanner.IsCardFlagged(4));
}

TEST_F(AutoRunTick, EndRequestEndsBeforeScanning) {
  m_env.bEnd = TRUE;
  EXPECT_EQ(AUTORUN_TICK_END, Tick());
  EXPECT_TRUE(m_scanner.IsFirstScanPending());
}

TEST_F(AutoRunTick, MaskIsKeptByTicksWithoutEvent) {
  Tick();
  m_scanEnv.Insert('F', Card());
  Tick();
  Tick();
  EXPECT_EQ(kF, m_mask);
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

// The card copies' folder when the profile names none: under the pictures, else under the
// documents' own picture folder; the application's folder ends with "\".
TEST(BackupFolder, DefaultFollowsTheShellFolders) {
  EXPECT_EQ(DefaultBackupFolder("C:\\Users\\u\\Pictures", "C:\\Users\\u\\Documents", "My Pictures", "Marlo5"),
            "C:\\Users\\u\\Pictures\\Marlo5\\");
  EXPECT_EQ(DefaultBackupFolder("C:\\Users\\u\\Pictures\\", "C:\\Users\\u\\Documents", "My Pictures", "Marlo5"),
            "C:\\Users\\u\\Pictures\\Marlo5\\");
  EXPECT_EQ(DefaultBackupFolder("", "C:\\Users\\u\\Documents", "My Pictures", "Marlo5"),
            "C:\\Users\\u\\Documents\\My Pictures\\Marlo5\\");
}
