// Base of every in-game object of a stage (charas, items, shots and swords):
// identity, facing, animation, position and size in stage pixels, the
// collision box and the box on screen, speeds and the movement mode.
// Positions are stage pixels (the 10-cell border included), y downwards;
// a map cell is 32 pixels.
#pragma once
#include <cstdint>

#include "play/anime_player.h"

class cFlowCmd;
class cStageIntSet;

class cObject {
public:
    cObject() = default;
    cObject(const cObject&) = default;
    cObject& operator=(const cObject&) = default;

    // Virtual slots, in this order (the chara classes add theirs after 12).
    virtual ~cObject() = default;                                          // 0
    virtual void CopyFrom(const cObject& other);                           // 1
    virtual void SetScale(int newScale, int oldScale, int keep);           // 2
    virtual void ScaleHitBoxes(int) {}                                     // 3
    virtual void KeepBaseOnScale(int, int, int) {}                         // 4
    virtual void UpdateHitBoxX() {}                                        // 5
    virtual void UpdateHitBoxY() {}                                        // 6
    virtual void SetCentre(int, int) {}                                    // 7
    virtual void SetCentreOnContact(int, int, cFlowCmd*) {}                // 8
    virtual void SetCentreX(int) {}                                        // 9
    virtual void SetCentreXOnContact(int, cFlowCmd*) {}                    // 10
    virtual void SetCentreY(int) {}                                        // 11
    virtual void SetCentreYOnContact(int, cFlowCmd*) {}                    // 12

    // animeLists: source lists of the animation player (BuildTracks), or
    // null for none. moveMode: 0 walking, 1 flying through everything,
    // 2 flying and blocked, 3 flying and crushed.
    void Init(int key, int side, int player, int group, int graphic, const int* const* animeLists, int startTrack,
              int drawOffsetX, int drawOffsetY, int width, int height, int drawWidth, int drawHeight, int facing,
              int moveMode, int clone);
    // Keeps the horizontal centre through a size change: x moves by
    // (new - old) x half the base width, then the stage clamp (mode 2) and
    // the vertical keep.
    void ApplyScaleShift(int newScale, int oldScale, int keep);

    // Keep the box inside the scroll axes' bounds and return an edge code:
    // mode 0 the view range, mode 1 the movement limits, mode 2 the stage.
    int ClampToStageX(int mode);
    int ClampToStageY(int mode);
    // The box on screen from the position and the scroll axes.
    void UpdateScreenRect();
    bool IsOnScreen() const;
    bool IsInStage(int whole) const;
    // 1 when the object lies beyond a removal margin or at the stage's edge.
    int IsOutOfArea(const cStageIntSet& setting) const;
    int GetDirSign() const { return m_nFacing ? 1 : -1; }
    // 1 when a corner cell of the box holds a block that hits this object.
    int HitsMapCorner();

    // One move along an axis: the speed clamped to the largest speed per
    // sub-step, the position moved, then the stage clamp of the mode; the
    // clamp's edge code (x: 1..3, y: 1..6), anything else 0.
    int MoveByX(int mode);
    int MoveByY(int mode);
    // Gravity for one sub-step unless the object flies (charas have their
    // own rule: cChara::ApplyGravity).
    void ApplyGravityPlain();
    // Friction: with enabled set, speed moves towards 0 by the friction
    // and stops at 0.
    void Decelerate(double& speed, int enabled) const;
    // A per-second amount as an amount per sub-step.
    static double PerFrame(double v);

    // After x (y) changed: right (bottom), the hit box and the cell indices.
    void UpdatePosX();
    void UpdatePosY();

    int32_t m_nKey = 0;     // unique among the live objects
    int32_t m_nFacing = 0;  // non-zero: faces +x
    int16_t m_nClone = 0;   // number of this copy of a placement or summon
    int32_t m_nGraphic = 0;
    cAnimePlayer m_Anime;
    // Screen box: left, top, right, bottom on screen; current draw offset and
    // size; base draw offset and size (current = base x size multiplier).
    int32_t m_nScrLeft = 0, m_nScrTop = 0, m_nScrRight = 0, m_nScrBottom = 0;
    int32_t m_nDrawOffsetX = 0, m_nDrawOffsetY = 0, m_nDrawWidth = 0, m_nDrawHeight = 0;
    int32_t m_nBaseDrawOffsetX = 0, m_nBaseDrawOffsetY = 0, m_nBaseDrawWidth = 0, m_nBaseDrawHeight = 0;
    int32_t m_nSide = 0;  // 0 player side, 1 computer side
    int32_t m_nPlayer = 0;
    int32_t m_nGroup = 0;  // also the block-pass class
    double m_dX = 0.0, m_dY = 0.0;  // top-left of the collision box
    double m_dRight = 0.0, m_dBottom = 0.0;  // x + width - 1, y + height - 1
    int32_t m_nCellLeft = 0, m_nCellTop = 0, m_nCellRight = 0, m_nCellBottom = 0;
    double m_dSpeedX = 0.0, m_dSpeedY = 0.0;          // displacement of this sub-step
    double m_dMoveSpeedX = 0.0, m_dMoveSpeedY = 0.0;  // persistent speeds per sub-step
    double m_dFriction = 0.0;
    int32_t m_bDecelX = 0, m_bDecelY = 0;
    int32_t m_bFollowScroll = 0;  // rides along with the automatic scrolling
    int32_t m_nWidth = 0, m_nHeight = 0;
    int32_t m_nBaseWidth = 0, m_nBaseHeight = 0;
    int32_t m_bFlying = 0;
    int32_t m_nWallMode = 0;  // flying objects: 0 pass through, 1 blocked, 2 crushed
    int32_t m_bActive = 0;  // its conditions held in this sub-step's activity pass
    int32_t m_bActing = 0;
    int32_t m_bInView = 0;
    int32_t m_bHidden = 0;
    int32_t m_nLifeTime = 0;  // counted down by play; INT32_MAX after Init
};

// Boxes of four doubles: left, top, right, bottom (inclusive).
void CopyBox(double dst[4], const double src[4]);
void ClearBox(double box[4]);
void ClearBoxPair(double a[4], double b[4]);
void CopyIntQuad(int32_t dst[4], const int32_t src[4]);
// True when the boxes overlap or touch.
bool BoxesOverlap(const double a[4], const double b[4]);
