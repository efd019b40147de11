// The card import against plain tools, side by side in one run, rounds in alternating order:
//  - copy: 1,000 generated files on the card drive (8 MB pictures, every 50th a 200 MB
//    movie) copied by the import (listing, verified copy) against `cp -r` into a fresh
//    folder on the same disk followed by `sync`; MB/s of each;
//  - registration: 10,000 JPEGs with Exif date, model and GPS, copied from the card by the
//    import (not timed), entered by the import's batch registration (face steps off) as the
//    import runs it after its copy (timed with the copy's parse of each file's first block,
//    right before it), and again reading every file, against bare SQLite inserts of the
//    very rows it wrote (same schema and SQLite build, prepared statements, one
//    transaction, fresh database).
//
//   importbench [--scale F] [--rounds N] [--jpegs N] [--no-copy] [--no-register]
//
// The sizes shrink by one factor when the disk can't hold three copies (--scale sets it).
// Everything is made in E:\importbench and C:\importbench and removed at the end.
// Exit status 0, 2 on a failure.
#include <windows.h>

#include <ImportPlan.h>
#include <Kitlib2/CMDIB.h>
#include <ImportRegister.h>
#include <ImportRun.h>
#include <PlaceFinder.h>
#include <RecordGate.h>
#include <VxDatabase.h>
#include <files.h>
#include <tempfolder.h>
#include <sqlite3.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "barerows.h"
#include "benchcommon.h"

using namespace cardtree;

namespace {

const char kCard[] = "E:\\importbench";
const char kWork[] = "C:\\importbench";
const double kRegisterGoal = 1.5;  // registration after the copy with its parse, in bare inserts' time

struct Options {
  double scale = 0;  // 0: full size unless the disk is short
  int rounds = 3;
  int jpegs = 10000;
  bool copy = true, reg = true;
};

bool Fail(const char* what, const std::string& detail = std::string()) {
  fprintf(stderr, "importbench: %s %s\n", what, detail.c_str());
  return false;
}

using testsupport::RemoveTree;

// Bytes that neither compress nor repeat: the disk does the full work.
bool WriteNoise(const std::string& path, uint64_t bytes, uint64_t seed) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  static std::vector<uint64_t> block(1 << 17);  // 1 MB
  uint64_t x = seed * 0x9E3779B97F4A7C15ull + 1;
  bool ok = true;
  for (uint64_t done = 0; done < bytes && ok;) {
    for (uint64_t& w : block) {
      x ^= x << 13, x ^= x >> 7, x ^= x << 17;
      w = x;
    }
    DWORD n = static_cast<DWORD>(bytes - done < (1u << 20) ? bytes - done : (1u << 20)), wrote = 0;
    ok = WriteFile(h, block.data(), n, &wrote, nullptr) && wrote == n;
    done += n;
  }
  CloseHandle(h);
  return ok;
}

// The Linux path of a Windows one (Wine's own export).
std::string UnixPath(const std::string& dos) {
  typedef char*(CDECL * ToUnix)(LPCWSTR);
  static ToUnix toUnix =
      reinterpret_cast<ToUnix>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
  WCHAR wide[MAX_PATH];
  if (!toUnix || !MultiByteToWideChar(CP_ACP, 0, dos.c_str(), -1, wide, MAX_PATH)) return std::string();
  char* unix = toUnix(wide);
  if (!unix) return std::string();
  std::string out = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return out;
}

