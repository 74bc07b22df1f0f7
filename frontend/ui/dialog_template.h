// Dialog templates as data: the dialog's caption and size and its items, all
// in dialog units (see ScaleDluX / ScaleDluY), each value scaled on its own
// from the client origin.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ui {

enum class ItemKind { kStatic, kGroupBox, kButton, kCheckBox, kRadio, kEdit, kPicture, kList };

// Item style bits.
enum : uint32_t {
    kStyleDefault = 1u << 0,    // the default push button (Enter)
    kStyleTabStop = 1u << 1,    // reached by Tab
    kStyleGroup = 1u << 2,      // first item of a group (radio arrows stay inside a group)
    kStyleMultiLine = 1u << 3,  // button text in lines at "\n"; edit of several lines
    kStyleDisabled = 1u << 4,
};

// Window style bits of a dialog (the values the frame allowances test).
enum : uint32_t {
    WS_VSCROLL = 0x00200000,
    WS_HSCROLL = 0x00100000,
    WS_THICKFRAME = 0x00040000,
    WS_DLGFRAME = 0x00400000,
    WS_BORDER = 0x00800000,
    WS_CAPTION = 0x00C00000,
};

struct ItemTemplate {
    int id = 0;
    ItemKind kind = ItemKind::kStatic;
    uint32_t style = 0;
    std::string text;  // CP932
    int x = 0, y = 0, w = 0, h = 0;
};

struct DialogTemplate {
    uint32_t style = WS_CAPTION;  // WS_CAPTION: a caption bar; either frame bit: the frame
    std::string caption;          // CP932
    int w = 0, h = 0;             // client size
    bool visible = true;          // false: never drawn (a dialog that only runs others)
    std::vector<ItemTemplate> items;
};

}  // namespace ui
