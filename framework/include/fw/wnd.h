// CWnd: a C++ object attached to a window handle.
//
// Handle maps: a window created or subclassed through a CWnd is in the process-wide
// permanent map, so FromHandle gives that object on every thread and in every module.
// FromHandle of any other window gives a temporary CWnd that belongs to the calling
// thread and is deleted at that thread's next idle time (or when it ends).
//
// Every window of ours runs AfxWndProc: it calls the virtual WindowProc, which runs
// OnWndMsg (the message map) and else DefWindowProc (the window's original procedure).
// No C++ exception leaves a window procedure.
//
// The wrapper members are plain calls on m_hWnd without thread checks: worker threads
// use them.
//
// Controls and reflection: a parent's WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*, WM_DRAWITEM,
// WM_MEASUREITEM, WM_COMPAREITEM, WM_DELETEITEM, WM_CHARTOITEM, WM_VKEYTOITEM, WM_HSCROLL,
// WM_VSCROLL and WM_PARENTNOTIFY (create/destroy) are first offered to the child they
// concern: its virtual OnChildNotify, whose default, ReflectChildNotify, looks up the
// child's ON_..._REFLECT entries. A control class that draws its items overrides
// OnChildNotify (WM_DRAWITEM -> its virtual DrawItem, WM_MEASUREITEM -> MeasureItem) or
// maps ON_WM_DRAWITEM_REFLECT; when the child handles the message, the parent's map
// never sees it.
#pragma once
#include <fw/fwdefs.h>
#include <fw/object.h>
#include <fw/string.h>
#include <fw/geometry.h>
#include <fw/cmdtarget.h>
#include <fw/gdi.h>
#include <fw/menu.h>

// <windowsx.h> and <winuser.h> macros that would break members of the same names.
#undef SubclassWindow
#undef GetNextWindow

class CWnd;
class CFrameWnd;
class CScrollBar;
class CListBox;
class CDataExchange;
struct CCreateContext;

// Messages of the framework (0x0360..0x037F).
#define WM_QUERYAFXWNDPROC 0x0360  // answered 1 by every window running AfxWndProc
#define WM_SIZEPARENT 0x0361       // lParam: AFX_SIZEPARENTPARAMS*; bars take their room
#define WM_SETMESSAGESTRING 0x0362 // wParam: string id, or lParam: text; to a frame
#define WM_IDLEUPDATECMDUI 0x0363  // wParam: disable commands without handlers
#define WM_INITIALUPDATE 0x0364    // sent to views when their frame is first shown
#define WM_COMMANDHELP 0x0365
#define WM_HELPHITTEST 0x0366
#define WM_EXITHELPMODE 0x0367
#define WM_RECALCPARENT 0x0368     // a bar asks its frame to lay out again
#define WM_SIZECHILD 0x0369
#define WM_KICKIDLE 0x036A         // posted to get an idle pass
#define WM_QUERYCENTERWND 0x036B
#define WM_DISABLEMODAL 0x036C
#define WM_FLOATSTATUS 0x036D
#define WM_ACTIVATETOPLEVEL 0x036E
#define WM_POPMESSAGESTRING 0x0375 // like WM_SETMESSAGESTRING, unless a menu prompt is up

// The old combined colour message: ON_WM_CTLCOLOR handlers get every WM_CTLCOLOR*.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

// m_nFlags of CWnd.
#define WF_TOOLTIPS 0x0001       // EnableToolTips(TRUE)
#define WF_TEMPHIDE 0x0002
#define WF_STAYDISABLED 0x0004
#define WF_MODALLOOP 0x0008      // inside RunModalLoop
#define WF_CONTINUEMODAL 0x0010  // RunModalLoop goes on while set
#define WF_ISFRAMEWND 0x0020
#define WF_NOPOPMSG 0x0040
#define WF_CLOSING 0x0080
#define WF_KEEPMINIACTIVE 0x0100
#define WF_TEMPOBJECT 0x0200     // a temporary wrapper from FromHandle
#define WF_MODALDISABLE 0x0400

// RunModalLoop flags.
#define MLF_NOIDLEMSG 0x0001
#define MLF_NOKICKIDLE 0x0002
#define MLF_SHOWONIDLE 0x0004
// The loop's pumps hold what would close another window or end the program while it runs
// (CCloseHolder); they are posted again when it ends. A loop nested in one that holds
// (a message box of the dialog) holds too.
#define MLF_HOLDCLOSES 0x0008

// How many of the framework's modal loops (dialogs from their creation on, message boxes)
// run on the calling thread now. A window that code waiting in such a loop stands on (its
// frame, its panes, its plug-ins) must not be destroyed from inside it.
FW_API int AFXAPI AfxGetModalLoopDepth();

// RepositionBars modes.
#define reposDefault 0
#define reposQuery 1
#define reposExtra 2

// Layout record of WM_SIZEPARENT: each bar takes its room from rect.
struct AFX_SIZEPARENTPARAMS {
  HDWP hDWP;        // deferred positions, or null in query mode
  RECT rect;        // the room left for the following children
  SIZE sizeTotal;   // what the bars took
  BOOL bStretch;    // bars stretch to the whole length
};

// Registers (once) a window class with these attributes; returns its name. The name is
// valid for the life of the process.
FW_API LPCSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = 0, HBRUSH hbrBackground = 0,
                                         HICON hIcon = 0);
FW_API BOOL AFXAPI AfxRegisterClass(WNDCLASSA* lpWndClass);
// Window classes of the framework, registered at start-up.
#define AFX_WND "AfxWnd"                     // child windows: CS_DBLCLKS
#define AFX_WNDFRAMEORVIEW "AfxFrameOrView"  // frames and views: redraws, arrow cursor
#define AFX_WNDCONTROLBAR "AfxControlBar"
#define AFX_WNDMDIFRAME "AfxMDIFrame"

FW_API LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
FW_API LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0);
FW_API WNDPROC AFXAPI AfxGetAfxWndProc();
// Subclasses the next window this thread creates to pWnd (CreateEx and dialogs use it).
FW_API void AFXAPI AfxHookWindowCreate(CWnd* pWnd);
// FALSE when no window was created since the hook (the creation failed early).
FW_API BOOL AFXAPI AfxUnhookWindowCreate();

