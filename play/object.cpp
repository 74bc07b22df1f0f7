#include "play/object.h"

#include <cstring>
#include <limits>

#include "play/map_cell.h"
#include "play/numeric.h"
#include "play/scene_play.h"
#include "records/stage.h"

void cObject::Init(int key, int side, int player, int group, int graphic, const int* const* animeLists,
                   int startTrack, int drawOffsetX, int drawOffsetY, int width, int height, int drawWidth,
                   int drawHeight, int facing, int moveMode, int clone) {
    m_nKey = key;
    m_nSide = side;
    m_nPlayer = player;
    m_nGroup = group;
    m_nGraphic = graphic;
    m_nBaseDrawOffsetX = m_nDrawOffsetX = drawOffsetX;
    m_nBaseDrawOffsetY = m_nDrawOffsetY = drawOffsetY;
    m_nBaseWidth = m_nWidth = width;
    m_nBaseHeight = m_nHeight = height;
    m_nBaseDrawWidth = m_nDrawWidth = drawWidth;
    m_nBaseDrawHeight = m_nDrawHeight = drawHeight;
    m_nFacing = facing;
    m_nClone = static_cast<int16_t>(clone);
    m_dSpeedX = m_dSpeedY = m_dMoveSpeedX = m_dMoveSpeedY = 0.0;
    m_bActing = m_bInView = m_bHidden = 0;
    m_nLifeTime = std::numeric_limits<int32_t>::max();
    switch (moveMode) {
        case 0: m_bFlying = 0, m_nWallMode = 1; break;
        case 1: m_bFlying = 1, m_nWallMode = 0; break;
        case 2: m_bFlying = 1, m_nWallMode = 1; break;
        case 3: m_bFlying = 1, m_nWallMode = 2; break;
        default: break;
    }
    if (animeLists) {
        m_Anime.BuildTracks(animeLists);
        m_Anime.SetTrack(startTrack, 1);
    }
}

void cObject::CopyFrom(const cObject& other) {
    if (&other != this) cObject::operator=(other);
}

void cObject::SetScale(int newScale, int oldScale, int keep) {
    if (newScale == oldScale) return;
    m_nWidth = WrapMul(newScale, m_nBaseWidth);
    m_nHeight = WrapMul(newScale, m_nBaseHeight);
    m_nDrawWidth = WrapMul(newScale, m_nBaseDrawWidth);
    m_nDrawHeight = WrapMul(newScale, m_nBaseDrawHeight);
    m_nDrawOffsetX = WrapMul(newScale, m_nBaseDrawOffsetX);
    m_nDrawOffsetY = WrapMul(newScale, m_nBaseDrawOffsetY);
    ApplyScaleShift(newScale, oldScale, keep);
    ScaleHitBoxes(newScale);
}

void cObject::ApplyScaleShift(int newScale, int oldScale, int keep) {
    const int32_t d = WrapAdd(newScale, -oldScale);
    m_dX -= WrapMul(d, m_nBaseWidth / 2);
    ClampToStageX(2);
    KeepBaseOnScale(newScale, oldScale, keep);
}

void cObject::UpdatePosX() {
    m_dRight = m_dX + m_nWidth - 1;
    UpdateHitBoxX();
    m_nCellLeft = TruncToInt(m_dX) >> 5;
    m_nCellRight = TruncToInt(m_dRight) >> 5;
}

void cObject::UpdatePosY() {
    m_dBottom = m_dY + m_nHeight - 1;
    UpdateHitBoxY();
    m_nCellTop = TruncToInt(m_dY) >> 5;
    m_nCellBottom = TruncToInt(m_dBottom) >> 5;
}

