// CSlideShowController: keeps the slide show the browser was given. The full-screen player
// is not part of this build: Start reports that the show did not start.
#pragma once
#include <fw/fw.h>

#include "ICGBrowser.h"

class VXGUITRANS_API CSlideShowController {
 public:
  CSlideShowController();
  virtual ~CSlideShowController();

  HRESULT SetParams(CView* pOwner, SLD_QUALITY quality, SLD_TYPE type, const std::vector<tagSLD_V_TYPE>* pSlides,
                    const std::vector<tagSLD_A_TYPE>* pSounds, int nOption1, int nOption2);
  HRESULT GetParams(void* pUnused, SLD_QUALITY* pQuality, SLD_TYPE* pType, std::vector<tagSLD_V_TYPE>* pSlides,
                    std::vector<tagSLD_A_TYPE>* pSounds, int* pnOption1, int* pnOption2) const;
  HRESULT Start();
  void Finish();
  BOOL HasParams() const { return m_bHasParams; }

 private:
  CView* m_pOwner;
  SLD_QUALITY m_quality;
  SLD_TYPE m_type;
  std::vector<tagSLD_V_TYPE> m_slides;
  std::vector<tagSLD_A_TYPE> m_sounds;
  int m_nOption1, m_nOption2;
  BOOL m_bHasParams;
};
