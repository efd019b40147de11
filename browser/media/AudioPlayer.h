// CAudioPlayer: plays one audio file at a time through a DirectShow filter graph, without a
// window. A completion thread waits for the end of the stream and records it in the state,
// which the owner polls; the player never calls its owner back.
#pragma once
#include <fw/fw.h>

#include <dshow.h>

#include "VxGUITransApi.h"

// The player's state as the owner polls it.
enum AudioPlayState { kAudioOpened = 0, kAudioStopped = 1, kAudioRunning = 2, kAudioFinished = 4 };

class VXGUITRANS_API CAudioPlayer {
 public:
  CAudioPlayer();
  virtual ~CAudioPlayer();

  // Mode 1: the AAC splitter and decoder; any other: render by file, then the ASF reader.
  HRESULT Open(const char* pszPath, int nMode);
  HRESULT Play();
  HRESULT Stop();
  HRESULT Close();
  HRESULT SetVolume(long lVolume);
  // Seconds from the file's start. The sound goes on from a new position in the state it
  // was in; a player that has finished plays again with Play.
  HRESULT SetPosition(double dSeconds);
  HRESULT GetPosition(double* pdSeconds) const;
  HRESULT GetDuration(double* pdSeconds) const;
  int GetState() const { return m_nState; }
  const CString& GetPath() const { return m_strPath; }

 private:
  HRESULT RenderAac();
  HRESULT RenderAsf();
  static unsigned __stdcall CompletionThread(void* pParam);
  void EndCompletionThread();

  IGraphBuilder* m_pGraph;
  IMediaControl* m_pControl;
  IMediaEventEx* m_pEvents;
  IBasicAudio* m_pAudio;
  IMediaSeeking* m_pSeeking;
  WCHAR m_wszPath[MAX_PATH];
  CString m_strPath;
  HANDLE m_hThread;
  HANDLE m_hStarted;
  volatile LONG m_bStopRequest;
  volatile LONG m_bEnded;  // the graph has reported its end
  int m_nMode;
  BOOL m_bComInit;
  volatile int m_nState;
};

// The first pin of the filter with that direction and exact name, with its reference.
HRESULT FindPinByName(IBaseFilter* pFilter, LPCWSTR pszName, PIN_DIRECTION dir, IPin** ppPin);
