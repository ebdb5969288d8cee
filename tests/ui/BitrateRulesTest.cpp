#include <gtest/gtest.h>

#include <limits>

#include "ui/BitrateRules.h"

// Ends the bitrate box cannot produce, but an edited settings file can.
TEST(NearestLegalBitrate, EndsOfTheTableAndOfTheIntegerRange)
{
    const std::pair<int32_t, int32_t> examples[] = {
        {0, 8}, {11, 8}, {12, 16}, {130, 128}, {-7, 8}, {std::numeric_limits<int32_t>::min(), 8},
        {std::numeric_limits<int32_t>::max(), 320}};
    for (const auto& [in, out] : examples) EXPECT_EQ(NearestLegalBitrate(in), out) << "for " << in;
}
