// The stage record: one stage file under data\stg4\ (settings, the stage's
// own block, chara and item palettes, the objects placed on its map,
// backgrounds and name entries).
//
// File (after the version word):
//   base body: the settings below (version-gated), then the name;
//   ranking switches: int32 n + n int32 (n <= 0 keeps the switches held);
//   the five removal settings, each a base body;
//   block, chara and item palettes: int32 n + n definition bodies each;
//   placed blocks, charas and items: int32 n, then per element an int32
//     (written 0, ignored) and the definition body;
//   backgrounds: int32 n + n bodies; name entries: int32 n + n bodies;
//   the end code 123456789 (files of version 173 on).
//
// Loading resolves palette references against the stage being read (its
// palettes as read so far; placements see them complete), upgrades old
// files, then normalises the stage (PrepareSave) and derives the timing
// values from the speed level. Values an old file does not hold and no
// upgrade sets keep those of the record loaded into: LoadStageFile seeds
// its temporary record with them from the stage it replaces.
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "records/data_record.h"
#include "records/ed_block.h"
#include "records/ed_chara.h"
#include "records/ed_item.h"
#include "records/palette_inherit.h"

// The end code every stage file (version 173 on) ends with.
inline constexpr int32_t kStageEndCode = 123456789;

// One removal setting: objects that leave the view by more than the margin
// (in cells) on a switched-on side are removed.
class cStageIntSet : public cRecord<cStageIntSet> {
public:
    int32_t m_bLeft = 0;
    int32_t m_bRight = 0;
    int32_t m_bTop = 0;
    int32_t m_bBottom = 0;
    int32_t m_nLeft = 0;
    int32_t m_nRight = 0;
    int32_t m_nTop = 0;
    int32_t m_nBottom = 0;

    cStageIntSet() = default;
    cStageIntSet(int32_t l, int32_t r, int32_t t, int32_t b, int32_t nl, int32_t nr, int32_t nt, int32_t nb)
        : m_bLeft(l), m_bRight(r), m_bTop(t), m_bBottom(b), m_nLeft(nl), m_nRight(nr), m_nTop(nt), m_nBottom(nb) {}

    template <class F>
    void Fields(F& f) {
        f.Field("m_bLeft", m_bLeft);
        // Files up to 124 hold the left switch only.
        if (f.Above(124)) {
            f.Field("m_bRight", m_bRight);
            f.Field("m_bTop", m_bTop);
            f.Field("m_bBottom", m_bBottom);
        }
        f.Field("m_nLeft", m_nLeft);
        f.Field("m_nRight", m_nRight);
        f.Field("m_nTop", m_nTop);
        f.Field("m_nBottom", m_nBottom);
    }
};
extern template class cRecord<cStageIntSet>;

// A background layer.
class cEdBackground : public cRecord<cEdBackground> {
public:
    int32_t m_bShow = 1;
    int32_t m_bFill = 0;  // a colour fill instead of a bitmap
    int32_t m_nFillColor = 16;
    int32_t m_nLayer = 0;  // 0 behind the objects, 1 in front
    double m_dParallaxX = 0.1;
    double m_dParallaxY = 0.1;
    int32_t m_bAutoX = 0;
    int32_t m_bAutoY = 0;
    double m_dAutoSpeedX = 0.0;
    double m_dAutoSpeedY = 0.0;
    std::string m_strFile;
    double m_dOffsetX = 0.0;  // running scroll offset (reset at stage set-up)
    double m_dOffsetY = 0.0;

    template <class F>
    void Fields(F& f) {
        if (f.Above(61)) f.Field("m_bShow", m_bShow);
        f.Field("m_bFill", m_bFill);
        f.Field("m_nFillColor", m_nFillColor);
        f.Field("m_nLayer", m_nLayer);
        if (f.Above(60)) {
            f.Field("m_dParallaxX", m_dParallaxX);
            f.Field("m_dParallaxY", m_dParallaxY);
            f.Field("m_bAutoX", m_bAutoX);
            f.Field("m_bAutoY", m_bAutoY);
        } else {
            // Two 4-byte scroll factors of the first format, dropped.
            f.Dropped("(old parallax x)", 4);
            f.Dropped("(old parallax y)", 4);
        }
        if (f.Above(875)) {
            f.Field("m_dAutoSpeedX", m_dAutoSpeedX);
            f.Field("m_dAutoSpeedY", m_dAutoSpeedY);
        }
        if (f.Since(62)) {
            f.Field("m_dOffsetX", m_dOffsetX);
            f.Field("m_dOffsetY", m_dOffsetY);
        } else if (f.Version() == 61) {
            f.Dropped("(old offset x)", 4);
            f.Dropped("(old offset y)", 4);
        }
        f.String("m_strFile", m_strFile);
    }
};
extern template class cRecord<cEdBackground>;

