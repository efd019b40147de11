// The verified copy and the windowless run of an import on real files: from scratch
// folders and from the prefix's card drive E:, with stops, failures and a card taken out
// between files. Nothing may be lost and no partial file may stay.
#include <ImportRun.h>
#include <card.h>
#include <facility.h>
#include <files.h>
#include <gtest/gtest.h>
#include <tempfolder.h>

#include <atomic>
#include <functional>
#include <thread>

#include "importdata.h"

using importtest::Pattern;
using importtest::SmallDisk;

using namespace cardtree;

namespace {

bool Exists(const std::string& p) { return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Every file below a folder, temporaries included.
int CountFiles(const std::string& folder, int* temporaries = nullptr) {
  int n = 0;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      n += CountFiles(folder + "\\" + name, temporaries);
    } else {
      ++n;
      if (temporaries && IsCopyTemporaryName(name)) ++*temporaries;
    }
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return n;
}

int Temporaries(const std::string& folder) {
  int t = 0;
  CountFiles(folder, &t);
  return t;
}

struct Scratch {
  std::string root = testsupport::NewTempFolder("import-copy");
  ~Scratch() { testsupport::RemoveTree(root); }
};

// A card in a scratch folder, put into drive E: while the test runs; E: gets the prefix's
// own card back afterwards.
struct CardOnE {
  std::string folder = testsupport::NewTempFolder("import-card");
  bool inserted = false;
  void Insert() { inserted = testsupport::InsertCard('E', testsupport::UnixPathOf(folder)) == 0; }
  bool removed = false;
  void Remove() { removed = testsupport::RemoveCard('E') == 0; }
  ~CardOnE() {
    if (!removed) testsupport::RemoveCard('E');
    if (!testsupport::DefaultCardDir().empty()) testsupport::InsertCard('E', testsupport::DefaultCardDir());
    testsupport::RemoveTree(folder);
  }
};

// The card file "ABCD000i.JPG" of the folder a camera makes first.
std::string CardFile(const std::string& card, int i) {
  char name[64];
  snprintf(name, sizeof name, "\\DCIM\\100AAAAA\\ABCD%04d.JPG", i);
  return card + name;
}

ImportSettings PlainSettings() {
  ImportSettings s;
  s.backupMode = 0;
  s.today = "20261210";
  return s;
}

}  // namespace

