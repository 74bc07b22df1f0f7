// A test's own trace lines and the sound and music requests of the code under
// test, in one order, from the media call log (a test's line is marked with
// '@' there). Sounds read "se n" with n less the given offset (17 for user
// sounds), music "bgm entry repeat".
#pragma once
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "media/media_services.h"

namespace calltrace {

inline void Trace(const std::string& line) { RecordMediaCall("@" + line); }

inline std::vector<std::string> Traced(int seOffset) {
    std::vector<std::string> out;
    for (const std::string& call : MediaCallLog()) {
        int n = 0;
        if (!call.empty() && call[0] == '@') out.push_back(call.substr(1));
        else if (std::sscanf(call.c_str(), "PlaySe %d", &n) == 1) out.push_back("se " + std::to_string(n - seOffset));
        else if (int r = 0; std::sscanf(call.c_str(), "RequestBgm %d %d", &n, &r) == 2)
            out.push_back("bgm " + std::to_string(n) + " " + std::to_string(r));
    }
    return out;
}

inline long CountTraced(const std::string& line, int seOffset) {
    const std::vector<std::string> t = Traced(seOffset);
    return std::count(t.begin(), t.end(), line);
}

}  // namespace calltrace
