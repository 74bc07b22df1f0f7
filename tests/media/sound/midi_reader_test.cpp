// The standard MIDI file reader and the stream-record writer, on byte
// fixtures typed here.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "base/log.h"
#include "media/sound/midi_player.h"
#include "media/sound/smf_reader.h"
#include "platform/cp932.h"
#include "tests/support/temp_dir.h"
#include "tools/mkdemo/midi_files.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Image(const Bytes& events, uint16_t division = 480) {
    Bytes out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, static_cast<uint8_t>(division >> 8),
                 static_cast<uint8_t>(division), 'M', 'T', 'r', 'k'};
    const uint32_t n = static_cast<uint32_t>(events.size());
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<uint8_t>(n >> (8 * i)));
    out.insert(out.end(), events.begin(), events.end());
    return out;
}

Bytes Convert(const Bytes& file) { return CheckSmfHeader(file.data(), file.size(), "t.mid"); }

// Three tracks sharing times and ending apart, a tempo and running status.
Bytes ThreeTracks() {
    return midifiles::SmfFile(1, 480,
                              {{0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0x90, 0x3C, 0x40, 0x0A, 0x80, 0x3C,
                                0x00, 0x00, 0xFF, 0x2F, 0x00},
                               {0x00, 0x91, 0x40, 0x40, 0x05, 0x43, 0x40, 0x05, 0x81, 0x40, 0x00, 0x14, 0xFF, 0x2F, 0x00},
                               {0x00, 0x92, 0x43, 0x40, 0x0A, 0x82, 0x43, 0x00, 0x05, 0xFF, 0x2F, 0x00}});
}

struct Record {
    uint32_t delta, event;
    Bytes params;
    bool operator==(const Record&) const = default;
};

uint32_t Le32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

std::vector<Record> Records(const platform::MidiHeader& h) {
    std::vector<Record> out;
    for (uint32_t off = 0; off + 12 <= h.bytesRecorded;) {
        Record r{Le32(h.data + off), Le32(h.data + off + 8), {}};
        EXPECT_EQ(Le32(h.data + off + 4), 0u);
        uint32_t size = 12;
        if ((r.event >> 24 & 0xBF) == platform::kMevtLongMsg) {
            const uint32_t n = r.event & 0xFFFFFF;
            r.params.assign(h.data + off + 12, h.data + off + 12 + ((n + 3) & ~3u));
            size += static_cast<uint32_t>(r.params.size());
        }
        out.push_back(r);
        off += size;
    }
    return out;
}

struct Buffer {
    Buffer() : bytes(kMidiBufferSize, 0xEE) {
        header.data = bytes.data();
        header.bufferLength = kMidiBufferSize;
    }
    Bytes bytes;
    platform::MidiHeader header;
};

}  // namespace

TEST(SmfReader, ThreeTracksMergeToOneImageByteForByte) {
    const Bytes expected = Image({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // the tempo at its place
                                  0x00, 0x90, 0x3C, 0x40, 0x00, 0x91, 0x40, 0x40, 0x00, 0x92, 0x43, 0x40,
                                  0x05, 0x91, 0x43, 0x40,  // running status after a note-on
                                  0x05, 0x80, 0x3C, 0x00, 0x00, 0x81, 0x40, 0x00, 0x00, 0x82, 0x43, 0x00,
                                  0x14, 0xFF, 0x2F, 0x00});  // the latest end (track 1 at 30)
    EXPECT_EQ(Convert(ThreeTracks()), expected);
}

