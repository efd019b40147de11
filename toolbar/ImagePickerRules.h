// Decisions of the image picker, without windows: the entries of its two combos, which
// files of a folder it lists, what OK asks before filing, and the record a picture from
// a folder is filed with.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct tagVXDBRECORD;

namespace imagepicker {

// The name field keeps this many bytes: the picked-picture record holds the name in the
// 64 bytes before the path, terminator included.
constexpr size_t kNameBytes = 63;

// The source combo: the database's names, without empty ones and those that read as the
// unsorted entry or the folder entry, then those two entries.
std::vector<std::string> SourceEntries(const std::vector<std::string>& names, const std::string& unsorted,
                                       const std::string& chooseFolder);
// The name combo: the database's names, without empty ones and the unsorted entry, then the
// entry that takes pictures out of their name.
std::vector<std::string> NameEntries(const std::vector<std::string>& names, const std::string& unsorted,
                                     const std::string& unfile);

// Files a browsed folder lists: pictures the image engine reads (or ".raw", ".dng"), never
// ".ped", ".gif", ".png", ".mov" or ".tmb".
bool Listed(const std::string& path, bool engineReads);

// What OK asks before the ticked pictures leave their name: nothing, the count (string
// 2516) or the one path (string 472). Filing under another name asks nothing.
enum Question { kAskNothing, kAskCount, kAskPath };
Question QuestionFor(const std::string& name, const std::string& unfile, size_t ticked);

// How one ticked picture is filed.
enum Filing {
  kRegister,  // a new record under the name (pictures of a browsed folder)
  kRefile,    // moved from the source name to the name
  kLeave,     // taken out of the source name
  kSkip,      // nothing to do (a browsed picture taken out of no name)
};
Filing FilingFor(const std::string& source, const std::string& name, const std::string& chooseFolder,
                 const std::string& unfile);

// The zeroed record of a picked picture: the name at byte 0, the path at byte 64, both
// with their terminators; false (the record untouched) when either does not fit.
bool PickedRecord(const std::string& name, const std::string& path, tagVXDBRECORD* pRecord);

}  // namespace imagepicker
