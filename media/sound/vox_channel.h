// The ogg channel object the music manager plays ogg files on: one stream
// voice of the mixer fed by a whole ogg file decoded on the audio thread.
#pragma once
#include <memory>
#include <string>

#include "platform/sound_mixer.h"
#include "platform/vorbis_stream.h"

class cVox {
public:
    cVox();
    virtual ~cVox();
    // Loads the whole file (path layer) and sets the volume back to 1.0;
    // 0 when it is not a playable ogg file.
    virtual uint8_t Load(const char* fileName);
    virtual void Play();
    virtual void Stop();
    // Releases the file loaded before.
    virtual void Release();
    // Repeats after the first play: 0 once, 0x7FFFFFFF without end.
    virtual void SetLoop(int repeats);
    virtual void SetVolume(float volume);  // 0..1
    // Destroys the object (and stops its sound).
    virtual void Destroy();

    float Volume() const { return m_fVolume; }
    bool IsPlaying();

private:
    platform::SoundMixer::VoiceId m_nVoice = 0;
    std::shared_ptr<platform::VorbisStream> m_Stream;
    float m_fVolume = 1.0f;
};

// The channel factory; null when none can be made.
cVox* CreateVox();
// Tests: make the ogg library unusable (DS_OggInit then fails).
void SetVoxUnavailable(bool on);
bool VoxAvailable();
