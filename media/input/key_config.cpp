#include "media/input/key_config.h"

#include "base/log.h"
#include "media/input/input_list.h"
#include "platform/fs.h"
#include "platform/keyboard_state.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>

KEYCONFIG g_KeyConfig;

namespace {

using Image = std::array<uint8_t, KEYCONFIG_FILE_SIZE>;

void Put32(uint8_t* p, int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(u >> (8 * i));
}
void Put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
int32_t Get32(const uint8_t* p) {
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(p[i]) << (8 * i);
    return static_cast<int32_t>(u);
}
uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// Byte offsets of the file.
constexpr int kBindSize = 8;
constexpr int kCountOffset = KEYCONFIG_MAX_BINDS * kBindSize;  // 96
constexpr int kPlayersOffset = 100;
constexpr int kEnabledOffset = 104;

Image ToImage(const KEYCONFIG& c) {
    Image img{};
    for (int i = 0; i < KEYCONFIG_MAX_BINDS; ++i) {
        Put32(&img[i * kBindSize], c.m_Player[0].m_Bind[i].m_nDevice);
        Put16(&img[i * kBindSize + 4], c.m_Player[0].m_Bind[i].m_wCode);
    }
    Put32(&img[kCountOffset], c.m_Player[0].m_nBindCount);
    Put32(&img[kPlayersOffset], c.m_nPlayerCount);
    Put32(&img[kEnabledOffset], c.m_bEnabled);
    return img;
}

void FromImage(KEYCONFIG& c, const Image& img) {
    for (int i = 0; i < KEYCONFIG_MAX_BINDS; ++i) {
        c.m_Player[0].m_Bind[i].m_nDevice = Get32(&img[i * kBindSize]);
        c.m_Player[0].m_Bind[i].m_wCode = Get16(&img[i * kBindSize + 4]);
    }
    c.m_Player[0].m_nBindCount = Get32(&img[kCountOffset]);
    c.m_nPlayerCount = Get32(&img[kPlayersOffset]);
    c.m_bEnabled = Get32(&img[kEnabledOffset]);
}

void ReportUnusableBindings(const KEYCONFIG& c, long long recordCount) {
    if (c.m_Player[0].m_nBindCount > KEYCONFIG_MAX_BINDS)
        DebugLogf("KeyConfig: %d bindings, only %d are kept", c.m_Player[0].m_nBindCount, KEYCONFIG_MAX_BINDS);
    if (c.m_nPlayerCount > KEYCONFIG_MAX_PLAYERS)
        DebugLogf("KeyConfig: %d players, only %d is kept", c.m_nPlayerCount, KEYCONFIG_MAX_PLAYERS);
    int players = KeyConfigPlayerCount(c, recordCount);
    int binds = KeyConfigBindCount(c);
    for (int p = 0; p < players; ++p) {
        // Directions are read whatever the count says.
        for (int j = 0; j < std::max(binds, 4); ++j) {
            int32_t dev = c.m_Player[p].m_Bind[j].m_nDevice;
            if (dev == KEYDEVICE_KEYBOARD || (dev >= 0 && dev < recordCount)) continue;
            DebugLogf("KeyConfig: binding %d ignored (device %d)", j, dev);
        }
    }
}

}  // namespace

int KeyConfigBindCount(const KEYCONFIG& config) {
    return std::clamp(config.m_Player[0].m_nBindCount, 0, KEYCONFIG_MAX_BINDS);
}

int KeyConfigPlayerCount(const KEYCONFIG& config, long long recordCount) {
    long long limit = std::min<long long>(KEYCONFIG_MAX_PLAYERS, recordCount);
    return static_cast<int>(std::clamp<long long>(config.m_nPlayerCount, 0, std::max(limit, 0LL)));
}

int LoadKeyConfig(std::string_view cp932Path, KEYCONFIG& config) {
    const std::string host = platform::OsPath(cp932Path);
    std::error_code ec;
    if (std::filesystem::is_directory(host, ec)) return 0;  // opens on Linux, never on Windows
    std::ifstream in(host, std::ios::binary);
    if (!in) return 0;
    Image img = ToImage(config);
    Image file{};
    in.read(reinterpret_cast<char*>(file.data()), KEYCONFIG_FILE_SIZE);
    size_t got = static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0));
    std::memcpy(img.data(), file.data(), got);
    FromImage(config, img);
    ReportUnusableBindings(config, static_cast<long long>(g_InputList.size()));
    return 1;
}

void SetDefaultKeyConfig(KEYCONFIG& config) {
    static constexpr uint16_t kKeys[KEYCONFIG_MAX_BINDS] = {
        platform::VK_LEFT, platform::VK_RIGHT, platform::VK_UP, platform::VK_DOWN,
        'Z', 'X', 'C', 'V', 'A', 'S', 'D', 'F'};
    for (int i = 0; i < KEYCONFIG_MAX_BINDS; ++i) {
        config.m_Player[0].m_Bind[i].m_nDevice = KEYDEVICE_KEYBOARD;
        config.m_Player[0].m_Bind[i].m_wCode = kKeys[i];
    }
    config.m_Player[0].m_nBindCount = KEYCONFIG_MAX_BINDS;
    config.m_nPlayerCount = 1;
    config.m_bEnabled = 0;
}
