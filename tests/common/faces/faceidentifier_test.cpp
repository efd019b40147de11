// The face database wrapper on real files: a first use writes nothing, a refused file is
// kept aside as ".bad" before anything is saved over it, every store and delete rewrites
// the file, faces are chosen by their rectangle, and two identifiers in one process each
// keep their own database.
#include <FaceIdentifier.h>
#include <Kitlib2/CMDIB.h>
#include <files.h>
#include <gtest/gtest.h>
#include <libfacetag.h>
#include <tempfolder.h>

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
    if (!c.bytes.empty()) EXPECT_EQ(testsupport::ReadWholeFile(path), c.bytes);
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

TEST(FaceDb, StoreAndDeleteRewriteTheFile) {
  ASSERT_FALSE(portraits::Portrait().empty()) << "the portrait fixture or the face cascade is missing";
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
  ASSERT_FALSE(portraits::Portrait().empty()) << "the portrait fixture or the face cascade is missing";
  Scratch sc;
  const std::string pair = sc.root + "\\pair.jpg";
  ASSERT_TRUE(portraits::SideBySide(pair, 2));
  CFaceIdentifier id;
  ASSERT_EQ(id.LoadDb(sc.root + "\\faces.ftd"), S_OK);
  CCMDIB picture;
  ASSERT_EQ(Show(&id, &picture, pair), S_OK);
  WORD count = 0;
  ASSERT_EQ(id.GetNumberOfFace(&count), S_OK);
  ASSERT_EQ(count, 2);
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
