// Captions of the browser strip.
#include "SubViewLabel.h"

#include <VxGUIDB/Utility.h>
#include <VxResourceIds.h>

#include "GuiFont.h"

void CSubViewLabel::Load(UINT id, CDC* pDC) {
  nID = id;
  text = CResourceLoader().LoadStringA(id);
  CStripTextStyle style(pDC);
  CSize size = pDC->GetTextExtent(text);
  cx = size.cx;
  cy = size.cy;
}

void CSubViewLabel::Draw(CDC* pDC) const {
  CRect rc(x, y, x + cx, y + cy);
  pDC->DrawText(text, rc, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
}

CStripTextStyle::CStripTextStyle(CDC* pDC) : m_pDC(pDC), m_hOldFont(nullptr) {
  HFONT hGui = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
  LOGFONTA lf = {};
  ::GetObjectA(hGui, sizeof(lf), &lf);
  HFONT hUse = hGui;
  if (!VxIsKnownCharset(lf.lfCharSet)) {
    LOGFONTA latin = {};
    latin.lfHeight = lf.lfHeight;
    latin.lfCharSet = ANSI_CHARSET;
    CString face = CResourceLoader().LoadStringA(IDS_UI_FONT_FACE_LATIN);
    lstrcpynA(latin.lfFaceName, face, LF_FACESIZE);
    if (m_font.CreateFontIndirect(&latin)) hUse = (HFONT)m_font.GetSafeHandle();
  }
  m_hOldFont = ::SelectObject(pDC->GetSafeHdc(), hUse);
  m_nOldMode = pDC->SetBkMode(TRANSPARENT);
  m_crOldText = pDC->SetTextColor(RGB(255, 255, 255));
}

CStripTextStyle::~CStripTextStyle() {
  m_pDC->SetTextColor(m_crOldText);
  m_pDC->SetBkMode(m_nOldMode);
  ::SelectObject(m_pDC->GetSafeHdc(), m_hOldFont);
}
