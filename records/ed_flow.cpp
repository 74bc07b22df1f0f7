#include "records/ed_flow.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "records/cmd_kinds.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cEdFlow>;
template class cRecord<cEdFlowCmd>;

cEdFlow::cEdFlow() = default;
cEdFlow::cEdFlow(const cEdFlow&) = default;
cEdFlow::cEdFlow(cEdFlow&&) noexcept = default;
cEdFlow& cEdFlow::operator=(const cEdFlow&) = default;
cEdFlow& cEdFlow::operator=(cEdFlow&&) noexcept = default;
cEdFlow::~cEdFlow() = default;

cEdFlowCmd::cEdFlowCmd() = default;
cEdFlowCmd::cEdFlowCmd(const cEdFlowCmd&) = default;
cEdFlowCmd::cEdFlowCmd(cEdFlowCmd&&) noexcept = default;
cEdFlowCmd& cEdFlowCmd::operator=(const cEdFlowCmd&) = default;
cEdFlowCmd& cEdFlowCmd::operator=(cEdFlowCmd&&) noexcept = default;
cEdFlowCmd::~cEdFlowCmd() = default;

namespace {

// Deepest nesting of flow lists inside commands that a file may hold.
constexpr int kMaxFlowNesting = 16;
thread_local int t_nFlowDepth = 0;

struct cDepthGuard {
    cDepthGuard() { ++t_nFlowDepth; }
    ~cDepthGuard() { --t_nFlowDepth; }
    cDepthGuard(const cDepthGuard&) = delete;
    cDepthGuard& operator=(const cDepthGuard&) = delete;
};

// Table indexes are compared as unsigned: a negative one counts as too large.
bool Outside(int64_t v, int nCount) { return v < 0 || v >= std::max(nCount, 0); }

// Parameter i, or null when the vector is shorter.
int32_t* Param(std::vector<int32_t>& v, size_t i) { return i < v.size() ? &v[i] : nullptr; }

// Parameter i reset to nReset when it is outside the table.
void CheckParam(std::vector<int32_t>& v, size_t i, const cFlowRefSource& refs, FlowRefTable t, int32_t nReset) {
    int32_t* p = Param(v, i);
    if (p && Outside(*p, refs.TableSize(t))) *p = nReset;
}

}  // namespace

// ---------------------------------------------------------------------------
// Flow

cEdFlow cEdFlow::ForReading() {
    cEdFlow f;
    f.Clear();
    f.m_nKeyInterval = 3;
    return f;
}

void cEdFlow::OnLoaded(const cLoadContext& ctx) {
    if (ctx.Below(1000)) {
        // Triggers inserted over the versions; compared signed.
        int t = m_nTrigger;
        if (ctx.nVersion <= 131 && t >= 11) t += 1;
        if (ctx.Below(163) && t != 0) m_nFlowGroup = 0;
        if (ctx.Below(164) && t >= 5) t += 2;
        if (ctx.Below(762) && t >= 18) t += 3;
        if (ctx.Below(900)) {
            if (t >= 2) t += 1;
            if (t >= 4) t += 1;
            if (t >= 21) t += 1;
            if (t >= 23) t += 1;
        }
        m_nTrigger = static_cast<int8_t>(t);
    }
    m_strName.clear();  // play keeps no flow names
    Validate();
}

void cEdFlow::Validate() {
    for (cEdFlowCmd& c : m_vecCmd) c.Validate();
}

void cEdFlow::ValidateCommandRefs(const cPaletteCounts& common, const cPaletteCounts& stage) {
    for (cEdFlowCmd& c : m_vecCmd) c.ValidateRefs(common, stage);
}

bool LoadFlowVector(cByteReader& r, const cLoadContext& ctx, std::vector<cEdFlow>& vec) {
    // A flow body holds at least its two base counts and three part counts.
    const int32_t n = r.ReadCount(20, "flow count");
    if (!r.ok()) return false;
    vec.clear();
    if (n == 0) return true;
    if (t_nFlowDepth >= kMaxFlowNesting) return r.Failf("flows nested more than %d deep", kMaxFlowNesting);
    cDepthGuard guard;
    const cEdFlow tmpl = cEdFlow::ForReading();
    vec.reserve(static_cast<size_t>(std::min(n, 1024)));
    for (int32_t i = 0; i < n; ++i) {
        vec.push_back(tmpl);
        if (!vec.back().Load(r, ctx)) {
            if (r.ok()) r.Fail("bad flow");
            return false;
        }
    }
    return r.ok();
}

