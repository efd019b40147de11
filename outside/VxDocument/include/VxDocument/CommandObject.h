// CSendCommandObject: the hint object that carries a browser command to the views
// (CDocument::UpdateAllViews(sender, VXHINT_COMMAND, &object)).
//
// The value of a command:
//  - view-mode, sort (with the type sorts) and filter commands: a number from the command
//    id, as the resource library's id header lists it (ID_VIEWMODE_LARGE_ICONS = view
//    code 2, ID_SORT_SHOT_ASC = sort id 11, ID_FILTER_PHOTOS = filter id 0, ...); ids of a
//    range that name no command give 0.
//    A value below 0x10000 given at construction is taken as the number instead (such a
//    value is never a pointer); a pointer given with such a command is its parameter (the
//    calendar views pass a date text "yyyy/mm/dd" with ID_VIEWMODE_MONTH and ID_VIEWMODE_DAY).
//  - any other command: the value given, as a number.
// A null value gives the parameter null.
#pragma once

#include <VxDocument/VxDocDefs.h>
#include <VxResourceIds.h>

// The command ranges the browser acts on are the resource library's (ID_VIEWMODE_FIRST ..
// ID_VIEWMODE_LAST, ID_SORT_FIRST .. ID_SORT_LAST, ID_FILTER_FIRST .. ID_FILTER_LAST); the
// type sorts of the menu (ID_SORT_TYPE_ASC/DESC) lie outside the sort range, and the
// document passes them on as ID_SORT_TYPE_ASC_IN_RANGE/DESC_IN_RANGE.

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

  static BOOL IsViewModeID(UINT nID) { return nID >= ID_VIEWMODE_FIRST && nID <= ID_VIEWMODE_LAST; }
  static BOOL IsSortID(UINT nID) {
    return (nID >= ID_SORT_FIRST && nID <= ID_SORT_LAST) || nID == ID_SORT_TYPE_ASC || nID == ID_SORT_TYPE_DESC;
  }
  static BOOL IsFilterID(UINT nID) { return nID >= ID_FILTER_FIRST && nID <= ID_FILTER_LAST; }
  // The number of a view-mode, sort or filter command id; -1 for other ids, 0 for an id
  // of a range that names no command.
  static int ValueOfID(UINT nID);

 private:
  UINT m_nID;
  UINT_PTR m_nValue;
  void* m_pParam;
};
