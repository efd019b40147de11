#include "SlideShowItems.h"

#include <Kitlib2/CMDIB.h>
#include <VxProperty.h>

#include <cstdlib>
#include <cstring>

namespace slideshow {

namespace {
int Clamp(int v, int hi) { return v < 0 ? 0 : v > hi ? hi : v; }
}  // namespace

RECT CropRect(int w, int h, int orientation, int focus, int column, int columns, int row, int rows) {
  if (orientation == 6 || orientation == 8) std::swap(w, h);
  RECT rc = {0, 0, w, h};
  if (focus < 1 || orientation != 1 || columns <= 0 || rows <= 0) return rc;
  int left = (int)((double)column * w / columns);
  rc.left = Clamp(left, w);
  rc.right = Clamp((int)(left + (double)w / columns), w);
  int top = (int)((double)row * h / rows);
  rc.top = Clamp(top, h);
  rc.bottom = Clamp((int)(top + (double)h / rows), h);
  return rc;
}

tagSLD_V_TYPE MakeSlide(const SlidePicture& picture, const std::vector<SlideTempImage>& prepared,
                        const PictureFacts& facts) {
  tagSLD_V_TYPE slide;
  memset(&slide, 0, sizeof(slide));
  lstrcpynA(slide.szPath, picture.path.c_str(), MAX_PATH);
  SlideTail tail = {};
  tail.width = picture.width;
  tail.height = picture.height;
  for (const SlideTempImage& e : prepared) {
    if (lstrcmpiA(e.source.c_str(), picture.path.c_str()) != 0) continue;
    if (!e.temp.empty()) {
      lstrcpynA(slide.szPath2, e.temp.c_str(), MAX_PATH);
      tail.width = e.width;
      tail.height = e.height;
    }
    break;
  }
  tail.orientation = facts.orientation;
  RECT rc = CropRect(tail.width, tail.height, facts.orientation, facts.focus, facts.column, facts.columns, facts.row,
                     facts.rows);
  tail.left = rc.left;
  tail.top = rc.top;
  tail.right = rc.right;
  tail.bottom = rc.bottom;
  memcpy(slide.tail, &tail, sizeof(tail));
  return slide;
}

tagSLD_A_TYPE MakeSound(const std::string& path) {
  tagSLD_A_TYPE sound;
  memset(&sound, 0, sizeof(sound));
  lstrcpynA(sound.szPath, path.c_str(), MAX_PATH);
  return sound;
}

PictureFacts ReadPictureFacts(const std::string& path) {
  PictureFacts facts = {1, 0, 0, 1, 0, 1};
  int nOrientation = 0;
  if (CCMDIB::GetOrientationInfo(path.c_str(), &nOrientation) >= 0 && nOrientation >= 1 && nOrientation <= 8)
    facts.orientation = nOrientation;
  if (HPRPROPERTY h = PrInitGetPropertyString(path.c_str(), PR_INIT_CAMERA)) {
    PrGetFocusPoints(h, &facts.column, &facts.columns, &facts.row, &facts.rows);
    LPCSTR psz = PrGetPropertyString(h, PRID_FACES);
    facts.focus = (!psz || !*psz || strcmp(psz, "-") == 0) ? 0 : atoi(psz);
    PrExitGetPropertyString(h);
  }
  return facts;
}

}  // namespace slideshow