// Runs a shell script on the Linux side and answers the seconds it reported in its last
// line, or a negative number. Wine starts Linux programs without a handle to wait on, so
// the script writes its time into a file when done.
double TimeShell(const std::string& script) {
  const std::string result = std::string(kWork) + "\\shell.out", file = std::string(kWork) + "\\shell.sh";
  DeleteFileA(result.c_str());
  const std::string unixResult = UnixPath(result);
  FILE* f = fopen(file.c_str(), "wb");
  if (!f || unixResult.empty()) return -1;
  fprintf(f, "t0=$(date +%%s%%N)\n%s\nt1=$(date +%%s%%N)\necho $((t1 - t0)) > '%s.part' && mv '%s.part' '%s'\n",
          script.c_str(), unixResult.c_str(), unixResult.c_str(), unixResult.c_str());
  fclose(f);
  std::string cmd = "\\\\?\\unix\\bin\\sh \"" + UnixPath(file) + "\"";
  STARTUPINFOA si = {sizeof si};
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  if (pi.hProcess) CloseHandle(pi.hProcess);
  if (pi.hThread) CloseHandle(pi.hThread);
  for (int waited = 0; GetFileAttributesA(result.c_str()) == INVALID_FILE_ATTRIBUTES; waited += 10) {
    if (waited > 3600 * 1000) return -1;
    Sleep(10);
  }
  f = fopen(result.c_str(), "rb");
  long long ns = -1;
  if (f) {
    if (fscanf(f, "%lld", &ns) != 1) ns = -1;
    fclose(f);
  }
  DeleteFileA(result.c_str());
  DeleteFileA(file.c_str());
  return ns < 0 ? -1 : ns / 1e9;
}

// ---- copy ----------------------------------------------------------------------------------

bool MakeCard(const Options& o, uint64_t* total, double* scale) {
  const uint64_t kPicture = 8ull << 20, kMovie = 200ull << 20;
  const int kFiles = 1000;
  uint64_t full = 0;
  for (int i = 1; i <= kFiles; ++i) full += i % 50 == 0 ? kMovie : kPicture;
  // Three copies: the card's, ours and cp's.
  ULARGE_INTEGER freeBytes = {};
  GetDiskFreeSpaceExA("C:\\", &freeBytes, nullptr, nullptr);
  *scale = o.scale > 0 ? o.scale : 1.0;
  if (o.scale <= 0 && freeBytes.QuadPart < full * 3 + (1ull << 30))
    *scale = double(freeBytes.QuadPart - (1ull << 30)) / double(full * 3);
  if (*scale <= 0) return Fail("no room on the disk");
  const std::string folder = std::string(kCard) + "\\DCIM\\100BENCH";
  MakeFolderPath(folder);
  *total = 0;
  for (int i = 1; i <= kFiles; ++i) {
    const bool movie = i % 50 == 0;
    const uint64_t bytes = static_cast<uint64_t>((movie ? kMovie : kPicture) * *scale);
    char name[32];
    snprintf(name, sizeof name, "\\BNCH%04d.%s", i, movie ? "MOV" : "JPG");
    if (!WriteNoise(folder + name, bytes, i)) return Fail("can't write", folder + name);
    *total += bytes;
  }
  return true;
}

// The import's way: plan from the card, copy every file verified. Seconds, or negative.
double OursCopy(const std::string& dest) {
  const double start = bench::Now();
  ImportSettings s;
  s.backupMode = 0;
  CopyPlan plan;
  PlanCardCopy(std::string(kCard) + "\\", dest, s, &plan);
  CopyOutcome out;
  const DWORD error = RunCopyPlan(&plan, &out);
  const double took = bench::Now() - start;
  if (error) return Fail("the import's copy failed:", SystemErrorText(error)), -1;
  return took;
}

double PlainCopy(const std::string& dest) {
  const std::string from = UnixPath(std::string(kCard) + "\\DCIM"), to = UnixPath(dest);
  if (from.empty() || to.empty()) return -1;
  return TimeShell("cp -r '" + from + "' '" + to + "' && sync");
}

