// RIFF WAVE files read into memory for the sound-effect buffers.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The 18-byte format record of a WAV file.
struct WAVEFORMATEX {
    uint16_t wFormatTag = 0;
    uint16_t nChannels = 0;
    uint32_t nSamplesPerSec = 0;
    uint32_t nAvgBytesPerSec = 0;
    uint16_t nBlockAlign = 0;
    uint16_t wBitsPerSample = 0;
    uint16_t cbSize = 0;
};

struct DS_WAVEDATA {
    std::vector<uint8_t> data;  // the "data" chunk
    int32_t nSize = 0;          // its size in bytes
    WAVEFORMATEX wfx;
};

// Reads a WAV file (the path layer's CP932 path): the "RIFF" chunk of form
// "WAVE", its "fmt " chunk (14 to 18 bytes read, no extended format) and the
// "data" chunk after it. A "data" chunk longer than the file gives the whole
// frames present. False on failure; a damaged file is reported.
bool DS_LoadWave(const std::string& fileName, DS_WAVEDATA& wave);
void DS_FreeWave(DS_WAVEDATA& wave);
