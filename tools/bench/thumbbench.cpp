// Thumbnail benchmark: thumbnails per second from camera-size JPEGs.
//
//   thumbbench [folder] [--rounds N] [--box N]
//
// The folder (default: benchdata beside the program, made by
// make-bench-images.sh) holds "thumb" (JPEGs with an embedded Exif thumbnail)
// and "nothumb" (the same pictures without one). Each method below runs over
// its set of files `rounds` times after one warm-up pass; the figures are
// thumbnails per second. The embedded-thumbnail path must be at least 20 times
// faster than a full decode: the exit status is 0 when it is, 1 when not,
// 2 on errors.
//
// To measure another thumbnail maker (a library's page and decoder), add a
// Method to the table in main(): a name, the file set and a function that makes
// one thumbnail and says whether it did.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "benchcommon.h"
#include "imaging/com.h"
#include "imaging/decode.h"

namespace {

struct Method {
  const char* name;
  const char* set;  // "thumb" or "nothumb"
  std::function<bool(const std::string& path, int box)> run;
};

struct Result {
  int files = 0;
  int failures = 0;
  double seconds = 0;
  double PerSecond() const { return seconds > 0 ? (files - failures) / seconds : 0; }
};

Result Measure(const Method& m, const std::vector<std::string>& files, int rounds, int box) {
  for (const std::string& f : files) m.run(f, box);  // warm-up: file cache, codec loading
  Result r;
  double start = bench::Now();
  for (int i = 0; i < rounds; ++i)
    for (const std::string& f : files) {
      ++r.files;
      if (!m.run(f, box)) ++r.failures;
    }
  r.seconds = bench::Now() - start;
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  bench::Args args;
  if (!bench::ParseArgs(argc, argv, "thumbbench", &args)) return 2;
  const std::string& folder = args.folder;
  const int rounds = args.rounds, box = args.box;
  imaging::ComScope com;  // held for the whole run, as a decoder thread does

  const std::vector<Method> methods = {
      {"embedded Exif thumbnail", "thumb",
       [](const std::string& path, int b) {
         imaging::Dib d;
         imaging::DecodeReport rep;
         return SUCCEEDED(imaging::DecodeThumbnail(path.c_str(), b, b, &d, &rep)) && rep.fromThumbnail;
       }},
      {"reduced decode (no thumbnail)", "nothumb",
       [](const std::string& path, int b) {
         imaging::Dib d;
         imaging::DecodeReport rep;
         return SUCCEEDED(imaging::DecodeThumbnail(path.c_str(), b, b, &d, &rep)) && !rep.fromThumbnail;
       }},
      {"full-size decode", "thumb",
       [](const std::string& path, int) {
         imaging::Dib d;
         imaging::DecodeOptions opt;
         return SUCCEEDED(imaging::DecodeFile(path.c_str(), opt, &d)) && d.Width() >= 1000;
       }},
  };

  printf("thumbbench: %s, box %d x %d, %d round(s)\n", folder.c_str(), box, box, rounds);
  std::vector<Result> results;
  for (const Method& m : methods) {
    std::vector<std::string> files = bench::JpegsIn(folder + "\\" + m.set);
    if (files.empty()) {
      fprintf(stderr, "no JPEGs in %s\\%s (make them with tools/bench/make-bench-images.sh)\n", folder.c_str(),
              m.set);
      return 2;
    }
    imaging::ImageInfo info;
    imaging::ProbeImage(files[0].c_str(), &info);
    Result r = Measure(m, files, rounds, box);
    results.push_back(r);
    printf("  %-32s %3d files (%dx%d)  %8.1f thumbnails/s  %8.2f ms each%s\n", m.name, r.files, info.width,
           info.height, r.PerSecond(), r.files ? 1000.0 * r.seconds / r.files : 0.0,
           r.failures ? "  FAILURES" : "");
    fflush(stdout);
  }
  bool failed = false;
  for (const Result& r : results) failed |= r.failures > 0;
  double ratio = results[2].PerSecond() > 0 ? results[0].PerSecond() / results[2].PerSecond() : 0;
  printf("  embedded / full-size decode: %.0f x (at least 20 x required): %s\n", ratio,
         ratio >= 20 ? "PASS" : "FAIL");
  return failed ? 2 : ratio >= 20 ? 0 : 1;
}
