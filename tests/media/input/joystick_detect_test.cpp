#include "fake_input_source.h"
#include "media/input/input_list.h"

#include <gtest/gtest.h>

namespace {

class DetectTest : public ::testing::Test {
protected:
    // Runs one detection and says whether it scanned the ids.
    bool Detect() {
        src.posCalls = 0;
        det.Detect(60, list);
        return src.posCalls > 0;
    }
    cFakeInputSource src;
    platform::cScopedInputSource scope{src};
    cJoystickDetector det;
    cCheckedVector<cInput> list = cCheckedVector<cInput>(1);
};

TEST_F(DetectTest, FirstWorkingJoystickGoesToRecordZeroWithThresholds) {
    src.Plug(1).capsFail = true;
    auto& j = src.Plug(2);
    j.caps.wXmin = 100;
    j.caps.wXmax = 1000;
    j.caps.wYmin = 0;
    j.caps.wYmax = 65535;
    src.Plug(3);
    EXPECT_TRUE(Detect());
    const cInput& in = list.at(0);
    EXPECT_EQ(in.m_bJoyPresent, 1);
    EXPECT_EQ(in.m_dwJoyId, 2u);
    EXPECT_EQ(in.m_dwThresholdLeft, 400u);
    EXPECT_EQ(in.m_dwThresholdRight, 700u);
    EXPECT_EQ(in.m_dwThresholdUp, 21845u);
    EXPECT_EQ(in.m_dwThresholdDown, 43690u);
    EXPECT_EQ(in.m_bPovUsable, 1);
    EXPECT_EQ(src.posCalls, 3);  // ids 0, 1, 2: the scan stops at the first taken
}

TEST_F(DetectTest, PovUsableFromCapabilityFlags) {
    const struct {
        uint32_t caps;
        int usable;
    } cases[] = {{0x10, 1}, {0x20, 1}, {0x30, 1}, {0x40, 0}, {0x0F, 0}};
    for (const auto& c : cases) {
        cJoystickDetector fresh;
        src.Plug(0).caps.wCaps = c.caps;
        list.at(0).m_bJoyPresent = 0;
        fresh.Detect(60, list);
        EXPECT_EQ(list.at(0).m_bPovUsable, c.usable) << c.caps;
    }
}

TEST_F(DetectTest, WithoutJoystickScansAfterFourIdleSeconds) {
    EXPECT_TRUE(Detect());  // first call
    EXPECT_EQ(list.at(0).m_bJoyPresent, 0);
    for (int f = 1; f < 240; ++f) ASSERT_FALSE(Detect()) << f;
    EXPECT_TRUE(Detect());  // 240 calls later
    for (int f = 1; f < 100; ++f) ASSERT_FALSE(Detect());
    // A held key starts the four seconds again.
    list.at(0).m_wButton = 1;
    EXPECT_FALSE(Detect());
    list.at(0).m_wButton = 0;
    for (int f = 1; f < 240; ++f) ASSERT_FALSE(Detect()) << f;
    EXPECT_TRUE(Detect());
}

TEST_F(DetectTest, PresentJoystickIsNeverRescannedAndLossRescansAtOnce) {
    src.Plug(0);
    EXPECT_TRUE(Detect());
    for (int f = 0; f < 600; ++f) ASSERT_FALSE(Detect());
    // Unplugged: the next poll clears the flag; the next detection scans and
    // takes the joystick that came meanwhile.
    src.joys[0].present = false;
    src.Plug(5);
    list.at(0).PollInput(0, 3, 60);
    EXPECT_EQ(list.at(0).m_bJoyPresent, 0);
    EXPECT_TRUE(Detect());
    EXPECT_EQ(list.at(0).m_bJoyPresent, 1);
    EXPECT_EQ(list.at(0).m_dwJoyId, 5u);
}

TEST_F(DetectTest, LostJoystickNotBackWaitsForTheIdleScan) {
    src.Plug(0);
    EXPECT_TRUE(Detect());
    EXPECT_FALSE(Detect());  // counted as present
    src.joys[0].present = false;
    list.at(0).PollInput(0, 3, 60);
    EXPECT_TRUE(Detect());  // the loss
    src.Plug(0);
    // Back, but the idle countdown (running since the first scan) has to run
    // out first: about four seconds.
    int calls = 1;
    while (!Detect() && calls < 1000) ++calls;
    EXPECT_GE(calls, 230);
    EXPECT_LE(calls, 240);
    EXPECT_EQ(list.at(0).m_bJoyPresent, 1);
}

}  // namespace
