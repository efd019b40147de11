#include "FolderTextRules.h"

#include <textkit/path.h>
#include <textkit/records.h>
#include <textkit/text.h>

#include <windows.h>

#include <VxDatabase.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace foldertext {

std::string WithOneBackslash(const std::string& path) {
  std::string s = path;
  textkit::TrimTrailingSeparators(s);
  return s + "\\";
}

std::string BuildRequest(const std::vector<SelectedItem>& items) {
  if (items.empty()) return "|1|||";
  std::string text = "|";
  bool lastPlain = false;
  for (const SelectedItem& item : items) {
    if (!item.hasRecord) continue;
    if (item.kind >= 1 && item.kind <= 6) {
      text = item.kindText;
      lastPlain = false;
      continue;
    }
    text += WithOneBackslash(item.path) + "||";
    lastPlain = true;
  }
  if (text.size() < 2) return text + "|1|||";
  return lastPlain ? "|1" + text : text;
}

std::string ComparableSelection(const std::string& request) {
  if (request.compare(0, 3, "|1|") != 0) return request;
  std::vector<std::string> fields = textkit::SplitFields(request);
  std::string joined;
  for (size_t i = 2; i < fields.size(); ++i) {
    if (fields[i].empty()) continue;
    if (!joined.empty()) joined += "|";
    joined += fields[i];
  }
  return joined;
}

std::string FrameChange(int treeNumber, const std::string& title, const std::string& request) {
  return std::to_string(treeNumber) + "|" + title + request;
}

std::vector<char> PaddedBlock(const std::string& text) {
  size_t n = text.size() + 1;
  size_t padded = (n / 4 + 1) * 4;
  std::vector<char> block(padded, 0);
  text.copy(block.data(), text.size());
  return block;
}

std::string GroupName(const std::string& name, bool bQuoted) {
  std::string s;
  bool comma = false;
  textkit::ForEachChar(name, [&](size_t at, size_t len) {
    char c = name[at];
    if (len == 1 && (c == '"' || c == '|')) {
      s += '_';
      return;
    }
    if (len == 1 && c == ',') comma = true;
    s.append(name, at, len);
  });
  return comma || bQuoted ? "\"" + s + "\"" : s;
}

std::string GroupText(const std::string& itemName, const std::vector<Group>& groups, bool bQuoted,
                      const std::vector<std::string>* pOwnFiles, bool bEmptyAsOne) {
  std::string header = "," + GroupName(itemName, bQuoted), entries;
  if (groups.empty() && pOwnFiles)
    for (const std::string& file : *pOwnFiles) entries += file + "|1||";
  for (size_t i = 0; i < groups.size(); ++i) {
    header += "," + GroupName(groups[i].name, bQuoted && !groups[i].bare) + "," + std::to_string(i % 6 + 1);
    for (const std::string& file : groups[i].files) entries += file + "|" + std::to_string(i + 1) + "||";
  }
  if (entries.empty() && bEmptyAsOne) entries = "|1||";
  return header + "|2|" + entries;
}

std::string MusicText(int id, std::vector<std::string> audioFiles) {
  if (audioFiles.empty()) return "";
  std::sort(audioFiles.begin(), audioFiles.end());
  std::string text = ",\"" + std::to_string(id) + "\",1|,2|";
  for (const std::string& file : audioFiles) text += file + "|1||";
  return text;
}

std::vector<std::string> WidenedQueries(const std::string& query) {
  std::vector<std::string> runs;
  std::vector<std::string> terms = textkit::SplitFields(query);
  for (int run = 0; run < 5; ++run) {
    std::string text;
    for (size_t i = 0; i < terms.size(); ++i) text += (i ? "|" : "") + terms[i];
    runs.push_back(text);
    std::vector<std::string> wider;
    for (const std::string& t : terms) {
      wider.push_back(t);
      if (t == "%") wider.push_back(t);
    }
    terms.swap(wider);
  }
  return runs;
}

