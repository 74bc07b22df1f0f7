// The six formations: where the objects of one volley start, how they step
// from one to the next, and the velocity they fly with.
//
// Notation: L, T, R, B the user's screen box, DW, DH its draw size, cx, cy
// its centre; X, Y the scroll positions; w, h one object; n the count; K
// the square root of one half. A scroll position added to integers is
// truncated first.
#include <cmath>

#include "play/chara.h"
#include "play/numeric.h"
#include "play/scene_play.h"
#include "play/shot_volley.h"
#include "records/system_data.h"

const ShotFormationFn ShotFormationHandlers[SHOT_FORMATION_COUNT] = {
    FormStraightA, FormStraightB, FormSpread, FormThunder, FormExplosion, FormSurround,
};

namespace {

constexpr double K = kSqrtHalf;

int T32(double v) { return TruncToInt(v); }

// The frame of one firing: the box the placements measure from.
struct Frame {
    double X, Y;  // scroll positions
    int iX, iY;   // the same truncated
    int L, T, R, B, DW, DH, cx, cy;
    int w, h, n;
    double s;
    Frame(const cObject& o, const ShotVolley& v, int count) {
        const cScenePlay& scene = *PlayScene();
        X = scene.m_ScrollX.m_dPos;
        Y = scene.m_ScrollY.m_dPos;
        iX = T32(X);
        iY = T32(Y);
        L = o.m_nScrLeft, T = o.m_nScrTop, R = o.m_nScrRight, B = o.m_nScrBottom;
        DW = o.m_nDrawWidth, DH = o.m_nDrawHeight;
        cx = L + DW / 2, cy = T + DH / 2;
        w = v.nWidth, h = v.nHeight, n = count;
        s = v.dSpeed;
    }
    int XL() const { return T32(iX + cx - K * (DW / 2 + w / 2 - 1) - w / 2); }
    int XR() const { return T32(iX + cx + K * (R - L - DW / 2 + w / 2 + 1) - w / 2); }
    int YU() const { return T32(iY + cy - K * (DH / 2 + h / 2) - h / 2); }
    int YD() const { return T32(iY + cy + K * (B - T - DH / 2 + h / 2 + 1) - h / 2); }
};

void SetVelocity(ShotVolley& v, double angle) {
    const double a = angle * kRadPerDegShort;
    v.dVX = -std::cos(a) * v.dSpeed;
    v.dVY = -std::sin(a) * v.dSpeed;
}

void AddOffsets(ShotVolley& v) {
    v.nStartX = WrapAdd(v.nStartX, v.nOffsetX);
    v.nStartY = WrapAdd(v.nStartY, v.nOffsetY);
}

// The single-object anchor of the direction code (codes outside the table
// take the left one).
void PlaceAnchor(ShotVolley& v, const Frame& f) {
    switch (v.nDir) {
        case 3: v.nStartX = f.iX + f.R + 1, v.nStartY = f.iY + f.cy - f.h / 2; break;
        case 6: v.nStartX = f.iX + f.cx - f.w / 2, v.nStartY = f.iY + f.T - f.h; break;
        case 7: v.nStartX = f.iX + f.cx - f.w / 2, v.nStartY = f.iY + f.B + 1; break;
        case 8: v.nStartX = f.XL(), v.nStartY = f.YU(); break;
        case 9: v.nStartX = f.XL(), v.nStartY = f.YD(); break;
        case 10: v.nStartX = f.XR(), v.nStartY = f.YU(); break;
        case 11: v.nStartX = f.XR(), v.nStartY = f.YD(); break;
        default: v.nStartX = f.iX + f.L - f.w + 1, v.nStartY = f.iY + f.cy - f.h / 2; break;
    }
}

// The velocity of a direction code along its axis or diagonal.
void AxisVelocity(ShotVolley& v, const Frame& f) {
    const double s = f.s, d = K * f.s;
    switch (v.nDir) {
        case 3: v.dVX = s, v.dVY = 0; break;
        case 6: v.dVX = 0, v.dVY = -s; break;
        case 7: v.dVX = 0, v.dVY = s; break;
        case 8: v.dVX = -d, v.dVY = -d; break;
        case 9: v.dVX = -d, v.dVY = d; break;
        case 10: v.dVX = d, v.dVY = -d; break;
        case 11: v.dVX = d, v.dVY = d; break;
        default: v.dVX = -s, v.dVY = 0; break;
    }
}

void EmitRow(std::list<cShot>* shots, cChara& user, cFlowCmd& cmd, cEdShot& def, ShotVolley& v, int n) {
    v.nX = v.nStartX;
    v.nY = v.nStartY;
    for (int i = 0; i < n; ++i) {
        EmitOne(shots, v, user, cmd, def);
        v.nX = WrapAdd(v.nX, v.nStepX);
        v.nY = WrapAdd(v.nY, v.nStepY);
    }
}

// The centre object of the thunder and surround formations, or null.
cChara* CentreObject(cChara& user, const cEdShot& def) {
    switch (def.m_nOrigin) {
        case 0: return user.TargetSlot(def.m_nTarget);
        case 1: return Hero();
        case 2: return &user;
        default: return nullptr;
    }
}

// --- Straight A: a row across the line of flight ---

void PlaceStraightA(ShotVolley& v, const Frame& f, int p1) {
    const int I = p1 * 16, a = p1 * 8, n = f.n, w = f.w, h = f.h;
    const double ex = K * (n - 1) * (a + w / 2), ey = K * (n - 1) * (a + h / 2);
    switch (v.nDir) {
        case 3:
            v.nStartX = T32(f.X + f.R + 1);
            v.nStartY = f.iY + f.cy - (n - 1) * a - n * (h / 2);
            v.nStepX = 0, v.nStepY = I + h;
            break;
        case 6:
        case 7:
            v.nStartX = f.iX + f.cx - (n - 1) * a - n * (w / 2);
            v.nStartY = v.nDir == 6 ? f.iY + f.T - h : f.iY + f.B + 1;
            v.nStepX = I + w, v.nStepY = 0;
            break;
        case 8:
            v.nStartX = T32(f.XL() - ex), v.nStartY = T32(f.YU() + ey);
            v.nStepX = I + w, v.nStepY = -(I + h);
            break;
        case 9:
            v.nStartX = T32(f.XL() - ex), v.nStartY = T32(f.YD() - ey);
            v.nStepX = I + w, v.nStepY = I + h;
            break;
        case 10:
            v.nStartX = T32(f.XR() - ex), v.nStartY = T32(f.YU() - ey);
            v.nStepX = I + w, v.nStepY = I + h;
            break;
        case 11:
            v.nStartX = T32(f.XR() - ex), v.nStartY = T32(f.YD() + ey);
            v.nStepX = I + w, v.nStepY = -(I + h);
            break;
        default:
            v.nStartX = T32(f.L + f.X + 1 - w);
            v.nStartY = f.iY + f.cy - (n - 1) * a - n * (h / 2);
            v.nStepX = 0, v.nStepY = I + h;
            break;
    }
    AxisVelocity(v, f);
    AddOffsets(v);
}

void PlaceStraightAAngled(cChara& user, cEdShot& def, ShotVolley& v, const Frame& f, int p1) {
    const int w = f.w, h = f.h, n = f.n;
    if (!def.m_bRotateOffset) {
        PlaceStraightA(v, f, p1);
        const double A = def.m_bAimAtTarget ? AimAngleAtTarget(v.nStartX + w / 2, v.nStartY + h / 2, user, def, v)
                                            : BaseAngleOfDirection(v.nDir);
        SetVelocity(v, A + v.nAngle);
        return;
    }
    double A = def.m_bAimAtTarget
                   ? AimAngleAtTarget(f.iX + f.cx + v.nOffsetX, f.iY + f.cy + v.nOffsetY, user, def, v) + v.nAngle
                   : v.nAngle + BaseAngleOfDirection(v.nDir);
    RotateAboutUser(v, user, A);
    if (def.m_bAimAtTarget)
        A = AimAngleAtTarget(v.nStartX + v.nOffsetX + w / 2, v.nStartY + v.nOffsetY + h / 2, user, def, v) + v.nAngle;
    const double sn = std::sin(A * kRadPerDegShort), cs = std::cos(A * kRadPerDegShort);
    const int e = p1 * 8, fw = p1 * 16;
    double g;
    if ((sn >= 0) == (cs >= 0)) {
        v.nStartX = T32(v.nStartX - sn * (e + w / 2) * (n - 1));
        v.nStepX = T32(sn * (fw + w));
        v.nStartY = T32(v.nStartY + cs * (e + h / 2) * (n - 1));
        g = -fw - h;
    } else {
        v.nStartX = T32(v.nStartX + sn * (e + w / 2) * (n - 1));
        v.nStepX = T32(sn * (-fw - w));
        v.nStartY = T32(v.nStartY - cs * (e + h / 2) * (n - 1));
        g = fw + h;
    }
    v.nStepY = T32(cs * g);
    AddOffsets(v);
    v.dVX = -cs * v.dSpeed;
    v.dVY = -sn * v.dSpeed;
}

// --- Straight B: a column rising from the user's foot line ---

void PlaceStraightB(ShotVolley& v, const Frame& f, int p1, bool faceRight) {
    const int I = p1 * 16;
    const int left = T32(f.L + f.X + 1 - f.w), right = T32(f.X + f.R + 1);
    switch (v.nDir) {
        case 3:
        case 10:
        case 11: v.nStartX = right; break;
        case 6:
        case 7: v.nStartX = faceRight ? right : left; break;
        default: v.nStartX = left; break;
    }
    v.nStartY = f.iY + f.B - f.h + 1;
    v.nStepX = 0;
    v.nStepY = -(I + f.h);
    AxisVelocity(v, f);
    AddOffsets(v);
}

}  // namespace

