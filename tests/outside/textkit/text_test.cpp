// Double-byte text of code page 932: trail bytes that look like "\", "|" or letters,
// cuts inside a character, empty and over-long texts, and invalid sequences.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "textkit/text.h"

namespace {

// "表" = 95 5C, "ポ" = 83 7C, "ヂ" = 83 61, "ａ" = 82 81, "Ａ" = 82 60, "α" = 83 BF,
// "Α" = 83 9F, "ф" = 84 86, "Ф" = 84 55, "ｱ" = B1 (half-width: one byte).

TEST(TextWalk, TheLeadByteRuleIsTheSystemsForTheCodePage) {
  for (int b = 0; b < 256; ++b) EXPECT_EQ(textkit::IsLeadByte(BYTE(b)), !!IsDBCSLeadByteEx(932, BYTE(b))) << b;
  // The programs run with 932 as their ANSI code page: the A functions agree.
  EXPECT_EQ(GetACP(), 932u);
}

TEST(TextWalk, StepsOverWholeCharacters) {
  struct {
    const char* text;
    std::vector<int> lengths;
  } cases[] = {
      {"a表b", {1, 2, 1}},
      {"ポ|", {2, 1}},
      {"ｱヂ", {1, 2}},
      {"\x95", {1}},       // a lead byte at the end is a character of its own
      {"\x95\x00x", {1}},  // and so before a NUL
      {"", {}},
  };
  for (const auto& c : cases) {
    std::vector<int> got;
    for (const char* p = c.text; *p; p = textkit::Next(p)) got.push_back(textkit::CharLength(p));
    EXPECT_EQ(got, c.lengths) << c.text;
    std::string s = c.text;
    std::vector<int> bounded;
    textkit::ForEachChar(s, [&](size_t, size_t n) { bounded.push_back(int(n)); });
    EXPECT_EQ(bounded, c.lengths) << c.text;
  }
  // A bound inside a character ends the walk there.
  EXPECT_EQ(textkit::CharLength("表", 1), 1u);
  EXPECT_EQ(textkit::CharLength("表", 0), 0u);
}

TEST(TextWalk, CutsNeverSplitACharacter) {
  struct {
    const char* text;
    int max, bytes;
  } cases[] = {
      {"表示", 4, 4}, {"表示", 3, 2}, {"表示", 1, 0}, {"a表", 2, 1}, {"a表", 3, 3}, {"abc", 2, 2},
      {"abc", 0, 0},  {"abc", -1, 0}, {"abc", 99, 3}, {"\x95", 5, 1}, {"", 3, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(textkit::WholeCharPrefix(c.text, c.max), c.bytes) << c.text << " " << c.max;
    if (c.max >= 0) {
      EXPECT_EQ(textkit::CutToBytes(c.text, size_t(c.max)), std::string(c.text, size_t(c.bytes)));
    }
  }
  EXPECT_EQ(textkit::WholeCharPrefix(nullptr, 5), 0);
  // An over-long text is cut at the last whole character before the limit.
  std::string longText;
  for (int i = 0; i < 1000; ++i) longText += "表";
  EXPECT_EQ(textkit::CutToBytes("x" + longText, 259).size(), 259u);
  EXPECT_EQ(textkit::CutToBytes("x" + longText, 260).size(), 259u);
}

TEST(TextWalk, FindsAndSplitsAtCharactersOfTheirOwn) {
  EXPECT_EQ(textkit::Split("a|ポ|b", '|'), (std::vector<std::string>{"a", "ポ", "b"}));
  EXPECT_EQ(textkit::Split("表\\x", '\\'), (std::vector<std::string>{"表", "x"}));
  EXPECT_EQ(textkit::Split("", '|'), (std::vector<std::string>{""}));
  EXPECT_EQ(textkit::Split("||", '|'), (std::vector<std::string>{"", "", ""}));
  EXPECT_EQ(textkit::Find("ポ|", '|'), 2u);
  EXPECT_EQ(textkit::Find("a|b|", '|', 2), 3u);
  EXPECT_EQ(textkit::Find("ポ", '|'), std::string::npos);
  EXPECT_EQ(textkit::FindLast("表\\表", '\\'), 2u);
  EXPECT_FALSE(textkit::HasCharOf("C:\\ポスター.jpg", "|"));
  EXPECT_TRUE(textkit::HasCharOf("C:\\ポ|.jpg", "|"));
  EXPECT_FALSE(textkit::HasCharOf("C:\\ポスター.jpg", ""));
  EXPECT_EQ(textkit::SpanLength("表表x", "表", true), 4);
  EXPECT_EQ(textkit::SpanLength("a\\表", "\\", false), 1);  // the trail 5C of 表 is no "\"
  EXPECT_TRUE(textkit::SetHasChar("ab表", "表", 2));
  EXPECT_FALSE(textkit::SetHasChar("表", "\\", 1));  // a set's trail byte is no member
}

TEST(TextWalk, SearchesResumeWhereAWalkFromTheStartWouldBe) {
  // Runs of bytes that may lead a character, trail bytes that look like "|" and "\", a lead
  // byte at the end.
  const std::string texts[] = {"ポ|ポ||", "表\\表\\\\", "\x81\x81\x81|\x81|", "ab\x83", "\x95\x95\x95\x95|", "a|b|c",
                               ""};
  auto walked = [](const std::string& s, char c, size_t from) {
    for (size_t i = 0; i < s.size(); i += textkit::CharLength(s.data() + i, s.size() - i))
      if (i >= from && textkit::CharLength(s.data() + i, s.size() - i) == 1 && s[i] == c) return i;
    return std::string::npos;
  };
  for (const std::string& s : texts)
    for (char c : {'|', '\\'})
      for (size_t from = 0; from <= s.size() + 1; ++from)
        EXPECT_EQ(textkit::Find(s, c, from), walked(s, c, from)) << s << " " << c << " " << from;
  struct {
    const char* text;
    size_t pos, start;
  } cases[] = {
      {"表x", 0, 0},
      {"表x", 1, 0},
      {"表x", 2, 2},
      {"a表", 2, 1},
      {"ポ|", 1, 0},
      {"ポ|", 2, 2},
      {"\x81\x81\x81|", 3, 2},
      {"\x81\x81\x81\x81|", 4, 4},
      {"x\x81\x81y", 3, 3},
      {"x\x81\x81y", 2, 1},
      {"", 0, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(textkit::CharStartAt(c.text, c.pos), c.start) << c.text << " " << c.pos;
}

TEST(TextWalk, WellFormedTextOfTheCodePage) {
  // Whether a text is well formed, and what is left of it without the broken bytes.
  struct {
    std::string text;
    bool ok;
    std::string kept;
  } cases[] = {
      {"", true, ""},
      {"C:\\表\\ポ.jpg", true, "C:\\表\\ポ.jpg"},
      {"ｱｲｳ", true, "ｱｲｳ"},
      {"\x95", false, ""},            // cut inside a character
      {"ab\x83", false, "ab"},        // cut at the end
      {"\x83\x20", false, " "},      // a trail byte below 0x40
      {"\x83\x7F", false, "\x7F"},  // 0x7F is never a trail byte
      {"\x80", false, ""},            // no character starts here
      {"\xA0", false, ""},
      {"\xFD", false, ""},
      {"\xFF\x40", false, "\x40"},
      {std::string("\x83\0", 2), false, std::string("\0", 1)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(textkit::IsWellFormed(c.text), c.ok) << c.text;
    EXPECT_EQ(textkit::WellFormedOnly(c.text), c.kept) << c.text;
  }
}

TEST(TextCase, FoldsLikeTheFileSystemAndNeverTouchesTrailBytes) {
  struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"c:/photos/img_0001.jpg", "C:\\PHOTOS\\IMG_0001.JPG"},
      {"C:\\\x95\x5C\\a.jpg", "C:\\\x95\x5C\\A.JPG"},   // 表: its 5C stays, no extra separator
      {"d:\\\x83\x61\x83\x5C", "D:\\\x83\x61\x83\x5C"},  // ヂソ: trail 'a' is not upper-cased
      {"\x82\x81\x82\x60", "\x82\x60\x82\x60"},           // ａＡ -> ＡＡ (full width stays full width)
      {"\x83\xBF\x84\x86", "\x83\x9F\x84\x55"},           // αф -> ΑФ
      {"\xB1/x", "\xB1\\X"},                              // half-width katakana kept
      {"", ""},
      {"\x83", "\x83"},  // a lone lead byte at the end is kept
      {"\x83\x20", "\x83\x20"},  // no character of the code page: kept as it is
  };
  for (const auto& c : cases) EXPECT_EQ(textkit::FoldCase(c.in), c.out) << c.in;
}

// Every double-byte character of the code page folds as its UTF-16 form does.
TEST(TextCase, EveryDoubleByteCharacterFoldsAsItsWideForm) {
  int folded = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!textkit::IsLeadByte(BYTE(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      const char c[3] = {char(lead), char(trail), 0};
      std::wstring w;
      std::string expected = c;
      if (textkit::TryAnsiToWide(c, &w) && w.size() == 1 && textkit::FoldCaseWide(w) != w) {
        std::string back;
        if (textkit::TryWideToAnsi(textkit::FoldCaseWide(w), &back) && back.size() == 2) expected = back;
      }
      EXPECT_EQ(textkit::FoldCase(c), expected) << std::hex << lead << trail;
      folded += expected != c;
    }
  }
  EXPECT_GE(folded, 26 + 24 + 33);  // at least ａ-ｚ, α-ω and а-я
}

// Every character of the basic plane folds in UTF-8 as its UTF-16 form does, alone and
// between letters.
TEST(TextCase, EveryUtf8CharacterFoldsAsItsWideForm) {
  for (unsigned c = 1; c <= 0xFFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const std::wstring w = L"a" + std::wstring(1, wchar_t(c)) + L"b";
    const std::string utf8 = textkit::WideToUtf8(w);
    ASSERT_EQ(textkit::FoldCaseUtf8(utf8), textkit::WideToUtf8(textkit::FoldCaseWide(w))) << std::hex << c;
  }
  EXPECT_EQ(textkit::FoldCaseUtf8(""), "");
}

TEST(TextCase, ComparesPathsWithoutCase) {
  EXPECT_TRUE(textkit::EqualNoCase("e:/dcim/ａ表", "E:\\DCIM\\Ａ表"));
  EXPECT_FALSE(textkit::EqualNoCase("Ａ.jpg", "A.jpg"));  // full and half width are two names
  EXPECT_FALSE(textkit::EqualNoCase("ab", "abc"));
  EXPECT_EQ(textkit::CompareNoCase("a.jpg", "B.JPG"), -1);
  EXPECT_EQ(textkit::CompareNoCase("IMG", "img"), 0);
  EXPECT_EQ(textkit::CompareNoCase("c", "B"), 1);
  EXPECT_TRUE(textkit::EndsWithNoCase("x.CONT", ".cont"));
  EXPECT_FALSE(textkit::EndsWithNoCase("x.con", ".cont"));
  // "ソ" (83 5C) ends in the byte of "\": a suffix never starts on a trail byte.
  EXPECT_FALSE(textkit::EndsWithNoCase("ソ", "\\"));
  EXPECT_EQ(textkit::UpperAscii("aヂb"), "AヂB");
  EXPECT_EQ(textkit::LowerAscii("AヂB"), "aヂb");
}

TEST(TextConversion, RoundTripsAndRefusesWhatIsNotValid) {
  const std::string ansi = "C:\\写真\\ポスター表.jpg";
  const std::string utf8 = u8"C:\\写真\\ポスター表.jpg";
  const std::wstring wide = L"C:\\写真\\ポスター表.jpg";
  EXPECT_EQ(textkit::AnsiToWide(ansi), wide);
  EXPECT_EQ(textkit::WideToAnsi(wide), ansi);
  EXPECT_EQ(textkit::Utf8ToWide(utf8), wide);
  EXPECT_EQ(textkit::WideToUtf8(wide), utf8);
  EXPECT_EQ(textkit::AnsiToUtf8(ansi), utf8);
  EXPECT_EQ(textkit::Utf8ToAnsi(utf8), ansi);
  EXPECT_EQ(textkit::AnsiToWide(""), L"");

  std::wstring w;
  std::string s;
  EXPECT_TRUE(textkit::TryAnsiToWide(ansi, &w));
  EXPECT_FALSE(textkit::TryAnsiToWide("ab\x83", &w));  // cut inside a character
  EXPECT_TRUE(w.empty());
  EXPECT_TRUE(textkit::TryUtf8ToAnsi(utf8, &s));
  EXPECT_EQ(s, ansi);
  EXPECT_FALSE(textkit::TryUtf8ToAnsi("\xC3\x28", &s));     // a broken UTF-8 sequence
  EXPECT_FALSE(textkit::TryWideToAnsi(L"\u00E9t\u00E9", &s));  // é has no form in 932
  EXPECT_TRUE(s.empty());
  EXPECT_EQ(textkit::WideToAnsi(L"\u00E9").size(), 1u);      // the lenient form puts a stand-in
  EXPECT_FALSE(textkit::TryWideToUtf8(std::wstring(1, wchar_t(0xD800)), &s));  // a lone surrogate
  EXPECT_TRUE(textkit::TryAnsiToUtf8("", &s));
}

TEST(TextConversion, StrictUtf8) {
  struct {
    std::string text;
    bool ok;
  } cases[] = {
      {"", true},
      {"plain", true},
      {u8"写真", true},
      {"\xF0\x9F\x98\x80", true},  // outside the basic plane
      {"\xC0\xAF", false},         // overlong "/"
      {"\xE0\x80\xAF", false},     // overlong
      {"\xED\xA0\x80", false},     // a surrogate
      {"\xF4\x90\x80\x80", false}, // past U+10FFFF
      {"\xE5\x86", false},         // cut short
      {"\x80", false},
  };
  for (const auto& c : cases) EXPECT_EQ(textkit::IsValidUtf8(c.text), c.ok) << c.text;
  EXPECT_EQ(textkit::GuessToAnsi(u8"写真"), "写真");
  EXPECT_EQ(textkit::GuessToAnsi("写真"), "写真");  // not UTF-8: already ANSI
  EXPECT_EQ(textkit::GuessToAnsi("abc"), "abc");
}

}  // namespace