TEST(VerifiedCopy, CopiesVerifiesAndNeverReplaces) {
  Scratch sc;
  struct Case {
    const char* name;
    size_t size;
  } cases[] = {{"empty.jpg", 0}, {"small.jpg", 17}, {"block.jpg", 4 << 20}, {"over.jpg", (4 << 20) + 1},
               {"\x95\x5c\x8e\xa6.jpg", 1000}};  // a trail byte 0x5C in the name
  for (const Case& c : cases) {
    std::string src = sc.root + "\\src\\" + c.name, dst = sc.root + "\\dst\\" + c.name;
    std::string data = Pattern(c.size, static_cast<int>(c.size));
    ASSERT_TRUE(testsupport::WriteWholeFile(src, data));
    ASSERT_EQ(MakeFolderPath(sc.root + "\\dst"), 0u);
    FileDigest d, again;
    EXPECT_EQ(CopyFileVerified(src, dst, nullptr, &d), 0u) << c.name;
    EXPECT_EQ(testsupport::ReadWholeFile(dst), data) << c.name;
    ASSERT_TRUE(DigestFile(dst, &again));
    EXPECT_EQ(d, again);
    EXPECT_EQ(d.size, c.size);
    EXPECT_FALSE(GetFileAttributesA(dst.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    // A second copy onto it is refused and leaves the file as it was.
    ASSERT_TRUE(testsupport::WriteWholeFile(src, "changed"));
    EXPECT_EQ(CopyFileVerified(src, dst, nullptr, nullptr), static_cast<DWORD>(ERROR_FILE_EXISTS));
    EXPECT_EQ(testsupport::ReadWholeFile(dst), data);
  }
  // A read-only file at the target is no exception.
  std::string ro = sc.root + "\\dst\\ro.jpg";
  testsupport::WriteWholeFile(ro, "keep");
  SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(CopyFileVerified(sc.root + "\\src\\small.jpg", ro, nullptr, nullptr), static_cast<DWORD>(ERROR_FILE_EXISTS));
  EXPECT_EQ(testsupport::ReadWholeFile(ro), "keep");
  SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_NORMAL);
  // A missing source or target folder: an error and nothing written.
  EXPECT_NE(CopyFileVerified(sc.root + "\\src\\none.jpg", sc.root + "\\dst\\none.jpg", nullptr, nullptr), 0u);
  EXPECT_NE(CopyFileVerified(sc.root + "\\src\\small.jpg", sc.root + "\\nofolder\\a.jpg", nullptr, nullptr), 0u);
  EXPECT_FALSE(Exists(sc.root + "\\dst\\none.jpg"));
  EXPECT_EQ(Temporaries(sc.root), 0);
  // Two identical files are the same, a byte apart they are not.
  testsupport::WriteWholeFile(sc.root + "\\a", "abc");
  testsupport::WriteWholeFile(sc.root + "\\b", "abc");
  testsupport::WriteWholeFile(sc.root + "\\c", "abd");
  EXPECT_TRUE(SameFileContent(sc.root + "\\a", sc.root + "\\b"));
  EXPECT_FALSE(SameFileContent(sc.root + "\\a", sc.root + "\\c"));
  EXPECT_FALSE(SameFileContent(sc.root + "\\a", sc.root + "\\missing"));
}

TEST(VerifiedCopy, StopLeavesNoPartialFile) {
  Scratch sc;
  std::string src = sc.root + "\\big.mov", dst = sc.root + "\\out\\big.mov";
  ASSERT_TRUE(testsupport::WriteWholeFile(src, Pattern(24 << 20, 5)));
  MakeFolderPath(sc.root + "\\out");
  std::atomic<int> stop{1};
  EXPECT_EQ(CopyFileVerified(src, dst, &stop, nullptr), static_cast<DWORD>(ERROR_CANCELLED));
  EXPECT_FALSE(Exists(dst));
  EXPECT_EQ(Temporaries(sc.root), 0);

  // Abandoned while its thread copies: Run returns, the object waits for its thread when
  // it goes, and neither the file nor a temporary stays.
  {
    CThreadedFileCopy copy(src.c_str(), dst.c_str(), 0);
    std::thread stopper([&] {
      while (!Temporaries(sc.root + "\\out") && !copy.IsDone()) Sleep(1);
      copy.Abandon();
    });
    copy.Run();
    stopper.join();
    EXPECT_TRUE(copy.IsAbandoned());
  }
  int tmp = Temporaries(sc.root + "\\out");
  EXPECT_EQ(tmp, 0);
  // Either it had finished (a whole, verified file) or nothing is there.
  if (Exists(dst)) { EXPECT_TRUE(SameFileContent(src, dst)); }
  EXPECT_TRUE(Exists(src));

  // The leftovers of a killed import are found by name and removed.
  testsupport::WriteWholeFile(sc.root + "\\out\\~gimport-0000abcd-7.tmp", "partial");
  testsupport::WriteWholeFile(sc.root + "\\out\\~gimport-notes.txt", "a user's file");
  EXPECT_EQ(RemoveCopyTemporaries(sc.root + "\\out"), 1);
  EXPECT_TRUE(Exists(sc.root + "\\out\\~gimport-notes.txt"));
}

namespace {
// A medium that loses what the copy wrote without a word: one fault at a time, on one file
// (by the path the copy knows it by), at one byte.
struct SilentFault {
  std::string file;
  uint64_t at = 0;
  bool shortWrite = false;  // the block ends before `at`; else the byte at `at` flips a bit
  int hits = 0;
};
SilentFault g_fault;
void Inject(const std::string& file, uint64_t offset, char* bytes, DWORD* size) {
  if (file != g_fault.file || g_fault.at < offset || g_fault.at >= offset + *size) return;
  ++g_fault.hits;
  if (g_fault.shortWrite)
    *size = static_cast<DWORD>(g_fault.at - offset);
  else
    bytes[g_fault.at - offset] ^= 0x10;
}
struct FaultScope {
  explicit FaultScope(const SilentFault& f) {
    g_fault = f;
    safecopy::SetWriteFault(&Inject);
  }
  ~FaultScope() { safecopy::SetWriteFault(nullptr); }
};

FILETIME LastWrite(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA a = {};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a);
  return a.ftLastWriteTime;
}
}  // namespace

