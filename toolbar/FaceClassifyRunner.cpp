#include "FaceClassifyRunner.h"

#include <FaceRecords.h>
#include <MainWndMessages.h>
#include <VxResourceIds.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstring>

#include "EntryEditRules.h"
#include "ui/ChoiceDialogs.h"
#include "ui/ResourceDialog.h"

namespace faceclassify {

DriveStep TestDrive(DWORD flags, bool fixedDrive, bool* testDrives) {
  if (!*testDrives || fixedDrive) return kClassify;
  if (flags == 0 || flags == 1) return kStop;
  if (flags == 0x20000001) {
    *testDrives = false;
    return kSkipOnce;
  }
  return kClassify;
}

bool Classifiable(const std::string& path, bool engineReads) {
  // The registration dialog's rule, less its refusal of movies.
  const char* dot = strrchr(path.c_str(), '.');
  if (dot && _stricmp(dot, ".mov") == 0) return engineReads;
  return entryedit::AcceptsPicture(path, engineReads);
}

LPCSTR ProgressText(LPCSTR format, LPCSTR fileName, int n, int total) {
  // Posted as a pointer: the window reads it later, so it must never move or be freed.
  static char text[kProgressTextBytes];
  _snprintf(text, sizeof text - 1, format ? format : "%s", fileName ? fileName : "", n, total);
  text[sizeof text - 1] = '\0';
  return text;
}

}  // namespace faceclassify

namespace {

bool OnFixedDrive(const CString& path) {
  if (path.GetLength() < 2 || path[1] != ':') return false;
  const char root[4] = {path[0], ':', '\\', '\0'};
  return GetDriveTypeA(root) == DRIVE_FIXED;
}

}  // namespace

CFaceClassifyRunner::CFaceClassifyRunner(CWnd* pOwner)
    : m_pFiles(NULL),
      m_pData(NULL),
      m_dwFlags(0),
      m_pOwner(pOwner),
      m_pDb(NULL),
      m_pFaces(NULL),
      m_pImage(NULL),
      m_nRegistered(0),
      m_pNotice(NULL) {}

CFaceClassifyRunner::~CFaceClassifyRunner() {
  if (m_pNotice) {
    if (m_pNotice->m_hWnd) m_pNotice->DestroyWindow();
    delete m_pNotice;
  }
  delete m_pData;
  faces::LetGo(&m_pFaces, &m_pImage, &m_pDb);
}

HRESULT CFaceClassifyRunner::Init(DWORD dwFlags, CGFileInfoList* pFiles) {
  m_dwFlags = dwFlags;
  m_pFiles = pFiles;
  delete m_pData;
  m_pData = new (std::nothrow) Data;
  if (!m_pData) return E_OUTOFMEMORY;
  if (!m_pFaces) m_pFaces = new CFaceIdentifier;
  if (m_strFaceDbPath.IsEmpty())
    m_pFaces->LoadDb();
  else
    m_pFaces->LoadDb((LPCSTR)m_strFaceDbPath);
  if (!m_pImage) m_pImage = new (std::nothrow) CCMDIB;
  if (!m_pImage) return S_OK;
  if (!m_pDb) m_pDb = GetDBFileObject();
  if (m_pDb) m_nRegistered = 0;
  return S_OK;
}

HRESULT CFaceClassifyRunner::Run() {
  ICGBrowser* pBrowser = GetCGBrowser();
  if (!pBrowser) return E_FAIL;
  m_pNotice = new CNoticeDlg(m_pOwner);
  m_pNotice->SetText(LoadResourceText(IDS_PROGRAM_STARTING));
  if (m_pNotice->Create(m_pOwner)) {
    m_pNotice->CenterWindow();
    m_pNotice->ShowWindow(SW_SHOW);
    m_pNotice->UpdateWindow();
  }
  if (m_pFiles) pBrowser->GetFileData(m_pFiles, (long)m_dwFlags);
  return Classify();
}

