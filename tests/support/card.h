// Inserting and removing the memory card of the prefix's removable drive while
// programs run (Wine's mount manager; no device notice reaches the programs, they poll).
#pragma once
#include <string>

namespace testsupport {

// Makes drive `letter` a removable drive whose medium is the Linux folder `unixDir`.
// A serial number other than 0 gives the medium a volume of its own, with that label and
// serial number, as a card formatted apart has (Wine reads a folder's from the files
// ".windows-label" and ".windows-serial" in it, which are written there and stay); with 0
// the medium has the platform's. Returns a Win32 error code (0 on success) and tells stderr
// about a failure: the mount manager's error, ERROR_INVALID_DRIVE when the drive did not
// become what was asked, ERROR_LOCK_VIOLATION when a test run by CTest does not hold the
// lock "card", or the error writing the volume's files.
unsigned long InsertCard(char letter, const std::string& unixDir, const std::string& label = "MEMCARD",
                         unsigned long serial = 0);

// Takes the medium out: the drive letter disappears from GetLogicalDrives.
unsigned long RemoveCard(char letter);

// Makes drive `letter` a CD-ROM drive holding the Linux folder `unixDir` as its disc.
unsigned long InsertDisc(char letter, const std::string& unixDir, const std::string& label = "AVCHD");
unsigned long RemoveDisc(char letter);

// The Linux path of a Windows path (a scratch folder made into a card), empty if unknown.
std::string UnixPathOf(const std::string& windowsPath);

// The Linux folder of the prefix's card drive (GLIMORA_CARD_DIR), empty if unknown.
std::string DefaultCardDir();

}  // namespace testsupport
