// The tests' play trace: plain callbacks a test sets and clears. It is
// installed through Service<IPlayTrace> on first use and stays installed for
// the test binary's life; an unset callback traces nothing.
#pragma once
#include <string>
#include <vector>

#include "platform/service.h"
#include "play/play_trace.h"

namespace testsupport {

class cTestPlayTrace : public IPlayTrace {
public:
    void (*trigger)(cChara& chara, int kind, cChara* partner, int id) = nullptr;
    void (*onceReset)(cChara& chara) = nullptr;
    void (*shotStep)(cShot& shot) = nullptr;
    std::vector<std::string>* drawn = nullptr;
    void (*messageWindows)(cScenePlay& scene, int frozen) = nullptr;

    void FlowTriggered(cChara& chara, int kind, cChara* partner, int id) override {
        if (trigger) trigger(chara, kind, partner, id);
    }
    void FlowOnceFlagsReset(cChara& chara) override {
        if (onceReset) onceReset(chara);
    }
    void ShotStepped(cShot& shot, bool) override {
        if (shotStep) shotStep(shot);
    }
    void Drawn(const std::string& step) override {
        if (drawn) drawn->push_back(step);
    }
    void MessageWindowsDrawn(cScenePlay& scene, int frozen) override {
        if (messageWindows) messageWindows(scene, frozen);
    }
};

inline cTestPlayTrace& PlayTrace() {
    static cTestPlayTrace* trace = [] {
        static cTestPlayTrace t;
        Service<IPlayTrace>::Install(&t);
        return &t;
    }();
    return *trace;
}

}  // namespace testsupport
