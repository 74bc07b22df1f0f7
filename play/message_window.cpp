#include "play/message_window.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iterator>

#include "base/app_state.h"
#include "base/quit.h"
#include "base/system_report.h"
#include "engine/flow_runtime.h"
#include "frontend/data/game_progress.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_surface.h"
#include "media/text/font.h"
#include "play/chara.h"
#include "play/draw_stage.h"
#include "play/multi_line_extent.h"
#include "play/numeric.h"
#include "play/palette_sprite.h"
#include "media/gfx/run_time_surfaces.h"
#include "play/scene_play.h"
#include "play/stage_resources.h"

namespace {

constexpr int kCharWidth = 16;  // the pen's advance per character, a single byte too
constexpr long long kIndexCap = 1000000000LL;

bool IsLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsTrail(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }
char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a decimal number at i (digits only); false when there is none.
bool ReadNumber(const std::string& s, size_t& i, long long& value) {
    if (i >= s.size() || !IsDigit(s[i])) return false;
    value = 0;
    while (i < s.size() && IsDigit(s[i])) {
        value = std::min(kIndexCap, value * 10 + (s[i] - '0'));
        ++i;
    }
    return true;
}

// The current values the escapes read.
struct VarSources {
    cScenePlay* scene = PlayScene();
    const cChara* Chara() const { return scene ? scene->m_lpCurChara : nullptr; }
    int32_t* FlowVars() const { return scene ? scene->m_lpCurFlowVars : nullptr; }
    // The variable of a kind, or false when the index is outside its list.
    bool Read(char kind, long long index, int32_t& value) const {
        if (index < 1) return false;
        switch (kind) {
            case 'C': {
                const auto& v = g_Progress.m_vecCommonVar;
                if (index >= static_cast<long long>(v.size())) return false;
                value = v[size_t(index)];
                return true;
            }
            case 'S': {
                if (!scene || index >= static_cast<long long>(scene->m_vStageVars.size())) return false;
                value = scene->m_vStageVars[size_t(index)];
                return true;
            }
            case 'V': {
                const cChara* c = Chara();
                if (!c || index >= static_cast<long long>(c->m_vVars.size())) return false;
                value = c->m_vVars[size_t(index)];
                return true;
            }
            default: {
                int32_t* f = FlowVars();
                if (!f || index > 2) return false;
                value = f[index - 1];
                return true;
            }
        }
    }
};

// The number of an escape: the magnitude with at least minDigits digits,
// leading zeros removed unless kept, and the sign.
std::string FormatNumber(int32_t value, int minDigits, bool plus, bool keepZeros) {
    const long long mag = value < 0 ? -static_cast<long long>(value) : value;
    std::string digits = std::to_string(mag);
    if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, size_t(minDigits) - digits.size(), '0');
    if (!keepZeros) {
        const size_t nz = digits.find_first_not_of('0');
        digits = nz == std::string::npos ? "0" : digits.substr(nz);
    }
    if (value < 0) return "-" + digits;
    return plus ? "+" + digits : digits;
}

// The first of the letters in `order` that the set holds.
char FirstOf(const std::string& set, const char* order) {
    for (const char* o = order; *o; ++o)
        if (set.find(*o) != std::string::npos) return *o;
    return 0;
}

// A choice point "#R<value>[_<kinds><index>][.]" at i; the index after it.
bool ParseChoice(const std::string& s, size_t i, const VarSources& src, MessageChoice& out, size_t& end) {
    size_t j = i + 1;
    if (j >= s.size() || Upper(s[j]) != 'R') return false;
    ++j;
    bool negative = false;
    if (j < s.size() && s[j] == '-') {
        negative = true;
        ++j;
    }
    long long value;
    if (!ReadNumber(s, j, value)) return false;
    out = MessageChoice{};
    out.value = static_cast<int32_t>(std::clamp(negative ? -value : value, -999999LL, 999999LL));
    if (j < s.size() && s[j] == '_') {
        size_t k = j + 1;
        std::string kinds;
        while (k < s.size() && std::string("CSVFD").find(Upper(s[k])) != std::string::npos) kinds += Upper(s[k++]);
        if (!kinds.empty()) {
            j = k;
            long long index = 0;
            ReadNumber(s, j, index);
            switch (FirstOf(kinds, "CSVFD")) {
                case 'C': out.kind = 2, out.index = static_cast<int32_t>(std::clamp(index, 1LL, 1000LL)); break;
                case 'S': out.kind = 3, out.index = static_cast<int32_t>(std::clamp(index, 1LL, 1000LL)); break;
                case 'V': {
                    const cChara* c = src.Chara();
                    const long long last = c ? static_cast<long long>(c->m_vVars.size()) - 1 : 1;
                    out.kind = 4;
                    out.index = static_cast<int32_t>(std::max(1LL, std::min(index, last)));
                    break;
                }
                case 'F': out.kind = 5, out.index = static_cast<int32_t>(std::clamp(index, 1LL, 2LL)); break;
                default: out.kind = 1, out.index = 0; break;
            }
        }
    }
    if (j < s.size() && s[j] == '.') ++j;
    end = j;
    return true;
}

