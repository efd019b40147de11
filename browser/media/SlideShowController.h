// CSlideShowController: keeps the slide show the browser was given between the request and
// the showing, opens the full-screen slide-show window (CVxSlideShowWnd) on the slides and
// music that exist, and cleans up the prepared pictures after it.
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

class CVxSlideShowWnd;

class VXGUITRANS_API CSlideShowController {
 public:
  CSlideShowController();
  virtual ~CSlideShowController();

  HRESULT SetParams(CView* pOwner, SLD_QUALITY quality, SLD_TYPE type, const std::vector<tagSLD_V_TYPE>* pSlides,
                    const std::vector<tagSLD_A_TYPE>* pSounds, int nOption1, int nOption2);
  HRESULT GetParams(void* pUnused, SLD_QUALITY* pQuality, SLD_TYPE* pType, std::vector<tagSLD_V_TYPE>* pSlides,
                    std::vector<tagSLD_A_TYPE>* pSounds, int* pnOption1, int* pnOption2) const;
  // Opens the window on the slides and music that exist, or gives an open window the new
  // lists. E_FAIL when no slide file exists or the window cannot be made.
  HRESULT Start();
  // Sends a key to the window.
  void SendKey(UINT nKey);
  // Lets the window's player go (screen saver and sleep back as they were) and deletes the
  // prepared pictures (second option nonzero) inside SlideShowTempFolder.
  void Finish();
  // The open window, or null.
  CVxSlideShowWnd* GetWindow() const;
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
  CVxSlideShowWnd* m_pWnd;
  HWND m_hWnd;  // the window deletes itself: it is ours while this handle is still its own
};
