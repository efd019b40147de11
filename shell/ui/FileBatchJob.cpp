// Per-file work under the progress bar.
#include <VxGUIDB/Utility.h>
#include <VxResourceIds.h>

#include "ProgressDialogs.h"

CFileBatchJob::CFileBatchJob(UINT captionId, CWnd* owner)
    : m_nCaptionID(captionId), m_pOwner(owner), m_pFiles(nullptr), m_pfnCallback(nullptr), m_pContext(nullptr),
      m_nDone(0) {}

void CFileBatchJob::SetCallback(const CStringList* files, Callback callback, void* context) {
  m_pFiles = files;
  m_pfnCallback = callback;
  m_pContext = context;
}

int CFileBatchJob::Run() {
  if (!m_pFiles || !m_pfnCallback) return 2;
  m_hWnd = m_pOwner ? m_pOwner->GetSafeHwnd() : NULL;
  CString caption = CResourceLoader().LoadStringA(m_nCaptionID);
  return CMTLProgressBar(Work, caption, CMTL_PGBAR_CANCEL, this);
}

int CFileBatchJob::Work(CPgBarData* data) {
  CFileBatchJob* job = static_cast<CFileBatchJob*>(data);
  CString format = CResourceLoader().LoadStringA(IDS_FILE_PROGRESS_FORMAT);
  int count = (int)job->m_pFiles->GetCount();
  int i = 0;
  int reported = -1;
  for (POSITION pos = job->m_pFiles->GetHeadPosition(); pos && !job->m_bCancel;) {
    const CString& path = job->m_pFiles->GetNext(pos);
    i++;
    job->m_nDone = i;
    if (job->m_pfnCallback(path, job->m_pContext) < 0) break;
    // Once per percent: every report waits for the window, which under Wine costs
    // milliseconds; ten thousand files would spend half a minute on them.
    if (ProgressPercent(i, count) == reported) continue;
    reported = ProgressPercent(i, count);
    ReportFileProgress(job, format, path, i, count);
  }
  return 0;
}

void ReportFileProgress(CPgBarData* job, const CString& format, const CString& path, int i, int count) {
  if (!job->m_hWnd) return;
  CString text;
  text.Format(format, (LPCSTR)path.Mid(path.ReverseFind('\\') + 1), i, count);
  CMTLPostProgress(job->m_hWnd, text, ProgressPercent(i, count));
}
