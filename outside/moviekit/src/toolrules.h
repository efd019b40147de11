// The rules the movie tools on the kit share (the split library, the scene bench and the
// clip runner in Core\): their command lines, the names of the parts they write, the times
// as they list them, where a movie can be split. Plain functions the tests call without a
// movie or a window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace movietools {

// The switches of the programs in Core\: "-c <clip>", "-f <folder>", "-w <window>" and
// "-m <number>" (decimal, or hexadecimal after "0x"); other switches are taken and not used.
struct ToolArgs {
  std::string clip;
  std::string folder;
  unsigned long long window = 0;
  unsigned long number = 0;
  bool hasNumber = false;
};
ToolArgs ParseToolArgs(const std::vector<std::string>& args);
// A number as the switches give it; 0 for anything else.
unsigned long long ParseNumber(const std::string& text);

// A time as the tools list it: "m:ss.cc" ("1:05.50"), "h:mm:ss.cc" from an hour on.
std::string TimeLabel(double seconds);

// "<folder>\<title>_<n><ext>" of the movie; an empty folder is the movie's own.
std::string PartName(const std::string& movie, const std::string& folder, int number);

// The first numbered name (from 1) that is not taken.
std::string FreePartName(const std::string& movie, const std::string& folder,
                         const std::function<bool(const std::string&)>& taken);

// The names of a split's two parts beside the movie: the first pair n, n + 1 (from 1) of
// which neither is taken.
std::pair<std::string, std::string> SplitNames(const std::string& movie,
                                               const std::function<bool(const std::string&)>& taken);

// Where a movie `duration` long (0: unknown) can be split: every key frame after the first
// and before the end; each part then holds at least one picture.
std::vector<double> SplitPoints(const std::vector<double>& keys, double duration);

// The point offered first: the one nearest the middle; -1 for none.
int MiddlePoint(const std::vector<double>& points, double duration);

// Through the kit: every key frame time of the movie (moviekit::ReadKeyFrames).
HRESULT ReadKeyFrameList(const char* path, std::vector<double>* keys);

}  // namespace movietools
