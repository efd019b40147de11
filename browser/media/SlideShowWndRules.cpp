#include "SlideShowWndRules.h"

#include <string.h>

namespace {
LONG TailLong(const tagSLD_V_TYPE& s, size_t offset) {  // offset from the record's start
  LONG v = 0;
  memcpy(&v, s.tail + (offset - 2 * MAX_PATH), sizeof(v));
  return v;
}
void ToWide(const char* psz, WCHAR* pOut) {
  pOut[0] = 0;
  const int n = ::MultiByteToWideChar(CP_ACP, 0, psz, (int)strnlen(psz, MAX_PATH), pOut, MAX_PATH - 1);
  pOut[n > 0 ? n : 0] = 0;
}
}  // namespace

int SlideKindCode(int nKind) { return nKind >= 1 && nKind <= 4 ? nKind : 0; }
int SlideQualityCode(int nQuality) { return nQuality == 1 || nQuality == 2 ? nQuality : 0; }

std::vector<SlidePlayerRecord> SlidePlayerRecords(const std::vector<tagSLD_V_TYPE>& slides, int nKindCode) {
  std::vector<SlidePlayerRecord> out(slides.size());
  for (size_t i = 0; i < slides.size(); ++i) {
    const tagSLD_V_TYPE& s = slides[i];
    SlidePlayerRecord& r = out[i];
    r.nWidth = TailLong(s, 524);
    r.nHeight = TailLong(s, 528);
    r.nOrientation = TailLong(s, 548);
    memcpy(&r.rcCrop, s.tail + (532 - 2 * MAX_PATH), sizeof(r.rcCrop));
    ToWide(s.szPath, r.szPath);
    r.nInterval = nKindCode == 0 ? TailLong(s, 520) : 0;
  }
  return out;
}

std::vector<SlidePlayerMusic> SlidePlayerMusicList(const std::vector<tagSLD_A_TYPE>& music) {
  std::vector<SlidePlayerMusic> out(music.size());
  for (size_t i = 0; i < music.size(); ++i) ToWide(music[i].szPath, out[i].szPath);
  return out;
}

std::string ComponentLibraryPath(const std::string& hostPath, const std::string& name) {
  size_t cut = hostPath.rfind('\\');
  if (cut == std::string::npos) return std::string();
  std::string folder = hostPath.substr(0, cut);
  size_t i = 0;
  for (;;) {
    if (name.compare(i, 3, "..\\") == 0) {
      cut = folder.rfind('\\');
      if (cut == std::string::npos) return std::string();
      folder.erase(cut);
      i += 3;
    } else if (name.compare(i, 2, ".\\") == 0) {
      i += 2;
    } else {
      break;
    }
  }
  return folder + "\\" + name.substr(i);
}

void SlidePanelLayout(const SIZE aSize[kSbCount], int cx, int cy, int nEdgeX, int nEdgeY, RECT aOut[kSbCount]) {
  // In screen terms: the close button's right edge and bottom 21 pixels in from the corner.
  const int right = cx - 21 + nEdgeX, bottom = cy - 21 + nEdgeY;
  const int gaps[kSbCount] = {0, 20, 10};
  int x = right;
  for (int i = 0; i < kSbCount; ++i) {
    x -= gaps[i];
    aOut[i].right = x;
    aOut[i].left = x - aSize[i].cx;
    aOut[i].bottom = bottom;
    aOut[i].top = bottom - aSize[i].cy;
    x = aOut[i].left;
  }
}
