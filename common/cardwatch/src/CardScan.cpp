#include <cardwatch/CardScan.h>

namespace cardwatch {
namespace {

char UpperLetter(char ch) { return (ch >= 'a' && ch <= 'z') ? (char)(ch - 'a' + 'A') : ch; }

}  // namespace

CString DriveRoot(char chDrive) {
  CString s;
  s.Format("%c:\\", UpperLetter(chDrive));
  return s;
}

BOOL IsUnwatchedDriveType(UINT nDriveType, BOOL bCdromWatched) {
  switch (nDriveType) {
    case DRIVE_REMOVABLE:
    case DRIVE_RAMDISK:
      return FALSE;
    case DRIVE_CDROM:
      return !bCdromWatched;
    default:
      return TRUE;
  }
}

// ---- The scan ------------------------------------------------------------------------

CCardScanner::CCardScanner(BOOL bQuietFirstScan) : m_bFirstScan(bQuietFirstScan) {
  for (BOOL& f : m_bFlags) f = FALSE;
}

BOOL CCardScanner::IsCardFlagged(int nDrive) const {
  return nDrive >= 0 && nDrive < CARDSCAN_DRIVE_COUNT && m_bFlags[nDrive];
}

// A known card is gone, unless the music-card program runs: it takes the card out and
// puts it back itself, and that must not look like a new card.
void CCardScanner::Forget(int nDrive, BOOL bMusicCardRunning, DWORD& dwRemoved) {
  if (!bMusicCardRunning && m_bFlags[nDrive]) {
    m_bFlags[nDrive] = FALSE;
    dwRemoved |= 1u << nDrive;
  }
}

int CCardScanner::ScanCardDrives(CCardScanEnv& env, DWORD& dwMask) {
  const char chWindows = UpperLetter(env.GetWindowsDriveLetter());
  const DWORD dwLogical = env.GetLogicalDrives();
  const DWORD dwTreeType = env.GetTreeType();
  const BOOL bMusicCard = env.IsMusicCardProgramRunning();
  DWORD dwInserted = 0, dwRemoved = 0;

  for (int i = CARDSCAN_FIRST_DRIVE; i < CARDSCAN_DRIVE_COUNT; ++i) {
    const DWORD dwBit = 1u << i;
    const char chDrive = (char)('A' + i);
    if (!(dwLogical & dwBit)) {
      Forget(i, bMusicCard, dwRemoved);
      continue;
    }
    if (chDrive == chWindows) {
      m_bFlags[i] = FALSE;
      continue;
    }
    const UINT nType = env.GetDriveType(chDrive);
    if (IsUnwatchedDriveType(nType, env.IsCdromWatched())) {
      m_bFlags[i] = FALSE;
      continue;
    }
    if (env.IsRootNotReady(chDrive)) {
      Forget(i, bMusicCard, dwRemoved);
      continue;
    }
    if (m_bFlags[i]) continue;  // a known card is not probed again
    if (env.IsSecuritySDCardDrive(i + 1)) {
      m_bFlags[i] = TRUE;
      dwInserted |= dwBit;
    } else if (env.HasCardMedia(dwTreeType, chDrive, nType)) {
      m_bFlags[i] = TRUE;
      dwInserted |= dwBit;
      env.WriteCardDrive(chDrive);
    }
  }

  if (m_bFirstScan) {
    m_bFirstScan = FALSE;
    return CARDSCAN_NOTHING;
  }
  if (dwInserted) {
    dwMask = dwInserted;
    return CARDSCAN_INSERTED;
  }
  if (dwRemoved) {
    dwMask = dwRemoved;
    return CARDSCAN_REMOVED;
  }
  return CARDSCAN_NOTHING;
}

}  // namespace cardwatch
