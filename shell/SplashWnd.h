// The splash window: the splash picture of the program folder in a topmost popup centred
// on the desktop, shown from the start until every pane of the main window is ready.
#pragma once
#include <fw/fw.h>

#include <Kitlib2/CMDIB.h>

class CSplashWnd : public CWnd {
 public:
  static void EnableSplashScreen(BOOL bEnable = TRUE);
  // Shows the splash (no parent: pParentWnd null); nothing when disabled or shown.
  static void ShowSplashScreen(CWnd* pParentWnd = NULL);
  // Destroys the splash window and updates the main window.
  static void HideSplashScreen();
  // The one splash window, null when none is shown.
  static CSplashWnd* GetSplash() { return c_pSplashWnd; }

  // The picture file: profile ProductInfo\Splash (default "Image\Splash10.bmp") under
  // the program folder.
  static CString GetSplashPath();

 protected:
  CSplashWnd();
  ~CSplashWnd() override;
  BOOL Create(CWnd* pParentWnd);
  void PostNcDestroy() override;

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  CCMDIB m_image;
  static BOOL c_bShowSplashWnd;
  static CSplashWnd* c_pSplashWnd;
  friend struct SplashCleanup;
};
