// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include "window_placement.h"

namespace valdris {
namespace {

struct ClientCase {
    const char* what;
    QSize surface;
    QSize room;
    int allowance;
    QSize expected;
};

class ScrollingClientSizeTest : public ::testing::TestWithParam<ClientCase> {};

constexpr int kBar = 14;

TEST_P(ScrollingClientSizeTest, ScrollsOnlyWhereTheRoomIsShort) {
    const ClientCase& c = GetParam();
    EXPECT_EQ(ScrollingClientSize(c.surface, c.room, kBar, c.allowance), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Rooms, ScrollingClientSizeTest,
    ::testing::Values(
        ClientCase{"fits", {658, 550}, {1280, 720}, 0, {658, 550}},
        ClientCase{"fits exactly", {658, 550}, {658, 550}, 0, {658, 550}},
        ClientCase{"fits with the allowance", {658, 550}, {1280, 720}, 1, {659, 551}},
        ClientCase{"the allowance where there is no room for it", {658, 550}, {658, 720}, 1, {658, 551}},
        // The design window at 1.5 on 1366 x 768: wider by the vertical bar alone.
        ClientCase{"too short", {635, 499}, {908, 486}, 0, {649, 486}},
        ClientCase{"too short, with the allowance", {635, 499}, {908, 486}, 1, {650, 486}},
        ClientCase{"too narrow", {700, 300}, {650, 600}, 0, {650, 314}},
        ClientCase{"too short, and the bar leaves it too narrow", {640, 600}, {650, 500}, 0, {650, 500}},
        ClientCase{"too narrow, and the bar leaves it too short", {700, 490}, {650, 500}, 0, {650, 500}},
        ClientCase{"too short, the bar just fits", {636, 600}, {650, 500}, 0, {650, 500}},
        ClientCase{"too large both ways", {1000, 1000}, {500, 400}, 0, {500, 400}}));

struct AllowanceCase {
    double ratio;
    int expected;
};

class SizeStepAllowanceTest : public ::testing::TestWithParam<AllowanceCase> {};

TEST_P(SizeStepAllowanceTest, CoversWhatWholeDevicePixelStepsTakeOff) {
    EXPECT_EQ(SizeStepAllowance(GetParam().ratio), GetParam().expected) << GetParam().ratio;
}

INSTANTIATE_TEST_SUITE_P(Ratios, SizeStepAllowanceTest,
                         ::testing::Values(AllowanceCase{1, 0}, AllowanceCase{1.25, 0}, AllowanceCase{1.5, 1},
                                           AllowanceCase{1.75, 1}, AllowanceCase{2, 0}, AllowanceCase{2.5, 1},
                                           AllowanceCase{3, 0}, AllowanceCase{0, 0}));

}  // namespace
}  // namespace valdris
