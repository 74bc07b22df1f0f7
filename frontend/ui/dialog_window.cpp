#include "frontend/ui/dialog_window.h"

#include "frontend/ui/canvas.h"
#include "frontend/ui/dialog.h"
#include "frontend/ui/ui_look.h"
#include "frontend/ui/ui_messages.h"
#include "frontend/ui/window.h"
#include "platform/clipboard.h"
#include "platform/cp932.h"

#include <iconv.h>

#include <algorithm>
#include <mutex>

namespace ui {
namespace {

bool g_keys[256] = {};
std::mutex g_clipMutex;
std::string g_clipFallback;

bool IsMirrorKey(int vk) {
    return vk == VK_SPACE || (vk >= VK_LEFT && vk <= VK_DOWN) || vk == VK_DELETE || (vk >= VK_F1 && vk <= VK_F8);
}

// Start of the unit before / after pos: a two-byte character, CR LF, or a byte.
int PrevPos(const std::string& s, int pos) {
    int i = 0, last = 0;
    while (i < pos && i < static_cast<int>(s.size())) {
        last = i;
        if (s[i] == '\r' && i + 1 < static_cast<int>(s.size()) && s[i + 1] == '\n')
            i += 2;
        else
            i += static_cast<int>(platform::Cp932CharLen(s, i));
    }
    return last;
}

int NextPos(const std::string& s, int pos) {
    if (pos >= static_cast<int>(s.size())) return static_cast<int>(s.size());
    if (s[pos] == '\r' && pos + 1 < static_cast<int>(s.size()) && s[pos + 1] == '\n') return pos + 2;
    return pos + static_cast<int>(platform::Cp932CharLen(s, pos));
}

// A position on a character boundary (a trail byte moves on).
int Snap(const std::string& s, int pos) {
    pos = std::clamp(pos, 0, static_cast<int>(s.size()));
    if (pos > 0 && platform::IsTrailByteAt(s, static_cast<size_t>(pos))) ++pos;
    return pos;
}

void GroupBounds(const std::vector<cWidget>& items, int index, int* first, int* last) {
    int f = index;
    while (f > 0 && !(items[f].style & kStyleGroup)) --f;
    int l = index + 1;
    while (l < static_cast<int>(items.size()) && !(items[l].style & kStyleGroup)) ++l;
    *first = f;
    *last = l - 1;
}

}  // namespace

bool KeyHeld(int vk) { return vk >= 0 && vk < 256 && g_keys[vk]; }
void SetKeyHeld(int vk, bool down) {
    if (vk >= 0 && vk < 256) g_keys[vk] = down;
}

void SetClipboardText(const std::string& cp932) {
    std::string utf8 = platform::Cp932ToUtf8(cp932);
    if (platform::SetClipboardUtf8(utf8)) return;
    std::lock_guard<std::mutex> lock(g_clipMutex);
    g_clipFallback = cp932;
}

std::string GetClipboardText() {
    std::string utf8;
    if (platform::GetClipboardUtf8(utf8)) {
        std::string out;
        size_t i = 0;
        while (i < utf8.size()) {  // strictly: a character with no CP932 form ends the text
            size_t n = 1;
            unsigned char c = static_cast<unsigned char>(utf8[i]);
            if (c >= 0xF0) n = 4; else if (c >= 0xE0) n = 3; else if (c >= 0xC0) n = 2;
            std::string ch;
            if (!Utf8CharToCp932(utf8.substr(i, n), &ch)) break;
            out += ch;
            i += n;
        }
        return out;
    }
    std::lock_guard<std::mutex> lock(g_clipMutex);
    return g_clipFallback;
}

bool Utf8CharToCp932(std::string_view utf8Char, std::string* out) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    char buf[16];
    char* src = const_cast<char*>(utf8Char.data());
    size_t srcLeft = utf8Char.size();
    char* dst = buf;
    size_t dstLeft = sizeof buf;
    size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1) || r != 0 || srcLeft != 0 || dst == buf) return false;
    out->assign(buf, dst);
    return true;
}

bool cWidget::Focusable() const {
    return enabled && kind != ItemKind::kStatic && kind != ItemKind::kGroupBox && kind != ItemKind::kPicture;
}