bool CopyRounds(const Options& o) {
  uint64_t total = 0;
  double scale = 1;
  printf("copy: making the card's 1,000 files...\n");
  if (!MakeCard(o, &total, &scale)) return false;
  const double mb = total / 1048576.0;
  printf("copy: %.0f MB on the card (scale %.3f), %d rounds\n", mb, scale, o.rounds);
  double sumOurs = 0, sumPlain = 0;
  bool ok = true;
  for (int r = 0; r < o.rounds && ok; ++r) {
    double ours = 0, plain = 0;
    for (int side = 0; side < 2 && ok; ++side) {
      const bool oursNow = (side == 0) == (r % 2 == 0);
      const std::string dest = std::string(kWork) + (oursNow ? "\\ours" : "\\plain");
      RemoveTree(dest);
      // Each side starts with nothing of the card's making or the other side's pending on
      // the disk: a flush would otherwise pay for writing back what came before it.
      TimeShell("sync");
      if (oursNow) {
        CreateDirectoryA(dest.c_str(), nullptr);
        ok = (ours = OursCopy(dest)) > 0;
      } else {
        ok = (plain = PlainCopy(dest)) > 0;
        if (!ok) Fail("cp -r could not be run through Wine");
      }
      RemoveTree(dest);
    }
    if (!ok) break;
    printf("  round %d (%s first): ours %7.1f MB/s, cp -r + sync %7.1f MB/s, ours/cp %5.1f %%\n", r + 1,
           r % 2 == 0 ? "ours" : "cp", mb / ours, mb / plain, 100.0 * plain / ours);
    sumOurs += ours;
    sumPlain += plain;
  }
  if (ok)
    printf("copy overall: ours %.1f MB/s, cp -r + sync %.1f MB/s: %.1f %% (goal at least 90 %%)\n",
           mb * o.rounds / sumOurs, mb * o.rounds / sumPlain, 100.0 * sumPlain / sumOurs);
  RemoveTree(kCard);
  return ok;
}

// ---- registration --------------------------------------------------------------------------

// The card's JPEGs copied by the import into its folder (not timed): the registration then
// finds them as an import leaves them, with what the copy read of each.
bool MakeImportedJpegs(const Options& o, CopyPlan* plan, CopyOutcome* copied) {
  const std::string picture = testsupport::ReadWholeFile(testsupport::Fixture("exif_le.jpg"));
  if (picture.empty()) return Fail("no testdata\\exif_le.jpg beside the program (tools/make-fixtures.sh)");
  const std::string card = std::string(kCard) + "\\DCIM\\100BENCH", folder = std::string(kWork) + "\\Pictures\\2010_05_01";
  MakeFolderPath(card);
  for (int i = 1; i <= o.jpegs; ++i) {
    char name[32];
    snprintf(name, sizeof name, "\\IMG%05d.JPG", i);
    FILE* f = fopen((card + name).c_str(), "wb");
    if (!f || fwrite(picture.data(), 1, picture.size(), f) != picture.size()) return Fail("can't write", card + name);
    fclose(f);
    plan->Add(card + name, folder + name);
  }
  const double start = bench::Now();
  const DWORD error = RunCopyPlan(plan, copied);
  if (error) return Fail("the import's copy failed:", SystemErrorText(error));
  printf("registration: %d JPEGs copied by the import in %.2f s (not timed below)\n", o.jpegs, bench::Now() - start);
  return true;
}

// What the copy spends on the facts, on its finishing thread: the parse of each file's
// first block (the fixture's bytes, as the copy read them, with the copy's stamp), into
// copied. Seconds.
double CopySideParse(CopyOutcome* copied) {
  static const std::string head = testsupport::ReadWholeFile(testsupport::Fixture("exif_le.jpg"));
  const double start = bench::Now();
  for (size_t k = 0; k < copied->copiedTargets.size(); ++k)
    copied->facts[k] = PictureFactsOfHead(copied->copiedTargets[k], head.data(), head.size(), &copied->stamps[k]);
  return bench::Now() - start;
}

RegisterOptions BenchOptions(HANDLE places) {
  RegisterOptions r;
  r.classifyFace = 0;
  r.classifyPersonal = 0;
  r.syModel = r.syGps = 1;
  r.placeFinder = places;
  r.today = "2026/12/10";
  return r;
}

// The part of the registration that reads the files (times, Exif, place), without the
// database, on one thread (the registration reads on several). Seconds.
double ReadingAlone(const std::vector<std::string>& dests, const std::vector<std::string>& sources, HANDLE places) {
  const RegisterOptions r = BenchOptions(places);
  const double start = bench::Now();
  for (size_t k = 0; k < dests.size(); ++k) {
    Classification c;
    ReadImportedFile(dests[k], sources[k], r, &c);
  }
  return bench::Now() - start;
}

