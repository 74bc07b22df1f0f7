// The holder of a command's optional part (movement, shot, condition list).
// An empty holder means the command has no such part. Holders are values:
// copying or assigning one gives the destination its own copy of the part,
// so holders of different commands never share a part.
#pragma once
#include <memory>

template <class T>
class cPartHolder {
public:
    cPartHolder() = default;
    cPartHolder(const cPartHolder& o) : m_p(o.m_p ? std::make_shared<T>(*o.m_p) : nullptr) {}
    cPartHolder(cPartHolder&&) noexcept = default;
    cPartHolder& operator=(const cPartHolder& o) {
        if (this != &o) m_p = o.m_p ? std::make_shared<T>(*o.m_p) : nullptr;
        return *this;
    }
    cPartHolder& operator=(cPartHolder&&) noexcept = default;

    // A fresh part with the class's defaults replaces what was held.
    T& Create() {
        m_p = std::make_shared<T>();
        return *m_p;
    }
    void Reset() { m_p.reset(); }

    explicit operator bool() const { return m_p != nullptr; }
    T* get() const { return m_p.get(); }
    T& operator*() const { return *m_p; }
    T* operator->() const { return m_p.get(); }
    // The shared pointer itself, for objects that keep the part alive
    // (a running command reads its definition's part).
    const std::shared_ptr<T>& Shared() const { return m_p; }

private:
    std::shared_ptr<T> m_p;
};
