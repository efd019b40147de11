// The face database wrapper on real files: a first use writes nothing, a refused file is
// kept aside as ".bad" before anything is saved over it, every store and delete rewrites
// the file through a new file moved into place and says when it could not, the default
// place on a new profile, faces are chosen by their rectangle, and two identifiers in one
// process each keep their own database.
#include <FaceIdentifier.h>
#include <FaceRecords.h>
#include <Kitlib2/Kitlib2.h>
#include <VxDatabase.h>
#include <Kitlib2/CMDIB.h>
#include <files.h>
#include <gtest/gtest.h>
#include <libfacetag.h>
#include <profileroot.h>
#include <tempfolder.h>

#include <algorithm>
#include <vector>

#include "portraits.h"

namespace {

struct Scratch {
  std::string root = testsupport::NewTempFolder("glimora-facedb");
  ~Scratch() { testsupport::RemoveTree(root); }
};

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The picture at 640 x 480 as the callers prepare it, handed to the identifier.
HRESULT Show(CFaceIdentifier* id, CCMDIB* picture, const std::string& path) {
  if (picture->ResizeAndRotate(path.c_str(), SIZE{640, 480}, CMDIB_RESIZE_CANVAS) != 0) return E_FAIL;
  return id->SetImage(&picture->GetBitmapInfoAddress()->bmiHeader, picture->GetBitsAddress());
}

// How many faces the identifier finds in the picture at path; -1 when it could not look.
int FacesOf(CFaceIdentifier* id, CCMDIB* picture, const std::string& path) {
  WORD count = 0;
  if (Show(id, picture, path) != S_OK || id->GetNumberOfFace(&count) != S_OK) return -1;
  return count;
}

std::string EmptyDb() {
  std::string db(FTAG_GetDbSize(FTAG_MAX_PERSONS), '\0');
  std::vector<char> work(FTAG_GetWorkSize() * 4 + 4);
  EXPECT_EQ(FTAG_InitDb(&db[0], work.data(), FTAG_MAX_PERSONS), 0);
  return db;
}

}  // namespace