// Only the read-back can tell a write the medium lost: each fault fails the copy with
// ERROR_CRC and leaves neither the target nor a temporary; the source stays as it was.
TEST(VerifiedCopy, AFaultTheMediumHidesFailsTheReadBack) {
  Scratch sc;
  const size_t big = (600 << 10) + 17;  // three blocks, the last a short one
  struct Case {
    const char* what;
    size_t size;
    uint64_t at;
    bool shortWrite;
  } cases[] = {
      {"a flipped first byte", big, 0, false},         {"a flipped byte in the second block", big, 300000, false},
      {"a flipped last byte", big, big - 1, false},    {"the last byte lost", big, big - 1, true},
      {"the second block lost", big, 256 << 10, true}, {"a flipped byte of a small file", 17, 16, false},
  };
  ASSERT_EQ(MakeFolderPath(sc.root + "\\dst"), 0u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string src = sc.root + "\\src.jpg", dst = sc.root + "\\dst\\copy.jpg";
    const std::string data = Pattern(c.size, static_cast<int>(c.at));
    ASSERT_TRUE(testsupport::WriteWholeFile(src, data));
    {
      FaultScope fault({src, c.at, c.shortWrite});
      EXPECT_EQ(CopyFileVerified(src, dst, nullptr, nullptr), static_cast<DWORD>(ERROR_CRC));
    }
    EXPECT_EQ(g_fault.hits, 1);
    EXPECT_FALSE(Exists(dst));
    EXPECT_EQ(Temporaries(sc.root), 0);
    EXPECT_EQ(testsupport::ReadWholeFile(src), data);
    // The same copy on a sound medium goes through.
    EXPECT_EQ(CopyFileVerified(src, dst, nullptr, nullptr), 0u);
    EXPECT_EQ(testsupport::ReadWholeFile(dst), data);
    DeleteFileA(dst.c_str());
  }
  // A file written from memory is read back the same way.
  const std::string written = sc.root + "\\dst\\facts.cont";
  {
    FaultScope fault({written, 5, false});
    EXPECT_EQ(WriteFileVerified(written, Pattern(100, 1).data(), 100), static_cast<DWORD>(ERROR_CRC));
  }
  EXPECT_FALSE(Exists(written));
  EXPECT_EQ(Temporaries(sc.root), 0);

  // In a run the file with the fault stops it: the files before it are copied, it and the
  // files after it stay on the card, and the clean-up takes only the copied ones.
  for (int i = 1; i <= 3; ++i) testsupport::WriteWholeFile(CardFile(sc.root + "\\card", i), Pattern(5000, i));
  CopyPlan plan;
  PlanCardCopy(sc.root + "\\card", sc.root + "\\run", PlainSettings(), &plan);
  ASSERT_EQ(plan.sources.size(), 3u);
  CopyOutcome out;
  {
    FaultScope fault({plan.sources[1], 4000, false});
    EXPECT_EQ(RunCopyPlan(&plan, &out), static_cast<DWORD>(ERROR_CRC));
  }
  EXPECT_EQ(out.failedSource, plan.sources[1]);
  ASSERT_EQ(out.copiedSources.size(), 1u);
  EXPECT_EQ(CountFiles(sc.root + "\\run"), 1);
  EXPECT_EQ(Temporaries(sc.root + "\\run"), 0);
  EXPECT_EQ(DeleteImportedSources(out, plan).deleted, 1u);
  EXPECT_EQ(CountFiles(sc.root + "\\card"), 2);
}