HRESULT CFaceClassifyRunner::Classify() {
  if (!m_pData) return E_FAIL;
  const CString title = LoadResourceText(IDS_CLASSIFY_TITLE);
  m_pData->pRunner = this;
  m_pData->m_bCancel = 0;
  const BOOL ready = m_pDb && m_pDb->Open();
  if (m_pNotice) {
    if (m_pNotice->m_hWnd) m_pNotice->DestroyWindow();
    delete m_pNotice;
    m_pNotice = NULL;
  }
  if (!ready) {
    AfxMessageBox(IDS_FACE_DB_NOT_READY, MB_OK | MB_ICONEXCLAMATION);
    return S_OK;
  }
  CMTLProgressBar(&CFaceClassifyRunner::Worker, title, CMTL_PGBAR_CANCEL, m_pData);
  return S_OK;
}

HRESULT CFaceClassifyRunner::LoadFaceImage(LPCSTR lpszPath) {
  if (!m_pImage || !m_pFaces || m_pImage->ResizeAndRotate(lpszPath, SIZE{640, 480}, CMDIB_RESIZE_CANVAS) != 0)
    return E_FAIL;
  return m_pFaces->SetImage(&m_pImage->GetBitmapInfoAddress()->bmiHeader, m_pImage->GetBitsAddress());
}

int CFaceClassifyRunner::Worker(CPgBarData* pBase) {
  Data* pData = static_cast<Data*>(pBase);
  CFaceClassifyRunner* self = pData->pRunner;
  if (!self || !self->m_pFiles) return 1;
  const CString format = LoadResourceText(IDS_FILE_PROGRESS_FORMAT);
  const int total = (int)self->m_pFiles->GetCount();
  bool testDrives = true;
  int n = 0;
  LPCSTR text = faceclassify::ProgressText(format, "", 0, total);
  for (POSITION pos = self->m_pFiles->GetHeadPosition(); pos && !pData->m_bCancel;) {
    const CString path = self->m_pFiles->GetNext(pos).path;
    ++n;
    if (!faceclassify::Classifiable((LPCSTR)path, CCMDIB::IsSupported(path) != FALSE)) continue;
    switch (faceclassify::TestDrive(self->m_dwFlags, OnFixedDrive(path), &testDrives)) {
      case faceclassify::kStop: AfxMessageBox(IDS_CLASSIFY_NOT_FIXED, MB_OK | MB_ICONEXCLAMATION); return 1;
      case faceclassify::kSkipOnce: AfxMessageBox(IDS_CLASSIFY_REMOVABLE, MB_OK | MB_ICONINFORMATION); continue;
      case faceclassify::kClassify: break;
    }
    text = faceclassify::ProgressText(format, PathFindFileNameA(path), n, total);
    if (pData->m_hWnd) {
      CMTLPostProgress(pData->m_hWnd, text, total ? n * 100 / total : 100);
      ::UpdateWindow(pData->m_hWnd);
    }
    const std::string file = (LPCSTR)path;
    WORD count = 0;
    int added = 0;
    if (self->LoadFaceImage(path) == S_OK && SUCCEEDED(self->m_pFaces->GetNumberOfFace(&count))) {
      faces::StoreIdentifiedFaces(file, self->m_pFaces, count, self->m_pDb, &added);
      self->m_nRegistered += added;
    }
    if (faces::StoreTaggedPersons(file, self->m_pDb, &added) > 0) {
      self->m_nRegistered += added;
      self->m_pDb->Commit();
    }
  }
  const HRESULT committed = self->m_pDb ? self->m_pDb->Commit() : E_FAIL;
  if (pData->m_hWnd) CMTLPostProgress(pData->m_hWnd, text, 100);
  // The worker's own thread has no main window: the program's is asked for.
  CWinApp* pApp = AfxGetApp();
  CWnd* pMain = pApp ? pApp->m_pMainWnd : NULL;
  if (committed == S_OK && pMain && pMain->GetSafeHwnd())
    ::SendMessageA(pMain->GetSafeHwnd(), WM_REFRESH_FOLDERS, (WPARAM)pMain->GetSafeHwnd(), 1);
  return 1;
}

void CFaceClassifyRunner::Finish() {
  delete m_pData;
  m_pData = NULL;
  faces::LetGo(&m_pFaces, &m_pImage, &m_pDb);
  CString text;
  text.Format(LoadResourceText(IDS_CLASSIFY_COUNT), m_nRegistered);
  AfxMessageBox(text, MB_OK | MB_ICONINFORMATION);
}
