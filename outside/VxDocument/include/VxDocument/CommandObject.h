// CSendCommandObject: the hint object that carries a browser command to the views
// (CDocument::UpdateAllViews(sender, VXHINT_COMMAND, &object)).
//
// The value of a command:
//  - view-mode commands (29541..29559), sort commands (29561..29587, and the type sorts
//    29710/29711) and filter commands (29591..29595): a number from the command id, as
//    the resource library's id header lists it (29541 = view code 2, 29562 = sort id 11,
//    29591 = filter id 0, ...); ids of a range that name no command give 0.
//    A value below 0x10000 given at construction is taken as the number instead (such a
//    value is never a pointer); a pointer given with such a command is its parameter (the
//    calendar views pass a date text "yyyy/mm/dd" with 29547 and 29548).
//  - any other command: the value given, as a number.
// A null value gives the parameter null.
#pragma once

#include <VxDocument/VxDocDefs.h>

// Command ranges the browser acts on.
#define VXCMD_VIEWMODE_FIRST 29541
#define VXCMD_VIEWMODE_LAST 29559
#define VXCMD_SORT_FIRST 29561
#define VXCMD_SORT_LAST 29587
#define VXCMD_FILTER_FIRST 29591
#define VXCMD_FILTER_LAST 29595
// The type sorts of the menu lie outside the sort range; the document passes them on as
// these two ids of the range (sort ids 17 and 18).
#define VXCMD_SORT_TYPE_ASC 29710
#define VXCMD_SORT_TYPE_DESC 29711
#define VXCMD_SORT_TYPE_ASC_HINT 29568
#define VXCMD_SORT_TYPE_DESC_HINT 29569

class VXDOC_API CSendCommandObject : public CObject {
  DECLARE_DYNAMIC(CSendCommandObject)
 public:
  explicit CSendCommandObject(UINT nID, void* pValue = NULL);
  ~CSendCommandObject() override;

  UINT GetID() const { return m_nID; }
  // The command's number (see above).
  UINT_PTR GetValue() const { return m_nValue; }
  // The pointer given at construction; null when none or a number was given.
  void* GetParam() const { return m_pParam; }
  // The parameter as a text (null when there is none).
  LPCSTR GetParamText() const { return static_cast<LPCSTR>(m_pParam); }

  BOOL IsViewModeCommand() const { return IsViewModeID(m_nID); }
  BOOL IsSortCommand() const { return IsSortID(m_nID); }
  BOOL IsFilterCommand() const { return IsFilterID(m_nID); }

  static BOOL IsViewModeID(UINT nID) { return nID >= VXCMD_VIEWMODE_FIRST && nID <= VXCMD_VIEWMODE_LAST; }
  static BOOL IsSortID(UINT nID) {
    return (nID >= VXCMD_SORT_FIRST && nID <= VXCMD_SORT_LAST) || nID == VXCMD_SORT_TYPE_ASC ||
           nID == VXCMD_SORT_TYPE_DESC;
  }
  static BOOL IsFilterID(UINT nID) { return nID >= VXCMD_FILTER_FIRST && nID <= VXCMD_FILTER_LAST; }
  // The number of a view-mode, sort or filter command id; -1 for other ids, 0 for an id
  // of a range that names no command.
  static int ValueOfID(UINT nID);

 private:
  UINT m_nID;
  UINT_PTR m_nValue;
  void* m_pParam;
};
