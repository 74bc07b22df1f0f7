// A chara's death and its removal from the stage: the death with its score
// and carried item, the kill of the hit pass, and taking a chara out of
// every link and list.
#pragma once
#include "play/chara_computer.h"
#include "play/play_result.h"

class cChara;

// The chara dies: event 5, its death flows, the score and its carried item
// for the hero. StageClear when the stage ends with this death (a stage
// clear was requested, or the item cleared the stage): the chara is then left
// linked and alive. Otherwise (Continue) it leaves every link, is dead and
// starts vanishing.
PlayResult Die(cChara& c);
// Miss for a chara of the player's side, Continue for a chara already
// dead, else the result of Die.
PlayResult KillChara(cChara& c);

// Unlinks the chara and takes it out of its group list at once. A walk
// over the chara list that removes the chara it visits calls this and
// erases the node after the walk.
void DetachChara(cChara& c);
// DetachChara, then the node is erased and the chara destroyed; the node
// after it.
cCheckedList<cCharaComputer>::iterator RemoveChara(cCheckedList<cCharaComputer>& list,
                                                   cCheckedList<cCharaComputer>::iterator node);
