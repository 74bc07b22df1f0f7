#include "platform/event_pump.h"
#include "platform/instance_lock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

volatile sig_atomic_t g_termAsked = 0;
void OnTerm(int) { g_termAsked = 1; }

// A holder of the lock in a child process. With `orderly` it ends on
// SIGTERM after writing `marker` (its "end-of-program save"); without, it
// ignores SIGTERM.
pid_t StartHolder(const std::string& lockPath, const std::string& marker, bool orderly) {
    pid_t pid = fork();
    if (pid != 0) return pid;
    std::signal(SIGTERM, orderly ? OnTerm : SIG_IGN);
    platform::cInstanceLock lock(lockPath);
    if (!lock.TryAcquire()) _exit(3);
    while (!g_termAsked) usleep(1000);
    int fd = open(marker.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) close(fd);
    _exit(0);
}

bool WaitForOwner(const platform::cInstanceLock& lock, pid_t pid) {
    for (int i = 0; i < 2000; ++i) {
        if (lock.OwnerPid() == pid) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

}  // namespace

TEST(InstanceLock, SecondHolderIsRefusedAndSeesTheOwnerUntilRelease) {
    std::string path = ::testing::TempDir() + "tovaro_test_" + std::to_string(getpid()) + ".lock";
    platform::cInstanceLock first(path), second(path);
    ASSERT_TRUE(first.TryAcquire());
    EXPECT_FALSE(second.TryAcquire());
    EXPECT_EQ(second.OwnerPid(), getpid());
    EXPECT_FALSE(second.EndOwner(getpid(), 10));  // never ends itself
    first.Release();
    EXPECT_TRUE(second.TryAcquire());
    EXPECT_TRUE(second.Held());
}

TEST(InstanceLock, EndingTheOwnerLetsItEndInOrderAndKillsOnlyWhenItStaysOn) {
    const std::string base = ::testing::TempDir() + "tovaro_end_" + std::to_string(getpid());
    const std::string path = base + ".lock", marker = base + ".saved";
    struct Case {
        bool orderly;
        int expectedSignal;  // 0: exited with status 0
    };
    for (const Case c : {Case{true, 0}, Case{false, SIGKILL}}) {
        SCOPED_TRACE(c.orderly ? "ends on SIGTERM" : "ignores SIGTERM");
        unlink(marker.c_str());
        pid_t holder = StartHolder(path, marker, c.orderly);
        ASSERT_GT(holder, 0);
        platform::cInstanceLock lock(path);
        ASSERT_TRUE(WaitForOwner(lock, holder));
        EXPECT_FALSE(lock.TryAcquire());
        EXPECT_TRUE(lock.EndOwner(holder, c.orderly ? 5000 : 200, 5000));
        int st = 0;
        ASSERT_EQ(waitpid(holder, &st, 0), holder);
        if (c.expectedSignal == 0) {
            EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
            EXPECT_EQ(access(marker.c_str(), F_OK), 0);  // the orderly end ran
        } else {
            EXPECT_TRUE(WIFSIGNALED(st) && WTERMSIG(st) == c.expectedSignal);
        }
        // The zombie still holds no lock: the new holder has it.
        EXPECT_TRUE(lock.Held());
    }
    unlink(marker.c_str());
    unlink(path.c_str());
}

TEST(InstanceLock, LockFileLivesInTheRuntimeFolderOrTemp) {
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    std::string saved = old ? old : "";
    setenv("XDG_RUNTIME_DIR", "/run/user/1234", 1);
    EXPECT_EQ(platform::DefaultLockPath("tovaro.lock"), "/run/user/1234/tovaro.lock");
    unsetenv("XDG_RUNTIME_DIR");
    std::string p = platform::DefaultLockPath("tovaro.lock");
    EXPECT_NE(p.find("tovaro.lock-" + std::to_string(getuid())), std::string::npos) << p;
    if (old) setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

TEST(EventPump, ObserversSeeEveryEventInOrder) {
    std::string seen;
    platform::AddSdlEventObserver([&](const SDL_Event& e) { seen += "a" + std::to_string(e.type); });
    AddSdlEventObserver([&](const SDL_Event& e) { seen += "b" + std::to_string(e.type); });
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    platform::NotifySdlEventObservers(e);
    EXPECT_EQ(seen, "a" + std::to_string(SDL_KEYDOWN) + "b" + std::to_string(SDL_KEYDOWN));
    platform::ClearSdlEventObservers();
    platform::NotifySdlEventObservers(e);
    EXPECT_EQ(seen.size(), 2 * (1 + std::to_string(SDL_KEYDOWN).size()));
}
