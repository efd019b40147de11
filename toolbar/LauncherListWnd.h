// CLauncherListWnd: the launcher, the popup under the toolbar's launcher button with one
// row per slot (three), and the owner of every operation on the launcher's entries, which
// the profile keeps ("Lanch1".."Lanch10" and their "Name"s). A click starts the slot's
// program with the browser's files, a right click registers or removes it, and files
// dropped onto a row go to that slot. The options page uses the entry operations alone.
#pragma once
#include <fw/fw.h>

#include <functional>
#include <vector>

#include "RowListWnd.h"

class CLauncherListWnd : public CRowListWnd {
 public:
  CLauncherListWnd();

  // Creates the window with its three rows (keys 1 to 3).
  BOOL Create(POINT pos, SIZE rowSize, CWnd* pParent, int nBorderMode, int nOwnerCode);
  void AddItem(HINSTANCE hResources, UINT nNormal, UINT nPressed, UINT nHover, UINT nAlternative, int nKey);
  void SetItemLabel(int nKey, LPCSTR lpszText);

  // Entry operations; slots count from 1, indexes from 0.
  void RunLauncherEntry(int nSlot);
  void LaunchFromList(int nSlot);
  void RegisterLauncherEntry(int nSlot);
  void RemoveLauncherEntry(int nSlot);
  // One dropped file: 1 to go on with the next, 0 to stop.
  int AddLauncherEntries(int nSlot, LPCSTR lpszPath);
  // Makes slot 1 free for a program, moving 1 and 2 down (3 is lost); -1 for a file that
  // is no program and no folder.
  int ShiftLauncherEntries(LPCSTR lpszPath);
  CString GetEntryLabel(int nIndex);
  CString GetLauncherPath(int nIndex);
  BOOL SetLauncherEntry(int nIndex, LPCSTR lpszPath);
  void ClearLauncherEntry(int nIndex);
  static HRESULT ResolveShortcut(LPCSTR lpszLink, LPSTR lpszPath, WIN32_FIND_DATAA* pfd);
  static CString GetExeFileDescription(LPCSTR lpszPath);
  BOOL CheckSystemResources();
  // A slot takes it: ".exe" or ".lnk", not a folder (a missing file counts as one).
  static BOOL IsAcceptableProgram(LPCSTR lpszPath);

  // How a program is chosen (the open dialog) and which files a start takes (the target
  // choice, then the browser); FALSE stops. Tests put their own in.
  std::function<BOOL(CString*)> m_chooseProgram;
  std::function<BOOL(std::vector<CString>*)> m_chooseFiles;

  // While a drop is handled: the files still to go, counting down to 1.
  int m_nRemainingDrop;

 protected:
  afx_msg void OnPaint();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnDropFiles(HDROP hDrop);
  afx_msg void OnRegister();
  afx_msg void OnRemove();
  DECLARE_MESSAGE_MAP()

 private:
  // Stores a program (a shortcut's target) with its label in a slot; FALSE when a shortcut
  // leads nowhere usable.
  BOOL StoreProgram(int nSlot, LPCSTR lpszPath);
  // Lets the user choose a program and stores it; FALSE (after saying so) when refused.
  BOOL ChooseAndStore(int nSlot, CString* pStored);
  enum StartResult { START_FAILED, START_ENDED, START_RUNNING };
  StartResult StartProgram(const CString& strCommandLine);
  int Box(UINT nTextId, UINT nCaptionId, UINT nType);
  int Box(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType);
  void WriteLastSlot(int nSlot);

  CString m_strTitle;
  int m_nMenuRow;
};