// A variable escape "#<kinds><index>[_<format>][.]" at i; the text that
// replaces it, or false when it stays as typed.
bool ParseVariable(const std::string& s, size_t i, const VarSources& src, int refreshing, std::string& number,
                   size_t& end) {
    size_t j = i + 1;
    std::string kinds;
    while (j < s.size() && std::string("CSVF").find(Upper(s[j])) != std::string::npos) kinds += Upper(s[j++]);
    if (kinds.empty()) return false;
    long long index;
    if (!ReadNumber(s, j, index)) return false;
    int minDigits = 0;
    bool plus = false, keepZeros = false;
    if (j < s.size() && s[j] == '_') {
        ++j;
        for (; j < s.size(); ++j) {
            const char c = Upper(s[j]);
            if (IsDigit(c)) minDigits = c - '0';
            else if (c == 'P') plus = true;
            else if (c == 'Z') keepZeros = true;
            else break;
        }
    }
    if (j < s.size() && s[j] == '.') ++j;
    const char kind = FirstOf(kinds, "CSVF");
    if (refreshing && (kind == 'V' || kind == 'F')) {
        number = "?";
    } else {
        int32_t value = 0;
        if (!src.Read(kind, index, value)) return false;
        number = FormatNumber(value, minDigits, plus, keepZeros);
    }
    end = j;
    return true;
}

cScenePlay* Scene() { return PlayScene(); }

}  // namespace

void FormatMessageText(std::string& text, int variables, int choices, std::vector<MessageChoice>* list,
                       int refreshing) {
    const VarSources src;
    std::string out;
    out.reserve(text.size());
    int x = 0, y = 0;
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsLead(c) && i + 1 < text.size() && IsTrail(static_cast<unsigned char>(text[i + 1]))) {
            out.append(text, i, 2);
            x += kCharWidth;
            i += 2;
            continue;
        }
        if (c == '\n') {
            out += '\n';
            x = 0;
            y += kCharWidth;
            ++i;
            continue;
        }
        if (c == '#') {
            size_t end = 0;
            MessageChoice choice;
            if (choices && ParseChoice(text, i, src, choice, end)) {
                choice.x = x;
                choice.y = y;
                if (list) list->push_back(choice);
                out += ' ';
                x += kCharWidth;
                i = end;
                continue;
            }
            std::string number;
            if (variables && ParseVariable(text, i, src, refreshing, number, end)) {
                out += number;
                x += kCharWidth * static_cast<int>(number.size());
                i = end;
                continue;
            }
        }
        out += static_cast<char>(c);
        x += kCharWidth;
        ++i;
    }
    text = std::move(out);
}

void GetTextExtent(std::string_view text, int& width, int& height) {
    const Font& font = g_Fonts[1];
    if (lpDTCon && font.m_nPitch != 0) {
        // The 3D device's font lays text out in cells: the widest line's
        // characters times the pitch. A font without a pitch is measured by
        // its glyphs (cells of no width would make a window of nothing).
        GetMultiLineExtent(font, width, height, text);
    } else {
        const text::TextSize size = font.GetTextSize(text);
        width = size.w;
        height = size.h;
    }
    width += 2;
    height += 2;
}