int cObject::ClampToStageX(int mode) {
    const cScrollAxis& ax = PlayScene()->m_ScrollX;
    const double right = m_dX + m_nWidth - 1;
    int code = 0;
    switch (mode) {
        case 0:
            if (m_dX < ax.m_nMinPos)
                m_dX = ax.m_nMinPos;
            else if (m_dX > ax.m_nMaxEnd - m_nWidth)
                m_dX = ax.m_nMaxEnd - m_nWidth;
            break;
        case 1:
            if (m_dX < ax.m_nOrigin)
                m_dX = ax.m_nOrigin;
            else if (m_dX > ax.m_nEnd - m_nWidth)
                m_dX = ax.m_nEnd - m_nWidth;
            else if (m_dX < ax.m_nMinPos || right >= ax.m_nMaxEnd)
                code = 1;
            break;
        case 2:
            if (m_dX < 0) {
                m_dX = 0;
                code = 3;
            } else if (right >= ax.m_nLimit) {
                m_dX = ax.m_nLimit - m_nWidth;
                code = 3;
            } else if (m_dX < ax.m_nOrigin || right >= ax.m_nEnd) {
                code = 2;
            } else if (m_dX < ax.m_nMinPos || right >= ax.m_nMaxEnd) {
                code = 1;
            }
            break;
        default: break;
    }
    UpdatePosX();
    return code;
}

int cObject::ClampToStageY(int mode) {
    const cScrollAxis& ax = PlayScene()->m_ScrollY;
    const double bottom = m_dY + m_nHeight - 1;
    int code = 0;
    switch (mode) {
        case 0:
            if (m_dY < ax.m_nMinPos)
                m_dY = ax.m_nMinPos;
            else if (m_dY > ax.m_nMaxEnd - m_nHeight)
                m_dY = ax.m_nMaxEnd - m_nHeight;
            break;
        case 1:
            if (m_dY < ax.m_nOrigin)
                m_dY = ax.m_nOrigin;
            else if (m_dY > ax.m_nEnd - m_nHeight)
                m_dY = ax.m_nEnd - m_nHeight;
            else if (m_dY < ax.m_nMinPos)
                code = 1;
            else if (bottom >= ax.m_nMaxEnd)
                code = 4;
            break;
        case 2: {
            // An object taller than the border may stand above the top or
            // below the bottom of the map.
            const bool fits = m_nHeight < WrapMul(32, ax.m_nBorder);
            if (m_dY < 0) {
                if (fits) m_dY = 0, code = 3;
            } else if (bottom >= ax.m_nLimit) {
                if (fits) m_dY = ax.m_nLimit - m_nHeight, code = 6;
            } else if (m_dY < ax.m_nOrigin) {
                code = 2;
            } else if (bottom >= ax.m_nEnd) {
                code = 5;
            } else if (m_dY < ax.m_nMinPos) {
                code = 1;
            } else if (bottom >= ax.m_nMaxEnd) {
                code = 4;
            }
            break;
        }
        default: break;
    }
    UpdatePosY();
    return code;
}

void cObject::UpdateScreenRect() {
    const cScenePlay* scene = PlayScene();
    const cScrollAxis& sx = scene->m_ScrollX;
    const cScrollAxis& sy = scene->m_ScrollY;
    // Each branch truncates where the game does: the pixel rows and columns
    // of a drawn object depend on it.
    if (!m_bFlying) {
        m_nScrLeft = TruncToInt(m_dX - m_nDrawOffsetX - TruncToInt(sx.m_dPos));
        m_nScrTop = TruncToInt(m_dY - m_nDrawOffsetY - TruncToInt(sy.m_dPos));
    } else {
        if (sx.m_dSpeed == 0.0 || sx.m_bAtEdge)
            m_nScrLeft = WrapAdd(WrapAdd(TruncToInt(m_dX), -TruncToInt(sx.m_dPos)), -m_nDrawOffsetX);
        else if (m_bFollowScroll)
            m_nScrLeft = WrapAdd(TruncToInt(m_dX - sx.m_dPos), -m_nDrawOffsetX);
        else
            m_nScrLeft = TruncToInt(m_dX - m_nDrawOffsetX - TruncToInt(sx.m_dPos));
        if (sy.m_dSpeed == 0.0 || sy.m_bAtEdge)
            m_nScrTop = WrapAdd(WrapAdd(TruncToInt(m_dY), -TruncToInt(sy.m_dPos)), -m_nDrawOffsetY);
        else
            m_nScrTop = WrapAdd(WrapAdd(TruncToInt(m_dY - sy.m_dPos), -m_nDrawOffsetY), 1);
    }
    m_nScrRight = WrapAdd(WrapAdd(m_nScrLeft, m_nDrawWidth), -1);
    m_nScrBottom = WrapAdd(WrapAdd(m_nScrTop, m_nDrawHeight), -1);
}

