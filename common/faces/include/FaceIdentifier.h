// The user's face database restored into libfacetag, a picture turned into the 640 x 480
// grey image the library searches, the faces found, and face records stored or deleted
// with an immediate save of the whole database file (a new file moved into place, so that
// a crash during a save leaves the last saved file whole).
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A store or delete that the library took but that could not be written to the file.
constexpr HRESULT FACEDB_E_NOT_SAVED = HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
// StoreRecord's answer for a face that could not be saved (the library forgets it again).
constexpr int kFaceRecordNotSaved = -1;

class CFaceIdentifier {
 public:
  CFaceIdentifier() {}
  virtual ~CFaceIdentifier() { FreeBuffers(); }
  CFaceIdentifier(const CFaceIdentifier&) = delete;
  CFaceIdentifier& operator=(const CFaceIdentifier&) = delete;

  // The database at its place under the user's application data (0, E_OUTOFMEMORY,
  // E_FAIL); dbPath another file (tests). A missing file gives an empty database and
  // writes nothing; a file the library refuses gives an empty one too, and is kept aside
  // as "<file>.bad" before the first save over it. A file that cannot be opened or read
  // gives E_FAIL, and nothing is ever saved over it.
  HRESULT LoadDb();
  HRESULT LoadDb(const std::string& dbPath);
  HRESULT FreeBuffers();
  // A bottom-up DIB of at least 640 x 480 pixels at 24 or 32 bits (packed: header, then
  // pixels): E_INVALIDARG for another one; the library's refusal as E_FAIL or 0x85000001;
  // S_FALSE when the library has no usable faces.
  HRESULT SetImage(const BITMAPINFOHEADER* image);
  // The same with the pixels apart from the header.
  HRESULT SetImage(const BITMAPINFOHEADER* header, const void* bits);
  HRESULT GetNumberOfFace(WORD* count);
  HRESULT SetCurrentFace(int index);
  // The current face's rectangle and eyes in the 640 x 480 picture.
  HRESULT GetFaceInfo(RECT* face, POINT* point1, POINT* point2);
  // With two or more faces, the first face whose rectangle is rc becomes current (E_FAIL
  // when none is); with one face or none, S_OK and nothing changes.
  HRESULT SelectFaceByRect(const RECT& rc);
  // The persons the current face resembles at the profile's PersonLevel (0), else E_FAIL.
  HRESULT VerifyImage(short* candidates, short* scores, int length);
  int GetTemplateSize() const;
  HRESULT GetTemplate(void* buffer);
  // The current face filed under the person and the database saved: the library's record
  // number, 0 when the library refused (nothing saved), or kFaceRecordNotSaved when the
  // file could not be written (the face is taken back out of the library's database).
  int StoreRecord(int user, int person);
  // A record, or every record of a person, removed and the database saved; E_FAIL when
  // the library refused, FACEDB_E_NOT_SAVED when the file could not be written.
  HRESULT DeleteRecord(int record);
  HRESULT DeleteUserRecord(int person);
  // The database image written to "<file>.tmp" and moved over the file (its folder made
  // first): S_OK, or FACEDB_E_NOT_SAVED with the file as it was.
  HRESULT SaveDb();

  const std::string& DbPath() const { return m_dbPath; }
  // Where a refused database file was kept, empty while none was.
  const std::string& KeptAside() const { return m_keptAside; }
  // "<application data>\Norvane\vxdb\<string 811>"; tests name another application-data
  // folder in GLIMORA_APPDATA_DIR.
  static std::string DefaultDbPath();
  // The 640 x 480 grey image of a picture (rows top to bottom, Y = (29B + 150G + 77R + 128)
  // / 256); empty for a picture of another kind.
  static std::vector<uint8_t> GreyImage(const BITMAPINFOHEADER* image);
  static std::vector<uint8_t> GreyImage(const BITMAPINFOHEADER* header, const void* bits);

 private:
  // The library holds one database at a time: this one is made its database again before
  // each use, as another identifier may have been loaded since.
  bool Attach();

  int m_dbSize = 0, m_workSize = 0;
  uint8_t* m_db = nullptr;
  uint8_t* m_work = nullptr;
  std::string m_dbPath;
  bool m_ready = false;      // the buffer holds a database that may be saved
  bool m_keepAside = false;  // the file holds what the library refused: keep it before saving
  std::string m_keptAside;
};

// Pictures are searched at this size.
constexpr int kFaceImageWidth = 640, kFaceImageHeight = 480;
// Faces of one picture that are used: the rest of a crowd is left out.
constexpr int kMaxFacesPerPicture = 10;
