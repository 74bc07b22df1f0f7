// The sound effects play code asked for, read back from the media call log:
// system sound n as n (a user sound n arrives as n + 17). A Scope turns the
// log on, empty, for its lifetime.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "media/media_services.h"

namespace soundlog {

inline std::vector<int> Played() {
    std::vector<int> out;
    for (const std::string& call : MediaCallLog()) {
        int n = 0;
        if (std::sscanf(call.c_str(), "PlaySe %d", &n) == 1) out.push_back(n);
    }
    return out;
}
// The user sounds among them (their own numbers).
inline std::vector<int> UserPlayed() {
    std::vector<int> out;
    for (int n : Played())
        if (n > 17) out.push_back(n - 17);
    return out;
}

class Scope {
public:
    Scope() {
        SetMediaCallLog(true);
        ClearMediaCallLog();
    }
    ~Scope() {
        ClearMediaCallLog();
        SetMediaCallLog(false);
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
};

}  // namespace soundlog
