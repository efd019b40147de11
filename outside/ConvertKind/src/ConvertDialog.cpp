#include "ConvertDialog.h"

#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>
#include <picturetool/ToolRun.h>

#include "ConvertRules.h"

namespace {
// The radio of each kind, in kind order from KIND_JPEG.
const int kKindRadios[] = {IDC_CONVERT_JPEG, IDC_CONVERT_BMP, IDC_CONVERT_PNG, IDC_CONVERT_TIFF};
}  // namespace

CConvertDialog::CConvertDialog(int nKind)
    : CResourceDialog(IDD_CONVERT_KIND, CWnd::FromHandle(picturetool::OwnerWindow())), m_nKind(nKind) {}

BOOL CConvertDialog::OnInitDialog() {
  CResourceDialog::OnInitDialog();
  int nSingle = CMGetProfileInt(convertkind::kSection, "Single", 0);
  if (nSingle >= convertkind::KIND_JPEG && nSingle <= convertkind::KIND_TIFF) {
    GetDlgItem(kKindRadios[nSingle - 1])->EnableWindow(FALSE);
    if (m_nKind == nSingle)
      m_nKind = nSingle == convertkind::KIND_JPEG ? convertkind::KIND_PNG : convertkind::KIND_JPEG;
  }
  CheckRadioButton(IDC_CONVERT_JPEG, IDC_CONVERT_TIFF, kKindRadios[m_nKind - 1]);
  return TRUE;
}

void CConvertDialog::OnOK() {
  for (int k = convertkind::KIND_JPEG; k <= convertkind::KIND_TIFF; ++k)
    if (IsDlgButtonChecked(kKindRadios[k - 1]) == BST_CHECKED) m_nKind = k;
  CResourceDialog::OnOK();
}
