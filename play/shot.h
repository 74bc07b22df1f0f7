// A shot in flight. Only the links to charas are here so far; the shot's
// motion and drawing arrive with the shots.
#pragma once
#include "play/object.h"

class cChara;

class cShot : public cObject {
public:
    cChara* m_lpTarget = nullptr;  // the chara it aims at or homes on
    cChara* m_lpOwner = nullptr;   // the chara that fired it
};
