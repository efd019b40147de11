// The application object of a library with a resource handle of its own (the rename
// tool, the export plug-ins): the resource library is loaded at start and freed at the end.
#pragma once
#include <fw/fw.h>

class CResourceLibraryApp : public CWinApp {
 public:
  explicit CResourceLibraryApp(LPCSTR lpszName) : CWinApp(lpszName) {}

  BOOL InitInstance() override {
    m_hResources = AfxLoadLibrary("VxResource.dll");
    if (!m_hResources) {
      AfxMessageBox("There is no VxResource.dll.", MB_ICONHAND);
      return FALSE;
    }
    AfxSetResourceHandle(m_hResources);
    return TRUE;
  }

  int ExitInstance() override {
    if (m_hResources) AfxFreeLibrary(m_hResources);
    m_hResources = NULL;
    return CWinApp::ExitInstance();
  }

  HINSTANCE Resources() const { return m_hResources; }

 private:
  HINSTANCE m_hResources = NULL;
};
