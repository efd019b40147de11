#include <cardwatch/CardMedia.h>

namespace cardwatch {
namespace {

CString Pattern(LPCSTR lpszFormat, char chDrive) {
  CString s;
  s.Format(lpszFormat, chDrive);
  return s;
}

// A folder among pattern's matches that the card-folder test accepts; each candidate
// is named by the format with the drive letter and the folder's name.
BOOL HasAcceptedFolder(char chDrive, LPCSTR lpszPattern, LPCSTR lpszPathFormat, CCardMediaProbes& probes) {
  std::vector<CString> names;
  probes.ListFolders(Pattern(lpszPattern, chDrive), names);
  for (const CString& name : names) {
    CString path;
    path.Format(lpszPathFormat, chDrive, (LPCSTR)name);
    if (probes.IsCardFolder(path) == 0) return TRUE;
  }
  return FALSE;
}

}  // namespace

BOOL HasDcimCardFolder(char chDrive, CCardMediaProbes& probes) {
  return HasAcceptedFolder(chDrive, "%c:\\DCIM\\*.*", "%c:\\DCIM\\%s", probes);
}

BOOL HasAvchdFolder(char chDrive, CCardMediaProbes& probes) {
  return probes.PathPatternExists(Pattern("%c:\\PRIVATE\\*.*", chDrive)) &&
         probes.PathPatternExists(Pattern("%c:\\PRIVATE\\AVCHD\\*.*", chDrive)) &&
         probes.PathPatternExists(Pattern("%c:\\PRIVATE\\AVCHD\\BDMV\\*.*", chDrive));
}

BOOL HasImCardFolder(char chDrive, CCardMediaProbes& probes) {
  return HasAcceptedFolder(chDrive, "%c:\\IM*.*", "%c:\\%s", probes);
}

BOOL HasCardMedia(DWORD dwTreeType, char chDrive, UINT nDriveType, CCardMediaProbes& probes) {
  if (nDriveType == DRIVE_REMOVABLE) {
    if (HasDcimCardFolder(chDrive, probes)) return TRUE;
    if (HasAvchdFolder(chDrive, probes)) return TRUE;
    if ((dwTreeType & CARDMEDIA_IM_FOLDERS) && HasImCardFolder(chDrive, probes)) return TRUE;
    static const struct {
      DWORD dwBit;
      LPCSTR lpszPattern;
    } kFolders[] = {
        {CARDMEDIA_SD_VIDEO, "%c:\\SD_VIDEO\\*.*"},
        {CARDMEDIA_SD_AUDIO, "%c:\\SD_AUDIO\\*.*"},
        {CARDMEDIA_SD_VOICE, "%c:\\SD_VOICE\\*.*"},
        {CARDMEDIA_AUDIO_PLAYER, "%c:\\PRIVATE\\AU\\DF\\D_PA\\*.*"},
        {CARDMEDIA_AUDIO_PLAYER, "%c:\\PRIVATE\\AU\\DF\\D_MA\\*.*"},
    };
    for (const auto& f : kFolders) {
      if ((dwTreeType & f.dwBit) && probes.PathPatternExists(Pattern(f.lpszPattern, chDrive))) return TRUE;
    }
  }
  return probes.PathPatternExists(Pattern("%c:\\BDMV\\*.*", chDrive));
}

}  // namespace cardwatch
