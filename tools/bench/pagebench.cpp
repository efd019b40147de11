// Thumbnails through the thumbnail library: a folder of camera-size JPEGs is scanned into a
// CThumbnailPage and its pictures are made by the library's decoder, as the browser does.
//
//   pagebench [folder] [--rounds N] [--box N] [--embedded] [--floors] [--scaling]
//
// The folder (default: benchdata beside the program, made by make-bench-images.sh) holds
// "thumb" (24 MP JPEGs with an embedded Exif thumbnail), "nothumb" (the same without) and
// "scale100"/"scale10000" (one small camera JPEG 100 and 10,000 times over).
//
// Floors (the references, measured in the same run, alternated with the page round by
// round; the page with one decoder thread, as the references run on one):
//   - embedded thumbnail: one 64 KB read of each file (open, read, close); goal: the page
//     within 2 x of it;
//   - no thumbnail: libjpeg-turbo's 1/8 scaled decode of the file's bytes (the file read
//     whole, then decoded; no thumbnail, no fit); goal: the page within 1.3 x of it;
//   - the enlarged view's picture (CCMDIB::LoadFit into 1280 x 1024, upright): at least
//     4 x faster than the full-size decode plus the fit.
// Scaling: the page with its decoder threads (scan, decode every picture, stop, delete)
// over 100 and over 10,000 files, alternated; goal: the cost per file at 10,000 within
// 1.2 x of that at 100. Per stage costs are printed so that where the time goes shows.
//
// --embedded times the embedded-thumbnail road alone (many rounds take seconds); --floors
// and --scaling run one part only. Exit status 0 when every goal measured holds, 1 when
// not, 2 on errors.
#include <Kitlib2/Kitlib2.h>
#include <VxGUIDB.h>
#include <imaging/com.h>
#include <imaging/decode.h>
#include <imaging/transform.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "benchcommon.h"
#include "floors.h"

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
  double Each() const { return files ? seconds / files : 0; }
  void Add(const Result& r) {
    files += r.files;
    pictures += r.pictures;
    seconds += r.seconds;
  }
};

// Lets the decoder make the picture of every item of the page (the first `window` items as
// the decode window, 0: all); false when it failed or took longer than ten minutes.
bool DecodeAll(CThumbnailPage& page, int box, int window) {
  std::vector<CThumbnail*> items;
  for (int i = 0; i < page.GetCount(); ++i) items.push_back(page.GetAt(i));
  CThumbnailPage::SetDecodeTumbnailList(items);
  CThumbnailPage::SetDecodeStartPos(0);
  CThumbnailPage::SetDecodeCount(window > 0 ? window : int(items.size()));
  Progress p;
  p.want = LONG(items.size());
  bool ok = SUCCEEDED(CThumbnailPage::DecodeStart(CSize(box, box), OnDecoded, &p)) &&
            WaitForSingleObject(p.all, 600000) == WAIT_OBJECT_0;
  CThumbnailPage::DecodeStop();
  CThumbnailPage::ClearDecodeThumbnailList();
  CloseHandle(p.all);
  return ok;
}

int PicturesOf(const CThumbnailPage& page) {
  int n = 0;
  for (int i = 0; i < page.GetCount(); ++i)
    if (page.GetAt(i)->GetDecodeImageType() == VXIMAGE_PICTURE) ++n;
  return n;
}

// A page holding the folder four times over (a small card folder's worth of items), kept
// over the rounds; each round clears every picture and decodes the page again.
class FloorPage {
 public:
  explicit FloorPage(const std::string& folder) : page_(VXPAGE_FOLDER, 1) {
    for (int i = 0; i < 4; ++i)
      if (page_.Add(folder.c_str(), FALSE, nullptr, 0) != 0) return;
    for (int i = 0; i < page_.GetCount(); ++i) paths_.push_back((LPCSTR)page_.GetAt(i)->GetFilePath());
  }
  const std::vector<std::string>& Paths() const { return paths_; }
  bool Round(int box, Result* r) {
    for (int i = 0; i < page_.GetCount(); ++i) page_.GetAt(i)->ClearImage(FALSE);
    double start = bench::Now();
    if (!DecodeAll(page_, box, 0)) return false;
    r->seconds += bench::Now() - start;
    r->files += page_.GetCount();
    r->pictures += PicturesOf(page_);
    return true;
  }
  // The same items made one by one in the calling thread (no decoder threads, no callbacks):
  // what the decoder's threads add shows beside it.
  bool InCaller(int box, Result* r) {
    imaging::ComScope com;  // as a decoder thread holds it, not once per item
    for (int i = 0; i < page_.GetCount(); ++i) page_.GetAt(i)->ClearImage(FALSE);
    double start = bench::Now();
    for (int i = 0; i < page_.GetCount(); ++i) {
      CThumbnail* t = page_.GetAt(i);
      t->SetDecodeSize(box, box);
      if (FAILED(t->DecodeThumbnail())) return false;
    }
    r->seconds += bench::Now() - start;
    r->files += page_.GetCount();
    r->pictures += PicturesOf(page_);
    return true;
  }

