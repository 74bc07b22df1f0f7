#include "play/chara_solids.h"

#include "engine/flow_trigger.h"
#include "play/block_chara_probes.h"
#include "play/chara_player.h"
#include "play/tile_collision.h"
#include "records/cmd_kinds.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

// A box: left, top, right, bottom, inclusive.
struct Box {
    double l, t, r, b;
};

Box BoxOf(const cObject& o) { return {o.m_dX, o.m_dY, o.m_dRight, o.m_dBottom}; }
Box SavedBoxOf(const cChara& c) { return {c.m_adSavedBox[0], c.m_adSavedBox[1], c.m_adSavedBox[2], c.m_adSavedBox[3]}; }

// Overlap or touch on both axes; a line is a box of width or height 1.
bool Overlaps(const Box& a, const Box& e) { return a.l <= e.r && e.l <= a.r && a.t <= e.b && e.t <= a.b; }

// How deep two boxes overlap on each axis (0, 0 when they do not): from the
// far edge of a to the near edge of e when e starts inside a, else the
// other way round.
struct Depth {
    double dx, dy;
};
Depth DepthOf(const Box& a, const Box& e) {
    if (!Overlaps(a, e)) return {0.0, 0.0};
    const double dx = a.r >= e.l && e.l > a.l ? a.r - e.l + 1 : e.r - a.l + 1;
    const double dy = a.b >= e.t && e.t > a.t ? a.b - e.t + 1 : e.b - a.t + 1;
    return {dx, dy};
}

// A push the resolution may make: the new coordinate (-1 for none) with the
// key and the speed (on the push's axis) of the solid that asks for it.
struct Candidate {
    double v = -1.0;
    int32_t key = -1;
    double speed = 0.0;
    cCharaComputer* solid = nullptr;

    bool Has() const { return v != -1.0; }
    void Drop() { v = -1.0; }
    void Set(double value, cCharaComputer& s, double solidSpeed) {
        v = value;
        key = s.m_nKey;
        speed = solidSpeed;
        solid = &s;
    }
    // The largest value wins (-1 loses to every coordinate of the stage).
    void Largest(double value, cCharaComputer& s, double solidSpeed) {
        if (value > v) Set(value, s, solidSpeed);
    }
    void Smallest(double value, cCharaComputer& s, double solidSpeed) {
        if (!Has() || value < v) Set(value, s, solidSpeed);
    }
};

void Fire(cChara& c, int trigger, cChara* partner = nullptr) { FireFlowTriggerEx(c, trigger, partner, 0); }

void RideOn(cChara& c, const cObject& s) {
    c.m_nRiddenKey = s.m_nKey;
    c.m_adRiddenBox[0] = s.m_dX;
    c.m_adRiddenBox[1] = s.m_dY;
    c.m_adRiddenBox[2] = s.m_dRight;
    c.m_adRiddenBox[3] = s.m_dBottom;
}

void ClearHeroFootBlockJump() {
    if (!g_vPlayers.empty()) g_vPlayers.at(0).m_bFootBlockJump = 0;
}

// The lines along the edges of a flyer's box, without the corners.
struct EdgeLines {
    Box top, bottom, left, right;
    explicit EdgeLines(const Box& b)
        : top{b.l + 1, b.t, b.r - 1, b.t},
          bottom{b.l + 1, b.b, b.r - 1, b.b},
          left{b.l, b.t + 1, b.l, b.b - 1},
          right{b.r, b.t + 1, b.r, b.b - 1} {}
};

// A solid against the two edge lines of one axis: touching the top (left)
// line asks for a push to just below (right of) it, the largest winning;
// touching the bottom (right) line for a push to just above (left of) it,
// the smallest winning.
void TouchEdges(cChara& c, cCharaComputer& s, const Box& sb, const EdgeLines& e, bool vertical, Candidate& fromLow,
                Candidate& fromHigh) {
    if (vertical) {
        if (Overlaps(sb, e.top)) {
            c.TouchTop(s);
            fromLow.Largest(sb.b + 1, s, s.m_dSpeedY);
        }
        if (Overlaps(sb, e.bottom)) {
            c.TouchBottom(s);
            fromHigh.Smallest(sb.t - c.m_nHeight, s, s.m_dSpeedY);
        }
    } else {
        if (Overlaps(sb, e.left)) {
            c.TouchLeft(s);
            fromLow.Largest(sb.r + 1, s, s.m_dSpeedX);
        }
        if (Overlaps(sb, e.right)) {
            c.TouchRight(s);
            fromHigh.Smallest(sb.l - c.m_nWidth, s, s.m_dSpeedX);
        }
    }
}

