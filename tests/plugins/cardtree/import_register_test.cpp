// Registration of imported files: the entries each file gets, decided without the
// database, and the batch entering them into a private photo database.
#include <ImportRegister.h>
#include <ImportRun.h>
#include <CardRules.h>
#include <Kitlib2/Profile.h>
#include <RecordGate.h>
#include <RecordGateEx.h>
#include <VxDatabase.h>
#include <VxResourceIds.h>
#include <files.h>
#include <gtest/gtest.h>
#include <profileroot.h>
#include <program.h>
#include <tempfolder.h>

#include "importdata.h"

using namespace cardtree;

namespace {

struct Stores {
  testsupport::ScopedProfileRoot profile{"import-register"};
  std::string scratch = testsupport::NewTempFolder("import-register");
  HINSTANCE resources = LoadLibraryA("VxResource.dll");
  Stores() {
    SetResourceModule(resources);
    CreateDirectoryA((scratch + "\\db").c_str(), nullptr);
    VxDBSetFolder((scratch + "\\db").c_str());
    VxDBWInitDatabase();
  }
  ~Stores() {
    VxDBWExitDatabase(-1);
    SetResourceModule(nullptr);
    testsupport::RemoveTree(scratch);
  }
};

RegisterOptions Options() {
  RegisterOptions o;
  o.today = "2026/12/10";
  return o;
}

}  // namespace

TEST(ImportRegister, KeywordsPerFileAndSwitch) {
  Stores stores;
  std::string file = stores.scratch + "\\Pictures\\2010_05_01\\ABCD0001.JPG";
  testsupport::WriteWholeFile(file, "not a picture");
  std::string dateKeyword = "取り込み日 2026/12/10", unknown = ResourceString(IDS_GROUP_UNKNOWN_KEY);
  ASSERT_FALSE(unknown.empty());
  struct Case {
    const char* what;
    std::string keyword;
    int copySupport;
    bool onAutoPlay;
    long shot;
    std::string want;
  } cases[] = {
      {"typed keyword", "trip", 0, false, 100, "trip"},
      {"no-group text becomes its key", ResourceString(IDS_GROUP_UNKNOWN), 0, false, 100, unknown},
      {"import date alone", "", 0x100, false, 100, dateKeyword},
      {"import date after the keyword", "trip", 0x100, false, 100, "trip||" + dateKeyword},
      {"auto-play order", "", 0x1, true, 100, unknown},
      {"auto-play bit without the file", "", 0x1, false, 100, ""},
      {"unknown date with a date entry", "", 0x1, true, -1, unknown + "||撮影日不明"},
  };
  for (const Case& c : cases) {
    RegisterOptions o = Options();
    o.keyword = c.keyword;
    o.copySupport = c.copySupport;
    if (c.onAutoPlay) o.autoPlay.insert("E:\\DCIM\\100AAAAA\\ABCD0001.JPG");
    Classification k = ClassifyImportedFile(file, "e:\\DCIM\\100AAAAA\\abcd0001.jpg", c.shot, 1, 2, o);
    EXPECT_EQ(k.keyword, c.want) << c.what;
  }
  // The folder entry names the folder the file lies in, with its path.
  Classification k = ClassifyImportedFile(file, "", 100, 1, 2, Options());
  EXPECT_TRUE(k.folder);
  EXPECT_EQ(k.folderName, "2010_05_01");
  EXPECT_EQ(k.folderPath, stores.scratch + "\\Pictures\\2010_05_01\\");
  // A file without model or scene texts gets neither entry; switches off leave them out.
  RegisterOptions o = Options();
  o.syModel = 1;
  k = ClassifyImportedFile(file, "", 100, 1, 2, o);
  EXPECT_FALSE(k.model);
  EXPECT_FALSE(k.scene);
  o.classifyDate = o.classifyFolder = o.classifyFace = 0;
  k = ClassifyImportedFile(file, "", 100, 1, 2, o);
  EXPECT_FALSE(k.date);
  EXPECT_FALSE(k.folder);
  EXPECT_FALSE(k.face);
}

