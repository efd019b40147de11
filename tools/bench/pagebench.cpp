// Thumbnails per second through the thumbnail library: a folder of camera-size JPEGs is
// scanned into a CThumbnailPage and its pictures are made by the library's decoder
// thread, as the browser does; the same files are also decoded at full size.
//
//   pagebench [folder] [--rounds N] [--box N] [--embedded]
//
// --embedded measures the embedded-thumbnail path alone (many rounds of it take
// seconds, where the full-size decodes take minutes), exit status 0 or 2.
//
// The folder (default: benchdata beside the program, made by make-bench-images.sh) holds
// "thumb" (JPEGs with an embedded Exif thumbnail) and "nothumb" (the same without). Each
// round clears every picture and decodes the page again; figures are thumbnails per
// second from DecodeStart to the last callback. The embedded-thumbnail path must be at
// least 20 times faster than a full-size decode: exit status 0 when it is, 1 when not,
// 2 on errors.
#include <VxGUIDB.h>
#include <imaging/com.h>
#include <imaging/decode.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "benchcommon.h"

namespace {

struct Progress {
  volatile LONG done = 0;
  HANDLE all = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  LONG want = 0;
};

void OnDecoded(CThumbnail*, void* ctx) {
  Progress* p = static_cast<Progress*>(ctx);
  if (InterlockedIncrement(&p->done) == p->want) SetEvent(p->all);
}

struct Result {
  int files = 0;
  int pictures = 0;  // items that came out as real pictures
  double seconds = 0;
  double PerSecond() const { return seconds > 0 ? files / seconds : 0; }
};

// Scans the folder into a page and lets the decoder make every picture, `rounds` times.
// The folder goes into the page four times over, so that a round holds as many items as
// a small folder of a camera card and the decoder's start-up counts as it does there.
bool ThroughThePage(const std::string& folder, int rounds, int box, Result* r) {
  CThumbnailPage page(VXPAGE_FOLDER, 1);
  for (int i = 0; i < 4; ++i)
    if (page.Add(folder.c_str(), FALSE, nullptr, 0) != 0) return false;
  if (page.GetCount() == 0) return false;
  std::vector<CThumbnail*> items;
  for (int i = 0; i < page.GetCount(); ++i) items.push_back(page.GetAt(i));
  CThumbnailPage::SetDecodeTumbnailList(items);
  CThumbnailPage::SetDecodeStartPos(0);
  CThumbnailPage::SetDecodeCount(int(items.size()));
  for (int round = -1; round < rounds; ++round) {  // round -1 warms caches and codecs up
    for (CThumbnail* t : items) t->ClearImage(FALSE);
    Progress p;
    p.want = LONG(items.size());
    double start = bench::Now();
    if (FAILED(CThumbnailPage::DecodeStart(CSize(box, box), OnDecoded, &p))) return false;
    DWORD wait = WaitForSingleObject(p.all, 600000);
    double took = bench::Now() - start;
    CThumbnailPage::DecodeStop();
    CloseHandle(p.all);
    if (wait != WAIT_OBJECT_0) return false;
    if (round >= 0) {
      r->files += int(items.size());
      r->seconds += took;
    }
  }
  for (CThumbnail* t : items)
    if (t->GetDecodeImageType() == VXIMAGE_PICTURE) ++r->pictures;
  return true;
}

bool FullSize(const std::string& folder, int rounds, Result* r) {
  std::vector<std::string> files = bench::JpegsIn(folder);
  if (files.empty()) return false;
  imaging::ComScope com;
  for (int round = -1; round < rounds; ++round) {
    double start = bench::Now();
    for (const std::string& f : files) {
      imaging::Dib d;
      imaging::DecodeOptions opt;  // the whole picture, full size
      if (SUCCEEDED(imaging::DecodeFile(f.c_str(), opt, &d)) && d.Width() >= 1000 && round >= 0) ++r->pictures;
    }
    if (round >= 0) {
      r->files += int(files.size());
      r->seconds += bench::Now() - start;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  bool embeddedOnly = false;
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    if (i > 0 && !strcmp(argv[i], "--embedded"))
      embeddedOnly = true;
    else
      rest.push_back(argv[i]);
  }
  bench::Args args;
  if (!bench::ParseArgs(int(rest.size()), rest.data(), "pagebench", &args)) return 2;
  const std::string& folder = args.folder;
  const int rounds = args.rounds, box = args.box;
  printf("pagebench: %s, box %d x %d, %d round(s), through CThumbnailPage and its decoder\n", folder.c_str(), box,
         box, rounds);
  Result embedded, reduced, full;
  auto line = [](const char* name, const Result& r) {
    printf("  %-40s %4d thumbnails  %8.1f per second  %8.2f ms each\n", name, r.files, r.PerSecond(),
           r.files ? 1000.0 * r.seconds / r.files : 0.0);
  };
  if (embeddedOnly) {
    if (!ThroughThePage(folder + "\\thumb", rounds, box, &embedded)) {
      fprintf(stderr, "no pictures in %s (make them with tools/bench/make-bench-images.sh)\n", folder.c_str());
      return 2;
    }
    line("page + decoder, embedded Exif thumbnail", embedded);
    return 0;
  }
  if (!ThroughThePage(folder + "\\thumb", rounds, box, &embedded) ||
      !ThroughThePage(folder + "\\nothumb", rounds, box, &reduced) || !FullSize(folder + "\\thumb", rounds, &full)) {
    fprintf(stderr, "no pictures in %s (make them with tools/bench/make-bench-images.sh)\n", folder.c_str());
    return 2;
  }
  line("page + decoder, embedded Exif thumbnail", embedded);
  line("page + decoder, no thumbnail (reduced)", reduced);
  line("full-size decode of the same files", full);
  double ratio = full.PerSecond() > 0 ? embedded.PerSecond() / full.PerSecond() : 0;
  printf("  embedded / full-size decode: %.0f x (at least 20 x required): %s\n", ratio, ratio >= 20 ? "PASS" : "FAIL");
  return ratio >= 20 ? 0 : 1;
}
