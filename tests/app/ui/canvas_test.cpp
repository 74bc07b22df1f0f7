// Drawing outside the clip leaves the frame alone.
#include <gtest/gtest.h>

#include "frontend/ui/canvas.h"

#include <vector>

TEST(Canvas, FillsWhollyOutsideTheClipDrawNothing) {
    std::vector<uint32_t> px(64 * 48, 0);
    ui::cCanvas c(px.data(), 64, 48);
    c.SetClip(20, 10, 10, 10);
    c.Fill(0, 12, 8, 4, 0xFFFFFF);   // left of the clip
    c.Fill(40, 12, 8, 4, 0xFFFFFF);  // right of it
    c.Fill(22, 0, 4, 5, 0xFFFFFF);   // above
    c.Fill(-30, -30, 10, 10, 0xFFFFFF);
    for (uint32_t p : px) ASSERT_EQ(p, 0u);
    c.Fill(15, 15, 10, 10, 0xFFFFFF);  // partly inside: the clipped part only
    int drawn = 0;
    for (uint32_t p : px) drawn += p != 0;
    EXPECT_EQ(drawn, 5 * 5);
}
