// Registration of imported files: the entries each file gets, decided without the
// database, and the batch entering them into a private photo database.
#include <ImportRegister.h>
#include <ImportRun.h>
#include <FaceIdentifier.h>
#include <Kitlib2/CMDIB.h>
#include <imaging/decode.h>
#include <imaging/encode.h>
#include <libfacetag.h>
#include <CardRules.h>
#include <Kitlib2/Profile.h>
#include <PlaceFinder.h>
#include <RecordGate.h>
#include <RecordGateEx.h>
#include <VxDatabase.h>
#include <sqlite3.h>
#include <sqliterows.h>
#include <VxResourceIds.h>
#include <files.h>
#include <program.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <profileroot.h>
#include <program.h>
#include <tempfolder.h>

#include "../../common/faces/portraits.h"
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

TEST(ImportRegister, FolderEntryIsTheFilesOwnFolder) {
  // "\x95\x5c" is one double-byte character whose second byte is that of "\\".
  struct Case {
    std::string destination, name, path;
  } cases[] = {{"D:\\P\\2010_05_01\\A.JPG", "2010_05_01", "D:\\P\\2010_05_01\\"},
               {"D:\\P\\\x95\x5c\\A.JPG", "\x95\x5c", "D:\\P\\\x95\x5c\\"},
               {"D:\\P\\\x95\x5c.JPG", "P", "D:\\P\\"},
               {"D:\\A.JPG", "", "D:\\"},
               {"A.JPG", "", ""}};
  for (const Case& c : cases) {
    std::string name, path;
    FolderEntryOf(c.destination, &name, &path);
    EXPECT_EQ(name, c.name) << c.destination;
    EXPECT_EQ(path, c.path) << c.destination;
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

// The copy's facts may be minutes old when the registration comes: a file removed since
// gets no entry.
TEST(ImportRegister, AFileGoneSinceItsCopyIsPassedOver) {
  Stores stores;
  const std::string bytes = testsupport::ReadWholeFile(testsupport::Fixture("exif_le.jpg"));
  const std::string kept = stores.scratch + "\\d\\KEPT.JPG", gone = stores.scratch + "\\d\\GONE.JPG";
  CopyOutcome out;
  for (const std::string& f : {kept, gone}) {
    ASSERT_TRUE(testsupport::WriteWholeFile(f, bytes));
    out.copiedTargets.push_back(f);
    out.copiedSources.push_back("E:\\DCIM\\" + f.substr(f.rfind('\\') + 1));
    out.facts.push_back(PictureFactsOfHead(f, bytes.data(), bytes.size()));
    ASSERT_TRUE(out.facts.back().known);
  }
  ASSERT_TRUE(DeleteFileA(gone.c_str()));
  EXPECT_EQ(RegisterCopyRun(out, CopyPlan(), Options()), 1);
  EXPECT_EQ(VxDBWIsEnrolled(kept.c_str()), S_OK);
  EXPECT_NE(VxDBWIsEnrolled(gone.c_str()), S_OK);
}

// Facts taken with the copy's stamp carry the size and times it placed; a file rewritten
// since keeps what the disk says when the registration comes, an untouched one the copy's.
TEST(ImportRegister, AFileChangedSinceItsCopyKeepsWhatTheDiskSays) {
  Stores stores;
  const std::string bytes = testsupport::ReadWholeFile(testsupport::Fixture("exif_le.jpg"));
  struct Case {
    const char* name;
    size_t appended;  // bytes written to the file after its copy
  };
  const Case cases[] = {{"UNTOUCHED.JPG", 0}, {"REWRITTEN.JPG", 777}};
  CopyOutcome out;
  for (const Case& c : cases) {
    const std::string f = stores.scratch + "\\d\\" + c.name;
    ASSERT_TRUE(testsupport::WriteWholeFile(f, bytes));
    WIN32_FILE_ATTRIBUTE_DATA placed;
    ASSERT_TRUE(GetFileAttributesExA(f.c_str(), GetFileExInfoStandard, &placed));
    safecopy::FileStamp stamp;
    stamp.size = bytes.size();
    stamp.created = placed.ftCreationTime;
    stamp.copyWritten = placed.ftLastWriteTime;
    out.copiedTargets.push_back(f);
    out.copiedSources.push_back(std::string("E:\\DCIM\\") + c.name);
    out.facts.push_back(PictureFactsOfHead(f, bytes.data(), bytes.size(), &stamp));
    ASSERT_TRUE(out.facts.back().known);
    if (c.appended) {
      ASSERT_TRUE(testsupport::WriteWholeFile(f, bytes + std::string(c.appended, 'x')));
    }
  }
  EXPECT_EQ(RegisterCopyRun(out, CopyPlan(), Options()), 2);
  VxDBWExitDatabase(-1);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2((stores.scratch + "\\db\\VxDatabase.db").c_str(), &db, SQLITE_OPEN_READONLY, nullptr),
            SQLITE_OK);
  for (const Case& c : cases) {
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT size FROM files WHERE name = ?", -1, &st, nullptr), SQLITE_OK);
    sqlite3_bind_text(st, 1, c.name, -1, SQLITE_STATIC);
    EXPECT_EQ(testsupport::StatementRows(st), std::to_string(bytes.size() + c.appended) + "|\n") << c.name;
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
}

namespace {

// The folder's files as whole paths.
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> paths = testsupport::FileNamesIn(folder);
  for (std::string& p : paths) p = folder + "\\" + p;
  return paths;
}

}  // namespace

// The engine's process is ended without any clean-up (as by kill -9) at each phase of a
// copy, in the registration batch and between the card's deletions: nothing of the card is
// lost, nothing unverified is registered, and a second run completes without duplicates or
// leftovers.
TEST(ImportKill, EndedAtEveryPhaseThenRunAgain) {
  Stores stores;
  for (int phase = 1; phase <= 6; ++phase) {
    SCOPED_TRACE(phase);
    std::string root = stores.scratch + "\\kill" + std::to_string(phase);
    std::string card = root + "\\card", dest = root + "\\dest", marker = root + "\\stopped";
    const std::string folder = card + "\\DCIM\\100AAAAA\\";
    std::vector<std::string> data;
    for (int i = 1; i <= 4; ++i) {
      data.push_back(importtest::Pattern((6 << 20) + i, phase * 10 + i));
      testsupport::WriteWholeFile(folder + "ABCD000" + std::to_string(i) + ".JPG", data.back());
    }
    // "ABCD000i.JPG" -> its data.
    auto dataOf = [&](const std::string& name) { return data.at(name[7] - '1'); };
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

    // Every card file is whole, or gone with its verified, registered copy at the
    // destination; every final file equals its source; whatever is registered is a final file.
    int gone = 0;
    for (int i = 1; i <= 4; ++i) {
      const std::string name = "ABCD000" + std::to_string(i) + ".JPG";
      if (GetFileAttributesA((folder + name).c_str()) != INVALID_FILE_ATTRIBUTES) {
        EXPECT_EQ(testsupport::ReadWholeFile(folder + name), data[i - 1]);
        continue;
      }
      ++gone;
      EXPECT_EQ(testsupport::ReadWholeFile(dest + "\\" + name), data[i - 1]) << name;
      EXPECT_EQ(VxDBWIsEnrolled((dest + "\\" + name).c_str()), S_OK) << name;
    }
    EXPECT_EQ(gone, phase == 6 ? 2 : 0);
    for (const std::string& f : FilesIn(dest)) {
      std::string name = f.substr(f.find_last_of('\\') + 1);
      if (IsCopyTemporaryName(name)) {
        EXPECT_NE(VxDBWIsEnrolled(f.c_str()), S_OK) << f;
        continue;
      }
      EXPECT_EQ(testsupport::ReadWholeFile(f), dataOf(name)) << f;
    }

    // Run again: everything copied once, registered, no temporaries, the card emptied.
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
      EXPECT_EQ(testsupport::ReadWholeFile(f), dataOf(name)) << f;
      EXPECT_EQ(VxDBWIsEnrolled(f.c_str()), S_OK) << f;
    }
    // The files still on the card, each verified against its copy.
    EXPECT_EQ(DeleteImportedSources(out, plan).deleted, static_cast<size_t>(4 - gone));
    EXPECT_TRUE(FilesIn(card + "\\DCIM\\100AAAAA").empty());
    testsupport::RemoveTree(root);
  }
  // The database came through every kill whole.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2((stores.scratch + "\\db\\VxDatabase.db").c_str(), &db, SQLITE_OPEN_READONLY, nullptr),
            SQLITE_OK);
  sqlite3_stmt* check = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(check), SQLITE_ROW);
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok");
  sqlite3_finalize(check);
  sqlite3_close(db);
}

