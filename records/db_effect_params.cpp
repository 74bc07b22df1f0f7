#include "records/db_effect_params.h"

#include "platform/cp932.h"

namespace {

cParamInfo P(const char* utf8Label, int16_t nMin, int16_t nMax, int16_t nDefault) {
    return {platform::Utf8ToCp932(utf8Label), nMin, nMax, nDefault};
}
// A parameter the kind does not use.
cParamInfo U() { return {"", 0, 0, 0}; }

cParamInfo Duration(int16_t nDefault) { return P("実行時間(1/10s)", 1, 9999, nDefault); }

}  // namespace

const cCheckedVector<cParamInfo>& CharaEffectParamTable() {
    static const cCheckedVector<cParamInfo> table = {
        // 0 (none)
        U(), U(), U(), U(), U(),
        // 1 "破裂"
        Duration(5), P("開始位置(dot)", 0, 999, 0), P("終了位置(dot)", 0, 999, 32), U(), U(),
        // 2 "分割（横）"
        Duration(5), P("開始位置(dot)", 0, 999, 0), P("終了位置(dot)", 0, 999, 32), P("分割数", 2, 16, 4), U(),
        // 3 "分割（縦）"
        Duration(5), P("開始位置(dot)", 0, 999, 0), P("終了位置(dot)", 0, 999, 32), P("分割数", 2, 16, 4), U(),
        // 4 "波（横）"
        Duration(5), P("開始幅(dot)", 0, 999, 0), P("終了幅(dot)", 0, 999, 32), P("波の数", 2, 16, 2),
        P("波の粗さ(dot)", 1, 4, 2),
        // 5 "波（縦）"
        Duration(5), P("開始幅(dot)", 0, 999, 0), P("終了幅(dot)", 0, 999, 32), P("波の数", 2, 16, 2),
        P("波の粗さ(dot)", 1, 4, 2),
        // 6 "点滅"
        Duration(10), P("点滅間隔(1/60s)", 1, 9999, 2), U(), U(), U(),
        // 7 "回転A"
        Duration(10), P("開始角度", 0, 9999, 0), P("終了角度", 0, 9999, 1440), U(), U(),
        // 8 "回転B"
        Duration(10), P("開始角度", 0, 9999, 0), P("終了角度", 0, 9999, 1440), U(), U(),
        // 9 "回転（奥）"
        Duration(10), P("開始位置(dot)", 0, 9999, 0), P("終了位置(dot)", 0, 9999, 256), U(), U(),
        // 10 "円"
        Duration(5), P("開始半径(dot)", 0, 32, 32), P("終了半径(dot)", 0, 32, 0), P("円の粗さ(dot)", 1, 4, 2), U(),
        // 11 "拡大"
        Duration(10), P("開始幅(dot)", 0, 320, 32), P("終了幅(dot)", 0, 320, 64), U(), U(),
        // 12 "レンズ"
        Duration(10), P("開始距離", 0, 100, 100), P("終了距離", 0, 100, 5), P("ズレX(dot)", -16, 16, 0),
        P("ズレY(dot)", -16, 16, 0),
        // 13 "色変化"
        Duration(10), P("開始合成度", 1, 4, 1), P("終了合成度", 1, 4, 1), P("色", 16, 207, 16), U(),
        // 14 "半透明"
        Duration(10), P("点滅間隔(1/60s)", 1, 9999, 9999), U(), U(), U(),
        // 15 "モザイク"
        Duration(10), P("開始強度", 1, 16, 1), P("終了強度", 1, 16, 8), U(), U(),
        // 16 "ぼかし"
        Duration(10), P("開始強度", 1, 4, 1), P("終了強度", 1, 4, 4), U(), U(),
    };
    return table;
}

const cCheckedVector<cParamInfo>& ScrEffectParamTable() {
    static const cCheckedVector<cParamInfo> table = {
        // 0 (none)
        U(), U(), U(), U(), U(),
        // 1 "移動"
        Duration(10), P("開始座標X(dot)", -640, 640, 0), P("開始座標Y(dot)", -480, 480, 0),
        P("終了座標X(dot)", -640, 640, 640), P("終了座標Y(dot)", -480, 480, 0),
        // 2 "振動（横）"
        Duration(10), P("振動幅(dot)", 1, 640, 4), P("振動回数", 1, 9999, 4), U(), U(),
        // 3 "振動（縦）"
        Duration(10), P("振動幅(dot)", 1, 480, 4), P("振動回数", 1, 9999, 4), U(), U(),
        // 4 "分割（横）"
        Duration(10), P("開始位置(dot)", 0, 640, 0), P("終了位置(dot)", 0, 640, 640), P("分割数", 2, 240, 15), U(),
        // 5 "分割（縦）"
        Duration(10), P("開始位置(dot)", 0, 480, 0), P("終了位置(dot)", 0, 480, 480), P("分割数", 2, 320, 20), U(),
        // 6 "波（横）"
        Duration(10), P("開始幅(dot)", 0, 640, 0), P("終了幅(dot)", 0, 640, 640), P("波の数", 2, 240, 4),
        P("波の粗さ(dot)", 1, 48, 8),
        // 7 "波（縦）"
        Duration(10), P("開始幅(dot)", 0, 480, 0), P("終了幅(dot)", 0, 480, 480), P("波の数", 2, 320, 4),
        P("波の粗さ(dot)", 1, 64, 10),
        // 8 "点滅"
        Duration(10), P("点滅間隔(1/60s)", 1, 9999, 10), U(), U(), U(),
        // 9 "回転"
        Duration(10), P("開始角度", 0, 9999, 0), P("終了角度", 0, 9999, 1440), U(), U(),
        // 10 "円"
        Duration(10), P("開始半径(dot)", 0, 640, 640), P("終了半径(dot)", 0, 640, 0), P("円の粗さ(dot)", 1, 48, 8),
        U(),
        // 11 "拡大"
        Duration(10), P("開始幅(dot)", 0, 6400, 640), P("終了幅(dot)", 0, 6400, 1280), U(), U(),
        // 12 "レンズ"
        Duration(10), P("開始距離", 0, 1500, 1500), P("終了距離", 0, 1500, 5), P("ズレX(dot)", -320, 320, 0),
        P("ズレY(dot)", -240, 240, 0),
        // 13 "モザイク"
        Duration(10), P("開始強度", 1, 240, 1), P("終了強度", 1, 240, 60), U(), U(),
    };
    return table;
}
