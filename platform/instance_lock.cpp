#include "platform/instance_lock.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace platform {

std::string DefaultLockPath(const std::string& name) {
    const char* rt = std::getenv("XDG_RUNTIME_DIR");
    if (rt && *rt) return std::string(rt) + "/" + name;
    const char* tmp = std::getenv("TMPDIR");
    std::string dir = (tmp && *tmp) ? tmp : "/tmp";
    return dir + "/" + name + "-" + std::to_string(getuid());
}

cInstanceLock::cInstanceLock(std::string path) : m_strPath(std::move(path)) {}

cInstanceLock::~cInstanceLock() { Release(); }

bool cInstanceLock::TryAcquire() {
    if (m_fd >= 0) return true;
    int fd = open(m_strPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    std::string pid = std::to_string(getpid()) + "\n";
    if (ftruncate(fd, 0) == 0) {
        ssize_t w = pwrite(fd, pid.data(), pid.size(), 0);
        (void)w;
    }
    m_fd = fd;
    return true;
}

void cInstanceLock::Release() {
    if (m_fd < 0) return;
    flock(m_fd, LOCK_UN);
    close(m_fd);
    m_fd = -1;
}

pid_t cInstanceLock::OwnerPid() const {
    int fd = open(m_strPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    char buf[32] = {};
    ssize_t n = read(fd, buf, sizeof buf - 1);
    close(fd);
    if (n <= 0) return 0;
    long v = std::strtol(buf, nullptr, 10);
    return v > 0 ? static_cast<pid_t>(v) : 0;
}

bool cInstanceLock::WaitForLock(int waitMs) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        if (TryAcquire()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

bool cInstanceLock::EndOwner(pid_t pid, int termWaitMs, int killWaitMs) {
    if (pid <= 0 || pid == getpid()) return false;
    // Asked first: the owner's orderly end writes its end-of-program saves.
    if (kill(pid, SIGTERM) != 0) return false;
    if (WaitForLock(termWaitMs)) return true;
    if (kill(pid, SIGKILL) != 0 && errno != ESRCH) return false;
    WaitForLock(killWaitMs);
    return true;
}

}  // namespace platform
