#include "EntryEditDlg.h"

#include <FaceRecords.h>
#include <ICGBrowser.h>
#include <MainWndMessages.h>
#include <OwnMessages.h>
#include <VxResourceIds.h>
#include <shlwapi.h>

#include <algorithm>
#include <string>

#include "ui/ChoiceDialogs.h"
#include "EntryEditRules.h"
#include "FaceRegisterDlg.h"

BEGIN_MESSAGE_MAP(CEntryEditDlg, CResourceDialog)
  ON_WM_CLOSE()
  ON_WM_DESTROY()
  ON_CBN_SELCHANGE(IDC_ENTRY_NAMES, &CEntryEditDlg::OnNameChange)
  ON_CBN_EDITUPDATE(IDC_ENTRY_NAMES, &CEntryEditDlg::OnNameEdit)
  ON_BN_CLICKED(IDC_ENTRY_ADD_FACE, &CEntryEditDlg::OnAddFace)
  ON_BN_CLICKED(IDC_ENTRY_DELETE_FACE, &CEntryEditDlg::OnDeleteFace)
  ON_BN_CLICKED(IDC_ENTRY_ADD_NAME, &CEntryEditDlg::OnAddName)
  ON_BN_CLICKED(IDC_ENTRY_DELETE_NAME, &CEntryEditDlg::OnDeleteName)
  ON_CBN_DROPDOWN(IDC_ENTRY_MONTH, &CEntryEditDlg::OnMonthDropDown)
  ON_CBN_DROPDOWN(IDC_ENTRY_DAY, &CEntryEditDlg::OnDayDropDown)
  ON_CBN_SELCHANGE(IDC_ENTRY_MONTH, &CEntryEditDlg::OnMonthChange)
  ON_BN_CLICKED(IDC_ENTRY_BIRTHDAY, &CEntryEditDlg::OnBirthday)
  ON_EN_CHANGE(IDC_ENTRY_YEAR, &CEntryEditDlg::OnYearChange)
  ON_MESSAGE(WM_ENTRY_RESTORE_NAME, &CEntryEditDlg::OnRestoreName)
  ON_MESSAGE(WM_FACE_REGISTER_CLOSED, &CEntryEditDlg::OnRegisterClosed)
  ON_MESSAGE(WM_FACE_REGISTER_FACE, &CEntryEditDlg::OnFacePicked)
END_MESSAGE_MAP()

namespace {

const int kUnknownPerson = 9999;  // what the person-id query leaves when nobody has the name

std::string TextOf(CWnd* p) {
  CString s;
  if (p) p->GetWindowText(s);
  return (LPCSTR)s;
}

bool SamePath(const CString& a, const CString& b) { return a.CompareNoCase(b) == 0; }

}  // namespace

CEntryEditDlg::CEntryEditDlg(CWnd* pParent)
    : CResourceDialog(IDD_ENTRY_EDIT, pParent),
      m_pOwner(NULL),
      m_bShown(0),
      m_pDb(NULL),
      m_pFaceId(NULL),
      m_pImage(NULL),
      m_pRegisterDlg(NULL),
      m_bOpenWithPicture(0),
      m_bBirthday(FALSE),
      m_bModified(0),
      m_bSaved(0),
      m_dwYearWarned(0) {}

CEntryEditDlg::~CEntryEditDlg() {
  Close();
  if (m_hWnd) DestroyWindow();
}

