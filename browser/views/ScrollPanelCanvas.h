// The scroll panel's canvas (the child that holds the item windows, paints the background
// and passes the blank area's mouse on to the panel) and its OLE drop target, which hands
// every drag event to the panel.
#pragma once
#include <fw/fw.h>

class CScrollPanelWnd;

class CScrollPanelDropTarget : public COleDropTarget {
 public:
  explicit CScrollPanelDropTarget(CScrollPanelWnd* pPanel = nullptr) : m_pPanel(pPanel) {}
  void SetPanel(CScrollPanelWnd* pPanel) { m_pPanel = pPanel; }
  DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pData, DWORD dwKeyState, CPoint pt) override;
  DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pData, DWORD dwKeyState, CPoint pt) override;
  BOOL OnDrop(CWnd* pWnd, COleDataObject* pData, DROPEFFECT effect, CPoint pt) override;
  void OnDragLeave(CWnd* pWnd) override;
  DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint pt) override;

 private:
  CScrollPanelWnd* m_pPanel;
};

typedef BOOL (*ScrollPanelPaintFn)(const RECT* prc, CDC* pDC, void* pContext);

class CScrollPanelCanvas : public CWnd {
 public:
  CScrollPanelCanvas();
  ~CScrollPanelCanvas() override;

  BOOL Create(CScrollPanelWnd* pPanel, const RECT& rc, UINT nID);
  void SetBackground(HBITMAP hBitmap);
  void SetBkColor(COLORREF color) { m_crBack = color; }
  void SetPaintCallback(ScrollPanelPaintFn fn, void* pContext) {
    m_pfnPaint = fn;
    m_pPaintContext = pContext;
  }

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint pt);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short delta, CPoint pt);
  afx_msg void OnSetFocus(CWnd* pOld);
  afx_msg LRESULT OnPanelMessage(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void PassOn(UINT message, UINT nFlags, CPoint pt);

  CScrollPanelWnd* m_pPanel;
  CBitmap m_bmBack;
  COLORREF m_crBack;
  ScrollPanelPaintFn m_pfnPaint;
  void* m_pPaintContext;
  CScrollPanelDropTarget m_dropTarget;
};
