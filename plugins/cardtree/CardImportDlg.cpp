#include "CardImportDlg.h"

#include <Kitlib2/Utility.h>
#include <VxResourceIds.h>

#include <cstdio>

#include "CardDialogs.h"
#include "CardRules.h"
#include "ImportRegister.h"
#include "ImportRun.h"

using namespace cardtree;

namespace {

HWND Owner(CWnd* parent) { return parent ? parent->GetSafeHwnd() : NULL; }

int Say(CWnd* parent, const std::string& text, UINT icon) {
  return CardMessageBox(Owner(parent), text.c_str(), CMTLGetAppName(), MB_OK | icon);
}

std::string Formatted(UINT id, long long n) {
  char text[512];
  snprintf(text, sizeof text, ResourceString(id).c_str(), static_cast<int>(n));
  return text;
}

// The drives of a "E:F:" text, or every card drive for an empty one.
std::vector<char> BackupDrives(LPCSTR text) {
  std::vector<char> out;
  if (!text || !*text) return CardDrives();
  std::string t(text);
  for (size_t i = 0; i < t.size() && out.size() < 26; i += 2)
    if (isalpha(static_cast<unsigned char>(t[i]))) out.push_back(static_cast<char>(toupper(t[i])));
  return out;
}

// The backup's settings: today's folder, the card's names, only pictures and movies.
ImportSettings BackupSettings() {
  ImportSettings s = LocaleImportSettings();
  s.backupMode = 3;
  s.fileNameMode = 1;
  s.headless = 1;
  s.treeType = 0;
  return s;
}

}  // namespace

int CCardImportDlg::ListCardFiles(CStringList* files) {
  if (!files) return -1;
  int n = 0;
  ImportSettings s = BackupSettings();
  for (char d : CardDrives())
    for (const std::string& p : ListCardSources(DriveRoot(d), s)) {
      files->AddTail(p.c_str());
      ++n;
    }
  return n;
}

int CCardImportDlg::BackupCard(LPCSTR drives, LPCSTR destination, CStringList* copied) {
  if (!destination || !*destination) return -1;
  std::string dest(destination);
  while (dest.size() > 3 && dest.back() == '\\') dest.pop_back();
  m_strDestination = dest.c_str();
  if (dest.size() >= 261) {
    Say(m_pParent, ResourceString(IDS_DISKTREE_NAME_TOO_LONG), MB_ICONWARNING);
    return -1;
  }
  if (dest.size() < 3 || dest[1] != ':' || GetDriveTypeA(dest.substr(0, 3).c_str()) != DRIVE_FIXED) {
    Say(m_pParent, ResourceString(IDS_IMPORT_NOT_FIXED_DISK), MB_ICONWARNING);
    return -1;
  }
  if (MakeFolderPath(dest) != 0) return -1;
  if (CMTLGetDiskSpaceEx(dest.c_str()) == 0) {
    Say(m_pParent, ResourceString(IDS_BROWSER_DISK_FULL), MB_ICONWARNING);
    return -1;
  }
  std::vector<char> cards = BackupDrives(drives);
  if (cards.empty()) {
    Say(m_pParent, ResourceString(IDS_IMPORT_NO_CARD), MB_ICONWARNING);
    return 0;
  }

  HCURSOR previous = SetCursor(LoadCursor(NULL, IDC_WAIT));
  ImportSettings s = BackupSettings();
  CopyPlan plan;
  for (char d : cards) PlanCardCopy(DriveRoot(d), dest, s, &plan, true);
  CopyOutcome out;
  DWORD error = RunCopyPlan(&plan, &out);
  // What was copied is registered whatever stopped the run; so is an identical file a
  // killed run left unregistered.
  RegisterOptions options = ReadRegisterOptions(cards.size() == 1 ? DriveRoot(cards[0]) : std::string(), "");
  options.copySupport |= 0x100 | 0x1;
  RegisterCopyRun(out, plan, options);
  SetCursor(previous);

  if (error) {
    Say(m_pParent, std::string(out.failedSource) + "\n\n" + SystemErrorText(error), MB_ICONERROR);
  } else if (!plan.failedSources.empty()) {
    char text[600];
    snprintf(text, sizeof text, ResourceString(IDS_IMPORT_NO_FREE_NUMBER).c_str(), plan.failedSources[0].c_str());
    Say(m_pParent, text, MB_ICONWARNING);
  }
  if (copied)
    for (const std::string& t : out.copiedTargets) copied->AddTail(t.c_str());
  Say(m_pParent, ResourceString(IDS_IMPORT_DONE) + "\n\n" + Formatted(IDS_IMPORT_COUNT, out.copiedTargets.size()),
      MB_ICONINFORMATION);
  if (error && out.copiedTargets.empty()) return -1;
  return static_cast<int>(out.copiedTargets.size());
}
