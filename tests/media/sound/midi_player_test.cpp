// The MIDI player on the stream device, rendered offline through the mixer
// into a synth that records what it is sent.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include "media/sound/bgm_manager.h"
#include "media/sound/midi_player.h"
#include "tests/media/sound/sound_test_util.h"
#include "tools/mkdemo/midi_files.h"
#include "tools/mkdemo/sound_files.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Messages with the sample they were sent at; renders a constant so the
// stream is heard.
class RecordingSynth : public platform::MidiSynth {
public:
    struct Message {
        uint64_t frame;
        uint32_t bytes;  // status | data1 << 8 | data2 << 16; sysex: 0xF0 | length << 8
        bool operator==(const Message&) const = default;
    };
    explicit RecordingSynth(int rate) : m_nRate(rate) {}
    int Rate() const override { return m_nRate; }
    void PowerOn() override { ++powerOns; }
    void AllNotesOff() override { ++notesOff; }
    void ShortMessage(uint8_t s, uint8_t d1, uint8_t d2) override {
        messages.push_back({frames, static_cast<uint32_t>(s | d1 << 8 | d2 << 16)});
    }
    void Sysex(const uint8_t*, int length) override {
        messages.push_back({frames, static_cast<uint32_t>(0xF0 | length << 8)});
    }
    void Render(float* stereo, int n) override {
        std::fill(stereo, stereo + 2 * n, 0.25f);
        frames += static_cast<uint64_t>(n);
    }
    void SetGainFactor(float f) override { gain = f; }

    std::vector<Message> Of(uint32_t bytes) {
        std::vector<Message> out;
        for (const Message& m : messages)
            if (m.bytes == bytes) out.push_back(m);
        return out;
    }

    int m_nRate;
    uint64_t frames = 0;
    int powerOns = 0, notesOff = 0;
    float gain = 1.0f;
    std::vector<Message> messages;
};

constexpr uint32_t kOn = 0x403C90, kOff = 0x3C80, kOn2 = 0x403E90;

// 480 ticks a quarter: a note, a tempo of 60 bpm at tick 480, a second note
// at tick 960 and the end at tick 1440.
Bytes TimingSong() {
    return midifiles::SmfFile(0, 480, {{0x00, 0x90, 0x3C, 0x40, 0x83, 0x60, 0x80, 0x3C, 0x00, 0x00, 0xFF, 0x51, 0x03,
                                        0x0F, 0x42, 0x40, 0x83, 0x60, 0x90, 0x3E, 0x40, 0x83, 0x60, 0x80, 0x3E, 0x00,
                                        0x00, 0xFF, 0x2F, 0x00}});
}

class MidiPlayerTest : public OfflineSoundTest {
protected:
    void SetUp() override {
        OfflineSoundTest::SetUp();
        UseRate(48000);
    }
    void TearDown() override {
        m_player.reset();
        SetMidiPlayerSynth(nullptr);
        OfflineSoundTest::TearDown();
    }
    void UseRate(int rate) {
        m_player.reset();
        SoundMixer().SetOutputRate(rate);
        m_synth = std::make_shared<RecordingSynth>(rate);
        SetMidiPlayerSynth(m_synth);
    }
    cMidiPlayer& Load(const Bytes& file) {
        m_dir.WriteFile("song.mid", std::string(file.begin(), file.end()));
        m_player = std::make_unique<cMidiPlayer>("song.mid");
        return *m_player;
    }
    // Renders in blocks of the mixer's stream chunk, letting the player's
    // thread answer after each block as a device would. The synth's frame
    // count is the stream's clock (the mixer reads a chunk ahead).
    void Play(int frames, cMidiPlayer* player = nullptr) {
        if (!player) player = m_player.get();
        std::vector<float> out(2048);
        for (int done = 0; done < frames; done += 1024) {
            SoundMixer().Render(out.data(), 1024);
            if (player && !player->WaitIdle()) {
                ADD_FAILURE() << "the player's thread does not settle";
                return;
            }
        }
    }
    std::unique_ptr<cMidiPlayer> m_player;
    std::shared_ptr<RecordingSynth> m_synth;
};

