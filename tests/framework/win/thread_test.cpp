// Threads and the application object: workers started suspended, priorities, self-deleting
// user-interface threads with their own loop and thread messages; profile, wait cursor.
#include <gtest/gtest.h>

#include <atomic>

#include "testwin.h"

namespace {

struct WorkerData {
  std::atomic<int> nRuns{0};
  CWinThread* pSelf = nullptr;
  CWnd* pMainWnd = nullptr;
};

UINT AFX_CDECL Worker(LPVOID pParam) {
  WorkerData* pData = static_cast<WorkerData*>(pParam);
  pData->nRuns++;
  pData->pSelf = AfxGetThread();
  pData->pMainWnd = AfxGetMainWnd();
  return 77;
}

TEST(Threads, WorkerStartsSuspendedAtItsPriority) {
  CWnd mainWnd;
  ASSERT_TRUE(mainWnd.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  theApp.m_pMainWnd = &mainWnd;
  WorkerData data;
  CWinThread* pThread = AfxBeginThread(Worker, &data, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
  ASSERT_NE(pThread, nullptr);
  pThread->m_bAutoDelete = FALSE;
  ::Sleep(30);
  EXPECT_EQ(data.nRuns.load(), 0);
  EXPECT_EQ(pThread->GetThreadPriority(), THREAD_PRIORITY_BELOW_NORMAL);
  EXPECT_NE(pThread->m_nThreadID, 0u);
  pThread->ResumeThread();
  ASSERT_EQ(::WaitForSingleObject(pThread->m_hThread, 5000), WAIT_OBJECT_0);
  DWORD dwCode = 0;
  ::GetExitCodeThread(pThread->m_hThread, &dwCode);
  EXPECT_EQ(dwCode, 77u);
  EXPECT_EQ(data.nRuns.load(), 1);
  EXPECT_EQ(data.pSelf, pThread);
  EXPECT_EQ(data.pMainWnd, &mainWnd);  // workers see the application's main window
  delete pThread;
  theApp.m_pMainWnd = nullptr;
  mainWnd.DestroyWindow();
}

std::atomic<int> g_nUiThreads{0};
std::atomic<int> g_nThreadMessages{0};
std::atomic<int> g_nExits{0};
HANDLE g_hReady = nullptr;

// A user-interface thread: its own window and message loop; a thread message ends it.
class CUiThread : public CWinThread {
  DECLARE_DYNCREATE(CUiThread)
 public:
  CUiThread() { ++g_nUiThreads; }
  ~CUiThread() override { --g_nUiThreads; }
  CWnd m_wnd;
  BOOL InitInstance() override {
    if (!m_wnd.CreateEx(0, AfxRegisterWndClass(0), "ui", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr)) return FALSE;
    m_pMainWnd = &m_wnd;
    ::SetEvent(g_hReady);
    return TRUE;
  }
  int ExitInstance() override {
    ++g_nExits;
    return CWinThread::ExitInstance();
  }

 protected:
  afx_msg void OnQuitRequest(WPARAM wParam, LPARAM) {
    g_nThreadMessages += (int)wParam;
    m_wnd.DestroyWindow();  // the main window's end ends the loop
  }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CUiThread, CWinThread)
BEGIN_MESSAGE_MAP(CUiThread, CWinThread)
  ON_THREAD_MESSAGE(WM_USER + 5, &CUiThread::OnQuitRequest)
END_MESSAGE_MAP()

TEST(Threads, UserInterfaceThreadRunsItsLoopAndDeletesItself) {
  g_hReady = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  int nExits = g_nExits;
  CWinThread* pThread = AfxBeginThread(RUNTIME_CLASS(CUiThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  ASSERT_NE(pThread, nullptr);
  EXPECT_TRUE(pThread->m_bAutoDelete);
  HANDLE hThread = nullptr;
  ::DuplicateHandle(::GetCurrentProcess(), pThread->m_hThread, ::GetCurrentProcess(), &hThread, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
  DWORD nThreadID = pThread->m_nThreadID;
  pThread->ResumeThread();
  ASSERT_EQ(::WaitForSingleObject(g_hReady, 5000), WAIT_OBJECT_0);
  EXPECT_TRUE(::PostThreadMessageA(nThreadID, WM_USER + 5, 3, 0));
  ASSERT_EQ(::WaitForSingleObject(hThread, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(g_nThreadMessages.load(), 3);
  EXPECT_EQ(g_nExits.load(), nExits + 1);
  EXPECT_EQ(g_nUiThreads.load(), 0);  // deleted itself
  ::CloseHandle(hThread);
  ::CloseHandle(g_hReady);
}

TEST(Application, IsTheProgramsObjectOnTheMainThread) {
  EXPECT_EQ(AfxGetApp(), &theApp);
  EXPECT_EQ(AfxGetThread(), &theApp);
  EXPECT_STREQ(AfxGetAppName(), "fwtest");
  EXPECT_EQ(theApp.m_nThreadID, ::GetCurrentThreadId());
}

TEST(Application, ProfileInTheRegistryAndInAnIniFile) {
  LPCSTR pszOldKey = theApp.m_pszRegistryKey;
  LPCSTR pszOldProfile = theApp.m_pszProfileName;
  theApp.m_pszRegistryKey = nullptr;
  theApp.m_pszProfileName = nullptr;
  theApp.SetRegistryKey("GlimFWTest");
  EXPECT_STREQ(theApp.m_pszProfileName, "fwtest");
  EXPECT_TRUE(theApp.WriteProfileInt("Settings", "Count", 42));
  EXPECT_TRUE(theApp.WriteProfileString("Settings", "Name", "表示"));
  BYTE bytes[] = {1, 2, 3, 0, 5};
  EXPECT_TRUE(theApp.WriteProfileBinary("Settings", "Blob", bytes, sizeof(bytes)));
  EXPECT_EQ(theApp.GetProfileInt("Settings", "Count", 0), 42u);
  EXPECT_EQ(theApp.GetProfileInt("Settings", "Missing", -3), (UINT)-3);
  EXPECT_STREQ(theApp.GetProfileString("Settings", "Name"), "表示");
  EXPECT_STREQ(theApp.GetProfileString("Settings", "Missing", "既定"), "既定");
  LPBYTE pData = nullptr;
  UINT nBytes = 0;
  ASSERT_TRUE(theApp.GetProfileBinary("Settings", "Blob", &pData, &nBytes));
  EXPECT_EQ(nBytes, sizeof(bytes));
  EXPECT_EQ(memcmp(pData, bytes, sizeof(bytes)), 0);
  delete[] pData;
  HKEY hKey = nullptr;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\GlimFWTest\\fwtest\\Settings", 0, KEY_READ, &hKey),
            ERROR_SUCCESS);
  ::RegCloseKey(hKey);
  ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\GlimFWTest");

  // Without a registry key the profile is an .INI file.
  free(const_cast<LPSTR>(theApp.m_pszRegistryKey));
  theApp.m_pszRegistryKey = nullptr;
  char ini[MAX_PATH];
  ::GetTempPathA(MAX_PATH, ini);
  lstrcatA(ini, "glimfw_test.ini");
  ::DeleteFileA(ini);
  free(const_cast<LPSTR>(theApp.m_pszProfileName));
  theApp.m_pszProfileName = _strdup(ini);
  EXPECT_TRUE(theApp.WriteProfileInt("Window", "Top", -7));
  EXPECT_EQ((int)theApp.GetProfileInt("Window", "Top", 0), -7);
  EXPECT_STREQ(theApp.GetProfileString("Window", "Top"), "-7");
  ::DeleteFileA(ini);
  free(const_cast<LPSTR>(theApp.m_pszProfileName));
  theApp.m_pszRegistryKey = pszOldKey;
  theApp.m_pszProfileName = pszOldProfile;
}

TEST(Application, WaitCursorsNest) {
  HCURSOR hWait = ::LoadCursorA(nullptr, (LPCSTR)IDC_WAIT);
  HCURSOR hArrow = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
  ::SetCursor(hArrow);
  {
    CWaitCursor outer;
    EXPECT_EQ(::GetCursor(), hWait);
    theApp.BeginWaitCursor();
    EXPECT_EQ(theApp.m_nWaitCursorCount, 2);
    ::SetCursor(hArrow);  // a message box put the arrow back
    theApp.RestoreWaitCursor();
    EXPECT_EQ(::GetCursor(), hWait);
    theApp.EndWaitCursor();
    EXPECT_EQ(::GetCursor(), hWait);
  }
  EXPECT_EQ(theApp.m_nWaitCursorCount, 0);
  EXPECT_EQ(::GetCursor(), hArrow);
}

}  // namespace
