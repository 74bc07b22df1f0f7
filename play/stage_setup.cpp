// Stage set-up: the loaded stage record becomes the running stage (map
// cells, the hero, the placed charas and items, the group lists, the hit
// schedule and the timers), and the creation operations that the summon
// commands share.
#include <algorithm>
#include <climits>
#include <cmath>
#include <new>
#include <stdexcept>

#include "base/app_state.h"
#include "base/error_box.h"
#include "base/files.h"
#include "base/frame_timing.h"
#include "base/quit.h"
#include "base/random.h"
#include "base/scene_state.h"
#include "engine/conditions.h"
#include "engine/flow_trigger.h"
#include "frontend/data/carry_over.h"
#include "frontend/data/game_progress.h"
#include "frontend/replay/replay.h"
#include "frontend/replay/replay_file.h"
#include "media/input/menu_cursor.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_palette.h"
#include "media/gfx/dd_present.h"
#include "media/input/input_list.h"
#include "platform/clock.h"
#include "platform/cp932.h"
#include "play/block_chara_probes.h"
#include "play/chara_computer.h"
#include "play/chara_player.h"
#include "play/chara_removal.h"
#include "play/draw_stage.h"
#include "play/map_cell.h"
#include "play/map_cell_log.h"
#include "play/message_window.h"
#include "play/numeric.h"
#include "play/scene_play.h"
#include "play/sound_requests.h"
#include "play/shot.h"
#include "play/stage_resources.h"
#include "play/stage_results.h"
#include "play/stage_setup.h"
#include "play/tile_collision.h"
#include "records/common_palette.h"
#include "records/game_type.h"
#include "records/stage.h"
#include "records/stage_loader.h"
#include "records/system_data.h"

