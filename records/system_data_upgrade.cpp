// Brings the content of an older System.dat to the current meaning: the
// steps run in this order, each testing the file's version.
#include "platform/cp932.h"
#include "records/system_data.h"

namespace {

std::string J(const char* utf8) { return platform::Utf8ToCp932(utf8); }

// Insert into a list of fixed length: resize (cutting or padding), slide up,
// then store the new element.
template <class T>
void InsertFixed(cCheckedVector<T>& vec, size_t length, long long index, const T& value) {
    vec.resize(length);
    SlideUp(vec, index);
    vec.at(index) = value;
}

void InsertText(cCheckedVector<std::string>& texts, long long index, const char* utf8) {
    InsertFixed(texts, kSysTextCount, index, J(utf8));
}

void InsertCmd(cCheckedVector<cCmd>& menu, size_t length, long long index, int enabled,
               const char* utf8) {
    InsertFixed(menu, length, index, cCmd(enabled, J(utf8)));
}

void InsertSetting(cCheckedVector<cSysSetting>& settings, long long index, const char* key,
                   int32_t value) {
    cSysSetting s;
    s.SetInt(key, value);
    InsertFixed(settings, SYSSET_COUNT, index, s);
}

}  // namespace

void cSystemData::Upgrade(uint32_t v) {
    if (v < 113) m_bKeepFlaggedFlows = 0;
    if (v < 157) m_bTitleMenuCentred = 0;
    if (v < 167) {
        m_bMapShowEntryInfo = 1;
        m_bMapMenuShowTotal = 1;
        m_bSelectShowHighScore = 1;
        m_bSelectShowTotal = 1;
    }
    if (v < 168) InsertFixed<uint8_t>(m_vecCarryOver, kSysFlagCount, 16, 1);
    if (v < 169) {
        InsertCmd(m_vecMapMenu, kSysMapMenuCount, 1, 1, "オートセーブ");
        InsertText(m_vecTexts, 12, "保存先が不明です！一度は「セーブ」して下さい！");
        InsertText(m_vecTexts, 12, "オートセーブＯＦＦ");
        InsertText(m_vecTexts, 12, "オートセーブＯＮ");
    }
    if (v < 170) m_nTextDecorationParam = 0;
    if (v < 181) {
        for (cSysMenuFlags& set : m_vecRankingSets) {
            set.m_vecKinds.resize(kSysRankingKindCount);
            set.m_vecKinds.at(3) = 0;
            set.m_vecKinds.at(4) = 0;
        }
        InsertText(m_vecTexts, 8, "残りHP");
        InsertText(m_vecTexts, 9, "残りSP");
    }
    if (v < 184) OptReplayRecord = 1;
    if (v < 185) OptExtraLife = 1;
    if (v < 187) {
        m_nPaletteMode = 0;
        m_byTransR = 0;
        m_byTransG = 177;
        m_byTransB = 0;
    }
    if (v < 188) {
        m_bRestoreVars0 = 1;
        m_bRestoreVars1 = 1;
        m_bRestoreVars2 = 1;
    }
    if (v < 191) {
        m_vecInfiniteLives = cCheckedVector<int32_t>{0, 0, 0, 1};
        OptRetryPrompt = 0;
        m_bMapShowLives = 0;
    }
    if (v < 192) m_bRestoreVarsFree = 1;
    if (v < 193) {
        InsertText(m_vecTexts, 22, "リトライ");
        InsertText(m_vecTexts, 23, "マップへ戻る");
    }
    if (v < 201) InsertFixed<uint8_t>(m_vecCarryOver, kSysFlagCount, 14, 0);
    if (v < 202) m_vecSceneBgmRepeat.assign(kSysSceneBgmCount, 1);
    if (v < 205) m_nFontFace = kSysDefaultFontFace;
    if (v < 210) InsertFixed<uint8_t>(m_vecCarryOver, kSysFlagCount, 9, 0);
    if (v < 214) OptFlyersFollowScroll = 1;
    if (v < 224) {
        OptStoryRestart = 0;
        OptSelectRestart = 0;
    }
    if (v < 261) OptScaleByCollisionBox = 1;
    if (v < 272) OptKeepDeadCharas = 0;
    if (v < 286) {
        InsertSetting(m_vecSettings, SYSSET_DIRECT3D, "Direct3D", 1);
        if (m_vecSettings.at(3).m_nValue >= 3) m_vecSettings.at(3).m_nValue = 2;
    }
    if (v < 287) m_bCharaDrawOption = 0;
    if (v < 289) m_bColorCycle = m_nPaletteMode == 0 ? 1 : 0;
    if (v < 501) m_vecProgressClear.assign(kSysFlagCount, 0);
    if (v < 515) m_nColorCycleStep = 16;
    if (v < 525) m_bCompat525 = 1;
    if (v < 555) m_bCompat555 = 1;
    if (v < 567) InsertSetting(m_vecSettings, 4, "DD_VideoStretch", 0);
    if (v < 568) {
        InsertSetting(m_vecSettings, 4, "D3D_FontCache", 0);
        InsertSetting(m_vecSettings, 5, "DD_FontCache", 1);
    }
    if (v < 587) {
        m_vecStatusItems.resize(kSysStatusItemCount);
        for (int i : {2, 3}) {
            m_vecStatusItems.at(i).m_nWarnLevel = 33;
            m_vecStatusItems.at(i).m_bWarnPercent = 1;
        }
    }
    if (v < 637) OptSummonKeepsBlocks = v <= 616 ? 1 : 0;
    if (v < 669) m_bCompat669 = 1;
    if (v < 670) {
        m_nDepthDirect3D = 0;
        m_nDepthDirectDraw = 2;
    }
    if (v < 672) {
        m_vecSettings.resize(SYSSET_COUNT);
        m_vecSettings.at(SYSSET_ENGLISH).SetInt("English", 0);
    }
    if (v < 677) OptLandWhileRising = 1;
    if (v < 695) m_bCompat695 = 1;
    if (v < 696) m_bCompat696 = 1;
    if (v < 697) OptStartEventAll = 1;
    if (v < 721) m_bCompat721 = 1;
    if (v < 728) m_bCompat728 = 1;
    if (v < 733) OptRangeNoFootCase = 1;
    if (v < 744) m_bCompat744 = 1;
    if (v < 749) OptInstantEnemyJump = 1;
    if (v < 752) m_bCompat752 = 1;
    if (v < 756) InsertText(m_vecTexts, 22, "マップへ戻る");
    if (v < 757) OptMapReturn = 0;
    if (v < 763) {
        OptImmediateKnockback = 1;
        OptHarmlessShotsPass = 1;
    }
    if (v < 768) OptNoHomeOffset = 1;
    if (v < 773) m_bCompat773 = 1;
    if (v < 781) OptCeilingKeepsImpact = 1;
    if (v < 782) m_bCompat782 = 1;
    if (v < 783) m_bCompat783 = 1;
    if (v < 793) OptSnapAlways = 1;
    if (v < 805) m_bCompat805 = 1;
    if (v < 808) m_bCompat808 = 1;
    if (v < 818) {
        m_bCompat818 = 1;
        OptNoGraceOnFly = 1;
    }
    if (v < 819) m_bCompat819 = 1;
    if (v < 821) m_nSaveMode = 0;
    if (v < 822) m_bCompat822 = 1;
    if (v < 827) OptKeepHeroDef = 1;
    if (v < 831) OptScaleFromFeet = 1;
    if (v >= 817 && v <= 832) m_bCompat833 = 1;
    if (v < 837) OptSummonCrushAll = 1;
    if (v < 838) OptSpaceMenu = 1;
    if (v < 839) m_bCompat839 = 1;
    if (v < 841) OptImpactYForce = 1;
    if (v < 842) {
        m_vecSettings.resize(SYSSET_COUNT);
        m_vecSettings.at(SYSSET_MIDI_DIRECTMUSIC).SetInt("Midi_DirectMusic", 1);
    }
    if (v < 845) {
        OptRepeatJumpLaunch = 1;
        OptEnemyJumpWaitsGrace = 1;
        OptJumpGravityCorrection = 1;
        OptRideGroundedNoY = v >= 656 ? 1 : 0;
    }
    if (v < 855) OptPlainCharaOrder = 1;
    if (v < 861) m_bCompat861 = 1;
    if (v < 875) m_bCompat875 = 1;
    if (v >= 822 && v <= 893) m_bCompat894 = 1;
    if (v < 895) m_bCompat895 = 1;
    if (v >= 890 && v <= 895) m_bCompat896 = 1;
    if (v < 897) OptImpactYKeepPrevious = 1;
    if (v < 904) m_bCompat904 = 1;
    if (v < 912) OptSimpleWalls = 1;
    if (v < 913) OptKeepScreenRect = 1;
    if (v < 932) {
        InsertCmd(m_vecOptionMenu, kSysOptionMenuCount, 5, 0, "リプレイ自動保存");
        InsertCmd(m_vecOptionMenu, kSysOptionMenuCount, 6, 0, "リプレイ再生順");
        InsertText(m_vecTexts, 23, "次のリプレイへ");
        InsertText(m_vecTexts, 24, "前のリプレイへ");
        m_bShowOptionNote = 0;
        m_strOptionNote = DefaultOptionNote();
    }
    if (v < 934) {
        InsertCmd(m_vecOptionMenu, kSysOptionMenuCount, 7, 0, "リプレイのメッセージ自動進行秒数");
    }
    if (v < 942) {
        m_vecSceneBgm.resize(kSysSceneBgmCount);
        m_vecSceneBgmRepeat.resize(kSysSceneBgmCount);
        m_vecSceneBgm.at(4) = m_vecSceneBgm.at(5) = m_vecSceneBgm.at(3);
        m_vecSceneBgmRepeat.at(4) = m_vecSceneBgmRepeat.at(5) = m_vecSceneBgmRepeat.at(3);
    }
    if (v < 943) {
        m_bReplaySaveKeys = OptReplayRecord;
        OptNoStageList = 1;
        InsertText(m_vecTexts, 25, "リプレイの選択へ");
        const char* const replayListTexts[] = {
            "Cキー：ソートの切り替え", "Vキー：エクスプローラーで開く", "Aキー：ファイル情報の更新",
            "更新日時順↓（推奨）",   "更新日時順↑",                  "ファイル名順↓",
            "ファイル名順↑",
        };
        for (int i = 0; i < 7; ++i) m_vecTexts.at(32 + i) = J(replayListTexts[i]);
    }
    if (v < 952) InsertCmd(m_vecOptionMenu, kSysOptionMenuCount, 1, 1, "ゲームパッド");
    if (v < 966) m_nTextDecoration = 0;
    if (v == 980) m_bCompat981 = 1;
    if (v < 986) m_bCompat986 = 1;
    if (v < 990) {
        m_vecSeFiles.resize(kSysSeFileCount);
        InsertFixed(m_vecSeFiles, kSysSeFileCount, 8, std::string(m_vecSeFiles.at(7)));
    }
}
