// Base of every scene. A scene holds a state number (-1 until Init has run)
// and a table of state handlers fixed by its constructor: entry 0 fades in,
// the last entry fades out, the entries between are the scene's own states.
#pragma once
#include <vector>

#include "base/scene_state.h"

class cScene {
public:
    using StateHandler = void (cScene::*)();

    cScene() = default;
    virtual ~cScene() = default;
    virtual void Run() {}
    virtual void Init() {}
    virtual void FadeIn() {}
    virtual void FadeOut() {}

    int m_nState = -1;
    int m_nStep = 0;
    std::vector<StateHandler> m_vecHandlers;

protected:
    // The frame every scene's Run makes: nothing while the quit flag is set;
    // the first input record's key repeat and one-shot triggers of the
    // buttons in the mask (0: all buttons); at state -1
    // Init (a message text it throws is logged as fatal), then state 0; then,
    // unless the quit flag is now set, the current state's handler.
    // Init, where a thrown text ends the program through the fatal log.
    void InitOrFail();
    void RunStates(int buttonMask = 0);
    // One step of the fade-in; state 1 when it is complete.
    void StepFadeIn();
    // One step of the fade-out; when it is complete: back buffer filled with
    // colour 16, menu cursor reset (unless resetCursor is false: the next
    // scene resets it), previous kind := own kind and current kind := next
    // kind (the manager switches on the next frame). True then.
    bool StepFadeOut(int ownKind, bool resetCursor = true);

    template <class T>
    void SetHandlers(std::initializer_list<void (T::*)()> handlers) {
        m_vecHandlers.clear();
        for (auto h : handlers) m_vecHandlers.push_back(static_cast<StateHandler>(h));
    }
};
