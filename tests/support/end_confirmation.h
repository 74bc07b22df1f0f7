// The tests' close confirmation: a callback a test sets and clears (unset:
// the real box). Installed through Service<IEndConfirmation> on first use
// for the test binary's life.
#pragma once
#include <functional>

#include "frontend/frontend_services.h"
#include "platform/service.h"

namespace testsupport {

class cTestEndConfirmation : public IEndConfirmation {
public:
    std::function<bool(int english)> confirm;
    bool ConfirmEnd(int english) override { return confirm ? confirm(english) : Real().ConfirmEnd(english); }
};

inline std::function<bool(int english)>& EndConfirmation() {
    static cTestEndConfirmation* c = [] {
        static cTestEndConfirmation t;
        Service<IEndConfirmation>::Install(&t);
        return &t;
    }();
    return c->confirm;
}

}  // namespace testsupport
