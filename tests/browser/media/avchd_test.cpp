// The AVCHD play control over a scene player that writes down what it is asked
// (scene_recorder.dll): its trace lines, the play range by "Continue", the quality entries by
// the user's decode mode or the preview-quality table, and exact seeks.
#include <gtest/gtest.h>

// The content object's ids, defined here: the play control's source is built into the test.
#include <initguid.h>

#include <ClipFacts.h>

#include <Kitlib2/Profile.h>
#include <debugout.h>
#include <profileroot.h>
#include <program.h>

#include <string>
#include <vector>

#include "AVCHDPlayCtrl.h"
#include "MovieCtrlRules.h"
#include "PreviewQualityRules.h"

using testsupport::Fixture;

namespace {

typedef void(WINAPI* ResetFn)(const char*, LONGLONG, LONGLONG);
typedef void(WINAPI* LogFn)(char*, int);

const LONGLONG kDuration = 100000000;  // the recorder's scene: 10 s

// The recorder, held by the test as well, so that what it wrote outlives the play control's
// hold on it.
struct RecorderDll {
  HMODULE module = NULL;
  ResetFn reset = NULL;
  LogFn log = NULL;
  RecorderDll() {
    module = LoadLibraryA(Path().c_str());
    if (!module) return;
    reset = (ResetFn)GetProcAddress(module, "RecorderReset");
    log = (LogFn)GetProcAddress(module, "RecorderLog");
  }
  ~RecorderDll() {
    if (module) FreeLibrary(module);
  }
  static std::string Path() { return testsupport::ProgramFolder() + "\\scene_recorder.dll"; }
  void Reset(const char* failing, LONGLONG position = 0) { reset(failing, position, kDuration); }
  // The calls made since the reset, one a line.
  std::vector<std::string> Calls() const {
    std::vector<char> buf(65536);
    log(buf.data(), int(buf.size()));
    std::vector<std::string> out;
    std::string all = buf.data();
    for (size_t at = 0, nl; (nl = all.find('\n', at)) != std::string::npos; at = nl + 1)
      out.push_back(all.substr(at, nl - at));
    return out;
  }
  // The arguments of the first call of that name ("" when it was not made).
  std::string Args(const char* name) const {
    for (const std::string& c : Calls())
      if (c.compare(0, strlen(name), name) == 0 && (c.size() == strlen(name) || c[strlen(name)] == ' '))
        return c.size() > strlen(name) ? c.substr(strlen(name) + 1) : std::string("(none)");
    return "";
  }
};

// The play control's own trace lines, with their steps.
std::vector<std::string> TraceSteps(testsupport::DebugOutputCatcher& out) {
  std::vector<std::string> steps;
  const std::string head = "------------------------------------->>>CAVCHDPlayCtrl(";
  for (std::string line : out.Take()) {
    if (line.compare(0, head.size(), head) != 0) continue;
    if (!line.empty() && line.back() == '\n') line.pop_back();
    steps.push_back(line.substr(head.size()));
  }
  return steps;
}

class AvchdTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(recorder_.module && recorder_.reset && recorder_.log) << RecorderDll::Path();
    ASSERT_TRUE(owner_.CreateEx(0, AfxRegisterWndClass(0), "scene", WS_POPUP, CRect(0, 0, 320, 180), NULL, 0));
  }
  void TearDown() override { owner_.DestroyWindow(); }
  // A control over the recorder with the scene open (through the real content object).
  HRESULT Open(CAVCHDPlayCtrl& ctrl, const char* failing, LONGLONG position = 0) {
    recorder_.Reset(failing, position);
    HRESULT hr = ctrl.Initialize();
    if (FAILED(hr)) return hr;
    ctrl.SetOwner(&owner_, CRect(0, 0, 320, 180), TRUE);
    return ctrl.SetContFileName(Fixture("colours.mts").c_str());
  }
  testsupport::ScopedProfileRoot profile_{"avchd"};
  RecorderDll recorder_;
  CWnd owner_;
};

}  // namespace

