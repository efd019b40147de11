// What the framework's window tests share: message pumping with timeouts and a log of
// what handlers saw.
#pragma once
#include <fw/fw.h>

#include <functional>
#include <string>
#include <vector>

namespace fwtest {

// Runs every waiting message through the framework's pre-translation and dispatch; a
// WM_QUIT is left in the queue for whoever waits for it.
void PumpPending();
// Pumps until done() holds or timeoutMs passed; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000);
// Removes a WM_QUIT that a destroyed main window left in the queue.
void DropQuit();

// Presses the left button at `from` (client coordinates), moves to `to` and releases, as a
// user dragging with the mouse; the cursor is put there too for code that reads it.
void DragMouse(CWnd& wnd, CPoint from, CPoint to);

// What handlers saw, in order.
extern std::vector<std::string> g_log;
void Log(const std::string& s);
std::string Joined();  // the log joined with "|", then cleared

// Makes a module the current resource handle for a scope.
class ResourceHandleScope {
 public:
  explicit ResourceHandleScope(HINSTANCE hResource);
  ~ResourceHandleScope();

 private:
  HINSTANCE m_hOld;
};

// Pixels as drawn on the screen (NULL window) or in a window's client area, read back
// through a 32-bit top-down DIB.
class Pixels {
 public:
  void Capture(HWND hWnd = nullptr);
  int Width() const { return m_cx; }
  int Height() const { return m_cy; }
  COLORREF At(int x, int y) const;  // CLR_INVALID outside
  COLORREF At(POINT pt) const { return At(pt.x, pt.y); }
  // How many pixels of the rectangle have the colour.
  int Count(const RECT& r, COLORREF clr) const;
  bool SaveBmp(const char* path) const;

 private:
  int m_cx = 0, m_cy = 0;
  std::vector<DWORD> m_bits;  // BGRA
};

}  // namespace fwtest
