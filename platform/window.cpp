#include "platform/window.h"

#include "platform/frame_renderer.h"
#include "platform/sdl_message_box.h"
#include "platform/window_message_box.h"
#include "platform/sdl_window.h"

namespace platform {

std::unique_ptr<Window> Window::Create(int x, int y, int width, int height) {
    SDL_Window* w = SDL_CreateWindow("", x, y, width, height, SDL_WINDOW_HIDDEN);
    if (!w) return nullptr;
    auto parts = std::make_unique<Parts>();
    parts->window = w;
    parts->frameWidth = width;
    parts->frameHeight = height;
    parts->renderer = CreateHardwareFrameRenderer(w);
    if (parts->renderer) {
        SDL_RenderSetLogicalSize(parts->renderer, width, height);
        SDL_RenderSetIntegerScale(parts->renderer, SDL_TRUE);
        parts->texture = SDL_CreateTexture(parts->renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                           width, height);
    }
    // SDL starts with text input on, and an input method would then take the
    // game's keys: it stays off (a text field turns it on while it has focus).
    SDL_StopTextInput();
    return std::unique_ptr<Window>(new Window(std::move(parts)));
}

Window::Window(std::unique_ptr<Parts> parts) : m_parts(std::move(parts)) {}

Window::~Window() {
    if (m_parts->texture) SDL_DestroyTexture(m_parts->texture);
    if (m_parts->renderer) SDL_DestroyRenderer(m_parts->renderer);
    SDL_DestroyWindow(m_parts->window);
}

uint32_t Window::Id() const { return SDL_GetWindowID(m_parts->window); }
bool Window::HasRenderer() const { return m_parts->texture != nullptr; }

void Window::Show() { SDL_ShowWindow(m_parts->window); }
void Window::SetTitle(const std::string& utf8) { SDL_SetWindowTitle(m_parts->window, utf8.c_str()); }
void Window::SetFullScreen(bool on) {
    SDL_SetWindowFullscreen(m_parts->window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}
void Window::SetResizable() { SDL_SetWindowResizable(m_parts->window, SDL_TRUE); }
void Window::CenterOnDesktop() {
    SDL_SetWindowPosition(m_parts->window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}
void Window::MoveTo(int x, int y) { SDL_SetWindowPosition(m_parts->window, x, y); }
void Window::SetClientSize(int width, int height) { SDL_SetWindowSize(m_parts->window, width, height); }
void Window::Maximize() { SDL_MaximizeWindow(m_parts->window); }
void Window::Restore() { SDL_RestoreWindow(m_parts->window); }

WindowRect Window::Placement() const {
    WindowRect r;
    SDL_GetWindowPosition(m_parts->window, &r.x, &r.y);
    SDL_GetWindowSize(m_parts->window, &r.width, &r.height);
    return r;
}
bool Window::Minimized() const { return (SDL_GetWindowFlags(m_parts->window) & SDL_WINDOW_MINIMIZED) != 0; }
bool Window::Maximized() const { return (SDL_GetWindowFlags(m_parts->window) & SDL_WINDOW_MAXIMIZED) != 0; }
bool Window::HasInputFocus() const { return (SDL_GetWindowFlags(m_parts->window) & SDL_WINDOW_INPUT_FOCUS) != 0; }

WindowRect WorkAreaOf(const Window* w, WindowRect fallback) {
    int display = w ? SDL_GetWindowDisplayIndex(SdlWindowOf(w)) : 0;
    if (display < 0) display = 0;
    SDL_Rect r{fallback.x, fallback.y, fallback.width, fallback.height};
    if (SDL_GetDisplayUsableBounds(display, &r) != 0) SDL_GetDisplayBounds(display, &r);
    return {r.x, r.y, r.w, r.h};
}

void Window::ShowFrame(const uint32_t* pixels) {
    Parts& p = *m_parts;
    if (!p.texture) {
        PresentToWindowSurface(p.window, pixels, p.frameWidth, p.frameHeight);
        return;
    }
    SDL_UpdateTexture(p.texture, nullptr, pixels, p.frameWidth * 4);
    SDL_SetRenderDrawColor(p.renderer, 0, 0, 0, 255);
    SDL_RenderClear(p.renderer);
    SDL_RenderCopy(p.renderer, p.texture, nullptr, nullptr);
    SDL_RenderPresent(p.renderer);
}

void Window::FrameToWindow(int x, int y, int& wx, int& wy) const {
    wx = x;
    wy = y;
    if (SDL_Renderer* r = SDL_GetRenderer(m_parts->window))
        SDL_RenderLogicalToWindow(r, static_cast<float>(x), static_cast<float>(y), &wx, &wy);
}

void Window::WarpMouse(int frameX, int frameY) {
    int wx = 0, wy = 0;
    FrameToWindow(frameX, frameY, wx, wy);
    SDL_WarpMouseInWindow(m_parts->window, wx, wy);
}

void StartTextInput(const Window* w, int x, int y, int width, int height) {
    if (!SDL_IsTextInputActive()) SDL_StartTextInput();
    SDL_Rect r{x, y, width, height};
    if (SDL_Renderer* ren = w ? SDL_GetRenderer(SdlWindowOf(w)) : nullptr) {
        int x2 = 0, y2 = 0;
        SDL_RenderLogicalToWindow(ren, static_cast<float>(x), static_cast<float>(y), &r.x, &r.y);
        SDL_RenderLogicalToWindow(ren, static_cast<float>(x + width), static_cast<float>(y + height), &x2, &y2);
        r.w = x2 - r.x;
        r.h = y2 - r.y;
    }
    SDL_SetTextInputRect(&r);
}

void StopTextInput() {
    if (SDL_IsTextInputActive()) SDL_StopTextInput();
}

int ShowWindowMessageBox(const std::string& text, const std::string& caption, int type, const Window* owner) {
    return ShowSdlMessageBox(text, caption, type, SdlWindowOf(owner));
}

void ShowCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

}  // namespace platform