TEST_F(MidiPlayerTest, RecordsLandOnTheirSampleAtEachRate) {
    const struct {
        int rate;
        uint64_t off, on2;
    } cases[] = {{48000, 24000, 72000}, {44100, 22050, 66150}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        UseRate(c.rate);
        Load(TimingSong()).Play(0, 0, 0);
        Play(c.rate * 3);
        EXPECT_EQ(m_synth->messages,
                  (std::vector<RecordingSynth::Message>{{0, kOn}, {c.off, kOff}, {c.on2, kOn2}, {c.on2 + c.rate, 0x3E80}}));
        EXPECT_EQ(m_player->State(), 0);  // looping off: stopped at the end
        m_player->Play(0, 0, 0);           // and a later play starts again
        const uint64_t start = m_synth->frames;
        Play(1024);
        EXPECT_EQ(m_synth->messages.size(), 5u);
        EXPECT_EQ(m_synth->messages.back(), (RecordingSynth::Message{start, kOn}));
    }
}

TEST_F(MidiPlayerTest, SmpteDivisions) {
    const struct {
        uint16_t division;
        uint8_t delta[2];
        uint64_t off;
    } cases[] = {
        {0xE728, {0x87, 0x68}, 48000},  // 25 frames of 40 ticks: 1000 ticks are a second
        {0xE301, {0x80, 0x1E}, 48048},  // 29.97 frames of 1 tick: 30 ticks are 1.001 s
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.division);
        UseRate(48000);
        Load(midifiles::SmfFile(0, c.division, {{0x00, 0x90, 0x3C, 0x40, c.delta[0], c.delta[1], 0x80, 0x3C, 0x00, 0x00,
                                                 0xFF, 0x2F, 0x00}}))
            .Play(0, 0, 0);
        Play(50000);
        EXPECT_EQ(m_synth->Of(kOff), (std::vector<RecordingSynth::Message>{{c.off, kOff}}));
    }
}

TEST_F(MidiPlayerTest, PauseKeepsThePositionAndResumes) {
    cMidiPlayer& p = Load(TimingSong());
    p.Play(0, 0, 0);
    Play(12000);
    const int offBefore = m_synth->notesOff;
    p.Stop(1);
    EXPECT_EQ(p.State(), 2);
    const uint64_t at = m_synth->frames;
    EXPECT_EQ(p.Stream()->Position(), at);
    Play(48000);  // nothing plays while paused
    EXPECT_EQ(m_synth->notesOff, offBefore + 1);
    EXPECT_EQ(m_synth->messages.size(), 1u);
    EXPECT_EQ(p.Stream()->Position(), at);
    p.Play(0, 0, 0);
    EXPECT_EQ(p.State(), 1);
    const uint64_t paused = m_synth->frames - at;
    Play(24000);
    EXPECT_EQ(m_synth->Of(kOff), (std::vector<RecordingSynth::Message>{{24000 + paused, kOff}}));
}

TEST_F(MidiPlayerTest, StopRewindsAndCuesAndPlayStartsAgain) {
    cMidiPlayer& p = Load(TimingSong());
    EXPECT_GT(p.ReadPosition(), 22);  // the first buffer is cued at the open
    p.Play(0, 0, 0);
    Play(30000);
    p.Stop(0);
    EXPECT_TRUE(m_player->WaitIdle());
    EXPECT_EQ(p.State(), 0);
    EXPECT_EQ(p.Stream()->Position(), 0u);
    EXPECT_EQ(p.ReadPosition(), static_cast<int32_t>(TimingSong().size()));  // cued again (one buffer)
    Play(4800);  // stopped: nothing
    EXPECT_EQ(m_synth->Of(kOn).size(), 1u);
    p.Play(0, 0, 0);
    const uint64_t start = m_synth->frames;
    Play(4800);
    EXPECT_EQ(m_synth->Of(kOn), (std::vector<RecordingSynth::Message>{{0, kOn}, {start, kOn}}));
    // The tempo set in the first run is kept: the note ends a second later.
    Play(48000);
    EXPECT_EQ(m_synth->Of(kOff).back().frame, start + 48000u);
}

