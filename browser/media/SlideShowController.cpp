#include "SlideShowController.h"

CSlideShowController::CSlideShowController()
    : m_pOwner(NULL), m_quality(SLD_QUALITY_0), m_type(SLD_TYPE_0), m_nOption1(0), m_nOption2(0), m_bHasParams(FALSE) {}
CSlideShowController::~CSlideShowController() {}

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

// The full-screen player is not installed.
HRESULT CSlideShowController::Start() { return HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED); }
void CSlideShowController::Finish() {}
