// The image picker: the pictures filed under a name of the photo database, or those of a
// folder, shown as thumbnails with check boxes; OK files the ticked ones under the name
// typed or chosen below. Modal; the toolbar reloads the trees after OK.
#pragma once
#include <VxDatabase.h>
#include <VxResourceIds.h>
#include <thumblist/ThumbListCtrl.h>

#include "ui/ResourceDialog.h"

// The thumbnail list's notices to the dialog.
#define WM_THUMB_CHECKED 0x8065  // wParam the item (-1: all), lParam 1 ticked / 0 not
#define WM_THUMB_OPEN 0x8066     // a double-click on an item (not handled)

class CImagePickerDlg : public CResourceDialog {
 public:
  explicit CImagePickerDlg(CWnd* pParent = NULL);
  ~CImagePickerDlg() override;

  enum { kThumbWidth = 80, kThumbHeight = 60, kPreviewWidth = 280, kPreviewHeight = 210 };
  // Where the preview is painted, and the area around it that is cleared.
  static const RECT kPreviewArea;
  static const POINT kPreviewOrigin;

  CThumbListCtrl& GetList() { return m_list; }
  BOOL HasFiles() const { return m_bHasFiles; }
  HBITMAP GetPreview() const { return m_hPreview; }
  // The picture of a file fitted into exactly cx x cy as a device bitmap for the dialog
  // (the caller deletes it): the database's thumbnail, else the file's icon.
  HRESULT LoadThumbnailBitmap(LPCSTR lpszPath, int cx, int cy, HBITMAP* phBitmap);

 protected:
  // The folder browser: TRUE with the chosen folder; tests answer it themselves.
  virtual BOOL BrowseFolder(CString* pFolder, LPCSTR lpszStart);
  // A Yes/No question over the dialog: the answer.
  virtual int Ask(const CString& strText);
  // Where the folder browser starts: the card copies' folder.
  CString GetBackupFolder();

  BOOL OnInitDialog() override;
  void OnOK() override {}  // Enter does nothing: only the OK button files
  afx_msg void OnPaint();
  afx_msg void OnPick();
  afx_msg void OnCancelButton();
  afx_msg void OnSourceChange();
  afx_msg void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg LRESULT OnCheckChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void LayOut();
  void RefreshList();
  void AddFileThumbnail(int n, LPCSTR lpszPath);
  void SetPreview(LPCSTR lpszPath);
  BOOL IsTicked(int nItem);
  CComboBox* Sources() { return static_cast<CComboBox*>(GetDlgItem(IDC_PICKER_SOURCE)); }
  CComboBox* Names() { return static_cast<CComboBox*>(GetDlgItem(IDC_PICKER_NAME)); }

  CThumbListCtrl m_list;
  HBITMAP m_hPreview;
  IVxDBFile* m_pDb;
  BOOL m_bHasFiles;
};