TEST_F(MidiPlayerTest, LoopRestartsAfterTheLatestEndWithEveryBufferOnce) {
    // Three buffers' worth of notes in one track, a second track ending later.
    std::vector<uint8_t> t0, t1 = {0x00, 0xC1, 0x01};
    for (int i = 0; i < 5000; ++i) midifiles::Event(t0, 1, {0x90, static_cast<uint8_t>(i % 128), 0x40});
    midifiles::Event(t0, 0, {0xFF, 0x2F, 0x00});
    midifiles::Event(t1, 6000, {0xFF, 0x2F, 0x00});
    // 480 ticks of 500,000 µs: a tick is 50 samples at 48 kHz; the end at
    // tick 6000 is sample 300,000.
    cMidiPlayer& p = Load(midifiles::SmfFile(1, 480, {t0, t1}));
    p.Play(0, 0, 1);
    Play(899000);  // three turns, the third short of its end
    const auto programs = m_synth->Of(0x01C1);
    ASSERT_EQ(programs.size(), 3u);
    for (size_t turn : {1u, 2u}) {  // from the block after the end
        EXPECT_GT(programs[turn].frame - programs[turn - 1].frame, 300000u);
        EXPECT_LE(programs[turn].frame - programs[turn - 1].frame, 300000u + 1024u);
    }
    for (int key : {0, 1, 127}) {
        SCOPED_TRACE(key);
        const auto on = m_synth->Of(static_cast<uint32_t>(0x400090 | key << 8));
        EXPECT_EQ(on.size(), 3u * (key < 5000 % 128 ? 40 : 39));
    }
    EXPECT_EQ(m_synth->messages.size(), 3u * 5001);
    EXPECT_EQ(p.State(), 1);
}

TEST_F(MidiPlayerTest, MainThreadStopNeverRestartsAndAnEmptySongDoesNotSpin) {
    cMidiPlayer& p = Load(midifiles::SmfFile(0, 96, {{0x00, 0xFF, 0x2F, 0x00}}));
    p.Play(0, 0, 1);
    Play(48000);
    EXPECT_EQ(p.State(), 1);
    // At most one turn per block pulled from the stream.
    EXPECT_LE(m_synth->notesOff, 2 * 100 + 2);
    p.Stop(0);
    EXPECT_TRUE(m_player->WaitIdle(1000));
    Play(4800);
    EXPECT_EQ(p.State(), 0);
    EXPECT_EQ(p.Stream()->Position(), 0u);
}

// An end-of-song notice handled after the player was stopped or paused
// (the stream sent it just before) leaves the player as it was: a looping
// song does not start again.
TEST_F(MidiPlayerTest, ALateEndOfSongNoticeNeverRestartsAStoppedSong) {
    for (const int pause : {0, 1}) {
        SCOPED_TRACE(pause);
        cMidiPlayer& p = Load(TimingSong());
        p.Play(0, 0, 1);
        p.Stop(pause);
        ASSERT_TRUE(p.WaitIdle());
        const int state = p.State();
        p.PostSongEndNotice();
        ASSERT_TRUE(p.WaitIdle());
        EXPECT_EQ(p.State(), state);
        EXPECT_EQ(p.State(), pause ? 2 : 0);
    }
    // While playing, the notice still ends the turn and loops.
    cMidiPlayer& p = Load(TimingSong());
    p.Play(0, 0, 1);
    p.PostSongEndNotice();
    ASSERT_TRUE(p.WaitIdle());
    EXPECT_EQ(p.State(), 1);
}

