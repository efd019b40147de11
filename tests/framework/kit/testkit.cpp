// What the framework's window tests share.
#include "testkit.h"

namespace fwtest {

std::vector<std::string> g_log;

void Log(const std::string& s) { g_log.push_back(s); }

std::string Joined() {
  std::string out;
  for (size_t i = 0; i < g_log.size(); ++i) out += (i ? "|" : "") + g_log[i];
  g_log.clear();
  return out;
}

ResourceHandleScope::ResourceHandleScope(HINSTANCE hResource) : m_hOld(AfxGetResourceHandle()) {
  AfxSetResourceHandle(hResource);
}

ResourceHandleScope::~ResourceHandleScope() { AfxSetResourceHandle(m_hOld); }

void DragMouse(CWnd& wnd, CPoint from, CPoint to) {
  CPoint screen = from;
  wnd.ClientToScreen(&screen);
  ::SetCursorPos(screen.x, screen.y);
  wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
  wnd.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  wnd.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
}

void DoubleClickMouse(CWnd& wnd, CPoint at) {
  LPARAM pt = MAKELPARAM(at.x, at.y);
  wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, pt);
  wnd.SendMessage(WM_LBUTTONUP, 0, pt);
  wnd.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, pt);
  wnd.SendMessage(WM_LBUTTONUP, 0, pt);
}

}  // namespace fwtest
