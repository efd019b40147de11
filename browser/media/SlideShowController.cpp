#include "SlideShowController.h"


#include "SlideShowRules.h"
#include "VxSlideShowWnd.h"

namespace {
bool FileExists(const char* pszPath) {
  const DWORD a = ::GetFileAttributesA(pszPath);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

CString SlideShowTempFolder() {
  char szTemp[MAX_PATH] = {};
  if (!::GetTempPathA(MAX_PATH, szTemp)) return CString();
  CString folder(szTemp);
  if (folder.Right(1) != "\\") folder += "\\";
  return folder + "vxSlideShow";
}

CSlideShowController::CSlideShowController()
    : m_pOwner(NULL), m_quality(SLD_QUALITY_0), m_type(SLD_TYPE_0), m_nOption1(0), m_nOption2(0), m_bHasParams(FALSE),
      m_pWnd(NULL), m_hWnd(NULL) {}
CSlideShowController::~CSlideShowController() { Finish(); }

HRESULT CSlideShowController::SetParams(CView* pOwner, SLD_QUALITY quality, SLD_TYPE type,
                                        const std::vector<tagSLD_V_TYPE>* pSlides,
                                        const std::vector<tagSLD_A_TYPE>* pSounds, int nOption1, int nOption2) {
  if (!pSlides || pSlides->empty()) return E_POINTER;
  try {
    m_slides = *pSlides;
    if (pSounds)
      m_sounds = *pSounds;
    else
      m_sounds.clear();
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  m_pOwner = pOwner;
  m_quality = quality;
  m_type = type;
  m_nOption1 = nOption1;
  m_nOption2 = nOption2;
  m_bHasParams = TRUE;
  return S_OK;
}

HRESULT CSlideShowController::GetParams(void*, SLD_QUALITY* pQuality, SLD_TYPE* pType,
                                        std::vector<tagSLD_V_TYPE>* pSlides, std::vector<tagSLD_A_TYPE>* pSounds,
                                        int* pnOption1, int* pnOption2) const {
  if (!m_bHasParams) return E_FAIL;
  try {
    if (pSlides) *pSlides = m_slides;
    if (pSounds) *pSounds = m_sounds;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  if (pQuality) *pQuality = m_quality;
  if (pType) *pType = m_type;
  if (pnOption1) *pnOption1 = m_nOption1;
  if (pnOption2) *pnOption2 = m_nOption2;
  return S_OK;
}

CVxSlideShowWnd* CSlideShowController::GetWindow() const {
  if (!m_pWnd || !::IsWindow(m_hWnd) || CWnd::FromHandlePermanent(m_hWnd) != m_pWnd) return NULL;
  return m_pWnd;
}

HRESULT CSlideShowController::Start() {
  m_showSlides = SlideShowList(m_slides, FileExists);
  m_showMusic = SlideMusicList(m_sounds, [](const char* p) { return FileExists(p); });
  if (m_showSlides.empty()) return E_FAIL;
  if (CVxSlideShowWnd* pWnd = GetWindow())
    return pWnd->SetItems(m_pOwner, m_quality, m_type, &m_showSlides, &m_showMusic, m_nOption1);
  m_pWnd = NULL;
  m_hWnd = NULL;
  CVxSlideShowWnd* pWnd = NULL;
  try {
    pWnd = new CVxSlideShowWnd();
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  const HRESULT hr = pWnd->SetItems(m_pOwner, m_quality, m_type, &m_showSlides, &m_showMusic, m_nOption1);
  if (FAILED(hr)) {
    delete pWnd;
    return hr;
  }
  const int ex = ::GetSystemMetrics(SM_CXEDGE), ey = ::GetSystemMetrics(SM_CYEDGE);
  const CRect rc(-ex, -ey, ::GetSystemMetrics(SM_CXSCREEN) + ex, ::GetSystemMetrics(SM_CYSCREEN) + ey);
  // A frame that fails to be made deletes itself.
  if (!pWnd->Create(NULL, "2B7E04C9-D6A3-4e15-9F80-57C1E36A0B2D", WS_POPUP | WS_VISIBLE, rc, m_pOwner, NULL, 0))
    return E_FAIL;
  m_pWnd = pWnd;
  m_hWnd = pWnd->GetSafeHwnd();
  return S_OK;
}

void CSlideShowController::SendKey(UINT nKey) {
  if (CVxSlideShowWnd* pWnd = GetWindow()) pWnd->SendMessage(WM_KEYDOWN, nKey, 0);
}

// Deletes only the prepared pictures of the list that lie directly in the show's own
// folder, then that folder when it is empty: a list naming "C:\x.bmp" must not empty C:,
// and nothing below the folder (links, encrypted entries) is descended into.
void CSlideShowController::Finish() {
  if (CVxSlideShowWnd* pWnd = GetWindow()) pWnd->ReleasePlayer();
  if (!m_nOption2) return;
  DeleteSlidePreparedFiles(SlidePreparedToDelete(m_slides, (LPCSTR)SlideShowTempFolder()), TRUE);
}

void DeleteSlidePreparedFiles(const std::vector<std::string>& paths, BOOL bRemoveFolder) {
  const CString folder = SlideShowTempFolder();
  if (folder.IsEmpty()) return;
  for (const std::string& path : SlidePreparedPathsToDelete(paths, (LPCSTR)folder)) {
    const DWORD a = ::GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES || (a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) continue;
    ::DeleteFileA(path.c_str());
  }
  if (bRemoveFolder) ::RemoveDirectoryA(folder);  // fails while anything is left in it
}
