// Boot.dat: the 20-byte file of the set-up dialog's choice.
#include <gtest/gtest.h>

#include "frontend/data/boot_data.h"
#include "tests/frontend/data/file_builder.h"
#include "tests/records/test_util.h"
#include "tests/support/temp_dir.h"

using rec_test::Hex;

TEST(BootDataTest, FileIsTwentyBytes) {
    player_test::ResetPlayerGlobals();
    testsupport::TempWorkDir dir;
    dir.MakeDirs("user_data");
    g_BootData = cBootData();
    EXPECT_FALSE(LoadBootData());  // no file: defaults, ask again
    EXPECT_EQ(g_BootData.m_nDrawMode, 1);
    EXPECT_EQ(g_BootData.m_bNoAsk, 0);
    EXPECT_EQ(g_BootData.SaveBytes(), Hex("e8 03 00 00  02 00 00 00  01 00 00 00  00 00 00 00  00 00 00 00"));

    g_BootData.m_nDrawMode = 0;
    g_BootData.m_bNoAsk = 1;
    ASSERT_TRUE(SaveBootData());
    const std::string want("\xe8\x03\x00\x00\x02\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00", 20);
    EXPECT_EQ(dir.ReadFile("user_data/Boot.dat"), want);

    g_BootData = cBootData();
    ASSERT_TRUE(LoadBootData());
    EXPECT_EQ(g_BootData.m_nDrawMode, 0);
    EXPECT_EQ(g_BootData.m_bNoAsk, 1);

    // A newer file is refused and the record stays.
    std::string newer = want;
    newer[0] = static_cast<char>(0xe9);
    dir.WriteFile("user_data/Boot.dat", newer);
    g_BootData = cBootData();
    EXPECT_FALSE(LoadBootData());
    EXPECT_EQ(g_BootData.m_nDrawMode, 1);
    g_BootData = cBootData();
}