FW_API CWnd* AFXAPI AfxGetMainWnd();

// Top-left corner that centres a window of rcWnd's size on rcCenter, moved back inside
// rcArea where it would stick out (CenterWindow's rule).
FW_API POINT AFXAPI AfxCenterRectPos(const RECT& rcWnd, const RECT& rcCenter, const RECT& rcArea);
// Moves a child to lpRect (parent client coordinates) unless it is there already; through
// the deferred positions of lpLayout when given.
FW_API void AFXAPI AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);
// The window's id when it is a child; 0 for top-level windows.
FW_API int AFXAPI AfxGetDlgCtrlID(HWND hWnd);
// The window's whole text (any length).
FW_API void AFXAPI AfxGetWindowText(HWND hWnd, CString& rString);

class FW_API CWnd : public CCmdTarget {
  DECLARE_DYNCREATE(CWnd)
 public:
  HWND m_hWnd;
  HWND m_hWndOwner;   // owner set by SetOwner for child windows (GetOwner)
  UINT m_nFlags;      // WF_*
  WNDPROC m_pfnSuper; // the window's procedure before AfxWndProc
  int m_nModalResult; // result of RunModalLoop

  // Special window positions for SetWindowPos.
  static const CWnd wndTop;
  static const CWnd wndBottom;
  static const CWnd wndTopMost;
  static const CWnd wndNoTopMost;

  CWnd();
  explicit CWnd(HWND hWnd);
  ~CWnd() override;

  // Null-safe: callers write pWnd->GetSafeHwnd() on pointers that may be null.
  HWND GetSafeHwnd() const {
    const CWnd* self = this;
    __asm__("" : "+r"(self));
    return self ? self->m_hWnd : nullptr;
  }
  operator HWND() const { return GetSafeHwnd(); }
  BOOL operator==(const CWnd& wnd) const { return GetSafeHwnd() == wnd.m_hWnd; }
  BOOL operator!=(const CWnd& wnd) const { return GetSafeHwnd() != wnd.m_hWnd; }

  // ----- handle maps -----
  static CWnd* PASCAL FromHandle(HWND hWnd);
  static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
  static void PASCAL DeleteTempMap();  // this thread's temporary wrappers
  BOOL Attach(HWND hWndNew);
  HWND Detach();
  // Makes this object run the window's messages (the window keeps its old procedure as
  // the default); PreSubclassWindow runs first.
  BOOL SubclassWindow(HWND hWnd);
  BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
  HWND UnsubclassWindow();

