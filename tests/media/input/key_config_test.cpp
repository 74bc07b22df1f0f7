#include "media/input/key_config.h"

#include "base/log.h"
#include "base/quit.h"
#include "fake_input_source.h"
#include "media/input/input_list.h"
#include "platform/keyboard_state.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using platform::VK_DOWN;
using platform::VK_LEFT;
using platform::VK_RIGHT;
using platform::VK_UP;

namespace {

struct Bind {
    int32_t device;
    uint16_t code;
};

// The file as the format lays it out: 12 bindings of 8 bytes, the binding
// count, the player count, the enabled switch.
std::vector<uint8_t> KeyConfigBytes(const std::vector<Bind>& binds, int32_t count, int32_t players, int32_t enabled) {
    std::vector<uint8_t> b(108, 0);
    auto put32 = [&](size_t at, int32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
    };
    for (size_t i = 0; i < binds.size() && i < 12; ++i) {
        put32(i * 8, binds[i].device);
        b[i * 8 + 4] = static_cast<uint8_t>(binds[i].code);
        b[i * 8 + 5] = static_cast<uint8_t>(binds[i].code >> 8);
        b[i * 8 + 6] = 0xEE;  // not read
        b[i * 8 + 7] = 0xEE;
    }
    put32(96, count);
    put32(100, players);
    put32(104, enabled);
    return b;
}

class KeyConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::path(::testing::TempDir()) / ("keycfg_" + std::to_string(::getpid()) + "_" +
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        g_KeyConfig = KEYCONFIG{};
        g_InputList.assign(1, cInput{});
        g_bQuit = 0;
        logPath = (dir / "debug.txt").string();
        SetDebugLog(1, logPath);
    }
    void TearDown() override {
        SetDebugLog(0, "");
        g_KeyConfig = KEYCONFIG{};
        g_InputList.assign(1, cInput{});
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    std::string Write(const std::vector<uint8_t>& bytes) {
        std::string p = (dir / "KeyConfig.dat").string();
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
        return p;
    }
    std::string DebugText() {
        std::ifstream f(logPath, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }

    fs::path dir;
    std::string logPath;
};

const std::vector<Bind> kCustom = {{8, 'J'}, {8, 'L'}, {0, JOYBIND_UP}, {8, 'K'},
                                   {8, 'Q'}, {0, 0x2},  {0, JOYBIND_LEFT}, {8, platform::VK_SPACE},
                                   {8, 0x1FF}, {0, 0xFF00}, {8, 'E'}, {8, 'R'}};

TEST_F(KeyConfigTest, FullFileFillsEveryField) {
    KEYCONFIG cfg;
    SetDefaultKeyConfig(cfg);
    EXPECT_EQ(LoadKeyConfig(Write(KeyConfigBytes(kCustom, 7, 1, 1)), cfg), 1);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(cfg.m_Player[0].m_Bind[i].m_nDevice, kCustom[i].device) << i;
        EXPECT_EQ(cfg.m_Player[0].m_Bind[i].m_wCode, kCustom[i].code) << i;
    }
    EXPECT_EQ(cfg.m_Player[0].m_nBindCount, 7);
    EXPECT_EQ(cfg.m_nPlayerCount, 1);
    EXPECT_EQ(cfg.m_bEnabled, 1);
    EXPECT_EQ(DebugText().find("ignored"), std::string::npos);
}

TEST_F(KeyConfigTest, TruncatedFileFillsOnlyItsBytes) {
    // 50 bytes: six bindings and the low half of the seventh's device.
    auto bytes = KeyConfigBytes({{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}, {11, 12}, {0x01020304, 13}}, 12, 1, 1);
    bytes.resize(50);
    KEYCONFIG zero;
    EXPECT_EQ(LoadKeyConfig(Write(bytes), zero), 1);
    EXPECT_EQ(zero.m_Player[0].m_Bind[5].m_nDevice, 11);
    EXPECT_EQ(zero.m_Player[0].m_Bind[5].m_wCode, 12);
    EXPECT_EQ(zero.m_Player[0].m_Bind[6].m_nDevice, 0x0304);
    EXPECT_EQ(zero.m_Player[0].m_Bind[6].m_wCode, 0);
    EXPECT_EQ(zero.m_Player[0].m_nBindCount, 0);
    EXPECT_EQ(zero.m_bEnabled, 0);  // a truncated file stays disabled

    KEYCONFIG defaults;
    SetDefaultKeyConfig(defaults);
    EXPECT_EQ(LoadKeyConfig(Write(bytes), defaults), 1);
    EXPECT_EQ(defaults.m_Player[0].m_Bind[0].m_nDevice, 1);
    EXPECT_EQ(defaults.m_Player[0].m_Bind[6].m_nDevice, 0x0304);  // high half of 8 kept
    EXPECT_EQ(defaults.m_Player[0].m_Bind[6].m_wCode, 'C');
    EXPECT_EQ(defaults.m_Player[0].m_nBindCount, 12);
    EXPECT_EQ(defaults.m_nPlayerCount, 1);
}

TEST_F(KeyConfigTest, MissingFileReadsNothing) {
    KEYCONFIG cfg;
    cfg.m_bEnabled = 5;
    EXPECT_EQ(LoadKeyConfig((dir / "absent.dat").string(), cfg), 0);
    EXPECT_EQ(LoadKeyConfig(dir.string(), cfg), 0);  // a folder of that name
    EXPECT_EQ(cfg.m_bEnabled, 5);
    // Start-up then takes the defaults: fixed keys, disabled.
    SetDefaultKeyConfig(cfg);
    const int keys[12] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, 'Z', 'X', 'C', 'V', 'A', 'S', 'D', 'F'};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(cfg.m_Player[0].m_Bind[i].m_nDevice, 8);
        EXPECT_EQ(cfg.m_Player[0].m_Bind[i].m_wCode, keys[i]);
    }
    EXPECT_EQ(cfg.m_Player[0].m_nBindCount, 12);
    EXPECT_EQ(cfg.m_nPlayerCount, 1);
    EXPECT_EQ(cfg.m_bEnabled, 0);
}

