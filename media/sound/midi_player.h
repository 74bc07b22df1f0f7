// The program's own MIDI player: a standard MIDI file's single-track image
// fed to the MIDI stream device in two buffers of stream records, converted
// on the fly. A thread of the player's own refills a buffer whenever the
// device hands one back, stops at the end of the song and starts it again
// when looping.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "media/sound/smf_reader.h"
#include "platform/midi_stream.h"

constexpr uint32_t kMidiBufferSize = 24000;

// Converts events of an image from `from` into stream records in the
// header's buffer (zeroed first) while they fit; returns the image bytes
// consumed. Meta events other than the tempo and the end are not written and
// neither is a system-exclusive message whose record can never fit a buffer:
// their deltas are carried (in `carry`, across buffers too) into the next
// record. When a record does not fit, the last record written is flagged for
// the callback.
size_t FillMidiBuffer(const std::vector<uint8_t>& image, size_t from, platform::MidiHeader& header, uint32_t& carry);

// The synthesizer every player plays into: General MIDI through FluidSynth,
// made at the first use (the sound font is loaded once per run).
std::shared_ptr<platform::MidiSynth> MidiPlayerSynth();
// Tests: play into another synth (null: the FluidSynth one again).
void SetMidiPlayerSynth(std::shared_ptr<platform::MidiSynth> synth);

class cMidiPlayer : public cSmfReader {
public:
    explicit cMidiPlayer(const std::string& fileName);
    ~cMidiPlayer() override;  // ends the thread before the stream goes

    void Play(int unused1, int unused2, int loop);
    void Stop(int pause);

    // Tests.
    int State();
    int32_t ReadPosition();
    // Waits until the thread has handled every buffer handed back; false
    // when it is still busy after `ms`.
    bool WaitIdle(int ms = 5000);
    platform::MidiStream* Stream() { return m_Stream.get(); }
    // An end-of-song notice for the player's thread, as the stream sends it
    // (the thread may handle it late, after a stop or pause).
    void PostSongEndNotice();
    // The refill step the thread runs for a buffer handed back.
    void Refill() { QueueBuffer(); }

private:
    struct Notice {
        platform::MidiHeader* header;  // null: quit
        bool songEnd;
    };
    // The player thread's queue of returned buffers.
    class NoticeQueue {
    public:
        void Post(Notice n);
        Notice Get();
        void Handled();
        bool WaitIdle(int ms);

    private:
        std::mutex m_Mutex;
        std::condition_variable m_Cond;
        std::deque<Notice> m_Notices;
        int m_nPending = 0;
    };

    void Open();
    void QueueBuffer();
    size_t FillBuffer(platform::MidiHeader& header);
    void MidiThreadProc();
    void Report(const char* what, int error);

    int32_t m_nNextBuffer = 0;
    std::unique_ptr<platform::MidiStream> m_Stream;
    platform::MidiHeader m_Headers[2];
    std::vector<uint8_t> m_Buffers[2];
    uint8_t m_nBuffers = 2;
    int32_t m_nBufferSize = kMidiBufferSize;
    int32_t m_nReadPos = static_cast<int32_t>(kSmfImageHeader);
    int32_t m_nState = 0;  // 0 stopped, 1 playing, 2 paused
    std::thread m_Thread;
    int32_t m_bLoop = 0;
    uint32_t m_nCarry = 0;  // ticks of events not written, for the next record
    // Guards the read position, next buffer, state and carry: the main
    // thread and the player's thread both drive the player.
    std::recursive_mutex m_Mutex;
    NoticeQueue m_Notices;
};
