#include "frontend/ui/replay_save_dialog.h"

#include "frontend/frontend_services.h"
#include "frontend/ui/ui_messages.h"
#include "frontend/ui/window.h"
#include "platform/cp932.h"

namespace ui {

cReplaySaveDialog* g_lpReplaySaveDialog = nullptr;

namespace {

const DialogTemplate& ReplaySaveTemplate() {
    static const DialogTemplate t = [] {
        using D = cReplaySaveDialog;
        DialogTemplate d;
        d.style = WS_CAPTION;
        d.caption = SJ("リプレイの保存");
        d.w = 290;
        d.h = 170;
        d.items = {
            {D::ID_PICTURE, ItemKind::kPicture, kStyleGroup, "", 7, 7, 20, 21},
            {D::ID_CLEARED, ItemKind::kButton, kStyleGroup | kStyleMultiLine, "", 15, 40, 260, 36},
            {D::ID_PLAIN, ItemKind::kButton, kStyleTabStop | kStyleMultiLine, "", 15, 85, 260, 36},
            {D::ID_CANCEL, ItemKind::kButton, kStyleTabStop, "", 15, 130, 260, 24},
            {D::ID_PROMPT, ItemKind::kStatic, kStyleGroup, "", 20, 20, 243, 8},
        };
        return d;
    }();
    return t;
}

std::string Format(const std::string& pattern, const std::string& name) {
    std::string out = pattern;
    size_t at = out.find("%s");
    if (at != std::string::npos) out.replace(at, 2, name);
    return out;
}

}  // namespace

std::string FileNamePart(const std::string& path) {
    size_t start = 0;
    for (size_t i = 0; i < path.size(); ++i)
        if (path[i] == '\\' && !platform::IsTrailByteAt(path, i)) start = i + 1;
    return path.substr(start);
}

cReplaySaveDialog::cReplaySaveDialog(cWindow* owner, int which, std::string stagePath, std::string* name)
    : cInstanceDialog(kTemplateId, owner),
      m_lpName(name),
      m_nWhich(which != 0 ? 1 : 0),
      m_strStagePath(std::move(stagePath)) {
    g_lpReplaySaveDialog = this;
    for (int id : {ID_CLEARED, ID_PLAIN, ID_CANCEL}) m_vecButtons.push_back(cButtonControl(id));
    RequestPlacement(PlaceOnFrame(290, 170, -80));
}

const DialogTemplate* cReplaySaveDialog::Template() const { return &ReplaySaveTemplate(); }

void cReplaySaveDialog::OnInitDialog(uintptr_t wParam, intptr_t lParam) {
    cDialog::OnInitDialog(wParam, lParam);
    m_Prompt.Bind(this, m_Prompt.m_nBindId);
    m_vecBound.push_back(&m_Prompt);
    for (cButtonControl& b : m_vecButtons) {
        b.Bind(this, b.m_nBindId);
        m_vecBound.push_back(&b);
    }
    InitControls();

    m_strClearedPath.clear();
    m_strClearedName.clear();
    m_strPlainPath.clear();
    m_strPlainName.clear();
    std::string made;
    if (MakeReplayFileName(made, m_strStagePath, 1) && !made.empty()) {
        m_strClearedPath = made;
        m_strClearedName = FileNamePart(made);
    }
    made.clear();
    if (MakeReplayFileName(made, m_strStagePath, 0) && !made.empty()) {
        m_strPlainPath = made;
        m_strPlainName = FileNamePart(made);
    }

    const bool english = EnglishSetting() != 0;
    const bool previous = m_nWhich == 1;
    std::string caption, prompt, cleared, plain, cancel;
    if (english) {
        caption = previous ? "Save the Previous Play" : "Save the Current Play";
        prompt = previous ? "Save the previous play?" : "Save the current play?";
        cleared = "Save as cleared replay (passed replay)\nFile name: %s";
        plain = "Save as not cleared replay (not passed replay)\nFile name: %s";
        cancel = "Cancel";
    } else {
        caption = SJ(previous ? "1つ前のプレイを保存" : "今回のプレイを保存");
        prompt = SJ(previous ? "1つ前のプレイを保存しますか？" : "今回のプレイを保存しますか？");
        cleared = SJ("ステージクリアしたリプレイデータとして保存\nファイル名： %s");
        plain = SJ("ステージクリアしていないリプレイデータとして保存\nファイル名： %s");
        cancel = SJ("キャンセル");
    }
    if (m_hWnd) m_hWnd->m_strCaption = caption;
    if (m_Prompt.m_hWnd) m_hWnd->SetText(*m_Prompt.m_hWnd, prompt);
    const std::pair<int, std::string> texts[] = {
        {ID_CLEARED, Format(cleared, m_strClearedName)},
        {ID_PLAIN, Format(plain, m_strPlainName)},
        {ID_CANCEL, cancel},
    };
    for (const auto& [id, text] : texts)
        if (FindControlById(m_vecButtons, id)) SetItemText(m_hWnd, id, text);
    m_bInitDone = 1;
}

void cReplaySaveDialog::OnCommand(uintptr_t wParam, intptr_t lParam) {
    cDialog::OnCommand(wParam, lParam);
    if (HiWord(wParam) != BN_CLICKED) return;
    switch (LoWord(wParam)) {
        case ID_CLEARED:
            ReadControls();
            if (m_lpName) *m_lpName = m_strClearedPath;
            Close(1);
            break;
        case ID_PLAIN:
            ReadControls();
            if (m_lpName) *m_lpName = m_strPlainPath;
            Close(1);
            break;
        case ID_CANCEL:
            Close(0);
            break;
        default:
            break;
    }
}

}  // namespace ui