cDialogWindow::cDialogWindow(const DialogTemplate& t, DlgProc proc)
    : m_dwStyle(t.style), m_strCaption(t.caption), m_lpfnProc(proc), m_bVisible(t.visible) {
    m_nClientW = ScaleDluX(t.w);
    m_nClientH = ScaleDluY(t.h);
    m_nW = m_nClientW + 2 * FrameLeft();
    m_nH = m_nClientH + FrameTop() + FrameLeft();
    // Where the dialog manager puts a dialog: centred on the frame.
    m_nX = (kDesktopWidth - m_nW) / 2;
    m_nY = (kDesktopHeight - m_nH) / 2;
    for (const ItemTemplate& it : t.items) {
        cWidget w;
        w.id = it.id;
        w.kind = it.kind;
        w.style = it.style;
        w.text = it.text;
        w.x = ScaleDluX(it.x);
        w.y = ScaleDluY(it.y);
        w.w = ScaleDluX(it.w);
        w.h = ScaleDluY(it.h);
        w.enabled = !(it.style & kStyleDisabled);
        m_vecItems.push_back(std::move(w));
    }
}

int cDialogWindow::FrameLeft() const { return (m_dwStyle & (WS_DLGFRAME | WS_THICKFRAME)) ? kFrameWidth : 0; }
int cDialogWindow::FrameTop() const {
    return FrameLeft() + ((m_dwStyle & WS_CAPTION) == WS_CAPTION ? kCaptionHeight : 0);
}

intptr_t cDialogWindow::Send(unsigned msg, uintptr_t wParam, intptr_t lParam) {
    return m_lpfnProc ? m_lpfnProc(this, msg, wParam, lParam) : 0;
}

cWidget* cDialogWindow::Item(int id) {
    for (cWidget& w : m_vecItems)
        if (w.id == id) return &w;
    return nullptr;
}

cWidget* cDialogWindow::Focused() {
    return m_nFocus >= 0 && m_nFocus < static_cast<int>(m_vecItems.size()) ? &m_vecItems[m_nFocus] : nullptr;
}

void cDialogWindow::SetFocusIndex(int index, bool selectAll) {
    if (index == m_nFocus) return;
    int old = m_nFocus;
    m_nFocus = index;
    if (old >= 0 && old < static_cast<int>(m_vecItems.size())) {
        cWidget& o = m_vecItems[old];
        o.preedit.clear();
        if (o.kind == ItemKind::kEdit) Send(WM_COMMAND, MakeWParam(o.id, EN_KILLFOCUS), 0);
    }
    if (cWidget* f = Focused(); f && f->kind == ItemKind::kEdit && selectAll) SetSel(*f, 0, static_cast<int>(f->text.size()));
}

void cDialogWindow::SetFocusId(int id) {
    for (int i = 0; i < static_cast<int>(m_vecItems.size()); ++i)
        if (m_vecItems[i].id == id) SetFocusIndex(i, true);
}

void cDialogWindow::SetSel(cWidget& w, int start, int end) {
    w.selStart = Snap(w.text, start);
    w.selEnd = Snap(w.text, end);
    w.anchor = w.selStart;
}

void cDialogWindow::SetText(cWidget& w, const std::string& text) {
    w.text = text;
    w.selStart = std::min(w.selStart, static_cast<int>(text.size()));
    w.selEnd = std::min(w.selEnd, static_cast<int>(text.size()));
    if (w.kind == ItemKind::kEdit) Send(WM_COMMAND, MakeWParam(w.id, EN_UPDATE), 0);
}

void cDialogWindow::Click(cWidget& w) {
    if (!w.enabled) return;
    if (w.kind == ItemKind::kCheckBox) {
        w.checked = w.checked ? 0 : 1;
    } else if (w.kind == ItemKind::kRadio) {
        int index = static_cast<int>(&w - m_vecItems.data()), first = 0, last = 0;
        GroupBounds(m_vecItems, index, &first, &last);
        for (int i = first; i <= last; ++i)
            if (m_vecItems[i].kind == ItemKind::kRadio) m_vecItems[i].checked = i == index;
    } else if (w.kind != ItemKind::kButton) {
        return;
    }
    Send(WM_COMMAND, MakeWParam(w.id, BN_CLICKED), 0);
}

