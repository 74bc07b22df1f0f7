#include "frontend/scenes/scene_options.h"

#include <algorithm>

#include "base/error_box.h"
#include "base/files.h"
#include "base/log.h"
#include "base/main_thread.h"
#include "base/messages.h"
#include "base/quit.h"
#include "base/scene_state.h"
#include "media/frame_loop.h"
#include "records/system_ini.h"
#include "frontend/data/option_data.h"
#include "frontend/frontend_services.h"
#include "media/input/menu_cursor.h"
#include "media/gfx/dd_blit.h"
#include "media/input/input_list.h"
#include "media/sound/bgm_manager.h"
#include "media/sound/ds_sound.h"
#include "media/text/font.h"
#include "platform/cp932.h"
#include "play/message_window.h"
#include "records/data_record.h"
#include "records/system_data.h"

namespace {

constexpr int kTitleOptions = 5;  // the title menu's options item
constexpr int kMusicIndex = 5;    // the options' entry of the menu music
constexpr int kDirUp = 4, kDirDown = 8;

// Sound-effect levels 0..10 in hundredths of a decibel.
constexpr int kSeVolumes[11] = {-10000, -3000, -2000, -1300, -1000, -800, -600, -400, -200, -100, 0};

// Text of a list entry; a value outside the list has none.
std::string ListText(const cCheckedVector<std::string>& list, int32_t value) {
    return value >= 0 && value < static_cast<int32_t>(list.size()) ? list[value] : std::string();
}

}  // namespace

void UpdateMusicBackEnd() {
    // The music manager is the main thread's (its close stops the music at
    // any time): it is ended and made again there, as every music request is.
    const int volume = g_OptionData.m_nBgmVolume;
    const intptr_t changed = RunOnMainThread([volume]() -> intptr_t {
        const bool up = DS_BgmInitialised();
        if (up && volume == 0) {
            DS_BgmEnd();
        } else if (!up && volume > 0) {
            DS_BgmEnd();
            DS_BgmInit(1, g_BgmOggTable, g_BgmMidiTable, kBgmTracks, g_SystemIni.Midi_DirectMusic);
        } else {
            return 0;
        }
        return 1;
    });
    if (changed) g_SceneState.m_nBgmEntry = 0;
}

cSceneOptions::cSceneOptions()
    : cSceneMenu(SCENE_OPTIONS, kMusicIndex, kMenuButtons2, {kSlotAccessory, kSlotWindow}) {
    SetHandlers<cSceneOptions>({&cSceneOptions::FadeIn, &cSceneOptions::UpdateRows, &cSceneOptions::FadeOut});
}

void cSceneOptions::Init() {
    BeginInit();
    m_nItems = 0;
    const cCheckedVector<cCmd>& menu = g_SystemData.m_vecOptionMenu;
    for (int a = 0; a < static_cast<int>(menu.size()) && m_nItems < OPTION_ACTIONS; ++a)
        if (menu.at(a).m_nEnabled) m_aItemAction[m_nItems++] = a;
    if (m_nItems == 0) m_aItemAction[m_nItems++] = OPTION_PALETTE;
    BuildScreenPage();
    m_nStep = 0;
}

int32_t* cSceneOptions::OptionValue(int action, int& top) {
    cOptionData& o = g_OptionData;
    switch (action) {
        case OPTION_PALETTE: top = 23; return &o.m_nPaletteCycle;
        case OPTION_JOYSTICK: top = 1; return &o.m_bJoyRescan;
        case OPTION_BGM: top = 7; return &o.m_nBgmVolume;
        case OPTION_SE: top = 10; return &o.m_nSeVolume;
        case OPTION_RANKING: top = 3; return &o.m_nRankingMode;
        case OPTION_AUTOSAVE: top = 2; return &o.m_nReplayAutoSave;
        case OPTION_ORDER: top = 2; return &o.m_nReplayOrder;
        case OPTION_MESSAGE: top = 21; return &o.m_nMessageAuto;
        default: top = 0; return nullptr;
    }
}

int cSceneOptions::ValueX(int action) {
    const std::string& label = g_SystemData.m_vecOptionMenu.at(action).m_strLabel;
    return std::max(16 * (SjisCharCount(label) + 6), 224);
}

std::string cSceneOptions::ValueText(int action) {
    const cOptionData& o = g_OptionData;
    const cSystemData& sd = g_SystemData;
    switch (action) {
        case OPTION_PALETTE: return Format("%d", o.m_nPaletteCycle);
        case OPTION_JOYSTICK: return o.m_bJoyRescan == 1 ? "ON" : o.m_bJoyRescan == 0 ? "OFF" : "";
        case OPTION_BGM: return Format("%d", o.m_nBgmVolume);
        case OPTION_SE: return Format("%d", o.m_nSeVolume);
        case OPTION_RANKING: return ListText(sd.m_vecRankingModeLabels, o.m_nRankingMode);
        case OPTION_NAME: return o.m_strName;
        case OPTION_AUTOSAVE: return ListText(sd.m_vecReplaySaveLabels, o.m_nReplayAutoSave);
        case OPTION_ORDER: return ListText(sd.m_vecReplayOrderLabels, o.m_nReplayOrder);
        case OPTION_MESSAGE: return MessageAutoLabel(o.m_nMessageAuto);
        default: return {};
    }
}

void cSceneOptions::Apply(int action) {
    if (action == OPTION_PALETTE) {
        LoadPaletteCycle(g_OptionData.m_nPaletteCycle);
    } else if (action == OPTION_SE) {
        const int volume = kSeVolumes[std::clamp(g_OptionData.m_nSeVolume, 0, 10)];
        for (int i = 0; i < DS_SECount(); ++i) {
            DS_SEDATA& effect = SeInfoAt(i);
            for (int copy = 0; copy < effect.nCopies; ++copy) DS_SetVolume(effect, copy, volume, 0);
        }
    }
}

