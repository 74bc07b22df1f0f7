#include "records/ed_flow_refs.h"

namespace {
const cFlowRefSource* s_pRefSource = nullptr;
bool s_bEditorTest = false;
bool s_bKeepFlaggedFlows = false;
}  // namespace

std::vector<int32_t> cFlowRefCounts::SwordPartDurations(int nSwordType) const {
    if (nSwordType < 0 || static_cast<size_t>(nSwordType) >= vecSwordDurations.size()) return {};
    return vecSwordDurations[static_cast<size_t>(nSwordType)];
}

void SetFlowRefSource(const cFlowRefSource* pSource) { s_pRefSource = pSource; }
const cFlowRefSource* FlowRefSource() { return s_pRefSource; }

void SetTestPlayFlowPolicy(bool bEditorTest, bool bKeepFlaggedFlows) {
    s_bEditorTest = bEditorTest;
    s_bKeepFlaggedFlows = bKeepFlaggedFlows;
}

bool DropTestPlayFlows() { return !s_bEditorTest && !s_bKeepFlaggedFlows; }
