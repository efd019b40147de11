// Start: the input checked, the settings kept, the checked files planned, copied under
// the copy dialog, registered, summed up, and the card cleaned up when the user agrees.
#include <Kitlib2/Profile.h>
#include <Kitlib2/Utility.h>
#include <PlaceFinder.h>
#include <VxResourceIds.h>

#include <cstdio>

#include "CardDialogs.h"
#include "CardImportDlg.h"
#include "CardRules.h"
#include "ImportDialogRules.h"
#include "ImportRegister.h"
#include "ImportRun.h"

using namespace cardtree;

namespace {

const char kSection[] = "CardTree";

bool IsFolder(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

uint64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA a;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a)) return 0;
  return (static_cast<uint64_t>(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
}

}  // namespace

void CCardImportDlg::SaveSettings() {
  CMWriteProfileInt(kSection, "BackupMode", m_nBackupMode);
  CMWriteProfileString(kSection, "CardDrive", m_strCardRoot.c_str());
  CMWriteProfileInt(kSection, "FileNameMode", m_nFileNameMode);
  CMWriteProfileString(kSection, "BackupFolder", m_strWorking.c_str());
  CMWriteProfileString(kSection, "FolderName", m_strFolderName);
  if (!m_nCopyAll) m_nCopyMode = CopyModeFromRulePosition(m_nRulePosition, m_nCopyMode);
  CMWriteProfileInt(kSection, "CopyMode", m_nCopyAll ? 0 : m_nCopyMode);
  CMWriteProfileInt(kSection, "ClassifyDate", m_bClassifyDate ? 1 : 0);
  CMWriteProfileInt(kSection, "ClassifyModel", m_bClassifyModel ? 1 : 0);
  CMWriteProfileInt(kSection, "ClassifyScene", m_bClassifyScene ? 1 : 0);
  CMWriteProfileInt(kSection, "ClassifyFolder", m_bClassifyFolder ? 1 : 0);
  CMWriteProfileInt(kSection, "ClassifyFace", m_bClassifyFace ? 1 : 0);
  CMWriteProfileInt(kSection, "ClassifyPersonal", m_bClassifyPersonal ? 1 : 0);
}

void CCardImportDlg::OnOK() {
  if (m_bRunning) return;
  const std::vector<std::string> checked = CheckedPaths();
  UpdateData(TRUE);
  m_strWorking = TrimDestination(m_strWorking, false);
  SetDlgItemText(IDC_IMPORT_DESTINATION, m_strWorking.c_str());
  auto focus = [this](int id, bool select) {
    CWnd* w = GetDlgItem(id);
    if (!w) return;
    GotoDlgCtrl(w);
    if (select) w->SendMessage(EM_SETSEL, 0, -1);
  };

  // A disc's titles count as its files do: a disc drive has nothing else to check.
  const StartRefusal refusal = CheckImportStart(checked.size() + CheckedDiscItems().size(), std::string(m_strKeyword),
                                                ResourceString(IDS_IMPORT_KEYWORD_CHARACTERS), m_strWorking,
                                                m_bNamed ? 4 : m_nBackupMode, std::string(m_strFolderName));
  switch (refusal) {
    case StartRefusal::kNothingChecked:
      Say(IDS_IMPORT_NOTHING_CHECKED, MB_ICONWARNING);
      return;
    case StartRefusal::kKeywordCharacters:
      Say(IDS_IMPORT_BAD_KEYWORD, MB_ICONWARNING);
      focus(IDC_IMPORT_KEYWORD, false);
      m_keywords.SetEditSel(0, -1);
      return;
    case StartRefusal::kKeywordTooLong:
      focus(IDC_IMPORT_KEYWORD, false);
      return;
    case StartRefusal::kBadDestination:
      Say(IDS_DISKTREE_NAME_TOO_LONG, MB_ICONWARNING);
      focus(IDC_IMPORT_DESTINATION, true);
      return;
    case StartRefusal::kBadFolderName:
      Say(IDS_IMPORT_BAD_FOLDER_NAME, MB_ICONWARNING);
      focus(IDC_IMPORT_FOLDER_NAME, false);
      return;
    case StartRefusal::kNone:
      break;
  }
  if (!IsFolder(m_strWorking)) {
    if (CardMessageBox(GetSafeHwnd(), ResourceString(IDS_IMPORT_CREATE_FOLDER).c_str(), CMTLGetAppName(),
                       MB_YESNO | MB_ICONQUESTION) != IDYES ||
        !CreateFolderPath(m_strWorking)) {
      focus(IDC_IMPORT_DESTINATION, false);
      return;
    }
  }
  const int position = m_driveList.GetCurSel();
  if (position >= 0 && position < static_cast<int>(m_drives.size())) m_strCardRoot = DriveRoot(m_drives[position]);
  SaveSettings();

  if (CMTLGetDiskSpaceEx(m_strWorking.c_str()) == 0) {
    Say(IDS_BROWSER_DISK_FULL, MB_ICONWARNING);
    EndDialog(IDCANCEL);
    return;
  }
  switch (RunImport()) {
    case kCloseDone:
      m_strDestination = m_strWorking.c_str();
      EndDialog(IDOK);
      break;
    case kCloseFailed:
      EndDialog(IDCANCEL);
      break;
    case kStay:
      SetDlgItemText(IDC_IMPORT_STATUS, "");
      break;
  }
}

