// The sound device: the program's only SDL audio code. The device is opened
// once on the main thread and closed at the end; its callback pulls one block
// of about 10 ms from the mixer and does nothing else.
#pragma once

#include "platform/sound_mixer.h"

namespace platform {

enum class AudioDeviceState {
    NotTried,
    Open,
    NoDevice,    // no sound device is available
    OpenFailed,  // a device exists but would not open
};

// Opens the default output device at 48,000 Hz stereo float (another rate if
// the device insists; the mixer follows it). Only the first call tries.
AudioDeviceState OpenAudioDevice(SoundMixer& mixer);
AudioDeviceState AudioDeviceStatus();
// Closes the device; the next OpenAudioDevice tries again.
void CloseAudioDevice();

// Tests: pretend instead of opening the device at the next try.
enum class AudioDeviceForce {
    None,       // the real device
    Absent,     // no sound device
    OpenFails,  // the device refuses to open
    Offline,    // counts as open, but nothing pulls from the mixer: the test renders
};
void ForceAudioDevice(AudioDeviceForce force);

}  // namespace platform
