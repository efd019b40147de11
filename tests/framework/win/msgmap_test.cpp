// Message maps and windows: handler arguments, chaining, WindowProc, Default, exceptions,
// handle maps across threads, subclassing, reflection to controls, tooltips, modal loops.
#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

#include "testwin.h"
#include <otherwindows.h>

using fwtest::Joined;
using fwtest::Log;

namespace {

std::string Fmt(const char* fmt, ...) {
  char buf[256];
  va_list args;
  va_start(args, fmt);
  vsnprintf(buf, sizeof(buf), fmt, args);
  va_end(args);
  return buf;
}

// Logs each handler with the arguments it received.
class CProbeWnd : public CWnd {
 public:
  HBRUSH m_hbr = (HBRUSH)::GetStockObject(GRAY_BRUSH);

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
    Log(Fmt("create %s", lpcs->lpszName ? lpcs->lpszName : ""));
    return CWnd::OnCreate(lpcs);
  }
  afx_msg void OnSize(UINT nType, int cx, int cy) { Log(Fmt("size %u %d %d", nType, cx, cy)); }
  afx_msg void OnMove(int x, int y) { Log(Fmt("move %d %d", x, y)); }
  afx_msg void OnTimer(UINT_PTR nIDEvent) { Log(Fmt("timer %u", (unsigned)nIDEvent)); }
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt) { Log(Fmt("ldown %u %ld %ld", nFlags, pt.x, pt.y)); }
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
    Log(Fmt("wheel %u %d %ld %ld", nFlags, zDelta, pt.x, pt.y));
    return TRUE;
  }
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) { Log(Fmt("key %u %u %u", nChar, nRepCnt, nFlags)); }
  afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pcds) {
    Log(Fmt("copydata %d %lu %s", pWnd ? 1 : 0, (unsigned long)pcds->dwData, (const char*)pcds->lpData));
    return 7;
  }
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    Log(Fmt("ctlcolor %d %u", pDC ? 1 : 0, nCtlColor));
    return m_hbr;
  }
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint pt) { Log(Fmt("context %d %ld %ld", pWnd == this, pt.x, pt.y)); }
  afx_msg LRESULT OnNcHitTest(CPoint pt) {
    Log(Fmt("hittest %ld %ld", pt.x, pt.y));
    return HTCAPTION;
  }
  afx_msg void OnActivate(UINT nState, CWnd* pOther, BOOL bMinimized) {
    Log(Fmt("activate %u %d %d", nState, pOther ? 1 : 0, bMinimized));
  }
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    Log(Fmt("setcursor %d %u %u", pWnd == this, nHitTest, message));
    return TRUE;
  }
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus) { Log(Fmt("show %d %u", bShow, nStatus)); }
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pBar) { Log(Fmt("vscroll %u %u %d", nSBCode, nPos, pBar ? 1 : 0)); }
  afx_msg UINT OnPowerBroadcast(UINT nEvent, LPARAM lData) {
    Log(Fmt("power %u %ld", nEvent, (long)lData));
    return 2;
  }
  afx_msg void OnDisplayChange(UINT nDepth, int cx, int cy) { Log(Fmt("display %u %d %d", nDepth, cx, cy)); }
  afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hMenu) { Log(Fmt("menuselect %u %x %d", nItemID, nFlags, hMenu != nullptr)); }
  afx_msg LRESULT OnUser(WPARAM wParam, LPARAM lParam) {
    Log(Fmt("user %d %d", (int)wParam, (int)lParam));
    return 42;
  }
  afx_msg void OnUserVoid() { Log("uservoid"); }
  afx_msg LRESULT OnRegistered(WPARAM wParam, LPARAM) {
    Log(Fmt("registered %d", (int)wParam));
    return 5;
  }
  DECLARE_MESSAGE_MAP()
};

UINT g_nRegistered = ::RegisterWindowMessageA("GlimFW test message");

BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_MOVE()
  ON_WM_TIMER()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEWHEEL()
  ON_WM_KEYDOWN()
  ON_WM_COPYDATA()
  ON_WM_CTLCOLOR()
  ON_WM_CONTEXTMENU()
  ON_WM_NCHITTEST()
  ON_WM_ACTIVATE()
  ON_WM_SETCURSOR()
  ON_WM_SHOWWINDOW()
  ON_WM_VSCROLL()
  ON_WM_POWERBROADCAST()
  ON_WM_DISPLAYCHANGE()
  ON_WM_MENUSELECT()
  ON_MESSAGE(WM_USER + 1, &CProbeWnd::OnUser)
  ON_MESSAGE_VOID(WM_USER + 2, &CProbeWnd::OnUserVoid)
  ON_REGISTERED_MESSAGE(g_nRegistered, &CProbeWnd::OnRegistered)
END_MESSAGE_MAP()

struct MsgCase {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  const char* expected;
  LRESULT result;
};

TEST(MessageMap, HandlersGetTheWellKnownArguments) {
  CProbeWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "probe", WS_POPUP, 0, 0, 100, 80, nullptr, nullptr));
  EXPECT_EQ(Joined().substr(0, 12), "create probe");
  static char text[] = "C:\\photos";
  COPYDATASTRUCT cds = {1534, sizeof(text), text};
  HDC hdc = ::GetDC(wnd.m_hWnd);
  const MsgCase cases[] = {
      {WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(640, 480), "size 2 640 480", 0},
      {WM_MOVE, 0, MAKELPARAM(-10, 20), "move -10 20", 0},
      {WM_TIMER, 53, 0, "timer 53", 0},
      {WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-5, 7), "ldown 5 -5 7", 0},
      {WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, -240), MAKELPARAM(300, 200), "wheel 8 -240 300 200", 1},
      {WM_KEYDOWN, VK_F5, MAKELPARAM(3, 0x3F), "key 116 3 63", 0},
      {WM_COPYDATA, 0, (LPARAM)&cds, "copydata 0 1534 C:\\photos", 7},
      {WM_CTLCOLORBTN, (WPARAM)hdc, 0, "ctlcolor 1 3", (LRESULT)wnd.m_hbr},
      {WM_CTLCOLORSTATIC, (WPARAM)hdc, 0, "ctlcolor 1 6", (LRESULT)wnd.m_hbr},
      {WM_CONTEXTMENU, (WPARAM)wnd.m_hWnd, MAKELPARAM(-1, -1), "context 1 -1 -1", 0},
      {WM_NCHITTEST, 0, MAKELPARAM(12, 34), "hittest 12 34", HTCAPTION},
      {WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 1), 0, "activate 2 0 1", 0},
      {WM_SETCURSOR, (WPARAM)wnd.m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), "setcursor 1 1 512", 1},
      {WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 77), 0, "vscroll 5 77 0", 0},
      {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 9, "power 18 9", 2},
      {WM_DISPLAYCHANGE, 16, MAKELPARAM(1024, 768), "display 16 1024 768", 0},
      {WM_MENUSELECT, MAKEWPARAM(29501, MF_HILITE), 0, "menuselect 29501 80 0", 0},
      {WM_USER + 1, 3, 4, "user 3 4", 42},
      {WM_USER + 2, 0, 0, "uservoid", 0},
      {g_nRegistered, 11, 0, "registered 11", 5},
  };
  for (const MsgCase& c : cases) {
    fwtest::g_log.clear();
    LRESULT r = ::SendMessageA(wnd.m_hWnd, c.msg, c.wParam, c.lParam);
    EXPECT_EQ(Joined(), c.expected) << "message " << c.msg;
    EXPECT_EQ(r, c.result) << "message " << c.msg;
  }
  ::ReleaseDC(wnd.m_hWnd, hdc);
  wnd.DestroyWindow();
  EXPECT_EQ(wnd.m_hWnd, nullptr);
}