 private:
  CThumbnailPage page_;
  std::vector<std::string> paths_;
};

// one(path) over every path, timed; one answers whether it got what it should.
template <class F>
void EachTimed(const std::vector<std::string>& paths, Result* r, F one) {
  double start = bench::Now();
  for (const std::string& f : paths)
    if (one(f)) ++r->pictures;
  r->seconds += bench::Now() - start;
  r->files += int(paths.size());
}

void Line(const char* name, const Result& r) {
  printf("  %-46s %6d files  %9.3f ms each%s\n", name, r.files, 1000.0 * r.Each(),
         r.pictures == r.files ? "" : "  (FAILURES)");
}

bool Goal(const char* what, double ratio, double limit, bool atMost) {
  bool met = atMost ? ratio <= limit : ratio >= limit;
  printf("  %s: %.2f x (goal: %s %.1f x): %s\n", what, ratio, atMost ? "at most" : "at least", limit,
         met ? "MET" : "NOT MET");
  return met;
}

// The thumbnail roads against their floors, alternated round by round.
int Floors(const std::string& folder, int rounds, int box, bool embeddedOnly) {
  FloorPage thumb(folder + "\\thumb"), nothumb(folder + "\\nothumb");
  if (thumb.Paths().empty() || nothumb.Paths().empty()) return 2;
  CThumbnailPage::SetDecodeThreadCount(1);
  Result embedded, inCaller, read64, reduced, scaled;
  for (int round = -1; round < rounds; ++round) {  // round -1 warms caches and codecs up
    Result e, c, r, n, s;
    EachTimed(thumb.Paths(), &r, [](const std::string& f) { return bench::ReadHead64K(f); });
    if (!thumb.Round(box, &e)) return 2;
    if (!thumb.InCaller(box, &c)) return 2;
    if (!embeddedOnly) {
      EachTimed(nothumb.Paths(), &s, [](const std::string& f) { return bench::ScaledDecode(f); });
      if (!nothumb.Round(box, &n)) return 2;
    }
    if (round < 0) continue;
    embedded.Add(e);
    inCaller.Add(c);
    read64.Add(r);
    reduced.Add(n);
    scaled.Add(s);
  }
  CThumbnailPage::SetDecodeThreadCount(0);
  printf("floors: the page with one decoder thread, box %d x %d, %d round(s), alternated\n", box, box, rounds);
  Line("floor: one 64 KB read of each file", read64);
  Line("page + decoder, embedded Exif thumbnail", embedded);
  Line("  stage: the items made in the calling thread", inCaller);
  bool ok = Goal("embedded / 64 KB read", embedded.Each() / read64.Each(), 2.0, true);
  if (embeddedOnly) return ok ? 0 : 1;
  Line("floor: libjpeg-turbo 1/8 decode of the file", scaled);
  Line("page + decoder, no thumbnail", reduced);
  ok &= Goal("no thumbnail / 1/8 decode", reduced.Each() / scaled.Each(), 1.3, true);
  return ok ? 0 : 1;
}

// The enlarged view's load (the picture fitted into the box, upright, then into a buffer
// of the view's size) against the full-size decode plus the fit, alternated.
int EnlargedView(const std::string& folder, int rounds) {
  std::vector<std::string> files = bench::JpegsIn(folder + "\\nothumb");
  if (files.empty()) return 2;
  imaging::ComScope com;
  const int boxW = 1280, boxH = 1024;
  Result full, enlarged;
  for (int round = -1; round < rounds; ++round) {
    Result f, e;
    EachTimed(files, &f, [&](const std::string& path) {
      imaging::Dib d;
      imaging::DecodeOptions opt;  // the whole picture, full size
      if (FAILED(imaging::DecodeFile(path.c_str(), opt, &d)) || d.Width() < 1000) return false;
      SIZE fit = imaging::FitSize(d.Width(), d.Height(), boxW, boxH);
      return imaging::Resize(d, fit.cx, fit.cy, &d);
    });
    EachTimed(files, &e, [&](const std::string& path) {
      CCMDIB picture, buffer;
      return picture.LoadFit(path.c_str(), SIZE{boxW, boxH}, CMDIB_LOAD_UPRIGHT) >= 0 &&
             picture.ResizeFilter(SIZE{boxW, boxH}, &buffer, 33) >= 0;
    });
    if (round < 0) continue;
    full.Add(f);
    enlarged.Add(e);
  }
  printf("enlarged view: %d round(s), alternated\n", rounds);
  Line("reference: full-size decode + fit, 1280 x 1024", full);
  Line("enlarged view: LoadFit 1280 x 1024 + fit", enlarged);
  return Goal("full-size decode + fit / enlarged view", full.Each() / enlarged.Each(), 4.0, false) ? 0 : 1;
}

