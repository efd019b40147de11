#include "shelltest.h"

namespace shelltest {

void PumpPending() {
  MSG msg;
  while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage((int)msg.wParam);  // leave it for whoever waits for it
      return;
    }
    if (!AfxPreTranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > timeoutMs) return false;
    PumpPending();
    ::MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

void DropQuit() {
  MSG msg;
  while (::PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

HINSTANCE ResourceDll() {
  static HINSTANCE h = ::LoadLibraryA("VxResource.dll");
  return h;
}

ResourceScope::ResourceScope() : m_hOld(AfxGetResourceHandle()) { AfxSetResourceHandle(ResourceDll()); }
ResourceScope::~ResourceScope() { AfxSetResourceHandle(m_hOld); }

ProfileRoot::ProfileRoot() {
  static int counter = 0;
  m_vendor = "Software\\GlimoraTest\\shell-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
  ::SetEnvironmentVariableA("GLIMORA_PROFILE_ROOT", m_vendor.c_str());
}

ProfileRoot::~ProfileRoot() {
  ::SetEnvironmentVariableA("GLIMORA_PROFILE_ROOT", NULL);
  ::RegDeleteTreeA(HKEY_CURRENT_USER, m_vendor.c_str());
  ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, m_vendor.c_str());
}

std::string DialogCloser::s_caption;
std::string DialogCloser::s_text;
int DialogCloser::s_nClosed = 0;

namespace {
int g_nAnswer = IDOK;

BOOL CALLBACK CloseDialog(HWND hWnd, LPARAM) {
  char cls[16] = "";
  ::GetClassNameA(hWnd, cls, sizeof(cls));
  if (lstrcmpA(cls, "#32770") != 0 || !::IsWindowVisible(hWnd) || !::GetWindow(hWnd, GW_CHILD)) return TRUE;
  char buf[512] = "";
  ::GetWindowTextA(hWnd, buf, sizeof(buf));
  DialogCloser::s_caption = buf;
  buf[0] = 0;
  ::GetDlgItemTextA(hWnd, 0xFFFF, buf, sizeof(buf));
  DialogCloser::s_text = buf;
  ::PostMessageA(hWnd, WM_COMMAND, (WPARAM)g_nAnswer, 0);
  ++DialogCloser::s_nClosed;
  return FALSE;
}

void CALLBACK OnCloserTimer(HWND, UINT, UINT_PTR, DWORD) {
  ::EnumThreadWindows(::GetCurrentThreadId(), &CloseDialog, 0);
}
}  // namespace

DialogCloser::DialogCloser(int nAnswer) {
  g_nAnswer = nAnswer;
  s_caption.clear();
  s_text.clear();
  s_nClosed = 0;
  m_id = ::SetTimer(NULL, 0, 30, &OnCloserTimer);
}

DialogCloser::~DialogCloser() { ::KillTimer(NULL, m_id); }

}  // namespace shelltest
