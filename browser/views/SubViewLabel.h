// Captions of the browser strip and the device-context style they are drawn with.
#pragma once
#include <fw/fw.h>

#include "VxGUITransApi.h"

struct VXGUITRANS_API CSubViewLabel {
  UINT nID = 0;
  CString text;
  int cx = 0, cy = 0;
  int x = 0, y = 0;

  // Loads the text of nID and measures it with the strip's caption style.
  void Load(UINT id, CDC* pDC);
  // Right-aligned in its measured rectangle.
  void Draw(CDC* pDC) const;
};

// White captions on a transparent background in the GUI font, or, when that font is not
// of a known character set, in a font of its height with the face the resource library
// names. Restores the device context when it ends.
class VXGUITRANS_API CStripTextStyle {
 public:
  explicit CStripTextStyle(CDC* pDC);
  ~CStripTextStyle();
  CStripTextStyle(const CStripTextStyle&) = delete;
  CStripTextStyle& operator=(const CStripTextStyle&) = delete;

 private:
  CDC* m_pDC;
  CFont m_font;
  HGDIOBJ m_hOldFont;
  int m_nOldMode;
  COLORREF m_crOldText;
};
