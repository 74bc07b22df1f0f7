// The input records of the game (exactly one) and the per-frame services
// over them: joystick detection and the update from the key configuration.
#pragma once
#include "base/checked_vector.h"
#include "media/input/input.h"
#include "media/input/key_config.h"

extern cCheckedVector<cInput> g_InputList;

// Gives record 0 the first working joystick when a scan is due: after a
// joystick was lost, and, while no record has one, on the first call and
// then after framesPerSecond x 4 calls in a row without any key held.
class cJoystickDetector {
public:
    void Detect(int framesPerSecond, cCheckedVector<cInput>& list);

private:
    int m_nPrevPresent = 0;
    int m_nIdleCountdown = 0;
};

// Through the program's one detector. The window is not used.
void DetectJoysticks(void* window, int framesPerSecond, cCheckedVector<cInput>& list);

// Bindings-driven update of every record from g_KeyConfig. 0 at once when
// the configuration is disabled, else 1.
int UpdateAllInput(cCheckedVector<cInput>& list, int framesPerSecond);

// Keyboard bindings test the key; joystick bindings the bits of the record
// the device names. A device that is neither reads as released.
bool IsBindingPressed(cCheckedVector<cInput>& list, const KEYBIND& bind);