void FormStraightA(std::list<cShot>* shots, cChara& user, cFlowCmd& cmd, cEdShot& def, ShotVolley& v) {
    const Frame f(user, v, def.m_nCount);
    const int p1 = def.m_nFormationParam[0];
    if (v.nAngle == 0 && !def.m_bAimAtTarget)
        PlaceStraightA(v, f, p1);
    else
        PlaceStraightAAngled(user, def, v, f, p1);
    EmitRow(shots, user, cmd, def, v, def.m_nCount);
}

void FormStraightB(std::list<cShot>* shots, cChara& user, cFlowCmd& cmd, cEdShot& def, ShotVolley& v) {
    const Frame f(user, v, def.m_nCount);
    PlaceStraightB(v, f, def.m_nFormationParam[0], user.m_nFacing != 0);
    if (v.nAngle != 0 || def.m_bAimAtTarget) {
        const double A = def.m_bAimAtTarget
                             ? AimAngleAtTarget(v.nStartX + f.w / 2, v.nStartY + f.h / 2, user, def, v)
                             : BaseAngleOfDirection(v.nDir);
        SetVelocity(v, A + v.nAngle);
    }
    EmitRow(shots, user, cmd, def, v, def.m_nCount);
}

void FormSpread(std::list<cShot>* shots, cChara& user, cFlowCmd& cmd, cEdShot& def, ShotVolley& v) {
    const Frame f(user, v, def.m_nCount);
    if ((v.nAngle != 0 || def.m_bAimAtTarget) && def.m_bRotateOffset) {
        const double A = def.m_bAimAtTarget
                             ? AimAngleAtTarget(f.iX + f.cx + v.nOffsetX, f.iY + f.cy + v.nOffsetY, user, def, v)
                             : BaseAngleOfDirection(v.nDir);
        RotateAboutUser(v, user, A + v.nAngle);
    } else {
        PlaceAnchor(v, f);
    }
    AddOffsets(v);
    const double centre = def.m_bAimAtTarget
                              ? AimAngleAtTarget(v.nStartX + f.w / 2, v.nStartY + f.h / 2, user, def, v)
                              : BaseAngleOfDirection(v.nDir);
    const int n = def.m_nCount, p1 = def.m_nFormationParam[0];
    const double k = n % 2 ? n / 2 : n / 2 - 0.5;
    double angle = centre + v.nAngle - p1 * k;
    v.nX = v.nStartX;
    v.nY = v.nStartY;
    for (int i = 0; i < n; ++i) {
        SetVelocity(v, angle);
        EmitOne(shots, v, user, cmd, def);
        angle += p1;
    }
}

