// ICGBrowser: the browser's interface to the main program, its tool libraries and the
// export plug-ins, with the records it carries. GetCGBrowser (VxGUITrans.dll) hands out
// the browser's controller; null while no browser exists.
#pragma once
#include <fw/fw.h>

#include <vector>

#include "VxGUITransApi.h"

class CThumbnail;

// One file of a list that GetFileData fills: the full-size picture's width and height as
// the thumbnail library reports them; 0 and 0 where only the path is known (marked files
// taken from the mark store).
struct CGFILEINFO {
  CString path;
  int width;
  int height;
  CGFILEINFO() : width(0), height(0) {}
};
typedef CList<CGFILEINFO, CGFILEINFO&> CGFileInfoList;

// One slide: two path buffers, then what the slide-show controller keeps of its own.
struct tagSLD_V_TYPE {
  char szPath[MAX_PATH];
  char szPath2[MAX_PATH];
  BYTE tail[32];
};
// One background-sound file.
struct tagSLD_A_TYPE {
  char szPath[MAX_PATH];
};
// Slide-show kind and picture quality: passed through to the slide-show controller,
// which alone gives them meaning.
enum SLD_TYPE { SLD_TYPE_0 = 0 };
enum SLD_QUALITY { SLD_QUALITY_0 = 0 };
// Both kinds count the selection.
enum QUERYSELECT_TYPE { QUERYSELECT_0 = 0, QUERYSELECT_1 = 1 };
// All three kinds count the marks.
enum QUERYMARK_TYPE { QUERYMARK_0 = 0, QUERYMARK_1 = 1, QUERYMARK_2 = 2 };

// GetFileData flags.
#define CGFILE_SELECTED 0x80000000L  // the selection, in selection order
#define CGFILE_ALL_SHOWN 0x40000000L // every file shown
#define CGFILE_MARKED 0x20000000L    // the marked files of the mark store (sizes 0)
#define CGFILE_ALL 0x00000001L       // every file of the listed folders

// Results are HRESULT-style longs.
class ICGBrowser {
 public:
  virtual ~ICGBrowser() {}
  virtual long GetFileData(CGFileInfoList* pList, long lFlags) = 0;
  virtual long QuerySelectCount(QUERYSELECT_TYPE type, unsigned int* pnCount) = 0;
  virtual long QueryMarkCount(QUERYMARK_TYPE type, unsigned int* pnCount) = 0;
  virtual void PauseMovie() {}
  virtual int UnloadMovie() { return 0; }
  virtual void ReloadMovie() {}
  virtual long SetSlideShow(SLD_TYPE type, std::vector<tagSLD_V_TYPE>* pSlides, std::vector<tagSLD_A_TYPE>* pSounds,
                            SLD_QUALITY quality, int nOption1, int nOption2) = 0;
  virtual long GetSlideShow(SLD_TYPE* pType, std::vector<tagSLD_V_TYPE>* pSlides,
                            std::vector<tagSLD_A_TYPE>* pSounds, SLD_QUALITY* pQuality, int* pnOption1,
                            int* pnOption2) = 0;
  virtual void Reload() {}
};

// The browser's controller, or null while no browser exists.
extern "C" VXGUITRANS_API ICGBrowser* GetCGBrowser();
