#include "media/sound/midi_player.h"

#include <cstring>

#include "base/log.h"
#include "media/sound/sound_output.h"
#include "platform/fluid_synth.h"

namespace {

void PutLe32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }
uint32_t Le32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

std::mutex g_SynthMutex;
std::shared_ptr<platform::MidiSynth> g_Synth;

}  // namespace

std::shared_ptr<platform::MidiSynth> MidiPlayerSynth() {
    std::lock_guard<std::mutex> lock(g_SynthMutex);
    if (!g_Synth) {
        const std::string font = platform::DefaultSoundFontPath();
        auto synth = std::make_shared<platform::FluidSynth>(SoundMixer().OutputRate(), font);
        if (!synth->HasSoundFont())
            ReportLogf("MIDI: no General MIDI sound font (%s); MIDI music plays silent",
                       font.empty() ? platform::kTimGm6mbPath : font.c_str());
        g_Synth = std::move(synth);
    }
    return g_Synth;
}

void SetMidiPlayerSynth(std::shared_ptr<platform::MidiSynth> synth) {
    std::lock_guard<std::mutex> lock(g_SynthMutex);
    g_Synth = std::move(synth);
}

size_t FillMidiBuffer(const std::vector<uint8_t>& image, size_t from, platform::MidiHeader& header, uint32_t& carry) {
    std::memset(header.data, 0, header.bufferLength);
    const size_t end = image.size();
    size_t src = from;
    uint32_t out = 0;
    int64_t lastRecord = -1;
    while (src < end) {
        uint32_t delta = 0;
        const int n = ReadVarLen(image.data() + src, end - src, &delta);
        if (n == 0 || src + static_cast<size_t>(n) >= end) {
            src = end;  // not an image of ours: nothing more to play
            break;
        }
        const size_t p = src + static_cast<size_t>(n);
        const uint8_t status = image[p];
        uint32_t event = 0, recordSize = 12, longLength = 0;
        size_t srcLength = 0;
        bool written = true, songEnd = false;
        if (status >= 0xC0 && status <= 0xDF) {
            srcLength = 2;
            if (p + srcLength > end) srcLength = end - p;
            event = (srcLength > 1 ? image[p + 1] : 0u) << 8 | status;
        } else if (status == 0xFF || status == 0xF0 || status == 0xF7) {
            const size_t head = status == 0xFF ? 2 : 1;
            uint32_t length = 0;
            const int m = p + head <= end ? ReadVarLen(image.data() + p + head, end - p - head, &length) : 0;
            if (m == 0 || length > end - p - head - static_cast<size_t>(m)) {
                src = end;
                break;
            }
            srcLength = head + static_cast<size_t>(m) + length;
            const uint8_t* body = image.data() + p + head + m;
            if (status == 0xFF) {
                const uint8_t type = image[p + 1];
                if (type == 0x51 && length == 3) {
                    event = platform::kMevtTempo << 24 | body[0] << 16 | body[1] << 8 | body[2];
                } else if (type == 0x2F) {
                    event = platform::kMevtCallback | 0x2FFF;
                    songEnd = true;
                } else {
                    written = false;
                }
            } else {
                longLength = length + 1;
                recordSize = 12 + ((longLength + 3) & ~3u);
                if (recordSize > header.bufferLength) {
                    written = false;  // can never be sent
                } else {
                    event = platform::kMevtLongMsg << 24 | longLength;
                }
            }
        } else {
            srcLength = 3;
            if (p + srcLength > end) srcLength = end - p;
            event = (srcLength > 2 ? image[p + 2] : 0u) << 16 | (srcLength > 1 ? image[p + 1] : 0u) << 8 | status;
        }
        if (!written) {
            carry = delta > UINT32_MAX - carry ? UINT32_MAX : carry + delta;
            src = p + srcLength;
            continue;
        }
        if (out + recordSize > header.bufferLength) {
            if (lastRecord >= 0) {
                uint8_t* word = header.data + lastRecord + 8;
                PutLe32(word, Le32(word) | platform::kMevtCallback);
            }
            break;
        }
        uint8_t* rec = header.data + out;
        PutLe32(rec, delta > UINT32_MAX - carry ? UINT32_MAX : carry + delta);
        PutLe32(rec + 8, event);
        if (longLength) {
            rec[12] = status;
            std::memcpy(rec + 13, image.data() + p + srcLength - (longLength - 1), longLength - 1);
        }
        carry = 0;
        lastRecord = out;
        out += recordSize;
        src = p + srcLength;
        if (songEnd) break;
    }
    header.bytesRecorded = out;
    header.flags = 0;
    header.offset = 0;
    header.unplayed = false;
    return src - from;
}

void cMidiPlayer::NoticeQueue::Post(Notice n) {
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Notices.push_back(n);
        ++m_nPending;
    }
    m_Cond.notify_all();
}

cMidiPlayer::Notice cMidiPlayer::NoticeQueue::Get() {
    std::unique_lock<std::mutex> lock(m_Mutex);
    m_Cond.wait(lock, [this] { return !m_Notices.empty(); });
    const Notice n = m_Notices.front();
    m_Notices.pop_front();
    return n;
}

