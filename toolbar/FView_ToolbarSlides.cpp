// The toolbar pane's slide show: its list's commands, the collection being authored, and
// the items the main frame starts a show with.
#include "FView_Toolbar.h"

#include <MainWndMessages.h>
#include <VxResourceIds.h>

#include "MainFrame.h"
#include "ui/ProgressDialogs.h"
#include "ui/ResourceDialog.h"
#include "SlideCollectDlg.h"
#include "SlideCollectRules.h"
#include "SlideShowDlg.h"
#include "SlideShowItems.h"

// The settings dialog's request through the collection's closing message.
static const LPARAM kCollectAsksSettings = 19008;

void CFView_Toolbar::OnSlideShowPlay() {
  StopMusic();
  if (RefusedSlideCommand(ID_TB_SLIDE_PLAY)) return;
  if (CWnd* pFrame = GetParentFrame()) pFrame->SendMessage(WM_COMMAND, ID_SLIDESHOW_PLAY);
}

void CFView_Toolbar::OnSlideShowPlayAll() {
  StopMusic();
  if (CWnd* pFrame = GetParentFrame()) pFrame->SendMessage(WM_COMMAND, ID_SLIDESHOW_PLAY_ALL);
}

// The settings of the show that runs: the profile's for the browser's show (then played
// again), the collection's for the collection's; the collection's when none runs.
void CFView_Toolbar::OnSlideShowSettings() {
  if (RefusedSlideCommand(ID_TB_SLIDESHOW_SETTINGS)) return;
  CMainFrame* pMain = GetMainFrame();
  int nMode = pMain ? pMain->m_nSlideShowMode : 0;
  CSlideShowDlg dlg;
  dlg.m_pScenario = &m_scenario;
  dlg.m_bToProfile = nMode == 1 ? 1 : 0;
  UINT nReplay = nMode == 1 ? ID_SLIDESHOW_PLAY : nMode == 2 ? ID_SLIDESHOW_PLAY_ALL : 0;
  if (dlg.DoModal() == IDOK && nReplay)
    if (CWnd* pFrame = GetParentFrame()) pFrame->SendMessage(WM_COMMAND, nReplay);
}

void CFView_Toolbar::OpenSlideCollectDlg() {
  CWaitCursor wait;
  if (!m_pSlideCollect) m_pSlideCollect = new CSlideCollectDlg();
  if (!m_pSlideCollect->Create(this, &m_scenario, TRUE)) {
    delete m_pSlideCollect;
    m_pSlideCollect = NULL;
  }
}

