// The ogg channel rendered at the file's rate against the decoded samples.
#include <gtest/gtest.h>

#include <cmath>

#include "media/sound/vox_channel.h"
#include "platform/vorbis_stream.h"
#include "tests/media/sound/sound_test_util.h"
#include "tools/mkdemo/sound_files.h"

namespace {

constexpr int kRate = 22050;

// Half a second of a stereo tone, encoded once.
const std::vector<uint8_t>& Fixture() {
    static const std::vector<uint8_t> file = [] {
        std::vector<float> s;
        for (int i = 0; i < kRate / 2; ++i) {
            s.push_back(0.5f * std::sin(i * 0.05f));
            s.push_back(0.3f * std::sin(i * 0.031f));
        }
        return soundfiles::OggVorbisFile(s, 2, kRate);
    }();
    return file;
}

// Every frame the decoder gives for the file, played once.
std::vector<float> Decoded(const std::vector<uint8_t>& file) {
    auto stream = platform::VorbisStream::Open(file);
    std::vector<float> all, buf(2 * 4096);
    if (!stream) return all;
    while (int n = stream->Read(buf.data(), 4096)) all.insert(all.end(), buf.begin(), buf.begin() + 2 * n);
    return all;
}

class OggTest : public OfflineSoundTest {
protected:
    void SetUp() override {
        OfflineSoundTest::SetUp();
        SoundMixer().SetOutputRate(kRate);
        m_dir.WriteFile("m.ogg", std::string(Fixture().begin(), Fixture().end()));
        m_vox = CreateVox();
    }
    void TearDown() override {
        m_vox->Destroy();
        OfflineSoundTest::TearDown();
    }
    cVox* m_vox = nullptr;
};

TEST_F(OggTest, OnceLoopedAndHalfVolume) {
    ASSERT_FALSE(Fixture().empty());
    const std::vector<float> ref = Decoded(Fixture());
    const size_t frames = ref.size() / 2;
    ASSERT_GE(frames, static_cast<size_t>(kRate / 2));

    struct Case {
        int repeats;
        float volume;
        int passes;
    } cases[] = {{0, 1.0f, 1}, {1, 1.0f, 2}, {0, 0.5f, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.repeats << " " << c.volume);
        ASSERT_EQ(m_vox->Load("m.ogg"), 1);
        EXPECT_EQ(m_vox->Volume(), 1.0f);
        if (c.volume != 1.0f) m_vox->SetVolume(c.volume);
        m_vox->SetLoop(c.repeats);
        m_vox->Play();
        const auto out = Render(static_cast<int>(frames * c.passes + 100));
        for (size_t i = 0; i < frames * c.passes * 2; ++i)
            ASSERT_NEAR(out[i], ref[i % ref.size()] * c.volume, 1e-6) << i;  // no gap at the join
        for (size_t i = frames * c.passes * 2; i < out.size(); ++i) ASSERT_EQ(out[i], 0.0f) << i;  // on time
        EXPECT_FALSE(m_vox->IsPlaying());
    }
}

TEST_F(OggTest, EndlessLoopStopsOnlyWhenStopped) {
    ASSERT_EQ(m_vox->Load("m.ogg"), 1);
    m_vox->SetLoop(platform::VorbisStream::kEndless);
    m_vox->Play();
    Render(kRate * 2);
    EXPECT_TRUE(m_vox->IsPlaying());
    m_vox->Stop();
    EXPECT_EQ(Render(10), std::vector<float>(20, 0.0f));
}

TEST_F(OggTest, DamagedFilesNeverCrashOrSpin) {
    const std::vector<uint8_t>& good = Fixture();
    std::vector<std::vector<uint8_t>> files;
    for (size_t n : {size_t(0), size_t(20), size_t(100), good.size() / 3, good.size() / 2, good.size() - 7})
        files.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
    for (size_t at : {size_t(60), good.size() / 2, good.size() * 3 / 4}) {
        std::vector<uint8_t> f = good;
        for (size_t i = at; i < at + 64 && i < f.size(); ++i) f[i] ^= 0x5A;
        files.push_back(f);
    }
    for (const auto& f : files) {
        m_dir.WriteFile("bad.ogg", std::string(f.begin(), f.end()));
        if (!m_vox->Load("bad.ogg")) continue;
        m_vox->SetLoop(platform::VorbisStream::kEndless);
        m_vox->Play();
        Render(kRate);  // plays what decodes, then ends or repeats
    }
    EXPECT_EQ(m_vox->Load("nothing.ogg"), 0);
    EXPECT_EQ(m_vox->Load("m.ogg"), 1);
}

}  // namespace