void cDialogWindow::MoveTab(bool back) {
    int n = static_cast<int>(m_vecItems.size());
    if (n == 0) return;
    int i = m_nFocus;
    for (int step = 0; step < n; ++step) {
        i = back ? (i <= 0 ? n - 1 : i - 1) : (i + 1) % n;
        const cWidget& w = m_vecItems[i];
        if (!(w.style & kStyleTabStop) || !w.Focusable()) continue;
        if (w.kind == ItemKind::kRadio) {  // a radio group is entered at its checked button
            int first = 0, last = 0;
            GroupBounds(m_vecItems, i, &first, &last);
            for (int k = first; k <= last; ++k)
                if (m_vecItems[k].kind == ItemKind::kRadio && m_vecItems[k].checked && m_vecItems[k].enabled) i = k;
        }
        SetFocusIndex(i, true);
        return;
    }
}

void cDialogWindow::MoveInGroup(int dir) {
    int first = 0, last = 0;
    GroupBounds(m_vecItems, m_nFocus, &first, &last);
    int i = m_nFocus;
    for (int step = first; step <= last; ++step) {
        i += dir;
        if (i < first) i = last;
        if (i > last) i = first;
        if (m_vecItems[i].kind == ItemKind::kRadio && m_vecItems[i].enabled) {
            SetFocusIndex(i, false);
            Click(m_vecItems[i]);
            return;
        }
    }
}

void cDialogWindow::Replace(cWidget& w, const std::string& insert) {
    int s = std::min(w.selStart, w.selEnd), e = std::max(w.selStart, w.selEnd);
    std::string t = w.text.substr(0, s) + insert + w.text.substr(e);
    int caret = s + static_cast<int>(insert.size());
    w.text = t;
    w.selStart = w.selEnd = w.anchor = caret;
    Send(WM_COMMAND, MakeWParam(w.id, EN_UPDATE), 0);
}

void cDialogWindow::EditKey(cWidget& w, int vk, bool shift, bool ctrl) {
    int s = std::min(w.selStart, w.selEnd), e = std::max(w.selStart, w.selEnd);
    auto moveTo = [&](int pos) {
        if (!shift) w.anchor = pos;
        w.selStart = std::min(w.anchor, pos);
        w.selEnd = std::max(w.anchor, pos);
    };
    int caret = w.anchor == w.selStart ? w.selEnd : w.selStart;
    if (ctrl && (vk == 'A')) {
        SetSel(w, 0, static_cast<int>(w.text.size()));
    } else if (ctrl && (vk == 'C' || vk == 'X' || vk == VK_INSERT)) {
        if (s != e) SetClipboardText(w.text.substr(s, e - s));
        if (vk == 'X' && s != e) Replace(w, "");
    } else if ((ctrl && vk == 'V') || (shift && vk == VK_INSERT)) {
        std::string t = GetClipboardText();
        if (!(w.style & kStyleMultiLine)) t = t.substr(0, t.find_first_of("\r\n"));
        if (!t.empty()) Replace(w, t);
    } else if (vk == VK_LEFT) {
        moveTo(!shift && s != e ? s : PrevPos(w.text, caret));
    } else if (vk == VK_RIGHT) {
        moveTo(!shift && s != e ? e : NextPos(w.text, caret));
    } else if (vk == VK_HOME) {
        moveTo(0);
    } else if (vk == VK_END) {
        moveTo(static_cast<int>(w.text.size()));
    } else if (vk == VK_BACK) {
        if (s == e) {
            if (s == 0) return;
            w.selStart = PrevPos(w.text, s);
            w.selEnd = s;
        }
        Replace(w, "");
    } else if (vk == VK_DELETE) {
        if (s == e) {
            if (e >= static_cast<int>(w.text.size())) return;
            w.selStart = s;
            w.selEnd = NextPos(w.text, s);
        }
        Replace(w, "");
    }
}

