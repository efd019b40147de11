// The card tree as the folder pane holds it, for the browser's card tests: CardTree.psp
// over the disc-movie core builds the date nodes of the card in E:, whose paths the browser
// is then shown; a renewal, as the pane makes after a deletion, gives their fresh paths.
#pragma once
#include <VxBDCore.h>
#include <VxResourceIds.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "host.h"

namespace ctltest {

struct CardTreeNodes {
  IVxBDCoreObject* core = GetVxBDCoreObject();
  cardtreetest::Host host{core->GetIntegrator()};
  CardTreeNodes() {
    // What an earlier tree left open goes, as when the pane leaves the card tree.
    core->ClearDriveSelection();
    EXPECT_EQ(host.Create(), S_OK);
  }
  ~CardTreeNodes() {
    core->ClearDriveSelection();
    core->Release();
  }
  void Renew() { EXPECT_EQ(host.Renew(), S_OK); }
  // The date nodes' paths under the card's drive (E: unless told), in title order.
  std::vector<std::string> Titles(char letter = 'E') {
    using cardtreetest::Res;
    HTREEITEM drive = host.Top(Res(IDS_CARD_DRIVE_PREFIX) + std::string(1, letter) + Res(IDS_CARD_DRIVE_SUFFIX));
    HTREEITEM titles = drive ? host.Child(drive, Res(IDS_CARD_DISC_TITLES)) : nullptr;
    std::map<int, std::string> byTitle;
    for (HTREEITEM i = titles ? host.tree.GetChildItem(titles) : nullptr; i; i = host.tree.GetNextSiblingItem(i)) {
      // "E:\<session>\<list>\<device>\<title>\<date>"
      std::string path = host.Record(i)->path;
      size_t date = path.rfind('\\'), title = path.rfind('\\', date - 1);
      byTitle[atoi(path.substr(title + 1, date - title - 1).c_str())] = path;
    }
    std::vector<std::string> paths;
    for (const auto& kv : byTitle) paths.push_back(kv.second);
    return paths;
  }
};

// The folder-change text that shows the date nodes' scenes in the browser.
inline std::string DateNodesChange(const std::vector<std::string>& paths) {
  std::string text = "2|Card|3|";
  for (const std::string& p : paths) text += p + "||";
  return text;
}

}  // namespace ctltest
