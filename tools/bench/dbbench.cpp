// The photo database's registration against bare SQLite inserts of the same rows, as the
// database grows: batches of ten thousand files, each entered by the one call the import
// uses (the file's entry and its records at once, with the size and times its copy read,
// in the import's batch) into one database and the very rows that call wrote inserted bare
// (same schema, settings and SQLite build; prepared statements, a transaction per part)
// into another of the same size. A batch is timed in five parts, the two sides in turned
// order. The rows come from a third database the same calls fill first (not timed). Then,
// unless --no-damage, what a damaged or uncleanly closed file costs at the final size: an
// opening after an unclean end (every page checked) against a plain one, and the recovery
// of a file whose header is lost.
//
//   dbbench [--files N] [--no-damage]     (default 100000 files)
//
// Exit status 0, 1 when the rate falls short of the goal (0.8 x the bare rate at 10,000
// files and at the final size), 2 when a database can't be opened or a batch fails.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../../tests/outside/database/dbtest.h"
#include "barerows.h"
#include "benchcommon.h"

namespace {

const char kFolder[] = "D:\\Pictures\\2010_05_01";
const double kGoal = 0.8;  // of the bare rate
// Each batch is timed in parts, ours and bare in turned order, so that a change of the
// machine's load falls on both.
const int kParts = 5;

// Seconds one opening of the database takes.
double TimeOpen(HRESULT* hr) {
  double start = bench::Now();
  *hr = VxDBWInitDatabase();
  double took = bench::Now() - start;
  VxDBWExitDatabase(-1);
  return took;
}

int TimeDamage(const std::string& dir, int files) {
  char file[MAX_PATH];
  if (FAILED(VxDBGetFile(file, MAX_PATH))) return 2;
  HRESULT hr = S_OK;
  printf("  plain opening:                %7.3f s\n", TimeOpen(&hr));
  // The log a process that ended without closing leaves behind.
  HANDLE log = CreateFileA((std::string(file) + "-wal").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (log == INVALID_HANDLE_VALUE) return 2;
  CloseHandle(log);
  printf("  opening after an unclean end: %7.3f s (every page checked)\n", TimeOpen(&hr));
  // Garbage over the header: set aside, recovered, carried over.
  HANDLE h = CreateFileA(file, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  DWORD wrote = 0;
  if (h == INVALID_HANDLE_VALUE || !WriteFile(h, "garbage garbage garbage!", 24, &wrote, nullptr)) return 2;
  CloseHandle(h);
  VxDBSetFolder(nullptr);  // a new folder setting forgets what the last open found
  VxDBSetFolder(dir.c_str());
  double took = TimeOpen(&hr);
  VXDBHEALTH health = {};
  VxDBGetHealth(&health);
  printf("  opening a file whose header is lost: %7.3f s, %lu of %d files carried over\n", took,
         (unsigned long)health.dwSalvagedFiles, files);
  return SUCCEEDED(hr) ? 0 : 2;
}

}  // namespace

bool Open(const std::string& dir) { return SUCCEEDED(VxDBSetFolder(dir.c_str())) && SUCCEEDED(VxDBWInitDatabase()); }

// Files first..first+n-1 registered in one batch into the open database. Seconds, or
// negative on a failure.
double Register(int first, int n) {
  const double start = bench::Now();
  bool ok = VxDBWBeginBatch() == S_OK;
  for (int i = first; ok && i < first + n; ++i) ok = dbtest::RegisterLikeImport(dbtest::PathOf(kFolder, i), i) == S_OK;
  ok = VxDBWEndBatch() == S_OK && ok;
  const double took = bench::Now() - start;
  return ok ? took : -1;
}

int main(int argc, char** argv) {
  int total = 100000;
  bool damage = true;
  for (int i = 1; i < argc; ++i) {
    if (!strcmp(argv[i], "--files") && i + 1 < argc) {
      total = atoi(argv[++i]);
    } else if (!strcmp(argv[i], "--no-damage")) {
      damage = false;
    } else {
      fprintf(stderr, "usage: dbbench [--files N] [--no-damage]\n");
      return 2;
    }
  }
  if (total < 1) return 2;
  const int batch = total < 10000 ? total : 10000;
  const std::string ours = dbtest::NewTempFolder("bench"), rowsDir = dbtest::NewTempFolder("rows"),
                    bareDir = dbtest::NewTempFolder("bare");
  const std::string bareFile = bareDir + "\\bare.db";
  // The schema the bare side gets: the database's own, read from a fresh one.
  bench::Rows schema;
  char file[MAX_PATH];
  if (FAILED(VxDBSetFolder(rowsDir.c_str())) || FAILED(VxDBWInitDatabase()) || FAILED(VxDBGetFile(file, MAX_PATH)) ||
      !bench::ReadRows(file, &schema)) {
    fprintf(stderr, "dbbench: the database in %s can't be opened\n", rowsDir.c_str());
    return 2;
  }
  VxDBWExitDatabase(-1);
  const std::string rowsFile = file;
  printf("dbbench: %d files in batches of %d; each batch entered by the import's one-call registration\n"
         "  and, in turned order, its rows inserted bare into a database of the same size\n",
         total, batch);
  int status = 0, done = 0, round = 0;
  double oursAll = 0, bareAll = 0, firstRatio = 0, lastRatio = 0;
  while (done < total) {
    const int n = total - done < batch ? total - done : batch;
    // The batch's rows, part by part.
    std::vector<std::unique_ptr<bench::Rows>> parts;
    bool ok = Open(rowsDir);
    for (int p = 0; ok && p < kParts; ++p) {
      const int first = done + n * p / kParts, count = done + n * (p + 1) / kParts - first;
      ok = Register(first, count) >= 0;
    }
    VxDBWExitDatabase(-1);
    for (int p = 0; ok && p < kParts; ++p) {
      parts.emplace_back(new bench::Rows);
      ok = bench::ReadRows(rowsFile, parts.back().get(), done + n * p / kParts, done + n * (p + 1) / kParts);
      parts.back()->schema = schema.schema;
    }
    // Both databases open for the batch; its parts timed in turned order.
    sqlite3* bare = ok && Open(ours) ? bench::OpenBare(bareFile, schema) : nullptr;
    double oursTook = 0, bareTook = 0;
    size_t rowCount = 0;
    for (int p = 0; bare && p < kParts; ++p) {
      const int first = done + n * p / kParts, count = done + n * (p + 1) / kParts - first;
      for (int side = 0; ok && side < 2; ++side) {
        const bool oursNow = (side == 0) == ((round * kParts + p) % 2 == 0);
        const double took = oursNow ? Register(first, count) : bench::InsertBare(bare, *parts[p]);
        ok = took >= 0;
        (oursNow ? oursTook : bareTook) += took;
      }
      rowCount += parts[p]->Count();
    }
    VxDBWExitDatabase(-1);
    if (bare) sqlite3_close(bare);
    if (!bare || !ok) {
      status = 2;
      break;
    }
    done += n;
    const double ratio = bareTook / oursTook;  // our rate over the bare rate
    if (round == 0) firstRatio = ratio;
    lastRatio = ratio;
    printf("  %7d files: registration %7.0f files/s, bare inserts %7.0f files/s (%zu rows): %.2f x the bare rate\n",
           done, n / oursTook, n / bareTook, rowCount, ratio);
    oursAll += oursTook;
    bareAll += bareTook;
    ++round;
  }
  if (status == 0) {
    const bool met = firstRatio >= kGoal && lastRatio >= kGoal;
    printf("dbbench: overall %.0f files/s against %.0f bare: %.2f x; at %d files %.2f x, at %d files %.2f x"
           " (goal at least %.1f x at both): %s\n",
           done / oursAll, done / bareAll, bareAll / oursAll, batch, firstRatio, done, lastRatio, kGoal,
           met ? "met" : "NOT met");
    if (!met) status = 1;
  }
  if (status != 2 && damage) {
    VxDBSetFolder(ours.c_str());
    int files = 0;
    VxDBWInitDatabase();
    VxDBGetFileCount(&files);
    VxDBWExitDatabase(-1);
    printf("dbbench: opening the database of %d files\n", files);
    if (TimeDamage(ours, files) != 0) status = 2;
  }
  VxDBSetFolder(nullptr);
  dbtest::RemoveTree(ours);
  dbtest::RemoveTree(rowsDir);
  dbtest::RemoveTree(bareDir);
  return status;
}
