// Message boxes. Texts and captions are CP932. The rest of the program goes
// through ShowMessageBoxOs; tests install a capturing implementation, and the
// window layer routes calls made on other threads to the main thread.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace platform {

// Box types and results (the values of the Windows API the game data assumes).
enum : int {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON2 = 0x100,  // the second button is the default and has the focus
};
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

using MessageBoxFn = std::function<int(const std::string& text, const std::string& caption, int type)>;

// Shows a box and returns the button pressed.
int ShowMessageBoxOs(const std::string& text, const std::string& caption, int type);

// Replaces the implementation (empty: the SDL one). Returns the previous one.
MessageBoxFn SetMessageBoxImpl(MessageBoxFn fn);

// Test helper: records every box and answers with a fixed result.
class CapturedMessageBoxes {
public:
    struct Box {
        std::string text, caption;
        int type;
    };
    explicit CapturedMessageBoxes(int answer = IDOK);
    ~CapturedMessageBoxes();
    void SetAnswer(int answer) { m_nAnswer = answer; }
    std::vector<Box> Boxes() const;

private:
    int m_nAnswer;
    std::vector<Box> m_boxes;
    MessageBoxFn m_prev;
};

}  // namespace platform
