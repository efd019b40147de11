// Registration rate of the photo database as it grows: files are registered the way the
// import registers them, in batches of ten thousand, into a fresh database in a temporary
// folder, and each batch's rate is printed. Then what a damaged or uncleanly closed file
// costs at that size: an opening after an unclean end (every page checked) against a plain
// one, and the recovery of a file whose header is lost.
//
//   dbbench [--files N]     (default 100000)
//
// Exit status 0, or 2 when the database can't be opened or a batch fails.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "../../tests/outside/database/dbtest.h"
#include "benchcommon.h"

namespace {

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

int main(int argc, char** argv) {
  int total = 100000;
  for (int i = 1; i < argc; ++i) {
    if (!strcmp(argv[i], "--files") && i + 1 < argc) {
      total = atoi(argv[++i]);
    } else {
      fprintf(stderr, "usage: dbbench [--files N]\n");
      return 2;
    }
  }
  const int kBatch = 10000;
  std::string dir = dbtest::NewTempFolder("bench");
  if (FAILED(VxDBSetFolder(dir.c_str())) || FAILED(VxDBWInitDatabase())) {
    fprintf(stderr, "dbbench: the database in %s can't be opened\n", dir.c_str());
    return 2;
  }
  printf("dbbench: %d files in batches of %d, database in %s\n", total, kBatch, dir.c_str());
  int status = 0;
  double all = 0;
  for (int done = 0; done < total;) {
    int n = total - done < kBatch ? total - done : kBatch;
    double start = bench::Now();
    if (VxDBWBeginBatch() != S_OK) {
      status = 2;
      break;
    }
    for (int i = done; i < done + n; ++i) dbtest::RegisterLikeImport(dbtest::PathOf("D:\\Pictures\\2010_05_01", i), i);
    if (VxDBWEndBatch() != S_OK) {
      status = 2;
      break;
    }
    double took = bench::Now() - start;
    all += took;
    done += n;
    printf("  %7d files in the database: this batch %8.0f files per second\n", done, n / took);
  }
  int files = 0;
  VxDBGetFileCount(&files);
  printf("  overall %8.0f files per second (%d files)\n", all > 0 ? files / all : 0.0, files);
  VxDBWExitDatabase(-1);
  if (status == 0) status = TimeDamage(dir, files);
  VxDBSetFolder(nullptr);
  dbtest::RemoveTree(dir);
  return status;
}