// ----- chaining, WindowProc and Default -----

class CBaseWnd : public CWnd {
 protected:
  afx_msg LRESULT OnOne(WPARAM, LPARAM) {
    Log("base one");
    return 1;
  }
  afx_msg LRESULT OnTwo(WPARAM, LPARAM) {
    Log("base two");
    return 2;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
  ON_MESSAGE(WM_USER + 1, &CBaseWnd::OnOne)
  ON_MESSAGE(WM_USER + 2, &CBaseWnd::OnTwo)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_USER + 3) {
      Log("windowproc three");
      return 3;
    }
    if (message == WM_USER + 2) Log("windowproc two");
    return CBaseWnd::WindowProc(message, wParam, lParam);
  }

 protected:
  afx_msg LRESULT OnTwo(WPARAM, LPARAM) {
    Log("derived two");
    return 22;
  }
  afx_msg LRESULT OnSetText(WPARAM, LPARAM lParam) {
    Log(std::string("settext ") + (const char*)lParam);
    return Default();  // the system procedure stores the text
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
  ON_MESSAGE(WM_USER + 2, &CDerivedWnd::OnTwo)
  ON_MESSAGE(WM_SETTEXT, &CDerivedWnd::OnSetText)
END_MESSAGE_MAP()

TEST(MessageMap, DerivedEntriesWinBaseEntriesChainAndWindowProcComesFirst) {
  CDerivedWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  fwtest::g_log.clear();
  EXPECT_EQ(wnd.SendMessage(WM_USER + 1), 1);
  EXPECT_EQ(Joined(), "base one");
  EXPECT_EQ(wnd.SendMessage(WM_USER + 2), 22);
  EXPECT_EQ(Joined(), "windowproc two|derived two");
  EXPECT_EQ(wnd.SendMessage(WM_USER + 3), 3);
  EXPECT_EQ(Joined(), "windowproc three");
  wnd.SetWindowText("表示");
  EXPECT_EQ(Joined(), "settext 表示");
  CString text;
  wnd.GetWindowText(text);
  EXPECT_STREQ(text, "表示");
  wnd.DestroyWindow();
}

// ----- exceptions never leave a window procedure -----

class CThrowingWnd : public CWnd {
 public:
  bool m_bThrowOnCreate = false;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
    if (m_bThrowOnCreate) AfxThrowUserException();
    return CWnd::OnCreate(lpcs);
  }
  afx_msg LRESULT OnThrowUser(WPARAM, LPARAM) { AfxThrowUserException(); }
  afx_msg LRESULT OnThrowOther(WPARAM, LPARAM) { throw 42; }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
  ON_WM_CREATE()
  ON_MESSAGE(WM_USER + 1, &CThrowingWnd::OnThrowUser)
  ON_MESSAGE(WM_USER + 2, &CThrowingWnd::OnThrowOther)
END_MESSAGE_MAP()

TEST(WindowProcedure, ExceptionsEndInTheFrameworkNotTheCaller) {
  CThrowingWnd failing;
  failing.m_bThrowOnCreate = true;
  EXPECT_FALSE(failing.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  EXPECT_EQ(failing.m_hWnd, nullptr);

  CThrowingWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  EXPECT_EQ(::SendMessageA(wnd.m_hWnd, WM_USER + 1, 0, 0), 0);
  EXPECT_EQ(::SendMessageA(wnd.m_hWnd, WM_USER + 2, 0, 0), 0);
  EXPECT_TRUE(::IsWindow(wnd.m_hWnd));
  wnd.DestroyWindow();
}

// ----- handle maps -----

TEST(HandleMap, PermanentObjectsForEveryThreadTemporariesPerThread) {
  HWND hRaw = ::CreateWindowExA(0, "STATIC", "raw", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(hRaw, nullptr);
  CWnd* pTemp = CWnd::FromHandle(hRaw);
  ASSERT_NE(pTemp, nullptr);
  EXPECT_EQ(pTemp->m_hWnd, hRaw);
  EXPECT_EQ(CWnd::FromHandle(hRaw), pTemp);  // the same wrapper until idle time
  EXPECT_EQ(CWnd::FromHandlePermanent(hRaw), nullptr);

  CWnd owned;
  ASSERT_TRUE(owned.CreateEx(0, AfxRegisterWndClass(0), "owned", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  EXPECT_EQ(CWnd::FromHandle(owned.m_hWnd), &owned);

  CWnd* pWorkerPermanent = nullptr;
  CWnd* pWorkerTemp = nullptr;
  HWND hWorkerTemp = nullptr;
  DWORD dwStyle = 0;
  std::thread worker([&] {
    pWorkerPermanent = CWnd::FromHandle(owned.m_hWnd);
    pWorkerTemp = CWnd::FromHandle(hRaw);
    hWorkerTemp = pWorkerTemp->m_hWnd;
    dwStyle = pWorkerPermanent->GetStyle();  // wrappers work on any thread
    AfxDeleteTempMaps();
  });
  worker.join();
  EXPECT_EQ(pWorkerPermanent, &owned);
  EXPECT_NE(pWorkerTemp, pTemp);
  EXPECT_EQ(hWorkerTemp, hRaw);
  EXPECT_TRUE(dwStyle & WS_POPUP);
  EXPECT_EQ(pTemp->m_hWnd, hRaw);  // the worker's clean-up left ours alone

  // Attaching makes an object the owner; detaching hands the handle back.
  CWnd attached;
  ASSERT_TRUE(attached.Attach(hRaw));
  EXPECT_EQ(CWnd::FromHandlePermanent(hRaw), &attached);
  EXPECT_EQ(attached.Detach(), hRaw);
  EXPECT_EQ(CWnd::FromHandlePermanent(hRaw), nullptr);
  AfxDeleteTempMaps();
  ::DestroyWindow(hRaw);
  owned.DestroyWindow();
}

// ----- subclassing a control -----

class CSubclassedButton : public CWnd {
 public:
  int m_nPreSubclass = 0;
  void PreSubclassWindow() override { m_nPreSubclass++; }

 protected:
  afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam) {
    Log("gettext");
    return Default();
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSubclassedButton, CWnd)
  ON_MESSAGE(WM_GETTEXT, &CSubclassedButton::OnGetText)
END_MESSAGE_MAP()

TEST(Subclass, MessagesReachTheMapAndTheControlsOwnProcedure) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
  HWND hButton = ::CreateWindowExA(0, "BUTTON", "押す", WS_CHILD | BS_PUSHBUTTON, 0, 0, 50, 20, parent.m_hWnd,
                                   (HMENU)100, nullptr, nullptr);
  WNDPROC original = (WNDPROC)::GetWindowLongPtrA(hButton, GWLP_WNDPROC);
  CSubclassedButton button;
  ASSERT_TRUE(button.SubclassDlgItem(100, &parent));
  EXPECT_EQ(button.m_nPreSubclass, 1);
  EXPECT_EQ(CWnd::FromHandlePermanent(hButton), &button);
  fwtest::g_log.clear();
  CString text;
  button.GetWindowText(text);
  EXPECT_STREQ(text, "押す");
  EXPECT_EQ(Joined(), "gettext");
  EXPECT_EQ(button.UnsubclassWindow(), hButton);
  EXPECT_EQ((WNDPROC)::GetWindowLongPtrA(hButton, GWLP_WNDPROC), original);
  parent.DestroyWindow();
}

// ----- reflection and owner-draw -----

class CReflectingButton : public CWnd {
 public:
  BOOL m_bPassClicks = FALSE;
  int m_nDrawn = 0;
  HBRUSH m_hbr = (HBRUSH)::GetStockObject(BLACK_BRUSH);

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
    if (message == WM_DRAWITEM) {
      m_nDrawn++;  // a control that draws itself
      if (pResult) *pResult = TRUE;
      return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
  }
  afx_msg BOOL OnClickedReflect() {
    Log("child clicked");
    return !m_bPassClicks;
  }
  afx_msg void OnNotifyReflect(NMHDR* pNMHDR, LRESULT* pResult) {
    Log(Fmt("child notify %d", (int)pNMHDR->code));
    *pResult = 9;
  }
  afx_msg HBRUSH CtlColor(CDC*, UINT nCtlColor) {
    Log(Fmt("child ctlcolor %u", nCtlColor));
    return m_hbr;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CReflectingButton, CWnd)
  ON_CONTROL_REFLECT_EX(BN_CLICKED, &CReflectingButton::OnClickedReflect)
  ON_NOTIFY_REFLECT(NM_CLICK, &CReflectingButton::OnNotifyReflect)
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CParentWnd : public CWnd {
 protected:
  afx_msg void OnClicked() { Log("parent clicked"); }
  afx_msg void OnNotifyClick(NMHDR*, LRESULT* pResult) {
    Log("parent notify");
    *pResult = 1;
  }
  afx_msg void OnOtherClicked(UINT nID) { Log(Fmt("parent range %u", nID)); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CParentWnd, CWnd)
  ON_BN_CLICKED(100, &CParentWnd::OnClicked)
  ON_CONTROL_RANGE(BN_CLICKED, 200, 209, &CParentWnd::OnOtherClicked)
  ON_NOTIFY(NM_CLICK, 100, &CParentWnd::OnNotifyClick)
  ON_NOTIFY(NM_CLICK, 101, &CParentWnd::OnNotifyClick)
END_MESSAGE_MAP()

TEST(Reflection, ControlsHandleTheirOwnNotificationsFirst) {
  CParentWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
  CReflectingButton button;
  ASSERT_TRUE(button.Create("BUTTON", "b", WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 60, 20), &parent, 100));
  HWND hPlain = ::CreateWindowExA(0, "BUTTON", "p", WS_CHILD, 0, 30, 60, 20, parent.m_hWnd, (HMENU)205, nullptr, nullptr);
  fwtest::g_log.clear();

  struct {
    BOOL bPass;
    UINT nID;
    HWND hCtrl;
    const char* expected;
  } clicks[] = {
      {FALSE, 100, button.m_hWnd, "child clicked"},
      {TRUE, 100, button.m_hWnd, "child clicked|parent clicked"},
      {FALSE, 205, hPlain, "parent range 205"},
  };
  for (auto& c : clicks) {
    button.m_bPassClicks = c.bPass;
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(c.nID, BN_CLICKED), (LPARAM)c.hCtrl);
    EXPECT_EQ(Joined(), c.expected);
  }

  NMHDR nm = {button.m_hWnd, 100, (UINT)NM_CLICK};
  EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 100, (LPARAM)&nm), 9);
  EXPECT_EQ(Joined(), "child notify -2");
  NMHDR nmPlain = {hPlain, 101, (UINT)NM_CLICK};
  EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 101, (LPARAM)&nmPlain), 1);
  EXPECT_EQ(Joined(), "parent notify");

  HDC hdc = ::GetDC(button.m_hWnd);
  EXPECT_EQ(parent.SendMessage(WM_CTLCOLORBTN, (WPARAM)hdc, (LPARAM)button.m_hWnd), (LRESULT)button.m_hbr);
  EXPECT_EQ(Joined(), "child ctlcolor 3");
  ::ReleaseDC(button.m_hWnd, hdc);

  // The system's owner-draw request goes to the parent, which reflects it.
  parent.ShowWindow(SW_SHOWNOACTIVATE);
  button.Invalidate();
  button.UpdateWindow();
  EXPECT_GE(button.m_nDrawn, 1);
  parent.DestroyWindow();
}

