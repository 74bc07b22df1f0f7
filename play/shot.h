// A shot in flight or a sword: what a chara throws or swings. A flying shot
// moves along one of ten trajectories and ends by its lifetime, its range,
// a block, its area or a hit; a sword stays at its owner and plays the parts
// of its sword type one after the other.
//
// Units: dots and sub-steps (F = g_Stage.m_dSubSteps per frame); the
// acceleration vector lives in the base's move speeds.
#pragma once
#include <cstdint>
#include <list>

#include "play/object.h"
#include "records/ed_shot.h"

class cChara;
class cScenePlay;
struct DDSURFACEDATA;
struct ShotVolley;

class cShot : public cObject {
public:
    cShot();
    cShot(const cShot& other);
    cShot& operator=(const cShot& other);
    // Takes the shot out of the links of its target and its owner.
    ~cShot() override;

    void ScaleHitBoxes(int scale) override;
    void KeepBaseOnScale(int newScale, int oldScale, int keep) override;
    void UpdateHitBoxX() override;
    void UpdateHitBoxY() override;

    // Makes the object from a firing: command kind 12 a sword, any other a
    // flying shot. A size of 0 in the definition becomes 1 there.
    void InitShot(int key, cChara& owner, int kind, cEdShot& def, const ShotVolley& volley);
    // One sub-step; 1 when the shot is over (lifetime, range, sword ended).
    int StepShot();
    int StepSword();
    int MoveShotX();
    int MoveShotY();
    // 1 when the shot touches a cell that stops it.
    int ShotHitsBlock();
    // The stage clamp of a shot: 3 when it was put back inside, else 0.
    int ClampShotX();
    // The acceleration vector along (vx, vy).
    void AimAcceleration(double vx, double vy, double& ax, double& ay) const;
    // Removes this shot's entries from its target's and owner's links.
    void DetachShot();

    int32_t m_nOwnerKey = 0;
    int32_t m_bIsShot = 1;     // 1 a flying shot (moves by its speed), 0 a sword
    int32_t m_nRangeLeft = 0;  // sub-steps
    int32_t m_nLifeLeft = 0;   // sub-steps
    int32_t m_nStepCount = 0;  // trajectory: sub-steps so far; sword: in the current part
    int32_t m_nSwordPart = 0;
    double m_dAccel = 0.0;
    double m_dSpeed = 0.0;  // the aiming and homing speed
    double m_dVelX = 0.0, m_dVelY = 0.0;
    int32_t m_bAccelOn = 0;
    int32_t m_nTurnStart = 0, m_nTurnEnd = 0;
    int32_t m_bTrajectoryDone = 0;
    double m_dWavePhase = 0.0;
    double m_dWaveReserved = 0.0;
    double m_dWaveSin = 0.0, m_dWaveCos = 0.0;
    double m_adHitBox[4] = {};  // the attack box on the stage: left, top, right, bottom
    int32_t m_nHitOffsetX = 0, m_nHitOffsetY = 0, m_nHitWidth = 0, m_nHitHeight = 0;
    int32_t m_nBaseHitOffsetX = 0, m_nBaseHitOffsetY = 0, m_nBaseHitWidth = 0, m_nBaseHitHeight = 0;
    std::list<int32_t> m_lstHitCharas;  // keys of the charas already hit (swords and passing shots)
    cEdShot m_EdShot;                   // its own copy of its definition
    cChara* m_lpTarget = nullptr;       // the chara it aims at or homes on
    cChara* m_lpOwner = nullptr;        // the chara that fired it
    int32_t m_bFinished = 0;            // must go; takes no further part
    int32_t m_bReportToOwner = 0;       // hits fire the owner's attack events
    int8_t m_nReportGroup = 0;          // the group passed with those events

    // The trajectory handlers, indexed by the trajectory kind (none for a
    // straight line).
    using TrajectoryFn = void (cShot::*)();
    static const TrajectoryFn ShotTrajectoryHandlers[SHOT_TRAJECTORY_COUNT];

private:
    double TrajectorySpeed() const;
    int TurnCount(int param) const;
    cChara* FindTrajectoryTarget(int kind);
    void AimOnce();
    void HomeStep();
    void HomeOn(cChara& target);
    void WaveStep();
    void FallStep();
};

// Draws the shot at its screen box; the animation ticks unless frozen.
void DrawShot(cShot& shot, DDSURFACEDATA* dst, int frozen);

// Appends a copy of the shot to the scene's shot list and its side's group
// list; the stored copy.
cShot& AddShot(cScenePlay& scene, const cShot& shot);
// Destroys the shot of the node and takes it out of its group list; the
// next node.
std::list<cShot>::iterator EraseShot(cScenePlay& scene, std::list<cShot>::iterator node);
// The same for the shot at that address; nothing when the scene's list does
// not hold it.
void EraseShot(cScenePlay& scene, const cShot* shot);
