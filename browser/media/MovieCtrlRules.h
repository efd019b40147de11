// The movie controller's decisions, without windows or back ends: fitting the video into
// its area, which back end a thumbnail goes to, which open back end answers, DirectShow's
// media time and the seek near the end, the AVCHD player's states and seeks.
#pragma once
#include <windows.h>

// Shrinks rc to the shape w x h, centred; w or h below 1 empties it, an empty rc stays.
void MovieFitAspect(int w, int h, RECT& rc);
// The largest 16:9 (4:3) rectangle centred in rc.
RECT MovieFit16by9(const RECT& rc);
RECT MovieFit4by3(const RECT& rc);
// The area (l, t, r, b) fitted to a 16:9 or 4:3 video rectangle, relative to (0, 0); any
// other shape, or nothing open, leaves the area as it is.
RECT MovieFitVideoRect(bool bOpen, const RECT& rcVideo, int l, int t, int r, int b);

// Where a thumbnail's movie opens, from its kind flags and the first word of its disc
// reference (nonzero: a disc title).
enum MovieRoute { kMovieRouteQuickTime, kMovieRouteDirectShow, kMovieRouteAvchd, kMovieRouteDisc };
MovieRoute ChooseMovieRoute(DWORD dwKindFlags, DWORD dwDiscRef0);

// The back end that answers while a movie is open: the first that holds it, in this order.
enum MovieBackEnd { kMovieNone, kMovieBridge, kMovieDirectShow, kMovieAvchd, kMovieDisc };
MovieBackEnd ActiveMovieBackEnd(bool bBridgeOpen, bool bDShowGraph, bool bAvchdOwnerLive, bool bDiscOwnerLive);

// DirectShow media time (100 ns) as seconds, whole seconds kept exact.
double MediaTimeToSeconds(LONGLONG t);
// A seek into the last second from at least a second earlier first stops one second
// before the end (DirectShow's renderers otherwise miss the last frames).
bool DShowSeekNeedsEndApproach(LONGLONG target, LONGLONG duration, LONGLONG current);
// Partial renders that still play count as success.
HRESULT DShowRenderResult(HRESULT hr);
// ".asf" exactly, any case, gets the extra MPEG-4 decoder.
bool IsAsfPath(const char* pszPath);

// The AVCHD and disc players' play states.
enum { kWrapStopped = 1, kWrapPlaying = 2, kWrapNoState = 8, kWrapEnded = 9 };
// The player's raw state 0-5 as a play state.
int AvchdPlayState(int nRaw);
// The disc player's raw state 0-3 as a play state (0 and 1 not playing, 2 playing, 8 none).
int DiscPlayState(int nRaw);
// The seek target in 100 ns, clamped to 0 .. the duration.
LONGLONG AvchdSeekTarget(double dSeconds, LONGLONG llDuration);
// A seek to the exact position the player is at (100 ns; a negative one is 0) is skipped;
// any other, within the same second too, seeks.
bool AvchdSeekIsNoMove(LONGLONG llCurrent, LONGLONG llTarget);
