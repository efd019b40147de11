// SplitClip.dll: splits a movie at a key frame the user picks into two files beside it,
// by stream copy (moviekit's cut), and names the first part in "Tool1" "FirstPath".
#include <windows.h>

#include <moviekit/moviekit.h>
#include <picturetool/Tool.h>

#include <string>
#include <vector>

#include "dlgkit/memdialog.h"
#include "toolrules.h"
#include "textkit/path.h"

namespace {

const char kCaption[] = "動画の分割";
const WORD kNameId = 1001, kListId = 1002, kPictureId = 1003, kPartsId = 1004;
const int kPictureWidth = 160, kPictureHeight = 120;

struct Split {
  std::string movie;
  double duration = 0;
  std::vector<double> points;
  int chosen = -1;
  HBITMAP picture = nullptr;
};

bool Taken(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Box(HWND owner, const std::string& text) { MessageBoxA(owner, text.c_str(), kCaption, MB_ICONEXCLAMATION); }

std::string ErrorText(HRESULT hr) {
  char* text = nullptr;
  if (HRESULT_FACILITY(hr) == FACILITY_WIN32 &&
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, HRESULT_CODE(hr), 0, reinterpret_cast<char*>(&text), 0, nullptr) &&
      text) {
    std::string s = text;
    LocalFree(text);
    return s;
  }
  char code[40];
  wsprintfA(code, "(0x%08lX)", (unsigned long)hr);
  return code;
}

// The picture at the chosen point, fitted into the preview.
void ShowPicture(HWND dlg, Split* s) {
  HBITMAP bitmap = s->chosen < 0
                       ? nullptr
                       : moviekit::ReadPicture(s->movie.c_str(), s->points[s->chosen], kPictureWidth, kPictureHeight);
  HBITMAP old = (HBITMAP)SendDlgItemMessageA(dlg, kPictureId, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bitmap);
  if (old && old != bitmap && old != s->picture) DeleteObject(old);
  if (s->picture) DeleteObject(s->picture);
  s->picture = bitmap;
}

void Choose(HWND dlg, Split* s) {
  s->chosen = (int)SendDlgItemMessageA(dlg, kListId, LB_GETCURSEL, 0, 0);
  if (s->chosen < 0 || s->chosen >= (int)s->points.size()) s->chosen = -1;
  std::string parts;
  if (s->chosen >= 0) {
    double at = s->points[s->chosen];
    parts = "前半 0:00.00 ～ " + movietools::TimeLabel(at) + "\r\n後半 " + movietools::TimeLabel(at) + " ～ " +
            movietools::TimeLabel(s->duration);
  }
  SetDlgItemTextA(dlg, kPartsId, parts.c_str());
  EnableWindow(GetDlgItem(dlg, IDOK), s->chosen >= 0);
  ShowPicture(dlg, s);
}

INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  Split* s = dlgkit::DialogState<Split>(dlg, msg, lp);
  switch (msg) {
    case WM_INITDIALOG: {
      SetDlgItemTextA(dlg, kNameId, textkit::FileNameOf(s->movie).c_str());
      for (double t : s->points)
        SendDlgItemMessageA(dlg, kListId, LB_ADDSTRING, 0, (LPARAM)movietools::TimeLabel(t).c_str());
      SendDlgItemMessageA(dlg, kListId, LB_SETCURSEL, movietools::MiddlePoint(s->points, s->duration), 0);
      Choose(dlg, s);
      dlgkit::CenterOverOwner(dlg);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wp) == kListId && HIWORD(wp) == LBN_SELCHANGE) {
        Choose(dlg, s);
      } else if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        if (LOWORD(wp) == IDOK && s->chosen < 0) return TRUE;
        EndDialog(dlg, LOWORD(wp));
      }
      return TRUE;
    case WM_DESTROY: SendDlgItemMessageA(dlg, kPictureId, STM_SETIMAGE, IMAGE_BITMAP, 0); return FALSE;
  }
  return FALSE;
}

INT_PTR AskPoint(HWND owner, Split* s) {
  dlgkit::DialogTemplate t(DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 250, 150, kCaption);
  t.Add(dlgkit::kStatic, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, 7, 7, 236, 10, kNameId, "");
  t.Add(dlgkit::kStatic, WS_CHILD | WS_VISIBLE | SS_LEFT, 7, 21, 90, 10, 0xFFFF, "分割する位置:");
  t.Add(dlgkit::kListBox, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY, 7, 32, 90, 90,
        kListId, "");
  t.Add(dlgkit::kStatic, WS_CHILD | WS_VISIBLE | SS_BITMAP | SS_CENTERIMAGE | SS_SUNKEN, 104, 32, 139, 70, kPictureId,
        "");
  t.Add(dlgkit::kStatic, WS_CHILD | WS_VISIBLE | SS_LEFT, 104, 105, 139, 18, kPartsId, "");
  t.Add(dlgkit::kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 139, 129, 50, 14, IDOK, "分割");
  t.Add(dlgkit::kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 193, 129, 50, 14, IDCANCEL, "キャンセル");
  INT_PTR r = t.Run(owner, DialogProc, reinterpret_cast<LPARAM>(s));
  if (s->picture) DeleteObject(s->picture);
  s->picture = nullptr;
  return r;
}

}  // namespace

// 1 when both parts were written ("Tool1" "FirstPath" names the first), 2 when the user
// cancelled, 0 on a failure (said in a box).
extern "C" __declspec(dllexport) int WINAPI SplitClip(LPCSTR lpszMovie) {
  HWND owner = picturetool::OwnerWindow();
  if (!lpszMovie || !*lpszMovie) return 0;
  Split s;
  s.movie = lpszMovie;
  HCURSOR cursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  moviekit::MovieFacts facts;
  HRESULT hr = moviekit::ReadFacts(lpszMovie, &facts);
  std::vector<double> keys;
  if (SUCCEEDED(hr) && facts.hasVideo) hr = movietools::ReadKeyFrameList(lpszMovie, &keys);
  SetCursor(cursor);
  if (FAILED(hr) || !facts.hasVideo) {
    Box(owner, "この動画を読めません。\n" + s.movie);
    return 0;
  }
  s.duration = facts.durationSeconds;
  s.points = movietools::SplitPoints(keys, s.duration);
  if (s.points.empty()) {
    Box(owner, "この動画には分割できる位置（キーフレーム）がありません。\n" + s.movie);
    return 0;
  }
  if (AskPoint(owner, &s) != IDOK) return 2;

  double at = s.points[s.chosen];
  std::pair<std::string, std::string> names = movietools::SplitNames(s.movie, Taken);
  cursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  hr = names.first.empty() ? HRESULT_FROM_WIN32(ERROR_FILE_EXISTS)
                           : moviekit::CutMovie(lpszMovie, names.first.c_str(), 0, at);
  if (SUCCEEDED(hr)) {
    hr = moviekit::CutMovie(lpszMovie, names.second.c_str(), at, 0);
    // Half a split is no split.
    if (FAILED(hr)) DeleteFileA(names.first.c_str());
  }
  SetCursor(cursor);
  if (FAILED(hr)) {
    Box(owner, "分割したファイルを書けませんでした。\n" + ErrorText(hr));
    return 0;
  }
  picturetool::WriteFirstPath(names.first);
  return 1;
}
