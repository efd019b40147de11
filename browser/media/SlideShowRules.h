// The slide-show controller's decisions, without windows or files: which slides and music
// are shown, and which prepared pictures the clean-up may delete.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "ICGBrowser.h"

// The slides to show: each slide's prepared picture when it exists, else its file when that
// exists, else none; the chosen path goes in the first path field, the tail is carried.
std::vector<tagSLD_V_TYPE> SlideShowList(const std::vector<tagSLD_V_TYPE>& slides,
                                         const std::function<bool(const char*)>& exists);
std::vector<tagSLD_A_TYPE> SlideMusicList(const std::vector<tagSLD_A_TYPE>& music,
                                          const std::function<bool(const char*)>& exists);

// The prepared pictures the clean-up deletes: only plain files directly inside the show's
// own folder (szTempFolder, e.g. "%TEMP%\vxSlideShow"), never the folder of whatever path a
// list names, never anything below it and never a path that climbs out with "..".
std::vector<std::string> SlidePreparedToDelete(const std::vector<tagSLD_V_TYPE>& slides, const std::string& folder);
// The same rule over plain paths (each whole, at most MAX_PATH - 1 bytes).
std::vector<std::string> SlidePreparedPathsToDelete(const std::vector<std::string>& paths, const std::string& folder);
