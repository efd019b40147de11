// Texts at the boundary: ANSI in, UTF-8 stored, keys folded the way Windows compares paths.
#include <algorithm>
#include <cstring>

#include "engine.h"
#include "textkit/text.h"

namespace vxdb {

bool AnsiToWide(const char* s, std::wstring& out) {
  out.clear();
  return s && textkit::TryAnsiToWide(s, &out);
}

bool AnsiToUtf8(const char* s, std::string& out) {
  // Most values are plain ASCII, the same in both code pages.
  if (s && textkit::IsAscii(s)) {
    out = s;
    return true;
  }
  return s && textkit::TryAnsiToUtf8(s, &out);
}

std::string Utf8ToAnsi(const std::string& s) { return textkit::IsAscii(s) ? s : textkit::Utf8ToAnsi(s); }

std::string FoldUtf8(const std::string& s) { return textkit::FoldCaseUtf8(s); }

namespace {

HRESULT WidePath(const char* ansi, std::wstring& w) {
  if (!ansi || !*ansi) return E_INVALIDARG;
  if (!AnsiToWide(ansi, w)) return E_INVALIDARG;
  if (w.size() >= MAX_PATH) return E_INVALIDARG;
  for (auto& c : w)
    if (c == L'/') c = L'\\';
  return S_OK;
}

}  // namespace

HRESULT ParseWidePath(std::wstring w, PathParts& out) {
  if (w.empty() || w.size() >= MAX_PATH) return E_INVALIDARG;
  for (auto& c : w)
    if (c == L'/') c = L'\\';
  size_t slash = w.rfind(L'\\');
  std::wstring name = slash == std::wstring::npos ? w : w.substr(slash + 1);
  if (name.empty()) return E_INVALIDARG;  // a folder, not a file
  std::wstring folder = slash == std::wstring::npos ? std::wstring() : w.substr(0, slash + 1);
  std::wstring key = textkit::FoldCaseWide(w);
  out.path = WideToUtf8(w);
  out.key = WideToUtf8(key);
  out.folder = WideToUtf8(folder);
  out.folderKey = WideToUtf8(key.substr(0, folder.size()));
  out.name = WideToUtf8(name);
  return S_OK;
}

HRESULT RebasePath(const std::string& path, const std::string& oldFolder, const std::string& newFolder, PathParts& out) {
  std::wstring w = Utf8ToWide(path);
  size_t keep = std::min(Utf8ToWide(oldFolder).size(), w.size());
  return ParseWidePath(Utf8ToWide(newFolder) + w.substr(keep), out);
}

HRESULT ParsePath(const char* ansi, PathParts& out) {
  // A plain ASCII path is the same text in every code page: taken apart as it is.
  std::string a = ansi ? ansi : "";
  if (!a.empty() && textkit::IsAscii(a)) {
    if (a.size() >= MAX_PATH) return E_INVALIDARG;
    for (char& c : a)
      if (c == '/') c = '\\';
    const size_t slash = a.rfind('\\');
    const size_t start = slash == std::string::npos ? 0 : slash + 1;
    if (start == a.size()) return E_INVALIDARG;  // a folder, not a file
    out.key = a;
    for (char& c : out.key)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    out.folder = a.substr(0, start);
    out.folderKey = out.key.substr(0, start);
    out.name = a.substr(start);
    out.path = std::move(a);
    return S_OK;
  }
  std::wstring w;
  HRESULT hr = WidePath(ansi, w);
  return FAILED(hr) ? hr : ParseWidePath(w, out);
}

HRESULT ParseFolder(const char* ansi, std::string& folderUtf8, std::string& folderKey) {
  std::wstring w;
  HRESULT hr = WidePath(ansi, w);
  if (FAILED(hr)) return hr;
  while (!w.empty() && w.back() == L'\\') w.pop_back();
  if (w.empty()) return E_INVALIDARG;  // "\" alone would name every UNC path
  w += L'\\';
  if (w.size() >= MAX_PATH) return E_INVALIDARG;
  folderUtf8 = WideToUtf8(w);
  folderKey = WideToUtf8(textkit::FoldCaseWide(w));
  return S_OK;
}

std::string KeyRangeEnd(const std::string& folderKey) {
  // Keys under the folder start with "...\"; the next byte after '\' is ']'.
  std::string end = folderKey;
  if (!end.empty()) end.back() = static_cast<char>(end.back() + 1);
  return end;
}

HRESULT ParseText(const char* ansi, std::string& out, bool allowEmpty) {
  if (!ansi) return E_INVALIDARG;
  if (!*ansi && !allowEmpty) return E_INVALIDARG;
  if (!AnsiToUtf8(ansi, out)) return E_INVALIDARG;
  return S_OK;
}

std::vector<std::string> SplitPieces(const std::string& s, char sep) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= s.size()) {
    size_t end = s.find(sep, start);
    if (end == std::string::npos) end = s.size();
    if (end > start) out.push_back(s.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

int Hamming(uint64_t a, uint64_t b) { return __builtin_popcountll(a ^ b); }

}  // namespace vxdb
