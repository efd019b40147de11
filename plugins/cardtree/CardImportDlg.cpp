#include "CardImportDlg.h"

#include <Kitlib2/Profile.h>
#include <Kitlib2/Utility.h>
#include <KitlibEx/KitlibEx.h>
#include <RecordGate.h>
#include <VxResourceIds.h>
#include <cardwatch/BackupFolder.h>
#include <metastore.h>
#include <shlobj.h>

#include <cstdio>

#include "CardDialogs.h"
#include "CardRules.h"
#include "DiscNodes.h"
#include "ImportDialogRules.h"
#include "ImportRegister.h"
#include "ImportRun.h"

using namespace cardtree;

namespace {

const char kSection[] = "CardTree";
const UINT_PTR kListingTimer = 1, kClearTimer = 2, kCardTimer = 3;

HWND Owner(CWnd* parent) { return parent ? parent->GetSafeHwnd() : NULL; }

int SayText(CWnd* parent, const std::string& text, UINT icon) {
  return CardMessageBox(Owner(parent), text.c_str(), CMTLGetAppName(), MB_OK | icon);
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
  s.stop = TakeScanStopRequest;
  return s;
}

// The controls hidden with the details, and those that move up meanwhile.
const int kDetailControls[] = {IDC_IMPORT_NAMING_FRAME, IDC_IMPORT_RULE_FRAME, IDC_IMPORT_NAME_BY_TIME,
                               IDC_IMPORT_NAME_KEEP, IDC_IMPORT_COPY_ALL, IDC_IMPORT_DRIVE_LABEL,
                               IDC_IMPORT_COPY_RULE, IDC_IMPORT_RULE_LIST, IDC_IMPORT_CLASSIFY_FRAME,
                               IDC_IMPORT_CLASSIFY_DATE, IDC_IMPORT_CLASSIFY_MODEL, IDC_IMPORT_CLASSIFY_SCENE,
                               IDC_IMPORT_CLASSIFY_FOLDER, IDC_IMPORT_CLASSIFY_FACE, IDC_IMPORT_DESTINATION_LABEL,
                               IDC_IMPORT_CLASSIFY_PERSONAL};
const int kMovedControls[] = {IDC_IMPORT_KEYWORD_LABEL, IDC_IMPORT_KEYWORD, IDC_IMPORT_LIST_LABEL,
                              IDC_IMPORT_LIST,          IDC_IMPORT_STATUS,  IDOK,
                              IDCANCEL,                 IDC_IMPORT_CHECK_ALL, IDC_IMPORT_UNCHECK_ALL};
const int kEnabledControls[] = {IDC_IMPORT_DRIVE,          IDCANCEL,
                                IDC_IMPORT_DESTINATION,    IDC_IMPORT_BROWSE,
                                IDC_IMPORT_DETAILS,        IDC_IMPORT_TODAY,
                                IDC_IMPORT_MONTHLY,        IDC_IMPORT_DAILY,
                                IDC_IMPORT_NAMED,          IDC_IMPORT_COPY_ALL,
                                IDC_IMPORT_COPY_RULE,      IDC_IMPORT_NAME_KEEP,
                                IDC_IMPORT_NAME_BY_TIME,   IDC_IMPORT_RULE_LIST,
                                IDC_IMPORT_FOLDER_NAME,    IDC_IMPORT_CLASSIFY_DATE,
                                IDC_IMPORT_CLASSIFY_MODEL, IDC_IMPORT_CLASSIFY_SCENE,
                                IDC_IMPORT_CLASSIFY_FOLDER, IDC_IMPORT_CLASSIFY_FACE,
                                IDC_IMPORT_CLASSIFY_PERSONAL, IDC_IMPORT_KEYWORD,
                                IDC_IMPORT_CHECK_ALL,      IDC_IMPORT_UNCHECK_ALL,
                                IDOK};

}  // namespace

