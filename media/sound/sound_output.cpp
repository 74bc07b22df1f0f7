#include "media/sound/sound_output.h"

cSoundOutput::~cSoundOutput() { platform::CloseAudioDevice(); }

platform::AudioDeviceState OpenSoundDevice() { return platform::OpenAudioDevice(SoundMixer()); }

void CloseSoundDevice() { platform::CloseAudioDevice(); }
