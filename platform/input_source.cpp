#include "platform/input_source.h"

#include "platform/keyboard_state.h"


namespace platform {

namespace {

class cSystemInputSource : public cInputSource {
public:
    bool IsKeyHeld(int vk) override { return platform::IsKeyHeld(vk); }
    unsigned JoyGetNumDevs() override { return platform::JoyGetNumDevs(); }
    bool JoyGetPosEx(unsigned id, JoyInfoEx& info) override { return platform::JoyGetPosEx(id, info); }
    bool JoyGetDevCaps(unsigned id, JoyCaps& caps) override { return platform::JoyGetDevCaps(id, caps); }
};

}  // namespace

cInputSource& cInputSource::Real() {
    static cSystemInputSource source;
    return source;
}

cInputSource& InputSource() { return Service<cInputSource>::Get(); }

}  // namespace platform
