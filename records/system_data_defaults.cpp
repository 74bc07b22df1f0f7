// The content of a new game's system data, and the face-name and label lists.
// Texts are written in UTF-8 here and held as CP932.
#include "platform/cp932.h"
#include "records/system_data.h"

namespace {

std::string J(const char* utf8) { return platform::Utf8ToCp932(utf8); }

cCheckedVector<std::string> JList(std::initializer_list<const char*> utf8) {
    cCheckedVector<std::string> out;
    for (const char* s : utf8) out.push_back(J(s));
    return out;
}

const char* const kTextsUtf8[kSysTextCount] = {
    "ワールド",
    "ステージ",
    "スコア",
    "ハイスコア",
    "トータルスコア",
    "スコア",
    "残り時間",
    "クリア時間",
    "残りHP",
    "残りSP",
    "ステージに挑む",
    "やっぱりやめる",
    "セーブする",
    "やっぱりやめる",
    "オートセーブＯＮ",
    "オートセーブＯＦＦ",
    "保存先が不明です！一度は「セーブ」して下さい！",
    "タイトルへ戻る",
    "やっぱりやめる",
    "しゅうりょう",
    "つづける",
    "リトライ",
    "マップへ戻る",
    "次のリプレイへ",
    "前のリプレイへ",
    "リプレイの選択へ",
    "リトライ",
    "マップへ戻る",
    "Vキーでジャンルの切り替え",
    "スペースキーでタイトルへ戻る",
    "スペースキーで終了",
    "F3キーでランキングへ登録",
    "Cキー：ソートの切り替え",
    "Vキー：エクスプローラーで開く",
    "Aキー：ファイル情報の更新",
    "更新日時順↓（推奨）",
    "更新日時順↑",
    "ファイル名順↓",
    "ファイル名順↑",
};

const char* const kTitleMenuUtf8[kSysTitleMenuCount] = {
    "はじめから", "つづきから", "チャレンジ", "フリー", "リプレイ", "オプション", "しゅうりょう",
};

const char* const kMapMenuUtf8[kSysMapMenuCount] = {"セーブ", "オートセーブ", "もどる", "タイトルへ"};

const char* const kOptionMenuUtf8[kSysOptionMenuCount] = {
    "カラー",
    "ゲームパッド",
    "BGM",
    "SE",
    "ランキング登録",
    "ランキング登録名",
    "リプレイ自動保存",
    "リプレイ再生順",
    "リプレイのメッセージ自動進行秒数",
    "もどる",
};

const char* const kOptionNoteUtf8 =
    "「手動登録」によるランキング登録はステージクリア時にF3キーを押しましょう。\r\n"
    "\r\n"
    "リプレイは自動保存の設定に関係なくF1・F2キーでも手動保存できます。\r\n"
    "F1キー:現在プレイ中のステージにおける今回のプレイを保存\r\n"
    "F2キー:現在プレイ中のステージにおける1つ前のプレイを保存\r\n"
    "\r\n"
    "「リプレイ再生順」の「ソート順＆ステージクリアのみ」では、ファイル名の最後が\r\n"
    "「_CLEAR_」となっているリプレイのみが再生対象となります。";

const char* const kFontNamesUtf8[kFontNameCount] = {
    "System", "Terminal", "FixedSys", "Roman", "Script", "Modern", "Small Fonts", "MS Serif",
    "WST_Czec", "WST_Engl", "WST_Fren", "WST_Germ", "WST_Ital", "WST_Span", "WST_Swed", "Courier",
    "MS Sans Serif", "Marlett", "Arial", "Arial CE", "Arial CYR", "Arial Greek", "Arial TUR",
    "Arial Baltic", "Courier New", "Courier New CE", "Courier New CYR", "Courier New Greek",
    "Courier New TUR", "Courier New Baltic", "Lucida Console", "Lucida Sans Unicode",
    "Times New Roman", "Times New Roman CE", "Times New Roman CYR", "Times New Roman Greek",
    "Times New Roman TUR", "Times New Roman Baltic", "Wingdings", "Symbol", "Verdana",
    "Arial Black", "Comic Sans MS", "Impact", "Georgia", "Franklin Gothic Medium",
    "Palatino Linotype", "Tahoma", "Trebuchet MS", "Webdings", "Estrangelo Edessa", "Gautami",
    "Latha", "Mangal", "MV Boli", "Raavi", "Shruti", "Tunga", "Sylfaen",
    "ＭＳ ゴシック",         // 59
    "ＭＳ Ｐゴシック",       // 60
    "MS UI Gothic",
    "ＭＳ 明朝",             // 62
    "ＭＳ Ｐ明朝",           // 63
    "Microsoft Sans Serif", "Gulim", "GulimChe", "Dotum", "DotumChe", "Batang", "BatangChe",
    "Gungsuh", "GungsuhChe", "SimSun", "NSimSun", "SimSun-PUA", "SimHei", "MingLiU", "PMingLiU",
    "Arial Narrow", "Book Antiqua", "Bookman Old Style", "Century", "Century Gothic", "Garamond",
    "MS Outlook",
    "HGｺﾞｼｯｸE",              // 86
    "HGPｺﾞｼｯｸE", "HGSｺﾞｼｯｸE", "HG丸ｺﾞｼｯｸM-PRO", "HG創英角ｺﾞｼｯｸUB", "HGP創英角ｺﾞｼｯｸUB",
    "HGS創英角ｺﾞｼｯｸUB", "HG創英角ﾎﾟｯﾌﾟ体", "HGP創英角ﾎﾟｯﾌﾟ体", "HGS創英角ﾎﾟｯﾌﾟ体",
    "HG正楷書体-PRO", "InMusicSym", "Kartika", "Vrinda",
    "メイリオ",              // 100
    "MT Extra", "HGｺﾞｼｯｸM", "HGPｺﾞｼｯｸM", "HGSｺﾞｼｯｸM", "HG行書体", "HGP行書体", "HGS行書体",
    "HG教科書体", "HGP教科書体", "HGS教科書体", "HG明朝B", "HGP明朝B", "HGS明朝B", "HG明朝E",
    "HGP明朝E", "HGS明朝E", "HG創英ﾌﾟﾚｾﾞﾝｽEB", "HGP創英ﾌﾟﾚｾﾞﾝｽEB", "HGS創英ﾌﾟﾚｾﾞﾝｽEB",
    "OCRB", "Sydnie",
    "",                      // 122
};

cCheckedVector<std::string> BuildFontNames() {
    cCheckedVector<std::string> out;
    out.reserve(kFontNameCount);
    for (const char* s : kFontNamesUtf8) out.push_back(J(s));
    return out;
}

}  // namespace