int CCardImportDlg::CreateFolderPath(const std::string& path) {
  std::string p = path;
  while (!p.empty() && p.back() == '\\') p.pop_back();
  p += '\\';
  const std::string bad = ResourceString(IDS_PATH_INVALID_CHARS);
  // Each level's own name (past the drive) must be a name the file system takes.
  for (size_t i = 3; i < p.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(p[i]);
    if (IsDBCSLeadByteEx(932, c) && i + 1 < p.size()) {
      ++i;
      continue;
    }
    if (c != '\\' && bad.find(static_cast<char>(c)) != std::string::npos) {
      CardMessageBox(GetSafeHwnd(), ResourceString(IDS_DISKTREE_NAME_BAD_CHARS).c_str(), CMTLGetAppName(),
                     MB_OK | MB_ICONINFORMATION);
      return 0;
    }
  }
  const DWORD e = MakeFolderPath(path);
  if (e) {
    CardMessageBox(GetSafeHwnd(), SystemErrorText(e).c_str(), CMTLGetAppName(), MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  return 1;
}

CCardImportDlg::RunEnd CCardImportDlg::RunImport() {
  UpdateData(TRUE);
  const std::string dest = TrimDestination(m_strWorking, true);
  const std::string caption = ResourceString(IDS_BROWSER_DISC_CAPTION);
  auto stop = [&](UINT id) {
    CardMessageBox(GetSafeHwnd(), ResourceString(id).c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
    return kCloseFailed;
  };
  if (dest.empty()) return stop(IDS_IMPORT_NO_DESTINATION);
  if (dest.size() < 2 || (dest[1] != ':' && dest[1] != '\\')) return stop(IDS_IMPORT_BAD_DESTINATION);
  if (dest[1] == ':') {
    ULARGE_INTEGER avail;
    if (!GetDiskFreeSpaceExA(dest.substr(0, 2).append("\\").c_str(), &avail, NULL, NULL))
      return stop(IDS_IMPORT_DRIVE_UNREADABLE);
    if (dest.size() > 3 && !IsFolder(dest)) {
      if (CardMessageBox(GetSafeHwnd(), ResourceString(IDS_IMPORT_CREATE_FOLDER).c_str(),
                         ResourceString(IDS_IMPORT_CREATE_CAPTION).c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) {
        m_strWorking.clear();
        SetDlgItemText(IDC_IMPORT_DESTINATION, "");
        return kCloseFailed;
      }
      if (!CreateFolderPath(dest)) return kCloseFailed;
    }
  }

  m_bRunning = true;
  EnableImportControls(0, 1);
  SetDlgItemText(IDC_IMPORT_STATUS, ResourceString(IDS_IMPORT_PREPARING).c_str());
  const std::vector<std::string> checked = CheckedPaths();
  auto finish = [this](RunEnd end) {
    m_bRunning = false;
    EnableImportControls(1, 1);
    return end;
  };

  // The checked files and titles must fit with a margin.
  const std::vector<DiscSelection> titles = CheckedDiscItems();
  ULARGE_INTEGER avail;
  if (GetDiskFreeSpaceExA(dest.c_str(), &avail, NULL, NULL)) {
    uint64_t needed = titles.empty() ? 0 : DiscBytes(titles);
    for (const std::string& p : checked) needed += FileSize(p);
    if (!EnoughSpaceForImport(avail.QuadPart, needed)) {
      Say(IDS_IMPORT_LOW_SPACE, MB_ICONWARNING);
      return finish(kCloseFailed);
    }
  }

  m_nImported = 0;
  DiscImportResult disc;
  if (!titles.empty()) {
    SetDlgItemText(IDC_IMPORT_STATUS, ResourceString(IDS_IMPORT_COPYING).c_str());
    disc = RunDiscImport(titles, dest);
    if (disc.code < 0) return finish(kCloseFailed);
    m_nImported += static_cast<int>(disc.completed.size());
  }

  CopyPlan plan;
  for (const std::string& p : checked) plan.checked.insert(UpperPath(p));
  ImportSettings s = PlanSettings();
  if (m_nCopyAll) s.copyMode = 0;
  // A cancelled title import ends the run before the files.
  if (!disc.cancelled && !checked.empty()) {
    PlanCardCopy(m_strCardRoot, dest, s, &plan);
    if (s.copyMode == 0) ResolveCollisions(dest, &plan);
  }
  m_nSkipped = plan.presentSources.size() + static_cast<size_t>(disc.present);
  if (!plan.failedSources.empty()) {
    CardMessageBox(GetSafeHwnd(), ResourceFormat(IDS_IMPORT_NO_FREE_NUMBER, plan.failedSources[0]).c_str(),
                   CMTLGetAppName(), MB_OK | MB_ICONWARNING);
  }

  CopyOutcome outcome;
  int result = disc.cancelled ? kCopyCancelled : kCopyAll;
  if (!plan.sources.empty()) {
    SetDlgItemText(IDC_IMPORT_STATUS, ResourceString(IDS_IMPORT_COPYING).c_str());
    int copied = 0;
    result = RunCopyDialog(&plan, &outcome, &copied);
    m_nImported += copied;
  } else if (!plan.presentSources.empty()) {
    RegisterImportedFiles(outcome, plan);
  }
  const bool failed = outcome.error && !outcome.stopped;
  const bool completed = result == kCopyAll;

  const UINT summaryId = !completed ? IDS_IMPORT_FAILED : disc.limitReached ? IDS_IMPORT_LIMIT_REACHED : IDS_IMPORT_DONE;
  std::string summary = ResourceString(summaryId) + "\n\n" + ResourceFormat(IDS_IMPORT_COUNT, m_nImported);
  if (m_nSkipped) summary += "\n" + ResourceFormat(IDS_IMPORT_SKIPPED, static_cast<long long>(m_nSkipped));
  if (plan.renamed) summary += "\n" + ResourceFormat(IDS_IMPORT_RENAMED, static_cast<long long>(plan.renamed));
  if (!plan.keptSources.empty())
    summary += "\n" + ResourceFormat(IDS_IMPORT_NAME_TAKEN, static_cast<long long>(plan.keptSources.size()));
  CardMessageBox(GetSafeHwnd(), summary.c_str(), ResourceString(IDS_IMPORT_SUMMARY_CAPTION).c_str(),
                 MB_OK | MB_ICONINFORMATION);

  const DeletionOffer offer =
      ImportDeletionOffer(m_nDeletePass, m_bFilesListed != 0, outcome.copiedSources.size(), plan.presentSources.size(),
                          failed, disc.completed.size(), !disc.completed.empty() && IsDiscRecordable());
  if (offer.Any()) {
    const std::string deleteCaption = ResourceString(IDS_BROWSER_DELETE_CAPTION);
    const UINT ask = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
    if (CardMessageBox(GetSafeHwnd(), ResourceString(IDS_IMPORT_DELETE_QUESTION).c_str(), deleteCaption.c_str(), ask) ==
            IDYES &&
        CardMessageBox(GetSafeHwnd(), ResourceString(IDS_IMPORT_DELETE_AGAIN).c_str(), deleteCaption.c_str(), ask) ==
            IDYES) {
      SetDlgItemText(IDC_IMPORT_STATUS, ResourceString(IDS_IMPORT_DELETING).c_str());
      CleanUpTally tally;
      {
        CWaitCursor wait;
        if (offer.files) tally = DeleteImportedSources(outcome, plan);
        // A failed file deletion leaves the titles as well.
        if (offer.disc && !tally.Kept(KeptBecause::kNotDeleted))
          tally.Add(DeleteImportedTitles(m_disc.core, m_disc.list, disc.imported));
      }
      const std::vector<std::pair<UINT, size_t>> kept = KeptOnCardLines(tally);
      if (!kept.empty()) {
        std::string text = ResourceString(IDS_IMPORT_KEPT_HEAD) + "\n";
        for (const auto& line : kept) text += "\n" + ResourceFormat(line.first, static_cast<long long>(line.second));
        CardMessageBox(GetSafeHwnd(), text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
      }
    }
  }
  if (!disc.completed.empty() && CMGetProfileInt(kSection, "InitDlg", 0) == 0) {
    CImportInfoDlg info(this);
    info.DoModal();
  }
  return finish(completed ? kCloseDone : kStay);
}

int CCardImportDlg::RunCopyDialog(CopyPlan* plan, CopyOutcome* outcome, int* imported) {
  CCopyProgressDlg dlg(this, plan);
  const INT_PTR result = dlg.DoModal();
  *outcome = dlg.Outcome();
  *imported = dlg.CopiedCount();
  // Every verified copy is registered, whatever ended the run: it is a final file now.
  RegisterImportedFiles(*outcome, *plan);
  return static_cast<int>(result);
}

void CCardImportDlg::StartPlaceFinder() {
  if (!CMGetProfileInt("SyGPS2", "Flag", 0)) return;
  // The finder reads its table on a thread of its own; the registration waits for it.
  m_hPlaceReady = CreateEventA(NULL, TRUE, FALSE, NULL);
  m_placeStart = std::thread([this] {
    m_hPlaceFinder = VxGPSInit();
    SetEvent(m_hPlaceReady);
  });
}

void CCardImportDlg::StopPlaceFinder() {
  if (m_placeStart.joinable()) m_placeStart.join();
  if (m_hPlaceFinder) VxGPSTerm(m_hPlaceFinder);
  m_hPlaceFinder = NULL;
  if (m_hPlaceReady) CloseHandle(m_hPlaceReady);
  m_hPlaceReady = NULL;
}

RegisterOptions CCardImportDlg::ImportRegisterOptions() {
  RegisterOptions options = ReadRegisterOptions(m_strCardRoot, std::string(m_strKeyword));
  // A finder not ready within 10 s leaves the places out.
  if (m_hPlaceReady && WaitForSingleObject(m_hPlaceReady, 10000) == WAIT_OBJECT_0) options.placeFinder = m_hPlaceFinder;
  options.faces = m_pFaces;
  return options;
}

int CCardImportDlg::RegisterImportedFiles(const CopyOutcome& outcome, const CopyPlan& plan) {
  RegisterOptions options = ImportRegisterOptions();
  HWND self = GetSafeHwnd();
  CCloseHolder holder(self);
  return RegisterCopyRun(outcome, plan, options, [self, &holder](size_t k, size_t n) {
    if (!n) return;
    ::SetDlgItemTextA(self, IDC_IMPORT_STATUS,
                      ResourceFormat(IDS_IMPORT_REGISTER_PERCENT, static_cast<long long>(k * 100 / n)).c_str());
    holder.Pump();
  });
}