// How the registration gets at the files' content.
enum class Way {
  kAfterCopy,  // as the import runs it: the facts the copy read, the files not opened
  kReading,    // every file opened and read (files already there, re-registration)
};

// The import's batch into a fresh database in folder. Seconds, or negative.
double OursRegister(const std::string& folder, const CopyOutcome& copied, const CopyPlan& plan, HANDLE places,
                    Way way) {
  RemoveTree(folder);
  CreateDirectoryA(folder.c_str(), nullptr);
  if (FAILED(VxDBSetFolder(folder.c_str())) || FAILED(VxDBWInitDatabase())) return Fail("no database in", folder), -1;
  const RegisterOptions r = BenchOptions(places);
  const double start = bench::Now();
  const int entered = way == Way::kAfterCopy
                          ? RegisterCopyRun(copied, plan, r)
                          : RegisterImportedFiles(copied.copiedTargets, copied.copiedSources, r);
  const double took = bench::Now() - start;
  VxDBWExitDatabase(-1);
  VxDBSetFolder(nullptr);
  if (entered != static_cast<int>(copied.copiedTargets.size())) return Fail("not every file was entered"), -1;
  return took;
}

// The database's part alone: the files read beforehand, then the batch of their entries
// into a fresh database in folder. Seconds, or negative.
double DatabaseAlone(const std::string& folder, const std::vector<std::string>& dests,
                     const std::vector<std::string>& sources, HANDLE places) {
  const RegisterOptions r = BenchOptions(places);
  std::vector<Classification> read(dests.size());
  for (size_t k = 0; k < dests.size(); ++k) ReadImportedFile(dests[k], sources[k], r, &read[k]);
  RemoveTree(folder);
  CreateDirectoryA(folder.c_str(), nullptr);
  if (FAILED(VxDBSetFolder(folder.c_str())) || FAILED(VxDBWInitDatabase())) return Fail("no database in", folder), -1;
  const double start = bench::Now();
  VxDBWBeginBatch();
  int entered = 0;
  for (size_t k = 0; k < dests.size(); ++k) entered += SUCCEEDED(RegisterClassified(dests[k], read[k]));
  VxDBWEndBatch();
  const double took = bench::Now() - start;
  VxDBWExitDatabase(-1);
  VxDBSetFolder(nullptr);
  RemoveTree(folder);
  if (entered != static_cast<int>(dests.size())) return Fail("not every file was entered"), -1;
  return took;
}

using bench::Rows;

// The same rows into a fresh database with the same schema and settings. Seconds, or negative.
double BareInserts(const std::string& folder, const Rows& rows) {
  RemoveTree(folder);
  CreateDirectoryA(folder.c_str(), nullptr);
  sqlite3* db = bench::OpenBare(folder + "\\bare.db", rows);
  if (!db) return -1;
  const double took = bench::InsertBare(db, rows);
  sqlite3_close(db);
  RemoveTree(folder);
  return took;
}

