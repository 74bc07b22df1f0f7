#include "frontend/data/option_data.h"

#include "base/files.h"
#include "base/log.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cOptionData>;
template class cRecord<cFreeData>;
template class cRecord<cReplayData>;

// g_OptionData, g_FreeData and g_ReplayData are built with the other global objects (frontend/data/globals.cpp).

namespace {
cCheckedVector<std::string> MakeOptionLabels() {
    cCheckedVector<std::string> v;
    for (int i = 0; i <= 20; ++i) v.push_back(Format("%d.%d", i / 2, (i % 2) * 5));
    v.push_back("OFF");
    v.push_back("");
    return v;
}
}  // namespace

cCheckedVector<std::string> g_OptionLabels = MakeOptionLabels();

cOptionData::cOptionData() { m_strName = "aaa"; }

void cOptionData::OnLoaded(const cLoadContext& ctx) {
    if (ctx.Below(932)) {
        m_nReplayAutoSave = 0;
        m_nReplayOrder = 2;
    }
    if (ctx.Below(934)) m_nMessageAuto = 21;
    if (ctx.Below(986)) {
        m_nBgmVolume = m_nBgmVolume != 0 ? 7 : 0;
        if (m_nSeVolume >= 4) m_nSeVolume = m_nSeVolume + 1 > 10 ? 10 : m_nSeVolume + 1;
    }
}

const std::string& MessageAutoLabel(int32_t v) {
    // Values below 0 are not offered by the options; they show as 0.
    return g_OptionLabels.at(v < 0 ? 0 : (v > 21 ? 21 : v));
}

void LoadUserOptionFiles() {
    g_FreeData.LoadFile(g_PathTable.at(PATH_FREE_FILE));
    g_ReplayData.LoadFile(g_PathTable.at(PATH_REPLAY_FILE));
    g_OptionData.LoadFile(g_PathTable.at(PATH_OPTION_FILE));
}

std::vector<int> ApplyReplayIniKeys(cOptionData& opt, const cIniReplayKey& autoSave, const cIniReplayKey& order,
                                    const cIniReplayKey& messageAuto) {
    std::vector<int> rows;
    if (autoSave.bSet) {
        opt.m_nReplayAutoSave = autoSave.nValue;
        rows.push_back(6);
    }
    if (order.bSet) {
        opt.m_nReplayOrder = order.nValue;
        rows.push_back(7);
    }
    if (messageAuto.bSet) {
        opt.m_nMessageAuto = messageAuto.nValue;
        rows.push_back(8);
    }
    return rows;
}

bool SaveOptionFile() { return g_OptionData.SaveFile(g_PathTable.at(PATH_OPTION_FILE)); }

void SaveUserFilesAtExit() {
    g_ReplayData.SaveFile(g_PathTable.at(PATH_REPLAY_FILE));
    g_FreeData.SaveFile(g_PathTable.at(PATH_FREE_FILE));
}
