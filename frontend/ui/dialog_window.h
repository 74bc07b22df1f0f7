// A dialog's window: its items (the drawn controls), focus, keyboard, mouse
// and text-input handling, and its painting. It stands where the window
// system's dialog manager stood: the dialog object (dialog.h) talks to it
// through its handle and gets its notifications through the dialog procedure.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/ui/dialog_template.h"

namespace text {
class cFontFace;
}

namespace ui {

class cCanvas;
class cDialogWindow;
class cUiObject;

using DlgProc = intptr_t (*)(cDialogWindow* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam);

struct cWidget {
    int id = 0;
    ItemKind kind = ItemKind::kStatic;
    uint32_t style = 0;
    std::string text;
    int x = 0, y = 0, w = 0, h = 0;  // client coordinates, pixels
    bool enabled = true;
    int checked = 0;
    bool pressed = false;
    // text entry
    int selStart = 0, selEnd = 0, anchor = 0, scroll = 0;
    std::string preedit;  // input-method composition, CP932, not part of the text
    // list
    std::vector<std::string> items;
    int curSel = -1, top = 0;

    bool Focusable() const;
};

class cDialogWindow {
public:
    cDialogWindow(const DialogTemplate& t, DlgProc proc);

    intptr_t Send(unsigned msg, uintptr_t wParam = 0, intptr_t lParam = 0);

    // Outer geometry in frame coordinates and the client area inside it.
    int m_nX = 0, m_nY = 0, m_nW = 0, m_nH = 0;
    uint32_t m_dwStyle = 0;
    std::string m_strCaption;
    int m_nClientW = 0, m_nClientH = 0;
    int FrameLeft() const;
    int FrameTop() const;
    int ClientX() const { return m_nX + FrameLeft(); }
    int ClientY() const { return m_nY + FrameTop(); }

    std::vector<cWidget> m_vecItems;
    void* m_lpDlgClass = nullptr;  // the dialog object ("DLG_CLASS")
    cUiObject* m_lpHook = nullptr;  // the keyboard-hook record ("cHook")
    DlgProc m_lpfnProc = nullptr;
    bool m_bEnded = false;
    int m_nResult = 0;
    bool m_bVisible = true;

    cWidget* Item(int id);
    cWidget* Focused();
    int FocusIndex() const { return m_nFocus; }
    void SetFocusIndex(int index, bool selectAll);
    void SetFocusId(int id);
    void SetSel(cWidget& w, int start, int end);
    void SetText(cWidget& w, const std::string& text);  // raises EN_UPDATE for a text entry
    void Click(cWidget& w);  // as the user's click (toggles, then BN_CLICKED)

    // Input, as the event loop gives it. Mouse positions are frame coordinates.
    void KeyDown(int vk, bool shift, bool ctrl);
    void TextInput(std::string_view utf8);
    void TextEditing(std::string_view utf8);
    void MouseDown(int fx, int fy, bool doubleClick);
    void MouseMove(int fx, int fy);
    void MouseUp(int fx, int fy);
    // Wheel notches (up positive): scroll the focused list, else the first.
    void MouseWheel(int notches);
    // A list's visible rows, and its first row moved so the selection shows.
    static int ListRows(const cWidget& w);
    static void EnsureVisible(cWidget& w);
    // The focused text entry's box in frame coordinates (false: none).
    bool EditBox(int* x, int* y, int* w, int* h);

    void Paint(cCanvas& c, text::cFontFace& face);

private:
    int HitTest(int fx, int fy) const;
    void Replace(cWidget& w, const std::string& insert);
    void EditKey(cWidget& w, int vk, bool shift, bool ctrl);
    void MoveInGroup(int dir);
    void MoveTab(bool back);
    int CaretFromX(cWidget& w, int cx, int cy);
    void PaintItem(cCanvas& c, text::cFontFace& face, cWidget& w, bool focused);
    void PaintEdit(cCanvas& c, text::cFontFace& face, cWidget& w, int ox, int oy, bool focused);

    int m_nFocus = -1;
    int m_nCapture = -1;
};

void EndDialog(cDialogWindow* hwnd, int result);
cWidget* GetDlgItem(cDialogWindow* hwnd, int id);

// Keys held, as the dialogs' event loop saw them (Backspace, Ctrl).
bool KeyHeld(int vk);
void SetKeyHeld(int vk, bool down);

// The clipboard: the window system's when there is one, else kept in the
// process. Tests may replace it. CP932 text.
void SetClipboardText(const std::string& cp932);
std::string GetClipboardText();

// One character of UTF-8 to CP932, strictly: false when it has no CP932 form.
bool Utf8CharToCp932(std::string_view utf8Char, std::string* out);

}  // namespace ui
