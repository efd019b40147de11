// CString: double-byte safety on Shift-JIS text whose trail bytes look like ASCII
// ("表" is 0x95 0x5C, the second byte being '\'), clamping, formatting, resources.
#include <gtest/gtest.h>
#include <fw/fw.h>

#include <cputime.h>

#include <climits>
#include <string>
#include <thread>
#include <vector>

namespace {

// Literals are compiled to Shift-JIS; these spell out the bytes the cases rely on.
const char kHyo[] = "表";  // 95 5C
const char kA[] = "ア";    // 83 41: trail byte 'A'
const char kDi[] = "ヂ";   // 83 61: trail byte 'a'

TEST(CStringLayout, IsOnePointer) {
  EXPECT_EQ(sizeof(CString), sizeof(void*));
  ASSERT_EQ(std::string(kHyo), std::string("\x95\x5C"));
  ASSERT_EQ(std::string(kA), std::string("\x83\x41"));
  ASSERT_EQ(std::string(kDi), std::string("\x83\x61"));
}

struct FindCase {
  const char* text;
  const char* what;  // one character for the char forms
  int find, reverseFind, findOneOf;
};

TEST(CStringDbcs, SearchesNeverMatchATrailByte) {
  const FindCase cases[] = {
      {"表示", "\\", -1, -1, -1},
      {"表示\\x", "\\", 4, 4, 4},
      {"C:\\表\\写真表", "\\", 2, 5, 2},
      {"ソ能予", "\\", -1, -1, -1},
      {"ア", "A", -1, -1, -1},
      {"アA", "A", 2, 2, 2},
      {"abcabc", "b", 1, 4, 1},
      {"", "a", -1, -1, -1},
  };
  for (const auto& c : cases) {
    CString s(c.text);
    EXPECT_EQ(s.Find(c.what[0]), c.find) << c.text;
    EXPECT_EQ(s.ReverseFind(c.what[0]), c.reverseFind) << c.text;
    EXPECT_EQ(s.FindOneOf(c.what), c.findOneOf) << c.text;
  }
}

TEST(CStringDbcs, SubstringSearchStartsOnlyAtCharacterBoundaries) {
  CString s("表a\\a");  // 95 5C 61 5C 61: "\a" also sits inside "表a"
  EXPECT_EQ(s.Find("\\a"), 3);
  EXPECT_EQ(s.Find("表"), 0);
  EXPECT_EQ(s.Find("a", 3), 4);
  EXPECT_EQ(s.Find('a', 3), 4);
  EXPECT_EQ(s.Find("a", 99), -1);
  EXPECT_EQ(s.Find("", 2), 2);
  EXPECT_EQ(s.Find('\\', 1), 3) << "a start inside a character";
  EXPECT_EQ(s.Find("\\a", 1), 3);
  EXPECT_EQ(CString("写真/表示").FindOneOf("/表"), 4);
  EXPECT_EQ(CString("写真表示").FindOneOf("示"), 6) << "double-byte members of the set";
}

// Lists split by searching on from the last separator (the deletion progress, the tool
// relay): each search starts where it is asked to, not at the start of the text.
TEST(CStringDbcs, SearchesFromAnOffsetCostNoWalkFromTheStart) {
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "ポ|";
  const CString bars(text.c_str());
  int found = 0;
  double ms = testsupport::CpuMillisOf([&] {
    for (int at = bars.Find('|'); at >= 0; at = bars.Find('|', at + 1)) ++found;
  });
  EXPECT_EQ(found, 100000);
  EXPECT_LT(ms, 100.0);
}

struct EditCase {
  const char* name;
  const char* before;
  void (*edit)(CString&);
  const char* after;
};

TEST(CStringDbcs, EditsKeepDoubleByteCharactersWhole) {
  const EditCase cases[] = {
      {"TrimRight char", "表", [](CString& s) { s.TrimRight('\\'); }, "表"},
      {"TrimRight char real", "フォルダ\\\\", [](CString& s) { s.TrimRight('\\'); }, "フォルダ"},
      {"TrimRight set", "ソ \\ \\", [](CString& s) { s.TrimRight("\\ "); }, "ソ"},
      {"TrimRight set keeps trail", "ソ能", [](CString& s) { s.TrimRight("\\"); }, "ソ能"},
      {"TrimRight double-byte set", "写真　　", [](CString& s) { s.TrimRight("　"); }, "写真"},
      {"TrimLeft set", "\\\\表", [](CString& s) { s.TrimLeft("\\"); }, "表"},
      {"TrimLeft char", "  x ", [](CString& s) { s.TrimLeft(' '); }, "x "},
      {"Trim whitespace", " \t\r\n表 \n", [](CString& s) { s.Trim(); }, "表"},
      {"TrimRight whitespace", "表示 \t", [](CString& s) { s.TrimRight(); }, "表示"},
      {"Replace char", "表\\示\\", [](CString& s) { s.Replace('\\', '/'); }, "表/示/"},
      {"Replace string", "表\\示", [](CString& s) { s.Replace("\\", "＼＼"); }, "表＼＼示"},
      {"Replace longer", "a.b.c", [](CString& s) { s.Replace(".", "--"); }, "a--b--c"},
      {"Replace shorter", "xxaxx", [](CString& s) { s.Replace("xx", "y"); }, "yay"},
      {"Replace double-byte", "写真と写真", [](CString& s) { s.Replace("写真", "絵"); }, "絵と絵"},
      {"Remove", "能\\予\\", [](CString& s) { s.Remove('\\'); }, "能予"},
      {"MakeUpper", "aビbアc", [](CString& s) { s.MakeUpper(); }, "AビBアC"},
      {"MakeLower", "AアBヂ", [](CString& s) { s.MakeLower(); }, "aアbヂ"},
      {"MakeReverse", "表示ab", [](CString& s) { s.MakeReverse(); }, "ba示表"},
      {"SpanExcluding", "表示\\b", [](CString& s) { s = s.SpanExcluding("\\"); }, "表示"},
      {"SpanIncluding", "123表", [](CString& s) { s = s.SpanIncluding("0123456789"); }, "123"},
      {"Insert", "表示", [](CString& s) { s.Insert(2, "\\"); }, "表\\示"},
      {"Insert clamps", "ab", [](CString& s) { s.Insert(99, 'c'); s.Insert(-5, 'z'); }, "zabc"},
      {"Delete clamps", "abcdef", [](CString& s) { s.Delete(4, 100); s.Delete(-1, 1); }, "bcd"},
  };
  for (const auto& c : cases) {
    CString s(c.before);
    c.edit(s);
    EXPECT_STREQ((LPCSTR)s, c.after) << c.name;
    EXPECT_EQ(s.GetLength(), (int)strlen(c.after)) << c.name;
  }
}

TEST(CStringDbcs, ReplaceAndRemoveCountWhatChanged) {
  CString s("表\\示\\");
  EXPECT_EQ(s.Replace('\\', '/'), 2);
  EXPECT_EQ(s.Replace("/", ""), 2);
  EXPECT_STREQ(s, "表示");
  EXPECT_EQ(s.Replace("", "x"), 0);
  EXPECT_EQ(s.Remove('\\'), 0);
  CString t("a,b,,c");
  EXPECT_EQ(t.Remove(','), 3);
  EXPECT_STREQ(t, "abc");
}

struct ClampCase {
  CString (*take)(const CString&);
  const char* expect;
};

TEST(CStringExtraction, ClampsNegativeAndOversizeCounts) {
  const ClampCase cases[] = {
      {[](const CString& s) { return s.Mid(-1, 2); }, "ab"},
      {[](const CString& s) { return s.Mid(2, -1); }, ""},
      {[](const CString& s) { return s.Mid(2); }, "cdef"},
      {[](const CString& s) { return s.Mid(10); }, ""},
      {[](const CString& s) { return s.Mid(6, 1); }, ""},
      {[](const CString& s) { return s.Mid(1, INT_MAX); }, "bcdef"},
      {[](const CString& s) { return s.Mid(INT_MAX, INT_MAX); }, ""},
      {[](const CString& s) { return s.Left(-3); }, ""},
      {[](const CString& s) { return s.Left(3); }, "abc"},
      {[](const CString& s) { return s.Left(100); }, "abcdef"},
      {[](const CString& s) { return s.Right(-1); }, ""},
      {[](const CString& s) { return s.Right(2); }, "ef"},
      {[](const CString& s) { return s.Right(100); }, "abcdef"},
  };
  const CString s("abcdef");
  for (size_t i = 0; i < _countof(cases); ++i) EXPECT_STREQ(cases[i].take(s), cases[i].expect) << i;
  EXPECT_EQ(s.GetAt(-1), '\0');
  EXPECT_EQ(s[6], '\0');
  EXPECT_EQ(s[1], 'b');
}

struct CompareCase {
  const char* a;
  const char* b;
  int compare, noCase;
};

TEST(CStringCompare, ByteOrderAndCaseFoldingOfSingleByteLettersOnly) {
  const CompareCase cases[] = {
      {"abc", "abc", 0, 0},     {"abc", "ABC", 1, 0},   {"abc", "abd", -1, -1},
      {"ab", "abc", -1, -1},    {"", "", 0, 0},         {"表", "表", 0, 0},
      {"ア", "ヂ", -1, -1},     // trail bytes 'A' and 'a' are not letters
      {"xア", "Xア", 1, 0},     {"z", "表", -1, -1},   // byte order: 0x7A < 0x95
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CString(c.a).Compare(c.b), c.compare) << c.a << " " << c.b;
    EXPECT_EQ(CString(c.a).CompareNoCase(c.b), c.noCase) << c.a << " " << c.b;
  }
  EXPECT_EQ(CString("abc").Collate("abc"), 0);
  EXPECT_LT(CString("abc").Collate("abd"), 0);
  EXPECT_EQ(CString("ABC").CollateNoCase("abc"), 0);
  EXPECT_NE(CString("ABC").Collate("abc"), 0);
  CString s("b");
  EXPECT_TRUE(s == "b" && "b" == s && s == CString("b"));
  EXPECT_TRUE(s != "c" && s < "c" && "a" < s && s > "a" && s <= "b" && s >= "b");
  EXPECT_FALSE(CString("a\0b", 3) == CString("a"));
}

