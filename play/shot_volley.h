// Firing: a shot definition turned into things in the stage. The shot
// command fires volleys of shots; the summon commands place blocks, charas
// and items with the same formations. A firing runs the volley once per
// clone, and each run lays out its objects through the formation handler.
//
// Angles are degrees: 0 points left, 90 up, 180 right, 270 down; a speed s
// at angle a moves by (-cos a, -sin a) x s. Definitions are written for a
// user facing left; their mirror switches apply when it faces right.
#pragma once
#include <cstdint>
#include <list>

#include "records/ed_shot.h"

class cChara;
class cFlowCmd;
class cShot;

// What the firing code hands to the formation and on to the shot.
struct ShotVolley {
    int32_t nClone = 0;
    double dSpeed = 0.0;  // dots per frame
    int32_t nAngle = 0;   // degrees added to the direction's base angle
    int32_t nRange = 0;   // hbl
    int32_t nLife = 0;    // tenths of a second
    double dVX = 0.0, dVY = 0.0;  // dots per frame
    int32_t nX = 0, nY = 0;       // the object being emitted (top-left)
    int32_t nStartX = 0, nStartY = 0;
    int32_t nStepX = 0, nStepY = 0;
    int32_t nColStepX = 0, nColStepY = 0;
    int32_t nWidth = 0, nHeight = 0;
    int32_t nOffsetX = 0, nOffsetY = 0;
    int32_t nDir = 0;  // resolved direction code 2, 3, 6..11
};

using ShotFormationFn = void (*)(std::list<cShot>* shots, cChara& user, cFlowCmd& cmd, cEdShot& def, ShotVolley& v);
extern const ShotFormationFn ShotFormationHandlers[SHOT_FORMATION_COUNT];

void FormStraightA(std::list<cShot>* shots, cChara& user, cFlowCmd& cmd, cEdShot& def, ShotVolley& v);
void FormStraightB(std::list<cShot>* shots, cChara& user, cFlowCmd& cmd, cEdShot& def, ShotVolley& v);
void FormSpread(std::list<cShot>* shots, cChara& user, cFlowCmd& cmd, cEdShot& def, ShotVolley& v);
void FormThunder(std::list<cShot>* shots, cChara& user, cFlowCmd& cmd, cEdShot& def, ShotVolley& v);
void FormExplosion(std::list<cShot>* shots, cChara& user, cFlowCmd& cmd, cEdShot& def, ShotVolley& v);
void FormSurround(std::list<cShot>* shots, cChara& user, cFlowCmd& cmd, cEdShot& def, ShotVolley& v);

// The shot command's volley, all its clones.
void FireShot(std::list<cShot>* shots, cChara& user, cFlowCmd& cmd, cEdShot& def);
// The summons: one formation call with speed 1 and no shot list.
void SummonChara(cChara& user, cFlowCmd& cmd, cEdShot& def);
void SummonItem(cChara& user, cFlowCmd& cmd, cEdShot& def);
void SummonBlock(cChara& user, cFlowCmd& cmd, cEdShot& def);

// Creates one object of the running command's kind at the volley's x, y.
void EmitOne(std::list<cShot>* shots, ShotVolley& v, cChara& user, cFlowCmd& cmd, cEdShot& def);

// Whole degrees from (px, py) towards the user's target; without one 0
// facing left, 180 facing right. Leading a target that rides the automatic
// scrolling replaces the volley's speed.
int AimAngleAtTarget(int px, int py, cChara& user, cEdShot& def, ShotVolley& v);
// The start point on the user's rim at the angle.
void RotateAboutUser(ShotVolley& v, const cChara& user, double angle);

// The direction code of a definition's direction for the user, and the
// base angle of a direction code.
int ResolveShotDirection(int direction, const cChara& user);
int BaseAngleOfDirection(int code);
