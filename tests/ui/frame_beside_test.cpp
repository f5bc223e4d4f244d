// SPDX-License-Identifier: Apache-2.0
// Where a window opened from another goes: beside it, not over it, where the
// screen has room.
#include <gtest/gtest.h>

#include "window_placement.h"

namespace valdris {
namespace {

struct BesideCase {
    const char* name;
    QSize frame;
    QRect beside;
    QRect available;
    QRect expected;
};

class FrameBesideTest : public ::testing::TestWithParam<BesideCase> {};

TEST_P(FrameBesideTest, GoesBesideTheOtherWithinTheArea) {
    const BesideCase& c = GetParam();
    EXPECT_EQ(FrameBeside(c.frame, c.beside, c.available, 400), c.expected);
}

const QRect kFullHD(0, 0, 1920, 1040);    // a panel of 40 below
const QRect kSmall(0, 30, 1366, 708);     // a panel of 30 above

INSTANTIATE_TEST_SUITE_P(
    Cases, FrameBesideTest,
    ::testing::Values(
        BesideCase{"RightWhereItFits", {640, 560}, {400, 200, 800, 600}, kFullHD, {1200, 200, 640, 560}},
        BesideCase{"RightToTheLastPixel", {640, 560}, {0, 0, 1280, 600}, kFullHD, {1280, 0, 640, 560}},
        BesideCase{"LeftWhenTheRightIsShort", {640, 560}, {1000, 100, 800, 600}, kFullHD, {360, 100, 640, 560}},
        // Room on neither side: the wider side, narrowed, at the screen's edge.
        BesideCase{"NarrowedOnTheWiderSide", {640, 560}, {100, 60, 800, 600}, kSmall, {900, 60, 466, 560}},
        BesideCase{"NoNarrowerThanAsked", {640, 560}, {250, 60, 800, 600}, kSmall, {966, 60, 400, 560}},
        BesideCase{"EqualRoomGoesRight", {640, 560}, {283, 60, 800, 600}, kSmall, {966, 60, 400, 560}},
        BesideCase{"LeftWhenWider", {640, 560}, {500, 60, 800, 600}, kSmall, {0, 60, 500, 560}},
        // Top edges level unless that would leave the area.
        BesideCase{"RaisedToStayOnScreen", {640, 560}, {100, 700, 800, 300}, kFullHD, {900, 480, 640, 560}},
        BesideCase{"CutToTheArea", {640, 900}, {0, 40, 700, 600}, kSmall, {700, 30, 640, 708}},
        BesideCase{"OtherOffTheLeftEdge", {640, 560}, {-300, 100, 800, 600}, kFullHD, {500, 100, 640, 560}}),
    [](const ::testing::TestParamInfo<BesideCase>& info) { return info.param.name; });

}  // namespace
}  // namespace valdris
