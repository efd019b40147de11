// The disc-movie core's titles in the card tree: device nodes with one date node per
// title, per card drive and at the top level, under the core's lock.
#pragma once
#include <VxBDCore.h>

#include <vector>

#include "CardTreeBuild.h"

namespace cardtree {

// The integrator the host hands over (the first one stays); null until then.
void SetIntegrator(IVxBDIntegrator* integrator);
IVxBDIntegrator* Integrator();
// Has the core look at the drives again, as a tree renewal does, and waits for it.
void RefreshDiscDevices(IVxBDIntegrator* core);

// The module's lock of the core: the tree's calls and the import dialog's hold it.
CCriticalSection& DiscCoreSection();
class CDiscCoreLock {
 public:
  CDiscCoreLock() { DiscCoreSection().Lock(); }
  ~CDiscCoreLock() { DiscCoreSection().Unlock(); }
};

// The device nodes of one card drive (perDrive, drive = its number) or of the top level
// (parent = the top level), created or renewed as the pass says. Nothing without an
// integrator.
void DiscCoreNodes(TreePass& pass, HTREEITEM parent, int drive, bool perDrive);

// The date node's part-name text is forgotten with its node.
void ForgetDateNode(HTREEITEM item);
std::string PartNamesOf(HTREEITEM item);
size_t PartNameEntries();
void ClearPartNames();

// "E:\<session>\<list>\<device>\<title>\<label>".
std::string DateNodePath(char letter, int session, int list, int device, int title, const std::string& label);
std::string DateLabel(const SYSTEMTIME& t);

// Whether a title's maker (high word first) is listed in the maker file.
int IsSupportedMakerIn(const std::string& iniPath, DWORD makerCode);
int IsSupportedMaker(DWORD makerCode);

// The medium test of a disc device: 1 when the medium needs attention.
int DiscMediumNeedsCheck(IVxBDIntegrator* core, int drive);

// Whether the letter is one of the card drives.
int IsCardDriveLetter(char letter);

// The drives of the core whose titles the tree shows at its top level (readable discs, and
// card devices that are not card drives), by letter.
std::vector<char> DiscCoreDriveLetters(IVxBDIntegrator* core);

// Whether the browser shows a card folder now.
int IsBrowserOnCardFolder();

}  // namespace cardtree
