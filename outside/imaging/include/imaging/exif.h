// Exif and TIFF metadata, read with our own bounds-checked TIFF parser (Wine's
// WIC and GDI+ return no Exif). Works on a JPEG's APP1 "Exif\0\0" segment and on
// TIFF files, either byte order. Every offset is checked against the data: a
// corrupt or truncated file gives "no value", never a read past the end.
//
// What is read: IFD0, the Exif IFD, the GPS IFD, the interoperability IFD, IFD1
// (the embedded thumbnail, tags 513/514) and the maker note.
//
// Norvane maker note (tag 0x927C), our own format:
//   offset 0  "Norvane\0"                  8-byte signature
//   offset 8  a TIFF header: "II" or "MM", 42, offset of the first IFD
//   then      one TIFF IFD (entries of 12 bytes, next-IFD offset ignored)
// Every offset inside the note counts from its TIFF header (offset 8), so the
// note stays valid wherever a writer moves it inside the Exif block. Values of
// up to four bytes are in-line, as in TIFF. Tags and their meanings belong to
// the camera firmware; readers ask for them by number.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace imaging {

namespace tag {
// IFD0 / IFD1
constexpr uint16_t kImageWidth = 0x0100;
constexpr uint16_t kImageLength = 0x0101;
constexpr uint16_t kImageDescription = 0x010E;
constexpr uint16_t kMake = 0x010F;
constexpr uint16_t kModel = 0x0110;
constexpr uint16_t kOrientation = 0x0112;
constexpr uint16_t kSoftware = 0x0131;
constexpr uint16_t kDateTime = 0x0132;
constexpr uint16_t kArtist = 0x013B;
constexpr uint16_t kThumbnailOffset = 0x0201;  // JPEGInterchangeFormat
constexpr uint16_t kThumbnailLength = 0x0202;  // JPEGInterchangeFormatLength
constexpr uint16_t kCopyright = 0x8298;
constexpr uint16_t kExifIfd = 0x8769;
constexpr uint16_t kGpsIfd = 0x8825;
constexpr uint16_t kPrintIm = 0xC4A5;
// Exif IFD
constexpr uint16_t kExposureTime = 0x829A;
constexpr uint16_t kFNumber = 0x829D;
constexpr uint16_t kExposureProgram = 0x8822;
constexpr uint16_t kIsoSpeed = 0x8827;
constexpr uint16_t kDateTimeOriginal = 0x9003;
constexpr uint16_t kDateTimeDigitized = 0x9004;
constexpr uint16_t kFlash = 0x9209;
constexpr uint16_t kFocalLength = 0x920A;
constexpr uint16_t kMakerNote = 0x927C;
constexpr uint16_t kUserComment = 0x9286;
constexpr uint16_t kSubSecTime = 0x9290;
constexpr uint16_t kSubSecTimeOriginal = 0x9291;
constexpr uint16_t kSubSecTimeDigitized = 0x9292;
constexpr uint16_t kPixelXDimension = 0xA002;
constexpr uint16_t kPixelYDimension = 0xA003;
constexpr uint16_t kInteropIfd = 0xA005;
constexpr uint16_t kWhiteBalance = 0xA403;
constexpr uint16_t kSceneCaptureType = 0xA406;
// GPS IFD
constexpr uint16_t kGpsVersionId = 0x0000;
constexpr uint16_t kGpsLatitudeRef = 0x0001;
constexpr uint16_t kGpsLatitude = 0x0002;
constexpr uint16_t kGpsLongitudeRef = 0x0003;
constexpr uint16_t kGpsLongitude = 0x0004;
constexpr uint16_t kGpsAltitudeRef = 0x0005;
constexpr uint16_t kGpsAltitude = 0x0006;
constexpr uint16_t kGpsTimeStamp = 0x0007;
constexpr uint16_t kGpsMapDatum = 0x0012;
constexpr uint16_t kGpsDateStamp = 0x001D;
}  // namespace tag

enum class ExifIfd { Ifd0 = 0, Exif, Gps, Interop, Ifd1, Count };

