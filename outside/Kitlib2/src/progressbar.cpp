// Exported progress bar over progress_core.
#include <Kitlib2/ProgressBar.h>

#include "progress_core.h"

int CMTLProgressBar(CMTL_PGBAR_WORKER pWorker, LPCSTR lpszCaption, int nFlags, CPgBarData* pData) {
  if (!pWorker) return -1;
  CPgBarData local;
  CPgBarData* data = pData ? pData : &local;
  return kitlib::RunProgressBar([pWorker, data] { return pWorker(data); }, &data->m_bCancel, &data->m_hWnd,
                                lpszCaption, nFlags);
}