BEGIN_MESSAGE_MAP(CCardImportDlg, CDialog)
  ON_EN_CHANGE(IDC_IMPORT_DESTINATION, &CCardImportDlg::OnChangeDestination)
  ON_BN_CLICKED(IDC_IMPORT_BROWSE, &CCardImportDlg::OnBrowseDestination)
  ON_BN_CLICKED(IDC_IMPORT_MONTHLY, &CCardImportDlg::OnMonthlyFolders)
  ON_BN_CLICKED(IDC_IMPORT_DAILY, &CCardImportDlg::OnDailyFolders)
  ON_BN_CLICKED(IDC_IMPORT_TODAY, &CCardImportDlg::OnTodayFolder)
  ON_BN_CLICKED(IDC_IMPORT_NAMED, &CCardImportDlg::OnNamedFolder)
  ON_BN_CLICKED(IDC_IMPORT_COPY_ALL, &CCardImportDlg::OnCopyAll)
  ON_BN_CLICKED(IDC_IMPORT_COPY_RULE, &CCardImportDlg::OnCopyRule)
  ON_CBN_SELCHANGE(IDC_IMPORT_RULE_LIST, &CCardImportDlg::OnRuleChange)
  ON_BN_CLICKED(IDC_IMPORT_CHECK_ALL, &CCardImportDlg::OnCheckAll)
  ON_BN_CLICKED(IDC_IMPORT_UNCHECK_ALL, &CCardImportDlg::OnUncheckAll)
  ON_COMMAND(ID_IMPORT_ITEM_PROPERTY, &CCardImportDlg::OnItemProperty)
  ON_WM_CONTEXTMENU()
  ON_CBN_SELCHANGE(IDC_IMPORT_DRIVE, &CCardImportDlg::OnCardDriveChange)
  ON_BN_CLICKED(IDC_IMPORT_DETAILS, &CCardImportDlg::OnToggleDetails)
  ON_WM_TIMER()
  ON_WM_DESTROY()
  ON_MESSAGE(WM_IMPORT_ITEM_OPEN, &CCardImportDlg::OnItemOpen)
  ON_MESSAGE(WM_IMPORT_DISC_CANCEL, &CCardImportDlg::OnDiscCancel)
  ON_MESSAGE(WM_IMPORT_SCAN_TIMERS, &CCardImportDlg::OnScanTimers)
END_MESSAGE_MAP()

CCardImportDlg::CCardImportDlg(CWnd* pParent)
    : CDialog(IDD_CARD_IMPORT, pParent),
      m_nBackupMode(3),
      m_nFileNameMode(0),
      m_nCopyMode(0),
      m_nRulePosition(0),
      m_nCopyAll(1),
      m_bMonthly(0),
      m_bDaily(0),
      m_bToday(0),
      m_bNamed(0),
      m_bClassifyDate(1),
      m_bClassifyModel(1),
      m_bClassifyScene(1),
      m_bClassifyFolder(1),
      m_bClassifyFace(1),
      m_bClassifyPersonal(1),
      m_pParent(pParent),
      m_nDrivePosition(-1),
      m_bDetails(1),
      m_bInSection(false),
      m_list(1),
      m_hScanThread(NULL),
      m_hListingDone(NULL),
      m_nStop(0),
      m_bStatusCleared(0),
      m_nListed(0),
      m_nShown(0),
      m_nFirstDiscIndex(0),
      m_bFilesListed(0),
      m_bDiscItems(0),
      m_bRunning(false),
      m_nDiscImportable(0),
      m_nUnsupported(0),
      m_nTvSystem(0),
      m_nDiscCancel(0),
      m_pRegister(nullptr),
      m_hPlaceFinder(NULL),
      m_hPlaceReady(NULL),
      m_pFaces(nullptr),
      m_nDeletePass(0),
      m_nImported(0),
      m_nSkipped(0) {}

CCardImportDlg::~CCardImportDlg() {
  if (m_hScanThread) {
    m_nStop = 1;
    WaitForSingleObject(m_hScanThread, INFINITE);
    CloseHandle(m_hScanThread);
  }
  if (m_hListingDone) CloseHandle(m_hListingDone);
}

void CCardImportDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_IMPORT_LIST, m_list);
  DDX_Control(pDX, IDC_IMPORT_KEYWORD, m_keywords);
  DDX_Control(pDX, IDC_IMPORT_DRIVE, m_driveList);
  DDX_Control(pDX, IDC_IMPORT_RULE_LIST, m_ruleList);
  DDX_Check(pDX, IDC_IMPORT_MONTHLY, m_bMonthly);
  DDX_Check(pDX, IDC_IMPORT_DAILY, m_bDaily);
  DDX_Check(pDX, IDC_IMPORT_TODAY, m_bToday);
  DDX_Check(pDX, IDC_IMPORT_NAMED, m_bNamed);
  DDX_Radio(pDX, IDC_IMPORT_NAME_BY_TIME, m_nFileNameMode);
  DDX_Check(pDX, IDC_IMPORT_COPY_ALL, m_nCopyAll);
  if (!pDX->m_bSaveAndValidate) CheckDlgButton(IDC_IMPORT_COPY_RULE, m_nCopyAll ? BST_UNCHECKED : BST_CHECKED);
  DDX_CBIndex(pDX, IDC_IMPORT_RULE_LIST, m_nRulePosition);
  DDX_Check(pDX, IDC_IMPORT_CLASSIFY_DATE, m_bClassifyDate);
  DDX_Check(pDX, IDC_IMPORT_CLASSIFY_MODEL, m_bClassifyModel);
  DDX_Check(pDX, IDC_IMPORT_CLASSIFY_SCENE, m_bClassifyScene);
  DDX_Check(pDX, IDC_IMPORT_CLASSIFY_FOLDER, m_bClassifyFolder);
  DDX_Check(pDX, IDC_IMPORT_CLASSIFY_FACE, m_bClassifyFace);
  DDX_Check(pDX, IDC_IMPORT_CLASSIFY_PERSONAL, m_bClassifyPersonal);
  DDX_Text(pDX, IDC_IMPORT_FOLDER_NAME, m_strFolderName);
  DDX_CBString(pDX, IDC_IMPORT_KEYWORD, m_strKeyword);
  DDX_Text(pDX, IDC_IMPORT_DESTINATION, m_strDestinationEdit);
}

BOOL CCardImportDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  // The dialog holds the plug-in's section for its life; the tree's calls on this thread
  // still go ahead.
  DiscCoreSection().Lock();
  m_bInSection = true;
  CMWriteProfileInt(kSection, "Show", 1);
  SetGuiFontUnlessAsian(this);
  HGDIOBJ gui = GetStockObject(DEFAULT_GUI_FONT);
  for (int id : {IDC_IMPORT_DESTINATION, IDC_IMPORT_FOLDER_NAME})
    if (CWnd* edit = GetDlgItem(id)) edit->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(gui), TRUE);

  // The core's drives as they are now: the card may have changed since the tree was made.
  if (IVxBDIntegrator* core = Integrator()) RefreshDiscDevices(core);
  if (!FillCardDriveList()) {
    EndDialog(-1);
    return TRUE;
  }
  ReadSettings();
  for (UINT id : {IDS_IMPORT_RULE_SKIP_SAME, IDS_IMPORT_RULE_SKIP_NAME, IDS_IMPORT_RULE_RENAME})
    m_ruleList.AddString(ResourceString(id).c_str());
  m_nCopyAll = m_nCopyMode == 0;
  m_nRulePosition = RulePositionFromCopyMode(m_nCopyMode);

  m_strWorking = InitialDestination();
  m_strDestinationEdit = m_strWorking.c_str();
  SendDlgItemMessage(IDC_IMPORT_DESTINATION, EM_SETREADONLY, TRUE);
  SendDlgItemMessage(IDC_IMPORT_DESTINATION, EM_LIMITTEXT, 246);

  const int position = InitialDrivePosition(std::string(CMGetProfileString(kSection, "CardDrive", "")), m_drives);
  m_driveList.SetCurSel(position);
  m_strCardRoot = m_drives.empty() ? std::string() : DriveRoot(m_drives[position]);

  const FolderBoxState boxes = FolderBoxesForMode(m_nBackupMode, m_nFileNameMode);
  m_nFileNameMode = boxes.fileNameMode;
  m_bMonthly = m_nBackupMode == 1;
  m_bDaily = m_nBackupMode == 2;
  m_bToday = m_nBackupMode == 3;
  m_bNamed = m_nBackupMode == 4;

  m_list.InitControl();
  m_list.SetCheckNotify(GetSafeHwnd(), WM_IMPORT_ITEM_CHECKED);
  m_list.SetOpenNotify(GetSafeHwnd(), WM_IMPORT_ITEM_OPEN);
  m_list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(gui), TRUE);
  FillKeywordList();

  UpdateData(FALSE);
  EnableImportControls(1, 1);
  StoreLayout();
  OnToggleDetails();

  StartPlaceFinder();
  // The registration's persons: the face database as it is now (an empty one when none).
  m_pFaces = new CFaceIdentifier;
  if (FAILED(m_pFaces->LoadDb())) {
    delete m_pFaces;
    m_pFaces = nullptr;
  }
  m_nDrivePosition = -1;
  StartScan();
  SetTimer(kCardTimer, 500, NULL);
  return TRUE;
}

