#include "system/FrameRate.h"

#include <gtest/gtest.h>

using vardel::system::FrameRate;

TEST(FrameRate, averagesTheFramesOfTheLastSecondOnly)
{
    FrameRate rate;
    EXPECT_EQ(rate.perSecond(), 0.0);
    rate.frame(100.0);
    EXPECT_EQ(rate.perSecond(), 0.0) << "one frame has no rate";

    // Two seconds at 10 a second, then a second at 50: only the last second counts.
    double time = 100.0;
    for (int i = 0; i < 20; ++i) {
        rate.frame(time += 0.1);
    }
    EXPECT_NEAR(rate.perSecond(), 10.0, 1e-9);
    for (int i = 0; i < 50; ++i) {
        rate.frame(time += 0.02);
    }
    EXPECT_NEAR(rate.perSecond(), 50.0, 1e-9);

    // After a pause longer than a second, the frames before it are gone.
    rate.frame(time += 3.0);
    EXPECT_EQ(rate.perSecond(), 0.0);
    rate.frame(time += 0.25);
    EXPECT_NEAR(rate.perSecond(), 4.0, 1e-9);
}

TEST(FrameRate, moreFramesThanItKeepsStillGiveTheirRate)
{
    FrameRate rate;
    for (int i = 0; i < 3 * FrameRate::capacity; ++i) {
        rate.frame(i * 0.001);
    }
    EXPECT_NEAR(rate.perSecond(), 1000.0, 1e-6);
}