int CEntryEditDlg::Open(CWnd* pOwner) {
  if (m_bShown) return 1;
  m_bShown = 1;
  m_pOwner = pOwner;
  m_strCurrentPath.Empty();
  CGFileInfoList files(10);
  if (ICGBrowser* pBrowser = GetCGBrowser()) pBrowser->GetFileData(&files, (long)0x80000001L);
  if (files.GetCount() > 1 && AfxMessageBox(IDS_TB_FIRST_SELECTED_ONLY, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
    m_bShown = 0;
    return 0;
  }
  if (!CDialog::Create(IDD_ENTRY_EDIT, pOwner)) {
    m_bShown = 0;
    return 0;
  }
  m_pFaceId = new CFaceIdentifier;
  if (m_strFaceDbPath.IsEmpty())
    m_pFaceId->LoadDb();
  else
    m_pFaceId->LoadDb((LPCSTR)m_strFaceDbPath);
  m_pImage = new CCMDIB;
  CRect rc;
  GetWindowRect(&rc);
  MoveWindow(0, 0, rc.Width(), rc.Height());
  ShowWindow(SW_SHOW);
  if (!files.IsEmpty()) {
    m_strCurrentPath = files.GetHead().path;
    m_bOpenWithPicture = 1;
    OnAddFace();
  }
  return 1;
}

BOOL CEntryEditDlg::OnInitDialog() {
  CResourceDialog::OnInitDialog();
  m_pDb = GetDBFileObject();
  if (!m_pDb) return FALSE;
  CStringList names;
  int count = 0;
  m_pDb->GetNames(&names, &count, 0);
  for (POSITION pos = names.GetHeadPosition(); pos;) {
    const CString& name = names.GetNext(pos);
    if (!name.IsEmpty()) Names()->AddString(name);
  }
  Names()->InsertString(0, LoadResourceText(IDS_ENTRY_FIRST_NAME));
  Names()->SetCurSel(0);
  // The first entry is a hint, shown in grey over an empty name: as the name's text it
  // would end up around what the user types.
  Names()->SetWindowText("");
  m_nameCue.Attach(Names()->m_hWnd, LoadResourceText(IDS_ENTRY_FIRST_NAME));
  m_bModified = 0;
  CheckDlgButton(IDC_ENTRY_BIRTHDAY, BST_UNCHECKED);
  EnableDate(FALSE, FALSE);
  m_images.Create(entryedit::kThumbSize, entryedit::kThumbSize, ILC_COLOR24, 0, 100);
  Faces()->SetImageList(&m_images, LVSIL_NORMAL);
  m_index.clear();
  return TRUE;
}

std::vector<CString> CEntryEditDlg::GetShownFaces() const {
  std::vector<CString> paths;
  for (const auto& entry : m_index) paths.push_back(entry.second);
  return paths;
}

CString CEntryEditDlg::NameText() {
  CString s;
  Names()->GetWindowText(s);
  return s;
}

void CEntryEditDlg::ClearFaces() {
  Faces()->DeleteAllItems();
  while (m_images.GetImageCount() > 0) m_images.Remove(0);
  m_index.clear();
}

void CEntryEditDlg::EnableDate(BOOL bYear, BOOL bMonthDay) {
  GetDlgItem(IDC_ENTRY_YEAR)->EnableWindow(bYear);
  Months()->EnableWindow(bMonthDay);
  Days()->EnableWindow(bMonthDay);
}

void CEntryEditDlg::ClearBirthday() {
  SetDlgItemText(IDC_ENTRY_YEAR, "");
  Months()->ResetContent();
  Days()->ResetContent();
  CheckDlgButton(IDC_ENTRY_BIRTHDAY, BST_UNCHECKED);
  m_bBirthday = FALSE;
  EnableDate(FALSE, FALSE);
}

// ---- Choosing a person and typing a name ------------------------------------------------

void CEntryEditDlg::OnNameChange() {
  if (m_bModified && AfxMessageBox(IDS_ENTRY_DISCARD_ASK, MB_YESNO | MB_ICONQUESTION) != IDYES) {
    const int at = Names()->FindStringExact(-1, m_strRemembered);
    if (at != CB_ERR) {
      Names()->SetCurSel(at);
    } else {
      PostMessage(WM_ENTRY_RESTORE_NAME);
      Names()->SetWindowText(m_strRemembered);
    }
    return;
  }
  m_bModified = 0;
  ClearFaces();
  const int sel = Names()->GetCurSel();
  CString name;
  if (sel != CB_ERR) Names()->GetLBText(sel, name);
  name = entryedit::NameOfEntry((LPCSTR)name, (LPCSTR)m_nameCue.GetCue()).c_str();
  m_strRemembered = name;
  // The hint's entry chosen: the combo puts its text in the edit after this notice.
  if (name.IsEmpty()) PostMessage(WM_ENTRY_RESTORE_NAME);
  CStringList paths;
  int id = -1;
  const int stored = m_pDb ? m_pDb->GetFiles(name, 0, &paths, &id) : 0;
  if (stored <= 0) {
    ClearBirthday();
    return;
  }
  int year = 0, month = 0, day = 0;
  if (FAILED(m_pDb->GetBirthday(name, &year, &month, &day)) || year <= 0) {
    ClearBirthday();
  } else {
    CheckDlgButton(IDC_ENTRY_BIRTHDAY, BST_CHECKED);
    m_bBirthday = TRUE;
    EnableDate(TRUE, TRUE);
    SetDlgItemInt(IDC_ENTRY_YEAR, year, FALSE);
    FillMonths();
    Months()->SetCurSel(month - 1);
    FillDays(TRUE);
    Days()->SetCurSel(day - 1);
  }
  for (POSITION pos = paths.GetHeadPosition(); pos;) {
    const CString& path = paths.GetNext(pos);
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) continue;
    FaceEntry face = {path, {}, {}, {}};
    m_pDb->GetFaceRect(path, name, &face.rc);
    m_records.push_back(face);
    AddFaceItem(face);
  }
}

