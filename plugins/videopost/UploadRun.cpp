#include "UploadRun.h"

#include <initguid.h>

#include <ClipFacts.h>
#include <Kitlib2/Profile.h>
#include <MainWndMessages.h>
#include <VxResourceIds.h>
#include <ui/ProgramFolder.h>

#include <memory>
#include <string>
#include <vector>

#include "UploadProgressDialog.h"
#include "UploadRules.h"

namespace uploadrun {

namespace {

// The files of one run and its uploader. A run whose uploader started belongs to its
// launch thread until the uploader ends; the thread then deletes its files.
struct Run {
  std::vector<std::string> files;
  HANDLE hProcess = NULL;
  bool launched = false;  // the launch thread owns the run
};

// The launch record and what it points to, one per started uploader.
struct Launch {
  SHELLEXECUTEINFOA sei;
  char szProgram[MAX_PATH];
  char szParameters[MAX_PATH];
  Run* run;
  HANDLE hStarted;  // set once the start's outcome is known
  HRESULT hrStart;
};

// An address inside this module, to take a reference on it.
const char g_moduleAnchor = 0;

CRITICAL_SECTION g_lock;
struct LockInit {
  LockInit() { ::InitializeCriticalSection(&g_lock); }
  ~LockInit() { ::DeleteCriticalSection(&g_lock); }
} g_lockInit;
std::vector<Run*> g_runs;  // runs not owned by a launch thread: their files go at unload
Run* g_running = NULL;     // the run whose uploader is starting or running
DWORD g_endedCode = 0;     // the exit code of the last uploader that ended while running
HANDLE g_hThread = NULL;

void DeleteFiles(const std::vector<std::string>& files) {
  for (const std::string& f : files) ::DeleteFileA(f.c_str());
}

DWORD WINAPI LaunchThread(LPVOID p) {
  Launch* launch = static_cast<Launch*>(p);
  HMODULE self = NULL;
  ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       &g_moduleAnchor, &self);
  BOOL ok = ::ShellExecuteExA(&launch->sei);
  if (!ok || (INT_PTR)launch->sei.hInstApp <= 32 || !launch->sei.hProcess) {
    DWORD err = ::GetLastError();
    launch->hrStart = err ? HRESULT_FROM_WIN32(err) : E_FAIL;
    ::SetEvent(launch->hStarted);
    // OpenWindow keeps the record and the run; the reference taken for this thread goes.
    ::FreeLibraryAndExitThread(self, 1);
  }
  Run* run = launch->run;
  HANDLE hProcess = launch->sei.hProcess;
  ::EnterCriticalSection(&g_lock);
  run->hProcess = hProcess;
  run->launched = true;
  ::LeaveCriticalSection(&g_lock);
  launch->hrStart = S_OK;
  ::SetEvent(launch->hStarted);  // from here on the record is OpenWindow's to free

  ::WaitForSingleObject(hProcess, INFINITE);
  DWORD code = 0;
  if (!::GetExitCodeProcess(hProcess, &code)) code = (DWORD)E_FAIL;
  ::CloseHandle(hProcess);
  ::EnterCriticalSection(&g_lock);
  run->hProcess = NULL;
  if (g_running == run) {
    g_running = NULL;
    g_endedCode = code;
  }
  ::LeaveCriticalSection(&g_lock);
  DeleteFiles(run->files);
  delete run;
  ::FreeLibraryAndExitThread(self, 0);
  return 0;
}

CString LoadText(UINT id) {
  CString s;
  s.LoadString(id);
  return s;
}

void Say(HWND hOwner, UINT id, const CString& caption) {
  ::MessageBoxA(hOwner, LoadText(id), caption, MB_OK | MB_ICONEXCLAMATION);
}

const DWORD kUploaderWaitMs = 20020;
// Paint messages served in one go at most: a window that never validates would keep
// answering WM_PAINT.
const int kPaintsAtOnce = 64;

// The message the uploader posts once it runs, taken from this thread's queue. S_OK when
// it came, or after about twenty seconds, or when the uploader ended well before posting
// it (its message went elsewhere); an uploader that ended with a failure (a crash among
// them) before posting fails the run. The windows of this thread paint meanwhile (the
// progress window among them); nothing else is taken from the queue.
HRESULT WaitForUploader(Run* run) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    MSG msg;
    if (::PeekMessageA(&msg, NULL, WM_UPLOADER_READY, WM_UPLOADER_READY, PM_REMOVE)) return S_OK;
    ::EnterCriticalSection(&g_lock);
    const bool ended = g_running != run;
    const DWORD code = g_endedCode;
    ::LeaveCriticalSection(&g_lock);
    if (ended) return upload::UploaderEndResult(code);
    if (::GetTickCount() - start >= kUploaderWaitMs) return S_OK;
    for (int i = 0; i < kPaintsAtOnce && ::PeekMessageA(&msg, NULL, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
      ::DispatchMessageA(&msg);
    ::MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE);
  }
}

}  // namespace

