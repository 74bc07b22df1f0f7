#include "base/thread.h"

#include "base/log.h"
#include "base/main_thread.h"
#include "base/quit.h"
#include "platform/clock.h"
#include "platform/display.h"


#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <thread>

struct ThreadControl {
    std::mutex m;
    std::condition_variable cv;
    int suspendCount = 0;
    bool quit = false;
    bool parked = false;
    bool finished = false;
    std::atomic<bool> quitFlag{false};
    std::atomic<bool> finishedFlag{false};
    std::atomic<bool> joinClaimed{false};
    bool carriesToken = false;
    bool go = false;  // the starter has finished its part of the start
    std::thread::id tokenFrom;
    std::thread th;
};

// thGame, thPause, thRanking and thLoad are built with the other global objects (base/globals.cpp).

namespace {

thread_local ThreadControl* t_self = nullptr;
std::atomic<uint32_t> g_nNextId{1};
std::atomic<std::thread::id> g_tokenOwner{};

void RequestQuitOn(ThreadControl& c) {
    std::lock_guard<std::mutex> lock(c.m);
    c.quit = true;
    c.quitFlag = true;
    c.suspendCount = 0;
    c.cv.notify_all();
}

void WaitFinishedNoGate(ThreadControl& c) {
    std::unique_lock<std::mutex> lock(c.m);
    c.cv.wait(lock, [&] { return c.finished; });
}

// Passes the gate with the lock held; the thread counts as parked while it
// waits there.
void GateLocked(ThreadControl& c, std::unique_lock<std::mutex>& lock) {
    if (c.suspendCount > 0 && !c.quit) {
        c.parked = true;
        c.cv.notify_all();
        c.cv.wait(lock, [&] { return c.suspendCount == 0 || c.quit; });
    }
    c.parked = false;
}

}  // namespace

cThread::~cThread() { Exit(); }

std::shared_ptr<ThreadControl> cThread::Control() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_hThread;
}

bool cThread::IsRunning() const { return Control() != nullptr; }

bool cThread::HasFinished() const {
    auto ctl = Control();
    return !ctl || ctl->finishedFlag.load();
}

uint32_t cThread::GetId() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_nThreadId;
}

bool cThread::Start(Proc proc, void* arg) {
    // A previous thread that ended without anyone waiting for it is joined
    // first; one that still runs makes the start fail.
    if (auto old = Control()) {
        if (!old->finishedFlag.load()) return false;
        JoinIfFinished(old);
    }
    auto ctl = std::make_shared<ThreadControl>();
    if (HoldsGameToken()) {
        ctl->carriesToken = true;
        ctl->tokenFrom = std::this_thread::get_id();
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    try {
        ctl->th = std::thread([ctl, proc, arg] {
            t_self = ctl.get();
            {
                std::unique_lock<std::mutex> l(ctl->m);
                ctl->cv.wait(l, [&] { return ctl->go; });
            }
            proc(arg);
            platform::ReleaseThreadData();
            if (ctl->carriesToken) g_tokenOwner = ctl->tokenFrom;
            {
                std::lock_guard<std::mutex> l(ctl->m);
                ctl->finished = true;
                ctl->finishedFlag = true;
                ctl->cv.notify_all();
            }
            t_self = nullptr;
        });
    } catch (const std::system_error&) {
        return false;
    }
    m_hThread = ctl;
    m_nThreadId = g_nNextId.fetch_add(1);
    // The token is with the new thread before it runs its procedure.
    if (ctl->carriesToken) g_tokenOwner = ctl->th.get_id();
    {
        std::lock_guard<std::mutex> l(ctl->m);
        ctl->go = true;
        ctl->cv.notify_all();
    }
    return true;
}

void cThread::JoinIfFinished(const std::shared_ptr<ThreadControl>& ctl) {
    std::thread th;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_hThread == ctl && !ctl->joinClaimed.exchange(true)) {
            th = std::move(ctl->th);
            m_hThread.reset();
        }
    }
    if (th.joinable()) th.join();
}

void cThread::Wait() {
    auto ctl = Control();
    if (!ctl) return;
    if (ctl.get() == t_self) return;  // a thread cannot wait for itself
    if (!ThreadWaitUntil([&] { return ctl->finishedFlag.load(); })) {
        // The waiting thread is asked to quit: stop the worker too, and let
        // it end before going on.
        RequestQuitOn(*ctl);
        WaitFinishedNoGate(*ctl);
    }
    JoinIfFinished(ctl);
}