bool RegisterRounds(const Options& o) {
  CopyPlan plan;
  CopyOutcome copied;
  printf("registration: making %d JPEGs on the card...\n", o.jpegs);
  if (!MakeImportedJpegs(o, &plan, &copied)) return false;
  const std::vector<std::string>&dests = copied.copiedTargets, &sources = copied.copiedSources;
  size_t known = 0;
  for (const PictureFacts& f : copied.facts) known += f.known;
  HANDLE places = VxGPSInit();
  if (!places) printf("registration: no place table beside the program: no place entries\n");
  const std::string oursDb = std::string(kWork) + "\\db-ours", bareDb = std::string(kWork) + "\\db-bare";
  // A first run yields the rows the bare side inserts (and warms the files' cache).
  Rows rows;
  bool ok = OursRegister(oursDb, copied, plan, places, Way::kReading) > 0 &&
            bench::ReadRows(oursDb + "\\VxDatabase.db", &rows);
  const size_t count = rows.Count();
  if (ok)
    printf("registration: %zu files (%zu with facts from the copy), %zu rows in %zu tables, %d rounds\n",
           dests.size(), known, count, rows.tables.size(), o.rounds);
  // Each round runs the three in a turned order; the copy-side parse comes right before the
  // registration after the copy.
  double sumCopy = 0, sumParse = 0, sumRead = 0, sumBare = 0;
  for (int r = 0; r < o.rounds && ok; ++r) {
    double afterCopy = 0, parse = 0, reading = 0, bare = 0;
    for (int side = 0; side < 3 && ok; ++side) {
      switch ((side + r) % 3) {
        case 0:
          parse = CopySideParse(&copied);
          ok = (afterCopy = OursRegister(oursDb, copied, plan, places, Way::kAfterCopy)) > 0;
          break;
        case 1: ok = (reading = OursRegister(oursDb, copied, plan, places, Way::kReading)) > 0; break;
        default: ok = (bare = BareInserts(bareDb, rows)) > 0; break;
      }
    }
    if (!ok) break;
    printf(
        "  round %d: after the copy %5.2f s + its parse %5.2f s (%5.2f x), reading the files %5.2f s (%5.2f x),"
        " bare inserts %5.2f s\n",
        r + 1, afterCopy, parse, (afterCopy + parse) / bare, reading, reading / bare, bare);
    sumCopy += afterCopy;
    sumParse += parse;
    sumRead += reading;
    sumBare += bare;
  }
  if (ok) {
    const double ratio = (sumCopy + sumParse) / sumBare;
    printf("registration overall:\n");
    printf(
        "  as the import runs it, after its copy, the copy-side parse counted: %.2f x bare (goal at most %.1f x): %s\n",
        ratio, kRegisterGoal, ratio <= kRegisterGoal ? "met" : "NOT met");
    printf("  the same without the parse: %.2f x bare\n", sumCopy / sumBare);
    printf("  reading every file (files already there, re-registration):   %.2f x bare\n", sumRead / sumBare);
    const double reading = ReadingAlone(dests, sources, places);
    printf("  reading the files' times, Exif and place alone, one thread: %.2f s\n", reading);
    const double database = DatabaseAlone(oursDb, dests, sources, places);
    printf("  the database's part alone (files read beforehand): %.2f s (%.2f x bare)\n", database,
           database * o.rounds / sumBare);
  }
  if (places) VxGPSTerm(places);
  RemoveTree(oursDb);
  RemoveTree(std::string(kWork) + "\\Pictures");
  RemoveTree(std::string(kCard) + "\\DCIM");
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    if (!strcmp(argv[i], "--scale") && i + 1 < argc) {
      o.scale = atof(argv[++i]);
    } else if (!strcmp(argv[i], "--rounds") && i + 1 < argc) {
      o.rounds = atoi(argv[++i]);
    } else if (!strcmp(argv[i], "--jpegs") && i + 1 < argc) {
      o.jpegs = atoi(argv[++i]);
    } else if (!strcmp(argv[i], "--no-copy")) {
      o.copy = false;
    } else if (!strcmp(argv[i], "--no-register")) {
      o.reg = false;
    } else {
      fprintf(stderr, "usage: importbench [--scale F] [--rounds N] [--jpegs N] [--no-copy] [--no-register]\n");
      return 2;
    }
  }
  if (o.rounds < 1 || o.jpegs < 1 || o.scale < 0) return 2;
  if (GetFileAttributesA("E:\\") == INVALID_FILE_ATTRIBUTES) return Fail("no card in E:"), 2;
  RemoveTree(kCard);
  RemoveTree(kWork);
  CreateDirectoryA(kWork, nullptr);
  bool ok = true;
  if (o.copy) ok = CopyRounds(o);
  if (ok && o.reg) ok = RegisterRounds(o);
  RemoveTree(kCard);
  RemoveTree(kWork);
  return ok ? 0 : 2;
}