// One pass of the page with its decoder threads over a folder: scan, decode every
// picture, stop, delete; the stages' times added to the results.
struct Stages {
  Result add, decode, end, all;
};

bool PagePass(const std::string& folder, int box, Stages* st) {
  double t0 = bench::Now();
  auto* page = new CThumbnailPage(VXPAGE_FOLDER, 1);
  bool ok = page->Add(folder.c_str(), FALSE, nullptr, 0) == 0 && page->GetCount() > 0;
  double t1 = bench::Now();
  // The browser's window: a screen of items first, the rest while the pixels leave room.
  ok = ok && DecodeAll(*page, box, 60);
  double t2 = bench::Now();
  const int n = page->GetCount(), pictures = PicturesOf(*page);
  delete page;
  double t3 = bench::Now();
  st->add.Add(Result{n, pictures, t1 - t0});
  st->decode.Add(Result{n, pictures, t2 - t1});
  st->end.Add(Result{n, pictures, t3 - t2});
  st->all.Add(Result{n, pictures, t3 - t0});
  return ok;
}

int Scaling(const std::string& folder, int rounds, int box) {
  const std::string small = folder + "\\scale100", large = folder + "\\scale10000";
  if (bench::JpegsIn(small).size() != 100 || bench::JpegsIn(large).size() != 10000) return 2;
  // Every picture of 10,000 kept: the pass ends when all are made.
  CThumbnailPage::SetPixelBudget(2048ULL << 20);
  Stages at100, at10000;
  for (int round = -1; round < rounds; ++round) {
    Stages s, l;
    for (int k = 0; k < 20; ++k)  // as many passes as make the figure readable
      if (!PagePass(small, box, &s)) return 2;
    if (!PagePass(large, box, &l)) return 2;
    if (round < 0) continue;
    for (auto [from, to] : {std::pair{&s, &at100}, std::pair{&l, &at10000}}) {
      to->add.Add(from->add);
      to->decode.Add(from->decode);
      to->end.Add(from->end);
      to->all.Add(from->all);
    }
  }
  CThumbnailPage::SetPixelBudget(0);
  printf("scaling: the page with %d decoder thread(s), box %d x %d, %d round(s), alternated\n",
         CThumbnailPage::GetDecodeThreadCount(), box, box, rounds);
  for (auto [name, st] : {std::pair{"100 files", &at100}, std::pair{"10,000 files", &at10000}}) {
    printf("  %-13s per file: all %8.3f ms  (scan %.3f, decode %.3f, stop and delete %.3f)%s\n", name,
           1000.0 * st->all.Each(), 1000.0 * st->add.Each(), 1000.0 * st->decode.Each(), 1000.0 * st->end.Each(),
           st->all.pictures == st->all.files ? "" : "  (FAILURES)");
  }
  return Goal("cost per file at 10,000 / at 100", at10000.all.Each() / at100.all.Each(), 1.2, true) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  bool embeddedOnly = false, floorsOnly = false, scalingOnly = false;
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    if (i > 0 && !strcmp(argv[i], "--embedded"))
      embeddedOnly = true;
    else if (i > 0 && !strcmp(argv[i], "--floors"))
      floorsOnly = true;
    else if (i > 0 && !strcmp(argv[i], "--scaling"))
      scalingOnly = true;
    else
      rest.push_back(argv[i]);
  }
  bench::Args args;
  if (!bench::ParseArgs(int(rest.size()), rest.data(), "pagebench", &args)) return 2;
  printf("pagebench: %s, through CThumbnailPage and its decoder\n", args.folder.c_str());
  fflush(stdout);
  const double start = bench::Now();
  int worst = 0;
  auto part = [&](int status) {
    if (status == 2)
      fprintf(stderr, "pictures missing in %s (make them: cmake --build build --target bench-images)\n",
              args.folder.c_str());
    worst = std::max(worst, status);
    fflush(stdout);
  };
  if (!scalingOnly) part(Floors(args.folder, args.rounds, args.box, embeddedOnly));
  if (!scalingOnly && !floorsOnly && !embeddedOnly) part(EnlargedView(args.folder, args.rounds));
  if (!floorsOnly && !embeddedOnly) part(Scaling(args.folder, args.rounds, args.box));
  printf("pagebench: %.0f s\n", bench::Now() - start);
  return worst;
}
