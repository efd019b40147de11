// Reading an AVCHD tree (a disc's BDMV, or a card's PRIVATE\AVCHD\BDMV): its titles from
// the playlists, their parts from the play items and the clips' stream files, maker and
// picture facts from the playlists' extension data and the clips' programme information.
// Every read is bounds-checked; a playlist that does not read whole is left out.
#pragma once
#include <windows.h>

#include <VxBDIntegrator.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A playlist's play item: its clip, and its in and out times in 45 kHz ticks on the clip
// stream's own clock (both 0 when the item carries none: the whole clip).
struct VxBDPlayItem {
  std::string clip;
  uint32_t inTime = 0, outTime = 0;
};

struct VxBDPart {
  std::string clip;        // "00000"
  std::string streamName;  // "00000.MTS", "" when the stream is missing
  std::string streamPath;
  ULONGLONG bytes = 0;
  SYSTEMTIME recorded = {};  // the stream's last write, local time
  int width = 0, height = 0;
  int tvSystem = 0;  // 0 NTSC, 1 PAL
  uint32_t inTime = 0, outTime = 0;  // the play item's
};

struct VxBDTitle {
  std::string playlist;  // "00000.MPL"
  WORD makerId = 0, modelCode = 0;
  SYSTEMTIME recorded = {};
  ULONGLONG bytes = 0;
  std::vector<VxBDPart> parts;
};

// The BDMV folder under a drive root ("E:\"): "<root>BDMV" for a disc (or, on a disc
// written as a card is, the card's trees), the card's trees otherwise; "" when there is none.
std::string VxBDFindTree(const std::string& root, bool disc);
// Whether the tree is finalised (its index file is there).
bool VxBDIsFinalised(const std::string& bdmv);
// The titles of a tree, in playlist-name order.
std::vector<VxBDTitle> VxBDReadTitles(const std::string& bdmv);

// Parsing alone (tests feed bytes): FALSE when the bytes are not a whole playlist.
BOOL VxBDParsePlayItems(const std::vector<uint8_t>& bytes, std::vector<VxBDPlayItem>* items, WORD* makerId,
                        WORD* modelCode);
// The same, the play items' clips alone.
BOOL VxBDParsePlaylist(const std::vector<uint8_t>& bytes, std::vector<std::string>* clips, WORD* makerId,
                       WORD* modelCode);
// The first video stream's picture size and TV system of a clip's information.
BOOL VxBDParseClipInfo(const std::vector<uint8_t>& bytes, int* width, int* height, int* tvSystem);

// Writers of the same shapes, for sample discs and tests.
std::vector<uint8_t> VxBDMakePlaylist(const std::vector<std::string>& clips, WORD makerId, WORD modelCode);
std::vector<uint8_t> VxBDMakePlayItems(const std::vector<VxBDPlayItem>& items, WORD makerId, WORD modelCode);
std::vector<uint8_t> VxBDMakeClipInfo(int videoFormat, int frameRate);

// A tree of titles as a camera writes it: one playlist per title (short names "00000.MPL"
// on a card, "00000.mpls" on a disc), clip information for every clip (1080i, 29.97), the
// index and movie object when finalised. The streams are the caller's.
struct VxBDSampleTitle {
  std::vector<std::string> clips;
  WORD makerId, modelCode;
};
BOOL VxBDWriteTree(const std::string& bdmv, const std::vector<VxBDSampleTitle>& titles, bool finalised, bool disc);

// The stream of a card's scene from its reference words: the group (drive and tree) and
// the clip number; empty for a drive or tree that does not exist.
std::string VxBDCardSceneStream(DWORD dwGroup, DWORD dwClip);
// The title of a disc's tree by its playlist's number ("00003.mpls" is 3): 0, or
// HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) when there is no such playlist, or
// VXBD_E_BAD_PLAYLIST when it does not read whole.
long VxBDReadTitle(const std::string& bdmv, DWORD dwPlaylist, VxBDTitle* pTitle);
// What a disc title plays from its play item nItem to its end: the parts whose stream is
// there, each with its in and out times in seconds on its stream's clock (equal: the whole
// stream). HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) when the item is not in the title or its
// own stream is missing.
struct VxBDPlayPart {
  std::string stream;
  double fromSeconds = 0, toSeconds = 0;
};
long VxBDTitlePlayParts(const VxBDTitle& title, DWORD dwItem, std::vector<VxBDPlayPart>* pParts);

// The integrator's import job: a title's streams copied by the verified copy into a folder,
// each clip's companion files written through the caller's sink. The lookup gives the
// title of a list (false when the list or title is not there); the integrator paints the
// clips' thumbnails.
using VxBDTitleLookup = std::function<bool(int hList, int nTitle, VxBDTitle* pTitle)>;
IVxBDImportJob* VxBDNewImportJob(IVxBDIntegrator* integrator, VxBDTitleLookup lookup);
// The base name of a clip's n-th copy in one folder: "00001" for 1, "00001 (2)" from 2 on.
inline std::string VxBDClipBaseName(const std::string& base, int n) {
  return n > 1 ? base + " (" + std::to_string(n) + ")" : base;
}
// A base name free in the folder for the stream's extension and the three companions:
// "00001", else "00001 (2)" ... "00001 (9999)"; "" when every one is taken.
std::string VxBDFreeClipBase(const std::string& folder, const std::string& base, const std::string& streamExt);
