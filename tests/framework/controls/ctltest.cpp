// Helpers of the control tests.
#include "ctltest.h"

#include <files.h>

#include <cstdio>
#include <map>

namespace ctltest {

HINSTANCE ResourceDll() {
  static HINSTANCE h = ::LoadLibraryA("fw_ctl_res.dll");
  return h;
}


// ----- CHostWnd -----

BEGIN_MESSAGE_MAP(CHostWnd, CWnd)
  ON_MESSAGE(WM_SETMESSAGESTRING, &CHostWnd::OnSetMessageString)
  ON_MESSAGE(WM_POPMESSAGESTRING, &CHostWnd::OnPopMessageString)
END_MESSAGE_MAP()

BOOL CHostWnd::Make(int cx, int cy) {
  LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
  if (!CreateEx(0, cls, "host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, cx, cy, nullptr, nullptr)) return FALSE;
  ::SetForegroundWindow(m_hWnd);
  UpdateWindow();
  return TRUE;
}

CHostWnd::~CHostWnd() { DestroyWindow(); }

LRESULT CHostWnd::OnSetMessageString(WPARAM wParam, LPARAM) {
  Log("prompt:" + std::to_string(wParam));
  return 0;
}

LRESULT CHostWnd::OnPopMessageString(WPARAM wParam, LPARAM) {
  Log("pop:" + std::to_string(wParam));
  return 0;
}

// ----- Shot -----

void Shot::Keep(const char* name) const {
  if (::GetEnvironmentVariableA("FW_CTL_SHOTS", nullptr, 0)) Save(name);
}

// ----- TimedAction -----

namespace {
std::map<UINT_PTR, std::function<bool()>>& Actions() {
  static std::map<UINT_PTR, std::function<bool()>> actions;
  return actions;
}
}  // namespace

TimedAction::TimedAction(std::function<bool()> action) {
  m_id = ::SetTimer(nullptr, 0, 30, &TimedAction::OnTimer);
  Actions()[m_id] = std::move(action);
}

TimedAction::~TimedAction() {
  ::KillTimer(nullptr, m_id);
  Actions().erase(m_id);
}

void CALLBACK TimedAction::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
  auto it = Actions().find(id);
  if (it == Actions().end() || !it->second) return;
  // The action may run a nested loop: take it out while it runs.
  std::function<bool()> action = std::move(it->second);
  bool done = action();
  it = Actions().find(id);
  if (it != Actions().end() && !done) it->second = std::move(action);
}

struct FindData {
  HWND hExclude;
  HWND hFound;
};

static BOOL CALLBACK FindDialog(HWND hWnd, LPARAM lParam) {
  FindData* p = (FindData*)lParam;
  char cls[16] = "";
  ::GetClassNameA(hWnd, cls, sizeof(cls));
  if (hWnd == p->hExclude || lstrcmpA(cls, "#32770") != 0 || !::IsWindowVisible(hWnd)) return TRUE;
  p->hFound = hWnd;
  return FALSE;
}

HWND FindThreadDialog(HWND hExclude) {
  FindData data = {hExclude, nullptr};
  ::EnumThreadWindows(::GetCurrentThreadId(), &FindDialog, (LPARAM)&data);
  return data.hFound;
}

// ----- TempFile -----

TempFile::TempFile(const char* name, const char* text) {
  char dir[MAX_PATH] = "";
  ::GetTempPathA(sizeof(dir), dir);
  m_path = CString(dir) + name;
  testsupport::WriteWholeFile((LPCSTR)m_path, text);
}

TempFile::~TempFile() { ::DeleteFileA(m_path); }

}  // namespace ctltest
