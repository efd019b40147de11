#include "similar.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <RecordGate.h>
#include <RecordGateEx.h>

#include "VxPixWrapper.h"
#include "imaging/decode.h"
#include "imaging/phash.h"
#include "textkit/path.h"
#include "textkit/text.h"

namespace psw {

namespace {

bool Exists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// A quoted or bare value of a query term, up to the next ",".
bool TakeValue(const std::string& s, size_t* pos, std::string* out) {
  out->clear();
  size_t i = *pos;
  if (i < s.size() && s[i] == '"') {
    for (++i;;) {
      if (i >= s.size()) return false;  // the quote is never closed
      if (s[i] == '"') {
        if (i + 1 < s.size() && s[i + 1] == '"') {
          *out += '"';
          i += 2;
          continue;
        }
        ++i;
        break;
      }
      *out += s[i++];
    }
  } else {
    size_t comma = s.find(',', i);
    if (comma == std::string::npos) comma = s.size();
    *out = s.substr(i, comma - i);
    i = comma;
  }
  *pos = i;
  return true;
}

}  // namespace

HRESULT ClassifyPicture(const char* path) {
  if (!path || !*path) return E_INVALIDARG;
  DWORD attr = GetFileAttributesA(path);
  if (attr == INVALID_FILE_ATTRIBUTES) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  if (attr & FILE_ATTRIBUTE_DIRECTORY) return PSW_E_REFUSED;
  switch (imaging::DetectFileFormat(path)) {
    case imaging::ImageFormat::Jpeg:
    case imaging::ImageFormat::Png:
    case imaging::ImageFormat::Bmp:
    case imaging::ImageFormat::Gif:
    case imaging::ImageFormat::Tiff:
      return S_OK;
    default:
      return PSW_E_REFUSED;
  }
}

HRESULT HashPicture(const char* path, uint64_t* hash) {
  HRESULT hr = ClassifyPicture(path);
  if (FAILED(hr)) return hr;
  return imaging::PerceptualHashFile(path, hash);
}

bool ParseQuery(const std::string& text, SimilarQuery* out) {
  SimilarQuery q;
  q.distance = PSW_DEFAULT_DISTANCE;
  const std::string kTerm = "Similar,";
  if (text.size() < kTerm.size() || CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, text.c_str(),
                                                   static_cast<int>(kTerm.size()), kTerm.c_str(),
                                                   static_cast<int>(kTerm.size())) != CSTR_EQUAL) {
    // A bare path.
    if (text.empty()) return false;
    q.path = text;
    *out = q;
    return true;
  }
  size_t pos = kTerm.size();
  std::string value;
  if (!TakeValue(text, &pos, &value) || value.empty()) return false;
  if (value.size() == 18 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
    char* end = nullptr;
    unsigned long long h = strtoull(value.c_str() + 2, &end, 16);
    if (!end || *end) return false;
    q.hash = h;
  } else {
    q.path = value;
  }
  if (pos < text.size()) {
    if (text[pos] != ',') return false;
    size_t comma = text.find(',', pos + 1);
    std::string d = text.substr(pos + 1, comma == std::string::npos ? std::string::npos : comma - pos - 1);
    char* end = nullptr;
    long v = strtol(d.c_str(), &end, 10);
    if (d.empty() || !end || *end || v < 0 || v > 64) return false;
    q.distance = static_cast<int>(v);
    pos = comma == std::string::npos ? text.size() : comma;
  }
  // After a hash: the reference picture's path, which leads the results.
  if (pos < text.size()) {
    ++pos;
    if (!q.hash || !TakeValue(text, &pos, &q.path) || q.path.empty() || pos != text.size()) return false;
  }
  *out = q;
  return true;
}

std::string Quoted(const std::string& value) {
  std::string out = "\"";
  for (char c : value) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

std::string MakeQuery(uint64_t hash, int distance, const std::string& reference) {
  char buf[64];
  snprintf(buf, sizeof buf, "Similar,0x%016llX,%d", static_cast<unsigned long long>(hash), distance);
  return reference.empty() ? std::string(buf) : buf + ("," + Quoted(reference));
}

std::string SearchName(const char* referencePath) {
  return std::string("類似画像: ") + textkit::FileNameOf(referencePath ? referencePath : "");
}

HRESULT ReferenceHash(const std::string& path, uint64_t* hash) {
  HRESULT hr = HashPicture(path.c_str(), hash);
  if (hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) && VxDBWxGetSimilarHash(path.c_str(), hash) == S_OK) return S_OK;
  return hr;
}

HRESULT FindSimilar(uint64_t hash, int distance, const std::string& reference, std::vector<Match>* out) {
  out->clear();
  STRINGLIST* found = nullptr;
  HRESULT hr = VxDBWxFindSimilar(hash, distance, PSW_MAX_RESULTS, &found);
  if (hr == VXDB_E_NOTFOUND) return S_FALSE;
  if (FAILED(hr)) return hr;
  for (STRINGLIST* s = found; s; s = s->pNext) {
    if (!s->pszText) continue;
    if (!Exists(s->pszText)) {
      VxDBWUnRegistSimilar(s->pszText);
      continue;
    }
    out->push_back({s->pszText, static_cast<int>(s->nData)});
  }
  FreeStringList(found);
  auto ref =
      std::find_if(out->begin(), out->end(), [&](const Match& m) { return textkit::EqualNoCase(m.path, reference); });
  if (ref != out->end()) std::rotate(out->begin(), ref, ref + 1);
  return out->empty() ? S_FALSE : S_OK;
}

HRESULT RegisterPicture(const char* path) {
  uint64_t hash = 0;
  HRESULT hr = HashPicture(path, &hash);
  if (FAILED(hr)) return hr;
  hr = VxDBWEnrollFile(path, 0);
  if (FAILED(hr)) return hr;
  uint64_t old = 0;
  bool known = VxDBWxGetSimilarHash(path, &old) == S_OK;
  hr = VxDBWxSetSimilarHash(path, hash);
  if (FAILED(hr)) return hr;
  return known ? S_FALSE : S_OK;
}

std::vector<FolderCount> GroupByFolder(const std::vector<std::string>& paths) {
  std::vector<FolderCount> out;
  for (const std::string& p : paths) {
    std::string folder = textkit::FolderPartOf(p);
    auto it = std::find_if(out.begin(), out.end(),
                           [&](const FolderCount& f) { return textkit::EqualNoCase(f.folder, folder); });
    if (it == out.end())
      out.push_back({folder, 1});
    else
      ++it->count;
  }
  std::sort(out.begin(), out.end(), [](const FolderCount& a, const FolderCount& b) {
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.folder.c_str(), -1, b.folder.c_str(), -1) ==
           CSTR_LESS_THAN;
  });
  return out;
}

std::vector<std::string> RegisteredPictures() {
  std::vector<std::string> paths;
  STRINGLIST* all = nullptr;
  // Every hash lies within 64 bits of any other.
  if (SUCCEEDED(VxDBWxFindSimilar(0, 64, 0x7FFFFFFF, &all)))
    for (STRINGLIST* s = all; s; s = s->pNext)
      if (s->pszText) paths.push_back(s->pszText);
  FreeStringList(all);
  return paths;
}

int UnregisterFolder(const std::string& folder) {
  int n = 0;
  VxDBWBeginBatch();
  for (const std::string& p : RegisteredPictures())
    if (textkit::EqualNoCase(textkit::FolderPartOf(p), folder) && SUCCEEDED(VxDBWUnRegistSimilar(p.c_str()))) ++n;
  VxDBWEndBatch();
  return n;
}

}  // namespace psw
