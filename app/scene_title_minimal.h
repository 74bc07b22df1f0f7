// Stand-in for the title scene until the menu scenes exist: it only clears
// the screen each frame.
#pragma once
#include "app/scene.h"

class cSceneTitleMinimal : public cScene {
public:
    cSceneTitleMinimal();
    void Run() override;

private:
    void Show();
};