// A name entry of the stage (copied and stored, not used in play).
class cStageNameEntry : public cRecord<cStageNameEntry> {
public:
    std::string m_strName;

    template <class F>
    void Fields(F& f) {
        f.String("m_strName", m_strName);
    }
};
extern template class cRecord<cStageNameEntry>;

class cStage : public cRecord<cStage> {
public:
    // Compiled once, in stage.cpp (copies of the whole record are large).
    cStage();
    cStage(const cStage&);
    cStage(cStage&&) noexcept;
    cStage& operator=(const cStage&);
    cStage& operator=(cStage&&) noexcept;
    ~cStage() override;

    static constexpr int kBoxSettings = 49;
    static constexpr int kRankingSwitches = 5;
    static constexpr int kOldNameEntries = 1000;

    std::string m_strName;
    int32_t m_nWidth = 0;    // map size in 32 x 32 cells
    int32_t m_nUnused1 = 0;  // kept and written back
    int32_t m_nUnused2 = 0;  // kept and written back
    int32_t m_nHeight = 0;
    int32_t m_bScrollMinX = 0;
    int32_t m_bScrollMaxX = 0;
    int32_t m_bScrollMinY = 0;
    int32_t m_bScrollMaxY = 0;
    int32_t m_nScrollMinX = 0;
    int32_t m_nScrollMaxX = 0;
    int32_t m_nScrollMinY = 0;
    int32_t m_nScrollMaxY = 0;
    int32_t m_nFrameRate = 60;
    int32_t m_bTimeLimit = 0;
    int32_t m_nTimeLimit = 200;
    int32_t m_nWarnTime = 20;
    int32_t m_bAutoScrollX = 0;
    int32_t m_bAutoScrollY = 0;
    int32_t m_nAutoScrollSpeedX = 0;  // tenths of a pixel per frame
    int32_t m_nAutoScrollSpeedY = 0;
    double m_dGravity = 0.4;  // pixels per frame squared
    int32_t m_nSpeedLevel = 10;
    int32_t m_nHitChecks = 0;  // shot hit checks per frame; 0 every sub-step
    int32_t m_nBgm = 0;
    int32_t m_bBgmRepeat = 0;
    int32_t m_bKeepBgm = 0;
    int32_t m_bEightLayers = 1;
    int32_t m_bCarryIn = 0;
    int32_t m_bCarryOut = 0;
    int32_t m_bSceneFlag = 1;
    int32_t m_bAutoAdvance = 0;
    int32_t m_bReplaySave = 0;
    int32_t m_bStageBanner = 0;
    int32_t m_bStartBanner = 1;
    int32_t m_bClearBanner = 1;
    int32_t m_bGameOverBanner = 1;
    std::array<int32_t, kBoxSettings> m_anBoxSetting = DefaultBoxSettings();
    int32_t m_nPixelWidth = 0;
    int32_t m_nPixelHeight = 0;
    // Derived from the speed level (ApplySpeedLevel); stored, recomputed on
    // every load.
    int32_t m_nSubSteps = 0;
    double m_dSubSteps = 0.0;
    double m_dSubSteps2 = 0.0;
    double m_dSpeedCap = 0.0;
    double m_dGravityStep = 0.0;
    double m_dSpeedCapStep = 0.0;
    int32_t m_nAirTimeLimit = 0;
    int32_t m_bHitInViewOnly = 1;
    int32_t m_nHitInterval0 = 30;
    int32_t m_nInvincible0 = 0;
    int32_t m_nHitInterval1 = 30;
    int32_t m_nInvincible1 = 0;

    std::vector<int32_t> m_vecRankingSwitch = std::vector<int32_t>(kRankingSwitches, 1);
    cStageIntSet m_RemoveChara;
    cStageIntSet m_RemoveBlockChara;
    cStageIntSet m_RemoveItem;
    cStageIntSet m_RemoveHeroShot{1, 1, 1, 1, 0, 0, 0, 0};
    cStageIntSet m_RemoveEnemyShot{1, 1, 1, 1, 10, 10, 10, 10};
    std::vector<cEdBlock> m_vecBlockPalette;
    std::vector<cEdChara> m_vecCharaPalette;
    std::vector<cEdItem> m_vecItemPalette;
    std::vector<cEdBlock> m_vecPlacedBlock;
    std::vector<cEdChara> m_vecPlacedChara;
    std::vector<cEdItem> m_vecPlacedItem;
    std::vector<cEdBackground> m_vecBackground;
    std::vector<cStageNameEntry> m_vecNameEntry;

