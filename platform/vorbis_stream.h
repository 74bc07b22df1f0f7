// Ogg Vorbis music decoded from a file held in memory, pulled by the mixer's
// stream voice. The piece repeats a given number of times; a repeat joins
// the last sample to the first without a gap. A decode error ends the piece.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/sound_mixer.h"

namespace platform {

class VorbisStream : public StreamSource {
public:
    static constexpr int kEndless = 0x7FFFFFFF;

    // nullptr when the bytes are not an Ogg Vorbis file of 1 or 2 channels.
    static std::unique_ptr<VorbisStream> Open(std::vector<uint8_t> bytes);
    ~VorbisStream() override;

    int Channels() const override { return m_nChannels; }
    int Rate() const override { return m_nRate; }
    int Read(float* out, int frames) override;

    // Repeats after the first play: 0 plays once, kEndless without end.
    void SetRepeats(int repeats) { m_nRepeats = repeats; }

private:
    struct Impl;
    VorbisStream() = default;
    std::unique_ptr<Impl> m_impl;
    int m_nChannels = 0;
    int m_nRate = 0;
    int m_nRepeats = 0;
    bool m_bEnded = false;
    bool m_bDecodedSinceStart = false;  // a pass that gives nothing is not repeated
};

}  // namespace platform
