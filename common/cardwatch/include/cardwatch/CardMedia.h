// Whether a drive holds camera media: the folders a camera, camcorder or audio recorder
// leaves on a memory card or disc.
#pragma once
#include <fw/fw.h>

#include <vector>

namespace cardwatch {

// Media kinds of the profile value CardTree\Settings\TreeType that count on a
// removable drive besides the DCIM and AVCHD folders, which always do.
enum : DWORD {
  CARDMEDIA_IM_FOLDERS = 0x1,          // root folders "IM*" accepted as card folders
  CARDMEDIA_SD_VIDEO = 0x100,          // "SD_VIDEO"
  CARDMEDIA_SD_VOICE = 0x10000,        // "SD_VOICE"
  CARDMEDIA_SD_AUDIO = 0x20000,        // "SD_AUDIO"
  CARDMEDIA_AUDIO_PLAYER = 0x2000000,  // "PRIVATE\AU\DF\D_PA", "PRIVATE\AU\DF\D_MA"
};

// The file-system questions of the media test. The system version searches the drives
// with the critical-error box switched off; tests may redirect or answer from tables.
class CCardMediaProbes {
 public:
  virtual ~CCardMediaProbes() {}
  // TRUE when the pattern (wildcards allowed) matches at least one entry.
  virtual BOOL PathPatternExists(LPCSTR lpszPattern) = 0;
  // The names of the folders the pattern matches, names beginning with "." left out.
  virtual void ListFolders(LPCSTR lpszPattern, std::vector<CString>& names) = 0;
  // The common library's card-folder answer: 0 for a picture folder of a card.
  virtual int IsCardFolder(LPCSTR lpszPath) = 0;
};

// The probes on the real drives.
class CSystemMediaProbes : public CCardMediaProbes {
 public:
  BOOL PathPatternExists(LPCSTR lpszPattern) override;
  void ListFolders(LPCSTR lpszPattern, std::vector<CString>& names) override;
  int IsCardFolder(LPCSTR lpszPath) override;
};

// A DCIM sub-folder (name not beginning with ".") that the card-folder test accepts.
BOOL HasDcimCardFolder(char chDrive, CCardMediaProbes& probes);
// "PRIVATE", "PRIVATE\AVCHD" and "PRIVATE\AVCHD\BDMV" all present.
BOOL HasAvchdFolder(char chDrive, CCardMediaProbes& probes);
// A root folder "IM*" that the card-folder test accepts.
BOOL HasImCardFolder(char chDrive, CCardMediaProbes& probes);

// The media test of a watched drive, first hit wins: on a removable drive the DCIM,
// AVCHD and (by the TreeType bits) IM, SD-Video, SD-Audio, SD-Voice and audio-player
// folders; on every drive type a "BDMV" folder at the root.
BOOL HasCardMedia(DWORD dwTreeType, char chDrive, UINT nDriveType, CCardMediaProbes& probes);

}  // namespace cardwatch
