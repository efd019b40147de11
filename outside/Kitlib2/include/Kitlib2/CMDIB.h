// CCMDIB: the image object. It holds one picture as a packed DIB of 24 or 32 bits per
// pixel (BITMAPINFOHEADER followed by bottom-up rows) and reads picture files' metadata.
//
// Results are HRESULT-like longs: 0 (or another value of 0 or more) on success, a
// negative code on failure. An object is used from one thread at a time; the
// path-only members (the static ones) may be called from any thread.
#pragma once
#include <Kitlib2/KitDefs.h>

// Load flags.
#define CMDIB_LOAD_UPRIGHT 0x1    // turn the picture upright by its Exif orientation
#define CMDIB_LOAD_THUMBNAIL 0x2  // the embedded Exif thumbnail is enough when there is one

// Resize modes (bits), for ResizeFilter and ResizeAndRotate:
//   0           stretch to exactly the size
//   0x01 FIT    keep the aspect ratio inside the size (the result may be smaller)
//   0x04 CANVAS the result has exactly the size: the picture fitted and centred on black
//   0x10 WHITE  the result has exactly the size: the picture fitted (never enlarged)
//               and centred on white -- thumbnails of a fixed cell, mode 17 (0x11)
//   0x20 SMOOTH area averaging (the default filter is already of good quality)
// Modes the callers use: 4 (face images 640 x 480), 17 (80 x 60 list thumbnails),
// 32 (exact size), 33 (fitted into a view).
#define CMDIB_RESIZE_FIT 0x01
#define CMDIB_RESIZE_CANVAS 0x04
#define CMDIB_RESIZE_WHITE 0x10
#define CMDIB_RESIZE_SMOOTH 0x20

// Save formats.
#define CMDIB_SAVE_JPEG 1
#define CMDIB_SAVE_BMP 2
#define CMDIB_SAVE_PNG 3
#define CMDIB_SAVE_JPEG_KEEPEXIF 32  // JPEG with the source's Exif carried over (when loaded from a JPEG)
#define CMDIB_SAVE_JPEG_FINE 64      // JPEG with the quality raised to at least 95

// GetPimInfo bits.
#define CMDIB_PIM_EXIF 0x1       // the file carries Exif data
#define CMDIB_PIM_THUMBNAIL 0x2  // with an embedded thumbnail
#define CMDIB_PIM_PRINTIM 0x4    // with print-image-matching data (tag 0xC4A5)

// What GetExif reads from a picture's Exif block. Texts are in the ANSI code page
// except szTextUtf8.
struct CMEXIFINFO {
  char szMake[64];
  char szModel[64];
  BOOL bHasDateTimeOriginal;
  SYSTEMTIME stDateTimeOriginal;  // as the camera wrote it (local time of the camera)
  int nOrientation;               // 1..8, 0 when absent
  int nPixelWidth, nPixelHeight;  // Exif pixel dimensions, 0 when absent
  double dExposureTime;           // seconds, 0 when absent
  double dFNumber;
  double dFocalLength;            // millimetres
  int nIsoSpeed;                  // 0 when absent
  int nFlash;                     // -1 when absent
  int nWhiteBalance;              // -1 when absent
  int nExposureProgram;           // -1 when absent
  int nSceneCaptureType;          // -1 when absent
  BOOL bHasGps;
  double dLatitude, dLongitude;   // signed degrees (south and west negative)
  BOOL bHasAltitude;
  double dAltitude;               // metres, negative below sea level
  BOOL bHasThumbnail;
  BOOL bHasPrintIm;
  // The picture's comment as UTF-8: the Exif user comment (Unicode or ASCII), else the
  // image description; "" when there is none.
  char szTextUtf8[256];
};

class KITLIB2_API CCMDIB {
 public:
  CCMDIB();
  CCMDIB(const CCMDIB& other);
  CCMDIB& operator=(const CCMDIB& other);
  virtual ~CCMDIB();