void cMessageWindow::Init(const MessageWindowInit& in) {
    m_nKind = in.nKind;
    m_strSource = in.strText;
    m_strText = in.strText;
    m_nGraphic1 = in.nGraphic1;
    m_nGraphic2 = in.nGraphic2;
    m_nGraphic3 = in.nGraphic3;
    m_nAnchor = in.nAnchor;
    m_nUnit = in.nUnit;
    m_nPosX = in.nX;
    m_nPosY = in.nY;
    m_nOffsetX = in.nOffsetX;
    m_nOffsetY = in.nOffsetY;
    m_bClampToScreen = in.bClamp;
    m_bFixed = in.bFixed;
    m_nDurationMode = in.nDurationMode;
    m_nFramesLeft = in.nFrames;
    m_bCountWhilePaused = in.bCountWhilePaused;
    m_nTargetId = in.nTargetId;
    m_bVariables = in.bVariables;
    m_bRefresh = in.bRefresh;
    m_nRefreshFrames = in.nRefreshFrames;
    m_bFramed = in.bFramed;
    m_bHasId = in.bHasId;
    m_nId = in.nId;
    m_bChoices = in.nDurationMode != 0 ? 0 : in.bChoices;
    m_bOpening = (in.nDurationMode == 0 && !in.bNoOpening) ? 1 : 0;
    m_dOpening = 0;
    m_bLatched = 0;
    if (m_bVariables || m_bChoices) {
        if (in.lpChoices) in.lpChoices->clear();
        FormatMessageText(m_strText, m_bVariables, m_bChoices, in.lpChoices, 0);
    }
    if (m_nKind != MESWIN_TEXT) {
        m_nWidth = m_nHeight = 16;
        return;
    }
    GetTextExtent(m_strText, m_nWidth, m_nHeight);
    if (!in.bKeepSurface) AcquireNewWorkSurface();
    DrawWindowText(m_lpSurface);
}

void cMessageWindow::Reinit(const MessageWindowInit& in) {
    const int slot = PoolSlot();
    ReleaseWorkSurface();
    MessageWindowInit kept = in;
    kept.bKeepSurface = 1;
    Init(kept);
    if (m_nKind != MESWIN_TEXT) return;
    AcquireWorkSurface(slot);
    DrawWindowText(m_lpSurface);
}

int cMessageWindow::PoolSlot() const {
    int pos = 0;
    for (const DDSURFACEDATA& sd : g_lstMessageSurfaces) {
        if (&sd == m_lpSurface) return pos;
        ++pos;
    }
    return -1;
}

void cMessageWindow::ReleaseWorkSurface() {
    if (!m_lpSurface) return;
    DDRemoveSurface(g_lstMessageSurfaces, g_lstMessageSlots, m_lpSurface);
    m_lpSurface = nullptr;
    m_nSurfaceSlot = -1;
}

void cMessageWindow::AcquireNewWorkSurface() { AcquireWorkSurface(-1); }

void cMessageWindow::AcquireWorkSurface(int slot) {
    const int memory = !lpDTCon && IsVideoMemoryLow() ? 1 : 0;
    const bool atEnd = slot < 0 || slot >= static_cast<int>(g_lstMessageSurfaces.size());
    const bool made = atEnd ? DDAddSurfaceToList(g_lstMessageSurfaces, g_lstMessageSlots, m_nWidth, m_nHeight, 1,
                                                 memory, 0, 0)
                            : DDInsertSurface(g_lstMessageSurfaces, g_lstMessageSlots, slot, m_nWidth, m_nHeight, 1,
                                              memory, 0, 0);
    const int pos = atEnd ? static_cast<int>(g_lstMessageSurfaces.size()) - 1 : slot;
    m_lpSurface = &*std::next(g_lstMessageSurfaces.begin(), pos);
    m_nSurfaceSlot = pos;
    if (!made) SetQuitAndClose();
}

void cMessageWindow::DrawWindowText(DDSURFACEDATA* surface) {
    if (!surface) return;
    if (lpDTCon || g_DD.nBpp != 8) DDFillSurface(surface, 0);
    if (m_bFramed) g_Fonts[1].DrawMultiLine(surface, 1, 1, 0, 0, m_strText, 0);
    else g_Fonts[1].DrawString(surface, 1, 1, m_strText);
}

