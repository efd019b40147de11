// The rotation tool's settings: the turn, pixels or only the Exif orientation, and where
// the result goes (a write-protected single file: only a copy).
#pragma once
#include <fw/fw.h>
#include <ui/ResourceDialog.h>

#include "TurnRules.h"

class CTurnDialog : public CResourceDialog {
 public:
  explicit CTurnDialog(const turnpicture::Settings& s);
  const turnpicture::Settings& Chosen() const { return m_settings; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  turnpicture::Settings m_settings;
};