TEST_F(KeyConfigTest, OversizedFileReadsFirst108Bytes) {
    auto bytes = KeyConfigBytes(kCustom, 12, 1, 1);
    bytes.resize(4096, 0x7F);
    KEYCONFIG cfg;
    EXPECT_EQ(LoadKeyConfig(Write(bytes), cfg), 1);
    EXPECT_EQ(cfg.m_Player[0].m_Bind[11].m_wCode, 'R');
    EXPECT_EQ(cfg.m_nPlayerCount, 1);
    EXPECT_EQ(cfg.m_bEnabled, 1);
}

TEST_F(KeyConfigTest, BackslashPathFromGameFolder) {
    fs::create_directories(dir / "user_data");
    std::ofstream(dir / "user_data" / "KEYCONFIG.DAT", std::ios::binary)
        .write(reinterpret_cast<const char*>(KeyConfigBytes(kCustom, 12, 1, 1).data()), 108);
    KEYCONFIG cfg;
    EXPECT_EQ(LoadKeyConfig(dir.string() + "\\user_data\\KeyConfig.dat", cfg), 1);
    EXPECT_EQ(cfg.m_bEnabled, 1);
}

class BindingsTest : public KeyConfigTest {
protected:
    void Load(const std::vector<Bind>& binds, int count, int players) {
        ASSERT_EQ(LoadKeyConfig(Write(KeyConfigBytes(binds, count, players, 1)), g_KeyConfig), 1);
        cInput& in = g_InputList.at(0);
        src.Plug(0);
        in.m_bJoyPresent = 1;
        in.m_dwJoyId = 0;
        in.m_dwThresholdLeft = in.m_dwThresholdUp = 21845;
        in.m_dwThresholdRight = in.m_dwThresholdDown = 43690;
        in.m_bPovUsable = 1;
    }
    cFakeInputSource src;
    platform::cScopedInputSource scope{src};
};

struct BindCase {
    std::vector<int> keys;
    uint32_t x, y, joyButtons;
    int dir, number, buttons;
};

TEST_F(BindingsTest, BindingsReplaceTheFixedKeys) {
    Load(kCustom, 7, 1);
    const uint32_t C = 32767;
    const BindCase cases[] = {
        {{'J', 'L'}, C, C, 0, INPUT_LEFT, 4, 0},           // left wins over right
        {{'L'}, C, C, 0, INPUT_RIGHT, 6, 0},
        {{'K'}, C, 0, 0, INPUT_UP, 2, 0},                  // joystick up wins over key down
        {{'K'}, C, C, 0, INPUT_DOWN, 8, 0},
        {{'Q'}, C, C, 0, 0, 5, 0x1},
        {{}, C, C, 0x2, 0, 5, 0x2},                        // joystick game button 1
        {{}, 0, C, 0, 0, 5, 0x4},                          // stick left bound to button 2
        {{VK_LEFT, VK_UP, 'Z', 'X'}, C, C, 0, 0, 5, 0},    // fixed keys do nothing now
        {{platform::VK_SPACE}, C, C, 0, 0, 5, 0},          // binding 7 is past the count
    };
    for (const auto& c : cases) {
        src.keys = {c.keys.begin(), c.keys.end()};
        src.joys[0].info.dwXpos = c.x;
        src.joys[0].info.dwYpos = c.y;
        src.joys[0].info.dwButtons = c.joyButtons;
        EXPECT_EQ(UpdateAllInput(g_InputList, 60), 1);
        const cInput& in = g_InputList.at(0);
        EXPECT_EQ(in.m_sDir, c.dir) << "x " << c.x << " y " << c.y << " dir " << c.dir;
        EXPECT_EQ(in.m_nDirNumber, c.number) << "dir " << c.dir;
        EXPECT_EQ(in.m_wButton, c.buttons) << "buttons " << c.buttons;
    }
}

