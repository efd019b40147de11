#include "VerifiedCopy.h"

namespace cardtree {

CThreadedFileCopy::CThreadedFileCopy(LPCSTR source, LPCSTR target, int move, int)
    : m_source(source ? source : ""), m_target(target ? target : ""), m_move(move) {}

CThreadedFileCopy::~CThreadedFileCopy() {
  m_abandoned = 1;
  if (m_thread.joinable()) m_thread.join();
}

void CThreadedFileCopy::Work() {
  DWORD e = CopyFileVerified(m_source, m_target, &m_abandoned, &m_digest);
  if (!e && m_move) {
    DWORD a = GetFileAttributesA(m_source.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY))
      SetFileAttributesA(m_source.c_str(), a & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    if (!DeleteFileA(m_source.c_str())) e = GetLastError();
  }
  m_lastError = e;
  m_result = e == 0;
  m_done = 1;
}

int CThreadedFileCopy::Run() {
  if (m_thread.joinable()) return m_result;
  m_thread = std::thread([this] { Work(); });
  while (!m_done && !m_abandoned) {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (!m_done && !m_abandoned) MsgWaitForMultipleObjects(0, NULL, FALSE, 30, QS_ALLINPUT);
  }
  return m_done ? m_result : 0;
}

}  // namespace cardtree
