// A shot in flight. Only its definition copy, its links to charas and what
// its hits report are here so far; the shot's motion and drawing arrive with
// the shots.
#pragma once
#include <cstdint>
#include <list>

#include "play/object.h"
#include "records/ed_shot.h"

class cChara;

class cShot : public cObject {
public:
    cChara* m_lpTarget = nullptr;  // the chara it aims at or homes on
    cChara* m_lpOwner = nullptr;   // the chara that fired it
    cEdShot m_EdShot;              // its own copy of its definition
    int32_t m_bReportToOwner = 0;  // hits fire the owner's attack events
    int8_t m_nReportGroup = 0;     // the group passed with those events
    int32_t m_bIsShot = 1;         // 1 a flying shot (moves by its speed), 0 a sword
    int32_t m_bFinished = 0;       // must go; takes no further part
    double m_adHitBox[4] = {};     // the attack box on the stage: left, top, right, bottom
    std::list<int32_t> m_lstHitCharas;  // keys of the charas already hit (swords and passing shots)
};
