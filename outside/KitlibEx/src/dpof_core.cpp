#include "dpof_core.h"

#include <windows.h>

#include <cctype>

#include <textkit/textkit.h>

namespace kitlibex {

namespace {

struct Line {
  std::string text;  // without its line end
  std::string end;   // "\r\n", "\n" or "" (last line)
};

std::vector<Line> SplitLines(const std::string& s) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start < s.size()) {
    size_t nl = s.find('\n', start);
    Line l;
    if (nl == std::string::npos) {
      l.text = s.substr(start);
      start = s.size();
    } else {
      size_t textEnd = (nl > start && s[nl - 1] == '\r') ? nl - 1 : nl;
      l.text = s.substr(start, textEnd - start);
      l.end = s.substr(textEnd, nl + 1 - textEnd);
      start = nl + 1;
    }
    lines.push_back(l);
  }
  return lines;
}

// "[JOB]" -> "JOB"; "" for a line that is no section header.
std::string SectionName(const std::string& line) {
  std::string t = textkit::Trim(line);
  if (t.size() < 2 || t.front() != '[' || t.back() != ']') return std::string();
  return textkit::UpperAscii(textkit::Trim(t.substr(1, t.size() - 2)));
}

// The SRC value of an IMG line, or false.
bool ImageSource(const std::string& line, std::string* src) {
  std::string t = textkit::Trim(line);
  std::string up = textkit::UpperAscii(t);
  if (up.compare(0, 4, "<IMG") != 0) return false;
  size_t at = up.find("SRC", 4);
  if (at == std::string::npos) return false;
  size_t eq = t.find('=', at + 3);
  if (eq == std::string::npos) return false;
  size_t q1 = t.find('"', eq + 1);
  if (q1 == std::string::npos) return false;
  size_t q2 = t.find('"', q1 + 1);
  if (q2 == std::string::npos) return false;
  *src = t.substr(q1 + 1, q2 - q1 - 1);
  return !src->empty();
}

}  // namespace

std::string DpofFilePath(const std::string& drive, const std::string& job) {
  std::string d = drive;
  textkit::TrimTrailingSeparators(d);
  return d + "\\MISC\\" + job + ".MRK";
}

namespace {

// The parts of a picture path between its separators (a trail byte 0x5C is none).
std::vector<std::string> SourceParts(const std::string& src) {
  std::vector<std::string> parts(1);
  textkit::ForEachChar(src, [&](size_t i, size_t n) {
    if (n == 1 && textkit::IsSeparator(src[i]))
      parts.emplace_back();
    else
      parts.back().append(src, i, n);
  });
  return parts;
}

}  // namespace

bool IsSafeDpofSource(const std::string& src) {
  if (src.empty() || src.find('\0') != std::string::npos) return false;
  bool named = false;
  for (const std::string& part : SourceParts(src)) {
    // Empty parts (doubled or outer separators), "." and ".." only move within the card.
    if (part.empty() || part == "." || part == "..") continue;
    if (!textkit::IsValidFileName(part)) return false;
    named = true;
  }
  return named;
}

std::string ResolveDpofSource(const std::string& drive, const std::string& src) {
  std::string d = drive;
  textkit::TrimTrailingSeparators(d);
  std::vector<std::string> parts;
  bool fromRoot = !src.empty() && textkit::IsSeparator(src[0]);
  if (!fromRoot) parts.push_back("MISC");
  for (const std::string& cur : SourceParts(src)) {
    if (cur == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!cur.empty() && cur != ".") {
      parts.push_back(cur);
    }
  }
  std::string out = d;
  for (const std::string& p : parts) out += "\\" + p;
  return out;
}

std::vector<std::string> DpofImages(const std::string& mrk, const std::string& drive) {
  std::vector<std::string> out;
  bool inJob = false;
  for (const Line& l : SplitLines(mrk)) {
    std::string sec = SectionName(l.text);
    if (!sec.empty()) {
      inJob = sec == "JOB";
      continue;
    }
    std::string src;
    if (inJob && ImageSource(l.text, &src) && IsSafeDpofSource(src)) out.push_back(ResolveDpofSource(drive, src));
  }
  return out;
}

int DpofRemoveImage(std::string& mrk, const std::string& drive, const std::string& path) {
  std::vector<Line> lines = SplitLines(mrk);
  std::string wanted = textkit::FoldCase(path);
  std::vector<bool> keep(lines.size(), true);
  int removed = 0;
  // Walk the sections; for each job note its picture lines and whether any stays.
  size_t i = 0;
  while (i < lines.size()) {
    std::string sec = SectionName(lines[i].text);
    if (sec != "JOB") {
      ++i;
      continue;
    }
    size_t begin = i++;
    size_t end = i;
    while (end < lines.size() && SectionName(lines[end].text).empty()) ++end;
    int images = 0, gone = 0;
    for (size_t k = begin + 1; k < end; ++k) {
      std::string src;
      if (!ImageSource(lines[k].text, &src)) continue;
      ++images;
      if (textkit::FoldCase(ResolveDpofSource(drive, src)) == wanted) {
        keep[k] = false;
        ++gone;
      }
    }
    if (gone > 0 && gone == images)
      for (size_t k = begin; k < end; ++k) keep[k] = false;
    removed += gone;
    i = end;
  }
  if (removed == 0) return 0;
  std::string out;
  for (size_t k = 0; k < lines.size(); ++k)
    if (keep[k]) out += lines[k].text + lines[k].end;
  // Keep the file's last line end when the removed job was the last section.
  if (!out.empty() && out.back() != '\n' && !lines.empty() && !lines.back().end.empty()) out += lines.back().end;
  mrk = out;
  return removed;
}

bool ReadWholeFile(const std::string& path, std::string* out) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size = {};
  bool ok = GetFileSizeEx(f, &size) && size.QuadPart < (64 << 20);
  if (ok) {
    out->assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    ok = out->empty() || (ReadFile(f, &(*out)[0], static_cast<DWORD>(out->size()), &got, nullptr) && got == out->size());
  }
  CloseHandle(f);
  return ok;
}

}  // namespace kitlibex
