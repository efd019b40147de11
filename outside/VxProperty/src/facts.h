// What the property reader knows of one file, gathered when a set opens, and the rules
// that turn it into property texts and times. Plain functions: tests call them directly.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "VxContFile.h"
#include "imaging/decode.h"
#include "imaging/exif.h"
#include "imaging/movieprobe.h"

namespace vxprop {

enum class FileKind { Other, Image, Movie, Content };

// Where a recording time came from (first that the file has).
enum class TimeSource { ExifOriginal, ExifDigitized, MovieHeader, ContentRecord, ContentMember, FileWritten };

struct FileFacts {
  std::string path;
  DWORD attributes = 0;
  uint64_t size = 0;
  FILETIME written{};
  WIN32_FILE_ATTRIBUTE_DATA disk{};  // as read when the facts were gathered
  FileKind kind = FileKind::Other;
  imaging::ImageFormat imageFormat = imaging::ImageFormat::Unknown;
  bool hasImageInfo = false;
  imaging::ImageInfo image;
  bool hasExif = false;
  imaging::Exif exif;
  bool hasMovie = false;
  imaging::MovieHeader movie;  // MP4 and QuickTime headers; MPEG-TS streams through the movie kit
  bool hasContent = false;
  vxcont::ContentInfo content;
  uint64_t memberBytes = 0;          // sizes of the members found on disk
  std::optional<FILETIME> firstMemberWritten;
};

// Reads what the file offers; false when the path is missing or a folder.
bool GatherFacts(const char* path, FileFacts* out);
// The same for a picture from the first size bytes of its content (the rest of the file
// unread); false when those bytes don't tell all that reading the file would.
bool GatherHeadFacts(const char* path, const void* head, size_t size, FileFacts* out,
                     const WIN32_FILE_ATTRIBUTE_DATA* disk = nullptr);

// The text of a property id ("" when the file has none).
std::string PropertyText(const FileFacts& f, DWORD id);
// Ids 2 and 128 as local times.
bool PropertyTime(const FileFacts& f, DWORD id, SYSTEMTIME* out);
SYSTEMTIME RecordingTime(const FileFacts& f, TimeSource* source = nullptr);

struct GpsTexts {
  std::string latitude, longitude, altitude;
};
std::optional<GpsTexts> GpsOf(const FileFacts& f);

std::vector<std::string> PersonNamesOf(const FileFacts& f);  // UTF-8, at most 3

struct FocusArea {
  int column = 0, columns = 1, row = 0, rows = 1;
};
std::optional<FocusArea> FocusOf(const FileFacts& f);

// What the property dialog lists: name and value of every property the file carries,
// in a fixed order, starting with the file's name.
std::vector<std::pair<std::string, std::string>> DialogLines(const FileFacts& f);

// UTC file time to local system time.
SYSTEMTIME LocalTimeOf(const FILETIME& utc);

}  // namespace vxprop
