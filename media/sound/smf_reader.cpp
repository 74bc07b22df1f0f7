#include "media/sound/smf_reader.h"

#include <queue>

#include "base/log.h"
#include "platform/cp932.h"
#include "platform/fs.h"

namespace {

uint32_t Be32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 | p[3];
}
uint16_t Be16(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }

// One event of a track: its time and where its bytes after the status lie.
struct SmfNode {
    int64_t time;
    uint8_t status;
    size_t data;    // offset of the bytes after the status in the source
    size_t length;  // their number
};

bool RefuseNotSmf(const std::string& fileName) {
    ReportLogfDebug(SJ("Midi %s Init 標準MIDIでない(4)").c_str(), fileName.c_str());
    return false;
}

// Walks every track by its events. Returns false when the file has no
// track; `endTime` is the latest end of a track.
bool ReadSmfTracks(const uint8_t* data, size_t size, const std::string& fileName,
                   std::vector<std::vector<SmfNode>>& tracks) {
    const int count = Be16(data + 10);
    if (count == 0) return RefuseNotSmf(fileName);
    tracks.assign(static_cast<size_t>(count), {});
    int64_t endTime = 0;
    bool cutLogged = false;
    size_t pos = 14;
    for (int t = 0; t < count; ++t) {
        pos += 8;  // chunk type and length: the track is walked by its events
        int64_t time = 0, lastTime = 0;
        uint8_t running = 0;
        bool ended = false;
        while (!ended) {
            // Anything that does not fit ends the track at its last event.
            uint32_t delta = 0;
            const int n = pos < size ? ReadVarLen(data + pos, size - pos, &delta) : 0;
            if (n == 0 || pos + n >= size) break;
            size_t p = pos + static_cast<size_t>(n);
            uint8_t status = running;
            if (data[p] & 0x80) status = data[p++];
            running = status;
            size_t length = 0;
            if (status >= 0xC0 && status <= 0xDF) {
                length = 1;
            } else if (status == 0xF0 || status == 0xF7 || status == 0xFF) {
                const size_t head = status == 0xFF ? 1 : 0;  // the meta type byte
                uint32_t len = 0;
                const int m = p + head < size ? ReadVarLen(data + p + head, size - p - head, &len) : 0;
                if (m == 0) break;
                length = head + static_cast<size_t>(m) + len;
            } else {
                length = 2;
            }
            if (length > size - p) break;
            time += delta;
            pos = p + length;
            if (status == 0xFF && data[p] == 0x2F && length == 2) {
                lastTime = time;
                ended = true;
                break;
            }
            tracks[static_cast<size_t>(t)].push_back({time, status, p, length});
            lastTime = time;
        }
        if (!ended && !cutLogged) {
            DebugLogf("Midi %s: a track is cut short", fileName.c_str());
            cutLogged = true;
        }
        endTime = std::max(endTime, lastTime);
        if (pos >= size) pos = size;
    }
    tracks.back().push_back({endTime, 0xFF, 0, 0});  // the end node
    return true;
}

// All nodes in playing order: the smallest time first, the lower track on
// equal times.
std::vector<SmfNode> MergeSmfEvents(const std::vector<std::vector<SmfNode>>& tracks) {
    using Head = std::pair<int64_t, size_t>;  // time, track
    std::priority_queue<Head, std::vector<Head>, std::greater<Head>> heads;
    std::vector<size_t> next(tracks.size(), 0);
    size_t total = 0;
    for (size_t t = 0; t < tracks.size(); ++t) {
        total += tracks[t].size();
        if (!tracks[t].empty()) heads.push({tracks[t][0].time, t});
    }
    std::vector<SmfNode> merged;
    merged.reserve(total);
    while (!heads.empty()) {
        const size_t t = heads.top().second;
        heads.pop();
        merged.push_back(tracks[t][next[t]++]);
        if (next[t] < tracks[t].size()) heads.push({tracks[t][next[t]].time, t});
    }
    return merged;
}