TEST(ImportRegister, PlaceOfAGpsPictureOnlyWithBothSwitchesAndAnAnswer) {
  Stores stores;
  const std::string tokyo = stores.scratch + "\\tokyo.jpg", plain = stores.scratch + "\\plain.jpg";
  ASSERT_TRUE(CopyFileA(testsupport::Fixture("exif_full.jpg").c_str(), tokyo.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(testsupport::Fixture("exif_nothumb.jpg").c_str(), plain.c_str(), FALSE));
  struct Case {
    const char* what;
    std::string file;
    int syGps, classifyGps;
    bool answers;
    bool asked, place;
  } cases[] = {
      {"found", tokyo, 1, 1, true, true, true},
      {"no city near", tokyo, 1, 1, false, true, false},
      {"SyGPS2 off", tokyo, 0, 1, true, false, false},
      {"ClassifyGPS off", tokyo, 1, 0, true, false, false},
      {"no position", plain, 1, 1, true, false, false},
  };
  for (const Case& c : cases) {
    RegisterOptions o = Options();
    o.syGps = c.syGps;
    o.classifyGps = c.classifyGps;
    std::string askedLatitude;
    o.findPlace = [&](const std::string& latitude, const std::string&, std::string* a1, std::string* a2,
                      std::string* a3) {
      askedLatitude = latitude;
      if (!c.answers) return false;
      *a1 = "JP";
      *a2 = "Tokyo";
      *a3 = "Minato";
      return true;
    };
    Classification k = ClassifyImportedFile(c.file, "E:\\DCIM\\100AAAAA\\ABCD0001.JPG", -1, -1, -1, o);
    EXPECT_EQ(!askedLatitude.empty(), c.asked) << c.what;
    EXPECT_EQ(k.place, c.place) << c.what;
    if (c.place) {
      EXPECT_EQ(k.city, "Minato");
      EXPECT_EQ(k.latitude[0], 35) << askedLatitude;  // 35.6586 N, 139.7454 E
      EXPECT_EQ(k.latitude[1], 39);
      EXPECT_EQ(k.longitude[0], 139);
      EXPECT_EQ(k.longitude[1], 44);
      EXPECT_EQ(RegisterClassified(c.file, k), S_OK);
    }
  }
}

TEST(ImportRegister, BatchEntersCopiedFiles) {
  Stores stores;
  std::vector<std::string> dest, src;
  for (int i = 1; i <= 3; ++i) {
    std::string d = stores.scratch + "\\Pictures\\2010_05_01\\ABCD000" + std::to_string(i) + ".JPG";
    testsupport::WriteWholeFile(d, "x" + std::to_string(i));
    dest.push_back(d);
    src.push_back("E:\\DCIM\\100AAAAA\\ABCD000" + std::to_string(i) + ".JPG");
  }
  dest.push_back(stores.scratch + "\\gone.jpg");  // passed over
  src.push_back("E:\\gone.jpg");
  RegisterOptions o = Options();
  o.keyword = "trip";
  std::vector<size_t> seen;
  EXPECT_EQ(RegisterImportedFiles(dest, src, o, [&](size_t k, size_t n) { seen.push_back(k * 100 / n); }), 3);
  EXPECT_EQ(seen.back(), 100u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(VxDBWIsEnrolled(dest[i].c_str()), S_OK) << dest[i];
    EXPECT_EQ(VxDBWxCheckKeyword(dest[i].c_str(), "trip"), S_OK) << dest[i];
  }
  EXPECT_NE(VxDBWIsEnrolled(dest[3].c_str()), S_OK);
  STRINGLIST* found = nullptr;
  ASSERT_EQ(VxDBWxSearch("FolderName,2010_05_01", &found), S_OK);
  int n = 0;
  for (STRINGLIST* p = found; p; p = p->pNext) ++n;
  EXPECT_EQ(n, 3);
  FreeStringList(found);
  // Registering again replaces the entries rather than adding a second record.
  o.keyword = "again";
  EXPECT_EQ(RegisterImportedFiles({dest[0]}, {src[0]}, o), 1);
  EXPECT_EQ(VxDBWxCheckKeyword(dest[0].c_str(), "trip"), S_FALSE);
  EXPECT_EQ(VxDBWxCheckKeyword(dest[0].c_str(), "again"), S_OK);
}

TEST(ImportRegister, ACopyRunAndWhatAKilledRunLeft) {
  Stores stores;
  std::string a = stores.scratch + "\\d\\A.JPG", b = stores.scratch + "\\d\\B.JPG", c = stores.scratch + "\\d\\C.JPG";
  for (const std::string& f : {a, b, c}) testsupport::WriteWholeFile(f, f);
  ASSERT_EQ(VxDBWEnrollFile(c.c_str(), 0), S_OK);
  CopyOutcome out;
  out.copiedTargets = {a};
  out.copiedSources = {"E:\\A.JPG"};
  CopyPlan plan;
  // B: a verified copy a killed run renamed but never entered; C: entered already.
  plan.presentTargets = {b, c};
  plan.presentSources = {"E:\\B.JPG", "E:\\C.JPG"};
  EXPECT_EQ(RegisterCopyRun(out, plan, Options()), 2);
  for (const std::string& f : {a, b, c}) EXPECT_EQ(VxDBWIsEnrolled(f.c_str()), S_OK) << f;
}

namespace {

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> out;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) out.push_back(folder + "\\" + fd.cFileName);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return out;
}

}  // namespace

