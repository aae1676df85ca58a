// VCO band tables at their edges and the I/O update clock conversions.

#include "board/vco_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

class VcoTables : public ::testing::Test {
protected:
    void SetUp() override
    {
        ebInitVCOCalTable();
        ebInitVCORanges();
    }
};

TEST_F(VcoTables, RevisionOneTwoBandChoiceAtTheEdges)
{
    const std::pair<double, int> cases[] = {
        {872.99, 63}, {873, 0},   {898, 0},   {899, 0},      {899.5, 1},
        {925, 1},     {950.5, 3}, {1170, 14}, {1204, 16},    {1206, 17},
        {1224, 17},   {1225, 20}, {1240, 19}, {1232, 19},    {2081, 61},
        {2090, 63},   {2105, 62}, {2138, 62}, {2138.01, 63}, {std::numeric_limits<double>::quiet_NaN(), 63},
    };
    for (const auto& [mhz, row] : cases)
        EXPECT_EQ(ebFindVCOCalRange(mhz), row) << mhz;
}

TEST_F(VcoTables, RevisionThreeBandChoiceAtTheEdges)
{
    const std::pair<double, int> cases[] = {
        {419.99, 6}, {420, 0}, {482, 0}, {485, 0},   {485.01, 1}, {562, 1},     {562.01, 2},
        {656, 2},    {832, 3}, {920, 4}, {920.5, 5}, {1080, 5},   {1080.01, 6}, {0, 6},
    };
    for (const auto& [mhz, band] : cases)
        EXPECT_EQ(ebFindVCORangeSR3(mhz), band) << mhz;
}

TEST(ClockHelpers, TimeToCount)
{
    EXPECT_EQ(ebTimeToSysClkCount(0.000001, 1000), 250);
    EXPECT_EQ(ebTimeToSysClkCount(0.000000015, 1000), 3);
    EXPECT_EQ(ebTimeToSysClkCount(4294967295 * 4e-9, 1000), 4294967295.0);
    EXPECT_EQ(ebTimeToSysClkCount(4294967296 * 4e-9, 1000), -1);
    // Far out of range, whatever the quotient's written form looks like.
    EXPECT_EQ(ebTimeToSysClkCount(1E7, 1000), -1);
    EXPECT_EQ(ebTimeToSysClkCount(1E300, 1000), -1);
    EXPECT_EQ(ebTimeToSysClkCount(-1E-6, 1000), -1);
    EXPECT_EQ(ebTimeToSysClkCount(0.000001, 0), -1);
    EXPECT_EQ(ebTimeToSysClkCount(std::numeric_limits<double>::quiet_NaN(), 1000), -1);
    EXPECT_EQ(ebTimeToSysClkCount(0, 1000), 0);
    EXPECT_FALSE(std::signbit(ebTimeToSysClkCount(-1E-12, 1000)));
}

TEST(ClockHelpers, CountToPeriod)
{
    EXPECT_EQ(ebCheckRateRange(4294967296, 1000), -1);
    EXPECT_EQ(ebCheckRateRange(-1, 1000), -1);
    EXPECT_EQ(ebCheckRateRange(250, 0), -1);
    EXPECT_NEAR(ebCheckRateRange(250, 1000), 0.000001, 1e-18);
    EXPECT_NEAR(ebCheckRateRange(4294967295, 1000), 17.17986918, 1e-8);
    EXPECT_LT(ebCheckRateRange(250, -1000), 0);
    EXPECT_EQ(ebCheckRateRange(std::numeric_limits<double>::quiet_NaN(), 1000), -1);
}

TEST(ClockHelpers, AdcFraction)
{
    EXPECT_DOUBLE_EQ(ebADCHelper(255), 1.0);
    EXPECT_EQ(ebADCHelper(0), 0.0);
    EXPECT_DOUBLE_EQ(ebADCHelper(51), 0.2);
}

} // namespace
