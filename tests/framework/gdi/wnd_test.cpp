// The parts of the GDI and menu families that need a window: the window DCs and popup menus.
#include <gtest/gtest.h>

#include "canvas.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);

class PaintWnd : public CWnd {
 public:
  int m_nPaints = 0;
  CRect m_rcPaint;
  bool m_bOwnerFound = false;

  BOOL Make() {
    return CreateEx(0, AfxRegisterWndClass(0, nullptr, (HBRUSH)::GetStockObject(WHITE_BRUSH)), "paint",
                    WS_POPUP | WS_VISIBLE, 0, 0, 60, 40, nullptr, nullptr);
  }

 protected:
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    m_nPaints++;
    m_rcPaint = dc.m_ps.rcPaint;
    m_bOwnerFound = CDC::FromHandle(dc.m_hDC) == &dc;
    dc.FillSolidRect(0, 0, 10, 10, kRed);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PaintWnd, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(WindowDc, PaintDcPaintsAndValidates) {
  PaintWnd wnd;
  ASSERT_TRUE(wnd.Make());
  wnd.UpdateWindow();
  EXPECT_EQ(wnd.m_nPaints, 1);
  EXPECT_EQ(wnd.m_rcPaint, CRect(0, 0, 60, 40));
  EXPECT_TRUE(wnd.m_bOwnerFound);
  EXPECT_FALSE(::GetUpdateRect(wnd.m_hWnd, nullptr, FALSE));  // EndPaint validated it
  {
    CClientDC client(&wnd);
    ASSERT_NE(client.GetSafeHdc(), nullptr);
    EXPECT_EQ(client.GetPixel(5, 5), kRed);
    EXPECT_EQ(client.GetPixel(20, 20), RGB(255, 255, 255));
    CWindowDC window(&wnd);
    EXPECT_NE(window.GetSafeHdc(), nullptr);
  }
  wnd.DestroyWindow();
}

class OwnerWnd : public CWnd {
 public:
  BOOL Make() {
    return CreateEx(0, AfxRegisterWndClass(0), "owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr);
  }
};

// What the timer does inside the popup's message loop.
HWND s_hOwner;
void CALLBACK CancelPopup(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  ::PostMessageA(s_hOwner, WM_CANCELMODE, 0, 0);
}
void CALLBACK ChooseSecond(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  ::PostMessageA(s_hOwner, WM_KEYDOWN, VK_DOWN, 0);
  ::PostMessageA(s_hOwner, WM_KEYDOWN, VK_DOWN, 0);
  ::PostMessageA(s_hOwner, WM_KEYDOWN, VK_RETURN, 0);
}
// Ends any popup still open after ten seconds, so that a failure can't hang the test; a
// popup it had to end was not ended by the action (a bound on time would fail under load).
bool s_bRescued;
void CALLBACK Rescue(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  s_bRescued = true;
  ::EndMenu();
}

TEST(MenuTrack, PopupReturnsTheChosenCommandOrZero) {
  OwnerWnd owner;
  ASSERT_TRUE(owner.Make());
  s_hOwner = owner.m_hWnd;
  CMenu menu;
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, 100, "最初");
  menu.AppendMenu(MF_STRING, 200, "二番目");

  struct Case {
    TIMERPROC action;
    UINT_PTR result;
  } cases[] = {{CancelPopup, 0}, {ChooseSecond, 200}};
  for (const Case& k : cases) {
    ::SetTimer(nullptr, 0, 50, k.action);
    s_bRescued = false;
    UINT_PTR rescue = ::SetTimer(nullptr, 0, 10000, Rescue);
    BOOL r = menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, 10, 10, &owner);
    EXPECT_EQ((UINT_PTR)r, k.result);
    EXPECT_FALSE(s_bRescued);
    ::KillTimer(nullptr, rescue);
  }
  TPMPARAMS tpm = {sizeof(TPMPARAMS), {0, 0, 5, 5}};
  ::SetTimer(nullptr, 0, 50, CancelPopup);
  s_bRescued = false;
  UINT_PTR rescue = ::SetTimer(nullptr, 0, 10000, Rescue);
  EXPECT_EQ(menu.TrackPopupMenuEx(TPM_RETURNCMD, 10, 10, &owner, &tpm), 0);
  EXPECT_FALSE(s_bRescued);
  ::KillTimer(nullptr, rescue);

  // Without an owner there is nothing to show.
  EXPECT_FALSE(menu.TrackPopupMenu(TPM_RETURNCMD, 10, 10, nullptr));
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
  owner.DestroyWindow();
}

}  // namespace