// The engine's process is ended without any clean-up (as by kill -9) at each phase of a
// copy and in the registration batch: nothing of the card is lost, nothing unverified is
// registered, and a second run completes without duplicates or leftovers.
TEST(ImportKill, EndedAtEveryPhaseThenRunAgain) {
  Stores stores;
  for (int phase = 1; phase <= 5; ++phase) {
    SCOPED_TRACE(phase);
    std::string root = stores.scratch + "\\kill" + std::to_string(phase);
    std::string card = root + "\\card", dest = root + "\\dest", marker = root + "\\stopped";
    std::vector<std::string> data;
    for (int i = 1; i <= 4; ++i) {
      data.push_back(importtest::Pattern((6 << 20) + i, phase * 10 + i));
      testsupport::WriteWholeFile(card + "\\DCIM\\100AAAAA\\ABCD000" + std::to_string(i) + ".JPG", data.back());
    }
    CreateDirectoryA(dest.c_str(), nullptr);
    std::string cmd = "import_kill_child.exe \"" + card + "\" \"" + dest + "\" \"" + stores.scratch + "\\db\" " +
                      std::to_string(phase) + " \"" + marker + "\"";
    STARTUPINFOA si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    DWORD waited = 0;
    while (GetFileAttributesA(marker.c_str()) == INVALID_FILE_ATTRIBUTES && waited < 60000 &&
           WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
      Sleep(20);
      waited += 20;
    }
    ASSERT_NE(GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES) << "the child never reached its phase";
    TerminateProcess(pi.hProcess, 9);
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);

    // The card is whole; every final file equals its source; whatever is registered is
    // a final file.
    for (int i = 1; i <= 4; ++i)
      EXPECT_EQ(testsupport::ReadWholeFile(card + "\\DCIM\\100AAAAA\\ABCD000" + std::to_string(i) + ".JPG"),
                data[i - 1]);
    for (const std::string& f : FilesIn(dest)) {
      std::string name = f.substr(f.find_last_of('\\') + 1);
      if (IsCopyTemporaryName(name)) {
        EXPECT_NE(VxDBWIsEnrolled(f.c_str()), S_OK) << f;
        continue;
      }
      EXPECT_TRUE(SameFileContent(f, card + "\\DCIM\\100AAAAA\\" + name)) << f;
    }

    // Run again: everything copied once, registered, no temporaries.
    ImportSettings s;
    s.backupMode = 0;
    CopyPlan plan;
    PlanCardCopy(card, dest, s, &plan);
    CopyOutcome out;
    EXPECT_EQ(RunCopyPlan(&plan, &out), 0u);
    RegisterCopyRun(out, plan, Options());
    std::vector<std::string> files = FilesIn(dest);
    EXPECT_EQ(files.size(), 4u);
    for (const std::string& f : files) {
      std::string name = f.substr(f.find_last_of('\\') + 1);
      EXPECT_FALSE(IsCopyTemporaryName(name)) << f;
      EXPECT_TRUE(SameFileContent(f, card + "\\DCIM\\100AAAAA\\" + name)) << f;
      EXPECT_EQ(VxDBWIsEnrolled(f.c_str()), S_OK) << f;
    }
    EXPECT_EQ(DeleteImportedSources(out, plan), 1);
    EXPECT_TRUE(FilesIn(card + "\\DCIM\\100AAAAA").empty());
    testsupport::RemoveTree(root);
  }
}