  // ----- creation -----
  virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                      CWnd* pParentWnd, UINT nID, CCreateContext* pContext = NULL);
  virtual BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x,
                        int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = NULL);
  BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, LPVOID lpParam = NULL);
  virtual BOOL DestroyWindow();
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
  virtual void PreSubclassWindow();
  virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = 0);  // adjustBorder 0, adjustOutside 1

  // ----- message handling -----
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The current message, passed to DefWindowProc.
  LRESULT Default();
  static const MSG* PASCAL GetCurrentMessage();
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  // Offers pMsg to PreTranslateMessage of its window and each parent up to hWndStop.
  static BOOL PASCAL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
  virtual void PostNcDestroy();  // the window is gone; CWnd does nothing (frames and views delete)
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // Offers the current message to hWndChild's OnChildNotify; TRUE when it took it.
  static BOOL PASCAL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = NULL);
  BOOL SendChildNotifyLastMsg(LRESULT* pResult = NULL);
  virtual BOOL IsFrameWnd() const;
  virtual WNDPROC* GetSuperWndProcAddr();

  // Data exchange with the window's controls (dialogs and form views).
  virtual BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
  virtual void DoDataExchange(CDataExchange* pDX);

  // A dialog window for this object from a template of the resource chain, or in memory
  // (hInst: where its resources come from). FALSE when creation failed (PostNcDestroy has
  // run: a view is gone) or EndDialog was called during OnInitDialog. The window is
  // modeless until someone runs RunModalLoop.
  BOOL CreateDlg(LPCSTR lpszTemplateName, CWnd* pParentWnd);
  BOOL CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst = NULL);

  // Modal loops (dialogs and anything else that runs one).
  int RunModalLoop(DWORD dwFlags = 0);
  virtual BOOL ContinueModal();
  virtual void EndModalLoop(int nResult);

  // ----- tooltips -----
  // Tooltips of this window's children and of OnToolHitTest, shown by the thread's one
  // tooltip control, which FilterToolTipMessage drives from the message pump.
  BOOL EnableToolTips(BOOL bEnable = TRUE);
  void FilterToolTipMessage(MSG* pMsg);
  static void PASCAL CancelToolTips(BOOL bKeys = FALSE);
  // The tool under point (client coordinates): its id and, in pTI, window, id, rectangle
  // and text (LPSTR_TEXTCALLBACK: asked by TTN_NEEDTEXT; the default answers with the
  // part after "\n" of the string with the control's id). -1: no tool.
  virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const;

  // ----- window text and font -----
  void SetWindowText(LPCSTR lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }
  int GetWindowText(LPSTR lpszStringBuf, int nMaxCount) const { return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount); }
  void GetWindowText(CString& rString) const;
  int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
  void SetFont(CFont* pFont, BOOL bRedraw = TRUE) {
    ::SendMessageA(m_hWnd, WM_SETFONT, (WPARAM)(pFont ? pFont->GetSafeHandle() : NULL), bRedraw);
  }
  CFont* GetFont() const { return CFont::FromHandle((HFONT)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)); }

  // ----- state -----
  BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
  BOOL IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, pWnd->GetSafeHwnd()); }
  BOOL IsWindow() const { return m_hWnd != NULL && ::IsWindow(m_hWnd); }
  void UpdateWindow() { ::UpdateWindow(m_hWnd); }
  void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, NULL, bErase); }
  void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
  void InvalidateRgn(CRgn* pRgn, BOOL bErase = TRUE) {
    ::InvalidateRgn(m_hWnd, pRgn ? (HRGN)pRgn->GetSafeHandle() : NULL, bErase);
  }
  void ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
  void ValidateRgn(CRgn* pRgn) { ::ValidateRgn(m_hWnd, pRgn ? (HRGN)pRgn->GetSafeHandle() : NULL); }
  BOOL RedrawWindow(LPCRECT lpRectUpdate = NULL, CRgn* prgnUpdate = NULL,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) {
    return ::RedrawWindow(m_hWnd, lpRectUpdate, prgnUpdate ? (HRGN)prgnUpdate->GetSafeHandle() : NULL, flags);
  }
  void SetRedraw(BOOL bRedraw = TRUE) { ::SendMessageA(m_hWnd, WM_SETREDRAW, bRedraw, 0); }
  BOOL LockWindowUpdate() { return ::LockWindowUpdate(m_hWnd); }
  void UnlockWindowUpdate() { ::LockWindowUpdate(NULL); }
  BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE) { return ::GetUpdateRect(m_hWnd, lpRect, bErase); }
  int GetUpdateRgn(CRgn* pRgn, BOOL bErase = FALSE) {
    return ::GetUpdateRgn(m_hWnd, (HRGN)pRgn->GetSafeHandle(), bErase);
  }
  void ShowOwnedPopups(BOOL bShow = TRUE) { ::ShowOwnedPopups(m_hWnd, bShow); }
  BOOL FlashWindow(BOOL bInvert) { return ::FlashWindow(m_hWnd, bInvert); }

  // ----- size and position -----
  void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE) {
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
  }
  void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE) {
    ::MoveWindow(m_hWnd, lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                 bRepaint);
  }
  BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    return ::SetWindowPos(m_hWnd, pWndInsertAfter->GetSafeHwnd(), x, y, cx, cy, nFlags);
  }
  void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
  void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
  void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
  void ClientToScreen(LPRECT lpRect) const { ::MapWindowPoints(m_hWnd, NULL, (LPPOINT)lpRect, 2); }
  void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
  void ScreenToClient(LPRECT lpRect) const { ::MapWindowPoints(NULL, m_hWnd, (LPPOINT)lpRect, 2); }
  void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const {
    ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), lpPoint, nCount);
  }
  void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const {
    ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), (LPPOINT)lpRect, 2);
  }
  BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const {
    lpwndpl->length = sizeof(WINDOWPLACEMENT);
    return ::GetWindowPlacement(m_hWnd, lpwndpl);
  }
  BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl) { return ::SetWindowPlacement(m_hWnd, lpwndpl); }
  // Centres on pAlternateOwner, else the owner (the main window for dialogs), else the
  // work area; kept inside the work area.
  void CenterWindow(CWnd* pAlternateOwner = NULL);
  void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
  int SetWindowRgn(HRGN hRgn, BOOL bRedraw) { return ::SetWindowRgn(m_hWnd, hRgn, bRedraw); }
  int GetWindowRgn(HRGN hRgn) const { return ::GetWindowRgn(m_hWnd, hRgn); }

  // ----- relatives -----
  CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
  CWnd* SetParent(CWnd* pWndNewParent) { return FromHandle(::SetParent(m_hWnd, pWndNewParent->GetSafeHwnd())); }
  CWnd* GetOwner() const { return m_hWndOwner ? FromHandle(m_hWndOwner) : GetParent(); }
  void SetOwner(CWnd* pOwnerWnd) { m_hWndOwner = pOwnerWnd->GetSafeHwnd(); }
  CWnd* GetTopLevelParent() const;
  CWnd* GetTopLevelOwner() const;
  CWnd* GetParentOwner() const;
  CFrameWnd* GetParentFrame() const;
  CFrameWnd* GetTopLevelFrame() const;
  CWnd* GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
  CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const { return FromHandle(::GetWindow(m_hWnd, nFlag)); }
  CWnd* GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
  CWnd* GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }
  CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
  void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                BOOL bOnlyPerm = FALSE);
  CWnd* ChildWindowFromPoint(POINT point) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, point)); }
  CWnd* ChildWindowFromPoint(POINT point, UINT nFlags) const {
    return FromHandle(::ChildWindowFromPointEx(m_hWnd, point, nFlags));
  }
  static CWnd* PASCAL WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }
  static CWnd* PASCAL FindWindow(LPCSTR lpszClassName, LPCSTR lpszWindowName) {
    return FromHandle(::FindWindowA(lpszClassName, lpszWindowName));
  }
  static CWnd* PASCAL GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
  static CWnd* PASCAL GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
  CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
  static CWnd* PASCAL GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
  BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
  static CWnd* PASCAL GetFocus() { return FromHandle(::GetFocus()); }
  CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
  static CWnd* PASCAL GetCapture() { return FromHandle(::GetCapture()); }
  CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
  // The window a dialog or message box is owned by: pParent's top-level window, else the
  // main window; disabled owners are fine (the modal loop enables them again).
  static HWND PASCAL GetSafeOwner_(HWND hParent, HWND* pWndTop);
  static CWnd* PASCAL GetSafeOwner(CWnd* pParent = NULL, HWND* pWndTop = NULL);

  // ----- styles and ids -----
  DWORD GetStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_STYLE); }
  DWORD GetExStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE); }
  // nFlags != 0: also SetWindowPos(nFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE).
  BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0) {
    return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags);
  }
  BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0) {
    return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags);
  }
  static BOOL PASCAL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
  static BOOL PASCAL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  int SetDlgCtrlID(int nID) { return (int)::SetWindowLongPtrA(m_hWnd, GWLP_ID, nID); }

  // ----- messages and timers -----
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
  }
  BOOL SendNotifyMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendNotifyMessageA(m_hWnd, message, wParam, lParam);
  }
  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, void(CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD) = NULL) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
  }
  BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

  // ----- dialog items -----
  CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
  void GetDlgItem(int nID, HWND* phWnd) const { *phWnd = ::GetDlgItem(m_hWnd, nID); }
  void SetDlgItemText(int nID, LPCSTR lpszString) { ::SetDlgItemTextA(m_hWnd, nID, lpszString); }
  int GetDlgItemText(int nID, LPSTR lpStr, int nMaxCount) const {
    return (int)::GetDlgItemTextA(m_hWnd, nID, lpStr, nMaxCount);
  }
  int GetDlgItemText(int nID, CString& rString) const;
  void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE) { ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned); }
  UINT GetDlgItemInt(int nID, BOOL* lpTrans = NULL, BOOL bSigned = TRUE) const {
    return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
  }
  void CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
  UINT IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }
  void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    ::CheckRadioButton(m_hWnd, nIDFirstButton, nIDLastButton, nIDCheckButton);
  }
  int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const;
  LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendDlgItemMessageA(m_hWnd, nID, message, wParam, lParam);
  }
  CWnd* GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const {
    return FromHandle(::GetNextDlgGroupItem(m_hWnd, pWndCtl->GetSafeHwnd(), bPrevious));
  }
  CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const {
    return FromHandle(::GetNextDlgTabItem(m_hWnd, pWndCtl->GetSafeHwnd(), bPrevious));
  }
  BOOL IsDialogMessage(LPMSG lpMsg) { return ::IsDialogMessageA(m_hWnd, lpMsg); }
  // Dialog keys (tab, arrows, Enter, Esc) for this window's controls: IsDialogMessage for
  // keyboard and mouse messages only.
  BOOL PreTranslateInput(LPMSG lpMsg);

  // ----- scrolling -----
  int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw); }
  int GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }
  void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE) {
    ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw);
  }
  void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const {
    ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos);
  }
  BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
  BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL) const;
  // The highest position the scroll bar can take (range max minus page + 1).
  int GetScrollLimit(int nBar) const;
  void ShowScrollBar(UINT nBar, BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, nBar, bShow); }
  BOOL EnableScrollBar(int nSBFlags, UINT nArrowFlags = ESB_ENABLE_BOTH) {
    return ::EnableScrollBar(m_hWnd, nSBFlags, nArrowFlags);
  }
  void EnableScrollBarCtrl(int nBar, BOOL bEnable = TRUE);
  // A sibling scroll-bar control standing in for the window's own bar; null by default.
  virtual CScrollBar* GetScrollBarCtrl(int nBar) const;
  void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = NULL, LPCRECT lpClipRect = NULL) {
    ::ScrollWindow(m_hWnd, xAmount, yAmount, lpRect, lpClipRect);
  }
  int ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* prgnUpdate,
                     LPRECT lpRectUpdate, UINT flags) {
    return ::ScrollWindowEx(m_hWnd, dx, dy, lpRectScroll, lpRectClip,
                            prgnUpdate ? (HRGN)prgnUpdate->GetSafeHandle() : NULL, lpRectUpdate, flags);
  }

  // ----- layout of bars -----
  // Bars with ids nIDFirst..nIDLast take their room (WM_SIZEPARENT); the child nIDLeftOver
  // gets the rest. reposQuery only computes the rest into lpRectParam; reposExtra keeps
  // the border lpRectParam around the rest.
  void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag = reposDefault,
                      LPRECT lpRectParam = NULL, LPCRECT lpRectClient = NULL, BOOL bStretch = TRUE);

  // ----- properties, files, menus, DCs, icons, caret -----
  BOOL SetProp(LPCSTR lpString, HANDLE hData) { return ::SetPropA(m_hWnd, lpString, hData); }
  HANDLE GetProp(LPCSTR lpString) const { return ::GetPropA(m_hWnd, lpString); }
  HANDLE RemoveProp(LPCSTR lpString) { return ::RemovePropA(m_hWnd, lpString); }
  void DragAcceptFiles(BOOL bAccept = TRUE) { ::DragAcceptFiles(m_hWnd, bAccept); }
  CMenu* GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
  BOOL SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu ? pMenu->GetSafeHmenu() : NULL); }
  void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
  CMenu* GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }
  CDC* GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
  CDC* GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
  CDC* GetDCEx(CRgn* prgnClip, DWORD flags) {
    return CDC::FromHandle(::GetDCEx(m_hWnd, prgnClip ? (HRGN)prgnClip->GetSafeHandle() : NULL, flags));
  }
  int ReleaseDC(CDC* pDC) { return ::ReleaseDC(m_hWnd, pDC->GetSafeHdc()); }
  HICON SetIcon(HICON hIcon, BOOL bBigIcon) {
    return (HICON)::SendMessageA(m_hWnd, WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, (LPARAM)hIcon);
  }
  HICON GetIcon(BOOL bBigIcon) const {
    return (HICON)::SendMessageA(m_hWnd, WM_GETICON, bBigIcon ? ICON_BIG : ICON_SMALL, 0);
  }
  void CreateSolidCaret(int nWidth, int nHeight) { ::CreateCaret(m_hWnd, NULL, nWidth, nHeight); }
  void ShowCaret() { ::ShowCaret(m_hWnd); }
  void HideCaret() { ::HideCaret(m_hWnd); }
  static void PASCAL SetCaretPos(POINT point) { ::SetCaretPos(point.x, point.y); }
  static CPoint PASCAL GetCaretPos() {
    CPoint pt;
    ::GetCaretPos(&pt);
    return pt;
  }
  BOOL OpenClipboard() { return ::OpenClipboard(m_hWnd); }
  HWND SetClipboardViewer() { return ::SetClipboardViewer(m_hWnd); }
  BOOL ChangeClipboardChain(HWND hWndNext) { return ::ChangeClipboardChain(m_hWnd, hWndNext); }
  int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = NULL, UINT nType = MB_OK);
  virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);

 protected:
  // ----- handlers the framework's own map uses (reflection to controls, clean-up) -----
  afx_msg void OnNcDestroy();
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
  afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  afx_msg int OnCompareItem(int nIDCtl, LPCOMPAREITEMSTRUCT lpCompareItemStruct);
  afx_msg void OnDeleteItem(int nIDCtl, LPDELETEITEMSTRUCT lpDeleteItemStruct);
  afx_msg int OnCharToItem(UINT nChar, CListBox* pListBox, UINT nIndex);
  afx_msg int OnVKeyToItem(UINT nKey, CListBox* pListBox, UINT nIndex);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnParentNotify(UINT message, LPARAM lParam);

  // ----- the other handlers: each runs the default procedure -----
  afx_msg int OnCreate(LPCREATESTRUCT) { return (int)Default(); }
  afx_msg void OnDestroy() { Default(); }
  afx_msg void OnSize(UINT, int, int) { Default(); }
  afx_msg void OnSizing(UINT, LPRECT) { Default(); }
  afx_msg void OnMove(int, int) { Default(); }
  afx_msg void OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
  afx_msg void OnPaint() { Default(); }
  afx_msg BOOL OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
  afx_msg void OnTimer(UINT_PTR) { Default(); }
  afx_msg void OnClose() { Default(); }
  afx_msg void OnEnable(BOOL) { Default(); }
  afx_msg void OnShowWindow(BOOL, UINT) { Default(); }
  afx_msg void OnSetFocus(CWnd*) { Default(); }
  afx_msg void OnKillFocus(CWnd*) { Default(); }
  afx_msg void OnActivate(UINT, CWnd*, BOOL) { Default(); }
  afx_msg void OnActivateApp(BOOL, DWORD) { Default(); }
  afx_msg int OnMouseActivate(CWnd*, UINT, UINT) { return (int)Default(); }
  afx_msg void OnCaptureChanged(CWnd*) { Default(); }
  afx_msg BOOL OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
  afx_msg LRESULT OnNcHitTest(CPoint) { return Default(); }
  afx_msg void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
  afx_msg BOOL OnNcActivate(BOOL) { return (BOOL)Default(); }
  afx_msg void OnNcPaint() { Default(); }
  afx_msg void OnNcMouseMove(UINT, CPoint) { Default(); }
  afx_msg void OnNcLButtonDown(UINT, CPoint) { Default(); }
  afx_msg void OnNcLButtonUp(UINT, CPoint) { Default(); }
  afx_msg void OnNcLButtonDblClk(UINT, CPoint) { Default(); }
  afx_msg void OnNcRButtonDown(UINT, CPoint) { Default(); }
  afx_msg void OnNcRButtonUp(UINT, CPoint) { Default(); }
  afx_msg void OnLButtonDown(UINT, CPoint) { Default(); }
  afx_msg void OnLButtonUp(UINT, CPoint) { Default(); }
  afx_msg void OnLButtonDblClk(UINT, CPoint) { Default(); }
  afx_msg void OnRButtonDown(UINT, CPoint) { Default(); }
  afx_msg void OnRButtonUp(UINT, CPoint) { Default(); }
  afx_msg void OnRButtonDblClk(UINT, CPoint) { Default(); }
  afx_msg void OnMButtonDown(UINT, CPoint) { Default(); }
  afx_msg void OnMButtonUp(UINT, CPoint) { Default(); }
  afx_msg void OnMButtonDblClk(UINT, CPoint) { Default(); }
  afx_msg void OnMouseMove(UINT, CPoint) { Default(); }
  afx_msg BOOL OnMouseWheel(UINT, short, CPoint) { return (BOOL)Default(); }
  afx_msg void OnMouseHover(UINT, CPoint) { Default(); }
  afx_msg void OnMouseLeave() { Default(); }
  afx_msg void OnKeyDown(UINT, UINT, UINT) { Default(); }
  afx_msg void OnKeyUp(UINT, UINT, UINT) { Default(); }
  afx_msg void OnSysKeyDown(UINT, UINT, UINT) { Default(); }
  afx_msg void OnSysKeyUp(UINT, UINT, UINT) { Default(); }
  afx_msg void OnChar(UINT, UINT, UINT) { Default(); }
  afx_msg void OnSysChar(UINT, UINT, UINT) { Default(); }
  afx_msg UINT OnGetDlgCode() { return (UINT)Default(); }
  afx_msg void OnContextMenu(CWnd*, CPoint) { Default(); }
  afx_msg BOOL OnHelpInfo(HELPINFO*) { return (BOOL)Default(); }
  afx_msg BOOL OnDeviceChange(UINT, DWORD_PTR) { return (BOOL)Default(); }
  afx_msg void OnDisplayChange(UINT, int, int) { Default(); }
  afx_msg UINT OnPowerBroadcast(UINT, LPARAM) { return (UINT)Default(); }
  afx_msg void OnInitMenu(CMenu*) { Default(); }
  afx_msg void OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
  afx_msg void OnMenuSelect(UINT, UINT, HMENU) { Default(); }
  afx_msg void OnEnterIdle(UINT, CWnd*) { Default(); }
  afx_msg void OnDropFiles(HDROP) { Default(); }
  afx_msg void OnDrawClipboard() { Default(); }
  afx_msg void OnChangeCbChain(HWND, HWND) { Default(); }
  afx_msg BOOL OnCopyData(CWnd*, COPYDATASTRUCT*) { return (BOOL)Default(); }
  afx_msg void OnSysCommand(UINT, LPARAM) { Default(); }
  afx_msg void OnSysColorChange() { Default(); }
  afx_msg void OnSettingChange(UINT, LPCSTR) { Default(); }
  afx_msg void OnWindowPosChanging(WINDOWPOS*) { Default(); }
  afx_msg void OnWindowPosChanged(WINDOWPOS*) { Default(); }
  afx_msg void OnStyleChanged(int, LPSTYLESTRUCT) { Default(); }
  afx_msg void OnCancelMode() { Default(); }
  afx_msg void OnEnterSizeMove() { Default(); }
  afx_msg void OnExitSizeMove() { Default(); }
  afx_msg BOOL OnQueryEndSession() { return (BOOL)Default(); }
  afx_msg void OnEndSession(BOOL) { Default(); }

  DECLARE_MESSAGE_MAP()

 private:
  CWnd(const CWnd&) = delete;
  void operator=(const CWnd&) = delete;
};

