#include "platform/service.h"

#include <gtest/gtest.h>

namespace {

class IGreeter {
public:
    virtual ~IGreeter() = default;
    virtual int Greet() = 0;
    static IGreeter& Real();
};

class cFixed : public IGreeter {
public:
    explicit cFixed(int n) : m_n(n) {}
    int Greet() override { return m_n; }

private:
    int m_n;
};

IGreeter& IGreeter::Real() {
    static cFixed real(1);
    return real;
}

class ITrace {
public:
    virtual ~ITrace() = default;
    virtual void Note() = 0;
};

TEST(Service, ScopesNestAndPutBackWhatTheyReplaced) {
    cFixed two(2), three(3);
    EXPECT_EQ(Service<IGreeter>::Get().Greet(), 1);
    {
        ServiceScope<IGreeter> outer(two);
        EXPECT_EQ(Service<IGreeter>::Get().Greet(), 2);
        {
            ServiceScope<IGreeter> inner(three);
            EXPECT_EQ(Service<IGreeter>::Get().Greet(), 3);
        }
        EXPECT_EQ(Service<IGreeter>::Get().Greet(), 2);
    }
    EXPECT_EQ(Service<IGreeter>::Get().Greet(), 1);
}

TEST(Service, InstallReturnsTheReplacedOneAndRestoreGoesBackToTheReal) {
    cFixed two(2), three(3);
    EXPECT_EQ(Service<IGreeter>::Install(&two), nullptr);
    EXPECT_EQ(Service<IGreeter>::Install(&three), &two);
    EXPECT_EQ(Service<IGreeter>::Find(), &three);
    Service<IGreeter>::Restore();
    EXPECT_EQ(Service<IGreeter>::Find(), nullptr);
    EXPECT_EQ(Service<IGreeter>::Get().Greet(), 1);
}

TEST(Service, AnObserverIsFoundOnlyWhileInstalled) {
    struct cCount : ITrace {
        int notes = 0;
        void Note() override { ++notes; }
    } count;
    auto note = [] {
        if (ITrace* t = Service<ITrace>::Find()) t->Note();
    };
    note();
    {
        ServiceScope<ITrace> scope(count);
        note();
        note();
    }
    note();
    EXPECT_EQ(count.notes, 2);
}

}  // namespace
