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
// least 20 times faster than a full-size decode, and pictures without one (decoded at a
// reduced DCT scale) and the enlarged view's picture (CCMDIB::LoadFit into 1280 x 1024,
// upright) at least 4 times faster than the reference measured in the same run: the
// full-size decode plus the fit into the same box. Exit status 0 when all hold, 1 when
// not, 2 on errors.
#include <Kitlib2/Kitlib2.h>
#include <VxGUIDB.h>
#include <imaging/com.h>
#include <imaging/decode.h>
#include <imaging/transform.h>

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

// Runs one(file) over every JPEG of the folder, `rounds` times after a warm-up round;
// one answers whether a picture came out.
template <class F>
bool EachFileTimed(const std::string& folder, int rounds, Result* r, F one) {
  std::vector<std::string> files = bench::JpegsIn(folder);
  if (files.empty()) return false;
  imaging::ComScope com;
  for (int round = -1; round < rounds; ++round) {
    double start = bench::Now();
    for (const std::string& f : files)
      if (one(f) && round >= 0) ++r->pictures;
    if (round >= 0) {
      r->files += int(files.size());
      r->seconds += bench::Now() - start;
    }
  }
  return true;
}

// The whole picture at full size, then fitted into box x boxH when box is given: the
// reference.
bool FullSize(const std::string& folder, int rounds, Result* r, int box = 0, int boxH = 0) {
  return EachFileTimed(folder, rounds, r, [&](const std::string& f) {
    imaging::Dib d;
    imaging::DecodeOptions opt;  // the whole picture, full size
    bool ok = SUCCEEDED(imaging::DecodeFile(f.c_str(), opt, &d)) && d.Width() >= 1000;
    if (ok && box > 0) {
      SIZE fit = imaging::FitSize(d.Width(), d.Height(), box, boxH > 0 ? boxH : box);
      ok = imaging::Resize(d, fit.cx, fit.cy, &d);
    }
    return ok;
  });
}

// The enlarged view's load: the picture fitted into the box, upright, then fitted into a
// buffer of the view's size.
bool EnlargedLoads(const std::string& folder, int rounds, int boxW, int boxH, Result* r) {
  return EachFileTimed(folder, rounds, r, [&](const std::string& f) {
    CCMDIB picture, buffer;
    return picture.LoadFit(f.c_str(), SIZE{boxW, boxH}, CMDIB_LOAD_UPRIGHT) >= 0 &&
           picture.ResizeFilter(SIZE{boxW, boxH}, &buffer, 33) >= 0;
  });
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
  Result embedded, reduced, full, fullBox, fullView, enlarged;
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
      !ThroughThePage(folder + "\\nothumb", rounds, box, &reduced) || !FullSize(folder + "\\thumb", rounds, &full) ||
      !FullSize(folder + "\\nothumb", rounds, &fullBox, box) ||
      !FullSize(folder + "\\nothumb", rounds, &fullView, 1280, 1024) ||
      !EnlargedLoads(folder + "\\nothumb", rounds, 1280, 1024, &enlarged)) {
    fprintf(stderr, "no pictures in %s (make them with tools/bench/make-bench-images.sh)\n", folder.c_str());
    return 2;
  }
  line("page + decoder, embedded Exif thumbnail", embedded);
  line("page + decoder, no thumbnail (reduced)", reduced);
  line("full-size decode of the same files", full);
  line("reference: full-size decode + fit to the box", fullBox);
  line("reference: full-size decode + fit, 1280 x 1024", fullView);
  line("enlarged view: LoadFit 1280 x 1024 + fit", enlarged);
  auto rate = [](const Result& a, const Result& b) { return b.PerSecond() > 0 ? a.PerSecond() / b.PerSecond() : 0; };
  double ratio = rate(embedded, full), noThumb = rate(reduced, fullBox), view = rate(enlarged, fullView);
  printf("  embedded / full-size decode: %.0f x (at least 20 x required): %s\n", ratio, ratio >= 20 ? "PASS" : "FAIL");
  printf("  no thumbnail / reference: %.1f x (at least 4 x required): %s\n", noThumb, noThumb >= 4 ? "PASS" : "FAIL");
  printf("  enlarged view / reference: %.1f x (at least 4 x required): %s\n", view, view >= 4 ? "PASS" : "FAIL");
  return ratio >= 20 && noThumb >= 4 && view >= 4 ? 0 : 1;
}