// For control classes that draw their own items: their OnChildNotify override starts with
//   if (AfxReflectDrawItem(this, message, lParam, pResult)) return TRUE;
// and the class's virtual DrawItem(LPDRAWITEMSTRUCT) gets the parent's WM_DRAWITEM.
template <class T>
inline BOOL AfxReflectDrawItem(T* pControl, UINT message, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_DRAWITEM) return FALSE;
  pControl->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  if (pResult) *pResult = TRUE;
  return TRUE;
}

// ----- window message map entries -----
// Each ON_WM_xxx() calls the handler of the well-known name and argument list.
#define _FW_PT CPoint(GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam))
#define _FW_VOID(msg, call) _FW_WNDMSG(msg, self->call; c.lResult = 0; return TRUE;)
#define _FW_RES(msg, type, call) _FW_WNDMSG(msg, c.lResult = (LRESULT)(type)self->call; return TRUE;)

#define ON_WM_CREATE() _FW_RES(WM_CREATE, INT_PTR, OnCreate((LPCREATESTRUCT)c.lParam))
#define ON_WM_DESTROY() _FW_VOID(WM_DESTROY, OnDestroy())
#define ON_WM_NCDESTROY() _FW_VOID(WM_NCDESTROY, OnNcDestroy())
#define ON_WM_SIZE() _FW_VOID(WM_SIZE, OnSize((UINT)c.wParam, (int)LOWORD(c.lParam), (int)HIWORD(c.lParam)))
#define ON_WM_SIZING() \
  _FW_WNDMSG(WM_SIZING, self->OnSizing((UINT)c.wParam, (LPRECT)c.lParam); c.lResult = TRUE; return TRUE;)
