#include "fileinfo_core.h"

#include <cstdlib>
#include <cstring>

#include "mbcs.h"

namespace kitlib {

namespace {

// Length up to the first NUL within the given size.
size_t BoundedLength(const char* text, size_t length) {
  if (!text) return 0;
  const void* nul = memchr(text, 0, length);
  return nul ? static_cast<size_t>(static_cast<const char*>(nul) - text) : length;
}

int NumberOf(const std::string& s) {
  // Group and state fields may carry decoration (",2"): take the first digits.
  size_t i = s.find_first_of("-0123456789");
  return i == std::string::npos ? 0 : atoi(s.c_str() + i);
}

}  // namespace

std::vector<std::string> SplitFields(const char* text, size_t length) {
  std::vector<std::string> fields;
  size_t n = BoundedLength(text, length);
  std::string cur;
  for (size_t i = 0; i < n; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(c) && i + 1 < n) {
      cur += text[i];
      cur += text[++i];
      continue;
    }
    if (c == '|') {
      fields.push_back(cur);
      cur.clear();
    } else {
      cur += static_cast<char>(c);
    }
  }
  fields.push_back(cur);
  return fields;
}

FileListText ParseFileListText(const char* text, size_t length) {
  FileListText out;
  std::vector<std::string> f = SplitFields(text, length);
  if (f.size() < 3) return out;
  out.sourceNumber = f[0];
  out.sourceName = f[1];
  out.folderType = f[2];
  std::vector<std::string> rec;
  auto flush = [&] {
    if (!rec.empty() && !rec[0].empty()) {
      FileRecord r;
      r.path = rec[0];
      if (rec.size() > 1) r.flags = NumberOf(rec[1]);
      if (rec.size() > 2) r.extra = NumberOf(rec[2]);
      out.records.push_back(r);
    }
    rec.clear();
  };
  for (size_t i = 3; i < f.size(); ++i) {
    if (f[i].empty()) {
      flush();  // an empty field ends a record
    } else {
      rec.push_back(f[i]);
    }
  }
  flush();
  return out;
}

bool ParseProgramRequest(const char* text, size_t length, ProgramRequest* out) {
  size_t n = BoundedLength(text, length);
  size_t start = 0;
  std::string parts[3];
  for (int k = 0; k < 3; ++k) {
    size_t i = start;
    while (i < n && text[i] != '|') i += (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < n) ? 2 : 1;
    if (i >= n) return false;  // fewer than four fields
    parts[k].assign(text + start, i - start);
    start = i + 1;
  }
  out->status = parts[0];
  out->program = parts[1];
  out->number = atoi(parts[2].c_str());
  out->data.assign(text + start, n - start);
  return true;
}

}  // namespace kitlib
