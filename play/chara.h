// The run-time chara: the common part of the player chara and of every
// computer chara. It carries its own copy of its definition, one run record
// per flow of that copy, links to other charas, and the state of walking,
// jumping, standing, being pushed and being knocked back.
//
// Units: dots (stage pixels) and sub-steps; speeds are dots per sub-step,
// accelerations dots per sub-step squared.
#pragma once
#include <cstdint>
#include <list>
#include <vector>

#include "base/checked_vector.h"
#include "engine/anime_run.h"
#include "engine/flow.h"
#include "play/chara_draw_state.h"
#include "play/chara_effect.h"
#include "play/object.h"
#include "records/ed_chara.h"

class cChara;
class cShot;

// A chara that points at another: kind 0..3 its target slot, 4 a child.
struct CharaLink {
    cChara* lpChara = nullptr;
    int32_t nKind = 0;
    friend bool operator==(const CharaLink&, const CharaLink&) = default;
};
// A shot that points at a chara: kind 0 aims at or homes on it, 4 fired by it.
struct ShotLink {
    cShot* lpShot = nullptr;
    int32_t nKind = 0;
};
struct HitRecord {
    int32_t nAttackerKey = 0;
    int32_t nLeft = 0;  // sub-steps
};
// The HP or SP gauge animation.
struct CharaGauge {
    int32_t nTimer = 0;
    int32_t nPos = 0;  // 0..50
    double dStep = 0.0;
    double dPerFrame = 0.0;
};
// A hit box: the box on the stage, its offset and size relative to the
// chara's x, y, and the unscaled offset and size.
struct CharaHitBox {
    double box[4] = {};  // left, top, right, bottom
    int32_t nOffsetX = 0, nOffsetY = 0, nWidth = 0, nHeight = 0;
    int32_t nBaseOffsetX = 0, nBaseOffsetY = 0, nBaseWidth = 0, nBaseHeight = 0;
};

// Sides of the contact record.
enum eContactSide : int { CONTACT_LEFT = 0, CONTACT_RIGHT = 1, CONTACT_TOP = 2, CONTACT_BOTTOM = 3 };

// Flow trigger kinds of a chara's contacts.
enum eContactTrigger : int {
    TRIGGER_HIT_BLOCK = 11,
    TRIGGER_BLOCK_TOP_BOTTOM = 15,
    TRIGGER_BLOCK_TOP = 16,
    TRIGGER_BLOCK_BOTTOM = 17,
};

inline constexpr int kTargetSlots = 4;
inline constexpr int kTriggerKinds = 27;
inline constexpr int kCharaVars = 9;

// The fields of a chara, copied member-wise by Assign.
struct cCharaData {
    int32_t m_bCopy = 0;  // a temporary copy made by a collision test
    cCheckedVector<cChara*> m_vTargets;  // target slots, index 0..3
    cChara* m_lpParent = nullptr;
    std::vector<CharaLink> m_vReferrers;
    std::vector<ShotLink> m_vShotLinks;
    int32_t m_bAttackPart = 0;
    uint8_t m_nAttackGroup = 0;
    cEdChara m_Def;
    cCheckedVector<cFlow> m_vFlows;  // one per flow of m_Def, same order
    int32_t m_nFlowKeyCounter = 0;
    // One byte per flow trigger kind: flow groups running, ended, started.
    cCheckedVector<uint8_t> m_vGroupRunning, m_vGroupEnded, m_vGroupStarted;
    int32_t m_bGroupEnded = 0;     // clear the ended groups at the end of the update
    int32_t m_bRemovePending = 0;  // remove the flows that ask for it at the end of the update
    int32_t m_anPlacement[4] = {};
    int32_t m_bForcedAnime = 0;
    int32_t m_nForcedAnime = 0;
    double m_dImpactX = 0.0, m_dImpactY = 0.0;
    int32_t m_bKnockedBack = 0;
    double m_dPrevImpactY = 0.0;
    int32_t m_bNoGravity = 0;
    int32_t m_bAirborne = 0, m_bJumpCut = 0, m_bJumpStarted = 0, m_bJumpBlocked = 0;
    int32_t m_nGraceCounter = 0;
    int32_t m_bJumpSpare = 0;
    int32_t m_nFootBlock = 0;  // map cell under the feet; 0 none
    int32_t m_nLastFootBlock = 0;  // the floor cell last landed on
    int32_t m_nWallSide = 0;       // side of the last wall hit: 0 left, 1 right
    // The last wall met at a side, until a ground move turns back at it: the
    // block chara's key (-1 a map wall) and its x at the contact.
    int32_t m_bWallContact = 0;
    int32_t m_nWallContactKey = -1;
    double m_dWallContactX = 0.0;
    int32_t m_nMoveTypeCounter = 0;
    int32_t m_abContact[4] = {};  // eContactSide
    double m_adPusher[4] = {};    // pusher speeds: x of left and right, y of top and bottom
    int32_t m_bPushed = 0;
    int32_t m_bOnBlockChara = 0;
    int32_t m_nRiddenKey = -1;
    double m_adRiddenBox[4] = {};
    double m_adSavedBox[4] = {};  // x, y, right, bottom
    int32_t m_nHP = 0, m_nSP = 0;
    CharaGauge m_HPGauge, m_SPGauge;
    cCheckedVector<int32_t> m_vVars = cCheckedVector<int32_t>(kCharaVars, 0);
    int32_t m_nInvincibleTimer = 0;
    std::list<HitRecord> m_lstHitRecords;
    cCheckedList<cAnimeRun> m_lstAnimeRuns;
    int16_t m_nCharaEffect = 0;  // entry of the running display effect; 0 none
    cCharaEffect m_Effect;
    int32_t m_bDiesNow = 0;
    int32_t m_bCondHeld = 0;  // the appearance conditions have held once
    int32_t m_bDead = 0;
    int32_t m_bRemoved = 0;  // taken out of play during a walk; erased after it
    int32_t m_nCrushGuard = 0;  // a summoned block crushes the chara: set to 2 by the summon
    int32_t m_nLightRadius = 0;
    int32_t m_nAnimeSet = 0;
    CharaHitBox m_HitBox1;  // body box against charas
    CharaHitBox m_HitBox2;  // the box shots hit
    CharaDrawState m_Draw;
};