std::vector<uint8_t> BuildSingleTrackSmf(const uint8_t* data, const std::vector<SmfNode>& nodes,
                                         const std::string& fileName) {
    std::vector<uint8_t> image = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, data[12], data[13],
                                  'M', 'T', 'r', 'k', 0, 0, 0, 0};
    int64_t previous = 0;
    for (const SmfNode& node : nodes) {
        const int64_t gap = node.time - previous;
        previous = node.time;
        if (gap > 0x0FFFFFFF) {
            RefuseNotSmf(fileName);
            return {};
        }
        WriteVarLen(image, static_cast<uint32_t>(gap));
        image.push_back(node.status);
        if (node.length == 0 && node.status == 0xFF) {
            image.push_back(0x2F);
            image.push_back(0x00);
        } else {
            image.insert(image.end(), data + node.data, data + node.data + node.length);
        }
    }
    const uint32_t length = static_cast<uint32_t>(image.size() - kSmfImageHeader);
    for (int i = 0; i < 4; ++i) image[18 + i] = static_cast<uint8_t>(length >> (24 - 8 * i));
    return image;
}

std::vector<uint8_t> ConvertSmfToSingleTrack(const uint8_t* data, size_t size, const std::string& fileName) {
    std::vector<std::vector<SmfNode>> tracks;
    if (!ReadSmfTracks(data, size, fileName, tracks)) return {};
    return BuildSingleTrackSmf(data, MergeSmfEvents(tracks), fileName);
}

}  // namespace

int ReadVarLen(const uint8_t* bytes, size_t available, uint32_t* value) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        if (static_cast<size_t>(i) >= available) return 0;
        v = v << 7 | (bytes[i] & 0x7F);
        if (!(bytes[i] & 0x80)) {
            *value = v;
            return i + 1;
        }
    }
    return 0;
}

int WriteVarLen(std::vector<uint8_t>& out, uint32_t value) {
    if (value > 0x0FFFFFFF) return 0;
    int groups = 1;
    while (groups < 4 && (value >> (7 * groups)) != 0) ++groups;
    for (int i = groups - 1; i >= 0; --i)
        out.push_back(static_cast<uint8_t>(((value >> (7 * i)) & 0x7F) | (i ? 0x80 : 0)));
    return groups;
}

std::vector<uint8_t> CheckSmfHeader(const uint8_t* data, size_t size, const std::string& fileName) {
    const char* name = fileName.c_str();
    if (size < 8 || Be32(data) != 0x4D546864) {  // "MThd"
        RefuseNotSmf(fileName);
        return {};
    }
    if (Be32(data + 4) != 6) {
        ReportLogfDebug(SJ("Midi %s Init 標準MIDIでない(6)").c_str(), name);
        return {};
    }
    if (size < 14) {
        RefuseNotSmf(fileName);
        return {};
    }
    const uint16_t format = Be16(data + 8);
    if (format == 2) {
        ReportLogfDebug(SJ("Midi %s Init 対応フォーマットが2でない").c_str(), name);
        return {};
    }
    if (format > 2) {
        ReportLogfDebug(SJ("Midi %s Init 対応フォーマットが0または1でない").c_str(), name);
        return {};
    }
    if (size < 18 || Be32(data + 14) != 0x4D54726B) {  // "MTrk"
        RefuseNotSmf(fileName);
        return {};
    }
    return ConvertSmfToSingleTrack(data, size, fileName);
}

cSmfReader::cSmfReader(const std::string& fileName) { Load(fileName); }

void cSmfReader::Load(const std::string& fileName) {
    m_strFile = fileName;
    m_Image.clear();
    const auto bytes = platform::ReadWholeFile(fileName);
    if (!bytes) {
        ReportLogfDebug(SJ("Midi %s Create ファイルが開けません").c_str(), fileName.c_str());
        return;
    }
    m_Image = CheckSmfHeader(bytes->data(), bytes->size(), fileName);
}