  // ---- The picture ---------------------------------------------------------------

  // Reads a picture file (JPEG, PNG, BMP, GIF, TIFF, ICO; a movie gives a frame of
  // itself) into the object as stored, or as the flags say. 0 on success; 1 when a
  // movie's frame stands for the file; negative when it can't be read.
  long Load(LPCSTR lpszPath, int nFlags = 0);
  // The same, fitted into the box as shown (aspect kept, never enlarged): a JPEG is
  // decoded at a reduced scale on the way, so a large picture wanted small costs little.
  long LoadFit(LPCSTR lpszPath, SIZE szBox, int nFlags = 0);
  // The same from a whole file in memory (no movies).
  long LoadMemory(const void* pData, size_t nSize, int nFlags = 0);
  // A new empty picture (pixels black), 24 or 32 bits.
  BOOL Create(int nWidth, int nHeight, int nBitCount = 24);
  // Takes a copy of any DIB (bits NULL: they follow the header and its colour table).
  BOOL SetDIB(const BITMAPINFO* pInfo, const void* pBits = NULL);
  // Takes a copy of a GDI bitmap's pixels.
  BOOL SetBitmap(HBITMAP hBitmap);
  void Empty();
  BOOL IsEmpty() const;

  int GetWidth() const;
  int GetHeight() const;
  int GetBitCount() const;  // 24 or 32; 0 when empty
  SIZE GetDimensions() const;
  // The packed DIB: its header (followed by the bits) and the bits; NULL when empty.
  LPBITMAPINFO GetBitmapInfoAddress();
  LPBYTE GetBitsAddress();
  DWORD GetBitsSize() const;

  // ---- Drawing -------------------------------------------------------------------

  // A device-dependent bitmap of the picture for the display context; the caller
  // deletes it. NULL when empty.
  HBITMAP CreateBitmap(HDC hDC) const;
  // At its own size at (x, y); stretched into a rectangle; fitted and centred in a box.
  BOOL Draw(HDC hDC, int x, int y) const;
  BOOL Draw(HDC hDC, const RECT& rcDest) const;
  BOOL DrawFit(HDC hDC, const RECT& rcBox, BOOL bEnlarge = TRUE) const;
  // Draws a picture file upright, fitted and centred into the rectangle (the object is
  // not touched). 0 on success.
  static long DrawFile(HDC hDC, const RECT& rcDest, LPCSTR lpszPath);
  // The rectangle a picture of that size takes fitted and centred in the box.
  static RECT FitRect(SIZE szPicture, const RECT& rcBox, BOOL bEnlarge = TRUE);

  // ---- Filters (pOut NULL: the object itself) ---------------------------------------

  long ResizeFilter(SIZE szTarget, CCMDIB* pOut, int nMode);
  // Reads the file upright (Exif orientation applied) and resizes it as ResizeFilter.
  long ResizeAndRotate(LPCSTR lpszPath, SIZE szTarget, int nMode);
  long RecolorFilter(int nBitCount, CCMDIB* pOut);  // 24 or 32
  long RotationFilter(int nDegreesClockwise, CCMDIB* pOut);  // multiples of 90
  // Turns a picture stored with Exif orientation 1..8 upright (1: unchanged).
  long RotationFilter2(int nOrientation, CCMDIB* pOut);
  long FlipFilter(BOOL bHorizontal, BOOL bVertical, CCMDIB* pOut);
  // The part inside the rectangle (clipped to the picture).
  long TrimFilter(const RECT& rcTrim, CCMDIB* pOut);

  // ---- Saving --------------------------------------------------------------------

  // CMDIB_SAVE_* format; quality 1..100 for JPEG (0: 85). 0 on success; a failure
  // leaves no half-written file.
  long Save(LPCSTR lpszPath, int nFormat, int nQuality = 85, const void* pReserved = NULL);
  long SaveJPEG(LPCSTR lpszPath, int nQuality = 85);
  long SaveBMP(LPCSTR lpszPath);

