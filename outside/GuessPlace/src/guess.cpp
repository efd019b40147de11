#include "GuessPlace/GuessPlace.h"

#include <imaging/decode.h>
#include <imaging/exif.h>
#include <textkit/path.h>
#include <textkit/text.h>

#include <algorithm>
#include <map>

namespace guessplace {

namespace {
bool IsFolder(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsJpeg(const std::string& path) {
  return imaging::FormatFromExtension(path.c_str()) == imaging::ImageFormat::Jpeg;
}
}  // namespace

Shot ReadShot(const std::string& path) {
  Shot s;
  s.path = path;
  imaging::Exif exif;
  if (!exif.Load(path.c_str())) return s;
  if (auto when = exif.ShotDate())
    if (auto seconds = when->Seconds()) s.dated = true, s.seconds = *seconds;
  if (auto gps = exif.Gps())
    if (gps->latitude && gps->longitude) {
      s.hasGps = true;
      s.latitude = gps->latitude->decimal;
      s.longitude = gps->longitude->decimal;
    }
  // A GPS IFD without a usable position still counts as one: it is never overwritten.
  if (!s.hasGps && exif.Find(imaging::ExifIfd::Ifd0, imaging::tag::kGpsIfd))
    s.hasGps = true, s.latitude = s.longitude = 0;
  return s;
}

std::vector<std::string> PicturesIn(const std::string& folder) {
  std::vector<std::string> found;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(textkit::Join(folder, "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return found;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::string path = textkit::Join(folder, fd.cFileName);
    imaging::ImageFormat f = imaging::FormatFromExtension(path.c_str());
    if (f == imaging::ImageFormat::Jpeg || f == imaging::ImageFormat::Tiff) found.push_back(path);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  std::sort(found.begin(), found.end(),
            [](const std::string& a, const std::string& b) { return textkit::CompareNoCase(a, b) < 0; });
  return found;
}

std::vector<Proposal> Propose(const std::vector<std::string>& targets) {
  std::vector<std::string> files;
  for (const std::string& t : targets) {
    if (IsFolder(t)) {
      for (const std::string& p : PicturesIn(t)) files.push_back(p);
    } else {
      files.push_back(t);
    }
  }
  // The GPS pictures of each folder, keyed by the folder as Windows compares it.
  std::map<std::string, std::vector<Shot>> sources;
  std::vector<Proposal> proposals;
  for (const std::string& path : files) {
    if (!IsJpeg(path)) continue;
    Shot target = ReadShot(path);
    if (target.hasGps || !target.dated) continue;
    std::string folder = textkit::FolderOf(path);
    std::string key = textkit::FoldCase(folder);
    auto it = sources.find(key);
    if (it == sources.end()) {
      std::vector<Shot> withGps;
      for (const std::string& p : PicturesIn(folder)) {
        Shot s = ReadShot(p);
        if (s.hasGps && s.dated && (s.latitude || s.longitude)) withGps.push_back(s);
      }
      std::stable_sort(withGps.begin(), withGps.end(),
                       [](const Shot& a, const Shot& b) { return a.seconds < b.seconds; });
      it = sources.emplace(key, std::move(withGps)).first;
    }
    Proposal p;
    p.path = path;
    const Shot* best = nullptr;
    int64_t bestGap = 0;
    for (const Shot& s : it->second) {
      int64_t gap = s.seconds > target.seconds ? s.seconds - target.seconds : target.seconds - s.seconds;
      if (gap <= kMaxGapSeconds && (!best || gap < bestGap)) best = &s, bestGap = gap;
    }
    if (best) {
      p.found = true;
      p.from = best->path;
      p.latitude = best->latitude;
      p.longitude = best->longitude;
      p.gapSeconds = bestGap;
    }
    proposals.push_back(p);
  }
  return proposals;
}

WriteResult WriteProposals(const std::vector<Proposal>& proposals, const std::vector<int>& chosen) {
  WriteResult r;
  std::vector<int> which = chosen;
  if (which.empty())
    for (size_t i = 0; i < proposals.size(); ++i) which.push_back(int(i));
  for (int i : which) {
    if (i < 0 || size_t(i) >= proposals.size() || !proposals[size_t(i)].found) continue;
    const Proposal& p = proposals[size_t(i)];
    if (SUCCEEDED(imaging::WriteGpsPosition(p.path.c_str(), p.latitude, p.longitude))) {
      if (!r.written++) r.first = p.path;
    } else {
      ++r.failed;
    }
  }
  return r;
}

}  // namespace guessplace
