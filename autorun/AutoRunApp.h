// The launcher's application object: start-up checks, the instance mutex, the resource
// library and the hidden frame.
#pragma once
#include <fw/fw.h>

class CAutoRunApp : public CWinApp {
 public:
  CAutoRunApp();

  BOOL InitInstance() override;
  int ExitInstance() override;

 protected:
  afx_msg void OnAppAbout();
  DECLARE_MESSAGE_MAP()

 private:
  // Each shows its own message and answers FALSE when the launcher must end.
  BOOL LoadResourceLibrary();
  BOOL TakeInstanceMutex();
  BOOL CheckEnvironment();

  HINSTANCE m_hResourceDll;
  HANDLE m_hInstanceMutex;
};
