// The AVCHD scene player (ScorePlayWrapper.dll beside the program) and what it asks of the
// content-information object (ClipFacts) that describes a scene: the player is made with
// the library's DllCreateInstance and reached by slot; the scene's stream comes from the
// content object through the private interface below.
#pragma once
#include <windows.h>
#include <unknwn.h>

// {3A7E51C2-8D04-4B6F-9E21-D5C0B7A4E813}
static const GUID CLSID_ScenePlayer = {0x3A7E51C2, 0x8D04, 0x4B6F, {0x9E, 0x21, 0xD5, 0xC0, 0xB7, 0xA4, 0xE8, 0x13}};
// {6C29F0A4-1B8E-4D53-A7C6-2E91F05B3D7A}
static const GUID IID_IScenePlayer = {0x6C29F0A4, 0x1B8E, 0x4D53, {0xA7, 0xC6, 0x2E, 0x91, 0xF0, 0x5B, 0x3D, 0x7A}};
// {9D41C7B2-53E8-4A6F-B0D4-7E2A19C58F63}
static const GUID IID_IClipFactsScene = {0x9D41C7B2, 0x53E8, 0x4A6F, {0xB0, 0xD4, 0x7E, 0x2A, 0x19, 0xC5, 0x8F, 0x63}};

// The player's raw states.
enum { kSceneNone = 0, kSceneStopped = 1, kScenePlaying = 2, kScenePaused = 3, kSceneEnded = 4, kSceneFailed = 5 };
// Renderer codes (slot 5's second word): how pictures are scaled into the window.
enum { kSceneRendererHalftone = 0x100, kSceneRendererColorOnColor = 0x200 };
// Quality levels of the entries (slot 7): 0 best; levels 3 and 4 skip the deblocking loop
// filter of scenes above the entry's bit rate (recorded by the player; the movie kit
// decodes every picture in full).
struct SCENEQUALITY {
  DWORD dwMaxBitRate;  // bits per second
  DWORD dwLevel;
};

struct IScenePlayer : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetOwner(HWND hOwner) = 0;                                      // 3
  virtual HRESULT STDMETHODCALLTYPE SetRect(const RECT* pRect) = 0;  // null: the whole owner      // 4
  virtual HRESULT STDMETHODCALLTYPE SetParam(const DWORD* pParam) = 0;  // {1, renderer code}        // 5
  virtual HRESULT STDMETHODCALLTYPE Reserved6() = 0;                                                // 6
  virtual HRESULT STDMETHODCALLTYPE SetContent(IUnknown* pContent, int nEntries, const SCENEQUALITY* pEntries) = 0;  // 7
  virtual HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG* pllDuration) = 0;  // 100 ns               // 8
  virtual HRESULT STDMETHODCALLTYPE SetRange(LONGLONG llStart, LONGLONG llStop) = 0;                 // 9
  virtual HRESULT STDMETHODCALLTYPE Close() = 0;                                                    // 10
  virtual HRESULT STDMETHODCALLTYPE Play() = 0;                                                     // 11
  virtual HRESULT STDMETHODCALLTYPE Pause() = 0;                                                    // 12
  virtual HRESULT STDMETHODCALLTYPE Stop() = 0;                                                     // 13
  virtual HRESULT STDMETHODCALLTYPE Seek(LONGLONG llPosition) = 0;                                  // 14
  virtual HRESULT STDMETHODCALLTYPE Repaint() = 0;                                                  // 15
  virtual HRESULT STDMETHODCALLTYPE GetPosition(LONGLONG* pllPosition) = 0;                         // 16
  virtual HRESULT STDMETHODCALLTYPE GetState(int* pnState, int* pnSecond) = 0;                      // 17
};

// The content object's scene: the stream file to play (full path).
struct IClipFactsScene : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetStreamPath(LPWSTR pszPath, int cch) = 0;
};

typedef HRESULT(WINAPI* SceneCreateFn)(REFCLSID clsid, REFIID iid, void** ppv);
