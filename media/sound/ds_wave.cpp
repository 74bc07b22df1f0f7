#include "media/sound/ds_wave.h"

#include <algorithm>
#include <cstring>

#include "base/log.h"
#include "platform/cp932.h"
#include "platform/fs.h"

namespace {

uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// A chunk found inside [begin, end): its data starts at `data`, `size` is the
// size its header gives (the data may run past the file's end).
struct Chunk {
    size_t data = 0;
    uint32_t size = 0;
};

size_t NextChunk(const Chunk& c) {
    return c.data + static_cast<size_t>(c.size) + (c.size & 1);  // pad byte after an odd size
}

// Searches forward from `pos` for a chunk with the id (and, for "RIFF", the
// form type), never past `end`.
bool FindChunk(const std::vector<uint8_t>& f, size_t pos, size_t end, const char* id, const char* form, Chunk& out) {
    while (pos + 8 <= end) {
        Chunk c;
        c.data = pos + 8;
        c.size = Le32(&f[pos + 4]);
        if (std::memcmp(&f[pos], id, 4) == 0) {
            if (!form) {
                out = c;
                return true;
            }
            if (c.size >= 4 && c.data + 4 <= end && std::memcmp(&f[c.data], form, 4) == 0) {
                out = c;
                return true;
            }
        }
        const size_t next = NextChunk(c);
        if (next <= pos) return false;
        pos = next;
    }
    return false;
}

}  // namespace

bool DS_LoadWave(const std::string& fileName, DS_WAVEDATA& wave) {
    auto bytes = platform::ReadWholeFile(fileName);
    if (!bytes) return false;
    const std::vector<uint8_t>& f = *bytes;
    Chunk riff;
    if (!FindChunk(f, 0, f.size(), "RIFF", "WAVE", riff)) {
        ReportLogfDebug(SJ("%s の読み込みに失敗しました…\n不正なファイルです。").c_str(), fileName.c_str());
        return false;
    }
    const size_t riffEnd = std::min(f.size(), riff.data + static_cast<size_t>(riff.size));
    Chunk fmt;
    if (!FindChunk(f, riff.data + 4, riffEnd, "fmt ", nullptr, fmt)) return false;
    const size_t want = std::min<uint32_t>(fmt.size, 18);
    const size_t have = std::min(want, riffEnd - std::min(riffEnd, fmt.data));
    uint8_t raw[18] = {};
    if (have) std::memcpy(raw, &f[fmt.data], have);
    WAVEFORMATEX wfx;
    wfx.wFormatTag = Le16(raw);
    wfx.nChannels = Le16(raw + 2);
    wfx.nSamplesPerSec = Le32(raw + 4);
    wfx.nAvgBytesPerSec = Le32(raw + 8);
    wfx.nBlockAlign = Le16(raw + 12);
    wfx.wBitsPerSample = Le16(raw + 14);
    wfx.cbSize = Le16(raw + 16);
    if (fmt.size < 14 || have < want || wfx.cbSize != 0) {
        ReportLogfDebug(SJ("%s の読み込みに失敗しました…。対応していない形式か、不正なwavファイルです。"
                           "本ソフトではWave拡張フォーマットが無効かつ非圧縮のPCM形式のみ再生できます。")
                            .c_str(),
                        fileName.c_str());
        return false;
    }
    Chunk data;
    if (!FindChunk(f, NextChunk(fmt), riffEnd, "data", nullptr, data) || data.size == 0) return false;
    size_t size = std::min(static_cast<size_t>(data.size), riffEnd - std::min(riffEnd, data.data));
    const size_t frame = static_cast<size_t>(wfx.nChannels) * (wfx.wBitsPerSample / 8);
    if (size < data.size && frame > 0) size -= size % frame;  // a cut file: whole frames only
    wave.data.assign(f.begin() + static_cast<std::ptrdiff_t>(data.data),
                     f.begin() + static_cast<std::ptrdiff_t>(data.data + size));
    wave.nSize = static_cast<int32_t>(size);
    wave.wfx = wfx;
    return true;
}

void DS_FreeWave(DS_WAVEDATA& wave) {
    wave.data.clear();
    wave.data.shrink_to_fit();
    wave.nSize = 0;
}
