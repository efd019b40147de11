// What the framework's window tests share: a log of what handlers saw, the mouse, the
// resource handle (pumping and pictures: tests/support).
#pragma once
#include <fw/fw.h>
#include <pump.h>

#include <functional>
#include <string>
#include <vector>

namespace fwtest {

using testsupport::DropQuit;
using testsupport::PumpPending;
using testsupport::WaitUntil;

// Presses the left button at `from` (client coordinates), moves to `to` and releases, as a
// user dragging with the mouse; the cursor is put there too for code that reads it.
void DragMouse(CWnd& wnd, CPoint from, CPoint to);
// A user's double click at `at` (client coordinates): a click, then the second press and
// its release.
void DoubleClickMouse(CWnd& wnd, CPoint at);

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

}  // namespace fwtest