struct FormatCase {
  const char* expect;
  CString (*make)();
};

template <class... A>
CString Fmt(LPCSTR format, const A&... args) {
  CString s;
  s.Format(format, args...);
  return s;
}

TEST(CStringFormat, PrintfForms) {
  const FormatCase cases[] = {
      {"-5", [] { return Fmt("%d", -5); }},
      {"4294967295", [] { return Fmt("%u", 0xFFFFFFFFu); }},
      {"ff FF 000000FF", [] { return Fmt("%x %X %08X", 255, 255, 255); }},
      {"写真", [] { return Fmt("%s", "写真"); }},
      {"x", [] { return Fmt("%c", 'x'); }},
      {"-7 7", [] { return Fmt("%ld %lu", -7L, 7UL); }},
      {"-1234567890123", [] { return Fmt("%I64d", -1234567890123LL); }},
      {"1.500000 2.5", [] { return Fmt("%f %.1f", 1.5, 2.46); }},
      {"07 100%", [] { return Fmt("%02d %d%%", 7, 100); }},
      {"2024/05/03", [] { return Fmt("%04d/%02d/%02d", 2024, 5, 3); }},
      {"1|Explorer|0|C:\\表\\||", [] { return Fmt("%1d|Explorer|%1d|%s||", 1, 0, "C:\\表\\"); }},
      {"MakerCode007 Maker00AF", [] { return Fmt("MakerCode%03u Maker%04X", 7u, 0xAF); }},
      {"tmp00042.jpg  7-", [] { return Fmt("tmp%05d.jpg %2d-", 42, 7); }},
      {"-w0012ABCD", [] { return Fmt("-w%08X", 0x12ABCD); }},
      {"3,12", [] { return Fmt("%ld,%ld", 3L, 12L); }},
      {"", [] { return Fmt(""); }},
  };
  for (const auto& c : cases) EXPECT_STREQ(c.make(), c.expect);
}

