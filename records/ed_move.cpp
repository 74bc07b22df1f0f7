#include "records/ed_move.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cEdMove>;

void cEdMove::SetDefaults() {
    Clear();
    m_nSpeed = 10;
    m_bUseTargetX = 1;
    m_bUseTargetY = 1;
    m_bTimeByArrival = 1;
    m_bMirrorAngle = 1;
    m_bMirrorTargetX = 1;
    m_bTurnWithFacing = 1;
    m_bMirrorTargetY = 0;
    m_dReverseAccel = 1.0;
    m_nTarget = 0;
}

void cEdMove::OnLoaded(const cLoadContext& ctx) {
    if (!ctx.Below(1000)) return;
    if (ctx.Below(158)) m_bMirrorAngle = 0;
    if (ctx.Below(159)) m_nDistanceUnit = 0;
    if (ctx.Below(162)) {
        m_bKeepFacing = 0;
        m_nAnime = 0;
    }
    if (ctx.Below(830) && m_nAnime == 1) m_nAnime = 2;
}

int CreateEdMove(cEdMoveHolder& holder) {
    holder.Create();
    return 1;
}

cEdMoveHolder& AssignEdMoveHolder(cEdMoveHolder& dst, const cEdMoveHolder& src) {
    dst = src;
    return dst;
}
