#include "MovieCtrlRules.h"

#include <string.h>
#include <vfwmsgs.h>

void MovieFitAspect(int w, int h, RECT& rc) {
  if (w < 1 || h < 1) {
    SetRectEmpty(&rc);
    return;
  }
  if (IsRectEmpty(&rc)) return;
  const LONGLONG W = rc.right - rc.left, H = rc.bottom - rc.top;
  LONGLONG nw, nh;
  if (H * w > W * h) {
    nw = W;
    nh = W * h / w;
  } else {
    nh = H;
    nw = H * w / h;
  }
  rc.left += LONG((W - nw) / 2);
  rc.top += LONG((H - nh) / 2);
  rc.right = rc.left + LONG(nw);
  rc.bottom = rc.top + LONG(nh);
}

static RECT FitShape(const RECT& rc, int sw, int sh) {
  const LONG width = rc.right - rc.left, height = rc.bottom - rc.top;
  LONG nw = height * sw / sh, nh;
  if (nw > width) {
    nw = width;
    nh = width * sh / sw;
  } else {
    nh = height;
  }
  RECT out;
  out.left = (rc.left + rc.right - nw) / 2;
  out.top = (rc.top + rc.bottom - nh) / 2;
  out.right = out.left + nw;
  out.bottom = out.top + nh;
  return out;
}
RECT MovieFit16by9(const RECT& rc) { return FitShape(rc, 16, 9); }
RECT MovieFit4by3(const RECT& rc) { return FitShape(rc, 4, 3); }

RECT MovieFitVideoRect(bool bOpen, const RECT& rcVideo, int l, int t, int r, int b) {
  RECT out = {l, t, r, b};
  const LONGLONG W = rcVideo.right - rcVideo.left, H = rcVideo.bottom - rcVideo.top;
  if (!bOpen || (W == 0 && H == 0)) return out;
  const RECT area = {0, 0, r - l, b - t};
  if (W * 9 == H * 16) return MovieFit16by9(area);
  if (W * 3 == H * 4) return MovieFit4by3(area);
  return out;
}

static bool Both(DWORD flags, DWORD bits) { return (flags & bits) == bits; }

MovieRoute ChooseMovieRoute(DWORD dwKindFlags, DWORD dwDiscRef0) {
  if (Both(dwKindFlags, 0x1008) || Both(dwKindFlags, 0x1030)) return kMovieRouteQuickTime;
  if (dwDiscRef0 != 0) return kMovieRouteDisc;
  return Both(dwKindFlags, 0x1040) ? kMovieRouteAvchd : kMovieRouteDirectShow;
}

MovieBackEnd ActiveMovieBackEnd(bool bBridgeOpen, bool bDShowGraph, bool bAvchdOwnerLive, bool bDiscOwnerLive) {
  if (bBridgeOpen) return kMovieBridge;
  if (bDShowGraph) return kMovieDirectShow;
  if (bAvchdOwnerLive) return kMovieAvchd;
  if (bDiscOwnerLive) return kMovieDisc;
  return kMovieNone;
}

double MediaTimeToSeconds(LONGLONG t) { return double(t / 10000000) + double(t % 10000000) * 0.0000001; }

bool DShowSeekNeedsEndApproach(LONGLONG target, LONGLONG duration, LONGLONG current) {
  const LONGLONG kSecond = 10000000;
  return target > kSecond && target > duration - kSecond && target >= current + kSecond;
}

HRESULT DShowRenderResult(HRESULT hr) {
  return (hr == VFW_S_VIDEO_NOT_RENDERED || hr == VFW_S_AUDIO_NOT_RENDERED) ? S_OK : hr;
}

namespace {
bool HasExtension(const char* pszPath, const char* pszExt) {
  if (!pszPath) return false;
  const char* dot = strrchr(pszPath, '.');
  const char* slash = strrchr(pszPath, '\\');
  return dot && !(slash && dot < slash) && lstrcmpiA(dot, pszExt) == 0;
}
}  // namespace

bool IsAsfPath(const char* pszPath) { return HasExtension(pszPath, ".asf"); }


int DiscPlayState(int nRaw) {
  switch (nRaw) {
    case 1: return 0;
    case 2: return 1;
    case 3: return 2;
    default: return kWrapNoState;
  }
}

int AvchdPlayState(int nRaw) {
  switch (nRaw) {
    case 1:
    case 3:
      return kWrapStopped;
    case 2:
      return kWrapPlaying;
    case 4:
      return kWrapEnded;
    default:
      return kWrapNoState;
  }
}

LONGLONG AvchdSeekTarget(double dSeconds, LONGLONG llDuration) {
  if (!(dSeconds > 0)) return 0;
  const double t = dSeconds * 10000000.0;
  return t >= double(llDuration) ? llDuration : LONGLONG(t);
}

bool AvchdSeekIsNoMove(LONGLONG llCurrent, LONGLONG llTarget) { return (llCurrent > 0 ? llCurrent : 0) == llTarget; }
