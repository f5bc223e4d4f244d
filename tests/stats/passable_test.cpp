// SPDX-License-Identifier: Apache-2.0
// Designs whose critical value no data can exceed, from the window's own
// lists and a given size: they are named, their power is 0 wherever it is
// shown, and the smallest size that can pass is the first whose critical
// value lies below the largest statistic.

#include <gtest/gtest.h>

#include <optional>

#include "data_tests.h"
#include "decision_p_value.h"
#include "passable.h"
#include "valdris_power.h"

namespace valdris {
namespace {

struct ImpassableRow {
    bool sign;
    float alpha;
    int32_t n;
    double critical;    // the design's, at or above the largest statistic
    int32_t smallest;   // the smallest size that can pass at alpha
};

TEST(Passable, DesignsOfTheWindowsListsThatNoDataCanPass) {
    const ImpassableRow rows[] = {
        {true, 0.05f, 4, 4, 5},    // beta 0.5, D/s 2
        {true, 0.01f, 2, 2, 7},    // a given N of 2
        {false, 0.1f, 2, 7, 3},    // beta 0.5, D/s 2: 7 is the largest rank sum
        {false, 0.5f, 1, 2, 2},    // beta 0.25, D/s 5
        {false, 0.05f, 3, 15, 4},  // P(U = 9) = 1/20 is not below 0.05
    };
    for (const ImpassableRow& row : rows) {
        if (row.sign) {
            EXPECT_EQ(SignCriticalValue(row.n, row.alpha), static_cast<int32_t>(row.critical));
            EXPECT_FALSE(SignCanPass(row.n, static_cast<int32_t>(row.critical)));
            EXPECT_EQ(SmallestPassableSignN(row.alpha), row.smallest);
            EXPECT_TRUE(SignCanPass(row.smallest, *SignCriticalValue(row.smallest, row.alpha)));
        } else {
            EXPECT_EQ(CalcWRSCriticalValue(row.n, row.n, row.alpha), row.critical);
            EXPECT_FALSE(WRSCanPass(row.n, row.n, row.critical));
            EXPECT_EQ(SmallestPassableWRSN(row.alpha), row.smallest);
            EXPECT_TRUE(WRSCanPass(row.smallest, row.smallest, CalcWRSCriticalValue(row.smallest, row.smallest, row.alpha)));
        }
    }
}

TEST(Passable, TheLargestStatisticIsStillAPassBelowIt) {
    EXPECT_EQ(LargestRankSum(32, 32), 1552);
    EXPECT_TRUE(WRSCanPass(32, 32, 1551.5));
    EXPECT_FALSE(WRSCanPass(32, 32, 1552));
    EXPECT_TRUE(SignCanPass(29, 28));
    EXPECT_FALSE(SignCanPass(29, 29));
}

// Four tight measurements below the DCGL: S+ = 4 cannot exceed 4, so the
// retrospective power is 0, not the formula's 1.
TEST(Passable, RetrospectivePowerOfSizesThatCannotPassIsZero) {
    const auto sign = SignRetrospectivePower(4, 0.05f, 0.5, 0.01);
    ASSERT_TRUE(sign);
    EXPECT_EQ(sign->power_at_lbgr, 0);
    const auto wrs = WRSRetrospectivePower(2, 2, 0.1f, 0.5, 0.01);
    ASSERT_TRUE(wrs);
    EXPECT_EQ(wrs->power_at_lbgr, 0);
    // A size that can pass keeps the formula's power.
    EXPECT_EQ(SignRetrospectivePower(29, 0.05f, 0.5, 0.5)->power_at_lbgr, SignPower(29, 19, 1.0));
}

}  // namespace
}  // namespace valdris
