#include "IconColorDialog.h"

#include <VxResourceIds.h>

#include "DiskTreeModule.h"
#include "DiskTreeRules.h"

BEGIN_MESSAGE_MAP(CIconColorDialog, CColorDialog)
  ON_WM_DESTROY()
  ON_BN_CLICKED(IDC_DISKTREE_COLOR_STANDARD, &CIconColorDialog::OnStandardColor)
END_MESSAGE_MAP()

CIconColorDialog::CIconColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd)
    : CColorDialog(clrInit, dwFlags, pParentWnd), m_bDefaultColor(FALSE), m_pButton(nullptr), m_pFont(nullptr) {}

CIconColorDialog::~CIconColorDialog() {
  delete m_pButton;
  delete m_pFont;
}

BOOL CIconColorDialog::OnInitDialog() {
  CColorDialog::OnInitDialog();
  auto rectOf = [&](int id) {
    CRect r(0, 0, 0, 0);
    if (HWND h = ::GetDlgItem(m_hWnd, id)) {
      ::GetWindowRect(h, &r);
      ScreenToClient(&r);
    }
    return r;
  };
  // 719: the system dialog's "define custom colours" button.
  RECT place = disktree::StandardColourButtonRect(rectOf(IDOK), rectOf(IDCANCEL), rectOf(719));
  m_pButton = new CButton;
  m_pButton->Create(disktree::ResourceString(IDS_DISKTREE_COLOR_STANDARD).c_str(),
                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CENTER | BS_VCENTER, place, this,
                    IDC_DISKTREE_COLOR_STANDARD);
  const disktree::ButtonFont choice =
      disktree::StandardColourButtonFont(disktree::ResourceString(IDS_DISKTREE_CHARSET_NAME));
  m_pFont = new CFont;
  if (m_pFont->CreateFont(choice.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, choice.charset, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FF_SWISS,
                          disktree::ResourceString(IDS_UI_FONT_FACE).c_str()))
    m_pButton->SetFont(m_pFont, TRUE);
  return TRUE;
}

void CIconColorDialog::OnStandardColor() {
  m_bDefaultColor = TRUE;
  EndDialog(IDOK);
}

void CIconColorDialog::OnDestroy() {
  CColorDialog::OnDestroy();
  if (m_pButton) {
    if (m_pButton->m_hWnd) m_pButton->DestroyWindow();
    delete m_pButton;
    m_pButton = nullptr;
  }
  delete m_pFont;
  m_pFont = nullptr;
}