// TIFF field types.
enum ExifType : uint16_t {
  kTypeByte = 1, kTypeAscii = 2, kTypeShort = 3, kTypeLong = 4, kTypeRational = 5,
  kTypeSByte = 6, kTypeUndefined = 7, kTypeSShort = 8, kTypeSLong = 9,
  kTypeSRational = 10, kTypeFloat = 11, kTypeDouble = 12,
};
// Bytes per value of a type; 0 for an unknown type.
size_t ExifTypeSize(uint16_t type);

struct Rational {
  uint32_t num = 0;
  uint32_t den = 0;
  bool Valid() const { return den != 0; }
  double Value() const { return den ? double(num) / den : 0.0; }
};

struct SRational {
  int32_t num = 0;
  int32_t den = 0;
  bool Valid() const { return den != 0; }
  double Value() const { return den ? double(num) / den : 0.0; }
};

// One directory entry with a copy of its value bytes (in the data's byte order).
struct ExifEntry {
  uint16_t tag = 0;
  uint16_t type = 0;
  uint32_t count = 0;
  uint32_t entryPos = 0;  // offset of the 12-byte entry in the TIFF block
  uint32_t valuePos = 0;  // offset of the value bytes in the TIFF block
  bool bigEndian = false;
  std::vector<uint8_t> data;

  // Unsigned integer value i of a BYTE, SHORT or LONG entry.
  std::optional<uint32_t> UInt(size_t i = 0) const;
  // Signed or unsigned integer value i (BYTE..LONG, SBYTE..SLONG).
  std::optional<int64_t> Int(size_t i = 0) const;
  std::optional<Rational> Rat(size_t i = 0) const;
  std::optional<SRational> SRat(size_t i = 0) const;
  // Any numeric type as a double (rationals with a zero denominator: none).
  std::optional<double> Real(size_t i = 0) const;
  // ASCII text up to the first NUL, trailing spaces removed.
  std::string Text() const;
  size_t ValueCount() const;
};

// A date and time as Exif writes it ("YYYY:MM:DD HH:MM:SS").
struct ExifDateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  int millisecond = 0;  // from the SubSecTime tags, 0 when absent

  // Accepts ':' '-' or '/' between the date parts; the time may be missing
  // (midnight); a trailing zone ("Z", "+09:00") is passed over, the clock time kept
  // as written. Rejects blank, zero and out-of-range fields.
  static std::optional<ExifDateTime> Parse(const std::string& text);
  // Milliseconds from SubSecTime digits ("5" = 500 ms, "123456" = 123 ms).
  void SetSubSeconds(const std::string& digits);
  SYSTEMTIME ToSystemTime() const;
  std::string ToString() const;  // "YYYY:MM:DD HH:MM:SS"
  // Seconds since 1601-01-01 of the clock time as written (no zone), for comparing and
  // shifting; none for a date the system calendar refuses.
  std::optional<int64_t> Seconds() const;
  // The clock time that many seconds from then (milliseconds kept); none outside the years
  // 1601 to 9999.
  std::optional<ExifDateTime> Shifted(int64_t seconds) const;
};

// Positions and altitude are read from rationals or signed rationals (some phones write
// those); the parts are kept as magnitudes, the sign goes to the reference.
struct GpsCoordinate {
  Rational degrees, minutes, seconds;
  char ref = 0;    // 'N', 'S', 'E', 'W' or 0 when absent
  double decimal = 0;  // signed: south and west negative
};

struct GpsInfo {
  std::optional<GpsCoordinate> latitude;
  std::optional<GpsCoordinate> longitude;
  std::optional<Rational> altitude;  // metres, as written
  int altitudeRef = 0;               // 0 above sea level, 1 below
  std::optional<double> altitudeMetres;  // signed
  std::string dateStamp;             // "YYYY:MM:DD", empty when absent
  std::optional<std::array<Rational, 3>> timeStamp;  // UTC hour, minute, second
  std::string mapDatum;
};

class ByteSource;  // internal: random-access bytes of a file or memory block

