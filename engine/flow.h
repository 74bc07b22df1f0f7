// Run records of a chara's flows: one cFlow per flow of the chara's
// definition, one cFlowCmd per command of that flow. The records point at
// the chara's own copies of the definitions (not owned); the chara keeps
// them pointing there whenever its flow vectors change.
#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <vector>

#include "base/checked_vector.h"

class cEdFlow;
class cEdFlowCmd;
class cKeyCond;

// A queued parameter change of an "アレンジ" command: which kind and
// parameter it changes, how, and with what.
struct cArrange {
    int32_t nKind = 0;
    int32_t nParam = 0;
    int32_t nOp = 0;
    int32_t nSource = 0;
    int32_t nValue = 0;
};

// An animation a flow starts at a given frame count of its own: the
// animation runs so that its lead-in ends when its command starts.
struct FlowAnimeEntry {
    int32_t nStart = 0;    // flow frame count at which the run starts
    int32_t nStart2 = 0;   // the same value again (not read at run time)
    int16_t nAnime = 0;    // animation number
    int16_t nSkip = 0;     // frames of the lead-in skipped at the start
    int16_t nFrames = 0;   // lead-in frames that are played
    int16_t nCmdTime = 0;  // the command's time in frames
    int32_t bLoop = 0;     // 0 for jump and sword commands: no loop extension

    friend bool operator==(const FlowAnimeEntry&, const FlowAnimeEntry&) = default;
};

class cFlowCmd {
public:
    const cEdFlowCmd* m_lpDef = nullptr;
    int32_t m_bDone = 0;
    int32_t m_nDuration = 0;   // sub-steps
    int32_t m_nRemaining = 0;  // sub-steps left in the current run; 0 idle or ended
    int8_t m_nDirection = 0;   // the movement part's direction
    double m_dSpeed = 0.0;     // per sub-step
    double m_dMaxSpeed = 0.0;  // per sub-step, inertia moves
    int32_t m_nStep = 0;       // per-kind counter, 0 at each start
    int32_t m_anWork[5] = {};  // per-kind work, cleared at each start
    double m_adWork[4] = {};   // per-kind work (angles, positions)
    double m_dVelX = 0.0, m_dVelY = 0.0;
    int32_t m_nDirCode = 0;      // 1 leftwards, 2 rightwards, 0 none
    double m_dLaunchSpeed = 0.0;  // jump
    int32_t m_bLaunched = 0;      // jump
    // Movement commands, fixed when the instance is built: the circle's
    // radius (dots x sub-steps) or the homing delay (sub-steps), and the
    // circle's start and end angles (degrees x sub-steps).
    int32_t m_nRadius = 0;
    int32_t m_nStartAngle = 0, m_nEndAngle = 0;
    // Homing with a delay: the target points recorded, oldest first.
    std::deque<std::array<int32_t, 2>> m_qPoints;
};

class cFlow {
public:
    int32_t m_nIndex = 0;  // position in the chara's flow vector
    int32_t m_nKey = 0;    // unique within the chara; owner key of its animation runs
    const cEdFlow* m_lpDef = nullptr;
    int32_t m_bCondLatch = 0;
    std::vector<const cKeyCond*> m_vKeyConds;
    int32_t m_bKeyContinuing = 0;
    int32_t m_bKeyLatch = 0;
    cCheckedVector<cFlowCmd> m_vCmds;
    cCheckedVector<FlowAnimeEntry> m_vAnimeSchedule;
    int32_t m_bRunning = 0;
    int32_t m_bPaused = 0;
    int32_t m_bHalted = 0;  // stopped for good
    int32_t m_bRemove = 0;  // remove at the end of the chara's update
    int32_t m_nPc = 0;
    int32_t m_nFrames = 0;
    int32_t m_nStartDir = 0;
    int32_t m_bFiredThisFrame = 0;
    int32_t m_bStartedThisFrame = 0;
    int32_t m_bMessageChain = 0;
    int32_t m_bAbort = 0;
    int32_t m_anVars[2] = {};
    cCheckedList<cArrange> m_lstArrange;
    // Counts the starts of the flow; a step tells by it that the command it
    // just ran restarted the flow.
    uint32_t m_nStartCount = 0;
};