std::string KeywordOf(const std::string& query) {
  static const char kTerm[] = "Keywords,";
  const size_t termLength = sizeof kTerm - 1;
  // Terms start the query or follow a bar of their own; a quoted value may hold bars.
  size_t at = 0;
  while (at < query.size()) {
    size_t end = textkit::Find(query, '|', at);
    if (query.compare(at, termLength, kTerm) == 0) {
      size_t v = at + termLength;
      if (v < query.size() && query[v] == '"') {
        std::string value;
        for (size_t i = v + 1; i < query.size(); ++i) {
          if (query[i] == '"') {
            if (i + 1 < query.size() && query[i + 1] == '"') {
              value += '"';
              ++i;
              continue;
            }
            break;
          }
          value += query[i];
        }
        return value;
      }
      return query.substr(v, end == std::string::npos ? std::string::npos : end - v);
    }
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return "";
}

bool IsMarkerQuery(const std::string& query) { return query.find(VXDB_RESULT_MARKER) != std::string::npos; }

namespace {
// "X:\" or "\\server\share\" of a path, empty when it has neither.
std::string RootOf(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':' && isalpha((unsigned char)path[0])) return path.substr(0, 2) + "\\";
  if (path.compare(0, 2, "\\\\") != 0) return "";
  size_t server = textkit::Find(path, '\\', 2);
  if (server == std::string::npos) return "";
  size_t share = textkit::Find(path, '\\', server + 1);
  return share == std::string::npos ? path + "\\" : path.substr(0, share + 1);
}
}  // namespace

FileProbe RealFiles() {
  FileProbe probe;
  probe.drivePresent = [](const std::string& path) {
    std::string root = RootOf(path);
    return !root.empty() && ::GetFileAttributesA(root.c_str()) != INVALID_FILE_ATTRIBUTES;
  };
  probe.folderExists = [](const std::string& folder) {
    DWORD attr = ::GetFileAttributesA(folder.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
  };
  probe.fileExists = [](const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  };
  return probe;
}

bool IsGoneResult(const std::string& path, const FileProbe& probe) {
  if (path.empty() || probe.fileExists(path)) return false;
  std::string folder = textkit::FolderOf(path);
  return !folder.empty() && probe.drivePresent(path) && probe.folderExists(folder);
}

bool PrintOrderJob(const std::string& path, std::string* drive, std::string* job) {
  if (path.size() < 2 || path[1] != ':' || !isalpha((unsigned char)path[0])) return false;
  *drive = path.substr(0, 2);
  std::string trimmed = path;
  textkit::TrimTrailingSeparators(trimmed);
  *job = textkit::TitleOf(trimmed);
  return true;
}

namespace {
bool ReadNumber(const std::string& s, int* out) {
  if (s.empty()) return false;
  char* end = nullptr;
  long v = strtol(s.c_str(), &end, 10);
  if (*end) return false;
  *out = (int)v;
  return true;
}
}  // namespace

ReceivedChange ReadChange(const char* data, size_t cbData) {
  ReceivedChange r;
  if (!data || !cbData || !memchr(data, 0, cbData)) return r;
  std::string text = textkit::TakeText(data, cbData);
  std::vector<std::string> fields = textkit::SplitFields(text);
  if (fields.size() < 3) return r;
  if (!ReadNumber(fields[0], &r.treeNumber) || !ReadNumber(fields[2], &r.kind)) return r;
  r.title = fields[1];
  // Where the payload starts: after the third "|".
  size_t start = fields[0].size() + 1 + fields[1].size() + 1 + fields[2].size() + 1;
  if (start > text.size()) start = text.size();
  size_t lastBar = fields.size() > 3 ? text.size() - fields.back().size() - 1 : std::string::npos;
  if (r.kind == 1) {
    r.payload = fields.size() > 3 ? fields[3] : "";
  } else if (r.kind == 2) {
    if (lastBar != std::string::npos && lastBar >= start) r.payload = text.substr(start, lastBar + 1 - start);
  } else if (r.kind == 3) {
    // Up to two places before the last "|", never before the payload's start.
    if (lastBar != std::string::npos && lastBar >= start + 1) r.payload = text.substr(start, lastBar - 1 - start);
  }
  r.ok = true;
  return r;
}

}  // namespace foldertext
