// Tool bars: the common toolbar control (CToolBarCtrl) and the frame's tool bar
// (CToolBar) with buttons by command id.
//
// CToolBar: button images are cut from one bitmap strip, image i being the strip's i-th
// cell of the image size (SetSizes may come before or after the bitmap); light grey
// (192, 192, 192) in the strip is transparent. Buttons are enabled and checked at idle
// time through their commands' update handlers (routed by the parent frame). With
// CBRS_TOOLTIPS the tip of a button is the part after "\n" of the string with its command
// id (answered by the parent window's TTN_NEEDTEXT handling); with CBRS_FLYBY the part
// before "\n" is shown as a prompt: the owner (the parent unless SetOwner) receives
// WM_SETMESSAGESTRING (command id) while the mouse is over a button and
// WM_POPMESSAGESTRING (AFX_IDS_IDLEMESSAGE) when it leaves.
#pragma once
#include <fw/ctrlbar.h>
#include <fw/cmnctrl.h>

class FW_API CToolBarCtrl : public CWnd {
  DECLARE_DYNAMIC(CToolBarCtrl)
 public:
  CToolBarCtrl() {}

  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // --- Buttons (by command id)
  BOOL EnableButton(int nID, BOOL bEnable = TRUE) { return (BOOL)SendMessage(TB_ENABLEBUTTON, (WPARAM)nID, MAKELPARAM(bEnable, 0)); }
  BOOL CheckButton(int nID, BOOL bCheck = TRUE) { return (BOOL)SendMessage(TB_CHECKBUTTON, (WPARAM)nID, MAKELPARAM(bCheck, 0)); }
  BOOL PressButton(int nID, BOOL bPress = TRUE) { return (BOOL)SendMessage(TB_PRESSBUTTON, (WPARAM)nID, MAKELPARAM(bPress, 0)); }
  BOOL HideButton(int nID, BOOL bHide = TRUE) { return (BOOL)SendMessage(TB_HIDEBUTTON, (WPARAM)nID, MAKELPARAM(bHide, 0)); }
  BOOL Indeterminate(int nID, BOOL bIndeterminate = TRUE) {
    return (BOOL)SendMessage(TB_INDETERMINATE, (WPARAM)nID, MAKELPARAM(bIndeterminate, 0));
  }
  BOOL IsButtonEnabled(int nID) const { return (BOOL)SendMessage(TB_ISBUTTONENABLED, (WPARAM)nID); }
  BOOL IsButtonChecked(int nID) const { return (BOOL)SendMessage(TB_ISBUTTONCHECKED, (WPARAM)nID); }
  BOOL IsButtonPressed(int nID) const { return (BOOL)SendMessage(TB_ISBUTTONPRESSED, (WPARAM)nID); }
  BOOL IsButtonHidden(int nID) const { return (BOOL)SendMessage(TB_ISBUTTONHIDDEN, (WPARAM)nID); }
  BOOL IsButtonIndeterminate(int nID) const { return (BOOL)SendMessage(TB_ISBUTTONINDETERMINATE, (WPARAM)nID); }
  BOOL SetState(int nID, UINT nState) { return (BOOL)SendMessage(TB_SETSTATE, (WPARAM)nID, MAKELPARAM(nState, 0)); }
  int GetState(int nID) const { return (int)SendMessage(TB_GETSTATE, (WPARAM)nID); }
  int CommandToIndex(UINT nID) const { return (int)SendMessage(TB_COMMANDTOINDEX, nID); }
  BOOL SetCmdID(int nIndex, UINT nID) { return (BOOL)SendMessage(TB_SETCMDID, (WPARAM)nIndex, (LPARAM)nID); }
  BOOL GetRect(int nID, LPRECT lpRect) const { return (BOOL)SendMessage(TB_GETRECT, (WPARAM)nID, (LPARAM)lpRect); }
  int GetButtonInfo(int nID, TBBUTTONINFOA* ptbbi) const {
    return (int)SendMessage(TB_GETBUTTONINFOA, (WPARAM)nID, (LPARAM)ptbbi);
  }
  BOOL SetButtonInfo(int nID, TBBUTTONINFOA* ptbbi) {
    return (BOOL)SendMessage(TB_SETBUTTONINFOA, (WPARAM)nID, (LPARAM)ptbbi);
  }

