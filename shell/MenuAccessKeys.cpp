#include "MenuAccessKeys.h"

#include <textkit/text.h>

#include <algorithm>
#include <string>

namespace {

const WCHAR kFirstKey = L'!';  // the keys form a 64-character table from "!"
const WCHAR kLastKey = L'`';
const size_t kMaxChars = 64;  // a key is looked for among the first characters only

WCHAR Upper(WCHAR ch) { return (WCHAR)(UINT_PTR)::CharUpperW(reinterpret_cast<LPWSTR>((UINT_PTR)ch)); }

BOOL IsKeyChar(WCHAR ch) { return ch >= kFirstKey && ch <= kLastKey; }

struct KeySet {
  ULONGLONG bits = 0;
  BOOL Has(WCHAR ch) const { return IsKeyChar(ch) && (bits >> (ch - kFirstKey)) & 1; }
  void Add(WCHAR ch) {
    if (IsKeyChar(ch)) bits |= 1ull << (ch - kFirstKey);
  }
};

// The length of the text without a trailing "...".
size_t BodyLength(const std::wstring& w) {
  return w.size() >= 3 && w.compare(w.size() - 3, 3, L"...") == 0 ? w.size() - 3 : w.size();
}

// The first free key of the kind's ranges, or 0 when they are used up.
WCHAR FreeKeyOfKind(const KeySet& used, int nKind) {
  struct Range {
    WCHAR first, last;
  };
  const Range kDigits = {L'0', L'8'}, kLetters = {L'A', L'Y'}, kSymbols = {L'!', L'('};
  Range ranges[3];
  int nRanges = 0;
  switch (nKind) {
    case ACCESSKEYS_DIGITS: ranges[nRanges++] = kDigits; break;
    case ACCESSKEYS_LETTERS: ranges[nRanges++] = kLetters; break;
    case ACCESSKEYS_DIGITS_LETTERS:
      ranges[nRanges++] = kDigits;
      ranges[nRanges++] = kLetters;
      break;
    case ACCESSKEYS_LETTERS_DIGITS:
      ranges[nRanges++] = kLetters;
      ranges[nRanges++] = kDigits;
      break;
    default: break;
  }
  ranges[nRanges++] = kSymbols;
  for (int r = 0; r < nRanges; ++r)
    for (WCHAR ch = ranges[r].first; ch <= ranges[r].last; ++ch)
      if (!used.Has(ch)) return ch;
  return 0;
}

}  // namespace

WCHAR MenuAccessChar(LPCWSTR lpszText) {
  for (LPCWSTR p = lpszText; p && *p; ++p) {
    if (*p != L'&') continue;
    if (p[1] == L'&') {  // "&&" is an ampersand
      ++p;
      continue;
    }
    return p[1] ? Upper(p[1]) : 0;
  }
  return 0;
}

void AssignAccessKeys(std::vector<CString>& texts, int nKind) {
  KeySet used;
  std::vector<std::wstring> wide;
  for (const CString& s : texts) {
    // The whole text: a key is added to it, never to a shortened copy.
    std::wstring w = textkit::AnsiToWide((LPCSTR)s);
    wide.push_back(w);
    used.Add(MenuAccessChar(w.c_str()));
  }
  std::vector<bool> done(texts.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    done[i] = MenuAccessChar(wide[i].c_str()) != 0;
    if (done[i] || wide[i].empty()) continue;
    size_t nBody = std::min(BodyLength(wide[i]), kMaxChars);
    for (size_t k = 0; k < nBody; ++k) {
      WCHAR ch = Upper(wide[i][k]);
      if (!IsKeyChar(ch) || used.Has(ch)) continue;
      wide[i].insert(k, 1, L'&');
      used.Add(ch);
      done[i] = true;
      texts[i] = textkit::WideToAnsi(wide[i]).c_str();
      break;
    }
  }
  for (size_t i = 0; i < wide.size(); ++i) {
    if (done[i] || wide[i].empty()) continue;
    WCHAR ch = FreeKeyOfKind(used, nKind);
    if (!ch) break;
    used.Add(ch);
    std::wstring suffix = std::wstring(L"(&") + ch + L")";
    wide[i].insert(BodyLength(wide[i]), suffix);
    texts[i] = textkit::WideToAnsi(wide[i]).c_str();
  }
}
