// The MIDI stream device: queued buffers of stream records played against
// the sample clock of the sound mixer, each record at its exact sample, into
// a synthesizer that renders as one more stream voice of the mixer.
//
// A record is three 32-bit words (delta ticks, stream id 0, event), a long
// message's bytes following padded to 4. The event's top byte is its kind:
// 0x00 a short message (status | data1 << 8 | data2 << 16), 0x01 a tempo in
// µs per quarter note, 0x80 a long message of the low 24 bits' bytes; bit
// 0x40000000 asks for the buffer's offset to point at the record once it has
// played.
//
// Time: a tick lasts tempo / division µs (500,000 µs per quarter note until
// a tempo record; stop keeps the tempo); with an SMPTE division (top bit set)
// a tick is 1 / (frames per second × ticks per frame) s, -29 being 29.97. A
// record plays at sample floor(Σ(ticks × tempo) × rate / (division × 10^6)).
//
// Every call takes the mixer's lock: the audio thread plays the queue under
// it. Buffers come back through the done notice (on the audio thread, in the
// block that played their last record; on the calling thread for stop and
// reset).
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

#include "platform/sound_mixer.h"

namespace platform {

// The synthesizer a stream plays into. Rendering happens on the audio thread
// only (under the mixer's lock); so do the messages.
class MidiSynth {
public:
    virtual ~MidiSynth() = default;
    virtual int Rate() const = 0;
    virtual void PowerOn() = 0;      // programs and controllers to their start
    virtual void AllNotesOff() = 0;
    virtual void ShortMessage(uint8_t status, uint8_t data1, uint8_t data2) = 0;
    virtual void Sysex(const uint8_t* data, int length) = 0;  // without F0 and F7
    virtual void Render(float* stereo, int frames) = 0;      // overwrites
    virtual void SetGainFactor(float factor) = 0;  // × the default gain
};

constexpr uint32_t kMevtShortMsg = 0x00;
constexpr uint32_t kMevtTempo = 0x01;
constexpr uint32_t kMevtLongMsg = 0x80;
constexpr uint32_t kMevtCallback = 0x40000000;

constexpr uint32_t kMhdrDone = 0x1;
constexpr uint32_t kMhdrPrepared = 0x2;
constexpr uint32_t kMhdrInQueue = 0x4;

struct MidiHeader {
    uint8_t* data = nullptr;
    uint32_t bufferLength = 0;
    uint32_t bytesRecorded = 0;
    uintptr_t user = 0;
    uint32_t flags = 0;
    uint32_t offset = 0;  // the last played record with the callback flag
    bool unplayed = false;  // handed back by a stop or reset
};

enum MidiError : int {
    kMidiOk = 0,
    kMidiInvalidHandle = 5,
    kMidiInvalidParam = 11,
    kMidiUnprepared = 64,
    kMidiStillPlaying = 65,
};
// The text of an error code, for the messages.
const char* MidiErrorText(int code);

class MidiStream {
public:
    using DoneNotice = std::function<void(MidiHeader*)>;
    // Opens a stopped stream playing into the synth through the mixer. The
    // synth is reset to power-on.
    MidiStream(SoundMixer& mixer, std::shared_ptr<MidiSynth> synth, DoneNotice done);
    ~MidiStream();  // close: the voice leaves the mixer
    MidiStream(const MidiStream&) = delete;
    MidiStream& operator=(const MidiStream&) = delete;

    int SetTimeDivision(uint32_t division);
    int Prepare(MidiHeader* header);
    int Unprepare(MidiHeader* header);
    int Out(MidiHeader* header);  // also while stopped or paused
    // The header is still queued (read under the lock the stream hands
    // buffers back with).
    bool IsQueued(const MidiHeader* header);
    int Restart();
    int Pause();  // the position is kept
    int Stop();   // queued buffers come back at once; the position rewinds
    int Reset();  // as stop, every note off

    uint64_t Position();  // samples played since the last stop (tests)

private:
    class Source;
    SoundMixer& m_Mixer;
    std::shared_ptr<Source> m_Source;
    SoundMixer::VoiceId m_nVoice = 0;
};

}  // namespace platform
