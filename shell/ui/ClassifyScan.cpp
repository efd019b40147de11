// The classify dialog's scan for pictures and their registration in the photo database,
// under the common library's progress bar.
#include <Kitlib2/CMDIB.h>
#include <Kitlib2/ProgressBar.h>
#include <KitlibEx/KitlibEx.h>
#include <RecordGateEx.h>
#include <VxGUIDB/Thumbnail.h>
#include <VxGUIDB/Utility.h>
#include <VxProperty.h>
#include <VxResourceIds.h>
#include <shlobj.h>

#include <ctime>
#include <string>
#include <vector>

#include "ProgressDialogs.h"
#include "SettingsDialogs.h"
#include "SettingsRules.h"

namespace {

const DWORD kPictureKinds = 0xD0207;

struct ClassifyJob : CPgBarData {
  CString folder;
  bool subFolders = false;
  bool desktop = false;
  std::vector<CString> files;
  int registered = 0;
};

void Report(ClassifyJob* job, LPCSTR text, LPARAM percent) {
  if (job->m_hWnd) CMTLPostProgress(job->m_hWnd, text, (int)percent);
}

void Search(ClassifyJob* job, const CString& folder, bool recurse) {
  if (job->m_bCancel) return;
  Report(job, folder, -1);
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA(folder + "\\*", &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  std::vector<CString> subs;
  do {
    CString name = fd.cFileName;
    if (name == "." || name == "..") continue;
    CString path = folder + "\\" + name;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (recurse) subs.push_back(path);
    } else if (CMTLxIsSupport0(path, nullptr, kPictureKinds)) {
      job->files.push_back(path);
    }
  } while (!job->m_bCancel && ::FindNextFileA(h, &fd));
  ::FindClose(h);
  for (const CString& sub : subs) Search(job, sub, true);
}

// Seconds since 1970 of a local time, -1 when it doesn't fit 32 bits (the database's form).
long TimeOf(const SYSTEMTIME& st) {
  __time64_t v = CTime(st).GetTime();
  return (v <= 0 || v > 0x7FFFFFFF) ? -1 : static_cast<long>(v);
}

CString Property(HPRPROPERTY h, DWORD id) {
  LPCSTR s = h ? PrGetPropertyString(h, id) : nullptr;
  CString v = s ? s : "";
  return v == "-" ? CString() : v;
}

bool IsContFile(const CString& path) { return path.GetLength() >= 5 && path.Right(5).CompareNoCase(".cont") == 0; }

// One file: its times, model, scene, folder and faces, then a fresh database entry.
void RegisterOne(const CString& path) {
  long shot = -1, access = -1, created = -1;
  CCMDIB::GetTime(path, &shot, &access, &created, nullptr);
  bool cont = IsContFile(path);
  if (cont) {
    HPRPROPERTY h = PrInitGetPropertyString(path, 0);
    SYSTEMTIME st = {};
    if (h && SUCCEEDED(PrGetAVCHDRecTime(h, &st))) shot = TimeOf(st);
    bool supported = h && CThumbnail::IsCompSupportMaker(Property(h, 2560), Property(h, 2816));
    if (h) PrExitGetPropertyString(h);
    if (!supported) return;
  }
  HPRPROPERTY h = PrInitGetPropertyString(path, 0x40000001);
  METADATA* lists[5] = {};
  VxDBWxCreateDateTimeInfoList(&lists[0], shot, access, created);
  CString maker = Property(h, 0), model = Property(h, 1);
  if (!cont && !maker.IsEmpty()) VxDBWxCreateModelList(&lists[1], maker, model);
  CString scene1 = Property(h, 0x80000), scene4 = Property(h, 0x40000);
  if (scene4.IsEmpty()) {
    CString alt = Property(h, 0x70000);
    scene4 = alt.IsEmpty() ? CResourceLoader().LoadStringA(IDS_CLASSIFY_SCENE_OTHER) : alt;
  }
  if (!scene1.IsEmpty())
    VxDBWxCreateSceneList(&lists[2], scene1, Property(h, 0x90000), Property(h, 0xA0000), scene4);
  int slash = path.ReverseFind('\\');
  CString folderPath = slash > 0 ? path.Left(slash) : CString();
  int slash2 = folderPath.ReverseFind('\\');
  VxDBWxCreateFolderList(&lists[3], slash2 >= 0 ? folderPath.Mid(slash2 + 1) : folderPath, folderPath);
  CString faces = Property(h, 0x1000000);
  if (!faces.IsEmpty()) VxDBWxCreateFaceList(&lists[4], faces);
  if (h) PrExitGetPropertyString(h);
  settings::ReregisterFile(path, lists, 5, settings::PhotoDatabase());
  for (METADATA*& list : lists)
    if (list) VxDBWxFreeRegisterList(&list);
}

int Worker(CPgBarData* data) {
  ClassifyJob* job = static_cast<ClassifyJob*>(data);
  Search(job, job->folder, job->subFolders);
  if (job->desktop) {
    char desktop[MAX_PATH] = {};
    if (SUCCEEDED(::SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop)))
      Search(job, desktop, job->subFolders);
  }
  CString format = CResourceLoader().LoadStringA(IDS_FILE_PROGRESS_FORMAT);
  int n = (int)job->files.size();
  for (int i = 0; i < n && !job->m_bCancel; i++) {
    const CString& path = job->files[(size_t)i];
    ReportFileProgress(job, format, path, i + 1, n);
    RegisterOne(path);
    job->registered = i + 1;
  }
  return 0;
}

}  // namespace

int CClassifyFolderDlg::ScanAndRegister(const CString& folder, bool subFolders, bool desktop) {
  ClassifyJob job;
  job.folder = folder;
  job.subFolders = subFolders;
  job.desktop = desktop;
  CString caption = CResourceLoader().LoadStringA(IDS_CLASSIFY_SCAN_CAPTION);
  CMTLProgressBar(Worker, caption, CMTL_PGBAR_CANCEL, &job);
  return job.registered;
}
