// Editing a card's AVCHD trees: counting and deleting the scenes that the browser's disc
// items name, and clearing a card's movies. A deletion keeps the tree whole: no playlist
// is left naming a clip that is gone, and a deletion that cannot finish changes nothing.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A disc item's reference: four words, the first nonzero for a disc item, then
//   group     the drive number (0 = A:) | the tree << 8 (0 "PRIVATE\AVCHD\BDMV", 1 "AVCHD\BDMV")
//   item      the scene's recording day as yyyymmdd; 0 = every scene of the tree
//   sub-item  the clip number (the stream "00012.MTS" is clip 12)
// Days and clip numbers stay what they are while other scenes go. A part of a disc's title
// (a read-only disc: nothing deletes it) is addressed by its playlist instead:
//   group     the drive number | VXBD_TREE_DISC << 8
//   item      the playlist's number ("00003.mpls" is 3)
//   sub-item  the play item the part is; it plays from there to the title's end
#define VXBD_REF_CARD 1
#define VXBD_REF_DISC 2
#define VXBD_TREE_DISC 2
inline DWORD VxBDMakeGroup(int nDrive, int nTree) { return (DWORD)(nDrive & 0xFF) | ((DWORD)(nTree & 0xFF) << 8); }
inline int VxBDGroupDrive(DWORD dwGroup) { return (int)(dwGroup & 0xFF); }
inline int VxBDGroupTree(DWORD dwGroup) { return (int)((dwGroup >> 8) & 0xFF); }
// The day word of a recording time.
inline DWORD VxBDDayKey(const SYSTEMTIME& st) { return (DWORD)st.wYear * 10000 + st.wMonth * 100 + st.wDay; }
// The clip number of a stream's file name ("00012.MTS"); -1 when the name is not a clip's.
inline int VxBDClipNumber(LPCSTR pszName) {
  if (!pszName) return -1;
  int n = 0;
  for (int i = 0; i < 5; ++i) {
    if (pszName[i] < '0' || pszName[i] > '9') return -1;
    n = n * 10 + (pszName[i] - '0');
  }
  return pszName[5] == '.' ? n : -1;
}

// Drive state, word 0
#define VXBD_STATE_READONLY 0x2000000  // a read-only medium (a disc)
#define VXBD_STATE_CARD 0x4000000      // a card holding a movie tree
// Drive state, word 1
#define VXBD_STATE_PROTECTED 0x10      // the card's movie tree cannot be written

// Medium request: the card is down to its last group of movies; the handle is kept for the
// medium operation (the caller releases it when it does not clear the card).
#define VXBD_S_LAST_GROUP ((long)0x7030003)
// Medium use: the card holds no pictures besides its movies.
#define VXBD_E_MOVIES_ONLY ((long)0x87030060)
// A playlist that does not read whole: what it names is unknown, so nothing is deleted.
#define VXBD_E_BAD_PLAYLIST ((long)0x87030061)

// The card editor, reached from the core object. Results: 0 on success, negative on failure.
class IVxBDDiscEdit {
 public:
  virtual long GetDriveState(int nDrive, DWORD adwState[2]) = 0;                 // 0
  virtual long GetItemCount(DWORD dwGroup, DWORD dwItem, long* pnCount) = 0;     // 1
  virtual long DeleteItem(DWORD dwGroup, DWORD dwItem, DWORD dwSubItem) = 0;     // 2
  // The result of the last change, once it is done (ms: -1 = no limit).
  virtual long Wait(int nMilliseconds, long* pnResult) = 0;                      // 3
  // The groups of the group's card: its days of movies, tree by tree, and its DCIM folders.
  virtual long GetGroupCount(DWORD dwGroup, long* pnCount) = 0;                  // 4
  // Every scene of the item (a day, or 0: the whole tree).
  virtual long DeleteGroup(DWORD dwGroup, DWORD dwItem) = 0;                     // 5
  // nCount: the card's groups of movies left; pszDrive "E:\". Answers VXBD_S_LAST_GROUP or 0.
  virtual long RequestMedium(long nCount, LPCWSTR pszDrive, int nMode, int* phMedium) = 0;  // 6
  // Succeeds when the card holds pictures too (its movies then go scene by scene).
  virtual long UseMedium(int hMedium) = 0;                                       // 7
  virtual long ReleaseMedium(int hMedium) = 0;                                   // 8
  // Every movie of a kept handle's card goes; the handle is released.
  virtual long ClearMedium(int hMedium) = 0;                                     // 9

 protected:
  ~IVxBDDiscEdit() {}
};

// The process's one editor (the core object's position 6 hands it out).
IVxBDDiscEdit* VxBDCardEditor();

// The same work on a tree under any base folder (the card's root, or a test's folder).
struct VxBDSceneRef {
  std::string stream;  // the stream's path
  int clip;
  DWORD day;
};
// The scenes of a tree ("base\PRIVATE\AVCHD\BDMV" for tree 0) of one day (0: all), by name.
BOOL VxBDTreeScenes(LPCSTR pszBase, int nTree, DWORD dwDay, std::vector<VxBDSceneRef>* pScenes);
// Deletes the clips from the tree: playlists lose their play items (an emptied playlist
// goes), then the streams, clip information and companion files go. Either every clip goes
// or nothing changes (0 or a failure code).
long VxBDDeleteClips(LPCSTR pszBase, int nTree, const std::vector<int>& clips);
// A playlist's bytes without the play items of the clips (and the marks on them);
// FALSE when the bytes are not a whole playlist. *pnLeft: the play items left.
BOOL VxBDPlaylistWithout(const std::vector<uint8_t>& bytes, const std::vector<int>& clips, std::vector<uint8_t>* pOut,
                         int* pnLeft);
// Whether the tree's playlists can be rewritten.
BOOL VxBDTreeWritable(LPCSTR pszBase, int nTree);
// The DCIM folders of a root (names not beginning with ".").
int VxBDPictureFolders(LPCSTR pszBase);
// Whether a root's DCIM folders hold any file.
BOOL VxBDHasPictures(LPCSTR pszBase);