void cDialogWindow::KeyDown(int vk, bool shift, bool ctrl) {
    cWidget* f = Focused();
    bool composing = f && f->kind == ItemKind::kEdit && !f->preedit.empty();
    if (composing && (vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_TAB || vk == VK_BACK ||
                      (vk >= VK_LEFT && vk <= VK_DOWN)))
        return;  // the input method's
    switch (vk) {
        case VK_TAB:
            MoveTab(shift);
            break;
        case VK_SPACE:
            if (f && f->kind != ItemKind::kEdit && f->kind != ItemKind::kList) Click(*f);
            break;
        case VK_RETURN: {
            cWidget* target = f && f->kind == ItemKind::kButton ? f : nullptr;
            if (!target)
                for (cWidget& w : m_vecItems)
                    if (w.kind == ItemKind::kButton && (w.style & kStyleDefault) && w.enabled) target = &w;
            if (target) Click(*target);
            break;
        }
        case VK_ESCAPE:
            // Never closes a dialog; a message box takes it as its close.
            if (!m_lpHook && !KeyboardHookInstalled()) Send(WM_CLOSE);
            break;
        default:
            if (f && f->kind == ItemKind::kEdit) {
                EditKey(*f, vk, shift, ctrl);
            } else if (f && f->kind == ItemKind::kRadio && vk >= VK_LEFT && vk <= VK_DOWN) {
                MoveInGroup(vk == VK_LEFT || vk == VK_UP ? -1 : 1);
            } else if (f && f->kind == ItemKind::kList && !f->items.empty()) {
                const int last = static_cast<int>(f->items.size()) - 1, page = std::max(1, ListRows(*f) - 1);
                int sel = f->curSel;
                switch (vk) {
                    case VK_UP: sel = f->curSel - 1; break;
                    case VK_DOWN: sel = f->curSel + 1; break;
                    case VK_PRIOR: sel = f->curSel - page; break;
                    case VK_NEXT: sel = f->curSel < 0 ? page : f->curSel + page; break;
                    case VK_HOME: sel = 0; break;
                    case VK_END: sel = last; break;
                    default: break;
                }
                if (sel != f->curSel) {
                    f->curSel = std::clamp(sel, 0, last);
                    EnsureVisible(*f);
                    Send(WM_COMMAND, MakeWParam(f->id, LBN_SELCHANGE), 0);
                }
            }
            break;
    }
    // The keyboard hook's copy of the key for the dialog (every key but Tab).
    if (!m_bEnded && m_lpHook && KeyboardHookInstalled() && vk != VK_TAB)
        Send(IsMirrorKey(vk) ? unsigned(UM_MIRRORKEY) : unsigned(WM_KEYDOWN), static_cast<uintptr_t>(vk), 0);
}

void cDialogWindow::TextInput(std::string_view utf8) {
    cWidget* f = Focused();
    if (!f || f->kind != ItemKind::kEdit) return;
    f->preedit.clear();
    size_t i = 0;
    while (i < utf8.size() && !m_bEnded) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        std::string ch;
        if (c >= 0x20 && Utf8CharToCp932(utf8.substr(i, n), &ch)) Replace(*f, ch);
        i += n;
        f = Focused();
        if (!f || f->kind != ItemKind::kEdit) return;
    }
}

void cDialogWindow::TextEditing(std::string_view utf8) {
    cWidget* f = Focused();
    if (!f || f->kind != ItemKind::kEdit) return;
    f->preedit = utf8.empty() ? std::string() : platform::Utf8ToCp932(utf8);
}

int cDialogWindow::HitTest(int fx, int fy) const {
    int cx = fx - ClientX(), cy = fy - ClientY();
    for (int i = static_cast<int>(m_vecItems.size()) - 1; i >= 0; --i) {
        const cWidget& w = m_vecItems[i];
        if (w.kind == ItemKind::kGroupBox || w.kind == ItemKind::kStatic) continue;
        if (cx >= w.x && cx < w.x + w.w && cy >= w.y && cy < w.y + w.h) return i;
    }
    return -1;
}

