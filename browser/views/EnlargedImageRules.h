// The enlarged image view's decisions without windows: where the video, the two buttons
// and the position slider go in a client rectangle, how a picture fits a rectangle, which
// child id is free, the caption's width over a resized picture, the slider's ticks and the
// message a failed movie shows. CEnlargedImageView calls them; tests call them directly.
#pragma once
#include <fw/fw.h>

#include <vector>

// The control strip sits 25 pixels over the bottom (at top + 4 in a client under 30 high).
RECT EnlargedVideoRect(const RECT& rcClient);
RECT EnlargedPlayBtnRect(const RECT& rcClient);
RECT EnlargedFullBtnRect(const RECT& rcClient);
RECT EnlargedSliderRect(const RECT& rcClient);

// A width x height picture fitted into the rectangle, centred; empty for a size below 1.
RECT EnlargedDrawRect(int nWidth, int nHeight, const RECT& rc);

// The lowest id from 12288 up that none of the children uses.
UINT EnlargedNewWndID(const std::vector<UINT>& used);

// The width the picture is drawn at in the buffer: scale by the smaller of the two ratios
// (thousandths, 64-bit).
int EnlargedCaptionWidth(int cxPicture, int cyPicture, int cxBuffer, int cyBuffer);

// Where a movie that ended goes on: pages[i] is the page of the browser list's entry i
// (null when the entry has no thumbnail), nSelected the selected entry. The entry to go
// on to, or -1 to stop at the first frame (the selected entry is the last, is not in the
// list, or the next one lies on another page).
int EnlargedNextEntry(const std::vector<const void*>& pages, int nSelected);

// The box a picture is loaded into: its monitor's size, or more where the view is larger
// (a window across monitors).
SIZE EnlargedLoadBox(const RECT& rcMonitor, SIZE szView);
// Whether a picture loaded into the box must be loaded again for the view: it was cut
// down to the box (it fills one of its sides) and the view is now larger than the box.
BOOL EnlargedNeedsReload(SIZE szPicture, SIZE szBox, SIZE szView);

// Tenths of a second, to the nearest; 0 for a time not above 0.
int EnlargedTicks(double dSeconds);

// The message of a movie that did not open (string ids; 0 none). Only API movies show one,
// and the unsupported-type result none; an unusable movie API gives the first id with the
// second appended.
struct VXMOVIEMESSAGE {
  UINT nFirst, nAppend;
};
VXMOVIEMESSAGE EnlargedMovieMessage(BOOL bApiMovie, BOOL bApiUnusable, HRESULT hr);

// Which road a movie takes: the movie API, AVCHD, the disc player, DirectShow; none for a
// type of exactly 0x1000.
enum VXMOVIEROAD { VXMOVIE_NONE, VXMOVIE_API, VXMOVIE_AVCHD, VXMOVIE_DISC, VXMOVIE_DSHOW };
VXMOVIEROAD EnlargedMovieRoad(UINT nKind, BOOL bDisc);

// The result of an API movie that did not open, by its name and path lengths.
HRESULT EnlargedApiOpenFailure(HRESULT hr, size_t cchName, size_t cchPath);
