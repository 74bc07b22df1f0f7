// A desktop window that shows the game's frames: made hidden, moved, sized,
// shown full screen or maximised, and given frames of XRGB8888 pixels which
// it scales by whole factors onto black. Main thread only.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

struct WindowRect {
    int x = 0, y = 0, width = 0, height = 0;
};

class Window {
public:
    // A hidden window of the given client size at (x, y) with an empty
    // caption; frames of width x height. Null when it cannot be made.
    static std::unique_ptr<Window> Create(int x, int y, int width, int height);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // The window's number in window events (Event::windowId).
    uint32_t Id() const;
    // False when frames go to the window's surface instead of a renderer
    // (a software rasteriser, or none accelerated).
    bool HasRenderer() const;

    void Show();
    void SetTitle(const std::string& utf8);
    void SetFullScreen(bool on);  // the desktop's size
    void SetResizable();
    void CenterOnDesktop();
    void MoveTo(int x, int y);
    void SetClientSize(int width, int height);
    void Maximize();
    void Restore();

    WindowRect Placement() const;  // position and client size
    bool Minimized() const;
    bool Maximized() const;
    bool HasInputFocus() const;

    // Shows a frame (0x00RRGGBB, the window's frame size).
    void ShowFrame(const uint32_t* pixels);
    // A point of the frame in window pixels (unchanged without a renderer).
    void FrameToWindow(int x, int y, int& wx, int& wy) const;
    void WarpMouse(int frameX, int frameY);

    struct Parts;
    Parts& parts() const { return *m_parts; }

private:
    explicit Window(std::unique_ptr<Parts> parts);
    std::unique_ptr<Parts> m_parts;
};

// The usable part of the window's display (without panels and docks);
// display 0 without a window; `fallback` when the display does not say.
WindowRect WorkAreaOf(const Window* w, WindowRect fallback);

// Text input on, over a rectangle of the window's frame (where an input
// method shows its candidates; taken as window pixels without a window or
// renderer), or off.
void StartTextInput(const Window* w, int x, int y, int width, int height);
void StopTextInput();

// Shows or hides the mouse pointer.
void ShowCursor(bool show);

}  // namespace platform
