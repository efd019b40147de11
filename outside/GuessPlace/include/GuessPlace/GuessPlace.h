// The place guess: a picture taken without GPS most likely stood where the camera's
// owner took a GPS picture minutes before or after, in the same folder.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace guessplace {

// The window's controls.
enum : WORD { kFolderId = 1001, kReadId = 1002, kListId = 1003, kWriteId = 1004 };

// The farthest a GPS picture may lie in time from the picture it gives its position.
constexpr int64_t kMaxGapSeconds = 30 * 60;

// What the guess knows of one picture of a folder.
struct Shot {
  std::string path;
  bool dated = false;
  int64_t seconds = 0;  // ExifDateTime::Seconds of its shooting date
  bool hasGps = false;
  double latitude = 0, longitude = 0;
};
Shot ReadShot(const std::string& path);

// The pictures of a folder that can carry Exif (JPEG and TIFF), sorted by name.
std::vector<std::string> PicturesIn(const std::string& folder);

struct Proposal {
  std::string path;  // a JPEG without GPS
  bool found = false;
  std::string from;  // the GPS picture whose position it gets
  double latitude = 0, longitude = 0;
  int64_t gapSeconds = 0;
};

// For each target that is a dated JPEG without GPS, in the given order: the position of
// the GPS picture of its folder nearest in time, when that is at most kMaxGapSeconds away
// (the earlier one on a tie). A folder among the targets stands for its pictures; targets
// with GPS, undated ones and other kinds are left out. Folders are read once each.
std::vector<Proposal> Propose(const std::vector<std::string>& targets);

struct WriteResult {
  int written = 0;
  int failed = 0;
  std::string first;  // the first file written
};
// Writes the found proposals whose index is chosen (all found ones when chosen is empty).
WriteResult WriteProposals(const std::vector<Proposal>& proposals, const std::vector<int>& chosen);

}  // namespace guessplace
