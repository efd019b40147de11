// Japanese text: the ANSI code page, literals and windres string tables all in 932.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::string To932(const wchar_t* w) {
  char buf[256] = {};
  WideCharToMultiByte(932, 0, w, -1, buf, sizeof(buf), nullptr, nullptr);
  return buf;
}

TEST(Japanese, AnsiCodePageIs932) { EXPECT_EQ(GetACP(), 932u); }

TEST(Japanese, SourceLiteralsAreShiftJis) {
  EXPECT_EQ(std::string("フォルダを選択してください"), To932(L"フォルダを選択してください"));
}

TEST(Japanese, ResourceOnlyDllStringsLoadAs932) {
  HMODULE h = LoadLibraryExA("smoke_res.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_TRUE(h != nullptr) << GetLastError();
  char buf[256] = {};
  ASSERT_GT(LoadStringA(h, 100, buf, sizeof(buf)), 0);
  EXPECT_EQ(std::string(buf), To932(L"フォルダを選択してください"));
  ASSERT_GT(LoadStringA(h, 101, buf, sizeof(buf)), 0);
  EXPECT_STREQ(buf, "There is no VxResource.dll.");
  FreeLibrary(h);
}

}  // namespace
