#include "engine/cmd_tables.h"

#include "engine/presentation_commands.h"
#include "engine/status_commands.h"

void ExecNothing(cChara&, cFlowCmd&) {}

// One line per kind; a command kind's executor goes into its own line.
CmdExecFn CmdExecTable[CHARA_CMD_KIND_COUNT] = {
    ExecNothing,  // CMD_NONE
    ExecNothing,  // CMD_WAIT
    nullptr,      // CMD_MOVE_STRAIGHT
    nullptr,      // CMD_MOVE_GROUND_TURN
    nullptr,      // CMD_MOVE_CIRCLE
    nullptr,      // CMD_MOVE_CHARGE
    nullptr,      // CMD_MOVE_HOMING
    nullptr,      // CMD_MOVE_AVOID_OFFSCREEN
    nullptr,      // CMD_MOVE_DISABLE
    nullptr,      // CMD_CHANGE_FACING
    nullptr,      // CMD_JUMP
    nullptr,      // CMD_SHOT
    nullptr,      // CMD_SWORD
    nullptr,      // CMD_SUMMON_BLOCK
    nullptr,      // CMD_SUMMON_CHARA
    nullptr,      // CMD_SUMMON_ITEM
    nullptr,      // CMD_FLOW_CONTROL
    nullptr,      // CMD_STAGE_CLEAR
    nullptr,      // CMD_GAME_WAIT
    nullptr,      // CMD_MESSAGE
    nullptr,      // CMD_WARP
    nullptr,      // CMD_SET_TARGET
    nullptr,      // CMD_STATUS_OP
    nullptr,      // CMD_STATUS_OP2
    nullptr,      // CMD_VANISH
    nullptr,      // CMD_GET_ITEM
    ExecChangeGraphic,  // CMD_CHANGE_GRAPHIC
    ExecChangeAnimeSet,  // CMD_CHANGE_ANIME_SET
    ExecRunAnime,  // CMD_RUN_ANIME
    ExecRunEffect,  // CMD_RUN_EFFECT
    ExecRunCharaEffect,  // CMD_RUN_CHARA_EFFECT
    ExecRunScreenEffect,  // CMD_RUN_SCREEN_EFFECT
    ExecShowPicture,  // CMD_SHOW_PICTURE
    ExecScreenColor,  // CMD_SCREEN_COLOR
    ExecChangeBackground,  // CMD_CHANGE_BACKGROUND
    ExecPlaySe,  // CMD_PLAY_SE
    ExecPlayBgm,  // CMD_PLAY_BGM
    ExecRunCode,  // CMD_RUN_CODE
    ExecArrange,  // CMD_ARRANGE
    ExecNothing,  // CMD_LOOP
};

// Only the movement kinds (2 to 7) and the jump (10) have a set-up routine;
// each goes into its kind's slot.
CmdSetupFn CmdSetupTable[CHARA_CMD_KIND_COUNT] = {};