class Exif {
 public:
  // Reads the metadata of a JPEG or TIFF file (only the parts holding it).
  bool Load(const char* path);
  // A whole JPEG or TIFF file in memory.
  bool LoadMemory(const void* data, size_t size);
  // A bare TIFF block (as inside "Exif\0\0"); filePos: where it lies in its file
  // (TiffPosition).
  bool ParseTiff(const void* data, size_t size, uint64_t filePos = 0);
  // The engine's own entry: a JPEG or TIFF behind a byte source.
  bool LoadFrom(const ByteSource& src);
  void Clear();

  bool Valid() const { return valid_; }
  bool BigEndian() const { return bigEndian_; }
  // The TIFF block's position in the file (JPEG: inside APP1; TIFF: 0).
  uint64_t TiffPosition() const { return tiffPos_; }
  bool FromJpeg() const { return fromJpeg_; }
  // The TIFF block itself (JPEG sources only; empty for TIFF files).
  const std::vector<uint8_t>& Block() const { return block_; }

  const std::vector<ExifEntry>& Entries(ExifIfd ifd) const;
  const ExifEntry* Find(ExifIfd ifd, uint16_t tag) const;
  // Offset of the IFD in the TIFF block; 0 when absent.
  uint32_t IfdPosition(ExifIfd ifd) const { return ifdPos_[size_t(ifd)]; }

  std::optional<std::string> Text(ExifIfd ifd, uint16_t tag) const;
  std::optional<uint32_t> UInt(ExifIfd ifd, uint16_t tag, size_t i = 0) const;
  std::optional<Rational> Rat(ExifIfd ifd, uint16_t tag, size_t i = 0) const;

  // The UserComment text after its 8-byte character-code header, up to the first NUL and
  // without trailing blanks: UTF-8 for the "UNICODE" code (UTF-16 in the block's byte
  // order), the bytes as they stand for "ASCII" and the undefined code (8 NULs); other
  // codes (e.g. "JIS") and an empty comment give nullopt.
  struct Comment {
    std::string text;
    bool utf8 = false;  // converted from UTF-16
  };
  std::optional<Comment> UserComment() const;

  // Well-known values. Empty text / nullopt / 0 when absent or invalid.
  std::string Make() const;
  std::string Model() const;
  int Orientation() const;  // 1..8, 0 when absent or out of range
  std::optional<ExifDateTime> DateTimeOriginal() const;   // with SubSecTimeOriginal
  std::optional<ExifDateTime> DateTimeDigitized() const;  // with SubSecTimeDigitized
  std::optional<ExifDateTime> DateTime() const;           // IFD0, with SubSecTime
  // When the picture was taken: DateTimeOriginal, else DateTimeDigitized, else DateTime.
  std::optional<ExifDateTime> ShotDate() const;
  std::optional<Rational> ExposureTime() const;
  std::optional<Rational> FNumber() const;
  std::optional<Rational> FocalLength() const;
  std::optional<uint32_t> Iso() const;
  std::optional<uint32_t> Flash() const;
  std::optional<uint32_t> WhiteBalance() const;
  std::optional<uint32_t> ExposureProgram() const;
  std::optional<uint32_t> SceneCaptureType() const;
  std::optional<SIZE> PixelDimensions() const;  // Exif PixelX/YDimension
  std::optional<SIZE> ImageDimensions() const;  // IFD0 ImageWidth/Length (TIFF)
  bool HasPrintIm() const { return Find(ExifIfd::Ifd0, tag::kPrintIm) != nullptr; }
  std::optional<GpsInfo> Gps() const;  // none without latitude, longitude or altitude

  // The embedded JPEG thumbnail (IFD1), checked to lie inside the data and to
  // begin with a JPEG start marker; empty when absent or broken.
  const std::vector<uint8_t>& Thumbnail() const { return thumbnail_; }
  bool HasThumbnail() const { return !thumbnail_.empty(); }
  uint32_t ThumbnailPosition() const { return thumbPos_; }  // in the TIFF block

