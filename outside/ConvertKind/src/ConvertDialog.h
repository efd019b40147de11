// The conversion tool's choice of kind; the kind every chosen file has already is greyed.
#pragma once
#include <fw/fw.h>
#include <ui/ResourceDialog.h>

class CConvertDialog : public CResourceDialog {
 public:
  explicit CConvertDialog(int nKind);
  int Chosen() const { return m_nKind; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  int m_nKind;  // convertkind::Kind
};
