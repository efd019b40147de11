#include "coreprogram.h"

#include <delayimp.h>
#include <stdlib.h>

#include <string>

#include "textkit/path.h"

// The delay-import descriptor of moviekit.dll that dlltool made (named after its file).
extern "C" const ImgDelayDescr __DELAY_IMPORT_DESCRIPTOR_moviekit_delayed_a;
// The loader's helper in the C runtime (delayimp.h does not declare it).
extern "C" FARPROC WINAPI __delayLoadHelper2(PCImgDelayDescr descriptor, FARPROC* entry);

namespace movietools {

HRESULT LoadKitAbove() {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string folder = textkit::FolderOf(textkit::FolderOf(exe));
  if (GetFileAttributesA(textkit::Join(folder, "moviekit.dll").c_str()) == INVALID_FILE_ATTRIBUTES)
    return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
  SetDllDirectoryA(folder.c_str());
  // Every entry of the import table bound through the loader's helper, as a first call
  // would bind it (the linker leaves the image's delay-import directory empty, so
  // __HrLoadAllImportsForDll finds nothing to bind).
  const ImgDelayDescr& kit = __DELAY_IMPORT_DESCRIPTOR_moviekit_delayed_a;
  BYTE* image = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  FARPROC* iat = reinterpret_cast<FARPROC*>(image + kit.rvaIAT);
  const IMAGE_THUNK_DATA* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(image + kit.rvaINT);
  for (size_t i = 0; names[i].u1.AddressOfData; ++i)
    if (!__delayLoadHelper2(&kit, &iat[i])) return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
  return S_OK;
}

std::vector<std::string> ProgramArguments() {
  std::vector<std::string> args;
  for (int i = 1; i < __argc; ++i) args.push_back(__argv[i]);
  return args;
}

bool StartOnKit(const char* caption, ToolArgs* args, const std::function<void()>& started) {
  *args = ParseToolArgs(ProgramArguments());
  if (SUCCEEDED(LoadKitAbove())) return true;
  started();
  MessageBoxA(nullptr, "moviekit.dll が見つかりません。", caption, MB_ICONEXCLAMATION);
  return false;
}

namespace {
HFONT MessageFont() {
  static HFONT font = [] {
    NONCLIENTMETRICSA metrics = {sizeof metrics};
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return CreateFontIndirectA(&metrics.lfMessageFont);
  }();
  return font;
}
}  // namespace

HWND CreateProgramWindow(HINSTANCE instance, const char* className, WNDPROC proc, const std::string& title, DWORD style,
                         int clientWidth, int clientHeight) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  wc.lpszClassName = className;
  RegisterClassA(&wc);
  RECT r = {0, 0, clientWidth, clientHeight};
  AdjustWindowRect(&r, style, FALSE);
  return CreateWindowExA(0, className, title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                         r.bottom - r.top, nullptr, nullptr, instance, nullptr);
}

HWND AddChild(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int width, int height,
              int id) {
  HWND child = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                               (HMENU)(INT_PTR)id, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(child, WM_SETFONT, (WPARAM)MessageFont(), FALSE);
  return child;
}

void RunMessages(HWND window) {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace movietools
