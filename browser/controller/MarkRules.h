// The decisions of copying or moving the marked files, without windows.
#pragma once
#include <fw/fw.h>

#include <functional>
#include <string>
#include <vector>

// An AVCHD stream file (".m2ts" or ".mts", any case).
BOOL MarkIsAvchdStream(const std::string& path);

// The paths that take part, in the order of the marked list: each marked path, followed by
// its members when it is a content file; AVCHD streams off the fixed drives are left out,
// which *pbExcluded reports.
std::vector<std::string> MarkWorkList(const std::vector<std::string>& marked,
                                      const std::function<std::vector<std::string>(const std::string&)>& members,
                                      const std::function<bool(const std::string&)>& onFixedDrive, BOOL* pbExcluded);

// The file operation's flags: undo and the written names. Never one target per source: the
// target is one folder, and the members make more sources than marked files anyway.
UINT MarkOperationFlags();

// The destination as the operation takes it: a bare drive ("F:") gets its root.
std::string MarkDestination(const std::string& folder);

// The folder-browser title and the progress title of a mode (FO_MOVE or FO_COPY).
UINT MarkBrowseTitle(UINT nMode);