bool cObject::IsOnScreen() const {
    const cScenePlay* scene = PlayScene();
    const double sx = scene->m_ScrollX.m_dPos, sy = scene->m_ScrollY.m_dPos;
    return m_dRight >= sx && sx + 640 > m_dX && m_dBottom >= sy && sy + 480 > m_dY;
}

bool cObject::IsInStage(int whole) const {
    const cScenePlay* scene = PlayScene();
    const cScrollAxis& ax = scene->m_ScrollX;
    const cScrollAxis& ay = scene->m_ScrollY;
    if (whole) return m_dX >= 0 && m_dRight < ax.m_nLimit && m_dY >= 0 && m_dBottom < ay.m_nLimit;
    return m_dX >= ax.m_nOrigin && m_dRight < ax.m_nEnd && m_dY >= ay.m_nOrigin && m_dBottom < ay.m_nEnd;
}

int cObject::IsOutOfArea(const cStageIntSet& s) const {
    if (m_bInView) return 0;
    const cScenePlay* scene = PlayScene();
    const cScrollAxis& ax = scene->m_ScrollX;
    const cScrollAxis& ay = scene->m_ScrollY;
    if (s.m_bLeft && m_dRight <= TruncToInt(ax.m_dPos - WrapMul(32, s.m_nLeft))) return 1;
    if (s.m_bRight && m_dX >= TruncToInt(ax.m_dPos + WrapMul(32, s.m_nRight) + 640)) return 1;
    if (s.m_bTop && m_dBottom <= TruncToInt(ay.m_dPos - WrapMul(32, s.m_nTop))) return 1;
    if (s.m_bBottom && m_dY >= TruncToInt(ay.m_dPos + WrapMul(32, s.m_nBottom) + 480)) return 1;
    if (m_dX <= 0 || m_dRight >= ax.m_nLimit - 1 || m_dY <= 0 || m_dBottom >= ay.m_nLimit - 1) return 1;
    return 0;
}

int cObject::HitsMapCorner() {
    const cScenePlay* scene = PlayScene();
    const int shift = scene->m_ScrollX.m_nShift;
    const long long columns = 1LL << (shift & 31);
    const long long rows = scene->m_ScrollY.m_nCells;
    const int32_t corners[4][2] = {{m_nCellLeft, m_nCellTop},
                                   {m_nCellLeft, m_nCellBottom},
                                   {m_nCellRight, m_nCellTop},
                                   {m_nCellRight, m_nCellBottom}};
    for (const auto& [c, r] : corners) {
        // A corner outside the map (a tall object above the top or below
        // the bottom, or one beyond the border) is free.
        if (c < 0 || c >= columns || r < 0 || r >= rows) continue;
        const long long index = c + (static_cast<long long>(r) << (shift & 31));
        if (index >= static_cast<long long>(g_vMapCells.size())) continue;
        if (g_vMapCells.at(index).GetHitMode(m_nGroup)) return 1;
    }
    return 0;
}

void CopyBox(double dst[4], const double src[4]) { std::memcpy(dst, src, 4 * sizeof(double)); }
void ClearBox(double box[4]) { box[0] = box[1] = box[2] = box[3] = 0.0; }
void ClearBoxPair(double a[4], double b[4]) {
    ClearBox(a);
    ClearBox(b);
}
void CopyIntQuad(int32_t dst[4], const int32_t src[4]) { std::memcpy(dst, src, 4 * sizeof(int32_t)); }

bool BoxesOverlap(const double a[4], const double b[4]) {
    return !(a[2] < b[0] || b[2] < a[0] || a[3] < b[1] || b[3] < a[1]);
}