  // Raw maker-note bytes; empty when absent.
  const std::vector<uint8_t>& MakerNote() const { return makerNote_; }
  // True when the maker note is in the Norvane format above and was read.
  bool HasNorvaneMakerNote() const { return makerValid_; }
  const std::vector<ExifEntry>& MakerNoteEntries() const { return makerEntries_; }
  const ExifEntry* FindMakerNote(uint16_t tag) const;
  // Every value of a numeric maker-note tag (integers as they are, rationals
  // rounded toward zero); none when the tag is absent or not numeric.
  std::optional<std::vector<int64_t>> MakerNoteValues(uint16_t tag) const;

 private:
  bool ParseSource(const ByteSource& src);
  void ReadThumbnail(const ByteSource& src);
  void ReadMakerNote();

  bool valid_ = false;
  bool bigEndian_ = false;
  bool fromJpeg_ = false;
  uint64_t tiffPos_ = 0;
  std::vector<uint8_t> block_;
  std::vector<ExifEntry> ifds_[size_t(ExifIfd::Count)];
  uint32_t ifdPos_[size_t(ExifIfd::Count)] = {};
  std::vector<uint8_t> thumbnail_;
  uint32_t thumbPos_ = 0;
  std::vector<uint8_t> makerNote_;
  bool makerValid_ = false;
  std::vector<ExifEntry> makerEntries_;
};

// ---- Writing -------------------------------------------------------------

// Sets the Orientation tag (1..8) of a JPEG or TIFF file. An existing tag is
// rewritten in place (two bytes, nothing re-encoded). A JPEG without the tag
// gets it added to IFD0; a JPEG without Exif gets a new APP1 segment. S_OK, or
// a failure code with the file unchanged.
HRESULT WriteOrientation(const char* path, int orientation);

// Which date tags WriteDateTime rewrites.
enum DateTag : unsigned {
  kDateOriginal = 1,   // Exif DateTimeOriginal
  kDateDigitized = 2,  // Exif DateTimeDigitized
  kDateModified = 4,   // IFD0 DateTime
};
// Rewrites the chosen date tags where they are present (the file is written anew through
// PlaceOutputFile; a read-only file is refused with HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)).
// S_OK when at least one was written; HRESULT_FROM_WIN32(ERROR_NOT_FOUND) when none exists.
HRESULT WriteDateTime(const char* path, const ExifDateTime& when, unsigned tags = kDateOriginal);

// Gives a JPEG a GPS position (decimal degrees, south and west negative): a GPS IFD with
// the version, latitude and longitude and their references. Everything else of the Exif
// stays; a JPEG without Exif gets a new APP1 segment. Written as WriteDateTime writes.
// HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS) when the file has a GPS IFD already,
// WINCODEC_ERR_COMPONENTNOTFOUND for a file that is not a JPEG.
HRESULT WriteGpsPosition(const char* path, double latitude, double longitude);

// In-memory forms, on a whole JPEG file.
bool SetJpegOrientation(std::vector<uint8_t>* jpeg, int orientation);
// The same on a whole TIFF file.
bool SetTiffOrientation(std::vector<uint8_t>* tiff, int orientation);
// False (the data unchanged) when it has a GPS IFD already or a position is out of range.
bool SetJpegGpsPosition(std::vector<uint8_t>* jpeg, double latitude, double longitude);

// The orientation after turning a picture shown with `orientation` (0 = 1) by
// degrees clockwise (multiples of 90, negative allowed).
int RotateOrientation(int orientation, int degreesClockwise);
// Orientations 5..8 swap width and height.
inline bool OrientationSwapsAxes(int orientation) { return orientation >= 5 && orientation <= 8; }

// Lossless rotation of a JPEG or TIFF: composes the turn with the current
// Orientation tag and writes it.
HRESULT RotateByOrientation(const char* path, int degreesClockwise);

// For re-encoding pixels that were turned upright: a copy of the TIFF block with
// Orientation 1, PixelX/YDimension set to the new size, and the thumbnail turned
// the same way (or dropped when it can't be). Empty when the block is unusable.
std::vector<uint8_t> MakeUprightExif(const std::vector<uint8_t>& tiffBlock, int orientation, int width,
                                     int height);

}  // namespace imaging
