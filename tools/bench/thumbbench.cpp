// Thumbnail benchmark: the imaging engine's thumbnail roads against their floors.
//
//   thumbbench [folder] [--rounds N] [--box N]
//
// The folder (default: benchdata beside the program, made by make-bench-images.sh) holds
// "thumb" (JPEGs with an embedded Exif thumbnail) and "nothumb" (the same pictures without
// one). Each round runs every method once over its files, in turn, so that each road and
// its floor are measured side by side: the embedded road against one 64 KB read of each
// file (goal: within 2 x), the reduced decode against libjpeg-turbo's 1/8 decode of the
// file read whole (goal: within 1.3 x). Exit status 0 when both hold, 1 when not, 2 on
// errors.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "benchcommon.h"
#include "floors.h"
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
  double Each() const { return files > failures ? seconds / (files - failures) : 0; }
};

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
      {"floor: one 64 KB read", "thumb", [](const std::string& path, int) { return bench::ReadHead64K(path); }},
      {"reduced decode (no thumbnail)", "nothumb",
       [](const std::string& path, int b) {
         imaging::Dib d;
         imaging::DecodeReport rep;
         return SUCCEEDED(imaging::DecodeThumbnail(path.c_str(), b, b, &d, &rep)) && !rep.fromThumbnail;
       }},
      {"floor: libjpeg-turbo 1/8 decode", "nothumb",
       [](const std::string& path, int) { return bench::ScaledDecode(path); }},
  };

  printf("thumbbench: %s, box %d x %d, %d round(s), methods alternated\n", folder.c_str(), box, box, rounds);
  std::vector<std::vector<std::string>> files;
  for (const Method& m : methods) {
    files.push_back(bench::JpegsIn(folder + "\\" + m.set));
    if (files.back().empty()) {
      fprintf(stderr, "no JPEGs in %s\\%s (make them: cmake --build build --target bench-images)\n", folder.c_str(),
              m.set);
      return 2;
    }
  }
  std::vector<Result> results(methods.size());
  for (int round = -1; round < rounds; ++round) {  // round -1 warms the file cache and codecs up
    for (size_t i = 0; i < methods.size(); ++i) {
      Result r;
      double start = bench::Now();
      for (const std::string& f : files[i]) {
        ++r.files;
        if (!methods[i].run(f, box)) ++r.failures;
      }
      r.seconds = bench::Now() - start;
      if (round < 0) continue;
      results[i].files += r.files;
      results[i].failures += r.failures;
      results[i].seconds += r.seconds;
    }
  }
  bool failed = false;
  for (size_t i = 0; i < methods.size(); ++i) {
    const Result& r = results[i];
    printf("  %-34s %4d files  %9.3f ms each%s\n", methods[i].name, r.files, 1000.0 * r.Each(),
           r.failures ? "  FAILURES" : "");
    failed |= r.failures > 0;
  }
  bool met = true;
  for (auto [what, road, floor, goal] :
       {std::tuple{"embedded / 64 KB read", 0, 1, 2.0}, std::tuple{"reduced / 1/8 decode", 2, 3, 1.3}}) {
    double ratio = results[floor].Each() > 0 ? results[road].Each() / results[floor].Each() : 0;
    printf("  %s: %.2f x (goal: at most %.1f x): %s\n", what, ratio, goal, ratio <= goal ? "MET" : "NOT MET");
    met &= ratio <= goal;
  }
  return failed ? 2 : met ? 0 : 1;
}
