// The music manager over a spy channel factory, the ogg channel and a fake
// binding of the outside MIDI library.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "media/sound/bgm_manager.h"
#include "media/sound/ggs4.h"
#include "platform/message_box.h"
#include "tests/media/sound/sound_test_util.h"
#include "tools/mkdemo/sound_files.h"

namespace {

// A channel object that records what the manager asks of it.
struct SpyLog {
    int loads = 0;
    std::vector<float> volumes;
    std::vector<int> loops;
};
SpyLog g_spy;

class SpyVox : public cVox {
public:
    uint8_t Load(const char* file) override {
        ++g_spy.loads;
        return cVox::Load(file);
    }
    void SetVolume(float v) override {
        g_spy.volumes.push_back(v);
        cVox::SetVolume(v);
    }
    void SetLoop(int n) override {
        g_spy.loops.push_back(n);
        cVox::SetLoop(n);
    }
};
cVox* CreateSpyVox() { return new SpyVox(); }

class BgmManagerTest : public OfflineSoundTest {
protected:
    void SetUp() override {
        OfflineSoundTest::SetUp();
        g_spy = SpyLog{};
        std::vector<float> s;
        for (int i = 0; i < 2205; ++i) s.push_back(0.4f * std::sin(i * 0.07f));
        const auto ogg = soundfiles::OggVorbisFile(s, 1, 22050);
        m_dir.WriteFile("bgm/Title.ogg", std::string(ogg.begin(), ogg.end()));
        m_dir.WriteFile("bgm/Song.mid", "MThd");
        Init(m_bgm);
    }
    void TearDown() override {
        m_bgm.End();
        OfflineSoundTest::TearDown();
    }
    void Init(cBgmManager& bgm) {
        ASSERT_EQ(bgm.Init(1, m_ogg, m_midi, kBgmTracks, 0), 1);
        bgm.m_Ogg.lpCreateVox = &CreateSpyVox;
        bgm.Resize(1);
    }
    bool Sounding() { return !m_bgm.m_Ogg.vecChannels.empty() && m_bgm.m_Ogg.vecChannels[0]->IsPlaying(); }