#define ON_WM_MOVE() _FW_VOID(WM_MOVE, OnMove(GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam)))
#define ON_WM_GETMINMAXINFO() _FW_VOID(WM_GETMINMAXINFO, OnGetMinMaxInfo((MINMAXINFO*)c.lParam))
#define ON_WM_PAINT() _FW_VOID(WM_PAINT, OnPaint())
#define ON_WM_ERASEBKGND() _FW_RES(WM_ERASEBKGND, INT_PTR, OnEraseBkgnd(CDC::FromHandle((HDC)c.wParam)))
#define ON_WM_TIMER() _FW_VOID(WM_TIMER, OnTimer((UINT_PTR)c.wParam))
#define ON_WM_CLOSE() _FW_VOID(WM_CLOSE, OnClose())
#define ON_WM_ENABLE() _FW_VOID(WM_ENABLE, OnEnable((BOOL)c.wParam))
#define ON_WM_SHOWWINDOW() _FW_VOID(WM_SHOWWINDOW, OnShowWindow((BOOL)c.wParam, (UINT)c.lParam))
#define ON_WM_SETFOCUS() _FW_VOID(WM_SETFOCUS, OnSetFocus(CWnd::FromHandle((HWND)c.wParam)))
#define ON_WM_KILLFOCUS() _FW_VOID(WM_KILLFOCUS, OnKillFocus(CWnd::FromHandle((HWND)c.wParam)))
#define ON_WM_ACTIVATE()                                                                              \
  _FW_VOID(WM_ACTIVATE, OnActivate((UINT)LOWORD(c.wParam), CWnd::FromHandle((HWND)c.lParam), \
                                   (BOOL)HIWORD(c.wParam)))