class cChara : public cObject, public cCharaData {
public:
    cChara();
    cChara(const cChara& other);
    cChara& operator=(const cChara& other);
    ~cChara() override;

    void KeepBaseOnScale(int newScale, int oldScale, int keep) override;
    void SetCentre(int cx, int cy) override;
    void SetCentreOnContact(int cx, int cy, cFlowCmd* cmd) override;
    void SetCentreX(int cx) override;
    void SetCentreXOnContact(int cx, cFlowCmd* cmd) override;
    void SetCentreY(int cy) override;
    void SetCentreYOnContact(int cy, cFlowCmd* cmd) override;
    // Member-wise copy; the run records then point at this chara's own
    // definitions.
    virtual void Assign(const cChara& other);                // 13
    virtual cObject* GetCarriedItem() { return nullptr; }     // 14
    virtual void AfterMoveX() {}                              // 15
    virtual void AfterMoveY() {}                              // 16
    virtual int MoveX() { return 0; }                         // 17
    virtual int MoveY() { return 0; }                         // 18

    // def may be null (the definition copy is kept); placement: four values
    // or null.
    void InitChara(const cEdChara* def, const int32_t* placement, int clone);
    // Target slot 0 = the hero; the parent's child link.
    void LinkChara(cChara* parent);
    void SetAnimeSet(int set, int force);
    void SetHitBox1(int bottomAligned, int width, int height);

    // Target slots: the checked slot (index 0..3), a subject 1..4 as an
    // index, and the slot set with the links kept (clearOnNull: a null
    // target empties the slot). The result: 1 when the slot holds a chara.
    cChara*& TargetSlot(int index) { return m_vTargets.at(index); }
    static int SubjectToSlot(int subject) { return subject - 1; }
    int SetTargetSlot(int slot, cChara* target, int clearOnNull);

    // Unit conversions.
    static int UnitToDot(int8_t n) { return n * 32 / 2; }
    static double SpeedPerFrame(int16_t v);
    double JumpSpeed(double h) const;
    double JumpSpeedFromHeight(int8_t h) const { return JumpSpeed(h * 16); }
    static int JumpTime(double v);
    int JumpFramesFromHeight(int8_t h) const;
    void WarpToCellX(int col);
    void WarpToCellY(int row, int keep);

    // The contact record of the sub-step.
    void ClearContacts();
    // The wall record: a block chara's key and x, or -1 for a map wall.
    void MeetWall(int key, double x);
    void TouchLeft(const cObject& solid);
    void TouchRight(const cObject& solid);
    void TouchTop(const cObject& solid);
    void TouchBottom(const cObject& solid);
    int IsCrushedX() const;
    int IsCrushedY() const;
    void SaveBox();
    void RestoreBox();

    // On ground that holds it: the block in its foot cell stops its group,
    // or it stands on a block chara.
    bool IsStanding() const;
    void LandOnBlock();
    void HitCeiling();
    void LeaveBlockChara(int pushed);
    void ApplyGravity();
    void StepImpactY();
    void DecayImpactX();
    void DecayImpactY();
    void ClearImpactY();

    // The flow list (run records beside the definition flows).
    static void ExpandLoops(std::vector<cEdFlowCmd>& cmds);
    static int ExpandFirstLoop(std::vector<cEdFlowCmd>& cmds);
    // atIndex 0: the definition copy's own flows (initialisation).
    void InsertFlows(const std::vector<cEdFlow>& defs, int atIndex, int index);
    void RemoveFlow(int i);
    // ID 0 removes every flow (result 0); another ID the flows of that ID,
    // the result the index of the first one removed, or -1 when none was.
    int RemoveFlowsById(int id);
    void AddFlow(const cFlow& record);
    void RebuildFlowIndex();
    void RemoveFlowAnimeRuns(int key);
    void StopAnimeRuns(int anime);
    void PauseFlowAnimeRuns(int key);
    void ResumeFlowAnimeRuns(int key);

    // Steps of a chara's sub-step shared by the player and the computer charas.
    // Speeds that follow an auto-scrolling view, or none.
    void FollowScrollSpeeds();
    // The flow pass: each running flow steps once (only the death flows while
    // dying). True when the chara must be removed at once (its HP fell below
    // 1, or it dies now where diesNowEnds); the scene's current references are
    // cleared either way.
    bool RunFlowPass(int dying, bool diesNowEnds);
    // Flows marked for removal go, and ended groups stop running.
    void ApplyFlowRemovals();
    // The standing track when the chara does not move, or the forced one.
    void ChooseAnimeTrack();

private:
    void BuildFlowRecord(int position);
    void BuildAnimeSchedule(cFlow& flow);
    void ResetTriggerLatches();
};

// The player charas, the hero first.
class cCharaPlayer;
extern cCheckedVector<cCharaPlayer> g_vPlayers;
// The hero (g_vPlayers element 0), or null when there is none.
cChara* Hero();
