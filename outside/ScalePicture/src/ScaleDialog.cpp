#include "ScaleDialog.h"

#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>
#include <picturetool/ToolRun.h>

#include <commctrl.h>

BEGIN_MESSAGE_MAP(CScaleDialog, CResourceDialog)
  ON_WM_HSCROLL()
END_MESSAGE_MAP()

namespace {
bool SideOk(BOOL bRead, int n) { return bRead && n >= scalepicture::kMinSide && n <= scalepicture::kMaxSide; }
bool PercentOk(BOOL bRead, int n) { return bRead && n >= 1 && n <= 100; }
}  // namespace

CScaleDialog::CScaleDialog(const scalepicture::Settings& s)
    : CResourceDialog(IDD_SCALE_PICTURE, CWnd::FromHandle(picturetool::OwnerWindow())), m_settings(s) {}

BOOL CScaleDialog::OnInitDialog() {
  CResourceDialog::OnInitDialog();
  CheckRadioButton(IDC_SCALE_BY_SIDE, IDC_SCALE_BY_PERCENT,
                   m_settings.byPercent ? IDC_SCALE_BY_PERCENT : IDC_SCALE_BY_SIDE);
  SetDlgItemInt(IDC_SCALE_SIDE, m_settings.longSide, FALSE);
  SetDlgItemInt(IDC_SCALE_PERCENT, m_settings.percent, FALSE);
  HWND hQuality = GetDlgItem(IDC_SCALE_QUALITY)->GetSafeHwnd();
  ::SendMessageA(hQuality, TBM_SETRANGE, FALSE, MAKELPARAM(scalepicture::kMinQuality, 100));
  ::SendMessageA(hQuality, TBM_SETTICFREQ, 10, 0);
  ::SendMessageA(hQuality, TBM_SETPOS, TRUE, m_settings.quality);
  SetDlgItemInt(IDC_SCALE_QUALITY_TEXT, m_settings.quality, FALSE);
  // The quality matters only when a JPEG is among the files.
  BOOL bJpeg = CMGetProfileInt(scalepicture::kSection, "Slider", 1) != 0;
  for (int id : {IDC_SCALE_QUALITY, IDC_SCALE_QUALITY_TEXT, IDC_SCALE_QUALITY_LABEL})
    GetDlgItem(id)->EnableWindow(bJpeg);
  return TRUE;
}

void CScaleDialog::OnOK() {
  scalepicture::Settings s = m_settings;
  s.byPercent = IsDlgButtonChecked(IDC_SCALE_BY_PERCENT) == BST_CHECKED;
  BOOL bSide = FALSE, bPercent = FALSE;
  int nSide = (int)GetDlgItemInt(IDC_SCALE_SIDE, &bSide, FALSE);
  int nPercent = (int)GetDlgItemInt(IDC_SCALE_PERCENT, &bPercent, FALSE);
  if (!s.byPercent && !SideOk(bSide, nSide)) return Refuse(IDS_SCALE_SIDE_RANGE, IDC_SCALE_SIDE);
  if (s.byPercent && !PercentOk(bPercent, nPercent)) return Refuse(IDS_SCALE_PERCENT_RANGE, IDC_SCALE_PERCENT);
  // The field not chosen keeps its stored value unless it holds a sound one.
  if (SideOk(bSide, nSide)) s.longSide = nSide;
  if (PercentOk(bPercent, nPercent)) s.percent = nPercent;
  s.quality = Quality();
  m_settings = s;
  CResourceDialog::OnOK();
}

void CScaleDialog::OnHScroll(UINT, UINT, CScrollBar*) { SetDlgItemInt(IDC_SCALE_QUALITY_TEXT, Quality(), FALSE); }

int CScaleDialog::Quality() {
  return (int)::SendMessageA(GetDlgItem(IDC_SCALE_QUALITY)->GetSafeHwnd(), TBM_GETPOS, 0, 0);
}

void CScaleDialog::Refuse(UINT nTextId, int nField) {
  CString strText, strTitle;
  strText.LoadString(nTextId);
  strTitle.LoadString(IDS_TB_TOOL_SCALE);
  MessageBox(strText, strTitle, MB_ICONEXCLAMATION);
  GotoDlgCtrl(GetDlgItem(nField));
}