// The head stopped under a solid: the jump ends and the chara moves with
// the solid's vertical speed from just below it.
void PushHeadDown(cChara& c, double y, double solidSpeedY) {
    c.m_dMoveSpeedY = 0.0;
    c.m_bJumpStarted = c.m_bJumpCut = c.m_bJumpBlocked = 1;
    if (!g_SystemData.m_bCompat808) c.ClearImpactY();
    c.m_dSpeedY = solidSpeedY;
    c.m_dY = y;
    c.AfterMoveY();
}

cCharaComputer* FirstSolidOver(cCheckedList<cCharaComputer>& list, int key, const Box& box) {
    for (cCharaComputer& s : list)
        if (IsSolidFor(s, key) && Overlaps(box, BoxOf(s))) return &s;
    return nullptr;
}

// Pushes the sides: the pushed flag tells that a solid moved the chara,
// which the solid it rides on does not count as.
void PushSide(cChara& c, const Candidate& p) {
    c.m_dMoveSpeedX = 0.0;
    if (!(p.key == c.m_nRiddenKey && c.m_bOnBlockChara)) c.m_bPushed = 1;
    c.m_dX = p.v;
    c.AfterMoveX();
}

// Steps of 0.1 dot back out of the map cells, at most 15.
void StepOutOfMap(cChara& c, double step, bool vertical) {
    for (int i = 0; i < 15 && c.HitsMapCorner(); ++i) {
        if (vertical) {
            c.m_dY += step;
            c.AfterMoveY();
        } else {
            c.m_dX += step;
            c.AfterMoveX();
        }
    }
}

// A flyer's push towards larger (sign 1) or smaller (sign -1) coordinates
// by the solid touching the given side. A solid moving away while the chara
// does not follow it leaves the chara where it is; the overlap is then
// settled on the other axis.
void ApplyFlyerPush(cChara& c, cCheckedList<cCharaComputer>& list, const Candidate& p, int side, bool vertical,
                    double sign) {
    if (!p.Has()) return;
    (vertical ? c.m_dMoveSpeedY : c.m_dMoveSpeedX) = 0.0;
    const double charaSpeed = vertical ? c.m_dSpeedY : c.m_dSpeedX;
    if (sign * p.speed < 0 && sign * charaSpeed >= 0) {
        c.m_abContact[side] = 0;
        ResolveOnOtherAxis(c, list, vertical ? 0 : 1);
    } else if (vertical) {
        c.m_dY = p.v;
        c.AfterMoveY();
    } else {
        c.m_dX = p.v;
        c.m_bPushed = 1;
        c.AfterMoveX();
    }
}

int CollideFlying(cChara& c, cCheckedList<cCharaComputer>& list) {
    const Box b = BoxOf(c);
    const EdgeLines lines(b);
    Candidate pushRight, pushLeft, pushDown, standOn;
    bool overlapped = false;
    for (cCharaComputer& s : list) {
        // The box test first: it reads the fewest bytes of each chara.
        const Box sb = BoxOf(s);
        if (!Overlaps(b, sb) || !IsSolidFor(s, c.m_nKey)) continue;
        overlapped = true;
        const Depth d = DepthOf(b, sb);
        if (d.dx > d.dy)
            TouchEdges(c, s, sb, lines, true, pushDown, standOn);
        else
            TouchEdges(c, s, sb, lines, false, pushRight, pushLeft);
    }
    if (overlapped) Fire(c, TRG_HIT_BLOCK_CHARA);
    if (c.m_nWallMode == 2)
        return pushRight.Has() || pushLeft.Has() || pushDown.Has() || standOn.Has() ? 2 : 0;

    ApplyFlyerPush(c, list, pushRight, CONTACT_LEFT, false, 1.0);
    ApplyFlyerPush(c, list, pushLeft, CONTACT_RIGHT, false, -1.0);
    ApplyFlyerPush(c, list, pushDown, CONTACT_TOP, true, 1.0);
    ApplyFlyerPush(c, list, standOn, CONTACT_BOTTOM, true, -1.0);
    return 0;
}