LRESULT CEntryEditDlg::OnRestoreName(WPARAM, LPARAM) {
  Names()->SetWindowText(m_strRemembered);
  return 0;
}

void CEntryEditDlg::OnNameEdit() {
  const std::string text = TextOf(Names());
  const std::string cut = entryedit::CutName(text);
  if (cut.size() == text.size()) return;
  const DWORD sel = Names()->GetEditSel();
  Names()->SetWindowText(cut.c_str());
  Names()->SetEditSel(LOWORD(sel), LOWORD(sel));
}

// ---- Faces ----------------------------------------------------------------------------

void CEntryEditDlg::OnAddFace() {
  if (Faces()->GetItemCount() > entryedit::kMaxFaces - 1) {
    AfxMessageBox(IDS_ENTRY_TOO_MANY, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (m_pRegisterDlg) return;
  m_pRegisterDlg = new CFaceRegisterDlg(this);
  m_pRegisterDlg->Open(this, m_pFaceId, m_bOpenWithPicture ? (LPCSTR)m_strCurrentPath : "");
  m_bOpenWithPicture = 0;
}

LRESULT CEntryEditDlg::OnRegisterClosed(WPARAM, LPARAM) {
  delete m_pRegisterDlg;
  m_pRegisterDlg = NULL;
  return 0;
}

int CEntryEditDlg::MakeThumbnail(const CString& path, const RECT& rc) {
  CCMDIB picture, part, thumb;
  if (picture.ResizeAndRotate(path, SIZE{640, 480}, CMDIB_RESIZE_CANVAS) != 0) return -1;
  if (picture.TrimFilter(entryedit::ThumbnailSource(rc), &part) != 0 ||
      part.ResizeFilter(SIZE{entryedit::kThumbSize, entryedit::kThumbSize}, &thumb, CMDIB_RESIZE_SMOOTH) != 0)
    return -1;
  CClientDC dc(this);
  HBITMAP bitmap = thumb.CreateBitmap(dc.GetSafeHdc());
  if (!bitmap) return -1;
  const int index = ImageList_Add(m_images.GetSafeHandle(), bitmap, NULL);
  DeleteObject(bitmap);
  return index;
}

void CEntryEditDlg::AddFaceItem(const FaceEntry& face) {
  const int image = MakeThumbnail(face.path, face.rc);
  if (image < 0) return;
  const int item = Faces()->GetItemCount();
  Faces()->InsertItem(item, PathFindFileNameA(face.path), image);
  m_index[item] = face.path;
}

const CEntryEditDlg::FaceEntry* CEntryEditDlg::FindFace(const CString& path) const {
  for (const FaceEntry& f : m_records)
    if (SamePath(f.path, path)) return &f;
  return NULL;
}

LRESULT CEntryEditDlg::OnFacePicked(WPARAM wParam, LPARAM lParam) {
  if (ownmsg::IsForeign(WM_FACE_REGISTER_FACE, wParam, lParam)) return 0;
  const FACEPICK* pick = reinterpret_cast<const FACEPICK*>(wParam);
  if (!pick) return 0;
  for (const auto& entry : m_index)
    if (entry.second == pick->strPath) return 0;
  FaceEntry face = {pick->strPath, pick->rcFace, pick->pt1, pick->pt2};
  // A picture picked again with another face: the latest pick counts.
  m_records.erase(
      std::remove_if(m_records.begin(), m_records.end(), [&](const FaceEntry& f) { return f.path == face.path; }),
      m_records.end());
  m_records.push_back(face);
  AddFaceItem(face);
  m_bModified = 1;
  return 0;
}

void CEntryEditDlg::OnDeleteFace() {
  if (Faces()->GetSelectedCount() == 0) return;
  if (AfxMessageBox(IDS_ENTRY_DELETE_FACE_ASK, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
  const CString name = NameText();
  bool notSaved = false;
  for (int item = Faces()->GetItemCount() - 1; item >= 0; --item) {
    if (!(Faces()->GetItemState(item, LVIS_SELECTED) & LVIS_SELECTED)) continue;
    Faces()->DeleteItem(item);
    const CString path = m_index[item];
    int faceId = -1;
    if (m_pDb) m_pDb->DeleteFace(name, path, 0, &faceId);
    if (faceId != -1 && m_pFaceId && m_pFaceId->DeleteRecord(faceId) == FACEDB_E_NOT_SAVED) notSaved = true;
    // Items after it move up one place.
    std::map<int, CString> renumbered;
    for (const auto& entry : m_index)
      if (entry.first != item) renumbered[entry.first > item ? entry.first - 1 : entry.first] = entry.second;
    m_index.swap(renumbered);
  }
  if (Faces()->GetItemCount() == 0) {
    ClearBirthday();
    int id = kUnknownPerson;
    if (m_pDb) {
      m_pDb->GetPersonId(name, &id);
      m_pDb->DeletePerson(name);
    }
    if (id != kUnknownPerson && m_pFaceId && m_pFaceId->DeleteUserRecord(id) == FACEDB_E_NOT_SAVED) notSaved = true;
  }
  Faces()->Arrange(LVA_DEFAULT);
  m_bModified = 1;
  if (m_pDb) m_pDb->Commit();
  if (notSaved) ShowFaceDbNotSaved();
}

void CEntryEditDlg::ShowFaceDbNotSaved() {
  CString text;
  text.Format(IDS_FACE_DB_NOT_SAVED, m_pFaceId ? m_pFaceId->DbPath().c_str() : "");
  AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

// ---- Names ----------------------------------------------------------------------------

void CEntryEditDlg::OnAddName() {
  std::vector<std::string> names;
  for (int i = 0; i < Names()->GetCount(); ++i) {
    CString s;
    Names()->GetLBText(i, s);
    names.push_back((LPCSTR)s);
  }
  const CString name = NameText();
  if (UINT refusal = entryedit::CheckAddName((LPCSTR)name, names)) {
    AfxMessageBox(refusal, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  Names()->SetCurSel(Names()->AddString(name));
  m_strRemembered = name;
  ClearFaces();
}

void CEntryEditDlg::OnDeleteName() {
  const CString name = NameText();
  if (UINT refusal = entryedit::CheckDeleteName((LPCSTR)name, (LPCSTR)LoadResourceText(IDS_ENTRY_FIRST_NAME))) {
    AfxMessageBox(refusal, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (AfxMessageBox(IDS_ENTRY_DELETE_NAME_ASK, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
  const int at = Names()->FindStringExact(-1, name);
  int id = kUnknownPerson;
  if (m_pDb) {
    m_pDb->GetPersonId(name, &id);
    if (m_pDb->DeletePerson(name) != 0) return;
  }
  if (at != CB_ERR) Names()->DeleteString(at);
  ClearFaces();
  if (m_pDb) m_pDb->Commit();
  Names()->SetCurSel(0);
  ClearBirthday();
  if (id != kUnknownPerson && m_pFaceId && m_pFaceId->DeleteUserRecord(id) == FACEDB_E_NOT_SAVED) ShowFaceDbNotSaved();
}

// ---- Birthday -------------------------------------------------------------------------

void CEntryEditDlg::FillMonths() {
  CString previous;
  Months()->GetWindowText(previous);
  Months()->ResetContent();
  if (!entryedit::YearOf(TextOf(GetDlgItem(IDC_ENTRY_YEAR)))) return;
  for (int m = 1; m <= 12; ++m) Months()->AddString(std::to_string(m).c_str());
  Months()->SelectString(-1, previous);
}

void CEntryEditDlg::FillDays(BOOL bFirstWhenGone) {
  CString previous;
  Days()->GetWindowText(previous);
  Days()->ResetContent();
  const int year = entryedit::YearOf(TextOf(GetDlgItem(IDC_ENTRY_YEAR)));
  const int month = Months()->GetCurSel() + 1;
  const int days = year && month >= 1 ? entryedit::DaysInMonth(year, month) : 31;
  for (int d = 1; d <= days; ++d) Days()->AddString(std::to_string(d).c_str());
  if (Days()->FindStringExact(-1, previous) != CB_ERR)
    Days()->SetCurSel(Days()->FindStringExact(-1, previous));
  else if (bFirstWhenGone && !previous.IsEmpty())
    Days()->SetCurSel(0);
}

void CEntryEditDlg::OnMonthDropDown() { FillMonths(); }
void CEntryEditDlg::OnDayDropDown() { FillDays(FALSE); }
void CEntryEditDlg::OnMonthChange() { FillDays(TRUE); }

void CEntryEditDlg::OnBirthday() {
  m_bBirthday = IsDlgButtonChecked(IDC_ENTRY_BIRTHDAY) == BST_CHECKED;
  EnableDate(m_bBirthday, m_bBirthday && entryedit::YearOf(TextOf(GetDlgItem(IDC_ENTRY_YEAR))) != 0);
}

void CEntryEditDlg::OnYearChange() {
  CEdit* year = static_cast<CEdit*>(GetDlgItem(IDC_ENTRY_YEAR));
  bool bad = false;
  const std::string text = TextOf(year);
  const std::string digits = entryedit::DigitsOnly(text, &bad);
  if (bad) {
    // Warned at most once a second: a held key would pile up boxes.
    const DWORD now = GetTickCount();
    const bool warn = m_dwYearWarned == 0 || now - m_dwYearWarned >= 1000;
    year->SetWindowText(digits.c_str());
    if (warn) {
      m_dwYearWarned = now;
      AfxMessageBox(IDS_ENTRY_YEAR_DIGITS, MB_OK | MB_ICONEXCLAMATION);
    }
    return;
  }
  year->SetSel((int)text.size(), (int)text.size());
  const BOOL valid = entryedit::YearOf(text) != 0;
  Months()->EnableWindow(valid);
  Days()->EnableWindow(valid);
}

// ---- OK and close ---------------------------------------------------------------------

HRESULT CEntryEditDlg::RegisterFace(const CString& path, const CString& name, int personId, int) {
  if (path.IsEmpty()) return E_INVALIDARG;
  if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
    AfxMessageBox(IDS_FACE_PICTURE_MISSING, MB_OK | MB_ICONEXCLAMATION);
    return E_FAIL;
  }
  if (!m_pFaceId || !m_pImage || m_pImage->ResizeAndRotate(path, SIZE{640, 480}, CMDIB_RESIZE_CANVAS) != 0)
    return E_FAIL;
  if (m_pFaceId->SetImage(&m_pImage->GetBitmapInfoAddress()->bmiHeader, m_pImage->GetBitsAddress()) != S_OK)
    return E_FAIL;
  WORD count = 0;
  m_pFaceId->GetNumberOfFace(&count);
  const FaceEntry* face = FindFace(path);
  if (FAILED(m_pFaceId->SetCurrentFace(0))) return E_FAIL;
  if (count >= 2 && face && FAILED(m_pFaceId->SelectFaceByRect(face->rc))) return E_FAIL;
  const int faceId = m_pFaceId->StoreRecord(-1, personId);
  // Never "registered" for a face the file does not hold.
  if (faceId == kFaceRecordNotSaved) ShowFaceDbNotSaved();
  if (faceId <= 0) return E_FAIL;
  VXDBRECORD r = {};
  faces::CopyText(r.szName, sizeof r.szName, entryedit::CutName((LPCSTR)name));
  faces::CopyText(r.szPath, sizeof r.szPath, (LPCSTR)path);
  if (face) {
    r.rcFace = face->rc;
    r.ptFace1 = face->pt1;
    r.ptFace2 = face->pt2;
  }
  r.nFaceCount = count;
  r.nFlag = 1;
  r.nFaceId = faceId;
  if (m_bBirthday) {
    r.nBirthdayFlag = 1;
    r.nBirthYear = (short)entryedit::YearOf(TextOf(GetDlgItem(IDC_ENTRY_YEAR)));
    r.nBirthMonth = (short)(Months()->GetCurSel() + 1);
    r.nBirthDay = (short)(Days()->GetCurSel() + 1);
  }
  int added = 0;
  if (FAILED(m_pDb->AddRecord(r, VXDB_KIND_REGISTER, &added))) return E_FAIL;
  m_pDb->Commit();
  m_bSaved = 1;
  return S_OK;
}

void CEntryEditDlg::OnOK() {
  const std::vector<CString> shownPaths = GetShownFaces();
  if (!shownPaths.empty() && m_pDb) {
    const CString name = NameText();
    entryedit::SaveCheck check;
    check.birthday = m_bBirthday != FALSE;
    check.year = TextOf(GetDlgItem(IDC_ENTRY_YEAR));
    check.month = TextOf(Months());
    check.day = TextOf(Days());
    check.name = (LPCSTR)name;
    check.firstEntry = (LPCSTR)LoadResourceText(IDS_ENTRY_FIRST_NAME);
    check.nameListed = Names()->FindStringExact(-1, name) != CB_ERR;
    check.listedNames = Names()->GetCount();
    CStringList stored;
    int personId = -1;
    m_pDb->GetFiles(name, 0, &stored, &personId);
    for (POSITION pos = stored.GetHeadPosition(); pos;) check.stored.push_back((LPCSTR)stored.GetNext(pos));
    for (const CString& p : shownPaths) check.shown.push_back((LPCSTR)p);
    const entryedit::SaveDecision d = entryedit::CheckSave(check);
    if (d.message) {
      AfxMessageBox(d.message, MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    if (personId == -1) m_pDb->GetNewPersonId(&personId);
    CNoticeDlg* info = NULL;
    if (d.newCount >= 2) {
      info = new CNoticeDlg(this);
      info->SetText(LoadResourceText(IDS_PROGRAM_STARTING));
      if (info->Create(this)) {
        info->CenterWindow();
        info->ShowWindow(SW_SHOW);
        info->UpdateWindow();
      }
    }
    HRESULT hr = S_OK;
    for (size_t i = 0; i < shownPaths.size() && SUCCEEDED(hr); ++i) {
      if (!d.isNew[i]) {
        VXDBRECORD r = {};
        if (SUCCEEDED(m_pDb->ReadRecord(name, shownPaths[i], &r))) {
          if (m_bBirthday) {
            r.nBirthdayFlag = 1;
            r.nBirthYear = (short)entryedit::YearOf(check.year);
            r.nBirthMonth = (short)(Months()->GetCurSel() + 1);
            r.nBirthDay = (short)(Days()->GetCurSel() + 1);
          }
          m_pDb->UpdateRecord(r, 0);
          m_pDb->Commit();
          m_bSaved = 1;
        }
        continue;
      }
      hr = RegisterFace(shownPaths[i], name, personId, 0);
    }
    if (info) {
      if (info->m_hWnd) info->DestroyWindow();
      delete info;
    }
    if (FAILED(hr)) return;
  }
  if (m_bSaved) AfxMessageBox(IDS_ENTRY_SAVED, MB_OK | MB_ICONINFORMATION);
  Close();
}

void CEntryEditDlg::OnCancel() { Close(); }
void CEntryEditDlg::OnClose() { Close(); }

void CEntryEditDlg::OnDestroy() {
  Close(FALSE);
  CResourceDialog::OnDestroy();
}

void CEntryEditDlg::Close(BOOL bDestroy) {
  if (!m_bShown) return;
  m_bShown = 0;
  if (CWnd* pMain = AfxGetMainWnd()) pMain->SendMessage(WM_COMMAND, ID_EDIT_UNSELECT_ALL);
  delete m_pRegisterDlg;
  m_pRegisterDlg = NULL;
  faces::LetGo(&m_pFaceId, &m_pImage, &m_pDb);
  if (bDestroy && m_hWnd) DestroyWindow();
  if (m_pOwner && m_pOwner->GetSafeHwnd()) m_pOwner->PostMessage(WM_TOOLBAR_CLOSE_EDITOR);
}