void FormThunder(std::list<cShot>* shots, cChara& user, cFlowCmd& cmd, cEdShot& def, ShotVolley& v) {
    const cChara* centre = CentreObject(user, def);
    if (!centre) return;
    const Frame f(user, v, def.m_nCount);
    const int cxo = centre->m_nScrLeft + centre->m_nDrawWidth / 2;
    const int cyo = centre->m_nScrTop + centre->m_nDrawHeight / 2;
    const int p1 = def.m_nFormationParam[0], p2 = def.m_nFormationParam[1], p3 = def.m_nFormationParam[2];
    const int w = f.w, h = f.h;
    const double X = f.X, Y = f.Y;
    const int g = g_SystemData.m_bCompat555 ? 0 : p1 * 16;
    const int Cs = p3 * 16;
    const int Fc = ((p2 - 1) / 2) * Cs + (p2 % 2 == 0 ? p3 * 8 : 0);
    const int dL = cxo, dR = 640 - cxo, dT = cyo, dB = 480 - cyo;
    switch (v.nDir) {
        case 3:
            v.nStartX = f.iX, v.nStartY = f.iY + cyo - h / 2;
            v.nStepX = w + g, v.nStepY = 0;
            break;
        case 6:
            v.nStartX = f.iX + cxo - w / 2, v.nStartY = T32(Y + 480 - h);
            v.nStepX = 0, v.nStepY = -h - g;
            break;
        case 7:
            v.nStartX = f.iX + cxo - w / 2, v.nStartY = f.iY;
            v.nStepX = 0, v.nStepY = h + g;
            break;
        case 8:
            v.nStartX = dR < dB ? T32(X + 640 - w) : T32(X + cxo + dB - w);
            v.nStartY = dR < dB ? T32(Y + cyo + dR - h) : T32(Y + 480 - h);
            v.nStepX = T32(K * (-w - g)), v.nStepY = T32(K * (-h - g));
            break;
        case 9:
            v.nStartX = dR < dT ? T32(X + 640 - w) : T32(X + cxo + dT - w);
            v.nStartY = dR < dT ? T32(Y + cyo - dR) : T32(Y);
            v.nStepX = T32(K * (-w - g)), v.nStepY = T32(K * (h + g));
            break;
        case 10:
            v.nStartX = dL < dB ? T32(X) : T32(X + dL - dB);
            v.nStartY = dL < dB ? T32(Y + cyo + dL - h) : T32(Y + 480 - h);
            v.nStepX = T32(K * (w + g)), v.nStepY = T32(K * (-h - g));
            break;
        case 11:
            v.nStartX = dL < dT ? T32(X) : T32(X + dL - dT);
            v.nStartY = dL < dT ? T32(Y + cyo - dL) : T32(Y);
            v.nStepX = T32(K * (w + g)), v.nStepY = T32(K * (h + g));
            break;
        default:
            v.nStartX = T32(X + 640 - w), v.nStartY = f.iY + cyo - h / 2;
            v.nStepX = -w - g, v.nStepY = 0;
            break;
    }
    AxisVelocity(v, f);
    v.nColStepX = v.nColStepY = 0;
    if (p2 >= 2) {
        const int cs = T32(Cs * K), kf = T32(K * Fc);
        switch (v.nDir) {
            case 6:
            case 7: v.nColStepX = Cs, v.nStartX -= Fc; break;
            case 8:
            case 11: v.nColStepX = cs, v.nColStepY = -cs, v.nStartX -= kf, v.nStartY += kf; break;
            case 9:
            case 10: v.nColStepX = cs, v.nColStepY = cs, v.nStartX -= kf, v.nStartY -= kf; break;
            default: v.nColStepY = Cs, v.nStartY -= Fc; break;
        }
    }
    AddOffsets(v);
    if (v.nAngle != 0) SetVelocity(v, BaseAngleOfDirection(v.nDir) + v.nAngle);

    int x = v.nStartX, y = v.nStartY;
    for (int row = 0; row < def.m_nCount; ++row) {
        v.nX = x;
        v.nY = y;
        for (int col = 0; col < p2; ++col) {
            EmitOne(shots, v, user, cmd, def);
            v.nX = WrapAdd(v.nX, v.nColStepX);
            v.nY = WrapAdd(v.nY, v.nColStepY);
        }
        x = WrapAdd(x, v.nStepX);
        y = WrapAdd(y, v.nStepY);
    }
}