bool cMessageWindow::Place(int& x, int& y) {
    const cScenePlay* scene = Scene();
    const double scrollX = scene ? scene->m_ScrollX.m_dPos : 0.0, scrollY = scene ? scene->m_ScrollY.m_dPos : 0.0;
    const int sx = TruncToInt(scrollX), sy = TruncToInt(scrollY);
    const int ox = scene ? scene->m_ScrollX.m_nBorder : 0, oy = scene ? scene->m_ScrollY.m_nBorder : 0;
    const int W = m_nWidth, H = m_nHeight, dx = m_nOffsetX, dy = m_nOffsetY, px = m_nPosX, py = m_nPosY;
    const bool blocks = m_nUnit == 0;
    x = y = 0;
    switch (m_nAnchor) {
        case 0:
            x = dx - (W >> 1) + 320;
            y = dy - (H >> 1) + 240;
            return true;
        case 1: case 2: case 3: case 4: case 5: case 6: {
            const cChara* c = FindCharaById(m_nTargetId);
            if (!c) return false;
            const int cx = TruncToInt(c->m_dX - sx), cy = TruncToInt(c->m_dY - sy);
            const int bl = c->m_nDrawOffsetX, bt = c->m_nDrawOffsetY, bw = c->m_nDrawWidth, bh = c->m_nDrawHeight;
            x = cx - (W >> 1) + (bw >> 1) - bl + dx;
            const int m = (m_nAnchor - 1) % 3;
            if (m == 0) y = cy - bt - H + dy;
            else if (m == 1) y = cy - bt + bh + dy + 1;
            else y = cy - (H >> 1) + (bh >> 1) - bt + dy;
            return true;
        }
        case 7:
            x = blocks ? px * 32 + dx : px + dx;
            y = blocks ? py * 32 + dy : py + dy;
            return true;
        case 8:
            x = blocks ? px * 32 - (W >> 1) + dx + 16 : px - (W >> 1) + dx;
            y = blocks ? py * 32 - (H >> 1) + dy + 16 : py - (H >> 1) + dy;
            return true;
        case 9:
            x = TruncToInt((blocks ? (ox + px) * 32 + dx : ox * 32 + dx + px) - scrollX);
            y = TruncToInt((blocks ? (oy + py) * 32 + dy : oy * 32 + dy + py) - scrollY);
            return true;
        case 10:
            x = TruncToInt((blocks ? (ox + px) * 32 - (W >> 1) + dx + 16 : ox * 32 - (W >> 1) + dx + px) -
                                 scrollX);
            y = TruncToInt((blocks ? (oy + py) * 32 - (H >> 1) + dy + 16 : oy * 32 - (H >> 1) + dy + py) -
                                 scrollY);
            return true;
        default:
            return true;  // modes the command does not know place at (0, 0)
    }
}

int cMessageWindow::UpdateMessageWindow(DDSURFACEDATA* target, int paused) {
    cScenePlay* scene = Scene();
    const bool text = m_nKind == MESWIN_TEXT;
    // A window of limited life ends when its frames run out.
    if (m_nDurationMode == 2 && (!paused || m_bCountWhilePaused)) {
        if (--m_nFramesLeft < 0) {
            if (text) ReleaseWorkSurface();
            return 1;
        }
    }
    // A window with variables is laid out again every refresh period.
    if (m_bRefresh && m_nRefreshFrames != 0 && text && m_bVariables && scene &&
        scene->m_nFrame % m_nRefreshFrames == 0) {
        std::string s = m_strSource;
        FormatMessageText(s, 1, m_bChoices, nullptr, 1);
        if (s != m_strText) {
            m_strText = std::move(s);
            int w, h;
            GetTextExtent(m_strText, w, h);
            if (w != m_nWidth || h != m_nHeight) {
                m_nWidth = w;
                m_nHeight = h;
                const int slot = PoolSlot();
                ReleaseWorkSurface();
                AcquireWorkSurface(slot);
            }
            DrawWindowText(m_lpSurface);
        }
    }
    // Its place; a window whose chara is gone has finished.
    int x, y;
    if (!Place(x, y)) {
        if (text) ReleaseWorkSurface();
        return 1;
    }
    // The latch: an unfixed screen window keeps its stage position, a fixed
    // chara window its first place.
    const double scrollX = scene ? scene->m_ScrollX.m_dPos : 0.0, scrollY = scene ? scene->m_ScrollY.m_dPos : 0.0;
    const bool screenMode = m_nAnchor == 0 || m_nAnchor == 7 || m_nAnchor == 8;
    if (screenMode && !m_bFixed) {
        if (!m_bLatched) {
            m_nLatchX = TruncToInt(x + scrollX + 0.5);
            m_nLatchY = TruncToInt(y + scrollY + 0.5);
            m_bLatched = 1;
        } else {
            x = TruncToInt(m_nLatchX - (scrollX - 0.5));
            y = TruncToInt(m_nLatchY - (scrollY - 0.5));
        }
    } else if (!screenMode && m_bFixed) {
        if (!m_bLatched) {
            m_nLatchX = x;
            m_nLatchY = y;
            m_bLatched = 1;
        }
        x = m_nLatchX;
        y = m_nLatchY;
    }
    // Kept on the screen when asked.
    if (m_bClampToScreen) {
        if (x < 0) x = 0;
        else if (x + m_nWidth > 638) x = 640 - m_nWidth;
        if (y < 20) y = 20;
        else if (y + m_nHeight > 478) y = 480 - m_nHeight;
    }
    m_nDrawX = x;
    m_nDrawY = y;
    // A text window.
    if (text) {
        if (m_lpSurface && m_lpSurface->bLost) {
            DrawWindowText(m_lpSurface);
            m_lpSurface->bLost = 0;
        }
        if (m_strText.empty()) return 0;
        if (m_bOpening) {
            m_dOpening += 1;
            const double u = m_dOpening * 0.05;
            if (m_dOpening < 20) {
                if (m_bFramed)
                    g_Fonts[1].DrawTextBox(target, TruncToInt(x + m_nWidth / 2 - u * m_nWidth / 2),
                                           TruncToInt(y + m_nHeight / 2 - u * m_nHeight / 2),
                                           TruncToInt(u * m_nWidth), TruncToInt(u * m_nHeight));
                return 0;
            }
            m_bOpening = 0;
        }
        DDBlt(&g_BackBuffer, x, y, m_nWidth, m_nHeight, m_lpSurface, 0, 0, 1);
        if (m_bChoices && scene) {
            const WaitRecord& wait = scene->m_Wait;
            if (wait.m_nChoice >= 0 && wait.m_nChoice < static_cast<int>(wait.m_vChoices.size())) {
                const MessageChoice& c = wait.m_vChoices[size_t(wait.m_nChoice)];
                DDBlt(&g_BackBuffer, x + c.x, y + c.y, 16, 16, &SurfaceTable[kAccessorySlot], 64, 0, 1);
            }
        }
        return 0;
    }
    // Popups rise.
    y -= (30 - m_nFramesLeft) >> 2;
    m_nDrawY = y;
    if (m_nKind == MESWIN_GRAPHIC) DrawPaletteIcon(target, x, y, m_nGraphic1, m_nGraphic2, m_nGraphic3);
    else DDBlt(target, x, y, 16, 16, &SurfaceTable[kAccessorySlot], 0, 48, 1);
    return 0;
}

