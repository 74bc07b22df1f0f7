// Fuzz target over "System.ini": the input is the file, parsed over the
// defaults of a new game's start-up settings as the start-up reads it. A
// refused file that changed a value, a stage path or replay value outside
// its limits, or a second parse of the same bytes that reads otherwise is a
// finding.
#include <string>
#include <vector>

#include "records/system_ini.h"
#include "fuzz/fuzz_target.h"
#include "records/system_data.h"

namespace {

constexpr const char* kName = "system_ini";

std::vector<int> Values(const SystemIniData& s) {
    std::vector<int> v = {s.Direct3D, s.WindowMode, s.Bpp, s.VSync, s.D3D_FontCache, s.DD_FontCache,
                          s.DD_VideoStretch, s.ShowFps, s.English, s.Midi_DirectMusic};
    for (const SystemIniReplayKey* k : {&s.Replay_On, &s.Replay_AutomaticSave, &s.Replay_PlaybackOrder,
                                        &s.Replay_AutomaticMessageProgress}) {
        v.push_back(k->bSet);
        v.push_back(k->nValue);
    }
    return v;
}

void Run(const uint8_t* data, size_t size) {
    static const cSystemData defaults;
    const cCheckedVector<cSysSetting>& settings = defaults.m_vecSettings;
    SystemIniData before;
    SetSystemIniDefaults(before, settings);
    SystemIniData ini = before;
    const bool read = ParseSystemIni(data, size, ini, settings);
    if (!read && (Values(ini) != Values(before) || ini.FreeStage != before.FreeStage))
        FuzzFail(kName, "a refused file changed the settings");
    if (ini.FreeStage.size() > kSystemIniMaxPath || ini.FreeStage.size() == 1)
        FuzzFail(kName, "a stage path of %zu characters", ini.FreeStage.size());
    const SystemIniReplayKey* keys[] = {&ini.Replay_On, &ini.Replay_AutomaticSave, &ini.Replay_PlaybackOrder,
                                        &ini.Replay_AutomaticMessageProgress};
    for (int i = 0; i < 4; ++i) {
        const int limit = i == 3 ? 21 : 2;
        if (keys[i]->bSet && (keys[i]->nValue < 0 || keys[i]->nValue > limit))
            FuzzFail(kName, "%s is %d", g_ReplayIniKeys[i], keys[i]->nValue);
    }
    SystemIniData again = before;
    if (ParseSystemIni(data, size, again, settings) != read || Values(again) != Values(ini) ||
        again.FreeStage != ini.FreeStage)
        FuzzFail(kName, "the same bytes read otherwise the second time");
}

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

void Seeds(const std::string& gameDir, std::vector<FuzzSeed>& out) {
    out.emplace_back("all-keys",
                     Bytes("Direct3D=1\r\nWindowMode=1\r\nBpp=32\r\nVSync=0\r\nD3D_FontCache=1\r\nDD_FontCache=0\r\n"
                           "DD_VideoStretch=1\r\nShowFps=2 // two lines\r\nFreeStage=data\\stg4\\Stage.stg4_001\r\n"
                           "English=1\r\nMidi_DirectMusic=0\r\nReplay_On=1\r\nReplay_AutomaticSave=3\r\n"
                           "Replay_PlaybackOrder=-1\r\nReplay_AutomaticMessageProgress=30\r\nExit\r\nShowFps=0\r\n"));
    out.emplace_back("nul-end", Bytes(std::string("Direct 3D = 0\tVSync=+7/x\n", 26) + '\0' + "Bpp=8\n"));
    out.emplace_back("no-exit", Bytes("WindowMode=2\nFreeStage=a/b/c\n"));
    const std::string game = gameDir + "/System.ini";
    std::vector<uint8_t> file = FuzzReadFile(game);
    if (!file.empty()) out.emplace_back("game", file);
}

const cFuzzTarget kTarget{kName, nullptr, Run, Seeds};
const cFuzzTargetRegistration kRegistration(kTarget);

}  // namespace