    BGMOGGENTRY m_ogg[kBgmTracks];
    BGMMIDIENTRY m_midi[kBgmTracks];
    cBgmManager m_bgm;
};

TEST_F(BgmManagerTest, SetTrackByExtension) {
    struct Case {
        const char* file;
        int result, kind;
        const char* ogg;
        const char* midi;
        int oggVolume, midiVolume;
    } cases[] = {
        {"bgm\\Song.MID", 1, BGM_MIDI, "", "bgm\\Song.mid", 0, 60},
        {"bgm\\Title.ogg", 1, BGM_OGG, "bgm\\Title.ogg", "bgm\\Song.mid", 60, 60},
        {"bgm\\Loud.OGG", 1, BGM_OGG, "bgm\\Loud.OGG", "bgm\\Song.mid", 60, 60},
        {"wave\\Hit.wav", 0, BGM_UNKNOWN, "wave\\Hit.wav", "wave\\Hit.wav", 60, 60},
        {"bgm\\NoExtension", 0, BGM_UNKNOWN, "", "", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(m_bgm.SetTrack(3, c.file, 60), c.result);
        EXPECT_EQ(m_bgm.m_vecKind[3], c.kind);
        EXPECT_STREQ(m_ogg[3].szFile, c.ogg);
        EXPECT_STREQ(m_midi[3].szFile, c.midi);
        EXPECT_EQ(m_ogg[3].nVolume, c.oggVolume);
        EXPECT_EQ(m_midi[3].nVolume, c.midiVolume);
    }
}

TEST_F(BgmManagerTest, SameTrackForceAndFailure) {
    m_bgm.SetTrack(2, "bgm\\Title.ogg", 100);
    EXPECT_EQ(m_bgm.Play(0, 2, 1, 0, 0), 1);
    EXPECT_EQ(g_spy.loads, 1);
    EXPECT_EQ(g_spy.loops, std::vector<int>{0x7FFFFFFF});
    EXPECT_EQ(m_bgm.m_vecBackEnd[0], BGM_OGG);
    EXPECT_EQ(m_bgm.Play(0, 2, 1, 0, 0), 1);  // the same music goes on
    EXPECT_EQ(g_spy.loads, 1);
    EXPECT_TRUE(Sounding());
    EXPECT_EQ(m_bgm.Play(0, 2, 0, 0, 1), 1);  // forced: loaded and started again
    EXPECT_EQ(g_spy.loads, 2);
    EXPECT_EQ(g_spy.loops.back(), 0);

    // A WAV track: the ogg side cannot load it, the MIDI side refuses it.
    m_bgm.SetTrack(4, "bgm\\Title.wav", 100);
    EXPECT_EQ(m_bgm.Play(0, 4, 1, 0, 0), 0);
    EXPECT_EQ(m_bgm.m_nCurrentTrack, -1);
    EXPECT_EQ(m_bgm.m_vecBackEnd[0], 0);
    EXPECT_EQ(m_bgm.m_Ogg.nCurrent, -1);
    EXPECT_FALSE(Sounding());
    // A file that is not a standard MIDI file does not play.
    m_bgm.SetTrack(5, "bgm\\Song.mid", 100);
    EXPECT_EQ(m_bgm.Play(0, 5, 1, 0, 0), 0);
}

TEST_F(BgmManagerTest, VolumeBelowHundredIsSent) {
    m_bgm.SetTrack(0, "bgm\\Title.ogg", 50);
    ASSERT_EQ(m_bgm.Play(0, 0, 1, 0, 1), 1);
    m_bgm.SetTrack(0, "bgm\\Title.ogg", 99);
    ASSERT_EQ(m_bgm.Play(0, 0, 1, 0, 1), 1);
    EXPECT_EQ(g_spy.volumes.back(), 0.99f);
    const size_t sent = g_spy.volumes.size();
    m_bgm.SetTrack(0, "bgm\\Title.ogg", 100);
    ASSERT_EQ(m_bgm.Play(0, 0, 1, 0, 1), 1);
    // Only the load's own reset to 1.0: no volume from the manager.
    EXPECT_EQ(g_spy.volumes.size(), sent + 1);
    EXPECT_EQ(m_bgm.m_Ogg.vecChannels[0]->Volume(), 1.0f);
}

TEST_F(BgmManagerTest, EndInitAndFailedInit) {
    m_bgm.SetTrack(1, "bgm\\Title.ogg", 100);
    ASSERT_EQ(m_bgm.Play(0, 1, 1, 0, 0), 1);
    for (int round = 0; round < 2; ++round) {
        m_bgm.End();
        EXPECT_EQ(m_bgm.m_bInitialised, 0);
        EXPECT_TRUE(m_bgm.m_Ogg.vecChannels.empty());
        EXPECT_EQ(m_bgm.SetTrack(1, "bgm\\Song.mid", 100), 1);  // nothing while ended
        EXPECT_EQ(m_bgm.Play(0, 1, 1, 0, 1), 1);
        m_bgm.Stop();
        EXPECT_EQ(m_ogg[1].nVolume, 100);
        EXPECT_STREQ(m_ogg[1].szFile, "bgm\\Title.ogg");
        Init(m_bgm);
        EXPECT_EQ(m_bgm.Play(0, 1, 1, 0, 0), 1);  // the restarted manager plays it again
        EXPECT_TRUE(Sounding());
    }
    EXPECT_EQ(SoundMixer().VoiceCount(), 1);  // one channel object alive

    // The ogg library unusable: an error box, and later calls do nothing.
    cBgmManager failed;
    SetVoxUnavailable(true);
    platform::CapturedMessageBoxes boxes(platform::IDOK);
    EXPECT_EQ(failed.Init(1, m_ogg, m_midi, kBgmTracks, 0), 0);
    SetVoxUnavailable(false);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(failed.m_bInitialised, 1);
    EXPECT_EQ(failed.SetTrack(0, "bgm\\Title.ogg", 100), 1);
    EXPECT_EQ(failed.Play(0, 0, 1, 0, 0), 1);
    failed.Stop();
    EXPECT_EQ(failed.m_nCurrentTrack, -1);
    EXPECT_TRUE(failed.m_vecKind.empty());
}

// The fake outside MIDI library.
struct FakeGgs4 {
    std::vector<int> masterVolumes;
    std::vector<std::string> calls;
};
FakeGgs4 g_fake;
const Ggs4Api kFakeApi = [] {
    Ggs4Api a;
    a.OpenDevice = [](int id, void*) {
        g_fake.calls.push_back("open " + std::to_string(id));
        return 0;
    };
    a.CloseDevice = [] { g_fake.calls.push_back("close"); };
    a.Play = [](int option, int list, int, int, int) {
        g_fake.calls.push_back("play " + std::to_string(option) + " " + std::to_string(list));
        return 0;
    };
    a.Stop = [](int) { g_fake.calls.push_back("stop"); };
    a.Pause = [] { g_fake.calls.push_back("pause"); };
    a.SetMasterVolume = [](int v) { g_fake.masterVolumes.push_back(v); };
    a.GetPlayerStatus = [](void* status, int size) { std::memset(status, 0, static_cast<size_t>(size)); };
    a.AddListFromFileA = [](const char* file, int, int list) {
        g_fake.calls.push_back(std::string("add ") + file + " " + std::to_string(list));
        return 0;
    };
    return a;
}();

TEST_F(BgmManagerTest, OutsideMidiLibraryThroughAFakeBinding) {
    m_bgm.End();
    g_fake = FakeGgs4{};
    cGgs4Dll::SetFakeBinding(&kFakeApi);
    ASSERT_EQ(m_bgm.Init(1, m_ogg, m_midi, kBgmTracks, 1), 1);
    EXPECT_EQ(m_bgm.m_bUseGgs4, 1);
    for (int volume : {100, 50, 0}) {
        m_bgm.SetTrack(3, "bgm\\Song.mid", volume);
        EXPECT_EQ(m_bgm.Play(0, 3, 1, 0, 1), 1);
        EXPECT_EQ(m_bgm.m_vecBackEnd[0], BGM_MIDI);
    }
    EXPECT_EQ(g_fake.masterVolumes, (std::vector<int>{0, -64, -127}));
    m_bgm.SetTrack(4, "bgm\\Song.MID", 100);  // the name becomes "mid" and plays
    EXPECT_EQ(m_bgm.Play(0, 4, 0, 0, 0), 1);
    m_bgm.End();
    cGgs4Dll::SetFakeBinding(nullptr);
    const std::vector<std::string> head = {"open -1100", "pause", "add bgm\\Song.mid 0", "play 1 0"};
    ASSERT_GE(g_fake.calls.size(), head.size());
    EXPECT_EQ(std::vector<std::string>(g_fake.calls.begin(), g_fake.calls.begin() + 4), head);
    EXPECT_EQ(g_fake.calls.back(), "close");
    Init(m_bgm);
    EXPECT_EQ(m_bgm.m_bUseGgs4, 0);
}

}  // namespace
