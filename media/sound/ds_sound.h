// Sound effects: short WAV files, each loaded once into a buffer and
// duplicated into copies that share its data, so one effect can sound
// several times at once; a play restarts the next copy in turn.
//
// Every call does nothing (and reports success where it returns a result)
// while there is no sound device, so the game runs silent without one.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/checked_vector.h"
#include "media/sound/ds_wave.h"
#include "platform/sound_mixer.h"

using DSBUFFER = platform::SoundMixer::VoiceId;  // 0 = none

// A load entry of the sound-effect table.
struct DS_SEINFO {
    char szFile[260] = {};
    int32_t nCopies = 0;
    int32_t nVolume = 0;  // hundredths of a decibel; 0 leaves the buffer's volume
    int32_t nFlag = 0;    // 1 for the system effects
};

// A loaded effect: copy 0 holds the data, the others are duplicates.
struct DS_SEDATA {
    char szFile[260] = {};
    std::vector<DSBUFFER> vecBuffers;  // empty until loaded
    int32_t nCopies = 0;
    int32_t nNext = 0;  // the copy the next play restarts
};

// The effects in effect-number order (0..17 the system effects, then the
// database's sounds) and their load table.
extern cCheckedVector<DS_SEDATA> g_SEData;
extern cCheckedVector<DS_SEINFO> g_SEInfo;

bool DS_Init(void* window, int samplesPerSec, int bitsPerSample, int channels);
void DS_End();
int DS_LoadAllSE(cCheckedVector<DS_SEDATA>& effects, cCheckedVector<DS_SEINFO>& entries, int volume);
bool DS_LoadSE(DS_SEDATA& effect, const char* fileName, int copies, int volume);
void DS_ReleaseSE(DS_SEDATA& effect);
bool DS_CreateBuffer(DSBUFFER& buffer, const std::string& fileName);
bool DS_DuplicateBuffer(DSBUFFER& buffer, DSBUFFER source);
void DS_PlaySE(DS_SEDATA& effect, int playFlags);
int DS_SetVolume(DS_SEDATA& effect, int copy, int volume, int relative);
int DS_GetVolume(DS_SEDATA& effect, int copy);
// Plays the effect for a horizontal move (mode bit 0) and again for a
// vertical one (mode bit 1) of the input's direction bits.
void DS_PlayCursorSE(int inputBits, int mode, int effect);

// The effect of an effect number, bounds-checked.
DS_SEDATA& SeInfoAt(int index);

// Whether DS_Init has set up the sound (tests).
bool DS_HasDevice();

// The shell's view: the number of effects and a play by effect number (the
// caller has checked the number).
int DS_SECount();
void DS_PlaySE(int index, int playFlags);
