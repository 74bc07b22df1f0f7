// Painting of a dialog window and its items.
#include "frontend/ui/canvas.h"
#include "frontend/ui/dialog_window.h"
#include "frontend/ui/ui_look.h"
#include "platform/cp932.h"

#include <algorithm>

namespace ui {
namespace {

void CheckMark(cCanvas& c, int x, int y) {
    static const int kDy[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int i = 0; i < 7; ++i) c.Fill(x + i, y + kDy[i], 1, 3, kText);
}

void Disc(cCanvas& c, int cx2, int cy2, int r2, uint32_t color) {
    // Centre and radius in half pixels.
    for (int y = (cy2 - r2) / 2 - 1; y <= (cy2 + r2) / 2 + 1; ++y)
        for (int x = (cx2 - r2) / 2 - 1; x <= (cx2 + r2) / 2 + 1; ++x) {
            int dx = 2 * x + 1 - cx2, dy = 2 * y + 1 - cy2;
            if (dx * dx + dy * dy <= r2 * r2) c.Pixel(x, y, color);
        }
}

}  // namespace

void cDialogWindow::Paint(cCanvas& c, text::cFontFace& face) {
    if (!m_bVisible) return;
    c.ResetClip();
    c.Fill(m_nX, m_nY, m_nW, m_nH, kFace);
    if (FrameLeft()) c.Edge(m_nX, m_nY, m_nW, m_nH, false);
    if ((m_dwStyle & WS_CAPTION) == WS_CAPTION) {
        int l = FrameLeft();
        c.Fill(m_nX + l, m_nY + l, m_nW - 2 * l, kCaptionHeight - 1, kCaption);
        c.SetClip(m_nX + l, m_nY + l, m_nW - 2 * l - 4, kCaptionHeight - 1);
        c.Text(face, m_nX + l + 5, m_nY + l + (kCaptionHeight - 1 - kFontCell) / 2, m_strCaption, kCaptionText);
    }
    for (int i = 0; i < static_cast<int>(m_vecItems.size()); ++i) {
        c.SetClip(ClientX(), ClientY(), m_nClientW, m_nClientH);
        PaintItem(c, face, m_vecItems[i], i == m_nFocus);
    }
    c.ResetClip();
}

void cDialogWindow::PaintItem(cCanvas& c, text::cFontFace& face, cWidget& w, bool focused) {
    const int ox = ClientX() + w.x, oy = ClientY() + w.y;
    const uint32_t ink = w.enabled ? kText : kGrayText;
    const int textY = oy + (w.h - kFontCell) / 2;
    switch (w.kind) {
        case ItemKind::kStatic: {
            // Wraps in its width; never cut off below (the client area clips).
            auto lines = WrapText(face, w.text, std::max(w.w, 1));
            for (size_t i = 0; i < lines.size(); ++i) c.Text(face, ox, oy + static_cast<int>(i) * kLineHeight, lines[i], ink);
            break;
        }
        case ItemKind::kGroupBox: {
            int top = oy + kFontCell / 2;
            c.Outline(ox, top, w.w - 1, w.h - kFontCell / 2 - 1, kShadow);
            c.Outline(ox + 1, top + 1, w.w - 1, w.h - kFontCell / 2 - 1, kLight);
            if (!w.text.empty()) {
                int tw = TextWidth(face, w.text);
                c.Fill(ox + 6, oy, tw + 4, kFontCell, kFace);
                c.Text(face, ox + 8, oy, w.text, ink);
            }
            break;
        }
        case ItemKind::kButton: {
            bool isDefault = (w.style & kStyleDefault) != 0;
            int x = ox, y = oy, bw = w.w, bh = w.h;
            if (isDefault || focused) {
                c.Outline(x, y, bw, bh, kDark);
                ++x, ++y, bw -= 2, bh -= 2;
            }
            c.Fill(x, y, bw, bh, kFace);
            if (w.pressed)
                c.Outline(x, y, bw, bh, kShadow);
            else
                c.Edge(x, y, bw, bh, false);
            int shift = w.pressed ? 1 : 0;
            std::vector<std::string> lines;
            if (w.style & kStyleMultiLine) {
                size_t p = 0;
                for (;;) {
                    size_t n = w.text.find('\n', p);
                    lines.push_back(w.text.substr(p, n == std::string::npos ? std::string::npos : n - p));
                    if (n == std::string::npos) break;
                    p = n + 1;
                }
            } else {
                lines.push_back(w.text);
            }
            int blockH = static_cast<int>(lines.size()) * kLineHeight - (kLineHeight - kFontCell);
            int ty = oy + (w.h - blockH) / 2 + shift;
            for (const std::string& line : lines) {
                int tw = TextWidth(face, line);
                c.Text(face, ox + (w.w - tw) / 2 + shift, ty, line, ink);
                ty += kLineHeight;
            }
            if (focused) c.DottedOutline(x + 3, y + 3, bw - 6, bh - 6, kFocus);
            break;
        }
        case ItemKind::kCheckBox:
        case ItemKind::kRadio: {
            int by = oy + (w.h - kCheckSize) / 2;
            if (w.kind == ItemKind::kCheckBox) {
                c.Fill(ox, by, kCheckSize, kCheckSize, w.pressed ? kFace : kWindow);
                c.Edge(ox, by, kCheckSize, kCheckSize, true);
                if (w.checked) CheckMark(c, ox + 3, by + 3);
            } else {
                Disc(c, 2 * ox + kCheckSize - 1, 2 * by + kCheckSize, kCheckSize - 1, kShadow);
                Disc(c, 2 * ox + kCheckSize - 1, 2 * by + kCheckSize, kCheckSize - 3, w.pressed ? kFace : kWindow);
                if (w.checked) Disc(c, 2 * ox + kCheckSize - 1, 2 * by + kCheckSize, 4, kText);
            }
            int tx = ox + kCheckSize + 4;
            int tw = c.Text(face, tx, textY, w.text, ink);
            if (focused) c.DottedOutline(tx - 2, textY - 1, tw + 4, kFontCell + 3, kFocus);
            break;
        }
        case ItemKind::kEdit:
            PaintEdit(c, face, w, ox, oy, focused);
            break;
        case ItemKind::kPicture:
            c.Outline(ox, oy, w.w, w.h, kShadow);
            break;
        case ItemKind::kList: {
            c.Fill(ox, oy, w.w, w.h, kWindow);
            c.Edge(ox, oy, w.w, w.h, true);
            int rows = ListRows(w);
            w.top = std::clamp(w.top, 0, std::max(0, static_cast<int>(w.items.size()) - rows));
            c.SetClip(ox + 2, oy + 2, w.w - 4, w.h - 4);
            for (int r = 0; r < rows && w.top + r < static_cast<int>(w.items.size()); ++r) {
                int i = w.top + r, ry = oy + 2 + r * kLineHeight;
                bool sel = i == w.curSel;
                if (sel) c.Fill(ox + 2, ry, w.w - 4, kLineHeight, focused ? kHighlight : kFace);
                c.Text(face, ox + 4, ry + 1, w.items[i], sel && focused ? kHighlightText : ink);
            }
            break;
        }
    }
}

void cDialogWindow::PaintEdit(cCanvas& c, text::cFontFace& face, cWidget& w, int ox, int oy, bool focused) {
    c.Fill(ox, oy, w.w, w.h, w.enabled ? kWindow : kFace);
    c.Edge(ox, oy, w.w, w.h, true);
    const bool multi = (w.style & kStyleMultiLine) != 0;
    const int innerX = ox + 3, innerW = std::max(1, w.w - 6);
    const int caret = w.anchor == w.selStart ? w.selEnd : w.selStart;
    const std::string& t = w.text;
    // Keep the caret in view (one line: horizontal scrolling).
    if (!multi) {
        int caretX = TextWidth(face, std::string_view(t).substr(0, caret)) + (focused ? TextWidth(face, w.preedit) : 0);
        if (caretX - w.scroll > innerW - 1) w.scroll = caretX - innerW + 1;
        if (caretX - w.scroll < 0) w.scroll = caretX;
        w.scroll = std::max(0, w.scroll);
    } else {
        w.scroll = 0;
    }
    c.SetClip(ox + 2, oy + 2, w.w - 4, w.h - 4);
    const int firstY = multi ? oy + 3 : oy + (w.h - kFontCell) / 2;
    int pen = innerX - w.scroll, y = firstY, caretPx = -1, caretPy = y;
    const int selMin = std::min(w.selStart, w.selEnd), selMax = std::max(w.selStart, w.selEnd);
    const uint32_t ink = w.enabled ? kText : kGrayText;
    for (int pos = 0;;) {
        if (pos == caret && focused) {
            if (!w.preedit.empty()) {
                int pw = c.Text(face, pen, y, w.preedit, kPreedit);
                c.HLine(pen, y + kFontCell, pw, kPreedit);
                pen += pw;
            }
            caretPx = pen, caretPy = y;
        }
        if (pos >= static_cast<int>(t.size())) break;
        if (t[pos] == '\r' && pos + 1 < static_cast<int>(t.size()) && t[pos + 1] == '\n') {
            if (multi) {
                pen = innerX;
                y += kLineHeight;
            }
            pos += 2;
            continue;
        }
        int len = static_cast<int>(platform::Cp932CharLen(t, static_cast<size_t>(pos)));
        std::string_view ch = std::string_view(t).substr(pos, len);
        int adv = TextWidth(face, ch);
        bool sel = focused && pos >= selMin && pos < selMax;
        if (sel) c.Fill(pen, y - 1, adv, kFontCell + 2, kHighlight);
        c.Text(face, pen, y, ch, sel ? kHighlightText : ink);
        pen += adv;
        pos += len;
    }
    if (focused && caretPx >= 0 && selMin == selMax) c.VLine(caretPx, caretPy - 1, kFontCell + 2, kText);
}

}  // namespace ui
