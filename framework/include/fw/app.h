// The application object.
//
// A program defines one global CWinApp-derived object; GlimFW.dll exports WinMain, so the
// program gets the framework's start-up (AfxWinMain: InitInstance, then Run, ExitInstance
// also after a failed InitInstance) without writing one.
//
// A CWinApp made by a DLL never becomes AfxGetApp(): it belongs to that DLL's module
// state. Its InitInstance runs when the DLL calls AfxDllInitInstance from DllMain, with
// the DLL's state current (FW_DLL_APP_MAIN() writes that DllMain).
#pragma once
#include <fw/thread.h>
#include <fw/module.h>
#include <fw/coll.h>

class CDocTemplate;
class CDocument;

class FW_API CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)
 public:
  explicit CWinApp(LPCSTR lpszAppName = NULL);
  ~CWinApp() override;

  // The strings below are malloc'ed and freed with the object: a program may free one and
  // put its own _strdup in its place.
  LPCSTR m_pszAppName;        // captions message boxes; default: the program file's title
  HINSTANCE m_hInstance;
  HINSTANCE m_hPrevInstance;
  LPSTR m_lpCmdLine;
  int m_nCmdShow;
  LPCSTR m_pszExeName;
  LPCSTR m_pszHelpFilePath;
  LPCSTR m_pszProfileName;    // profile file, or the key under the registry key
  LPCSTR m_pszRegistryKey;    // Software\<key>\<profile name>; null: an .INI file
  HGLOBAL m_hDevMode;
  HGLOBAL m_hDevNames;
  int m_nWaitCursorCount;
  HCURSOR m_hcurWaitCursorRestore;
  UINT m_nNumPreviewPages;

  virtual BOOL InitApplication();
  BOOL InitInstance() override;
  int ExitInstance() override;
  int Run() override;
  BOOL OnIdle(LONG lCount) override;
  virtual int DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt);
  // 1: one more wait cursor, -1: one less, 0: show it again (after a message box).
  virtual void DoWaitCursor(int nCode);
  virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);

  HICON LoadIcon(LPCSTR lpszResourceName) const;
  HICON LoadIcon(UINT nIDResource) const;
  HICON LoadStandardIcon(LPCSTR lpszIconName) const;
  HICON LoadOEMIcon(UINT nIDIcon) const;
  HCURSOR LoadCursor(LPCSTR lpszResourceName) const;
  HCURSOR LoadCursor(UINT nIDResource) const;
  HCURSOR LoadStandardCursor(LPCSTR lpszCursorName) const;
  HCURSOR LoadOEMCursor(UINT nIDCursor) const;

  // Profile: HKCU\Software\<registry key>\<profile name>\<section> once SetRegistryKey ran.
  void SetRegistryKey(LPCSTR lpszRegistryKey);
  void SetRegistryKey(UINT nIDRegistryKey);
  void LoadStdProfileSettings(UINT nMaxMRU = 4);
  UINT GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
  BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
  CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = NULL);
  BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);
  BOOL GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
  BOOL WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE pData, UINT nBytes);
  HKEY GetAppRegistryKey();
  HKEY GetSectionKey(LPCSTR lpszSection);

  // Document templates (deleted with the application).
  void AddDocTemplate(CDocTemplate* pTemplate);
  POSITION GetFirstDocTemplatePosition() const;
  CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
  virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);
  virtual BOOL SaveAllModified();
  virtual void CloseAllDocuments(BOOL bEndSession);

  // Command handlers a derived map may name.
  afx_msg void OnFileNew();      // a new document and its frame (the first template's)
  afx_msg void OnFileOpen();
  afx_msg void OnFilePrintSetup();
  afx_msg void OnAppExit();
  afx_msg void OnHelp();

  BOOL Enable3dControls() { return TRUE; }
  BOOL Enable3dControlsStatic() { return TRUE; }
  // The printer the print-setup dialog chose (m_hDevMode / m_hDevNames).
  BOOL GetPrinterDeviceDefaults(PRINTDLGA* pPrintDlg);

  DECLARE_MESSAGE_MAP()

 private:
  CPtrList m_templateList;
};

FW_API CWinApp* AFXAPI AfxGetApp();
FW_API LPCSTR AFXAPI AfxGetAppName();
FW_API BOOL AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
FW_API int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
FW_API void AFXAPI AfxWinTerm();

// The application object a DLL made (null when none); see the top of this file.
FW_API CWinApp* AFXAPI AfxGetModuleApp(HINSTANCE hModule);
// The current module state's application object: a DLL's own while its state is
// current (AFX_MANAGE_STATE), else AfxGetApp(). Message boxes are its.
FW_API CWinApp* AFXAPI AfxGetCurrentApp();
// DllMain of a DLL with its own application object: attach runs InitInstance (FALSE
// fails the load), detach runs ExitInstance.
FW_API BOOL AFXAPI AfxDllInitInstance(HINSTANCE hModule, DWORD dwReason, AFX_MODULE_STATE* pModuleState);
#define FW_DLL_APP_MAIN()                                                                   \
  extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {             \
    return AfxDllInitInstance(hInstance, dwReason, AfxGetStaticModuleState());              \
  }

// OLE and ActiveX hosting.
FW_API BOOL AFXAPI AfxOleInit();            // OleInitialize on the calling (user-interface) thread
FW_API void AFXAPI AfxOleTerm(BOOL bJustRevoke = FALSE);
FW_API void AFXAPI AfxEnableControlContainer();

// COleMessageFilter and AfxOleGetMessageFilter: <fw/ole.h>.