void cMidiPlayer::NoticeQueue::Handled() {
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        --m_nPending;
    }
    m_Cond.notify_all();
}

bool cMidiPlayer::NoticeQueue::WaitIdle(int ms) {
    std::unique_lock<std::mutex> lock(m_Mutex);
    return m_Cond.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_nPending == 0; });
}

cMidiPlayer::cMidiPlayer(const std::string& fileName) : cSmfReader(fileName) {
    if (HasImage()) Open();
}

void cMidiPlayer::Report(const char* what, int error) {
    ReportLogfDebug("Midi %s %s %s", m_strFile.c_str(), what, platform::MidiErrorText(error));
}

void cMidiPlayer::Open() {
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    m_nNextBuffer = 0;
    for (int i = 0; i < m_nBuffers; ++i) {
        m_Buffers[i].assign(static_cast<size_t>(m_nBufferSize), 0);
        m_Headers[i] = platform::MidiHeader{};
        m_Headers[i].data = m_Buffers[i].data();
        m_Headers[i].bufferLength = static_cast<uint32_t>(m_nBufferSize);
        m_Headers[i].user = static_cast<uintptr_t>(i);
    }
    m_Thread = std::thread([this] { MidiThreadProc(); });
    // The done notice is taken while the header cannot change: a header
    // handed back unplayed never ends the song.
    m_Stream = std::make_unique<platform::MidiStream>(SoundMixer(), MidiPlayerSynth(), [this](platform::MidiHeader* h) {
        const bool end = !h->unplayed && h->offset + 12 <= h->bytesRecorded &&
                         (Le32(h->data + h->offset + 8) & 0xFFFFFF) == 0x2FFF;
        m_Notices.Post({h, end});
    });
    const int err = m_Stream->SetTimeDivision(static_cast<uint32_t>(m_Image[12] << 8 | m_Image[13]));
    if (err) Report("Property", err);
    m_nReadPos = static_cast<int32_t>(kSmfImageHeader);
    m_nState = 0;
    QueueBuffer();
}

cMidiPlayer::~cMidiPlayer() {
    if (!HasImage()) return;
    m_Notices.Post({nullptr, false});
    if (m_Thread.joinable()) m_Thread.join();
    int err = m_Stream->Reset();
    if (err) Report("Reset", err);
    for (platform::MidiHeader& h : m_Headers)
        if ((err = m_Stream->Unprepare(&h)) != 0) Report("Unprepare", err);
    m_Stream.reset();
}

size_t cMidiPlayer::FillBuffer(platform::MidiHeader& header) {
    return FillMidiBuffer(m_Image, static_cast<size_t>(m_nReadPos), header, m_nCarry);
}

void cMidiPlayer::QueueBuffer() {
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    if (static_cast<size_t>(m_nReadPos) >= m_Image.size()) return;
    platform::MidiHeader& header = m_Headers[m_nNextBuffer];
    // The stream hands buffers back under its lock.
    if (m_Stream->IsQueued(&header)) return;
    m_nReadPos += static_cast<int32_t>(FillBuffer(header));
    int err = m_Stream->Prepare(&header);
    if (err) Report("Prepare", err);
    if ((err = m_Stream->Out(&header)) != 0) Report("Out", err);
    m_nNextBuffer = (m_nNextBuffer + 1) % m_nBuffers;
}

void cMidiPlayer::Play(int, int, int loop) {
    if (!HasImage()) return;
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    m_bLoop = loop;
    if (m_nState == 1) return;
    const int err = m_Stream->Restart();
    if (err) Report("Restart", err);
    const int previous = m_nState;
    m_nState = 1;
    if (previous == 2) return;
    if (static_cast<size_t>(m_nReadPos) < m_Image.size()) QueueBuffer();
}

void cMidiPlayer::Stop(int pause) {
    if (!HasImage()) return;
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    if (pause) {
        if (m_nState != 1) return;
        const int err = m_Stream->Pause();
        if (err) Report("Pause", err);
        m_nState = 2;
        return;
    }
    const int err = m_Stream->Stop();
    if (err) Report("Stop", err);
    m_nState = 0;
    m_nReadPos = static_cast<int32_t>(kSmfImageHeader);
    m_nCarry = 0;
    QueueBuffer();
}

void cMidiPlayer::MidiThreadProc() {
    for (;;) {
        const Notice n = m_Notices.Get();
        if (!n.header) break;
        {
            std::lock_guard<std::recursive_mutex> lock(m_Mutex);
            if (n.songEnd) {
                // A notice handled after the player was stopped or paused
                // must not start the song again.
                if (m_nState == 1) {
                    Stop(0);
                    if (m_bLoop) Play(0, 0, 1);
                }
            } else if (static_cast<size_t>(m_nReadPos) < m_Image.size()) {
                QueueBuffer();
            }
        }
        m_Notices.Handled();
    }
    m_Notices.Handled();
}

void cMidiPlayer::PostSongEndNotice() {
    if (HasImage()) m_Notices.Post({&m_Headers[0], true});
}

int cMidiPlayer::State() {
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    return m_nState;
}

int32_t cMidiPlayer::ReadPosition() {
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    return m_nReadPos;
}

bool cMidiPlayer::WaitIdle(int ms) { return m_Notices.WaitIdle(ms); }
