// The scan of the drives for inserted and removed memory cards and discs with camera
// media, shared by the launcher's timer and the main program's card watch.
#pragma once
#include <cardwatch/CardMedia.h>

namespace cardwatch {

// Drive letters a scan looks at: C: to Z: (bit i of a drive mask is the letter 'a' + i).
enum { CARDSCAN_FIRST_DRIVE = 2, CARDSCAN_DRIVE_COUNT = 26 };

// Results of a scan.
enum {
  CARDSCAN_NOTHING = 0,
  CARDSCAN_INSERTED = 1,  // at least one new card; the mask holds the new drives
  CARDSCAN_REMOVED = 2,   // none new, at least one known card gone; the mask holds those
};

// What a scan asks of the machine and the profile. The system version asks Windows,
// the common libraries and the profile; tests answer from tables.
class CCardScanEnv {
 public:
  virtual ~CCardScanEnv() {}
  virtual DWORD GetLogicalDrives() = 0;
  // First letter of the Windows folder.
  virtual char GetWindowsDriveLetter() = 0;
  virtual UINT GetDriveType(char chDrive) = 0;
  // TRUE when the root's attributes cannot be read with ERROR_NOT_READY (no medium).
  virtual BOOL IsRootNotReady(char chDrive) = 0;
  // TRUE when CD-ROM drives are watched (not on Windows XP).
  virtual BOOL IsCdromWatched() = 0;
  // A card slot for cards with a protected area (nDrive: 1 = A:).
  virtual BOOL IsSecuritySDCardDrive(int nDrive) = 0;
  // CardTree\Settings\TreeType.
  virtual DWORD GetTreeType() = 0;
  // common\SDMelodeckExecution: while the music-card program runs, removals are not reported.
  virtual BOOL IsMusicCardProgramRunning() = 0;
  // CardTree\CardDrive = the letter of a drive where a new card with media was found.
  virtual void WriteCardDrive(char chDrive) = 0;
  // The media test of one drive.
  virtual BOOL HasCardMedia(DWORD dwTreeType, char chDrive, UINT nDriveType) = 0;
};

class CSystemCardScanEnv : public CCardScanEnv {
 public:
  CSystemCardScanEnv();
  DWORD GetLogicalDrives() override;
  char GetWindowsDriveLetter() override;
  UINT GetDriveType(char chDrive) override;
  BOOL IsRootNotReady(char chDrive) override;
  BOOL IsCdromWatched() override;
  BOOL IsSecuritySDCardDrive(int nDrive) override;
  DWORD GetTreeType() override;
  BOOL IsMusicCardProgramRunning() override;
  void WriteCardDrive(char chDrive) override;
  BOOL HasCardMedia(DWORD dwTreeType, char chDrive, UINT nDriveType) override;

 private:
  CSystemMediaProbes m_media;
  int m_nCdromWatched;  // -1 until asked once
};

// TRUE for drive types the scan skips: only removable drives, RAM disks and (when
// watched) CD-ROM drives can hold a camera's media.
BOOL IsUnwatchedDriveType(UINT nDriveType, BOOL bCdromWatched);

// "E:\" for 'e' (upper case).
CString DriveRoot(char chDrive);

// The card flags of the drives and the scan over them.
class CCardScanner {
 public:
  // bQuietFirstScan: the first scan only learns which drives hold cards and reports
  // nothing (the launcher must not act on cards that were there before it started).
  explicit CCardScanner(BOOL bQuietFirstScan = TRUE);

  // One pass over the drives. Returns CARDSCAN_INSERTED or CARDSCAN_REMOVED with the
  // drives of that event in dwMask, or CARDSCAN_NOTHING with dwMask unchanged.
  int ScanCardDrives(CCardScanEnv& env, DWORD& dwMask);

  // 1 while a card with camera media is known in drive nDrive (0 = A:).
  BOOL IsCardFlagged(int nDrive) const;
  BOOL IsFirstScanPending() const { return m_bFirstScan; }

 private:
  void Forget(int nDrive, BOOL bMusicCardRunning, DWORD& dwRemoved);

  BOOL m_bFlags[CARDSCAN_DRIVE_COUNT];
  BOOL m_bFirstScan;
};

}  // namespace cardwatch
