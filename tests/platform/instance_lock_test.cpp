#include "platform/event_pump.h"
#include "platform/instance_lock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

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