    // Not stored: the last read.
    std::string m_strPath;
    int32_t m_bNumbered = 0;
    int32_t m_bLoaded = 0;
    int32_t m_nTenthSteps = 0;   // sub-steps in a tenth of a second


    template <class F>
    void Fields(F& f) {
        f.Field("m_nWidth", m_nWidth);
        f.Field("m_nUnused1", m_nUnused1);
        f.Field("m_nUnused2", m_nUnused2);
        f.Field("m_nHeight", m_nHeight);
        f.Field("m_bScrollMinX", m_bScrollMinX);
        f.Field("m_bScrollMaxX", m_bScrollMaxX);
        f.Field("m_bScrollMinY", m_bScrollMinY);
        f.Field("m_bScrollMaxY", m_bScrollMaxY);
        f.Field("m_nScrollMinX", m_nScrollMinX);
        f.Field("m_nScrollMaxX", m_nScrollMaxX);
        f.Field("m_nScrollMinY", m_nScrollMinY);
        f.Field("m_nScrollMaxY", m_nScrollMaxY);
        f.Field("m_nFrameRate", m_nFrameRate);
        f.Field("m_bTimeLimit", m_bTimeLimit);
        f.Field("m_nTimeLimit", m_nTimeLimit);
        f.Field("m_nWarnTime", m_nWarnTime);
        f.Field("m_bAutoScrollX", m_bAutoScrollX);
        f.Field("m_bAutoScrollY", m_bAutoScrollY);
        f.Field("m_nAutoScrollSpeedX", m_nAutoScrollSpeedX);
        f.Field("m_nAutoScrollSpeedY", m_nAutoScrollSpeedY);
        f.Field("m_dGravity", m_dGravity);
        f.Field("m_nSpeedLevel", m_nSpeedLevel);
        f.Field("m_nHitChecks", m_nHitChecks);
        f.Field("m_nBgm", m_nBgm);
        if (f.Above(165)) f.Field("m_bBgmRepeat", m_bBgmRepeat);
        if (f.Above(198)) f.Field("m_bKeepBgm", m_bKeepBgm);
        f.Field("m_bEightLayers", m_bEightLayers);
        f.Field("m_bCarryIn", m_bCarryIn);
        f.Field("m_bCarryOut", m_bCarryOut);
        if (f.Above(182)) f.Field("m_bSceneFlag", m_bSceneFlag);
        if (f.Above(183)) f.Field("m_bAutoAdvance", m_bAutoAdvance);
        if (f.Above(967)) f.Field("m_bReplaySave", m_bReplaySave);
        f.Field("m_bStageBanner", m_bStageBanner);
        if (f.Above(224)) f.Field("m_bStartBanner", m_bStartBanner);
        f.Field("m_bClearBanner", m_bClearBanner);
        f.Field("m_bGameOverBanner", m_bGameOverBanner);
        // One field per element, each with its own gate.
        for (int i = 0; i < kBoxSettings; ++i)
            if (f.Since(BoxSettingSince(i))) f.Field(BoxSettingName(i), m_anBoxSetting[static_cast<size_t>(i)]);
        f.Field("m_nPixelWidth", m_nPixelWidth);
        f.Field("m_nPixelHeight", m_nPixelHeight);
        f.Field("m_nSubSteps", m_nSubSteps);
        f.Field("m_dSubSteps", m_dSubSteps);
        f.Field("m_dSubSteps2", m_dSubSteps2);
        f.Field("m_dSpeedCap", m_dSpeedCap);
        f.Field("m_dGravityStep", m_dGravityStep);
        f.Field("m_dSpeedCapStep", m_dSpeedCapStep);
        f.Field("m_nAirTimeLimit", m_nAirTimeLimit);
        f.Field("m_bHitInViewOnly", m_bHitInViewOnly);
        f.Field("m_nHitInterval0", m_nHitInterval0);
        f.Field("m_nInvincible0", m_nInvincible0);
        f.Field("m_nHitInterval1", m_nHitInterval1);
        f.Field("m_nInvincible1", m_nInvincible1);
        f.String("m_strName", m_strName);
    }