void SaveFlowVector(cByteWriter& w, uint32_t nVersion, std::vector<cEdFlow>& vec) {
    w.WriteInt32(static_cast<int32_t>(vec.size()));
    for (cEdFlow& f : vec) f.SaveAs(w, nVersion);
}

void RemoveTestPlayFlows(std::vector<cEdFlow>& vec) {
    std::erase_if(vec, [](const cEdFlow& f) { return f.m_bTestPlayOnly != 0; });
}

// ---------------------------------------------------------------------------
// Command

void cEdFlowCmd::Init() {
    Clear();
    m_spMove.Reset();
    m_spShot.Reset();
    m_spCondList.Reset();
    m_bSoundOnScreenOnly = 1;
}

bool cEdFlowCmd::HasKnownKind() const {
    if (m_nFamily == FAMILY_CHARA) return m_nKind >= 0 && m_nKind < CHARA_CMD_KIND_COUNT;
    if (m_nFamily == FAMILY_ITEM) return m_nKind >= 0 && m_nKind < ITEM_CMD_KIND_COUNT;
    return false;
}

int cEdFlowCmd::CharaKindEquivalent() const {
    if (m_nFamily == FAMILY_CHARA) return m_nKind;
    if (m_nFamily == FAMILY_ITEM && m_nKind >= ICMD_STAGE_CLEAR) return ItemCmdToCharaCmd(m_nKind);
    return -1;
}

bool cEdFlowCmd::LoadExtra(cByteReader& r, const cLoadContext& ctx) {
    if (ctx.Below(764)) m_spCondList.Reset();
    if (!LoadFlowVector(r, ctx, m_vecFlow)) return false;
    const int32_t p = r.ReadCount(4, "parameter count");
    if (!r.ok()) return false;
    if (p > 0) {
        m_vecParam.resize(static_cast<size_t>(p), 0);
        r.ReadBytes(m_vecParam.data(), sizeof(int32_t) * static_cast<size_t>(p), "parameters");
    }
    return r.ok();
}

void cEdFlowCmd::SaveExtra(cByteWriter& w, uint32_t nVersion) {
    SaveFlowVector(w, nVersion, m_vecFlow);
    w.WriteInt32(static_cast<int32_t>(m_vecParam.size()));
    if (!m_vecParam.empty()) w.WriteBytes(m_vecParam.data(), sizeof(int32_t) * m_vecParam.size());
}

void cEdFlowCmd::DumpExtra(cDumper& d) {
    d.Open("m_vecFlow (" + std::to_string(m_vecFlow.size()) + ")");
    for (size_t i = 0; i < m_vecFlow.size(); ++i) {
        d.Open("[" + std::to_string(i) + "]");
        m_vecFlow[i].Dump(d);
        d.Close();
    }
    d.Close();
    std::string s = "[";
    for (size_t i = 0; i < m_vecParam.size(); ++i) {
        if (i) s += ", ";
        s += std::to_string(m_vecParam[i]);
    }
    d.Line("m_vecParam (" + std::to_string(m_vecParam.size()) + ")", s + "]");
}

void cEdFlowCmd::OnLoaded(const cLoadContext& ctx) {
    // Nested flows were read (and upgraded) before the command's own steps.
    if (ctx.Below(1000)) UpgradeParams(ctx.nVersion);
    if (DropTestPlayFlows()) RemoveTestPlayFlows(m_vecFlow);
    Validate();
}

