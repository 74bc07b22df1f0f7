// A trace of the play step and the draw pass, for debug sessions and tests:
// installed through Service<IPlayTrace> (platform/service.h); nothing is
// traced, and no trace text is built, while none is installed.
#pragma once
#include <string>

class cChara;
class cShot;
class cScenePlay;

class IPlayTrace {
public:
    virtual ~IPlayTrace() = default;
    // Every firing of a flow trigger, before the chara's flows are looked at
    // (partner may be null; id as given to the firing).
    virtual void FlowTriggered(cChara& /*chara*/, int /*kind*/, cChara* /*partner*/, int /*id*/) {}
    // The once-a-frame clearing of the chara's flow flags.
    virtual void FlowOnceFlagsReset(cChara& /*chara*/) {}
    // A shot's trajectory step, after it ran (finished: it ends this frame).
    virtual void ShotStepped(cShot& /*shot*/, bool /*finished*/) {}
    // A named step of the play scene's draw pass ("Effects 1", "Messages", ...).
    virtual void Drawn(const std::string& /*step*/) {}
    // Every full draw pass, right after the message windows (frozen: the
    // pass's frozen flag).
    virtual void MessageWindowsDrawn(cScenePlay& /*scene*/, int /*frozen*/) {}
};
