// The browser's slide show on its own, for a look by eye and the run script's screenshot,
// until the toolbar's slide-show commands hand the main program its slides:
//   glimslide [--kind K] [--seconds S] [folder]
// Shows the pictures of the folder (default: the sample library, walked) full screen with
// the slide player beside this program, plain slides (K 0) or effect K (1 to 4), and ends
// the show after S seconds (default 20).
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <fw/fw.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "SlideShowController.h"
#include "VxSlideShowWnd.h"

namespace {

class CSlideApp : public CWinApp {
 public:
  CSlideApp() : CWinApp("glimslide") {}
};
CSlideApp theApp;

struct COwnerView : CView {
  void OnDraw(CDC*) override {}
};

void Collect(const std::string& folder, std::vector<std::string>& out, size_t limit) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  std::vector<std::string> subs;
  do {
    if (fd.cFileName[0] == '.') continue;
    const std::string path = folder + "\\" + fd.cFileName;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      subs.push_back(path);
    } else {
      const char* ext = PathFindExtensionA(fd.cFileName);
      if (out.size() < limit && (!lstrcmpiA(ext, ".jpg") || !lstrcmpiA(ext, ".jpeg") || !lstrcmpiA(ext, ".png")))
        out.push_back(path);
    }
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  for (const std::string& s : subs) Collect(s, out, limit);
}

}  // namespace

int main(int argc, char** argv) {
  int kind = 0, seconds = 20;
  std::string folder;
  for (int i = 1; i < argc; ++i) {
    if (!strcmp(argv[i], "--kind") && i + 1 < argc)
      kind = atoi(argv[++i]);
    else if (!strcmp(argv[i], "--seconds") && i + 1 < argc)
      seconds = atoi(argv[++i]);
    else
      folder = argv[i];
  }
  if (folder.empty()) {
    char pictures[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_MYPICTURES, nullptr, 0, pictures);
    folder = std::string(pictures) + "\\Glimora Samples";
  }
  std::vector<std::string> files;
  Collect(folder, files, 24);
  if (files.empty()) {
    fprintf(stderr, "glimslide: no pictures in %s\n", folder.c_str());
    return 1;
  }
  AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOW);
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  CVxSlideShowWnd::SetHostModule(PathFindFileNameA(self));

  CWnd frame;
  frame.CreateEx(0, AfxRegisterWndClass(0), "glimslide", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0);
  COwnerView* view = new COwnerView;  // deletes itself with its window
  view->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &frame, 1, nullptr);

  std::vector<tagSLD_V_TYPE> slides;
  for (const std::string& f : files) {
    tagSLD_V_TYPE s = {};
    lstrcpynA(s.szPath, f.c_str(), MAX_PATH);
    const LONG interval = 4000, orientation = 1;
    memcpy(s.tail, &interval, sizeof(interval));
    memcpy(s.tail + 28, &orientation, sizeof(orientation));
    slides.push_back(s);
  }
  CSlideShowController show;
  show.SetParams(view, SLD_QUALITY(2), SLD_TYPE(kind), &slides, nullptr, 1, 0);
  const HRESULT hr = show.Start();
  if (FAILED(hr)) {
    fprintf(stderr, "glimslide: the show did not start (0x%08lx)\n", (unsigned long)hr);
    return 1;
  }
  printf("glimslide: %zu pictures\n", files.size());
  const DWORD end = GetTickCount() + DWORD(seconds) * 1000;
  while (show.GetWindow() && GetTickCount() < end) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!AfxGetApp()->PreTranslateMessage(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  show.SendKey(VK_ESCAPE);
  for (int i = 0; i < 100 && show.GetWindow(); ++i) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(10);
  }
  frame.DestroyWindow();
  return 0;
}
