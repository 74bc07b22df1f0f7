// The replay check with crafted replays whose play ends the program: a
// formula error, a common variable beyond the list, a map too large to set
// up. The check never calls such a replay verified or diverged: it says the
// run stopped on an error, gives the reason, and ends with status 2.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "platform/clock.h"
#include "app/app_init.h"
#include "base/app_state.h"
#include "base/log.h"
#include "base/quit.h"
#include "base/scene_state.h"
#include "frontend/replay/replay.h"
#include "app/replay_check.h"
#include "frontend/replay/replay_file.h"
#include "frontend/data/game_progress.h"
#include "media/input/input.h"
#include "platform/cp932.h"
#include "platform/message_box.h"
#include "records/cmd_kinds.h"
#include "records/stage.h"
#include "tests/support/demo_run.h"
#include "tests/support/demo_template.h"
#include "tests/support/temp_dir.h"

namespace {

cEdItem CodeItem(int x, const std::string& code) {
    cEdFlowCmd c;
    c.m_nFamily = cEdFlowCmd::FAMILY_ITEM;
    c.m_nKind = static_cast<int8_t>(ICMD_RUN_CODE);
    c.m_vecParam.assign(21, 0);
    c.m_strCode = code;
    cEdItem item;
    item.m_nX = static_cast<int16_t>(x);
    item.m_nY = 12;
    item.m_nGraphic = 1;
    item.m_bPickupWindow = 0;
    item.m_vecCmd = {c};
    return item;
}

std::string ReadAll(std::FILE* f) {
    std::string text;
    std::rewind(f);
    for (int c; (c = std::fgetc(f)) != EOF;) text += static_cast<char>(c);
    std::fclose(f);
    return text;
}

class VerifyReplayErrorsTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::ResetForDemoRun();
        g_bEditorTest = 1;
        testsupport::CopyDemo(m_dir.Path());
        ASSERT_TRUE(CreateReport((m_dir.Path() / "Report_Game.txt").string()));
        ASSERT_TRUE(AppInit("data\\stg4\\Meadow.stg4_001", 1));
        g_bActive = 1;
    }
    void TearDown() override {
        AppEnd();
        g_bQuit = 0;
        g_bEditorTest = 0;
        g_SceneState.g_nGameType = 0;
        g_Replay.Reset();
        g_ReplayPrev.Reset();
    }

    // A replay of the stage as `change` leaves it: the hero walks right for
    // 400 frames.
    std::string Craft(const std::string& name, const std::function<void(cStage&)>& change) {
        change(g_Stage);
        g_StageStart.TakeStartCopyOf(g_Stage);
        cReplay r;
        r.m_vecDirWords = {INPUT_RIGHT};
        r.m_vecDirRuns = {400};
        r.m_vecButtonWords = {0};
        r.m_vecButtonRuns = {400};
        r.m_nSeed = 7;
        const std::string path = (m_dir.Path() / (name + ".rpl4_1000")).string();
        EXPECT_EQ(WriteReplayFile(r, path, g_Stage, g_StageStart, g_Progress), 1);
        return path;
    }

    int Verify(const std::string& path, std::string& out, std::string& err) {
        std::FILE* o = std::tmpfile();
        std::FILE* e = std::tmpfile();
        const int status = VerifyReplay(path, "", "", o, e);
        out = ReadAll(o);
        err = ReadAll(e);
        return status;
    }

    // Frames run unpaced: the frame waits pass at once.
    platform::FakeClock m_clock;
    testsupport::TempWorkDir m_dir;
    platform::CapturedMessageBoxes m_boxes;
};

TEST_F(VerifyReplayErrorsTest, APlayThatEndsTheProgramIsAnErrorWithItsReason) {
    const cStage stage = g_Stage;
    struct Case {
        const char* name;
        std::function<void(cStage&)> change;
        int status;
        std::string reason;  // a part of the reason on stderr (UTF-8)
    };
    const Case cases[] = {
        {"plain", [](cStage&) {}, 0, ""},
        {"formula", [](cStage& s) { s.m_vecPlacedItem.push_back(CodeItem(5, "= = =")); }, 2, ""},
        {"variable", [](cStage& s) { s.m_vecPlacedItem.push_back(CodeItem(5, "C99999 = 1")); }, 2, "err V["},
        {"huge map",
         [](cStage& s) {
             s.m_nWidth = 100000;
             s.m_nHeight = 100000;
         },
         2, "メモリ不足"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_Stage = stage;
        const std::string path = Craft(c.name, c.change);
        std::string out, err;
        EXPECT_EQ(Verify(path, out, err), c.status) << out << err;
        EXPECT_EQ(g_bQuit.load(), 0);
        if (c.status == 0) {
            EXPECT_NE(out.find("identical"), std::string::npos) << out;
            EXPECT_EQ(err, "");
            continue;
        }
        EXPECT_NE(out.find("the first run stopped on an error"), std::string::npos) << out;
        EXPECT_EQ(out.find("identical"), std::string::npos) << out;
        EXPECT_EQ(out.find("diverged"), std::string::npos) << out;
        EXPECT_NE(err.find("first run: "), std::string::npos) << err;
        EXPECT_NE(err.find(c.reason), std::string::npos) << err;

        // Each run starts clear of the one before: both stop the same way.
        ReplayRun first, second;
        ASSERT_TRUE(PlayReplayRun(path, first));
        ASSERT_TRUE(PlayReplayRun(path, second));
        EXPECT_EQ(first.error, 1);
        EXPECT_EQ(second.error, 1);
        EXPECT_EQ(first.hashes, second.hashes);
        EXPECT_FALSE(second.reason.empty());
    }
}

}  // namespace