namespace {

constexpr int kStageEventBeforeStart = 25;

// The stage settings of `from` over g_Stage, whose palettes and placements
// (and what the last read noted) stay.
void RestoreStageSettings(const cStage& from) {
    std::vector<cEdBlock> blockPalette = std::move(g_Stage.m_vecBlockPalette);
    std::vector<cEdChara> charaPalette = std::move(g_Stage.m_vecCharaPalette);
    std::vector<cEdItem> itemPalette = std::move(g_Stage.m_vecItemPalette);
    std::vector<cEdBlock> placedBlocks = std::move(g_Stage.m_vecPlacedBlock);
    std::vector<cEdChara> placedCharas = std::move(g_Stage.m_vecPlacedChara);
    std::vector<cEdItem> placedItems = std::move(g_Stage.m_vecPlacedItem);
    std::string path = g_Stage.m_strPath;
    const int32_t numbered = g_Stage.m_bNumbered, loaded = g_Stage.m_bLoaded;
    g_Stage = from;
    g_Stage.m_vecBlockPalette = std::move(blockPalette);
    g_Stage.m_vecCharaPalette = std::move(charaPalette);
    g_Stage.m_vecItemPalette = std::move(itemPalette);
    g_Stage.m_vecPlacedBlock = std::move(placedBlocks);
    g_Stage.m_vecPlacedChara = std::move(placedCharas);
    g_Stage.m_vecPlacedItem = std::move(placedItems);
    g_Stage.m_strPath = std::move(path);
    g_Stage.m_bNumbered = numbered;
    g_Stage.m_bLoaded = loaded;
}

// The placed hero through the checked path: a bad index is reported and
// placement 0 stands in; null when there is no placement at all.
cEdChara* PlacedHero() {
    std::vector<cEdChara>& placed = g_Stage.m_vecPlacedChara;
    const int index = g_Stage.FindHeroIndex();
    if (index >= 0 && index < static_cast<int>(placed.size())) return &placed[static_cast<size_t>(index)];
    ReportBadIndex("V", index, static_cast<long long>(placed.size()), sizeof(cEdChara));
    return placed.empty() ? nullptr : &placed[0];
}

void AppendToGroup(cScenePlay& scene, cChara& chara) { scene.m_vCharaGroups.at(chara.m_nGroup).push_back(&chara); }

// Copy i of a placement moved by its offset (the home position too, kept
// as the placement's last two values, unless the game leaves it); false
// when the copy lies outside the stage.
bool MoveCopyIntoPlace(cCharaComputer& c, const cEdChara& def, int i) {
    const int dx = def.CalcScaledX(i, def.m_nFacing), dy = def.CalcScaledY(i, def.m_nFacing);
    c.m_dX += dx;
    c.m_dY += dy;
    c.UpdatePosX();
    c.UpdatePosY();
    if (!g_SystemData.OptNoHomeOffset) {
        c.m_anPlacement[2] = dx;
        c.m_anPlacement[3] = dy;
    }
    return c.IsInStage(0);
}

const char kMapAllocFailed[] = "メモリ不足により、ステージの初期設定に失敗しました！";

// The object lists are emptied; a hit pass left by an early return is over.
void ClearObjectLists(cScenePlay& scene) {
    scene.m_nClearMode = 0;
    scene.m_nFrame = 0;
    scene.m_bInHitPass = 0;
    scene.m_vShotGroups.assign(8, {});
    scene.m_vCharaGroups.assign(8, {});
    scene.m_lstShots.clear();
    g_lstCharas.clear();
    g_lstItems.clear();
}

// A story stage is being played (a save made now resumes it); no next
// stage is chosen yet.
void MarkStageInProgress() {
    if (IsStoryGame(g_SceneState.g_nGameType)) g_Progress.m_bResume = 1;
    g_Progress.m_nNextStage = 0;
    g_Progress.m_strNextFile.clear();
}

// The stage settings of the start of the stage come back: in playback from
// the replay file (a new replay's backgrounds loaded too), else from the
// copy taken at load, with the hero's definition unless the game keeps it.
// false when the replay or its backgrounds cannot be read.
bool RestoreStageStart(int playback, bool newReplay) {
    if (!playback) {
        RestoreStageSettings(g_StageStart);
        if (!g_SystemData.OptKeepHeroDef) {
            if (cEdChara* hero = PlacedHero()) *hero = g_HeroDef;
        }
        return true;
    }
    if (!ReadReplayFile(g_Replay, g_Stage.m_strPath, g_Stage, g_StageStart, g_Progress)) return false;
    // Another replay may be of another stage: its backgrounds.
    if (newReplay) {
        SetBackgroundFiles(g_Stage.m_vecBackground);
        if (!LoadPlaySurfaces(true)) return false;
    }
    RestoreStageSettings(g_StageStart);
    return true;
}

// The seed is set before any random draw: the replay's in playback, else
// the clock's, which starts the recording.
void SeedStage(cScenePlay& scene, int playback) {
    if (playback) {
        scene.m_nRandomSeed = ReplayStartSeed();
    } else {
        scene.m_nRandomSeed = platform::NowMs();
        BeginReplayRecording(scene.m_nRandomSeed);
    }
    SRand(scene.m_nRandomSeed);
    ResetDrawRandom(scene);
}

// The stage's music; the first menu scene after the stage requests its own
// again.
void StartStageMusic(int playback, int newStage) {
    g_SceneState.m_nBgmEntry = 0;
    if (ChooseStageBgm(playback, newStage, g_Stage.m_bKeepBgm, g_Stage.m_nBgm, g_Progress.m_nBgm))
        RequestBgm(g_Stage.m_nBgm, g_Stage.m_bBgmRepeat);
}

// The scroll axes over the stage's size, auto-scroll and scroll range.
void SetupScrollAxes(cScenePlay& scene) {
    scene.m_ScrollX = cScrollAxis{};
    scene.m_ScrollY = cScrollAxis{};
    scene.m_ScrollX.Init(0, g_Stage.m_nWidth);
    scene.m_ScrollX.SetAutoScroll(g_Stage.m_bAutoScrollX, g_Stage.m_nAutoScrollSpeedX);
    scene.m_ScrollX.SetRange(g_Stage.m_nScrollMinX, g_Stage.m_nScrollMaxX, g_Stage.m_bScrollMinX,
                             g_Stage.m_bScrollMaxX);
    scene.m_ScrollY.Init(1, g_Stage.m_nHeight);
    scene.m_ScrollY.SetAutoScroll(g_Stage.m_bAutoScrollY, g_Stage.m_nAutoScrollSpeedY);
    scene.m_ScrollY.SetRange(g_Stage.m_nScrollMinY, g_Stage.m_nScrollMaxY, g_Stage.m_bScrollMinY,
                             g_Stage.m_bScrollMaxY);
}

// The map cells, every one a new empty record (no latch or summon of an
// earlier try survives), then the placed blocks. false (reported) when the
// map cannot be made.
bool BuildMapCells(const cScenePlay& scene) {
    const int shift = scene.m_ScrollX.m_nShift;
    g_vMapCells.clear();
    // Cell indexes are int32: a map of more cells (a damaged size) fails
    // like one that cannot be allocated.
    const long long count = (1LL << (shift & 63)) * scene.m_ScrollY.m_nCells;
    bool built = count > 0 && count <= INT32_MAX;
    if (built) {
        try {
            cMapCell empty;
            empty.m_nGraphic = 0;
            empty.m_nHitMode = 0;
            empty.m_bNoOverwrite = 0;
            g_vMapCells.assign(static_cast<size_t>(count), empty);
        } catch (const std::bad_alloc&) {
            built = false;
        } catch (const std::length_error&) {
            built = false;
        }
    }
    if (!built) {
        g_vMapCells.clear();
        g_MapCellLog.Remade();
        ErrorBoxf("%s", SJ(kMapAllocFailed).c_str());
        return false;
    }
    for (const cEdBlock& block : g_Stage.m_vecPlacedBlock) {
        if (block.m_nX < 0 || block.m_nX + 10 >= scene.m_ScrollX.m_nStride || block.m_nY < 0 ||
            block.m_nY + 10 >= scene.m_ScrollY.m_nCells)
            continue;
        cMapCell& cell = g_vMapCells.at(StageCellToMapCell(block.m_nX, block.m_nY, shift));
        static_cast<cEdBlock&>(cell) = block;
        cell.m_nLatch = 0;
    }
    g_MapCellLog.Remade();
    return true;
}

// The hero from its placement (or the carried start position and facing);
// without a placement the hero stays an empty player.
cCharaPlayer& PlaceHero(cScenePlay& scene, cEdChara* heroDef) {
    scene.m_nPlayers = 1;
    g_vPlayers.clear();
    g_vPlayers.resize(1);
    cCharaPlayer& hero = g_vPlayers[0];
    if (!heroDef) return hero;
    // A carried start brings its facing: m_nNextStartDir (0 left, 1 right) is m_nFacing.
    if (g_Progress.m_bNextStartPos) heroDef->m_nFacing = static_cast<int8_t>(g_Progress.m_nNextStartDir);
    hero.InitPlayer(*heroDef, scene.m_nCharaSerial);
    scene.m_nCharaSerial = WrapAdd(scene.m_nCharaSerial, 1);
    int col = heroDef->m_nX, row = heroDef->m_nY;
    if (g_Progress.m_bNextStartPos) {
        col = g_Progress.m_nNextStartX;
        row = g_Progress.m_nNextStartY;
    }
    hero.m_dX = WrapMul(WrapAdd(scene.m_ScrollX.m_nBorder, col), 32) + hero.m_nBaseDrawOffsetX + 0.5;
    hero.m_dY = WrapMul(WrapAdd(scene.m_ScrollY.m_nBorder, row), 32) + hero.m_nBaseDrawOffsetY;
    hero.ApplyScaleShift(hero.m_Def.m_nSize, 1, 1);
    hero.m_dX += heroDef->CalcScaledX(0, heroDef->m_nFacing);
    hero.m_dY += heroDef->CalcScaledY(0, heroDef->m_nFacing);
    hero.AfterMoveX();
    hero.AfterMoveY();
    if (g_Stage.m_bCarryIn) GetCarriedCounters(g_Progress, 0, hero.m_nHP, hero.m_nSP);
    hero.m_Anime.SetTrack(hero.m_bFlying ? 2 : 0, 1);
    return hero;
}

// The view is centred on the hero (within the scroll range).
void CentreViewOnHero(cScenePlay& scene, cCharaPlayer& hero) {
    scene.m_ScrollX.m_dPos = hero.m_dX - 320 + hero.m_nWidth / 2;
    scene.m_ScrollX.Clamp();
    scene.m_ScrollY.m_dPos = hero.m_dY - 240 + hero.m_nHeight / 2;
    scene.m_ScrollY.Clamp();
    hero.UpdatePlayerScreenRect();
}

// The hero's light: its radius is the definition's view range (the chara's
// set-up cleared it), and the darkness mask around it.
void SetupHeroLight(cScenePlay& scene, cCharaPlayer& hero) {
    if (hero.m_Def.m_nLightShape == 0) return;
    hero.m_nLightRadius = cChara::UnitToDot(hero.m_Def.m_nViewRange);
    BuildLightMask(scene, scene.m_LightMask, scene.m_LightHole);
}

// The placed computer charas, then the placed items; an item attached to a
// chara is carried, not placed.
void PlaceCharasAndItems(cScenePlay& scene) {
    std::vector<char> itemUsed(g_Stage.m_vecPlacedItem.size(), 0);
    for (const cEdChara& placed : g_Stage.m_vecPlacedChara) {
        if (placed.m_nSide != 1) continue;
        const int32_t attached = placed.m_nCarriedItem;
        if (attached < 0 || attached >= static_cast<int32_t>(g_Stage.m_vecPlacedItem.size())) {
            scene.CreateCharas(g_lstCharas, placed.m_nX, placed.m_nY, scene.m_nCharaSerial, placed, nullptr);
            continue;
        }
        cItem carried;
        carried.InitItem(scene.m_nItemSerial, g_Stage.m_vecPlacedItem[static_cast<size_t>(attached)], 1);
        scene.m_nItemSerial = WrapAdd(scene.m_nItemSerial, 1);
        itemUsed[static_cast<size_t>(attached)] = 1;
        scene.CreateCharas(g_lstCharas, placed.m_nX, placed.m_nY, scene.m_nCharaSerial, placed, &carried);
    }
    for (size_t i = 0; i < g_Stage.m_vecPlacedItem.size(); ++i) {
        if (itemUsed[i]) continue;
        const cEdItem& placed = g_Stage.m_vecPlacedItem[i];
        scene.CreateItems(g_lstItems, placed.m_nX, placed.m_nY, scene.m_nItemSerial, placed);
    }
}

// Whether the stage removes charas, block charas and items that leave it
// by its margins.
void NoteRemovalMargins(cScenePlay& scene) {
    auto anyMargin = [](const cStageIntSet& s) { return s.m_nLeft || s.m_nRight || s.m_nTop || s.m_nBottom; };
    scene.m_bRemoveOutCharas = anyMargin(g_Stage.m_RemoveChara) ? 1 : 0;
    scene.m_bRemoveOutBlockCharas = anyMargin(g_Stage.m_RemoveBlockChara) ? 1 : 0;
    scene.m_bRemoveOutItems = anyMargin(g_Stage.m_RemoveItem) ? 1 : 0;
}

// Nothing of the previous try is shown: no message window, effect, screen
// effect, screen colour or picture, and the surfaces the play made are
// released.
void ClearPresentation(cScenePlay& scene) {
    ClearMessageWindows(scene);
    scene.m_lstEffects.clear();
    scene.m_ScreenEffect = cScreenEffect{};
    scene.m_ScreenColor = ScreenColor{};
    scene.m_Wait.m_nReserved = 0;
    ReleasePlaySurfaces();
    ReleaseEffectSurfaces();
    scene.m_lstPictures.clear();
}

// The stage-end request, the state counters, the time limit, the play time,
// the stage switches and the sub-step counters start again.
void ResetTimers(cScenePlay& scene) {
    scene.m_nStageEndRequest = scene.m_nStateFrames = scene.m_nStateFrames2 = 0;
    if (g_Stage.m_bTimeLimit) {
        scene.m_nTimeLeft = g_Stage.m_nTimeLimit;
        scene.m_bNoTimeLimit = 0;
    } else {
        scene.m_nTimeLeft = 999;
        scene.m_bNoTimeLimit = 1;
    }
    scene.m_nPlayFrames = scene.m_nPlayTime = 0;
    scene.m_vStageSwitches.assign(60, 0);
    scene.m_nSubStep = scene.m_nSubStepTotal = 0;
}

// The stage's score starts at 0 (a playback and an editor test play clear
// every counter) and the progress at the stage start is kept.
void StartStageProgress(int playback) {
    g_Progress.m_nStageScore = 0;
    if (playback || (g_bEditorTest && g_bFreeStage)) g_Progress.ClearProgressCounters();
    g_Progress.SnapshotStageStart();
}

// Input, cursors and the frame pacing start afresh; the stage's rate paces
// the frames (the fade-out puts 60 back).
void ResetInputAndPacing() {
    for (cInput& input : g_InputList) {
        input.ClearDirInput();
        input.ClearButtonInput();
        input.ClearInputHistory();
        input.ResizeKeyHistory();
    }
    ResetCursorPositions();
    FrameSkipCounter(0, g_Stage.m_nFrameRate);
    for (cEdBackground& bg : g_Stage.m_vecBackground) bg.m_dOffsetX = bg.m_dOffsetY = 0.0;
    if (DDIsPalettized()) DDSetPaletteEntries(g_Palette, 0, 256);
    g_SceneState.m_nFrameRate = g_Stage.m_nFrameRate;
}

// The before-stage-start event on the hero and the charas that act (every
// chara with the start-event-all option). A chara that vanishes or dies
// here leaves every list and link.
void RunBeforeStartEvents(cScenePlay& scene, const cEdChara* heroDef, cCharaPlayer& hero) {
    if (!g_SystemData.OptStartEventAll) UpdateActiveStates(scene);
    if (heroDef) FireFlowTriggerEx(hero, kStageEventBeforeStart, nullptr, 0);
    for (cCharaComputer& c : g_lstCharas)
        if (g_SystemData.OptStartEventAll || c.m_bActing) FireFlowTriggerEx(c, kStageEventBeforeStart, nullptr, 0);
    for (auto it = g_lstCharas.begin(); it != g_lstCharas.end();) {
        auto next = std::next(it);
        if (it->m_bDiesNow) {
            RemoveChara(g_lstCharas, it);
        } else if (it->m_nHP < 1) {
            OnCharaDeath(*it);
            RemoveChara(g_lstCharas, it);
        }
        it = next;
    }
}

}  // namespace

