#include "base/checked_vector.h"

#include "base/log.h"
#include "base/quit.h"

void ReportBadIndex(const char* kind, long long index, long long count, long long elemSize) {
    std::string msg = Format("err %s[%d] ( %d , %d )", kind, static_cast<int>(index), static_cast<int>(count),
                             static_cast<int>(elemSize));
    DebugLog(msg);
    ReportLog(msg);
    SetQuitAndClose();
}
