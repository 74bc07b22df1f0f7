#include "records/system_ini.h"

#include <climits>
#include <cstdint>

#include "platform/fs.h"

SystemIniData g_SystemIni;

const char* const g_ReplayIniKeys[5] = {
    "Replay_On",
    "Replay_AutomaticSave",
    "Replay_PlaybackOrder",
    "Replay_AutomaticMessageProgress",
    "",
};

namespace {

// Leading digits with an optional sign, as a decimal int; 0 when there are
// none. Values beyond the int range stay at its ends.
int ToInt(const std::string& s) {
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    int64_t v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        v = v * 10 + (s[i] - '0');
        if (v > static_cast<int64_t>(INT_MAX) + 1) v = static_cast<int64_t>(INT_MAX) + 1;
    }
    if (negative) v = -v;
    if (v > INT_MAX) v = INT_MAX;
    return static_cast<int>(v);
}

int* IntField(SystemIniData& ini, int setting) {
    switch (setting) {
    case SYSSET_DIRECT3D: return &ini.Direct3D;
    case SYSSET_WINDOWMODE: return &ini.WindowMode;
    case SYSSET_BPP: return &ini.Bpp;
    case SYSSET_VSYNC: return &ini.VSync;
    case SYSSET_D3D_FONTCACHE: return &ini.D3D_FontCache;
    case SYSSET_DD_FONTCACHE: return &ini.DD_FontCache;
    case SYSSET_DD_VIDEOSTRETCH: return &ini.DD_VideoStretch;
    case SYSSET_SHOWFPS: return &ini.ShowFps;
    case SYSSET_ENGLISH: return &ini.English;
    case SYSSET_MIDI_DIRECTMUSIC: return &ini.Midi_DirectMusic;
    default: return nullptr;
    }
}

SystemIniReplayKey* ReplayField(SystemIniData& ini, int index) {
    switch (index) {
    case 0: return &ini.Replay_On;
    case 1: return &ini.Replay_AutomaticSave;
    case 2: return &ini.Replay_PlaybackOrder;
    case 3: return &ini.Replay_AutomaticMessageProgress;
    default: return nullptr;
    }
}

void Apply(const std::string& key, const std::string& value, SystemIniData& ini,
           const cCheckedVector<cSysSetting>& settings) {
    const int count = static_cast<int>(settings.size()) < SYSSET_COUNT
                          ? static_cast<int>(settings.size())
                          : SYSSET_COUNT;
    for (int i = 0; i < count; ++i) {
        if (settings[i].m_strKey != key) continue;
        if (i == SYSSET_FREESTAGE) {
            // A CR LF line end leaves the CR in the value; it is no part of
            // the path.
            std::string path = value;
            while (!path.empty() && path.back() == '\r') path.pop_back();
            if (path.size() >= 2 && path.size() <= static_cast<size_t>(kSystemIniMaxPath)) {
                ini.FreeStage = path;
            }
        } else {
            *IntField(ini, i) = ToInt(value);
        }
        break;
    }
    for (int r = 0; g_ReplayIniKeys[r][0] != '\0'; ++r) {
        if (key != g_ReplayIniKeys[r]) continue;
        SystemIniReplayKey& field = *ReplayField(ini, r);
        int v = ToInt(value);
        if (v < 0) {
            field.bSet = 0;
        } else {
            if (r < 3) {
                if (v >= 3) v = 2;
            } else if (v >= 22) {
                v = 20;
            }
            field.bSet = 1;
            field.nValue = v;
        }
    }
}

}  // namespace

void SetSystemIniDefaults(SystemIniData& ini, const cCheckedVector<cSysSetting>& settings) {
    ini = SystemIniData{};
    const int count = static_cast<int>(settings.size()) < SYSSET_COUNT
                          ? static_cast<int>(settings.size())
                          : SYSSET_COUNT;
    for (int i = 0; i < count; ++i) {
        if (i == SYSSET_FREESTAGE) {
            ini.FreeStage = settings[i].m_strValue.substr(0, kSystemIniMaxPath);
        } else {
            *IntField(ini, i) = settings[i].m_nValue;
        }
    }
}

namespace {

bool Parse(const unsigned char* data, size_t size, SystemIniData& ini,
           const cCheckedVector<cSysSetting>& settings) {
    size_t pos = 0;
    std::string key, value;
    for (int segment = 0; segment < kSystemIniMaxSegments; ++segment) {
        // Key part: up to "=", LF or NUL; CR, blank and tab fall out.
        key.clear();
        unsigned char c = 0;
        for (;;) {
            if (pos >= size) return false;
            c = data[pos++];
            if (c == '=' || c == '\n' || c == '\0') break;
            if (c == '\r' || c == ' ' || c == '\t') continue;
            if (key.size() < static_cast<size_t>(kSystemIniMaxText)) key.push_back(static_cast<char>(c));
        }
        if (c == '\0') return true;
        if (c == '\n') {
            if (key == "Exit") return true;
            continue;
        }
        // Value part: up to blank, tab, "/", LF, NUL or the end; the ending
        // byte is consumed and the rest of the line is a further segment.
        value.clear();
        while (pos < size) {
            c = data[pos++];
            if (c == ' ' || c == '\t' || c == '/' || c == '\n' || c == '\0') break;
            if (value.size() < static_cast<size_t>(kSystemIniMaxText)) value.push_back(static_cast<char>(c));
        }
        Apply(key, value, ini, settings);
    }
    return true;
}

}  // namespace

bool ParseSystemIni(const unsigned char* data, size_t size, SystemIniData& ini,
                    const cCheckedVector<cSysSetting>& settings) {
    // Values are taken only from a properly ended file.
    SystemIniData parsed = ini;
    if (!Parse(data, size, parsed, settings)) return false;
    ini = parsed;
    return true;
}

bool LoadSystemIni(const std::string& cp932Path, SystemIniData& ini,
                   const cCheckedVector<cSysSetting>& settings) {
    std::optional<std::vector<uint8_t>> bytes = platform::ReadWholeFile(cp932Path);
    if (!bytes) return false;
    return ParseSystemIni(bytes->data(), bytes->size(), ini, settings);
}
