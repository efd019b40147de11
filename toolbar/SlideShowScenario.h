// The slide show the user is authoring: pictures with their sizes, background audio,
// effect, interval, repeat, audio kind, quality and the resized temporary images. Loads
// and saves ".snr" files through the scenario client, fills itself from the browser or
// the profile, and sizes the slides.
#pragma once
#include <fw/fw.h>

#include <string>
#include <vector>

struct CGFILEINFO;

struct SlidePicture {
  std::string path;
  int width;
  int height;
};

struct SlideTempImage {
  int width;
  int height;
  std::string source;
  std::string temp;  // empty when no image was written
};

namespace slideshow {
// The size a picture of w x h is shown at: quality 0 fits the screen's box (the screen
// when at least 1280 wide, else 1280 x 960), other qualities at most 1280 x 960 (960 x
// 1280 upright) above a million pixels; the picture's proportions are kept.
SIZE TargetSize(int w, int h, int nQuality, int cxScreen, int cyScreen);
// The effect's music file: "NATURAL.mp3", "SLOW.mp3", "SWING.mp3" or "URBAN.mp3".
const char* EffectMusicFile(int nEffect, int nEffectMode);
// True when the path fits a scenario file's 256-byte path field whole.
bool FitsScenarioPath(const std::string& path);
}  // namespace slideshow

class CSlideShowScenario {
 public:
  CSlideShowScenario();
  virtual ~CSlideShowScenario();

  void Reset();
  int IsPristine() const { return m_bPristine; }
  int SetFileName(LPCSTR pszPath);
  const std::string& GetFileName() const { return m_strFile; }
  int SaveFile(LPCSTR pszPath);
  int LoadPictures();
  int LoadAudio();
  int LoadInfo();

  int SetPictures(const std::vector<SlidePicture>* pList);
  int SetAudio(const std::vector<std::string>* pList);
  int GetPictures(std::vector<SlidePicture>* pList) const;
  int GetAudio(std::vector<std::string>* pList) const;
  int GetTempImages(std::vector<SlideTempImage>* pList) const;
  int SetShowInfo(int nKind, int nInterval, int nRepeat, int nAudioKind);
  int GetShowInfo(int* pnKind, int* pnInterval, int* pnRepeat, int* pnAudioKind) const;
  int SetSource(int n);
  int GetSource(int* pn) const;
  int SetQuality(int n);
  int GetQuality(int* pn) const;
  int SetTempImages(const std::vector<SlideTempImage>* pList);

  int CollectFromBrowser(std::vector<SlidePicture>* pList, BOOL bAllFiles);
  int GetProfileAudio(std::vector<std::string>* pList) const;
  int GetProfileInfo(int* pnKind, int* pnInterval, int* pnRepeat, int* pnAudioKind) const;
  int GetProfileQuality(int* pn) const;
  int ComputeSlideSizes(const std::vector<SlidePicture>* pPictures, std::vector<SIZE>* pSizes) const;
  int PrepareImages(HWND hOwner, const std::vector<SlidePicture>* pPictures, std::vector<SlideTempImage>* pOut);
  static HRESULT ReadImageSize(LPCSTR pszPath, SIZE* pSize);
  int StopWorker() { return 1; }

  // The music folder of the installation's "AudioPath" (with its final backslash).
  const std::string& GetMusicFolder() const { return m_strMusicFolder; }

 private:
  int m_bPristine;
  std::vector<SlidePicture> m_pictures;
  std::vector<std::string> m_audio;
  std::vector<SlideTempImage> m_temp;
  int m_nInterval;
  int m_nKind;
  int m_nRepeat;
  int m_nAudioKind;
  int m_nSource;
  int m_nQuality;
  std::string m_strMusicFolder;
  std::string m_strFile;
};
