// The main thread's SDL event pump lets other modules see every SDL event
// (keyboard, joystick, window focus, ...). Observers run on the main thread,
// before the main window handles the event, in the order they were added.
// Focus changes arrive as SDL_WINDOWEVENT_FOCUS_GAINED / _FOCUS_LOST.
#pragma once
#include <SDL.h>

#include <cstdint>
#include <functional>

#include "platform/events.h"

namespace platform {

void AddSdlEventObserver(std::function<void(const SDL_Event&)> observer);
void NotifySdlEventObservers(const SDL_Event& event);
void ClearSdlEventObservers();  // tests

// Waits up to timeoutMs (< 0: without end) for an SDL event; false when none
// came. The program's own events wake it at once also under the dummy and
// offscreen video drivers, which SDL would otherwise poll every millisecond.
bool WaitSdlEvent(SDL_Event& e, int timeoutMs);

}  // namespace platform

using platform::AddSdlEventObserver;
