// The one way a part of the program is replaced, by a test or by a higher
// layer at start-up: an interface class with a real implementation, and a
// slot per interface that holds the installed replacement.
//
//   class IReplayIo {
//   public:
//       virtual ~IReplayIo() = default;
//       virtual int AutoSave() = 0;
//       static IReplayIo& Real();   // the program's own implementation
//   };
//
//   Service<IReplayIo>::Get().AutoSave();        // the caller
//   ServiceScope<IReplayIo> scope(fake);          // a test, until scope ends
//
// Install and Restore run while no other thread is inside a call of the
// interface (start-up, test set-up, a run that owns the part); Get may run
// on any thread. The installer keeps the implementation alive while it is
// installed.
// An interface that only observes (a trace) has no Real(): Find() returns
// null while nothing is installed and the caller skips the call.
#pragma once
#include <atomic>

template <class I>
class Service {
public:
    // The installed implementation, else the real one.
    static I& Get() {
        I* p = Slot().load(std::memory_order_acquire);
        return p ? *p : I::Real();
    }
    // The installed implementation or null.
    static I* Find() { return Slot().load(std::memory_order_acquire); }
    // Installs impl (null: back to the real one); returns the one it replaced.
    static I* Install(I* impl) { return Slot().exchange(impl, std::memory_order_acq_rel); }
    static void Restore() { Install(nullptr); }

private:
    static std::atomic<I*>& Slot() {
        static std::atomic<I*> slot{nullptr};
        return slot;
    }
};

// Installs an implementation for its own lifetime and puts back the one it
// replaced (scopes nest).
template <class I>
class ServiceScope {
public:
    explicit ServiceScope(I& impl) : m_prev(Service<I>::Install(&impl)) {}
    ~ServiceScope() { Service<I>::Install(m_prev); }
    ServiceScope(const ServiceScope&) = delete;
    ServiceScope& operator=(const ServiceScope&) = delete;

private:
    I* m_prev;
};