int CCardImportDlg::FillCardDriveList() {
  // A disc whose titles the tree shows is imported from here as a card is.
  m_drives = ImportDriveLetters(CardDrives(), DiscCoreDriveLetters(Integrator()));
  m_driveList.ResetContent();
  for (char d : m_drives) {
    char text[4];
    snprintf(text, sizeof text, "%c", d);
    m_driveList.AddString(text);
  }
  if (m_drives.empty()) {
    SayText(this, ResourceFormat(IDS_IMPORT_NO_FILES, 0), MB_ICONWARNING);
    return 0;
  }
  return 1;
}

void CCardImportDlg::ReadSettings() {
  ImportSettings s;
  s.backupMode = CMGetProfileInt(kSection, "BackupMode", 3);
  s.fileNameMode = CMGetProfileInt(kSection, "FileNameMode", 0);
  s.copyMode = CMGetProfileInt(kSection, "CopyMode", 0);
  s.folderName = std::string(CMGetProfileString(kSection, "FolderName", ""));
  ClampImportSettings(&s);
  m_nBackupMode = s.backupMode;
  m_nFileNameMode = s.fileNameMode;
  m_nCopyMode = s.copyMode;
  m_strFolderName = s.folderName.c_str();
  m_bClassifyDate = CMGetProfileInt(kSection, "ClassifyDate", 1) != 0;
  m_bClassifyModel = CMGetProfileInt(kSection, "ClassifyModel", 1) != 0;
  m_bClassifyScene = CMGetProfileInt(kSection, "ClassifyScene", 1) != 0;
  m_bClassifyFolder = CMGetProfileInt(kSection, "ClassifyFolder", 1) != 0;
  m_bClassifyFace = CMGetProfileInt(kSection, "ClassifyFace", 1) != 0;
  m_bClassifyPersonal = CMGetProfileInt(kSection, "ClassifyPersonal", 1) != 0;
  m_nDeletePass = CMGetProfileInt(kSection, "DeletePass", 0);
  m_nTvSystem = CMGetProfileInt("Settings", "TVSystem", 0, CMPROFILE_COMMON);
}

std::string CCardImportDlg::InitialDestination() {
  return cardwatch::BackupFolder(ResourceString(IDS_IMPORT_PICTURES_FOLDER));
}