// A walking chara against the solids of the list: what each solid touches
// of its box, then the push on the head, the squeeze or the landing, the
// side pushes, the events, the crush test, the step out of the map cells and
// the ride on a solid. The boxes are taken once at entry.
class WalkingCollision {
public:
    WalkingCollision(cChara& chara, cCheckedList<cCharaComputer>& list)
        : c(chara),
          solids(list),
          w(chara.m_nWidth),
          h(chara.m_nHeight),
          f(g_Stage.m_dSubSteps),
          compat839(g_SystemData.m_bCompat839 != 0),
          B(BoxOf(chara)),
          U{B.l, B.t, B.r, B.t + h / 2},
          L{B.l + 1, B.b - h / 3, B.r - 1, B.b},
          P(SavedBoxOf(chara)),
          Q{P.l, B.t, P.r, B.b},
          upperLeft{B.l, B.t, B.l, B.t + h / 2},
          upperRight{B.r, B.t, B.r, B.t + h / 2},
          sideLeft{B.l, B.t, B.l, B.b},
          sideRight{B.r, B.t, B.r, B.b},
          entryX(chara.m_dX) {}

    // 2 when the chara is crushed, else 0.
    int Run() {
        for (cCharaComputer& s : solids) TouchSolid(s);
        const bool bothSides = pushRight.Has() && pushLeft.Has();
        if (ResolveHeadAndFeet(bothSides)) ApplySidePushes(bothSides);
        FireContactEvents();
        if (IsCrushed()) return 2;
        StepOutOfMapCells();
        if (c.m_bOnBlockChara && !landed) KeepRiding();
        return 0;
    }

private:
    // One solid against the box: by the upper half, by the sides, or
    // underfoot.
    void TouchSolid(cCharaComputer& s) {
        const Box sb = BoxOf(s);
        if (!Overlaps(B, sb) || !IsSolidFor(s, c.m_nKey)) return;
        overlapped = true;
        if (Overlaps(U, sb)) {
            TouchUpperHalf(s, sb);
            return;
        }
        const Depth d = DepthOf(B, sb);
        if (d.dy > d.dx) {
            HitRight(s, sb, sideRight);
            HitLeft(s, sb, sideLeft);
        } else if (Overlaps(sb, L)) {
            LandOn(s, sb);
        }
    }

    // A solid in the upper half: landed on when falling fast onto it, a
    // push on the head when it is above, else a side hit (the side the
    // chara moves to first).
    void TouchUpperHalf(cCharaComputer& s, const Box& sb) {
        const Box sp = SavedBoxOf(s);
        const Depth d1 = DepthOf(U, sb);
        const bool swept = Overlaps(Q, sp);
        if (c.m_dSpeedY > 2.0 / f && swept && P.t < sp.t && (compat839 || P.b < sp.b)) {
            // Falling fast onto it: lands even with the upper half inside.
            LandOn(s, sb);
        } else if ((d1.dx - d1.dy > 0.4 / f && B.b > sb.b && (compat839 || B.t > sb.t)) ||
                   (swept && P.t > sp.t && !Overlaps(P, sb))) {
            if (s.m_dSpeedY > 0) c.TouchTop(s);
            pushDown.Largest(sb.b + 1, s, s.m_dSpeedY);
            if (c.m_bOnBlockChara && c.m_dSpeedY < 0) c.TouchBottom(s);
        } else if (c.m_dSpeedX < 0) {
            if (!HitLeft(s, sb, upperLeft)) HitRight(s, sb, upperRight);
        } else {
            if (!HitRight(s, sb, upperRight)) HitLeft(s, sb, upperLeft);
        }
    }

