#include "records/cmd_kinds.h"

#include "platform/cp932.h"

namespace {
std::string L(const char* utf8) { return platform::Utf8ToCp932(utf8); }
}  // namespace

const cCmdKindInfo CharaCmdKindTable[CHARA_CMD_KIND_COUNT] = {
    {"", 0},
    {L("ウエイト"), 0},
    {L("直線移動"), 0},
    {L("地上折り返し移動"), 0},
    {L("円移動"), 0},
    {L("突撃移動"), 0},
    {L("誘導移動"), 0},
    {L("画面外回避移動"), 0},
    {L("移動の無効化"), 0},
    {L("向き変更"), 1},
    {L("ジャンプ"), 5},
    {L("ショット"), 0},
    {L("ソード"), 0},
    {L("ブロック召喚"), 1},
    {L("キャラ召喚"), 1},
    {L("アイテム召喚"), 0},
    {L("フローの操作"), 5},
    {L("ステージクリア"), 11},
    {L("ゲームウエイト"), 1},
    {L("メッセージ"), 21},
    {L("ワープ"), 1},
    {L("ターゲットの設定"), 17},
    {L("ステータスの操作"), 25},
    {L("ステータスの操作2"), 6},
    {L("消滅"), 4},
    {L("アイテムの取得"), 2},
    {L("グラフィックの変更"), 3},
    {L("基本アニメセットの変更"), 1},
    {L("アニメの実行"), 2},
    {L("エフェクトの実行"), 10},
    {L("キャラエフェクトの実行"), 3},
    {L("画面エフェクトの実行"), 3},
    {L("ピクチャーの表示"), 20},
    {L("画面の色を変更"), 8},
    {L("背景の変更"), 2},
    {L("効果音の再生"), 1},
    {L("BGMの再生"), 2},
    {L("コードの実行"), 0},
    {L("アレンジ"), 5},
    {L("ループ"), 2},
};

namespace {
cCmdKindInfo ItemEntry(int kind) {
    if (kind == ICMD_NONE) return {"", 0};
    if (kind == ICMD_CHANGE_FLOW) return {L("フローの変更"), 2};
    return CharaCmdKindTable[ItemCmdToCharaCmd(kind)];
}
}  // namespace

// Built after the chara table: both live in this file and are initialised
// in order of definition.
const cCmdKindInfo ItemCmdKindTable[ITEM_CMD_KIND_COUNT] = {
    ItemEntry(0),  ItemEntry(1),  ItemEntry(2),  ItemEntry(3),  ItemEntry(4),
    ItemEntry(5),  ItemEntry(6),  ItemEntry(7),  ItemEntry(8),  ItemEntry(9),
    ItemEntry(10), ItemEntry(11), ItemEntry(12), ItemEntry(13), ItemEntry(14),
    ItemEntry(15), ItemEntry(16), ItemEntry(17), ItemEntry(18), ItemEntry(19),
    ItemEntry(20), ItemEntry(21), ItemEntry(22), ItemEntry(23), ItemEntry(24),
};

int CmdKindParamCount(int family, int kind) {
    if (family == 0) return kind >= 0 && kind < CHARA_CMD_KIND_COUNT ? CharaCmdKindTable[kind].nParams : 0;
    if (family == 1) return kind >= 0 && kind < ITEM_CMD_KIND_COUNT ? ItemCmdKindTable[kind].nParams : 0;
    return 0;
}

int MapChoiceCode(int choice, int keepNine, int alternative, bool bReplayPlayback, uint32_t nReplayVersion) {
    static const int kCodes[10] = {0, 2, 3, 6, 7, 8, 9, 10, 11, 0};
    const int fallback = alternative != 0 ? 3 : 2;
    if (choice < 0 || choice > 9) return fallback;
    bool nineIsFallback;  // choice 9 gives the fallback (else its table entry, 0)
    if (bReplayPlayback && nReplayVersion <= 777) {
        nineIsFallback = false;
    } else if (bReplayPlayback && nReplayVersion <= 779) {
        nineIsFallback = true;
    } else {
        nineIsFallback = keepNine == 0;
    }
    if (choice == 0 || (choice == 9 && nineIsFallback)) return fallback;
    return kCodes[choice];
}
