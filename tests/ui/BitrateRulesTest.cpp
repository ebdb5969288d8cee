#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "ui/BitrateRules.h"

TEST(NearestLegalBitrate, IsTheNearestEntryHalfWayGoingUp)
{
    const std::pair<int32_t, int32_t> examples[] = {{0, 8},     {11, 8},    {12, 16},  {100, 96}, {104, 112},
                                                    {130, 128}, {144, 160}, {287, 256}, {288, 320}, {1000, 320}};
    for (const auto& [in, out] : examples) EXPECT_EQ(NearestLegalBitrate(in), out) << "for " << in;
    for (int32_t kbps = -2000; kbps <= 5000; ++kbps) {
        int32_t best = kLegalBitrates.front();
        for (int32_t entry : kLegalBitrates)
            if (std::abs(entry - kbps) <= std::abs(best - kbps)) best = entry;
        ASSERT_EQ(NearestLegalBitrate(kbps), best) << "for " << kbps;
    }
    EXPECT_EQ(NearestLegalBitrate(std::numeric_limits<int32_t>::min()), 8);
    EXPECT_EQ(NearestLegalBitrate(std::numeric_limits<int32_t>::max()), 320);
}

TEST(EstimateVbrBitrate, AndTheLevelFollowEverySliderPosition)
{
    const std::pair<int32_t, int32_t> examples[] = {{1, 64}, {6, 65}, {801, 217}, {1001, 256}};
    for (const auto& [position, kbps] : examples) EXPECT_EQ(EstimateVbrBitrate(position), kbps) << position;
    for (int32_t position = kSliderMin; position <= kSliderMax; ++position) {
        // The largest e with (e - 64) * 1001 <= 192 * position.
        const int32_t estimate = EstimateVbrBitrate(position);
        ASSERT_LE((estimate - 64) * 1001, 192 * position) << "at " << position;
        ASSERT_GT((estimate - 63) * 1001, 192 * position) << "at " << position;
        const std::string level = FormatVbrLevel(position);
        ASSERT_EQ(level.size() - level.find('.'), 3u) << level;
        ASSERT_EQ(std::lround(std::stod(level) * 100), 1001 - position) << level;
    }
}