TEST(CStringFormat, CStringArgumentsPassAsTheirCharacters) {
  CString folder("C:\\写真"), name("表示.jpg");
  CString s;
  s.Format("%s\\%s", folder, name);
  EXPECT_STREQ(s, "C:\\写真\\表示.jpg");
  s.Format("%s|%d||", name, 5);
  EXPECT_STREQ(s, "表示.jpg|5||");
  // The string itself as an argument: formatted into a new buffer first.
  s.Format("[%s]", s);
  EXPECT_STREQ(s, "[表示.jpg|5||]");
  s.AppendFormat("%s%d", folder, 1);
  EXPECT_STREQ(s, "[表示.jpg|5||]C:\\写真1");
  s.FormatMessage("%1 = %2!d!", folder, 12);
  EXPECT_STREQ(s, "C:\\写真 = 12");
  // A long result is not cut anywhere.
  CString longText('x', 5000);
  s.Format("<%s>", longText);
  EXPECT_EQ(s.GetLength(), 5002);
}

TEST(CStringResources, LoadStringFromTheCurrentResourceHandle) {
  CString s;
  EXPECT_TRUE(s.LoadString(200));
  EXPECT_STREQ(s, "写真を表示");
  EXPECT_FALSE(s.LoadString(999));
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_STREQ(CString(MAKEINTRESOURCE(200)), "写真を表示");
  s.Format(201, 3, CString("表"));
  EXPECT_STREQ(s, "3 枚のうち 表");
  s.FormatMessage(203, "表", 4);
  EXPECT_STREQ(s, "表 は 4 件");
  AfxFormatString2(s, 202, "A", "B");
  EXPECT_STREQ(s, "A から B へ");
  char buf[8];
  int n = AfxLoadString(200, buf, sizeof buf);
  EXPECT_TRUE(n > 0 && n < 8 && strncmp(buf, "写真を表示", n) == 0) << "cut to the buffer";
  EXPECT_EQ(AfxLoadString(999, buf, sizeof buf), 0);
}

