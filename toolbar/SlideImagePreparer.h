// Writes a resized copy of every slide-show picture into a temporary folder, one
// numbered file per picture, on the progress bar's worker, which the user can cancel.
#pragma once
#include <Kitlib2/ProgressBar.h>

#include <string>
#include <vector>

#include "SlideShowScenario.h"

// "%TEMP%\vxSlideShow\", the folder of the slide show's temporary images.
std::string SlideTempFolder();

namespace slideshow {
// The first free "tmp%05d" name at or above *pnNumber with the format's extension (".jpg"
// for 1, 32 and 64, ".bmp" for 2); *pnNumber moves past it.
std::string NextTempName(const std::string& folder, int nFormat, int* pnNumber);
}  // namespace slideshow

class CSlideImagePreparer : public CPgBarData {
 public:
  explicit CSlideImagePreparer(HWND hProgress);
  HRESULT SetParams(LPCSTR pszFolder, std::vector<SlideTempImage>* pEntries, int nFormat, int nQuality);
  // 1 when every entry was processed, 2 when the user cancelled.
  int Run();
  // The work itself, on the progress bar's worker (tests call it directly).
  static int ConvertAll(CPgBarData* pData);

 private:
  std::vector<SlideTempImage>* m_pEntries;
  int m_nFormat;
  int m_nQuality;
  std::string m_strFolder;
  int m_bCancelled;
};