// What a load and the next save do to each kind of file. The delete of a person who has no
// faces is a save that needs no picture.
TEST(FaceDb, FilesKeptRefusedOrRewritten) {
  Scratch sc;
  const std::string good = EmptyDb();
  std::string flipped = good;
  flipped[100] ^= 1;
  struct Case {
    const char* name;
    std::string bytes;  // "" = no file
    bool keptAside;
  } cases[] = {
      {"none", "", false},
      {"good", good, false},
      {"short", good.substr(0, good.size() / 2), true},
      {"long", good + "x", true},
      {"garbage", std::string(good.size(), 'x'), true},
      {"flipped", flipped, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = sc.root + "\\" + c.name + ".ftd";
    if (!c.bytes.empty()) testsupport::WriteWholeFile(path, c.bytes);
    CFaceIdentifier id;
    ASSERT_EQ(id.LoadDb(path), S_OK);
    // Loading alone writes nothing.
    EXPECT_EQ(Exists(path), !c.bytes.empty());
    if (!c.bytes.empty()) { EXPECT_EQ(testsupport::ReadWholeFile(path), c.bytes); }
    ASSERT_EQ(id.DeleteUserRecord(5), S_OK);
    // Saved: exactly the library's database image, which the next load takes.
    EXPECT_EQ(testsupport::ReadWholeFile(path), good);
    EXPECT_EQ(id.KeptAside().empty(), !c.keptAside);
    if (c.keptAside) {
      EXPECT_EQ(id.KeptAside(), path + ".bad");
      EXPECT_EQ(testsupport::ReadWholeFile(path + ".bad"), c.bytes);
    }
    EXPECT_FALSE(Exists(path + ".2.bad"));
  }

  // A second refused file beside an earlier ".bad" does not replace it.
  const std::string path = sc.root + "\\garbage.ftd";
  testsupport::WriteWholeFile(path, "junk");
  CFaceIdentifier again;
  ASSERT_EQ(again.LoadDb(path), S_OK);
  ASSERT_EQ(again.DeleteUserRecord(5), S_OK);
  EXPECT_EQ(testsupport::ReadWholeFile(path + ".bad"), std::string(good.size(), 'x'));
  EXPECT_EQ(testsupport::ReadWholeFile(path + ".2.bad"), "junk");

  // A file held by another program cannot be read: E_FAIL, and nothing is saved over it.
  const std::string held = sc.root + "\\held.ftd";
  testsupport::WriteWholeFile(held, "precious");
  HANDLE h = CreateFileA(held.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CFaceIdentifier id;
  EXPECT_EQ(id.LoadDb(held), E_FAIL);
  CloseHandle(h);
  id.DeleteUserRecord(5);
  id.SaveDb();
  EXPECT_EQ(testsupport::ReadWholeFile(held), "precious");
  EXPECT_FALSE(Exists(held + ".bad"));
}

// A new profile has no folder for the face database: the first save makes it.
TEST(FaceDb, TheDefaultPlaceOnAnEmptyProfile) {
  Scratch sc;
  const std::string appData = sc.root + "\\Application Data";
  ASSERT_TRUE(SetEnvironmentVariableA("GLIMORA_APPDATA_DIR", appData.c_str()));
  const std::string path = CFaceIdentifier::DefaultDbPath();
  EXPECT_EQ(path, appData + "\\Norvane\\vxdb\\faces.ftd");
  CFaceIdentifier id;
  ASSERT_EQ(id.LoadDb(), S_OK);
  EXPECT_EQ(id.DbPath(), path);
  EXPECT_FALSE(Exists(appData));
  EXPECT_EQ(id.DeleteUserRecord(5), S_OK);
  EXPECT_EQ(testsupport::ReadWholeFile(path), EmptyDb());
  EXPECT_FALSE(Exists(path + ".tmp"));
  SetEnvironmentVariableA("GLIMORA_APPDATA_DIR", nullptr);
}

// A save that cannot be written says so and leaves the saved file as it was: no folder
// can be made, the file is held by another program, the refused file cannot be kept.
TEST(FaceDb, ASaveThatFailsSaysSoAndKeepsTheFile) {
  Scratch sc;
  const std::string good = EmptyDb();
  testsupport::WriteWholeFile(sc.root + "\\blocked", "a file where the folder would go");
  {
    CFaceIdentifier id;
    ASSERT_EQ(id.LoadDb(sc.root + "\\blocked\\faces.ftd"), S_OK);
    EXPECT_EQ(id.DeleteUserRecord(5), FACEDB_E_NOT_SAVED);
    EXPECT_EQ(id.SaveDb(), FACEDB_E_NOT_SAVED);
  }
  const std::string held = sc.root + "\\held.ftd";
  testsupport::WriteWholeFile(held, good);
  {
    CFaceIdentifier id;
    ASSERT_EQ(id.LoadDb(held), S_OK);
    HANDLE h = CreateFileA(held.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(id.DeleteUserRecord(5), FACEDB_E_NOT_SAVED);
    CloseHandle(h);
    EXPECT_EQ(testsupport::ReadWholeFile(held), good);
    EXPECT_FALSE(Exists(held + ".tmp"));
    EXPECT_EQ(id.SaveDb(), S_OK);  // free again: saved
  }
  const std::string refused = sc.root + "\\refused.ftd";
  testsupport::WriteWholeFile(refused, "junk");
  {
    CFaceIdentifier id;
    ASSERT_EQ(id.LoadDb(refused), S_OK);
    HANDLE h = CreateFileA(refused.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(id.DeleteUserRecord(5), FACEDB_E_NOT_SAVED);
    CloseHandle(h);
    EXPECT_EQ(testsupport::ReadWholeFile(refused), "junk");
  }
}

namespace {

// The file's identity on its volume: a file written over keeps it, a new one moved into
// its place does not.
ULONGLONG FileIndex(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
  BY_HANDLE_FILE_INFORMATION info = {};
  const BOOL got = h != INVALID_HANDLE_VALUE && GetFileInformationByHandle(h, &info);
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  return got ? (ULONGLONG)info.nFileIndexHigh << 32 | info.nFileIndexLow : 0;
}

}  // namespace

// A save writes the whole image to a new file and moves that into place, never writing
// over the saved file, so that a crash midway leaves the last saved file whole; what a
// crash left of an earlier save's new file is replaced.
TEST(FaceDb, ASaveMovesAWholeNewFileIntoPlace) {
  Scratch sc;
  const std::string path = sc.root + "\\faces.ftd";
  const std::string empty = EmptyDb();
  testsupport::WriteWholeFile(path, empty);
  testsupport::WriteWholeFile(path + ".tmp", empty.substr(0, 100));
  const ULONGLONG before = FileIndex(path);
  ASSERT_NE(before, 0u);
  CFaceIdentifier id;
  ASSERT_EQ(id.LoadDb(path), S_OK);
  ASSERT_EQ(id.DeleteUserRecord(5), S_OK);
  EXPECT_NE(FileIndex(path), before);
  EXPECT_EQ(testsupport::ReadWholeFile(path), empty);
  EXPECT_FALSE(Exists(path + ".tmp"));
}

TEST(FaceDb, StoreAndDeleteRewriteTheFile) {
  ASSERT_TRUE(portraits::Ready());
  Scratch sc;
  const std::string path = sc.root + "\\faces.ftd";
  CFaceIdentifier id;
  ASSERT_EQ(id.LoadDb(path), S_OK);
  CCMDIB picture;
  ASSERT_EQ(Show(&id, &picture, portraits::Portrait()), S_OK);
  WORD count = 0;
  ASSERT_EQ(id.GetNumberOfFace(&count), S_OK);
  ASSERT_EQ(count, 1);
  ASSERT_EQ(id.SetCurrentFace(0), S_OK);
  // One face: any rectangle selects it.
  EXPECT_EQ(id.SelectFaceByRect(RECT{0, 0, 1, 1}), S_OK);
  RECT face = {};
  POINT eye1 = {}, eye2 = {};
  ASSERT_EQ(id.GetFaceInfo(&face, &eye1, &eye2), S_OK);
  EXPECT_TRUE(PtInRect(&face, eye1) && PtInRect(&face, eye2));
  EXPECT_LT(eye1.x, eye2.x);
  const int record = id.StoreRecord(-1, 7);
  ASSERT_GT(record, 0);
  ASSERT_TRUE(Exists(path));
  const std::string stored = testsupport::ReadWholeFile(path);
  EXPECT_EQ(stored.size(), (size_t)FTAG_GetDbSize(FTAG_MAX_PERSONS));

  // Another identifier reads the face back from the file.
  {
    CFaceIdentifier reader;
    ASSERT_EQ(reader.LoadDb(path), S_OK);
    CCMDIB again;
    ASSERT_EQ(Show(&reader, &again, portraits::Portrait()), S_OK);
    ASSERT_EQ(reader.SetCurrentFace(0), S_OK);
    short candidates[5] = {}, scores[5] = {};
    ASSERT_EQ(reader.VerifyImage(candidates, scores, sizeof candidates), S_OK);
    EXPECT_EQ(candidates[0], 7);
    reader.FreeBuffers();
  }
  // The reader's buffers are gone; this identifier still files into its own database.
  ASSERT_EQ(Show(&id, &picture, portraits::Portrait()), S_OK);
  ASSERT_EQ(id.SetCurrentFace(0), S_OK);
  const int second = id.StoreRecord(-1, 8);
  ASSERT_GT(second, record);

  ASSERT_EQ(id.DeleteRecord(record), S_OK);
  const std::string afterDelete = testsupport::ReadWholeFile(path);
  EXPECT_NE(afterDelete, stored);
  // Refusals leave the file as it is.
  EXPECT_EQ(id.DeleteRecord(record), E_FAIL);
  EXPECT_EQ(testsupport::ReadWholeFile(path), afterDelete);
  std::string land(640 * 480 * 3, '\x80');
  BITMAPINFOHEADER bih = {sizeof bih, 640, 480, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  ASSERT_EQ(id.SetImage(&bih, land.data()), S_OK);
  EXPECT_EQ(id.StoreRecord(-1, 7), 0);
  EXPECT_EQ(testsupport::ReadWholeFile(path), afterDelete);

  // Every record of a person at once.
  ASSERT_EQ(id.DeleteUserRecord(8), S_OK);
  CFaceIdentifier empty;
  ASSERT_EQ(empty.LoadDb(path), S_OK);
  ASSERT_EQ(Show(&empty, &picture, portraits::Portrait()), S_OK);
  ASSERT_EQ(empty.SetCurrentFace(0), S_OK);
  short candidates[5] = {}, scores[5] = {};
  EXPECT_EQ(empty.VerifyImage(candidates, scores, sizeof candidates), E_FAIL);
}

TEST(FaceDb, TwoFacesChosenByRectangle) {
  ASSERT_TRUE(portraits::Ready());
  Scratch sc;
  const std::string pair = sc.root + "\\pair.jpg";
  ASSERT_TRUE(portraits::SideBySide(pair, 2));
  CFaceIdentifier id;
  ASSERT_EQ(id.LoadDb(sc.root + "\\faces.ftd"), S_OK);
  CCMDIB picture;
  ASSERT_EQ(FacesOf(&id, &picture, pair), 2);
  RECT faces[2] = {};
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(id.SetCurrentFace(i), S_OK);
    ASSERT_EQ(id.GetFaceInfo(&faces[i], nullptr, nullptr), S_OK);
  }
  EXPECT_LT(faces[0].right, faces[1].left);
  for (int i : {1, 0}) {
    ASSERT_EQ(id.SelectFaceByRect(faces[i]), S_OK);
    RECT current = {};
    ASSERT_EQ(id.GetFaceInfo(&current, nullptr, nullptr), S_OK);
    EXPECT_TRUE(EqualRect(&current, &faces[i])) << i;
  }
  RECT off = faces[1];
  OffsetRect(&off, 1, 0);
  EXPECT_EQ(id.SelectFaceByRect(off), E_FAIL);
}

// A crowd of twelve faces: every one is found, and the picture files its first ten.
TEST(FaceRecords, ACrowdFilesItsFirstTenFaces) {
  ASSERT_TRUE(portraits::Ready());
  Scratch sc;
  testsupport::ScopedProfileRoot profile("crowd");
  CMWriteProfileInt("VxClassify", "FaceWidth", 40, 0, CMPROFILE_COMMON);
  const std::string crowd = sc.root + "\\crowd.jpg";
  ASSERT_TRUE(portraits::Crowd(crowd, 4, 3));
  ASSERT_EQ(VxDBSetFolder(sc.root.c_str()), S_OK);
  CFaceIdentifier id;
  ASSERT_EQ(id.LoadDb(sc.root + "\\faces.ftd"), S_OK);
  CCMDIB picture;
  ASSERT_EQ(FacesOf(&id, &picture, crowd), 12);
  // Somebody to resemble: a person of the photo database with the last face.
  IVxDBFile* db = GetDBFileObject();
  ASSERT_NE(db, nullptr);
  VXDBRECORD person = {};
  strcpy(person.szName, "Hana");
  strcpy(person.szPath, crowd.c_str());
  int one = 0, personId = -1;
  ASSERT_EQ(db->AddRecord(person, VXDB_KIND_REGISTER, &one), S_OK);
  ASSERT_EQ(db->GetPersonId("Hana", &personId), S_OK);
  ASSERT_EQ(id.SetCurrentFace(11), S_OK);
  ASSERT_GT(id.StoreRecord(-1, personId), 0);
  int added = 0;
  EXPECT_EQ(faces::StoreIdentifiedFaces(crowd, &id, 12, db, &added), 10);
  db->Release();
  VxDBClose(-1);
  VxDBSetFolder(NULL);
}

// A camera's person tag fills its 18 bytes without an end: all 18 are the name and nothing
// after them; a character cut at the end, or bytes that are no UTF-8, give no name.
TEST(FaceRecords, TagNamesOfEighteenBytesWithoutAnEnd) {
  struct Case {
    const char* what;
    std::string bytes;  // the field and what follows it in memory
    std::string name;
  } cases[] = {
      {"ended", std::string("Hana\0\0\0\0\0\0\0\0\0\0\0\0\0\0XYZ", 21), "Hana"},
      {"18 letters", "ABCDEFGHIJKLMNOPQRXYZ", "ABCDEFGHIJKLMNOPQR"},
      {"six kanji", "\xE8\x8A\xB1\xE5\xAD\x90\xE8\x8A\xB1\xE5\xAD\x90\xE8\x8A\xB1\xE5\xAD\x90XYZ",
       "\x89\xD4\x8E\x71\x89\xD4\x8E\x71\x89\xD4\x8E\x71"},
      {"a kanji cut by the end", "ABCDEFGHIJKLMNOP\xE8\x8A\xB1", ""},
      {"no UTF-8", "\xFF\xFE\x41\x42", ""},
      {"empty", std::string(21, '\0'), ""},
  };
  for (const Case& c : cases) {
    std::vector<char> field(c.bytes.begin(), c.bytes.end());
    field.resize(std::max<size_t>(field.size(), PR_PERSON_NAME_BYTES + 3), 'Z');
    EXPECT_EQ(faces::TagName(field.data(), PR_PERSON_NAME_BYTES), c.name) << c.what;
  }
}
