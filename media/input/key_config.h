// The key configuration file user_data\KeyConfig.dat (108 bytes,
// little-endian): twelve bindings of one player, the binding count, the
// player count and the enabled switch. The player reads it and never
// writes it.
#pragma once
#include <cstdint>
#include <string_view>

constexpr int KEYCONFIG_FILE_SIZE = 108;
constexpr int KEYCONFIG_MAX_BINDS = 12;
constexpr int KEYCONFIG_MAX_PLAYERS = 1;
constexpr int KEYDEVICE_KEYBOARD = 8;
// Joystick binding codes for the four directions; any other code is a mask
// of the record's button bits.
constexpr uint16_t JOYBIND_LEFT = 256;
constexpr uint16_t JOYBIND_RIGHT = 512;
constexpr uint16_t JOYBIND_UP = 1024;
constexpr uint16_t JOYBIND_DOWN = 2048;

// One binding (8 bytes in the file; the last two are not read).
struct KEYBIND {
    int32_t m_nDevice = 0;  // 8 keyboard, else the index of an input record
    uint16_t m_wCode = 0;   // virtual-key code, or a joystick code
};

struct KEYPLAYER {
    KEYBIND m_Bind[KEYCONFIG_MAX_BINDS];  // left, right, up, down, then buttons 0..7
    int32_t m_nBindCount = 0;
};

struct KEYCONFIG {
    KEYPLAYER m_Player[KEYCONFIG_MAX_PLAYERS];
    int32_t m_nPlayerCount = 0;
    int32_t m_bEnabled = 0;  // 0: the fixed keys apply
};

extern KEYCONFIG g_KeyConfig;

// Reads up to 108 bytes of the file over the configuration (a shorter file
// changes only the fields its bytes reach). 1, or 0 when the file cannot be
// opened. Bindings whose device is neither the keyboard nor an input record
// are reported in the debug log; they read as released.
int LoadKeyConfig(std::string_view cp932Path, KEYCONFIG& config);

// Arrows, then Z X C V A S D F for buttons 0..7, on the keyboard; twelve
// bindings, one player, disabled.
void SetDefaultKeyConfig(KEYCONFIG& config);

// The counts as far as the structure holds them (and, for players, as far
// as there are input records).
int KeyConfigBindCount(const KEYCONFIG& config);
int KeyConfigPlayerCount(const KEYCONFIG& config, long long recordCount);
