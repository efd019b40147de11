// CutBench.exe (in Core\ under the program folder): keeps a marked part of a clip as a new
// file, by stream copy, beside the clip or in the folder of "-f". Start and end are key
// frames chosen from lists; the picture shows the start. "-w <window>" is told by "-m
// <message>" (WM_TOOL_STARTED without one) once the bench's window is up, so the main
// program hides itself until the bench ends.
#include <windows.h>

#include <MainWndMessages.h>
#include <moviekit/moviekit.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "coreprogram.h"
#include "textkit/path.h"
#include "toolrules.h"

namespace {

const char kClass[] = "GlimoraCutBench";
const char kCaption[] = "シーンカット";
enum : int { kNameId = 101, kPictureId, kStartLabelId, kStartId, kEndLabelId, kEndId, kSaveId, kCloseId, kStatusId };
const int kPictureWidth = 320, kPictureHeight = 180;

struct Bench {
  movietools::ToolArgs args;
  moviekit::MovieFacts facts;
  std::vector<double> keys;
  HWND window = nullptr;
  HBITMAP picture = nullptr;
} g;

bool Taken(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Box(const std::string& text) { MessageBoxA(g.window, text.c_str(), kCaption, MB_ICONEXCLAMATION); }

// The window that waits for the bench, told once.
void TellStarted() {
  static bool told = false;
  if (told || !g.args.window) return;
  told = true;
  PostMessageA((HWND)(UINT_PTR)g.args.window, g.args.hasNumber ? (UINT)g.args.number : WM_TOOL_STARTED, 0, 0);
}

HWND Item(int id) { return GetDlgItem(g.window, id); }

int Chosen(int id) { return (int)SendMessageA(Item(id), CB_GETCURSEL, 0, 0); }

double StartTime() {
  int i = Chosen(kStartId);
  return i >= 0 && i < (int)g.keys.size() ? g.keys[i] : 0;
}

// The end list holds the key frames after the first and, last, the movie's end (0).
double EndTime() {
  int i = Chosen(kEndId) + 1;
  return i >= 1 && i < (int)g.keys.size() ? g.keys[i] : 0;
}

void ShowStart() {
  HBITMAP bitmap = moviekit::ReadPicture(g.args.clip.c_str(), StartTime(), kPictureWidth, kPictureHeight);
  HBITMAP old = (HBITMAP)SendMessageA(Item(kPictureId), STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bitmap);
  if (old && old != bitmap && old != g.picture) DeleteObject(old);
  if (g.picture) DeleteObject(g.picture);
  g.picture = bitmap;
}

void Save() {
  double from = StartTime(), to = EndTime();
  if (to > 0 && to <= from) {
    Box("終わりは始めより後にしてください。");
    return;
  }
  std::string name = movietools::FreePartName(g.args.clip, g.args.folder, Taken);
  HCURSOR cursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  HRESULT hr = name.empty() ? HRESULT_FROM_WIN32(ERROR_FILE_EXISTS)
                            : moviekit::CutMovie(g.args.clip.c_str(), name.c_str(), from, to);
  SetCursor(cursor);
  if (FAILED(hr)) {
    char code[16];
    wsprintfA(code, "0x%08lX", (unsigned long)hr);
    Box("シーンを保存できませんでした (" + std::string(code) + ")。\n" + name);
    SetWindowTextA(Item(kStatusId), "");
    return;
  }
  SetWindowTextA(Item(kStatusId), ("保存しました: " + textkit::FileNameOf(name)).c_str());
}

HWND AddChild(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id) {
  return movietools::AddChild(g.window, cls, text, style, x, y, w, h, id);
}

void Fill(HWND combo, size_t first, bool withEnd) {
  for (size_t i = first; i < g.keys.size(); ++i)
    SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)movietools::TimeLabel(g.keys[i]).c_str());
  if (withEnd)
    SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)(movietools::TimeLabel(g.facts.durationSeconds) + " (最後)").c_str());
}

void MakeControls() {
  const int m = 8, w = kPictureWidth + 16;
  AddChild("STATIC", textkit::FileNameOf(g.args.clip).c_str(), SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, m, m, w, 16,
           kNameId);
  AddChild("STATIC", "", SS_BITMAP | SS_CENTERIMAGE | SS_SUNKEN, m, 28, w, kPictureHeight + 8, kPictureId);
  int y = 28 + kPictureHeight + 16;
  AddChild("STATIC", "始め:", SS_LEFT, m, y + 3, 40, 16, kStartLabelId);
  HWND start = AddChild("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, m + 44, y, 120, 200, kStartId);
  AddChild("STATIC", "終わり:", SS_LEFT, m + 176, y + 3, 48, 16, kEndLabelId);
  HWND end = AddChild("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, m + 226, y, 110, 200, kEndId);
  Fill(start, 0, false);
  Fill(end, 1, true);
  SendMessageA(start, CB_SETCURSEL, 0, 0);
  SendMessageA(end, CB_SETCURSEL, SendMessageA(end, CB_GETCOUNT, 0, 0) - 1, 0);
  y += 34;
  AddChild("BUTTON", "保存", BS_DEFPUSHBUTTON | WS_TABSTOP, m + w - 164, y, 80, 24, kSaveId);
  AddChild("BUTTON", "閉じる", BS_PUSHBUTTON | WS_TABSTOP, m + w - 80, y, 80, 24, kCloseId);
  AddChild("STATIC", "", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, m, y + 4, w - 172, 16, kStatusId);
  ShowStart();
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kStartId:
          if (HIWORD(wp) == CBN_SELCHANGE) ShowStart();
          return 0;
        case kSaveId: Save(); return 0;
        case kCloseId: DestroyWindow(hwnd); return 0;
      }
      break;
    case WM_CTLCOLORSTATIC: return (LRESULT)GetSysColorBrush(COLOR_BTNFACE);
    case WM_DESTROY: PostQuitMessage(0); return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  if (!movietools::StartOnKit(kCaption, &g.args, TellStarted)) return 1;
  HRESULT hr = g.args.clip.empty() ? E_INVALIDARG : moviekit::ReadFacts(g.args.clip.c_str(), &g.facts);
  if (SUCCEEDED(hr)) hr = g.facts.hasVideo ? movietools::ReadKeyFrameList(g.args.clip.c_str(), &g.keys) : E_FAIL;
  if (FAILED(hr) || g.keys.empty()) {
    TellStarted();
    Box("このクリップを読めません。\n" + g.args.clip);
    return 1;
  }
  DWORD folder = g.args.folder.empty() ? FILE_ATTRIBUTE_DIRECTORY : GetFileAttributesA(g.args.folder.c_str());
  if (folder == INVALID_FILE_ATTRIBUTES || !(folder & FILE_ATTRIBUTE_DIRECTORY)) {
    TellStarted();
    Box("保存先のフォルダがありません。\n" + g.args.folder);
    return 1;
  }
  std::string title = std::string(kCaption) + " - " + textkit::FileNameOf(g.args.clip);
  g.window = movietools::CreateProgramWindow(instance, kClass, WndProc, title,
                                             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                             kPictureWidth + 32, kPictureHeight + 28 + 16 + 34 + 40);
  if (!g.window) return 1;
  MakeControls();
  ShowWindow(g.window, show);
  UpdateWindow(g.window);
  TellStarted();
  movietools::RunMessages(g.window);
  if (g.picture) DeleteObject(g.picture);
  return 0;
}