void CFView_Toolbar::OnOpenScenario() {
  if (RefusedSlideCommand(ID_TB_OPEN_SCENARIO)) return;
  if (!CloseEntryEditor()) return;
  CloseSlideCollectDlg();
  StopMusic();
  CString strPath = ChooseSlideShowScenarioFile(TRUE);
  if (strPath.IsEmpty()) return;
  m_scenario.Reset();
  if (!m_scenario.SetFileName(strPath) || !m_scenario.LoadPictures() || !m_scenario.LoadAudio() ||
      !m_scenario.LoadInfo()) {
    AfxMessageBox(IDS_SLIDE_SCENARIO_FAILED, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  // Files gone since the scenario was saved leave it, and the user hears which.
  std::vector<SlidePicture> pictures, kept;
  std::vector<std::string> audio, keptAudio, missing;
  m_scenario.GetPictures(&pictures);
  m_scenario.GetAudio(&audio);
  for (const SlidePicture& p : pictures)
    if (::GetFileAttributesA(p.path.c_str()) != INVALID_FILE_ATTRIBUTES)
      kept.push_back(p);
    else
      missing.push_back(p.path);
  for (const std::string& a : audio)
    if (::GetFileAttributesA(a.c_str()) != INVALID_FILE_ATTRIBUTES)
      keptAudio.push_back(a);
    else
      missing.push_back(a);
  if (!missing.empty()) {
    m_scenario.SetPictures(&kept);
    m_scenario.SetAudio(&keptAudio);
    AfxMessageBox(slideshow::MissingFilesText((LPCSTR)LoadResourceText(IDS_SLIDE_SCENARIO_MISSING), missing).c_str(),
                  MB_OK | MB_ICONEXCLAMATION);
  }
  OpenSlideCollectDlg();
}

void CFView_Toolbar::OnNewSlideCollection() {
  if (m_pSlideCollect && m_pSlideCollect->IsCreated()) {
    m_pSlideCollect->ShowWindow(SW_SHOW);
    return;
  }
  if (RefusedSlideCommand(ID_TB_NEW_SLIDE_COLLECTION)) return;
  int nChoice = 0;
  if (ChooseFileTarget(&nChoice) != 1) return;
  CWaitCursor wait;
  m_scenario.Reset();
  std::vector<SlidePicture> pictures;
  // Choice 5 takes the marked files; every other choice all of them.
  m_scenario.CollectFromBrowser(&pictures, nChoice != 5);
  m_scenario.SetPictures(&pictures);
  std::vector<std::string> audio;
  m_scenario.GetProfileAudio(&audio);
  m_scenario.SetAudio(&audio);
  int nKind = 0, nInterval = 0, nRepeat = 1, nAudioKind = 0, nQuality = 1;
  m_scenario.GetProfileInfo(&nKind, &nInterval, &nRepeat, &nAudioKind);
  m_scenario.SetShowInfo(nKind, nInterval, nRepeat, nAudioKind);
  m_scenario.GetProfileQuality(&nQuality);
  m_scenario.SetQuality(nQuality);
  OpenSlideCollectDlg();
}

int CFView_Toolbar::CloseSlideCollectDlg() {
  if (!m_pSlideCollect) return 0;
  int nReason = m_pSlideCollect->GetCloseReason();
  if (m_pSlideCollect->IsCreated()) m_pSlideCollect->Close();
  if (m_pSlideCollect->m_hWnd) m_pSlideCollect->DestroyWindow();
  delete m_pSlideCollect;
  m_pSlideCollect = NULL;
  return nReason;
}

BOOL CFView_Toolbar::IsSlideCollectActive() const {
  return m_pSlideCollect && m_pSlideCollect->IsCreated() && m_pSlideCollect->IsWindowEnabled();
}

LRESULT CFView_Toolbar::OnSlideCollect(WPARAM, LPARAM lParam) {
  CloseSlideCollectDlg();
  if (lParam == kCollectAsksSettings) OnSlideShowSettings();
  return 0;
}

LRESULT CFView_Toolbar::OnViewModeChanged(WPARAM wParam, LPARAM) {
  if (toolbarrules::ViewClosesSlideCollection((int)wParam)) CloseSlideCollectDlg();
  if (m_pSlideCollect && m_pSlideCollect->IsCreated()) m_pSlideCollect->RefreshAudio();
  return 0;
}

long CFView_Toolbar::BuildSlideShowItems(BOOL bScenario, SLD_QUALITY* pQuality, SLD_TYPE* pKind,
                                         std::vector<tagSLD_V_TYPE>* pSlides, std::vector<tagSLD_A_TYPE>* pSounds,
                                         int* pnInterval, int* pnRepeat) {
  int nQuality = 0, nKind = 0, nInterval = 0, nRepeat = 1, nAudioKind = 0;
  std::vector<std::string> audio;
  if (bScenario) {
    m_scenario.GetQuality(&nQuality);
    m_scenario.GetShowInfo(&nKind, &nInterval, &nRepeat, &nAudioKind);
    if (nAudioKind) m_scenario.GetAudio(&audio);
  } else {
    m_scenario.GetProfileQuality(&nQuality);
    m_scenario.GetProfileInfo(&nKind, &nInterval, &nRepeat, &nAudioKind);
    m_scenario.GetProfileAudio(&audio);
  }

  if (pSlides) {
    std::vector<SlidePicture> pictures;
    std::vector<SlideTempImage> prepared;
    if (bScenario) {
      m_scenario.GetPictures(&pictures);
      m_scenario.GetTempImages(&prepared);
    } else {
      CWaitCursor wait;
      m_scenario.CollectFromBrowser(&pictures, TRUE);
      if (!pictures.empty() && (nQuality != 0 || nKind != 0) &&
          !m_scenario.PrepareImages(GetSafeHwnd(), &pictures, &prepared))
        return E_FAIL;
    }
    for (const SlidePicture& p : pictures)
      pSlides->push_back(slideshow::MakeSlide(p, prepared, slideshow::ReadPictureFacts(p.path)));
  }
  if (pSounds)
    for (const std::string& path : audio) pSounds->push_back(slideshow::MakeSound(path));

  if (pQuality) *pQuality = (SLD_QUALITY)(nQuality == 1 || nQuality == 2 ? nQuality : 0);
  if (pKind) *pKind = (SLD_TYPE)(nKind >= 1 && nKind <= 4 ? nKind : 0);
  if (pnInterval) *pnInterval = nInterval;
  if (pnRepeat) *pnRepeat = nRepeat;
  return 0;
}
