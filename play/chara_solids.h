// Charas against solids: block charas (computer charas whose definition
// makes them block charas) are moving walls and platforms. Other charas
// cannot enter them, stand and ride on them, hit their heads on them and
// are crushed between them.
#pragma once

#include "play/chara_computer.h"

// Resolves the chara's overlaps with the solids of the list (in list order)
// once per sub-step, after its vertical move and the map-wall passes: the
// contact record, the pushes, landing on and riding a solid, the flow events
// of touching (on the chara) and of being ridden (on the solid). 2 when the
// chara is crushed, else 0.
int CollideSolids(cChara& chara, cCheckedList<cCharaComputer>& list);

// A flyer pushed out of the solids that meet the lines of its box edges on
// one axis: vertical set, top then bottom; else left then right.
void ResolveOnOtherAxis(cChara& chara, cCheckedList<cCharaComputer>& list, int vertical);
