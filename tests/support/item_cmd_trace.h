// Runs one function for every item command kind while a scope lives, so a
// test sees which commands an item gift runs and on which chara; the table
// comes back as it was when the scope ends.
#pragma once
#include <algorithm>
#include <iterator>

#include "engine/item_commands.h"

class ItemCmdTrace {
public:
    explicit ItemCmdTrace(ItemCmdFn fn) {
        std::copy(std::begin(ItemCmdExecTable), std::end(ItemCmdExecTable), std::begin(m_saved));
        std::fill(std::begin(ItemCmdExecTable), std::end(ItemCmdExecTable), fn);
    }
    ~ItemCmdTrace() { std::copy(std::begin(m_saved), std::end(m_saved), std::begin(ItemCmdExecTable)); }
    ItemCmdTrace(const ItemCmdTrace&) = delete;
    ItemCmdTrace& operator=(const ItemCmdTrace&) = delete;

private:
    ItemCmdFn m_saved[ITEM_CMD_KIND_COUNT];
};