// A copy carries its source's last-write time (a card file of years ago stays of its day),
// whether copied alone or in a run; a file written from memory is of now.
TEST(VerifiedCopy, CopiesKeepTheSourcesTime) {
  Scratch sc;
  const std::string src = sc.root + "\\card\\DCIM\\100AAAAA\\ABCD0001.JPG";
  ASSERT_TRUE(testsupport::WriteWholeFile(src, Pattern(3000, 1)));
  ASSERT_TRUE(testsupport::SetLocalWriteTime(src, 2019, 4, 7, 9));
  const FILETIME then = LastWrite(src);
  ASSERT_EQ(MakeFolderPath(sc.root + "\\alone"), 0u);
  FileStamp stamp;
  ASSERT_EQ(CopyFileVerified(src, sc.root + "\\alone\\ABCD0001.JPG", nullptr, nullptr, &stamp), 0u);
  EXPECT_EQ(CompareFileTime(&stamp.written, &then), 0);
  EXPECT_EQ(stamp.size, 3000u);
  FILETIME copied = LastWrite(sc.root + "\\alone\\ABCD0001.JPG");
  EXPECT_EQ(CompareFileTime(&copied, &then), 0);

  CopyPlan plan;
  PlanCardCopy(sc.root + "\\card", sc.root + "\\run", PlainSettings(), &plan);
  CopyOutcome out;
  ASSERT_EQ(RunCopyPlan(&plan, &out), 0u);
  ASSERT_EQ(out.copiedTargets.size(), 1u);
  copied = LastWrite(out.copiedTargets[0]);
  EXPECT_EQ(CompareFileTime(&copied, &then), 0);
  EXPECT_EQ(CompareFileTime(&out.stamps[0].written, &then), 0);

  const std::string fresh = sc.root + "\\alone\\facts.cont";
  ASSERT_EQ(WriteFileVerified(fresh, "facts", 5), 0u);
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const FILETIME made = LastWrite(fresh);
  const uint64_t gap = ((static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime) -
                       ((static_cast<uint64_t>(made.dwHighDateTime) << 32) | made.dwLowDateTime);
  EXPECT_LT(gap, 600ull * 10000000);
}

TEST(VerifiedCopy, MoveClearsReadOnlyAndDeletesTheSource) {
  Scratch sc;
  std::string src = sc.root + "\\ro.jpg", dst = sc.root + "\\moved.jpg";
  testsupport::WriteWholeFile(src, "picture");
  SetFileAttributesA(src.c_str(), FILE_ATTRIBUTE_READONLY);
  CThreadedFileCopy move(src.c_str(), dst.c_str(), 1);
  EXPECT_NE(move.Run(), 0);
  EXPECT_TRUE(move.IsDone());
  EXPECT_FALSE(Exists(src));
  EXPECT_EQ(testsupport::ReadWholeFile(dst), "picture");
  // A failed copy still ends its wait and tells why.
  CThreadedFileCopy failed((sc.root + "\\none.jpg").c_str(), dst.c_str(), 0);
  EXPECT_EQ(failed.Run(), 0);
  EXPECT_TRUE(failed.IsDone());
  EXPECT_EQ(failed.LastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(ImportRun, CardOnEToDatedFoldersAndCleanUp) {
  CardOnE card;
  testsupport::WriteWholeFile(card.folder + "\\DCIM\\100AAAAA\\ABCD0001.JPG", Pattern(3000, 1));
  testsupport::WriteWholeFile(card.folder + "\\DCIM\\100AAAAA\\ABCD0002.JPG", Pattern(5000, 2));
  testsupport::WriteWholeFile(card.folder + "\\DCIM\\100AAAAA\\ABCD0003.JPG", Pattern(7000, 3));
  testsupport::WriteWholeFile(card.folder + "\\DCIM\\100AAAAA\\ABCD0004.JPG", Pattern(100, 4));
  card.Insert();
  ASSERT_TRUE(card.inserted);
  Scratch dest;
  // ABCD0004 is already there; a killed run left a temporary.
  testsupport::WriteWholeFile(dest.root + "\\ABCD0004.JPG", Pattern(100, 4));
  testsupport::WriteWholeFile(dest.root + "\\~gimport-00000001-0.tmp", "partial");

  ImportSettings s = PlainSettings();
  CopyPlan plan;
  PlanCardCopy("E:\\", dest.root, s, &plan);
  ASSERT_EQ(plan.sources.size(), 3u);
  ASSERT_EQ(plan.presentSources.size(), 1u);

  // Stopped after the first file: only that one counts as copied.
  CopyOutcome out;
  EXPECT_EQ(RunCopyPlan(&plan, &out, [](size_t i, size_t, const std::string&) { return i < 1; }),
            static_cast<DWORD>(ERROR_CANCELLED));
  EXPECT_TRUE(out.stopped);
  ASSERT_EQ(out.copiedSources.size(), 1u);
  EXPECT_EQ(out.removedTemporaries, 1);
  EXPECT_EQ(Temporaries(dest.root), 0);
  const CleanUpTally cleaned = DeleteImportedSources(out, plan);
  EXPECT_EQ(cleaned.deleted, 2u);
  EXPECT_EQ(cleaned.KeptCount(), 0u);
  // The copied source and the identical one are gone from the card, the rest stay.
  EXPECT_FALSE(Exists("E:\\DCIM\\100AAAAA\\ABCD0004.JPG"));
  EXPECT_FALSE(Exists(out.copiedSources[0]));
  EXPECT_EQ(CountFiles(card.folder), 2);

  // A re-run copies the rest without duplicates.
  CopyPlan again;
  PlanCardCopy("E:\\", dest.root, s, &again);
  CopyOutcome out2;
  EXPECT_EQ(RunCopyPlan(&again, &out2), 0u);
  EXPECT_EQ(out2.copiedSources.size(), 2u);
  EXPECT_EQ(CountFiles(dest.root), 4);
  for (int i = 1; i <= 4; ++i) {
    char name[64];
    snprintf(name, sizeof name, "\\ABCD%04d.JPG", i);
    EXPECT_EQ(testsupport::ReadWholeFile(dest.root + name), Pattern(i == 4 ? 100 : 1000 + 2000 * i, i)) << name;
  }
}

namespace {
// A card's print order naming its first two pictures.
const char kPrintOrder[] =
    "[HDR]\r\nGEN REV = 01.10\r\n\r\n"
    "[JOB]\r\nPRT PID = 001\r\nPRT TYP = STD\r\n<IMG SRC = \"../DCIM/100AAAAA/ABCD0001.JPG\">\r\n\r\n"
    "[JOB]\r\nPRT PID = 002\r\nPRT TYP = STD\r\n<IMG SRC = \"../DCIM/100AAAAA/ABCD0002.JPG\">\r\n";

void SetWriteTime(const std::string& path, const FILETIME& t) {
  HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(h, INVALID_HANDLE_VALUE) << path;
  EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &t)) << path;
  CloseHandle(h);
}
}  // namespace

// The card is exchanged between the copy and the clean-up for one whose files have the
// same names: nothing of it is deleted, nor taken out of its print order, whatever tells
// it apart; the first card, put back, is cleaned up as usual.
TEST(ImportRun, ACardExchangedBeforeTheCleanUpLosesNothing) {
  const int n = 4;
  CardOnE a;
  for (int i = 1; i <= n; ++i) testsupport::WriteWholeFile(CardFile(a.folder, i), Pattern(3000 + i, i));
  testsupport::WriteWholeFile(a.folder + "\\MISC\\AUTPRINT.MRK", kPrintOrder);
  const unsigned long serialA = 0x11223344;
  ASSERT_EQ(testsupport::InsertCard('E', testsupport::UnixPathOf(a.folder), "CARD_A", serialA), 0u);
  Scratch dest;
  CopyPlan plan;
  PlanCardCopy("E:\\", dest.root, PlainSettings(), &plan);
  ASSERT_EQ(plan.sources.size(), static_cast<size_t>(n));
  CopyOutcome out;
  ASSERT_EQ(RunCopyPlan(&plan, &out), 0u);
  ASSERT_EQ(out.copiedSources.size(), static_cast<size_t>(n));

  // Card B: what it has in common with A, and what alone tells it apart.
  enum Alike { kNames, kSizes, kSizesAndTimes };
  struct Variant {
    const char* what;
    const char* label;
    unsigned long serial;
    Alike alike;
    KeptBecause why;
  } variants[] = {
      {"another serial number", "CARD_A", 0x13572468, kNames, KeptBecause::kOtherVolume},
      {"another label", "CARD_B", serialA, kNames, KeptBecause::kOtherVolume},
      {"the same volume, other sizes", "CARD_A", serialA, kNames, KeptBecause::kChangedOnCard},
      {"the same volume and sizes, other times", "CARD_A", serialA, kSizes, KeptBecause::kChangedOnCard},
      {"the same volume, sizes and times, other content", "CARD_A", serialA, kSizesAndTimes,
       KeptBecause::kChangedOnCard},
  };
  for (const Variant& v : variants) {
    SCOPED_TRACE(v.what);
    const std::string b = testsupport::NewTempFolder("import-card-b");
    for (int i = 1; i <= n; ++i) {
      const std::string file = CardFile(b, i);
      testsupport::WriteWholeFile(file, Pattern(v.alike == kNames ? 2000 + i : 3000 + i, 100 + i));
      if (v.alike != kSizesAndTimes) continue;
      for (size_t k = 0; k < out.copiedSources.size(); ++k)
        if (FileNameOf(out.copiedSources[k]) == FileNameOf(file)) SetWriteTime(file, out.stamps[k].written);
    }
    testsupport::WriteWholeFile(b + "\\MISC\\AUTPRINT.MRK", kPrintOrder);
    ASSERT_EQ(testsupport::InsertCard('E', testsupport::UnixPathOf(b), v.label, v.serial), 0u);
    const CleanUpTally tally = DeleteImportedSources(out, plan);
    EXPECT_EQ(tally.deleted, 0u);
    EXPECT_EQ(tally.Kept(v.why), static_cast<size_t>(n));
    for (int i = 1; i <= n; ++i)
      EXPECT_EQ(testsupport::ReadWholeFile(CardFile(b, i)), Pattern(v.alike == kNames ? 2000 + i : 3000 + i, 100 + i));
    EXPECT_EQ(testsupport::ReadWholeFile(b + "\\MISC\\AUTPRINT.MRK"), kPrintOrder);
    testsupport::RemoveCard('E');
    testsupport::RemoveTree(b);
  }

  // Card A again: its files go, and with them their print order.
  ASSERT_EQ(testsupport::InsertCard('E', testsupport::UnixPathOf(a.folder), "CARD_A", serialA), 0u);
  const CleanUpTally tally = DeleteImportedSources(out, plan);
  EXPECT_EQ(tally.deleted, static_cast<size_t>(n));
  EXPECT_EQ(tally.KeptCount(), 0u);
  for (int i = 1; i <= n; ++i) EXPECT_FALSE(Exists(CardFile(a.folder, i))) << i;
  EXPECT_EQ(testsupport::ReadWholeFile(a.folder + "\\MISC\\AUTPRINT.MRK").find("ABCD000"), std::string::npos);
  for (int i = 1; i <= n; ++i)
    EXPECT_EQ(testsupport::ReadWholeFile(dest.root + "\\ABCD000" + std::to_string(i) + ".JPG"), Pattern(3000 + i, i));
}

// On one card, the clean-up deletes a file only as it was verified: a file changed since
// its copy (in content alone, or in size), read-only, or whose copy changed or went, stays.
TEST(ImportRun, TheCleanUpDeletesOnlyWhatWasVerified) {
  Scratch sc;
  struct Case {
    const char* what;
    std::function<void(const std::string& card, const std::string& copy, const FileStamp& stamp)> change;
    bool deleted;
    KeptBecause why;
  } cases[] = {
      {"untouched", [](const std::string&, const std::string&, const FileStamp&) {}, true, KeptBecause::kCount},
      {"the card file rewritten, its time put back",
       [](const std::string& card, const std::string&, const FileStamp& stamp) {
         testsupport::WriteWholeFile(card, Pattern(4000, 99));
         SetWriteTime(card, stamp.written);
       },
       false, KeptBecause::kChangedOnCard},
      {"the card file grown",
       [](const std::string& card, const std::string&, const FileStamp&) {
         testsupport::WriteWholeFile(card, Pattern(4001, 1));
       },
       false, KeptBecause::kChangedOnCard},
      {"the card file read-only",
       [](const std::string& card, const std::string&, const FileStamp&) {
         SetFileAttributesA(card.c_str(), FILE_ATTRIBUTE_READONLY);
       },
       false, KeptBecause::kReadOnly},
      {"the copy edited",
       [](const std::string&, const std::string& copy, const FileStamp&) {
         testsupport::WriteWholeFile(copy, Pattern(4000, 98));
       },
       false, KeptBecause::kCopyChanged},
      {"the copy deleted",
       [](const std::string&, const std::string& copy, const FileStamp&) { DeleteFileA(copy.c_str()); }, false,
       KeptBecause::kCopyChanged},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string card = sc.root + "\\card", file = CardFile(card, 1);
    testsupport::WriteWholeFile(file, Pattern(4000, 1));
    CopyPlan plan;
    PlanCardCopy(card, sc.root + "\\dest", PlainSettings(), &plan);
    CopyOutcome out;
    ASSERT_EQ(RunCopyPlan(&plan, &out), 0u);
    ASSERT_EQ(out.copiedTargets.size(), 1u);
    c.change(file, out.copiedTargets[0], out.stamps[0]);
    const CleanUpTally tally = DeleteImportedSources(out, plan);
    EXPECT_EQ(tally.deleted, c.deleted ? 1u : 0u);
    EXPECT_EQ(Exists(file), !c.deleted);
    if (!c.deleted) { EXPECT_EQ(tally.Kept(c.why), 1u); }
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    testsupport::RemoveTree(card);
    testsupport::RemoveTree(sc.root + "\\dest");
  }
}

TEST(ImportRun, CardTakenOutBetweenFiles) {
  CardOnE card;
  for (int i = 1; i <= 3; ++i) {
    char name[64];
    snprintf(name, sizeof name, "\\DCIM\\100AAAAA\\ABCD%04d.JPG", i);
    testsupport::WriteWholeFile(card.folder + name, Pattern(2000, i));
  }
  card.Insert();
  ASSERT_TRUE(card.inserted);
  Scratch dest;
  CopyPlan plan;
  PlanCardCopy("E:\\", dest.root, PlainSettings(), &plan);
  ASSERT_EQ(plan.sources.size(), 3u);
  // The card goes just before the second file is opened (the files open in plan order).
  static CardOnE* cardToRemove;
  static std::string second;
  cardToRemove = &card;
  second = plan.sources[1];
  SetCopyPhaseObserver([](CopyPhase phase, const std::string& source) {
    if (phase == CopyPhase::kOpening && source == second) cardToRemove->Remove();
  });
  CopyOutcome out;
  DWORD e = RunCopyPlan(&plan, &out);
  SetCopyPhaseObserver(nullptr);
  EXPECT_NE(e, 0u);
  EXPECT_FALSE(out.stopped);
  EXPECT_EQ(out.copiedSources.size(), 1u);
  EXPECT_EQ(out.failedSource, plan.sources[1]);
  EXPECT_FALSE(SystemErrorText(e).empty());
  EXPECT_EQ(CountFiles(dest.root), 1);
  EXPECT_EQ(Temporaries(dest.root), 0);
  // Every card file is still there.
  EXPECT_EQ(CountFiles(card.folder), 3);
}

// A name whose double-byte character ends in the byte of "\\" is copied into the folder it
// names, with nothing made beside it.
TEST(ImportRun, DoubleByteNamesLandInTheirFolder) {
  Scratch sc;
  const std::string name = "\x95\x5c\x8e\xa6.JPG";
  testsupport::WriteWholeFile(sc.root + "\\card\\DCIM\\100AAAAA\\" + name, "picture");
  CopyPlan plan;
  PlanCardCopy(sc.root + "\\card", sc.root + "\\dest", PlainSettings(), &plan);
  ASSERT_EQ(plan.targets.size(), 1u);
  EXPECT_EQ(plan.targets[0], sc.root + "\\dest\\" + name);
  CopyOutcome out;
  EXPECT_EQ(RunCopyPlan(&plan, &out), 0u);
  EXPECT_EQ(testsupport::ReadWholeFile(sc.root + "\\dest\\" + name), "picture");
  EXPECT_EQ(testsupport::FileNamesIn(sc.root + "\\dest"), std::vector<std::string>{name});
}

TEST(ImportRun, TargetTakenAfterPlanning) {
  Scratch sc;
  testsupport::WriteWholeFile(sc.root + "\\card\\DCIM\\100AAAAA\\ABCD0001.JPG", "one");
  testsupport::WriteWholeFile(sc.root + "\\card\\DCIM\\100AAAAA\\ABCD0002.JPG", "two");
  CopyPlan plan;
  PlanCardCopy(sc.root + "\\card", sc.root + "\\dest", PlainSettings(), &plan);
  ASSERT_EQ(plan.sources.size(), 2u);
  // Meanwhile another file took ABCD0001's name and ABCD0002's copy appeared.
  testsupport::WriteWholeFile(sc.root + "\\dest\\ABCD0001.JPG", "someone else");
  testsupport::WriteWholeFile(sc.root + "\\dest\\ABCD0002.JPG", "two");
  CopyOutcome out;
  EXPECT_EQ(RunCopyPlan(&plan, &out), 0u);
  ASSERT_EQ(out.copiedTargets.size(), 1u);
  EXPECT_EQ(out.copiedTargets[0], sc.root + "\\dest\\ABCD0001(1).JPG");
  EXPECT_EQ(testsupport::ReadWholeFile(sc.root + "\\dest\\ABCD0001.JPG"), "someone else");
  EXPECT_EQ(plan.presentSources.size(), 1u);
  // A present pair whose destination changed before the clean-up keeps its card file.
  testsupport::WriteWholeFile(sc.root + "\\dest\\ABCD0002.JPG", "edited");
  const CleanUpTally cleaned = DeleteImportedSources(out, plan);
  EXPECT_EQ(cleaned.deleted, 1u);
  EXPECT_EQ(cleaned.Kept(KeptBecause::kDiffers), 1u);
  EXPECT_TRUE(Exists(sc.root + "\\card\\DCIM\\100AAAAA\\ABCD0002.JPG"));
  EXPECT_FALSE(Exists(sc.root + "\\card\\DCIM\\100AAAAA\\ABCD0001.JPG"));
}

namespace {

}  // namespace

TEST(ImportRun, FullAndReadOnlyDestinations) {
  std::string full = SmallDisk("C:\\glimora-full", 8 << 20), ro = SmallDisk("C:\\glimora-ro", 8 << 20);
  if (full.empty() || ro.empty())
    SKIP_WITHOUT_FACILITY(testsupport::kMountFacility,
                          "C:\\glimora-full and C:\\glimora-ro are not small mounted disks");
  Scratch sc;
  for (int i = 1; i <= 4; ++i) {
    char name[64];
    snprintf(name, sizeof name, "\\card\\DCIM\\100AAAAA\\ABCD%04d.JPG", i);
    testsupport::WriteWholeFile(sc.root + name, Pattern(700 << 10, i));
  }
  struct Case {
    std::string dest;
    DWORD error;
    size_t copied;
  } cases[] = {{full + "\\run", ERROR_DISK_FULL, 2}, {ro + "\\run", ERROR_ACCESS_DENIED, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dest);
    CopyPlan plan;
    PlanCardCopy(sc.root + "\\card", c.dest, PlainSettings(), &plan);
    ASSERT_EQ(plan.sources.size(), 4u);
    CopyOutcome out;
    EXPECT_EQ(RunCopyPlan(&plan, &out), c.error);
    EXPECT_EQ(out.copiedSources.size(), c.copied);
    for (size_t i = 0; i < out.copiedTargets.size(); ++i) EXPECT_TRUE(SameFileContent(out.copiedSources[i], out.copiedTargets[i]));
    EXPECT_EQ(Temporaries(c.dest), 0);
    // Only the verified copies may leave the card.
    EXPECT_EQ(DeleteImportedSources(out, plan).deleted, c.copied);
    EXPECT_EQ(CountFiles(sc.root + "\\card"), static_cast<int>(4 - c.copied));
    for (const std::string& t : out.copiedTargets) DeleteFileA(t.c_str());
    for (size_t i = 0; i < out.copiedSources.size(); ++i) CopyFileA(out.copiedTargets[i].c_str(), out.copiedSources[i].c_str(), TRUE);
    testsupport::RemoveTree(c.dest);
    // Put the deleted card files back for the next case.
    for (int i = 1; i <= 4; ++i) {
      char name[64];
      snprintf(name, sizeof name, "\\card\\DCIM\\100AAAAA\\ABCD%04d.JPG", i);
      if (!Exists(sc.root + name)) testsupport::WriteWholeFile(sc.root + name, Pattern(700 << 10, i));
    }
  }
}

namespace {
std::string g_first, g_taken;
// Takes the first file's name once that file is read and written, before it is renamed.
void TakeTheFirstName(CopyPhase phase, const std::string& source) {
  if (phase == CopyPhase::kWritten && source == g_first) testsupport::WriteWholeFile(g_taken, "someone else");
}
}  // namespace

// A name taken while the file is being checked (after the check before the copy) goes to
// the first free "(n)"; the files read meanwhile are copied all the same.
TEST(ImportRun, NameTakenWhileTheFileIsChecked) {
  Scratch sc;
  for (int i = 1; i <= 3; ++i) testsupport::WriteWholeFile(CardFile(sc.root + "\\card", i), Pattern(3000, i));
  CopyPlan plan;
  PlanCardCopy(sc.root + "\\card", sc.root + "\\dest", PlainSettings(), &plan);
  ASSERT_EQ(plan.sources.size(), 3u);
  g_first = plan.sources[0];
  g_taken = plan.targets[0];
  SetCopyPhaseObserver(TakeTheFirstName);
  CopyOutcome out;
  EXPECT_EQ(RunCopyPlan(&plan, &out), 0u);
  SetCopyPhaseObserver(nullptr);
  ASSERT_EQ(out.copiedTargets.size(), 3u);
  EXPECT_NE(out.copiedTargets[0], g_taken);
  EXPECT_EQ(testsupport::ReadWholeFile(g_taken), "someone else");
  for (size_t i = 0; i < 3; ++i) EXPECT_TRUE(SameFileContent(out.copiedSources[i], out.copiedTargets[i])) << i;
  EXPECT_EQ(Temporaries(sc.root + "\\dest"), 0);
}
