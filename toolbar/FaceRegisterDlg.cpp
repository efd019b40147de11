#include "FaceRegisterDlg.h"

#include <Kitlib2/OwnMessage.h>
#include <MainWndMessages.h>
#include <VxResourceIds.h>

#include <algorithm>

#include "EntryEditRules.h"

BEGIN_MESSAGE_MAP(CFaceRegisterDlg, CResourceDialog)
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

namespace {

const COLORREF kSelected = RGB(255, 0, 0), kOther = RGB(255, 193, 59);

void Cross(CDC* dc, POINT p) {
  dc->MoveTo(p.x - 3, p.y + 3);
  dc->LineTo(p.x + 3, p.y - 3);
  dc->MoveTo(p.x - 3, p.y - 3);
  dc->LineTo(p.x + 3, p.y + 3);
}

}  // namespace

CFaceRegisterDlg::CFaceRegisterDlg(CWnd* pOwner)
    : CResourceDialog(IDD_FACE_REGISTER, pOwner),
      m_nDropRefs(0),
      m_dropTarget(&m_nDropRefs, this),
      m_bHasPicture(0),
      m_bShowPicture(0),
      m_bOpen(0),
      m_pOwner(pOwner),
      m_nSelected(0),
      m_pImage(NULL),
      m_pFaces(NULL) {}

CFaceRegisterDlg::~CFaceRegisterDlg() {
  if (m_hWnd) DestroyWindow();
  delete m_pImage;
}

int CFaceRegisterDlg::Open(CWnd* pOwner, CFaceIdentifier* pFaces, LPCSTR lpszPath) {
  if (m_bOpen) return 1;
  if (!pFaces) return 0;
  m_bOpen = 1;
  m_pOwner = pOwner;
  m_pFaces = pFaces;
  m_strInitialPath = lpszPath ? lpszPath : "";
  if (!CDialog::Create(IDD_FACE_REGISTER, pOwner)) {
    m_bOpen = 0;
    return 0;
  }
  CenterWindow();
  ShowWindow(SW_SHOW);
  delete m_pImage;
  m_pImage = new CCMDIB;
  if (!m_strInitialPath.IsEmpty() && SUCCEEDED(AcceptFile(m_strInitialPath))) m_bShowPicture = 1;
  Invalidate();
  return 1;
}

BOOL CFaceRegisterDlg::OnInitDialog() {
  CResourceDialog::OnInitDialog();
  ::RegisterDragDrop(m_hWnd, &m_dropTarget);
  if (CWnd* p = GetDlgItem(IDC_FACE_REG_PICTURE))
    p->MoveWindow(entryedit::kPictureLeft, entryedit::kPictureTop, entryedit::kPictureWidth, entryedit::kPictureHeight);
  SetDlgItemText(IDC_FACE_REG_TEXT1, LoadResourceText(IDS_FACE_REG_TEXT1));
  SetDlgItemText(IDC_FACE_REG_TEXT2, LoadResourceText(IDS_FACE_REG_TEXT2));
  SetDlgItemText(IDC_FACE_REG_NOTE, LoadResourceText(IDS_FACE_REG_NOTE));
  return TRUE;
}

void CFaceRegisterDlg::Refused(UINT nMessage) {
  AfxMessageBox(nMessage, MB_OK | MB_ICONEXCLAMATION);
  m_bShowPicture = 0;
  Invalidate();
}

HRESULT CFaceRegisterDlg::AcceptFile(LPCSTR lpszPath) {
  if (!lpszPath || !*lpszPath) return E_INVALIDARG;
  m_nSelected = 0;
  if (!entryedit::AcceptsPicture(lpszPath, CCMDIB::IsSupported(lpszPath))) {
    Refused(IDS_SHELL_EDITOR_UNSUPPORTED_FILE);
    return E_FAIL;
  }
  if (FAILED(LoadPicture(lpszPath))) {
    m_bHasPicture = 0;
    return E_FAIL;
  }
  m_bHasPicture = 1;
  return S_OK;
}

HRESULT CFaceRegisterDlg::LoadPicture(LPCSTR lpszPath) {
  m_strLoadedPath = lpszPath;
  if (GetFileAttributesA(lpszPath) == INVALID_FILE_ATTRIBUTES) {
    AfxMessageBox(IDS_FACE_PICTURE_MISSING, MB_OK | MB_ICONEXCLAMATION);
    return E_FAIL;
  }
  if (!m_pImage) m_pImage = new CCMDIB;
  if (long failed = m_pImage->ResizeAndRotate(lpszPath, SIZE{640, 480}, CMDIB_RESIZE_CANVAS))
    return failed < 0 ? failed : E_FAIL;
  m_faces.clear();
  HRESULT hr = m_pFaces->SetImage(&m_pImage->GetBitmapInfoAddress()->bmiHeader, m_pImage->GetBitsAddress());
  if (FAILED(hr)) {
    Refused(IDS_FACE_NOT_FOUND);
  } else {
    WORD count = 0;
    if (hr == S_OK && SUCCEEDED(m_pFaces->GetNumberOfFace(&count))) {
      // A crowd: the first ten faces can be picked.
      for (int i = 0; i < std::min<int>(count, kMaxFacesPerPicture); ++i) {
        Face f = {};
        if (SUCCEEDED(m_pFaces->SetCurrentFace(i))) m_pFaces->GetFaceInfo(&f.rcFace, &f.pt1, &f.pt2);
        m_faces.push_back(f);
      }
    }
    m_bShowPicture = 1;
  }
  Invalidate();
  return hr;
}

