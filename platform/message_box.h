// Message boxes. Texts and captions are CP932. The rest of the program goes
// through ShowMessageBoxOs, which shows through Service<IMessageBox>: the
// window layer installs one that routes calls made on other threads to the
// main thread, tools and headless runs one that writes to stderr, and tests
// a capturing one.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/service.h"

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

class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    virtual int Show(const std::string& text, const std::string& caption, int type) = 0;
    // The system's box (without a display: the text on stderr and the
    // default answer).
    static IMessageBox& Real();
};

// A box made of a function.
class cMessageBoxFn : public IMessageBox {
public:
    explicit cMessageBoxFn(MessageBoxFn fn) : m_fn(std::move(fn)) {}
    int Show(const std::string& text, const std::string& caption, int type) override {
        return m_fn(text, caption, type);
    }

private:
    MessageBoxFn m_fn;
};

// Test helper, installed for its lifetime: records every box and answers
// with a fixed result.
class CapturedMessageBoxes : public IMessageBox {
public:
    struct Box {
        std::string text, caption;
        int type;
    };
    explicit CapturedMessageBoxes(int answer = IDOK);
    ~CapturedMessageBoxes() override;
    int Show(const std::string& text, const std::string& caption, int type) override;
    void SetAnswer(int answer) { m_nAnswer = answer; }
    std::vector<Box> Boxes() const;

private:
    int m_nAnswer;
    std::vector<Box> m_boxes;
    IMessageBox* m_prev = nullptr;
};

}  // namespace platform