int MapCellShift(int width) { return BinaryDigits(WrapAdd(width, 19)); }

long long StageCellToMapCell(int x, int y, int shift) {
    return (static_cast<long long>(x) + 10) + ((static_cast<long long>(y) + 10) << (shift & 63));
}

std::vector<int32_t> BuildSubStepSchedule(int subSteps, int hitChecks) {
    const int n = std::max(0, subSteps);
    std::vector<int32_t> active(static_cast<size_t>(n), 0);
    if (n == 0) return active;
    if (hitChecks == 0 || hitChecks >= n) {
        // Every sub-step (a count of n or more would select each one anyway).
        std::fill(active.begin(), active.end(), 1);
        return active;
    }
    if (hitChecks < 0) {
        active[0] = 1;
        return active;
    }
    const double step = static_cast<double>(n) / hitChecks;
    int set = 0;
    for (int i = 0;; ++i) {
        const double at = std::floor(i * step);
        if (at >= n) break;
        active[static_cast<size_t>(at)] = 1;
        ++set;
    }
    if (set < hitChecks) active.back() = 1;
    return active;
}

int ChooseStageBgm(int playback, int newStage, int keep, int entry, int playing) {
    if (playback) return 1;
    if (newStage) return !keep || entry != playing || entry == 0;
    return entry != playing;
}

