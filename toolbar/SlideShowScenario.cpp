#include "SlideShowScenario.h"

#include <ICGBrowser.h>
#include <Kitlib2/CMDIB.h>
#include <Kitlib2/Profile.h>
#include <KitlibEx/KitlibEx.h>

#include <memory>

#include "ScenarioClient.h"
#include "SlideImagePreparer.h"

#include <shlobj.h>

namespace {

const char kSection[] = "DepthViewer\\FullScreen";
const DWORD kPictureKinds = 7;  // JPEG, TIFF and RAW

int Profile(LPCSTR pszKey, int nDefault) { return CMGetProfileInt(kSection, pszKey, nDefault); }

void CopyPath(char (&dst)[SNR_PATH_UNITS], const std::string& src) { lstrcpynA(dst, src.c_str(), SNR_PATH_UNITS); }

// Size and last-write time as a file search finds them; zero when not found.
void FileFacts(const std::string& path, LONGLONG* pllSize, FILETIME* pftWrite) {
  *pllSize = 0;
  *pftWrite = FILETIME();
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA(path.c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  ::FindClose(h);
  *pllSize = ((LONGLONG)fd.nFileSizeHigh << 32) | fd.nFileSizeLow;
  *pftWrite = fd.ftLastWriteTime;
}

// One array's items and references, zero-filled.
struct ItemArray {
  std::vector<ScenarioItem> items;
  std::vector<ScenarioItemRef> refs;
  ItemArray(size_t n, int nKind) : items(n, ScenarioItem()), refs(n, ScenarioItemRef()) {
    for (size_t i = 0; i < n; ++i) refs[i] = ScenarioItemRef{nKind, (int)sizeof(ScenarioItem), &items[i], 0};
  }
};

}  // namespace

namespace slideshow {

SIZE TargetSize(int w, int h, int nQuality, int cxScreen, int cyScreen) {
  int cxBox = cxScreen >= 1280 ? cxScreen : 1280;
  int cyBox = cxScreen >= 1280 ? cyScreen : 960;
  SIZE target = {w, h};
  bool bUpright = w < h;
  if (nQuality != 0) {
    if ((LONGLONG)w * h <= 1000000) return target;
    target = bUpright ? SIZE{960, 1280} : SIZE{1280, 960};
  } else {
    if ((LONGLONG)w * h <= (LONGLONG)cxBox * cyBox) return target;
    target = bUpright ? SIZE{cxBox * 3 / 4, cxBox} : SIZE{cxBox, cxBox * 3 / 4};
  }
  double sx = (double)target.cx / w, sy = (double)target.cy / h;
  if (sx > sy) {
    target.cx = (int)(w * sy);
  } else if (sx < sy) {
    target.cy = (int)(h * sx + 0.5);
    if (target.cy % 2) target.cy += 1;
  }
  return target;
}

const char* EffectMusicFile(int nEffect, int nEffectMode) {
  if (nEffect == 0) return "NATURAL.mp3";
  switch (nEffectMode) {
    case 1: return "SLOW.mp3";
    case 2: return "SWING.mp3";
    case 3: return "URBAN.mp3";
    default: return "NATURAL.mp3";
  }
}

bool FitsScenarioPath(const std::string& path) { return path.size() < SNR_PATH_UNITS; }

}  // namespace slideshow

CSlideShowScenario::CSlideShowScenario() {
  Reset();
  m_nAudioKind = 0;
  CString strDefault = CMGetProfileString(kSection, "AudioPath", "", CMPROFILE_COMMON);
  std::string path = (LPCSTR)strDefault;
  size_t slash = path.find_last_of("\\/");
  m_strMusicFolder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

CSlideShowScenario::~CSlideShowScenario() {}

void CSlideShowScenario::Reset() {
  m_pictures.clear();
  m_audio.clear();
  m_temp.clear();
  m_nInterval = 1;
  m_nKind = 0;
  m_nRepeat = 1;
  m_nSource = 0;
  m_nQuality = 1;
  m_strFile.clear();
  m_bPristine = 1;
}

int CSlideShowScenario::SetFileName(LPCSTR pszPath) {
  m_strFile = pszPath ? pszPath : "";
  m_bPristine = 0;
  return 1;
}

int CSlideShowScenario::SaveFile(LPCSTR pszPath) {
  if (!pszPath) return 0;
  // A path longer than a scenario's path field would be cut, and the file would name
  // pictures that do not exist: nothing is written.
  if (!slideshow::FitsScenarioPath(pszPath)) return 0;
  for (const SlidePicture& p : m_pictures)
    if (!slideshow::FitsScenarioPath(p.path)) return 0;
  for (const std::string& a : m_audio)
    if (!slideshow::FitsScenarioPath(a)) return 0;

  CScenarioSession session;
  if (FAILED(session.OpenForWrite(pszPath))) return 0;
  ScenarioInfo info = {SNR_TIME_MILLISECONDS, m_nInterval, m_nKind + 1, m_nRepeat};
  if (FAILED(session.WriteInfo(&info))) {
    session.Close();
    return 0;
  }
  ItemArray pictures(m_pictures.size(), SNR_KIND_PICTURE);
  for (size_t i = 0; i < m_pictures.size(); ++i) {
    ScenarioItem& item = pictures.items[i];
    item.llStart = (LONGLONG)i * m_nInterval;
    item.llEnd = item.llStart + m_nInterval - 1;
    CopyPath(item.szPath, m_pictures[i].path);
    FileFacts(m_pictures[i].path, &item.llSize, &item.ftWrite);
  }
  if (FAILED(session.AssignPictureArray(pictures.refs.data(), (int)pictures.refs.size()))) {
    session.Close();
    return 0;
  }
  ItemArray audio(m_audio.size(), SNR_KIND_AUDIO);
  for (size_t i = 0; i < m_audio.size(); ++i) {
    ScenarioItem& item = audio.items[i];
    item.llStart = (LONGLONG)i * m_nInterval;
    item.llEnd = item.llStart + m_nInterval - 1;
    CopyPath(item.szPath, m_audio[i]);
    FileFacts(m_audio[i], &item.llSize, &item.ftWrite);
    item.nExtra = m_nAudioKind;
  }
  if (FAILED(session.AssignAudioArray(audio.refs.data(), (int)audio.refs.size()))) {
    session.Close();
    return 0;
  }
  return SUCCEEDED(session.Close()) ? 1 : 0;
}

int CSlideShowScenario::LoadPictures() {
  if (m_strFile.empty()) return 0;
  CScenarioSession session;
  if (FAILED(session.OpenForRead(m_strFile.c_str()))) return 0;
  int n = 0;
  if (FAILED(session.GetPictureArray(NULL, &n))) {
    session.Close();
    return 0;
  }
  if (n > 0) {
    ItemArray pictures((size_t)n, SNR_KIND_PICTURE);
    if (FAILED(session.GetPictureArray(pictures.refs.data(), &n))) {
      session.Close();
      return 0;
    }
    m_pictures.clear();
    for (int i = 0; i < n; ++i) {
      SlidePicture p = {pictures.items[i].szPath, 0, 0};
      SIZE size = {0, 0};
      if (SUCCEEDED(ReadImageSize(p.path.c_str(), &size))) {
        p.width = size.cx;
        p.height = size.cy;
      }
      m_pictures.push_back(p);
    }
  }
  session.Close();
  m_bPristine = 0;
  return 1;
}

int CSlideShowScenario::LoadAudio() {
  if (m_strFile.empty()) return 0;
  CScenarioSession session;
  if (FAILED(session.OpenForRead(m_strFile.c_str()))) return 0;
  int n = 0;
  if (FAILED(session.GetAudioArray(NULL, &n))) {
    session.Close();
    return 0;
  }
  m_audio.clear();
  m_nAudioKind = 0;
  if (n > 0) {
    ItemArray audio((size_t)n, SNR_KIND_AUDIO);
    if (FAILED(session.GetAudioArray(audio.refs.data(), &n))) {
      session.Close();
      return 0;
    }
    for (int i = 0; i < n; ++i) m_audio.push_back(audio.items[i].szPath);
    if (n > 0) m_nAudioKind = audio.items[0].nExtra;
  }
  session.Close();
  m_bPristine = 0;
  return 1;
}

int CSlideShowScenario::LoadInfo() {
  if (m_strFile.empty()) return 0;
  CScenarioSession session;
  if (FAILED(session.OpenForRead(m_strFile.c_str()))) return 0;
  ScenarioInfo info = {};
  HRESULT hr = session.ReadInfo(&info);
  session.Close();
  if (FAILED(hr) || info.nKind < 1 || info.nKind > 5) return 0;
  m_nInterval = info.wTimeUnit == SNR_TIME_SECONDS ? info.nInterval * 1000 : info.nInterval;
  m_nKind = info.nKind - 1;
  m_nRepeat = info.nRepeat;
  m_bPristine = 0;
  return 1;
}

int CSlideShowScenario::SetPictures(const std::vector<SlidePicture>* pList) {
  if (!pList) return 0;
  m_pictures = *pList;
  m_bPristine = 0;
  return 1;
}

int CSlideShowScenario::SetAudio(const std::vector<std::string>* pList) {
  if (!pList) return 0;
  m_audio = *pList;
  m_bPristine = 0;
  return 1;
}

int CSlideShowScenario::GetPictures(std::vector<SlidePicture>* pList) const {
  if (!pList) return 0;
  *pList = m_pictures;
  return 1;
}

int CSlideShowScenario::GetAudio(std::vector<std::string>* pList) const {
  if (!pList) return 0;
  *pList = m_audio;
  return 1;
}

int CSlideShowScenario::GetTempImages(std::vector<SlideTempImage>* pList) const {
  if (!pList) return 0;
  *pList = m_temp;
  return 1;
}

int CSlideShowScenario::SetShowInfo(int nKind, int nInterval, int nRepeat, int nAudioKind) {
  m_nKind = nKind;
  m_nInterval = nInterval;
  m_nRepeat = nRepeat;
  m_nAudioKind = nAudioKind;
  m_bPristine = 0;
  return 1;
}

int CSlideShowScenario::GetShowInfo(int* pnKind, int* pnInterval, int* pnRepeat, int* pnAudioKind) const {
  if (!pnKind || !pnInterval || !pnRepeat) return 0;
  *pnKind = m_nKind;
  *pnInterval = m_nInterval;
  *pnRepeat = m_nRepeat;
  if (pnAudioKind) *pnAudioKind = m_nAudioKind;
  return 1;
}

int CSlideShowScenario::SetSource(int n) {
  m_nSource = n;
  return 1;
}
int CSlideShowScenario::GetSource(int* pn) const {
  if (!pn) return 0;
  *pn = m_nSource;
  return 1;
}
int CSlideShowScenario::SetQuality(int n) {
  m_nQuality = n;
  return 1;
}
int CSlideShowScenario::GetQuality(int* pn) const {
  if (!pn) return 0;
  *pn = m_nQuality;
  return 1;
}

int CSlideShowScenario::SetTempImages(const std::vector<SlideTempImage>* pList) {
  if (pList)
    m_temp = *pList;
  else
    m_temp.clear();
  return 1;
}

int CSlideShowScenario::CollectFromBrowser(std::vector<SlidePicture>* pList, BOOL bAllFiles) {
  ICGBrowser* pBrowser = GetCGBrowser();
  if (!pBrowser || !pList) return 0;
  CGFileInfoList files;
  pBrowser->GetFileData(&files, bAllFiles ? 0 : (long)(CGFILE_MARKED | CGFILE_ALL));
  for (POSITION pos = files.GetHeadPosition(); pos;) {
    CGFILEINFO& file = files.GetNext(pos);
    if (!CMTLxIsSupport0(file.path, NULL, kPictureKinds)) continue;
    if (file.width == 0 || file.height == 0) {
      SIZE size = {0, 0};
      if (FAILED(ReadImageSize(file.path, &size))) continue;
      file.width = size.cx;
      file.height = size.cy;
    }
    pList->push_back(SlidePicture{(LPCSTR)file.path, file.width, file.height});
  }
  return 1;
}

int CSlideShowScenario::GetProfileAudio(std::vector<std::string>* pList) const {
  if (!pList) return 0;
  if (Profile("Audio", 1) != 1) return 1;
  if (Profile("AudioMode", 0) == 1) {
    pList->push_back((LPCSTR)CMGetProfileString(kSection, "AudioPath", ""));
    return 1;
  }
  pList->push_back(m_strMusicFolder + slideshow::EffectMusicFile(Profile("Effect", 1), Profile("EffectMode", 0)));
  return 1;
}

int CSlideShowScenario::GetProfileInfo(int* pnKind, int* pnInterval, int* pnRepeat, int* pnAudioKind) const {
  if (pnKind) *pnKind = Profile("Effect", 1) ? Profile("EffectMode", 0) + 1 : 0;
  if (pnInterval) *pnInterval = Profile("Auto", 3) * 1000;
  if (pnRepeat) *pnRepeat = Profile("Repeat", 1);
  if (pnAudioKind) *pnAudioKind = Profile("Audio", 1) != 1 ? 0 : Profile("AudioMode", 0) == 1 ? 2 : 1;
  return 1;
}

int CSlideShowScenario::GetProfileQuality(int* pn) const {
  if (!pn) return 0;
  *pn = Profile("SlideQuality", 1);
  return 1;
}

int CSlideShowScenario::ComputeSlideSizes(const std::vector<SlidePicture>* pPictures, std::vector<SIZE>* pSizes) const {
  if (!pPictures || !pSizes) return 0;
  int nQuality = 1;
  GetProfileQuality(&nQuality);
  int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
  for (const SlidePicture& p : *pPictures) pSizes->push_back(slideshow::TargetSize(p.width, p.height, nQuality, cx, cy));
  return 1;
}

int CSlideShowScenario::PrepareImages(HWND hOwner, const std::vector<SlidePicture>* pPictures,
                                      std::vector<SlideTempImage>* pOut) {
  if (!pPictures || !pOut) return 0;
  std::vector<SIZE> sizes;
  ComputeSlideSizes(pPictures, &sizes);
  for (size_t i = 0; i < pPictures->size(); ++i) {
    const SlidePicture& p = (*pPictures)[i];
    if (::GetFileAttributesA(p.path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    pOut->push_back(SlideTempImage{(int)sizes[i].cx, (int)sizes[i].cy, p.path, std::string()});
  }
  if (pOut->empty()) return 1;
  std::string folder = SlideTempFolder();
  if (folder.empty()) return 1;
  ::SHCreateDirectoryExA(NULL, folder.c_str(), NULL);
  CSlideImagePreparer preparer(hOwner);
  if (FAILED(preparer.SetParams(folder.c_str(), pOut, 2, 0))) return 1;
  return preparer.Run() == 2 ? 0 : 1;
}

HRESULT CSlideShowScenario::ReadImageSize(LPCSTR pszPath, SIZE* pSize) {
  if (!pszPath || !pSize) return E_POINTER;
  std::unique_ptr<CCMDIB> pImage(new (std::nothrow) CCMDIB);
  if (!pImage) return E_OUTOFMEMORY;
  try {
    long hr = pImage->Load(pszPath, 0);
    if (hr >= 0) {
      *pSize = pImage->GetDimensions();
      pImage->Empty();
    }
    return hr;
  } catch (...) {
    return E_FAIL;
  }
}
