// The folder properties page (template 5011): the folder's static facts at once, its
// files, folders and sizes counted on the user-interface thread while the sheet stays
// responsive, until the count ends or the sheet closes.
#pragma once
#include <fw/fw.h>
#include <fw/propsheet.h>
#include <shlobj.h>

#include <string>

#include "FolderCount.h"

class CPropertyFolderPage : public CPropertyPage {
 public:
  CPropertyFolderPage();
  ~CPropertyFolderPage() override;

  // The id list stays the caller's; it must outlive the page.
  void SetFolder(const std::string& path, LPCITEMIDLIST absolute);

  CString m_strCreated, m_strContents, m_strName, m_strLocation, m_strSize, m_strType, m_strOnDisk;
  int m_bArchive = 0, m_bHidden = 0, m_bReadOnly = 0, m_bSystem = 0;
  disktree::FolderCount m_count;
  // Set by OK or Cancel; every level of a running count ends at its next entry.
  volatile LONG m_bStop = 0;
  // True once the whole folder was counted.
  bool m_bCounted = false;
  // The window the sheet is centred on.
  HWND m_centreOver = nullptr;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void OnOK() override;
  void OnCancel() override;
  afx_msg void OnTimer(UINT_PTR id);
  DECLARE_MESSAGE_MAP()

 private:
  void Count();
  // Runs the thread's waiting messages; false once the sheet was closed.
  bool Pump();
  void UpdateTexts();

  std::string m_path;
  LPCITEMIDLIST m_absolute = nullptr;
  HICON m_icon = nullptr;
  int m_refresh = 10;
};

namespace disktree {
// Shows the modal sheet for the folder, owned by and centred on the window over; 0 once it
// has closed.
HRESULT ShowFolderProperties(const std::string& path, LPCITEMIDLIST absolute, HWND over);
}  // namespace disktree
