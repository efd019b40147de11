// The main program's start and exit against the framework's empty window (startempty.exe,
// the same framework DLL, one frame), alternated in one run, each run a fresh process:
//   start: from CreateProcess until the main window is shown (and, for the program, until
//          it writes that start-up is complete);
//   exit:  from WM_CLOSE until the process has ended, closed three ways: as soon as the
//          window shows, while start-up runs (half-way between the window and start-up
//          complete, as the round's last full start measured), and 2 s after start-up is
//          complete (the empty window: 2 s after it shows).
// Goals: the main window within 3x the empty window's start, every exit within 5x the empty
// window's exit of the same way; medians over the rounds.
//   tools/wine-run build/bin/startbench.exe [--rounds N]
// The program runs under a profile root and a photo database folder of the benchmark's own.
#include <Kitlib2/Kitlib2.h>
#include <MainWndMessages.h>
#include <profileroot.h>
#include <tempfolder.h>

#include <algorithm>

#include "benchcommon.h"

namespace {

const double kWaitSeconds = 30;  // for a window, start-up complete or an exit
const double kAfterCompleteSeconds = 2;

enum CloseWay { kAtShow, kDuringStartup, kAfterComplete, kWays };
const char* const kWayNames[kWays] = {"as the window shows", "while start-up runs", "2 s after start-up"};

struct Run {
  double shown = -1;     // seconds from creation
  double complete = -1;  // the program's start-up complete, when it was waited for
  double exit = -1;      // seconds from WM_CLOSE to the process's end; -1: it did not end
  bool closedInStartup = false;
};

HWND ShownMainWindow(DWORD pid) {
  struct Find {
    DWORD pid;
    HWND found;
  } find = {pid, NULL};
  ::EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        Find* f = reinterpret_cast<Find*>(lp);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(h, &owner);
        if (owner != f->pid || !::IsWindowVisible(h) || !::GetPropA(h, MAINWND_PROPERTY)) return TRUE;
        f->found = h;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.found;
}

bool StartupComplete() { return CMGetProfileInt("ExeState0007", "Enable", 0) == 1; }

// Polls until the test holds or the time is over; whether it held.
template <class Test>
bool Poll(Test test, double seconds) {
  const double end = bench::Now() + seconds;
  for (;;) {
    if (test()) return true;
    if (bench::Now() > end) return false;
    ::Sleep(1);
  }
}

// One start and close of exe; closeAfter: for kDuringStartup, seconds after the window shows.
Run StartAndClose(const std::string& exe, bool program, CloseWay way, double closeAfter) {
  Run run;
  if (program) CMWriteProfileInt("ExeState0007", "Enable", 0);
  const std::string folder = exe.substr(0, exe.find_last_of('\\'));
  const double t0 = bench::Now();
  HANDLE process = testsupport::StartProgram("\"" + exe + "\"", folder);
  if (!process) return run;
  const DWORD pid = ::GetProcessId(process);
  HWND main = NULL;
  if (!Poll([&] { return (main = ShownMainWindow(pid)) != NULL || ::WaitForSingleObject(process, 0) == 0; },
            kWaitSeconds) ||
      !main) {
    testsupport::WaitForExit(process, 0);
    return run;
  }
  run.shown = bench::Now() - t0;
  if (way == kDuringStartup) {
    Poll([&] { return program && StartupComplete(); }, closeAfter);
  } else if (way == kAfterComplete) {
    if (program && Poll(StartupComplete, kWaitSeconds)) run.complete = bench::Now() - t0;
    ::Sleep(DWORD(kAfterCompleteSeconds * 1000));
  }
  run.closedInStartup = program && !StartupComplete();
  const double closed = bench::Now();
  ::PostMessageA(main, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(process, DWORD(kWaitSeconds * 1000)) == WAIT_OBJECT_0) run.exit = bench::Now() - closed;
  testsupport::WaitForExit(process, 0);
  return run;
}

double Median(std::vector<double> v) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Median of a field, or -1 when a run lacks it (a window that never showed, an exit that
// never came).
template <class Field>
double MedianOf(const std::vector<Run>& runs, Field field) {
  std::vector<double> v;
  for (const Run& r : runs) {
    if (field(r) < 0) return -1;
    v.push_back(field(r));
  }
  return Median(v);
}

void PrintRatio(const char* what, double value, double reference, double goal) {
  if (value < 0 || reference <= 0) {
    printf("  %-34s %s: goal (%.0fx) NOT MET\n", what, value < 0 ? "did not happen" : "no reference", goal);
    return;
  }
  const double ratio = value / reference;
  printf("  %-34s %7.3f s against %6.3f s = %5.2fx (goal %.0fx): %s\n", what, value, reference, ratio, goal,
         ratio <= goal ? "met" : "NOT MET");
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 5;
  for (int i = 1; i < argc; ++i) {
    if (!strcmp(argv[i], "--rounds") && i + 1 < argc) {
      rounds = atoi(argv[++i]);
    } else {
      fprintf(stderr, "usage: %s [--rounds N]\n", argv[0]);
      return 2;
    }
  }
  if (rounds < 1) return 2;
  const std::string program = testsupport::ProgramFolder() + "\\Marlo5.exe",
                    empty = testsupport::ProgramFolder() + "\\startempty.exe";

  testsupport::ScopedProfileRoot root("startbench");
  const std::string db = testsupport::NewTempFolder("glimora-startbench-db");
  ::SetEnvironmentVariableA("GLIMORA_DB_DIR", db.c_str());
  CMWriteProfileString("Settings", "Mutex", ("Glimora Startbench " + std::to_string(::GetCurrentProcessId())).c_str());
  CMWriteProfileInt("VxClassify", "FirstClassify", 1);
  CMWriteProfileInt("Common", "First", 0);

  const double began = bench::Now();
  printf("startbench: %d rounds; each run a new process, the empty window and the program alternated\n", rounds);
  // Unmeasured: the first start of each pays for the disk cache and the database's creation.
  StartAndClose(empty, false, kAfterComplete, 0);
  StartAndClose(program, true, kAfterComplete, 0);

  std::vector<Run> runs[2][kWays];  // [program][way]
  double closeAfter = 0.05;
  for (int round = 0; round < rounds; ++round) {
    // The full start first: it gives the round's half-way point of start-up.
    for (int way : {kAfterComplete, kAtShow, kDuringStartup}) {
      for (int k = 0; k < 2; ++k) {
        const bool isProgram = (k + round) % 2 == 1;  // the order turns every round
        Run r = StartAndClose(isProgram ? program : empty, isProgram, CloseWay(way), closeAfter);
        runs[isProgram][way].push_back(r);
        printf("round %d %-7s close %-20s shown %6.3f s", round + 1, isProgram ? "program" : "empty", kWayNames[way],
               r.shown);
        if (r.complete >= 0) printf(", start-up complete %6.3f s", r.complete);
        if (r.exit >= 0)
          printf(", exit %6.3f s", r.exit);
        else
          printf(", did NOT end within %.0f s of WM_CLOSE", kWaitSeconds);
        if (isProgram && way != kAfterComplete) printf(r.closedInStartup ? " (start-up running)" : " (start-up done)");
        printf("\n");
        fflush(stdout);
        if (isProgram && way == kAfterComplete && r.complete > r.shown) closeAfter = (r.complete - r.shown) / 2;
      }
    }
  }

  auto shown = [](const Run& r) { return r.shown; };
  auto exit = [](const Run& r) { return r.exit; };
  std::vector<Run> allEmpty, allProgram;
  for (int way = 0; way < kWays; ++way) {
    allEmpty.insert(allEmpty.end(), runs[0][way].begin(), runs[0][way].end());
    allProgram.insert(allProgram.end(), runs[1][way].begin(), runs[1][way].end());
  }
  printf("\nmedians over %d rounds (reference: the framework's empty window, same run)\n", rounds);
  PrintRatio("start: main window shown", MedianOf(allProgram, shown), MedianOf(allEmpty, shown), 3);
  printf("  %-34s %7.3f s (empty window shown: %.3f s)\n", "start: start-up complete",
         MedianOf(runs[1][kAfterComplete], [](const Run& r) { return r.complete; }), MedianOf(allEmpty, shown));
  for (int way : {kAtShow, kDuringStartup, kAfterComplete}) {
    std::string what = std::string("exit, closed ") + kWayNames[way];
    PrintRatio(what.c_str(), MedianOf(runs[1][way], exit), MedianOf(runs[0][way], exit), 5);
  }
  int inStartup = 0;
  for (const Run& r : runs[1][kDuringStartup]) inStartup += r.closedInStartup;
  printf("  closes while start-up runs that came before it was complete: %d of %d\n", inStartup, rounds);
  printf("ran %.0f s\n", bench::Now() - began);
  testsupport::RemoveTree(db);
  return 0;
}
