// The other program that pastes: reads the file drop list on the clipboard and writes its
// paths, one a line, to the file named on its command line. Exit code 0 when it found a
// list, 1 when the clipboard held none, 2 when it could not be read or written.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  // The clipboard is one for the desktop: another program may hold it for a moment.
  bool open = false;
  for (int i = 0; i < 50 && !(open = OpenClipboard(nullptr) != FALSE); ++i) Sleep(100);
  if (!open) return 2;
  FILE* out = fopen(argv[1], "wb");
  if (!out) {
    CloseClipboard();
    return 2;
  }
  HDROP drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
  const UINT count = drop ? DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0) : 0;
  for (UINT i = 0; i < count; ++i) {
    char path[MAX_PATH * 2] = {};
    DragQueryFileA(drop, i, path, sizeof path);
    fprintf(out, "%s\n", path);
  }
  fclose(out);
  CloseClipboard();
  return count ? 0 : 1;
}
