// CBrowserBaseView: the lower pane of the main frame's browser area. The main frame builds
// the thumbnail side (a splitter holding the icon view and the enlarged-image and
// focus-information views) as its first child window; beside it the base view makes the
// month calendar, the day calendar and the music view, and shows exactly one of the four
// for the view mode (ChangeView). For the calendars it builds the calendar page: every
// picture and movie of the folder once, collected by a worker.
#pragma once
#include <fw/fw.h>

#include "VxGUITransApi.h"

class CThumbnail;
class CBrowserDocument;
class CCalendarCollector;

class VXGUITRANS_API CBrowserBaseView : public CView {
  DECLARE_DYNCREATE(CBrowserBaseView)
 public:
  CBrowserBaseView();
  ~CBrowserBaseView() override;

  // The thumbnail side: the first child window found at the initial update.
  CWnd* GetThumbnailSide() const { return m_pThumbnailSide; }
  CWnd* GetMonthView() const { return m_pMonthView; }
  CWnd* GetDayView() const { return m_pDayView; }
  CWnd* GetMusicView() const { return m_pMusicView; }

  void OnInitialUpdate() override;
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;

  // Shows the window of a view code (1, 2, 5 thumbnail side; 10 month; 11 day; 12 music)
  // and tells the main window (1864); a code already current changes nothing.
  void ChangeView(int nCode);
  // Builds the calendar page again (reloading the folder first with bReload).
  void AddThumbnailPage(BOOL bReload);
  void DeleteThumbnailPage();
  void ToolbarEnable(BOOL bEnable);
  // The thumbnails the shown calendar holds, appended to the list (the browser's own
  // question; the same message from outside is refused).
  void GetCalendarThumbnails(CList<CThumbnail*, CThumbnail*>* pList);

  // The view code shown (-1 before the first switch) and the collecting worker's cancel
  // flag: process-wide, as there is one browser.
  static int GetCurrentViewCode() { return s_nCurrentCode; }
  static volatile LONG* GetCancelFlag() { return &s_lCancel; }
  // How many copies the calendar page holds (owned by this view).
  int GetOwnedCopyCount() const { return (int)m_owned.GetCount(); }

 protected:
  void OnDraw(CDC* pDC) override;
  CBrowserDocument* GetBrowserDocument() const;
  HWND GetMainWindow() const;

  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnKeepBeforeExit(WPARAM, LPARAM);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnReload(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetThumbnails(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPreFolderChange(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMusicStop(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  friend class CCalendarCollector;
  CWnd* CreateSibling(CRuntimeClass* pClass, UINT nID, DWORD dwStyle);
  void ShowOnly(CWnd* pShown);
  void PumpWhileCollecting();

  // 1. music, day and month views  2. thumbnail side  3. owned copies  4. collecting flag
  CWnd* m_pMusicView;
  CWnd* m_pDayView;
  CWnd* m_pMonthView;
  CWnd* m_pThumbnailSide;
  CList<CThumbnail*, CThumbnail*> m_owned;
  volatile LONG m_lCollecting;  // from the build's start until its worker has ended
  // A reload asked for while the calendar page was being built: it runs after the build.
  BOOL m_bReloadAfterBuild;
  // 5. serialises the message pumping while the worker runs
  CRITICAL_SECTION m_cs;
  BOOL m_bCsReady;

  static int s_nCurrentCode;
  static volatile LONG s_lCancel;
};
