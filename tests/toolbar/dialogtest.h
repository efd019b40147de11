// What the toolbar's dialog tests share: a CF_HDROP block of files, and the next message
// box answered with a button while its text is kept.
#pragma once
#include <fw/fw.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

#include "uikit.h"

namespace dialogtest {

inline HGLOBAL HDrop(const std::vector<std::string>& files) {
  size_t size = sizeof(DROPFILES) + 1;
  for (const std::string& f : files) size += f.size() + 1;
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  DROPFILES* df = static_cast<DROPFILES*>(::GlobalLock(h));
  df->pFiles = sizeof(DROPFILES);
  char* p = reinterpret_cast<char*>(df + 1);
  for (const std::string& f : files) {
    memcpy(p, f.c_str(), f.size() + 1);
    p += f.size() + 1;
  }
  ::GlobalUnlock(h);
  return h;
}

// Answers the message boxes this thread opens, in order, each with its button; keeps
// their texts (the static children's, joined with "|").
struct Boxes {
  std::vector<std::string> texts;
  std::unique_ptr<uikit::DialogDriver> driver;
  explicit Boxes(std::vector<int> buttons) {
    std::vector<uikit::DialogDriver::Step> steps;
    for (int button : buttons)
      steps.push_back([this, button](HWND h) {
        texts.push_back(uikit::StaticTexts(h));
        uikit::Press(h, button);
      });
    driver.reset(new uikit::DialogDriver(steps));
  }
  int Ran() const { return driver->Ran(); }
  bool Said(size_t i, const CString& text) const {
    return i < texts.size() && texts[i].find((LPCSTR)text) != std::string::npos;
  }
};

}  // namespace dialogtest