  // Fills the object (or pOut) with the file's shell icon drawn at cx x cy on white.
  long GetIconFromFile(LPCSTR lpszPath, int cx, int cy, CCMDIB* pOut = NULL);

  // ---- Files and their metadata (the object is not touched) -----------------------

  // Nonzero for the files the object loads as pictures (by their contents; movies by
  // their container).
  static BOOL IsSupported(LPCSTR lpszPath);
  // The frame format of a picture or movie file: width, height and bit count in the
  // header (biCompression: the codec's four-character code for movies, BI_RGB for
  // pictures) and the codec's name ("JPEG", "PNG", "avc1", "MPEG-2", ...).
  static long GetInfo(LPCSTR lpszPath, LPBITMAPINFOHEADER pHeader, CString* pstrCodec = NULL);
  static long GetInfo(LPCSTR lpszPath, void* pBuffer, UINT nSize, CString* pstrCodec);

  // *pbExif = whether the file carries Exif data. 0 when the file could be read.
  static long IsExif(LPCSTR lpszPath, BOOL* pbExif);
  static long GetExif(LPCSTR lpszPath, CMEXIFINFO* pInfo);  // negative without Exif

  // The capture date: Exif DateTimeOriginal, else DateTimeDigitized, else a movie's
  // recording time (as local time). 0 when found; otherwise *pYear = -1 (month and
  // day 0) and 1 is returned (negative when the file can't be read).
  static long GetTime(LPCSTR lpszPath, int* pYear, int* pMonth, int* pDay, SYSTEMTIME* pTime = NULL);
  // The same as 32-bit time values (seconds since 1970, local time interpreted): the
  // capture time, the last-access time and the creation time of the file; each -1
  // when unknown. 0 when the capture time was found, 1 when only the file's times were.
  static long GetTime(LPCSTR lpszPath, long* pCapture, long* pAccess, long* pCreation, void* pReserved);
  // A local time and a file time as such 32-bit values (-1 when out of range).
  static long LocalTimeToTime32(const SYSTEMTIME& local);
  static long FileTimeToTime32(const FILETIME& time);
  // 0: Exif DateTimeOriginal found; 1: only DateTimeDigitized or DateTime; negative: none.
  static long GetDateTimeOriginal(LPCSTR lpszPath, SYSTEMTIME* pTime);
  // The file's last-write time as local time; all zero when unknown.
  static SYSTEMTIME GetUpdateTime(LPCSTR lpszPath);
  // The Exif orientation 1..8, 0 when there is none (negative when unreadable).
  static int GetOrientationInfo(LPCSTR lpszPath, int* pnOrientation = NULL, int nFlags = 0);
  // CMDIB_PIM_* bits; negative when the file can't be read.
  static long GetPimInfo(LPCSTR lpszPath);

  // The maker's note (maker "Norvane"): one tag's values. Numbers come as 32-bit
  // integers one after the other, texts and undefined bytes as they are; *pnRead gets
  // the bytes written. 0 when read, negative when the file, the note or the tag is missing.
  static long GetExifMakerValue(LPCSTR lpszPath, LPCSTR lpszMaker, UINT nTag, void* pValue, UINT nSize,
                                UINT* pnRead = NULL);
  // Several tags' first values: values[i] belongs to tags[i]; the list stops at the
  // first tag that is missing. Answers the number of values (0 or more), negative
  // without the maker's note.
  static long GetMakerNoteValue(LPCSTR lpszPath, LPCSTR lpszMaker, const CWordArray& tags, CDWordArray& values);

  // UTF-8 to the ANSI code page (932), NUL-terminated. 0 on success; negative when the
  // text is no valid UTF-8, holds characters the code page lacks, or doesn't fit.
  static long UTF8toSJIS(LPCSTR lpszUtf8, LPSTR lpszOut, int nOutSize);

 private:
  struct Impl;
  Impl* m_pImpl;
};