int cDialogWindow::CaretFromX(cWidget& w, int cx, int cy) {
    auto face = TemplateFace();
    if (!face) return 0;
    int line = (w.style & kStyleMultiLine) ? std::max(0, (cy - w.y - 3) / kLineHeight) : 0;
    int pos = 0, l = 0;
    while (l < line) {
        size_t cr = w.text.find("\r\n", pos);
        if (cr == std::string::npos) break;
        pos = static_cast<int>(cr) + 2;
        ++l;
    }
    int pen = w.x + 3 - w.scroll;
    while (pos < static_cast<int>(w.text.size()) && w.text[pos] != '\r') {
        int next = NextPos(w.text, pos);
        int adv = TextWidth(*face, std::string_view(w.text).substr(pos, next - pos));
        if (cx < pen + adv / 2) break;
        pen += adv;
        pos = next;
    }
    return pos;
}

void cDialogWindow::MouseDown(int fx, int fy, bool doubleClick) {
    int i = HitTest(fx, fy);
    if (i < 0) return;
    cWidget& w = m_vecItems[i];
    if (!w.Focusable()) return;
    SetFocusIndex(i, false);
    m_nCapture = i;
    int cx = fx - ClientX(), cy = fy - ClientY();
    if (w.kind == ItemKind::kEdit) {
        int p = CaretFromX(w, cx, cy);
        w.selStart = w.selEnd = w.anchor = p;
    } else if (w.kind == ItemKind::kList) {
        int row = w.top + (cy - w.y - 2) / kLineHeight;
        if (row >= 0 && row < static_cast<int>(w.items.size())) {
            w.curSel = row;
            Send(WM_COMMAND, MakeWParam(w.id, doubleClick ? LBN_DBLCLK : LBN_SELCHANGE), 0);
        }
        m_nCapture = -1;
    } else {
        w.pressed = true;
    }
}

void cDialogWindow::MouseMove(int fx, int fy) {
    if (m_nCapture < 0 || m_nCapture >= static_cast<int>(m_vecItems.size())) return;
    cWidget& w = m_vecItems[m_nCapture];
    if (w.kind == ItemKind::kEdit) {
        int p = CaretFromX(w, fx - ClientX(), fy - ClientY());
        w.selStart = std::min(w.anchor, p);
        w.selEnd = std::max(w.anchor, p);
    } else {
        w.pressed = HitTest(fx, fy) == m_nCapture;
    }
}

void cDialogWindow::MouseUp(int fx, int fy) {
    if (m_nCapture < 0 || m_nCapture >= static_cast<int>(m_vecItems.size())) return;
    int i = m_nCapture;
    m_nCapture = -1;
    cWidget& w = m_vecItems[i];
    if (w.kind == ItemKind::kEdit) return;
    w.pressed = false;
    if (HitTest(fx, fy) == i) Click(w);
}

int cDialogWindow::ListRows(const cWidget& w) { return std::max(1, (w.h - 4) / kLineHeight); }

void cDialogWindow::EnsureVisible(cWidget& w) {
    const int rows = ListRows(w);
    if (w.curSel >= 0) {
        if (w.curSel < w.top) w.top = w.curSel;
        if (w.curSel >= w.top + rows) w.top = w.curSel - rows + 1;
    }
    w.top = std::clamp(w.top, 0, std::max(0, static_cast<int>(w.items.size()) - rows));
}

void cDialogWindow::MouseWheel(int notches) {
    cWidget* list = Focused();
    if (!list || list->kind != ItemKind::kList) {
        list = nullptr;
        for (cWidget& w : m_vecItems)
            if (w.kind == ItemKind::kList && w.enabled) {
                list = &w;
                break;
            }
    }
    if (!list) return;
    const int rows = ListRows(*list);
    list->top = std::clamp(list->top - 3 * notches, 0, std::max(0, static_cast<int>(list->items.size()) - rows));
}

bool cDialogWindow::EditBox(int* x, int* y, int* w, int* h) {
    cWidget* f = Focused();
    if (!f || f->kind != ItemKind::kEdit) return false;
    *x = ClientX() + f->x;
    *y = ClientY() + f->y;
    *w = f->w;
    *h = f->h;
    return true;
}

void EndDialog(cDialogWindow* hwnd, int result) {
    if (!hwnd) return;
    hwnd->m_bEnded = true;
    hwnd->m_nResult = result;
}

cWidget* GetDlgItem(cDialogWindow* hwnd, int id) { return hwnd ? hwnd->Item(id) : nullptr; }

}  // namespace ui