// With the place switches on, a GPS picture gets the place of its nearest city once the
// place finder is ready; before that, or with a switch off, no place entry.
TEST(ImportRegister, PlacesOfGpsPictures) {
  Stores stores;
  const std::string photo = stores.scratch + "\\Pictures\\gps.jpg";
  testsupport::WriteWholeFile(photo, testsupport::ReadWholeFile(testsupport::Fixture("exif_le.jpg")));
  HANDLE finder = VxGPSInit();
  ASSERT_NE(finder, nullptr) << "PlaceFinder.dat is not beside the library (tools/setup.sh makes it)";
  struct Case {
    int syGps, classifyGps;
    HANDLE finder;
    bool location;
  } cases[] = {{1, 1, finder, true}, {1, 1, nullptr, false}, {0, 1, finder, false}, {1, 0, finder, false}};
  for (const Case& k : cases) {
    RegisterOptions o = Options();
    o.syGps = k.syGps;
    o.classifyGps = k.classifyGps;
    o.placeFinder = k.finder;
    Classification c = ClassifyImportedFile(photo, "E:\\DCIM\\100AAAAA\\gps.jpg", -1, -1, -1, o);
    EXPECT_EQ(c.location, k.location) << k.syGps << k.classifyGps << (k.finder != nullptr);
    if (!c.location) continue;
    EXPECT_EQ(c.area, "England");
    EXPECT_EQ(c.city, "City of Westminster");
    EXPECT_EQ(c.place, "GB");
    EXPECT_EQ(std::vector<int>(c.latitude, c.latitude + 3), (std::vector<int>{51, 30, 3}));
    EXPECT_EQ(std::vector<int>(c.longitude, c.longitude + 3), (std::vector<int>{0, -7, 29}));
    EXPECT_EQ(RegisterClassified(photo, c), S_OK);
  }
  // A picture without a position.
  RegisterOptions o = Options();
  o.syGps = 1;
  o.placeFinder = finder;
  const std::string plain = stores.scratch + "\\Pictures\\plain.jpg";
  testsupport::WriteWholeFile(plain, "not a picture");
  EXPECT_FALSE(ClassifyImportedFile(plain, "E:\\plain.jpg", -1, -1, -1, o).location);
  VxGPSTerm(finder);
}