void cScenePlay::SetupStage(int restart, int newStage) {
    m_bInSetup = 1;
    const auto fail = [this] {
        SetQuitAndClose();
        m_bInSetup = 0;
    };
    ClearObjectLists(*this);
    MarkStageInProgress();
    const int playback = IsReplayPlayback();
    const bool newReplay = g_bLoadReplayRequest != 0;
    g_bLoadReplayRequest = 0;
    if (restart && !RestoreStageStart(playback, newReplay)) return fail();
    SeedStage(*this, playback);
    // The placed hero, with what the previous stage carried over.
    cEdChara* heroDef = PlacedHero();
    if (g_Stage.m_bCarryIn && heroDef) ApplyCarryOver(g_Progress, 0, *heroDef, g_Stage);
    StartStageMusic(playback, newStage);
    // Serial numbers start again; the speed level sets the stage's pace.
    m_nCharaSerial = m_nItemSerial = m_nShotSerial = m_nEffectSerial = 0;
    g_Stage.ApplySpeedLevel(g_Stage.m_nSpeedLevel);
    SetupScrollAxes(*this);
    if (!BuildMapCells(*this)) return fail();
    cCharaPlayer& hero = PlaceHero(*this, heroDef);
    CentreViewOnHero(*this, hero);
    SetupHeroLight(*this, hero);
    m_vStageVars.assign(1000, 0);
    PlaceCharasAndItems(*this);
    // The group lists, the hero first.
    if (heroDef) AppendToGroup(*this, hero);
    for (cCharaComputer& c : g_lstCharas) AppendToGroup(*this, c);
    NoteRemovalMargins(*this);
    ClearPresentation(*this);
    m_vSubStepActive = BuildSubStepSchedule(g_Stage.m_nSubSteps, g_Stage.m_nHitChecks);
    ResetTimers(*this);
    StartStageProgress(playback);
    ResetInputAndPacing();
    // Every chara's first target is the hero; none has a parent.
    if (heroDef) hero.LinkChara(nullptr);
    for (cCharaComputer& c : g_lstCharas) c.LinkChara(nullptr);
    RunBeforeStartEvents(*this, heroDef, hero);
    // Who acts at the first frame, the status bar, and drawing to the back buffer.
    UpdateActiveStates(*this);
    m_bShowStatus = g_Stage.m_bSceneFlag;
    DDSetVirtualBackBuffer(0);
    m_bInSetup = 0;
}

