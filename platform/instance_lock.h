// One running instance at a time: an exclusive flock on a lock file that
// holds the owner's process id. The lock is released by the kernel when the
// owner ends in any way.
#pragma once
#include <string>
#include <sys/types.h>

namespace platform {

// $XDG_RUNTIME_DIR/<name>, or <temp folder>/<name>-<uid> without it.
std::string DefaultLockPath(const std::string& name);

class cInstanceLock {
public:
    explicit cInstanceLock(std::string path);
    ~cInstanceLock();
    cInstanceLock(const cInstanceLock&) = delete;
    cInstanceLock& operator=(const cInstanceLock&) = delete;

    // Takes the lock and writes this process id into the file. False when
    // another process holds it (or the file cannot be opened).
    bool TryAcquire();
    void Release();
    bool Held() const { return m_fd >= 0; }
    // Process id written by the holder; 0 when none can be read.
    pid_t OwnerPid() const;
    // Asks the holder to end (SIGTERM) and waits at most `termWaitMs` for
    // the lock to become free, taking it when it does; a holder still
    // running then is ended forcefully (SIGKILL) and waited for at most
    // `killWaitMs`. False when the signal could not be sent.
    bool EndOwner(pid_t pid, int termWaitMs = 5000, int killWaitMs = 1000);

private:
    bool WaitForLock(int waitMs);

    std::string m_strPath;
    int m_fd = -1;
};

}  // namespace platform
