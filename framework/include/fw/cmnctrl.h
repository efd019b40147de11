// The smaller common controls: CTabCtrl, CSliderCtrl, CProgressCtrl, CSpinButtonCtrl,
// CAnimateCtrl, CToolTipCtrl. Thin wrappers, one message each.
#pragma once
#include <fw/ctrl.h>
#include <fw/imagelist.h>

// ===== CTabCtrl =====

class FW_API CTabCtrl : public CWnd {
  DECLARE_DYNAMIC(CTabCtrl)
 public:
  CTabCtrl() {}

  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  CImageList* GetImageList() const { return CImageList::FromHandle((HIMAGELIST)SendMessage(TCM_GETIMAGELIST)); }
  CImageList* SetImageList(CImageList* pImageList) {
    return CImageList::FromHandle((HIMAGELIST)SendMessage(TCM_SETIMAGELIST, 0, (LPARAM)pImageList->GetSafeHandle()));
  }
  int GetItemCount() const { return (int)SendMessage(TCM_GETITEMCOUNT); }
  BOOL GetItem(int nItem, TCITEMA* pTabCtrlItem) const {
    return (BOOL)SendMessage(TCM_GETITEMA, (WPARAM)nItem, (LPARAM)pTabCtrlItem);
  }
  BOOL SetItem(int nItem, TCITEMA* pTabCtrlItem) {
    return (BOOL)SendMessage(TCM_SETITEMA, (WPARAM)nItem, (LPARAM)pTabCtrlItem);
  }
  // The index of the new tab, -1 on failure.
  LONG InsertItem(int nItem, TCITEMA* pTabCtrlItem) {
    return (LONG)SendMessage(TCM_INSERTITEMA, (WPARAM)nItem, (LPARAM)pTabCtrlItem);
  }
  LONG InsertItem(int nItem, LPCSTR lpszItem) { return InsertItem(TCIF_TEXT, nItem, lpszItem, 0, 0); }
  LONG InsertItem(int nItem, LPCSTR lpszItem, int nImage) {
    return InsertItem(TCIF_TEXT | TCIF_IMAGE, nItem, lpszItem, nImage, 0);
  }
  LONG InsertItem(UINT nMask, int nItem, LPCSTR lpszItem, int nImage, LPARAM lParam);
  BOOL DeleteItem(int nItem) { return (BOOL)SendMessage(TCM_DELETEITEM, (WPARAM)nItem); }
  BOOL DeleteAllItems() { return (BOOL)SendMessage(TCM_DELETEALLITEMS); }
  BOOL GetItemRect(int nItem, LPRECT lpRect) const {
    return (BOOL)SendMessage(TCM_GETITEMRECT, (WPARAM)nItem, (LPARAM)lpRect);
  }
  int GetCurSel() const { return (int)SendMessage(TCM_GETCURSEL); }
  // Selects without TCN_SELCHANGE; returns the previous selection.
  int SetCurSel(int nItem) { return (int)SendMessage(TCM_SETCURSEL, (WPARAM)nItem); }
  int GetCurFocus() const { return (int)SendMessage(TCM_GETCURFOCUS); }
  void SetCurFocus(int nItem) { SendMessage(TCM_SETCURFOCUS, (WPARAM)nItem); }
  CSize SetItemSize(CSize size);
  void SetPadding(CSize size) { SendMessage(TCM_SETPADDING, 0, MAKELPARAM(size.cx, size.cy)); }
  int SetMinTabWidth(int cx) { return (int)SendMessage(TCM_SETMINTABWIDTH, 0, (LPARAM)cx); }
  int GetRowCount() const { return (int)SendMessage(TCM_GETROWCOUNT); }
  // bLarger FALSE: the display area of a window rectangle; TRUE: the window of a display area.
  void AdjustRect(BOOL bLarger, LPRECT lpRect) { SendMessage(TCM_ADJUSTRECT, (WPARAM)bLarger, (LPARAM)lpRect); }
  int HitTest(TCHITTESTINFO* pHitTestInfo) const { return (int)SendMessage(TCM_HITTEST, 0, (LPARAM)pHitTestInfo); }
  CWnd* GetToolTips() const { return CWnd::FromHandle((HWND)SendMessage(TCM_GETTOOLTIPS)); }
  void SetToolTips(CWnd* pWndTip) { SendMessage(TCM_SETTOOLTIPS, (WPARAM)pWndTip->GetSafeHwnd()); }
  void DeselectAll(BOOL fExcludeFocus) { SendMessage(TCM_DESELECTALL, (WPARAM)fExcludeFocus); }

