#include "AacRules.h"

#include <mmreg.h>

#include "AacFilters.h"

namespace aacfilters {

namespace {
const int kMaxConfig = 64;

bool PlausibleStream(int sampleRate, int channels) {
  return sampleRate >= 1000 && sampleRate <= 192000 && channels >= 1 && channels <= 8;
}
}  // namespace

GUID WaveSubtype(WORD tag) {
  GUID g = MEDIASUBTYPE_PCM;
  g.Data1 = tag;
  return g;
}

bool IsStreamType(const AM_MEDIA_TYPE& mt) { return mt.majortype == MEDIATYPE_Stream; }

HRESULT MakeAacType(WORD tag, int sampleRate, int channels, const BYTE* config, int configSize, AM_MEDIA_TYPE* mt) {
  if (!mt || (configSize > 0 && !config)) return E_POINTER;
  if (configSize < 0 || configSize > kMaxConfig || !PlausibleStream(sampleRate, channels)) return E_INVALIDARG;
  *mt = AM_MEDIA_TYPE();
  const ULONG size = sizeof(WAVEFORMATEX) + configSize;
  auto* wf = static_cast<WAVEFORMATEX*>(CoTaskMemAlloc(size));
  if (!wf) return E_OUTOFMEMORY;
  ZeroMemory(wf, size);
  wf->wFormatTag = tag;
  wf->nChannels = WORD(channels);
  wf->nSamplesPerSec = DWORD(sampleRate);
  wf->nBlockAlign = 1;
  wf->cbSize = WORD(configSize);
  if (configSize > 0) memcpy(wf + 1, config, configSize);
  mt->majortype = MEDIATYPE_Audio;
  mt->subtype = WaveSubtype(tag);
  mt->bFixedSizeSamples = FALSE;
  mt->bTemporalCompression = FALSE;
  mt->lSampleSize = 0;
  mt->formattype = FORMAT_WaveFormatEx;
  mt->cbFormat = size;
  mt->pbFormat = reinterpret_cast<BYTE*>(wf);
  return S_OK;
}

bool ReadAacType(const AM_MEDIA_TYPE& mt, int* sampleRate, int* channels, const BYTE** config, int* configSize) {
  if (mt.majortype != MEDIATYPE_Audio || mt.formattype != FORMAT_WaveFormatEx || !mt.pbFormat ||
      mt.cbFormat < sizeof(WAVEFORMATEX))
    return false;
  const auto* wf = reinterpret_cast<const WAVEFORMATEX*>(mt.pbFormat);
  if (wf->wFormatTag != kWaveFormatRawAac && wf->wFormatTag != kWaveFormatAdtsAac) return false;
  if (mt.subtype != WaveSubtype(wf->wFormatTag)) return false;
  if (sizeof(WAVEFORMATEX) + wf->cbSize > mt.cbFormat || wf->cbSize > kMaxConfig) return false;
  if (!PlausibleStream(int(wf->nSamplesPerSec), wf->nChannels)) return false;
  // Raw frames cannot be decoded without their set-up; ADTS frames carry it.
  if (wf->wFormatTag == kWaveFormatRawAac && wf->cbSize < 2) return false;
  if (sampleRate) *sampleRate = int(wf->nSamplesPerSec);
  if (channels) *channels = wf->nChannels;
  if (config) *config = wf->cbSize ? reinterpret_cast<const BYTE*>(wf + 1) : nullptr;
  if (configSize) *configSize = wf->cbSize;
  return true;
}

HRESULT MakePcmType(int sampleRate, int channels, AM_MEDIA_TYPE* mt) {
  if (!mt) return E_POINTER;
  if (!PlausibleStream(sampleRate, channels) || channels > 2) return E_INVALIDARG;
  *mt = AM_MEDIA_TYPE();
  auto* wf = static_cast<WAVEFORMATEX*>(CoTaskMemAlloc(sizeof(WAVEFORMATEX)));
  if (!wf) return E_OUTOFMEMORY;
  ZeroMemory(wf, sizeof *wf);
  wf->wFormatTag = WAVE_FORMAT_PCM;
  wf->nChannels = WORD(channels);
  wf->nSamplesPerSec = DWORD(sampleRate);
  wf->wBitsPerSample = 16;
  wf->nBlockAlign = WORD(channels * 2);
  wf->nAvgBytesPerSec = wf->nSamplesPerSec * wf->nBlockAlign;
  mt->majortype = MEDIATYPE_Audio;
  mt->subtype = MEDIASUBTYPE_PCM;
  mt->bFixedSizeSamples = TRUE;
  mt->lSampleSize = wf->nBlockAlign;
  mt->formattype = FORMAT_WaveFormatEx;
  mt->cbFormat = sizeof(WAVEFORMATEX);
  mt->pbFormat = reinterpret_cast<BYTE*>(wf);
  return S_OK;
}

bool IsPcmType(const AM_MEDIA_TYPE& mt, int sampleRate, int channels) {
  if (mt.majortype != MEDIATYPE_Audio || mt.subtype != MEDIASUBTYPE_PCM || mt.formattype != FORMAT_WaveFormatEx ||
      !mt.pbFormat || mt.cbFormat < sizeof(WAVEFORMATEX))
    return false;
  const auto* wf = reinterpret_cast<const WAVEFORMATEX*>(mt.pbFormat);
  return wf->wFormatTag == WAVE_FORMAT_PCM && wf->wBitsPerSample == 16 && wf->nChannels == channels &&
         int(wf->nSamplesPerSec) == sampleRate && wf->nBlockAlign == channels * 2;
}

REFERENCE_TIME FramesToTime(REFERENCE_TIME base, LONGLONG frames, int sampleRate) {
  if (sampleRate <= 0) return base;
  // Whole seconds and the rest apart: no overflow for hours of sound.
  const LONGLONG whole = frames / sampleRate, rest = frames % sampleRate;
  return base + whole * 10000000LL + rest * 10000000LL / sampleRate;
}

}  // namespace aacfilters