TEST_F(BindingsTest, DisabledConfigurationLeavesTheRecord) {
    Load(kCustom, 7, 1);
    g_KeyConfig.m_bEnabled = 0;
    src.keys = {'Q'};
    g_InputList.at(0).m_wButton = 0x80;
    EXPECT_EQ(UpdateAllInput(g_InputList, 60), 0);
    EXPECT_EQ(g_InputList.at(0).m_wButton, 0x80);
}

TEST_F(BindingsTest, CountsBeyondTheStructureAreClamped) {
    std::vector<Bind> binds(12, Bind{8, 'M'});
    Load(binds, 1000, 7);
    src.keys = {'M'};
    EXPECT_EQ(UpdateAllInput(g_InputList, 60), 1);
    EXPECT_EQ(g_InputList.at(0).m_wButton, 0xFF);
    EXPECT_EQ(g_InputList.at(0).m_sDir, INPUT_LEFT | INPUT_UP);
    EXPECT_EQ(g_bQuit.load(), 0);
    std::string log = DebugText();
    EXPECT_NE(log.find("1000 bindings"), std::string::npos) << log;
    EXPECT_NE(log.find("7 players"), std::string::npos) << log;

    Load(binds, -3, 1);  // directions still work, no buttons
    EXPECT_EQ(UpdateAllInput(g_InputList, 60), 1);
    EXPECT_EQ(g_InputList.at(0).m_sDir, INPUT_LEFT | INPUT_UP);
    EXPECT_EQ(g_InputList.at(0).m_wButton, 0);
}

TEST_F(BindingsTest, BindingToNoRecordIsIgnoredAndReported) {
    const int closesBefore = CloseRequestCount();
    std::vector<Bind> binds(12, Bind{8, 'M'});
    binds[1] = {1, JOYBIND_RIGHT};  // only record 0 exists
    binds[5] = {-2, 0x1};
    binds[11] = {0, 0x1};           // a real record: fine
    Load(binds, 12, 1);
    std::string log = DebugText();
    EXPECT_NE(log.find("binding 1 ignored (device 1)"), std::string::npos) << log;
    EXPECT_NE(log.find("binding 5 ignored (device -2)"), std::string::npos) << log;
    EXPECT_EQ(log.find("binding 11"), std::string::npos) << log;

    src.keys = {};
    src.joys[0].info.dwXpos = 65535;
    src.joys[0].info.dwButtons = 0x1;
    EXPECT_EQ(UpdateAllInput(g_InputList, 60), 1);
    EXPECT_EQ(g_InputList.at(0).m_sDir, 0);
    EXPECT_EQ(g_InputList.at(0).m_wButton, 0x80);  // binding 11 = button 7
    EXPECT_EQ(g_bQuit.load(), 0);
    EXPECT_EQ(CloseRequestCount(), closesBefore);
}

TEST_F(BindingsTest, JoystickBindingWithoutJoystickReadsReleased) {
    std::vector<Bind> binds(12, Bind{0, 0xFF});
    Load(binds, 12, 1);
    g_InputList.at(0).m_bJoyPresent = 0;
    src.joys[0].info.dwXpos = 0;
    src.joys[0].info.dwButtons = 0xFF;
    src.keys = {VK_LEFT, 'Z'};
    EXPECT_EQ(UpdateAllInput(g_InputList, 60), 1);
    EXPECT_EQ(g_InputList.at(0).m_sDir, 0);
    EXPECT_EQ(g_InputList.at(0).m_wButton, 0);
    EXPECT_EQ(g_InputList.at(0).m_nDirNumber, 5);
    EXPECT_EQ(DebugText().find("ignored"), std::string::npos);
}

}  // namespace