#define ON_WM_ACTIVATEAPP() _FW_VOID(WM_ACTIVATEAPP, OnActivateApp((BOOL)c.wParam, (DWORD)c.lParam))
#define ON_WM_MOUSEACTIVATE()                                                                           \
  _FW_RES(WM_MOUSEACTIVATE, INT_PTR,                                                                    \
          OnMouseActivate(CWnd::FromHandle((HWND)c.wParam), (UINT)LOWORD(c.lParam), (UINT)HIWORD(c.lParam)))
#define ON_WM_CAPTURECHANGED() _FW_VOID(WM_CAPTURECHANGED, OnCaptureChanged(CWnd::FromHandle((HWND)c.lParam)))
#define ON_WM_SETCURSOR()                                                                               \
  _FW_RES(WM_SETCURSOR, INT_PTR,                                                                        \
          OnSetCursor(CWnd::FromHandle((HWND)c.wParam), (UINT)LOWORD(c.lParam), (UINT)HIWORD(c.lParam)))
#define ON_WM_NCHITTEST() _FW_RES(WM_NCHITTEST, LRESULT, OnNcHitTest(_FW_PT))
#define ON_WM_NCCALCSIZE() _FW_VOID(WM_NCCALCSIZE, OnNcCalcSize((BOOL)c.wParam, (NCCALCSIZE_PARAMS*)c.lParam))
#define ON_WM_NCACTIVATE() _FW_RES(WM_NCACTIVATE, INT_PTR, OnNcActivate((BOOL)c.wParam))
#define ON_WM_NCPAINT() _FW_VOID(WM_NCPAINT, OnNcPaint())
#define ON_WM_NCMOUSEMOVE() _FW_VOID(WM_NCMOUSEMOVE, OnNcMouseMove((UINT)c.wParam, _FW_PT))
#define ON_WM_NCLBUTTONDOWN() _FW_VOID(WM_NCLBUTTONDOWN, OnNcLButtonDown((UINT)c.wParam, _FW_PT))
#define ON_WM_NCLBUTTONUP() _FW_VOID(WM_NCLBUTTONUP, OnNcLButtonUp((UINT)c.wParam, _FW_PT))
#define ON_WM_NCLBUTTONDBLCLK() _FW_VOID(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk((UINT)c.wParam, _FW_PT))
#define ON_WM_NCRBUTTONDOWN() _FW_VOID(WM_NCRBUTTONDOWN, OnNcRButtonDown((UINT)c.wParam, _FW_PT))
#define ON_WM_NCRBUTTONUP() _FW_VOID(WM_NCRBUTTONUP, OnNcRButtonUp((UINT)c.wParam, _FW_PT))
#define ON_WM_LBUTTONDOWN() _FW_VOID(WM_LBUTTONDOWN, OnLButtonDown((UINT)c.wParam, _FW_PT))
#define ON_WM_LBUTTONUP() _FW_VOID(WM_LBUTTONUP, OnLButtonUp((UINT)c.wParam, _FW_PT))
#define ON_WM_LBUTTONDBLCLK() _FW_VOID(WM_LBUTTONDBLCLK, OnLButtonDblClk((UINT)c.wParam, _FW_PT))
#define ON_WM_RBUTTONDOWN() _FW_VOID(WM_RBUTTONDOWN, OnRButtonDown((UINT)c.wParam, _FW_PT))
#define ON_WM_RBUTTONUP() _FW_VOID(WM_RBUTTONUP, OnRButtonUp((UINT)c.wParam, _FW_PT))
#define ON_WM_RBUTTONDBLCLK() _FW_VOID(WM_RBUTTONDBLCLK, OnRButtonDblClk((UINT)c.wParam, _FW_PT))
#define ON_WM_MBUTTONDOWN() _FW_VOID(WM_MBUTTONDOWN, OnMButtonDown((UINT)c.wParam, _FW_PT))
#define ON_WM_MBUTTONUP() _FW_VOID(WM_MBUTTONUP, OnMButtonUp((UINT)c.wParam, _FW_PT))
#define ON_WM_MBUTTONDBLCLK() _FW_VOID(WM_MBUTTONDBLCLK, OnMButtonDblClk((UINT)c.wParam, _FW_PT))
#define ON_WM_MOUSEMOVE() _FW_VOID(WM_MOUSEMOVE, OnMouseMove((UINT)c.wParam, _FW_PT))
#define ON_WM_MOUSEWHEEL() \
  _FW_RES(WM_MOUSEWHEEL, INT_PTR, OnMouseWheel((UINT)LOWORD(c.wParam), (short)HIWORD(c.wParam), _FW_PT))
