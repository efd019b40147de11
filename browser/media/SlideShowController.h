// CSlideShowController: keeps the slide show the browser was given and cleans up its prepared
// pictures. The full-screen player is not part of this build: Start builds the lists to
// show and then reports that the show did not start.
#pragma once
#include <fw/fw.h>

#include <string>
#include <vector>

#include "ICGBrowser.h"

// The folder of the show's prepared pictures: %TEMP%\vxSlideShow.
VXGUITRANS_API CString SlideShowTempFolder();
// Deletes those paths that are prepared pictures directly inside that folder (plain files
// only, no links followed), then the folder itself when bRemoveFolder and it is empty.
VXGUITRANS_API void DeleteSlidePreparedFiles(const std::vector<std::string>& paths, BOOL bRemoveFolder);

class VXGUITRANS_API CSlideShowController {
 public:
  CSlideShowController();
  virtual ~CSlideShowController();

  HRESULT SetParams(CView* pOwner, SLD_QUALITY quality, SLD_TYPE type, const std::vector<tagSLD_V_TYPE>* pSlides,
                    const std::vector<tagSLD_A_TYPE>* pSounds, int nOption1, int nOption2);
  HRESULT GetParams(void* pUnused, SLD_QUALITY* pQuality, SLD_TYPE* pType, std::vector<tagSLD_V_TYPE>* pSlides,
                    std::vector<tagSLD_A_TYPE>* pSounds, int* pnOption1, int* pnOption2) const;
  // E_FAIL when no slide file exists.
  HRESULT Start();
  // Deletes the prepared pictures (second option nonzero) inside SlideShowTempFolder.
  void Finish();
  BOOL HasParams() const { return m_bHasParams; }
  const std::vector<tagSLD_V_TYPE>& GetShowSlides() const { return m_showSlides; }
  const std::vector<tagSLD_A_TYPE>& GetShowMusic() const { return m_showMusic; }

 private:
  CView* m_pOwner;
  SLD_QUALITY m_quality;
  SLD_TYPE m_type;
  std::vector<tagSLD_V_TYPE> m_slides;
  std::vector<tagSLD_A_TYPE> m_sounds;
  int m_nOption1, m_nOption2;
  BOOL m_bHasParams;
  std::vector<tagSLD_V_TYPE> m_showSlides;
  std::vector<tagSLD_A_TYPE> m_showMusic;
};
