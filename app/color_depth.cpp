#include "app/color_depth.h"

#include "platform/cp932.h"

ColorDepthChoice ChooseColorDepth(const ColorDepthInput& in) {
    ColorDepthChoice out;
    const bool bD3D = in.nDirect3D != 0;
    out.bWindowed = in.nWindowMode != 0;

    out.nVSync = in.nVSync;
    if (bD3D) {
        if (out.nVSync >= 2) out.nVSync = 1;
    } else if (out.bWindowed) {
        out.nVSync = 0;
    } else if (out.nVSync >= 2) {
        out.nVSync = in.bVistaOrLater ? 0 : 1;
    }

    out.nBpp = in.nBpp;
    if (out.nBpp == 0) {
        if (out.bWindowed) {
            out.nBpp = in.nDesktopBpp;
        } else if (bD3D) {
            out.nBpp = in.nDepthDirect3D == 1 ? 16 : 32;
        } else {
            switch (in.nDepthDirectDraw) {
            case 1: out.nBpp = 16; break;
            case 2: out.nBpp = in.nPaletteMode == 0 ? 8 : 32; break;
            default: out.nBpp = 32; break;
            }
        }
    }

    bool bOk = out.nBpp == 16 || out.nBpp == 32 || (out.nBpp == 8 && !bD3D && !out.bWindowed && in.nPaletteMode == 0);
    if (bOk && out.bWindowed && out.nBpp != in.nDesktopBpp) bOk = false;
    out.bOk = bOk;
    if (!bOk) {
        if (out.bWindowed && (out.nBpp == 16 || out.nBpp == 32))
            out.strError = SJ("画面モードが不正です！\nウインドウモードではSystem.iniの設定と画面の色の設定を合わせて下さい！");
        else
            out.strError = SJ("画面モードが不正です！\nSystem.iniと画面の設定を見直して下さい！");
    }
    out.bSizingFrame = bOk && bD3D && in.nWindowMode == 2 && out.bWindowed;
    return out;
}
