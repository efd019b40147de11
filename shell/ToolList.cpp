#include "ToolList.h"

#include <Kitlib2/Kitlib2.h>

CString ToolEntrySection(int nIndex) {
  CString strSection;
  strSection.Format("ExeState%04d", nIndex);
  return strSection;
}

BOOL ReadToolEntry(int nIndex, ToolEntrySettings* pEntry) {
  CString strSection = ToolEntrySection(nIndex);
  pEntry->strPath = CMGetProfileString(strSection, "ExePath", "");
  pEntry->strName = CMGetProfileString(strSection, "Name", "");
  pEntry->nLocation = CMGetProfileInt(strSection, "Location", 0);
  pEntry->nFlags = CMGetProfileInt(strSection, "Flag", 0);
  return !pEntry->strPath.IsEmpty();
}
