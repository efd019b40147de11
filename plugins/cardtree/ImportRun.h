// Running a copy plan without windows: every file through the verified copy, the folders
// made on the way, the run stopped at the first failure; then the clean-up of the card,
// which deletes only what this run verified.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "ImportPlan.h"
#include "ImportRegister.h"
#include "VerifiedCopy.h"

namespace cardtree {

struct CopyOutcome {
  std::vector<std::string> copiedSources, copiedTargets;
  std::vector<FileDigest> digests;  // of each copied file, as read from the card
  std::vector<FileStamp> stamps;    // of each copied file, as the copy found it on the card
  // What the registration reads of each copied file, taken from its first block as the
  // copy read it (unknown when that did not tell: the registration reads the file).
  std::vector<PictureFacts> facts;
  DWORD error = 0;                  // the failure that stopped the run
  std::string failedSource, failedTarget;
  bool stopped = false;             // stopped by the caller
  int removedTemporaries = 0;       // left by an earlier, killed run
};

// Called as the run comes to each file, in plan order (0-based index, total): the oldest
// file not yet finished, while the files after it may be under way already. False stops
// there: that file and every file after it are left uncopied.
using CopyProgress = std::function<bool(size_t index, size_t total, const std::string& source)>;
// Copies the plan's pairs, several at once, and finishes them in plan order: the files
// copied are always the plan's first ones. A target taken since the plan was made goes to
// the first free "(n)", or to the present pairs when it holds the same content. 0 when
// every pair was copied, ERROR_CANCELLED when stopped (failedSource is then the first file
// dropped while under way, empty when none was), else the failure's error code. A stop
// through *stop drops every file not yet renamed.
DWORD RunCopyPlan(CopyPlan* plan, CopyOutcome* out, const CopyProgress& progress = nullptr,
                  const std::atomic<int>* stop = nullptr);

// The clean-up deletes a card file only when, at that moment, it is the file the import
// verified: on the volume the plan saw (serial number and label), with the size and
// last-write time the copy found, and with the content of its copy (the digest the copy
// kept, or for an already present file the content of that file). The card file is held
// open from the first look to its deletion. Its print-order entries go with it while the
// card is still that volume.
// One card file against what was verified (stamp null: no size or time to compare). True
// when it was deleted, else *why tells.
bool DeleteVerifiedCardFile(const std::string& path, const VolumeId& volume, const FileStamp* stamp,
                            const FileDigest& content, KeptBecause* why);

// Deletes from the card, as above, the sources copied in this run (their copy still there
// as it was written) and the present pairs' sources. deleted is told each card file gone.
CleanUpTally DeleteImportedSources(const CopyOutcome& copied, const CopyPlan& plan,
                                   const std::function<void(const std::string&)>& deleted = nullptr);

// The system's text for an error code (user's language), without the closing line break.
std::string SystemErrorText(DWORD error);

}  // namespace cardtree
