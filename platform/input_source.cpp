#include "platform/input_source.h"

#include "platform/keyboard_state.h"

#include <atomic>

namespace platform {

namespace {

class cSystemInputSource : public cInputSource {
public:
    bool IsKeyHeld(int vk) override { return platform::IsKeyHeld(vk); }
    unsigned JoyGetNumDevs() override { return platform::JoyGetNumDevs(); }
    bool JoyGetPosEx(unsigned id, JoyInfoEx& info) override { return platform::JoyGetPosEx(id, info); }
    bool JoyGetDevCaps(unsigned id, JoyCaps& caps) override { return platform::JoyGetDevCaps(id, caps); }
};

cSystemInputSource g_systemSource;
std::atomic<cInputSource*> g_source{nullptr};

}  // namespace

cInputSource& InputSource() {
    cInputSource* s = g_source.load(std::memory_order_acquire);
    return s ? *s : g_systemSource;
}

void SetInputSource(cInputSource* source) { g_source.store(source, std::memory_order_release); }

}  // namespace platform
