// The person entry editor: the persons of the photo database's face register, each a name,
// an optional birthday and up to five face pictures. Faces are picked in the face
// registration dialog and registered with the face database when the user presses OK.
// Modeless; the toolbar pane opens it and deletes it when it hears it closed.
#pragma once
#include <FaceIdentifier.h>
#include <Kitlib2/CMDIB.h>
#include <VxDatabase.h>
#include <VxResourceIds.h>

#include <map>
#include <vector>

#include "CueEdit.h"
#include "ui/ResourceDialog.h"

class CFaceRegisterDlg;

class CEntryEditDlg : public CResourceDialog {
 public:
  explicit CEntryEditDlg(CWnd* pParent = NULL);
  ~CEntryEditDlg() override;

  // Creates and shows the editor for the owner (the browser's first selected picture
  // goes straight to the face registration); 1 when it is (already) shown, else 0.
  int Open(CWnd* pOwner);
  // The face database file; empty (the default) is the user's own.
  void SetFaceDbPath(LPCSTR lpszPath) { m_strFaceDbPath = lpszPath; }

  BOOL IsShown() const { return m_bShown; }
  CFaceRegisterDlg* GetRegisterDlg() const { return m_pRegisterDlg; }
  // The list control's pictures, in order.
  std::vector<CString> GetShownFaces() const;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  afx_msg void OnNameChange();
  afx_msg void OnNameEdit();
  afx_msg void OnAddFace();
  afx_msg void OnDeleteFace();
  afx_msg void OnAddName();
  afx_msg void OnDeleteName();
  afx_msg void OnMonthDropDown();
  afx_msg void OnDayDropDown();
  afx_msg void OnMonthChange();
  afx_msg void OnBirthday();
  afx_msg void OnYearChange();
  afx_msg LRESULT OnRestoreName(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRegisterClosed(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnFacePicked(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  struct FaceEntry {
    CString path;
    RECT rc;
    POINT pt1, pt2;
  };
  CComboBox* Names() { return static_cast<CComboBox*>(GetDlgItem(IDC_ENTRY_NAMES)); }
  CComboBox* Months() { return static_cast<CComboBox*>(GetDlgItem(IDC_ENTRY_MONTH)); }
  CComboBox* Days() { return static_cast<CComboBox*>(GetDlgItem(IDC_ENTRY_DAY)); }
  CListCtrl* Faces() { return static_cast<CListCtrl*>(GetDlgItem(IDC_ENTRY_FACES)); }
  CString NameText();
  void ClearFaces();
  void ClearBirthday();
  void EnableDate(BOOL bYear, BOOL bMonthDay);
  void FillMonths();
  void FillDays(BOOL bFirstWhenGone);
  int MakeThumbnail(const CString& path, const RECT& rc);
  void AddFaceItem(const FaceEntry& face);
  HRESULT RegisterFace(const CString& path, const CString& name, int personId, int faceCount);
  // Tells the user that the face database file kept none of the last change.
  void ShowFaceDbNotSaved();
  const FaceEntry* FindFace(const CString& path) const;
  void Close(BOOL bDestroy = TRUE);

  CWnd* m_pOwner;
  int m_bShown;
  IVxDBFile* m_pDb;
  CFaceIdentifier* m_pFaceId;
  CCMDIB* m_pImage;
  CFaceRegisterDlg* m_pRegisterDlg;
  CString m_strCurrentPath, m_strFaceDbPath;
  int m_bOpenWithPicture;
  CString m_strRemembered;
  CCueEdit m_nameCue;  // the names combo's edit, with the first entry as its hint
  BOOL m_bBirthday;
  int m_bModified, m_bSaved;
  std::map<int, CString> m_index;
  std::vector<FaceEntry> m_records;
  CImageList m_images;
  DWORD m_dwYearWarned;
};
