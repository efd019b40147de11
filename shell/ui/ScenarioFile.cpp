// The chooser of slide-show scenario files.
#include <VxGUIDB/Utility.h>
#include <VxResourceIds.h>
#include <commdlg.h>
#include <shlobj.h>

#include "ProgressDialogs.h"

CString SlideShowScenarioFolder() {
  char appData[MAX_PATH] = {};
  ::SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
  return CString(appData) + "\\Norvane\\Glimora\\vxSlideShow";
}

CString NextScenarioFileName(const CString& folder, const std::function<bool(const CString&)>& exists) {
  CString name;
  for (int n = 1;; n++) {
    name.Format("vxSlideShow_%d.snr", n);
    if (!exists(folder + "\\" + name)) return name;
  }
}

DWORD ScenarioDialogFlags(BOOL bOpen) {
  if (bOpen) return OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  // Saving names a new file: only its folder must exist.
  return OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
}

CString ChooseSlideShowScenarioFile(BOOL bOpen) {
  CString folder = SlideShowScenarioFolder();
  ::SHCreateDirectoryExA(nullptr, folder, nullptr);
  char path[MAX_PATH] = {};
  if (!bOpen) {
    CString name = NextScenarioFileName(folder, [](const CString& p) {
      return ::GetFileAttributesA(p) != INVALID_FILE_ATTRIBUTES;
    });
    lstrcpynA(path, name, MAX_PATH);
  }
  CResourceLoader strings;
  CString title = strings.LoadStringA(bOpen ? IDS_SCENARIO_OPEN_TITLE : IDS_SCENARIO_SAVE_TITLE);
  static const char kFilter[] = "SlideShow Files (*.snr)\0*.snr\0";
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof(ofn);
  CWnd* pMain = AfxGetMainWnd();
  ofn.hwndOwner = pMain ? pMain->GetSafeHwnd() : NULL;
  ofn.lpstrFilter = kFilter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = path;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrInitialDir = folder;
  ofn.lpstrTitle = title;
  ofn.lpstrDefExt = "snr";
  ofn.Flags = ScenarioDialogFlags(bOpen);
  BOOL ok = bOpen ? ::GetOpenFileNameA(&ofn) : ::GetSaveFileNameA(&ofn);
  return ok ? CString(path) : CString();
}
