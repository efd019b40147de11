// The card import's face identifier: the user's face database restored into libfacetag, a
// picture turned into the 640 x 480 grey image the library searches, and per face the
// registered persons it resembles. This copy only reads the database.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class CFaceIdentifier {
 public:
  CFaceIdentifier() {}
  virtual ~CFaceIdentifier() { FreeBuffers(); }
  CFaceIdentifier(const CFaceIdentifier&) = delete;
  CFaceIdentifier& operator=(const CFaceIdentifier&) = delete;

  // The database at its place under the user's application data (0, E_OUTOFMEMORY,
  // E_FAIL); dbPath another file (tests). A missing file or one the library refuses gives
  // an empty database; a file that cannot be opened or read gives E_FAIL.
  HRESULT LoadDb();
  HRESULT LoadDb(const std::string& dbPath);
  HRESULT FreeBuffers();
  // A bottom-up DIB of at least 640 x 480 pixels at 24 or 32 bits (packed: header, then
  // pixels): E_INVALIDARG for another one; the library's refusal as E_FAIL or 0x85000001.
  HRESULT SetImage(const BITMAPINFOHEADER* image);
  // The same with the pixels apart from the header.
  HRESULT SetImage(const BITMAPINFOHEADER* header, const void* bits);
  HRESULT GetFaceCount(WORD* count);
  HRESULT SetCurrentFace(int index);
  // The persons the current face resembles at the profile's PersonLevel (0), else E_FAIL.
  HRESULT Verify(short* candidates, short* values, int length);
  int GetTemplateSize() const;
  HRESULT GetTemplate(void* buffer);

  const std::string& DbPath() const { return m_dbPath; }
  // "<application data>\Norvane\vxdb\<string 811>".
  static std::string DefaultDbPath();
  // The 640 x 480 grey image of a picture (rows top to bottom, Y = (29B + 150G + 77R + 128)
  // / 256); empty for a picture of another kind.
  static std::vector<uint8_t> GreyImage(const BITMAPINFOHEADER* image);
  static std::vector<uint8_t> GreyImage(const BITMAPINFOHEADER* header, const void* bits);

 private:
  int m_dbSize = 0, m_workSize = 0;
  uint8_t* m_db = nullptr;
  uint8_t* m_work = nullptr;
  std::string m_dbPath;
};

// The 16-bit face count's source: pictures are searched at this size.
constexpr int kFaceImageWidth = 640, kFaceImageHeight = 480;