void CCardImportDlg::FillKeywordList() {
  std::vector<std::string> keywords;
  int count = 0;
  if (SUCCEEDED(VxDBWGetReadTableDataCount("KeywordsInfo", &count)) && count > 0) {
    const std::string key = ResourceString(IDS_GROUP_UNKNOWN_KEY), text = ResourceString(IDS_GROUP_UNKNOWN);
    for (int first = 1; first <= count; first += 50) {
      METAIDXDATA* rows = nullptr;
      if (VxDBWGetReadTableDataEx("KeywordsInfo", first, std::min(first + 49, count), &rows) != S_OK) {
        if (rows) FreeMetaIdxDataList(rows);
        continue;
      }
      for (METAIDXDATA* r = rows; r; r = r->pNext)
        for (METAFIELD* f = r->pFields; f; f = f->pNext)
          if (f->nFlag == 0 && lstrcmpA(f->szName, "Keywords") == 0) CollectKeywords(f->pszValue, key, text, &keywords);
      FreeMetaIdxDataList(rows);
    }
  }
  for (const std::string& k : keywords) m_keywords.AddString(k.c_str());
  m_keywords.LimitText(64);
}

void CCardImportDlg::StoreLayout() {
  GetWindowRect(&m_rcDialog);
  m_placed.clear();
  auto keep = [this](int id) {
    CWnd* w = GetDlgItem(id);
    if (!w) return;
    CRect rc;
    w->GetWindowRect(&rc);
    ScreenToClient(&rc);
    m_placed.push_back({id, rc});
  };
  keep(IDC_IMPORT_FOLDER_FRAME);
  keep(IDC_IMPORT_DAILY);
  for (int id : kMovedControls) keep(id);
}

