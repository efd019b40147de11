// Private bytes as the imaging engine grabs movie frames again and again: shows whether
// each grab leaves memory behind, and how much.
//   tools/wine-run build/bin/moviebench.exe [movie] [--grabs N]
#include <windows.h>

#include <imaging/movie.h>
#include <program.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  setvbuf(stdout, NULL, _IONBF, 0);
  std::string movie = testsupport::ProgramFolder() + "\\testdata\\movie.mp4";
  int grabs = 200;
  for (int i = 1; i < argc; ++i) {
    if (!strcmp(argv[i], "--grabs") && i + 1 < argc)
      grabs = atoi(argv[++i]);
    else
      movie = argv[i];
  }
  SIZE_T base = 0;
  int failed = 0;
  for (int i = 0; i <= grabs; ++i) {
    imaging::Dib frame;
    if (FAILED(imaging::GrabMovieFrame(movie.c_str(), 160, 160, &frame, nullptr, 4000))) ++failed;
    if (i == 0) base = testsupport::PrivateBytes();  // after the first grab: the engine's one-time set-up
    if (i && i % 25 == 0)
      printf("%d grabs: private %.1f MB, %.1f KB per grab, %d failed\n", i, testsupport::PrivateBytes() / 1048576.0,
             (double(testsupport::PrivateBytes()) - double(base)) / 1024.0 / i, failed);
  }
  return 0;
}