  // TCS_OWNERDRAWFIXED tabs.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// ===== CSliderCtrl =====

class FW_API CSliderCtrl : public CWnd {
  DECLARE_DYNAMIC(CSliderCtrl)
 public:
  CSliderCtrl() {}

  // TBS_* styles.
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int GetLineSize() const { return (int)SendMessage(TBM_GETLINESIZE); }
  int SetLineSize(int nSize) { return (int)SendMessage(TBM_SETLINESIZE, 0, (LPARAM)nSize); }
  int GetPageSize() const { return (int)SendMessage(TBM_GETPAGESIZE); }
  int SetPageSize(int nSize) { return (int)SendMessage(TBM_SETPAGESIZE, 0, (LPARAM)nSize); }
  int GetRangeMax() const { return (int)SendMessage(TBM_GETRANGEMAX); }
  int GetRangeMin() const { return (int)SendMessage(TBM_GETRANGEMIN); }
  void GetRange(int& nMin, int& nMax) const {
    nMin = GetRangeMin();
    nMax = GetRangeMax();
  }
  void SetRangeMin(int nMin, BOOL bRedraw = FALSE) { SendMessage(TBM_SETRANGEMIN, (WPARAM)bRedraw, (LPARAM)nMin); }
  void SetRangeMax(int nMax, BOOL bRedraw = FALSE) { SendMessage(TBM_SETRANGEMAX, (WPARAM)bRedraw, (LPARAM)nMax); }
  void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE) {
    SetRangeMin(nMin, FALSE);
    SetRangeMax(nMax, bRedraw);
  }
  void GetSelection(int& nMin, int& nMax) const {
    nMin = (int)SendMessage(TBM_GETSELSTART);
    nMax = (int)SendMessage(TBM_GETSELEND);
  }
  void SetSelection(int nMin, int nMax) {
    SendMessage(TBM_SETSELSTART, FALSE, (LPARAM)nMin);
    SendMessage(TBM_SETSELEND, TRUE, (LPARAM)nMax);
  }
  void ClearSel(BOOL bRedraw = FALSE) { SendMessage(TBM_CLEARSEL, (WPARAM)bRedraw); }
  void GetChannelRect(LPRECT lprc) const { SendMessage(TBM_GETCHANNELRECT, 0, (LPARAM)lprc); }
  void GetThumbRect(LPRECT lprc) const { SendMessage(TBM_GETTHUMBRECT, 0, (LPARAM)lprc); }
  int GetPos() const { return (int)SendMessage(TBM_GETPOS); }
  void SetPos(int nPos) { SendMessage(TBM_SETPOS, TRUE, (LPARAM)nPos); }
  UINT GetNumTics() const { return (UINT)SendMessage(TBM_GETNUMTICS); }
  DWORD* GetTicArray() const { return (DWORD*)SendMessage(TBM_GETPTICS); }
  int GetTic(int nTic) const { return (int)SendMessage(TBM_GETTIC, (WPARAM)nTic); }
  int GetTicPos(int nTic) const { return (int)SendMessage(TBM_GETTICPOS, (WPARAM)nTic); }
  BOOL SetTic(int nTic) { return (BOOL)SendMessage(TBM_SETTIC, 0, (LPARAM)nTic); }
  void SetTicFreq(int nFreq) { SendMessage(TBM_SETTICFREQ, (WPARAM)nFreq); }
  void ClearTics(BOOL bRedraw = FALSE) { SendMessage(TBM_CLEARTICS, (WPARAM)bRedraw); }
  CWnd* GetBuddy(BOOL fLocation = TRUE) const {
    return CWnd::FromHandle((HWND)SendMessage(TBM_GETBUDDY, (WPARAM)fLocation));
  }
  CWnd* SetBuddy(CWnd* pWndBuddy, BOOL fLocation = TRUE) {
    return CWnd::FromHandle((HWND)SendMessage(TBM_SETBUDDY, (WPARAM)fLocation, (LPARAM)pWndBuddy->GetSafeHwnd()));
  }
  CWnd* GetToolTips() const { return CWnd::FromHandle((HWND)SendMessage(TBM_GETTOOLTIPS)); }
  void SetToolTips(CWnd* pWndTip) { SendMessage(TBM_SETTOOLTIPS, (WPARAM)pWndTip->GetSafeHwnd()); }
  int SetTipSide(int nLocation) { return (int)SendMessage(TBM_SETTIPSIDE, (WPARAM)nLocation); }
};