void cEdFlowCmd::Validate() {
    const cFlowRefSource* refs = FlowRefSource();
    if (refs) {
        if (Outside(m_nAnime, refs->TableSize(FlowRefTable::Anime))) m_nAnime = 0;
        if (Outside(m_nSound, refs->TableSize(FlowRefTable::Sound))) m_nSound = 0;
    }
    // A kind outside the tables keeps its parameters as stored.
    if (HasKnownKind()) m_vecParam.resize(static_cast<size_t>(CmdKindParamCount(m_nFamily, m_nKind)), 0);

    if (refs) {
        auto& v = m_vecParam;
        switch (CharaKindEquivalent()) {
        case CMD_SWORD:
            if (m_nFamily == FAMILY_CHARA && m_spShot) {
                cEdShot& shot = *m_spShot;
                const int nTypes = refs->TableSize(FlowRefTable::SwordType);
                if (Outside(shot.m_nTrajectory, nTypes)) shot.m_nTrajectory = 0;
                if (!Outside(shot.m_nTrajectory, nTypes)) {
                    // The swing's duration, held at 9999 after any addition
                    // that passes it.
                    int64_t sum = 0;
                    for (int32_t d : refs->SwordPartDurations(shot.m_nTrajectory)) {
                        sum += d;
                        if (sum > 9999) sum = 9999;
                    }
                    m_nTime = static_cast<int16_t>(std::max<int64_t>(sum, INT16_MIN));
                }
            }
            break;
        case CMD_CHANGE_GRAPHIC:
            if (Param(v, 0) && v[0] == 4) CheckParam(v, 1, *refs, FlowRefTable::CharaBitmap, 1);
            break;
        case CMD_CHANGE_ANIME_SET: CheckParam(v, 0, *refs, FlowRefTable::AnimeSet, 0); break;
        case CMD_RUN_ANIME: CheckParam(v, 0, *refs, FlowRefTable::Anime, 1); break;
        case CMD_RUN_EFFECT: CheckParam(v, 0, *refs, FlowRefTable::Effect, 1); break;
        case CMD_RUN_CHARA_EFFECT: CheckParam(v, 0, *refs, FlowRefTable::CharaEffect, 1); break;
        case CMD_RUN_SCREEN_EFFECT: CheckParam(v, 0, *refs, FlowRefTable::ScreenEffect, 1); break;
        case CMD_SHOW_PICTURE: CheckParam(v, 0, *refs, FlowRefTable::Picture, 1); break;
        case CMD_PLAY_SE: CheckParam(v, 0, *refs, FlowRefTable::Sound, 1); break;
        case CMD_PLAY_BGM: CheckParam(v, 0, *refs, FlowRefTable::Bgm, 1); break;
        default: break;
        }
    }
    for (cEdFlow& f : m_vecFlow) f.Validate();
}

void cEdFlowCmd::ValidateRefs(const cPaletteCounts& common, const cPaletteCounts& stage) {
    const int kind = CharaKindEquivalent();
    if (m_nFamily == FAMILY_CHARA && m_spShot) {
        cEdShot& shot = *m_spShot;
        if (kind == CMD_SHOT || kind == CMD_SWORD) {
            const cPaletteCounts* pal = shot.m_nItemSource == 1 ? &common : shot.m_nItemSource == 2 ? &stage : nullptr;
            if (pal && Outside(shot.m_nItem, pal->nItems)) {
                shot.m_nItemSource = 0;
                shot.m_nItem = 0;
            }
        }
        if (kind == CMD_SUMMON_BLOCK || kind == CMD_SUMMON_CHARA || kind == CMD_SUMMON_ITEM) {
            const cPaletteCounts* pal = shot.m_nSummonSource == 0 ? &common : shot.m_nSummonSource == 1 ? &stage : nullptr;
            if (pal) {
                const int n = kind == CMD_SUMMON_BLOCK ? pal->nBlocks : kind == CMD_SUMMON_CHARA ? pal->nCharas : pal->nItems;
                if (Outside(shot.m_nSummonEntry, n)) shot.m_nSummonEntry = 1;
            }
        }
    }
    if (kind == CMD_GET_ITEM && m_vecParam.size() >= 2) {
        const int32_t source = m_vecParam[0];
        const cPaletteCounts* pal = source == 0 ? &common : source == 1 ? &stage : nullptr;
        if (pal && Outside(m_vecParam[1], pal->nItems)) m_vecParam[1] = 1;
    }
    for (cEdFlow& f : m_vecFlow) f.ValidateCommandRefs(common, stage);
}
