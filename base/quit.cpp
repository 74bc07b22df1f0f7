#include "base/quit.h"

#include <mutex>

std::atomic<int> g_bQuit{0};

namespace {
std::mutex g_mutex;
std::function<void()> g_handler;
std::atomic<int> g_nRequests{0};
}  // namespace

void PostCloseRequest() {
    g_nRequests.fetch_add(1);
    std::function<void()> h;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        h = g_handler;
    }
    if (h) h();
}

void SetCloseRequestHandler(std::function<void()> handler) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_handler = std::move(handler);
}

int CloseRequestCount() { return g_nRequests.load(); }

void SetQuitAndClose() {
    g_bQuit = 1;
    PostCloseRequest();
}
