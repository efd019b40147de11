// The slide-show window's decisions, without windows: the codes and records handed to the
// slide player, where its library lies, and the panel's layout.
#pragma once
#include <windows.h>

#include <SlidePlayer.h>

#include <string>
#include <vector>

#include "ICGBrowser.h"

// The kind passed to the player: 1 to 4 as they are, anything else 0 (plain slides).
int SlideKindCode(int nKind);
// The quality passed: 1 or 2 as they are, anything else 0.
int SlideQualityCode(int nQuality);
// The player's records of a slide list; the per-slide value (+520) goes with kind code 0 only.
std::vector<SlidePlayerRecord> SlidePlayerRecords(const std::vector<tagSLD_V_TYPE>& slides, int nKindCode);
std::vector<SlidePlayerMusic> SlidePlayerMusicList(const std::vector<tagSLD_A_TYPE>& music);

// The component library's full path: the host module's folder, less one part for each
// leading "..\" of the name ("." parts skipped), then the rest of the name. Empty when the
// host path has no folder or the name climbs above its root.
std::string ComponentLibraryPath(const std::string& hostPath, const std::string& name);

// The panel: close, play/pause and settings, right to left along the bottom right corner.
enum SlideButton { kSbClose, kSbPlay, kSbSettings, kSbCount };
// Window coordinates of each button from its size; the window covers the screen (cx x cy)
// grown by the edges on each side.
void SlidePanelLayout(const SIZE aSize[kSbCount], int cx, int cy, int nEdgeX, int nEdgeY, RECT aOut[kSbCount]);
