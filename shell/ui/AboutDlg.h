// The About box: product texts from the profile, the program's modules with their
// versions, dates and sizes, and the modules' copyright notices.
#pragma once
#include <fw/fw.h>

#include <vector>

#include "ResourceDialog.h"

namespace about {
// "Ver." + version, then "(NTSC)" for TV system 0 or "(PAL)" for 1.
CString VersionText(const CString& version, int tvSystem);
// The version the box names: the one the installer stored, else the program's own file
// version, else "0.00".
CString ProductVersion(const CString& stored, const CString& fileVersion);
// A date and time text without its seconds: from the last ":" on, that ":" and the two
// digits after it go; the rest stays.
CString WithoutSeconds(const CString& text);
// "%4dKB" of bytes / 1024.
CString SizeText(ULONGLONG bytes);
// The file patterns listed, in order.
const std::vector<CString>& ModulePatterns();
struct ModuleRow {
  CString name, version, modified, size;
};
// Every matching file of the folder, pattern by pattern.
std::vector<ModuleRow> ListModules(const CString& folder);
}  // namespace about

class CAboutDlg : public CResourceDialog {
 public:
  explicit CAboutDlg(CWnd* pParent = NULL);
  CString m_strVersion, m_strCopyright, m_strVersionInfo, m_strNotices;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
};