TEST(CStringBuffer, GetBufferAndReleaseBuffer) {
  CString s("abc");
  LPSTR p = s.GetBuffer(10);
  strcpy(p, "表示xyz");
  s.ReleaseBuffer();
  EXPECT_STREQ(s, "表示xyz");
  EXPECT_EQ(s.GetLength(), 7);
  p = s.GetBuffer(0);
  EXPECT_STREQ(p, "表示xyz") << "contents kept";
  s.ReleaseBuffer(4);
  EXPECT_STREQ(s, "表示");
  s.ReleaseBuffer(1000);
  EXPECT_LE(s.GetLength(), 10) << "never past the buffer";
  CString t;
  memcpy(t.GetBufferSetLength(3), "xyz", 3);
  EXPECT_STREQ(t, "xyz");
  t.FreeExtra();
  EXPECT_STREQ(t, "xyz");
  CString e;
  e.GetBuffer(5)[0] = '\0';
  e.ReleaseBuffer();
  EXPECT_TRUE(e.IsEmpty());
  e.ReleaseBuffer();  // on the shared empty string: nothing happens
  EXPECT_TRUE(CString().IsEmpty());
}

TEST(CStringMisc, ConversionsConcatenationAndTokens) {
  CString w(L"写真");
  EXPECT_STREQ(w, "写真");
  BSTR b = w.AllocSysString();
  EXPECT_EQ(std::wstring(b), std::wstring(L"写真"));
  SysFreeString(b);
  CString s = CString("a") + "b" + 'c' + CString("表");
  s += s;
  EXPECT_STREQ(s, "abc表abc表");
  s += (LPCSTR)s + 3;  // a tail of itself
  EXPECT_STREQ(s, "abc表abc表表abc表");
  EXPECT_STREQ(CString('-', 3), "---");
  EXPECT_STREQ(CString("abcdef", 3), "abc");
  CString list("a|表||b");
  int pos = 0;
  std::vector<std::string> tokens;
  for (CString t = list.Tokenize("|", pos); pos >= 0; t = list.Tokenize("|", pos)) tokens.push_back((LPCSTR)t);
  EXPECT_EQ(tokens, (std::vector<std::string>{"a", "表", "b"}));
  CString field;
  EXPECT_TRUE(AfxExtractSubString(field, "x\\表\\y", 1, '\\'));
  EXPECT_STREQ(field, "表") << "the trail byte of 表 is not a separator";
  EXPECT_FALSE(AfxExtractSubString(field, "x\\y", 2, '\\'));
}

TEST(CStringThreads, TwoThreadsOnTwoStringsNeverInterfere) {
  auto work = [](char c, CString* out) {
    CString s;
    for (int i = 0; i < 2000; ++i) {
      s += c;
      CString copy = s;
      copy.Format("%s%c", copy, c);
      if (copy.GetLength() != s.GetLength() + 1) return;
    }
    *out = s;
  };
  CString a, b;
  std::thread t1(work, 'a', &a), t2(work, 'b', &b);
  t1.join();
  t2.join();
  EXPECT_EQ(a, CString('a', 2000));
  EXPECT_EQ(b, CString('b', 2000));
}

}  // namespace