void cScenePlay::CreateCharas(cCheckedList<cCharaComputer>& list, int x, int y, int32_t& serial,
                              const cEdChara& placement, const cItem* item) {
    const cEdChara def = placement;
    for (int i = 0; i <= def.m_nCopies; ++i) {
        const int32_t where[4] = {x, y, 0, 0};
        cCharaComputer c;
        c.InitComputer(serial, def, item, where, i);
        c.PlaceAtCell(x, y);
        if (!MoveCopyIntoPlace(c, def, i)) continue;
        c.AfterMoveX();
        c.AfterMoveY();
        list.push_back(c);
        list.back().UpdateScreenRect();
        serial = WrapAdd(serial, 1);
    }
}

void cScenePlay::CreateItems(cCheckedList<cItem>& list, int x, int y, int32_t& serial, const cEdItem& placement) {
    cItem item;
    item.InitItem(serial, placement, 0);
    item.PlaceItemAtCell(x, y, 1);
    item.m_dX += placement.m_nOffsetX;
    item.m_dY += placement.m_nOffsetY;
    item.UpdatePosX();
    item.UpdatePosY();
    if (!item.IsInStage(0)) return;
    item.ClampToStageX(2);
    item.ClampToStageY(2);
    list.push_back(item);
    list.back().UpdateScreenRect();
    serial = WrapAdd(serial, 1);
}

