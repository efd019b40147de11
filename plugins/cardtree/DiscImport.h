// The disc titles of a card imported through the disc core's import job: the session
// around the scan, the import pass of the checked titles (their streams copied by the
// verified copy, their companion files written, each produced content file registered)
// and the deletion of imported titles from the card. No windows: the dialog hands in
// what shows progress and what registers, so tests run the pass as the dialog does.
#pragma once
#include <VxBDIntegrator.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "ImportPlan.h"
#include "VerifiedCopy.h"

namespace cardtree {

// The session of one card's scan.
struct DiscSession {
  IVxBDIntegrator* core = nullptr;
  int drive = -1, session = -1, list = -1;
  bool sessionWasOpen = false;  // the open answered "already open": never closed here
  bool listWasOpen = false;
  bool closeAfterOpening = false;
  bool tvMismatch = false;      // while set, no disc items are listed
};

// Locks the card's drive and opens its session (cardPath "E:\..."); tvSystem0 the dialog's
// TV-system flag. The last core answer: 0x87030055 an unfinalised disc; a failure closes
// what was opened. descriptorFailed is told when the session's descriptor cannot be read.
long OpenDiscSession(DiscSession* s, const std::string& cardPath, int tvSystem0,
                     const std::function<void()>& descriptorFailed = nullptr);
void CloseDiscSession(DiscSession* s);
// Opens the title list when the session has none (0 or the failure).
long OpenDiscTitleList(DiscSession* s);
// The importable titles (kind 1 of a supported maker) and the unsupported ones.
long CountDiscItems(DiscSession* s, int* importable, int* unsupported,
                    const std::function<int(DWORD)>& supported);

// The scan's look at the card's disc side: the session opened, its titles counted unless
// they are of the other TV system, and the warnings to show in order (string ids): a card
// whose titles need finalising or checking, titles of the other TV system, title data
// that can't be read.
struct DiscScan {
  long openAnswer = 0;
  int importable = 0, unsupported = 0;
  std::vector<UINT> warnings;
};
DiscScan ScanDiscSide(DiscSession* s, const std::string& cardPath, int tvSystem0,
                      const std::function<int(DWORD)>& supported = nullptr);

// One checked title.
struct DiscSelection {
  int title = -1;
  SYSTEMTIME recorded = {};
};

// What the pass shows and does besides the copy; every hook may be empty.
struct DiscImportHooks {
  // Before each title: its date label, the card path, the destination folder's last
  // component, the title's position in the selection.
  std::function<void(const std::string& label, const std::string& cardPath, const std::string& folder, int index)>
      addEntry;
  std::function<void(int percent)> setPos;
  std::function<void()> disableCancel;
  // A content file: its path, the card's drive ("E:"), the card path, the part's recording
  // time; present when the title's identical copy was there already (nothing produced).
  std::function<void(const std::string& path, const std::string& drive, const std::string& cardPath,
                     const SYSTEMTIME& recorded, bool present)>
      registerFile;
  // A failed title: the message (50411 disk full, else 62093 with the code).
  std::function<void(UINT stringId, long code)> showError;
};

// One part of an imported title: its stream on the card as the import found it before the
// copy, and the stream's copy.
struct TitlePartCopy {
  std::string cardStream, copy;
  FileStamp stamp;
};
// A title imported whole (or found present), as its deletion from the card checks it.
struct ImportedTitle {
  int title = -1;
  VolumeId volume;  // the card's when the title was imported
  std::vector<TitlePartCopy> parts;
};

struct DiscImportResult {
  long code = 0;             // 0, 1 cancelled, else the failing code
  bool cancelled = false;
  bool limitReached = false;  // 1000 or more files produced: the remaining titles were left
  int produced = 0;           // content files produced
  int present = 0;            // content files of titles whose identical copy was there
  std::vector<int> completed;           // the titles imported whole or present, in selection order
  std::vector<ImportedTitle> imported;  // the same titles with what their deletion checks
};

// The destination's settings as the import dialog holds them (backup mode, folder name,
// date order, today). A title whose every part has an identical copy (stream and ".cont")
// in its folder already is present: not copied again, its content files handed on as
// present.
DiscImportResult RunDiscImportPass(IVxBDIntegrator* core, int list, const std::vector<DiscSelection>& selection,
                                   const std::string& destination, const std::string& cardPath,
                                   const ImportSettings& settings, const std::atomic<int>& cancel,
                                   const DiscImportHooks& hooks);

// The folder a title goes to: by backup mode from its recording date, today's date for a
// date out of range or in mode 3.
std::string DiscDateFolder(const ImportSettings& settings, const SYSTEMTIME& recorded);
// "yyyy_mm_dd" of a title's recording date (today's for a date out of range), whatever
// folder the title goes to.
std::string DiscDateLabel(const SYSTEMTIME& recorded);
// A title's label in the import list: its date label, a line break and the parts line
// (partsFormat, "%d", with the number of parts).
std::string DiscItemLabel(const SYSTEMTIME& recorded, int parts, const std::string& partsFormat);

// The copy of a card's clip stream already in a folder: the clip's base name (or a
// " (n)" of it) with the same content and its ".cont" beside it; "" when there is none.
std::string FindClipCopy(const std::string& folder, const std::string& cardStream);

// Deletes the imported titles from the card, highest index first (so the lower ones keep
// theirs), each followed by the core's wait; a title goes only when, at that moment, it is
// the title imported: the card is the volume it was imported from, and each part's stream
// is the one found then (path, size, last-write time) with its copy's content. The tally
// counts titles.
CleanUpTally DeleteImportedTitles(IVxBDIntegrator* core, int list, std::vector<ImportedTitle> titles);

// Produced files stop the run at this many.
constexpr int kDiscFileLimit = 1000;

}  // namespace cardtree
