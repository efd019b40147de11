// Disc titles of a card in drive E: imported through the disc core's import job: streams
// by the verified copy, companion files beside them, every produced content file registered
// with its part's time, then the titles deleted from the card. Failures and stops leave
// nothing of their title behind.
#include <ClipFactsWriter.h>
#include <DiscImport.h>
#include <VxBDCore.h>
#include <VxBDDisc.h>
#include <VxContFile.h>
#include <VxResourceIds.h>
#include <card.h>
#include <facility.h>
#include <files.h>
#include <gtest/gtest.h>
#include <tempfolder.h>

#include <algorithm>
#include <map>

#include "importdata.h"

using namespace cardtree;
using importtest::Pattern;

namespace {

const char* const kBdmv = "\\PRIVATE\\AVCHD\\BDMV";

std::string Clip(int c) {
  char n[8];
  snprintf(n, sizeof n, "%05d", c);
  return n;
}
std::string Stream(const std::string& base, int c) { return base + kBdmv + "\\STREAM\\" + Clip(c) + ".MTS"; }
bool Exists(const std::string& p) { return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Every file of a folder tree, relative, sorted.
std::vector<std::string> FilesBelow(const std::string& root, const std::string& rel = "") {
  std::vector<std::string> out;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((root + rel + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      for (const std::string& f : FilesBelow(root, rel + "\\" + name)) out.push_back(f);
    } else {
      out.push_back(rel.substr(rel.empty() ? 0 : 1) + (rel.empty() ? "" : "\\") + name);
    }
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  std::sort(out.begin(), out.end());
  return out;
}

// A card in E: whose titles are the clip lists; each clip's stream (when it has a size)
// recorded on the given day of November 2026.
class CardInE {
 public:
  CardInE(const std::vector<std::vector<int>>& titles, const std::map<int, std::pair<size_t, int>>& streams) {
    base = testsupport::NewTempFolder("glimora-discimport");
    testsupport::MakeFolders(base + "\\PRIVATE\\AVCHD");
    std::vector<VxBDSampleTitle> sample;
    for (const auto& t : titles) {
      VxBDSampleTitle s{{}, 0x0103, 0xAB12};
      for (int c : t) s.clips.push_back(Clip(c));
      sample.push_back(s);
    }
    EXPECT_TRUE(VxBDWriteTree(base + kBdmv, sample, true, false));
    for (const auto& kv : streams) {
      testsupport::WriteWholeFile(Stream(base, kv.first), Pattern(kv.second.first, kv.first));
      testsupport::SetLocalWriteTime(Stream(base, kv.first), 2026, 11, kv.second.second, 10 + kv.first);
    }
    inserted = testsupport::InsertCard('E', testsupport::UnixPathOf(base)) == 0;
    object = GetVxBDCoreObject();
    session.core = object->GetIntegrator();
  }
  ~CardInE() {
    CloseDiscSession(&session);
    object->GetIntegrator();
    object->ClearDriveSelection();
    object->Release();
    testsupport::RemoveCard('E');
    if (!testsupport::DefaultCardDir().empty()) testsupport::InsertCard('E', testsupport::DefaultCardDir());
    testsupport::RemoveTree(base);
  }
  // The session and title list of the card; the checked titles with their times.
  std::vector<DiscSelection> Open(const std::vector<int>& titles) {
    EXPECT_EQ(OpenDiscSession(&session, "E:\\", 0), 0);
    EXPECT_EQ(OpenDiscTitleList(&session), 0);
    std::vector<DiscSelection> out;
    for (int t : titles) {
      VXBDTITLEINFO info = {};
      EXPECT_EQ(session.core->GetTitleInfo(session.list, t, &info), 0);
      out.push_back({t, info.stRecorded});
    }
    return out;
  }
  std::string base;
  bool inserted = false;
  IVxBDCoreObject* object = nullptr;
  DiscSession session;
};

// What the pass showed and registered.
struct Seen {
  std::vector<std::string> entries, registered;
  std::vector<int> days;
  int presentFiles = 0;
  std::vector<std::pair<UINT, long>> errors;
  int lastPos = -1;
  DiscImportHooks Hooks(std::atomic<int>* cancelAfterFirst = nullptr) {
    DiscImportHooks h;
    h.addEntry = [this](const std::string& label, const std::string& card, const std::string& folder, int i) {
      entries.push_back(label + "|" + card + "|" + folder + "|" + std::to_string(i));
    };
    h.setPos = [this](int p) { lastPos = p; };
    h.registerFile = [this, cancelAfterFirst](const std::string& path, const std::string& drive,
                                              const std::string& card, const SYSTEMTIME& t, bool present) {
      if (present) ++presentFiles;
      registered.push_back(path + "|" + drive + "|" + card);
      days.push_back(t.wDay);
      if (cancelAfterFirst) *cancelAfterFirst = 1;
    };
    h.showError = [this](UINT id, long code) { errors.push_back({id, code}); };
    return h;
  }
};

// The tally's reasons as a line, for a failure's message.
std::string Reasons(const CleanUpTally& t) {
  std::string out = "deleted " + std::to_string(t.deleted) + ", kept";
  for (size_t k : t.kept) out += " " + std::to_string(k);
  return out;
}

ImportSettings ByDay() {
  ImportSettings s;
  s.backupMode = 2;
  s.dateOrder = "2";
  return s;
}

}  // namespace

TEST(DiscImport, TitlesWithCompanionsRegisteredThenDeletedFromTheCard) {
  CardInE card({{1, 2}, {3}}, {{1, {300000, 5}}, {2, {1000, 5}}, {3, {2000, 6}}});
  ASSERT_TRUE(card.inserted);
  const std::string dest = testsupport::NewTempFolder("glimora-discdest");
  // Someone's file of the first clip's name: the clip takes the first free "(n)" for all four.
  testsupport::MakeFolders(dest + "\\20261105");
  testsupport::WriteWholeFile(dest + "\\20261105\\00001.MTS", "someone's");

  std::vector<DiscSelection> sel = card.Open({0, 1});
  int importable = -1, unsupported = -1;
  ASSERT_EQ(CountDiscItems(&card.session, &importable, &unsupported, [](DWORD) { return 1; }), 0);
  EXPECT_EQ(importable, 2);
  ASSERT_EQ(CountDiscItems(&card.session, &importable, &unsupported, [](DWORD) { return 0; }), 0);
  EXPECT_EQ(unsupported, 2);

  Seen seen;
  std::atomic<int> cancel{0};
  DiscImportResult r =
      RunDiscImportPass(card.session.core, card.session.list, sel, dest + "\\", "E:\\", ByDay(), cancel, seen.Hooks());
  EXPECT_EQ(r.code, 0);
  EXPECT_FALSE(r.cancelled);
  EXPECT_EQ(r.produced, 3);
  EXPECT_EQ(r.completed, (std::vector<int>{0, 1}));
  EXPECT_EQ(seen.lastPos, 100);
  EXPECT_TRUE(seen.errors.empty());
  EXPECT_EQ(seen.entries, (std::vector<std::string>{"2026_11_05|E:\\|20261105|0", "2026_11_06|E:\\|20261106|1"}));
  EXPECT_EQ(seen.registered, (std::vector<std::string>{dest + "\\20261105\\00001 (2).cont|E:|E:\\",
                                                       dest + "\\20261105\\00002.cont|E:|E:\\",
                                                       dest + "\\20261106\\00003.cont|E:|E:\\"}));
  EXPECT_EQ(seen.days, (std::vector<int>{5, 5, 6}));
  EXPECT_EQ(FilesBelow(dest), (std::vector<std::string>{
                                  "20261105\\00001 (2).MTS", "20261105\\00001 (2).cont", "20261105\\00001 (2).iis",
                                  "20261105\\00001 (2).tmb", "20261105\\00001.MTS", "20261105\\00002.MTS",
                                  "20261105\\00002.cont", "20261105\\00002.iis", "20261105\\00002.tmb",
                                  "20261106\\00003.MTS", "20261106\\00003.cont", "20261106\\00003.iis",
                                  "20261106\\00003.tmb"}));
  EXPECT_EQ(testsupport::ReadWholeFile(dest + "\\20261105\\00001.MTS"), "someone's");
  EXPECT_EQ(testsupport::ReadWholeFile(dest + "\\20261105\\00001 (2).MTS"), Pattern(300000, 1));
  EXPECT_EQ(testsupport::ReadWholeFile(dest + "\\20261106\\00003.MTS"), Pattern(2000, 3));
  vxcont::ContentInfo info;
  ASSERT_TRUE(vxcont::ReadContentFile((dest + "\\20261105\\00001 (2).cont").c_str(), &info));
  EXPECT_EQ(info.members, (std::vector<std::string>{"00001 (2).MTS", "00001 (2).tmb", "00001 (2).iis"}));
  EXPECT_EQ(info.maker, "Norvane");

  // The card's titles go, the highest first; what was imported stays.
  const CleanUpTally cleaned = DeleteImportedTitles(card.session.core, card.session.list, r.imported);
  EXPECT_EQ(cleaned.deleted, 2u);
  EXPECT_EQ(cleaned.KeptCount(), 0u);
  for (int c : {1, 2, 3}) EXPECT_FALSE(Exists(Stream(card.base, c))) << c;
  EXPECT_EQ(FilesBelow(dest).size(), 13u);
  testsupport::RemoveTree(dest);
}

// A title imported again is present: nothing copied or produced a second time, no "(2)",
// its content files handed on as present and the title deletable as imported. The copies
// keep the card streams' times.
TEST(DiscImport, AnIdenticalTitleAlreadyThereIsPresent) {
  CardInE card({{1, 2}}, {{1, {30000, 5}}, {2, {1000, 5}}});
  ASSERT_TRUE(card.inserted);
  const std::string dest = testsupport::NewTempFolder("glimora-discdest");
  std::vector<DiscSelection> sel = card.Open({0});
  std::atomic<int> cancel{0};
  Seen first;
  DiscImportResult r =
      RunDiscImportPass(card.session.core, card.session.list, sel, dest, "E:\\", ByDay(), cancel, first.Hooks());
  ASSERT_EQ(r.code, 0);
  EXPECT_EQ(r.produced, 2);
  const std::vector<std::string> files = FilesBelow(dest);
  EXPECT_EQ(files.size(), 8u);
  WIN32_FILE_ATTRIBUTE_DATA onCard = {}, copied = {};
  GetFileAttributesExA(Stream(card.base, 1).c_str(), GetFileExInfoStandard, &onCard);
  GetFileAttributesExA((dest + "\\20261105\\00001.MTS").c_str(), GetFileExInfoStandard, &copied);
  EXPECT_EQ(CompareFileTime(&onCard.ftLastWriteTime, &copied.ftLastWriteTime), 0);

  Seen again;
  DiscImportResult r2 =
      RunDiscImportPass(card.session.core, card.session.list, sel, dest, "E:\\", ByDay(), cancel, again.Hooks());
  EXPECT_EQ(r2.code, 0);
  EXPECT_EQ(r2.produced, 0);
  EXPECT_EQ(r2.present, 2);
  EXPECT_EQ(r2.completed, std::vector<int>{0});
  EXPECT_EQ(FilesBelow(dest), files);
  EXPECT_EQ(again.registered, (std::vector<std::string>{dest + "\\20261105\\00001.cont|E:|E:\\",
                                                        dest + "\\20261105\\00002.cont|E:|E:\\"}));
  EXPECT_EQ(again.presentFiles, 2);
  EXPECT_EQ(again.days, (std::vector<int>{5, 5}));

  // A copy that differs is no copy: the title is imported beside it.
  testsupport::WriteWholeFile(dest + "\\20261105\\00002.MTS", Pattern(1000, 77));
  Seen third;
  DiscImportResult r3 =
      RunDiscImportPass(card.session.core, card.session.list, sel, dest, "E:\\", ByDay(), cancel, third.Hooks());
  EXPECT_EQ(r3.produced, 2);
  EXPECT_EQ(r3.present, 0);
  EXPECT_TRUE(Exists(dest + "\\20261105\\00002 (2).MTS"));

  // The title stays while its present copy differs from it; with its new copies it goes.
  CleanUpTally tally = DeleteImportedTitles(card.session.core, card.session.list, r2.imported);
  EXPECT_EQ(tally.deleted, 0u);
  EXPECT_EQ(tally.Kept(KeptBecause::kDiffers), 1u);
  EXPECT_TRUE(Exists(Stream(card.base, 1)));
  tally = DeleteImportedTitles(card.session.core, card.session.list, r3.imported);
  EXPECT_EQ(tally.deleted, 1u);
  EXPECT_FALSE(Exists(Stream(card.base, 1)));
  testsupport::RemoveTree(dest);
}

// The card is exchanged after the import for one whose titles have the same clips: none of
// its titles is deleted, whatever tells it apart; the first card put back loses its titles.
TEST(DiscImport, ACardExchangedBeforeTheDeletionKeepsItsTitles) {
  CardInE card({{1, 2}, {3}}, {{1, {30000, 5}}, {2, {1000, 5}}, {3, {2000, 6}}});
  ASSERT_TRUE(card.inserted);
  const std::string dest = testsupport::NewTempFolder("glimora-discdest");
  std::vector<DiscSelection> sel = card.Open({0, 1});
  std::atomic<int> cancel{0};
  Seen seen;
  DiscImportResult r =
      RunDiscImportPass(card.session.core, card.session.list, sel, dest, "E:\\", ByDay(), cancel, seen.Hooks());
  ASSERT_EQ(r.code, 0);
  ASSERT_EQ(r.imported.size(), 2u);

  struct Variant {
    const char* what;
    unsigned long serial;
    size_t grown;  // bytes each stream has more than card A's
    KeptBecause why;
  } variants[] = {
      {"another serial number", 0x24681357, 0, KeptBecause::kOtherVolume},
      {"the same volume, other streams of the same sizes and times", 0, 0, KeptBecause::kDiffers},
      {"the same volume, other sizes", 0, 100, KeptBecause::kChangedOnCard},
  };
  for (const Variant& v : variants) {
    SCOPED_TRACE(v.what);
    const std::string b = testsupport::NewTempFolder("glimora-disccard-b");
    testsupport::MakeFolders(b + "\\PRIVATE\\AVCHD");
    std::vector<VxBDSampleTitle> sample = {{{Clip(1), Clip(2)}, 0x0103, 0xAB12}, {{Clip(3)}, 0x0103, 0xAB12}};
    ASSERT_TRUE(VxBDWriteTree(b + kBdmv, sample, true, false));
    const std::map<int, size_t> sizes = {{1, 30000 + v.grown}, {2, 1000 + v.grown}, {3, 2000 + v.grown}};
    for (const auto& kv : sizes) {
      testsupport::WriteWholeFile(Stream(b, kv.first), Pattern(kv.second, 50 + kv.first));
      testsupport::SetLocalWriteTime(Stream(b, kv.first), 2026, 11, kv.first == 3 ? 6 : 5, 10 + kv.first);
    }
    ASSERT_EQ(testsupport::InsertCard('E', testsupport::UnixPathOf(b), "MEMCARD", v.serial), 0u);
    const CleanUpTally tally = DeleteImportedTitles(card.session.core, card.session.list, r.imported);
    EXPECT_EQ(tally.deleted, 0u);
    EXPECT_EQ(tally.Kept(v.why), 2u) << Reasons(tally);
    for (const auto& kv : sizes)
      EXPECT_EQ(testsupport::ReadWholeFile(Stream(b, kv.first)), Pattern(kv.second, 50 + kv.first));
    testsupport::RemoveCard('E');
    testsupport::RemoveTree(b);
  }
  ASSERT_EQ(testsupport::InsertCard('E', testsupport::UnixPathOf(card.base)), 0u);
  const CleanUpTally tally = DeleteImportedTitles(card.session.core, card.session.list, r.imported);
  EXPECT_EQ(tally.deleted, 2u) << Reasons(tally);
  for (int c : {1, 2, 3}) EXPECT_FALSE(Exists(Stream(card.base, c))) << c;
  EXPECT_EQ(FilesBelow(dest).size(), 12u);
  testsupport::RemoveTree(dest);
}

TEST(DiscImport, StopsAndFailuresLeaveNothingOfTheirTitle) {
  // Title 2's clip has no stream: its job fails.
  CardInE card({{1, 2}, {3}, {4}}, {{1, {5000, 5}}, {2, {6000, 5}}, {3, {7000, 6}}});
  ASSERT_TRUE(card.inserted);
  std::vector<DiscSelection> sel = card.Open({0, 1, 2});
  IVxBDIntegrator* core = card.session.core;

  // Stopped between titles: the first stays imported and registered, the second never starts.
  {
    const std::string dest = testsupport::NewTempFolder("glimora-discdest");
    Seen seen;
    std::atomic<int> cancel{0};
    DiscImportResult r = RunDiscImportPass(core, card.session.list, sel, dest, "E:\\", ByDay(), cancel,
                                           seen.Hooks(&cancel));
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(r.completed, std::vector<int>{0});
    EXPECT_TRUE(seen.errors.empty());
    EXPECT_EQ(FilesBelow(dest).size(), 8u);  // two clips of title 0, four files each
    EXPECT_FALSE(Exists(dest + "\\20261106"));
    testsupport::RemoveTree(dest);
  }
  // Stopped inside a title, after its first clip was written whole: the title's files go.
  {
    const std::string dest = testsupport::NewTempFolder("glimora-discdest");
    void* p = nullptr;
    ASSERT_EQ(core->CreateImportJob(&p), 0);
    IVxBDImportJob* job = static_cast<IVxBDImportJob*>(p);
    struct StopAfterCommit : CClipFactsWriter {
      explicit StopAfterCommit(HRESULT* hr) : CClipFactsWriter(hr) {}
      HRESULT STDMETHODCALLTYPE Commit(int* n) override {
        HRESULT hr = CClipFactsWriter::Commit(n);
        job->Abort();
        return hr;
      }
      IVxBDImportJob* job = nullptr;
    };
    HRESULT made = E_FAIL;
    auto* writer = new StopAfterCommit(&made);
    ASSERT_EQ(made, S_OK);
    writer->job = job;
    writer->AddRef();
    ASSERT_EQ(job->Reset(), 0);
    ASSERT_EQ(job->SetItem(card.session.list, 0, std::wstring(dest.begin(), dest.end()).c_str(), 1), 0);
    ASSERT_EQ(job->SetSink(writer), 0);  // the job keeps the reference we added
    ASSERT_EQ(job->Start(), 0);
    long result = 0;
    ASSERT_EQ(job->Wait(-1, &result), 0);
    EXPECT_EQ(result, HRESULT_FROM_WIN32(ERROR_CANCELLED));
    EXPECT_TRUE(FilesBelow(dest).empty());
    job->Release();
    testsupport::RemoveTree(dest);
  }
  // A failing job: its message with the code, nothing of it registered or left.
  {
    const std::string dest = testsupport::NewTempFolder("glimora-discdest");
    Seen seen;
    std::atomic<int> cancel{0};
    DiscImportResult r = RunDiscImportPass(core, card.session.list, {sel[1], sel[2]}, dest, "E:\\", ByDay(), cancel,
                                           seen.Hooks());
    ASSERT_EQ(seen.errors.size(), 1u);
    EXPECT_EQ(seen.errors[0].first, (UINT)IDS_IMPORT_DISC_FAILED);
    EXPECT_EQ(seen.errors[0].second, r.code);
    EXPECT_LT(r.code, 0);
    EXPECT_EQ(r.completed, std::vector<int>{1});
    EXPECT_EQ(seen.registered.size(), 1u);
    EXPECT_EQ(FilesBelow(dest).size(), 4u);
    testsupport::RemoveTree(dest);
  }
}

TEST(DiscImport, AFullDestinationIsDiskFullAndLeavesNothing) {
  const std::string full = importtest::SmallDisk("C:\\glimora-full", 8 << 20);
  if (full.empty()) SKIP_WITHOUT_FACILITY(testsupport::kMountFacility, "C:\\glimora-full is not a small mounted disk");
  CardInE card({{1}}, {{1, {3 << 20, 5}}});
  ASSERT_TRUE(card.inserted);
  std::vector<DiscSelection> sel = card.Open({0});
  Seen seen;
  std::atomic<int> cancel{0};
  DiscImportResult r =
      RunDiscImportPass(card.session.core, card.session.list, sel, full + "\\disc", "E:\\", ByDay(), cancel,
                        seen.Hooks());
  EXPECT_EQ(r.code, VXBD_E_DISK_FULL);
  ASSERT_EQ(seen.errors.size(), 1u);
  EXPECT_EQ(seen.errors[0].first, (UINT)IDS_BROWSER_DISK_FULL);
  EXPECT_TRUE(seen.registered.empty());
  EXPECT_TRUE(FilesBelow(full + "\\disc").empty());
  EXPECT_TRUE(Exists(Stream(card.base, 1)));
  testsupport::RemoveTree(full + "\\disc");
}

TEST(DiscImport, DateFoldersAndFreeBaseNames) {
  ImportSettings s = ByDay();
  // The folder follows the mode; the label is the recording date whatever the folder (a
  // title filed under today was still recorded on its own day), today's only for no date.
  struct Case {
    int mode;
    SYSTEMTIME t;
    bool todaysFolder;
    const char* folder;
    const char* label;
  } cases[] = {
      {2, {2026, 11, 0, 22}, false, "20261122", "2026_11_22"},
      {1, {2026, 11, 0, 22}, false, "202611", "2026_11_22"},
      {2, {0, 13, 0, 45}, true, "", nullptr},
      {3, {2026, 11, 0, 22}, true, "", "2026_11_22"},
      {4, {2026, 11, 0, 22}, false, "Movies", "2026_11_22"},
  };
  SYSTEMTIME now;
  GetLocalTime(&now);
  char today[16], label[16];
  snprintf(today, sizeof today, "%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
  snprintf(label, sizeof label, "%d_%02d_%02d", now.wYear, now.wMonth, now.wDay);
  for (const Case& c : cases) {
    s.backupMode = c.mode;
    s.folderName = "Movies";
    EXPECT_EQ(DiscDateFolder(s, c.t), c.todaysFolder ? today : c.folder) << c.mode;
    EXPECT_EQ(DiscDateLabel(c.t), c.label ? c.label : label) << c.mode;
  }
  // The list's label: the date, then the parts line.
  EXPECT_EQ(DiscItemLabel({2026, 11, 0, 22}, 3, "parts %d"), "2026_11_22\nparts 3");
  const std::string folder = testsupport::NewTempFolder("glimora-discbase");
  EXPECT_EQ(VxBDFreeClipBase(folder, "00001", ".MTS"), "00001");
  testsupport::WriteWholeFile(folder + "\\00001.iis", "x");
  testsupport::WriteWholeFile(folder + "\\00001 (2).MTS", "x");
  EXPECT_EQ(VxBDFreeClipBase(folder, "00001", ".MTS"), "00001 (3)");
  testsupport::RemoveTree(folder);
}

// The pass stops once a title brings the produced files to 1000: that title stays complete
// and registered, the titles after it are left on the card and nothing of them is written.
TEST(DiscImport, TheThousandFileLimitEndsThePassAfterTheTitleThatReachesIt) {
  std::vector<int> first, second = {999, 1000};
  std::map<int, std::pair<size_t, int>> streams;
  for (int c = 1; c <= 1001; ++c) {
    if (c <= 998) first.push_back(c);
    streams[c] = {64, c <= 998 ? 5 : 6};
  }
  CardInE card({first, second, {1001}}, streams);
  ASSERT_TRUE(card.inserted);
  const std::string dest = testsupport::NewTempFolder("glimora-disclimit");
  std::vector<DiscSelection> sel = card.Open({0, 1, 2});
  Seen seen;
  std::atomic<int> cancel{0};
  DiscImportResult r =
      RunDiscImportPass(card.session.core, card.session.list, sel, dest + "\\", "E:\\", ByDay(), cancel, seen.Hooks());
  EXPECT_EQ(r.code, 0);
  EXPECT_TRUE(r.limitReached);
  EXPECT_EQ(r.produced, 1000);
  EXPECT_EQ(r.completed, (std::vector<int>{0, 1}));
  EXPECT_EQ(seen.registered.size(), 1000u);
  EXPECT_EQ(seen.lastPos, 100);
  EXPECT_EQ(seen.entries.size(), 2u);
  const std::vector<std::string> files = FilesBelow(dest);
  EXPECT_EQ(files.size(), 4000u);
  auto has = [&files](const std::string& name) {
    return std::any_of(files.begin(), files.end(), [&](const std::string& f) { return f.find(name) != std::string::npos; });
  };
  EXPECT_TRUE(has("01000.MTS"));
  EXPECT_FALSE(has("01001."));
  EXPECT_TRUE(Exists(Stream(card.base, 1001)));
  testsupport::RemoveTree(dest);
}
