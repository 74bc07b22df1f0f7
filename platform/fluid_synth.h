// The General MIDI synthesizer of the MIDI stream device: FluidSynth without
// an audio driver, rendered by the stream on the audio thread.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/midi_stream.h"

namespace platform {

// The sound font to load: the system's default General MIDI font, else
// TimGM6mb; empty when neither exists.
std::string DefaultSoundFontPath();
extern const char* const kTimGm6mbPath;

class FluidSynth : public MidiSynth {
public:
    // A synth at `rate` with the sound font at `soundFont` loaded (none when
    // empty or unreadable: it plays silent).
    FluidSynth(int rate, const std::string& soundFont);
    ~FluidSynth() override;
    FluidSynth(const FluidSynth&) = delete;
    FluidSynth& operator=(const FluidSynth&) = delete;

    bool HasSoundFont() const { return m_nFont >= 0; }
    int ActiveVoices() const;

    int Rate() const override { return m_nRate; }
    void PowerOn() override;
    void AllNotesOff() override;
    void ShortMessage(uint8_t status, uint8_t data1, uint8_t data2) override;
    void Sysex(const uint8_t* data, int length) override;
    void Render(float* stereo, int frames) override;
    void SetGainFactor(float factor) override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_Impl;
    int m_nRate;
    int m_nFont = -1;
    double m_dDefaultGain = 0.2;
    static constexpr int kBlock = 64;  // the synth's own block of frames
    uint64_t m_nRendered = 0;
    int m_nDiscard = 0;
};

}  // namespace platform
