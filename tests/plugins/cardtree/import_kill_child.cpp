// The import engine in a process of its own, for the kill tests: it copies a card folder
// into a destination, registers the copies and stops dead (a marker file written, then
// waiting for its end) at the phase asked for, on the second file.
//   import_kill_child.exe <card> <destination> <database folder> <phase> <marker>
// Phases 1-4: reading, written, verified, renamed (the copy's phases); 5: in the
// registration batch; 6: between the card's deletions.
#include <ImportRegister.h>
#include <ImportRun.h>
#include <RecordGate.h>
#include <VxDatabase.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

using namespace cardtree;

namespace {
int g_stopAt = 0;
std::string g_marker;
// How often each phase was seen: the copies overlap (the next file is read while the one
// before is checked), so the second file's phase is the phase's second time.
std::atomic<int> g_seen[5];

void Stop() {
  FILE* f = fopen(g_marker.c_str(), "w");
  if (f) fclose(f);
  for (;;) Sleep(1000);
}

void Watch(CopyPhase phase) {
  const int p = static_cast<int>(phase);
  if (++g_seen[p] == 2 && p == g_stopAt) Stop();
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) return 2;
  g_stopAt = atoi(argv[4]);
  g_marker = argv[5];
  VxDBSetFolder(argv[3]);
  VxDBWInitDatabase();
  SetCopyPhaseObserver(Watch);
  ImportSettings s;
  s.backupMode = 0;
  CopyPlan plan;
  PlanCardCopy(argv[1], argv[2], s, &plan);
  CopyOutcome out;
  RunCopyPlan(&plan, &out);
  RegisterOptions o;
  RegisterCopyRun(out, plan, o, [](size_t k, size_t) {
    if (g_stopAt == 5 && k == 2) Stop();
  });
  if (g_stopAt == 6) {
    int deleted = 0;
    DeleteImportedSources(out, plan, [&](const std::string&) {
      if (++deleted == 2) Stop();
    });
  }
  VxDBWExitDatabase(-1);
  return 0;
}
