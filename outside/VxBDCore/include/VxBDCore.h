// VxBDCore: the disc-movie core. Its image list answers the scenes of a title that the
// integrator's title list holds, as the card tree's date nodes name them:
//   base    the drive's root ("E:\"), the drive the list's session opened
//   first   the title-list handle
//   second  the title's index in that list
//   image   0.. the title's parts whose stream is there, in play order
// Results are 0 on success, a negative HRESULT on failure.
#pragma once
#include <windows.h>

#include <cstddef>

#ifdef VXBDCORE_BUILD
#define VXBDCORE_API __declspec(dllexport)
#else
#define VXBDCORE_API __declspec(dllimport)
#endif

struct VXBDIMAGEINFO {
  DWORD dwSize;          // sizeof(VXBDIMAGEINFO)
  SYSTEMTIME stRecorded; // the scene's recording time (its file's write time, local)
  ULONGLONG ullBytes;    // the stream's size
  LONG nTree;            // the card tree of its stream (see VxBDListScenes); -1 on a disc
  LONG nPlaylist;        // its title's playlist number ("00003.mpls" is 3)
  LONG nPart;            // the play item it is in that playlist
};

class IVxBDImageList {
 public:
  // The number of scenes; negative when the list, the title or the drive is not there.
  virtual long GetImageCount(LPCSTR pszBase, int nFirst, int nSecond) = 0;
  virtual long GetImageInfo(LPCSTR pszBase, int nFirst, int nSecond, long nImage, VXBDIMAGEINFO* pInfo) = 0;
  // The scene's stream path; E_NOT_SUFFICIENT_BUFFER when cch is too small.
  virtual long GetImagePath(LPCSTR pszBase, int nFirst, int nSecond, long nImage, LPWSTR pszPath, int cch) = 0;

 protected:
  ~IVxBDImageList() {}
};

#include <VxBDIntegrator.h>

// One disc drive of the drive list.
struct VXBDDRIVEENTRY {
  int nDrive;  // 0 for A:
  int nKind;
};

class IVxBDDiscEdit;  // VxBDEdit.h

// The core object: positions 0 to 6 in this order (callers reach them by position).
class IVxBDCoreObject {
 public:
  virtual void Release() = 0;                                                      // 0
  virtual IVxBDIntegrator* GetIntegrator() = 0;                                    // 1
  // The disc drives (at most cMax); 0 and *pnCount = 0 without any.
  virtual long GetDriveList(VXBDDRIVEENTRY* pEntries, int cMax, int* pnCount) = 0;  // 2
  // Leaving the card tree: the drive chosen for it is let go.
  virtual long ClearDriveSelection() = 0;                                          // 3
  virtual IVxBDImageList* GetImageList() = 0;                                      // 4
  // A drive chosen from the drive list (0 for A:): what was open on it is let go, so its
  // disc is read anew. VXBD_E_NODEVICE when it is no disc drive, E_INVALIDARG past Z:.
  virtual long SelectDrive(int nDrive) = 0;                                        // 5
  // The card editor: deleting the scenes of a card's movie tree.
  virtual IVxBDDiscEdit* GetDiscEdit() = 0;                                        // 6

 protected:
  ~IVxBDCoreObject() {}
};

// A new core object (release it); null when memory runs out.
extern "C" VXBDCORE_API IVxBDCoreObject* GetVxBDCoreObject();
// The stream of a scene of an open title list (list handle, title, image as the image list
// counts them) into pszPath: the property reader's scene resolver. FALSE when the list,
// title or image is not there, or the path does not fit.
extern "C" VXBDCORE_API BOOL CALLBACK VxBDResolveScene(int nList, int nTitle, int nImage, LPSTR pszPath,
                                                        UINT cchPath, void* pContext);

// The tree reading itself, without the object (the DLL and tests use it).
#include <string>
#include <vector>
struct VxBDScene {
  std::string path;
  SYSTEMTIME recorded;
  ULONGLONG bytes;
  int playlist = -1, part = -1;  // a title's scene: its playlist number and play item
};
// The scenes (STREAM\*.MTS, by name) of a card tree under a base folder: tree 0
// "PRIVATE\AVCHD\BDMV", 1 "AVCHD\BDMV"; day 0 every scene, n >= 1 the scenes of the n-th
// recording day (days ascending). FALSE when the tree or the day is not there.
BOOL VxBDListScenes(LPCSTR pszBase, int nTree, int nDay, std::vector<VxBDScene>* pScenes);
