// The toolbar pane's slide show: the items the main frame starts it with.
#include "FView_Toolbar.h"
#include "SlideShowItems.h"

long CFView_Toolbar::BuildSlideShowItems(BOOL bScenario, SLD_QUALITY* pQuality, SLD_TYPE* pKind,
                                         std::vector<tagSLD_V_TYPE>* pSlides, std::vector<tagSLD_A_TYPE>* pSounds,
                                         int* pnInterval, int* pnRepeat) {
  int nQuality = 0, nKind = 0, nInterval = 0, nRepeat = 1, nAudioKind = 0;
  std::vector<std::string> audio;
  if (bScenario) {
    m_scenario.GetQuality(&nQuality);
    m_scenario.GetShowInfo(&nKind, &nInterval, &nRepeat, &nAudioKind);
    if (nAudioKind) m_scenario.GetAudio(&audio);
  } else {
    m_scenario.GetProfileQuality(&nQuality);
    m_scenario.GetProfileInfo(&nKind, &nInterval, &nRepeat, &nAudioKind);
    m_scenario.GetProfileAudio(&audio);
  }

  if (pSlides) {
    std::vector<SlidePicture> pictures;
    std::vector<SlideTempImage> prepared;
    if (bScenario) {
      m_scenario.GetPictures(&pictures);
      m_scenario.GetTempImages(&prepared);
    } else {
      CWaitCursor wait;
      m_scenario.CollectFromBrowser(&pictures, TRUE);
      if (!pictures.empty() && (nQuality != 0 || nKind != 0) &&
          !m_scenario.PrepareImages(GetSafeHwnd(), &pictures, &prepared))
        return E_FAIL;
    }
    for (const SlidePicture& p : pictures)
      pSlides->push_back(slideshow::MakeSlide(p, prepared, slideshow::ReadPictureFacts(p.path)));
  }
  if (pSounds)
    for (const std::string& path : audio) pSounds->push_back(slideshow::MakeSound(path));

  if (pQuality) *pQuality = (SLD_QUALITY)(nQuality == 1 || nQuality == 2 ? nQuality : 0);
  if (pKind) *pKind = (SLD_TYPE)(nKind >= 1 && nKind <= 4 ? nKind : 0);
  if (pnInterval) *pnInterval = nInterval;
  if (pnRepeat) *pnRepeat = nRepeat;
  return 0;
}