const cCheckedVector<std::string> g_FontNameList = BuildFontNames();
const cCheckedVector<std::string> g_TextDecorationLabels = JList({"なし", "影", "縁"});
const cCheckedVector<std::string> g_PaletteModeLabels =
    JList({"256色(8bit) カラーパレットあり", "1677万色(24bit) カラーパレットなし"});
const cCheckedVector<std::string> g_ColorDepthLabels = JList({"32bit(1677万色)", "16bit(32768色)"});
const cCheckedVector<std::string> g_ColorDepthLabels2 =
    JList({"32bit(1677万色)", "16bit(32768色)", "8bit(256色)"});

const std::string& DefaultOptionNote() {
    static const std::string note = J(kOptionNoteUtf8);
    return note;
}

const cSystemData& SystemDataDefaults() {
    static const cSystemData defaults;
    return defaults;
}

void cSysSetting::SetInt(const std::string& key, int32_t value) {
    m_strKey = key;
    m_nValue = value;
    m_bIsString = 0;
}

void cSysSetting::SetString(const std::string& key, const std::string& value) {
    m_strKey = key;
    m_strValue = value;
    m_bIsString = 1;
}

void cSystemData::SetDefaults() {
    // Every field of the block starts at 0 and both strings empty; the
    // non-zero ones follow.
    ClearFieldBlock();

    OptExtraLifeScore = 100;
    OptHideStageInMenu = 1;
    m_nFontFace = kSysDefaultFontFace;
    m_nTextDecoration = 1;
    OptReplayRecord = 1;
    m_bTitleMenuCentred = 1;
    m_nSaveMode = 1;

    m_vecCarryOver.assign(kSysFlagCount, 0);
    for (int i : {0, 1, 13, 14, 16, 17, 19, 20, 21}) m_vecCarryOver.at(i) = 1;
    m_vecProgressClear.assign(kSysFlagCount, 0);
    m_vecProgressClear.at(11) = 1;
    m_vecProgressClear.at(12) = 1;

    m_vecStatusItems.assign(kSysStatusItemCount, cSysStatusItem{});
    const char* const labels[kSysStatusItemCount] = {"スコア", "スコア", "HP", "SP", "人"};
    const int digits[kSysStatusItemCount] = {4, 3, 0, 0, 2};
    for (int i = 0; i < kSysStatusItemCount; ++i) {
        cSysStatusItem& item = m_vecStatusItems.at(i);
        item.m_bShow = 1;
        item.m_bIcon = 1;
        item.m_nDigits = digits[i];
        item.m_strLabel = J(labels[i]);
    }

    m_vecRankingSets.assign(kSysGameTypeCount, cSysMenuFlags{});
    for (int i = 0; i < kSysGameTypeCount; ++i) {
        const uint8_t on = i < 3 ? 1 : 0;
        m_vecRankingSets.at(i).m_bEnabled = on;
        m_vecRankingSets.at(i).m_vecKinds.assign(kSysRankingKindCount, on);
    }

    m_vecTitleMenu.clear();
    for (const char* s : kTitleMenuUtf8) m_vecTitleMenu.emplace_back(1, J(s));
    m_vecMapMenu.clear();
    for (const char* s : kMapMenuUtf8) m_vecMapMenu.emplace_back(1, J(s));
    m_vecOptionMenu.clear();
    for (const char* s : kOptionMenuUtf8) m_vecOptionMenu.emplace_back(1, J(s));

    m_vecRankingModeLabels = JList({"手動登録（登録名入力）", "手動登録（登録名固定）",
                                    "自動登録（登録名入力）", "自動登録（登録名固定）"});
    m_vecReplaySaveLabels = JList({"自動保存しない", "ステージクリア時のみ", "全て保存"});
    m_vecReplayOrderLabels =
        JList({"ソート順", "ソート順＆ステージクリアのみ", "同じリプレイをリピート"});

    m_bShowOptionNote = 1;
    m_strOptionNote = DefaultOptionNote();

    m_bMapAppliesLives = 1;
    OptRetryPrompt = 1;
    m_bMapShowLives = 1;
    m_nStageCount = 40;
    m_bAllStages = 1;
    m_bMapShowEntryInfo = 1;
    m_bMapMenuShowTotal = 1;
    m_bRestoreVars0 = 1;
    m_bRestoreVars1 = 1;
    m_bRestoreVars2 = 1;
    OptStoryRestart = 1;
    OptMapReturn = 1;
    m_bSelectShowHighScore = 1;
    m_bSelectShowTotal = 1;
    OptSelectRestart = 1;
    m_nColorCycleStep = 16;

    m_vecStartLives = cCheckedVector<int32_t>{5, 5, 5, 99};
    m_vecInfiniteLives = cCheckedVector<int32_t>{1, 1, 1, 1};

    m_vecTexts.clear();
    for (const char* s : kTextsUtf8) m_vecTexts.push_back(J(s));
    m_vecSeFiles.assign(kSysSeFileCount, std::string());
    m_vecSceneBgm.assign(kSysSceneBgmCount, 0);
    m_vecSceneBgmRepeat.assign(kSysSceneBgmCount, 1);

    m_vecSettings.assign(SYSSET_COUNT, cSysSetting{});
    m_vecSettings.at(SYSSET_DIRECT3D).SetInt("Direct3D", 2);
    m_vecSettings.at(SYSSET_WINDOWMODE).SetInt("WindowMode", 0);
    m_vecSettings.at(SYSSET_BPP).SetInt("Bpp", 0);
    m_vecSettings.at(SYSSET_VSYNC).SetInt("VSync", 2);
    m_vecSettings.at(SYSSET_D3D_FONTCACHE).SetInt("D3D_FontCache", 0);
    m_vecSettings.at(SYSSET_DD_FONTCACHE).SetInt("DD_FontCache", 1);
    m_vecSettings.at(SYSSET_DD_VIDEOSTRETCH).SetInt("DD_VideoStretch", 0);
    m_vecSettings.at(SYSSET_SHOWFPS).SetInt("ShowFps", 1);
    m_vecSettings.at(SYSSET_FREESTAGE).SetString("FreeStage", "");
    m_vecSettings.at(SYSSET_ENGLISH).SetInt("English", 0);
    m_vecSettings.at(SYSSET_MIDI_DIRECTMUSIC).SetInt("Midi_DirectMusic", 1);

    m_nDepthDirect3D = 0;
    m_nDepthDirectDraw = 2;
    m_bNoFreeStage = 0;
}
