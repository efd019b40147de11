// What the benchmark programs share: a clock and their command line.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <program.h>

namespace bench {

inline double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return double(c.QuadPart) / double(f.QuadPart);
}

// "[folder] [--rounds N] [--box N]": the pictures' folder (default benchdata beside the
// program), rounds over the files and the thumbnail box. False (usage printed) when bad.
struct Args {
  std::string folder = testsupport::ProgramFolder() + "\\benchdata";
  int rounds = 3;
  int box = 160;
};

inline bool ParseArgs(int argc, char** argv, const char* program, Args* a) {
  for (int i = 1; i < argc; ++i) {
    if (!strcmp(argv[i], "--rounds") && i + 1 < argc)
      a->rounds = atoi(argv[++i]);
    else if (!strcmp(argv[i], "--box") && i + 1 < argc)
      a->box = atoi(argv[++i]);
    else
      a->folder = argv[i];
  }
  if (a->rounds >= 1 && a->box >= 1) return true;
  fprintf(stderr, "usage: %s [folder] [--rounds N] [--box N]\n", program);
  return false;
}

// The JPEGs of a folder, as full paths.
inline std::vector<std::string> JpegsIn(const std::string& dir) {
  std::vector<std::string> files;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*.jpg").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return files;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(dir + "\\" + fd.cFileName);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return files;
}

}  // namespace bench
