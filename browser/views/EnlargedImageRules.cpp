#include "EnlargedImageRules.h"

#include <VxResourceIds.h>

#include <algorithm>
#include <cmath>

static int StripTop(const RECT& rc) { return rc.bottom - rc.top < 30 ? rc.top + 4 : rc.bottom - 25; }

RECT EnlargedVideoRect(const RECT& rc) {
  RECT r = rc;
  r.bottom = rc.bottom - rc.top < 30 ? rc.top : rc.bottom - 29;
  return r;
}

RECT EnlargedPlayBtnRect(const RECT& rc) {
  RECT r;
  r.left = rc.left + 4;
  r.top = StripTop(rc);
  r.right = r.left + 43;
  r.bottom = r.top + 21;
  return r;
}

RECT EnlargedFullBtnRect(const RECT& rc) {
  RECT r;
  r.left = rc.right - 47;
  r.right = rc.right - 4;
  if (r.left < 145) r.left = 145, r.right = 188;
  r.top = StripTop(rc);
  r.bottom = r.top + 21;
  return r;
}

RECT EnlargedSliderRect(const RECT& rc) {
  RECT r;
  r.left = rc.left + 51;
  r.top = StripTop(rc);
  r.right = std::max<LONG>(rc.right - 51, r.left + 90);
  r.bottom = r.top + 21;
  return r;
}

RECT EnlargedDrawRect(int w, int h, const RECT& rc) {
  RECT r = {0, 0, 0, 0};
  if (w < 1 || h < 1) return r;
  if (::IsRectEmpty(&rc)) return rc;
  LONGLONG rw = rc.right - rc.left, rh = rc.bottom - rc.top;
  LONGLONG nw = rw, nh = rh;
  if (rh * w > rw * h)
    nh = rw * h / w;
  else
    nw = rh * w / h;
  r.left = (LONG)(rc.left + (rw - nw) / 2);
  r.top = (LONG)(rc.top + (rh - nh) / 2);
  r.right = (LONG)(r.left + nw);
  r.bottom = (LONG)(r.top + nh);
  return r;
}

UINT EnlargedNewWndID(const std::vector<UINT>& used) {
  UINT id = 12288;
  while (std::find(used.begin(), used.end(), id) != used.end()) ++id;
  return id;
}

int EnlargedCaptionWidth(int cxPicture, int cyPicture, int cxBuffer, int cyBuffer) {
  if (cxPicture < 1 || cyPicture < 1) return 0;
  LONGLONG sx = (LONGLONG)cxBuffer * 1000 / cxPicture, sy = (LONGLONG)cyBuffer * 1000 / cyPicture;
  return (int)((LONGLONG)cxPicture * std::min(sx, sy) / 1000);
}

int EnlargedNextEntry(const std::vector<const void*>& pages, int nSelected) {
  if (nSelected < 0 || nSelected + 1 >= (int)pages.size()) return -1;
  if (!pages[nSelected] || pages[nSelected + 1] != pages[nSelected]) return -1;
  return nSelected + 1;
}

SIZE EnlargedLoadBox(const RECT& rcMonitor, SIZE szView) {
  LONG cx = std::max<LONG>(rcMonitor.right - rcMonitor.left, szView.cx);
  LONG cy = std::max<LONG>(rcMonitor.bottom - rcMonitor.top, szView.cy);
  return SIZE{std::max<LONG>(cx, 1), std::max<LONG>(cy, 1)};
}

BOOL EnlargedNeedsReload(SIZE szPicture, SIZE szBox, SIZE szView) {
  if (szPicture.cx <= 0 || szPicture.cy <= 0 || szBox.cx <= 0 || szBox.cy <= 0) return FALSE;
  BOOL bCut = szPicture.cx >= szBox.cx || szPicture.cy >= szBox.cy;
  return bCut && (szView.cx > szBox.cx || szView.cy > szBox.cy);
}

int EnlargedTicks(double d) { return d > 0 ? (int)std::floor(d * 10 + 0.5) : 0; }

VXMOVIEMESSAGE EnlargedMovieMessage(BOOL bApiMovie, BOOL bApiUnusable, HRESULT hr) {
  VXMOVIEMESSAGE m = {0, 0};
  if (!bApiMovie || SUCCEEDED(hr) || hr == (HRESULT)0x8007065E) return m;
  if (bApiUnusable) {
    m.nFirst = IDS_MOVIE_NEEDS_PLAYER;
    m.nAppend = IDS_MOVIE_NEEDS_PLAYER_HINT;
  } else if (hr == (HRESULT)0x800700CE) {
    m.nFirst = IDS_MOVIE_NAME_TOO_LONG;
  } else if (hr == (HRESULT)0x800700A1) {
    m.nFirst = IDS_MOVIE_PATH_TOO_LONG;
  } else {
    m.nFirst = IDS_BROWSER_MOVIE_FAILED;
  }
  return m;
}

VXMOVIEROAD EnlargedMovieRoad(UINT k, BOOL bDisc) {
  if (bDisc) return VXMOVIE_DISC;
  if (k == 0x1000) return VXMOVIE_NONE;
  if ((k & 0x1008) == 0x1008 || (k & 0x1030) == 0x1030) return VXMOVIE_API;
  if ((k & 0x1040) == 0x1040) return VXMOVIE_AVCHD;
  return VXMOVIE_DSHOW;
}

HRESULT EnlargedApiOpenFailure(HRESULT hr, size_t cchName, size_t cchPath) {
  if (cchName > 63) return (HRESULT)0x800700CE;
  if (cchPath >= 249) return (HRESULT)0x800700A1;
  return hr;
}
