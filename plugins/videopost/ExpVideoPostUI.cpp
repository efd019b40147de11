// ExpVideoPostUI.peu: the export plug-in that hands chosen movie clips to the uploader.
// Its application object makes the resource library its own resource handle; the six
// exports are what the export pane binds by name.
#include <ExportPluginApi.h>
#include <MainWndMessages.h>
#include <VxResourceIds.h>
#include <fw/fw.h>
#include <pluginkit/ResourceLibraryApp.h>

#include "UploadRun.h"

class CVideoPostApp : public CResourceLibraryApp {
 public:
  CVideoPostApp() : CResourceLibraryApp("ExpVideoPostUI") {}

  int ExitInstance() override {
    uploadrun::DeleteEndedRuns();
    return CResourceLibraryApp::ExitInstance();
  }
};

CVideoPostApp theVideoPostApp;

FW_DLL_APP_MAIN()

#define UPLOAD_EXPORT extern "C" __declspec(dllexport)

UPLOAD_EXPORT long __cdecl GetNumOfType(int* pnCount) {
  if (pnCount) *pnCount = 1;
  return 0;
}

UPLOAD_EXPORT long __cdecl GetInfo(int nType, CExportPluginInfo* pInfo) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (!pInfo) return E_INVALIDARG;
  if (nType != 0) return 0;
  HINSTANCE h = theVideoPostApp.Resources();
  ::LoadStringA(h, IDS_UPLOAD_NAME, pInfo->szName, EXPORTPLUGIN_TEXT_MAX);
  ::LoadStringA(h, IDS_UPLOAD_DESCRIPTION, pInfo->szDescription, EXPORTPLUGIN_TEXT_MAX);
  pInfo->hbmNormal = ::LoadBitmapA(h, MAKEINTRESOURCEA(IDB_UPLOAD_NORMAL));
  pInfo->hbmPressed = ::LoadBitmapA(h, MAKEINTRESOURCEA(IDB_UPLOAD_PRESSED));
  pInfo->hbmHover = ::LoadBitmapA(h, MAKEINTRESOURCEA(IDB_UPLOAD_HOVER));
  pInfo->hbmDisabled = ::LoadBitmapA(h, MAKEINTRESOURCEA(IDB_UPLOAD_DISABLED));
  pInfo->nOrder = 12;
  return 0;
}

UPLOAD_EXPORT long __cdecl GetFileMode(int nType, int* pnMode) {
  if (nType == 0 && pnMode) *pnMode = 0;
  return 0;
}

// The clips it takes: the support test's upload kind.
UPLOAD_EXPORT int __cdecl GetFilterType(int) { return 14; }

UPLOAD_EXPORT long __cdecl GetErrorString(int, int, CString* pText) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (pText) pText->Empty();
  return E_FAIL;
}

UPLOAD_EXPORT long __cdecl OpenWindow(int nType, HWND hPane, HWND hMain, CGFileInfoList* pFiles, int) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return uploadrun::OpenWindow(nType, hPane, hMain, pFiles);
}
