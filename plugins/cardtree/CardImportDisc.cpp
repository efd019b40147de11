// The card's disc titles in the import dialog: counted and shown after the card's files
// (with the title badge), opened to their parts, imported by the disc core's import job
// under the registration window, and deleted from the card when the user agrees.
#include <Kitlib2/Profile.h>
#include <Kitlib2/Utility.h>
#include <RecordGate.h>
#include <VxResourceIds.h>

#include <cstdio>
#include <mutex>
#include <thread>

#include "CardDialogs.h"
#include "CardImportDlg.h"
#include "CardItemDlg.h"
#include "CardRules.h"
#include "DiscNodes.h"
#include "ImportRegister.h"

using namespace cardtree;

void CCardImportDlg::CountDiscTitles() {
  CloseDiscSession(&m_disc);
  m_disc = DiscSession();
  m_discTitles.clear();
  m_nDiscImportable = 0;
  m_nUnsupported = 0;
  m_disc.core = Integrator();
  if (!m_disc.core) return;
  const DiscScan scan = ScanDiscSide(&m_disc, m_strCardRoot, m_nTvSystem);
  for (UINT id : scan.warnings) {
    // The list may have moved meanwhile: the question is about the drive scanned.
    ::SendDlgItemMessageA(GetSafeHwnd(), IDC_IMPORT_DRIVE, CB_SETCURSEL, m_nDrivePosition, 0);
    CardMessageBox(GetSafeHwnd(), ResourceString(id).c_str(), CMTLGetAppName(),
                   MB_OK | (id == IDS_IMPORT_TITLES_UNREADABLE ? 0 : MB_ICONWARNING));
  }
  m_nDiscImportable = scan.importable;
  m_nUnsupported = scan.unsupported;
  m_bDiscItems = scan.importable > 0;
}

void CCardImportDlg::AddDiscItems() {
  IVxBDIntegrator* core = m_disc.core;
  if (!core || OpenDiscTitleList(&m_disc) < 0) return;
  VXBDLISTINFO info = {};
  if (core->GetTitleListInfo(m_disc.list, &info) < 0) return;
  size_t cbBadge = 0;
  const BITMAPINFOHEADER* badge = AvchdBadge(&cbBadge);
  const std::string partsFormat = ResourceString(IDS_IMPORT_TITLE_PARTS);
  for (DWORD t = 0; t < info.nTitles && !m_nStop && static_cast<int>(m_discTitles.size()) < m_nDiscImportable; ++t) {
    VXBDTITLEINFO title = {};
    if (core->GetTitleInfo(m_disc.list, static_cast<int>(t), &title) < 0) break;
    const DWORD maker = (static_cast<DWORD>(title.wMakerHigh) << 16) | title.wMakerLow;
    if (title.nKind != 1 || !IsSupportedMaker(maker)) continue;
    const int item = m_nFirstDiscIndex + static_cast<int>(m_discTitles.size());
    m_discTitles.push_back(static_cast<int>(t));
    std::vector<BYTE> thumb;
    if (PartThumbnail(core, m_disc.list, static_cast<int>(t), 0, badge, cbBadge, &thumb) < 0) continue;
    // Kind 1 marks a title: it opens to its parts and has no file properties.
    m_list.AddPackedDib(item, thumb.data(), 1, 0, DiscItemLabel(title.stRecorded, title.nParts, partsFormat).c_str(),
                        thumb.size());
    m_list.SetCheck(item, TRUE);
    ++m_nShown;
  }
}

std::vector<DiscSelection> CCardImportDlg::CheckedDiscItems() {
  std::vector<DiscSelection> out;
  if (!m_disc.core || m_disc.list == -1) return out;
  for (size_t k = 0; k < m_discTitles.size(); ++k) {
    const int item = m_nFirstDiscIndex + static_cast<int>(k);
    if ((m_list.GetItemState(item, LVIS_OVERLAYMASK) & LVIS_OVERLAYMASK) == INDEXTOOVERLAYMASK(1)) continue;
    VXBDTITLEINFO title = {};
    if (m_disc.core->GetTitleInfo(m_disc.list, m_discTitles[k], &title) < 0) continue;
    out.push_back({m_discTitles[k], title.stRecorded});
  }
  return out;
}