long OpenWindow(int nType, HWND hPane, HWND hMain, CGFileInfoList* pFiles) {
  CString caption = LoadText(IDS_UPLOAD_NAME);
  struct BusyNotice {  // every return tells the pane
    HWND h;
    ~BusyNotice() {
      if (h) ::PostMessageA(h, WM_EXPORT_BUSY, 0, 0);
    }
  } notice = {hPane};

  ::EnterCriticalSection(&g_lock);
  bool busy = g_running != NULL;
  ::LeaveCriticalSection(&g_lock);
  if (busy) {
    Say(hMain, IDS_UPLOAD_BUSY, caption);
    return E_FAIL;
  }
  if (g_hThread) ::CloseHandle(g_hThread);
  g_hThread = NULL;

  std::vector<std::string> paths;
  if (pFiles) {
    for (POSITION pos = pFiles->GetHeadPosition(); pos;) paths.push_back((LPCSTR)pFiles->GetNext(pos).path);
  }
  UINT message = 0;
  if (FAILED(upload::CheckUploadFiles(&message, nType, paths))) {
    if (message) Say(hMain, message, caption);
    return E_FAIL;
  }

  HMODULE hFacts = LoadProgramLibrary("Core\\ScoreHall\\ClipFacts.dll");
  PFNCLIPFACTSCREATE create = hFacts ? (PFNCLIPFACTSCREATE)::GetProcAddress(hFacts, "DllCreateInstance") : NULL;
  IClipFactsEdit* writer = NULL;
  HRESULT hr = create ? create(CLSID_ClipFactsWriter, IID_IClipFactsEdit, (void**)&writer) : E_FAIL;
  if (FAILED(hr) || !writer) {
    if (hFacts) ::FreeLibrary(hFacts);
    Say(hMain, IDS_UPLOAD_FAILED, caption);
    return FAILED(hr) ? hr : E_FAIL;
  }

  char temp[MAX_PATH];
  DWORD n = ::GetTempPathA(MAX_PATH, temp);
  Run* run = new Run;
  bool launched = false;  // the run belongs to the launch thread from then on
  {
    upload::CompanionWriter companions(writer, n && n < MAX_PATH ? temp : "");
    hr = n && n < MAX_PATH ? companions.WriteAll(paths) : E_FAIL;
    run->files = companions.Companions();
    run->files.insert(run->files.end(), companions.Thumbnails().begin(), companions.Thumbnails().end());
    writer->Release();
    ::FreeLibrary(hFacts);
    if (SUCCEEDED(hr)) {
      CMWriteProfileInt("Settings", "Init", 1);
      std::unique_ptr<Launch> launch(new Launch());
      launch->sei.cbSize = sizeof(SHELLEXECUTEINFOA);
      // A failed start is told with the run's own message only.
      launch->sei.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
      launch->sei.hwnd = hMain;
      launch->sei.lpVerb = "open";
      lstrcpynA(launch->szProgram, ProgramFolderPath("Core\\VideoPostUploader.exe"), MAX_PATH);
      snprintf(launch->szParameters, MAX_PATH, " -w %d -m %d -P2 -L \"%s\"", (int)(INT_PTR)hMain, WM_UPLOADER_READY,
               companions.ListPath().c_str());
      launch->sei.lpFile = launch->szProgram;
      launch->sei.lpParameters = launch->szParameters;
      launch->sei.nShow = SW_SHOWNORMAL;
      launch->run = run;
      launch->hStarted = ::CreateEventA(NULL, TRUE, FALSE, NULL);

      CUploadProgressDialog* progress = new CUploadProgressDialog;
      progress->SetText(LoadText(IDS_PROGRAM_STARTING));
      if (progress->Create()) {
        progress->CenterWindow();
        progress->ShowWindow(SW_SHOW);
        progress->UpdateWindow();
      }

      ::EnterCriticalSection(&g_lock);
      g_running = run;
      ::LeaveCriticalSection(&g_lock);
      // The thread holds the module while it runs: unloading the plug-in cannot unmap it.
      HMODULE self = NULL;
      ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, &g_moduleAnchor, &self);
      g_hThread = launch->hStarted ? ::CreateThread(NULL, 0, LaunchThread, launch.get(), 0, NULL) : NULL;
      if (!g_hThread) {
        if (self) ::FreeLibrary(self);
        hr = HRESULT_FROM_WIN32(::GetLastError());
      } else {
        ::WaitForSingleObject(launch->hStarted, INFINITE);
        hr = launch->hrStart;
        launched = SUCCEEDED(hr);
        if (launched) hr = WaitForUploader(run);
      }
      if (launch->hStarted) ::CloseHandle(launch->hStarted);
      progress->DestroyWindow();
      delete progress;
      if (FAILED(hr) && !launched) {
        ::EnterCriticalSection(&g_lock);
        g_running = NULL;
        ::LeaveCriticalSection(&g_lock);
      }
    }
  }
  if (FAILED(hr)) {
    // Nothing reads the files of a run that never reached its uploader; those of an
    // uploader that ended are its launch thread's.
    if (!launched) g_runs.push_back(run);
    Say(hMain, IDS_UPLOAD_FAILED, caption);
    return hr;
  }
  return 0;
}

void DeleteEndedRuns() {
  for (Run* run : g_runs) {
    DeleteFiles(run->files);
    delete run;
  }
  g_runs.clear();
  if (g_hThread) ::CloseHandle(g_hThread);
  g_hThread = NULL;
}

}  // namespace uploadrun
