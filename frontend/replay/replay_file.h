// Replay files under user_data\rpl4\: everything needed to play a recorded
// stage again without the game's stage folder. After the version word: the
// stage as it stood at the start of the play (its start copy's settings
// with the played stage's palettes and placements), the replay record, and
// the game progress at the start of the play (files after version 172).
// Files are written once, complete, under a fresh name, and made read-only.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "frontend/data/game_progress.h"
#include "frontend/replay/replay.h"
#include "records/stage.h"

// The default path of a replay of the stage file (absolute, CP932):
// user_data\rpl4\ + local time "YYYY_MMDD_hhmmss_" + the stage file's name
// without folders and extension (or, by the game's naming setting, the
// stage's name) + the progress's variation part + "_CLEAR_" when cleared +
// ".rpl4_1000"; " (2)" .. " (999)" before the extension while the name is
// taken. An empty stage path gives an empty name. Returns 1.
int MakeReplayFileName(std::string& out, const std::string& stagePath, int cleared);
// The save-as dialog's starting name for this play (0) or the previous
// play (1): the stage being played and that play's cleared flag.
int MakeReplayFileName(std::string& out, int previousPlay);

// Writes a new replay file (an existing file is never replaced unless
// mayReplace); 1 written, 0 not (LastDataFileError says why; nothing is
// left under the name).
int WriteReplayFile(cReplay& replay, const std::string& path, const cStage& stage, const cStage& startStage,
                    const cGameProgress& progress, bool mayReplace = false);
// Reads a replay file; 1 read. 0 when it cannot be opened, is newer than the
// program, or is damaged (shorter than its counts, streams of unequal
// lengths): an error box names the file, the report gets the reason, and
// nothing is changed. The stage's path becomes the replay's.
int ReadReplayFile(cReplay& replay, const std::string& path, cStage& stage, cStage& startStage,
                   cGameProgress& progress);

// This play (0: g_Replay with g_ProgressAtStart) or the previous play (1:
// g_ReplayPrev with g_ProgressPrevStart), with g_Stage and g_StageStart.
int WriteReplayOf(int previousPlay, const std::string& path, bool mayReplace);

// Reads the bodies after the version word into the four records, which
// change only when every part was good.
bool LoadReplayBodies(cByteReader& r, const cLoadContext& ctx, cReplay& replay, cStage& stage, cStage& startStage,
                      cGameProgress& progress);
// Writes them in the layout of a version.
void SaveReplayBodies(cByteWriter& w, uint32_t nVersion, cReplay& replay, const cStage& stage,
                      const cStage& startStage, const cGameProgress& progress);

// A whole replay file as one record (the data tool's `replay` kind).
class cReplayFile : public cRecord<cReplayFile> {
public:
    cStage m_Stage;
    cStage m_StageStart;
    cReplay m_Replay;
    cGameProgress m_Progress;

    template <class F>
    void Fields(F&) {}
    bool Load(cByteReader& r, const cLoadContext& ctx) override;
    void SaveAs(cByteWriter& w, uint32_t nVersion) override;
    void DumpExtra(cDumper& d);
};
extern template class cRecord<cReplayFile>;

// Tests: the local time the names are made with (empty: the clock), and a
// maker that replaces the stage-path form of MakeReplayFileName (empty: the
// rule above).
void SetReplayNameClock(std::function<SaveTime()> clock);
void SetReplayFileNameMaker(std::function<int(std::string&, const std::string&, int)> maker);
