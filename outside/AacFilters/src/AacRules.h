// The AAC filters' decisions on media types and sample times, without DirectShow objects.
#pragma once

#include <windows.h>
#include <dshow.h>

namespace aacfilters {

// The audio subtype of a wave format tag ({tag}-0000-0010-8000-00AA00389B71).
GUID WaveSubtype(WORD tag);

// The splitter's input: a byte stream of any subtype.
bool IsStreamType(const AM_MEDIA_TYPE& mt);

// The compressed type between splitter and decoder: a WAVEFORMATEX with `configSize`
// config bytes behind it. Fills *mt (its format block from CoTaskMemAlloc).
HRESULT MakeAacType(WORD tag, int sampleRate, int channels, const BYTE* config, int configSize, AM_MEDIA_TYPE* mt);

// The decoder's input check: audio, one of the two AAC subtypes matching its format tag,
// a WAVEFORMATEX that holds what it says, a rate and channel count a stream can have.
// On success the rate, channels and config are handed out (config points into mt).
bool ReadAacType(const AM_MEDIA_TYPE& mt, int* sampleRate, int* channels, const BYTE** config, int* configSize);

// The decoder's output: 16-bit PCM at the input's rate, one or two channels.
HRESULT MakePcmType(int sampleRate, int channels, AM_MEDIA_TYPE* mt);
bool IsPcmType(const AM_MEDIA_TYPE& mt, int sampleRate, int channels);

// The time of a sample `frames` PCM frames after `base` (100-ns units).
REFERENCE_TIME FramesToTime(REFERENCE_TIME base, LONGLONG frames, int sampleRate);

}  // namespace aacfilters
