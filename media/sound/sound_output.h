// Where every sound of the program goes: the mixer and the sound device it
// feeds. The device is opened once, at the first music set-up of the
// start-up, and closed at the end of the program.
#pragma once

#include "platform/audio_device.h"
#include "platform/sound_mixer.h"

class cSoundOutput {
public:
    cSoundOutput() = default;
    ~cSoundOutput();  // closes the device before the mixer goes
    platform::SoundMixer m_Mixer;
};
extern cSoundOutput g_SoundOutput;

inline platform::SoundMixer& SoundMixer() { return g_SoundOutput.m_Mixer; }

// Opens the device on the first call; later calls give the first result.
platform::AudioDeviceState OpenSoundDevice();
void CloseSoundDevice();
