// CDShowPlayer: a movie file through a DirectShow filter graph whose video window is a
// child of the movie controller's target. Each operation asks the graph for the interface
// it needs; every failing call's HRESULT goes back unchanged.
#pragma once
#include <windows.h>
#include <dshow.h>

// Moves a graph that is in `resume` (State_Stopped, _Paused or _Running) to an absolute
// position: Wine's GStreamer splitter leaves its sound stream flushing after a seek of a
// paused or running graph, and the next IMediaControl::Stop then waits for it for ever, so
// the graph seeks stopped and is brought back to `resume`.
HRESULT SeekGraphStopped(IMediaControl* pControl, IMediaSeeking* pSeeking, LONGLONG* pPosition, FILTER_STATE resume);

// Wine's device enumerator deletes and writes again the sound renderers' registry entries at
// every enumeration, in every process (each RenderFile enumerates): a graph built while
// another process builds one finds no sound renderer at times, and RenderFile fails or
// leaves a movie without its sound. The DirectSound renderer is put in the graph by its
// class first, where rendering connects to it, and taken out again if nothing did.
IBaseFilter* AddSoundRenderer(IGraphBuilder* pGraph);  // with its reference, or null
void DropSoundRendererIfUnused(IGraphBuilder* pGraph, IBaseFilter* pRenderer);  // releases it

class CDShowPlayer {
 public:
  CDShowPlayer();
  virtual ~CDShowPlayer();

  HRESULT CreateGraph();
  HRESULT DestroyGraph();
  HRESULT RenderFile(const char* pszPath);
  HRESULT Run();
  HRESULT Pause();
  HRESULT Stop();  // rewinds to the start
  BOOL IsOpen() const { return m_pGraph != NULL; }
  int GetState() const { return m_pGraph ? m_nState : -1; }  // 0 stopped, 1 paused, 2 running
  HRESULT SetOwner(HWND hOwner, long lStyle);
  HRESULT SetMessageDrain(HWND hDrain);
  HRESULT SetWindowPosition(long l, long t, long r, long b);
  HRESULT SetForeground();
  HRESULT GetVideoSize(long* pWidth, long* pHeight);
  HRESULT SetTimeFormat(GUID format);
  HRESULT GetDuration(LONGLONG* pDuration);
  HRESULT GetPositions(LONGLONG* pCurrent, LONGLONG* pStop);
  HRESULT SetCurrentPosition(LONGLONG* pPosition);
  HRESULT SetFullScreen(BOOL bFull);
  HRESULT IsFullScreen(BOOL* pFull);

 private:
  template <class I>
  HRESULT Query(const IID& iid, I** pp) const;
  template <class I, class F>
  HRESULT Use(const IID& iid, F f) const;

  IMediaEventEx* m_pEvent;
  IGraphBuilder* m_pGraph;
  int m_nState;
};