// A portrait's face identified as the person registered with another picture of it: the
// batch files it under that person; a picture without faces gets no person record.
TEST(ImportRegister, PortraitGetsItsRegisteredPerson) {
  ASSERT_TRUE(portraits::Ready());
  const std::string fixture = portraits::Portrait();
  Stores stores;
  imaging::Dib portrait, crop, land;
  ASSERT_EQ(imaging::DecodeFile(fixture.c_str(), imaging::DecodeOptions(), &portrait), S_OK);
  // The second picture: the upper middle of the portrait, as a camera closer by would take it.
  ASSERT_TRUE(crop.Create(448, 448, 24));
  for (int y = 0; y < 448; ++y) memcpy(crop.Row(y), portrait.Row(y) + 64 * 3, 448 * 3);
  ASSERT_TRUE(land.Create(640, 480, 24));
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      uint8_t* p = land.Row(y) + x * 3;
      p[0] = (uint8_t)(y < 300 ? 230 - y / 4 : 40);
      p[1] = (uint8_t)(y < 300 ? 180 - y / 6 : 120 + (x * 7 + y * 3) % 11);
      p[2] = (uint8_t)(y < 300 ? 120 : 60);
    }
  const std::string first = stores.scratch + "\\register.png", second = stores.scratch + "\\Pictures\\closer.png",
                    landscape = stores.scratch + "\\Pictures\\land.png";
  testsupport::MakeFolders(stores.scratch + "\\Pictures");
  ASSERT_EQ(imaging::SavePng(portrait, first.c_str()), S_OK);
  ASSERT_EQ(imaging::SavePng(crop, second.c_str()), S_OK);
  ASSERT_EQ(imaging::SavePng(land, landscape.c_str()), S_OK);

  // The person of the face register, and the face library's record of the first picture.
  IVxDBFile* db = GetDBFileObject();
  ASSERT_NE(db, nullptr);
  VXDBRECORD person = {};
  strcpy(person.szName, "Eileen");
  strcpy(person.szPath, first.c_str());
  person.nFlag = 1;
  int added = 0, id = -1;
  ASSERT_EQ(db->AddRecord(person, VXDB_KIND_REGISTER, &added), S_OK);
  ASSERT_EQ(db->GetPersonId("Eileen", &id), S_OK);
  CFaceIdentifier faces;
  ASSERT_EQ(faces.LoadDb(stores.scratch + "\\faces.ftd"), S_OK);
  CCMDIB picture;
  ASSERT_EQ(picture.ResizeAndRotate(first.c_str(), SIZE{640, 480}, CMDIB_RESIZE_CANVAS), 0);
  ASSERT_EQ(faces.SetImage(&picture.GetBitmapInfoAddress()->bmiHeader, picture.GetBitsAddress()), S_OK);
  WORD count = 0;
  ASSERT_EQ(faces.GetNumberOfFace(&count), S_OK);
  ASSERT_EQ(count, 1);
  ASSERT_EQ(faces.SetCurrentFace(0), S_OK);
  ASSERT_GT(FTAG_StoreRecord(-1, id), 0);

  RegisterOptions o = Options();
  o.faces = &faces;
  EXPECT_EQ(RegisterImportedFiles({second, landscape}, {"E:\\DCIM\\closer.png", "E:\\DCIM\\land.png"}, o), 2);
  VXDBRECORD found = {};
  ASSERT_EQ(db->ReadRecord("Eileen", second.c_str(), &found), S_OK);
  EXPECT_EQ(found.nCandidate1, id);
  EXPECT_GE(found.nScore, 50);
  EXPECT_EQ(found.nFaceCount, 1);
  EXPECT_NE(db->ReadRecord("Eileen", landscape.c_str(), &found), S_OK);
  db->Release();
}

