#include "platform/midi_stream.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform {

namespace {

uint32_t Le32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

constexpr uint32_t kDefaultTempo = 500000;  // µs per quarter note
constexpr uint32_t kDefaultDivision = 96;

}  // namespace

const char* MidiErrorText(int code) {
    switch (code) {
        case kMidiOk: return "no error";
        case kMidiInvalidHandle: return "invalid stream handle";
        case kMidiInvalidParam: return "invalid parameter";
        case kMidiUnprepared: return "header not prepared";
        case kMidiStillPlaying: return "buffer still queued";
        default: return "unknown MIDI error";
    }
}

class MidiStream::Source : public StreamSource {
public:
    Source(std::shared_ptr<MidiSynth> synth, DoneNotice done) : m_Synth(std::move(synth)), m_Done(std::move(done)) {}

    int Channels() const override { return 2; }
    int Rate() const override { return m_Synth->Rate(); }

    int Read(float* out, int frames) override {
        if (s_owner != this) {  // another stream has the synth
            std::fill(out, out + 2 * frames, 0.0f);
            return frames;
        }
        int done = 0;
        while (done < frames) {
            int n = frames - done;
            if (m_bRunning) n = static_cast<int>(std::min<uint64_t>(static_cast<uint64_t>(n), PlayDue()));
            if (n > 0) {
                m_Synth->Render(out + 2 * done, n);
                done += n;
                if (m_bRunning) m_nPlayed += static_cast<uint64_t>(n);
            }
        }
        return frames;
    }

    int SetDivision(uint32_t division) {
        if (division & 0x8000) {
            const int fps = -static_cast<int8_t>(division >> 8);
            if ((fps != 24 && fps != 25 && fps != 29 && fps != 30) || (division & 0xFF) == 0) return kMidiInvalidParam;
        } else if (division == 0 || division > 0x7FFF) {
            return kMidiInvalidParam;
        }
        m_nDivision = division;
        return kMidiOk;
    }

    void Flush(bool notesOff) {
        std::vector<MidiHeader*> back(m_Queue.begin(), m_Queue.end());
        m_Queue.clear();
        m_nOffset = 0;
        m_nLastCallback = 0;
        m_bRunning = false;
        m_nPlayed = 0;
        m_nAccum = 0;
        if (notesOff) m_Synth->AllNotesOff();
        for (MidiHeader* h : back) {
            h->flags = (h->flags & ~kMhdrInQueue) | kMhdrDone;
            h->offset = 0;
            h->unplayed = true;
            m_Done(h);
        }
    }

    static Source* s_owner;  // the stream that renders the synth
    std::shared_ptr<MidiSynth> m_Synth;
    DoneNotice m_Done;
    std::deque<MidiHeader*> m_Queue;
    uint32_t m_nOffset = 0;        // next record in the front buffer
    uint32_t m_nLastCallback = 0;  // its last played record with the callback flag
    bool m_bRunning = false;
    uint32_t m_nTempo = kDefaultTempo;
    uint32_t m_nDivision = kDefaultDivision;
    uint64_t m_nAccum = 0;   // Σ ticks × their weight since the last stop
    uint64_t m_nPlayed = 0;  // samples since the last stop

private:
    // Weight of a tick and the divisor turning weights into seconds.
    uint64_t TickWeight() const {
        if (!(m_nDivision & 0x8000)) return m_nTempo;
        return -static_cast<int8_t>(m_nDivision >> 8) == 29 ? 1001 : 1000;
    }
    uint64_t Divisor() const {
        if (!(m_nDivision & 0x8000)) return static_cast<uint64_t>(m_nDivision) * 1000000u;
        int fps = -static_cast<int8_t>(m_nDivision >> 8);
        if (fps == 29) fps = 30;
        return static_cast<uint64_t>(fps) * (m_nDivision & 0xFF) * 1000u;
    }
    uint64_t SampleOf(uint64_t accum) const {
        return static_cast<uint64_t>(static_cast<unsigned __int128>(accum) * static_cast<uint64_t>(Rate()) / Divisor());
    }