void cSceneOptions::DrawPage() {
    DDSURFACEDATA* page = BeginTitledPage(kTitleOptions);
    if (!page) return;
    Font& normal = g_Fonts[1];
    const cSystemData& sd = g_SystemData;
    for (int i = 0; i < m_nItems; ++i) {
        const int y = kRowsY + kPitch * i;
        const int action = m_aItemAction[i];
        normal.DrawString(page, kLabelX, y, sd.m_vecOptionMenu.at(action).m_strLabel);
        const std::string value = ValueText(action);
        if (value.empty()) continue;
        // The name is shown as typed, its letters never replaced by icons.
        const int icons = normal.m_bIcon;
        if (action == OPTION_NAME && sd.m_bFontFlag) normal.m_bIcon = 0;
        normal.DrawString(page, ValueX(action), y, value);
        normal.m_bIcon = icons;
    }
    if (sd.m_bShowOptionNote) {
        int w = 0, h = 0;
        GetTextExtent(sd.m_strOptionNote, w, h);
        normal.DrawString(page, 320 - w / 2, 264, sd.m_strOptionNote);
    }
}

void cSceneOptions::ShowCursor() {
    const MenuCursorPos& c = g_MenuCursor.Cur();
    DDBlt(&g_BackBuffer, c.m_nPixelX, c.m_nPixelY, 16, 16, &SurfaceTable[kSlotAccessory], 64, 0, 1);
}

void cSceneOptions::UpdateRows() {
    switch (m_nStep) {
        case 0:
            g_MenuCursor.Cur() = MenuCursorPos{};
            m_nStep = 1;
            break;
        case 1: ChooseRow(); break;
        default: EditValue(); break;
    }
}

void cSceneOptions::ChooseRow() {
    cInput& in = g_InputList.at(0);
    g_MenuCursor.MoveGrid(in.m_sDir, kCursorX, kRowsY, 0, kPitch, 1, m_nItems);
    DS_PlayCursorSE(in.m_sDir, 2, 0);
    if (in.m_wButton & kButtonDecide) {
        PlaySe(1);
        const int row = std::clamp(g_MenuCursor.Cur().m_nY, 0, m_nItems - 1);
        m_nEditRow = m_aItemAction[row];
        if (m_nEditRow == OPTION_NAME) {
            // The name entry edits the options' name: the title's options
            // item has set the game type.
            SendMainWindowMessageAndWait(UM_NAMEENTRY, 0, g_nNameEntryDone);
            DrawPage();
            ShowScreenPage();
            ShowCursor();
            return;
        }
        if (m_nEditRow == OPTION_BACK) {
            m_nStep = 0;
            Leave(SCENE_TITLE);
            return;
        }
        int top = 0;
        m_pEditValue = OptionValue(m_nEditRow, top);
        if (!m_pEditValue) return;
        m_nEditMin = 0;
        m_nEditMax = top;
        m_nEditOld = *m_pEditValue;
        g_MenuCursor.Push(0);
        m_nStep = 2;
        return;
    }
    if (in.m_wButton & kButtonCancel) {
        PlaySe(2);
        m_nStep = 0;
        Leave(SCENE_TITLE);
        return;
    }
    ShowScreenPage();
    ShowCursor();
}

void cSceneOptions::EditValue() {
    cInput& in = g_InputList.at(0);
    auto change = [this](int delta) {
        int32_t& v = *m_pEditValue;
        v += delta;
        if (v < m_nEditMin) v = m_nEditMax;
        if (v > m_nEditMax) v = m_nEditMin;
        Apply(m_nEditRow);
        DrawPage();
    };
    if (in.m_sDir & kDirUp) change(1);
    if (in.m_sDir & kDirDown) change(-1);
    DS_PlayCursorSE(in.m_sDir, 2, 0);
    if (in.m_wButton & kButtonDecide) {
        PlaySe(1);
        if (m_nEditRow == OPTION_BGM)
            g_SceneState.RequestSceneBgm(SceneBgmEntry(kMusicIndex), SceneBgmRepeat(kMusicIndex), kMusicIndex, 1);
        g_MenuCursor.Pop(1);
        m_nStep = 1;
        return;
    }
    if (in.m_wButton & kButtonCancel) {
        PlaySe(2);
        *m_pEditValue = m_nEditOld;
        Apply(m_nEditRow);
        g_MenuCursor.Pop(1);
        m_nStep = 1;
        DrawPage();
        return;
    }
    ShowScreenPage();
    const MenuCursorPos* row = g_MenuCursor.Prev();
    const int y = row ? row->m_nPixelY : kRowsY;
    if (row) DDBlt(&g_BackBuffer, row->m_nPixelX, row->m_nPixelY, 16, 16, &SurfaceTable[kSlotAccessory], 80, 0, 1);
    DDBlt(&g_BackBuffer, ValueX(m_nEditRow) - 16, y, 16, 16, &SurfaceTable[kSlotAccessory], 64, 0, 1);
}

void cSceneOptions::FadeOut() {
    if (!StepFadeOut(m_nOwnKind)) return;
    UpdateMusicBackEnd();
    if (SaveOptionFile() || g_bQuit) return;
    // The values stay in memory; the player is told which file it was.
    const std::string& path = g_PathTable.at(PATH_OPTION_FILE);
    ReportLogf("%s", LastDataFileError().c_str());
    ErrorBoxf(SJ("オプションファイル %s の保存に失敗しました！").c_str(), path.c_str());
}
