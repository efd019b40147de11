// The base of the browser library's self-drawn skinned controls: a visual state, mouse
// input turned into button notifications to a notify window, a one-tool tooltip, drag
// detection, a drawing origin and cloning into a new window. Derived classes paint in
// OnDraw; the free functions below draw packed DIBs and bitmaps for them.
#pragma once
#include <fw/fw.h>

#include <vector>

#include "SkinCtrlRules.h"
#include "VxGUITransApi.h"

#define UWM_SKIN_KEYACTION 0xFB8   // wParam: 1 activate, 2..5 left/right/up/down, 7 press
#define UWM_SKIN_STARTDRAG 0x11F4  // wParam: pointer to the press point
#define UWM_SKIN_RCLICK 0x11F5
#define UWM_SKIN_MOUSEMOVE 0x11F6  // hover visuals off, cursor inside
#define UWM_SKIN_MOUSEOUT 0x11F7   // hover visuals off, cursor outside

class VXGUITRANS_API CSkinCtrlWnd : public CWnd {
  DECLARE_DYNAMIC(CSkinCtrlWnd)
 public:
  CSkinCtrlWnd();
  ~CSkinCtrlWnd() override;

  // A new base object; 0x80000002 for a null out pointer.
  static HRESULT CreateInstance(UINT, CSkinCtrlWnd** ppOut);

  virtual void SetNotifyWnd(HWND hWnd) { m_hNotify = hWnd; }
  virtual int SetState(int state);
  virtual void Relayout() {}
  virtual void SetToolTipText(LPCSTR lpszText);
  virtual void ActivateToolTip(BOOL bActivate);
  virtual void SetHoverEnable(BOOL bEnable) { m_bHoverVisuals = bEnable; }
  virtual void SetDragEnable(BOOL bEnable) { m_bDragEnabled = bEnable; }
  virtual void SetOrigin(int x, int y);
  virtual void SetCaptureHover(BOOL bEnable) { m_bCaptureHover = bEnable; }
  virtual void SetTopWindowCheck(BOOL bEnable) { m_bTopWindowCheck = bEnable; }
  virtual HWND GetNotifyWnd() const { return m_hNotify; }
  virtual int GetState() const { return m_nState; }
  virtual CSkinCtrlWnd* Clone(CWnd* /*pParent*/, UINT /*nID*/) { return nullptr; }
  virtual void GetOrigin(POINT* pt) const { *pt = m_ptOrigin; }
  virtual void GetClientSize(SIZE* size) const;
  virtual std::vector<BITMAPINFO*> GetItemList() { return {}; }
  virtual void OnDraw(CDC* /*pDC*/) {}
  virtual int CopyProperty(int kind, CSkinCtrlWnd* pSource);
  virtual void CloneTo(CSkinCtrlWnd* pTarget, CWnd* pParent, UINT nID);

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  afx_msg void OnPaint();
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnToolTipText(UINT id, NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg LRESULT OnKeyAction(WPARAM action, LPARAM);
  DECLARE_MESSAGE_MAP()

  void Notify(UINT code);
  void Send(UINT message, WPARAM wParam, LPARAM lParam);
  bool Captured() const { return ::GetCapture() == m_hWnd; }
  bool OtherWindowUnderCursor() const;
  bool InClient(CPoint pt) const;
  void RepaintNow();

  HWND m_hNotify;
  int m_nState;
  BOOL m_bDblClick;
  BOOL m_bHoverVisuals;
  BOOL m_bDragEnabled;
  CRect m_rcSlop;
  CPoint m_ptPress;
  CPoint m_ptOrigin;
  BOOL m_bHoverActive;
  BOOL m_bTopWindowCheck;
  BOOL m_bCaptureHover;
  CString m_strTip;
  CToolTipCtrl m_tip;
};

// Painting through a memory bitmap of a window's client size: draw into DC(), and the
// picture is copied to the target when this goes.
class VXGUITRANS_API CBufferedPaint {
 public:
  CBufferedPaint(CWnd* pWnd, CDC* pTarget);
  ~CBufferedPaint();
  CDC* DC() { return &m_mem; }
  const CRect& Rect() const { return m_rc; }

 private:
  CDC* m_pTarget;
  CDC m_mem;
  CBitmap m_bmp;
  CBitmap* m_pOld;
  CRect m_rc;
};

// A new font made from the LOGFONT of another; null for a null or empty font.
VXGUITRANS_API CFont* CopyFont(CFont* pFont);
// A device-dependent bitmap of a packed DIB (the screen's DC); null for null.
VXGUITRANS_API HBITMAP DIBToBitmap(const BITMAPINFO* pbi);
// A new packed DIB (header, colour table, bits) of a bitmap, allocated with new BYTE[];
// FALSE with *ppOut null for a null bitmap, FALSE when the bits cannot all be read.
VXGUITRANS_API BOOL BitmapToDIB(HBITMAP hBitmap, BITMAPINFO** ppOut);
// A bitmap resource of the resource chain as a packed DIB; null when it cannot be loaded.
VXGUITRANS_API BITMAPINFO* LoadDIB(LPCSTR lpszResource);
// Frees what BitmapToDIB made.
VXGUITRANS_API void FreeDIB(BITMAPINFO* pbi);
// A copy of a packed DIB; null for null.
VXGUITRANS_API BITMAPINFO* CopyDIB(const BITMAPINFO* pbi);
VXGUITRANS_API void DrawDIB(CDC* pDC, const BITMAPINFO* pbi, int left, int top, int right, int bottom, BOOL bStretch,
                            BOOL bCentre);
VXGUITRANS_API void DrawBitmap(CDC* pDC, CBitmap* pBitmap, int left, int top, int right, int bottom, BOOL bStretch,
                               BOOL bCentre);
