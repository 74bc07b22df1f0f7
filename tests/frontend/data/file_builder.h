// Hand-built data files for the player data tests.
#pragma once
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "base/quit.h"
#include "frontend/data/player_settings.h"
#include "frontend/data/world_map.h"
#include "records/data_record.h"

namespace player_test {

class FileBuilder {
public:
    explicit FileBuilder(uint32_t version) { U32(version); }
    FileBuilder& U32(uint32_t v) { return Put(&v, 4); }
    FileBuilder& I32(int32_t v) { return Put(&v, 4); }
    FileBuilder& U16(uint16_t v) { return Put(&v, 2); }
    // int32 length + 1, then the text and its NUL (nothing more when empty).
    FileBuilder& Str(std::string_view s) {
        I32(static_cast<int32_t>(s.size() + 1));
        if (!s.empty()) {
            Put(s.data(), s.size());
            uint8_t nul = 0;
            Put(&nul, 1);
        }
        return *this;
    }
    // int32 count, then the ints.
    FileBuilder& Ints(std::initializer_list<int32_t> v) { return IntVec(std::vector<int32_t>(v)); }
    FileBuilder& IntVec(const std::vector<int32_t>& v) {
        I32(static_cast<int32_t>(v.size()));
        for (int32_t x : v) I32(x);
        return *this;
    }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    size_t Size() const { return m_bytes.size(); }

private:
    FileBuilder& Put(const void* p, size_t n) {
        const size_t at = m_bytes.size();
        m_bytes.resize(at + n);
        std::memcpy(m_bytes.data() + at, p, n);
        return *this;
    }
    std::vector<uint8_t> m_bytes;
};

inline void Set32(std::vector<uint8_t>& b, size_t at, int32_t v) { std::memcpy(b.data() + at, &v, 4); }

// The global state the player data reads, back to the start-up defaults.
inline void ResetPlayerGlobals() {
    g_nDataVersion = kDataVersion;
    g_bStripCR = 0;
    g_bFileTooNew = 0;
    g_bQuit = 0;
    g_PlayerDataSettings = cPlayerDataSettings();
    g_WorldMap = cWorldMap();
}

}  // namespace player_test
