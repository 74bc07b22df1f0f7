#include "platform/message_box.h"

#include "platform/cp932.h"

#include <SDL.h>

#include <mutex>

namespace platform {
namespace {

std::mutex g_mutex;

int SdlMessageBox(const std::string& text, const std::string& caption, int type) {
    std::string t = Cp932ToUtf8(text);
    std::string c = Cp932ToUtf8(caption);
    SDL_MessageBoxButtonData buttons[2];
    int count = 0;
    int kind = type & 0xF;
    if (kind == MB_YESNO) {
        buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"};
        buttons[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"};
        count = 2;
    } else if (kind == MB_OKCANCEL) {
        buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDOK, "OK"};
        buttons[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDCANCEL, "Cancel"};
        count = 2;
    } else {
        buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK,
                      "OK"};
        count = 1;
    }
    Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
    if ((type & 0xF0) == MB_ICONERROR) flags = SDL_MESSAGEBOX_ERROR;
    if ((type & 0xF0) == MB_ICONWARNING) flags = SDL_MESSAGEBOX_WARNING;
    SDL_MessageBoxData data{flags, nullptr, c.c_str(), t.c_str(), count, buttons, nullptr};
    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) != 0 || pressed < 0) {
        // No display to show it on: log to stderr and take the default answer.
        std::fprintf(stderr, "[%s] %s\n", c.c_str(), t.c_str());
        return kind == MB_YESNO ? IDNO : (kind == MB_OKCANCEL ? IDCANCEL : IDOK);
    }
    return pressed;
}

}  // namespace

IMessageBox& IMessageBox::Real() {
    static cMessageBoxFn box(SdlMessageBox);
    return box;
}

int ShowMessageBoxOs(const std::string& text, const std::string& caption, int type) {
    return Service<IMessageBox>::Get().Show(text, caption, type);
}

CapturedMessageBoxes::CapturedMessageBoxes(int answer) : m_nAnswer(answer) {
    m_prev = Service<IMessageBox>::Install(this);
}

CapturedMessageBoxes::~CapturedMessageBoxes() { Service<IMessageBox>::Install(m_prev); }

int CapturedMessageBoxes::Show(const std::string& text, const std::string& caption, int type) {
    std::lock_guard<std::mutex> lock(g_mutex);
    m_boxes.push_back({text, caption, type});
    return m_nAnswer;
}

std::vector<CapturedMessageBoxes::Box> CapturedMessageBoxes::Boxes() const {
    std::lock_guard<std::mutex> lock(g_mutex);
    return m_boxes;
}

}  // namespace platform
