// Inserting and removing the memory card of the prefix's removable drive while
// programs run (Wine's mount manager; no device notice reaches the programs, they poll).
#pragma once
#include <string>

namespace testsupport {

// Makes drive `letter` a removable drive whose medium is the Linux folder `unixDir`.
// Returns a Win32 error code (0 on success) and tells stderr about a failure: the mount
// manager's error, ERROR_INVALID_DRIVE when the drive did not become what was asked, or
// ERROR_LOCK_VIOLATION when a test run by CTest does not hold the lock "card".
unsigned long InsertCard(char letter, const std::string& unixDir, const std::string& label = "MEMCARD");

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
