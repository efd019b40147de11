// VideoPostUploader.exe: the window that lists the clips the upload plug-in handed over
// and sends each to the configured service (the request is described in
// VideoPostRequest.h).
#include <windows.h>

#include <commctrl.h>
#include <imaging/decode.h>
#include <imaging/dib.h>
#include <textkit/path.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "VideoPostRequest.h"

namespace {

const UINT WM_CLIP_ANSWER = WM_APP + 1;  // wParam the clip's row, lParam a new std::string
const int kThumbWidth = 80, kThumbHeight = 60;
enum Column { kName, kRecorded, kDuration, kSize, kStatus };

struct Args {
  HWND notify = NULL;
  UINT message = 0;
  std::string list;
};

struct State {
  Args args;
  std::vector<videopost::Clip> clips;
  std::string url;
  HWND list = NULL, banner = NULL;
  std::thread worker;
  videopost::Cancel cancel;
  HANDLE workerDone = NULL;  // set when the worker has sent its last clip
} g;

// How long the exit waits for the worker once its request is cancelled: a request that does
// not end then is left to the process's end.
const DWORD kWorkerEndMs = 5000;

Args ParseArgs(int argc, char** argv) {
  Args a;
  for (int i = 1; i < argc; ++i) {
    std::string s = argv[i];
    if (s == "-w" && i + 1 < argc)
      a.notify = (HWND)(INT_PTR)strtoll(argv[++i], nullptr, 10);
    else if (s == "-m" && i + 1 < argc)
      a.message = (UINT)strtoul(argv[++i], nullptr, 10);
    else if (s == "-L" && i + 1 < argc)
      a.list = argv[++i];
  }
  return a;
}

std::string ProgramFolder() {
  char exe[MAX_PATH];
  ::GetModuleFileNameA(NULL, exe, MAX_PATH);
  return textkit::FolderPartOf(exe);
}

std::string Duration(double seconds) {
  if (seconds <= 0) return "";
  char buf[32];
  int s = (int)(seconds + 0.5);
  snprintf(buf, sizeof buf, "%d:%02d", s / 60, s % 60);
  return buf;
}

std::string Size(uint64_t bytes) {
  char buf[32];
  snprintf(buf, sizeof buf, "%.1f MB", bytes / 1048576.0);
  return buf;
}

void SetCell(int row, int column, const std::string& text) {
  ListView_SetItemText(g.list, row, column, const_cast<char*>(text.c_str()));
}

HIMAGELIST MakeThumbnails() {
  HIMAGELIST images = ImageList_Create(kThumbWidth, kThumbHeight, ILC_COLOR24, (int)g.clips.size() + 1, 1);
  for (const videopost::Clip& c : g.clips) {
    imaging::Dib dib, framed;
    imaging::DecodeOptions o;
    o.maxWidth = kThumbWidth;
    o.maxHeight = kThumbHeight;
    HBITMAP bm = NULL;
    if (!c.thumbPath.empty() && SUCCEEDED(imaging::DecodeFile(c.thumbPath.c_str(), o, &dib))) {
      // Centred on a dark frame of the list's size.
      HDC screen = ::GetDC(NULL), dc = ::CreateCompatibleDC(screen);
      bm = ::CreateCompatibleBitmap(screen, kThumbWidth, kThumbHeight);
      HGDIOBJ old = ::SelectObject(dc, bm);
      RECT all = {0, 0, kThumbWidth, kThumbHeight};
      ::FillRect(dc, &all, (HBRUSH)::GetStockObject(DKGRAY_BRUSH));
      RECT box = {(kThumbWidth - dib.Width()) / 2, (kThumbHeight - dib.Height()) / 2, 0, 0};
      box.right = box.left + dib.Width();
      box.bottom = box.top + dib.Height();
      dib.Draw(dc, box);
      ::SelectObject(dc, old);
      ::DeleteDC(dc);
      ::ReleaseDC(NULL, screen);
    }
    if (!bm) {
      HDC screen = ::GetDC(NULL), dc = ::CreateCompatibleDC(screen);
      bm = ::CreateCompatibleBitmap(screen, kThumbWidth, kThumbHeight);
      HGDIOBJ old = ::SelectObject(dc, bm);
      RECT all = {0, 0, kThumbWidth, kThumbHeight};
      ::FillRect(dc, &all, (HBRUSH)::GetStockObject(GRAY_BRUSH));
      ::SelectObject(dc, old);
      ::DeleteDC(dc);
      ::ReleaseDC(NULL, screen);
    }
    ImageList_Add(images, bm, NULL);
    ::DeleteObject(bm);
  }
  return images;
}

void FillList() {
  struct {
    const char* title;
    int width;
  } columns[] = {{"Clip", 200}, {"Recorded", 130}, {"Length", 60}, {"Size", 80}, {"Status", 260}};
  for (int i = 0; i < 5; ++i) {
    LVCOLUMNA col = {LVCF_TEXT | LVCF_WIDTH, 0, columns[i].width, const_cast<char*>(columns[i].title)};
    ListView_InsertColumn(g.list, i, &col);
  }
  ListView_SetImageList(g.list, MakeThumbnails(), LVSIL_SMALL);
  for (int i = 0; i < (int)g.clips.size(); ++i) {
    const videopost::Clip& c = g.clips[i];
    LVITEMA item = {LVIF_TEXT | LVIF_IMAGE, i, 0};
    item.pszText = const_cast<char*>(c.name.c_str());
    item.iImage = i;
    ListView_InsertItem(g.list, &item);
    if (c.recordTime) {
      char buf[40];
      const SYSTEMTIME& t = *c.recordTime;
      snprintf(buf, sizeof buf, "%04u/%02u/%02u %02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
      SetCell(i, kRecorded, buf);
    }
    SetCell(i, kDuration, Duration(c.durationSeconds));
    if (c.problem.empty()) SetCell(i, kSize, Size(c.size));
    SetCell(i, kStatus, !c.problem.empty() ? c.problem : g.url.empty() ? "not sent" : "waiting");
  }
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE: {
      int w = LOWORD(lp), h = HIWORD(lp);
      ::MoveWindow(g.banner, 8, 8, w - 16, 20, TRUE);
      ::MoveWindow(g.list, 8, 34, w - 16, h - 42, TRUE);
      return 0;
    }
    case WM_CLIP_ANSWER: {
      std::string* text = reinterpret_cast<std::string*>(lp);
      SetCell((int)wp, kStatus, *text);
      delete text;
      return 0;
    }
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
  }
  return ::DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int main(int argc, char** argv) {
  g.args = ParseArgs(argc, argv);
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&icc);
  ::CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
  g.url = videopost::ReadServiceUrl(ProgramFolder() + "VideoPostUploader.ini");
  bool listRead = !g.args.list.empty() && videopost::ReadList(g.args.list, &g.clips);

  WNDCLASSA wc = {};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = ::GetModuleHandleA(NULL);
  wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
  wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
  wc.lpszClassName = "VideoPostUploader";
  ::RegisterClassA(&wc);
  HWND frame = ::CreateWindowA("VideoPostUploader", "Video upload", WS_OVERLAPPEDWINDOW, 100, 100, 760, 420, NULL, NULL,
                               wc.hInstance, NULL);
  HFONT font = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
  g.banner = ::CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, frame, NULL, wc.hInstance, NULL);
  g.list = ::CreateWindowA(WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_NOSORTHEADER, 0, 0,
                           10, 10, frame, NULL, wc.hInstance, NULL);
  ::SendMessageA(g.banner, WM_SETFONT, (WPARAM)font, FALSE);
  ::SendMessageA(g.list, WM_SETFONT, (WPARAM)font, FALSE);
  std::string banner = !listRead ? "The list of clips cannot be read: nothing is sent."
                       : g.url.empty()
                           ? "No service is configured (VideoPostUploader.ini, [Service] Url=): nothing is sent."
                           : "Sending to " + g.url;
  ::SetWindowTextA(g.banner, banner.c_str());
  FillList();
  RECT rc;
  ::GetClientRect(frame, &rc);
  WndProc(frame, WM_SIZE, 0, MAKELPARAM(rc.right, rc.bottom));
  ::ShowWindow(frame, SW_SHOWNORMAL);
  ::UpdateWindow(frame);
  // The plug-in waits for this before it closes its progress window.
  if (g.args.notify && g.args.message) ::PostMessageA(g.args.notify, g.args.message, 0, 0);

  if (listRead && !g.url.empty()) {
    g.workerDone = ::CreateEventA(NULL, TRUE, FALSE, NULL);
    g.worker = std::thread([frame] {
      for (size_t i = 0; i < g.clips.size() && !g.cancel.Done(); ++i) {
        if (!g.clips[i].problem.empty()) continue;
        ::PostMessageA(frame, WM_CLIP_ANSWER, i, (LPARAM) new std::string("sending..."));
        videopost::Answer a = videopost::SendClip(g.url, g.clips[i], videopost::Timeouts(), &g.cancel);
        ::PostMessageA(frame, WM_CLIP_ANSWER, i, (LPARAM) new std::string(a.text));
      }
      ::SetEvent(g.workerDone);
    });
  }
  MSG msg;
  while (::GetMessageA(&msg, NULL, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  // The window is gone: the request under way ends now, and the worker is waited for a
  // while only; the process's end takes a worker that is still held in a call.
  g.cancel.Now();
  if (g.worker.joinable()) {
    if (::WaitForSingleObject(g.workerDone, kWorkerEndMs) == WAIT_OBJECT_0)
      g.worker.join();
    else
      g.worker.detach();
  }
  ::CoUninitialize();
  ::ExitProcess(0);
}