    // The highest solid underfoot is the one stood on (and ridden).
    void LandOn(cCharaComputer& s, const Box& sb) {
        if (s.m_dSpeedY < 0) c.TouchBottom(s);
        const double v = sb.t - h;
        if (!standOn.Has() || v < standOn.v) {
            standOn.Set(v, s, s.m_dSpeedY);
            RideOn(c, s);
        }
    }
    bool HitLeft(cCharaComputer& s, const Box& sb, const Box& line) {
        if (!Overlaps(sb, line)) return false;
        c.TouchLeft(s);
        pushRight.Largest(sb.r + 1.5, s, s.m_dSpeedX);
        return true;
    }
    bool HitRight(cCharaComputer& s, const Box& sb, const Box& line) {
        if (!Overlaps(sb, line)) return false;
        c.TouchRight(s);
        pushLeft.Smallest(sb.l - w - 0.5, s, s.m_dSpeedX);
        return true;
    }

    // The vertical outcome: the head pushed down, squeezed out below, or
    // landed. false when the side pushes are cancelled.
    bool ResolveHeadAndFeet(bool bothSides) {
        if (pushDown.Has() && !standOn.Has()) {
            PushHeadUnderSolid();
            return true;
        }
        if (bothSides && !standOn.Has()) {
            SqueezeOutBelow();
            return false;
        }
        if (standOn.Has() && !bothSides) LandOnSolid();
        return true;
    }

    // Under a rising solid the head push must leave room: no map cell at
    // the corners (the cells before the push) and no other solid there.
    void PushHeadUnderSolid() {
        bool room = true;
        if (pushDown.speed < 0) {
            const double box[4] = {c.m_dX, pushDown.v, c.m_dRight, c.m_dBottom};
            room = c.HitsMapCorner() == 0 && IsOverlappingSolid(c, box, solids, pushDown.key) == 0;
        }
        if (room) {
            PushHeadDown(c, pushDown.v, pushDown.speed);
            CollideBothY(c);
        }
    }

    // Squeezed from both sides with nothing underfoot: out below the first
    // solid at the head instead.
    void SqueezeOutBelow() {
        if (cCharaComputer* s = FirstSolidOver(solids, c.m_nKey, U)) PushHeadDown(c, s->m_dBottom + 1, s->m_dSpeedY);
        c.m_abContact[CONTACT_LEFT] = c.m_abContact[CONTACT_RIGHT] = 0;
        pushRight.Drop();
        pushLeft.Drop();
    }

    // Standing on the solid: the ridden events when the ride starts, the
    // feet on its top and the jump state of the ground. A solid sinking
    // into the map does not take the chara along.
    void LandOnSolid() {
        if (standOn.speed > 0 && c.HitsMapCorner() == 1) {
            standOn.Drop();
            c.m_bOnBlockChara = 0;
            return;
        }
        c.m_dMoveSpeedY = 0.0;
        landed = true;
        if (!c.m_bOnBlockChara) {
            c.m_bOnBlockChara = 1;
            if (c.m_nSide == 0) Fire(*standOn.solid, TRG_RIDDEN_BY_HERO, &c);
            Fire(*standOn.solid, TRG_RIDDEN_BY_CHARA, &c);
        }
        c.m_dY = standOn.v;
        c.AfterMoveY();
        c.m_dSpeedY = 0.0;
        c.m_nGraceCounter = 0;
        c.m_bJumpStarted = c.m_bJumpCut = c.m_bAirborne = c.m_bKnockedBack = 0;
        if (c.m_nSide != 0)
            c.m_bJumpBlocked = 0;
        else
            ClearHeroFootBlockJump();
    }

    // The side pushes; pushed from both sides with nothing underfoot, the
    // chara goes back to its entry x and out below the solid at its head.
    void ApplySidePushes(bool bothSides) {
        if (pushRight.Has()) PushSide(c, pushRight);
        if (pushLeft.Has()) PushSide(c, pushLeft);
        if (!bothSides || standOn.Has()) return;
        c.m_dX = entryX;
        c.AfterMoveX();
        if (cCharaComputer* s = FirstSolidOver(solids, c.m_nKey, U)) {
            if (s->m_dSpeedY > 0) c.TouchTop(*s);
            PushHeadDown(c, s->m_dBottom + 1, s->m_dSpeedY);
            c.m_abContact[CONTACT_LEFT] = c.m_abContact[CONTACT_RIGHT] = 0;
        }
    }