TEST(SmfReader, RefusedFilesGiveTheirMessages) {
    testsupport::TempWorkDir dir;
    ASSERT_TRUE(CreateReport("Report_Game.txt"));
    const Bytes good = ThreeTracks();
    auto with = [&](size_t at, Bytes bytes) {
        Bytes f = good;
        std::copy(bytes.begin(), bytes.end(), f.begin() + static_cast<std::ptrdiff_t>(at));
        return f;
    };
    const std::string notSmf4 = SJ("Midi t.mid Init 標準MIDIでない(4)");
    const struct {
        Bytes file;
        std::string message;
    } cases[] = {
        {with(8, {0, 2}), SJ("Midi t.mid Init 対応フォーマットが2でない")},
        {with(8, {0, 3}), SJ("Midi t.mid Init 対応フォーマットが0または1でない")},
        {with(4, {0, 0, 0, 7}), SJ("Midi t.mid Init 標準MIDIでない(6)")},
        {with(0, {'M', 'T', 'h', 'x'}), notSmf4},
        {with(14, {'X', 'T', 'r', 'k'}), notSmf4},
        {with(10, {0, 0}), notSmf4},  // no track
        {Bytes{'M', 'T'}, notSmf4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        dir.WriteFile("Report_Game.txt", "");
        EXPECT_TRUE(Convert(c.file).empty());
        EXPECT_EQ(dir.ReadFile("Report_Game.txt"), c.message + "\n");
    }
    // A file that cannot be read.
    dir.WriteFile("Report_Game.txt", "");
    cSmfReader missing("none.mid");
    EXPECT_FALSE(missing.HasImage());
    EXPECT_EQ(dir.ReadFile("Report_Game.txt"), SJ("Midi none.mid Create ファイルが開けません") + "\n");
}

TEST(SmfReader, VarLengths) {
    const struct {
        Bytes bytes;
        int read;
        uint32_t value;
    } reads[] = {
        {{0x00}, 1, 0},
        {{0x7F}, 1, 0x7F},
        {{0x81, 0x00}, 2, 0x80},
        {{0xFF, 0x7F}, 2, 0x3FFF},
        {{0x81, 0x80, 0x00}, 3, 0x4000},
        {{0xFF, 0xFF, 0xFF, 0x7F}, 4, 0x0FFFFFFF},
        {{0x81, 0x80, 0x80, 0x80, 0x00}, 0, 0},  // five bytes
        {{0x81, 0x80}, 0, 0},                    // runs out
    };
    for (const auto& c : reads) {
        uint32_t v = 0;
        EXPECT_EQ(ReadVarLen(c.bytes.data(), c.bytes.size(), &v), c.read);
        if (c.read) {
            EXPECT_EQ(v, c.value);
            Bytes written;
            EXPECT_EQ(WriteVarLen(written, c.value), c.read);
            EXPECT_EQ(written, c.bytes);
        }
    }
    Bytes none;
    EXPECT_EQ(WriteVarLen(none, 0x10000000), 0);
    EXPECT_EQ(WriteVarLen(none, 0xFFFFFFFF), 0);
    EXPECT_TRUE(none.empty());
}

TEST(SmfReader, CutTrackEndsAtItsLastEvent) {
    // Track 0 is cut inside a note; its last whole event (time 30) is its end,
    // later than track 1's.
    Bytes t0 = {0x00, 0x90, 0x3C, 0x40, 0x1E, 0x80, 0x3C, 0x00, 0x05, 0x90};
    Bytes file = midifiles::SmfFile(1, 96, {{0x00, 0xC1, 0x05, 0x0A, 0xFF, 0x2F, 0x00}, t0});
    file.resize(file.size() - 1);  // the last track runs past the end of the file
    EXPECT_EQ(Convert(file), Image({0x00, 0xC1, 0x05, 0x00, 0x90, 0x3C, 0x40, 0x1E, 0x80, 0x3C, 0x00, 0x00, 0xFF,
                                    0x2F, 0x00},
                                   96));
}

TEST(SmfReader, PrefixesAndMutationsNeverCrashOrHang) {
    const Bytes good = ThreeTracks();
    std::vector<Bytes> files;
    for (size_t n = 0; n <= good.size(); ++n) files.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
    std::mt19937 rng(37);
    for (int i = 0; i < 2000; ++i) {
        Bytes f = good;
        for (int k = 0; k < 1 + i % 4; ++k) f[rng() % f.size()] = static_cast<uint8_t>(rng());
        files.push_back(f);
    }
    Buffer b;
    for (const Bytes& f : files) {
        const Bytes image = Convert(f);
        if (image.empty()) continue;
        ASSERT_GE(image.size(), kSmfImageHeader + 4);
        EXPECT_EQ(Bytes(image.end() - 3, image.end()), (Bytes{0xFF, 0x2F, 0x00}));
        uint32_t carry = 0;
        for (size_t pos = kSmfImageHeader; pos < image.size();) {
            const size_t used = FillMidiBuffer(image, pos, b.header, carry);
            ASSERT_GT(used, 0u);
            pos += used;
        }
    }
}

TEST(MidiFillBuffer, ARecordPerEventKind) {
    const Bytes image = Image({0x00, 0xC0, 0x05,                                // program
                               0x0A, 0x90, 0x3C, 0x40,                          // note-on
                               0x05, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,        // tempo
                               0x03, 0xFF, 0x01, 0x02, 0x41, 0x42,              // text: not written
                               0x04, 0xF0, 0x03, 0x7E, 0x7F, 0xF7,              // sysex
                               0x00, 0xF7, 0x01, 0x43,                          // escape
                               0x00, 0xFF, 0x2F, 0x00,                          // end
                               0x00, 0x90, 0x3C, 0x00});                        // after the end: left
    Buffer b;
    uint32_t carry = 0;
    EXPECT_EQ(FillMidiBuffer(image, kSmfImageHeader, b.header, carry), image.size() - kSmfImageHeader - 4);
    const std::vector<Record> expected = {
        {0, 0x000005C0, {}},
        {10, 0x00403C90, {}},
        {5, 0x0107A120, {}},
        {7, 0x80000004, {0xF0, 0x7E, 0x7F, 0xF7}},
        {0, 0x80000002, {0xF7, 0x43, 0x00, 0x00}},
        {0, 0x40002FFF, {}},
    };
    EXPECT_EQ(Records(b.header), expected);
    EXPECT_EQ(b.header.bytesRecorded, 12u * 6 + 4 + 4);
    EXPECT_EQ(b.bytes[b.header.bytesRecorded], 0);  // the rest is zeroed
}

TEST(MidiFillBuffer, FullBufferFlagsItsLastRecordAndCarriesMetaDeltas) {
    Bytes events;
    for (int i = 0; i < 2000; ++i) events.insert(events.end(), {0x01, 0x90, 0x3C, 0x40});
    events.insert(events.end(), {0x07, 0xFF, 0x01, 0x00,                      // text at the buffer's end
                                 0x05, 0xF0, 0x81, 0xBB, 0x40});               // 24,000 bytes of sysex
    events.insert(events.end(), 24000, 0x11);
    events.insert(events.end(), {0x01, 0x80, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00});
    const Bytes image = Image(events);
    Buffer b;
    uint32_t carry = 0;
    const size_t used = FillMidiBuffer(image, kSmfImageHeader, b.header, carry);
    // The text and the sysex that can never fit are consumed, their deltas kept.
    EXPECT_EQ(used, 2000u * 4 + 4 + 4 + 24001);
    EXPECT_EQ(carry, 12u);
    auto records = Records(b.header);
    ASSERT_EQ(records.size(), 2000u);
    EXPECT_EQ(b.header.bytesRecorded, 24000u);
    EXPECT_EQ(records.back().event, 0x40403C90u);
    EXPECT_EQ(records.front().event, 0x00403C90u);

    FillMidiBuffer(image, kSmfImageHeader + used, b.header, carry);
    EXPECT_EQ(Records(b.header), (std::vector<Record>{{13, 0x00003C80, {}}, {0, 0x40002FFF, {}}}));
    EXPECT_EQ(carry, 0u);
}