// Reading a file once for its times and entries gives what reading it by parts gives.
TEST(ImportRegister, OneReadGivesTheEntriesOfReadingByParts) {
  Stores stores;
  RegisterOptions o = Options();
  o.syModel = o.syGps = 1;
  o.placeFinder = VxGPSInit();
  for (const char* fixture : {"exif_le.jpg", "exif_full.jpg", "exif_digitized.jpg", "plain.jpg", "movie.mov",
                              "movie.mp4", "image.png"}) {
    SCOPED_TRACE(fixture);
    const std::string file = stores.scratch + "\\Pictures\\" + fixture;
    testsupport::WriteWholeFile(file, testsupport::ReadWholeFile(testsupport::Fixture(fixture)));
    // Times of its own, the last access an hour ahead: a read then leaves it be, where it
    // would otherwise move it on to the second the read happens in.
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG hour = 36000000000ULL, at = (ULONGLONG(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    const FILETIME written = {DWORD(at - hour), DWORD((at - hour) >> 32)};
    const FILETIME accessed = {DWORD(at + hour), DWORD((at + hour) >> 32)};
    HANDLE h = CreateFileA(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetFileTime(h, nullptr, &accessed, &written));
    CloseHandle(h);
    long shot = -1, access = -1, creation = -1;
    if (CCMDIB::GetTime(file.c_str(), &shot, &access, &creation, NULL) < 0) shot = access = creation = -1;
    const Classification parts = ClassifyImportedFile(file, "E:\\X.JPG", shot, access, creation, o);
    Classification once;
    ASSERT_TRUE(ReadImportedFile(file, "E:\\X.JPG", o, &once));
    EXPECT_EQ(once.shot, parts.shot);
    EXPECT_EQ(once.access, parts.access);
    EXPECT_EQ(once.creation, parts.creation);
    EXPECT_EQ(once.keyword, parts.keyword);
    EXPECT_EQ(once.maker + "|" + once.modelName, parts.maker + "|" + parts.modelName);
    EXPECT_EQ(once.scene1 + "|" + once.scene2 + "|" + once.scene3 + "|" + once.scene4,
              parts.scene1 + "|" + parts.scene2 + "|" + parts.scene3 + "|" + parts.scene4);
    EXPECT_EQ(once.location, parts.location);
    EXPECT_EQ(once.city, parts.city);
  }
  Classification gone;
  EXPECT_FALSE(ReadImportedFile(stores.scratch + "\\none.jpg", "", o, &gone));
  if (o.placeFinder) VxGPSTerm(o.placeFinder);
}

namespace {

// Every stored row of the registered files, ids and enrolment times left out, in one text;
// with their person records when asked.
std::string StoredRows(const std::string& dbFile, bool persons = false) {
  sqlite3* db = nullptr;
  std::string rows;
  if (sqlite3_open_v2(dbFile.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    for (const char* sql :
         {"SELECT path, path_key, folder_key, name, size, file_time, enroll_flags, shot_time, favorite, print_count,"
          " phash FROM files ORDER BY path_key",
          "SELECT f.path_key, m.rec, m.recno, m.seq, m.field, m.flag, m.value, m.value_key FROM meta m"
          " JOIN files f ON f.id = m.file_id ORDER BY f.path_key, m.rec, m.recno, m.seq",
          "SELECT f.path_key, k.keyword_key, k.keyword FROM keywords k JOIN files f ON f.id = k.file_id"
          " ORDER BY f.path_key, k.keyword_key",
          persons ? "SELECT path_key, kind, name, ident_name, tag_name, cand1, score, face_count FROM person_records"
                    " ORDER BY path_key, kind, name, tag_name"
                  : "SELECT 1 WHERE 0"}) {
      sqlite3_stmt* st = nullptr;
      if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) rows += "bad statement\n";
      rows += testsupport::StatementRows(st);
      sqlite3_finalize(st);
    }
  }
  sqlite3_close(db);
  return rows;
}

}  // namespace

namespace {

void FreshDatabase(const std::string& folder) {
  VxDBWExitDatabase(-1);
  CreateDirectoryA(folder.c_str(), nullptr);
  VxDBSetFolder(folder.c_str());
  VxDBWInitDatabase();
}

}  // namespace

// The batch stores the very rows that reading each file by parts and registering it on its
// own stores: after a copy, with the facts the copy took from each file's first block, and
// with every file read (a thread reading ahead, one transaction).
TEST(ImportRegister, BatchStoresTheRowsOfOneByOne) {
  Stores stores;
  RegisterOptions o = Options();
  o.syModel = o.syGps = 1;
  o.placeFinder = VxGPSInit();
  o.keyword = "trip";
  CopyPlan plan;
  const char* fixtures[] = {"exif_le.jpg", "exif_full.jpg",  "exif_south_west.jpg", "exif_digitized.jpg",
                            "plain.jpg",   "cut_exif.jpg",   "movie.mov",           "image.png",
                            "people.jpg",  "bad_offsets.jpg"};
  for (int round = 0; round < 10; ++round)
    for (const char* fixture : fixtures) {
      const std::string card = stores.scratch + "\\card\\10" + std::to_string(round) + "AAAAA\\" + fixture;
      testsupport::WriteWholeFile(card, testsupport::ReadWholeFile(testsupport::Fixture(fixture)));
      plan.Add(card, stores.scratch + "\\Pictures\\2010_05_0" + std::to_string(round) + "\\" + fixture);
    }
  CopyOutcome copied;
  ASSERT_EQ(RunCopyPlan(&plan, &copied), 0u);
  const std::vector<std::string>&dest = copied.copiedTargets, &src = copied.copiedSources;
  ASSERT_EQ(dest.size(), plan.sources.size());
  ASSERT_EQ(copied.facts.size(), dest.size());
  EXPECT_GE(std::count_if(copied.facts.begin(), copied.facts.end(), [](const PictureFacts& f) { return f.known; }),
            70);  // the pictures' facts came with the copy
  // The entries hold the last access time, which the first reading after the copy's rename
  // moves (one pass reads the files, another doesn't): every file is read once beforehand.
  for (const std::string& d : dest) testsupport::ReadWholeFile(d);
  EXPECT_EQ(RegisterCopyRun(copied, plan, o), static_cast<int>(dest.size()));
  const std::string afterCopy = StoredRows(stores.scratch + "\\db\\VxDatabase.db");
  const std::string afterCopyPersons = StoredRows(stores.scratch + "\\db\\VxDatabase.db", true);

  FreshDatabase(stores.scratch + "\\db1");
  EXPECT_EQ(RegisterImportedFiles(dest, src, o), static_cast<int>(dest.size()));
  const std::string batch = StoredRows(stores.scratch + "\\db1\\VxDatabase.db");
  // The camera's person tags: from the copy's facts as from reading the files.
  EXPECT_EQ(afterCopyPersons, StoredRows(stores.scratch + "\\db1\\VxDatabase.db", true));
  EXPECT_NE(afterCopyPersons.find("|Taro|"), std::string::npos);

  FreshDatabase(stores.scratch + "\\db2");
  for (size_t k = 0; k < dest.size(); ++k) {
    long shot = -1, access = -1, creation = -1;
    if (CCMDIB::GetTime(dest[k].c_str(), &shot, &access, &creation, NULL) < 0) shot = access = creation = -1;
    EXPECT_EQ(RegisterClassified(dest[k], ClassifyImportedFile(dest[k], src[k], shot, access, creation, o)), S_OK);
  }
  const std::string single = StoredRows(stores.scratch + "\\db2\\VxDatabase.db");
  EXPECT_GT(std::count(batch.begin(), batch.end(), '\n'), static_cast<long>(dest.size()) * 3);
  EXPECT_EQ(batch, single);
  EXPECT_EQ(afterCopy, single);
  if (o.placeFinder) VxGPSTerm(o.placeFinder);
}

// The facts of a file's first bytes are those of reading the file, or unknown (the file is
// read then); the whole content of a picture always tells them.
TEST(ImportRegister, FactsOfTheFirstBytesAreThoseOfTheFile) {
  Stores stores;
  for (const char* fixture : {"exif_le.jpg", "exif_full.jpg", "exif_south_west.jpg", "exif_digitized.jpg", "people.jpg",
                              "exif_comment.jpg", "plain.jpg", "cut_exif.jpg", "cut_scan.jpg", "bad_offsets.jpg",
                              "exif.tif", "image.png", "not_image.jpg", "movie.mov", "movie.mp4", "colours.mts"}) {
    const std::string file = stores.scratch + "\\Pictures\\" + fixture;
    const std::string bytes = testsupport::ReadWholeFile(testsupport::Fixture(fixture));
    testsupport::WriteWholeFile(file, bytes);
    const PictureFacts read = PictureFactsOfFile(file);
    const bool picture = imaging::DetectFormat(bytes.data(), bytes.size()) != imaging::ImageFormat::Unknown;
    // As a copy that has just placed the file knows it: the card's write time may differ
    // from the one the copy's file system kept.
    safecopy::FileStamp placed;
    placed.size = bytes.size();
    placed.created = read.disk.ftCreationTime;
    placed.written = FILETIME{1, 1};
    placed.copyWritten = read.disk.ftLastWriteTime;
    const safecopy::FileStamp* const stamps[] = {nullptr, &placed};
    for (size_t cut : {bytes.size(), size_t(4096), size_t(1500), size_t(300), size_t(0)})
      for (const safecopy::FileStamp* stamp : stamps) {
        if (cut > bytes.size()) continue;
        SCOPED_TRACE(std::string(fixture) + " head " + std::to_string(cut) + (stamp ? " with the copy's stamp" : ""));
        const PictureFacts head = PictureFactsOfHead(file, bytes.data(), cut, stamp);
        if (cut == bytes.size()) {
          EXPECT_EQ(head.known, picture);
        }
        if (!head.known) continue;
        EXPECT_EQ(head.hasShot, read.hasShot);
        EXPECT_EQ(memcmp(&head.shot, &read.shot, sizeof head.shot), 0);
        EXPECT_EQ(head.maker + "|" + head.model, read.maker + "|" + read.model);
        EXPECT_EQ(head.scene1 + "|" + head.scene2 + "|" + head.scene3 + "|" + head.scene4 + "|" + head.sceneOther,
                  read.scene1 + "|" + read.scene2 + "|" + read.scene3 + "|" + read.scene4 + "|" + read.sceneOther);
        EXPECT_EQ(head.faceText, read.faceText);
        EXPECT_EQ(head.gps, read.gps);
        EXPECT_EQ(head.latitude + "|" + head.longitude, read.latitude + "|" + read.longitude);
        // The file's size and times came along: the registration needs no look of its own.
        ASSERT_TRUE(head.hasDisk && read.hasDisk);
        EXPECT_EQ(head.disk.nFileSizeLow, bytes.size());
        EXPECT_EQ(CompareFileTime(&head.disk.ftLastWriteTime, &read.disk.ftLastWriteTime), 0);
        EXPECT_EQ(CompareFileTime(&head.disk.ftCreationTime, &read.disk.ftCreationTime), 0);
      }
  }
  EXPECT_FALSE(PictureFactsOfHead(stores.scratch + "\\none.jpg", "\xFF\xD8\xFF", 3).known);
}
