#include "media/sound/vox_channel.h"

#include "media/sound/sound_output.h"
#include "platform/fs.h"

namespace {
bool g_bVoxUnavailable = false;
}

cVox::cVox() : m_nVoice(SoundMixer().CreateStreamVoice()) {}

cVox::~cVox() { SoundMixer().Release(m_nVoice); }

uint8_t cVox::Load(const char* fileName) {
    Release();
    auto bytes = platform::ReadWholeFile(fileName ? fileName : "");
    if (!bytes) return 0;
    std::shared_ptr<platform::VorbisStream> stream = platform::VorbisStream::Open(std::move(*bytes));
    if (!stream) return 0;
    m_Stream = stream;
    SoundMixer().SetStream(m_nVoice, std::move(stream));
    SetVolume(1.0f);
    return 1;
}

void cVox::Play() { SoundMixer().Play(m_nVoice, false); }

void cVox::Stop() { SoundMixer().Stop(m_nVoice); }

void cVox::Release() {
    SoundMixer().SetStream(m_nVoice, nullptr);
    m_Stream.reset();
}

void cVox::SetLoop(int repeats) {
    if (!m_Stream) return;
    auto lock = SoundMixer().Lock();  // the audio thread reads it while decoding
    m_Stream->SetRepeats(repeats);
}

void cVox::SetVolume(float volume) {
    m_fVolume = volume;
    SoundMixer().SetStreamVolume(m_nVoice, volume);
}

void cVox::Destroy() { delete this; }

bool cVox::IsPlaying() { return SoundMixer().IsPlaying(m_nVoice); }

cVox* CreateVox() { return new cVox(); }

void SetVoxUnavailable(bool on) { g_bVoxUnavailable = on; }
bool VoxAvailable() { return !g_bVoxUnavailable; }