  // --- Buttons (by index)
  int GetButtonCount() const { return (int)SendMessage(TB_BUTTONCOUNT); }
  BOOL GetButton(int nIndex, LPTBBUTTON lpButton) const { return (BOOL)SendMessage(TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)lpButton); }
  BOOL GetItemRect(int nIndex, LPRECT lpRect) const { return (BOOL)SendMessage(TB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)lpRect); }
  BOOL AddButtons(int nNumButtons, LPTBBUTTON lpButtons) {
    return (BOOL)SendMessage(TB_ADDBUTTONSA, (WPARAM)nNumButtons, (LPARAM)lpButtons);
  }
  BOOL InsertButton(int nIndex, LPTBBUTTON lpButton) {
    return (BOOL)SendMessage(TB_INSERTBUTTONA, (WPARAM)nIndex, (LPARAM)lpButton);
  }
  BOOL DeleteButton(int nIndex) { return (BOOL)SendMessage(TB_DELETEBUTTON, (WPARAM)nIndex); }
  // The button index under pt (client coordinates); negative for none or a separator.
  int HitTest(LPPOINT ppt) const { return (int)SendMessage(TB_HITTEST, 0, (LPARAM)ppt); }
  int GetHotItem() const { return (int)SendMessage(TB_GETHOTITEM); }
  int SetHotItem(int nHot) { return (int)SendMessage(TB_SETHOTITEM, (WPARAM)nHot); }

  // --- Images and sizes
  // Adds nNumButtons images from a bitmap resource of the resource chain or a bitmap.
  int AddBitmap(int nNumButtons, UINT nBitmapID);
  int AddBitmap(int nNumButtons, CBitmap* pBitmap);
  void SetButtonStructSize(int nSize) { SendMessage(TB_BUTTONSTRUCTSIZE, (WPARAM)nSize); }
  BOOL SetButtonSize(CSize size) { return (BOOL)SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(size.cx, size.cy)); }
  BOOL SetBitmapSize(CSize size) { return (BOOL)SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(size.cx, size.cy)); }
  CSize GetButtonSize() const;
  BOOL GetMaxSize(LPSIZE pSize) const { return (BOOL)SendMessage(TB_GETMAXSIZE, 0, (LPARAM)pSize); }
  void AutoSize() { SendMessage(TB_AUTOSIZE); }
  BOOL SetIndent(int iIndent) { return (BOOL)SendMessage(TB_SETINDENT, (WPARAM)iIndent); }
  CImageList* GetImageList() const { return CImageList::FromHandle((HIMAGELIST)SendMessage(TB_GETIMAGELIST)); }
  CImageList* SetImageList(CImageList* pImageList) {
    return CImageList::FromHandle((HIMAGELIST)SendMessage(TB_SETIMAGELIST, 0, (LPARAM)pImageList->GetSafeHandle()));
  }
  CImageList* SetHotImageList(CImageList* pImageList) {
    return CImageList::FromHandle((HIMAGELIST)SendMessage(TB_SETHOTIMAGELIST, 0, (LPARAM)pImageList->GetSafeHandle()));
  }
  CImageList* SetDisabledImageList(CImageList* pImageList) {
    return CImageList::FromHandle(
        (HIMAGELIST)SendMessage(TB_SETDISABLEDIMAGELIST, 0, (LPARAM)pImageList->GetSafeHandle()));
  }
  DWORD GetExtendedStyle() const { return (DWORD)SendMessage(TB_GETEXTENDEDSTYLE); }
  DWORD SetExtendedStyle(DWORD dwExStyle) { return (DWORD)SendMessage(TB_SETEXTENDEDSTYLE, 0, (LPARAM)dwExStyle); }
  BOOL SetMaxTextRows(int iMaxRows) { return (BOOL)SendMessage(TB_SETMAXTEXTROWS, (WPARAM)iMaxRows); }

  // --- Tooltips and owner
  // The control's own tooltip (TBSTYLE_TOOLTIPS); null without one.
  CToolTipCtrl* GetToolTips() const;
  void SetToolTips(CToolTipCtrl* pTip) { SendMessage(TB_SETTOOLTIPS, (WPARAM)pTip->GetSafeHwnd()); }
  // The window that receives the control's notifications.
  void SetOwner(CWnd* pWnd) { SendMessage(TB_SETPARENT, (WPARAM)pWnd->GetSafeHwnd()); }
};

