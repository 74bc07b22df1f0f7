#include "records/system_ini.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <functional>
#include <string>

#include "platform/fs.h"

using namespace std::string_literals;

namespace {

const cCheckedVector<cSysSetting>& Settings() { return SystemDataDefaults().m_vecSettings; }

SystemIniData Defaults() {
    SystemIniData ini;
    SetSystemIniDefaults(ini, Settings());
    return ini;
}

struct IniCase {
    const char* name;
    std::string bytes;
    bool result;
    std::function<void(SystemIniData&)> expect;  // changes from the defaults
};

void ExpectSame(const SystemIniData& a, const SystemIniData& b) {
    EXPECT_EQ(a.Direct3D, b.Direct3D);
    EXPECT_EQ(a.WindowMode, b.WindowMode);
    EXPECT_EQ(a.Bpp, b.Bpp);
    EXPECT_EQ(a.VSync, b.VSync);
    EXPECT_EQ(a.D3D_FontCache, b.D3D_FontCache);
    EXPECT_EQ(a.DD_FontCache, b.DD_FontCache);
    EXPECT_EQ(a.DD_VideoStretch, b.DD_VideoStretch);
    EXPECT_EQ(a.ShowFps, b.ShowFps);
    EXPECT_EQ(a.English, b.English);
    EXPECT_EQ(a.Midi_DirectMusic, b.Midi_DirectMusic);
    EXPECT_EQ(a.FreeStage, b.FreeStage);
    const SystemIniReplayKey* ra[] = {&a.Replay_On, &a.Replay_AutomaticSave, &a.Replay_PlaybackOrder,
                                      &a.Replay_AutomaticMessageProgress};
    const SystemIniReplayKey* rb[] = {&b.Replay_On, &b.Replay_AutomaticSave, &b.Replay_PlaybackOrder,
                                      &b.Replay_AutomaticMessageProgress};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ra[i]->bSet, rb[i]->bSet) << g_ReplayIniKeys[i];
        if (ra[i]->bSet) {
            EXPECT_EQ(ra[i]->nValue, rb[i]->nValue) << g_ReplayIniKeys[i];
        }
    }
}

std::string Lines(int n, const std::string& line) {
    std::string s;
    for (int i = 0; i < n; ++i) s += line;
    return s;
}

}  // namespace

TEST(SystemIni, DefaultsComeFromTheSettings) {
    const SystemIniData ini = Defaults();
    EXPECT_EQ(ini.Direct3D, 2);
    EXPECT_EQ(ini.WindowMode, 0);
    EXPECT_EQ(ini.VSync, 2);
    EXPECT_EQ(ini.DD_FontCache, 1);
    EXPECT_EQ(ini.ShowFps, 1);
    EXPECT_EQ(ini.Midi_DirectMusic, 1);
    EXPECT_EQ(ini.FreeStage, "");
    EXPECT_EQ(ini.Replay_On.bSet, 0);

    // A game's own setting values and a long text default (cut to 259).
    cCheckedVector<cSysSetting> settings = Settings();
    settings.at(SYSSET_BPP).m_nValue = 16;
    settings.at(SYSSET_ENGLISH).m_nValue = 1;
    settings.at(SYSSET_FREESTAGE).m_strValue = std::string(300, 'a');
    SystemIniData custom;
    custom.Replay_On = {1, 1};
    SetSystemIniDefaults(custom, settings);
    EXPECT_EQ(custom.Bpp, 16);
    EXPECT_EQ(custom.English, 1);
    EXPECT_EQ(custom.FreeStage, std::string(259, 'a'));
    EXPECT_EQ(custom.Replay_On.bSet, 0);
}

