// The AAC splitter and decoder: DirectShow filters of AAC sound in MP4 (.m4a) and ADTS
// (.aac) files, registered in the system by regsvr32. The splitter reads the file through
// the source's IAsyncReader ("Input") and hands on the compressed frames ("Output"); the
// decoder ("XForm In") gives 16-bit PCM ("XForm Out").
#pragma once

#include <windows.h>

// {8B1F2D6C-94E0-4A37-B5C8-E06A3F7D9152}
const CLSID CLSID_KTAACSplitter = {0x8B1F2D6C, 0x94E0, 0x4A37, {0xB5, 0xC8, 0xE0, 0x6A, 0x3F, 0x7D, 0x91, 0x52}};
// {D0C47A95-2E6F-4813-9B7D-46A1E8C5F2B3}
const CLSID CLSID_KTAACDecoder = {0xD0C47A95, 0x2E6F, 0x4813, {0x9B, 0x7D, 0x46, 0xA1, 0xE8, 0xC5, 0xF2, 0xB3}};

// The compressed sound between the two: raw AAC frames set up by the AudioSpecificConfig
// behind the WAVEFORMATEX (MP4), or ADTS frames carrying their own headers.
const WORD kWaveFormatRawAac = 0x00FF;
const WORD kWaveFormatAdtsAac = 0x1600;
