#include "records/data_kinds.h"

#include "records/common_palette.h"
#include "records/cond.h"
#include "records/ed_flow.h"
#include "records/ed_move.h"
#include "records/ed_shot.h"
#include "records/system_data.h"

namespace {
template <class T>
std::unique_ptr<cDataRecord> Make() {
    return std::make_unique<T>();
}
}  // namespace

const std::vector<cDataKind>& DataKinds() {
    static const std::vector<cDataKind> kinds = {
        // name, summary, factory[, game files, required, load, save]
        {"cond", "one condition (version word + cCond body)", Make<cCond>},
        {"condlist", "a condition list (version word + cCondList body)", Make<cCondList>},
        {"keycond", "one key condition (version word + cKeyCond body)", Make<cKeyCond>},
        {"move", "a movement definition (version word + cEdMove body)", Make<cEdMove>},
        {"shot", "a shot definition (version word + cEdShot body)", Make<cEdShot>},
        {"flow", "one flow with its commands (version word + cEdFlow body)", Make<cEdFlow>},
        {"flowcmd", "one flow command (version word + cEdFlowCmd body)", Make<cEdFlowCmd>},
        {"system", "the system data (data\\System.dat)", Make<cSystemData>, "data\\System.dat", true},
        {"palette", "the common palette (data\\CommonPalette.cplt4)", Make<cCommonPalette>, "data\\CommonPalette.cplt4", true},
    };
    return kinds;
}

const cDataKind* FindDataKind(std::string_view name) {
    for (const cDataKind& k : DataKinds())
        if (name == k.szName) return &k;
    return nullptr;
}

bool LoadDataKind(const cDataKind& kind, cDataRecord& rec, std::string_view cp932Path) {
    return kind.pfnLoad ? kind.pfnLoad(rec, cp932Path) : rec.LoadFile(cp932Path);
}

bool SaveDataKind(const cDataKind& kind, cDataRecord& rec, std::string_view cp932Path) {
    return kind.pfnSave ? kind.pfnSave(rec, cp932Path) : rec.SaveFile(cp932Path);
}