void UpdateMessageWindows(cScenePlay& scene, int paused) {
    if (DrawTraced()) DrawTrace("Messages");
    for (auto it = scene.m_lstMessages.begin(); it != scene.m_lstMessages.end();) {
        if (it->UpdateMessageWindow(&g_BackBuffer, paused) == 1) it = scene.m_lstMessages.erase(it);
        else ++it;
    }
}

void ShowPickupWindow(int charaKey, const std::string& text, int x, int y, const PopupGraphic& graphic) {
    cScenePlay* scene = PlayScene();
    if (!scene) return;
    MessageWindowInit in;
    in.nKind = MESWIN_GRAPHIC;
    in.strText = text;
    in.nGraphic1 = graphic.nKind;
    in.nGraphic2 = graphic.nNumber;
    in.nGraphic3 = graphic.nCell;
    in.nAnchor = 4;
    in.nOffsetX = x;
    in.nOffsetY = y;
    in.bFixed = 1;
    in.nDurationMode = 2;
    in.nFrames = 30;
    in.nTargetId = charaKey;
    scene->m_lstMessages.emplace_back().Init(in);
}

const cMessageWindow* ShowExtraLifeWindow(cScenePlay& scene) {
    MessageWindowInit in;
    in.nKind = MESWIN_ICON;
    in.nAnchor = 4;
    in.bFixed = 1;
    in.nDurationMode = 2;
    in.nFrames = 30;
    in.bCountWhilePaused = 1;
    in.nTargetId = Hero() ? Hero()->m_nKey : 0;
    cMessageWindow& window = scene.m_lstMessages.emplace_back();
    window.Init(in);
    return &window;
}

std::list<cMessageWindow>::iterator EraseMessageWindow(std::list<cMessageWindow>& windows,
                                                       std::list<cMessageWindow>::iterator it) {
    it->ReleaseWorkSurface();
    return windows.erase(it);
}

void RemoveMessageWindow(std::list<cMessageWindow>& windows, const cMessageWindow* window) {
    for (auto it = windows.begin(); it != windows.end(); ++it) {
        if (&*it == window) {
            EraseMessageWindow(windows, it);
            return;
        }
    }
}

void ClearMessageWindows(cScenePlay& scene) {
    for (auto it = scene.m_lstMessages.begin(); it != scene.m_lstMessages.end();)
        it = EraseMessageWindow(scene.m_lstMessages, it);
}