bool cThread::Suspend() {
    auto ctl = Control();
    if (!ctl) return true;
    std::lock_guard<std::mutex> lock(ctl->m);
    if (!ctl->quit) ctl->suspendCount += 1;
    return true;
}

bool cThread::Resume() {
    auto ctl = Control();
    if (!ctl) return true;
    std::lock_guard<std::mutex> lock(ctl->m);
    if (ctl->suspendCount > 0) ctl->suspendCount -= 1;
    ctl->cv.notify_all();
    return true;
}

void cThread::RequestQuit() {
    if (auto ctl = Control()) RequestQuitOn(*ctl);
}

void cThread::WaitParked() const {
    auto ctl = Control();
    if (!ctl || ctl.get() == t_self) return;
    std::unique_lock<std::mutex> lock(ctl->m);
    ctl->cv.wait(lock, [&] { return ctl->parked || ctl->finished || ctl->quit || ctl->suspendCount == 0; });
}

void cThread::Exit() {
    auto ctl = Control();
    if (!ctl) return;
    DebugLog("Exit A");
    RequestQuitOn(*ctl);  // opens the gate too
    DebugLog("Exit B");
    DebugLog("Exit C");
    if (ctl.get() == t_self) return;  // a thread ending itself only asks
    WaitFinishedNoGate(*ctl);
    DebugLog("Exit D");
    JoinIfFinished(ctl);
    DebugLog("Exit E");
}

void SuspendAllThreads() {
    cThread* all[] = {&thGame, &thPause, &thRanking, &thLoad};
    for (cThread* t : all) t->Suspend();
    for (cThread* t : all) t->WaitParked();
}

void ResumeAllThreads() {
    cThread* all[] = {&thGame, &thPause, &thRanking, &thLoad};
    for (cThread* t : all) t->Resume();
}

bool ThreadQuitRequested() { return t_self && t_self->quitFlag.load(); }

bool ThreadGate() {
    if (!t_self) return true;
    std::unique_lock<std::mutex> lock(t_self->m);
    GateLocked(*t_self, lock);
    return !t_self->quit;
}

bool ThreadSleep(uint32_t ms) {
    if (!ThreadGate()) return false;
    platform::SleepMs(ms);
    return !ThreadQuitRequested();
}

bool ThreadWaitUntil(const std::function<bool()>& done, const std::function<bool()>& cancel) {
    if (!t_self) {
        for (;;) {
            if (done()) return true;
            if (cancel && cancel()) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    ThreadControl& c = *t_self;
    std::unique_lock<std::mutex> lock(c.m);
    c.parked = true;
    c.cv.notify_all();
    bool ok = true;
    for (;;) {
        if (c.quit) {
            ok = false;
            break;
        }
        lock.unlock();
        bool isDone = done();
        bool isCancelled = !isDone && cancel && cancel();
        lock.lock();
        if (isDone) break;
        if (isCancelled) {
            ok = false;
            break;
        }
        c.cv.wait_for(lock, std::chrono::milliseconds(1));
    }
    GateLocked(c, lock);
    return ok && !c.quit;
}

void ClaimGameToken() { g_tokenOwner = std::this_thread::get_id(); }

bool HoldsGameToken() { return g_tokenOwner.load() == std::this_thread::get_id(); }

void AssertGameToken() {
#ifndef NDEBUG
    if (!HoldsGameToken()) {
        std::fprintf(stderr, "game objects touched by a thread that does not hold the game token\n");
        std::abort();
    }
#endif
}

void PassGameTokenTo(std::thread::id owner) { g_tokenOwner = owner; }

bool RunNestedLoop(cThread& worker, cThread::Proc proc, void* arg, const std::function<bool()>& closing) {
    if (!worker.Start(proc, arg)) return false;
    // The main thread itself running the scene (a headless run): it still
    // answers the loop's requests (its sounds), or both would wait for ever.
    if (IsMainThread())
        while (!worker.HasFinished()) {
            if (ServeMainThreadRequests() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    worker.Wait();
    if (closing && closing())
        PostCloseRequest();
    else
        WaitForActive();
    return true;
}