#define ON_WM_MOUSEHOVER() _FW_VOID(WM_MOUSEHOVER, OnMouseHover((UINT)c.wParam, _FW_PT))
#define ON_WM_MOUSELEAVE() _FW_VOID(WM_MOUSELEAVE, OnMouseLeave())
#define _FW_KEYARGS (UINT) c.wParam, (UINT)LOWORD(c.lParam), (UINT)HIWORD(c.lParam)
#define ON_WM_KEYDOWN() _FW_VOID(WM_KEYDOWN, OnKeyDown(_FW_KEYARGS))
#define ON_WM_KEYUP() _FW_VOID(WM_KEYUP, OnKeyUp(_FW_KEYARGS))
#define ON_WM_SYSKEYDOWN() _FW_VOID(WM_SYSKEYDOWN, OnSysKeyDown(_FW_KEYARGS))
#define ON_WM_SYSKEYUP() _FW_VOID(WM_SYSKEYUP, OnSysKeyUp(_FW_KEYARGS))
#define ON_WM_CHAR() _FW_VOID(WM_CHAR, OnChar(_FW_KEYARGS))
#define ON_WM_SYSCHAR() _FW_VOID(WM_SYSCHAR, OnSysChar(_FW_KEYARGS))
#define ON_WM_GETDLGCODE() _FW_RES(WM_GETDLGCODE, UINT, OnGetDlgCode())
#define ON_WM_CONTEXTMENU() _FW_VOID(WM_CONTEXTMENU, OnContextMenu(CWnd::FromHandle((HWND)c.wParam), _FW_PT))
#define ON_WM_HSCROLL()                                                                               \
  _FW_VOID(WM_HSCROLL, OnHScroll((UINT)LOWORD(c.wParam), (UINT)HIWORD(c.wParam),                    \
                                 reinterpret_cast<CScrollBar*>(CWnd::FromHandle((HWND)c.lParam))))
#define ON_WM_VSCROLL()                                                                               \
  _FW_VOID(WM_VSCROLL, OnVScroll((UINT)LOWORD(c.wParam), (UINT)HIWORD(c.wParam),                    \
                                 reinterpret_cast<CScrollBar*>(CWnd::FromHandle((HWND)c.lParam))))
// Every WM_CTLCOLOR* message; nCtlColor is CTLCOLOR_MSGBOX..CTLCOLOR_STATIC.
#define ON_WM_CTLCOLOR()                                                                              \
  _FW_RES(WM_CTLCOLOR, HBRUSH,                                                                        \
          OnCtlColor(CDC::FromHandle((HDC)c.wParam), CWnd::FromHandle((HWND)c.lParam),                \
                     (UINT)(c.message - WM_CTLCOLORMSGBOX)))
#define ON_WM_HELPINFO() _FW_RES(WM_HELP, INT_PTR, OnHelpInfo((HELPINFO*)c.lParam))
#define ON_WM_DEVICECHANGE() _FW_RES(WM_DEVICECHANGE, INT_PTR, OnDeviceChange((UINT)c.wParam, (DWORD_PTR)c.lParam))
#define ON_WM_DISPLAYCHANGE() \
  _FW_VOID(WM_DISPLAYCHANGE, OnDisplayChange((UINT)c.wParam, (int)LOWORD(c.lParam), (int)HIWORD(c.lParam)))
#define ON_WM_POWERBROADCAST() _FW_RES(WM_POWERBROADCAST, UINT, OnPowerBroadcast((UINT)c.wParam, c.lParam))
#define ON_WM_INITMENU() _FW_VOID(WM_INITMENU, OnInitMenu(CMenu::FromHandle((HMENU)c.wParam)))
#define ON_WM_INITMENUPOPUP()                                                                         \
  _FW_VOID(WM_INITMENUPOPUP, OnInitMenuPopup(CMenu::FromHandle((HMENU)c.wParam), (UINT)LOWORD(c.lParam), \
                                             (BOOL)HIWORD(c.lParam)))
#define ON_WM_MENUSELECT() \
  _FW_VOID(WM_MENUSELECT, OnMenuSelect((UINT)LOWORD(c.wParam), (UINT)HIWORD(c.wParam), (HMENU)c.lParam))
#define ON_WM_ENTERIDLE() _FW_VOID(WM_ENTERIDLE, OnEnterIdle((UINT)c.wParam, CWnd::FromHandle((HWND)c.lParam)))
#define ON_WM_DROPFILES() _FW_VOID(WM_DROPFILES, OnDropFiles((HDROP)c.wParam))
#define ON_WM_DRAWCLIPBOARD() _FW_VOID(WM_DRAWCLIPBOARD, OnDrawClipboard())
#define ON_WM_CHANGECBCHAIN() _FW_VOID(WM_CHANGECBCHAIN, OnChangeCbChain((HWND)c.wParam, (HWND)c.lParam))
#define ON_WM_COPYDATA() \
  _FW_RES(WM_COPYDATA, INT_PTR, OnCopyData(CWnd::FromHandle((HWND)c.wParam), (COPYDATASTRUCT*)c.lParam))
#define ON_WM_PARENTNOTIFY() _FW_VOID(WM_PARENTNOTIFY, OnParentNotify((UINT)c.wParam, c.lParam))
#define ON_WM_DRAWITEM() \
  _FW_WNDMSG(WM_DRAWITEM, self->OnDrawItem((int)c.wParam, (LPDRAWITEMSTRUCT)c.lParam); c.lResult = TRUE; return TRUE;)