// ----- tooltips -----

class CTipParent : public CWnd {};

TEST(ToolTips, TheThreadsToolTipFollowsTheMouseAndAsksTheStringTable) {
  fwtest::ResourceScope res;
  CTipParent parent;
  ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, 50, 50, 300, 200, nullptr, nullptr));
  HWND hButton = ::CreateWindowExA(0, "BUTTON", "tip", WS_CHILD | WS_VISIBLE, 10, 10, 80, 30, parent.m_hWnd,
                                   (HMENU)IDC_TIP_BUTTON, nullptr, nullptr);
  parent.EnableToolTips(TRUE);

  // A mouse move over the button passes the pump's pre-translation.
  MSG msg = {hButton, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)};
  msg.pt = {50 + 15, 50 + 15};
  msg.time = ::GetTickCount();
  AfxPreTranslateMessage(&msg);
  bool found = false;
  for (HWND hTip : testsupport::WindowsOf(::GetCurrentProcessId(), TOOLTIPS_CLASSA, true)) {
    if (::GetWindowThreadProcessId(hTip, nullptr) != ::GetCurrentThreadId()) continue;
    if (::SendMessageA(hTip, TTM_GETTOOLCOUNT, 0, 0) == 1) found = true;
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    if (::SendMessageA(hTip, TTM_ENUMTOOLSA, 0, (LPARAM)&ti)) {
      EXPECT_EQ(ti.hwnd, parent.m_hWnd);
      EXPECT_EQ(ti.uId, (UINT_PTR)hButton);
    }
  }
  EXPECT_TRUE(found);

  // The text callback is answered from the string's part after "\n".
  NMTTDISPINFOA di = {};
  di.hdr.hwndFrom = nullptr;
  di.hdr.idFrom = (UINT_PTR)hButton;
  di.hdr.code = TTN_NEEDTEXTA;
  di.uFlags = TTF_IDISHWND;
  parent.SendMessage(WM_NOTIFY, 0, (LPARAM)&di);
  ASSERT_NE(di.lpszText, nullptr);
  EXPECT_STREQ(di.lpszText, "ボタンのヒント");

  // Leaving the button removes the tool.
  msg.hwnd = parent.m_hWnd;
  msg.pt = {50 + 200, 50 + 150};
  AfxPreTranslateMessage(&msg);
  CWnd::CancelToolTips();
  parent.DestroyWindow();
}