    // The parts after the base body, with the palettes resolved against
    // this stage.
    bool LoadExtra(cByteReader& r, const cLoadContext& ctx);
    void SaveExtra(cByteWriter& w, uint32_t nVersion);
    void DumpExtra(cDumper& d);
    // Upgrades of older files, then PrepareSave.
    void OnLoaded(const cLoadContext& ctx);
    void OnSaving() { PrepareSave(); }

    // The constructor's state on an existing record: registered fields
    // cleared and set to their defaults, placements emptied, one default
    // entry per palette, one filled background, five ranking switches of 1,
    // the default removal settings. The speed level is not applied.
    void SetDefaults();

    // Scroll limits inside the map, speed level applied, music number in the
    // database, palettes of at least two entries, every reference checked
    // against this stage's palettes.
    void PrepareSave();
    // Stores the level and derives the sub-steps and limits from it. A level
    // of 0 or less derives as level 1.
    void ApplySpeedLevel(int32_t nLevel);

    // The first placed chara with a graphic on the player's side, or -1.
    int FindHeroIndex() const;
    bool HasHero() const { return FindHeroIndex() != -1; }

    // The stage part of a replay: a normalised copy of this stage (this
    // stage, mid-play, stays as it is); the settings, ranking switches and
    // removal settings of `start`; this stage's palettes and placements;
    // `start`'s backgrounds and name entries; the end code. No version word.
    void SaveWithStartHeader(cByteWriter& w, const cStage& start, uint32_t nVersion = g_nDataVersion) const;

    // Reads a stage file into this record through a temporary one that
    // starts with what old files take over from this record; this record
    // changes only when the whole read succeeded. The read gives up (false)
    // when the current thread is asked to quit. LastDataFileError says why
    // a read failed.
    bool LoadStageFile(std::string_view cp932Path);
    bool LoadStageBytes(std::span<const uint8_t> file, std::string_view name);
    // The stage body at the reader's position (a stage inside a larger
    // file), with the same take-over and commit as a whole stage file.
    bool LoadStageBody(cByteReader& r, const cLoadContext& ctx);

    // Settings, backgrounds, name entries, removal settings and ranking
    // switches of `src`, with empty palettes and placements (the start copy).
    void TakeStartCopyOf(const cStage& src);

    // This stage's palettes, and the current context with them as the stage
    // palettes.
    cPaletteSet Palettes() const { return {&m_vecBlockPalette, &m_vecCharaPalette, &m_vecItemPalette}; }
    cDefContext Context() const;

    static constexpr std::array<int32_t, kBoxSettings> DefaultBoxSettings() {
        return {16, 24, 16, 16, 16, 24, 16, 16, 12, 8,  16, 16, 1,  0,  1,  0,  0,
                0,  0,  0,  0,  0,  0,  0,  16, 24, 16, 16, 12, 24, 12, 16, 30, 30,
                1,  0,  1,  0,  28, 28, 16, 16, 16, 16, 16, 16, 16, 16, 1};
    }
    // First version that stores element i of the box settings.
    static uint32_t BoxSettingSince(int i);
    static const char* BoxSettingName(int i);

private:
    bool LoadFrom(cDataFileIn& in);
    bool LoadRankingSwitches(cByteReader& r);
    void SaveRankingSwitches(cByteWriter& w);
    void SaveRemovalSettings(cByteWriter& w, uint32_t nVersion);
    void SavePalettesAndPlacements(cByteWriter& w, uint32_t nVersion);
    void SaveBackgroundsAndNames(cByteWriter& w, uint32_t nVersion);
};
extern template class cRecord<cStage>;

// The stage being played, and the copy of its settings taken at load (the
// play scene restores it on a retry; replays store it).
extern cStage g_Stage;
extern cStage g_StageStart;

// False (after an error box, the quit flag and a close request) when a stage
// file of version 174 or later does not end with the end code. A file that
// cannot be opened or is too new passes: the read that follows reports it.
int CheckStageFileTail(const std::string& cp932Path);
// The same test on the bytes of a file, without a report.
bool StageFileTailOk(std::span<const uint8_t> file);
// A whole stage file as the data tool reads it: a missing end code is a
// failure (LastDataFileError says so), then LoadStageFile.
bool LoadStageFileChecked(cStage& stage, std::string_view cp932Path);