    // The touch and on-block-chara events on the chara.
    void FireContactEvents() {
        if (overlapped || c.m_bOnBlockChara) Fire(c, TRG_HIT_BLOCK_CHARA);
        if (c.m_bOnBlockChara) {
            if (c.m_nSide == 0) ClearHeroFootBlockJump();
            Fire(c, TRG_ON_BLOCK_CHARA);
        }
    }

    // Touched on opposite sides, or wedged between block charas.
    bool IsCrushed() {
        const double entryBox[4] = {B.l, B.t, B.r, B.b};
        return (c.m_abContact[CONTACT_LEFT] && c.m_abContact[CONTACT_RIGHT]) ||
               (c.m_abContact[CONTACT_TOP] && c.m_abContact[CONTACT_BOTTOM]) || IsWedgedInBlockCharas(c, entryBox);
    }

    // Back out of the map cells the pushes moved the chara into (older
    // data: the sides it touches).
    void StepOutOfMapCells() {
        if (!g_SystemData.m_bCompat818) {
            if (pushRight.Has()) StepOutOfMap(c, -0.1, false);
            if (pushLeft.Has()) StepOutOfMap(c, 0.1, false);
            if (pushDown.Has()) StepOutOfMap(c, -0.1, true);
            if (standOn.Has()) StepOutOfMap(c, 0.1, true);
        } else {
            if (c.m_abContact[CONTACT_LEFT]) StepOutOfMap(c, -0.1, false);
            if (c.m_abContact[CONTACT_RIGHT]) StepOutOfMap(c, 0.1, false);
            if (c.m_abContact[CONTACT_TOP]) StepOutOfMap(c, -0.1, true);
            if (c.m_abContact[CONTACT_BOTTOM]) StepOutOfMap(c, 0.1, true);
        }
    }

    // A rider that did not land this sub-step: knocked up it leaves the
    // solid; else it keeps riding the solid it rode, or rides the chara
    // below it, or leaves.
    void KeepRiding() {
        if (c.m_dImpactY < 0) {
            c.LeaveBlockChara(1);
        } else if (IsRidingBlockChara(c)) {
            for (cCharaComputer& s : solids) {
                if (IsSolidFor(s, c.m_nKey) && s.m_nKey == c.m_nRiddenKey) {
                    RideOn(c, s);
                    break;
                }
            }
            c.m_nGraceCounter = 0;
            c.m_bKnockedBack = 0;
        } else if (cChara* below = FindCharaBelow(c)) {
            RideOn(c, *below);
            c.m_nGraceCounter = 0;
            c.m_bKnockedBack = 0;
        } else {
            c.LeaveBlockChara(1);
        }
    }

    cChara& c;
    cCheckedList<cCharaComputer>& solids;
    const int w, h;
    const double f;
    const bool compat839;
    // At entry: the box, its upper half, the feet, the box at the start of
    // the sub-step and the sweep from there, and the edge lines.
    const Box B, U, L, P, Q;
    const Box upperLeft, upperRight, sideLeft, sideRight;
    const double entryX;
    Candidate pushRight, pushLeft, pushDown, standOn;
    bool overlapped = false, landed = false;
};

int CollideWalking(cChara& c, cCheckedList<cCharaComputer>& list) { return WalkingCollision(c, list).Run(); }

}  // namespace

int CollideSolids(cChara& chara, cCheckedList<cCharaComputer>& list) {
    if (!chara.m_bFlying) return CollideWalking(chara, list);
    if (chara.m_nWallMode == 0) return 0;
    return CollideFlying(chara, list);
}

void ResolveOnOtherAxis(cChara& c, cCheckedList<cCharaComputer>& list, int vertical) {
    const EdgeLines lines(BoxOf(c));
    Candidate low, high;  // towards larger and towards smaller coordinates
    for (cCharaComputer& s : list)
        if (IsSolidFor(s, c.m_nKey)) TouchEdges(c, s, BoxOf(s), lines, vertical != 0, low, high);
    for (const Candidate* p : {&low, &high}) {
        if (!p->Has()) continue;
        if (vertical) {
            c.m_dY = p->v;
            c.AfterMoveY();
        } else {
            c.m_dX = p->v;
            c.AfterMoveX();
            if (!(p->key == c.m_nRiddenKey && c.m_bOnBlockChara)) c.m_bPushed = 1;
        }
    }
}
