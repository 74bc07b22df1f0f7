// Worker threads of the game side (thGame, thPause, thRanking, thLoad).
//
// Nothing is ever killed or frozen from outside: suspension is a gate that
// the thread passes at its gate points, and Exit opens the gate, asks the
// thread to quit and waits for it. Every blocking wait of a game-side thread
// goes through the helpers below, so it is both a gate point and ends as soon
// as the thread is asked to quit.
//
// Each start makes a fresh control block before the thread runs, so a quit
// request made right after Start cannot be lost (the priming message of the
// Windows version is not needed). The block holds a finished latch that every
// waiter observes; exactly one of them joins the thread.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

struct ThreadControl;

class cThread {
public:
    using Proc = unsigned (*)(void* arg);

    cThread() = default;
    cThread(const cThread&) = delete;
    cThread& operator=(const cThread&) = delete;
    ~cThread();  // Exit: a destroyed object never leaves a running thread

    // Starts the procedure on a new thread. False when the thread cannot be
    // created, or when the previous thread of this object still runs.
    bool Start(Proc proc, void* arg);
    // Waits for the thread to end, then forgets it. On a game-side thread the
    // wait is a gate point; when the waiting thread is asked to quit, the
    // worker is asked to quit too and the wait still lasts until it has ended
    // (so two threads never touch the game at once).
    void Wait();
    // Close the gate (counted, like SuspendThread) / open it once.
    bool Suspend();
    bool Resume();
    // Opens the gate, asks the thread to quit and waits for its end.
    void Exit();
    // Asks the thread to quit without waiting (WM_QUIT posted to it).
    void RequestQuit();

    bool IsRunning() const;  // a thread was started and not yet waited for
    bool HasFinished() const;
    uint32_t GetId() const;  // 0 before the first start
    // Waits (without a gate) until the thread has stopped at a gate point or
    // in a blocking wait, or has ended. Used by SuspendAllThreads.
    void WaitParked() const;

private:
    std::shared_ptr<ThreadControl> Control() const;
    void JoinIfFinished(const std::shared_ptr<ThreadControl>& ctl);

    mutable std::mutex m_mutex;
    std::shared_ptr<ThreadControl> m_hThread;
    uint32_t m_nThreadId = 0;
};

// The nested loop protocol of the play scene: starts the worker, waits for
// its end, then either asks the main window to close (when `closing` says the
// close sequence deferred itself for this loop) or waits until the
// application is active again. False when the worker could not be started
// (the caller treats that as an empty loop).
bool RunNestedLoop(cThread& worker, cThread::Proc proc, void* arg, const std::function<bool()>& closing);

extern cThread thGame;
extern cThread thPause;
extern cThread thRanking;
extern cThread thLoad;

// Suspend (then wait until every running one has parked) / resume the four
// thread objects, in the order thGame, thPause, thRanking, thLoad.
void SuspendAllThreads();
void ResumeAllThreads();

// ---- called on the current thread ----

// True when the current thread is a cThread that was asked to quit.
bool ThreadQuitRequested();
// Gate point: blocks while the current thread's gate is closed. False when
// the thread is asked to quit (the caller then leaves its loop).
bool ThreadGate();
// Quit-aware sleep: gate, then sleep. False when asked to quit.
bool ThreadSleep(uint32_t ms);
// Waits until `done` returns true (polled about every millisecond), parked
// for SuspendAllThreads meanwhile, then passes the gate. False when the wait
// ended because the thread was asked to quit or `cancel` became true.
bool ThreadWaitUntil(const std::function<bool()>& done, const std::function<bool()>& cancel = {});

// The game token: only one thread touches game objects at a time. It passes
// to a worker started by its holder and comes back when the worker ends, and
// to the main thread while a request that carries it is served.
void ClaimGameToken();          // start-up and tests: the current thread holds it
bool HoldsGameToken();          // the current thread holds it
void AssertGameToken();         // debug builds: abort when it does not
// Hands the token to another thread (a request served on the main thread).
void PassGameTokenTo(std::thread::id owner);
