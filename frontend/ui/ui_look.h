// The dialogs' own look: metrics and colours (0xRRGGBB), in one place.
#pragma once
#include <cstdint>

namespace ui {

constexpr int kFrameWidth = 3;      // outer frame of a dialog, each side
constexpr int kCaptionHeight = 20;  // caption bar
constexpr int kScrollBarSize = 16;
constexpr int kFontCell = 12;       // template font cell height
constexpr int kLineHeight = 14;     // text line pitch
constexpr int kCheckSize = 13;      // check box and radio mark

constexpr uint32_t kFrameBackground = 0xC0C0C0;  // shown when no game frame exists yet
constexpr uint32_t kFace = 0xD8D4CC;
constexpr uint32_t kLight = 0xFFFFFF;
constexpr uint32_t kShadow = 0x808078;
constexpr uint32_t kDark = 0x303030;
constexpr uint32_t kText = 0x000000;
constexpr uint32_t kGrayText = 0x8C8C8C;
constexpr uint32_t kCaption = 0x1C3C78;
constexpr uint32_t kCaptionText = 0xFFFFFF;
constexpr uint32_t kWindow = 0xFFFFFF;
constexpr uint32_t kHighlight = 0x2A5AA8;
constexpr uint32_t kHighlightText = 0xFFFFFF;
constexpr uint32_t kFocus = 0x505050;
constexpr uint32_t kPreedit = 0x1C3C78;

}  // namespace ui