namespace {

const cEdShot* SummonPart(cFlowCmd* flowCmd) {
    if (!flowCmd || !flowCmd->m_lpDef) return nullptr;
    return flowCmd->m_lpDef->m_spShot.get();
}

}  // namespace

void cScenePlay::CreateCharaAt(cCheckedList<cCharaComputer>& list, int px, int py, int group, int facing,
                               cFlowCmd* flowCmd, const cEdChara& placement, int32_t& serial, const cItem* item) {
    const cEdShot* part = SummonPart(flowCmd);
    cEdChara def = placement;
    def.m_nGroup = static_cast<int8_t>(group);
    def.m_nFacing = static_cast<int8_t>(facing);
    if (part && part->m_bNoScore) def.m_nScore = 0;
    for (int i = 0; i <= def.m_nCopies; ++i) {
        const int32_t where[4] = {px >> 5, py >> 5, 0, 0};
        cCharaComputer c;
        c.InitComputer(serial, def, item, where, i);
        c.m_dX = px + c.m_nBaseDrawOffsetX + 0.5;
        c.m_dY = py + c.m_nBaseDrawOffsetY;
        c.ApplyScaleShift(c.m_Def.m_nSize, 1, 1);
        if (!MoveCopyIntoPlace(c, def, i)) continue;
        c.AfterMoveX();
        c.AfterMoveY();
        list.push_back(c);
        auto node = std::prev(list.end());
        cCharaComputer& made = *node;
        // Out of a wall: 1 px up; back and 1 px left; 1 px up again.
        if (IsBlockedAt(made)) {
            made.m_dY -= 1;
            made.AfterMoveY();
            if (IsBlockedAt(made)) {
                made.m_dY += 1;
                made.AfterMoveY();
                made.m_dX -= 1;
                made.AfterMoveX();
                if (IsBlockedAt(made)) {
                    made.m_dY -= 1;
                    made.AfterMoveY();
                    if (IsBlockedAt(made)) {
                        list.erase(node);
                        continue;
                    }
                }
            }
        }
        made.UpdateScreenRect();
        made.LinkChara(m_lpCurChara);
        if (part && part->m_bUseRange)
            made.m_nLifeTime = WrapMul(WrapMul(part->m_nRange, g_Stage.m_nSubSteps), 6);
        if (part) {
            made.m_bAttackPart = part->m_bAttackTrigger;
            made.m_nAttackGroup = static_cast<uint8_t>(part->m_nAttackGroup);
        }
        AppendToGroup(*this, made);
        serial = WrapAdd(serial, 1);
    }
}

