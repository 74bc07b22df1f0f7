// Starting flows on events: the play step fires a trigger kind on a chara
// whenever its event happens, and the chara's idle flows of that kind whose
// start and key conditions hold start. A flow starts at most once a frame;
// within a flow group one always-flow runs at a time.
#pragma once

class cChara;

// FireFlowTriggerEx without a partner and without an ID filter.
void FireFlowTrigger(cChara& chara, int kind);
// partner: the chara the event's flows may bind into a target slot (may be
// null); id: only flows of this ID start (as a signed byte; <= 0 any).
void FireFlowTriggerEx(cChara& chara, int kind, cChara* partner, int id);
// Once a frame before the sub-steps: the fired and started flags of every
// flow of the chara and its group-started switches are cleared.
void ResetFlowOnceFlags(cChara& chara);

