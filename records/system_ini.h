// "System.ini": start-up overrides of the graphics back end, window mode,
// colour depth, vertical sync, font caching, frame-rate display, language,
// MIDI path, a stage to play at once, and four replay options. The keys and
// defaults of the first eleven are the start-up settings of the system data.
// The program reads the file once and never writes it.
#pragma once
#include <string>

#include "base/checked_vector.h"
#include "records/system_data.h"

struct SystemIniReplayKey {
    int bSet = 0;  // the file gave a value that is not negative
    int nValue = 0;
};

struct SystemIniData {
    int Direct3D = 2;
    int WindowMode = 0;
    int Bpp = 0;
    int VSync = 2;
    int D3D_FontCache = 0;
    int DD_FontCache = 1;
    int DD_VideoStretch = 0;
    int ShowFps = 1;
    int English = 0;
    int Midi_DirectMusic = 1;
    std::string FreeStage;  // CP932, at most 259 bytes
    SystemIniReplayKey Replay_On;
    SystemIniReplayKey Replay_AutomaticSave;
    SystemIniReplayKey Replay_PlaybackOrder;
    SystemIniReplayKey Replay_AutomaticMessageProgress;
};

extern SystemIniData g_SystemIni;

// The four replay keys in field order, ended by an empty key.
extern const char* const g_ReplayIniKeys[5];

constexpr int kSystemIniMaxPath = 259;
constexpr int kSystemIniMaxText = 2047;  // longer keys and values are cut
constexpr int kSystemIniMaxSegments = 10000;

// The defaults from the start-up settings of the system data; the replay keys
// are not set.
void SetSystemIniDefaults(SystemIniData& ini, const cCheckedVector<cSysSetting>& settings);

// Reads the file over the values in ini. False when it cannot be opened or
// is not ended by a line "Exit" or a NUL byte; ini is then unchanged.
bool LoadSystemIni(const std::string& cp932Path, SystemIniData& ini,
                   const cCheckedVector<cSysSetting>& settings);
// The same over bytes in memory.
bool ParseSystemIni(const unsigned char* data, size_t size, SystemIniData& ini,
                    const cCheckedVector<cSysSetting>& settings);