void cScenePlay::CreateItemAt(cCheckedList<cItem>& list, int px, int py, cFlowCmd* flowCmd, const cEdItem& itemDef,
                              int32_t& serial) {
    const cEdShot* part = SummonPart(flowCmd);
    cItem item;
    item.InitItem(serial, itemDef, 0);
    item.m_dX = px + item.m_nBaseDrawOffsetX + 0.5 + itemDef.m_nOffsetX;
    item.m_dY = py + item.m_nBaseDrawOffsetY + itemDef.m_nOffsetY;
    item.UpdatePosX();
    item.UpdatePosY();
    if (item.IsInStage(0)) {
        item.ClampToStageX(2);
        item.ClampToStageY(2);
        if (part && part->m_bUseRange) item.m_nLifeTime = WrapMul(WrapMul(part->m_nRange, g_Stage.m_nSubSteps), 6);
        list.push_back(item);
        list.back().UpdateScreenRect();
    }
    serial = WrapAdd(serial, 1);
}

void cScenePlay::CreateBlockAt(int px, int py, cFlowCmd* flowCmd, const cEdBlock& blockDef) {
    const int col = TruncToInt(std::floor(px + 16.5)) >> 5;
    const int row = TruncToInt(std::floor(py + 16.5)) >> 5;
    // A column outside the row (it would land in the next row) or a row
    // outside the map changes nothing.
    if (col < 0 || col >= m_ScrollX.m_nStride || row < 0 || row >= m_ScrollY.m_nCells) return;
    const long long index = col + (static_cast<long long>(row) << (m_ScrollX.m_nShift & 31));
    if (index < 0 || index >= static_cast<long long>(g_vMapCells.size())) return;
    cMapCell& cell = g_vMapCells.at(index);
    if (cell.m_bNoOverwrite) {
        if (g_SystemData.OptSummonKeepsBlocks) return;
        if (cell.m_nGraphic != 0 && CheckBlockConds(this, cell)) return;
    }
    const cEdShot* part = SummonPart(flowCmd);
    const int mode = part ? part->m_nBlockSummonMode : 0;
    auto place = [&] {
        const bool spare = part && (part->m_bSparePlayers || part->m_bSpareComputers);
        if (!spare) {
            SetMapCellBlock(cell, size_t(index), blockDef);
            IsCellFree(index, col, row, flowCmd);
            return;
        }
        const cMapCell old = cell;
        SetMapCellBlock(cell, size_t(index), blockDef);
        if (IsCellFree(index, col, row, flowCmd)) RestoreMapCell(cell, size_t(index), old);
    };
    auto erase = [&] {
        SetMapCellBlock(cell, size_t(index),
                        g_CommonPalette.m_vecBlockPalette.empty() ? cEdBlock() : g_CommonPalette.m_vecBlockPalette[0]);
    };
    switch (mode) {
        case 0: place(); break;
        case 1: erase(); break;
        case 2:
            if (std::find(m_vSummonedCells.begin(), m_vSummonedCells.end(), index) != m_vSummonedCells.end()) return;
            if (cell.m_nGraphic != 0) {
                if (CheckBlockConds(this, cell)) erase();
            } else {
                place();
            }
            m_vSummonedCells.push_back(index);
            break;
        default: break;
    }
}

