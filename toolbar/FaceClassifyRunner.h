// The face classification run: every picture of the browser's files examined under the
// progress bar, each identified face and each person name the camera wrote filed in the
// photo database under its person. The toolbar pane owns one runner and calls Init, Run
// and Finish for its classification command.
#pragma once
#include <FaceIdentifier.h>
#include <ICGBrowser.h>
#include <Kitlib2/CMDIB.h>
#include <Kitlib2/ProgressBar.h>
#include <VxDatabase.h>

#include <string>

namespace faceclassify {

// What the drive test does with a file: classify it, skip it (told once, then drives are
// no longer tested), or stop the whole run.
enum DriveStep { kClassify, kSkipOnce, kStop };
DriveStep TestDrive(DWORD flags, bool fixedDrive, bool* testDrives);
// Files the run looks at: pictures the image engine reads (or ".raw", ".dng"), never
// ".ped", ".gif" or ".png".
bool Classifiable(const std::string& path, bool engineReads);
// The progress text: string 10000 with the file name, its number and the count, in the
// one buffer the progress window reads (1,024 bytes, living as long as the program).
LPCSTR ProgressText(LPCSTR format, LPCSTR fileName, int n, int total);
constexpr size_t kProgressTextBytes = 1024;

}  // namespace faceclassify

class CNoticeDlg;

class CFaceClassifyRunner {
 public:
  explicit CFaceClassifyRunner(CWnd* pOwner);
  virtual ~CFaceClassifyRunner();

  HRESULT Init(DWORD dwFlags, CGFileInfoList* pFiles);
  // The face database file; empty (the default) is the user's own.
  void SetFaceDbPath(LPCSTR lpszPath) { m_strFaceDbPath = lpszPath; }
  // The browser's files classified under the progress bar; E_FAIL without a browser.
  HRESULT Run();
  // The files already in the list classified (Run after it has asked the browser).
  HRESULT Classify();
  // Everything let go, and the count told (string 62061).
  void Finish();

  int GetRegisteredCount() const { return m_nRegistered; }
  // The worker as the progress bar calls it (tests call it with a data record of theirs).
  struct Data : CPgBarData {
    CFaceClassifyRunner* pRunner = nullptr;
  };
  static int Worker(CPgBarData* pData);

 private:
  HRESULT LoadFaceImage(LPCSTR lpszPath);

  CGFileInfoList* m_pFiles;
  Data* m_pData;
  DWORD m_dwFlags;
  CWnd* m_pOwner;
  IVxDBFile* m_pDb;
  CFaceIdentifier* m_pFaces;
  CCMDIB* m_pImage;
  int m_nRegistered;
  CNoticeDlg* m_pNotice;
  CString m_strFaceDbPath;
};
