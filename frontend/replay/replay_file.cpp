#include "frontend/replay/replay_file.h"

#include <mutex>

#include "base/error_box.h"
#include "base/files.h"
#include "base/log.h"
#include "base/quit.h"
#include "platform/cp932.h"
#include "platform/fs.h"
#include "records/system_data.h"

template class cRecord<cReplayFile>;

namespace {

constexpr int kPathReplayFolder = 46;
constexpr int kExtReplay = 3;
constexpr int kLastNumberedCopy = 999;
// Files after this version end with the progress at the start of the play.
constexpr uint32_t kLastVersionWithoutProgress = 172;

std::mutex g_hookMutex;
std::function<SaveTime()> g_nameClock;
std::function<int(std::string&, const std::string&, int)> g_nameMaker;

SaveTime NameTime() {
    std::function<SaveTime()> clock;
    {
        std::lock_guard<std::mutex> lock(g_hookMutex);
        clock = g_nameClock;
    }
    return clock ? clock() : LocalSaveTime();
}

// The stage file's name without its folders and its extension.
std::string StageFileStem(const std::string& stagePath) {
    std::string name = stagePath;
    ExtractFileNameStr(name);
    RemoveFileExtStr(name);
    return name;
}

}  // namespace

void SetReplayNameClock(std::function<SaveTime()> clock) {
    std::lock_guard<std::mutex> lock(g_hookMutex);
    g_nameClock = std::move(clock);
}

void SetReplayFileNameMaker(std::function<int(std::string&, const std::string&, int)> maker) {
    std::lock_guard<std::mutex> lock(g_hookMutex);
    g_nameMaker = std::move(maker);
}

int MakeReplayFileName(std::string& out, const std::string& stagePath, int cleared) {
    out.clear();
    std::function<int(std::string&, const std::string&, int)> maker;
    {
        std::lock_guard<std::mutex> lock(g_hookMutex);
        maker = g_nameMaker;
    }
    if (maker) return maker(out, stagePath, cleared);
    if (stagePath.empty()) return 1;
    const SaveTime t = NameTime();
    std::string name = g_PathTable.at(kPathReplayFolder);
    name += Format("%04d_%02d%02d_%02d%02d%02d_", t[ST_YEAR], t[ST_MONTH], t[ST_DAY], t[ST_HOUR], t[ST_MINUTE],
                   t[ST_SECOND]);
    name += g_SystemData.m_nReplayNameFormat == 1 ? g_Stage.m_strName : StageFileStem(stagePath);
    AppendStageVariation(name, g_Progress.m_bVariation, g_Progress.m_nVariationVar, g_Progress.m_nVariationValue);
    if (cleared) name += "_CLEAR_";
    name += "." + Format("%s_%u", g_ExtTable.at(kExtReplay).c_str(), kDataVersion);

    std::string chosen = name;
    for (int n = 2; FileExists(chosen) && n <= kLastNumberedCopy; ++n) MakeNumberedCopyNameStr(chosen, name, n);
    ToAbsolutePathStr(chosen);
    out = chosen;
    return 1;
}

int MakeReplayFileName(std::string& out, int previousPlay) {
    const cReplay& replay = previousPlay ? g_ReplayPrev : g_Replay;
    return MakeReplayFileName(out, g_Stage.m_strPath, replay.m_bCleared);
}

void SaveReplayBodies(cByteWriter& w, uint32_t nVersion, cReplay& replay, const cStage& stage,
                      const cStage& startStage, const cGameProgress& progress) {
    stage.SaveWithStartHeader(w, startStage, nVersion);
    replay.SaveAs(w, nVersion);
    if (nVersion > kLastVersionWithoutProgress) {
        // Saving normalises a record; the snapshot itself stays as taken.
        cGameProgress copy(progress);
        copy.SaveAs(w, nVersion);
    }
}

bool LoadReplayBodies(cByteReader& r, const cLoadContext& ctx, cReplay& replay, cStage& stage, cStage& startStage,
                      cGameProgress& progress) {
    cStage loaded(stage);
    if (!loaded.LoadStageBody(r, ctx)) return false;
    cReplay rec;
    if (!rec.Load(r, ctx)) {
        if (r.ok()) r.Fail("bad replay");
        return false;
    }
    // A file without the progress leaves it as it was.
    cGameProgress prog;
    const bool withProgress = ctx.nVersion > kLastVersionWithoutProgress;
    if (withProgress) {
        prog = progress;
        if (!prog.Load(r, ctx)) {
            if (r.ok()) r.Fail("bad progress");
            return false;
        }
    }
    if (!r.ok()) return false;
    stage = std::move(loaded);
    startStage.TakeStartCopyOf(stage);
    replay.CopyFrom(rec);
    if (withProgress) progress = std::move(prog);
    return true;
}

int WriteReplayFile(cReplay& replay, const std::string& path, const cStage& stage, const cStage& startStage,
                    const cGameProgress& progress, bool mayReplace) {
    cDataFileOut out;
    SaveReplayBodies(out.Writer(), g_nDataVersion, replay, stage, startStage, progress);
    if (g_bQuit) {
        SetLastDataFileError("not saved: the program is closing");
        return 0;
    }
    std::string folder = path;
    ExtractFileDirStr(folder);
    if (!folder.empty()) platform::MakeDirectory(folder);
    const auto& w = out.Writer();
    if (!platform::WriteNewFile(path, w.Data(), w.Size(), mayReplace, true)) {
        SetLastDataFileError(Format("%s: cannot write the file", path.c_str()));
        return 0;
    }
    return 1;
}

int WriteReplayOf(int previousPlay, const std::string& path, bool mayReplace) {
    if (previousPlay) return WriteReplayFile(g_ReplayPrev, path, g_Stage, g_StageStart, g_ProgressPrevStart, mayReplace);
    return WriteReplayFile(g_Replay, path, g_Stage, g_StageStart, g_ProgressAtStart, mayReplace);
}

int ReadReplayFile(cReplay& replay, const std::string& path, cStage& stage, cStage& startStage,
                   cGameProgress& progress) {
    cDataFileIn in;
    bool ok = in.Open(path);
    if (ok) {
        ok = LoadReplayBodies(in.Reader(), in.Context(), replay, stage, startStage, progress);
        if (!ok) in.Check();
    }
    if (!ok) {
        ReportLogf("%s", LastDataFileError().c_str());
        ErrorBoxf(SJ("リプレイファイル %s の読み込みに失敗しました！").c_str(), path.c_str());
        return 0;
    }
    stage.m_strPath = path;
    return 1;
}

bool cReplayFile::Load(cByteReader& r, const cLoadContext& ctx) {
    return LoadReplayBodies(r, ctx, m_Replay, m_Stage, m_StageStart, m_Progress);
}

void cReplayFile::SaveAs(cByteWriter& w, uint32_t nVersion) {
    SaveReplayBodies(w, nVersion, m_Replay, m_Stage, m_StageStart, m_Progress);
}

void cReplayFile::DumpExtra(cDumper& d) {
    d.Open("stage");
    m_Stage.Dump(d);
    d.Close();
    d.Open("replay");
    m_Replay.Dump(d);
    d.Close();
    d.Open("progress");
    m_Progress.Dump(d);
    d.Close();
}