// CToolBar button styles: the low word is the button's TBSTYLE_*, the high word its
// TBSTATE_* with the enabled bit turned round, so that TBBS_DISABLED means disabled.
#define TBBS_BUTTON MAKELONG(TBSTYLE_BUTTON, 0)
#define TBBS_SEPARATOR MAKELONG(TBSTYLE_SEP, 0)
#define TBBS_CHECKBOX MAKELONG(TBSTYLE_CHECK, 0)
#define TBBS_GROUP MAKELONG(TBSTYLE_GROUP, 0)
#define TBBS_CHECKGROUP (TBBS_GROUP | TBBS_CHECKBOX)
#define TBBS_DROPDOWN MAKELONG(TBSTYLE_DROPDOWN, 0)
#define TBBS_AUTOSIZE MAKELONG(TBSTYLE_AUTOSIZE, 0)
#define TBBS_CHECKED MAKELONG(0, TBSTATE_CHECKED)
#define TBBS_INDETERMINATE MAKELONG(0, TBSTATE_INDETERMINATE)
#define TBBS_DISABLED MAKELONG(0, TBSTATE_ENABLED)
#define TBBS_PRESSED MAKELONG(0, TBSTATE_PRESSED)

class FW_API CToolBar : public CControlBar {
  DECLARE_DYNAMIC(CToolBar)
 public:
  CToolBar();
  ~CToolBar() override;

  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
  // dwCtrlStyle: TBSTYLE_FLAT, TBSTYLE_TRANSPARENT...; dwStyle: window and CBRS_* styles;
  // rcBorders: the bar's borders around the buttons.
  virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
                        UINT nID = AFX_IDW_TOOLBAR);

  // Button and image sizes (23 x 22 and 16 x 15 until set).
  void SetSizes(SIZE sizeButton, SIZE sizeImage);
  // The bar's height: the borders above and below the buttons share what the buttons leave.
  void SetHeight(int cyHeight);
  // The strip of button images: a bitmap of the resource chain, or a copy of hbmImageWell
  // (the caller keeps its bitmap).
  BOOL LoadBitmap(LPCSTR lpszResourceName);
  BOOL LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEA(nIDResource)); }
  BOOL SetBitmap(HBITMAP hbmImageWell);
  // One button per id, with the next image each; ID_SEPARATOR makes a separator.
  // lpIDArray NULL: nIDCount separators to be set up with SetButtonInfo.
  BOOL SetButtons(const UINT* lpIDArray, int nIDCount);

  int CommandToIndex(UINT nIDFind) const;
  UINT GetItemID(int nIndex) const;
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  UINT GetButtonStyle(int nIndex) const;
  void SetButtonStyle(int nIndex, UINT nStyle);
  void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
  void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);
  BOOL SetButtonText(int nIndex, LPCSTR lpszText);
  CString GetButtonText(int nIndex) const;
  int GetCount() const override;

  CToolBarCtrl& GetToolBarCtrl() const { return *(CToolBarCtrl*)this; }

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

  CSize m_sizeButton;
  CSize m_sizeImage;

 protected:
  BOOL RebuildImages();
  void TrackPrompt(int nIndex);

  CBitmap m_bitmap;         // the strip (our own copy)
  CImageList m_imageList;   // cut from the strip
  UINT m_nIDPrompt;         // command whose prompt is shown (0: none)

  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnNcPaint();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnMouseLeave();
  DECLARE_MESSAGE_MAP()
};
