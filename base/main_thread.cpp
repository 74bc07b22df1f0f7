#include "base/main_thread.h"

#include "base/app_state.h"
#include "base/thread.h"

#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace {

enum { kPending = 0, kRunning = 1, kDone = 2, kCancelled = 3 };

struct Request {
    std::function<intptr_t()> call;
    bool carriesToken = false;
    std::thread::id caller;
    std::atomic<int> state{kPending};
    intptr_t result = 0;
};

std::mutex g_mutex;
std::deque<std::shared_ptr<Request>> g_queue;
std::function<void()> g_wakeup;
MainWindowHandler g_handler;
std::atomic<std::thread::id> g_mainThread{};

void RunRequest(Request& r) {
    int expected = kPending;
    if (!r.state.compare_exchange_strong(expected, kRunning)) return;  // cancelled
    if (r.carriesToken) PassGameTokenTo(std::this_thread::get_id());
    r.result = r.call();
    if (r.carriesToken) PassGameTokenTo(r.caller);
    r.state = kDone;
}

bool LeaveEarly() { return g_bClosing.load() != 0 || ThreadQuitRequested(); }

}  // namespace

void SetMainThread() { g_mainThread = std::this_thread::get_id(); }

bool IsMainThread() { return g_mainThread.load() == std::this_thread::get_id(); }

void SetMainThreadWakeup(std::function<void()> wakeup) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_wakeup = std::move(wakeup);
}

void SetMainWindowHandler(MainWindowHandler handler) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_handler = std::move(handler);
}

intptr_t RunOnMainThread(std::function<intptr_t()> call, bool carriesToken, std::atomic<int>* doneFlag,
                         bool* completed) {
    if (completed) *completed = true;
    if (IsMainThread()) return call();
    auto req = std::make_shared<Request>();
    req->call = std::move(call);
    req->carriesToken = carriesToken && HoldsGameToken();
    req->caller = std::this_thread::get_id();
    std::function<void()> wakeup;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_queue.push_back(req);
        wakeup = g_wakeup;
    }
    if (wakeup) wakeup();
    bool finished = ThreadWaitUntil([&] { return req->state.load() == kDone; }, [&] {
        if (!LeaveEarly()) return false;
        int expected = kPending;
        // A request that has begun is waited for; one that has not is dropped.
        return req->state.compare_exchange_strong(expected, kCancelled);
    });
    if (!finished) {
        int expected = kPending;
        if (!req->state.compare_exchange_strong(expected, kCancelled) && expected != kCancelled) {
            // The call has begun on the main thread: its end is still waited for.
            while (req->state.load() != kDone) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            finished = true;
        }
    }
    if (!finished) {
        if (doneFlag) *doneFlag = 1;
        if (completed) *completed = false;
        return 0;
    }
    return req->result;
}

intptr_t SendMainWindowMessage(int msg, intptr_t wParam, intptr_t lParam, std::atomic<int>* doneFlag,
                               bool* completed) {
    bool carries = msg != UM_PLAYSE && msg != UM_PLAYBGM;
    return RunOnMainThread(
        [msg, wParam, lParam]() -> intptr_t {
            MainWindowHandler h;
            {
                std::lock_guard<std::mutex> lock(g_mutex);
                h = g_handler;
            }
            return h ? h(msg, wParam, lParam) : 0;
        },
        carries, doneFlag, completed);
}

int ServeMainThreadRequests() {
    int n = 0;
    for (;;) {
        std::shared_ptr<Request> r;
        {
            std::lock_guard<std::mutex> lock(g_mutex);
            if (g_queue.empty()) break;
            r = g_queue.front();
            g_queue.pop_front();
        }
        if (r->state.load() == kPending) {
            RunRequest(*r);
            n += 1;
        }
    }
    return n;
}

int PendingMainThreadRequests() {
    std::lock_guard<std::mutex> lock(g_mutex);
    int n = 0;
    for (auto& r : g_queue)
        if (r->state.load() == kPending) n += 1;
    return n;
}

bool WaitMainThreadRequest(std::atomic<int>& requestFlag, std::atomic<int>& doneFlag) {
    bool lend = HoldsGameToken() && !IsMainThread();
    std::thread::id self = std::this_thread::get_id();
    doneFlag = 0;
    std::function<void()> wakeup;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        wakeup = g_wakeup;
    }
    if (lend) PassGameTokenTo(g_mainThread.load());
    requestFlag = 1;
    if (wakeup) wakeup();
    bool dropped = false;
    bool ok = ThreadWaitUntil([&] { return doneFlag.load() != 0; }, [&] {
        // Leave early only while the main thread has not taken the request.
        if (LeaveEarly() && requestFlag.exchange(0) == 1) dropped = true;
        return dropped;
    });
    if (!ok && !dropped) {
        if (requestFlag.exchange(0) == 1) {
            dropped = true;
        } else {
            // Taken by the main thread: its end is waited for, so that the
            // token comes back from a finished call.
            while (doneFlag.load() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    if (dropped) doneFlag = 1;
    if (lend) PassGameTokenTo(self);
    return !dropped;
}

bool SendMainWindowMessageAndWait(int msg, intptr_t wParam, std::atomic<int>& doneFlag) {
    doneFlag = 0;
    bool ran = false;
    SendMainWindowMessage(msg, wParam, 0, &doneFlag, &ran);
    if (!ran) return false;
    bool ok = ThreadWaitUntil([&] { return doneFlag.load() != 0; }, [] { return LeaveEarly(); });
    if (!ok) doneFlag = 1;
    return ok;
}

bool WaitForActive() {
    return ThreadWaitUntil([] { return g_bActive.load() != 0; });
}

std::atomic<int> g_nOpenStageRequest{0};
std::atomic<int> g_nOpenReplayRequest{0};
std::atomic<int> g_nSaveReplayAsRequest{0};
std::atomic<int> g_nSaveReplayAsParam{0};
std::atomic<int> g_nFileDialogResult{0};
std::atomic<int> g_nFileDialogDone{0};
std::atomic<int> g_nNameEntryDone{0};
std::atomic<int> g_nReplaySaveDone{0};

namespace {
std::atomic<NestedEventPump> g_nestedPump{nullptr};
}  // namespace

void SetNestedEventPump(NestedEventPump pump) { g_nestedPump = pump; }

bool PumpNestedEvents() {
    const NestedEventPump pump = g_nestedPump.load();
    return pump ? pump() : true;
}
