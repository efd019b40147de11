#include "LauncherRules.h"

#include <VxResourceIds.h>
#include <stdio.h>

#include <textkit/path.h>
#include <textkit/text.h>

namespace launcherrules {

std::string PathKey(int slot) { return "Lanch" + std::to_string(slot); }
std::string LabelKey(int slot) { return PathKey(slot) + "Name"; }

bool IsProgramName(const std::string& path) {
  std::string ext = textkit::ExtensionOf(path);
  return textkit::EqualNoCase(ext, ".exe") || textkit::EqualNoCase(ext, ".lnk");
}

bool IsShortcutName(const std::string& path) { return textkit::EqualNoCase(textkit::ExtensionOf(path), ".lnk"); }

std::string CutLabel(const std::string& label) {
  if (label.size() < kLabelLimit) return label;
  return textkit::CutToBytes(label, kLabelCut);
}

std::string ProgramLabel(const std::string& path, bool hasTranslation, const std::string& description) {
  std::string name = textkit::FileNameOf(path);
  std::string label;
  if (!description.empty())
    label = description;
  else if (hasTranslation)
    label = name;
  else
    label = textkit::CutToBytes(name, name.size() >= 4 ? name.size() - 4 : 0);
  return CutLabel(label);
}

std::string CommandLine(const std::string& program, const std::string& file, unsigned long long mainWindow) {
  std::string line = "\"" + program + "\"";
  if (file.empty()) return line;
  if (textkit::EndsWithNoCase(program, "\\RAWSHIFTER.EXE")) {
    char sw[24];
    snprintf(sw, sizeof sw, " -w%08X", (unsigned)mainWindow);
    line += sw;
  }
  return line + " \"" + file + "\"";
}

bool SelectionFlags(int choice, long* flags) {
  switch (choice) {
    case 0: *flags = 0; return true;
    case 1: *flags = (long)0x80000000L; return true;
    case 2:
    case 3: *flags = 0x40000000L; return true;
    case 5: *flags = 0x20000001L; return true;
  }
  return false;
}

std::vector<int> MenuCommands(bool slotSet) {
  std::vector<int> commands = {ID_LAUNCHER_REGISTER};
  if (slotSet) commands.push_back(ID_LAUNCHER_REMOVE);
  return commands;
}

int DropRow(const std::vector<bool>& highlighted) {
  for (size_t i = 0; i < highlighted.size(); ++i)
    if (highlighted[i]) return (int)i;
  return 0;
}

}  // namespace launcherrules