// ----- modal loops -----

TEST(ModalLoop, EndsFromATimerAndFromANestedPump) {
  CWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  static CWnd* s_pWnd;
  s_pWnd = &wnd;
  ::SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    // A nested pump inside the modal loop ends it; the loop notices when it gets back.
    fwtest::PumpPending();
    s_pWnd->EndModalLoop(17);
  });
  EXPECT_EQ(wnd.RunModalLoop(MLF_NOIDLEMSG), 17);
  EXPECT_FALSE(wnd.ContinueModal());
  wnd.DestroyWindow();
}

TEST(Placement, CentredAndKeptInsideTheWorkArea) {
  struct {
    RECT wnd, center, area;
    POINT expected;
  } cases[] = {
      {{0, 0, 100, 50}, {0, 0, 400, 300}, {0, 0, 1280, 1024}, {150, 125}},
      {{0, 0, 100, 50}, {1200, 0, 1280, 100}, {0, 0, 1280, 1024}, {1180, 25}},  // pushed back left
      {{0, 0, 100, 50}, {-100, -100, 0, 0}, {0, 0, 1280, 1024}, {0, 0}},         // pushed down and right
      {{0, 0, 2000, 50}, {0, 0, 400, 300}, {0, 0, 1280, 1024}, {0, 125}},        // wider than the area: left edge
  };
  for (auto& c : cases) {
    POINT pt = AfxCenterRectPos(c.wnd, c.center, c.area);
    EXPECT_EQ(pt.x, c.expected.x);
    EXPECT_EQ(pt.y, c.expected.y);
  }
}

}  // namespace