// ===== CProgressCtrl =====

class FW_API CProgressCtrl : public CWnd {
  DECLARE_DYNAMIC(CProgressCtrl)
 public:
  CProgressCtrl() {}

  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  void SetRange(short nLower, short nUpper) { SetRange32(nLower, nUpper); }
  void SetRange32(int nLower, int nUpper) { SendMessage(PBM_SETRANGE32, (WPARAM)nLower, (LPARAM)nUpper); }
  void GetRange(int& nLower, int& nUpper) const;
  int GetPos() const { return (int)SendMessage(PBM_GETPOS); }
  int SetPos(int nPos) { return (int)SendMessage(PBM_SETPOS, (WPARAM)nPos); }  // the previous position
  int OffsetPos(int nPos) { return (int)SendMessage(PBM_DELTAPOS, (WPARAM)nPos); }
  int SetStep(int nStep) { return (int)SendMessage(PBM_SETSTEP, (WPARAM)nStep); }
  int StepIt() { return (int)SendMessage(PBM_STEPIT); }  // wraps to the lower end past the upper
  COLORREF SetBarColor(COLORREF clrBar) { return (COLORREF)SendMessage(PBM_SETBARCOLOR, 0, (LPARAM)clrBar); }
  COLORREF SetBkColor(COLORREF clrNew) { return (COLORREF)SendMessage(PBM_SETBKCOLOR, 0, (LPARAM)clrNew); }
};

// ===== CSpinButtonCtrl =====

class FW_API CSpinButtonCtrl : public CWnd {
  DECLARE_DYNAMIC(CSpinButtonCtrl)
 public:
  CSpinButtonCtrl() {}

  // UDS_* styles (UDS_SETBUDDYINT, UDS_ALIGNRIGHT, UDS_AUTOBUDDY, UDS_ARROWKEYS, UDS_WRAP,
  // UDS_NOTHOUSANDS...).
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  BOOL SetAccel(int nAccel, UDACCEL* pAccel) { return (BOOL)SendMessage(UDM_SETACCEL, (WPARAM)nAccel, (LPARAM)pAccel); }
  UINT GetAccel(int nAccel, UDACCEL* pAccel) const {
    return (UINT)SendMessage(UDM_GETACCEL, (WPARAM)nAccel, (LPARAM)pAccel);
  }
  int SetBase(int nBase) { return (int)SendMessage(UDM_SETBASE, (WPARAM)nBase); }
  UINT GetBase() const { return (UINT)SendMessage(UDM_GETBASE); }
  CWnd* SetBuddy(CWnd* pWndBuddy) {
    return CWnd::FromHandle((HWND)SendMessage(UDM_SETBUDDY, (WPARAM)pWndBuddy->GetSafeHwnd()));
  }
  CWnd* GetBuddy() const { return CWnd::FromHandle((HWND)SendMessage(UDM_GETBUDDY)); }
  // The position; with a buddy, the number its text shows.
  int GetPos() const { return GetPos32(); }
  int SetPos(int nPos) { return SetPos32(nPos); }
  int GetPos32(LPBOOL lpbError = NULL) const { return (int)SendMessage(UDM_GETPOS32, 0, (LPARAM)lpbError); }
  int SetPos32(int nPos) { return (int)SendMessage(UDM_SETPOS32, 0, (LPARAM)nPos); }
  void SetRange(short nLower, short nUpper) { SetRange32(nLower, nUpper); }
  void SetRange32(int nLower, int nUpper) { SendMessage(UDM_SETRANGE32, (WPARAM)nLower, (LPARAM)nUpper); }
  void GetRange(int& lower, int& upper) const { GetRange32(lower, upper); }
  void GetRange32(int& lower, int& upper) const { SendMessage(UDM_GETRANGE32, (WPARAM)&lower, (LPARAM)&upper); }
};

// ===== CAnimateCtrl =====

// Plays an AVI clip without sound. The clip must be uncompressed or RLE-compressed.
class FW_API CAnimateCtrl : public CWnd {
  DECLARE_DYNAMIC(CAnimateCtrl)
 public:
  CAnimateCtrl() {}

