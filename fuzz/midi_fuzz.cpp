// Fuzz target over standard MIDI files: the input is a file, checked and
// rewritten as the single-track image by CheckSmfHeader, and that image is
// converted into stream buffers by FillMidiBuffer to its end, as the MIDI
// player feeds the device. An image that breaks its own layout, a buffer
// overrun, a record past the bytes written or a fill that makes no
// progress before the end is a finding.
#include <cstring>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "media/sound/midi_player.h"
#include "media/sound/smf_reader.h"
#include "tools/mkdemo/midi_files.h"

namespace {

constexpr const char* kName = "midi";

uint32_t Be32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | p[2] << 8 | p[3];
}
uint32_t Le32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void Run(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> image = CheckSmfHeader(data, size, "fuzz.mid");
    if (image.empty()) return;
    if (image.size() < kSmfImageHeader || std::memcmp(image.data(), "MThd", 4) != 0 ||
        std::memcmp(image.data() + 14, "MTrk", 4) != 0 || Be32(image.data() + 18) != image.size() - kSmfImageHeader)
        FuzzFail(kName, "the image of %zu bytes breaks its header", image.size());
    // The buffer sits in a larger block whose tail must stay untouched.
    constexpr uint32_t kGuard = 64;
    std::vector<uint8_t> block(kMidiBufferSize + kGuard, 0xA5);
    platform::MidiHeader header;
    header.data = block.data();
    header.bufferLength = kMidiBufferSize;
    uint32_t carry = 0;
    size_t from = kSmfImageHeader;
    while (from < image.size()) {
        const size_t used = FillMidiBuffer(image, from, header, carry);
        if (header.bytesRecorded > kMidiBufferSize || header.bytesRecorded % 4 != 0)
            FuzzFail(kName, "%u bytes recorded in a buffer of %u", header.bytesRecorded, kMidiBufferSize);
        for (uint32_t i = 0; i < kGuard; ++i)
            if (block[kMidiBufferSize + i] != 0xA5) FuzzFail(kName, "a fill wrote past its buffer");
        // Walk the records: each whole inside the bytes recorded.
        for (uint32_t at = 0; at < header.bytesRecorded;) {
            if (header.bytesRecorded - at < 12) FuzzFail(kName, "a record cut at byte %u", at);
            const uint32_t event = Le32(block.data() + at + 8);
            uint32_t length = 12;
            if ((event >> 24 & 0x80) != 0) length += ((event & 0xFFFFFF) + 3) & ~3u;
            if (length > header.bytesRecorded - at) FuzzFail(kName, "a long record runs past the bytes recorded");
            at += length;
        }
        if (used == 0) FuzzFail(kName, "a fill at byte %zu of %zu made no progress", from, image.size());
        if (used > image.size() - from) FuzzFail(kName, "a fill used %zu bytes of %zu left", used, image.size() - from);
        from += used;
    }
}

void Seeds(const std::string& gameDir, std::vector<FuzzSeed>& out) {
    using namespace midifiles;
    out.emplace_back("song", GeneratedSong(3, 2, 4, 120, 1));
    // Running status, a system-exclusive message, meta events, format 0.
    std::vector<uint8_t> t;
    Event(t, 0, {0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});
    Event(t, 0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7});
    Event(t, 0, {0xFF, 0x03, 0x04, 'S', 'o', 'n', 'g'});
    Event(t, 0, {0x90, 60, 100});
    Event(t, 10, {62, 100});
    Event(t, 10, {0xC0, 5});
    Event(t, 0, {0xE0, 0, 64});
    Event(t, 20, {0x80, 60, 0});
    Event(t, 0, {0xFF, 0x2F, 0x00});
    out.emplace_back("format0", SmfFile(0, 96, {t}));
    // A system-exclusive message larger than a whole buffer.
    std::vector<uint8_t> big;
    std::vector<uint8_t> sysex(kMidiBufferSize + 100, 0x11);
    big.push_back(0);
    big.push_back(0xF0);
    WriteVarLen(big, static_cast<uint32_t>(sysex.size()));
    big.insert(big.end(), sysex.begin(), sysex.end());
    Event(big, 5, {0x90, 64, 90});
    Event(big, 0, {0xFF, 0x2F, 0x00});
    out.emplace_back("huge-sysex", SmfFile(0, 480, {big}));
    for (const std::string& f : FuzzFindFiles(gameDir, {".mid"}))
        out.emplace_back("game-" + std::to_string(out.size()), FuzzReadFile(f));
}

const cFuzzTarget kTarget{kName, nullptr, Run, Seeds};
const cFuzzTargetRegistration kRegistration(kTarget);

}  // namespace
