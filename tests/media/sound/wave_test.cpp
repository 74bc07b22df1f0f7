// WAV files as the effects read them: chunk rules, refused formats and the
// messages of each failure.
#include <gtest/gtest.h>

#include "platform/cp932.h"
#include "tests/media/sound/sound_test_util.h"
#include "tools/mkdemo/sound_files.h"

namespace {

using soundfiles::Chunk;
using soundfiles::FormatChunk;
using soundfiles::RiffFile;

const char kLong[] = "対応していない形式か、不正なwavファイルです。";
const char kCannotRead[] = "w.wav の読み込みに失敗しました！";
const char kBadFile[] = "w.wav の読み込みに失敗しました…\n不正なファイルです。";
const char kCreate[] = "w.wav生成失敗！";

std::vector<uint8_t> Bytes(int n, uint8_t first = 0) {
    std::vector<uint8_t> v;
    for (int i = 0; i < n; ++i) v.push_back(static_cast<uint8_t>(first + i));
    return v;
}

class WaveTest : public OfflineSoundTest {
protected:
    void SetUp() override {
        OfflineSoundTest::SetUp();
        ASSERT_TRUE(CreateReport((m_dir.Path() / "Report_Game.txt").string()));
        SetDebugLog(1, (m_dir.Path() / "debug.txt").string());
    }
    void TearDown() override {
        SetDebugLog(0, "");
        OfflineSoundTest::TearDown();
    }
    std::string Report() const { return platform::Cp932ToUtf8(m_dir.ReadFile("Report_Game.txt")); }
    std::string Debug() const { return platform::Cp932ToUtf8(m_dir.ReadFile("debug.txt")); }
};

TEST_F(WaveTest, ChunkTable) {
    struct Case {
        const char* name;
        std::vector<uint8_t> file;  // empty: no file
        bool loads;
        size_t dataBytes;
        bool creates;
        const char* reportLine;  // in the report and the debug log
        const char* debugOnly;
    };
    const auto fmt16 = FormatChunk(1, 8, 22050);
    const auto fmt18 = FormatChunk(1, 8, 22050, 1, true, 0);
    const auto data = Chunk{"data", Bytes(10, 100)};
    Chunk fmt12 = fmt16;
    fmt12.body.resize(12);
    std::vector<uint8_t> notRiff = RiffFile({fmt16, data});
    notRiff[0] = 'X';
    Chunk cut{"data", Bytes(7, 1)};
    cut.declaredSize = 100;
    std::vector<uint8_t> cutFile = RiffFile({FormatChunk(1, 16, 22050), cut});
    cutFile.pop_back();  // the pad byte of the 7-byte body
    const Case cases[] = {
        {"fmt of 16 bytes", RiffFile({fmt16, data}), true, 10, true, nullptr, nullptr},
        {"fmt of 18 bytes, cbSize 0", RiffFile({fmt18, data}), true, 10, true, nullptr, nullptr},
        {"fmt of 18 bytes, cbSize 2", RiffFile({FormatChunk(1, 8, 22050, 1, true, 2), data}), false, 0, false, kLong,
         nullptr},
        {"fmt of 12 bytes", RiffFile({fmt12, data}), false, 0, false, kLong, nullptr},
        {"no data", RiffFile({fmt16}), false, 0, false, kCannotRead, nullptr},
        {"empty data", RiffFile({fmt16, Chunk{"data", {}}}), false, 0, false, kCannotRead, nullptr},
        {"odd chunk with its pad", RiffFile({fmt16, Chunk{"LIST", Bytes(3)}, data}), true, 10, true, nullptr, nullptr},
        {"data before fmt", RiffFile({data, fmt16}), false, 0, false, kCannotRead, nullptr},
        {"cut data: whole frames", cutFile, true, 6, true, nullptr, nullptr},
        {"format tag 3", RiffFile({FormatChunk(1, 32, 22050, 3), data}), true, 10, false, nullptr, kCreate},
        {"not RIFF", notRiff, false, 0, false, kBadFile, nullptr},
        {"missing file", {}, false, 0, false, kCannotRead, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove((m_dir.Path() / "w.wav").c_str());
        m_dir.WriteFile("Report_Game.txt", "");
        m_dir.WriteFile("debug.txt", "");
        if (!c.file.empty()) m_dir.WriteFile("w.wav", std::string(c.file.begin(), c.file.end()));
        platform::InvalidateDirCache();
        DS_WAVEDATA wave;
        EXPECT_EQ(DS_LoadWave("w.wav", wave), c.loads);
        EXPECT_EQ(wave.data.size(), c.dataBytes);
        EXPECT_EQ(static_cast<size_t>(wave.nSize), c.dataBytes);
        DSBUFFER buffer = 0;
        EXPECT_EQ(DS_CreateBuffer(buffer, "w.wav"), c.creates);
        EXPECT_EQ(buffer != 0, c.creates);
        if (buffer) SoundMixer().Release(buffer);
        if (c.reportLine) {
            EXPECT_NE(Report().find(c.reportLine), std::string::npos) << Report();
            EXPECT_NE(Debug().find(c.reportLine), std::string::npos) << Debug();
        }
        if (c.debugOnly) {
            EXPECT_NE(Debug().find(c.debugOnly), std::string::npos) << Debug();
            EXPECT_EQ(Report().find(c.debugOnly), std::string::npos) << Report();
        }
        if (!c.reportLine && !c.debugOnly) {
            EXPECT_EQ(Report(), "");
        }
    }
}

// Every cut and every changed byte of a valid file is read or refused safely.
TEST_F(WaveTest, MutationsNeverCrash) {
    const std::vector<uint8_t> good = RiffFile({FormatChunk(2, 16, 44100), Chunk{"LIST", Bytes(5)},
                                                Chunk{"data", Bytes(16)}});
    auto tryFile = [&](const std::vector<uint8_t>& f) {
        m_dir.WriteFile("m.wav", std::string(f.begin(), f.end()));
        DSBUFFER buffer = 0;
        if (DS_CreateBuffer(buffer, "m.wav")) SoundMixer().Release(buffer);
    };
    for (size_t n = 0; n < good.size(); ++n) tryFile(std::vector<uint8_t>(good.begin(), good.begin() + n));
    for (size_t i = 0; i < good.size(); ++i)
        for (uint8_t v : {uint8_t(0), uint8_t(0x01), uint8_t(0x7F), uint8_t(0xFF)}) {
            std::vector<uint8_t> f = good;
            f[i] = v;
            tryFile(f);
        }
    EXPECT_EQ(SoundMixer().VoiceCount(), 0);
}

}  // namespace