void CCardImportDlg::OnToggleDetails() {
  CString caption;
  GetDlgItemText(IDC_IMPORT_DETAILS, caption);
  auto placed = [this](int id) -> CRect {
    for (const Placed& p : m_placed)
      if (p.id == id) return p.rc;
    return CRect();
  };
  const CRect frame = placed(IDC_IMPORT_FOLDER_FRAME);
  const int shortBottom = placed(IDC_IMPORT_DAILY).bottom + 5;
  const int removed = frame.bottom - shortBottom;
  if (m_bDetails) {
    for (int id : kDetailControls)
      if (CWnd* w = GetDlgItem(id)) w->ShowWindow(SW_HIDE);
    if (CWnd* w = GetDlgItem(IDC_IMPORT_FOLDER_FRAME))
      w->SetWindowPos(NULL, 0, 0, frame.Width(), shortBottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
    for (int id : kMovedControls)
      if (CWnd* w = GetDlgItem(id)) {
        const CRect rc = placed(id);
        w->SetWindowPos(NULL, rc.left, rc.top - removed, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      }
    SetWindowPos(NULL, 0, 0, m_rcDialog.Width(), m_rcDialog.Height() - removed, SWP_NOMOVE | SWP_NOZORDER);
    m_bDetails = 0;
  } else {
    SetWindowPos(NULL, 0, 0, m_rcDialog.Width(), m_rcDialog.Height(), SWP_NOMOVE | SWP_NOZORDER);
    for (int id : kDetailControls)
      if (CWnd* w = GetDlgItem(id)) w->ShowWindow(SW_SHOW);
    for (int id : kMovedControls)
      if (CWnd* w = GetDlgItem(id)) {
        const CRect rc = placed(id);
        w->SetWindowPos(NULL, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      }
    if (CWnd* w = GetDlgItem(IDC_IMPORT_FOLDER_FRAME))
      w->SetWindowPos(NULL, 0, 0, frame.Width(), frame.Height(), SWP_NOMOVE | SWP_NOZORDER);
    m_bDetails = 1;
  }
  SetDlgItemText(IDC_IMPORT_DETAILS, DetailsCaption(std::string(caption), m_bDetails != 0).c_str());
  Invalidate();
}

void CCardImportDlg::EnableImportControls(int enable, int withDriveAndClose) {
  const bool dated = IsDlgButtonChecked(IDC_IMPORT_MONTHLY) || IsDlgButtonChecked(IDC_IMPORT_DAILY);
  const int backupMode = IsDlgButtonChecked(IDC_IMPORT_NAMED) ? 4 : m_nBackupMode;
  for (int id : kEnabledControls) {
    const int on = ImportControlEnabling(id, enable != 0, withDriveAndClose != 0, backupMode, m_nCopyMode, dated);
    if (on < 0) continue;
    // Start needs a destination as well.
    const bool want = on && (id != IDOK || !m_strWorking.empty());
    if (CWnd* w = GetDlgItem(id)) w->EnableWindow(want);
  }
}

void CCardImportDlg::OnChangeDestination() {
  char text[254] = "";
  ::GetDlgItemTextA(GetSafeHwnd(), IDC_IMPORT_DESTINATION, text, sizeof text);
  m_strWorking = text;
  if (CWnd* start = GetDlgItem(IDOK)) start->EnableWindow(!m_strWorking.empty() && !m_bRunning);
}

void CCardImportDlg::OnBrowseDestination() {
  char folder[MAX_PATH] = "";
  const std::string title = ResourceString(IDS_IMPORT_BROWSE_TITLE);
  CMTLXBROWSEINFO info = {GetSafeHwnd(), m_strWorking.c_str(), folder, title.c_str(), CMTLX_BIF_NEWFOLDER};
  if (CMTLxBrowseForFolder(&info) != 1) return;
  m_strWorking = folder;
  SetDlgItemText(IDC_IMPORT_DESTINATION, folder);
}

void CCardImportDlg::ApplyFolderBoxes(int clicked, bool checked) {
  UpdateData(TRUE);
  const FolderBoxState s = ClickFolderBox(static_cast<FolderBox>(clicked), checked, m_nFileNameMode);
  m_nBackupMode = s.backupMode;
  m_nFileNameMode = s.fileNameMode;
  m_bMonthly = m_nBackupMode == 1;
  m_bDaily = m_nBackupMode == 2;
  m_bToday = m_nBackupMode == 3;
  m_bNamed = m_nBackupMode == 4;
  UpdateData(FALSE);
  GetDlgItem(IDC_IMPORT_NAME_BY_TIME)->EnableWindow(s.namingEnabled);
  GetDlgItem(IDC_IMPORT_FOLDER_NAME)->EnableWindow(s.folderNameEnabled);
}

void CCardImportDlg::OnMonthlyFolders() { ApplyFolderBoxes(kMonthlyBox, IsDlgButtonChecked(IDC_IMPORT_MONTHLY) != 0); }
void CCardImportDlg::OnDailyFolders() { ApplyFolderBoxes(kDailyBox, IsDlgButtonChecked(IDC_IMPORT_DAILY) != 0); }

int CCardImportDlg::IsCardDriveReady(const std::string& root) {
  if (GetFileAttributesA(root.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_NOT_READY) return 0;
  return GetDriveTypeA(root.c_str()) != DRIVE_NO_ROOT_DIR;
}

void CCardImportDlg::OnTimer(UINT_PTR nIDEvent) {
  switch (nIDEvent) {
    case kListingTimer: {
      const int percent = ListingPercent(m_nShown, m_nListed);
      if (percent >= 0) SetDlgItemText(IDC_IMPORT_STATUS, ResourceFormat(IDS_IMPORT_LIST_PERCENT, percent).c_str());
      m_bStatusCleared = 0;
      break;
    }
    case kClearTimer:
      SetDlgItemText(IDC_IMPORT_STATUS, "");
      RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      m_bStatusCleared = 1;
      break;
    case kCardTimer:
      // During a run a card taken out is the copy's failure; the dialog closes after it.
      if (!m_bRunning && !m_strCardRoot.empty() && !IsCardDriveReady(m_strCardRoot)) PostMessage(WM_COMMAND, IDCANCEL);
      break;
  }
}

void CCardImportDlg::OnCancel() {
  if (m_bRunning) return;
  if (!ListingDone()) {
    // The scan ends its thumbnails at once; Close comes back once the listing is over.
    m_nStop = 1;
    PostMessage(WM_COMMAND, IDCANCEL);
    return;
  }
  StopScan();
  m_strDestination.Empty();
  EndDialog(IDCANCEL);
}

void CCardImportDlg::OnCardDriveChange() {
  const int position = m_driveList.GetCurSel();
  if (position < 0 || position >= static_cast<int>(m_drives.size())) return;
  const std::string root = DriveRoot(m_drives[position]);
  if (lstrcmpiA(root.c_str(), m_strCardRoot.c_str()) != 0 && CMGetProfileInt(kSection, "DriveChangeMsg", 0) == 0) {
    CDriveChangeDlg ask(this);
    ask.m_strMessage = ResourceString(IDS_IMPORT_DRIVE_CHANGE).c_str();
    if (ask.DoModal() != IDC_DRIVE_CHANGE_YES) {
      m_driveList.SetCurSel(m_nDrivePosition);
      return;
    }
    CMWriteProfileInt(kSection, "DriveChangeMsg", ask.m_nNoMore);
  }
  if (position == m_nDrivePosition) return;
  if (!ListingDone()) {
    m_driveList.SetCurSel(m_nDrivePosition);
    return;
  }
  StopScan();
  StartScan();
}

void CCardImportDlg::Say(UINT id, UINT icon) { SayText(this, ResourceString(id), icon); }

// ---- the exports' backup and listing ---------------------------------------------------

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
    Say(IDS_DISKTREE_NAME_TOO_LONG, MB_ICONWARNING);
    return -1;
  }
  if (dest.size() < 3 || dest[1] != ':' || GetDriveTypeA(dest.substr(0, 3).c_str()) != DRIVE_FIXED) {
    Say(IDS_IMPORT_NOT_FIXED_DISK, MB_ICONWARNING);
    return -1;
  }
  if (MakeFolderPath(dest) != 0) return -1;
  if (CMTLGetDiskSpaceEx(dest.c_str()) == 0) {
    Say(IDS_BROWSER_DISK_FULL, MB_ICONWARNING);
    return -1;
  }
  std::vector<char> cards = BackupDrives(drives);
  if (cards.empty()) {
    Say(IDS_IMPORT_NO_CARD, MB_ICONWARNING);
    return 0;
  }

  // The cards are read under a notice; the copy shows its own dialog.
  ImportSettings s = BackupSettings();
  CopyPlan plan;
  std::string driveNames;
  {
    CWaitCursor wait;
    CCardNoticeDlg notice(m_pParent, ResourceString(IDS_BACKUP_SCANNING).c_str(), CMTLGetAppName());
    notice.SetStyle(0x4F);
    const bool shown = notice.Create(m_pParent) != FALSE;
    if (shown) {
      notice.ShowWindow(SW_SHOW);
      notice.UpdateWindow();
    }
    for (char d : cards) {
      PlanCardCopy(DriveRoot(d), dest, s, &plan, true);
      driveNames += std::string(1, d) + ":";
    }
    if (shown) notice.DestroyWindow();
  }

  CCardBackupProgressDlg progress(m_pParent, &plan, driveNames.c_str());
  if (!plan.sources.empty()) progress.DoModal();
  const CopyOutcome& out = progress.Outcome();
  // What was copied is registered whatever stopped the run; so is an identical file a
  // killed run left unregistered.
  {
    CWaitCursor wait;
    RegisterOptions options = ReadRegisterOptions(cards.size() == 1 ? DriveRoot(cards[0]) : std::string(), "");
    options.copySupport |= 0x100 | 0x1;
    for (const std::string& p : progress.PlayList()) options.autoPlay.insert(p);
    RegisterCopyRun(out, plan, options);
  }

  if (!out.error && !plan.failedSources.empty()) {
    SayText(m_pParent, ResourceFormat(IDS_IMPORT_NO_FREE_NUMBER, plan.failedSources[0]), MB_ICONWARNING);
  }
  if (copied)
    for (const std::string& t : out.copiedTargets) copied->AddTail(t.c_str());
  SayText(m_pParent, ResourceString(IDS_IMPORT_DONE) + "\n\n" + ResourceFormat(IDS_IMPORT_COUNT, out.copiedTargets.size()),
          MB_ICONINFORMATION);
  if (out.error && !out.stopped && out.copiedTargets.empty()) return -1;
  return static_cast<int>(out.copiedTargets.size());
}
