// The face registration dialog: one picture of a person (given at opening or dropped),
// scaled to 640 x 480 and drawn at half size with a frame and two crosses per face; a click
// picks a face, and OK hands the picture and that face to the owner (the person entry
// editor), which registers it. The dialog itself writes nothing.
#pragma once
#include <FaceIdentifier.h>
#include <Kitlib2/CMDIB.h>

#include <vector>

#include "FileDropTarget.h"
#include "ui/ResourceDialog.h"

// A chosen face as the owner receives it (WM_FACE_REGISTER_FACE): the picture and the
// face's rectangle and eyes in the 640 x 480 picture. Lives only during the call.
struct FACEPICK {
  CString strPath;
  RECT rcFace;
  POINT pt1, pt2;
};

class CFaceRegisterDlg : public CResourceDialog, public IFileDropSink {
 public:
  explicit CFaceRegisterDlg(CWnd* pOwner = NULL);
  ~CFaceRegisterDlg() override;

  // Creates and shows the dialog over the owner with the picture (may be empty); 1 when
  // it is (already) open, 0 without an identifier.
  int Open(CWnd* pOwner, CFaceIdentifier* pFaces, LPCSTR lpszPath);
  // The picture taken, examined and drawn: S_OK, E_INVALIDARG, E_FAIL (refused, missing
  // or unreadable, after the user was told).
  HRESULT AcceptFile(LPCSTR lpszPath);

  BOOL IsOpen() const { return m_bOpen; }
  BOOL HasPicture() const { return m_bHasPicture; }
  int GetFaceCount() const { return (int)m_faces.size(); }
  int GetSelectedFace() const { return m_nSelected; }
  RECT GetFaceRect(int i) const { return m_faces[i].rcFace; }
  IDropTarget* GetDropTarget() { return &m_dropTarget; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  DWORD OnFileDrop(IDataObject* pData) override;
  DECLARE_MESSAGE_MAP()

 private:
  struct Face {
    RECT rcFace;
    POINT pt1, pt2;
  };
  HRESULT LoadPicture(LPCSTR lpszPath);
  void Refused(UINT nMessage);
  void Close();

  LONG m_nDropRefs;
  CFileDropTarget m_dropTarget;
  CString m_strInitialPath, m_strLoadedPath;
  int m_bHasPicture, m_bShowPicture, m_bOpen;
  CWnd* m_pOwner;
  int m_nSelected;
  CCMDIB* m_pImage;
  CFaceIdentifier* m_pFaces;
  std::vector<Face> m_faces;  // at most ten
};
