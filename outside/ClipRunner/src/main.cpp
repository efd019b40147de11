// ClipRunner.exe (in Core\ under the program folder): plays a clip ("-c <clip>") in the
// movie kit's player window, with play/pause, stop and close. Once its window is up it
// tells the main program, found by its window property, with WM_TOOL_STARTED, so the main
// program hides itself until the runner ends. "-m" (the maker's play mode) is taken and
// not used.
#include <windows.h>

#include <MainWndMessages.h>
#include <cardwatch/WindowProperty.h>
#include <moviekit/moviekit.h>

#include <string>
#include <vector>

#include "coreprogram.h"
#include "textkit/path.h"
#include "toolrules.h"

namespace {

const char kClass[] = "GlimoraClipRunner";
const char kCaption[] = "クリップの再生";
enum : int { kPlayId = 101, kStopId, kCloseId, kStatusId };
const UINT WM_PLAYER_NOTICE = WM_APP + 1;  // the player's end of play (wParam 0) or error
const int kRowHeight = 40;

struct Runner {
  movietools::ToolArgs args;
  HWND window = nullptr;
  moviekit::Player* player = nullptr;
} g;

void Box(const std::string& text) { MessageBoxA(g.window, text.c_str(), kCaption, MB_ICONEXCLAMATION); }

void TellStarted() {
  static bool told = false;
  if (told) return;
  told = true;
  if (HWND main = cardwatch::FindWindowWithProperty(MAINWND_PROPERTY)) PostMessageA(main, WM_TOOL_STARTED, 0, 0);
}

HWND Item(int id) { return GetDlgItem(g.window, id); }

void ShowState() {
  moviekit::PlayerStatus s = g.player->Status();
  SetWindowTextA(Item(kPlayId), s.state == moviekit::PlayerState::Playing ? "一時停止" : "再生");
  std::string text =
      movietools::TimeLabel(s.positionSeconds) + " / " + movietools::TimeLabel(g.player->Facts().durationSeconds);
  if (s.state == moviekit::PlayerState::Ended) text += "  終わり";
  if (s.soundOff) text += "  (音声なし)";
  SetWindowTextA(Item(kStatusId), text.c_str());
}

RECT VideoRect() {
  RECT r;
  GetClientRect(g.window, &r);
  r.bottom = r.bottom > kRowHeight ? r.bottom - kRowHeight : 0;
  return r;
}

void Layout() {
  RECT c;
  GetClientRect(g.window, &c);
  int y = c.bottom - kRowHeight + 8;
  MoveWindow(Item(kPlayId), 8, y, 80, 24, TRUE);
  MoveWindow(Item(kStopId), 92, y, 80, 24, TRUE);
  MoveWindow(Item(kStatusId), 180, y + 4, c.right - 180 - 96, 16, TRUE);
  MoveWindow(Item(kCloseId), c.right - 88, y, 80, 24, TRUE);
  if (g.player) g.player->SetRect(VideoRect());
}

HWND AddChild(const char* cls, const char* text, DWORD style, int id) {
  return movietools::AddChild(g.window, cls, text, style, 0, 0, 10, 10, id);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (!g.player) break;
      switch (LOWORD(wp)) {
        case kPlayId:
          if (g.player->Status().state == moviekit::PlayerState::Playing)
            g.player->Pause();
          else
            g.player->Play();
          ShowState();
          return 0;
        case kStopId:
          g.player->Stop();
          ShowState();
          return 0;
        case kCloseId: DestroyWindow(hwnd); return 0;
      }
      break;
    case WM_PLAYER_NOTICE:
      if (g.player) ShowState();
      return 0;
    case WM_TIMER:
      if (g.player) ShowState();
      return 0;
    case WM_SIZE: Layout(); return 0;
    case WM_CTLCOLORSTATIC: return (LRESULT)GetSysColorBrush(COLOR_BTNFACE);
    case WM_DESTROY:
      KillTimer(hwnd, 1);
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  if (!movietools::StartOnKit(kCaption, &g.args, TellStarted)) return 1;
  std::string title = std::string(kCaption) + " - " + textkit::FileNameOf(g.args.clip);
  g.window = movietools::CreateProgramWindow(instance, kClass, WndProc, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                             640, 420);
  if (!g.window) return 1;
  AddChild("BUTTON", "再生", BS_PUSHBUTTON | WS_TABSTOP, kPlayId);
  AddChild("BUTTON", "停止", BS_PUSHBUTTON | WS_TABSTOP, kStopId);
  AddChild("STATIC", "", SS_LEFT | SS_NOPREFIX, kStatusId);
  AddChild("BUTTON", "閉じる", BS_PUSHBUTTON | WS_TABSTOP, kCloseId);
  Layout();

  HRESULT hr = g.args.clip.empty() ? E_INVALIDARG : moviekit::CreatePlayer(&g.player);
  if (SUCCEEDED(hr)) {
    hr = g.player->Open(g.args.clip.c_str(), g.window, VideoRect());
    if (FAILED(hr)) {
      g.player->Release();
      g.player = nullptr;
    }
  }
  if (FAILED(hr)) {
    TellStarted();
    Box("このクリップを再生できません。\n" + g.args.clip);
    DestroyWindow(g.window);
    return 1;
  }
  g.player->SetNotify(g.window, WM_PLAYER_NOTICE);
  ShowWindow(g.window, show);
  UpdateWindow(g.window);
  g.player->Play();
  SetTimer(g.window, 1, 250, nullptr);
  ShowState();
  TellStarted();
  movietools::RunMessages(g.window);
  g.player->Release();
  return 0;
}