  // ACS_* styles (ACS_CENTER, ACS_TRANSPARENT, ACS_AUTOPLAY).
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // A file, or an "AVI" resource from the resource chain.
  BOOL Open(LPCSTR lpszFileName) { return (BOOL)SendMessage(ACM_OPENA, 0, (LPARAM)lpszFileName); }
  BOOL Open(UINT nID);
  // Frames nFrom..nTo (-1: the last), nRep times (-1: until stopped).
  BOOL Play(UINT nFrom, UINT nTo, UINT nRep) { return (BOOL)SendMessage(ACM_PLAY, nRep, MAKELPARAM(nFrom, nTo)); }
  BOOL Stop() { return (BOOL)SendMessage(ACM_STOP); }
  BOOL Close() { return (BOOL)SendMessage(ACM_OPENA); }
  BOOL Seek(UINT nTo) { return Play(nTo, nTo, 1); }
  BOOL IsPlaying() const { return (BOOL)SendMessage(ACM_ISPLAYING); }
};

// ===== CToolTipCtrl =====

// TOOLINFO with room for the text GetToolInfo and GetText read back.
class CToolInfo : public TOOLINFOA {
 public:
  char szText[256];
};

class FW_API CToolTipCtrl : public CWnd {
  DECLARE_DYNAMIC(CToolTipCtrl)
 public:
  CToolTipCtrl() {}

  // A popup owned by pParentWnd's window (TTS_ALWAYSTIP, TTS_NOPREFIX...). The window runs
  // through this object, so a derived class's message map sees its messages.
  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
  virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwStyle = 0, DWORD dwStyleEx = 0);

  // A tool of pWnd: nIDTool with a rectangle (client coordinates), or the window itself
  // (TTF_IDISHWND) when lpRectTool is NULL and nIDTool is 0. The text may be
  // LPSTR_TEXTCALLBACK (TTN_NEEDTEXT to the window) or a string id.
  BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = NULL, UINT_PTR nIDTool = 0);
  BOOL AddTool(CWnd* pWnd, LPCSTR lpszText = LPSTR_TEXTCALLBACKA, LPCRECT lpRectTool = NULL, UINT_PTR nIDTool = 0);
  void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
  void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
  void UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
  void UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool = 0);
  BOOL GetToolInfo(CToolInfo& ToolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
  void SetToolInfo(LPTOOLINFOA lpToolInfo) { SendMessage(TTM_SETTOOLINFOA, 0, (LPARAM)lpToolInfo); }
  void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
  int GetToolCount() const { return (int)SendMessage(TTM_GETTOOLCOUNT); }
  BOOL HitTest(CWnd* pWnd, CPoint pt, LPTOOLINFOA lpToolInfo) const;

  void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, (WPARAM)bActivate); }
  // Gives the tooltip the mouse messages it must see (from PreTranslateMessage).
  void RelayEvent(LPMSG lpMsg) { SendMessage(TTM_RELAYEVENT, 0, (LPARAM)lpMsg); }
  void Pop() { SendMessage(TTM_POP); }
  void Popup() { SendMessage(TTM_POPUP); }
  void Update() { SendMessage(TTM_UPDATE); }
  int SetMaxTipWidth(int iWidth) { return (int)SendMessage(TTM_SETMAXTIPWIDTH, 0, (LPARAM)iWidth); }
  int GetMaxTipWidth() const { return (int)SendMessage(TTM_GETMAXTIPWIDTH); }
  void SetMargin(LPRECT lprc) { SendMessage(TTM_SETMARGIN, 0, (LPARAM)lprc); }
  void GetMargin(LPRECT lprc) const { SendMessage(TTM_GETMARGIN, 0, (LPARAM)lprc); }
  void SetDelayTime(UINT nDelay) { SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, (LPARAM)nDelay); }
  void SetDelayTime(DWORD dwDuration, int iTime) { SendMessage(TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0)); }
  int GetDelayTime(DWORD dwDuration) const { return (int)SendMessage(TTM_GETDELAYTIME, dwDuration); }
  void SetTipBkColor(COLORREF clr) { SendMessage(TTM_SETTIPBKCOLOR, (WPARAM)clr); }
  COLORREF GetTipBkColor() const { return (COLORREF)SendMessage(TTM_GETTIPBKCOLOR); }
  void SetTipTextColor(COLORREF clr) { SendMessage(TTM_SETTIPTEXTCOLOR, (WPARAM)clr); }
  COLORREF GetTipTextColor() const { return (COLORREF)SendMessage(TTM_GETTIPTEXTCOLOR); }
  BOOL SetTitle(UINT uIcon, LPCSTR lpszTitle) { return (BOOL)SendMessage(TTM_SETTITLEA, uIcon, (LPARAM)lpszTitle); }

 protected:
  void FillInToolInfo(TOOLINFOA& ti, CWnd* pWnd, UINT_PTR nIDTool) const;
};
