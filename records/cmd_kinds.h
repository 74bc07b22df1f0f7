// The vocabulary of flows and commands: chara and item command kinds with
// their parameter counts, flow triggers, and the choice-code mapping of the
// direction choices.
#pragma once
#include <cstdint>
#include <string>

enum CharaCmdKind : int {
    CMD_NONE = 0,
    CMD_WAIT,
    CMD_MOVE_STRAIGHT,
    CMD_MOVE_GROUND_TURN,
    CMD_MOVE_CIRCLE,
    CMD_MOVE_CHARGE,
    CMD_MOVE_HOMING,
    CMD_MOVE_AVOID_OFFSCREEN,
    CMD_MOVE_DISABLE,
    CMD_CHANGE_FACING,
    CMD_JUMP,  // 10
    CMD_SHOT,
    CMD_SWORD,
    CMD_SUMMON_BLOCK,
    CMD_SUMMON_CHARA,
    CMD_SUMMON_ITEM,
    CMD_FLOW_CONTROL,
    CMD_STAGE_CLEAR,
    CMD_GAME_WAIT,
    CMD_MESSAGE,
    CMD_WARP,  // 20
    CMD_SET_TARGET,
    CMD_STATUS_OP,
    CMD_STATUS_OP2,
    CMD_VANISH,
    CMD_GET_ITEM,
    CMD_CHANGE_GRAPHIC,
    CMD_CHANGE_ANIME_SET,
    CMD_RUN_ANIME,
    CMD_RUN_EFFECT,
    CMD_RUN_CHARA_EFFECT,  // 30
    CMD_RUN_SCREEN_EFFECT,
    CMD_SHOW_PICTURE,
    CMD_SCREEN_COLOR,
    CMD_CHANGE_BACKGROUND,
    CMD_PLAY_SE,
    CMD_PLAY_BGM,
    CMD_RUN_CODE,
    CMD_ARRANGE,
    CMD_LOOP,  // 39
    CHARA_CMD_KIND_COUNT
};

// Item command kinds: 0 none, 1 flow change, and k = 2..24 the chara kind
// k + 15 (stage clear .. loop).
enum ItemCmdKind : int {
    ICMD_NONE = 0,
    ICMD_CHANGE_FLOW,
    ICMD_STAGE_CLEAR,
    ICMD_GAME_WAIT,
    ICMD_MESSAGE,
    ICMD_WARP,
    ICMD_SET_TARGET,
    ICMD_STATUS_OP,
    ICMD_STATUS_OP2,
    ICMD_VANISH,
    ICMD_GET_ITEM,  // 10
    ICMD_CHANGE_GRAPHIC,
    ICMD_CHANGE_ANIME_SET,
    ICMD_RUN_ANIME,
    ICMD_RUN_EFFECT,
    ICMD_RUN_CHARA_EFFECT,
    ICMD_RUN_SCREEN_EFFECT,
    ICMD_SHOW_PICTURE,
    ICMD_SCREEN_COLOR,
    ICMD_CHANGE_BACKGROUND,
    ICMD_PLAY_SE,  // 20
    ICMD_PLAY_BGM,
    ICMD_RUN_CODE,
    ICMD_ARRANGE,
    ICMD_LOOP,  // 24
    ITEM_CMD_KIND_COUNT
};

// The chara command kind that an item command kind of 2 or more runs as.
inline constexpr int ItemCmdToCharaCmd(int itemKind) { return itemKind + 15; }

enum FlowTrigger : int {
    TRG_ALWAYS = 0,
    TRG_DAMAGED_POWER,
    TRG_DAMAGED,
    TRG_IMPACTED_POWER,
    TRG_IMPACTED,
    TRG_DIED,
    TRG_HIT_CHARA,
    TRG_HIT_BLOCK_CHARA,
    TRG_ON_BLOCK_CHARA,
    TRG_HIT_SHOT,
    TRG_HIT_ITEM,  // 10
    TRG_HIT_BLOCK,
    TRG_BLOCK_LEFT_RIGHT,
    TRG_BLOCK_LEFT,
    TRG_BLOCK_RIGHT,
    TRG_BLOCK_UP_DOWN,
    TRG_BLOCK_UP,
    TRG_BLOCK_DOWN,
    TRG_RIDDEN_BY_HERO,
    TRG_RIDDEN_BY_CHARA,
    TRG_ATTACK_DAMAGE_POWER,  // 20
    TRG_ATTACK_DAMAGE,
    TRG_ATTACK_IMPACT_POWER,
    TRG_ATTACK_IMPACT,
    TRG_ATTACK_HIT,
    TRG_STAGE_START,
    TRG_NONE,  // 26: never fired; run by the flow-control command only
    FLOW_TRIGGER_COUNT
};

// Statuses of a chara that conditions, status operations and formulas
// address.
enum CharaStatus : int {
    STATUS_VAR = 0,  // one chara variable (v1..v8)
    STATUS_HP,
    STATUS_SP,
    STATUS_MAXHP,
    STATUS_MAXSP,
    STATUS_CID,
    STATUS_X,
    STATUS_Y,
    STATUS_Z,
    STATUS_MARK,
    STATUS_SIGHT,  // 10; player charas only
    STATUS_POWER,
    STATUS_IMP,
    STATUS_DEF,
    STATUS_IMPD,
    STATUS_STOP,
    STATUS_GETSC,  // 16
    CHARA_STATUS_COUNT
};
// Values of the game as a whole (subject "system").
enum SystemValue : int {
    SYSVAL_TIME = 0,
    SYSVAL_SCROLLX,
    SYSVAL_SCROLLY,
    SYSVAL_SCORE,
    SYSVAL_LIFE,
    SYSTEM_VALUE_COUNT
};

// A command-kind table entry: label (CP932) and parameter count.
struct cCmdKindInfo {
    std::string strName;
    int32_t nParams;
};

// Indexed by the kind; kinds outside the table are not looked up by play.
extern const cCmdKindInfo CharaCmdKindTable[CHARA_CMD_KIND_COUNT];
extern const cCmdKindInfo ItemCmdKindTable[ITEM_CMD_KIND_COUNT];

// Parameter count of a command of the given family (0 chara, 1 item) and
// kind; 0 for a kind outside its table.
int CmdKindParamCount(int family, int kind);

// The direction code for a choice index (0..9) of the shot, summon and
// movement commands. keepNine and alternative are the command's switches;
// bReplayPlayback and nReplayVersion tell whether a replay is being played
// and the version of its file (the old numberings of choice 9 live on in
// replays of versions 777 to 779). A choice outside 0..9 gives the fallback.
int MapChoiceCode(int choice, int keepNine, int alternative, bool bReplayPlayback, uint32_t nReplayVersion);
