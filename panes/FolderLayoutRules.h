// The folder pane's sections: one title row per tree with a tree, and below an open tree
// its tree. Plain functions, so a table test reaches them without windows.
#pragma once
#include <vector>

namespace folderlayout {

constexpr int kTitleRow = 19;
constexpr int kMinTree = 40;

struct Section {
  bool active = false;   // the tree is open
  int storedHeight = -1; // the plug-in's stored height, -1 none
};

struct Placed {
  int top = 0, bottom = 0;  // the section, title row included
  int treeHeight = 0;       // 0 for a closed section
};

// Places the sections in a pane of the given client height: open trees without a stored
// height share what the title rows leave; the last open tree takes what is left over;
// when the trees need more room than there is, the lowest open trees give it up first,
// none below kMinTree. Sizes are never negative.
std::vector<Placed> Layout(int clientHeight, const std::vector<Section>& sections);

// The splitter between two open trees: the heights of the upper and the lower tree after
// the gap was dragged to y, or false when y leaves either below kMinTree.
bool DragHeights(int upperTop, int lowerBottom, int titleRows, int y, int* upperHeight, int* lowerHeight);

}  // namespace folderlayout
