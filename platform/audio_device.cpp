#include "platform/audio_device.h"

#include <SDL.h>

namespace platform {

namespace {

AudioDeviceState g_state = AudioDeviceState::NotTried;
SDL_AudioDeviceID g_device = 0;
AudioDeviceForce g_force = AudioDeviceForce::None;

void Callback(void* userdata, Uint8* stream, int len) {
    static_cast<SoundMixer*>(userdata)->Render(reinterpret_cast<float*>(stream),
                                                len / static_cast<int>(2 * sizeof(float)));
}

}  // namespace

AudioDeviceState OpenAudioDevice(SoundMixer& mixer) {
    if (g_state != AudioDeviceState::NotTried) return g_state;
    switch (g_force) {
        case AudioDeviceForce::Absent: return g_state = AudioDeviceState::NoDevice;
        case AudioDeviceForce::OpenFails: return g_state = AudioDeviceState::OpenFailed;
        case AudioDeviceForce::Offline: return g_state = AudioDeviceState::Open;
        case AudioDeviceForce::None: break;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return g_state = AudioDeviceState::NoDevice;
    SDL_AudioSpec want{};
    want.freq = SoundMixer::kDefaultRate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = 512;
    want.callback = &Callback;
    want.userdata = &mixer;
    SDL_AudioSpec have{};
    g_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (g_device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return g_state = AudioDeviceState::OpenFailed;
    }
    mixer.SetOutputRate(have.freq);
    SDL_PauseAudioDevice(g_device, 0);
    return g_state = AudioDeviceState::Open;
}

AudioDeviceState AudioDeviceStatus() { return g_state; }

void CloseAudioDevice() {
    if (g_device != 0) {
        SDL_CloseAudioDevice(g_device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        g_device = 0;
    }
    g_state = AudioDeviceState::NotTried;
}

void ForceAudioDevice(AudioDeviceForce force) { g_force = force; }

}  // namespace platform
