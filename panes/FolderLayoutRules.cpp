#include "FolderLayoutRules.h"

#include <algorithm>

namespace folderlayout {

std::vector<Placed> Layout(int clientHeight, const std::vector<Section>& sections) {
  std::vector<Placed> out(sections.size());
  int usable = std::max(0, clientHeight - 2);
  int n = (int)sections.size(), a = 0;
  for (const Section& s : sections) a += s.active ? 1 : 0;
  int share = a > 0 ? std::max(kMinTree, (usable - kTitleRow * n) / a) : 0;
  std::vector<int> h(sections.size(), 0);
  int total = kTitleRow * n, lastActive = -1;
  for (int i = 0; i < n; ++i) {
    if (!sections[i].active) continue;
    h[i] = sections[i].storedHeight < 0 ? share : std::max(kMinTree, sections[i].storedHeight);
    total += h[i];
    lastActive = i;
  }
  if (lastActive >= 0 && total < usable) {
    h[lastActive] += usable - total;
  } else if (total > usable) {
    int excess = total - usable;
    for (int i = n - 1; i >= 0 && excess > 0; --i) {
      if (!sections[i].active) continue;
      int give = std::min(excess, h[i] - kMinTree);
      if (give <= 0) continue;
      h[i] -= give;
      excess -= give;
    }
  }
  int y = 1;
  for (int i = 0; i < n; ++i) {
    out[i].top = y;
    out[i].treeHeight = h[i];
    y += kTitleRow + h[i];
    out[i].bottom = y;
  }
  return out;
}

bool DragHeights(int upperTop, int lowerBottom, int titleRows, int y, int* upperHeight, int* lowerHeight) {
  if (y - upperTop <= kMinTree || lowerBottom - titleRows - y <= kMinTree) return false;
  *upperHeight = y - upperTop + 1;
  *lowerHeight = lowerBottom - titleRows - y;
  return true;
}

}  // namespace folderlayout
