// Content-information files (".cont"): one clip of a camcorder and the files that belong
// to it. The card import writes one beside each imported clip (through the content
// library); VxProperty reads them (member list = property 1792, recording time, maker,
// model, ...). This is the one definition of the format; writers and readers link the
// static library vxproperty_core and use the functions below.
//
// The file is text, UTF-8 (a byte-order mark is allowed; a file that is not valid UTF-8
// is read as code page 932), at most 64 KB, lines ending in CR LF or LF:
//
//   [Content]
//   Format=1
//   Members=00001.MTS|00001.tmb|00001.iis
//   Title=運動会
//   Maker=Norvane
//   Model=NV-HD100
//   MakerCode=NV0103AB12
//   ModelCode=0412
//   RecordTime=2024/05/01 10:20:30
//   Duration=83.5
//   RecMode=HA
//   BitRate=17000000
//   Exposure=1/60
//   Edited=0
//   TotalSize=123456789
//   BaseFolder=C:\Movies
//   Items=C:\Movies\clip.mov
//   Thumbnails=C:\Temp\clip.tmb
//   Options=01000000
//   Streams=1
//   MemberSizes=123456789|5120|48
//   MemberTimes=01DA9B7F3C2E1A00|01DA9B7F3C2E1A00|01DA9B7F3C2E1A00
//   MakerData=00000001:0A0B0C
//
// - "[section]" lines and lines beginning with ";" or "#" are skipped; keys compare
//   without regard to case; the first occurrence of a key counts; blanks around keys and
//   values are trimmed; unknown keys are kept by nobody and ignored. A value reads as a
//   rewrite writes it back (a lone CR as a blank, a broken character left out, a code of
//   no character as the "・" it becomes), so a file rewritten reads as it did.
// - Members: the clip's files by name, "|"-separated, first the stream files in playing
//   order, then the companion files (thumbnail ".tmb", still information ".iis"). Names
//   are plain file names in the ".cont" file's own folder: a name Windows refuses (a
//   forbidden character \ / : * ? " < > |, a control character, only dots and blanks, a
//   device name such as CON, NUL.tmb or COM1.MTS, a trailing dot or blank, a broken
//   double-byte character) is dropped by the reader, as are empty names, repeats
//   (compared without case) and names the file can't give back byte for byte (a code of no
//   character; in a UTF-8 file, a character the code page lacks), full paths likewise.
//   Deleting, copying or moving a ".cont" file takes these files along.
// - RecordTime: local time the clip started ("/", "-" or ":" between the date parts).
// - Duration in seconds (decimal point "."), BitRate in bits per second, TotalSize in
//   bytes of all members; Edited 1 when the clip was edited after recording.
// - BaseFolder, Items, Thumbnails and Options are written for the upload: the clip's
//   folder, the files it sends (or, in a list file, the clips' ".cont" files) and its
//   thumbnails, as full paths ("X:\..." or "\\server\..."), "|"-separated; a path that is
//   not full or holds a control character is dropped by the reader. Options: hexadecimal.
// - Streams: how many of the first members are stream files (the rest are companions).
//   MemberSizes and MemberTimes go with the members one for one (bytes; the last write as
//   a FILETIME in hexadecimal); when their number differs from the members' (or a member
//   was dropped), both are dropped. MakerData: the maker's own data of the clip, a
//   hexadecimal tag, ":" and at most 1024 bytes in hexadecimal.
// - MakerCode and ModelCode: the device codes the program's device tables
//   (gmr.ini, Core\MediaHwInfo.ini) compare with.
// A file counts as a content file when it is text of that size holding at least one of
// the keys Format or Members.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vxcont {

// Texts in the ANSI code page (932), as everywhere in the program.
struct ContentInfo {
  int format = 1;
  std::vector<std::string> members;
  std::string title;
  std::string maker;
  std::string model;
  std::string makerCode;
  std::string modelCode;
  std::optional<SYSTEMTIME> recordTime;
  double durationSeconds = 0;  // 0: unknown
  uint64_t bitRate = 0;        // 0: unknown
  std::optional<uint64_t> totalSize;
  std::string recMode;
  std::string exposure;
  bool edited = false;
  std::string baseFolder;
  std::vector<std::string> items;
  std::vector<std::string> thumbnails;
  uint32_t options = 0;
  int streams = -1;  // leading stream members; -1: not written
  struct MemberFacts {
    uint64_t size = 0;
    FILETIME lastWrite = {};
  };
  std::vector<MemberFacts> memberFacts;  // one per member, or none
  uint32_t makerDataTag = 0;
  std::string makerData;  // bytes
};
constexpr size_t kMaxMakerData = 1024;

constexpr size_t kMaxContentBytes = 64 * 1024;

// The file's bytes (as read) to the record; false when they are not a content file.
bool ParseContent(const std::string& bytes, ContentInfo* out);
// The record as file text (UTF-8, "[Content]" first, keys in the order shown above,
// unknown values left out). Member names that the reader would drop are left out.
std::string SerializeContent(const ContentInfo& info);

bool ReadContentFile(const char* path, ContentInfo* out);
// Written through a temporary file and a replacing move: S_OK or a failure code.
HRESULT WriteContentFile(const char* path, const ContentInfo& info);

// "|"-separated text to names, dropping empty and repeated names and those Windows refuses
// (textkit::CheckFileName: a member stays inside the folder).
std::vector<std::string> SplitMembers(const std::string& text);
std::string JoinMembers(const std::vector<std::string>& names);

// "|"-separated full paths, dropping those that are not full or hold a control character.
std::vector<std::string> SplitPaths(const std::string& text);

// True for a path ending in ".cont" (any case).
bool IsContentPath(const char* path);

}  // namespace vxcont
