// Fuzz target over the key configuration file: the input is
// user_data\KeyConfig.dat, read by LoadKeyConfig over the default
// configuration as the start-up reads it; the configuration then drives the
// input records' update twice, with every key and joystick button held and
// with nothing held. A count beyond the structure or a direction or button
// outside its bits is a finding.
#include <cstring>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "media/input/input.h"
#include "media/input/input_list.h"
#include "media/input/key_config.h"
#include "platform/fs.h"
#include "platform/input_source.h"
#include "platform/joystick.h"
#include "platform/keyboard_state.h"

namespace {

constexpr const char* kName = "key_config";

// Every key held and one joystick pushed up-left with every button, or
// nothing at all.
class cAllOrNothing : public platform::cInputSource {
public:
    explicit cAllOrNothing(bool all) : m_bAll(all) {}
    bool IsKeyHeld(int) override { return m_bAll; }
    unsigned JoyGetNumDevs() override { return m_bAll ? 1 : 0; }
    bool JoyGetPosEx(unsigned id, platform::JoyInfoEx& info) override {
        if (!m_bAll || id != 0) return false;
        info = platform::JoyInfoEx{};
        info.dwButtons = 0xFFFFFFFFu;
        info.dwButtonNumber = 32;
        return true;
    }
    bool JoyGetDevCaps(unsigned id, platform::JoyCaps& caps) override {
        if (!m_bAll || id != 0) return false;
        caps = platform::JoyCaps{};
        caps.wXmax = caps.wYmax = 65535;
        return true;
    }

private:
    bool m_bAll;
};

void Run(const uint8_t* data, size_t size) {
    const std::string in = FuzzWorkDir() + "/KeyConfig.dat";
    if (!platform::WriteFileAtomic(in, data, size)) FuzzFail(kName, "cannot write the input file");
    SetDefaultKeyConfig(g_KeyConfig);
    if (!LoadKeyConfig(in, g_KeyConfig)) FuzzFail(kName, "an existing file is not read");
    const int binds = KeyConfigBindCount(g_KeyConfig);
    const int players = KeyConfigPlayerCount(g_KeyConfig, static_cast<long long>(g_InputList.size()));
    if (binds < 0 || binds > KEYCONFIG_MAX_BINDS || players < 0 || players > KEYCONFIG_MAX_PLAYERS)
        FuzzFail(kName, "%d bindings of %d players", binds, players);
    for (bool all : {true, false}) {
        cAllOrNothing source(all);
        platform::cScopedInputSource scoped(source);
        g_InputList.at(0) = cInput();
        UpdateAllInput(g_InputList, 60);
        const cInput& rec = g_InputList.at(0);
        if (rec.m_sDir < 0 || rec.m_sDir > 15 || rec.m_nDirNumber < 1 || rec.m_nDirNumber > 9)
            FuzzFail(kName, "direction bits %d, number %d", rec.m_sDir, rec.m_nDirNumber);
        if (g_KeyConfig.m_bEnabled && rec.m_wButton > 0xFF) FuzzFail(kName, "button bits %#x", rec.m_wButton);
    }
}

void Put(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A file of twelve bindings (each device, code, two unused bytes), the
// binding count, the player count and the switch.
std::vector<uint8_t> File(const KEYCONFIG& c) {
    std::vector<uint8_t> out;
    for (const KEYBIND& b : c.m_Player[0].m_Bind) {
        Put(out, static_cast<uint32_t>(b.m_nDevice), 4);
        Put(out, b.m_wCode, 2);
        Put(out, 0, 2);
    }
    Put(out, static_cast<uint32_t>(c.m_Player[0].m_nBindCount), 4);
    Put(out, static_cast<uint32_t>(c.m_nPlayerCount), 4);
    Put(out, static_cast<uint32_t>(c.m_bEnabled), 4);
    return out;
}

void Seeds(const std::string&, std::vector<FuzzSeed>& out) {
    KEYCONFIG c;
    SetDefaultKeyConfig(c);
    out.emplace_back("default", File(c));
    c.m_bEnabled = 1;
    out.emplace_back("enabled", File(c));
    // The joystick's directions and buttons on record 0.
    const uint16_t joy[KEYCONFIG_MAX_BINDS] = {JOYBIND_LEFT, JOYBIND_RIGHT, JOYBIND_UP, JOYBIND_DOWN, 1, 2, 4, 8,
                                               16, 32, 64, 128};
    for (int i = 0; i < KEYCONFIG_MAX_BINDS; ++i) c.m_Player[0].m_Bind[i] = KEYBIND{0, joy[i]};
    out.emplace_back("joystick", File(c));
    std::vector<uint8_t> half = File(c);
    half.resize(50);
    out.emplace_back("short", half);
}

const cFuzzTarget kTarget{kName, nullptr, Run, Seeds};
const cFuzzTargetRegistration kRegistration(kTarget);

}  // namespace