void CFaceRegisterDlg::OnPaint() {
  CPaintDC paint(this);
  CWnd* pPicture = GetDlgItem(IDC_FACE_REG_PICTURE);
  if (!pPicture) return;
  pPicture->UpdateWindow();
  CClientDC dc(pPicture);
  dc.FillSolidRect(0, 0, entryedit::kPictureWidth, entryedit::kPictureHeight, RGB(255, 255, 255));
  if (!m_bShowPicture || !m_pImage) return;
  CCMDIB half;
  if (m_pImage->ResizeFilter(SIZE{entryedit::kPictureWidth, entryedit::kPictureHeight}, &half, CMDIB_RESIZE_SMOOTH) ==
      0)
    half.Draw(dc.GetSafeHdc(), 0, 0);
  CGdiObject* oldBrush = dc.SelectStockObject(NULL_BRUSH);
  for (size_t i = 0; i < m_faces.size(); ++i) {
    const bool selected = (int)i == m_nSelected;
    const Face& f = m_faces[i];
    CRect r(f.rcFace.left / 2, f.rcFace.top / 2, f.rcFace.right / 2, f.rcFace.bottom / 2);
    CBrush frame(selected ? kSelected : kOther);
    dc.FrameRect(&r, &frame);
    if (selected) {
      r.DeflateRect(1, 1);
      dc.FrameRect(&r, &frame);
    }
    CPen pen(PS_SOLID, selected ? 2 : 1, selected ? kSelected : kOther);
    CPen* oldPen = dc.SelectObject(&pen);
    Cross(&dc, POINT{f.pt1.x / 2, f.pt1.y / 2});
    Cross(&dc, POINT{f.pt2.x / 2, f.pt2.y / 2});
    dc.SelectObject(oldPen);
  }
  dc.SelectObject(oldBrush);
}

void CFaceRegisterDlg::OnLButtonDown(UINT nFlags, CPoint point) {
  std::vector<RECT> rects;
  for (const Face& f : m_faces) rects.push_back(f.rcFace);
  const int hit = entryedit::FaceAt(rects, point);
  if (hit >= 0) m_nSelected = hit;
  Invalidate();
  CResourceDialog::OnLButtonDown(nFlags, point);
}

void CFaceRegisterDlg::OnOK() {
  if (!m_bHasPicture) {
    AfxMessageBox(IDS_FACE_NOT_FOUND, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  // No face found: the owner receives an empty rectangle.
  FACEPICK pick = {m_strLoadedPath, {}, {}, {}};
  if (m_nSelected >= 0 && m_nSelected < (int)m_faces.size()) {
    pick.rcFace = m_faces[m_nSelected].rcFace;
    pick.pt1 = m_faces[m_nSelected].pt1;
    pick.pt2 = m_faces[m_nSelected].pt2;
  }
  if (m_pOwner && m_pOwner->GetSafeHwnd())
    CMTLSendOwnMessage(m_pOwner->GetSafeHwnd(), WM_FACE_REGISTER_FACE, (WPARAM)&pick, 0);
  OnCancel();
}

void CFaceRegisterDlg::OnCancel() { Close(); }

void CFaceRegisterDlg::OnDestroy() {
  Close();
  CResourceDialog::OnDestroy();
}

void CFaceRegisterDlg::Close() {
  if (!m_bOpen) return;
  delete m_pImage;
  m_pImage = NULL;
  m_bOpen = 0;
  if (m_hWnd) ::RevokeDragDrop(m_hWnd);
  // The owner ends the window when it hears of the close.
  if (m_pOwner && m_pOwner->GetSafeHwnd()) m_pOwner->PostMessage(WM_FACE_REGISTER_CLOSED, 0, 0);
}

DWORD CFaceRegisterDlg::OnFileDrop(IDataObject* pData) {
  m_bHasPicture = 0;
  STGMEDIUM medium;
  for (CLIPFORMAT cf : m_dropTarget.Formats()) {
    if (!filedrop::GetGlobal(pData, cf, &medium)) {
      Refused(IDS_SHELL_EDITOR_UNSUPPORTED_FILE);
      continue;
    }
    m_faces.clear();
    if (cf == CF_HDROP) {
      const std::vector<std::string> files = filedrop::DroppedFiles(medium.hGlobal);
      if (!files.empty() && SUCCEEDED(AcceptFile(files[0].c_str()))) {
        m_bShowPicture = 1;
        Invalidate();
      }
    }
    // The private format's path is read by the target's helper and not used here.
    ::ReleaseStgMedium(&medium);
    return DROPEFFECT_COPY;
  }
  return DROPEFFECT_NONE;
}