#define ON_WM_MEASUREITEM()                                                                 \
  _FW_WNDMSG(WM_MEASUREITEM, self->OnMeasureItem((int)c.wParam, (LPMEASUREITEMSTRUCT)c.lParam); \
             c.lResult = TRUE; return TRUE;)
#define ON_WM_COMPAREITEM() \
  _FW_RES(WM_COMPAREITEM, INT_PTR, OnCompareItem((int)c.wParam, (LPCOMPAREITEMSTRUCT)c.lParam))
#define ON_WM_DELETEITEM()                                                                  \
  _FW_WNDMSG(WM_DELETEITEM, self->OnDeleteItem((int)c.wParam, (LPDELETEITEMSTRUCT)c.lParam); \
             c.lResult = TRUE; return TRUE;)
#define ON_WM_CHARTOITEM()                                                                              \
  _FW_RES(WM_CHARTOITEM, INT_PTR,                                                                      \
          OnCharToItem((UINT)LOWORD(c.wParam), reinterpret_cast<CListBox*>(CWnd::FromHandle((HWND)c.lParam)), \
                       (UINT)HIWORD(c.wParam)))
#define ON_WM_VKEYTOITEM()                                                                              \
  _FW_RES(WM_VKEYTOITEM, INT_PTR,                                                                      \
          OnVKeyToItem((UINT)LOWORD(c.wParam), reinterpret_cast<CListBox*>(CWnd::FromHandle((HWND)c.lParam)), \
                       (UINT)HIWORD(c.wParam)))
#define ON_WM_SYSCOMMAND() _FW_VOID(WM_SYSCOMMAND, OnSysCommand((UINT)c.wParam, c.lParam))
#define ON_WM_SYSCOLORCHANGE() _FW_VOID(WM_SYSCOLORCHANGE, OnSysColorChange())
#define ON_WM_SETTINGCHANGE() _FW_VOID(WM_SETTINGCHANGE, OnSettingChange((UINT)c.wParam, (LPCSTR)c.lParam))
#define ON_WM_WINDOWPOSCHANGING() _FW_VOID(WM_WINDOWPOSCHANGING, OnWindowPosChanging((WINDOWPOS*)c.lParam))
#define ON_WM_WINDOWPOSCHANGED() _FW_VOID(WM_WINDOWPOSCHANGED, OnWindowPosChanged((WINDOWPOS*)c.lParam))
#define ON_WM_STYLECHANGED() _FW_VOID(WM_STYLECHANGED, OnStyleChanged((int)c.wParam, (LPSTYLESTRUCT)c.lParam))
#define ON_WM_CANCELMODE() _FW_VOID(WM_CANCELMODE, OnCancelMode())
#define ON_WM_ENTERSIZEMOVE() _FW_VOID(WM_ENTERSIZEMOVE, OnEnterSizeMove())
#define ON_WM_EXITSIZEMOVE() _FW_VOID(WM_EXITSIZEMOVE, OnExitSizeMove())
#define ON_WM_QUERYENDSESSION() _FW_RES(WM_QUERYENDSESSION, INT_PTR, OnQueryEndSession())
#define ON_WM_ENDSESSION() _FW_VOID(WM_ENDSESSION, OnEndSession((BOOL)c.wParam))

// Reflected to the control (see the top of this file). The handler names are fixed.
#define ON_WM_CTLCOLOR_REFLECT()                                                            \
  {WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, nullptr,                                          \
   _FW_THUNK(HBRUSH hbr = self->CtlColor(CDC::FromHandle((HDC)c.wParam), (UINT)(c.message - WM_CTLCOLORMSGBOX)); \
             c.lResult = (LRESULT)hbr; return hbr != NULL;)},
#define ON_WM_DRAWITEM_REFLECT()                                                            \
  _FW_WNDMSG(WM_REFLECT_BASE + WM_DRAWITEM, self->DrawItem((LPDRAWITEMSTRUCT)c.lParam); c.lResult = TRUE; return TRUE;)
#define ON_WM_MEASUREITEM_REFLECT()                                                         \
  _FW_WNDMSG(WM_REFLECT_BASE + WM_MEASUREITEM, self->MeasureItem((LPMEASUREITEMSTRUCT)c.lParam); c.lResult = TRUE; \
             return TRUE;)
#define ON_WM_COMPAREITEM_REFLECT() \
  _FW_RES(WM_REFLECT_BASE + WM_COMPAREITEM, INT_PTR, CompareItem((LPCOMPAREITEMSTRUCT)c.lParam))
#define ON_WM_DELETEITEM_REFLECT()                                                          \
  _FW_WNDMSG(WM_REFLECT_BASE + WM_DELETEITEM, self->DeleteItem((LPDELETEITEMSTRUCT)c.lParam); c.lResult = TRUE; \
             return TRUE;)
#define ON_WM_CHARTOITEM_REFLECT() \
  _FW_RES(WM_REFLECT_BASE + WM_CHARTOITEM, INT_PTR, CharToItem((UINT)LOWORD(c.wParam), (UINT)HIWORD(c.wParam)))
#define ON_WM_VKEYTOITEM_REFLECT() \
  _FW_RES(WM_REFLECT_BASE + WM_VKEYTOITEM, INT_PTR, VKeyToItem((UINT)LOWORD(c.wParam), (UINT)HIWORD(c.wParam)))
#define ON_WM_HSCROLL_REFLECT() \
  _FW_VOID(WM_REFLECT_BASE + WM_HSCROLL, HScroll((UINT)LOWORD(c.wParam), (UINT)HIWORD(c.wParam)))
#define ON_WM_VSCROLL_REFLECT() \
  _FW_VOID(WM_REFLECT_BASE + WM_VSCROLL, VScroll((UINT)LOWORD(c.wParam), (UINT)HIWORD(c.wParam)))
#define ON_WM_PARENTNOTIFY_REFLECT() \
  _FW_VOID(WM_REFLECT_BASE + WM_PARENTNOTIFY, ParentNotify((UINT)c.wParam, c.lParam))
