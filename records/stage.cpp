#include "records/stage.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "base/error_box.h"
#include "base/quit.h"
#include "base/thread.h"
#include "platform/cp932.h"
#include "platform/fs.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cStageIntSet>;
template class cRecord<cEdBackground>;
template class cRecord<cStageNameEntry>;
template class cRecord<cStage>;


cStage::cStage() { SetDefaults(); }
cStage::cStage(const cStage&) = default;
cStage::cStage(cStage&&) noexcept = default;
cStage& cStage::operator=(const cStage&) = default;
cStage& cStage::operator=(cStage&&) noexcept = default;
cStage::~cStage() = default;

cStage g_Stage;
cStage g_StageStart;

namespace {

// g_Stage's palettes are the stage palettes of the process-wide context.
const cPaletteSet s_StagePalettes = g_Stage.Palettes();
struct InstallStagePalettes {
    InstallStagePalettes() { SetStagePalettes(&s_StagePalettes); }
} s_InstallStagePalettes;

// Smallest definition bodies: the two base counts, the raw members and the
// part counts.
constexpr size_t kMinBlockBody = 8 + 4 + 4 + 4;
constexpr size_t kMinCharaBody = 8 + 8 + 4 + 4 + 4;
constexpr size_t kMinItemBody = 8 + 4 + 4 + 4 + 4;
constexpr size_t kMinBaseBody = 8;

// How often (in placed elements) a read looks for a quit request.
constexpr int32_t kQuitPollEvery = 256;

// Palette: n default definitions, each read in place, so that an entry sees
// the entries before it as read.
template <class Def>
bool LoadPalette(cByteReader& r, const cLoadContext& ctx, std::vector<Def>& vec, size_t minBody, const char* what) {
    const int32_t n = r.ReadCount(minBody, what);
    if (!r.ok()) return false;
    vec.assign(static_cast<size_t>(n), Def());
    for (Def& e : vec) {
        if (!e.Load(r, ctx)) {
            if (r.ok()) r.Failf("bad %s entry", what);
            return false;
        }
    }
    return true;
}

// Placements: each body behind an int32 that is dropped.
template <class Def>
bool LoadPlacements(cByteReader& r, const cLoadContext& ctx, std::vector<Def>& vec, size_t minBody,
                    const char* what) {
    const int32_t n = r.ReadCount(4 + minBody, what);
    if (!r.ok()) return false;
    vec.assign(static_cast<size_t>(n), Def());
    int32_t i = 0;
    for (Def& e : vec) {
        if (++i % kQuitPollEvery == 0 && ThreadQuitRequested()) return r.Fail("reading abandoned: asked to quit");
        r.Skip(4, what);
        if (!e.Load(r, ctx)) {
            if (r.ok()) r.Failf("bad %s", what);
            return false;
        }
    }
    return r.ok();
}

// int32 count, then the bodies, each read into a default element.
template <class T>
bool LoadRecords(cByteReader& r, const cLoadContext& ctx, std::vector<T>& v, const char* what) {
    const int32_t n = r.ReadCount(kMinBaseBody, what);
    if (!r.ok()) return false;
    v.assign(static_cast<size_t>(n), T());
    for (T& e : v) {
        if (!e.Load(r, ctx)) {
            if (r.ok()) r.Failf("bad %s", what);
            return false;
        }
    }
    return true;
}

template <class Def>
void SavePlacements(cByteWriter& w, uint32_t nVersion, std::vector<Def>& vec) {
    w.WriteInt32(static_cast<int32_t>(vec.size()));
    for (Def& e : vec) {
        w.WriteInt32(0);
        e.SaveAs(w, nVersion);
    }
}

template <class Def>
void PadToTwo(std::vector<Def>& vec) {
    while (vec.size() < 2) vec.emplace_back();
}

// min(a, b) for a limit computed in 64 bits, kept inside int32.
int32_t MinLimit(int32_t a, int64_t b) {
    const int64_t m = std::min<int64_t>(a, b);
    return static_cast<int32_t>(std::max<int64_t>(m, INT32_MIN));
}

int32_t SaturatedTimes(int32_t k, int32_t b) {
    const int64_t v = static_cast<int64_t>(k) * b;
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

// ---------------------------------------------------------------------------
// Box settings

uint32_t cStage::BoxSettingSince(int i) {
    static constexpr int k200[] = {0, 1, 2, 3, 12, 13, 16, 20, 24, 25, 26, 27, 34, 35};
    static constexpr int k155[] = {6, 7, 14, 15, 30, 31, 36, 37};
    if (std::find(std::begin(k200), std::end(k200), i) != std::end(k200)) return 200;
    if (std::find(std::begin(k155), std::end(k155), i) != std::end(k155)) return 155;
    return 0;
}

const char* cStage::BoxSettingName(int i) {
    static const std::array<std::string, kBoxSettings> names = [] {
        std::array<std::string, kBoxSettings> a;
        for (int k = 0; k < kBoxSettings; ++k) a[static_cast<size_t>(k)] = "m_anBoxSetting[" + std::to_string(k) + "]";
        return a;
    }();
    return names[static_cast<size_t>(i)].c_str();
}

// ---------------------------------------------------------------------------
// Defaults and normalisation

void cStage::SetDefaults() {
    Clear();
    m_vecPlacedBlock.clear();
    m_vecPlacedChara.clear();
    m_vecPlacedItem.clear();
    m_vecBlockPalette.assign(1, cEdBlock());
    m_vecBlockPalette[0].SetDefaults();
    m_vecCharaPalette.assign(1, cEdChara());
    m_vecCharaPalette[0].Init();
    m_vecItemPalette.assign(1, cEdItem());
    m_vecItemPalette[0].Init();

    m_nFrameRate = 60;
    m_nTimeLimit = 200;
    m_nWarnTime = 20;
    m_dGravity = 0.4;
    m_nSpeedLevel = 10;
    m_bEightLayers = 1;
    m_bSceneFlag = 1;
    m_bStartBanner = 1;
    m_bClearBanner = 1;
    m_bGameOverBanner = 1;
    m_bHitInViewOnly = 1;
    m_nHitInterval0 = 30;
    m_nHitInterval1 = 30;
    m_anBoxSetting = DefaultBoxSettings();

    m_vecBackground.assign(1, cEdBackground());
    m_vecBackground[0].m_bFill = 1;
    m_vecRankingSwitch.assign(kRankingSwitches, 1);
    m_RemoveChara = cStageIntSet();
    m_RemoveBlockChara = cStageIntSet();
    m_RemoveItem = cStageIntSet();
    m_RemoveHeroShot = cStageIntSet(1, 1, 1, 1, 0, 0, 0, 0);
    m_RemoveEnemyShot = cStageIntSet(1, 1, 1, 1, 10, 10, 10, 10);
}

cDefContext cStage::Context() const {
    cDefContext ctx = CurrentDefContext();
    ctx.stage = Palettes();
    return ctx;
}

void cStage::ApplySpeedLevel(int32_t nLevel) {
    m_nSpeedLevel = nLevel;
    const bool fine = nLevel >= 11 && nLevel <= 19;
    int32_t b = fine ? nLevel - 10 : nLevel;
    // Level 0 or below would leave no sub-step and divide by zero.
    if (b < 1) b = 1;
    const double d = b;
    m_nSubSteps = b;
    m_dSubSteps = d;
    m_nTenthSteps = SaturatedTimes(6, b);
    m_dSubSteps2 = d * d;
    m_dSpeedCap = fine ? 60.0 : 6.0 * d;
    m_nAirTimeLimit = SaturatedTimes(8, b);
    m_dSpeedCapStep = m_dSpeedCap / d;
    m_dGravityStep = m_dGravity / (d * d);
}

void cStage::PrepareSave() {
    m_nScrollMinX = MinLimit(m_nScrollMinX, static_cast<int64_t>(m_nWidth) - 20);
    m_nScrollMaxX = MinLimit(m_nScrollMaxX, static_cast<int64_t>(m_nWidth) - 1);
    m_nScrollMinY = MinLimit(m_nScrollMinY, static_cast<int64_t>(m_nHeight) - 15);
    m_nScrollMaxY = MinLimit(m_nScrollMaxY, static_cast<int64_t>(m_nHeight) - 1);
    ApplySpeedLevel(m_nSpeedLevel);

    const cDefContext ctx = Context();
    // Without a database the music number is not checked. A negative
    // number counts as beyond the table.
    const int nBgm = ctx.TableSize(FlowRefTable::Bgm);
    if (nBgm >= 0 && static_cast<uint32_t>(m_nBgm) >= static_cast<uint32_t>(nBgm)) m_nBgm = 0;

    PadToTwo(m_vecBlockPalette);
    PadToTwo(m_vecCharaPalette);
    PadToTwo(m_vecItemPalette);
    for (auto* vec : {&m_vecBlockPalette, &m_vecPlacedBlock})
        for (cEdBlock& b : *vec) {
            b.ValidateRefs(ctx);
            b.ValidateItemRef(ctx);
        }
    for (auto* vec : {&m_vecCharaPalette, &m_vecPlacedChara})
        for (cEdChara& c : *vec) {
            c.ValidateRefs(ctx);
            c.ValidateCommandRefs(ctx);
        }
    for (auto* vec : {&m_vecItemPalette, &m_vecPlacedItem})
        for (cEdItem& i : *vec) {
            i.ValidateRefs(ctx);
            i.ValidateCommandRefs(ctx);
        }
}

int cStage::FindHeroIndex() const {
    for (size_t i = 0; i < m_vecPlacedChara.size(); ++i) {
        const cEdChara& c = m_vecPlacedChara[i];
        if (c.m_nGraphic != 0 && c.m_nSide == 0) return static_cast<int>(i);
    }
    return -1;
}

// ---------------------------------------------------------------------------
// Reading

bool cStage::LoadRankingSwitches(cByteReader& r) {
    const int32_t n = r.ReadInt32("ranking switch count");
    if (!r.ok()) return false;
    // A count of 0 or below keeps the switches held.
    if (n <= 0) return true;
    if (static_cast<uint64_t>(n) * 4 > r.Left())
        return r.Failf("bad ranking switch count %d (%zu bytes left)", n, r.Left());
    m_vecRankingSwitch.assign(static_cast<size_t>(n), 0);
    return r.ReadBytes(m_vecRankingSwitch.data(), static_cast<size_t>(n) * 4, "ranking switches");
}

bool cStage::LoadExtra(cByteReader& r, const cLoadContext& ctx) {
    // References to the stage palette resolve against this record.
    const cDefContextScope scope(Context());
    if (!LoadRankingSwitches(r)) return false;
    for (cStageIntSet* s : {&m_RemoveChara, &m_RemoveBlockChara, &m_RemoveItem, &m_RemoveHeroShot, &m_RemoveEnemyShot})
        if (!s->Load(r, ctx)) return false;

    if (!LoadPalette(r, ctx, m_vecBlockPalette, kMinBlockBody, "block palette")) return false;
    if (!LoadPalette(r, ctx, m_vecCharaPalette, kMinCharaBody, "chara palette")) return false;
    if (!LoadPalette(r, ctx, m_vecItemPalette, kMinItemBody, "item palette")) return false;
    // Entry 0 stands for none, whatever the file holds (the block keeps its
    // conditions and cell).
    if (!m_vecBlockPalette.empty()) m_vecBlockPalette[0].SetDefaults();
    if (!m_vecCharaPalette.empty()) m_vecCharaPalette[0].Init();
    if (!m_vecItemPalette.empty()) m_vecItemPalette[0].Init();

    if (!LoadPlacements(r, ctx, m_vecPlacedBlock, kMinBlockBody, "placed block")) return false;
    if (!LoadPlacements(r, ctx, m_vecPlacedChara, kMinCharaBody, "placed chara")) return false;
    if (!LoadPlacements(r, ctx, m_vecPlacedItem, kMinItemBody, "placed item")) return false;

    if (!LoadRecords(r, ctx, m_vecBackground, "background")) return false;
    if (!LoadRecords(r, ctx, m_vecNameEntry, "name entry")) return false;

    if (ctx.Since(173)) {
        // The end code is read and not checked (CheckStageFileTail does that
        // for whole files); from 174 on it must be there.
        if (r.Left() >= 4)
            r.Skip(4, "end code");
        else if (ctx.Since(174))
            return r.Fail("file ends before its end code");
    }
    return r.ok();
}

void cStage::OnLoaded(const cLoadContext& ctx) {
    if (ctx.Below(kDataVersion)) {
        auto& box = m_anBoxSetting;
        if (ctx.Below(155)) {
            box[6] = box[4];
            box[7] = box[5];
            box[30] = box[28];
            box[31] = box[29];
            box[14] = box[15] = box[36] = box[37] = 0;
        }
        if (ctx.Below(166)) m_bBgmRepeat = 1;
        if (ctx.Below(181)) {
            m_vecRankingSwitch.resize(kRankingSwitches, 0);
            m_vecRankingSwitch[3] = 0;
            m_vecRankingSwitch[4] = 0;
        }
        if (ctx.Below(183)) m_bSceneFlag = 1;
        if (ctx.Below(184)) m_bAutoAdvance = 0;
        if (ctx.Below(199)) m_bKeepBgm = 0;
        if (ctx.Below(200)) {
            box[0] = 16;
            box[1] = 24;
            box[2] = 16;
            box[3] = 16;
            box[12] = 1;
            box[13] = 0;
            box[16] = 0;
            box[20] = 5;
            box[24] = 16;
            box[25] = 30;
            box[26] = 16;
            box[27] = 30;
            box[34] = 1;
            box[35] = 1;
        }
        if (ctx.Below(225)) m_bStartBanner = 0;
        if (ctx.Below(754)) m_vecNameEntry.assign(kOldNameEntries, cStageNameEntry());
        if (ctx.Below(876)) {
            for (cEdBackground& bg : m_vecBackground) {
                if (bg.m_bAutoX) {
                    bg.m_dAutoSpeedX = bg.m_dParallaxX;
                    bg.m_dParallaxX = 1.0;
                }
                if (bg.m_bAutoY) {
                    bg.m_dAutoSpeedY = bg.m_dParallaxY;
                    bg.m_dParallaxY = 1.0;
                }
            }
        }
        if (ctx.Below(968)) m_bReplaySave = 1;
    }
    PrepareSave();
}

bool cStage::LoadStageBytes(std::span<const uint8_t> file, std::string_view name) {
    cDataFileIn in;
    if (!in.OpenBytes(file, name)) return false;
    return LoadFrom(in);
}

bool cStage::LoadStageFile(std::string_view cp932Path) {
    cDataFileIn in;
    if (!in.Open(cp932Path)) return false;
    return LoadFrom(in);
}

bool cStage::LoadFrom(cDataFileIn& in) {
    if (LoadStageBody(in.Reader(), in.Context())) return true;
    in.Check();
    return false;
}

bool cStage::LoadStageBody(cByteReader& r, const cLoadContext& ctx) {
    // What old files take over from the stage read before: the settings
    // (an old file holds fewer), the ranking switches (a count of 0 keeps
    // them), the removal settings (files up to 124 lack three switches) and
    // the unsaved description of the last read.
    cStage tmp;
    tmp.CopyFields(*this);
    tmp.m_vecRankingSwitch = m_vecRankingSwitch;
    tmp.m_RemoveChara = m_RemoveChara;
    tmp.m_RemoveBlockChara = m_RemoveBlockChara;
    tmp.m_RemoveItem = m_RemoveItem;
    tmp.m_RemoveHeroShot = m_RemoveHeroShot;
    tmp.m_RemoveEnemyShot = m_RemoveEnemyShot;
    tmp.m_strPath = m_strPath;
    tmp.m_bNumbered = m_bNumbered;
    tmp.m_bLoaded = m_bLoaded;
    tmp.m_nTenthSteps = m_nTenthSteps;
    if (!tmp.Load(r, ctx)) {
        if (r.ok()) r.Fail("bad stage");
        return false;
    }
    *this = std::move(tmp);
    return true;
}

// ---------------------------------------------------------------------------
// Writing

void cStage::SaveRankingSwitches(cByteWriter& w) {
    w.WriteInt32(static_cast<int32_t>(m_vecRankingSwitch.size()));
    if (!m_vecRankingSwitch.empty()) w.WriteBytes(m_vecRankingSwitch.data(), m_vecRankingSwitch.size() * 4);
}

void cStage::SaveRemovalSettings(cByteWriter& w, uint32_t nVersion) {
    for (cStageIntSet* s : {&m_RemoveChara, &m_RemoveBlockChara, &m_RemoveItem, &m_RemoveHeroShot, &m_RemoveEnemyShot})
        s->SaveAs(w, nVersion);
}

void cStage::SavePalettesAndPlacements(cByteWriter& w, uint32_t nVersion) {
    SaveRecordVector(w, nVersion, m_vecBlockPalette);
    SaveRecordVector(w, nVersion, m_vecCharaPalette);
    SaveRecordVector(w, nVersion, m_vecItemPalette);
    SavePlacements(w, nVersion, m_vecPlacedBlock);
    SavePlacements(w, nVersion, m_vecPlacedChara);
    SavePlacements(w, nVersion, m_vecPlacedItem);
}

void cStage::SaveBackgroundsAndNames(cByteWriter& w, uint32_t nVersion) {
    SaveRecordVector(w, nVersion, m_vecBackground);
    SaveRecordVector(w, nVersion, m_vecNameEntry);
}

void cStage::SaveExtra(cByteWriter& w, uint32_t nVersion) {
    const cDefContextScope scope(Context());
    SaveRankingSwitches(w);
    SaveRemovalSettings(w, nVersion);
    SavePalettesAndPlacements(w, nVersion);
    SaveBackgroundsAndNames(w, nVersion);
    if (nVersion >= 173) w.WriteInt32(kStageEndCode);
}

void cStage::SaveWithStartHeader(cByteWriter& w, const cStage& start, uint32_t nVersion) const {
    // Normalising the live stage mid-play would change the play (scroll
    // limits, speed values): a copy is normalised and written. The start's
    // settings are normalised as a read normalises them, so that a replay
    // reads and writes back the same bytes.
    cStage stage(*this);
    cStage head(start);
    stage.PrepareSave();
    head.PrepareSave();
    const cDefContextScope scope(stage.Context());
    head.SaveBase(w, nVersion);
    head.SaveRankingSwitches(w);
    head.SaveRemovalSettings(w, nVersion);
    stage.SavePalettesAndPlacements(w, nVersion);
    head.SaveBackgroundsAndNames(w, nVersion);
    if (nVersion >= 173) w.WriteInt32(kStageEndCode);
}

void cStage::DumpExtra(cDumper& d) {
    std::string s = "[";
    for (size_t i = 0; i < m_vecRankingSwitch.size(); ++i) {
        if (i) s += ", ";
        s += std::to_string(m_vecRankingSwitch[i]);
    }
    d.Line("m_vecRankingSwitch (" + std::to_string(m_vecRankingSwitch.size()) + ")", s + "]");
    const std::pair<const char*, cStageIntSet*> sets[] = {{"m_RemoveChara", &m_RemoveChara},
                                                          {"m_RemoveBlockChara", &m_RemoveBlockChara},
                                                          {"m_RemoveItem", &m_RemoveItem},
                                                          {"m_RemoveHeroShot", &m_RemoveHeroShot},
                                                          {"m_RemoveEnemyShot", &m_RemoveEnemyShot}};
    for (const auto& [name, set] : sets) {
        d.Open(name);
        set->Dump(d);
        d.Close();
    }
    DumpRecordVector(d, "m_vecBlockPalette", m_vecBlockPalette);
    DumpRecordVector(d, "m_vecCharaPalette", m_vecCharaPalette);
    DumpRecordVector(d, "m_vecItemPalette", m_vecItemPalette);
    DumpRecordVector(d, "m_vecPlacedBlock", m_vecPlacedBlock);
    DumpRecordVector(d, "m_vecPlacedChara", m_vecPlacedChara);
    DumpRecordVector(d, "m_vecPlacedItem", m_vecPlacedItem);
    DumpRecordVector(d, "m_vecBackground", m_vecBackground);
    // Only the names that are set (old files hold a thousand empty ones).
    d.Open("m_vecNameEntry (" + std::to_string(m_vecNameEntry.size()) + ")");
    for (size_t i = 0; i < m_vecNameEntry.size(); ++i)
        if (!m_vecNameEntry[i].m_strName.empty())
            d.Line("[" + std::to_string(i) + "]", DumpString(m_vecNameEntry[i].m_strName));
    d.Close();
}

// ---------------------------------------------------------------------------
// Start copy

void cStage::TakeStartCopyOf(const cStage& src) {
    if (&src == this) return;
    CopyFields(src);
    m_vecBackground.resize(src.m_vecBackground.size());
    for (size_t i = 0; i < m_vecBackground.size(); ++i) m_vecBackground[i].CopyFields(src.m_vecBackground[i]);
    m_vecNameEntry = src.m_vecNameEntry;
    m_RemoveChara = src.m_RemoveChara;
    m_RemoveBlockChara = src.m_RemoveBlockChara;
    m_RemoveItem = src.m_RemoveItem;
    m_RemoveHeroShot = src.m_RemoveHeroShot;
    m_RemoveEnemyShot = src.m_RemoveEnemyShot;
    m_vecRankingSwitch = src.m_vecRankingSwitch;
    m_vecBlockPalette.clear();
    m_vecCharaPalette.clear();
    m_vecItemPalette.clear();
    m_vecPlacedBlock.clear();
    m_vecPlacedChara.clear();
    m_vecPlacedItem.clear();
}

// ---------------------------------------------------------------------------
// End code

bool StageFileTailOk(std::span<const uint8_t> file) {
    if (file.size() < 4) return true;
    uint32_t version = 0;
    std::memcpy(&version, file.data(), 4);
    if (version > g_nDataVersion || version < 174) return true;
    int32_t tail = 0;
    std::memcpy(&tail, file.data() + file.size() - 4, 4);
    return tail == kStageEndCode;
}

int CheckStageFileTail(const std::string& cp932Path) {
    // Only the version word and the last four bytes are read.
    std::FILE* fp = std::fopen(platform::OsPath(cp932Path).c_str(), "rb");
    if (!fp) return 1;
    uint8_t head[4] = {};
    uint8_t tail[4] = {};
    bool ok = true;
    if (std::fread(head, 1, 4, fp) == 4) {
        uint32_t version = 0;
        std::memcpy(&version, head, 4);
        if (version <= g_nDataVersion && version >= 174) {
            ok = std::fseek(fp, -4, SEEK_END) == 0 && std::fread(tail, 1, 4, fp) == 4;
            int32_t code = 0;
            std::memcpy(&code, tail, 4);
            ok = ok && code == kStageEndCode;
        }
    }
    std::fclose(fp);
    if (ok) return 1;
    ErrorBoxf(SJ("ステージファイル %s が破損しています！").c_str(), cp932Path.c_str());
    SetQuitAndClose();
    return 0;
}

bool LoadStageFileChecked(cStage& stage, std::string_view cp932Path) {
    auto bytes = platform::ReadWholeFile(cp932Path);
    if (!bytes) {
        SetLastDataFileError(
            Format("%.*s: cannot open the file", static_cast<int>(cp932Path.size()), cp932Path.data()));
        return false;
    }
    if (!StageFileTailOk(*bytes)) {
        SetLastDataFileError(Format("%.*s: damaged: the file does not end with the end code",
                                    static_cast<int>(cp932Path.size()), cp932Path.data()));
        return false;
    }
    return stage.LoadStageBytes(*bytes, cp932Path);
}
