#include "SlideImagePreparer.h"

#include <Kitlib2/CMDIB.h>
#include <Kitlib2/ProgressBar.h>
#include <SlideShowController.h>
#include <VxResourceIds.h>

#include <cstdio>
#include <memory>

namespace {

const ULONGLONG kLeastFreeKB = 51200;  // in units of 1,000 bytes

}  // namespace

std::string SlideTempFolder() {
  std::string folder = (LPCSTR)SlideShowTempFolder();
  return folder.empty() ? folder : folder + "\\";
}

namespace slideshow {

std::string NextTempName(const std::string& folder, int nFormat, int* pnNumber) {
  const char* pszExt = nFormat == 2 ? "bmp" : "jpg";
  char szName[32];
  std::string path;
  for (;;) {
    snprintf(szName, sizeof(szName), "tmp%05d.%s", *pnNumber, pszExt);
    path = folder + szName;
    if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) break;
    ++*pnNumber;
  }
  ++*pnNumber;
  return path;
}

}  // namespace slideshow

CSlideImagePreparer::CSlideImagePreparer(HWND hProgress)
    : m_pEntries(NULL), m_nFormat(0), m_nQuality(0), m_bCancelled(0) {
  m_hWnd = hProgress;
}

HRESULT CSlideImagePreparer::SetParams(LPCSTR pszFolder, std::vector<SlideTempImage>* pEntries, int nFormat,
                                       int nQuality) {
  if (!pszFolder || !*pszFolder || !pEntries) return E_INVALIDARG;
  if (nFormat != 1 && nFormat != 2 && nFormat != 32 && nFormat != 64) return E_INVALIDARG;
  m_strFolder = pszFolder;
  if (m_strFolder.back() != '\\') m_strFolder += '\\';
  m_pEntries = pEntries;
  m_nFormat = nFormat;
  m_nQuality = nQuality;
  return S_OK;
}

int CSlideImagePreparer::Run() {
  m_bCancel = 0;
  m_bCancelled = 0;
  CString strCaption;
  strCaption.LoadString(IDS_SLIDE_PREPARING);
  CMTLProgressBar(&CSlideImagePreparer::ConvertAll, strCaption, CMTL_PGBAR_CANCEL, this);
  return m_bCancelled ? 2 : 1;
}

int CSlideImagePreparer::ConvertAll(CPgBarData* pData) {
  CSlideImagePreparer* p = static_cast<CSlideImagePreparer*>(pData);
  if (!p->m_pEntries) return 0;
  std::vector<SlideTempImage>& entries = *p->m_pEntries;
  CString strFormat;
  strFormat.LoadString(IDS_FILE_PROGRESS_FORMAT);
  char szRoot[4] = {p->m_strFolder[0], ':', '\\', 0};
  int nNumber = 1;
  int n = (int)entries.size();
  for (int i = 0; i < n; ++i) {
    if (p->m_bCancel) {
      p->m_bCancelled = 1;
      break;
    }
    SlideTempImage& e = entries[i];
    if (e.width != 0 && e.height != 0) {
      std::unique_ptr<CCMDIB> pImage(new (std::nothrow) CCMDIB);
      long hr = pImage ? pImage->Load(e.source.c_str(), 0) : E_OUTOFMEMORY;
      if (hr == 0) hr = pImage->ResizeAndRotate(e.source.c_str(), SIZE{e.width, e.height}, 4);
      if (hr >= 0) {
        e.temp.clear();
        std::string name = slideshow::NextTempName(p->m_strFolder, p->m_nFormat, &nNumber);
        ULARGE_INTEGER total = {}, freeBytes = {}, avail = {};
        if (!::GetDiskFreeSpaceExA(szRoot, &avail, &total, &freeBytes) || freeBytes.QuadPart / 1000 < kLeastFreeKB) {
          AfxMessageBox(IDS_SLIDE_DISK_FULL, MB_OK | MB_ICONEXCLAMATION);
          break;
        }
        e.temp = name;
        if (pImage->Save(name.c_str(), p->m_nFormat, p->m_nQuality, NULL) != 0) {
          e.temp.clear();
          ::DeleteFileA(name.c_str());
        }
        pImage->Empty();
      }
    }
    if (p->m_hWnd) {
      const char* pszName = strrchr(e.source.c_str(), '\\');
      char szProgress[1024];
      snprintf(szProgress, sizeof(szProgress), (LPCSTR)strFormat, pszName ? pszName + 1 : e.source.c_str(), i + 1, n);
      CMTLPostProgress(p->m_hWnd, szProgress, (int)((i + 1) * 100 / n));
    }
  }
  return 0;
}