void FormExplosion(std::list<cShot>* shots, cChara& user, cFlowCmd& cmd, cEdShot& def, ShotVolley& v) {
    const Frame f(user, v, def.m_nCount);
    v.nStartX = WrapAdd(T32(f.L + f.DW / 2 + f.X - f.w / 2), v.nOffsetX);
    v.nStartY = WrapAdd(T32(f.T + f.DH / 2 + f.Y - f.h / 2), v.nOffsetY);
    const int n = def.m_nCount;
    double angle = BaseAngleOfDirection(v.nDir) + v.nAngle;
    v.nX = v.nStartX;
    v.nY = v.nStartY;
    for (int i = 0; i < n; ++i) {
        SetVelocity(v, angle);
        EmitOne(shots, v, user, cmd, def);
        angle += 360.0 / n;
    }
}

void FormSurround(std::list<cShot>* shots, cChara& user, cFlowCmd& cmd, cEdShot& def, ShotVolley& v) {
    const cChara* centre = CentreObject(user, def);
    if (!centre) return;
    const Frame f(*centre, v, def.m_nCount);
    const int D = def.m_nFormationParam[0] * 16;
    const int px = T32(f.L + f.DW / 2 + f.X - f.w / 2 + v.nOffsetX);
    const int py = T32(f.T + f.DH / 2 + f.Y - f.h / 2 + v.nOffsetY);
    v.nStartX = px;
    v.nStartY = py;
    const int n = def.m_nCount;
    double u = BaseAngleOfDirection(v.nDir) + v.nAngle;
    for (int i = 0; i < n; ++i) {
        const double a = u * kRadPerDegShort;
        v.nX = WrapAdd(T32(D * std::cos(a) + 0.5), px);
        v.nY = WrapAdd(T32(D * std::sin(a) + 0.5), py);
        SetVelocity(v, u);
        EmitOne(shots, v, user, cmd, def);
        u += 360.0 / n;
    }
}
