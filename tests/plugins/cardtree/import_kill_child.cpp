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

#include <cstdio>
#include <cstdlib>

using namespace cardtree;

namespace {
int g_stopAt = 0;
std::string g_marker, g_second;

void Stop() {
  FILE* f = fopen(g_marker.c_str(), "w");
  if (f) fclose(f);
  for (;;) Sleep(1000);
}

// Several files are under way at once: the phase stops the process on the second file's own
// step (other files may go on meanwhile, as they would when killed).
void Watch(CopyPhase phase, const std::string& source) {
  if (static_cast<int>(phase) == g_stopAt && source == g_second) Stop();
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
  if (plan.sources.size() > 1) g_second = plan.sources[1];
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
