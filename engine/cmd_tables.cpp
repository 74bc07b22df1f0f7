#include "engine/cmd_tables.h"

#include "engine/move_commands.h"
#include "engine/flow_control.h"
#include "engine/shot_commands.h"
#include "engine/message_commands.h"
#include "engine/presentation_commands.h"
#include "engine/status_commands.h"
#include "engine/target_commands.h"
#include "engine/warp.h"

void ExecNothing(cChara&, cFlowCmd&) {}

// One line per kind; a command kind's executor goes into its own line.
CmdExecFn CmdExecTable[CHARA_CMD_KIND_COUNT] = {
    ExecNothing,  // CMD_NONE
    ExecNothing,  // CMD_WAIT
    ExecMoveStraight,  // CMD_MOVE_STRAIGHT
    ExecMoveGroundTurn,  // CMD_MOVE_GROUND_TURN
    ExecMoveCircle,  // CMD_MOVE_CIRCLE
    ExecMoveCharge,  // CMD_MOVE_CHARGE
    ExecMoveHoming,  // CMD_MOVE_HOMING
    ExecMoveAvoidOffscreen,  // CMD_MOVE_AVOID_OFFSCREEN
    ExecMoveDisable,  // CMD_MOVE_DISABLE
    ExecChangeFacing,  // CMD_CHANGE_FACING
    ExecJump,  // CMD_JUMP
    ExecShot,  // CMD_SHOT
    ExecSword,  // CMD_SWORD
    ExecSummonBlock,  // CMD_SUMMON_BLOCK
    ExecSummonChara,  // CMD_SUMMON_CHARA
    ExecSummonItem,  // CMD_SUMMON_ITEM
    ExecFlowControl,  // CMD_FLOW_CONTROL
    ExecStageClear,  // CMD_STAGE_CLEAR
    ExecGameWait,  // CMD_GAME_WAIT
    ExecMessage,  // CMD_MESSAGE
    ExecWarp,  // CMD_WARP
    ExecSetTarget,  // CMD_SET_TARGET
    ExecStatusOp,  // CMD_STATUS_OP
    ExecStatusOp2,  // CMD_STATUS_OP2
    ExecVanish,  // CMD_VANISH
    ExecGetItem,  // CMD_GET_ITEM
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
CmdSetupFn CmdSetupTable[CHARA_CMD_KIND_COUNT] = {
    nullptr,             // CMD_NONE
    nullptr,             // CMD_WAIT
    SetupMoveCmd,        // CMD_MOVE_STRAIGHT
    SetupMoveCmd,        // CMD_MOVE_GROUND_TURN
    SetupCircleMoveCmd,  // CMD_MOVE_CIRCLE
    SetupMoveCmd,        // CMD_MOVE_CHARGE
    SetupHomingMoveCmd,  // CMD_MOVE_HOMING
    SetupMoveCmd,        // CMD_MOVE_AVOID_OFFSCREEN
    nullptr,             // CMD_MOVE_DISABLE
    nullptr,             // CMD_CHANGE_FACING
    SetupJumpCmd,        // CMD_JUMP
};