// Every step that fails writes its line and answers as the control promises.
TEST_F(AvchdTest, TraceLinesOfTheFailingSteps) {
  testsupport::DebugOutputCatcher out;
  {
    CAVCHDPlayCtrl none((testsupport::ProgramFolder() + "\\no-such-player.dll").c_str());
    EXPECT_EQ(E_POINTER, none.SetContFileName("x.mts"));
    EXPECT_EQ(E_FAIL, none.Play());
    EXPECT_EQ(E_FAIL, none.Pause());
    EXPECT_EQ(E_FAIL, none.Stop());
    EXPECT_EQ(E_FAIL, none.SetCurrentPosition(1.0));
    EXPECT_EQ(kWrapNoState, none.GetPlayState());
    EXPECT_EQ(-2147467259.0, none.GetCurrentPosition());
    EXPECT_EQ(E_FAIL, none.SetWindowPos(0, 0, 10, 10, TRUE));
    EXPECT_EQ(E_FAIL, none.SetDisplaySize(4));
    EXPECT_EQ(E_FAIL, none.Initialize());
  }
  {
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    CAVCHDPlayCtrl other((std::string(system) + "\\kernel32.dll").c_str());  // no DllCreateInstance
    EXPECT_EQ(E_FAIL, other.Initialize());
  }
  const std::vector<std::string> want = {"FAILED)--SetContFileName-1",
                                         "FAILED)--Play-1",
                                         "FAILED)--Pause-1",
                                         "FAILED)--Stop-1",
                                         "FAILED)--SetCurrentPosition-1",
                                         "FAILED)--GetPlayState-1",
                                         "FAILED)--GetCurrentPosition-1",
                                         "FAILED)--SetWindowPos-1",
                                         "FAILED)--SetDisplaySize-1",
                                         "FAILED)--Initialize-1",
                                         "FAILED)--Initialize-2"};
  EXPECT_EQ(want, TraceSteps(out));

  // Over the recorder: each failing call of the player and the line it leaves.
  const struct {
    const char* failing;
    const char* path;  // null: the scene; "": no path at all
    HRESULT result;
    std::vector<std::string> steps;
  } cases[] = {
      {"", nullptr, S_OK, {}},
      {"", "", E_INVALIDARG, {"FAILED)--SetContFileName-2"}},
      {"", "C:\\no-such-folder\\00001.MTS", E_FAIL, {"FAILED)--SetContFileName-6"}},
      {"SetRect", nullptr, S_OK, {"FAILED)--SetContFileName-8"}},
      {"SetContent", nullptr, E_FAIL, {"FAILED)--SetContFileName-9"}},
      {"SetParam", nullptr, S_OK, {"FAILED)--SetPlayParam-\x81\xA6\x81\xA6"}},  // "※※"
      {"GetDuration", nullptr, E_FAIL, {"FAILED)--SetContFileName-10"}},
      {"SetRange", nullptr, E_FAIL, {"FAILED)--SetContFileName-11"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failing);
    CAVCHDPlayCtrl ctrl(RecorderDll::Path().c_str());
    recorder_.Reset(c.failing);
    ASSERT_EQ(S_OK, ctrl.Initialize());
    ctrl.SetOwner(&owner_, CRect(0, 0, 320, 180), TRUE);
    const std::string scene = Fixture("colours.mts");
    const char* path = !c.path ? scene.c_str() : *c.path ? c.path : nullptr;
    EXPECT_EQ(c.result, ctrl.SetContFileName(path));
    EXPECT_EQ(c.steps, TraceSteps(out));
  }
  // With "Continue" 1 the range's failure has its own step.
  CMWriteProfileInt("Settings\\Device\\GMRPLAY", "Continue", 1);
  CAVCHDPlayCtrl ctrl(RecorderDll::Path().c_str());
  EXPECT_EQ(E_FAIL, Open(ctrl, "SetRange"));
  EXPECT_EQ(std::vector<std::string>{"FAILED)--SetContFileName-12"}, TraceSteps(out));
  // A state the player cannot tell.
  ASSERT_EQ(S_OK, Open(ctrl, "GetState"));
  TraceSteps(out);
  EXPECT_EQ(kWrapNoState, ctrl.GetPlayState());
  EXPECT_EQ(std::vector<std::string>{"FAILED)--GetPlayState-2"}, TraceSteps(out));
}

// "Continue" 0 plays without an end (the largest stop); 1 ends at the scene's duration.
TEST_F(AvchdTest, TheContinueSettingGivesThePlayRange) {
  const struct {
    int value;
    const char* range;
  } cases[] = {{0, "0 9223372036854775807"}, {1, "0 100000000"}, {2, "0 100000000"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    CMWriteProfileInt("Settings\\Device\\GMRPLAY", "Continue", c.value);
    CAVCHDPlayCtrl ctrl(RecorderDll::Path().c_str());
    ASSERT_EQ(S_OK, Open(ctrl, ""));
    EXPECT_EQ(c.range, recorder_.Args("SetRange"));
    EXPECT_DOUBLE_EQ(10.0, ctrl.GetDuration());
  }
}

// The five quality entries: the user's decode mode for all five when chosen and readable,
// else the preview-quality table of the program folder's Core\PowerProbe.ini.
TEST_F(AvchdTest, QualityEntriesFollowTheUsersDecodeModeOrThePreviewTable) {
  VXQUALITYPAIR pairs[CPreviewQualityTable::kEntries] = {};
  UINT n = 0;
  const std::string ini = testsupport::ProgramFolder() + "\\Core\\PowerProbe.ini";
  WCHAR wini[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, ini.c_str(), -1, wini, MAX_PATH);
  ASSERT_EQ(S_OK, CPreviewQualityTable::Read(wini, CPreviewQualityTable::kEntries, pairs, &n));
  std::string table = "5";
  for (const VXQUALITYPAIR& p : pairs) table += " " + std::to_string(p.nBitRate) + "/" + std::to_string(p.nValue);

  const std::string key = std::string(CMGetKeyPosition()) + "\\Settings\\Device\\AVCHD";
  const DWORD three = 3;
  const BYTE two[2] = {3, 0};
  const struct {
    const char* name;
    int select;        // -1: no value
    const BYTE* mode;  // null: no value
    DWORD modeSize;
    std::string entries;
  } cases[] = {
      {"nothing set", -1, nullptr, 0, table},          {"chosen", 1, (const BYTE*)&three, 4, "5 0/3 0/3 0/3 0/3 0/3"},
      {"chosen without a mode", 1, nullptr, 0, table}, {"not chosen", 0, (const BYTE*)&three, 4, table},
      {"a mode too short to read", 1, two, 2, table},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    if (c.select >= 0 || c.mode) {
      HKEY h = NULL;
      ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, NULL, 0, KEY_WRITE, NULL, &h, NULL));
      const DWORD select = DWORD(c.select);
      if (c.select >= 0) RegSetValueExA(h, "DecModeUserSelect", 0, REG_DWORD, (const BYTE*)&select, sizeof select);
      if (c.mode) RegSetValueExA(h, "DecodeMode", 0, REG_BINARY, c.mode, c.modeSize);
      RegCloseKey(h);
    }
    CAVCHDPlayCtrl ctrl(RecorderDll::Path().c_str());
    ASSERT_EQ(S_OK, Open(ctrl, ""));
    EXPECT_EQ(c.entries, recorder_.Args("SetContent"));
  }
  RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

// A seek is skipped only to the very position the player is at: at 0.6 s a seek to 0 seeks.
TEST_F(AvchdTest, SeeksWithinTheCurrentSecondAreMade) {
  testsupport::DebugOutputCatcher out;
  const struct {
    LONGLONG at;
    double to;
    HRESULT result;
    const char* seek;  // "" when no seek is made
  } cases[] = {{6000000, 0.0, S_OK, "0"},
               {57000000, 5.0, S_OK, "50000000"},
               {50000000, 5.0, S_FALSE, ""},
               {0, 0.0, S_FALSE, ""},
               {10000000, 12.0, S_OK, "100000000"}};  // past the end: the end
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.at << " to " << c.to);
    CAVCHDPlayCtrl ctrl(RecorderDll::Path().c_str());
    ASSERT_EQ(S_OK, Open(ctrl, "", c.at));
    TraceSteps(out);
    recorder_.Reset("", c.at);
    EXPECT_EQ(c.result, ctrl.SetCurrentPosition(c.to));
    EXPECT_EQ(c.seek, recorder_.Args("Seek"));
    EXPECT_EQ(
        c.result == S_FALSE ? std::vector<std::string>{"S_FALSE)--SetCurrentPosition-2"} : std::vector<std::string>{},
        TraceSteps(out));
  }
}