uint64_t CCardImportDlg::DiscBytes(const std::vector<DiscSelection>& titles) {
  uint64_t bytes = 0;
  for (const DiscSelection& d : titles) {
    VXBDTITLEINFO title = {};
    if (m_disc.core->GetTitleInfo(m_disc.list, d.title, &title) >= 0) bytes += title.ullBytes;
  }
  return bytes;
}

DiscImportResult CCardImportDlg::RunDiscImport(const std::vector<DiscSelection>& titles, const std::string& dest) {
  if (!m_pRegister) {
    m_pRegister = new CRegisterProgressDlg(this, static_cast<int>(titles.size()));
    m_pRegister->Create(this);
    if (CWnd* main = AfxGetMainWnd()) m_pRegister->CenterWindow(main);
  }
  m_pRegister->Start();
  m_nDiscCancel = 0;

  // The pass runs on its own thread; the window it feeds stays on this one, which keeps
  // answering meanwhile. Its files are registered here afterwards.
  std::mutex lock;
  std::vector<std::string> produced, cards;
  std::vector<PictureFacts> facts;
  std::vector<std::pair<UINT, long>> errors;
  CRegisterProgressDlg* reg = m_pRegister;
  DiscImportHooks hooks;
  hooks.addEntry = [reg](const std::string& label, const std::string& card, const std::string& folder, int i) {
    reg->AddEntry(label.c_str(), card.c_str(), folder.c_str(), i);
  };
  hooks.setPos = [reg](int percent) { reg->SetPos(percent); };
  hooks.disableCancel = [reg] { reg->DisableCancel(); };
  hooks.registerFile = [&](const std::string& path, const std::string&, const std::string& card,
                           const SYSTEMTIME& recorded, bool present) {
    // A title imported before keeps the entries it has.
    if (present && VxDBWIsEnrolled(path.c_str()) == S_OK) return;
    PictureFacts read = WithRecordingTime(PictureFactsOfFile(path), recorded);
    std::lock_guard<std::mutex> hold(lock);
    produced.push_back(path);
    cards.push_back(card);
    facts.push_back(std::move(read));
  };
  hooks.showError = [&](UINT id, long code) {
    std::lock_guard<std::mutex> hold(lock);
    errors.push_back({id, code});
  };
  DiscImportResult result;
  std::atomic<bool> done{false};
  const ImportSettings settings = PlanSettings();
  std::thread worker([&] {
    result = RunDiscImportPass(m_disc.core, m_disc.list, titles, dest, m_strCardRoot, settings, m_nDiscCancel, hooks);
    done = true;
  });
  {
    CCloseHolder holder(GetSafeHwnd());
    while (!done) {
      MsgWaitForMultipleObjects(0, NULL, FALSE, 100, QS_ALLINPUT);
      holder.Pump();
    }
    worker.join();
  }
  m_pRegister->Finish();

  for (const auto& e : errors) {
    CardMessageBox(GetSafeHwnd(), ResourceFormat(e.first, e.second).c_str(), CMTLGetAppName(), MB_OK | MB_ICONWARNING);
  }
  if (!produced.empty()) {
    CWaitCursor wait;
    cardtree::RegisterImportedFiles(produced, cards, ImportRegisterOptions(), nullptr, facts);
  }
  return result;
}

bool CCardImportDlg::IsDiscRecordable() {
  VXBDDEVICEINFO device = {};
  return m_disc.core && m_disc.drive >= 0 && m_disc.core->GetDeviceInfo(m_disc.drive, &device) >= 0 &&
         device.nKind == VXBD_DEVICE_CARD;
}

LRESULT CCardImportDlg::OnItemOpen(WPARAM wParam, LPARAM) {
  // Only disc titles open their parts; the card's ordinary files answer nothing.
  const int item = static_cast<int>(wParam);
  const int k = item - m_nFirstDiscIndex;
  if (!m_bDiscItems || k < 0 || k >= static_cast<int>(m_discTitles.size()) || m_bRunning) return 0;
  CCardItemDlg parts(this);
  parts.m_pCore = m_disc.core;
  parts.m_nSession = m_disc.session;
  parts.m_nList = m_disc.list;
  parts.m_nItem = m_discTitles[k];
  parts.DoModal();
  return 0;
}

LRESULT CCardImportDlg::OnDiscCancel(WPARAM, LPARAM) {
  m_nDiscCancel = 1;
  return 0;
}
