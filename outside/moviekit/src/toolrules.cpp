#include "toolrules.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "moviekit/moviekit.h"
#include "textkit/path.h"

namespace movietools {

namespace {
const double kSlack = 1e-3;
const int kMostNumbers = 100000;  // a folder full of parts ends the search rather than the program
}  // namespace

unsigned long long ParseNumber(const std::string& text) {
  bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  std::string digits = hex ? text.substr(2) : text;
  // strtoull would also take blanks, signs and a number with junk behind it.
  if (digits.empty() || !isxdigit((unsigned char)digits[0]) || (!hex && !isdigit((unsigned char)digits[0]))) return 0;
  char* end = nullptr;
  errno = 0;
  unsigned long long n = strtoull(digits.c_str(), &end, hex ? 16 : 10);
  return errno || *end ? 0 : n;
}

ToolArgs ParseToolArgs(const std::vector<std::string>& args) {
  ToolArgs a;
  for (size_t i = 0; i + 1 < args.size(); ++i) {
    const std::string& s = args[i];
    if (s == "-c")
      a.clip = args[++i];
    else if (s == "-f")
      a.folder = textkit::WithoutTrailingSeparator(args[++i]);  // a root comes with two
    else if (s == "-w")
      a.window = ParseNumber(args[++i]);
    else if (s == "-m") {
      a.number = (unsigned long)ParseNumber(args[++i]);
      a.hasNumber = true;
    }
  }
  return a;
}

std::string TimeLabel(double seconds) {
  if (!(seconds > 0)) seconds = 0;
  long long hundredths = llround(seconds * 100);
  long long s = hundredths / 100, h = s / 3600, m = s / 60 % 60;
  char text[40];
  if (h)
    snprintf(text, sizeof text, "%lld:%02lld:%02lld.%02lld", h, m, s % 60, hundredths % 100);
  else
    snprintf(text, sizeof text, "%lld:%02lld.%02lld", s / 60, s % 60, hundredths % 100);
  return text;
}

std::string PartName(const std::string& movie, const std::string& folder, int number) {
  std::string where = folder.empty() ? textkit::FolderOf(movie) : folder;
  return textkit::Join(where, textkit::TitleOf(movie) + "_" + std::to_string(number) + textkit::ExtensionOf(movie));
}

std::string FreePartName(const std::string& movie, const std::string& folder,
                         const std::function<bool(const std::string&)>& taken) {
  for (int n = 1; n < kMostNumbers; ++n) {
    std::string name = PartName(movie, folder, n);
    if (!taken(name)) return name;
  }
  return std::string();
}

std::pair<std::string, std::string> SplitNames(const std::string& movie,
                                               const std::function<bool(const std::string&)>& taken) {
  for (int n = 1; n < kMostNumbers; ++n) {
    std::string first = PartName(movie, "", n), second = PartName(movie, "", n + 1);
    if (!taken(first) && !taken(second)) return {first, second};
  }
  return {};
}

std::vector<double> SplitPoints(const std::vector<double>& keys, double duration) {
  std::vector<double> points;
  for (size_t i = 1; i < keys.size(); ++i) {
    if (keys[i] <= keys[0] + kSlack) continue;
    if (duration > 0 && keys[i] >= duration - kSlack) continue;
    points.push_back(keys[i]);
  }
  return points;
}

int MiddlePoint(const std::vector<double>& points, double duration) {
  int best = -1;
  for (int i = 0; i < int(points.size()); ++i)
    if (best < 0 || std::fabs(points[i] - duration / 2) < std::fabs(points[best] - duration / 2)) best = i;
  return best;
}

HRESULT ReadKeyFrameList(const char* path, std::vector<double>* keys) {
  // Room for an hour at a key frame a second, so that a second reading of the whole movie
  // is rare.
  keys->assign(4096, 0);
  int count = 0;
  HRESULT hr = moviekit::ReadKeyFrames(path, keys->data(), int(keys->size()), &count);
  if (SUCCEEDED(hr) && count > int(keys->size())) {
    keys->assign(count, 0);
    hr = moviekit::ReadKeyFrames(path, keys->data(), count, &count);
  }
  keys->resize(SUCCEEDED(hr) ? std::min<size_t>(std::max(count, 0), keys->size()) : 0);
  return hr;
}

}  // namespace movietools