TEST(SystemIni, ByteStrings) {
    const std::string path259 = "data\\stg4\\" + std::string(249, 'p');
    const IniCase cases[] = {
        {"crlf lines", "Direct3D=0\r\nExit\r\n", true, [](SystemIniData& e) { e.Direct3D = 0; }},
        {"no exit line", "Direct3D=0\r\nWindowMode=1\r\n", false, nullptr},
        {"exit without line end", "Direct3D=0\r\nExit", false, nullptr},
        {"empty file", "", false, nullptr},
        {"ends inside a value", "Direct3D=0", false, nullptr},
        {"nul ends the file", "WindowMode=1\n\0garbage"s, true, [](SystemIniData& e) { e.WindowMode = 1; }},
        {"nul after a value only ends the value", "WindowMode=1\0"s, false, nullptr},
        {"lines after exit are not read", "Exit\nDirect3D=0\n", true, nullptr},
        {"exit with blanks and CR", " Ex it \r\nDirect3D=0\n", true, nullptr},
        {"comment after the value", "ShowFps=2 // two lines\r\nExit\r\n", true,
         [](SystemIniData& e) { e.ShowFps = 2; }},
        {"tab before a comment", "VSync=1\t// on\nExit\n", true, [](SystemIniData& e) { e.VSync = 1; }},
        {"comment line", "// Direct3D=0\nExit\n", true, nullptr},
        {"blank before = and after", "Direct3D = 1\nExit\n", true, [](SystemIniData& e) { e.Direct3D = 0; }},
        {"blank inside the key", "Direct 3D=0\nWindow\tMode=2\nExit\n", true,
         [](SystemIniData& e) {
             e.Direct3D = 0;
             e.WindowMode = 2;
         }},
        {"keys are case-sensitive", "direct3d=0\nEXIT\nExit\n", true, nullptr},
        {"unknown key", "Foo=3\nBar\nExit\n", true, nullptr},
        {"numbers", "Bpp=16bit\nD3D_FontCache=-3\nDD_FontCache=x\nDD_VideoStretch=+1\nEnglish=99999999999\nExit\n",
         true,
         [](SystemIniData& e) {
             e.Bpp = 16;
             e.D3D_FontCache = -3;
             e.DD_FontCache = 0;
             e.DD_VideoStretch = 1;
             e.English = INT_MAX;
         }},
        {"later line wins", "Midi_DirectMusic=0\nMidi_DirectMusic=1\nMidi_DirectMusic=0\nExit\n", true,
         [](SystemIniData& e) { e.Midi_DirectMusic = 0; }},
        {"free stage of one character", "FreeStage=a\r\nExit\r\n", true, nullptr},
        {"free stage with CR LF", "FreeStage=data\\stg4\\a.stg4_001\r\nExit\r\n", true,
         [](SystemIniData& e) { e.FreeStage = "data\\stg4\\a.stg4_001"; }},
        {"free stage with slashes", "FreeStage=data/stg4/a.stg4_001\nExit\n", true,
         [](SystemIniData& e) { e.FreeStage = "data"; }},
        {"free stage of 259", "FreeStage=" + path259 + "\nExit\n", true,
         [path259](SystemIniData& e) { e.FreeStage = path259; }},
        {"free stage of 260", "FreeStage=" + path259 + "x\nExit\n", true, nullptr},
        {"replay keys", "Replay_On=5\nReplay_AutomaticSave=0\nReplay_PlaybackOrder=3\nExit\n", true,
         [](SystemIniData& e) {
             e.Replay_On = {1, 2};
             e.Replay_AutomaticSave = {1, 0};
             e.Replay_PlaybackOrder = {1, 2};
         }},
        {"message progress 30 gives 20", "Replay_AutomaticMessageProgress=30\nExit\n", true,
         [](SystemIniData& e) { e.Replay_AutomaticMessageProgress = {1, 20}; }},
        {"message progress 21 stays", "Replay_AutomaticMessageProgress=21\nExit\n", true,
         [](SystemIniData& e) { e.Replay_AutomaticMessageProgress = {1, 21}; }},
        {"negative forgets an earlier value", "Replay_On=1\nReplay_On=-1\nExit\n", true, nullptr},
        {"value cut at 2047 bytes", "Bpp=" + std::string(3000, '7') + "\nExit\n", true,
         [](SystemIniData& e) { e.Bpp = INT_MAX; }},
        {"10000 segments end the reading", Lines(10000, "x\n"), true, nullptr},
        {"9999 segments and the end of the file", Lines(9999, "x\n"), false, nullptr},
        {"the 10001st segment is not read", Lines(10000, "x\n") + "Direct3D=0\n", true, nullptr},
    };
    for (const IniCase& c : cases) {
        SCOPED_TRACE(c.name);
        SystemIniData ini = Defaults();
        SystemIniData expected = Defaults();
        if (c.expect) c.expect(expected);
        const bool result = ParseSystemIni(reinterpret_cast<const unsigned char*>(c.bytes.data()),
                                           c.bytes.size(), ini, Settings());
        EXPECT_EQ(result, c.result);
        ExpectSame(ini, expected);
    }
}

TEST(SystemIni, KeysAreTheGamesSettingKeys) {
    cCheckedVector<cSysSetting> settings = Settings();
    settings.at(SYSSET_DIRECT3D).m_strKey = "Renderer";
    SystemIniData ini;
    SetSystemIniDefaults(ini, settings);
    const std::string bytes = "Direct3D=0\nRenderer=1\nExit\n";
    ASSERT_TRUE(ParseSystemIni(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), ini,
                               settings));
    EXPECT_EQ(ini.Direct3D, 1);
}

TEST(SystemIni, FilesOnDisk) {
    const std::string dir = ::testing::TempDir() + "tovaro_system_ini";
    platform::MakeDirectory(dir);
    const std::string path = dir + "/System.ini";
    const std::string good = "WindowMode=1\r\nExit\r\n";
    ASSERT_TRUE(platform::WriteFileAtomic(path, good.data(), good.size()));
    SystemIniData ini = Defaults();
    EXPECT_TRUE(LoadSystemIni(path, ini, Settings()));
    EXPECT_EQ(ini.WindowMode, 1);

    SystemIniData untouched = Defaults();
    EXPECT_FALSE(LoadSystemIni(dir + "/Missing.ini", untouched, Settings()));
    ExpectSame(untouched, Defaults());
    platform::RemoveFile(path);
}