int cScenePlay::IsCellFree(long long cell, int col, int row, cFlowCmd* flowCmd) {
    const cEdShot* part = SummonPart(flowCmd);
    cMapCell& block = g_vMapCells.at(cell);
    const double box[4] = {col * 32.0, row * 32.0, col * 32.0 + 31.9, row * 32.0 + 31.9};
    auto crushes = [&](cChara& c) {
        if (c.m_bDead) return false;
        if (!block.GetHitMode(c.m_nGroup)) return false;
        if (c.m_bFlying && c.m_nWallMode == 0 && !g_SystemData.OptSummonCrushAll) return false;
        const double own[4] = {c.m_dX, c.m_dY, c.m_dRight, c.m_dBottom};
        return BoxesOverlap(own, box);
    };
    for (cCharaPlayer& p : g_vPlayers) {
        if (!crushes(p)) continue;
        p.m_nCrushGuard = 2;
        if (part && part->m_bSparePlayers) return 1;
    }
    for (cCharaComputer& c : g_lstCharas) {
        if (!crushes(c)) continue;
        c.m_nCrushGuard = 2;
        if (part && part->m_bSpareComputers) return 1;
    }
    return 0;
}

int cScenePlay::IsBlockedAt(cChara& chara) {
    if (chara.m_bFlying && chara.m_nWallMode == 0) return 0;
    const long long cell =
        CellOfCorners(chara.m_nCellLeft, chara.m_nCellTop, chara.m_nCellRight, chara.m_nCellBottom, chara.m_nGroup);
    if (g_vMapCells.at(cell).GetHitMode(chara.m_nGroup)) return 1;
    return OverlapsBlockChara(chara);
}

namespace {
// The longest stage path a start takes (the copy of the path holds 259
// bytes and the terminating zero).
constexpr size_t kMaxStagePath = 259;
}  // namespace

bool StartStageFile(const std::string& path, int flag) {
    if (path.size() > kMaxStagePath) {
        ErrorBoxf(SJ("ステージファイル %s が読み込めません！").c_str(), path.c_str());
        return false;
    }
    const std::string file = path;
    g_Progress.Reset(g_SystemData.m_nStageCount);
    if (!LoadStageWithMessagePump(file, flag != 0, &g_StageStart, &g_HeroDef)) return false;
    g_Progress.m_nSeriesIndex = 1;
    g_Progress.m_nStageNumber = 1;
    constexpr long long kFreePlay = 2;
    const bool unlimited = g_bFreeStage || (kFreePlay < static_cast<long long>(g_SystemData.m_vecInfiniteLives.size()) &&
                                            g_SystemData.m_vecInfiniteLives[kFreePlay] != 0);
    if (unlimited) {
        g_Progress.m_nStartLives = g_Progress.m_nLives = 999999;
    } else {
        const int32_t lives = kFreePlay < static_cast<long long>(g_SystemData.m_vecStartLives.size())
                                  ? g_SystemData.m_vecStartLives[kFreePlay]
                                  : 0;
        g_Progress.m_nStartLives = lives;
        g_Progress.m_nLives = lives - 1;
    }
    std::string relative = g_Stage.m_strPath;
    ToRelativePathStr(relative, true);
    g_Progress.ParseStageVariation(relative, 0, 0, 0);
    return true;
}
