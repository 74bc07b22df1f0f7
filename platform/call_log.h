// A log of the calls a part makes into devices and other threads (sound,
// music, input), for tests and debug sessions: installed through
// Service<ICallLog>; while none is installed nothing is noted.
#pragma once
#include <string>

#include "platform/service.h"

namespace platform {

class ICallLog {
public:
    virtual ~ICallLog() = default;
    virtual void Note(const std::string& call) = 0;
};

inline bool CallLogInstalled() { return Service<ICallLog>::Find() != nullptr; }
inline void NoteCall(const std::string& call) {
    if (ICallLog* log = Service<ICallLog>::Find()) log->Note(call);
}

}  // namespace platform