    // Plays the records due at the current sample; returns the samples until
    // the next one (all of them when nothing is queued).
    uint64_t PlayDue() {
        while (!m_Queue.empty()) {
            MidiHeader* h = m_Queue.front();
            if (m_nOffset + 12 > h->bytesRecorded) {
                m_Queue.pop_front();
                h->flags = (h->flags & ~kMhdrInQueue) | kMhdrDone;
                h->offset = m_nLastCallback;
                m_nOffset = 0;
                m_nLastCallback = 0;
                m_Done(h);
                continue;
            }
            const uint8_t* rec = h->data + m_nOffset;
            const uint64_t accum = m_nAccum + static_cast<uint64_t>(Le32(rec)) * TickWeight();
            const uint64_t due = SampleOf(accum);
            if (due > m_nPlayed) return due - m_nPlayed;
            m_nAccum = accum;
            const uint32_t event = Le32(rec + 8);
            uint32_t size = 12;
            switch ((event >> 24) & 0xBF) {
                case kMevtShortMsg: {
                    const uint8_t status = event & 0xFF;
                    if (status >= 0x80 && status < 0xF0)
                        m_Synth->ShortMessage(status, (event >> 8) & 0x7F, (event >> 16) & 0x7F);
                    break;
                }
                case kMevtTempo:
                    m_nTempo = event & 0xFFFFFF;
                    break;
                case kMevtLongMsg: {
                    const uint32_t length = event & 0xFFFFFF;
                    size += (length + 3) & ~3u;
                    if (m_nOffset + size > h->bytesRecorded) {  // cut short: the buffer ends here
                        size = h->bytesRecorded - m_nOffset;
                        break;
                    }
                    const uint8_t* p = rec + 12;
                    if (length >= 2 && p[0] == 0xF0) {
                        const int n = static_cast<int>(length) - 1 - (p[length - 1] == 0xF7 ? 1 : 0);
                        m_Synth->Sysex(p + 1, n);
                    }
                    break;
                }
                default:
                    break;
            }
            if (event & kMevtCallback) m_nLastCallback = m_nOffset;
            m_nOffset += size;
        }
        return UINT64_MAX;
    }
};

MidiStream::Source* MidiStream::Source::s_owner = nullptr;

MidiStream::MidiStream(SoundMixer& mixer, std::shared_ptr<MidiSynth> synth, DoneNotice done)
    : m_Mixer(mixer), m_Source(std::make_shared<Source>(std::move(synth), std::move(done))) {
    auto lock = m_Mixer.Lock();
    Source::s_owner = m_Source.get();
    m_Source->m_Synth->PowerOn();
    m_nVoice = m_Mixer.CreateStreamVoice();
    m_Mixer.SetStream(m_nVoice, m_Source);
    m_Mixer.Play(m_nVoice, false);
}

MidiStream::~MidiStream() {
    auto lock = m_Mixer.Lock();
    m_Source->Flush(true);
    if (Source::s_owner == m_Source.get()) Source::s_owner = nullptr;
    m_Mixer.Release(m_nVoice);
}

int MidiStream::SetTimeDivision(uint32_t division) {
    auto lock = m_Mixer.Lock();
    return m_Source->SetDivision(division);
}

bool MidiStream::IsQueued(const MidiHeader* header) {
    auto lock = m_Mixer.Lock();
    return header && (header->flags & kMhdrInQueue) != 0;
}

int MidiStream::Prepare(MidiHeader* header) {
    if (!header || !header->data) return kMidiInvalidParam;
    auto lock = m_Mixer.Lock();
    header->flags |= kMhdrPrepared;
    return kMidiOk;
}

int MidiStream::Unprepare(MidiHeader* header) {
    if (!header) return kMidiInvalidParam;
    auto lock = m_Mixer.Lock();
    if (header->flags & kMhdrInQueue) return kMidiStillPlaying;
    header->flags &= ~kMhdrPrepared;
    return kMidiOk;
}

int MidiStream::Out(MidiHeader* header) {
    if (!header) return kMidiInvalidParam;
    auto lock = m_Mixer.Lock();
    if (!(header->flags & kMhdrPrepared)) return kMidiUnprepared;
    if (header->flags & kMhdrInQueue) return kMidiStillPlaying;
    if (header->bytesRecorded > header->bufferLength) return kMidiInvalidParam;
    header->flags = (header->flags & ~kMhdrDone) | kMhdrInQueue;
    header->offset = 0;
    header->unplayed = false;
    m_Source->m_Queue.push_back(header);
    return kMidiOk;
}

int MidiStream::Restart() {
    auto lock = m_Mixer.Lock();
    m_Source->m_bRunning = true;
    return kMidiOk;
}

int MidiStream::Pause() {
    auto lock = m_Mixer.Lock();
    if (m_Source->m_bRunning) m_Source->m_Synth->AllNotesOff();
    m_Source->m_bRunning = false;
    return kMidiOk;
}

int MidiStream::Stop() {
    auto lock = m_Mixer.Lock();
    m_Source->Flush(true);
    return kMidiOk;
}

int MidiStream::Reset() { return Stop(); }

uint64_t MidiStream::Position() {
    auto lock = m_Mixer.Lock();
    return m_Source->m_nPlayed;
}

}  // namespace platform
