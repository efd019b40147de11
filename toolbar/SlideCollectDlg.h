// The slide-show collection dialog: the toolbar's scenario model as a list of thumbnails
// that takes pictures and a song dropped onto it, removes pictures, opens the settings,
// saves a ".snr" file and starts the show. It keeps the model's resized temporary images
// in step with the list and deletes them when it closes. The toolbar pane owns it and
// deletes it once told that it closed.
#pragma once
#include <Widgetkit/ImageListCtrl.h>

#include <string>
#include <vector>

#include "FileDropTarget.h"
#include "SlideCollectRules.h"
#include "ui/ResourceDialog.h"
#include "SlideShowScenario.h"

// Posted to itself at the end of initialisation: the list is filled.
#define WM_SLIDE_COLLECT_FILL 1076

class CSlideCollectDlg : public CResourceDialog, private IFileDropSink {
 public:
  enum { kCloseSaved = 1, kCloseUnsaved = 2 };

  explicit CSlideCollectDlg(CWnd* pParent = NULL);
  ~CSlideCollectDlg() override;

  // 1 when the window exists (made now or before), 0 when it could not be made.
  int Create(CWnd* pOwner, CSlideShowScenario* pScenario, BOOL bShow);
  void Close();
  // After outside changes to the model's audio.
  void RefreshAudio();
  // 1 when the dialog may close (nothing to lose, the user declined, or the save worked).
  int AskSave();
  int Save();
  // 1 when the file joined the list or became the show's audio.
  int AddDroppedFile(LPCSTR lpszPath, BOOL bPrivate);

  int IsCreated() const { return m_bCreated; }
  int IsSaved() const { return m_bSaved; }
  int GetCloseReason() const { return m_nCloseReason; }
  const std::string& GetAudioPath() const { return m_strAudioPath; }
  CImageListCtrl& GetList() { return m_list; }
  IDropTarget* GetDropTarget() { return &m_dropTarget; }

 protected:
  // The file to save to: the scenario file chooser in save mode ("" when cancelled).
  virtual CString ChooseTarget();
  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  void OnOK() override;
  void OnCancel() override;

  afx_msg void OnCloseButton();
  afx_msg void OnStart();
  afx_msg void OnSaveButton();
  afx_msg void OnRemove();
  afx_msg void OnSettings();
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg LRESULT OnFill(WPARAM, LPARAM);
  afx_msg LRESULT OnFillAdd(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  DWORD OnFileDrop(IDataObject* pData) override;
  BOOL IsDropAllowed() override { return m_nBusy == 0; }

  void UpdateButtons();
  void ShowAudio(const std::string& path);
  void ShowModelAudio();
  void CopyListToModel();
  // Drops the entries that got no temporary image: their list items go and, when asked,
  // their paths are collected.
  void DropFailed(std::vector<SlideTempImage>* pPrepared, std::vector<std::string>* pFailed);
  int PrepareAndAdd(const std::vector<SlidePicture>& pictures);
  void DeleteTempImageOf(const std::string& source);

  int m_bCreated;
  int m_bSaved;
  CWnd* m_pOwner;
  int m_nCloseReason;
  CLIPFORMAT m_cfPrivate;
  std::string m_strAudioPath;
  std::vector<SlidePicture> m_pictures;
  CToolTipCtrl m_toolTip;
  CImageListCtrl m_list;
  CSlideShowScenario* m_pScenario;
  LONG m_nDropRefs;
  CFileDropTarget m_dropTarget;
  int m_nBusy;  // preparing or filling: drops wait
};
