// The hidden child window that owns the launcher's icon in the notification area and
// passes the shell's callbacks on to its frame. A plain "STATIC" window: it draws nothing.
#pragma once
#include <fw/fw.h>

class CTrayIconWnd : public CWnd {
 public:
  CTrayIconWnd();
  ~CTrayIconWnd() override;

  // Before Create: the message posted to the parent for each shell callback (0: none),
  // the tip text and the icon's resource id.
  void SetNotifyMessage(UINT nMsg) { m_nNotifyMsg = nMsg; }
  void SetTipText(LPCSTR lpszTip) { m_strTip = lpszTip; }
  void SetIconId(UINT nIconID) { m_nIconID = nIconID; }

  // A hidden 10 x 10 child of the frame; its creation adds the icon.
  BOOL Create(CWnd* pParent, UINT nID);
  BOOL LoadMenu(UINT nMenuID);

  BOOL AddIcon();
  BOOL DeleteIcon();

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnTrayCallback(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  DECLARE_MESSAGE_MAP()

 private:
  BOOL NotifyIcon(DWORD dwMessage, LPCSTR lpszTip);

  UINT m_nNotifyMsg;
  UINT m_nIconID;
  CString m_strTip;
  CMenu m_menu;
};
