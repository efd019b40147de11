// Helpers of the control tests.
#include "ctltest.h"

#include <cstdio>
#include <map>

namespace ctltest {

HINSTANCE ResourceDll() {
  static HINSTANCE h = ::LoadLibraryA("fw_ctl_res.dll");
  return h;
}

ResourceScope::ResourceScope() : m_hOld(AfxGetResourceHandle()) { AfxSetResourceHandle(ResourceDll()); }
ResourceScope::~ResourceScope() { AfxSetResourceHandle(m_hOld); }

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

Shot::Shot(CWnd* pWnd) {
  pWnd->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpPending();
  CRect rc;
  pWnd->GetClientRect(&rc);
  m_cx = rc.Width();
  m_cy = rc.Height();
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
  bmi.bmiHeader.biWidth = m_cx;
  bmi.bmiHeader.biHeight = -m_cy;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC hdcWnd = ::GetDC(pWnd->m_hWnd);
  HBITMAP hbm = ::CreateDIBSection(hdcWnd, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC hdcMem = ::CreateCompatibleDC(hdcWnd);
  HGDIOBJ old = ::SelectObject(hdcMem, hbm);
  ::BitBlt(hdcMem, 0, 0, m_cx, m_cy, hdcWnd, 0, 0, SRCCOPY);
  ::GdiFlush();
  m_bits.assign((DWORD*)bits, (DWORD*)bits + m_cx * m_cy);
  ::SelectObject(hdcMem, old);
  ::DeleteDC(hdcMem);
  ::DeleteObject(hbm);
  ::ReleaseDC(pWnd->m_hWnd, hdcWnd);
}

COLORREF Shot::At(int x, int y) const {
  DWORD v = m_bits[(size_t)y * m_cx + x];
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

int Shot::Count(const RECT& r, COLORREF clr) const {
  int n = 0;
  for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, m_cy); y++)
    for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, m_cx); x++) n += At(x, y) == clr;
  return n;
}

void Shot::Keep(const char* name) const {
  char folder[MAX_PATH] = "";
  if (!::GetEnvironmentVariableA("FW_CTL_SHOTS", folder, sizeof(folder))) return;
  std::string path = std::string(folder) + "\\" + name + ".bmp";
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return;
  BITMAPINFOHEADER bih = {sizeof(bih), m_cx, -m_cy, 1, 32, BI_RGB, (DWORD)(m_bits.size() * 4), 0, 0, 0, 0};
  BITMAPFILEHEADER bfh = {0x4D42, (DWORD)(sizeof(bfh) + sizeof(bih) + bih.biSizeImage), 0, 0,
                          (DWORD)(sizeof(bfh) + sizeof(bih))};
  fwrite(&bfh, sizeof(bfh), 1, f);
  fwrite(&bih, sizeof(bih), 1, f);
  // Opaque pixels: viewers would take the unused fourth byte for transparency.
  std::vector<DWORD> opaque(m_bits);
  for (DWORD& v : opaque) v |= 0xFF000000;
  fwrite(opaque.data(), 4, opaque.size(), f);
  fclose(f);
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
  FILE* f = fopen(m_path, "wb");
  if (f) {
    fputs(text, f);
    fclose(f);
  }
}

TempFile::~TempFile() { ::DeleteFileA(m_path); }

}  // namespace ctltest