// The refill step reads whether the next buffer is still queued under the
// lock the stream hands buffers back with (the mixer's).
TEST_F(MidiPlayerTest, TheRefillReadsTheQueuedFlagUnderTheMixerLock) {
    std::vector<uint8_t> t0;
    for (int i = 0; i < 5000; ++i) midifiles::Event(t0, 1, {0x90, static_cast<uint8_t>(i % 128), 0x40});
    midifiles::Event(t0, 0, {0xFF, 0x2F, 0x00});
    cMidiPlayer& p = Load(midifiles::SmfFile(0, 480, {t0}));
    p.Play(0, 0, 0);  // both buffers queued: the next one is still in the stream
    ASSERT_TRUE(p.WaitIdle());
    const int32_t position = p.ReadPosition();
    std::atomic<bool> done{false};
    std::thread refill;
    {
        auto lock = SoundMixer().Lock();
        refill = std::thread([&] {
            p.Refill();
            done = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_FALSE(done.load());
    }
    refill.join();
    EXPECT_TRUE(done.load());
    EXPECT_EQ(p.ReadPosition(), position);  // still queued: nothing refilled
}

TEST_F(MidiPlayerTest, RefusedFileIsInertAndDeletingAPlayingPlayerJoins) {
    cMidiPlayer& bad = Load(Bytes{'M', 'T', 'h', 'd'});
    EXPECT_FALSE(bad.HasImage());
    bad.Play(0, 0, 1);
    bad.Stop(1);
    bad.Stop(0);
    EXPECT_EQ(bad.State(), 0);
    Load(TimingSong()).Play(0, 0, 1);
    Play(4800);
    m_player.reset();  // joins its thread while the stream has buffers out
    Play(4800);
    EXPECT_EQ(SoundMixer().VoiceCount(), 0);
}

// DS_MidiPlay through a manager of one channel.
class MidiManagerTest : public MidiPlayerTest {
protected:
    void SetUp() override {
        MidiPlayerTest::SetUp();
        ASSERT_EQ(m_bgm.Init(1, m_ogg, m_midi, kBgmTracks, 0), 1);
    }
    void TearDown() override {
        m_bgm.End();
        MidiPlayerTest::TearDown();
    }
    BGMOGGENTRY m_ogg[kBgmTracks];
    BGMMIDIENTRY m_midi[kBgmTracks];
    cBgmManager m_bgm;
};

TEST_F(MidiManagerTest, PlayNeedsAMidFileThatLoadsAndSetsTheGain) {
    const Bytes song = TimingSong();
    m_dir.WriteFile("bgm/Song.mid", std::string(song.begin(), song.end()));
    m_dir.WriteFile("bgm/Bad.mid", "MThd");
    BGMMIDIENTRY e;
    std::strcpy(e.szFile, "bgm\\Song.ogg");
    e.nVolume = 50;
    EXPECT_EQ(m_bgm.MidiPlay(0, e, 1), 0);
    EXPECT_EQ(m_bgm.m_Midi.vecPlayers[0], nullptr);
    std::strcpy(e.szFile, "bgm\\Bad.mid");
    EXPECT_EQ(m_bgm.MidiPlay(0, e, 1), 0);
    ASSERT_NE(m_bgm.m_Midi.vecPlayers[0], nullptr);  // stays, inert
    EXPECT_FALSE(m_bgm.m_Midi.vecPlayers[0]->HasImage());
    std::strcpy(e.szFile, "bgm\\Song.mid");
    EXPECT_EQ(m_bgm.MidiPlay(0, e, 1), 1);
    EXPECT_EQ(m_synth->gain, 0.5f);
    EXPECT_EQ(m_bgm.m_Midi.vecPlayers[0]->State(), 1);
    e.nVolume = 100;
    EXPECT_EQ(m_bgm.MidiPlay(0, e, 1), 1);
    EXPECT_EQ(m_synth->gain, 1.0f);
}

TEST_F(MidiManagerTest, MidTrackInAnyCaseThenAnOggTrackStopsIt) {
    const Bytes song = TimingSong();
    m_dir.WriteFile("bgm/Song.mid", std::string(song.begin(), song.end()));
    m_bgm.SetTrack(3, "BGM\\SONG.MID", 100);
    ASSERT_EQ(m_bgm.Play(0, 3, 1, 0, 0), 1);
    EXPECT_EQ(m_bgm.m_vecBackEnd[0], BGM_MIDI);
    cMidiPlayer* player = m_bgm.m_Midi.vecPlayers[0];
    ASSERT_NE(player, nullptr);
    Play(1024, player);
    EXPECT_EQ(m_synth->Of(kOn).size(), 1u);

    std::vector<float> s(2205, 0.1f);
    const auto ogg = soundfiles::OggVorbisFile(s, 1, 22050);
    m_dir.WriteFile("bgm/Title.ogg", std::string(ogg.begin(), ogg.end()));
    m_bgm.SetTrack(4, "bgm\\Title.ogg", 100);
    ASSERT_EQ(m_bgm.Play(0, 4, 1, 0, 0), 1);
    EXPECT_EQ(player->State(), 0);
}

}  // namespace
