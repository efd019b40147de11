// The resize tool's settings: a long side or a percentage (refused out of range), and the
// JPEG quality when JPEG files are among the chosen.
#pragma once
#include <fw/fw.h>
#include <ui/ResourceDialog.h>

#include "ScaleRules.h"

class CScaleDialog : public CResourceDialog {
 public:
  explicit CScaleDialog(const scalepicture::Settings& s);
  const scalepicture::Settings& Chosen() const { return m_settings; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  DECLARE_MESSAGE_MAP()

 private:
  int Quality();
  // The box of a refused value; the focus goes to its field.
  void Refuse(UINT nTextId, int nField);

  scalepicture::Settings m_settings;
};
