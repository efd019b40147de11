// The order of the property-page plug-ins: by ascending priority with the exchange sort of
// the plug-in set (each record in turn swaps with every later record of strictly smaller
// priority), so equal priorities keep their scan order unless a smaller one passes them.
#pragma once
#include <fw/fw.h>

#include <vector>

// Indexes into the priorities, in the order the plug-ins are used.
std::vector<size_t> PluginOrder(const std::vector<int>& priorities);
