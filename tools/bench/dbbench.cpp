// Registration rate of the photo database as it grows: files are registered the way the
// import registers them, in batches of ten thousand, into a fresh database in a temporary
// folder, and each batch's rate is printed.
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
  VxDBSetFolder(nullptr);
  dbtest::RemoveTree(dir);
  return status;
}
